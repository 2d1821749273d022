// Forms, the screen and the application: top-level windows with a modal
// loop and key pre-processing, the list of forms and the desktop, and the
// message loop with its filter, exception box and hints.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "platform/base/classes.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/icon.h"
#include "platform/win/wintypes.h"

class TMainMenu;
class TMenuItem;
class TTimer;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TTileMode { tbHorizontal, tbVertical };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;
inline constexpr TModalResult mrClose = 11;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    // A form with nothing on it; AfterConstruction reads its description.
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void BeforeDestruction() override;
    // Reads the form's description when its class registered one (with
    // csLoading; references fixed, Loaded), then runs OnCreate. An exception
    // of OnCreate goes to the exception box and the form stays.
    virtual void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle AValue);
    TFormStyle FormStyle() const { return FFormStyle; }
    // fsMDIForm gives the form a client window for MDI children; fsMDIChild
    // makes it a child window of the main form's client. Both take effect
    // when the window is next made.
    void SetFormStyle(TFormStyle AValue);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons AValue);
    TWindowState WindowState();
    void SetWindowState(TWindowState AValue);
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* AValue) { FIcon->Assign(AValue); }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* AValue);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition AValue) { FPosition = AValue; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool AValue) { FKeyPreview = AValue; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool AValue) { FAutoScroll = AValue; }
    TCanvas* Canvas() const { return FCanvas.get(); }

    // Before the window exists the client size is kept and applied to it.
    void SetClientSize(Integer AWidth, Integer AHeight) override;
    TRect ClientRect() override;

    // Focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* AControl);
    bool Active() const { return FActive; }
    // Makes AControl the active control and focuses the form.
    void FocusControl(TWinControl* AControl);
    // Runs the focus notifications (CM_EXIT, CM_ENTER, CM_FOCUSCHANGED) as
    // AControl takes the focus; false when a handler moved the focus away.
    bool SetFocusedControl(TWinControl* AControl);
    void DefocusControl(TWinControl* AControl, bool ARemoving);
    void SetFocus() override;

    // Showing and closing.
    void Show();
    void Hide();
    // Shows the form, disables the other forms and runs messages until
    // ModalResult is set (a loop whose input can no longer arrive ends as
    // mrCancel); hides it and returns ModalResult.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
    bool Modal() const { return FModal; }
    // OnCloseQuery, then OnClose with caHide; hiding the main form ends the
    // application. A modal form just sets mrCancel.
    void Close();
    bool CloseQuery();
    // Frees the form once its pending messages are done.
    void Release();

    // MDI. The client window of an fsMDIForm covers its client area less the
    // aligned controls; its children sit in its coordinates. Maximizing,
    // arranging and menu merging are left to the form's users.
    win::HWND ClientHandle() const { return FClientHandle; }
    Integer MDIChildCount() const { return Integer(FMDIChildList.size()); }
    // Every child with a window, hidden ones included: the active child
    // first, then in the order they were last active.
    TCustomForm* MDIChildren(Integer AIndex) const { return FMDIChildList.at(size_t(AIndex)); }
    // The active child; nil when none is shown.
    TCustomForm* ActiveMDIChild() const;
    // Activates the visible child after the active one, which goes last.
    void Next();
    // The menu item the children are listed under (by the form's users).
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* AValue);
    void AlignControls(TControl* AControl, TRect& ARect) override;
    void DestroyWnd() override;

    // OnShortCut, then the main menu's short cuts.
    virtual bool IsShortCut(TWMKey& AMessage);
    // CM_CANCELMODE to the active control with ASender.
    void SendCancelMode(TControl* ASender);

    void SetVisible(bool AValue) override;
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void Dispatch(TMessage& AMessage) override;
    void PaintWindow(win::HDC ADC) override;
    virtual void Paint();
    void Loaded() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void CMShowingChanged(TMessage& AMessage) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& AAction);
    virtual void Activate();
    virtual void Deactivate();

