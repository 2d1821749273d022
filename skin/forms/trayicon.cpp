// The tray icon: the notification record kept up to date with the shell,
// the callback machine that tells clicks from double clicks, the icon
// cycle, balloons, and the hooks on the application window (minimized:
// into the tray; the tray restarted: the icon again) and on the owner form.
#include "skin/forms/trayicon.h"

#include <algorithm>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/utilwindow.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "skin/core/qxskinmessages.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

void CopyText(char16_t* ATarget, size_t ACapacity, const String& AText, size_t AMax) {
    const size_t n = std::min({AText.size(), AMax, ACapacity - 1});
    std::copy_n(AText.data(), n, ATarget);
    ATarget[n] = 0;
}

TShiftState AsyncShiftState() {
    TShiftState shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

}  // namespace

void TqxWindowHook::Hook(HWND AWindow, std::function<void(TMessage&, bool&)> AHandler) {
    Unhook();
    auto state = std::make_shared<TState>();
    state->Window = AWindow;
    state->Handler = std::move(AHandler);
    std::weak_ptr<TState> weak = state;
    const WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongW(AWindow, GWL_WNDPROC));
    state->OldProc = old;
    // The procedure holds only what forwarding needs once unhooked.
    auto forward = std::make_shared<std::pair<HWND, WNDPROC>>(AWindow, old);
    state->NewProc = MakeObjectInstance([weak, forward](TMessage& AMessage) {
        bool handled = false;
        if (const std::shared_ptr<TState> live = weak.lock(); live && live->Handler) {
            live->Handler(AMessage, handled);
            if (handled) return;
        }
        AMessage.Result =
            CallWindowProcW(forward->second, forward->first, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    });
    SetWindowLongW(AWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(state->NewProc));
    FState = std::move(state);
}

void TqxWindowHook::Unhook() {
    if (!FState) return;
    const std::shared_ptr<TState> state = std::move(FState);
    if (IsWindow(state->Window) &&
        reinterpret_cast<WNDPROC>(GetWindowLongW(state->Window, GWL_WNDPROC)) == state->NewProc) {
        SetWindowLongW(state->Window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(state->OldProc));
        FreeObjectInstance(state->NewProc);
    }
    // Otherwise another procedure chains to ours: it stays, forwarding only.
}

TqxTrayIcon::TqxTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
    FTaskbarCreated = RegisterWindowMessageW(u"TaskbarCreated");
    IconData.cbSize = NOTIFYICONDATAW_SIZE;
    IconData.hWnd = AllocateHWnd([this](TMessage& AMessage) { IconWndProc(AMessage); });
    IconData.uID = 1;
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    IconData.uCallbackMessage = SKINMSG_TRAYNOTIFY;
    FWindowHandle = reinterpret_cast<HWND>(GetWindowLongW(IconData.hWnd, GWL_HWNDPARENT));
    AnimateTimer = new TTimer(this);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(FAnimateTimerInterval);
    AnimateTimer->OnTimer = [this](TObject*) { DoAnimateTimer(); };
    ClickTimer = new TTimer(this);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(GetDoubleClickTime());
    ClickTimer->OnTimer = [this](TObject*) { DoClickTimer(); };
    if (FIcon->Empty() && LoadDefaultIcon() && Application && Application->Icon() &&
        !Application->Icon()->Empty())
        FIcon->Assign(Application->Icon());
    if (Application)
        FAppHook.Hook(Application->Handle(),
                      [this](TMessage& AMessage, bool& AHandled) { AppWndProc(AMessage, AHandled); });
    if (TWinControl* owner = OwnerControl())
        FOwnerHook.Hook(owner->Handle(),
                        [this](TMessage& AMessage, bool& AHandled) { FormWndProc(AMessage, AHandled); });
}

TqxTrayIcon::~TqxTrayIcon() {
    SetIconVisible(false);
    FAppHook.Unhook();
    FOwnerHook.Unhook();
    AnimateTimer->SetEnabled(false);
    ClickTimer->SetEnabled(false);
    DeallocateHWnd(IconData.hWnd);
    SetPopupMenu(nullptr);
    SetIconList(nullptr);
}

TWinControl* TqxTrayIcon::OwnerControl() const {
    return dynamic_cast<TWinControl*>(Owner());
}

void TqxTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerControl() && FMinimizedOnStart) {
        FIconVisible = true;
        FMinimizeToTray = true;
        if (Application) {
            Application->SetShowMainForm(false);
            ShowWindow(Application->Handle(), SW_HIDE);
        }
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

void TqxTrayIcon::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FIconList) FIconList = nullptr;
    if (FPopupMenu && AComponent == static_cast<TComponent*>(FPopupMenu)) FPopupMenu = nullptr;
}

bool TqxTrayIcon::PrepareIconData() {
    IconData.hIcon = FIcon->Handle();
    CopyText(IconData.szTip, std::size(IconData.szTip), FShowHint ? FHint : String(), 127);
    return true;
}

bool TqxTrayIcon::ShowIcon() {
    FIconVisible = true;
    return PrepareIconData() && Shell_NotifyIconW(NIM_ADD, &IconData);
}

