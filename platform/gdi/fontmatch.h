// Finding the installed face file for a requested Windows font.
#pragma once

#include <string>

#include "platform/base/types.h"

struct _FcConfig;

namespace gdi {

// The character set that asks for simplified Chinese glyphs.
constexpr Byte GB2312Charset = 134;

// The family that supplies Chinese glyphs, both as the face for Chinese font
// names and as the fallback for characters another face lacks.
inline constexpr const char* CjkFamily = "WenQuanYi Zen Hei";
// The last fallback: the installed family with the widest range of signs and
// symbols (check marks, arrows) that the Chinese face lacks.
inline constexpr const char* SymbolFamily = "DejaVu Sans";

// The installed family that stands in for a Windows face name: the fixed
// substitutions first, otherwise the name itself (UTF-8); empty asks for the
// default face.
std::string SubstituteFamily(const String& AFaceName, Byte ACharSet);

struct FaceFile {
    std::string Path;
    Integer Index = 0;   // face inside a collection file
    std::string Family;  // as fontconfig names the match
};

// fontconfig with its own configuration. Not thread-safe: the font engine
// serialises the calls.
class FaceMatcher {
public:
    FaceMatcher();
    ~FaceMatcher();
    FaceMatcher(const FaceMatcher&) = delete;
    FaceMatcher& operator=(const FaceMatcher&) = delete;

    // The best installed face of AFamily (empty: the default sans face) at a
    // Windows weight (0 = normal) and slant; false when no face is installed.
    bool Match(const std::string& AFamily, Integer AWeight, bool AItalic, FaceFile& AResult);

private:
    _FcConfig* FConfig;
};

}  // namespace gdi
