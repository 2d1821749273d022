#include "platform/base/sysutils.h"

#include <cxxabi.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace {

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}
char16_t AsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

String Ascii(const char* AText) {
    return BytesToString(AText);
}

// Compares unit by unit after AFold; a prefix sorts first.
Integer CompareFolded(std::u16string_view A, std::u16string_view B, char16_t (*AFold)(char16_t)) {
    const size_t n = std::min(A.size(), B.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<int>(AFold(A[i])) - static_cast<int>(AFold(B[i]));
        if (d != 0) return d;
    }
    return static_cast<Integer>(A.size()) - static_cast<Integer>(B.size());
}

// Simple lower-case mapping of the cased letters of the common alphabets.
char16_t FoldCase(char16_t c) {
    if (c < 0x80) return AsciiLower(c);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x178) return 0xFF;
        // Latin Extended-A pairs a capital with the next unit, odd-based in two runs.
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool paired = c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F;
        if (paired && ((c % 2 == 1) == oddRun)) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
}

[[noreturn]] void FormatError(std::u16string_view AFormat) {
    throw EConvertError(u"Format '%s' invalid or incompatible with argument", {String(AFormat)});
}

// Significant decimal digits (trailing zeros removed) and the decimal
// exponent of the first digit, from correctly rounded printf output.
void DecimalDigits(double AValue, int APrecision, std::string& ADigits, int& AExponent) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", APrecision - 1, std::fabs(AValue));
    ADigits.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') ADigits.push_back(*p);
    AExponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (ADigits.size() > 1 && ADigits.back() == '0')
        ADigits.pop_back();
}

String NonFinite(double AValue) {
    if (std::isnan(AValue)) return u"NAN";
    return AValue < 0 ? u"-INF" : u"INF";
}

// The toolkit's general format: fixed while the integer digits fit in the
// precision and the value is at least 1e-5, otherwise "d.dddE[-]x".
String FormatGeneral(double AValue, int APrecision) {
    if (!std::isfinite(AValue)) return NonFinite(AValue);
    if (AValue == 0) return u"0";
    if (APrecision < 1 || APrecision > 18) APrecision = 15;
    std::string digits;
    int exponent;
    DecimalDigits(AValue, APrecision, digits, exponent);
    std::string out;
    if (AValue < 0) out.push_back('-');
    if (exponent >= APrecision || exponent < -5) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out.push_back('.');
            out.append(digits, intDigits, std::string::npos);
        }
    }
    return Ascii(out.c_str());
}

String FormatFixed(double AValue, int APrecision) {
    if (!std::isfinite(AValue)) return NonFinite(AValue);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", APrecision, AValue);
    // No negative zero in the output.
    if (buf[0] == '-' && std::strspn(buf + 1, "0.") == std::strlen(buf + 1)) return Ascii(buf + 1);
    return Ascii(buf);
}

String FormatScientific(double AValue, int APrecision) {
    if (!std::isfinite(AValue)) return NonFinite(AValue);
    if (APrecision < 1 || APrecision > 18) APrecision = 15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", APrecision - 1, AValue);
    // printf writes at least two exponent digits, the toolkit three.
    std::string s = buf;
    const size_t e = s.find('E');
    std::string expDigits = s.substr(e + 2);
    while (expDigits.size() < 3)
        expDigits.insert(expDigits.begin(), '0');
    s = s.substr(0, e + 2) + expDigits;
    return Ascii(s.c_str());
}

String UnsignedToText(UInt64 AValue, unsigned ABase) {
    if (AValue == 0) return u"0";
    String out;
    while (AValue) {
        const unsigned d = AValue % ABase;
        out.insert(out.begin(), static_cast<char16_t>(d < 10 ? u'0' + d : u'A' + d - 10));
        AValue /= ABase;
    }
    return out;
}

