#include "skin/controls/qxskinscrollbar.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/input.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

// A horizontal bar of 200 x 19 at (20, 20) over 0 .. 100, unskinned unless
// skinned, counting OnChange.
class SkinScrollBar : public ControlTest {
protected:
    TqxSkinScrollBar* Bar(bool ASkinned = false) {
        if (ASkinned) LoadFlat();
        auto* bar = Add<TqxSkinScrollBar>(20, 20, 200, 19);
        bar->SetSkinData(ASkinned ? FSkin : nullptr);
        bar->OnChange = [this](TObject*) { ++FChanges; };
        Pump();
        return bar;
    }
    POINT At(TqxSkinScrollBar* ABar, Integer X, Integer Y = 9) { return ScreenPoint(ABar->Handle(), X, Y); }
    static TPoint Centre(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
    void Press(TqxSkinScrollBar* ABar, Integer X) {
        driver::MouseMove(At(ABar, X));
        driver::MouseDown(At(ABar, X));
        Pump();
    }
    void Release(TqxSkinScrollBar* ABar, Integer X) {
        driver::MouseUp(At(ABar, X));
        Pump();
    }

    Integer FChanges = 0;
};

TEST_F(SkinScrollBar, ThePositionStaysInTheRange) {
    TqxSkinScrollBar* bar = Bar();
    const struct {
        Integer Min, Max, Page, Asked, Expected;
    } cases[] = {
        {0, 100, 10, 95, 91},
        {0, 100, 0, 95, 95},
        {0, 100, 0, -5, 0},
        {10, 20, 0, 25, 20},
        // An empty list mirrors 0 .. -1: the position holds Min.
        {0, -1, 0, 5, 0},
        {0, -1, 10, 5, 0},
        // A page that does not fit ends the range at Min.
        {0, 5, 10, 3, 0},
    };
    for (const auto& c : cases) {
        bar->SetRange(c.Min, c.Max, c.Asked, c.Page);
        EXPECT_EQ(c.Expected, bar->Position()) << c.Min << ".." << c.Max << " page " << c.Page;
        bar->SetPosition(c.Asked + 1);
        bar->SetPosition(c.Asked);
        EXPECT_EQ(c.Expected, bar->Position()) << c.Min << ".." << c.Max << " page " << c.Page;
    }
    // SetRange never raises OnChange; a write that changes nothing neither.
    const Integer changes = FChanges;
    bar->SetRange(0, 100, 50, 0);
    bar->SetRange(0, 100, 150, 0);
    EXPECT_EQ(changes, FChanges);
    bar->SetPosition(100);
    EXPECT_EQ(changes, FChanges);
    bar->SetPosition(40);
    EXPECT_EQ(changes + 1, FChanges);
    bar->SimplySetPosition(30);
    EXPECT_EQ(changes + 1, FChanges);
    // A page is refused when it does not fit before the position.
    bar->SetPageSize(80);
    EXPECT_EQ(0, bar->PageSize());
    bar->SetPageSize(70);
    EXPECT_EQ(70, bar->PageSize());
}

TEST_F(SkinScrollBar, TheUnskinnedThumb) {
    TqxSkinScrollBar* bar = Bar();
    const TRect& thumb = bar->Buttons[TqxSkinScrollBar::ThumbButton].R;
    const struct {
        Integer Min, Max, Page, Position;
        TRect Thumb;
    } cases[] = {
        // The track runs from 17 to 183: 166 pixels.
        {0, 100, 0, 0, Rect(17, 1, 33, 18)},
        {0, 100, 0, 50, Rect(92, 1, 108, 18)},
        {0, 100, 0, 100, Rect(167, 1, 183, 18)},
        // A page never gives a thumb shorter than 16.
        {0, 10000, 1, 0, Rect(17, 1, 33, 18)},
        {0, 99, 50, 50, Rect(101, 1, 183, 18)},
        // Empty ranges: the thumb at the track start, nothing divided.
        {0, -1, 10, 0, Rect(17, 1, 33, 18)},
        {5, 5, 0, 5, Rect(17, 1, 33, 18)},
    };
    for (const auto& c : cases) {
        bar->SetRange(c.Min, c.Max, c.Position, c.Page);
        bar->CalcRects();
        EXPECT_EQ(c.Thumb, thumb) << c.Min << ".." << c.Max << " page " << c.Page << " at " << c.Position;
    }
    // The vertical kind: the down button at the top.
    bar->SetKind(sbVertical);
    bar->SetBounds(20, 20, 19, 200);
    bar->SetRange(0, 100, 0, 0);
    bar->CalcRects();
    EXPECT_EQ(Rect(1, 1, 18, 17), bar->Buttons[TqxSkinScrollBar::DownButton].R);
    EXPECT_EQ(Rect(1, 17, 18, 33), thumb);
}

TEST_F(SkinScrollBar, HeldArrowsRepeatAfter500msEvery50ms) {
    TqxSkinScrollBar* bar = Bar();
    Press(bar, 190);
    EXPECT_EQ(1, bar->Position());
    AdvanceTime(500);
    EXPECT_EQ(1, bar->Position());
    AdvanceTime(50);
    EXPECT_EQ(2, bar->Position());
    AdvanceTime(100);
    EXPECT_EQ(4, bar->Position());
    // Off the button the repeat pauses; back over it, it goes on at 50 ms.
    driver::MouseMove(At(bar, 100));
    Pump();
    AdvanceTime(500);
    EXPECT_EQ(4, bar->Position());
    driver::MouseMove(At(bar, 190));
    Pump();
    AdvanceTime(50);
    EXPECT_EQ(5, bar->Position());
    Release(bar, 190);
    AdvanceTime(500);
    EXPECT_EQ(5, bar->Position());
    // The down button steps the other way.
    Press(bar, 8);
    Release(bar, 8);
    EXPECT_EQ(4, bar->Position());
}

TEST_F(SkinScrollBar, APageRepeatStopsAtTheThumb) {
    TqxSkinScrollBar* bar = Bar();
    bar->SetLargeChange(10);
    Press(bar, 150);
    EXPECT_EQ(10, bar->Position());
    AdvanceTime(1000);
    const TRect& thumb = bar->Buttons[TqxSkinScrollBar::ThumbButton].R;
    EXPECT_LE(thumb.Left, 150);
    EXPECT_GT(thumb.Right, 150);
    const Integer reached = bar->Position();
    EXPECT_EQ(0, reached % 10);
    AdvanceTime(1000);
    EXPECT_EQ(reached, bar->Position());
    Release(bar, 150);
    // Before the thumb, pages go back.
    Press(bar, 30);
    Release(bar, 30);
    EXPECT_EQ(reached - 10, bar->Position());
}

TEST_F(SkinScrollBar, OnlyTheThumbReportsItsLastChange) {
    TqxSkinScrollBar* bar = Bar();
    Integer last = 0;
    bar->OnLastChange = [&](TObject*) { ++last; };
    Press(bar, 190);
    Release(bar, 190);
    Press(bar, 100);
    Release(bar, 100);
    EXPECT_EQ(0, last);
    // Dragging the thumb half its travel moves half the range.
    bar->SetPosition(0);
    Press(bar, 25);
    driver::MouseMove(At(bar, 100));
    Pump();
    EXPECT_EQ(50, bar->Position());
    EXPECT_EQ(0, last);
    Release(bar, 100);
    EXPECT_EQ(1, last);
    // Pressed and let go without a move, it reports too.
    const TPoint c = Centre(bar->Buttons[TqxSkinScrollBar::ThumbButton].R);
    Press(bar, c.X);
    Release(bar, c.X);
    EXPECT_EQ(2, last);
}

TEST_F(SkinScrollBar, AssignedButtonEventsReplaceTheStep) {
    TqxSkinScrollBar* bar = Bar();
    Integer ups = 0, downs = 0;
    bar->OnUpButtonClick = [&](TObject*) { ++ups; };
    bar->OnDownButtonClick = [&](TObject*) { ++downs; };
    bar->SetPosition(50);
    Press(bar, 190);
    AdvanceTime(600);
    Release(bar, 190);
    Press(bar, 8);
    Release(bar, 8);
    EXPECT_EQ(50, bar->Position());
    EXPECT_EQ(3, ups);
    EXPECT_EQ(1, downs);
}

TEST_F(SkinScrollBar, TheSkinnedBarAndItsDisabledLook) {
    TqxSkinScrollBar* bar = Bar(true);
    bar->SetWidth(300);
    EXPECT_EQ(17, bar->Height());
    bar->CalcRects();
    EXPECT_EQ(Rect(17, 0, 283, 17), bar->NewTrackArea);
    EXPECT_EQ(Rect(283, 0, 300, 17), bar->Buttons[TqxSkinScrollBar::UpButton].R);
    EXPECT_EQ(Rect(0, 0, 17, 17), bar->Buttons[TqxSkinScrollBar::DownButton].R);
    // Without a page the thumb has the skin's minimum size.
    EXPECT_EQ(Rect(17, 0, 41, 17), bar->Buttons[TqxSkinScrollBar::ThumbButton].R);
    const TColor thumb = FlatColor(u"hscrollbar", u"thumbrect", fpCenter);
    EXPECT_EQ(thumb, PixelOf(bar->Handle(), 22, 8));
    bar->SetEnabled(false);
    EXPECT_EQ(FlatColor(u"hscrollbar", u"skinrect", fpCenter), PixelOf(bar->Handle(), 22, 8));
    // The arrow under the pointer shows its active look.
    bar->SetEnabled(true);
    driver::MouseMove(At(bar, 290, 8));
    Pump();
    EXPECT_NE(PixelOf(bar->Handle(), 8, 3), PixelOf(bar->Handle(), 291, 3));
}

TEST_F(SkinScrollBar, TheBothForm) {
    TqxSkinScrollBar* bar = Bar();
    bar->SetBoth(true);
    bar->CalcRects();
    EXPECT_EQ(200 - 19 - 1, bar->Buttons[TqxSkinScrollBar::UpButton].R.Right);
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(bar->Handle(), 195, 9));
    bar->SetBoth(false);
    LoadFlat();
    bar->SetSkinData(FSkin);
    bar->SetBoth(true);
    EXPECT_EQ(u"bothhscrollbar", bar->SkinDataName());
    bar->SetBoth(false);
    EXPECT_EQ(u"hscrollbar", bar->SkinDataName());
}

TEST_F(SkinScrollBar, KeysAndTheWheelNeedCanFocused) {
    TqxSkinScrollBar* bar = Bar();
    bar->SetPosition(10);
    EXPECT_FALSE(bar->TabStop());
    bar->SetFocus();
    Pump();
    driver::Key(VK_RIGHT);
    driver::Wheel(At(bar, 100), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(10, bar->Position());
    bar->SetCanFocused(true);
    EXPECT_TRUE(bar->TabStop());
    bar->SetFocus();
    Pump();
    driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(11, bar->Position());
    driver::Key(VK_UP);
    Pump();
    EXPECT_EQ(10, bar->Position());
    driver::Wheel(At(bar, 100), WHEEL_DELTA);
    Pump();
    EXPECT_EQ(9, bar->Position());
    driver::Wheel(At(bar, 100), -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(10, bar->Position());
}

}  // namespace
