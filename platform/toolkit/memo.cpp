#include "platform/toolkit/memo.h"

#include <vector>

#include "platform/base/listhelpers.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"

using namespace win;

// The memo's lines, read from its text and changed through the edit
// messages, so that the caret follows what is added.
class TCustomMemo::TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* AMemo) : FMemo(AMemo) {}

    Integer Count() const override {
        // Counted once per text: a log that only grows adds in constant time.
        if (FCountVersion != FMemo->TextVersion() || FCount < 0) {
            FCount = CountLines(FMemo->EditText());
            FCountVersion = FMemo->TextVersion();
        }
        return FCount;
    }
    String Get(Integer AIndex) const override {
        const TParagraph p = At(AIndex);
        return FMemo->EditText().substr(size_t(p.Start), size_t(p.End - p.Start));
    }
    void Put(Integer AIndex, const String& S) override {
        const TParagraph p = At(AIndex);
        Replace(p.Start, p.End, S);
    }
    void Insert(Integer AIndex, const String& S) override {
        const Integer count = Count();
        if (AIndex < 0 || AIndex > count) throw EStringListError(SListIndexError, {AIndex});
        if (AIndex < count) {
            const Integer start = At(AIndex).Start;
            return Replace(start, start, S + u"\r\n");
        }
        const String& text = FMemo->EditText();
        const Integer end = Integer(text.size());
        // An empty last line exists only as a break after it.
        const String line = S.empty() ? String(u"\r\n") : S;
        Replace(end, end, text.empty() || EndsWithBreak(text) ? line : u"\r\n" + line);
        // A text with breaks of its own adds more than one line.
        FCount = S.find_first_of(u"\r\n") == String::npos ? count + 1 : -1;
        FCountVersion = FMemo->TextVersion();
    }
    void Delete(Integer AIndex) override {
        const std::vector<TParagraph> paragraphs = Paragraphs();
        if (AIndex < 0 || AIndex >= Integer(paragraphs.size()))
            throw EStringListError(SListIndexError, {AIndex});
        const TParagraph p = paragraphs[size_t(AIndex)];
        // The line goes with the break after it; the last one with the break before it.
        if (AIndex + 1 < Integer(paragraphs.size()))
            Replace(p.Start, paragraphs[size_t(AIndex + 1)].Start, String());
        else if (AIndex > 0)
            Replace(paragraphs[size_t(AIndex - 1)].End, p.End, String());
        else
            Replace(p.Start, Integer(FMemo->EditText().size()), String());
    }
    void Clear() override { FMemo->SetText(String()); }
    String Text() const override {
        const String& text = FMemo->EditText();
        return text.empty() || EndsWithBreak(text) ? text : text + u"\r\n";
    }
    void SetText(std::u16string_view AValue) override { FMemo->SetText(String(AValue)); }

protected:
    void SetUpdateState(bool AUpdating) override {
        if (!FMemo->HandleAllocated()) return;
        SendMessageW(FMemo->Handle(), WM_SETREDRAW, AUpdating ? FALSE : TRUE, 0);
        if (!AUpdating) FMemo->Invalidate();
    }

private:
    struct TParagraph {
        Integer Start;
        Integer End;
    };

    static bool EndsWithBreak(const String& AText) {
        return !AText.empty() && (AText.back() == u'\n' || AText.back() == u'\r');
    }

    // The line breaks (CR LF, CR or LF), and a last line without one.
    static Integer CountLines(const String& AText) {
        Integer count = 0;
        const size_t n = AText.size();
        for (size_t i = 0; i < n; ++i)
            if (AText[i] == u'\n' || (AText[i] == u'\r' && (i + 1 == n || AText[i + 1] != u'\n'))) ++count;
        return count + (AText.empty() || EndsWithBreak(AText) ? 0 : 1);
    }

    std::vector<TParagraph> Paragraphs() const {
        const String& text = FMemo->EditText();
        std::vector<TParagraph> result;
        const Integer n = Integer(text.size());
        Integer pos = 0;
        while (pos < n) {
            Integer end = pos;
            while (end < n && text[size_t(end)] != u'\r' && text[size_t(end)] != u'\n')
                ++end;
            result.push_back({pos, end});
            if (end < n && text[size_t(end)] == u'\r' && end + 1 < n && text[size_t(end + 1)] == u'\n') ++end;
            pos = end + 1;
        }
        return result;
    }

    TParagraph At(Integer AIndex) const {
        const std::vector<TParagraph> paragraphs = Paragraphs();
        if (AIndex < 0 || AIndex >= Integer(paragraphs.size()))
            throw EStringListError(SListIndexError, {AIndex});
        return paragraphs[size_t(AIndex)];
    }

    void Replace(Integer AStart, Integer AEnd, const String& AText) {
        FMemo->Perform(EM_SETSEL, WPARAM(AStart), AEnd);
        FMemo->Perform(EM_REPLACESEL, FALSE, LPARAM(AText.c_str()));
    }

    TCustomMemo* FMemo;
    mutable Integer FCount = -1;
    mutable Cardinal FCountVersion = 0;
};

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
    SetAutoSize(false);
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

DWORD TCustomMemo::EditStyle() const {
    DWORD style = (TCustomEdit::EditStyle() & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_AUTOVSCROLL;
    if (!FWordWrap) style |= ES_AUTOHSCROLL;
    if (FWantReturns) style |= ES_WANTRETURN;
    return style;
}

void TCustomMemo::CreateParams(TCreateParams& AParams) {
    TCustomEdit::CreateParams(AParams);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) AParams.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) AParams.Style |= WS_HSCROLL;
}

bool TCustomMemo::CanAutoSize(Integer&, Integer&) {
    return false;
}

void TCustomMemo::SetScrollBars(TScrollStyle AValue) {
    if (AValue == FScrollBars) return;
    FScrollBars = AValue;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool AValue) {
    if (AValue == FWordWrap) return;
    FWordWrap = AValue;
    SetStyleBit(ES_AUTOHSCROLL, !AValue);
}

void TCustomMemo::SetWantReturns(bool AValue) {
    if (AValue == FWantReturns) return;
    FWantReturns = AValue;
    SetStyleBit(ES_WANTRETURN, AValue);
}

void TCustomMemo::Dispatch(TMessage& AMessage) {
    TCustomEdit::Dispatch(AMessage);
    if (AMessage.Msg != WM_GETDLGCODE) return;
    if (FWantTabs)
        AMessage.Result |= DLGC_WANTTAB;
    else
        AMessage.Result &= ~DLGC_WANTTAB;
    if (!FWantReturns) AMessage.Result &= ~DLGC_WANTALLKEYS;
}

namespace {

const auto Registered = [] {
    RegisterEnum<TScrollStyle>({u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"});
    RegisterClass<TCustomMemo, TCustomEdit>()
        .Property(u"Lines", &TCustomMemo::Lines)
        .Property(u"ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
        .Property(u"WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
        .Property(u"WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
        .Property(u"WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs);
    RegisterClass<TMemo, TCustomMemo>();
    return true;
}();

}  // namespace
