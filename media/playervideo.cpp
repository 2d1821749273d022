#include "media/playervideo.h"

#include <algorithm>
#include <limits>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/pixdesc.h>
}

#include "media/avcodecstubs.h"
#include "media/avfilterstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/player.h"
#include "media/playerdisplay.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"

namespace {

constexpr int ScaleBits = 10;
constexpr int OneHalf = 1 << (ScaleBits - 1);

constexpr int Fix(double AValue) {
    return int(AValue * (1 << ScaleBits) + 0.5);
}

// Frees a graph and forgets its ends.
void FreeVideoFilters(TVideoState* is) {
    if (is->graph) avfilter::avfilter_graph_free(&is->graph);
    is->in_video_filter = nullptr;
    is->out_video_filter = nullptr;
    is->graph_width = 0;
    is->graph_height = 0;
    is->graph_format = AV_PIX_FMT_NONE;
}

// A frame's planes as a picture, turned upside down when AFlip: each plane
// starts at its last row and walks back.
TAVPicture SourcePicture(const AVFrame* AFrame, bool AFlip) {
    TAVPicture picture{};
    for (int plane = 0; plane < 4; ++plane) {
        picture.data[plane] = AFrame->data[plane];
        picture.linesize[plane] = AFrame->linesize[plane];
    }
    if (AFlip) {
        for (int plane = 0; plane < 3; ++plane) {
            const int rows = plane == 0 ? AFrame->height : AFrame->height / 2;
            picture.data[plane] += static_cast<ptrdiff_t>(picture.linesize[plane]) * (rows - 1);
            picture.linesize[plane] = -picture.linesize[plane];
        }
    }
    return picture;
}

}  // namespace

uint32_t RGBAToYUVA(uint32_t AColor) {
    const int a = int(AColor >> 24), r = int((AColor >> 16) & 0xFF), g = int((AColor >> 8) & 0xFF),
              b = int(AColor & 0xFF);
    const int y = (Fix(0.29900 * 219.0 / 255.0) * r + Fix(0.58700 * 219.0 / 255.0) * g +
                   Fix(0.11400 * 219.0 / 255.0) * b + (OneHalf + (16 << ScaleBits))) >>
                  ScaleBits;
    const int u = ((-Fix(0.16874 * 224.0 / 255.0) * r - Fix(0.33126 * 224.0 / 255.0) * g +
                    Fix(0.50000 * 224.0 / 255.0) * b + OneHalf - 1) >>
                   ScaleBits) +
                  128;
    const int v = ((Fix(0.50000 * 224.0 / 255.0) * r - Fix(0.41869 * 224.0 / 255.0) * g -
                    Fix(0.08131 * 224.0 / 255.0) * b + OneHalf - 1) >>
                   ScaleBits) +
                  128;
    return (uint32_t(a) << 24) | (uint32_t(y) << 16) | (uint32_t(u) << 8) | uint32_t(v);
}

void TCustomPlayer::VideoThread(TVideoState* is) {
    AVFrame* decoded = avutil::av_frame_alloc();
    AVFrame* frame = avutil::av_frame_alloc();
    AVPacket* packet = avcodec::av_packet_alloc();
    while (decoded && frame && packet) {
        // A seek shows its picture also when the pause began after it was asked for.
        const auto idle = [this, is] {
            return is->paused && !is->videoq.abort_request && !is->seek_paused && !is->seek_done &&
                   !is->open_paused && FStepPending == 0;
        };
        while (idle())
            WaitOnStateWhile(*is, idle, IdleWaitMs);
        // A picture started after a step was asked for is that step's.
        const bool stepped = Fstep && FStepPending > 0;
        if (GetFilteredVideoFrame(is, frame, decoded, packet) < 0) break;
        if (is->seek_done && is->seek_flushed) {
            is->seek_done = 0;
            is->seek_paused = 0;
        }
        const AVRational timeBase = avfilter::av_buffersink_get_time_base(is->out_video_filter);
        const double pts = frame->pts == AV_NOPTS_VALUE ? 0 : frame->pts * av_q2d(timeBase);
        const Integer result = OutputPicture(is, frame, pts, frame->pkt_pos);
        avutil::av_frame_unref(frame);
        if (result < 0) break;
        // Before the picture event: a caller waiting for it sees the seek ended.
        if (FSeeking && !is->seek_req) FSeeking = false;
        FPictEvent.SetEvent();
        is->EventEOF = 0;
        if (const Integer opened = is->open_paused) {
            if (opened >= 2) {
                is->open_paused = 0;
                SetPlayState(psPause);
            } else {
                is->open_paused = opened + 1;
            }
        }
        // The last step owed pauses again; a step asked for meanwhile has
        // its picture made even while paused.
        if (stepped && --FStepPending <= 0 && !is->paused && VideoState().get() == is) TogglePauseState();
    }
    FreeVideoFilters(is);
    avcodec::av_packet_free(&packet);
    avutil::av_frame_free(&frame);
    avutil::av_frame_free(&decoded);
}

