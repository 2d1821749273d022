// Pictures and comparisons shared by the codec tests.
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/gdi/imagedata.h"

// Pixels as 0xAARRGGBB, row by row.
TImageData MakeImage(Integer AWidth, Integer AHeight, std::initializer_list<uint32_t> APixels);
// Smooth colour ramps; with AAlpha the alpha falls from left to right.
TImageData MakeGradient(Integer AWidth, Integer AHeight, bool AAlpha = false);
// Every pixel different, as a camera picture would be.
TImageData MakeNoise(Integer AWidth, Integer AHeight, uint32_t ASeed = 1);
uint32_t PixelAt(const TImageData& AImage, Integer AX, Integer AY);

// Over the colour channels (and alpha when AWithAlpha).
int MaxDifference(const TImageData& A, const TImageData& B, bool AWithAlpha = false);
double MeanDifference(const TImageData& A, const TImageData& B);

// The message of the EInvalidGraphic ACall raises; "" and a test failure when
// it raises none.
String InvalidGraphicMessage(const std::function<void()>& ACall);
