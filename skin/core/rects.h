// Rectangle arithmetic shared by the raster units of the skin library.
#pragma once

#include <algorithm>

#include "platform/toolkit/geometry.h"

namespace qxrects {

inline bool IsEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

// May come out empty.
inline TRect Intersect(const TRect& A, const TRect& B) {
    return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
}

inline TRect Offset(const TRect& R, Integer ADx, Integer ADy) {
    return {R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy};
}

}  // namespace qxrects
