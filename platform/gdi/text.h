// Text output and measuring on device contexts, in the selected font, text
// colour, background mode and colour, through the clip and the origins.
#pragma once

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

// Bits of TEXTMETRICW.tmPitchAndFamily; the first one set means a variable
// pitch, despite its name.
inline constexpr BYTE TMPF_FIXED_PITCH = 0x01;
inline constexpr BYTE TMPF_VECTOR = 0x02;
inline constexpr BYTE TMPF_TRUETYPE = 0x04;

struct DRAWTEXTPARAMS {
    UINT cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 0;  // in average character widths; 0 = 8
    int iLeftMargin = 0;
    int iRightMargin = 0;
    UINT uiLengthDrawn = 0;  // out: the characters processed
};

BOOL GetTextMetricsW(HDC ADC, TEXTMETRICW* AMetrics);
// Width and height of the text in one line, without prefix or tab handling.
BOOL GetTextExtentPoint32W(HDC ADC, const WCHAR* AText, int ACount, SIZE* ASize);

// The text at (X, Y) as the DC's text alignment places it.
BOOL TextOutW(HDC ADC, int X, int Y, const WCHAR* AText, int ACount);
// With ETO_OPAQUE ARect is filled with the background colour first; with
// ETO_CLIPPED the text is clipped to it. ADx, when given, holds the advance
// of each character.
BOOL ExtTextOutW(HDC ADC, int X, int Y, UINT AOptions, const RECT* ARect, const WCHAR* AText, UINT ACount,
                 const int* ADx);

// ACount -1: AText ends at its null. Returns the height of the text (see the
// DT_ flags), 0 on failure; DT_CALCRECT draws nothing and sets ARect's right
// and bottom to bound the text.
int DrawTextW(HDC ADC, const WCHAR* AText, int ACount, RECT* ARect, UINT AFormat);
int DrawTextExW(HDC ADC, const WCHAR* AText, int ACount, RECT* ARect, UINT AFormat, DRAWTEXTPARAMS* AParams);

// Tabs stop at ATabStops from ATabOrigin (none: every 8 average character
// widths; one: at its multiples). Returns the height in the high word and
// the width in the low word, 0 on failure.
LONG TabbedTextOutW(HDC ADC, int X, int Y, const WCHAR* AText, int ACount, int ATabCount,
                    const int* ATabStops, int ATabOrigin);

}  // namespace win
