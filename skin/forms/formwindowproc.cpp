// The form's window procedure: every message of a skinned form passes here
// before (or instead of) the form's own procedure. The non-client messages
// are answered without the native frame, the geometry follows every size,
// the fade-in runs on show, non-client mouse input reaches the frame
// objects, and open skin menus close whenever the user does something else.
#include <algorithm>

#include "platform/base/clock.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxutils.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/layeredframe.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinhint.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

TPoint CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return Point(p.x, p.y);
}

TPoint LParamPoint(LPARAM AValue) {
    return Point(GET_X_LPARAM(AValue), GET_Y_LPARAM(AValue));
}

constexpr ULONG_PTR FadeTimerId = 1;

}  // namespace

void TqxDravenfold::CallOldWindowProc(TMessage& Message) {
    if (OldWindowProc) OldWindowProc(Message);
}

bool TqxDravenfold::FrameDrawn() const {
    // A maximized MDI child fills the client area without a frame.
    return FForm->BorderStyle() != bsNone && !(IsMDIChild() && FWindowStateInit == wsMaximized);
}

bool TqxDravenfold::FrameFits() const {
    // Only top-level windows are held to the minimum track size; a child
    // form (the skin dialog's miniature) keeps the size it is given, and a
    // frame left undrawn there shows the bare surface.
    if (FForm->Parent()) return true;
    return FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight();
}

bool TqxDravenfold::IsToolWindow() const {
    return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin;
}

Integer TqxDravenfold::GetDefCaptionHeight() const {
    return IsToolWindow() ? 15 : 19;
}

Integer TqxDravenfold::GetDefButtonSize() const {
    return IsToolWindow() ? 13 : 17;
}

