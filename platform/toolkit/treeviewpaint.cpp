// The tree view's geometry and plain painting: rows of the expanded tree,
// node rectangles and hit parts, scrolling with the scroll state on the
// window, and dotted lines, plus/minus boxes, images and the selection.
#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/treeview.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Integer TextPadding = 2;
constexpr Integer ImageGap = 2;
constexpr Integer ButtonHalf = 4;
constexpr TColor LineColor = clBtnShadow;

// Every other pixel, starting on an even coordinate so joining lines meet.
void DottedLine(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    if (Y1 == Y2) {
        for (Integer x = X1 + ((X1 + Y1) & 1); x < X2; x += 2)
            ACanvas->SetPixels(x, Y1, LineColor);
    } else {
        for (Integer y = Y1 + ((X1 + Y1) & 1); y < Y2; y += 2)
            ACanvas->SetPixels(X1, y, LineColor);
    }
}

}  // namespace

const std::vector<TTreeNode*>& TCustomTreeView::Rows() {
    if (FRowsValid) return FRows;
    for (const TTreeNode* node : FItems->FLive)
        const_cast<TTreeNode*>(node)->FRow = -1;
    FRows.clear();
    for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->GetNextVisible()) {
        node->FRow = Integer(FRows.size());
        FRows.push_back(node);
    }
    FRowsValid = true;
    return FRows;
}

SIZE TCustomTreeView::ImageSize(WPARAM AList) {
    int cx = 0, cy = 0;
    if (AList > TVSIL_STATE || !ImageList_GetIconSize(FImageHandles[AList], &cx, &cy)) return {0, 0};
    return {cx, cy};
}

Integer TCustomTreeView::ItemHeight() {
    return std::max({FontHeight(), Integer(ImageSize(TVSIL_NORMAL).cy), Integer(ImageSize(TVSIL_STATE).cy)}) +
           3;
}

Integer TCustomTreeView::VisibleCount() {
    return ClientHeight() / ItemHeight();
}

Integer TCustomTreeView::Indentation(TTreeNode* ANode) {
    // Without ShowRoot the top level has no lines and no buttons.
    return (ANode->Level() - (FShowRoot ? 0 : 1)) * FIndent - FScrollX;
}

Integer TCustomTreeView::TextLeft(TTreeNode* ANode) {
    Integer x = Indentation(ANode) + FIndent + ImageSize(TVSIL_STATE).cx;
    if (FImageHandles[TVSIL_NORMAL]) x += ImageSize(TVSIL_NORMAL).cx + ImageGap;
    return x;
}

Integer TCustomTreeView::TextWidth(TTreeNode* ANode) {
    if (ANode->FTextWidth < 0) ANode->FTextWidth = FontTextWidth(Font(), ANode->Text());
    return ANode->FTextWidth + 2 * TextPadding;
}

Integer TCustomTreeView::ContentWidth() {
    Integer width = 0;
    for (TTreeNode* node : Rows())
        width = std::max(width, TextLeft(node) + FScrollX + TextWidth(node));
    return width;
}

TRect TCustomTreeView::NodeRect(TTreeNode* ANode, bool ATextOnly) {
    if (!Alive(ANode)) return {};
    Rows();
    if (ANode->FRow < 0) return {};
    const Integer top = (ANode->FRow - FTop) * ItemHeight();
    if (!ATextOnly) return Rect(0, top, ClientWidth(), top + ItemHeight());
    const Integer left = TextLeft(ANode);
    return Rect(left, top, left + TextWidth(ANode), top + ItemHeight());
}

TTreeNode* TCustomTreeView::NodeAtRow(Integer Y) {
    if (Y < 0) return nullptr;
    const auto& rows = Rows();
    const Integer row = FTop + Y / ItemHeight();
    return row < Integer(rows.size()) ? rows[size_t(row)] : nullptr;
}

