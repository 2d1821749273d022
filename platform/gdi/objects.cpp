#include "platform/gdi/objects.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/dcstate.h"

using namespace win;

namespace gdi {

namespace {

constexpr int StockCount = DEFAULT_GUI_FONT + 1;

template <typename T>
T* MakeStock(std::unique_ptr<T> AObject) {
    AObject->Stock = true;
    T* object = AObject.get();
    RegisterObject(std::move(AObject));
    return object;
}

LOGFONTW MakeLogFont(const char16_t* AFace, LONG AHeight, LONG AWeight) {
    LOGFONTW font{};
    font.lfHeight = AHeight;
    font.lfWeight = AWeight;
    font.lfCharSet = DEFAULT_CHARSET;
    std::char_traits<char16_t>::copy(font.lfFaceName, AFace, std::char_traits<char16_t>::length(AFace));
    return font;
}

GdiObject* MakeStockObject(int AIndex) {
    constexpr COLORREF brushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                        RGB(64, 64, 64), RGB(0, 0, 0)};
    if (AIndex >= WHITE_BRUSH && AIndex <= BLACK_BRUSH)
        return MakeStock(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, brushColors[AIndex], 0}));
    switch (AIndex) {
        case NULL_BRUSH:
            return MakeStock(std::make_unique<BrushObject>(LOGBRUSH{BS_NULL, 0, 0}));
        case WHITE_PEN:
            return MakeStock(std::make_unique<PenObject>(LOGPEN{PS_SOLID, {0, 0}, RGB(255, 255, 255)}));
        case BLACK_PEN:
            return MakeStock(std::make_unique<PenObject>(LOGPEN{PS_SOLID, {0, 0}, 0}));
        case NULL_PEN:
            return MakeStock(std::make_unique<PenObject>(LOGPEN{PS_NULL, {0, 0}, 0}));
        // The fonts Windows gives a fresh device context and dialogs.
        case SYSTEM_FONT:
            return MakeStock(std::make_unique<FontObject>(MakeLogFont(u"System", 16, FW_BOLD)));
        case DEFAULT_GUI_FONT:
            return MakeStock(std::make_unique<FontObject>(MakeLogFont(u"MS Shell Dlg", -11, FW_NORMAL)));
        default:
            return nullptr;
    }
}

GdiObject* Stock(int AIndex) {
    static std::array<GdiObject*, StockCount> objects{};
    if (AIndex < 0 || AIndex >= StockCount) return nullptr;
    if (!objects[size_t(AIndex)]) objects[size_t(AIndex)] = MakeStockObject(AIndex);
    return objects[size_t(AIndex)];
}

int CopyOut(const void* AData, int ADataSize, int ASize, LPVOID ABuffer) {
    if (!ABuffer) return ADataSize;
    const int n = std::min(ASize, ADataSize);
    if (n <= 0) return 0;
    std::memcpy(ABuffer, AData, size_t(n));
    return n;
}

int GetBitmapObject(const BitmapObject& ABitmap, int ASize, LPVOID ABuffer) {
    DIBSECTION ds{};
    const Surface& s = ABitmap.Pixels();
    ds.dsBm.bmType = 0;
    ds.dsBm.bmWidth = s.Width;
    ds.dsBm.bmHeight = s.Height;
    ds.dsBm.bmPlanes = 1;
    ds.dsBm.bmBitsPixel = WORD(s.BitsPerPixel);
    if (ABitmap.IsDibSection()) {
        ds.dsBm.bmWidthBytes = s.Stride;
        ds.dsBm.bmBits = s.Bits;
        ds.dsBmih = ABitmap.DibHeader();
        if (ds.dsBmih.biCompression == BI_BITFIELDS) {
            ds.dsBitfields[0] = 0x00FF0000;
            ds.dsBitfields[1] = 0x0000FF00;
            ds.dsBitfields[2] = 0x000000FF;
        }
        if (!ABuffer) return int(sizeof(DIBSECTION));
        if (ASize >= int(sizeof(DIBSECTION))) return CopyOut(&ds, sizeof(DIBSECTION), ASize, ABuffer);
    } else {
        // Device bitmaps count whole 16-bit words per row.
        ds.dsBm.bmWidthBytes = (s.Width * s.BitsPerPixel + 15) / 16 * 2;
        if (!ABuffer) return int(sizeof(BITMAP));
    }
    return ASize >= int(sizeof(BITMAP)) ? CopyOut(&ds.dsBm, sizeof(BITMAP), ASize, ABuffer) : 0;
}

}  // namespace

