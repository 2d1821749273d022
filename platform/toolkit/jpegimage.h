// JPEG pictures: read and written through libjpeg at a chosen quality.
#pragma once

#include "platform/gdi/jpegcodec.h"
#include "platform/toolkit/encodedimage.h"

class TJPEGImage : public TEncodedImage {
public:
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TJPEGImage>(); }

    // 1..100, 90 by default; the next save compresses at the new quality.
    Integer CompressionQuality() const { return FCompressionQuality; }
    void SetCompressionQuality(Integer AValue);

protected:
    TImageData Decode(std::span<const Byte> AData) override { return DecodeJpeg(AData); }
    std::vector<Byte> Encode(const TImageData& AImage) override {
        return EncodeJpeg(AImage, FCompressionQuality);
    }

private:
    Integer FCompressionQuality = DefaultJpegQuality;
};
