// A plain 24-bit image on a top-down DIB section, for the animated
// transitions ("morphs") between two looks of a skinned element and for
// whole-image effects (qxeffects.cpp).
#pragma once

#include <memory>

#include "platform/base/classes.h"
#include "platform/gdi/gditypes.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/geometry.h"

class TqxEffectBmp : public TObject {
public:
    // A side of 0 gives an empty image on which every operation does
    // nothing; other sizes the system refuses raise an Exception.
    TqxEffectBmp(Integer cx, Integer cy);
    ~TqxEffectBmp() override;

    // A 24-bit copy of the bitmap behind AHandle; nullptr gives an empty
    // image, a handle that is no bitmap raises an Exception.
    static std::unique_ptr<TqxEffectBmp> CreateFromhWnd(win::HBITMAP AHandle);
    static std::unique_ptr<TqxEffectBmp> CreateCopy(const TqxEffectBmp* ASource);

    win::HBITMAP Handle() const { return FHandle; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    // Bytes of pixel memory: Stride x Height.
    Integer Size() const { return FSize; }
    Byte* Bits() const { return FBits; }
    // 3 x Width rounded up to a multiple of 4.
    Integer Stride() const { return 3 * FWidth + FWidth % 4; }
    const win::BITMAPINFO& BmpInfo() const { return FBmpInfo; }

    // The whole image at x, y, or scaled into (x, y, cx, cy).
    void Draw(win::HDC hDC, Integer x, Integer y) const;
    void Stretch(win::HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const;
    // The part (x, y, cx, cy) at (hx, hy), unscaled and unmirrored.
    void DrawRect(win::HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy) const;

    // Rows and pixels (B, G, R bytes; a colour is 0x00RRGGBB); no bounds checks.
    void GetScanLine(Integer y, void* Line) const;
    void SetScanLine(Integer y, const void* Line);
    Byte* ScanLinePtr(Integer y) const { return FBits + y * Stride(); }
    Integer GetPixel(Integer x, Integer y) const;
    void SetPixel(Integer x, Integer y, Integer Color);

    // Pixel replication into Dst, clipped to it.
    void Resize(TqxEffectBmp* Dst) const;

    // Morphs turn this image (the old look) toward BMP (the new look) by Kf,
    // taken as 0 below 0 or when not a number and as 1 above 1. All but
    // MorphRect and CopyRect do nothing when the sizes differ.
    void Morph(const TqxEffectBmp* BMP, double Kf);
    // Rct of this image toward BMP from (StartX, StartY); both images clip it.
    void MorphRect(const TqxEffectBmp* BMP, double Kf, const TRect& Rct, Integer StartX, Integer StartY);
    // Rct's pixels, right and bottom included, from BMP at (StartX, StartY);
    // both images clip it.
    void CopyRect(const TqxEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY);
    // MorphVGrad when the image is taller than wide, else MorphHGrad.
    void MorphGrad(const TqxEffectBmp* BMP, double Kf);
    // The new image opens from the centre line with soft edges.
    void MorphHGrad(const TqxEffectBmp* BMP, double Kf);
    void MorphVGrad(const TqxEffectBmp* BMP, double Kf);
    void MorphLeftGrad(const TqxEffectBmp* BMP, double Kf);
    void MorphRightGrad(const TqxEffectBmp* BMP, double Kf);
    // The new image's right part pushes the old one out to the right.
    void MorphPush(const TqxEffectBmp* BMP, double Kf);
    void MorphLeftSlide(const TqxEffectBmp* BMP, double Kf);
    void MorphRightSlide(const TqxEffectBmp* BMP, double Kf);

    // Whole-image effects (qxeffects.cpp); each does nothing on an empty image.
    // Towards white, resp. black, by Kf (0..1).
    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void Invert();
    void GrayScale();
    // Each pixel := the mean of the four pixels Amount rows and columns
    // away diagonally (the edge row or column itself where they fall
    // outside), in place; Amount <= 0 does nothing.
    void SplitBlur(Integer Amount);
    // Blocks of ASize x ASize take the colour of their top-left pixel.
    void Mosaic(Integer ASize);
    // One random shift in -Amount/2 .. Amount/2 per pixel, resp. per channel.
    void AddMonoNoise(Integer Amount);
    void AddColorNoise(Integer Amount);
    // A quarter turn anticlockwise, resp. clockwise, into a Dst of the turned
    // size; a Dst of another size is left alone.
    void Rotate90_1(TqxEffectBmp* Dst) const;
    void Rotate90_2(TqxEffectBmp* Dst) const;
    // Upside down into a Dst of the same size.
    void FlipVert(TqxEffectBmp* Dst) const;
    void Wave(Integer XDIV, Integer YDIV, Integer RatioVal);
    // The mask operations touch pixels whose mask pixel is not white. The
    // mask must be as wide as the image and at least as high.
    void MaskBlur(const TqxEffectBmp* Msk, Integer Amount);
    // The same, only where a diagonal neighbour's mask pixel is white.
    void MaskAntialiasing(const TqxEffectBmp* Msk, Integer Amount);
    // Towards C (system colours resolved) by kf, not limited to 0..1.
    void MaskFillColor(const TqxEffectBmp* Msk, TColor C, double kf);

private:
    TqxEffectBmp() = default;
    void Allocate(Integer cx, Integer cy);
    bool SameSize(const TqxEffectBmp* ABitmap) const {
        return ABitmap && ABitmap->FWidth == FWidth && ABitmap->FHeight == FHeight;
    }
    bool MaskFits(const TqxEffectBmp* AMask) const;
    // SplitBlur's pass, limited by a mask when one is given.
    void BlurPass(const TqxEffectBmp* AMask, Integer AAmount, bool AEdgesOnly);

    win::HBITMAP FHandle = nullptr;
    Integer FWidth = 0;
    Integer FHeight = 0;
    Integer FSize = 0;
    Byte* FBits = nullptr;
    win::BITMAPINFO FBmpInfo{};
};
