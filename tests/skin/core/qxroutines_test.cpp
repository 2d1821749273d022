#include "skin/core/qxroutines.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/dc.h"
#include "platform/toolkit/bitmap.h"
#include "skin/core/qxrowkernels.h"
#include "skintest.h"

namespace {

Cardinal Channel(TqxColor P, int AShift) {
    return (P >> AShift) & 0xFF;
}

// The two blend formulas, written out pixel by pixel.
TqxColor PlainReference(TqxColor S, TqxColor D) {
    const Cardinal a = S >> 24;
    if (a == 255) return S;
    if (a == 0) return D;
    TqxColor r = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
        r |= ((Channel(S, shift) * a + Channel(D, shift) * (255 - a)) >> 8) << shift;
    return r;
}

// BlendPixelMMX has no special cases; BlendRowMMX takes alpha 0 and 255 aside.
TqxColor MMXPixelReference(TqxColor S, TqxColor D) {
    const Cardinal a = S >> 24;
    TqxColor r = 0;
    for (int shift = 0; shift < 32; shift += 8)
        r |= ((Channel(D, shift) * (256 - a) + Channel(S, shift) * a) >> 8) << shift;
    return r;
}

TqxColor MMXRowReference(TqxColor S, TqxColor D) {
    const Cardinal a = S >> 24;
    return a == 255 ? S : a == 0 ? D : MMXPixelReference(S, D);
}

using TRow = std::function<void(const TqxColor*, TqxColor*, Integer)>;

// Every (source byte, target byte, alpha) in each channel: one row of 256
// targets per source value and alpha, the channels permuted so that a mix-up
// between them shows.
void ExpectRowFormula(const TRow& ARow, TqxColor (*AReference)(TqxColor, TqxColor)) {
    TqxColor source[256], target[256];
    for (Cardinal a = 0; a < 256; ++a)
        for (Cardinal s = 0; s < 256; ++s) {
            for (Cardinal t = 0; t < 256; ++t) {
                source[t] = (a << 24) | ((s ^ 0x55) << 16) | ((255 - s) << 8) | s;
                target[t] = (t << 24) | (t << 16) | ((t ^ 0xAA) << 8) | (255 - t);
            }
            ARow(source, target, 256);
            for (Cardinal t = 0; t < 256; ++t) {
                const TqxColor d = (t << 24) | (t << 16) | ((t ^ 0xAA) << 8) | (255 - t);
                if (target[t] != AReference(source[t], d)) {
                    ADD_FAILURE() << std::hex << "source " << source[t] << " target " << d << " gave "
                                  << target[t] << " not " << AReference(source[t], d);
                    return;
                }
            }
        }
}

TEST(BlendRoutines, WhiteAtHalfAlphaOverOpaqueBlackAndWhite) {
    const TqxColor white128 = 0x80FFFFFF;
    struct TCase {
        TqxColor Target;
        TqxColor Plain;
        TqxColor MMX;
    } cases[] = {{0xFF000000, 0xFF7F7F7F, 0xBF7F7F7F}, {0xFFFFFFFF, 0xFFFEFEFE, 0xBFFFFFFF}};
    for (const TCase& c : cases) {
        TqxColor plain = c.Target, mmx = c.Target;
        BlendRow(&white128, &plain, 1);
        BlendRowMMX(&white128, &mmx, 1);
        EXPECT_EQ(c.Plain, plain);
        EXPECT_EQ(c.MMX, mmx);
        EXPECT_EQ(c.Plain, BlendPixel(white128, c.Target));
        EXPECT_EQ(c.MMX, BlendPixelMMX(white128, c.Target));
    }
}

TEST(BlendRoutines, RowsFollowTheirFormulasForEveryByteAndAlpha) {
    ExpectRowFormula(BlendRow, PlainReference);
    ExpectRowFormula(BlendRowMMX, MMXRowReference);
}

TEST(BlendRoutines, BothVectorWidthsFollowTheFormulas) {
    // The SSE2 and the AVX2 loop, whatever this processor has.
    ExpectRowFormula([](const TqxColor* S, TqxColor* D, Integer N) { qxkernels::BlendRows<4>(S, D, N); },
                     PlainReference);
    ExpectRowFormula([](const TqxColor* S, TqxColor* D, Integer N) { qxkernels::BlendRows<8>(S, D, N); },
                     PlainReference);
    ExpectRowFormula([](const TqxColor* S, TqxColor* D, Integer N) { qxkernels::BlendRowsMMX<4>(S, D, N); },
                     MMXRowReference);
    ExpectRowFormula([](const TqxColor* S, TqxColor* D, Integer N) { qxkernels::BlendRowsMMX<8>(S, D, N); },
                     MMXRowReference);
}

TEST(BlendRoutines, PixelsFollowTheirFormulas) {
    ExpectRowFormula(
        [](const TqxColor* S, TqxColor* D, Integer N) {
            for (Integer i = 0; i < N; ++i)
                D[i] = BlendPixel(S[i], D[i]);
        },
        PlainReference);
    ExpectRowFormula(
        [](const TqxColor* S, TqxColor* D, Integer N) {
            for (Integer i = 0; i < N; ++i)
                D[i] = BlendPixelMMX(S[i], D[i]);
        },
        MMXPixelReference);
}

TEST(BlendRoutines, RowEndsShorterThanAVectorAreBlendedToo) {
    TqxColor source[13], plain[13], mmx[13];
    for (Cardinal i = 0; i < 13; ++i) {
        source[i] = ((i * 20) << 24) | 0x00FF8040;
        plain[i] = mmx[i] = 0xFF000000 | (i * 0x00101010);
    }
    const std::vector<TqxColor> before(plain, plain + 13);
    BlendRow(source, plain, 13);
    BlendRowMMX(source, mmx, 13);
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(PlainReference(source[i], before[i]), plain[i]) << i;
        EXPECT_EQ(MMXRowReference(source[i], before[i]), mmx[i]) << i;
    }
}

