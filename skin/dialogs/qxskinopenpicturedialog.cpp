#include "skin/dialogs/qxskinopenpicturedialog.h"

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/pngimage.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinscrollbox.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/controls/qxskinsplitters.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/core/qxpngimagelist.h"

TqxOpenPictureDlgForm::TqxOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TqxSkinData* ACtrlSkinData,
                                             bool AToolButtonsTransparent,
                                             TCustomImageList* AToolBarImageList)
    : TqxOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList) {
    TqxPngImage png;
    png.LoadFromResourceName(u"QX_STRETCH_PNG");
    PngImgList->PngImages()->Add()->SetPngImage(&png);

    // Right-aligned controls stack from the right by their right edges:
    // the preview at the window's edge, the splitter left of it.
    ImagePanel = new TqxSkinPanel(this);
    ImagePanel->SetBorderStyle(TqxSkinBorderStyle::bvFrame);
    ImagePanel->SetParent(this);
    ImagePanel->SetBounds(ClientWidth() - 200, 0, 200, 100);
    ImagePanel->SetAlign(alRight);
    Splitter = new TqxSkinSplitter(this);
    Splitter->SetParent(this);
    Splitter->SetBounds(ClientWidth() - 210, 0, 10, 100);
    Splitter->SetAlign(alRight);
    Splitter->SetDefaultSize(10);

    SBVScrollBar = new TqxSkinScrollBar(this);
    SBVScrollBar->SetKind(sbVertical);
    SBVScrollBar->SetParent(ImagePanel);
    SBVScrollBar->SetAlign(alRight);
    SBVScrollBar->SetDefaultWidth(19);
    SBVScrollBar->SetEnabled(false);
    SBVScrollBar->SetSkinDataName(u"vscrollbar");
    SBHScrollBar = new TqxSkinScrollBar(this);
    SBHScrollBar->SetParent(ImagePanel);
    SBHScrollBar->SetAlign(alBottom);
    SBHScrollBar->SetDefaultHeight(19);
    SBHScrollBar->SetEnabled(false);
    SBHScrollBar->SetBothMarkerWidth(19);
    SBHScrollBar->SetSkinDataName(u"hscrollbar");
    ScrollBox = new TqxSkinScrollBox(this);
    ScrollBox->SetParent(ImagePanel);
    ScrollBox->SetAlign(alClient);
    ScrollBox->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    ScrollBox->SetHScrollBar(SBHScrollBar);
    ScrollBox->SetVScrollBar(SBVScrollBar);
    Image = new TImage(this);
    Image->SetParent(ScrollBox);
    Image->SetBounds(0, 0, 0, 0);

    StretchButton = new TqxSkinSpeedButton(this);
    StretchButton->SetParent(ToolPanel);
    StretchButton->SetLeft(ToolPanel->Width());
    StretchButton->SetAlign(alRight);
    StretchButton->SetDefaultWidth(27);
    StretchButton->SetGroupIndex(2);
    StretchButton->SetAllowAllUp(true);
    StretchButton->SetSkinDataName(u"toolbutton");
    StretchButton->SetNumGlyphs(1);
    StretchButton->SetImageIndex(4);
    StretchButton->SetHint(DialogText(CtrlSD, u"MSG_BTN_STRETCH_HINT"));
    StretchButton->SetShowHint(true);
    StretchButton->SetFlat(AToolButtonsTransparent);
    StretchButton->OnClick = [this](TObject* S) { StretchButtonClick(S); };

    // The bottom strip keeps fixed places.
    for (TControl* field : {static_cast<TControl*>(FileNameEdit), static_cast<TControl*>(FilterComboBox)}) {
        field->SetAnchors({akLeft, akTop});
        field->SetBounds(70, field->Top(), 280, field->Height());
    }
    for (TControl* button : {static_cast<TControl*>(OpenButton), static_cast<TControl*>(CancelButton)}) {
        button->SetAnchors({akLeft, akTop});
        button->SetBounds(370, button->Top(), 70, button->Height());
    }
    CheckFileExists = false;
}

std::vector<TqxSkinSpeedButton*> TqxOpenPictureDlgForm::ToolButtons() {
    std::vector<TqxSkinSpeedButton*> buttons = TqxOpenDlgForm::ToolButtons();
    buttons.push_back(StretchButton);
    return buttons;
}

