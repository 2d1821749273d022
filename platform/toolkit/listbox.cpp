#include "platform/toolkit/listbox.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/base/listhelpers.h"
#include "platform/base/sysutils.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Cardinal SearchPause = 500;
constexpr Integer WheelRows = 3;

LPARAM TextParam(const String& AText) {
    return reinterpret_cast<LPARAM>(AText.c_str());
}

// The list box's items, kept by the list itself and changed through its
// messages.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* AListBox) : FListBox(AListBox) {}

    Integer Count() const override { return Integer(FListBox->Perform(LB_GETCOUNT, 0, 0)); }
    String Get(Integer AIndex) const override {
        const LRESULT length = FListBox->Perform(LB_GETTEXTLEN, WPARAM(AIndex), 0);
        if (length == LB_ERR) throw EStringListError(SListIndexError, {AIndex});
        String text(size_t(length) + 1, u'\0');
        FListBox->Perform(LB_GETTEXT, WPARAM(AIndex), reinterpret_cast<LPARAM>(text.data()));
        text.resize(size_t(length));
        return text;
    }
    void Put(Integer AIndex, const String& S) override {
        // A new text keeps the item's object and the selection.
        const Integer index = FListBox->ItemIndex();
        const bool selected = FListBox->Selected(AIndex);
        TObject* object = GetObject(AIndex);
        Delete(AIndex);
        InsertObject(AIndex, S, object);
        if (selected && FListBox->MultiSelect()) FListBox->SetSelected(AIndex, true);
        FListBox->SetItemIndex(index);
    }
    TObject* GetObject(Integer AIndex) const override {
        const LRESULT data = FListBox->Perform(LB_GETITEMDATA, WPARAM(AIndex), 0);
        if (data == LB_ERR) throw EStringListError(SListIndexError, {AIndex});
        return reinterpret_cast<TObject*>(data);
    }
    void PutObject(Integer AIndex, TObject* AObject) override {
        if (FListBox->Perform(LB_SETITEMDATA, WPARAM(AIndex), reinterpret_cast<LPARAM>(AObject)) == LB_ERR)
            throw EStringListError(SListIndexError, {AIndex});
    }
    Integer AddObject(const String& S, TObject* AObject) override {
        const Integer index = Integer(FListBox->Perform(LB_ADDSTRING, 0, TextParam(S)));
        if (AObject) PutObject(index, AObject);
        return index;
    }
    void Insert(Integer AIndex, const String& S) override { InsertObject(AIndex, S, nullptr); }
    void InsertObject(Integer AIndex, const String& S, TObject* AObject) override {
        if (AIndex < 0 || AIndex > Count()) throw EStringListError(SListIndexError, {AIndex});
        FListBox->Perform(LB_INSERTSTRING, WPARAM(AIndex), TextParam(S));
        if (AObject) PutObject(AIndex, AObject);
    }
    void Delete(Integer AIndex) override {
        if (FListBox->Perform(LB_DELETESTRING, WPARAM(AIndex), 0) == LB_ERR)
            throw EStringListError(SListIndexError, {AIndex});
    }
    void Clear() override { FListBox->Perform(LB_RESETCONTENT, 0, 0); }
    Integer IndexOf(std::u16string_view S) const override {
        const String text(S);
        return Integer(FListBox->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), TextParam(text)));
    }

protected:
    void SetUpdateState(bool AUpdating) override {
        if (!FListBox->HandleAllocated()) return;
        SendMessageW(FListBox->Handle(), WM_SETREDRAW, AUpdating ? FALSE : TRUE, 0);
        if (!AUpdating) FListBox->Invalidate();
    }

