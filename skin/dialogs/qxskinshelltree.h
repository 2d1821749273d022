// The shell tree view: a skinned tree whose nodes are namespace items below
// a root, read one level at a time when a node expands, with the shell's
// pictures; it shows its selected folder's path and keeps a linked path
// combo on the same folder.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "skin/controls/qxskintreeview.h"
#include "skin/dialogs/qxshellcontextmenu.h"
#include "skin/dialogs/qxshellitems.h"

class TqxCustomShellComboBox;

// Raised for every item about to be added; CanAdd false leaves it out.
using TAddFolderEvent = std::function<void(TObject* Sender, TqxShellFolder* AFolder, bool& CanAdd)>;

// As a command target it runs "open" from the item's folder.
class TqxCustomShellTreeView : public TqxSkinCustomTreeView, public IShellCommandTarget {
public:
    explicit TqxCustomShellTreeView(TComponent* AOwner);
    ~TqxCustomShellTreeView() override;

    const TRoot& Root() const { return FRoot; }
    // A text naming nothing raises "Error setting path: "%s"" and keeps the old root.
    void SetRoot(const TRoot& AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes AValue);
    // The selected item's parsing name; setting it selects that folder
    // (again whenever the window is made); EInvalidPath "Error setting
    // path: "%s"" for what the desktop cannot parse.
    String Path();
    void SetPath(const String& AValue);
    TqxShellFolder* SelectedFolder() const;
    // Selects the node of the absolute list AID, expanding the way there.
    void SelectIdList(PCItemIDList AID);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool AValue) { FAutoContext = AValue; }
    // Runs the menu verb AVerb on ANode's item.
    bool RunVerb(TTreeNode* ANode, const AnsiString& AVerb);
    // Watches the selected folder and reads its node again when a name in it
    // changes; the watcher follows the selection.
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool AValue);
    // The selected folder's watcher while AutoRefresh is on; nil otherwise.
    TqxShellChangeNotifier* FolderWatcher() const { return FNotifier; }
    // Reads Node's subtree again, keeping the folders that were open and still
    // exist open, the selection on the same folder and the same top node.
    void Refresh(TTreeNode* Node);
    // Selects the Computer folder and opens it one level.
    void ExpandMyComputer();
    TqxCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TqxCustomShellComboBox* AValue);

    TAddFolderEvent OnAddFolder;
    // The selected folder changed by the user or a partner: its absolute list.
    std::function<void(PCItemIDList)> OnFolderChanged;

    virtual void ClearNodes();
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;

protected:
    bool CanExpand(TTreeNode* Node) override;
    void Change(TTreeNode* Node) override;
    void Delete(TTreeNode* Node) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    // A finished name edit renames the item and reads its parent again.
    void Edit(TTreeNode* Node, std::optional<String> AText) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void ExecuteCommand(const String& Verb, bool& Handled) override;
    void CommandCompleted(const String& Verb, bool Succeeded) override;

private:
    TqxOpenDirectory FOpenDirectory;
    TqxHeldRefresh FWatchedRefresh;
    static TqxShellFolder* ItemOf(const TTreeNode* ANode) {
        return static_cast<TqxShellFolder*>(ANode->Data());
    }
    void ReloadRoot();
    void ApplyRoot();
    void FillNode(TTreeNode* ANode);
    void PrepareChildNode(TTreeNode* AChild, PCItemIDList AID, TTreeNode* AParentNode);
    void SetNodeImages(TTreeNode* ANode);
    // The first node from AStart on, within AStart's subtree, whose item is AID.
    TTreeNode* FindNodeByIdList(PCItemIDList AID, TTreeNode* AStart);
    void WatchSelectedFolder();
    // Refresh, with the folders under ARenamedFrom looked for under ARenamedTo.
    void RefreshNode(TTreeNode* Node, PCItemIDList ARenamedFrom, PCItemIDList ARenamedTo);

    TqxItemMenuHost MenuHost(TTreeNode* ANode);

    bool FAutoContext = true;
    bool FAutoRefresh = false;
    TqxShellChangeNotifier* FNotifier = nullptr;
    std::unique_ptr<TqxSkinPopupMenu> FItemMenu;
    String FPath;
    TRoot FRoot = u"rfDesktop";
    TRoot FOldRoot;
    TqxShellFolder* FRootFolder = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FLoadingRoot = false;
    bool FUpdating = false;
    TqxCustomShellComboBox* FComboBox = nullptr;
};

class TqxSkinDirTreeView : public TqxCustomShellTreeView {
public:
    using TqxCustomShellTreeView::TqxCustomShellTreeView;
};
