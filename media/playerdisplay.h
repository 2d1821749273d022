// The player's display: shows each queued picture when it is due, drops late
// ones, keeps the screen surface and the overlays, lays the picture out with
// the chosen aspect ratio, blends bitmap subtitles in and draws the audio
// wave or spectrum. It runs on the play thread (TCustomPlayer, player.h);
// what can be said without a player is here.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/rational.h>
}

#include <SDL/SDL.h>

#include "media/ffutils.h"
#include "platform/base/types.h"

// Where a picture goes in an area of AWidth x AHeight at (ALeft, ATop): a
// negative AAspectRatio fills the area, 0 follows the picture's own shape
// (APictureWidth x APictureHeight with the pixel aspect APixelAspect), a
// positive one is the display ratio; centred, with even sizes.
SDL_Rect VideoLayout(float AAspectRatio, Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
                     Integer APictureWidth, Integer APictureHeight, AVRational APixelAspect);

// An overlay's planes in I420 order (YV12 keeps V before U).
TAVPicture OverlayPicture(const SDL_Overlay* AOverlay);

// Alpha-blends one bitmap subtitle rectangle (palette of 0xAAYYUUVV entries)
// into a YUV 4:2:0 picture of AWidth x AHeight. The rectangle is clipped to
// the picture, moving it in when it sticks out.
void BlendSubtitleRect(TAVPicture& APicture, const AVSubtitleRect& ARect, Integer AWidth, Integer AHeight);
