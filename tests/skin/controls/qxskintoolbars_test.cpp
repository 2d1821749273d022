#include "skin/controls/qxskintoolbars.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/edit.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "skin/controls/qxskinsplitters.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

class SkinToolBar : public ControlTest {
protected:
    // A scrolling bar of 200 x 30 at (20, 20) with buttons of 40 side by side
    // up to AContentWidth.
    TqxSkinToolBar* Bar(Integer AContentWidth) {
        auto* bar = Add<TqxSkinToolBar>(20, 20, 200, 30);
        bar->SetCanScroll(true);
        for (Integer left = 0; left < AContentWidth; left += 40) {
            auto* button = new TqxSkinSpeedButton(FForm);
            button->SetParent(bar);
            button->SetBounds(left, 0, std::min(40, AContentWidth - left), 25);
        }
        bar->SetBounds(20, 20, 200, 30);
        Pump();
        return bar;
    }
    // Screen points over the arrows and the client area.
    POINT LeftArrow(TqxSkinToolBar* ABar) { return WindowPoint(ABar, 5, 15); }
    POINT RightArrow(TqxSkinToolBar* ABar) { return WindowPoint(ABar, 195, 15); }
    POINT WindowPoint(TqxSkinToolBar* ABar, Integer X, Integer Y) {
        RECT r;
        GetWindowRect(ABar->Handle(), &r);
        return POINT{r.left + X, r.top + Y};
    }
    Integer HitTest(TWinControl* AControl, POINT APoint) {
        return Integer(SendMessageW(AControl->Handle(), WM_NCHITTEST, 0, MAKELPARAM(APoint.x, APoint.y)));
    }
    Integer FirstLeft(TqxSkinToolBar* ABar) { return ABar->Controls(0)->Left(); }
};

TEST_F(SkinToolBar, ArrowsAppearAtOnePixelOfOverflow) {
    TqxSkinToolBar* fits = Bar(200);
    EXPECT_FALSE(fits->Buttons[0].Visible);
    EXPECT_EQ(200, fits->ClientWidth());
    TqxSkinToolBar* over = Bar(201);
    EXPECT_TRUE(over->Buttons[0].Visible);
    EXPECT_TRUE(over->Buttons[1].Visible);
    EXPECT_EQ(176, over->ClientWidth());
    EXPECT_EQ(HTSCROLLPRIOR, HitTest(over, LeftArrow(over)));
    EXPECT_EQ(HTSCROLLNEXT, HitTest(over, RightArrow(over)));
    EXPECT_EQ(HTCLIENT, HitTest(over, WindowPoint(over, 100, 15)));
    // Fitting beside the arrows hides them.
    delete over->Controls(over->ControlCount() - 1);
    delete over->Controls(over->ControlCount() - 1);
    over->UpdateScroll();
    EXPECT_FALSE(over->Buttons[0].Visible);
    EXPECT_EQ(200, over->ClientWidth());
}

