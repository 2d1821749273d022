// Opening the engine's input and output files and the streams of its outputs.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/myutils.h"
#include "media/unicodeprotocol.h"
#include "platform/base/fileutils.h"

namespace {

void Log(TCustomFFmpeg& AEngine, TLogLevel ALevel, const String& AMessage) {
    GetLogger()->Log(&AEngine, ALevel, AMessage);
}

void SetInt(AVDictionary** ADictionary, const char* AKey, Int64 AValue) {
    avutil::av_dict_set(ADictionary, AKey, std::to_string(AValue).c_str(), 0);
}

Integer Strictness(const TFFOptions& AOptions, AVMediaType AType) {
    const AVCodecContext* context = AOptions.avcodec_opts[AType];
    return context ? context->strict_std_compliance : 0;
}

void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->sample_fmts) return;
    for (const AVSampleFormat* format = ACodec->sample_fmts; *format != AV_SAMPLE_FMT_NONE; ++format)
        if (*format == AContext->sample_fmt) return;
    AContext->sample_fmt = ACodec->sample_fmts[0];
}

void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->pix_fmts) return;
    // Below normal strictness the MJPEG encoder also takes the non-JPEG ranges.
    if (ACodec->id == AV_CODEC_ID_MJPEG && AContext->strict_std_compliance < 0 &&
        (AContext->pix_fmt == AV_PIX_FMT_YUV420P || AContext->pix_fmt == AV_PIX_FMT_YUV422P))
        return;
    for (const AVPixelFormat* format = ACodec->pix_fmts; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == AContext->pix_fmt) return;
    AContext->pix_fmt = ACodec->pix_fmts[0];
}

// A display aspect ratio as the sample aspect ratio of a frame of that size,
// in the classic fraction: the numerator scaled by a power of two, reduced to
// terms of at most 255.
AVRational SampleAspectRatio(float AAspect, Integer AWidth, Integer AHeight) {
    const double d = static_cast<Int64>(AWidth) * AHeight != 0
                         ? static_cast<double>(AAspect) * AHeight / AWidth
                         : static_cast<double>(AAspect) * 3 / 4;
    const Int64 exponent = std::clamp<Int64>(Round(std::log2(std::fabs(d) + 1e-20)), 0, 61);
    const Int64 scale = Int64{1} << ((61 - exponent) % 32);
    AVRational ratio{0, 1};
    avutil::av_reduce(&ratio.num, &ratio.den, static_cast<Int64>(std::floor(d * scale + 0.5)), scale, 255);
    return ratio;
}

// "start,end,q/start,end,q...": each start and end followed by a ",".
std::vector<RcOverride> ParseRcOverride(const AnsiString& AText) {
    std::vector<RcOverride> result;
    const char* p = AText.c_str();
    while (*p) {
        RcOverride entry{};
        char* end;
        entry.start_frame = static_cast<int>(std::strtol(p, &end, 10));
        if (*end != ',') throw FFmpegException(u"error parsing rc_override");
        entry.end_frame = static_cast<int>(std::strtol(end + 1, &end, 10));
        if (*end != ',') throw FFmpegException(u"error parsing rc_override");
        const int q = static_cast<int>(std::strtol(end + 1, &end, 10));
        if (q > 0) {
            entry.qscale = q;
            entry.quality_factor = 1.0f;
        } else {
            entry.qscale = 0;
            entry.quality_factor = -q / 100.0f;
        }
        result.push_back(entry);
        p = *end == '/' ? end + 1 : end + std::strlen(end);
    }
    return result;
}

uint16_t* CopyMatrix(const std::optional<std::array<Word, 64>>& AMatrix) {
    if (!AMatrix) return nullptr;
    auto* copy = static_cast<uint16_t*>(avutil::av_malloc(sizeof(uint16_t) * 64));
    if (copy) std::copy(AMatrix->begin(), AMatrix->end(), copy);
    return copy;
}

// ISO 8601 in UTC, as the muxers read "creation_time".
AnsiString CreationTime(Int64 ASeconds) {
    const time_t seconds = static_cast<time_t>(ASeconds);
    struct tm utc {};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
    return text;
}

}  // namespace

// --- Codecs ---

