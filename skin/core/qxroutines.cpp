#include "skin/core/qxroutines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "skin/core/qxrowkernels.h"
#include "skin/core/rects.h"

using namespace qxrects;

namespace {

constexpr TqxColor AlphaBits = 0xFF000000;
constexpr TqxColor ColorBits = 0x00FFFFFF;
constexpr TqxColor KeyColor = MaskedColor & ColorBits;

inline unsigned Channel(TqxColor APixel, int AShift) {
    return (APixel >> AShift) & 0xFF;
}

// The vector loops, 8 pixels a step where the processor has AVX2 and 4
// (SSE2, the x86-64 baseline) otherwise; chosen once when the program starts.
struct TRowKernels {
    int (*Blend)(const TqxColor* S, TqxColor* D, int N);
    int (*BlendMMX)(const TqxColor* S, TqxColor* D, int N);
    int (*CopyMasked)(const TqxColor* S, TqxColor* D, int N);
};

int Blend4(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::BlendRows<4>(S, D, N);
}
int BlendMMX4(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::BlendRowsMMX<4>(S, D, N);
}
int CopyMasked4(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::CopyMaskedRows<4>(S, D, N, KeyColor);
}

#if defined(__x86_64__)
#define QX_AVX2 __attribute__((target("avx2")))
QX_AVX2 int Blend8(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::BlendRows<8>(S, D, N);
}
QX_AVX2 int BlendMMX8(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::BlendRowsMMX<8>(S, D, N);
}
QX_AVX2 int CopyMasked8(const TqxColor* S, TqxColor* D, int N) {
    return qxkernels::CopyMaskedRows<8>(S, D, N, KeyColor);
}
#undef QX_AVX2
#endif

TRowKernels ChooseKernels() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) return {Blend8, BlendMMX8, CopyMasked8};
#endif
    return {Blend4, BlendMMX4, CopyMasked4};
}

// Made on first use, so that drawing from another unit's start-up finds it.
const TRowKernels& Kernels() {
    static const TRowKernels kernels = ChooseKernels();
    return kernels;
}

// Where a scaled transfer writes: a TqxBitmap (top-down) or the memory of a
// bottom-up DIB section.
struct TTarget {
    TqxColor* Bits;
    Integer Width;
    Integer Height;
    bool BottomUp;

    TqxColor* Row(Integer Y) const { return Bits + ptrdiff_t(BottomUp ? Height - 1 - Y : Y) * Width; }
};

// Source position of target step AIndex: trunc or round of AIndex x AFactor
// + AOrigin, the product in extended precision, kept inside the source.
Integer MapStep(Integer AIndex, float AFactor, Integer AOrigin, Integer ALast, bool ARound) {
    const long double position = static_cast<long double>(AIndex) * AFactor + AOrigin;
    const long double mapped = ARound ? std::nearbyintl(position) : std::truncl(position);
    return static_cast<Integer>(std::clamp<long double>(mapped, AOrigin, ALast));
}

// The scale factor (s - 1) / (d - 1), kept as a 32-bit float.
float ScaleFactor(Integer ASource, Integer ADest) {
    return static_cast<float>(static_cast<long double>(ASource - 1) / (ADest - 1));
}

