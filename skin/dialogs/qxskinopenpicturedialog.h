// The skinned picture open and save dialogs: the open dialog's browser with
// a preview beside the list, the selected picture at its own size in a
// scrolling area or stretched to it; the preview's width and stretch state
// carry over from one run to the next.
#pragma once

#include "skin/dialogs/qxskinopendialog.h"

class TImage;
class TqxSkinScrollBox;
class TqxSkinSplitter;

class TqxOpenPictureDlgForm : public TqxOpenDlgForm {
public:
    TqxOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TqxSkinData* ACtrlSkinData,
                          bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);

    std::vector<TqxSkinSpeedButton*> ToolButtons() override;
    // The name field follows the selection (emptied by a folder or
    // nothing) and the preview shows the selected picture.
    void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change) override;
    void StretchButtonClick(TObject* Sender);
    // AFileName into the preview; the loader's error goes on to the caller
    // with the previous picture kept.
    void LoadPicture(const String& AFileName);
    // Stretched to the preview area, or back at the picture's own size.
    void SetStretched(bool AValue);

    TqxSkinPanel* ImagePanel = nullptr;
    TImage* Image = nullptr;
    TqxSkinScrollBox* ScrollBox = nullptr;
    TqxSkinScrollBar* SBVScrollBar = nullptr;
    TqxSkinScrollBar* SBHScrollBar = nullptr;
    TqxSkinSpeedButton* StretchButton = nullptr;
    TqxSkinSplitter* Splitter = nullptr;

private:
    // Unless stretched, the image takes the picture's size and the bars follow.
    void FitImage();

    // The list's selected file when it last changed.
    String FSelectedFile;
};

class TqxSkinOpenPictureDialog : public TqxSkinCustomOpenDialog {
public:
    explicit TqxSkinOpenPictureDialog(TComponent* AOwner);

    void SetFileName(const String& AValue) { FFileName = AValue; }
    TqxOpenPictureDlgForm* DlgFrm() const { return static_cast<TqxOpenPictureDlgForm*>(FDlgFrm); }

    // Every run opens with the preview stretched.
    bool StretchPicture = false;
    // The preview's width, and whether it was stretched when the last run ended.
    Integer ImagePanelWidth = 190;
    bool DialogStretch = false;

protected:
    TqxOpenDlgForm* CreateDlgForm() override;
    Integer DefaultDialogWidth() const override { return 550; }
    void FormReady(TqxOpenDlgForm* AForm) override;
    void FormClosed(TqxOpenDlgForm* AForm) override;
};

class TqxSkinSavePictureDialog : public TqxSkinOpenPictureDialog {
public:
    explicit TqxSkinSavePictureDialog(TComponent* AOwner);
};