bool TqxDravenfold::IsSizeable() const {
    return FAlwaysResize || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

void TqxDravenfold::ScreenToWindowPoint(TPoint& P) const {
    const TPoint origin = WindowScreenOrigin();
    P.X -= origin.X;
    P.Y -= origin.Y;
}

void TqxDravenfold::FormWindowProc(TMessage& Message) {
    // A form on its way out only lets its window go.
    if (FForm->ComponentState().Contains(csDestroying)) {
        // An MDI main form still hears that a child goes.
        if (Message.Msg == WM_DESTROY) MDIMessage(Message);
        return CallOldWindowProc(Message);
    }
    const std::shared_ptr<bool> alive = FAlive;
    CloseMenusOnMessage(Message);
    if (LayeredFrameBefore(Message)) return;
    if (MDIMessage(Message) || !*alive) return;
    const bool skinned = FSkinnableForm;
    bool passOn = true;
    switch (Message.Msg) {
        case WM_DESTROY:
            MouseTimer->SetEnabled(false);
            MorphTimer->SetEnabled(false);
            AnimateTimer->SetEnabled(false);
            break;
        case WM_SIZE:
            WMSize(Message);
            passOn = false;
            break;
        case WM_ACTIVATE:
            if (!skinned) break;
            CallOldWindowProc(Message);
            if (!*alive) return;
            SendToForm(WM_NCPAINT);
            ResetObjectStates();
            SetCaptionActive(true);
            passOn = false;
            break;
        case WM_SETTEXT:
            if (!skinned) break;
            CallOldWindowProc(Message);
            if (!*alive) return;
            if (FrameDrawn()) UpDateFormNC();
            passOn = false;
            break;
        case WM_ERASEBKGND: {
            const HDC dc = reinterpret_cast<HDC>(Message.WParam);
            if (FSkinSupport) {
                if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
                    PaintBG3(dc);
                else if (FSD->BGPictureIndex == -1)
                    PaintBG(dc);
                else
                    PaintBG2(dc);
            } else {
                PaintBGDefault(dc);
            }
            passOn = false;
            break;
        }
        case WM_SHOWWINDOW:
            WMShowWindow(Message);
            break;
        case WM_SETCURSOR:
            if (skinned && FUseFormCursorInNCArea) {
                const int code = SHORT(LOWORD(ULONG_PTR(Message.LParam)));
                if (code < HTLEFT || code > HTBOTTOMRIGHT)
                    Message.LParam = MAKELPARAM(WORD(HTCLIENT), HIWORD(ULONG_PTR(Message.LParam)));
            }
            break;
        case WM_GETMINMAXINFO:
            if (skinned && Message.LParam) {
                auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
                info->ptMinTrackSize = POINT{GetMinWidth(), GetMinHeight()};
                info->ptMaxTrackSize = POINT{GetMaxWidth(), GetMaxHeight()};
            }
            break;
        case WM_WINDOWPOSCHANGED:
            if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam)) {
                if (!(pos->flags & SWP_NOMOVE)) {
                    FFormLeft = pos->x;
                    FFormTop = pos->y;
                }
                if (!FSizing) {
                    FOldFormLeft = FFormLeft;
                    FOldFormTop = FFormTop;
                }
            }
            break;
        case WM_DISPLAYCHANGE:
            if (FrameDrawn() && (GetMaxWidth() < FForm->Width() || GetMaxHeight() < FForm->Height()))
                NudgeFormWidth();
            break;
        case WM_NCCALCSIZE:
            if (!skinned) break;
            WMNCCalcSize(Message);
            passOn = false;
            break;
        case WM_NCHITTEST:
            if (!skinned) break;
            WMNCHitTest(Message);
            passOn = false;
            break;
        case WM_NCPAINT:
            if (!skinned) break;
            if (FrameDrawn()) {
                if (FSkinSupport)
                    PaintNCSkin(nullptr, false);
                else if (!FStopPainting)
                    PaintNCDefault(nullptr, false);
            }
            passOn = false;
            break;
        case WM_NCACTIVATE:
            if (!skinned) break;
            WMNCActivate(Message);
            passOn = false;
            break;
        case WM_SYNCPAINT:
            if (skinned && FRollUpState) {
                SendToForm(WM_NCPAINT);
                Message.Result = 0;
                passOn = false;
            }
            break;
        case WM_SYSCOMMAND:
            WMSysCommand(Message);
            passOn = Message.WParam != SC_KEYMENU;
            break;
        case WM_TIMER:
            if (Message.WParam == FadeTimerId) WMTimer(Message);
            break;
        case WM_SIZING:
            if (FSizeMove && FFullDrag) {
                WMSizing(Message);
                passOn = false;
            }
            break;
        case WM_MOVING:
            if (skinned) WMMoving(Message);
            break;
        case WM_ENTERSIZEMOVE:
            if (!skinned) break;
            FOnMouseDownCoord = CursorPos();
            ResetObjectStates();
            MouseTimer->SetEnabled(false);
            ActiveObject = MouseCaptureObject = -1;
            FSizeMove = true;
            {
                BOOL full = FALSE;
                SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
                FFullDrag = full != FALSE;
            }
            break;
        case WM_EXITSIZEMOVE:
            if (!skinned) break;
            if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
                FFormLeft = FForm->Left();
                FFormTop = FForm->Top();
                FFormWidth = FForm->Width();
                FFormHeight = FForm->Height();
                UpdateSkinGeometry(true);
            }
            FSizing = FSizeMove = false;
            MouseTimer->SetEnabled(false);
            ActiveObject = OldActiveObject = MouseCaptureObject = -1;
            if (FSD && !FSD->Empty) SendToForm(WM_NCPAINT);
            break;
        case SKINMSG_CHANGING:
        case SKINMSG_CHANGE:
        case SKINMSG_CHANGED:
        case SKINMSG_MENUCLOSED:
        case SKINMSG_RESSTRINGS:
        case SKINMSG_SKINNABLEFORM:
        case SKINMSG_RESTOREFROMTRAY:
        case SKINMSG_EFFECTBEGIN:
        case SKINMSG_EFFECTEND:
            SkinMessage(Message);
            if (!*alive) return;
            break;
        case SKINMSG_QUERYSKINNED:
            Message.Result = skinned || !FIsVistaOs ? SKINMSG_ANSWER_SKINNED : SKINMSG_ANSWER_NATIVE;
            passOn = false;
            break;
        case SKINMSG_PAINTTODC:
            if (!skinned) break;
            if (Message.WParam && FrameDrawn()) {
                PaintToDC(reinterpret_cast<HDC>(Message.WParam));
                Message.Result = SKINMSG_ANSWER_PAINTED;
            }
            passOn = false;
            break;
        case SKINMSG_PAINTFRAMETODC:
            if (!skinned || Message.LParam != SKINMSG_PAINTKEY) break;
            if (Message.WParam && FrameDrawn()) PaintToDC(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = SKINMSG_PAINTKEY;
            passOn = false;
            break;
        default:
            break;
    }
    if (passOn) {
        CallOldWindowProc(Message);
        if (!*alive) return;
    }
    MDIAfterMessage(Message);
    if (!*alive) return;
    AfterOldProc(Message);
    if (*alive) LayeredFrameAfter(Message);
}

