// The painting pipeline: WM_PAINT, the window's own painting, graphic
// children painted on their parent, the control canvases, and the two
// painting control classes.
#include <algorithm>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"

using namespace win;

namespace {

// Canvases that hold a DC of their own, to give back at idle time or when
// the window goes.
std::vector<TControlCanvas*>& CanvasesWithDC() {
    static auto* canvases = new std::vector<TControlCanvas*>;
    return *canvases;
}

}  // namespace

void FreeDeviceContexts(HWND AWindow) {
    for (TControlCanvas* canvas : std::vector<TControlCanvas*>(CanvasesWithDC()))
        if (!AWindow || canvas->WindowHandle() == AWindow) canvas->FreeHandle();
}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* AControl) {
    if (AControl == FControl) return;
    FreeHandle();
    FControl = AControl;
}

void TControlCanvas::CreateHandle() {
    if (!FControl || FDeviceContext) return;
    FDeviceContext = FControl->GetDeviceContext(FWindowHandle);
    CanvasesWithDC().push_back(this);
    SetHandle(FDeviceContext);
}

void TControlCanvas::FreeHandle() {
    if (!FDeviceContext) return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
    std::erase(CanvasesWithDC(), this);
}

void TWinControl::WMPaint(TMessage& AMessage) {
    PaintHandler(AMessage);
}

void TWinControl::PaintHandler(TMessage& AMessage) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
    if (!dc) dc = BeginPaint(FHandle, &ps);
    if (!dc) return;
    const WeakControl self(this);
    try {
        if (FControls.empty()) {
            PaintWindow(dc);
        } else {
            // Opaque graphic children cover their part of the window.
            const int saved = SaveDC(dc);
            int clip = SIMPLEREGION;
            for (TControl* c : FControls)
                if (c->Visible() && c->ControlStyle().Contains(csOpaque)) {
                    clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(),
                                           c->Top() + c->Height());
                    if (clip == NULLREGION) break;
                }
            if (clip != NULLREGION) PaintWindow(dc);
            RestoreDC(dc, saved);
        }
        if (self.Alive()) PaintControls(dc, nullptr);
    } catch (...) {
        if (!AMessage.WParam && self.Alive()) EndPaint(FHandle, &ps);
        throw;
    }
    if (!AMessage.WParam && self.Alive()) EndPaint(FHandle, &ps);
}

void TWinControl::PaintWindow(HDC ADC) {
    // A window of a class with a painting procedure of its own paints there.
    if (FDefWndProc == DefWindowProcW) return;
    TMessage message{WM_PAINT, WPARAM(ADC), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintControls(HDC ADC, TControl* AFirst) {
    auto it = AFirst ? std::find(FControls.begin(), FControls.end(), AFirst) : FControls.begin();
    if (it == FControls.end()) it = FControls.begin();
    RECT box;
    const bool clipped = GetClipBox(ADC, &box) != ERROR;
    const std::vector<TControl*> controls(it, FControls.end());
    for (TControl* c : controls) {
        if (!ControlAlive(c) || c->Parent() != this || !c->Visible()) continue;
        const TRect r = c->BoundsRect();
        if (clipped &&
            (r.Right <= box.left || r.Left >= box.right || r.Bottom <= box.top || r.Top >= box.bottom))
            continue;
        if (FControlState.Contains(csPaintCopy)) c->FControlState.Include(csPaintCopy);
        const int saved = SaveDC(ADC);
        OffsetWindowOrgEx(ADC, -r.Left, -r.Top, nullptr);
        IntersectClipRect(ADC, 0, 0, r.Width(), r.Height());
        // One child failing to paint leaves its siblings to paint.
        try {
            c->Perform(WM_PAINT, WPARAM(ADC), 0);
        } catch (...) {
            if (Application) Application->HandlePaintException(ControlAlive(c) ? c : nullptr);
        }
        RestoreDC(ADC, saved);
        if (ControlAlive(c)) c->FControlState.Exclude(csPaintCopy);
    }
}

void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

HDC TWinControl::GetDeviceContext(HWND& AWindowHandle) {
    const HDC dc = GetDC(Handle());
    if (!dc) throw EOutOfResources(u"Error creating window device context");
    AWindowHandle = FHandle;
    return dc;
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
    FCanvas->FreeHandle();
}

void TCustomControl::PaintWindow(HDC ADC) {
    PaintOn(*FCanvas, ADC, [this] { Paint(); });
}

void TCustomControl::DestroyWnd() {
    FCanvas->FreeHandle();
    TWinControl::DestroyWnd();
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() {
    FCanvas->FreeHandle();
}

void TGraphicControl::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_PAINT) {
        if (AMessage.WParam && !ComponentState().Contains(csDestroying))
            PaintOn(*FCanvas, reinterpret_cast<HDC>(AMessage.WParam), [this] { Paint(); });
        return;
    }
    TControl::Dispatch(AMessage);
}

void TGraphicControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    // The canvas's DC was moved to the old place.
    FCanvas->FreeHandle();
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TGraphicControl::SetParent(TWinControl* AParent) {
    FCanvas->FreeHandle();
    TControl::SetParent(AParent);
}
