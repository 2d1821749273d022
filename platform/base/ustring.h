// Conversions between the UTF-16 String and UTF-8 bytes, the platform's
// single boundary encoding (file names, INI files, FFmpeg, X11 text).
#pragma once

#include <string_view>

#include "platform/base/types.h"

// Invalid UTF-8 bytes become U+FFFD; a lone surrogate in UTF-16 becomes U+FFFD.
String UTF8ToString(std::string_view AText);
AnsiString StringToUTF8(std::u16string_view AText);

// Each byte becomes the code unit of the same value (no decoding).
String BytesToString(std::string_view ABytes);
