#include "skin/controls/qxskinslider.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/resources.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxutils.h"

using namespace win;

const char16_t* const SliderImageNames[4] = {u"QX_HTB", u"QX_HRL", u"QX_VTB", u"QX_VRL"};

namespace {

constexpr ULONG_PTR RepeatTimer = 1;
constexpr UINT RepeatInterval = 400;

// The built-in images: shapes on magenta, the bottom-left pixel, which
// their drawing leaves out.
constexpr TColor Key = TColor(0xFF00FF);
constexpr TColor Frame = TColor(0x606060);
constexpr TColor Face = TColor(0xE8E8E8);
constexpr TColor PressedFace = TColor(0xE4BCA2);
constexpr TColor PressedFrame = TColor(0xB76B3B);

void Paint(TBitmap* ABitmap, Integer AWidth, Integer AHeight,
           const std::function<TColor(Integer, Integer)>& AColor) {
    ABitmap->SetPixelFormat(pf24bit);
    ABitmap->SetSize(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x)
            ABitmap->Canvas()->SetPixels(x, y, AColor(x, y));
}

// A thumb cell ALength along, ACross across, its tip pointing down (or
// right): a framed body with a point; AX, AY are along and across.
TColor ThumbPixel(Integer AAlong, Integer AAcross, Integer ALength, Integer ACross, bool APressed) {
    const Integer tip = ACross - 4;
    const Integer half = ALength / 2;
    if (AAcross >= tip) {
        const Integer reach = half - (AAcross - tip);
        if (std::abs(AAlong - half) > reach) return Key;
        return std::abs(AAlong - half) == reach ? (APressed ? PressedFrame : Frame)
                                                : (APressed ? PressedFace : Face);
    }
    // Round the two corners at the flat end.
    if (AAcross == 0 && (AAlong == 0 || AAlong == ALength - 1)) return Key;
    const bool edge = AAlong == 0 || AAlong == ALength - 1 || AAcross == 0;
    return edge ? (APressed ? PressedFrame : Frame) : (APressed ? PressedFace : Face);
}

TColor GroovePixel(Integer AAcross) {
    switch (AAcross) {
        case 2:
            return clBtnShadow;
        case 3:
            return clBtnText;
        case 4:
            return clBtnHighlight;
        default:
            return Key;
    }
}

const auto BuiltInImages = [] {
    RegisterBitmapResource(u"QX_HTB", [](TBitmap* B) {
        Paint(B, 10, 15, [](Integer X, Integer Y) { return ThumbPixel(X % 5, Y, 5, 15, X >= 5); });
    });
    RegisterBitmapResource(u"QX_HRL", [](TBitmap* B) {
        Paint(B, 10, 7, [](Integer, Integer Y) { return ColorToRGB(GroovePixel(Y)); });
    });
    RegisterBitmapResource(u"QX_VTB", [](TBitmap* B) {
        Paint(B, 31, 7,
              [](Integer X, Integer Y) { return X >= 30 ? Key : ThumbPixel(Y, X % 15, 7, 15, X >= 15); });
    });
    RegisterBitmapResource(u"QX_VRL", [](TBitmap* B) {
        Paint(B, 7, 10, [](Integer X, Integer) { return ColorToRGB(GroovePixel(X)); });
    });
    return true;
}();

}  // namespace

TqxSkinCustomSlider::TqxSkinCustomSlider(TComponent* AOwner)
    : TqxSkinControl(AOwner), FRuler(std::make_unique<TBitmap>()) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetBounds(Left(), Top(), 150, 40);
    SetTabStop(true);
    FCreating = true;
    for (Integer i = 0; i < 4; ++i) {
        FImages[i] = std::make_unique<TBitmap>();
        FImages[i]->OnChange = [this](TObject*) { ImageChanged(); };
        FImages[i]->LoadFromResourceName(SliderImageNames[i]);
    }
    FCreating = false;
    SetSkinDataName(u"slider");
    CalcLayout();
}

TqxSkinCustomSlider::~TqxSkinCustomSlider() {
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
    for (auto& image : FImages)
        image->OnChange = nullptr;
}

void TqxSkinCustomSlider::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FThumbImageList) FThumbImageList = nullptr;
}

// Properties.

void TqxSkinCustomSlider::SetTransparent(bool AValue) {
    FTransparent = AValue;
    Invalidate();
}

