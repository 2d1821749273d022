// The list view's geometry: row and cell sizes per view, item rectangles and
// hit tests, the header's place, and scrolling with the scroll state kept on
// the window.
#include <algorithm>

#include "platform/toolkit/listview.h"
#include "platform/toolkit/listviewheader.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Integer StateWidth = 16;
constexpr Integer IconSpacing = 43;
constexpr Integer DefaultIconSize = 32;

Integer CeilDiv(Integer A, Integer B) {
    return B > 0 ? (A + B - 1) / B : 0;
}

}  // namespace

Integer TCustomListView::CharWidth() {
    if (FCharWidth == 0) FCharWidth = std::max(FontTextWidth(Font(), u"x"), 1);
    return FCharWidth;
}

SIZE TCustomListView::ImageSize(WPARAM AList) {
    int cx = 0, cy = 0;
    if (AList > LVSIL_STATE || !ImageList_GetIconSize(FImageHandles[AList], &cx, &cy)) return {0, 0};
    return {cx, cy};
}

Integer TCustomListView::RowHeight() {
    const Integer content =
        std::max({FontHeight(), Integer(ImageSize(LVSIL_SMALL).cy), FCheckboxes ? 13 : 0});
    return content + 4;
}

Integer TCustomListView::HeaderHeight() {
    return FViewStyle == vsReport && FShowColumnHeaders ? FontHeight() + 8 : 0;
}

Integer TCustomListView::RowsTop() {
    if (FViewStyle != vsReport) return 0;
    return HeaderHeight() + (FGridLines ? 1 : 0);
}

Integer TCustomListView::ListColumnWidth() {
    if (FListWidth > 0) return FListWidth;
    return 15 * CharWidth() + ImageSize(LVSIL_SMALL).cx + (FCheckboxes ? StateWidth : 0) + 8;
}

Integer TCustomListView::CellWidth() {
    if (FViewStyle != vsIcon) return ListColumnWidth();
    const Integer icon = FImageHandles[LVSIL_NORMAL] ? Integer(ImageSize(LVSIL_NORMAL).cx) : DefaultIconSize;
    return icon + IconSpacing;
}

Integer TCustomListView::CellHeight() {
    if (FViewStyle != vsIcon) return RowHeight();
    const Integer icon = FImageHandles[LVSIL_NORMAL] ? Integer(ImageSize(LVSIL_NORMAL).cy) : DefaultIconSize;
    return 4 + icon + 4 + FontHeight() * (FIconOptions->WrapText() ? 2 : 1) + 6;
}

Integer TCustomListView::RowsPerColumn() {
    return std::max(ClientHeight() / RowHeight(), 1);
}

Integer TCustomListView::ItemsPerRow() {
    return std::max(ClientWidth() / CellWidth(), 1);
}

Integer TCustomListView::CountPerPage() {
    switch (FViewStyle) {
        case vsReport:
            return std::max((ClientHeight() - RowsTop()) / RowHeight(), 0);
        case vsList:
            return RowsPerColumn() * std::max(ClientWidth() / ListColumnWidth(), 1);
        default:
            return Count();
    }
}

Integer TCustomListView::ColumnsWidth() {
    Integer width = 0;
    for (Integer i = 0; i < FColumns->Count(); ++i)
        width += Column(i)->Width();
    return width;
}

Integer TCustomListView::ColumnLeft(Integer AColumn) {
    Integer left = -FScrollX;
    for (Integer column : FOrder) {
        if (column == AColumn) return left;
        if (column < FColumns->Count()) left += Column(column)->Width();
    }
    return left;
}

TRect TCustomListView::CellRect(Integer AIndex) {
    switch (FViewStyle) {
        case vsReport: {
            const Integer top = RowsTop() + (AIndex - FScrollY) * RowHeight();
            return Rect(-FScrollX, top, -FScrollX + ColumnsWidth(), top + RowHeight());
        }
        case vsList: {
            const Integer rows = RowsPerColumn(), width = ListColumnWidth();
            const Integer left = (AIndex / rows - FScrollX) * width, top = (AIndex % rows) * RowHeight();
            return Bounds(left, top, width, RowHeight());
        }
        default: {
            const Integer perRow = ItemsPerRow(), width = CellWidth(), height = CellHeight();
            return Bounds((AIndex % perRow) * width - FScrollX, (AIndex / perRow) * height - FScrollY, width,
                          height);
        }
    }
}

TRect TCustomListView::StateRect(Integer AIndex) {
    if (!FCheckboxes || !ValidIndex(AIndex)) return {};
    if (FViewStyle == vsIcon) {
        const TRect icon = ItemRect(AIndex, drIcon);
        return Rect(icon.Left - StateWidth - 2, icon.Bottom - StateWidth, icon.Left - 2, icon.Bottom);
    }
    const TRect cell = CellRect(AIndex);
    const Integer left = (FViewStyle == vsReport ? ColumnLeft(0) : cell.Left) + 2;
    return Rect(left, cell.Top, left + StateWidth, cell.Bottom);
}

