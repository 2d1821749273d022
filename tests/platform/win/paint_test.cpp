// Painting: window DC clipping, update regions, BeginPaint and erasing, the
// frame, redraw control, window regions and layered windows.
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gdi/syscolors.h"
#include "platform/win/painting.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Painting = WinTest;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 255, 0);
constexpr COLORREF White = RGB(255, 255, 255);

void Fill(HDC ADC, RECT ARect, COLORREF AColor) {
    HBRUSH brush = CreateSolidBrush(AColor);
    FillRect(ADC, &ARect, brush);
    DeleteObject(brush);
}

void FillClient(HWND AWindow, COLORREF AColor) {
    HDC dc = GetDC(AWindow);
    Fill(dc, {-1000, -1000, 1000, 1000}, AColor);
    ReleaseDC(AWindow, dc);
}

// Paints the whole client area in AColor on every WM_PAINT.
THandler Painter(COLORREF AColor) {
    return [AColor](HWND AWindow, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(AWindow, &ps);
        Fill(dc, {0, 0, 1000, 1000}, AColor);
        EndPaint(AWindow, &ps);
        return true;
    };
}

TEST_F(Painting, WindowDCsLeaveOutChildrenSiblingsAboveAndWhatTheRegionExcludes) {
    const HWND form = Popup({0, 0, 200, 200});
    const HWND a = Child(form, {10, 10, 110, 110});
    const HWND inner = Child(a, {0, 0, 20, 20});
    const HWND b = Child(form, {60, 60, 160, 160});
    On(form, Painter(Blue));
    driver::Pump();
    FillClient(a, Red);
    EXPECT_EQ(driver::Pixel(form, 5, 5), Blue);
    EXPECT_EQ(driver::Pixel(form, 50, 50), Red);
    EXPECT_EQ(driver::Pixel(form, 15, 15), White);    // the inner child
    EXPECT_EQ(driver::Pixel(form, 100, 100), White);  // sibling b lies above a
    EXPECT_EQ(driver::Pixel(b, 0, 0), White);
    EXPECT_EQ(driver::Pixel(inner, 5, 5), White);

    // A region cuts the window and its DCs down.
    SetWindowRgn(a, CreateRectRgn(50, 0, 100, 100), TRUE);
    driver::Pump();
    FillClient(a, Green);
    EXPECT_EQ(driver::Pixel(a, 40, 40), Blue);  // the parent repainted what the region uncovered
    EXPECT_EQ(driver::Pixel(a, 60, 40), Green);
    ASSERT_TRUE(driver::WindowRegion(a));
    EXPECT_EQ(driver::WindowRegion(a)->Bounds(), (RECT{50, 0, 100, 100}));

    // A hidden child draws nothing.
    ShowWindow(b, SW_HIDE);
    ShowWindow(inner, SW_HIDE);
    const HWND hiddenChild = Create(WS_CHILD, {0, 0, 50, 50}, form);
    FillClient(hiddenChild, Red);
    EXPECT_EQ(driver::Pixel(form, 5, 5), Blue);
}

