#include "skin/controls/qxskinspeedbuttons.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/toolkit/edit.h"
#include "platform/win/input.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;

// A parent that hands its speed buttons image lists, as the tool bar does.
class TListsBar : public TCustomControl, public IqxToolButtonsParent {
public:
    using TCustomControl::TCustomControl;
    TCustomImageList* Images() const override { return FImages; }
    TCustomImageList* HotImages() const override { return FHotImages; }
    TCustomImageList* DisabledImages() const override { return FDisabledImages; }

    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
};

constexpr Cardinal Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

TColor Rgb(Cardinal C) {
    return TColor(RGB(Byte(C >> 16), Byte(C >> 8), Byte(C)));
}

class SpeedButton : public ControlTest {
protected:
    // A list of 16 x 16 images, each of one colour.
    TCustomImageList* Images(std::initializer_list<Cardinal> AColours) {
        auto* list = new TCustomImageList(16, 16, FForm);
        for (Cardinal colour : AColours) {
            TBitmap image;
            image.SetSize(16, 16);
            image.Canvas()->Brush()->SetColor(Rgb(colour));
            image.Canvas()->FillRect(Rect(0, 0, 16, 16));
            list->Add(&image, nullptr);
        }
        return list;
    }
    template <typename T = TqxSkinSpeedButton>
    T* Button(TWinControl* AParent, Integer ALeft, Integer ATop, Integer AWidth = 25, Integer AHeight = 25) {
        auto* button = new T(FForm);
        button->SetParent(AParent);
        button->SetBounds(ALeft, ATop, AWidth, AHeight);
        button->OnClick = [this](TObject*) { ++FClicks; };
        return button;
    }
    POINT On(TControl* AControl, Integer X, Integer Y) {
        return ScreenPoint(AControl->Parent()->Handle(), AControl->Left() + X, AControl->Top() + Y);
    }
    void Move(POINT APoint) {
        driver::MouseMove(APoint);
        Pump();
    }
    void Press(POINT APoint) {
        driver::MouseDown(APoint);
        Pump();
    }
    void Release(POINT APoint) {
        driver::MouseUp(APoint);
        Pump();
    }
    TColor At(TControl* AControl, Integer X, Integer Y) {
        return PixelOf(AControl->Parent()->Handle(), AControl->Left() + X, AControl->Top() + Y);
    }
    POINT Away() { return ScreenPoint(FForm->Handle(), 380, 280); }

    Integer FClicks = 0;
};

TEST_F(SpeedButton, ImageIndexStartsAtZero) {
    TqxSkinSpeedButton* button = Button(FForm, 20, 20);
    EXPECT_EQ(0, button->ImageIndex());
    button->SetImageList(Images({Red, Green}));
    EXPECT_EQ(Rgb(Red), At(button, 12, 12));
    EXPECT_EQ(ColorToRGB(clBtnFace), At(button, 2, 12));
    // An index outside the list draws the glyph (none) instead.
    button->SetImageIndex(5);
    EXPECT_EQ(ColorToRGB(clBtnFace), At(button, 12, 12));
}

TEST_F(SpeedButton, AFlatButtonOnABarShowsItsFaceAndHotImageOnlyWhenHovered) {
    LoadFlat();
    auto* bar = Add<TListsBar>(0, 0, 200, 40);
    bar->SetColor(TColor(0x123456));
    bar->FImages = Images({Red});
    bar->FHotImages = Images({Green});
    TqxSkinSpeedButton* button = Button(bar, 20, 5);
    button->SetFlat(true);
    button->SetSkinData(FSkin);
    Pump();
    EXPECT_TRUE(button->Transparent());
    EXPECT_EQ(TColor(0x123456), At(button, 1, 12));
    EXPECT_EQ(Rgb(Red), At(button, 12, 12));
    Move(On(button, 12, 12));
    EXPECT_FALSE(button->Transparent());
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpLeft), At(button, 1, 12));
    EXPECT_EQ(Rgb(Green), At(button, 12, 12));
    Move(Away());
    EXPECT_TRUE(button->Transparent());
    EXPECT_EQ(TColor(0x123456), At(button, 1, 12));
}

