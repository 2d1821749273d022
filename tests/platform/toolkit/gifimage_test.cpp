#include "platform/toolkit/gifimage.h"

#include <gtest/gtest.h>

#include "picturestreams.h"

namespace {

TEST(GIFImage, RoundTripsAFewColoursExactly) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    const TColor colours[] = {clRed, clLime, clBlue, clWhite, clBlack, 0x123456};
    for (Integer i = 0; i < 6; ++i)
        bitmap.Canvas()->SetPixels(i % 3, i / 3, colours[i]);
    TGIFImage gif;
    gif.Assign(&bitmap);
    TMemoryStream stream;
    gif.SaveToStream(&stream);
    stream.SetPosition(0);
    TGIFImage loaded;
    loaded.LoadFromStream(&stream);
    TBitmap back;
    back.Assign(&loaded);
    EXPECT_EQ(pf24bit, back.PixelFormat());
    for (Integer i = 0; i < 6; ++i)
        EXPECT_EQ(colours[i], back.Canvas()->Pixels(i % 3, i / 3));
}

// Two pixels, red and black, with colour 0 (black) transparent.
const std::vector<Byte> TransparentGif = {
    'G',  'I',  'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,    0,    0, 0,
    0xFF, 0,    0,                         // colour table: black, red
    0x21, 0xF9, 4,   1,   0,   0,   0, 0,  // graphic control: index 0 transparent
    0x2C, 0,    0,   0,   0,   2,   0, 1, 0, 0, 2,    2, 0x0C, 0x0A, 0, 0x3B};

TEST(GIFImage, TransparentPixelsLeaveTheCanvasAlone) {
    TGIFImage gif;
    Load(gif, TransparentGif);
    EXPECT_TRUE(gif.Transparent());
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 1);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, 2, 1));
    target.Canvas()->Draw(0, 0, &gif);
    EXPECT_EQ(clRed, target.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clLime, target.Canvas()->Pixels(1, 0));
    TBitmap copy;
    copy.Assign(&gif);
    EXPECT_EQ(pf32bit, copy.PixelFormat());
    EXPECT_EQ(0, static_cast<Byte*>(copy.ScanLine(0))[7]);
}

TEST(GIFImage, KeepsTheFileItReadWhenSavedUnchanged) {
    TGIFImage gif;
    Load(gif, TransparentGif);
    TMemoryStream stream;
    gif.SaveToStream(&stream);
    const auto* data = static_cast<const Byte*>(stream.Memory());
    EXPECT_EQ(TransparentGif, std::vector<Byte>(data, data + stream.Size()));
}

}  // namespace