TEST_F(Painting, BeginPaintErasesWhenAskedAndClipsToTheUpdateRegion) {
    const HWND form = Popup({0, 0, 100, 100});
    driver::Pump();
    FillClient(form, Blue);
    On(form, Painter(Red));
    const RECT small{10, 10, 20, 20};
    InvalidateRect(form, &small, FALSE);
    ClearLog();
    driver::Pump();
    EXPECT_TRUE(Logged(form, WM_ERASEBKGND).empty());
    EXPECT_EQ(driver::Pixel(form, 15, 15), Red);
    EXPECT_EQ(driver::Pixel(form, 25, 25), Blue);
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(form, &pending, FALSE));

    RECT area{30, 30, 40, 40};
    InvalidateRect(form, &area, TRUE);
    ClearLog();
    On(form, [](HWND AWindow, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        BeginPaint(AWindow, &ps);
        EXPECT_TRUE(ps.fErase == FALSE);
        EXPECT_EQ(ps.rcPaint, (RECT{30, 30, 40, 40}));
        EndPaint(AWindow, &ps);
        return true;
    });
    driver::Pump();
    ASSERT_EQ(Logged(form, WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(driver::Pixel(form, 35, 35), White);  // the class brush
    EXPECT_EQ(driver::Pixel(form, 45, 45), Blue);
}

TEST_F(Painting, BeginPaintPaintsAWaitingFrameThroughTheWholeWindowDC) {
    On(nullptr, [](HWND AWindow, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg == WM_NCCALCSIZE) {
            // Answered 1 with the rectangle shrunk: the first rectangle counts.
            RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam)->rgrc[0];
            r = RECT{r.left + 5, r.top + 20, r.right - 5, r.bottom - 5};
            return true;
        }
        if (AMsg == WM_NCPAINT) {
            HDC dc = GetWindowDC(AWindow);
            Fill(dc, {0, 0, 1000, 1000}, Blue);
            ReleaseDC(AWindow, dc);
            return true;
        }
        LRESULT result = 0;
        return Painter(Green)(AWindow, AMsg, 0, 0, result);
    });
    const HWND form = Popup({100, 100, 200, 200});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_NCPAINT, WM_PAINT}),
              (std::vector<std::pair<HWND, UINT>>{{form, WM_PAINT}, {form, WM_NCPAINT}}));
    EXPECT_EQ(driver::RawPixel(form, 0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(driver::RawPixel(form, 4, 50) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(driver::Pixel(form, 0, 0), Green);
    EXPECT_EQ(driver::Inspect(form).Client, (RECT{105, 120, 195, 195}));

    // RDW_FRAME asks for the frame again.
    ClearLog();
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Logged(form, WM_NCPAINT).size(), 1u);
}

TEST_F(Painting, AChildReachingPastItsParentsClientAreaLeavesTheParentsFrameToTheParent) {
    const HWND form = Popup({0, 0, 200, 200});
    // A frame of 10 pixels, painted blue.
    On(nullptr, [](HWND AWindow, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg == WM_NCCALCSIZE) {
            RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam)->rgrc[0];
            r = RECT{r.left + 10, r.top + 10, r.right - 10, r.bottom - 10};
            return true;
        }
        if (AMsg != WM_NCPAINT) return false;
        HDC dc = GetWindowDC(AWindow);
        Fill(dc, {0, 0, 1000, 1000}, Blue);
        ReleaseDC(AWindow, dc);
        return true;
    });
    const HWND frame = Child(form, {20, 20, 120, 120});
    // A page larger than the frame's client area, as a page control's sheets can be.
    const HWND page = Child(frame, {-5, -5, 95, 95});
    On(page, Painter(Red));
    driver::Pump();
    struct Case {
        int x, y;
        DWORD colour;
    };
    // Window coordinates of the form: the frame's border outside and under
    // the page, the page inside the frame's client area.
    for (const Case& c : {Case{22, 22, 0x0000FF}, Case{27, 27, 0x0000FF}, Case{125, 60, 0xFFFFFF},
                          Case{115, 115, 0x0000FF}, Case{60, 115, 0x0000FF}, Case{31, 31, 0xFF0000},
                          Case{109, 109, 0xFF0000}})
        EXPECT_EQ(driver::RawPixel(form, c.x, c.y) & 0xFFFFFF, c.colour) << c.x << "," << c.y;
    // A device context of the whole frame reaches its border under the page.
    HDC dc = GetWindowDC(frame);
    Fill(dc, {0, 0, 1000, 1000}, Green);
    ReleaseDC(frame, dc);
    EXPECT_EQ(driver::RawPixel(form, 27, 27) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(driver::RawPixel(form, 40, 40) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(Painting, RedrawWindowUpdatesChildrenOnlyWhenAsked) {
    const HWND form = Popup({0, 0, 200, 200});
    const HWND child = Child(form, {10, 10, 50, 50});
    driver::Pump();
    struct Case {
        UINT Flags;
        size_t ChildPaints;
    } cases[] = {{RDW_INVALIDATE | RDW_UPDATENOW, 0}, {RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN, 1}};
    for (const Case& c : cases) {
        ClearLog();
        RedrawWindow(form, nullptr, nullptr, c.Flags);
        // Painted before the call returns.
        EXPECT_EQ(Logged(form, WM_PAINT).size(), 1u);
        EXPECT_EQ(Logged(child, WM_PAINT).size(), c.ChildPaints);
    }
    ClearLog();
    InvalidateRect(form, nullptr, TRUE);
    UpdateWindow(form);
    EXPECT_EQ(Logged(form, WM_PAINT).size(), 1u);
    EXPECT_EQ(Logged(form, WM_ERASEBKGND).size(), 1u);
}

TEST_F(Painting, SetRedrawSuspendsPaintingUntilItIsOnAgain) {
    const HWND form = Popup({0, 0, 100, 100});
    driver::Pump();
    SendMessageW(form, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(form, nullptr, TRUE);
    FillClient(form, Red);
    ClearLog();
    driver::Pump();
    EXPECT_TRUE(Logged(form, WM_PAINT).empty());
    EXPECT_EQ(driver::Pixel(form, 5, 5), White);
    SendMessageW(form, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(Logged(form, WM_PAINT).size(), 1u);
}

TEST_F(Painting, MovingAChildRepaintsWhatItUncoveredAndItself) {
    const HWND form = Popup({0, 0, 200, 200});
    const HWND below = Child(form, {0, 0, 100, 100});
    const HWND above = Child(form, {50, 50, 100, 100});
    driver::Pump();
    ClearLog();
    MoveWindow(above, 120, 120, 50, 50, TRUE);
    driver::Pump();
    EXPECT_EQ(Logged(form, WM_PAINT).size(), 1u);
    EXPECT_EQ(Logged(below, WM_PAINT).size(), 1u);
    EXPECT_EQ(Logged(above, WM_PAINT).size(), 1u);
    EXPECT_EQ(Logged(below, WM_ERASEBKGND).size(), 1u);

    // Shrinking uncovers the rest of the old area.
    MoveWindow(below, 0, 0, 40, 40, TRUE);
    RECT uncovered;
    ASSERT_TRUE(GetUpdateRect(form, &uncovered, FALSE));
    EXPECT_EQ(uncovered, (RECT{0, 0, 100, 100}));
}

TEST_F(Painting, AWindowGrownInPlaceRepaintsOnlyTheNewPartUnlessItsClassRedrawsAll) {
    WNDCLASSEXW redraw{};
    redraw.cbSize = sizeof redraw;
    redraw.style = CS_HREDRAW | CS_VREDRAW;
    redraw.lpfnWndProc = DefWindowProcW;
    redraw.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    redraw.lpszClassName = u"VqRedraw";
    RegisterClassExW(&redraw);
    struct Case {
        bool Child;
        const char16_t* Class;
        bool Whole;
    } cases[] = {{false, TestClass, false},
                 {true, TestClass, false},
                 {false, u"VqRedraw", true},
                 {true, u"VqRedraw", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Child << " " << c.Whole);
        driver::Reset();
        const HWND form = Popup({0, 0, 200, 200});
        const HWND w = c.Child ? Create(WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, form, 0, c.Class)
                               : Create(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50}, nullptr, 0, c.Class);
        driver::Pump();
        FillClient(w, Red);
        MoveWindow(w, 0, 0, 80, 80, TRUE);
        RECT pending{};
        // The grown part is an L; its bounds cover the new size.
        ASSERT_TRUE(GetUpdateRect(w, &pending, FALSE));
        EXPECT_EQ(pending, (RECT{0, 0, 80, 80}));
        driver::Pump();
        EXPECT_EQ(driver::Pixel(w, 10, 10), c.Whole ? White : Red);
        EXPECT_EQ(driver::Pixel(w, 70, 70), White);
    }
}

TEST_F(Painting, LayeredWindowsRecordTheirAlphaAndUploads) {
    const HWND glow = Popup({10, 20, 30, 40}, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    EXPECT_TRUE(SetLayeredWindowAttributes(glow, 0, 0, LWA_ALPHA));
    EXPECT_TRUE(SetLayeredWindowAttributes(glow, 0, 128, LWA_ALPHA));
    EXPECT_EQ(driver::Layered(glow).Alpha, 128);
    EXPECT_EQ(driver::Layered(glow).AlphaHistory, (std::vector<BYTE>{0, 128}));

    // A per-pixel upload needs a window without constant alpha.
    const HWND frame = Popup({0, 0, 4, 4}, WS_EX_LAYERED);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 8, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    static_cast<uint32_t*>(bits)[1] = 0x80402010;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const POINT at{300, 200}, source{1, 0};
    const SIZE size{6, 4};
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
    EXPECT_TRUE(UpdateLayeredWindow(frame, nullptr, &at, &size, dc, &source, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(driver::Inspect(frame).Bounds, (RECT{300, 200, 306, 204}));
    EXPECT_EQ(driver::RawPixel(frame, 0, 0), 0x80402010u);
    EXPECT_EQ(driver::Layered(frame).Uploads, 1);
    EXPECT_EQ(driver::Layered(frame).UploadAlpha, 200);
    EXPECT_EQ(driver::Layered(frame).UploadSize, (SIZE{6, 4}));
    EXPECT_FALSE(SetLayeredWindowAttributes(frame, 0, 10, LWA_ALPHA));
    EXPECT_FALSE(UpdateLayeredWindow(glow, nullptr, &at, &size, dc, &source, 0, &blend, ULW_ALPHA));

    // Without the capability, or without the style, the calls fail.
    Capabilities().HasSetLayeredWindowAttributes = false;
    EXPECT_FALSE(SetLayeredWindowAttributes(glow, 0, 20, LWA_ALPHA));
    ResetCapabilities();
    const HWND plain = Popup({0, 0, 4, 4});
    EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 20, LWA_ALPHA));
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(Painting, AnUploadTakesOnlyWhatLiesOnItsSource) {
    const HWND frame = Popup({0, 0, 4, 4}, WS_EX_LAYERED);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 8, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    // Pixel (x, y) of the 8 x 4 source holds y in its green and x in its blue.
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            static_cast<uint32_t*>(bits)[y * 8 + x] = 0x40000000u | y << 8 | x;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const SIZE size{6, 4};
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    struct Case {
        POINT source;
        DWORD flags;
        int x, y;
        DWORD pixel;
    };
    // Window pixel (x, y) shows source pixel (x + source.x, y + source.y).
    const Case cases[] = {
        {{-2, 1}, ULW_ALPHA, 1, 0, 0},            // left of the source
        {{-2, 1}, ULW_ALPHA, 2, 0, 0x40000100u},  // its first column
        {{-2, 1}, ULW_ALPHA, 5, 2, 0x40000303u},
        {{-2, 1}, ULW_ALPHA, 5, 3, 0},            // below it
        {{4, 0}, ULW_ALPHA, 3, 1, 0x40000107u},   // its last column
        {{4, 0}, ULW_ALPHA, 4, 1, 0},             // right of it
        {{4, 0}, ULW_OPAQUE, 3, 1, 0xFF000107u},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(UpdateLayeredWindow(frame, nullptr, nullptr, &size, dc, &c.source, 0, &blend, c.flags));
        EXPECT_EQ(driver::RawPixel(frame, c.x, c.y), c.pixel) << c.source.x << " " << c.x << "," << c.y;
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(Painting, AWindowOwnsTheRegionItWasGiven) {
    const HWND popup = Popup({0, 0, 100, 100});
    HRGN first = CreateRectRgn(0, 0, 50, 50);
    EXPECT_NE(SetWindowRgn(popup, first, TRUE), 0);
    // The window freed it: deleting it again fails, as a stale handle does.
    EXPECT_FALSE(DeleteObject(first));
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(popup, copy), SIMPLEREGION);
    RECT box;
    GetRgnBox(copy, &box);
    EXPECT_EQ(box, (RECT{0, 0, 50, 50}));
    SetWindowRgn(popup, nullptr, TRUE);
    EXPECT_EQ(GetWindowRgn(popup, copy), ERROR);
    EXPECT_FALSE(driver::WindowRegion(popup));
    DeleteObject(copy);
}

TEST_F(Painting, AHandlerThatNeverBeginsPaintingIsNotAskedAgainAndAgain) {
    const HWND w = Popup({0, 0, 100, 100});
    Answer(w, WM_PAINT, 0);
    driver::Pump();
    EXPECT_EQ(Logged(w, WM_PAINT).size(), 1u);
    InvalidateRect(w, nullptr, TRUE);
    driver::Pump();
    UpdateWindow(w);
    EXPECT_EQ(Logged(w, WM_PAINT).size(), 2u);
}

}  // namespace