TEST_F(SpeedButton, ADisabledButtonDrawsTheDisabledListUnchanged) {
    auto* bar = Add<TListsBar>(0, 0, 200, 40);
    bar->FImages = Images({Red});
    TqxSkinSpeedButton* button = Button(bar, 20, 5);
    button->SetEnabled(false);
    // Without a disabled list the image is greyed.
    EXPECT_NE(Rgb(Red), At(button, 12, 12));
    bar->FDisabledImages = Images({Blue});
    button->Repaint();
    EXPECT_EQ(Rgb(Blue), At(button, 12, 12));
}

TEST_F(SpeedButton, ShowCaptionSwitchesTheWidth) {
    TqxSkinSpeedButton* button = Button(FForm, 20, 20, 80);
    button->SetCaption(u"打开");
    button->SetWidthWithCaption(80);
    button->SetWidthWithoutCaption(30);
    button->SetShowCaption(false);
    EXPECT_EQ(30, button->Width());
    button->SetShowCaption(true);
    EXPECT_EQ(80, button->Width());
    // Without both widths only the caption goes.
    button->SetWidthWithoutCaption(0);
    button->SetShowCaption(false);
    EXPECT_EQ(80, button->Width());
}

TEST_F(SpeedButton, ReleasingOutsideGivesNoClickAndTheAcceleratorClicks) {
    TqxSkinSpeedButton* button = Button(FForm, 20, 20, 60);
    button->SetCaption(u"添加(&A)");
    Move(On(button, 10, 10));
    Press(On(button, 10, 10));
    EXPECT_TRUE(button->Down());
    Move(Away());
    EXPECT_FALSE(button->MouseIn());
    Release(Away());
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(0, FClicks);
    driver::Click(On(button, 10, 10));
    Pump();
    EXPECT_EQ(1, FClicks);
    // It never takes the focus: the accelerator reaches it from an edit.
    Add<TEdit>(200, 20, 100, 24)->SetFocus();
    driver::KeyDown(VK_MENU);
    driver::Key('A');
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(2, FClicks);
    button->SetEnabled(false);
    driver::KeyDown(VK_MENU);
    driver::Key('A');
    driver::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(2, FClicks);
}

TEST_F(SpeedButton, TheDefaultLookByState) {
    TqxSkinSpeedButton* button = Button(FForm, 20, 20);
    EXPECT_EQ(DarkenColor(ColorToRGB(clBtnFace), 15), At(button, 0, 0));
    Move(On(button, 12, 12));
    EXPECT_EQ(Rgb(0x3B6BB7), At(button, 0, 0));
    EXPECT_EQ(Rgb(0xC1D4F3), At(button, 3, 3));
    Press(On(button, 12, 12));
    EXPECT_EQ(Rgb(0xA2BCE4), At(button, 3, 3));
    Release(On(button, 12, 12));
    // Flat and opaque: the face without a frame.
    Move(Away());
    button->SetFlat(true);
    button->SetTransparent(false);
    EXPECT_EQ(ColorToRGB(clBtnFace), At(button, 0, 0));
    EXPECT_EQ(1, FClicks);
}

TEST_F(SpeedButton, AGroupOfSpeedButtons) {
    TqxSkinSpeedButton* first = Button(FForm, 20, 20);
    TqxSkinSpeedButton* second = Button(FForm, 50, 20);
    for (TqxSkinSpeedButton* b : {first, second})
        b->SetGroupIndex(2);
    driver::Click(On(first, 10, 10));
    driver::Click(On(second, 10, 10));
    Pump();
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(2, FClicks);
    // A flat button set up by code after it was left goes transparent again.
    first->SetFlat(true);
    first->SetTransparent(false);
    first->SetDown(false);
    EXPECT_TRUE(first->Transparent());
}

