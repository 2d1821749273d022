#include "skin/forms/scrollpages.h"

#include <algorithm>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxskinmessages.h"

using namespace win;

namespace {

constexpr WPARAM StepTimer = 1;
constexpr WPARAM LeaveTimer = 2;
constexpr UINT LeavePoll = 100;

}  // namespace

TqxScrollingPage::TqxScrollingPage(TComponent* AOwner, bool AVertical)
    : TCustomControl(AOwner), FVertical(AVertical) {
    SetBounds(Left(), Top(), 150, 30);
}

TqxScrollingPage::~TqxScrollingPage() {
    SetSkinSource(nullptr);
}

void TqxScrollingPage::SetScrollOffset(Integer AValue) {
    if (AValue >= 0) FScrollOffset = AValue;
}

void TqxScrollingPage::SetScrollTimerInterval(Integer AValue) {
    if (AValue > 0) FScrollTimerInterval = AValue;
}

void TqxScrollingPage::SetPosition(Integer AValue) {
    if (AValue == SPosition) return;
    SPosition = AValue;
    GetScrollInfo();
}

void TqxScrollingPage::SetSkinSource(TControl* AValue) {
    if (FSkinSource == AValue) return;
    if (FSkinSource) FSkinSource->RemoveFreeNotification(this);
    FSkinSource = AValue;
    if (FSkinSource) FSkinSource->FreeNotification(this);
}

void TqxScrollingPage::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSkinSource) FSkinSource = nullptr;
}

void TqxScrollingPage::UpDateSize() {
    SetBounds(Left(), Top(), Width(), Height());
}

void TqxScrollingPage::GetScrollInfo() {
    if (FCanScroll) CalcScrollRange();
}

// The range.

void TqxScrollingPage::ScrollContent(Integer ADelta) {
    if (FVertical)
        ScrollBy(0, -ADelta);
    else
        ScrollBy(-ADelta, 0);
    ContentScrolled();
}

void TqxScrollingPage::CalcScrollRange() {
    // The far edge of the visible children in their scrolled places; it may
    // lie before the visible area when the content shrank while scrolled.
    Integer extent = 0;
    bool any = false;
    for (Integer i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible()) continue;
        const Integer edge = Along(c->Left() + c->Width(), c->Top() + c->Height());
        extent = any ? std::max(extent, edge) : edge;
        any = true;
    }
    // Measured before the buttons take their part of it.
    const Integer size = ClientSize();
    if (any && size < extent + SPosition) {
        if (!Buttons[1].Visible) ShowScrollButtons(true);
        const Integer p = SPosition, max = p + extent - 1;
        if (p > 0 && extent < size && FSizeOffset > 0) {
            // Grown while scrolled, the content now ending inside: back by the gain.
            FSizeOffset = std::min(FSizeOffset, p);
            SMax = max;
            SPosition = p - FSizeOffset;
            SPage = size;
            ScrollContent(-FSizeOffset);
        } else if (FSizeOffset != 0 || max >= SMax || p <= 0 || extent >= size) {
            SMax = max;
            SPage = size;
        } else {
            // The content shrank while scrolled.
            SMax = max;
            SPosition = p + extent - size;
            SPage = size;
            ScrollContent(extent - size);
        }
        FSizeOffset = 0;
        SOldPosition = SPosition;
        return;
    }
    // Everything fits (or nothing is left): back to the unscrolled places,
    // so that no content stays out of reach once the buttons go.
    if (SPosition > 0) ScrollContent(-SPosition);
    FSizeOffset = SMax = SPosition = SPage = 0;
    if (ResetOldPositionWhenFits()) SOldPosition = 0;
    if (Buttons[1].Visible) ShowScrollButtons(false);
}

