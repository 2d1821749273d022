#include "platform/toolkit/scrollbars.h"

#include <algorithm>

#include "platform/gdi/draw.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/timers.h"

using namespace win;

namespace {

constexpr ULONG_PTR RepeatTimer = 0x5C01;
// A held button steps once, waits, then steps quickly.
constexpr UINT FirstDelay = 350;
constexpr UINT RepeatDelay = 50;
constexpr Integer ThumbWidth = 11;
constexpr Integer ThumbLength = 20;

bool Holds(const TRect& ARect, TPoint APoint) {
    return APoint.X >= ARect.Left && APoint.Y >= ARect.Top && APoint.X < ARect.Right &&
           APoint.Y < ARect.Bottom;
}

// The pointer in a control's client coordinates.
TPoint CursorIn(TControl* AControl) {
    POINT p{};
    GetCursorPos(&p);
    return AControl->ScreenToClient({p.x, p.y});
}

// Scales AValue of 0..AFrom to 0..ATo, rounding to the nearest.
Integer Scale(Integer AValue, Integer AFrom, Integer ATo) {
    if (AFrom <= 0) return 0;
    return Integer((Int64(AValue) * ATo * 2 + AFrom) / (Int64(AFrom) * 2));
}

}  // namespace

TSteppingControl::TSteppingControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = {csOpaque};
    SetTabStop(true);
}

void TSteppingControl::StartRepeat(UINT ARepeat) {
    FRepeat = ARepeat;
    SetTimer(Handle(), RepeatTimer, FirstDelay, nullptr);
}

void TSteppingControl::StopRepeat() {
    if (HandleAllocated()) KillTimer(Handle(), RepeatTimer);
}

void TSteppingControl::EndPress() {
    StopRepeat();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    Invalidate();
}

void TSteppingControl::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == CM_ENABLEDCHANGED) {
        CancelAction();
        StopRepeat();
    }
    TCustomControl::Dispatch(AMessage);
}

