// The set-up and tear-down of one conversion: the tables that connect input
// streams to output streams, the codecs of every stream (copied or encoded),
// the two-pass statistics files, the metadata and chapters, and the headers.
#include <algorithm>
#include <climits>
#include <cstring>

#include "media/avcodecstubs.h"
#include "media/avfilterstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/myutilstubs.h"
#include "media/swresamplestubs.h"
#include "media/swscalestubs.h"
#include "media/unicodeprotocol.h"

// --- Owners ---

void TFrameFree::operator()(AVFrame* AFrame) const {
    avutil::av_frame_free(&AFrame);
}

void TSwrFree::operator()(SwrContext* AContext) const {
    swresample::swr_free(&AContext);
}

void TSwsFree::operator()(SwsContext* AContext) const {
    swscale::sws_freeContext(AContext);
}

void TFifoFree::operator()(AVAudioFifo* AFifo) const {
    avutil::av_audio_fifo_free(AFifo);
}

void TBsfFree::operator()(AVBSFContext* AContext) const {
    avcodec::av_bsf_free(&AContext);
}

void TGraphFree::operator()(AVFilterGraph* AGraph) const {
    avfilter::avfilter_graph_free(&AGraph);
}

void TFileClose::operator()(FILE* AFile) const {
    myutil::fclose(AFile);
}

TFramePtr NewFrame() {
    TFramePtr frame(avutil::av_frame_alloc());
    if (!frame) throw FFmpegException(u"av_frame_alloc fail");
    return frame;
}

TConversion::~TConversion() {
    avcodec::av_packet_free(&packet);
    avcodec::av_packet_free(&out_packet);
}

bool SubtitleKindsMatch(AVCodecID AEncoder, AVCodecID ASource) {
    const auto kind = [](AVCodecID AId) {
        const AVCodecDescriptor* descriptor = avcodec::avcodec_descriptor_get(AId);
        return descriptor ? descriptor->props & (AV_CODEC_PROP_BITMAP_SUB | AV_CODEC_PROP_TEXT_SUB) : 0;
    };
    const int encoder = kind(AEncoder), source = kind(ASource);
    return !encoder || !source || (encoder & source);
}

AVChannelLayout KnownLayout(const AVChannelLayout& ALayout) {
    AVChannelLayout layout{};
    if (ALayout.order == AV_CHANNEL_ORDER_UNSPEC) {
        avutil::av_channel_layout_default(&layout, ALayout.nb_channels);
    } else {
        avutil::av_channel_layout_copy(&layout, &ALayout);
    }
    return layout;
}

namespace {

String StreamTypeName(const AVCodecContext* AContext) {
    return MediaTypeName(AContext->codec_type);
}

bool InProgram(const AVFormatContext* ic, Integer AProgram, Integer AStream) {
    for (unsigned i = 0; i < ic->nb_programs; ++i) {
        const AVProgram* program = ic->programs[i];
        if (program->id != AProgram) continue;
        for (unsigned j = 0; j < program->nb_stream_indexes; ++j)
            if (static_cast<Integer>(program->stream_index[j]) == AStream) return true;
    }
    return false;
}

// The name's bytes for the C runtime, cut as the classic buffer cut them.
AnsiString PassLogFileName(const AnsiString& APrefix, Integer AIndex) {
    AnsiString name = APrefix + "-" + std::to_string(AIndex) + ".log";
    if (name.size() >= 1024) name.resize(1023);
    return name;
}

// Encoders that keep their statistics in a file of their own name it with
// this private option.
bool KeepsOwnStatistics(const AVCodec* ACodec) {
    const AVClass* privateClass = ACodec ? ACodec->priv_class : nullptr;
    return privateClass &&
           avutil::av_opt_find2(&privateClass, "stats", nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ, nullptr);
}

}  // namespace

// --- Stream tables ---

