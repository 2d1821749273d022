#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gdi/bmpcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    std::span<const Byte> data(AData, ASize);
    try {
        DecodeBmp(data);
        BmpFileLength(data.first(std::min(data.size(), BmpProbeSize)), data.size());
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
