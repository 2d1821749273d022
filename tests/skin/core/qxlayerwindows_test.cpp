#include "skin/core/qxlayerwindows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/capabilities.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "skin/core/qxutils.h"
#include "skintest.h"

namespace {

using namespace win;

std::vector<BYTE> Alphas(std::initializer_list<int> AValues) {
    return std::vector<BYTE>(AValues.begin(), AValues.end());
}

// A red 20 x 10 glow with a white mask, the entry points looked up from a
// fresh table.
class LayerWindows : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        LoadPlatformEntryPoints();
        FManager = std::make_unique<TqxLayerManager>(nullptr);
    }
    void TearDown() override {
        FManager.reset();
        GuiTest::TearDown();
        LoadPlatformEntryPoints();
    }
    // Flips an entry of the table and looks the entry points up again.
    static void SetLayered(bool AValue) {
        Capabilities().HasUpdateLayeredWindow = AValue;
        LoadPlatformEntryPoints();
    }
    HWND Glow() const { return FManager->LayerWindow() ? FManager->LayerWindow()->Handle() : nullptr; }
    static Integer LayeredWindows() {
        const std::vector<HWND> windows = driver::Stacking();
        return Integer(std::count_if(windows.begin(), windows.end(),
                                     [](HWND W) { return driver::Inspect(W).ExStyle & WS_EX_LAYERED; }));
    }

    std::unique_ptr<TBitmap> FImage = SolidBitmap(20, 10, 0xFF0000);
    std::unique_ptr<TBitmap> FMask = SolidBitmap(20, 10, 0xFFFFFF);
    // Made on the fresh desktop: its timer has a window there.
    std::unique_ptr<TqxLayerManager> FManager;
};

TEST_F(LayerWindows, FadesInByTenthsThenTheTimerStops) {
    FManager->Show(100, 50, FImage.get(), FMask.get(), 255);
    ASSERT_NE(nullptr, Glow());
    EXPECT_TRUE(FManager->IsVisible());
    EXPECT_EQ(Alphas({0}), driver::Layered(Glow()).AlphaHistory);
    EXPECT_TRUE(FManager->Timer()->Enabled());
    EXPECT_EQ(25u, FManager->Timer()->Interval());
    driver::AdvanceTime(11 * 25);
    const driver::TLayeredInfo layered = driver::Layered(Glow());
    EXPECT_EQ(Alphas({0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}), layered.AlphaHistory);
    EXPECT_FALSE(FManager->Timer()->Enabled());
    EXPECT_EQ(20, layered.UploadSize.cx);
    EXPECT_EQ(10, layered.UploadSize.cy);
    const driver::TWindowInfo info = driver::Inspect(Glow());
    EXPECT_EQ(100, info.Bounds.left);
    EXPECT_EQ(50, info.Bounds.top);
    EXPECT_EQ(120, info.Bounds.right);
    EXPECT_EQ(60, info.Bounds.bottom);
    EXPECT_TRUE(info.Visible);
    driver::AdvanceTime(500);
    EXPECT_EQ(12u, driver::Layered(Glow()).AlphaHistory.size());
}

// A tenth of an end value below 10 would be 0: the step is 1 instead, so
// the fade ends.
TEST_F(LayerWindows, ASmallEndValueStillEndsTheFade) {
    FManager->Show(0, 0, FImage.get(), FMask.get(), 4);
    EXPECT_EQ(1, FManager->StepAlphaBlendValue());
    driver::AdvanceTime(10 * 25);
    EXPECT_EQ(Alphas({0, 1, 2, 3, 4}), driver::Layered(Glow()).AlphaHistory);
    EXPECT_FALSE(FManager->Timer()->Enabled());
    EXPECT_EQ(4, FManager->BeginAlphaBlendValue());
}

TEST_F(LayerWindows, APopupToolWindowTheMouseAndTheActivationPassBy) {
    FManager->Show(10, 20, FImage.get(), FMask.get(), 255);
    const driver::TWindowInfo info = driver::Inspect(Glow());
    EXPECT_EQ(WS_POPUP | WS_VISIBLE, info.Style);
    EXPECT_EQ(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_TOPMOST, info.ExStyle);
    EXPECT_TRUE(info.ClassStyle & CS_SAVEBITS);
    EXPECT_EQ(nullptr, info.Parent);
    EXPECT_EQ(MA_NOACTIVATE, SendMessageW(Glow(), WM_MOUSEACTIVATE, 0, 0));

    FManager->SetTopMostMode(false);
    FManager->Show(10, 20, FImage.get(), FMask.get(), 255);
    EXPECT_FALSE(driver::Inspect(Glow()).ExStyle & WS_EX_TOPMOST);
}

