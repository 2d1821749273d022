#include "skin/dialogs/qxselectskin.h"

#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistbox.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/forms/dravenfold.h"

TqxSelectSkinDlgForm::TqxSelectSkinDlgForm(TComponent* AOwner, TqxCompressedSkinList* ASkinList,
                                           Integer ASkinIndex, TqxSkinData* ACtrlSkinData)
    : TForm(AOwner), FCSkinList(ASkinList), FCSkinIndex(ASkinIndex) {
    Build(ACtrlSkinData);
    for (Integer i = 0; i < ASkinList->Skins()->Count(); ++i) {
        TqxSkinListItem* item = ASkinList->Skins()->Items(i);
        SkinsListBox->Items()->Add(item->Description().empty() ? item->Name() : item->Description());
    }
    if (ASkinIndex >= 0 && ASkinIndex < SkinsListBox->Items()->Count())
        SkinsListBox->SetItemIndex(ASkinIndex);
    // The index first: the list's arrival loads it when it is in range.
    PreviewSkinData->SetSkinIndex(ASkinIndex);
    PreviewSkinData->SetSkinList(ASkinList);
    PlacePreview();
    PreviewForm->SetVisible(true);
    SetActiveControl(SkinsListBox->ListBox());
}

TqxSelectSkinDlgForm::TqxSelectSkinDlgForm(TComponent* AOwner, TComponent* AForm,
                                           TqxCompressedStoredSkin* ADefaultSkin, TqxSkinData* ACtrlSkinData)
    : TForm(AOwner) {
    Build(ACtrlSkinData);
    Integer defaultRow = 0;
    for (Integer i = 0; i < AForm->ComponentCount(); ++i) {
        auto* skin = dynamic_cast<TqxCompressedStoredSkin*>(AForm->Components(i));
        if (!skin) continue;
        if (skin == ADefaultSkin) defaultRow = Integer(SkinList.size());
        SkinList.push_back(skin);
        SkinsListBox->Items()->Add(skin->Description().empty() ? skin->Name() : skin->Description());
    }
    if (defaultRow < SkinsListBox->Items()->Count()) {
        SkinsListBox->SetItemIndex(defaultRow);
        PreviewSkinData->SetCompressedStoredSkin(SkinList[size_t(defaultRow)]);
    }
    PlacePreview();
    PreviewForm->SetVisible(true);
    SetActiveControl(SkinsListBox->ListBox());
}

