#include "skintest.h"

#include <algorithm>

#include "platform/gdi/capabilities.h"
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
