#include "platform/gdi/icocodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/bytefields.h"
#include "platform/gdi/pngcodec.h"

namespace {

constexpr size_t DirectorySize = 6;
constexpr size_t EntrySize = 16;
constexpr size_t BmpFileHeaderSize = 14;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
constexpr Byte PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

constexpr const char16_t* InvalidText = u"Icon image is not valid";

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(InvalidText);
}

struct TEntry {
    Integer Width = 0;
    Integer Height = 0;
    uint32_t BitCount = 0;
    std::span<const Byte> Data;
};

TEntry ReadEntry(std::span<const Byte> AData, size_t AAt) {
    const TByteFields in(AData, InvalidText);
    TEntry entry;
    // A size byte of 0 stands for 256.
    entry.Width = AData[AAt] == 0 ? 256 : AData[AAt];
    entry.Height = AData[AAt + 1] == 0 ? 256 : AData[AAt + 1];
    entry.BitCount = in.Read16(AAt + 6);
    const uint32_t size = in.Read32(AAt + 8);
    const uint32_t offset = in.Read32(AAt + 12);
    if (offset > AData.size() || size > AData.size() - offset || size == 0) Invalid();
    entry.Data = AData.subspan(offset, size);
    return entry;
}

// A bitmap of the directory: its header's size less the AND mask's rows;
// the colours through the bitmap reader, the mask read here.
TImageData DecodeDib(std::span<const Byte> ADib) {
    const TByteFields in(ADib, InvalidText);
    const uint32_t infoSize = in.Read32(0);
    if (infoSize < 40 || infoSize > ADib.size()) Invalid();
    const int32_t width = in.ReadI32(4);
    const int32_t doubled = in.ReadI32(8);
    const uint32_t bitCount = in.Read16(14);
    const uint32_t compression = in.Read32(16);
    if (width <= 0 || doubled <= 0 || doubled % 2 != 0) Invalid();
    const int32_t height = doubled / 2;
    CheckImageSize(width, height, "Icon");
    size_t pixelStart = infoSize;
    if (infoSize == 40 && compression == BI_BITFIELDS) pixelStart += 12;
    if (infoSize == 40 && compression == BI_ALPHABITFIELDS) pixelStart += 16;
    if (bitCount <= 8) {
        const uint32_t used = in.Read32(32);
        const size_t entries = size_t{1} << std::min<uint32_t>(bitCount, 8);
        pixelStart += 4 * (used != 0 && used < entries ? used : entries);
    }
    const size_t colourStride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    const size_t maskStart = pixelStart + colourStride * static_cast<size_t>(height);

    // The bitmap reader takes a file: a file header in front, the height halved.
    std::vector<Byte> file(BmpFileHeaderSize + ADib.size());
    file[0] = 'B';
    file[1] = 'M';
    const auto put32 = [&](size_t AAt, uint32_t AValue) {
        for (size_t i = 0; i < 4; ++i)
            file[AAt + i] = static_cast<Byte>(AValue >> (8 * i));
    };
    put32(2, static_cast<uint32_t>(file.size()));
    std::memcpy(file.data() + BmpFileHeaderSize, ADib.data(), ADib.size());
    put32(10, static_cast<uint32_t>(BmpFileHeaderSize + pixelStart));
    put32(BmpFileHeaderSize + 8, static_cast<uint32_t>(height));
    TImageData image = DecodeBmp(file);

    bool anyAlpha = false;
    if (image.HasAlpha)
        for (Integer y = 0; y < image.Height() && !anyAlpha; ++y)
            for (Integer x = 0; x < image.Width() && !anyAlpha; ++x)
                anyAlpha = image.ScanLine(y)[4 * x + 3] != 0;
    if (!anyAlpha) {
        // Old pictures carry their transparency in the mask; one without a
        // whole mask is taken as opaque.
        const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
        const bool hasMask =
            maskStart <= ADib.size() && ADib.size() - maskStart >= maskStride * static_cast<size_t>(height);
        for (Integer y = 0; y < image.Height(); ++y) {
            Byte* row = image.ScanLine(y);
            const Byte* mask =
                hasMask ? ADib.data() + maskStart + maskStride * size_t(height - 1 - y) : nullptr;
            for (Integer x = 0; x < image.Width(); ++x) {
                const bool transparent = mask && (mask[x / 8] >> (7 - x % 8)) & 1;
                row[4 * x + 3] = transparent ? 0 : 255;
            }
        }
    }
    image.HasAlpha = true;
    return image;
}

}  // namespace

TImageData DecodeIco(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    if (in.Read16(0) != 0 || in.Read16(2) != 1) Invalid();
    const size_t count = in.Read16(4);
    if (count == 0 || AData.size() < DirectorySize + count * EntrySize) Invalid();
    TEntry best;
    for (size_t i = 0; i < count; ++i) {
        const TEntry entry = ReadEntry(AData, DirectorySize + i * EntrySize);
        const Int64 area = Int64{entry.Width} * entry.Height, bestArea = Int64{best.Width} * best.Height;
        if (area > bestArea || (area == bestArea && entry.BitCount > best.BitCount)) best = entry;
    }
    try {
        if (best.Data.size() >= sizeof PngSignature &&
            std::equal(PngSignature, PngSignature + 8, best.Data.begin())) {
            TImageData image = DecodePng(best.Data);
            image.HasAlpha = true;
            return image;
        }
        return DecodeDib(best.Data);
    } catch (const EInvalidGraphic&) {
        Invalid();
    }
}
