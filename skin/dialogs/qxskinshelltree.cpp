#include "skin/dialogs/qxskinshelltree.h"

#include "platform/base/mainthread.h"
#include "platform/shell/sysimagelist.h"
#include "platform/toolkit/forms.h"
#include "skin/controls/qxskinlink.h"
#include "skin/dialogs/qxfilectrl.h"
#include "skin/dialogs/qxskinshellcombo.h"

namespace {

struct TRaised {
    bool& Flag;
    explicit TRaised(bool& AFlag) : Flag(AFlag) { Flag = true; }
    ~TRaised() { Flag = false; }
};

// AID with its leading AFrom replaced by ATo (a folder renamed above it);
// a copy of AID when AFrom does not lead it or nothing was renamed.
PItemIDList RenamedIdList(PCItemIDList AID, PCItemIDList AFrom, PCItemIDList ATo) {
    const Integer count = AFrom ? IdListCount(AFrom) : 0;
    const Integer total = IdListCount(AID);
    if (!AFrom || total < count) return IdListCopy(AID);
    std::vector<PItemIDList> prefixes = IdListPrefixes(AID);
    const bool under = IdListsEqual(count == total ? AID : prefixes[size_t(count)], AFrom);
    FreeIdListPrefixes(prefixes);
    if (!under) return IdListCopy(AID);
    PCItemIDList rest = AID;
    for (Integer i = 0; i < count; ++i)
        rest = IdListNext(rest);
    return IdListJoin(ATo, rest);
}

}  // namespace

TqxCustomShellTreeView::TqxCustomShellTreeView(TComponent* AOwner)
    : TqxSkinCustomTreeView(AOwner),
      FWatchedRefresh(
          [this] {
              if (Selected()) Refresh(Selected());
          },
          this) {
    SetShowRoot(false);
    SetRightClickSelect(true);
    SetImages(shell::SystemImageList(false));
}

TqxCustomShellTreeView::~TqxCustomShellTreeView() {
    delete FNotifier;
    RemoveQueuedEvents(this);
    SetShellComboBox(nullptr);
    ClearNodes();
    delete FRootFolder;
}

void TqxCustomShellTreeView::ClearNodes() {
    Items()->Clear();
}

void TqxCustomShellTreeView::Delete(TTreeNode* Node) {
    delete ItemOf(Node);
    Node->SetData(nullptr);
    TqxSkinCustomTreeView::Delete(Node);
}

void TqxCustomShellTreeView::CreateWnd() {
    TqxSkinCustomTreeView::CreateWnd();
    if (Items()->Count() > 0) ClearNodes();
    if (FLoadingRoot) return;
    ReloadRoot();
    if (!FPath.empty()) SetPath(FPath);
}

void TqxCustomShellTreeView::DestroyWnd() {
    ClearNodes();
    TqxSkinCustomTreeView::DestroyWnd();
}

void TqxCustomShellTreeView::Loaded() {
    TqxSkinCustomTreeView::Loaded();
    ReloadRoot();
    WatchSelectedFolder();
}

void TqxCustomShellTreeView::SetAutoRefresh(bool AValue) {
    FAutoRefresh = AValue;
    WatchSelectedFolder();
}

void TqxCustomShellTreeView::WatchSelectedFolder() {
    if (ComponentState().Contains(csLoading)) return;
    TqxShellFolder* item = SelectedFolder();
    if (item && !item->IsFolder()) item = item->Parent();
    if (!item) item = FRootFolder;
    WatchViewFolder(FNotifier, this, FAutoRefresh, item ? item->PathName() : String(),
                    [this] { FWatchedRefresh.Request(); });
}

void TqxCustomShellTreeView::SetNodeImages(TTreeNode* ANode) {
    TqxShellFolder* item = ItemOf(ANode);
    ANode->SetImageIndex(ShellIconIndex(item->AbsoluteID(), false, false));
    ANode->SetSelectedIndex(ShellIconIndex(item->AbsoluteID(), false, true));
    if (ANode->SelectedIndex() == 0) ANode->SetSelectedIndex(ANode->ImageIndex());
}

