// The common controls' messages, notification codes and structures: list
// view (LVM_), header (HDM_, HDN_), tree view (TVM_) and tab control (TCM_),
// with their documented numbers, which code outside the toolkit sends by
// number. The controls themselves are the toolkit's (list view, tree view,
// page control); the header is a window of class "SysHeader32".
#pragma once

#include "platform/win/wintypes.h"

namespace win {

// Image lists by handle: the toolkit's image lists hand theirs out.
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
// A tree node by handle; a stale one makes the message fail.
struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

// The WM_NOTIFY record; LParam points at it (or at a record that starts with it).
struct NMHDR {
    HWND hwndFrom;
    ULONG_PTR idFrom;
    UINT code;
};

// List view.
inline constexpr UINT LVM_FIRST = 0x1000;
// WParam: LVSIL_...; result: the list's handle.
inline constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
// WParam: LVSIL_..., LParam: the handle; result: the previous one.
inline constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
// WParam: the item; LParam: RECT* whose left holds an LVIR_ code on entry.
inline constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
// WParam, LParam: pixels.
inline constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
// WParam, LParam: the first and last item.
inline constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
inline constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
// WParam: the column (any in list view); 0 for a column that is not there.
inline constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
// WParam: the column, LParam: the width.
inline constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
inline constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
inline constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
inline constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
// WParam: the item, -1 ends an edit; result: the edit window.
inline constexpr UINT LVM_EDITLABELW = LVM_FIRST + 118;
inline constexpr UINT LVM_CANCELEDITLABEL = LVM_FIRST + 179;

inline constexpr WPARAM LVSIL_NORMAL = 0;
inline constexpr WPARAM LVSIL_SMALL = 1;
inline constexpr WPARAM LVSIL_STATE = 2;

inline constexpr LONG LVIR_BOUNDS = 0;
inline constexpr LONG LVIR_ICON = 1;
inline constexpr LONG LVIR_LABEL = 2;
inline constexpr LONG LVIR_SELECTBOUNDS = 3;

// Header.
inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
// LParam: HDHITTESTINFO*; result: the item, -1 for none.
inline constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
// WParam: the item, LParam: RECT*.
inline constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
// WParam: the number of items, LParam: int* for the items in display order.
inline constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;

inline constexpr UINT HHT_NOWHERE = 0x0001;
inline constexpr UINT HHT_ONHEADER = 0x0002;
inline constexpr UINT HHT_ONDIVIDER = 0x0004;
inline constexpr UINT HHT_TORIGHT = 0x0400;

struct HDHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
};

inline constexpr UINT HDI_WIDTH = 0x0001;
inline constexpr UINT HDI_ORDER = 0x0080;

struct HDITEMW {
    UINT mask;
    int cxy;
    int iOrder;
};

// The header tells its parent with WM_NOTIFY and an NMHEADERW.
struct NMHEADERW {
    NMHDR hdr;
    int iItem;
    int iButton;
    HDITEMW* pitem;
};

inline constexpr UINT HDN_FIRST = UINT(0) - 300;
// A section was clicked.
inline constexpr UINT HDN_ITEMCLICKW = HDN_FIRST - 22;
// A divider is being dragged; pitem->cxy holds the width asked for, which
// the parent may narrow to what it accepts.
inline constexpr UINT HDN_TRACKW = HDN_FIRST - 28;
inline constexpr UINT HDN_ENDTRACKW = HDN_FIRST - 27;
// A section was dropped elsewhere; pitem->iOrder holds its new position.
inline constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;

// Tree view.
inline constexpr UINT TVM_FIRST = 0x1100;
// WParam: TRUE for the text only; LParam: RECT* whose first bytes hold the
// HTREEITEM on entry.
inline constexpr UINT TVM_GETITEMRECT = TVM_FIRST + 4;
inline constexpr UINT TVM_GETCOUNT = TVM_FIRST + 5;
// WParam: TVSIL_...; result: the list's handle.
inline constexpr UINT TVM_GETIMAGELIST = TVM_FIRST + 8;
// WParam: TVSIL_..., LParam: the handle; result: the previous one.
inline constexpr UINT TVM_SETIMAGELIST = TVM_FIRST + 9;
inline constexpr UINT TVM_GETVISIBLECOUNT = TVM_FIRST + 16;
// WParam: TRUE cancels the edit.
inline constexpr UINT TVM_ENDEDITLABELNOW = TVM_FIRST + 22;
// LParam: the HTREEITEM; result: the edit window.
inline constexpr UINT TVM_EDITLABELW = TVM_FIRST + 65;

inline constexpr WPARAM TVSIL_NORMAL = 0;
inline constexpr WPARAM TVSIL_STATE = 2;

// Tab control.
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
// LParam: the handle; result: the previous one.
inline constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
// WParam: the tab, LParam: RECT*.
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
// WParam: the tab; result: the previous one, -1 for none. No notification.
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
// LParam: TCHITTESTINFO*; result: the tab, -1 for none.
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
// WParam FALSE: the window rectangle in LParam becomes the display
// rectangle of the pages; TRUE: the other way round.
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
// LParam: MAKELPARAM(width, height); result: the previous size.
inline constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;

inline constexpr UINT TCHT_NOWHERE = 0x0001;
inline constexpr UINT TCHT_ONITEM = 0x0006;

struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};

}  // namespace win