// SrcRect of Source mapped onto DstRect of the target through row routine
// ARow, writing only ClipRect. The source is never clipped: a part reaching
// outside it draws nothing.
void TransferRect(const TTarget& T, const TRect& DstRect, const TRect& ClipRect, const TqxBitmap* Source,
                  const TRect& SrcRect, TqxRowProc ARow, bool AOpaque, bool ARound) {
    if (!T.Bits || !Source || Source->Empty() || IsEmpty(SrcRect)) return;
    const TRect clip = Intersect(Intersect(ClipRect, {0, 0, T.Width, T.Height}), DstRect);
    if (IsEmpty(clip)) return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Source->Width() ||
        SrcRect.Bottom > Source->Height())
        return;
    const Integer sw = SrcRect.Width(), sh = SrcRect.Height();
    const Integer dw = DstRect.Width(), dh = DstRect.Height();
    const Integer cw = clip.Width(), ch = clip.Height();
    if (sw == dw && sh == dh) {
        const Integer sx = SrcRect.Left + clip.Left - DstRect.Left;
        const Integer sy = SrcRect.Top + clip.Top - DstRect.Top;
        for (Integer k = 0; k < ch; ++k)
            ARow(Source->GetPixelPtr(sx, sy + k), T.Row(clip.Top + k) + clip.Left, cw);
        return;
    }
    std::vector<Integer> columns(static_cast<size_t>(cw));
    if (dw <= 1) {
        columns[0] = (SrcRect.Left + SrcRect.Right - 1) / 2;
    } else {
        const float kx = ScaleFactor(sw, dw);
        for (Integer x = 0; x < cw; ++x)
            columns[static_cast<size_t>(x)] =
                MapStep(x + clip.Left - DstRect.Left, kx, SrcRect.Left, SrcRect.Right - 1, ARound);
    }
    const float ky = dh <= 1 ? 0 : ScaleFactor(sh, dh);
    std::vector<TqxColor> work(AOpaque ? 0 : static_cast<size_t>(cw));
    Integer previous = -1;
    for (Integer y = 0; y < ch; ++y) {
        EndMMX();
        const Integer sy =
            dh <= 1 ? (SrcRect.Top + SrcRect.Bottom - 1) / 2
                    : MapStep(y + clip.Top - DstRect.Top, ky, SrcRect.Top, SrcRect.Bottom - 1, ARound);
        TqxColor* dst = T.Row(clip.Top + y) + clip.Left;
        if (sy != previous) {
            const TqxColor* src = Source->GetScanLinePtr(sy);
            TqxColor* gathered = AOpaque ? dst : work.data();
            for (Integer x = 0; x < cw; ++x)
                gathered[x] = src[columns[static_cast<size_t>(x)]];
            if (!AOpaque) ARow(work.data(), dst, cw);
        } else if (AOpaque) {
            BlendRoutines.CopyRow(T.Row(clip.Top + y - 1) + clip.Left, dst, cw);
        } else {
            ARow(work.data(), dst, cw);
        }
        previous = sy;
    }
}

TTarget BitmapTarget(TqxBitmap* ATarget) {
    if (!ATarget || ATarget->Empty()) return {nullptr, 0, 0, false};
    return {ATarget->Bits(), ATarget->Width(), ATarget->Height(), false};
}

TTarget DIBTarget(PqxColorArray ABits, Integer ADIBHeight, Integer ADIBWidth) {
    if (ADIBWidth <= 0 || ADIBHeight <= 0) return {nullptr, 0, 0, true};
    return {ABits, ADIBWidth, ADIBHeight, true};
}

}  // namespace

// The table as it stands with every probe at its default; start-up fills it
// again from the probes.
constinit TqxBlendRoutines BlendRoutines = {BlendPixelMMX,
                                            BlendRowMMX,
                                            CopyMaskedRow,
                                            CopyRow,
                                            FillRow,
                                            FillArea,
                                            SetAlphaRow,
                                            SetAlphaArea,
                                            StretchToDC,
                                            ComposeToDC,
                                            TransparentToDC,
                                            CopyBitmapRect,
                                            CopyMaskedBitmapRect,
                                            BlendBitmapRect,
                                            CopyToDIBRect,
                                            CopyMaskedToDIBRect,
                                            BlendToDIBRect,
                                            GetDIBSectionInfo};

bool MMXAvailable = false;
bool IsMsimg32Available = false;
decltype(&win::TransparentBlt) TransparentBltProc = nullptr;
decltype(&win::AlphaBlend) AlphaBlendProc = nullptr;
bool DirectDIBDraw = true;

TqxColor BlendPixel(TqxColor F, TqxColor B) {
    if (F >= AlphaBits) return F;
    const unsigned a = F >> 24;
    if (a == 0) return B;
    TqxColor result = AlphaBits;
    for (int shift = 0; shift < 24; shift += 8)
        result |= ((Channel(F, shift) * a + Channel(B, shift) * (255 - a)) >> 8) << shift;
    return result;
}

TqxColor BlendPixelMMX(TqxColor F, TqxColor B) {
    const unsigned a = F >> 24;
    TqxColor result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= ((Channel(B, shift) * (256 - a) + Channel(F, shift) * a) >> 8) << shift;
    return result;
}

void BlendRow(const TqxColor* Src, TqxColor* Dst, Integer Count) {
    for (Integer i = Kernels().Blend(Src, Dst, Count); i < Count; ++i)
        Dst[i] = BlendPixel(Src[i], Dst[i]);
}

void BlendRowMMX(const TqxColor* Src, TqxColor* Dst, Integer Count) {
    for (Integer i = Kernels().BlendMMX(Src, Dst, Count); i < Count; ++i) {
        const TqxColor s = Src[i];
        if (s >= AlphaBits)
            Dst[i] = s;
        else if (s >> 24)
            Dst[i] = BlendPixelMMX(s, Dst[i]);
    }
}