void TqxSkinCustomSlider::SetImage(TqxSliderImage AIndex, TBitmap* AValue) {
    TBitmap* image = FImages[AIndex].get();
    if (AValue) {
        FUserImages.Include(AIndex);
        image->Assign(AValue);
        return;
    }
    FUserImages.Exclude(AIndex);
    image->LoadFromResourceName(SliderImageNames[AIndex]);
    if (ComponentState().Contains(csLoading)) return;
    FOptions.Exclude(AIndex == siHThumb || AIndex == siVThumb ? soThumbOpaque : soRulerOpaque);
    Invalidate();
}

void TqxSkinCustomSlider::ImageChanged() {
    if (!FCreating) CalcLayout();
}

void TqxSkinCustomSlider::SetEdgeSize(Integer AValue) {
    const TBitmap* ruler = FImages[Vertical() ? siVRuler : siHRuler].get();
    const Integer length = Vertical() ? ruler->Height() : ruler->Width();
    if (AValue < 0 || 2 * AValue >= length || AValue == FEdgeSize) return;
    FEdgeSize = AValue;
    CalcLayout();
}

void TqxSkinCustomSlider::SetNumThumbStates(TqxNumThumbStates AValue) {
    if (AValue == FNumThumbStates || AValue < 1 || AValue > 2) return;
    FNumThumbStates = AValue;
    CalcLayout();
}

void TqxSkinCustomSlider::SetOrientation(TqxSliderOrientation AValue) {
    if (AValue == FOrientation) return;
    FOrientation = AValue;
    CalcLayout();
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
}

void TqxSkinCustomSlider::SetOptions(TqxSliderOptions AValue) {
    if (AValue == FOptions) return;
    FOptions = AValue;
    Invalidate();
}

void TqxSkinCustomSlider::SetMinValue(Integer AValue) {
    if (AValue != FMinValue) SetRange(AValue, FMaxValue);
}

void TqxSkinCustomSlider::SetMaxValue(Integer AValue) {
    if (AValue != FMaxValue) SetRange(FMinValue, AValue);
}

void TqxSkinCustomSlider::SetIncrement(Integer AValue) {
    if (AValue <= 0 || AValue == FIncrement) return;
    FIncrement = AValue;
    SetValue(FValue);
    Invalidate();
}

void TqxSkinCustomSlider::SetRange(Integer AMin, Integer AMax) {
    const bool reading = ComponentState().Contains(csLoading);
    if (AMin >= AMax && !reading) return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!reading && Int64(AMax) < Int64(AMin) + FIncrement) FIncrement = AMax - AMin;
    if (FOptions.Contains(soShowPoints)) Invalidate();
    SetValue(FValue);
    RangeChanged();
}

void TqxSkinCustomSlider::SetValue(Integer AValue) {
    const Integer old = FValue;
    AValue = std::max(std::min(AValue, FMaxValue), FMinValue);
    FValue = AValue;
    MoveThumb(ValueToPosition(AValue));
    if (AValue != old) Change();
}

void TqxSkinCustomSlider::Change() {
    if (OnChange) OnChange(this);
}

void TqxSkinCustomSlider::Changed() {
    if (OnChanged) OnChanged(this);
}

// The skin.

void TqxSkinCustomSlider::GetSkinData() {
    TqxSkinControl::GetSkinData();
    const auto* e =
        FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinSlider*>(SkinData()->CtrlList[FIndex]);
    if (!e) return;
    Picture = SkinData()->GetActivePicture(e->PictureIndex);
    HRulerRect = e->HRulerRect;
    HThumbRect = e->HThumbRect;
    VRulerRect = e->VRulerRect;
    VThumbRect = e->VThumbRect;
    SkinEdgeSize = e->EdgeSize;
    BGColor = e->BGColor;
    PointsColor = e->PointsColor;
}

void TqxSkinCustomSlider::ChangeSkinData() {
    CalcLayout();
}

// Geometry.

TSize TqxSkinCustomSlider::ThumbCell() {
    if (SkinThumb()) {
        const TRect& r = Vertical() ? VThumbRect : HThumbRect;
        return TSize{r.Width() / 2, r.Height()};
    }
    if (FThumbImageList) return TSize{FThumbImageList->Width(), FThumbImageList->Height()};
    const TBitmap* image = FImages[Vertical() ? siVThumb : siHThumb].get();
    return TSize{image->Width() / FNumThumbStates, image->Height()};
}

