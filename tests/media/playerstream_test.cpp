// Stream opening and the choice of streams (playerstream.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>

#include "media/player.h"
#include "platform/base/threads.h"
#include "playertest.h"

namespace {

class PlayerStreamTest : public PlayerFixture {};

TEST_F(PlayerStreamTest, AFileWithoutAStreamToPlayFailsAndLeavesNoThread) {
    // Sanitizers start a thread of their own with the first other thread.
    std::thread([] {}).join();
    const std::set<Integer> threads = Threads();
    const String name = TestDataFile(u"subtitle.srt");
    EXPECT_FALSE(Player->Open(name, nullptr, false));
    EXPECT_EQ(Player->LastErrMsg(), name + u": could not open codecs, no stream to play.");
    EXPECT_TRUE(NoThreadBesides(threads));
    EXPECT_TRUE(Recorder.Items().empty());
    EXPECT_EQ(Player->FileName(), u"");
}

TEST_F(PlayerStreamTest, AMissingFileFailsWithTheReadersText) {
    const String name = TestDataFile(u"missing.avi");
    EXPECT_FALSE(Player->Open(name, nullptr, false));
    EXPECT_EQ(Player->LastErrMsg(), name + u": No such file or directory");
}

// The file has video (0), audio of 440 Hz (1), audio of 1000 Hz (2) and a
// subtitle stream (3).
TEST_F(PlayerStreamTest, AWantedIndexCountsTheStreamsOfItsType) {
    struct {
        Integer Wanted, Expected;
    } const cases[] = {{1, 2}, {0, 1}, {-1, 1}, {5, -1}};
    for (const auto& c : cases) {
        Player->Setwanted_audio_stream(c.Wanted);
        ASSERT_TRUE(Player->Open(TestDataFile(u"streams.mkv"), nullptr, true)) << c.Wanted;
        EXPECT_EQ(Player->AudioStreamIndex(), c.Expected) << c.Wanted;
        EXPECT_EQ(Player->VideoStreamIndex(), 0);
        EXPECT_EQ(Player->SubtitleStreamIndex(), 3);
        Player->Stop(true);
        EXPECT_EQ(Player->wanted_audio_stream(), -1) << "a per-file option";
    }
}

TEST_F(PlayerStreamTest, StreamsSwitchWhilePlaying) {
    ASSERT_TRUE(Player->Open(TestDataFile(u"streams.mkv"), nullptr, true));
    EXPECT_TRUE(Player->SetAudioStreamIndex(2));
    EXPECT_EQ(Player->AudioStreamIndex(), 2);
    EXPECT_TRUE(Player->SetSubtitleStreamIndex(-1));
    EXPECT_EQ(Player->SubtitleStreamIndex(), -1);
    struct {
        AVMediaType Type;
        Integer Index;
        const char16_t* Error;
    } const refused[] = {
        {AVMEDIA_TYPE_AUDIO, 0, u"the stream type is not matched."},
        {AVMEDIA_TYPE_AUDIO, 4, u"the stream index is not valid."},
        {AVMEDIA_TYPE_VIDEO, -1, u"the stream index is not valid."},
        {AVMEDIA_TYPE_SUBTITLE, 2, u"the stream type is not matched."},
    };
    for (const auto& r : refused) {
        const bool switched = r.Type == AVMEDIA_TYPE_AUDIO   ? Player->SetAudioStreamIndex(r.Index)
                              : r.Type == AVMEDIA_TYPE_VIDEO ? Player->SetVideoStreamIndex(r.Index)
                                                             : Player->SetSubtitleStreamIndex(r.Index);
        EXPECT_FALSE(switched) << r.Index;
        EXPECT_EQ(Player->LastErrMsg(), r.Error) << r.Index;
    }
    EXPECT_EQ(Player->AudioStreamIndex(), 2);
    EXPECT_TRUE(Player->SetSubtitleStreamIndex(3));
    EXPECT_EQ(Player->SubtitleStreamIndex(), 3);
    Player->Stop(true);
}

TEST_F(PlayerStreamTest, ASeekWhilePausedShowsThePictureThere) {
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, true));
    ASSERT_TRUE(Recorder.WaitForState(psPause));
    Player->Seek(Int64{1500000}, TSeekFlags{}, true);
    ASSERT_TRUE(Recorder.WaitForPosition(1000000));
    EXPECT_FALSE(Player->Seeking());
    EXPECT_TRUE(Player->Paused());
    // Past the end: limited to the duration.
    Player->Seek(Int64{60000000}, TSeekFlags{}, true);
    Player->Resume();
    ASSERT_TRUE(Recorder.WaitForState(psEnd));
    Player->Stop(true);
}

}  // namespace
