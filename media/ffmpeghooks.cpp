// The engine's hooks, progress and statistics: every decoded picture may be
// deinterlaced and handed to the custom hook or the frame-hook libraries;
// encoded pictures go to the preview window or the preview bitmap event; the
// progress line and event; the video statistics file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/myutilstubs.h"

namespace {

TAVPicture PictureOf(const AVFrame* AFrame) {
    TAVPicture picture{};
    for (int i = 0; i < 4; ++i) {
        picture.data[i] = AFrame->data[i];
        picture.linesize[i] = AFrame->linesize[i];
    }
    return picture;
}

// printf's formatting, for the classic progress and statistics texts.
template <typename... TArgs>
void Append(AnsiString& AText, const char* AFormat, TArgs... AArgs) {
    char piece[256];
    const int length = std::snprintf(piece, sizeof piece, AFormat, AArgs...);
    if (length > 0) AText.append(piece, std::min<size_t>(length, sizeof piece - 1));
}

// Keeps the even lines and blends each odd line from its neighbours
// (-1 4 2 4 -1)/8, on planar 8-bit pictures; false for other formats.
bool Deinterlace(AVFrame* ADest, const AVFrame* ASource) {
    switch (ASource->format) {
        case AV_PIX_FMT_YUV420P:
        case AV_PIX_FMT_YUVJ420P:
        case AV_PIX_FMT_YUV422P:
        case AV_PIX_FMT_YUVJ422P:
        case AV_PIX_FMT_YUV444P:
        case AV_PIX_FMT_YUVJ444P:
        case AV_PIX_FMT_YUV411P:
        case AV_PIX_FMT_GRAY8:
            break;
        default:
            return false;
    }
    const AVPixFmtDescriptor* desc = avutil::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(ASource->format));
    for (int plane = 0; plane < desc->nb_components; ++plane) {
        const bool chroma = plane > 0;
        const int width = chroma ? -(-ASource->width >> desc->log2_chroma_w) : ASource->width;
        const int height = chroma ? -(-ASource->height >> desc->log2_chroma_h) : ASource->height;
        const auto line = [&](int AY) {
            return ASource->data[plane] +
                   static_cast<ptrdiff_t>(std::clamp(AY, 0, height - 1)) * ASource->linesize[plane];
        };
        for (int y = 0; y < height; ++y) {
            uint8_t* out = ADest->data[plane] + static_cast<ptrdiff_t>(y) * ADest->linesize[plane];
            if (y % 2 == 0) {
                std::memcpy(out, line(y), width);
                continue;
            }
            const uint8_t *m2 = line(y - 2), *m1 = line(y - 1), *c = line(y), *p1 = line(y + 1),
                          *p2 = line(y + 2);
            for (int x = 0; x < width; ++x) {
                const int sum = -m2[x] + 4 * m1[x] + 2 * c[x] + 4 * p1[x] - p2[x];
                out[x] = static_cast<uint8_t>(std::clamp((sum + 4) >> 3, 0, 255));
            }
        }
    }
    return true;
}

}  // namespace

// --- Hooks ---

void TCustomFFmpeg::PrepareVideoFrame(TAVInputStream& ist, AVFrame*& APicture) {
    ++FHookFrameNumber;
    const Int64 pts = ist.pts;
    if (!Fdo_deinterlace && !FOnCustomHook && !Fusing_vhook) return;
    const AVFrame* source = APicture;
    if (!FHookBuf) FHookBuf = avutil::av_frame_alloc();
    bool ready = FHookBuf != nullptr;
    // Reused while nobody else holds it: the encoder may keep the last one.
    if (ready &&
        !(FHookBuf->buf[0] && FHookBuf->format == source->format && FHookBuf->width == source->width &&
          FHookBuf->height == source->height && avutil::av_frame_is_writable(FHookBuf))) {
        avutil::av_frame_unref(FHookBuf);
        FHookBuf->format = source->format;
        FHookBuf->width = source->width;
        FHookBuf->height = source->height;
        ready = avutil::av_frame_get_buffer(FHookBuf, 0) >= 0;
    }
    if (!ready) {
        GetLogger()->Log(this, llError, u"hook buf malloc error.");
        return;
    }
    bool deinterlaced = false;
    if (Fdo_deinterlace) {
        deinterlaced = Deinterlace(FHookBuf, source);
        if (!deinterlaced) GetLogger()->Log(this, llError, u"Deinterlacing failed.");
    }
    if (!deinterlaced) avutil::av_frame_copy(FHookBuf, source);
    avutil::av_frame_copy_props(FHookBuf, source);
    if (FOnCustomHook) {
        RunCustomHook(FHookBuf, pts);
    } else if (Fusing_vhook) {
        TAVPicture picture = PictureOf(FHookBuf);
        ProcessFrameHooks(FFirstHook, &picture, FHookBuf->format, FHookBuf->width, FHookBuf->height, pts);
    }
    APicture = FHookBuf;
}

