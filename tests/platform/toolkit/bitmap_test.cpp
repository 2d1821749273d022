#include "platform/toolkit/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/objects.h"

namespace {

TBitmap* MakeBitmap(TBitmap& ABitmap, TPixelFormat AFormat, Integer AWidth, Integer AHeight) {
    ABitmap.SetPixelFormat(AFormat);
    ABitmap.SetSize(AWidth, AHeight);
    return &ABitmap;
}

void Put(std::vector<Byte>& AOut, size_t APos, uint32_t AValue, int ABytes) {
    if (AOut.size() < APos + ABytes) AOut.resize(APos + ABytes);
    for (int i = 0; i < ABytes; ++i)
        AOut[APos + i] = static_cast<Byte>(AValue >> (8 * i));
}

TEST(Bitmap, StartsEmptyAsADeviceBitmap) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(pfDevice, bitmap.PixelFormat());
    EXPECT_EQ(bmDDB, bitmap.HandleType());
    EXPECT_EQ(nullptr, bitmap.Handle());
    EXPECT_FALSE(bitmap.Transparent());
    EXPECT_EQ(tmAuto, bitmap.TransparentMode());
}

TEST(Bitmap, DibFormatsAreBottomUpSectionsWithPaddedRows) {
    struct TCase {
        TPixelFormat Format;
        int BitCount;
        Integer Stride;  // of 5 pixels
    } cases[] = {{pf1bit, 1, 4}, {pf4bit, 4, 4}, {pf8bit, 8, 8}, {pf24bit, 24, 16}, {pf32bit, 32, 20}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.BitCount);
        TBitmap bitmap;
        MakeBitmap(bitmap, c.Format, 5, 3);
        win::DIBSECTION dib{};
        ASSERT_EQ(static_cast<int>(sizeof dib), win::GetObjectW(bitmap.Handle(), sizeof dib, &dib));
        EXPECT_EQ(5, dib.dsBmih.biWidth);
        EXPECT_EQ(3, dib.dsBmih.biHeight);
        EXPECT_EQ(c.BitCount, dib.dsBmih.biBitCount);
        auto* top = static_cast<Byte*>(bitmap.ScanLine(0));
        auto* second = static_cast<Byte*>(bitmap.ScanLine(1));
        EXPECT_EQ(c.Stride, top - second);
        EXPECT_EQ(dib.dsBm.bmBits, bitmap.ScanLine(2));
    }
    TBitmap device;
    MakeBitmap(device, pfDevice, 5, 3);
    win::DIBSECTION dib{};
    EXPECT_EQ(static_cast<int>(sizeof(win::BITMAP)), win::GetObjectW(device.Handle(), sizeof dib, &dib));
}

TEST(Bitmap, ScanLinesAndTheCanvasShareThePixels) {
    TBitmap bitmap;
    MakeBitmap(bitmap, pf24bit, 3, 2);
    auto* row = static_cast<Byte*>(bitmap.ScanLine(1));
    row[3] = 0x30;  // pixel (1, 1): blue, green, red
    row[4] = 0x20;
    row[5] = 0x10;
    EXPECT_EQ(0x302010, bitmap.Canvas()->Pixels(1, 1));
    bitmap.Canvas()->SetPixels(2, 0, 0x0A0B0C);
    auto* top = static_cast<Byte*>(bitmap.ScanLine(0));
    EXPECT_EQ(0x0A, top[6]);
    EXPECT_EQ(0x0C, top[8]);
    for (Integer bad : {-1, 2}) {
        try {
            bitmap.ScanLine(bad);
            ADD_FAILURE() << bad;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(u"Scan line index out of range", e.Message());
        }
    }
}

TEST(Bitmap, ScanLineOfADeviceBitmapMakesItADib) {
    TBitmap bitmap;
    MakeBitmap(bitmap, pfDevice, 2, 2);
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    auto* row = static_cast<Byte*>(bitmap.ScanLine(1));
    EXPECT_EQ(pf32bit, bitmap.PixelFormat());
    EXPECT_EQ(bmDIB, bitmap.HandleType());
    EXPECT_EQ(0xFF, row[6]);
    EXPECT_EQ(clRed, bitmap.Canvas()->Pixels(1, 1));
}