bool TqxTrayIcon::HideIcon() {
    FIconVisible = false;
    return PrepareIconData() && Shell_NotifyIconW(NIM_DELETE, &IconData);
}

bool TqxTrayIcon::ModifyIcon() {
    return PrepareIconData() && Shell_NotifyIconW(NIM_MODIFY, &IconData);
}

void TqxTrayIcon::SetIconVisible(bool Value) {
    if (Value)
        ShowIcon();
    else
        HideIcon();
}

void TqxTrayIcon::SetIcon(TIcon* Value) {
    FIcon->Assign(Value);
    ModifyIcon();
}

void TqxTrayIcon::SetHint(const String& Value) {
    FHint = Value;
    ModifyIcon();
}

void TqxTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    ModifyIcon();
}

void TqxTrayIcon::SetPopupMenu(TqxSkinPopupMenu* Value) {
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TqxTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value) SetIconIndex(0);
    AnimateTimer->SetEnabled(Value);
}

void TqxTrayIcon::SetAnimateTimerInterval(Cardinal Value) {
    FAnimateTimerInterval = Value;
    AnimateTimer->SetInterval(Value);
}

void TqxTrayIcon::SetIconList(TCustomImageList* Value) {
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = Value;
    if (FIconList) FIconList->FreeNotification(this);
    SetIconIndex(0);
}

void TqxTrayIcon::SetIconIndex(Integer Value) {
    // An empty list has no image to show: the index stays 0, the icon as it is.
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
        FIconList->GetIcon(FIconIndex, FIcon.get());
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

bool TqxTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* AIcon, TColor MaskColor) {
    TCustomImageList list(16, 16);
    list.AddMasked(Bitmap, MaskColor);
    list.GetIcon(0, AIcon);
    return true;
}

bool TqxTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TqxBalloonHintIcon IconType) {
    HideBalloonHint();
    IconData.uFlags |= NIF_INFO;
    CopyText(IconData.szInfo, std::size(IconData.szInfo), Text, 255);
    CopyText(IconData.szInfoTitle, std::size(IconData.szInfoTitle), Title, 63);
    IconData.dwInfoFlags = DWORD(IconType);
    const bool result = ModifyIcon();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return result;
}

bool TqxTrayIcon::HideBalloonHint() {
    IconData.uFlags |= NIF_INFO;
    IconData.szInfo[0] = 0;
    const bool result = ModifyIcon();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return result;
}

// The application's window comes back only from the minimize that sent the
// program to the tray: it is hidden otherwise, and shown it would be a
// window of its own that takes the activation from the main form.
void TqxTrayIcon::RestoreApplicationWindow() {
    const HWND application = Application->Handle();
    if (!IsIconic(application)) return;
    ShowWindow(application, SW_RESTORE);
    SetForegroundWindow(application);
}

void TqxTrayIcon::ShowMainForm() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    RestoreApplicationWindow();
    main->SetVisible(true);
    if (main->WindowState() == wsMinimized) main->SetWindowState(wsNormal);
    main->SetTag(SKINTAG_TRAYRESTORE);
    PostMessageW(main->Handle(), SKINMSG_RESTOREFROMTRAY, 0, 0);
}

void TqxTrayIcon::HideMainForm() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    main->SetVisible(false);
    ShowWindow(Application->Handle(), SW_HIDE);
    main->SetTag(SKINTAG_TRAYRESTORE);
}

void TqxTrayIcon::Click() {
    if (OnClick) OnClick(this);
}

void TqxTrayIcon::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TqxTrayIcon::DoCycle() {
    if (!OnCycle) return;
    const Integer next = FIconList && FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0;
    OnCycle(this, next);
}

void TqxTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TqxTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TqxTrayIcon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TqxTrayIcon::DoMinimizeToTray() {
    HideMainForm();
    SetIconVisible(true);
}

void TqxTrayIcon::IconWndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_USERCHANGED:
        case WM_NCDESTROY:
            Message.Result = 1;
            return;
        default:
            break;
    }
    if (Message.Msg != SKINMSG_TRAYNOTIFY) {
        Message.Result = DefWindowProcW(IconData.hWnd, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    if (!FEnabled) return;
    const TShiftState shift = AsyncShiftState();
    POINT p{};
    GetCursorPos(&p);
    const Integer x = p.x, y = p.y;
    switch (UINT(Message.LParam)) {
        case WM_MOUSEMOVE:
            MouseMove(shift, x, y);
            break;
        case WM_LBUTTONDOWN:
            ClickTimer->SetEnabled(true);
            MouseDown(mbLeft, shift + TShiftState{ssLeft}, x, y);
            FClickStart = true;
            if (FPopupByLeftButton) PopupAtCursor();
            break;
        case WM_LBUTTONUP:
            if (FClickStart) {
                FClickReady = true;
                // Held longer than the double-click time: the click is now.
                if (!ClickTimer->Enabled()) {
                    FClickStart = FClickReady = false;
                    Click();
                }
            }
            FClickStart = false;
            MouseUp(mbLeft, shift + TShiftState{ssLeft}, x, y);
            break;
        case WM_LBUTTONDBLCLK:
            FClickReady = false;
            IsDblClick = true;
            DblClick();
            if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
                TMenuItem* items = FPopupMenu->Items();
                for (Integer i = 0; i < items->Count(); ++i)
                    if (items->Items(i)->Default()) {
                        items->Items(i)->Click();
                        break;
                    }
            }
            break;
        case WM_RBUTTONDOWN:
            MouseDown(mbRight, shift + TShiftState{ssRight}, x, y);
            PopupAtCursor();
            break;
        case WM_RBUTTONUP:
            MouseUp(mbRight, shift + TShiftState{ssRight}, x, y);
            break;
        case WM_MBUTTONDOWN:
            MouseDown(mbMiddle, shift + TShiftState{ssMiddle}, x, y);
            break;
        case WM_MBUTTONUP:
            MouseUp(mbMiddle, shift + TShiftState{ssMiddle}, x, y);
            break;
        case NIN_BALLOONUSERCLICK:
            if (OnBalloonHintClick) OnBalloonHintClick(this);
            break;
        default:
            break;
    }
}

