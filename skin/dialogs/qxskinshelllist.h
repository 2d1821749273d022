// The shell list view: a skinned owner-data list of one namespace folder
// (the current folder): its subfolders and files with the shell's names
// and pictures, filtered by object types and a name mask, folders first,
// sortable by column in report view. Double-click and Enter open a folder,
// Backspace goes up, F5 reads the folder again; a linked tree view follows
// it and it follows the tree.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "skin/controls/qxskinlistview.h"
#include "skin/dialogs/qxshellcontextmenu.h"
#include "skin/dialogs/qxskinshellcombo.h"
#include "skin/dialogs/qxskinshelltree.h"

VELQUA_DECLARE_EXCEPTION(EMaskException, Exception);

// Whether AName matches the wildcard pattern APattern ("*", "?", "[a-f]",
// "[!a]"; letters without regard to case; a name without a dot also as if
// it ended in one); EMaskException "'%s' is an invalid mask at (%d)" for a
// pattern that is not well formed. ASteps, when given, gets the number of
// name characters compared: at most 2 (name length + 3) (pattern length + 1).
bool MatchesMaskPart(const String& AName, const String& APattern, size_t* ASteps = nullptr);

// As a command target it runs "open" from the item's folder.
class TqxCustomShellListView : public TqxSkinCustomListView, public IShellCommandTarget {
public:
    explicit TqxCustomShellListView(TComponent* AOwner);
    ~TqxCustomShellListView() override;

    TqxShellFolder* RootFolder() const { return FRootFolder; }
    const TRoot& Root() const { return FRoot; }
    // Resolves the text and shows that folder; a text naming nothing raises
    // "Error setting path: "%s"" and keeps the old root.
    void SetRoot(const TRoot& AValue);
    // The current folder's parsing name; setting it shows that folder
    // (EInvalidPath "Error setting path: "%s"" for what cannot be parsed).
    String Path();
    void SetPath(const String& AValue);
    // Parts separated by ";" or "|"; a part lets a file pass when it holds a
    // "." and the name matches it, or when it is "*". Folders always pass.
    const String& Mask() const { return FMask; }
    void SetMask(const String& AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes AValue);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    // A right click shows the item's menu.
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool AValue) { FAutoContext = AValue; }
    // Runs the menu verb AVerb ("open", "rename", "delete", "properties") on row AIndex.
    bool RunVerb(Integer AIndex, const AnsiString& AVerb);
    // Watches the current folder and reads it again when a name in it
    // changes; the watcher moves with the current folder.
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool AValue);
    // The current folder's watcher while AutoRefresh is on; nil otherwise.
    TqxShellChangeNotifier* FolderWatcher() const { return FNotifier; }
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool AValue) { FAutoNavigate = AValue; }
    TqxCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TqxCustomShellTreeView* AValue);
    // A path combo that shows the current folder and moves the list to the
    // entry the user chooses (with or without a tree between them).
    TqxCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TqxCustomShellComboBox* AValue);

    // Row i's item; nil without rows.
    TqxShellFolder* FolderAt(Integer AIndex) const;
    Integer FolderCount() const { return static_cast<Integer>(FFolders.size()); }
    // The selected row's item; nil without a selection.
    TqxShellFolder* SelectedFolder();
    // The selected row's full name when it is no folder, else empty.
    String GetSelectedFile();
    // The selected rows' full names in row order, folders left out.
    std::vector<String> GetSelectedFiles();
    // Reads the current folder's items again.
    void RebuildItems();
    // Shows the folder of the absolute list AID (a partner moved).
    void FollowIdList(PCItemIDList AID);
    // Opens row AIndex when it is a folder; a file is left to the owner.
    void OpenRow(Integer AIndex);
    void GoUp();
    // Reads the current folder again; the same row number stays selected
    // while the folder still has that many rows.
    void Refresh();
    void BuildColumns();
    Integer SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDirection; }

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;

    virtual void FillItems();
    void SetViewStyle(TViewStyle AValue) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;

protected:
    bool OwnerDataFetch(TListItem* Item, TItemRequest Request) override;
    Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                          void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap) override;
    void ColClick(TListColumn* Column) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    // A finished name edit renames the item; a refusal leaves the name.
    void Edit(Integer AIndex, std::optional<String> AText) override;
    void DblClick() override;
    void KeyDown(Word& AKey, TShiftState AShift) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

private:
    TqxOpenDirectory FOpenDirectory;
    TqxHeldRefresh FWatchedRefresh;
    void ClearFolders();
    void LoadRoot();
    bool PassesMask(TqxShellFolder* AItem) const;
    // Moves to AItem (owned from now on) and tells the partners.
    void BrowseTo(TqxShellFolder* AItem);
    void SortFolders(bool AColumnMode);
    void WatchCurrentFolder();

    Integer FOldSortColumn = -1;
    Integer FSortColumn = -1;
    bool FSortDirection = false;
    bool FRootLoaded = false;
    TRoot FOldRoot;
    TRoot FRoot = u"rfDesktop";
    TqxShellFolder* FRootFolder = nullptr;
    TqxItemMenuHost MenuHost(Integer AIndex);

    bool FAutoContext = true;
    std::unique_ptr<TqxSkinPopupMenu> FItemMenu;
    bool FAutoNavigate = true;
    bool FAutoRefresh = false;
    TqxShellChangeNotifier* FNotifier = nullptr;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
    std::vector<std::unique_ptr<TqxShellFolder>> FFolders;
    TqxCustomShellTreeView* FTreeView = nullptr;
    TqxCustomShellComboBox* FComboBox = nullptr;
    String FMask = u"*.*|*.*";
};

class TqxSkinFileListView : public TqxCustomShellListView {
public:
    using TqxCustomShellListView::TqxCustomShellListView;
};
