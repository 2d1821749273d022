// TApplication: the message loop and its key pre-processing, the exception
// box, the hidden application window, and mouse tracking.
#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/backend.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/timers.h"

using namespace win;

TScreen* Screen = new TScreen(nullptr);
TApplication* Application = new TApplication(nullptr);

namespace {

constexpr const char16_t* AppWindowClass = u"TApplication";

}  // namespace

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner),
      FIcon(std::make_unique<TIcon>()),
      FHintWindowClass(HintWindowClassOf<THintWindow>()) {
    // Forms without an icon of their own show the application's.
    FIcon->OnChange = [](TObject*) {
        if (Screen)
            for (TCustomForm* form : Screen->FForms)
                if (form->Icon()->Empty()) form->SendIcon();
    };
}

TApplication::~TApplication() {
    // The forms go first, while the application they report to is whole.
    DestroyComponents();
    StopHintTimer();
    if (FHintWindow) Free(FHintWindow);
    FHintWindow = nullptr;
    if (FHandle) DestroyWindow(FHandle);
    if (FObjectInstance) FreeObjectInstance(FObjectInstance);
    RemoveQueuedEvents(this);
}

HWND TApplication::Handle() {
    if (FHandle && IsWindow(FHandle)) return FHandle;
    WNDCLASSEXW existing{};
    if (!GetClassInfoExW(nullptr, AppWindowClass, &existing)) {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = DefWindowProcW;
        cls.lpszClassName = AppWindowClass;
        RegisterClassExW(&cls);
    }
    if (!FObjectInstance)
        FObjectInstance = MakeObjectInstance([this](TMessage& AMessage) { WndProc(AMessage); });
    // Empty and without a caption that would give it a minimum size: shown
    // or restored, it never appears on the screen.
    FHandle = CreateWindowExW(0, AppWindowClass, FTitle.c_str(),
                              WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                              nullptr, nullptr, nullptr, nullptr);
    if (FHandle) SetWindowLongW(FHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
    InstallHooks();
    return FHandle;
}

void TApplication::WndProc(TMessage& AMessage) {
    try {
        switch (AMessage.Msg) {
            case WM_SYSCOMMAND:
                switch (AMessage.WParam & 0xFFF0) {
                    case SC_MINIMIZE:
                        return Minimize();
                    case SC_RESTORE:
                        return Restore();
                    default:
                        break;
                }
                break;
            case WM_CLOSE:
                if (FMainForm) FMainForm->Close();
                return;
            case WM_TIMER:
                if (AMessage.WParam == HintTimerId) return HintTimerExpired();
                break;
            default:
                break;
        }
        AMessage.Result = DefWindowProcW(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::InstallHooks() {
    SetMouseTrackHook([](HWND AWindow, POINT APoint) {
        if (Application) Application->MouseTracked(AWindow, APoint);
    });
}

void TApplication::SetTitle(const String& AValue) {
    FTitle = AValue;
    if (FHandle && IsWindow(FHandle)) SetWindowTextW(FHandle, AValue.c_str());
}

void TApplication::AddCreatedForm(TCustomForm* AForm) {
    try {
        AForm->AfterConstruction();
    } catch (...) {
        Free(AForm);
        throw;
    }
    if (!FMainForm) {
        AForm->HandleNeeded();
        FMainForm = AForm;
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

void TApplication::ForgetControl(TControl* AControl) {
    if (AControl == FMainForm) FMainForm = nullptr;
    if (AControl == FHintWindow) FHintWindow = nullptr;
    if (AControl == FMouseControl) FMouseControl = nullptr;
    if (AControl == FHintControl) {
        FHintControl = nullptr;
        HideHint();
        StopHintTimer();
    }
}

void TApplication::Run() {
    if (FMainForm && FShowMainForm) {
        if (FMainForm->WindowState() == wsMinimized) Minimize();
        FMainForm->SetVisible(true);
    }
    while (!FTerminated)
        if (!HandleModalMessage()) break;
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& AMsg) {
    if (!PeekMessageW(&AMsg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (AMsg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    try {
        bool handled = false;
        IsHintMsg(AMsg);
        // A copy: the handler may replace itself (a menu unhooks on its close).
        if (const TMessageEvent handler = OnMessage) handler(AMsg, handled);
        if (!handled && !IsKeyMsg(AMsg)) {
            TranslateMessage(&AMsg);
            DispatchMessageW(&AMsg);
        }
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

bool TApplication::HandleModalMessage() {
    MSG msg;
    if (ProcessMessage(msg)) return true;
    Idle();
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return true;
    if (!Backend().InputCanArrive()) return false;
    WaitMessage();
    return true;
}

void TApplication::HandleMessage() {
    HandleModalMessage();
}

void TApplication::Idle() {
    FreeDeviceContexts(nullptr);
    bool done = true;
    try {
        if (OnIdle) OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
}

// Key messages go first to the toolkit control that has the focus (or the
// mouse), as CN_..., for short cuts and dialog keys; a non-zero answer ends
// them there.
bool TApplication::IsKeyMsg(MSG& AMsg) {
    if (AMsg.message < WM_KEYFIRST || AMsg.message > WM_KEYLAST) return false;
    HWND window = GetCapture();
    if (!window) {
        window = AMsg.hwnd;
        while (window && !FindControl(window))
            window = GetParent(window);
    }
    return window && SendMessageW(window, CN_BASE + AMsg.message, AMsg.wParam, AMsg.lParam) != 0;
}

void TApplication::Minimize() {
    if (FMainFormOnTaskBar && FMainForm && FMainForm->HandleAllocated()) {
        ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
    } else {
        ShowWindow(Handle(), SW_MINIMIZE);
        if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()))
            ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
    }
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!FMainFormOnTaskBar && FHandle && IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
    if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->Handle()))
        ShowWindow(FMainForm->Handle(), SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

namespace {

// The exception being handled as an Exception; false for EAbort, which is silent.
bool CurrentException(Exception& AResult) {
    const std::exception_ptr error = std::current_exception();
    if (!error) return false;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return false;
    } catch (const Exception& e) {
        AResult = e;
    } catch (const std::exception& e) {
        AResult = Exception(UTF8ToString(e.what()));
    } catch (...) {
        AResult = Exception(u"Unknown exception");
    }
    return true;
}

}  // namespace

void TApplication::HandleException(TObject* ASender) {
    Exception error(u"");
    if (CurrentException(error)) ReportException(ASender, error);
}

void TApplication::HandlePaintException(TControl* AControl) {
    Exception error(u"");
    if (!CurrentException(error)) return;
    if (AControl) {
        try {
            AControl->PaintFailed();
        } catch (...) {
        }
    }
    if (!FPaintErrors.insert(error.Message()).second) return;
    Queue([this, error] { ReportException(this, error); }, this);
}

void TApplication::ReportException(TObject* ASender, const Exception& AException) {
    if (OnException)
        OnException(ASender, AException);
    else
        ShowException(AException);
}

void TApplication::ShowException(const Exception& AException) {
    String text = AException.Message();
    if (!text.empty() && text.back() > u'.') text += u'.';
    const String title = FTitle.empty() ? ChangeFileExt(ExtractFileName(ProgramFileName()), u"") : FTitle;
    MessageBox(text, title, MB_OK | MB_ICONHAND);
}

void TApplication::MouseTracked(HWND AWindow, POINT AScreen) {
    TControl* target = nullptr;
    HWND window = AWindow;
    while (window && !FindControl(window))
        window = GetParent(window);
    if (TWinControl* control = FindControl(window)) {
        TControl* capture = GetCaptureControl();
        if (capture && capture != control && capture->Parent() == control)
            target = capture;
        else if (GetCapture() == window)
            target = control;
        else if (TControl* child =
                     control->ControlAtPos(control->ScreenToClient({AScreen.x, AScreen.y}), true))
            target = child;
        else
            target = control;
    }
    if (!target) CancelHint();
    if (target == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = target;
    try {
        if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
        if (FMouseControl && FMouseControl == target) target->Perform(CM_MOUSEENTER, 0, 0);
    } catch (...) {
        HandleException(this);
    }
}
