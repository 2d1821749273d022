#include "skin/controls/qxskinscrollbar.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/timers.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr ULONG_PTR RepeatTimer = 1;
constexpr UINT RepeatDelay = 500;
constexpr UINT RepeatInterval = 50;
// The unskinned look: arrow buttons 16 pixels long, the thumb at least 16.
constexpr Integer ArrowLength = 16;
constexpr Integer MinThumb = 16;
constexpr TColor DefaultFrame = TColor(0xB76B3B);
constexpr TColor DefaultHoverFill = TColor(0xF3D4C1);
constexpr TColor DefaultDownFill = TColor(0xE4BCA2);

// To the nearest integer, halves to even.
Integer RoundEven(double AValue) {
    return Integer(std::nearbyint(AValue));
}

bool Contains(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

TRect Fallback(const TRect& ARect, const TRect& AOther) {
    return IsRectDegenerate(ARect) ? AOther : ARect;
}

}  // namespace

TqxSkinScrollBar::TqxSkinScrollBar(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    FControlStyle = {csCaptureMouse, csOpaque};
    SetSkinDataName(u"hscrollbar");
    SetBounds(Left(), Top(), 200, 19);
    SetDefaultHeight(19);
    SetTabStop(false);
}

TqxSkinScrollBar::~TqxSkinScrollBar() {
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

// Properties.

Integer TqxSkinScrollBar::Clamped(Integer AValue) const {
    // A page that does not fit ends the range at Min: the position never
    // goes below it, and an empty range (Max below Min) holds Min.
    const Integer upper = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
    return std::max(std::min(AValue, upper), FMin);
}

void TqxSkinScrollBar::SetKind(TScrollBarKind AValue) {
    if (AValue == FKind) return;
    FKind = AValue;
    Repaint();
}

void TqxSkinScrollBar::SetMin(Integer AValue) {
    FMin = AValue;
    if (FPosition < FMin) FPosition = FMin;
    Repaint();
}

void TqxSkinScrollBar::SetMax(Integer AValue) {
    FMax = AValue;
    if (FPageSize == 0) {
        if (FPosition > FMax) FPosition = FMax;
    } else {
        FPosition = std::max(std::min(FPosition, FMax - FPageSize + 1), FMin);
    }
    Repaint();
}

void TqxSkinScrollBar::SetPageSize(Integer AValue) {
    if (FMax - FMin + 1 >= AValue + FPosition) FPageSize = AValue;
    Repaint();
}

void TqxSkinScrollBar::SetPosition(Integer AValue) {
    const Integer value = Clamped(AValue);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
    if (OnChange) OnChange(this);
}

void TqxSkinScrollBar::SimplySetPosition(Integer AValue) {
    const Integer value = Clamped(AValue);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
}

void TqxSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize) {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = Clamped(APosition);
    Repaint();
}

void TqxSkinScrollBar::SetSmallChange(Integer AValue) {
    FSmallChange = AValue;
    Repaint();
}

void TqxSkinScrollBar::SetLargeChange(Integer AValue) {
    FLargeChange = AValue;
    Repaint();
}

void TqxSkinScrollBar::SetBoth(bool AValue) {
    if (AValue == FBoth) return;
    FBoth = AValue;
    if (AValue) {
        FOldSkinDataName = SkinDataName();
        SetSkinDataName(FBothSkinDataName);
    } else if (!FOldSkinDataName.empty()) {
        SetSkinDataName(FOldSkinDataName);
    }
    GetSkinData();
    if (FIndex == -1)
        Repaint();
    else
        ChangeSkinData();
}

void TqxSkinScrollBar::SetBothMarkerWidth(Integer AValue) {
    if (AValue < 0) return;
    FBothMarkerWidth = AValue;
    if (FIndex == -1) Repaint();
}

void TqxSkinScrollBar::SetCanFocused(bool AValue) {
    FCanFocused = AValue;
    SetTabStop(AValue);
}

// The element.

