#include "media/swresamplestubs.h"

VELQUA_DEFINE_ENTRY_TABLE(swresample, VELQUA_SWRESAMPLE_ENTRIES, FixupSwResample, UnfixSwResample, (void)0)