void TqxSelectSkinDlgForm::Build(TqxSkinData* ACtrlSkinData) {
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSingle);
    SetClientWidth(420);
    SetClientHeight(240);
    QXD = new TqxDravenfold(this);

    PreviewForm = new TForm(this);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(DialogText(ACtrlSkinData, u"MSG_PREVIEWSKIN"));
    PreviewForm->SetEnabled(false);
    PlacePreview();
    PreviewSkinData = new TqxSkinData(this);
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData())
        PreviewSkinData->SetResourceStrData(ACtrlSkinData->ResourceStrData());
    PreviewButton = new TqxSkinButton(this);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetBounds(20, 20, 100, PreviewButton->Height());
    PreviewButton->SetCaption(DialogText(ACtrlSkinData, u"MSG_PREVIEWBUTTON"));
    PreviewButton->SetSkinData(PreviewSkinData);
    PreviewQXD = new TqxDravenfold(PreviewForm);
    PreviewQXD->PreviewMode = true;
    PreviewQXD->SetSkinData(PreviewSkinData);

    OpenButton = new TqxSkinButton(this);
    OpenButton->SetDefault(true);
    OpenButton->SetCaption(DialogText(ACtrlSkinData, u"MSG_BTN_OK"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(260, 200, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetParent(this);
    OpenButton->SetModalResult(mrOk);
    CancelButton = new TqxSkinButton(this);
    CancelButton->SetCaption(DialogText(ACtrlSkinData, u"MSG_BTN_CANCEL"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(340, 200, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetParent(this);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    SkinsListBox = new TqxSkinListBox(this);
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = [this](TObject* S) { SLBOnChange(S); };
    SkinsListBox->OnListBoxDblClick = [this](TObject* S) { SLBOnDblClick(S); };
}

TqxCompressedStoredSkin* TqxSelectSkinDlgForm::SelectedSkin() const {
    return PreviewSkinData->CompressedStoredSkin();
}

void TqxSelectSkinDlgForm::PlacePreview() {
    PreviewForm->SetBounds(190, 10, 220, 170);
}

void TqxSelectSkinDlgForm::SLBOnChange(TObject*) {
    const Integer row = SkinsListBox->ItemIndex();
    if (FCSkinList) {
        PreviewSkinData->SetSkinIndex(row);
    } else if (row >= 0 && row < Integer(SkinList.size())) {
        PreviewSkinData->SetCompressedStoredSkin(SkinList[size_t(row)]);
    }
    PlacePreview();
}

void TqxSelectSkinDlgForm::SLBOnDblClick(TObject*) {
    SetModalResult(mrOk);
}

TqxSelectSkinDialog::TqxSelectSkinDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TqxSelectSkinDialog::~TqxSelectSkinDialog() = default;

void TqxSelectSkinDialog::SetSkinList(TqxCompressedSkinList* AValue) {
    SetReference(this, FSkinList, AValue);
}
void TqxSelectSkinDialog::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSkinData, AValue);
}
void TqxSelectSkinDialog::SetCtrlSkinData(TqxSkinData* AValue) {
    SetReference(this, FCtrlSkinData, AValue);
}
void TqxSelectSkinDialog::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
}

void TqxSelectSkinDialog::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
}

bool TqxSelectSkinDialog::Execute(Integer ASkinIndex) {
    if (!FSkinList) return false;
    FSelectedSkinIndex = -1;
    FSelectedSkin = nullptr;
    return Run(new TqxSelectSkinDlgForm(Application, FSkinList, ASkinIndex, FCtrlSkinData));
}

bool TqxSelectSkinDialog::Execute(TqxCompressedStoredSkin* ADefaultCompressedSkin) {
    if (!Owner()) return false;
    FSelectedSkin = nullptr;
    return Run(new TqxSelectSkinDlgForm(Application, Owner(), ADefaultCompressedSkin, FCtrlSkinData));
}

bool TqxSelectSkinDialog::Run(TqxSelectSkinDlgForm* AForm) {
    FDlgFrm = AForm;
    bool ok = false;
    try {
        AForm->SetCaption(Title);
        TqxDravenfold* qxd = AForm->QXD;
        SetUpDialogFrame(qxd, FSkinData, FCtrlSkinData, AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
        for (TqxSkinButton* button : {AForm->OpenButton, AForm->CancelButton}) {
            button->SetDefaultFont(FDefaultFont.get());
            button->SetSkinData(FCtrlSkinData);
        }
        AForm->SkinsListBox->SetDefaultFont(FDefaultFont.get());
        AForm->SkinsListBox->SetSkinData(FCtrlSkinData);
        Integer width = 420, height = 240;
        if (FSkinData && !FSkinData->Empty) {
            width = std::max(width, qxd->GetMinWidth());
            height = std::max(height, qxd->GetMinHeight());
        }
        AForm->SetClientWidth(width);
        AForm->SetClientHeight(height);
        ok = AForm->ShowModal() == mrOk;
        if (ok) {
            if (AForm->FCSkinList)
                FSelectedSkinIndex = AForm->PreviewSkinData->SkinIndex();
            else
                FSelectedSkin = AForm->SelectedSkin();
        }
    } catch (...) {
        delete AForm;
        FDlgFrm = nullptr;
        throw;
    }
    delete AForm;
    FDlgFrm = nullptr;
    return ok;
}