TRect TCustomListView::ItemRect(Integer AIndex, TDisplayCode ACode) {
    if (!ValidIndex(AIndex)) return {};
    const TRect cell = CellRect(AIndex);
    TRect icon, label;
    if (FViewStyle == vsIcon) {
        const Integer width =
            FImageHandles[LVSIL_NORMAL] ? Integer(ImageSize(LVSIL_NORMAL).cx) : DefaultIconSize;
        const Integer height =
            FImageHandles[LVSIL_NORMAL] ? Integer(ImageSize(LVSIL_NORMAL).cy) : DefaultIconSize;
        icon = Bounds(cell.Left + (cell.Width() - width) / 2, cell.Top + 4, width, height);
        label = Rect(cell.Left + 2, icon.Bottom + 4, cell.Right - 2, cell.Bottom - 2);
    } else {
        Integer x = FViewStyle == vsReport ? ColumnLeft(0) : cell.Left;
        const Integer right =
            FViewStyle == vsReport ? x + (FColumns->Count() > 0 ? Column(0)->Width() : 0) : cell.Right;
        x += 2 + (FCheckboxes ? StateWidth : 0);
        const Integer iconWidth = ImageSize(LVSIL_SMALL).cx;
        icon = Rect(x, cell.Top, x + iconWidth, cell.Bottom);
        label = Rect(icon.Right, cell.Top, std::max(right, icon.Right), cell.Bottom);
    }
    switch (ACode) {
        case drBounds:
            return cell;
        case drIcon:
            return icon;
        case drLabel:
            return label;
        case drSelectBounds:
            if (FViewStyle == vsReport && FRowSelect)
                return Rect(label.Left, cell.Top, cell.Right, cell.Bottom);
            return Rect(std::min(icon.Left, label.Left), std::min(icon.Top, label.Top),
                        std::max(icon.Right, label.Right), std::max(icon.Bottom, label.Bottom));
    }
    return cell;
}

Integer TCustomListView::ItemAt(TPoint APoint, bool* AOnCheck) {
    if (AOnCheck) *AOnCheck = false;
    Integer index = -1;
    switch (FViewStyle) {
        case vsReport:
            if (APoint.Y < RowsTop()) return -1;
            index = FScrollY + (APoint.Y - RowsTop()) / RowHeight();
            break;
        case vsList: {
            const Integer column = APoint.X / ListColumnWidth() + FScrollX, row = APoint.Y / RowHeight();
            if (APoint.X < 0 || row >= RowsPerColumn()) return -1;
            index = column * RowsPerColumn() + row;
            break;
        }
        default: {
            const Integer x = APoint.X + FScrollX, y = APoint.Y + FScrollY;
            if (x < 0 || y < 0 || x / CellWidth() >= ItemsPerRow()) return -1;
            index = (y / CellHeight()) * ItemsPerRow() + x / CellWidth();
            break;
        }
    }
    if (!ValidIndex(index)) return -1;
    if (FCheckboxes && ContainsPoint(StateRect(index), APoint)) {
        if (AOnCheck) *AOnCheck = true;
        return index;
    }
    const TRect bounds = ItemRect(index, drBounds);
    if (FViewStyle == vsReport && FRowSelect) return ContainsPoint(bounds, APoint) ? index : -1;
    const bool hit =
        ContainsPoint(ItemRect(index, drIcon), APoint) || ContainsPoint(ItemRect(index, drLabel), APoint);
    return hit ? index : -1;
}

Integer TCustomListView::ScrollLast(int ABar) {
    const Integer count = Count();
    switch (FViewStyle) {
        case vsReport:
            if (ABar == SB_VERT) return std::max(count - CountPerPage(), 0);
            return std::max(ColumnsWidth() - ClientWidth(), 0);
        case vsList:
            if (ABar == SB_VERT) return 0;
            return std::max(CeilDiv(count, RowsPerColumn()) - std::max(ClientWidth() / ListColumnWidth(), 1),
                            0);
        default: {
            const Integer perRow = ItemsPerRow();
            if (ABar == SB_VERT) return std::max(CeilDiv(count, perRow) * CellHeight() - ClientHeight(), 0);
            return std::max(std::min(count, perRow) * CellWidth() - ClientWidth(), 0);
        }
    }
}

