#include "skin/controls/qxskintoolbars.h"

#include <algorithm>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "skin/controls/qxgraphicskincontrol.h"
#include "skin/controls/qxskinsplitters.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Integer ArrowWidth = 12;
constexpr ULONG_PTR ScrollTimer = 1;
constexpr ULONG_PTR LeaveTimer = 2;
constexpr UINT LeavePoll = 100;

}  // namespace

TqxSkinToolBar::TqxSkinToolBar(TComponent* AOwner) : TqxSkinPanel(AOwner) {
    ForcebackGround = false;
    SetSkinDataName(u"toolpanel");
    SetBorderStyle(TqxSkinBorderStyle::bvNone);
    SetHeight(25);
}

// Properties.

void TqxSkinToolBar::SetScrollOffset(Integer AValue) {
    if (AValue >= 0) FScrollOffset = AValue;
}

void TqxSkinToolBar::SetScrollTimerInterval(Integer AValue) {
    if (AValue > 0) FScrollTimerInterval = AValue;
}

void TqxSkinToolBar::SetImages(TCustomImageList* AValue) {
    SetReference(this, FImages, AValue);
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* button = dynamic_cast<TqxSkinSpeedButton*>(Controls(i))) button->Repaint();
}

void TqxSkinToolBar::SetFlat(bool AValue) {
    FFlat = AValue;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* button = dynamic_cast<TqxSkinSpeedButton*>(Controls(i))) button->SetFlat(AValue);
}

void TqxSkinToolBar::SetShowCaptions(bool AValue) {
    if (AValue == FShowCaptions) return;
    FShowCaptions = AValue;
    if (FAutoShowHideCaptions)
        for (Integer i = 0; i < ControlCount(); ++i)
            if (auto* button = dynamic_cast<TqxSkinSpeedButton*>(Controls(i))) button->SetShowCaption(AValue);
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(AValue ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TqxSkinToolBar::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinPanel::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FHotImages) FHotImages = nullptr;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TqxSkinToolBar::SetSkinData(TqxSkinData* AValue) {
    TqxSkinPanel::SetSkinData(AValue);
    for (Integer i = 0; i < ControlCount(); ++i) {
        if (auto* button = dynamic_cast<TqxSkinSpeedButton*>(Controls(i))) button->SetSkinData(AValue);
        if (auto* bevel = dynamic_cast<TqxSkinBevel*>(Controls(i))) bevel->SetSkinData(AValue);
    }
}

// Layout.

bool TqxSkinToolBar::AdjustControlsRect(TRect& ARect) {
    if (!FAdjustControls) return false;
    GetSkinClientRect(ARect);
    return true;
}

void TqxSkinToolBar::CentreOtherChildren() {
    TRect client;
    GetSkinClientRect(client);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (dynamic_cast<TqxSkinControl*>(child) || dynamic_cast<TqxGraphicSkinControl*>(child) ||
            child->Align() != alNone)
            continue;
        const Integer top = client.Top + client.Height() / 2 - child->Height() / 2;
        if (child->Top() != top) child->SetTop(top);
    }
}

void TqxSkinToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    const Integer oldWidth = Width();
    TqxSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls)
        for (Integer i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            child->SetBounds(child->Left(), child->Top(), child->Width(), child->Height());
        }
    if (FCanScroll) {
        FHSizeOffset = oldWidth != 0 && Width() > oldWidth ? Width() - oldWidth : 0;
        UpdateScroll();
    }
    CentreOtherChildren();
}

void TqxSkinToolBar::AdjustClientRect(TRect& ARect) {
    TqxSkinPanel::AdjustClientRect(ARect);
    if (!ScrollingActive()) return;
    const TRect client = ClientRect();
    TRect r = Rect(-SPosition, 0, -SPosition + std::max(SMax, client.Width()), client.Height());
    if (FIndex == -1 || ComponentState().Contains(csDesigning)) {
        r.Top = 1;
        r.Bottom = client.Height() - 1;
    } else if (BorderStyle() != TqxSkinBorderStyle::bvNone || ResizeMode != 1) {
        r.Top = NewClRect.Top;
        r.Bottom = NewClRect.Bottom;
    }
    ARect = r;
}

