#include "skin/core/qxutils.h"

#include <gtest/gtest.h>

#include "platform/base/clock.h"
#include "platform/gdi/capabilities.h"
#include "platform/gdi/regions.h"
#include "platform/win/messages.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"

namespace {

// A fresh memory desktop per test, the entry points looked up from its table.
class Probes : public ::testing::Test {
protected:
    void SetUp() override {
        win::driver::Reset();
        LoadPlatformEntryPoints();
        win::WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = win::DefWindowProcW;
        cls.lpszClassName = u"QxProbe";
        win::RegisterClassExW(&cls);
    }
    void TearDown() override {
        win::driver::Reset();
        LoadPlatformEntryPoints();
        UseSystemClock();
    }
    // Flips an entry of the table and looks the entry points up again.
    static void Flip(bool win::TCapabilities::*AEntry, bool AValue) {
        win::Capabilities().*AEntry = AValue;
        LoadPlatformEntryPoints();
    }
    static win::HWND Popup(win::RECT ABounds, win::DWORD AExStyle = 0) {
        return win::CreateWindowExW(AExStyle, u"QxProbe", u"", win::WS_POPUP | win::WS_VISIBLE, ABounds.left,
                                    ABounds.top, ABounds.right - ABounds.left, ABounds.bottom - ABounds.top,
                                    nullptr, nullptr, nullptr, nullptr);
    }
};

TEST(Versions, PredicatesOverTheVersions) {
    struct TCase {
        Byte Major, Minor;
        bool Windows7, Windows8OrLater, VistaOrLater, XPOrLater, Layered;
    } cases[] = {
        {4, 0, false, false, false, false, false}, {5, 0, false, false, false, false, true},
        {5, 1, false, false, false, true, true},   {5, 2, false, false, false, false, true},
        {5, 3, false, false, false, false, false}, {6, 0, false, false, true, true, true},
        {6, 1, true, false, true, true, true},     {6, 2, false, true, true, true, true},
        {6, 3, false, false, true, true, true},    {10, 0, false, true, true, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Major) << "." << int(c.Minor));
        EXPECT_EQ(c.Windows7, IsWindows7(c.Major, c.Minor));
        EXPECT_EQ(c.Windows8OrLater, IsWindows8OrLater(c.Major, c.Minor));
        EXPECT_EQ(c.VistaOrLater, IsVistaOrLater(c.Major, c.Minor));
        EXPECT_EQ(c.XPOrLater, IsXPOrLater(c.Major, c.Minor));
        EXPECT_EQ(c.Layered, IsLayeredWindowsVersion(c.Major, c.Minor));
    }
}

TEST_F(Probes, TheReportedVersionComesFromTheTable) {
    EXPECT_TRUE(IsWindows7());
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_TRUE(IsXPOrLater());
    EXPECT_FALSE(IsWindows8OrLater());
    win::Capabilities().MajorVersion = 5;
    win::Capabilities().MinorVersion = 2;
    EXPECT_FALSE(IsWindows7());
    EXPECT_FALSE(IsVistaOrLater());
    EXPECT_FALSE(IsXPOrLater());
    EXPECT_TRUE(IsLayeredWindowsAvailable());
}

TEST_F(Probes, LayeredWindowsNeedTheVersionAndTheBackEnd) {
    EXPECT_TRUE(IsLayeredWindowsAvailable());
    win::Capabilities().MajorVersion = 4;
    EXPECT_FALSE(IsLayeredWindowsAvailable());
    win::Capabilities().MajorVersion = 6;
    // A back end without a compositor clears its entries after start-up.
    win::Capabilities().HasUpdateLayeredWindow = false;
    EXPECT_FALSE(IsLayeredWindowsAvailable());
    win::Capabilities().HasUpdateLayeredWindow = true;
    Flip(&win::TCapabilities::HasSetLayeredWindowAttributes, false);
    EXPECT_EQ(nullptr, SetLayeredWindowAttributesProc);
    EXPECT_FALSE(IsLayeredWindowsAvailable());
}

TEST_F(Probes, SetWindowAlphaThroughTheEntryPoint) {
    const win::HWND window = Popup({10, 10, 50, 50}, win::WS_EX_LAYERED);
    SetWindowAlpha(window, 100);
    EXPECT_EQ(100, win::driver::Layered(window).Alpha);
    Flip(&win::TCapabilities::HasSetLayeredWindowAttributes, false);
    SetWindowAlpha(window, 30);
    EXPECT_EQ(100, win::driver::Layered(window).Alpha);
    EXPECT_NE(nullptr, UpdateLayeredWindowProc);
}

