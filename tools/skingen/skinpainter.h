// Pictures for skins, painted with smooth edges: shapes are sampled 4 x 4
// times per pixel and laid over what is there by the part of the pixel
// they cover, so round corners and glyph strokes blend into the surface
// they are painted on. Everything is exact integer and fixed-order floating
// arithmetic, so the same calls give the same pixels on every run.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/colors.h"

struct TRgb {
    Byte R = 0;
    Byte G = 0;
    Byte B = 0;
    friend bool operator==(const TRgb&, const TRgb&) = default;
};

// From 0xRRGGBB as people write colours.
constexpr TRgb Rgb(Cardinal ARRGGBB) {
    return {Byte(ARRGGBB >> 16), Byte(ARRGGBB >> 8), Byte(ARRGGBB)};
}
// As the toolkit keeps colours: 0x00BBGGRR.
constexpr TColor ToColor(TRgb AColor) {
    return TColor(AColor.B) << 16 | TColor(AColor.G) << 8 | AColor.R;
}
// AFrom moved towards ATo by AAmount (0 .. 1).
TRgb Mix(TRgb AFrom, TRgb ATo, double AAmount);
// The contrast ratio of two colours as the accessibility guidelines define it.
double ContrastRatio(TRgb A, TRgb B);

struct TPointF {
    double X = 0;
    double Y = 0;
};

class TSkinPainter {
public:
    TSkinPainter(Integer AWidth, Integer AHeight, TRgb ABackground);

    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    TRgb Pixel(Integer X, Integer Y) const { return FPixels[size_t(Y * FWidth + X)]; }
    void SetPixel(Integer X, Integer Y, TRgb AColor);

    // Hard-edged: every pixel of ARect (clipped) becomes AColor.
    void Fill(const TRect& ARect, TRgb AColor);
    // AColor from ATop to ABottom down ARect.
    void FillVertical(const TRect& ARect, TRgb ATop, TRgb ABottom);
    // A rectangle with round corners of radius ARadius, in pixel edges.
    void FillRoundRect(const TRect& ARect, double ARadius, TRgb AColor, double AAlpha = 1);
    // Its outline, AWidth wide, inside ARect.
    void StrokeRoundRect(const TRect& ARect, double ARadius, double AWidth, TRgb AColor, double AAlpha = 1);
    // Only the top corners round (window frames).
    void FillTopRoundRect(const TRect& ARect, double ARadius, TRgb AColor);
    void FillCircle(double ACentreX, double ACentreY, double ARadius, TRgb AColor);
    void StrokeCircle(double ACentreX, double ACentreY, double ARadius, double AWidth, TRgb AColor);
    // A stroke with round ends, in pixel coordinates (pixel centres at .5).
    void Line(double X1, double Y1, double X2, double Y2, double AWidth, TRgb AColor);
    void Polyline(const std::vector<TPointF>& APoints, double AWidth, TRgb AColor);
    void FillPolygon(const std::vector<TPointF>& APoints, TRgb AColor);
    // The pixels of ASource's ASourceRect at X, Y.
    void Copy(const TSkinPainter& ASource, const TRect& ASourceRect, Integer X, Integer Y);

    std::unique_ptr<TBitmap> ToBitmap() const;

private:
    // Lays AColor over the pixels of ABounds by the part of each that
    // AInside covers.
    void Cover(const TRect& ABounds, TRgb AColor, double AAlpha,
               const std::function<bool(double, double)>& AInside);
    TRect Bounds(double ALeft, double ATop, double ARight, double ABottom) const;

    Integer FWidth;
    Integer FHeight;
    std::vector<TRgb> FPixels;
};
