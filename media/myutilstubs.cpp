#include "media/myutilstubs.h"

VELQUA_DEFINE_ENTRY_TABLE(myutil, VELQUA_MYUTIL_ENTRIES, FixupMsvcrt, UnfixMsvcrt, (void)0)