bool TCustomFFmpeg::FindCodec(const AnsiString& AName, AVMediaType AType, bool AEncoder, Integer AStrict,
                              AVCodecID& ACodecID) {
    if (AName.empty()) {
        ACodecID = AV_CODEC_ID_NONE;
        return true;
    }
    const char16_t* word = AEncoder ? u"encoder" : u"decoder";
    const AVCodec* codec = AEncoder ? avcodec::avcodec_find_encoder_by_name(AName.c_str())
                                    : avcodec::avcodec_find_decoder_by_name(AName.c_str());
    if (!codec) {
        FLastErrMsg = Format(u"Unknown %s '%s'", {word, AName});
        return false;
    }
    if (codec->type != AType) {
        FLastErrMsg = Format(u"Invalid %s type '%s'", {word, AName});
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = Format(
            u"%s '%s' is experimental and might produce bad results.\r\nAdd '-strict experimental' if you "
            u"want "
            u"to use it.",
            {word, codec->name});
        const AVCodec* other =
            AEncoder ? avcodec::avcodec_find_encoder(codec->id) : avcodec::avcodec_find_decoder(codec->id);
        if (other && !(other->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
            FLastErrMsg += u"\r\n" + Format(u"Or use the non experimental %s '%s'.", {word, other->name});
        return false;
    }
    ACodecID = codec->id;
    return true;
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec) {
    if (!ACodec || !ACodec->supported_samplerates) return;
    int best = ACodec->supported_samplerates[0];
    for (const int* rate = ACodec->supported_samplerates; *rate; ++rate)
        if (std::abs(AContext->sample_rate - *rate) < std::abs(AContext->sample_rate - best)) best = *rate;
    if (best != AContext->sample_rate) {
        Log(*this, llWarning,
            Format(u"Requested sampling rate unsupported using closest supported (%d)", {best}));
        AContext->sample_rate = best;
    }
}

// --- Inputs ---

void TCustomFFmpeg::ResetInputCodecNames() {
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_channel = 0;
}

bool TCustomFFmpeg::OptInputFile(const String& AFileName) {
    const AVInputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = avformat::av_find_input_format(Flast_asked_format.c_str());
        if (!format) throw FFmpegException(u"Unknown input format: \"%s\"", {Flast_asked_format});
        Flast_asked_format.clear();
    }
    if (Fnb_input_files >= FMaxFiles) {
        FLastErrMsg = Format(u"max input files %d reached", {FMaxFiles});
        ResetInputCodecNames();
        return false;
    }
    AVFormatContext* ic = avformat::avformat_alloc_context();
    if (!ic) throw FFmpegException(u"avformat_alloc_context failed");
    // A refusal carries the reader's own reason ("moov atom not found").
    ClearLibraryError();
    const auto discard = [&] {
        ResetInputCodecNames();
        CloseInput(ic);
    };
    const auto fail = [&](const String& AMessage) {
        FLastErrMsg = AMessage;
        discard();
        return false;
    };

    // What used to be the format parameters: options of the raw and device
    // demuxers, which other demuxers leave alone.
    AVDictionary* parameters = nullptr;
    if (Fframe_rate.num != 0)
        avutil::av_dict_set(&parameters, "framerate",
                            FormatAnsi("%d/%d", {Fframe_rate.num, Fframe_rate.den}).c_str(), 0);
    SetInt(&parameters, "sample_rate", Faudio_sample_rate);
    SetInt(&parameters, "channels", Faudio_channels);
    if (Fframe_width > 0 && Fframe_height > 0)
        avutil::av_dict_set(&parameters, "video_size",
                            FormatAnsi("%dx%d", {Fframe_width, Fframe_height}).c_str(), 0);
    if (const AVPixFmtDescriptor* pixel = avutil::av_pix_fmt_desc_get(Fframe_pix_fmt))
        avutil::av_dict_set(&parameters, "pixel_format", pixel->name, 0);
    if (Fvideo_channel != 0) SetInt(&parameters, "channel", Fvideo_channel);
    if (!Fvideo_standard.empty()) avutil::av_dict_set(&parameters, "standard", Fvideo_standard.c_str(), 0);

    if (FOptions.avformat_opts)
        ApplyFFOptions(FOptions, ic, FOptions.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);
    AVCodecID ids[3];
    const AnsiString* names[3] = {&Fvideo_codec_name, &Faudio_codec_name, &Fsubtitle_codec_name};
    const AVMediaType types[3] = {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_SUBTITLE};
    for (int i = 0; i < 3; ++i) {
        if (!FindCodec(*names[i], types[i], false, Strictness(FOptions, types[i]), ids[i])) {
            avutil::av_dict_free(&parameters);
            avformat::avformat_free_context(ic);
            ResetInputCodecNames();
            return false;
        }
    }
    ic->video_codec_id = ids[0];
    ic->audio_codec_id = ids[1];
    ic->subtitle_codec_id = ids[2];
    ic->flags |= AVFMT_FLAG_NONBLOCK;
    if (Fpgmyuv_compatibility_hack) ic->video_codec_id = AV_CODEC_ID_PGMYUV;

    const AnsiString fileName = FFmpegFileName(AFileName);
    const Integer opened = OpenParkableInputFile(&ic, fileName.c_str(), format, &parameters);
    avutil::av_dict_free(&parameters);
    if (opened < 0) {
        // The failed open has freed the context.
        FLastErrMsg = WithLibraryReason(AVErrorText(AFileName, opened));
        ResetInputCodecNames();
        return false;
    }
    auto* setup = new TInputFileSetup;
    ic->opaque = setup;

    if (Fopt_programid != 0) {
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            ic->streams[i]->discard = AVDISCARD_ALL;
        bool found = false;
        for (unsigned i = 0; i < ic->nb_programs; ++i) {
            AVProgram* program = ic->programs[i];
            if (program->id != Fopt_programid) {
                program->discard = AVDISCARD_ALL;
                continue;
            }
            found = true;
            for (unsigned j = 0; j < program->nb_stream_indexes; ++j)
                ic->streams[program->stream_index[j]]->discard = AVDISCARD_DEFAULT;
        }
        if (!found) return fail(u"Specified program id not found");
        Fopt_programid = 0;
    }
    setup->Loop = Floop_input;

    Integer found;
    {
        TCriticalSectionGuard guard(CodecLock);
        found = avformat::avformat_find_stream_info(ic, nullptr);
    }
    if (found < 0 && Fverbose >= 0) {
        const String message = WithLibraryReason(Format(u"%s: could not find codec parameters", {AFileName}));
        Log(*this, llVerbose, message);
        return fail(message);
    }

    Int64 timestamp = Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
    if (Fstart_time != 0) {
        if (avformat::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && Fverbose > 0)
            Log(*this, llVerbose,
                Format(u"%s: could not seek to position %0.3f",
                       {AFileName, static_cast<double>(timestamp) / 1e6}));
        Fstart_time = 0;
    }

    std::vector<const AVCodec*> forcedDecoders;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = ic->streams[i];
        AVCodecContext* dec = avcodec::avcodec_alloc_context3(nullptr);
        if (!dec) return fail(AVErrorText(AFileName, AVERROR(ENOMEM)));
        setup->Codecs.push_back(dec);
        avcodec::avcodec_parameters_to_context(dec, st->codecpar);
        dec->thread_count = Fthread_count;
        if (dec->codec_type < AVMEDIA_TYPE_UNKNOWN || dec->codec_type >= AVMEDIA_TYPE_NB) {
            discard();
            throw FFmpegException(u"invalid codec_type");
        }
        const AnsiString* forced = nullptr;
        switch (dec->codec_type) {
            case AVMEDIA_TYPE_VIDEO: {
                if (FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO])
                    ApplyFFOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                                   AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
                Fframe_height = dec->height;
                Fframe_width = dec->width;
                const AVRational sar =
                    st->sample_aspect_ratio.num != 0 ? st->sample_aspect_ratio : dec->sample_aspect_ratio;
                double aspect = sar.num != 0 && sar.den != 0 ? av_q2d(sar) : 0;
                if (static_cast<Int64>(dec->width) * dec->height != 0) {
                    const double frame = static_cast<double>(dec->width) / dec->height;
                    aspect = aspect != 0 ? aspect * frame : frame;
                } else if (aspect == 0) {
                    aspect = 4.0 / 3;
                }
                Fframe_aspect_ratio = static_cast<float>(aspect);
                if (dec->pix_fmt == AV_PIX_FMT_NONE) dec->pix_fmt = AV_PIX_FMT_YUV420P;
                Fframe_pix_fmt = dec->pix_fmt;
                const AVRational rate = st->r_frame_rate;
                if (dec->lowres) {
                    Fframe_width >>= dec->lowres;
                    Fframe_height >>= dec->lowres;
                }
                // A picture stored on its side is converted upright: the
                // outputs take the upright size and shape.
                if (DisplayTurn(StreamDisplayMatrix(st)).Swaps) {
                    std::swap(Fframe_width, Fframe_height);
                    if (Fframe_aspect_ratio != 0) Fframe_aspect_ratio = 1 / Fframe_aspect_ratio;
                }
                const AVRational base = avformat::av_stream_get_codec_timebase(st);
                if ((base.den != rate.num * dec->ticks_per_frame || base.num != rate.den) && Fverbose >= 0)
                    Log(*this, llInfo,
                        Format(u"Seems stream %d codec frame rate differs from container frame rate: %2.2f "
                               u"(%d/%d) -> %2.2f (%d/%d)",
                               {static_cast<Integer>(i),
                                base.num ? static_cast<double>(base.den) / base.num : 0.0, base.den, base.num,
                                rate.den ? av_q2d(rate) : 0.0, rate.num, rate.den}));
                Fframe_rate = rate;
                forced = &Fvideo_codec_name;
                if (Fvideo_disable) {
                    st->discard = AVDISCARD_ALL;
                } else if (Fvideo_discard != 0) {
                    st->discard = static_cast<AVDiscard>(Fvideo_discard);
                }
                break;
            }
            case AVMEDIA_TYPE_AUDIO:
                if (FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO])
                    ApplyFFOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO],
                                   AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
                Fchannel_layout = dec->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                      ? static_cast<Int64>(dec->ch_layout.u.mask)
                                      : 0;
                Faudio_channels = dec->ch_layout.nb_channels;
                Faudio_sample_rate = dec->sample_rate;
                Faudio_sample_fmt = dec->sample_fmt;
                forced = &Faudio_codec_name;
                if (Faudio_disable) st->discard = AVDISCARD_ALL;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                forced = &Fsubtitle_codec_name;
                if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
                break;
            default:
                break;
        }
        // Every stream has its entry, so that the table stays aligned with
        // the input streams (a data stream too).
        forcedDecoders.push_back(
            forced && !forced->empty() ? avcodec::avcodec_find_decoder_by_name(forced->c_str()) : nullptr);
    }
    Finput_codecs.insert(Finput_codecs.end(), forcedDecoders.begin(), forcedDecoders.end());
    Fnb_icodecs = static_cast<Integer>(Finput_codecs.size());

    if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration)
        FTotalOutputDuration = ic->duration;
    Finput_files[Fnb_input_files] = ic;
    Finput_files_ts_offset[Fnb_input_files] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
    if (Fverbose >= 0) avformat::av_dump_format(ic, Fnb_input_files, fileName.c_str(), 0);
    ++Fnb_input_files;
    ResetInputCodecNames();
    return true;
}

