#include "platform/toolkit/resources.h"

#include <gtest/gtest.h>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/pngcodec.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/pngimage.h"

namespace {

// A 2 x 1 picture: opaque blue, then red at alpha 128.
TImageData TwoPixels() {
    TImageData image(2, 1);
    const Byte pixels[8] = {255, 0, 0, 255, 0, 0, 255, 128};
    std::copy(pixels, pixels + 8, image.ScanLine(0));
    image.HasAlpha = true;
    return image;
}

const std::vector<Byte>& PngBytes() {
    static const std::vector<Byte> bytes = EncodePng(TwoPixels(), true);
    return bytes;
}

const std::vector<Byte>& BmpBytes() {
    static const std::vector<Byte> bytes = EncodeBmp(TwoPixels(), 24);
    return bytes;
}

TEST(Resources, BitmapsComeFromFilesOrFromCodeByNameWithoutCase) {
    RegisterResource(u"TEST_PNG", PngBytes());
    RegisterResource(u"Test_Bmp", BmpBytes());
    RegisterBitmapResource(u"TEST_DRAWN", [](TBitmap* ABitmap) {
        ABitmap->SetPixelFormat(pf24bit);
        ABitmap->SetSize(3, 2);
        ABitmap->Canvas()->Brush()->SetColor(clLime);
        ABitmap->Canvas()->FillRect(Rect(0, 0, 3, 2));
    });
    TBitmap bitmap;
    bitmap.LoadFromResourceName(u"test_png");
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    EXPECT_EQ(static_cast<const Byte*>(bitmap.ScanLine(0))[7], 128) << "the alpha is kept";
    bitmap.LoadFromResourceName(u"TEST_BMP");
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(bitmap.TransparentColor(), clBlue) << "the bottom-left pixel";
    bitmap.LoadFromResourceName(u"TEST_DRAWN");
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 1), clLime);

    TPngImage png;
    png.LoadFromResourceName(u"TEST_PNG");
    EXPECT_EQ(png.Width(), 2);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);
}

TEST(Resources, DataReadsAsAStreamAndMissingNamesRaise) {
    static const Byte text[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    RegisterResource(u"TEST_TEXT", text);
    TResourceStream stream(u"TEST_TEXT");
    EXPECT_EQ(stream.Size(), 9);
    char read[9];
    EXPECT_EQ(stream.Read(read, 9), 9);
    EXPECT_EQ(std::string(read, 9), "not a pic");
    EXPECT_THROW(stream.Write(read, 1), EStreamError);

    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromResourceName(u"TEST_TEXT"), EInvalidGraphic);
    try {
        bitmap.LoadFromResourceName(u"TEST_MISSING");
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), u"Resource TEST_MISSING not found");
    }
    RegisterBitmapResource(u"TEST_DRAWN_ONLY", [](TBitmap*) {});
    EXPECT_THROW(TResourceStream(u"TEST_DRAWN_ONLY"), EResNotFound) << "a drawn bitmap has no bytes";
    EXPECT_FALSE(ResourceExists(u"TEST_MISSING"));
}

TEST(Resources, StockIconsKeepTheirAlpha) {
    EXPECT_EQ(win::LoadIconW(nullptr, win::IDI_QUESTION), nullptr) << "not registered";
    RegisterResource(u"IDI_QUESTION", PngBytes());
    EXPECT_EQ(win::LoadIconW(nullptr, 1), nullptr);
    win::HICON icon = win::LoadIconW(nullptr, win::IDI_QUESTION);
    ASSERT_NE(icon, nullptr);
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 1);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    win::DrawIconEx(target.Canvas()->Handle(), 0, 0, icon, 0, 0, 0, nullptr, win::DI_NORMAL);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), TColor(0x7F7FFF));
    win::DestroyIcon(icon);
}

}  // namespace
