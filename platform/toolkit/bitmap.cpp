#include "platform/toolkit/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}

protected:
    void CreateHandle() override { SetHandle(FBitmap->DC()); }

private:
    TBitmap* FBitmap;
};

namespace {

int BitCountOf(TPixelFormat AFormat) {
    static constexpr int bits[] = {32, 1, 4, 8, 24, 32};
    return bits[AFormat];
}

TPixelFormat FormatOfBitCount(Integer ABitCount) {
    switch (ABitCount) {
        case 1:
            return pf1bit;
        case 4:
            return pf4bit;
        case 8:
            return pf8bit;
        case 32:
            return pf32bit;
        default:
            return pf24bit;
    }
}

bool IsPaletteFormat(TPixelFormat AFormat) {
    return AFormat == pf1bit || AFormat == pf4bit || AFormat == pf8bit;
}

// Colour tables for palette formats that no file gave one: black and white,
// the sixteen standard colours, a 6 x 6 x 6 colour cube with forty greys.
std::vector<uint32_t> DefaultPalette(TPixelFormat AFormat) {
    switch (AFormat) {
        case pf1bit:
            return {0x000000, 0xFFFFFF};
        case pf4bit:
            return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        case pf8bit: {
            std::vector<uint32_t> palette;
            for (uint32_t r = 0; r < 6; ++r)
                for (uint32_t g = 0; g < 6; ++g)
                    for (uint32_t b = 0; b < 6; ++b)
                        palette.push_back((r * 51) << 16 | (g * 51) << 8 | b * 51);
            for (uint32_t i = 1; palette.size() < 256; ++i)
                palette.push_back(0x010101 * (i * 255 / 41));
            return palette;
        }
        default:
            return {};
    }
}

// A memory DC holding a bitmap for the length of one transfer.
class TScratchDC {
public:
    explicit TScratchDC(win::HBITMAP ABitmap) : FDC(win::CreateCompatibleDC(nullptr)) {
        FOld = win::SelectObject(FDC, ABitmap);
    }
    TScratchDC(const TScratchDC&) = delete;
    TScratchDC& operator=(const TScratchDC&) = delete;
    ~TScratchDC() {
        win::SelectObject(FDC, FOld);
        win::DeleteDC(FDC);
    }
    win::HDC Handle() const { return FDC; }

private:
    win::HDC FDC;
    win::HGDIOBJ FOld;
};

// A 32-bit top-down DIB section: pictures in the neutral format pass
// through it to and from formats whose rows the drawing layer converts.
class TScratchImage {
public:
    TScratchImage(Integer AWidth, Integer AHeight) {
        win::BITMAPINFO info{};
        info.bmiHeader = {sizeof(win::BITMAPINFOHEADER), AWidth, -AHeight, 1, 32, win::BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        FBitmap = win::CreateDIBSection(nullptr, &info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!FBitmap) throw EOutOfResources(u"Out of system resources");
        FBits = static_cast<Byte*>(bits);
        FDC = std::make_unique<TScratchDC>(FBitmap);
    }
    TScratchImage(const TScratchImage&) = delete;
    TScratchImage& operator=(const TScratchImage&) = delete;
    ~TScratchImage() {
        FDC.reset();
        win::DeleteObject(FBitmap);
    }
    win::HDC DC() const { return FDC->Handle(); }
    Byte* Bits() const { return FBits; }

private:
    win::HBITMAP FBitmap = nullptr;
    Byte* FBits = nullptr;
    std::unique_ptr<TScratchDC> FDC;
};

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    FCanvas.reset();
    if (FDC) {
        win::SelectObject(FDC, FStockBitmap);
        win::DeleteDC(FDC);
    }
    if (FHandle) win::DeleteObject(FHandle);
}

win::HDC TBitmap::DC() {
    if (!FDC) {
        FDC = win::CreateCompatibleDC(nullptr);
        if (!FDC) throw EOutOfResources(u"Out of system resources");
        FStockBitmap = win::GetCurrentObject(FDC, win::OBJ_BITMAP);
        if (FHandle) win::SelectObject(FDC, FHandle);
    }
    return FDC;
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject*) { Changed(); };
    }
    return FCanvas.get();
}

