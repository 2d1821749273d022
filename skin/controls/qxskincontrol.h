// The bases of every windowed skinned control. TqxSkinControl ties a
// control to one element of the loaded skin (the skin data, the section
// name, the element's index), paints through one off-screen bitmap and
// takes part in the skin change. TqxSkinCustomControl adds what a
// resizable skinned control needs: the element's geometry and resize mode,
// the control image at any size, the window region cut from the mask, the
// default size and font of the unskinned look, and the direct painting of
// containers whose client area shows the skin background.
//
// Without skin data, with an empty one, or without an element of the
// section name, the element index is -1 and the control draws its default
// look.
#pragma once

#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/core/qxskindata.h"

class TqxSkinControl : public TCustomControl, public IqxSkinChangeable {
public:
    explicit TqxSkinControl(TComponent* AOwner);
    ~TqxSkinControl() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // Stores it; a skin data with a skin re-skins the control at once. Nil
    // takes the control's region away: the default look is not cut to the
    // old shape.
    virtual void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    // Stored only: the next GetSkinData looks the element up.
    virtual void SetSkinDataName(const String& AValue);
    // The skinned hint's title and image.
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& AValue) { FHintTitle = AValue; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(Integer AValue) { FHintImageIndex = AValue; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* AValue);

    // The skin protocol.
    // The element's index by the section name, -1 without one.
    virtual void GetSkinData();
    virtual void CreateControlDefaultImage(TBitmap* B);
    virtual void CreateControlSkinImage(TBitmap* B);
    // Reloads the element and repaints.
    void ChangeSkinData() override;
    // The old skin goes: the element is forgotten.
    void BeforeChangeSkinData() override;
    // Not called by the skin change; descendants may use it.
    virtual void AfterChangeSkinData() {}
    // A parent changed its size or background (SKINMSG_PARENTBG).
    virtual void CheckParentBackground() {}

    // The whole control through one bitmap: the skin image or the default look.
    void Paint() override;
    void Dispatch(TMessage& AMessage) override;

    // Index of the element in the skin's control list; -1: the default look.
    Integer FIndex = -1;
    // True while the control handles WM_PAINT.
    bool FromWMPaint = false;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The window region goes (the window gives it up) and the control repaints.
    void RemoveRegion();

    // The region the window holds (the window owns it), nullptr for none.
    win::HRGN FRgn = nullptr;

private:
    TqxSkinData* FSD = nullptr;
    String FSkinDataName;
    String FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

class TqxSkinCustomControl : public TqxSkinControl, public TqxSkinGeometry {
public:
    explicit TqxSkinCustomControl(TComponent* AOwner);
    ~TqxSkinCustomControl() override;

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
    const TRect& RealClientRect() const { return NewClRect; }

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    // The default font changed.
    virtual void DefaultFontChanged() {}
    // The size the control takes for its element, and the New* values there.
    virtual void CalcSize(Integer& W, Integer& H);
    // The window region from the element's mask, or none.
    virtual void SetControlRegion();

    // The image of ARect of APicture at the control's size.
    void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
    // Where a rectangle relative to SkinRect lies at the control's size.
    TRect MapSkinRect(const TRect& R);
    // SKINMSG_PARENTBG to every child.
    void BroadcastParentBackground();

    void Paint() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void CreateWnd() override;

    // Containers: paint the frame strips and the client background straight
    // onto the canvas (nine-part elements only).
    bool ForcebackGround = false;
    // With ForcebackGround: fill the client area from the skin too.
    bool DrawbackGround = true;
    // The element's picture and mask, borrowed from the skin; nil without.
    TBitmap* Picture = nullptr;
    TBitmap* MaskPicture = nullptr;

private:
    void DefaultFontChange(TObject* Sender);
    void PaintContainer();

    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};
