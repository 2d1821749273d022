#include "platform/gdi/draw.h"

#include <vector>

#include "platform/gdi/dcstate.h"
#include "platform/gdi/paint.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/syscolors.h"

using namespace win;

namespace gdi {

namespace {

// A brush handle, or a system colour index + 1 (which is never a handle).
bool BrushColor(HBRUSH ABrush, COLORREF& AColor, bool& APaints) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(ABrush);
    if (value >= 1 && value <= uintptr_t(COLOR_MENUBAR) + 1) {
        AColor = GetSysColor(int(value - 1));
        APaints = true;
        return true;
    }
    BrushObject* brush = Lookup<BrushObject>(ABrush);
    if (!brush) return false;
    AColor = brush->Brush.lbColor;
    APaints = brush->Paints();
    return true;
}

// The visible part of a logical rectangle, in surface coordinates.
PixRegion VisibleRect(const DeviceContext& ADC, const RECT& ALogical) {
    PixRegion region = ADC.Visible();
    region.Intersect(ADC.ToSurface(ALogical));
    return region;
}

// Paints with the DC's brush and pen under its pen mode: first AFill, then
// AOutline (surface coordinates; either may be nullptr).
void PaintShape(const DeviceContext& ADC, const PixRegion* AFill, const PixRegion* AOutline) {
    const Surface& s = ADC.Target();
    const PixRegion visible = ADC.Visible();
    const BrushObject& brush = *ADC.State.Brush.Get();
    const PenObject& pen = *ADC.State.Pen.Get();
    if (AFill && brush.Paints()) {
        PixRegion r(*AFill);
        r.Intersect(visible);
        FillRegionRop2(s, r, SolidPixel(s, brush.Brush.lbColor), ADC.State.Rop2);
    }
    if (AOutline && pen.Draws()) {
        PixRegion r(*AOutline);
        r.Intersect(visible);
        FillRegionRop2(s, r, SolidPixel(s, pen.Pen.lopnColor), ADC.State.Rop2);
    }
}

// The one-pixel frame just inside R.
PixRegion Frame(const RECT& R) {
    PixRegion frame(R);
    frame.Subtract(PixRegion(RECT{R.left + 1, R.top + 1, R.right - 1, R.bottom - 1}));
    return frame;
}

// The pen's pixels along a path of surface points.
PixRegion PathPixels(const DeviceContext& ADC, const std::vector<POINT>& APoints, bool AClosed) {
    const RECT bounds = ADC.Visible().Bounds();
    std::vector<RECT> boxes;
    for (size_t i = 0; i + 1 < APoints.size(); ++i)
        AddLine(boxes, APoints[i], APoints[i + 1], bounds);
    if (AClosed && APoints.size() > 1) AddLine(boxes, APoints.back(), APoints.front(), bounds);
    return PixRegion::FromRects(boxes);
}

std::vector<POINT> ToSurface(const DeviceContext& ADC, const POINT* APoints, int ACount) {
    std::vector<POINT> points(static_cast<size_t>(ACount));
    for (int i = 0; i < ACount; ++i)
        points[size_t(i)] = ADC.ToSurface(APoints[i]);
    return points;
}

// A region handle's pixels in surface coordinates.
bool RegionPixels(const DeviceContext& ADC, HRGN ARegion, PixRegion& APixels) {
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!region) return false;
    APixels = region->Region;
    const POINT offset = ADC.Offset();
    APixels.Offset(offset.x, offset.y);
    return true;
}

bool FillWithBrush(const DeviceContext& ADC, PixRegion ARegion, HBRUSH ABrush) {
    COLORREF color;
    bool paints;
    if (!BrushColor(ABrush, color, paints)) return false;
    if (!paints) return true;
    ARegion.Intersect(ADC.Visible());
    FillRegion(ADC.Target(), ARegion, SolidPixel(ADC.Target(), color));
    return true;
}

struct EdgeColors {
    int TopLeft, BottomRight;
};