void TCustomListView::UpdateScrollState() {
    if (!HandleAllocated()) return;
    const Integer count = Count();
    switch (FViewStyle) {
        case vsReport:
            StoreScrollState(Handle(), SB_VERT, count - 1, CountPerPage(), FScrollY);
            StoreScrollState(Handle(), SB_HORZ, ColumnsWidth() - 1, ClientWidth(), FScrollX);
            break;
        case vsList:
            StoreScrollState(Handle(), SB_VERT, 0, 0, 0);
            StoreScrollState(Handle(), SB_HORZ, CeilDiv(count, RowsPerColumn()) - 1,
                             std::max(ClientWidth() / ListColumnWidth(), 1), FScrollX);
            break;
        default: {
            const Integer perRow = ItemsPerRow();
            StoreScrollState(Handle(), SB_VERT, CeilDiv(count, perRow) * CellHeight() - 1, ClientHeight(),
                             FScrollY);
            StoreScrollState(Handle(), SB_HORZ, std::min(count, perRow) * CellWidth() - 1, ClientWidth(),
                             FScrollX);
            break;
        }
    }
}

void TCustomListView::ScrollTo(Integer AX, Integer AY) {
    AX = std::clamp(AX, 0, ScrollLast(SB_HORZ));
    AY = std::clamp(AY, 0, ScrollLast(SB_VERT));
    if (AX == FScrollX && AY == FScrollY) return;
    FScrollX = AX;
    FScrollY = AY;
    if (!HandleAllocated()) return;
    UpdateScrollState();
    LayoutHeader();
    MoveEditor();
    Invalidate();
}

void TCustomListView::Scroll(Integer ADX, Integer ADY) {
    Perform(LVM_SCROLL, WPARAM(ADX), LPARAM(ADY));
}

TListItem* TCustomListView::TopItem() {
    switch (FViewStyle) {
        case vsReport:
            return HookItem(FScrollY);
        case vsList:
            return HookItem(FScrollX * RowsPerColumn());
        default:
            return HookItem((FScrollY / CellHeight()) * ItemsPerRow());
    }
}

void TCustomListView::MakeRowVisible(Integer AIndex, bool APartialOK) {
    if (!ValidIndex(AIndex)) return;
    switch (FViewStyle) {
        case vsReport: {
            const Integer page = std::max(CountPerPage(), 1);
            if (AIndex < FScrollY)
                ScrollTo(FScrollX, AIndex);
            else if (AIndex >= FScrollY + page + (APartialOK ? 1 : 0))
                ScrollTo(FScrollX, AIndex - page + 1);
            return;
        }
        case vsList: {
            const Integer column = AIndex / RowsPerColumn();
            const Integer columns = std::max(ClientWidth() / ListColumnWidth(), 1);
            if (column < FScrollX)
                ScrollTo(column, 0);
            else if (column >= FScrollX + columns + (APartialOK ? 1 : 0))
                ScrollTo(column - columns + 1, 0);
            return;
        }
        default: {
            const TRect cell = CellRect(AIndex);
            const Integer height = ClientHeight();
            if (APartialOK && cell.Bottom > 0 && cell.Top < height) return;
            if (cell.Top < 0)
                ScrollTo(FScrollX, FScrollY + cell.Top);
            else if (cell.Bottom > height)
                ScrollTo(FScrollX, FScrollY + cell.Bottom - height);
            return;
        }
    }
}

void TCustomListView::ScrollMessage(TMessage& AMessage, int ABar) {
    const bool vertical = ABar == SB_VERT;
    Integer line = FontHeight(), page = vertical ? ClientHeight() : ClientWidth();
    if (FViewStyle == vsReport && vertical) {
        line = 1;
        page = CountPerPage();
    } else if (FViewStyle == vsList) {
        line = 1;
        page = std::max(ClientWidth() / ListColumnWidth(), 1);
    }
    const Integer position = vertical ? FScrollY : FScrollX;
    const Integer target = ScrollRequest(AMessage.WParam, position, line, page, ScrollLast(ABar));
    if (vertical)
        ScrollTo(FScrollX, target);
    else
        ScrollTo(target, FScrollY);
}

void TCustomListView::LayoutHeader() {
    if (!FHeader) return;
    const bool show = FViewStyle == vsReport && FShowColumnHeaders;
    // Scrolled sideways the header moves with the rows.
    SetWindowPos(FHeader->Handle(), nullptr, -FScrollX, 0, ClientWidth() + FScrollX, HeaderHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TCustomListView::CreateHeader() {
    if (FHeader || !HandleAllocated() || FViewStyle != vsReport || !FShowColumnHeaders) return;
    FHeader = std::make_unique<TListHeader>(this);
    LayoutHeader();
}

void TCustomListView::DestroyHeader() {
    FHeader.reset();
}

void TCustomListView::CreateParams(TCreateParams& AParams) {
    TCustomViewControl::CreateParams(AParams);
    AParams.WinClassName = u"SysListView32";
}

void TCustomListView::CreateWnd() {
    TCustomViewControl::CreateWnd();
    CreateHeader();
    ScrollTo(FScrollX, FScrollY);
    UpdateScrollState();
}

void TCustomListView::DestroyWnd() {
    CancelEdit();
    // Destroyed on its own first, so the list hears of it (WM_PARENTNOTIFY).
    DestroyHeader();
    TCustomViewControl::DestroyWnd();
}
