// The records one conversion builds: which input stream feeds which output
// stream, and what each stream needs while it is decoded, copied or encoded.
// Internal to the engine's units.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "platform/base/types.h"

struct TOutputStreamSetup;

// Owners of the libraries' objects, freed through the entry points.
struct TFrameFree {
    void operator()(AVFrame* AFrame) const;
};
struct TSwrFree {
    void operator()(SwrContext* AContext) const;
};
struct TSwsFree {
    void operator()(SwsContext* AContext) const;
};
struct TFifoFree {
    void operator()(AVAudioFifo* AFifo) const;
};
struct TBsfFree {
    void operator()(AVBSFContext* AContext) const;
};
struct TGraphFree {
    void operator()(AVFilterGraph* AGraph) const;
};
struct TFileClose {
    void operator()(FILE* AFile) const;
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;
using TSwrPtr = std::unique_ptr<SwrContext, TSwrFree>;
using TSwsPtr = std::unique_ptr<SwsContext, TSwsFree>;
using TFifoPtr = std::unique_ptr<AVAudioFifo, TFifoFree>;
using TBsfPtr = std::unique_ptr<AVBSFContext, TBsfFree>;
using TGraphPtr = std::unique_ptr<AVFilterGraph, TGraphFree>;
using TFilePtr = std::unique_ptr<FILE, TFileClose>;

// A frame of its own; raises "av_frame_alloc fail" when there is no memory.
TFramePtr NewFrame();

// Whether subtitles decoded by ASource's decoder can be encoded by AEncoder's
// encoder: text to text, pictures to pictures. True when either kind is unknown.
bool SubtitleKindsMatch(AVCodecID AEncoder, AVCodecID ASource);

// The layout itself, or the default layout of its channel count when it
// names no channels. The caller uninitialises it.
AVChannelLayout KnownLayout(const AVChannelLayout& ALayout);

// A scaler over the machine's threads; nil when either format cannot be
// taken (the scaler would abort the process on an input it cannot read).
SwsContext* MakeScaler(Integer ASrcWidth, Integer ASrcHeight, AVPixelFormat ASrcFormat, Integer ADstWidth,
                       Integer ADstHeight, AVPixelFormat ADstFormat, Cardinal AFlags);

struct TAVInputFile {
    Integer eof_reached = 0;
    Integer ist_index = 0;  // its first stream in the input stream table
    Integer nb_streams = 0;
};

struct TAVInputStream {
    Integer file_index = 0;
    Integer index = 0;  // within its file
    AVStream* st = nullptr;
    AVCodecContext* dec = nullptr;  // the input's decoder context, not owned
    // 1 until an output takes the stream; its packets are dropped while 1.
    Integer discard = 1;
    Integer decoding_needed = 0;
    Int64 start = 0;  // wall clock at the start, microseconds (rate emulation)
    // Microseconds: the data being handed on, and what is expected next.
    Int64 next_pts = AV_NOPTS_VALUE;
    Int64 pts = 0;
    Integer is_start = 1;
    Integer is_past_recording_time = 0;
    Integer decoder_flushed = 0;
    float quality = 0;  // of the last decoded picture

    TFramePtr frame;  // the last decoded frame
    // Decoded audio as packed signed 16-bit samples at the decoder's rate and
    // layout, when the decoder gives something else.
    TSwrPtr to_s16;
    AVSampleFormat to_s16_format = AV_SAMPLE_FMT_NONE;
    Integer to_s16_rate = 0;
    Integer to_s16_channels = 0;

