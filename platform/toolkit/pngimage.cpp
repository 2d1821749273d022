#include "platform/toolkit/pngimage.h"

namespace {

uint32_t ColorToRRGGBB(TColor AColor) {
    uint32_t c = static_cast<uint32_t>(ColorToRGB(AColor));
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

TColor RRGGBBToColor(uint32_t AValue) {
    return static_cast<TColor>((AValue & 0xFF) << 16 | (AValue & 0xFF00) | (AValue >> 16 & 0xFF));
}

uint32_t RRGGBBAt(const Byte* APixel) {
    return APixel[2] << 16 | APixel[1] << 8 | APixel[0];
}

}  // namespace

TPngImage::TPngImage() = default;
TPngImage::~TPngImage() = default;

void TPngImage::ImageChanged() {
    FBitmap.reset();
    Changed();
}

void TPngImage::Assign(TPersistent* ASource) {
    if (!ASource) {
        FImage = {};
        FAlpha.clear();
        FHeader = {};
        FTransparencyMode = ptmNone;
        return ImageChanged();
    }
    if (auto* png = dynamic_cast<TPngImage*>(ASource)) {
        if (png == this) return;
        FImage = png->FImage;
        FAlpha = png->FAlpha;
        FHeader = png->FHeader;
        FTransparencyMode = png->FTransparencyMode;
        return ImageChanged();
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(ASource)) {
        FImage = bitmap->ToImageData();
        FImage.HasAlpha = false;
        FAlpha.clear();
        FHeader = {};
        FTransparencyMode = ptmNone;
        if (bitmap->Transparent() && !bitmap->Empty()) {
            FHeader.HasTransparentColor = true;
            FHeader.TransparentColor = ColorToRRGGBB(bitmap->TransparentColor());
            FTransparencyMode = ptmBit;
        }
        return ImageChanged();
    }
    TGraphic::Assign(ASource);
}

void TPngImage::SetWidth(Integer) {
    throw EInvalidGraphicOperation(u"Cannot change the size of a TPngImage");
}

void TPngImage::SetHeight(Integer AValue) {
    SetWidth(AValue);
}

TColor TPngImage::TransparentColor() const {
    return FTransparencyMode == ptmBit ? RRGGBBToColor(FHeader.TransparentColor) : clNone;
}

void TPngImage::SetTransparentColor(TColor AValue) {
    if (!FAlpha.empty()) return;
    FHeader.HasTransparentColor = true;
    FHeader.TransparentColor = ColorToRRGGBB(AValue);
    FTransparencyMode = ptmBit;
    ImageChanged();
}

void TPngImage::RemoveTransparency() {
    FAlpha.clear();
    FHeader.HasTransparentColor = false;
    if (FHeader.ColorType == COLOR_GRAYSCALEALPHA) FHeader.ColorType = COLOR_GRAYSCALE;
    if (FHeader.ColorType == COLOR_RGBALPHA) FHeader.ColorType = COLOR_RGB;
    FTransparencyMode = ptmNone;
    ImageChanged();
}

TImageData TPngImage::WithAlpha() const {
    TImageData image = FImage;
    image.HasAlpha = FTransparencyMode != ptmNone;
    for (Integer y = 0; y < image.Height(); ++y) {
        Byte* p = image.ScanLine(y);
        for (Integer x = 0; x < image.Width(); ++x, p += 4) {
            if (!FAlpha.empty())
                p[3] = FAlpha[static_cast<size_t>(y) * image.Width() + x];
            else if (FTransparencyMode == ptmBit)
                p[3] = RRGGBBAt(p) == FHeader.TransparentColor ? 0 : 255;
            else if (FTransparencyMode == ptmNone)
                p[3] = 255;
        }
    }
    return image;
}

void TPngImage::CreateAlpha() {
    if (!FAlpha.empty()) return;
    TImageData image = WithAlpha();
    FAlpha.resize(static_cast<size_t>(image.Width()) * image.Height());
    for (Integer y = 0; y < image.Height(); ++y)
        for (Integer x = 0; x < image.Width(); ++x)
            FAlpha[static_cast<size_t>(y) * image.Width() + x] = image.ScanLine(y)[4 * x + 3];
    FHeader.ColorType = FHeader.ColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
    FHeader.BitDepth = 8;
    FHeader.HasTransparentColor = false;
    FTransparencyMode = ptmPartial;
    ImageChanged();
}

Byte* TPngImage::AlphaScanline(Integer ARow) {
    if (ARow < 0 || ARow >= FImage.Height()) throw EInvalidGraphic(u"Scan line index out of range");
    if (FAlpha.empty()) return nullptr;
    // The caller writes through the pointer: drawing must not use what it made before.
    FBitmap.reset();
    return FAlpha.data() + static_cast<size_t>(ARow) * FImage.Width();
}

TColor TPngImage::Pixels(Integer X, Integer Y) const {
    if (X < 0 || Y < 0 || X >= FImage.Width() || Y >= FImage.Height()) return clNone;
    return RRGGBBToColor(RRGGBBAt(FImage.ScanLine(Y) + 4 * X));
}

void TPngImage::SetPixels(Integer X, Integer Y, TColor AValue) {
    if (X < 0 || Y < 0 || X >= FImage.Width() || Y >= FImage.Height()) return;
    uint32_t c = ColorToRRGGBB(AValue);
    Byte* p = FImage.ScanLine(Y) + 4 * X;
    p[0] = static_cast<Byte>(c);
    p[1] = static_cast<Byte>(c >> 8);
    p[2] = static_cast<Byte>(c >> 16);
    ImageChanged();
}

void TPngImage::CreateBlank(TPngColorType AColorType, Byte ABitDepth, Integer AWidth, Integer AHeight) {
    if ((AColorType != COLOR_RGB && AColorType != COLOR_RGBALPHA) || ABitDepth != 8)
        throw EInvalidGraphicOperation(u"Only 8-bit true colour PNG images can be created blank");
    FImage = TImageData(AWidth, AHeight);
    FImage.BitCount = AColorType == COLOR_RGB ? 24 : 32;
    FHeader = {};
    FHeader.ColorType = AColorType;
    FAlpha.clear();
    if (AColorType == COLOR_RGBALPHA) FAlpha.assign(static_cast<size_t>(AWidth) * AHeight, 0);
    FTransparencyMode = AColorType == COLOR_RGBALPHA ? ptmPartial : ptmNone;
    ImageChanged();
}

void TPngImage::LoadFromStream(TStream* AStream) {
    TPngHeader header;
    TImageData image = DecodePng(ReadToEnd(AStream), &header);
    std::vector<Byte> alpha;
    TPNGTransparencyMode mode = header.HasTransparentColor ? ptmBit : ptmNone;
    if (header.ColorType == COLOR_GRAYSCALEALPHA || header.ColorType == COLOR_RGBALPHA) {
        alpha.resize(static_cast<size_t>(image.Width()) * image.Height());
        for (Integer y = 0; y < image.Height(); ++y)
            for (Integer x = 0; x < image.Width(); ++x)
                alpha[static_cast<size_t>(y) * image.Width() + x] = image.ScanLine(y)[4 * x + 3];
        mode = ptmPartial;
    } else if (header.ColorType == COLOR_PALETTE && image.HasAlpha) {
        // One transparent colour covers the file's transparency only when every
        // see-through pixel is fully so and of that colour.
        for (Integer y = 0; y < image.Height() && mode != ptmPartial; ++y) {
            const Byte* p = image.ScanLine(y);
            for (Integer x = 0; x < image.Width(); ++x, p += 4) {
                if ((p[3] != 0 && p[3] != 255) || (p[3] == 0 && RRGGBBAt(p) != header.TransparentColor)) {
                    mode = ptmPartial;
                    break;
                }
            }
        }
    }
    FImage = std::move(image);
    FAlpha = std::move(alpha);
    FHeader = header;
    FTransparencyMode = mode;
    ImageChanged();
}

void TPngImage::SaveToStream(TStream* AStream) {
    const bool withAlpha = FTransparencyMode == ptmPartial;
    const uint32_t* transparent = FTransparencyMode == ptmBit ? &FHeader.TransparentColor : nullptr;
    std::vector<Byte> data = EncodePng(WithAlpha(), withAlpha, transparent);
    AStream->WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TPngImage::AssignTo(TPersistent* ADest) {
    auto* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (!bitmap) return TGraphic::AssignTo(ADest);
    if (FTransparencyMode == ptmPartial) return bitmap->LoadFromImageData(WithAlpha(), pf32bit);
    bitmap->LoadFromImageData(FImage, pf24bit);
    if (FTransparencyMode == ptmBit) {
        bitmap->SetTransparentColor(TransparentColor());
        bitmap->SetTransparent(true);
    }
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& ARect) {
    if (Empty()) return;
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        if (FTransparencyMode == ptmNone)
            FBitmap->LoadFromImageData(FImage, pf24bit);
        else
            LoadPremultiplied(FBitmap.get(), WithAlpha());
    }
    if (FTransparencyMode == ptmNone)
        ACanvas->StretchDraw(ARect, FBitmap.get());
    else
        DrawPremultiplied(ACanvas, ARect, FBitmap.get());
}
