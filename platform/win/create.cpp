// Classes, creating and destroying windows, window longs, text and the tree.
#include <algorithm>

#include "platform/base/sysutils.h"
#include "platform/gdi/capabilities.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

bool IsAtom(LPCWSTR AName) {
    return reinterpret_cast<uintptr_t>(AName) < 0x10000;
}

std::shared_ptr<WindowClass> FindClass(LPCWSTR AName) {
    if (!AName) return nullptr;
    State& s = Sys();
    if (IsAtom(AName)) {
        const ATOM atom = ATOM(reinterpret_cast<uintptr_t>(AName));
        for (const auto& [name, cls] : s.Classes)
            if (cls->Atom == atom) return cls;
        return nullptr;
    }
    const auto it = s.Classes.find(LowerCase(AName));
    return it == s.Classes.end() ? nullptr : it->second;
}

void NotifyParents(Window& W, WORD AEvent) {
    if (!W.Parent || (W.ExStyle & WS_EX_NOPARENTNOTIFY)) return;
    const WPARAM wParam = MAKEWPARAM(AEvent, WORD(W.Id));
    std::vector<WindowRef> chain;
    for (Window* p = W.Parent; p; p = p->Parent)
        chain.push_back(Ref(p));
    for (const WindowRef& p : chain)
        Send(p.get(), WM_PARENTNOTIFY, wParam, LPARAM(W.Handle));
}

void SendDestroy(Window& W) {
    W.Destroying = true;
    Send(&W, WM_DESTROY, 0, 0);
    const std::vector<Window*> children = W.Children;
    std::vector<WindowRef> refs(children.size());
    std::transform(children.begin(), children.end(), refs.begin(), Ref);
    for (const WindowRef& c : refs)
        if (!c->Destroyed) SendDestroy(*c);
}

void SendNCDestroy(Window& W) {
    const std::vector<Window*> children = W.Children;
    std::vector<WindowRef> refs(children.size());
    std::transform(children.begin(), children.end(), refs.begin(), Ref);
    for (const WindowRef& c : refs)
        if (!c->Destroyed) SendNCDestroy(*c);
    Send(&W, WM_NCDESTROY, 0, 0);
}

void DropPosted(HWND AWindow) {
    PostedQueue& q = Sys().Posted;
    std::lock_guard<std::mutex> lock(q.Lock);
    std::erase_if(q.Messages, [AWindow](const MSG& m) { return m.hwnd == AWindow; });
}

// Children first; whatever was created meanwhile goes too.
void Release(Window& W) {
    while (!W.Children.empty()) {
        const WindowRef child = Ref(W.Children.front());
        Release(*child);
    }
    if (IsTopLevel(W))
        for (Window* t : TopLevels())
            if (t->Owner == &W) t->Owner = nullptr;
    WindowGone(W);
    KillTimers(W.Handle);
    ReleaseDCs(W);
    DropPosted(W.Handle);
    if (W.NativeId) BackendOf().DestroyNativeChild(W.Handle);
    const bool top = IsTopLevel(W);
    Unlink(W);
    if (top && W.Mirrored) {
        BackendOf().DestroyTopLevel(W.Handle);
        W.Mirrored = false;
        SyncStacking();
    }
    W.Parent = nullptr;
    W.Owner = nullptr;
    if (W.Class) --W.Class->Windows;
    W.Destroyed = true;
    Unregister(W);
}

POINT DefaultPosition() {
    const RECT work = Capabilities().WorkArea;
    return {work.left + 32, work.top + 32};
}

}  // namespace

void DestroyAll() {
    std::vector<HWND> handles;
    for (Window* w : TopLevels())
        handles.push_back(w->Handle);
    for (const WindowRef& w : AllWindows())
        handles.push_back(w->Handle);
    for (HWND h : handles)
        DestroyWindow(h);
}

}  // namespace winsys