void TqxDravenfold::PaintToDC(HDC ADC) {
    if (FSkinSupport)
        PaintNCSkin(ADC, true);
    else
        PaintNCDefault(ADC, true);
}

void TqxDravenfold::CloseMenusOnMessage(const TMessage& Message) {
    if (!IsMenuCloseMessage(Message.Msg)) return;
    if (FShowObjectHint && FSkinHint) FSkinHint->HideHint();
    if (FInMainMenu && !FInMenu) {
        CloseMainMenu();
    } else if (FSkinMenu && (FSkinMenu->Visible() || FInMenu)) {
        // Hidden also when it shows nothing: an empty popup's opener waits
        // for this close, and the menu tells the form in turn.
        FSkinMenu->Hide();
    } else if (IsMDIForm() && FForm->Visible()) {
        if (TqxDravenfold* child = FindActiveChildDravenfold()) child->CloseMenusOnMessage(Message);
    }
    CancelChildModes();
}

void TqxDravenfold::WMSize(TMessage& Message) {
    if (FSizeMove && FFullDrag) {
        CallOldWindowProc(Message);
        if (!FLogoBitMap->Empty()) FForm->Repaint();
        return;
    }
    const std::shared_ptr<bool> alive = FAlive;
    CallOldWindowProc(Message);
    if (!*alive) return;
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    if (!FSkinSupport) {
        if (FSkinnableForm) {
            UpdateSkinRegion(true);
            SendToForm(WM_NCPAINT);
        }
    } else if (FSD && FSkinnableForm && FrameFits()) {
        UpdateSkinGeometry(true);
    }
    if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled) {
        SendToForm(WM_NCPAINT);
        FForm->Repaint();
    }
    if (!FLogoBitMap->Empty()) FForm->Repaint();
}

void TqxDravenfold::WMNCCalcSize(TMessage& Message) {
    if (!FrameDrawn() || !Message.LParam) return;
    RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0];
    if (FSD && !FSD->Empty) {
        CalcSkinRects();
        const TSize picture = PictureSize();
        r.left += FSD->ClRect.Left;
        r.top += FSD->ClRect.Top;
        r.right -= picture.cx - FSD->ClRect.Right;
        r.bottom -= picture.cy - FSD->ClRect.Bottom;
    } else {
        r.left += 3;
        r.top += GetDefCaptionHeight() + 3;
        r.right -= 3;
        r.bottom -= 3;
    }
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
}

void TqxDravenfold::WMNCHitTest(TMessage& Message) {
    TPoint p = LParamPoint(Message.LParam);
    ScreenToWindowPoint(p);
    Message.Result = FSkinSupport ? SkinHitTest(p) : DefaultHitTest(p);
    if (Message.Result == HTOBJECT && !MouseTimer->Enabled()) {
        TrackActiveObject(p.X, p.Y, true);
        MouseTimer->SetEnabled(true);
    }
}

void TqxDravenfold::WMNCActivate(TMessage& Message) {
    if (FSkinMenu && FSkinMenu->Visible()) FSkinMenu->Hide();
    if (FLayerManager->IsVisible()) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
    FFormActive = Message.WParam != 0;
    if (!FFormActive) TrackActiveObject(-1, -1, false);
    // The native caption is never drawn.
    Message.Result = 1;
    if (FrameDrawn()) {
        SendToForm(WM_NCPAINT);
        SetCaptionActive(true);
    } else {
        SetCaptionActive(false);
    }
    if (FForm->Visible() && FClientInActiveEffect) {
        if (FFormActive)
            HideClientInActiveEffect();
        else
            ShowClientInActiveEffect();
    }
}

