// Colours as the toolkit keeps them: 0x00BBGGRR, or a system colour as
// 0xFF000000 + its index (negative as an Integer), resolved only when drawn.
#pragma once

#include "platform/base/types.h"
#include "platform/gdi/syscolors.h"

using TColor = Integer;

inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor SystemColor(int AIndex) {
    return clSystemColor | AIndex;
}

inline constexpr TColor clScrollBar = SystemColor(win::COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SystemColor(win::COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SystemColor(win::COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SystemColor(win::COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(win::COLOR_MENU);
inline constexpr TColor clWindow = SystemColor(win::COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SystemColor(win::COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SystemColor(win::COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SystemColor(win::COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SystemColor(win::COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SystemColor(win::COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SystemColor(win::COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SystemColor(win::COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SystemColor(win::COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(win::COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SystemColor(win::COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(win::COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SystemColor(win::COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SystemColor(win::COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SystemColor(win::COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SystemColor(win::COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SystemColor(win::COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SystemColor(win::COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SystemColor(win::COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SystemColor(win::COLOR_INFOBK);
inline constexpr TColor clHotLight = SystemColor(win::COLOR_HOTLIGHT);
inline constexpr TColor clGradientActiveCaption = SystemColor(win::COLOR_GRADIENTACTIVECAPTION);
inline constexpr TColor clGradientInactiveCaption = SystemColor(win::COLOR_GRADIENTINACTIVECAPTION);
inline constexpr TColor clMenuHighlight = SystemColor(win::COLOR_MENUHILIGHT);
inline constexpr TColor clMenuBar = SystemColor(win::COLOR_MENUBAR);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// Not colours: "nothing" and "the owner's choice".
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// A system colour becomes its value in the system colour table (0 for an
// index outside it); every other value comes back unchanged.
Integer ColorToRGB(TColor AColor);
