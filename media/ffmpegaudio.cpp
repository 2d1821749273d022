// Audio output: decoded samples, as packed s16 at the decoder's rate and
// layout, kept in step with the input clock (silence inserted or samples
// dropped or the resampler told to compensate), converted to the encoder's
// format, rate and layout, and cut into whole encoder frames through a FIFO.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/swresamplestubs.h"

namespace {

constexpr Integer kInputSampleSize = 2;  // packed s16

}  // namespace

void TCustomFFmpeg::do_audio_out(TAVOutputStream& ost, TAVInputStream& ist, const uint8_t* buf,
                                 Integer size) {
    AVCodecContext* enc = ost.enc;
    TOutputCoding& coding = ost.coding;
    const AVFrame* frame = ist.frame.get();
    const Integer decChannels = frame->ch_layout.nb_channels;
    const Integer decRate = frame->sample_rate;
    const Integer encChannels = enc->ch_layout.nb_channels;
    const Integer encRate = enc->sample_rate;
    const Integer osize = avutil::av_get_bytes_per_sample(enc->sample_fmt);
    if (decChannels <= 0 || decRate <= 0 || encChannels <= 0 || encRate <= 0 || osize <= 0) return;

    if (decChannels != encChannels) coding.audio_resample = 1;
    const bool convert = coding.audio_resample || enc->sample_fmt != AV_SAMPLE_FMT_S16;
    if (convert && (!coding.resample || coding.resample_in_rate != decRate ||
                    coding.resample_in_channels != decChannels)) {
        if (coding.audio_resample && !coding.resample && ist.dec->sample_fmt != AV_SAMPLE_FMT_S16 &&
            Fverbose > 0)
            GetLogger()->Log(this, llVerbose,
                             u"Warning, using s16 intermediate sample format for resampling");
        AVChannelLayout in = KnownLayout(frame->ch_layout);
        AVChannelLayout out = KnownLayout(enc->ch_layout);
        SwrContext* resampler = nullptr;
        Integer made = swresample::swr_alloc_set_opts2(&resampler, &out, enc->sample_fmt, encRate, &in,
                                                       AV_SAMPLE_FMT_S16, decRate, 0, nullptr);
        avutil::av_channel_layout_uninit(&in);
        avutil::av_channel_layout_uninit(&out);
        coding.resample.reset(resampler);
        if (made >= 0) made = swresample::swr_init(resampler);
        if (made < 0) {
            coding.resample.reset();
            if (coding.audio_resample)
                throw FFmpegException(u"Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                      {decChannels, decRate, encChannels, encRate});
            throw FFmpegException(u"Cannot convert %s sample format to %s sample format",
                                  {"s16", avutil::av_get_sample_fmt_name(enc->sample_fmt)});
        }
        coding.resample_in_rate = decRate;
        coding.resample_in_channels = decChannels;
    }

    // Audio sync, in samples of the encoder's rate.
    const double syncTime = static_cast<double>(ost.sync_ist->pts - Fstart_time) / 1000000;
    const Integer fifoSamples = coding.fifo ? avutil::av_audio_fifo_size(coding.fifo.get()) : 0;
    if (Faudio_sync_method != 0) {
        const double delta = syncTime * encRate - static_cast<double>(coding.sync_opts) - fifoSamples;
        const double idelta = delta * decRate / encRate;
        Integer byteDelta = static_cast<Integer>(idelta) * kInputSampleSize * decChannels;
        if (std::fabs(delta) > 50) {
            if (ist.is_start || std::fabs(delta) > encRate * static_cast<double>(Faudio_drift_threshold)) {
                if (byteDelta < 0) {
                    byteDelta = std::max(byteDelta, -size);
                    if (Fverbose > 2)
                        GetLogger()->Log(
                            this, llVerbose,
                            Format(u"discarding %d audio samples", {static_cast<Integer>(-delta)}));
                    size += byteDelta;
                    buf -= byteDelta;
                    if (size == 0) return;
                    ist.is_start = 0;
                } else {
                    try {
                        if (Finput_tmp.size() < static_cast<size_t>(byteDelta) + size)
                            Finput_tmp.resize(static_cast<size_t>(byteDelta) + size);
                    } catch (const std::bad_alloc&) {
                        throw FFmpegException(u"Out of memory in do_audio_out");
                    }
                    ist.is_start = 0;
                    std::memset(Finput_tmp.data(), 0, byteDelta);
                    std::memcpy(Finput_tmp.data() + byteDelta, buf, size);
                    buf = Finput_tmp.data();
                    size += byteDelta;
                    if (Fverbose > 2)
                        GetLogger()->Log(
                            this, llVerbose,
                            Format(u"adding %d audio samples of silence", {static_cast<Integer>(delta)}));
                }
            } else if (Faudio_sync_method > 1 && coding.resample) {
                const Integer comp =
                    std::clamp(static_cast<Integer>(delta), -Faudio_sync_method, Faudio_sync_method);
                if (Fverbose > 2)
                    GetLogger()->Log(this, llVerbose,
                                     Format(u"compensating audio timestamp drift:%f compensation:%d in:%d",
                                            {delta, comp, encRate}));
                swresample::swr_set_compensation(coding.resample.get(), comp, encRate);
            }
        }
    } else {
        coding.sync_opts = std::llrint(syncTime * encRate) - fifoSamples;
    }

    // Room for what the resampler gives, in 64 bits.
    const Integer inSamples = size / (kInputSampleSize * decChannels);
    Int64 samples = (static_cast<Int64>(inSamples) * encRate + decRate) / decRate;
    samples = std::max<Int64>(samples * 2 + 10000, enc->frame_size);
    if (coding.resample)
        samples = std::max<Int64>(samples, swresample::swr_get_out_samples(coding.resample.get(), inSamples));
    const Int64 bufSize = samples * osize * encChannels;
    Int64 outSize = std::max(bufSize, static_cast<Int64>(enc->frame_size) * osize * encChannels);
    const Integer codedBps = avcodec::av_get_bits_per_sample(enc->codec_id);
    if (codedBps > 8 * osize) outSize = outSize * codedBps / (8 * osize);
    if (bufSize > INT_MAX || outSize + 16384 > INT_MAX)
        throw FFmpegException(u"Buffer sizes too large in do_audio_out");

    if (coding.resample) {
        try {
            if (Faudio_buf.size() < static_cast<size_t>(bufSize)) Faudio_buf.resize(bufSize);
        } catch (const std::bad_alloc&) {
            throw FFmpegException(u"Out of memory in do_audio_out");
        }
        const bool planar = avutil::av_sample_fmt_is_planar(enc->sample_fmt);
        std::vector<uint8_t*> planes(planar ? encChannels : 1);
        for (size_t p = 0; p < planes.size(); ++p)
            planes[p] = Faudio_buf.data() + p * (planar ? samples * osize : 0);
        const Integer converted = swresample::swr_convert(coding.resample.get(), planes.data(),
                                                          static_cast<int>(samples), &buf, inSamples);
        if (converted < 0) {
            if (Fexit_on_error) throw FFmpegException(u"av_audio_convert() failed");
            GetLogger()->Log(this, llError, u"av_audio_convert() failed");
            return;
        }
        if (avutil::av_audio_fifo_write(coding.fifo.get(), reinterpret_cast<void**>(planes.data()),
                                        converted) < converted)
            throw FFmpegException(u"av_fifo_realloc2() failed");
    } else {
        auto* data = const_cast<uint8_t*>(buf);
        if (avutil::av_audio_fifo_write(coding.fifo.get(), reinterpret_cast<void**>(&data), inSamples) <
            inSamples)
            throw FFmpegException(u"av_fifo_realloc2() failed");
    }
    EncodeAudioFrames(ost, false);
}

void TCustomFFmpeg::EncodeAudioFrames(TAVOutputStream& ost, bool AFlush) {
    AVCodecContext* enc = ost.enc;
    TOutputCoding& coding = ost.coding;
    AVAudioFifo* fifo = coding.fifo.get();
    const Integer frameSize = enc->frame_size;
    const Integer capabilities = enc->codec->capabilities;
    // PCM and encoders of any frame size take each block whole.
    const bool whole = frameSize <= 1 || (capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    AVFrame* frame = coding.audio_frame.get();
    while (true) {
        const Integer available = avutil::av_audio_fifo_size(fifo);
        Integer count;
        if (whole) {
            count = available;
        } else if (available >= frameSize) {
            count = frameSize;
        } else {
            count = AFlush ? available : 0;
        }
        if (count <= 0) break;
        avutil::av_frame_unref(frame);
        frame->format = enc->sample_fmt;
        frame->sample_rate = enc->sample_rate;
        avutil::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
        // The last short frame is filled up with silence where the encoder
        // wants whole frames.
        frame->nb_samples = !whole && count < frameSize && !(capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)
                                ? frameSize
                                : count;
        if (avutil::av_frame_get_buffer(frame, 0) < 0)
            throw FFmpegException(u"Out of memory in do_audio_out");
        avutil::av_audio_fifo_read(fifo, reinterpret_cast<void**>(frame->extended_data), count);
        if (frame->nb_samples > count)
            avutil::av_samples_set_silence(frame->extended_data, count, frame->nb_samples - count,
                                           enc->ch_layout.nb_channels, enc->sample_fmt);
        // Encoders take strictly growing times.
        Int64 pts = coding.sync_opts;
        if (coding.next_audio_pts != AV_NOPTS_VALUE && pts < coding.next_audio_pts)
            pts = coding.next_audio_pts;
        frame->pts = pts;
        coding.next_audio_pts = pts + frame->nb_samples;
        EncodeAndMux(ost, frame, u"Audio encoding failed");
        avutil::av_frame_unref(frame);
        coding.sync_opts += count;
        if (whole) break;
    }
}
