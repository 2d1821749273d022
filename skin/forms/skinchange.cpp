// A form's part in a skin change: dropping and rebuilding the frame objects,
// the two walks over the form's controls, the caption buttons' states and
// hints, and the sizes the new skin asks for.
#include "platform/win/input.h"
#include "skin/controls/qxskinchange.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxresstrs.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/dravenfold.h"

using namespace win;

namespace {

struct THintText {
    TqxStdCommand Command;
    const char16_t* Key;
    const char16_t* Text;
};

constexpr THintText HintTexts[] = {{cmClose, u"CLOSEBUTTON_HINT", u"Close"},
                                   {cmMaximize, u"MAXBUTTON_HINT", u"Maximize"},
                                   {cmMinimize, u"MINBUTTON_HINT", u"Minimize"},
                                   {cmSysMenu, u"MENUBUTTON_HINT", u"System menu"},
                                   {cmRollUp, u"ROLLUPBUTTON_HINT", u"Roll Up"},
                                   {cmMinimizeToTray, u"TRAYBUTTON_HINT", u"Minimize to Tray"}};

}  // namespace

Integer TqxDravenfold::GetIndex(const String& AIDName) const {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return Integer(i);
    return -1;
}

void TqxDravenfold::SetEnabled(const String& AIDName, bool Value) {
    const Integer index = GetIndex(AIDName);
    if (index != -1) ObjectList[size_t(index)]->Enabled = Value;
}

void TqxDravenfold::ClearObjects() {
    // A press on an object may still hold the mouse: nothing may point into
    // the list once it is empty.
    if (MouseCaptureObject != -1 && !FForm->ComponentState().Contains(csDestroying) &&
        FForm->HandleAllocated() && GetCapture() == FForm->Handle())
        ReleaseCapture();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    ObjectList.clear();
}

void TqxDravenfold::CreateObjectsFromSkin() {
    ClearObjects();
    for (const auto& data : FSD->ObjectList) {
        TqxDataSkinObject* item = data.get();
        // Menu looks belong to the menus.
        if (dynamic_cast<TqxDataSkinMenuItem*>(item) || dynamic_cast<TqxDataSkinMainMenuItem*>(item) ||
            dynamic_cast<TqxDataSkinMainMenuBarButton*>(item))
            continue;
        std::shared_ptr<TqxActiveSkinObject> object;
        if (dynamic_cast<TqxDataSkinStdButton*>(item))
            object = std::make_shared<TqxSkinStdButtonObject>(this, item);
        else if (dynamic_cast<TqxDataSkinButton*>(item))
            object = std::make_shared<TqxSkinButtonObject>(this, item);
        else if (dynamic_cast<TqxDataSkinAnimate*>(item))
            object = std::make_shared<TqxSkinAnimateObject>(this, item);
        else if (dynamic_cast<TqxDataSkinCaption*>(item))
            object = std::make_shared<TqxSkinCaptionObject>(this, item);
        else if (dynamic_cast<TqxDataUserObject*>(item))
            object = std::make_shared<TqxUserObject>(this, item);
        if (object) ObjectList.push_back(std::move(object));
    }
}

void TqxDravenfold::CreateDefaultObjects() {
    ClearObjects();
    const struct {
        const char16_t* Name;
        TqxStdCommand Command;
    } buttons[] = {{u"closebutton", cmClose},     {u"maxbutton", cmMaximize},
                   {u"minbutton", cmMinimize},    {u"rollupbutton", cmRollUp},
                   {u"sysmenubutton", cmSysMenu}, {u"traybutton", cmMinimizeToTray}};
    for (const auto& b : buttons) {
        auto button = std::make_shared<TqxSkinStdButtonObject>(this, nullptr);
        button->IDName = b.Name;
        button->Command = b.Command;
        button->SkinRectInAPicture = true;
        button->SkinRect = button->ActiveSkinRect = button->DownRect = Rect(0, 0, 1, 1);
        button->ObjectRect = button->SkinRect;
        ObjectList.push_back(std::move(button));
    }
    UpdateButtonStates();
}

