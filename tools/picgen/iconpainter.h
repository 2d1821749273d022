// Small pictures with alpha, painted with smooth edges: every shape is
// sampled 4 x 4 times per pixel and laid over what is there by the part of
// the pixel it covers, in premultiplied colour. Shapes are given in design
// units; a scale maps them to pixels, so one design serves several sizes.
// Fixed-order arithmetic only: the same calls give the same pixels.
#pragma once

#include <functional>
#include <vector>

#include "platform/gdi/imagedata.h"

struct TPointF {
    double X = 0;
    double Y = 0;
};

// A colour from 0xRRGGBB with an opacity, or a vertical gradient between two
// such colours from AFromY to AToY (design units).
struct TPaint {
    Cardinal Top = 0;
    Cardinal Bottom = 0;
    double FromY = 0;
    double ToY = 0;
    double Alpha = 1;
};
TPaint Solid(Cardinal ARgb, double AAlpha = 1);
TPaint Gradient(Cardinal ATop, Cardinal ABottom, double AFromY, double AToY);

class TIconPainter {
public:
    // AWidth x AHeight pixels, fully transparent; a design unit is AScale pixels.
    TIconPainter(Integer AWidth, Integer AHeight, double AScale);

    void FillRect(double ALeft, double ATop, double ARight, double ABottom, const TPaint& APaint);
    void FillRoundRect(double ALeft, double ATop, double ARight, double ABottom, double ARadius,
                       const TPaint& APaint);
    // The outline, AWidth wide, inside the rectangle.
    void StrokeRoundRect(double ALeft, double ATop, double ARight, double ABottom, double ARadius,
                         double AWidth, const TPaint& APaint);
    void FillEllipse(double ACentreX, double ACentreY, double ARadiusX, double ARadiusY,
                     const TPaint& APaint);
    // A ring between two radii.
    void FillRing(double ACentreX, double ACentreY, double AOuter, double AInner, const TPaint& APaint);
    void FillPolygon(const std::vector<TPointF>& APoints, const TPaint& APaint);
    void StrokePolygon(const std::vector<TPointF>& APoints, double AWidth, const TPaint& APaint);
    // A stroke with round ends.
    void Line(double X1, double Y1, double X2, double Y2, double AWidth, const TPaint& APaint);
    // A circular arc from AFrom to ATo degrees (0 = right, clockwise, as y grows down).
    void Arc(double ACentreX, double ACentreY, double ARadius, double AFrom, double ATo, double AWidth,
             const TPaint& APaint);

    // Later shapes: a design unit is AScale pixels, and the design's origin
    // lies at the pixel AX, AY (designs side by side, or inside a larger one).
    void Place(Integer AX, Integer AY, double AScale);

    // Straight B, G, R, A.
    TImageData Image() const;

private:
    struct TPixel {
        double R = 0, G = 0, B = 0, A = 0;  // premultiplied
    };
    // Lays APaint over the pixels that the design-unit box holds, by the
    // share of samples AInside accepts.
    void Cover(double ALeft, double ATop, double ARight, double ABottom, const TPaint& APaint,
               const std::function<bool(double, double)>& AInside);

    Integer FWidth;
    Integer FHeight;
    double FScale;
    Integer FOriginX = 0;
    Integer FOriginY = 0;
    std::vector<TPixel> FPixels;
};
