#include "skinpainter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Samples = 4;

double Linear(Byte AChannel) {
    const double c = AChannel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(TRgb AColor) {
    return 0.2126 * Linear(AColor.R) + 0.7152 * Linear(AColor.G) + 0.0722 * Linear(AColor.B);
}

Byte Blend(Byte AFrom, Byte ATo, double AAmount) {
    return Byte(std::lround(AFrom + (ATo - AFrom) * AAmount));
}

// Signed distance from (X, Y) to a rectangle with round corners; negative inside.
double RoundRectDistance(double X, double Y, double ALeft, double ATop, double ARight, double ABottom,
                         double ARadius) {
    const double cx = (ALeft + ARight) / 2, cy = (ATop + ABottom) / 2;
    const double hx = (ARight - ALeft) / 2 - ARadius, hy = (ABottom - ATop) / 2 - ARadius;
    const double qx = std::abs(X - cx) - hx, qy = std::abs(Y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - ARadius;
}

double SegmentDistance(double X, double Y, double X1, double Y1, double X2, double Y2) {
    const double dx = X2 - X1, dy = Y2 - Y1;
    const double length = dx * dx + dy * dy;
    const double t = length == 0 ? 0 : std::clamp(((X - X1) * dx + (Y - Y1) * dy) / length, 0.0, 1.0);
    return std::hypot(X - (X1 + t * dx), Y - (Y1 + t * dy));
}

}  // namespace

TRgb Mix(TRgb AFrom, TRgb ATo, double AAmount) {
    return {Blend(AFrom.R, ATo.R, AAmount), Blend(AFrom.G, ATo.G, AAmount), Blend(AFrom.B, ATo.B, AAmount)};
}

double ContrastRatio(TRgb A, TRgb B) {
    const double la = Luminance(A), lb = Luminance(B);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TSkinPainter::TSkinPainter(Integer AWidth, Integer AHeight, TRgb ABackground)
    : FWidth(AWidth), FHeight(AHeight), FPixels(size_t(AWidth * AHeight), ABackground) {}

void TSkinPainter::SetPixel(Integer X, Integer Y, TRgb AColor) {
    if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) FPixels[size_t(Y * FWidth + X)] = AColor;
}

void TSkinPainter::Fill(const TRect& ARect, TRgb AColor) {
    for (Integer y = std::max(ARect.Top, 0); y < std::min(ARect.Bottom, FHeight); ++y)
        for (Integer x = std::max(ARect.Left, 0); x < std::min(ARect.Right, FWidth); ++x)
            FPixels[size_t(y * FWidth + x)] = AColor;
}

void TSkinPainter::FillVertical(const TRect& ARect, TRgb ATop, TRgb ABottom) {
    const Integer span = std::max(1, ARect.Height() - 1);
    for (Integer y = ARect.Top; y < ARect.Bottom; ++y)
        Fill(Rect(ARect.Left, y, ARect.Right, y + 1), Mix(ATop, ABottom, double(y - ARect.Top) / span));
}

TRect TSkinPainter::Bounds(double ALeft, double ATop, double ARight, double ABottom) const {
    return {std::max(0, Integer(std::floor(ALeft))), std::max(0, Integer(std::floor(ATop))),
            std::min(FWidth, Integer(std::ceil(ARight))), std::min(FHeight, Integer(std::ceil(ABottom)))};
}

void TSkinPainter::Cover(const TRect& ABounds, TRgb AColor, double AAlpha,
                         const std::function<bool(double, double)>& AInside) {
    for (Integer y = ABounds.Top; y < ABounds.Bottom; ++y) {
        for (Integer x = ABounds.Left; x < ABounds.Right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx)
                    hits += AInside(x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples) ? 1 : 0;
            if (hits == 0) continue;
            TRgb& pixel = FPixels[size_t(y * FWidth + x)];
            pixel = Mix(pixel, AColor, AAlpha * hits / (Samples * Samples));
        }
    }
}

void TSkinPainter::FillRoundRect(const TRect& ARect, double ARadius, TRgb AColor, double AAlpha) {
    const double l = ARect.Left, t = ARect.Top, r = ARect.Right, b = ARect.Bottom;
    Cover(Bounds(l, t, r, b), AColor, AAlpha,
          [=](double X, double Y) { return RoundRectDistance(X, Y, l, t, r, b, ARadius) <= 0; });
}

void TSkinPainter::StrokeRoundRect(const TRect& ARect, double ARadius, double AWidth, TRgb AColor,
                                   double AAlpha) {
    const double l = ARect.Left, t = ARect.Top, r = ARect.Right, b = ARect.Bottom;
    const double inner = std::max(0.0, ARadius - AWidth);
    Cover(Bounds(l, t, r, b), AColor, AAlpha, [=](double X, double Y) {
        return RoundRectDistance(X, Y, l, t, r, b, ARadius) <= 0 &&
               RoundRectDistance(X, Y, l + AWidth, t + AWidth, r - AWidth, b - AWidth, inner) > 0;
    });
}