Integer TqxSkinCustomSlider::Origin() {
    const TRect r = GetSliderRect();
    return (Vertical() ? r.Top : r.Left) + 6;
}

Integer TqxSkinCustomSlider::Travel() {
    const TSize cell = ThumbCell();
    return Vertical() ? FRuler->Height() - cell.cy : FRuler->Width() - cell.cx;
}

void TqxSkinCustomSlider::TileRuler(TBitmap* AImage, Integer ALength) {
    const bool vertical = Vertical();
    const Integer s = vertical ? AImage->Height() : AImage->Width();
    const Integer cross = vertical ? AImage->Width() : AImage->Height();
    const Integer e = FEdgeSize, t = s - 2 * e;
    if (vertical)
        FRuler->SetSize(cross, ALength);
    else
        FRuler->SetSize(ALength, cross);
    if (ALength <= 0 || s <= 0) return;
    // Copies image [AFrom, ATo) to ruler [AAt, ...) along the ruler.
    const auto copy = [&](Integer AFrom, Integer ATo, Integer AAt) {
        if (ATo <= AFrom) return;
        const Integer n = ATo - AFrom;
        const TRect source = vertical ? Rect(0, AFrom, cross, ATo) : Rect(AFrom, 0, ATo, cross);
        const TRect target = vertical ? Rect(0, AAt, cross, AAt + n) : Rect(AAt, 0, AAt + n, cross);
        FRuler->Canvas()->CopyRect(target, AImage->Canvas(), source);
    };
    const Integer m = ALength - 2 * e;
    if (t <= 0 || m < 0) {
        // Too short to tile: the start, and the far edge ending the ruler.
        copy(0, std::min(s, ALength), 0);
        copy(std::max(0, s - std::min(e, ALength)), s, ALength - std::min(e, ALength));
        return;
    }
    const Integer n = m / t, rest = m % t;
    copy(0, s - e, 0);
    for (Integer i = 1; i < n; ++i)
        copy(e, e + t, e + i * t);
    copy(e + t - rest, s, e + n * t);
}

void TqxSkinCustomSlider::BuildRuler() {
    const TRect r = GetSliderRect();
    const Integer length = std::max(0, (Vertical() ? r.Height() : r.Width()) - 12);
    if (FIndex != -1 && Picture) {
        if (Vertical())
            BuildVertThreePartImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, VRulerRect,
                                    VRulerRect.Width(), length, false);
        else
            BuildHorzThreePartImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, HRulerRect, length,
                                    HRulerRect.Height(), false);
        return;
    }
    TileRuler(FImages[Vertical() ? siVRuler : siHRuler].get(), length);
}

void TqxSkinCustomSlider::CalcLayout() {
    GetSkinData();
    const Integer value = FValue;
    const TRect r = GetSliderRect();
    BuildRuler();
    const Integer rw = FRuler->Width(), rh = FRuler->Height();
    const TSize cell = ThumbCell();
    const Integer tw = cell.cx, th = cell.cy;
    if (!Vertical()) {
        const Integer hm = std::max(th, rh);
        FThumbRect = Bounds(r.Left + 6, r.Top + 6 + (hm - th) / 2, tw, th);
        FRulerOrg = Point(r.Left + 6, r.Top + 6 + (hm - rh) / 2);
        FPointsRect = Rect(FRulerOrg.X, r.Top + hm + 7, FRulerOrg.X + rw, r.Bottom - r.Top - 1);
    } else {
        const Integer wm = std::max(tw, rw);
        FThumbRect = Bounds(r.Left + 6 + (wm - tw) / 2, r.Top + 6, tw, th);
        FRulerOrg = Point(r.Left + 6 + (wm - rw) / 2, r.Top + 6);
        FPointsRect = Rect(r.Left + wm + 7, FRulerOrg.Y, r.Right - r.Left - 1, FRulerOrg.Y + rh);
    }
    SetValue(value);
    Invalidate();
}

Integer TqxSkinCustomSlider::ValueToPosition(Integer AValue) {
    const Integer o = Origin(), l = Travel();
    const Int64 range = Int64(FMaxValue) - FMinValue;
    // Without travel or without a range the thumb stays at the origin.
    if (l <= 0 || range <= 0) return o;
    Integer p = o + Integer(Round(double(l) * double(Int64(AValue) - FMinValue) / double(range)));
    if (Vertical()) {
        const TRect r = GetSliderRect();
        p = r.Top + r.Bottom - p - ThumbCell().cy;
    }
    return std::max(p, o);
}

