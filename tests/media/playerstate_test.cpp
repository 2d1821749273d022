#include "media/playerstate.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "media/avcodecstubs.h"
#include "mediatest.h"

namespace {

class PacketQueueTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        PacketQueueInit(Queue);
        Packet = avcodec::av_packet_alloc();
    }
    void TearDown() override {
        avcodec::av_packet_free(&Packet);
        PacketQueueEnd(Queue);
        MediaTest::TearDown();
    }

    TPacketQueue Queue;
    AVPacket* Packet = nullptr;
};

TEST_F(PacketQueueTest, AbortWakesABlockedConsumerWithMinusOne) {
    Integer result = 0;
    std::thread consumer([&] {
        AVPacket* packet = avcodec::av_packet_alloc();
        result = PacketQueueGet(Queue, packet, true);
        avcodec::av_packet_free(&packet);
    });
    PacketQueueAbort(Queue);
    consumer.join();
    EXPECT_EQ(result, -1);
}

TEST_F(PacketQueueTest, PacketsComeOutInOrderAndTheFlushMarkerUnchanged) {
    AVPacket* flush = MakeFlushPacket();
    // Data of the reader's own: the queue keeps a copy.
    uint8_t data[100] = {42};
    Packet->data = data;
    Packet->size = 100;
    Packet->pts = 7;
    ASSERT_EQ(PacketQueuePut(Queue, Packet), 0);
    EXPECT_EQ(Packet->data, nullptr) << "the queue took the data";
    ASSERT_EQ(PacketQueuePut(Queue, flush), 0);
    EXPECT_EQ(Queue.nb_packets, 2);
    EXPECT_EQ(Queue.size, 100 + 2 * PACKET_NODE_SIZE);

    ASSERT_EQ(PacketQueueGet(Queue, Packet, false), 1);
    EXPECT_EQ(Packet->pts, 7);
    EXPECT_EQ(Packet->size, 100);
    EXPECT_NE(Packet->data, data);
    EXPECT_EQ(Packet->data[0], 42);
    avcodec::av_packet_unref(Packet);
    ASSERT_EQ(PacketQueueGet(Queue, Packet, false), 1);
    EXPECT_TRUE(IsFlushPacket(Packet));
    EXPECT_EQ(Packet->data, flush->data);
    avcodec::av_packet_unref(Packet);
    EXPECT_EQ(PacketQueueGet(Queue, Packet, false), 0);
    EXPECT_EQ(Queue.size, 0);
    EXPECT_TRUE(IsFlushPacket(flush)) << "never freed by the queue";
    FreeFlushPacket(flush);
}

// The display time of a picture: ComputeTargetTime with the video clock held
// still by the pause.
struct TTargetCase {
    const char* Name;
    Tav_sync_type Sync;
    bool Audio;
    double LastPTS, LastDelay, PTS, AudioClock;
    double Delay;  // the frame timer moves by this
    double LastDelayAfter;
};

void PrintTo(const TTargetCase& ACase, std::ostream* AStream) {
    *AStream << ACase.Name;
}

class TargetTimeTest : public ::testing::TestWithParam<TTargetCase> {};

TEST_P(TargetTimeTest, MovesTheFrameTimer) {
    const TTargetCase& c = GetParam();
    auto state = std::make_unique<TVideoState>();
    state->av_sync_type = c.Sync;
    state->audio_stream = c.Audio ? 0 : -1;
    state->paused = 1;
    state->video_current_pts = 10.0;
    state->audio_clock = c.AudioClock;
    state->frame_timer = 100.0;
    state->frame_last_pts = c.LastPTS;
    state->frame_last_delay = c.LastDelay;
    EXPECT_NEAR(ComputeTargetTime(*state, c.PTS), 100.0 + c.Delay, 1e-9);
    EXPECT_NEAR(state->frame_last_delay, c.LastDelayAfter, 1e-9);
    EXPECT_DOUBLE_EQ(state->frame_last_pts, c.PTS);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetTimeTest,
    ::testing::Values(TTargetCase{"GapOfThePictures", AV_SYNC_VIDEO_MASTER, false, 1.0, 0.04, 1.05, 0, 0.05,
                                  0.05},
                      TTargetCase{"GapOf12SecondsKeepsThePreviousDelay", AV_SYNC_VIDEO_MASTER, false, 1.0,
                                  0.04, 13.0, 0, 0.04, 0.04},
                      TTargetCase{"BackwardsKeepsThePreviousDelay", AV_SYNC_VIDEO_MASTER, false, 5.0, 0.04,
                                  4.0, 0, 0.04, 0.04},
                      TTargetCase{"VideoHalfASecondBehindIsDueNow", AV_SYNC_AUDIO_MASTER, true, 9.96, 0.04,
                                  10.0, 10.5, 0, 0.04},
                      TTargetCase{"VideoHalfASecondAheadWaitsTwoDelays", AV_SYNC_AUDIO_MASTER, true, 9.96,
                                  0.04, 10.0, 9.5, 0.08, 0.04},
                      TTargetCase{"WithinTheThresholdNoCorrection", AV_SYNC_AUDIO_MASTER, true, 9.96, 0.04,
                                  10.0, 10.03, 0.04, 0.04},
                      TTargetCase{"TwelveSecondsApartIsAJumpNotADrift", AV_SYNC_AUDIO_MASTER, true, 9.96,
                                  0.04, 10.0, 22.0, 0.04, 0.04},
                      TTargetCase{"AudioMasterWithoutAudioFollowsTheVideo", AV_SYNC_AUDIO_MASTER, false, 9.96,
                                  0.04, 10.0, 10.5, 0.04, 0.04}),
    [](const ::testing::TestParamInfo<TTargetCase>& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
