#include "skin/controls/qxskinupdown.h"

#include <gtest/gtest.h>

#include "controltest.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

class SkinUpDown : public ControlTest {
protected:
    // A horizontal pair of 40 x 20: the down button left, the up button right.
    TqxSkinUpDown* UpDown() {
        auto* updown = Add<TqxSkinUpDown>(20, 20, 40, 20);
        updown->OnChange = [this](TObject*) { ++FChanges; };
        updown->OnUpButtonClick = [this](TObject*) { ++FUps; };
        updown->OnDownButtonClick = [this](TObject*) { ++FDowns; };
        Pump();
        return updown;
    }
    POINT Up(TqxSkinUpDown* A) { return ScreenPoint(A->Handle(), 30, 10); }
    POINT Down(TqxSkinUpDown* A) { return ScreenPoint(A->Handle(), 10, 10); }
    void Press(POINT P) {
        driver::MouseMove(P);
        driver::MouseDown(P);
        Pump();
    }
    void Release(POINT P) {
        driver::MouseUp(P);
        Pump();
    }

    Integer FChanges = 0;
    Integer FUps = 0;
    Integer FDowns = 0;
};

TEST_F(SkinUpDown, AClickStepsOnReleaseAndAtTheEndOnlyClicks) {
    TqxSkinUpDown* updown = UpDown();
    updown->SetMax(2);
    Press(Up(updown));
    EXPECT_EQ(0, updown->Position());
    Release(Up(updown));
    EXPECT_EQ(1, updown->Position());
    driver::Click(Up(updown));
    driver::Click(Up(updown));
    Pump();
    EXPECT_EQ(2, updown->Position());
    EXPECT_EQ(2, FChanges);
    EXPECT_EQ(3, FUps);
    // Max below the position pulls it down without OnChange.
    updown->SetMax(1);
    EXPECT_EQ(1, updown->Position());
    EXPECT_EQ(2, FChanges);
    driver::Click(Down(updown));
    Pump();
    EXPECT_EQ(0, updown->Position());
    EXPECT_EQ(1, FDowns);
}

TEST_F(SkinUpDown, HoldingRepeatsAfterADelayAndSlidingOffPauses) {
    TqxSkinUpDown* updown = UpDown();
    Press(Up(updown));
    AdvanceTime(500);
    EXPECT_EQ(0, updown->Position());
    AdvanceTime(300);
    EXPECT_EQ(3, updown->Position());
    driver::MouseMove(ScreenPoint(FForm->Handle(), 300, 250));
    Pump();
    AdvanceTime(500);
    EXPECT_EQ(3, updown->Position());
    driver::MouseMove(Up(updown));
    Pump();
    AdvanceTime(100);
    EXPECT_EQ(5, updown->Position());
    Release(Up(updown));
    EXPECT_EQ(6, updown->Position());
    AdvanceTime(500);
    EXPECT_EQ(6, updown->Position());
}

TEST_F(SkinUpDown, ReleasingOverTheOtherButtonDoesNothing) {
    TqxSkinUpDown* updown = UpDown();
    Press(Up(updown));
    driver::MouseMove(Down(updown));
    Release(Down(updown));
    EXPECT_EQ(0, updown->Position());
    EXPECT_EQ(0, FUps + FDowns + FChanges);
    // The dividing line belongs to button 0.
    const POINT middle = ScreenPoint(updown->Handle(), 20, 10);
    driver::Click(middle);
    Pump();
    EXPECT_EQ(1, FUps);
}

TEST_F(SkinUpDown, WithoutAnIncrementOnlyTheEvents) {
    TqxSkinUpDown* updown = UpDown();
    updown->SetIncrement(0);
    Press(Up(updown));
    AdvanceTime(1000);
    Release(Up(updown));
    EXPECT_EQ(0, updown->Position());
    EXPECT_EQ(0, FChanges);
    EXPECT_EQ(1, FUps);
}

TEST_F(SkinUpDown, TheSkinsButtonsAndLooks) {
    LoadFlat();
    TqxSkinUpDown* updown = UpDown();
    updown->SetSkinDataName(u"updown");
    updown->SetSkinData(FSkin);
    EXPECT_EQ(40, updown->Width());
    EXPECT_EQ(20, updown->Height());
    // The control picture holds the buttons' normal looks.
    EXPECT_EQ(FlatColor(u"updown", u"upbuttonrect", fpWhole), PixelOf(updown->Handle(), 30, 10));
    driver::MouseMove(Up(updown));
    Pump();
    EXPECT_EQ(FlatColor(u"updown", u"activeupbuttonrect", fpWhole), PixelOf(updown->Handle(), 30, 10));
    Press(Up(updown));
    EXPECT_EQ(FlatColor(u"updown", u"downupbuttonrect", fpWhole), PixelOf(updown->Handle(), 30, 10));
    Release(Up(updown));
    // Without the skin's size, any size, drawn from "resizebutton".
    updown->SetUseSkinSize(false);
    updown->SetBounds(20, 20, 60, 24);
    EXPECT_EQ(60, updown->Width());
    EXPECT_EQ(FlatColor(u"resizebutton", u"skinrect", fpLeftTop), PixelOf(updown->Handle(), 1, 1));
}

}  // namespace
