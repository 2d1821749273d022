// Video and subtitle output: the video sync (drop, write once, duplicate),
// cropping and rescaling to the encoder's size and format, encoding; and the
// encoding of decoded subtitles.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/swscalestubs.h"

namespace {

constexpr Integer kSubtitleBufferSize = 1048576;

// A view of ASource without its bands, sharing its buffers; false for a
// format whose planes cannot be cut by pointer.
bool CropView(AVFrame* ADest, const AVFrame* ASource, Integer ATop, Integer ALeft, Integer ABottom,
              Integer ARight) {
    const AVPixFmtDescriptor* desc = avutil::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(ASource->format));
    if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL)))
        return false;
    if (ATop < 0 || ALeft < 0 || ABottom < 0 || ARight < 0 || ATop + ABottom >= ASource->height ||
        ALeft + ARight >= ASource->width)
        return false;
    if (avutil::av_frame_ref(ADest, ASource) < 0) return false;
    int steps[4] = {};
    avutil::av_image_fill_max_pixsteps(steps, nullptr, desc);
    for (int plane = 0; plane < 4 && ADest->data[plane]; ++plane) {
        const bool chroma = plane == 1 || plane == 2;
        const int shiftX = chroma ? desc->log2_chroma_w : 0;
        const int shiftY = chroma ? desc->log2_chroma_h : 0;
        ADest->data[plane] += static_cast<ptrdiff_t>(ATop >> shiftY) * ADest->linesize[plane] +
                              static_cast<ptrdiff_t>(ALeft >> shiftX) * steps[plane];
    }
    ADest->width = ASource->width - ALeft - ARight;
    ADest->height = ASource->height - ATop - ABottom;
    return true;
}

}  // namespace

SwsContext* MakeScaler(Integer ASrcWidth, Integer ASrcHeight, AVPixelFormat ASrcFormat, Integer ADstWidth,
                       Integer ADstHeight, AVPixelFormat ADstFormat, Cardinal AFlags) {
    if (ASrcWidth <= 0 || ASrcHeight <= 0 || ADstWidth <= 0 || ADstHeight <= 0 ||
        !swscale::sws_isSupportedInput(ASrcFormat) || !swscale::sws_isSupportedOutput(ADstFormat))
        return nullptr;
    SwsContext* scaler = swscale::sws_alloc_context();
    if (!scaler) return nullptr;
    const std::pair<const char*, Int64> options[] = {
        {"srcw", ASrcWidth},  {"srch", ASrcHeight},       {"src_format", ASrcFormat}, {"dstw", ADstWidth},
        {"dsth", ADstHeight}, {"dst_format", ADstFormat}, {"sws_flags", AFlags},      {"threads", 0}};
    bool set = true;
    for (const auto& [name, value] : options)
        set = set && avutil::av_opt_set_int(scaler, name, value, 0) >= 0;
    if (!set || swscale::sws_init_context(scaler, nullptr, nullptr) < 0) {
        swscale::sws_freeContext(scaler);
        return nullptr;
    }
    return scaler;
}

