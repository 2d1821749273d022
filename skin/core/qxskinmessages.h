// The skin library's window messages and their fixed answers. The numbers
// are part of the library's outside interface (outside painters and window
// effects engines send some of them), so they never change.
#pragma once

#include "platform/win/messages.h"

// Skin change, sent by the skin data to every form: WParam the skin data,
// LParam SkinMessageLParam.
inline constexpr win::UINT SKINMSG_CHANGING = 0x04C9;
inline constexpr win::UINT SKINMSG_CHANGE = 0x04CA;
inline constexpr win::UINT SKINMSG_CHANGED = 0x04CB;
inline constexpr win::LPARAM SkinMessageLParam = 1000;

// Skinned menus: closed (to the form and the opener), command done (to the opener).
inline constexpr win::UINT SKINMSG_MENUCLOSED = 0x04CC;
inline constexpr win::UINT SKINMSG_MENUCOMMAND = 0x04CD;

// MDI forms and their children among themselves.
inline constexpr win::UINT SKINMSG_MDICHILDFIT = 0x04CE;
inline constexpr win::UINT SKINMSG_MDICHILDMAXIMIZED = 0x04CF;
inline constexpr win::UINT SKINMSG_MDICHILDRESTORED = 0x04D0;
inline constexpr win::UINT SKINMSG_MDICHILDMOVED = 0x04D1;
inline constexpr win::UINT SKINMSG_MDIRESTOREALL = 0x04D2;
inline constexpr win::UINT SKINMSG_MDIRESTOREALLEXCEPT = 0x04D3;
inline constexpr win::UINT SKINMSG_MDIQUERYMAXIMIZED = 0x04D4;

// Announcements of the skin data (WParam the skin data, LParam SkinMessageLParam).
inline constexpr win::UINT SKINMSG_RESSTRINGS = 0x04FA;
inline constexpr win::UINT SKINMSG_SKINNABLEFORM = 0x050E;
inline constexpr win::UINT SKINMSG_LAYEREDBORDERS = 0x0593;
inline constexpr win::UINT SKINMSG_AEROBLUR = 0x0594;

// Transparent children repaint from their parent's background.
inline constexpr win::UINT SKINMSG_PARENTBG = 0x0504;

// A skinned button shows or hides its glow layer (posted to itself).
inline constexpr win::UINT SKINMSG_SHOWLAYER = 0x0590;
inline constexpr win::UINT SKINMSG_HIDELAYER = 0x0591;

// The tray icon asks the main form to come back (its Tag set to SKINTAG_TRAYRESTORE).
inline constexpr win::UINT SKINMSG_RESTOREFROMTRAY = 0x0592;
inline constexpr int SKINTAG_TRAYRESTORE = -10000;

// The tray icon's notification callback: WParam the icon id, LParam the mouse message.
inline constexpr win::UINT SKINMSG_TRAYNOTIFY = 0x0800;

// Outside window-effects engines.
inline constexpr win::UINT SKINMSG_QUERYSKINNED = 0xB1B2;
inline constexpr win::UINT SKINMSG_EFFECTBEGIN = 0xB1B3;
inline constexpr win::UINT SKINMSG_EFFECTEND = 0xB1B4;
inline constexpr win::LRESULT SKINMSG_ANSWER_NATIVE = 0x3234;
inline constexpr win::LRESULT SKINMSG_ANSWER_SKINNED = 0x3235;

// Outside painters: WParam the DC.
inline constexpr win::UINT SKINMSG_PAINTHEADERTODC = 0xB1C8;
inline constexpr win::UINT SKINMSG_PAINTTODC = 0xB1C9;
inline constexpr win::LRESULT SKINMSG_ANSWER_PAINTED = 0x3233;
// These two carry SKINMSG_PAINTKEY in LParam and answer it; other LParam
// values are not the library's.
inline constexpr win::UINT SKINMSG_PAINTEMPTYTODC = 0xBC4A;
inline constexpr win::UINT SKINMSG_PAINTFRAMETODC = 0xBC4B;
inline constexpr win::LPARAM SKINMSG_PAINTKEY = 0x41A2;
