// Pictures kept as whole pixels in memory and written through a codec: the
// common part of the JPEG and GIF classes.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/imagedata.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/graphic.h"

class TEncodedImage : public TGraphic {
public:
    ~TEncodedImage() override;

    // From the same class: pixels and file; from a TBitmap: its pixels;
    // nullptr empties. Anything else as TGraphic does.
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FImage.Empty(); }
    Integer Width() const override { return FImage.Width(); }
    Integer Height() const override { return FImage.Height(); }
    // EInvalidGraphicOperation: the size comes from the pixels.
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;
    bool Transparent() const override { return FImage.HasAlpha; }

    // The rest of the stream is the file.
    void LoadFromStream(TStream* AStream) override;
    // The file as it was read, unless the pixels or the settings changed since.
    void SaveToStream(TStream* AStream) override;

    const TImageData& ImageData() const { return FImage; }

protected:
    virtual TImageData Decode(std::span<const Byte> AData) = 0;
    virtual std::vector<Byte> Encode(const TImageData& AImage) = 0;
    // Into a TBitmap: pf32bit keeping alpha when there is some, pf24bit otherwise.
    void AssignTo(TPersistent* ADest) override;
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;
    // The next save encodes the pixels again.
    void SettingsChanged();

private:
    void SetImage(TImageData AImage, std::vector<Byte> AData);

    TImageData FImage;
    std::vector<Byte> FData;
    std::unique_ptr<TBitmap> FBitmap;
};