// --- Outputs ---

bool TCustomFFmpeg::OutputFolderExists(const AnsiString& AFileName) {
    String name = FFmpegFileNameToWide(AFileName.c_str());
    if (name.starts_with(u"file:")) name.erase(0, 5);
    // Other protocols ("pipe:", "stream:", ...) have no folder to look at.
    const size_t colon = name.find(u':');
    if (colon != String::npos && name.find(u'/') > colon) return true;
    const String folder = ExtractFileDir(ExpandFileName(name));
    return folder.empty() || DirectoryExists(folder);
}

void TCustomFFmpeg::OpenOutputFiles() {
    const Integer outputs = FJoinMode ? 1 : Fnb_output_files;
    for (Integer i = 0; i < outputs; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        if ((oc->oformat->flags & AVFMT_NOFILE) || oc->pb) continue;
        const String name = FFmpegFileNameToWide(oc->url);
        // Only an output that was not there before is the task's to delete
        // when it stays empty; an existing one is overwritten without asking.
        const bool existed = FileExists(name);
        const Integer opened = OpenOutputIO(&oc->pb, oc->url);
        if (opened < 0) throw FFmpegException(AVErrorText(name, opened));
        OutputSetup(oc).Created = !existed;
    }
}

void TCustomFFmpeg::check_audio_video_sub_inputs(bool AFirstOnly, bool& AHasVideo, bool& AHasAudio,
                                                 bool& AHasSubtitle) const {
    AHasVideo = AHasAudio = AHasSubtitle = false;
    const Integer count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (Integer i = 0; i < count; ++i) {
        const AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; j < ic->nb_streams; ++j) {
            switch (ic->streams[j]->codecpar->codec_type) {
                case AVMEDIA_TYPE_VIDEO:
                    AHasVideo = true;
                    break;
                case AVMEDIA_TYPE_AUDIO:
                    AHasAudio = true;
                    break;
                case AVMEDIA_TYPE_SUBTITLE:
                    AHasSubtitle = true;
                    break;
                case AVMEDIA_TYPE_UNKNOWN:
                case AVMEDIA_TYPE_DATA:
                case AVMEDIA_TYPE_ATTACHMENT:
                    break;
                default:
                    throw FFmpegException(u"invalid codec_type of input file");
            }
        }
    }
}

