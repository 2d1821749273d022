// The skin-selection dialog: a list of skins beside a miniature form that
// previews the chosen row through a skin data object of its own, so the
// application's skin stays as it is until the caller applies the result.
// The skins come from a compressed skin list (an index results) or from the
// stored skins on the dialog component's owner form (a stored skin results).
#pragma once

#include <vector>

#include "platform/toolkit/forms.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxskindata.h"

class TqxDravenfold;
class TqxSkinButton;
class TqxSkinListBox;

class TqxSelectSkinDlgForm : public TForm {
public:
    // List mode: the skins of ASkinList, ASkinIndex chosen.
    TqxSelectSkinDlgForm(TComponent* AOwner, TqxCompressedSkinList* ASkinList, Integer ASkinIndex,
                         TqxSkinData* ACtrlSkinData);
    // Stored-skin mode: the stored skins among AForm's components.
    TqxSelectSkinDlgForm(TComponent* AOwner, TComponent* AForm, TqxCompressedStoredSkin* ADefaultSkin,
                         TqxSkinData* ACtrlSkinData);

    TqxCompressedStoredSkin* SelectedSkin() const;
    void SLBOnChange(TObject* Sender);
    void SLBOnDblClick(TObject* Sender);

    TqxCompressedSkinList* FCSkinList = nullptr;
    Integer FCSkinIndex = -1;
    TqxDravenfold* QXD = nullptr;
    TqxSkinButton* OpenButton = nullptr;
    TqxSkinButton* CancelButton = nullptr;
    TForm* PreviewForm = nullptr;
    TqxDravenfold* PreviewQXD = nullptr;
    TqxSkinData* PreviewSkinData = nullptr;
    TqxSkinButton* PreviewButton = nullptr;
    TqxSkinListBox* SkinsListBox = nullptr;
    std::vector<TqxCompressedStoredSkin*> SkinList;

private:
    void Build(TqxSkinData* ACtrlSkinData);
    // The miniature's place in the dialog, kept through every skin it shows.
    void PlacePreview();
};

class TqxSelectSkinDialog : public TComponent {
public:
    explicit TqxSelectSkinDialog(TComponent* AOwner);
    ~TqxSelectSkinDialog() override;

    // List mode; false at once without a SkinList.
    bool Execute(Integer ASkinIndex);
    // Stored-skin mode over the owner's stored skins; false at once
    // without an owner.
    bool Execute(TqxCompressedStoredSkin* ADefaultCompressedSkin);

    TqxCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TqxCompressedSkinList* AValue);
    TqxSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TqxSkinData* AValue);
    TqxSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(TqxSkinData* AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TqxCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
    Integer SelectedSkinIndex() const { return FSelectedSkinIndex; }
    TqxSelectSkinDlgForm* DlgFrm() const { return FDlgFrm; }

    bool AlphaBlend = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    String Title = u"Select skin";

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // Sets the window up, runs it and frees it; true for OK.
    bool Run(TqxSelectSkinDlgForm* AForm);

    TqxCompressedSkinList* FSkinList = nullptr;
    TqxSkinData* FSkinData = nullptr;
    TqxSkinData* FCtrlSkinData = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    TqxCompressedStoredSkin* FSelectedSkin = nullptr;
    Integer FSelectedSkinIndex = -1;
    TqxSelectSkinDlgForm* FDlgFrm = nullptr;
};