// Scrolling.

void TqxSkinToolBar::UpdateScroll() {
    if (Width() == 0) return;
    Integer a = 0;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) a = std::max(a, Controls(i)->Left() + Controls(i)->Width());
    if (a == 0) {
        if (Buttons[0].Visible) ShowButtons(false);
        return;
    }
    Integer clientWidth = ClientWidth();
    if (clientWidth < a + SPosition) {
        if (!Buttons[0].Visible) {
            ShowButtons(true);
            clientWidth = ClientWidth();
        }
        if (SPosition > 0 && a < clientWidth && FHSizeOffset > 0) {
            // The bar grew while scrolled: the content comes back by the gain.
            FHSizeOffset = std::min(FHSizeOffset, SPosition);
            SMax = SPosition + a - 1;
            SPosition -= FHSizeOffset;
            SPage = clientWidth;
            ScrollBy(FHSizeOffset, 0);
            Repaint();
            FHSizeOffset = 0;
        } else if (FHSizeOffset != 0 || SPosition + a - 1 >= SMax || SPosition <= 0 || a >= clientWidth) {
            SMax = SPosition + a - 1;
            SPage = clientWidth;
            FHSizeOffset = 0;
        } else {
            // The content shrank while scrolled.
            SMax = SPosition + a - 1;
            SPosition = SPosition + a - clientWidth;
            SPage = clientWidth;
            ScrollBy(clientWidth - a, 0);
        }
        SOldPosition = SPosition;
        return;
    }
    if (SPosition > 0) ScrollBy(SPosition, 0);
    FHSizeOffset = SMax = SPosition = SPage = SOldPosition = 0;
    if (Buttons[1].Visible) ShowButtons(false);
}

void TqxSkinToolBar::ShowButtons(bool AVisible) {
    Buttons[0].Visible = Buttons[1].Visible = AVisible;
    FMouseIn = false;
    // The focus inside the bar survives the new window.
    TWinControl* focused = nullptr;
    if (TCustomForm* form = GetParentForm(this)) {
        TWinControl* active = form->ActiveControl();
        if (active && active->Focused() &&
            (active->Parent() == this || (active->Parent() && active->Parent()->Parent() == this)))
            focused = active;
    }
    if (!HandleAllocated()) return;
    RecreateWnd();
    HandleNeeded();
    if (focused && focused->Visible() && !focused->Focused() && focused->CanFocus()) focused->SetFocus();
}

void TqxSkinToolBar::ScrollStep(bool AForward) {
    const Integer step = FScrollOffset > 0 ? FScrollOffset : ClientWidth();
    if (AForward)
        SPosition = std::min(SPosition + step, SMax - SPage + 1);
    else
        SPosition = std::max(0, SPosition - step);
    if (SPosition == SOldPosition) {
        StopScrollTimer();
        return;
    }
    ScrollBy(SOldPosition - SPosition, 0);
    Repaint();
    UpdateScroll();
}

void TqxSkinToolBar::StopScrollTimer() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
    TimerMode = 0;
}

// The element.

void TqxSkinToolBar::GetSkinData() {
    TqxSkinPanel::GetSkinData();
    ButtonData = nullptr;
    if (FIndex == -1) return;
    const Integer index = SkinData()->GetControlIndex(u"resizebutton");
    if (index != -1) ButtonData = dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[index]);
}

void TqxSkinToolBar::CreateControlSkinImage(TBitmap* B) {
    if ((Buttons[0].Visible || Buttons[1].Visible) && ResizeMode == 2 && Picture) {
        // Only the middle while scrolled: no end caps inside the content.
        BuildHorzMiddlePartImage(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, SkinRect, Width(), Height(),
                                 StretchEffect);
        return;
    }
    TqxSkinPanel::CreateControlSkinImage(B);
}

// The arrow buttons.

void TqxSkinToolBar::DrawButton(TCanvas* ACanvas, Integer AIndex) {
    const TScrollButton& b = Buttons[AIndex];
    DrawScrollButtonFace(ACanvas, b.R, ButtonData, SkinData(), b.Hot, (b.Pressed && b.Hot) || (b.Hot && FHotScroll),
                         AIndex == 0 ? 1 : 2);
}

