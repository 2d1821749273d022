// The animated frame object: its frame steps on the form component's
// animation timer, its looks by state, and its button behaviour.
#include "skin/forms/animateobject.h"

#include <algorithm>

#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinmenus.h"

TqxSkinAnimateObject::TqxSkinAnimateObject(TqxDravenfold* AParent, TqxDataSkinObject* AData)
    : TqxActiveSkinObject(AParent, AData) {
    auto* data = dynamic_cast<TqxDataSkinAnimate*>(AData);
    if (!data) return;
    TimerInterval = std::max(data->TimerInterval, 25);
    // A strip of no frames is one frame: cell 1 lies inside the strip.
    CountFrames = std::max(data->CountFrames, 1);
    Cycle = data->Cycle;
    ButtonStyle = data->ButtonStyle;
    Command = data->Command;
    DownSkinRect = data->DownSkinRect;
    RestoreRect = data->RestoreRect;
    RestoreActiveRect = data->RestoreActiveRect;
    RestoreInActiveRect = data->RestoreInActiveRect;
    RestoreDownRect = data->RestoreDownRect;
    RestoreHint = data->RestoreHint;
    FTempHint = data->Hint;
}

bool TqxSkinAnimateObject::IsRestoreState() const {
    switch (Command) {
        case cmMaximize:
            return Parent->WindowState() == wsMaximized;
        case cmMinimize:
            return Parent->WindowState() == wsMinimized;
        case cmRollUp:
            return Parent->RollUpState();
        default:
            return false;
    }
}

void TqxSkinAnimateObject::SetFrame(Integer Value) {
    if (Increment)
        FFrame = Value > CountFrames ? 1 : Value;
    else
        FFrame = Value <= 0 ? CountFrames : Value;
    Parent->DrawSkinObject(this);
}

void TqxSkinAnimateObject::Start() {
    FInc = 25;
    FFrame = 1;
    Active = true;
    if (!Parent->AnimateTimer->Enabled()) Parent->AnimateTimer->SetEnabled(true);
}

void TqxSkinAnimateObject::Stop() {
    SetFrame(1);
    Active = false;
    FInc = 25;
}

void TqxSkinAnimateObject::ChangeFrame() {
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame == CountFrames) Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame == 1) Active = false;
    }
    FInc = 25;
}

void TqxSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
    if (!HasSkin() || !ActivePicture) return;
    TRect g = SkinRect, d = DownSkinRect, i = InActiveSkinRect;
    if (IsRestoreState() && !IsRectDegenerate(RestoreRect)) {
        g = RestoreRect;
        d = RestoreDownRect;
        i = RestoreInActiveRect;
    }
    const Integer w = g.Width(), h = g.Height();
    const auto cell = [&](Integer N) { return Rect(g.Left + w * (N - 1), g.Top, g.Left + w * N, g.Top + h); };
    TRect look;
    if (!FMenuTracking) {
        if (!Parent->GetFormActive() && !IsRectDegenerate(i))
            look = i;
        else if (FDown && FMouseIn && !IsRectDegenerate(d))
            look = d;
        else
            look = cell(FFrame);
    } else if (!IsRectDegenerate(d)) {
        look = d;
    } else {
        FFrame = CountFrames;
        look = cell(FFrame);
    }
    CopyLook(Cnvs, ObjectRect, ActivePicture, look);
}

void TqxSkinAnimateObject::ShowLayer() {
    ShowGlowIn(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TqxSkinAnimateObject::HideLayer() {
    if (!CanShowGlow()) return;
    (MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager)->Hide();
}

void TqxSkinAnimateObject::Animate() {
    if (!FDown || IsRectDegenerate(DownSkinRect))
        Parent->AnimateTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

void TqxSkinAnimateObject::MouseEnter() {
    if (Command != cmDefault) Hint = IsRestoreState() && !RestoreHint.empty() ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        Animate();
    }
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TqxSkinAnimateObject::MouseLeave() {
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        Animate();
    }
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TqxSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
    TqxActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == mbLeft && !IsRectDegenerate(DownSkinRect)) {
        FFrame = CountFrames;
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft) ExecuteCommand();
}

void TqxSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
    TqxActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking) return;
    if (Button == mbLeft && !IsRectDegenerate(DownSkinRect)) {
        FDown = false;
        Parent->DrawSkinObject(this);
        Parent->AnimateTimer->SetEnabled(true);
    }
    if (Command != cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft) ExecuteCommand();
}

void TqxSkinAnimateObject::DblClick() {
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TqxSkinAnimateObject::ExecuteCommand() {
    const auto clearHover = [this] { Parent->TrackActiveObject(-1, -1, false); };
    switch (Command) {
        case cmClose:
            clearHover();
            Parent->Form()->Close();
            break;
        case cmMaximize:
            clearHover();
            Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
            break;
        case cmMinimize:
            clearHover();
            if (Parent->AlwaysMinimizeToTray())
                Parent->MinimizeToTray();
            else
                Parent->SetWindowState(Parent->WindowState() == wsMinimized ? wsNormal : wsMinimized);
            break;
        case cmSysMenu:
            MenuItem = Parent->GetSystemMenuItems();
            TrackMenu();
            break;
        case cmDefault:
            if (MenuItem) TrackMenu();
            break;
        case cmRollUp:
            Parent->SetRollUpState(!Parent->RollUpState());
            break;
        case cmMinimizeToTray:
            clearHover();
            Parent->MinimizeToTray();
            break;
    }
}

void TqxSkinAnimateObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return;
    const TRect r = ScreenObjectRect();
    FMenuTracking = true;
    if (Parent->FLayerManager->IsVisible()) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible()) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    if (auto* popup = dynamic_cast<TqxSkinPopupMenu*>(MenuItem->GetParentMenu())) {
        popup->PopupFromRect(r, FPopupUp);
        return;
    }
    if (!Parent->SkinMenu()) return;
    Parent->SkinMenuOpen();
    TqxSkinData* skin = Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData();
    Parent->SkinMenu()->Popup(nullptr, skin, 0, r, MenuItem, FPopupUp);
}
