// The skinned tool bar and status bar, panels with a job of their own.
// TqxSkinToolBar keeps its buttons and other controls vertically centred,
// hands its speed buttons image lists, the flat look and captions, and,
// when the content is wider than the bar, scrolls it sideways with two
// small arrow buttons in its non-client area (by click, by hold or by
// hovering). TqxSkinStatusBar is a bottom-aligned panel with a size grip
// that sizes the form.
#pragma once

#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinspeedbuttons.h"

class TqxSkinToolBar : public TqxSkinPanel, public IqxToolButtonsParent, public IqxSkinControlsParent {
public:
    // An arrow button in window coordinates.
    struct TScrollButton {
        TRect R;
        bool Hot = false;
        bool Pressed = false;
        bool Visible = false;
    };

    explicit TqxSkinToolBar(TComponent* AOwner);

    // Children kept vertically centred in the skin client rectangle.
    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool AValue) { FAdjustControls = AValue; }
    // Arrow buttons scroll content wider than the bar.
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool AValue) { FCanScroll = AValue; }
    // Resting the pointer on an arrow scrolls.
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool AValue) { FHotScroll = AValue; }
    // Pixels per step (0: a client width); negative values are ignored.
    Integer ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(Integer AValue);
    // Milliseconds between steps while scrolling; 0 or less is ignored.
    Integer ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(Integer AValue);
    TCustomImageList* Images() const override { return FImages; }
    void SetImages(TCustomImageList* AValue);
    TCustomImageList* HotImages() const override { return FHotImages; }
    void SetHotImages(TCustomImageList* AValue) { SetReference(this, FHotImages, AValue); }
    TCustomImageList* DisabledImages() const override { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* AValue) { SetReference(this, FDisabledImages, AValue); }
    // Passed to every speed button.
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool AValue);
    // ShowCaptions shows and hides the speed buttons' captions too.
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool AValue) { FAutoShowHideCaptions = AValue; }
    // With both non-zero, ShowCaptions switches the width between them.
    Integer WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(Integer AValue) { FWidthWithCaptions = AValue; }
    Integer WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(Integer AValue) { FWidthWithoutCaptions = AValue; }

    // The scroll range from the children; shows or hides the arrows.
    void UpdateScroll();
    // One step left (AForward false) or right.
    void ScrollStep(bool AForward);

    bool AdjustControlsRect(TRect& ARect) override;
    void SetSkinData(TqxSkinData* AValue) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;
    void GetSkinData() override;
    void CreateControlSkinImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;

    // The scroll state: content extent - 1, offset, client width, the offset
    // the children stand at, the last growth, 0 / 1 left / 2 right.
    Integer SMax = 0;
    Integer SPosition = 0;
    Integer SPage = 0;
    Integer SOldPosition = 0;
    Integer FHSizeOffset = 0;
    Integer TimerMode = 0;
    bool FMouseIn = false;
    // 0 the left, 1 the right arrow.
    TScrollButton Buttons[2];
    // The arrows' element ("resizebutton"), nil without.
    const TqxDataSkinButtonControl* ButtonData = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool ScrollingActive() const { return FCanScroll && (Buttons[0].Visible || Buttons[1].Visible); }
    void ShowButtons(bool AVisible);
    void CentreOtherChildren();
    void PaintButtons();
    void DrawButton(TCanvas* ACanvas, Integer AIndex);
    void RepaintButtons();
    void StopScrollTimer();
    Integer HitButton(win::LPARAM AScreenPoint);
    void NCCalcSize(TMessage& AMessage);
    void NCMouseMove(Integer AHit);
    void Timer(win::WPARAM AId);
    void MouseLeft();

    bool FAdjustControls = true;
    bool FCanScroll = false;
    bool FHotScroll = false;
    Integer FScrollOffset = 0;
    Integer FScrollTimerInterval = 50;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    bool FFlat = false;
    bool FShowCaptions = false;
    bool FAutoShowHideCaptions = false;
    Integer FWidthWithCaptions = 0;
    Integer FWidthWithoutCaptions = 0;
};

class TqxSkinStatusBar : public TqxSkinPanel {
public:
    explicit TqxSkinStatusBar(TComponent* AOwner);

    // The grip works with both on.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool AValue);
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool AValue);
    // Where the grip lies, in client coordinates.
    TRect GripRect();

    void SetSkinData(TqxSkinData* AValue) override;
    void AdjustClientRect(TRect& ARect) override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& AMessage) override;

    // Copies of the panel element's grip.
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

private:
    bool GripOn() const { return FSizeGrip && FShowGrip; }
    bool SkinGrip() const;
    void DrawGrip(TCanvas* ACanvas);

    bool FSizeGrip = false;
    bool FShowGrip = true;
};
