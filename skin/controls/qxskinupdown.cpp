#include "skin/controls/qxskinupdown.h"

#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "platform/win/timers.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr ULONG_PTR RepeatTimer = 1;

}  // namespace

TqxSkinUpDown::TqxSkinUpDown(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    SetSkinDataName(u"hupdown");
    SetBounds(Left(), Top(), 50, 25);
}

// Properties.

void TqxSkinUpDown::SetOrientation(TUDOrientation AValue) {
    FOrientation = AValue;
    CalcButtonRects();
    Repaint();
}

void TqxSkinUpDown::SetMin(Integer AValue) {
    FMin = AValue;
    if (FPosition < FMin) FPosition = FMin;
}

void TqxSkinUpDown::SetMax(Integer AValue) {
    FMax = AValue;
    if (FPosition > FMax) FPosition = FMax;
}

void TqxSkinUpDown::SetPosition(Integer AValue) {
    if (AValue < FMin || AValue > FMax) return;
    FPosition = AValue;
    if (OnChange && !ComponentState().Contains(csDesigning)) OnChange(this);
}

// The element and the buttons.

void TqxSkinUpDown::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    const auto* e =
        FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinUpDownControl*>(SkinData()->CtrlList[FIndex]);
    if (e) {
        UpButtonRect = e->UpButtonRect;
        ActiveUpButtonRect = e->ActiveUpButtonRect;
        DownUpButtonRect =
            IsRectDegenerate(e->DownUpButtonRect) ? e->ActiveUpButtonRect : e->DownUpButtonRect;
        DownButtonRect = e->DownButtonRect;
        ActiveDownButtonRect = e->ActiveDownButtonRect;
        DownDownButtonRect =
            IsRectDegenerate(e->DownDownButtonRect) ? e->ActiveDownButtonRect : e->DownDownButtonRect;
        // No fixed corners, no client area.
        LTPt = RTPt = LBPt = RBPt = TPoint{};
        ClRect = TRect{};
    }
    CalcButtonRects();
}

void TqxSkinUpDown::CalcButtonRects() {
    if (FIndex != -1 && FUseSkinSize) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
        return;
    }
    const Integer w = Width(), h = Height();
    if (FOrientation == udVertical) {
        Buttons[0].R = Rect(0, 0, w, h / 2);
        Buttons[1].R = Rect(0, h / 2, w, h);
    } else {
        Buttons[1].R = Rect(0, 0, w / 2, h);
        Buttons[0].R = Rect(w / 2, 0, w, h);
    }
}

void TqxSkinUpDown::CalcSize(Integer& W, Integer& H) {
    if (FUseSkinSize) TqxSkinCustomControl::CalcSize(W, H);
}

void TqxSkinUpDown::SetControlRegion() {
    if (FUseSkinSize) TqxSkinCustomControl::SetControlRegion();
}

// Painting.

void TqxSkinUpDown::DrawButtonArrow(TCanvas* ACanvas, Integer AIndex, TColor AColor) {
    const bool vertical = FOrientation == udVertical;
    const Integer direction = AIndex == 0 ? (vertical ? 3 : 2) : (vertical ? 4 : 1);
    DrawArrow(ACanvas, Buttons[AIndex].R, AColor, direction);
}

void TqxSkinUpDown::DrawDefaultButton(TCanvas* ACanvas, Integer AIndex) {
    const TUpDownButton& b = Buttons[AIndex];
    if (b.Down && b.MouseIn)
        FillDefaultFace(ACanvas, b.R, DefaultFrame, DefaultDownFill);
    else if (b.MouseIn)
        FillDefaultFace(ACanvas, b.R, DefaultFrame, DefaultHoverFill);
    else
        FillDefaultFace(ACanvas, b.R, clBtnShadow, clBtnFace);
    DrawButtonArrow(ACanvas, AIndex, Enabled() ? clBlack : TColor(0x808080));
}

void TqxSkinUpDown::CreateControlDefaultImage(TBitmap* B) {
    CalcButtonRects();
    for (Integer i = 0; i < 2; ++i)
        DrawDefaultButton(B->Canvas(), i);
}

void TqxSkinUpDown::DrawResizeButton(TCanvas* ACanvas, Integer AIndex) {
    const TUpDownButton& b = Buttons[AIndex];
    const Integer index = SkinData()->GetControlIndex(u"resizebutton");
    const auto* e =
        index == -1 ? nullptr : dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[index]);
    // Without the element the buttons keep their plain look.
    if (!e) return DrawDefaultButton(ACanvas, AIndex);
    TqxSkinGeometry g;
    CopyElementGeometry(g, *e);
    TqxButtonElementCopy states;
    CopyButtonElement(states, *e);
    const bool down = b.Down && b.MouseIn;
    const TRect& source = down ? states.DownSkinRect : b.MouseIn ? states.ActiveSkinRect : g.SkinRect;
    TBitmap face;
    BuildNinePartFace(g, &face, SkinData()->GetActivePicture(e->PictureIndex), source, b.R.Width(),
                      b.R.Height());
    ACanvas->Draw(b.R.Left, b.R.Top, &face);
    const TColor color = !Enabled()  ? states.DisabledFontColor
                         : down      ? states.DownFontColor
                         : b.MouseIn ? states.ActiveFontColor
                                     : states.FontColor;
    DrawButtonArrow(ACanvas, AIndex, color);
}

