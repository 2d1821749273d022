// The skinned containers: TqxSkinPanel draws itself from a panel element
// (or a plain default look) with an optional caption strip holding a check
// box that enables the children, a roll-up to the caption, a glyph or an
// image-list image, a transparent mode showing the parent through it and a
// background picture of the skin. TqxSkinPaintPanel adds an owner-paint
// event; TqxSkinGroupBox is a panel of the element "groupbox" with its
// caption on.
#pragma once

#include <memory>
#include <vector>

#include "skin/controls/qxskincontrol.h"

// Scoped: the toolkit's own bevel cuts use three of the names.
enum class TqxSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum TqxImagePosition { qxipDefault, qxipLeft };
// 1 or 2 images in the glyph strip: normal, disabled.
using TqxSkinPanelNumGlyphs = Integer;

class TqxSkinPanel : public TqxSkinCustomControl {
public:
    explicit TqxSkinPanel(TComponent* AOwner);

    // The skin's caption and roll-up heights (else DefaultCaptionHeight).
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    // Nothing painted at run time; the whole control is client area.
    bool EmptyDrawing() const { return FEmptyDrawing; }
    void SetEmptyDrawing(bool AValue) { FEmptyDrawing = AValue; }
    // The unskinned caption strip at the bottom.
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool AValue);
    TqxImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TqxImagePosition AValue);
    // The parent shows through, framed.
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool AValue);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* AValue) { SetReference(this, FCaptionImageList, AValue); }
    Integer CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(Integer AValue);
    // The height before rolling up; -1 while not rolled up.
    Integer RealHeight() const { return FRealHeight; }
    // Checking enables the children, unchecking disables them.
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool AValue) { FAutoEnabledControls = AValue; }
    // A check box in the caption.
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool AValue);
    bool Checked() const { return FChecked; }
    void SetChecked(bool AValue);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment AValue);
    Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(Integer AValue);
    TqxSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TqxSkinBorderStyle AValue);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool AValue);
    // A press on the caption rolls the panel up to it and down again.
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool AValue);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool AValue);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    TqxSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TqxSkinPanelNumGlyphs AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);

    // The panel's look onto C at X, Y.
    void PaintSkinTo(TCanvas* C, Integer X, Integer Y);
    // (0, 0, Width, Height) through AdjustClientRect.
    void GetSkinClientRect(TRect& R);
    // Rolls up to the caption (true) or back to the height before.
    void DoRollUp(bool ARollUp);
    // Owner paint on the canvas of a transparent panel; nothing here.
    virtual void PanelPaint(TCanvas*) {}

    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void CheckParentBackground() override;
    void Dispatch(TMessage& AMessage) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // Copies of the panel element (TqxDataSkinPanelControl).
    TRect CaptionRect;
    TAlignment Alignment = taCenter;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    // A background picture of the skin, -1 none.
    Integer BGPictureIndex = -1;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect MarkFrameRect;
    TRect FrameRect;
    Integer FrameLeftOffset = 0;
    Integer FrameRightOffset = 0;
    TRect FrameTextRect;
    // The caption and the roll-up marker at the current size.
    TRect NewCaptionRect;
    TRect NewRollUpMarkerRect;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The element as a panel element; nil for none or another kind.
    const TqxDataSkinPanelControl* PanelElement() const;
    // The caption, its check box, image, frame and roll-up marker in
    // NewCaptionRect, from the skin.
    void DrawSkinCaption(TCanvas* ACanvas);
    // The frame and caption of a transparent captioned panel.
    void DrawTransparentCaptionFrame(TCanvas* ACanvas);
    // The caption image or glyph, and its width.
    bool HasCaptionImage() const;
    Integer CaptionImageWidth() const;
    void DrawCaptionImage(TCanvas* ACanvas, Integer X, Integer Y);
    // A piece of the skin picture over the control: stretched by the
    // stretch type or tiled.
    void DrawBackgroundPiece(TCanvas* ACanvas, TBitmap* APiece, const TRect& AArea);
    // The caption's font from the element or DefaultFont, with the skin's charset.
    void SetupCaptionFont(TCanvas* ACanvas);

    bool FInChangingRollUp = false;

private:
    void PaintWithPanelBody();
    void PaintTransparent(bool ACaption);
    void PaintPlainBackground();
    void PaintBackgroundPicture();
    bool CaptionHit(Integer X, Integer Y);
    Integer RolledHeight();

    bool FUseSkinSize = true;
    bool FEmptyDrawing = false;
    bool FRibbonStyle = false;
    TqxImagePosition FImagePosition = qxipDefault;
    bool FTransparentMode = false;
    TCustomImageList* FCaptionImageList = nullptr;
    Integer FCaptionImageIndex = -1;
    Integer FRealHeight = -1;
    bool FAutoEnabledControls = true;
    bool FCheckedMode = false;
    bool FChecked = false;
    TAlignment FDefaultAlignment = taLeftJustify;
    Integer FDefaultCaptionHeight = 20;
    TqxSkinBorderStyle FBorderStyle = TqxSkinBorderStyle::bvFrame;
    bool FCaptionMode = false;
    bool FRollUpMode = false;
    bool FRollUpState = false;
    std::unique_ptr<TBitmap> FGlyph;
    TqxSkinPanelNumGlyphs FNumGlyphs = 1;
    Integer FSpacing = 2;
    // The constraints a roll-up cleared, and whether there are any.
    Integer FCMaxWidth = 0;
    Integer FCMinWidth = 0;
    Integer FCMaxHeight = 0;
    Integer FCMinHeight = 0;
    bool FConstraintsSaved = false;
    // The children the roll-up hid.
    std::vector<TControl*> FRolledChildren;
};

using TqxPaintPanelEvent = std::function<void(TCanvas* Cnvs, const TRect& R)>;

class TqxSkinPaintPanel : public TqxSkinPanel {
public:
    explicit TqxSkinPaintPanel(TComponent* AOwner);

    void PanelPaint(TCanvas* ACanvas) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& AMessage) override;

    TqxPaintPanelEvent OnPanelPaint;
};

class TqxSkinGroupBox : public TqxSkinPanel {
public:
    explicit TqxSkinGroupBox(TComponent* AOwner);

    void GetSkinData() override;
};
