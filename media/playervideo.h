// The player's video and subtitle decoding: the video thread turns packets
// into pictures through a filter graph (the decoder's frames, the user's
// filter chain, YUV 4:2:0 out) and queues them with their display times; the
// subtitle thread decodes bitmap subtitles for the display. The threads are
// members of TCustomPlayer (player.h); what can be said without one is here.
#pragma once

#include <cstdint>

#include "platform/base/types.h"

// A palette colour from 0xAARRGGBB to 0xAAYYUUVV (ITU-R BT.601, studio
// range, 10-bit fixed point), alpha kept.
uint32_t RGBAToYUVA(uint32_t AColor);
