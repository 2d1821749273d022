#include "media/playerdisplay.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/player.h"
#include "platform/base/sysutils.h"

namespace {

// The SDL user events of the player, pushed with the state as data.
constexpr Uint8 RefreshEvent = SDL_USEREVENT + 1;

void FillRect(SDL_Surface* AScreen, Integer X, Integer Y, Integer AWidth, Integer AHeight, Uint32 AColor) {
    SDL_Rect rect{Sint16(X), Sint16(Y), Uint16(std::max(AWidth, 0)), Uint16(std::max(AHeight, 0))};
    sdl::SDL_FillRect(AScreen, &rect, AColor);
}

// ((C << s) * (255 - A) + sum * A) / (255 << s): a colour blended with the
// sum of the 1 << s subtitle colours over it.
uint8_t Blend(Integer AAlpha, Integer AOld, Integer ASum, Integer AShift) {
    return uint8_t(((AOld << AShift) * (255 - AAlpha) + ASum * AAlpha) / (255 << AShift));
}

}  // namespace

SDL_Rect VideoLayout(float AAspectRatio, Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
                     Integer APictureWidth, Integer APictureHeight, AVRational APixelAspect) {
    float aspect;
    if (AAspectRatio < 0 && AWidth != 0 && AHeight != 0) {
        aspect = float(AWidth) / float(AHeight);
    } else if (AAspectRatio > 0) {
        aspect = AAspectRatio;
    } else {
        aspect = APixelAspect.num && APixelAspect.den ? float(APixelAspect.num) / float(APixelAspect.den) : 0;
        if (aspect <= 0) aspect = 1.0f;
        aspect *= APictureHeight ? float(APictureWidth) / float(APictureHeight) : 1.0f;
    }
    Integer height = AHeight;
    Integer width = Integer(Round(height * aspect)) & ~1;
    if (width > AWidth) {
        width = AWidth;
        height = Integer(Round(width / aspect)) & ~1;
    }
    const Integer x = (AWidth - width) / 2, y = (AHeight - height) / 2;
    return SDL_Rect{Sint16(ALeft + x), Sint16(ATop + y), Uint16(std::max(width, 0)),
                    Uint16(std::max(height, 0))};
}

TAVPicture OverlayPicture(const SDL_Overlay* AOverlay) {
    TAVPicture picture{};
    picture.data[0] = AOverlay->pixels[0];
    picture.data[1] = AOverlay->pixels[2];
    picture.data[2] = AOverlay->pixels[1];
    picture.linesize[0] = AOverlay->pitches[0];
    picture.linesize[1] = AOverlay->pitches[2];
    picture.linesize[2] = AOverlay->pitches[1];
    return picture;
}

void BlendSubtitleRect(TAVPicture& APicture, const AVSubtitleRect& ARect, Integer AWidth, Integer AHeight) {
    const Integer w = std::clamp(ARect.w, 0, AWidth);
    const Integer h = std::clamp(ARect.h, 0, AHeight);
    const Integer x = std::clamp(ARect.x, 0, AWidth - w);
    const Integer y = std::clamp(ARect.y, 0, AHeight - h);
    if (w == 0 || h == 0 || !ARect.data[0] || !ARect.data[1]) return;
    const auto* palette = reinterpret_cast<const uint32_t*>(ARect.data[1]);
    auto colour = [&](Integer ARow, Integer AColumn) {
        return palette[ARect.data[0][ARow * ARect.linesize[0] + AColumn]];
    };
    for (Integer row = 0; row < h; ++row) {
        uint8_t* luma = APicture.data[0] + (y + row) * APicture.linesize[0] + x;
        for (Integer column = 0; column < w; ++column) {
            const uint32_t c = colour(row, column);
            luma[column] = Blend(Integer(c >> 24), luma[column], Integer((c >> 16) & 0xFF), 0);
        }
    }
    // Each chroma sample under the rectangle takes the average of the 1, 2 or
    // 4 subtitle pixels over its 2 x 2 block.
    for (Integer cy = y >> 1; cy <= (y + h - 1) >> 1; ++cy) {
        const Integer top = std::max(cy * 2, y), bottom = std::min(cy * 2 + 2, y + h);
        uint8_t* cb = APicture.data[1] + cy * APicture.linesize[1];
        uint8_t* cr = APicture.data[2] + cy * APicture.linesize[2];
        for (Integer cx = x >> 1; cx <= (x + w - 1) >> 1; ++cx) {
            const Integer left = std::max(cx * 2, x), right = std::min(cx * 2 + 2, x + w);
            Integer alpha = 0, sumU = 0, sumV = 0, count = 0;
            for (Integer py = top; py < bottom; ++py)
                for (Integer px = left; px < right; ++px) {
                    const uint32_t c = colour(py - y, px - x);
                    alpha += Integer(c >> 24);
                    sumU += Integer((c >> 8) & 0xFF);
                    sumV += Integer(c & 0xFF);
                    ++count;
                }
            const Integer shift = count == 4 ? 2 : count == 2 ? 1 : 0;
            cb[cx] = Blend(alpha >> shift, cb[cx], sumU, shift);
            cr[cx] = Blend(alpha >> shift, cr[cx], sumV, shift);
        }
    }
}