TEST_F(SpeedButton, AnOpaqueButtonCrossFadesAFlatOneSwitchesAtOnce) {
    LoadFlat();
    TqxSkinSpeedButton* plain = Button(FForm, 20, 20);
    TqxSkinSpeedButton* flat = Button(FForm, 60, 20);
    flat->SetFlat(true);
    for (TqxSkinSpeedButton* b : {plain, flat})
        b->SetSkinData(FSkin);
    Move(On(plain, 12, 12));
    EXPECT_TRUE(plain->MorphRunning());
    driver::AdvanceTime(60);
    EXPECT_NEAR(0.6, plain->MorphKf(), 1e-9);
    driver::AdvanceTime(40);
    EXPECT_EQ(1, plain->MorphKf());
    EXPECT_FALSE(plain->MorphRunning());
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpLeft), At(plain, 1, 12));
    Move(On(flat, 12, 12));
    EXPECT_FALSE(flat->MorphRunning());
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpLeft), At(flat, 1, 12));
    // RefreshButton drops the hover look at once.
    flat->RefreshButton();
    plain->RefreshButton();
    EXPECT_EQ(0, plain->MorphKf());
    EXPECT_EQ(FlatColor(u"toolbutton", u"skinrect", fpLeft), At(plain, 1, 12));
}

class MenuSpeedButton : public SpeedButton {
protected:
    TqxSkinMenuSpeedButton* MenuButton(bool ATrackButtonMode, Integer AWidth = 60) {
        TqxSkinMenuSpeedButton* button = Button<TqxSkinMenuSpeedButton>(FForm, 20, 20, AWidth);
        button->SetSkinPopupMenu(FMenu);
        button->SetTrackButtonMode(ATrackButtonMode);
        button->OnShowTrackMenu = [this](TObject*) { ++FShown; };
        button->OnHideTrackMenu = [this](TObject*) { ++FHidden; };
        return button;
    }
    void SetUp() override {
        SpeedButton::SetUp();
        FMenu = new TRecordingMenu(FForm);
    }

    TRecordingMenu* FMenu = nullptr;
    Integer FShown = 0;
    Integer FHidden = 0;
};

TEST_F(MenuSpeedButton, WithoutTrackModeAnyPressOpensTheMenuAndNothingClicks) {
    TqxSkinMenuSpeedButton* button = MenuButton(false);
    Move(On(button, 5, 5));
    Press(On(button, 5, 5));
    EXPECT_EQ(1, FMenu->Opened);
    EXPECT_EQ(button, FMenu->Opener);
    EXPECT_FALSE(FMenu->Up);
    const POINT origin = ScreenPoint(FForm->Handle(), 20, 20);
    EXPECT_EQ(Bounds(origin.x, origin.y, 60, 25), FMenu->Under);
    EXPECT_TRUE(button->Down());
    EXPECT_TRUE(button->FMenuTracked);
    Release(On(button, 5, 5));
    EXPECT_TRUE(button->Down());
    // Closed with the pointer still over it: up and not hovered.
    FMenu->Close();
    Pump();
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->MouseIn());
    EXPECT_FALSE(button->FMenuTracked);
    EXPECT_EQ(0, FClicks);
    EXPECT_EQ(1, FShown);
    EXPECT_EQ(1, FHidden);
}

TEST_F(MenuSpeedButton, InTrackModeOnlyTheRightStripOpens) {
    TqxSkinMenuSpeedButton* button = MenuButton(true);
    Move(On(button, 44, 10));
    Press(On(button, 44, 10));
    Release(On(button, 44, 10));
    EXPECT_EQ(0, FMenu->Opened);
    EXPECT_EQ(1, FClicks);
    EXPECT_FALSE(button->Down());
    Press(On(button, 45, 10));
    EXPECT_EQ(1, FMenu->Opened);
    Release(On(button, 45, 10));
    FMenu->Close();
    Pump();
    EXPECT_EQ(1, FClicks);
    // Without a menu the strip is an ordinary part of the button.
    button->SetSkinPopupMenu(nullptr);
    EXPECT_FALSE(button->CanTrackMenu(50, 10));
    // The new style's strip lies at the bottom.
    button->SetSkinPopupMenu(FMenu);
    button->SetNewStyle(true);
    button->SetTrackPosition(qxtpBottom);
    EXPECT_EQ(u"resizetoolbutton", button->SkinDataName());
    EXPECT_TRUE(button->CanTrackMenu(5, 10));
    EXPECT_FALSE(button->CanTrackMenu(50, 9));
}