void TqxTrayIcon::DoClickTimer() {
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        Click();
    }
    IsDblClick = false;
}

void TqxTrayIcon::PopupAtCursor() {
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
    POINT p{};
    if (!GetCursorPos(&p)) return;
    if (Application) Application->ProcessMessages();
    SetForegroundWindow(IconData.hWnd);
    TWinControl* owner = OwnerControl();
    if (owner) SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.x, p.y);
    if (owner && owner->HandleAllocated()) PostMessageW(owner->Handle(), WM_NULL, 0, 0);
}

void TqxTrayIcon::DoAnimateTimer() {
    // An empty list cycles nothing.
    if (!FIconList || FIconList->Count() == 0) return;
    FIconList->GetIcon(FIconIndex, FIcon.get());
    DoCycle();
    ModifyIcon();
    SetIconIndex(FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0);
}

void TqxTrayIcon::AppWndProc(TMessage& Message, bool&) {
    if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && FMinimizeToTray) {
        DoMinimizeToTray();
    } else if (Message.Msg == WM_WINDOWPOSCHANGED && SettingMDIForm && Application &&
               Application->MainForm()) {
        if (Application->MainForm()->FormStyle() == fsMDIForm && FMinimizedOnStart)
            ShowWindow(Application->Handle(), SW_HIDE);
        SettingMDIForm = false;
    } else if (Message.Msg == FTaskbarCreated && FIconVisible) {
        ShowIcon();
    }
}

void TqxTrayIcon::FormWndProc(TMessage& Message, bool&) {
    if (Message.Msg == WM_ACTIVATE &&
        (LOWORD(Message.WParam) == WA_ACTIVE || LOWORD(Message.WParam) == WA_CLICKACTIVE)) {
        TWinControl* active = Screen ? Screen->ActiveControl() : nullptr;
        // While activation moves the screen may still name a control of the
        // form that is losing it: focusing that one would activate it back.
        if (active && GetParentForm(active) == OwnerControl() && active->CanFocus()) {
            TWinControl* expected = active->Parent() ? active->Parent() : active;
            const HWND losing = reinterpret_cast<HWND>(Message.LParam);
            if (!expected->HandleAllocated() || losing != expected->Handle())
                if (active->HandleAllocated()) SetFocus(active->Handle());
        }
    } else if (Message.Msg == WM_SHOWWINDOW && Message.WParam != 0 && Message.LParam == 0 && Application) {
        RestoreApplicationWindow();
        if (TWinControl* owner = OwnerControl()) SetForegroundWindow(owner->Handle());
    }
}

namespace {

const auto Registered = [] {
    using T = TqxTrayIcon;
    RegisterClass<T, TComponent>()
        .Property(u"Enabled", &T::Enabled, &T::SetEnabled)
        .Property(u"IconVisible", &T::IconVisible, &T::SetIconVisible)
        .Property(u"Hint", &T::Hint, &T::SetHint)
        .Property(u"ShowHint", &T::ShowHint, &T::SetShowHint)
        .Property(u"PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
        .Property(u"PopupByLeftButton", &T::PopupByLeftButton, &T::SetPopupByLeftButton)
        .Property(u"MinimizedOnStart", &T::MinimizedOnStart, &T::SetMinimizedOnStart)
        .Property(u"MinimizeToTray", &T::MinimizeToTray, &T::SetMinimizeToTray)
        .Property(u"IconList", &T::IconList, &T::SetIconList)
        .Property(u"IconIndex", &T::IconIndex, &T::SetIconIndex)
        .Property(u"CycleIcons", &T::CycleIcons, &T::SetCycleIcons)
        .Property(u"AnimateTimerInterval", &T::AnimateTimerInterval, &T::SetAnimateTimerInterval)
        .Event(u"OnClick", &T::OnClick)
        .Event(u"OnDblClick", &T::OnDblClick)
        .Event(u"OnBalloonHintClick", &T::OnBalloonHintClick);
    return true;
}();

}  // namespace
