#include "skin/core/qxeffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/base/random.h"

namespace {

constexpr int Channels = 3;

Byte ClampByte(long double AValue) {
    return static_cast<Byte>(std::clamp<long double>(std::nearbyintl(AValue), 0, 255));
}

double ClampKf(double Kf) {
    if (!(Kf >= 0)) return 0;
    return std::min(Kf, 1.0);
}

bool IsWhite(const Byte* APixel) {
    return APixel[0] == 255 && APixel[1] == 255 && APixel[2] == 255;
}

// A neighbour AAmount away, or the position itself where that falls outside.
Integer Near(Integer AAt, Int64 AOffset, Integer ASize) {
    const Int64 at = AAt + AOffset;
    return at < 0 || at >= ASize ? AAt : static_cast<Integer>(at);
}

template <typename F>
void ForEachChannel(TqxEffectBmp* AImage, F AChange) {
    for (Integer y = 0; y < AImage->Height(); ++y) {
        Byte* row = AImage->ScanLinePtr(y);
        for (Integer i = 0; i < Channels * AImage->Width(); ++i)
            row[i] = AChange(row[i]);
    }
}

}  // namespace

void TqxEffectBmp::ChangeBrightness(double Kf) {
    const long double k = ClampKf(Kf);
    ForEachChannel(this, [&](Byte c) { return ClampByte((1 - k) * c + k * 255); });
}

void TqxEffectBmp::ChangeDarkness(double Kf) {
    const long double k = ClampKf(Kf);
    ForEachChannel(this, [&](Byte c) { return ClampByte((1 - k) * c); });
}

void TqxEffectBmp::Invert() {
    ForEachChannel(this, [](Byte c) { return Byte(255 - c); });
}

void TqxEffectBmp::GrayScale() {
    for (Integer y = 0; y < FHeight; ++y)
        for (Byte* p = ScanLinePtr(y); p < ScanLinePtr(y) + Channels * FWidth; p += Channels)
            p[0] = p[1] = p[2] = ClampByte(0.3L * p[2] + 0.59L * p[1] + 0.11L * p[0]);
}

// In place, in reading order: neighbours already done are read in their new
// state.
void TqxEffectBmp::BlurPass(const TqxEffectBmp* AMask, Integer AAmount, bool AEdgesOnly) {
    for (Integer y = 0; y < FHeight; ++y) {
        const Integer u = Near(y, -Int64(AAmount), FHeight), l = Near(y, AAmount, FHeight);
        for (Integer x = 0; x < FWidth; ++x) {
            const Integer a = Near(x, -Int64(AAmount), FWidth), b = Near(x, AAmount, FWidth);
            if (AMask) {
                const auto mask = [&](Integer X, Integer Y) { return AMask->ScanLinePtr(Y) + Channels * X; };
                if (IsWhite(mask(x, y))) continue;
                if (AEdgesOnly && !IsWhite(mask(a, u)) && !IsWhite(mask(a, l)) && !IsWhite(mask(b, u)) &&
                    !IsWhite(mask(b, l)))
                    continue;
            }
            Byte* p = ScanLinePtr(y) + Channels * x;
            for (Integer i = 0; i < Channels; ++i)
                p[i] = Byte((ScanLinePtr(u)[Channels * a + i] + ScanLinePtr(l)[Channels * a + i] +
                             ScanLinePtr(u)[Channels * b + i] + ScanLinePtr(l)[Channels * b + i]) >>
                            2);
        }
    }
}

// A negative amount would read outside the image: only a positive one blurs.
void TqxEffectBmp::SplitBlur(Integer Amount) {
    if (Amount > 0) BlurPass(nullptr, Amount, false);
}

void TqxEffectBmp::Mosaic(Integer ASize) {
    if (ASize <= 1) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x)
            std::memcpy(ScanLinePtr(y) + Channels * x,
                        ScanLinePtr(y - y % ASize) + Channels * (x - x % ASize), Channels);
}

void TqxEffectBmp::AddMonoNoise(Integer Amount) {
    for (Integer y = 0; y < FHeight; ++y)
        for (Byte* p = ScanLinePtr(y); p < ScanLinePtr(y) + Channels * FWidth; p += Channels) {
            const Integer v = Random(Amount) - Amount / 2;
            for (Integer i = 0; i < Channels; ++i)
                p[i] = Byte(std::clamp(p[i] + v, 0, 255));
        }
}

void TqxEffectBmp::AddColorNoise(Integer Amount) {
    for (Integer y = 0; y < FHeight; ++y)
        for (Byte* p = ScanLinePtr(y); p < ScanLinePtr(y) + Channels * FWidth; p += Channels)
            for (Integer i = Channels - 1; i >= 0; --i)
                p[i] = Byte(std::clamp(p[i] + Random(Amount) - Amount / 2, 0, 255));
}

