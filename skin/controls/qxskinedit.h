// The skinned edit: the inner edit's window does the typing, caret and
// selection; the edit draws the rest itself. The window's frame is widened
// to the skin's, so the frame, an edit button at the right and the hover
// and focus looks are painted in the non-client area, and the text area is
// painted over the skin's middle section. Two image buttons may sit at the
// ends of the text area. The frame and its paint-into-DC answers are in
// qxskineditpaint.cpp.
#pragma once

#include <memory>

#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxcustomedit.h"
#include "skin/controls/qxskinlink.h"

class TqxDataSkinButtonControl;

class TqxSkinCustomEdit : public TqxCustomEdit, public IqxSkinChangeable {
public:
    // An image button: where it is in client coordinates, hovered, held.
    struct TImageButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    // The hit-test answers of the image buttons; the edit button answers
    // HTHSCROLL and the rest of the frame HTVSCROLL.
    static constexpr win::LRESULT HTLEFTIMAGE = 104;
    static constexpr win::LRESULT HTRIGHTIMAGE = 105;

    explicit TqxSkinCustomEdit(TComponent* AOwner);
    ~TqxSkinCustomEdit() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // A skin data with a skin re-skins the edit at once.
    virtual void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    // Skinned: the element's font and the picture's height.
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    // The font without a skin (and without UseSkinFont): "Tahoma", 13, black.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer AValue);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);
    // An edit button at the right end.
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool AValue);
    Integer ButtonImageIndex() const { return FButtonImageIndex; }
    void SetButtonImageIndex(Integer AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(Integer AValue);
    Integer LeftImageHotIndex() const { return FLeftImageHotIndex; }
    void SetLeftImageHotIndex(Integer AValue) { FLeftImageHotIndex = AValue; }
    Integer LeftImageDownIndex() const { return FLeftImageDownIndex; }
    void SetLeftImageDownIndex(Integer AValue) { FLeftImageDownIndex = AValue; }
    Integer RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(Integer AValue);
    Integer RightImageHotIndex() const { return FRightImageHotIndex; }
    void SetRightImageHotIndex(Integer AValue) { FRightImageHotIndex = AValue; }
    Integer RightImageDownIndex() const { return FRightImageDownIndex; }
    void SetRightImageDownIndex(Integer AValue) { FRightImageDownIndex = AValue; }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData();
    void BeforeChangeSkinData() override;
    // Font, height, window, colour and frame from the element (or without one).
    void ChangeSkinData() override;
    // The element is refused and the control takes its default look.
    void PaintFailed() override;
    // The frame, the edit button and AText on the text area into C at X, Y.
    void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);
    // The height the font, the images and the frame need.
    Integer CalcEditHeight();
    void AdjustEditHeight();
    // The text area and the edit button in window coordinates.
    void CalcEditRects();
    // The image buttons; with AApply the text goes between them.
    void CalcImageButtons(bool AApply);

    void TransparentRepaint() override;
    void PaintEditToDC(win::HDC ADC) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    void Loaded() override;

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnLeftButtonClick;
    TNotifyEvent OnRightButtonClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    TRect FEditRect;
    TRect FButtonRect;
    TImageButton LeftButton;
    TImageButton RightButton;
    bool FButtonDown = false;
    bool FButtonActive = false;
    // The edit element's index, -1 unskinned, and its copied values.
    Integer FIndex = -1;
    TBitmap* Picture = nullptr;
    TRect SkinRect;
    TRect ActiveSkinRect;
    Integer LOffset = 0;
    Integer ROffset = 0;
    TRect ClRect;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor DisabledFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    bool StretchEffect = false;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool Skinned() const { return FIndex != -1; }
    bool HoverLook() const;
    void DefaultFontChange(TObject* Sender);
    void DoMouseEnter();
    void DoMouseLeave();
    void RepaintFrame();
    // The look shown: the active one while hovered or focused.
    const TRect& FaceRect();
    win::LRESULT HitTest(TPoint AScreen);
    void NCButtonDown(win::LRESULT AHit);
    void NCButtonUp(win::LRESULT AHit);
    void NCMouseMove(win::LRESULT AHit);
    void FocusChanged(bool AFocused);
    void StartHoverTimer();
    void StopHoverTimer();
    void PaintClientThrough(win::HDC ADC);
    void SetImageIndex(Integer& AField, Integer AValue);

    // Painting (qxskineditpaint.cpp).
    void NCPaint();
    void PaintFrameTo(win::HDC ADC, bool AExcludeEditRect);
    void DrawFrame(TBitmap* B, bool APlain);
    void DrawStretchedFrame(TBitmap* B);
    void DrawEditButton(TCanvas* C);
    void DrawButtonImage(TCanvas* C);
    void DrawEditBackground(TCanvas* C);
    void DrawImageButtons(TCanvas* C);
    void DrawDisabledText(TCanvas* C);
    // The text's font: the element's or DefaultFont; the colour is the caller's.
    void SetTextFont(TFont* AFont);

    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"edit";
    bool FUseSkinFont = true;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 0;
    bool FButtonMode = false;
    Integer FButtonImageIndex = -1;
    TCustomImageList* FImages = nullptr;
    Integer FLeftImageIndex = -1;
    Integer FLeftImageHotIndex = -1;
    Integer FLeftImageDownIndex = -1;
    Integer FRightImageIndex = -1;
    Integer FRightImageHotIndex = -1;
    Integer FRightImageDownIndex = -1;
    bool FMouseIn = false;
    bool FHoverTimer = false;
    // Set while the client area is painted through a bitmap.
    bool FPaintingClient = false;
};

class TqxSkinEdit : public TqxSkinCustomEdit {
public:
    using TqxSkinCustomEdit::TqxSkinCustomEdit;
};
