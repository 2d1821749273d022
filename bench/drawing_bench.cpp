// Drawing on 800 x 600 surfaces. Each figure is also printed as a ratio to
// a memcpy of the whole surface measured in the same run, so that results
// from different machines compare.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"

using namespace win;

namespace {

constexpr int SurfaceWidth = 800;
constexpr int SurfaceHeight = 600;
constexpr size_t SurfaceBytes = size_t(SurfaceWidth) * SurfaceHeight * 4;

// A 32-bit top-down DIB section in a memory DC.
class Surface {
  public:
    Surface() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = SurfaceWidth;
        info.bmiHeader.biHeight = -SurfaceHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        FDC = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        std::memset(bits, 0xFF, SurfaceBytes);
        FOld = SelectObject(FDC, FBitmap);
    }
    ~Surface() {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC DC() const { return FDC; }

  private:
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
};

void Memcpy(benchmark::State& AState) {
    std::vector<uint8_t> source(SurfaceBytes, 1);
    std::vector<uint8_t> target(SurfaceBytes, 2);
    for (auto _ : AState) {
        std::memcpy(target.data(), source.data(), SurfaceBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    AState.SetBytesProcessed(int64_t(AState.iterations()) * int64_t(SurfaceBytes));
}
BENCHMARK(Memcpy);

// The default look's caption font and a caption of the program's.
void DrawChineseCaption(benchmark::State& AState, UINT AFormat) {
    Surface surface;
    LOGFONTW font{};
    font.lfHeight = 13;
    std::memcpy(font.lfFaceName, u"Tahoma", sizeof(u"Tahoma"));
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(surface.DC(), handle);
    SetBkMode(surface.DC(), TRANSPARENT);
    for (auto _ : AState) {
        RECT rect{0, 0, SurfaceWidth, SurfaceHeight};
        benchmark::DoNotOptimize(DrawTextW(surface.DC(), u"高清格式转换", -1, &rect, AFormat));
    }
    SelectObject(surface.DC(), old);
    DeleteObject(handle);
}

void DrawTextW_ChineseCaption(benchmark::State& AState) {
    DrawChineseCaption(AState, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
BENCHMARK(DrawTextW_ChineseCaption);

void DrawTextW_CalcRect_ChineseCaption(benchmark::State& AState) {
    DrawChineseCaption(AState, DT_CALCRECT);
}
BENCHMARK(DrawTextW_CalcRect_ChineseCaption);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& ARuns) override {
        for (const Run& run : ARuns)
            if (run.run_type == Run::RT_Iteration) Times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(ARuns);
    }
    std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto memcpy = reporter.Times.find("Memcpy");
    if (memcpy == reporter.Times.end()) return 0;
    std::printf("\nTime per call as a fraction of one memcpy of the 800x600 32-bit surface (%.0f ns):\n",
                memcpy->second);
    for (const auto& [name, time] : reporter.Times)
        if (name != "Memcpy") std::printf("  %-36s %8.3f\n", name.c_str(), time / memcpy->second);
    return 0;
}