Integer TqxSkinCustomSlider::PositionToValue(Integer APosition) {
    const Integer l = Travel();
    const Int64 range = Int64(FMaxValue) - FMinValue;
    if (l <= 0 || range <= 0) return FMinValue;
    if (Vertical()) APosition = ClientHeight() - APosition - ThumbCell().cy;
    const Integer d = APosition - Origin();
    Int64 x = Round(double(d) * double(range) / double(l));
    if (!FOptions.Contains(soSmooth) && FIncrement > 0) x = Int64(Round(double(x) / FIncrement)) * FIncrement;
    return Integer(std::min(std::max<Int64>(x, 0) + FMinValue, Int64(FMaxValue)));
}

Integer TqxSkinCustomSlider::SnapThumbPosition(Integer APosition) {
    const Integer o = Origin(), l = std::max(0, Travel());
    APosition = std::min(std::max(APosition, o), o + l);
    APosition = ValueToPosition(PositionToValue(APosition));
    return std::min(APosition, o + l);
}

void TqxSkinCustomSlider::InvalidateThumb() {
    if (!HandleAllocated()) return;
    const RECT r = ToRECT(FThumbRect);
    InvalidateRect(Handle(), &r, !ControlStyle().Contains(csOpaque));
}

void TqxSkinCustomSlider::MoveThumb(Integer APosition) {
    const Integer p = SnapThumbPosition(APosition);
    InvalidateThumb();
    if (Vertical())
        FThumbRect = Bounds(FThumbRect.Left, p, FThumbRect.Width(), FThumbRect.Height());
    else
        FThumbRect = Bounds(p, FThumbRect.Top, FThumbRect.Width(), FThumbRect.Height());
    InvalidateThumb();
    if (!FSliding) return;
    const Integer old = FValue;
    FValue = PositionToValue(p);
    if (FValue != old) Change();
}

void TqxSkinCustomSlider::Jump(TqxJumpMode AMode) {
    Int64 target;
    switch (AMode) {
        case jmHome:
            target = FMinValue;
            break;
        case jmEnd:
            target = FMaxValue;
            break;
        case jmNext:
            target = Int64(Round(double(FValue) / FIncrement)) * FIncrement + FIncrement;
            break;
        case jmPrior:
            target = Int64(Round(double(FValue) / FIncrement)) * FIncrement - FIncrement;
            break;
        default:
            return;
    }
    if (target >= FMaxValue) target = FMaxValue;
    if (target <= FMinValue) target = FMinValue;
    if (target != FValue) SetValue(Integer(target));
}

TqxJumpMode TqxSkinCustomSlider::GetJumpMode(Integer X, Integer Y) {
    if (!Vertical()) return X < FThumbRect.Left ? jmPrior : X > FThumbRect.Right ? jmNext : jmNone;
    return Y < FThumbRect.Top ? jmNext : Y > FThumbRect.Bottom ? jmPrior : jmNone;
}

// Painting.

void TqxSkinCustomSlider::DefaultDrawPoints(Integer APointsStep, Integer APointsHeight,
                                            Integer AExtremePointsHeight) {
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(FIndex != -1 ? PointsColor : clWindowText);
    canvas->Pen()->SetWidth(1);
    const Int64 range = Int64(FMaxValue) - FMinValue;
    const Integer l = Travel();
    if (APointsStep <= 0) return;
    const auto count = [&](Int64 AK) { return Round(double(range) / double(AK * APointsStep)) + 1; };
    const auto fits = [&](Int64 AK) {
        const Int64 n = count(AK);
        const Int64 spacing = n > 1 ? l / (n - 1) : l;
        return spacing >= 4 || spacing >= l;
    };
    // The first multiple of the step whose ticks stand 4 pixels apart; the
    // test only turns true as the multiple grows, so halving finds it.
    Int64 low = 1, high = 1;
    while (!fits(high))
        high *= 2;
    while (low < high) {
        const Int64 middle = low + (high - low) / 2;
        if (fits(middle))
            high = middle;
        else
            low = middle + 1;
    }
    const Int64 k = low, n = count(k);
    const TSize cell = ThumbCell();
    for (Int64 i = 0; i < n; ++i) {
        const Int64 v = i == n - 1 ? FMaxValue : FMinValue + i * k * APointsStep;
        const Integer length = v == FMinValue || v == FMaxValue ? AExtremePointsHeight : APointsHeight;
        const Integer at = ValueToPosition(Integer(std::min<Int64>(v, FMaxValue)));
        if (!Vertical()) {
            const Integer x = at + cell.cx / 2;
            canvas->MoveTo(x, FPointsRect.Top);
            canvas->LineTo(x, FPointsRect.Top + length);
        } else {
            const Integer y = at + cell.cy / 2;
            canvas->MoveTo(FPointsRect.Left, y);
            canvas->LineTo(FPointsRect.Left + length, y);
        }
    }
}

