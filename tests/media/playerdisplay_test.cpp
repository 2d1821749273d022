#include "media/playerdisplay.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "media/libsdl.h"
#include "media/player.h"
#include "platform/base/ustring.h"
#include "playertest.h"

namespace {

// --- Layout ---

struct TLayoutCase {
    const char* Name;
    float AspectRatio;
    Integer Width, Height, PictureWidth, PictureHeight;
    AVRational PixelAspect;
    SDL_Rect Expected;
};

void PrintTo(const TLayoutCase& ACase, std::ostream* AStream) {
    *AStream << ACase.Name;
}

class VideoLayoutTest : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(VideoLayoutTest, PlacesThePicture) {
    const TLayoutCase& c = GetParam();
    const SDL_Rect rect =
        VideoLayout(c.AspectRatio, 5, 7, c.Width, c.Height, c.PictureWidth, c.PictureHeight, c.PixelAspect);
    EXPECT_EQ(rect.x, c.Expected.x + 5);
    EXPECT_EQ(rect.y, c.Expected.y + 7);
    EXPECT_EQ(rect.w, c.Expected.w);
    EXPECT_EQ(rect.h, c.Expected.h);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VideoLayoutTest,
    ::testing::Values(
        TLayoutCase{"MinusOneFillsTheArea", -1, 640, 360, 320, 240, {1, 1}, {0, 0, 640, 360}},
        TLayoutCase{"ZeroFollowsThePicture", 0, 640, 360, 320, 240, {1, 1}, {80, 0, 480, 360}},
        TLayoutCase{"ZeroUsesThePixelAspect", 0, 640, 480, 352, 288, {16, 11}, {0, 60, 640, 360}},
        TLayoutCase{"UnknownPixelAspectIsSquare", 0, 640, 480, 320, 240, {0, 1}, {0, 0, 640, 480}},
        TLayoutCase{
            "WideLetterboxesAFourByThreeArea", 1.7778f, 640, 480, 320, 240, {1, 1}, {0, 60, 640, 360}},
        TLayoutCase{"WidthsAreEven", 1.0f, 101, 75, 320, 240, {1, 1}, {13, 0, 74, 75}}),
    [](const ::testing::TestParamInfo<TLayoutCase>& AInfo) { return std::string(AInfo.param.Name); });

// --- Subtitle blending ---

// An 8 x 6 picture of Y 100, U and V 128, and a rectangle whose pixels all
// use one palette entry.
constexpr Integer W = 8, H = 6;
constexpr uint32_t Opaque = 0xFFC8323C;  // alpha 255, Y 200, U 50, V 60
constexpr uint32_t Half = 0x80C8323C;    // the same at alpha 128

struct TPicture {
    std::array<uint8_t, W * H> Y;
    std::array<uint8_t, W / 2 * H / 2> U, V;
    TAVPicture Planes{};

