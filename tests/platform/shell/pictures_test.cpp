// The pictures the build draws and compiles into the shell library.
#include <gtest/gtest.h>

#include "platform/base/ustring.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/pngimage.h"
#include "platform/toolkit/resources.h"

namespace {

TEST(Pictures, ListBitmapsHaveTheirSizesAndAKeyColourOnlyInTheirBackground) {
    struct Case {
        const char16_t* Name;
        Integer Width, Height;
    };
    for (const Case& c : {Case{u"QX_FLOPPY", 16, 16}, Case{u"QX_HARD", 16, 16}, Case{u"QX_NETWORK", 16, 16},
                          Case{u"QX_CDROM", 16, 16}, Case{u"QX_RAM", 16, 11}, Case{u"QX_OPENFOLDER", 16, 15},
                          Case{u"QX_CLOSEDFOLDER", 16, 15}, Case{u"QX_CURRENTFOLDER", 16, 15}}) {
        SCOPED_TRACE(StringToUTF8(c.Name));
        TBitmap bitmap;
        bitmap.LoadFromResourceName(c.Name);
        EXPECT_EQ(bitmap.Width(), c.Width);
        EXPECT_EQ(bitmap.Height(), c.Height);
        EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
        const TColor key = bitmap.TransparentColor();
        EXPECT_EQ(key, clFuchsia);
        // Something is drawn, and not everything.
        Integer keyed = 0;
        for (Integer y = 0; y < c.Height; ++y)
            for (Integer x = 0; x < c.Width; ++x)
                keyed += bitmap.Canvas()->Pixels(x, y) == key;
        EXPECT_GT(keyed, 0);
        EXPECT_LT(keyed, c.Width * c.Height / 2 + 40);
    }
}

TEST(Pictures, ShellSetAndStockIconsHaveSoftEdges) {
    for (const char* kind : {"FOLDER", "OPENFOLDER", "DESKTOP", "COMPUTER", "HOME", "DISK", "REMOVABLE",
                             "OPTICAL", "NETWORK", "FILE", "VIDEO", "AUDIO", "PICTURE", "ARCHIVE"}) {
        for (int size : {16, 32}) {
            const String name = UTF8ToString(std::string("SHELL_") + kind + "_" + std::to_string(size));
            SCOPED_TRACE(StringToUTF8(name));
            TPngImage png;
            png.LoadFromResourceName(name);
            EXPECT_EQ(png.Width(), size);
            EXPECT_EQ(png.Height(), size);
            EXPECT_EQ(png.TransparencyMode(), ptmPartial);
            bool clear = false, solid = false, partial = false;
            for (Integer y = 0; y < size; ++y)
                for (Integer x = 0; x < size; ++x) {
                    const Byte a = png.AlphaScanline(y)[x];
                    clear |= a == 0, solid |= a == 255, partial |= a > 0 && a < 255;
                }
            EXPECT_TRUE(clear && solid && partial);
        }
    }
    for (int id : {win::IDI_HAND, win::IDI_QUESTION, win::IDI_EXCLAMATION, win::IDI_ASTERISK}) {
        win::HICON icon = win::LoadIconW(nullptr, id);
        ASSERT_NE(icon, nullptr) << id;
        win::ICONINFO info{};
        ASSERT_TRUE(win::GetIconInfo(icon, &info));
        win::BITMAP colour{};
        win::GetObject(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, 32);
        EXPECT_EQ(colour.bmHeight, 32);
        win::DeleteObject(info.hbmColor);
        win::DeleteObject(info.hbmMask);
        win::DestroyIcon(icon);
    }
}

}  // namespace
