// Hints: when they show and hide, what OnShowHint may change, and the
// replaceable hint window class.
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class Hints : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        Form = NewForm();
        A = Hinted(u"Open a file", 10);
        B = Hinted(u"Save|Saves the list", 60);
    }

    TTestGraphic* Hinted(const String& AHint, Integer ALeft) {
        auto* control = new TTestGraphic(Form);
        control->SetBoundsRect(Bounds(ALeft, 10, 40, 20));
        control->SetHint(AHint);
        control->SetShowHint(true);
        control->SetParent(Form);
        return control;
    }

    static bool HintShown() {
        THintWindow* window = Application->HintWindow();
        return window && window->HandleAllocated() && IsWindowVisible(window->Handle());
    }

    TForm* Form = nullptr;
    TTestGraphic* A = nullptr;
    TTestGraphic* B = nullptr;
};

TEST_F(Hints, AHintShowsAfterTheMouseRestsAndHidesAfterTheHidePause) {
    driver::MouseMove(At(A, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) - 10);
    EXPECT_FALSE(HintShown());
    driver::AdvanceTime(20);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), u"Open a file");
    // Below the cursor, on the screen.
    EXPECT_GT(Application->HintWindow()->Top(), At(A, 5, 5).y);

    driver::AdvanceTime(Cardinal(Application->HintHidePause()) + 10);
    EXPECT_FALSE(HintShown());
}

TEST_F(Hints, MovingToAnotherHintedControlTakesTheShortPause) {
    driver::MouseMove(At(A, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) + 10);
    ASSERT_TRUE(HintShown());
    driver::MouseMove(At(B, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintShortPause()) + 10);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), u"Save");
    // A press cancels it.
    driver::MouseDown(At(B, 5, 5));
    Pump();
    EXPECT_FALSE(HintShown());
    driver::MouseUp(At(B, 5, 5));
}

TEST_F(Hints, OnShowHintSeesTheHintAndMayChangeOrRefuseIt) {
    TControl* control = nullptr;
    Application->OnShowHint = [&](String& AHintStr, bool& ACanShow, THintInfo& AInfo) {
        control = AInfo.HintControl;
        if (AInfo.HintControl == B) ACanShow = false;
        AHintStr = u"提示: " + AHintStr;
    };
    driver::MouseMove(At(A, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) + 10);
    EXPECT_EQ(control, A);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), u"提示: Open a file");

    driver::MouseMove(At(B, 5, 5));

    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) + 10);
    EXPECT_EQ(control, B);
    EXPECT_FALSE(HintShown());
}

class TOwnHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
};

TEST_F(Hints, TurningHintsOffAndOnMakesAWindowOfTheNewClass) {
    driver::MouseMove(At(A, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) + 10);
    ASSERT_NE(Application->HintWindow(), nullptr);
    Application->SetHintWindowClass(HintWindowClassOf<TOwnHintWindow>());
    Application->SetShowHint(false);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->SetShowHint(true);
    driver::MouseMove(At(B, 5, 5));
    Pump();
    driver::AdvanceTime(Cardinal(Application->HintPause()) + 10);
    EXPECT_NE(dynamic_cast<TOwnHintWindow*>(Application->HintWindow()), nullptr);
}

}  // namespace
