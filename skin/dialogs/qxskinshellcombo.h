// The shell path combo: a skinned drop-down list showing where a view
// stands in the shell namespace: the root, the root's children (with the
// volumes under Computer for the desktop root) and the chain of folders
// from the root down to the current folder, each with its shell picture and
// indented by its depth.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "skin/controls/qxskincombobox.h"
#include "skin/dialogs/qxshellitems.h"

class TqxCustomShellListView;

// One entry: its text, its item (owned by the combo), depth and picture.
struct TqxItemEx {
    String Caption;
    TqxShellFolder* Data = nullptr;
    Integer Indent = 0;
    Integer ImageIndex = -1;
    Integer SelectedImageIndex = 0;
};

class TqxCustomShellComboBox : public TqxSkinCustomComboBox {
public:
    explicit TqxCustomShellComboBox(TComponent* AOwner);
    ~TqxCustomShellComboBox() override;

    const TRoot& Root() const { return FRoot; }
    // A text naming nothing raises "Error setting path: "%s"" and Root
    // reads the previous text again.
    void SetRoot(const TRoot& AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes AValue);
    // The chosen entry's parsing name; setting it moves only the combo
    // (EInvalidPath "Error setting path: "%s"" for what the desktop cannot parse).
    String Path();
    void SetPath(const String& AValue);
    // A view moved: show the path to the absolute list AID and choose it.
    void FollowIdList(PCItemIDList AID);
    // Raised with the chosen entry's absolute list when the user chooses
    // one: the linked views follow it.
    std::function<void(PCItemIDList)> OnFolderChosen;
    // The list view linked to this combo (set by the list's ShellComboBox);
    // it follows the entry the user chooses.
    TqxCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TqxCustomShellListView* AValue) { FListView = AValue; }

    Integer ItemCount() const { return static_cast<Integer>(FItemsEx.size()); }
    const TqxItemEx& ItemsEx(Integer AIndex) const { return FItemsEx[static_cast<size_t>(AIndex)]; }
    // The entry's item; an index past the last is taken as the last.
    TqxShellFolder* ItemFolder(Integer AIndex) const;

    void Change() override;
    void Click() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;

protected:
    virtual void AddRootChildren();
    void ReloadRootItems();
    void InsertChildren(Integer AIndex, TqxShellFolder* AFolder);
    void ShowIdListPath(PCItemIDList AID);
    void RootChanged();
    void SetUseShellImages(bool AValue);
    Integer ItemImage(TqxShellFolder* AFolder) const;
    void SyncItems();
    void ClearItems();
    TqxShellFolder* CreateChildItem(TqxShellFolder* AFolder, PCItemIDList AID) const;
    Integer IndexOfIdList(PCItemIDList AID) const;

private:
    void InsertPathItem(Integer AIndex, const String& ACaption, TqxShellFolder* AItem);
    void DrawListItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                      TOwnerDrawState State);
    void DrawEditItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                      TOwnerDrawState State);
    void DrawEntry(TCanvas* Cnvs, Integer Index, const TRect& ATxtRect, Integer AIndent);

    std::vector<TqxItemEx> FItemsEx;
    // Above 0 while the entries are rebuilt: Change then moves nothing.
    Integer FUpdateCount = 0;
    TCustomImageList* FImages = nullptr;
    Integer FImageHeight = 16;
    Integer FImageWidth = 16;
    TRoot FOldRoot;
    TRoot FRoot = u"rfDesktop";
    TqxShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
    TqxCustomShellListView* FListView = nullptr;
};

class TqxSkinShellComboBox : public TqxCustomShellComboBox {
public:
    using TqxCustomShellComboBox::TqxCustomShellComboBox;
};