// Decimal or "$"/"0x" hex; hex may use the whole unsigned range of the type and
// reads as two's complement, so "$FFFFFFFF" is -1 as a 32-bit integer.
bool ParseInteger(std::u16string_view AText, bool A64Bit, Int64& AValue) {
    size_t i = 0;
    while (i < AText.size() && AText[i] == u' ')
        ++i;
    bool negative = false;
    if (i < AText.size() && (AText[i] == u'-' || AText[i] == u'+')) negative = AText[i++] == u'-';
    unsigned base = 10;
    if (i < AText.size() && AText[i] == u'$') {
        base = 16, ++i;
    } else if (i + 1 < AText.size() && AText[i] == u'0' && (AText[i + 1] == u'x' || AText[i + 1] == u'X')) {
        base = 16, i += 2;
    }
    if (i >= AText.size()) return false;
    UInt64 magnitude = 0;
    for (; i < AText.size(); ++i) {
        const char16_t c = AsciiUpper(AText[i]);
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        if (magnitude > (std::numeric_limits<UInt64>::max() - d) / base) return false;
        magnitude = magnitude * base + d;
    }
    const UInt64 signedMax = A64Bit ? std::numeric_limits<Int64>::max() : std::numeric_limits<Integer>::max();
    const UInt64 unsignedMax =
        A64Bit ? std::numeric_limits<UInt64>::max() : std::numeric_limits<uint32_t>::max();
    if (negative) {
        if (magnitude > signedMax + 1) return false;
        AValue = static_cast<Int64>(0 - magnitude);
    } else if (magnitude > signedMax) {
        if (base != 16 || magnitude > unsignedMax) return false;
        AValue =
            A64Bit ? static_cast<Int64>(magnitude) : static_cast<Integer>(static_cast<uint32_t>(magnitude));
    } else {
        AValue = static_cast<Int64>(magnitude);
    }
    return true;
}

[[noreturn]] void IntegerError(std::u16string_view AText) {
    throw EConvertError(u"'%s' is not a valid integer value", {String(AText)});
}

}  // namespace

String ClassNameOf(const std::type_info& AType) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(AType.name(), nullptr, nullptr, &status),
                                                std::free);
    std::string full = (status == 0 && name) ? name.get() : AType.name();
    // Keep the last component of a qualified name, outside any template arguments.
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        if (full[i] == '<') ++depth;
        if (full[i] == '>') --depth;
        if (depth == 0 && full[i] == ':' && i + 1 < full.size() && full[i + 1] == ':') start = i + 2;
    }
    return BytesToString(std::string_view(full).substr(start));
}

