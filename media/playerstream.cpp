// Stream opening, the read thread, stream switching, the SDL event loop and
// the teardown of a playback.
#include <climits>
#include <cmath>
#include <system_error>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/player.h"
#include "media/swresamplestubs.h"
#include "media/unicodeprotocol.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"

namespace {

enum : Uint8 {
    AllocEvent = SDL_USEREVENT,
    RefreshEvent = SDL_USEREVENT + 1,
    QuitEvent = SDL_USEREVENT + 2,
    RelayoutEvent = SDL_USEREVENT + 3,
};

// The read loop's limits.
constexpr Integer MaxQueueSize = 15 * 1024 * 1024;
constexpr Integer MinAudioQueueSize = 20 * 16 * 1024;
constexpr Integer MinFrames = 5;

// Stops FFmpeg's blocking I/O of a playback that is asked to end. Each
// format context has its own callback, so players do not share it.
int DecodeInterrupt(void* AState) {
    return static_cast<TVideoState*>(AState)->abort_request != 0;
}

// Readers of single pictures, as the prober counts them.
bool IsStillPictureFormat(const char* AName) {
    const AnsiString name = AName ? AName : "";
    return name == "image2" || name == "image2pipe" ||
           (name.size() > 5 && name.compare(name.size() - 5, 5, "_pipe") == 0);
}

// Capture devices: their pictures are never late.
bool IsDeviceFormat(const char* AName) {
    const AnsiString name = AName ? AName : "";
    return name.rfind("video4linux2", 0) == 0 || name == "v4l2" || name == "x11grab";
}

// The decoder's error levels of the classic option: careful, compliant, aggressive.
int ErrorRecognitionFlags(Integer ALevel) {
    int flags = 0;
    if (ALevel >= 1) flags |= AV_EF_CAREFUL;
    if (ALevel >= 2) flags |= AV_EF_COMPLIANT;
    if (ALevel >= 3) flags |= AV_EF_AGGRESSIVE;
    return flags;
}

const char16_t* TypeName(AVMediaType AType) {
    switch (AType) {
        case AVMEDIA_TYPE_VIDEO:
            return u"video";
        case AVMEDIA_TYPE_AUDIO:
            return u"audio";
        default:
            return u"subtitle";
    }
}

}  // namespace

bool TCustomPlayer::OpenStream(const String& AFileName, const AVInputFormat* AFormat, bool APaused) {
    Assert(!VideoState());
    if (AFileName.size() > size_t(MAX_FILENAME_LENGTH)) {
        ReportError(::Format(u"The file name is longer than %d characters.", {MAX_FILENAME_LENGTH}), true);
        return false;
    }
    std::shared_ptr<TVideoState> state;
    try {
        state = std::make_shared<TVideoState>();
    } catch (const std::bad_alloc&) {
        ReportError(u"av_mallocz() failed.", true);
        return false;
    }
    TVideoState* is = state.get();
    is->Owner = this;
    if (APaused) {
        is->paused = 1;
        is->open_paused = 1;
        ClearStep();
    }
    is->filename = AFileName;
    is->iformat = AFormat;
    is->ytop = 0;
    is->xleft = 0;
    is->av_sync_type = Fav_sync_type;
    if (!StartStateThread(*is, is->parse_tid, is->read_done, [this, is] { ReadThread(is); })) {
        ReportError(u"SDL_CreateThread() failed.", true);
        return false;
    }
    // The read thread decides; the GUI thread keeps serving meanwhile.
    {
        std::unique_lock<std::mutex> lock(is->wait_lock);
        while (!WaitForCondition(
            lock, is->wait_cond, [is] { return is->Opened != 0; }, 10)) {
            if (!OnGuiThread()) continue;
            lock.unlock();
            ProcessPendingMessages();
            lock.lock();
        }
    }
    if (is->Opened > 0) {
        SetVideoState(state);
        if (is->video_stream < 0 && !Fdisplay_disable) is->show_audio = FShowAudio.load();
        if (StartStateThread(*is, is->refresh_tid, is->refresh_done, [this, is] { RefreshThread(is); }))
            return true;
        ReportError(u"SDL_CreateThread() failed.", true);
        SetVideoState(nullptr);
        CloseStream(is);
        ResetPlayState();
        return false;
    }
    JoinStateThread(*is, is->parse_tid, is->read_done);
    ResetPlayState();
    return false;
}