void TBitmap::NewImage(TPixelFormat AFormat, Integer AWidth, Integer AHeight, bool AKeepPixels,
                       const std::vector<uint32_t>* APalette) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    std::vector<uint32_t> palette;
    if (IsPaletteFormat(AFormat))
        palette = APalette && !APalette->empty() ? *APalette : DefaultPalette(AFormat);
    win::HBITMAP handle = nullptr;
    void* bits = nullptr;
    if (AWidth > 0 && AHeight > 0) {
        if (AFormat == pfDevice) {
            handle = win::CreateBitmap(AWidth, AHeight, 1, 32, nullptr);
        } else {
            std::vector<Byte> buffer(sizeof(win::BITMAPINFOHEADER) + 4 * std::max<size_t>(palette.size(), 1));
            auto* info = reinterpret_cast<win::BITMAPINFO*>(buffer.data());
            info->bmiHeader = {sizeof(win::BITMAPINFOHEADER),
                               AWidth,
                               AHeight,
                               1,
                               static_cast<win::WORD>(BitCountOf(AFormat)),
                               win::BI_RGB,
                               0,
                               0,
                               0,
                               static_cast<win::DWORD>(palette.size()),
                               0};
            if (!palette.empty()) std::memcpy(info->bmiColors, palette.data(), 4 * palette.size());
            handle = win::CreateDIBSection(nullptr, info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
        }
        if (!handle) throw EOutOfResources(u"Out of system resources");
    }
    if (AKeepPixels && handle && FHandle) {
        TScratchDC target(handle);
        win::BitBlt(target.Handle(), 0, 0, std::min(AWidth, FWidth), std::min(AHeight, FHeight), DC(), 0, 0,
                    win::SRCCOPY);
    }
    if (FDC) win::SelectObject(FDC, handle ? static_cast<win::HGDIOBJ>(handle) : FStockBitmap);
    if (FHandle) win::DeleteObject(FHandle);
    FHandle = handle;
    FBits = static_cast<Byte*>(bits);
    FWidth = AWidth;
    FHeight = AHeight;
    FPixelFormat = AFormat;
    FStride = gdi::DibStride(AWidth, BitCountOf(AFormat));
    FPalette = std::move(palette);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight) return;
    NewImage(FPixelFormat, AWidth, AHeight, true, &FPalette);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat AValue) {
    if (AValue == FPixelFormat) return;
    NewImage(AValue, FWidth, FHeight, true);
    Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType AValue) {
    if (AValue == HandleType()) return;
    SetPixelFormat(AValue == bmDDB ? pfDevice : pf32bit);
}

void* TBitmap::ScanLine(Integer ARow) {
    if (ARow < 0 || ARow >= FHeight) throw EInvalidGraphic(u"Scan line index out of range");
    if (FPixelFormat == pfDevice) SetPixelFormat(pf32bit);
    return FBits + static_cast<size_t>(FHeight - 1 - ARow) * FStride;
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    return static_cast<TColor>(win::GetPixel(DC(), 0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor AValue) {
    FTransparentColor = AValue;
    FTransparentMode = AValue == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode AValue) {
    if (AValue == FTransparentMode) return;
    if (AValue == tmAuto) return SetTransparentColor(clDefault);
    SetTransparentColor(TransparentColor());
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& ARect) {
    if (Empty()) return;
    ACanvas->Changing();
    win::HDC target = ACanvas->Handle();
    if (Transparent())
        win::TransparentBlt(target, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), DC(), 0, 0, FWidth,
                            FHeight, static_cast<win::UINT>(ColorToRGB(TransparentColor())) & 0xFFFFFF);
    else
        win::StretchBlt(target, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), DC(), 0, 0, FWidth,
                        FHeight, static_cast<win::DWORD>(ACanvas->CopyMode()));
    ACanvas->Changed();
}

void TBitmap::Assign(TPersistent* ASource) {
    if (!ASource) {
        NewImage(FPixelFormat, 0, 0, false);
        Changed();
        return;
    }
    auto* source = dynamic_cast<TBitmap*>(ASource);
    if (!source) return TGraphic::Assign(ASource);
    if (source == this) return;
    NewImage(source->FPixelFormat, source->FWidth, source->FHeight, false, &source->FPalette);
    if (!Empty()) win::BitBlt(DC(), 0, 0, FWidth, FHeight, source->DC(), 0, 0, win::SRCCOPY);
    FTransparent = source->FTransparent;
    FTransparentColor = source->FTransparentColor;
    FTransparentMode = source->FTransparentMode;
    Changed();
}

