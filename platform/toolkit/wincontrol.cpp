// TWinControl: the window behind a control, its procedure and messages, its
// children and its z-order.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/base/listhelpers.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"

using namespace win;

namespace {

struct ControlRegistry {
    std::unordered_map<HWND, TWinControl*> Windows;
    std::unordered_set<const TControl*> Alive;
    // The control whose window is being created: the first message of the
    // new window hooks it up.
    TWinControl* Creating = nullptr;
    TControl* Capture = nullptr;
};

ControlRegistry& Registry() {
    static auto* registry = new ControlRegistry;
    return *registry;
}

LRESULT InitWndProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

}  // namespace

// The toolkit's windows start here and are handed to their control.
class TWindowHookup {
public:
    static LRESULT Start(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
        TWinControl* control = std::exchange(Registry().Creating, nullptr);
        if (!control) return DefWindowProcW(AWindow, AMsg, AWParam, ALParam);
        control->FHandle = AWindow;
        Registry().Windows[AWindow] = control;
        SetWindowLongW(AWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(control->FObjectInstance));
        return CallWindowProcW(control->FObjectInstance, AWindow, AMsg, AWParam, ALParam);
    }
};

namespace {

LRESULT InitWndProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    return TWindowHookup::Start(AWindow, AMsg, AWParam, ALParam);
}

}  // namespace

bool ControlAlive(const TControl* AControl) {
    return AControl && Registry().Alive.count(AControl) != 0;
}

void ControlBorn(TControl* AControl) {
    Registry().Alive.insert(AControl);
}

void ControlGone(TControl* AControl) {
    ControlRegistry& r = Registry();
    r.Alive.erase(AControl);
    if (r.Capture == AControl) r.Capture = nullptr;
    if (Application) Application->ForgetControl(AControl);
}

TWinControl* FindControl(HWND AWindow) {
    if (!AWindow) return nullptr;
    const auto it = Registry().Windows.find(AWindow);
    return it == Registry().Windows.end() ? nullptr : it->second;
}

TWinControl* FindVCLWindow(TPoint AScreenPoint) {
    for (HWND w = WindowFromPoint(POINT{AScreenPoint.X, AScreenPoint.Y}); w; w = GetParent(w))
        if (TWinControl* control = FindControl(w)) return control;
    return nullptr;
}

TCustomForm* GetParentForm(TControl* AControl) {
    while (AControl && AControl->Parent())
        AControl = AControl->Parent();
    return dynamic_cast<TCustomForm*>(AControl);
}

TControl* GetCaptureControl() {
    ControlRegistry& r = Registry();
    const HWND capture = GetCapture();
    if (r.Capture) {
        TWinControl* parent = r.Capture->Parent();
        if (!capture || !parent || !parent->HandleAllocated() || parent->Handle() != capture)
            r.Capture = nullptr;
    }
    if (r.Capture) return r.Capture;
    return FindControl(capture);
}

void SetCaptureControl(TControl* AControl) {
    ControlRegistry& r = Registry();
    ReleaseCapture();
    r.Capture = nullptr;
    if (!AControl) return;
    auto* windowed = dynamic_cast<TWinControl*>(AControl);
    if (!windowed) {
        // A graphic control holds the mouse through its parent's window.
        if (!AControl->Parent()) return;
        windowed = AControl->Parent();
        r.Capture = AControl;
    }
    SetCapture(windowed->Handle());
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
    FObjectInstance = MakeObjectInstance([this](TMessage& AMessage) { MainWndProc(AMessage); });
    if (!FObjectInstance) throw EOutOfResources(u"Error creating window procedure");
    FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
    BeforeDestruction();
    if (Parent()) Parent()->RemoveControl(this);
    // Children still in the list are not owned by this control: they stay, parentless.
    for (TControl* child : std::vector<TControl*>(FControls))
        RemoveControl(child);
    for (TWinControl* child : std::vector<TWinControl*>(FWinControls))
        RemoveControl(child);
    FreeObjectInstance(FObjectInstance);
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
    DestroyHandle();
}

void TWinControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TControl::Notification(AComponent, AOperation);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (Parent()) Parent()->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND AValue) {
    if (Parent() || AValue == FParentWindow) return;
    if (FHandle && AValue) {
        win::SetParent(FHandle, AValue);
    } else {
        DestroyHandle();
    }
    FParentWindow = AValue;
    UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& AParams) {
    AParams = TCreateParams{};
    AParams.Caption = GetText();
    AParams.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        AParams.Style |= WS_CLIPCHILDREN;
        AParams.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled()) AParams.Style |= WS_DISABLED;
    if (FTabStop) AParams.Style |= WS_TABSTOP;
    AParams.X = Left();
    AParams.Y = Top();
    AParams.Width = Width();
    AParams.Height = Height();
    AParams.WndParent = Parent() ? Parent()->Handle() : FParentWindow;
    AParams.WindowClass.cbSize = sizeof(WNDCLASSEXW);
    AParams.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    AParams.WindowClass.lpfnWndProc = DefWindowProcW;
    AParams.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    AParams.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
    FDefWndProc = params.WindowClass.lpfnWndProc;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    const bool registered = GetClassInfoExW(nullptr, params.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != InitWndProc) {
        if (registered) UnregisterClassW(params.WinClassName.c_str(), nullptr);
        WNDCLASSEXW cls = params.WindowClass;
        cls.lpfnWndProc = InitWndProc;
        cls.lpszClassName = params.WinClassName.c_str();
        RegisterClassExW(&cls);
    }
    Registry().Creating = this;
    FControlState.Include(csCreating);
    try {
        CreateWindowHandle(params);
    } catch (...) {
        FControlState.Exclude(csCreating);
        Registry().Creating = nullptr;
        throw;
    }
    FControlState.Exclude(csCreating);
    Registry().Creating = nullptr;
    if (!FHandle) throw EOutOfResources(u"Error creating window for " + ClassName());
    UpdateBounds();
    if (AutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& AParams) {
    CreateWindowExW(AParams.ExStyle, AParams.WinClassName.c_str(), AParams.Caption.c_str(), AParams.Style,
                    AParams.X, AParams.Y, AParams.Width, AParams.Height, AParams.WndParent, nullptr, nullptr,
                    nullptr);
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    PlaceInZOrder();
    for (TControl* c : FControls)
        c->UpdateAnchorRules();
    for (TWinControl* c : FWinControls)
        c->UpdateAnchorRules();
}

