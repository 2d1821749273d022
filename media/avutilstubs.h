// avutil entry points.
#pragma once

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVUTIL_ENTRIES(X) \
    X(av_dict_free)              \
    X(av_dict_get)               \
    X(av_dict_set)               \
    X(av_free)                   \
    X(av_log_get_level)          \
    X(av_log_set_callback)       \
    X(av_log_set_level)          \
    X(av_malloc)

VELQUA_DECLARE_ENTRY_TABLE(avutil, VELQUA_AVUTIL_ENTRIES, FixupAVUtil, UnfixAVUtil)
