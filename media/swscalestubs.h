// swscale entry points.
#pragma once

extern "C" {
#include <libswscale/swscale.h>
}

#include "media/entrypoints.h"

#define VELQUA_SWSCALE_ENTRIES(X) \
    X(sws_freeContext)            \
    X(sws_getCachedContext)       \
    X(sws_getContext)             \
    X(sws_isSupportedInput)       \
    X(sws_scale)

VELQUA_DECLARE_ENTRY_TABLE(swscale, VELQUA_SWSCALE_ENTRIES, FixupSwScale, UnfixSwScale)
