// The skinned open and save dialog: a component whose Execute builds a
// small file browser in code for one modal run (tool bar with the path
// combo, back, up, new-folder and view buttons, the shell list view of the
// folder shown, the name field, the filter combo and the Open or Save and
// Cancel buttons), copies its properties in and the chosen file out.
#pragma once

#include <vector>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "skin/dialogs/qxfilectrl.h"
#include "skin/dialogs/qxskinshellcombo.h"
#include "skin/dialogs/qxskinshelllist.h"

class TqxDravenfold;
class TqxPngImageList;
class TqxSkinBevel;
class TqxSkinButton;
class TqxSkinEdit;
class TqxSkinMenuSpeedButton;
class TqxSkinPanel;
class TqxSkinPopupMenu;
class TqxSkinScrollBar;
class TqxSkinSpeedButton;
class TqxSkinStdLabel;
class TqxSkinToolBar;

// The text under AKey from ASkinData's table (empty for a missing key), or
// the library's English text without a table.
String DialogText(TqxSkinData* ASkinData, std::u16string_view AKey);

// A dialog window's frame component as every dialog sets it: no caption
// buttons (not even the skin's close button), the frame's and the menus'
// skins and the translucency.
void SetUpDialogFrame(TqxDravenfold* AQXD, TqxSkinData* ASkinData, TqxSkinData* AMenusSkinData,
                      bool AAlphaBlend, bool AAlphaBlendAnimation, Byte AAlphaBlendValue);

// The extension (dot included) that names in AMask's first pattern carry;
// empty when the mask holds ".*".
String FilterExtension(const String& AMask);
// Whether the name part (after the last "/") of AFileName holds a dot.
bool HasFileExtension(const String& AFileName);

class TqxOpenDlgForm : public TForm {
public:
    TqxOpenDlgForm(TComponent* AOwner, bool ASaveMode, TqxSkinData* ACtrlSkinData,
                   bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);
    ~TqxOpenDlgForm() override;

    // Records the folder shown as a history entry.
    void InitHistory();
    // The tool bar's buttons, which take the controls' skin.
    virtual std::vector<TqxSkinSpeedButton*> ToolButtons();

    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);
    void IconItemClick(TObject* Sender);
    void SmallIconItemClick(TObject* Sender);
    void ListItemClick(TObject* Sender);
    void ReportItemClick(TObject* Sender);
    virtual void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void FLVPathChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void FLVKeyPress(TObject* Sender, char16_t& Key);
    void EditKeyPress(TObject* Sender, char16_t& Key);
    void FCBChange(TObject* Sender);
    void OpenButtonClick(TObject* Sender);

    bool SaveMode = false;
    std::vector<PItemIDList> FolderHistory;
    bool StopAddToHistory = false;
    TqxSkinData* CtrlSD = nullptr;
    Integer NewFolderCount = 0;
    TqxPngImageList* PngImgList = nullptr;
    String DefaultExt;
    bool OverwritePromt = false;
    String FileName;
    TqxDravenfold* QXD = nullptr;
    TqxSkinPanel* FileListViewPanel = nullptr;
    TqxSkinPanel* BottomPanel = nullptr;
    TqxSkinScrollBar* FLVHScrollBar = nullptr;
    TqxSkinScrollBar* FLVVScrollBar = nullptr;
    TqxSkinFileListView* FileListView = nullptr;
    TqxSkinEdit* FileNameEdit = nullptr;
    TqxSkinFilterComboBox* FilterComboBox = nullptr;
    TqxSkinShellComboBox* ShellBox = nullptr;
    TqxSkinButton* OpenButton = nullptr;
    TqxSkinButton* CancelButton = nullptr;
    TqxSkinStdLabel* Drivelabel = nullptr;
    TqxSkinStdLabel* OpenFileLabel = nullptr;
    TqxSkinStdLabel* FileTypeLabel = nullptr;
    TqxSkinToolBar* ToolPanel = nullptr;
    TqxSkinSpeedButton* NewFolderToolButton = nullptr;
    TqxSkinSpeedButton* UpToolButton = nullptr;
    TqxSkinSpeedButton* BackToolButton = nullptr;
    TqxSkinMenuSpeedButton* StyleToolButton = nullptr;
    TqxSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem* IconMenuItem = nullptr;
    TMenuItem* SmallIconMenuItem = nullptr;
    TMenuItem* ReportMenuItem = nullptr;
    TMenuItem* ListMenuItem = nullptr;
    TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;

