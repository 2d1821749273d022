// The skin library's working image: a 32-bit top-down DIB section with
// per-pixel alpha and its own memory DC, drawn alpha-blended, colour-keyed or
// opaque, and a link that names a rectangle of one.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/streams.h"
#include "platform/gdi/gditypes.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/geometry.h"

class TGraphic;

// B, G, R, A from the low byte up. Colours are not premultiplied unless
// CheckRGBA2 made them so.
using TqxColor = Cardinal;
using PqxColorArray = TqxColor*;

// Missing pixels of skin pictures and the key of colour-keyed images;
// compared on its low 24 bits.
inline constexpr TqxColor MaskedColor = 0x007F007F;

class TqxBitmapLink;

class TqxBitmap : public TPersistent {
public:
    TqxBitmap();
    ~TqxBitmap() override;

    // From a TqxBitmap (pixels, name and flags), a pf32bit TBitmap (all four
    // bytes, then CheckingAlphaBlend), any other TBitmap or graphic (alpha
    // 255) or a TPicture's graphic. An empty source empties this bitmap.
    void Assign(TPersistent* ASource) override;

    win::HBITMAP Handle() const { return FHandle; }
    win::HDC DC() const { return FDC; }
    // Made on first use; follows the DC across SetSize. Without pixels it has
    // nothing to draw on.
    TCanvas* Canvas();
    PqxColorArray Bits() const { return FBits; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue) { FTransparent = AValue; }
    const String& Name() const { return FName; }
    void SetName(const String& AValue) { FName = AValue; }
    bool NewFormat() const { return FNewFormat; }
    void SetNewFormat(bool AValue) { FNewFormat = AValue; }

    // Absolute values are taken; a zero side or the current size changes
    // nothing. Otherwise new pixel memory (old pixels are not kept) and a new
    // DC. On failure the bitmap is left empty (0 x 0) and an Exception says
    // which step failed.
    void SetSize(Integer AWidth, Integer AHeight);
    bool Empty() const { return FHandle == nullptr; }
    void Clear(TqxColor AColor);
    // No bounds checks.
    PqxColorArray GetScanLinePtr(Integer Y) const { return FBits + Y * FWidth; }
    PqxColorArray GetPixelPtr(Integer X, Integer Y) const { return FBits + Y * FWidth + X; }

    // AlphaBlend := some alpha lies strictly between 0 and 255.
    void CheckingAlphaBlend();
    // The rectangle does not limit the scan.
    void CheckingAlphaBlend(const TRect& ARect);
    // Pixels within 5 of AColor in each of R, G, B become MaskedColor;
    // Transparent tells whether any did.
    void CheckingTransparent(TqxColor AColor);
    // The rectangle does not limit the scan.
    void CheckingTransparent(const TRect& ARect, TqxColor AColor);
    // Each colour channel := min(channel, alpha).
    void CheckRGBA();
    // Premultiplies: each colour channel := round(alpha x channel / 255).
    void CheckRGBA2();
    void SetAlpha(Byte AAlpha);
    // ARect is clipped to the bitmap.
    void SetAlpha(Byte AAlpha, const TRect& ARect);
    // R is clipped to the bitmap. With AlphaBlend the colour is blended on by
    // its own alpha; otherwise written as it is, alpha included.
    void FillRect(const TRect& R, TqxColor AColor);

