// Tiny bitmaps in memory DCs, for asserting pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/gditypes.h"

// A DIB section of the given format selected into its own memory DC.
class TestBitmap {
  public:
    TestBitmap(int AWidth, int AHeight, int ABitCount = 32, bool ATopDown = true);
    ~TestBitmap();
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;

    win::HDC DC() const { return FDC; }
    win::HBITMAP Bitmap() const { return FBitmap; }
    uint8_t* Bits() const { return FBits; }
    int Stride() const { return FStride; }

    // Pixel (X, Y) counted from the top: 0xAARRGGBB for 32 bits, 0xRRGGBB for
    // 24, the palette index for fewer.
    uint32_t At(int X, int Y) const;
    void Set(int X, int Y, uint32_t AValue);
    void Fill(uint32_t AValue);
    // Row Y as "%08X" (32 bits) or "%06X" (24) words joined by blanks.
    std::string RowText(int Y) const;

  private:
    uint8_t* PixelAddress(int X, int Y) const;

    win::HDC FDC = nullptr;
    win::HBITMAP FBitmap = nullptr;
    win::HGDIOBJ FOld = nullptr;
    uint8_t* FBits = nullptr;
    int FWidth, FHeight, FBitCount, FStride;
    bool FTopDown;
};

// A BITMAPINFO with room for a full colour table.
struct TestBitmapInfo {
    TestBitmapInfo(int AWidth, int AHeight, int ABitCount);
    win::BITMAPINFO* Get() { return reinterpret_cast<win::BITMAPINFO*>(Storage.data()); }
    std::vector<uint8_t> Storage;
};
