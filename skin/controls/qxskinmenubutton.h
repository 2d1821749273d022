// The windowed skinned button with a drop-down menu: a press anywhere or,
// in TrackButtonMode, only on its track part opens the menu below it, as
// do space (outside track mode) and the caption's accelerator; it stays
// down until the menu reports its closing. It draws like the menu speed
// button, with the push button's focus mark and without a flat look.
#pragma once

#include "platform/toolkit/menus.h"
#include "skin/controls/qxskinbutton.h"

class TqxSkinMenuButton : public TqxSkinButton {
public:
    explicit TqxSkinMenuButton(TComponent* AOwner);

    // Only the track part opens the menu; the rest clicks.
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool AValue);
    // The skinned popup menu (a toolkit menu that answers SkinPopupMenuOf).
    TPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TPopupMenu* AValue) { SetReference(this, FSkinPopupMenu, AValue); }

    // Goes down and opens the menu.
    void DropDown();
    // Whether a press at (X, Y) opens the menu.
    virtual bool CanTrackMenu(Integer X, Integer Y);
    // Opens the menu under the button.
    virtual void TrackMenu();

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // The skin's track rectangle (menu-button elements), relative to the element.
    TRect TrackButtonRect;
    // A menu the button opened is open.
    bool FMenuTracked = false;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // Down, tracked, and the menu open.
    void OpenMenu();
    void MenuClosed();
    bool KeyHandled(TMessage& AMessage);
    TqxMenuButtonPaint Variant();

    bool FTrackButtonMode = false;
    TPopupMenu* FSkinPopupMenu = nullptr;
};
