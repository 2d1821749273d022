// Conversions between the UTF-16 String and UTF-8 bytes, the platform's
// single boundary encoding (file names, INI files, FFmpeg, X11 text).
#pragma once

#include <string_view>

#include "platform/base/types.h"

// Lossless both ways: a byte that is not part of valid UTF-8 becomes the
// lone surrogate U+DC80..U+DCFF (drawn as U+FFFD) and goes back to that
// byte, so a file name that is not valid UTF-8 still names its file. Any
// other lone surrogate becomes U+FFFD.
String UTF8ToString(std::string_view AText);
AnsiString StringToUTF8(std::u16string_view AText);

// Each byte becomes the code unit of the same value (no decoding).
String BytesToString(std::string_view ABytes);
