// Small icon files and metafiles written byte by byte, for the readers'
// tests and the picture previews: what is in them is plain to see here.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/pngcodec.h"

namespace picturefiles {

class TBytes {
public:
    TBytes& U16(uint32_t AValue) {
        for (int i = 0; i < 2; ++i)
            FData.push_back(Byte(AValue >> (8 * i)));
        return *this;
    }
    TBytes& U32(uint32_t AValue) {
        for (int i = 0; i < 4; ++i)
            FData.push_back(Byte(AValue >> (8 * i)));
        return *this;
    }
    TBytes& Add(const std::vector<Byte>& ABytes) {
        FData.insert(FData.end(), ABytes.begin(), ABytes.end());
        return *this;
    }
    void Set32(size_t AAt, uint32_t AValue) {
        for (int i = 0; i < 4; ++i)
            FData[AAt + size_t(i)] = Byte(AValue >> (8 * i));
    }
    size_t Size() const { return FData.size(); }
    const std::vector<Byte>& Data() const { return FData; }

private:
    std::vector<Byte> FData;
};

// A picture of one colour (B, G, R, A), for icons.
inline TImageData Filled(Integer AWidth, Integer AHeight, uint32_t ABgra) {
    TImageData image(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x)
            for (int c = 0; c < 4; ++c)
                image.ScanLine(y)[4 * x + c] = Byte(ABgra >> (8 * c));
    image.HasAlpha = true;
    return image;
}

// The bitmap form of an icon picture: a 24- or 32-bit BMP without its file
// header, the height doubled, and an AND mask whose set bits are the pixels
// of AClear (x < AClear on every row).
inline std::vector<Byte> IconDib(const TImageData& AImage, Integer ABitCount, Integer AClear = 0) {
    std::vector<Byte> file = EncodeBmp(AImage, ABitCount);
    std::vector<Byte> dib(file.begin() + 14, file.end());
    const int32_t doubled = AImage.Height() * 2;
    for (int i = 0; i < 4; ++i)
        dib[8 + size_t(i)] = Byte(doubled >> (8 * i));
    const size_t stride = (size_t(AImage.Width()) + 31) / 32 * 4;
    for (Integer y = 0; y < AImage.Height(); ++y) {
        std::vector<Byte> row(stride, 0);
        for (Integer x = 0; x < AClear; ++x)
            row[size_t(x) / 8] |= Byte(0x80 >> (x % 8));
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

inline std::vector<Byte> IconPng(const TImageData& AImage) {
    return EncodePng(AImage, true);
}

struct TIconPicture {
    Integer Width;  // as the directory says
    Integer Height;
    Integer BitCount;
    std::vector<Byte> Data;
};

// An icon file of the pictures, in order, their data after the directory.
inline std::vector<Byte> IcoFile(const std::vector<TIconPicture>& APictures) {
    TBytes out;
    out.U16(0).U16(1).U16(uint32_t(APictures.size()));
    uint32_t offset = uint32_t(6 + 16 * APictures.size());
    for (const TIconPicture& p : APictures) {
        out.U16(uint32_t(p.Width & 0xFF) | uint32_t(p.Height & 0xFF) << 8)
            .U16(0)
            .U16(1)
            .U16(uint32_t(p.BitCount));
        out.U32(uint32_t(p.Data.size())).U32(offset);
        offset += uint32_t(p.Data.size());
    }
    for (const TIconPicture& p : APictures)
        out.Add(p.Data);
    return out.Data();
}

// A placeable WMF of 2 x 1 inches (192 x 96 pixels on the screen) whose left
// half is filled red (RGB 255, 0, 0) and right half left empty.
inline std::vector<Byte> RedHalfWmf() {
    TBytes records;
    const auto record = [&](uint32_t AFunction, std::vector<uint32_t> AWords) {
        records.U32(uint32_t(3 + AWords.size())).U16(AFunction);
        for (uint32_t w : AWords)
            records.U16(w);
    };
    record(0x020B, {0, 0});                  // SetWindowOrg
    record(0x020C, {1440, 2880});            // SetWindowExt: height, width
    record(0x02FA, {5, 0, 0, 0, 0});         // CreatePenIndirect: PS_NULL
    record(0x012D, {0});                     // SelectObject: the pen
    record(0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid, COLORREF 0x0000FF (red)
    record(0x012D, {1});                     // SelectObject: the brush
    record(0x041B, {1441, 1441, 0, 0});      // Rectangle: bottom, right, top, left
    record(0x0000, {});                      // EOF
    TBytes out;
    // The placeable header: key, handle, box 0, 0, 2880, 1440, 1440 an inch.
    const uint16_t words[] = {0xCDD7, 0x9AC6, 0, 0, 0, 2880, 1440, 1440, 0, 0};
    uint16_t checksum = 0;
    for (uint16_t w : words) {
        out.U16(w);
        checksum ^= w;
    }
    out.U16(checksum);
    const uint32_t fileWords = uint32_t((18 + records.Size()) / 2);
    out.U16(1).U16(9).U16(0x0300).U32(fileWords).U16(2).U32(8).U16(0);
    out.Add(records.Data());
    return out.Data();
}

// An EMF with a frame of 50.8 x 25.4 mm (192 x 96 pixels on the screen)
// whose left half is filled red and right half left empty.
inline std::vector<Byte> RedHalfEmf() {
    TBytes out;
    // The header: bounds and frame, signature, version, sizes filled below,
    // two handles, and a 96-dpi reference device.
    out.U32(1).U32(88);
    out.U32(0).U32(0).U32(191).U32(95);
    out.U32(0).U32(0).U32(5080).U32(2540);
    out.U32(0x464D4520).U32(0x10000).U32(0).U32(0).U16(2).U16(0).U32(0).U32(0).U32(0);
    out.U32(1920).U32(1080).U32(508).U32(286);
    out.U32(37).U32(12).U32(0x80000008);                       // SelectObject: NULL_PEN
    out.U32(39).U32(24).U32(1).U32(0).U32(0x000000FF).U32(0);  // CreateBrushIndirect: red
    out.U32(37).U32(12).U32(1);                                // SelectObject: the brush
    out.U32(43).U32(24).U32(0).U32(0).U32(96).U32(96);         // Rectangle
    out.U32(14).U32(20).U32(0).U32(16).U32(20);                // EOF
    out.Set32(48, uint32_t(out.Size()));
    out.Set32(52, 6);
    return out.Data();
}

}  // namespace picturefiles
