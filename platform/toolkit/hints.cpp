// Hints: the hint window and the application's timing of when a control's
// hint shows and hides.
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/timers.h"

using namespace win;

namespace {

// The part of a hint before "|" (the rest is the long hint for a status line).
String ShortHint(const String& AHint) {
    const size_t bar = AHint.find(u'|');
    return bar == String::npos ? AHint : AHint.substr(0, bar);
}

// The nearest control up the parents that wants hints shown.
TControl* HintControlOf(TControl* AControl) {
    while (AControl && !AControl->ShowHint())
        AControl = AControl->Parent();
    return AControl;
}

String HintOf(TControl* AControl) {
    for (; AControl; AControl = AControl->Parent())
        if (!AControl->Hint().empty()) return AControl->Hint();
    return {};
}

// The control at a screen point: the window's graphic child there, or the window's control.
TControl* ControlAtScreen(TPoint APoint) {
    TWinControl* window = FindVCLWindow(APoint);
    if (!window) return nullptr;
    TControl* child = window->ControlAtPos(window->ScreenToClient(APoint), true);
    return child ? child : window;
}

bool Contains(const TRect& ARect, TPoint APoint) {
    return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top &&
           APoint.Y < ARect.Bottom;
}

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clInfoBk);
    SetParentFont(false);
    Font()->SetColor(clInfoText);
    Canvas()->Brush()->SetStyle(bsClear);
}

void THintWindow::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP | WS_BORDER;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(Integer AMaxWidth, const String& AHint) {
    RECT r{0, 0, AMaxWidth, 0};
    Canvas()->SetFont(Font());
    DrawTextW(Canvas()->Handle(), AHint.c_str(), int(AHint.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return Rect(0, 0, r.right + 6, r.bottom + 2);
}

void THintWindow::ActivateHint(TRect ARect, const String& AHint) {
    SetCaption(AHint);
    ARect.Bottom += 4;
    StoreBounds(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
    // On the desktop, up or left from the edges it would cross.
    const TRect desktop = Screen ? Screen->DesktopRect() : TRect{};
    Integer left = ARect.Left, top = ARect.Top;
    if (top + Height() > desktop.Bottom) top = desktop.Bottom - Height();
    if (left + Width() > desktop.Right) left = desktop.Right - Width();
    if (left < desktop.Left) left = desktop.Left;
    if (top < desktop.Top) top = desktop.Top;
    SetWindowPos(Handle(), HWND_TOPMOST, left, top, Width(), Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    DestroyHandle();
}

void THintWindow::Paint() {
    RECT r = ToRECT(ClientRect());
    r.left += 2;
    r.top += 2;
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    const String text = Caption();
    DrawTextW(Canvas()->Handle(), text.c_str(), int(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::Dispatch(TMessage& AMessage) {
    // The mouse goes through to what lies below.
    if (AMessage.Msg == WM_NCHITTEST) {
        AMessage.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::Dispatch(AMessage);
}

void TApplication::SetShowHint(bool AValue) {
    if (AValue == FShowHint) return;
    FShowHint = AValue;
    if (AValue) return;
    // The next hint makes a new window, of the class set by then.
    CancelHint();
    if (FHintWindow) Free(FHintWindow);
    FHintWindow = nullptr;
}

void TApplication::StartHintTimer(Cardinal AInterval, bool AHiding) {
    StopHintTimer();
    FHintTimerHiding = AHiding;
    SetTimer(Handle(), HintTimerId, std::max<Cardinal>(AInterval, 1), nullptr);
}

void TApplication::StopHintTimer() {
    if (FHandle) KillTimer(FHandle, HintTimerId);
}

void TApplication::HintMouseMessage(TControl* AControl, TMessage& AMessage) {
    if (!FShowHint) return;
    const TPoint at =
        AControl->ClientToScreen({GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)});
    TControl* control = HintControlOf(ControlAtScreen(at));
    if (!control) return CancelHint();
    if (control == FHintControl && Contains(FHintCursorRect, at)) return;
    if (control != FHintControl) HideHint();
    FHintControl = control;
    FHintCursorRect = Rect(at.X, at.Y, at.X + 1, at.Y + 1);
    StartHintTimer(Cardinal(FHintActive ? FHintShortPause : FHintPause), false);
}

void TApplication::HideHint() {
    if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
        ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

void TApplication::CancelHint() {
    if (!FHintControl) return;
    HideHint();
    FHintControl = nullptr;
    FHintActive = false;
    StopHintTimer();
}

bool TApplication::IsHintMsg(const MSG& AMsg) {
    if (!FHintWindow || !FHintWindow->HandleAllocated() || !IsWindowVisible(FHintWindow->Handle()))
        return false;
    const UINT m = AMsg.message;
    if ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_COMMAND || (m > WM_MOUSEMOVE && m <= WM_MOUSELAST) ||
        m == WM_NCMOUSEMOVE || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN)
        CancelHint();
    return false;
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (FHintTimerHiding) {
        HideHint();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ActivateHint({p.x, p.y});
}

void TApplication::ActivateHint(TPoint ACursorPos) {
    if (!FHintControl || !FShowHint) return;
    TControl* control = FHintControl;
    THintInfo info;
    info.HintControl = control;
    info.HintPos = {ACursorPos.X, ACursorPos.Y + GetSystemMetrics(SM_CYCURSOR)};
    info.HintMaxWidth = Screen ? Screen->Width() : 0;
    info.HintColor = FHintColor;
    const TPoint origin = control->ClientToScreen({0, 0});
    info.CursorRect = Bounds(origin.X, origin.Y, control->Width(), control->Height());
    info.CursorPos = control->ScreenToClient(ACursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = ShortHint(HintOf(control));
    bool canShow = control->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    FHintActive = canShow && ControlAlive(control);
    if (!FHintActive || info.HintStr.empty()) {
        HideHint();
        return;
    }
    if (!FHintWindow) FHintWindow = FHintWindowClass ? FHintWindowClass(this) : new THintWindow(this);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
    r = Bounds(r.Left + info.HintPos.X, r.Top + info.HintPos.Y, r.Width(), r.Height());
    FHintWindow->SetColor(info.HintColor);
    FHintWindow->ActivateHint(r, info.HintStr);
    FHintCursorRect = info.CursorRect;
    if (info.HideTimeout > 0) StartHintTimer(Cardinal(info.HideTimeout), true);
}
