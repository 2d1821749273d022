// What belongs to the file being played: the video state, the packet queues
// between the read thread and the decoders with their flush marker, the
// clocks used for audio/video synchronisation and the display time of each
// picture. Every routine here may run on any of the player's threads.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <SDL/SDL.h>

#include "platform/base/types.h"

class TCustomPlayer;

// The external clock had nothing to drive it: the player refuses it.
enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };

inline constexpr Integer VIDEO_PICTURE_QUEUE_SIZE = 2;
inline constexpr Integer SUBPICTURE_QUEUE_SIZE = 4;
inline constexpr Integer SAMPLE_ARRAY_SIZE = 131072;
inline constexpr Integer AUDIO_BUFFER_SIZE = 288000;
// Clock differences at or above this are not corrected: they come from
// discontinuities, not drift.
inline constexpr double AV_NOSYNC_THRESHOLD = 10.0;
inline constexpr double AV_SYNC_THRESHOLD = 0.01;
// The longest file name the state holds, in UTF-16 units.
inline constexpr Integer MAX_FILENAME_LENGTH = 1023;

// One queued packet.
struct TPacketList {
    AVPacket* pkt;
    TPacketList* next;
};

// What a queued packet costs besides its data, counted in the queue's size.
inline constexpr Integer PACKET_NODE_SIZE = Integer(sizeof(TPacketList) + sizeof(AVPacket));

// Packets from the read thread to one decoder. The counters are read without
// the lock by the read thread, which only needs an estimate.
struct TPacketQueue {
    TPacketList* first_pkt = nullptr;
    TPacketList* last_pkt = nullptr;
    std::atomic<Integer> nb_packets{0};
    std::atomic<Integer> size{0};
    std::atomic<Integer> abort_request{0};
    std::mutex mutex;
    std::condition_variable cond;
};

// The flush marker: a packet whose data is the constant text "FLUSH". It
// goes into a queue as it is, never duplicated or freed, and is known by its
// data pointer.
AVPacket* MakeFlushPacket();
void FreeFlushPacket(AVPacket*& APacket);
bool IsFlushPacket(const AVPacket* APacket);

void PacketQueueInit(TPacketQueue& q);
// Takes over APacket's data (APacket is left blank). -1 when it cannot be
// made reference counted or no node can be allocated; 0 otherwise.
Integer PacketQueuePut(TPacketQueue& q, AVPacket* APacket);
// 1 with the first packet moved into APacket, 0 when empty and not
// blocking, -1 once the queue is aborted.
Integer PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool ABlock);
void PacketQueueAbort(TPacketQueue& q);
void PacketQueueFlush(TPacketQueue& q);
void PacketQueueEnd(TPacketQueue& q);

struct TPictureSlot {
    double pts = 0;
    // The wall-clock second it is due; read by the display without the lock.
    std::atomic<double> show_time{0};
    Int64 pos = 0;
    SDL_Overlay* overlay = nullptr;
    Integer width = 0, height = 0;
    Integer ready = 0;
    AVPixelFormat pix_fmt = AV_PIX_FMT_NONE;
    // The pixel aspect of the filtered picture; 0/1 when unknown.
    AVRational sample_aspect_ratio{0, 1};
};

struct TSubtitleSlot {
    double pts = 0;
    AVSubtitle subtitle{};
};

struct TVideoState {
    alignas(16) std::array<uint8_t, AUDIO_BUFFER_SIZE> audio_buf1{};
    alignas(16) std::array<uint8_t, AUDIO_BUFFER_SIZE> audio_buf2{};
    std::thread parse_tid, video_tid, refresh_tid;
    const AVInputFormat* iformat = nullptr;
    std::atomic<Integer> no_background{0};
    std::atomic<Integer> abort_request{0};
    std::atomic<Integer> paused{0};
    Integer last_paused = 0;
    // The request's fields are written before seek_req is set and read after.
    std::atomic<Integer> seek_req{0};
    Integer seek_flags = 0;
    Int64 seek_pos = 0;
    Int64 seek_rel = 0;
    std::atomic<Integer> read_pause_return{0};
    std::atomic<AVFormatContext*> ic{nullptr};
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;

    std::atomic<Integer> audio_stream{-1};
    std::atomic<double> audio_clock{0};
    double audio_diff_cum = 0;
    double audio_diff_avg_coef = 0;
    double audio_diff_threshold = 0;
    Integer audio_diff_avg_count = 0;
    std::atomic<AVStream*> audio_st{nullptr};
    AVCodecContext* audio_dec = nullptr;
    TPacketQueue audioq;
    Integer audio_hw_buf_size = 0;
    // The device's format: signed 16-bit samples, interleaved.
    std::atomic<Integer> audio_tgt_freq{0};
    std::atomic<Integer> audio_tgt_channels{0};
    uint8_t* audio_buf = nullptr;
    std::atomic<Cardinal> audio_buf_size{0};
    std::atomic<Integer> audio_buf_index{0};
    AVPacket* audio_pkt = nullptr;
    // A packet handed to the decoder whose frames are not all taken yet.
    bool audio_pkt_sent = false;
    AVFrame* audio_frame = nullptr;
    // What the sample converter was made for.
    AVSampleFormat audio_src_fmt = AV_SAMPLE_FMT_S16;
    AVChannelLayout audio_src_ch_layout{};
    Integer audio_src_freq = 0;
    SwrContext* reformat_ctx = nullptr;

