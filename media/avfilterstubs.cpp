#include "media/avfilterstubs.h"

VELQUA_DEFINE_ENTRY_TABLE(avfilter, VELQUA_AVFILTER_ENTRIES, FixupAVFilter, UnfixAVFilter, (void)0)
