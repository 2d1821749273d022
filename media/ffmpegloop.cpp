// The conversion itself: the set-up, the packet loop that reads the inputs,
// corrects their timestamps and decodes them, the hand-over of decoded data
// to the outputs, the copied packets, and the muxing of everything written.
#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavutil/intreadwrite.h>
}

#include "media/avcodecstubs.h"
#include "media/avfilterstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/myutilstubs.h"
#include "media/swresamplestubs.h"

namespace {

bool IsTryAgainOrEnd(Integer AResult) {
    return AResult == AVERROR(EAGAIN) || AResult == AVERROR_EOF;
}

}  // namespace

void TCustomFFmpeg::RunConversion() {
    FConversion = std::make_unique<TConversion>();
    FQPHistogram.fill(0);
    try {
        TConversion& c = *FConversion;
        c.packet = avcodec::av_packet_alloc();
        c.out_packet = avcodec::av_packet_alloc();
        if (!c.packet || !c.out_packet) throw FFmpegException(u"av_mallocz fail");
        ResumeInputFiles();
        BuildInputStreamTable();
        BuildOutputStreamTable();
        // Decoders first: a text subtitle encoder starts from the header its
        // decoder makes.
        OpenDecoders();
        OpenEncoders();
        InitInputTimestamps();
        ApplyMetadataMaps();
        CopyAllChapters();
        OpenOutputFiles();
        WriteHeaders();
        LogStreamMapping();
        RunPacketLoop();
        CloseEncoders();
        CloseDecoders();
        FFinished = !FBroken;
        FreeStreamTables();
    } catch (...) {
        FreeStreamTables();
        throw;
    }
}

double TCustomFFmpeg::OutputTime(const TAVOutputStream& ost) const {
    if (ost.encoding_needed && !ost.skipped && ost.enc->codec_type != AVMEDIA_TYPE_SUBTITLE)
        return static_cast<double>(ost.coding.sync_opts) * av_q2d(ost.enc->time_base);
    return ost.coding.cur_time;
}