void TCustomFFmpeg::BuildInputStreamTable() {
    TConversion& c = *FConversion;
    c.files.assign(Fnb_input_files, {});
    for (Integer i = 0; i < Fnb_input_files; ++i) {
        AVFormatContext* ic = Finput_files[i];
        const TInputFileSetup& setup = InputSetup(ic);
        c.files[i].ist_index = static_cast<Integer>(c.ist_table.size());
        c.files[i].nb_streams = static_cast<Integer>(setup.Codecs.size());
        for (Integer k = 0; k < c.files[i].nb_streams; ++k) {
            auto ist = std::make_unique<TAVInputStream>();
            ist->st = ic->streams[k];
            ist->dec = setup.Codecs[k];
            ist->file_index = i;
            ist->index = k;
            if (ist->dec->codec_type == AVMEDIA_TYPE_VIDEO) {
                const TDisplayTurn turn = DisplayTurn(StreamDisplayMatrix(ist->st));
                ist->upright_filters = turn.Filters;
                ist->upright_swaps = turn.Swaps;
            }
            if (Frate_emu) ist->start = avutil::av_gettime();
            c.ist_table.push_back(std::move(ist));
        }
    }
    c.no_packet.assign(Fnb_input_files, false);
    c.no_packet_count = 0;
}

void TCustomFFmpeg::BuildOutputStreamTable() {
    TConversion& c = *FConversion;
    Integer count = 0;
    for (Integer i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        if (oc->nb_streams == 0) {
            avformat::av_dump_format(oc, i, oc->url, 1);
            throw FFmpegException(u"Output file #%d does not contain any stream", {i});
        }
        count += static_cast<Integer>(oc->nb_streams);
    }
    c.per = static_cast<Integer>(Foutput_files[0]->nb_streams);

    if (Fnb_stream_maps > 0) {
        if (Fnb_stream_maps != count)
            throw FFmpegException(u"Number of stream maps must match number of output streams");
        const auto valid = [&](Integer AFile, Integer AStream) {
            return AFile >= 0 && AFile < Fnb_input_files && AStream >= 0 &&
                   AStream < c.files[AFile].nb_streams;
        };
        for (Integer i = 0; i < Fnb_stream_maps; ++i) {
            const TAVStreamMap& map = Fstream_maps[i];
            if (!valid(map.file_index, map.stream_index))
                throw FFmpegException(u"Could not find input stream #%d.%d",
                                      {map.file_index, map.stream_index});
            if (!valid(map.sync_file_index, map.sync_stream_index))
                throw FFmpegException(u"Could not find sync stream #%d.%d",
                                      {map.sync_file_index, map.sync_stream_index});
        }
    }
    for (Integer i = 0; i < count; ++i)
        c.ost_table.push_back(std::make_unique<TAVOutputStream>());
    MapOutputStreams();
    SetupOutputCodecs();
}

void TCustomFFmpeg::MapOutputStreams() {
    TConversion& c = *FConversion;
    Integer n = 0;
    for (Integer j = 0; j < Fnb_output_files; ++j) {
        AVFormatContext* oc = Foutput_files[j];
        for (unsigned k = 0; k < oc->nb_streams; ++k, ++n) {
            TAVOutputStream& ost = *c.ost_table[n];
            ost.file_index = j;
            ost.index = static_cast<Integer>(k);
            ost.oc = oc;
            ost.st = oc->streams[k];
            ost.setup = &OutputSetup(oc).Streams[k];
            ost.enc = ost.setup->Codec;
            Integer source;
            TAVInputStream* sync;
            if (Fnb_stream_maps > 0) {
                source = ApplyStreamMap(n, ost);
                const TAVStreamMap& map = Fstream_maps[n];
                sync = c.ist_table[c.files[map.sync_file_index].ist_index + map.sync_stream_index].get();
            } else {
                source = FindSourceStream(ost);
                sync = c.ist_table[source].get();
            }
            ost.source_index = source;
            c.ist_table[source]->discard = 0;
            ost.sync_ist = sync;
            ost.show_fps = 1;
        }
    }
}

Integer TCustomFFmpeg::ApplyStreamMap(Integer AMap, const TAVOutputStream& AStream) {
    const TConversion& c = *FConversion;
    const TAVStreamMap& map = Fstream_maps[AMap];
    const Integer source = c.files[map.file_index].ist_index + map.stream_index;
    const AVCodecContext* dec = c.ist_table[source]->dec;
    if (dec->codec_type != AStream.enc->codec_type) {
        avformat::av_dump_format(AStream.oc, AStream.file_index, AStream.oc->url, 1);
        throw FFmpegException(u"Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                              {map.file_index, map.stream_index, StreamTypeName(dec), AStream.file_index,
                               AStream.index, StreamTypeName(AStream.enc)});
    }
    return source;
}

