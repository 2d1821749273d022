#include "media/playervideo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "media/player.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/graphicsobjects.h"
#include "playertest.h"

namespace {

TEST(RGBAToYUVATest, TurnsPaletteColoursIntoStudioRangeYUV) {
    struct {
        uint32_t RGBA, YUVA;
    } const cases[] = {
        {0xFFFFFFFF, 0xFFEB8080}, {0xFF000000, 0xFF108080}, {0xFFFF0000, 0xFF515AF0},
        {0x8000FF00, 0x80903622}, {0x000000FF, 0x0029F06E}, {0x40808080, 0x407E8080},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RGBAToYUVA(c.RGBA), c.YUVA) << std::hex << c.RGBA;
}

class PlayerVideoTest : public PlayerFixture {
protected:
    // Opens the red-over-blue file paused and waits until both pictures it
    // shows before pausing are on screen.
    void OpenHalves() {
        ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), nullptr, true))
            << StringToUTF8(Player->LastErrMsg());
        ASSERT_TRUE(Recorder.WaitForState(psPause));
        ASSERT_TRUE(Recorder.WaitForPosition(40000));
    }
};

bool IsRed(uint32_t AColour) {
    return (AColour >> 16) > 0xC0 && (AColour & 0xFF) < 0x40;
}

bool IsBlue(uint32_t AColour) {
    return (AColour & 0xFF) > 0xC0 && (AColour >> 16) < 0x40;
}

TEST_F(PlayerVideoTest, AnOpenInPauseShowsTwoPicturesThenPauses) {
    std::atomic<Integer> pictures{0};
    Integer atPause = -1;
    Player->SetHook(true);
    Player->SetOnHook([&](TObject*, TBitmap*, Int64) { ++pictures; });
    Recorder.OnStateHook = [&](TPlayState AState) {
        if (AState == psPause) atPause = pictures;
    };
    OpenHalves();
    EXPECT_EQ(atPause, 2);
    EXPECT_EQ(Recorder.States(), (std::vector<TPlayState>{psPlay, psPause}));
    EXPECT_TRUE(Player->Paused());
    Player->Stop(true);
}

TEST_F(PlayerVideoTest, VerticalFlipShowsTheLastRowFirst) {
    for (const bool flip : {false, true}) {
        Player->SetVerticalFlip(flip);
        Recorder.Clear();
        OpenHalves();
        EXPECT_TRUE(IsRed(ScreenPixel(32, flip ? 45 : 2))) << flip << std::hex << ScreenPixel(32, 2);
        EXPECT_TRUE(IsBlue(ScreenPixel(32, flip ? 2 : 45))) << flip << std::hex << ScreenPixel(32, 45);
        Player->Stop(true);
        ASSERT_TRUE(Recorder.WaitForState(psStop));
        EXPECT_FALSE(Player->VerticalFlip()) << "a per-file option";
    }
}

TEST_F(PlayerVideoTest, WhatTheHookDrawsIsShownUnlessItRaises) {
    for (const bool raise : {false, true}) {
        TLogCapture log(llError);
        Player->SetHook(true);
        Player->SetOnHook([raise](TObject*, TBitmap* ABitmap, Int64) {
            ABitmap->Canvas()->Brush()->SetColor(clLime);
            ABitmap->Canvas()->FillRect(Rect(0, 0, ABitmap->Width(), ABitmap->Height() / 2));
            if (raise) throw Exception(u"boom");
        });
        Recorder.Clear();
        OpenHalves();
        const uint32_t top = ScreenPixel(32, 2);
        if (raise) {
            EXPECT_TRUE(IsRed(top)) << std::hex << top;
            EXPECT_NE(std::find(log.Lines.begin(), log.Lines.end(), u"Error occurs OnHook: boom"),
                      log.Lines.end());
        } else {
            EXPECT_GT((top >> 8) & 0xFF, 0xC0u) << std::hex << top;
            EXPECT_LT(top >> 16, 0x40u) << std::hex << top;
        }
        EXPECT_TRUE(IsBlue(ScreenPixel(32, 45)));
        Player->Stop(true);
        ASSERT_TRUE(Recorder.WaitForState(psStop));
    }
}

}  // namespace
