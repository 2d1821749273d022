// TCustomForm: a top-level window with borders, focus bookkeeping, the
// modal loop, closing and key pre-processing.
#include <algorithm>

#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"

using namespace win;

namespace {

// Counts focus changes, so a focus message whose handler moved the focus
// elsewhere is noticed.
Integer FocusCount = 0;

bool SendFocusMessage(HWND AWindow, UINT AMsg) {
    const Integer count = FocusCount;
    SendMessageW(AWindow, AMsg, 0, 0);
    return FocusCount == count;
}

int ShowCommand(TWindowState AState) {
    switch (AState) {
        case wsMinimized:
            return SW_SHOWMINIMIZED;
        case wsMaximized:
            return SW_SHOWMAXIMIZED;
        default:
            return SW_SHOWNORMAL;
    }
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FIcon(std::make_unique<TIcon>()), FCanvas(std::make_unique<TControlCanvas>()) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    StoreBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    SetParentFont(false);
    FCanvas->SetControl(this);
    FIcon->OnChange = [this](TObject*) { SendIcon(); };
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    BeforeDestruction();
    FCanvas->FreeHandle();
    DestroyHandle();
    if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::BeforeDestruction() {
    if (ComponentState().Contains(csDestroying)) return;
    Destroying();
    if (Screen) std::erase(Screen->FSaveFocusedList, this);
    if (HandleAllocated() && Visible()) {
        try {
            Hide();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::AfterConstruction() {
    ReadFormDescription(this);
    DoCreate();
    if (FVisibleRequested) {
        FVisibleRequested = false;
        SetVisible(true);
    }
}

void TCustomForm::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation AOperation) {
    TWinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FMenu) FMenu = nullptr;
    if (AComponent == FWindowMenu) FWindowMenu = nullptr;
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (FActiveControl && !FActiveControl->CanFocus()) FActiveControl = nullptr;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle AValue) {
    if (AValue == FBorderStyle) return;
    FBorderStyle = AValue;
    RecreateWnd();
    Perform(CM_BORDERCHANGED, 0, 0);
}

void TCustomForm::SetFormStyle(TFormStyle AValue) {
    if (AValue == FFormStyle) return;
    const bool mdi =
        AValue == fsMDIForm || AValue == fsMDIChild || FFormStyle == fsMDIForm || FFormStyle == fsMDIChild;
    FFormStyle = AValue;
    if (mdi) return RecreateWnd();
    if (HandleAllocated())
        SetWindowPos(Handle(), AValue == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderIcons(TBorderIcons AValue) {
    if (AValue == FBorderIcons) return;
    FBorderIcons = AValue;
    RecreateWnd();
    Perform(CM_BORDERCHANGED, 0, 0);
}

TWindowState TCustomForm::WindowState() {
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState AValue) {
    if (AValue == FWindowState) return;
    FWindowState = AValue;
    if (HandleAllocated() && Showing()) ShowWindow(Handle(), ShowCommand(AValue));
}

void TCustomForm::SetMenu(TMainMenu* AValue) {
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = AValue;
    if (FMenu) FMenu->FreeNotification(this);
}

void TCustomForm::SetClientSize(Integer AWidth, Integer AHeight) {
    if (HandleAllocated()) return TWinControl::SetClientSize(AWidth, AHeight);
    // The frame is only known once the window exists.
    if (AWidth != ClientWidth()) FPendingClientWidth = AWidth;
    if (AHeight != ClientHeight()) FPendingClientHeight = AHeight;
    Realign();
}

TRect TCustomForm::ClientRect() {
    if (HandleAllocated() || (FPendingClientWidth <= 0 && FPendingClientHeight <= 0))
        return TWinControl::ClientRect();
    return Rect(0, 0, FPendingClientWidth > 0 ? FPendingClientWidth : Width(),
                FPendingClientHeight > 0 ? FPendingClientHeight : Height());
}

void TCustomForm::CreateParams(TCreateParams& AParams) {
    TWinControl::CreateParams(AParams);
    // A form placed inside a control is a child window of it, keeping its
    // frame; it is never a top-level window of the application.
    const bool mdiChild = FFormStyle == fsMDIChild && !Parent();
    const bool child = Parent() != nullptr || mdiChild;
    if (child) {
        AParams.Style |= WS_CHILD;
        AParams.Style &= ~(WS_GROUP | WS_TABSTOP);
    } else {
        AParams.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
        AParams.WndParent = nullptr;
    }
    if (mdiChild) CreateMDIChildParams(AParams);
    if (!child) AParams.WndParent = MadeOwner();
    switch (FBorderStyle) {
        case bsNone:
            if (!child) AParams.Style |= WS_POPUP;
            break;
        case bsSingle:
        case bsToolWindow:
            AParams.Style |= WS_CAPTION | WS_BORDER;
            break;
        case bsSizeable:
        case bsSizeToolWin:
            AParams.Style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case bsDialog:
            AParams.Style |= (child ? 0 : WS_POPUP) | WS_CAPTION;
            AParams.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) AParams.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu)) AParams.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderIcons.Contains(biMinimize)) AParams.Style |= WS_MINIMIZEBOX;
        if (FBorderStyle != bsDialog && FBorderIcons.Contains(biMaximize)) AParams.Style |= WS_MAXIMIZEBOX;
    }
    if (FFormStyle == fsStayOnTop) AParams.ExStyle |= WS_EX_TOPMOST;
    if (FFormStyle == fsMDIForm) AParams.Style |= WS_CLIPCHILDREN;
    if (mdiChild) return;
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) AParams.X = AParams.Y = CW_USEDEFAULT;
    if (FPosition == poDefault || FPosition == poDefaultSizeOnly)
        AParams.Width = AParams.Height = CW_USEDEFAULT;
}

