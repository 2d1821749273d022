// The program's pictures in the build's resources folder: the ones the form
// descriptions name, at the sizes their image lists and controls take, with
// soft edges or a transparent colour, and the same bytes every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <unistd.h>

#include "platform/base/ustring.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/pngimage.h"
#include "skin/core/qxpngimagelist.h"

namespace fs = std::filesystem;

namespace {

const std::string Resources = VELQUA_RESOURCES_DIR "/";

String PathOf(const std::string& AName) {
    return UTF8ToString(Resources + "pictures/" + AName);
}

std::string Bytes(const fs::path& AFile) {
    std::ifstream in(AFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TAlphaCount {
    Integer Clear = 0, Partial = 0, Solid = 0;
};

TAlphaCount AlphaOf(TPngImage& APng) {
    TAlphaCount count;
    for (Integer y = 0; y < APng.Height(); ++y) {
        const Byte* alpha = APng.AlphaScanline(y);
        for (Integer x = 0; x < APng.Width(); ++x) {
            const Byte a = alpha ? alpha[x] : 255;
            (a == 0 ? count.Clear : a == 255 ? count.Solid : count.Partial)++;
        }
    }
    return count;
}

bool IsGrey(TColor AColor) {
    const Integer red = AColor & 0xFF, green = (AColor >> 8) & 0xFF, blue = (AColor >> 16) & 0xFF;
    return red == green && green == blue;
}

std::vector<std::string> Numbered(const std::string& AFolder, int ACount, bool ATwoDigits) {
    std::vector<std::string> names;
    for (int i = 0; i < ACount; ++i)
        names.push_back(AFolder + (ATwoDigits && i < 10 ? "0" : "") + std::to_string(i) + ".png");
    return names;
}

// The main window's nine PNG image lists, by the pictures each holds.
struct TListCase {
    const char* List;
    Integer Size;
    std::vector<std::string> Pictures;
};

const std::vector<TListCase>& Lists() {
    static const std::vector<TListCase> lists{
        {"qxPngImageList1", 16, {"listbuttons/down.png", "listbuttons/up.png"}},
        {"qxPngImageList2",
         24,
         {"player/play.png", "player/pause.png", "player/stop.png", "player/mute.png", "player/unmute.png",
          "player/snapshot.png", "player/settings.png"}},
        {"qxPngImageList3", 32, Numbered("formats/", 3, false)},
        {"qxPngImageList4", 24, {"output/settings.png", "output/browse.png", "output/open.png"}},
        {"qxPngImageList5", 36, Numbered("categories/", 24, true)},
        {"qxPngImageList6", 36, {"logo36.png"}},
        {"qxPngImageList7", 32, {"toolbar/add.png", "toolbar/options.png", "toolbar/skin.png"}},
        {"qxPngImageList8", 32, {"toolbar/add-hot.png", "toolbar/options-hot.png", "toolbar/skin-hot.png"}},
        {"qxPngImageList9", 80, {"logo80.png"}},
    };
    return lists;
}

TEST(ProgramPictures, TheNineImageListsFillFromTheirFilesWithSoftEdgedPictures) {
    for (const TListCase& c : Lists()) {
        SCOPED_TRACE(c.List);
        TqxPngImageList list(nullptr);
        list.SetPngWidth(c.Size);
        list.SetPngHeight(c.Size);
        for (const std::string& name : c.Pictures) {
            SCOPED_TRACE(name);
            TqxPngImage* png = list.PngImages()->Add()->PngImage();
            png->LoadFromFile(PathOf(name));
            EXPECT_EQ(png->Width(), c.Size);
            EXPECT_EQ(png->Height(), c.Size);
            const TAlphaCount alpha = AlphaOf(*png);
            EXPECT_GT(alpha.Clear, 0);
            EXPECT_GT(alpha.Partial, 0);
            EXPECT_GT(alpha.Solid, 0);
        }
        EXPECT_EQ(list.Count(), Integer(c.Pictures.size()));
    }
}

TEST(ProgramPictures, CategoryAndFormatPicturesAreEachTheirOwn) {
    for (const TListCase& c : Lists()) {
        std::set<std::string> seen;
        for (const std::string& name : c.Pictures)
            EXPECT_TRUE(seen.insert(Bytes(StringToUTF8(PathOf(name)))).second) << name;
    }
}

TEST(ProgramPictures, TheFormsPicturesHaveTheirControlsSizes) {
    struct Case {
        const char* Name;
        Integer Width, Height;
        bool Opaque;
    };
    for (const Case& c : {Case{"velqua16.png", 16, 16, false}, Case{"velqua32.png", 32, 32, false},
                          Case{"velqua48.png", 48, 48, false}, Case{"about.png", 87, 83, false},
                          Case{"cover.png", 570, 260, false}, Case{"player.png", 210, 135, true},
                          Case{"settings/picture.png", 128, 128, false}}) {
        SCOPED_TRACE(c.Name);
        TPngImage png;
        png.LoadFromFile(PathOf(c.Name));
        EXPECT_EQ(png.Width(), c.Width);
        EXPECT_EQ(png.Height(), c.Height);
        const TAlphaCount alpha = AlphaOf(png);
        if (c.Opaque)
            EXPECT_EQ(alpha.Solid, c.Width * c.Height);
        else
            EXPECT_GT(alpha.Clear, 0);
    }
    // The settings dialog's category list takes its twelve pictures from one strip.
    TPngImage strip;
    strip.LoadFromFile(PathOf("settings/categories.png"));
    TBitmap bitmap;
    bitmap.Assign(&strip);
    TCustomImageList list(32, 32);
    list.SetColorDepth(cd32Bit);
    list.Add(&bitmap, nullptr);
    EXPECT_EQ(list.Count(), 12);
}

// The list-move and player buttons' glyphs: bitmaps keyed like the others.
TEST(ProgramPictures, TheListAndPlayerButtonsHaveBitmapGlyphs) {
    const struct {
        const char* Name;
        Integer Size;
    } glyphs[] = {{"up", 16},           {"down", 16},          {"player-play", 24},     {"player-pause", 24},
                  {"player-stop", 24},  {"player-mute", 24},   {"player-unmute", 24},   {"player-snapshot", 24},
                  {"player-settings", 24}};
    for (const auto& g : glyphs) {
        SCOPED_TRACE(g.Name);
        TBitmap glyph;
        glyph.LoadFromFile(PathOf(std::string("glyphs/") + g.Name + ".bmp"));
        EXPECT_EQ(glyph.Width(), g.Size);
        EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
        bool drawn = false;
        for (Integer y = 0; y < g.Size && !drawn; ++y)
            for (Integer x = 0; x < g.Size && !drawn; ++x)
                drawn = glyph.Canvas()->Pixels(x, y) != clFuchsia;
        EXPECT_TRUE(drawn);
    }
}

TEST(ProgramPictures, GlyphsHaveATransparentColourAndTheirDisabledLookIsGreyInTheSameShape) {
    struct Case {
        const char* Name;
        Integer Size;
    };
    for (const Case& c : {Case{"start", 64}, Case{"pause", 24}, Case{"resume", 24}, Case{"stop", 24},
                          Case{"clear", 32}, Case{"remove", 32}, Case{"rename", 16}, Case{"up", 16},
                          Case{"down", 16}}) {
        SCOPED_TRACE(c.Name);
        TBitmap enabled, disabled;
        enabled.LoadFromFile(PathOf(std::string("glyphs/") + c.Name + ".bmp"));
        disabled.LoadFromFile(PathOf(std::string("glyphs/") + c.Name + "-disabled.bmp"));
        Integer keyed = 0, coloured = 0;
        for (TBitmap* glyph : {&enabled, &disabled}) {
            EXPECT_EQ(glyph->Width(), c.Size);
            EXPECT_EQ(glyph->Height(), c.Size);
            EXPECT_EQ(glyph->PixelFormat(), pf24bit);
            EXPECT_EQ(glyph->TransparentColor(), clFuchsia);
        }
        for (Integer y = 0; y < c.Size; ++y)
            for (Integer x = 0; x < c.Size; ++x) {
                const TColor on = enabled.Canvas()->Pixels(x, y), off = disabled.Canvas()->Pixels(x, y);
                ASSERT_EQ(on == clFuchsia, off == clFuchsia) << x << "," << y;
                if (on == clFuchsia) {
                    ++keyed;
                    continue;
                }
                coloured += !IsGrey(on);
                EXPECT_TRUE(IsGrey(off)) << x << "," << y;
            }
        EXPECT_GT(keyed, 0);
        EXPECT_LT(keyed, c.Size * c.Size);
        EXPECT_GT(coloured, 0);
    }
}

TEST(ProgramPictures, TheSameBytesEveryRun) {
    const fs::path again = fs::temp_directory_path() / ("velqua-pictures-" + std::to_string(::getpid()));
    ASSERT_EQ(std::system((std::string(VELQUA_PICGEN) + " --files " + again.string()).c_str()), 0);
    Integer files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(again)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const fs::path relative = fs::relative(entry.path(), again);
        EXPECT_EQ(Bytes(entry.path()), Bytes(fs::path(Resources) / relative)) << relative;
    }
    fs::remove_all(again);
    // The lists, the forms' other pictures, fourteen glyphs and the list and
    // player buttons' nine, with the list buttons' two disabled looks.
    EXPECT_EQ(files, 47 + 8 + 14 + 9 + 2);
}

}  // namespace