TEST_F(Probes, WithoutAScrollBarEntryPointTheBarIsInvisible) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(nullptr, GetScrollBarInfoProc);
    EXPECT_EQ(FALSE, SkinGetScrollBarInfo(nullptr, OBJID_VSCROLL, &info));
    EXPECT_EQ(STATE_SYSTEM_INVISIBLE, info.rgstate[0]);

    static SCROLLBARINFO* asked;
    GetScrollBarInfoProc = [](win::HWND, win::LONG AObject, SCROLLBARINFO* AInfo) -> win::BOOL {
        asked = AInfo;
        AInfo->rgstate[0] = 0;
        return AObject == OBJID_HSCROLL;
    };
    EXPECT_EQ(TRUE, SkinGetScrollBarInfo(nullptr, OBJID_HSCROLL, &info));
    EXPECT_EQ(&info, asked);
    EXPECT_EQ(0u, info.rgstate[0]);
}

TEST_F(Probes, WithoutDwmapiCompositionIsOffAndTheSettersDoNothing) {
    EXPECT_FALSE(IsDwmCompositionEnabled());
    const win::HWND window = Popup({0, 0, 10, 10});
    EnableDwmTransitions(window, true);
    EnableDwmBlurBehind(window, true, nullptr);

    static std::vector<std::pair<win::DWORD, win::BOOL>> attributes;
    static std::vector<DWM_BLURBEHIND> blurs;
    attributes.clear();
    blurs.clear();
    DwmIsCompositionEnabledProc = [](win::BOOL* AEnabled) -> HRESULT {
        *AEnabled = TRUE;
        return 0;
    };
    DwmSetWindowAttributeProc = [](win::HWND, win::DWORD AAttribute, const void* AValue,
                                   win::DWORD ASize) -> HRESULT {
        EXPECT_EQ(4u, ASize);
        attributes.emplace_back(AAttribute, *static_cast<const win::BOOL*>(AValue));
        return 0;
    };
    DwmEnableBlurBehindWindowProc = [](win::HWND, const DWM_BLURBEHIND* ABlur) -> HRESULT {
        blurs.push_back(*ABlur);
        return 0;
    };
    EXPECT_TRUE(IsDwmCompositionEnabled());
    EnableDwmTransitions(window, true);
    EnableDwmTransitions(window, false);
    EXPECT_EQ((std::vector<std::pair<win::DWORD, win::BOOL>>{{3, 0}, {3, -1}}), attributes);
    const win::HRGN region = win::CreateRectRgn(0, 0, 5, 5);
    EnableDwmBlurBehind(window, true, region);
    EnableDwmBlurBehind(window, false, nullptr);
    ASSERT_EQ(2u, blurs.size());
    EXPECT_EQ(3u, blurs[0].dwFlags);
    EXPECT_EQ(-1, blurs[0].fEnable);
    EXPECT_EQ(region, blurs[0].hRgnBlur);
    EXPECT_EQ(0, blurs[0].fTransitionOnMaximized);
    EXPECT_EQ(1u, blurs[1].dwFlags);
    EXPECT_EQ(0, blurs[1].fEnable);
    DwmIsCompositionEnabledProc = [](win::BOOL* AEnabled) -> HRESULT {
        *AEnabled = TRUE;
        return -1;
    };
    EXPECT_FALSE(IsDwmCompositionEnabled());
    FreePlatformEntryPoints();
    EXPECT_FALSE(IsDwmCompositionEnabled());
    EXPECT_EQ(nullptr, MonitorFromWindowProc);
}

TEST_F(Probes, WorkAreasOfOneScreen) {
    TRect area;
    GetScreenWorkArea(true, area);
    EXPECT_EQ(Rect(0, 0, 1920, 1040), area);
    GetScreenWorkArea(false, area);
    EXPECT_EQ(Rect(0, 0, 1920, 1080), area);
    EXPECT_FALSE(HasMultipleMonitors());
    GetMonitorWorkArea(Popup({10, 10, 20, 20}), true, area);
    EXPECT_EQ(Rect(0, 0, 1920, 1040), area);
}

