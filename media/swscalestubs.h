// swscale entry points.
#pragma once

extern "C" {
#include <libswscale/swscale.h>
}

#include "media/entrypoints.h"

#define VELQUA_SWSCALE_ENTRIES(X) \
    X(sws_alloc_context)          \
    X(sws_freeContext)            \
    X(sws_getCachedContext)       \
    X(sws_getContext)             \
    X(sws_init_context)           \
    X(sws_isSupportedInput)       \
    X(sws_isSupportedOutput)      \
    X(sws_scale)                  \
    X(sws_scale_frame)

VELQUA_DECLARE_ENTRY_TABLE(swscale, VELQUA_SWSCALE_ENTRIES, FixupSwScale, UnfixSwScale)
