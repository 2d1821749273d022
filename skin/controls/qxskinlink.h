// What the windowed and the non-windowed skinned-control bases share, once
// for both: the link to a skin element (skin data, section name, element
// index, hints, mouse enter and leave events, painting through one bitmap),
// and for resizable controls the element's geometry, picture, default size
// and font, and the size rules. TqxSkinControl and TqxGraphicSkinControl
// (and their custom descendants) are these templates over the toolkit's
// TCustomControl and TGraphicControl; qxskinlink.cpp instantiates them.
#pragma once

#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/core/qxskindata.h"

// Points AField at AValue and moves AOwner's free notification along, so
// that AOwner hears when what it points at is freed.
template <typename T>
void SetReference(TComponent* AOwner, T*& AField, T* AValue) {
    if (AField == AValue) return;
    if (AField) AField->RemoveFreeNotification(AOwner);
    AField = AValue;
    if (AField) AField->FreeNotification(AOwner);
}

// A stopped timer owned by AOwner that runs ATick.
TTimer* MakeTimer(TComponent* AOwner, std::function<void(TObject*)> ATick);

// For a control that takes the focus when pressed: true when AMessage is
// to be dropped. A press on the unfocused control takes the focus first
// (with AClicksDisabled held) and is dropped when the focus did not come;
// CN_COMMAND is dropped while the focus is being taken.
bool DroppedWhileTakingFocus(TWinControl* AControl, const TMessage& AMessage, bool& AClicksDisabled);

// A part of the default look (an arrow or edit button, a tool-button face)
// with its 1-pixel frame: pressed and hot, hot, or idle in the button
// colours.
void DrawDefaultLookPart(TCanvas* ACanvas, const TRect& ARect, bool APressed, bool AHot);

// The character set of a skinned control's text: the skin's string table's
// when the skin data has one, else that of the control's default font.
TFontCharset SkinTextCharset(const TqxSkinData* ASkinData, const TFont* ADefaultFont);

// Clips a canvas further to a rectangle while it lives, then gives the
// canvas its clip back. Unlike SaveDC and RestoreDC it leaves the pen,
// brush and font the canvas selected alone.
class TqxCanvasClip {
public:
    TqxCanvasClip(TCanvas* ACanvas, const TRect& ARect);
    ~TqxCanvasClip();
    TqxCanvasClip(const TqxCanvasClip&) = delete;
    TqxCanvasClip& operator=(const TqxCanvasClip&) = delete;

private:
    win::HDC FDC;
    win::HRGN FSaved;
    bool FHadClip;
};

// The element of a loaded skin by its section name when it is of the kind
// T; nil without skin data, with an empty one, or for another kind.
template <typename T>
const T* FindSkinElement(const TqxSkinData* ASkinData, std::u16string_view AName) {
    if (!ASkinData || ASkinData->Empty) return nullptr;
    const Integer index = ASkinData->GetControlIndex(AName);
    return index < 0 ? nullptr : dynamic_cast<const T*>(ASkinData->CtrlList[index]);
}

template <typename TBase>
class TqxSkinLink : public TBase, public IqxSkinChangeable {
public:
    explicit TqxSkinLink(TComponent* AOwner) : TBase(AOwner) {}

    TqxSkinData* SkinData() const override { return FSD; }
    // Stores it; a skin data with a skin re-skins the control at once.
    virtual void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    // Stored only: the next GetSkinData looks the element up.
    virtual void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    // The skinned hint's title and image.
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& AValue) { FHintTitle = AValue; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(Integer AValue) { FHintImageIndex = AValue; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* AValue) { SetReference(this, FHintImageList, AValue); }

    // The element's index by the section name, -1 without one.
    virtual void GetSkinData();
    virtual void CreateControlDefaultImage(TBitmap*) {}
    virtual void CreateControlSkinImage(TBitmap*) {}
    // Reloads the element and repaints.
    void ChangeSkinData() override;
    // The whole control through one bitmap: the skin image or the default look.
    void Paint() override;
    // The element is refused and the control repaints in its default look.
    void PaintFailed() override;
    void Dispatch(TMessage& AMessage) override;

    // Index of the element in the skin's control list; -1: the default look.
    Integer FIndex = -1;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The skin data was set to nil or freed.
    virtual void SkinDataGone() {}

private:
    TqxSkinData* FSD = nullptr;
    String FSkinDataName;
    String FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

template <typename TBase>
class TqxSkinCustomLink : public TBase, public TqxSkinGeometry {
public:
    explicit TqxSkinCustomLink(TComponent* AOwner);
    ~TqxSkinCustomLink() override;

    // Size taken without an element; 0 keeps the size.
    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer AValue);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);
    // The unskinned look's font: "Tahoma", height 13.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    // Descendants take the font from the element.
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    const TRect& RealClientRect() const { return this->NewClRect; }

    void GetSkinData() override;
    // The client rectangle filled with clBtnFace.
    void CreateControlDefaultImage(TBitmap* B) override;
    // The image of SkinRect.
    void CreateControlSkinImage(TBitmap* B) override;
    // Reloads the element, takes its size (or the default size) and repaints.
    void ChangeSkinData() override;
    // The default font changed.
    virtual void DefaultFontChanged() {}
    // The size the control takes for its element, and the New* values there.
    virtual void CalcSize(Integer& W, Integer& H);
    // The image of ARect of APicture at the control's size.
    void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // The element's picture, borrowed from the skin; nil without.
    TBitmap* Picture = nullptr;

protected:
    // The element was read (nullptr: none, or not a resizable one).
    virtual void ElementRead(const TqxDataSkinCustomControl*) {}
    // Whether a nine-part element draws its nine parts here.
    virtual bool DrawsNineParts() const { return true; }
    // The size is in place: the region follows (windowed controls), then
    // the repaint.
    virtual void SizeApplied() { this->Repaint(); }
    // After SetBounds; ASizeChanged when the element's size rules ran.
    virtual void BoundsApplied(bool ASizeChanged) {
        if (ASizeChanged) this->Repaint();
    }

private:
    void DefaultFontChange(TObject* Sender);

    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};

extern template class TqxSkinLink<TCustomControl>;
extern template class TqxSkinLink<TGraphicControl>;
