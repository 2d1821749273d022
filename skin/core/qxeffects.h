// Whole-image effects: those of TqxEffectBmp (declared with it, built in
// qxeffects.cpp) and three on TqxBitmap: a blur for glow text and shadows,
// and alpha taken from a grey mask picture.
#pragma once

#include "skin/core/qxbitmap.h"
#include "skin/core/qxeffectbmp.h"

// A tent filter of radius ARadius over red, green and blue, horizontal then
// vertical, edge pixels repeated; every alpha becomes 255. The cost per
// pixel does not grow with the radius. ARadius <= 0 does nothing.
void BlurBitmap(TqxBitmap* ABitmap, Integer ARadius);
// Each alpha := (R + G + B) div 3 of AMask's pixel at the same place;
// nothing unless AMask is at least as large as ABitmap.
void SetAlphaFromMask(TqxBitmap* ABitmap, const TqxBitmap* AMask);
// The same, then the colours are premultiplied by the new alpha.
void SetPremultipliedAlphaFromMask(TqxBitmap* ABitmap, const TqxBitmap* AMask);