TEST_F(Probes, WorkAreasOfTheMonitorNearestTheWindow) {
    win::driver::SetMonitors(
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}, {{1920, 0, 3200, 1024}, {1920, 24, 3200, 1024}}});
    EXPECT_TRUE(HasMultipleMonitors());
    const win::HWND window = Popup({2000, 100, 2200, 300});
    TRect area;
    GetMonitorWorkArea(window, true, area);
    EXPECT_EQ(Rect(1920, 24, 3200, 1024), area);
    GetMonitorWorkArea(window, false, area);
    EXPECT_EQ(Rect(1920, 0, 3200, 1024), area);
    GetMonitorWorkArea(Popup({5000, 100, 5100, 200}), true, area);
    EXPECT_EQ(Rect(1920, 24, 3200, 1024), area);

    // Unreadable information leaves the rectangle.
    GetMonitorInfoProc = [](win::HMONITOR, win::MONITORINFO*) -> win::BOOL { return FALSE; };
    area = Rect(1, 2, 3, 4);
    GetMonitorWorkArea(window, true, area);
    EXPECT_EQ(Rect(1, 2, 3, 4), area);

    // Without either entry point: the screen's work area.
    for (bool win::TCapabilities::*entry :
         {&win::TCapabilities::HasMonitorFromWindow, &win::TCapabilities::HasGetMonitorInfo}) {
        LoadPlatformEntryPoints();
        Flip(entry, false);
        GetMonitorWorkArea(window, true, area);
        EXPECT_EQ(Rect(0, 0, 1920, 1040), area);
        win::Capabilities().*entry = true;
    }
    Flip(&win::TCapabilities::HasGetMonitorInfo, false);
    EXPECT_FALSE(HasMultipleMonitors());
}

TEST(Rectangles, Helpers) {
    EXPECT_EQ(7, GetSkinRectWidth(Rect(3, 1, 10, 4)));
    EXPECT_EQ(3, GetSkinRectHeight(Rect(3, 1, 10, 4)));
    EXPECT_TRUE(SameRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
    EXPECT_FALSE(SameRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));
    TRect r = Rect(1, 2, 3, 4);
    ClearRect(r);
    EXPECT_EQ(TRect{}, r);
    EXPECT_TRUE(IsRectDegenerate(Rect(5, 5, 5, 20)));
    EXPECT_TRUE(IsRectDegenerate(Rect(5, 5, 9, 4)));
    EXPECT_FALSE(IsRectDegenerate(Rect(5, 5, 6, 6)));
    EXPECT_TRUE(IsPointUnset(Point(0, 7)));
    EXPECT_TRUE(IsPointUnset(Point(7, 0)));
    EXPECT_FALSE(IsPointUnset(Point(-1, 7)));
}

TEST(Rectangles, EdgesOfTheContainmentTests) {
    const TRect box = Rect(0, 0, 10, 10);
    struct TPointCase {
        TPoint P;
        bool Inside;
    } points[] = {{{10, 10}, true}, {{0, 0}, true}, {{11, 5}, false}, {{5, -1}, false}};
    for (const TPointCase& c : points)
        EXPECT_EQ(c.Inside, PointInsideRect(box, c.P)) << c.P.X << "," << c.P.Y;

    struct TRectCase {
        TRect A;
        bool In, TopOrBottomIn;
    } rects[] = {
        {{0, 0, 10, 10}, false, true}, {{0, 0, 9, 9}, true, true},     {{2, -5, 4, 3}, false, true},
        {{2, 8, 4, 30}, false, true},  {{2, -5, 4, 10}, false, false}, {{-3, 20, 1, 30}, false, false},
    };
    for (const TRectCase& c : rects) {
        EXPECT_EQ(c.In, RectInRect(c.A, box))
            << c.A.Left << "," << c.A.Top << "," << c.A.Right << "," << c.A.Bottom;
        EXPECT_EQ(c.TopOrBottomIn, RectTopOrBottomInRect(c.A, box))
            << c.A.Left << "," << c.A.Top << "," << c.A.Right << "," << c.A.Bottom;
    }
    // B narrower than 2 pixels: the top's probe falls outside it.
    EXPECT_FALSE(RectTopOrBottomInRect(Rect(0, 3, 1, 20), Rect(0, 0, 1, 10)));
    EXPECT_TRUE(RectTopOrBottomInRect(Rect(0, -3, 1, 5), Rect(0, 0, 1, 10)));
}

}  // namespace