BitmapObject* StockBitmap() {
    static BitmapObject* bitmap = [] {
        std::unique_ptr<BitmapObject> b = BitmapObject::Create(1, 1, 1, true);
        b->MakeMonochrome();
        return MakeStock(std::move(b));
    }();
    return bitmap;
}

PenObject* StockPen(int AIndex) {
    return static_cast<PenObject*>(Stock(AIndex));
}
BrushObject* StockBrush(int AIndex) {
    return static_cast<BrushObject*>(Stock(AIndex));
}
FontObject* StockFont(int AIndex) {
    return static_cast<FontObject*>(Stock(AIndex));
}

}  // namespace gdi

namespace win {

using namespace gdi;

HGDIOBJ GetStockObject(int AIndex) {
    GdiLock lock(GdiMutex());
    GdiObject* object = Stock(AIndex);
    return object ? object->Handle : nullptr;
}

BOOL DeleteObject(HGDIOBJ AObject) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(AObject);
    if (!object || object->Kind == ObjectKind::DC || object->Kind == ObjectKind::Icon) return FALSE;
    if (object->Stock) return TRUE;
    if (object->SelectCount > 0) return FALSE;
    UnregisterObject(AObject);
    return TRUE;
}

int GetObjectW(HGDIOBJ AObject, int ASize, LPVOID ABuffer) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(AObject);
    if (!object) return 0;
    switch (object->Kind) {
        case ObjectKind::Bitmap:
            return GetBitmapObject(*static_cast<BitmapObject*>(object), ASize, ABuffer);
        case ObjectKind::Pen:
            return CopyOut(&static_cast<PenObject*>(object)->Pen, sizeof(LOGPEN), ASize, ABuffer);
        case ObjectKind::Brush:
            return CopyOut(&static_cast<BrushObject*>(object)->Brush, sizeof(LOGBRUSH), ASize, ABuffer);
        case ObjectKind::Font:
            return CopyOut(&static_cast<FontObject*>(object)->Font, sizeof(LOGFONTW), ASize, ABuffer);
        default:
            return 0;
    }
}

DWORD GetObjectType(HGDIOBJ AObject) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(AObject);
    if (!object || object->Kind == ObjectKind::Icon) return 0;
    if (object->Kind == ObjectKind::DC && static_cast<DeviceContext*>(object)->IsMemory()) return OBJ_MEMDC;
    return DWORD(object->Kind);
}

HPEN CreatePen(int AStyle, int AWidth, COLORREF AColor) {
    GdiLock lock(GdiMutex());
    if (AStyle < int(PS_SOLID) || AStyle > int(PS_INSIDEFRAME)) return nullptr;
    return Register<HPEN>(
        std::make_unique<PenObject>(LOGPEN{UINT(AStyle), {std::max(AWidth, 0), 0}, AColor}));
}

HBRUSH CreateSolidBrush(COLORREF AColor) {
    GdiLock lock(GdiMutex());
    return Register<HBRUSH>(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, AColor & ColorMask, 0}));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* ABrush) {
    GdiLock lock(GdiMutex());
    if (!ABrush || (ABrush->lbStyle != BS_SOLID && ABrush->lbStyle != BS_NULL)) return nullptr;
    return Register<HBRUSH>(std::make_unique<BrushObject>(*ABrush));
}

HFONT CreateFontIndirectW(const LOGFONTW* AFont) {
    GdiLock lock(GdiMutex());
    if (!AFont) return nullptr;
    return Register<HFONT>(std::make_unique<FontObject>(*AFont));
}

}  // namespace win