void TqxSkinScrollBar::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinScrollBarControl*>(SkinData()->CtrlList[FIndex]);
    if (!e) return;
    TrackArea = e->TrackArea;
    UpButtonRect = e->UpButtonRect;
    ActiveUpButtonRect = e->ActiveUpButtonRect;
    DownUpButtonRect = Fallback(e->DownUpButtonRect, ActiveUpButtonRect);
    DownButtonRect = e->DownButtonRect;
    ActiveDownButtonRect = e->ActiveDownButtonRect;
    DownDownButtonRect = Fallback(e->DownDownButtonRect, ActiveDownButtonRect);
    ThumbRect = e->ThumbRect;
    ActiveThumbRect = Fallback(e->ActiveThumbRect, ThumbRect);
    DownThumbRect = Fallback(e->DownThumbRect, ActiveThumbRect);
    ThumbOffset1 = e->ThumbOffset1;
    ThumbOffset2 = e->ThumbOffset2;
    ThumbTransparent = e->ThumbTransparent;
    ThumbTransparentColor = e->ThumbTransparentColor;
    GlyphRect = e->GlyphRect;
    ActiveGlyphRect = Fallback(e->ActiveGlyphRect, GlyphRect);
    DownGlyphRect = Fallback(e->DownGlyphRect, ActiveGlyphRect);
    GlyphTransparent = e->GlyphTransparent;
    GlyphTransparentColor = e->GlyphTransparentColor;
    ThumbStretchEffect = e->ThumbStretchEffect;
    ThumbMinSize = e->ThumbMinSize;
    ThumbMinPageSize = e->ThumbMinPageSize;
}

void TqxSkinScrollBar::CalcSize(Integer& W, Integer& H) {
    TqxSkinCustomControl::CalcSize(W, H);
    CalcRects();
}

// Geometry.

double TqxSkinScrollBar::PositionFraction() const {
    if (FMax <= FMin) return 0;
    return double(FPosition - FMin) / double(FMax - FMin);
}

double TqxSkinScrollBar::PageFraction() const {
    if (RangeEmpty()) return 0;
    const Integer divisor = FMax - FMin + 1 - FPageSize;
    if (divisor > 0) return double(FPosition - FMin) / double(divisor);
    return Vertical() ? 0 : 1;
}

void TqxSkinScrollBar::PlaceThumb(const TRect& ATrack, Integer ALength, double AFraction, Integer ACrossStart,
                                  Integer ACrossSize) {
    const Integer half = ALength / 2;
    Offset1 = Start(ATrack) + half;
    Offset2 = End(ATrack) - half;
    BOffset = RoundEven(AFraction * (Offset2 - Offset1));
    const Integer from = Start(ATrack) + BOffset;
    Buttons[ThumbButton].R = Vertical() ? Rect(ACrossStart, from, ACrossStart + ACrossSize, from + 2 * half)
                                        : Rect(from, ACrossStart, from + 2 * half, ACrossStart + ACrossSize);
}

void TqxSkinScrollBar::CalcDefaultRects() {
    const Integer w = Width() - (FBoth && !Vertical() ? FBothMarkerWidth : 0), h = Height();
    const Integer a = ArrowLength + 1;
    if (Vertical()) {
        Buttons[DownButton].R = Rect(1, 1, w - 1, a);
        Buttons[UpButton].R = Rect(1, h - a, w - 1, h - 1);
        NewTrackArea = Rect(1, a, w - 1, h - a);
    } else {
        Buttons[DownButton].R = Rect(1, 1, a, h - 1);
        Buttons[UpButton].R = Rect(w - a, 1, w - 1, h - 1);
        NewTrackArea = Rect(a, 1, w - a, h - 1);
    }
    const Integer length = End(NewTrackArea) - Start(NewTrackArea);
    Integer thumb = MinThumb;
    if (FPageSize > 0 && !RangeEmpty())
        thumb = std::max(MinThumb, RoundEven(double(length) * FPageSize / double(FMax - FMin + 1)));
    const Integer crossStart = Vertical() ? NewTrackArea.Left : NewTrackArea.Top;
    const Integer crossSize = Vertical() ? NewTrackArea.Width() : NewTrackArea.Height();
    PlaceThumb(NewTrackArea, thumb, FPageSize > 0 ? PageFraction() : PositionFraction(), crossStart,
               crossSize);
}