Integer TCustomPlayer::GetVideoFrame(TVideoState* is, AVFrame* AFrame, AVPacket* APacket) {
    AVCodecContext* codec = is->video_dec;
    Integer got = avcodec::avcodec_receive_frame(codec, AFrame);
    bool endPacket = false;
    if (got < 0) {
        if (PacketQueueGet(is->videoq, APacket, true) < 0) return -1;
        if (IsFlushPacket(APacket)) {
            avcodec::av_packet_unref(APacket);
            avcodec::avcodec_flush_buffers(codec);
            is->video_draining = false;
            // Pictures buffered in the filters belong before the seek.
            FreeVideoFilters(is);
            {
                std::unique_lock<std::mutex> lock(is->pictq_mutex);
                for (TPictureSlot& slot : is->pictq)
                    slot.show_time = 0;
                is->pictq_cond.wait(lock, [is] { return is->pictq_size == 0 || is->videoq.abort_request; });
                is->last_dts_for_fault_detection = std::numeric_limits<Int64>::min();
                is->last_pts_for_fault_detection = std::numeric_limits<Int64>::min();
                is->frame_last_pts = double(AV_NOPTS_VALUE);
                is->frame_last_delay = 0;
                is->frame_timer = PlayerSeconds();
            }
            is->video_current_pos = -1;
            is->skip_frames = 1;
            is->skip_frames_index = 0;
            is->seek_flushed = 1;
            return 0;
        }
        endPacket = !APacket->data && APacket->size == 0;
        if (endPacket) {
            // The end of the file: the decoder gives back what it still holds.
            if (!is->video_draining) {
                is->video_draining = true;
                avcodec::avcodec_send_packet(codec, nullptr);
            }
        } else if (!is->video_draining) {
            // A damaged packet loses only itself.
            avcodec::avcodec_send_packet(codec, APacket);
        }
        avcodec::av_packet_unref(APacket);
        got = avcodec::avcodec_receive_frame(codec, AFrame);
    }
    if (got >= 0) {
        if (AFrame->pkt_dts != AV_NOPTS_VALUE) {
            is->faulty_dts += AFrame->pkt_dts <= is->last_dts_for_fault_detection;
            is->last_dts_for_fault_detection = AFrame->pkt_dts;
        }
        if (AFrame->pts != AV_NOPTS_VALUE) {
            is->faulty_pts += AFrame->pts <= is->last_pts_for_fault_detection;
            is->last_pts_for_fault_detection = AFrame->pts;
        }
        // The frame's pts is the packet pts carried through the decoder.
        Int64 pts = 0;
        const Integer reorder = Fdecoder_reorder_pts;
        if (AFrame->pts != AV_NOPTS_VALUE &&
            (reorder == 1 || (reorder != 0 && is->faulty_pts < is->faulty_dts) ||
             AFrame->pkt_dts == AV_NOPTS_VALUE))
            pts = AFrame->pts;
        else if (AFrame->pkt_dts != AV_NOPTS_VALUE)
            pts = AFrame->pkt_dts;
        AFrame->pts = pts;
        if (FStepPending > 0) {
            // A step owes the very next picture: dropping to catch up on late
            // pictures is for playing, and a step starts the count afresh.
            is->skip_frames = 1;
            is->skip_frames_index = 0;
            return 1;
        }
        is->skip_frames_index += 1;
        const float skip = is->skip_frames;
        if (is->skip_frames_index >= skip) {
            is->skip_frames_index -= std::max(skip, 1.0f);
            return 1;
        }
        avutil::av_frame_unref(AFrame);
    }
    if (endPacket && !is->EventEOF) UpdatePosition(is);
    return 0;
}

