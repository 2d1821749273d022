// Caption buttons: pressed, disabled and restore looks, the menu of a
// button, the standard commands, and the built-in look without a skin.
#include "skin/forms/captionbuttons.h"

#include "skin/core/qxdrawing.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinmenus.h"

TqxSkinButtonObject::TqxSkinButtonObject(TqxDravenfold* AParent, TqxDataSkinObject* AData)
    : TqxActiveSkinObject(AParent, AData) {
    if (auto* data = dynamic_cast<TqxDataSkinButton*>(AData)) {
        DownRect = data->DownRect;
        DisableSkinRect = data->DisableSkinRect;
    }
}

void TqxSkinButtonObject::ShowLayer() {
    ShowGlowIn(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TqxSkinButtonObject::HideLayer() {
    if (CanShowGlow()) (MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager)->Hide();
}

bool TqxSkinButtonObject::CanMorphing() {
    return !(MenuItem && FDown) && TqxActiveSkinObject::CanMorphing();
}

void TqxSkinButtonObject::SetDown(bool AValue) {
    FDown = AValue;
    if (EnableMorphing() && Active) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown) StartMorph();
}

void TqxSkinButtonObject::DrawButtonLook(TCanvas* Cnvs, bool UpDate) {
    if (!HasSkin()) return;
    if (!Enabled && !IsRectDegenerate(DisableSkinRect)) {
        CopyLook(Cnvs, ObjectRect, ActivePicture, DisableSkinRect);
        return;
    }
    if (FDown && FMouseIn && !IsRectDegenerate(DownRect)) {
        CopyLook(Cnvs, ObjectRect, ActivePicture, DownRect);
        return;
    }
    TqxActiveSkinObject::Draw(Cnvs, UpDate);
}

void TqxSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    DrawButtonLook(Cnvs, UpDate);
}

void TqxSkinButtonObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return;
    TqxFormSkinMenu* menu = Parent->SkinMenu();
    if (!menu) return;
    if (Parent->FLayerManager->IsVisible()) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible()) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    const TRect r = ScreenObjectRect();
    TMenu* owner = MenuItem->GetParentMenu();
    // A skinned popup menu opens itself: its own skin data, its OnPopup and
    // OnMenuClose, and the main form's chain for an MDI child.
    if (auto* popup = dynamic_cast<TqxSkinPopupMenu*>(owner)) return popup->PopupFromRect(r, FPopupUp);
    Parent->SkinMenuOpen();
    TqxSkinData* skin = nullptr;
    if (auto* mainMenu = dynamic_cast<TqxSkinMainMenu*>(owner))
        skin = mainMenu->SkinData();
    else
        skin = Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData();
    menu->Popup(nullptr, skin, 0, r, MenuItem, FPopupUp);
}

void TqxSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
    if (!Enabled) return;
    if (Button == mbLeft && !FDown) {
        SetDown(true);
        TrackMenu();
    }
    TqxActiveSkinObject::MouseDown(X, Y, Button);
}

void TqxSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
    if (!Enabled) return;
    if (Button == mbLeft && !MenuItem && FDown) SetDown(false);
    TqxActiveSkinObject::MouseUp(X, Y, Button);
}

void TqxSkinButtonObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (IsRectDegenerate(DownRect) || !FDown) {
        if (!IsRectDegenerate(ActiveSkinRect)) StartMorph();
        if (MenuItem) ShowLayer();
    } else {
        if (EnableMorphing()) SetMorphKf(1);
        Parent->DrawSkinObject(this);
    }
    Parent->DoMouseEnterEvent(IDName);
    if (!MenuItem) ShowLayer();
}

void TqxSkinButtonObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    // A button whose menu is open keeps its pressed look and glow.
    if (!MenuItem || !FDown) {
        if (MenuItem) HideLayer();
        Parent->DrawSkinObject(this);
        StartMorph();
    }
    Parent->DoMouseLeaveEvent(IDName);
    if (!MenuItem) HideLayer();
}

