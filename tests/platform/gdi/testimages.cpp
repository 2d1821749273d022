#include "testimages.h"

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

TImageData MakeImage(Integer AWidth, Integer AHeight, std::initializer_list<uint32_t> APixels) {
    TImageData image(AWidth, AHeight);
    auto it = APixels.begin();
    for (Integer y = 0; y < AHeight; ++y) {
        Byte* p = image.ScanLine(y);
        for (Integer x = 0; x < AWidth && it != APixels.end(); ++x, ++it, p += 4)
            for (int c = 0; c < 4; ++c)
                p[c] = static_cast<Byte>(*it >> (8 * c));
    }
    return image;
}

TImageData MakeGradient(Integer AWidth, Integer AHeight, bool AAlpha) {
    TImageData image(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y) {
        Byte* p = image.ScanLine(y);
        for (Integer x = 0; x < AWidth; ++x, p += 4) {
            p[0] = static_cast<Byte>(255 * x / std::max(AWidth - 1, 1));
            p[1] = static_cast<Byte>(255 * y / std::max(AHeight - 1, 1));
            p[2] = static_cast<Byte>(128 + (x + y) % 64);
            p[3] = AAlpha ? static_cast<Byte>(255 - 255 * x / std::max(AWidth - 1, 1)) : 255;
        }
    }
    return image;
}

TImageData MakeNoise(Integer AWidth, Integer AHeight, uint32_t ASeed) {
    TImageData image(AWidth, AHeight);
    uint32_t state = ASeed;
    for (Integer y = 0; y < AHeight; ++y) {
        Byte* p = image.ScanLine(y);
        for (Integer x = 0; x < 4 * AWidth; ++x) {
            state = state * 1664525 + 1013904223;
            p[x] = static_cast<Byte>(state >> 24);
        }
    }
    return image;
}

uint32_t PixelAt(const TImageData& AImage, Integer AX, Integer AY) {
    const Byte* p = AImage.ScanLine(AY) + 4 * AX;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int MaxDifference(const TImageData& A, const TImageData& B, bool AWithAlpha) {
    int worst = 0;
    for (Integer y = 0; y < A.Height(); ++y)
        for (Integer x = 0; x < 4 * A.Width(); ++x)
            if (AWithAlpha || x % 4 != 3)
                worst = std::max(worst, std::abs(A.ScanLine(y)[x] - B.ScanLine(y)[x]));
    return worst;
}

double MeanDifference(const TImageData& A, const TImageData& B) {
    double total = 0;
    for (Integer y = 0; y < A.Height(); ++y)
        for (Integer x = 0; x < 4 * A.Width(); ++x)
            if (x % 4 != 3) total += std::abs(A.ScanLine(y)[x] - B.ScanLine(y)[x]);
    return total / (3.0 * A.Width() * A.Height());
}

String InvalidGraphicMessage(const std::function<void()>& ACall) {
    try {
        ACall();
    } catch (const EInvalidGraphic& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no EInvalidGraphic";
    return {};
}