Integer TCustomFFmpeg::FindSourceStream(const TAVOutputStream& AStream) {
    const TConversion& c = *FConversion;
    const AVMediaType type = AStream.enc->codec_type;
    const bool subtitleEncoded = type == AVMEDIA_TYPE_SUBTITLE && !AStream.setup->StreamCopy;
    const auto count = static_cast<Integer>(c.ist_table.size());
    // The frames seen while probing are no longer public: a file's best
    // stream of the type (the library's ranking) wins, else the first.
    Integer found = -1;
    bool foundBest = false;
    for (Integer n = 0; n < count; ++n) {
        const TAVInputStream& ist = *c.ist_table[n];
        const AVFormatContext* ic = Finput_files[ist.file_index];
        if (Fopt_programid != 0 && !InProgram(ic, Fopt_programid, ist.index)) continue;
        if (ist.discard != 1 || ist.st->discard == AVDISCARD_ALL || ist.dec->codec_type != type) continue;
        if (FJoinMode && ist.file_index != AStream.file_index) continue;
        if (subtitleEncoded && !SubtitleKindsMatch(AStream.enc->codec_id, ist.dec->codec_id)) continue;
        const bool best = avformat::av_find_best_stream(const_cast<AVFormatContext*>(ic), type, -1, -1,
                                                        nullptr, 0) == ist.index;
        if (found < 0 || (best && !foundBest)) {
            found = n;
            foundBest = best;
        }
    }
    if (found < 0 && Fopt_programid == 0 && !FJoinMode) {
        for (Integer n = count - 1; n >= 0 && found < 0; --n) {
            const TAVInputStream& ist = *c.ist_table[n];
            if (ist.dec->codec_type == type && ist.st->discard != AVDISCARD_ALL) found = n;
        }
    }
    if (found < 0) {
        avformat::av_dump_format(AStream.oc, AStream.file_index, AStream.oc->url, 1);
        throw FFmpegException(u"Could not find input stream matching output stream #%d.%d (%s)",
                              {AStream.file_index, AStream.index, StreamTypeName(AStream.enc)});
    }
    return found;
}

void TCustomFFmpeg::SetupOutputCodecs() {
    TConversion& c = *FConversion;
    for (Integer i = 0; i < static_cast<Integer>(c.ost_table.size()); ++i) {
        TAVOutputStream& ost = *c.ost_table[i];
        TAVInputStream& ist = *c.ist_table[ost.source_index];
        ost.encoding_needed = ost.setup->StreamCopy ? 0 : 1;
        // A later join segment writes the same stream with the same encoder:
        // only its source needs decoding (and filtering).
        if (FJoinMode && ost.file_index > 0) {
            const TAVOutputStream& first = *c.ost_table[i % c.per];
            ost.skipped = first.skipped;
            ost.packet_time_base = ost.encoding_needed ? first.packet_time_base : ist.st->time_base;
            if (ost.encoding_needed && !ost.skipped) {
                ist.decoding_needed = 1;
                if (FEnableFilter && ost.enc->codec_type == AVMEDIA_TYPE_VIDEO) OpenFilters(ist, ost);
            }
            continue;
        }
        avutil::av_dict_copy(&ost.st->metadata, ist.st->metadata, AV_DICT_DONT_OVERWRITE);
        ost.st->disposition = ist.st->disposition;
        ost.enc->bits_per_raw_sample = ist.dec->bits_per_raw_sample;
        ost.enc->chroma_sample_location = ist.dec->chroma_sample_location;
        if (ost.setup->StreamCopy) {
            SetupStreamCopy(ost, ist);
        } else {
            SetupEncoding(i, ost, ist);
        }
    }
}

