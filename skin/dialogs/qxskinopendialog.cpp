#include "skin/dialogs/qxskinopendialog.h"

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/toolkit/pngimage.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/controls/qxskinsplitters.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/core/qxpngimagelist.h"
#include "skin/core/qxresstrs.h"
#include "skin/dialogs/qxskinmessage.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinmenus.h"

String DialogText(TqxSkinData* ASkinData, std::u16string_view AKey) {
    if (ASkinData && ASkinData->ResourceStrData()) return ASkinData->ResourceStrData()->GetResStr(AKey);
    return GetDefaultResStr(AKey);
}

void SetUpDialogFrame(TqxDravenfold* AQXD, TqxSkinData* ASkinData, TqxSkinData* AMenusSkinData,
                      bool AAlphaBlend, bool AAlphaBlendAnimation, Byte AAlphaBlendValue) {
    // No caption buttons: the skin's close button would stay without this.
    AQXD->SetHideCaptionButtons(true);
    AQXD->SetBorderIcons({});
    AQXD->SetSkinData(ASkinData);
    AQXD->SetMenusSkinData(AMenusSkinData);
    AQXD->SetAlphaBlend(AAlphaBlend);
    AQXD->SetAlphaBlendAnimation(AAlphaBlendAnimation);
    AQXD->SetAlphaBlendValue(AAlphaBlendValue);
}

String FilterExtension(const String& AMask) {
    if (AMask.find(u".*") != String::npos) return {};
    return ExtractFileExt(AMask.substr(0, AMask.find(u';')));
}

bool HasFileExtension(const String& AFileName) {
    return ExtractFileName(AFileName).find(u'.') != String::npos;
}

namespace {

const char16_t* const ToolPictures[] = {u"QX_BACK_PNG", u"QX_UP_PNG", u"QX_NEWFOLDER_PNG", u"QX_LVSTYLE_PNG"};

// An empty gap at the given side of a tool bar.
void AddSpacer(TqxSkinToolBar* ABar, TAlign AAlign, Integer ALeft) {
    auto* bevel = new TqxSkinBevel(ABar->Owner());
    bevel->SetShape(bsSpacer);
    bevel->SetParent(ABar);
    bevel->SetBounds(ALeft, 0, 10, ABar->Height());
    bevel->SetAlign(AAlign);
}

}  // namespace

