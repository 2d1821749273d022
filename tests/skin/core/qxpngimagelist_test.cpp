#include "skin/core/qxpngimagelist.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/streams.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/forms.h"
#include "skintest.h"

namespace {

// A true-colour PNG of W x H in one colour, with an alpha channel when
// AAlpha is given.
std::unique_ptr<TqxPngImage> TrueColor(Integer W, Integer H, TColor AColor, int AAlpha = -1) {
    auto png = std::make_unique<TqxPngImage>();
    png->CreateBlank(AAlpha < 0 ? COLOR_RGB : COLOR_RGBALPHA, 8, W, H);
    for (Integer y = 0; y < H; ++y) {
        for (Integer x = 0; x < W; ++x)
            png->SetPixels(x, y, AColor);
        if (AAlpha >= 0) std::fill_n(png->AlphaScanline(y), W, Byte(AAlpha));
    }
    return png;
}

void Chunk(std::vector<Byte>& AFile, const char* AType, const std::vector<Byte>& AData) {
    const auto be32 = [&](uLong AValue) {
        for (int shift = 24; shift >= 0; shift -= 8)
            AFile.push_back(Byte(AValue >> shift));
    };
    be32(uLong(AData.size()));
    std::vector<Byte> typed(AType, AType + 4);
    typed.insert(typed.end(), AData.begin(), AData.end());
    AFile.insert(AFile.end(), typed.begin(), typed.end());
    be32(crc32(0, typed.data(), uInt(typed.size())));
}

// A palette PNG of 4 x 2 pixels: palette index (x + y) % 2, entry 0 green
// and fully transparent by tRNS, entry 1 blue.
std::unique_ptr<TqxPngImage> Palette() {
    const Integer w = 4, h = 2;
    std::vector<Byte> file{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Chunk(file, "IHDR", {0, 0, 0, Byte(w), 0, 0, 0, Byte(h), 8, 3, 0, 0, 0});
    Chunk(file, "PLTE", {0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF});
    Chunk(file, "tRNS", {0x00});
    std::vector<Byte> rows;
    for (Integer y = 0; y < h; ++y) {
        rows.push_back(0);
        for (Integer x = 0; x < w; ++x)
            rows.push_back(Byte((x + y) % 2));
    }
    std::vector<Byte> packed(compressBound(uLong(rows.size())));
    uLongf size = uLongf(packed.size());
    compress(packed.data(), &size, rows.data(), uLong(rows.size()));
    packed.resize(size);
    Chunk(file, "IDAT", packed);
    Chunk(file, "IEND", {});
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    auto png = std::make_unique<TqxPngImage>();
    png->LoadFromStream(&stream);
    return png;
}

std::vector<Byte> AlphaOf(TqxPngImage& APng) {
    std::vector<Byte> alpha;
    for (Integer y = 0; y < APng.Height(); ++y) {
        const Byte* row = APng.AlphaScanline(y);
        alpha.insert(alpha.end(), row, row + APng.Width());
    }
    return alpha;
}

std::vector<String> Names(TqxPngImageList& AList) {
    std::vector<String> names;
    for (Integer i = 0; i < AList.PngImages()->Count(); ++i)
        names.push_back(AList.PngImages()->Items(i)->Name());
    return names;
}

TEST(PngImageList, ItemsAreNamedByTheirIndexWhenMadeAndKeepTheName) {
    TqxPngImageList list(nullptr);
    for (Integer i = 0; i < 4; ++i)
        list.PngImages()->Add();
    EXPECT_EQ(u"PngImage3", list.PngImages()->Items(3)->Name());
    EXPECT_EQ(u"PngImage3", list.PngImages()->Items(3)->DisplayName());
    list.PngImages()->Delete(0);
    EXPECT_EQ((std::vector<String>{u"PngImage1", u"PngImage2", u"PngImage3"}), Names(list));
    list.PngImages()->Items(0)->SetName(u"");
    EXPECT_EQ(u"TqxPngImageItem", list.PngImages()->Items(0)->DisplayName());
}

TEST(PngImageList, TheImageCountFollowsTheItems) {
    TqxPngImageList list(nullptr);
    list.PngImages()->Add();
    list.PngImages()->Add();
    EXPECT_EQ(2, list.Count());
    list.PngImages()->Insert(1);
    EXPECT_EQ(3, list.Count());
    list.PngImages()->Delete(2);
    EXPECT_EQ(2, list.Count());
    TqxPngImageList other(nullptr);
    for (Integer i = 0; i < 5; ++i)
        other.PngImages()->Add();
    list.SetPngImages(other.PngImages());
    EXPECT_EQ(5, list.Count());
    list.PngImages()->Clear();
    EXPECT_EQ(0, list.Count());
}

TEST(PngImageList, ANewSizeAtRunTimeDiscardsThePictures) {
    TqxPngImageList list(nullptr);
    list.PngImages()->Add()->SetPngImage(TrueColor(16, 16, clRed).get());
    list.PngImages()->Add();
    list.SetPngWidth(16);
    list.SetPngHeight(16);
    EXPECT_EQ(2, list.PngImages()->Count());
    EXPECT_EQ(2, list.Count());
    list.SetPngWidth(24);
    EXPECT_EQ(24, list.Width());
    EXPECT_EQ(0, list.PngImages()->Count());
    EXPECT_EQ(0, list.Count());
    list.PngImages()->Add();
    list.SetPngHeight(32);
    EXPECT_EQ(32, list.PngHeight());
    EXPECT_EQ(0, list.PngImages()->Count());
}

TEST(PngImageList, ItemsCopyTheirPictureAndName) {
    TqxPngImageList list(nullptr);
    TqxPngImageItem* item = list.PngImages()->Add();
    const auto red = TrueColor(3, 2, clRed, 200);
    item->SetPngImage(red.get());
    item->SetName(u"Play");
    EXPECT_NE(red.get(), item->PngImage());
    EXPECT_EQ(clRed, item->PngImage()->Pixels(2, 1));
    TqxPngImageItem* copy = list.PngImages()->Add();
    copy->Assign(item);
    EXPECT_EQ(u"Play", copy->Name());
    EXPECT_EQ(std::vector<Byte>(6, 200), AlphaOf(*copy->PngImage()));
    EXPECT_THROW(copy->Assign(red.get()), Exception);
}

// Alpha a becomes round(a / 256 x 128), halves to even.
TEST(FadePng, AlphaScaledRoundingHalvesToEven) {
    struct TCase {
        int Alpha;
        Byte Expected;
    } cases[] = {{255, 128}, {254, 127}, {128, 64}, {100, 50}, {3, 2}, {1, 0}, {0, 0}};
    for (const TCase& c : cases) {
        const auto png = TrueColor(2, 1, clRed, c.Alpha);
        FadePngImage(png.get(), 127);
        EXPECT_EQ(std::vector<Byte>(2, c.Expected), AlphaOf(*png)) << c.Alpha;
    }
}

TEST(FadePng, TrueColourWithoutAlphaBecomesHalfTransparent) {
    const auto png = TrueColor(3, 2, clBlue);
    FadePngImage(png.get(), 127);
    EXPECT_EQ(COLOR_RGBALPHA, png->Header().ColorType);
    EXPECT_EQ(std::vector<Byte>(6, 128), AlphaOf(*png));
    EXPECT_EQ(clBlue, png->Pixels(1, 1));
    // A transparent colour stays fully transparent.
    const auto keyed = TrueColor(2, 1, clBlue);
    keyed->SetPixels(1, 0, clLime);
    keyed->SetTransparentColor(clLime);
    FadePngImage(keyed.get(), 127);
    EXPECT_EQ((std::vector<Byte>{128, 0}), AlphaOf(*keyed));
}

TEST(FadePng, APalettePictureBecomesTrueColourAtTheLevel) {
    const auto png = Palette();
    ASSERT_EQ(COLOR_PALETTE, png->Header().ColorType);
    ASSERT_EQ(ptmBit, png->TransparencyMode());
    FadePngImage(png.get(), 127);
    EXPECT_EQ(COLOR_RGBALPHA, png->Header().ColorType);
    EXPECT_EQ((std::vector<Byte>{0, 127, 0, 127, 127, 0, 127, 0}), AlphaOf(*png));
    EXPECT_EQ(clBlue, png->Pixels(1, 0));
    EXPECT_EQ(clLime, png->Pixels(0, 0));
}

TEST(PngToAlphaBitmap, ColoursAndAlphaOrOpaqueButTheTransparentColour) {
    TqxBitmap bitmap;
    PngToAlphaBitmap(&bitmap, TrueColor(2, 1, clRed, 100).get());
    EXPECT_EQ(std::vector<TqxColor>(2, 0x64FF0000), Pixels(bitmap));
    EXPECT_TRUE(bitmap.AlphaBlend());
    PngToAlphaBitmap(&bitmap, TrueColor(3, 1, clBlue).get());
    EXPECT_EQ(std::vector<TqxColor>(3, 0xFF0000FF), Pixels(bitmap));
    EXPECT_FALSE(bitmap.AlphaBlend());
    PngToAlphaBitmap(&bitmap, Palette().get());
    EXPECT_EQ(0x0000FF00u, bitmap.Bits()[0]);
    EXPECT_EQ(0xFF0000FFu, bitmap.Bits()[1]);
    TqxPngImage empty;
    PngToAlphaBitmap(&bitmap, &empty);
    EXPECT_TRUE(bitmap.Empty());
}

// Drawn through the toolkit's image-list drawing: the PNG with its alpha,
// or a faded copy.
TEST(PngImageList, DrawsThePngEnabledOrFaded) {
    TqxPngImageList list(nullptr);
    list.SetPngWidth(4);
    list.SetPngHeight(2);
    const auto png = TrueColor(4, 2, clBlue);
    png->SetPixels(3, 1, clLime);
    png->SetTransparentColor(clLime);
    list.PngImages()->Add()->SetPngImage(png.get());
    const auto enabled = SolidBitmap(8, 4, 0xFFFFFF), disabled = SolidBitmap(8, 4, 0xFFFFFF),
               expected = SolidBitmap(8, 4, 0xFFFFFF);
    list.Draw(enabled->Canvas(), 2, 1, 0, true);
    EXPECT_EQ(0x0000FFu, RGBAt(*enabled, 2, 1));
    EXPECT_EQ(0xFFFFFFu, RGBAt(*enabled, 5, 2));
    EXPECT_EQ(0xFFFFFFu, RGBAt(*enabled, 1, 1));
    list.Draw(disabled->Canvas(), 2, 1, 0, false);
    FadePngImage(png.get(), 127);
    expected->Canvas()->StretchDraw(Bounds(2, 1, 4, 2), png.get());
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 8; ++x)
            ASSERT_EQ(RGBAt(*expected, x, y), RGBAt(*disabled, x, y)) << x << ", " << y;
    EXPECT_NE(0x0000FFu, RGBAt(*disabled, 2, 1));
    EXPECT_EQ(0xFFFFFFu, RGBAt(*disabled, 5, 2));
}

// In a form description the pictures are files under the resources folder;
// a size written after the items keeps them, with placeholders of that size.
class PngImageListDescription : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        FFolder = std::filesystem::temp_directory_path() /
                  ("qxpngimagelist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(FFolder);
        FSavedFolder = ResourceFolder();
        SetResourceFolder(UTF8ToString(FFolder.string()));
        TrueColor(24, 24, clRed, 255)->SaveToFile(UTF8ToString((FFolder / "play.png").string()));
    }
    void TearDown() override {
        SetResourceFolder(FSavedFolder);
        std::filesystem::remove_all(FFolder);
        GuiTest::TearDown();
    }
    TqxPngImageList* Read(const std::string& AText) {
        const std::filesystem::path file = FFolder / "form.txt";
        std::ofstream(file) << AText;
        TForm* form = new TForm(Application);
        ReadDescriptionFile(form, UTF8ToString(file.string()));
        return dynamic_cast<TqxPngImageList*>(form->FindComponent(u"Icons"));
    }
    std::filesystem::path FFolder;
    String FSavedFolder;
};

TEST_F(PngImageListDescription, ItemsWithPicturesFromFiles) {
    for (const char* order : {"size first", "items first"}) {
        SCOPED_TRACE(order);
        const std::string size = "    PngWidth = 24\n    PngHeight = 24\n";
        const std::string items =
            "    PngImages = <\n"
            "      item\n"
            "        Name = 'Play'\n"
            "        PngImage = 'play.png'\n"
            "      end\n"
            "      item\n"
            "        PngImage = 'play.png'\n"
            "      end>\n";
        TqxPngImageList* list = Read("object Form1: TForm\n  object Icons: TqxPngImageList\n" +
                                     (order[0] == 's' ? size + items : items + size) + "  end\nend\n");
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(24, list->Width());
        EXPECT_EQ((std::vector<String>{u"Play", u"PngImage1"}), Names(*list));
        EXPECT_EQ(2, list->Count());
        EXPECT_EQ(24, list->PngImages()->Items(1)->PngImage()->Width());
        EXPECT_EQ(clRed, list->PngImages()->Items(0)->PngImage()->Pixels(5, 5));
        Free(list->Owner());
    }
}

}  // namespace
