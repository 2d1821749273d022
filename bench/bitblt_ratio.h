// The yardstick of the control benchmarks: one BitBlt of a control's area
// onto its window, timed in the same run, so that results are ratios and
// not absolute times alone.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "platform/base/types.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/win/painting.h"

namespace bench {

// Seconds of one BitBlt of AWidth x AHeight from a memory bitmap onto AWindow.
inline double BitBltSeconds(win::HWND AWindow, Integer AWidth, Integer AHeight) {
    using Clock = std::chrono::steady_clock;
    const win::HDC target = win::GetDC(AWindow);
    const win::HDC source = win::CreateCompatibleDC(target);
    const win::HBITMAP bitmap = win::CreateCompatibleBitmap(target, AWidth, AHeight);
    const win::HGDIOBJ old = win::SelectObject(source, bitmap);
    Integer count = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> elapsed{};
    while (elapsed.count() < 0.3) {
        for (int i = 0; i < 10; ++i) win::BitBlt(target, 0, 0, AWidth, AHeight, source, 0, 0, win::SRCCOPY);
        count += 10;
        elapsed = Clock::now() - start;
    }
    win::SelectObject(source, old);
    win::DeleteObject(bitmap);
    win::DeleteDC(source);
    win::ReleaseDC(AWindow, target);
    return elapsed.count() / count;
}

// Runs AWork for every iteration and reports "of_bitblt": ABitBlt divided
// by the time of one run.
inline void Timed(benchmark::State& AState, double ABitBlt, const std::function<void()>& AWork) {
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    for (auto _ : AState) AWork();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    AState.counters["of_bitblt"] = ABitBlt / (elapsed.count() / double(AState.iterations()));
}

}  // namespace bench
