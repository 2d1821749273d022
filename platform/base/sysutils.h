// Exceptions, Format and the string and number routines of the toolkit, so
// that translated code reads like its source.
#pragma once

#include <exception>
#include <initializer_list>
#include <string_view>
#include <typeinfo>

#include "platform/base/types.h"
#include "platform/base/ustring.h"

// The name of a class as the system spells it (no namespace qualifiers).
String ClassNameOf(const std::type_info& AType);

// One argument of Format (the toolkit's "array of const").
class TVarRec {
public:
    enum TKind { vkInteger, vkInt64, vkUInt64, vkExtended, vkString, vkPointer, vkChar };

    TVarRec(int AValue) : FKind(vkInteger), FInt(AValue) {}
    TVarRec(unsigned AValue) : FKind(vkInt64), FInt(AValue) {}
    TVarRec(long AValue) : FKind(vkInt64), FInt(AValue) {}
    TVarRec(long long AValue) : FKind(vkInt64), FInt(AValue) {}
    TVarRec(unsigned long AValue) : FKind(vkUInt64), FInt(static_cast<Int64>(AValue)) {}
    TVarRec(unsigned long long AValue) : FKind(vkUInt64), FInt(static_cast<Int64>(AValue)) {}
    TVarRec(short AValue) : FKind(vkInteger), FInt(AValue) {}
    TVarRec(unsigned short AValue) : FKind(vkInteger), FInt(AValue) {}
    TVarRec(double AValue) : FKind(vkExtended), FFloat(AValue) {}
    TVarRec(float AValue) : FKind(vkExtended), FFloat(AValue) {}
    TVarRec(const String& AValue) : FKind(vkString), FStr(AValue) {}
    TVarRec(std::u16string_view AValue) : FKind(vkString), FStr(AValue) {}
    TVarRec(const char16_t* AValue) : FKind(vkString), FStr(AValue ? AValue : u"") {}
    TVarRec(const AnsiString& AValue) : FKind(vkString), FStr(UTF8ToString(AValue)) {}
    TVarRec(const char* AValue) : FKind(vkString), FStr(UTF8ToString(AValue ? AValue : "")) {}
    TVarRec(char16_t AValue) : FKind(vkChar), FStr(1, AValue) {}
    TVarRec(const void* AValue) : FKind(vkPointer), FPtr(AValue) {}
    TVarRec(bool) = delete;

    TKind Kind() const { return FKind; }
    bool IsInteger() const { return FKind == vkInteger || FKind == vkInt64 || FKind == vkUInt64; }
    Int64 AsInt64() const { return FInt; }
    double AsFloat() const { return FFloat; }
    const String& AsString() const { return FStr; }
    const void* AsPointer() const { return FPtr; }

private:
    TKind FKind;
    Int64 FInt = 0;
    double FFloat = 0;
    String FStr;
    const void* FPtr = nullptr;
};

using TVarRecs = std::initializer_list<TVarRec>;

// Format with the toolkit's rules: %[index:][-][width][.precision]type with
// the types d u x X f g e s p c and %%; * takes width or precision from the
// arguments. A mismatch raises EConvertError.
String Format(std::u16string_view AFormat, TVarRecs AArgs);
AnsiString FormatAnsi(std::string_view AFormat, TVarRecs AArgs);

class Exception : public std::exception {
public:
    explicit Exception(String AMessage);
    Exception(std::u16string_view AFormat, TVarRecs AArgs);
    ~Exception() override;

    const String& Message() const { return FMessage; }
    void SetMessage(const String& AValue);
    String ClassName() const { return ClassNameOf(typeid(*this)); }
    const char* what() const noexcept override { return FUTF8.c_str(); }

private:
    String FMessage;
    AnsiString FUTF8;
};

#define VELQUA_DECLARE_EXCEPTION(AName, ABase) \
    class AName : public ABase {               \
    public:                                    \
        using ABase::ABase;                    \
    }

VELQUA_DECLARE_EXCEPTION(EConvertError, Exception);
VELQUA_DECLARE_EXCEPTION(EAssertionFailed, Exception);
VELQUA_DECLARE_EXCEPTION(EAbort, Exception);
VELQUA_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VELQUA_DECLARE_EXCEPTION(EInvalidCast, Exception);
VELQUA_DECLARE_EXCEPTION(EInvalidPointer, Exception);
VELQUA_DECLARE_EXCEPTION(EOutOfMemory, Exception);
VELQUA_DECLARE_EXCEPTION(EListError, Exception);
VELQUA_DECLARE_EXCEPTION(EStringListError, Exception);
VELQUA_DECLARE_EXCEPTION(EStreamError, Exception);
VELQUA_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VELQUA_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VELQUA_DECLARE_EXCEPTION(EReadError, EStreamError);
VELQUA_DECLARE_EXCEPTION(EWriteError, EStreamError);
VELQUA_DECLARE_EXCEPTION(EThread, Exception);

