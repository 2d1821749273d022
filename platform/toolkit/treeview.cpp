// The tree view's model: nodes and their handles, adding, deleting and
// sorting, selection, expansion and the hooks they go through, and the
// published members.
#include "platform/toolkit/treeview.h"

#include <algorithm>

#include "platform/base/listhelpers.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"

using namespace win;

TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, HTREEITEM AItemId)
    : FOwner(AOwner), FParent(AParent), FItemId(AItemId) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
    return FOwner->Owner();
}

void TTreeNode::Changed(bool ALayout) {
    TreeView()->NodesChanged(ALayout);
}

void TTreeNode::SetText(const String& AValue) {
    if (AValue == FText) return;
    FText = AValue;
    FTextWidth = -1;
    Changed(true);
}

Integer TTreeNode::Level() const {
    Integer level = 0;
    for (const TTreeNode* p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

Integer TTreeNode::Index() const {
    const auto& siblings = FOwner->Siblings(FParent);
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return Integer(i);
    return -1;
}

Integer TTreeNode::AbsoluteIndex() const {
    Integer index = 0;
    for (const TTreeNode* n = FOwner->GetFirstNode(); n && n != this; n = n->GetNext())
        ++index;
    return index;
}

void TTreeNode::SetHasChildren(bool AValue) {
    if (Store(FHasChildren, AValue)) Changed(true);
}

void TTreeNode::SetExpanded(bool AValue) {
    if (AValue)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool ARecurse) {
    TreeView()->ExpandNode(this, ARecurse);
}

void TTreeNode::Collapse(bool ARecurse) {
    TreeView()->CollapseNode(this, ARecurse);
}

void TTreeNode::SetImageIndex(Integer AValue) {
    if (Store(FImageIndex, AValue)) Changed(false);
}

void TTreeNode::SetSelectedIndex(Integer AValue) {
    if (Store(FSelectedIndex, AValue)) Changed(false);
}

void TTreeNode::SetStateIndex(Integer AValue) {
    if (Store(FStateIndex, AValue)) Changed(true);
}

TTreeNode* TTreeNode::Item(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    return FChildren[size_t(AIndex)].get();
}

TTreeNode* TTreeNode::GetFirstChild() const {
    return FChildren.empty() ? nullptr : FChildren.front().get();
}

TTreeNode* TTreeNode::GetLastChild() const {
    return FChildren.empty() ? nullptr : FChildren.back().get();
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& siblings = FOwner->Siblings(FParent);
    const Integer index = Index();
    return index >= 0 && size_t(index) + 1 < siblings.size() ? siblings[size_t(index) + 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const auto& siblings = FOwner->Siblings(FParent);
    const Integer index = Index();
    return index > 0 ? siblings[size_t(index) - 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return FParent;
    while (!prev->FChildren.empty())
        prev = prev->FChildren.back().get();
    return prev;
}

TTreeNode* TTreeNode::GetNextVisible() const {
    if (FExpanded && !FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return FParent;
    while (prev->FExpanded && !prev->FChildren.empty())
        prev = prev->FChildren.back().get();
    return prev;
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) return false;
    return true;
}

bool TTreeNode::Selected() const {
    return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool AValue) {
    if (AValue)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

TRect TTreeNode::DisplayRect(bool ATextOnly) const {
    return TreeView()->NodeRect(const_cast<TTreeNode*>(this), ATextOnly);
}

void TTreeNode::MakeVisible() {
    TreeView()->MakeNodeVisible(this);
}

bool TTreeNode::EditText() {
    return TreeView()->Perform(TVM_EDITLABELW, 0, LPARAM(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool ACancel) {
    if (TreeView()->FEditNode == this) TreeView()->Perform(TVM_ENDEDITLABELNOW, ACancel ? TRUE : FALSE, 0);
}

bool TTreeNode::CustomSort(const TTVCompare& ACompare) {
    if (!ACompare) return false;
    std::stable_sort(FChildren.begin(), FChildren.end(),
                     [&ACompare](const std::unique_ptr<TTreeNode>& A, const std::unique_ptr<TTreeNode>& B) {
                         return ACompare(A.get(), B.get()) < 0;
                     });
    Changed(true);
    return true;
}

bool TTreeNode::AlphaSort() {
    return CustomSort([](TTreeNode* A, TTreeNode* B) { return AnsiCompareText(A->Text(), B->Text()); });
}

void TTreeNode::Delete() {
    TreeView()->DeleteNode(this);
}

void TTreeNode::DeleteChildren() {
    TCustomTreeView* tree = TreeView();
    std::vector<TTreeNode*> children;
    for (const auto& child : FChildren)
        children.push_back(child.get());
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        tree->DeleteNode(*it);
}

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Item(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    TTreeNode* node = GetFirstNode();
    for (Integer i = 0; i < AIndex && node; ++i)
        node = node->GetNext();
    return node;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return FRoots.empty() ? nullptr : FRoots.front().get();
}

TTreeNode* TTreeNodes::Checked(TTreeNode* ANode) const {
    if (ANode && !Contains(ANode)) throw EInvalidOperation(u"Invalid tree node");
    return ANode;
}

TTreeNode* TTreeNodes::Add(TTreeNode* ASibling, const String& S) {
    TTreeNode* parent = ASibling ? Checked(ASibling)->FParent : nullptr;
    return InsertNode(parent, Integer(Siblings(parent).size()), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* ASibling, const String& S) {
    return InsertNode(ASibling ? Checked(ASibling)->FParent : nullptr, 0, S);
}

// Each node from outside is checked before anything of it is read.
TTreeNode* TTreeNodes::AddChild(TTreeNode* AParent, const String& S) {
    Checked(AParent);
    return InsertNode(AParent, Integer(Siblings(AParent).size()), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* AParent, const String& S) {
    Checked(AParent);
    return InsertNode(AParent, 0, S);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* ASibling, const String& S) {
    if (!ASibling) return Add(nullptr, S);
    Checked(ASibling);
    return InsertNode(ASibling->FParent, ASibling->Index(), S);
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* AParent, Integer APosition, const String& S) {
    const auto handle = reinterpret_cast<HTREEITEM>(++FLastHandle);
    std::unique_ptr<TTreeNode> node(new TTreeNode(this, AParent, handle));
    TTreeNode* result = node.get();
    result->FText = S;
    auto& siblings = Siblings(AParent);
    siblings.insert(siblings.begin() + std::clamp(APosition, 0, Integer(siblings.size())), std::move(node));
    FLive.insert(result);
    FHandles[handle] = result;
    if (AParent) AParent->FHasChildren = true;
    FOwner->NodesChanged(true);
    return result;
}

void TTreeNodes::Delete(TTreeNode* ANode) {
    FOwner->DeleteNode(Checked(ANode));
}

void TTreeNodes::Clear() {
    if (FRoots.empty()) return;
    FOwner->FClearing = true;
    BeginUpdate();
    try {
        std::vector<TTreeNode*> roots;
        for (const auto& root : FRoots)
            roots.push_back(root.get());
        for (auto it = roots.rbegin(); it != roots.rend(); ++it)
            FOwner->DeleteNode(*it);
    } catch (...) {
        FOwner->FClearing = false;
        EndUpdate();
        throw;
    }
    FOwner->FClearing = false;
    EndUpdate();
}

TTreeNode* TTreeNodes::NodeOf(HTREEITEM AItem) const {
    const auto it = FHandles.find(AItem);
    return it == FHandles.end() ? nullptr : it->second;
}

void TTreeNodes::BeginUpdate() {
    ++FOwner->FUpdateCount;
}

void TTreeNodes::EndUpdate() {
    if (FOwner->FUpdateCount == 0) return;
    if (--FOwner->FUpdateCount == 0) FOwner->NodesChanged(false);
}

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomViewControl(AOwner),
      FItems(std::make_unique<TTreeNodes>(this)),
      FImagesLink(this, [this] { NodesChanged(true); }),
      FStateLink(this, [this] { NodesChanged(true); }) {
    SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
    BeforeDestruction();
    // Each node still reaches OnDeletion, where the user may free its Data.
    FItems->Clear();
}

void TCustomTreeView::NodesChanged(bool ALayout) {
    if (ALayout) FRowsValid = false;
    if (FUpdateCount > 0 || !HandleAllocated()) {
        FLayoutPending = FLayoutPending || ALayout;
        return;
    }
    if (ALayout || FLayoutPending) {
        FLayoutPending = false;
        ScrollTo(FScrollX, FTop);
        UpdateScrollState();
        MoveEditor();
    }
    Invalidate();
}

bool TCustomTreeView::SelectNode(TTreeNode* ANode) {
    if (ANode && !Alive(ANode)) return false;
    if (ANode == FSelected) return true;
    if (!CanChange(ANode) || (ANode && !Alive(ANode))) return false;
    FSelected = ANode;
    Invalidate();
    if (ANode) {
        // The ancestors open, top first, so the node can be seen.
        std::vector<TTreeNode*> ancestors;
        for (TTreeNode* p = ANode->FParent; p; p = p->FParent)
            ancestors.push_back(p);
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
            if (!(*it)->FExpanded) ExpandNode(*it, false);
        if (!Alive(ANode)) return false;
        MakeNodeVisible(ANode);
    }
    Change(FSelected);
    return true;
}

void TCustomTreeView::SetSelected(TTreeNode* AValue) {
    SelectNode(AValue);
}

bool TCustomTreeView::ExpandNode(TTreeNode* ANode, bool ARecurse) {
    if (!Alive(ANode)) return false;
    if (!ANode->FExpanded && ANode->FHasChildren) {
        if (ANode->FExpanding) return false;
        ANode->FExpanding = true;
        bool allowed = false;
        try {
            allowed = CanExpand(ANode);
        } catch (...) {
            if (Alive(ANode)) ANode->FExpanding = false;
            throw;
        }
        if (!Alive(ANode)) return false;
        ANode->FExpanding = false;
        if (!allowed) return false;
        // The hook may have found nothing to show.
        if (ANode->FChildren.empty()) return false;
        ANode->FExpanded = true;
        NodesChanged(true);
        Expand(ANode);
        if (!Alive(ANode)) return false;
    }
    if (ARecurse) {
        std::vector<TTreeNode*> children;
        for (const auto& child : ANode->FChildren)
            children.push_back(child.get());
        for (TTreeNode* child : children)
            ExpandNode(child, true);
    }
    return ANode->FExpanded;
}

bool TCustomTreeView::CollapseNode(TTreeNode* ANode, bool ARecurse) {
    if (!Alive(ANode)) return false;
    if (ARecurse) {
        std::vector<TTreeNode*> children;
        for (const auto& child : ANode->FChildren)
            children.push_back(child.get());
        for (TTreeNode* child : children)
            CollapseNode(child, true);
        if (!Alive(ANode)) return false;
    }
    if (!ANode->FExpanded) return true;
    if (!CanCollapse(ANode) || !Alive(ANode)) return false;
    ANode->FExpanded = false;
    NodesChanged(true);
    // A selection inside the closed branch moves up to it.
    for (TTreeNode* p = FSelected ? FSelected->FParent : nullptr; p; p = p->FParent)
        if (p == ANode) {
            SelectNode(ANode);
            break;
        }
    if (!Alive(ANode)) return false;
    Collapse(ANode);
    return true;
}

void TCustomTreeView::DeleteNode(TTreeNode* ANode) {
    if (!Alive(ANode) || ANode->FDeleting) return;
    // Nodes leave the tree at once but are freed only when the outermost
    // deletion ends: a hook further out may still hold one.
    ++FDeleteDepth;
    try {
        RemoveNode(ANode);
    } catch (...) {
        if (Alive(ANode)) ANode->FDeleting = false;
        if (--FDeleteDepth == 0) BuryNodes();
        throw;
    }
    if (--FDeleteDepth == 0) BuryNodes();
}

void TCustomTreeView::RemoveNode(TTreeNode* ANode) {
    ANode->FDeleting = true;
    if (FEditNode && IsEditing())
        for (TTreeNode* n = FEditNode; n; n = n->FParent)
            if (n == ANode) FinishEditor(false);
    // A selection in the branch goes to a neighbour, else to the parent.
    bool selectionInside = false;
    for (TTreeNode* n = FSelected; n && !selectionInside; n = n->FParent)
        selectionInside = n == ANode;
    TTreeNode* moved = nullptr;
    if (selectionInside) {
        for (TTreeNode* next : {ANode->GetNextSibling(), ANode->GetPrevSibling(), ANode->FParent})
            if (next && !next->FDeleting && !FClearing) {
                moved = next;
                break;
            }
        FSelected = moved;
    }
    // The children go first, the last first; a hook may take more along.
    while (Alive(ANode) && !ANode->FChildren.empty()) {
        TTreeNode* child = ANode->FChildren.back().get();
        DeleteNode(child);
        if (Alive(child)) break;
    }
    if (!Alive(ANode)) return;
    Delete(ANode);
    if (!Alive(ANode)) return;

    TTreeNode* parent = ANode->FParent;
    auto& siblings = FItems->Siblings(parent);
    const auto it =
        std::find_if(siblings.begin(), siblings.end(),
                     [ANode](const std::unique_ptr<TTreeNode>& AChild) { return AChild.get() == ANode; });
    if (it != siblings.end()) {
        FGraveyard.push_back(std::move(*it));
        siblings.erase(it);
    }
    FItems->FLive.erase(ANode);
    FItems->FHandles.erase(ANode->FItemId);
    if (FEditNode == ANode) FEditNode = nullptr;
    if (parent && parent->FChildren.empty()) {
        parent->FHasChildren = false;
        parent->FExpanded = false;
    }
    NodesChanged(true);
    if (selectionInside && !FClearing) Change(Alive(moved) ? moved : nullptr);
}

void TCustomTreeView::BuryNodes() {
    std::vector<std::unique_ptr<TTreeNode>> dead = std::move(FGraveyard);
    FGraveyard.clear();
    // A deletion cut short by an exception may leave nodes under dead ones.
    std::vector<TTreeNode*> pending;
    for (const auto& node : dead)
        pending.push_back(node.get());
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        FItems->FLive.erase(node);
        FItems->FHandles.erase(node->FItemId);
        if (FSelected == node) FSelected = nullptr;
        if (FEditNode == node) FEditNode = nullptr;
        for (const auto& child : node->FChildren)
            pending.push_back(child.get());
    }
}

void TCustomTreeView::FullExpand() {
    std::vector<TTreeNode*> roots;
    for (const auto& root : FItems->FRoots)
        roots.push_back(root.get());
    for (TTreeNode* root : roots)
        ExpandNode(root, true);
}

void TCustomTreeView::FullCollapse() {
    std::vector<TTreeNode*> roots;
    for (const auto& root : FItems->FRoots)
        roots.push_back(root.get());
    for (TTreeNode* root : roots)
        CollapseNode(root, true);
}

void TCustomTreeView::SetShowRoot(bool AValue) {
    if (Store(FShowRoot, AValue)) NodesChanged(true);
}

void TCustomTreeView::SetShowLines(bool AValue) {
    if (Store(FShowLines, AValue)) NodesChanged(false);
}

void TCustomTreeView::SetShowButtons(bool AValue) {
    if (Store(FShowButtons, AValue)) NodesChanged(false);
}

void TCustomTreeView::SetIndent(Integer AValue) {
    AValue = std::max(AValue, 0);
    if (AValue == FIndent) return;
    FIndent = AValue;
    NodesChanged(true);
}

void TCustomTreeView::SetHideSelection(bool AValue) {
    if (Store(FHideSelection, AValue)) NodesChanged(false);
}

void TCustomTreeView::SetImages(TCustomImageList* AValue) {
    if (FImagesLink.Follow(AValue)) Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImagesLink.Handle()));
}

void TCustomTreeView::SetStateImages(TCustomImageList* AValue) {
    if (FStateLink.Follow(AValue)) Perform(TVM_SETIMAGELIST, TVSIL_STATE, LPARAM(FStateLink.Handle()));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomViewControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == Images()) SetImages(nullptr);
    if (AComponent == StateImages()) SetStateImages(nullptr);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    return Allowed(OnChanging, this, Node);
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    return Allowed(OnExpanding, this, Node);
}

void TCustomTreeView::Expand(TTreeNode* Node) {
    if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    return Allowed(OnCollapsing, this, Node);
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
    if (OnCollapsed) OnCollapsed(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion) OnDeletion(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
    return Allowed(OnEditing, this, Node);
}

void TCustomTreeView::Edit(TTreeNode* Node, std::optional<String> AText) {
    if (!AText || !Alive(Node)) return;
    String text = *AText;
    if (OnEdited) OnEdited(this, Node, text);
    if (Alive(Node)) Node->SetText(text);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
    if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                     bool& PaintImages) {
    bool defaultDraw = true;
    if (OnAdvancedCustomDrawItem)
        OnAdvancedCustomDrawItem(this, Node, State, Stage, PaintImages, defaultDraw);
    return defaultDraw;
}

namespace {

const auto Registered = [] {
    RegisterClass<TCustomTreeView, TCustomControl>()
        .Property(u"ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
        .Property(u"ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
        .Property(u"ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
        .Property(u"Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent)
        .Property(u"Images", &TCustomTreeView::Images, &TCustomTreeView::SetImages)
        .Property(u"StateImages", &TCustomTreeView::StateImages, &TCustomTreeView::SetStateImages)
        .Property(u"HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection)
        .Property(u"RightClickSelect", &TCustomTreeView::RightClickSelect,
                  &TCustomTreeView::SetRightClickSelect)
        .Property(u"ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly)
        .Event(u"OnChanging", &TCustomTreeView::OnChanging)
        .Event(u"OnChange", &TCustomTreeView::OnChange)
        .Event(u"OnExpanding", &TCustomTreeView::OnExpanding)
        .Event(u"OnExpanded", &TCustomTreeView::OnExpanded)
        .Event(u"OnCollapsing", &TCustomTreeView::OnCollapsing)
        .Event(u"OnCollapsed", &TCustomTreeView::OnCollapsed)
        .Event(u"OnDeletion", &TCustomTreeView::OnDeletion)
        .Event(u"OnEditing", &TCustomTreeView::OnEditing)
        .Event(u"OnEdited", &TCustomTreeView::OnEdited)
        .Event(u"OnGetImageIndex", &TCustomTreeView::OnGetImageIndex)
        .Event(u"OnGetSelectedIndex", &TCustomTreeView::OnGetSelectedIndex)
        .Event(u"OnContextPopup", &TCustomTreeView::OnContextPopup)
        .Event(u"OnAdvancedCustomDrawItem", &TCustomTreeView::OnAdvancedCustomDrawItem);
    RegisterClass<TTreeView, TCustomTreeView>();
    return true;
}();

}  // namespace
