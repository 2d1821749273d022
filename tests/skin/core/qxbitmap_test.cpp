#include "skin/core/qxbitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/picture.h"
#include "skin/core/qxroutines.h"
#include "skintest.h"

namespace {

constexpr TqxColor Opaque = 0xFF000000;

// A 32-bit bitmap of the toolkit: rows bottom-up in memory, drawn on
// through its canvas's DC.
std::vector<TqxColor> Row(TBitmap& ABitmap, Integer Y) {
    const auto* row = static_cast<const TqxColor*>(ABitmap.ScanLine(Y));
    return std::vector<TqxColor>(row, row + ABitmap.Width());
}

bool Registered(const TqxBitmap* ABitmap) {
    return BitmapRegistry &&
           std::find(BitmapRegistry->begin(), BitmapRegistry->end(), ABitmap) != BitmapRegistry->end();
}

TEST(QxBitmap, SetSizeTakesAbsoluteValuesAndIgnoresZeroSides) {
    struct TCase {
        Integer W, H;
        Integer ExpectedW, ExpectedH;
    } cases[] = {{0, 10, 2, 2}, {10, 0, 2, 2}, {-4, -3, 4, 3}, {2, 2, 2, 2}, {5, 1, 5, 1}};
    for (const TCase& c : cases) {
        TqxBitmap bitmap;
        Fill(bitmap, 2, 2, {1, 2, 3, 4});
        bitmap.SetSize(c.W, c.H);
        EXPECT_EQ(c.ExpectedW, bitmap.Width()) << c.W << " x " << c.H;
        EXPECT_EQ(c.ExpectedH, bitmap.Height()) << c.W << " x " << c.H;
    }
    TqxBitmap kept;
    Fill(kept, 2, 2, {1, 2, 3, 4});
    kept.SetSize(-2, 2);
    EXPECT_EQ((std::vector<TqxColor>{1, 2, 3, 4}), Pixels(kept));
}

TEST(QxBitmap, PixelsAreOneTopDownDIBSectionWithItsOwnDC) {
    TqxBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(nullptr, bitmap.DC());
    bitmap.SetSize(3, 2);
    win::DIBSECTION section{};
    ASSERT_EQ(int(sizeof section), win::GetObject(bitmap.Handle(), sizeof section, &section));
    EXPECT_EQ(-2, section.dsBmih.biHeight);
    EXPECT_EQ(32, section.dsBmih.biBitCount);
    EXPECT_EQ(bitmap.Bits(), section.dsBm.bmBits);
    EXPECT_EQ(bitmap.Handle(), win::GetCurrentObject(bitmap.DC(), win::OBJ_BITMAP));
    EXPECT_EQ(bitmap.GetPixelPtr(0, 1), bitmap.GetScanLinePtr(1));
    EXPECT_EQ(bitmap.Bits() + 5, bitmap.GetPixelPtr(2, 1));
    // GDI drawing and direct access see the same pixels.
    win::SetPixel(bitmap.DC(), 2, 1, win::RGB(1, 2, 3));
    EXPECT_EQ(0x00010203u, *bitmap.GetPixelPtr(2, 1));
}

TEST(QxBitmap, TheCanvasFollowsTheDCAcrossResizes) {
    TqxBitmap bitmap;
    TCanvas* canvas = bitmap.Canvas();
    EXPECT_THROW(canvas->Handle(), EInvalidOperation);
    bitmap.SetSize(4, 4);
    EXPECT_EQ(bitmap.DC(), canvas->Handle());
    bitmap.SetSize(6, 2);
    EXPECT_EQ(bitmap.DC(), canvas->Handle());
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(0x00FF0000u, bitmap.Bits()[0]);
}

// A size the drawing layer refuses leaves no pixels behind a size, and the
// same size can be asked for again.
TEST(QxBitmap, AFailedSetSizeLeavesAnEmptyBitmap) {
    TqxBitmap bitmap;
    Fill(bitmap, 4, 4, {});
    bitmap.Canvas();
    try {
        bitmap.SetSize(1 << 25, 1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(u"Can't allocate the DIB handle", e.Message());
    }
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(0, bitmap.Width());
    EXPECT_EQ(0, bitmap.Height());
    EXPECT_EQ(nullptr, bitmap.Bits());
    EXPECT_THROW(bitmap.Canvas()->Handle(), EInvalidOperation);
    bitmap.FillRect(Rect(0, 0, 4, 4), 0xFF0000FF);
    bitmap.Clear(1);
    bitmap.SetAlpha(7);
    bitmap.SetSize(4, 4);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.DC(), bitmap.Canvas()->Handle());
    EXPECT_THROW(bitmap.SetSize(INT32_MIN, 1), Exception);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(QxBitmap, TheRegistryListsLiveBitmapsOnce) {
    win::HDC oldDC;
    {
        TqxBitmap bitmap;
        EXPECT_FALSE(Registered(&bitmap));
        bitmap.SetSize(2, 2);
        bitmap.SetSize(3, 3);
        bitmap.SetSize(4, 1);
        EXPECT_EQ(1, std::count(BitmapRegistry->begin(), BitmapRegistry->end(), &bitmap));
        oldDC = bitmap.DC();
        EXPECT_EQ(&bitmap, FindBitmapByDC(oldDC));
    }
    EXPECT_EQ(nullptr, FindBitmapByDC(oldDC));
    EXPECT_EQ(nullptr, FindBitmapByDC(nullptr));
    TqxBitmap empty;
    Fill(empty, 1, 1, {});
    EXPECT_THROW(empty.SetSize(1 << 25, 1), Exception);
    EXPECT_EQ(nullptr, FindBitmapByDC(nullptr));
}

TEST(QxBitmap, CheckingAlphaBlendLooksForPartialAlpha) {
    TqxBitmap bitmap;
    bitmap.CheckingAlphaBlend();
    EXPECT_FALSE(bitmap.AlphaBlend());
    Fill(bitmap, 3, 1, {0, Opaque, 0x00FFFFFF});
    bitmap.SetAlphaBlend(true);
    bitmap.CheckingAlphaBlend();
    EXPECT_FALSE(bitmap.AlphaBlend());
    bitmap.Bits()[2] = 0x80FFFFFF;
    bitmap.CheckingAlphaBlend(Rect(0, 0, 1, 1));
    EXPECT_TRUE(bitmap.AlphaBlend());
}

TEST(QxBitmap, CheckingTransparentAllowsFiveEitherWay) {
    TqxBitmap bitmap;
    Fill(bitmap, 4, 1, {0xFFFA05FF, 0xFFF900FF, 0xFFFF06FF, 0x12FF00FF});
    bitmap.CheckingTransparent(0x00FF00FF);
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ((std::vector<TqxColor>{MaskedColor, 0xFFF900FF, 0xFFFF06FF, MaskedColor}), Pixels(bitmap));
    bitmap.CheckingTransparent(Rect(0, 0, 1, 1), 0x00000000);
    EXPECT_FALSE(bitmap.Transparent());
    TqxBitmap empty;
    empty.SetTransparent(true);
    empty.CheckingTransparent(0);
    EXPECT_FALSE(empty.Transparent());
}

TEST(QxBitmap, AlphaMaintenance) {
    TqxBitmap bitmap;
    Fill(bitmap, 3, 1, {0x80FF4020, 0x00FFFFFF, 0xFF102030});
    bitmap.CheckRGBA();
    EXPECT_EQ((std::vector<TqxColor>{0x80804020, 0x00000000, 0xFF102030}), Pixels(bitmap));
    Fill(bitmap, 3, 1, {0x80FF4020, 0x01FFFFFF, 0xFF102030});
    bitmap.CheckRGBA2();
    // 128 x 255 / 255 = 128, 128 x 64 / 255 = 32.1, 128 x 32 / 255 = 16.06, 255 / 255 = 1.
    EXPECT_EQ((std::vector<TqxColor>{0x80802010, 0x01010101, 0xFF102030}), Pixels(bitmap));

    Fill(bitmap, 3, 2, {1, 2, 3, 4, 5, 6});
    bitmap.SetAlpha(0x40, Rect(-5, 1, 2, 9));
    EXPECT_EQ((std::vector<TqxColor>{1, 2, 3, 0x40000004, 0x40000005, 6}), Pixels(bitmap));
    bitmap.SetAlpha(0x40, Rect(1, 0, 1, 2));
    bitmap.SetAlpha(0x40, Rect(5, 0, 9, 2));
    EXPECT_EQ((std::vector<TqxColor>{1, 2, 3, 0x40000004, 0x40000005, 6}), Pixels(bitmap));
    bitmap.SetAlpha(0xFF);
    EXPECT_EQ(0xFF000006u, Pixels(bitmap)[5]);
}

TEST(QxBitmap, FillRectBlendsOnlyWithAlphaBlend) {
    TqxBitmap bitmap;
    Fill(bitmap, 3, 1, {0xFF102030, 0xFF102030, 0xFF102030});
    bitmap.SetAlphaBlend(true);
    bitmap.FillRect(Rect(0, 0, 3, 1), 0x00FFFFFF);
    EXPECT_EQ(std::vector<TqxColor>(3, 0xFF102030), Pixels(bitmap));
    bitmap.FillRect(Rect(1, -1, 9, 9), 0x80FFFFFF);
    EXPECT_EQ(0xFF102030u, Pixels(bitmap)[0]);
    EXPECT_EQ(BlendRoutines.BlendPixel(0x80FFFFFF, 0xFF102030), Pixels(bitmap)[1]);
    bitmap.SetAlphaBlend(false);
    bitmap.FillRect(Rect(0, 0, 2, 1), 0x00FFFFFF);
    EXPECT_EQ((std::vector<TqxColor>{0x00FFFFFF, 0x00FFFFFF}),
              std::vector<TqxColor>(bitmap.Bits(), bitmap.Bits() + 2));
}

// Drawing.

TEST(QxBitmapDraw, BothFlagsDrawAlphaBlended) {
    TqxBitmap source;
    Fill(source, 1, 1, {0x80FFFFFF});
    source.SetAlphaBlend(true);
    source.SetTransparent(true);
    TqxBitmap target;
    Fill(target, 1, 1, {0xFF000000});
    source.Draw(&target, 0, 0);
    EXPECT_EQ(BlendRoutines.BlendPixel(0x80FFFFFF, 0xFF000000), Pixels(target)[0]);
}

TEST(QxBitmapDraw, TheThreeModesOnABitmap) {
    TqxBitmap source;
    Fill(source, 2, 1, {MaskedColor, 0x40112233});
    TqxBitmap target;
    for (int mode = 0; mode < 3; ++mode) {
        source.SetTransparent(mode == 1);
        source.SetAlphaBlend(mode == 2);
        Fill(target, 2, 1, {0xFF000000, 0xFF000000});
        source.Draw(&target, Rect(0, 0, 2, 1));
        const std::vector<TqxColor> expected[3] = {
            {MaskedColor, 0x40112233},
            {0xFF000000, 0xFF112233},
            {0xFF000000, BlendRoutines.BlendPixel(0x40112233, 0xFF000000)}};
        EXPECT_EQ(expected[mode], Pixels(target)) << mode;
    }
}

// Drawing onto another TqxBitmap's DC happens in memory, so the keyed copy's
// opaque alpha shows instead of the copied alpha a DC transfer would give.
TEST(QxBitmapDraw, ABitmapsDCIsDrawnOnInMemoryAtItsWindowOrigin) {
    TqxBitmap source;
    Fill(source, 1, 1, {0x40112233});
    source.SetTransparent(true);
    TqxBitmap target;
    Fill(target, 3, 2, {});
    win::SetWindowOrgEx(target.DC(), 10, 5, nullptr);
    source.Draw(target.DC(), 10, 5);
    EXPECT_EQ(0xFF112233u, Pixels(target)[0]);
    source.Draw(target.Canvas(), Rect(11, 6, 12, 7));
    EXPECT_EQ(0xFF112233u, Pixels(target)[4]);

    TBitmap plain;
    plain.SetPixelFormat(pf32bit);
    plain.SetSize(1, 1);
    source.Draw(plain.Canvas(), 0, 0);
    EXPECT_EQ(std::vector<TqxColor>{0x40112233}, Row(plain, 0));
}

TEST(QxBitmapDraw, OntoADeviceContextByMode) {
    TqxBitmap source;
    Fill(source, 2, 1, {0x80FFFFFF, 0xFF0000FF});
    TBitmap canvas;
    canvas.SetPixelFormat(pf32bit);
    canvas.SetSize(4, 1);
    source.Draw(canvas.Canvas(), 0, 0);
    EXPECT_EQ((std::vector<TqxColor>{0x80FFFFFF, 0xFF0000FF, 0, 0}), Row(canvas, 0));
    source.SetAlphaBlend(true);
    source.Draw(canvas.Canvas(), 2, 0, Rect(0, 0, 1, 1));
    EXPECT_EQ(BlendRoutines.BlendPixel(0x80FFFFFF, 0), Row(canvas, 0)[2]);
    // Scaled: the opaque mode through StretchBlt, the others in memory.
    source.SetAlphaBlend(false);
    source.Draw(canvas.Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ((std::vector<TqxColor>{0x80FFFFFF, 0x80FFFFFF, 0xFF0000FF, 0xFF0000FF}), Row(canvas, 0));
}

TEST(QxBitmapDraw, TileRepeatsTheSourceAndCutsTheLastTile) {
    TqxBitmap source;
    source.SetSize(30, 2);
    for (Integer i = 0; i < 60; ++i)
        source.Bits()[i] = Opaque | Cardinal(i);
    const auto expect = [&](const std::vector<TqxColor>& ARow) {
        ASSERT_EQ(100u, ARow.size());
        for (Integer x = 0; x < 100; ++x)
            ASSERT_EQ(Opaque | Cardinal(x % 30), ARow[size_t(x)]) << x;
    };
    TqxBitmap target;
    target.SetSize(100, 1);
    source.Tile(&target, Rect(0, 0, 100, 1), Rect(0, 0, 30, 1));
    expect(Pixels(target));

    // A DC of a TqxBitmap, of a bottom-up DIB (written directly), of a device bitmap.
    TqxBitmap other;
    other.SetSize(100, 1);
    win::SetWindowOrgEx(other.DC(), 0, 7, nullptr);
    source.Tile(other.DC(), Rect(0, 7, 100, 8), Rect(0, 0, 30, 1));
    expect(Pixels(other));
    for (TPixelFormat format : {pf32bit, pfDevice}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(format);
        bitmap.SetSize(100, 1);
        source.Tile(bitmap.Canvas(), Rect(0, 0, 100, 1), Rect(0, 0, 30, 1));
        bitmap.SetPixelFormat(pf32bit);
        std::vector<TqxColor> row = Row(bitmap, 0);
        if (format == pfDevice)
            for (TqxColor& p : row)
                p |= Opaque;
        expect(row);
    }
}

TEST(QxBitmapDraw, TilesOfTwoDimensionsIntoABottomUpDIB) {
    TqxBitmap source;
    Fill(source, 2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
    source.SetAlphaBlend(true);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(3, 3);
    source.Tile(bitmap.Canvas(), Rect(0, 0, 3, 3), Rect(0, 0, 2, 2));
    EXPECT_EQ((std::vector<TqxColor>{0xFF000001, 0xFF000002, 0xFF000001}), Row(bitmap, 0));
    EXPECT_EQ((std::vector<TqxColor>{0xFF000003, 0xFF000004, 0xFF000003}), Row(bitmap, 1));
    EXPECT_EQ((std::vector<TqxColor>{0xFF000001, 0xFF000002, 0xFF000001}), Row(bitmap, 2));
}

TEST(QxBitmapDraw, TileClipDrawsWholeTilesThatMeetTheClip) {
    TqxBitmap source;
    Fill(source, 2, 1, {0xFF000001, 0xFF000002});
    TqxBitmap target;
    Fill(target, 6, 1, {});
    source.TileClip(&target, Rect(0, 0, 6, 1), Rect(3, 0, 4, 1), Rect(0, 0, 2, 1));
    EXPECT_EQ((std::vector<TqxColor>{0, 0, 0xFF000001, 0xFF000002, 0, 0}), Pixels(target));
    Fill(target, 6, 1, {});
    source.TileClip(target.Canvas(), Rect(0, 0, 5, 1), TRect{}, Rect(0, 0, 2, 1));
    EXPECT_EQ((std::vector<TqxColor>{0xFF000001, 0xFF000002, 0xFF000001, 0xFF000002, 0xFF000001, 0}),
              Pixels(target));
}

TEST(QxBitmapDraw, MergeDrawPutsTheSourceBehind) {
    TqxBitmap front;
    Fill(front, 4, 1, {0x00000000, 0x80FFFFFF, 0xFF123456, 0x00000000});
    TqxBitmap back;
    Fill(back, 3, 1, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000});
    front.MergeDraw(&back, -1, 0, Rect(-1, 0, 9, 1));
    // Left -1 moves X to 0: back's pixels land on columns 0..2.
    EXPECT_EQ(
        (std::vector<TqxColor>{0xFF0000FF, BlendRoutines.BlendPixel(0x80FFFFFF, 0xFF00FF00), 0xFF123456, 0}),
        Pixels(front));
}

TEST(QxBitmapDraw, DrawGraphicLeavesWhatTheGraphicLeavesOut) {
    TBitmap graphic;
    graphic.SetPixelFormat(pf24bit);
    graphic.SetSize(2, 1);
    graphic.Canvas()->SetPixels(0, 0, clFuchsia);
    graphic.Canvas()->SetPixels(1, 0, 0x332211);
    TqxBitmap bitmap;
    Fill(bitmap, 3, 1, {1, 2, 3});
    bitmap.DrawGraphic(&graphic, Rect(0, 0, 2, 1));
    EXPECT_EQ((std::vector<TqxColor>{1, 0x00112233, 3}), Pixels(bitmap));
}

// Assigning.

TEST(QxBitmapAssign, FromAnotherQxBitmap) {
    TqxBitmap source;
    Fill(source, 2, 1, {0x80000001, 2});
    source.SetName(u"face");
    source.SetAlphaBlend(true);
    source.SetTransparent(true);
    TqxBitmap copy;
    copy.Assign(&source);
    EXPECT_EQ(Pixels(source), Pixels(copy));
    EXPECT_EQ(u"face", copy.Name());
    EXPECT_TRUE(copy.AlphaBlend());
    EXPECT_TRUE(copy.Transparent());
    copy.Assign(&copy);
    EXPECT_EQ(Pixels(source), Pixels(copy));
}

// The empty source has no pixels to copy: this bitmap empties too.
TEST(QxBitmapAssign, FromAnEmptyBitmapEmpties) {
    TqxBitmap empty;
    empty.SetName(u"none");
    TqxBitmap bitmap;
    Fill(bitmap, 3, 3, {});
    bitmap.SetAlphaBlend(true);
    bitmap.Assign(&empty);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(0, bitmap.Width());
    EXPECT_EQ(u"none", bitmap.Name());
    EXPECT_FALSE(bitmap.AlphaBlend());

    TBitmap emptyToolkit;
    Fill(bitmap, 3, 3, {});
    bitmap.Assign(&emptyToolkit);
    EXPECT_TRUE(bitmap.Empty());
    TPicture nothing;
    Fill(bitmap, 3, 3, {});
    bitmap.Assign(&nothing);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(QxBitmapAssign, FromToolkitBitmaps) {
    TBitmap withAlpha;
    withAlpha.SetPixelFormat(pf32bit);
    withAlpha.SetSize(2, 2);
    static_cast<TqxColor*>(withAlpha.ScanLine(0))[0] = 0x80112233;
    static_cast<TqxColor*>(withAlpha.ScanLine(1))[1] = 0xFF445566;
    TqxBitmap bitmap;
    bitmap.SetTransparent(true);
    bitmap.SetName(u"kept");
    bitmap.Assign(&withAlpha);
    EXPECT_EQ((std::vector<TqxColor>{0x80112233, 0, 0, 0xFF445566}), Pixels(bitmap));
    EXPECT_TRUE(bitmap.AlphaBlend());
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(u"kept", bitmap.Name());

    TBitmap rgb;
    rgb.SetPixelFormat(pf24bit);
    rgb.SetSize(2, 1);
    rgb.Canvas()->SetPixels(1, 0, 0x332211);
    bitmap.Assign(&rgb);
    EXPECT_EQ((std::vector<TqxColor>{0xFF000000, 0xFF112233}), Pixels(bitmap));
    EXPECT_TRUE(bitmap.AlphaBlend());

    // Through a picture even a 32-bit bitmap is copied as colours.
    TPicture picture;
    picture.SetGraphic(&withAlpha);
    bitmap.Assign(&picture);
    EXPECT_EQ((std::vector<TqxColor>{0xFF112233, 0xFF000000, 0xFF000000, 0xFF445566}), Pixels(bitmap));
}

TEST(QxBitmapAssign, RefusesOtherClasses) {
    TqxBitmap bitmap;
    TqxBitmapLink link;
    EXPECT_THROW(bitmap.Assign(&link), EConvertError);
    EXPECT_THROW(link.Assign(&bitmap), EConvertError);
}

TEST(QxBitmapAssign, IntoToolkitBitmapsAndPictures) {
    TqxBitmap bitmap;
    Fill(bitmap, 2, 1, {0x80112233, MaskedColor});
    TBitmap target;
    target.Assign(&bitmap);
    EXPECT_EQ(pf32bit, target.PixelFormat());
    EXPECT_EQ((std::vector<TqxColor>{0x80112233, MaskedColor}), Row(target, 0));
    bitmap.SetTransparent(true);
    TPicture picture;
    picture.Assign(&bitmap);
    EXPECT_EQ((std::vector<TqxColor>{0x80112233, 0}), Row(*picture.Bitmap(), 0));
}

// Streams.

void WriteInt(TStream& AStream, Integer AValue) {
    AStream.WriteBuffer(&AValue, sizeof AValue);
}

TEST(QxBitmapStream, RoundTrip) {
    TqxBitmap bitmap;
    Fill(bitmap, 2, 3, {1, 2, 3, 4, 5, 6});
    bitmap.SetName(u"按钮");
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    EXPECT_EQ(4 + 4 + 8 + 24, stream.Size());
    stream.SetPosition(0);
    TqxBitmap loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(u"按钮", loaded.Name());
    EXPECT_EQ(2, loaded.Width());
    EXPECT_EQ(3, loaded.Height());
    EXPECT_EQ(Pixels(bitmap), Pixels(loaded));
}

TEST(QxBitmapStream, AHeightOfZeroOrLessMeansBottomUpRows) {
    TMemoryStream stream;
    WriteInt(stream, 0);
    WriteInt(stream, 1);
    WriteInt(stream, -2);
    const TqxColor rows[2] = {0xA, 0xB};
    stream.WriteBuffer(rows, sizeof rows);
    stream.SetPosition(0);
    TqxBitmap bitmap;
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ((std::vector<TqxColor>{0xB, 0xA}), Pixels(bitmap));
}

// Lengths come from the data: a record the stream cannot hold is refused
// before anything is allocated or changed.
TEST(QxBitmapStream, ShortOrInconsistentRecordsChangeNothing) {
    struct TCase {
        const char* Name;
        std::vector<Integer> Ints;
    } cases[] = {
        {"huge name", {0x7FFFFFFF, 1, 1}},
        {"negative name", {-1, 1, 1}},
        {"no size", {0}},
        {"pixels missing", {0, 2, 2, 1, 2, 3}},
        {"huge size", {0, 0x7FFFFFFF, 0x7FFFFFFF}},
        {"negative width", {0, -1, 1, 5}},
        {"smallest height", {0, 1, INT32_MIN}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryStream stream;
        for (Integer value : c.Ints)
            WriteInt(stream, value);
        stream.SetPosition(0);
        TqxBitmap bitmap;
        Fill(bitmap, 1, 1, {7});
        bitmap.SetName(u"kept");
        EXPECT_THROW(bitmap.LoadFromStream(&stream), EReadError);
        EXPECT_EQ(u"kept", bitmap.Name());
        EXPECT_EQ(std::vector<TqxColor>{7}, Pixels(bitmap));
    }
}

TEST(QxBitmapStream, AnEmptyRecordLeavesThePixels) {
    TqxBitmap empty;
    TMemoryStream stream;
    empty.SaveToStream(&stream);
    EXPECT_EQ(12, stream.Size());
    stream.SetPosition(0);
    TqxBitmap bitmap;
    Fill(bitmap, 1, 1, {7});
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ(std::vector<TqxColor>{7}, Pixels(bitmap));
}

// A PCX file: 128-byte header, run-length rows, 0x0C and a 256-colour palette.
std::vector<Byte> Pcx(Byte AVersion, std::vector<Byte> AData, bool APalette = true) {
    std::vector<Byte> file(128);
    file[0] = 10;
    file[1] = AVersion;
    file[2] = 1;
    file[3] = 8;
    file[8] = 2;   // xmax: 3 wide
    file[10] = 1;  // ymax: 2 high
    file[65] = 1;
    file[66] = 4;  // bytes per line
    for (Byte b : AData)
        file.push_back(b);
    if (APalette) {
        file.push_back(12);
        for (int i = 0; i < 256; ++i)
            for (Byte b : {Byte(i), Byte(255 - i), Byte(i / 2)})
                file.push_back(b);
    }
    return file;
}

void LoadPcx(TqxBitmap& ABitmap, const std::vector<Byte>& AFile) {
    TMemoryStream stream;
    stream.WriteBuffer(AFile.data(), Int64(AFile.size()));
    stream.SetPosition(0);
    ABitmap.LoadFromPcxStream(&stream);
}

TEST(QxBitmapPcx, ReadsRunLengthRowsThroughThePalette) {
    TqxBitmap bitmap;
    // Row 0: 1, 1 (a run of 2), 2, pad; row 1: 200 (as a run of 1), 3, 4, pad.
    LoadPcx(bitmap, Pcx(5, {0xC2, 1, 2, 0, 0xC1, 200, 3, 4, 0}));
    const auto colour = [](Cardinal I) { return 0xFF000000 | (I << 16) | ((255 - I) << 8) | (I / 2); };
    EXPECT_EQ((std::vector<TqxColor>{colour(1), colour(1), colour(2), colour(200), colour(3), colour(4)}),
              Pixels(bitmap));
    LoadPcx(bitmap, Pcx(3, {0xC2, 1, 2, 0, 0xC1, 9, 15, 4, 0}, false));
    EXPECT_EQ((std::vector<TqxColor>{0xFF800000, 0xFF800000, 0xFF008000, 0xFFFF0000, 0xFFFFFFFF, 0xFF000080}),
              Pixels(bitmap));
}

TEST(QxBitmapPcx, DamagedFilesChangeNothing) {
    struct TCase {
        const char* Name;
        std::vector<Byte> File;
    } cases[] = {
        {"short header", std::vector<Byte>(100, 10)},
        {"runs end early", Pcx(3, {0xC2, 1, 2, 0, 0xC1}, false)},
        {"no palette", Pcx(5, {0xC2, 1, 2, 0}, false)},
        {"claims more than runs can hold",
         [] {
             std::vector<Byte> file = Pcx(3, {0xFF, 1}, false);
             file[11] = 0x0F;  // 4,096 rows
             return file;
         }()},
        {"rows shorter than the width",
         [] {
             std::vector<Byte> file = Pcx(5, {1, 2, 3, 4, 5, 6});
             file[66] = 2;
             return file;
         }()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TqxBitmap bitmap;
        Fill(bitmap, 1, 1, {7});
        EXPECT_THROW(LoadPcx(bitmap, c.File), Exception);
        EXPECT_EQ(std::vector<TqxColor>{7}, Pixels(bitmap));
    }
    TqxBitmap bitmap;
    Fill(bitmap, 1, 1, {7});
    std::vector<Byte> other = Pcx(5, {});
    other[0] = 11;
    LoadPcx(bitmap, other);
    EXPECT_EQ(std::vector<TqxColor>{7}, Pixels(bitmap));
}

// Effects of the bitmap.

TEST(QxBitmapEffects, ReflectionFadesTheFlippedAlpha) {
    TqxBitmap bitmap;
    Fill(bitmap, 1, 4, {0xFF000001, 0xFF000002, 0xFF000003, 0x00000004});
    bitmap.Reflection();
    EXPECT_EQ((std::vector<TqxColor>{0x00000004, 0x2A000003, 0x00000002, 0x00000001}), Pixels(bitmap));
    Fill(bitmap, 1, 4, {Opaque, Opaque, Opaque, Opaque});
    bitmap.Reflection();
    EXPECT_EQ((std::vector<TqxColor>{0x55000000, 0x2A000000, 0, 0}), Pixels(bitmap));
    Fill(bitmap, 1, 4, {Opaque, Opaque, Opaque, Opaque});
    bitmap.Reflection2();
    EXPECT_EQ((std::vector<TqxColor>{0x3F000000, 0x20000000, 0, 0}), Pixels(bitmap));
    Fill(bitmap, 1, 4, {Opaque, Opaque, Opaque, Opaque});
    bitmap.Reflection3();
    EXPECT_EQ((std::vector<TqxColor>{0x7F000000, 0x40000000, 0, 0}), Pixels(bitmap));
}

TEST(QxBitmapEffects, ColourChangesTouchVisiblePixelsOnly) {
    TqxBitmap bitmap;
    Fill(bitmap, 2, 1, {0x80FA0564, 0x00FA0564});
    bitmap.ChangeBitmapBrightness(10);
    EXPECT_EQ((std::vector<TqxColor>{0x80FF0F6E, 0x00FA0564}), Pixels(bitmap));
    bitmap.ChangeBitmapBrightness(-20);
    EXPECT_EQ(0x80EB005Au, Pixels(bitmap)[0]);

    struct TCase {
        const char* Name;
        void (TqxBitmap::*Change)(Integer);
        Integer Value;
        TqxColor Expected;
    } cases[] = {
        {"hue 85", &TqxBitmap::SetBitmapHue, 85, 0x8000FF00},
        {"hue clamped", &TqxBitmap::SetBitmapHue, 300, 0x80FF0000},
        {"hue +85", &TqxBitmap::ChangeBitmapHue, 85, 0x8000FF00},
        {"hue -85 wraps", &TqxBitmap::ChangeBitmapHue, -85, 0x800000FF},
        {"no saturation", &TqxBitmap::ChangeBitmapSat, -255, 0x80808080},
        {"no change", &TqxBitmap::ChangeBitmapSat, 0, 0x80FF0000},
    };
    for (const TCase& c : cases) {
        Fill(bitmap, 2, 1, {0x80FF0000, 0x00FF0000});
        (bitmap.*c.Change)(c.Value);
        EXPECT_EQ((std::vector<TqxColor>{c.Expected, 0x00FF0000}), Pixels(bitmap)) << c.Name;
    }
}

// Links.

TEST(QxBitmapLink, ParsesRectanglesFromText) {
    TqxBitmap bitmap;
    bitmap.SetName(u"frame");
    struct TCase {
        const char16_t* Text;
        TRect Expected;
    } cases[] = {
        {u"0,0,16,16", {0, 0, 16, 16}},   {u"1 2 3 4", {1, 2, 3, 4}},  {u"1, 2; 3=4", {1, 2, 3, 4}},
        {u"(1,2,3,4)", {0, 0, 0, 0}},     {u"1,2,3", {0, 0, 0, 0}},    {u"a,b,c,d", {0, 0, 0, 0}},
        {u"-1:$10:3:4)", {-1, 16, 3, 4}}, {u"1 ,2,3,4", {0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        const std::unique_ptr<TqxBitmapLink> link = bitmap.GetBitmapLink(String(c.Text));
        EXPECT_EQ(c.Expected, link->Rect())
            << std::string(c.Text, c.Text + std::char_traits<char16_t>::length(c.Text));
        EXPECT_EQ(&bitmap, link->Image());
        EXPECT_EQ(u"frame", link->Name());
    }
}

TEST(QxBitmapLink, DrawsItsPartAndStreamsItsRectangle) {
    TqxBitmap image;
    Fill(image, 3, 1, {0xFF000001, 0xFF000002, 0xFF000003});
    std::unique_ptr<TqxBitmapLink> link = image.GetBitmapLink(Rect(1, 0, 3, 1));
    EXPECT_TRUE(link->Assigned());
    TqxBitmap target;
    Fill(target, 3, 1, {});
    link->Draw(&target, 1, 0);
    EXPECT_EQ((std::vector<TqxColor>{0, 0xFF000002, 0xFF000003}), Pixels(target));
    EXPECT_EQ((std::vector<TqxColor>{0xFF000001, 0xFF000002, 0xFF000003}), Pixels(image));

    TMemoryStream stream;
    link->SaveToStream(&stream);
    stream.SetPosition(0);
    TqxBitmapLink loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(Rect(1, 0, 3, 1), loaded.Rect());
    EXPECT_FALSE(loaded.Assigned());
    TqxBitmapLink copy;
    copy.Assign(link.get());
    EXPECT_EQ(&image, copy.Image());
    EXPECT_TRUE(copy.Assigned());
    link->SetRight(1);
    EXPECT_FALSE(link->Assigned());
}

TEST(QxBitmapLink, CheckingMaskedByArea) {
    TqxBitmap image;
    image.SetSize(4, 4);
    image.Clear(Opaque);
    std::unique_ptr<TqxBitmapLink> link = image.GetBitmapLink(Rect(0, 0, 4, 4));
    link->CheckingMasked();
    EXPECT_FALSE(link->Masked());
    *image.GetPixelPtr(1, 1) = 0x33333333;
    link->CheckingMasked(Rect(1, 1, 1, 1));
    EXPECT_FALSE(link->Masked());
    *image.GetPixelPtr(0, 0) = MaskedColor | Opaque;
    link->CheckingMasked(Rect(1, 1, 1, 1));
    EXPECT_TRUE(link->MaskedAngles());
    EXPECT_FALSE(link->MaskedBorder());
    EXPECT_FALSE(link->Masked());
    *image.GetPixelPtr(2, 0) = 0x80FFFFFF;
    *image.GetPixelPtr(2, 2) = 0x00FFFFFF;
    link->CheckingMasked(Rect(1, 1, 1, 1));
    EXPECT_TRUE(link->MaskedBorder());
    EXPECT_TRUE(link->Masked());
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked());
    // Outside the image counts as see-through.
    image.Clear(Opaque);
    link->SetRect(Rect(2, 2, 5, 5));
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked());
}

}  // namespace
