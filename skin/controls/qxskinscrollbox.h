// The skinned scroll box: a container whose children may reach beyond its
// visible area. It has no bars of its own: two external skinned scroll
// bars are attached, it computes their ranges from the children's extents,
// shows or hides them and moves the children when they move. Its frame
// lies in the non-client area (the "scrollbox" element's border, or a
// one-pixel 3-D frame), its background is the element's client piece or
// the element's background picture and stays in place while the children
// scroll.
#pragma once

#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"

class TqxSkinScrollBox : public TqxSkinCustomControl {
public:
    explicit TqxSkinScrollBox(TComponent* AOwner);

    TqxSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TqxSkinScrollBar* AValue);
    TqxSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TqxSkinScrollBar* AValue);
    TqxSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TqxSkinBorderStyle AValue);
    // A click focuses the box.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool AValue) { FCanFocused = AValue; }

    // Both ranges again, after the content changed.
    void UpDateScrollRange();
    void GetVRange() { GetRange(true); }
    void GetHRange() { GetRange(false); }
    // Scrolls to APosition, kept within the bar's Min .. Max - PageSize.
    void HScroll(Integer APosition) { Scroll(false, APosition); }
    void VScroll(Integer APosition) { Scroll(true, APosition); }
    // Scrolls a direct child lying partly outside the visible area into view.
    void ScrollToControl(TControl* AControl);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void ChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;
    void Paint() override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;

    // The element's background picture; -1 for none.
    Integer BGPictureIndex = -1;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void CreateParams(TCreateParams& AParams) override;

private:
    // One direction's bar, applied position and growth.
    struct TAxis {
        TqxSkinScrollBar*& Bar;
        Integer& OldPos;
        Integer& SizeOffset;
    };
    TAxis Axis(bool AVertical) {
        return AVertical ? TAxis{FVScrollBar, FOldVScrollBarPos, FVSizeOffset}
                         : TAxis{FHScrollBar, FOldHScrollBarPos, FHSizeOffset};
    }
    void AttachBar(bool AVertical, TqxSkinScrollBar* AValue);
    void BarChanged(bool AVertical);
    void MoveContent(bool AVertical, Integer ADelta);
    void GetRange(bool AVertical);
    void ShowBar(TqxSkinScrollBar* ABar, bool AShow);
    void Scroll(bool AVertical, Integer APosition);
    // The skinned background picture, nil without.
    TBitmap* BackgroundPicture();
    bool HasFrame();
    void NCCalcSize(TMessage& AMessage);
    // The frame onto a DC of the whole window; false when there is none.
    bool PaintFrame(win::HDC ADC);

    TqxSkinScrollBar* FVScrollBar = nullptr;
    TqxSkinScrollBar* FHScrollBar = nullptr;
    TqxSkinBorderStyle FBorderStyle = TqxSkinBorderStyle::bvFrame;
    bool FCanFocused = false;
    Integer FOldVScrollBarPos = 0;
    Integer FOldHScrollBarPos = 0;
    Integer FVSizeOffset = 0;
    Integer FHSizeOffset = 0;
    bool FInCheckScrollBars = false;
    bool FClicksDisabled = false;
};
