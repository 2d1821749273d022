// Controls: the visual components with a parent, bounds, alignment, fonts,
// colours, message dispatch, painting, mouse and keyboard, and focus.
//
// How a control is written:
// - A control with its own window (it takes the focus, holds children)
//   derives from TCustomControl, which adds Canvas and Paint to TWinControl.
//   A control without a window, drawn on its parent and fed its mouse input
//   by the parent, derives from TGraphicControl.
// - The constructor sets the defaults: ControlStyle, the size (SetBounds),
//   Color, TabStop. Published properties are registered for form
//   descriptions with RegisterClass in published.h, next to the class.
// - Drawing goes in Paint(), on Canvas(), which is bound to the paint DC
//   for the call (client coordinates; a graphic control's origin is its own
//   top-left corner). Invalidate/Repaint/Update ask for it; never paint
//   outside Paint except through Canvas() of a graphic control.
// - Input: override MouseDown/MouseMove/MouseUp (calling the base, which
//   raises the events), Click/DblClick, and for windowed controls
//   KeyDown/KeyPress/KeyUp and DoEnter/DoExit.
// - Messages by number: override Dispatch(TMessage&) with a switch on
//   Message.Msg; handled cases return, "inherited" handling is a call of the
//   base class's Dispatch, and every number nobody handles ends in
//   DefaultHandler (for windowed controls: the window's default procedure).
//   WndProc runs before Dispatch for every message (mouse capture, hints,
//   graphic children's mouse input); WindowProc is the replaceable hook in
//   front of WndProc. Perform sends a message straight to the control.
// - Keys a windowed control keeps for itself: answer WM_GETDLGCODE with
//   DLGC_WANTARROWS, DLGC_WANTTAB, DLGC_WANTALLKEYS or DLGC_WANTCHARS, or
//   CM_WANTSPECIALKEY with 1. Default and cancel buttons answer
//   CM_DIALOGKEY, accelerators CM_DIALOGCHAR (IsAccel in menus.h).
// - Window styles: override CreateParams, calling the base first.
//   RecreateWnd makes the window again from the current properties.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/set.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/controlmessages.h"
#include "platform/toolkit/geometry.h"
#include "platform/toolkit/graphicsobjects.h"
#include "platform/win/window.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TBasicActionLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign>;
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csActionClient,
    csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    // The control paints a copy of itself (e.g. as a parent's background).
    csPaintCopy,
    csDestroyingHandle
};
using TControlState = TSet<TControlStateItem>;

// Also the forms' border styles; controls use bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Where text sits across and down a control.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Cursors: the screen's cursor list (TScreen::Cursors).
using TCursor = SmallInt;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;

// Min and max sizes of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(class TControl* AControl) : FControl(AControl) {}
    void Assign(TPersistent* ASource) override;

    Integer MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(Integer AValue);
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer AValue);
    Integer MinHeight() const { return FMinHeight; }
    void SetMinHeight(Integer AValue);
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer AValue);

    TNotifyEvent OnChange;

private:
    void Change(Integer& AField, Integer AValue);

    class TControl* FControl;
    Integer FMaxHeight = 0;
    Integer FMaxWidth = 0;
    Integer FMinHeight = 0;
    Integer FMinWidth = 0;
};

