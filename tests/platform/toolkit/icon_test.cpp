#include "platform/toolkit/icon.h"

#include <gtest/gtest.h>

#include "picturestreams.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "tests/platform/gdi/picturefiles.h"

namespace {

// A 3 x 2 icon, blue with its top-left pixel transparent.
win::HICON MakeIcon() {
    TBitmap colour, mask;
    colour.SetPixelFormat(pf24bit);
    colour.SetSize(3, 2);
    colour.Canvas()->Brush()->SetColor(clBlue);
    colour.Canvas()->FillRect(Rect(0, 0, 3, 2));
    colour.Canvas()->SetPixels(0, 0, clBlack);
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(3, 2);
    mask.Canvas()->SetPixels(0, 0, clWhite);
    win::ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
    return win::CreateIconIndirect(&info);
}

TEST(Icon, TakesOverAHandleAndDrawsWithItsMask) {
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    EXPECT_TRUE(icon.Transparent());
    int changes = 0;
    icon.OnChange = [&](TObject*) { ++changes; };
    icon.SetHandle(MakeIcon());
    EXPECT_EQ(1, changes);
    EXPECT_EQ(3, icon.Width());
    EXPECT_EQ(2, icon.Height());
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(4, 3);
    target.Canvas()->FillRect(Rect(0, 0, 4, 3));
    target.Canvas()->Draw(1, 1, &icon);
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(1, 1));
    EXPECT_EQ(clBlue, target.Canvas()->Pixels(2, 1));
    EXPECT_EQ(clBlue, target.Canvas()->Pixels(3, 2));
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(0, 0));
}

TEST(Icon, AssignCopiesAndReleaseGivesUp) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    TIcon copy;
    copy.Assign(&icon);
    ASSERT_FALSE(copy.Empty());
    EXPECT_NE(icon.Handle(), copy.Handle());
    EXPECT_EQ(3, copy.Width());
    win::HICON released = copy.ReleaseHandle();
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(0, copy.Width());
    win::ICONINFO info{};
    ASSERT_TRUE(win::GetIconInfo(released, &info));
    win::DeleteObject(info.hbmMask);
    win::DeleteObject(info.hbmColor);
    EXPECT_TRUE(win::DestroyIcon(released));
    win::HICON old = icon.Handle();
    icon.Assign(nullptr);
    EXPECT_TRUE(icon.Empty());
    EXPECT_FALSE(win::GetIconInfo(old, &info));
}

TEST(Icon, ReadsTheLargestPictureOfAnIconFileAndWritesNone) {
    using namespace picturefiles;
    // A 16 x 16 red bitmap with its left 4 columns masked out, and a 24 x 24
    // PNG of half-transparent blue.
    const std::vector<Byte> file = IcoFile({{16, 16, 24, IconDib(Filled(16, 16, 0xFFFF0000), 24, 4)},
                                            {24, 24, 32, IconPng(Filled(24, 24, 0x800000FF))}});
    TIcon icon;
    Load(icon, file);
    EXPECT_EQ(icon.Width(), 24);
    EXPECT_EQ(icon.Height(), 24);
    TBitmap target;
    WhiteTarget(target, 30, 30)->Canvas()->Draw(0, 0, &icon);
    const TColor blended = target.Canvas()->Pixels(10, 10);
    EXPECT_NEAR(win::GetRValue(blended), 127, 2);
    EXPECT_EQ(win::GetBValue(blended), 255);
    EXPECT_EQ(target.Canvas()->Pixels(27, 27), clWhite);
    // The bitmap alone: its mask shows through.
    Load(icon, IcoFile({{16, 16, 24, IconDib(Filled(16, 16, 0xFFFF0000), 24, 4)}}));
    WhiteTarget(target, 30, 30)->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(target.Canvas()->Pixels(2, 8), clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(8, 8), clRed);
    // A damaged file leaves the icon held.
    const win::HICON held = icon.Handle();
    EXPECT_THROW(Load(icon, std::vector<Byte>(file.begin(), file.begin() + 40)), EInvalidGraphic);
    EXPECT_EQ(icon.Handle(), held);
    TMemoryStream stream;
    try {
        icon.SaveToStream(&stream);
        FAIL() << "no exception";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(u"Icon files are not written", e.Message());
    }
    EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);
}

}  // namespace