void TqxScrollingPage::ShowScrollButtons(bool AShow) {
    if (Buttons[0].Visible == AShow) return;
    Buttons[0].Visible = Buttons[1].Visible = AShow;
    // The focus inside the page survives the new window.
    TWinControl* focused = nullptr;
    if (TCustomForm* form = GetParentForm(this)) {
        TWinControl* active = form->ActiveControl();
        if (active && active->Focused() &&
            (active->Parent() == this || (active->Parent() && active->Parent()->Parent() == this)))
            focused = active;
    }
    FMouseIn = false;
    if (!HandleAllocated()) return;
    RecreateWnd();
    HandleNeeded();
    // A new window of the same size hears no WM_SIZE.
    PlaceButtons();
    // The form still names it its active control, so the window focus is
    // given straight to its new window.
    if (focused && focused->Visible() && !focused->Focused() && focused->CanFocus())
        win::SetFocus(focused->Handle());
}

void TqxScrollingPage::ScrollStep(bool AForward) {
    const Integer step = FScrollOffset > 0 ? FScrollOffset : ClientSize();
    SPosition = AForward ? std::min(SPosition + step, SMax - SPage + 1) : std::max(0, SPosition - step);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    ScrollContent(SPosition - SOldPosition);
    CalcScrollRange();
}

void TqxScrollingPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    const Integer old = Along(Width(), Height());
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    const Integer now = Along(Width(), Height());
    FSizeOffset = old != 0 && now > old ? now - old : 0;
    if (FCanScroll) GetScrollInfo();
}

void TqxScrollingPage::AdjustClientRect(TRect& ARect) {
    if (FCanScroll) {
        const TRect client = ClientRect();
        ARect = FVertical ? Bounds(0, -SPosition, client.Width(), std::max(SMax, client.Height()))
                          : Bounds(-SPosition, 0, std::max(SMax, client.Width()), client.Height());
    }
    TCustomControl::AdjustClientRect(ARect);
}

// Timers and the mouse.

void TqxScrollingPage::StartScrollTimer() {
    KillTimer(Handle(), StepTimer);
    SetTimer(Handle(), StepTimer, UINT(FScrollTimerInterval), nullptr);
}

void TqxScrollingPage::StopScrollTimer() {
    if (HandleAllocated()) KillTimer(Handle(), StepTimer);
    TimerMode = 0;
}

void TqxScrollingPage::PageMouseEnter() {
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = true;
    if (ScrollButtonsShown()) {
        KillTimer(Handle(), LeaveTimer);
        SetTimer(Handle(), LeaveTimer, LeavePoll, nullptr);
    }
}

void TqxScrollingPage::PageMouseLeave() {
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = false;
    if (!FCanScroll) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == Handle()) return;
    const Integer hot = HotButton();
    if (hot == -1) return;
    if (TimerMode != 0) StopScrollTimer();
    Buttons[hot].MouseIn = false;
    RepaintButtons();
}

Integer TqxScrollingPage::HotButton() const {
    for (Integer i = 0; i < 2; ++i)
        if (Buttons[i].MouseIn && Buttons[i].Visible) return i;
    return -1;
}

// The non-client area.

void TqxScrollingPage::PlaceButtons() {
    if (!Buttons[0].Visible || !PlacesButtons()) return;
    const Integer w = Width(), h = Height();
    Buttons[0].Rect = FVertical ? Rect(0, 0, w, ButtonSize) : Rect(0, 0, ButtonSize, h);
    Buttons[1].Rect = FVertical ? Rect(0, h - ButtonSize, w, h) : Rect(w - ButtonSize, 0, w, h);
    RepaintButtons();
}

void TqxScrollingPage::RepaintButtons() {
    if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}

