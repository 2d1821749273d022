// avcodec entry points.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVCODEC_ENTRIES(X) \
    X(avcodec_descriptor_get)     \
    X(avcodec_find_decoder)       \
    X(avcodec_find_encoder)

VELQUA_DECLARE_ENTRY_TABLE(avcodec, VELQUA_AVCODEC_ENTRIES, FixupAVCodec, UnfixAVCodec)
