// The list view's default handling: its messages, the mouse, keys and
// type-ahead, the header's notifications and label editing.
#include <algorithm>
#include <utility>

#include "platform/toolkit/listview.h"
#include "platform/toolkit/listviewheader.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Integer WheelLines = 3;

TDisplayCode DisplayCodeOf(LONG ACode) {
    switch (ACode) {
        case LVIR_ICON:
            return drIcon;
        case LVIR_LABEL:
            return drLabel;
        case LVIR_SELECTBOUNDS:
            return drSelectBounds;
        default:
            return drBounds;
    }
}

}  // namespace

void TCustomListView::LayoutChanged() {
    Changed(true);
}

void TCustomListView::FontChanged() {
    FCharWidth = 0;
    if (FHeader) FHeader->Invalidate();
}

void TCustomListView::DefaultHandler(TMessage& AMessage) {
    const WPARAM w = AMessage.WParam;
    const LPARAM l = AMessage.LParam;
    LRESULT& result = AMessage.Result;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return MouseSelect(AMessage, false);
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return MouseSelect(AMessage, true);
        case WM_KEYDOWN:
            return KeyNavigate(Word(w));
        case WM_CHAR:
            return TypeAhead(char16_t(w));
        case WM_MOUSEWHEEL: {
            const Integer notches = -GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
            if (FViewStyle == vsList)
                ScrollTo(FScrollX + notches, 0);
            else if (FViewStyle == vsReport)
                ScrollTo(FScrollX, FScrollY + notches * WheelLines);
            else
                ScrollTo(FScrollX, FScrollY + notches * WheelLines * FontHeight());
            result = 0;
            return;
        }
        case WM_NOTIFY:
            return HeaderNotify(AMessage);
        case LVM_GETIMAGELIST:
            result = w <= LVSIL_STATE ? LRESULT(FImageHandles[w]) : 0;
            return;
        case LVM_SETIMAGELIST: {
            if (w > LVSIL_STATE) {
                result = 0;
                return;
            }
            const auto list = reinterpret_cast<HIMAGELIST>(l);
            result = LRESULT(std::exchange(FImageHandles[w], list));
            if (HIMAGELIST(result) != list) Changed(true);
            return;
        }
        case LVM_GETITEMCOUNT:
            result = Count();
            return;
        case LVM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(l);
            const Integer index = Integer(intptr_t(w));
            result = FALSE;
            if (!r || !ValidIndex(index)) return;
            *r = ToRECT(ItemRect(index, DisplayCodeOf(r->left)));
            result = TRUE;
            return;
        }
        case LVM_SCROLL: {
            const Integer dx = Integer(intptr_t(w)), dy = Integer(l);
            if (FViewStyle == vsReport)
                ScrollTo(FScrollX + dx, FScrollY + dy / RowHeight());
            else if (FViewStyle == vsList)
                ScrollTo(FScrollX + dx / ListColumnWidth(), 0);
            else
                ScrollTo(FScrollX + dx, FScrollY + dy);
            result = TRUE;
            return;
        }
        case LVM_REDRAWITEMS:
            UpdateItems(Integer(intptr_t(w)), Integer(l));
            result = TRUE;
            return;
        case LVM_GETEDITCONTROL:
            result = IsEditing() ? LRESULT(EditorHandle()) : 0;
            return;
        case LVM_GETCOLUMNWIDTH: {
            const Integer column = Integer(intptr_t(w));
            result = 0;
            if (FViewStyle == vsList)
                result = ListColumnWidth();
            else if (FViewStyle == vsReport && column >= 0 && column < FColumns->Count())
                result = Column(column)->Width();
            return;
        }
        case LVM_SETCOLUMNWIDTH: {
            const Integer column = Integer(intptr_t(w)), width = Integer(l);
            result = FALSE;
            if (width < 0) return;
            if (FViewStyle == vsList) {
                FListWidth = std::max(width, 1);
                Changed(true);
                result = TRUE;
            } else if (FViewStyle == vsReport && column >= 0 && column < FColumns->Count()) {
                Column(column)->SetWidth(width);
                result = TRUE;
            }
            return;
        }
        case LVM_GETHEADER:
            result = FHeader ? LRESULT(FHeader->Handle()) : 0;
            return;
        case LVM_GETTOPINDEX: {
            TListItem* top = FViewStyle == vsReport || FViewStyle == vsList ? TopItem() : nullptr;
            result = top ? top->Index() : 0;
            return;
        }
        case LVM_GETCOUNTPERPAGE:
            result = CountPerPage();
            return;
        case LVM_EDITLABELW: {
            const Integer index = Integer(intptr_t(w));
            result = 0;
            if (index < 0) return CancelEdit();
            if (StartEdit(index)) result = LRESULT(EditorHandle());
            return;
        }
        case LVM_CANCELEDITLABEL:
            CancelEdit();
            result = 0;
            return;
        default:
            return TCustomViewControl::DefaultHandler(AMessage);
    }
}