TqxOpenDlgForm::TqxOpenDlgForm(TComponent* AOwner, bool ASaveMode, TqxSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    : TForm(AOwner), SaveMode(ASaveMode) {
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 470, 330);

    PngImgList = new TqxPngImageList(this);
    for (const char16_t* name : ToolPictures) {
        TqxPngImage png;
        png.LoadFromResourceName(name);
        PngImgList->PngImages()->Add()->SetPngImage(&png);
    }

    QXD = new TqxDravenfold(this);
    CtrlSD = ACtrlSkinData;

    ToolPanel = new TqxSkinToolBar(this);
    ToolPanel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    ToolPanel->SetParent(this);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName(u"toolpanel");
    ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : PngImgList);

    AddSpacer(ToolPanel, alLeft, 0);
    Drivelabel = new TqxSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetLeft(20);
    Drivelabel->SetAlign(alLeft);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetCaption(DialogText(CtrlSD, u"FLV_LOOKIN"));

    // Right-aligned: the tool bar stacks such buttons from the right in the
    // order they are made, so back, up and new folder read left to right.
    auto toolButton = [&](Integer AImage, const char16_t* AHintKey,
                          void (TqxOpenDlgForm::*AClick)(TObject*)) {
        auto* button = new TqxSkinSpeedButton(this);
        button->SetParent(ToolPanel);
        button->SetDefaultHeight(25);
        button->SetDefaultWidth(27);
        button->SetLeft(330 + 30 * AImage);
        button->SetAlign(alRight);
        button->SetSkinDataName(u"toolbutton");
        button->SetNumGlyphs(1);
        button->SetImageIndex(AImage);
        button->SetHint(DialogText(CtrlSD, AHintKey));
        button->SetShowHint(true);
        button->SetFlat(AToolButtonsTransparent);
        button->OnClick = [this, AClick](TObject* ASender) { (this->*AClick)(ASender); };
        return button;
    };
    NewFolderToolButton = toolButton(2, u"MSG_BTN_NEWFOLDER_HINT", &TqxOpenDlgForm::NewFolderToolButtonClick);
    UpToolButton = toolButton(1, u"MSG_BTN_UP_HINT", &TqxOpenDlgForm::UpToolButtonClick);
    BackToolButton = toolButton(0, u"MSG_BTN_BACK_HINT", &TqxOpenDlgForm::BackToolButtonClick);
    AddSpacer(ToolPanel, alRight, 420);

    StylePopupMenu = new TqxSkinPopupMenu(this);
    auto viewItem = [&](const char16_t* AKey, void (TqxOpenDlgForm::*AClick)(TObject*)) {
        auto* item = new TMenuItem(this);
        item->SetRadioItem(true);
        item->SetCaption(DialogText(CtrlSD, AKey));
        item->OnClick = [this, AClick](TObject* ASender) { (this->*AClick)(ASender); };
        StylePopupMenu->Items()->Add(item);
        return item;
    };
    IconMenuItem = viewItem(u"MSG_LV_ICON", &TqxOpenDlgForm::IconItemClick);
    SmallIconMenuItem = viewItem(u"MSG_LV_SMALLICON", &TqxOpenDlgForm::SmallIconItemClick);
    ListMenuItem = viewItem(u"MSG_LV_LIST", &TqxOpenDlgForm::ListItemClick);
    ReportMenuItem = viewItem(u"MSG_LV_DETAILS", &TqxOpenDlgForm::ReportItemClick);

    StyleToolButton = new TqxSkinMenuSpeedButton(this);
    StyleToolButton->SetParent(ToolPanel);
    StyleToolButton->SetLeft(450);
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetSkinDataName(u"toolmenubutton");
    StyleToolButton->SetAlign(alRight);
    StyleToolButton->SetNumGlyphs(1);
    StyleToolButton->SetImageIndex(3);
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
    StyleToolButton->SetHint(DialogText(CtrlSD, u"MSG_BTN_VIEWMENU_HINT"));
    StyleToolButton->SetShowHint(true);
    StyleToolButton->SetFlat(AToolButtonsTransparent);

    ShellBox = new TqxSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetAlign(alClient);
    ShellBox->SetDropDownCount(10);

    BottomPanel = new TqxSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(80);

    FileListViewPanel = new TqxSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetAlign(alClient);
    FileListViewPanel->SetBorderStyle(TqxSkinBorderStyle::bvFrame);

    FLVHScrollBar = new TqxSkinScrollBar(this);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName(u"hscrollbar");
    FLVVScrollBar = new TqxSkinScrollBar(this);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName(u"vscrollbar");

    FileListView = new TqxSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetViewStyle(vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetAlign(alClient);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetHideSelection(false);
    FileListView->OnChange = [this](TObject* S, TListItem* I, TItemChange C) { FLVChange(S, I, C); };
    FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
    FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
    FileListView->OnKeyPress = [this](TObject* S, char16_t& K) { FLVKeyPress(S, K); };
    // The combo shows the list's folder; a folder chosen there is shown.
    FileListView->SetShellComboBox(ShellBox);

    const Integer fieldWidth = ClientWidth() - 70 - 90;
    FileNameEdit = new TqxSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, fieldWidth, FileNameEdit->Height());
    FileNameEdit->SetAnchors({akLeft, akTop, akRight});
    FileNameEdit->OnKeyPress = [this](TObject* S, char16_t& K) { EditKeyPress(S, K); };
    FilterComboBox = new TqxSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetBounds(70, 45, fieldWidth, 21);
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetAnchors({akLeft, akTop, akRight});
    FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };

    OpenButton = new TqxSkinButton(this);
    OpenButton->SetParent(BottomPanel);
    OpenButton->SetCaption(DialogText(CtrlSD, SaveMode ? u"MSG_BTN_SAVE" : u"MSG_BTN_OPEN"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(ClientWidth() - 80, 10, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetAnchors({akTop, akRight});
    OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };
    CancelButton = new TqxSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetCaption(DialogText(CtrlSD, u"MSG_BTN_CANCEL"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(ClientWidth() - 80, 45, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetAnchors({akTop, akRight});
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);

    OpenFileLabel = new TqxSkinStdLabel(this);
    OpenFileLabel->SetParent(BottomPanel);
    OpenFileLabel->SetBounds(10, 10, 50, 15);
    OpenFileLabel->SetAutoSize(true);
    OpenFileLabel->SetCaption(DialogText(CtrlSD, u"MSG_FILENAME"));
    FileTypeLabel = new TqxSkinStdLabel(this);
    FileTypeLabel->SetParent(BottomPanel);
    FileTypeLabel->SetBounds(10, 45, 50, 15);
    FileTypeLabel->SetAutoSize(true);
    FileTypeLabel->SetCaption(DialogText(CtrlSD, u"MSG_FILETYPE"));

    SetActiveControl(FileNameEdit);
}

TqxOpenDlgForm::~TqxOpenDlgForm() {
    for (PItemIDList entry : FolderHistory)
        win::SHFree(entry);
}

void TqxOpenDlgForm::AddHistoryEntry() {
    TqxShellFolder* root = FileListView->RootFolder();
    if (!root) return;
    if (!FolderHistory.empty() && IdListsEqual(FolderHistory.back(), root->AbsoluteID())) return;
    FolderHistory.push_back(IdListCopy(root->AbsoluteID()));
}

void TqxOpenDlgForm::InitHistory() {
    AddHistoryEntry();
}

std::vector<TqxSkinSpeedButton*> TqxOpenDlgForm::ToolButtons() {
    return {UpToolButton, BackToolButton, StyleToolButton, NewFolderToolButton};
}

void TqxOpenDlgForm::FLVPathChange(TObject*) {
    if (!StopAddToHistory) AddHistoryEntry();
    if (FileListView->Items()->Count() > 0) FileListView->SetItemFocused(FileListView->Items()->Item(0));
    if (OnFolderChange) OnFolderChange(this);
}

void TqxOpenDlgForm::BackToolButtonClick(TObject*) {
    if (FolderHistory.size() < 2) return;
    StopAddToHistory = true;
    const auto previous = FolderHistory.end() - 2;
    try {
        FileListView->FollowIdList(*previous);
    } catch (...) {
        StopAddToHistory = false;
        throw;
    }
    win::SHFree(*previous);
    FolderHistory.erase(previous);
    StopAddToHistory = false;
}

void TqxOpenDlgForm::UpToolButtonClick(TObject*) {
    FileListView->GoUp();
}

String TqxOpenDlgForm::CurrentFolder() {
    return IncludeTrailingPathDelimiter(FileListView->Path());
}

void TqxOpenDlgForm::NewFolderToolButtonClick(TObject*) {
    const String path = FileListView->Path();
    // Outside the file system (Computer, the desktop) nothing can be made.
    if (path.empty() || path[0] != u'/') return;
    ++NewFolderCount;
    String name = DialogText(CtrlSD, u"MSG_NEWFOLDER");
    if (NewFolderCount > 1) name.append(u"(").append(IntToStr(NewFolderCount)).append(u")");
    const String target = JoinPathName(path, name);
    if (IsExistingDirectory(target)) return;
    MkDir(target);
    FileListView->RebuildItems();
    Application->ProcessMessages();
    for (Integer i = 0; i < FileListView->FolderCount(); ++i)
        if (FileListView->FolderAt(i)->DisplayName() == name) {
            FileListView->Items()->Item(i)->EditCaption();
            break;
        }
}

void TqxOpenDlgForm::SetViewStyle(TViewStyle AStyle, TMenuItem* AItem) {
    FileListView->SetViewStyle(AStyle);
    for (TMenuItem* item : {IconMenuItem, SmallIconMenuItem, ListMenuItem, ReportMenuItem})
        item->SetChecked(item == AItem);
}

void TqxOpenDlgForm::IconItemClick(TObject*) {
    SetViewStyle(vsIcon, IconMenuItem);
}
void TqxOpenDlgForm::SmallIconItemClick(TObject*) {
    SetViewStyle(vsSmallIcon, SmallIconMenuItem);
}
void TqxOpenDlgForm::ListItemClick(TObject*) {
    SetViewStyle(vsList, ListMenuItem);
}

void TqxOpenDlgForm::ReportItemClick(TObject*) {
    SetViewStyle(vsReport, ReportMenuItem);
    if (FileListView->MultiSelect()) FileListView->BuildColumns();
}

void TqxOpenDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
    const String name = ExtractFileName(FileListView->GetSelectedFile());
    if (!name.empty()) FileNameEdit->SetText(name);
    if (OnFolderChange) OnFolderChange(this);
}

void TqxOpenDlgForm::FLVDBLClick(TObject*) {
    const String selected = FileListView->GetSelectedFile();
    if (selected.empty()) return;
    if (SaveMode && OverwritePromt && !ConfirmOverwrite()) return;
    FileName = selected;
    SetModalResult(mrOk);
}

void TqxOpenDlgForm::FLVKeyPress(TObject*, char16_t& Key) {
    if (Key == u'\r' && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TqxOpenDlgForm::EditKeyPress(TObject*, char16_t& Key) {
    if (Key != u'\r') return;
    const String name = FileNameEdit->Text();
    if (name.find(u'*') != String::npos)
        FileListView->SetMask(name);
    else if (IsTypedPath(name) && IsExistingDirectory(TypedTarget(name)))
        FileListView->SetPath(TypedTarget(name));
    else
        OpenButtonClick(this);
}

bool TqxOpenDlgForm::IsTypedPath(const String& AName) {
    return AName.find(u'/') != String::npos;
}

String TqxOpenDlgForm::TypedTarget(const String& AName) {
    if (!IsTypedPath(AName)) return CurrentFolder() + AName;
    // A relative path is taken from the folder shown, not from the
    // process's current folder, which the file controls move.
    return ExpandFileName(AName[0] == u'/' ? AName : CurrentFolder() + AName);
}

void TqxOpenDlgForm::FCBChange(TObject*) {
    const String mask = FilterComboBox->Mask();
    FileListView->SetMask(mask);
    if (!SaveMode) return;
    const String extension = FilterExtension(mask);
    const String name = FileNameEdit->Text();
    if (extension.empty() || name.empty()) return;
    FileNameEdit->SetText(HasFileExtension(name) ? ChangeFileExt(name, extension) : name + extension);
}

String TqxOpenDlgForm::DefaultExtension() {
    return DefaultExt.empty() ? FilterExtension(FilterComboBox->Mask()) : u"." + DefaultExt;
}

bool TqxOpenDlgForm::ConfirmOverwrite() {
    auto* message = new TqxSkinMessage(this);
    Integer answer = mrCancel;
    try {
        message->SetSkinData(QXD->SkinData());
        message->SetCtrlSkinData(CtrlSD);
        answer = message->MessageDlg(DialogText(CtrlSD, u"MSG_OVERWRITE"), mtWarning, {mbOK, mbCancel}, 0);
    } catch (...) {
        delete message;
        throw;
    }
    delete message;
    return answer == mrOk;
}

void TqxOpenDlgForm::OpenButtonClick(TObject*) {
    const String name = FileNameEdit->Text();
    // A typed path names its own place, whatever row is selected beside it.
    const String selected = IsTypedPath(name) ? String() : FileListView->GetSelectedFile();
    const String target = TypedTarget(name);
    const String candidate = HasFileExtension(target) ? target : target + DefaultExtension();
    if (!SaveMode && CheckFileExists && selected.empty() && !name.empty() && !FileExists(candidate)) return;
    if (name.empty()) return;
    // A path ending in "/" names a folder, and a file goes only where a folder is.
    if (ExtractFileName(target).empty() || !IsExistingDirectory(ExtractFilePath(target))) return;
    if (SaveMode) {
        if (name.find(u'*') != String::npos) return;
        // Asked about the name Execute will hand back: the filter's extension
        // comes before DefaultExt there.
        String returned = target;
        if (!HasFileExtension(returned)) returned += FilterExtension(FilterComboBox->Mask());
        if (!HasFileExtension(returned) && !DefaultExt.empty()) returned += u"." + DefaultExt;
        if (OverwritePromt && FileExists(returned) && !ConfirmOverwrite()) return;
        FileName = target;
        SetModalResult(mrOk);
        return;
    }
    if (CheckFileExists) {
        FileName = selected.empty() ? candidate : selected;
        if (FileExists(FileName))
            SetModalResult(mrOk);
        else
            FileName.clear();
        return;
    }
    FileName = selected.empty() ? candidate : selected;
    SetModalResult(mrOk);
}

TqxSkinCustomOpenDialog::TqxSkinCustomOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()), FFiles(std::make_unique<TStringList>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TqxSkinCustomOpenDialog::~TqxSkinCustomOpenDialog() = default;

void TqxSkinCustomOpenDialog::SetToolBarImageList(TCustomImageList* AValue) {
    SetReference(this, FToolBarImageList, AValue);
}
void TqxSkinCustomOpenDialog::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSkinData, AValue);
}
void TqxSkinCustomOpenDialog::SetCtrlSkinData(TqxSkinData* AValue) {
    SetReference(this, FCtrlSkinData, AValue);
}
void TqxSkinCustomOpenDialog::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
}

void TqxSkinCustomOpenDialog::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
}

