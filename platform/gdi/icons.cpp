#include "platform/gdi/icons.h"

#include <cstring>

#include "platform/gdi/blit.h"
#include "platform/gdi/dcstate.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/transfer.h"

using namespace win;

namespace gdi {

namespace {

// A bitmap of the same format and the given size, its pixels sampled from
// ASource (a plain copy at the same size).
std::unique_ptr<BitmapObject> Resampled(const BitmapObject& ASource, int AWidth, int AHeight) {
    const Surface& s = ASource.Pixels();
    std::unique_ptr<BitmapObject> copy = BitmapObject::Create(AWidth, AHeight, s.BitsPerPixel, s.TopDown);
    if (!copy) return nullptr;
    if (ASource.IsDibSection()) {
        BITMAPINFOHEADER header = ASource.DibHeader();
        header.biWidth = AWidth;
        header.biHeight = s.TopDown ? -AHeight : AHeight;
        header.biSizeImage = DWORD(copy->Pixels().Stride) * DWORD(AHeight);
        copy->MakeDibSection(header, ASource.ColorTable());
    } else if (s.Monochrome) {
        copy->MakeMonochrome();
    }
    TransferDest to;
    to.Pixels = copy->Pixels();
    to.Rect = to.Pixels.Bounds();
    to.Visible = PixRegion(to.Rect);
    TransferSource from;
    from.Pixels = s;
    from.Rect = s.Bounds();
    Transfer(to, &from, TransferOp{});
    return copy;
}

bool HasAlphaPixels(const Surface& S) {
    if (S.BitsPerPixel != 32 || !S.HasAlpha) return false;
    for (int y = 0; y < S.Height; ++y)
        for (int x = 0; x < S.Width; ++x)
            if (S.Row32(y)[x] & AlphaMask) return true;
    return false;
}

// The icon's colours premultiplied by their alpha, as AlphaBlend takes them.
std::vector<Pixel> Premultiplied(const Surface& S) {
    std::vector<Pixel> pixels(size_t(S.Width) * size_t(S.Height));
    for (int y = 0; y < S.Height; ++y)
        for (int x = 0; x < S.Width; ++x) {
            const Pixel p = S.Row32(y)[x];
            const unsigned a = p >> 24;
            Pixel r = p & AlphaMask;
            for (int shift = 0; shift < 24; shift += 8) {
                const unsigned v = ((p >> shift) & 0xFF) * a + 128;
                r |= Pixel((v + (v >> 8)) >> 8) << shift;
            }
            pixels[size_t(y) * size_t(S.Width) + size_t(x)] = r;
        }
    return pixels;
}

// Draws rows [ATop, ATop + AHeight) of a bitmap scaled into ATo. Monochrome
// bits become black (0) and white (1), whatever the DC's colours.
void DrawPart(const TransferDest& ATo, const Surface& ASurface, int ATop, int AHeight,
              const TransferOp& AOp) {
    TransferDest to = ATo;
    to.TextColor = RGB(0, 0, 0);
    to.BkColor = RGB(255, 255, 255);
    TransferSource from;
    from.Pixels = ASurface;
    from.Rect = {0, ATop, ASurface.Width, ATop + AHeight};
    Transfer(to, &from, AOp);
}

constexpr int ApplicationIconSize = 32;

// The generic program icon: a small window with a blue caption on a clear
// background, opaque where it is drawn.
std::unique_ptr<BitmapObject> ApplicationIconPixels() {
    std::unique_ptr<BitmapObject> color =
        BitmapObject::Create(ApplicationIconSize, ApplicationIconSize, 32, true);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = ApplicationIconSize;
    header.biHeight = -ApplicationIconSize;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(color->Pixels().Stride) * ApplicationIconSize;
    color->MakeDibSection(header, {});
    const Surface& s = color->Pixels();
    for (int y = 3; y < 29; ++y)
        for (int x = 2; x < 30; ++x) {
            const bool edge = x == 2 || x == 29 || y == 3 || y == 28;
            const Pixel face = edge ? 0xFF1F4E8C : y < 10 ? 0xFF3C78D8 : 0xFFFFFFFF;
            s.Row32(y)[x] = face;
        }
    return color;
}

TransferOp Rop(DWORD ARop) {
    TransferOp op;
    op.Rop = RopCode(ARop);
    return op;
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

HICON CreateIconIndirect(const ICONINFO* AInfo) {
    GdiLock lock(GdiMutex());
    if (!AInfo) return nullptr;
    BitmapObject* mask = Lookup<BitmapObject>(AInfo->hbmMask);
    BitmapObject* color = Lookup<BitmapObject>(AInfo->hbmColor);
    if (!mask || (AInfo->hbmColor && !color)) return nullptr;
    if (color ? color->Width() != mask->Width() || color->Height() != mask->Height()
              : mask->Height() % 2 != 0)
        return nullptr;
    auto icon = std::make_unique<IconObject>();
    icon->IsIcon = AInfo->fIcon != 0;
    icon->HotspotX = AInfo->xHotspot;
    icon->HotspotY = AInfo->yHotspot;
    icon->Mask = Resampled(*mask, mask->Width(), mask->Height());
    if (color) icon->Color = Resampled(*color, color->Width(), color->Height());
    if (!icon->Mask || (color && !icon->Color)) return nullptr;
    return Register<HICON>(std::move(icon));
}

BOOL DestroyIcon(HICON AIcon) {
    GdiLock lock(GdiMutex());
    IconObject* icon = Lookup<IconObject>(AIcon);
    if (!icon) return FALSE;
    if (!icon->Stock) UnregisterObject(AIcon);
    return TRUE;
}

HICON LoadIconW(HINSTANCE AInstance, const WCHAR* AName) {
    if (AInstance || AName != IDI_APPLICATION) return nullptr;
    GdiLock lock(GdiMutex());
    static HICON application = [] {
        auto icon = std::make_unique<IconObject>();
        icon->Stock = true;
        icon->Color = ApplicationIconPixels();
        icon->Mask = BitmapObject::Create(ApplicationIconSize, ApplicationIconSize, 1, true);
        icon->Mask->MakeMonochrome();
        // The mask leaves the transparent margin (white = 1) to the background.
        const Surface& color = icon->Color->Pixels();
        const Surface& mask = icon->Mask->Pixels();
        for (int y = 0; y < ApplicationIconSize; ++y)
            for (int x = 0; x < ApplicationIconSize; ++x)
                if ((color.Row32(y)[x] & AlphaMask) == 0) WritePixel(mask, x, y, ColorMask);
        return Register<HICON>(std::move(icon));
    }();
    return application;
}

BOOL GetIconInfo(HICON AIcon, ICONINFO* AInfo) {
    GdiLock lock(GdiMutex());
    IconObject* icon = Lookup<IconObject>(AIcon);
    if (!icon || !AInfo) return FALSE;
    AInfo->fIcon = icon->IsIcon ? TRUE : FALSE;
    AInfo->xHotspot = icon->HotspotX;
    AInfo->yHotspot = icon->HotspotY;
    const BitmapObject& mask = *icon->Mask;
    AInfo->hbmMask = Register<HBITMAP>(Resampled(mask, mask.Width(), mask.Height()));
    AInfo->hbmColor = nullptr;
    if (icon->Color)
        AInfo->hbmColor =
            Register<HBITMAP>(Resampled(*icon->Color, icon->Color->Width(), icon->Color->Height()));
    return TRUE;
}

BOOL DrawIconEx(HDC ADC, int X, int Y, HICON AIcon, int AWidth, int AHeight, UINT, HBRUSH ABackground,
                UINT AFlags) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(ADC);
    IconObject* icon = Lookup<IconObject>(AIcon);
    if (!dc || !icon || AWidth < 0 || AHeight < 0 || (AFlags & DI_NORMAL) == 0) return FALSE;
    const Surface& mask = icon->Mask->Pixels();
    const int height = icon->Color ? mask.Height : mask.Height / 2;
    if (AWidth == 0) AWidth = mask.Width;
    if (AHeight == 0) AHeight = height;
    const RECT area{X, Y, X + AWidth, Y + AHeight};
    if (ABackground && !FillRect(ADC, &area, ABackground)) return FALSE;
    TransferDest to;
    to.Pixels = dc->Target();
    to.Rect = dc->ToSurface(area);
    to.Visible = dc->Visible();

    if (!icon->Color) {
        if (AFlags & DI_MASK) DrawPart(to, mask, 0, height, Rop(SRCAND));
        if (AFlags & DI_IMAGE) DrawPart(to, mask, height, height, Rop(SRCINVERT));
        return TRUE;
    }
    const Surface& color = icon->Color->Pixels();
    if ((AFlags & DI_IMAGE) && HasAlphaPixels(color)) {
        std::vector<Pixel> pixels = Premultiplied(color);
        Surface premultiplied = color;
        premultiplied.Bits = reinterpret_cast<uint8_t*>(pixels.data());
        premultiplied.Stride = color.Width * 4;
        premultiplied.TopDown = true;
        TransferOp op;
        op.Kind = TransferKind::Alpha;
        op.SourceAlpha = true;
        DrawPart(to, premultiplied, 0, height, op);
        return TRUE;
    }
    if (AFlags & DI_MASK) DrawPart(to, mask, 0, height, Rop(SRCAND));
    if (AFlags & DI_IMAGE) DrawPart(to, color, 0, height, Rop((AFlags & DI_MASK) ? SRCINVERT : SRCCOPY));
    return TRUE;
}

HANDLE CopyImage(HANDLE AImage, UINT AType, int AWidth, int AHeight, UINT) {
    GdiLock lock(GdiMutex());
    IconObject* icon = Lookup<IconObject>(AImage);
    if (AType != IMAGE_ICON || !icon || AWidth < 0 || AHeight < 0) return nullptr;
    const int width = icon->Mask->Width();
    const int height = icon->Color ? icon->Mask->Height() : icon->Mask->Height() / 2;
    if (AWidth == 0) AWidth = width;
    if (AHeight == 0) AHeight = height;
    auto copy = std::make_unique<IconObject>();
    copy->IsIcon = icon->IsIcon;
    copy->HotspotX = DWORD(int64_t(icon->HotspotX) * AWidth / width);
    copy->HotspotY = DWORD(int64_t(icon->HotspotY) * AHeight / height);
    copy->Mask = Resampled(*icon->Mask, AWidth, icon->Color ? AHeight : 2 * AHeight);
    if (icon->Color) copy->Color = Resampled(*icon->Color, AWidth, AHeight);
    if (!copy->Mask || (icon->Color && !copy->Color)) return nullptr;
    return Register<HICON>(std::move(copy));
}

}  // namespace win

namespace gdi {

bool IconPixels(win::HICON AIcon, std::vector<uint32_t>& APixels, int& AWidth, int& AHeight) {
    GdiLock lock(GdiMutex());
    IconObject* icon = Lookup<IconObject>(AIcon);
    if (!icon) return false;
    const Surface& mask = icon->Mask->Pixels();
    // Without a colour bitmap the XOR rows below the AND rows are the colours.
    const Surface& color = icon->Color ? icon->Color->Pixels() : mask;
    const int colorTop = icon->Color ? 0 : mask.Height / 2;
    AWidth = mask.Width;
    AHeight = icon->Color ? mask.Height : mask.Height / 2;
    const bool alpha = icon->Color && HasAlphaPixels(color);
    APixels.assign(size_t(AWidth) * size_t(AHeight), 0);
    for (int y = 0; y < AHeight; ++y)
        for (int x = 0; x < AWidth; ++x) {
            const Pixel c = ReadPixel(color, x, colorTop + y);
            const bool clear = (ReadPixel(mask, x, y) & ColorMask) != 0;
            APixels[size_t(y) * size_t(AWidth) + size_t(x)] = alpha   ? c
                                                              : clear ? 0
                                                                      : (c & ColorMask) | AlphaMask;
        }
    return true;
}

}  // namespace gdi
