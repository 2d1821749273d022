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
