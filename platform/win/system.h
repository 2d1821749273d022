// System metrics and parameters, monitors, the text clipboard and sounds;
// the screen and monitors come from the capability table (capabilities.h).
#pragma once

#include "platform/base/types.h"
#include "platform/win/wintypes.h"

namespace win {

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CXMINTRACK = 34;
inline constexpr int SM_CYMINTRACK = 35;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CYSMCAPTION = 51;
inline constexpr int SM_CXMAXTRACK = 59;
inline constexpr int SM_CYMAXTRACK = 60;
inline constexpr int SM_CXMAXIMIZED = 61;
inline constexpr int SM_CYMAXIMIZED = 62;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;
inline constexpr int SM_MOUSEWHEELPRESENT = 75;
inline constexpr int SM_XVIRTUALSCREEN = 76;
inline constexpr int SM_YVIRTUALSCREEN = 77;
inline constexpr int SM_CXVIRTUALSCREEN = 78;
inline constexpr int SM_CYVIRTUALSCREEN = 79;
inline constexpr int SM_CMONITORS = 80;

inline constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
inline constexpr UINT SPI_GETWORKAREA = 0x0030;
inline constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;

inline constexpr DWORD MONITOR_DEFAULTTONULL = 0;
inline constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
inline constexpr DWORD MONITORINFOF_PRIMARY = 1;

inline constexpr UINT CF_UNICODETEXT = 13;

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;

// 0 for an unknown index.
int GetSystemMetrics(int AIndex);
// SPI_GETWORKAREA (RECT*), SPI_GETDRAGFULLWINDOWS (BOOL*) and
// SPI_GETWHEELSCROLLLINES (UINT*); FALSE for anything else.
BOOL SystemParametersInfoW(UINT AAction, UINT AParam, LPVOID AData, UINT AWinIni);
inline BOOL SystemParametersInfo(UINT AAction, UINT AParam, LPVOID AData, UINT AWinIni) {
    return SystemParametersInfoW(AAction, AParam, AData, AWinIni);
}

// The monitor with the largest part of the window (of the point, the
// rectangle); without one, by AFlags: nullptr, the primary or the nearest.
HMONITOR MonitorFromWindow(HWND AWindow, DWORD AFlags);
HMONITOR MonitorFromPoint(POINT APoint, DWORD AFlags);
HMONITOR MonitorFromRect(const RECT* ARect, DWORD AFlags);
// AInfo->cbSize must be sizeof(MONITORINFO).
BOOL GetMonitorInfoW(HMONITOR AMonitor, MONITORINFO* AInfo);
inline BOOL GetMonitorInfo(HMONITOR AMonitor, MONITORINFO* AInfo) {
    return GetMonitorInfoW(AMonitor, AInfo);
}
using MONITORENUMPROC = BOOL (*)(HMONITOR, HDC, RECT*, LPARAM);
// Every monitor, the primary first; ADC and AClip must be nullptr.
BOOL EnumDisplayMonitors(HDC ADC, const RECT* AClip, MONITORENUMPROC AProc, LPARAM AData);

// The text clipboard. Setting needs the clipboard opened (and emptied) by
// the caller, as on Windows.
BOOL OpenClipboard(HWND AOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT AFormat);
BOOL SetClipboardText(const String& AText);
// Empty when the clipboard holds no text.
String GetClipboardText();

// MB_OK, the MB_ICON... sounds or 0xFFFFFFFF for a simple beep.
BOOL MessageBeep(UINT AType);

}  // namespace win
