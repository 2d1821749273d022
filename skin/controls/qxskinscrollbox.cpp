#include "skin/controls/qxskinscrollbox.h"

#include <algorithm>

#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

TqxSkinScrollBox::TqxSkinScrollBox(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetSkinDataName(u"scrollbox");
    SetBounds(Left(), Top(), 150, 150);
}

// Properties.

void TqxSkinScrollBox::SetVScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(true, AValue);
}

void TqxSkinScrollBox::SetHScrollBar(TqxSkinScrollBar* AValue) {
    AttachBar(false, AValue);
}

void TqxSkinScrollBox::AttachBar(bool AVertical, TqxSkinScrollBar* AValue) {
    TAxis axis = Axis(AVertical);
    SetReference(this, axis.Bar, AValue);
    if (AValue) {
        AValue->SetCanFocused(false);
        AValue->OnChange = [this, AVertical](TObject*) { BarChanged(AVertical); };
        AValue->OnLastChange = [this](TObject*) { Invalidate(); };
        AValue->SetEnabled(true);
        AValue->SetVisible(false);
    }
    GetRange(AVertical);
}

void TqxSkinScrollBox::SetBorderStyle(TqxSkinBorderStyle AValue) {
    if (AValue == FBorderStyle) return;
    FBorderStyle = AValue;
    RecreateWnd();
}

void TqxSkinScrollBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TqxSkinScrollBox::CreateParams(TCreateParams& AParams) {
    TqxSkinCustomControl::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// Scrolling.

void TqxSkinScrollBox::MoveContent(bool AVertical, Integer ADelta) {
    if (ADelta == 0) return;
    if (AVertical)
        ScrollBy(0, ADelta);
    else
        ScrollBy(ADelta, 0);
    // A stretched background does not scroll with the children.
    if (FIndex != -1 && StretchEffect) Invalidate();
}

void TqxSkinScrollBox::BarChanged(bool AVertical) {
    TAxis axis = Axis(AVertical);
    const Integer position = axis.Bar->Position();
    MoveContent(AVertical, axis.OldPos - position);
    axis.OldPos = position;
}

void TqxSkinScrollBox::Scroll(bool AVertical, Integer APosition) {
    TAxis axis = Axis(AVertical);
    TqxSkinScrollBar* bar = axis.Bar;
    if (!bar || bar->PageSize() == 0) return;
    // Both directions keep within the bar's own limits, so that the content
    // never stands where the bar cannot show it.
    APosition = std::max(bar->Min(), std::min(APosition, bar->Max() - bar->PageSize()));
    MoveContent(AVertical, axis.OldPos - APosition);
    axis.OldPos = APosition;
    bar->SimplySetPosition(APosition);
}

void TqxSkinScrollBox::ScrollToControl(TControl* AControl) {
    if (!AControl || AControl->Parent() != this) return;
    const TRect client = ClientRect();
    for (bool vertical : {true, false}) {
        TqxSkinScrollBar* bar = Axis(vertical).Bar;
        if (!bar || !bar->Visible()) continue;
        const Integer start = vertical ? AControl->Top() : AControl->Left();
        const Integer end = start + (vertical ? AControl->Height() : AControl->Width());
        const Integer size = vertical ? client.Height() : client.Width();
        if (start < 0)
            Scroll(vertical, bar->Position() + start);
        else if (end > size)
            Scroll(vertical, bar->Position() + std::min(start, end - size));
    }
}

void TqxSkinScrollBox::UpDateScrollRange() {
    GetHRange();
    GetVRange();
}

void TqxSkinScrollBox::GetRange(bool AVertical) {
    TAxis axis = Axis(AVertical);
    TqxSkinScrollBar* bar = axis.Bar;
    if (!bar || FInCheckScrollBars || !Parent()) return;
    const TRect client = ClientRect();
    const Integer size = AVertical ? client.Height() : client.Width();
    Integer extent = 0;
    for (Integer i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (c->Visible()) extent = std::max(extent, AVertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    const Integer p = bar->Position();
    const bool needed = size < extent + p;
    if (needed) {
        const Integer max = p + extent - 1;
        if (p > 0 && extent < size && axis.SizeOffset > 0) {
            // The box grew while scrolled: scroll back by the gain.
            axis.SizeOffset = std::min(axis.SizeOffset, p);
            bar->SetRange(0, max, p - axis.SizeOffset, size);
            MoveContent(AVertical, axis.SizeOffset);
        } else if (axis.SizeOffset != 0 || max >= bar->Max() || p <= 0 || extent >= size) {
            bar->SetRange(0, max, p, size);
            // Where the bar had to clamp the position, the content follows it.
            MoveContent(AVertical, p - bar->Position());
        } else {
            // The content shrank while scrolled.
            const Integer d = std::min(p, size - extent);
            MoveContent(AVertical, d);
            bar->SetRange(0, max, p - d, size);
        }
        axis.SizeOffset = 0;
        axis.OldPos = bar->Position();
    } else {
        MoveContent(AVertical, p);
        axis.SizeOffset = 0;
        axis.OldPos = 0;
        bar->SetRange(0, 0, 0, 0);
    }
    ShowBar(bar, needed && Visible());
    if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
}

void TqxSkinScrollBox::ShowBar(TqxSkinScrollBar* ABar, bool AShow) {
    if (ABar->Visible() == AShow) return;
    FInCheckScrollBars = true;
    try {
        ABar->SetVisible(AShow);
        if (Align() != alNone) {
            TRect r = Parent()->ClientRect();
            Parent()->AlignControls(nullptr, r);
            Realign();
        }
    } catch (...) {
        FInCheckScrollBars = false;
        throw;
    }
    FInCheckScrollBars = false;
}

void TqxSkinScrollBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    const Integer oldWidth = Width(), oldHeight = Height();
    // A call that keeps the size (the toolkit's own size adjustment within
    // a resize) leaves the growth of the resize in place.
    if (AWidth != oldWidth || AHeight != oldHeight) {
        FHSizeOffset = oldWidth != 0 && AWidth > oldWidth ? AWidth - oldWidth : 0;
        FVSizeOffset = oldHeight != 0 && AHeight > oldHeight ? AHeight - oldHeight : 0;
    }
    TqxSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // Once the new size is in place, whether aligned or not.
    if (HandleAllocated() && (Width() != oldWidth || Height() != oldHeight)) UpDateScrollRange();
}

void TqxSkinScrollBox::AdjustClientRect(TRect& ARect) {
    const TRect client = ClientRect();
    const auto part = [](TqxSkinScrollBar* ABar, Integer AClientSize, Integer& APosition, Integer& ASize) {
        const bool shown = ABar && ABar->Visible();
        APosition = shown ? -ABar->Position() : 0;
        ASize = shown ? std::max(ABar->Max(), AClientSize) : AClientSize;
    };
    Integer left, top, width, height;
    part(FHScrollBar, client.Width(), left, width);
    part(FVScrollBar, client.Height(), top, height);
    ARect = Bounds(left, top, width, height);
}

// The skin.

void TqxSkinScrollBox::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    if (const auto* box = dynamic_cast<const TqxDataSkinScrollBoxControl*>(SkinData()->CtrlList[FIndex]))
        BGPictureIndex = box->BGPictureIndex;
}

TBitmap* TqxSkinScrollBox::BackgroundPicture() {
    return FIndex == -1 || BGPictureIndex == -1 ? nullptr : SkinData()->GetActivePicture(BGPictureIndex);
}

void TqxSkinScrollBox::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    RecreateWnd();
    for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Align() != alNone && bar->Parent()) bar->Parent()->Realign();
}

void TqxSkinScrollBox::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
}

void TqxSkinScrollBox::Paint() {
    GetSkinData();
    const TRect client = ClientRect();
    if (IsRectDegenerate(client)) return;
    TBitmap image;
    image.SetSize(client.Width(), client.Height());
    // An element without its picture draws the plain look.
    if (FIndex == -1 || !Picture) {
        CreateControlDefaultImage(&image);
        Canvas()->Draw(0, 0, &image);
        return;
    }
    TBitmap piece;
    TBitmap* tile = BackgroundPicture();
    if (!tile) {
        CopySkinPiece(Picture,
                      Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                           SkinRect.Top + ClRect.Bottom),
                      &piece);
        tile = &piece;
    }
    const bool whole = StretchEffect || tile != &piece;
    DrawSkinPiece(image.Canvas(), tile, whole ? Rect(0, 0, Width(), Height()) : client, StretchEffect, StretchType);
    Canvas()->Draw(0, 0, &image);
}