void TCustomFFmpeg::SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist) {
    const AVCodecParameters* input = ist.st->codecpar;
    if (input->extradata_size > INT_MAX - 8)
        throw FFmpegException(u"icodec.extradata_size is invalid (too large)");
    AVCodecParameters* par = ost.st->codecpar;
    uint32_t tag = ost.enc->codec_tag;
    if (avcodec::avcodec_parameters_copy(par, input) < 0) throw FFmpegException(u"av_mallocz fail");
    if (!tag) {
        const AVCodecTag* const* tags = ost.oc->oformat->codec_tag;
        if (!tags || avformat::av_codec_get_id(tags, input->codec_tag) == input->codec_id ||
            avformat::av_codec_get_tag(tags, input->codec_id) == 0)
            tag = input->codec_tag;
    }
    par->codec_tag = tag;

    const AVRational codecBase = avformat::av_stream_get_codec_timebase(ist.st);
    const Integer ticks = std::max(ist.dec->ticks_per_frame, 1);
    AVRational base = ist.st->time_base;
    if (codecBase.den != 0 && av_q2d(codecBase) * ticks > av_q2d(ist.st->time_base) &&
        av_q2d(ist.st->time_base) < 1.0 / 1000) {
        avutil::av_reduce(&base.num, &base.den, static_cast<Int64>(codecBase.num) * ticks, codecBase.den,
                          INT_MAX);
    }
    ost.st->time_base = base;
    ost.packet_time_base = ist.st->time_base;
    // The packets stay as they were, and so does what players are told of
    // them: the display matrix above all.
    for (int i = 0; i < ist.st->nb_side_data; ++i) {
        const AVPacketSideData& side = ist.st->side_data[i];
        uint8_t* data = avformat::av_stream_new_side_data(ost.st, side.type, side.size);
        if (!data) throw FFmpegException(u"av_mallocz fail");
        std::memcpy(data, side.data, side.size);
    }

    switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            if (FOnCustomHook)
                throw FFmpegException(
                    u"-vcodec copy and CustomHook are incompatible (frames are not decoded)");
            if (Fusing_vhook)
                throw FFmpegException(u"-vcodec copy and -vhook are incompatible (frames are not decoded)");
            if (!PostHooks().Empty())
                throw FFmpegException(
                    u"-vcodec copy and PostHooks are incompatible (frames are not decoded)");
            ost.st->avg_frame_rate = ist.st->avg_frame_rate;
            ost.st->r_frame_rate = ist.st->r_frame_rate;
            if (ost.st->sample_aspect_ratio.num == 0)
                ost.st->sample_aspect_ratio = ist.st->sample_aspect_ratio;
            par->sample_aspect_ratio = ost.st->sample_aspect_ratio;
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            if (Faudio_volume != 256)
                throw FFmpegException(u"-acodec copy and -vol are incompatible (frames are not decoded)");
            if ((par->block_align == 1 && par->codec_id == AV_CODEC_ID_MP3) ||
                par->codec_id == AV_CODEC_ID_AC3)
                par->block_align = 0;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            break;
        default:
            throw FFmpegException(u"invalid codec_type of output stream");
    }
}