protected:
    // The folder shown, with its trailing "/".
    String CurrentFolder();
    // A typed name with a "/" is a path: from "/" absolute, else from the
    // folder shown. The full name it stands for, a bare name in the folder shown.
    static bool IsTypedPath(const String& AName);
    String TypedTarget(const String& AName);

private:
    void AddHistoryEntry();
    // The overwrite question; true for OK.
    bool ConfirmOverwrite();
    // The extension a typed name without one gets: "." + DefaultExt, else
    // the filter's.
    String DefaultExtension();
    void SetViewStyle(TViewStyle AStyle, TMenuItem* AItem);
};

// What the open dialogs share: the properties and the run of Execute,
// which builds the window, copies the properties in, shows it modally,
// copies the results out and frees it also on an exception. A descendant
// picks the window and adds its own steps through the protected hooks.
class TqxSkinCustomOpenDialog : public TComponent {
public:
    ~TqxSkinCustomOpenDialog() override;

    // True when the window was closed with OK.
    bool Execute();

    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* AValue);
    TqxSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TqxSkinData* AValue);
    TqxSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(TqxSkinData* AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    const String& FileName() const { return FFileName; }
    TStrings* Files() const { return FFiles.get(); }

    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    Integer DialogWidth = 0;
    Integer DialogHeight = 0;
    Integer DialogMinWidth = 0;
    Integer DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    Byte CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    String LVHeaderSkinDataName = u"header";
    String Title = u"Open file";
    String InitialDir;
    String Filter = u"All files|*.*";
    Integer FilterIndex = 1;
    TViewStyle ListViewStyle = vsList;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    explicit TqxSkinCustomOpenDialog(TComponent* AOwner);

    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The save dialogs' descendants turn it on.
    void SetSaveMode(bool AValue) { FSaveMode = AValue; }
    bool SaveMode() const { return FSaveMode; }

    // The window of one run.
    virtual TqxOpenDlgForm* CreateDlgForm();
    // Right after the window is built: the descendant's own fields into it.
    virtual void FormCreated(TqxOpenDlgForm*) {}
    // The client width a DialogWidth of 0 or less opens with.
    virtual Integer DefaultDialogWidth() const { return 450; }
    // Once the window is skinned, sized and its list filled, before it shows.
    virtual void FormReady(TqxOpenDlgForm*) {}
    // After the modal run, whatever its result.
    virtual void FormClosed(TqxOpenDlgForm*) {}
    // After OK: the last say on the name handed back (Files already set).
    virtual void CompleteFileName(String&) {}

    // Raised after an OK run has set FileName and Files.
    TNotifyEvent FOnChange;
    String FFileName;
    TqxOpenDlgForm* FDlgFrm = nullptr;

private:
    String OpeningFolder() const;
    void SetUpForm(TqxOpenDlgForm* AForm);

    TCustomImageList* FToolBarImageList = nullptr;
    TqxSkinData* FSkinData = nullptr;
    TqxSkinData* FCtrlSkinData = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TStringList> FFiles;
    bool FSaveMode = false;
};

class TqxSkinOpenDialog : public TqxSkinCustomOpenDialog {
public:
    explicit TqxSkinOpenDialog(TComponent* AOwner) : TqxSkinCustomOpenDialog(AOwner) {}

    // While Execute runs: the list's selected entry when it is a file.
    String GetSelectedFile();
    // Also into a running window's name field.
    void SetFileName(const String& AValue);
    TqxOpenDlgForm* DlgFrm() const { return FDlgFrm; }

    String DefaultExt;
    TNotifyEvent OnFolderChange;

protected:
    void FormCreated(TqxOpenDlgForm* AForm) override;
    void CompleteFileName(String& AFileName) override;
};