    // Turning decoded pictures upright by the stream's display matrix, before
    // anything else sees them: the filters (empty: none), whether they swap
    // width and height, and a graph of them for the pictures' size and format.
    const char* upright_filters = "";
    bool upright_swaps = false;
    TGraphPtr upright_graph;
    AVFilterContext* upright_in = nullptr;
    AVFilterContext* upright_out = nullptr;
    Integer upright_width = 0, upright_height = 0;
    Integer upright_format = AV_PIX_FMT_NONE;
    TFramePtr upright_frame;
    // The size and pixel aspect of the pictures as the outputs see them.
    Integer Width() const { return upright_swaps ? dec->height : dec->width; }
    Integer Height() const { return upright_swaps ? dec->width : dec->height; }
    AVRational SampleAspect() const {
        const AVRational sar = dec->sample_aspect_ratio;
        return upright_swaps && sar.num != 0 ? AVRational{sar.den, sar.num} : sar;
    }

    // The filter path: the graph, its ends and the last picture taken out.
    TGraphPtr graph;
    AVFilterContext* input_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    TFramePtr picref;
};

// What encoding or copying an output stream carries from packet to packet.
// In join mode the streams of one position in every segment feed the same
// AVStream and encoder: this state passes from one segment to the next.
struct TOutputCoding {
    Integer frame_number = 0;  // frames (video) or packets written
    Int64 sync_opts = 0;       // frames (video) or samples (audio) handed to the encoder
    // Seconds the stream has reached, for choosing the next input.
    double cur_time = 0;

    // Video.
    Integer video_resample = 0;
    TFramePtr pict_tmp;
    TSwsPtr img_resample_ctx;
    Integer resample_height = 0;
    Integer resample_width = 0;
    AVPixelFormat resample_pix_fmt = AV_PIX_FMT_NONE;
    Integer original_height = 0;
    Integer original_width = 0;
    Integer video_crop = 0;
    Integer topBand = 0, bottomBand = 0, leftBand = 0, rightBand = 0;
    Integer original_topBand = 0, original_bottomBand = 0, original_leftBand = 0, original_rightBand = 0;
    TFramePtr enc_frame;     // what is handed to the encoder
    TFramePtr last_picture;  // the last picture handed to it, cropped and scaled

    // Audio: packed s16 at the decoder's rate and layout into the encoder's
    // format, rate and layout, then whole encoder frames out of the FIFO.
    Integer audio_resample = 0;
    TSwrPtr resample;
    Integer resample_in_rate = 0;
    Integer resample_in_channels = 0;
    TFifoPtr fifo;
    TFramePtr audio_frame;
    Int64 next_audio_pts = AV_NOPTS_VALUE;

    TFilePtr logfile;  // two-pass statistics being written
    std::vector<TBsfPtr> bsfs;

    // What the encoder said of the last packet it gave.
    Integer coded_quality = 0;
    char coded_pict_type = '?';
    std::array<Int64, 4> coded_error{};
    std::array<Int64, 4> error_sum{};
    Int64 last_dts = AV_NOPTS_VALUE;  // in the stream's time base
};

struct TAVOutputStream {
    Integer file_index = 0;
    Integer index = 0;  // within its file
    Integer source_index = 0;
    AVFormatContext* oc = nullptr;
    AVStream* st = nullptr;
    TOutputStreamSetup* setup = nullptr;
    AVCodecContext* enc = nullptr;  // the setup's codec context
    Integer encoding_needed = 0;
    TAVInputStream* sync_ist = nullptr;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    Integer show_fps = 1;
    // A subtitle stream whose encoder cannot take what its source gives.
    bool skipped = false;
    // The time base of the packets handed to MuxPacket: the encoder's, or
    // the source stream's when copied.
    AVRational packet_time_base{0, 1};
    TOutputCoding coding;
};

// The tables of one running conversion.
struct TConversion {
    std::vector<TAVInputFile> files;
    std::vector<std::unique_ptr<TAVInputStream>> ist_table;
    std::vector<std::unique_ptr<TAVOutputStream>> ost_table;
    std::vector<bool> no_packet;
    Integer no_packet_count = 0;
    Integer per = 0;         // streams of output 0: the streams of one join segment
    Integer file_index = 0;  // the input being read
    bool headers_written = false;
    AVPacket* packet = nullptr;      // the packet read
    AVPacket* out_packet = nullptr;  // what an encoder or filter gives
    ~TConversion();
};