void TqxSkinCustomSlider::DrawThumb(TCanvas* ACanvas, TPoint AAt, bool ASecond) {
    if (SkinThumb()) {
        const TRect& r = Vertical() ? VThumbRect : HThumbRect;
        const Integer w = r.Width() / 2;
        TBitmap cell;
        cell.SetSize(w, r.Height());
        cell.Canvas()->CopyRect(Rect(0, 0, w, r.Height()), Picture->Canvas(),
                                Bounds(r.Left + (ASecond ? w : 0), r.Top, w, r.Height()));
        cell.SetTransparent(true);
        ACanvas->Draw(AAt.X, AAt.Y, &cell);
        return;
    }
    if (FThumbImageList) {
        const Integer index = ASecond ? FThumbActiveImageIndex : FThumbImageIndex;
        if (index >= 0 && index < FThumbImageList->Count())
            FThumbImageList->Draw(ACanvas, AAt.X, AAt.Y, index, true);
        return;
    }
    TBitmap* image = FImages[Vertical() ? siVThumb : siHThumb].get();
    TBitmap cell;
    if (FNumThumbStates == 2) {
        const Integer w = image->Width() / 2;
        cell.SetSize(w, image->Height());
        cell.Canvas()->CopyRect(Rect(0, 0, w, image->Height()), image->Canvas(),
                                Bounds(ASecond ? w : 0, 0, w, image->Height()));
    } else {
        cell.Assign(image);
    }
    cell.SetTransparent(!FOptions.Contains(soThumbOpaque));
    ACanvas->Draw(AAt.X, AAt.Y, &cell);
}

void TqxSkinCustomSlider::Paint() {
    GetSkinData();
    TCanvas* canvas = Canvas();
    const bool copy = ControlState().Contains(csPaintCopy);
    TPoint at = FThumbRect.TopLeft();
    if (copy) {
        const Integer p = SnapThumbPosition(ValueToPosition(GetDrawValue()));
        at = Vertical() ? Point(FThumbRect.Left, p) : Point(p, FThumbRect.Top);
    }
    const TRect client = Rect(0, 0, Width(), Height());
    if (FTransparent) {
        TBitmap background;
        background.SetSize(Width(), Height());
        PaintParentBackground(this, background.Canvas());
        canvas->Draw(0, 0, &background);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(FIndex != -1 ? BGColor : Color());
        canvas->FillRect(client);
    }
    if (FRuler->Width() > 0) {
        FRuler->SetTransparent(!(FOptions.Contains(soRulerOpaque) && FIndex == -1));
        canvas->Draw(FRulerOrg.X, FRulerOrg.Y, FRuler.get());
    }
    if (FOptions.Contains(soShowFocus) && FFocused && !ComponentState().Contains(csDesigning)) {
        if (FIndex != -1) canvas->Font()->SetColor(SkinData()->SkinColors()->cBtnText());
        const TRect r = GetSliderRect();
        DrawSkinFocusRect(canvas, Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    }
    if (FOptions.Contains(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DefaultDrawPoints(FIncrement, 3, 5);
    }
    DrawThumb(canvas, at, copy ? !Enabled() : FThumbDown || !Enabled());
}

void TqxSkinCustomSlider::PaintBuffered(TMessage& AMessage) {
    const HWND window = Handle();
    PAINTSTRUCT ps{};
    const HDC target = AMessage.WParam ? reinterpret_cast<HDC>(AMessage.WParam) : BeginPaint(window, &ps);
    const TRect client = ClientRect();
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap =
        CreateCompatibleBitmap(screen, std::max(1, client.Width()), std::max(1, client.Height()));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const WPARAM given = AMessage.WParam;
    try {
        SendMessageW(window, WM_ERASEBKGND, WPARAM(memory), 0);
        FPaintBuffered = true;
        AMessage.WParam = WPARAM(memory);
        TqxSkinControl::Dispatch(AMessage);
    } catch (...) {
        FPaintBuffered = false;
        AMessage.WParam = given;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        if (!given) EndPaint(window, &ps);
        throw;
    }
    FPaintBuffered = false;
    AMessage.WParam = given;
    BitBlt(target, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!given) EndPaint(window, &ps);
}

// Mouse and keys.

void TqxSkinCustomSlider::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft || AShift.Contains(ssDouble)) return;
    if (CanFocus()) SetFocus();
    const TPoint p = Point(X, Y);
    if (p.X >= FThumbRect.Left && p.X < FThumbRect.Right && p.Y >= FThumbRect.Top && p.Y < FThumbRect.Bottom)
        return ThumbMouseDown(AButton, AShift, X, Y);
    TRect ruler = Bounds(FRulerOrg.X, FRulerOrg.Y, FRuler->Width(), FRuler->Height());
    if (Vertical())
        ruler = Rect(ruler.Left - 3, ruler.Top, ruler.Right + 3, ruler.Bottom);
    else
        ruler = Rect(ruler.Left, ruler.Top - 3, ruler.Right, ruler.Bottom + 3);
    if (!(p.X >= ruler.Left && p.X < ruler.Right && p.Y >= ruler.Top && p.Y < ruler.Bottom) || !CanModify())
        return;
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = p;
    FStartJump = GetJumpMode(X, Y);
    TimerTick();
}

