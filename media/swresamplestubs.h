// swresample entry points: audio resampling and sample-format conversion.
#pragma once

extern "C" {
#include <libswresample/swresample.h>
}

#include "media/entrypoints.h"

#define VELQUA_SWRESAMPLE_ENTRIES(X) \
    X(swr_alloc_set_opts2)           \
    X(swr_convert)                   \
    X(swr_free)                      \
    X(swr_get_delay)                 \
    X(swr_get_out_samples)           \
    X(swr_init)                      \
    X(swr_set_compensation)

VELQUA_DECLARE_ENTRY_TABLE(swresample, VELQUA_SWRESAMPLE_ENTRIES, FixupSwResample, UnfixSwResample)