void TqxSkinScrollBar::CalcSkinRects() {
    const Integer dx = -SkinRect.Left, dy = -SkinRect.Top;
    const Integer dW = Width() - SkinRect.Width(), dH = Height() - SkinRect.Height();
    NewTrackArea = Moved(TrackArea, dx, dy);
    if (Vertical())
        NewTrackArea.Bottom += dH;
    else
        NewTrackArea.Right += dW;
    // A button beyond the element's anchor point moves with the far end.
    const auto place = [&](const TRect& ARect) {
        TRect r = Moved(ARect, dx, dy);
        if (Vertical() && r.Top > LBPt.Y) r = Moved(r, 0, dH);
        if (!Vertical() && r.Left > RTPt.X) r = Moved(r, dW, 0);
        return r;
    };
    Buttons[UpButton].R = place(UpButtonRect);
    Buttons[DownButton].R = place(DownButtonRect);
    const Integer thumbCross = Vertical() ? ThumbRect.Width() : ThumbRect.Height();
    const Integer thumbAlong = Vertical() ? ThumbRect.Height() : ThumbRect.Width();
    const Integer trackCross = Vertical() ? NewTrackArea.Width() : NewTrackArea.Height();
    const Integer crossStart =
        (Vertical() ? NewTrackArea.Left : NewTrackArea.Top) + trackCross / 2 - thumbCross / 2;
    const Integer length = End(NewTrackArea) - Start(NewTrackArea);
    Integer thumb;
    double fraction;
    if (FPageSize > 0) {
        const Integer least = ThumbMinSize != 0 ? ThumbMinSize : thumbAlong;
        thumb = RangeEmpty()
                    ? least
                    : std::max(least, RoundEven(double(length) * FPageSize / double(FMax - FMin + 1)));
        fraction = PageFraction();
    } else {
        thumb = ThumbMinPageSize != 0 ? ThumbMinPageSize : ThumbMinSize != 0 ? ThumbMinSize : thumbAlong;
        fraction = PositionFraction();
    }
    PlaceThumb(NewTrackArea, thumb, fraction, crossStart, thumbCross);
}

void TqxSkinScrollBar::CalcRects() {
    if (FIndex == -1)
        CalcDefaultRects();
    else
        CalcSkinRects();
}

// Drawing.

void TqxSkinScrollBar::DrawButton(TCanvas* ACanvas, Integer AIndex) {
    const TButtonState& b = Buttons[AIndex];
    if (FIndex == -1) {
        const bool pressed =
            (b.Down && b.MouseIn) || (AIndex == ThumbButton && (b.Down || (FCanFocused && Focused())));
        TColor frame = clBtnShadow, fill = clBtnFace;
        if (pressed) {
            frame = DefaultFrame;
            fill = DefaultDownFill;
        } else if (b.MouseIn) {
            frame = DefaultFrame;
            fill = DefaultHoverFill;
        }
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(fill);
        ACanvas->FillRect(b.R);
        DrawFrame3D(ACanvas, b.R, frame, frame);
        if (AIndex == UpButton) DrawArrow(ACanvas, b.R, clBlack, Vertical() ? 4 : 2);
        if (AIndex == DownButton) DrawArrow(ACanvas, b.R, clBlack, Vertical() ? 3 : 1);
        return;
    }
    if (!Picture) return;
    if (AIndex == ThumbButton) return DrawSkinThumb(ACanvas);
    const bool up = AIndex == UpButton;
    TRect source;
    if (b.Down && b.MouseIn)
        source = up ? DownUpButtonRect : DownDownButtonRect;
    else if (b.MouseIn)
        source = up ? ActiveUpButtonRect : ActiveDownButtonRect;
    if (!IsRectDegenerate(source)) ACanvas->CopyRect(b.R, Picture->Canvas(), source);
}

