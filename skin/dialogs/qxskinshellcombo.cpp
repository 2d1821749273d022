#include "skin/dialogs/qxskinshellcombo.h"

#include "skin/dialogs/qxskinshelllist.h"

#include <algorithm>

#include "platform/shell/sysimagelist.h"
#include "platform/toolkit/imagelist.h"

namespace {

// Runs a block with a flag or counter raised, lowered also on an exception.
struct TRaised {
    bool& Flag;
    explicit TRaised(bool& AFlag) : Flag(AFlag) { Flag = true; }
    ~TRaised() { Flag = false; }
};

struct TCounted {
    Integer& Count;
    explicit TCounted(Integer& ACount) : Count(ACount) { ++Count; }
    ~TCounted() { --Count; }
};

}  // namespace

TqxCustomShellComboBox::TqxCustomShellComboBox(TComponent* AOwner) : TqxSkinCustomComboBox(AOwner) {
    FImages = shell::SystemImageList(false);
    FImageWidth = FImages->Width();
    FImageHeight = FImages->Height();
    SetOnListBoxDrawItem([this](TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                                TOwnerDrawState State) {
        DrawListItem(Cnvs, Index, ItemWidth, ItemHeight, TxtRect, State);
    });
    OnComboBoxDrawItem = [this](TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                                TOwnerDrawState State) {
        DrawEditItem(Cnvs, Index, ItemWidth, ItemHeight, TxtRect, State);
    };
}

TqxCustomShellComboBox::~TqxCustomShellComboBox() {
    for (TqxItemEx& entry : FItemsEx) delete entry.Data;
    delete FRootFolder;
}

TqxShellFolder* TqxCustomShellComboBox::ItemFolder(Integer AIndex) const {
    if (FItemsEx.empty()) return nullptr;
    return FItemsEx[static_cast<size_t>(std::min<Integer>(AIndex, ItemCount() - 1))].Data;
}

Integer TqxCustomShellComboBox::ItemImage(TqxShellFolder* AFolder) const {
    return FUseShellImages ? ShellIconIndex(AFolder->AbsoluteID(), false, false) : -1;
}

void TqxCustomShellComboBox::SyncItems() {
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    for (const TqxItemEx& entry : FItemsEx) items->Add(entry.Caption);
    items->EndUpdate();
}

void TqxCustomShellComboBox::ClearItems() {
    {
        const TCounted update(FUpdateCount);
        for (TqxItemEx& entry : FItemsEx) delete entry.Data;
        FItemsEx.clear();
    }
    SyncItems();
}

TqxShellFolder* TqxCustomShellComboBox::CreateChildItem(TqxShellFolder* AFolder, PCItemIDList AID) const {
    return new TqxShellFolder(AFolder, AID, BindChildFolder(AFolder->ShellFolder(), AID, nullptr));
}

Integer TqxCustomShellComboBox::IndexOfIdList(PCItemIDList AID) const {
    const std::shared_ptr<win::IShellFolder> desktop = GetDesktopInterface();
    for (Integer i = ItemCount() - 1; i >= 0; --i) {
        const TqxShellFolder* item = FItemsEx[static_cast<size_t>(i)].Data;
        if (item && desktop->CompareIDs(0, AID, item->AbsoluteID()) == 0) return i;
    }
    return -1;
}

void TqxCustomShellComboBox::ReloadRootItems() {
    if (ComponentState().Contains(csLoading)) return;
    {
        const TCounted update(FUpdateCount);
        ClearItems();
        FRootFolder = ResolveRoot(FRootFolder, FOldRoot, FRoot);
        auto* root = new TqxShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
        const Integer image = ItemImage(root);
        FItemsEx.push_back({root->DisplayName(), root, 0, image, image});
        AddRootChildren();
        SyncItems();
        SetItemIndex(0);
    }
    if (FUseShellImages) {
        SetUseShellImages(false);
        SetUseShellImages(true);
    }
}

void TqxCustomShellComboBox::AddRootChildren() {
    const TCounted update(FUpdateCount);
    InsertChildren(0, FRootFolder);
    if (FRoot != u"rfDesktop") return;
    PItemIDList drives = nullptr;
    if (win::SHGetSpecialFolderLocation(nullptr, win::CSIDL_DRIVES, &drives) != win::S_OK) return;
    const Integer k = IndexOfIdList(drives);
    ShellFree(drives);
    if (k >= 0) InsertChildren(k, ItemFolder(k));
}

