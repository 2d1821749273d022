#include "platform/gdi/imagedata.h"

void CheckImageSize(Int64 AWidth, Int64 AHeight, const char* AFormat) {
    if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic(u"%s image is not valid (negative size)", {AFormat});
    if (AWidth > MaxImageDimension || AHeight > MaxImageDimension || AWidth * AHeight > MaxImagePixels)
        throw EInvalidGraphic(u"%s image is too large (%d x %d)", {AFormat, AWidth, AHeight});
}

TImageData::TImageData(Integer AWidth, Integer AHeight) {
    CheckImageSize(AWidth, AHeight, "The");
    FWidth = AWidth;
    FHeight = AHeight;
    FPixels.assign(static_cast<size_t>(AWidth) * AHeight * 4, 0);
}