Integer TCustomFFmpeg::OptOutputFile(const String& AFileName, bool AJoin) {
    if (FJoinMode) {
        FLastErrMsg = u"Cannot join more than one output file.";
        return -1;
    }
    if (Fnb_output_files >= FMaxFiles) {
        FLastErrMsg = Format(u"max output files %d reached", {FMaxFiles});
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();
    const AnsiString fileName = FFmpegFileName(AFileName);
    const AVOutputFormat* format;
    if (!Flast_asked_format.empty()) {
        format = avformat::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (!format) {
            FLastErrMsg =
                Format(u"Requested output format '%s' is not a suitable output format", {Flast_asked_format});
            return -1;
        }
        Flast_asked_format.clear();
    } else {
        format = avformat::av_guess_format(nullptr, fileName.c_str(), nullptr);
        if (!format) {
            FLastErrMsg = Format(u"Unable to find a suitable output format for '%s'", {AFileName});
            return -1;
        }
    }
    AVFormatContext* oc = nullptr;
    if (avformat::avformat_alloc_output_context2(&oc, format, nullptr, fileName.c_str()) < 0 || !oc)
        throw FFmpegException(u"avformat_alloc_context failed");
    oc->opaque = new TOutputFileSetup;
    const auto fail = [&](const String& AMessage) {
        FLastErrMsg = AMessage;
        CloseOutput(oc);
        return -1;
    };

    bool video = format->video_codec != AV_CODEC_ID_NONE || Fvideo_stream_copy || !Fvideo_codec_name.empty();
    bool audio = format->audio_codec != AV_CODEC_ID_NONE || Faudio_stream_copy || !Faudio_codec_name.empty();
    bool subtitle =
        format->subtitle_codec != AV_CODEC_ID_NONE || Fsubtitle_stream_copy || !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        bool inputVideo, inputAudio, inputSubtitle;
        try {
            check_audio_video_sub_inputs(AJoin, inputVideo, inputAudio, inputSubtitle);
        } catch (const Exception& e) {
            return fail(Format(u"check_audio_video_sub_inputs fail: %s", {e.Message()}));
        }
        video = video && inputVideo;
        audio = audio && inputAudio;
        subtitle = subtitle && inputSubtitle;
    }
    if (Fvideo_disable) video = false;
    if (Faudio_disable) audio = false;
    if (Fsubtitle_disable) subtitle = false;
    if (subtitle && !Fsubtitle_stream_copy && Fnb_input_files > 0 &&
        !HasSubtitleSource(format, fileName, AJoin))
        subtitle = false;

    const struct {
        bool Wanted;
        void (TCustomFFmpeg::*Make)(AVFormatContext*);
        const char16_t* Failure;
    } kinds[] = {{video, &TCustomFFmpeg::new_video_stream, u"new_video_stream fail: %s"},
                 {audio, &TCustomFFmpeg::new_audio_stream, u"new_audio_stream fail: %s"},
                 {subtitle, &TCustomFFmpeg::new_subtitle_stream, u"new_subtitle_stream fail: %s"}};
    for (const auto& kind : kinds) {
        if (!kind.Wanted) continue;
        try {
            (this->*kind.Make)(oc);
        } catch (const Exception& e) {
            return fail(Format(kind.Failure, {e.Message()}));
        }
    }

    if (Frecording_timestamp != 0)
        avutil::av_dict_set(&oc->metadata, "creation_time", CreationTime(Frecording_timestamp).c_str(), 0);
    // The last pair first, so the first of two equal keys wins.
    for (auto pair = Fmetadata.rbegin(); pair != Fmetadata.rend(); ++pair)
        avutil::av_dict_set(&oc->metadata, pair->first.c_str(), pair->second.c_str(), 0);
    Fmetadata.clear();
    Fmetadata_count = 0;

    if ((format->flags & AVFMT_NEEDNUMBER) && !avformat::av_filename_number_test(fileName.c_str()))
        return fail(AVErrorText(AFileName, AVERROR(EDOM)));
    // The file itself is opened by the conversion (OpenOutputFiles): an
    // existing one keeps its bytes until then. A folder that is not there
    // is told now, as the open would tell it.
    if (!(format->flags & AVFMT_NOFILE) && !OutputFolderExists(fileName))
        return fail(AVErrorText(AFileName, AVERROR(ENOENT)));

    // Preload, the GIF loop count and the muxers' own options are options of
    // the header now, not fields of the context.
    TOutputFileSetup& setup = OutputSetup(oc);
    oc->max_delay = static_cast<int>(Fmux_max_delay * 1000000);
    SetInt(&setup.MuxOptions, "preload", static_cast<Int64>(Fmux_preload * 1000000));
    if (std::strcmp(format->name, "gif") == 0) SetInt(&setup.MuxOptions, "loop", Floop_output);
    oc->flags |= AVFMT_FLAG_NONBLOCK;
    if (FOptions.avformat_opts)
        ApplyFFOptions(FOptions, oc, FOptions.avformat_opts, AV_OPT_FLAG_ENCODING_PARAM);
    AVDictionary* own = MuxerPrivateOptions(FOptions);
    avutil::av_dict_copy(&setup.MuxOptions, own, 0);
    avutil::av_dict_free(&own);
    Fstreamid_map.fill(0);

    Foutput_files[Fnb_output_files++] = oc;
    if (AJoin && Fnb_input_files > 1) {
        FJoinMode = true;
        SetupJoin();
    }
    return Fnb_output_files;
}

