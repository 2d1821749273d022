#include "media/avformatstubs.h"

VELQUA_DEFINE_ENTRY_TABLE(avformat, VELQUA_AVFORMAT_ENTRIES, FixupAVFormat, UnfixAVFormat, (void)0)