// A canvas that draws on a control: the paint DC while the control paints,
// otherwise a DC of its window (a graphic control: of its parent's window,
// moved to the control and clipped to it), taken on first use and given
// back when the control moves, loses its window or the application idles.
class TControlCanvas : public TCanvas {
public:
    ~TControlCanvas() override;
    class TControl* Control() const {
        return FControl;
    }
    void SetControl(class TControl* AControl);
    // Gives back a DC this canvas took (not a paint DC it was handed).
    void FreeHandle();
    win::HWND WindowHandle() const { return FWindowHandle; }

protected:
    void CreateHandle() override;

private:
    class TControl* FControl = nullptr;
    win::HDC FDeviceContext = nullptr;
    win::HWND FWindowHandle = nullptr;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Parent and place.
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    Integer Left() const { return FLeft; }
    void SetLeft(Integer AValue) { SetBounds(AValue, FTop, FWidth, FHeight); }
    Integer Top() const { return FTop; }
    void SetTop(Integer AValue) { SetBounds(FLeft, AValue, FWidth, FHeight); }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer AValue) { SetBounds(FLeft, FTop, AValue, FHeight); }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer AValue) { SetBounds(FLeft, FTop, FWidth, AValue); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& ARect) {
        SetBounds(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
    }
    // Left and top in the parent's client coordinates (the screen's for a
    // form). The size passes CanResize, AutoSize and Constraints first.
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    // (0, 0, Width, Height), or the window's client area.
    virtual TRect ClientRect();
    Integer ClientWidth() { return ClientRect().Width(); }
    void SetClientWidth(Integer AValue);
    Integer ClientHeight() { return ClientRect().Height(); }
    void SetClientHeight(Integer AValue);
    virtual void SetClientSize(Integer AWidth, Integer AHeight);
    // The client area's top-left corner on the screen.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint APoint);
    TPoint ScreenToClient(TPoint APoint);

    // Alignment within the parent.
    TAlign Align() const { return FAlign; }
    virtual void SetAlign(TAlign AValue);
    TAnchors Anchors() const { return FAnchors; }
    virtual void SetAnchors(TAnchors AValue);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* AValue) { FConstraints->Assign(AValue); }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool AValue);
    // Applies AutoSize and Constraints to the current size.
    void AdjustSize();
    // Asks the parent to lay its children out again.
    virtual void RequestAlign();

    // State.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool AValue);
    void Show();
    void Hide();
    // Visible with every parent up to a form.
    bool IsControlVisible() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool AValue);
    String Caption() const { return GetText(); }
    void SetCaption(const String& AValue) { SetText(AValue); }
    virtual String GetText() const { return FText; }
    // Through WM_SETTEXT (window hooks see it), then CM_TEXTCHANGED.
    virtual void SetText(const String& AValue);
    String Text() const { return GetText(); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* AValue) { FFont->Assign(AValue); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool AValue);
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor AValue);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool AValue);
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue) { FHint = AValue; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool AValue);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool AValue);
    // A right click, Shift+F10 or the menu key pops it up (TPopupMenu::AutoPopup).
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    virtual void SetPopupMenu(TPopupMenu* AValue);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor AValue);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle AValue) { FControlStyle = AValue; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState AValue) { FControlState = AValue; }
    TBiDiMode BiDiMode() const { return bdLeftToRight; }
    // Left-to-right only: the flags come back unchanged.
    Cardinal DrawTextBiDiModeFlags(Cardinal AFlags) const { return AFlags; }
    bool MouseCapture() const;
    void SetMouseCapture(bool AValue);

    // Messages.
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(TWndMethod AValue) { FWindowProc = std::move(AValue); }
    // Straight to WindowProc, no queue.
    win::LRESULT Perform(win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam);
    virtual void WndProc(TMessage& AMessage);
    // The message methods: a switch on the number; see the header comment.
    virtual void Dispatch(TMessage& AMessage);
    virtual void DefaultHandler(TMessage& AMessage);

    // Painting.
    virtual void Invalidate();
    // At once: an opaque graphic control paints straight onto its parent.
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    // A DC of the window this control draws on, moved and clipped to it.
    virtual win::HDC GetDeviceContext(win::HWND& AWindowHandle);
    // Its painting raised (told by the application's paint-error handling):
    // nothing here; a control with a plainer look of its own falls back to it.
    virtual void PaintFailed() {}

    // Z-order among the parent's children.
    void BringToFront();
    void SendToBack();

    // Mouse and keyboard.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);
    virtual void MouseMove(TShiftState AShift, Integer X, Integer Y);
    virtual void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);

    // Actions.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* AValue);
    TBasicActionLink* ActionLink() const { return FActionLink.get(); }
    // The linked action changed: copies what it has (CheckDefaults: only
    // where the control still holds its default).
    virtual void ActionChange(TObject* Sender, bool ACheckDefaults);

    // Layout hooks.
    // Whether the control may take the size; may change it.
    virtual bool CanResize(Integer& ANewWidth, Integer& ANewHeight);
    // With AutoSize: the size the content wants; false keeps the size.
    virtual bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight);
    virtual void Resize();
    void Loaded() override;
    void SetName(const String& AValue) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // Invalidates the control's rectangle on its parent's window.
    void InvalidateControl(bool AIsVisible, bool AIsOpaque);
    void UpdateAnchorRules();
    // Sets the bounds fields alone (the window already has them).
    void StoreBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    // CM_... handlers the descendants call as their base handling.
    void CMParentFontChanged(TMessage& AMessage);
    void CMParentColorChanged(TMessage& AMessage);
    virtual void VisibleChanging() {}

    TControlStyle FControlStyle;
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TBasicActionLink;

    void DoMouseDown(TMessage& AMessage, TMouseButton AButton, TShiftState AShift);
    void DoMouseUp(TMessage& AMessage, TMouseButton AButton);
    void WMButtonDown(TMessage& AMessage, TMouseButton AButton, bool ADouble);
    void WMButtonUp(TMessage& AMessage, TMouseButton AButton);
    void WMContextMenu(TMessage& AMessage);
    void FontChanged();
    void SendCancelMode();
    bool CheckNewSize(Integer& AWidth, Integer& AHeight);
    void ApplyConstraints(Integer& AWidth, Integer& AHeight);

    TWinControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    // For anchors: the parent's client size and the distances when set.
    TPoint FAnchorRules;
    TPoint FOriginalParentSize;
    bool FAnchorMove = false;
    std::unique_ptr<TSizeConstraints> FConstraints;
    bool FAutoSize = false;
    bool FVisible = true;
    bool FEnabled = true;
    String FText;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TCursor FCursor = crDefault;
    TWndMethod FWindowProc;
    std::unique_ptr<TBasicActionLink> FActionLink;
};

