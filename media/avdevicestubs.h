// avdevice entry points.
#pragma once

extern "C" {
#include <libavdevice/avdevice.h>
}

#include "media/entrypoints.h"

#define VELQUA_AVDEVICE_ENTRIES(X) X(avdevice_register_all)

VELQUA_DECLARE_ENTRY_TABLE(avdevice, VELQUA_AVDEVICE_ENTRIES, FixupAVDevice, UnfixAVDevice)