void TqxSkinCustomSlider::TimerTick() {
    // Once the thumb has passed the pointer the ticks do nothing.
    if (GetJumpMode(FMousePos.X, FMousePos.Y) == FStartJump) Jump(FStartJump);
    if (!FTimerActive && HandleAllocated()) {
        SetTimer(Handle(), RepeatTimer, RepeatInterval, nullptr);
        FTimerActive = true;
    }
}

void TqxSkinCustomSlider::StopTracking() {
    if (!FTracking) return;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
    FTimerActive = false;
    FTracking = false;
    SetMouseCapture(false);
    Changed();
}

void TqxSkinCustomSlider::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (AShift.Contains(ssLeft) && FSliding)
        ThumbMouseMove(AShift, X, Y);
    else if (FTracking)
        FMousePos = Point(X, Y);
    TqxSkinControl::MouseMove(AShift, X, Y);
}

void TqxSkinCustomSlider::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    StopTracking();
    if (FSliding) ThumbMouseUp(AButton, AShift, X, Y);
    TqxSkinControl::MouseUp(AButton, AShift, X, Y);
}

void TqxSkinCustomSlider::ThumbMouseDown(TMouseButton AButton, TShiftState, Integer X, Integer Y) {
    if (CanFocus()) SetFocus();
    if (AButton != mbLeft || !CanModify()) return;
    FSliding = true;
    FThumbDown = true;
    FHit = Vertical() ? Y - FThumbRect.Top : X - FThumbRect.Left;
    InvalidateThumb();
    Update();
}

void TqxSkinCustomSlider::ThumbMouseMove(TShiftState AShift, Integer X, Integer Y) {
    if (!AShift.Contains(ssLeft) || !CanModify()) return;
    MoveThumb(Vertical() ? Y - FHit : X - FHit);
}

void TqxSkinCustomSlider::ThumbMouseUp(TMouseButton AButton, TShiftState, Integer, Integer) {
    if (AButton != mbLeft) return;
    FSliding = false;
    FThumbDown = false;
    InvalidateThumb();
    Update();
    if (CanModify()) Changed();
}

void TqxSkinCustomSlider::KeyDown(Word& AKey, TShiftState AShift) {
    if (AShift.Empty()) {
        TqxJumpMode mode = jmNone;
        switch (AKey) {
            case VK_HOME:
                mode = jmHome;
                break;
            case VK_END:
                mode = jmEnd;
                break;
            case VK_LEFT:
                if (!Vertical()) mode = jmPrior;
                break;
            case VK_RIGHT:
                if (!Vertical()) mode = jmNext;
                break;
            case VK_UP:
                if (Vertical()) mode = jmNext;
                break;
            case VK_DOWN:
                if (Vertical()) mode = jmPrior;
                break;
            default:
                break;
        }
        if (mode != jmNone && CanModify()) {
            AKey = 0;
            Jump(mode);
            Changed();
        }
    }
    TqxSkinControl::KeyDown(AKey, AShift);
}