TEST(Bitmap, ResizingKeepsWhatStillFits) {
    TBitmap bitmap;
    MakeBitmap(bitmap, pf24bit, 2, 2);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.Canvas()->SetPixels(1, 1, clBlue);
    bitmap.SetSize(3, 3);
    EXPECT_EQ(clRed, bitmap.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clBlue, bitmap.Canvas()->Pixels(1, 1));
    EXPECT_EQ(clBlack, bitmap.Canvas()->Pixels(2, 2));
    bitmap.SetWidth(1);
    EXPECT_EQ(1, bitmap.Width());
    EXPECT_EQ(clRed, bitmap.Canvas()->Pixels(0, 0));
    bitmap.SetSize(-4, 3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(nullptr, bitmap.Handle());
    bitmap.Canvas()->FillRect(Rect(0, 0, 2, 2));  // nothing to draw on, and no failure
}

TEST(Bitmap, PixelFormatChangesKeepColoursTheFormatHas) {
    TBitmap bitmap;
    MakeBitmap(bitmap, pf32bit, 2, 1);
    bitmap.Canvas()->SetPixels(0, 0, 0x123456);
    bitmap.Canvas()->SetPixels(1, 0, clWhite);
    for (TPixelFormat format : {pf24bit, pfDevice, pf32bit}) {
        bitmap.SetPixelFormat(format);
        EXPECT_EQ(0x123456, bitmap.Canvas()->Pixels(0, 0)) << format;
    }
    bitmap.SetMonochrome(true);
    EXPECT_EQ(pf1bit, bitmap.PixelFormat());
    EXPECT_EQ(clBlack, bitmap.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clWhite, bitmap.Canvas()->Pixels(1, 0));
    bitmap.SetHandleType(bmDDB);
    EXPECT_EQ(pfDevice, bitmap.PixelFormat());
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
    TBitmap bitmap;
    EXPECT_EQ(clDefault, bitmap.TransparentColor());
    MakeBitmap(bitmap, pf24bit, 2, 2);
    bitmap.Canvas()->SetPixels(0, 1, clLime);
    EXPECT_EQ(clLime, bitmap.TransparentColor());
    bitmap.SetTransparentColor(clFuchsia);
    EXPECT_EQ(tmFixed, bitmap.TransparentMode());
    EXPECT_EQ(clFuchsia, bitmap.TransparentColor());
    bitmap.SetTransparentMode(tmAuto);
    EXPECT_EQ(clLime, bitmap.TransparentColor());
    bitmap.SetTransparentMode(tmFixed);
    EXPECT_EQ(clLime, bitmap.TransparentColor());
    bitmap.SetTransparentColor(clDefault);
    EXPECT_EQ(tmAuto, bitmap.TransparentMode());
}

TEST(Bitmap, TransparentBitmapsDrawWithoutTheirTransparentColour) {
    TBitmap target;
    MakeBitmap(target, pf32bit, 4, 2);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 4, 2));
    TBitmap sprite;
    MakeBitmap(sprite, pf24bit, 2, 1);
    sprite.Canvas()->SetPixels(0, 0, clRed);
    sprite.Canvas()->SetPixels(1, 0, clLime);
    sprite.SetTransparent(true);  // automatic: the bottom-left pixel, red
    target.Canvas()->Draw(0, 0, &sprite);
    sprite.SetTransparentColor(clLime);
    target.Canvas()->StretchDraw(Rect(0, 1, 4, 2), &sprite);
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clLime, target.Canvas()->Pixels(1, 0));
    EXPECT_EQ(clRed, target.Canvas()->Pixels(1, 1));
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(2, 1));
    sprite.SetTransparent(false);
    target.Canvas()->Draw(2, 0, &sprite);
    EXPECT_EQ(clRed, target.Canvas()->Pixels(2, 0));
}

TEST(Bitmap, AssignCopiesPixelsFormatAndTransparency) {
    TBitmap source;
    MakeBitmap(source, pf32bit, 2, 2);
    static_cast<Byte*>(source.ScanLine(0))[3] = 0x80;
    source.Canvas()->SetPixels(1, 1, clBlue);
    source.SetTransparentColor(clBlue);
    source.SetTransparent(true);
    TBitmap copy;
    copy.Assign(&source);
    EXPECT_EQ(pf32bit, copy.PixelFormat());
    EXPECT_EQ(2, copy.Width());
    EXPECT_NE(source.Handle(), copy.Handle());
    EXPECT_EQ(0x80, static_cast<Byte*>(copy.ScanLine(0))[3]);
    EXPECT_EQ(clBlue, copy.Canvas()->Pixels(1, 1));
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(clBlue, copy.TransparentColor());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, ChangesAreReported) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.SetSize(2, 2);
    bitmap.SetSize(2, 2);
    bitmap.Canvas()->FillRect(Rect(0, 0, 1, 1));
    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(3, changes);
    EXPECT_TRUE(bitmap.Modified());
}