// The frame.

bool TqxSkinScrollBox::HasFrame() {
    GetSkinData();
    return FBorderStyle != TqxSkinBorderStyle::bvNone && !BackgroundPicture();
}

void TqxSkinScrollBox::NCCalcSize(TMessage& AMessage) {
    if (!AMessage.LParam || !HasFrame()) return;
    RECT& r = AMessage.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0]
                              : *reinterpret_cast<RECT*>(AMessage.LParam);
    if (FIndex != -1 && Picture) {
        r.left += ClRect.Left;
        r.top += ClRect.Top;
        r.right -= SkinRect.Width() - ClRect.Right;
        r.bottom -= SkinRect.Height() - ClRect.Bottom;
    } else {
        r.left += 1;
        r.top += 1;
        r.right -= 1;
        r.bottom -= 1;
    }
}

bool TqxSkinScrollBox::PaintFrame(HDC ADC) {
    if (!HasFrame()) return false;
    TCanvas canvas;
    canvas.SetHandle(ADC);
    const Integer w = Width(), h = Height();
    if (FIndex == -1 || !Picture) {
        const TRect whole = Rect(0, 0, w, h);
        switch (FBorderStyle) {
            case TqxSkinBorderStyle::bvRaised:
                DrawFrame3D(&canvas, whole, clBtnShadow, clBtnHighlight);
                break;
            case TqxSkinBorderStyle::bvLowered:
                DrawFrame3D(&canvas, whole, clBtnHighlight, clBtnShadow);
                break;
            default:
                DrawFrame3D(&canvas, whole, clBtnShadow, clBtnShadow);
        }
    } else {
        Integer cw = w, ch = h;
        CalcSize(cw, ch);
        TBitmap top, left, right, bottom;
        BuildBorderStrips(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                          NewClRect, &left, &top, &right, &bottom, Picture, SkinRect, w, h, LeftStretch,
                          TopStretch, RightStretch, BottomStretch);
        canvas.Draw(0, 0, &top);
        canvas.Draw(0, top.Height(), &left);
        canvas.Draw(w - right.Width(), top.Height(), &right);
        canvas.Draw(0, h - bottom.Height(), &bottom);
    }
    canvas.SetHandle(nullptr);
    return true;
}

// Messages.

void TqxSkinScrollBox::WndProc(TMessage& AMessage) {
    if (FCanFocused && DroppedWhileTakingFocus(this, AMessage, FClicksDisabled)) return;
    TqxSkinCustomControl::WndProc(AMessage);
}

void TqxSkinScrollBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_NCHITTEST:
            AMessage.Result = HTCLIENT;
            return;
        case WM_NCCALCSIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            NCCalcSize(AMessage);
            return;
        case WM_NCPAINT: {
            const HDC dc = GetWindowDC(Handle());
            PaintFrame(dc);
            ReleaseDC(Handle(), dc);
            return;
        }
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            SendMessageW(Handle(), WM_NCPAINT, 0, 0);
            return;
        case SKINMSG_PAINTTODC:
            AMessage.Result = PaintFrame(reinterpret_cast<HDC>(AMessage.WParam)) ? SKINMSG_ANSWER_PAINTED : 0;
            return;
        case SKINMSG_PAINTFRAMETODC:
            if (AMessage.LParam != SKINMSG_PAINTKEY) break;
            PaintFrame(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = SKINMSG_PAINTKEY;
            return;
        case CM_VISIBLECHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            // Hidden with the box; shown again only where the content needs them.
            if (!Visible()) {
                for (TqxSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
                    if (bar) bar->SetVisible(false);
            } else {
                UpDateScrollRange();
            }
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

namespace {

const auto Registered = [] {
    using T = TqxSkinScrollBox;
    RegisterClass<T, TqxSkinCustomControl>()
        .Property(u"VScrollBar", &T::VScrollBar, &T::SetVScrollBar)
        .Property(u"HScrollBar", &T::HScrollBar, &T::SetHScrollBar)
        .Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle)
        .Property(u"CanFocused", &T::CanFocused, &T::SetCanFocused);
    return true;
}();

}  // namespace
