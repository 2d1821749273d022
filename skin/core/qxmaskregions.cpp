#include "skin/core/qxmaskregions.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/rects.h"

TqxFBitmap::TqxFBitmap(win::HBITMAP HBmp) {
    win::BITMAP bitmap{};
    if (win::GetObjectType(HBmp) != win::OBJ_BITMAP || !win::GetObject(HBmp, sizeof bitmap, &bitmap))
        throw Exception(u"Invalid bitmap handle");
    Width = bitmap.bmWidth;
    Height = std::abs(bitmap.bmHeight);
    bmHeader.biSize = sizeof(win::BITMAPINFOHEADER);
    bmHeader.biWidth = Width;
    bmHeader.biHeight = -Height;
    bmHeader.biPlanes = 1;
    bmHeader.biBitCount = 24;
    bmHeader.biCompression = win::BI_RGB;
    bmInfo.bmiHeader = bmHeader;
    Handle = win::CreateDIBSection(nullptr, &bmInfo, win::DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Handle || !Bits) {
        if (Handle) win::DeleteObject(Handle);
        throw Exception(u"Can't allocate the DIB handle");
    }
    win::HDC display = win::CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
    win::BITMAPINFO info = bmInfo;
    win::GetDIBits(display, HBmp, 0, static_cast<win::UINT>(Height), Bits, &info, win::DIB_RGB_COLORS);
    win::DeleteDC(display);

    Gap = Width % 4;
    RowInc = 3 * Width + Gap;
    Size = Height * RowInc;
    FLines.resize(static_cast<size_t>(Height));
    for (Integer y = 0; y < Height; ++y)
        FLines[static_cast<size_t>(y)] =
            reinterpret_cast<PBLine>(static_cast<Byte*>(Bits) + Int64(y) * RowInc);
    Pixels = FLines.data();
    hDC = win::CreateCompatibleDC(nullptr);
    win::SelectObject(hDC, Handle);
}

TqxFBitmap::~TqxFBitmap() {
    win::DeleteDC(hDC);
    win::DeleteObject(Handle);
}

namespace {

bool IsBlack(const TFBColor& APixel) {
    return APixel.b == 0 && APixel.g == 0 && APixel.r == 0;
}

// A region from region data, nullptr for none.
win::HRGN RegionOf(const std::vector<Byte>& AData) {
    if (AData.empty()) return nullptr;
    return win::ExtCreateRegion(nullptr, static_cast<win::DWORD>(AData.size()),
                                reinterpret_cast<const win::RGNDATA*>(AData.data()));
}

}  // namespace

// The runs are collected in a list that grows, so no mask is too busy.
Integer CreateMaskRegionData(TBitmap* AMask, Integer X, Integer Y, std::vector<Byte>& AData) {
    AData.clear();
    if (!AMask || AMask->Empty()) return 0;
    const TqxFBitmap mask(AMask->Handle());
    std::vector<win::RECT> runs;
    for (Integer y = 0; y < mask.Height; ++y) {
        const PBLine row = mask.Pixels[y];
        Integer x = 0;
        while (x < mask.Width) {
            if (!IsBlack(row[x])) {
                ++x;
                continue;
            }
            const Integer first = x;
            while (x < mask.Width && IsBlack(row[x]))
                ++x;
            runs.push_back({X + first, Y + y, X + x, Y + y + 1});
        }
    }
    const size_t size = sizeof(win::RGNDATAHEADER) + runs.size() * sizeof(win::RECT);
    if (size > size_t(std::numeric_limits<Integer>::max())) throw Exception(u"Mask region too large");
    AData.assign(size, 0);
    win::RGNDATAHEADER header{};
    header.dwSize = sizeof(win::RGNDATAHEADER);
    header.iType = win::RDH_RECTANGLES;
    header.nCount = static_cast<win::DWORD>(runs.size());
    header.nRgnSize = 0;
    header.rcBound = {X, Y, X + mask.Width, Y + mask.Height};
    std::memcpy(AData.data(), &header, sizeof header);
    if (!runs.empty())
        std::memcpy(AData.data() + sizeof header, runs.data(), runs.size() * sizeof(win::RECT));
    return static_cast<Integer>(size);
}

void CreateMaskRegion(win::HRGN& ARegion, TBitmap* AMask) {
    std::vector<Byte> data;
    CreateMaskRegionData(AMask, 0, 0, data);
    ARegion = RegionOf(data);
}

void CreateResizedMaskRegion(win::HRGN& ARegion, const TPoint& LTPoint, const TPoint& RTPoint,
                             const TPoint& LBPoint, const TPoint& RBPoint, const TRect& ClRect,
                             const TPoint& NewLTPoint, const TPoint& NewRTPoint, const TPoint& NewLBPoint,
                             const TPoint& NewRBPoint, const TRect& NewClRect, TBitmap* AMask, Integer AWidth,
                             Integer AHeight) {
    ARegion = nullptr;
    if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y || qxrects::IsEmpty(NewClRect)) return;
    TBitmap top, left, right, bottom;
    for (TBitmap* strip : {&top, &left, &right, &bottom})
        strip->SetPixelFormat(pf24bit);
    BuildBorderStripsTiled(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                           NewRBPoint, NewClRect, AMask, &top, &left, &right, &bottom, AWidth, AHeight);
    win::HRGN result = win::CreateRectRgn(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    const auto unite = [&](TBitmap& AStrip, Integer X, Integer Y) {
        std::vector<Byte> data;
        CreateMaskRegionData(&AStrip, X, Y, data);
        win::HRGN strip = RegionOf(data);
        if (!strip) return;
        win::CombineRgn(result, result, strip, win::RGN_OR);
        win::DeleteObject(strip);
    };
    try {
        unite(top, 0, 0);
        unite(bottom, 0, NewClRect.Bottom);
        unite(left, 0, NewClRect.Top);
        unite(right, NewClRect.Right, NewClRect.Top);
    } catch (...) {
        win::DeleteObject(result);
        throw;
    }
    ARegion = result;
}
