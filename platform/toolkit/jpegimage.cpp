#include "platform/toolkit/jpegimage.h"

#include <algorithm>

void TJPEGImage::SetCompressionQuality(Integer AValue) {
    AValue = std::clamp(AValue, 1, 100);
    if (AValue == FCompressionQuality) return;
    FCompressionQuality = AValue;
    SettingsChanged();
}
