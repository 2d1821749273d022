#include "media/avutilstubs.h"

VELQUA_DEFINE_ENTRY_TABLE(avutil, VELQUA_AVUTIL_ENTRIES, FixupAVUtil, UnfixAVUtil, (void)0)
