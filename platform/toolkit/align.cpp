// Laying out a windowed control's children: alignment, anchors, auto size
// and scrolling.
#include <algorithm>

#include "platform/toolkit/controlinternal.h"
#include "platform/win/window.h"

namespace {

// The edges an aligned control keeps at its parent's edges.
TAnchors AnchorAlign(TAlign AAlign) {
    switch (AAlign) {
        case alTop:
            return {akLeft, akTop, akRight};
        case alBottom:
            return {akLeft, akRight, akBottom};
        case alLeft:
            return {akLeft, akTop, akBottom};
        case alRight:
            return {akRight, akTop, akBottom};
        case alClient:
            return {akLeft, akTop, akRight, akBottom};
        default:
            return {akLeft, akTop};
    }
}

// Whether C1 goes before C2 among the controls of one alignment.
bool InsertBefore(TControl* C1, TControl* C2, TAlign AAlign) {
    switch (AAlign) {
        case alTop:
            return C1->Top() < C2->Top();
        case alBottom:
            return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
        case alLeft:
            return C1->Left() < C2->Left();
        case alRight:
            return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
        default:
            return false;
    }
}

}  // namespace

void TControl::SetAlign(TAlign AValue) {
    if (AValue == FAlign) return;
    FAlign = AValue;
    FAnchors = AnchorAlign(AValue);
    if (!ComponentState().Contains(csLoading)) AdjustSize();
    RequestAlign();
}

void TWinControl::DisableAlign() {
    ++FAlignLevel;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
    if (ComponentState().Contains(csDestroying)) return;
    if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect r = ClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
        throw;
    }
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::DoPosition(TControl* AControl, TAlign AAlign, TRect& ARect) {
    TControl& c = *AControl;
    // Moves made here keep the anchor rules as they are.
    const auto place = [&c](Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
        c.FAnchorMove = true;
        try {
            c.SetBounds(ALeft, ATop, AWidth, AHeight);
        } catch (...) {
            c.FAnchorMove = false;
            throw;
        }
        c.FAnchorMove = false;
    };
    if (AAlign == alNone || c.FAnchors != AnchorAlign(AAlign)) {
        if (c.FOriginalParentSize.X != 0 && c.FOriginalParentSize.Y != 0) {
            Integer left = c.Left(), top = c.Top(), width = c.Width(), height = c.Height();
            const TRect parent = ClientRect();
            const TPoint size{parent.Width(), parent.Height()};
            if (c.FAnchors.Contains(akRight)) {
                if (c.FAnchors.Contains(akLeft))
                    width = size.X - (c.FOriginalParentSize.X - c.FAnchorRules.X);
                else
                    left = size.X - (c.FOriginalParentSize.X - c.FAnchorRules.X);
            } else if (!c.FAnchors.Contains(akLeft)) {
                left = MulDiv(c.FAnchorRules.X, size.X, c.FOriginalParentSize.X) - width / 2;
            }
            if (c.FAnchors.Contains(akBottom)) {
                if (c.FAnchors.Contains(akTop))
                    height = size.Y - (c.FOriginalParentSize.Y - c.FAnchorRules.Y);
                else
                    top = size.Y - (c.FOriginalParentSize.Y - c.FAnchorRules.Y);
            } else if (!c.FAnchors.Contains(akTop)) {
                top = MulDiv(c.FAnchorRules.Y, size.Y, c.FOriginalParentSize.Y) - height / 2;
            }
            place(left, top, width, height);
        }
        if (AAlign == alNone) return;
    }
    Integer width = ARect.Width();
    if (width < 0 || AAlign == alLeft || AAlign == alRight || AAlign == alCustom) width = c.Width();
    Integer height = ARect.Height();
    if (height < 0 || AAlign == alTop || AAlign == alBottom || AAlign == alCustom) height = c.Height();
    Integer left = ARect.Left, top = ARect.Top;
    switch (AAlign) {
        case alTop:
            ARect.Top += height;
            break;
        case alBottom:
            ARect.Bottom -= height;
            top = ARect.Bottom;
            break;
        case alLeft:
            ARect.Left += width;
            break;
        case alRight:
            ARect.Right -= width;
            left = ARect.Right;
            break;
        default:
            break;
    }
    if (AAlign == alCustom) {
        left = c.Left();
        top = c.Top();
    }
    place(left, top, width, height);
    // A control that refused the size gives the rest of the area back.
    const Integer dw = width - c.Width(), dh = height - c.Height();
    switch (AAlign) {
        case alTop:
            ARect.Top -= dh;
            break;
        case alBottom:
            ARect.Bottom += dh;
            break;
        case alLeft:
            ARect.Left -= dw;
            break;
        case alRight:
            ARect.Right += dw;
            break;
        case alClient:
            ARect.Right += dw;
            ARect.Bottom += dh;
            break;
        default:
            break;
    }
}

void TWinControl::AlignControls(TControl* AControl, TRect& ARect) {
    bool work = false;
    for (Integer i = 0; i < ControlCount() && !work; ++i) {
        const TControl* c = Controls(i);
        work = c->Align() != alNone || !(c->Anchors() == TAnchors{akLeft, akTop});
    }
    if (work) {
        AdjustClientRect(ARect);
        for (const TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) {
            std::vector<TControl*> list;
            if (AControl && AControl->Parent() == this && AControl->Align() == align &&
                (align == alNone || AControl->Visible()))
                list.push_back(AControl);
            for (Integer i = 0; i < ControlCount(); ++i) {
                TControl* c = Controls(i);
                if (c == AControl || c->Align() != align || (align != alNone && !c->Visible())) continue;
                auto at = list.begin();
                while (at != list.end() && !InsertBefore(c, *at, align))
                    ++at;
                list.insert(at, c);
            }
            for (TControl* c : list)
                DoPosition(c, align, ARect);
        }
    }
    if (Showing()) AdjustSize();
}

bool TWinControl::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) {
    Integer right = 0, bottom = 0;
    bool any = false;
    for (Integer i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible()) continue;
        any = true;
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
    }
    if (!any) return false;
    const TRect client = ClientRect();
    TRect inner = client;
    AdjustClientRect(inner);
    ANewWidth = right + (client.Right - inner.Right) + (Width() - client.Width());
    ANewHeight = bottom + (client.Bottom - inner.Bottom) + (Height() - client.Height());
    return true;
}

void TWinControl::ScrollBy(Integer ADeltaX, Integer ADeltaY) {
    for (TControl* c : std::vector<TControl*>(FControls))
        c->StoreBounds(c->Left() + ADeltaX, c->Top() + ADeltaY, c->Width(), c->Height());
    for (TWinControl* c : std::vector<TWinControl*>(FWinControls)) {
        if (c->FHandle)
            win::SetWindowPos(c->FHandle, nullptr, c->Left() + ADeltaX, c->Top() + ADeltaY, 0, 0,
                              win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
        else
            c->StoreBounds(c->Left() + ADeltaX, c->Top() + ADeltaY, c->Width(), c->Height());
    }
    Invalidate();
    Realign();
}