struct TCreateParams {
    String Caption;
    win::DWORD Style = 0;
    win::DWORD ExStyle = 0;
    Integer X = 0;
    Integer Y = 0;
    Integer Width = 0;
    Integer Height = 0;
    win::HWND WndParent = nullptr;
    // The class's style, cursor and background; the procedure is the toolkit's.
    win::WNDCLASSEXW WindowClass{};
    String WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // The window, made on first use (the parent's first).
    win::HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // A top-level window's owner when the control has no parent.
    win::HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(win::HWND AValue);
    // Visible with every parent, and its window shown.
    bool Showing() const { return FShowing; }
    // Destroys the window (keeping text and state) and makes it again when
    // the control shows or is asked for its handle.
    void RecreateWnd();
    // Painting of the window: PaintWindow is called with the paint DC.
    virtual void PaintWindow(win::HDC ADC);
    void PaintHandler(TMessage& AMessage);
    // Paints the graphic children from AFirst (nil: all) up, in z-order, each
    // on ADC moved to its place and clipped to it.
    void PaintControls(win::HDC ADC, TControl* AFirst);
    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    win::HDC GetDeviceContext(win::HWND& AWindowHandle) override;

    // Children: graphic children first, then windowed ones, each group in
    // z-order from the bottom up.
    Integer ControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
    TControl* Controls(Integer AIndex) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* AControl) const;
    // The first windowed child (children only, not theirs) whose name is
    // AName exactly, case included; nil when none is.
    TWinControl* FindChildControl(const String& AName) const;
    // The topmost visible (AllowDisabled: or disabled) child at the point,
    // graphic children before windowed ones.
    TControl* ControlAtPos(TPoint APos, bool AAllowDisabled, bool AAllowWinControls = false);
    // Performs the message on every child until one answers non-zero.
    void Broadcast(TMessage& AMessage);

    // Alignment of the children.
    void DisableAlign();
    void EnableAlign();
    void Realign();
    // Lays out the children in ARect: alTop, alBottom, alLeft, alRight,
    // alClient in that order, then the anchored ones. AControl goes first
    // among the controls of its alignment.
    virtual void AlignControls(TControl* AControl, TRect& ARect);
    // The area the aligned children share; the client rectangle by default.
    virtual void AdjustClientRect(TRect& ARect);
    void ScrollBy(Integer ADeltaX, Integer ADeltaY);
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;

    // Focus and tab order.
    bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool AValue);
    // The place among the parent's windowed children in tab order; -1 outside one.
    Integer TabOrder() const;
    void SetTabOrder(Integer AValue);
    // Windowed children in tab order, each followed by its own list.
    void GetTabOrderList(std::vector<TWinControl*>& AList);
    TWinControl* FindNextControl(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop,
                                 bool ACheckParent);
    void SelectNext(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop);

    // The brush that erases the background (the control's colour).
    TBrush* Brush() const { return FBrush.get(); }

    // Keyboard.
    virtual void KeyDown(Word& AKey, TShiftState AShift);
    virtual void KeyPress(char16_t& AKey);
    virtual void KeyUp(Word& AKey, TShiftState AShift);
    virtual void DoEnter();
    virtual void DoExit();

    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void SetParent(TWinControl* AParent) override;
    void SetText(const String& AValue) override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Window life cycle.
    virtual void CreateParams(TCreateParams& AParams);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& AParams);
    virtual void DestroyWnd();
    virtual void CreateHandle();
    void DestroyHandle();
    void UpdateControlState();

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void Loaded() override;
    // Shows or hides the window as Showing changed.
    virtual void CMShowingChanged(TMessage& AMessage);
    void UpdateShowing();
    // Moves the window below the next windowed sibling that has one.
    void PlaceInZOrder();
    // The window procedure the class had before the toolkit's (the system's
    // default procedure for the toolkit's own classes).
    win::WNDPROC DefWndProc() const { return FDefWndProc; }