void TqxDravenfold::WMShowWindow(TMessage& Message) {
    if (!FSkinnableForm) {
        if (Message.WParam) {
            if (FStartShow && FPositionInMonitor == qxpDefault) FStartShow = false;
            if (FStartShow && FWindowState == wsNormal) {
                FStartShow = false;
                ApplyPositionInMonitor();
            }
            if (FIsLayerEnabled &&
                (FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows()))) {
                const HWND handle = FForm->Handle();
                SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) | WS_EX_LAYERED);
                SetWindowAlpha(handle, 0);
                SetTimer(handle, FadeTimerId, 1, nullptr);
            }
        }
        return;
    }
    if (!Message.WParam) {
        if (FLayerManager->IsVisible()) FLayerManager->Hide();
        if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
        return;
    }
    InstallAppRestore();
    if (FStartShow && FPositionInMonitor == qxpDefault) FStartShow = false;
    if (FStartShow && FWindowState == wsNormal) {
        FStartShow = false;
        ApplyPositionInMonitor();
    }
    const bool allWindows = FSD && FSD->AnimationForAllWindows();
    if (allWindows && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
    if ((FIsLayerEnabled && (FAlphaBlend || FAlphaBlendAnimation || allWindows)) || NeedsLayeredShow()) {
        const HWND handle = FForm->Handle();
        if (FIsVistaOs && !DisableDWMAnimation) {
            EnableDwmTransitions(handle, false);
            DisableDWMAnimation = true;
        }
        SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(handle, 0);
        // The frame comes first, transparent, and grows opaque with the form.
        if (UsesLayeredFrame() && (FForm->Visible() || FForm->Tag() == SKINTAG_TRAYRESTORE) &&
            (FWindowState != wsMaximized || FBorderLayer->IsFullBorder())) {
            FBorderLayer->CheckFormAlpha(0, false);
            FBorderLayer->ShowWithForm();
        }
        SetTimer(handle, FadeTimerId, 1, nullptr);
    }
    NudgeFormWidth();
    // The skinned menu bar takes the native menu's place; its short cuts stay.
    if (TMainMenu* menu = FForm->Menu()) {
        if (!FMainMenu) {
            FMainMenu = menu;
            FMainMenu->FreeNotification(this);
        }
        FForm->SetMenu(nullptr);
    }
}

void TqxDravenfold::WMTimer(TMessage&) {
    if (NeedsLayeredShow()) return EndLayeredShow();
    const bool allWindows = FSD && FSD->AnimationForAllWindows();
    if (!FIsLayerEnabled || !(FAlphaBlend || FAlphaBlendAnimation || allWindows)) return;
    const HWND handle = FForm->Handle();
    KillTimer(handle, FadeTimerId);
    // The focused button's next morph step jumps to its hover look: it shows
    // as it will once the form is there.
    if (auto* button = dynamic_cast<TqxSkinButton*>(FForm->ActiveControl())) button->FStopAnimate = true;
    FadeIn();
}

void TqxDravenfold::EndLayeredShow() {
    const HWND handle = FForm->Handle();
    KillTimer(handle, FadeTimerId);
    SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_LAYERED));
    if (UsesLayeredFrame() && (FForm->Visible() || FForm->Tag() == SKINTAG_TRAYRESTORE)) {
        FBorderLayer->FActive = GetFormActive();
        FBorderLayer->CheckFormAlpha(255, true);
    }
}