private:
    TCustomListBox* FListBox;
};

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TListBoxStrings>(this)) {
    FControlStyle = {csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
}

TCustomListBox::~TCustomListBox() = default;

// Properties.

Integer TCustomListBox::ItemIndex() {
    return Integer(Perform(FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer AValue) {
    Perform(FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, WPARAM(AValue), 0);
}

Integer TCustomListBox::TopIndex() {
    return Integer(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer AValue) {
    Perform(LB_SETTOPINDEX, WPARAM(AValue), 0);
}

Integer TCustomListBox::ItemHeight() {
    return Integer(Perform(LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::SetItemHeight(Integer AValue) {
    if (AValue > 0) Perform(LB_SETITEMHEIGHT, 0, AValue);
}

void TCustomListBox::SetStyle(TListBoxStyle AValue) {
    if (AValue == FStyle) return;
    FStyle = AValue;
    Changed();
}

void TCustomListBox::SetColumns(Integer AValue) {
    AValue = std::max(0, AValue);
    if (AValue == FColumns) return;
    FColumns = AValue;
    FTopIndex = 0;
    Changed();
}

void TCustomListBox::SetMultiSelect(bool AValue) {
    if (AValue == FMultiSelect) return;
    FMultiSelect = AValue;
    for (TEntry& entry : FEntries)
        entry.Selected = false;
    FItemIndex = -1;
    Changed();
}

void TCustomListBox::SetSorted(bool AValue) {
    if (AValue == FSorted) return;
    FSorted = AValue;
    if (!AValue || FEntries.empty()) return;
    const String current = FItemIndex >= 0 ? FEntries[size_t(FItemIndex)].Text : String();
    const LPARAM currentData = FItemIndex >= 0 ? FEntries[size_t(FItemIndex)].Data : 0;
    SafeStableSort(FEntries,
                   [](const TEntry& A, const TEntry& B) { return AnsiCompareText(A.Text, B.Text) < 0; });
    if (FItemIndex >= 0) {
        const auto it = std::find_if(FEntries.begin(), FEntries.end(), [&](const TEntry& AEntry) {
            return AEntry.Text == current && AEntry.Data == currentData;
        });
        FItemIndex = Integer(it - FEntries.begin());
    }
    Changed();
}

void TCustomListBox::SetBorderStyle(TBorderStyle AValue) {
    if (AValue == FBorderStyle) return;
    FBorderStyle = AValue;
    RecreateWnd();
}

bool TCustomListBox::Selected(Integer AIndex) {
    const LRESULT result = Perform(LB_GETSEL, WPARAM(AIndex), 0);
    if (result == LB_ERR) throw EListError(SListIndexError, {AIndex});
    return result != 0;
}

void TCustomListBox::SetSelected(Integer AIndex, bool AValue) {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    if (FMultiSelect)
        Perform(LB_SETSEL, AValue ? TRUE : FALSE, AIndex);
    else if (AValue)
        SetItemIndex(AIndex);
    else if (ItemIndex() == AIndex)
        SetItemIndex(-1);
}

Integer TCustomListBox::SelCount() {
    return Integer(Perform(LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::ClearSelection() {
    if (FMultiSelect)
        Perform(LB_SETSEL, FALSE, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
    if (FMultiSelect) Perform(LB_SETSEL, TRUE, -1);
}

void TCustomListBox::Clear() {
    FItems->Clear();
}

// Storage.

Integer TCustomListBox::InsertEntry(Integer AIndex, const String& AText) {
    FEntries.insert(FEntries.begin() + AIndex, TEntry{AText});
    if (FItemIndex >= AIndex) ++FItemIndex;
    if (FAnchor >= AIndex) ++FAnchor;
    Changed();
    return AIndex;
}

void TCustomListBox::DeleteEntry(Integer AIndex) {
    FEntries.erase(FEntries.begin() + AIndex);
    // The selected item going leaves no selection; the focus stays in place.
    if (FItemIndex == AIndex && !FMultiSelect)
        FItemIndex = -1;
    else if (FItemIndex > AIndex || (FItemIndex == Count() && FItemIndex > 0))
        --FItemIndex;
    if (FAnchor >= Count()) FAnchor = Count() - 1;
    Changed();
}

Integer TCustomListBox::FindString(Integer AStart, std::u16string_view AText, bool AExact) const {
    const Integer n = Integer(FEntries.size());
    if (n == 0) return Integer(LB_ERR);
    const Integer first = AStart < 0 || AStart >= n ? 0 : AStart + 1;
    for (Integer k = 0; k < n; ++k) {
        const Integer i = (first + k) % n;
        const String& text = FEntries[size_t(i)].Text;
        const bool found = AExact
                               ? AnsiSameText(text, AText)
                               : text.size() >= AText.size() &&
                                     AnsiSameText(std::u16string_view(text).substr(0, AText.size()), AText);
        if (found) return i;
    }
    return Integer(LB_ERR);
}

// Geometry.

Integer TCustomListBox::Rows() {
    return std::max(1, ClientHeight() / ItemHeight());
}

Integer TCustomListBox::ColumnWidth() {
    if (FColumnWidth > 0) return FColumnWidth;
    return std::max(1, FColumns > 0 ? ClientWidth() / FColumns : ClientWidth());
}

Integer TCustomListBox::VisibleColumns() {
    return std::max(1, ClientWidth() / ColumnWidth());
}

Integer TCustomListBox::MaxTopIndex() {
    const Integer count = Count();
    if (FColumns <= 0) return std::max(0, count - Rows());
    const Integer rows = Rows();
    const Integer columns = (count + rows - 1) / rows;
    return std::max(0, columns - VisibleColumns()) * rows;
}

void TCustomListBox::ScrollTo(Integer ATop) {
    ATop = std::clamp(ATop, 0, MaxTopIndex());
    if (FColumns > 0) ATop -= ATop % Rows();
    if (ATop == FTopIndex) return;
    FTopIndex = ATop;
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListBox::EnsureVisible(Integer AIndex) {
    if (AIndex < 0) return;
    if (FColumns > 0) {
        const Integer rows = Rows(), column = AIndex / rows, first = FTopIndex / rows;
        if (column < first) ScrollTo(column * rows);
        if (column >= first + VisibleColumns()) ScrollTo((column - VisibleColumns() + 1) * rows);
        return;
    }
    if (AIndex < FTopIndex) ScrollTo(AIndex);
    if (AIndex >= FTopIndex + Rows()) ScrollTo(AIndex - Rows() + 1);
}

void TCustomListBox::UpdateScrollInfo() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (FColumns > 0) {
        const Integer rows = Rows();
        info.nMax = std::max(0, (Count() + rows - 1) / rows - 1);
        info.nPage = UINT(VisibleColumns());
        info.nPos = FTopIndex / rows;
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    } else {
        info.nMax = std::max(0, Count() - 1);
        info.nPage = UINT(Rows());
        info.nPos = FTopIndex;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
}

void TCustomListBox::Changed() {
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    UpdateScrollInfo();
    Invalidate();
}

TRect TCustomListBox::ItemRect(Integer AIndex) {
    RECT r{};
    Perform(LB_GETITEMRECT, WPARAM(AIndex), reinterpret_cast<LPARAM>(&r));
    return ToTRect(r);
}

Integer TCustomListBox::ItemAtPos(TPoint APos, bool AExisting) {
    const TRect client = ClientRect();
    if (APos.X < client.Left || APos.Y < client.Top || APos.X >= client.Right || APos.Y >= client.Bottom)
        return -1;
    const Integer height = ItemHeight();
    Integer index = FTopIndex + APos.Y / height;
    if (FColumns > 0) {
        const Integer rows = Rows(), row = APos.Y / height;
        if (row >= rows) return AExisting ? -1 : Count();
        index = FTopIndex + (APos.X / ColumnWidth()) * rows + row;
    }
    if (index < Count()) return index;
    return AExisting ? -1 : Count();
}

// Selection by the user.

bool TCustomListBox::SetCaret(Integer AIndex) {
    if (AIndex == FItemIndex) return false;
    FItemIndex = AIndex;
    EnsureVisible(AIndex);
    Invalidate();
    return true;
}

void TCustomListBox::SelectRange(Integer AFrom, Integer ATo) {
    const Integer low = std::min(AFrom, ATo), high = std::max(AFrom, ATo);
    for (Integer i = 0; i < Count(); ++i)
        FEntries[size_t(i)].Selected = i >= low && i <= high;
}

void TCustomListBox::UserSelect(Integer AIndex, bool AShift, bool ACtrl, bool AClickAlways) {
    if (AIndex < 0 || AIndex >= Count()) return;
    bool changed = false;
    if (!FMultiSelect) {
        changed = SetCaret(AIndex);
    } else {
        std::vector<bool> before;
        for (const TEntry& entry : FEntries)
            before.push_back(entry.Selected);
        if (!FExtendedSelect) {
            if (AClickAlways) FEntries[size_t(AIndex)].Selected = !FEntries[size_t(AIndex)].Selected;
        } else if (ACtrl && !AShift) {
            if (AClickAlways) FEntries[size_t(AIndex)].Selected = !FEntries[size_t(AIndex)].Selected;
            FAnchor = AIndex;
        } else if (AShift && FAnchor >= 0) {
            SelectRange(FAnchor, AIndex);
        } else {
            SelectRange(AIndex, AIndex);
            FAnchor = AIndex;
        }
        changed = SetCaret(AIndex);
        for (Integer i = 0; i < Count(); ++i)
            changed = changed || before[size_t(i)] != FEntries[size_t(i)].Selected;
        Invalidate();
    }
    if (changed || AClickAlways) Click();
}

void TCustomListBox::KeyAction(Word AKey) {
    const Integer count = Count();
    if (count == 0) return;
    const Integer current = FItemIndex;
    const Integer rows = Rows();
    const Integer page = FColumns > 0 ? rows * VisibleColumns() : std::max(1, rows - 1);
    Integer target;
    switch (AKey) {
        case VK_UP:
            target = current - 1;
            break;
        case VK_DOWN:
            target = current + 1;
            break;
        case VK_LEFT:
            target = current - (FColumns > 0 ? rows : 1);
            break;
        case VK_RIGHT:
            target = current + (FColumns > 0 ? rows : 1);
            break;
        case VK_PRIOR:
            target = current - page;
            break;
        case VK_NEXT:
            target = current + page;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = count - 1;
            break;
        default:
            return;
    }
    if (current < 0) target = AKey == VK_END ? count - 1 : 0;
    target = std::clamp(target, 0, count - 1);
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    // Without extended selection the keys only move the focus of a multi-select list.
    if (FMultiSelect && (!FExtendedSelect || (ctrl && !shift))) {
        SetCaret(target);
        return;
    }
    UserSelect(target, shift, false, false);
}

Integer TCustomListBox::SearchItem(char16_t AChar) {
    if (AChar < u' ') return -1;
    String text(1, AChar);
    if (FAutoComplete) {
        const Cardinal now = GetTickCount();
        if (now - FLastTime >= SearchPause) FFilter.clear();
        FLastTime = now;
        FFilter += AChar;
        text = FFilter;
    }
    // One character looks after the current item, so that it cycles.
    return Integer(Perform(LB_FINDSTRING, WPARAM(text.size() == 1 ? FItemIndex : -1), TextParam(text)));
}

void TCustomListBox::Search(char16_t AChar) {
    const Integer found = SearchItem(AChar);
    if (found < 0) return;
    if (FMultiSelect && !FExtendedSelect)
        SetCaret(found);
    else
        UserSelect(found, false, false, false);
}

void TCustomListBox::MouseAction(TMessage& AMessage) {
    const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    const bool shift = (AMessage.WParam & MK_SHIFT) != 0, ctrl = (AMessage.WParam & MK_CONTROL) != 0;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (CanFocus() && !Focused()) SetFocus();
            const Integer index = ItemAtPos(p, true);
            if (index < 0) return;
            FTracking = true;
            SetCapture(Handle());
            UserSelect(index, shift, ctrl, true);
            if (AMessage.Msg == WM_LBUTTONDBLCLK) DblClick();
            return;
        }
        case WM_MOUSEMOVE: {
            // Tracking lasts while the window holds the mouse (a descendant may take it again).
            if (FTracking && GetCapture() != Handle()) FTracking = false;
            if (!FTracking || Count() == 0) return;
            const TRect client = ClientRect();
            Integer index;
            if (p.Y < client.Top) {
                ScrollTo(FTopIndex - (FColumns > 0 ? Rows() : 1));
                index = FTopIndex;
            } else if (p.Y >= client.Bottom && FColumns <= 0) {
                ScrollTo(FTopIndex + 1);
                index = std::min(Count() - 1, FTopIndex + Rows() - 1);
            } else {
                const TPoint inside{std::clamp(p.X, client.Left, client.Right - 1),
                                    std::clamp(p.Y, client.Top, client.Bottom - 1)};
                index = ItemAtPos(inside, false);
                index = std::min(index, Count() - 1);
            }
            if (FMultiSelect && !FExtendedSelect) return;
            if (index != FItemIndex) UserSelect(index, FMultiSelect, false, false);
            return;
        }
        case WM_LBUTTONUP:
            if (FTracking) {
                FTracking = false;
                if (GetCapture() == Handle()) ReleaseCapture();
            }
            return;
        default:
            return;
    }
}

void TCustomListBox::ScrollAction(WORD ACode, Integer APosition) {
    const Integer step = FColumns > 0 ? Rows() : 1;
    const Integer page = FColumns > 0 ? Rows() * VisibleColumns() : Rows();
    switch (ACode) {
        case SB_LINEUP:
            return ScrollTo(FTopIndex - step);
        case SB_LINEDOWN:
            return ScrollTo(FTopIndex + step);
        case SB_PAGEUP:
            return ScrollTo(FTopIndex - page);
        case SB_PAGEDOWN:
            return ScrollTo(FTopIndex + page);
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            return ScrollTo(APosition * step);
        case SB_TOP:
            return ScrollTo(0);
        case SB_BOTTOM:
            return ScrollTo(MaxTopIndex());
        default:
            return;
    }
}

// The window.

void TCustomListBox::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style |=
        LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | (FColumns > 0 ? WS_HSCROLL : WS_VSCROLL);
    if (FSorted) AParams.Style |= LBS_SORT;
    if (FMultiSelect) AParams.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FStyle == lbOwnerDrawFixed) AParams.Style |= LBS_OWNERDRAWFIXED;
    if (FColumns > 0) AParams.Style |= LBS_MULTICOLUMN;
    if (FBorderStyle == bsSingle) AParams.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollInfo();
}

void TCustomListBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CN_DRAWITEM:
            return CNDrawItem(AMessage);
        case CM_FONTCHANGED:
            FFontHeight = 0;
            TCustomControl::Dispatch(AMessage);
            Changed();
            return;
        default:
            TCustomControl::Dispatch(AMessage);
            return;
    }
}

void TCustomListBox::DefaultHandler(TMessage& AMessage) {
    const Integer index = Integer(intptr_t(AMessage.WParam));
    const bool valid = index >= 0 && index < Count();
    const auto text = [&] { return String(reinterpret_cast<const char16_t*>(AMessage.LParam)); };
    LRESULT& result = AMessage.Result;
    switch (AMessage.Msg) {
        case LB_ADDSTRING: {
            Integer at = Count();
            if (FSorted) {
                const String item = text();
                at = Integer(std::upper_bound(FEntries.begin(), FEntries.end(), item,
                                              [](const String& AText, const TEntry& AEntry) {
                                                  return AnsiCompareText(AText, AEntry.Text) < 0;
                                              }) -
                             FEntries.begin());
            }
            result = InsertEntry(at, text());
            return;
        }
        case LB_INSERTSTRING:
            if (index > Count()) {
                result = LB_ERR;
                return;
            }
            result = InsertEntry(index < 0 ? Count() : index, text());
            return;
        case LB_DELETESTRING:
            if (!valid) {
                result = LB_ERR;
                return;
            }
            DeleteEntry(index);
            result = Count();
            return;
        case LB_RESETCONTENT:
            FEntries.clear();
            FItemIndex = FAnchor = -1;
            FTopIndex = 0;
            Changed();
            return;
        case LB_GETCOUNT:
            result = Count();
            return;
        case LB_GETTEXTLEN:
            result = valid ? LRESULT(FEntries[size_t(index)].Text.size()) : LB_ERR;
            return;
        case LB_GETTEXT: {
            if (!valid) {
                result = LB_ERR;
                return;
            }
            const String& item = FEntries[size_t(index)].Text;
            auto* buffer = reinterpret_cast<char16_t*>(AMessage.LParam);
            std::copy(item.begin(), item.end(), buffer);
            buffer[item.size()] = 0;
            result = LRESULT(item.size());
            return;
        }
        case LB_GETITEMDATA:
            result = valid ? FEntries[size_t(index)].Data : LB_ERR;
            return;
        case LB_SETITEMDATA:
            if (valid) FEntries[size_t(index)].Data = AMessage.LParam;
            result = valid ? LB_OKAY : LB_ERR;
            return;
        case LB_SETCURSEL:
            if (FMultiSelect) {
                result = LB_ERR;
                return;
            }
            FItemIndex = valid ? index : -1;
            EnsureVisible(FItemIndex);
            Invalidate();
            result = valid ? index : LB_ERR;
            return;
        case LB_GETCURSEL:
        case LB_GETCARETINDEX:
            result = FItemIndex;
            return;
        case LB_SETCARETINDEX:
            if (!valid) {
                result = LB_ERR;
                return;
            }
            SetCaret(index);
            if (!FMultiSelect) Invalidate();
            return;
        case LB_SETSEL: {
            const Integer item = Integer(AMessage.LParam);
            if (!FMultiSelect || item >= Count()) {
                result = LB_ERR;
                return;
            }
            for (Integer i = 0; i < Count(); ++i)
                if (item < 0 || i == item) FEntries[size_t(i)].Selected = AMessage.WParam != 0;
            Invalidate();
            return;
        }
        case LB_GETSEL:
            if (!valid) {
                result = LB_ERR;
                return;
            }
            result = FMultiSelect ? FEntries[size_t(index)].Selected : index == FItemIndex;
            return;
        case LB_GETSELCOUNT:
            result = FMultiSelect ? std::count_if(FEntries.begin(), FEntries.end(),
                                                  [](const TEntry& AEntry) { return AEntry.Selected; })
                                  : LB_ERR;
            return;
        case LB_GETTOPINDEX:
            result = FTopIndex;
            return;
        case LB_SETTOPINDEX:
            if (index < 0 || index >= std::max(1, Count())) {
                result = LB_ERR;
                return;
            }
            ScrollTo(index);
            return;
        case LB_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(AMessage.LParam);
            if (index < 0 || index > Count() || !r) {
                result = LB_ERR;
                return;
            }
            const Integer height = ItemHeight();
            if (FColumns > 0) {
                const Integer rows = Rows(), offset = index - FTopIndex;
                const Integer column = offset >= 0 ? offset / rows : -((-offset + rows - 1) / rows);
                const Integer row = offset - column * rows;
                *r = ToRECT(Bounds(column * ColumnWidth(), row * height, ColumnWidth(), height));
            } else {
                *r = ToRECT(Bounds(0, (index - FTopIndex) * height, ClientWidth(), height));
            }
            result = LB_OKAY;
            return;
        }
        case LB_SETITEMHEIGHT:
            if (AMessage.LParam <= 0 || AMessage.LParam > 255) {
                result = LB_ERR;
                return;
            }
            FItemHeight = Integer(AMessage.LParam);
            Changed();
            return;
        case LB_GETITEMHEIGHT:
            if (FStyle != lbStandard) {
                result = FItemHeight;
                return;
            }
            if (FFontHeight <= 0) FFontHeight = std::max(1, TFontDC(Font()).LineHeight());
            result = FFontHeight;
            return;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            result = AMessage.LParam ? FindString(index, text(), AMessage.Msg == LB_FINDSTRINGEXACT) : LB_ERR;
            return;
        case LB_SELECTSTRING: {
            const Integer found = AMessage.LParam ? FindString(index, text(), false) : Integer(LB_ERR);
            if (found >= 0 && !FMultiSelect) Perform(LB_SETCURSEL, WPARAM(found), 0);
            result = found;
            return;
        }
        case LB_SETCOLUMNWIDTH:
            FColumnWidth = std::max(0, index);
            Changed();
            return;
        case LB_ITEMFROMPOINT: {
            const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            const Integer item = ItemAtPos(p, true);
            const Integer nearest = item >= 0 ? item : std::max(0, p.Y < 0 ? FTopIndex : Count() - 1);
            result = LRESULT(MAKELONG(WORD(nearest), item >= 0 ? 0 : 1));
            return;
        }
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        case WM_KEYDOWN:
            return KeyAction(Word(AMessage.WParam));
        case WM_CHAR:
            if (FMultiSelect && !FExtendedSelect && AMessage.WParam == VK_SPACE && FItemIndex >= 0) {
                FEntries[size_t(FItemIndex)].Selected = !FEntries[size_t(FItemIndex)].Selected;
                Invalidate();
                Click();
                return;
            }
            return Search(char16_t(AMessage.WParam));
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return MouseAction(AMessage);
        case WM_MOUSEWHEEL: {
            const Integer notches = GET_WHEEL_DELTA_WPARAM(AMessage.WParam) / WHEEL_DELTA;
            ScrollTo(FTopIndex - notches * (FColumns > 0 ? Rows() : WheelRows));
            result = 0;
            return;
        }
        case WM_VSCROLL:
            if (FColumns <= 0) ScrollAction(LOWORD(AMessage.WParam), HIWORD(AMessage.WParam));
            return;
        case WM_HSCROLL:
            if (FColumns > 0) ScrollAction(LOWORD(AMessage.WParam), HIWORD(AMessage.WParam));
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();
            break;
        case WM_SIZE:
            Changed();
            break;
        default:
            break;
    }
    TCustomControl::DefaultHandler(AMessage);
}

// Painting.

UINT TCustomListBox::ItemState(Integer AIndex) {
    UINT state = 0;
    if (FMultiSelect ? FEntries[size_t(AIndex)].Selected : AIndex == FItemIndex) state |= ODS_SELECTED;
    if (AIndex == FItemIndex && HandleAllocated() && Focused()) state |= ODS_FOCUS;
    if (!Enabled()) state |= ODS_DISABLED;
    return state;
}

void TCustomListBox::DrawDefault(Integer AIndex, const TRect& ARect, TOwnerDrawState AState) {
    (void)AState;
    TCanvas* canvas = Canvas();
    canvas->FillRect(ARect);
    const String& text = FEntries[size_t(AIndex)].Text;
    const Integer y = ARect.Top + (ARect.Height() - canvas->TextHeight(u"Ag")) / 2;
    canvas->TextOut(ARect.Left + 2, y, text);
}

void TCustomListBox::DrawItem(Integer AIndex, TRect ARect, TOwnerDrawState AState) {
    if (OnDrawItem)
        OnDrawItem(this, AIndex, ARect, AState);
    else
        DrawDefault(AIndex, ARect, AState);
}

void TCustomListBox::CNDrawItem(TMessage& AMessage) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(AMessage.LParam);
    if (!item) return;
    TCanvas* canvas = Canvas();
    const HDC previous = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
    canvas->SetHandle(item->hDC);
    const TOwnerDrawState state = TOwnerDrawState::FromBits(item->itemState);
    const TRect r = ToTRect(item->rcItem);
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    if (state.Contains(odSelected)) canvas->Font()->SetColor(clHighlightText);
    if (Integer(item->itemID) >= 0 && Integer(item->itemID) < Count())
        DrawItem(Integer(item->itemID), r, state);
    else
        canvas->FillRect(r);
    if (state.Contains(odFocused)) canvas->DrawFocusRect(r);
    canvas->SetHandle(previous);
    AMessage.Result = 1;
}

void TCustomListBox::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    const Integer count = Count();
    for (Integer i = FTopIndex; i < count; ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= client.Bottom && FColumns <= 0) break;
        if (r.Left >= client.Right) break;
        if (r.Top >= client.Bottom) continue;
        const UINT state = ItemState(i);
        if (FStyle == lbOwnerDrawFixed) {
            DRAWITEMSTRUCT item{ODT_LISTBOX,      0,         UINT(i),
                                ODA_DRAWENTIRE,   state,     HandleAllocated() ? Handle() : nullptr,
                                canvas->Handle(), ToRECT(r), ULONG_PTR(FEntries[size_t(i)].Data)};
            Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
            continue;
        }
        const bool selected = state & ODS_SELECTED;
        canvas->SetFont(Font());
        canvas->Brush()->SetColor(selected ? clHighlight : Color());
        if (selected) canvas->Font()->SetColor(clHighlightText);
        DrawDefault(i, r, TOwnerDrawState::FromBits(state));
        if (state & ODS_FOCUS) canvas->DrawFocusRect(r);
    }
    canvas->SetFont(Font());
}

namespace {

const auto Registered = [] {
    RegisterEnum<TListBoxStyle>({u"lbStandard", u"lbOwnerDrawFixed"});
    RegisterClass<TCustomListBox, TCustomControl>()
        .Property(u"Items", &TCustomListBox::Items)
        .Property(u"ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Property(u"Style", &TCustomListBox::Style, &TCustomListBox::SetStyle)
        .Property(u"Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns)
        .Property(u"MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
        .Property(u"ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect)
        .Property(u"Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
        .Property(u"AutoComplete", &TCustomListBox::AutoComplete, &TCustomListBox::SetAutoComplete)
        .Property(u"BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
        .Event(u"OnDrawItem", &TCustomListBox::OnDrawItem);
    RegisterClass<TListBox, TCustomListBox>();
    return true;
}();

}  // namespace