void TqxCustomShellTreeView::ReloadRoot() {
    if (ComponentState().Contains(csLoading)) return;
    String failure;
    try {
        FRootFolder = ResolveRoot(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& e) {
        failure = e.Message();
    }
    if (FRootFolder && HandleAllocated()) {
        const TRaised loading(FLoadingRoot);
        if (Items()->Count() > 0) ClearNodes();
        auto* item = new TqxShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
        TTreeNode* node =
            Items()->Add(nullptr, ItemDisplayName(GetDesktopInterface(), item->AbsoluteID(), 0));
        node->SetData(item);
        SetNodeImages(node);
        node->SetHasChildren(item->SubFolders());
        node->Expand(false);
        SetSelected(node);
        WatchSelectedFolder();
    }
    if (!failure.empty()) throw Exception(failure);
}

void TqxCustomShellTreeView::ApplyRoot() {
    if (FUpdating) return;
    const TRaised updating(FUpdating);
    ReloadRoot();
}

void TqxCustomShellTreeView::SetRoot(const TRoot& AValue) {
    if (AnsiCompareText(AValue, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    ApplyRoot();
}

void TqxCustomShellTreeView::SetObjectTypes(TShellObjectTypes AValue) {
    FObjectTypes = AValue;
    ApplyRoot();
}

bool TqxCustomShellTreeView::CanExpand(TTreeNode* Node) {
    if (Node->Count() == 0 && Node->HasChildren()) FillNode(Node);
    return TqxSkinCustomTreeView::CanExpand(Node);
}

void TqxCustomShellTreeView::FillNode(TTreeNode* ANode) {
    const TCursor cursor = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    Items()->BeginUpdate();
    struct TDone {
        TTreeNodes* Nodes;
        TCursor Cursor;
        ~TDone() {
            Nodes->EndUpdate();
            Screen->SetCursor(Cursor);
        }
    } done{Items(), cursor};
    std::shared_ptr<win::IEnumIDList> ids;
    if (ItemOf(ANode)->ShellFolder()->EnumObjects(nullptr, ObjectTypeFlags(FObjectTypes), ids) != win::S_OK ||
        !ids) {
        ANode->SetHasChildren(false);
        return;
    }
    PItemIDList id = nullptr;
    win::ULONG fetched = 0;
    while (ids->Next(1, &id, &fetched) == win::S_OK && fetched == 1) {
        TTreeNode* child = Items()->AddChild(ANode, u"");
        PrepareChildNode(child, id, ANode);
        ShellFree(id);
    }
    ANode->CustomSort([](TTreeNode* A, TTreeNode* B) {
        const TqxShellFolder* a = ItemOf(A);
        return Integer(SmallInt(win::HRESULT_CODE(
            a->ParentShellFolder()->CompareIDs(0, a->RelativeID(), ItemOf(B)->RelativeID()))));
    });
    if (ANode->Count() == 0) ANode->SetHasChildren(false);
}

void TqxCustomShellTreeView::PrepareChildNode(TTreeNode* AChild, PCItemIDList AID, TTreeNode* AParentNode) {
    TqxShellFolder* parent = ItemOf(AParentNode);
    auto* item = new TqxShellFolder(parent, AID, BindChildFolder(parent->ShellFolder(), AID, nullptr));
    AChild->SetData(item);
    AChild->SetText(item->DisplayName());
    SetNodeImages(AChild);
    AChild->SetHasChildren(item->SubFolders());
    if (FObjectTypes.Contains(otNonFolders) && item->ShellFolder())
        AChild->SetHasChildren(FolderHasItems(item->ShellFolder(), ObjectTypeFlags(FObjectTypes)));
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, item, canAdd);
    if (!canAdd) Items()->Delete(AChild);
}

TqxShellFolder* TqxCustomShellTreeView::SelectedFolder() const {
    return Selected() ? ItemOf(Selected()) : nullptr;
}

String TqxCustomShellTreeView::Path() {
    TqxShellFolder* item = SelectedFolder();
    return item ? item->PathName() : String();
}

void TqxCustomShellTreeView::SetPath(const String& AValue) {
    FPath = AValue;
    if (!HandleAllocated()) return;
    PItemIDList list = nullptr;
    win::ULONG eaten = win::ULONG(AValue.size()), attributes = 0;
    if (GetDesktopInterface()->ParseDisplayName(nullptr, AValue, &eaten, &list, &attributes) != win::S_OK)
        throw EInvalidPath(Format(u"Error setting path: \"%s\"", {AValue}));
    struct TFree {
        PItemIDList List;
        ~TFree() { ShellFree(List); }
    } release{list};
    SelectIdList(list);
}

void TqxCustomShellTreeView::SelectIdList(PCItemIDList AID) {
    TTreeNode* node = Items()->GetFirstNode();
    if (!node) {
        // No window yet: its creation selects the folder.
        if (const String path = ItemDisplayName(GetDesktopInterface(), AID, win::SHGDN_FORPARSING);
            !path.empty())
            FPath = path;
        return;
    }
    const std::shared_ptr<win::IShellFolder> desktop = GetDesktopInterface();
    const auto same = [&](TTreeNode* ANode, PCItemIDList AList) {
        return desktop->CompareIDs(0, ItemOf(ANode)->AbsoluteID(), AList) == 0;
    };
    std::vector<PItemIDList> prefixes = IdListPrefixes(AID);
    prefixes.push_back(IdListCopy(AID));
    struct TFree {
        std::vector<PItemIDList>& Prefixes;
        ~TFree() { FreeIdListPrefixes(Prefixes); }
    } release{prefixes};
    // The root lies somewhere on the way; from there, one level a step.
    size_t step = 0;
    while (step < prefixes.size() && !same(node, prefixes[step]))
        ++step;
    if (step == prefixes.size()) return;
    for (++step; step < prefixes.size(); ++step) {
        node->Expand(false);
        TTreeNode* next = nullptr;
        for (TTreeNode* child = node->GetFirstChild(); child && !next; child = child->GetNextSibling())
            if (same(child, prefixes[step])) next = child;
        if (!next) break;
        node = next;
    }
    SetSelected(node);
}

TTreeNode* TqxCustomShellTreeView::FindNodeByIdList(PCItemIDList AID, TTreeNode* AStart) {
    const std::shared_ptr<win::IShellFolder> desktop = GetDesktopInterface();
    for (TTreeNode* node = AStart; node && (node == AStart || node->Level() > AStart->Level());
         node = node->GetNext())
        if (ItemOf(node) && desktop->CompareIDs(0, ItemOf(node)->AbsoluteID(), AID) == 0) return node;
    return nullptr;
}

void TqxCustomShellTreeView::Refresh(TTreeNode* Node) {
    RefreshNode(Node, nullptr, nullptr);
}

void TqxCustomShellTreeView::RefreshNode(TTreeNode* Node, PCItemIDList ARenamedFrom,
                                         PCItemIDList ARenamedTo) {
    TqxShellFolder* old = Node ? ItemOf(Node) : nullptr;
    if (!old || !old->ShellFolder()) return;
    TTreeNode* top = TopItem();
    struct TDone {
        TTreeNodes* Nodes;
        TCursor Cursor;
        PItemIDList Top = nullptr, Chosen = nullptr;
        ~TDone() {
            ShellFree(Top);
            ShellFree(Chosen);
            Nodes->EndUpdate();
            Screen->SetCursor(Cursor);
        }
    } done{Items(), Screen->Cursor()};
    // Items below a renamed folder still carry its old name: they are looked
    // for under the new one.
    const auto now = [&](PCItemIDList AID) { return RenamedIdList(AID, ARenamedFrom, ARenamedTo); };
    if (top && ItemOf(top)) done.Top = now(ItemOf(top)->AbsoluteID());
    if (Selected() && ItemOf(Selected())) done.Chosen = now(SelectedFolder()->AbsoluteID());
    Items()->BeginUpdate();
    Screen->SetCursor(crHourGlass);
    {
        // The partners stay where they are until the selection is back.
        const TRaised updating(FUpdating);
        TTreeNode* fresh = Items()->Insert(Node, u"");
        auto* item = new TqxShellFolder(old->Parent(), old->RelativeID(), old->ShellFolder());
        fresh->SetData(item);
        FillNode(fresh);
        SetNodeImages(fresh);
        fresh->SetHasChildren(fresh->Count() > 0);
        fresh->SetText(old->Parent() ? item->DisplayName()
                                     : ItemDisplayName(GetDesktopInterface(), item->AbsoluteID(), 0));
        for (TTreeNode* node = Node; node && (node == Node || node->Level() > Node->Level());
             node = node->GetNext()) {
            if (!node->Expanded()) continue;
            PItemIDList id = now(ItemOf(node)->AbsoluteID());
            TTreeNode* counterpart = FindNodeByIdList(id, fresh);
            ShellFree(id);
            if (counterpart) counterpart->Expand(false);
        }
        Items()->Delete(Node);
    }
    if (done.Chosen) SetSelected(FindNodeByIdList(done.Chosen, Items()->GetFirstNode()));
    if (done.Top)
        if (TTreeNode* node = FindNodeByIdList(done.Top, Items()->GetFirstNode())) SetTopItem(node);
}

void TqxCustomShellTreeView::ExpandMyComputer() {
    PItemIDList list = nullptr;
    if (win::SHGetSpecialFolderLocation(nullptr, win::CSIDL_DRIVES, &list) != win::S_OK) return;
    struct TFree {
        PItemIDList List;
        ~TFree() { ShellFree(List); }
    } release{list};
    SelectIdList(list);
    if (Selected()) Selected()->Expand(false);
}

void TqxCustomShellTreeView::Change(TTreeNode* Node) {
    TqxSkinCustomTreeView::Change(Node);
    if (!FLoadingRoot) WatchSelectedFolder();
    if (FUpdating || FLoadingRoot || !Node || !ItemOf(Node)) return;
    const TRaised updating(FUpdating);
    if (FComboBox) FComboBox->FollowIdList(ItemOf(Node)->AbsoluteID());
    if (OnFolderChanged) OnFolderChanged(ItemOf(Node)->AbsoluteID());
}

void TqxCustomShellTreeView::SetShellComboBox(TqxCustomShellComboBox* AValue) {
    if (AValue == FComboBox) return;
    if (FComboBox) FComboBox->OnFolderChosen = nullptr;
    SetReference(this, FComboBox, AValue);
    if (!FComboBox) return;
    FComboBox->SetRoot(FRoot);
    FComboBox->OnFolderChosen = [this](PCItemIDList AID) {
        if (FUpdating) return;
        const TRaised updating(FUpdating);
        SelectIdList(AID);
        if (OnFolderChanged && SelectedFolder()) OnFolderChanged(SelectedFolder()->AbsoluteID());
    };
    if (TqxShellFolder* item = SelectedFolder()) FComboBox->FollowIdList(item->AbsoluteID());
}

void TqxCustomShellTreeView::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomTreeView::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FComboBox) FComboBox = nullptr;
}

