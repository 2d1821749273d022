#include "skintest.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/gdi/capabilities.h"
#include "platform/toolkit/forms.h"
#include "platform/win/testdriver.h"
#include "skin/core/qxroutines.h"

void Fill(TqxBitmap& ABitmap, Integer AWidth, Integer AHeight, std::initializer_list<TqxColor> APixels) {
    ABitmap.SetSize(AWidth, AHeight);
    std::fill_n(ABitmap.Bits(), AWidth * AHeight, 0);
    std::copy(APixels.begin(), APixels.end(), ABitmap.Bits());
}

std::vector<TqxColor> Pixels(const TqxBitmap& ABitmap) {
    return std::vector<TqxColor>(ABitmap.Bits(), ABitmap.Bits() + ABitmap.Width() * ABitmap.Height());
}

void RestartRoutines() {
    win::ResetCapabilities();
    LoadMsimg32();
    InitPixelRoutines();
    InitTransferRoutines();
}

std::unique_ptr<TBitmap> SolidBitmap(Integer AWidth, Integer AHeight, Cardinal ARGB, TPixelFormat AFormat) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(AFormat);
    bitmap->SetSize(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x)
            SetRGB(*bitmap, x, y, ARGB);
    return bitmap;
}

namespace {

// ScanLine turns a device bitmap into pf32bit first.
Byte* PixelOf(TBitmap& ABitmap, Integer X, Integer Y) {
    auto* row = static_cast<Byte*>(ABitmap.ScanLine(Y));
    return row + X * (ABitmap.PixelFormat() == pf32bit ? 4 : 3);
}

}  // namespace

Cardinal RGBAt(TBitmap& ABitmap, Integer X, Integer Y) {
    const Byte* p = PixelOf(ABitmap, X, Y);
    return Cardinal(p[2]) << 16 | Cardinal(p[1]) << 8 | p[0];
}

void SetRGB(TBitmap& ABitmap, Integer X, Integer Y, Cardinal ARGB) {
    Byte* p = PixelOf(ABitmap, X, Y);
    p[0] = Byte(ARGB);
    p[1] = Byte(ARGB >> 8);
    p[2] = Byte(ARGB >> 16);
}

namespace {

// Nothing a test left behind reaches the next one.
void RenewGlobals() {
    Free(Application);
    Free(Screen);
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
}

}  // namespace

void GuiTest::SetUp() {
    win::driver::Reset();
    RenewGlobals();
}

void GuiTest::TearDown() {
    RenewGlobals();
    win::driver::Reset();
    UseSystemClock();
}