bool TCustomFFmpeg::HasSubtitleSource(const AVOutputFormat* AFormat, const AnsiString& AFileName,
                                      bool AFirstOnly) {
    AVCodecID id;
    if (!Fsubtitle_codec_name.empty()) {
        const AVCodec* named = avcodec::avcodec_find_encoder_by_name(Fsubtitle_codec_name.c_str());
        // An unknown name is the new stream's to report.
        if (!named) return true;
        id = named->id;
    } else {
        id = avformat::av_guess_codec(AFormat, nullptr, AFileName.c_str(), nullptr, AVMEDIA_TYPE_SUBTITLE);
    }
    const Integer count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (Integer i = 0; i < count; ++i) {
        const AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; j < ic->nb_streams; ++j) {
            const AVCodecParameters* par = ic->streams[j]->codecpar;
            if (id != AV_CODEC_ID_NONE && par->codec_type == AVMEDIA_TYPE_SUBTITLE &&
                SubtitleKindsMatch(id, par->codec_id))
                return true;
        }
    }
    // Pictures cannot become text nor text pictures: such a task goes on without subtitles.
    const AVCodecDescriptor* descriptor = avcodec::avcodec_descriptor_get(id);
    Log(*this, llWarning,
        Format(u"No subtitle stream of the input can be encoded as %s: the output has no subtitles",
               {descriptor ? descriptor->name : "none"}));
    return false;
}