TEST(BlendRoutines, CopyMaskedRowComparesTheColourOnly) {
    const TqxColor source[9] = {0xFF7F007F, 0x00123456, 0x007F007F, 0x80112233, 0xFF7F007F,
                                0x00563412, 0xFF7F0080, 0x017F007F, 0x00000000};
    TqxColor target[9];
    std::fill_n(target, 9, 0x01020304);
    CopyMaskedRow(source, target, 9);
    const TqxColor expected[9] = {0x01020304, 0xFF123456, 0x01020304, 0xFF112233, 0x01020304,
                                  0xFF563412, 0xFF7F0080, 0x01020304, 0xFF000000};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(expected[i], target[i]) << i;
    EXPECT_EQ(0xFF123456u, [] {
        const TqxColor s[8] = {0x00123456};
        TqxColor d[8] = {};
        qxkernels::CopyMaskedRows<4>(s, d, 8, 0x7F007F);
        return d[0];
    }());
}

TEST(BlendRoutines, FillAndAlphaRoutinesKeepToTheirArea) {
    TqxColor bits[4 * 3];
    std::fill_n(bits, 12, 0x11223344);
    FillArea(bits, 4, 3, 1, 1, 2, 2, 0xAABBCCDD);
    SetAlphaArea(bits, 4, 3, 0, 0, 1, 0, 0x7F);
    const TqxColor expected[12] = {0x7F223344, 0x7F223344, 0x11223344, 0x11223344, 0x11223344, 0xAABBCCDD,
                                   0xAABBCCDD, 0x11223344, 0x11223344, 0xAABBCCDD, 0xAABBCCDD, 0x11223344};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(expected[i], bits[i]) << i;
    TqxColor untouched = 5;
    FillRow(&untouched, 0, 9);
    SetAlphaRow(&untouched, 0, 9);
    CopyRow(&untouched, &untouched, 1);
    EXPECT_EQ(5u, untouched);
}

// Bitmap to bitmap.

std::vector<TqxColor> Scaled(TqxBitmapRectProc ATransfer, const TqxBitmap& ASource, Integer ATargetWidth,
                             Integer ATargetHeight, const TRect& ADstRect, const TRect& ASrcRect) {
    TqxBitmap target;
    target.SetSize(ATargetWidth, ATargetHeight);
    target.Clear(0xFFFFFFFF);
    ATransfer(&target, ADstRect, ADstRect, &ASource, ASrcRect);
    return Pixels(target);
}

