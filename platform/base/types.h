// The basic value types the system is written in.
#pragma once

#include <cstdint>
#include <string>

using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Word = uint16_t;
using SmallInt = int16_t;
using Byte = uint8_t;
using NativeInt = intptr_t;
using NativeUInt = uintptr_t;

// Text as the user interface counts it: UTF-16 code units.
using String = std::u16string;
// Bytes: FFmpeg option texts and everything the system calls ANSI (UTF-8 here).
using AnsiString = std::string;

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// GCC 12 at -O3 reports a -Wrestrict false positive inside std::basic_string
// when a literal is put before a temporary string (u"-" + text): the copy it
// sees overlapping cannot happen (GCC bug 105329). These bracket exactly the
// functions where it fires, so that the warning stays on everywhere else.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#define VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END _Pragma("GCC diagnostic pop")
#else
#define VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
#define VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END
#endif
