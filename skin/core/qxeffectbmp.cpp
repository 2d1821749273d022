#include "skin/core/qxeffectbmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

namespace {

constexpr int Channels = 3;

Byte ClampByte(long double AValue) {
    return static_cast<Byte>(std::clamp<long double>(std::nearbyintl(AValue), 0, 255));
}

// round(t x old + (1 - t) x new): t = 0 gives the new value, t = 1 the old.
Byte Blend(double t, Byte AOld, Byte ANew) {
    const long double weight = t;
    return ClampByte(weight * AOld + (1 - weight) * ANew);
}

double ClampKf(double Kf) {
    if (!(Kf >= 0)) return 0;
    return std::min(Kf, 1.0);
}

Integer RoundInt(double AValue) {
    return static_cast<Integer>(Round(AValue));
}

// The left gradient's and the slides' width: round(W Kf), at least 1 and at
// most W - 1.
Integer BandWidth(Integer AWidth, double Kf) {
    Integer b = RoundInt(AWidth * ClampKf(Kf));
    if (b <= 0) b = 1;
    if (b > AWidth - 1) b = AWidth - 1;
    return b;
}

}  // namespace

TqxEffectBmp::TqxEffectBmp(Integer cx, Integer cy) {
    Allocate(cx, cy);
}

TqxEffectBmp::~TqxEffectBmp() {
    if (FHandle) win::DeleteObject(FHandle);
}

// An image without pixels would leave every operation writing nowhere, so a
// refused section raises.
void TqxEffectBmp::Allocate(Integer cx, Integer cy) {
    win::BITMAPINFOHEADER& header = FBmpInfo.bmiHeader;
    header.biSize = sizeof(win::BITMAPINFOHEADER);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = win::BI_RGB;
    if (cx == 0 || cy == 0) return;
    header.biWidth = cx;
    header.biHeight = -cy;
    void* bits = nullptr;
    FHandle = win::CreateDIBSection(nullptr, &FBmpInfo, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FHandle || !bits) throw Exception(u"Can't allocate the DIB handle");
    FBits = static_cast<Byte*>(bits);
    FWidth = cx;
    FHeight = cy;
    FSize = Stride() * cy;
}

std::unique_ptr<TqxEffectBmp> TqxEffectBmp::CreateFromhWnd(win::HBITMAP AHandle) {
    std::unique_ptr<TqxEffectBmp> image(new TqxEffectBmp());
    if (!AHandle) {
        image->Allocate(0, 0);
        return image;
    }
    win::BITMAP bitmap{};
    if (win::GetObjectType(AHandle) != win::OBJ_BITMAP || !win::GetObject(AHandle, sizeof bitmap, &bitmap))
        throw Exception(u"Invalid bitmap handle");
    image->Allocate(bitmap.bmWidth, std::abs(bitmap.bmHeight));
    if (image->FSize == 0) return image;
    win::HDC display = win::CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
    win::BITMAPINFO info = image->FBmpInfo;
    win::GetDIBits(display, AHandle, 0, static_cast<win::UINT>(image->FHeight), image->FBits, &info,
                   win::DIB_RGB_COLORS);
    win::DeleteDC(display);
    return image;
}

std::unique_ptr<TqxEffectBmp> TqxEffectBmp::CreateCopy(const TqxEffectBmp* ASource) {
    std::unique_ptr<TqxEffectBmp> image(new TqxEffectBmp());
    image->Allocate(ASource ? ASource->FWidth : 0, ASource ? ASource->FHeight : 0);
    if (image->FSize) std::memcpy(image->FBits, ASource->FBits, static_cast<size_t>(image->FSize));
    return image;
}

void TqxEffectBmp::Draw(win::HDC hDC, Integer x, Integer y) const {
    if (FSize)
        win::SetDIBitsToDevice(hDC, x, y, static_cast<win::DWORD>(FWidth), static_cast<win::DWORD>(FHeight),
                               0, 0, 0, static_cast<win::UINT>(FHeight), FBits, &FBmpInfo,
                               win::DIB_RGB_COLORS);
}

