// The scrolling pages: containers whose children may reach beyond them
// along one axis, scrolled by two 12-pixel buttons in their non-client
// area. TqxRibbonCustomPage scrolls sideways (the ribbon's pages),
// TqxAppMenuCustomPage up and down (the application menu's pages). They are
// plain controls that draw their buttons from the skin of the control they
// are linked to, with its "resizetoolbutton" element, or in the default look.
#pragma once

#include "platform/toolkit/controls.h"
#include "skin/core/qxskindata.h"

class TqxScrollingPage : public TCustomControl {
public:
    struct TqxPageScrollButton {
        TRect Rect;  // window coordinates
        bool MouseIn = false;
        bool Down = false;
        bool Visible = false;
    };
    // The button sizes across the axis.
    static constexpr Integer ButtonSize = 12;

    ~TqxScrollingPage() override;

    // Without it the page never scrolls and has no buttons.
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool AValue) { FCanScroll = AValue; }
    // Scrolling starts already when the mouse rests on a button.
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool AValue) { FHotScroll = AValue; }
    // One step; 0 is a whole client width (height). Negative values are ignored.
    Integer ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(Integer AValue);
    // The repeat while a button is held, ms; values <= 0 are ignored.
    Integer ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(Integer AValue);
    // Stored; the children are not moved by it.
    Integer Position() const { return SPosition; }
    void SetPosition(Integer AValue);

    // The current bounds again, so that a descendant recomputes them.
    void UpDateSize();
    virtual void GetScrollInfo();

    void WndProc(TMessage& AMessage) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;
    void Paint() override {}
    // A page that paints no background of its own shows what lies behind
    // it, so it never stands out of a skinned form.
    void Dispatch(TMessage& AMessage) override;

    // 0 none, 1 stepping backward, 2 forward.
    Integer TimerMode = 0;
    Integer SMax = 0;
    Integer SPosition = 0;
    Integer SPage = 0;
    Integer SOldPosition = 0;
    // By how much the page grew along the axis at its last resize.
    Integer FSizeOffset = 0;
    // 0 backward (left, up), 1 forward.
    TqxPageScrollButton Buttons[2];
    bool FMouseIn = false;

protected:
    TqxScrollingPage(TComponent* AOwner, bool AVertical);
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The skinned control whose skin the buttons take; nil without.
    void SetSkinSource(TControl* AValue);
    TControl* SkinSource() const { return FSkinSource; }
    // After the children moved.
    virtual void ContentScrolled() {}
    // Everything fits: whether the applied position is forgotten too.
    virtual bool ResetOldPositionWhenFits() const { return false; }
    // Whether the button rectangles are laid out on a resize.
    virtual bool PlacesButtons() const { return true; }

private:
    Integer Along(Integer AX, Integer AY) const { return FVertical ? AY : AX; }
    Integer ClientSize() { return FVertical ? ClientHeight() : ClientWidth(); }
    void CalcScrollRange();
    void ScrollContent(Integer ADelta);
    void ShowScrollButtons(bool AShow);
    void ScrollStep(bool AForward);
    void StartScrollTimer();
    void StopScrollTimer();
    void PageMouseEnter();
    void PageMouseLeave();
    bool ScrollButtonsShown() const { return FCanScroll && (Buttons[0].Visible || Buttons[1].Visible); }
    // The hot visible button (backward first), -1 without.
    Integer HotButton() const;
    void RepaintButtons();
    // The button rectangles for the current size, then a repaint.
    void PlaceButtons();
    // The visible buttons onto a DC of the whole window.
    void PaintButtons(win::HDC ADC);
    void NCCalcSize(TMessage& AMessage);
    bool Handled(TMessage& AMessage);

    bool FVertical;
    bool FCanScroll = true;
    bool FHotScroll = false;
    Integer FScrollOffset = 0;
    Integer FScrollTimerInterval = 50;
    TControl* FSkinSource = nullptr;
};

class TqxRibbonCustomPage : public TqxScrollingPage {
public:
    explicit TqxRibbonCustomPage(TComponent* AOwner);
    // The ribbon whose skin the page uses.
    TControl* Ribbon() const { return SkinSource(); }
    void SetRibbon(TControl* AValue) { SetSkinSource(AValue); }

protected:
    void ContentScrolled() override;
};

class TqxAppMenuCustomPage : public TqxScrollingPage {
public:
    explicit TqxAppMenuCustomPage(TComponent* AOwner);
    // The application menu whose skin the page uses.
    TControl* AppMenu() const { return SkinSource(); }
    void SetAppMenu(TControl* AValue) { SetSkinSource(AValue); }
    // Set by the menu while the page is not on screen: no range is computed.
    bool FStopScroll = true;
    void GetScrollInfo() override;

protected:
    bool ResetOldPositionWhenFits() const override { return true; }
    bool PlacesButtons() const override { return AppMenu() != nullptr; }
};