THitTest TCustomTreeView::HitPart(TTreeNode* ANode, Integer X) {
    const Integer indentation = Indentation(ANode);
    if (X < indentation) return htOnIndent;
    if (X < indentation + FIndent)
        return FShowButtons && ANode->HasChildren() && indentation + FIndent > -FScrollX ? htOnButton
                                                                                         : htOnIndent;
    const Integer stateRight = indentation + FIndent + ImageSize(TVSIL_STATE).cx;
    if (X < stateRight) return htOnStateIcon;
    const Integer textLeft = TextLeft(ANode);
    if (X < textLeft) return htOnIcon;
    return X < textLeft + TextWidth(ANode) ? htOnLabel : htOnRight;
}

TTreeNode* TCustomTreeView::TopItem() {
    const auto& rows = Rows();
    return FTop < Integer(rows.size()) ? rows[size_t(FTop)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* AValue) {
    if (!Alive(AValue)) return;
    Rows();
    if (AValue->FRow >= 0) ScrollTo(FScrollX, AValue->FRow);
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
    return X >= 0 && X < ClientWidth() ? NodeAtRow(Y) : nullptr;
}

THitTests TCustomTreeView::GetHitTestInfoAt(Integer X, Integer Y) {
    THitTests result;
    if (X < 0) result.Include(htToLeft);
    if (X >= ClientWidth()) result.Include(htToRight);
    if (Y < 0) result.Include(htAbove);
    if (Y >= ClientHeight()) result.Include(htBelow);
    if (!result.Empty()) return result;
    TTreeNode* node = NodeAtRow(Y);
    if (!node) return {htNowhere};
    const THitTest part = HitPart(node, X);
    result.Include(part);
    if (part == htOnIcon || part == htOnLabel || part == htOnStateIcon) result.Include(htOnItem);
    return result;
}

void TCustomTreeView::ScrollTo(Integer AX, Integer ATop) {
    const Integer rows = Integer(Rows().size());
    ATop = std::clamp(ATop, 0, std::max(rows - VisibleCount(), 0));
    AX = std::clamp(AX, 0, std::max(ContentWidth() - ClientWidth(), 0));
    if (AX == FScrollX && ATop == FTop) return;
    FScrollX = AX;
    FTop = ATop;
    if (!HandleAllocated()) return;
    UpdateScrollState();
    MoveEditor();
    Invalidate();
}

void TCustomTreeView::UpdateScrollState() {
    if (!HandleAllocated()) return;
    StoreScrollState(Handle(), SB_VERT, Integer(Rows().size()) - 1, VisibleCount(), FTop);
    StoreScrollState(Handle(), SB_HORZ, ContentWidth() - 1, ClientWidth(), FScrollX);
}

void TCustomTreeView::MakeNodeVisible(TTreeNode* ANode) {
    if (!Alive(ANode)) return;
    std::vector<TTreeNode*> ancestors;
    for (TTreeNode* p = ANode->FParent; p; p = p->FParent)
        ancestors.push_back(p);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        if (!(*it)->FExpanded) ExpandNode(*it, false);
    if (!Alive(ANode)) return;
    Rows();
    if (ANode->FRow < 0) return;
    const Integer page = std::max(VisibleCount(), 1);
    if (ANode->FRow < FTop)
        ScrollTo(FScrollX, ANode->FRow);
    else if (ANode->FRow >= FTop + page)
        ScrollTo(FScrollX, ANode->FRow - page + 1);
}

void TCustomTreeView::ScrollMessage(TMessage& AMessage, int ABar) {
    if (ABar == SB_VERT) {
        const Integer last = std::max(Integer(Rows().size()) - VisibleCount(), 0);
        ScrollTo(FScrollX, ScrollRequest(AMessage.WParam, FTop, 1, VisibleCount(), last));
    } else {
        const Integer last = std::max(ContentWidth() - ClientWidth(), 0);
        ScrollTo(ScrollRequest(AMessage.WParam, FScrollX, FontHeight(), ClientWidth(), last), FTop);
    }
}

void TCustomTreeView::Paint() {
    const TRect clip = Canvas()->ClipRect();
    const Integer last = FTop + VisibleCount() + 1;
    // The rows are read again each time: a hook may change the tree.
    for (Integer row = FTop; row <= last && row < Integer(Rows().size()); ++row) {
        TTreeNode* node = Rows()[size_t(row)];
        if (RectsIntersect(NodeRect(node, false), clip)) PaintNode(node);
    }
}

void TCustomTreeView::PaintNode(TTreeNode* ANode) {
    TCanvas* canvas = Canvas();
    const bool selected = ANode == FSelected;
    TCustomDrawState state;
    if (selected) state.Include(cdsSelected);
    if (selected && Focused()) state.Include(cdsFocused);
    bool paintImages = true;
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    if (!CustomDrawItem(ANode, state, cdPrePaint, paintImages) || !Alive(ANode)) return;
    const TRect row = NodeRect(ANode, false);
    const Integer indentation = Indentation(ANode);
    const bool hasLines = indentation + FIndent > -FScrollX;
    if (FShowLines && hasLines) PaintLines(ANode, row);
    if (FShowButtons && hasLines && ANode->HasChildren())
        PaintButton(indentation + FIndent / 2, row.Top + row.Height() / 2, ANode->Expanded());
    Integer x = indentation + FIndent;
    if (FImageHandles[TVSIL_STATE]) {
        if (paintImages) PaintImage(TVSIL_STATE, ANode->StateIndex(), x, row);
        x += ImageSize(TVSIL_STATE).cx;
    }
    if (FImageHandles[TVSIL_NORMAL] && paintImages) {
        if (selected)
            GetSelectedIndex(ANode);
        else
            GetImageIndex(ANode);
        if (!Alive(ANode)) return;
        PaintImage(TVSIL_NORMAL, selected ? ANode->SelectedIndex() : ANode->ImageIndex(), x, row);
    }
    const TRect text = NodeRect(ANode, true);
    // Unfocused, the selection shows in the face colour unless it hides.
    const bool highlight = selected && (Focused() || !FHideSelection);
    if (highlight) FillColor(canvas, text, Focused() ? clHighlight : clBtnFace);
    DrawTextIn(canvas, ANode->Text(), Rect(text.Left + TextPadding, text.Top, text.Right, text.Bottom),
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
               highlight && Focused() ? clHighlightText : Font()->Color());
    if (selected && Focused()) canvas->DrawFocusRect(text);
}

void TCustomTreeView::PaintLines(TTreeNode* ANode, const TRect& ARow) {
    TCanvas* canvas = Canvas();
    const Integer indentation = Indentation(ANode);
    const Integer x = indentation + FIndent / 2, y = ARow.Top + ARow.Height() / 2;
    DottedLine(canvas, x, y, indentation + FIndent, y);
    const bool parentHasLines = ANode->Parent() && Indentation(ANode->Parent()) + FIndent > -FScrollX;
    if (ANode->GetPrevSibling() || parentHasLines) DottedLine(canvas, x, ARow.Top, x, y);
    if (ANode->GetNextSibling()) DottedLine(canvas, x, y, x, ARow.Bottom);
    for (TTreeNode* p = ANode->Parent(); p; p = p->Parent()) {
        const Integer px = Indentation(p) + FIndent / 2;
        if (Indentation(p) + FIndent <= -FScrollX) break;
        if (p->GetNextSibling()) DottedLine(canvas, px, ARow.Top, px, ARow.Bottom);
    }
}

void TCustomTreeView::PaintButton(Integer X, Integer Y, bool AExpanded) {
    TCanvas* canvas = Canvas();
    const TRect box = Rect(X - ButtonHalf, Y - ButtonHalf, X + ButtonHalf + 1, Y + ButtonHalf + 1);
    FillColor(canvas, box, clWindow);
    canvas->Brush()->SetColor(LineColor);
    canvas->FrameRect(box);
    DrawLine(canvas, X - 2, Y, X + 3, Y, clWindowText);
    if (!AExpanded) DrawLine(canvas, X, Y - 2, X, Y + 3, clWindowText);
}

void TCustomTreeView::PaintImage(WPARAM AList, Integer AImage, Integer X, const TRect& ARow) {
    const HIMAGELIST list = FImageHandles[AList];
    if (!list || AImage < 0 || AImage >= ImageList_GetImageCount(list)) return;
    Canvas()->RequiredState({csHandleValid});
    const Integer y = ARow.Top + (ARow.Height() - ImageSize(AList).cy) / 2;
    ImageList_DrawEx(list, AImage, Canvas()->Handle(), X, y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
}