void TqxSkinScrollBar::DrawSkinThumb(TCanvas* ACanvas) {
    const TButtonState& b = Buttons[ThumbButton];
    const Integer w = b.R.Width(), h = b.R.Height();
    if (w <= 0 || h <= 0) return;
    const bool pressed = b.Down || (FCanFocused && Focused());
    const TRect source = pressed ? DownThumbRect : b.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect grip = pressed ? DownGlyphRect : b.MouseIn ? ActiveGlyphRect : GlyphRect;
    if (IsRectDegenerate(source)) return;
    TBitmap thumb;
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (Vertical())
            BuildVertThreePartImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, source, w, h,
                                    ThumbStretchEffect);
        else
            BuildHorzThreePartImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, source, w, h,
                                    ThumbStretchEffect);
    } else {
        thumb.SetSize(w, h);
        thumb.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), source);
    }
    const Integer gripAlong = Vertical() ? grip.Height() : grip.Width();
    if (!IsRectDegenerate(grip) && gripAlong < (Vertical() ? h : w)) {
        TBitmap g;
        g.SetSize(grip.Width(), grip.Height());
        g.Canvas()->CopyRect(Rect(0, 0, grip.Width(), grip.Height()), Picture->Canvas(), grip);
        if (GlyphTransparent) {
            g.SetTransparentColor(GlyphTransparentColor);
            g.SetTransparent(true);
        }
        thumb.Canvas()->Draw((thumb.Width() - grip.Width()) / 2, (thumb.Height() - grip.Height()) / 2, &g);
    }
    if (ThumbTransparent) {
        thumb.SetTransparentColor(ThumbTransparentColor);
        thumb.SetTransparent(true);
    }
    ACanvas->Draw(b.R.Left, b.R.Top, &thumb);
}

void TqxSkinScrollBar::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    DrawButton(canvas, UpButton);
    DrawButton(canvas, DownButton);
    if (Enabled()) DrawButton(canvas, ThumbButton);
}

void TqxSkinScrollBar::CreateControlSkinImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlSkinImage(B);
    CalcRects();
    TCanvas* canvas = B->Canvas();
    DrawButton(canvas, UpButton);
    DrawButton(canvas, DownButton);
    if (Enabled()) DrawButton(canvas, ThumbButton);
}

// Mouse.

bool TqxSkinScrollBar::BeforeThumb(Integer X, Integer Y) const {
    const TRect& t = Buttons[ThumbButton].R;
    return Vertical() ? Y < t.Top : X < t.Left;
}

bool TqxSkinScrollBar::AfterThumb(Integer X, Integer Y) const {
    const TRect& t = Buttons[ThumbButton].R;
    return Vertical() ? Y >= t.Bottom : X >= t.Right;
}

void TqxSkinScrollBar::StartTimer(UINT AInterval) {
    SetTimer(Handle(), RepeatTimer, AInterval, nullptr);
}

void TqxSkinScrollBar::StopTimer() {
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
    TimerMode = 0;
}

void TqxSkinScrollBar::UpStep() {
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(FPosition + FSmallChange);
}

void TqxSkinScrollBar::DownStep() {
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(FPosition - FSmallChange);
}

void TqxSkinScrollBar::PageUp() {
    SetPosition(FPosition - FLargeChange);
    if (OnPageUp) OnPageUp(this);
}

void TqxSkinScrollBar::PageDown() {
    SetPosition(FPosition + FLargeChange);
    if (OnPageDown) OnPageDown(this);
}

