#include "platform/gdi/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

using win::POINT;
using win::RECT;

std::vector<RECT> RoundRectRows(const RECT& R, int AWidth, int AHeight, int AFirstRow, int ALastRow) {
    const int width = R.right - R.left, height = R.bottom - R.top;
    const double rx = std::min(std::abs(AWidth), width) / 2.0, ry = std::min(std::abs(AHeight), height) / 2.0;
    const int first = std::max(R.top, AFirstRow), last = std::min(R.bottom, ALastRow);
    if (first >= last) return {};
    if (rx < 1 || ry < 1) return {{R.left, first, R.right, last}};
    std::vector<RECT> rows;
    const int cornerRows = std::min(int(std::ceil(ry)), (height + 1) / 2);
    const auto addRow = [&](int ARow, int AInset) {
        if (ARow >= first && ARow < last) rows.push_back({R.left + AInset, ARow, R.right - AInset, ARow + 1});
    };
    // Corner row k lies k rows in from the top and from the bottom; only the
    // k that reach the rows asked for are worked out.
    const auto cornerRow = [&](int k) {
        const double dy = ry - (k + 0.5);
        const double dx = dy > 0 ? rx * std::sqrt(std::max(0.0, 1 - (dy / ry) * (dy / ry))) : rx;
        const int inset = std::max(0, int(std::ceil(rx - dx - 0.5)));
        addRow(R.top + k, inset);
        if (R.bottom - 1 - k != R.top + k) addRow(R.bottom - 1 - k, inset);
    };
    for (int k = std::max(0, first - R.top); k < std::min(cornerRows, last - R.top); ++k)
        cornerRow(k);
    for (int k = std::max(0, R.bottom - last); k < std::min(cornerRows, R.bottom - first); ++k)
        if (k >= last - R.top || k < first - R.top) cornerRow(k);
    const int middleTop = std::max(first, R.top + cornerRows),
              middleBottom = std::min(last, R.bottom - cornerRows);
    if (middleTop < middleBottom) rows.push_back({R.left, middleTop, R.right, middleBottom});
    return rows;
}

namespace {

void AddPixel(std::vector<RECT>& ABoxes, int X, int Y) {
    // Pixels next to each other on a row join into one box.
    if (!ABoxes.empty()) {
        RECT& last = ABoxes.back();
        if (last.top == Y && last.bottom == Y + 1) {
            if (last.right == X) {
                ++last.right;
                return;
            }
            if (last.left == X + 1) {
                --last.left;
                return;
            }
        }
    }
    ABoxes.push_back({X, Y, X + 1, Y + 1});
}

// The steps i of [0, ACount) at which AStart + i * AStep lies in [ALow, AHigh).
void StepRange(int64_t AStart, int AStep, int64_t ACount, int64_t ALow, int64_t AHigh, int64_t& AFirst,
               int64_t& ALast) {
    if (AStep > 0) {
        AFirst = std::max<int64_t>(0, ALow - AStart);
        ALast = std::min<int64_t>(ACount, AHigh - AStart);
    } else {
        AFirst = std::max<int64_t>(0, AStart - (AHigh - 1));
        ALast = std::min<int64_t>(ACount, AStart - ALow + 1);
    }
}

}  // namespace

void AddLine(std::vector<RECT>& ABoxes, POINT A, POINT B, const RECT& ABounds) {
    const int64_t dx = int64_t(B.x) - A.x, dy = int64_t(B.y) - A.y;
    const int64_t adx = std::abs(dx), ady = std::abs(dy);
    if (adx == 0 && ady == 0) return;
    const bool xMajor = adx >= ady;
    const int64_t steps = xMajor ? adx : ady, minorSpan = xMajor ? ady : adx;
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1, minorStep = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const int64_t majorStart = xMajor ? A.x : A.y, minorStart = xMajor ? A.y : A.x;
    // Only the steps whose major coordinate lies inside the bounds matter.
    int64_t first, last;
    if (xMajor)
        StepRange(majorStart, majorStep, steps, ABounds.left, ABounds.right, first, last);
    else
        StepRange(majorStart, majorStep, steps, ABounds.top, ABounds.bottom, first, last);
    for (int64_t i = first; i < last; ++i) {
        // The minor offset rounded to nearest, halves away from A.
        const int64_t minor = minorStart + minorStep * ((2 * i * minorSpan + steps) / (2 * steps));
        const int64_t major = majorStart + majorStep * i;
        const int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x >= ABounds.left && x < ABounds.right && y >= ABounds.top && y < ABounds.bottom)
            AddPixel(ABoxes, int(x), int(y));
    }
}

std::vector<RECT> PolygonRows(const POINT* APoints, int ACount, bool AWinding, const RECT& ABounds) {
    std::vector<RECT> rows;
    if (ACount < 3) return rows;
    int64_t top = APoints[0].y, bottom = APoints[0].y;
    for (int i = 1; i < ACount; ++i) {
        top = std::min<int64_t>(top, APoints[i].y);
        bottom = std::max<int64_t>(bottom, APoints[i].y);
    }
    top = std::max<int64_t>(top, ABounds.top);
    bottom = std::min<int64_t>(bottom, ABounds.bottom);
    struct Crossing {
        double X;
        int Direction;
    };
    std::vector<Crossing> crossings;
    for (int64_t y = top; y < bottom; ++y) {
        const double cy = double(y) + 0.5;
        crossings.clear();
        for (int i = 0; i < ACount; ++i) {
            const POINT& a = APoints[i];
            const POINT& b = APoints[(i + 1) % ACount];
            if (a.y == b.y) continue;
            const bool down = b.y > a.y;
            const double y0 = down ? a.y : b.y, y1 = down ? b.y : a.y;
            if (cy < y0 || cy >= y1) continue;
            crossings.push_back({a.x + (cy - a.y) * double(b.x - a.x) / double(b.y - a.y), down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& p, const Crossing& q) { return p.X < q.X; });
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += crossings[k].Direction;
            const bool inside = AWinding ? winding != 0 : k % 2 == 0;
            if (!inside) continue;
            // Pixels whose centres lie in [left crossing, right crossing).
            const double from = std::max<double>(std::ceil(crossings[k].X - 0.5), ABounds.left);
            const double to = std::min<double>(std::ceil(crossings[k + 1].X - 0.5), ABounds.right);
            if (from < to) rows.push_back({int(from), int(y), int(to), int(y + 1)});
        }
    }
    return rows;
}

namespace {

PixRegion Shifted(const PixRegion& ARegion, int ADx, int ADy) {
    PixRegion r(ARegion);
    r.Offset(ADx, ADy);
    return r;
}

}  // namespace

PixRegion Border(const PixRegion& ARegion, int AWidth, int AHeight) {
    // The inside: pixels whose whole neighbourhood is in the region, eroding
    // one axis after the other.
    PixRegion inside(ARegion);
    for (int d = 1; d <= AWidth; ++d) {
        inside.Intersect(Shifted(ARegion, d, 0));
        inside.Intersect(Shifted(ARegion, -d, 0));
    }
    PixRegion rows(inside);
    for (int d = 1; d <= AHeight; ++d) {
        inside.Intersect(Shifted(rows, 0, d));
        inside.Intersect(Shifted(rows, 0, -d));
    }
    PixRegion border(ARegion);
    border.Subtract(inside);
    return border;
}

PixRegion Outline(const PixRegion& ARegion) {
    PixRegion inside(ARegion);
    for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
        inside.Intersect(Shifted(ARegion, dx, dy));
    PixRegion outline(ARegion);
    outline.Subtract(inside);
    return outline;
}

}  // namespace gdi