HWND TCustomForm::MadeOwner() {
    if (!Application) return nullptr;
    TCustomForm* main = Application->MainForm();
    if (!Application->MainFormOnTaskBar()) return Application->Handle();
    return main && main != this ? main->Handle() : nullptr;
}

HWND TCustomForm::ShownOwner() {
    const HWND self = Handle();
    const auto takes = [self](HWND AOwner) {
        if (!AOwner || AOwner == self || !IsWindowVisible(AOwner)) return false;
        for (HWND o = AOwner; o; o = GetWindow(o, GW_OWNER))
            if (o == self) return false;
        return true;
    };
    if (const HWND active = GetActiveWindow(); takes(active)) return active;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main->HandleAllocated() && takes(main->Handle())) return main->Handle();
    return MadeOwner();
}

void TCustomForm::ReleaseShownForms() {
    if (!Screen || !HandleAllocated()) return;
    for (TCustomForm* form : Screen->FForms)
        if (form != this && form->HandleAllocated() && GetWindow(form->Handle(), GW_OWNER) == Handle())
            SetWindowLongW(form->Handle(), GWL_HWNDPARENT, LONG_PTR(form->MadeOwner()));
}

void TCustomForm::SendIcon() {
    if (!HandleAllocated()) return;
    const TIcon* icon = !FIcon->Empty() ? FIcon.get() : Application ? Application->Icon() : nullptr;
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, LPARAM(icon ? icon->Handle() : nullptr));
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    SendIcon();
    if (Application) Application->InstallHooks();
    if (FFormStyle == fsMDIForm) CreateMDIClient();
    if (FFormStyle == fsMDIChild && !Parent() && (FMDIFrame = MDIFrame()))
        FMDIFrame->FMDIChildList.push_back(this);
    if (FPendingClientWidth > 0 || FPendingClientHeight > 0) {
        const Integer width = FPendingClientWidth > 0 ? FPendingClientWidth : ClientWidth();
        const Integer height = FPendingClientHeight > 0 ? FPendingClientHeight : ClientHeight();
        FPendingClientWidth = FPendingClientHeight = 0;
        TWinControl::SetClientSize(width, height);
    }
}

void TCustomForm::SetVisible(bool AValue) {
    // A description's Visible takes effect once the form has been created.
    if (ComponentState().Contains(csLoading)) {
        FVisibleRequested = AValue;
        return;
    }
    TWinControl::SetVisible(AValue);
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
    if (FMDIFrame) FMDIFrame->MDIActivate(this);
}