void TCustomFFmpeg::SetupEncoding(Integer AIndex, TAVOutputStream& ost, TAVInputStream& ist) {
    AVCodecContext* enc = ost.enc;
    const AVCodecContext* dec = ist.dec;
    TOutputCoding& coding = ost.coding;
    ost.packet_time_base = enc->time_base;
    switch (enc->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            coding.audio_resample = enc->sample_rate != dec->sample_rate || Faudio_sync_method > 1;
            break;
        case AVMEDIA_TYPE_VIDEO: {
            if (enc->pix_fmt == AV_PIX_FMT_NONE)
                throw FFmpegException(u"Video pixel format is unknown, stream cannot be encoded");
            // Pictures reach the outputs upright.
            const Integer width = ist.Width() - Fframe_leftBand - Fframe_rightBand;
            const Integer height = ist.Height() - Fframe_topBand - Fframe_bottomBand;
            coding.video_crop = Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand != 0;
            coding.video_resample =
                width != enc->width || height != enc->height || dec->pix_fmt != enc->pix_fmt;
            if (coding.video_crop) {
                coding.topBand = coding.original_topBand = Fframe_topBand;
                coding.bottomBand = coding.original_bottomBand = Fframe_bottomBand;
                coding.leftBand = coding.original_leftBand = Fframe_leftBand;
                coding.rightBand = coding.original_rightBand = Fframe_rightBand;
            }
            if (coding.video_resample) {
                Int64 flags = 0;
                if (FOptions.sws_opts &&
                    avutil::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &flags) >= 0)
                    Fsws_flags = static_cast<Cardinal>(flags);
                if (!FEnableFilter) {
                    coding.img_resample_ctx.reset(MakeScaler(width, height, dec->pix_fmt, enc->width,
                                                             enc->height, enc->pix_fmt, Fsws_flags));
                    if (!coding.img_resample_ctx) throw FFmpegException(u"Cannot get resampling context");
                    coding.original_height = ist.Height();
                    coding.original_width = ist.Width();
                }
                enc->bits_per_raw_sample = 0;
            }
            coding.resample_height = height;
            coding.resample_width = width;
            coding.resample_pix_fmt = dec->pix_fmt;
            if (FEnableFilter) OpenFilters(ist, ost);
            break;
        }
        case AVMEDIA_TYPE_SUBTITLE:
            // Pictures cannot become text nor text pictures.
            if (!SubtitleKindsMatch(enc->codec_id, dec->codec_id)) {
                GetLogger()->Log(
                    this, llWarning,
                    Format(u"Subtitle stream #%d.%d is left empty: %s cannot encode %s subtitles",
                           {ost.file_index, ost.index, CodecNameText(enc, true), CodecNameText(dec, false)}));
                ost.skipped = true;
                return;
            }
            enc->time_base = {1, 1000000};
            ost.packet_time_base = enc->time_base;
            break;
        default:
            throw FFmpegException(u"invalid codec_type of output stream");
    }
    ist.decoding_needed = 1;
    if (enc->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)) OpenPassLogFile(AIndex, ost);
}

void TCustomFFmpeg::OpenPassLogFile(Integer AIndex, TAVOutputStream& ost) {
    // Without a prefix of its own a task names its statistics after its
    // output, so that two tasks running at once never share a file.
    const AnsiString prefix =
        !Fpass_logfilename_prefix.empty()
            ? Fpass_logfilename_prefix
            : StringToUTF8(FFmpegFileNameToWide(Foutput_files[0]->url)) + "-ffmpeg2pass";
    const AnsiString name = PassLogFileName(prefix, AIndex);
    const AVCodec* codec = AIndex < static_cast<Integer>(Foutput_codecs.size()) && Foutput_codecs[AIndex]
                               ? Foutput_codecs[AIndex]
                               : avcodec::avcodec_find_encoder(ost.enc->codec_id);
    if (KeepsOwnStatistics(codec)) {
        avutil::av_dict_set(&ost.setup->CodecOptions, "stats", name.c_str(), AV_DICT_DONT_OVERWRITE);
        return;
    }
    if (ost.enc->flags & AV_CODEC_FLAG_PASS1) {
        ost.coding.logfile.reset(myutil::fopen(name.c_str(), "wb"));
        if (!ost.coding.logfile)
            throw FFmpegException(u"Cannot write log file %s for pass-1 encoding", {UTF8ToString(name)});
        return;
    }
    char* buffer = nullptr;
    Integer size = 0;
    const Integer result = ReadWholeFile(name.c_str(), buffer, size);
    if (result == AVERROR(ENOMEM))
        throw FFmpegException(
            u"Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding",
            {UTF8ToString(name)});
    if (result < 0)
        throw FFmpegException(u"Cannot read file: Error reading log file \"%s\" for pass-2 encoding",
                              {UTF8ToString(name)});
    avutil::av_freep(&ost.enc->stats_in);
    ost.enc->stats_in = buffer;
}

// --- Codecs ---

