// avformat entry points.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVFORMAT_ENTRIES(X) \
    X(avformat_close_input)        \
    X(avformat_find_stream_info)   \
    X(avformat_open_input)

VELQUA_DECLARE_ENTRY_TABLE(avformat, VELQUA_AVFORMAT_ENTRIES, FixupAVFormat, UnfixAVFormat)