void TqxSkinUpDown::CreateControlSkinImage(TBitmap* B) {
    if (!FUseSkinSize) {
        CalcButtonRects();
        for (Integer i = 0; i < 2; ++i)
            DrawResizeButton(B->Canvas(), i);
        return;
    }
    TqxSkinCustomControl::CreateControlSkinImage(B);
    const TRect pressed[2] = {DownUpButtonRect, DownDownButtonRect};
    const TRect active[2] = {ActiveUpButtonRect, ActiveDownButtonRect};
    for (Integer i = 0; i < 2; ++i) {
        const TUpDownButton& b = Buttons[i];
        const TRect* source = b.Down && b.MouseIn ? &pressed[i] : b.MouseIn ? &active[i] : nullptr;
        if (source && Picture && !IsRectDegenerate(*source))
            B->Canvas()->CopyRect(b.R, Picture->Canvas(), *source);
    }
}

// Mouse.

void TqxSkinUpDown::UpdateActiveButton(Integer X, Integer Y) {
    Integer hit = -1;
    for (Integer i = 0; i < 2 && hit == -1; ++i)
        if (PointInsideRect(Buttons[i].R, Point(X, Y))) hit = i;
    if (CaptureButton != -1 && hit != CaptureButton) hit = -1;
    if (hit == ActiveButton) return;
    OldActiveButton = ActiveButton;
    ActiveButton = hit;
    if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
    if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TqxSkinUpDown::ButtonEnter(Integer AIndex) {
    Buttons[1 - AIndex].MouseIn = false;
    Buttons[AIndex].MouseIn = true;
    Repaint();
    if (Buttons[AIndex].Down && FIncrement != 0) StartTimer(50);
}

void TqxSkinUpDown::ButtonLeave(Integer AIndex) {
    Buttons[AIndex].MouseIn = false;
    Repaint();
    if (Buttons[AIndex].Down && FIncrement != 0) StopTimer();
}

void TqxSkinUpDown::StartTimer(Cardinal AInterval) {
    if (HandleAllocated()) SetTimer(Handle(), RepeatTimer, AInterval, nullptr);
}

void TqxSkinUpDown::StopTimer() {
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TqxSkinUpDown::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    UpdateActiveButton(X, Y);
    if (ActiveButton != -1) {
        Buttons[1 - ActiveButton].MouseIn = false;
        CaptureButton = ActiveButton;
        Buttons[ActiveButton].MouseIn = true;
        Buttons[ActiveButton].Down = true;
        Repaint();
        if (FIncrement != 0) {
            TimerMode = ActiveButton == 0 ? 2 : 1;
            WaitMode = true;
            StartTimer(500);
        }
    }
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
}

void TqxSkinUpDown::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    UpdateActiveButton(X, Y);
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
}

void TqxSkinUpDown::ButtonUp(Integer AIndex, Integer X, Integer Y) {
    if (FIncrement != 0) {
        StopTimer();
        TimerMode = 0;
    }
    TUpDownButton& b = Buttons[AIndex];
    b.Down = false;
    const bool over = PointInsideRect(b.R, Point(X, Y));
    if (!over) b.MouseIn = false;
    Repaint();
    if (!over) return;
    if (AIndex == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
    } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
    }
}

void TqxSkinUpDown::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (CaptureButton != -1) ButtonUp(CaptureButton, X, Y);
    CaptureButton = -1;
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
}

void TqxSkinUpDown::Timer() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(100);
        return;
    }
    if (TimerMode == 1) SetPosition(FPosition - FIncrement);
    if (TimerMode == 2) SetPosition(FPosition + FIncrement);
}

void TqxSkinUpDown::ResetActive() {
    ActiveButton = -1;
    OldActiveButton = -1;
}

void TqxSkinUpDown::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_TIMER:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (AMessage.WParam == RepeatTimer) Timer();
            return;
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            GetSkinData();
            return;
        case CM_MOUSEENTER:
            ResetActive();
            TqxSkinCustomControl::Dispatch(AMessage);
            return;
        case CM_MOUSELEAVE:
            ResetActive();
            TqxSkinCustomControl::Dispatch(AMessage);
            for (TUpDownButton& b : Buttons)
                if (b.MouseIn) {
                    b.MouseIn = false;
                    Repaint();
                }
            return;
        default:
            TqxSkinCustomControl::Dispatch(AMessage);
    }
}

namespace {

const auto Registered = [] {
    RegisterEnum<TUDOrientation>({u"udHorizontal", u"udVertical"});
    using U = TqxSkinUpDown;
    RegisterClass<U, TqxSkinCustomControl>()
        .Property(u"Orientation", &U::Orientation, &U::SetOrientation)
        .Property(u"Min", &U::Min, &U::SetMin)
        .Property(u"Max", &U::Max, &U::SetMax)
        .Property(u"Position", &U::Position, &U::SetPosition)
        .Property(u"Increment", &U::Increment, &U::SetIncrement)
        .Property(u"UseSkinSize", &U::UseSkinSize, &U::SetUseSkinSize)
        .Event(u"OnChange", &U::OnChange)
        .Event(u"OnUpButtonClick", &U::OnUpButtonClick)
        .Event(u"OnDownButtonClick", &U::OnDownButtonClick);
    return true;
}();

}  // namespace