void TqxSkinToolBar::PaintButtons() {
    if (!FCanScroll || !HandleAllocated() || !(Buttons[0].Visible || Buttons[1].Visible)) return;
    GetSkinData();
    const HWND window = Handle();
    const HDC dc = GetWindowDC(window);
    TCanvas canvas;
    canvas.SetHandle(dc);
    for (Integer i = 0; i < 2; ++i)
        if (Buttons[i].Visible) DrawButton(&canvas, i);
    canvas.SetHandle(nullptr);
    ReleaseDC(window, dc);
}

void TqxSkinToolBar::RepaintButtons() {
    if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}

Integer TqxSkinToolBar::HitButton(LPARAM AScreenPoint) {
    RECT window;
    GetWindowRect(Handle(), &window);
    const Integer x = GET_X_LPARAM(AScreenPoint) - window.left;
    if (Buttons[0].Visible && x < ArrowWidth) return HTSCROLLPRIOR;
    if (Buttons[1].Visible && x >= Width() - ArrowWidth) return HTSCROLLNEXT;
    return HTNOWHERE;
}

void TqxSkinToolBar::NCCalcSize(TMessage& AMessage) {
    if (!AMessage.LParam) return;
    GetSkinData();
    RECT& r = AMessage.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0]
                              : *reinterpret_cast<RECT*>(AMessage.LParam);
    if (Buttons[0].Visible) r.left += ArrowWidth;
    if (Buttons[1].Visible) r.right -= ArrowWidth;
}

void TqxSkinToolBar::NCMouseMove(Integer AHit) {
    const Integer index = AHit == HTSCROLLPRIOR ? 0 : AHit == HTSCROLLNEXT ? 1 : -1;
    if (index == -1 || Buttons[index].Hot) return;
    Buttons[index].Hot = true;
    Buttons[1 - index].Hot = false;
    RepaintButtons();
    if (FHotScroll) {
        TimerMode = index + 1;
        SetTimer(Handle(), ScrollTimer, UINT(FScrollTimerInterval), nullptr);
    }
}

void TqxSkinToolBar::MouseLeft() {
    FMouseIn = false;
    for (TScrollButton& b : Buttons)
        if (b.Hot) {
            b.Hot = false;
            break;
        }
    StopScrollTimer();
    RepaintButtons();
}

void TqxSkinToolBar::Timer(WPARAM AId) {
    if (AId == ScrollTimer) {
        if (TimerMode != 0) ScrollStep(TimerMode == 2);
        return;
    }
    if (AId != LeaveTimer) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == Handle()) return;
    KillTimer(Handle(), LeaveTimer);
    MouseLeft();
}

