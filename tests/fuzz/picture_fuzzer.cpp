// The libFuzzer target of one picture reader, chosen when it is built:
// FUZZ_BMP, FUZZ_PNG, FUZZ_GIF or FUZZ_JPEG. Damaged input may raise
// EInvalidGraphic and nothing else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/gifcodec.h"
#include "platform/gdi/jpegcodec.h"
#include "platform/gdi/pngcodec.h"

namespace {

void Read(std::span<const Byte> AData) {
#if defined(FUZZ_BMP)
    BmpFileLength(AData.first(std::min(AData.size(), BmpProbeSize)), AData.size());
    DecodeBmp(AData);
#elif defined(FUZZ_PNG)
    DecodePng(AData);
#elif defined(FUZZ_GIF)
    DecodeGif(AData);
#elif defined(FUZZ_JPEG)
    DecodeJpeg(AData);
#else
#error "no reader chosen"
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    try {
        Read({AData, ASize});
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
