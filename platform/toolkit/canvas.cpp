#include "platform/toolkit/canvas.h"

#include <vector>

#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/graphic.h"

namespace {

std::vector<win::POINT> ToPOINTs(std::span<const TPoint> APoints) {
    std::vector<win::POINT> points;
    points.reserve(APoints.size());
    for (const TPoint& p : APoints)
        points.push_back({p.X, p.Y});
    return points;
}

win::COLORREF RGBOf(TColor AColor) {
    return static_cast<win::COLORREF>(ColorToRGB(AColor));
}

}  // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    FFont->OnChange = [this](TObject*) { ObjectChanged(csFontValid); };
    FPen->OnChange = [this](TObject*) { ObjectChanged(csPenValid); };
    FBrush->OnChange = [this](TObject*) { ObjectChanged(csBrushValid); };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

win::HDC TCanvas::Handle() {
    // Callers draw on it with the system's calls in the canvas's tools.
    RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
    return FHandle;
}

void TCanvas::SetHandle(win::HDC AValue) {
    if (AValue == FHandle) return;
    DeselectHandles();
    FHandle = AValue;
    FState = AValue ? TCanvasState{csHandleValid} : TCanvasState{};
}

// The object is about to be replaced, or the DC is let go: the DC gets back
// what it held before, so a canvas on a borrowed DC leaves the DC's own tools
// in place (the stock object when that one is gone).
void TCanvas::ObjectChanged(TCanvasStates AState) {
    if (!FHandle || !FState.Contains(AState)) return;
    static constexpr int stock[] = {0, win::SYSTEM_FONT, win::BLACK_PEN, win::WHITE_BRUSH};
    win::HGDIOBJ& previous = FPrevious[AState];
    if (!previous || !win::SelectObject(FHandle, previous))
        win::SelectObject(FHandle, win::GetStockObject(stock[AState]));
    previous = nullptr;
    FState.Exclude(AState);
}

void TCanvas::DeselectHandles() {
    ObjectChanged(csFontValid);
    ObjectChanged(csPenValid);
    ObjectChanged(csBrushValid);
}

void TCanvas::RequiredState(TCanvasState AState) {
    TCanvasState needed = AState - FState;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation(u"Canvas does not allow drawing");
    }
    if (needed.Contains(csFontValid)) {
        FPrevious[csFontValid] = win::SelectObject(FHandle, FFont->Handle());
        win::SetTextColor(FHandle, RGBOf(FFont->Color()));
        FState.Include(csFontValid);
    }
    if (needed.Contains(csPenValid)) {
        FPrevious[csPenValid] = win::SelectObject(FHandle, FPen->Handle());
        win::SetROP2(FHandle, PenModeToRop2(FPen->Mode()));
        FState.Include(csPenValid);
    }
    if (needed.Contains(csBrushValid)) {
        FPrevious[csBrushValid] = win::SelectObject(FHandle, FBrush->Handle());
        win::SetBkColor(FHandle, RGBOf(FBrush->Color()));
        win::SetBkMode(FHandle, FBrush->Style() == bsClear ? win::TRANSPARENT : win::OPAQUE);
        FState.Include(csBrushValid);
    }
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
    RequiredState({csHandleValid});
    win::POINT p{};
    win::GetCurrentPositionEx(FHandle, &p);
    return {p.x, p.y};
}

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    win::RECT r{};
    win::GetClipBox(FHandle, &r);
    return ToTRect(r);
}

TColor TCanvas::Pixels(Integer X, Integer Y) {
    RequiredState({csHandleValid});
    win::COLORREF c = win::GetPixel(FHandle, X, Y);
    return c == win::CLR_INVALID ? -1 : static_cast<TColor>(c);
}

void TCanvas::SetPixels(Integer X, Integer Y, TColor AValue) {
    Drawing({csHandleValid, csPenValid}, [&] { win::SetPixel(FHandle, X, Y, RGBOf(AValue)); });
}