void TCustomFFmpeg::RunCustomHook(AVFrame* APicture, Int64 pts) {
    TRGBConvertContext& context = FHookContext.Context;
    const TAVPicture picture = PictureOf(APicture);
    bool stop = false;
    if (!PictureToBitmap(context, &picture, APicture->format, APicture->width, APicture->height)) {
        GetLogger()->Log(this, llError, u"Cannot initialize the toRGB conversion context");
        stop = true;
    } else {
        bool update = true, stopHook = false;
        try {
            FOnCustomHook(this, context.Bitmap, FHookFrameNumber, pts, update, stopHook);
        } catch (const Exception& e) {
            GetLogger()->Log(this, llError, u"Error occurs OnCustomHook: " + e.Message());
            update = false;
        }
        if (update &&
            !BitmapToPicture(context, &picture, APicture->format, APicture->width, APicture->height)) {
            GetLogger()->Log(this, llError, u"Cannot initialize the fromRGB conversion context");
            stop = true;
        }
        stop = stop || stopHook;
    }
    if (stop) {
        FOnCustomHook = nullptr;
        Fusing_vhook = false;
    }
}

void TCustomFFmpeg::RunPostHooks(const AVFrame* APicture, const AVCodecContext* enc, Int64 pts) {
    TPostHooks hooks;
    const Int64 now = avutil::av_gettime();
    {
        TCriticalSectionGuard guard(PostHookLock);
        hooks = FPostHooks;
        FPostContext.preview_cur_time = now;
        if (now - FPostContext.preview_last_time <= PreviewInterval) return;
        FPostContext.preview_last_time = now;
    }
    // Only one of the two per picture: the bitmap event first. Neither runs
    // under the lock: both wait for the GUI thread, which may want the lock.
    const bool bitmap = hooks.Contains(phBitmap) && FOnPreviewBitmap;
    if (!bitmap && !hooks.Contains(phPreview)) return;
    const TAVPicture picture = PictureOf(APicture);
    TPostHook failed = phPreview;
    if (!PictureToBitmap(FPostContext.Context, &picture, enc->pix_fmt, enc->width, enc->height)) {
        GetLogger()->Log(this, llError, u"Cannot initialize the toRGB conversion context");
        failed = bitmap ? phBitmap : phPreview;
    } else if (bitmap) {
        FOnPreviewBitmap(this, FPostContext.Context.Bitmap, FHookFrameNumber, pts);
        return;
    } else {
        std::shared_ptr<TPreviewer> previewer;
        {
            TCriticalSectionGuard guard(PostHookLock);
            if (!FPostContext.Previewer) FPostContext.Previewer = std::make_shared<TPreviewer>();
            previewer = FPostContext.Previewer;
        }
        if (previewer->PaintFrame(FPostContext.Context.Bitmap, FHookFrameNumber, pts)) return;
        failed = phPreview;
    }
    std::shared_ptr<TPreviewer> detached;
    {
        TCriticalSectionGuard guard(PostHookLock);
        TPostHooks remaining = FPostHooks;
        remaining.Exclude(failed);
        detached = DoSetPostHooks(remaining);
    }
}

// --- Progress and statistics ---

