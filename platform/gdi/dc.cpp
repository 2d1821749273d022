#include "platform/gdi/dc.h"

#include <algorithm>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/dcstate.h"
#include "platform/gdi/objects.h"

using namespace win;

namespace gdi {

namespace {

// Keeps coordinate sums far from overflow; nothing drawn lies that far out.
constexpr int64_t CoordLimit = int64_t{1} << 28;

LONG Clamp(int64_t AValue) {
    return LONG(std::clamp(AValue, -CoordLimit, CoordLimit));
}

RECT Normalized(const RECT& R) {
    return {std::min(R.left, R.right), std::min(R.top, R.bottom), std::max(R.left, R.right),
            std::max(R.top, R.bottom)};
}

}  // namespace

DeviceContext::DeviceContext(bool AMemory) : GdiObject(ClassKind), FMemory(AMemory) {
    State.Bitmap = Held<BitmapObject>(StockBitmap());
    State.Pen = Held<PenObject>(StockPen(BLACK_PEN));
    State.Brush = Held<BrushObject>(StockBrush(WHITE_BRUSH));
    State.Font = Held<FontObject>(StockFont(SYSTEM_FONT));
}

const Surface& DeviceContext::Target() const {
    return FMemory ? State.Bitmap->Pixels() : FExternal;
}

POINT DeviceContext::Offset() const {
    return {Clamp(int64_t(State.ViewportOrg.x) - State.WindowOrg.x + Origin.x),
            Clamp(int64_t(State.ViewportOrg.y) - State.WindowOrg.y + Origin.y)};
}

POINT DeviceContext::ToSurface(POINT ALogical) const {
    const POINT offset = Offset();
    return {Clamp(int64_t(ALogical.x) + offset.x), Clamp(int64_t(ALogical.y) + offset.y)};
}

RECT DeviceContext::ToSurface(const RECT& ALogical) const {
    const POINT a = ToSurface(POINT{ALogical.left, ALogical.top});
    const POINT b = ToSurface(POINT{ALogical.right, ALogical.bottom});
    return Normalized({a.x, a.y, b.x, b.y});
}

POINT DeviceContext::ToDevice(POINT ALogical) const {
    return {Clamp(int64_t(ALogical.x) - State.WindowOrg.x + State.ViewportOrg.x),
            Clamp(int64_t(ALogical.y) - State.WindowOrg.y + State.ViewportOrg.y)};
}

PixRegion DeviceContext::Visible() const {
    PixRegion visible(Target().Bounds());
    if (SystemClip) visible.Intersect(*SystemClip);
    if (State.Clip) {
        PixRegion clip(*State.Clip);
        clip.Offset(Origin.x, Origin.y);
        visible.Intersect(clip);
    }
    return visible;
}

RECT DeviceContext::DeviceArea() const {
    const RECT area = SystemClip ? SystemClip->Bounds() : Target().Bounds();
    return {area.left - Origin.x, area.top - Origin.y, area.right - Origin.x, area.bottom - Origin.y};
}

DeviceContext* LookupDC(HDC ADC) {
    return Lookup<DeviceContext>(ADC);
}

namespace {

// The region the clip calls combine with: the clip, or the whole device.
PixRegion& ClipOrDevice(DeviceContext& ADC) {
    if (!ADC.State.Clip) ADC.State.Clip = PixRegion(ADC.DeviceArea());
    return *ADC.State.Clip;
}

RECT LogicalToDevice(const DeviceContext& ADC, int ALeft, int ATop, int ARight, int ABottom) {
    const POINT a = ADC.ToDevice({ALeft, ATop});
    const POINT b = ADC.ToDevice({ARight, ABottom});
    return Normalized({a.x, a.y, b.x, b.y});
}

template <typename T>
HGDIOBJ Replace(Held<T>& ASlot, T* AObject) {
    HGDIOBJ old = ASlot.Handle();
    ASlot = Held<T>(AObject);
    return old;
}

HGDIOBJ SelectBitmap(DeviceContext& ADC, BitmapObject& ABitmap) {
    if (!ADC.IsMemory()) return nullptr;
    if (!ABitmap.Stock && ABitmap.SelectCount > 0 && ABitmap.SelectedInto != &ADC) return nullptr;
    HGDIOBJ old = Replace(ADC.State.Bitmap, &ABitmap);
    if (!ABitmap.Stock) ABitmap.SelectedInto = &ADC;
    return old;
}

BOOL SetOrigin(HDC ADC, POINT DcState::*AField, int X, int Y, bool ARelative, POINT* AOld) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    POINT& origin = dc->State.*AField;
    if (AOld) *AOld = origin;
    origin = ARelative ? POINT{Clamp(int64_t(origin.x) + X), Clamp(int64_t(origin.y) + Y)}
                       : POINT{Clamp(X), Clamp(Y)};
    return TRUE;
}

BOOL GetOrigin(HDC ADC, POINT DcState::*AField, POINT* AOrigin) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !AOrigin) return FALSE;
    *AOrigin = dc->State.*AField;
    return TRUE;
}