private:
    friend class TApplication;
    friend class TScreen;

    void SetActive(bool AValue);
    void SetWindowFocus();
    void CloseModal();
    void PlaceForShow();
    // The owner a top-level window of the form gets when made, and the one
    // a modal form is kept above while shown: the form that was active when
    // it opened, else the main form (the application's window, which owns
    // it otherwise, is never on the screen).
    win::HWND MadeOwner();
    win::HWND ShownOwner();
    // The forms shown over this one go back to their own owners before its
    // window goes, which would take theirs along.
    void ReleaseShownForms();
    // WM_SETICON with the form's icon, else the application's.
    void SendIcon();
    void CMDialogKey(TMessage& AMessage);
    void WMActivate(TMessage& AMessage);
    void WMClose(TMessage& AMessage);
    void WMSysCommand(TMessage& AMessage);
    // MDI bookkeeping of a frame (mdi.cpp).
    static TCustomForm* MDIFrame();
    void CreateMDIChildParams(TCreateParams& AParams);
    void CreateMDIClient();
    void MDIActivate(TCustomForm* AChild);
    void MDIChildHidden(TCustomForm* AChild);
    void MDIChildGone(TCustomForm* AChild);
    void MDIChildMouseActivate(TMessage& AMessage);

    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TWindowState FWindowState = wsNormal;
    std::unique_ptr<TIcon> FIcon;
    TMainMenu* FMenu = nullptr;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    bool FAutoScroll = false;
    std::unique_ptr<TControlCanvas> FCanvas;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FShowingChanging = false;
    // Visible as a description set it, applied after OnCreate.
    bool FVisibleRequested = false;
    Integer FPendingClientWidth = 0;
    Integer FPendingClientHeight = 0;
    win::HWND FClientHandle = nullptr;
    std::vector<TCustomForm*> FMDIChildList;
    TMenuItem* FWindowMenu = nullptr;
    // The frame this child was made in, while it lists it.
    TCustomForm* FMDIFrame = nullptr;
    // The child last told it is active.
    TCustomForm* FMDIActiveChild = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

struct TMonitor {
    win::HMONITOR Handle = nullptr;
    Integer MonitorNum = 0;
    bool Primary = false;
    TRect BoundsRect;
    TRect WorkareaRect;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The forms, the one that had the focus last first; new forms go last.
    Integer FormCount() const { return Integer(FForms.size()); }
    TCustomForm* Forms(Integer AIndex) const { return FForms.at(size_t(AIndex)); }
    Integer CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(Integer AIndex) const { return Forms(AIndex); }
    TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
    TCustomForm* ActiveForm() const { return FActiveCustomForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* FocusedForm() const { return FFocusedForm; }

    Integer Width() const;
    Integer Height() const;
    TRect DesktopRect() const;
    // The primary monitor's work area.
    TRect WorkAreaRect() const;
    Integer MonitorCount() const;
    TMonitor Monitors(Integer AIndex) const;
    // The monitor with the largest part of the window (the nearest).
    TMonitor MonitorFromWindow(win::HWND AWindow) const;

    // A cursor other than crDefault shows everywhere until set back.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor AValue);
    // The cursor shape of a TCursor; nil for crNone.
    win::HCURSOR Cursors(TCursor AIndex) const;

private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm* AForm);
    void RemoveForm(TCustomForm* AForm);
    void FormFocused(TCustomForm* AForm, TWinControl* AControl);

    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveCustomForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    // Forms focused before a modal form, restored after it.
    std::vector<TCustomForm*> FSaveFocusedList;
    TCursor FCursor = crDefault;
};

// The hint window: a borderless topmost popup in the info colours.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // Shows AHint at ARect (screen) without taking the focus.
    virtual void ActivateHint(TRect ARect, const String& AHint);
    // The screen-sized rectangle AHint needs, at most AMaxWidth wide.
    virtual TRect CalcHintRect(Integer AMaxWidth, const String& AHint);
    void ReleaseHandle();
    void Paint() override;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
};

using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
template <typename T>
THintWindowClass HintWindowClassOf() {
    return [](TComponent* AOwner) -> THintWindow* { return new T(AOwner); };
}

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;
    Integer HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    Integer ReshowTimeout = 0;
    Integer HideTimeout = 0;
    String HintStr;
};