void TCustomFFmpeg::RunPacketLoop() {
    TConversion& c = *FConversion;
    Ftimer_start = avutil::av_gettime();
    FLastReport = Ftimer_start;
    c.file_index = 0;
    ClearNoPacketFlags();
    AVPacket* pkt = c.packet;
    const auto maxFrames = [this](const TAVOutputStream& ost) {
        const Integer type = ost.enc->codec_type;
        return type >= 0 && type < 4 && ost.coding.frame_number >= Fmax_frames[type];
    };

    while (!FBroken) {
        // A log handler that raised inside the libraries ends the conversion here.
        RethrowLogFailure();
        WaitWhilePaused();
        if (FBroken) break;
        Integer file_index = -1;
        if (FJoinMode) {
            file_index = c.file_index;
            for (Integer k = 0; k < c.per; ++k)
                if (maxFrames(*c.ost_table[file_index * c.per + k])) file_index = -1;
        } else {
            double ipts_min = 1e100, opts_min = 1e100;
            for (const auto& owned : c.ost_table) {
                const TAVOutputStream& ost = *owned;
                const TAVInputStream& ist = *c.ist_table[ost.source_index];
                if (ist.is_past_recording_time || c.no_packet[ist.file_index]) continue;
                const double opts = OutputTime(ost);
                const auto ipts = static_cast<double>(ist.pts);
                if (!c.files[ist.file_index].eof_reached) {
                    if (ipts < ipts_min) {
                        ipts_min = ipts;
                        if (Finput_sync) file_index = ist.file_index;
                    }
                    if (opts < opts_min) {
                        opts_min = opts;
                        if (!Finput_sync) file_index = ist.file_index;
                    }
                }
                if (maxFrames(ost)) {
                    file_index = -1;
                    break;
                }
            }
        }
        if (file_index < 0) {
            if (FJoinMode || c.no_packet_count == 0) break;
            ClearNoPacketFlags();
            avutil::av_usleep(10000);
            continue;
        }
        if (Flimit_filesize != 0 && Foutput_files[0]->pb &&
            avformat::avio_seek(Foutput_files[0]->pb, 0, SEEK_CUR) > Flimit_filesize)
            break;

        AVFormatContext* ic = Finput_files[file_index];
        const Integer read = avformat::av_read_frame(ic, pkt);
        if (read == AVERROR(EAGAIN)) {
            c.no_packet[file_index] = true;
            ++c.no_packet_count;
            continue;
        }
        if (read < 0) {
            if (InputSetup(ic).Loop && RestartInput(file_index)) continue;
            c.files[file_index].eof_reached = 1;
            if (Fopt_shortest && !FJoinMode) break;
            if (!FJoinMode) continue;
            if (!EndJoinSegment(file_index)) break;
            continue;
        }
        ClearNoPacketFlags();
        if (Fdo_pkt_dump)
            avformat::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, pkt, Fdo_hex_dump,
                                       ic->streams[pkt->stream_index]);
        const TAVInputFile& file = c.files[file_index];
        // A stream that appeared after the tables were built is not read.
        if (pkt->stream_index < file.nb_streams) {
            const Integer ist_index = file.ist_index + pkt->stream_index;
            TAVInputStream& ist = *c.ist_table[ist_index];
            if (!ist.discard && CorrectTimestamps(ist, pkt) && ProcessInputPacket(ist, ist_index, pkt) < 0) {
                DecodingFailed(ist);
                avcodec::av_packet_unref(pkt);
                continue;
            }
        }
        avcodec::av_packet_unref(pkt);
        const Int64 now = avutil::av_gettime();
        if (now - FLastReport > ReportInterval) {
            FLastReport = now;
            ReportProgress(false, file_index);
        }
    }

    for (Integer n = 0; n < static_cast<Integer>(c.ist_table.size()); ++n) {
        TAVInputStream& ist = *c.ist_table[n];
        // Frame threads report a picture's failure later than its packet, so
        // the last failures come out while draining.
        if (ist.decoding_needed && !ist.decoder_flushed && ProcessInputPacket(ist, n, nullptr) < 0)
            DecodingFailed(ist);
    }
    const Integer outputs = FJoinMode ? 1 : Fnb_output_files;
    for (Integer i = 0; i < outputs; ++i) {
        const Integer written = avformat::av_write_trailer(Foutput_files[i]);
        if (written < 0) throw FFmpegException(AVErrorText(u"av_write_trailer()", written));
    }
    ReportProgress(true, -1);
}

bool TCustomFFmpeg::CorrectTimestamps(TAVInputStream& ist, AVPacket* pkt) {
    const AVFormatContext* ic = Finput_files[ist.file_index];
    const AVRational base = ist.st->time_base;
    const Int64 offset = avutil::av_rescale_q(Finput_files_ts_offset[ist.file_index], AV_TIME_BASE_Q, base);
    if (pkt->dts != AV_NOPTS_VALUE) pkt->dts += offset;
    if (pkt->pts != AV_NOPTS_VALUE) pkt->pts += offset;
    const double scale = ist.index < MAX_STREAMS ? Finput_files_ts_scale[ist.file_index][ist.index] : 0;
    if (scale != 0) {
        if (pkt->pts != AV_NOPTS_VALUE) pkt->pts = std::llrint(static_cast<double>(pkt->pts) * scale);
        if (pkt->dts != AV_NOPTS_VALUE) pkt->dts = std::llrint(static_cast<double>(pkt->dts) * scale);
    }
    if (pkt->dts != AV_NOPTS_VALUE && ist.next_pts != AV_NOPTS_VALUE &&
        (ic->iformat->flags & AVFMT_TS_DISCONT)) {
        const Int64 pkt_dts = avutil::av_rescale_q(pkt->dts, base, AV_TIME_BASE_Q);
        const Int64 delta = pkt_dts - ist.next_pts;
        if ((std::fabs(static_cast<double>(delta)) > Fdts_delta_threshold * 1e6 || pkt_dts + 1 < ist.pts) &&
            !Fcopy_ts) {
            Finput_files_ts_offset[ist.file_index] -= delta;
            if (Fverbose >= 3)
                GetLogger()->Log(this, llVerbose,
                                 Format(u"timestamp discontinuity %d, new offset= %d",
                                        {delta, Finput_files_ts_offset[ist.file_index]}));
            const Int64 shift = avutil::av_rescale_q(delta, AV_TIME_BASE_Q, base);
            pkt->dts -= shift;
            if (pkt->pts != AV_NOPTS_VALUE) pkt->pts -= shift;
        }
    }
    // AVI knows no presentation times: its decoding times stand for them.
    const Int64 when = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
    if (Frecording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
        avutil::av_compare_ts(when, base, Frecording_time + Fstart_time, AV_TIME_BASE_Q) >= 0) {
        ist.is_past_recording_time = 1;
        return false;
    }
    return true;
}