// Setters of one state field: the previous value, AFail for an invalid DC
// or a value outside [AMin, AMax].
template <typename T>
T SetField(HDC ADC, T DcState::*AField, T AValue, T AMin, T AMax, T AFail) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || AValue < AMin || AValue > AMax) return AFail;
    T old = dc->State.*AField;
    dc->State.*AField = AValue;
    return old;
}

template <typename T>
T GetField(HDC ADC, T DcState::*AField, T AFail) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    return dc ? dc->State.*AField : AFail;
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

HDC CreateCompatibleDC(HDC AReference) {
    GdiLock lock(GdiMutex());
    if (AReference && !LookupDC(AReference)) return nullptr;
    return Register<HDC>(std::make_unique<DeviceContext>(true));
}

HDC CreateDCW(const WCHAR* ADriver, const WCHAR*, const WCHAR*, const void*) {
    if (!ADriver) return nullptr;
    std::u16string driver(ADriver);
    for (char16_t& c : driver)
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    return driver == u"DISPLAY" ? CreateCompatibleDC(nullptr) : nullptr;
}

BOOL DeleteDC(HDC ADC) {
    GdiLock lock(GdiMutex());
    if (!LookupDC(ADC)) return FALSE;
    UnregisterObject(ADC);
    return TRUE;
}

HGDIOBJ SelectObject(HDC ADC, HGDIOBJ AObject) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    GdiObject* object = LookupObject(AObject);
    if (!dc || !object) return nullptr;
    switch (object->Kind) {
        case ObjectKind::Bitmap:
            return SelectBitmap(*dc, *static_cast<BitmapObject*>(object));
        case ObjectKind::Pen:
            return Replace(dc->State.Pen, static_cast<PenObject*>(object));
        case ObjectKind::Brush:
            return Replace(dc->State.Brush, static_cast<BrushObject*>(object));
        case ObjectKind::Font:
            return Replace(dc->State.Font, static_cast<FontObject*>(object));
        case ObjectKind::Region:
            return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(ADC, static_cast<HRGN>(AObject))));
        default:
            return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC ADC, UINT AType) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return nullptr;
    switch (AType) {
        case OBJ_PEN:
            return dc->State.Pen.Handle();
        case OBJ_BRUSH:
            return dc->State.Brush.Handle();
        case OBJ_FONT:
            return dc->State.Font.Handle();
        case OBJ_BITMAP:
            return dc->IsMemory() ? dc->State.Bitmap.Handle() : nullptr;
        default:
            return nullptr;
    }
}

int SaveDC(HDC ADC) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return 0;
    dc->Saved.push_back(dc->State);
    return int(dc->Saved.size());
}

BOOL RestoreDC(HDC ADC, int ASavedDC) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return FALSE;
    const int depth = int(dc->Saved.size());
    const int target = ASavedDC < 0 ? depth + ASavedDC + 1 : ASavedDC;
    if (ASavedDC == 0 || target < 1 || target > depth) return FALSE;
    dc->State = dc->Saved[size_t(target - 1)];
    dc->Saved.resize(size_t(target - 1));
    return TRUE;
}

BOOL SetWindowOrgEx(HDC ADC, int X, int Y, POINT* AOld) {
    return SetOrigin(ADC, &DcState::WindowOrg, X, Y, false, AOld);
}
BOOL GetWindowOrgEx(HDC ADC, POINT* AOrigin) {
    return GetOrigin(ADC, &DcState::WindowOrg, AOrigin);
}
BOOL OffsetWindowOrgEx(HDC ADC, int ADx, int ADy, POINT* AOld) {
    return SetOrigin(ADC, &DcState::WindowOrg, ADx, ADy, true, AOld);
}
BOOL SetViewportOrgEx(HDC ADC, int X, int Y, POINT* AOld) {
    return SetOrigin(ADC, &DcState::ViewportOrg, X, Y, false, AOld);
}
BOOL GetViewportOrgEx(HDC ADC, POINT* AOrigin) {
    return GetOrigin(ADC, &DcState::ViewportOrg, AOrigin);
}
BOOL OffsetViewportOrgEx(HDC ADC, int ADx, int ADy, POINT* AOld) {
    return SetOrigin(ADC, &DcState::ViewportOrg, ADx, ADy, true, AOld);
}

int IntersectClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return ERROR;
    ClipOrDevice(*dc).Intersect(LogicalToDevice(*dc, ALeft, ATop, ARight, ABottom));
    return dc->Visible().Kind();
}

int ExcludeClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return ERROR;
    ClipOrDevice(*dc).Subtract(PixRegion(LogicalToDevice(*dc, ALeft, ATop, ARight, ABottom)));
    return dc->Visible().Kind();
}