void TqxDravenfold::FadeIn() {
    const HWND handle = FForm->Handle();
    const bool allWindows = FSD && FSD->AnimationForAllWindows();
    const Integer target = (FAlphaBlendAnimation || allWindows) && !FAlphaBlend ? 255 : FAlphaBlendValue;
    if (FAlphaBlendAnimation || allWindows) {
        const Integer step = std::max(target / 15, 1);
        if (Application) Application->ProcessMessages();
        Integer alpha = 0;
        Cardinal last = 0;
        // Blocks the GUI thread for about 15 steps of more than 5 ms, without
        // pumping messages, so nothing repaints half-faded.
        while (alpha < target) {
            if (Cardinal(GetTickCount() - last) > 5) {
                last = GetTickCount();
                alpha = std::min(alpha + step, target);
                SetWindowAlpha(handle, Byte(alpha));
                if (UsesLayeredFrame()) FBorderLayer->CheckFormAlpha(alpha, true);
            }
        }
    } else if (target != 255) {
        SetWindowAlpha(handle, FAlphaBlendValue);
    }
    if (target == 255)
        SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

void TqxDravenfold::WMSizing(TMessage& Message) {
    FSizing = true;
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    CallOldWindowProc(Message);
    const auto* r = reinterpret_cast<const RECT*>(Message.LParam);
    if (!r) return;
    FFormWidth = std::max(Integer(r->right - r->left), GetMinWidth());
    FFormHeight = std::max(Integer(r->bottom - r->top), GetMinHeight());
    if (!FSD || FSD->Empty) {
        if (FSkinnableForm) UpdateSkinRegion(true);
    } else if (FSkinnableForm && FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight() &&
               (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
        UpdateSkinGeometry(true);
    }
}

void TqxDravenfold::WMMoving(TMessage& Message) {
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    if (!r) return;
    if (FWindowState == wsMaximized) {
        *r =
            RECT{FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height()};
    } else if (FMagnetic) {
        Integer x = r->left, y = r->top;
        const Integer w = FForm->Width(), h = FForm->Height();
        SnapToEdges(x, y, w, h);
        *r = RECT{x, y, x + w, y + h};
    }
}

void TqxDravenfold::WMSysCommand(TMessage& Message) {
    if (Message.WParam == SC_RESTORE) {
        if (OnRestore) OnRestore(this);
    } else if (Message.WParam == SC_KEYMENU) {
        // Alt alone never enters a native menu mode: the skinned bar takes
        // the keyboard, Alt with a letter opens that letter's item.
        if (FInMainMenu) {
            CloseMainMenu();
        } else {
            if (FSkinMenu && FSkinMenu->Visible()) SkinMenuClose();
            if (FMainMenuBar && FMainMenuBar->Visible()) {
                const Word key = LOWORD(Message.LParam);
                if (key == 0)
                    FMainMenuBar->EnterMenuMode();
                else
                    FMainMenuBar->HandleAccel(key);
            }
            if (FSkinRibbon) RibbonKeyMenu();
        }
    }
}

void TqxDravenfold::SkinMessage(TMessage& Message) {
    auto* sender = reinterpret_cast<TqxSkinData*>(Message.WParam);
    switch (Message.Msg) {
        case SKINMSG_CHANGING:
            if (sender != FSD) return;
            // The outer bounds were saved before the layered frame went.
            FStopPainting = true;
            FSkinSupport = false;
            MouseTimer->SetEnabled(false);
            MorphTimer->SetEnabled(false);
            AnimateTimer->SetEnabled(false);
            ClearObjects();
            BeforeChangeControls(sender, FForm);
            if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
            return;
        case SKINMSG_CHANGE:
            FStopPainting = false;
            if (sender == FSD) RebuildSkinObjects();
            ChangeControlsSkinData(sender, FForm);
            return;
        case SKINMSG_CHANGED:
            if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
            return;
        case SKINMSG_MENUCLOSED:
            SkinMenuClose();
            return;
        case SKINMSG_RESSTRINGS:
            UpdateObjectHints();
            return;
        case SKINMSG_SKINNABLEFORM:
            if (!FUseRibbon && FSD && sender == FSD) SetSkinnableForm(FSD->SkinnableForm());
            return;
        case SKINMSG_RESTOREFROMTRAY:
            if (FForm->Tag() != SKINTAG_TRAYRESTORE) return;
            if (UsesLayeredFrame()) {
                if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
                    SetForegroundWindow(Application->MainForm()->Handle());
                BringStayOnTopForms();
            }
            FForm->SetTag(0);
            return;
        case SKINMSG_EFFECTBEGIN:
            FSmartEffectsShow = true;
            return;
        case SKINMSG_EFFECTEND:
            FSmartEffectsShow = false;
            return;
        default:
            return;
    }
}

void TqxDravenfold::AfterOldProc(TMessage& Message) {
    if (!FSkinnableForm) {
        if (Message.Msg == WM_LBUTTONUP) ObjectsMouseUp(mbLeft, -1, -1);
        if (Message.Msg == WM_RBUTTONUP) ObjectsMouseUp(mbRight, -1, -1);
        return;
    }
    TPoint p = LParamPoint(Message.LParam);
    switch (Message.Msg) {
        case WM_NCMOUSEMOVE:
            ScreenToWindowPoint(p);
            ObjectsMouseMove(p.X, p.Y);
            break;
        case WM_NCLBUTTONDOWN:
            // A move or size loop that has not ended yet still owns the press.
            if (FSizeMove) {
                FSizeMove = false;
                break;
            }
            ScreenToWindowPoint(p);
            TrackActiveObject(p.X, p.Y, true);
            ObjectsMouseDown(mbLeft, p.X, p.Y);
            if (Message.WParam == HTCAPTION) MouseCaptureObject = -1;
            break;
        case WM_NCLBUTTONUP:
            ScreenToWindowPoint(p);
            ObjectsMouseUp(mbLeft, p.X, p.Y);
            break;
        case WM_NCLBUTTONDBLCLK:
            ScreenToWindowPoint(p);
            TrackActiveObject(p.X, p.Y, true);
            ObjectsMouseDown(mbLeft, p.X, p.Y);
            ObjectsDblClick();
            if (Message.WParam == HTCAPTION) {
                CaptionDblClick();
                MouseCaptureObject = -1;
            }
            break;
        case WM_NCRBUTTONDOWN:
            if (Message.WParam != HTCAPTION) break;
            MouseCaptureObject = -1;
            if (!FDisableSystemMenu) {
                const TPoint cursor = CursorPos();
                PopupSystemMenu(cursor.X, cursor.Y);
            }
            break;
        case WM_NCRBUTTONDBLCLK:
            if (Message.WParam == HTCAPTION) MouseCaptureObject = -1;
            break;
        case WM_LBUTTONUP:
            ObjectsMouseUp(mbLeft, -1, -1);
            break;
        case WM_RBUTTONUP:
            ObjectsMouseUp(mbRight, -1, -1);
            break;
        default:
            break;
    }
}

void TqxDravenfold::CaptionDblClick() {
    const bool sizeable = IsSizeable();
    if (sizeable && FWindowStateInit == wsMinimized) {
        SetWindowState(wsNormal);
    } else if (sizeable && FWindowStateInit != wsMaximized && !FRollUpState &&
               FBorderIcons.Contains(TqxBorderIcon::biMaximize)) {
        SetWindowState(wsMaximized);
    } else if (sizeable && FWindowStateInit == wsMaximized && !MaxRollUpState) {
        SetWindowState(wsNormal);
    } else {
        SetRollUpState(!FRollUpState);
    }
}

void TqxDravenfold::HookAppMessage() {
    if (FInAppHook || !Application) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessageHook(Msg, Handled); };
    FInAppHook = true;
}

void TqxDravenfold::UnhookAppMessage() {
    if (!FInAppHook) return;
    if (Application) Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
    FInAppHook = false;
}

void TqxDravenfold::AppMessageHook(MSG& Msg, bool& Handled) {
    if (Msg.message == WM_KEYDOWN) {
        TMessage message{Msg.message, Msg.wParam, Msg.lParam, 0};
        MenuKeyDown(message);
        Msg.message = 0;
        Handled = true;
    } else if (Msg.message == WM_MOUSEWHEEL) {
        Msg.message = 0;
        Handled = true;
    }
}

void TqxDravenfold::MenuKeyDown(TMessage& Message) {
    const Word key = LOWORD(Message.WParam);
    if (FInMainMenu && MainMenuBarKey(key)) return;
    if (key == VK_ESCAPE && FInMainMenu && !FInMenu) {
        CloseMainMenu();
        return;
    }
    if (FInMainMenu && FMainMenuBar) {
        if (key == VK_LEFT && CanMainMenuMoveLeft()) {
            FMainMenuBar->PrevItem();
            return;
        }
        if (key == VK_RIGHT && CanMainMenuMoveRight()) {
            FMainMenuBar->NextItem();
            return;
        }
    }
    if (!FSkinMenu) return;
    if ((key == VK_RETURN || key == VK_DOWN) && MainMenuBarOpenItem()) return;
    if (FSkinMenu->Visible() && FSkinMenu->PopupCount() > 0) FSkinMenu->PopupKeyDown(key);
    if (key == VK_ESCAPE && FSkinMenu->PopupCount() == 0) {
        if (FInMainMenu)
            MainMenuPopupClosed();
        else
            SkinMenuClose();
    }
}
