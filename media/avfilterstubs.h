// avfilter entry points.
#pragma once

extern "C" {
#include <libavfilter/avfilter.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVFILTER_ENTRIES(X) \
    X(avfilter_get_by_name)        \
    X(avfilter_graph_alloc)        \
    X(avfilter_graph_free)

VELQUA_DECLARE_ENTRY_TABLE(avfilter, VELQUA_AVFILTER_ENTRIES, FixupAVFilter, UnfixAVFilter)
