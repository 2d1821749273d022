// The player's audio output (playeraudio.cpp), heard through SDL's disk
// driver, which writes exactly what the player mixes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "media/player.h"
#include "playertest.h"

namespace {

class PlayerAudioTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        Output = UseDiskAudio();
    }

    // Plays the file to its end and gives what the device got.
    std::vector<int16_t> PlayToTheEnd(const String& AFile) {
        Recorder.Clear();
        EXPECT_TRUE(Player->Open(TestDataFile(AFile), nullptr, false)) << StringToUTF8(Player->LastErrMsg());
        EXPECT_TRUE(Recorder.WaitForState(psEnd));
        Player->Stop(true);
        EXPECT_TRUE(Recorder.WaitForState(psStop));
        return ReadSamples(Output);
    }

    static Integer Peak(const std::vector<int16_t>& ASamples) {
        Integer peak = 0;
        for (int16_t sample : ASamples)
            peak = std::max<Integer>(peak, std::abs(sample));
        return peak;
    }

    std::string Output;
};

TEST_F(PlayerAudioTest, MutedPlaybackIsSilentWhileTheClockRuns) {
    Player->SetMute(true);
    const std::vector<int16_t> samples = PlayToTheEnd(u"sine.wav");
    EXPECT_GE(samples.size(), 88200u) << "two seconds of mono samples at least";
    EXPECT_EQ(Peak(samples), 0);
    EXPECT_GT(Recorder.LastPosition(), 1900000);
}

TEST_F(PlayerAudioTest, TheVolumeScalesTheSamples) {
    const Integer full = Peak(PlayToTheEnd(u"sine.wav"));
    EXPECT_GT(full, 4000) << "the sine's amplitude is an eighth of the full scale";
    struct {
        TAudioVolume Volume;
        Integer Peak;
    } const cases[] = {{64, full / 2}, {32, full / 4}, {0, 0}, {500, full}};
    for (const auto& c : cases) {
        Player->SetAudioVolume(c.Volume);
        EXPECT_NEAR(Peak(PlayToTheEnd(u"sine.wav")), c.Peak, 2) << c.Volume;
    }
}

TEST_F(PlayerAudioTest, SixChannelsPlayAsTwo) {
    const std::vector<int16_t> samples = PlayToTheEnd(u"six.wav");
    const auto first = std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; });
    const auto last = std::find_if(samples.rbegin(), samples.rend(), [](int16_t s) { return s != 0; });
    ASSERT_NE(first, samples.end());
    // One second at 8 kHz: the samples heard tell the channels.
    const double channels = double(std::distance(first, last.base())) / 8000;
    EXPECT_NEAR(channels, 2.0, 0.05);
    EXPECT_GT(Peak(samples), 1000);
}

}  // namespace
