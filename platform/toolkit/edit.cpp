#include "platform/toolkit/edit.h"

#include "platform/base/sysutils.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/system.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr ULONG_PTR CaretTimer = 0xED17;
constexpr UINT CaretBlinkTime = 530;
constexpr Integer WheelLines = 3;

bool IsHigh(char16_t C) {
    return C >= 0xD800 && C <= 0xDBFF;
}

bool IsLow(char16_t C) {
    return C >= 0xDC00 && C <= 0xDFFF;
}

bool IsBreak(char16_t C) {
    return C == u'\r' || C == u'\n';
}

bool IsBlank(char16_t C) {
    return C == u' ' || C == u'\t' || IsBreak(C);
}

// The text up to its first line break.
String FirstLine(const String& AText) {
    const size_t end = AText.find_first_of(u"\r\n");
    return end == String::npos ? AText : AText.substr(0, end);
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    // The window captures the mouse itself while it selects.
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    SetAutoSize(true);
}

TCustomEdit::~TCustomEdit() = default;

// Properties.

DWORD TCustomEdit::EditStyle() const {
    static constexpr DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static constexpr DWORD cases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
    DWORD style = ES_AUTOHSCROLL | alignments[FAlignment] | cases[FCharCase];
    if (!FHideSelection) style |= ES_NOHIDESEL;
    if (FReadOnly) style |= ES_READONLY;
    if (FPasswordChar) style |= ES_PASSWORD;
    return style;
}

DWORD TCustomEdit::Style() {
    return HandleAllocated() ? DWORD(GetWindowLongW(Handle(), GWL_STYLE)) : EditStyle();
}

void TCustomEdit::SetStyleBit(DWORD ABit, bool AOn) {
    if (HandleAllocated()) {
        const DWORD style = DWORD(GetWindowLongW(Handle(), GWL_STYLE));
        SetWindowLongW(Handle(), GWL_STYLE, LONG_PTR(AOn ? (style | ABit) : (style & ~ABit)));
    }
    InvalidateLayout();
    Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle AValue) {
    if (AValue == FBorderStyle) return;
    FBorderStyle = AValue;
    RecreateWnd();
    AdjustSize();
}

void TCustomEdit::SetCharCase(TEditCharCase AValue) {
    if (AValue == FCharCase) return;
    FCharCase = AValue;
    SetStyleBit(ES_UPPERCASE, AValue == ecUpperCase);
    SetStyleBit(ES_LOWERCASE, AValue == ecLowerCase);
    const String converted = Converted(FText);
    if (converted != FText) {
        FText = converted;
        TextChanged();
    }
}

void TCustomEdit::SetHideSelection(bool AValue) {
    if (AValue == FHideSelection) return;
    FHideSelection = AValue;
    SetStyleBit(ES_NOHIDESEL, !AValue);
}

void TCustomEdit::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    SetStyleBit(ES_RIGHT, AValue == taRightJustify);
    SetStyleBit(ES_CENTER, AValue == taCenter);
}

Integer TCustomEdit::MaxLength() {
    return FLimit;
}

void TCustomEdit::SetMaxLength(Integer AValue) {
    Perform(EM_LIMITTEXT, WPARAM(std::max(0, AValue)), 0);
}

