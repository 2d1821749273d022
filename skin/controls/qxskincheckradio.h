// The skinned check box and radio button, one control: a third, grayed
// state, radio groups among its siblings by GroupIndex, an image-list image
// before the caption and word wrap. The flat look (the default) draws the
// check image and the caption over the parent's background; the
// skin-framed look draws the whole control from its element and
// cross-fades between its normal and hot images.
#pragma once

#include "platform/toolkit/buttons.h"
#include "skin/controls/qxskincontrol.h"

class TqxSkinCheckRadioBox : public TqxSkinCustomControl {
public:
    explicit TqxSkinCheckRadioBox(TComponent* AOwner);
    ~TqxSkinCheckRadioBox() override;

    // Checking raises OnClick (a radio button's only when it is checked),
    // every time, and unchecks the rest of its group.
    bool Checked() const { return FChecked; }
    void SetChecked(bool AValue);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState AValue);
    bool Radio() const { return FRadio; }
    void SetRadio(bool AValue);
    // A click on an unchecked check box makes it grayed first.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool AValue);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer AValue) { FGroupIndex = AValue; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    // Flat look: the caption wraps.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    // Flat skinned look: the skin's text colours, else DefaultFont's.
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue) { FUseSkinFontColor = AValue; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    // It may take the focus; TabStop follows.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool AValue);

    // Check box: the other check state; radio button: checked.
    virtual void Toggle();
    // The look for the check state AChecked onto C at X, Y.
    void PaintSkinTo(TCanvas* C, Integer X, Integer Y, bool AChecked);

    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void CheckParentBackground() override;
    void CalcSize(Integer& W, Integer& H) override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void ActionChange(TObject* Sender, bool ACheckDefaults) override;

    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    bool MorphRunning() const { return FMorphTimer != nullptr; }

    // Copies of the check-radio element, fallbacks applied.
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FrameFontColor = 0;
    TColor UnEnabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect CheckImageArea;
    TRect TextArea;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect ActiveCheckImageRect;
    TRect ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect;
    TRect UnEnabledUnCheckImageRect;
    TRect GrayedCheckImageRect;
    TRect ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;
    // The skin-framed look at the control's size: the check image's place
    // and the caption's rectangle.
    TRect CIRect;
    TRect NewTextArea;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool MorphingPossible() const;
    bool HasFocus();
    bool HasImage() const { return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count(); }
    void UpdateHot();
    void StartMorph();
    void StopMorph();
    void MorphTick();
    void UncheckGroup();
    // The check image by the state table, into AImage (transparent).
    void CheckImage(TBitmap* AImage, bool AChecked, bool AHot, bool AGrayed);
    void SetupFont(TCanvas* ACanvas);
    void DrawFlat(TCanvas* ACanvas, bool AChecked, bool AHot, bool AGrayed, bool AFocus, bool AFill);
    void DrawDefaultBox(TCanvas* ACanvas, bool AChecked, bool AHot, bool AGrayed, bool AFill);
    // The caption (and image) from x0 in a flat look; the focus frame.
    void DrawFlatCaption(TCanvas* ACanvas, Integer AX0, Integer AImageGap, bool AFocus);
    void FramedImage(TBitmap* B, const TRect& ARect, bool AHot, bool AChecked);

    bool FDown = false;
    bool FUseSkinFontColor = true;
    bool FWordWrap = false;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = 0;
    bool FFlat = true;
    bool FClicksDisabled = false;
    bool FCanFocused = true;
    bool FMouseIn = false;
    Integer FGroupIndex = 0;
    bool FChecked = false;
    bool FRadio = false;
    TTimer* FMorphTimer = nullptr;
    double FMorphKf = 0;
};