// Which system colours the outer or inner edge takes.
bool EdgeColorsOf(UINT AEdge, UINT AFlags, bool AOuter, EdgeColors& AColors) {
    const UINT raised = AOuter ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    const UINT sunken = AOuter ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    if (!(AEdge & (raised | sunken))) return false;
    if (AFlags & BF_MONO) {
        const int c = AOuter ? COLOR_WINDOWFRAME : COLOR_WINDOW;
        AColors = {c, c};
    } else if (AFlags & BF_FLAT) {
        const int c = AOuter ? COLOR_3DSHADOW : COLOR_3DFACE;
        AColors = {c, c};
    } else if (AEdge & raised) {
        AColors = AOuter ? EdgeColors{COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                         : EdgeColors{COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
    } else {
        AColors = AOuter ? EdgeColors{COLOR_3DSHADOW, COLOR_3DHIGHLIGHT}
                         : EdgeColors{COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    }
    return true;
}

// One ring of a 3-D border on the sides AFlags names; R shrinks past it.
void DrawEdgeRing(const DeviceContext& ADC, RECT& R, const EdgeColors& AColors, UINT AFlags) {
    if (R.right <= R.left || R.bottom <= R.top) return;
    const Surface& s = ADC.Target();
    const PixRegion visible = ADC.Visible();
    const auto line = [&](const RECT& ALine, int AColor) {
        PixRegion r(ALine);
        r.Intersect(visible);
        FillRegion(s, r, SolidPixel(s, GetSysColor(AColor)));
    };
    const int rightEnd = (AFlags & BF_RIGHT) ? R.right - 1 : R.right;
    const int bottomEnd = (AFlags & BF_BOTTOM) ? R.bottom - 1 : R.bottom;
    if (AFlags & BF_LEFT) line({R.left, R.top, R.left + 1, bottomEnd}, AColors.TopLeft);
    if (AFlags & BF_TOP) line({R.left, R.top, rightEnd, R.top + 1}, AColors.TopLeft);
    if (AFlags & BF_RIGHT) line({R.right - 1, R.top, R.right, R.bottom}, AColors.BottomRight);
    if (AFlags & BF_BOTTOM) line({R.left, R.bottom - 1, R.right, R.bottom}, AColors.BottomRight);
    if (AFlags & BF_LEFT) ++R.left;
    if (AFlags & BF_TOP) ++R.top;
    if (AFlags & BF_RIGHT) --R.right;
    if (AFlags & BF_BOTTOM) --R.bottom;
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

int FillRect(HDC ADC, const RECT* ARect, HBRUSH ABrush) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    COLORREF color;
    bool paints;
    if (!dc || !ARect || !BrushColor(ABrush, color, paints)) return FALSE;
    // Only a rectangle with right > left and bottom > top has pixels.
    if (!paints || ARect->right <= ARect->left || ARect->bottom <= ARect->top) return TRUE;
    const Surface& s = dc->Target();
    FillRegion(s, VisibleRect(*dc, *ARect), SolidPixel(s, color));
    return TRUE;
}

int FrameRect(HDC ADC, const RECT* ARect, HBRUSH ABrush) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !ARect) return FALSE;
    if (ARect->right <= ARect->left || ARect->bottom <= ARect->top) return TRUE;
    return FillWithBrush(*dc, Frame(dc->ToSurface(*ARect)), ABrush) ? TRUE : FALSE;
}

BOOL Rectangle(HDC ADC, int ALeft, int ATop, int ARight, int ABottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    const RECT r = dc->ToSurface(RECT{ALeft, ATop, ARight, ABottom});
    if (r.right == r.left || r.bottom == r.top) return TRUE;
    if (!dc->State.Pen->Draws()) {
        const PixRegion fill(RECT{r.left, r.top, r.right - 1, r.bottom - 1});
        PaintShape(*dc, &fill, nullptr);
        return TRUE;
    }
    const PixRegion outline = Frame(r);
    const PixRegion fill(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    PaintShape(*dc, &fill, &outline);
    return TRUE;
}

BOOL Ellipse(HDC ADC, int ALeft, int ATop, int ARight, int ABottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    const RECT r = dc->ToSurface(RECT{ALeft, ATop, ARight, ABottom});
    if (r.right == r.left || r.bottom == r.top) return TRUE;
    // The rows next to the visible ones too, so that the outline is right at its edge.
    const RECT visible = dc->Visible().Bounds();
    PixRegion shape = PixRegion::FromRects(
        RoundRectRows(r, r.right - r.left, r.bottom - r.top, visible.top - 1, visible.bottom + 1));
    if (!dc->State.Pen->Draws()) {
        PaintShape(*dc, &shape, nullptr);
        return TRUE;
    }
    const PixRegion outline = Outline(shape);
    shape.Subtract(outline);
    PaintShape(*dc, &shape, &outline);
    return TRUE;
}

BOOL Polygon(HDC ADC, const POINT* APoints, int ACount) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !APoints || ACount < 2) return FALSE;
    const std::vector<POINT> points = ToSurface(*dc, APoints, ACount);
    const PixRegion fill = PixRegion::FromRects(
        PolygonRows(points.data(), ACount, dc->State.PolyFillMode == WINDING, dc->Visible().Bounds()));
    const PixRegion outline = PathPixels(*dc, points, true);
    PaintShape(*dc, &fill, &outline);
    return TRUE;
}

