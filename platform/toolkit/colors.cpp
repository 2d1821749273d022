#include "platform/toolkit/colors.h"

Integer ColorToRGB(TColor AColor) {
    if (AColor < 0) return static_cast<Integer>(win::GetSysColor(AColor & 0xFF));
    return AColor;
}