void TCustomFFmpeg::OpenEncoders() {
    TConversion& c = *FConversion;
    const auto count = FJoinMode ? c.per : static_cast<Integer>(c.ost_table.size());
    for (Integer i = 0; i < count; ++i) {
        TAVOutputStream& ost = *c.ost_table[i];
        if (!ost.encoding_needed || ost.skipped) continue;
        AVCodecContext* enc = ost.enc;
        const AVCodec* codec = i < static_cast<Integer>(Foutput_codecs.size()) && Foutput_codecs[i]
                                   ? Foutput_codecs[i]
                                   : avcodec::avcodec_find_encoder(enc->codec_id);
        const auto fail = [&](const String& AMessage) {
            LogStreamMapping();
            throw FFmpegException(AMessage);
        };
        if (!codec)
            fail(Format(
                u"Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                {static_cast<Integer>(enc->codec_id), ost.file_index, ost.index, StreamTypeName(enc)}));
        // Text subtitles are encoded with the header their decoder made.
        const AVCodecContext* dec = c.ist_table[ost.source_index]->dec;
        if (enc->codec_type == AVMEDIA_TYPE_SUBTITLE && dec->subtitle_header && !enc->subtitle_header) {
            enc->subtitle_header = static_cast<uint8_t*>(avutil::av_mallocz(dec->subtitle_header_size + 1));
            if (enc->subtitle_header) {
                std::memcpy(enc->subtitle_header, dec->subtitle_header, dec->subtitle_header_size);
                enc->subtitle_header_size = dec->subtitle_header_size;
            }
        }
        AVDictionary* options = nullptr;
        avutil::av_dict_copy(&options, ost.setup->CodecOptions, 0);
        Integer opened;
        {
            TCriticalSectionGuard guard(CodecLock);
            if (FJoinMode) ost.codec_id = enc->codec_id;
            opened = avcodec::avcodec_open2(enc, codec, &options);
        }
        // The per-type options serve every encoder of the type: the rest
        // were meant for others.
        for (const AVDictionaryEntry* entry = nullptr;
             (entry = avutil::av_dict_get(options, "", entry, AV_DICT_IGNORE_SUFFIX));)
            GetLogger()->Log(this, llInfo,
                             Format(u"Option %s=%s was not taken by encoder %s",
                                    {UTF8ToString(entry->key), UTF8ToString(entry->value), codec->name}));
        avutil::av_dict_free(&options);
        if (opened < 0)
            fail(Format(
                u"Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect parameters "
                u"such as bit_rate, rate, width or height. Please check error log message to find out "
                u"more detail information.",
                {ost.file_index, ost.index, StreamTypeName(enc)}));
        FEncoderList.insert(FEncoderList.begin(), enc);
        Fextra_size += enc->extradata_size;
        if (avcodec::avcodec_parameters_from_context(ost.st->codecpar, enc) < 0)
            throw FFmpegException(u"av_mallocz fail");
        if (enc->codec_type == AVMEDIA_TYPE_AUDIO) {
            ost.coding.fifo.reset(
                avutil::av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 1024));
            if (!ost.coding.fifo) throw FFmpegException(u"av_fifo_alloc fail");
            ost.coding.audio_frame = NewFrame();
        }
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO) ost.coding.enc_frame = NewFrame();
    }
}