void TCustomFFmpeg::SetupJoin() {
    Int64 total = 0;
    for (Integer i = 0; i < Fnb_input_files; ++i)
        if (Finput_files[i]->duration != AV_NOPTS_VALUE) total += Finput_files[i]->duration;
    FTotalOutputDuration = total == 0 ? -1 : total;
    AVFormatContext* last = Foutput_files[Fnb_output_files - 1];
    while (Fnb_output_files < Fnb_input_files && Fnb_output_files < FMaxFiles)
        Foutput_files[Fnb_output_files++] = last;
}

void TCustomFFmpeg::OptNewVideo() {
    if (Fnb_output_files <= 0) throw FFmpegException(u"At least one output file must be specified");
    new_video_stream(Foutput_files[Fnb_output_files - 1]);
}

void TCustomFFmpeg::OptNewAudio() {
    if (Fnb_output_files <= 0) throw FFmpegException(u"At least one output file must be specified");
    new_audio_stream(Foutput_files[Fnb_output_files - 1]);
}

void TCustomFFmpeg::OptNewSubtitle() {
    if (Fnb_output_files <= 0) throw FFmpegException(u"At least one output file must be specified");
    new_subtitle_stream(Foutput_files[Fnb_output_files - 1]);
}

void TCustomFFmpeg::OptStreamId(const String& AOption, const String& AValue) {
    String value = AValue, index;
    TakeToken(value, u":", true, index);
    const bool separated = Pos(u":", AValue) > 0;
    const auto refuse = [&] {
        throw FFmpegException(u"Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"",
                              {AValue, AOption});
    };
    if (!separated || index.empty() || value.empty()) refuse();
    const Integer at = StrToInt(index);
    const Integer id = StrToInt(value);
    if (at < 0 || at >= MAX_STREAMS) refuse();
    Fstreamid_map[at] = id;
}