int SelectClipRgn(HDC ADC, HRGN ARegion) {
    return ExtSelectClipRgn(ADC, ARegion, RGN_COPY);
}

int ExtSelectClipRgn(HDC ADC, HRGN ARegion, int AMode) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!dc || (ARegion && !region) || AMode < RGN_AND || AMode > RGN_COPY) return ERROR;
    if (!region) {
        if (AMode != RGN_COPY) return ERROR;
        dc->State.Clip.reset();
        return dc->Visible().Kind();
    }
    const PixRegion& r = region->Region;
    switch (AMode) {
        case RGN_COPY:
            dc->State.Clip = r;
            break;
        case RGN_AND:
            ClipOrDevice(*dc).Intersect(r);
            break;
        case RGN_OR:
            ClipOrDevice(*dc).Unite(r);
            break;
        case RGN_XOR:
            ClipOrDevice(*dc).Xor(r);
            break;
        case RGN_DIFF:
            ClipOrDevice(*dc).Subtract(r);
            break;
    }
    return dc->Visible().Kind();
}

int GetClipBox(HDC ADC, RECT* ARect) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !ARect) return ERROR;
    const PixRegion visible = dc->Visible();
    if (visible.Empty()) {
        *ARect = {};
        return NULLREGION;
    }
    const RECT box = visible.Bounds();
    const POINT offset = dc->Offset();
    *ARect = {box.left - offset.x, box.top - offset.y, box.right - offset.x, box.bottom - offset.y};
    return visible.Kind();
}

int GetClipRgn(HDC ADC, HRGN ARegion) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    RegionObject* region = Lookup<RegionObject>(ARegion);
    if (!dc || !region) return -1;
    if (!dc->State.Clip) return 0;
    region->Region = *dc->State.Clip;
    return 1;
}

COLORREF SetTextColor(HDC ADC, COLORREF AColor) {
    return SetField<COLORREF>(ADC, &DcState::TextColor, AColor & ColorMask, 0, ColorMask, CLR_INVALID);
}
COLORREF GetTextColor(HDC ADC) {
    return GetField<COLORREF>(ADC, &DcState::TextColor, CLR_INVALID);
}
COLORREF SetBkColor(HDC ADC, COLORREF AColor) {
    return SetField<COLORREF>(ADC, &DcState::BkColor, AColor & ColorMask, 0, ColorMask, CLR_INVALID);
}
COLORREF GetBkColor(HDC ADC) {
    return GetField<COLORREF>(ADC, &DcState::BkColor, CLR_INVALID);
}
int SetBkMode(HDC ADC, int AMode) {
    return SetField(ADC, &DcState::BkMode, AMode, TRANSPARENT, OPAQUE, 0);
}
int GetBkMode(HDC ADC) {
    return GetField(ADC, &DcState::BkMode, 0);
}
int SetROP2(HDC ADC, int AMode) {
    return SetField(ADC, &DcState::Rop2, AMode, R2_BLACK, R2_WHITE, 0);
}
int GetROP2(HDC ADC) {
    return GetField(ADC, &DcState::Rop2, 0);
}
int SetStretchBltMode(HDC ADC, int AMode) {
    return SetField(ADC, &DcState::StretchMode, AMode, BLACKONWHITE, HALFTONE, 0);
}
int GetStretchBltMode(HDC ADC) {
    return GetField(ADC, &DcState::StretchMode, 0);
}
int SetPolyFillMode(HDC ADC, int AMode) {
    return SetField(ADC, &DcState::PolyFillMode, AMode, ALTERNATE, WINDING, 0);
}
int GetPolyFillMode(HDC ADC) {
    return GetField(ADC, &DcState::PolyFillMode, 0);
}
UINT SetTextAlign(HDC ADC, UINT AAlign) {
    return SetField<UINT>(ADC, &DcState::TextAlign, AAlign, 0, TA_BASELINE | TA_CENTER | TA_UPDATECP,
                          GDI_ERROR);
}
UINT GetTextAlign(HDC ADC) {
    return GetField<UINT>(ADC, &DcState::TextAlign, GDI_ERROR);
}

BOOL GetCurrentPositionEx(HDC ADC, POINT* APoint) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    if (!dc || !APoint) return FALSE;
    *APoint = dc->State.CurrentPos;
    return TRUE;
}

int GetDeviceCaps(HDC ADC, int AIndex) {
    GdiLock lock(GdiMutex());
    if (!LookupDC(ADC)) return 0;
    const TCapabilities& caps = Capabilities();
    switch (AIndex) {
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZRES:
            return caps.ScreenWidth;
        case VERTRES:
            return caps.ScreenHeight;
        case BITSPIXEL:
            return caps.ScreenBitsPerPixel;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return caps.ScreenBitsPerPixel > 8 ? -1 : 1 << caps.ScreenBitsPerPixel;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return caps.PixelsPerInch;
        default:
            return 0;
    }
}

}  // namespace win