void TqxSkinScrollBar::TestActive(Integer X, Integer Y) {
    Integer active = -1;
    for (Integer i = 0; i < 3; ++i)
        if (Contains(Buttons[i].R, X, Y)) {
            active = i;
            break;
        }
    if (CaptureButton != -1 && active != CaptureButton) active = -1;
    if (active == ActiveButton) return;
    const Integer old = ActiveButton;
    ActiveButton = active;
    // A held arrow button pauses its repeat while the mouse is off it.
    if (old != -1) {
        Buttons[old].MouseIn = false;
        if (old == CaptureButton && old != ThumbButton && Buttons[old].Down) StopTimer();
    }
    if (active != -1) {
        Buttons[active].MouseIn = true;
        if (active == CaptureButton && active != ThumbButton && Buttons[active].Down) {
            TimerMode = active == UpButton ? 2 : 1;
            WaitMode = false;
            StartTimer(RepeatInterval);
        }
    }
    Repaint();
}

void TqxSkinScrollBar::PressButton(Integer AIndex, Integer X, Integer Y) {
    Buttons[AIndex].Down = true;
    Repaint();
    switch (AIndex) {
        case UpButton:
            UpStep();
            TimerMode = 2;
            StartTimer(RepeatDelay);
            break;
        case DownButton:
            DownStep();
            TimerMode = 1;
            StartTimer(RepeatDelay);
            break;
        default:
            OMPos = Along(X, Y);
            OldBOffset = BOffset;
            FDown = true;
            Repaint();
            break;
    }
}

void TqxSkinScrollBar::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    MouseD = true;
    MX = X;
    MY = Y;
    GetSkinData();
    CalcRects();
    TimerMode = 0;
    WaitMode = true;
    TestActive(X, Y);
    for (Integer i = 0; i < 3; ++i)
        if (Contains(Buttons[i].R, X, Y)) {
            CaptureButton = i;
            PressButton(i, X, Y);
            return;
        }
    if (!Contains(NewTrackArea, X, Y)) return;
    if (BeforeThumb(X, Y)) {
        PageUp();
        TimerMode = 3;
    } else {
        PageDown();
        TimerMode = 4;
    }
    StartTimer(RepeatDelay);
}

Integer TqxSkinScrollBar::CalcPosition(Integer ADelta) {
    Integer first = Offset1, last = Offset2;
    if (FPageSize > 0) {
        const TRect& t = Buttons[ThumbButton].R;
        const Integer length = End(t) - Start(t);
        first = Start(NewTrackArea) + length / 2;
        last = End(NewTrackArea) - length / 2;
    }
    const Integer span = last - first;
    const double r = span > 0 ? std::clamp(double(ADelta + OldBOffset) / double(span), 0.0, 1.0) : 0.0;
    if (FPageSize > 0) return FMin + RoundEven((FMax - FMin - FPageSize + 1) * r);
    return FMin + RoundEven((FMax - FMin) * r);
}

void TqxSkinScrollBar::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    MX = X;
    MY = Y;
    TestActive(X, Y);
    if (FDown) SetPosition(CalcPosition(Along(X, Y) - OMPos));
}

void TqxSkinScrollBar::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton == mbLeft) {
        MouseD = false;
        if (TimerMode == 3 || TimerMode == 4) StopTimer();
        const Integer captured = CaptureButton;
        if (captured != -1) {
            TButtonState& b = Buttons[captured];
            b.Down = false;
            b.MouseIn = ActiveButton == captured;
            if (captured == ThumbButton)
                FDown = false;
            else
                StopTimer();
            CaptureButton = -1;
            Repaint();
            if (captured == ThumbButton && OnLastChange) OnLastChange(this);
        }
    }
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
}

void TqxSkinScrollBar::TimerTick() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(RepeatInterval);
        return;
    }
    switch (TimerMode) {
        case 1:
            DownStep();
            break;
        case 2:
            UpStep();
            break;
        case 3:
        case 4:
            TestActive(MX, MY);
            CalcRects();
            // Page steps end when the thumb reaches the mouse.
            if (TimerMode == 3 && BeforeThumb(MX, MY))
                PageUp();
            else if (TimerMode == 4 && AfterThumb(MX, MY))
                PageDown();
            else
                StopTimer();
            break;
        default:
            StopTimer();
            break;
    }
}

// Keys, wheel, focus.

