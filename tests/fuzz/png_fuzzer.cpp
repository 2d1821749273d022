#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gdi/pngcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    std::span<const Byte> data(AData, ASize);
    try {
        DecodePng(data);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