    std::atomic<Integer> show_audio{0};
    // The last played samples for the visualisation, under sample_lock.
    std::array<int16_t, SAMPLE_ARRAY_SIZE> sample_array{};
    Integer sample_array_index = 0;
    std::mutex sample_lock;
    Integer last_i_start = 0;
    RDFTContext* rdft = nullptr;
    Integer rdft_bits = 0;
    FFTSample* rdft_data = nullptr;
    Integer xpos = 0;

    std::thread subtitle_tid;
    std::atomic<Integer> subtitle_stream{-1};
    std::atomic<Integer> subtitle_stream_changed{0};
    std::atomic<AVStream*> subtitle_st{nullptr};
    AVCodecContext* subtitle_dec = nullptr;
    TPacketQueue subtitleq;
    std::array<TSubtitleSlot, SUBPICTURE_QUEUE_SIZE> subpq{};
    std::atomic<Integer> subpq_size{0};
    Integer subpq_rindex = 0, subpq_windex = 0;
    std::mutex subpq_mutex;
    std::condition_variable subpq_cond;

    // Under pictq_mutex.
    double frame_timer = 0;
    double frame_last_pts = 0;
    double frame_last_delay = 0;
    std::atomic<double> video_clock{0};
    std::atomic<Integer> video_stream{-1};
    std::atomic<AVStream*> video_st{nullptr};
    AVCodecContext* video_dec = nullptr;
    TPacketQueue videoq;
    std::atomic<double> video_current_pts{0};
    std::atomic<double> video_current_pts_drift{0};
    std::atomic<Int64> video_current_pos{-1};
    std::array<TPictureSlot, VIDEO_PICTURE_QUEUE_SIZE> pictq{};
    std::atomic<Integer> pictq_size{0};
    // Changed under pictq_mutex.
    Integer pictq_rindex = 0, pictq_windex = 0;
    // The slot whose picture is on screen, -1 before the first; under pictq_mutex.
    Integer pictq_shown = -1;
    std::mutex pictq_mutex;
    std::condition_variable pictq_cond;

    String filename;
    std::atomic<Integer> width{0}, height{0};
    Integer xleft = 0, ytop = 0;
    // The picture rectangle whose surroundings are painted; empty while they
    // need painting (a new screen, an expose).
    SDL_Rect background_rect{0, 0, 0, 0};
    Int64 faulty_pts = 0, faulty_dts = 0;
    Int64 last_dts_for_fault_detection = 0, last_pts_for_fault_detection = 0;

    // The video filter graph of the video thread and the frame size it was
    // built for.
    AVFilterGraph* graph = nullptr;
    AVFilterContext* in_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    Integer graph_width = 0, graph_height = 0;
    AVPixelFormat graph_format = AV_PIX_FMT_NONE;
    // The size and format of the filtered pictures (the sink's input).
    std::atomic<Integer> video_width{0}, video_height{0};
    std::atomic<Integer> video_format{AV_PIX_FMT_NONE};
    // A picture the decoder gave that the graph has not taken yet.
    bool video_draining = false;
    std::atomic<float> skip_frames{1};
    float skip_frames_index = 0;
    std::atomic<Integer> refresh{0};

    TCustomPlayer* Owner = nullptr;
    std::atomic<Integer> Opened{0};
    Int64 StartTime = 0;
    Int64 Duration = -1;
    std::atomic<Int64> AudioDuration{-1};
    Integer IsImage2 = 0;
    Integer IsDevice = 0;
    std::atomic<Integer> ErrorEOF{0};
    std::atomic<Integer> EventEOF{0};
    std::atomic<Integer> ReachEOF{0};
    std::atomic<Integer> Reading{0};
    std::atomic<Integer> open_paused{0};
    std::atomic<Integer> seek_paused{0};
    std::atomic<Integer> seek_done{0};
    std::atomic<Integer> seek_flushed{0};

    // Wakes the short waits of the state's threads early on abort, seek or
    // pause, and tells who joins a thread that it has finished.
    std::mutex wait_lock;
    std::condition_variable_any wait_cond;
    bool read_done = false, video_done = false, subtitle_done = false, refresh_done = false;
};

// Seconds on the player's clock: a monotonic count of microseconds divided
// by 1000000 (only differences matter).
Int64 PlayerTime();
double PlayerSeconds();
// Moves the player's clock forward: tests make pictures late without waiting.
void AdvancePlayerTime(Int64 AMicroseconds);

// Sleeps up to AMilliseconds, less when the state is aborted or woken.
void WaitOnState(TVideoState& AState, Integer AMilliseconds);
// How long a thread idle over a pause sleeps at most: a change that wakes
// nobody is still seen within it.
inline constexpr Integer IdleWaitMs = 250;
// Sleeps while AIdle holds, looked at each time the state is woken, up to
// AMilliseconds; the state's abort ends it too.
void WaitOnStateWhile(TVideoState& AState, const std::function<bool()>& AIdle, Integer AMilliseconds);
void WakeState(TVideoState& AState);
// Runs ABody on a thread of the state's that sets ADone when it ends; false
// when no thread can be made.
bool StartStateThread(TVideoState& AState, std::thread& AThread, bool& ADone, std::function<void()> ABody);
// Waits for such a thread, running the GUI thread's pending calls meanwhile.
void JoinStateThread(TVideoState& AState, std::thread& AThread, bool& ADone);

double GetAudioClock(TVideoState& AState);
double GetVideoClock(TVideoState& AState);
double GetMasterClock(TVideoState& AState);

// The wall-clock second at which a picture with this pts is to be shown; run
// under pictq_mutex.
double ComputeTargetTime(TVideoState& AState, double APTS);
