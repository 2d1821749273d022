// The tree view (window class "SysTreeView32"): nodes in levels, expanded
// lazily through the hooks, with selection, label editing, keys and custom
// drawing, painted plainly (dotted lines, plus/minus boxes, images, the
// selection). Its scroll state is kept on the window: rows of the expanded
// tree vertically (0 .. rows - 1, position = top row, page = whole rows in
// view), pixels sideways (0 .. the widest row - 1).
//
// Nodes are checked wherever they come back from outside: a node that was
// deleted (also inside a hook) answers failure instead of being touched.
// What the system's control does lives in DefaultHandler, behind WindowProc.
#pragma once

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/viewsupport.h"

class TCustomTreeView;
class TTreeNodes;

enum THitTest {
    htAbove,
    htBelow,
    htNowhere,
    htOnItem,
    htOnButton,
    htOnIcon,
    htOnIndent,
    htOnLabel,
    htOnRight,
    htOnStateIcon,
    htToLeft,
    htToRight
};
using THitTests = TSet<THitTest>;

class TTreeNode;
// Negative puts ANode1 first.
using TTVCompare = std::function<Integer(TTreeNode* ANode1, TTreeNode* ANode2)>;

class TTreeNode : public TPersistent {
public:
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    // The node's handle for the TVM_ messages; never given to another node.
    win::HTREEITEM ItemId() const { return FItemId; }

    const String& Text() const { return FText; }
    void SetText(const String& AValue);
    // The user's; the node never frees it.
    void* Data() const { return FData; }
    void SetData(void* AValue) { FData = AValue; }
    Integer Level() const;
    TTreeNode* Parent() const { return FParent; }
    // Among its siblings.
    Integer Index() const;
    // In the whole tree, depth first.
    Integer AbsoluteIndex() const;
    // Whether the node shows an expand button; adding a child sets it and
    // deleting the last child clears it.
    bool HasChildren() const { return FHasChildren; }
    void SetHasChildren(bool AValue);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool AValue);
    void Expand(bool ARecurse);
    void Collapse(bool ARecurse);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    Integer SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(Integer AValue);
    Integer StateIndex() const { return FStateIndex; }
    void SetStateIndex(Integer AValue);

    Integer Count() const { return Integer(FChildren.size()); }
    // EListError "List index out of bounds (%d)" outside 0 .. Count - 1.
    TTreeNode* Item(Integer AIndex) const;
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // Depth first.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // Through expanded nodes only.
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    // Every ancestor expanded.
    bool IsVisible() const;

    bool Selected() const;
    void SetSelected(bool AValue);
    bool Focused() const { return Selected(); }
    // Client coordinates; empty for a node inside a collapsed one.
    TRect DisplayRect(bool ATextOnly) const;
    void MakeVisible();
    bool EditText();
    void EndEdit(bool ACancel);
    // Orders the direct children; false for an empty comparison.
    bool CustomSort(const TTVCompare& ACompare);
    bool AlphaSort();
    void Delete();
    void DeleteChildren();

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;

    TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent, win::HTREEITEM AItemId);
    void Changed(bool ALayout);

    TTreeNodes* FOwner;
    TTreeNode* FParent;
    win::HTREEITEM FItemId;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    String FText;
    void* FData = nullptr;
    bool FHasChildren = false;
    bool FExpanded = false;
    bool FDeleting = false;
    // Inside its expanding hook, which may ask for the same node again.
    bool FExpanding = false;
    Integer FImageIndex = 0;
    Integer FSelectedIndex = 0;
    Integer FStateIndex = -1;
    // Row in the expanded tree, -1 when hidden; the text's width, -1 unknown.
    Integer FRow = -1;
    Integer FTextWidth = -1;
};

class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* AOwner);
    ~TTreeNodes() override;

    TCustomTreeView* Owner() const { return FOwner; }
    Integer Count() const { return Integer(FLive.size()); }
    // Depth first; EListError "List index out of bounds (%d)" outside 0 .. Count - 1.
    TTreeNode* Item(Integer AIndex) const;
    TTreeNode* GetFirstNode() const;
    // As the last (first) sibling of ASibling; nil: at the top level.
    TTreeNode* Add(TTreeNode* ASibling, const String& S);
    TTreeNode* AddFirst(TTreeNode* ASibling, const String& S);
    // As the last (first) child of AParent; nil: at the top level.
    TTreeNode* AddChild(TTreeNode* AParent, const String& S);
    TTreeNode* AddChildFirst(TTreeNode* AParent, const String& S);
    // Just before ASibling; nil: last at the top level.
    TTreeNode* Insert(TTreeNode* ASibling, const String& S);
    void Delete(TTreeNode* ANode);
    // Deletes every node, each through the deletion hook.
    void Clear();
    // Whether ANode is a living node of this tree.
    bool Contains(const TTreeNode* ANode) const { return ANode && FLive.count(ANode) != 0; }
    // The node of a handle, nil for a stale one.
    TTreeNode* NodeOf(win::HTREEITEM AItem) const;
    // Holds painting and layout until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;

    TTreeNode* InsertNode(TTreeNode* AParent, Integer APosition, const String& S);
    std::vector<std::unique_ptr<TTreeNode>>& Siblings(TTreeNode* AParent) {
        return AParent ? AParent->FChildren : FRoots;
    }
    // ANode when it is nil or alive; EInvalidOperation for a stale node.
    TTreeNode* Checked(TTreeNode* ANode) const;

    TCustomTreeView* FOwner;
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    std::unordered_set<const TTreeNode*> FLive;
    std::unordered_map<win::HTREEITEM, TTreeNode*> FHandles;
    uintptr_t FLastHandle = 0;
};

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                       TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw)>;

