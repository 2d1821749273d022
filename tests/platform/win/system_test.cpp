// System metrics and parameters, monitors, the clipboard and sounds.
#include "platform/win/system.h"

#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using System = WinTest;

TEST_F(System, MetricsAndTheWorkAreaFollowTheCapabilityTable) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, 0, 1920, 1040}));
    BOOL full = FALSE;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0));
    EXPECT_TRUE(full);
    Capabilities().DragFullWindows = false;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    EXPECT_FALSE(full);
    EXPECT_FALSE(SystemParametersInfoW(0x1234, 0, &full, 0));
}

TEST_F(System, MonitorsAnswerForWindowsPointsAndRectangles) {
    const HWND form = Popup({0, 0, 100, 100});
    ClearLog();
    driver::SetMonitors(
        {{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}, {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1000}}});
    EXPECT_EQ(Logged(form, WM_DISPLAYCHANGE).size(), 1u);
    EXPECT_EQ(Logged(form, WM_DISPLAYCHANGE).at(0).LParam, MAKELPARAM(1280, 1024));
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2560);

    MoveWindow(form, 1200, 10, 200, 100, TRUE);  // mostly on the second monitor
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcWork, (RECT{1280, 0, 2560, 1000}));
    EXPECT_EQ(info.dwFlags, 0u);

    struct Case {
        POINT At;
        DWORD Flags;
        int Monitor;  // 0: none
    } cases[] = {{{10, 10}, MONITOR_DEFAULTTONULL, 1},
                 {{3000, 10}, MONITOR_DEFAULTTONULL, 0},
                 {{3000, 10}, MONITOR_DEFAULTTONEAREST, 2},
                 {{3000, 10}, MONITOR_DEFAULTTOPRIMARY, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(reinterpret_cast<uintptr_t>(MonitorFromPoint(c.At, c.Flags)), uintptr_t(c.Monitor))
            << c.At.x;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({10, 10}, 0), &info));
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    info.cbSize = 8;
    EXPECT_FALSE(GetMonitorInfoW(MonitorFromPoint({10, 10}, 0), &info));

    int count = 0;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, RECT*, LPARAM AData) -> BOOL { return ++*reinterpret_cast<int*>(AData) < 5; },
        LPARAM(&count));
    EXPECT_EQ(count, 2);

    driver::SetScreenDepth(16);
    EXPECT_EQ(Logged(form, WM_DISPLAYCHANGE).back().WParam, 16u);
}

TEST_F(System, TheClipboardHoldsTextSetWhileOpen) {
    EXPECT_FALSE(SetClipboardText(u"x"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_TRUE(SetClipboardText(u"视频"));
    CloseClipboard();
    EXPECT_EQ(driver::Clipboard(), u"视频");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    driver::SetClipboard(u"pasted");
    EXPECT_EQ(GetClipboardText(), u"pasted");
}

TEST_F(System, BeepsAreRecorded) {
    MessageBeep(MB_OK);
    MessageBeep(MB_ICONHAND);
    EXPECT_EQ(driver::Beeps(), (std::vector<UINT>{MB_OK, MB_ICONHAND}));
}

}  // namespace
