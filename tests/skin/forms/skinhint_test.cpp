// Skinned hints: lines, size and place, one active component, titles and
// images of skinned controls, the fade, the timed hint and the cursor's
// mask scan.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/forms/skinhint.h"

using namespace win;
using namespace skinfixtures;

namespace {

class SkinHintTest : public FormsTest {
protected:
    TForm* MainWithHint(TqxSkinHint*& AHint) {
        TForm* form = NewMainForm(Rect(100, 100, 500, 400));
        AHint = new TqxSkinHint(form);
        return form;
    }
    static TRect Bounds(TControl* AWindow) {
        return ToTRect(driver::Inspect(static_cast<TWinControl*>(AWindow)->Handle()).Bounds);
    }
};

TEST_F(SkinHintTest, ASeparatorBreaksTheLineAndTheHintFitsItsText) {
    TqxSkinHint* hint = nullptr;
    MainWithHint(hint);
    hint->ActivateHint(Point(200, 200), u"转换@完成");
    ASSERT_TRUE(hint->IsVisible());
    TqxSkinHintWindow* window = hint->Window();
    EXPECT_EQ(window->Caption(), u"转换\n\r完成");
    const Integer one = window->Canvas()->TextHeight(u"转换");
    EXPECT_GE(window->Height(), 2 * one + 4);
    EXPECT_EQ(Bounds(window).TopLeft(), Point(200, 200));
    // Built-in look: info background, shadow frame.
    driver::Pump();
    EXPECT_EQ(driver::Pixel(window->Handle(), 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(driver::Pixel(window->Handle(), 1, window->Height() / 2 + 1), ColorToRGB(clInfoBk));
    hint->HideHint();
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(SkinHintTest, NearTheEdgesAHintFlipsByItsSizePlusTwo) {
    TqxSkinHint* hint = nullptr;
    MainWithHint(hint);
    driver::SetMonitors({{RECT{0, 0, 800, 600}, RECT{0, 0, 800, 560}}});
    hint->ActivateHint(Point(100, 100), u"Hint");
    const TSize size{hint->Window()->Width(), hint->Window()->Height()};
    struct TCase {
        TPoint At;
        TPoint Expected;
    };
    const TCase cases[] = {{Point(100, 100), Point(100, 100)},
                           {Point(790, 100), Point(790 - size.cx - 2, 100)},
                           {Point(100, 555), Point(100, 555 - size.cy - 2)},
                           {Point(790, 555), Point(790 - size.cx - 2, 555 - size.cy - 2)}};
    for (const TCase& c : cases) {
        hint->ActivateHint(c.At, u"Hint");
        EXPECT_EQ(Bounds(hint->Window()).TopLeft(), c.Expected) << c.At.X << "," << c.At.Y;
    }
}

TEST_F(SkinHintTest, OnlyOneComponentServesAndTheApplicationUsesTheSkinnedWindow) {
    TqxSkinHint* first = nullptr;
    TForm* form = MainWithHint(first);
    auto* second = new TqxSkinHint(form);
    second->SetActive(true);
    EXPECT_FALSE(first->Active());
    first->SetActive(true);
    EXPECT_FALSE(second->Active());
    // The application's hint for a skinned control carries its title.
    auto* button = new TqxSkinButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 80, 25);
    button->SetHint(u"Save the list");
    button->SetShowHint(true);
    button->SetHintTitle(u"Save");
    const TPoint centre = button->ClientToScreen(Point(40, 12));
    driver::MouseMove(POINT{centre.X, centre.Y});
    driver::Pump();
    driver::AdvanceTime(Application->HintPause() + 10);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_NE(dynamic_cast<TqxSkinHintWindow*>(Application->HintWindow()), nullptr);
    EXPECT_EQ(first->HintTitle(), u"Save");
    auto* window = static_cast<TqxSkinHintWindow*>(Application->HintWindow());
    EXPECT_TRUE(window->AExtendedStyle);
    // Title and text: taller than the text alone.
    EXPECT_GT(window->Height(), window->Canvas()->TextHeight(u"Save the list") * 2);
}

TEST_F(SkinHintTest, ASkinnedHintIsDrawnFromTheSkinsPicture) {
    TqxSkinHint* hint = nullptr;
    TForm* form = MainWithHint(hint);
    hint->SetSkinData(NewSkinData(FlatSkin()));
    (void)form;
    hint->ActivateHint(Point(200, 200), u"Hint");
    driver::Pump();
    TqxSkinHintWindow* window = hint->Window();
    ASSERT_NE(window->FSD, nullptr);
    EXPECT_EQ(driver::Pixel(window->Handle(), 1, 1), ColorToRGB(FlatColor(u"HINTWINDOW", u"windowpictureindex", fpLeftTop)));
    EXPECT_EQ(driver::Pixel(window->Handle(), window->Width() - 2, window->Height() - 2),
              ColorToRGB(FlatColor(u"HINTWINDOW", u"windowpictureindex", fpRightBottom)));
    EXPECT_EQ(window->NewClRect.Right, window->Width() - (40 - 34));
}

TEST_F(SkinHintTest, AlphaFiveFadesInFiveStepsAndReLayeringAppliesTheAlphaAgain) {
    TqxSkinHint* hint = nullptr;
    MainWithHint(hint);
    hint->SetAlphaBlend(true);
    hint->SetAlphaBlendAnimation(true);
    hint->SetAlphaBlendValue(5);
    hint->ActivateHint(Point(200, 200), u"Hint");
    const HWND h = hint->Window()->Handle();
    EXPECT_EQ(driver::Layered(h).AlphaHistory, (std::vector<BYTE>{0, 1, 2, 3, 4, 5}));
    // Off, then on again without animation at the same value.
    hint->SetAlphaBlend(false);
    hint->ActivateHint(Point(200, 200), u"Hint");
    EXPECT_FALSE(driver::Inspect(h).ExStyle & WS_EX_LAYERED);
    hint->SetAlphaBlend(true);
    hint->SetAlphaBlendAnimation(false);
    hint->ActivateHint(Point(200, 200), u"Hint");
    EXPECT_TRUE(driver::Inspect(h).ExStyle & WS_EX_LAYERED);
    EXPECT_EQ(driver::Layered(h).Alpha, 5);
}

TEST_F(SkinHintTest, ATimedHintWaitsShowsAndHidesOnItsPauses) {
    TqxSkinHint* hint = nullptr;
    MainWithHint(hint);
    Application->SetHintPause(300);
    Application->SetHintHidePause(1000);
    driver::MouseMove(POINT{300, 300});
    driver::Pump();
    hint->ActivateHint2(u"Timed");
    driver::AdvanceTime(290);
    EXPECT_FALSE(hint->IsVisible());
    driver::AdvanceTime(20);
    ASSERT_TRUE(hint->IsVisible());
    // The stock cursor has no mask to read: the cursor's height below it.
    EXPECT_EQ(Bounds(hint->Window()).TopLeft(), Point(300, 300 + GetSystemMetrics(SM_CYCURSOR)));
    driver::AdvanceTime(960);
    EXPECT_TRUE(hint->IsVisible());
    driver::AdvanceTime(50);
    EXPECT_FALSE(hint->IsVisible());
    EXPECT_EQ(hint->HintTimer, nullptr);
    // A new request replaces a pending one.
    hint->ActivateHint3(Rect(100, 100, 200, 120), u"Above", true);
    hint->ActivateHint3(Rect(100, 100, 200, 120), u"Below", false);
    driver::AdvanceTime(310);
    EXPECT_EQ(hint->Window()->Caption(), u"Below");
    EXPECT_EQ(Bounds(hint->Window()).Top, 120);
    hint->HideHint();
}

TEST(CursorMask, TheLowestOpaqueRowIsFoundWithinTheBits) {
    // 32 pixels wide: four bytes a line.
    const auto lines = [](Integer ARows, Integer AOpaqueFromBottom, Byte AFill) {
        std::vector<Byte> bits(size_t(ARows) * 4, AFill);
        if (AOpaqueFromBottom >= 0) bits[size_t(AOpaqueFromBottom) * 4] = AFill == 0xFF ? 0x00 : 0xFF;
        return bits;
    };
    struct TCase {
        const char* Name;
        std::vector<Byte> Bits;
        Integer Height;
        Integer Row;
    };
    std::vector<Byte> withXor = lines(32, -1, 0x00);
    withXor[size_t(3) * 4 + 1] = 0x10;
    const std::vector<Byte> andBlank = lines(32, -1, 0xFF);
    withXor.insert(withXor.end(), andBlank.begin(), andBlank.end());
    const TCase cases[] = {
        {"opaque row 10 from the bottom", lines(32, 10, 0xFF), 32, 21},
        {"all transparent", lines(32, -1, 0xFF), 32, 0},
        {"fewer rows than the width", lines(8, 2, 0xFF), 32, 5},
        {"the XOR half when the AND half is blank", withXor, 64, 28},
        {"no bits", {}, 32, -1},
    };
    for (const TCase& c : cases) EXPECT_EQ(CursorMaskBottomRow(c.Bits, 32, c.Height), c.Row) << c.Name;
}

}  // namespace
