#include "platform/toolkit/timer.h"

#include "platform/toolkit/forms.h"
#include "platform/toolkit/utilwindow.h"
#include "platform/win/messages.h"
#include "platform/win/timers.h"

namespace {

constexpr win::ULONG_PTR TimerId = 1;

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FWindowHandle = AllocateHWnd([this](TMessage& AMessage) { WndProc(AMessage); });
    // A timer made in code with its defaults runs from the start.
    UpdateTimer();
}

TTimer::~TTimer() {
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool AValue) {
    if (AValue == FEnabled) return;
    FEnabled = AValue;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal AValue) {
    if (AValue == FInterval) return;
    FInterval = AValue;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    win::KillTimer(FWindowHandle, TimerId);
    // Nothing runs while the form that holds it is being read.
    if (ComponentState().Contains(csLoading)) return;
    if (FEnabled && FInterval != 0) win::SetTimer(FWindowHandle, TimerId, FInterval, nullptr);
}

void TTimer::Timer() {
    if (FEnabled && OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& AMessage) {
    if (AMessage.Msg != win::WM_TIMER) return;
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
    AMessage.Result = 1;
}