BOOL Polyline(HDC ADC, const POINT* APoints, int ACount) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !APoints || ACount < 2) return FALSE;
    const PixRegion outline = PathPixels(*dc, ToSurface(*dc, APoints, ACount), false);
    PaintShape(*dc, nullptr, &outline);
    return TRUE;
}

BOOL MoveToEx(HDC ADC, int X, int Y, POINT* AOld) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    if (AOld) *AOld = dc->State.CurrentPos;
    dc->State.CurrentPos = {X, Y};
    return TRUE;
}

BOOL LineTo(HDC ADC, int X, int Y) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    const POINT ends[] = {dc->State.CurrentPos, {X, Y}};
    const PixRegion outline = PathPixels(*dc, ToSurface(*dc, ends, 2), false);
    PaintShape(*dc, nullptr, &outline);
    dc->State.CurrentPos = {X, Y};
    return TRUE;
}

BOOL DrawFocusRect(HDC ADC, const RECT* ARect) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !ARect) return FALSE;
    PixRegion frame = Frame(dc->ToSurface(*ARect));
    frame.Intersect(dc->Visible());
    // Every other pixel, counted in device coordinates.
    std::vector<RECT> dots;
    for (const pixman_box32_t& box : frame.Boxes())
        for (int y = box.y1; y < box.y2; ++y)
            for (int x = box.x1; x < box.x2; ++x)
                if (((x - dc->Origin.x + y - dc->Origin.y) & 1) == 0) dots.push_back({x, y, x + 1, y + 1});
    const Surface& s = dc->Target();
    FillRegionRop2(s, PixRegion::FromRects(dots), SolidPixel(s, RGB(255, 255, 255)), R2_XORPEN);
    return TRUE;
}

BOOL DrawEdge(HDC ADC, RECT* ARect, UINT AEdge, UINT AFlags) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !ARect || (AFlags & BF_DIAGONAL)) return FALSE;
    RECT r = dc->ToSurface(*ARect);
    EdgeColors colors;
    if (EdgeColorsOf(AEdge, AFlags, true, colors)) DrawEdgeRing(*dc, r, colors, AFlags);
    if (EdgeColorsOf(AEdge, AFlags, false, colors)) DrawEdgeRing(*dc, r, colors, AFlags);
    if ((AFlags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top) {
        PixRegion middle(r);
        middle.Intersect(dc->Visible());
        FillRegion(dc->Target(), middle, SolidPixel(dc->Target(), GetSysColor(COLOR_3DFACE)));
    }
    if (AFlags & BF_ADJUST) {
        const POINT offset = dc->Offset();
        *ARect = {r.left - offset.x, r.top - offset.y, r.right - offset.x, r.bottom - offset.y};
    }
    return TRUE;
}

BOOL FillRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    PixRegion pixels;
    if (!dc || !RegionPixels(*dc, ARegion, pixels)) return FALSE;
    return FillWithBrush(*dc, std::move(pixels), ABrush) ? TRUE : FALSE;
}

BOOL FrameRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush, int AWidth, int AHeight) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    PixRegion pixels;
    if (!dc || !RegionPixels(*dc, ARegion, pixels) || AWidth < 0 || AHeight < 0) return FALSE;
    // Wider than any region can be: everything is border.
    constexpr int widest = 1 << 12;
    return FillWithBrush(*dc, Border(pixels, std::min(AWidth, widest), std::min(AHeight, widest)), ABrush)
               ? TRUE
               : FALSE;
}

COLORREF GetPixel(HDC ADC, int X, int Y) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return CLR_INVALID;
    const POINT p = dc->ToSurface(POINT{X, Y});
    if (!dc->Visible().Contains(p.x, p.y)) return CLR_INVALID;
    return PixelToColor(ReadPixel(dc->Target(), p.x, p.y) & ColorMask);
}

COLORREF SetPixel(HDC ADC, int X, int Y, COLORREF AColor) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return CLR_INVALID;
    const POINT p = dc->ToSurface(POINT{X, Y});
    if (!dc->Visible().Contains(p.x, p.y)) return CLR_INVALID;
    const Pixel pixel = SolidPixel(dc->Target(), AColor);
    WritePixel(dc->Target(), p.x, p.y, pixel);
    return PixelToColor(pixel & ColorMask);
}

}  // namespace win