String TqxSkinCustomOpenDialog::OpeningFolder() const {
    const String folder = ExtractFilePath(FFileName);
    if (!folder.empty() && IsExistingDirectory(folder)) return folder;
    if (!InitialDir.empty() && IsExistingDirectory(InitialDir)) return InitialDir;
    return ProgramFolder();
}

TqxOpenDlgForm* TqxSkinCustomOpenDialog::CreateDlgForm() {
    return new TqxOpenDlgForm(Application, FSaveMode, FCtrlSkinData, ToolButtonsTransparent,
                              FToolBarImageList);
}

void TqxSkinCustomOpenDialog::SetUpForm(TqxOpenDlgForm* form) {
    form->SetCaption(Title);
    TqxDravenfold* qxd = form->QXD;
    SetUpDialogFrame(qxd, FSkinData, FCtrlSkinData, AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
    qxd->SetMinWidth(DialogMinWidth);
    qxd->SetMinHeight(DialogMinHeight);
    for (TqxSkinCustomComboBox* combo : {static_cast<TqxSkinCustomComboBox*>(form->ShellBox),
                                         static_cast<TqxSkinCustomComboBox*>(form->FilterComboBox)}) {
        combo->SetAlphaBlend(CtrlAlphaBlend);
        combo->SetAlphaBlendValue(CtrlAlphaBlendValue);
        combo->SetAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    }
    qxd->SetMenusAlphaBlend(CtrlAlphaBlend);
    qxd->SetMenusAlphaBlendValue(CtrlAlphaBlendValue);
    qxd->SetMenusAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    form->OpenButton->SetDefaultFont(FDefaultFont.get());
    form->CancelButton->SetDefaultFont(FDefaultFont.get());
    form->ShellBox->SetDefaultFont(FDefaultFont.get());
    form->FileListView->SetDefaultFont(FDefaultFont.get());

    TMenuItem* const viewItems[] = {form->IconMenuItem, form->SmallIconMenuItem, form->ListMenuItem,
                                    form->ReportMenuItem};
    for (TMenuItem* item : viewItems)
        item->SetChecked(item == viewItems[ListViewStyle]);
    form->FileListView->SetViewStyle(ListViewStyle);
    form->FileListView->SetRoot(OpeningFolder());

    form->FileListView->SetHeaderSkinDataName(LVHeaderSkinDataName);
    form->FileListView->SetSkinData(FCtrlSkinData);
    if (FCtrlSkinData) {
        form->FileListView->SetDrawSkin(FCtrlSkinData->DlgListViewDrawSkin());
        form->FileListView->SetItemSkinDataName(FCtrlSkinData->DlgListViewItemSkinDataName());
    }
    form->FileListView->SetMultiSelect(MultiSelection);
    if (ShowHiddenFiles) {
        TShellObjectTypes types = form->FileListView->ObjectTypes();
        types.Include(otHidden);
        form->FileListView->SetObjectTypes(types);
    }

    // The filter's items exist once the combo has its window.
    form->FilterComboBox->HandleNeeded();
    form->FilterComboBox->SetFilter(Filter);
    form->FilterComboBox->SetItemIndex(FilterIndex - 1);
    form->FCBChange(form->FilterComboBox);

    form->FileListViewPanel->SetSkinData(FCtrlSkinData);
    form->BottomPanel->SetSkinData(FCtrlSkinData);
    form->ToolPanel->SetSkinData(FCtrlSkinData);
    const bool resizable =
        FCtrlSkinData && !FCtrlSkinData->Empty && FCtrlSkinData->GetControlIndex(u"resizetoolbutton") != -1;
    for (TqxSkinSpeedButton* button : form->ToolButtons()) {
        if (resizable) button->SetSkinDataName(u"resizetoolbutton");
        button->SetSkinData(FCtrlSkinData);
    }
    form->Drivelabel->SetSkinData(FCtrlSkinData);
    form->FLVHScrollBar->SetSkinData(FCtrlSkinData);
    form->FLVVScrollBar->SetSkinData(FCtrlSkinData);
    form->FileNameEdit->SetSkinData(FCtrlSkinData);
    form->FilterComboBox->SetSkinData(FCtrlSkinData);
    form->OpenButton->SetSkinData(FCtrlSkinData);
    form->CancelButton->SetSkinData(FCtrlSkinData);
    form->OpenFileLabel->SetSkinData(FCtrlSkinData);
    form->FileTypeLabel->SetSkinData(FCtrlSkinData);
    form->ShellBox->SetSkinData(FCtrlSkinData);
    form->ShellBox->SetSkinDataName(u"combobox");

    Integer width = DialogWidth > 0 ? DialogWidth : DefaultDialogWidth();
    Integer height = DialogHeight > 0 ? DialogHeight : 290;
    if (FSkinData && !FSkinData->Empty) {
        width = std::max(width, qxd->GetMinWidth());
        height = std::max(height, qxd->GetMinHeight());
    }
    form->SetClientWidth(width);
    form->SetClientHeight(height);

    if (form->FileListView->Items()->Count() > 0)
        form->FileListView->SetItemFocused(form->FileListView->Items()->Item(0));
    FormReady(form);
    form->FileNameEdit->SetText(ExtractFileName(FFileName));
    form->InitHistory();
}

bool TqxSkinCustomOpenDialog::Execute() {
    if (OnShow) OnShow(this);
    FDlgFrm = CreateDlgForm();
    TqxOpenDlgForm* form = FDlgFrm;
    bool ok = false;
    try {
        form->OverwritePromt = OverwritePromt;
        form->CheckFileExists = CheckFileExists;
        FormCreated(form);
        SetUpForm(form);

        ok = form->ShowModal() == mrOk;

        FilterIndex = form->FilterComboBox->ItemIndex() + 1;
        DialogWidth = form->ClientWidth();
        DialogHeight = form->ClientHeight();
        ListViewStyle = form->FileListView->ViewStyle();
        FormClosed(form);
        if (ok) {
            FFileName = form->FileName;
            if (FSaveMode && !HasFileExtension(FFileName))
                FFileName += FilterExtension(form->FilterComboBox->Mask());
            FFiles->Clear();
            const std::vector<String> selected = form->FileListView->GetSelectedFiles();
            // An open run that took a typed path took none of the selected rows.
            if (FSaveMode || std::find(selected.begin(), selected.end(), form->FileName) != selected.end())
                for (const String& file : selected)
                    FFiles->Add(file);
            CompleteFileName(FFileName);
            if (FOnChange) FOnChange(this);
        }
    } catch (...) {
        if (OnClose) OnClose(this);
        delete form;
        FDlgFrm = nullptr;
        throw;
    }
    if (OnClose) OnClose(this);
    delete form;
    FDlgFrm = nullptr;
    return ok;
}

void TqxSkinOpenDialog::SetFileName(const String& AValue) {
    FFileName = AValue;
    if (FDlgFrm) FDlgFrm->FileNameEdit->SetText(AValue);
}

String TqxSkinOpenDialog::GetSelectedFile() {
    return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : String();
}

void TqxSkinOpenDialog::FormCreated(TqxOpenDlgForm* AForm) {
    AForm->OnFolderChange = OnFolderChange;
    AForm->DefaultExt = DefaultExt;
}

void TqxSkinOpenDialog::CompleteFileName(String& AFileName) {
    if (SaveMode() && !HasFileExtension(AFileName) && !DefaultExt.empty()) AFileName += u"." + DefaultExt;
}
