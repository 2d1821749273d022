// The list view's plain painting: the rows or cells in view, each offered to
// the custom-draw hook first, then icons, check boxes, captions, sub-items by
// column alignment, the selection and grid lines.
#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/listview.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/window.h"

using namespace win;

namespace {

// Items are data, not captions: an "&" in a file name is drawn as it is.
constexpr Cardinal OneLine = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr Integer CellMargin = 6;

}  // namespace

TColor TCustomListView::SelectionColor() const {
    return const_cast<TCustomListView*>(this)->Focused() ? clHighlight : clBtnFace;
}

// The text on the selection's fill: the list's own font colour may be light
// (a dark skin) and would vanish on the face colour.
TColor TCustomListView::SelectionTextColor() const {
    return const_cast<TCustomListView*>(this)->Focused() ? clHighlightText : clBtnText;
}

void TCustomListView::Paint() {
    const TRect clip = Canvas()->ClipRect();
    const Integer count = Count();
    Integer first = 0, last = count - 1;
    switch (FViewStyle) {
        case vsReport:
            first = FScrollY;
            last = FScrollY + CountPerPage();
            break;
        case vsList:
            first = FScrollX * RowsPerColumn();
            last = first + RowsPerColumn() * (ClientWidth() / ListColumnWidth() + 2);
            break;
        default:
            first = (FScrollY / CellHeight()) * ItemsPerRow();
            last = first + ItemsPerRow() * (ClientHeight() / CellHeight() + 2);
            break;
    }
    TListItem row(FItems.get());
    // The count is read again each time: a hook may have changed it.
    for (Integer i = std::max(first, 0); i <= last && i < Count(); ++i) {
        TRect cell = CellRect(i);
        // A report row also owns the area right of its columns (the selection, the focus frame).
        if (FViewStyle == vsReport) cell.Right = std::max(cell.Right, ClientWidth());
        if (!RectsIntersect(cell, clip)) continue;
        TListItem* item =
            FOwnerData ? FetchRow(i, row, {irText, irImage, irState}) : FItems->FItems[size_t(i)].get();
        if (ValidIndex(i)) PaintItem(i, item);
    }
    if (FViewStyle == vsReport && FGridLines) PaintGrid();
}

void TCustomListView::PaintItem(Integer AIndex, TListItem* AItem) {
    TCanvas* canvas = Canvas();
    const bool selected = HasState(AIndex, stSelected);
    TCustomDrawState state;
    if (selected) state.Include(cdsSelected);
    if (HasState(AIndex, stFocused)) state.Include(cdsFocused);
    if (HasState(AIndex, stChecked)) state.Include(cdsChecked);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    if (!CustomDrawItem(AItem, state, cdPrePaint) || !StillAt(AItem, AIndex)) return;
    // Unfocused, the selection shows in the face colour unless it hides.
    const bool highlight = selected && (Focused() || !FHideSelection);
    if (FViewStyle == vsReport) return PaintReportRow(AIndex, AItem, selected, highlight);

    if (FCheckboxes) DrawCheckBox(canvas, StateRect(AIndex), HasState(AIndex, stChecked));
    const TRect icon = ItemRect(AIndex, drIcon);
    PaintImage(FViewStyle == vsIcon ? LVSIL_NORMAL : LVSIL_SMALL, AItem->ImageIndex(), icon.Left, icon.Top);
    const TRect label = ItemRect(AIndex, drLabel);
    const String& caption = AItem->Caption();
    TRect text = label;
    Cardinal flags = OneLine | DT_LEFT;
    if (FViewStyle == vsIcon) {
        flags = DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX |
                (FIconOptions->WrapText() ? DT_WORDBREAK : DT_SINGLELINE);
        RECT measure = ToRECT(text);
        canvas->RequiredState({csHandleValid, csFontValid});
        DrawTextW(canvas->Handle(), caption.c_str(), int(caption.size()), &measure, flags | DT_CALCRECT);
        const Integer width = std::min(Integer(measure.right - measure.left) + 4, label.Width());
        text = Bounds(label.Left + (label.Width() - width) / 2, label.Top, width,
                      std::min(Integer(measure.bottom - measure.top) + 2, label.Height()));
    } else {
        text.Right = std::min(label.Right, label.Left + canvas->TextWidth(caption) + 4);
    }
    if (highlight) FillColor(canvas, text, SelectionColor());
    const TColor color = highlight ? SelectionTextColor() : Font()->Color();
    DrawTextIn(canvas, caption, Rect(text.Left + 2, text.Top + 1, text.Right - 2, text.Bottom), flags, color);
    if (HasState(AIndex, stFocused) && Focused()) canvas->DrawFocusRect(text);
}