bool TCustomEdit::Modified() {
    return Perform(EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool AValue) {
    Perform(EM_SETMODIFY, AValue ? TRUE : FALSE, 0);
}

char16_t TCustomEdit::PasswordChar() {
    return char16_t(Perform(EM_GETPASSWORDCHAR, 0, 0));
}

void TCustomEdit::SetPasswordChar(char16_t AValue) {
    Perform(EM_SETPASSWORDCHAR, AValue, 0);
}

void TCustomEdit::SetReadOnly(bool AValue) {
    Perform(EM_SETREADONLY, AValue ? TRUE : FALSE, 0);
}

Integer TCustomEdit::SelStart() {
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return Integer(start);
}

void TCustomEdit::SetSelStart(Integer AValue) {
    Perform(EM_SETSEL, WPARAM(AValue), AValue);
}

Integer TCustomEdit::SelLength() {
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return Integer(end - start);
}

void TCustomEdit::SetSelLength(Integer AValue) {
    const Integer start = SelStart();
    Perform(EM_SETSEL, WPARAM(start), start + AValue);
}

String TCustomEdit::SelText() {
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return Text().substr(start, end - start);
}

void TCustomEdit::SetSelText(const String& AValue) {
    Perform(EM_REPLACESEL, TRUE, LPARAM(AValue.c_str()));
}

bool TCustomEdit::CanUndo() {
    return Perform(EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::Clear() {
    SetText(String());
}

void TCustomEdit::ClearSelection() {
    Perform(WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    Perform(WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    Perform(WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    Perform(WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
    Perform(WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
    Perform(EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::SelectAll() {
    Perform(EM_SETSEL, 0, -1);
}

String TCustomEdit::GetText() const {
    return FText;
}

bool TCustomEdit::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) {
    (void)ANewWidth;
    ANewHeight = LineHeight() + (FBorderStyle == bsSingle ? 8 : 4);
    return true;
}

void TCustomEdit::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style |= EditStyle();
    if (FBorderStyle == bsSingle) AParams.ExStyle |= WS_EX_CLIENTEDGE;
    AParams.WindowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
}

void TCustomEdit::DoEnter() {
    // A click places the caret itself; the keyboard selects everything.
    if (FAutoSelect && !FControlState.Contains(csLButtonDown) && !Multiline()) SelectAll();
    TCustomControl::DoEnter();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// Text changes.

char16_t TCustomEdit::MaskChar() {
    if (FPasswordChar) return FPasswordChar;
    return (Style() & ES_PASSWORD) ? u'*' : 0;
}

std::u16string_view TCustomEdit::DisplayText() {
    const char16_t mask = MaskChar();
    if (!mask) return FText;
    if (FMasked.size() != FText.size() || (!FMasked.empty() && FMasked[0] != mask))
        FMasked.assign(FText.size(), mask);
    return FMasked;
}

String TCustomEdit::Converted(const String& AText) const {
    switch (FCharCase) {
        case ecUpperCase:
            return UpperCase(AText);
        case ecLowerCase:
            return LowerCase(AText);
        default:
            return AText;
    }
}

void TCustomEdit::TextChanged(Integer AFrom) {
    ++FTextVersion;
    InvalidateLayout(AFrom);
    // Laid out when next shown or asked: appending many lines lays out once.
    FScrollPending = true;
    Invalidate();
    if (!ComponentState().Contains(csLoading)) Change();
}

void TCustomEdit::SetTextValue(const String& AText) {
    FText = Converted(AText);
    FAnchor = FCaret = 0;
    FScrollX = 0;
    FTopLine = 0;
    FCanUndo = false;
    FTyping = false;
    FModified = false;
    TextChanged();
}

void TCustomEdit::SaveUndo() {
    FUndoText = FText;
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
    FCanUndo = true;
}

void TCustomEdit::DoUndo() {
    if (!FCanUndo) return;
    std::swap(FText, FUndoText);
    std::swap(FAnchor, FUndoAnchor);
    std::swap(FCaret, FUndoCaret);
    FTyping = false;
    FModified = true;
    TextChanged();
}

void TCustomEdit::ReplaceSelection(const String& AText, TUndoMode AUndo) {
    String text = Converted(AText);
    const Integer start = SelMin(), length = SelMax() - start;
    if (FLimit > 0) {
        const Integer room = std::max(0, FLimit - (Integer(FText.size()) - length));
        if (Integer(text.size()) > room) {
            Integer cut = room;
            if (cut > 0 && IsHigh(text[size_t(cut - 1)])) --cut;
            text.resize(size_t(cut));
            MessageBeep(MB_OK);
        }
    }
    if (text.empty() && length == 0) return;
    switch (AUndo) {
        case umNew:
            SaveUndo();
            FTyping = false;
            break;
        case umTyping:
            if (!FTyping || length > 0) SaveUndo();
            FTyping = true;
            break;
        case umNone:
            FCanUndo = false;
            FTyping = false;
            break;
    }
    FText.replace(size_t(start), size_t(length), text);
    FAnchor = FCaret = start + Integer(text.size());
    FModified = true;
    TextChanged(start);
}

void TCustomEdit::DeleteRange(Integer AStart, Integer AEnd) {
    if (AStart == AEnd) return;
    FAnchor = AStart;
    FCaret = AEnd;
    ReplaceSelection(String(), umNew);
}

// Selection and caret.

Integer TCustomEdit::Boundary(Integer APos) const {
    const Integer n = Integer(FText.size());
    APos = std::clamp(APos, 0, n);
    if (APos > 0 && APos < n) {
        const char16_t before = FText[size_t(APos - 1)], at = FText[size_t(APos)];
        if ((IsHigh(before) && IsLow(at)) || (before == u'\r' && at == u'\n')) --APos;
    }
    return APos;
}

Integer TCustomEdit::NextPos(Integer APos) const {
    const Integer n = Integer(FText.size());
    if (APos >= n) return n;
    if (APos + 1 < n) {
        const char16_t at = FText[size_t(APos)], after = FText[size_t(APos + 1)];
        if ((IsHigh(at) && IsLow(after)) || (at == u'\r' && after == u'\n')) return APos + 2;
    }
    return APos + 1;
}

Integer TCustomEdit::PrevPos(Integer APos) const {
    if (APos <= 0) return 0;
    return Boundary(APos - 1);
}

Integer TCustomEdit::NextWord(Integer APos) const {
    const Integer n = Integer(FText.size());
    while (APos < n && !IsBlank(FText[size_t(APos)]))
        ++APos;
    while (APos < n && IsBlank(FText[size_t(APos)]))
        ++APos;
    return Boundary(APos);
}

Integer TCustomEdit::PrevWord(Integer APos) const {
    while (APos > 0 && IsBlank(FText[size_t(APos - 1)]))
        --APos;
    while (APos > 0 && !IsBlank(FText[size_t(APos - 1)]))
        --APos;
    return Boundary(APos);
}

void TCustomEdit::SetSelection(Integer AAnchor, Integer ACaret, bool AScroll) {
    FAnchor = Boundary(AAnchor);
    FCaret = Boundary(ACaret);
    FTyping = false;
    if (AScroll) ScrollCaret();
    if (FCaretShown || Focused()) StartCaret();
    Invalidate();
}

void TCustomEdit::MoveCaret(Integer APos, bool AExtend) {
    SetSelection(AExtend ? FAnchor : APos, APos, true);
}

// Layout.

void TCustomEdit::InvalidateLayout(Integer AFrom) {
    FChangedFrom = FLayoutValid ? AFrom : std::min(FChangedFrom, AFrom);
    FLayoutValid = false;
}

Integer TCustomEdit::LineHeight() {
    if (FLineHeight <= 0) FLineHeight = std::max(1, TFontDC(Font()).LineHeight());
    return FLineHeight;
}

TRect TCustomEdit::FormatRect() {
    if (FRectSet) return FRect;
    const TRect client = ClientRect();
    return Rect(client.Left + FLeftMargin, client.Top, client.Right - FRightMargin, client.Bottom);
}

std::vector<Integer> TCustomEdit::WrapParagraph(Integer AStart, Integer AEnd, Integer AWidth) {
    const String text(DisplayText().substr(size_t(AStart), size_t(AEnd - AStart)));
    const auto cached = FWrapCache.find(text);
    if (cached != FWrapCache.end()) return cached->second;
    std::vector<Integer> starts{0};
    const TFontDC dc(Font());
    const Integer n = Integer(text.size());
    const std::u16string_view view(text);
    if (AWidth > 0 && dc.TextWidth(view) > AWidth) {
        Integer start = 0;
        while (start < n) {
            // The longest run from start that fits, at least one character.
            Integer lo = start + 1, hi = n;
            while (lo < hi) {
                const Integer mid = (lo + hi + 1) / 2;
                if (dc.TextWidth(view.substr(size_t(start), size_t(mid - start))) <= AWidth)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            Integer end = lo;
            if (end < n) {
                // Break after the last blank that fits, else inside the word.
                Integer blank = end;
                while (blank > start && !IsBlank(text[size_t(blank - 1)]))
                    --blank;
                if (blank > start)
                    end = blank;
                else if (IsLow(text[size_t(end)]) && end - 1 > start)
                    --end;
            }
            if (end >= n) break;
            starts.push_back(end);
            start = end;
        }
    }
    FWrapCache.emplace(text, starts);
    return starts;
}

const std::vector<TCustomEdit::TLine>& TCustomEdit::Layout() {
    if (FLayoutValid) return FLayout;
    const Integer n = Integer(FText.size());
    if (!Multiline()) {
        FLayout.assign(1, {0, n});
        FLayoutValid = true;
        return FLayout;
    }
    const bool wrap = (Style() & ES_AUTOHSCROLL) == 0;
    const Integer width = FormatRect().Width();
    if (wrap && width != FWrapWidth) {
        FWrapCache.clear();
        FWrapWidth = width;
        FChangedFrom = 0;
    }
    // The paragraphs before the change keep their lines.
    size_t kept = 0;
    if (FChangedFrom > 0 && !FLayout.empty()) {
        kept = size_t(std::upper_bound(FLayout.begin(), FLayout.end(), FChangedFrom,
                                       [](Integer APos, const TLine& ALine) { return APos < ALine.Start; }) -
                      FLayout.begin());
        if (kept > 0) --kept;
        while (kept > 0 && !IsBreak(FText[size_t(FLayout[kept].Start - 1)]))
            --kept;
    }
    Integer pos = kept < FLayout.size() ? FLayout[kept].Start : 0;
    FLayout.resize(kept);
    for (;;) {
        Integer end = pos;
        while (end < n && !IsBreak(FText[size_t(end)]))
            ++end;
        if (wrap) {
            const std::vector<Integer> starts = WrapParagraph(pos, end, width);
            for (size_t i = 0; i < starts.size(); ++i) {
                const Integer lineEnd = i + 1 < starts.size() ? pos + starts[i + 1] : end;
                FLayout.push_back({pos + starts[i], lineEnd - pos - starts[i]});
            }
        } else {
            FLayout.push_back({pos, end - pos});
        }
        if (end >= n) break;
        pos = end + (FText[size_t(end)] == u'\r' && end + 1 < n && FText[size_t(end + 1)] == u'\n' ? 2 : 1);
    }
    FLayoutValid = true;
    return FLayout;
}

Integer TCustomEdit::LineOf(Integer APos) {
    const std::vector<TLine>& lines = Layout();
    const auto it =
        std::upper_bound(lines.begin(), lines.end(), APos,
                         [](Integer APosition, const TLine& ALine) { return APosition < ALine.Start; });
    return std::max(0, Integer(it - lines.begin()) - 1);
}

Integer TCustomEdit::VisibleLines() {
    return std::max(1, FormatRect().Height() / LineHeight());
}

void TCustomEdit::Settle() {
    if (!FScrollPending) return;
    FScrollPending = false;
    ScrollCaret();
}

Integer TCustomEdit::LineTop(Integer ALine) {
    Settle();
    const TRect r = FormatRect();
    if (!Multiline()) return r.Top + std::max(0, (r.Height() - LineHeight()) / 2);
    return r.Top + (ALine - FTopLine) * LineHeight();
}

Integer TCustomEdit::TextWidth(Integer AStart, Integer AEnd) {
    if (AEnd <= AStart) return 0;
    return TFontDC(Font()).TextWidth(DisplayText().substr(size_t(AStart), size_t(AEnd - AStart)));
}

Integer TCustomEdit::LineLeft(Integer ALine) {
    Settle();
    const TRect r = FormatRect();
    const TLine line = Layout()[size_t(ALine)];
    const DWORD align = Style() & (ES_CENTER | ES_RIGHT);
    if (align == ES_LEFT) return r.Left - FScrollX;
    const Integer width = TextWidth(line.Start, line.Start + line.Length);
    if (width >= r.Width()) return r.Left - FScrollX;
    return align == ES_RIGHT ? r.Right - width - 1 : r.Left + (r.Width() - width) / 2;
}

TPoint TCustomEdit::PosToPoint(Integer APos) {
    const Integer line = LineOf(APos);
    return {LineLeft(line) + TextWidth(Layout()[size_t(line)].Start, APos), LineTop(line)};
}

Integer TCustomEdit::PosInLine(Integer ALine, Integer AX) {
    const TLine line = Layout()[size_t(ALine)];
    const Integer dx = AX - LineLeft(ALine);
    const std::u16string_view view = DisplayText().substr(size_t(line.Start), size_t(line.Length));
    const TFontDC dc(Font());
    // The last position left of the point, then whichever neighbour is nearer.
    Integer lo = 0, hi = line.Length;
    while (lo < hi) {
        const Integer mid = (lo + hi + 1) / 2;
        if (dc.TextWidth(view.substr(0, size_t(mid))) <= dx)
            lo = mid;
        else
            hi = mid - 1;
    }
    Integer pos = Boundary(line.Start + lo);
    const Integer next = std::min(NextPos(pos), line.Start + line.Length);
    if (next > pos) {
        const Integer left = dc.TextWidth(view.substr(0, size_t(pos - line.Start)));
        const Integer right = dc.TextWidth(view.substr(0, size_t(next - line.Start)));
        if (dx - left > right - dx) pos = next;
    }
    return pos;
}

Integer TCustomEdit::PointToPos(TPoint APoint) {
    Settle();
    Integer line = 0;
    if (Multiline()) {
        const Integer dy = APoint.Y - FormatRect().Top;
        const Integer row = dy < 0 ? -1 - (-dy - 1) / LineHeight() : dy / LineHeight();
        line = std::clamp(FTopLine + row, 0, Integer(Layout().size()) - 1);
    }
    return PosInLine(line, APoint.X);
}

void TCustomEdit::ScrollCaret() {
    FScrollPending = false;
    const TRect r = FormatRect();
    const Integer line = LineOf(FCaret);
    const Integer lines = Integer(Layout().size());
    if (Multiline()) {
        const Integer visible = VisibleLines();
        if (line < FTopLine) FTopLine = line;
        if (line >= FTopLine + visible) FTopLine = line - visible + 1;
        FTopLine = std::clamp(FTopLine, 0, std::max(0, lines - visible));
    }
    if (Multiline() && (Style() & ES_AUTOHSCROLL) == 0) {
        FScrollX = 0;
        return;
    }
    const TLine current = Layout()[size_t(line)];
    const Integer width = r.Width();
    const Integer lineWidth = TextWidth(current.Start, current.Start + current.Length);
    if ((Style() & (ES_CENTER | ES_RIGHT)) != ES_LEFT && lineWidth < width) {
        FScrollX = 0;
        return;
    }
    const Integer x = TextWidth(current.Start, FCaret);
    if (x < FScrollX) FScrollX = std::max(0, x - width / 4);
    if (x >= FScrollX + width) FScrollX = x - width + width / 4;
    // No empty room after the end of a single line.
    if (!Multiline()) FScrollX = std::min(FScrollX, std::max(0, lineWidth + 1 - width));
    FScrollX = std::max(0, FScrollX);
}

void TCustomEdit::ScrollLines(Integer ADelta) {
    Settle();
    const Integer top =
        std::clamp(FTopLine + ADelta, 0, std::max(0, Integer(Layout().size()) - VisibleLines()));
    if (top == FTopLine) return;
    FTopLine = top;
    Invalidate();
}

// Input.

void TCustomEdit::StartCaret() {
    FCaretShown = true;
    if (HandleAllocated() && Focused()) SetTimer(Handle(), CaretTimer, CaretBlinkTime, nullptr);
}

void TCustomEdit::StopCaret() {
    FCaretShown = false;
    if (HandleAllocated()) KillTimer(Handle(), CaretTimer);
}

void TCustomEdit::CaretTick() {
    FCaretShown = !FCaretShown;
    const TPoint p = PosToPoint(FCaret);
    const RECT r{p.X, p.Y, p.X + 1, p.Y + LineHeight()};
    InvalidateRect(Handle(), &r, FALSE);
}

void TCustomEdit::KeyDownAction(Word AKey) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool selection = SelMin() != SelMax();
    const auto lineMove = [&](Integer ADelta) {
        const Integer target = std::clamp(LineOf(FCaret) + ADelta, 0, Integer(Layout().size()) - 1);
        MoveCaret(PosInLine(target, PosToPoint(FCaret).X), shift);
    };
    switch (AKey) {
        case VK_LEFT:
            if (!shift && selection) return MoveCaret(SelMin(), false);
            return MoveCaret(ctrl ? PrevWord(FCaret) : PrevPos(FCaret), shift);
        case VK_RIGHT:
            if (!shift && selection) return MoveCaret(SelMax(), false);
            return MoveCaret(ctrl ? NextWord(FCaret) : NextPos(FCaret), shift);
        case VK_UP:
            if (!Multiline()) return KeyDownAction(VK_LEFT);
            return lineMove(-1);
        case VK_DOWN:
            if (!Multiline()) return KeyDownAction(VK_RIGHT);
            return lineMove(1);
        case VK_PRIOR:
            if (Multiline()) lineMove(-VisibleLines());
            return;
        case VK_NEXT:
            if (Multiline()) lineMove(VisibleLines());
            return;
        case VK_HOME:
            return MoveCaret(ctrl || !Multiline() ? 0 : Layout()[size_t(LineOf(FCaret))].Start, shift);
        case VK_END: {
            if (ctrl || !Multiline()) return MoveCaret(Integer(FText.size()), shift);
            const TLine line = Layout()[size_t(LineOf(FCaret))];
            return MoveCaret(line.Start + line.Length, shift);
        }
        case VK_DELETE:
            if (shift) return (void)Perform(WM_CUT, 0, 0);
            if (FReadOnly) return;
            if (selection) return ReplaceSelection(String(), umNew);
            return DeleteRange(FCaret, NextPos(FCaret));
        case VK_INSERT:
            if (ctrl) Perform(WM_COPY, 0, 0);
            if (shift) Perform(WM_PASTE, 0, 0);
            return;
        default:
            return;
    }
}

void TCustomEdit::CharAction(char16_t AChar) {
    switch (AChar) {
        case 1:  // Ctrl+A
            return SelectAll();
        case 3:  // Ctrl+C
            Perform(WM_COPY, 0, 0);
            return;
        case 22:  // Ctrl+V
            Perform(WM_PASTE, 0, 0);
            return;
        case 24:  // Ctrl+X
            Perform(WM_CUT, 0, 0);
            return;
        case 26:  // Ctrl+Z
            Perform(WM_UNDO, 0, 0);
            return;
        default:
            break;
    }
    const bool editable = !FReadOnly;
    if (AChar == u'\b') {
        if (!editable) return (void)MessageBeep(MB_OK);
        if (SelMin() != SelMax()) return ReplaceSelection(String(), umNew);
        return DeleteRange(PrevPos(FCaret), FCaret);
    }
    String text(1, AChar);
    if (AChar == u'\r') {
        if (!Multiline() || !(Style() & ES_WANTRETURN)) return;
        text = u"\r\n";
    } else if (AChar == u'\t') {
        if (!Multiline()) return;
    } else if (AChar < u' ') {
        return;
    }
    if (!editable) return (void)MessageBeep(MB_OK);
    if (FLimit > 0 && Integer(FText.size()) - (SelMax() - SelMin()) + Integer(text.size()) > FLimit)
        return (void)MessageBeep(MB_OK);
    ReplaceSelection(text, text.size() == 1 ? umTyping : umNew);
}

void TCustomEdit::MouseAction(TMessage& AMessage) {
    const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN: {
            if (CanFocus() && !Focused()) SetFocus();
            const Integer pos = PointToPos(p);
            SetSelection(GetKeyState(VK_SHIFT) < 0 ? FAnchor : pos, pos, true);
            FSelecting = true;
            SetCapture(Handle());
            return;
        }
        case WM_LBUTTONDBLCLK: {
            // The word (or the run of blanks) under the pointer.
            const Integer pos = PointToPos(p);
            const Integer n = Integer(FText.size());
            const bool blank = pos < n && IsBlank(FText[size_t(pos)]);
            Integer start = pos, end = pos;
            while (start > 0 && IsBlank(FText[size_t(start - 1)]) == blank &&
                   !IsBreak(FText[size_t(start - 1)]))
                --start;
            while (end < n && IsBlank(FText[size_t(end)]) == blank && !IsBreak(FText[size_t(end)]))
                ++end;
            SetSelection(start, end, true);
            return;
        }
        case WM_MOUSEMOVE:
            // Selecting lasts while the window holds the mouse (a descendant may take it again).
            if (FSelecting && GetCapture() != Handle()) FSelecting = false;
            if (FSelecting) SetSelection(FAnchor, PointToPos(p), true);
            return;
        case WM_LBUTTONUP:
            if (FSelecting) {
                FSelecting = false;
                if (GetCapture() == Handle()) ReleaseCapture();
            }
            return;
        default:
            return;
    }
}

// The window.

void TCustomEdit::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == CM_FONTCHANGED) {
        FRectSet = false;
        FLineHeight = 0;
        FWrapCache.clear();
        InvalidateLayout();
        TCustomControl::Dispatch(AMessage);
        AdjustSize();
        return;
    }
    TCustomControl::Dispatch(AMessage);
}

void TCustomEdit::DefaultHandler(TMessage& AMessage) {
    const auto text = [&] { return String(reinterpret_cast<const char16_t*>(AMessage.LParam)); };
    switch (AMessage.Msg) {
        case WM_SETTEXT:
            SetTextValue(AMessage.LParam ? text() : String());
            AMessage.Result = TRUE;
            return;
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            AnswerTextMessage(AMessage, FText);
            return;
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | (Multiline() ? DLGC_WANTALLKEYS : 0);
            return;
        case EM_GETSEL:
            if (AMessage.WParam) *reinterpret_cast<DWORD*>(AMessage.WParam) = DWORD(SelMin());
            if (AMessage.LParam) *reinterpret_cast<DWORD*>(AMessage.LParam) = DWORD(SelMax());
            AMessage.Result = LRESULT(MAKELONG(WORD(SelMin()), WORD(SelMax())));
            return;
        case EM_SETSEL: {
            const Integer start = Integer(intptr_t(AMessage.WParam)), end = Integer(AMessage.LParam);
            const Integer n = Integer(FText.size());
            if (start < 0) return SetSelection(FCaret, FCaret, !Multiline());
            SetSelection(start, end < 0 ? n : end, !Multiline());
            return;
        }
        case EM_REPLACESEL:
            ReplaceSelection(AMessage.LParam ? text() : String(), AMessage.WParam ? umNew : umNone);
            return;
        case EM_CANUNDO:
            AMessage.Result = FCanUndo ? TRUE : FALSE;
            return;
        case EM_UNDO:
        case WM_UNDO:
            AMessage.Result = FCanUndo ? TRUE : FALSE;
            DoUndo();
            return;
        case EM_EMPTYUNDOBUFFER:
            FCanUndo = false;
            FTyping = false;
            return;
        case EM_GETMODIFY:
            AMessage.Result = FModified ? TRUE : FALSE;
            return;
        case EM_SETMODIFY:
            FModified = AMessage.WParam != 0;
            return;
        case EM_LIMITTEXT:
            FLimit = Integer(AMessage.WParam);
            return;
        case EM_GETLIMITTEXT:
            AMessage.Result = FLimit;
            return;
        case EM_SETPASSWORDCHAR:
            FPasswordChar = char16_t(AMessage.WParam);
            FWrapCache.clear();
            SetStyleBit(ES_PASSWORD, FPasswordChar != 0);
            return;
        case EM_GETPASSWORDCHAR:
            AMessage.Result = FPasswordChar;
            return;
        case EM_SETREADONLY:
            FReadOnly = AMessage.WParam != 0;
            SetStyleBit(ES_READONLY, FReadOnly);
            AMessage.Result = TRUE;
            return;
        case EM_SETMARGINS:
            if (AMessage.WParam & EC_LEFTMARGIN) FLeftMargin = LOWORD(ULONG_PTR(AMessage.LParam));
            if (AMessage.WParam & EC_RIGHTMARGIN) FRightMargin = HIWORD(ULONG_PTR(AMessage.LParam));
            InvalidateLayout();
            Invalidate();
            return;
        case EM_GETMARGINS:
            AMessage.Result = LRESULT(MAKELONG(WORD(FLeftMargin), WORD(FRightMargin)));
            return;
        case EM_GETRECT:
            if (AMessage.LParam) *reinterpret_cast<RECT*>(AMessage.LParam) = ToRECT(FormatRect());
            return;
        case EM_SETRECT:
        case EM_SETRECTNP:
            FRectSet = AMessage.LParam != 0;
            if (FRectSet) FRect = ToTRect(*reinterpret_cast<const RECT*>(AMessage.LParam));
            InvalidateLayout();
            ScrollCaret();
            if (AMessage.Msg == EM_SETRECT) Invalidate();
            return;
        case EM_GETLINECOUNT:
            AMessage.Result = LRESULT(Layout().size());
            return;
        case EM_LINEINDEX: {
            const Integer line = Integer(intptr_t(AMessage.WParam));
            const Integer index = line < 0 ? LineOf(FCaret) : line;
            AMessage.Result = index < Integer(Layout().size()) ? Layout()[size_t(index)].Start : -1;
            return;
        }
        case EM_LINELENGTH: {
            const Integer pos = Integer(intptr_t(AMessage.WParam));
            AMessage.Result = Layout()[size_t(LineOf(pos < 0 ? FCaret : pos))].Length;
            return;
        }
        case EM_LINEFROMCHAR: {
            const Integer pos = Integer(intptr_t(AMessage.WParam));
            AMessage.Result = LineOf(pos < 0 ? SelMin() : pos);
            return;
        }
        case EM_GETLINE: {
            const Integer line = Integer(AMessage.WParam);
            auto* buffer = reinterpret_cast<char16_t*>(AMessage.LParam);
            if (!buffer || line < 0 || line >= Integer(Layout().size())) return;
            const TLine l = Layout()[size_t(line)];
            const Integer count = std::min<Integer>(l.Length, *reinterpret_cast<const Word*>(buffer));
            std::copy_n(FText.begin() + l.Start, count, buffer);
            AMessage.Result = count;
            return;
        }
        case EM_GETFIRSTVISIBLELINE:
            Settle();
            AMessage.Result = Multiline() ? FTopLine : PosInLine(0, FormatRect().Left);
            return;
        case EM_LINESCROLL:
            if (!Multiline()) return;
            FScrollX =
                std::max(0, FScrollX + Integer(intptr_t(AMessage.WParam)) * TFontDC(Font()).TextWidth(u"x"));
            ScrollLines(Integer(AMessage.LParam));
            Invalidate();
            AMessage.Result = TRUE;
            return;
        case EM_SCROLLCARET:
            ScrollCaret();
            Invalidate();
            AMessage.Result = TRUE;
            return;
        case EM_POSFROMCHAR: {
            const Integer pos = Integer(AMessage.WParam);
            if (pos < 0 || pos > Integer(FText.size())) {
                AMessage.Result = -1;
                return;
            }
            const TPoint p = PosToPoint(pos);
            AMessage.Result = LRESULT(MAKELONG(WORD(p.X), WORD(p.Y)));
            return;
        }
        case EM_CHARFROMPOS: {
            const Integer pos = PointToPos({GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)});
            AMessage.Result = LRESULT(MAKELONG(WORD(pos), WORD(LineOf(pos))));
            return;
        }
        case WM_COPY:
            if (MaskChar() || SelMin() == SelMax()) return;
            if (OpenClipboard(HandleAllocated() ? Handle() : nullptr)) {
                EmptyClipboard();
                SetClipboardText(FText.substr(size_t(SelMin()), size_t(SelMax() - SelMin())));
                CloseClipboard();
            }
            return;
        case WM_CUT:
            if (FReadOnly || MaskChar() || SelMin() == SelMax()) return;
            Perform(WM_COPY, 0, 0);
            ReplaceSelection(String(), umNew);
            return;
        case WM_PASTE: {
            if (FReadOnly) return;
            String pasted;
            if (OpenClipboard(HandleAllocated() ? Handle() : nullptr)) {
                pasted = GetClipboardText();
                CloseClipboard();
            }
            if (!Multiline()) pasted = FirstLine(pasted);
            if (!pasted.empty()) ReplaceSelection(pasted, umNew);
            return;
        }
        case WM_CLEAR:
            if (FReadOnly || SelMin() == SelMax()) return;
            ReplaceSelection(String(), umNew);
            return;
        case WM_KEYDOWN:
            KeyDownAction(Word(AMessage.WParam));
            return;
        case WM_CHAR:
            CharAction(char16_t(AMessage.WParam));
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
            MouseAction(AMessage);
            return;
        case WM_MOUSEWHEEL:
            if (!Multiline()) break;
            ScrollLines(-GET_WHEEL_DELTA_WPARAM(AMessage.WParam) * WheelLines / WHEEL_DELTA);
            return;
        case WM_VSCROLL:
            if (!Multiline()) break;
            switch (LOWORD(AMessage.WParam)) {
                case SB_LINEUP:
                    return ScrollLines(-1);
                case SB_LINEDOWN:
                    return ScrollLines(1);
                case SB_PAGEUP:
                    return ScrollLines(-VisibleLines());
                case SB_PAGEDOWN:
                    return ScrollLines(VisibleLines());
                case SB_THUMBPOSITION:
                case SB_THUMBTRACK:
                    return ScrollLines(HIWORD(AMessage.WParam) - FTopLine);
                case SB_TOP:
                    return ScrollLines(-FTopLine);
                case SB_BOTTOM:
                    return ScrollLines(Integer(Layout().size()));
                default:
                    return;
            }
        case WM_SETFOCUS:
            StartCaret();
            Invalidate();
            break;
        case WM_KILLFOCUS:
            StopCaret();
            FSelecting = false;
            Invalidate();
            break;
        case WM_TIMER:
            if (AMessage.WParam == CaretTimer) return CaretTick();
            break;
        case WM_SIZE:
            FRectSet = false;
            InvalidateLayout();
            ScrollCaret();
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::DefaultHandler(AMessage);
}

// Painting.

HBRUSH TCustomEdit::ControlColors(HDC ADC) {
    SetTextColor(ADC, COLORREF(ColorToRGB(Font()->Color())));
    SetBkColor(ADC, COLORREF(ColorToRGB(Color())));
    SetBkMode(ADC, OPAQUE);
    HBRUSH brush = nullptr;
    if (HandleAllocated())
        if (const HWND parent = GetParent(Handle()))
            brush = reinterpret_cast<HBRUSH>(
                SendMessageW(parent, FReadOnly || !Enabled() ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                             WPARAM(ADC), LPARAM(Handle())));
    if (!brush) brush = Brush()->Handle();
    if (!Enabled()) SetTextColor(ADC, GetSysColor(COLOR_GRAYTEXT));
    return brush;
}

void TCustomEdit::PaintLine(HDC ADC, Integer ALine, bool AShowSelection) {
    const TLine line = Layout()[size_t(ALine)];
    const std::u16string_view text = DisplayText();
    const Integer y = LineTop(ALine), x = LineLeft(ALine);
    const Integer end = line.Start + line.Length;
    const Integer selStart = std::clamp(SelMin(), line.Start, end),
                  selEnd = std::clamp(SelMax(), line.Start, end);
    const auto out = [&](Integer AX, Integer AFrom, Integer ATo) {
        if (ATo > AFrom) TextOutW(ADC, AX, y, text.data() + AFrom, ATo - AFrom);
    };
    if (!AShowSelection || selStart == selEnd) return out(x, line.Start, end);
    out(x, line.Start, selStart);
    const Integer x1 = x + TextWidth(line.Start, selStart), x2 = x + TextWidth(line.Start, selEnd);
    const int saved = SaveDC(ADC);
    SetBkMode(ADC, OPAQUE);
    SetBkColor(ADC, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(ADC, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const RECT band{x1, y, x2, y + LineHeight()};
    ExtTextOutW(ADC, x1, y, ETO_OPAQUE, &band, text.data() + selStart, UINT(selEnd - selStart), nullptr);
    RestoreDC(ADC, saved);
    out(x2, selEnd, end);
}

void TCustomEdit::PaintCaret(HDC ADC) {
    if (!FCaretShown || !HandleAllocated() || !Focused()) return;
    const TPoint p = PosToPoint(FCaret);
    PatBlt(ADC, p.X, p.Y, 1, LineHeight(), DSTINVERT);
}

void TCustomEdit::PaintWindow(HDC ADC) {
    Settle();
    const HBRUSH brush = ControlColors(ADC);
    const RECT client = ToRECT(ClientRect());
    FillRect(ADC, &client, brush);
    const int saved = SaveDC(ADC);
    SelectObject(ADC, Font()->Handle());
    const TRect r = FormatRect();
    IntersectClipRect(ADC, r.Left, r.Top, r.Right, r.Bottom);
    const bool selection = (HandleAllocated() && Focused()) || (Style() & ES_NOHIDESEL);
    const Integer count = Integer(Layout().size());
    const Integer first = Multiline() ? FTopLine : 0;
    const Integer last = Multiline() ? std::min(count, FTopLine + VisibleLines() + 1) : count;
    for (Integer line = first; line < last; ++line)
        PaintLine(ADC, line, selection);
    RestoreDC(ADC, saved);
    PaintCaret(ADC);
}

namespace {

const auto Registered = [] {
    RegisterEnum<TEditCharCase>({u"ecNormal", u"ecUpperCase", u"ecLowerCase"});
    RegisterClass<TCustomEdit, TCustomControl>()
        .Property(u"Text", &TControl::Text, &TControl::SetText)
        .Property(u"AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
        .Property(u"BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Property(u"CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
        .Property(u"HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
        .Property(u"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
        .Custom(u"PasswordChar",
                [](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
                    auto* edit = published::Cast<TCustomEdit>(AObject, AContext);
                    if (AValue.Kind == TLoadValue::lvString && AValue.Text.size() <= 1)
                        return edit->SetPasswordChar(AValue.Text.empty() ? 0 : AValue.Text[0]);
                    edit->SetPasswordChar(char16_t(published::ToInteger(AValue, AContext)));
                })
        .Property(u"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Property(u"Alignment", &TCustomEdit::Alignment, &TCustomEdit::SetAlignment)
        .Event(u"OnChange", &TCustomEdit::OnChange);
    RegisterClass<TCustomMaskEdit, TCustomEdit>().Property(u"EditMask", &TCustomMaskEdit::EditMask,
                                                           &TCustomMaskEdit::SetEditMask);
    RegisterClass<TMaskEdit, TCustomMaskEdit>();
    RegisterClass<TEdit, TCustomEdit>();
    return true;
}();

}  // namespace
