// The component framework's own messages (CM_...) and the reflections of
// notifications a parent receives from a child (CN_...), with the key
// message record the short-cut handlers take.
//
// The numbers are ours: CM_ from 0xB000 and CN_ from 0xBD00 (CN_ = CN_BASE +
// the WM_ number it reflects), clear of the skin library's fixed numbers
// (0x04C9-0x0594, 0x0800, 0xB1B2-0xB1C9, 0xBC4A-0xBC4B) and below the
// registered messages (0xC000 up).
#pragma once

#include "platform/base/types.h"
#include "platform/win/messages.h"
#include "platform/win/wintypes.h"

inline constexpr win::UINT CM_BASE = 0xB000;

// Sent to a form as it becomes (stops being) the screen's focused form.
inline constexpr win::UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr win::UINT CM_DEACTIVATE = CM_BASE + 1;
// LParam: the control that was pressed (may be nil).
inline constexpr win::UINT CM_CANCELMODE = CM_BASE + 4;
// WParam: the virtual key, LParam: the key data. Result 1: handled.
inline constexpr win::UINT CM_DIALOGKEY = CM_BASE + 5;
// WParam: the character, LParam: the key data. Result 1: handled.
inline constexpr win::UINT CM_DIALOGCHAR = CM_BASE + 6;
// LParam: the control that now has the focus; broadcast through the form.
inline constexpr win::UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr win::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr win::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
// Result non-zero: the point in LParam (client coordinates) hits the control.
inline constexpr win::UINT CM_HITTEST = CM_BASE + 10;
inline constexpr win::UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr win::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr win::UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr win::UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr win::UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr win::UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr win::UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr win::UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr win::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr win::UINT CM_ENTER = CM_BASE + 26;
inline constexpr win::UINT CM_EXIT = CM_BASE + 27;
// WParam: the virtual key. Result non-zero: the control takes it itself.
inline constexpr win::UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr win::UINT CM_RELEASE = CM_BASE + 33;
inline constexpr win::UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr win::UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr win::UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr win::UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr win::UINT CM_INVALIDATE = CM_BASE + 52;
// WParam: 1 when inserted, 0 when removed; LParam: the control.
inline constexpr win::UINT CM_CONTROLCHANGE = CM_BASE + 54;
// LParam: the THintInfo about to be shown.
inline constexpr win::UINT CM_HINTSHOW = CM_BASE + 48;
// A form's BorderStyle or BorderIcons changed.
inline constexpr win::UINT CM_BORDERCHANGED = CM_BASE + 59;

inline constexpr win::UINT CN_BASE = 0xBD00;
inline constexpr win::UINT CN_DRAWITEM = CN_BASE + win::WM_DRAWITEM;
inline constexpr win::UINT CN_MEASUREITEM = CN_BASE + win::WM_MEASUREITEM;
inline constexpr win::UINT CN_NOTIFY = CN_BASE + win::WM_NOTIFY;
inline constexpr win::UINT CN_KEYDOWN = CN_BASE + win::WM_KEYDOWN;
inline constexpr win::UINT CN_KEYUP = CN_BASE + win::WM_KEYUP;
inline constexpr win::UINT CN_CHAR = CN_BASE + win::WM_CHAR;
inline constexpr win::UINT CN_SYSKEYDOWN = CN_BASE + win::WM_SYSKEYDOWN;
inline constexpr win::UINT CN_SYSCHAR = CN_BASE + win::WM_SYSCHAR;
inline constexpr win::UINT CN_COMMAND = CN_BASE + win::WM_COMMAND;
inline constexpr win::UINT CN_HSCROLL = CN_BASE + win::WM_HSCROLL;
inline constexpr win::UINT CN_VSCROLL = CN_BASE + win::WM_VSCROLL;
inline constexpr win::UINT CN_CTLCOLOREDIT = CN_BASE + win::WM_CTLCOLOREDIT;
inline constexpr win::UINT CN_CTLCOLORLISTBOX = CN_BASE + win::WM_CTLCOLORLISTBOX;
inline constexpr win::UINT CN_CTLCOLORBTN = CN_BASE + win::WM_CTLCOLORBTN;
inline constexpr win::UINT CN_CTLCOLORSCROLLBAR = CN_BASE + win::WM_CTLCOLORSCROLLBAR;
inline constexpr win::UINT CN_CTLCOLORSTATIC = CN_BASE + win::WM_CTLCOLORSTATIC;

// A key message as the short-cut handlers see it.
struct TWMKey {
    win::UINT Msg = 0;
    Word CharCode = 0;
    win::LPARAM KeyData = 0;
    win::LRESULT Result = 0;
};

inline TWMKey KeyMessage(const TMessage& AMessage) {
    return {AMessage.Msg, Word(AMessage.WParam), AMessage.LParam, AMessage.Result};
}