void TCustomPlayer::RefreshThread(TVideoState* is) {
    while (!is->abort_request) {
        if (is->refresh.exchange(1) == 0) {
            SDL_Event event{};
            event.type = RefreshEvent;
            event.user.data1 = is;
            if (!PostEvent(event)) is->refresh = 0;
        }
        // Paused with no picture to show, nothing on screen changes: sleep
        // until a picture is queued or the pause ends (both wake the state).
        const auto idle = [is] { return is->paused && is->pictq_size == 0; };
        if (idle())
            WaitOnStateWhile(*is, idle, IdleWaitMs);
        else
            WaitOnState(*is, is->audio_stream >= 0 && is->show_audio ? Frdftspeed.load() : 5);
    }
}

void TCustomPlayer::RefreshVideo(TVideoState* is, bool AConsume) {
    if (is->video_stream < 0) {
        if (is->audio_stream >= 0) {
            DisplayVideo(is);
            UpdatePosition(is);
        }
        return;
    }
    bool dropped = false;
    for (;;) {
        if (is->pictq_size == 0) {
            if (!AConsume) DisplayVideo(is);
            break;
        }
        TPictureSlot& slot = is->pictq[is->pictq_rindex];
        const double now = PlayerSeconds();
        const double showTime = slot.show_time;
        if (showTime > now) return;
        is->video_current_pts = slot.pts;
        is->video_current_pts_drift = slot.pts - now;
        is->video_current_pos = slot.pos;
        double next;
        if (is->pictq_size > 1)
            // A stamp from the file may put the next picture earlier: it is due now.
            next = std::max(is->pictq[(is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE].show_time.load(),
                            showTime);
        else
            next = showTime + is->video_clock - slot.pts;
        if ((Fframedrop && now > next && !is->IsDevice) || is->seek_done) {
            is->skip_frames = is->skip_frames * 1.05f;
            if (is->pictq_size > 1 || now > next + 0.5 || is->seek_done) {
                {
                    std::lock_guard<std::mutex> guard(is->pictq_mutex);
                    is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                    --is->pictq_size;
                }
                is->pictq_cond.notify_all();
                dropped = true;
                continue;
            }
        }
        if (is->subtitle_stream >= 0) {
            if (is->subtitle_stream_changed) {
                {
                    std::lock_guard<std::mutex> guard(is->subpq_mutex);
                    while (is->subpq_size > 0) {
                        avcodec::avsubtitle_free(&is->subpq[is->subpq_rindex].subtitle);
                        is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
                        --is->subpq_size;
                    }
                    is->subtitle_stream_changed = 0;
                }
                is->subpq_cond.notify_all();
            } else if (is->subpq_size > 0) {
                TSubtitleSlot& first = is->subpq[is->subpq_rindex];
                const TSubtitleSlot* second =
                    is->subpq_size > 1 ? &is->subpq[(is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE] : nullptr;
                const double current = is->video_current_pts;
                if (current > first.pts + first.subtitle.end_display_time / 1000.0 ||
                    (second && current > second->pts + second->subtitle.start_display_time / 1000.0)) {
                    avcodec::avsubtitle_free(&first.subtitle);
                    {
                        std::lock_guard<std::mutex> guard(is->subpq_mutex);
                        is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
                        --is->subpq_size;
                    }
                    is->subpq_cond.notify_all();
                }
            }
        }
        DisplayVideo(is);
        if (AConsume) {
            {
                std::lock_guard<std::mutex> guard(is->pictq_mutex);
                is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                --is->pictq_size;
            }
            is->pictq_cond.notify_all();
        }
        break;
    }
    if (!dropped) UpdatePosition(is);
}

void TCustomPlayer::DisplayVideo(TVideoState* is, bool AShownAgain) {
    if (!Fscreen) OpenVideoMode(is, false);
    if (is->audio_stream >= 0 && is->show_audio)
        DisplayAudio(is);
    else if (is->video_stream >= 0)
        DisplayVideoImage(is, AShownAgain);
}

Integer TCustomPlayer::VideoModeDepth() const {
    // YUV overlays need 16 bits or more; the dummy driver offers 8.
    const SDL_VideoInfo* info = sdl::SDL_GetVideoInfo();
    return info && info->vfmt && info->vfmt->BitsPerPixel < 16 ? 32 : 0;
}

Integer TCustomPlayer::OpenVideoMode(TVideoState* is, bool AForce) {
    Integer width = 640, height = 480;
    const bool fullScreen = Fis_full_screen;
    if (fullScreen && Ffs_screen_width > 0) {
        width = Ffs_screen_width;
        height = Ffs_screen_height;
    } else if (!fullScreen && Fscreen_width > 0) {
        width = Fscreen_width;
        height = Fscreen_height;
    } else if (is->video_width > 0) {
        width = is->video_width & ~1;
        height = is->video_height & ~1;
    }
    if (!AForce && Fscreen && Fscreen->w == width && Fscreen->h == height) return 0;
    const Uint32 flags = fullScreen ? SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL
                                    : SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL;
    SDL_Surface* screen = sdl::SDL_SetVideoMode(width, height, VideoModeDepth(), flags);
    if (!screen) {
        GetLogger()->Log(this, llError, u"SDL: could not set video mode.");
        return -1;
    }
    Fscreen = screen;
    if (!FScreenHandle) sdl::SDL_WM_SetCaption("VIZevado", "VIZevado");
    is->width = screen->w;
    is->height = screen->h;
    // The window may still show what an earlier file left there.
    PaintBackground(is, nullptr);
    return 0;
}

void TCustomPlayer::PaintBackground(TVideoState* is, const SDL_Rect* APicture) {
    if (!Fscreen) return;
    const SDL_Rect whole{Sint16(is->xleft), Sint16(is->ytop), Uint16(std::max<Integer>(is->width, 0)),
                         Uint16(std::max<Integer>(is->height, 0))};
    if (APicture) {
        const SDL_Rect& done = is->background_rect;
        if (done.x == APicture->x && done.y == APicture->y && done.w == APicture->w && done.h == APicture->h)
            return;
    }
    const uint32_t c = FHostBackground;
    const Uint32 colour = sdl::SDL_MapRGB(Fscreen->format, Uint8(c), Uint8(c >> 8), Uint8(c >> 16));
    std::vector<SDL_Rect> bands;
    if (!APicture) {
        bands.push_back(whole);
    } else {
        const Integer left = whole.x, top = whole.y, right = left + whole.w, bottom = top + whole.h;
        const Integer pl = APicture->x, pt = APicture->y, pr = pl + APicture->w, pb = pt + APicture->h;
        const auto band = [&](Integer X, Integer Y, Integer W, Integer H) {
            if (W > 0 && H > 0) bands.push_back(SDL_Rect{Sint16(X), Sint16(Y), Uint16(W), Uint16(H)});
        };
        band(left, top, whole.w, pt - top);
        band(left, pb, whole.w, bottom - pb);
        band(left, pt, pl - left, APicture->h);
        band(pr, pt, right - pr, APicture->h);
    }
    for (SDL_Rect& band : bands) {
        sdl::SDL_FillRect(Fscreen, &band, colour);
        sdl::SDL_UpdateRect(Fscreen, band.x, band.y, band.w, band.h);
    }
    is->background_rect = APicture ? *APicture : SDL_Rect{0, 0, 0, 0};
}

void TCustomPlayer::AllocPicture(TVideoState* is) {
    {
        std::lock_guard<std::mutex> guard(is->pictq_mutex);
        TPictureSlot& slot = is->pictq[is->pictq_windex];
        if (slot.overlay) sdl::SDL_FreeYUVOverlay(slot.overlay);
        slot.width = is->video_width & ~1;
        slot.height = is->video_height & ~1;
        slot.pix_fmt = static_cast<AVPixelFormat>(is->video_format.load());
        slot.overlay =
            Fscreen ? sdl::SDL_CreateYUVOverlay(slot.width, slot.height, SDL_YV12_OVERLAY, Fscreen) : nullptr;
        slot.ready = 1;
    }
    is->pictq_cond.notify_all();
}

void TCustomPlayer::DisplayVideoImage(TVideoState* is, bool AShownAgain) {
    Integer index;
    {
        // With the queue empty the picture on screen is the one shown last.
        std::lock_guard<std::mutex> guard(is->pictq_mutex);
        index =
            (AShownAgain || is->pictq_size == 0) && is->pictq_shown >= 0 ? is->pictq_shown : is->pictq_rindex;
        is->pictq_shown = index;
    }
    TPictureSlot& slot = is->pictq[index];
    if (!slot.overlay) return;
    if (is->subtitle_stream >= 0 && is->subpq_size > 0) {
        const TSubtitleSlot& subtitle = is->subpq[is->subpq_rindex];
        if (slot.pts >= subtitle.pts + subtitle.subtitle.start_display_time / 1000.0) {
            sdl::SDL_LockYUVOverlay(slot.overlay);
            TAVPicture picture = OverlayPicture(slot.overlay);
            for (unsigned i = 0; i < subtitle.subtitle.num_rects; ++i)
                BlendSubtitleRect(picture, *subtitle.subtitle.rects[i], slot.overlay->w, slot.overlay->h);
            sdl::SDL_UnlockYUVOverlay(slot.overlay);
        }
    }
    SDL_Rect rect = VideoLayout(FAspectRatio, is->xleft, is->ytop, is->width, is->height, slot.width,
                                slot.height, slot.sample_aspect_ratio);
    // A picture of another shape leaves nothing of the one before.
    PaintBackground(is, &rect);
    is->no_background = 0;
    sdl::SDL_DisplayYUVOverlay(slot.overlay, &rect);
}

void TCustomPlayer::DisplayAudio(TVideoState* is) {
    if (!Fscreen) return;
    const Integer width = is->width, height = is->height;
    if (width <= 0 || height <= 0) return;
    Integer rdftBits = 1;
    while ((1 << rdftBits) < 2 * height)
        ++rdftBits;
    const Integer frequencies = 1 << (rdftBits - 1);
    // The ring holds what the device plays.
    const Integer channels = std::max<Integer>(1, is->audio_tgt_channels);
    const bool wave = is->show_audio == 1;
    const Integer used = wave ? width : 2 * frequencies;
    std::vector<int16_t> samples(size_t(used + 10) * size_t(channels));
    {
        std::lock_guard<std::mutex> guard(is->sample_lock);
        auto at = [is](Integer AIndex) {
            return is
                ->sample_array[size_t((AIndex % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE)];
        };
        Integer start;
        if (is->paused) {
            start = is->last_i_start;
        } else {
            const Integer frameBytes = 2 * channels;
            Integer delay = (Integer(is->audio_buf_size) - is->audio_buf_index) / frameBytes;
            if (const Int64 callbackTime = Faudio_callback_time) {
                const Int64 elapsed = PlayerTime() - callbackTime;
                delay -= Integer(Int64(is->audio_tgt_freq) * elapsed / 1000000);
            }
            delay += 2 * used;
            if (delay < used) delay = used;
            start = ((is->sample_array_index - delay * channels) % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) %
                    SAMPLE_ARRAY_SIZE;
            if (wave) {
                // Start on a rising zero crossing so that the wave stands still.
                Integer best = INT_MIN;
                const Integer from = start;
                for (Integer i = 0; i < 1000; i += channels) {
                    const Integer index = from - i;
                    const Integer a = at(index), b = at(index + 4 * channels), c = at(index + 5 * channels),
                                  d = at(index + 9 * channels);
                    const Integer score = a - d;
                    if (best < score && (b ^ c) < 0) {
                        best = score;
                        start = (index % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE;
                    }
                }
            }
            is->last_i_start = start;
        }
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = at(start + Integer(i));
    }
    const Uint32 black = sdl::SDL_MapRGB(Fscreen->format, 0, 0, 0);
    if (wave) {
        const Uint32 white = sdl::SDL_MapRGB(Fscreen->format, 0xFF, 0xFF, 0xFF);
        FillRect(Fscreen, is->xleft, is->ytop, width, height, black);
        const Integer band = height / channels, scale = band * 9 / 20;
        for (Integer channel = 0; channel < channels; ++channel) {
            const Integer middle = is->ytop + channel * band + band / 2;
            for (Integer x = 0; x < width; ++x) {
                Integer y = (samples[size_t(x * channels + channel)] * scale) >> 15;
                Integer top = middle;
                if (y < 0) {
                    y = -y;
                    top = middle - y;
                }
                FillRect(Fscreen, is->xleft + x, top, 1, y, white);
            }
        }
        for (Integer channel = 1; channel < channels; ++channel)
            FillRect(Fscreen, is->xleft, is->ytop + channel * band, width, 1, white);
        sdl::SDL_UpdateRect(Fscreen, is->xleft, is->ytop, width, height);
        return;
    }
    const Integer shown = std::min<Integer>(channels, 2);
    if (rdftBits != is->rdft_bits) {
        if (is->rdft) avcodec::av_rdft_end(is->rdft);
        avutil::av_free(is->rdft_data);
        is->rdft = avcodec::av_rdft_init(rdftBits, DFT_R2C);
        is->rdft_bits = rdftBits;
        is->rdft_data =
            static_cast<FFTSample*>(avutil::av_malloc(4 * size_t(frequencies) * sizeof(FFTSample)));
    }
    if (!is->rdft || !is->rdft_data) return;
    FFTSample* data[2] = {is->rdft_data, is->rdft_data + 2 * frequencies};
    for (Integer channel = 0; channel < shown; ++channel) {
        for (Integer x = 0; x < 2 * frequencies; ++x) {
            const double w = double(x - frequencies) / frequencies;
            data[channel][x] = FFTSample(samples[size_t(x * channels + channel)] * (1.0 - w * w));
        }
        avcodec::av_rdft_calc(is->rdft, data[channel]);
    }
    const double norm = 1.0 / std::sqrt(double(frequencies));
    auto level = [&](const FFTSample* ABins, Integer ABin) {
        const double re = ABins[2 * ABin], im = ABins[2 * ABin + 1];
        return std::min<Integer>(Integer(Round(std::sqrt(norm * std::sqrt(re * re + im * im)))), 255);
    };
    for (Integer y = 0; y < height; ++y) {
        const Integer a = level(data[0], y);
        const Integer b = shown > 1 ? level(data[1], y) : a;
        const Uint32 colour = sdl::SDL_MapRGB(Fscreen->format, Uint8(a), Uint8(b), Uint8((a + b) / 2));
        // Low frequencies at the bottom row of the area.
        FillRect(Fscreen, is->xpos, is->ytop + height - 1 - y, 1, 1, colour);
    }
    sdl::SDL_UpdateRect(Fscreen, is->xpos, is->ytop, 1, height);
    if (++is->xpos >= is->xleft + width) is->xpos = is->xleft;
}
