#include "media/playerstate.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <system_error>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/player.h"
#include "platform/base/mainthread.h"

namespace {

const uint8_t FlushText[] = "FLUSH";

std::atomic<Int64> PlayerTimeAdvance{0};

void FreeNode(TPacketList* ANode) {
    avcodec::av_packet_free(&ANode->pkt);
    avutil::av_free(ANode);
}

}  // namespace

AVPacket* MakeFlushPacket() {
    AVPacket* packet = avcodec::av_packet_alloc();
    if (packet) packet->data = const_cast<uint8_t*>(FlushText);
    return packet;
}

void FreeFlushPacket(AVPacket*& APacket) {
    if (!APacket) return;
    // The data is ours and unowned by any buffer: freeing leaves it alone.
    avcodec::av_packet_free(&APacket);
}

bool IsFlushPacket(const AVPacket* APacket) {
    return APacket && APacket->data == FlushText;
}

void PacketQueueInit(TPacketQueue& q) {
    q.first_pkt = nullptr;
    q.last_pkt = nullptr;
    q.nb_packets = 0;
    q.size = 0;
    q.abort_request = 0;
}

Integer PacketQueuePut(TPacketQueue& q, AVPacket* APacket) {
    AVPacket* packet = avcodec::av_packet_alloc();
    auto* node = static_cast<TPacketList*>(avutil::av_malloc(sizeof(TPacketList)));
    if (!packet || !node) {
        avcodec::av_packet_free(&packet);
        avutil::av_free(node);
        if (!IsFlushPacket(APacket)) avcodec::av_packet_unref(APacket);
        return -1;
    }
    if (IsFlushPacket(APacket)) {
        packet->data = APacket->data;
    } else {
        if (avcodec::av_packet_make_refcounted(APacket) < 0) {
            avcodec::av_packet_free(&packet);
            avutil::av_free(node);
            avcodec::av_packet_unref(APacket);
            return -1;
        }
        avcodec::av_packet_move_ref(packet, APacket);
    }
    node->pkt = packet;
    node->next = nullptr;
    {
        std::lock_guard<std::mutex> guard(q.mutex);
        if (q.last_pkt)
            q.last_pkt->next = node;
        else
            q.first_pkt = node;
        q.last_pkt = node;
        ++q.nb_packets;
        q.size += packet->size + PACKET_NODE_SIZE;
    }
    q.cond.notify_all();
    return 0;
}

Integer PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool ABlock) {
    std::unique_lock<std::mutex> lock(q.mutex);
    for (;;) {
        if (q.abort_request) return -1;
        if (TPacketList* node = q.first_pkt) {
            q.first_pkt = node->next;
            if (!q.first_pkt) q.last_pkt = nullptr;
            --q.nb_packets;
            q.size -= node->pkt->size + PACKET_NODE_SIZE;
            avcodec::av_packet_move_ref(APacket, node->pkt);
            FreeNode(node);
            return 1;
        }
        if (!ABlock) return 0;
        q.cond.wait(lock);
    }
}

void PacketQueueAbort(TPacketQueue& q) {
    {
        std::lock_guard<std::mutex> guard(q.mutex);
        q.abort_request = 1;
    }
    q.cond.notify_all();
}

void PacketQueueFlush(TPacketQueue& q) {
    std::lock_guard<std::mutex> guard(q.mutex);
    for (TPacketList* node = q.first_pkt; node;) {
        TPacketList* next = node->next;
        FreeNode(node);
        node = next;
    }
    q.first_pkt = nullptr;
    q.last_pkt = nullptr;
    q.nb_packets = 0;
    q.size = 0;
}

void PacketQueueEnd(TPacketQueue& q) {
    PacketQueueFlush(q);
}

Int64 PlayerTime() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
               .count() +
           PlayerTimeAdvance;
}

void AdvancePlayerTime(Int64 AMicroseconds) {
    PlayerTimeAdvance += AMicroseconds;
}

double PlayerSeconds() {
    return PlayerTime() / 1000000.0;
}

void WaitOnState(TVideoState& AState, Integer AMilliseconds) {
    std::unique_lock<std::mutex> lock(AState.wait_lock);
    AState.wait_cond.wait_for(lock, std::chrono::milliseconds(AMilliseconds),
                              [&AState] { return AState.abort_request != 0; });
}

void WaitOnStateWhile(TVideoState& AState, const std::function<bool()>& AIdle, Integer AMilliseconds) {
    std::unique_lock<std::mutex> lock(AState.wait_lock);
    AState.wait_cond.wait_for(lock, std::chrono::milliseconds(AMilliseconds),
                              [&] { return AState.abort_request != 0 || !AIdle(); });
}

void WakeState(TVideoState& AState) {
    std::lock_guard<std::mutex> guard(AState.wait_lock);
    AState.wait_cond.notify_all();
}