namespace {

// Every pixel (x, y) of ASource to ATarget's pixel APlace(x, y); through a
// copy when the two are one image.
template <typename F>
void Rearrange(const TqxEffectBmp* ASource, TqxEffectBmp* ATarget, F APlace) {
    std::unique_ptr<TqxEffectBmp> copy;
    if (ASource == ATarget) {
        copy = TqxEffectBmp::CreateCopy(ASource);
        ASource = copy.get();
    }
    for (Integer y = 0; y < ASource->Height(); ++y)
        for (Integer x = 0; x < ASource->Width(); ++x) {
            const TPoint at = APlace(x, y);
            std::memcpy(ATarget->ScanLinePtr(at.Y) + Channels * at.X, ASource->ScanLinePtr(y) + Channels * x,
                        Channels);
        }
}

}  // namespace

void TqxEffectBmp::Rotate90_1(TqxEffectBmp* Dst) const {
    if (!Dst || Dst->FWidth != FHeight || Dst->FHeight != FWidth) return;
    Rearrange(this, Dst, [&](Integer x, Integer y) { return Point(y, FWidth - 1 - x); });
}

void TqxEffectBmp::Rotate90_2(TqxEffectBmp* Dst) const {
    if (!Dst || Dst->FWidth != FHeight || Dst->FHeight != FWidth) return;
    Rearrange(this, Dst, [&](Integer x, Integer y) { return Point(FHeight - 1 - y, x); });
}

void TqxEffectBmp::FlipVert(TqxEffectBmp* Dst) const {
    if (!SameSize(Dst)) return;
    Rearrange(this, Dst, [&](Integer x, Integer y) { return Point(x, FHeight - 1 - y); });
}

void TqxEffectBmp::Wave(Integer XDIV, Integer YDIV, Integer RatioVal) {
    if (XDIV == 0 || YDIV == 0 || !FSize) return;
    const std::unique_ptr<TqxEffectBmp> copy = CreateCopy(this);
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            const double sx = std::nearbyint(x + RatioVal * std::sin(double(y) / YDIV));
            const double sy = std::nearbyint(y + RatioVal * std::sin(double(x) / XDIV));
            const Integer fromX = static_cast<Integer>(std::clamp<double>(sx, 0, FWidth - 1));
            const Integer fromY = static_cast<Integer>(std::clamp<double>(sy, 0, FHeight - 1));
            std::memcpy(ScanLinePtr(y) + Channels * x, copy->ScanLinePtr(fromY) + Channels * fromX, Channels);
        }
}

bool TqxEffectBmp::MaskFits(const TqxEffectBmp* AMask) const {
    return FSize && AMask && AMask->FWidth == FWidth && AMask->FHeight >= FHeight;
}

void TqxEffectBmp::MaskBlur(const TqxEffectBmp* Msk, Integer Amount) {
    if (MaskFits(Msk) && Amount > 0) BlurPass(Msk, Amount, false);
}

void TqxEffectBmp::MaskAntialiasing(const TqxEffectBmp* Msk, Integer Amount) {
    if (MaskFits(Msk) && Amount > 0) BlurPass(Msk, Amount, true);
}

void TqxEffectBmp::MaskFillColor(const TqxEffectBmp* Msk, TColor C, double kf) {
    if (!MaskFits(Msk)) return;
    const Integer rgb = ColorToRGB(C);
    const Byte colour[Channels] = {Byte(rgb >> 16), Byte(rgb >> 8), Byte(rgb)};
    const long double k = kf;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            if (IsWhite(Msk->ScanLinePtr(y) + Channels * x)) continue;
            Byte* p = ScanLinePtr(y) + Channels * x;
            for (Integer i = 0; i < Channels; ++i)
                p[i] = ClampByte((1 - k) * p[i] + k * colour[i]);
        }
}

namespace {

// One line of a tent filter of radius r: out[x] = (sum over k = -r..r of
// (r + 1 - |k|) p[clamp(x + k)]) div (r + 1)^2. Moving one sample on adds
// the r + 1 samples ahead and takes away the r + 1 behind, and both of those
// sums move on by one sample each, so the cost per sample does not depend
// on r and no table is needed. TSum holds 255 (r + 1)^2.
template <typename TSum>
class TTentLine {
public:
    explicit TTentLine(Integer ARadius)
        : FRadius(ARadius),
          FWeights((TSum(ARadius) + 1) * (TSum(ARadius) + 1)),
          FInverse(1 / double(FWeights)) {}

