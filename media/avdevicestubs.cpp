#include "media/avdevicestubs.h"

// Devices still register themselves explicitly.
VELQUA_DEFINE_ENTRY_TABLE(avdevice, VELQUA_AVDEVICE_ENTRIES, FixupAVDevice, UnfixAVDevice,
                          avdevice::avdevice_register_all())