void TqxScrollingPage::PaintButtons(HDC ADC) {
    TqxSkinData* skin = nullptr;
    if (auto* source = dynamic_cast<IqxSkinChangeable*>(FSkinSource)) skin = source->SkinData();
    const TqxDataSkinButtonControl* element = nullptr;
    if (skin && !skin->Empty) {
        const Integer index = skin->GetControlIndex(u"resizetoolbutton");
        if (index != -1) element = dynamic_cast<const TqxDataSkinButtonControl*>(skin->CtrlList[index]);
        if (element && !skin->GetActivePicture(element->PictureIndex)) element = nullptr;
    }
    TCanvas canvas;
    canvas.SetHandle(ADC);
    for (Integer i = 0; i < 2; ++i) {
        const TqxPageScrollButton& b = Buttons[i];
        if (!b.Visible) continue;
        const bool down = (b.Down && b.MouseIn) || (b.MouseIn && FHotScroll);
        // DrawArrow: 1 left, 2 right, 3 up, 4 down.
        const Integer arrow = FVertical ? 3 + i : 1 + i;
        DrawScrollButtonFace(&canvas, b.Rect, element, skin, b.MouseIn, down, arrow);
    }
    canvas.SetHandle(nullptr);
}

void TqxScrollingPage::NCCalcSize(TMessage& AMessage) {
    if (!AMessage.LParam) return;
    RECT& r = AMessage.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0]
                              : *reinterpret_cast<RECT*>(AMessage.LParam);
    if (Buttons[0].Visible) (FVertical ? r.top : r.left) += ButtonSize;
    if (Buttons[1].Visible) (FVertical ? r.bottom : r.right) -= ButtonSize;
}

// Messages.

void TqxScrollingPage::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg != WM_ERASEBKGND || !AMessage.WParam) return TCustomControl::Dispatch(AMessage);
    TCanvas canvas;
    canvas.SetHandle(reinterpret_cast<HDC>(AMessage.WParam));
    PaintParentBackground(this, &canvas);
    canvas.SetHandle(nullptr);
    AMessage.Result = 1;
}

void TqxScrollingPage::WndProc(TMessage& AMessage) {
    if (!FCanScroll) return TCustomControl::WndProc(AMessage);
    if (!Handled(AMessage)) TCustomControl::WndProc(AMessage);
}