    void Filter(const Integer* AIn, ptrdiff_t AInStep, Integer* AOut, ptrdiff_t AOutStep, Integer ALength) {
        FIn = AIn;
        FStep = AInStep;
        FLength = ALength;
        const Int64 r = FRadius;
        TSum total = First();
        // The r + 1 samples up to x, and the r + 1 after it, at x = 0.
        TSum behind = TSum(r + 1) * At(0), ahead = 0;
        const Int64 inside = std::min<Int64>(r + 1, ALength - 1);
        for (Int64 m = 1; m <= inside; ++m)
            ahead += At(m);
        ahead += TSum(r + 1 - inside) * At(ALength - 1);
        for (Int64 x = 0; x < ALength; ++x) {
            AOut[x * AOutStep] = Divide(total);
            total += ahead - behind;
            behind += At(x + 1) - At(x - r);
            ahead += At(x + r + 2) - At(x + 1);
        }
    }

private:
    // The sample at AIndex, positions outside the line taking its end samples.
    TSum At(Int64 AIndex) const { return FIn[std::clamp<Int64>(AIndex, 0, FLength - 1) * FStep]; }

    // The quotient by (r + 1)^2, estimated in floating point and made exact.
    Integer Divide(TSum ATotal) const {
        TSum q = static_cast<TSum>(double(ATotal) * FInverse);
        while (q > 0 && q * FWeights > ATotal)
            --q;
        while ((q + 1) * FWeights <= ATotal)
            ++q;
        return static_cast<Integer>(q);
    }

    // The weighted sum at position 0.
    TSum First() const {
        const TSum r = FRadius;
        TSum total = At(0) * (r * (r + 1) / 2);
        const Integer inside = static_cast<Integer>(std::min<TSum>(r, FLength - 1));
        for (Integer k = 0; k <= inside; ++k)
            total += (r + 1 - k) * At(k);
        const TSum rest = r + 1 - FLength;
        if (rest > 0) total += At(FLength - 1) * (rest * (rest + 1) / 2);
        return total;
    }

    Integer FRadius;
    TSum FWeights;
    double FInverse;
    const Integer* FIn = nullptr;
    ptrdiff_t FStep = 1;
    Integer FLength = 0;
};

template <typename TSum>
void TentBlur(TqxBitmap* ABitmap, Integer ARadius) {
    const Integer w = ABitmap->Width(), h = ABitmap->Height();
    const size_t count = size_t(w) * size_t(h);
    std::vector<Integer> in(count), across(count), down(count);
    TTentLine<TSum> line(ARadius);
    for (int shift = 0; shift < 24; shift += 8) {
        for (size_t i = 0; i < count; ++i)
            in[i] = Integer((ABitmap->Bits()[i] >> shift) & 0xFF);
        for (Integer y = 0; y < h; ++y)
            line.Filter(&in[size_t(y) * w], 1, &across[size_t(y) * w], 1, w);
        for (Integer x = 0; x < w; ++x)
            line.Filter(&across[size_t(x)], w, &down[size_t(x)], w, h);
        for (size_t i = 0; i < count; ++i) {
            TqxColor& p = ABitmap->Bits()[i];
            p = (p & ~(TqxColor(0xFF) << shift)) | (TqxColor(down[i]) << shift);
        }
    }
    ABitmap->SetAlpha(255);
}

}  // namespace

void BlurBitmap(TqxBitmap* ABitmap, Integer ARadius) {
    if (!ABitmap || ABitmap->Empty() || ARadius <= 0) return;
    // 64 bits hold 255 (r + 1)^2 up to a radius of 2^27; beyond, 128.
    if (ARadius <= (1 << 27))
        TentBlur<Int64>(ABitmap, ARadius);
    else
        TentBlur<__int128>(ABitmap, ARadius);
}

void SetAlphaFromMask(TqxBitmap* ABitmap, const TqxBitmap* AMask) {
    if (!ABitmap || !AMask || ABitmap->Empty() || AMask->Width() < ABitmap->Width() ||
        AMask->Height() < ABitmap->Height())
        return;
    for (Integer y = 0; y < ABitmap->Height(); ++y) {
        TqxColor* row = ABitmap->GetScanLinePtr(y);
        const TqxColor* mask = AMask->GetScanLinePtr(y);
        for (Integer x = 0; x < ABitmap->Width(); ++x) {
            const TqxColor m = mask[x];
            const TqxColor alpha = ((m & 0xFF) + ((m >> 8) & 0xFF) + ((m >> 16) & 0xFF)) / 3;
            row[x] = (row[x] & 0x00FFFFFF) | (alpha << 24);
        }
    }
}

void SetPremultipliedAlphaFromMask(TqxBitmap* ABitmap, const TqxBitmap* AMask) {
    if (!ABitmap || !AMask || AMask->Width() < ABitmap->Width() || AMask->Height() < ABitmap->Height())
        return;
    SetAlphaFromMask(ABitmap, AMask);
    ABitmap->CheckRGBA2();
}