void TBitmap::LoadFromImageData(const TImageData& AImage, TPixelFormat AFormat) {
    NewImage(AFormat, AImage.Width(), AImage.Height(), false, &AImage.Palette);
    if (Empty()) return Changed();
    const size_t rowBytes = static_cast<size_t>(FWidth) * 4;
    if (AFormat == pf24bit || AFormat == pf32bit) {
        for (Integer y = 0; y < FHeight; ++y) {
            const Byte* src = AImage.ScanLine(y);
            Byte* dst = static_cast<Byte*>(ScanLine(y));
            if (AFormat == pf32bit) {
                std::memcpy(dst, src, rowBytes);
                continue;
            }
            for (Integer x = 0; x < FWidth; ++x)
                std::memcpy(dst + 3 * x, src + 4 * x, 3);
        }
    } else {
        TScratchImage scratch(FWidth, FHeight);
        for (Integer y = 0; y < FHeight; ++y)
            std::memcpy(scratch.Bits() + rowBytes * y, AImage.ScanLine(y), rowBytes);
        win::BitBlt(DC(), 0, 0, FWidth, FHeight, scratch.DC(), 0, 0, win::SRCCOPY);
    }
    Changed();
}

TImageData TBitmap::ToImageData() {
    if (Empty()) return {};
    TImageData image(FWidth, FHeight);
    image.BitCount = BitCountOf(FPixelFormat);
    image.HasAlpha = FPixelFormat == pf32bit;
    image.Palette = FPalette;
    const size_t rowBytes = static_cast<size_t>(FWidth) * 4;
    if (FPixelFormat == pf24bit || FPixelFormat == pf32bit) {
        for (Integer y = 0; y < FHeight; ++y) {
            const Byte* src = static_cast<const Byte*>(ScanLine(y));
            Byte* dst = image.ScanLine(y);
            if (FPixelFormat == pf32bit) {
                std::memcpy(dst, src, rowBytes);
                continue;
            }
            for (Integer x = 0; x < FWidth; ++x) {
                std::memcpy(dst + 4 * x, src + 3 * x, 3);
                dst[4 * x + 3] = 255;
            }
        }
        return image;
    }
    TScratchImage scratch(FWidth, FHeight);
    win::BitBlt(scratch.DC(), 0, 0, FWidth, FHeight, DC(), 0, 0, win::SRCCOPY);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* dst = image.ScanLine(y);
        std::memcpy(dst, scratch.Bits() + rowBytes * y, rowBytes);
        for (Integer x = 0; x < FWidth; ++x)
            dst[4 * x + 3] = 255;
    }
    return image;
}

void TBitmap::LoadFromStream(TStream* AStream) {
    const Int64 available = AStream->Size() - AStream->Position();
    if (available <= 0) {
        NewImage(FPixelFormat, 0, 0, false);
        return Changed();
    }
    std::vector<Byte> data(static_cast<size_t>(std::min<Int64>(available, BmpProbeSize)));
    AStream->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
    const size_t probed = data.size();
    data.resize(BmpFileLength(data, static_cast<size_t>(available)));
    if (data.size() > probed)
        AStream->ReadBuffer(data.data() + probed, static_cast<Int64>(data.size() - probed));
    TImageData image = DecodeBmp(data);
    LoadFromImageData(image, FormatOfBitCount(image.BitCount));
}

void TBitmap::SaveToStream(TStream* AStream) {
    if (Empty()) return;
    std::vector<Byte> data = EncodeBmp(ToImageData(), FPixelFormat == pf32bit ? 32 : 24);
    AStream->WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void LoadPremultiplied(TBitmap* ABitmap, const TImageData& AImage) {
    ABitmap->LoadFromImageData(AImage, pf32bit);
    for (Integer y = 0; y < ABitmap->Height(); ++y) {
        Byte* p = static_cast<Byte*>(ABitmap->ScanLine(y));
        for (Integer x = 0; x < ABitmap->Width(); ++x, p += 4)
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<Byte>((p[c] * p[3] + 127) / 255);
    }
}

void DrawPremultiplied(TCanvas* ACanvas, const TRect& ARect, TBitmap* ABitmap) {
    if (ABitmap->Empty()) return;
    ACanvas->Changing();
    win::BLENDFUNCTION blend{win::AC_SRC_OVER, 0, 255, win::AC_SRC_ALPHA};
    win::AlphaBlend(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(),
                    ABitmap->Canvas()->Handle(), 0, 0, ABitmap->Width(), ABitmap->Height(), blend);
    ACanvas->Changed();
}