void TqxSkinToolBar::WndProc(TMessage& AMessage) {
    const bool designing = ComponentState().Contains(csDesigning);
    switch (AMessage.Msg) {
        case WM_DESTROY:
            KillTimer(Handle(), ScrollTimer);
            KillTimer(Handle(), LeaveTimer);
            FMouseIn = false;
            break;
        case WM_WINDOWPOSCHANGING:
            TqxSkinPanel::WndProc(AMessage);
            if (FAdjustControls) CentreOtherChildren();
            if (FCanScroll && Align() == alNone) UpdateScroll();
            return;
        case WM_NCCALCSIZE:
            TqxSkinPanel::WndProc(AMessage);
            if (FCanScroll) NCCalcSize(AMessage);
            return;
        case WM_SIZE:
            TqxSkinPanel::WndProc(AMessage);
            if (FCanScroll && Buttons[0].Visible) {
                Buttons[0].R = Rect(0, 0, ArrowWidth, Height());
                Buttons[1].R = Rect(Width() - ArrowWidth, 0, Width(), Height());
                RepaintButtons();
            }
            return;
        case WM_NCPAINT:
            TqxSkinPanel::WndProc(AMessage);
            PaintButtons();
            return;
        case WM_NCHITTEST: {
            if (designing || !FCanScroll) break;
            if (!FMouseIn) {
                FMouseIn = true;
                if (Buttons[0].Visible) SetTimer(Handle(), LeaveTimer, LeavePoll, nullptr);
            }
            const Integer hit = HitButton(AMessage.LParam);
            if (hit == HTNOWHERE) break;
            AMessage.Result = hit;
            return;
        }
        case WM_SETCURSOR: {
            const Integer hit = Integer(LOWORD(AMessage.LParam));
            if (hit == HTSCROLLPRIOR || hit == HTSCROLLNEXT)
                AMessage.LParam = MAKELPARAM(HTCLIENT, HIWORD(AMessage.LParam));
            break;
        }
        case WM_NCMOUSEMOVE:
            if (FCanScroll) NCMouseMove(Integer(AMessage.WParam));
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            const Integer hit = Integer(AMessage.WParam);
            if (hit != HTSCROLLPRIOR && hit != HTSCROLLNEXT) break;
            Buttons[hit - HTSCROLLPRIOR].Pressed = true;
            RepaintButtons();
            TimerMode = hit - HTSCROLLPRIOR + 1;
            SetTimer(Handle(), ScrollTimer, UINT(FScrollTimerInterval), nullptr);
            return;
        }
        case WM_NCLBUTTONUP: {
            const Integer hit = Integer(AMessage.WParam);
            if (hit != HTSCROLLPRIOR && hit != HTSCROLLNEXT) break;
            Buttons[hit - HTSCROLLPRIOR].Pressed = false;
            RepaintButtons();
            StopScrollTimer();
            ScrollStep(hit == HTSCROLLNEXT);
            return;
        }
        case WM_MOUSEMOVE:
            for (TScrollButton& b : Buttons)
                if (b.Visible && b.Hot) {
                    b.Hot = false;
                    StopScrollTimer();
                    RepaintButtons();
                    break;
                }
            break;
        case WM_TIMER:
            TqxSkinPanel::WndProc(AMessage);
            if (FCanScroll) Timer(AMessage.WParam);
            return;
        default:
            break;
    }
    TqxSkinPanel::WndProc(AMessage);
}

// TqxSkinStatusBar

TqxSkinStatusBar::TqxSkinStatusBar(TComponent* AOwner) : TqxSkinPanel(AOwner) {
    ForcebackGround = false;
    SetSkinDataName(u"statusbar");
    SetBorderStyle(TqxSkinBorderStyle::bvNone);
    SetAlign(alBottom);
    SetHeight(21);
}

void TqxSkinStatusBar::SetSizeGrip(bool AValue) {
    FSizeGrip = AValue;
    Repaint();
    Realign();
}

void TqxSkinStatusBar::SetShowGrip(bool AValue) {
    FShowGrip = AValue;
    Repaint();
    Realign();
}

void TqxSkinStatusBar::SetSkinData(TqxSkinData* AValue) {
    TqxSkinPanel::SetSkinData(AValue);
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* control = dynamic_cast<TqxSkinControl*>(Controls(i))) control->SetSkinData(AValue);
}

bool TqxSkinStatusBar::SkinGrip() const {
    return FIndex != -1 && !IsRectDegenerate(GripperRect);
}

void TqxSkinStatusBar::GetSkinData() {
    TqxSkinPanel::GetSkinData();
    const TqxDataSkinPanelControl* e = PanelElement();
    if (!e) return;
    GripperRect = e->GripperRect;
    GripperTransparent = e->GripperTransparent;
    GripperTransparentColor = e->GripperTransparentColor;
}

void TqxSkinStatusBar::AdjustClientRect(TRect& ARect) {
    TqxSkinPanel::AdjustClientRect(ARect);
    if (!GripOn()) return;
    ARect.Right -= SkinGrip() ? GripperRect.Width() : ARect.Height();
}

TRect TqxSkinStatusBar::GripRect() {
    TRect c;
    GetSkinClientRect(c);
    if (SkinGrip())
        return Rect(c.Right, c.Bottom - GripperRect.Height(), c.Right + GripperRect.Width(), c.Bottom);
    return Rect(c.Right + 2, c.Top, c.Right + c.Height(), c.Bottom - 2);
}

