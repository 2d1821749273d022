#include "skin/controls/qxskinpanels.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/toolkit/buttons.h"
#include "skin/core/qxdrawing.h"

namespace {

using namespace skinfixtures;
using namespace win;

class SkinPanel : public ControlTest {
protected:
    template <typename T = TqxSkinPanel>
    T* Panel(bool ASkinned, Integer AWidth = 200, Integer AHeight = 120) {
        if (ASkinned && FSkin->Empty) LoadFlat();
        auto* panel = Add<T>(20, 20, AWidth, AHeight);
        if (ASkinned) panel->SetSkinData(FSkin);
        Pump();
        return panel;
    }
    TColor At(TWinControl* AControl, Integer X, Integer Y) { return PixelOf(AControl->Handle(), X, Y); }
};

TEST_F(SkinPanel, TheDefaultLookFramesAndCaptions) {
    TqxSkinPanel* panel = Panel(false);
    EXPECT_EQ(ColorToRGB(clBtnShadow), At(panel, 0, 50));
    EXPECT_EQ(ColorToRGB(clBtnFace), At(panel, 50, 50));
    // Children share the area inside the frame, below the caption strip.
    TRect client;
    panel->GetSkinClientRect(client);
    EXPECT_EQ(Rect(1, 1, 199, 119), client);
    panel->SetCaptionMode(true);
    panel->GetSkinClientRect(client);
    EXPECT_EQ(Rect(1, 21, 199, 119), client);
    EXPECT_EQ(ColorToRGB(clBtnShadow), At(panel, 100, 10));
    panel->SetBorderStyle(TqxSkinBorderStyle::bvRaised);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), At(panel, 0, 50));
    EXPECT_EQ(ColorToRGB(clBtnShadow), At(panel, 199, 50));
    panel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    panel->SetCaptionMode(false);
    panel->GetSkinClientRect(client);
    EXPECT_EQ(Rect(0, 0, 200, 120), client);
}

TEST_F(SkinPanel, AGroupBoxTakesItsFrameAndCaptionFromTheSkin) {
    auto* box = Panel<TqxSkinGroupBox>(true);
    box->SetCaption(u"预览");
    EXPECT_TRUE(box->CaptionMode());
    EXPECT_EQ(FlatColor(u"groupbox", u"skinrect", fpLeftTop), At(box, 2, 2));
    EXPECT_EQ(FlatColor(u"groupbox", u"skinrect", fpCenter), At(box, 100, 80));
    TRect client;
    box->GetSkinClientRect(client);
    EXPECT_EQ(Rect(6, 28, 194, 114), client);
    // With the skin's size off, the caption height is the panel's own.
    box->SetUseSkinSize(false);
    box->SetDefaultCaptionHeight(40);
    box->GetSkinClientRect(client);
    EXPECT_EQ(40, client.Top);
}

TEST_F(SkinPanel, RollingUpLeavesTheCaptionAndRollingDownOnlyShowsWhatItHid) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned);
        auto* box = Panel<TqxSkinGroupBox>(skinned);
        auto* shown = new TButton(FForm);
        shown->SetParent(box);
        auto* hidden = new TButton(FForm);
        hidden->SetParent(box);
        hidden->SetVisible(false);
        Integer changes = 0;
        box->OnChangeRollUpState = [&](TObject*) { ++changes; };
        box->SetRollUpMode(true);
        box->SetRollUpState(true);
        EXPECT_EQ(skinned ? 120 - (120 - 34) : 21, box->Height());
        EXPECT_EQ(120, box->RealHeight());
        EXPECT_FALSE(shown->Visible());
        box->SetRollUpState(false);
        EXPECT_EQ(120, box->Height());
        EXPECT_EQ(-1, box->RealHeight());
        EXPECT_TRUE(shown->Visible());
        EXPECT_FALSE(hidden->Visible());
        EXPECT_EQ(2, changes);
        delete box;
    }
}