bool TCustomFFmpeg::RestartInput(Integer AFile) {
    AVFormatContext* ic = Finput_files[AFile];
    if (ic->duration <= 0 || ic->duration == AV_NOPTS_VALUE) return false;
    DrainInput(AFile, false);
    const Int64 start = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
    if (avformat::av_seek_frame(ic, -1, start, AVSEEK_FLAG_BACKWARD) < 0) return false;
    // The next round follows the last one.
    Finput_files_ts_offset[AFile] += ic->duration;
    TConversion& c = *FConversion;
    for (Integer n = 0; n < static_cast<Integer>(c.ist_table.size()); ++n) {
        TAVInputStream& ist = *c.ist_table[n];
        if (ist.file_index != AFile) continue;
        ist.decoder_flushed = 0;
        // The drain closed the stream's filter graph: a new one for the next round.
        if (!ist.graph) continue;
        for (const auto& ost : c.ost_table)
            if (ost->source_index == n && ost->encoding_needed) OpenFilters(ist, *ost);
    }
    return true;
}

void TCustomFFmpeg::DecodingFailed(const TAVInputStream& ist) {
    const String message = Format(u"Error while decoding stream #%d.%d (%s)",
                                  {ist.file_index, ist.index, MediaTypeName(ist.dec->codec_type)});
    if (Fexit_on_error) throw FFmpegException(message);
    if (Fverbose >= 0) GetLogger()->Log(this, llVerbose, message);
}

void TCustomFFmpeg::DrainInput(Integer AFile, bool AFlushEncoders) {
    TConversion& c = *FConversion;
    for (Integer n = 0; n < static_cast<Integer>(c.ist_table.size()); ++n) {
        TAVInputStream& ist = *c.ist_table[n];
        if (ist.file_index != AFile || !ist.decoding_needed) continue;
        if (ProcessInputPacket(ist, n, nullptr, AFlushEncoders) < 0) DecodingFailed(ist);
        avcodec::avcodec_flush_buffers(ist.dec);
        ist.decoder_flushed = 1;
    }
}

bool TCustomFFmpeg::EndJoinSegment(Integer ASegment) {
    TConversion& c = *FConversion;
    const bool last = ASegment + 1 >= Fnb_input_files;
    // The encoders go on into the next segment: only the last one drains them.
    DrainInput(ASegment, last);
    if (last) return false;
    double end = 0;
    for (Integer k = 0; k < c.per; ++k) {
        TAVOutputStream& ost = *c.ost_table[ASegment * c.per + k];
        TAVOutputStream& next = *c.ost_table[(ASegment + 1) * c.per + k];
        end = std::max(end, OutputTime(ost));
        ost.show_fps = 0;
        std::swap(ost.coding, next.coding);
    }
    Finput_files_ts_offset[ASegment + 1] += Round(end * 1000000);
    c.file_index = ASegment + 1;
    return true;
}

// --- Decoding ---

