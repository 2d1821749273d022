// What the standard controls' tests share: input helpers over the test
// driver and descriptions read from text.
#pragma once

#include <string_view>

#include "platform/toolkit/controls.h"

// Presses AKey with the modifier keys held (VK_SHIFT, VK_CONTROL, VK_MENU).
void KeyWith(std::initializer_list<win::BYTE> AModifiers, win::BYTE AKey);
// Reads a form description given as UTF-8 text onto ARoot.
void ReadDescriptionText(TComponent* ARoot, std::string_view AText);
// Whether the colour of a pixel is the colour of the text drawn (not the
// background AColor): anti-aliased text only comes near its colour.
bool Differs(win::COLORREF APixel, win::COLORREF AColor);
