// The player's audio output: SDL pulls bytes through the callback, which
// decodes packets on demand, converts them to signed 16-bit samples of the
// device's channels and rate, lets the audio clock run, stretches blocks when
// audio follows another clock, feeds the visualisation and mixes with the
// volume or plays silence when muted.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/player.h"
#include "media/swresamplestubs.h"
#include "platform/base/sysutils.h"

namespace {

constexpr Integer SilenceBytes = 1024;
constexpr Integer DeviceSamples = 1024;
constexpr Integer AudioDiffAverageCount = 20;
constexpr Integer SampleCorrectionPercentMax = 10;

// Takes the frames of the packet in the decoder that nobody wants any more.
void DropPacketRest(TVideoState* is) {
    while (avcodec::avcodec_receive_frame(is->audio_dec, is->audio_frame) >= 0)
        avutil::av_frame_unref(is->audio_frame);
    is->audio_pkt_sent = false;
}

}  // namespace

void TCustomPlayer::AudioCallbackEntry(void* AState, Uint8* AStream, int ALen) {
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->AudioCallback(is, AStream, ALen);
}

Integer TCustomPlayer::OpenAudioDevice(TVideoState* is, AVCodecContext* ACodec) {
    is->audio_pkt = avcodec::av_packet_alloc();
    is->audio_frame = avutil::av_frame_alloc();
    // A device that cannot be had leaves nothing of the stream behind.
    const auto fail = [is] {
        avcodec::av_packet_free(&is->audio_pkt);
        avutil::av_frame_free(&is->audio_frame);
        return -1;
    };
    if (!is->audio_pkt || !is->audio_frame) return fail();
    const Integer channels = ACodec->ch_layout.nb_channels;
    SDL_AudioSpec wanted{};
    wanted.freq = ACodec->sample_rate;
    wanted.format = AUDIO_S16SYS;
    // Downmixed to stereo at most, as the classic decoders were asked to.
    wanted.channels = Uint8(channels <= 0 ? 2 : std::min<Integer>(2, channels));
    wanted.silence = 0;
    wanted.samples = DeviceSamples;
    wanted.callback = AudioCallbackEntry;
    wanted.userdata = is;
    // Asked without a record for what was obtained, SDL converts to whatever the device wants.
    if (sdl::SDL_OpenAudio(&wanted, nullptr) < 0) return fail();
    is->audio_hw_buf_size = Integer(wanted.size);
    is->audio_tgt_freq = wanted.freq;
    is->audio_tgt_channels = wanted.channels;
    is->audio_src_fmt = AV_SAMPLE_FMT_S16;
    avutil::av_channel_layout_uninit(&is->audio_src_ch_layout);
    is->audio_src_freq = 0;
    return 0;
}

void TCustomPlayer::AudioCallback(TVideoState* is, uint8_t* AStream, Integer ALen) {
    Faudio_callback_time = PlayerTime();
    // Set last when the stream opens: what it set up is seen from here on.
    if (is->audio_stream < 0) return;
    while (ALen > 0) {
        if (is->audio_buf_index >= Integer(is->audio_buf_size)) {
            double pts = 0;
            Integer size = DecodeAudioFrame(is, pts);
            if (is->audioq.abort_request) return;
            if (size < 0) {
                // Nothing to play yet: silence rather than a stalled device.
                is->audio_buf = is->audio_buf1.data();
                std::memset(is->audio_buf, 0, SilenceBytes);
                size = SilenceBytes;
            } else {
                if (is->show_audio)
                    UpdateSampleDisplay(is, reinterpret_cast<const int16_t*>(is->audio_buf), size);
                size = SynchronizeAudio(is, reinterpret_cast<int16_t*>(is->audio_buf), size, pts);
            }
            is->audio_buf_size = Cardinal(size);
            is->audio_buf_index = 0;
        }
        const Integer length = std::min<Integer>(Integer(is->audio_buf_size) - is->audio_buf_index, ALen);
        const uint8_t* source = is->audio_buf + is->audio_buf_index;
        if (FMute)
            std::memset(AStream, 0, size_t(length));
        else
            sdl::SDL_MixAudio(AStream, source, Uint32(length), FAudioVolume);
        ALen -= length;
        AStream += length;
        is->audio_buf_index += length;
    }
}