void TCustomFFmpeg::ReportProgress(bool AFinal, Integer AFileIndex) {
    const TConversion& c = *FConversion;
    AVIOContext* pb = Foutput_files[0]->pb;
    Int64 total = 0;
    if (pb) {
        total = avformat::avio_size(pb);
        if (total < 0) total = avformat::avio_seek(pb, 0, SEEK_CUR);
    }
    AnsiString line;
    double time = 1e10;
    Integer frame = -1, fps = -1;
    float quality = -1;
    bool vid = false;
    for (const auto& owned : c.ost_table) {
        const TAVOutputStream& ost = *owned;
        const AVCodecContext* enc = ost.enc;
        const bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
        const float q =
            ost.encoding_needed ? static_cast<float>(ost.coding.coded_quality) / FF_QP2LAMBDA : -1.0f;
        if (vid && video) Append(line, "q=%2.1f ", q);
        if (!vid && video && ost.show_fps) {
            const double elapsed = static_cast<double>(avutil::av_gettime() - Ftimer_start) / 1000000;
            frame = ost.coding.frame_number;
            if (frame < 1) return;
            fps = elapsed > 1 ? static_cast<Integer>(frame / elapsed + 0.5) : 0;
            quality = q;
            Append(line, "frame=%5d fps=%3d q=%3.1f ", frame, fps, q);
            if (AFinal) line += "L";
            if (Fqp_hist) {
                const long qp = std::lrint(q);
                if (qp >= 0 && qp < static_cast<long>(FQPHistogram.size())) ++FQPHistogram[qp];
                for (int j = 0; j < 32; ++j)
                    Append(line, "%X", static_cast<int>(std::lrint(std::log2(FQPHistogram[j] + 1))));
            }
            if (enc->flags & AV_CODEC_FLAG_PSNR) {
                line += "PSNR=";
                double errorSum = 0, scaleSum = 0;
                for (int j = 0; j < 3; ++j) {
                    const auto error =
                        static_cast<double>(AFinal ? enc->error[j] : ost.coding.coded_error[j]);
                    double scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
                    if (AFinal) scale *= frame;
                    if (j > 0) scale /= 4;
                    errorSum += error;
                    scaleSum += scale;
                    Append(line, "%c:%2.2f ", "YUV"[j], -10.0 * std::log10(error / scale));
                }
                Append(line, "*:%2.2f ", -10.0 * std::log10(errorSum / scaleSum));
            }
            vid = true;
        }
        const double reached = OutputTime(ost);
        if (reached > 0 && reached < time) time = reached;
    }
    // Before any stream has advanced there is no time yet.
    if (time < 0.01 || time >= 1e10) time = 0.01;

    if (FOnProgress || Fverbose > 0 || AFinal) {
        const double bitRate = static_cast<double>(total) * 8 / time / 1000;
        Append(line, "size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", static_cast<double>(total) / 1024, time,
               bitRate);
        if (Fnb_frames_dup || Fnb_frames_drop) {
            Append(line, " dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
            if (FShowDupOrDrop && Fverbose >= 0 && FOnProgress) {
                FShowDupOrDrop = false;
                GetLogger()->Log(this, llVerbose, UTF8ToString(line));
            }
        }
        if (FOnProgress) {
            FOnProgress(this, AFileIndex, frame, fps, quality, static_cast<float>(bitRate), total,
                        static_cast<Int64>(time * 1000000), FTotalOutputDuration);
        } else if (Fverbose >= 0) {
            GetLogger()->Log(this, llVerbose, UTF8ToString(line));
        }
    }
    if (AFinal && Fverbose >= 0) {
        const auto raw = static_cast<double>(Fvideo_size + Faudio_size + Fextra_size);
        AnsiString summary;
        Append(summary, "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
               static_cast<double>(Fvideo_size) / 1024, static_cast<double>(Faudio_size) / 1024,
               static_cast<double>(Fextra_size) / 1024,
               raw > 0 ? 100 * (static_cast<double>(total) - raw) / raw : 0.0);
        GetLogger()->Log(this, llVerbose, UTF8ToString(summary));
    }
}

void TCustomFFmpeg::WriteVideoStats(TAVOutputStream& ost, Integer AFrameSize) {
    if (!Fvstats_file) {
        Fvstats_file = myutil::fopen(Fvstats_filename.c_str(), "w");
        if (!Fvstats_file) throw FFmpegException(u"fopen fail: " + UTF8ToString(Fvstats_filename));
    }
    const AVCodecContext* enc = ost.enc;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
    const TOutputCoding& coding = ost.coding;
    AnsiString text;
    Append(text, "frame= %5d q= %2.1f ", coding.frame_number,
           static_cast<double>(coding.coded_quality) / FF_QP2LAMBDA);
    if (enc->flags & AV_CODEC_FLAG_PSNR)
        Append(text, "PSNR= %6.2f ",
               -10.0 * std::log10(static_cast<double>(coding.coded_error[0]) /
                                  (static_cast<double>(enc->width) * enc->height * 255.0 * 255.0)));
    Append(text, "f_size= %6d ", AFrameSize);
    const double time = std::max(static_cast<double>(coding.sync_opts) * av_q2d(enc->time_base), 0.01);
    const double bitRate = AFrameSize * 8 / av_q2d(enc->time_base) / 1000;
    const double average = static_cast<double>(Fvideo_size) * 8 / time / 1000;
    Append(text, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
           static_cast<double>(Fvideo_size) / 1024, time, bitRate, average);
    Append(text, "type= %c\n", coding.coded_pict_type);
    myutil::fwrite(text.data(), 1, text.size(), Fvstats_file);
}