// --- New streams ---

TCustomFFmpeg::TNewStream TCustomFFmpeg::BeginStream(AVFormatContext* oc, AVMediaType AType,
                                                     AnsiString& AName, bool ACopy,
                                                     TBitstreamFilterChain& AFilters) {
    // A refused stream takes its codec name along, so that the name never
    // applies to a later stream by mistake.
    const auto refuse = [&AName](const String& AMessage) {
        AName.clear();
        throw FFmpegException(AMessage);
    };
    const unsigned index = oc->nb_streams;
    AVStream* st = avformat::avformat_new_stream(oc, nullptr);
    if (!st) refuse(u"Could not alloc stream");
    st->id = index < MAX_STREAMS ? Fstreamid_map[index] : 0;
    TOutputFileSetup& file = OutputSetup(oc);
    file.Streams.resize(oc->nb_streams);
    TOutputStreamSetup& setup = file.Streams[index];
    setup.BitstreamFilters = std::move(AFilters);
    AFilters.clear();
    setup.StreamCopy = ACopy;

    TNewStream created{st, &setup, nullptr, nullptr, nullptr};
    AVCodecID id = AV_CODEC_ID_NONE;
    if (!ACopy) {
        if (!FindCodec(AName, AType, true, Strictness(FOptions, AType), id)) refuse(FLastErrMsg);
        if (!AName.empty()) {
            created.Forced = created.Encoder = avcodec::avcodec_find_encoder_by_name(AName.c_str());
        } else {
            id = avformat::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, AType);
            created.Encoder = avcodec::avcodec_find_encoder(id);
        }
    }
    setup.Codec = created.Codec = avcodec::avcodec_alloc_context3(created.Encoder);
    if (!created.Codec) refuse(u"Could not alloc stream");
    created.Codec->codec_type = AType;
    created.Codec->codec_id = id;
    created.Codec->thread_count = Fthread_count;
    if (!ACopy) {
        if (AVCodecContext* defaults = FOptions.avcodec_opts[AType]) {
            const int typeFlag = AType == AVMEDIA_TYPE_VIDEO   ? AV_OPT_FLAG_VIDEO_PARAM
                                 : AType == AVMEDIA_TYPE_AUDIO ? AV_OPT_FLAG_AUDIO_PARAM
                                                               : AV_OPT_FLAG_SUBTITLE_PARAM;
            ApplyFFOptions(FOptions, created.Codec, defaults, typeFlag | AV_OPT_FLAG_ENCODING_PARAM);
        }
        setup.CodecOptions = CodecPrivateOptions(FOptions, AType);
    }
    return created;
}

void TCustomFFmpeg::EndStream(const TNewStream& AStream, AnsiString& AName, AnsiString& ALanguage) {
    Foutput_codecs.push_back(AStream.Forced);
    ++Fnb_ocodecs;
    if (!ALanguage.empty()) {
        avutil::av_dict_set(&AStream.Stream->metadata, "language", ALanguage.c_str(), 0);
        ALanguage.clear();
    }
    AName.clear();
}

