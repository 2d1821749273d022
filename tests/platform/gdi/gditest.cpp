#include "gditest.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

using namespace win;

TestBitmapInfo::TestBitmapInfo(int AWidth, int AHeight, int ABitCount)
    : Storage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) {
    BITMAPINFOHEADER& h = Get()->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = AWidth;
    h.biHeight = AHeight;
    h.biPlanes = 1;
    h.biBitCount = WORD(ABitCount);
    h.biCompression = BI_RGB;
    // Grey ramp colour table, black first and white last.
    if (ABitCount >= 1 && ABitCount <= 8) {
        const int n = 1 << ABitCount;
        for (int i = 0; i < n; ++i) {
            const BYTE v = BYTE(i * 255 / (n - 1));
            Get()->bmiColors[i] = RGBQUAD{v, v, v, 0};
        }
    }
}

TestBitmap::TestBitmap(int AWidth, int AHeight, int ABitCount, bool ATopDown)
    : FWidth(AWidth), FHeight(AHeight), FBitCount(ABitCount), FTopDown(ATopDown) {
    TestBitmapInfo info(AWidth, ATopDown ? -AHeight : AHeight, ABitCount);
    void* bits = nullptr;
    FBitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap) throw std::runtime_error("CreateDIBSection failed");
    FBits = static_cast<uint8_t*>(bits);
    FStride = (AWidth * ABitCount + 31) / 32 * 4;
    FDC = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDC, FBitmap);
}

TestBitmap::~TestBitmap() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
    DeleteObject(FBitmap);
}

uint8_t* TestBitmap::PixelAddress(int X, int Y) const {
    return FBits + (FTopDown ? Y : FHeight - 1 - Y) * FStride + X * FBitCount / 8;
}

uint32_t TestBitmap::At(int X, int Y) const {
    const uint8_t* p = PixelAddress(X, Y);
    switch (FBitCount) {
        case 32: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        case 24:
            return p[0] | (p[1] << 8) | (p[2] << 16);
        case 8:
            return *p;
        case 4:
            return (*p >> ((X & 1) ? 0 : 4)) & 0xF;
        default:
            return (*p >> (7 - (X & 7))) & 1;
    }
}

void TestBitmap::Set(int X, int Y, uint32_t AValue) {
    uint8_t* p = PixelAddress(X, Y);
    switch (FBitCount) {
        case 32:
            std::memcpy(p, &AValue, 4);
            break;
        case 24:
            p[0] = uint8_t(AValue);
            p[1] = uint8_t(AValue >> 8);
            p[2] = uint8_t(AValue >> 16);
            break;
        case 8:
            *p = uint8_t(AValue);
            break;
        default:
            throw std::logic_error("Set: 1 and 4 bits are not needed");
    }
}

void TestBitmap::Fill(uint32_t AValue) {
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            Set(x, y, AValue);
}

std::string TestBitmap::RowText(int Y) const {
    std::string text;
    char word[16];
    for (int x = 0; x < FWidth; ++x) {
        if (FBitCount == 32)
            std::snprintf(word, sizeof(word), "%08X", At(x, Y));
        else if (FBitCount == 24)
            std::snprintf(word, sizeof(word), "%06X", At(x, Y));
        else
            std::snprintf(word, sizeof(word), "%X", At(x, Y));
        if (x) text += ' ';
        text += word;
    }
    return text;
}