void TCustomListView::MouseSelect(TMessage& AMessage, bool ARight) {
    if (CanFocus() && !Focused()) SetFocus();
    const TPoint point{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    const TShiftState shift = KeysToShiftState(AMessage.WParam);
    const bool extend = FMultiSelect && (shift.Contains(ssCtrl) || shift.Contains(ssShift));
    bool onCheck = false;
    const Integer index = ItemAt(point, &onCheck);
    if (index < 0) {
        if (!extend) SelectAlone(-1);
        return;
    }
    if (onCheck && !ARight) {
        SetStates(index, HasState(index, stChecked) ? 0 : stChecked, stChecked);
        return;
    }
    Integer at = index;
    if (ARight) {
        if (!HasState(index, stSelected)) at = SelectAlone(index);
    } else if (FMultiSelect && shift.Contains(ssCtrl)) {
        SetStates(index, HasState(index, stSelected) ? 0 : stSelected, stSelected);
    } else if (FMultiSelect && shift.Contains(ssShift)) {
        SelectRange(ValidIndex(FAnchor) ? FAnchor : index, index);
        return FocusRow(index);
    } else {
        at = SelectAlone(index);
    }
    FocusRow(at);
    FAnchor = at;
}

void TCustomListView::KeyNavigate(Word AKey) {
    const Integer count = Count();
    const TShiftState shift = KeyDataToShiftState(0);
    switch (AKey) {
        case VK_F2:
            if (ValidIndex(FFocus)) StartEdit(FFocus);
            return;
        case VK_SPACE:
            if (!ValidIndex(FFocus)) return;
            if (FCheckboxes)
                SetStates(FFocus, HasState(FFocus, stChecked) ? 0 : stChecked, stChecked);
            else if (FMultiSelect && shift.Contains(ssCtrl))
                SetStates(FFocus, HasState(FFocus, stSelected) ? 0 : stSelected, stSelected);
            else
                SelectAlone(FFocus);
            return;
        default:
            break;
    }
    if (count == 0) return;
    const bool icons = FViewStyle == vsIcon || FViewStyle == vsSmallIcon;
    const Integer rows = FViewStyle == vsList ? RowsPerColumn() : 1;
    Integer page = 1;
    if (FViewStyle == vsReport)
        page = std::max(CountPerPage() - 1, 1);
    else if (FViewStyle == vsList)
        page = CountPerPage();
    else
        page = ItemsPerRow() * std::max(ClientHeight() / CellHeight(), 1);
    Integer step = 0;
    switch (AKey) {
        case VK_HOME:
            return MoveFocusTo(0, shift);
        case VK_END:
            return MoveFocusTo(count - 1, shift);
        case VK_UP:
            step = icons ? -ItemsPerRow() : -1;
            break;
        case VK_DOWN:
            step = icons ? ItemsPerRow() : 1;
            break;
        case VK_LEFT:
            if (FViewStyle == vsReport) return ScrollTo(FScrollX - FontHeight(), FScrollY);
            step = -rows;
            break;
        case VK_RIGHT:
            if (FViewStyle == vsReport) return ScrollTo(FScrollX + FontHeight(), FScrollY);
            step = rows;
            break;
        case VK_PRIOR:
            step = -page;
            break;
        case VK_NEXT:
            step = page;
            break;
        default:
            return;
    }
    MoveFocusTo(ValidIndex(FFocus) ? std::clamp(FFocus + step, 0, count - 1) : 0, shift);
}

void TCustomListView::MoveFocusTo(Integer AIndex, TShiftState AShift) {
    if (!ValidIndex(AIndex)) return;
    if (FMultiSelect && AShift.Contains(ssShift)) {
        SelectRange(ValidIndex(FAnchor) ? FAnchor : AIndex, AIndex);
    } else if (!(FMultiSelect && AShift.Contains(ssCtrl))) {
        AIndex = FAnchor = SelectAlone(AIndex);
    }
    FocusRow(AIndex);
    MakeRowVisible(AIndex, false);
}

void TCustomListView::TypeAhead(char16_t AChar) {
    const Integer count = Count();
    if (AChar < u' ' || count == 0) return;
    const String prefix = FTypeAhead.Add(AChar);
    // A new prefix looks past the focused row; a longer one may stay on it.
    Integer start = ValidIndex(FFocus) ? FFocus + (prefix.size() == 1 ? 1 : 0) : 0;
    if (start >= count) start = 0;
    const Integer found = FOwnerData
                              ? OwnerDataFind(ifPartialString, prefix, {0, 0}, nullptr, start, sdAll, true)
                              : FindCaption(prefix, start);
    if (ValidIndex(found)) MoveFocusTo(found, {});
}

TRect TCustomListView::EditorRect() {
    const TRect label = ItemRect(FEditIndex, drLabel);
    const Integer height = FontHeight() + 6;
    const Integer top = FViewStyle == vsIcon ? label.Top : label.Top + (label.Height() - height) / 2;
    return Bounds(label.Left, top, std::max(label.Width(), 8 * CharWidth()), height);
}

bool TCustomListView::StartEdit(Integer AIndex) {
    if (FReadOnly || !ValidIndex(AIndex) || !HandleAllocated()) return false;
    FinishEditor(true);
    TListItem* item = HookItem(AIndex);
    if (!item || !CanEdit(item) || !StillAt(item, AIndex)) return false;
    MakeRowVisible(AIndex, false);
    FEditIndex = AIndex;
    StartEditor(EditorRect(), HookItem(AIndex)->Caption());
    return true;
}

void TCustomListView::MoveEditor() {
    if (IsEditing() && ValidIndex(FEditIndex)) PlaceEditor(EditorRect());
}

void TCustomListView::EditorDone(std::optional<String> AText) {
    const Integer index = std::exchange(FEditIndex, -1);
    if (ValidIndex(index)) Edit(index, std::move(AText));
}

void TCustomListView::HeaderNotify(TMessage& AMessage) {
    const auto* notice = reinterpret_cast<const NMHEADERW*>(AMessage.LParam);
    if (!notice || !FHeader || notice->hdr.hwndFrom != FHeader->Handle())
        return TCustomViewControl::DefaultHandler(AMessage);
    AMessage.Result = 0;
    const Integer column = notice->iItem;
    if (column < 0 || column >= FColumns->Count()) return;
    switch (notice->hdr.code) {
        case HDN_ITEMCLICKW:
            if (FColumnClick) ColClick(Column(column));
            return;
        case HDN_TRACKW:
        case HDN_ENDTRACKW: {
            if (!notice->pitem) return;
            TListColumn* target = Column(column);
            Integer width = std::max(notice->pitem->cxy, target->MinWidth());
            if (target->MaxWidth() > 0) width = std::min(width, target->MaxWidth());
            notice->pitem->cxy = width;
            target->SetWidth(width);
            return;
        }
        case HDN_ENDDRAG: {
            if (!notice->pitem || !FFullDrag) return;
            const auto it = std::find(FOrder.begin(), FOrder.end(), column);
            if (it == FOrder.end()) return;
            FOrder.erase(it);
            const Integer position = std::clamp(notice->pitem->iOrder, 0, Integer(FOrder.size()));
            FOrder.insert(FOrder.begin() + position, column);
            FHeader->Invalidate();
            Changed(true);
            return;
        }
        default:
            return;
    }
}