TEST_F(MenuSpeedButton, AFlatIdleButtonShowsOnlyItsCaptionImageAndMarker) {
    LoadFlat();
    TqxSkinMenuSpeedButton* button = MenuButton(false, 60);
    button->SetSkinDataName(u"resizetoolbutton");
    button->SetSkinData(FSkin);
    button->SetFlat(true);
    button->SetImageList(Images({Red}));
    Pump();
    // The form shows through everywhere but the image and the marker.
    EXPECT_EQ(FormPixel(10, 10), At(button, 1, 1));
    EXPECT_EQ(Rgb(Red), At(button, 22, 12));
    // The flat marker centred in the right strip, less 2 on the left.
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"menumarkerflatrect", fpWhole), At(button, 50, 12));
    // Opened, it shows its down face; closed, it is flat again.
    Press(On(button, 5, 5));
    EXPECT_EQ(FlatColor(u"resizetoolbutton", u"downskinrect", fpLeft), At(button, 1, 12));
    FMenu->Close();
    Pump();
    EXPECT_TRUE(button->Transparent());
    EXPECT_EQ(FormPixel(10, 10), At(button, 1, 1));
}

TEST_F(MenuSpeedButton, TheStretchedVariantDrawsItsMarkerInTheRightStrip) {
    LoadFlat();
    FSkin->SetEnableSkinEffects(false);
    TqxSkinMenuSpeedButton* button = MenuButton(true, 70);
    button->SetSkinDataName(u"toolbutton");
    button->SetSkinData(FSkin);
    Press(On(button, 60, 10));
    // Tracked: the main part hovered, the track part down.
    EXPECT_EQ(FlatColor(u"toolbutton", u"activeskinrect", fpCenter), At(button, 20, 12));
    EXPECT_EQ(FlatColor(u"toolbutton", u"downskinrect", fpCenter), At(button, 62, 3 + 6));
    FMenu->Close();
    Pump();
    EXPECT_EQ(FlatColor(u"toolbutton", u"skinrect", fpCenter), At(button, 20, 12));
}

TEST_F(MenuSpeedButton, TheSkinsTrackPartOpensAndShowsItsDownLook) {
    LoadFlat();
    FSkin->SetEnableSkinEffects(false);
    TqxSkinMenuSpeedButton* button = MenuButton(true, 70);
    button->SetSkinData(FSkin);
    Pump();
    EXPECT_EQ(u"toolmenubutton", button->SkinDataName());
    // The element's strip keeps its place at the right end of a wider button.
    EXPECT_EQ(Rect(55, 0, 70, 25), button->TrackPart());
    Move(On(button, 30, 12));
    Press(On(button, 30, 12));
    Release(On(button, 30, 12));
    EXPECT_EQ(0, FMenu->Opened);
    EXPECT_EQ(1, FClicks);
    Press(On(button, 56, 12));
    EXPECT_EQ(1, FMenu->Opened);
    EXPECT_EQ(FlatColor(u"toolmenubutton", u"activeskinrect", fpCenter), At(button, 30, 12));
    EXPECT_EQ(FlatColor(u"toolmenubutton", u"downskinrect", fpRight), At(button, 62, 3));
    FMenu->Close();
    Pump();
    EXPECT_EQ(FlatColor(u"toolmenubutton", u"skinrect", fpRight), At(button, 62, 3));
}

}  // namespace
