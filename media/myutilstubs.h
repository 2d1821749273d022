// C runtime entry points, bound from libc by name like the other libraries.
#pragma once

#include <cstdio>

#include "media/entrypoints.h"

#define VELQUA_MYUTIL_ENTRIES(X) \
    X(fclose)                    \
    X(fopen)                     \
    X(fread)                     \
    X(fseek)                     \
    X(ftell)                     \
    X(fwrite)

VELQUA_DECLARE_ENTRY_TABLE(myutil, VELQUA_MYUTIL_ENTRIES, FixupMsvcrt, UnfixMsvcrt)
