// What the control, form and application modules share and nobody else
// needs.
#pragma once

#include "platform/toolkit/actions.h"
#include "platform/toolkit/controls.h"

// The key data bit of a key message for a key pressed with Alt.
inline constexpr win::LPARAM AltMask = win::LPARAM(1) << 29;

// Every control registers here while it lives.
void ControlBorn(TControl* AControl);
// Forgets a control that is going: capture, mouse and hint tracking.
void ControlGone(TControl* AControl);

// Gives back the DCs control canvases took of AWindow (nullptr: of any window).
void FreeDeviceContexts(win::HWND AWindow);

// Binds a control canvas to a paint DC for one Paint call.
template <typename F>
void PaintOn(TControlCanvas& ACanvas, win::HDC ADC, F APaint) {
    ACanvas.Lock();
    ACanvas.FreeHandle();
    ACanvas.SetHandle(ADC);
    try {
        APaint();
    } catch (...) {
        ACanvas.SetHandle(nullptr);
        ACanvas.Unlock();
        throw;
    }
    ACanvas.SetHandle(nullptr);
    ACanvas.Unlock();
}
