// The skinned push button: clicks, repeats while held, stays down as a
// check button, acts in a group of its siblings, answers Enter as the
// form's default button and Escape as its cancel button, and shows an
// image-list image or a glyph beside its word-wrapped caption. Skinned, it
// draws five state looks of its element, cross-fades between the normal
// and the hover look, may animate frame by frame under the pointer and
// shows a glow window around itself; without a skin it draws a flat look
// in fixed colours.
#pragma once

#include <functional>
#include <memory>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxlayerwindows.h"

// The element's copies (TqxButtonElementCopy) are its public fields.
class TqxSkinButton : public TqxSkinCustomControl, public TqxButtonCore {
public:
    explicit TqxSkinButton(TComponent* AOwner);
    ~TqxSkinButton() override;

    // The face is left out while the button is neither down nor hovered.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // A press puts it down, the next press and release brings it up.
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool AValue);
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
    void SetAlwaysShowLayeredFrame(bool AValue) { FAlwaysShowLayeredFrame = AValue; }
    // The font colour from the element's state colours, else DefaultFont's.
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue) { FUseSkinFontColor = AValue; }
    // The skin decides the size; off, any size with the face stretched.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    // Clicks repeat while the button is held.
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool AValue) { FRepeatMode = AValue; }
    Integer RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(Integer AValue) { FRepeatInterval = AValue; }
    // Group members do not release each other; a down member can be pressed up.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool AValue) { FAllowAllUp = AValue; }
    // Enter clicks the default button, Escape the cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool AValue);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool AValue) { FCancel = AValue; }
    // Given to the parent form by a click.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
    // The button can take the focus; TabStop follows.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool AValue);
    void SetDown(bool AValue) override;
    // 0 none; above 0 a group among the siblings; -1 set by CheckedMode.
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer AValue);
    // Drawn instead of the glyph when ImageIndex lies in the list.
    void SetImageList(TCustomImageList* AValue) override;
    // An image-grid menu whose chosen item the button shows first.
    TqxCustomImagesMenu* SkinImagesMenu() const { return FImagesMenu.Menu; }
    void SetSkinImagesMenu(TqxCustomImagesMenu* AValue);
    bool UseImagesMenuImage() const { return FImagesMenu.UseImage; }
    void SetUseImagesMenuImage(bool AValue) { FImagesMenu.UseImage = AValue; }
    bool UseImagesMenuCaption() const { return FImagesMenu.UseCaption; }
    void SetUseImagesMenuCaption(bool AValue) { FImagesMenu.UseCaption = AValue; }

    // The click: the form's ModalResult, then the action or OnClick.
    void ButtonClick() override;
    // Drops the hover and pressed look and repaints at once.
    void RefreshButton();
    // The glow window around the button.
    void ShowLayer();
    void HideLayer();
    // Draws the look of one state rectangle into B.
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);

    // Passed on only when no action is linked.
    void Click() override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void CheckParentBackground() override;
    void CalcSize(Integer& W, Integer& H) override;
    void SetControlRegion() override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void ActionChange(TObject* Sender, bool ACheckDefaults) override;

    TqxButtonPaintEvent OnPaint;

    // Forced down look (the ribbon's application button); stops the focus animations.
    bool FDownState = false;
    // The next morph step of the focused button jumps to the hover look
    // (the form fades in with this button active).
    bool FStopAnimate = false;
    // The space and Enter keys press the button.
    bool FSpaceSupport = true;

    // What the states show, for the form and the tests: the pointer is over
    // the button, the button is the one Enter reaches, the morph factor
    // (0 normal .. 1 hover), the animation frame (0 idle).
    bool Active() const { return FActive; }
    double MorphKf() const { return FMorphKf; }
    bool MorphRunning() const { return FMorphTimer->Enabled(); }
    TqxLayerManager* LayerManager() const { return FLayerManager; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    bool SkinEffectsOn() const;
    bool MorphingOn() const;
    bool HasFocus();
    bool AnimationPossible() const;
    void StartMorph();
    void StopMorph();
    void RedrawFace() override { Repaint(); }
    // The font, colour and content of a face in ARect.
    void DrawContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn);
    void SetupFont(TCanvas* ACanvas, bool AUseSkinFont);
    Integer GlyphNumber(bool ADown, bool AMouseIn) const;

private:
    bool ShowsDown();
    void MorphTick(TObject* Sender);
    void MouseEnter();
    void MouseLeave();
    void PostToSelf(win::UINT AMessage);
    bool DialogKey(TMessage& AMessage);
    void FocusChanged(TWinControl* ASender);

    bool FTransparent = false;
    bool FAlwaysShowLayeredFrame = false;
    TqxLayerManager* FLayerManager;
    bool FUseSkinFontColor = true;
    TqxImagesMenuContent FImagesMenu;
    bool FUseSkinSize = true;
    bool FActive = false;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    bool FClicksDisabled = false;
    bool FCanFocused = true;
    TTimer* FMorphTimer;
    double FMorphKf = 0;
};