void TCustomFFmpeg::new_video_stream(AVFormatContext* oc) {
    const TNewStream created =
        BeginStream(oc, AVMEDIA_TYPE_VIDEO, Fvideo_codec_name, Fvideo_stream_copy, Fvideo_bitstream_filters);
    AVStream* st = created.Stream;
    AVCodecContext* codec = created.Codec;
    const AVCodec* encoder = created.Encoder;
    if (Fvideo_codec_tag) codec->codec_tag = Fvideo_codec_tag;
    AVCodecContext* defaults = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if ((Fvideo_global_header & 1) ||
        (Fvideo_global_header == 0 && (oc->oformat->flags & AVFMT_GLOBALHEADER))) {
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (defaults) defaults->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Fvideo_global_header & 2) {
        codec->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (defaults) defaults->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }
    const AVRational sampleAspect = SampleAspectRatio(Fframe_aspect_ratio, Fframe_width, Fframe_height);
    if (Fvideo_stream_copy) {
        st->sample_aspect_ratio = codec->sample_aspect_ratio = sampleAspect;
    } else {
        AVRational rate = Fframe_rate.num != 0 ? Fframe_rate : AVRational{25, 1};
        if (encoder && encoder->supported_framerates && !Fforce_fps)
            rate = encoder->supported_framerates[avutil::av_find_nearest_q_idx(
                rate, encoder->supported_framerates)];
        codec->time_base = {rate.den, rate.num};
        codec->framerate = rate;
        st->time_base = codec->time_base;
        codec->width = Fframe_width;
        codec->height = Fframe_height;
        codec->sample_aspect_ratio = st->sample_aspect_ratio = sampleAspect;
        codec->pix_fmt = Fframe_pix_fmt;
        ChoosePixelFormat(codec, encoder);
        if (Fintra_only) codec->gop_size = 0;
        if (Fvideo_qscale != 0 || Fsame_quality) {
            codec->flags |= AV_CODEC_FLAG_QSCALE;
            codec->global_quality = static_cast<int>(FF_QP2LAMBDA * Fvideo_qscale);
        }
        codec->intra_matrix = CopyMatrix(Fintra_matrix);
        codec->inter_matrix = CopyMatrix(Finter_matrix);
        std::vector<RcOverride> overrides;
        try {
            overrides = ParseRcOverride(Fvideo_rc_override_string);
        } catch (...) {
            Fvideo_codec_name.clear();
            throw;
        }
        if (!overrides.empty()) {
            codec->rc_override =
                static_cast<RcOverride*>(avutil::av_malloc(sizeof(RcOverride) * overrides.size()));
            if (codec->rc_override) {
                std::copy(overrides.begin(), overrides.end(), codec->rc_override);
                codec->rc_override_count = static_cast<int>(overrides.size());
            }
        }
        if (codec->rc_initial_buffer_occupancy == 0)
            codec->rc_initial_buffer_occupancy = codec->rc_buffer_size * 3 / 4;
        codec->intra_dc_precision = Fintra_dc_precision - 8;
        if (Fdo_psnr) codec->flags |= AV_CODEC_FLAG_PSNR;
        if (Fdo_pass == 1) codec->flags |= AV_CODEC_FLAG_PASS1;
        if (Fdo_pass == 2) codec->flags |= AV_CODEC_FLAG_PASS2;
    }
    EndStream(created, Fvideo_codec_name, Fvideo_language);
    Fvideo_disable = false;
    Fvideo_stream_copy = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::new_audio_stream(AVFormatContext* oc) {
    TNewStream created{};
    try {
        created = BeginStream(oc, AVMEDIA_TYPE_AUDIO, Faudio_codec_name, Faudio_stream_copy,
                              Faudio_bitstream_filters);
    } catch (...) {
        Faudio_language.clear();
        throw;
    }
    AVStream* st = created.Stream;
    AVCodecContext* codec = created.Codec;
    if (Faudio_codec_tag) codec->codec_tag = Faudio_codec_tag;
    if (oc->oformat->flags & AVFMT_GLOBALHEADER) {
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (AVCodecContext* defaults = FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO])
            defaults->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    // A layout whose channel count disagrees counts as none: the default
    // layout of the channel count then.
    if (Fchannel_layout != 0 && std::popcount(static_cast<uint64_t>(Fchannel_layout)) == Faudio_channels) {
        avutil::av_channel_layout_from_mask(&codec->ch_layout, static_cast<uint64_t>(Fchannel_layout));
    } else {
        avutil::av_channel_layout_default(&codec->ch_layout, Faudio_channels);
    }
    codec->sample_rate = Faudio_sample_rate;
    if (!Faudio_stream_copy) {
        if (Faudio_qscale > -99999.0f) {
            codec->flags |= AV_CODEC_FLAG_QSCALE;
            codec->global_quality = static_cast<int>(FF_QP2LAMBDA * Faudio_qscale);
        }
        codec->sample_fmt = Faudio_sample_fmt;
        ChooseSampleFormat(codec, created.Encoder);
        ChooseSampleRate(codec, created.Encoder);
    }
    // The rate the encoder really runs at: its sample counts are the time stamps.
    codec->time_base = {1, codec->sample_rate};
    st->time_base = codec->time_base;
    EndStream(created, Faudio_codec_name, Faudio_language);
    Faudio_disable = false;
    Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(AVFormatContext* oc) {
    const TNewStream created = BeginStream(oc, AVMEDIA_TYPE_SUBTITLE, Fsubtitle_codec_name,
                                           Fsubtitle_stream_copy, Fsubtitle_bitstream_filters);
    if (Fsubtitle_codec_tag) created.Codec->codec_tag = Fsubtitle_codec_tag;
    EndStream(created, Fsubtitle_codec_name, Fsubtitle_language);
    Fsubtitle_disable = false;
    Fsubtitle_stream_copy = 0;
}