Integer TCustomPlayer::DecodeAudioFrame(TVideoState* is, double& APTS) {
    AVCodecContext* codec = is->audio_dec;
    AVFrame* frame = is->audio_frame;
    const Integer channels = is->audio_tgt_channels, rate = is->audio_tgt_freq;
    for (;;) {
        while (is->audio_pkt_sent) {
            const Integer received = avcodec::avcodec_receive_frame(codec, frame);
            if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
                is->audio_pkt_sent = false;
                break;
            }
            if (received < 0) {
                GetLogger()->Log(this, llInfo, u"avcodec_decode_audio2() failed");
                DropPacketRest(is);
                break;
            }
            const AVSampleFormat format = static_cast<AVSampleFormat>(frame->format);
            const bool convert = format != AV_SAMPLE_FMT_S16 || frame->ch_layout.nb_channels != channels ||
                                 frame->sample_rate != rate;
            if (format != is->audio_src_fmt || frame->sample_rate != is->audio_src_freq ||
                avutil::av_channel_layout_compare(&frame->ch_layout, &is->audio_src_ch_layout) != 0 ||
                convert != (is->reformat_ctx != nullptr)) {
                if (is->reformat_ctx) swresample::swr_free(&is->reformat_ctx);
                if (convert) {
                    AVChannelLayout in{}, out{};
                    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
                        avutil::av_channel_layout_default(&in, frame->ch_layout.nb_channels);
                    else
                        avutil::av_channel_layout_copy(&in, &frame->ch_layout);
                    avutil::av_channel_layout_default(&out, channels);
                    Integer made =
                        swresample::swr_alloc_set_opts2(&is->reformat_ctx, &out, AV_SAMPLE_FMT_S16, rate, &in,
                                                        format, frame->sample_rate, 0, nullptr);
                    if (made >= 0) made = swresample::swr_init(is->reformat_ctx);
                    avutil::av_channel_layout_uninit(&in);
                    avutil::av_channel_layout_uninit(&out);
                    if (made < 0) {
                        swresample::swr_free(&is->reformat_ctx);
                        GetLogger()->Log(this, llError,
                                         u"Cannot convert %s sample format to %s sample format",
                                         {avutil::av_get_sample_fmt_name(format),
                                          avutil::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16)});
                        avutil::av_frame_unref(frame);
                        DropPacketRest(is);
                        break;
                    }
                }
                is->audio_src_fmt = format;
                is->audio_src_freq = frame->sample_rate;
                avutil::av_channel_layout_uninit(&is->audio_src_ch_layout);
                avutil::av_channel_layout_copy(&is->audio_src_ch_layout, &frame->ch_layout);
            }
            const Integer frameBytes = 2 * channels;
            Integer size;
            if (is->reformat_ctx) {
                uint8_t* target = is->audio_buf2.data();
                const Integer converted = swresample::swr_convert(
                    is->reformat_ctx, &target, AUDIO_BUFFER_SIZE / frameBytes,
                    const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
                avutil::av_frame_unref(frame);
                if (converted < 0) {
                    GetLogger()->Log(this, llError, u"av_audio_convert() failed");
                    DropPacketRest(is);
                    break;
                }
                is->audio_buf = is->audio_buf2.data();
                size = converted * frameBytes;
            } else {
                size = std::min<Integer>(frame->nb_samples * frameBytes, AUDIO_BUFFER_SIZE);
                std::memcpy(is->audio_buf1.data(), frame->data[0], size_t(size));
                avutil::av_frame_unref(frame);
                is->audio_buf = is->audio_buf1.data();
            }
            APTS = is->audio_clock;
            is->audio_clock = is->audio_clock + double(size) / (double(frameBytes) * rate);
            return size;
        }
        if (is->paused || is->audioq.abort_request) return -1;
        AVPacket* packet = is->audio_pkt;
        if (PacketQueueGet(is->audioq, packet, false) <= 0) return -1;
        if (IsFlushPacket(packet)) {
            avcodec::av_packet_unref(packet);
            avcodec::avcodec_flush_buffers(codec);
            continue;
        }
        if (packet->pts != AV_NOPTS_VALUE)
            is->audio_clock = av_q2d(is->audio_st.load()->time_base) * packet->pts;
        const Integer sent = avcodec::avcodec_send_packet(codec, packet);
        avcodec::av_packet_unref(packet);
        if (sent < 0) {
            // A damaged packet loses only itself.
            GetLogger()->Log(this, llInfo, u"avcodec_decode_audio2() failed");
            continue;
        }
        is->audio_pkt_sent = true;
    }
}