void TCustomPlayer::ReadThread(TVideoState* is) {
    const AnsiString fileName = FFmpegFileName(is->filename);
    AVFormatContext* ic = avformat::avformat_alloc_context();
    AVPacket* packet = avcodec::av_packet_alloc();
    bool failed = true;
    auto fail = [this](const String& AText) { FLastErrMsg.Set(AText); };
    do {
        if (!ic || !packet) {
            fail(u"av_mallocz() failed.");
            break;
        }
        ic->interrupt_callback.callback = DecodeInterrupt;
        ic->interrupt_callback.opaque = is;
        AVDictionary* options = nullptr;
        if (Fframe_width > 0 && Fframe_height > 0)
            avutil::av_dict_set(&options, "video_size",
                                FormatAnsi("%dx%d", {Fframe_width.load(), Fframe_height.load()}).c_str(), 0);
        if (Fframe_pix_fmt != AV_PIX_FMT_NONE)
            avutil::av_dict_set(&options, "pixel_format", avutil::av_get_pix_fmt_name(Fframe_pix_fmt), 0);
        avutil::av_dict_set(&options, "framerate", "25", 0);
        const Integer opened = OpenInputFile(&ic, fileName.c_str(), is->iformat, &options);
        avutil::av_dict_free(&options);
        if (opened < 0) {
            fail(AVErrorText(is->filename, opened));
            break;
        }
        is->ic = ic;
        if (Fgenpts) ic->flags |= AVFMT_FLAG_GENPTS;
        Integer found;
        {
            TCriticalSectionGuard guard(CodecLock);
            found = avformat::avformat_find_stream_info(ic, nullptr);
        }
        if (found < 0) {
            fail(::Format(u"%s: could not find codec parameters", {is->filename}));
            break;
        }
        if (ic->pb) ic->pb->eof_reached = 0;
        if (Fseek_by_bytes < 0) Fseek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;
        is->IsImage2 = IsStillPictureFormat(ic->iformat->name);
        is->IsDevice = IsDeviceFormat(ic->iformat->name);
        is->StartTime = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
        is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;
        if (const Int64 startTime = Fstart_time; startTime != AV_NOPTS_VALUE) {
            const Int64 target = startTime + (ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0);
            if (avformat::avformat_seek_file(ic, -1, INT64_MIN, target, INT64_MAX, 0) < 0)
                GetLogger()->Log(this, llError, u"%s: could not seek to position %0.3f",
                                 {is->filename, double(target) / AV_TIME_BASE});
        }
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            ic->streams[i]->discard = AVDISCARD_ALL;
        // A wanted index counts the streams of its type; otherwise the
        // reader's best stream of the type wins.
        auto choose = [&](AVMediaType AType) {
            const Integer wanted = Fwanted_stream[AType + 1];
            if (wanted < 0) return avformat::av_find_best_stream(ic, AType, -1, -1, nullptr, 0);
            Integer count = 0;
            for (unsigned i = 0; i < ic->nb_streams; ++i)
                if (ic->streams[i]->codecpar->codec_type == AType && count++ == wanted) return Integer(i);
            GetLogger()->Log(this, llError, u"%s: no %s stream #%d, the file has %d.",
                             {is->filename, TypeName(AType), wanted, count});
            return Integer(-1);
        };
        const Integer audio = Faudio_disable ? -1 : choose(AVMEDIA_TYPE_AUDIO);
        const Integer video = Fvideo_disable ? -1 : choose(AVMEDIA_TYPE_VIDEO);
        const Integer subtitle = Fvideo_disable ? -1 : choose(AVMEDIA_TYPE_SUBTITLE);
        if (audio >= 0) OpenStreamComponent(is, audio);
        Integer videoOpened = -1;
        if (video >= 0) videoOpened = OpenStreamComponent(is, video);
        if (videoOpened < 0 && !Fdisplay_disable) is->show_audio = 2;
        if (subtitle >= 0) OpenStreamComponent(is, subtitle);
        if (is->video_stream < 0 && is->audio_stream < 0) {
            fail(::Format(u"%s: could not open codecs, no stream to play.", {is->filename}));
            break;
        }
        failed = false;
    } while (false);

    if (!failed) {
        {
            std::lock_guard<std::mutex> guard(is->wait_lock);
            is->Opened = 1;
        }
        is->wait_cond.notify_all();
        bool endOfFile = false;
        while (!is->abort_request) {
            if (is->paused != is->last_paused) {
                is->last_paused = is->paused;
                if (is->last_paused)
                    is->read_pause_return = avformat::av_read_pause(ic);
                else
                    avformat::av_read_play(ic);
            }
            if (is->seek_req) {
                const Int64 target = is->seek_pos;
                const Int64 minimum = is->seek_rel > 0 ? target - is->seek_rel + 2 : INT64_MIN;
                const Int64 maximum = is->seek_rel < 0 ? target - is->seek_rel - 2 : INT64_MAX;
                Integer result =
                    avformat::avformat_seek_file(ic, -1, minimum, target, maximum, is->seek_flags);
                if (result < 0) result = avformat::av_seek_frame(ic, -1, target, is->seek_flags);
                if (result < 0)
                    result = avformat::av_seek_frame(ic, -1, target, is->seek_flags ^ AVSEEK_FLAG_BACKWARD);
                if (result < 0) {
                    GetLogger()->Log(this, llError, u"%s: error while seeking", {is->filename});
                    if (is->video_stream >= 0) FPictEvent.SetEvent();
                } else {
                    if (is->audio_stream >= 0) {
                        PacketQueueFlush(is->audioq);
                        PacketQueuePut(is->audioq, Fflush_pkt);
                    }
                    if (is->subtitle_stream >= 0) {
                        PacketQueueFlush(is->subtitleq);
                        PacketQueuePut(is->subtitleq, Fflush_pkt);
                    }
                    if (is->video_stream >= 0) {
                        is->seek_flushed = 0;
                        FPictEvent.ResetEvent();
                        PacketQueueFlush(is->videoq);
                        PacketQueuePut(is->videoq, Fflush_pkt);
                    }
                }
                is->ErrorEOF = 0;
                is->ReachEOF = 0;
                is->EventEOF = 0;
                is->seek_req = 0;
                is->seek_done = 1;
                WakeState(*is);
                FSeekEvent.SetEvent();
                if (is->video_stream < 0) FSeeking = false;
                endOfFile = false;
            }
            const Integer total = is->audioq.size + is->videoq.size + is->subtitleq.size;
            if (total > MaxQueueSize || ((is->audio_stream < 0 || is->audioq.size > MinAudioQueueSize) &&
                                         (is->video_stream < 0 || is->videoq.nb_packets > MinFrames) &&
                                         (is->subtitle_stream < 0 || is->subtitleq.nb_packets > MinFrames))) {
                // Paused, nothing takes packets: sleep until a seek or the end of the pause.
                if (is->paused)
                    WaitOnStateWhile(
                        *is, [is] { return is->paused && !is->seek_req; }, IdleWaitMs);
                else
                    WaitOnState(*is, 10);
                continue;
            }
            if (endOfFile || (ic->pb && ic->pb->eof_reached)) {
                if (is->video_stream >= 0) {
                    // Empty packets tell the video decoder that nothing follows.
                    packet->data = nullptr;
                    packet->size = 0;
                    packet->stream_index = is->video_stream;
                    PacketQueuePut(is->videoq, packet);
                    FPictEvent.SetEvent();
                }
                WaitOnState(*is, 10);
                if (is->audioq.nb_packets == 0 && is->videoq.nb_packets == 0 && is->subtitleq.nb_packets == 0)
                    is->ReachEOF = 1;
                continue;
            }
            is->Reading = 1;
            const Integer result = avformat::av_read_frame(ic, packet);
            is->Reading = 0;
            if (is->abort_request) {
                avcodec::av_packet_unref(packet);
                break;
            }
            if (result < 0) {
                if (result == AVERROR(EAGAIN)) {
                    WaitOnState(*is, 10);
                    continue;
                }
                if (is->video_stream >= 0) FPictEvent.SetEvent();
                if (!is->ErrorEOF && !is->IsImage2) {
                    is->ErrorEOF = 1;
                    if (result == AVERROR_EOF)
                        GetLogger()->Log(this, llInfo, u"reach end of file: %s", {is->filename});
                    else
                        GetLogger()->Log(this, llError, u"error #%d while reading file: %s",
                                         {result, is->filename});
                }
                if (result == AVERROR_EOF) endOfFile = true;
                if (ic->pb && ic->pb->error) break;
                WaitOnState(*is, 100);
                continue;
            }
            if (packet->stream_index == is->audio_stream)
                PacketQueuePut(is->audioq, packet);
            else if (packet->stream_index == is->video_stream)
                PacketQueuePut(is->videoq, packet);
            else if (packet->stream_index == is->subtitle_stream)
                PacketQueuePut(is->subtitleq, packet);
            else
                avcodec::av_packet_unref(packet);
        }
        std::unique_lock<std::mutex> lock(is->wait_lock);
        is->wait_cond.wait(lock, [is] { return is->abort_request != 0; });
    }

    if (failed) {
        std::lock_guard<std::mutex> guard(is->wait_lock);
        is->Opened = -1;
    }
    is->wait_cond.notify_all();
    if (is->audio_stream >= 0) CloseStreamComponent(is, is->audio_stream);
    if (is->video_stream >= 0) CloseStreamComponent(is, is->video_stream);
    if (is->subtitle_stream >= 0) CloseStreamComponent(is, is->subtitle_stream);
    if (!failed) FAVProbe->SetFileHandle(nullptr);
    is->ic = nullptr;
    if (ic) CloseInputFile(&ic);
    avcodec::av_packet_free(&packet);
    if (failed) PushStateEvent(QuitEvent, is);
}