using TMessageEvent = std::function<void(win::MSG& Msg, bool& Handled)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // The hidden application window, made on first use: forms are its owned
    // windows, and it takes the minimize and restore of the whole program.
    win::HWND Handle();
    // The first form created.
    TCustomForm* MainForm() const { return FMainForm; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& AValue);
    const String& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& AValue) { FHelpFile = AValue; }
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* AValue) { FIcon->Assign(AValue); }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool AValue) { FMainFormOnTaskBar = AValue; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool AValue) { FShowMainForm = AValue; }

    // Makes a form of class T owned by the application, sets AReference
    // before it reads its description (its OnCreate may use it), and makes
    // the first one the main form.
    template <typename T>
    void CreateForm(T*& AReference) {
        T* form = new T(this);
        AReference = form;
        try {
            AddCreatedForm(form);
        } catch (...) {
            AReference = nullptr;
            throw;
        }
    }

    // Shows the main form (unless ShowMainForm is off) and runs the message
    // loop until Terminate; a loop whose input can no longer arrive ends too.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every message pending now; may be called from any handler.
    void ProcessMessages();
    // One message, or the idle work and a wait when there is none.
    void HandleMessage();
    void Minimize();
    void Restore();

    // For the exception being handled (call inside a catch): EAbort is
    // silent; otherwise OnException, or the exception box.
    void HandleException(TObject* ASender);
    // The same for an exception raised while AControl painted, without
    // opening a box from inside painting (its modal loop would paint and
    // raise again): the control is told (PaintFailed) and each message is
    // reported once, from the message loop after the painting.
    void HandlePaintException(TControl* AControl);
    void ShowException(const Exception& AException);
    // A modal box with ACaption, the stock icon of the MB_ICON... flags
    // (which also choose the sound), AText and one OK button; returns IDOK.
    Integer MessageBox(const String& AText, const String& ACaption, Cardinal AFlags);

    // Hints.
    bool ShowHint() const { return FShowHint; }
    // Turning it off and on makes a new hint window of HintWindowClass.
    void SetShowHint(bool AValue);
    const THintWindowClass& HintWindowClass() const { return FHintWindowClass; }
    void SetHintWindowClass(THintWindowClass AValue) { FHintWindowClass = std::move(AValue); }
    THintWindow* HintWindow() const { return FHintWindow; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor AValue) { FHintColor = AValue; }
    Integer HintPause() const { return FHintPause; }
    void SetHintPause(Integer AValue) { FHintPause = AValue; }
    Integer HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(Integer AValue) { FHintShortPause = AValue; }
    Integer HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(Integer AValue) { FHintHidePause = AValue; }
    // The mouse moved over AControl (from its WndProc).
    void HintMouseMessage(TControl* AControl, TMessage& AMessage);
    void CancelHint();
    void ActivateHint(TPoint ACursorPos);

    TMessageEvent OnMessage;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMinimize;
    TShowHintEvent OnShowHint;
    TIdleEvent OnIdle;
    TExceptionEvent OnException;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TCustomForm;
    friend void ControlGone(TControl* AControl);
    void AddCreatedForm(TCustomForm* AForm);
    // One message of a modal loop; false when there is none and no input
    // can arrive any more.
    bool HandleModalMessage();
    // The mouse tracking that sends CM_MOUSEENTER and CM_MOUSELEAVE.
    void InstallHooks();
    void ForgetControl(TControl* AControl);
    bool ProcessMessage(win::MSG& AMsg);
    bool IsKeyMsg(win::MSG& AMsg);
    bool IsHintMsg(const win::MSG& AMsg);
    // OnException, or the exception box.
    void ReportException(TObject* ASender, const Exception& AException);
    void Idle();
    void WndProc(TMessage& AMessage);
    void HintTimerExpired();
    void StartHintTimer(Cardinal AInterval, bool AHiding);
    void StopHintTimer();
    void HideHint();
    // The point where the hint control is no longer under the mouse.
    void MouseTracked(win::HWND AWindow, win::POINT AScreen);

    win::HWND FHandle = nullptr;
    win::WNDPROC FObjectInstance = nullptr;
    TCustomForm* FMainForm = nullptr;
    String FTitle;
    String FHelpFile;
    std::unique_ptr<TIcon> FIcon;
    bool FMainFormOnTaskBar = false;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FShowHint = true;
    THintWindowClass FHintWindowClass;
    THintWindow* FHintWindow = nullptr;
    TColor FHintColor = clInfoBk;
    Integer FHintPause = 500;
    Integer FHintShortPause = 50;
    Integer FHintHidePause = 2500;
    TControl* FHintControl = nullptr;
    TControl* FMouseControl = nullptr;
    bool FHintActive = false;
    bool FHintShown = false;
    TRect FHintCursorRect;
    static constexpr win::ULONG_PTR HintTimerId = 1;
    bool FHintTimerHiding = false;
    Integer FModalLevel = 0;
    // The paint errors reported so far, by message.
    std::set<String> FPaintErrors;
};

// The global objects: the application and the screen.
extern TApplication* Application;
extern TScreen* Screen;
