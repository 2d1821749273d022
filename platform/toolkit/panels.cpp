#include "platform/toolkit/panels.h"

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"

using namespace win;

namespace {

// The colours of a bevel's top-left and bottom-right lines.
void BevelColors(TBevelCut ACut, TColor AFace, TColor& ATop, TColor& ABottom) {
    switch (ACut) {
        case bvLowered:
            ATop = clBtnShadow;
            ABottom = clBtnHighlight;
            return;
        case bvRaised:
            ATop = clBtnHighlight;
            ABottom = clBtnShadow;
            return;
        default:
            ATop = ABottom = AFace;
            return;
    }
}

}  // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = FControlStyle + TControlStyle{csAcceptsControls, csOpaque, csReplicatable};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut AValue) {
    if (AValue == FBevelInner) return;
    FBevelInner = AValue;
    Rebevel();
}

void TCustomPanel::SetBevelOuter(TBevelCut AValue) {
    if (AValue == FBevelOuter) return;
    FBevelOuter = AValue;
    Rebevel();
}

void TCustomPanel::SetBevelWidth(TBevelWidth AValue) {
    AValue = std::max(1, AValue);
    if (AValue == FBevelWidth) return;
    FBevelWidth = AValue;
    Rebevel();
}

void TCustomPanel::SetBorderWidth(Integer AValue) {
    AValue = std::max(0, AValue);
    if (AValue == FBorderWidth) return;
    FBorderWidth = AValue;
    Rebevel();
}

void TCustomPanel::SetBorderStyle(TBorderStyle AValue) {
    if (AValue == FBorderStyle) return;
    FBorderStyle = AValue;
    RecreateWnd();
}

void TCustomPanel::Rebevel() {
    Realign();
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    if (FBorderStyle == bsSingle) AParams.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::AdjustClientRect(TRect& ARect) {
    TCustomControl::AdjustClientRect(ARect);
    Integer inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    ARect = Rect(ARect.Left + inset, ARect.Top + inset, ARect.Right - inset, ARect.Bottom - inset);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    TColor top, bottom;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, Color(), top, bottom);
        Frame3D(canvas, r, top, bottom, FBevelWidth);
    }
    Frame3D(canvas, r, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, Color(), top, bottom);
        Frame3D(canvas, r, top, bottom, FBevelWidth);
    }
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    static constexpr Cardinal alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas->SetFont(Font());
    DrawCaption(canvas, Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | alignments[FAlignment],
                Enabled());
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape AValue) {
    if (AValue == FShape) return;
    FShape = AValue;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle AValue) {
    if (AValue == FStyle) return;
    FStyle = AValue;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = Canvas();
    const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const Integer w = Width(), h = Height();
    canvas->Pen()->SetWidth(1);
    const auto rectangle = [canvas](Integer L, Integer T, Integer R, Integer B, TColor ATop, TColor ABottom) {
        canvas->Pen()->SetColor(ATop);
        const TPoint topLeft[] = {{L, B}, {L, T}, {R, T}};
        canvas->Polyline(topLeft);
        canvas->Pen()->SetColor(ABottom);
        const TPoint bottomRight[] = {{R, T}, {R, B}, {L, B}};
        canvas->Polyline(bottomRight);
    };
    const auto line = [canvas](Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor) {
        canvas->Pen()->SetColor(AColor);
        canvas->MoveTo(X1, Y1);
        canvas->LineTo(X2, Y2);
    };
    switch (FShape) {
        case bsBox:
            rectangle(0, 0, w - 1, h - 1, first, second);
            break;
        case bsFrame:
            rectangle(1, 1, w - 1, h - 1, second, second);
            rectangle(0, 0, w - 2, h - 2, first, first);
            break;
        case bsTopLine:
            line(0, 0, w, 0, first);
            line(0, 1, w, 1, second);
            break;
        case bsBottomLine:
            line(0, h - 2, w, h - 2, first);
            line(0, h - 1, w, h - 1, second);
            break;
        case bsLeftLine:
            line(0, 0, 0, h, first);
            line(1, 0, 1, h, second);
            break;
        case bsRightLine:
            line(w - 2, 0, w - 2, h, first);
            line(w - 1, 0, w - 1, h, second);
            break;
        case bsSpacer:
            break;
    }
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
}

void TSplitter::RequestAlign() {
    TGraphicControl::RequestAlign();
    SetCursor(Horizontal() ? crVSplit : crHSplit);
}

TControl* TSplitter::FindControl() const {
    if (!Parent()) return nullptr;
    for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        const bool adjacent = (Align() == alLeft && c->Left() + c->Width() == Left()) ||
                              (Align() == alRight && c->Left() == Left() + Width()) ||
                              (Align() == alTop && c->Top() + c->Height() == Top()) ||
                              (Align() == alBottom && c->Top() == Top() + Height());
        if (adjacent) return c;
    }
    return nullptr;
}

Integer TSplitter::MaxSize() const {
    const TRect client = Parent()->ClientRect();
    Integer room = Horizontal() ? client.Height() : client.Width();
    for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (!c->Visible()) continue;
        if (Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) room -= c->Height();
        if (!Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) room -= c->Width();
    }
    return FStartSize + room - FMinSize;
}

void TSplitter::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    FControl = FindControl();
    if (!FControl) return;
    FDownPos = ClientToScreen({X, Y});
    FStartSize = Horizontal() ? FControl->Height() : FControl->Width();
}

void TSplitter::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(AShift, X, Y);
    if (!FControl || !MouseCapture()) return;
    const TPoint p = ClientToScreen({X, Y});
    Integer delta = Horizontal() ? p.Y - FDownPos.Y : p.X - FDownPos.X;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    Integer size = std::max(FMinSize, std::min(FStartSize + delta, MaxSize()));
    bool accept = true;
    if (OnCanResize) OnCanResize(this, size, accept);
    if (!accept) return;
    if (Horizontal())
        FControl->SetHeight(size);
    else
        FControl->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(AButton, AShift, X, Y);
    if (AButton != mbLeft || !FControl) return;
    FControl = nullptr;
    if (OnMoved) OnMoved(this);
}

void TSplitter::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

namespace {

const auto Registered = [] {
    RegisterEnum<TBevelCut>({u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace"});
    RegisterEnum<TBevelShape>(
        {u"bsBox", u"bsFrame", u"bsTopLine", u"bsBottomLine", u"bsLeftLine", u"bsRightLine", u"bsSpacer"});
    RegisterEnum<TBevelStyle>({u"bsLowered", u"bsRaised"});
    RegisterClass<TCustomPanel, TCustomControl>()
        .Property(u"Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Property(u"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Property(u"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Property(u"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
        .Property(u"BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
        .Property(u"BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle);
    RegisterClass<TPanel, TCustomPanel>();
    RegisterClass<TBevel, TGraphicControl>()
        .Property(u"Shape", &TBevel::Shape, &TBevel::SetShape)
        .Property(u"Style", &TBevel::Style, &TBevel::SetStyle);
    RegisterClass<TSplitter, TGraphicControl>()
        .Property(u"MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
        .Event(u"OnCanResize", &TSplitter::OnCanResize)
        .Event(u"OnMoved", &TSplitter::OnMoved);
    return true;
}();

}  // namespace
