#include "platform/gdi/bmpcodec.h"

#include <algorithm>
#include <bit>

#include "platform/gdi/bytefields.h"

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
constexpr size_t FileHeaderSize = 14;
constexpr size_t CoreHeaderSize = 12;
constexpr size_t InfoHeaderSize = 40;

constexpr const char16_t* InvalidText = u"Bitmap image is not valid";

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(InvalidText);
}

struct THeader {
    uint32_t FileSize = 0;
    uint32_t OffBits = 0;
    uint32_t InfoSize = 0;
    Integer Width = 0;
    Integer Height = 0;
    bool TopDown = false;
    uint32_t BitCount = 0;
    uint32_t Compression = BI_RGB;

    bool Core() const { return InfoSize == CoreHeaderSize; }
    Int64 Stride() const { return (Int64{Width} * BitCount + 31) / 32 * 4; }
    // The last row may lack its padding.
    Int64 PixelEnd() const {
        if (Height == 0) return OffBits;
        return OffBits + Stride() * (Height - 1) + (Int64{Width} * BitCount + 7) / 8;
    }
};

// Reads no further than BmpProbeSize bytes.
THeader ParseHeader(const TByteFields& AIn) {
    THeader h;
    if (AIn.Read8(0) != 'B' || AIn.Read8(1) != 'M') Invalid();
    h.FileSize = AIn.Read32(2);
    h.OffBits = AIn.Read32(10);
    h.InfoSize = AIn.Read32(14);
    Int64 height;
    if (h.Core()) {
        h.Width = static_cast<Integer>(AIn.Read16(18));
        height = AIn.Read16(20);
        h.BitCount = AIn.Read16(24);
        if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24) Invalid();
    } else {
        if (h.InfoSize < InfoHeaderSize) Invalid();
        h.Width = AIn.ReadI32(18);
        height = AIn.ReadI32(22);
        h.BitCount = AIn.Read16(28);
        h.Compression = AIn.Read32(30);
        switch (h.BitCount) {
            case 1:
            case 4:
            case 8:
            case 24:
                if (h.Compression != BI_RGB) Invalid();
                break;
            case 16:
            case 32:
                if (h.Compression != BI_RGB && h.Compression != BI_BITFIELDS &&
                    h.Compression != BI_ALPHABITFIELDS)
                    Invalid();
                break;
            default:
                Invalid();
        }
    }
    if (h.Width < 0 || height == INT32_MIN) Invalid();
    h.TopDown = height < 0;
    h.Height = static_cast<Integer>(height < 0 ? -height : height);
    CheckImageSize(h.Width, h.Height, "Bitmap");
    if (h.OffBits < FileHeaderSize + h.InfoSize) Invalid();
    return h;
}

// One colour channel described by a bit-field mask, widened to 8 bits.
class TChannel {
public:
    TChannel(uint32_t AMask, Byte AAbsent) : FMask(AMask), FAbsent(AAbsent) {
        if (AMask == 0) return;
        FShift = std::countr_zero(AMask);
        FBits = std::bit_width(AMask >> FShift);
    }
    Byte Get(uint32_t APixel) const {
        if (FBits == 0) return FAbsent;
        uint32_t v = (APixel & FMask) >> FShift;
        if (FBits >= 8) return static_cast<Byte>(v >> (FBits - 8));
        uint32_t max = (1u << FBits) - 1;
        return static_cast<Byte>((v * 255 + max / 2) / max);
    }
    bool Present() const { return FBits != 0; }

private:
    uint32_t FMask;
    Byte FAbsent;
    int FShift = 0;
    int FBits = 0;
};

void PutU16(std::vector<Byte>& AOut, size_t APos, uint32_t AValue) {
    AOut[APos] = static_cast<Byte>(AValue);
    AOut[APos + 1] = static_cast<Byte>(AValue >> 8);
}

void PutU32(std::vector<Byte>& AOut, size_t APos, uint32_t AValue) {
    PutU16(AOut, APos, AValue & 0xFFFF);
    PutU16(AOut, APos + 2, AValue >> 16);
}

}  // namespace

size_t BmpFileLength(std::span<const Byte> AHead, size_t AAvailable) {
    THeader h = ParseHeader(TByteFields(AHead, InvalidText));
    Int64 end = std::max<Int64>(h.FileSize, h.OffBits + h.Stride() * h.Height);
    return static_cast<size_t>(std::min<Int64>(end, static_cast<Int64>(AAvailable)));
}

Int64 BmpPixelCount(std::span<const Byte> AHead) {
    const THeader h = ParseHeader(TByteFields(AHead, InvalidText));
    return Int64{h.Width} * h.Height;
}

