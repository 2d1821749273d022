#include "skin/core/qxparentpaint.h"

#include "platform/gdi/dc.h"
#include "platform/toolkit/forms.h"
#include "platform/win/messages.h"

using namespace win;

namespace {

// The copy-painting state of a control for the duration of a paint.
class TPaintingCopy {
public:
    explicit TPaintingCopy(TControl* AControl) : FControl(AControl) {
        AControl->SetControlState(AControl->ControlState() + TControlState{csPaintCopy});
    }
    ~TPaintingCopy() { FControl->SetControlState(FControl->ControlState() - TControlState{csPaintCopy}); }
    TPaintingCopy(const TPaintingCopy&) = delete;
    TPaintingCopy& operator=(const TPaintingCopy&) = delete;

private:
    TControl* FControl;
};

// The DC's drawing state, restored at the end of a scope.
class TSavedDC {
public:
    explicit TSavedDC(HDC ADC) : FDC(ADC), FSaved(SaveDC(ADC)) {}
    ~TSavedDC() { RestoreDC(FDC, FSaved); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FSaved;
};

bool Meet(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// The parent and the graphic controls below AControl, with the canvas
// origin at AOrigin of AControl.
void PaintBehind(TControl* AControl, TPoint AOrigin, TCanvas* ACanvas) {
    if (!AControl || !AControl->Parent()) return;
    TWinControl* parent = AControl->Parent();
    const HDC dc = ACanvas->Handle();
    const Integer left = AControl->Left() + AOrigin.X, top = AControl->Top() + AOrigin.Y;
    const TPaintingCopy parentCopy(parent);
    {
        const TSavedDC saved(dc);
        SetViewportOrgEx(dc, -left, -top, nullptr);
        const TRect client = parent->ClientRect();
        IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
        // An MDI frame's background would be its client window's; forms
        // here have no MDI client, so every form paints its own.
        parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
        if (!dynamic_cast<TCustomForm*>(parent)) parent->PaintWindow(dc);
    }
    const TRect bounds = AControl->BoundsRect();
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == AControl) break;
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible() ||
            !Meet(sibling->BoundsRect(), bounds))
            continue;
        const TPaintingCopy copy(sibling);
        const TSavedDC saved(dc);
        SetViewportOrgEx(dc, sibling->Left() - left, sibling->Top() - top, nullptr);
        IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        sibling->Perform(WM_PAINT, WPARAM(dc), 0);
    }
}

}  // namespace

void PaintParentBackground(TControl* AControl, TCanvas* ACanvas) {
    PaintBehind(AControl, {0, 0}, ACanvas);
}

void PaintParentBackgroundRect(TControl* AControl, const TRect& ARect, TCanvas* ACanvas) {
    PaintBehind(AControl, ARect.TopLeft(), ACanvas);
}
