// The shell tree view: a skinned tree whose nodes are namespace items below
// a root, read one level at a time when a node expands, with the shell's
// pictures; it shows its selected folder's path and keeps a linked path
// combo on the same folder.
#pragma once

#include <functional>

#include "skin/controls/qxskintreeview.h"
#include "skin/dialogs/qxshellitems.h"

class TqxCustomShellComboBox;

// Raised for every item about to be added; CanAdd false leaves it out.
using TAddFolderEvent = std::function<void(TObject* Sender, TqxShellFolder* AFolder, bool& CanAdd)>;

class TqxCustomShellTreeView : public TqxSkinCustomTreeView {
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
    // Selects the computer's drives folder and opens it one level.
    void ExpandMyComputer();
    // Reads ANode's subfolders again, leaving it open as it was.
    void Refresh(TTreeNode* ANode);
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
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    static TqxShellFolder* ItemOf(const TTreeNode* ANode) { return static_cast<TqxShellFolder*>(ANode->Data()); }
    void ReloadRoot();
    void ApplyRoot();
    void FillNode(TTreeNode* ANode);
    void PrepareChildNode(TTreeNode* AChild, PCItemIDList AID, TTreeNode* AParentNode);
    void SetNodeImages(TTreeNode* ANode);

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
