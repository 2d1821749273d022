// The window-less skinned buttons of tool bars. TqxSkinSpeedButton never
// takes the focus; it clicks, repeats, stays down as a check button or in a
// group of its siblings like the push button, can be flat (only caption
// and image until the pointer comes), can hide its caption, and on a
// skinned tool bar takes its image from the bar's image lists.
// TqxSkinMenuSpeedButton adds a drop-down menu, opened by a press anywhere
// or, in TrackButtonMode, only on its track part, with a marker and drawing
// variants chosen by the skin section's name.
#pragma once

#include <memory>

#include "platform/toolkit/menus.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/controls/qxgraphicskincontrol.h"

// What a speed button reads of the skinned tool bar it sits on.
class IqxToolButtonsParent {
public:
    virtual ~IqxToolButtonsParent() = default;
    virtual TCustomImageList* Images() const = 0;
    virtual TCustomImageList* HotImages() const = 0;
    virtual TCustomImageList* DisabledImages() const = 0;
};

class TqxSkinSpeedButton : public TqxGraphicSkinCustomControl, public TqxButtonCore {
public:
    explicit TqxSkinSpeedButton(TComponent* AOwner);
    ~TqxSkinSpeedButton() override;

    // The parent shows through: no csOpaque. Setting it repaints.
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool AValue);
    // The same without the repaint.
    virtual void SetTransparentNoRedraw(bool AValue);
    // Only caption and image until the pointer comes; sets Transparent too.
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool AValue);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue) { FUseSkinFontColor = AValue; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool AValue) { FRepeatMode = AValue; }
    Integer RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(Integer AValue) { FRepeatInterval = AValue; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool AValue) { FAllowAllUp = AValue; }
    void SetDown(bool AValue) override;
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer AValue) { FGroupIndex = AValue; }
    // Drawn when there is no glyph (and no tool bar's list to draw from).
    void SetImageList(TCustomImageList* AValue) override;
    // An image-grid menu whose chosen item the button shows first.
    TqxCustomImagesMenu* SkinImagesMenu() const { return FImagesMenu.Menu; }
    void SetSkinImagesMenu(TqxCustomImagesMenu* AValue);
    bool UseImagesMenuImage() const { return FImagesMenu.UseImage; }
    void SetUseImagesMenuImage(bool AValue) { FImagesMenu.UseImage = AValue; }
    bool UseImagesMenuCaption() const { return FImagesMenu.UseCaption; }
    void SetUseImagesMenuCaption(bool AValue) { FImagesMenu.UseCaption = AValue; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool AValue);
    // With both above 0, ShowCaption switches the width between them.
    Integer WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(Integer AValue) { FWidthWithCaption = AValue; }
    Integer WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(Integer AValue) { FWidthWithoutCaption = AValue; }

    void ButtonClick() override;
    // Up, not hovered, no morph or animation, repainted at once.
    void RefreshButton();
    // Draws the look of one state rectangle into B.
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);

    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap*) override {}
    void ChangeSkinData() override;
    void CalcSize(Integer& W, Integer& H) override;
    void Loaded() override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void ActionChange(TObject* Sender, bool ACheckDefaults) override;

    TqxButtonPaintEvent OnPaint;

    double MorphKf() const { return FMorphKf; }
    bool MorphRunning() const { return FMorphTimer->Enabled(); }
    // A drop-down menu of the button is open: the down look.
    bool FMenuTracked = false;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void RedrawFace() override { Repaint(); }

    bool SkinEffectsOn() const;
    bool MorphingOn() const;
    bool AnimationPossible() const;
    void StartMorph();
    // Pointer in and out, after the flat rule.
    void MouseEnter();
    void MouseLeave();
    // The flat rule: a flat button is opaque while the pointer is over it.
    void FlatEnter();
    void FlatLeave();
    // The caption as drawn: empty without ShowCaption.
    String ShownCaption() const { return FShowCaption ? Caption() : String(); }
    // The tool bar's lists when the button sits on one without a glyph.
    IqxToolButtonsParent* ToolBar() const;
    // The face's font and colour for the transparent rows (no face).
    void SetupTransparentFont(TCanvas* ACanvas);
    // The font of a state image as the push button sets it, and its colour.
    void SetupImageFont(TCanvas* ACanvas, bool ADown, bool AMouseIn);
    // The image and caption in ARect: the tool bar's image, the image
    // list's, or the glyph.
    void DrawContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn);
    // OnPaint, then the content unless it says no.
    void PaintContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn);
    // The whole button through a bitmap of its size.
    void PaintBuffered(const std::function<void(TBitmap*)>& ADraw);
    bool ShowsDown() const { return FDown && (FGroupIndex != 0 || FMouseIn); }

private:
    TqxImagesMenuContent FImagesMenu;
    void MorphTick();

    bool FFlat = false;
    bool FStopDraw = false;
    bool FUseSkinFontColor = true;
    bool FUseSkinSize = true;
    TTimer* FMorphTimer;
    double FMorphKf = 0;
    bool FShowCaption = true;
    Integer FWidthWithCaption = 0;
    Integer FWidthWithoutCaption = 0;
};

enum TqxTrackPosition { qxtpRight, qxtpBottom };

class TqxSkinMenuSpeedButton : public TqxSkinSpeedButton {
public:
    explicit TqxSkinMenuSpeedButton(TComponent* AOwner);

    // Only a press on the track part opens the menu.
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool AValue);
    // The skinned popup menu (a toolkit menu that answers SkinPopupMenuOf).
    TPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TPopupMenu* AValue) { SetReference(this, FSkinPopupMenu, AValue); }
    // The skin's own resize and track elements; true also names the
    // section "resizetoolbutton".
    bool NewStyle() const { return FNewStyle; }
    void SetNewStyle(bool AValue);
    TqxTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TqxTrackPosition AValue);

    // Whether a press at (X, Y) opens the menu.
    bool CanTrackMenu(Integer X, Integer Y);
    // Opens the menu under the button.
    void TrackMenu();
    // The part a press opens the menu on, in track mode.
    TRect TrackPart();

    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // The skin's track rectangle (menu-button elements), relative to the element.
    TRect TrackButtonRect;
    // An arrow of FArrowType (1 left, 2 right, 3 up, 4 down) instead of the marker.
    bool FDrawStandardArrow = false;
    Integer FArrowType = 4;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool Ordinary() const;
    TqxMenuButtonPaint Variant(bool AFlat);
    // The strip of the new style (bottom or right).
    TRect Strip() const;
    void DrawNewStyle(TBitmap* B, bool ADown, bool AMouseIn);
    void DrawIdle();
    void MenuClosed();

    bool FTrackButtonMode = false;
    TPopupMenu* FSkinPopupMenu = nullptr;
    bool FNewStyle = false;
    TqxTrackPosition FTrackPosition = qxtpRight;
};