void TqxEffectBmp::Stretch(win::HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const {
    if (FSize)
        win::StretchDIBits(hDC, x, y, cx, cy, 0, 0, FWidth, FHeight, FBits, &FBmpInfo, win::DIB_RGB_COLORS,
                           win::SRCCOPY);
}

// DIB source rows count from the bottom row of the picture.
void TqxEffectBmp::DrawRect(win::HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx,
                            Integer cy) const {
    if (FSize)
        win::StretchDIBits(hDC, hx, hy, cx, cy, x, FHeight - y - cy, cx, cy, FBits, &FBmpInfo,
                           win::DIB_RGB_COLORS, win::SRCCOPY);
}

void TqxEffectBmp::GetScanLine(Integer y, void* Line) const {
    std::memcpy(Line, ScanLinePtr(y), static_cast<size_t>(Channels * FWidth));
}

void TqxEffectBmp::SetScanLine(Integer y, const void* Line) {
    std::memcpy(ScanLinePtr(y), Line, static_cast<size_t>(Channels * FWidth));
}

Integer TqxEffectBmp::GetPixel(Integer x, Integer y) const {
    const Byte* p = ScanLinePtr(y) + Channels * x;
    return Integer(p[0]) | (Integer(p[1]) << 8) | (Integer(p[2]) << 16);
}

void TqxEffectBmp::SetPixel(Integer x, Integer y, Integer Color) {
    Byte* p = ScanLinePtr(y) + Channels * x;
    p[0] = Byte(Color);
    p[1] = Byte(Color >> 8);
    p[2] = Byte(Color >> 16);
}

// Blocks of round(f) + 1 pixels can reach past Dst's last column and row:
// they are cut there.
void TqxEffectBmp::Resize(TqxEffectBmp* Dst) const {
    if (!Dst || !FSize || !Dst->FSize) return;
    const double fx = double(Dst->FWidth - 1) / FWidth, fy = double(Dst->FHeight - 1) / FHeight;
    const Integer blockWidth = RoundInt(fx) + 1, blockHeight = RoundInt(fy) + 1;
    for (Integer y = 0; y < FHeight; ++y) {
        const Integer top = RoundInt(fy * y), bottom = std::min(top + blockHeight, Dst->FHeight);
        for (Integer x = 0; x < FWidth; ++x) {
            const Integer left = RoundInt(fx * x), right = std::min(left + blockWidth, Dst->FWidth);
            const Byte* from = ScanLinePtr(y) + Channels * x;
            for (Integer row = top; row < bottom; ++row)
                for (Integer column = left; column < right; ++column)
                    std::memcpy(Dst->ScanLinePtr(row) + Channels * column, from, Channels);
        }
    }
}

void TqxEffectBmp::Morph(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP)) return;
    const long double k = ClampKf(Kf);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP->ScanLinePtr(y);
        for (Integer i = 0; i < Channels * FWidth; ++i)
            own[i] = ClampByte((1 - k) * own[i] + k * other[i]);
    }
}

// Rows and columns of ARect (right and bottom outside it) that lie in both
// images, for the morph from BMP at (AStartX, AStartY).
namespace {

struct TSpan {
    Integer First;
    Integer Last;  // inclusive
};

TSpan ClipSpan(Integer AFirst, Integer ALast, Integer ASize, Integer AStart, Integer AOtherSize) {
    const Integer shift = AStart - AFirst;
    return {std::max({AFirst, 0, -shift}), std::min({ALast, ASize - 1, AOtherSize - 1 - shift})};
}

}  // namespace

void TqxEffectBmp::MorphRect(const TqxEffectBmp* BMP, double Kf, const TRect& Rct, Integer StartX,
                             Integer StartY) {
    if (!BMP || !FSize || !BMP->FSize) return;
    const long double k = ClampKf(Kf);
    const TSpan rows = ClipSpan(Rct.Top, Rct.Bottom - 1, FHeight, StartY, BMP->FHeight);
    const TSpan columns = ClipSpan(Rct.Left, Rct.Right - 1, FWidth, StartX, BMP->FWidth);
    for (Integer r = rows.First; r <= rows.Last; ++r) {
        Byte* own = ScanLinePtr(r);
        const Byte* other = BMP->ScanLinePtr(StartY + r - Rct.Top);
        for (Integer c = columns.First; c <= columns.Last; ++c)
            for (Integer i = 0; i < Channels; ++i) {
                Byte& o = own[Channels * c + i];
                o = ClampByte((1 - k) * o + k * other[Channels * (StartX + c - Rct.Left) + i]);
            }
    }
}

void TqxEffectBmp::CopyRect(const TqxEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY) {
    if (!BMP || !FSize || !BMP->FSize) return;
    const TSpan rows = ClipSpan(Rct.Top, Rct.Bottom, FHeight, StartY, BMP->FHeight);
    const TSpan columns = ClipSpan(Rct.Left, Rct.Right, FWidth, StartX, BMP->FWidth);
    if (columns.Last < columns.First) return;
    for (Integer r = rows.First; r <= rows.Last; ++r)
        std::memcpy(ScanLinePtr(r) + Channels * columns.First,
                    BMP->ScanLinePtr(StartY + r - Rct.Top) + Channels * (StartX + columns.First - Rct.Left),
                    static_cast<size_t>(Channels * (columns.Last - columns.First + 1)));
}

