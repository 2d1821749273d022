// The blits and text on 800 x 600 32-bit surfaces. Each benchmark reports
// "of_memcpy": the bytes it writes per second divided by what memcpy moves
// per second over the same number of bytes, measured in the same run. The
// aim is to stay above 0.5.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "bench/memcpy_ratio.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"

using namespace win;

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr size_t FrameBytes = size_t(Width) * Height * 4;

using bench::Clock;
using bench::Timed;

double MemcpyRate() {
    return bench::MemcpyRate(FrameBytes);
}

// A 32-bit DIB section (or a device bitmap) in its own memory DC.
class Frame {
public:
    Frame(int AWidth, int AHeight, bool ADib = true) {
        DC = CreateCompatibleDC(nullptr);
        if (ADib) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = AWidth;
            info.bmiHeader.biHeight = -AHeight;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            // Premultiplied pixels of every kind of alpha.
            std::mt19937 random(1);
            auto* p = static_cast<uint32_t*>(bits);
            for (size_t i = 0; i < size_t(AWidth) * AHeight; ++i) {
                const uint32_t a = random() & 0xFF, c = random();
                p[i] = (a << 24) | (((c & 0xFF) * a / 255) << 16) | (((c >> 8 & 0xFF) * a / 255) << 8) |
                       ((c >> 16 & 0xFF) * a / 255);
            }
        } else {
            Bitmap = CreateCompatibleBitmap(DC, AWidth, AHeight);
        }
        Old = SelectObject(DC, Bitmap);
    }
    ~Frame() {
        SelectObject(DC, Old);
        DeleteDC(DC);
        DeleteObject(Bitmap);
    }

    HDC DC;
    HBITMAP Bitmap;
    HGDIOBJ Old;
};

void BM_Memcpy(benchmark::State& AState) {
    std::vector<uint8_t> from(FrameBytes, 1), to(FrameBytes, 2);
    Timed(AState, FrameBytes, [&] {
        std::memcpy(to.data(), from.data(), FrameBytes);
        benchmark::ClobberMemory();
    });
}

void BM_BitBltSrcCopy(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    Timed(AState, FrameBytes, [&] { BitBlt(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, SRCCOPY); });
}

void BM_BitBltFromDeviceBitmap(benchmark::State& AState) {
    Frame source(Width, Height, false), dest(Width, Height);
    Timed(AState, FrameBytes, [&] { BitBlt(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, SRCCOPY); });
}

void BM_BitBltSrcInvert(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    Timed(AState, FrameBytes, [&] { BitBlt(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, SRCINVERT); });
}

void BM_StretchBltUp(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    Timed(AState, FrameBytes,
          [&] { StretchBlt(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, Width / 2, Height / 2, SRCCOPY); });
}

void BM_StretchBltDown(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    const int w = Width * 3 / 4, h = Height * 3 / 4;
    Timed(AState, size_t(w) * h * 4,
          [&] { StretchBlt(dest.DC, 0, 0, w, h, source.DC, 0, 0, Width, Height, SRCCOPY); });
}

void BM_AlphaBlendPerPixel(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    Timed(AState, FrameBytes,
          [&] { AlphaBlend(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, Width, Height, blend); });
}

void BM_AlphaBlendPerPixelAndConstant(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 160, AC_SRC_ALPHA};
    Timed(AState, FrameBytes,
          [&] { AlphaBlend(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, Width, Height, blend); });
}

void BM_AlphaBlendConstant(benchmark::State& AState) {
    Frame source(Width, Height), dest(Width, Height);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 160, 0};
    Timed(AState, FrameBytes,
          [&] { AlphaBlend(dest.DC, 0, 0, Width, Height, source.DC, 0, 0, Width, Height, blend); });
}

// Text draws few pixels: its counter is the time per call as a fraction of
// one memcpy of the whole frame.
void BM_DrawTextChineseCaption(benchmark::State& AState, UINT AFormat) {
    Frame frame(Width, Height);
    LOGFONTW font{};
    font.lfHeight = 13;
    std::memcpy(font.lfFaceName, u"Tahoma", sizeof(u"Tahoma"));
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(frame.DC, handle);
    SetBkMode(frame.DC, TRANSPARENT);
    const double memcpyRate = MemcpyRate();
    const Clock::time_point start = Clock::now();
    for (auto _ : AState) {
        RECT rect{0, 0, Width, Height};
        benchmark::DoNotOptimize(DrawTextW(frame.DC, u"高清格式转换", -1, &rect, AFormat));
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    AState.counters["of_memcpy_time"] =
        elapsed.count() / double(AState.iterations()) / (double(FrameBytes) / memcpyRate);
    SelectObject(frame.DC, old);
    DeleteObject(handle);
}

}  // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_BitBltSrcCopy);
BENCHMARK(BM_BitBltFromDeviceBitmap);
BENCHMARK(BM_BitBltSrcInvert);
BENCHMARK(BM_StretchBltUp);
BENCHMARK(BM_StretchBltDown);
BENCHMARK(BM_AlphaBlendPerPixel);
BENCHMARK(BM_AlphaBlendPerPixelAndConstant);
BENCHMARK(BM_AlphaBlendConstant);
BENCHMARK_CAPTURE(BM_DrawTextChineseCaption, centred, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
BENCHMARK_CAPTURE(BM_DrawTextChineseCaption, calcrect, DT_CALCRECT);
