// avfilter entry points.
#pragma once

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVFILTER_ENTRIES(X)           \
    X(av_buffersink_get_frame)               \
    X(av_buffersink_get_h)                   \
    X(av_buffersink_get_sample_aspect_ratio) \
    X(av_buffersink_get_time_base)           \
    X(av_buffersink_get_w)                   \
    X(av_buffersrc_add_frame_flags)          \
    X(av_buffersrc_close)                    \
    X(avfilter_get_by_name)                  \
    X(avfilter_graph_alloc)                  \
    X(avfilter_graph_config)                 \
    X(avfilter_graph_create_filter)          \
    X(avfilter_graph_free)                   \
    X(avfilter_graph_parse_ptr)              \
    X(avfilter_inout_alloc)                  \
    X(avfilter_inout_free)                   \
    X(avfilter_link)

VELQUA_DECLARE_ENTRY_TABLE(avfilter, VELQUA_AVFILTER_ENTRIES, FixupAVFilter, UnfixAVFilter)