class EInOutError : public Exception {
public:
    EInOutError(String AMessage, Integer AErrorCode)
        : Exception(std::move(AMessage)), ErrorCode(AErrorCode) {}
    Integer ErrorCode;
};

// A failed system call: the message is the system's text for errno.
class EOSError : public Exception {
public:
    EOSError(String AMessage, Integer AErrorCode) : Exception(std::move(AMessage)), ErrorCode(AErrorCode) {}
    Integer ErrorCode;
};

// Fails with EAssertionFailed: AMessage, or "Assertion failure" when empty.
void Assert(bool ACondition, std::u16string_view AMessage = {});
// The silent exception: unwinds without a message box.
[[noreturn]] void Abort();
String SysErrorMessage(Integer AErrorCode);
[[noreturn]] void RaiseLastOSError();

// Numbers and text.
String IntToStr(Int64 AValue);
String IntToHex(UInt64 AValue, Integer ADigits);
// Decimal with optional sign, or hex after "$", "0x" or "0X"; blanks before are
// allowed. Errors: "'%s' is not a valid integer value".
Integer StrToInt(std::u16string_view AText);
Int64 StrToInt64(std::u16string_view AText);
Integer StrToIntDef(std::u16string_view AText, Integer ADefault);
Int64 StrToInt64Def(std::u16string_view AText, Int64 ADefault);
bool TryStrToInt(std::u16string_view AText, Integer& AValue);
bool TryStrToInt64(std::u16string_view AText, Int64& AValue);
// Shortest form up to 15 significant digits, "E" exponent outside 1e-5..1e15.
String FloatToStr(double AValue);
// Errors: "'%s' is not a valid floating point value".
double StrToFloat(std::u16string_view AText);
double StrToFloatDef(std::u16string_view AText, double ADefault);
bool TryStrToFloat(std::u16string_view AText, double& AValue);
String BoolToStr(bool AValue, bool AUseBoolStrs = false);

// Rounded half to even.
Int64 Round(double AValue);
Int64 Trunc(double AValue);
// A * B / C in 64 bits, rounded half away from zero; -1 when C is 0.
Integer MulDiv(Integer ANumber, Integer ANumerator, Integer ADenominator);

// Strings; positions are 1-based UTF-16 units as the toolkit counts them.
String Trim(std::u16string_view AText);
String TrimLeft(std::u16string_view AText);
String TrimRight(std::u16string_view AText);
String LowerCase(std::u16string_view AText);
String UpperCase(std::u16string_view AText);
AnsiString LowerCase(std::string_view AText);
AnsiString UpperCase(std::string_view AText);
Integer CompareText(std::u16string_view A, std::u16string_view B);
bool SameText(std::u16string_view A, std::u16string_view B);
// The locale-style comparisons the string lists use: letters compare without
// case across Latin, Greek, Cyrillic and full-width forms (CompareText folds
// ASCII only); AnsiCompareStr then puts a lower-case letter before its
// capital, so only identical texts compare equal.
Integer AnsiCompareText(std::u16string_view A, std::u16string_view B);
// Lower case by the same letter mapping: AnsiSameText(A, B) exactly when the
// two lower-case forms are equal, so it can key a hash set.
String AnsiLowerCase(std::u16string_view AText);
Integer AnsiCompareStr(std::u16string_view A, std::u16string_view B);
bool AnsiSameText(std::u16string_view A, std::u16string_view B);
Integer Pos(std::u16string_view ASubStr, std::u16string_view AText, Integer AOffset = 1);
String Copy(std::u16string_view AText, Integer AIndex, Integer ACount);
AnsiString Copy(std::string_view AText, Integer AIndex, Integer ACount);
void Delete(String& AText, Integer AIndex, Integer ACount);
void Insert(std::u16string_view ASource, String& ATarget, Integer AIndex);
String StringOfChar(char16_t AChar, Integer ACount);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
String StringReplace(std::u16string_view AText, std::u16string_view AOld, std::u16string_view ANew,
                     TReplaceFlags AFlags);
