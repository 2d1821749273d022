// The standard control windows' styles and messages, with their Windows
// values: edits and list boxes, the scroll codes of WM_HSCROLL and
// WM_VSCROLL, and the owner-draw record. The toolkit's standard controls
// answer them.
#pragma once

#include "platform/win/wintypes.h"

namespace win {

// The low word of WM_HSCROLL's and WM_VSCROLL's WParam; the high word
// carries the position with SB_THUMBPOSITION and SB_THUMBTRACK.
inline constexpr WORD SB_LINEUP = 0;
inline constexpr WORD SB_LINELEFT = 0;
inline constexpr WORD SB_LINEDOWN = 1;
inline constexpr WORD SB_LINERIGHT = 1;
inline constexpr WORD SB_PAGEUP = 2;
inline constexpr WORD SB_PAGELEFT = 2;
inline constexpr WORD SB_PAGEDOWN = 3;
inline constexpr WORD SB_PAGERIGHT = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_TOP = 6;
inline constexpr WORD SB_LEFT = 6;
inline constexpr WORD SB_BOTTOM = 7;
inline constexpr WORD SB_RIGHT = 7;
inline constexpr WORD SB_ENDSCROLL = 8;

inline constexpr UINT WM_UNDO = 0x0304;

// Edit styles. ES_MULTILINE keeps line breaks and lets EM_SETRECT place
// the text; without ES_AUTOHSCROLL a multi-line edit wraps its lines.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;

// Edit messages. Positions and lengths are in UTF-16 units; CR LF counts two.
inline constexpr UINT EM_GETSEL = 0x00B0;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT EM_GETRECT = 0x00B2;
inline constexpr UINT EM_SETRECT = 0x00B3;
inline constexpr UINT EM_SETRECTNP = 0x00B4;
inline constexpr UINT EM_LINESCROLL = 0x00B6;
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LINEINDEX = 0x00BB;
inline constexpr UINT EM_LINELENGTH = 0x00C1;
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_GETLINE = 0x00C4;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_SETMARGINS = 0x00D3;
inline constexpr UINT EM_GETMARGINS = 0x00D4;
inline constexpr UINT EM_GETLIMITTEXT = 0x00D5;
inline constexpr UINT EM_POSFROMCHAR = 0x00D6;
inline constexpr UINT EM_CHARFROMPOS = 0x00D7;

// EM_SETMARGINS, WParam.
inline constexpr WPARAM EC_LEFTMARGIN = 0x0001;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

// List box styles.
inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
inline constexpr DWORD LBS_MULTIPLESEL = 0x0008;
inline constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr DWORD LBS_HASSTRINGS = 0x0040;
inline constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
inline constexpr DWORD LBS_MULTICOLUMN = 0x0200;
inline constexpr DWORD LBS_EXTENDEDSEL = 0x0800;

// List box messages; LParam strings are null-terminated UTF-16.
inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_INSERTSTRING = 0x0181;
inline constexpr UINT LB_DELETESTRING = 0x0182;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETSEL = 0x0185;
inline constexpr UINT LB_SETCURSEL = 0x0186;
inline constexpr UINT LB_GETSEL = 0x0187;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_SELECTSTRING = 0x018C;
inline constexpr UINT LB_GETTOPINDEX = 0x018E;
inline constexpr UINT LB_FINDSTRING = 0x018F;
inline constexpr UINT LB_GETSELCOUNT = 0x0190;
inline constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
inline constexpr UINT LB_SETTOPINDEX = 0x0197;
inline constexpr UINT LB_GETITEMRECT = 0x0198;
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;
inline constexpr UINT LB_SETCARETINDEX = 0x019E;
inline constexpr UINT LB_GETCARETINDEX = 0x019F;
inline constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr UINT LB_ITEMFROMPOINT = 0x01A9;
inline constexpr LRESULT LB_OKAY = 0;
inline constexpr LRESULT LB_ERR = -1;

// Owner drawing: CN_DRAWITEM's LParam points at the record.
inline constexpr UINT ODT_LISTBOX = 2;
inline constexpr UINT ODT_COMBOBOX = 3;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};

}  // namespace win