void TCustomFFmpeg::OpenDecoders() {
    TConversion& c = *FConversion;
    for (Integer n = 0; n < static_cast<Integer>(c.ist_table.size()); ++n) {
        TAVInputStream& ist = *c.ist_table[n];
        if (!ist.decoding_needed) continue;
        AVCodecContext* dec = ist.dec;
        const AVCodec* codec = n < static_cast<Integer>(Finput_codecs.size()) && Finput_codecs[n]
                                   ? Finput_codecs[n]
                                   : avcodec::avcodec_find_decoder(dec->codec_id);
        const auto fail = [&](const char16_t* AFormat, TVarRecs AArgs) {
            LogStreamMapping();
            const String message = Format(AFormat, AArgs);
            throw FFmpegException(message);
        };
        if (!codec)
            fail(u"Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                 {static_cast<Integer>(dec->codec_id), ist.file_index, ist.index, StreamTypeName(dec)});
        dec->pkt_timebase = ist.st->time_base;
        Integer opened;
        {
            TCriticalSectionGuard guard(CodecLock);
            opened = avcodec::avcodec_open2(dec, codec, nullptr);
        }
        if (opened < 0)
            fail(u"Error while opening decoder for input stream #%d.%d (%s)",
                 {ist.file_index, ist.index, StreamTypeName(dec)});
        FDecoderList.insert(FDecoderList.begin(), dec);
        ist.frame = NewFrame();
    }
}

void TCustomFFmpeg::InitInputTimestamps() {
    for (const auto& ist : FConversion->ist_table) {
        const AVRational rate = ist->st->avg_frame_rate;
        ist->pts = rate.num != 0 && rate.den != 0
                       ? -Round(static_cast<double>(ist->dec->has_b_frames) * 1000000 / av_q2d(rate))
                       : 0;
        ist->next_pts = AV_NOPTS_VALUE;
        ist->is_start = 1;
    }
}

void TCustomFFmpeg::ApplyMetadataMaps() {
    for (Integer i = 0; i < Fnb_meta_data_maps; ++i) {
        const TAVMetaDataMap& map = Fmeta_data_maps[i];
        const auto fail = [&](const char16_t* AFormat, Integer AIndex) {
            LogStreamMapping();
            const String message = Format(AFormat, {AIndex, map.out_file, map.in_file});
            throw FFmpegException(message);
        };
        if (map.out_file < 0 || map.out_file >= Fnb_output_files)
            fail(u"Invalid output file index %d map_meta_data(%d,%d)", map.out_file);
        if (map.in_file < 0 || map.in_file >= Fnb_input_files)
            fail(u"Invalid input file index %d map_meta_data(%d,%d)", map.in_file);
        // The muxers map the keys to their own names themselves now.
        avutil::av_dict_copy(&Foutput_files[map.out_file]->metadata, Finput_files[map.in_file]->metadata,
                             AV_DICT_DONT_OVERWRITE);
    }
}

void TCustomFFmpeg::CopyAllChapters() {
    const Integer outputs = FJoinMode ? 1 : Fnb_output_files;
    for (Integer i = 0; i < Fnb_input_files; ++i) {
        const AVFormatContext* ic = Finput_files[i];
        for (Integer j = 0; j < outputs && ic->nb_chapters > 0; ++j) {
            AVFormatContext* oc = Foutput_files[j];
            for (unsigned k = 0; k < ic->nb_chapters; ++k) {
                const AVChapter* in = ic->chapters[k];
                const Int64 offset = avutil::av_rescale_q(Fstart_time - Finput_files_ts_offset[i],
                                                          AV_TIME_BASE_Q, in->time_base);
                const bool limited = Frecording_time != INT64_MAX;
                const Int64 limit = limited
                                        ? avutil::av_rescale_q(Frecording_time, AV_TIME_BASE_Q, in->time_base)
                                        : INT64_MAX;
                if (in->end < offset) continue;
                if (limited && in->start > limit + offset) break;
                auto* out = static_cast<AVChapter*>(avutil::av_mallocz(sizeof(AVChapter)));
                if (!out) throw FFmpegException(u"av_mallocz fail");
                out->id = in->id;
                out->time_base = in->time_base;
                out->start = std::max<Int64>(0, in->start - offset);
                out->end = limited ? std::min(limit, in->end - offset) : in->end - offset;
                avutil::av_dict_copy(&out->metadata, in->metadata, 0);
                auto* chapters = static_cast<AVChapter**>(
                    avutil::av_realloc(oc->chapters, sizeof(AVChapter*) * (oc->nb_chapters + 1)));
                if (!chapters) {
                    avutil::av_dict_free(&out->metadata);
                    avutil::av_free(out);
                    throw FFmpegException(u"av_realloc fail");
                }
                oc->chapters = chapters;
                oc->chapters[oc->nb_chapters++] = out;
            }
        }
    }
}

void TCustomFFmpeg::WriteHeaders() {
    TConversion& c = *FConversion;
    // Bitstream filters take the stream's final parameters and may change them.
    for (auto& owned : c.ost_table) {
        TAVOutputStream& ost = *owned;
        if (ost.skipped || (FJoinMode && ost.file_index > 0)) continue;
        AVRational base = ost.packet_time_base;
        for (const TBitstreamFilterItem& item : ost.setup->BitstreamFilters) {
            AVBSFContext* bsf = nullptr;
            if (avcodec::av_bsf_alloc(item.Filter, &bsf) < 0) throw FFmpegException(u"av_mallocz fail");
            ost.coding.bsfs.emplace_back(bsf);
            avcodec::avcodec_parameters_copy(bsf->par_in, ost.st->codecpar);
            bsf->time_base_in = base;
            Integer result = 0;
            if (!item.Args.empty() && bsf->priv_data)
                result = avutil::av_set_options_string(bsf->priv_data, item.Args.c_str(), "=", ":");
            if (result >= 0) result = avcodec::av_bsf_init(bsf);
            if (result < 0)
                throw FFmpegException(AVErrorText(
                    Format(
                        u"%s failed for stream %d, codec %s",
                        {item.Filter->name, ost.index, ost.encoding_needed ? ost.enc->codec->name : "copy"}),
                    result));
            avcodec::avcodec_parameters_copy(ost.st->codecpar, bsf->par_out);
            base = bsf->time_base_out;
        }
    }
    const Integer outputs = FJoinMode ? 1 : Fnb_output_files;
    bool allRtp = true;
    for (Integer i = 0; i < outputs; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        AVDictionary* options = nullptr;
        avutil::av_dict_copy(&options, OutputSetup(oc).MuxOptions, 0);
        const Integer result = avformat::avformat_write_header(oc, &options);
        // Muxer options another muxer would have taken are expected here.
        avutil::av_dict_free(&options);
        if (result < 0) {
            LogStreamMapping();
            const String message =
                Format(u"Could not write header for output file #%d (incorrect codec parameters ?)", {i});
            throw FFmpegException(message);
        }
        allRtp = allRtp && std::strcmp(oc->oformat->name, "rtp") == 0;
    }
    c.headers_written = true;
    if (allRtp) {
        char sdp[2048];
        avformat::av_sdp_create(Foutput_files.data(), outputs, sdp, sizeof sdp);
        GetLogger()->Log(this, llInfo, u"SDP:\r\n" + Trim(UTF8ToString(sdp)));
    }
}

void TCustomFFmpeg::LogStreamMapping() {
    const TConversion& c = *FConversion;
    const Integer outputs = FJoinMode ? 1 : Fnb_output_files;
    for (Integer i = 0; i < outputs; ++i)
        avformat::av_dump_format(Foutput_files[i], i, Foutput_files[i]->url, 1);
    if (Fverbose < 0) return;
    GetLogger()->Log(this, llVerbose, u"Stream mapping:");
    for (const auto& ost : c.ost_table) {
        if (!ost->enc) continue;
        const TAVInputStream& ist = *c.ist_table[ost->source_index];
        String line = Format(u"  Stream #%d.%d -> #%d.%d (%s)",
                             {ist.file_index, ist.index, FJoinMode ? 0 : ost->file_index, ost->index,
                              StreamTypeName(ost->enc)});
        if (ost->sync_ist && ost->sync_ist != &ist)
            line += Format(u" [sync #%d.%d (%s)]", {ost->sync_ist->file_index, ost->sync_ist->index,
                                                    StreamTypeName(ost->sync_ist->dec)});
        GetLogger()->Log(this, llVerbose, line);
    }
}

void TCustomFFmpeg::CloseEncoders() {
    TConversion& c = *FConversion;
    const auto count = FJoinMode ? c.per : static_cast<Integer>(c.ost_table.size());
    for (Integer i = 0; i < count; ++i) {
        TAVOutputStream& ost = *c.ost_table[i];
        const auto listed = std::find(FEncoderList.begin(), FEncoderList.end(), ost.enc);
        if (!ost.encoding_needed || listed == FEncoderList.end()) continue;
        FEncoderList.erase(listed);
        avutil::av_freep(&ost.enc->stats_in);
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_close(ost.enc);
    }
}

void TCustomFFmpeg::CloseDecoders() {
    for (const auto& ist : FConversion->ist_table) {
        const auto listed = std::find(FDecoderList.begin(), FDecoderList.end(), ist->dec);
        if (!ist->decoding_needed || listed == FDecoderList.end()) continue;
        FDecoderList.erase(listed);
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_close(ist->dec);
    }
}

void TCustomFFmpeg::FreeStreamTables() {
    FConversion.reset();
}

void TCustomFFmpeg::ClearNoPacketFlags() {
    TConversion& c = *FConversion;
    std::fill(c.no_packet.begin(), c.no_packet.end(), false);
    c.no_packet_count = 0;
}
