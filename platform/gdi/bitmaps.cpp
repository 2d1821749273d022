#include "platform/gdi/bitmaps.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/blit.h"
#include "platform/gdi/dcstate.h"
#include "platform/gdi/transfer.h"

using namespace win;

namespace gdi {

namespace {

bool ValidDibFormat(const BITMAPINFOHEADER& H, UINT AUsage, const BITMAPINFO* AInfo) {
    if (H.biSize < sizeof(BITMAPINFOHEADER) || H.biWidth <= 0 || H.biHeight == 0 || H.biPlanes != 1 ||
        AUsage != DIB_RGB_COLORS)
        return false;
    switch (H.biBitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
            return H.biCompression == BI_RGB;
        case 32: {
            if (H.biCompression == BI_RGB) return true;
            if (H.biCompression != BI_BITFIELDS) return false;
            DWORD masks[3];
            std::memcpy(masks, reinterpret_cast<const uint8_t*>(AInfo) + H.biSize, sizeof(masks));
            return masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF;
        }
        default:
            return false;
    }
}

std::vector<RGBQUAD> ColorTableOf(const BITMAPINFO* AInfo) {
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    if (h.biBitCount > 8) return {};
    const DWORD full = DWORD(1) << h.biBitCount;
    const DWORD count = h.biClrUsed != 0 && h.biClrUsed < full ? h.biClrUsed : full;
    const auto* colors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(AInfo) + h.biSize);
    return std::vector<RGBQUAD>(colors, colors + count);
}

// The pixels of caller's DIB memory as a surface over AHeight stored rows.
Surface DibSurface(const BITMAPINFOHEADER& H, const void* ABits, int AHeight,
                   const std::vector<RGBQUAD>& APalette) {
    Surface s;
    s.Bits = static_cast<uint8_t*>(const_cast<void*>(ABits));
    s.Width = H.biWidth;
    s.Height = AHeight;
    s.Stride = DibStride(H.biWidth, H.biBitCount);
    s.BitsPerPixel = H.biBitCount;
    s.TopDown = H.biHeight < 0;
    s.HasAlpha = H.biBitCount == 32;
    s.Palette = APalette.data();
    s.PaletteSize = int(APalette.size());
    return s;
}

int PictureHeight(const BITMAPINFOHEADER& H) {
    return H.biHeight == INT32_MIN ? 0 : std::abs(H.biHeight);
}

// Draws source rows [ASource.top, ASource.bottom) (counted from the top of
// ASurface) into the DC's logical rectangle ADest, as StretchBlt does.
bool DrawDib(HDC ADC, const RECT& ADest, const Surface& ASurface, const RECT& ASource, bool AMirrorX,
             bool AMirrorY, DWORD ARop) {
    DeviceContext* dc = LookupDC(ADC);
    if (!dc) return false;
    TransferOp op;
    op.Rop = RopCode(ARop);
    if (RopUsesPattern(op.Rop)) {
        if (!dc->State.Brush->Paints()) return true;
        op.Pattern = dc->State.Brush->Brush.lbColor;
    }
    TransferDest to;
    to.Pixels = dc->Target();
    to.Rect = dc->ToSurface(ADest);
    to.Visible = dc->Visible();
    to.TextColor = dc->State.TextColor;
    to.BkColor = dc->State.BkColor;
    TransferSource from;
    from.Pixels = ASurface;
    from.Rect = ASource;
    from.MirrorX = AMirrorX;
    from.MirrorY = AMirrorY;
    Transfer(to, RopUsesSource(op.Rop) ? &from : nullptr, op);
    return true;
}

HBITMAP DeviceBitmap(int AWidth, int AHeight, int ABitCount) {
    if (AWidth == 0 || AHeight == 0) return static_cast<HBITMAP>(StockBitmap()->Handle);
    std::unique_ptr<BitmapObject> bitmap = BitmapObject::Create(AWidth, AHeight, ABitCount, true);
    if (!bitmap) return nullptr;
    if (ABitCount == 1) bitmap->MakeMonochrome();
    return Register<HBITMAP>(std::move(bitmap));
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* AInfo, UINT AUsage, void** ABits, HANDLE ASection, DWORD) {
    GdiLock lock(GdiMutex());
    if (ABits) *ABits = nullptr;
    if (!AInfo || ASection || !ValidDibFormat(AInfo->bmiHeader, AUsage, AInfo)) return nullptr;
    BITMAPINFOHEADER header = AInfo->bmiHeader;
    const bool topDown = header.biHeight < 0;
    // -INT_MIN does not fit: such a height is refused like any other too large.
    const int height = header.biHeight == INT32_MIN ? 0 : topDown ? -header.biHeight : header.biHeight;
    std::unique_ptr<BitmapObject> bitmap =
        BitmapObject::Create(header.biWidth, height, header.biBitCount, topDown);
    if (!bitmap) return nullptr;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biSizeImage = DWORD(bitmap->Pixels().Stride) * DWORD(height);
    bitmap->MakeDibSection(header, ColorTableOf(AInfo));
    void* bits = bitmap->Pixels().Bits;
    HBITMAP handle = Register<HBITMAP>(std::move(bitmap));
    if (handle && ABits) *ABits = bits;
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC ADC, int AWidth, int AHeight) {
    GdiLock lock(GdiMutex());
    if (!LookupDC(ADC) || AWidth < 0 || AHeight < 0) return nullptr;
    return DeviceBitmap(AWidth, AHeight, 32);
}

HBITMAP CreateBitmap(int AWidth, int AHeight, UINT APlanes, UINT ABitCount, const void* ABits) {
    GdiLock lock(GdiMutex());
    if (AWidth < 0 || AHeight < 0 || APlanes != 1 || (ABitCount != 1 && ABitCount != 32)) return nullptr;
    HBITMAP handle = DeviceBitmap(AWidth, AHeight, int(ABitCount));
    BitmapObject* bitmap = Lookup<BitmapObject>(handle);
    if (bitmap && ABits && !bitmap->Stock) {
        const Surface& s = bitmap->Pixels();
        const size_t rowBytes = size_t((AWidth * int(ABitCount) + 15) / 16 * 2);
        for (int y = 0; y < AHeight; ++y)
            std::memcpy(s.Row(y), static_cast<const uint8_t*>(ABits) + rowBytes * size_t(y),
                        size_t((AWidth * int(ABitCount) + 7) / 8));
    }
    return handle;
}

int GetDIBits(HDC ADC, HBITMAP ABitmap, UINT AStartScan, UINT ALines, void* ABits, BITMAPINFO* AInfo,
              UINT AUsage) {
    GdiLock lock(GdiMutex());
    BitmapObject* bitmap = Lookup<BitmapObject>(ABitmap);
    if (!LookupDC(ADC) || !bitmap || !AInfo || AUsage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& h = AInfo->bmiHeader;
    const Surface& s = bitmap->Pixels();
    if (!ABits && h.biBitCount == 0) {
        h.biWidth = s.Width;
        h.biHeight = s.Height;
        h.biPlanes = 1;
        h.biBitCount = WORD(s.BitsPerPixel);
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(DibStride(s.Width, s.BitsPerPixel)) * DWORD(s.Height);
        return 1;
    }
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth != s.Width || PictureHeight(h) != s.Height ||
        h.biPlanes != 1 || h.biCompression != BI_RGB ||
        (h.biBitCount != 1 && h.biBitCount != 24 && h.biBitCount != 32))
        return 0;
    h.biSizeImage = DWORD(DibStride(s.Width, h.biBitCount)) * DWORD(s.Height);
    std::vector<RGBQUAD> blackWhite;
    if (h.biBitCount == 1) {
        blackWhite = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        AInfo->bmiColors[0] = blackWhite[0];
        reinterpret_cast<RGBQUAD*>(AInfo->bmiColors)[1] = blackWhite[1];
    }
    if (!ABits) return 1;
    const int first = int(std::min<UINT>(AStartScan, UINT(s.Height)));
    const int last = int(std::min<int64_t>(int64_t(AStartScan) + ALines, s.Height));
    if (first >= last) return 0;
    // The rows asked for, stored from the first as the caller's format stores them.
    Surface out = DibSurface(h, ABits, last - first, blackWhite);
    out.TopDown = true;
    const bool topDown = h.biHeight < 0;
    std::vector<Pixel> row(size_t(s.Width));
    for (int k = first; k < last; ++k) {
        FetchRow(s, 0, topDown ? k : s.Height - 1 - k, s.Width, row.data());
        StoreRow(out, 0, k - first, s.Width, row.data());
    }
    return last - first;
}

int SetDIBitsToDevice(HDC ADC, int X, int Y, DWORD AWidth, DWORD AHeight, int ASourceX, int ASourceY,
                      UINT AStartScan, UINT ALines, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage) {
    GdiLock lock(GdiMutex());
    if (!ABits || !AInfo || !ValidDibFormat(AInfo->bmiHeader, AUsage, AInfo)) return 0;
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    const int height = PictureHeight(h);
    if (AWidth > (1u << 28) || AHeight > (1u << 28) || AStartScan >= UINT(height) || ALines == 0) return 0;
    const int lines = int(std::min<int64_t>(ALines, height - int64_t(AStartScan)));
    // Picture row t (from the top) lies at row t - shift of the rows given.
    const int shift = h.biHeight < 0 ? int(AStartScan) : height - lines - int(AStartScan);
    const std::vector<RGBQUAD> palette = ColorTableOf(AInfo);
    const Surface rows = DibSurface(h, ABits, lines, palette);
    const int64_t top = int64_t(height) - ASourceY - AHeight - shift;
    const RECT source{ASourceX, int(top), int(int64_t(ASourceX) + AWidth), int(top + AHeight)};
    const RECT dest{X, Y, int(int64_t(X) + AWidth), int(int64_t(Y) + AHeight)};
    if (!DrawDib(ADC, dest, rows, source, false, false, SRCCOPY)) return 0;
    return lines;
}

int StretchDIBits(HDC ADC, int X, int Y, int AWidth, int AHeight, int ASourceX, int ASourceY,
                  int ASourceWidth, int ASourceHeight, const void* ABits, const BITMAPINFO* AInfo,
                  UINT AUsage, DWORD ARop) {
    GdiLock lock(GdiMutex());
    if (!AInfo || !ValidDibFormat(AInfo->bmiHeader, AUsage, AInfo) || ASourceWidth == 0 || ASourceHeight == 0)
        return 0;
    if (!ABits && RopUsesSource(RopCode(ARop))) return 0;
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    const int height = PictureHeight(h);
    const std::vector<RGBQUAD> palette = ColorTableOf(AInfo);
    const Surface picture = DibSurface(h, ABits, height, palette);
    // Rows counted from the bottom, as a bottom-up picture stores them.
    const int64_t low = std::min<int64_t>(ASourceY, int64_t(ASourceY) + ASourceHeight);
    const int64_t high = std::max<int64_t>(ASourceY, int64_t(ASourceY) + ASourceHeight);
    const int64_t left = std::min<int64_t>(ASourceX, int64_t(ASourceX) + ASourceWidth);
    const RECT source{int(left), int(height - high), int(left + std::abs(int64_t(ASourceWidth))),
                      int(height - low)};
    const RECT dest{X, Y, int(int64_t(X) + AWidth), int(int64_t(Y) + AHeight)};
    if (AWidth == 0 || AHeight == 0) return int(high - low);
    if (!DrawDib(ADC, dest, picture, source, (AWidth < 0) != (ASourceWidth < 0),
                 (AHeight < 0) != (ASourceHeight < 0), ARop))
        return 0;
    return int(high - low);
}

}  // namespace win
