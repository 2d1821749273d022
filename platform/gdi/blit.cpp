#include "platform/gdi/blit.h"

#include <algorithm>
#include <cstdint>

#include "platform/gdi/dcstate.h"
#include "platform/gdi/transfer.h"

using namespace win;

namespace gdi {

namespace {

TransferDest DestOf(const DeviceContext& ADC, const RECT& ALogical) {
    TransferDest dest;
    dest.Pixels = ADC.Target();
    dest.Rect = ADC.ToSurface(ALogical);
    dest.Visible = ADC.Visible();
    dest.TextColor = ADC.State.TextColor;
    dest.BkColor = ADC.State.BkColor;
    return dest;
}

TransferSource SourceOf(const DeviceContext& ADC, const RECT& ALogical) {
    TransferSource source;
    source.Pixels = ADC.Target();
    source.Rect = ADC.ToSurface(ALogical);
    source.BkColor = ADC.State.BkColor;
    return source;
}

// A rectangle from a corner and signed sizes, kept where sums cannot overflow.
RECT Corner(int X, int Y, int AWidth, int AHeight) {
    static constexpr int64_t limit = int64_t{1} << 30;
    const auto clamp = [](int64_t AValue) { return int(std::clamp(AValue, -limit, limit)); };
    return {clamp(X), clamp(Y), clamp(int64_t(X) + AWidth), clamp(int64_t(Y) + AHeight)};
}

// The pattern and source a raster operation needs, or false when it cannot
// run. ADraws is false when it runs but paints nothing (a clear brush).
bool RopOperands(DeviceContext& ADest, HDC ASource, uint8_t ACode, TransferOp& AOp, DeviceContext*& ASourceDC,
                 bool& ADraws) {
    AOp.Kind = TransferKind::Rop;
    AOp.Rop = ACode;
    ADraws = true;
    ASourceDC = nullptr;
    if (RopUsesSource(ACode)) {
        ASourceDC = LookupDC(ASource);
        if (!ASourceDC) return false;
    }
    if (RopUsesPattern(ACode)) {
        const BrushObject& brush = *ADest.State.Brush.Get();
        ADraws = brush.Paints();
        AOp.Pattern = brush.Brush.lbColor;
    }
    return true;
}

BOOL StretchRop(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                int ASourceWidth, int ASourceHeight, DWORD ARop) {
    DeviceContext* dest = LookupDC(ADest);
    if (!dest) return FALSE;
    TransferOp op;
    DeviceContext* source;
    bool draws;
    if (!RopOperands(*dest, ASource, RopCode(ARop), op, source, draws)) return FALSE;
    if (AWidth == 0 || AHeight == 0 || !draws) return TRUE;
    if (source && (ASourceWidth == 0 || ASourceHeight == 0)) return FALSE;
    const TransferDest to = DestOf(*dest, Corner(X, Y, AWidth, AHeight));
    if (!source) {
        Transfer(to, nullptr, op);
        return TRUE;
    }
    TransferSource from = SourceOf(*source, Corner(ASourceX, ASourceY, ASourceWidth, ASourceHeight));
    from.MirrorX = (AWidth < 0) != (ASourceWidth < 0);
    from.MirrorY = (AHeight < 0) != (ASourceHeight < 0);
    Transfer(to, &from, op);
    return TRUE;
}

bool Inside(const RECT& AInner, const Surface& ASurface) {
    return AInner.left >= 0 && AInner.top >= 0 && AInner.right <= ASurface.Width &&
           AInner.bottom <= ASurface.Height;
}

bool Overlap(const TransferDest& ADest, const TransferSource& ASource) {
    if (ADest.Pixels.Bits != ASource.Pixels.Bits) return false;
    PixRegion both(ADest.Rect);
    both.Intersect(ASource.Rect);
    return !both.Empty();
}

}  // namespace

}  // namespace gdi

namespace win {

using namespace gdi;

BOOL BitBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
            DWORD ARop) {
    GdiLock lock(GdiMutex());
    if (AWidth == INT32_MIN || AHeight == INT32_MIN) return FALSE;
    // One size for both sides: a negative one moves both corners, mirroring nothing.
    if (AWidth < 0) {
        X += AWidth;
        ASourceX += AWidth;
        AWidth = -AWidth;
    }
    if (AHeight < 0) {
        Y += AHeight;
        ASourceY += AHeight;
        AHeight = -AHeight;
    }
    return StretchRop(ADest, X, Y, AWidth, AHeight, ASource, ASourceX, ASourceY, AWidth, AHeight, ARop);
}

BOOL PatBlt(HDC ADC, int X, int Y, int AWidth, int AHeight, DWORD ARop) {
    if (RopUsesSource(RopCode(ARop))) return FALSE;
    return BitBlt(ADC, X, Y, AWidth, AHeight, nullptr, 0, 0, ARop);
}

BOOL StretchBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                int ASourceWidth, int ASourceHeight, DWORD ARop) {
    GdiLock lock(GdiMutex());
    return StretchRop(ADest, X, Y, AWidth, AHeight, ASource, ASourceX, ASourceY, ASourceWidth, ASourceHeight,
                      ARop);
}

BOOL TransparentBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                    int ASourceWidth, int ASourceHeight, UINT ATransparent) {
    GdiLock lock(GdiMutex());
    DeviceContext* dest = LookupDC(ADest);
    DeviceContext* source = LookupDC(ASource);
    if (!dest || !source || AWidth < 0 || AHeight < 0 || ASourceWidth <= 0 || ASourceHeight <= 0)
        return FALSE;
    TransferOp op;
    op.Kind = TransferKind::Transparent;
    op.Key = ATransparent;
    const TransferSource from = SourceOf(*source, Corner(ASourceX, ASourceY, ASourceWidth, ASourceHeight));
    Transfer(DestOf(*dest, Corner(X, Y, AWidth, AHeight)), &from, op);
    return TRUE;
}

BOOL AlphaBlend(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                int ASourceWidth, int ASourceHeight, BLENDFUNCTION ABlend) {
    GdiLock lock(GdiMutex());
    DeviceContext* dest = LookupDC(ADest);
    DeviceContext* source = LookupDC(ASource);
    if (!dest || !source || AWidth < 0 || AHeight < 0 || ASourceWidth <= 0 || ASourceHeight <= 0 ||
        ABlend.BlendOp != AC_SRC_OVER || ABlend.BlendFlags != 0 || (ABlend.AlphaFormat & ~AC_SRC_ALPHA) != 0)
        return FALSE;
    const TransferSource from = SourceOf(*source, Corner(ASourceX, ASourceY, ASourceWidth, ASourceHeight));
    const TransferDest to = DestOf(*dest, Corner(X, Y, AWidth, AHeight));
    if (!Inside(from.Rect, from.Pixels) || Overlap(to, from)) return FALSE;
    TransferOp op;
    op.Kind = TransferKind::Alpha;
    op.ConstantAlpha = ABlend.SourceConstantAlpha;
    op.SourceAlpha = ABlend.AlphaFormat == AC_SRC_ALPHA;
    Transfer(to, &from, op);
    return TRUE;
}

}  // namespace win