Integer TCustomFFmpeg::ProcessInputPacket(TAVInputStream& ist, Integer ist_index, const AVPacket* pkt,
                                          bool AFlushEncoders) {
    TConversion& c = *FConversion;
    if (ist.next_pts == AV_NOPTS_VALUE) ist.next_pts = ist.pts;
    if (pkt && pkt->dts != AV_NOPTS_VALUE)
        ist.next_pts = ist.pts = avutil::av_rescale_q(pkt->dts, ist.st->time_base, AV_TIME_BASE_Q);
    const AVMediaType type = ist.dec->codec_type;

    if (!ist.decoding_needed) {
        if (!pkt) return 0;
        ist.pts = ist.next_pts;
        const AVCodecParameters* par = ist.st->codecpar;
        if (type == AVMEDIA_TYPE_AUDIO && par->frame_size > 0 && par->sample_rate > 0) {
            ist.next_pts += Int64{1000000} * par->frame_size / par->sample_rate;
        } else if (pkt->duration > 0) {
            ist.next_pts += avutil::av_rescale_q(pkt->duration, ist.st->time_base, AV_TIME_BASE_Q);
        } else if (type == AVMEDIA_TYPE_VIDEO && ist.st->avg_frame_rate.num > 0) {
            ist.next_pts += FrameRateToPeriod(ist.st->avg_frame_rate);
        }
    }
    if (pkt && (Fstart_time == 0 || ist.pts >= Fstart_time))
        for (const auto& ost : c.ost_table)
            if (ost->source_index == ist_index && !ost->encoding_needed) CopyPacket(*ost, ist, pkt);
    if (!ist.decoding_needed) return 0;

    Integer result = 0;
    if (type == AVMEDIA_TYPE_SUBTITLE) {
        // Only decoders that hold subtitles back are asked for them at the end.
        if (pkt || (ist.dec->codec->capabilities & AV_CODEC_CAP_DELAY)) {
            avcodec::av_packet_unref(c.out_packet);
            AVSubtitle subtitle{};
            int got = 0;
            if (avcodec::avcodec_decode_subtitle2(ist.dec, &subtitle, &got,
                                                  pkt ? const_cast<AVPacket*>(pkt) : c.out_packet) < 0) {
                result = -1;
            } else if (got) {
                ist.pts = ist.next_pts;
                for (const auto& ost : c.ost_table)
                    if (ost->source_index == ist_index && ost->encoding_needed && !ost->skipped)
                        EncodeSubtitle(*ost, ist, &subtitle, pkt ? pkt->pts : AV_NOPTS_VALUE);
                avcodec::avsubtitle_free(&subtitle);
            }
        }
    } else if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) {
        const Integer sent = avcodec::avcodec_send_packet(ist.dec, pkt);
        if (sent < 0 && !IsTryAgainOrEnd(sent)) result = -1;
        while (true) {
            const Integer received = avcodec::avcodec_receive_frame(ist.dec, ist.frame.get());
            if (IsTryAgainOrEnd(received)) break;
            if (received < 0) {
                result = -1;
                break;
            }
            HandDecodedFrame(ist, ist_index);
            avutil::av_frame_unref(ist.frame.get());
        }
    } else {
        return -1;
    }

    if (!pkt) {
        if (type == AVMEDIA_TYPE_VIDEO && ist.input_video_filter) {
            // The end of the pictures: filters holding some back let them go.
            if (avfilter::av_buffersrc_add_frame_flags(ist.input_video_filter, nullptr, 0) >= 0)
                PassFilteredPictures(ist, ist_index);
        }
        if (type == AVMEDIA_TYPE_VIDEO)
            for (const auto& ost : c.ost_table)
                if (ost->source_index == ist_index && ost->encoding_needed && !ost->skipped)
                    EndVideoStream(*ost, ist);
        if (AFlushEncoders)
            for (const auto& ost : c.ost_table)
                if (ost->source_index == ist_index && ost->encoding_needed && !ost->skipped)
                    FlushEncoder(*ost);
    }
    return result;
}