    TPicture() {
        Y.fill(100);
        U.fill(128);
        V.fill(128);
        Planes.data[0] = Y.data();
        Planes.data[1] = U.data();
        Planes.data[2] = V.data();
        Planes.linesize[0] = W;
        Planes.linesize[1] = Planes.linesize[2] = W / 2;
    }
};

struct TBlendCase {
    const char* Name;
    Integer X, Y, Width, Height;
    uint32_t Colour;
    // Where the luma became the blend, as rows of W characters ('#' blended).
    std::array<const char*, H> Covered;
    uint8_t BlendedY;
    // Chroma samples to check: column, row, U, V.
    std::vector<std::array<Integer, 4>> Chroma;
};

void PrintTo(const TBlendCase& ACase, std::ostream* AStream) {
    *AStream << ACase.Name;
}

class BlendSubtitleRectTest : public ::testing::TestWithParam<TBlendCase> {};

TEST_P(BlendSubtitleRectTest, BlendsIntoThePicture) {
    const TBlendCase& c = GetParam();
    std::vector<uint8_t> indexes(size_t(c.Width * c.Height), 1);
    uint32_t palette[2] = {0, c.Colour};
    AVSubtitleRect rect{};
    rect.x = c.X;
    rect.y = c.Y;
    rect.w = c.Width;
    rect.h = c.Height;
    rect.nb_colors = 2;
    rect.data[0] = indexes.data();
    rect.data[1] = reinterpret_cast<uint8_t*>(palette);
    rect.linesize[0] = c.Width;
    TPicture picture;
    BlendSubtitleRect(picture.Planes, rect, W, H);
    for (Integer y = 0; y < H; ++y)
        for (Integer x = 0; x < W; ++x)
            EXPECT_EQ(picture.Y[size_t(y * W + x)], c.Covered[size_t(y)][x] == '#' ? c.BlendedY : 100)
                << x << "," << y;
    for (const auto& [x, y, u, v] : c.Chroma) {
        EXPECT_EQ(picture.U[size_t(y * W / 2 + x)], u) << x << "," << y;
        EXPECT_EQ(picture.V[size_t(y * W / 2 + x)], v) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlendSubtitleRectTest,
    ::testing::Values(TBlendCase{"AFullBlock",
                                 2,
                                 2,
                                 2,
                                 2,
                                 Opaque,
                                 {"........", "........", "..##....", "..##....", "........", "........"},
                                 200,
                                 {{1, 1, 50, 60}, {0, 1, 128, 128}, {2, 1, 128, 128}, {1, 0, 128, 128}}},
                      TBlendCase{
                          "OddStartCoversQuarterBlocks",
                          3,
                          1,
                          2,
                          2,
                          Opaque,
                          {"........", "...##...", "...##...", "........", "........", "........"},
                          200,
                          {{1, 0, 50, 60}, {2, 0, 50, 60}, {1, 1, 50, 60}, {2, 1, 50, 60}, {0, 0, 128, 128}}},
                      TBlendCase{"HalfBlocksAverageTwoPixels",
                                 2,
                                 2,
                                 2,
                                 1,
                                 Half,
                                 {"........", "........", "..##....", "........", "........", "........"},
                                 150,
                                 {{1, 1, 88, 93}}},
                      TBlendCase{"NegativeXStartsAtColumnZero",
                                 -2,
                                 0,
                                 3,
                                 2,
                                 Opaque,
                                 {"###.....", "###.....", "........", "........", "........", "........"},
                                 200,
                                 {{0, 0, 50, 60}, {1, 0, 50, 60}, {2, 0, 128, 128}}},
                      TBlendCase{"StickingOutIsMovedIn",
                                 6,
                                 5,
                                 4,
                                 2,
                                 Opaque,
                                 {"........", "........", "........", "........", "....####", "....####"},
                                 200,
                                 {{2, 2, 50, 60}, {3, 2, 50, 60}, {1, 2, 128, 128}}},
                      TBlendCase{"LargerThanThePictureCoversIt",
                                 -3,
                                 -3,
                                 20,
                                 20,
                                 Opaque,
                                 {"########", "########", "########", "########", "########", "########"},
                                 200,
                                 {{0, 0, 50, 60}, {3, 2, 50, 60}}}),
    [](const ::testing::TestParamInfo<TBlendCase>& AInfo) { return std::string(AInfo.param.Name); });

// --- On SDL's screen ---

class PlayerDisplayTest : public PlayerTest {};

TEST_F(PlayerDisplayTest, AWideRatioLetterboxesThePicture) {
    TPlayerRecorder recorder;
    auto player = std::make_unique<TFFPlayer>(nullptr);
    recorder.Attach(*player);
    player->SetAspectRatio(1.7778f);
    ASSERT_TRUE(player->Open(TestDataFile(u"halves.mkv"), nullptr, true));
    ASSERT_TRUE(recorder.WaitForState(psPause));
    ASSERT_TRUE(recorder.WaitForPosition(40000));
    // 64 x 48 at 16:9 is 64 x 36, six rows down.
    EXPECT_EQ(ScreenPixel(32, 2), 0u);
    EXPECT_EQ(ScreenPixel(32, 45), 0u);
    EXPECT_NE(ScreenPixel(32, 8), 0u);
    EXPECT_NE(ScreenPixel(32, 40), 0u);
    player.reset();
}

// A picture stored on its side is shown upright, turned as its display
// matrix says: the white mark of the stored top left comes out top right.
TEST_F(PlayerDisplayTest, APictureStoredOnItsSideIsShownUpright) {
    const String turned = UTF8ToString(::testing::TempDir()) + u"/turned-player.mp4";
    WriteWithDisplayMatrix(u"marked.mp4", DisplayMatrix(0, 1, -1, 0), turned);
    TPlayerRecorder recorder;
    auto player = std::make_unique<TFFPlayer>(nullptr);
    recorder.Attach(*player);
    ASSERT_TRUE(player->Open(turned, nullptr, true));
    ASSERT_TRUE(recorder.WaitForState(psPause));
    const SDL_Surface* screen = sdl::SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 32);
    EXPECT_EQ(screen->h, 64);
    const auto level = [](uint32_t APixel) { return Integer(APixel >> 8 & 0xFF); };
    EXPECT_GT(level(ScreenPixel(28, 4)), 220) << "white at the top right";
    EXPECT_LT(level(ScreenPixel(4, 4)), 40);
    const Integer grey = level(ScreenPixel(28, 59));
    EXPECT_TRUE(grey > 90 && grey < 170) << grey;
    player.reset();
}

TEST_F(PlayerDisplayTest, SoundAloneShowsTheChosenVisualisation) {
    for (const TShowAudio show : {saWave, saRDFT}) {
        TPlayerRecorder recorder;
        auto player = std::make_unique<TFFPlayer>(nullptr);
        recorder.Attach(*player);
        player->SetShowAudio(show);
        ASSERT_TRUE(player->Open(TestDataFile(u"sine.wav"), nullptr, false));
        ASSERT_TRUE(recorder.WaitForPosition(300000));
        player->Pause();
        ASSERT_TRUE(recorder.WaitForState(psPause));
        // A 640 x 480 area without a picture: a white wave, or grey columns
        // of a spectrum of one channel.
        Integer white = 0, lit = 0, coloured = 0;
        for (Integer y = 0; y < 480; ++y)
            for (Integer x = 0; x < 640; ++x) {
                const uint32_t pixel = ScreenPixel(x, y);
                white += pixel == 0xFFFFFF;
                lit += pixel != 0;
                coloured += (pixel >> 16) != (pixel & 0xFF) || ((pixel >> 8) & 0xFF) != (pixel & 0xFF);
            }
        EXPECT_EQ(coloured, 0) << show;
        if (show == saWave)
            EXPECT_GT(white, 100);
        else
            EXPECT_GT(lit, 100);
        player.reset();
    }
}

}  // namespace
