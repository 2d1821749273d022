// Reading code points out of UTF-16 text.
#pragma once

#include <string_view>

namespace gdi {

inline bool IsLowSurrogate(char16_t AUnit) {
    return AUnit >= 0xDC00 && AUnit <= 0xDFFF;
}

// The code point at AIndex and how many units it takes (1 or 2); a lone
// surrogate reads as U+FFFD.
inline char32_t CodePointAt(std::u16string_view AText, size_t AIndex, size_t& ALength) {
    ALength = 1;
    const char16_t unit = AText[AIndex];
    if (unit < 0xD800 || unit > 0xDFFF) return unit;
    if (unit <= 0xDBFF && AIndex + 1 < AText.size() && IsLowSurrogate(AText[AIndex + 1])) {
        ALength = 2;
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (AText[AIndex + 1] - 0xDC00);
    }
    return 0xFFFD;
}

// The code point that ends just before AEnd.
inline char32_t CodePointBefore(std::u16string_view AText, size_t AEnd) {
    size_t length = 1;
    if (AEnd >= 2 && IsLowSurrogate(AText[AEnd - 1])) {
        const char32_t code = CodePointAt(AText, AEnd - 2, length);
        if (length == 2) return code;
    }
    return CodePointAt(AText, AEnd - 1, length);
}

}  // namespace gdi