TEST_F(SkinToolBar, TheFocusInsideSurvivesTheArrowsComing) {
    TqxSkinToolBar* bar = Bar(150);
    auto* edit = new TEdit(FForm);
    edit->SetParent(bar);
    edit->SetBounds(150, 0, 60, 22);
    edit->SetFocus();
    Pump();
    bar->UpdateScroll();
    EXPECT_TRUE(bar->Buttons[0].Visible);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(SkinToolBar, AStepIsAClientWidthUpToTheRightLimit) {
    TqxSkinToolBar* bar = Bar(400);
    EXPECT_EQ(0, bar->ScrollOffset());
    bar->ScrollStep(true);
    EXPECT_EQ(176, bar->SPosition);
    EXPECT_EQ(-176, FirstLeft(bar));
    bar->ScrollStep(true);
    EXPECT_EQ(bar->SMax - bar->SPage + 1, bar->SPosition);
    EXPECT_EQ(400 - 176, bar->SPosition);
    bar->ScrollStep(false);
    bar->ScrollStep(false);
    EXPECT_EQ(0, bar->SPosition);
    EXPECT_EQ(0, FirstLeft(bar));
    // Negative offsets and intervals of 0 or less are ignored.
    bar->SetScrollOffset(30);
    bar->SetScrollOffset(-5);
    bar->SetScrollTimerInterval(0);
    bar->SetScrollTimerInterval(-1);
    EXPECT_EQ(30, bar->ScrollOffset());
    EXPECT_EQ(50, bar->ScrollTimerInterval());
}

TEST_F(SkinToolBar, AClickOnAnArrowScrollsOnReleaseAndWhileHeld) {
    TqxSkinToolBar* bar = Bar(400);
    bar->SetScrollOffset(30);
    driver::MouseMove(RightArrow(bar));
    Pump();
    EXPECT_TRUE(bar->Buttons[1].Hot);
    driver::MouseDown(RightArrow(bar));
    Pump();
    EXPECT_EQ(0, bar->SPosition);
    AdvanceTime(50);
    EXPECT_EQ(30, bar->SPosition);
    AdvanceTime(50);
    EXPECT_EQ(60, bar->SPosition);
    driver::MouseUp(RightArrow(bar));
    Pump();
    EXPECT_EQ(90, bar->SPosition);
    AdvanceTime(200);
    EXPECT_EQ(90, bar->SPosition);
}

TEST_F(SkinToolBar, HotScrollRunsToTheEndAndStopsWhenThePointerLeaves) {
    TqxSkinToolBar* bar = Bar(400);
    bar->SetScrollOffset(30);
    bar->SetHotScroll(true);
    driver::MouseMove(RightArrow(bar));
    Pump();
    AdvanceTime(150);
    EXPECT_EQ(90, bar->SPosition);
    // Off the bar: the 100 ms poll stops it.
    driver::MouseMove(ScreenPoint(FForm->Handle(), 300, 250));
    Pump();
    AdvanceTime(100);
    const Integer stopped = bar->SPosition;
    EXPECT_LE(stopped, 150);
    EXPECT_FALSE(bar->FMouseIn);
    AdvanceTime(500);
    EXPECT_EQ(stopped, bar->SPosition);
    // Resting on it again runs to the end and stops there.
    driver::MouseMove(RightArrow(bar));
    Pump();
    AdvanceTime(2000);
    EXPECT_EQ(400 - 176, bar->SPosition);
}

TEST_F(SkinToolBar, WideningAScrolledBarScrollsBackByTheGain) {
    TqxSkinToolBar* bar = Bar(400);
    bar->SetScrollOffset(100);
    bar->ScrollStep(true);
    bar->ScrollStep(true);
    EXPECT_EQ(200, bar->SPosition);
    bar->SetBounds(20, 20, 250, 30);
    EXPECT_EQ(150, bar->SPosition);
    EXPECT_EQ(-150, FirstLeft(bar));
    // Never past the start.
    bar->SetBounds(20, 20, 380, 30);
    EXPECT_GE(bar->SPosition, 0);
    EXPECT_GE(FirstLeft(bar), -bar->SPosition);
}

TEST_F(SkinToolBar, ChildrenAreCentredAndTakeTheBarsLookSettings) {
    auto* bar = Add<TqxSkinToolBar>(20, 20, 300, 40);
    auto* bevel = new TqxSkinBevel(FForm);
    bevel->SetParent(bar);
    bevel->SetBounds(50, 0, 25, 20);
    EXPECT_EQ(10, bevel->Top());
    auto* plain = new TButton(FForm);
    plain->SetParent(bar);
    plain->SetBounds(100, 0, 60, 30);
    bar->SetBounds(20, 20, 300, 40);
    EXPECT_EQ(5, plain->Top());
    auto* button = new TqxSkinSpeedButton(FForm);
    button->SetParent(bar);
    button->SetBounds(0, 0, 25, 25);
    EXPECT_EQ(8, button->Top());
    button->SetCaption(u"打开");
    bar->SetFlat(true);
    EXPECT_TRUE(button->Flat());
    EXPECT_TRUE(button->Transparent());
    bar->SetAutoShowHideCaptions(true);
    bar->SetShowCaptions(true);
    bar->SetShowCaptions(false);
    EXPECT_FALSE(button->ShowCaption());
    LoadFlat();
    bar->SetSkinData(FSkin);
    EXPECT_EQ(FSkin, button->SkinData());
    EXPECT_EQ(FSkin, bevel->SkinData());
}

class SkinStatusBar : public ControlTest {};

TEST_F(SkinStatusBar, TheGripAnswersOnlyInsideItAndSizesTheForm) {
    auto* bar = Add<TqxSkinStatusBar>(0, 0, 100, 21);
    EXPECT_EQ(alBottom, bar->Align());
    const POINT corner = ScreenPoint(bar->Handle(), bar->Width() - 5, 15);
    const auto hit = [&](POINT P) {
        return Integer(SendMessageW(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.x, P.y)));
    };
    EXPECT_EQ(HTCLIENT, hit(corner));
    bar->SetSizeGrip(true);
    EXPECT_EQ(HTBOTTOMRIGHT, hit(corner));
    EXPECT_EQ(HTCLIENT, hit(ScreenPoint(bar->Handle(), bar->Width() - 30, 15)));
    TRect client;
    bar->GetSkinClientRect(client);
    EXPECT_EQ(bar->Width() - 21, client.Right);
    // Dragging the grip sizes the form.
    const Integer width = FForm->Width(), height = FForm->Height();
    driver::MouseDown(corner);
    driver::MouseMove(POINT{corner.x + 30, corner.y + 20});
    driver::MouseUp(POINT{corner.x + 30, corner.y + 20});
    Pump();
    EXPECT_EQ(width + 30, FForm->Width());
    EXPECT_EQ(height + 20, FForm->Height());
    bar->SetShowGrip(false);
    EXPECT_EQ(HTCLIENT, hit(ScreenPoint(bar->Handle(), bar->Width() - 5, 15)));
}

TEST_F(SkinStatusBar, TheDrawnGripsLines) {
    auto* bar = Add<TqxSkinStatusBar>(0, 0, 100, 21);
    bar->SetSizeGrip(true);
    const TRect grip = bar->GripRect();
    EXPECT_EQ(Rect(bar->Width() - 21 + 2, 0, bar->Width(), 19), grip);
    // The first shadow line starts 4 pixels into the inset grip, at its bottom.
    EXPECT_EQ(ColorToRGB(clBtnShadow), PixelOf(bar->Handle(), grip.Left + 2 + 4, grip.Bottom - 2));
}

}  // namespace
