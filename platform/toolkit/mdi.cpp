// MDI: the client window of an MDI main form, the list of its child forms
// in activation order, and the activation of one child among its siblings.
#include <algorithm>

#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr const char16_t* MDIClientClass = u"MDICLIENT";

TCustomForm* FrameOfClient(HWND AClient) {
    auto* frame = dynamic_cast<TCustomForm*>(FindControl(GetParent(AClient)));
    return frame && frame->ClientHandle() == AClient ? frame : nullptr;
}

// The client's own procedure: the empty background in the application
// workspace colour and the activation messages; a form's users subclass it.
LRESULT MDIClientProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    TCustomForm* frame = FrameOfClient(AWindow);
    switch (AMessage) {
        case WM_ERASEBKGND: {
            if (!AWParam) return 0;
            RECT r;
            GetClientRect(AWindow, &r);
            const HBRUSH brush = CreateSolidBrush(ColorToRGB(clAppWorkSpace));
            FillRect(reinterpret_cast<HDC>(AWParam), &r, brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_MDIGETACTIVE: {
            TCustomForm* child = frame ? frame->ActiveMDIChild() : nullptr;
            return child ? LRESULT(child->Handle()) : 0;
        }
        case WM_MDIACTIVATE:
            if (frame)
                if (auto* child = dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(AWParam))))
                    for (Integer i = 0; i < frame->MDIChildCount(); ++i)
                        if (frame->MDIChildren(i) == child) child->Show();
            return 0;
        case WM_MDINEXT:
            if (frame) frame->Next();
            return 0;
        default:
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    }
}

void RegisterClientClass() {
    WNDCLASSEXW existing{};
    if (GetClassInfoExW(nullptr, MDIClientClass, &existing)) return;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = MDIClientProc;
    cls.lpszClassName = MDIClientClass;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassExW(&cls);
}

}  // namespace

TCustomForm* TCustomForm::MDIFrame() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return main && main->FormStyle() == fsMDIForm ? main : nullptr;
}

void TCustomForm::CreateMDIChildParams(TCreateParams& AParams) {
    TCustomForm* frame = MDIFrame();
    if (!frame || frame == this)
        throw EInvalidOperation(u"Cannot create form. No MDI forms are currently active");
    AParams.Style |= WS_CLIPSIBLINGS;
    frame->HandleNeeded();
    AParams.WndParent = frame->FClientHandle;
}

void TCustomForm::CreateMDIClient() {
    RegisterClientClass();
    const TRect r = ClientRect();
    FClientHandle =
        CreateWindowExW(0, MDIClientClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        r.Left, r.Top, r.Width(), r.Height(), Handle(), nullptr, nullptr, nullptr);
    // Below the aligned controls, which it never overlaps but may share an edge with.
    SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
}

void TCustomForm::DestroyWnd() {
    // The children's windows go first, so each leaves the list as its own.
    for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildList))
        child->DestroyHandle();
    FMDIChildList.clear();
    FMDIActiveChild = nullptr;
    FClientHandle = nullptr;
    ReleaseShownForms();
    TWinControl::DestroyWnd();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& ARect) {
    TWinControl::AlignControls(AControl, ARect);
    if (FClientHandle)
        SetWindowPos(FClientHandle, nullptr, ARect.Left, ARect.Top, std::max(ARect.Width(), 0),
                     std::max(ARect.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowMenu(TMenuItem* AValue) {
    if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
    FWindowMenu = AValue;
    if (FWindowMenu) FWindowMenu->FreeNotification(this);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (FMDIChildList.empty()) return nullptr;
    TCustomForm* first = FMDIChildList.front();
    return first->Showing() ? first : nullptr;
}

void TCustomForm::MDIActivate(TCustomForm* AChild) {
    TCustomForm* old = FMDIActiveChild;
    const auto at = std::find(FMDIChildList.begin(), FMDIChildList.end(), AChild);
    if (at == FMDIChildList.end() || !AChild->Showing()) return;
    std::rotate(FMDIChildList.begin(), at, at + 1);
    SetWindowPos(AChild->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (old != AChild) {
        const WeakControl child(AChild);
        FMDIActiveChild = AChild;
        if (old) {
            SendMessageW(old->Handle(), WM_NCACTIVATE, FALSE, 0);
            SendMessageW(old->Handle(), WM_MDIACTIVATE, WPARAM(old->Handle()), LPARAM(AChild->Handle()));
        }
        if (!child.Alive() || !AChild->HandleAllocated()) return;
        SendMessageW(AChild->Handle(), WM_NCACTIVATE, TRUE, 0);
        SendMessageW(AChild->Handle(), WM_MDIACTIVATE, WPARAM(old ? old->Handle() : nullptr),
                     LPARAM(AChild->Handle()));
        if (!child.Alive() || !AChild->HandleAllocated()) return;
    }
    // The child's active control takes the focus while the frame is active.
    if (HandleAllocated() && GetActiveWindow() == Handle() && !FActiveControl) {
        if (!AChild->FActiveControl)
            AChild->FActiveControl = AChild->FindNextControl(nullptr, true, true, false);
        AChild->SetWindowFocus();
    }
}

void TCustomForm::MDIChildHidden(TCustomForm* AChild) {
    std::erase(FMDIChildList, AChild);
    FMDIChildList.push_back(AChild);
    if (FMDIActiveChild != AChild) return;
    FMDIActiveChild = nullptr;
    SendMessageW(AChild->Handle(), WM_NCACTIVATE, FALSE, 0);
    for (TCustomForm* next : FMDIChildList)
        if (next->Showing()) return MDIActivate(next);
}

void TCustomForm::MDIChildGone(TCustomForm* AChild) {
    const bool wasActive = FMDIActiveChild == AChild;
    if (wasActive) FMDIActiveChild = nullptr;
    std::erase(FMDIChildList, AChild);
    AChild->FMDIFrame = nullptr;
    if (!wasActive || ComponentState().Contains(csDestroying)) return;
    for (TCustomForm* next : FMDIChildList)
        if (next->Showing()) return MDIActivate(next);
}

void TCustomForm::Next() {
    TCustomForm* active = ActiveMDIChild();
    if (!active) return;
    for (TCustomForm* next : FMDIChildList)
        if (next != active && next->Showing()) {
            MDIActivate(next);
            std::erase(FMDIChildList, active);
            FMDIChildList.push_back(active);
            return;
        }
}

void TCustomForm::MDIChildMouseActivate(TMessage& AMessage) {
    TWinControl::Dispatch(AMessage);
    if (!FMDIFrame || AMessage.Result == MA_NOACTIVATE || AMessage.Result == MA_NOACTIVATEANDEAT) return;
    FMDIFrame->MDIActivate(this);
}
