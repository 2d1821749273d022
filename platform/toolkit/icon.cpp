#include "platform/toolkit/icon.h"

#include "platform/gdi/icocodec.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"

TIcon::~TIcon() {
    if (FHandle) win::DestroyIcon(FHandle);
}

void TIcon::Assign(TPersistent* ASource) {
    if (!ASource) return SetHandle(nullptr);
    auto* icon = dynamic_cast<TIcon*>(ASource);
    if (!icon) return TGraphic::Assign(ASource);
    if (icon == this) return;
    SetHandle(icon->FHandle ? static_cast<win::HICON>(win::CopyImage(icon->FHandle, win::IMAGE_ICON, 0, 0, 0))
                            : nullptr);
}

void TIcon::SetWidth(Integer) {
    throw EInvalidGraphicOperation(u"Cannot change the size of an icon");
}

void TIcon::SetHeight(Integer AValue) {
    SetWidth(AValue);
}

void TIcon::SetHandle(win::HICON AValue) {
    if (AValue == FHandle) return;
    if (FHandle) win::DestroyIcon(FHandle);
    FHandle = AValue;
    FWidth = FHeight = 0;
    win::ICONINFO info{};
    if (FHandle && win::GetIconInfo(FHandle, &info)) {
        win::BITMAP mask{};
        win::GetObjectW(info.hbmMask, sizeof mask, &mask);
        FWidth = mask.bmWidth;
        // A mask without a colour bitmap holds the AND and XOR halves.
        FHeight = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
        win::DeleteObject(info.hbmMask);
        if (info.hbmColor) win::DeleteObject(info.hbmColor);
    }
    Changed();
}

win::HICON TIcon::ReleaseHandle() {
    win::HICON handle = FHandle;
    FHandle = nullptr;
    FWidth = FHeight = 0;
    Changed();
    return handle;
}

void TIcon::LoadFromStream(TStream* AStream) {
    const TImageData image = DecodeIco(ReadToEnd(AStream));
    // Colours with their alpha, and a mask of the clear pixels for drawing
    // without alpha; the colours there are black, so that they XOR nothing.
    TImageData colours = image;
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(image.Width(), image.Height());
    for (Integer y = 0; y < image.Height(); ++y) {
        Byte* row = colours.ScanLine(y);
        auto* bits = static_cast<Byte*>(mask.ScanLine(y));
        for (Integer x = 0; x < image.Width(); ++x) {
            Byte* p = row + 4 * x;
            if (p[3] != 0) continue;
            p[0] = p[1] = p[2] = 0;
            bits[x / 8] |= Byte(0x80 >> (x % 8));
        }
    }
    TBitmap colour;
    colour.LoadFromImageData(colours, pf32bit);
    win::ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
    win::HICON icon = win::CreateIconIndirect(&info);
    if (!icon) throw EInvalidGraphic(u"Icon image is not valid");
    SetHandle(icon);
}

void TIcon::SaveToStream(TStream*) {
    throw EInvalidGraphicOperation(u"Icon files are not written");
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& ARect) {
    if (Empty()) return;
    ACanvas->Changing();
    win::DrawIconEx(ACanvas->Handle(), ARect.Left, ARect.Top, FHandle, ARect.Width(), ARect.Height(), 0,
                    nullptr, win::DI_NORMAL);
    ACanvas->Changed();
}
