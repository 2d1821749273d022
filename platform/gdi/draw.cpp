#include "platform/gdi/draw.h"

#include "platform/gdi/dcstate.h"
#include "platform/gdi/paint.h"
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
