// The tree view's default handling: its messages, the mouse, keys and
// type-ahead, and label editing.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/toolkit/treeview.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr Integer WheelLines = 3;

bool OnItem(THitTest APart) {
    return APart == htOnIcon || APart == htOnLabel || APart == htOnStateIcon;
}

}  // namespace

void TCustomTreeView::LayoutChanged() {
    NodesChanged(true);
}

void TCustomTreeView::FontChanged() {
    for (const TTreeNode* node : FItems->FLive)
        const_cast<TTreeNode*>(node)->FTextWidth = -1;
}

void TCustomTreeView::DefaultHandler(TMessage& AMessage) {
    const WPARAM w = AMessage.WParam;
    const LPARAM l = AMessage.LParam;
    LRESULT& result = AMessage.Result;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
            return MouseDown(AMessage, false, false);
        case WM_LBUTTONDBLCLK:
            return MouseDown(AMessage, true, false);
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return MouseDown(AMessage, false, true);
        case WM_KEYDOWN:
            return KeyNavigate(Word(w));
        case WM_CHAR:
            return TypeAhead(char16_t(w));
        case WM_MOUSEWHEEL:
            ScrollTo(FScrollX, FTop - GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA * WheelLines);
            result = 0;
            return;
        case TVM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(l);
            result = FALSE;
            if (!r) return;
            HTREEITEM item = nullptr;
            std::memcpy(&item, r, sizeof item);
            TTreeNode* node = FItems->NodeOf(item);
            if (!node || !node->IsVisible()) return;
            *r = ToRECT(NodeRect(node, w != 0));
            result = TRUE;
            return;
        }
        case TVM_GETCOUNT:
            result = FItems->Count();
            return;
        case TVM_GETIMAGELIST:
            result = w == TVSIL_NORMAL || w == TVSIL_STATE ? LRESULT(FImageHandles[w]) : 0;
            return;
        case TVM_SETIMAGELIST: {
            if (w != TVSIL_NORMAL && w != TVSIL_STATE) {
                result = 0;
                return;
            }
            const auto list = reinterpret_cast<HIMAGELIST>(l);
            result = LRESULT(std::exchange(FImageHandles[w], list));
            if (HIMAGELIST(result) != list) NodesChanged(true);
            return;
        }
        case TVM_GETVISIBLECOUNT:
            result = VisibleCount();
            return;
        case TVM_EDITLABELW:
            result = StartEdit(FItems->NodeOf(reinterpret_cast<HTREEITEM>(l))) ? LRESULT(EditorHandle()) : 0;
            return;
        case TVM_ENDEDITLABELNOW:
            FinishEditor(w == FALSE);
            result = TRUE;
            return;
        default:
            return TCustomViewControl::DefaultHandler(AMessage);
    }
}

void TCustomTreeView::MouseDown(TMessage& AMessage, bool ADouble, bool ARight) {
    if (CanFocus() && !Focused()) SetFocus();
    const TPoint point{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    TTreeNode* node = NodeAtRow(point.Y);
    if (!node) return;
    const THitTest part = HitPart(node, point.X);
    if (ARight) {
        if (FRightClickSelect && OnItem(part)) SelectNode(node);
        return;
    }
    const auto toggle = [this](TTreeNode* ANode) {
        if (ANode->Expanded())
            CollapseNode(ANode, false);
        else
            ExpandNode(ANode, false);
    };
    if (part == htOnButton) return toggle(node);
    if (!OnItem(part)) return;
    SelectNode(node);
    // A double click on the item opens or closes it.
    if (ADouble && Alive(node)) toggle(node);
}

void TCustomTreeView::KeyNavigate(Word AKey) {
    TTreeNode* selected = Alive(FSelected) ? FSelected : nullptr;
    if (AKey == VK_F2) {
        if (selected) StartEdit(selected);
        return;
    }
    const auto& rows = Rows();
    if (rows.empty()) return;
    const Integer page = std::max(VisibleCount() - 1, 1);
    TTreeNode* target = nullptr;
    switch (AKey) {
        case VK_UP:
            target = selected ? selected->GetPrevVisible() : rows.front();
            break;
        case VK_DOWN:
            target = selected ? selected->GetNextVisible() : rows.front();
            break;
        case VK_HOME:
            target = rows.front();
            break;
        case VK_END:
            target = rows.back();
            break;
        case VK_PRIOR:
            target = rows[size_t(std::max((selected ? selected->FRow : 0) - page, 0))];
            break;
        case VK_NEXT:
            target = rows[size_t(std::min((selected ? selected->FRow : 0) + page, Integer(rows.size()) - 1))];
            break;
        case VK_LEFT:
            if (!selected) break;
            if (selected->Expanded())
                CollapseNode(selected, false);
            else
                target = selected->Parent();
            break;
        case VK_RIGHT:
            if (!selected) break;
            if (!selected->Expanded())
                ExpandNode(selected, false);
            else
                target = selected->GetFirstChild();
            break;
        case VK_ADD:
            if (selected) ExpandNode(selected, false);
            break;
        case VK_SUBTRACT:
            if (selected) CollapseNode(selected, false);
            break;
        case VK_MULTIPLY:
            if (selected) ExpandNode(selected, true);
            break;
        default:
            break;
    }
    if (target) SelectNode(target);
}

void TCustomTreeView::TypeAhead(char16_t AChar) {
    if (AChar < u' ') return;
    const String prefix = FTypeAhead.Add(AChar);
    const auto& rows = Rows();
    const Integer count = Integer(rows.size());
    if (count == 0) return;
    // A new prefix looks past the selected row; a longer one may stay on it.
    Integer start =
        Alive(FSelected) && FSelected->FRow >= 0 ? FSelected->FRow + (prefix.size() == 1 ? 1 : 0) : 0;
    for (Integer k = 0; k < count; ++k) {
        TTreeNode* node = rows[size_t((start + k) % count)];
        if (StartsWithText(prefix, node->Text())) {
            SelectNode(node);
            return;
        }
    }
}

TRect TCustomTreeView::EditorRect() {
    const TRect text = NodeRect(FEditNode, true);
    const Integer height = FontHeight() + 6;
    return Bounds(text.Left, text.Top + (text.Height() - height) / 2, std::max(text.Width() + 16, 80),
                  height);
}

bool TCustomTreeView::StartEdit(TTreeNode* ANode) {
    if (FReadOnly || !Alive(ANode) || !HandleAllocated()) return false;
    FinishEditor(true);
    if (!Alive(ANode) || !CanEdit(ANode) || !Alive(ANode)) return false;
    MakeNodeVisible(ANode);
    if (!Alive(ANode)) return false;
    FEditNode = ANode;
    StartEditor(EditorRect(), ANode->Text());
    return true;
}

void TCustomTreeView::MoveEditor() {
    if (IsEditing() && Alive(FEditNode)) PlaceEditor(EditorRect());
}

void TCustomTreeView::EditorDone(std::optional<String> AText) {
    TTreeNode* node = std::exchange(FEditNode, nullptr);
    if (Alive(node)) Edit(node, std::move(AText));
}

void TCustomTreeView::CreateParams(TCreateParams& AParams) {
    TCustomViewControl::CreateParams(AParams);
    AParams.WinClassName = u"SysTreeView32";
}

void TCustomTreeView::CreateWnd() {
    TCustomViewControl::CreateWnd();
    NodesChanged(true);
}

void TCustomTreeView::DestroyWnd() {
    FinishEditor(false);
    TCustomViewControl::DestroyWnd();
}
