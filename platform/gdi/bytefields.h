// Little-endian fields of a file in memory, for the picture readers: a
// field past the end means the file is damaged, which raises the reader's
// own EInvalidGraphic text.
#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/imagedata.h"

class TByteFields {
public:
    TByteFields(std::span<const Byte> AData, const char16_t* AError) : FData(AData), FError(AError) {}

    uint32_t Read8(size_t APos) const { return At(APos, 1)[0]; }
    uint32_t Read16(size_t APos) const {
        const Byte* p = At(APos, 2);
        return p[0] | p[1] << 8;
    }
    uint32_t Read32(size_t APos) const {
        const Byte* p = At(APos, 4);
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    int32_t ReadI16(size_t APos) const { return static_cast<int16_t>(Read16(APos)); }
    int32_t ReadI32(size_t APos) const { return static_cast<int32_t>(Read32(APos)); }
    // ACount bytes from APos.
    const Byte* At(size_t APos, size_t ACount) const {
        if (APos > FData.size() || ACount > FData.size() - APos) throw EInvalidGraphic(FError);
        return FData.data() + APos;
    }

private:
    std::span<const Byte> FData;
    const char16_t* FError;
};
