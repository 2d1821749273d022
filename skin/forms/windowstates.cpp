// Window states of a skinned form, done by moving and sizing its own window:
// minimize to a caption strip (or the application's minimize for the main
// form), maximize to the work area and back, roll-up to the caption; the
// size limits from the skin; snapping to the work area's edges; alpha and
// shadow; centring on the monitor; the animation timers; and the dimmed or
// blurred copy of the client area while the form is inactive.
#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskintoolbars.h"
#include "skin/core/qxeffects.h"
#include "skin/core/qxutils.h"
#include "skin/core/qxskinmessages.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/layeredframe.h"

using namespace win;

// A copy of the form's client area laid over it while the form is inactive.
class TqxClientInActivePanel : public TqxSkinPaintPanel {
public:
    explicit TqxClientInActivePanel(TComponent* AOwner) : TqxSkinPaintPanel(AOwner) { SetVisible(false); }

    void Paint() override {
        if (Buffer) Buffer->Draw(Canvas(), 0, 0);
    }

    void ShowPanel(TCustomForm* AForm, TqxClientInActiveEffect AEffect) {
        const Integer width = AForm->ClientWidth(), height = AForm->ClientHeight();
        if (!AForm->Visible() || !AForm->HandleAllocated() || width == 0 || height == 0) return;
        Hide();
        SetParent(AForm);
        SetBounds(0, 0, width, height);
        Buffer = std::make_unique<TqxBitmap>();
        Buffer->SetSize(width, height);
        // What the form shows now, read from its surface: a paint cycle here
        // would validate areas still waiting to be painted.
        const HWND window = AForm->Handle();
        const HDC dc = GetDC(window);
        BitBlt(Buffer->DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        Buffer->SetAlpha(255);
        if (AEffect == qxieBlur) {
            BlurBitmap(Buffer.get(), 3);
        } else {
            TqxBitmap background;
            background.SetSize(width, height);
            SendMessageW(window, WM_ERASEBKGND, WPARAM(background.DC()), 0);
            background.SetAlpha(170);
            background.SetAlphaBlend(true);
            background.Draw(Buffer.get(), 0, 0);
        }
        BringToFront();
        Show();
    }

    void HidePanel() {
        Hide();
        Buffer.reset();
    }

    std::unique_ptr<TqxBitmap> Buffer;
};

void TqxDravenfold::SetWindowState(TWindowState Value) {
    FWindowStateInit = Value;
    if (DesigningOrLoading()) return;
    ApplyWindowState(Value);
    // A refused change snaps the property back.
    FWindowStateInit = FWindowState;
}

void TqxDravenfold::ApplyWindowState(TWindowState Value) {
    if (!FSkinnableForm) {
        FForm->SetWindowState(Value);
        return;
    }
    if (Value == FWindowState) return;
    const TWindowState old = FWindowState;
    if (Value != wsMinimized || (!IsMainForm() && !FMinimizeDefault)) FWindowState = Value;
    switch (Value) {
        case wsNormal:
            // A roll-up that came while maximized goes with the maximize.
            if (old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) FRollUpState = false;
            FRollUpBeforeMaximize = false;
            DoRestore();
            break;
        case wsMinimized:
            DoMinimize();
            break;
        case wsMaximized:
            FRollUpBeforeMaximize = FRollUpState;
            DoMaximize();
            break;
    }
}

void TqxDravenfold::DoMinimize() {
    if (IsMainForm()) {
        if (Application && Application->MainFormOnTaskBar() && FBorderLayer->Visible()) FBorderLayer->Hide();
        if (Application) Application->Minimize();
    } else if (FMinimizeDefault) {
        FForm->SetWindowState(wsMinimized);
    } else {
        if (IsRectDegenerate(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
        TPoint p;
        FindMinimizedPlace(p);
        // A full-border frame's caption strip stands on the area's bottom.
        if (FullBorderFrameShown())
            p = Point(p.X + FBorderLayer->LeftSize,
                      p.Y - FBorderLayer->BottomSize - FBorderLayer->FData->RollUpFormHeight + 10);
        FForm->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
        if (IsMDIChild()) {
            SendToMainForm(SKINMSG_MDICHILDRESTORED);
            SendToMainForm(SKINMSG_MDIRESTOREALLEXCEPT, WPARAM(FForm->Handle()));
        }
    }
    if (OnMinimize) OnMinimize(this);
}

void TqxDravenfold::FindMinimizedPlace(TPoint& P) {
    TRect area;
    if (IsMDIChild()) {
        const TRect client = GetMDIClientArea();
        area = Rect(0, 0, client.Width(), client.Height());
    } else {
        GetMonitorWorkArea(FForm->Handle(), true, area);
    }
    // At least a pixel a slot, and every slot tried once: a full area ends
    // the search at the bottom-left slot.
    const Integer w = std::max(GetMinWidth(), 1), h = std::max(GetMinHeight(), 1);
    const auto taken = [&](Integer X, Integer Y) {
        if (!Screen) return false;
        for (Integer i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form == FForm || (Application && form == Application->MainForm()) || !form->Visible() ||
                (form->FormStyle() == fsMDIChild) != IsMDIChild())
                continue;
            TqxDravenfold* other = FindDravenfold(form);
            if (other && other->WindowState() == wsMinimized && form->Left() == X && form->Top() == Y)
                return true;
        }
        return false;
    };
    const Integer columns = std::max(area.Width() / w, 1), rows = std::max(area.Height() / h, 1);
    Integer x = area.Left, y = area.Bottom - h;
    for (Integer tried = 0; taken(x, y); ++tried) {
        if (tried + 1 >= Int64(columns) * rows) {
            x = area.Left;
            y = area.Bottom - h;
            break;
        }
        x += w;
        if (x + w > area.Right) {
            x = area.Left;
            y -= h;
            if (y < area.Top) {
                y = area.Bottom - h;
                break;
            }
        }
    }
    P = Point(x, y);
}

void TqxDravenfold::DoMaximize() {
    if (IsRectDegenerate(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
    if (IsMDIChild()) {
        MouseTimer->SetEnabled(false);
        TrackActiveObject(-1, -1, false);
        const TRect client = GetMDIClientArea();
        const Integer width = FForm->Width(), height = FForm->Height();
        FForm->SetBounds(0, 0, client.Width(), client.Height());
        if (FForm->Width() == width && FForm->Height() == height) NudgeFormWidth();
        SendToMainForm(SKINMSG_MDICHILDMAXIMIZED);
        if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
        if (OnMaximize) OnMaximize(this);
        return;
    }
    TRect work, monitor, screen;
    GetMonitorWorkArea(FForm->Handle(), true, work);
    GetMonitorWorkArea(FForm->Handle(), false, monitor);
    GetScreenWorkArea(false, screen);
    TRect r = FMaximizeOnFullScreen ? monitor : work;
    // With a task bar that hides itself the work area is the whole monitor:
    // a pixel left free on each side keeps the bar reachable.
    if (work.Width() == monitor.Width() && work.Height() == monitor.Height() && monitor == screen)
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    // A full-border frame stays with the maximized form, inside the area.
    if (FullBorderFrameShown())
        r = Rect(r.Left + FBorderLayer->LeftSize, r.Top + FBorderLayer->TopSize,
                 r.Right - FBorderLayer->RightSize, r.Bottom - FBorderLayer->BottomSize);
    FForm->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
    if (OnMaximize) OnMaximize(this);
    if (FBorderLayer->Visible() && !FBorderLayer->IsFullBorder()) FBorderLayer->Hide();
}

void TqxDravenfold::DoRestore() {
    MaxRollUpState = false;
    const Integer width = FForm->Width(), height = FForm->Height();
    if (UsesLayeredFrame() && !FBorderLayer->Visible() && FForm->Visible()) {
        FBorderLayer->FActive = GetFormActive();
        FBorderLayer->ShowWithForm();
    }
    if (FStartShow) {
        FStartShow = false;
        const TPoint at = GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                               OldBoundsRect.Height());
        FForm->SetBounds(at.X, at.Y, OldBoundsRect.Width(), OldBoundsRect.Height());
    } else if (!IsRectDegenerate(OldBoundsRect)) {
        // The frame goes ahead of the form to its restored place.
        if (FBorderLayer->Visible())
            FBorderLayer->SetBoundsWithForm3(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                             OldBoundsRect.Height());
        FForm->SetBoundsRect(OldBoundsRect);
    }
    MouseTimer->SetEnabled(true);
    if (FForm->Width() == width && FForm->Height() == height) NudgeFormWidth();
    if (FForm->HandleAllocated()) FForm->Repaint();
    if (IsMDIChild()) {
        SendToMainForm(SKINMSG_MDICHILDRESTORED);
        SendToMainForm(SKINMSG_MDIRESTOREALL);
    }
    OldBoundsRect = TRect{};
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
    if (OnRestore) OnRestore(this);
}

void TqxDravenfold::SetRollUpState(bool Value) {
    if (!FBorderIcons.Contains(TqxBorderIcon::biRollUp) || FWindowState == wsMinimized) return;
    if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState) return;
    if (FWindowStateInit == wsMaximized) MaxRollUpState = Value;
    FRollUpState = Value;
    if (Value) {
        OldHeight = FForm->Height();
        RollUpForm();
    } else if (FClientHeight != 0) {
        FForm->SetClientHeight(FClientHeight);
    } else {
        RollDownForm();
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TqxDravenfold::RollUpForm() {
    // A full-border frame changes to its roll-up height only on a size change.
    if (FullBorderFrameShown() && FForm->Height() == GetMinHeight()) {
        FForm->SetHeight(GetMinHeight() + 1);
        OldHeight = FForm->Height();
    }
    FForm->SetHeight(GetMinHeight());
}

void TqxDravenfold::RollDownForm() {
    FForm->SetHeight(OldHeight);
}

Integer TqxDravenfold::RealHeight() const {
    return FRollUpState ? OldHeight : FFormHeight;
}

Integer TqxDravenfold::GetMinWidth() const {
    if (!FSkinSupport) return FMinWidth > 0 ? FMinWidth : 120;
    const bool minimized = FWindowState == wsMinimized;
    const Integer picture = FSD->FPicture->Width();
    if (picture < FMinWidth && !minimized) return FMinWidth;
    if (FSD->FormMinWidth > 0)
        return FMinWidth > FSD->FormMinWidth && !minimized ? FMinWidth : FSD->FormMinWidth;
    return picture;
}

Integer TqxDravenfold::GetMinHeight() const {
    const bool collapsed = FRollUpState || FWindowState == wsMinimized;
    if (!FSkinSupport) {
        const Integer caption = GetDefCaptionHeight() + 6;
        return caption >= FMinHeight || collapsed ? caption : FMinHeight;
    }
    const Integer frame = FSD->FPicture->Height() - FSD->ClRect.Height();
    // The layered full border is the whole frame: the form may shrink to a strip.
    if (UsesLayeredFrame() && FSD->LayerFrame()->FullBorder)
        return frame >= FMinHeight || collapsed ? 10 : FMinHeight;
    if (FSD->FormMinHeight != 0)
        return FMinHeight > FSD->FormMinHeight && !collapsed ? FMinHeight : FSD->FormMinHeight;
    return FMinHeight > frame && !collapsed ? FMinHeight : frame;
}

Integer TqxDravenfold::GetMaxWidth() const {
    if (FMaxWidth != 0) return FMaxWidth;
    TRect area;
    GetMonitorWorkArea(FForm->Handle(), !FMaximizeOnFullScreen, area);
    return area.Width();
}

Integer TqxDravenfold::GetMaxHeight() const {
    if (FMaxHeight != 0) return FMaxHeight;
    TRect area;
    GetMonitorWorkArea(FForm->Handle(), !FMaximizeOnFullScreen, area);
    return area.Height();
}

void TqxDravenfold::SnapToEdges(Integer& X, Integer& Y, Integer W, Integer H) {
    TRect area;
    GetMonitorWorkArea(FForm->Handle(), true, area);
    POINT cursor{};
    GetCursorPos(&cursor);
    const Integer m = FMagneticSize;
    // One edge: the window's side at AValue + AOffset snaps to AEdge when it
    // comes near, holds while the cursor stays within the magnetic size of
    // where it snapped, then follows the cursor again.
    const auto edge = [m](Integer& AValue, Integer AOffset, Integer AEdge, Integer ACursor, Integer& ADown,
                          bool& AMagnetized) {
        const bool isNear = AEdge - m < AValue + AOffset && AValue + AOffset < AEdge + m;
        if (isNear && !AMagnetized) {
            AValue = AEdge - AOffset;
            ADown = ACursor;
        } else if (AMagnetized) {
            AValue = std::abs(ACursor - ADown) > m ? ACursor + AEdge - AOffset - ADown : AEdge - AOffset;
        }
        AMagnetized = isNear;
    };
    // With a hit border the frame's outer edge is what snaps.
    const TqxDataSkinLayerFrame* data = FBorderLayer->FData;
    const bool outer = FBorderLayer->Visible() && data && !IsRectDegenerate(data->BorderRect);
    const Integer left = outer ? FBorderLayer->LeftSize : 0, top = outer ? FBorderLayer->TopSize : 0;
    const Integer right = outer ? FBorderLayer->RightSize : 0, bottom = outer ? FBorderLayer->BottomSize : 0;
    X -= left;
    Y -= top;
    edge(X, 0, area.Left, cursor.x, FOnMouseDownCoord.X, HMagnetized);
    edge(Y, 0, area.Top, cursor.y, FOnMouseDownCoord.Y, VMagnetized);
    edge(X, W + left + right, area.Right, cursor.x, FOnMouseDownCoord.X, HMagnetized2);
    edge(Y, H + top + bottom, area.Bottom, cursor.y, FOnMouseDownCoord.Y, VMagnetized2);
    X += left;
    Y += top;
}

void TqxDravenfold::SetAlphaBlend(bool Value) {
    if (Value == FAlphaBlend) return;
    FAlphaBlend = Value;
    if (!ComponentState().Empty() || !FIsLayerEnabled || !FForm->HandleAllocated()) return;
    const HWND handle = FForm->Handle();
    const LONG_PTR style = GetWindowLongW(handle, GWL_EXSTYLE);
    if (Value) {
        if (!(style & WS_EX_LAYERED)) SetWindowLongW(handle, GWL_EXSTYLE, style | WS_EX_LAYERED);
        SetWindowAlpha(handle, FAlphaBlendValue);
    } else {
        SetWindowLongW(handle, GWL_EXSTYLE, style & ~LONG_PTR(WS_EX_LAYERED));
    }
}

void TqxDravenfold::SetAlphaBlendValue(Byte Value) {
    if (Value == FAlphaBlendValue) return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend && ComponentState().Empty() && FIsLayerEnabled && FForm->HandleAllocated())
        SetWindowAlpha(FForm->Handle(), FAlphaBlendValue);
}

void TqxDravenfold::AnimateTimerProc(TObject*) {
    bool busy = false;
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects) {
        if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get())) {
            if (animate->Active && (!animate->FDown || IsRectDegenerate(animate->DownSkinRect))) {
                busy = true;
                animate->ChangeFrame();
            }
            continue;
        }
        auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get());
        if (!caption || !caption->EnableAnimation()) continue;
        if (caption->Active ? caption->CurrentFrame > caption->FrameCount : caption->CurrentFrame <= 0)
            continue;
        busy = true;
        if (caption->FIncTime < caption->AnimateInterval) {
            caption->FIncTime += 25;
            continue;
        }
        caption->CurrentFrame += caption->Active ? 1 : -1;
        DrawSkinObject(caption);
        caption->FIncTime = 25;
    }
    if (!busy) AnimateTimer->SetEnabled(false);
}