    // Drawing this bitmap, by its mode: AlphaBlend → alpha-blended, else
    // Transparent → MaskedColor pixels left out, else opaque. A DC that is
    // another TqxBitmap's DC is drawn on in memory, so alpha survives.
    void Draw(win::HDC ADC, Integer X, Integer Y) const;
    void Draw(win::HDC ADC, Integer X, Integer Y, const TRect& ASrcRect) const;
    void Draw(win::HDC ADC, const TRect& ADstRect) const;
    void Draw(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const;
    void Draw(TCanvas* ACanvas, Integer X, Integer Y) const;
    void Draw(TCanvas* ACanvas, Integer X, Integer Y, const TRect& ASrcRect) const;
    void Draw(TCanvas* ACanvas, const TRect& ADstRect) const;
    void Draw(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ASrcRect) const;
    void Draw(TqxBitmap* ABitmap, Integer X, Integer Y) const;
    void Draw(TqxBitmap* ABitmap, Integer X, Integer Y, const TRect& ASrcRect) const;
    void Draw(TqxBitmap* ABitmap, const TRect& ADstRect) const;
    void Draw(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ASrcRect) const;

    // Fills ADstRect with copies of ASrcRect; cut tiles show the top-left
    // part of the source.
    void Tile(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const;
    void Tile(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ASrcRect) const;
    void Tile(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ASrcRect) const;
    // As Tile, drawing whole only the tiles that meet ADstClip (all of them
    // when ADstClip is empty).
    void TileClip(win::HDC ADC, const TRect& ADstRect, const TRect& ADstClip, const TRect& ASrcRect) const;
    void TileClip(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ADstClip,
                  const TRect& ASrcRect) const;
    void TileClip(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ADstClip,
                  const TRect& ASrcRect) const;

    // Puts part ASrcRect of ABitmap behind this bitmap's pixels at X, Y: it
    // shows through where this bitmap is transparent or partly so.
    void MergeDraw(const TqxBitmap* ABitmap, Integer X, Integer Y, const TRect& ASrcRect);
    // Renders AGraphic into ADstRect; pixels the graphic leaves out stay.
    void DrawGraphic(TGraphic* AGraphic, const TRect& ADstRect);

    void FlipVert();
    // FlipVert, then the alpha fades towards the bottom, divided by 3, 4
    // and 2 respectively.
    void Reflection();
    void Reflection2();
    void Reflection3();
    // These change only pixels with alpha above 0, and keep alpha.
    void ChangeBitmapBrightness(Integer ADeltaBrightness);
    void SetBitmapHue(Integer AHue);
    void ChangeBitmapSat(Integer ADeltaSat);
    void ChangeBitmapHue(Integer ADeltaHue);

    // Name (int32 length, UTF-16), width, height, then the pixels top row
    // first. A stored height of 0 or less means rows stored bottom-up. A
    // record the stream cannot hold raises EReadError and changes nothing.
    void SaveToStream(TStream* AStream) const;
    void LoadFromStream(TStream* AStream);
    // A 256-colour PCX image; other files change nothing. Truncated or
    // inconsistent data raises EReadError and changes nothing.
    void LoadFromPcxStream(TStream* AStream);

    std::unique_ptr<TqxBitmapLink> GetBitmapLink(const TRect& ARect);
    // Four integers, each ended by one of " (),:;=": "0,0,16,16". Text that
    // does not parse gives an empty rectangle.
    std::unique_ptr<TqxBitmapLink> GetBitmapLink(const String& ARect);

protected:
    // Into a TPicture or a TBitmap: it becomes pf32bit of this size and this
    // bitmap is drawn onto it.
    void AssignTo(TPersistent* ADest) override;

private:
    // Back to no pixels, no DC, 0 x 0.
    void FreeImage();
    void CopyPixels(const TqxBitmap* ASource);
    void DrawToDC(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const;
    void Reflect(Integer ADivisor);

    PqxColorArray FBits = nullptr;
    Integer FWidth = 0;
    Integer FHeight = 0;
    String FName;
    win::BITMAPINFO FBitmapInfo{};
    win::HBITMAP FHandle = nullptr;
    win::HDC FDC = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FAlphaBlend = false;
    bool FTransparent = false;
    bool FNewFormat = false;
};

// A rectangle of a TqxBitmap that it does not own.
class TqxBitmapLink : public TPersistent {
public:
    // From another link; anything else is refused.
    void Assign(TPersistent* ASource) override;

    const String& Name() const { return FName; }
    void SetName(const String& AValue) { FName = AValue; }
    Integer Left() const { return FRect.Left; }
    void SetLeft(Integer AValue) { FRect.Left = AValue; }
    Integer Top() const { return FRect.Top; }
    void SetTop(Integer AValue) { FRect.Top = AValue; }
    Integer Right() const { return FRect.Right; }
    void SetRight(Integer AValue) { FRect.Right = AValue; }
    Integer Bottom() const { return FRect.Bottom; }
    void SetBottom(Integer AValue) { FRect.Bottom = AValue; }

    TqxBitmap* Image() const { return FImage; }
    void SetImage(TqxBitmap* AValue) { FImage = AValue; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& AValue) { FRect = AValue; }
    bool Masked() const { return FMasked; }
    void SetMasked(bool AValue) { FMasked = AValue; }
    bool MaskedBorder() const { return FMaskedBorder; }
    void SetMaskedBorder(bool AValue) { FMaskedBorder = AValue; }
    bool MaskedAngles() const { return FMaskedAngles; }
    void SetMaskedAngles(bool AValue) { FMaskedAngles = AValue; }
    // An image and a rectangle with pixels.
    bool Assigned() const { return FImage && FRect.Width() * FRect.Height() > 0; }

    // The name as TqxBitmap stores it, then Left, Top, Right, Bottom.
    void SaveToStream(TStream* AStream) const;
    void LoadFromStream(TStream* AStream);

    // The image's part Rect at X, Y.
    void Draw(TCanvas* ACanvas, Integer X, Integer Y) const;
    void Draw(TqxBitmap* ABitmap, Integer X, Integer Y) const;

    // Where Rect has see-through pixels (MaskedColor or alpha below 255;
    // outside the image counts as see-through): without a margin Masked
    // tells whether any pixel is; with one, MaskedAngles, MaskedBorder and
    // Masked tell it for the corners, the edges and the centre.
    void CheckingMasked(const TRect& AMargin);
    void CheckingMasked() { CheckingMasked(TRect{}); }

private:
    TqxBitmap* FImage = nullptr;
    TRect FRect;
    String FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};

// The live bitmaps with pixels, so that a DC can be recognised as one's
// (not owned). nullptr until the first bitmap gets pixels.
extern std::vector<TqxBitmap*>* BitmapRegistry;
// The bitmap whose memory DC ADC is; nullptr for any other DC.
TqxBitmap* FindBitmapByDC(win::HDC ADC);
