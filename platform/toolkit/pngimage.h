// PNG pictures: any colour type read through libpng, with their alpha
// channel or transparent colour; written as true colour, with alpha when
// they have any.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/pngcodec.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/graphic.h"

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

class TPngImage : public TGraphic {
public:
    TPngImage();
    ~TPngImage() override;
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TPngImage>(); }

    // From a TPngImage: everything. From a TBitmap: its colours as true
    // colour, its transparent colour when it is transparent. nullptr empties.
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FImage.Empty(); }
    Integer Width() const override { return FImage.Width(); }
    Integer Height() const override { return FImage.Height(); }
    // EInvalidGraphicOperation: CreateBlank makes a picture of another size.
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;
    bool Transparent() const override { return FTransparencyMode != ptmNone; }

    // Colour type and bit depth as read (or made by CreateBlank and CreateAlpha).
    const TPngHeader& Header() const { return FHeader; }
    // ptmBit: one colour is transparent; ptmPartial: every pixel has its own alpha.
    TPNGTransparencyMode TransparencyMode() const { return FTransparencyMode; }
    // clNone unless the mode is ptmBit.
    TColor TransparentColor() const;
    // Makes one colour transparent; pictures with an alpha channel keep theirs.
    void SetTransparentColor(TColor AValue);
    void RemoveTransparency();

    // Gives grey an alpha channel (type 4) and every other type true colour
    // with alpha (type 6), from the transparency there was; nothing when
    // there is one already.
    void CreateAlpha();
    // One byte per pixel of row ARow (0 = top); nullptr without an alpha
    // channel. EInvalidGraphic "Scan line index out of range".
    Byte* AlphaScanline(Integer ARow);
    // clNone outside the picture; setting there does nothing.
    TColor Pixels(Integer X, Integer Y) const;
    void SetPixels(Integer X, Integer Y, TColor AValue);
    // A black picture: COLOR_RGB, or COLOR_RGBALPHA with every alpha 0, at
    // bit depth 8. EInvalidGraphicOperation for anything else.
    void CreateBlank(TPngColorType AColorType, Byte ABitDepth, Integer AWidth, Integer AHeight);

    // The rest of the stream is the file.
    void LoadFromStream(TStream* AStream) override;
    // The PNG file registered as data under AName (resources.h).
    void LoadFromResourceName(const String& AName);
    // Colour type 6 when there is any alpha, else 2 (with a tRNS chunk for a
    // transparent colour); deflate level 7, rows filtered with Sub.
    void SaveToStream(TStream* AStream) override;

protected:
    // Into a TBitmap: pf32bit with the alpha as fourth byte when there is
    // any, pf24bit otherwise; a transparent colour makes it transparent.
    void AssignTo(TPersistent* ADest) override;
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    // Alpha of every pixel as drawn and saved, in the fourth bytes of a copy.
    TImageData WithAlpha() const;
    void ImageChanged();

    // Colours in the first three bytes of each pixel; the fourth holds the
    // per-pixel alpha of a palette picture with partial tRNS transparency.
    TImageData FImage;
    // The alpha channel (types 4 and 6), Width bytes a row.
    std::vector<Byte> FAlpha;
    TPngHeader FHeader;
    TPNGTransparencyMode FTransparencyMode = ptmNone;
    std::unique_ptr<TBitmap> FBitmap;
};
