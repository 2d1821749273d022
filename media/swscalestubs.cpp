#include "media/swscalestubs.h"

VELQUA_DEFINE_ENTRY_TABLE(swscale, VELQUA_SWSCALE_ENTRIES, FixupSwScale, UnfixSwScale, (void)0)