bool TqxScrollingPage::Handled(TMessage& AMessage) {
    const bool designing = ComponentState().Contains(csDesigning);
    switch (AMessage.Msg) {
        case WM_WINDOWPOSCHANGING:
            if (HandleAllocated() && Align() == alNone) GetScrollInfo();
            return false;
        case WM_NCCALCSIZE:
            NCCalcSize(AMessage);
            AMessage.Result = 0;
            return true;
        case WM_SIZE:
            TCustomControl::WndProc(AMessage);
            PlaceButtons();
            return true;
        case WM_NCPAINT:
            if (ScrollButtonsShown()) {
                const HDC dc = GetWindowDC(Handle());
                PaintButtons(dc);
                ReleaseDC(Handle(), dc);
            }
            return true;
        case SKINMSG_PAINTTODC:
            AMessage.Result = 0;
            if (ScrollButtonsShown() && AMessage.WParam) {
                PaintButtons(reinterpret_cast<HDC>(AMessage.WParam));
                AMessage.Result = SKINMSG_ANSWER_PAINTED;
            }
            return true;
        case SKINMSG_PAINTFRAMETODC:
            if (AMessage.LParam != SKINMSG_PAINTKEY) return false;
            if (ScrollButtonsShown() && AMessage.WParam) PaintButtons(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = SKINMSG_PAINTKEY;
            return true;
        case WM_DESTROY:
            KillTimer(Handle(), StepTimer);
            KillTimer(Handle(), LeaveTimer);
            FMouseIn = false;
            return false;
        case WM_TIMER:
            TCustomControl::WndProc(AMessage);
            if (AMessage.WParam == StepTimer && TimerMode != 0) ScrollStep(TimerMode == 2);
            if (AMessage.WParam == LeaveTimer) {
                POINT cursor;
                GetCursorPos(&cursor);
                if (WindowFromPoint(cursor) != Handle()) {
                    KillTimer(Handle(), LeaveTimer);
                    PageMouseLeave();
                }
            }
            return true;
        case WM_NCHITTEST: {
            if (designing) return false;
            if (!FMouseIn) PageMouseEnter();
            POINT p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
            win::ScreenToClient(Handle(), &p);
            const Integer at = Along(p.x, p.y);
            if (at < 0 && Buttons[0].Visible) {
                AMessage.Result = HTSCROLLPRIOR;
                return true;
            }
            if (at > ClientSize() && Buttons[1].Visible) {
                AMessage.Result = HTSCROLLNEXT;
                return true;
            }
            return false;
        }
        case WM_SETCURSOR: {
            const Integer hit = Integer(LOWORD(AMessage.LParam));
            if (hit == HTSCROLLPRIOR || hit == HTSCROLLNEXT)
                AMessage.LParam = MAKELPARAM(HTCLIENT, HIWORD(AMessage.LParam));
            return false;
        }
        case WM_NCMOUSEMOVE: {
            const Integer hit = Integer(AMessage.WParam);
            const Integer index = hit == HTSCROLLPRIOR ? 0 : hit == HTSCROLLNEXT ? 1 : -1;
            if (index != -1 && !Buttons[index].MouseIn) {
                Buttons[index].MouseIn = true;
                Buttons[1 - index].MouseIn = false;
                RepaintButtons();
                if (FHotScroll) {
                    TimerMode = index + 1;
                    StartScrollTimer();
                }
            }
            return false;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCLBUTTONUP: {
            const Integer hit = Integer(AMessage.WParam);
            const Integer index = hit == HTSCROLLPRIOR ? 0 : hit == HTSCROLLNEXT ? 1 : -1;
            if (index == -1) return false;
            const bool down = AMessage.Msg != WM_NCLBUTTONUP;
            Buttons[index].Down = down;
            RepaintButtons();
            if (down) {
                TimerMode = index + 1;
                StartScrollTimer();
            } else {
                // A click scrolls once on release.
                StopScrollTimer();
                ScrollStep(index == 1);
            }
            return false;
        }
        case WM_MOUSEMOVE: {
            const Integer hot = HotButton();
            if (hot != -1) {
                if (TimerMode != 0) StopScrollTimer();
                Buttons[hot].MouseIn = false;
                RepaintButtons();
            }
            return false;
        }
        default:
            return false;
    }
}

// The two members.

TqxRibbonCustomPage::TqxRibbonCustomPage(TComponent* AOwner) : TqxScrollingPage(AOwner, false) {}

void TqxRibbonCustomPage::ContentScrolled() {
    // A stretched background must follow the children.
    auto* ribbon = dynamic_cast<TqxSkinCustomControl*>(Ribbon());
    if (ribbon && ribbon->FIndex != -1 && ribbon->StretchEffect) Invalidate();
}

TqxAppMenuCustomPage::TqxAppMenuCustomPage(TComponent* AOwner) : TqxScrollingPage(AOwner, true) {
    SetCanScroll(false);
}

void TqxAppMenuCustomPage::GetScrollInfo() {
    if (!FStopScroll) TqxScrollingPage::GetScrollInfo();
}

namespace {

const auto Registered = [] {
    using T = TqxScrollingPage;
    RegisterClass<T, TCustomControl>()
        .Property(u"CanScroll", &T::CanScroll, &T::SetCanScroll)
        .Property(u"HotScroll", &T::HotScroll, &T::SetHotScroll)
        .Property(u"ScrollOffset", &T::ScrollOffset, &T::SetScrollOffset)
        .Property(u"ScrollTimerInterval", &T::ScrollTimerInterval, &T::SetScrollTimerInterval);
    RegisterClass<TqxRibbonCustomPage, T>();
    RegisterClass<TqxAppMenuCustomPage, T>();
    return true;
}();

}  // namespace