void TSkinPainter::FillTopRoundRect(const TRect& ARect, double ARadius, TRgb AColor) {
    const double l = ARect.Left, t = ARect.Top, r = ARect.Right, b = ARect.Bottom;
    Cover(Bounds(l, t, r, b), AColor, 1, [=](double X, double Y) {
        // The bottom corners are square: extend the shape below its bottom.
        return RoundRectDistance(X, Y, l, t, r, b + ARadius, ARadius) <= 0 && Y < b;
    });
}

void TSkinPainter::FillCircle(double ACentreX, double ACentreY, double ARadius, TRgb AColor) {
    Cover(Bounds(ACentreX - ARadius, ACentreY - ARadius, ACentreX + ARadius, ACentreY + ARadius), AColor, 1,
          [=](double X, double Y) { return std::hypot(X - ACentreX, Y - ACentreY) <= ARadius; });
}

void TSkinPainter::StrokeCircle(double ACentreX, double ACentreY, double ARadius, double AWidth,
                                TRgb AColor) {
    Cover(Bounds(ACentreX - ARadius, ACentreY - ARadius, ACentreX + ARadius, ACentreY + ARadius), AColor, 1,
          [=](double X, double Y) {
              const double d = std::hypot(X - ACentreX, Y - ACentreY);
              return d <= ARadius && d > ARadius - AWidth;
          });
}

void TSkinPainter::Line(double X1, double Y1, double X2, double Y2, double AWidth, TRgb AColor) {
    const double h = AWidth / 2;
    Cover(Bounds(std::min(X1, X2) - h, std::min(Y1, Y2) - h, std::max(X1, X2) + h, std::max(Y1, Y2) + h),
          AColor, 1, [=](double X, double Y) { return SegmentDistance(X, Y, X1, Y1, X2, Y2) <= h; });
}

void TSkinPainter::Polyline(const std::vector<TPointF>& APoints, double AWidth, TRgb AColor) {
    if (APoints.empty()) return;
    const double h = AWidth / 2;
    double l = APoints[0].X, t = APoints[0].Y, r = l, b = t;
    for (const TPointF& p : APoints) {
        l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
    }
    // One pass over the whole stroke, so joints are not covered twice.
    Cover(Bounds(l - h, t - h, r + h, b + h), AColor, 1, [&](double X, double Y) {
        for (size_t i = 1; i < APoints.size(); ++i)
            if (SegmentDistance(X, Y, APoints[i - 1].X, APoints[i - 1].Y, APoints[i].X, APoints[i].Y) <= h)
                return true;
        return false;
    });
}

void TSkinPainter::FillPolygon(const std::vector<TPointF>& APoints, TRgb AColor) {
    if (APoints.size() < 3) return;
    double l = APoints[0].X, t = APoints[0].Y, r = l, b = t;
    for (const TPointF& p : APoints) {
        l = std::min(l, p.X), t = std::min(t, p.Y), r = std::max(r, p.X), b = std::max(b, p.Y);
    }
    Cover(Bounds(l, t, r, b), AColor, 1, [&](double X, double Y) {
        bool inside = false;
        for (size_t i = 0, j = APoints.size() - 1; i < APoints.size(); j = i++) {
            const TPointF& a = APoints[i];
            const TPointF& c = APoints[j];
            if ((a.Y > Y) != (c.Y > Y) && X < (c.X - a.X) * (Y - a.Y) / (c.Y - a.Y) + a.X) inside = !inside;
        }
        return inside;
    });
}

void TSkinPainter::Copy(const TSkinPainter& ASource, const TRect& ASourceRect, Integer X, Integer Y) {
    for (Integer y = 0; y < ASourceRect.Height(); ++y)
        for (Integer x = 0; x < ASourceRect.Width(); ++x)
            SetPixel(X + x, Y + y, ASource.Pixel(ASourceRect.Left + x, ASourceRect.Top + y));
}

std::unique_ptr<TBitmap> TSkinPainter::ToBitmap() const {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(FWidth, FHeight);
    for (Integer y = 0; y < FHeight; ++y) {
        auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
        for (Integer x = 0; x < FWidth; ++x) {
            const TRgb& p = FPixels[size_t(y * FWidth + x)];
            row[3 * x] = p.B;
            row[3 * x + 1] = p.G;
            row[3 * x + 2] = p.R;
        }
    }
    return bitmap;
}
