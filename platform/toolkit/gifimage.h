// GIF pictures: the first picture of a file, written as one picture of at
// most 256 colours (median cut with Floyd–Steinberg dithering).
#pragma once

#include "platform/gdi/gifcodec.h"
#include "platform/toolkit/encodedimage.h"

class TGIFImage : public TEncodedImage {
public:
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TGIFImage>(); }

protected:
    TImageData Decode(std::span<const Byte> AData) override { return DecodeGif(AData); }
    std::vector<Byte> Encode(const TImageData& AImage) override { return EncodeGif(AImage); }
};