TImageData DecodeBmp(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    THeader h = ParseHeader(in);
    if (h.PixelEnd() > static_cast<Int64>(AData.size())) Invalid();

    size_t tableStart = FileHeaderSize + h.InfoSize;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS) {
        // A plain info header is followed by the masks; later versions hold them.
        size_t count = h.Compression == BI_ALPHABITFIELDS || h.InfoSize >= 56 ? 4 : 3;
        for (size_t i = 0; i < count; ++i)
            masks[i] = in.Read32(FileHeaderSize + InfoHeaderSize + 4 * i);
        if (h.InfoSize == InfoHeaderSize) tableStart += 4 * count;
    } else if (h.BitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (h.OffBits < tableStart) Invalid();

    TImageData image(h.Width, h.Height);
    image.BitCount = static_cast<Integer>(h.BitCount);
    if (h.BitCount <= 8) {
        size_t entrySize = h.Core() ? 3 : 4;
        size_t count = size_t{1} << h.BitCount;
        uint32_t used = h.Core() ? 0 : in.Read32(FileHeaderSize + 32);
        if (used != 0) count = std::min<size_t>(count, used);
        // Some writers declare more entries than they leave room for.
        count = std::min(count, (h.OffBits - tableStart) / entrySize);
        image.Palette.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const Byte* e = in.At(tableStart + i * entrySize, 3);
            image.Palette[i] = e[0] | e[1] << 8 | e[2] << 16;
        }
    }

    TChannel blue(masks[2], 0), green(masks[1], 0), red(masks[0], 0), alpha(masks[3], 255);
    bool copyAlpha = h.BitCount == 32 && h.Compression == BI_RGB;
    image.HasAlpha = copyAlpha || alpha.Present();
    size_t stride = static_cast<size_t>(h.Stride());
    for (Integer row = 0; row < h.Height; ++row) {
        const Byte* src = AData.data() + h.OffBits + stride * row;
        Byte* dst = image.ScanLine(h.TopDown ? row : h.Height - 1 - row);
        for (Integer x = 0; x < h.Width; ++x, dst += 4) {
            switch (h.BitCount) {
                case 1:
                case 4:
                case 8: {
                    unsigned perByte = 8 / h.BitCount;
                    unsigned shift = 8 - h.BitCount * (x % perByte + 1);
                    size_t index = (src[x / perByte] >> shift) & ((1u << h.BitCount) - 1);
                    uint32_t c = index < image.Palette.size() ? image.Palette[index] : 0;
                    dst[0] = static_cast<Byte>(c);
                    dst[1] = static_cast<Byte>(c >> 8);
                    dst[2] = static_cast<Byte>(c >> 16);
                    dst[3] = 255;
                    break;
                }
                case 24:
                    std::copy_n(src + 3 * x, 3, dst);
                    dst[3] = 255;
                    break;
                default: {
                    const Byte* p = src + x * (h.BitCount / 8);
                    if (copyAlpha) {
                        std::copy_n(p, 4, dst);
                        break;
                    }
                    uint32_t v = p[0] | p[1] << 8;
                    if (h.BitCount == 32) v |= p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
                    dst[0] = blue.Get(v);
                    dst[1] = green.Get(v);
                    dst[2] = red.Get(v);
                    dst[3] = alpha.Get(v);
                }
            }
        }
    }
    return image;
}

std::vector<Byte> EncodeBmp(const TImageData& AImage, Integer ABitCount) {
    if (ABitCount != 24 && ABitCount != 32)
        throw EInvalidGraphic(u"Bitmaps are written with 24 or 32 bits per pixel, not %d", {ABitCount});
    const Integer w = AImage.Width(), h = AImage.Height();
    const size_t stride = (static_cast<size_t>(w) * ABitCount + 31) / 32 * 4;
    const size_t offBits = FileHeaderSize + InfoHeaderSize;
    const size_t imageSize = stride * h;
    std::vector<Byte> out(offBits + imageSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, static_cast<uint32_t>(out.size()));
    PutU32(out, 10, offBits);
    PutU32(out, 14, InfoHeaderSize);
    PutU32(out, 18, w);
    PutU32(out, 22, h);
    PutU16(out, 26, 1);
    PutU16(out, 28, ABitCount);
    PutU32(out, 34, static_cast<uint32_t>(imageSize));
    for (Integer row = 0; row < h; ++row) {
        const Byte* src = AImage.ScanLine(row);
        Byte* dst = out.data() + offBits + stride * (h - 1 - row);
        if (ABitCount == 32) {
            std::copy_n(src, 4 * static_cast<size_t>(w), dst);
            continue;
        }
        for (Integer x = 0; x < w; ++x)
            std::copy_n(src + 4 * x, 3, dst + 3 * x);
    }
    return out;
}