private:
    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;

    friend class TWindowHookup;
    void MainWndProc(TMessage& AMessage);
    bool IsControlMouseMsg(TMessage& AMessage);
    void AlignControl(TControl* AControl);
    void DoPosition(TControl* AControl, TAlign AAlign, TRect& ARect);
    void SetZOrderOf(TControl* AControl, bool ATopMost);
    void WMPaint(TMessage& AMessage);
    void WMSize(TMessage& AMessage);
    void WMWindowPosChanged(TMessage& AMessage);
    void WMSetFocus(TMessage& AMessage);
    void CNKeyDown(TMessage& AMessage);
    void CNChar(TMessage& AMessage);
    void CNSysKeyDown(TMessage& AMessage);
    void CNSysChar(TMessage& AMessage);
    bool IsMenuKey(TMessage& AMessage);
    bool DoKey(TMessage& AMessage);
    void UpdateBounds();
    void ReflectToChild(TMessage& AMessage, win::HWND AChild);
    void RemoveFocus(bool ARemoving);
    void NotifyControls(win::UINT AMsg);
    void FixupTabList();
    void WMSetCursor(TMessage& AMessage);

    win::HWND FHandle = nullptr;
    win::HWND FParentWindow = nullptr;
    win::WNDPROC FObjectInstance = nullptr;
    win::WNDPROC FDefWndProc = nullptr;
    bool FShowing = false;
    bool FTabStop = false;
    // The tab order a description asked for, applied once it is read.
    Integer FTabOrderRequest = -1;
    Integer FAlignLevel = 0;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FWinControls;
    std::vector<TWinControl*> FTabList;
    std::unique_ptr<TBrush> FBrush;
};

// A windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }
    virtual void Paint() {}
    void PaintWindow(win::HDC ADC) override;
    void DestroyWnd() override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// A control without a window: painted on its parent's window, which hands it
// its mouse input.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }
    virtual void Paint() {}
    void Dispatch(TMessage& AMessage) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetParent(TWinControl* AParent) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The toolkit control of a window, nil for a window of no control.
TWinControl* FindControl(win::HWND AWindow);
// The control of AWindow or of its nearest ancestor that has one.
TWinControl* FindVCLWindow(TPoint AScreenPoint);
// The form a control sits on (the control itself for a form), nil for none.
TCustomForm* GetParentForm(TControl* AControl);
// Shift state from the mouse key flags of a mouse message, or from the key
// data of a key message and the keyboard state.
TShiftState KeysToShiftState(win::WPARAM AKeys);
TShiftState KeyDataToShiftState(win::LPARAM AKeyData);
// The graphic control that holds the mouse, or the windowed one.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* AControl);

// Whether a control still exists after a handler, a pumped message or a
// fade that may have freed it.
bool ControlAlive(const TControl* AControl);
class WeakControl {
public:
    explicit WeakControl(const TControl* AControl) : FControl(AControl) {}
    bool Alive() const { return ControlAlive(FControl); }

private:
    const TControl* FControl;
};