TEST_F(SkinPanel, RollUpStateWithoutRollUpModeKeepsTheStateAndTheConstraints) {
    TqxSkinPanel* panel = Panel(false);
    panel->SetCaptionMode(true);
    panel->Constraints()->SetMinHeight(60);
    panel->SetRollUpState(true);
    EXPECT_FALSE(panel->RollUpState());
    EXPECT_EQ(60, panel->Constraints()->MinHeight());
    // A roll-up clears them; switched off, the next write brings them back.
    panel->SetRollUpMode(true);
    panel->SetRollUpState(true);
    EXPECT_EQ(0, panel->Constraints()->MinHeight());
    EXPECT_EQ(21, panel->Height());
    panel->SetRollUpState(false);
    panel->SetRollUpMode(false);
    panel->SetRollUpState(true);
    EXPECT_EQ(60, panel->Constraints()->MinHeight());
    EXPECT_EQ(120, panel->Height());
}

TEST_F(SkinPanel, CheckedFiresAlwaysButEnablesChildrenOnlyInCheckMode) {
    TqxSkinPanel* panel = Panel(false);
    auto* child = new TButton(FForm);
    child->SetParent(panel);
    child->SetBounds(100, 60, 50, 25);
    Integer checks = 0;
    panel->OnChecked = [&](TObject*) { ++checks; };
    panel->SetChecked(false);
    EXPECT_EQ(1, checks);
    EXPECT_TRUE(child->Enabled());
    panel->SetCheckedMode(true);
    panel->SetChecked(false);
    EXPECT_FALSE(child->Enabled());
    // A click on the caption strip toggles it.
    panel->SetCaptionMode(true);
    driver::Click(ScreenPoint(panel->Handle(), 60, 10));
    Pump();
    EXPECT_TRUE(panel->Checked());
    EXPECT_TRUE(child->Enabled());
    EXPECT_EQ(3, checks);
    // The box is drawn with its mark.
    EXPECT_EQ(ColorToRGB(clWindow), At(panel, 6, 5));
}

TEST_F(SkinPanel, EmptyDrawingAndZeroSizedPanelsPaintNothing) {
    FForm->SetColor(TColor(0x345678));
    TqxSkinPanel* panel = Panel(true);
    panel->SetEmptyDrawing(true);
    panel->SetCaptionMode(true);
    panel->Invalidate();
    // The window's own background stays: the form's colour.
    TRect client;
    panel->GetSkinClientRect(client);
    EXPECT_EQ(Rect(0, 0, 200, 120), client);
    TqxSkinPanel* empty = Panel(true, 0, 0);
    EXPECT_NO_THROW(empty->Repaint());
}

TEST_F(SkinPanel, ATransparentPanelShowsItsParentInsideItsFrame) {
    FForm->SetColor(TColor(0x345678));
    TqxSkinPanel* panel = Panel(true);
    panel->SetTransparentMode(true);
    EXPECT_EQ(TColor(0x345678), At(panel, 100, 60));
    EXPECT_EQ(FSkin->SkinColors()->cBtnShadow(), At(panel, 0, 60));
    // With a caption: a group frame around the parent's background.
    panel->SetCaption(u"参数");
    panel->SetCaptionMode(true);
    EXPECT_EQ(TColor(0x345678), At(panel, 100, 60));
    EXPECT_EQ(FSkin->SkinColors()->cBtnShadow(), At(panel, 199, 60));
    EXPECT_EQ(5, panel->NewCaptionRect.Left);
}

TEST_F(SkinPanel, AnEmptyClientPieceTilesNothing) {
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"panel", u"clientrect", u"4,4,4,4");
    SetValue(skin, u"panel", u"stretcheffect", u"0");
    Load(skin);
    TqxSkinPanel* panel = Panel(true);
    panel->SetBorderStyle(TqxSkinBorderStyle::bvNone);
    EXPECT_NO_THROW(panel->Repaint());
    Pump();
}

TEST_F(SkinPanel, APaintPanelPaintsOverItsLook) {
    auto* panel = Panel<TqxSkinPaintPanel>(false);
    TRect painted;
    panel->OnPanelPaint = [&](TCanvas* C, const TRect& R) {
        painted = R;
        C->Brush()->SetColor(TColor(0x00FF00));
        C->FillRect(Rect(R.Left, R.Top, R.Left + 10, R.Top + 10));
    };
    panel->Invalidate();
    EXPECT_EQ(TColor(0x00FF00), At(panel, 5, 5));
    EXPECT_EQ(Rect(1, 1, 199, 119), painted);
}

}  // namespace