Integer TCustomPlayer::ConfigureVideoFilters(TVideoState* is, const AVFrame* AFrame) {
    FreeVideoFilters(is);
    is->graph = avfilter::avfilter_graph_alloc();
    if (!is->graph) return AVERROR(ENOMEM);
    const AnsiString scaler = FormatAnsi("flags=%d", {Fsws_flags});
    is->graph->scale_sws_opts = avutil::av_strdup(scaler.c_str());
    const AVStream* stream = is->video_st;
    const AVRational timeBase = stream->time_base;
    AVRational aspect = AFrame->sample_aspect_ratio;
    if (!aspect.num) aspect = is->video_dec->sample_aspect_ratio;
    if (!aspect.num) aspect = AVRational{0, 1};
    const AnsiString arguments = FormatAnsi("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                                            {AFrame->width, AFrame->height, AFrame->format, timeBase.num,
                                             timeBase.den, aspect.num, aspect.den == 0 ? 1 : aspect.den});
    Integer result =
        avfilter::avfilter_graph_create_filter(&is->in_video_filter, avfilter::avfilter_get_by_name("buffer"),
                                               "src", arguments.c_str(), nullptr, is->graph);
    if (result >= 0)
        result = avfilter::avfilter_graph_create_filter(&is->out_video_filter,
                                                        avfilter::avfilter_get_by_name("buffersink"), "out",
                                                        nullptr, nullptr, is->graph);
    if (result >= 0) {
        const AVPixelFormat formats[] = {AV_PIX_FMT_YUV420P};
        result = avutil::av_opt_set_bin(is->out_video_filter, "pix_fmts",
                                        reinterpret_cast<const uint8_t*>(formats), sizeof formats,
                                        AV_OPT_SEARCH_CHILDREN);
    }
    // Pictures stored on their side stand upright, as the engine turns them.
    AnsiString filters = DisplayTurn(StreamDisplayMatrix(stream)).Filters;
    if (const AnsiString chosen = StringToUTF8(VideoFilters()); !chosen.empty())
        filters = filters.empty() ? chosen : filters + "," + chosen;
    if (result >= 0 && !filters.empty()) {
        AVFilterInOut* outputs = avfilter::avfilter_inout_alloc();
        AVFilterInOut* inputs = avfilter::avfilter_inout_alloc();
        if (outputs && inputs) {
            outputs->name = avutil::av_strdup("in");
            outputs->filter_ctx = is->in_video_filter;
            outputs->pad_idx = 0;
            outputs->next = nullptr;
            inputs->name = avutil::av_strdup("out");
            inputs->filter_ctx = is->out_video_filter;
            inputs->pad_idx = 0;
            inputs->next = nullptr;
            result =
                avfilter::avfilter_graph_parse_ptr(is->graph, filters.c_str(), &inputs, &outputs, nullptr);
        } else {
            result = AVERROR(ENOMEM);
        }
        avfilter::avfilter_inout_free(&outputs);
        avfilter::avfilter_inout_free(&inputs);
    } else if (result >= 0) {
        result = avfilter::avfilter_link(is->in_video_filter, 0, is->out_video_filter, 0);
    }
    if (result >= 0) result = avfilter::avfilter_graph_config(is->graph, nullptr);
    if (result < 0) {
        FreeVideoFilters(is);
        return result;
    }
    is->graph_width = AFrame->width;
    is->graph_height = AFrame->height;
    is->graph_format = static_cast<AVPixelFormat>(AFrame->format);
    return 0;
}

