// PNG files written chunk by chunk, for variants no encoder here writes:
// every colour type and bit depth, palettes, tRNS, Adam7.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "platform/base/types.h"

using TBytes = std::vector<Byte>;

inline void PutBE(TBytes& AOut, uint32_t AValue) {
    for (int shift = 24; shift >= 0; shift -= 8)
        AOut.push_back(static_cast<Byte>(AValue >> shift));
}

inline uint32_t GetBE(const Byte* AData) {
    return static_cast<uint32_t>(AData[0]) << 24 | AData[1] << 16 | AData[2] << 8 | AData[3];
}

inline void AddChunk(TBytes& AOut, const char* AType, const TBytes& AData) {
    PutBE(AOut, static_cast<uint32_t>(AData.size()));
    TBytes body(AType, AType + 4);
    body.insert(body.end(), AData.begin(), AData.end());
    AOut.insert(AOut.end(), body.begin(), body.end());
    PutBE(AOut, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

struct TPngFields {
    TPngFields(uint32_t AWidth, uint32_t AHeight, Byte ABitDepth, Byte AColorType, bool AInterlaced,
               std::vector<TBytes> AScanlines, TBytes APalette = {}, TBytes ATransparency = {})
        : Width(AWidth),
          Height(AHeight),
          BitDepth(ABitDepth),
          ColorType(AColorType),
          Interlaced(AInterlaced),
          Scanlines(std::move(AScanlines)),
          Palette(std::move(APalette)),
          Transparency(std::move(ATransparency)) {}

    uint32_t Width;
    uint32_t Height;
    Byte BitDepth;
    Byte ColorType;
    bool Interlaced;
    std::vector<TBytes> Scanlines;  // without filter bytes; for Adam7 in pass order
    TBytes Palette;                 // R, G, B entries
    TBytes Transparency;            // the tRNS chunk's data
};

// A PNG file written chunk by chunk, every row with filter type None.
inline TBytes BuildPng(const TPngFields& AFields) {
    TBytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TBytes header;
    PutBE(header, AFields.Width);
    PutBE(header, AFields.Height);
    header.insert(header.end(),
                  {AFields.BitDepth, AFields.ColorType, 0, 0, static_cast<Byte>(AFields.Interlaced)});
    AddChunk(out, "IHDR", header);
    if (!AFields.Palette.empty()) AddChunk(out, "PLTE", AFields.Palette);
    if (!AFields.Transparency.empty()) AddChunk(out, "tRNS", AFields.Transparency);
    TBytes raw;
    for (const TBytes& line : AFields.Scanlines) {
        raw.push_back(0);
        raw.insert(raw.end(), line.begin(), line.end());
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    TBytes packed(size);
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    AddChunk(out, "IDAT", packed);
    AddChunk(out, "IEND", {});
    return out;
}
