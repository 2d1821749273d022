// Times a piece of work on the test's (GUI) thread or on a worker.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

inline std::chrono::steady_clock::duration TimedRun(bool AOnGuiThread, const std::function<void()>& AWork) {
    std::chrono::steady_clock::duration elapsed{};
    auto timed = [&] {
        const auto start = std::chrono::steady_clock::now();
        AWork();
        elapsed = std::chrono::steady_clock::now() - start;
    };
    if (AOnGuiThread) {
        timed();
    } else {
        std::thread worker(timed);
        worker.join();
    }
    return elapsed;
}