void TCustomFFmpeg::EncodeVideoFrame(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* in_picture,
                                     Integer& AFrameSize) {
    AVCodecContext* enc = ost.enc;
    TOutputCoding& coding = ost.coding;
    AFrameSize = 0;
    const double syncTime = static_cast<double>(ost.sync_ist->pts - Fstart_time) / 1000000;
    const double sync_ipts = syncTime / av_q2d(enc->time_base);
    Int64 nb_frames = 1;
    if (Fvideo_sync_method != 0) {
        const double vdelta = sync_ipts - static_cast<double>(coding.sync_opts);
        if (vdelta < -1.1) {
            nb_frames = 0;
        } else if (!ConstantFrameRate(ost)) {
            if (vdelta <= -0.6) {
                nb_frames = 0;
            } else if (vdelta > 0.6) {
                coding.sync_opts = std::llrint(sync_ipts);
            }
        } else if (vdelta > 1.1) {
            nb_frames = std::llrint(vdelta);
        }
        if (nb_frames == 0) {
            ++Fnb_frames_drop;
            FShowDupOrDrop = true;
            if (Fverbose > 2) GetLogger()->Log(this, llVerbose, u"*** drop!");
        } else if (nb_frames > 1) {
            Fnb_frames_dup += static_cast<Integer>(nb_frames - 1);
            FShowDupOrDrop = true;
            if (Fverbose > 2)
                GetLogger()->Log(this, llVerbose,
                                 Format(u"*** %d dup!", {static_cast<Integer>(nb_frames - 1)}));
        }
    } else {
        // The input's own times, as long as they grow: muxers refuse repeats.
        coding.sync_opts = std::max<Int64>(std::llrint(sync_ipts), coding.sync_opts);
    }
    nb_frames = std::min<Int64>(nb_frames, Fmax_frames[AVMEDIA_TYPE_VIDEO] - coding.frame_number);
    if (nb_frames <= 0) return;

    Integer copies = static_cast<Integer>(nb_frames);
    AVFrame* picture = in_picture;
    TFramePtr cropped;
    if (!FEnableFilter) {
        const Integer width = in_picture->width, height = in_picture->height;
        const auto format = static_cast<AVPixelFormat>(in_picture->format);
        if (height - coding.topBand - coding.bottomBand != coding.resample_height ||
            width - coding.leftBand - coding.rightBand != coding.resample_width ||
            format != coding.resample_pix_fmt) {
            GetLogger()->Log(
                this, llQuiet,
                Format(u"Input Stream #%d.%d frame size changed to %dx%d, %s",
                       {ist.file_index, ist.index, width, height,
                        avutil::av_get_pix_fmt_name(format) ? avutil::av_get_pix_fmt_name(format) : "none"}));
            // The bands keep their share of the picture.
            if (coding.video_crop && coding.original_height > 0 && coding.original_width > 0) {
                coding.topBand = height * coding.original_topBand / coding.original_height & ~1;
                coding.bottomBand = height * coding.original_bottomBand / coding.original_height & ~1;
                coding.leftBand = width * coding.original_leftBand / coding.original_width & ~1;
                coding.rightBand = width * coding.original_rightBand / coding.original_width & ~1;
            }
            coding.resample_height = height - coding.topBand - coding.bottomBand;
            coding.resample_width = width - coding.leftBand - coding.rightBand;
            coding.resample_pix_fmt = format;
            coding.img_resample_ctx.reset();
        }
        if (coding.video_crop) {
            cropped = NewFrame();
            if (!CropView(cropped.get(), in_picture, coding.topBand, coding.leftBand, coding.bottomBand,
                          coding.rightBand)) {
                if (Fexit_on_error) throw FFmpegException(u"error cropping picture");
                GetLogger()->Log(this, llError, u"error cropping picture");
                return;
            }
            picture = cropped.get();
        }
    }
    // Whatever reaches the encoder has its size and format, also after a
    // change in the middle of the stream.
    if (picture->width != enc->width || picture->height != enc->height || picture->format != enc->pix_fmt) {
        if (!coding.img_resample_ctx || coding.resample_width != picture->width ||
            coding.resample_height != picture->height || coding.resample_pix_fmt != picture->format) {
            Int64 flags = 0;
            if (FOptions.sws_opts && avutil::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &flags) >= 0)
                Fsws_flags = static_cast<Cardinal>(flags);
            coding.resample_width = picture->width;
            coding.resample_height = picture->height;
            coding.resample_pix_fmt = static_cast<AVPixelFormat>(picture->format);
            coding.img_resample_ctx.reset(MakeScaler(picture->width, picture->height,
                                                     static_cast<AVPixelFormat>(picture->format), enc->width,
                                                     enc->height, enc->pix_fmt, Fsws_flags));
            if (!coding.img_resample_ctx) throw FFmpegException(u"Cannot get resampling context");
            coding.video_resample = 1;
        }
        if (!coding.pict_tmp) coding.pict_tmp = NewFrame();
        // A new picture each time: the encoder may still hold the last one.
        avutil::av_frame_unref(coding.pict_tmp.get());
        if (swscale::sws_scale_frame(coding.img_resample_ctx.get(), coding.pict_tmp.get(), picture) < 0)
            throw FFmpegException(u"Cannot get resampling context");
        avutil::av_frame_copy_props(coding.pict_tmp.get(), picture);
        picture = coding.pict_tmp.get();
    }

    AFrameSize = SendPicture(ost, ist, picture, in_picture, copies);
    // Kept for the end of the stream, where it is shown for its own time.
    if (!coding.last_picture) coding.last_picture = NewFrame();
    avutil::av_frame_unref(coding.last_picture.get());
    avutil::av_frame_ref(coding.last_picture.get(), picture);
}