namespace win {

using namespace winsys;

ATOM RegisterClassExW(const WNDCLASSEXW* AClass) {
    if (!AClass || !AClass->lpszClassName || IsAtom(AClass->lpszClassName) || !*AClass->lpszClassName)
        return 0;
    State& s = Sys();
    const String key = LowerCase(AClass->lpszClassName);
    if (s.Classes.count(key)) return 0;
    auto cls = std::make_shared<WindowClass>();
    cls->Name = AClass->lpszClassName;
    cls->Atom = s.NextAtom++;
    cls->Style = AClass->style;
    cls->Proc = AClass->lpfnWndProc;
    cls->Instance = AClass->hInstance;
    cls->Cursor = AClass->hCursor;
    cls->Background = AClass->hbrBackground;
    s.Classes.emplace(key, cls);
    return cls->Atom;
}

BOOL UnregisterClassW(LPCWSTR AClassName, HINSTANCE) {
    const std::shared_ptr<WindowClass> cls = FindClass(AClassName);
    if (!cls || cls->Windows > 0) return FALSE;
    Sys().Classes.erase(LowerCase(cls->Name));
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR AClassName, WNDCLASSEXW* AClass) {
    const std::shared_ptr<WindowClass> cls = FindClass(AClassName);
    if (!cls || !AClass) return FALSE;
    *AClass = WNDCLASSEXW{
        sizeof(WNDCLASSEXW), cls->Style, cls->Proc,         0,      0, cls->Instance, nullptr, cls->Cursor,
        cls->Background,     nullptr,    cls->Name.c_str(), nullptr};
    return TRUE;
}

int GetClassNameW(HWND AWindow, WCHAR* ABuffer, int AMaxCount) {
    Window* w = Find(AWindow);
    if (!w || !ABuffer || AMaxCount <= 0) return 0;
    const int count = std::min(int(w->Class->Name.size()), AMaxCount - 1);
    std::copy_n(w->Class->Name.begin(), count, ABuffer);
    ABuffer[count] = 0;
    return count;
}

ULONG_PTR GetClassLongW(HWND AWindow, int AIndex) {
    Window* w = Find(AWindow);
    if (!w) return 0;
    switch (AIndex) {
        case GCL_STYLE:
            return w->Class->Style;
        case GCL_HCURSOR:
            return reinterpret_cast<ULONG_PTR>(w->Class->Cursor);
        case GCL_HBRBACKGROUND:
            return reinterpret_cast<ULONG_PTR>(w->Class->Background);
        default:
            return 0;
    }
}

ULONG_PTR SetClassLongW(HWND AWindow, int AIndex, LONG_PTR AValue) {
    Window* w = Find(AWindow);
    if (!w) return 0;
    const ULONG_PTR old = GetClassLongW(AWindow, AIndex);
    switch (AIndex) {
        case GCL_STYLE:
            w->Class->Style = UINT(AValue);
            break;
        case GCL_HCURSOR:
            w->Class->Cursor = reinterpret_cast<HCURSOR>(AValue);
            break;
        case GCL_HBRBACKGROUND:
            w->Class->Background = reinterpret_cast<HBRUSH>(AValue);
            break;
        default:
            return 0;
    }
    return old;
}

HWND CreateWindowExW(DWORD AExStyle, LPCWSTR AClassName, LPCWSTR AWindowName, DWORD AStyle, int X, int Y,
                     int AWidth, int AHeight, HWND AParent, HMENU AMenu, HINSTANCE AInstance, LPVOID AParam) {
    const std::shared_ptr<WindowClass> cls = FindClass(AClassName);
    if (!cls) return nullptr;
    const bool messageOnly = AParent == HWND_MESSAGE;
    Window* parent = messageOnly ? nullptr : Find(AParent);
    if (AParent && !messageOnly && !parent) return nullptr;
    const bool child = (AStyle & WS_CHILD) && !messageOnly;
    if (child && !parent) return nullptr;

    auto w = std::make_shared<Window>();
    w->Class = cls;
    w->Proc = cls->Proc;
    w->Instance = AInstance;
    w->MessageOnly = messageOnly;
    w->ExStyle = AExStyle;
    w->Style = AStyle & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    if (!child && !(AStyle & WS_POPUP) && !messageOnly) w->Style |= WS_CLIPSIBLINGS | WS_CAPTION;
    if (child) {
        w->Parent = parent;
        w->Id = LONG_PTR(reinterpret_cast<uintptr_t>(AMenu));
    } else if (parent) {
        w->Owner = TopLevelOf(parent);
    }
    if (AWindowName) w->Text = AWindowName;
    if (!Register(w)) return nullptr;
    ++cls->Windows;

    if (X == CW_USEDEFAULT) {
        const POINT p = child ? POINT{} : DefaultPosition();
        X = p.x;
        Y = p.y;
    }
    if (AWidth == CW_USEDEFAULT) {
        const RECT work = Capabilities().WorkArea;
        AWidth = child ? 0 : (work.right - work.left) * 3 / 4;
        AHeight = child ? 0 : (work.bottom - work.top) * 3 / 4;
    }
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (HasMinMax(*w)) {
        const MINMAXINFO info = MinMaxInfo(w.get());
        AWidth = std::clamp(AWidth, int(info.ptMinTrackSize.x),
                            std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
        AHeight = std::clamp(AHeight, int(info.ptMinTrackSize.y),
                             std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    }
    w->Rect = RECT{X, Y, X + AWidth, Y + AHeight};
    w->Client = RECT{0, 0, AWidth, AHeight};

    CREATESTRUCTW cs{AParam, AInstance, AMenu,        AParent,     AHeight,           AWidth,
                     Y,      X,         LONG(AStyle), AWindowName, cls->Name.c_str(), AExStyle};
    if (!Send(w.get(), WM_NCCREATE, 0, LPARAM(&cs)) || w->Destroyed) {
        if (!w->Destroyed) {
            w->Destroying = true;
            Send(w.get(), WM_NCDESTROY, 0, 0);
            Release(*w);
        }
        return nullptr;
    }
    if (child) {
        parent->Children.insert(parent->Children.begin(), w.get());
    } else if (!messageOnly) {
        Restack(*w, HWND_TOP, false);
        ResizeSurface(*w);
        // Made as what it is: a display may not change some of it later.
        BackendOf().CreateTopLevel(w->Handle, TopLevelState(*w));
        w->Mirrored = true;
        SyncStacking();
    }
    w->Client = CalcClient(w.get(), w->Rect, w->Rect, nullptr);
    w->NormalRect = w->Rect;
    if (w->Destroyed) return nullptr;
    if (Send(w.get(), WM_CREATE, 0, LPARAM(&cs)) == -1 || w->Destroyed) {
        if (!w->Destroyed) DestroyWindow(w->Handle);
        return nullptr;
    }
    w->Created = true;
    Send(w.get(), WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(WORD(w->Client.right - w->Client.left), WORD(w->Client.bottom - w->Client.top)));
    Send(w.get(), WM_MOVE, 0,
         MAKELPARAM(WORD(w->Rect.left + w->Client.left), WORD(w->Rect.top + w->Client.top)));
    if (w->Destroyed) return nullptr;
    NotifyParents(*w, WM_CREATE);
    if (w->Destroyed) return nullptr;
    if (AStyle & WS_VISIBLE && !messageOnly)
        ShowWindow(w->Handle, (AStyle & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                              : (AStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                       : SW_SHOW);
    return w->Destroyed ? nullptr : w->Handle;
}

BOOL DestroyWindow(HWND AWindow) {
    Window* found = Find(AWindow);
    if (!found || found->Destroying) return FALSE;
    const WindowRef w = Ref(found);
    w->Destroying = true;
    if (IsTopLevel(*w)) {
        std::vector<HWND> owned;
        for (Window* t : TopLevels())
            if (t->Owner == w.get()) owned.push_back(t->Handle);
        for (HWND h : owned)
            DestroyWindow(h);
    }
    NotifyParents(*w, WM_DESTROY);
    if (w->Destroyed) return TRUE;
    if (w->Style & WS_VISIBLE)
        SetPos(w.get(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    WindowGone(*w);
    SendDestroy(*w);
    SendNCDestroy(*w);
    Release(*w);
    return TRUE;
}

BOOL IsWindow(HWND AWindow) {
    return Find(AWindow) != nullptr;
}

LONG_PTR GetWindowLongW(HWND AWindow, int AIndex) {
    Window* w = Find(AWindow);
    if (!w) return 0;
    switch (AIndex) {
        case GWL_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->Proc);
        case GWL_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->Instance);
        case GWL_HWNDPARENT: {
            const Window* up = w->Parent ? w->Parent : w->Owner;
            return reinterpret_cast<LONG_PTR>(up ? up->Handle : nullptr);
        }
        case GWL_ID:
            return w->Id;
        case GWL_STYLE:
            return LONG_PTR(w->Style);
        case GWL_EXSTYLE:
            return LONG_PTR(w->ExStyle);
        case GWL_USERDATA:
            return w->UserData;
        default:
            return 0;
    }
}

namespace {

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

void ChangeStyle(Window* W, int AIndex, DWORD ANew) {
    const WindowRef hold = Ref(W);
    DWORD& field = AIndex == GWL_STYLE ? W->Style : W->ExStyle;
    STYLESTRUCT change{field, ANew};
    Send(W, WM_STYLECHANGING, WPARAM(AIndex), LPARAM(&change));
    if (W->Destroyed) return;
    const DWORD old = field;
    field = change.styleNew;
    if (AIndex == GWL_EXSTYLE) {
        // The topmost band is changed by SetWindowPos only.
        field = (field & ~WS_EX_TOPMOST) | (old & WS_EX_TOPMOST);
        if ((old ^ field) & WS_EX_LAYERED) {
            W->Alpha = 255;
            W->LayeredFlags = 0;
            W->HasUpload = false;
            W->Upload.clear();
            if (!(field & WS_EX_LAYERED)) InvalidateAll(*W, true);
        }
    }
    if (IsTopLevel(*W)) SyncTopLevel(*W);
    change.styleOld = old;
    Send(W, WM_STYLECHANGED, WPARAM(AIndex), LPARAM(&change));
}

}  // namespace

LONG_PTR SetWindowLongW(HWND AWindow, int AIndex, LONG_PTR AValue) {
    Window* w = Find(AWindow);
    if (!w) return 0;
    const LONG_PTR old = GetWindowLongW(AWindow, AIndex);
    switch (AIndex) {
        case GWL_WNDPROC:
            if (!AValue) return 0;
            w->Proc = reinterpret_cast<WNDPROC>(AValue);
            break;
        case GWL_HINSTANCE:
            w->Instance = reinterpret_cast<HINSTANCE>(AValue);
            break;
        case GWL_HWNDPARENT: {
            if (!IsTopLevel(*w)) return 0;
            Window* owner = Find(reinterpret_cast<HWND>(AValue));
            if (AValue && !owner) return 0;
            owner = TopLevelOf(owner);
            // A window never comes to own itself through others.
            for (Window* o = owner; o; o = o->Owner)
                if (o == w) return 0;
            w->Owner = owner;
            SyncTopLevel(*w);
            break;
        }
        case GWL_ID:
            w->Id = AValue;
            break;
        case GWL_STYLE:
        case GWL_EXSTYLE:
            ChangeStyle(w, AIndex, DWORD(AValue));
            break;
        case GWL_USERDATA:
            w->UserData = AValue;
            break;
        default:
            return 0;
    }
    return old;
}

HWND GetParent(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w) return nullptr;
    if (w->Parent) return w->Parent->Handle;
    return w->Owner && (w->Style & WS_POPUP) ? w->Owner->Handle : nullptr;
}

HWND SetParent(HWND AWindow, HWND ANewParent) {
    Window* w = Find(AWindow);
    Window* parent = Find(ANewParent);
    // Child windows move between parents; a window never becomes its own
    // descendant's child.
    if (!w || !w->Parent || !parent || IsAncestor(w, parent)) return nullptr;
    const WindowRef hold = Ref(w);
    Window* old = w->Parent;
    const bool shown = IsShown(*w);
    if (shown) Expose(*old, Covered(*w));
    Unlink(*w);
    w->Parent = parent;
    parent->Children.insert(parent->Children.begin(), w);
    if (IsShown(*w)) InvalidateAll(*w, true);
    SyncNative(*w);
    RefreshDCs();
    return old->Handle;
}

HWND GetWindow(HWND AWindow, UINT ACommand) {
    Window* w = Find(AWindow);
    if (!w) return nullptr;
    if (ACommand == GW_OWNER) return w->Owner ? w->Owner->Handle : nullptr;
    if (ACommand == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front()->Handle;
    if (w->MessageOnly) return nullptr;
    const std::vector<Window*>& list = SiblingList(*w);
    const auto it = std::find(list.begin(), list.end(), w);
    switch (ACommand) {
        case GW_HWNDFIRST:
            return list.front()->Handle;
        case GW_HWNDLAST:
            return list.back()->Handle;
        case GW_HWNDNEXT:
            return it + 1 != list.end() ? (*(it + 1))->Handle : nullptr;
        case GW_HWNDPREV:
            return it != list.begin() ? (*(it - 1))->Handle : nullptr;
        default:
            return nullptr;
    }
}

BOOL IsChild(HWND AParent, HWND AWindow) {
    Window* parent = Find(AParent);
    Window* w = Find(AWindow);
    return parent && w && w != parent && IsAncestor(parent, w);
}

BOOL SetWindowTextW(HWND AWindow, LPCWSTR AText) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    return Send(w, WM_SETTEXT, 0, LPARAM(AText ? AText : u"")) != 0;
}

int GetWindowTextW(HWND AWindow, WCHAR* ABuffer, int AMaxCount) {
    Window* w = Find(AWindow);
    if (!w || !ABuffer || AMaxCount <= 0) return 0;
    return int(Send(w, WM_GETTEXT, WPARAM(AMaxCount), LPARAM(ABuffer)));
}

int GetWindowTextLengthW(HWND AWindow) {
    return int(Send(Find(AWindow), WM_GETTEXTLENGTH, 0, 0));
}

int SetScrollInfo(HWND AWindow, int ABar, const SCROLLINFO* AInfo, BOOL) {
    Window* w = Find(AWindow);
    if (!w || !AInfo || (ABar != SB_HORZ && ABar != SB_VERT)) return 0;
    SCROLLINFO& info = w->Scroll[size_t(ABar)];
    if (AInfo->fMask & SIF_RANGE) {
        info.nMin = AInfo->nMin;
        info.nMax = AInfo->nMax;
    }
    if (AInfo->fMask & SIF_PAGE) info.nPage = AInfo->nPage;
    if (AInfo->fMask & SIF_POS) info.nPos = AInfo->nPos;
    const int last = info.nMax - std::max(int(info.nPage) - 1, 0);
    info.nPos = std::max(info.nMin, std::min(info.nPos, last));
    return info.nPos;
}

BOOL GetScrollInfo(HWND AWindow, int ABar, SCROLLINFO* AInfo) {
    Window* w = Find(AWindow);
    if (!w || !AInfo || (ABar != SB_HORZ && ABar != SB_VERT)) return FALSE;
    const SCROLLINFO& info = w->Scroll[size_t(ABar)];
    if (AInfo->fMask & SIF_RANGE) {
        AInfo->nMin = info.nMin;
        AInfo->nMax = info.nMax;
    }
    if (AInfo->fMask & SIF_PAGE) AInfo->nPage = info.nPage;
    if (AInfo->fMask & SIF_POS) AInfo->nPos = info.nPos;
    if (AInfo->fMask & SIF_TRACKPOS) AInfo->nTrackPos = info.nPos;
    return TRUE;
}

int SetScrollPos(HWND AWindow, int ABar, int APos, BOOL ARedraw) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(AWindow, ABar, &info)) return 0;
    const int old = info.nPos;
    info.nPos = APos;
    SetScrollInfo(AWindow, ABar, &info, ARedraw);
    return old;
}

int GetScrollPos(HWND AWindow, int ABar) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(AWindow, ABar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND AWindow, int ABar, int AMin, int AMax, BOOL ARedraw) {
    const SCROLLINFO info{sizeof info, SIF_RANGE, AMin, AMax, 0, 0, 0};
    if (!Find(AWindow) || (ABar != SB_HORZ && ABar != SB_VERT)) return FALSE;
    SetScrollInfo(AWindow, ABar, &info, ARedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND AWindow, int ABar, int* AMin, int* AMax) {
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!AMin || !AMax || !GetScrollInfo(AWindow, ABar, &info)) return FALSE;
    *AMin = info.nMin;
    *AMax = info.nMax;
    return TRUE;
}

}  // namespace win