void TqxSkinScrollBar::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinCustomControl::KeyDown(AKey, AShift);
    if (!FCanFocused) return;
    if (AKey == VK_LEFT || AKey == VK_UP) SetPosition(FPosition - FSmallChange);
    if (AKey == VK_RIGHT || AKey == VK_DOWN) SetPosition(FPosition + FSmallChange);
}

void TqxSkinScrollBar::WndProc(TMessage& AMessage) {
    if (FCanFocused && DroppedWhileTakingFocus(this, AMessage, FClicksDisabled)) return;
    TqxSkinCustomControl::WndProc(AMessage);
}

void TqxSkinScrollBar::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            return PaintIntoEraseDC(AMessage);
        case WM_MOUSEWHEEL:
            if (FCanFocused && Focused()) {
                SetPosition(GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0 ? FPosition - FSmallChange
                                                                        : FPosition + FSmallChange);
                AMessage.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case WM_TIMER:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (AMessage.WParam == RepeatTimer) TimerTick();
            return;
        case CM_ENABLEDCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case CM_WANTSPECIALKEY:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (FCanFocused && AMessage.WParam >= VK_LEFT && AMessage.WParam <= VK_DOWN) AMessage.Result = 1;
            return;
        case CM_MOUSELEAVE:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (ComponentState().Contains(csDesigning)) return;
            if (CaptureButton == -1 && !FDown && ActiveButton != -1) {
                Buttons[ActiveButton].MouseIn = false;
                ActiveButton = -1;
                Repaint();
            }
            // A page-up repeat goes on until it reaches the mouse.
            if (MouseD && TimerMode == 4) StopTimer();
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxSkinScrollBar, TqxSkinCustomControl>()
        .Property(u"Kind", &TqxSkinScrollBar::Kind, &TqxSkinScrollBar::SetKind)
        .Property(u"Min", &TqxSkinScrollBar::Min, &TqxSkinScrollBar::SetMin)
        .Property(u"Max", &TqxSkinScrollBar::Max, &TqxSkinScrollBar::SetMax)
        .Property(u"PageSize", &TqxSkinScrollBar::PageSize, &TqxSkinScrollBar::SetPageSize)
        .Property(u"Position", &TqxSkinScrollBar::Position, &TqxSkinScrollBar::SetPosition)
        .Property(u"SmallChange", &TqxSkinScrollBar::SmallChange, &TqxSkinScrollBar::SetSmallChange)
        .Property(u"LargeChange", &TqxSkinScrollBar::LargeChange, &TqxSkinScrollBar::SetLargeChange)
        .Property(u"Both", &TqxSkinScrollBar::Both, &TqxSkinScrollBar::SetBoth)
        .Property(u"BothMarkerWidth", &TqxSkinScrollBar::BothMarkerWidth,
                  &TqxSkinScrollBar::SetBothMarkerWidth)
        .Property(u"BothSkinDataName", &TqxSkinScrollBar::BothSkinDataName,
                  &TqxSkinScrollBar::SetBothSkinDataName)
        .Property(u"CanFocused", &TqxSkinScrollBar::CanFocused, &TqxSkinScrollBar::SetCanFocused)
        .Event(u"OnChange", &TqxSkinScrollBar::OnChange)
        .Event(u"OnLastChange", &TqxSkinScrollBar::OnLastChange)
        .Event(u"OnUpButtonClick", &TqxSkinScrollBar::OnUpButtonClick)
        .Event(u"OnDownButtonClick", &TqxSkinScrollBar::OnDownButtonClick)
        .Event(u"OnPageUp", &TqxSkinScrollBar::OnPageUp)
        .Event(u"OnPageDown", &TqxSkinScrollBar::OnPageDown);
    return true;
}();

}  // namespace

void AttachExternalScrollBar(TComponent* AOwner, TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue,
                             TNotifyEvent AOnChange) {
    SetReference(AOwner, AField, AValue);
    if (!AValue) return;
    AValue->SetEnabled(true);
    AValue->SetVisible(false);
    AValue->OnChange = std::move(AOnChange);
}
