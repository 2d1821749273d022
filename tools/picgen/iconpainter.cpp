#include "iconpainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Samples = 4;

double Channel(Cardinal ARgb, int AShift) {
    return ((ARgb >> AShift) & 0xFF) / 255.0;
}

// The distance of P from the segment A-B.
double SegmentDistance(TPointF P, TPointF A, TPointF B) {
    const double dx = B.X - A.X, dy = B.Y - A.Y;
    const double length = dx * dx + dy * dy;
    double t = length == 0 ? 0 : ((P.X - A.X) * dx + (P.Y - A.Y) * dy) / length;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = A.X + t * dx - P.X, ey = A.Y + t * dy - P.Y;
    return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(const std::vector<TPointF>& APoints, double X, double Y) {
    bool inside = false;
    for (size_t i = 0, j = APoints.size() - 1; i < APoints.size(); j = i++) {
        const TPointF& a = APoints[i];
        const TPointF& b = APoints[j];
        if ((a.Y > Y) != (b.Y > Y) && X < (b.X - a.X) * (Y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside;
}

bool InsideRoundRect(double L, double T, double R, double B, double ARadius, double X, double Y) {
    if (X < L || X > R || Y < T || Y > B) return false;
    const double cx = std::clamp(X, L + ARadius, R - ARadius), cy = std::clamp(Y, T + ARadius, B - ARadius);
    return (X - cx) * (X - cx) + (Y - cy) * (Y - cy) <= ARadius * ARadius;
}

struct TBox {
    double Left, Top, Right, Bottom;
};

TBox BoundsOf(const std::vector<TPointF>& APoints) {
    TBox box{APoints[0].X, APoints[0].Y, APoints[0].X, APoints[0].Y};
    for (const TPointF& p : APoints) {
        box.Left = std::min(box.Left, p.X), box.Top = std::min(box.Top, p.Y);
        box.Right = std::max(box.Right, p.X), box.Bottom = std::max(box.Bottom, p.Y);
    }
    return box;
}

}  // namespace

TPaint Solid(Cardinal ARgb, double AAlpha) {
    return {ARgb, ARgb, 0, 0, AAlpha};
}

TPaint Gradient(Cardinal ATop, Cardinal ABottom, double AFromY, double AToY) {
    return {ATop, ABottom, AFromY, AToY, 1};
}

TIconPainter::TIconPainter(Integer AWidth, Integer AHeight, double AScale)
    : FWidth(AWidth), FHeight(AHeight), FScale(AScale), FPixels(size_t(AWidth) * size_t(AHeight)) {}

void TIconPainter::Cover(double ALeft, double ATop, double ARight, double ABottom, const TPaint& APaint,
                         const std::function<bool(double, double)>& AInside) {
    const Integer x0 = std::max(0, Integer(std::floor(ALeft * FScale)) + FOriginX);
    const Integer y0 = std::max(0, Integer(std::floor(ATop * FScale)) + FOriginY);
    const Integer x1 = std::min(FWidth, Integer(std::ceil(ARight * FScale)) + FOriginX);
    const Integer y1 = std::min(FHeight, Integer(std::ceil(ABottom * FScale)) + FOriginY);
    for (Integer py = y0; py < y1; ++py) {
        for (Integer px = x0; px < x1; ++px) {
            int hits = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx)
                    hits += AInside((px - FOriginX + (sx + 0.5) / Samples) / FScale,
                                    (py - FOriginY + (sy + 0.5) / Samples) / FScale);
            if (hits == 0) continue;
            const double y = (py - FOriginY + 0.5) / FScale;
            const double t = APaint.ToY > APaint.FromY
                                 ? std::clamp((y - APaint.FromY) / (APaint.ToY - APaint.FromY), 0.0, 1.0)
                                 : 0.0;
            const double a = APaint.Alpha * hits / (Samples * Samples);
            TPixel& p = FPixels[size_t(py) * size_t(FWidth) + size_t(px)];
            const auto lay = [&](double& AChannel, int AShift) {
                const double c = Channel(APaint.Top, AShift) * (1 - t) + Channel(APaint.Bottom, AShift) * t;
                AChannel = c * a + AChannel * (1 - a);
            };
            lay(p.R, 16);
            lay(p.G, 8);
            lay(p.B, 0);
            p.A = a + p.A * (1 - a);
        }
    }
}

void TIconPainter::FillRect(double ALeft, double ATop, double ARight, double ABottom, const TPaint& APaint) {
    Cover(ALeft, ATop, ARight, ABottom, APaint,
          [&](double X, double Y) { return X >= ALeft && X < ARight && Y >= ATop && Y < ABottom; });
}

void TIconPainter::FillRoundRect(double ALeft, double ATop, double ARight, double ABottom, double ARadius,
                                 const TPaint& APaint) {
    Cover(ALeft, ATop, ARight, ABottom, APaint,
          [&](double X, double Y) { return InsideRoundRect(ALeft, ATop, ARight, ABottom, ARadius, X, Y); });
}

void TIconPainter::StrokeRoundRect(double ALeft, double ATop, double ARight, double ABottom, double ARadius,
                                   double AWidth, const TPaint& APaint) {
    Cover(ALeft, ATop, ARight, ABottom, APaint, [&](double X, double Y) {
        return InsideRoundRect(ALeft, ATop, ARight, ABottom, ARadius, X, Y) &&
               !InsideRoundRect(ALeft + AWidth, ATop + AWidth, ARight - AWidth, ABottom - AWidth,
                                std::max(0.0, ARadius - AWidth), X, Y);
    });
}

void TIconPainter::FillEllipse(double ACentreX, double ACentreY, double ARadiusX, double ARadiusY,
                               const TPaint& APaint) {
    Cover(ACentreX - ARadiusX, ACentreY - ARadiusY, ACentreX + ARadiusX, ACentreY + ARadiusY, APaint,
          [&](double X, double Y) {
              const double dx = (X - ACentreX) / ARadiusX, dy = (Y - ACentreY) / ARadiusY;
              return dx * dx + dy * dy <= 1;
          });
}

void TIconPainter::FillRing(double ACentreX, double ACentreY, double AOuter, double AInner,
                            const TPaint& APaint) {
    Cover(ACentreX - AOuter, ACentreY - AOuter, ACentreX + AOuter, ACentreY + AOuter, APaint,
          [&](double X, double Y) {
              const double d = (X - ACentreX) * (X - ACentreX) + (Y - ACentreY) * (Y - ACentreY);
              return d <= AOuter * AOuter && d >= AInner * AInner;
          });
}

void TIconPainter::FillPolygon(const std::vector<TPointF>& APoints, const TPaint& APaint) {
    const TBox box = BoundsOf(APoints);
    Cover(box.Left, box.Top, box.Right, box.Bottom, APaint,
          [&](double X, double Y) { return InsidePolygon(APoints, X, Y); });
}

void TIconPainter::StrokePolygon(const std::vector<TPointF>& APoints, double AWidth, const TPaint& APaint) {
    const TBox box = BoundsOf(APoints);
    const double h = AWidth / 2;
    Cover(box.Left - h, box.Top - h, box.Right + h, box.Bottom + h, APaint, [&](double X, double Y) {
        for (size_t i = 0, j = APoints.size() - 1; i < APoints.size(); j = i++)
            if (SegmentDistance({X, Y}, APoints[j], APoints[i]) <= h) return true;
        return false;
    });
}

void TIconPainter::Line(double X1, double Y1, double X2, double Y2, double AWidth, const TPaint& APaint) {
    const double h = AWidth / 2;
    Cover(std::min(X1, X2) - h, std::min(Y1, Y2) - h, std::max(X1, X2) + h, std::max(Y1, Y2) + h, APaint,
          [&](double X, double Y) {
              return SegmentDistance({X, Y}, {X1, Y1}, {X2, Y2}) <= h;
          });
}

void TIconPainter::Arc(double ACentreX, double ACentreY, double ARadius, double AFrom, double ATo,
                       double AWidth, const TPaint& APaint) {
    const double h = AWidth / 2;
    const double from = AFrom * std::numbers::pi / 180, to = ATo * std::numbers::pi / 180;
    const TPointF start{ACentreX + ARadius * std::cos(from), ACentreY + ARadius * std::sin(from)};
    const TPointF end{ACentreX + ARadius * std::cos(to), ACentreY + ARadius * std::sin(to)};
    const double reach = ARadius + h;
    Cover(ACentreX - reach, ACentreY - reach, ACentreX + reach, ACentreY + reach, APaint,
          [&](double X, double Y) {
              double angle = std::atan2(Y - ACentreY, X - ACentreX);
              while (angle < from)
                  angle += 2 * std::numbers::pi;
              const double d = std::hypot(X - ACentreX, Y - ACentreY);
              if (angle <= to && std::abs(d - ARadius) <= h) return true;
              return std::hypot(X - start.X, Y - start.Y) <= h || std::hypot(X - end.X, Y - end.Y) <= h;
          });
}

void TIconPainter::Place(Integer AX, Integer AY, double AScale) {
    FOriginX = AX;
    FOriginY = AY;
    FScale = AScale;
}

TImageData TIconPainter::Image() const {
    TImageData image(FWidth, FHeight);
    image.HasAlpha = true;
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* out = image.ScanLine(y);
        for (Integer x = 0; x < FWidth; ++x, out += 4) {
            const TPixel& p = FPixels[size_t(y) * size_t(FWidth) + size_t(x)];
            const auto byte = [](double v) { return Byte(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
            out[3] = byte(p.A);
            if (out[3] == 0) {
                out[0] = out[1] = out[2] = 0;
                continue;
            }
            out[0] = byte(p.B / p.A);
            out[1] = byte(p.G / p.A);
            out[2] = byte(p.R / p.A);
        }
    }
    return image;
}