TqxItemMenuHost TqxCustomShellTreeView::MenuHost(TTreeNode* ANode) {
    TqxItemMenuHost host;
    host.SkinData = SkinData();
    host.Form = GetParentForm(this);
    host.Target = dynamic_cast<IShellCommandTarget*>(this);
    host.Rename = [ANode] { ANode->EditText(); };
    // Only a folder gone for good loses its node: a refused delete keeps it.
    host.Changed = [this, ANode] {
        if (Items()->Contains(ANode) && !ItemOf(ANode)->FullObjectName().empty() &&
            !IsExistingDirectory(ItemOf(ANode)->FullObjectName()) &&
            !FileExists(ItemOf(ANode)->FullObjectName()))
            Items()->Delete(ANode);
    };
    return host;
}

bool TqxCustomShellTreeView::RunVerb(TTreeNode* ANode, const AnsiString& AVerb) {
    return ANode && RunItemVerb(MenuHost(ANode), ItemOf(ANode), AVerb);
}

void TqxCustomShellTreeView::DoContextPopup(TPoint MousePos, bool& Handled) {
    TqxSkinCustomTreeView::DoContextPopup(MousePos, Handled);
    if (Handled || !FAutoContext) return;
    TTreeNode* node = GetNodeAt(MousePos.X, MousePos.Y);
    if (!node) return;
    const TPoint screen = ClientToScreen(MousePos);
    FWatchedRefresh.ShowMenu(MenuHost(node), ItemOf(node), screen.X, screen.Y, FItemMenu);
    Handled = true;
}

void TqxCustomShellTreeView::Edit(TTreeNode* Node, std::optional<String> AText) {
    TqxShellFolder* item = Node ? ItemOf(Node) : nullptr;
    if (!AText || !item || *AText == item->DisplayName()) return;
    struct TFree {
        PItemIDList List;
        ~TFree() { ShellFree(List); }
    } before{IdListCopy(item->AbsoluteID())}, after{nullptr};
    if (!item->Rename(*AText)) return;
    Node->SetText(item->DisplayName());
    // The subfolders read so far still name the old path: the parent is
    // read again, with what was open under the old name open under the new.
    after.List = IdListCopy(item->AbsoluteID());
    if (Node->Parent()) RefreshNode(Node->Parent(), before.List, after.List);
}

void TqxCustomShellTreeView::ExecuteCommand(const String& Verb, bool&) {
    FOpenDirectory.Enter(Verb, SelectedFolder());
}

void TqxCustomShellTreeView::CommandCompleted(const String& Verb, bool) {
    FOpenDirectory.Leave(Verb);
}
