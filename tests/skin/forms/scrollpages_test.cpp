#include "skin/forms/scrollpages.h"

#include <gtest/gtest.h>

#include "platform/toolkit/buttons.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/edit.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "skinforms.h"

namespace {

using namespace skinfixtures;
using namespace win;

class ScrollPages : public SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        FForm = NewForm(u"Form");
        FForm->SetBounds(100, 100, 500, 300);
        FForm->Show();
        Application->ProcessMessages();
    }
    template <typename T>
    T* Page(Integer AWidth, Integer AHeight) {
        auto* page = new T(FForm);
        page->SetParent(FForm);
        page->SetBounds(10, 10, AWidth, AHeight);
        Application->ProcessMessages();
        return page;
    }
    TButton* Child(TWinControl* AParent, Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
        auto* child = new TButton(FForm);
        child->SetParent(AParent);
        child->SetBounds(ALeft, ATop, AWidth, AHeight);
        return child;
    }
    // A screen point of a page's window coordinates.
    static POINT At(TWinControl* AControl, Integer X, Integer Y) {
        const RECT r = driver::Inspect(AControl->Handle()).Bounds;
        return POINT{r.left + X, r.top + Y};
    }

    static void Click(POINT AScreen) {
        driver::Click(AScreen);
        Application->ProcessMessages();
    }
    static void MouseMove(POINT AScreen) {
        driver::MouseMove(AScreen);
        Application->ProcessMessages();
    }

    TRecordingForm* FForm = nullptr;
};

TEST_F(ScrollPages, AWidePageShowsItsButtonsAndStepsAClientWidthUpToTheEnd) {
    auto* page = Page<TqxRibbonCustomPage>(150, 30);
    TButton* child = Child(page, 0, 0, 400, 20);
    page->GetScrollInfo();
    ASSERT_TRUE(page->Buttons[0].Visible && page->Buttons[1].Visible);
    EXPECT_EQ(126, page->ClientWidth());
    EXPECT_EQ(399, page->SMax);
    // The buttons' default look in the non-client area, over the child that reaches under it.
    const RECT form = driver::Inspect(FForm->Handle()).Bounds, window = driver::Inspect(page->Handle()).Bounds;
    Application->ProcessMessages();
    const DWORD raw = driver::RawPixel(FForm->Handle(), window.right - form.left - 6, window.top - form.top + 3);
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(RGB(raw >> 16 & 0xFF, raw >> 8 & 0xFF, raw & 0xFF)));
    // Each click on the right button moves the children one client width, up to SMax - SPage + 1.
    const POINT right = At(page, 145, 15);
    for (Integer expected : {126, 252, 274, 274}) {
        Click(right);
        EXPECT_EQ(expected, page->Position());
        EXPECT_EQ(-expected, child->Left());
    }
    // Widened at the end: the content comes back by the growth.
    page->SetBounds(10, 10, 250, 30);
    EXPECT_EQ(174, page->Position());
    EXPECT_EQ(-174, child->Left());
    // A fixed step, and the left button.
    page->SetScrollOffset(50);
    page->SetScrollOffset(-5);
    EXPECT_EQ(50, page->ScrollOffset());
    Click(At(page, 5, 15));
    EXPECT_EQ(124, page->Position());
    EXPECT_EQ(-124, child->Left());
}

TEST_F(ScrollPages, ContentThatFitsHasNoButtonsAndComesBack) {
    auto* page = Page<TqxRibbonCustomPage>(150, 30);
    TButton* child = Child(page, 0, 0, 400, 20);
    page->GetScrollInfo();
    Click(At(page, 145, 15));
    ASSERT_EQ(-126, child->Left());
    // Narrowed to end left of the visible area: it still comes back into view.
    child->SetWidth(100);
    page->GetScrollInfo();
    EXPECT_FALSE(page->Buttons[0].Visible);
    EXPECT_EQ(0, page->Position());
    EXPECT_EQ(0, child->Left());
    EXPECT_EQ(150, page->ClientWidth());
}

TEST_F(ScrollPages, HotScrollStepsWhileTheMouseRestsOnAButton) {
    auto* page = Page<TqxRibbonCustomPage>(150, 30);
    Child(page, 0, 0, 1000, 20);
    page->GetScrollInfo();
    page->SetHotScroll(true);
    page->SetScrollOffset(10);
    MouseMove(At(page, 145, 15));
    EXPECT_EQ(2, page->TimerMode);
    EXPECT_EQ(0, page->Position());
    driver::AdvanceTime(50 * 3);
    EXPECT_EQ(30, page->Position());
    // Into the client area: the stepping stops.
    MouseMove(At(page, 70, 15));
    driver::AdvanceTime(200);
    EXPECT_EQ(30, page->Position());
    EXPECT_EQ(0, page->TimerMode);
}

TEST_F(ScrollPages, ShowingTheButtonsKeepsTheFocusOnAChild) {
    auto* page = Page<TqxRibbonCustomPage>(150, 30);
    auto* child = new TEdit(FForm);
    child->SetParent(page);
    child->SetBounds(0, 0, 60, 20);
    child->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(child->Focused());
    Child(page, 100, 0, 300, 20);
    page->GetScrollInfo();
    Application->ProcessMessages();
    ASSERT_TRUE(page->Buttons[0].Visible);
    EXPECT_TRUE(child->Focused());
}

TEST_F(ScrollPages, AnApplicationMenuPageScrollsDownOnlyWhenUnlocked) {
    auto* page = Page<TqxAppMenuCustomPage>(150, 100);
    TButton* child = Child(page, 0, 0, 100, 300);
    page->SetCanScroll(true);
    page->GetScrollInfo();
    EXPECT_FALSE(page->Buttons[0].Visible);
    page->FStopScroll = false;
    page->GetScrollInfo();
    ASSERT_TRUE(page->Buttons[0].Visible);
    EXPECT_EQ(76, page->ClientHeight());
    page->SetScrollOffset(30);
    Click(At(page, 70, 95));
    EXPECT_EQ(30, page->Position());
    EXPECT_EQ(-30, child->Top());
}

}  // namespace
