#include "media/previewform.h"

#include <gtest/gtest.h>

#include <memory>

#include "mediatest.h"
#include "platform/gdi/capabilities.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/graphicsobjects.h"
#include "platform/win/messages.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"

using namespace win;

namespace {

std::unique_ptr<TBitmap> Frame(Integer AWidth, Integer AHeight, TColor AColour) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(AWidth, AHeight);
    bitmap->Canvas()->Brush()->SetColor(AColour);
    bitmap->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    return bitmap;
}

class PreviewFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver::Reset();
        InstallPreviewForms();
    }
    void TearDown() override { SetPreviewWindowFactory(nullptr); }

    // The one preview window there is.
    static HWND Window() {
        const std::vector<HWND> windows = driver::Stacking();
        return windows.size() == 1 ? windows.front() : nullptr;
    }
};

TEST_F(PreviewFormTest, TheFirstFrameSizesAStayOnTopToolWindowInTheMiddle) {
    auto previewer = std::make_unique<TPreviewer>();
    const auto red = Frame(64, 48, clRed), blue = Frame(80, 60, clBlue);
    OnWorker([&] { EXPECT_TRUE(previewer->PaintFrame(red.get(), 1, 40000)); });
    const HWND window = Window();
    ASSERT_NE(window, nullptr);
    const driver::TWindowInfo info = driver::Inspect(window);
    EXPECT_TRUE(info.Visible);
    EXPECT_TRUE(info.ExStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(info.ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(info.Client.right - info.Client.left, 64);
    EXPECT_EQ(info.Client.bottom - info.Client.top, 48);
    const TCapabilities& screen = Capabilities();
    EXPECT_EQ((info.Bounds.left + info.Bounds.right) / 2, screen.ScreenWidth / 2);
    EXPECT_EQ((info.Bounds.top + info.Bounds.bottom) / 2, screen.ScreenHeight / 2);
    EXPECT_EQ(info.Text, u"00:00:00.040");
    EXPECT_EQ(driver::Pixel(window, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(driver::Pixel(window, 63, 47), RGB(255, 0, 0));

    // A larger frame is cut at the window's edge.
    OnWorker([&] { EXPECT_TRUE(previewer->PaintFrame(blue.get(), 2, 3723456789)); });
    const driver::TWindowInfo later = driver::Inspect(window);
    EXPECT_EQ(later.Client.right - later.Client.left, 64);
    EXPECT_EQ(later.Text, u"01:02:03.456");
    EXPECT_EQ(driver::Pixel(window, 63, 47), RGB(0, 0, 255));
    OnWorker([&] { previewer.reset(); });
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(PreviewFormTest, DraggingTheClientAreaMovesTheWindow) {
    TPreviewer previewer;
    const auto red = Frame(64, 48, clRed);
    OnWorker([&] { previewer.PaintFrame(red.get(), 1, 0); });
    const HWND window = Window();
    ASSERT_NE(window, nullptr);
    const RECT before = driver::Inspect(window).Bounds;
    const RECT client = driver::Inspect(window).Client;
    const POINT start{client.left + 10, client.top + 10};
    driver::MouseDown(start);
    driver::MouseMove(POINT{start.x + 30, start.y + 20});
    driver::MouseUp(POINT{start.x + 30, start.y + 20});
    driver::Pump();
    const RECT after = driver::Inspect(window).Bounds;
    EXPECT_EQ(after.left - before.left, 30);
    EXPECT_EQ(after.top - before.top, 20);
}

TEST_F(PreviewFormTest, ClosingHidesTheWindowForGood) {
    TPreviewer previewer;
    const auto red = Frame(64, 48, clRed);
    OnWorker([&] { previewer.PaintFrame(red.get(), 1, 0); });
    const HWND window = Window();
    ASSERT_NE(window, nullptr);
    driver::CloseFromTaskBar(window);
    driver::Pump();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(driver::Inspect(window).Visible);
    OnWorker([&] { EXPECT_FALSE(previewer.PaintFrame(red.get(), 2, 40000)); });
    EXPECT_EQ(driver::Stacking(), std::vector<HWND>{window}) << "never reopened";
    EXPECT_FALSE(driver::Inspect(window).Visible);
}

}  // namespace