void TWinControl::PlaceInZOrder() {
    if (!Parent() || !FHandle) return;
    const std::vector<TWinControl*>& siblings = Parent()->FWinControls;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    HWND above = HWND_TOP;
    if (it != siblings.end())
        for (++it; it != siblings.end(); ++it)
            if ((*it)->FHandle) {
                above = (*it)->FHandle;
                break;
            }
    // Windows are placed below the window given, so the sibling above goes there.
    SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    FControlState.Include(csDestroyingHandle);
    for (TWinControl* child : std::vector<TWinControl*>(FWinControls))
        child->DestroyHandle();
    DestroyWnd();
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    FreeDeviceContexts(FHandle);
    const HWND handle = FHandle;
    DestroyWindow(handle);
    // A window already gone (a desktop reset) sends nothing more.
    Registry().Windows.erase(handle);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::RecreateWnd() {
    if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::UpdateShowing() {
    const bool show = Visible();
    if (show) {
        if (!FHandle) CreateHandle();
        for (TWinControl* child : std::vector<TWinControl*>(FWinControls))
            child->UpdateShowing();
    }
    if (FHandle && FShowing != show) {
        FShowing = show;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowing = !show;
            throw;
        }
        if (!show)
            for (TWinControl* child : std::vector<TWinControl*>(FWinControls))
                child->UpdateShowing();
    }
}

void TWinControl::UpdateControlState() {
    TWinControl* top = this;
    while (top->Parent()) {
        top = top->Parent();
        if (!top->Showing()) return;
    }
    if (dynamic_cast<TCustomForm*>(top) || top->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

TControl* TWinControl::Controls(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= ControlCount()) throw EListError(SListIndexError, {AIndex});
    const size_t i = size_t(AIndex);
    return i < FControls.size() ? FControls[i] : FWinControls[i - FControls.size()];
}

TWinControl* TWinControl::FindChildControl(const String& AName) const {
    for (TWinControl* child : FWinControls)
        if (child->Name() == AName) return child;
    return nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
    AControl->FParent = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        FWinControls.push_back(windowed);
        FTabList.push_back(windowed);
    } else {
        FControls.push_back(AControl);
    }
    Perform(CM_CONTROLCHANGE, 1, LPARAM(AControl));
    if (ComponentState().Contains(csLoading) || AControl->ComponentState().Contains(csLoading)) return;
    AControl->UpdateAnchorRules();
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
        windowed->UpdateControlState();
    else
        AControl->Invalidate();
    AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl) {
    Perform(CM_CONTROLCHANGE, 0, LPARAM(AControl));
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        windowed->RemoveFocus(true);
        windowed->DestroyHandle();
        std::erase(FWinControls, windowed);
        std::erase(FTabList, windowed);
    } else {
        if (FHandle) AControl->InvalidateControl(AControl->Visible(), false);
        std::erase(FControls, AControl);
    }
    AControl->FParent = nullptr;
    if (!ComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    // A top-level window becomes a child: it is made again with the child styles.
    if (!Parent() && AParent && FHandle) DestroyHandle();
    TControl::SetParent(AParent);
    if (!Parent()) UpdateControlState();
}

bool TWinControl::ContainsControl(TControl* AControl) const {
    for (const TControl* c = AControl; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint APos, bool AAllowDisabled, bool AAllowWinControls) {
    const auto hits = [&](TControl* c) {
        const TPoint p{APos.X - c->Left(), APos.Y - c->Top()};
        const TRect r = c->ClientRect();
        return p.X >= r.Left && p.Y >= r.Top && p.X < r.Right && p.Y < r.Bottom && c->Visible() &&
               (c->Enabled() || AAllowDisabled) &&
               c->Perform(CM_HITTEST, 0, PointToLParam(POINT{p.X, p.Y})) != 0;
    };
    if (AAllowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hits(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hits(*it)) return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& AMessage) {
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (control->WindowProc()) control->WindowProc()(AMessage);
        if (AMessage.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT AMsg) {
    TMessage message{AMsg, 0, 0, 0};
    Broadcast(message);
}

void TWinControl::SetZOrderOf(TControl* AControl, bool ATopMost) {
    const auto move = [ATopMost](auto& AList, auto* AItem) {
        const auto it = std::find(AList.begin(), AList.end(), AItem);
        if (it == AList.end()) return;
        AList.erase(it);
        if (ATopMost)
            AList.push_back(AItem);
        else
            AList.insert(AList.begin(), AItem);
    };
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        move(FWinControls, windowed);
        if (windowed->FHandle)
            SetWindowPos(windowed->FHandle, ATopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        move(FControls, AControl);
        AControl->InvalidateControl(AControl->Visible(), true);
    }
}

void TWinControl::MainWndProc(TMessage& AMessage) {
    const WeakControl self(this);
    try {
        // A copy: a handler may free the control (and its WindowProc) meanwhile.
        const TWndMethod proc = WindowProc();
        if (proc) proc(AMessage);
    } catch (...) {
        if (!Application) return;
        const UINT msg = AMessage.Msg;
        if (msg != WM_PAINT && msg != WM_NCPAINT && msg != WM_ERASEBKGND)
            return Application->HandleException(this);
        // Validated, so that a failed paint is not asked for again at once.
        if (!self.Alive()) return Application->HandlePaintException(nullptr);
        if (msg == WM_PAINT && FHandle) ValidateRect(FHandle, nullptr);
        Application->HandlePaintException(this);
    }
}

void TWinControl::WndProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_SETFOCUS:
            if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
            break;
        case WM_KILLFOCUS:
            if (FControlState.Contains(csFocusing)) return;
            break;
        case WM_CANCELMODE:
            if (TControl* capture = GetCaptureControl();
                capture && capture != this && capture->Parent() == this && GetCapture() == FHandle)
                capture->Perform(WM_CANCELMODE, 0, 0);
            break;
        default:
            if (AMessage.Msg >= WM_MOUSEFIRST && AMessage.Msg <= WM_MOUSELAST &&
                AMessage.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(AMessage)) {
                // The window's default still sees it: a right click asks for a context menu.
                if (AMessage.Result == 0 && FHandle)
                    DefWindowProcW(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
                return;
            }
            break;
    }
    TControl::WndProc(AMessage);
}

// Mouse input over (or captured by) a graphic child goes to that child.
bool TWinControl::IsControlMouseMsg(TMessage& AMessage) {
    TControl* control = nullptr;
    const POINT p = LParamToPoint(AMessage.LParam);
    if (FHandle && GetCapture() == FHandle) {
        TControl* capture = GetCaptureControl();
        if (capture && capture->Parent() == this && capture != this) control = capture;
    } else {
        control = ControlAtPos({p.x, p.y}, false);
    }
    if (!control) return false;
    AMessage.Result = control->Perform(AMessage.Msg, AMessage.WParam,
                                       PointToLParam(POINT{p.x - control->Left(), p.y - control->Top()}));
    return true;
}

void TWinControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_PAINT:
            return WMPaint(AMessage);
        case WM_ERASEBKGND: {
            if (!AMessage.WParam) return;
            const RECT r = ToRECT(ClientRect());
            FillRect(reinterpret_cast<HDC>(AMessage.WParam), &r, FBrush->Handle());
            AMessage.Result = 1;
            return;
        }
        case WM_SIZE:
            return WMSize(AMessage);
        case WM_WINDOWPOSCHANGED:
            return WMWindowPosChanged(AMessage);
        case WM_SETCURSOR:
            return WMSetCursor(AMessage);
        case WM_NCDESTROY:
            DefaultHandler(AMessage);
            Registry().Windows.erase(FHandle);
            FHandle = nullptr;
            FShowing = false;
            return;
        case WM_SETFOCUS:
            DefaultHandler(AMessage);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            if (!DoKey(AMessage)) DefaultHandler(AMessage);
            return;
        case CN_KEYDOWN:
            return CNKeyDown(AMessage);
        case CN_SYSKEYDOWN:
            return CNSysKeyDown(AMessage);
        case CN_CHAR:
            return CNChar(AMessage);
        case CN_SYSCHAR:
            return CNSysChar(AMessage);
        case WM_CONTEXTMENU: {
            // Over a graphic child, the child's menu first.
            if (AMessage.Result != 0) return;
            const TPoint at{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            if (AMessage.LParam != -1)
                if (TControl* child = ControlAtPos(ScreenToClient(at), false))
                    AMessage.Result = child->Perform(WM_CONTEXTMENU, 0, AMessage.LParam);
            if (AMessage.Result == 0) TControl::Dispatch(AMessage);
            return;
        }
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_HSCROLL:
        case WM_VSCROLL:
            return ReflectToChild(AMessage, reinterpret_cast<HWND>(AMessage.LParam));
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
        case CM_FOCUSCHANGED:
            return Broadcast(AMessage);
        case CM_ENTER:
            return DoEnter();
        case CM_EXIT:
            return DoExit();
        case CM_SHOWINGCHANGED:
            return CMShowingChanged(AMessage);
        case CM_VISIBLECHANGED:
            if (!Visible() && Parent()) RemoveFocus(false);
            UpdateControlState();
            return;
        case CM_ENABLEDCHANGED:
            if (!Enabled() && Parent()) RemoveFocus(false);
            if (FHandle) EnableWindow(FHandle, Enabled() ? TRUE : FALSE);
            Invalidate();
            return;
        case CM_FONTCHANGED:
            TControl::Dispatch(AMessage);
            return NotifyControls(CM_PARENTFONTCHANGED);
        case CM_COLORCHANGED:
            FBrush->SetColor(Color());
            TControl::Dispatch(AMessage);
            return NotifyControls(CM_PARENTCOLORCHANGED);
        case CM_SHOWHINTCHANGED:
            return NotifyControls(CM_PARENTSHOWHINTCHANGED);
        case CM_INVALIDATE:
            if (FHandle) InvalidateRect(FHandle, nullptr, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
            return;
        case CM_RECREATEWND: {
            const bool focused = Focused();
            DestroyHandle();
            UpdateControlState();
            if (focused && FHandle) win::SetFocus(FHandle);
            return;
        }
        default:
            return TControl::Dispatch(AMessage);
    }
}

void TWinControl::DefaultHandler(TMessage& AMessage) {
    if (!FHandle) return TControl::DefaultHandler(AMessage);
    if (AMessage.Msg >= CN_CTLCOLOREDIT && AMessage.Msg <= CN_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
        SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
        SetBkColor(dc, COLORREF(ColorToRGB(FBrush->Color())));
        AMessage.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
        return;
    }
    AMessage.Result = CallWindowProcW(FDefWndProc, FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

// Notifications a child sends its parent go back to the child as CN_...
void TWinControl::ReflectToChild(TMessage& AMessage, HWND AChild) {
    TWinControl* child = FindControl(AChild);
    if (!child || child == this) return DefaultHandler(AMessage);
    AMessage.Result = child->Perform(CN_BASE + AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

void TWinControl::WMSetCursor(TMessage& AMessage) {
    const int hit = SHORT(LOWORD(ULONG_PTR(AMessage.LParam)));
    if (reinterpret_cast<HWND>(AMessage.WParam) == FHandle && hit == HTCLIENT && Screen) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            if (TControl* control = ControlAtPos(ScreenToClient({p.x, p.y}), false))
                cursor = control->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        }
        if (cursor != crDefault) {
            win::SetCursor(Screen->Cursors(cursor));
            AMessage.Result = 1;
            return;
        }
    }
    DefaultHandler(AMessage);
}

void TWinControl::SetText(const String& AValue) {
    TControl::SetText(AValue);
}

void TWinControl::UpdateBounds() {
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (const HWND parent = GetParent(FHandle); parent && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (r.left == Left() && r.top == Top() && r.right - r.left == Width() && r.bottom - r.top == Height())
        return;
    StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    UpdateAnchorRules();
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (!CheckNewSize(AWidth, AHeight)) return;
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const bool resized = AWidth != Width() || AHeight != Height();
        StoreBounds(ALeft, ATop, AWidth, AHeight);
        // Without a window no WM_SIZE comes: the children are laid out here.
        if (resized && !FHandle) {
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::WMWindowPosChanged(TMessage& AMessage) {
    UpdateBounds();
    DefaultHandler(AMessage);
}

void TWinControl::WMSize(TMessage& AMessage) {
    UpdateBounds();
    DefaultHandler(AMessage);
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

TRect TWinControl::ClientRect() {
    if (!FHandle) return TControl::ClientRect();
    RECT r;
    GetClientRect(FHandle, &r);
    return ToTRect(r);
}

TPoint TWinControl::ClientOrigin() {
    if (!Parent() && !FHandle) return {Left(), Top()};
    POINT p{0, 0};
    win::ClientToScreen(Handle(), &p);
    return {p.x, p.y};
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}