void TqxSkinStatusBar::DrawGrip(TCanvas* ACanvas) {
    if (!GripOn()) return;
    const TRect grip = GripRect();
    if (SkinGrip() && Picture) {
        TBitmap piece;
        CopySkinPiece(Picture, GripperRect, &piece);
        if (GripperTransparent) {
            piece.SetTransparentColor(GripperTransparentColor);
            piece.SetTransparent(true);
        }
        ACanvas->Draw(grip.Left, grip.Top, &piece);
        return;
    }
    const TColor shadow = FIndex == -1 ? clBtnShadow : SkinData()->SkinColors()->cBtnShadow();
    const TColor light = FIndex == -1 ? clBtnFace : SkinData()->SkinColors()->cBtnHighLight();
    const TRect r = Rect(grip.Left + 2, grip.Top + 2, grip.Right - 2, grip.Bottom - 2);
    ACanvas->Pen()->SetWidth(1);
    for (Integer k = 0; k <= grip.Width() / 4; ++k) {
        const Integer d = 4 + 3 * k;
        if (r.Width() < d + 2) break;
        ACanvas->Pen()->SetColor(shadow);
        ACanvas->MoveTo(r.Left + d, r.Bottom);
        ACanvas->LineTo(r.Right, r.Top + d);
        ACanvas->Pen()->SetColor(light);
        ACanvas->MoveTo(r.Left + d + 1, r.Bottom);
        ACanvas->LineTo(r.Right, r.Top + d + 1);
    }
}

void TqxSkinStatusBar::CreateControlDefaultImage(TBitmap* B) {
    TqxSkinPanel::CreateControlDefaultImage(B);
    DrawGrip(B->Canvas());
}

void TqxSkinStatusBar::CreateControlSkinImage(TBitmap* B) {
    TqxSkinPanel::CreateControlSkinImage(B);
    DrawGrip(B->Canvas());
}

void TqxSkinStatusBar::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_NCHITTEST && !ComponentState().Contains(csDesigning) && GripOn()) {
        const TPoint p = ScreenToClient(Point(GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)));
        const TRect grip = GripRect();
        const bool inside = p.X >= grip.Left && p.X < grip.Right && p.Y >= grip.Top && p.Y < grip.Bottom;
        AMessage.Result = inside ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    TqxSkinPanel::Dispatch(AMessage);
}

namespace {

const auto Registered = [] {
    using T = TqxSkinToolBar;
    RegisterClass<T, TqxSkinPanel>()
        .Property(u"AdjustControls", &T::AdjustControls, &T::SetAdjustControls)
        .Property(u"CanScroll", &T::CanScroll, &T::SetCanScroll)
        .Property(u"HotScroll", &T::HotScroll, &T::SetHotScroll)
        .Property(u"ScrollOffset", &T::ScrollOffset, &T::SetScrollOffset)
        .Property(u"ScrollTimerInterval", &T::ScrollTimerInterval, &T::SetScrollTimerInterval)
        .Property(u"Images", &T::Images, &T::SetImages)
        .Property(u"HotImages", &T::HotImages, &T::SetHotImages)
        .Property(u"DisabledImages", &T::DisabledImages, &T::SetDisabledImages)
        .Property(u"Flat", &T::Flat, &T::SetFlat)
        .Property(u"ShowCaptions", &T::ShowCaptions, &T::SetShowCaptions)
        .Property(u"AutoShowHideCaptions", &T::AutoShowHideCaptions, &T::SetAutoShowHideCaptions)
        .Property(u"WidthWithCaptions", &T::WidthWithCaptions, &T::SetWidthWithCaptions)
        .Property(u"WidthWithoutCaptions", &T::WidthWithoutCaptions, &T::SetWidthWithoutCaptions);
    using S = TqxSkinStatusBar;
    RegisterClass<S, TqxSkinPanel>()
        .Property(u"SizeGrip", &S::SizeGrip, &S::SetSizeGrip)
        .Property(u"ShowGrip", &S::ShowGrip, &S::SetShowGrip);
    return true;
}();

}  // namespace
