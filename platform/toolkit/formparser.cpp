#include "platform/toolkit/formparser.h"

namespace {

enum TTokenKind { tkEnd, tkIdent, tkNumber, tkString, tkSymbol };

struct TToken {
    TTokenKind Kind = tkEnd;
    String Text;
    Int64 Number = 0;
    char16_t Symbol = 0;
    Integer Line = 0;
};

bool IsIdentStart(char16_t C) {
    return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || C == u'_' || C >= 0x80;
}

bool IsIdentChar(char16_t C) {
    return IsIdentStart(C) || (C >= u'0' && C <= u'9');
}

bool IsDigit(char16_t C) {
    return C >= u'0' && C <= u'9';
}

int HexDigit(char16_t C) {
    if (C >= u'0' && C <= u'9') return C - u'0';
    if (C >= u'a' && C <= u'f') return C - u'a' + 10;
    if (C >= u'A' && C <= u'F') return C - u'A' + 10;
    return -1;
}

// Far deeper than any real form; past it a description is refused before
// its recursion can exhaust the stack.
constexpr Integer MaxNesting = 256;

class TParser {
public:
    TParser(const String& AText, const String& AFileName) : FText(AText), FFile(AFileName) { Next(); }

    TLoadObject ParseRoot() {
        TLoadObject root = ParseObject();
        if (FToken.Kind != tkEnd) Fail(u"Text after the last end");
        return root;
    }

private:
    [[noreturn]] void Fail(const String& AWhat) const { Fail(FToken.Line, AWhat); }
    [[noreturn]] void Fail(Integer ALine, const String& AWhat) const {
        throw EFormDescriptionError(FFile + u":" + IntToStr(ALine) + u": " + AWhat);
    }

    char16_t Peek(size_t AOffset = 0) const {
        return FPos + AOffset < FText.size() ? FText[FPos + AOffset] : char16_t(0);
    }

    void SkipBlanks() {
        for (;;) {
            const char16_t c = Peek();
            if (c == u'\n') {
                ++FLine;
                ++FPos;
            } else if (c == u' ' || c == u'\t' || c == u'\r' || c == 0xFEFF) {
                ++FPos;
            } else if (c == u'/' && Peek(1) == u'/') {
                while (FPos < FText.size() && Peek() != u'\n')
                    ++FPos;
            } else {
                return;
            }
        }
    }