void TqxCustomShellComboBox::InsertChildren(Integer AIndex, TqxShellFolder* AFolder) {
    const TCounted update(FUpdateCount);
    std::shared_ptr<win::IEnumIDList> items;
    const win::HRESULT result = AFolder->ShellFolder()->EnumObjects(nullptr, ObjectTypeFlags(FObjectTypes), items);
    if (result != win::S_OK || !items) throw EOleSysError(result);
    std::vector<PItemIDList> ids;
    struct TFree {
        std::vector<PItemIDList>& Ids;
        ~TFree() {
            CompareFolder = nullptr;
            for (PItemIDList id : Ids) ShellFree(id);
        }
    } release{ids};
    CompareFolder = AFolder;
    PItemIDList id = nullptr;
    win::ULONG fetched = 0;
    while (items->Next(1, &id, &fetched) == win::S_OK && fetched == 1) ids.push_back(id);
    std::stable_sort(ids.begin(), ids.end(),
                     [](PItemIDList A, PItemIDList B) { return CompareChildIDs(A, B) < 0; });
    for (size_t k = 0; k < ids.size(); ++k) {
        TqxShellFolder* item = CreateChildItem(AFolder, ids[k]);
        const Integer image = ItemImage(item);
        FItemsEx.insert(FItemsEx.begin() + AIndex + Integer(k) + 1,
                        TqxItemEx{item->DisplayName(), item, item->Level(), image, image});
    }
}

void TqxCustomShellComboBox::InsertPathItem(Integer AIndex, const String& ACaption, TqxShellFolder* AItem) {
    FItemsEx.insert(FItemsEx.begin() + AIndex, TqxItemEx{ACaption, AItem, AItem->Level(), ItemImage(AItem), 0});
}

void TqxCustomShellComboBox::ShowIdListPath(PCItemIDList AID) {
    const TCounted update(FUpdateCount);
    ReloadRootItems();
    std::vector<PItemIDList> prefixes = IdListPrefixes(AID);
    struct TFree {
        std::vector<PItemIDList>& Prefixes;
        ~TFree() { FreeIdListPrefixes(Prefixes); }
    } release{prefixes};
    Integer i = -1, j = -1;
    for (Integer p = Integer(prefixes.size()) - 1; p >= 0 && i < 0; --p)
        if (const Integer found = IndexOfIdList(prefixes[size_t(p)]); found >= 0) {
            i = found;
            j = p;
        }
    if (i < 0) return;
    for (Integer p = j + 1; p < Integer(prefixes.size()); ++p) {
        PItemIDList last = IdListLastItem(prefixes[size_t(p)]);
        TqxShellFolder* item = CreateChildItem(ItemFolder(i), last);
        ShellFree(last);
        InsertPathItem(i + 1, item->DisplayName(), item);
        ++i;
    }
    Integer target = IndexOfIdList(AID);
    if (target < 0) {
        PItemIDList last = IdListLastItem(AID);
        TqxShellFolder* item = CreateChildItem(ItemFolder(i), last);
        ShellFree(last);
        InsertPathItem(i + 1, item->DisplayName(), item);
        target = i + 1;
    }
    SyncItems();
    SetItemIndex(target);
}

void TqxCustomShellComboBox::Change() {
    TqxSkinCustomComboBox::Change();
    if (FUpdateCount > 0 || ItemIndex() < 0 || FUpdating || IsPopupVisible()) return;
    const TRaised updating(FUpdating);
    TqxShellFolder* item = ItemFolder(ItemIndex());
    if (!item) return;
    if (OnFolderChosen) OnFolderChosen(item->AbsoluteID());
    if (FListView) FListView->FollowIdList(item->AbsoluteID());
}

void TqxCustomShellComboBox::FollowIdList(PCItemIDList AID) {
    if (FUpdating) return;
    if (ItemIndex() >= 0)
        if (TqxShellFolder* item = ItemFolder(ItemIndex()); item && IdListsEqual(item->AbsoluteID(), AID)) return;
    const TRaised updating(FUpdating);
    ShowIdListPath(AID);
}