void TSteppingControl::DefaultHandler(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS;
            return;
        case WM_KEYDOWN:
            return KeyAction(Word(AMessage.WParam));
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return MouseAction(AMessage);
        case WM_TIMER:
            if (AMessage.WParam != RepeatTimer) break;
            SetTimer(Handle(), RepeatTimer, FRepeat, nullptr);
            return RepeatAction();
        case WM_CANCELMODE:
            CancelAction();
            StopRepeat();
            Invalidate();
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::DefaultHandler(AMessage);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TSteppingControl(AOwner) {
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind AValue) {
    if (AValue == FKind) return;
    FKind = AValue;
    // A bar turned on its side keeps its shape.
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

Integer TScrollBar::MaxPosition() const {
    return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
    if (ComponentState().Contains(csLoading)) {
        FPosition = APosition;
        FMin = AMin;
        FMax = AMax;
        return;
    }
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    const Integer position = std::clamp(APosition, FMin, MaxPosition());
    const bool changed = position != FPosition;
    FPosition = position;
    Invalidate();
    if (changed) Change();
}

void TScrollBar::SetPageSize(Integer AValue) {
    FPageSize = std::max(0, AValue);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Loaded() {
    TSteppingControl::Loaded();
    FMax = std::max(FMin, FMax);
    FPosition = std::clamp(FPosition, FMin, MaxPosition());
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode AScrollCode, Integer& AScrollPos) {
    if (OnScroll) OnScroll(this, AScrollCode, AScrollPos);
}

Integer TScrollBar::Length() {
    return FKind == sbHorizontal ? ClientWidth() : ClientHeight();
}

Integer TScrollBar::ArrowSize() {
    const Integer thickness = FKind == sbHorizontal ? ClientHeight() : ClientWidth();
    return std::max(0, std::min(thickness, Length() / 2));
}

void TScrollBar::ThumbSpan(Integer& AStart, Integer& ASize) {
    const Integer arrow = ArrowSize(), track = Length() - 2 * arrow;
    const Integer range = FMax - FMin;
    AStart = arrow;
    ASize = 0;
    if (track <= 0 || range <= 0 || !Enabled()) return;
    const Integer thickness = FKind == sbHorizontal ? ClientHeight() : ClientWidth();
    ASize = FPageSize > 0 ? std::max(8, Integer(Int64(track) * FPageSize / (range + 1))) : thickness;
    ASize = std::min(ASize, track);
    AStart = arrow + Scale(FPosition - FMin, MaxPosition() - FMin, track - ASize);
}

TRect TScrollBar::PartRect(TPart APart) {
    const Integer length = Length(), arrow = ArrowSize();
    Integer thumb, size;
    ThumbSpan(thumb, size);
    Integer from = 0, to = 0;
    switch (APart) {
        case spLineUp:
            to = arrow;
            break;
        case spPageUp:
            from = arrow;
            to = size > 0 ? thumb : length - arrow;
            break;
        case spThumb:
            from = thumb;
            to = thumb + size;
            break;
        case spPageDown:
            from = size > 0 ? thumb + size : length - arrow;
            to = length - arrow;
            break;
        case spLineDown:
            from = length - arrow;
            to = length;
            break;
        case spNone:
            break;
    }
    const TRect client = ClientRect();
    return FKind == sbHorizontal ? Rect(from, client.Top, to, client.Bottom)
                                 : Rect(client.Left, from, client.Right, to);
}

TScrollBar::TPart TScrollBar::PartAt(TPoint APoint) {
    for (TPart part : {spLineUp, spThumb, spLineDown, spPageUp, spPageDown})
        if (Holds(PartRect(part), APoint)) return part;
    return spNone;
}

void TScrollBar::DoScroll(TScrollCode ACode) {
    Integer position = FPosition;
    switch (ACode) {
        case scLineUp:
            position -= FSmallChange;
            break;
        case scLineDown:
            position += FSmallChange;
            break;
        case scPageUp:
            position -= FLargeChange;
            break;
        case scPageDown:
            position += FLargeChange;
            break;
        case scTop:
            position = FMin;
            break;
        case scBottom:
            position = MaxPosition();
            break;
        default:
            break;
    }
    Scroll(ACode, position);
    SetPosition(position);
}

void TScrollBar::RepeatAction() {
    // Pages stop once the thumb reaches the pointer.
    if (PartAt(CursorIn(this)) != FPressed) return;
    static constexpr TScrollCode codes[] = {scEndScroll, scLineUp,   scPageUp,
                                            scEndScroll, scPageDown, scLineDown};
    DoScroll(codes[FPressed]);
}

void TScrollBar::MouseAction(TMessage& AMessage) {
    const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    const Integer along = FKind == sbHorizontal ? p.X : p.Y;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (CanFocus() && !Focused()) SetFocus();
            FPressed = PartAt(p);
            if (FPressed == spNone) return;
            SetCapture(Handle());
            if (FPressed == spThumb) {
                Integer thumb, size;
                ThumbSpan(thumb, size);
                FDragOffset = along - thumb;
            } else {
                RepeatAction();
                StartRepeat(RepeatDelay);
            }
            Invalidate();
            return;
        }
        case WM_MOUSEMOVE: {
            if (FPressed != spThumb || GetCapture() != Handle()) return;
            Integer thumb, size;
            ThumbSpan(thumb, size);
            const Integer span = Length() - 2 * ArrowSize() - size;
            Integer position =
                FMin + Scale(std::clamp(along - FDragOffset - ArrowSize(), 0, std::max(0, span)), span,
                             MaxPosition() - FMin);
            Scroll(scTrack, position);
            SetPosition(position);
            return;
        }
        case WM_LBUTTONUP: {
            if (FPressed == spNone) return;
            Integer position = FPosition;
            if (FPressed == spThumb) Scroll(scPosition, position);
            SetPosition(position);
            Scroll(scEndScroll, position);
            FPressed = spNone;
            EndPress();
            return;
        }
        default:
            return;
    }
}

void TScrollBar::CancelAction() {
    FPressed = spNone;
}

void TScrollBar::KeyAction(Word AKey) {
    TScrollCode code;
    switch (AKey) {
        case VK_LEFT:
        case VK_UP:
            code = scLineUp;
            break;
        case VK_RIGHT:
        case VK_DOWN:
            code = scLineDown;
            break;
        case VK_PRIOR:
            code = scPageUp;
            break;
        case VK_NEXT:
            code = scPageDown;
            break;
        case VK_HOME:
            code = scTop;
            break;
        case VK_END:
            code = scBottom;
            break;
        default:
            return;
    }
    DoScroll(code);
    Integer position = FPosition;
    Scroll(scEndScroll, position);
}

void TScrollBar::Paint() {
    TCanvas* canvas = Canvas();
    const TRect trackUp = PartRect(spPageUp), trackDown = PartRect(spPageDown);
    canvas->Brush()->SetColor(FPressed == spPageUp ? cl3DDkShadow : clScrollBar);
    canvas->FillRect(trackUp);
    canvas->Brush()->SetColor(FPressed == spPageDown ? cl3DDkShadow : clScrollBar);
    canvas->FillRect(trackDown);
    const bool horizontal = FKind == sbHorizontal;
    const TColor arrow = Enabled() && FMax > FMin ? clBtnText : clGrayText;
    for (TPart part : {spLineUp, spLineDown}) {
        const TRect r = PartRect(part);
        DrawButtonFace(canvas, r, FPressed == part);
        const TArrowDirection direction =
            part == spLineUp ? (horizontal ? adLeft : adUp) : (horizontal ? adRight : adDown);
        DrawArrow(canvas, r, direction, arrow);
    }
    const TRect thumb = PartRect(spThumb);
    if (thumb.Width() <= 0 || thumb.Height() <= 0) return;
    DrawButtonFace(canvas, thumb, false);
    if (HandleAllocated() && Focused()) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->DrawFocusRect(Rect(thumb.Left + 3, thumb.Top + 3, thumb.Right - 3, thumb.Bottom - 3));
    }
}