TEST(BitmapTransfers, ScalingMapsColumnsAndRowsByTruncation) {
    TqxBitmap source;
    Fill(source, 3, 1, {0xFF000000, 0xFF000001, 0xFF000002});
    EXPECT_EQ((std::vector<TqxColor>{0xFF000000, 0xFF000000, 0xFF000001, 0xFF000001, 0xFF000002}),
              Scaled(CopyBitmapRect, source, 5, 1, Rect(0, 0, 5, 1), Rect(0, 0, 3, 1)));
    TqxBitmap column;
    Fill(column, 1, 3, {0xFF000000, 0xFF000001, 0xFF000002});
    for (TqxBitmapRectProc transfer : {CopyBitmapRect, CopyMaskedBitmapRect, BlendBitmapRect})
        EXPECT_EQ((std::vector<TqxColor>{0xFF000000, 0xFF000000, 0xFF000001, 0xFF000001, 0xFF000002}),
                  Scaled(transfer, column, 1, 5, Rect(0, 0, 1, 5), Rect(0, 0, 1, 3)));
}

TEST(BitmapTransfers, AOneColumnTargetTakesTheMiddleColumn) {
    TqxBitmap source;
    Fill(source, 5, 1, {0xFF000000, 0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
    EXPECT_EQ(std::vector<TqxColor>{0xFF000002},
              Scaled(CopyBitmapRect, source, 1, 1, Rect(0, 0, 1, 1), Rect(0, 0, 5, 1)));
    EXPECT_EQ(std::vector<TqxColor>{0xFF000001},
              Scaled(CopyBitmapRect, source, 1, 1, Rect(0, 0, 1, 1), Rect(1, 0, 3, 1)));
}

TEST(BitmapTransfers, ASourceRectangleOutsideTheSourceDrawsNothing) {
    TqxBitmap source;
    Fill(source, 5, 5, {});
    source.Clear(0xFF123456);
    for (TqxBitmapRectProc transfer : {CopyBitmapRect, CopyMaskedBitmapRect, BlendBitmapRect}) {
        EXPECT_EQ(std::vector<TqxColor>(25, 0xFFFFFFFF),
                  Scaled(transfer, source, 5, 5, Rect(0, 0, 5, 5), Rect(-1, 0, 5, 5)));
        EXPECT_EQ(std::vector<TqxColor>(25, 0xFFFFFFFF),
                  Scaled(transfer, source, 5, 5, Rect(0, 0, 5, 5), Rect(0, 0, 5, 6)));
    }
}

TEST(BitmapTransfers, TheTargetClipsAndKeepsTheMapping) {
    TqxBitmap source;
    Fill(source, 6, 1, {0xFF000000, 0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005});
    // Unscaled past the right edge: only the visible columns, from the left of the part.
    EXPECT_EQ((std::vector<TqxColor>{0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000001}),
              Scaled(CopyBitmapRect, source, 4, 1, Rect(2, 0, 8, 1), Rect(0, 0, 6, 1)));
    // Scaled from left of the target: columns 2..4 of the five map to 1, 1, 2.
    TqxBitmap three;
    Fill(three, 3, 1, {0xFF000000, 0xFF000001, 0xFF000002});
    EXPECT_EQ((std::vector<TqxColor>{0xFF000001, 0xFF000001, 0xFF000002, 0xFFFFFFFF}),
              Scaled(CopyBitmapRect, three, 4, 1, Rect(-2, 0, 3, 1), Rect(0, 0, 3, 1)));
    // The clip rectangle limits what is written, not the mapping.
    TqxBitmap target;
    target.SetSize(5, 1);
    target.Clear(0xFFFFFFFF);
    CopyBitmapRect(&target, Rect(0, 0, 5, 1), Rect(3, 0, 4, 1), &three, Rect(0, 0, 3, 1));
    EXPECT_EQ((std::vector<TqxColor>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000001, 0xFFFFFFFF}),
              Pixels(target));
}

TEST(BitmapTransfers, KeyedAndBlendedScalingGoThroughTheirRows) {
    TqxBitmap source;
    Fill(source, 2, 1, {MaskedColor, 0x80FFFFFF});
    // 2 to 4 columns: (x / 3) truncated maps them to 0, 0, 0, 1.
    EXPECT_EQ((std::vector<TqxColor>{0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF}), [&] {
        TqxBitmap target;
        target.SetSize(4, 1);
        target.Clear(0xFF000000);
        BlendRoutines.CopyMaskedBitmapRect(&target, Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), &source,
                                           Rect(0, 0, 2, 1));
        return Pixels(target);
    }());
    TqxBitmap target;
    Fill(target, 1, 2, {0xFF000000, 0xFFFFFFFF});
    TqxBitmap dot;
    Fill(dot, 1, 1, {0x80FFFFFF});
    BlendBitmapRect(&target, Rect(0, 0, 1, 2), Rect(0, 0, 1, 2), &dot, Rect(0, 0, 1, 1));
    EXPECT_EQ((std::vector<TqxColor>{BlendRoutines.BlendPixel(0x80FFFFFF, 0xFF000000),
                                     BlendRoutines.BlendPixel(0x80FFFFFF, 0xFFFFFFFF)}),
              Pixels(target));
}

