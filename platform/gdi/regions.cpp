#include "platform/gdi/regions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/shapes.h"

using namespace win;

namespace gdi {

namespace {

HRGN NewRegion(PixRegion ARegion) {
    return Register<HRGN>(std::make_unique<RegionObject>(std::move(ARegion)));
}

RECT Normalized(int ALeft, int ATop, int ARight, int ABottom) {
    return {std::min(ALeft, ARight), std::min(ATop, ABottom), std::max(ALeft, ARight),
            std::max(ATop, ABottom)};
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

HRGN CreateRectRgn(int ALeft, int ATop, int ARight, int ABottom) {
    GdiLock lock(GdiMutex());
    return NewRegion(PixRegion(Normalized(ALeft, ATop, ARight, ABottom)));
}

HRGN CreateRectRgnIndirect(const RECT* ARect) {
    return ARect ? CreateRectRgn(ARect->left, ARect->top, ARect->right, ARect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int ALeft, int ATop, int ARight, int ABottom, int AWidth, int AHeight) {
    GdiLock lock(GdiMutex());
    const RECT r = Normalized(ALeft, ATop, ARight, ABottom);
    if (r.right == r.left || r.bottom == r.top) return NewRegion(PixRegion());
    return NewRegion(PixRegion::FromRects(RoundRectRows(r, AWidth, AHeight)));
}

HRGN ExtCreateRegion(const XFORM* AXform, DWORD ACount, const RGNDATA* AData) {
    GdiLock lock(GdiMutex());
    if (AXform || !AData || ACount < sizeof(RGNDATAHEADER)) return nullptr;
    RGNDATAHEADER header{};
    std::memcpy(&header, AData, sizeof(header));
    if (header.iType != RDH_RECTANGLES || header.dwSize < sizeof(RGNDATAHEADER) || header.dwSize > ACount ||
        header.nCount > (ACount - header.dwSize) / sizeof(RECT))
        return nullptr;
    std::vector<RECT> rects(header.nCount);
    if (!rects.empty())
        std::memcpy(rects.data(), reinterpret_cast<const uint8_t*>(AData) + header.dwSize,
                    rects.size() * sizeof(RECT));
    return NewRegion(PixRegion::FromRects(rects));
}

int CombineRgn(HRGN ADest, HRGN ASource1, HRGN ASource2, int AMode) {
    GdiLock lock(GdiMutex());
    RegionObject* dest = Lookup<RegionObject>(ADest);
    RegionObject* a = Lookup<RegionObject>(ASource1);
    RegionObject* b = Lookup<RegionObject>(ASource2);
    if (!dest || !a || (AMode != RGN_COPY && !b)) return ERROR;
    PixRegion result = a->Region;
    switch (AMode) {
        case RGN_AND:
            result.Intersect(b->Region);
            break;
        case RGN_OR:
            result.Unite(b->Region);
            break;
        case RGN_XOR:
            result.Xor(b->Region);
            break;
        case RGN_DIFF:
            result.Subtract(b->Region);
            break;
        case RGN_COPY:
            break;
        default:
            return ERROR;
    }
    dest->Region = std::move(result);
    return dest->Region.Kind();
}

int OffsetRgn(HRGN ARegion, int ADx, int ADy) {
    GdiLock lock(GdiMutex());
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!region) return ERROR;
    region->Region.Offset(ADx, ADy);
    return region->Region.Kind();
}

BOOL PtInRegion(HRGN ARegion, int X, int Y) {
    GdiLock lock(GdiMutex());
    RegionObject* region = Lookup<RegionObject>(ARegion);
    return region && region->Region.Contains(X, Y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN ARegion, const RECT* ARect) {
    GdiLock lock(GdiMutex());
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!region || !ARect) return FALSE;
    PixRegion part = region->Region;
    part.Intersect(Normalized(ARect->left, ARect->top, ARect->right, ARect->bottom));
    return part.Empty() ? FALSE : TRUE;
}

int GetRgnBox(HRGN ARegion, RECT* ARect) {
    GdiLock lock(GdiMutex());
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!region || !ARect) return ERROR;
    *ARect = region->Region.Bounds();
    return region->Region.Kind();
}

DWORD GetRegionData(HRGN ARegion, DWORD ACount, RGNDATA* AData) {
    GdiLock lock(GdiMutex());
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!region) return 0;
    const auto boxes = region->Region.Boxes();
    const DWORD size = DWORD(sizeof(RGNDATAHEADER) + boxes.size() * sizeof(RECT));
    if (!AData) return size;
    if (ACount < size) return 0;
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = DWORD(boxes.size());
    header.nRgnSize = DWORD(boxes.size() * sizeof(RECT));
    header.rcBound = region->Region.Bounds();
    uint8_t* out = reinterpret_cast<uint8_t*>(AData);
    std::memcpy(out, &header, sizeof(header));
    out += sizeof(header);
    for (const pixman_box32_t& box : boxes) {
        const RECT r{box.x1, box.y1, box.x2, box.y2};
        std::memcpy(out, &r, sizeof(r));
        out += sizeof(r);
    }
    return ACount;
}

BOOL EqualRgn(HRGN ARegion1, HRGN ARegion2) {
    GdiLock lock(GdiMutex());
    RegionObject* a = Lookup<RegionObject>(ARegion1);
    RegionObject* b = Lookup<RegionObject>(ARegion2);
    return a && b && a->Region == b->Region ? TRUE : FALSE;
}

}  // namespace win
