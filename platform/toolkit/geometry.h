// Points, sizes and rectangles as the toolkit writes them; the same layouts
// as the drawing layer's POINT, SIZE and RECT.
#pragma once

#include "platform/base/types.h"
#include "platform/gdi/gditypes.h"

struct TPoint {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    Integer cx = 0;
    Integer cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom lie outside the rectangle.
struct TRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;

    Integer Width() const { return Right - Left; }
    Integer Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(Integer X, Integer Y) {
    return {X, Y};
}
inline TRect Rect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
    return {ALeft, ATop, ARight, ABottom};
}
inline TRect Bounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    return {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}

inline win::RECT ToRECT(const TRect& ARect) {
    return {ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
}
inline TRect ToTRect(const win::RECT& ARect) {
    return {ARect.left, ARect.top, ARect.right, ARect.bottom};
}