TEST(Bitmap, SavesTwentyFourOrThirtyTwoBitFiles) {
    struct TCase {
        TPixelFormat Format;
        int FileBits;
    } cases[] = {{pfDevice, 24}, {pf1bit, 24}, {pf8bit, 24}, {pf24bit, 24}, {pf32bit, 32}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Format);
        TBitmap bitmap;
        MakeBitmap(bitmap, c.Format, 3, 2);
        bitmap.Canvas()->SetPixels(0, 0, clWhite);
        TMemoryStream stream;
        bitmap.SaveToStream(&stream);
        const auto* file = static_cast<const Byte*>(stream.Memory());
        ASSERT_EQ(54 + 2 * 12, stream.Size());
        EXPECT_EQ(c.FileBits, file[28]);
        TImageData image = DecodeBmp({file, static_cast<size_t>(stream.Size())});
        EXPECT_EQ(0xFFFFFFu, (image.ScanLine(0)[0] | image.ScanLine(0)[1] << 8 | image.ScanLine(0)[2] << 16));
    }
}

TEST(Bitmap, RoundTripsThroughStreamsExactly) {
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        SCOPED_TRACE(format);
        TBitmap bitmap;
        MakeBitmap(bitmap, format, 5, 3);
        for (Integer y = 0; y < 3; ++y) {
            auto* row = static_cast<Byte*>(bitmap.ScanLine(y));
            for (Integer i = 0; i < 5 * (format == pf32bit ? 4 : 3); ++i)
                row[i] = static_cast<Byte>(17 * y + 3 * i);
        }
        TMemoryStream stream;
        bitmap.SaveToStream(&stream);
        stream.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(&stream);
        ASSERT_EQ(format, back.PixelFormat());
        ASSERT_EQ(5, back.Width());
        for (Integer y = 0; y < 3; ++y)
            EXPECT_EQ(0, std::memcmp(bitmap.ScanLine(y), back.ScanLine(y), 5 * (format == pf32bit ? 4 : 3)));
    }
}

TEST(Bitmap, LoadingReadsExactlyOneFileAndTakesItsDepth) {
    TImageData image(2, 1);
    image.ScanLine(0)[0] = 0x30;
    image.ScanLine(0)[1] = 0x20;
    image.ScanLine(0)[2] = 0x10;
    std::vector<Byte> first = EncodeBmp(image, 24);
    std::vector<Byte> second = EncodeBmp(image, 32);
    TMemoryStream stream;
    stream.WriteBuffer(first.data(), static_cast<Int64>(first.size()));
    stream.WriteBuffer(second.data(), static_cast<Int64>(second.size()));
    stream.WriteBuffer("end", 3);
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ(static_cast<Int64>(first.size()), stream.Position());
    EXPECT_EQ(pf24bit, bitmap.PixelFormat());
    EXPECT_EQ(0x302010, bitmap.Canvas()->Pixels(0, 0));
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ(static_cast<Int64>(first.size() + second.size()), stream.Position());
    EXPECT_EQ(pf32bit, bitmap.PixelFormat());
}

TEST(Bitmap, LoadsPaletteFilesAsPaletteFormats) {
    for (auto [bits, format] : {std::pair{1, pf1bit}, {4, pf4bit}, {8, pf8bit}}) {
        SCOPED_TRACE(bits);
        // Two pixels of a two-colour table; the first uses entry 1.
        std::vector<Byte> file(62, 0);
        file[0] = 'B';
        file[1] = 'M';
        Put(file, 10, 62, 4);
        Put(file, 14, 40, 4);
        Put(file, 18, 2, 4);
        Put(file, 22, 1, 4);
        Put(file, 26, 1, 2);
        Put(file, 28, static_cast<uint32_t>(bits), 2);
        Put(file, 46, 2, 4);
        Put(file, 58, 0x604020, 4);
        Put(file, 62, bits == 1 ? 0x80 : bits == 4 ? 0x10 : 0x01, 4);
        Put(file, 2, static_cast<uint32_t>(file.size()), 4);
        TMemoryStream stream;
        stream.WriteBuffer(file.data(), static_cast<Int64>(file.size()));
        stream.SetPosition(0);
        TBitmap bitmap;
        bitmap.LoadFromStream(&stream);
        EXPECT_EQ(format, bitmap.PixelFormat());
        EXPECT_EQ(0x204060, bitmap.Canvas()->Pixels(0, 0));
        EXPECT_EQ(clBlack, bitmap.Canvas()->Pixels(1, 0));
    }
}

TEST(Bitmap, EmptyBitmapsWriteNothingAndEmptyStreamsReadAsEmpty) {
    TBitmap bitmap;
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    EXPECT_EQ(0, stream.Size());
    MakeBitmap(bitmap, pf24bit, 2, 2);
    bitmap.LoadFromStream(&stream);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, ADamagedFileLeavesThePictureAsItWas) {
    TBitmap bitmap;
    MakeBitmap(bitmap, pf24bit, 2, 2);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    TMemoryStream stream;
    stream.WriteBuffer("BM not a bitmap at all, really not", 34);
    stream.SetPosition(0);
    EXPECT_THROW(bitmap.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_EQ(2, bitmap.Width());
    EXPECT_EQ(clRed, bitmap.Canvas()->Pixels(0, 0));
}

}  // namespace