// Messages.

void TqxSkinCustomSlider::CheckParentBackground() {
    if (FTransparent) Repaint();
}

void TqxSkinCustomSlider::Loaded() {
    TqxSkinControl::Loaded();
    for (Integer i = 0; i < 4; ++i)
        if (FUserImages.Contains(TqxSliderImage(i))) FImages[i]->Assign(FImages[i].get());
    CalcLayout();
}

void TqxSkinCustomSlider::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_PAINT:
            if (FPaintBuffered) break;
            PaintBuffered(AMessage);
            return;
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS;
            return;
        case WM_TIMER:
            TqxSkinControl::Dispatch(AMessage);
            if (AMessage.WParam == RepeatTimer && FTracking) TimerTick();
            return;
        case WM_MOVE:
            TqxSkinControl::Dispatch(AMessage);
            if (FTransparent) Invalidate();
            return;
        case WM_SIZE:
            TqxSkinControl::Dispatch(AMessage);
            if (!ComponentState().Contains(csLoading)) CalcLayout();
            return;
        case CM_ENABLEDCHANGED:
            TqxSkinControl::Dispatch(AMessage);
            InvalidateThumb();
            return;
        case CM_FOCUSCHANGED: {
            const bool focused = reinterpret_cast<TWinControl*>(AMessage.LParam) == this;
            if (focused != FFocused) {
                FFocused = focused;
                if (FOptions.Contains(soShowFocus)) Invalidate();
            }
            break;
        }
        default:
            break;
    }
    TqxSkinControl::Dispatch(AMessage);
}

namespace {

const auto Registered = [] {
    RegisterEnum<TqxSliderOrientation>({u"soHorizontal", u"soVertical"});
    RegisterEnum<TqxSliderOption>(
        {u"soShowFocus", u"soShowPoints", u"soSmooth", u"soRulerOpaque", u"soThumbOpaque"});
    RegisterEnum<TqxSliderImage>({u"siHThumb", u"siHRuler", u"siVThumb", u"siVRuler"});
    using S = TqxSkinCustomSlider;
    RegisterClass<S, TqxSkinControl>()
        .Property(u"ThumbImageList", &S::ThumbImageList, &S::SetThumbImageList)
        .Property(u"ThumbImageIndex", &S::ThumbImageIndex, &S::SetThumbImageIndex)
        .Property(u"ThumbActiveImageIndex", &S::ThumbActiveImageIndex, &S::SetThumbActiveImageIndex)
        .Property(u"UseSkinThumb", &S::UseSkinThumb, &S::SetUseSkinThumb)
        .Property(u"Transparent", &S::Transparent, &S::SetTransparent)
        .Property(u"UserImages", &S::UserImages, &S::SetUserImages)
        .Property(u"ImageHThumb", &S::ImageHThumb)
        .Property(u"ImageHRuler", &S::ImageHRuler)
        .Property(u"ImageVThumb", &S::ImageVThumb)
        .Property(u"ImageVRuler", &S::ImageVRuler)
        .Property(u"EdgeSize", &S::EdgeSize, &S::SetEdgeSize)
        .Property(u"NumThumbStates", &S::NumThumbStates, &S::SetNumThumbStates)
        .Property(u"Orientation", &S::Orientation, &S::SetOrientation)
        .Property(u"Options", &S::Options, &S::SetOptions)
        .Property(u"MinValue", &S::MinValue, &S::SetMinValue)
        .Property(u"MaxValue", &S::MaxValue, &S::SetMaxValue)
        .Property(u"Increment", &S::Increment, &S::SetIncrement)
        .Property(u"Value", &S::Value, &S::SetValue)
        .Event(u"OnChange", &S::OnChange)
        .Event(u"OnChanged", &S::OnChanged)
        .Event(u"OnDrawPoints", &S::OnDrawPoints);
    RegisterClass<TqxSkinSlider, S>();
    return BuiltInImages;
}();

}  // namespace