TqxSkinStdButtonObject::TqxSkinStdButtonObject(TqxDravenfold* AParent, TqxDataSkinObject* AData)
    : TqxSkinButtonObject(AParent, AData) {
    auto* data = dynamic_cast<TqxDataSkinStdButton*>(AData);
    if (!data) return;
    Command = data->Command;
    RestoreRect = data->RestoreRect;
    RestoreActiveRect = data->RestoreActiveRect;
    RestoreInActiveRect = data->RestoreInActiveRect;
    RestoreDownRect = data->RestoreDownRect;
    RestoreHint = data->RestoreHint;
    FTempHint = data->Hint;
    AlphaMaskPictureIndex = data->AlphaMaskPictureIndex;
    AlphaMaskActivePictureIndex = data->AlphaMaskActivePictureIndex;
    AlphaMaskInActivePictureIndex = data->AlphaMaskInActivePictureIndex;
    FAlphaNormalImage = data->FAlphaNormalImage.get();
    FAlphaActiveImage = data->FAlphaActiveImage.get();
    FAlphaDownImage = data->FAlphaDownImage.get();
    FAlphaInActiveImage = data->FAlphaInActiveImage.get();
    FAlphaRestoreNormalImage = data->FAlphaRestoreNormalImage.get();
    FAlphaRestoreActiveImage = data->FAlphaRestoreActiveImage.get();
    FAlphaRestoreDownImage = data->FAlphaRestoreDownImage.get();
    FAlphaInActiveRestoreImage = data->FAlphaInActiveRestoreImage.get();
    FSkinSupport = true;
}

bool TqxSkinStdButtonObject::IsIconCase() const {
    return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture;
}

bool TqxSkinStdButtonObject::IsRestoreState() const {
    switch (Command) {
        case cmMaximize:
            return Parent->WindowState() == wsMaximized;
        case cmMinimize:
            return Parent->WindowState() == wsMinimized &&
                   !(Application && Application->MainForm() == Parent->Form());
        case cmRollUp:
            return Parent->RollUpState();
        default:
            return false;
    }
}

bool TqxSkinStdButtonObject::IsRestoreHintState() const {
    if (Command == cmMinimize) return Parent->WindowState() == wsMinimized;
    return IsRestoreState();
}

void TqxSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TqxBitmap* ABitMap) {
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        if (Parent->IsAlphaIcon) {
            Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
            return;
        }
        const TSize size = Parent->GetIconSize();
        if (size.cx <= 0 || size.cy <= 0) return;
        TqxBitmap icon;
        icon.SetSize(size.cx, size.cy);
        icon.Clear(MaskedColor);
        Parent->DrawFormIcon(icon.Canvas(), 0, 0);
        icon.SetTransparent(true);
        icon.Draw(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const bool restore = IsRestoreState();
    const auto pick = [restore](TqxBitmap* ARestore, TqxBitmap* APlain) {
        return restore && ARestore ? ARestore : APlain;
    };
    TqxBitmap* image;
    if (Parent->FFormActive || IsRectDegenerate(InActiveSkinRect)) {
        if (FDown && !IsRectDegenerate(DownRect) && (Command == cmSysMenu || FMouseIn))
            image = pick(FAlphaRestoreDownImage, FAlphaDownImage);
        else if (FMouseIn && !IsRectDegenerate(ActiveSkinRect))
            image = pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
        else
            image = pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
    } else {
        image = pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
    }
    if (!image || image->Empty() || !ABitMap) return;
    const bool blend = image->AlphaBlend();
    image->SetAlphaBlend(true);
    image->Draw(ABitMap, ObjectRect, Rect(0, 0, image->Width(), image->Height()));
    image->SetAlphaBlend(blend);
}

bool TqxSkinStdButtonObject::PointInMask(Integer X, Integer Y) {
    if (IsIconCase() && FSkinSupport) return true;
    return TqxSkinButtonObject::PointInMask(X, Y);
}

void TqxSkinStdButtonObject::ShowLayer() {
    if (!(IsIconCase() && FSkinSupport)) TqxSkinButtonObject::ShowLayer();
}

void TqxSkinStdButtonObject::HideLayer() {
    if (!(IsIconCase() && FSkinSupport)) TqxSkinButtonObject::HideLayer();
}

bool TqxSkinStdButtonObject::CanMorphing() {
    return !IsIconCase() && TqxSkinButtonObject::CanMorphing();
}

void TqxSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (!FSkinSupport) return DefaultDraw(Cnvs);
    if (!HasSkin()) return;
    // Under the application menu's caption.
    if (Parent->AppMenuCaptionDrawn() && Parent->AppMenuCaptionOffset() > ObjectRect.Left) return;
    if (IsIconCase()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        SetMorphKf(0);
        return;
    }
    const bool restore = IsRestoreState();
    if (!Enabled || (!Parent->GetFormActive() && !IsRectDegenerate(InActiveSkinRect) && !restore))
        return DrawButtonLook(Cnvs, UpDate);
    if (!restore || IsRectDegenerate(RestoreRect)) {
        // The system menu's button stays pressed while its menu is open.
        if (Command == cmSysMenu && FDown && !IsRectDegenerate(DownRect))
            return CopyLook(Cnvs, ObjectRect, ActivePicture, DownRect);
        return DrawButtonLook(Cnvs, UpDate);
    }
    if (!Parent->FFormActive && !IsRectDegenerate(RestoreInActiveRect))
        return CopyLook(Cnvs, ObjectRect, ActivePicture, RestoreInActiveRect);
    if (FDown && FMouseIn && !IsRectDegenerate(RestoreDownRect))
        return CopyLook(Cnvs, ObjectRect, ActivePicture, RestoreDownRect);
    if (EnableMorphing() && !IsRectDegenerate(RestoreActiveRect) &&
        ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0)))
        return DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
    CopyLook(Cnvs, ObjectRect, ActivePicture,
             Active && !IsRectDegenerate(RestoreActiveRect) ? RestoreActiveRect : RestoreRect);
}

void TqxSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap face;
    face.SetSize(w, h);
    TCanvas* c = face.Canvas();
    const TRect whole = Rect(0, 0, w, h);
    if (FMouseIn) {
        c->Brush()->SetColor(FDown ? TColor(0x00E4BCA2) : TColor(0x00F3D4C1));
        c->FillRect(whole);
        DrawFrame3D(c, whole, TColor(0x00B76B3B), TColor(0x00B76B3B));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(whole);
    }
    const Integer x = w / 2 - 5, y = h / 2 - 4;
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    switch (Command) {
        case cmClose:
            DrawCloseGlyph(c, x, y, color);
            break;
        case cmMaximize:
            if (Parent->WindowState() == wsMaximized)
                DrawRestoreGlyph(c, x, y, color);
            else
                DrawMaximizeGlyph(c, x, y, color);
            break;
        case cmMinimize:
            if (Parent->WindowState() == wsMinimized)
                DrawRestoreGlyph(c, x, y, color);
            else
                DrawMinimizeGlyph(c, x, y, color);
            break;
        case cmSysMenu:
            DrawSysMenuGlyph(c, x, y, color);
            break;
        case cmRollUp:
            if (Parent->RollUpState())
                DrawRollDownGlyph(c, x, y, color);
            else
                DrawRollUpGlyph(c, x, y, color);
            break;
        case cmMinimizeToTray:
            DrawMinimizeToTrayGlyph(c, x, y, color);
            break;
        case cmDefault:
            break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &face);
}

void TqxSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TqxSkinStdButtonObject::MouseEnter() {
    if (Command != cmDefault) Hint = IsRestoreHintState() && !RestoreHint.empty() ? RestoreHint : FTempHint;
    if (!IsIconCase()) TqxSkinButtonObject::MouseEnter();
}

void TqxSkinStdButtonObject::MouseLeave() {
    if (!IsIconCase()) TqxSkinButtonObject::MouseLeave();
}

void TqxSkinStdButtonObject::MouseDown(Integer, Integer, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown) return;
    if (!IsIconCase()) SetDown(true);
    // Without the skinned menus there is no system menu to open, and the
    // button acts as a plain one.
    if (Command == cmSysMenu && Parent->SkinMenu()) {
        MenuItem = Parent->GetSystemMenuItems();
        TrackMenu();
    }
}

void TqxSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
    const bool run = Active && Button == mbLeft;
    if (Command == cmClose) {
        // The button is drawn up before the form closes.
        TqxSkinButtonObject::MouseUp(X, Y, Button);
        if (run) ExecuteCommand();
        return;
    }
    if (run) ExecuteCommand();
    if (!IsIconCase()) TqxSkinButtonObject::MouseUp(X, Y, Button);
}

void TqxSkinStdButtonObject::ExecuteCommand() {
    const auto clearHover = [this] { Parent->TrackActiveObject(-1, -1, false); };
    switch (Command) {
        case cmClose:
            clearHover();
            Parent->Form()->Close();
            break;
        case cmMaximize:
            clearHover();
            HideLayer();
            Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
            break;
        case cmMinimize:
            clearHover();
            if (Parent->AlwaysMinimizeToTray()) {
                Parent->MinimizeToTray();
                break;
            }
            HideLayer();
            Parent->SetWindowState(Parent->WindowState() == wsMinimized ? wsNormal : wsMinimized);
            break;
        case cmRollUp:
            Parent->SetRollUpState(!Parent->RollUpState());
            break;
        case cmMinimizeToTray:
            clearHover();
            Parent->MinimizeToTray();
            break;
        case cmSysMenu:
        case cmDefault:
            break;
    }
}