Integer TCustomPlayer::GetFilteredVideoFrame(TVideoState* is, AVFrame* AFrame, AVFrame* ADecoded,
                                             AVPacket* APacket) {
    for (;;) {
        if (is->out_video_filter) {
            const Integer result = avfilter::av_buffersink_get_frame(is->out_video_filter, AFrame);
            if (result >= 0) {
                is->video_width = AFrame->width;
                is->video_height = AFrame->height;
                is->video_format = AFrame->format;
                return 1;
            }
            if (result != AVERROR(EAGAIN)) return -1;
        }
        const Integer got = GetVideoFrame(is, ADecoded, APacket);
        if (got < 0) return -1;
        if (got == 0) continue;
        // The buffer source takes one size and format: a change builds the
        // graph again.
        if (!is->graph || ADecoded->width != is->graph_width || ADecoded->height != is->graph_height ||
            ADecoded->format != is->graph_format) {
            if (ConfigureVideoFilters(is, ADecoded) < 0) {
                avutil::av_frame_unref(ADecoded);
                return -1;
            }
        }
        const Integer added = avfilter::av_buffersrc_add_frame_flags(is->in_video_filter, ADecoded, 0);
        avutil::av_frame_unref(ADecoded);
        if (added < 0) return -1;
    }
}

Integer TCustomPlayer::OutputPicture(TVideoState* is, AVFrame* AFrame, double APTS, Int64 APos) {
    double pts = APTS;
    if (pts != 0)
        is->video_clock = pts;
    else
        pts = is->video_clock;
    const AVRational rate = avformat::av_guess_frame_rate(is->ic, is->video_st, AFrame);
    double delay = rate.num && rate.den ? av_q2d(av_inv_q(rate)) : 0;
    delay += AFrame->repeat_pict * (delay * 0.5);
    is->video_clock = is->video_clock + delay;
    return QueuePicture(is, AFrame, pts, APos);
}

