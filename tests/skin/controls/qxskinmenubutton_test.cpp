#include "skin/controls/qxskinmenubutton.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/input.h"

namespace {

using namespace skinfixtures;
using namespace win;

class MenuButton : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        FMenu = new TRecordingMenu(FForm);
    }
    TqxSkinMenuButton* Button(bool ATrackButtonMode, Integer AWidth = 80) {
        auto* button = Add<TqxSkinMenuButton>(20, 20, AWidth, 25);
        button->SetCaption(u"&Open");
        button->SetSkinPopupMenu(FMenu);
        button->SetTrackButtonMode(ATrackButtonMode);
        button->OnClick = [this](TObject*) { ++FClicks; };
        button->OnShowTrackMenu = [this](TObject*) { ++FShown; };
        button->OnHideTrackMenu = [this](TObject*) { ++FHidden; };
        Pump();
        return button;
    }
    static POINT On(TWinControl* AControl, Integer X, Integer Y) { return ScreenPoint(AControl->Handle(), X, Y); }
    static void Move(POINT APoint) {
        driver::MouseMove(APoint);
        Pump();
    }
    static void Press(POINT APoint) {
        driver::MouseDown(APoint);
        Pump();
    }
    static void Release(POINT APoint) {
        driver::MouseUp(APoint);
        Pump();
    }
    static void Key(BYTE AKey, bool ADown) {
        if (ADown)
            driver::KeyDown(AKey);
        else
            driver::KeyUp(AKey);
        Pump();
    }

    TRecordingMenu* FMenu = nullptr;
    Integer FClicks = 0;
    Integer FShown = 0;
    Integer FHidden = 0;
};

TEST_F(MenuButton, APressOpensTheMenuWithoutAClickAndTheCloseLeavesItUp) {
    TqxSkinMenuButton* button = Button(false);
    Move(On(button, 10, 10));
    Press(On(button, 10, 10));
    EXPECT_EQ(1, FMenu->Opened);
    EXPECT_EQ(button, FMenu->Opener);
    EXPECT_FALSE(FMenu->Up);
    const POINT origin = ScreenPoint(button->Handle(), 0, 0);
    EXPECT_EQ(Bounds(origin.x, origin.y, 80, 25), FMenu->Under);
    EXPECT_TRUE(button->Down());
    Release(On(button, 10, 10));
    EXPECT_TRUE(button->Down());
    // Closed with the pointer still over it: up, and hovered.
    FMenu->Close();
    Pump();
    EXPECT_FALSE(button->Down());
    EXPECT_TRUE(button->MouseIn());
    EXPECT_FALSE(button->FMenuTracked);
    EXPECT_EQ(0, FClicks);
    EXPECT_EQ(1, FShown);
    EXPECT_EQ(1, FHidden);
    // Closed with the pointer elsewhere: not hovered.
    Press(On(button, 10, 10));
    Release(On(button, 10, 10));
    Move(ScreenPoint(FForm->Handle(), 380, 280));
    FMenu->Close();
    Pump();
    EXPECT_FALSE(button->MouseIn());
}

TEST_F(MenuButton, InTrackModeWithoutAnElementOnlyTheRightFifteenPixelsOpen) {
    TqxSkinMenuButton* button = Button(true);
    Move(On(button, 64, 10));
    Press(On(button, 64, 10));
    Release(On(button, 64, 10));
    EXPECT_EQ(0, FMenu->Opened);
    EXPECT_EQ(1, FClicks);
    Press(On(button, 65, 10));
    EXPECT_EQ(1, FMenu->Opened);
    // The default look while tracked: main part hovered, track part down.
    EXPECT_EQ(ColorToRGB(DefaultHoverFill), PixelOf(button->Handle(), 30, 3));
    EXPECT_EQ(ColorToRGB(DefaultDownFill), PixelOf(button->Handle(), 75, 3));
    FMenu->Close();
    Pump();
    EXPECT_EQ(1, FClicks);
    EXPECT_TRUE(button->CanTrackMenu(80, 25));
    button->SetSkinPopupMenu(nullptr);
    EXPECT_FALSE(button->CanTrackMenu(70, 10));
}

TEST_F(MenuButton, SpaceOpensOutsideTrackModeAndClicksInIt) {
    struct TCase {
        bool TrackButtonMode;
        Integer Opened;
        Integer Clicks;
    };
    for (const TCase c : {TCase{false, 1, 0}, TCase{true, 0, 1}}) {
        SCOPED_TRACE(c.TrackButtonMode);
        FClicks = 0;
        FMenu->Opened = 0;
        TqxSkinMenuButton* button = Button(c.TrackButtonMode);
        button->SetFocus();
        Pump();
        Key(VK_SPACE, true);
        EXPECT_EQ(c.Opened, FMenu->Opened);
        EXPECT_EQ(c.Opened == 1, button->Down());
        Key(VK_SPACE, false);
        EXPECT_EQ(c.Clicks, FClicks);
        if (c.Opened) FMenu->Close();
        Pump();
        EXPECT_FALSE(button->Down());
        delete button;
    }
}

TEST_F(MenuButton, TheAcceleratorOpensTheMenuAndEnterClicksOnRelease) {
    TqxSkinMenuButton* button = Button(false);
    auto* other = Add<TqxSkinButton>(200, 20, 75, 25);
    other->SetFocus();
    Pump();
    driver::KeyDown(VK_MENU);
    driver::Key('O');
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(1, FMenu->Opened);
    EXPECT_TRUE(button->Focused());
    EXPECT_TRUE(button->Down());
    FMenu->Close();
    Pump();
    // Enter clicks once, on its release.
    Key(VK_RETURN, true);
    EXPECT_EQ(0, FClicks);
    Key(VK_RETURN, false);
    EXPECT_EQ(1, FClicks);
    EXPECT_EQ(1, FMenu->Opened);
}

TEST_F(MenuButton, TheSkinsTrackPartOpensAndShowsItsDownLook) {
    LoadFlat();
    FSkin->SetEnableSkinEffects(false);
    TqxSkinMenuButton* button = Button(true, 70);
    button->SetSkinData(FSkin);
    Pump();
    EXPECT_EQ(u"toolmenubutton", button->SkinDataName());
    Move(On(button, 30, 12));
    Press(On(button, 30, 12));
    Release(On(button, 30, 12));
    EXPECT_EQ(0, FMenu->Opened);
    EXPECT_EQ(1, FClicks);
    Press(On(button, 56, 12));
    EXPECT_EQ(1, FMenu->Opened);
    EXPECT_EQ(FlatColor(u"toolmenubutton", u"downskinrect", fpRight), PixelOf(button->Handle(), 62, 3));
    FMenu->Close();
    Pump();
    EXPECT_NE(FlatColor(u"toolmenubutton", u"downskinrect", fpRight), PixelOf(button->Handle(), 62, 3));
}

TEST_F(MenuButton, TheStretchedVariantShowsTheMarkerInTheRightStrip) {
    LoadFlat();
    FSkin->SetEnableSkinEffects(false);
    TqxSkinMenuButton* button = Button(true, 70);
    button->SetCaption(u"");
    button->SetSkinDataName(u"toolbutton");
    button->SetSkinData(FSkin);
    Press(On(button, 60, 10));
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpCenter), PixelOf(button->Handle(), 20, 12));
    EXPECT_EQ(FlatColor(u"toolbutton", u"downskinrect", fpCenter), PixelOf(button->Handle(), 62, 9));
    // Closed under the pointer: hovered, the strip no longer down.
    FMenu->Close();
    Pump();
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpCenter), PixelOf(button->Handle(), 62, 9));
}

}  // namespace
