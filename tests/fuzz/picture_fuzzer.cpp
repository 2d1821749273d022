// The libFuzzer target of one picture reader, chosen when it is built:
// FUZZ_BMP, FUZZ_PNG, FUZZ_GIF, FUZZ_JPEG, FUZZ_ICO, FUZZ_WMF or FUZZ_EMF.
// Damaged input may raise EInvalidGraphic and nothing else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/gifcodec.h"
#include "platform/gdi/icocodec.h"
#include "platform/gdi/jpegcodec.h"
#include "platform/gdi/metafilecodec.h"
#include "platform/gdi/pngcodec.h"

#if defined(FUZZ_PNG)
#include <zlib.h>
#endif

namespace {

#if defined(FUZZ_PNG)
// Every chunk's CRC made right, as far as the chunks go: otherwise libpng
// refuses nearly every mutated chunk at its CRC, and the fuzzer never reaches
// the chunk readers. Only the fuzz input is mended; the reader is unchanged.
std::vector<Byte> WithChunkCrcs(std::span<const Byte> AData) {
    std::vector<Byte> bytes(AData.begin(), AData.end());
    const auto be32 = [&](size_t AAt) {
        return uint32_t(bytes[AAt]) << 24 | uint32_t(bytes[AAt + 1]) << 16 | uint32_t(bytes[AAt + 2]) << 8 |
               uint32_t(bytes[AAt + 3]);
    };
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = be32(at);
        if (length > bytes.size() - at - 12) break;
        const uLong crc = crc32(0, bytes.data() + at + 4, uInt(length + 4));
        for (int i = 0; i < 4; ++i)
            bytes[at + 8 + length + size_t(i)] = Byte(crc >> (24 - 8 * i));
        at += length + 12;
    }
    return bytes;
}
#endif

void Read(std::span<const Byte> AData) {
#if defined(FUZZ_BMP)
    BmpFileLength(AData.first(std::min(AData.size(), BmpProbeSize)), AData.size());
    DecodeBmp(AData);
#elif defined(FUZZ_PNG)
    DecodePng(WithChunkCrcs(AData));
#elif defined(FUZZ_GIF)
    DecodeGif(AData);
#elif defined(FUZZ_JPEG)
    DecodeJpeg(AData);
#elif defined(FUZZ_ICO)
    DecodeIco(AData);
#elif defined(FUZZ_WMF) || defined(FUZZ_EMF)
    // Played small: the records are what is read, not the pixels.
    const TMetafileInfo info = ProbeMetafile(AData);
    RenderMetafile(AData, std::min(info.Width, 64), std::min(info.Height, 64));
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