void TqxOpenPictureDlgForm::FitImage() {
    if (Image->Stretch()) return;
    ScrollBox->HScroll(0);
    ScrollBox->VScroll(0);
    if (Image->Visible())
        Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
    else
        Image->SetBounds(0, 0, 0, 0);
    ScrollBox->UpDateScrollRange();
}

void TqxOpenPictureDlgForm::LoadPicture(const String& AFileName) {
    // Shown again also when the file cannot be read: the picture held
    // before stays, as the reader leaves it.
    try {
        Image->Picture()->LoadFromFile(AFileName);
    } catch (...) {
        Image->SetVisible(true);
        FitImage();
        throw;
    }
    Image->SetVisible(true);
    FitImage();
}

void TqxOpenPictureDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
    // The list reports every change of an entry, focus included, several
    // for one click: only a change of the selected file counts, so the
    // name given at opening stays and a picture is read once.
    const String selected = FileListView->GetSelectedFile();
    if (selected == FSelectedFile) return;
    FSelectedFile = selected;
    const String name = ExtractFileName(selected);
    FileNameEdit->SetText(name);
    if (name.empty()) {
        // A folder or nothing selected shows no picture, stretched or not.
        Image->SetVisible(false);
        FitImage();
        return;
    }
    LoadPicture(selected);
}

void TqxOpenPictureDlgForm::SetStretched(bool AValue) {
    const bool shown = Image->Visible();
    Image->SetVisible(false);
    if (AValue) {
        ScrollBox->HScroll(0);
        ScrollBox->VScroll(0);
        ScrollBox->UpDateScrollRange();
        Image->SetStretch(true);
        Image->SetAlign(alClient);
    } else {
        Image->SetAlign(alNone);
        Image->SetStretch(false);
    }
    Image->SetVisible(shown);
    FitImage();
    ScrollBox->UpDateScrollRange();
}

void TqxOpenPictureDlgForm::StretchButtonClick(TObject*) {
    SetStretched(StretchButton->Down());
}

TqxSkinOpenPictureDialog::TqxSkinOpenPictureDialog(TComponent* AOwner) : TqxSkinCustomOpenDialog(AOwner) {
    AlphaBlendValue = 200;
    Title = u"Open picture";
    Filter =
        u"All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
        u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
}

TqxOpenDlgForm* TqxSkinOpenPictureDialog::CreateDlgForm() {
    return new TqxOpenPictureDlgForm(Application, SaveMode(), CtrlSkinData(), ToolButtonsTransparent,
                                     ToolBarImageList());
}

void TqxSkinOpenPictureDialog::FormReady(TqxOpenDlgForm* AForm) {
    auto* form = static_cast<TqxOpenPictureDlgForm*>(AForm);
    form->ImagePanel->SetWidth(ImagePanelWidth);
    form->ImagePanel->SetSkinData(CtrlSkinData());
    form->ScrollBox->SetSkinData(CtrlSkinData());
    form->SBHScrollBar->SetSkinData(CtrlSkinData());
    form->SBVScrollBar->SetSkinData(CtrlSkinData());
    form->Splitter->SetSkinData(CtrlSkinData());
    form->StretchButton->SetDown(StretchPicture || DialogStretch);
    if (form->StretchButton->Down()) form->SetStretched(true);
    // A picture that cannot be read opens the dialog without a preview:
    // the name is kept from run to run, and the dialog must still open.
    if (!FileExists(FFileName)) return;
    try {
        form->LoadPicture(FFileName);
    } catch (...) {
    }
}

void TqxSkinOpenPictureDialog::FormClosed(TqxOpenDlgForm* AForm) {
    auto* form = static_cast<TqxOpenPictureDlgForm*>(AForm);
    DialogStretch = form->StretchButton->Down();
    ImagePanelWidth = form->ImagePanel->Width();
}

TqxSkinSavePictureDialog::TqxSkinSavePictureDialog(TComponent* AOwner) : TqxSkinOpenPictureDialog(AOwner) {
    Title = u"Save file";
    SetSaveMode(true);
}