void TCustomListView::PaintReportRow(Integer AIndex, TListItem* AItem, bool, bool AHighlight) {
    TCanvas* canvas = Canvas();
    const TRect bounds = ItemRect(AIndex, drBounds);
    const TRect label = ItemRect(AIndex, drLabel);
    const TRect icon = ItemRect(AIndex, drIcon);
    const TRect selection = FRowSelect ? Rect(label.Left, bounds.Top, bounds.Right, bounds.Bottom) : label;
    if (FCheckboxes) DrawCheckBox(canvas, StateRect(AIndex), HasState(AIndex, stChecked));
    const SIZE small = ImageSize(LVSIL_SMALL);
    PaintImage(LVSIL_SMALL, AItem->ImageIndex(), icon.Left, icon.Top + (icon.Height() - small.cy) / 2);
    if (AHighlight) FillColor(canvas, selection, SelectionColor());
    const TColor selectedText = SelectionTextColor();
    DrawTextIn(canvas, AItem->Caption(), Rect(label.Left + 2, label.Top, label.Right - 2, label.Bottom),
               OneLine | DT_LEFT, AHighlight ? selectedText : Font()->Color());
    static constexpr Cardinal align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const TColor subColor = AHighlight && FRowSelect ? selectedText : Font()->Color();
    for (Integer column = 1; column < FColumns->Count(); ++column) {
        const Integer sub = column - 1;
        if (sub >= AItem->SubItems()->Count()) break;
        const Integer width = Column(column)->Width();
        if (width <= 0) continue;
        const Integer left = ColumnLeft(column);
        TRect cell = Rect(left, bounds.Top, left + width, bounds.Bottom);
        const Integer image = AItem->SubItemImages(sub);
        if (image >= 0 && FImageHandles[LVSIL_SMALL]) {
            PaintImage(LVSIL_SMALL, image, cell.Left + 2, cell.Top + (cell.Height() - small.cy) / 2);
            cell.Left += small.cx + 2;
        }
        DrawTextIn(canvas, AItem->SubItems()->Strings(sub),
                   Rect(cell.Left + CellMargin, cell.Top, cell.Right - CellMargin, cell.Bottom),
                   OneLine | align[Column(column)->Alignment()], subColor);
    }
    if (HasState(AIndex, stFocused) && Focused()) canvas->DrawFocusRect(selection);
}

void TCustomListView::PaintImage(WPARAM AList, Integer AImage, Integer X, Integer Y) {
    const HIMAGELIST list = FImageHandles[AList];
    if (!list || AImage < 0 || AImage >= ImageList_GetImageCount(list)) return;
    Canvas()->RequiredState({csHandleValid});
    ImageList_DrawEx(list, AImage, Canvas()->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
}

void TCustomListView::PaintGrid() {
    TCanvas* canvas = Canvas();
    const Integer width = ClientWidth(), rows = std::min(Count() - FScrollY, CountPerPage() + 1);
    const Integer top = HeaderHeight(), bottom = RowsTop() + std::max(rows, 0) * RowHeight();
    DrawLine(canvas, 0, top, width, top, clBtnFace);
    for (Integer row = 0; row < rows; ++row) {
        const Integer y = RowsTop() + (row + 1) * RowHeight() - 1;
        DrawLine(canvas, 0, y, width, y, clBtnFace);
    }
    for (Integer column : FOrder) {
        if (column >= FColumns->Count() || Column(column)->Width() <= 0) continue;
        const Integer x = ColumnLeft(column) + Column(column)->Width() - 1;
        DrawLine(canvas, x, top, x, bottom, clBtnFace);
    }
}
