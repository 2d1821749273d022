// The tray icon: an icon in the desktop's notification area that reports
// clicks, double clicks and mouse events, pops a skinned menu up at the
// pointer, cycles through an image list's icons, shows balloon hints and
// hides the application into the tray when it is minimized.
#pragma once

#include <functional>
#include <memory>

#include "platform/shell/shellapi.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/timer.h"

class TqxSkinPopupMenu;

enum TqxBalloonHintIcon { qxbitNone, qxbitInfo, qxbitWarning, qxbitError };
using TqxCycleEvent = std::function<void(TObject* Sender, Integer NextIndex)>;

// A window procedure installed on a window by handle, chained to the one it
// replaced. Unhooking puts that one back only while ours is still the
// window's procedure; otherwise ours stays as a pure forwarder to it, so
// that a chain installed after ours never calls into a freed owner.
class TqxWindowHook {
public:
    ~TqxWindowHook() { Unhook(); }
    // AHandler may set Handled; unhandled messages go to the old procedure.
    void Hook(win::HWND AWindow, std::function<void(TMessage&, bool&)> AHandler);
    void Unhook();
    bool Hooked() const { return FState != nullptr; }

private:
    struct TState {
        win::HWND Window = nullptr;
        win::WNDPROC OldProc = nullptr;
        win::WNDPROC NewProc = nullptr;
        std::function<void(TMessage&, bool&)> Handler;
    };
    std::shared_ptr<TState> FState;
};

class TqxTrayIcon : public TComponent {
public:
    explicit TqxTrayIcon(TComponent* AOwner);
    ~TqxTrayIcon() override;
    void Loaded() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TqxSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TqxSkinPopupMenu* Value);
    bool PopupByLeftButton() const { return FPopupByLeftButton; }
    void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
    bool MinimizedOnStart() const { return FMinimizedOnStart; }
    void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    Integer IconIndex() const { return FIconIndex; }
    void SetIconIndex(Integer Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    Cardinal AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(Cardinal Value);
    win::HWND WindowHandle() const { return FWindowHandle; }
    // The icon's hidden window.
    win::HWND Handle() const { return IconData.hWnd; }

    virtual bool LoadDefaultIcon() { return true; }
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();
    bool Refresh() { return ModifyIcon(); }
    bool ShowBalloonHint(const String& Title, const String& Text, TqxBalloonHintIcon IconType);
    bool HideBalloonHint();
    bool BitmapToIcon(TBitmap* Bitmap, TIcon* AIcon, TColor MaskColor);
    void ShowMainForm();
    void HideMainForm();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnBalloonHintClick;
    TqxCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    win::NOTIFYICONDATAW IconData;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void Click();
    virtual void DblClick();
    virtual void DoCycle();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
    virtual void DoMinimizeToTray();

private:
    bool PrepareIconData();
    void IconWndProc(TMessage& Message);
    void AppWndProc(TMessage& Message, bool& Handled);
    void FormWndProc(TMessage& Message, bool& Handled);
    void DoAnimateTimer();
    void DoClickTimer();
    void PopupAtCursor();
    TWinControl* OwnerControl() const;
    void RestoreApplicationWindow();

    bool FEnabled = true;
    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    String FHint;
    bool FShowHint = true;
    TqxSkinPopupMenu* FPopupMenu = nullptr;
    bool FPopupByLeftButton = false;
    bool FMinimizedOnStart = false;
    bool FMinimizeToTray = true;
    TCustomImageList* FIconList = nullptr;
    Integer FIconIndex = 0;
    bool FCycleIcons = false;
    Cardinal FAnimateTimerInterval = 0;
    bool FClickStart = false;
    bool FClickReady = false;
    bool IsDblClick = false;
    TTimer* AnimateTimer = nullptr;
    TTimer* ClickTimer = nullptr;
    bool SettingMDIForm = true;
    TqxWindowHook FAppHook;
    TqxWindowHook FOwnerHook;
    win::HWND FWindowHandle = nullptr;
    win::UINT FTaskbarCreated = 0;
};