void TCustomFFmpeg::HandDecodedFrame(TAVInputStream& ist, Integer ist_index) {
    TConversion& c = *FConversion;
    AVFrame* frame = ist.frame.get();
    // The frame's own time when it has one: decoders now hand pictures on
    // after a delay of their own.
    const Int64 stamp = frame->best_effort_timestamp;
    ist.pts = stamp != AV_NOPTS_VALUE ? avutil::av_rescale_q(stamp, ist.st->time_base, AV_TIME_BASE_Q)
                                      : ist.next_pts;
    Int64 duration = 0;
    if (ist.dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (frame->sample_rate > 0) duration = Int64{1000000} * frame->nb_samples / frame->sample_rate;
    } else if (frame->pkt_duration > 0) {
        duration = avutil::av_rescale_q(frame->pkt_duration, ist.st->time_base, AV_TIME_BASE_Q);
    } else {
        const AVRational rate = ist.dec->framerate.num > 0 ? ist.dec->framerate : ist.st->avg_frame_rate;
        duration = FrameRateToPeriod(rate) * (2 + frame->repeat_pict) / 2;
    }
    ist.next_pts = ist.pts + duration;

    const uint8_t* samples = nullptr;
    Integer size = 0;
    AVFrame* picture = frame;
    if (ist.dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (!SamplesAsS16(ist, samples, size)) return;
    } else {
        ist.quality = static_cast<float>(frame->quality);
        if (*ist.upright_filters) TurnUpright(ist);
        PrepareVideoFrame(ist, picture);
        if (FEnableFilter && ist.input_video_filter) {
            picture->pts = ist.pts;
            if (avfilter::av_buffersrc_add_frame_flags(ist.input_video_filter, picture,
                                                       AV_BUFFERSRC_FLAG_KEEP_REF) < 0)
                GetLogger()->Log(this, llError, u"Error while feeding the filter graph");
        }
    }
    if (Frate_emu) {
        const Int64 lead = ist.pts - (avutil::av_gettime() - ist.start);
        if (lead > 1000) avutil::av_usleep(static_cast<unsigned>(lead / 1000 * 1000));
    }
    if (ist.dec->codec_type == AVMEDIA_TYPE_VIDEO && FEnableFilter && ist.input_video_filter) {
        PassFilteredPictures(ist, ist_index);
        return;
    }
    if (Fstart_time != 0 && ist.pts < Fstart_time) return;
    for (const auto& owned : c.ost_table) {
        TAVOutputStream& ost = *owned;
        if (ost.source_index != ist_index || !ost.encoding_needed || ost.skipped) continue;
        if (ost.enc->codec_type == AVMEDIA_TYPE_AUDIO) {
            do_audio_out(ost, ist, samples, size);
        } else {
            OutputPicture(ost, ist, picture);
        }
    }
}

void TCustomFFmpeg::PassFilteredPictures(TAVInputStream& ist, Integer ist_index) {
    TConversion& c = *FConversion;
    Int64 pts = 0;
    while (GetFilteredPicture(ist, pts) == 1) {
        ist.pts = pts;
        if (Fstart_time == 0 || pts >= Fstart_time) {
            for (const auto& owned : c.ost_table) {
                TAVOutputStream& ost = *owned;
                if (ost.source_index != ist_index || !ost.encoding_needed || ost.skipped) continue;
                if (ist.picref->sample_aspect_ratio.num != 0)
                    ost.enc->sample_aspect_ratio = ist.picref->sample_aspect_ratio;
                OutputPicture(ost, ist, ist.picref.get());
            }
        }
        avutil::av_frame_unref(ist.picref.get());
    }
}

void TCustomFFmpeg::OutputPicture(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* APicture) {
    Integer frameSize = 0;
    EncodeVideoFrame(ost, ist, APicture, frameSize);
    if (!Fvstats_filename.empty() && frameSize != 0) WriteVideoStats(ost, frameSize);
}