class TCustomTreeView : public TCustomViewControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const { return FItems.get(); }
    TTreeNode* Selected() const { return FSelected; }
    // Through CanChange; expands the node's ancestors and scrolls it into view.
    void SetSelected(TTreeNode* AValue);
    // The first row shown; nil for an empty tree.
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* AValue);

    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool AValue);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool AValue);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool AValue);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer AValue);
    TCustomImageList* Images() const { return FImagesLink.List(); }
    void SetImages(TCustomImageList* AValue);
    TCustomImageList* StateImages() const { return FStateLink.List(); }
    void SetStateImages(TCustomImageList* AValue);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue);
    // A right click selects the node under it.
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool AValue) { FRightClickSelect = AValue; }
    // No label editing.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }

    // The node on the row at a client point, nil for none.
    TTreeNode* GetNodeAt(Integer X, Integer Y);
    THitTests GetHitTestInfoAt(Integer X, Integer Y);
    void FullExpand();
    void FullCollapse();

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

    void Paint() override;
    void DefaultHandler(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void DestroyWnd() override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    // The hooks, each raising its event.
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    // May fill the node's children.
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    // Runs for each node deleted, the children before their parent.
    virtual void Delete(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    // The label editor closed: with the text, or cancelled (none). Raises
    // OnEdited and takes the text.
    virtual void Edit(TTreeNode* Node, std::optional<String> AText);
    // May set the node's ImageIndex (SelectedIndex) before it is painted.
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    // Raises OnAdvancedCustomDrawItem; false: nothing of the node is drawn.
    virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                bool& PaintImages);

    void ScrollMessage(TMessage& AMessage, int ABar) override;
    void LayoutChanged() override;
    void FontChanged() override;
    void EditorDone(std::optional<String> AText) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;

    bool Alive(const TTreeNode* ANode) const { return FItems->Contains(ANode); }
    bool SelectNode(TTreeNode* ANode);
    bool ExpandNode(TTreeNode* ANode, bool ARecurse);
    bool CollapseNode(TTreeNode* ANode, bool ARecurse);
    void DeleteNode(TTreeNode* ANode);
    void RemoveNode(TTreeNode* ANode);
    void BuryNodes();
    void NodesChanged(bool ALayout);

    // Layout and painting (treeviewpaint.cpp).
    const std::vector<TTreeNode*>& Rows();
    Integer ItemHeight();
    Integer VisibleCount();
    win::SIZE ImageSize(win::WPARAM AList);
    Integer Indentation(TTreeNode* ANode);
    Integer TextLeft(TTreeNode* ANode);
    Integer TextWidth(TTreeNode* ANode);
    Integer ContentWidth();
    TRect NodeRect(TTreeNode* ANode, bool ATextOnly);
    TTreeNode* NodeAtRow(Integer Y);
    THitTest HitPart(TTreeNode* ANode, Integer X);
    void ScrollTo(Integer AX, Integer ATop);
    void UpdateScrollState();
    void MakeNodeVisible(TTreeNode* ANode);
    void PaintNode(TTreeNode* ANode);
    void PaintLines(TTreeNode* ANode, const TRect& ARow);
    void PaintButton(Integer X, Integer Y, bool AExpanded);
    void PaintImage(win::WPARAM AList, Integer AImage, Integer X, const TRect& ARow);

    // Input and editing (treeviewinput.cpp).
    void MouseDown(TMessage& AMessage, bool ADouble, bool ARight);
    void KeyNavigate(Word AKey);
    void TypeAhead(char16_t AChar);
    bool StartEdit(TTreeNode* ANode);
    TRect EditorRect();
    void MoveEditor();

    std::unique_ptr<TTreeNodes> FItems;
    TTreeNode* FSelected = nullptr;
    bool FShowRoot = true;
    bool FShowLines = true;
    bool FShowButtons = true;
    Integer FIndent = 19;
    bool FHideSelection = true;
    bool FRightClickSelect = false;
    bool FReadOnly = false;
    TImageListLink FImagesLink;
    TImageListLink FStateLink;
    // By TVSIL_NORMAL and TVSIL_STATE.
    win::HIMAGELIST FImageHandles[3] = {};

    std::vector<TTreeNode*> FRows;
    bool FRowsValid = false;
    bool FClearing = false;
    std::vector<std::unique_ptr<TTreeNode>> FGraveyard;
    Integer FDeleteDepth = 0;
    Integer FTop = 0;
    Integer FScrollX = 0;
    Integer FUpdateCount = 0;
    bool FLayoutPending = false;
    TTreeNode* FEditNode = nullptr;
    TTypeAhead FTypeAhead;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};
