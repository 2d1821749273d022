#include "platform/gdi/surface.h"

#include <cstring>

namespace gdi {

namespace {

Pixel QuadToPixel(const win::RGBQUAD& AQuad) {
    return Pixel(AQuad.rgbBlue) | (Pixel(AQuad.rgbGreen) << 8) | (Pixel(AQuad.rgbRed) << 16);
}

Pixel PaletteColor(const Surface& S, unsigned AIndex) {
    return AIndex < unsigned(S.PaletteSize) ? QuadToPixel(S.Palette[AIndex]) : 0;
}

unsigned NearestIndex(const Surface& S, Pixel APixel) {
    const int b = int(APixel & 0xFF), g = int((APixel >> 8) & 0xFF), r = int((APixel >> 16) & 0xFF);
    unsigned best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < S.PaletteSize; ++i) {
        const win::RGBQUAD& q = S.Palette[i];
        const int db = b - q.rgbBlue, dg = g - q.rgbGreen, dr = r - q.rgbRed;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = unsigned(i);
            if (distance == 0) break;
        }
    }
    return best;
}

unsigned ReadIndex(const uint8_t* ARow, int ABits, int X) {
    switch (ABits) {
        case 1:
            return (ARow[X >> 3] >> (7 - (X & 7))) & 1;
        case 4:
            return (ARow[X >> 1] >> ((X & 1) ? 0 : 4)) & 0xF;
        default:
            return ARow[X];
    }
}

void WriteIndex(uint8_t* ARow, int ABits, int X, unsigned AIndex) {
    switch (ABits) {
        case 1: {
            const uint8_t bit = uint8_t(0x80 >> (X & 7));
            ARow[X >> 3] = uint8_t(AIndex ? ARow[X >> 3] | bit : ARow[X >> 3] & ~bit);
            break;
        }
        case 4: {
            const int shift = (X & 1) ? 0 : 4;
            ARow[X >> 1] = uint8_t((ARow[X >> 1] & ~(0xF << shift)) | ((AIndex & 0xF) << shift));
            break;
        }
        default:
            ARow[X] = uint8_t(AIndex);
    }
}

}  // namespace

void FetchRow(const Surface& S, int X, int Y, int ACount, Pixel* AOut) {
    const uint8_t* row = S.Row(Y);
    switch (S.BitsPerPixel) {
        case 32: {
            std::memcpy(AOut, row + size_t(X) * 4, size_t(ACount) * 4);
            if (!S.HasAlpha)
                for (int i = 0; i < ACount; ++i)
                    AOut[i] &= ColorMask;
            break;
        }
        case 24: {
            const uint8_t* p = row + size_t(X) * 3;
            for (int i = 0; i < ACount; ++i, p += 3)
                AOut[i] = Pixel(p[0]) | (Pixel(p[1]) << 8) | (Pixel(p[2]) << 16);
            break;
        }
        default:
            for (int i = 0; i < ACount; ++i)
                AOut[i] = PaletteColor(S, ReadIndex(row, S.BitsPerPixel, X + i));
    }
}

void StoreRow(const Surface& S, int X, int Y, int ACount, const Pixel* AIn) {
    uint8_t* row = S.Row(Y);
    switch (S.BitsPerPixel) {
        case 32:
            std::memcpy(row + size_t(X) * 4, AIn, size_t(ACount) * 4);
            break;
        case 24: {
            uint8_t* p = row + size_t(X) * 3;
            for (int i = 0; i < ACount; ++i, p += 3) {
                p[0] = uint8_t(AIn[i]);
                p[1] = uint8_t(AIn[i] >> 8);
                p[2] = uint8_t(AIn[i] >> 16);
            }
            break;
        }
        default: {
            // Runs of one colour are common (fills, masks): look each up once.
            Pixel last = ~AIn[0];
            unsigned index = 0;
            for (int i = 0; i < ACount; ++i) {
                if ((AIn[i] & ColorMask) != last) {
                    last = AIn[i] & ColorMask;
                    index = NearestIndex(S, last);
                }
                WriteIndex(row, S.BitsPerPixel, X + i, index);
            }
        }
    }
}

Pixel ReadPixel(const Surface& S, int X, int Y) {
    Pixel p;
    FetchRow(S, X, Y, 1, &p);
    return p;
}

void WritePixel(const Surface& S, int X, int Y, Pixel APixel) {
    StoreRow(S, X, Y, 1, &APixel);
}

Pixel NearestPixel(const Surface& S, Pixel APixel) {
    switch (S.BitsPerPixel) {
        case 32:
            return S.HasAlpha ? APixel : APixel & ColorMask;
        case 24:
            return APixel & ColorMask;
        default:
            return PaletteColor(S, NearestIndex(S, APixel));
    }
}

}  // namespace gdi