void CopyMaskedRow(const TqxColor* Src, TqxColor* Dst, Integer Count) {
    for (Integer i = Kernels().CopyMasked(Src, Dst, Count); i < Count; ++i)
        if ((Src[i] & ColorBits) != KeyColor) Dst[i] = Src[i] | AlphaBits;
}

void CopyRow(const TqxColor* Src, TqxColor* Dst, Integer Count) {
    if (Src != Dst && Count > 0) std::memmove(Dst, Src, size_t(Count) * sizeof(TqxColor));
}

void FillRow(TqxColor* Dst, Integer Count, TqxColor Color) {
    if (Count > 0) std::fill_n(Dst, Count, Color);
}

void FillArea(PqxColorArray Bits, Integer Width, Integer, Integer Left, Integer Top, Integer LastColumn,
              Integer LastRow, TqxColor Color) {
    for (Integer y = Top; y <= LastRow; ++y)
        FillRow(Bits + ptrdiff_t(y) * Width + Left, LastColumn - Left + 1, Color);
}

void SetAlphaRow(TqxColor* Dst, Integer Count, Byte Alpha) {
    const TqxColor alpha = TqxColor(Alpha) << 24;
    for (Integer i = 0; i < Count; ++i)
        Dst[i] = (Dst[i] & ColorBits) | alpha;
}

void SetAlphaArea(PqxColorArray Bits, Integer Width, Integer, Integer Left, Integer Top, Integer LastColumn,
                  Integer LastRow, Byte Alpha) {
    for (Integer y = Top; y <= LastRow; ++y)
        SetAlphaRow(Bits + ptrdiff_t(y) * Width + Left, LastColumn - Left + 1, Alpha);
}

void CopyBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect, const TqxBitmap* Source,
                    const TRect& SrcRect) {
    TransferRect(BitmapTarget(Target), DstRect, ClipRect, Source, SrcRect, BlendRoutines.CopyRow, true,
                 false);
}

void CopyMaskedBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect,
                          const TqxBitmap* Source, const TRect& SrcRect) {
    TransferRect(BitmapTarget(Target), DstRect, ClipRect, Source, SrcRect, BlendRoutines.CopyMaskedRow, false,
                 false);
}

void BlendBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect, const TqxBitmap* Source,
                     const TRect& SrcRect) {
    TransferRect(BitmapTarget(Target), DstRect, ClipRect, Source, SrcRect, BlendRoutines.BlendRow, false,
                 false);
}

void CopyToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                   const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth) {
    TransferRect(DIBTarget(Bits, DIBHeight, DIBWidth), DstRect, ClipRect, Source, SrcRect,
                 BlendRoutines.CopyRow, true, true);
}

void CopyMaskedToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect,
                         const TRect& SrcRect, const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth) {
    TransferRect(DIBTarget(Bits, DIBHeight, DIBWidth), DstRect, ClipRect, Source, SrcRect,
                 BlendRoutines.CopyMaskedRow, false, true);
}

void BlendToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                    const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth) {
    TransferRect(DIBTarget(Bits, DIBHeight, DIBWidth), DstRect, ClipRect, Source, SrcRect,
                 BlendRoutines.BlendRow, false, true);
}

void StretchToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                 const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight) {
    win::SetStretchBltMode(DC, win::COLORONCOLOR);
    win::StretchBlt(DC, DstX, DstY, DstWidth, DstHeight, Source->DC(), SrcX, SrcY, SrcWidth, SrcHeight,
                    win::SRCCOPY);
}

void ComposeToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                 const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight) {
    if (DstWidth <= 0 || DstHeight <= 0) return;
    TqxBitmap work;
    work.SetSize(DstWidth, DstHeight);
    win::BitBlt(work.DC(), 0, 0, DstWidth, DstHeight, DC, DstX, DstY, win::SRCCOPY);
    Source->Draw(&work, Rect(0, 0, DstWidth, DstHeight), Bounds(SrcX, SrcY, SrcWidth, SrcHeight));
    win::BitBlt(DC, DstX, DstY, DstWidth, DstHeight, work.DC(), 0, 0, win::SRCCOPY);
}

void TransparentToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                     const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth,
                     Integer SrcHeight) {
    TransparentBltProc(DC, DstX, DstY, DstWidth, DstHeight, Source->DC(), SrcX, SrcY, SrcWidth, SrcHeight,
                       KeyColor);
}

