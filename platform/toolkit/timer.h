// The timer component: OnTimer every Interval milliseconds while Enabled,
// on the GUI thread's message loop (and on the test clock under tests).
#pragma once

#include "platform/base/classes.h"
#include "platform/win/wintypes.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    // Milliseconds; 0 stops the timer.
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal AValue);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;

private:
    void UpdateTimer();
    void WndProc(TMessage& AMessage);

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    win::HWND FWindowHandle = nullptr;
};