void TqxEffectBmp::MorphGrad(const TqxEffectBmp* BMP, double Kf) {
    if (FWidth < FHeight)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

namespace {

// Pixel AColumn of a row blended toward the new row by weight t.
void BlendPixelAt(Byte* AOwn, const Byte* ANew, Integer AColumn, double t) {
    for (Integer i = 0; i < Channels; ++i) {
        Byte& o = AOwn[Channels * AColumn + i];
        o = Blend(t, o, ANew[Channels * AColumn + i]);
    }
}

// Steps AFrom, AFrom + ADirection, ... up to and including ATo, weighted 0,
// AStep, 2 AStep, ... (at most 1).
template <typename F>
void Ramp(Integer AFrom, Integer ATo, Integer ADirection, double AStep, F ABlend) {
    double t = 0;
    for (Integer n = AFrom; ADirection > 0 ? n <= ATo : n >= ATo; n += ADirection) {
        ABlend(n, t);
        t = std::min(t + AStep, 1.0);
    }
}

}  // namespace

void TqxEffectBmp::MorphHGrad(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer w = FWidth;
    const Integer b = RoundInt(w * ClampKf(Kf));
    const Integer c = (w - b) / 2;
    const double step = c != 0 ? 1.0 / c : 1;
    const Integer h = std::max(w / 2 - b / 2, 0);
    const Integer e = std::min(b / 2 + w / 2, w - 1);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP->ScanLinePtr(y);
        if (e >= h)
            std::memcpy(own + Channels * h, other + Channels * h,
                        static_cast<size_t>(Channels * (e - h + 1)));
        const auto blend = [&](Integer n, double t) { BlendPixelAt(own, other, n, t); };
        Ramp(h, 0, -1, step, blend);
        Ramp(e, w - 1, 1, step, blend);
    }
}

void TqxEffectBmp::MorphVGrad(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer rowBytes = Channels * FWidth;
    const Integer ht = FHeight;
    const Integer b = RoundInt(ht * ClampKf(Kf));
    const Integer d = (ht - 1 - b) / 2;
    const double step = d != 0 ? 1.0 / d : 0;
    const Integer h = std::max(ht / 2 - b / 2, 0);
    const Integer e = std::min(b / 2 + ht / 2, ht - 1);
    for (Integer y = h; y <= e; ++y)
        std::memcpy(ScanLinePtr(y), BMP->ScanLinePtr(y), static_cast<size_t>(rowBytes));
    const auto blend = [&](Integer n, double t) {
        Byte* own = ScanLinePtr(n);
        const Byte* other = BMP->ScanLinePtr(n);
        for (Integer i = 0; i < rowBytes; ++i)
            own[i] = Blend(t, own[i], other[i]);
    };
    Ramp(h, 0, -1, step, blend);
    Ramp(e, ht - 1, 1, step, blend);
}

void TqxEffectBmp::MorphLeftGrad(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer b = BandWidth(FWidth, Kf);
    const double step = b <= 0 ? 1 : 1.0 / b;
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP->ScanLinePtr(y);
        Ramp(0, b, 1, step, [&](Integer n, double t) { BlendPixelAt(own, other, n, t); });
    }
}

void TqxEffectBmp::MorphRightGrad(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer c = std::clamp(FWidth - RoundInt(FWidth * ClampKf(Kf)), 0, FWidth - 1);
    const double step = FWidth - c <= 0 ? 1 : 1.0 / (FWidth - c);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP->ScanLinePtr(y);
        Ramp(FWidth - 1, c, -1, step, [&](Integer n, double t) { BlendPixelAt(own, other, n, t); });
    }
}

void TqxEffectBmp::MorphPush(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer b = std::clamp(RoundInt(FWidth * ClampKf(Kf)), 0, FWidth - 1);
    const Integer kept = FWidth - b - 1;
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        std::memmove(own + Channels * (b + 1), own, static_cast<size_t>(Channels * kept));
        std::memcpy(own, BMP->ScanLinePtr(y) + Channels * kept, static_cast<size_t>(Channels * (b + 1)));
    }
}

void TqxEffectBmp::MorphLeftSlide(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer b = BandWidth(FWidth, Kf);
    for (Integer y = 0; y < FHeight && b > 0; ++y)
        std::memcpy(ScanLinePtr(y), BMP->ScanLinePtr(y) + Channels * (FWidth - b),
                    static_cast<size_t>(Channels * b));
}

void TqxEffectBmp::MorphRightSlide(const TqxEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP) || !FSize) return;
    const Integer b = BandWidth(FWidth, Kf);
    for (Integer y = 0; y < FHeight && b > 0; ++y)
        std::memcpy(ScanLinePtr(y) + Channels * (FWidth - b), BMP->ScanLinePtr(y),
                    static_cast<size_t>(Channels * b));
}
