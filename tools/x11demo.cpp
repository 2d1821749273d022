// Shows the window layer on the X display for a person to look at: a
// rounded top-level window with Chinese text, a child window, a native child
// window and a popup. Drag the title band to move it; Esc or a click on the
// popup ends it. An optional argument ends it after that many milliseconds.
//
//   xvfb-run -s "-screen 0 1024x768x24" build/tools/x11demo 3000 &
//   sleep 2; DISPLAY=... import -window root shot.png
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/sysutils.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gdi/text.h"
#include "platform/win/display.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr int TitleHeight = 44;
constexpr ULONG_PTR QuitTimer = 1;

HFONT MakeFont(int AHeight, const char16_t* AFace) {
    LOGFONTW font{};
    font.lfHeight = -AHeight;
    font.lfWeight = 400;
    font.lfCharSet = GB2312_CHARSET;
    std::u16string(AFace).copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

void Fill(HDC ADC, RECT ARect, COLORREF AColor) {
    HBRUSH brush = CreateSolidBrush(AColor);
    FillRect(ADC, &ARect, brush);
    DeleteObject(brush);
}

void Text(HDC ADC, const String& AText, RECT ARect, int AHeight, COLORREF AColor, UINT AFlags = DT_LEFT) {
    HFONT font = MakeFont(AHeight, u"黑体");
    HGDIOBJ old = SelectObject(ADC, font);
    SetBkMode(ADC, TRANSPARENT);
    SetTextColor(ADC, AColor);
    DrawTextW(ADC, AText.c_str(), int(AText.size()), &ARect, AFlags | DT_NOPREFIX);
    SelectObject(ADC, old);
    DeleteObject(font);
}

// Paints through BeginPaint/EndPaint with APaint drawing on the client area.
template <class F>
LRESULT Paint(HWND AWindow, F APaint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(AWindow, &ps);
    RECT client;
    GetClientRect(AWindow, &client);
    APaint(dc, client);
    EndPaint(AWindow, &ps);
    return 0;
}

LRESULT MainProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    switch (AMessage) {
        case WM_PAINT:
            return Paint(AWindow, [&](HDC dc, RECT r) {
                Fill(dc, r, RGB(0x24, 0x33, 0x4D));
                Fill(dc, RECT{0, 0, r.right, TitleHeight}, RGB(0x3C, 0x6E, 0xB4));
                Text(dc, u"Velqua 视频转换器 — X11 演示", RECT{24, 0, r.right, TitleHeight}, 20,
                     RGB(0xFF, 0xFF, 0xFF), DT_SINGLELINE | DT_VCENTER);
                Text(dc,
                     u"圆角窗口区域：XShape 的外形与输入形状\n"
                     u"左下：子窗口，由窗口层裁剪并绘制\n"
                     u"右下黑框：原生 X 子窗口（给 SDL 用）\n"
                     u"黄色：弹出窗口，不经窗口管理器，不抢焦点\n"
                     u"拖动蓝色标题栏移动窗口，按 Esc 退出",
                     RECT{24, TitleHeight + 14, r.right - 16, TitleHeight + 150}, 16, RGB(0xE8, 0xEE, 0xF6));
            });
        case WM_NCHITTEST: {
            POINT p = LParamToPoint(ALParam);
            ScreenToClient(AWindow, &p);
            return p.y < TitleHeight ? HTCAPTION : HTCLIENT;
        }
        case WM_KEYDOWN:
            if (AWParam == VK_ESCAPE) DestroyWindow(AWindow);
            return 0;
        case WM_TIMER:
            if (AWParam == QuitTimer) DestroyWindow(AWindow);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    }
}

LRESULT ChildProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    if (AMessage != WM_PAINT) return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    return Paint(AWindow, [&](HDC dc, RECT r) {
        Fill(dc, r, RGB(0xF0, 0xF0, 0xF0));
        HBRUSH frame = CreateSolidBrush(RGB(0x69, 0x69, 0x69));
        FrameRect(dc, &r, frame);
        DeleteObject(frame);
        Fill(dc, RECT{1, 1, r.right - 1, 30}, RGB(0xD8, 0xE4, 0xF4));
        Text(dc, u"子窗口 child window", RECT{10, 1, r.right, 30}, 15, RGB(0, 0, 0),
             DT_SINGLELINE | DT_VCENTER);
        Text(dc, u"中文文本：视频、音频、格式\nEnglish text: video, audio",
             RECT{10, 40, r.right - 8, r.bottom}, 14, RGB(0x20, 0x20, 0x20));
    });
}

LRESULT PopupProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    switch (AMessage) {
        case WM_PAINT:
            return Paint(AWindow, [&](HDC dc, RECT r) {
                Fill(dc, r, RGB(0xFF, 0xFF, 0xE1));
                HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
                FrameRect(dc, &r, frame);
                DeleteObject(frame);
                Text(dc, u"弹出窗口 popup\n提示：点击这里关闭演示", RECT{12, 10, r.right - 8, r.bottom - 8},
                     15, RGB(0, 0, 0));
            });
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONUP:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    }
}

void Register(const char16_t* AName, WNDPROC AProc) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = AProc;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = AName;
    RegisterClassExW(&cls);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        InstallDisplayBackend();
    } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
    Register(u"VqDemoMain", MainProc);
    Register(u"VqDemoChild", ChildProc);
    Register(u"VqDemoPopup", PopupProc);
    Register(u"VqDemoNative", DefWindowProcW);

    HWND main = CreateWindowExW(0, u"VqDemoMain", u"Velqua X11 演示", WS_POPUP | WS_CLIPCHILDREN, 80, 80, 560,
                                380, nullptr, nullptr, nullptr, nullptr);
    SetWindowRgn(main, CreateRoundRectRgn(0, 0, 561, 381, 48, 48), FALSE);
    CreateWindowExW(0, u"VqDemoChild", u"", WS_CHILD | WS_VISIBLE, 24, 210, 280, 130, main, nullptr, nullptr,
                    nullptr);
    HWND native = CreateWindowExW(0, u"VqDemoNative", u"", WS_CHILD | WS_VISIBLE, 330, 210, 200, 130, main,
                                  nullptr, nullptr, nullptr);
    NativeWindowOf(native);
    ShowWindow(main, SW_SHOW);
    CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"VqDemoPopup", u"", WS_POPUP | WS_VISIBLE, 470, 400,
                    250, 70, main, nullptr, nullptr, nullptr);
    if (argc > 1) SetTimer(main, QuitTimer, UINT(std::strtoul(argv[1], nullptr, 10)), nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