void TqxDravenfold::MorphTimerProc(TObject*) {
    bool busy = false;
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects)
        if (object->EnableMorphing() && object->CanMorphing()) {
            object->DoMorphing();
            busy = true;
        }
    if (!busy) MorphTimer->SetEnabled(false);
}

void TqxDravenfold::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
    if (!FIsLayerEnabled || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    if (AHideFormBefore) FForm->Hide();
    const HWND handle = FForm->Handle();
    const ULONG_PTR style = GetClassLongW(handle, GCL_STYLE);
    SetClassLongW(handle, GCL_STYLE,
                  LONG_PTR(AShowShadow ? style | CS_DROPSHADOW : style & ~ULONG_PTR(CS_DROPSHADOW)));
    if (AHideFormBefore) FForm->Show();
}

TPoint TqxDravenfold::GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) const {
    if (FPositionInMonitor == qxpDefault) return Point(AX, AY);
    TRect area;
    GetMonitorWorkArea(FForm->Handle(), FPositionInMonitor == qxpDesktopCenter, area);
    return Point(area.Left + (area.Width() - AW) / 2, area.Top + (area.Height() - AH) / 2);
}

void TqxDravenfold::ApplyPositionInMonitor() {
    if (FPositionInMonitor == qxpDefault) return;
    const TPoint at = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(at.X, at.Y, FForm->Width(), FForm->Height());
}

void TqxDravenfold::SetFormBorderStyle(TFormBorderStyle BS) {
    FForm->SetBorderStyle(BS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TqxDravenfold::SetFormStyle(TFormStyle FS) {
    if (FS != fsNormal && FS != fsStayOnTop) return;
    FForm->SetFormStyle(FS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TqxDravenfold::ShowClientInActiveEffect() {
    HideClientInActiveEffect();
    // The form owns it with its other controls, so it goes with the form.
    FInActivePanel = new TqxClientInActivePanel(FForm);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TqxDravenfold::HideClientInActiveEffect() {
    if (!FInActivePanel) return;
    FInActivePanel->HidePanel();
    Free(FInActivePanel);
    FInActivePanel = nullptr;
}