bool TCustomFFmpeg::SamplesAsS16(TAVInputStream& ist, const uint8_t*& ASamples, Integer& ASize) {
    const AVFrame* frame = ist.frame.get();
    const Integer channels = frame->ch_layout.nb_channels;
    ASize = frame->nb_samples * channels * 2;
    if (ASize <= 0) return false;
    if (frame->format == AV_SAMPLE_FMT_S16 && Faudio_volume == 256) {
        ASamples = frame->data[0];
        return true;
    }
    if (Fsamples.size() < static_cast<size_t>(std::max(ASize, 192000)))
        Fsamples.resize(std::max(ASize, 192000));
    uint8_t* out = Fsamples.data();
    if (frame->format == AV_SAMPLE_FMT_S16) {
        std::memcpy(out, frame->data[0], ASize);
    } else {
        if (!ist.to_s16 || ist.to_s16_format != frame->format || ist.to_s16_rate != frame->sample_rate ||
            ist.to_s16_channels != channels) {
            const auto format = static_cast<AVSampleFormat>(frame->format);
            AVChannelLayout layout = KnownLayout(frame->ch_layout);
            SwrContext* converter = nullptr;
            Integer made =
                swresample::swr_alloc_set_opts2(&converter, &layout, AV_SAMPLE_FMT_S16, frame->sample_rate,
                                                &layout, format, frame->sample_rate, 0, nullptr);
            avutil::av_channel_layout_uninit(&layout);
            ist.to_s16.reset(converter);
            if (made >= 0) made = swresample::swr_init(converter);
            if (made < 0)
                throw FFmpegException(u"Cannot convert %s sample format to %s sample format",
                                      {avutil::av_get_sample_fmt_name(format), "s16"});
            ist.to_s16_format = format;
            ist.to_s16_rate = frame->sample_rate;
            ist.to_s16_channels = channels;
        }
        const Integer converted =
            swresample::swr_convert(ist.to_s16.get(), &out, frame->nb_samples,
                                    const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        if (converted < 0) return false;
        ASize = converted * channels * 2;
    }
    if (Faudio_volume != 256) {
        // In 64 bits: the volume has no upper bound.
        auto* sample = reinterpret_cast<int16_t*>(out);
        for (Integer i = 0; i < ASize / 2; ++i) {
            const Int64 scaled = (static_cast<Int64>(sample[i]) * Faudio_volume + 128) >> 8;
            sample[i] = static_cast<int16_t>(std::clamp<Int64>(scaled, -32768, 32767));
        }
    }
    ASamples = out;
    return true;
}

// --- Copied packets ---

void TCustomFFmpeg::CopyPacket(TAVOutputStream& ost, TAVInputStream& ist, const AVPacket* pkt) {
    TOutputCoding& coding = ost.coding;
    if (coding.frame_number == 0 && !(pkt->flags & AV_PKT_FLAG_KEY) && !Fcopy_initial_nonkeyframes) return;
    const AVRational base = ist.st->time_base;
    const Int64 start = avutil::av_rescale_q(Fstart_time, AV_TIME_BASE_Q, base);
    AVPacket* out = FConversion->out_packet;
    if (avcodec::av_packet_ref(out, pkt) < 0) throw FFmpegException(u"av_mallocz fail");
    out->pts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts - start : AV_NOPTS_VALUE;
    out->dts =
        (pkt->dts != AV_NOPTS_VALUE ? pkt->dts : avutil::av_rescale_q(ist.pts, AV_TIME_BASE_Q, base)) - start;
    if (ist.dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        Faudio_size += pkt->size;
    } else if (ist.dec->codec_type == AVMEDIA_TYPE_VIDEO) {
        Fvideo_size += pkt->size;
        ++coding.sync_opts;
    }
    MuxPacket(ost, out);
    ++coding.frame_number;
}

// --- Encoding and muxing ---

Integer TCustomFFmpeg::EncodeAndMux(TAVOutputStream& ost, const AVFrame* AFrame, const char16_t* AFailure) {
    AVCodecContext* enc = ost.enc;
    TOutputCoding& coding = ost.coding;
    Integer result = avcodec::avcodec_send_frame(enc, AFrame);
    // Draining twice is no error.
    if (result < 0 && !(AFrame == nullptr && result == AVERROR_EOF)) throw FFmpegException(AFailure);
    AVPacket* pkt = FConversion->out_packet;
    Integer size = 0;
    while ((result = avcodec::avcodec_receive_packet(enc, pkt)) >= 0) {
        size_t statsSize = 0;
        if (const uint8_t* stats =
                avcodec::av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &statsSize);
            stats && statsSize >= 8) {
            coding.coded_quality = static_cast<Integer>(AV_RL32(stats));
            coding.coded_pict_type = avutil::av_get_picture_type_char(static_cast<AVPictureType>(stats[4]));
            const size_t errors =
                std::min<size_t>({stats[5], coding.coded_error.size(), (statsSize - 8) / 8});
            for (size_t i = 0; i < errors; ++i)
                coding.coded_error[i] = static_cast<Int64>(AV_RL64(stats + 8 + 8 * i));
        }
        size = pkt->size;
        if (enc->codec_type == AVMEDIA_TYPE_AUDIO) {
            Faudio_size += pkt->size;
            pkt->flags |= AV_PKT_FLAG_KEY;
            ++coding.frame_number;
        } else {
            Fvideo_size += pkt->size;
            // A picture lasts one tick of the encoder's clock: muxers take
            // the last picture's length from it.
            if (pkt->duration == 0 && enc->codec_type == AVMEDIA_TYPE_VIDEO) pkt->duration = 1;
        }
        if (coding.logfile && enc->stats_out)
            myutil::fwrite(enc->stats_out, 1, std::strlen(enc->stats_out), coding.logfile.get());
        MuxPacket(ost, pkt);
    }
    if (!IsTryAgainOrEnd(result)) throw FFmpegException(AFailure);
    return size;
}