String Format(std::u16string_view AFormat, TVarRecs AArgs) {
    String out;
    const TVarRec* args = AArgs.begin();
    const size_t argCount = AArgs.size();
    size_t next = 0;
    size_t i = 0;
    const size_t n = AFormat.size();
    auto takeInt = [&]() -> int {
        if (next >= argCount || !args[next].IsInteger()) FormatError(AFormat);
        return static_cast<int>(args[next++].AsInt64());
    };
    auto readNumber = [&](int& AValue) -> bool {
        if (i < n && AFormat[i] == u'*') {
            ++i;
            AValue = takeInt();
            return true;
        }
        if (i < n && AFormat[i] >= u'0' && AFormat[i] <= u'9') {
            AValue = 0;
            while (i < n && AFormat[i] >= u'0' && AFormat[i] <= u'9')
                AValue = AValue * 10 + (AFormat[i++] - u'0');
            return true;
        }
        return false;
    };
    while (i < n) {
        const char16_t c = AFormat[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        ++i;
        if (i < n && AFormat[i] == u'%') {
            out.push_back(u'%');
            ++i;
            continue;
        }
        bool leftAlign = false;
        int width = -1;
        int precision = -1;
        int number = -1;
        if (i < n && AFormat[i] == u'-') {
            leftAlign = true;
            ++i;
        }
        if (readNumber(number)) {
            if (i < n && AFormat[i] == u':') {
                ++i;
                if (number < 0 || static_cast<size_t>(number) >= argCount) FormatError(AFormat);
                next = static_cast<size_t>(number);
                if (i < n && AFormat[i] == u'-') {
                    leftAlign = true;
                    ++i;
                }
                readNumber(width);
            } else {
                width = number;
            }
        }
        if (i < n && AFormat[i] == u'.') {
            ++i;
            precision = 0;
            readNumber(precision);
        }
        if (i >= n) FormatError(AFormat);
        const char16_t type = AsciiLower(AFormat[i++]);
        if (next >= argCount) throw EConvertError(u"No argument for format '%s'", {String(AFormat)});
        const TVarRec& arg = args[next++];
        String text;
        switch (type) {
            case u'd':
            case u'u':
            case u'x': {
                if (!arg.IsInteger()) FormatError(AFormat);
                const Int64 v = arg.AsInt64();
                bool negative = false;
                UInt64 magnitude;
                if (type == u'd') {
                    negative = v < 0 && arg.Kind() != TVarRec::vkUInt64;
                    magnitude = negative ? 0 - static_cast<UInt64>(v) : static_cast<UInt64>(v);
                } else {
                    // 32-bit arguments show as 32-bit unsigned values.
                    magnitude =
                        arg.Kind() == TVarRec::vkInteger ? static_cast<uint32_t>(v) : static_cast<UInt64>(v);
                }
                text = UnsignedToText(magnitude, type == u'x' ? 16 : 10);
                if (precision > static_cast<int>(text.size()))
                    text.insert(0, static_cast<size_t>(precision) - text.size(), u'0');
                if (negative) text.insert(text.begin(), u'-');
                break;
            }
            case u'f':
            case u'g':
            case u'e': {
                if (arg.Kind() != TVarRec::vkExtended) FormatError(AFormat);
                if (type == u'f')
                    text = FormatFixed(arg.AsFloat(), precision < 0 ? 2 : std::min(precision, 18));
                if (type == u'g') text = FormatGeneral(arg.AsFloat(), precision < 0 ? 15 : precision);
                if (type == u'e') text = FormatScientific(arg.AsFloat(), precision < 0 ? 15 : precision);
                break;
            }
            case u's': {
                if (arg.Kind() != TVarRec::vkString && arg.Kind() != TVarRec::vkChar) FormatError(AFormat);
                text = arg.AsString();
                if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(precision);
                break;
            }
            case u'p': {
                if (arg.Kind() != TVarRec::vkPointer) FormatError(AFormat);
                text = UnsignedToText(reinterpret_cast<UInt64>(arg.AsPointer()), 16);
                text.insert(0, sizeof(void*) * 2 - text.size(), u'0');
                break;
            }
            default:
                FormatError(AFormat);
        }
        if (width > static_cast<int>(text.size())) {
            const size_t pad = static_cast<size_t>(width) - text.size();
            if (leftAlign)
                text.append(pad, u' ');
            else
                text.insert(0, pad, u' ');
        }
        out += text;
    }
    return out;
}

AnsiString FormatAnsi(std::string_view AFormat, TVarRecs AArgs) {
    return StringToUTF8(Format(UTF8ToString(AFormat), AArgs));
}

Exception::Exception(String AMessage) : FMessage(std::move(AMessage)), FUTF8(StringToUTF8(FMessage)) {}

Exception::Exception(std::u16string_view AFormat, TVarRecs AArgs) : Exception(Format(AFormat, AArgs)) {}

Exception::~Exception() = default;

void Exception::SetMessage(const String& AValue) {
    FMessage = AValue;
    FUTF8 = StringToUTF8(AValue);
}

void Assert(bool ACondition, std::u16string_view AMessage) {
    if (!ACondition)
        throw EAssertionFailed(AMessage.empty() ? String(u"Assertion failure") : String(AMessage));
}

void Abort() {
    throw EAbort(u"Operation aborted");
}

String SysErrorMessage(Integer AErrorCode) {
    char buf[256];
    // The GNU variant may return a static text instead of filling buf.
    const char* text = strerror_r(AErrorCode, buf, sizeof buf);
    return UTF8ToString(text);
}

void RaiseLastOSError() {
    const int code = errno;
    throw EOSError(Format(u"System Error.  Code: %d.\n%s", {code, SysErrorMessage(code)}), code);
}

// "-" + text: see VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
String IntToStr(Int64 AValue) {
    if (AValue < 0) return u"-" + UnsignedToText(0 - static_cast<UInt64>(AValue), 10);
    return UnsignedToText(static_cast<UInt64>(AValue), 10);
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

String IntToHex(UInt64 AValue, Integer ADigits) {
    String text = UnsignedToText(AValue, 16);
    if (ADigits > static_cast<Integer>(text.size()))
        text.insert(0, static_cast<size_t>(ADigits) - text.size(), u'0');
    return text;
}

bool TryStrToInt(std::u16string_view AText, Integer& AValue) {
    Int64 v;
    if (!ParseInteger(AText, false, v)) return false;
    AValue = static_cast<Integer>(v);
    return true;
}

bool TryStrToInt64(std::u16string_view AText, Int64& AValue) {
    return ParseInteger(AText, true, AValue);
}

Integer StrToInt(std::u16string_view AText) {
    Integer v;
    if (!TryStrToInt(AText, v)) IntegerError(AText);
    return v;
}

Int64 StrToInt64(std::u16string_view AText) {
    Int64 v;
    if (!TryStrToInt64(AText, v)) IntegerError(AText);
    return v;
}

Integer StrToIntDef(std::u16string_view AText, Integer ADefault) {
    Integer v;
    return TryStrToInt(AText, v) ? v : ADefault;
}

Int64 StrToInt64Def(std::u16string_view AText, Int64 ADefault) {
    Int64 v;
    return TryStrToInt64(AText, v) ? v : ADefault;
}

String FloatToStr(double AValue) {
    return FormatGeneral(AValue, 15);
}

bool TryStrToFloat(std::u16string_view AText, double& AValue) {
    const String trimmed = Trim(AText);
    // Only the toolkit's form: [sign] digits [. digits] [E [sign] digits].
    size_t i = 0;
    const size_t n = trimmed.size();
    auto digits = [&]() {
        const size_t start = i;
        while (i < n && trimmed[i] >= u'0' && trimmed[i] <= u'9')
            ++i;
        return i - start;
    };
    if (i < n && (trimmed[i] == u'+' || trimmed[i] == u'-')) ++i;
    size_t mantissa = digits();
    if (i < n && trimmed[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < n && (trimmed[i] == u'e' || trimmed[i] == u'E')) {
        ++i;
        if (i < n && (trimmed[i] == u'+' || trimmed[i] == u'-')) ++i;
        if (digits() == 0) return false;
    }
    if (i != n) return false;
    const AnsiString bytes = StringToUTF8(trimmed);
    errno = 0;
    const double v = std::strtod(bytes.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(v)) return false;
    AValue = v;
    return true;
}

double StrToFloat(std::u16string_view AText) {
    double v;
    if (!TryStrToFloat(AText, v))
        throw EConvertError(u"'%s' is not a valid floating point value", {String(AText)});
    return v;
}

double StrToFloatDef(std::u16string_view AText, double ADefault) {
    double v;
    return TryStrToFloat(AText, v) ? v : ADefault;
}

String BoolToStr(bool AValue, bool AUseBoolStrs) {
    if (AUseBoolStrs) return AValue ? u"True" : u"False";
    return AValue ? u"-1" : u"0";
}

Int64 Round(double AValue) {
    const double floor = std::floor(AValue);
    const double diff = AValue - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0)) result = floor + 1;
    return static_cast<Int64>(result);
}

Int64 Trunc(double AValue) {
    return static_cast<Int64>(AValue);
}

Integer MulDiv(Integer ANumber, Integer ANumerator, Integer ADenominator) {
    if (ADenominator == 0) return -1;
    const Int64 product = static_cast<Int64>(ANumber) * ANumerator;
    Int64 quotient = product / ADenominator;
    const Int64 remainder = product % ADenominator;
    // Half away from zero: compare twice the remainder with the divisor.
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<Int64>(ADenominator)))
        quotient += ((product < 0) != (ADenominator < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<Integer>::max() || quotient < std::numeric_limits<Integer>::min())
        return -1;
    return static_cast<Integer>(quotient);
}

