#include "platform/gdi/paint.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/dc.h"

namespace gdi {

Pixel SolidPixel(const Surface& ASurface, win::COLORREF AColor) {
    return NearestPixel(ASurface, ColorToPixel(AColor & ColorMask));
}

void FillRegion(const Surface& S, const PixRegion& ARegion, Pixel APixel) {
    std::vector<Pixel> row;
    for (const pixman_box32_t& box : ARegion.Boxes()) {
        const int n = box.x2 - box.x1;
        if (S.BitsPerPixel == 32) {
            for (int y = box.y1; y < box.y2; ++y)
                std::fill_n(S.Row32(y) + box.x1, n, APixel);
            continue;
        }
        row.assign(size_t(n), APixel);
        for (int y = box.y1; y < box.y2; ++y)
            StoreRow(S, box.x1, y, n, row.data());
    }
}

Pixel Rop2(Pixel APen, Pixel ADest, int ARop2) {
    // The low four bits of (code - 1) are the result for (pen, dest) =
    // (0, 0), (0, 1), (1, 0), (1, 1).
    const unsigned table = unsigned(ARop2 - 1);
    Pixel result = 0;
    if (table & 1) result |= ~APen & ~ADest;
    if (table & 2) result |= ~APen & ADest;
    if (table & 4) result |= APen & ~ADest;
    if (table & 8) result |= APen & ADest;
    return result;
}

void FillRegionRop2(const Surface& S, const PixRegion& ARegion, Pixel APen, int ARop2) {
    if (ARop2 == win::R2_COPYPEN) return FillRegion(S, ARegion, APen);
    if (ARop2 == win::R2_NOP) return;
    std::vector<Pixel> row;
    for (const pixman_box32_t& box : ARegion.Boxes()) {
        const int n = box.x2 - box.x1;
        row.resize(size_t(n));
        for (int y = box.y1; y < box.y2; ++y) {
            FetchRow(S, box.x1, y, n, row.data());
            for (Pixel& p : row)
                p = Rop2(APen, p, ARop2);
            StoreRow(S, box.x1, y, n, row.data());
        }
    }
}

}  // namespace gdi