void TCustomFFmpeg::FlushEncoder(TAVOutputStream& ost) {
    switch (ost.enc->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            if (ost.coding.fifo) EncodeAudioFrames(ost, true);
            EncodeAndMux(ost, nullptr, u"Audio encoding failed");
            break;
        case AVMEDIA_TYPE_VIDEO:
            EncodeAndMux(ost, nullptr, u"Video encoding failed");
            break;
        default:
            break;
    }
}

void TCustomFFmpeg::MuxPacket(TAVOutputStream& ost, AVPacket* APacket) {
    APacket->stream_index = ost.index;
    FilterPacket(ost, 0, APacket, ost.packet_time_base);
}

void TCustomFFmpeg::FilterPacket(TAVOutputStream& ost, size_t AFilter, AVPacket* APacket,
                                 AVRational ATimeBase) {
    if (AFilter >= ost.coding.bsfs.size()) {
        WritePacket(ost, APacket, ATimeBase);
        return;
    }
    AVBSFContext* bsf = ost.coding.bsfs[AFilter].get();
    const auto failed = [&](Integer AResult) {
        const String message = AVErrorText(Format(u"%s failed for stream %d, codec %s",
                                                  {bsf->filter->name, APacket->stream_index,
                                                   ost.encoding_needed ? ost.enc->codec->name : "copy"}),
                                           AResult);
        if (Fexit_on_error) throw FFmpegException(message);
        GetLogger()->Log(this, llError, message);
    };
    const Integer sent = avcodec::av_bsf_send_packet(bsf, APacket);
    if (sent < 0) {
        // The packet goes on as it was.
        failed(sent);
        FilterPacket(ost, AFilter + 1, APacket, ATimeBase);
        return;
    }
    AVPacket* filtered = avcodec::av_packet_alloc();
    if (!filtered) throw FFmpegException(u"av_mallocz fail");
    Integer received;
    try {
        while ((received = avcodec::av_bsf_receive_packet(bsf, filtered)) >= 0) {
            filtered->stream_index = ost.index;
            FilterPacket(ost, AFilter + 1, filtered, bsf->time_base_out);
        }
    } catch (...) {
        avcodec::av_packet_free(&filtered);
        throw;
    }
    avcodec::av_packet_free(&filtered);
    if (!IsTryAgainOrEnd(received)) failed(received);
}

void TCustomFFmpeg::WritePacket(TAVOutputStream& ost, AVPacket* APacket, AVRational ATimeBase) {
    TOutputCoding& coding = ost.coding;
    avcodec::av_packet_rescale_ts(APacket, ATimeBase, ost.st->time_base);
    // Muxers refuse a decoding time that does not grow.
    const Integer flags = ost.oc->oformat->flags;
    if (APacket->dts != AV_NOPTS_VALUE && coding.last_dts != AV_NOPTS_VALUE &&
        !(flags & AVFMT_NOTIMESTAMPS)) {
        const Int64 least = coding.last_dts + ((flags & AVFMT_TS_NONSTRICT) ? 0 : 1);
        if (APacket->dts < least) {
            if (APacket->pts != AV_NOPTS_VALUE && APacket->pts < least) APacket->pts = least;
            APacket->dts = least;
        }
    }
    if (APacket->dts != AV_NOPTS_VALUE) {
        coding.last_dts = APacket->dts;
        coding.cur_time = static_cast<double>(APacket->dts + APacket->duration) * av_q2d(ost.st->time_base);
    }
    const Integer written = avformat::av_interleaved_write_frame(ost.oc, APacket);
    if (written < 0) throw FFmpegException(AVErrorText(u"av_interleaved_write_frame()", written));
}