TTrackBar::TTrackBar(TComponent* AOwner) : TSteppingControl(AOwner) {
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetOrientation(TTrackBarOrientation AValue) {
    if (AValue == FOrientation) return;
    FOrientation = AValue;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TTrackBar::SetRange(Integer AMin, Integer AMax) {
    FMin = AMin;
    FMax = AMax;
    if (ComponentState().Contains(csLoading)) return;
    FMax = std::max(FMin, FMax);
    SetPosition(FPosition);
    Invalidate();
}

void TTrackBar::SetPosition(Integer AValue) {
    if (ComponentState().Contains(csLoading)) {
        FPosition = AValue;
        return;
    }
    AValue = std::clamp(AValue, FMin, FMax);
    if (AValue == FPosition) return;
    FPosition = AValue;
    Invalidate();
    Changed();
}

void TTrackBar::SetFrequency(Integer AValue) {
    FFrequency = std::max(1, AValue);
    Invalidate();
}

void TTrackBar::SetTickMarks(TTickMark AValue) {
    FTickMarks = AValue;
    Invalidate();
}

void TTrackBar::SetTickStyle(TTickStyle AValue) {
    FTickStyle = AValue;
    Invalidate();
}

void TTrackBar::Loaded() {
    TSteppingControl::Loaded();
    FMax = std::max(FMin, FMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::Move(Integer APosition) {
    SetPosition(APosition);
}

void TTrackBar::Travel(Integer& AStart, Integer& AEnd) {
    const Integer length = Horizontal() ? ClientWidth() : ClientHeight();
    AStart = 4 + ThumbWidth / 2;
    AEnd = std::max(AStart, length - 5 - ThumbWidth / 2);
}

Integer TTrackBar::PositionToPixel(Integer APosition) {
    Integer start, end;
    Travel(start, end);
    return start + Scale(APosition - FMin, FMax - FMin, end - start);
}

Integer TTrackBar::PixelToPosition(Integer APixel) {
    Integer start, end;
    Travel(start, end);
    return std::clamp(FMin + Scale(std::clamp(APixel - start, 0, end - start), end - start, FMax - FMin),
                      FMin, FMax);
}

TRect TTrackBar::ThumbRect() {
    // The ticks take the side the thumb leaves free.
    const Integer across = FTickMarks == tmBottomRight ? 4 : 8;
    const Integer along = PositionToPixel(FPosition) - ThumbWidth / 2;
    return Horizontal() ? Bounds(along, across, ThumbWidth, ThumbLength)
                        : Bounds(across, along, ThumbLength, ThumbWidth);
}

void TTrackBar::RepeatAction() {
    if (!FPaging || FPosition == FPageTarget) return;
    Move(FPosition < FPageTarget ? std::min(FPosition + FPageSize, FPageTarget)
                                 : std::max(FPosition - FPageSize, FPageTarget));
}

void TTrackBar::MouseAction(TMessage& AMessage) {
    const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    const Integer along = Horizontal() ? p.X : p.Y;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (CanFocus() && !Focused()) SetFocus();
            SetCapture(Handle());
            if (Holds(ThumbRect(), p)) {
                FDragging = true;
                FDragOffset = along - PositionToPixel(FPosition);
                Invalidate();
                return;
            }
            FPaging = true;
            FPageTarget = PixelToPosition(along);
            RepeatAction();
            StartRepeat(RepeatDelay * 2);
            return;
        case WM_MOUSEMOVE:
            if (FDragging && GetCapture() == Handle()) Move(PixelToPosition(along - FDragOffset));
            return;
        case WM_LBUTTONUP:
            FDragging = FPaging = false;
            EndPress();
            return;
        default:
            return;
    }
}

void TTrackBar::CancelAction() {
    FDragging = FPaging = false;
}

void TTrackBar::KeyAction(Word AKey) {
    switch (AKey) {
        case VK_LEFT:
        case VK_UP:
            return Move(FPosition - FLineSize);
        case VK_RIGHT:
        case VK_DOWN:
            return Move(FPosition + FLineSize);
        case VK_PRIOR:
            return Move(FPosition - FPageSize);
        case VK_NEXT:
            return Move(FPosition + FPageSize);
        case VK_HOME:
            return Move(FMin);
        case VK_END:
            return Move(FMax);
        default:
            return;
    }
}

void TTrackBar::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    const TRect thumb = ThumbRect();
    Integer start, end;
    Travel(start, end);
    // The channel runs through the middle of the thumb's path.
    const Integer middle = Horizontal() ? thumb.Top + thumb.Height() / 2 : thumb.Left + thumb.Width() / 2;
    RECT channel = ToRECT(Horizontal() ? Rect(start - 2, middle - 2, end + 3, middle + 2)
                                       : Rect(middle - 2, start - 2, middle + 2, end + 3));
    DrawEdge(canvas->Handle(), &channel, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    if (FTickStyle == tsAuto) {
        canvas->Pen()->SetColor(clBtnText);
        const auto tick = [&](Integer AAlong, Integer AAcross) {
            if (Horizontal()) {
                canvas->MoveTo(AAlong, AAcross);
                canvas->LineTo(AAlong, AAcross + 3);
            } else {
                canvas->MoveTo(AAcross, AAlong);
                canvas->LineTo(AAcross + 3, AAlong);
            }
        };
        const Integer low = Horizontal() ? thumb.Bottom + 2 : thumb.Right + 2;
        const Integer high = Horizontal() ? thumb.Top - 5 : thumb.Left - 5;
        for (Int64 value = FMin; value <= FMax; value += FFrequency) {
            const Integer at = PositionToPixel(Integer(value));
            if (FTickMarks != tmTopLeft) tick(at, low);
            if (FTickMarks != tmBottomRight) tick(at, high);
        }
    }
    DrawButtonFace(canvas, thumb, FDragging);
    if (HandleAllocated() && Focused()) {
        canvas->Brush()->SetColor(Color());
        canvas->DrawFocusRect(client);
    }
}

namespace {

const auto Registered = [] {
    RegisterEnum<TScrollBarKind>({u"sbHorizontal", u"sbVertical"});
    RegisterEnum<TTrackBarOrientation>({u"trHorizontal", u"trVertical"});
    RegisterEnum<TTickMark>({u"tmBottomRight", u"tmTopLeft", u"tmBoth"});
    RegisterEnum<TTickStyle>({u"tsNone", u"tsAuto"});
    RegisterClass<TSteppingControl, TCustomControl>();
    RegisterClass<TScrollBar, TSteppingControl>()
        .Property(u"Kind", &TScrollBar::Kind, &TScrollBar::SetKind)
        .Property(u"Min", &TScrollBar::Min, &TScrollBar::SetMin)
        .Property(u"Max", &TScrollBar::Max, &TScrollBar::SetMax)
        .Property(u"Position", &TScrollBar::Position, &TScrollBar::SetPosition)
        .Property(u"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
        .Property(u"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
        .Property(u"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
        .Event(u"OnChange", &TScrollBar::OnChange)
        .Event(u"OnScroll", &TScrollBar::OnScroll);
    RegisterClass<TTrackBar, TSteppingControl>()
        .Property(u"Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation)
        .Property(u"Min", &TTrackBar::Min, &TTrackBar::SetMin)
        .Property(u"Max", &TTrackBar::Max, &TTrackBar::SetMax)
        .Property(u"Position", &TTrackBar::Position, &TTrackBar::SetPosition)
        .Property(u"Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
        .Property(u"LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize)
        .Property(u"PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize)
        .Property(u"TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks)
        .Property(u"TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle)
        .Event(u"OnChange", &TTrackBar::OnChange);
    return true;
}();

}  // namespace
