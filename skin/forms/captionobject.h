// The caption of a skinned form: the form's text with the skin's light,
// shadow and text effects and its plate, the activation animation, and the
// quick buttons (small image buttons at the caption's left).
#pragma once

#include "platform/base/collections.h"
#include "platform/toolkit/imagelist.h"
#include "skin/forms/frameobjects.h"

class TqxAlphaInk;
class TqxDataSkinButtonControl;

class TqxQuickButtonItem : public TCollectionItem {
public:
    explicit TqxQuickButtonItem(TCollection* ACollection);
    // From another item: ImageIndex, Hint, Enabled and Visible.
    void Assign(TPersistent* ASource) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue) { FHint = AValue; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);

    TNotifyEvent OnClick;
    // The button's place in window coordinates, set by the caption's layout.
    TRect ItemRect;
    // Hovered, pressed.
    bool Active = false;
    bool Down = false;

private:
    Integer FImageIndex = -1;
    String FHint;
    bool FEnabled = true;
    bool FVisible = true;
};

class TqxQuickButtonItems : public TCollectionOf<TqxQuickButtonItem> {
public:
    explicit TqxQuickButtonItems(TqxDravenfold* AQXD);
    TqxDravenfold* QXD;

protected:
    // Repaints the form's frame, unless the component is being loaded.
    void Update(TCollectionItem* AItem) override;
};

class TqxSkinCaptionObject : public TqxActiveSkinObject {
public:
    // AData is the skin's caption element.
    TqxSkinCaptionObject(TqxDravenfold* AParent, TqxDataSkinObject* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    // Into the full-border layered frame's top image, keeping its alpha.
    void DrawAlpha(TCanvas* Cnvs, TqxBitmap* ABitMap) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseMove(Integer X, Integer Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool EnableAnimation();
    void TrackQuickButton(Integer X, Integer Y);
    void RedrawCaption();
    // The caption shows quick buttons: the component has some and an image list.
    bool HasQuickButtons() const;

    Integer ActiveQuickButton = -1;
    Integer OldActiveQuickButton = -1;
    Integer MouseCaptureQuickButton = -1;
    Integer PopupMenuQuickButton = -1;
    bool FDown = false;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taCenter;
    TRect TextRct;
    TRect FrameRect;
    TRect ActiveFrameRect;
    Integer FrameLeftOffset = 0;
    Integer FrameRightOffset = 0;
    TRect FrameTextRect;
    bool StretchEffect = false;
    bool FullFrame = false;
    Integer FIncTime = 0;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 0;
    Integer CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false;
    bool GlowEffect = false;
    bool GlowInActiveEffect = false;
    Integer GlowSize = 0;
    TColor GlowColor = 0;
    TColor GlowActiveColor = 0;
    Integer GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0;
    TColor ReflectionActiveColor = 0;
    Integer ReflectionOffset = 0;
    TRect DividerRect;
    TRect InActiveDividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    Integer QuickButtonAlphaMaskPictureIndex = -1;

private:
    String CaptionText() const;
    // The font of a pass in AColor.
    void SetCaptionFont(TCanvas* ACanvas, TColor AColor);
    // The text rectangle, relative to the object.
    TRect TextRectangle();
    // The text (with its plate and passes) on ACanvas at (X0, Y0), in the
    // active or inactive colours.
    void TextPass(TCanvas* ACanvas, Integer X0, Integer Y0, bool AActive);
    // The text in AText (relative to the object) at (X0, Y0): the plate
    // only with APlate, the layered frame's glow rules with ALayered.
    void DrawCaptionText(TCanvas* ACanvas, const TRect& AText, Integer X0, Integer Y0, bool AActive,
                         bool APlate, bool ALayered);
    // A pass's colour; white while the ink of the layered frame's alpha
    // mask is drawn.
    TColor Ink(TColor AColor) const;
    // A look of ObjectRect's size from ASource of APicture with the text pass.
    std::unique_ptr<TBitmap> BuildLook(TBitmap* APicture, const TRect& ASource, bool AActive);
    void DrawQuickButtons(TCanvas* ACanvas);
    // The divider at the object's left, centred, with the object at (X0, Y0).
    void DrawDivider(TCanvas* ACanvas, const TRect& ADivider, Integer X0, Integer Y0);
    // The hovered (or pressed) item's face at the size; its element, nil
    // for none.
    const TqxDataSkinButtonControl* QuickButtonFace(TqxQuickButtonItem* AItem, Integer AWidth,
                                                    Integer AHeight, TBitmap& AFace);
    void DrawQuickButton(TCanvas* ACanvas, TqxQuickButtonItem* AItem);
    Integer QuickImageWidth() const;
    // The divider and the quick buttons into the layered frame's top image;
    // the text area's left edge (relative to the object) after them.
    Integer DrawQuickButtonsAlpha(TqxAlphaInk& AInk);
    void DrawQuickButtonAlpha(TqxAlphaInk& AInk, TqxQuickButtonItem* AItem, const TRect& R);
    bool FMaskInk = false;
};
