#include "platform/gdi/transfer.h"

#include "platform/gdi/blend.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gdi {

namespace {

constexpr Pixel White = 0x00FFFFFF;

// Source column (or row) for each destination column of [AFirst, ALast),
// counted from the destination rectangle's start ADestStart.
void BuildMap(std::vector<int>& AMap, int AFirst, int ALast, int ADestStart, int ADestSize, int ASourceStart,
              int ASourceSize, bool AMirror) {
    AMap.resize(size_t(ALast - AFirst));
    for (int x = AFirst; x < ALast; ++x) {
        int64_t j = x - ADestStart;
        if (AMirror) j = ADestSize - 1 - j;
        const int64_t s = ASourceSize == ADestSize ? j : (2 * j + 1) * ASourceSize / (2 * int64_t(ADestSize));
        AMap[size_t(x - AFirst)] = int(ASourceStart + s);
    }
}

// The destination span [AFirst, ALast) narrowed to where the map lands
// inside [0, ALimit); the map is monotonic, so that span is one piece.
void ValidSpan(const std::vector<int>& AMap, int& AFirst, int& ALast, int ALimit) {
    const int base = AFirst;
    int first = ALast, last = base;
    for (int x = base; x < ALast; ++x) {
        const int s = AMap[size_t(x - base)];
        if (s >= 0 && s < ALimit) {
            first = std::min(first, x);
            last = x + 1;
        }
    }
    AFirst = first;
    ALast = std::max(first, last);
}

// Bitwise ternary raster operation over whole rows.
void ApplyRop(uint8_t ACode, Pixel APattern, const Pixel* S, Pixel* D, int N) {
    switch (ACode) {
        case 0xCC:  // SRCCOPY
            std::memcpy(D, S, size_t(N) * sizeof(Pixel));
            return;
        case 0xEE:  // SRCPAINT
            for (int i = 0; i < N; ++i)
                D[i] |= S[i];
            return;
        case 0x88:  // SRCAND
            for (int i = 0; i < N; ++i)
                D[i] &= S[i];
            return;
        case 0x66:  // SRCINVERT
            for (int i = 0; i < N; ++i)
                D[i] ^= S[i];
            return;
        case 0x33:  // NOTSRCCOPY
            for (int i = 0; i < N; ++i)
                D[i] = ~S[i];
            return;
        case 0x55:  // DSTINVERT
            for (int i = 0; i < N; ++i)
                D[i] = ~D[i];
            return;
        case 0xF0:  // PATCOPY
            std::fill_n(D, N, APattern);
            return;
        case 0x5A:  // PATINVERT
            for (int i = 0; i < N; ++i)
                D[i] ^= APattern;
            return;
        default:
            break;
    }
    // Bit k of the code is the result for (P, S, D) = k's bits 2, 1, 0.
    const Pixel p = APattern;
    for (int i = 0; i < N; ++i) {
        const Pixel s = S ? S[i] : 0, d = D[i];
        Pixel r = 0;
        for (int k = 0; k < 8; ++k)
            if (ACode & (1 << k)) r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
        D[i] = r;
    }
}

void ApplyKey(Pixel AKey, const Pixel* S, Pixel* D, int N) {
    for (int i = 0; i < N; ++i)
        if ((S[i] & ColorMask) != AKey) D[i] = S[i];
}

}  // namespace

namespace {

class Transferrer {
  public:
    Transferrer(const TransferDest& ADest, const TransferSource* ASource, const TransferOp& AOp)
        : FDest(ADest), FSource(ASource), FOp(AOp) {}

    void Run();

  private:
    bool Prepare(PixRegion& ARegion);
    const Pixel* SourceRow(int Y, int AFirst, int ACount);
    void Convert(Pixel* ARow, int ACount) const;
    void Apply(const Pixel* S, Pixel* D, int N);
    bool ReadsDest() const;

