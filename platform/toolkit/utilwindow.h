// Hidden message-only windows whose messages go to a method: the window
// that non-visual components (timers, the application's hint timer) take
// their WM_TIMER and posted messages on.
#pragma once

#include "platform/win/wintypes.h"

// Messages nobody handles are answered by the default procedure when
// AMethod leaves Result at 0.
win::HWND AllocateHWnd(TWndMethod AMethod);
void DeallocateHWnd(win::HWND AWindow);
