// The skin library's row routines and bitmap transfers on 800 x 600 images
// of a seeded alpha mix (about a third alpha 0, a fifth alpha 255, the rest
// partial). Each reports "of_memcpy": the target bytes it writes per second
// divided by memcpy's rate over the same bytes, in the same run. The aim for
// every blend routine is at least 0.5 (within 2x of memcpy). The scaled
// blend and the blur are reported without an aim.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/memcpy_ratio.h"
#include "skin/core/qxeffects.h"
#include "skin/core/qxroutines.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr size_t FrameBytes = size_t(Width) * Height * 4;

TqxColor MixedPixel(std::mt19937& ARandom) {
    const uint32_t kind = ARandom() % 15, colour = ARandom() & 0xFFFFFF;
    if (kind < 5) return colour;                    // a third: alpha 0
    if (kind < 8) return colour | 0xFF000000;       // a fifth: alpha 255
    return colour | ((1 + ARandom() % 254) << 24);  // partial
}

void FillMixed(TqxBitmap& ABitmap, int AWidth, int AHeight, unsigned ASeed) {
    ABitmap.SetSize(AWidth, AHeight);
    std::mt19937 random(ASeed);
    for (int i = 0; i < AWidth * AHeight; ++i)
        ABitmap.Bits()[i] = MixedPixel(random);
}

void BM_Memcpy(benchmark::State& AState) {
    TqxBitmap source, target;
    FillMixed(source, Width, Height, 1);
    FillMixed(target, Width, Height, 2);
    bench::Timed(AState, FrameBytes, [&] {
        std::memcpy(target.Bits(), source.Bits(), FrameBytes);
        benchmark::ClobberMemory();
    });
}

void BM_Row(benchmark::State& AState, TqxRowProc ARow) {
    TqxBitmap source, target;
    FillMixed(source, Width, Height, 1);
    FillMixed(target, Width, Height, 2);
    bench::Timed(AState, FrameBytes, [&] {
        for (int y = 0; y < Height; ++y)
            ARow(source.GetScanLinePtr(y), target.GetScanLinePtr(y), Width);
        benchmark::ClobberMemory();
    });
}

void BM_BitmapRect(benchmark::State& AState, TqxBitmapRectProc ATransfer, int ASourceWidth,
                   int ASourceHeight) {
    TqxBitmap source, target;
    FillMixed(source, ASourceWidth, ASourceHeight, 1);
    FillMixed(target, Width, Height, 2);
    const TRect dst = Rect(0, 0, Width, Height);
    bench::Timed(AState, FrameBytes, [&] {
        ATransfer(&target, dst, dst, &source, Rect(0, 0, ASourceWidth, ASourceHeight));
        benchmark::ClobberMemory();
    });
}

void BM_BlurBitmap(benchmark::State& AState) {
    TqxBitmap bitmap;
    FillMixed(bitmap, 400, 300, 3);
    bench::Timed(AState, size_t(400) * 300 * 4, [&] {
        BlurBitmap(&bitmap, 3);
        benchmark::ClobberMemory();
    });
}

}  // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK_CAPTURE(BM_Row, BlendRow_plain, BlendRow);
BENCHMARK_CAPTURE(BM_Row, BlendRow_MMX, BlendRowMMX);
BENCHMARK_CAPTURE(BM_Row, CopyMaskedRow, CopyMaskedRow);
BENCHMARK_CAPTURE(BM_BitmapRect, BlendBitmapRect, BlendBitmapRect, Width, Height);
BENCHMARK_CAPTURE(BM_BitmapRect, CopyBitmapRect, CopyBitmapRect, Width, Height);
BENCHMARK_CAPTURE(BM_BitmapRect, BlendBitmapRect_scaled_2x, BlendBitmapRect, Width / 2, Height / 2);
BENCHMARK(BM_BlurBitmap);