    const TransferDest& FDest;
    const TransferSource* FSource;
    const TransferOp& FOp;
    win::RECT FBounds{};
    std::vector<int> FColumns, FRows;
    bool FIdentityColumns = false;
    std::vector<Pixel> FSourceRow, FFetched, FDestRow;
    // What FSourceRow holds, so rows repeated by scaling are gathered once.
    int FCachedRow = -1, FCachedFirst = 0, FCachedCount = 0;
    Pixel FPattern = 0, FKey = 0;
    Pixel FMonoBlack = 0, FMonoWhite = White, FSourceBk = 0;
    bool FToMono = false, FFromMono = false, FOpaqueSource = false;
};

// Whether pixels of the destination survive or take part: then a
// destination that is not 32-bit must be read before it is written.
bool Transferrer::ReadsDest() const {
    return FOp.Kind != TransferKind::Rop || RopUsesDest(FOp.Rop);
}

bool Transferrer::Prepare(PixRegion& ARegion) {
    const Surface& d = FDest.Pixels;
    if (!d.Valid()) return false;
    ARegion = FDest.Visible;
    ARegion.Intersect(FDest.Rect);
    if (ARegion.Empty()) return false;
    FBounds = ARegion.Bounds();
    FToMono = d.Monochrome;
    FPattern = NearestPixel(d, ColorToPixel(FOp.Pattern & ColorMask));
    FKey = ColorToPixel(FOp.Key & ColorMask);
    if (!FSource) return true;

    const Surface& s = FSource->Pixels;
    if (!s.Valid()) return false;
    const win::RECT& dr = FDest.Rect;
    const win::RECT& sr = FSource->Rect;
    const int dw = dr.right - dr.left, dh = dr.bottom - dr.top;
    const int sw = sr.right - sr.left, sh = sr.bottom - sr.top;
    if (sw <= 0 || sh <= 0) return false;
    int x0 = FBounds.left, x1 = FBounds.right, y0 = FBounds.top, y1 = FBounds.bottom;
    BuildMap(FColumns, x0, x1, dr.left, dw, sr.left, sw, FSource->MirrorX);
    BuildMap(FRows, y0, y1, dr.top, dh, sr.top, sh, FSource->MirrorY);
    ValidSpan(FColumns, x0, x1, s.Width);
    ValidSpan(FRows, y0, y1, s.Height);
    if (x0 >= x1 || y0 >= y1) return false;
    // Keep the maps indexed from the bounds' corner.
    ARegion.Intersect(win::RECT{x0, y0, x1, y1});
    FIdentityColumns = sw == dw && !FSource->MirrorX;

    FFromMono = s.Monochrome && !FToMono && FOp.Kind != TransferKind::Alpha;
    FMonoBlack = ColorToPixel(FDest.TextColor & ColorMask);
    FMonoWhite = ColorToPixel(FDest.BkColor & ColorMask);
    FSourceBk = ColorToPixel(FSource->BkColor & ColorMask);
    FOpaqueSource = FOp.Kind == TransferKind::Alpha && !s.HasAlpha;
    return !ARegion.Empty();
}

void Transferrer::Convert(Pixel* ARow, int ACount) const {
    if (FFromMono) {
        for (int i = 0; i < ACount; ++i)
            ARow[i] = (ARow[i] & ColorMask) ? FMonoWhite : FMonoBlack;
    } else if (FToMono && !FSource->Pixels.Monochrome) {
        for (int i = 0; i < ACount; ++i)
            ARow[i] = (ARow[i] & ColorMask) == FSourceBk ? White : 0;
    }
    if (FOpaqueSource)
        for (int i = 0; i < ACount; ++i)
            ARow[i] |= AlphaMask;
}

// The converted source pixels for destination columns AFirst .. AFirst + ACount - 1 of row Y.
const Pixel* Transferrer::SourceRow(int Y, int AFirst, int ACount) {
    const Surface& s = FSource->Pixels;
    const int sy = FRows[size_t(Y - FBounds.top)];
    const int* map = FColumns.data() + (AFirst - FBounds.left);
    const bool plain = !FFromMono && !FToMono && !FOpaqueSource;
    if (s.BitsPerPixel == 32 && FIdentityColumns && plain && s.HasAlpha) return s.Row32(sy) + map[0];
    if (sy == FCachedRow && AFirst == FCachedFirst && ACount == FCachedCount) return FSourceRow.data();
    FCachedRow = sy;
    FCachedFirst = AFirst;
    FCachedCount = ACount;
    FSourceRow.resize(size_t(ACount));
    Pixel* out = FSourceRow.data();
    if (s.BitsPerPixel == 32) {
        const Pixel* row = s.Row32(sy);
        const Pixel mask = s.HasAlpha ? ~Pixel(0) : ColorMask;
        if (FIdentityColumns) {
            for (int i = 0; i < ACount; ++i)
                out[i] = row[map[0] + i] & mask;
        } else {
            for (int i = 0; i < ACount; ++i)
                out[i] = row[map[i]] & mask;
        }
    } else {
        const int lo = std::min(map[0], map[ACount - 1]), hi = std::max(map[0], map[ACount - 1]);
        FFetched.resize(size_t(hi - lo + 1));
        FetchRow(s, lo, sy, hi - lo + 1, FFetched.data());
        for (int i = 0; i < ACount; ++i)
            out[i] = FFetched[size_t(map[i] - lo)];
    }
    Convert(out, ACount);
    return out;
}

void Transferrer::Apply(const Pixel* S, Pixel* D, int N) {
    switch (FOp.Kind) {
        case TransferKind::Rop:
            // The constant operations fill like a brush of that colour.
            if (FOp.Rop == 0x00 || FOp.Rop == 0xFF)
                std::fill_n(D, N, NearestPixel(FDest.Pixels, FOp.Rop ? White : 0));
            else
                ApplyRop(FOp.Rop, FPattern, S, D, N);
            break;
        case TransferKind::Transparent:
            ApplyKey(FKey, S, D, N);
            break;
        case TransferKind::Alpha:
            BlendRow(D, S, N, FOp.ConstantAlpha, FOp.SourceAlpha);
            break;
    }
}

void Transferrer::Run() {
    PixRegion region;
    if (!Prepare(region)) return;
    const Surface& d = FDest.Pixels;
    const bool direct = d.BitsPerPixel == 32;
    const bool readsDest = !direct && ReadsDest();
    for (const pixman_box32_t& box : region.Boxes()) {
        const int n = box.x2 - box.x1;
        for (int y = box.y1; y < box.y2; ++y) {
            const Pixel* s = FSource ? SourceRow(y, box.x1, n) : nullptr;
            Pixel* row;
            if (direct) {
                row = d.Row32(y) + box.x1;
            } else {
                FDestRow.resize(size_t(n));
                row = FDestRow.data();
                if (readsDest) FetchRow(d, box.x1, y, n, row);
            }
            Apply(s, row, n);
            if (!direct) StoreRow(d, box.x1, y, n, row);
        }
    }
}

}  // namespace

void Transfer(const TransferDest& ADest, const TransferSource* ASource, const TransferOp& AOp) {
    // Reading and writing the same pixels: read from a copy taken first.
    PixRegion overlap;
    if (ASource && ASource->Pixels.Bits == ADest.Pixels.Bits && ASource->Pixels.Bits) {
        overlap = PixRegion(ASource->Rect);
        overlap.Intersect(ADest.Rect);
    }
    if (!overlap.Empty()) {
        const Surface& s = ASource->Pixels;
        std::vector<uint8_t> copy(s.Bits, s.Bits + size_t(s.Stride) * size_t(s.Height));
        TransferSource snapshot = *ASource;
        snapshot.Pixels.Bits = copy.data();
        Transferrer(ADest, &snapshot, AOp).Run();
        return;
    }
    Transferrer(ADest, ASource, AOp).Run();
}

}  // namespace gdi
