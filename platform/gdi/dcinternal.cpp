#include "platform/gdi/dcinternal.h"

#include <vector>

#include "platform/gdi/dcstate.h"
#include "platform/gdi/paint.h"

using namespace win;

namespace gdi {

bool GetDrawTarget(HDC ADC, DrawTarget& ATarget) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return false;
    ATarget.Pixels = dc->Target();
    ATarget.Offset = dc->Offset();
    ATarget.Clip = dc->Visible();
    ATarget.TextColor = dc->State.TextColor;
    ATarget.BkColor = dc->State.BkColor;
    ATarget.BkMode = dc->State.BkMode;
    ATarget.TextAlign = dc->State.TextAlign;
    ATarget.CurrentPosition = dc->State.CurrentPos;
    ATarget.Font = static_cast<HFONT>(dc->State.Font.Handle());
    ATarget.LogFont = dc->State.Font->Font;
    return true;
}

bool SetCurrentPosition(HDC ADC, POINT APosition) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return false;
    dc->State.CurrentPos = APosition;
    return true;
}

void FillSurfaceRect(const DrawTarget& ATarget, const RECT& ARect, COLORREF AColor) {
    GdiLock lock(GdiMutex());
    PixRegion region(ATarget.Clip);
    region.Intersect(ARect);
    FillRegion(ATarget.Pixels, region, SolidPixel(ATarget.Pixels, AColor));
}

namespace {

// round(x / 255) for x in 0 .. 255 * 255.
inline unsigned Div255(unsigned X) {
    X += 128;
    return (X + (X >> 8)) >> 8;
}

inline Pixel BlendTowards(Pixel ADest, Pixel AColor, unsigned ACoverage) {
    Pixel result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((ADest >> shift) & 0xFF), c = int((AColor >> shift) & 0xFF);
        const int v = c >= d ? d + int(Div255(unsigned(c - d) * ACoverage))
                             : d - int(Div255(unsigned(d - c) * ACoverage));
        result |= Pixel(v) << shift;
    }
    return result;
}

}  // namespace

void BlendCoverage(const DrawTarget& ATarget, int X, int Y, int AWidth, int AHeight, const uint8_t* ACoverage,
                   int ACoverageStride, COLORREF AColor) {
    GdiLock lock(GdiMutex());
    PixRegion region(ATarget.Clip);
    region.Intersect(RECT{X, Y, X + AWidth, Y + AHeight});
    const Surface& s = ATarget.Pixels;
    const Pixel color = ColorToPixel(AColor & ColorMask);
    std::vector<Pixel> row;
    for (const pixman_box32_t& box : region.Boxes()) {
        const int n = box.x2 - box.x1;
        row.resize(size_t(n));
        for (int y = box.y1; y < box.y2; ++y) {
            const uint8_t* coverage = ACoverage + ptrdiff_t(y - Y) * ACoverageStride + (box.x1 - X);
            FetchRow(s, box.x1, y, n, row.data());
            for (int i = 0; i < n; ++i)
                if (coverage[i]) row[size_t(i)] = BlendTowards(row[size_t(i)], color, coverage[i]);
            StoreRow(s, box.x1, y, n, row.data());
        }
    }
}

HDC CreateSurfaceDC(const Surface& ASurface) {
    GdiLock lock(GdiMutex());
    auto dc = std::make_unique<DeviceContext>(false);
    dc->SetExternal(ASurface);
    return Register<HDC>(std::move(dc));
}

bool SetSurfaceDCTarget(HDC ADC, const Surface& ASurface) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || dc->IsMemory()) return false;
    dc->SetExternal(ASurface);
    return true;
}

bool SetDCSystemArea(HDC ADC, POINT AOrigin, const PixRegion* AClip) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return false;
    dc->Origin = AOrigin;
    if (AClip)
        dc->SystemClip = *AClip;
    else
        dc->SystemClip.reset();
    return true;
}

}  // namespace gdi
