#include "skin/dialogs/qxskinselectdir.h"

#include "platform/base/fileutils.h"
#include "platform/toolkit/pngimage.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/controls/qxskinsplitters.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/core/qxpngimagelist.h"
#include "skin/dialogs/qxfilectrl.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/forms/dravenfold.h"

TqxSelDirDlgForm::TqxSelDirDlgForm(TComponent* AOwner, TqxSkinData* ACtrlSkinData, bool AShowToolBar,
                                   bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                                   Integer AToolButtonImageIndex, bool ATreeShowLines,
                                   TCustomImageList* ATreeButtonImageList,
                                   Integer ATreeButtonExpandImageIndex, Integer ATreeButtonNoExpandImageIndex)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar) {
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 300, 320);

    PngImgList = new TqxPngImageList(this);
    TqxPngImage png;
    png.LoadFromResourceName(u"QX_NEWFOLDER_PNG");
    PngImgList->PngImages()->Add()->SetPngImage(&png);
    QXD = new TqxDravenfold(this);

    if (AShowToolBar) {
        ToolPanel = new TqxSkinToolBar(this);
        ToolPanel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
        ToolPanel->SetParent(this);
        ToolPanel->SetAlign(alTop);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName(u"toolpanel");
        ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : PngImgList);
        NewFolderToolButton = new TqxSkinSpeedButton(this);
        NewFolderToolButton->SetParent(ToolPanel);
        NewFolderToolButton->SetLeft(300);
        NewFolderToolButton->SetAlign(alRight);
        NewFolderToolButton->SetDefaultHeight(25);
        NewFolderToolButton->SetDefaultWidth(27);
        NewFolderToolButton->SetSkinDataName(u"toolbutton");
        NewFolderToolButton->SetNumGlyphs(1);
        NewFolderToolButton->SetImageIndex(AToolBarImageList ? AToolButtonImageIndex : 0);
        NewFolderToolButton->SetHint(DialogText(CtrlSD, u"MSG_BTN_NEWFOLDER_HINT"));
        NewFolderToolButton->SetShowHint(true);
        NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderToolButtonClick(S); };
        NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        auto* spacer = new TqxSkinBevel(this);
        spacer->SetParent(ToolPanel);
        spacer->SetShape(bsSpacer);
        spacer->SetBounds(200, 0, 5, 25);
        spacer->SetAlign(alRight);
        DirEdit = new TqxSkinEdit(this);
        DirEdit->SetParent(ToolPanel);
        DirEdit->SetAlign(alClient);
        DirEdit->SetSkinDataName(u"edit");
        DirEdit->OnKeyPress = [this](TObject* S, char16_t& K) { DirEditKeyPress(S, K); };
    }

    DirTreeViewPanel = new TqxSkinPanel(this);
    DirTreeViewPanel->SetParent(this);
    DirTreeViewPanel->SetAlign(alClient);
    DirTreeViewPanel->SetBorderStyle(TqxSkinBorderStyle::bvFrame);
    VScrollBar = new TqxSkinScrollBar(this);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetParent(DirTreeViewPanel);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetSkinDataName(u"vscrollbar");
    HScrollBar = new TqxSkinScrollBar(this);
    HScrollBar->SetParent(DirTreeViewPanel);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName(u"hscrollbar");

    DirTreeView = new TqxSkinDirTreeView(this);
    DirTreeView->SetParent(DirTreeViewPanel);
    DirTreeView->SetAlign(alClient);
    DirTreeView->SetHScrollBar(HScrollBar);
    DirTreeView->SetVScrollBar(VScrollBar);
    TShellObjectTypes types = DirTreeView->ObjectTypes();
    types.Include(otHidden);
    DirTreeView->SetObjectTypes(types);
    DirTreeView->SetHideSelection(false);
    DirTreeView->SetShowLines(ATreeShowLines);
    DirTreeView->SetButtonImageList(ATreeButtonImageList);
    DirTreeView->SetButtonExpandImageIndex(ATreeButtonExpandImageIndex);
    DirTreeView->SetButtonNoExpandImageIndex(ATreeButtonNoExpandImageIndex);
    DirTreeView->OnChange = [this](TObject* S, TTreeNode* N) { DirTreeViewChange(S, N); };

    BottomPanel = new TqxSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(50);
    OkButton = new TqxSkinButton(this);
    OkButton->SetDefault(true);
    OkButton->SetCaption(DialogText(CtrlSD, u"MSG_BTN_OK"));
    OkButton->SetCanFocused(true);
    OkButton->SetBounds(20, 15, 70, 25);
    OkButton->SetDefaultHeight(25);
    OkButton->SetParent(BottomPanel);
    OkButton->SetModalResult(mrOk);
    CancelButton = new TqxSkinButton(this);
    CancelButton->SetCaption(DialogText(CtrlSD, u"MSG_BTN_CANCEL"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(100, 15, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
}

void TqxSelDirDlgForm::DirTreeViewChange(TObject*, TTreeNode*) {
    if (DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TqxSelDirDlgForm::NewFolderToolButtonClick(TObject*) {
    const String target = DirTreeView->Path() + u"/" + DialogText(CtrlSD, u"MSG_NEWFOLDER");
    // Only below a file-system folder: Computer and the desktop's virtual
    // items have no place for it.
    TTreeNode* selected = DirTreeView->Selected();
    if (!selected || IsExistingDirectory(target) || target[0] != u'/') return;
    MkDir(target);
    DirTreeView->Refresh(selected);
}

void TqxSelDirDlgForm::DirEditKeyPress(TObject*, char16_t& Key) {
    if (Key != u'\r') return;
    const String text = DirEdit->Text();
    if (!text.empty() && IsExistingDirectory(text)) DirTreeView->SetPath(text);
}

TqxSkinSelectDirectoryDialog::TqxSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TqxSkinSelectDirectoryDialog::~TqxSkinSelectDirectoryDialog() = default;

void TqxSkinSelectDirectoryDialog::SetTreeButtonImageList(TCustomImageList* AValue) {
    SetReference(this, FTreeButtonImageList, AValue);
}
void TqxSkinSelectDirectoryDialog::SetToolBarImageList(TCustomImageList* AValue) {
    SetReference(this, FToolBarImageList, AValue);
}
void TqxSkinSelectDirectoryDialog::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSkinData, AValue);
}
void TqxSkinSelectDirectoryDialog::SetCtrlSkinData(TqxSkinData* AValue) {
    SetReference(this, FCtrlSkinData, AValue);
}
void TqxSkinSelectDirectoryDialog::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
}

void TqxSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
    if (AComponent == FTreeButtonImageList) FTreeButtonImageList = nullptr;
}

