#include "media/previewform.h"

#include "platform/gdi/blit.h"
#include "platform/gdi/capabilities.h"
#include "platform/toolkit/canvas.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

using namespace win;

namespace {

const char16_t ClassName[] = u"VqPreviewForm";

}  // namespace

std::unique_ptr<TPreviewForm> TPreviewForm::Create(TBitmap* AFirstFrame) {
    if (!AFirstFrame) return nullptr;
    WNDCLASSEXW cls{};
    if (!GetClassInfoExW(nullptr, ClassName, &cls)) {
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = &TPreviewForm::WindowProc;
        cls.lpszClassName = ClassName;
        if (!RegisterClassExW(&cls)) return nullptr;
    }
    std::unique_ptr<TPreviewForm> form(new TPreviewForm);
    const HWND window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, ClassName, u"", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    form->FHandle = window;
    SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(form.get()));
    // The frame decides the client area; the window's frame comes around it.
    RECT bounds{}, client{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    const int width = AFirstFrame->Width() + (bounds.right - bounds.left) - client.right;
    const int height = AFirstFrame->Height() + (bounds.bottom - bounds.top) - client.bottom;
    const TCapabilities& screen = Capabilities();
    SetWindowPos(window, HWND_TOPMOST, (screen.ScreenWidth - width) / 2, (screen.ScreenHeight - height) / 2,
                 width, height, SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    return form;
}

TPreviewForm::~TPreviewForm() {
    if (IsWindow(FHandle)) DestroyWindow(FHandle);
}

void TPreviewForm::ShowFrame(TBitmap* ABitmap, const String& ACaption) {
    if (FClosed || !IsWindow(FHandle)) return;
    SetWindowTextW(FHandle, ACaption.c_str());
    FFrame.Assign(ABitmap);
    InvalidateRect(FHandle, nullptr, FALSE);
    UpdateWindow(FHandle);
}

LRESULT TPreviewForm::WindowProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    auto* form = reinterpret_cast<TPreviewForm*>(GetWindowLongW(AWindow, GWL_USERDATA));
    if (!form) return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    switch (AMessage) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(AWindow, &paint);
            // Frames larger than the first are cut at the window's edge.
            if (!form->FFrame.Empty())
                BitBlt(dc, 0, 0, form->FFrame.Width(), form->FFrame.Height(), form->FFrame.Canvas()->Handle(),
                       0, 0, SRCCOPY);
            EndPaint(AWindow, &paint);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // Small frames too get a client area of their own size.
            DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
            reinterpret_cast<MINMAXINFO*>(ALParam)->ptMinTrackSize = POINT{1, 1};
            return 0;
        }
        case WM_ERASEBKGND:
            return form->FFrame.Empty() ? DefWindowProcW(AWindow, AMessage, AWParam, ALParam) : 1;
        case WM_LBUTTONDOWN:
            // Dragged anywhere, as by its caption.
            return SendMessageW(AWindow, WM_NCLBUTTONDOWN, HTCAPTION, LPARAM(GetMessagePos()));
        case WM_CLOSE:
            form->FClosed = true;
            ShowWindow(AWindow, SW_HIDE);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongW(AWindow, GWL_USERDATA, 0);
            form->FHandle = nullptr;
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
        default:
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    }
}

void InstallPreviewForms() {
    SetPreviewWindowFactory([](TBitmap* AFirstFrame) -> std::unique_ptr<TPreviewWindow> {
        return TPreviewForm::Create(AFirstFrame);
    });
}
