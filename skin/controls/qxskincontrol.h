// The bases of every windowed skinned control. TqxSkinControl ties a
// control to one element of the loaded skin (qxskinlink.h: the skin data,
// the section name, the element's index), paints through one off-screen
// bitmap and takes part in the skin change. TqxSkinCustomControl adds what a
// resizable skinned control needs: the element's geometry and resize mode,
// the control image at any size, the window region cut from the mask, the
// default size and font of the unskinned look, and the direct painting of
// containers whose client area shows the skin background.
//
// Without skin data, with an empty one, or without an element of the
// section name, the element index is -1 and the control draws its default
// look.
#pragma once

#include "skin/controls/qxskinlink.h"

// The default look's hot and pressed parts: a frame, filled while hovered
// and while pressed.
inline constexpr TColor DefaultLookFrame = TColor(0xB76B3B);
inline constexpr TColor DefaultLookHoverFill = TColor(0xF3D4C1);
inline constexpr TColor DefaultLookDownFill = TColor(0xE4BCA2);

class TqxDataSkinComboBox;

// The copies of a combo-box element that the skinned combo box and the
// office combo box keep.
struct TqxComboElementCopy {
    TRect ActiveSkinRect;
    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    Integer ItemLeftOffset = 0;
    Integer ItemRightOffset = 0;
    TRect ItemTextRect;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor FocusFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    bool ItemStretchEffect = false;
    bool FocusItemStretchEffect = false;
    bool ShowFocus = false;
};

// Every field from the element; an empty focus-item rectangle falls back to
// the item one.
void CopyComboElement(TqxComboElementCopy& ACopy, const TqxDataSkinComboBox& AElement);

class TqxSkinControl : public TqxSkinLink<TCustomControl> {
public:
    using TqxSkinLink<TCustomControl>::TqxSkinLink;

    // The old skin goes: the element is forgotten.
    void BeforeChangeSkinData() override;
    // Not called by the skin change; descendants may use it.
    virtual void AfterChangeSkinData() {}
    // A parent changed its size or background (SKINMSG_PARENTBG).
    virtual void CheckParentBackground() {}
    void Dispatch(TMessage& AMessage) override;

    // True while the control handles WM_PAINT.
    bool FromWMPaint = false;

protected:
    // Nil skin data takes the region away: the default look is not cut to
    // the old shape, and it takes its clicks.
    void SkinDataGone() override { RemoveRegion(); }
    // The window gives up its region and the control repaints.
    void RemoveRegion();
    // WM_ERASEBKGND of a control that paints itself whole into the erase
    // DC, unless the erase comes from its own paint.
    void PaintIntoEraseDC(TMessage& AMessage);

    // The region the window holds (the window owns it), nullptr for none.
    win::HRGN FRgn = nullptr;
};

class TqxSkinCustomControl : public TqxSkinCustomLink<TqxSkinControl> {
public:
    using TqxSkinCustomLink<TqxSkinControl>::TqxSkinCustomLink;

    void BeforeChangeSkinData() override;
    // The window region from the element's mask, or none.
    virtual void SetControlRegion();
    // Where a rectangle relative to SkinRect lies at the control's size.
    TRect MapSkinRect(const TRect& R);
    // SKINMSG_PARENTBG to every child.
    void BroadcastParentBackground();

    void Paint() override;
    void CreateWnd() override;

    // Containers: paint the frame strips and the client background straight
    // onto the canvas (nine-part elements only).
    bool ForcebackGround = false;
    // With ForcebackGround: fill the client area from the skin too.
    bool DrawbackGround = true;
    // The element's mask, borrowed from the skin; nil without.
    TBitmap* MaskPicture = nullptr;

protected:
    void ElementRead(const TqxDataSkinCustomControl* AElement) override;
    bool DrawsNineParts() const override { return !ForcebackGround; }
    void SizeApplied() override;
    void BoundsApplied(bool ASizeChanged) override;

private:
    void PaintContainer();
};

extern template class TqxSkinCustomLink<TqxSkinControl>;