bool TqxSkinSelectDirectoryDialog::Execute() {
    if (OnShow) OnShow(this);
    FDlgFrm =
        new TqxSelDirDlgForm(Application, FCtrlSkinData, ShowToolBar, ToolButtonsTransparent,
                             FToolBarImageList, ToolButtonImageIndex, TreeShowLines, FTreeButtonImageList,
                             TreeButtonExpandImageIndex, TreeButtonNoExpandImageIndex);
    TqxSelDirDlgForm* form = FDlgFrm;
    bool ok = false;
    try {
        form->SetCaption(Title);
        TqxDravenfold* qxd = form->QXD;
        SetUpDialogFrame(qxd, FSkinData, FCtrlSkinData, AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
        qxd->SetMinWidth(DialogMinWidth);
        qxd->SetMinHeight(DialogMinHeight);
        form->DirTreeViewPanel->SetSkinData(FCtrlSkinData);
        form->DirTreeView->SetDefaultFont(FDefaultFont.get());
        form->DirTreeView->SetSkinData(FCtrlSkinData);
        if (FCtrlSkinData) {
            form->DirTreeView->SetDrawSkin(FCtrlSkinData->DlgTreeViewDrawSkin());
            form->DirTreeView->SetItemSkinDataName(FCtrlSkinData->DlgTreeViewItemSkinDataName());
        }
        // The tree reads its nodes with its window.
        form->DirTreeView->HandleNeeded();
        if (!Directory.empty() && IsExistingDirectory(Directory))
            form->DirTreeView->SetPath(Directory);
        else
            form->DirTreeView->ExpandMyComputer();
        for (TqxSkinScrollBar* bar : {form->HScrollBar, form->VScrollBar})
            bar->SetSkinData(FCtrlSkinData);
        for (TqxSkinButton* button : {form->OkButton, form->CancelButton}) {
            button->SetSkinData(FCtrlSkinData);
            button->SetDefaultFont(FDefaultFont.get());
        }
        form->BottomPanel->SetSkinData(FCtrlSkinData);
        if (ShowToolBar) {
            form->ToolPanel->SetSkinData(FCtrlSkinData);
            form->NewFolderToolButton->SetSkinData(FCtrlSkinData);
            form->DirEdit->SetSkinData(FCtrlSkinData);
        }
        Integer width = DialogWidth > 0 ? DialogWidth : 280;
        Integer height = DialogHeight > 0 ? DialogHeight : 280;
        if (FSkinData && !FSkinData->Empty) {
            width = std::max(width, qxd->GetMinWidth());
            height = std::max(height, qxd->GetMinHeight());
        }
        form->SetClientWidth(width);
        form->SetClientHeight(height);
        // The tree's bars came with its final size and may cover the folder
        // chosen at a larger one: it is brought into view again.
        if (TTreeNode* chosen = form->DirTreeView->Selected()) chosen->MakeVisible();
        form->SetActiveControl(form->DirTreeView);

        ok = form->ShowModal() == mrOk;

        DialogWidth = form->ClientWidth();
        DialogHeight = form->ClientHeight();
        if (ok) {
            Directory = form->DirTreeView->Path();
            if (OnChange) OnChange(this);
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