void TqxDravenfold::UpdateButtonStates() {
    if (ObjectList.empty()) return;
    if (FHideCaptionButtons) {
        for (const auto& object : ObjectList)
            if (dynamic_cast<TqxSkinStdButtonObject*>(object.get()) ||
                dynamic_cast<TqxSkinAnimateObject*>(object.get())) {
                object->Enabled = false;
                object->Visible = !object->SkinRectInAPicture;
            }
        UpdateObjectHints();
        return;
    }
    const auto fromIcon = [](TqxActiveSkinObject* AButton, bool AEnabled) {
        AButton->Enabled = AEnabled;
        AButton->Visible = AButton->SkinRectInAPicture ? AEnabled : true;
    };
    const bool dialog =
        (FBorderIcons.Empty() || FBorderIcons == TqxBorderIcons{TqxBorderIcon::biSystemMenu}) &&
        GetIndex(u"dialogclosebutton") != -1;
    for (const auto& object : ObjectList) {
        auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get());
        if (animate && animate->ButtonStyle && animate->Command != cmClose) {
            const TqxBorderIcon icons[] = {TqxBorderIcon::biSystemMenu,    TqxBorderIcon::biMaximize,
                                           TqxBorderIcon::biMinimize,      TqxBorderIcon::biSystemMenu,
                                           TqxBorderIcon::biSystemMenu,    TqxBorderIcon::biRollUp,
                                           TqxBorderIcon::biMinimizeToTray};
            if (animate->Command == cmDefault) {
                bool visible = false;
                if (OnActivateCustomObject) OnActivateCustomObject(animate->IDName, visible);
                animate->Visible = visible;
            } else {
                fromIcon(animate, FBorderIcons.Contains(icons[animate->Command]));
                if (animate->Command == cmSysMenu && FDisableSystemMenu) animate->Enabled = false;
            }
            continue;
        }
        auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object.get());
        if (!button) continue;
        switch (button->Command) {
            case cmClose:
                if (button->IDName == u"dialogclosebutton") {
                    button->Enabled = button->Visible = dialog;
                } else if (dialog) {
                    button->Enabled = button->Visible = false;
                }
                break;
            case cmMaximize:
                fromIcon(button, FBorderIcons.Contains(TqxBorderIcon::biMaximize));
                break;
            case cmMinimize:
                fromIcon(button, FBorderIcons.Contains(TqxBorderIcon::biMinimize));
                break;
            case cmSysMenu:
                fromIcon(button, FBorderIcons.Contains(TqxBorderIcon::biSystemMenu));
                if (FDisableSystemMenu) button->Enabled = false;
                break;
            case cmDefault: {
                bool visible = false;
                if (OnActivateCustomObject) OnActivateCustomObject(button->IDName, visible);
                button->Visible = visible;
                break;
            }
            case cmRollUp:
                fromIcon(button, FBorderIcons.Contains(TqxBorderIcon::biRollUp));
                break;
            case cmMinimizeToTray:
                fromIcon(button, FBorderIcons.Contains(TqxBorderIcon::biMinimizeToTray));
                break;
        }
    }
    UpdateObjectHints();
}

void TqxDravenfold::UpdateObjectHints() {
    if (!FUseDefaultObjectHint || !FSD) return;
    TqxResourceStrData* strings = FSD->ResourceStrData();
    const String restore = strings ? strings->GetResStr(u"RESTORE_HINT") : String();
    for (const auto& object : ObjectList) {
        auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object.get());
        if (button && button->Command != cmDefault) {
            for (const THintText& hint : HintTexts)
                if (hint.Command == button->Command)
                    button->Hint = strings ? strings->GetResStr(hint.Key) : hint.Text;
            button->FTempHint = button->Hint;
            button->RestoreHint = restore.empty() ? String(u"Restore") : restore;
        }
        auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get());
        if (animate && animate->Command != cmDefault) {
            for (const THintText& hint : HintTexts)
                if (hint.Command == animate->Command)
                    animate->Hint = strings ? strings->GetResStr(hint.Key) : hint.Text;
            animate->FTempHint = animate->Hint;
            animate->RestoreHint = restore.empty() ? String(u"Restore") : restore;
        }
    }
}

void TqxDravenfold::ChangeControls(TqxSkinData* ASkinData, TControl* AControl, bool ABefore) {
    if (auto* control = dynamic_cast<IqxSkinChangeable*>(AControl))
        if (!ASkinData || control->SkinData() == ASkinData) {
            if (ABefore)
                control->BeforeChangeSkinData();
            else
                control->ChangeSkinData();
        }
    auto* parent = dynamic_cast<TWinControl*>(AControl);
    if (!parent) return;
    std::vector<TControl*> children;
    for (Integer i = 0; i < parent->ControlCount(); ++i)
        children.push_back(parent->Controls(i));
    for (TControl* child : children)
        ChangeControls(ASkinData, child, ABefore);
}

void TqxDravenfold::BeforeChangeControls(TqxSkinData* ASkinData, TControl* AControl) {
    ChangeControls(ASkinData, AControl, true);
}

void TqxDravenfold::ChangeControlsSkinData(TqxSkinData* ASkinData, TControl* AControl) {
    ChangeControls(ASkinData, AControl, false);
}

void TqxDravenfold::ApplyMinimumSize() {
    // A miniature keeps the size its dialog gives it: the skin's minimum is
    // meant for forms a user sizes.
    if (PreviewMode) return NudgeFormWidth();
    const Integer minWidth = GetMinWidth(), minHeight = GetMinHeight();
    const bool narrow = FForm->Width() < minWidth, low = FForm->Height() < minHeight;
    if (narrow && low)
        FForm->SetBounds(FForm->Left(), FForm->Top(), minWidth, minHeight);
    else if (low)
        FForm->SetHeight(minHeight);
    else if (narrow)
        FForm->SetWidth(minWidth);
    else
        NudgeFormWidth();
    if ((FRollUpState || FWindowState == wsMinimized) && FForm->Height() != GetMinHeight())
        FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
}

void TqxDravenfold::RebuildSkinObjects() {
    if (FUseRibbon) FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = FSD && !FSD->Empty;
    if (FLayerManager->IsVisible()) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
    if (FSkinSupport && FSkinnableForm) {
        CreateObjectsFromSkin();
        UpdateButtonStates();
    } else {
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        UpdateSkinRegion(true);
    }
    if (FSkinnableForm) {
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons({});
    } else {
        SyncFormBorderIcons();
    }
    FInChangeSkinData = true;
    ApplyMinimumSize();
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport) UpdateSkinGeometry(true);
    if (FForm->HandleAllocated()) FForm->Repaint();
    SetCaptionActive(true);
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
    RebuildLayeredFrame();
    RestoreOldBounds();
    if (!FRollUpState) {
        if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
}
