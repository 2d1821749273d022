// The skinned select-directory dialog: a component whose Execute builds a
// window in code for one modal run around a shell folder tree, with OK and
// Cancel and, when asked, a tool bar with a path edit and a new-folder
// button; the folder chosen comes back in Directory.
#pragma once

#include "platform/toolkit/forms.h"
#include "skin/dialogs/qxskinshelltree.h"

class TqxDravenfold;
class TqxPngImageList;
class TqxSkinButton;
class TqxSkinEdit;
class TqxSkinPanel;
class TqxSkinScrollBar;
class TqxSkinSpeedButton;
class TqxSkinToolBar;

class TqxSelDirDlgForm : public TForm {
public:
    TqxSelDirDlgForm(TComponent* AOwner, TqxSkinData* ACtrlSkinData, bool AShowToolBar, bool AToolButtonsTransparent,
                     TCustomImageList* AToolBarImageList, Integer AToolButtonImageIndex, bool ATreeShowLines,
                     TCustomImageList* ATreeButtonImageList, Integer ATreeButtonExpandImageIndex,
                     Integer ATreeButtonNoExpandImageIndex);

    void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
    void NewFolderToolButtonClick(TObject* Sender);
    // Enter with an existing folder typed moves the tree there.
    void DirEditKeyPress(TObject* Sender, char16_t& Key);

    TqxSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TqxPngImageList* PngImgList = nullptr;
    TqxDravenfold* QXD = nullptr;
    TqxSkinPanel* DirTreeViewPanel = nullptr;
    TqxSkinPanel* BottomPanel = nullptr;
    TqxSkinDirTreeView* DirTreeView = nullptr;
    TqxSkinScrollBar* VScrollBar = nullptr;
    TqxSkinScrollBar* HScrollBar = nullptr;
    TqxSkinButton* OkButton = nullptr;
    TqxSkinButton* CancelButton = nullptr;
    TqxSkinToolBar* ToolPanel = nullptr;
    TqxSkinSpeedButton* NewFolderToolButton = nullptr;
    TqxSkinEdit* DirEdit = nullptr;
};

class TqxSkinSelectDirectoryDialog : public TComponent {
public:
    explicit TqxSkinSelectDirectoryDialog(TComponent* AOwner);
    ~TqxSkinSelectDirectoryDialog() override;

    // True when the window was closed with OK.
    bool Execute();

    TCustomImageList* TreeButtonImageList() const { return FTreeButtonImageList; }
    void SetTreeButtonImageList(TCustomImageList* AValue);
    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* AValue);
    TqxSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TqxSkinData* AValue);
    TqxSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(TqxSkinData* AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TqxSelDirDlgForm* DlgFrm() const { return FDlgFrm; }

    bool TreeShowLines = true;
    Integer TreeButtonExpandImageIndex = 0;
    Integer TreeButtonNoExpandImageIndex = 1;
    Integer ToolButtonImageIndex = 0;
    bool ToolButtonsTransparent = false;
    Integer DialogWidth = 0;
    Integer DialogHeight = 0;
    Integer DialogMinWidth = 0;
    Integer DialogMinHeight = 0;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    String Title = u"Select folder";
    String Directory;
    bool ShowToolBar = false;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    // Raised after an OK run has set Directory.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TCustomImageList* FTreeButtonImageList = nullptr;
    TCustomImageList* FToolBarImageList = nullptr;
    TqxSkinData* FSkinData = nullptr;
    TqxSkinData* FCtrlSkinData = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    TqxSelDirDlgForm* FDlgFrm = nullptr;
};
