#include "platform/base/ustring.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// A byte that is no UTF-8 travels as the lone low surrogate 0xDC00 + byte,
// so a file name that is no text comes back to the same bytes.
constexpr char16_t kByteEscape = 0xDC00;

bool IsByteEscape(char32_t AUnit) {
    return AUnit >= kByteEscape + 0x80 && AUnit <= kByteEscape + 0xFF;
}

void AppendCodePoint(String& AOut, char32_t ACode) {
    if (ACode < 0x10000) {
        AOut.push_back(static_cast<char16_t>(ACode));
    } else {
        ACode -= 0x10000;
        AOut.push_back(static_cast<char16_t>(0xD800 + (ACode >> 10)));
        AOut.push_back(static_cast<char16_t>(0xDC00 + (ACode & 0x3FF)));
    }
}

void AppendUTF8(AnsiString& AOut, char32_t ACode) {
    if (ACode < 0x80) {
        AOut.push_back(static_cast<char>(ACode));
    } else if (ACode < 0x800) {
        AOut.push_back(static_cast<char>(0xC0 | (ACode >> 6)));
        AOut.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    } else if (ACode < 0x10000) {
        AOut.push_back(static_cast<char>(0xE0 | (ACode >> 12)));
        AOut.push_back(static_cast<char>(0x80 | ((ACode >> 6) & 0x3F)));
        AOut.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    } else {
        AOut.push_back(static_cast<char>(0xF0 | (ACode >> 18)));
        AOut.push_back(static_cast<char>(0x80 | ((ACode >> 12) & 0x3F)));
        AOut.push_back(static_cast<char>(0x80 | ((ACode >> 6) & 0x3F)));
        AOut.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    }
}

}  // namespace

String UTF8ToString(std::string_view AText) {
    String Result;
    Result.reserve(AText.size());
    size_t i = 0;
    const size_t n = AText.size();
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(AText[i]);
        if (b0 < 0x80) {
            Result.push_back(b0);
            ++i;
            continue;
        }
        int extra;
        char32_t code;
        char32_t minimum;
        if ((b0 & 0xE0) == 0xC0) {
            extra = 1, code = b0 & 0x1F, minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, code = b0 & 0x0F, minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, code = b0 & 0x07, minimum = 0x10000;
        } else {
            Result.push_back(static_cast<char16_t>(kByteEscape + b0));
            ++i;
            continue;
        }
        int k = 1;
        for (; k <= extra && i + k < n; ++k) {
            const auto b = static_cast<unsigned char>(AText[i + k]);
            if ((b & 0xC0) != 0x80) break;
            code = (code << 6) | (b & 0x3F);
        }
        if (k <= extra || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            // Only the lead byte: the bytes after it are escaped or read on their own.
            Result.push_back(static_cast<char16_t>(kByteEscape + b0));
            ++i;
            continue;
        }
        AppendCodePoint(Result, code);
        i += k;
    }
    return Result;
}

AnsiString StringToUTF8(std::u16string_view AText) {
    AnsiString Result;
    Result.reserve(AText.size());
    for (size_t i = 0; i < AText.size(); ++i) {
        char32_t c = AText[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < AText.size() && AText[i + 1] >= 0xDC00 &&
            AText[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (AText[i + 1] - 0xDC00);
            ++i;
        } else if (IsByteEscape(c)) {
            Result.push_back(static_cast<char>(c - kByteEscape));
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUTF8(Result, c);
    }
    return Result;
}

String BytesToString(std::string_view ABytes) {
    String Result;
    Result.reserve(ABytes.size());
    for (char c : ABytes)
        Result.push_back(static_cast<unsigned char>(c));
    return Result;
}