// A click on the glow reaches the form below, which stays active and
// keeps its focus.
TEST_F(LayerWindows, AClickOnTheGlowReachesTheWindowBelow) {
    TForm* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 300, 200);
    Integer clicks = 0;
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
        ++clicks;
        EXPECT_EQ(110, X);
        EXPECT_EQ(55, Y);
    };
    form->Show();
    driver::Pump();
    const HWND active = GetActiveWindow(), focus = GetFocus();
    ASSERT_EQ(form->Handle(), active);
    FManager->Show(100, 50, FImage.get(), FMask.get(), 255);
    driver::AdvanceTime(300);
    EXPECT_EQ(Glow(), driver::Stacking().front());
    driver::Click({110, 55});
    driver::Pump();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(active, GetActiveWindow());
    EXPECT_EQ(focus, GetFocus());
}

TEST_F(LayerWindows, ShowTwiceLeavesOneWindowHideRemovesIt) {
    FManager->Hide();
    EXPECT_FALSE(FManager->Timer()->Enabled());
    EXPECT_EQ(0, LayeredWindows());

    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    const HWND first = Glow();
    FManager->Show(30, 0, FImage.get(), FMask.get(), 200);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(1, LayeredWindows());
    EXPECT_EQ(200, FManager->EndAlphaBlendValue());

    const HWND second = Glow();
    FManager->Hide();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(nullptr, FManager->LayerWindow());
    EXPECT_EQ(nullptr, FManager->Bmp());
    EXPECT_FALSE(FManager->IsVisible());
    EXPECT_FALSE(FManager->Timer()->Enabled());

    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    const HWND third = Glow();
    FManager.reset();
    EXPECT_FALSE(IsWindow(third));
}

TEST_F(LayerWindows, WithoutLayeredWindowsThereIsNoGlow) {
    SetLayered(false);
    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    EXPECT_EQ(nullptr, FManager->LayerWindow());
    EXPECT_FALSE(FManager->IsVisible());
    EXPECT_FALSE(FManager->Timer()->Enabled());
    EXPECT_EQ(0, LayeredWindows());
}

// Switched off after Show (a compositor gone): Hide still frees everything.
TEST_F(LayerWindows, HideFreesTheWindowAfterLayeredWindowsWentAway) {
    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    const HWND glow = Glow();
    SetLayered(false);
    FManager->Hide();
    EXPECT_FALSE(IsWindow(glow));
    EXPECT_EQ(nullptr, FManager->Bmp());
    EXPECT_FALSE(FManager->Timer()->Enabled());
}

TEST_F(LayerWindows, UpdatePutsTheGlowBackInFront) {
    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    TForm* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->SetBounds(0, 0, 50, 50);
    form->Show();
    driver::Pump();
    ASSERT_EQ(form->Handle(), driver::Stacking().front());
    FManager->Update();
    EXPECT_EQ(Glow(), driver::Stacking().front());
    EXPECT_EQ(0, driver::Inspect(Glow()).Bounds.left);
}

TEST_F(LayerWindows, UploadsThePremultipliedPicture) {
    SetRGB(*FMask, 3, 2, 0x808080);
    SetRGB(*FMask, 4, 2, 0x000000);
    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    // Colours limited to the mask's alpha.
    EXPECT_EQ(0xFFFF0000u, driver::RawPixel(Glow(), 0, 0));
    EXPECT_EQ(0x80800000u, driver::RawPixel(Glow(), 3, 2));
    EXPECT_EQ(0x00000000u, driver::RawPixel(Glow(), 4, 2));
}

TEST(CombineImageAndMask, AlphaFromTheMaskOrNoneForASmallerMask) {
    const auto image = SolidBitmap(3, 2, 0x20C0FF);
    const auto mask = SolidBitmap(3, 2, 0xFFFFFF);
    SetRGB(*mask, 0, 0, 0x306090);  // (48 + 96 + 144) div 3 = 96
    TqxBitmap result;
    CombineImageAndMask(image.get(), mask.get(), &result);
    // Colours limited to the alpha: 0x20 stays, 0xC0 and 0xFF become 0x60.
    EXPECT_EQ(0x60206060u, result.Bits()[0]);
    EXPECT_EQ(0xFF20C0FFu, result.Bits()[1]);
    const auto small = SolidBitmap(2, 2, 0xFFFFFF);
    for (TBitmap* mask : {small.get(), static_cast<TBitmap*>(nullptr)}) {
        CombineImageAndMask(image.get(), mask, &result);
        EXPECT_EQ(std::vector<TqxColor>(6, 0), Pixels(result));
    }
}

TEST_F(LayerWindows, UpdateLayeredBitmapNeedsAWindowABitmapAndTheEntryPoint) {
    FManager->Show(0, 0, FImage.get(), FMask.get(), 255);
    const int uploads = driver::Layered(Glow()).Uploads;
    UpdateLayeredBitmap(FManager->Bmp(), 100, nullptr);
    UpdateLayeredBitmap(nullptr, 100, FManager->LayerWindow());
    TqxBitmap empty;
    UpdateLayeredBitmap(&empty, 100, FManager->LayerWindow());
    EXPECT_EQ(uploads, driver::Layered(Glow()).Uploads);
    UpdateLayeredWindowProc = nullptr;
    UpdateLayeredBitmap(FManager->Bmp(), 100, FManager->LayerWindow());
    EXPECT_EQ(uploads, driver::Layered(Glow()).Uploads);
}

}  // namespace