void TCanvas::MoveTo(Integer X, Integer Y) {
    RequiredState({csHandleValid});
    win::MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(Integer X, Integer Y) {
    Drawing({csHandleValid, csPenValid, csBrushValid}, [&] { win::LineTo(FHandle, X, Y); });
}

void TCanvas::Polyline(std::span<const TPoint> APoints) {
    Drawing({csHandleValid, csPenValid, csBrushValid}, [&] {
        std::vector<win::POINT> points = ToPOINTs(APoints);
        win::Polyline(FHandle, points.data(), static_cast<int>(points.size()));
    });
}

void TCanvas::Polygon(std::span<const TPoint> APoints) {
    Drawing({csHandleValid, csPenValid, csBrushValid}, [&] {
        std::vector<win::POINT> points = ToPOINTs(APoints);
        win::Polygon(FHandle, points.data(), static_cast<int>(points.size()));
    });
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Drawing({csHandleValid, csPenValid, csBrushValid}, [&] { win::Rectangle(FHandle, X1, Y1, X2, Y2); });
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Drawing({csHandleValid, csPenValid, csBrushValid}, [&] { win::Ellipse(FHandle, X1, Y1, X2, Y2); });
}

void TCanvas::FillRect(const TRect& ARect) {
    Drawing({csHandleValid, csBrushValid}, [&] {
        win::RECT r = ToRECT(ARect);
        win::FillRect(FHandle, &r, FBrush->Handle());
    });
}

void TCanvas::FrameRect(const TRect& ARect) {
    Drawing({csHandleValid, csBrushValid}, [&] {
        win::RECT r = ToRECT(ARect);
        win::FrameRect(FHandle, &r, FBrush->Handle());
    });
}

void TCanvas::DrawFocusRect(const TRect& ARect) {
    Drawing({csHandleValid, csBrushValid}, [&] {
        win::RECT r = ToRECT(ARect);
        win::DrawFocusRect(FHandle, &r);
    });
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* AGraphic) {
    if (!AGraphic || AGraphic->Empty()) return;
    AGraphic->Draw(this, Bounds(X, Y, AGraphic->Width(), AGraphic->Height()));
}

void TCanvas::StretchDraw(const TRect& ARect, TGraphic* AGraphic) {
    if (!AGraphic || AGraphic->Empty()) return;
    AGraphic->Draw(this, ARect);
}

void TCanvas::CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource) {
    Drawing({csHandleValid, csBrushValid}, [&] {
        win::HDC source = ACanvas->Handle();
        win::StretchBlt(FHandle, ADest.Left, ADest.Top, ADest.Width(), ADest.Height(), source, ASource.Left,
                        ASource.Top, ASource.Width(), ASource.Height(), static_cast<win::DWORD>(FCopyMode));
    });
}

void TCanvas::TextOut(Integer X, Integer Y, const String& AText) {
    Drawing({csHandleValid, csFontValid, csBrushValid}, [&] {
        win::TextOutW(FHandle, X, Y, AText.data(), static_cast<int>(AText.size()));
        MoveTo(X + TextWidth(AText), Y);
    });
}

void TCanvas::TextRect(const TRect& ARect, Integer X, Integer Y, const String& AText) {
    Drawing({csHandleValid, csFontValid, csBrushValid}, [&] {
        win::UINT options = win::ETO_CLIPPED;
        if (FBrush->Style() != bsClear) options |= win::ETO_OPAQUE;
        win::RECT r = ToRECT(ARect);
        win::ExtTextOutW(FHandle, X, Y, options, &r, AText.data(), static_cast<win::UINT>(AText.size()),
                         nullptr);
    });
}

TSize TCanvas::TextExtent(const String& AText) {
    RequiredState({csHandleValid, csFontValid});
    win::SIZE size{};
    win::GetTextExtentPoint32W(FHandle, AText.data(), static_cast<int>(AText.size()), &size);
    return {size.cx, size.cy};
}

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}
