#include "platform/gdi/bitmaps.h"

#include <cstdint>
#include <cstring>

#include "platform/gdi/dcstate.h"

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

}  // namespace win
