#include "platform/toolkit/encodedimage.h"

TEncodedImage::~TEncodedImage() = default;

void TEncodedImage::SetImage(TImageData AImage, std::vector<Byte> AData) {
    FImage = std::move(AImage);
    FData = std::move(AData);
    FBitmap.reset();
    Changed();
}

void TEncodedImage::Assign(TPersistent* ASource) {
    if (!ASource) return SetImage({}, {});
    if (typeid(*ASource) == typeid(*this)) {
        auto* source = static_cast<TEncodedImage*>(ASource);
        return SetImage(source->FImage, source->FData);
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(ASource)) {
        TImageData image = bitmap->ToImageData();
        image.HasAlpha = false;
        return SetImage(std::move(image), {});
    }
    TGraphic::Assign(ASource);
}

void TEncodedImage::SetWidth(Integer) {
    throw EInvalidGraphicOperation(u"Cannot change the size of a %s", {ClassName()});
}

void TEncodedImage::SetHeight(Integer AValue) {
    SetWidth(AValue);
}

void TEncodedImage::LoadFromStream(TStream* AStream) {
    std::vector<Byte> data = ReadToEnd(AStream);
    TImageData image = Decode(data);
    SetImage(std::move(image), std::move(data));
}

void TEncodedImage::SaveToStream(TStream* AStream) {
    if (FData.empty()) FData = Encode(FImage);
    AStream->WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
}

void TEncodedImage::SettingsChanged() {
    if (!FImage.Empty()) FData.clear();
}

void TEncodedImage::AssignTo(TPersistent* ADest) {
    auto* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (!bitmap) return TGraphic::AssignTo(ADest);
    bitmap->LoadFromImageData(FImage, FImage.HasAlpha ? pf32bit : pf24bit);
}

void TEncodedImage::Draw(TCanvas* ACanvas, const TRect& ARect) {
    if (Empty()) return;
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        if (FImage.HasAlpha)
            LoadPremultiplied(FBitmap.get(), FImage);
        else
            FBitmap->LoadFromImageData(FImage, pf24bit);
    }
    if (FImage.HasAlpha)
        DrawPremultiplied(ACanvas, ARect, FBitmap.get());
    else
        ACanvas->StretchDraw(ARect, FBitmap.get());
}
