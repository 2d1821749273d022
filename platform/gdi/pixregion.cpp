#include "platform/gdi/pixregion.h"

#include <algorithm>
#include <vector>

namespace gdi {

namespace {

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

bool IsEmptyRect(const win::RECT& R) {
    return R.right <= R.left || R.bottom <= R.top;
}

// Regions live in the 28-bit coordinate space of the platform, so that no
// width or offset computed from them can overflow.
constexpr int32_t CoordLimit = 1 << 27;

int32_t ClampCoord(int32_t AValue) {
    return std::clamp(AValue, -CoordLimit, CoordLimit);
}

win::RECT Clamped(const win::RECT& R) {
    return {ClampCoord(R.left), ClampCoord(R.top), ClampCoord(R.right), ClampCoord(R.bottom)};
}

}  // namespace

PixRegion::PixRegion(const win::RECT& AFrom) {
    const win::RECT ARect = Clamped(AFrom);
    if (IsEmptyRect(ARect))
        pixman_region32_init(&FRegion);
    else
        pixman_region32_init_rect(&FRegion, ARect.left, ARect.top, unsigned(ARect.right - ARect.left),
                                  unsigned(ARect.bottom - ARect.top));
}

PixRegion::PixRegion(const PixRegion& AOther) {
    pixman_region32_init(&FRegion);
    pixman_region32_copy(&FRegion, &AOther.FRegion);
}

PixRegion::PixRegion(PixRegion&& AOther) noexcept : PixRegion() {
    pixman_region32_copy(&FRegion, &AOther.FRegion);
}

PixRegion& PixRegion::operator=(const PixRegion& AOther) {
    if (this != &AOther) pixman_region32_copy(&FRegion, &AOther.FRegion);
    return *this;
}

PixRegion& PixRegion::operator=(PixRegion&& AOther) noexcept {
    return *this = static_cast<const PixRegion&>(AOther);
}

PixRegion PixRegion::FromRects(std::span<const win::RECT> ARects) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(ARects.size());
    for (const win::RECT& from : ARects) {
        const win::RECT r = Clamped(from);
        if (!IsEmptyRect(r)) boxes.push_back({r.left, r.top, r.right, r.bottom});
    }
    PixRegion result;
    pixman_region32_fini(&result.FRegion);
    pixman_region32_init_rects(&result.FRegion, boxes.data(), int(boxes.size()));
    return result;
}

int PixRegion::Kind() const {
    const int n = pixman_region32_n_rects(&FRegion);
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

win::RECT PixRegion::Bounds() const {
    if (Empty()) return {};
    const pixman_box32_t* e = pixman_region32_extents(&FRegion);
    return {e->x1, e->y1, e->x2, e->y2};
}

std::span<const pixman_box32_t> PixRegion::Boxes() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&FRegion, &n);
    return {boxes, size_t(n)};
}

bool PixRegion::Contains(int X, int Y) const {
    return pixman_region32_contains_point(&FRegion, X, Y, nullptr);
}

void PixRegion::Intersect(const PixRegion& AOther) {
    pixman_region32_intersect(&FRegion, &FRegion, &AOther.FRegion);
}

void PixRegion::Intersect(const win::RECT& AFrom) {
    const win::RECT ARect = Clamped(AFrom);
    if (IsEmptyRect(ARect))
        Clear();
    else
        pixman_region32_intersect_rect(&FRegion, &FRegion, ARect.left, ARect.top,
                                       unsigned(ARect.right - ARect.left),
                                       unsigned(ARect.bottom - ARect.top));
}

void PixRegion::Unite(const PixRegion& AOther) {
    pixman_region32_union(&FRegion, &FRegion, &AOther.FRegion);
}

void PixRegion::Subtract(const PixRegion& AOther) {
    pixman_region32_subtract(&FRegion, &FRegion, &AOther.FRegion);
}

void PixRegion::Xor(const PixRegion& AOther) {
    PixRegion both(*this);
    both.Intersect(AOther);
    Unite(AOther);
    Subtract(both);
}

void PixRegion::Offset(int ADx, int ADy) {
    // Coordinates stay within 2^27 and the step within 2^28, so the sum fits.
    pixman_region32_translate(&FRegion, std::clamp(ADx, -2 * CoordLimit, 2 * CoordLimit),
                              std::clamp(ADy, -2 * CoordLimit, 2 * CoordLimit));
    Intersect(win::RECT{-CoordLimit, -CoordLimit, CoordLimit, CoordLimit});
}

void PixRegion::Clear() {
    pixman_region32_fini(&FRegion);
    pixman_region32_init(&FRegion);
}

bool operator==(const PixRegion& A, const PixRegion& B) {
    return pixman_region32_equal(&A.FRegion, &B.FRegion);
}

}  // namespace gdi
