// Window timers on the injectable clock (clock.h). A timer that comes due
// marks itself fired; the queue gives one WM_TIMER per fired timer (however
// many periods passed) after everything else, with WParam = the id. Under
// the test clock nothing comes due until the test advances the time.
#pragma once

#include "platform/win/wintypes.h"

namespace win {

// Intervals below this are raised to it.
inline constexpr UINT USER_TIMER_MINIMUM = 10;

// Setting an id the window already uses restarts that timer with the new
// interval. Returns the id, 0 for an invalid window or a zero id. AProc,
// when given, is called by DispatchMessage instead of the window procedure.
ULONG_PTR SetTimer(HWND AWindow, ULONG_PTR AId, UINT AElapse, TIMERPROC AProc);
BOOL KillTimer(HWND AWindow, ULONG_PTR AId);

}  // namespace win