Integer TCustomPlayer::SynchronizeAudio(TVideoState* is, int16_t* ASamples, Integer ASize, double) {
    const bool slave = (is->av_sync_type == AV_SYNC_VIDEO_MASTER && is->video_stream >= 0) ||
                       is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK;
    if (!slave) return ASize;
    const double diff = GetAudioClock(*is) - GetMasterClock(*is);
    // Far apart in either direction: a jump, not a drift.
    if (std::fabs(diff) >= AV_NOSYNC_THRESHOLD) {
        is->audio_diff_avg_count = 0;
        is->audio_diff_cum = 0;
        return ASize;
    }
    is->audio_diff_cum = diff + is->audio_diff_avg_coef * is->audio_diff_cum;
    if (is->audio_diff_avg_count < AudioDiffAverageCount) {
        ++is->audio_diff_avg_count;
        return ASize;
    }
    const double average = is->audio_diff_cum * (1.0 - is->audio_diff_avg_coef);
    if (std::fabs(average) < is->audio_diff_threshold) return ASize;
    const Integer frameBytes = 2 * is->audio_tgt_channels;
    if (frameBytes <= 0 || ASize < frameBytes) return ASize;
    const Integer frames = ASize / frameBytes;
    const Integer lowest = (frames * (100 - SampleCorrectionPercentMax) / 100) * frameBytes;
    const Integer highest =
        std::min<Integer>((frames * (100 + SampleCorrectionPercentMax) / 100) * frameBytes,
                          AUDIO_BUFFER_SIZE / frameBytes * frameBytes);
    const Integer wanted =
        std::clamp<Integer>(ASize + Integer(Round(diff * is->audio_tgt_freq)) * frameBytes, lowest, highest);
    if (wanted > ASize) {
        // The added room repeats the block's last sample frame.
        auto* bytes = reinterpret_cast<uint8_t*>(ASamples);
        const uint8_t* last = bytes + ASize - frameBytes;
        for (uint8_t* q = bytes + ASize; q < bytes + wanted; q += frameBytes)
            std::memcpy(q, last, size_t(frameBytes));
    }
    return wanted;
}

void TCustomPlayer::UpdateSampleDisplay(TVideoState* is, const int16_t* ASamples, Integer ASize) {
    std::lock_guard<std::mutex> guard(is->sample_lock);
    Integer count = ASize / 2;
    while (count > 0) {
        const Integer piece = std::min(SAMPLE_ARRAY_SIZE - is->sample_array_index, count);
        std::memcpy(&is->sample_array[size_t(is->sample_array_index)], ASamples, size_t(piece) * 2);
        ASamples += piece;
        is->sample_array_index += piece;
        if (is->sample_array_index >= SAMPLE_ARRAY_SIZE) is->sample_array_index = 0;
        count -= piece;
    }
}
