// The header of a report-view list: a child window of class "SysHeader32"
// that code outside the toolkit may subclass by handle. It shows the list's
// columns in their display order; its window procedure answers HDM_...,
// paints plain sections, drags dividers (the parent bounds the width) and,
// with the list's FullDrag, sections to another place, and tells the list
// by WM_NOTIFY. Only the list's own modules use it.
#pragma once

#include "platform/toolkit/listview.h"

class TListHeader {
public:
    // Makes the window, hidden, as a child of the list's.
    explicit TListHeader(TCustomListView* AList);
    // Destroys the window; its handle stays stale for good.
    ~TListHeader();

    win::HWND Handle() const { return FHandle; }
    void Invalidate();

private:
    enum TMode { hmNone, hmTracking, hmPressed, hmDragging };

    static win::LRESULT WindowProc(win::HWND AWindow, win::UINT AMsg, win::WPARAM AWParam,
                                   win::LPARAM ALParam);
    win::LRESULT Message(win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam);
    Integer Count() const;
    // In the header's client coordinates; empty for a column not there.
    TRect SectionRect(Integer AColumn);
    Integer HitTest(TPoint APoint, win::UINT& AFlags);
    // The display position a point falls on.
    Integer PositionAt(Integer X);
    void Paint(win::HDC ADC);
    void PaintSection(TCanvas* ACanvas, Integer AColumn, const TRect& ARect, bool APressed);
    // False when the header went away meanwhile.
    bool Notify(win::UINT ACode, Integer AItem, win::HDITEMW* AInfo);
    void MouseDown(TPoint APoint);
    void MouseMove(TPoint APoint);
    void MouseUp(TPoint APoint);

    TCustomListView* FList;
    win::HWND FHandle = nullptr;
    TMode FMode = hmNone;
    Integer FItem = -1;
    Integer FOffset = 0;
    TPoint FDown;
    bool FInside = false;
};