void TCustomForm::Hide() {
    SetVisible(false);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::PlaceForShow() {
    const TRect screen = Screen ? Rect(0, 0, Screen->Width(), Screen->Height()) : TRect{};
    TRect area;
    switch (FPosition) {
        case poScreenCenter:
            area = screen;
            break;
        case poDesktopCenter:
            area = Screen ? Screen->DesktopRect() : screen;
            break;
        case poOwnerFormCenter:
        case poMainFormCenter: {
            TCustomForm* over =
                FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
            if (!over && Application) over = Application->MainForm();
            if (!over || over == this) {
                area = screen;
                break;
            }
            // Centred on a form near the edge, a larger form would hang off
            // the screen: it stays inside the work area of that form's monitor.
            const TRect work = Screen ? Screen->MonitorFromWindow(over->Handle()).WorkareaRect : screen;
            const TRect around = over->BoundsRect();
            const Integer left = around.Left + (around.Width() - Width()) / 2;
            const Integer top = around.Top + (around.Height() - Height()) / 2;
            SetBounds(std::max(work.Left, std::min(left, work.Right - Width())),
                      std::max(work.Top, std::min(top, work.Bottom - Height())), Width(), Height());
            return;
        }
        default:
            return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
              Height());
}

void TCustomForm::CMShowingChanged(TMessage&) {
    if (FShowingChanging) throw EInvalidOperation(u"Cannot change Visible in OnShow or OnHide");
    FShowingChanging = true;
    try {
        if (Showing()) {
            try {
                DoShow();
            } catch (...) {
                if (Application) Application->HandleException(this);
            }
            PlaceForShow();
            if (FModal && !Parent() && FFormStyle != fsMDIChild)
                SetWindowLongW(Handle(), GWL_HWNDPARENT, LONG_PTR(ShownOwner()));
            ShowWindow(Handle(), ShowCommand(FWindowState));
            if (FMDIFrame) FMDIFrame->MDIActivate(this);
        } else {
            try {
                DoHide();
            } catch (...) {
                if (Application) Application->HandleException(this);
            }
            ShowWindow(Handle(), SW_HIDE);
            // Hidden, it no longer hangs on the form it was shown over.
            if (FModal && !Parent() && FFormStyle != fsMDIChild)
                SetWindowLongW(Handle(), GWL_HWNDPARENT, LONG_PTR(MadeOwner()));
            if (FMDIFrame) FMDIFrame->MDIChildHidden(this);
        }
    } catch (...) {
        FShowingChanging = false;
        throw;
    }
    FShowingChanging = false;
}

void TCustomForm::SetActiveControl(TWinControl* AControl) {
    if (AControl == FActiveControl) return;
    const bool loading = ComponentState().Contains(csLoading);
    if (AControl &&
        (AControl == this || GetParentForm(AControl) != this || (!loading && !AControl->CanFocus())))
        throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    FActiveControl = AControl;
    if (loading) return;
    if (FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
    HWND focus = nullptr;
    if (FActiveControl)
        focus = FActiveControl->Handle();
    else if (TCustomForm* child = ActiveMDIChild())
        return child->SetWindowFocus();
    else if (HandleAllocated())
        focus = Handle();
    if (focus) win::SetFocus(focus);
}

void TCustomForm::FocusControl(TWinControl* AControl) {
    const bool wasActive = FActive;
    SetActiveControl(AControl);
    if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
    if (FActive) return;
    if (!Visible() || !Enabled()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

void TCustomForm::DefocusControl(TWinControl* AControl, bool ARemoving) {
    if (ARemoving && AControl->ContainsControl(FFocusedControl)) FFocusedControl = AControl->Parent();
    if (AControl->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

bool TCustomForm::SetFocusedControl(TWinControl* AControl) {
    ++FocusCount;
    FActiveControl = AControl == this ? nullptr : AControl;
    if (Screen) Screen->FormFocused(this, AControl);
    if (AControl->FControlState.Contains(csFocusing)) return false;
    const WeakControl control(AControl);
    AControl->FControlState.Include(csFocusing);
    const auto done = [&](bool AResult) {
        if (control.Alive()) AControl->FControlState.Exclude(csFocusing);
        return AResult;
    };
    if (Screen && Screen->FFocusedForm != this) {
        if (TCustomForm* old = Screen->FFocusedForm) {
            Screen->FFocusedForm = nullptr;
            if (old->HandleAllocated() && !SendFocusMessage(old->Handle(), CM_DEACTIVATE)) return done(false);
        }
        Screen->FFocusedForm = this;
        if (!SendFocusMessage(Handle(), CM_ACTIVATE)) return done(false);
    }
    if (!FFocusedControl) FFocusedControl = this;
    if (FFocusedControl != AControl) {
        while (FFocusedControl && !FFocusedControl->ContainsControl(AControl)) {
            TWinControl* leaving = FFocusedControl;
            FFocusedControl = leaving->Parent();
            if (leaving->HandleAllocated() && !SendFocusMessage(leaving->Handle(), CM_EXIT))
                return done(false);
        }
        while (FFocusedControl != AControl) {
            TWinControl* entering = AControl;
            while (entering->Parent() != FFocusedControl)
                entering = entering->Parent();
            FFocusedControl = entering;
            if (!SendFocusMessage(entering->Handle(), CM_ENTER)) return done(false);
        }
        Perform(CM_FOCUSCHANGED, 0, LPARAM(AControl));
    }
    return done(true);
}

void TCustomForm::SetActive(bool AValue) {
    FActive = AValue;
    if (!AValue) return;
    if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

bool TCustomForm::IsShortCut(TWMKey& AMessage) {
    bool handled = false;
    if (OnShortCut) OnShortCut(AMessage, handled);
    if (!handled && FMenu) handled = FMenu->IsShortCut(AMessage);
    return handled;
}

void TCustomForm::SendCancelMode(TControl* ASender) {
    if (FActive && FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, LPARAM(ASender));
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& AAction) {
    if (OnClose) OnClose(this, AAction);
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release() {
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FModal) throw EInvalidOperation(u"Cannot make a visible window modal");
    if (const HWND capture = GetCapture()) {
        SendMessageW(capture, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    FModal = true;
    HWND activeWindow = GetActiveWindow();
    if (Screen) {
        Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), Screen->FFocusedForm);
        Screen->FFocusedForm = this;
    }
    // The other forms take no input while this one runs.
    std::vector<HWND> disabled;
    if (Screen)
        for (TCustomForm* form : Screen->FForms)
            if (form != this && form->HandleAllocated() && IsWindowVisible(form->Handle()) &&
                IsWindowEnabled(form->Handle())) {
                disabled.push_back(form->Handle());
                EnableWindow(form->Handle(), FALSE);
            }
    const auto restore = [&] {
        for (HWND w : disabled)
            EnableWindow(w, TRUE);
        if (Screen) {
            auto& saved = Screen->FSaveFocusedList;
            Screen->FFocusedForm = saved.empty() ? nullptr : saved.front();
            if (!saved.empty()) saved.erase(saved.begin());
        }
        if (activeWindow) SetActiveWindow(activeWindow);
        FModal = false;
    };
    TModalResult result = mrNone;
    try {
        Show();
        try {
            SendMessageW(Handle(), CM_ACTIVATE, 0, 0);
            FModalResult = mrNone;
            do {
                if (!Application->HandleModalMessage() && FModalResult == mrNone) FModalResult = mrCancel;
                if (Application->Terminated())
                    FModalResult = mrCancel;
                else if (FModalResult != mrNone)
                    CloseModal();
            } while (FModalResult == mrNone);
            result = FModalResult;
            SendMessageW(Handle(), CM_DEACTIVATE, 0, 0);
            if (GetActiveWindow() != Handle()) activeWindow = nullptr;
        } catch (...) {
            Hide();
            throw;
        }
        Hide();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return result;
}

void TCustomForm::CMDialogKey(TMessage& AMessage) {
    if (GetKeyState(VK_MENU) >= 0) {
        const Word key = Word(AMessage.WParam);
        if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
            AMessage.Result = 1;
            return;
        }
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN,
                                                     false);
                AMessage.Result = 1;
            }
            return;
        }
    }
    TWinControl::Dispatch(AMessage);
}

void TCustomForm::WMActivate(TMessage& AMessage) {
    SetActive(LOWORD(AMessage.WParam) != WA_INACTIVE);
}

void TCustomForm::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ACTIVATE:
            return WMActivate(AMessage);
        case WM_CLOSE:
            return Close();
        case WM_SIZE:
            if (!FShowingChanging) {
                if (AMessage.WParam == SIZE_MINIMIZED)
                    FWindowState = wsMinimized;
                else if (AMessage.WParam == SIZE_MAXIMIZED)
                    FWindowState = wsMaximized;
                else if (Showing() || AMessage.WParam == SIZE_RESTORED)
                    FWindowState = wsNormal;
            }
            return TWinControl::Dispatch(AMessage);
        case CM_ACTIVATE:
            return Activate();
        case CM_DEACTIVATE:
            return Deactivate();
        case CM_DIALOGKEY:
            return CMDialogKey(AMessage);
        case CM_RELEASE:
            Free(this);
            return;
        case WM_MOUSEACTIVATE:
            return MDIChildMouseActivate(AMessage);
        case WM_NCDESTROY:
            if (FMDIFrame) FMDIFrame->MDIChildGone(this);
            return TWinControl::Dispatch(AMessage);
        default:
            return TWinControl::Dispatch(AMessage);
    }
}

void TCustomForm::PaintWindow(HDC ADC) {
    PaintOn(*FCanvas, ADC, [this] { Paint(); });
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}
