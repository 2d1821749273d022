#include "media/avcodecstubs.h"

VELQUA_DEFINE_ENTRY_TABLE(avcodec, VELQUA_AVCODEC_ENTRIES, FixupAVCodec, UnfixAVCodec, (void)0)