void* GetDIBSectionInfo(win::HDC DC, Integer& Width, Integer& Height, Integer& BitCount) {
    Width = Height = BitCount = 0;
    win::HGDIOBJ bitmap = win::GetCurrentObject(DC, win::OBJ_BITMAP);
    win::DIBSECTION section{};
    if (!bitmap || win::GetObject(bitmap, sizeof section, &section) != int(sizeof section)) return nullptr;
    Width = section.dsBmih.biWidth;
    Height = section.dsBmih.biHeight;
    BitCount = section.dsBmih.biBitCount;
    return section.dsBm.bmBits;
}

bool HasMMX() {
    return win::Capabilities().HasMMX;
}

void EndMMX() {}

Integer ScreenBitsPerPixel() {
    win::HDC screen = win::CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
    const Integer bits = win::GetDeviceCaps(screen, win::BITSPIXEL) * win::GetDeviceCaps(screen, win::PLANES);
    win::DeleteDC(screen);
    return bits;
}

bool IsTrueColorScreen() {
    return ScreenBitsPerPixel() > 23;
}

bool IsWin2000OrLater() {
    const win::TCapabilities& caps = win::Capabilities();
    return caps.MajorVersion > 5 || (caps.MajorVersion == 5 && caps.MinorVersion <= 2);
}

// The drawing layer always offers the two calls; the capability table says
// whether the platform it stands in for would. A library without either
// entry point counts as not available, so that users of AlphaBlendProc may
// rely on IsMsimg32Available alone.
void LoadMsimg32() {
    const win::TCapabilities& caps = win::Capabilities();
    const bool loaded = IsWin2000OrLater();
    TransparentBltProc = loaded && caps.HasTransparentBlt ? &win::TransparentBlt : nullptr;
    AlphaBlendProc = loaded && caps.HasAlphaBlend ? &win::AlphaBlend : nullptr;
    IsMsimg32Available = TransparentBltProc && AlphaBlendProc;
}

void InitPixelRoutines() {
    MMXAvailable = HasMMX();
    BlendRoutines.BlendPixel = MMXAvailable ? BlendPixelMMX : BlendPixel;
    BlendRoutines.BlendRow = MMXAvailable ? BlendRowMMX : BlendRow;
    BlendRoutines.CopyMaskedRow = CopyMaskedRow;
    BlendRoutines.CopyRow = CopyRow;
    BlendRoutines.FillRow = FillRow;
    BlendRoutines.FillArea = FillArea;
    BlendRoutines.SetAlphaRow = SetAlphaRow;
    BlendRoutines.SetAlphaArea = SetAlphaArea;
}

void InitTransferRoutines() {
    BlendRoutines.OpaqueToDC = StretchToDC;
    BlendRoutines.AlphaToDC = ComposeToDC;
    BlendRoutines.MaskedToDC =
        IsMsimg32Available && TransparentBltProc && IsTrueColorScreen() ? TransparentToDC : ComposeToDC;
    BlendRoutines.CopyBitmapRect = CopyBitmapRect;
    BlendRoutines.CopyMaskedBitmapRect = CopyMaskedBitmapRect;
    BlendRoutines.BlendBitmapRect = BlendBitmapRect;
    BlendRoutines.CopyToDIBRect = CopyToDIBRect;
    BlendRoutines.CopyMaskedToDIBRect = CopyMaskedToDIBRect;
    BlendRoutines.BlendToDIBRect = BlendToDIBRect;
    BlendRoutines.GetDIBSectionInfo = GetDIBSectionInfo;
}

TqxColor ColorToPixel(TColor AColor) {
    const auto c = static_cast<Cardinal>(AColor);
    return AlphaBits | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TqxColor ColorToPixelAlpha(TColor AColor, Byte AAlpha) {
    return (ColorToPixel(ColorToRGB(AColor)) & ColorBits) | (TqxColor(AAlpha) << 24);
}

namespace {

// The unit's start-up, before any skin drawing.
struct TRoutinesStartup {
    TRoutinesStartup() {
        MMXAvailable = HasMMX();
        LoadMsimg32();
        InitPixelRoutines();
        InitTransferRoutines();
    }
    ~TRoutinesStartup() {
        IsMsimg32Available = false;
        TransparentBltProc = nullptr;
        AlphaBlendProc = nullptr;
    }
} RoutinesStartup;

}  // namespace