    // 'text' parts and #code parts side by side make one string.
    void ReadString() {
        FToken.Kind = tkString;
        for (;;) {
            if (Peek() == u'\'') {
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || Peek() == u'\n') Fail(FLine, u"Unterminated string");
                    const char16_t c = FText[FPos++];
                    if (c != u'\'') {
                        FToken.Text += c;
                    } else if (Peek() == u'\'') {
                        FToken.Text += u'\'';
                        ++FPos;
                    } else {
                        break;
                    }
                }
            } else if (Peek() == u'#') {
                ++FPos;
                const Int64 code = ReadUnsigned(u"Bad character code");
                if (code > 0xFFFF) Fail(FLine, u"Bad character code");
                FToken.Text += char16_t(code);
            } else {
                return;
            }
        }
    }

    // Decimal digits, or hex ones after "$".
    Int64 ReadUnsigned(const char16_t* AError) {
        const int base = Peek() == u'$' ? 16 : 10;
        if (base == 16) ++FPos;
        if (HexDigit(Peek()) < 0 || HexDigit(Peek()) >= base) Fail(FLine, AError);
        Int64 value = 0;
        for (int digit; (digit = HexDigit(Peek())) >= 0 && digit < base; ++FPos) {
            if (value > (INT64_MAX - digit) / base) Fail(FLine, u"Number too large");
            value = value * base + digit;
        }
        return value;
    }

    void ReadNumber() {
        FToken.Kind = tkNumber;
        const bool negative = Peek() == u'-';
        if (negative) ++FPos;
        const Int64 value = ReadUnsigned(u"Bad number");
        if (Peek() == u'.' && IsDigit(Peek(1))) Fail(FLine, u"Numbers with a fraction are not supported");
        if (IsIdentChar(Peek())) Fail(FLine, u"Bad number");
        FToken.Number = negative ? -value : value;
    }

    void Next() {
        SkipBlanks();
        FToken = TToken{};
        FToken.Line = FLine;
        if (FPos >= FText.size()) return;
        const char16_t c = Peek();
        if (IsIdentStart(c)) {
            FToken.Kind = tkIdent;
            for (;;) {
                while (IsIdentChar(Peek()))
                    FToken.Text += FText[FPos++];
                if (Peek() != u'.' || !IsIdentStart(Peek(1))) break;
                FToken.Text += FText[FPos++];
            }
        } else if (IsDigit(c) || c == u'$' || (c == u'-' && (IsDigit(Peek(1)) || Peek(1) == u'$'))) {
            ReadNumber();
        } else if (c == u'\'' || c == u'#') {
            ReadString();
        } else if (String(u"=:[](),<>+").find(c) != String::npos) {
            FToken.Kind = tkSymbol;
            FToken.Symbol = c;
            ++FPos;
        } else {
            Fail(FLine, String(u"Unexpected character '") + c + u"'");
        }
    }

    bool IsKeyword(std::u16string_view AWord) const {
        return FToken.Kind == tkIdent && SameText(FToken.Text, AWord);
    }

    bool IsSymbol(char16_t ASymbol) const { return FToken.Kind == tkSymbol && FToken.Symbol == ASymbol; }

    void ExpectSymbol(char16_t ASymbol) {
        if (!IsSymbol(ASymbol)) Fail(String(u"Expected '") + ASymbol + u"'");
        Next();
    }

    String ExpectIdent(const char16_t* AWhat) {
        if (FToken.Kind != tkIdent) Fail(String(u"Expected ") + AWhat);
        String text = FToken.Text;
        Next();
        return text;
    }

    // One level deeper for the guard's life: an object, or a collection.
    class TNesting {
    public:
        explicit TNesting(TParser& AParser) : FParser(AParser) {
            if (++FParser.FDepth > MaxNesting) FParser.Fail(u"Nested too deeply");
        }
        ~TNesting() { --FParser.FDepth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TParser& FParser;
    };

    TLoadObject ParseObject() {
        if (!IsKeyword(u"object")) Fail(u"Expected object");
        const TNesting nesting(*this);
        TLoadObject object;
        object.Line = FToken.Line;
        Next();
        object.Name = ExpectIdent(u"a component name");
        ExpectSymbol(u':');
        object.ClassName = ExpectIdent(u"a class name");
        for (;;) {
            if (IsKeyword(u"end")) {
                Next();
                return object;
            }
            if (IsKeyword(u"object")) {
                object.Children.push_back(ParseObject());
                continue;
            }
            if (FToken.Kind == tkEnd) Fail(u"Missing end of object " + object.Name);
            object.Properties.push_back(ParseAssignment());
        }
    }

    TLoadAssignment ParseAssignment() {
        TLoadAssignment assignment;
        assignment.Line = FToken.Line;
        assignment.Name = ExpectIdent(u"a property name");
        ExpectSymbol(u'=');
        assignment.Value = ParseValue();
        return assignment;
    }

    String ParseStrings() {
        String text = FToken.Text;
        Next();
        while (IsSymbol(u'+')) {
            Next();
            if (FToken.Kind != tkString) Fail(u"Expected a string after +");
            text += FToken.Text;
            Next();
        }
        return text;
    }

    TLoadValue ParseValue() {
        TLoadValue value;
        value.Line = FToken.Line;
        switch (FToken.Kind) {
            case tkNumber:
                value.Kind = TLoadValue::lvInteger;
                value.Number = FToken.Number;
                Next();
                return value;
            case tkString:
                value.Kind = TLoadValue::lvString;
                value.Text = ParseStrings();
                return value;
            case tkIdent:
                value.Kind = TLoadValue::lvIdent;
                value.Text = FToken.Text;
                Next();
                return value;
            case tkSymbol:
                break;
            case tkEnd:
                Fail(u"Expected a value");
        }
        if (IsSymbol(u'[')) {
            value.Kind = TLoadValue::lvSet;
            Next();
            if (!IsSymbol(u']')) {
                value.Items.push_back(ExpectIdent(u"a set member"));
                while (IsSymbol(u',')) {
                    Next();
                    value.Items.push_back(ExpectIdent(u"a set member"));
                }
            }
            ExpectSymbol(u']');
        } else if (IsSymbol(u'(')) {
            value.Kind = TLoadValue::lvList;
            Next();
            while (!IsSymbol(u')')) {
                if (FToken.Kind != tkString) Fail(u"Expected a string in the list");
                value.Items.push_back(ParseStrings());
            }
            Next();
        } else if (IsSymbol(u'<')) {
            const TNesting nesting(*this);
            value.Kind = TLoadValue::lvCollection;
            Next();
            while (!IsSymbol(u'>')) {
                if (!IsKeyword(u"item")) Fail(u"Expected item");
                TLoadItem item;
                item.Line = FToken.Line;
                Next();
                while (!IsKeyword(u"end")) {
                    if (FToken.Kind == tkEnd) Fail(u"Missing end of item");
                    item.Properties.push_back(ParseAssignment());
                }
                Next();
                value.Collection.push_back(std::move(item));
            }
            Next();
        } else {
            Fail(u"Expected a value");
        }
        return value;
    }

    const String& FText;
    String FFile;
    size_t FPos = 0;
    Integer FLine = 1;
    Integer FDepth = 0;
    TToken FToken;
};

}  // namespace

TLoadObject ParseFormDescription(const String& AText, const String& AFileName) {
    TParser parser(AText, AFileName);
    return parser.ParseRoot();
}