// Into the memory of a bottom-up DIB section.

TEST(DIBTransfers, ScalingRoundsHalvesToEvenAndRowsCountFromTheBottom) {
    TqxBitmap source;
    Fill(source, 3, 1, {0xFF000000, 0xFF000001, 0xFF000002});
    TqxColor dib[5] = {};
    CopyToDIBRect(dib, Rect(0, 0, 5, 1), Rect(0, 0, 5, 1), Rect(0, 0, 3, 1), &source, 1, 5);
    EXPECT_EQ((std::vector<TqxColor>{0xFF000000, 0xFF000000, 0xFF000001, 0xFF000002, 0xFF000002}),
              std::vector<TqxColor>(dib, dib + 5));
    TqxBitmap column;
    Fill(column, 1, 3, {0xFF000000, 0xFF000001, 0xFF000002});
    TqxColor rows[5] = {};
    CopyToDIBRect(rows, Rect(0, 0, 1, 5), Rect(0, 0, 1, 5), Rect(0, 0, 1, 3), &column, 5, 1);
    // Memory holds the bottom row first.
    EXPECT_EQ((std::vector<TqxColor>{0xFF000002, 0xFF000002, 0xFF000001, 0xFF000000, 0xFF000000}),
              std::vector<TqxColor>(rows, rows + 5));
}

TEST(DIBTransfers, ARepeatedSourceRowIsBlendedOnEachTargetRow) {
    TqxBitmap dot;
    Fill(dot, 1, 1, {0x80FFFFFF});
    TqxColor dib[2] = {0xFF000000, 0xFFFFFFFF};
    BlendToDIBRect(dib, Rect(0, 0, 1, 2), Rect(0, 0, 1, 2), Rect(0, 0, 1, 1), &dot, 2, 1);
    EXPECT_EQ(BlendRoutines.BlendPixel(0x80FFFFFF, 0xFF000000), dib[0]);
    EXPECT_EQ(BlendRoutines.BlendPixel(0x80FFFFFF, 0xFFFFFFFF), dib[1]);
    TqxColor keyed[2] = {1, 2};
    TqxBitmap key;
    Fill(key, 1, 1, {MaskedColor});
    CopyMaskedToDIBRect(keyed, Rect(0, 0, 1, 2), Rect(0, 0, 1, 2), Rect(0, 0, 1, 1), &key, 2, 1);
    EXPECT_EQ(1u, keyed[0]);
    EXPECT_EQ(2u, keyed[1]);
}

// Probes and the tables they choose.

using RoutineProbes = ProbeTest;

TEST_F(RoutineProbes, TheDefaultsChooseMMXAndTransparentBlt) {
    EXPECT_TRUE(HasMMX());
    EXPECT_TRUE(MMXAvailable);
    EXPECT_TRUE(IsWin2000OrLater());
    EXPECT_TRUE(IsMsimg32Available);
    EXPECT_EQ(32, ScreenBitsPerPixel());
    EXPECT_TRUE(IsTrueColorScreen());
    EXPECT_EQ(&BlendPixelMMX, BlendRoutines.BlendPixel);
    EXPECT_EQ(&BlendRowMMX, BlendRoutines.BlendRow);
    EXPECT_EQ(&TransparentToDC, BlendRoutines.MaskedToDC);
    EXPECT_EQ(&ComposeToDC, BlendRoutines.AlphaToDC);
    EXPECT_EQ(&StretchToDC, BlendRoutines.OpaqueToDC);
    EXPECT_NE(nullptr, AlphaBlendProc);
    EXPECT_TRUE(DirectDIBDraw);
}