Integer TCustomPlayer::QueuePicture(TVideoState* is, AVFrame* AFrame, double APTS, Int64 APos) {
    std::unique_lock<std::mutex> lock(is->pictq_mutex);
    if (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->refresh)
        is->skip_frames = std::max(0.95f, is->skip_frames * 0.95f);
    is->pictq_cond.wait(
        lock, [is] { return is->pictq_size < VIDEO_PICTURE_QUEUE_SIZE || is->videoq.abort_request; });
    if (is->videoq.abort_request) return -1;
    TPictureSlot& slot = is->pictq[is->pictq_windex];
    const Integer width = AFrame->width & ~1, height = AFrame->height & ~1;
    if (!slot.overlay || slot.width != width || slot.height != height) {
        // Overlays are made where the screen lives: on the play thread.
        slot.ready = 0;
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.data1 = is;
        PostEvent(event);
        is->pictq_cond.wait(lock, [&slot, is] { return slot.ready || is->videoq.abort_request; });
        if (is->videoq.abort_request) return -1;
    }
    if (slot.overlay) {
        // Copied under the lock: a snapshot may read this overlay.
        sdl::SDL_LockYUVOverlay(slot.overlay);
        TAVPicture target = OverlayPicture(slot.overlay);
        const TAVPicture source = SourcePicture(AFrame, FVerticalFlip);
        avutil::av_image_copy(target.data, target.linesize, const_cast<const uint8_t**>(source.data),
                              source.linesize, AV_PIX_FMT_YUV420P, slot.width, slot.height);
        sdl::SDL_UnlockYUVOverlay(slot.overlay);
        lock.unlock();
        RunFrameHook(is, AFrame, target, APTS, slot.width, slot.height);
        lock.lock();
    }
    slot.pts = APTS;
    slot.pos = APos;
    slot.sample_aspect_ratio = AFrame->sample_aspect_ratio;
    is->pictq_windex = (is->pictq_windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    // A picture made while paused (opening, a seek, a step) is shown now.
    if (is->paused) is->frame_timer = std::max(is->frame_timer, PlayerSeconds());
    slot.show_time = ComputeTargetTime(*is, APTS);
    ++is->pictq_size;
    lock.unlock();
    // A refresh asleep over a pause has a picture to show.
    WakeState(*is);
    return 0;
}

void TCustomPlayer::RunFrameHook(TVideoState* is, const AVFrame* AFrame, TAVPicture& APicture, double APTS,
                                 Integer AWidth, Integer AHeight) {
    if (!FHook) return;
    const THookEvent handler = OnHook();
    if (!handler) return;
    const TAVPicture source = SourcePicture(AFrame, FVerticalFlip);
    if (!PictureToBitmap(FHookContext, &source, AV_PIX_FMT_YUV420P, AWidth, AHeight)) {
        GetLogger()->Log(this, llError, u"Cannot initialize the toRGB conversion context");
        return;
    }
    TBitmap* bitmap = FHookContext.Bitmap;
    {
        TCanvas* canvas = bitmap->Canvas();
        canvas->Lock();
        try {
            handler(this, bitmap, Round(APTS * AV_TIME_BASE) - is->StartTime);
        } catch (const std::exception& e) {
            canvas->Unlock();
            GetLogger()->Log(this, llError, u"Error occurs OnHook: " + UTF8ToString(e.what()));
            return;
        }
        canvas->Unlock();
    }
    std::lock_guard<std::mutex> guard(is->pictq_mutex);
    if (!BitmapToPicture(FHookContext, &APicture, AV_PIX_FMT_YUV420P, AWidth, AHeight))
        GetLogger()->Log(this, llError, u"Cannot initialize the fromRGB conversion context");
}

void TCustomPlayer::SubtitleThread(TVideoState* is) {
    AVPacket* packet = avcodec::av_packet_alloc();
    while (packet) {
        while (is->paused && !is->subtitleq.abort_request && !is->seek_paused)
            WaitOnState(*is, 10);
        if (PacketQueueGet(is->subtitleq, packet, true) < 0) break;
        if (IsFlushPacket(packet)) {
            avcodec::av_packet_unref(packet);
            avcodec::avcodec_flush_buffers(is->subtitle_dec);
            continue;
        }
        {
            std::unique_lock<std::mutex> lock(is->subpq_mutex);
            is->subpq_cond.wait(
                lock, [is] { return is->subpq_size < SUBPICTURE_QUEUE_SIZE || is->subtitleq.abort_request; });
        }
        if (is->subtitleq.abort_request) break;
        TSubtitleSlot& slot = is->subpq[is->subpq_windex];
        const AVStream* stream = is->subtitle_st;
        const double pts = packet->pts != AV_NOPTS_VALUE ? packet->pts * av_q2d(stream->time_base) : 0;
        int got = 0;
        avcodec::avcodec_decode_subtitle2(is->subtitle_dec, &slot.subtitle, &got, packet);
        if (got && slot.subtitle.format == 0) {
            slot.pts = pts;
            for (unsigned i = 0; i < slot.subtitle.num_rects; ++i) {
                AVSubtitleRect* rect = slot.subtitle.rects[i];
                auto* palette = reinterpret_cast<uint32_t*>(rect->data[1]);
                for (int j = 0; palette && j < rect->nb_colors; ++j)
                    palette[j] = RGBAToYUVA(palette[j]);
            }
            is->subpq_windex = (is->subpq_windex + 1) % SUBPICTURE_QUEUE_SIZE;
            std::lock_guard<std::mutex> guard(is->subpq_mutex);
            ++is->subpq_size;
        } else if (got) {
            // Text subtitles are not shown.
            avcodec::avsubtitle_free(&slot.subtitle);
        }
        avcodec::av_packet_unref(packet);
    }
    avcodec::av_packet_free(&packet);
}
