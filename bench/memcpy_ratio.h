// The yardstick of the pixel benchmarks: memcpy's rate over the same number
// of bytes, measured in the same run, so that results are ratios and not
// absolute times alone.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// Bytes per second of memcpy between two buffers of ABytes, taken once per size.
inline double MemcpyRate(size_t ABytes) {
    static std::map<size_t, double> rates;
    if (auto it = rates.find(ABytes); it != rates.end()) return it->second;
    std::vector<uint8_t> from(ABytes, 1), to(ABytes, 2);
    std::memcpy(to.data(), from.data(), ABytes);
    size_t bytes = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> elapsed{};
    while (elapsed.count() < 0.5) {
        for (int i = 0; i < 20; ++i) {
            std::memcpy(to.data(), from.data(), ABytes);
            benchmark::ClobberMemory();
        }
        bytes += 20 * ABytes;
        elapsed = Clock::now() - start;
    }
    return rates[ABytes] = double(bytes) / elapsed.count();
}

// Runs AWork per iteration and reports "of_memcpy": the ABytes it writes per
// second divided by memcpy's rate over ABytes.
template <typename F>
void Timed(benchmark::State& AState, size_t ABytes, F AWork) {
    const double memcpyRate = MemcpyRate(ABytes);
    const Clock::time_point start = Clock::now();
    for (auto _ : AState)
        AWork();
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    const double bytes = double(AState.iterations()) * double(ABytes);
    AState.SetBytesProcessed(int64_t(bytes));
    AState.counters["of_memcpy"] = bytes / elapsed.count() / memcpyRate;
}

}  // namespace bench