void TqxCustomShellComboBox::SetRoot(const TRoot& AValue) {
    if (AnsiCompareText(AValue, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    RootChanged();
}

void TqxCustomShellComboBox::SetObjectTypes(TShellObjectTypes AValue) {
    FObjectTypes = AValue;
    RootChanged();
}

void TqxCustomShellComboBox::RootChanged() {
    const TRaised updating(FUpdating);
    ClearItems();
    ReloadRootItems();
}

String TqxCustomShellComboBox::Path() {
    if (ItemIndex() < 0) return {};
    TqxShellFolder* item = ItemFolder(ItemIndex());
    return item ? item->PathName() : String();
}

void TqxCustomShellComboBox::SetPath(const String& AValue) {
    try {
        PItemIDList list = nullptr;
        win::ULONG eaten = win::ULONG(AValue.size()), attributes = 0;
        const win::HRESULT result =
            GetDesktopInterface()->ParseDisplayName(nullptr, AValue, &eaten, &list, &attributes);
        if (result != win::S_OK) throw EOleSysError(result);
        struct TFree {
            PItemIDList List;
            ~TFree() { ShellFree(List); }
        } release{list};
        ShowIdListPath(list);
    } catch (const EOleSysError&) {
        throw EInvalidPath(Format(u"Error setting path: \"%s\"", {AValue}));
    }
}

void TqxCustomShellComboBox::CreateWnd() {
    TqxSkinCustomComboBox::CreateWnd();
    SetUseShellImages(FUseShellImages);
    // A rebuild fills the strings itself; syncing again would drop its choice.
    if (FItemsEx.empty())
        ReloadRootItems();
    else
        SyncItems();
}

void TqxCustomShellComboBox::DestroyWnd() {
    ClearItems();
    TqxSkinCustomComboBox::DestroyWnd();
}

void TqxCustomShellComboBox::Loaded() {
    TqxSkinCustomComboBox::Loaded();
    ReloadRootItems();
}

void TqxCustomShellComboBox::Click() {
    const TRaised updating(FUpdating);
    TqxShellFolder* item = ItemIndex() >= 0 ? ItemFolder(ItemIndex()) : nullptr;
    if (item) {
        PItemIDList copy = IdListCopy(item->AbsoluteID());
        struct TFree {
            PItemIDList List;
            ~TFree() { ShellFree(List); }
        } release{copy};
        ShowIdListPath(copy);
    }
    TqxSkinCustomComboBox::Click();
}

void TqxCustomShellComboBox::SetUseShellImages(bool AValue) {
    FUseShellImages = AValue;
    if (!AValue) {
        FImageWidth = FImageHeight = 16;
    } else {
        FImageWidth = FImages->Width();
        FImageHeight = FImages->Height();
    }
}

void TqxCustomShellComboBox::DrawEntry(TCanvas* Cnvs, Integer Index, const TRect& ATxtRect, Integer AIndent) {
    if (Index < 0 || Index >= ItemCount()) return;
    Integer x = ATxtRect.Left;
    if (FImages) {
        win::ImageList_DrawEx(FImages->Handle(), FItemsEx[size_t(Index)].ImageIndex, Cnvs->Handle(),
                              x + AIndent, ATxtRect.Top + (ATxtRect.Height() - FImageHeight) / 2, FImageWidth,
                              FImageHeight, win::CLR_NONE, win::CLR_NONE, ILD_NORMAL);
        x += AIndent + FImageWidth + 4;
    }
    Integer y = ATxtRect.Top + ATxtRect.Height() / 2 - Cnvs->TextHeight(u"Wg") / 2;
    if (Cnvs->Font()->Height() % 2 != 0) --y;
    Cnvs->TextOut(x, y, Items()->Strings(Index));
}

void TqxCustomShellComboBox::DrawListItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                          TOwnerDrawState) {
    const Integer indent = Index >= 0 && Index < ItemCount() ? FItemsEx[size_t(Index)].Indent * FImageWidth / 2 : 0;
    DrawEntry(Cnvs, Index, TxtRect, indent);
}

void TqxCustomShellComboBox::DrawEditItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                          TOwnerDrawState) {
    DrawEntry(Cnvs, Index, TxtRect, 0);
}