Integer TCustomPlayer::OpenStreamComponent(TVideoState* is, Integer AStreamIndex) {
    AVFormatContext* ic = is->ic;
    if (AStreamIndex < 0 || unsigned(AStreamIndex) >= ic->nb_streams) return -1;
    AVStream* stream = ic->streams[AStreamIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    const AVCodec* codec = avcodec::avcodec_find_decoder(parameters->codec_id);
    AVCodecContext* context = avcodec::avcodec_alloc_context3(codec);
    if (!context) return -1;
    Integer opened = avcodec::avcodec_parameters_to_context(context, parameters);
    context->pkt_timebase = stream->time_base;
    context->debug = Fdebug;
    context->workaround_bugs = Fworkaround_bugs;
    if (codec) context->lowres = std::min<Integer>(Flowres, codec->max_lowres);
    context->idct_algo = Fidct_algo;
    if (Ffast) context->flags2 |= AV_CODEC_FLAG2_FAST;
    context->skip_frame = static_cast<AVDiscard>(Fskip_frame.load());
    context->skip_idct = static_cast<AVDiscard>(Fskip_idct.load());
    context->skip_loop_filter = static_cast<AVDiscard>(Fskip_loop_filter.load());
    context->err_recognition = ErrorRecognitionFlags(Ferror_recognition);
    context->error_concealment = Ferror_concealment;
    context->thread_count = 1;
    {
        TCriticalSectionGuard guard(CodecLock);
        if (opened >= 0) opened = codec ? avcodec::avcodec_open2(context, codec, nullptr) : -1;
    }
    if (opened < 0) {
        GetLogger()->Log(this, llError, u"avcodec_open() failed.");
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_free_context(&context);
        return -1;
    }
    if (context->codec_type == AVMEDIA_TYPE_AUDIO && OpenAudioDevice(is, context) < 0) {
        GetLogger()->Log(this, llError, u"SDL_OpenAudio() failed: " + UTF8ToString(sdl::SDL_GetError()));
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_free_context(&context);
        return -1;
    }
    stream->discard = AVDISCARD_DEFAULT;
    switch (context->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            is->audio_dec = context;
            is->audio_st = stream;
            is->AudioDuration =
                stream->duration != AV_NOPTS_VALUE
                    ? avutil::av_rescale_q(stream->duration, stream->time_base, AVRational{1, AV_TIME_BASE})
                    : -1;
            is->audio_buf_size = 0;
            is->audio_buf_index = 0;
            is->audio_diff_avg_coef = std::exp(std::log(0.01) / 20);
            is->audio_diff_avg_count = 0;
            is->audio_diff_cum = 0;
            is->audio_diff_threshold = 2.0 * 1024 / is->audio_tgt_freq;
            is->audio_pkt_sent = false;
            PacketQueueInit(is->audioq);
            PacketQueuePut(is->audioq, Fflush_pkt);
            is->audio_stream = AStreamIndex;
            sdl::SDL_PauseAudio(0);
            break;
        case AVMEDIA_TYPE_VIDEO:
            is->video_dec = context;
            is->video_st = stream;
            is->video_draining = false;
            PacketQueueInit(is->videoq);
            PacketQueuePut(is->videoq, Fflush_pkt);
            is->video_stream = AStreamIndex;
            if (!StartStateThread(*is, is->video_tid, is->video_done, [this, is] { VideoThread(is); })) {
                CloseStreamComponent(is, AStreamIndex);
                return -1;
            }
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            is->subtitle_dec = context;
            is->subtitle_st = stream;
            PacketQueueInit(is->subtitleq);
            PacketQueuePut(is->subtitleq, Fflush_pkt);
            is->subtitle_stream = AStreamIndex;
            if (!StartStateThread(*is, is->subtitle_tid, is->subtitle_done,
                                  [this, is] { SubtitleThread(is); })) {
                CloseStreamComponent(is, AStreamIndex);
                return -1;
            }
            break;
        default: {
            TCriticalSectionGuard guard(CodecLock);
            avcodec::avcodec_free_context(&context);
            stream->discard = AVDISCARD_ALL;
            return -1;
        }
    }
    return 0;
}

void TCustomPlayer::CloseStreamComponent(TVideoState* is, Integer AStreamIndex) {
    AVFormatContext* ic = is->ic;
    if (!ic || AStreamIndex < 0 || unsigned(AStreamIndex) >= ic->nb_streams) return;
    AVStream* stream = ic->streams[AStreamIndex];
    AVCodecContext* context = nullptr;
    switch (stream->codecpar->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            if (AStreamIndex != is->audio_stream) return;
            PacketQueueAbort(is->audioq);
            sdl::SDL_CloseAudio();
            PacketQueueEnd(is->audioq);
            if (is->reformat_ctx) swresample::swr_free(&is->reformat_ctx);
            avutil::av_channel_layout_uninit(&is->audio_src_ch_layout);
            avcodec::av_packet_free(&is->audio_pkt);
            avutil::av_frame_free(&is->audio_frame);
            context = is->audio_dec;
            is->audio_dec = nullptr;
            is->audio_stream = -1;
            is->audio_st = nullptr;
            is->AudioDuration = -1;
            break;
        case AVMEDIA_TYPE_VIDEO:
            if (AStreamIndex != is->video_stream) return;
            PacketQueueAbort(is->videoq);
            {
                std::lock_guard<std::mutex> guard(is->pictq_mutex);
                is->pictq_cond.notify_all();
            }
            JoinStateThread(*is, is->video_tid, is->video_done);
            PacketQueueEnd(is->videoq);
            context = is->video_dec;
            is->video_dec = nullptr;
            is->video_stream = -1;
            is->video_st = nullptr;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            if (AStreamIndex != is->subtitle_stream) return;
            PacketQueueAbort(is->subtitleq);
            {
                std::lock_guard<std::mutex> guard(is->subpq_mutex);
                is->subtitle_stream_changed = 1;
                is->subpq_cond.notify_all();
            }
            JoinStateThread(*is, is->subtitle_tid, is->subtitle_done);
            PacketQueueEnd(is->subtitleq);
            context = is->subtitle_dec;
            is->subtitle_dec = nullptr;
            is->subtitle_stream = -1;
            is->subtitle_st = nullptr;
            break;
        default:
            return;
    }
    stream->discard = AVDISCARD_ALL;
    TCriticalSectionGuard guard(CodecLock);
    avcodec::avcodec_free_context(&context);
}

bool TCustomPlayer::SwitchStream(AVMediaType AType, Integer AStreamIndex) {
    const std::shared_ptr<TVideoState> state = VideoState();
    TVideoState* is = state.get();
    auto fail = [this](const char16_t* AText) {
        FLastErrMsg.Set(AText);
        return false;
    };
    AVFormatContext* ic = is ? is->ic.load() : nullptr;
    if (!ic) return fail(u"the current stream is not valid.");
    const Integer current = AType == AVMEDIA_TYPE_VIDEO   ? is->video_stream
                            : AType == AVMEDIA_TYPE_AUDIO ? is->audio_stream
                                                          : is->subtitle_stream;
    const Integer lowest = AType == AVMEDIA_TYPE_SUBTITLE ? -1 : 0;
    if (current < lowest) return fail(u"the current stream is not valid.");
    if (AStreamIndex < lowest || AStreamIndex >= Integer(ic->nb_streams))
        return fail(u"the stream index is not valid.");
    if (AStreamIndex == current) return true;
    // The play thread must not draw from a stream being replaced.
    std::lock_guard<TDataLock> guard(FDataLock);
    if (AStreamIndex == -1) {
        CloseStreamComponent(is, current);
        return true;
    }
    const AVCodecParameters* parameters = ic->streams[AStreamIndex]->codecpar;
    if (AType != AVMEDIA_TYPE_VIDEO && AType != AVMEDIA_TYPE_AUDIO && AType != AVMEDIA_TYPE_SUBTITLE)
        return fail(u"the stream type is invalid.");
    if (parameters->codec_type != AType) return fail(u"the stream type is not matched.");
    if (AType == AVMEDIA_TYPE_AUDIO &&
        (parameters->sample_rate <= 0 || parameters->ch_layout.nb_channels <= 0))
        return fail(u"the audio stream is not invalid.");
    if (current >= 0) CloseStreamComponent(is, current);
    OpenStreamComponent(is, AStreamIndex);
    return true;
}

void TCustomPlayer::CloseStream(TVideoState* is) {
    {
        std::lock_guard<std::mutex> guard(is->wait_lock);
        is->abort_request = 1;
    }
    is->wait_cond.notify_all();
    JoinStateThread(*is, is->parse_tid, is->read_done);
    JoinStateThread(*is, is->refresh_tid, is->refresh_done);
    std::lock_guard<std::mutex> guard(is->pictq_mutex);
    for (TPictureSlot& slot : is->pictq) {
        if (slot.overlay) sdl::SDL_FreeYUVOverlay(slot.overlay);
        slot.overlay = nullptr;
    }
    // Subtitles the display never took.
    for (TSubtitleSlot& slot : is->subpq)
        avcodec::avsubtitle_free(&slot.subtitle);
    if (is->rdft) avcodec::av_rdft_end(is->rdft);
    is->rdft = nullptr;
    avutil::av_freep(&is->rdft_data);
}

void TCustomPlayer::ExitPlayback() {
    if (const std::shared_ptr<TVideoState> is = VideoState()) {
        CloseStream(is.get());
        SetVideoState(nullptr);
        ResetPlayState();
    }
    QuitSDL();
}

bool TCustomPlayer::PostEvent(SDL_Event& AEvent) {
    if (sdl::SDL_PushEvent(&AEvent) < 0) return false;
    {
        std::lock_guard<std::mutex> guard(FEventLock);
        FEventPending = true;
    }
    FEventPosted.notify_one();
    return true;
}

void TCustomPlayer::PushStateEvent(Uint8 AType, TVideoState* is) {
    SDL_Event event{};
    event.type = AType;
    event.user.data1 = is;
    PostEvent(event);
}

void TCustomPlayer::RunEventLoop() {
    for (;;) {
        SDL_Event event;
        // SDL's own wait polls every 10 ms. The events are ours, posted with
        // a wake-up, so the loop sleeps on that instead: briefly while
        // playing (SDL's own events, its quit, are only polled), up to a
        // pause's idle time while paused.
        bool got = sdl::SDL_PollEvent(&event) != 0;
        if (!got && sdl::SDL_WasInit(SDL_INIT_VIDEO)) {
            const std::shared_ptr<TVideoState> state = VideoState();
            const bool paused = state && state->paused;
            std::unique_lock<std::mutex> lock(FEventLock);
            FEventPosted.wait_for(lock, std::chrono::milliseconds(paused ? IdleWaitMs : 10),
                                  [this] { return FEventPending; });
            FEventPending = false;
            if (state) continue;
        }
        std::lock_guard<TDataLock> guard(FDataLock);
        const std::shared_ptr<TVideoState> state = VideoState();
        TVideoState* is = state.get();
        if (!is) {
            QuitSDL();
            return;
        }
        // SDL went away under us: nothing more can be shown.
        if (!got) {
            ExitPlayback();
            return;
        }
        // An event left from an earlier file.
        if (event.type >= AllocEvent && event.type <= RelayoutEvent && event.user.data1 != is) continue;
        switch (event.type) {
            case SDL_QUIT:
            case QuitEvent:
                ExitPlayback();
                return;
            case SDL_VIDEORESIZE:
                Fscreen = sdl::SDL_SetVideoMode(event.resize.w, event.resize.h, VideoModeDepth(),
                                                SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL);
                Fscreen_width = event.resize.w;
                Fscreen_height = event.resize.h;
                if (Fscreen) {
                    is->width = Fscreen->w;
                    is->height = Fscreen->h;
                }
                is->background_rect = SDL_Rect{0, 0, 0, 0};
                if (is->paused) RefreshVideo(is, false);
                break;
            case SDL_VIDEOEXPOSE:
                // Whatever covered the window took the background with it.
                is->background_rect = SDL_Rect{0, 0, 0, 0};
                // Paused, the picture on screen is drawn again even when the
                // next one waits in the queue.
                DisplayVideo(is, is->paused);
                break;
            case AllocEvent:
                OpenVideoMode(is, false);
                AllocPicture(is);
                break;
            case RefreshEvent:
                RefreshVideo(is, true);
                is->refresh = 0;
                break;
            case RelayoutEvent:
                OpenVideoMode(is, true);
                DisplayVideo(is);
                break;
            default:
                break;
        }
    }
}

void TCustomPlayer::PushQuitEvent(TVideoState* is) {
    PushStateEvent(QuitEvent, is);
}

void TCustomPlayer::PushRelayoutEvent(TVideoState* is) {
    PushStateEvent(RelayoutEvent, is);
}