bool StartStateThread(TVideoState& AState, std::thread& AThread, bool& ADone, std::function<void()> ABody) {
    {
        std::lock_guard<std::mutex> guard(AState.wait_lock);
        ADone = false;
    }
    try {
        AThread = std::thread([&AState, &ADone, body = std::move(ABody)] {
            body();
            std::lock_guard<std::mutex> guard(AState.wait_lock);
            ADone = true;
            AState.wait_cond.notify_all();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void JoinStateThread(TVideoState& AState, std::thread& AThread, bool& ADone) {
    if (!AThread.joinable()) return;
    {
        // The thread may be waiting for the GUI thread (a hook handler).
        std::unique_lock<std::mutex> lock(AState.wait_lock);
        WaitForCondition(
            lock, AState.wait_cond, [&ADone] { return ADone; }, INFINITE);
    }
    AThread.join();
}

double GetAudioClock(TVideoState& AState) {
    const double clock = AState.audio_clock;
    const Integer bytesPerSecond = AState.audio_tgt_freq * 2 * AState.audio_tgt_channels;
    if (AState.audio_stream < 0 || bytesPerSecond == 0) return clock;
    const Integer unplayed = Integer(AState.audio_buf_size) - AState.audio_buf_index;
    return clock - double(unplayed) / bytesPerSecond;
}

double GetVideoClock(TVideoState& AState) {
    if (AState.paused) return AState.video_current_pts;
    const double drift = AState.video_current_pts_drift;
    if (drift != 0) return drift + PlayerSeconds();
    return AState.StartTime / 1000000.0;
}

double GetMasterClock(TVideoState& AState) {
    // The external clock is refused by the player, so it never reaches here.
    if (AState.av_sync_type == AV_SYNC_VIDEO_MASTER)
        return AState.video_stream >= 0 ? GetVideoClock(AState) : GetAudioClock(AState);
    return AState.audio_stream >= 0 ? GetAudioClock(AState) : GetVideoClock(AState);
}

double ComputeTargetTime(TVideoState& AState, double APTS) {
    double delay = APTS - AState.frame_last_pts;
    if (delay <= 0 || delay >= AV_NOSYNC_THRESHOLD)
        delay = AState.frame_last_delay;
    else
        AState.frame_last_delay = delay;
    AState.frame_last_pts = APTS;
    const bool videoIsSlave = (AState.av_sync_type == AV_SYNC_AUDIO_MASTER && AState.audio_stream >= 0) ||
                              AState.av_sync_type == AV_SYNC_EXTERNAL_CLOCK;
    if (videoIsSlave) {
        const double diff = GetVideoClock(AState) - GetMasterClock(AState);
        const double threshold = std::max(delay, AV_SYNC_THRESHOLD);
        if (std::fabs(diff) < AV_NOSYNC_THRESHOLD) {
            if (diff <= -threshold)
                delay = 0;
            else if (diff >= threshold)
                delay = 2 * delay;
        }
    }
    AState.frame_timer += delay;
    return AState.frame_timer;
}

void TCustomPlayer::TogglePauseState() {
    if (FSeekEvent.WaitFor(250) != wrSignaled) FSeekEvent.SetEvent();
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    if (is->paused) {
        const double now = PlayerSeconds();
        {
            // Pictures go on from now: a timer left in the past would make the
            // next ones late and dropped, and shifting it by the time since
            // the last picture shown runs away when nothing is shown between
            // two resumptions.
            std::lock_guard<std::mutex> guard(is->pictq_mutex);
            is->frame_timer = std::max(is->frame_timer, now);
        }
        if (is->read_pause_return != AVERROR(ENOSYS))
            is->video_current_pts = now + is->video_current_pts_drift;
        is->video_current_pts_drift = is->video_current_pts - now;
        is->paused = 0;
    } else {
        if (is->video_stream >= 0) {
            if (FPictEvent.WaitFor(250) != wrSignaled) FPictEvent.SetEvent();
            if (VideoState() != is) return;
        }
        is->paused = 1;
    }
    WakeState(*is);
}

void TCustomPlayer::RequestSeek(Int64 APos, Int64 ARel, TSeekFlags AFlags, bool AWait) {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is || is->seek_req) return;
    FSeeking = true;
    is->seek_paused = is->paused.load();
    is->seek_pos = APos;
    is->seek_rel = ARel;
    is->seek_flags = AVSeekFlags(AFlags);
    FSeekEvent.ResetEvent();
    is->seek_req = 1;
    WakeState(*is);
    if (!AWait) return;
    // A playback that ends meanwhile ends the wait too.
    auto waitFor = [&](TEvent& AEvent) {
        while (AEvent.WaitFor(100) != wrSignaled) {
            if (OnGuiThread()) ProcessPendingMessages();
            if (VideoState() != is || is->abort_request) return false;
        }
        return true;
    };
    if (waitFor(FSeekEvent) && is->video_stream >= 0) waitFor(FPictEvent);
}