TEST_F(RoutineProbes, WithoutMMXThePlainBlendsAreUsed) {
    win::Capabilities().HasMMX = false;
    InitPixelRoutines();
    EXPECT_FALSE(MMXAvailable);
    EXPECT_EQ(&BlendPixel, BlendRoutines.BlendPixel);
    EXPECT_EQ(&BlendRow, BlendRoutines.BlendRow);
}

TEST_F(RoutineProbes, ColourKeyedDrawingComposesWithoutTransparentBltOrTrueColour) {
    struct TCase {
        const char* Name;
        void (*Flip)(win::TCapabilities&);
    } cases[] = {
        {"16-bit screen", [](win::TCapabilities& C) { C.ScreenBitsPerPixel = 16; }},
        {"no TransparentBlt", [](win::TCapabilities& C) { C.HasTransparentBlt = false; }},
        {"no AlphaBlend", [](win::TCapabilities& C) { C.HasAlphaBlend = false; }},
        {"before Windows 2000", [](win::TCapabilities& C) { C.MajorVersion = 4; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RestartRoutines();
        c.Flip(win::Capabilities());
        LoadMsimg32();
        InitTransferRoutines();
        EXPECT_EQ(&ComposeToDC, BlendRoutines.MaskedToDC);
        // Composition writes kept pixels opaque; TransparentBlt would copy their alpha.
        TqxBitmap source;
        Fill(source, 2, 1, {MaskedColor, 0x40112233});
        source.SetTransparent(true);
        TBitmap canvas;
        canvas.SetPixelFormat(pf32bit);
        canvas.SetSize(2, 1);
        source.Draw(canvas.Canvas(), 0, 0);
        const auto* row = static_cast<const TqxColor*>(canvas.ScanLine(0));
        EXPECT_EQ(0u, row[0]);
        EXPECT_EQ(0xFF112233u, row[1]);
    }
    RestartRoutines();
    EXPECT_EQ(ScreenBitsPerPixel() > 23 ? &TransparentToDC : &ComposeToDC, BlendRoutines.MaskedToDC);
}

TEST_F(RoutineProbes, WindowsVersionsFromTheTable) {
    struct TCase {
        Byte Major, Minor;
        bool Expected;
    } cases[] = {{4, 0, false}, {5, 0, true}, {5, 1, true}, {5, 2, true},
                 {5, 3, false}, {6, 0, true}, {10, 0, true}};
    for (const TCase& c : cases) {
        win::Capabilities().MajorVersion = c.Major;
        win::Capabilities().MinorVersion = c.Minor;
        EXPECT_EQ(c.Expected, IsWin2000OrLater()) << int(c.Major) << "." << int(c.Minor);
    }
}

TEST(RoutineInfo, DIBSectionInfoOfWhatIsSelected) {
    TBitmap bottomUp;
    bottomUp.SetPixelFormat(pf32bit);
    bottomUp.SetSize(3, 2);
    Integer width = -1, height = -1, bitCount = -1;
    EXPECT_EQ(bottomUp.ScanLine(1), GetDIBSectionInfo(bottomUp.Canvas()->Handle(), width, height, bitCount));
    EXPECT_EQ(3, width);
    EXPECT_EQ(2, height);
    EXPECT_EQ(32, bitCount);

    TqxBitmap topDown;
    topDown.SetSize(3, 2);
    EXPECT_EQ(topDown.Bits(), GetDIBSectionInfo(topDown.DC(), width, height, bitCount));
    EXPECT_EQ(-2, height);

    TBitmap device;
    device.SetSize(3, 2);
    EXPECT_EQ(nullptr, GetDIBSectionInfo(device.Canvas()->Handle(), width, height, bitCount));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    EXPECT_EQ(0, bitCount);
}

TEST(RoutineInfo, ColoursToPixels) {
    EXPECT_EQ(0xFF332211u, ColorToPixel(0x112233));
    EXPECT_EQ(0x80332211u, ColorToPixelAlpha(0x112233, 0x80));
    EXPECT_EQ(0x40F0F0F0u, ColorToPixelAlpha(clBtnFace, 0x40));
}

}  // namespace