Integer TCustomFFmpeg::SendPicture(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* picture,
                                   const AVFrame* in_picture, Integer ACopies) {
    AVCodecContext* enc = ost.enc;
    TOutputCoding& coding = ost.coding;
    const AVCodecContext* defaults = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    const bool interlaced =
        defaults && (defaults->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME));
    const bool hooked = !PostHooks().Empty();
    AVFrame* frame = coding.enc_frame.get();
    Integer frameSize = 0;
    for (Integer i = 0; i < ACopies; ++i) {
        if (i > 0 && FBroken) break;
        if (avutil::av_frame_ref(frame, picture) < 0) throw FFmpegException(u"Video encoding failed");
        frame->interlaced_frame = in_picture->interlaced_frame;
        if (interlaced)
            frame->top_field_first = Ftop_field_first == -1 ? in_picture->top_field_first : Ftop_field_first;
        frame->quality = static_cast<int>(std::lround(Fsame_quality ? ist.quality : enc->global_quality));
        if (Fme_threshold == 0) frame->pict_type = AV_PICTURE_TYPE_NONE;
        frame->pts = coding.sync_opts;
        if (hooked)
            RunPostHooks(frame, enc, avutil::av_rescale_q(coding.sync_opts, enc->time_base, AV_TIME_BASE_Q));
        const Integer size = EncodeAndMux(ost, frame, u"Video encoding failed");
        avutil::av_frame_unref(frame);
        if (size > 0) frameSize = size;
        ++coding.sync_opts;
        ++coding.frame_number;
    }
    return frameSize;
}

bool TCustomFFmpeg::ConstantFrameRate(const TAVOutputStream& ost) const {
    return Fvideo_sync_method == 1 ||
           (Fvideo_sync_method < 0 && !(ost.oc->oformat->flags & AVFMT_VARIABLE_FPS));
}

void TCustomFFmpeg::EndVideoStream(TAVOutputStream& ost, TAVInputStream& ist) {
    TOutputCoding& coding = ost.coding;
    // Pictures are repeated as the next one comes: the last one is shown for
    // its own time here, to the end of its input (or of the recording time).
    // A stopped conversion ends where it was stopped.
    if (FBroken || !coding.last_picture || !coding.last_picture->buf[0] || !ConstantFrameRate(ost) ||
        ist.next_pts == AV_NOPTS_VALUE)
        return;
    Int64 end = ist.next_pts;
    if (Frecording_time != INT64_MAX) end = std::min(end, Fstart_time + Frecording_time);
    const double end_ipts = static_cast<double>(end - Fstart_time) / 1000000 / av_q2d(ost.enc->time_base);
    const double vdelta = end_ipts - static_cast<double>(coding.sync_opts);
    if (vdelta <= 1.1) return;
    const Int64 copies =
        std::min<Int64>(std::llrint(vdelta), Fmax_frames[AVMEDIA_TYPE_VIDEO] - coding.frame_number);
    if (copies <= 0) return;
    Fnb_frames_dup += static_cast<Integer>(copies);
    FShowDupOrDrop = true;
    AVFrame* last = coding.last_picture.get();
    const Integer frameSize = SendPicture(ost, ist, last, last, static_cast<Integer>(copies));
    if (!Fvstats_filename.empty() && frameSize != 0) WriteVideoStats(ost, frameSize);
    avutil::av_frame_unref(last);
}

void TCustomFFmpeg::EncodeSubtitle(TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle* sub, Int64 pts) {
    if (pts == AV_NOPTS_VALUE) {
        if (Fexit_on_error) throw FFmpegException(u"Subtitle packets must have a pts");
        GetLogger()->Log(this, llError, u"Subtitle packets must have a pts");
        return;
    }
    if (FSubtitleBuffer.empty()) FSubtitleBuffer.resize(kSubtitleBufferSize);
    AVCodecContext* enc = ost.enc;
    const bool dvb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    AVPacket* pkt = FConversion->out_packet;
    for (Integer i = 0; i < (dvb ? 2 : 1); ++i) {
        sub->pts = avutil::av_rescale_q(pts, ist.st->time_base, AV_TIME_BASE_Q) +
                   Int64{sub->start_display_time} * 1000;
        sub->end_display_time -= sub->start_display_time;
        sub->start_display_time = 0;
        const Integer size =
            avcodec::avcodec_encode_subtitle(enc, FSubtitleBuffer.data(), kSubtitleBufferSize, sub);
        if (size < 0) throw FFmpegException(u"Subtitle encoding failed");
        avcodec::av_packet_unref(pkt);
        if (avcodec::av_new_packet(pkt, size) < 0) throw FFmpegException(u"Subtitle encoding failed");
        std::memcpy(pkt->data, FSubtitleBuffer.data(), size);
        // Microseconds: the packet time base of subtitle streams.
        pkt->pts = sub->pts;
        if (dvb) pkt->pts += Int64{1000} * (i == 0 ? sub->start_display_time : sub->end_display_time);
        pkt->dts = pkt->pts;
        pkt->duration = Int64{1000} * sub->end_display_time;
        MuxPacket(ost, pkt);
        ++ost.coding.frame_number;
    }
}