String Trim(std::u16string_view AText) {
    return TrimRight(TrimLeft(AText));
}

String TrimLeft(std::u16string_view AText) {
    size_t i = 0;
    while (i < AText.size() && AText[i] <= u' ')
        ++i;
    return String(AText.substr(i));
}

String TrimRight(std::u16string_view AText) {
    size_t n = AText.size();
    while (n > 0 && AText[n - 1] <= u' ')
        --n;
    return String(AText.substr(0, n));
}

String LowerCase(std::u16string_view AText) {
    String out(AText);
    for (auto& c : out)
        c = AsciiLower(c);
    return out;
}

String UpperCase(std::u16string_view AText) {
    String out(AText);
    for (auto& c : out)
        c = AsciiUpper(c);
    return out;
}

AnsiString LowerCase(std::string_view AText) {
    AnsiString out(AText);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

AnsiString UpperCase(std::string_view AText) {
    AnsiString out(AText);
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

Integer CompareText(std::u16string_view A, std::u16string_view B) {
    return CompareFolded(A, B, AsciiUpper);
}

bool SameText(std::u16string_view A, std::u16string_view B) {
    return A.size() == B.size() && CompareText(A, B) == 0;
}

Integer AnsiCompareText(std::u16string_view A, std::u16string_view B) {
    return CompareFolded(A, B, FoldCase);
}

String AnsiLowerCase(std::u16string_view AText) {
    String out(AText);
    for (char16_t& c : out)
        c = FoldCase(c);
    return out;
}

Integer AnsiCompareStr(std::u16string_view A, std::u16string_view B) {
    const Integer folded = AnsiCompareText(A, B);
    if (folded != 0) return folded;
    for (size_t i = 0; i < A.size(); ++i) {
        if (A[i] != B[i]) return FoldCase(A[i]) == A[i] ? -1 : 1;
    }
    return 0;
}

bool AnsiSameText(std::u16string_view A, std::u16string_view B) {
    return A.size() == B.size() && AnsiCompareText(A, B) == 0;
}

Integer Pos(std::u16string_view ASubStr, std::u16string_view AText, Integer AOffset) {
    if (ASubStr.empty() || AOffset < 1 || static_cast<size_t>(AOffset) > AText.size()) return 0;
    const size_t found = AText.find(ASubStr, static_cast<size_t>(AOffset) - 1);
    return found == std::u16string_view::npos ? 0 : static_cast<Integer>(found) + 1;
}

String Copy(std::u16string_view AText, Integer AIndex, Integer ACount) {
    if (AIndex < 1) AIndex = 1;
    if (ACount <= 0 || static_cast<size_t>(AIndex) > AText.size()) return String();
    return String(AText.substr(static_cast<size_t>(AIndex) - 1, static_cast<size_t>(ACount)));
}

AnsiString Copy(std::string_view AText, Integer AIndex, Integer ACount) {
    if (AIndex < 1) AIndex = 1;
    if (ACount <= 0 || static_cast<size_t>(AIndex) > AText.size()) return AnsiString();
    return AnsiString(AText.substr(static_cast<size_t>(AIndex) - 1, static_cast<size_t>(ACount)));
}

void Delete(String& AText, Integer AIndex, Integer ACount) {
    if (AIndex < 1 || static_cast<size_t>(AIndex) > AText.size() || ACount <= 0) return;
    AText.erase(static_cast<size_t>(AIndex) - 1, static_cast<size_t>(ACount));
}

void Insert(std::u16string_view ASource, String& ATarget, Integer AIndex) {
    if (AIndex < 1) AIndex = 1;
    const size_t at = std::min(static_cast<size_t>(AIndex) - 1, ATarget.size());
    ATarget.insert(at, ASource);
}

String StringOfChar(char16_t AChar, Integer ACount) {
    return ACount > 0 ? String(ACount, AChar) : String();
}

String StringReplace(std::u16string_view AText, std::u16string_view AOld, std::u16string_view ANew,
                     TReplaceFlags AFlags) {
    if (AOld.empty()) return String(AText);
    const bool ignoreCase = AFlags & rfIgnoreCase;
    const String haystack = ignoreCase ? UpperCase(AText) : String(AText);
    const String needle = ignoreCase ? UpperCase(AOld) : String(AOld);
    String out;
    size_t from = 0;
    while (true) {
        const size_t found = haystack.find(needle, from);
        if (found == String::npos) break;
        out.append(AText.substr(from, found - from));
        out.append(ANew);
        from = found + needle.size();
        if (!(AFlags & rfReplaceAll)) break;
    }
    out.append(AText.substr(from));
    return out;
}
