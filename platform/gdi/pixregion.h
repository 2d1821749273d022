// A pixman region with value semantics: the shape behind HRGN and every clip.
#pragma once

#include <pixman.h>

#include <span>

#include "platform/gdi/gditypes.h"

namespace gdi {

class PixRegion {
  public:
    PixRegion() { pixman_region32_init(&FRegion); }
    explicit PixRegion(const win::RECT& ARect);
    PixRegion(const PixRegion& AOther);
    PixRegion(PixRegion&& AOther) noexcept;
    PixRegion& operator=(const PixRegion& AOther);
    PixRegion& operator=(PixRegion&& AOther) noexcept;
    ~PixRegion() { pixman_region32_fini(&FRegion); }

    // Empty rectangles are skipped.
    static PixRegion FromRects(std::span<const win::RECT> ARects);

    pixman_region32_t* Get() { return &FRegion; }
    const pixman_region32_t* Get() const { return &FRegion; }

    bool Empty() const { return !pixman_region32_not_empty(&FRegion); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    win::RECT Bounds() const;
    std::span<const pixman_box32_t> Boxes() const;
    bool Contains(int X, int Y) const;

    void Intersect(const PixRegion& AOther);
    void Intersect(const win::RECT& ARect);
    void Unite(const PixRegion& AOther);
    void Subtract(const PixRegion& AOther);
    void Xor(const PixRegion& AOther);
    // Whatever leaves the platform's coordinate space is cut off.
    void Offset(int ADx, int ADy);
    void Clear();

    friend bool operator==(const PixRegion& A, const PixRegion& B);

  private:
    pixman_region32_t FRegion;
};

}  // namespace gdi
