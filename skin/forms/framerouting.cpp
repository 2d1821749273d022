// The mouse over a skinned form's frame reaches the frame objects: hover
// tracking by hit test and by a 50 ms timer, capture for a pressed object,
// the objects' events. The component is also the hub of its form's skinned
// menus (open and close bookkeeping, the application hook for menu keys,
// the system menu) and answers the form's short cuts.
#include "platform/win/input.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxresstrs.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/layeredframe.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinhint.h"

using namespace win;

namespace {

bool PtIn(const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

}  // namespace

TRect TqxDravenfold::WindowToScreen(const TRect& R) const {
    // Objects of a full-border frame lie on its top window.
    if (FullBorderFrameShown() && FBorderLayer->TopBorder) {
        const Integer x = FBorderLayer->TopBorder->Left(), y = FBorderLayer->TopBorder->Top();
        return Rect(R.Left + x, R.Top + y, R.Right + x, R.Bottom + y);
    }
    const TPoint origin = WindowScreenOrigin();
    return Rect(R.Left + origin.X, R.Top + origin.Y, R.Right + origin.X, R.Bottom + origin.Y);
}

TPoint TqxDravenfold::WindowScreenOrigin() const {
    RECT r{};
    if (IsMDIChild() && FForm->HandleAllocated() && GetWindowRect(FForm->Handle(), &r))
        return Point(r.left, r.top);
    return Point(FForm->Left(), FForm->Top());
}

void TqxDravenfold::TrackActiveObject(Integer X, Integer Y, bool AInside) {
    if (ObjectList.empty() || !GetFormActive() || FSizeMove || PreviewMode || !FrameDrawn()) return;
    OldActiveObject = ActiveObject;
    const TPoint p = Point(X, Y);
    Integer found = -1;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TqxActiveSkinObject* object = ObjectList[i].get();
        if (object->Enabled && object->Visible && PtIn(object->ObjectRect, p) &&
            object->PointInMask(X - object->ObjectRect.Left, Y - object->ObjectRect.Top)) {
            found = Integer(i);
            break;
        }
    }
    ActiveObject = AInside ? found : -1;
    // While one object holds the mouse no other one lights up.
    if (MouseCaptureObject != -1 && MouseCaptureObject != found) ActiveObject = -1;
    if (ActiveObject >= Integer(ObjectList.size())) ActiveObject = -1;
    if (ActiveObject == OldActiveObject) return;
    if (OldActiveObject >= 0 && OldActiveObject < Integer(ObjectList.size())) {
        const std::shared_ptr<TqxActiveSkinObject> old = ObjectList[size_t(OldActiveObject)];
        if (old->Enabled && old->Visible) old->MouseLeave();
        if (FShowObjectHint && FSkinHint && !old->Hint.empty()) FSkinHint->HideHint();
    }
    if (ActiveObject >= 0 && ActiveObject < Integer(ObjectList.size())) {
        const std::shared_ptr<TqxActiveSkinObject> object = ObjectList[size_t(ActiveObject)];
        if (object->Enabled && object->Visible) object->MouseEnter();
        if (FShowObjectHint && FSkinHint && !object->Hint.empty()) FSkinHint->ActivateHint2(object->Hint);
    }
}

void TqxDravenfold::MouseTimerProc(TObject*) {
    if (!GetFormActive() || !FForm->HandleAllocated()) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != FForm->Handle()) {
        MouseTimer->SetEnabled(false);
        TrackActiveObject(-1, -1, false);
        return;
    }
    if (FSizeMove) {
        MouseTimer->SetEnabled(false);
        return;
    }
    TPoint p = Point(cursor.x, cursor.y);
    ScreenToWindowPoint(p);
    if (!PtIn(NewClRect, p))
        TrackActiveObject(p.X, p.Y, true);
    else if (ActiveObject != -1)
        TrackActiveObject(-1, -1, true);
}

void TqxDravenfold::ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y) {
    if (ActiveObject < 0 || ActiveObject >= Integer(ObjectList.size())) return;
    const std::shared_ptr<TqxActiveSkinObject> object = ObjectList[size_t(ActiveObject)];
    // The caption never takes the mouse: the move loop needs it.
    if (!dynamic_cast<TqxSkinCaptionObject*>(object.get()) && FForm->HandleAllocated())
        SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    object->MouseDown(X, Y, Button);
}

void TqxDravenfold::ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y) {
    if (MouseCaptureObject < 0 || MouseCaptureObject >= Integer(ObjectList.size())) return;
    const std::shared_ptr<TqxActiveSkinObject> object = ObjectList[size_t(MouseCaptureObject)];
    if (!dynamic_cast<TqxSkinCaptionObject*>(object.get()) && FForm->HandleAllocated() &&
        GetCapture() == FForm->Handle())
        ReleaseCapture();
    object->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
}

void TqxDravenfold::ObjectsMouseMove(Integer X, Integer Y) {
    Integer index = MouseCaptureObject >= 0 ? MouseCaptureObject : ActiveObject;
    if (index < 0 || index >= Integer(ObjectList.size())) return;
    const std::shared_ptr<TqxActiveSkinObject> object = ObjectList[size_t(index)];
    object->MouseMove(X, Y);
}

void TqxDravenfold::ObjectsDblClick() {
    if (ActiveObject < 0 || ActiveObject >= Integer(ObjectList.size())) return;
    const std::shared_ptr<TqxActiveSkinObject> object = ObjectList[size_t(ActiveObject)];
    object->DblClick();
}

void TqxDravenfold::ResetObjectStates() {
    for (const auto& object : ObjectList) {
        if (dynamic_cast<TqxSkinCaptionObject*>(object.get())) continue;
        object->SetMouseIn(false);
        object->Active = false;
        if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get()))
            animate->SetFrame(1);
        else
            object->SetMorphKf(0);
    }
}

void TqxDravenfold::DoMouseEnterEvent(const String& IDName) {
    if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}

void TqxDravenfold::DoMouseLeaveEvent(const String& IDName) {
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}

void TqxDravenfold::DoMouseDownEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                     TMouseButton Button) {
    if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TqxDravenfold::DoMouseUpEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                   TMouseButton Button) {
    if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TqxDravenfold::DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, const TRect& ObjectRect) {
    if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TqxDravenfold::DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect) {
    if (OnPaintEvent) OnPaintEvent(IDName, Canvas, ObjectRect);
}

void TqxDravenfold::SkinMenuOpen() {
    if (!FInMainMenu) HookAppMessage();
    if (!FInMenu) {
        FInMenu = true;
        if (OnSkinMenuOpen) OnSkinMenuOpen(this);
    }
}

void TqxDravenfold::SkinMenuClose() {
    if (FMenuLayerManager->IsVisible()) FMenuLayerManager->Hide();
    FInMenu = false;
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects) {
        if (auto* caption = dynamic_cast<TqxSkinCaptionObject*>(object.get())) {
            if (caption->PopupMenuQuickButton != -1) {
                if (caption->PopupMenuQuickButton < FQuickButtons->Count()) {
                    TqxQuickButtonItem* item = FQuickButtons->Items(caption->PopupMenuQuickButton);
                    item->Active = item->Down = false;
                }
                caption->PopupMenuQuickButton = -1;
                caption->RedrawCaption();
            }
        } else if (auto* button = dynamic_cast<TqxSkinButtonObject*>(object.get())) {
            if (button->MenuItem && button->Down()) {
                button->SetDown(false);
                break;
            }
        } else if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get())) {
            if (animate->MenuItem && animate->FMenuTracking) {
                animate->Active = true;
                animate->SetFrame(animate->CountFrames);
                animate->FDown = animate->FMenuTracking = animate->Increment = false;
                if (!AnimateTimer->Enabled()) AnimateTimer->SetEnabled(true);
                break;
            }
        }
    }
    UnhookAppMessage();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
    if (FInMainMenu) {
        FInMainMenu = false;
        if (FMainMenuBar) FMainMenuBar->ExitMenuMode();
        if (OnMainMenuExit) OnMainMenuExit(this);
    }
}

void TqxDravenfold::CloseMainMenu() {
    FInMainMenu = false;
    if (FSkinMenu && FSkinMenu->Visible()) FSkinMenu->Hide();
    if (FMainMenuBar) FMainMenuBar->ExitMenuMode();
    UnhookAppMessage();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

void TqxDravenfold::MainMenuPopupClosed() {
    FInMenu = false;
    if (FMainMenuBar) FMainMenuBar->ItemMenuClosed();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TqxDravenfold::SetMainMenuBar(TqxSkinMainMenuBar* Value) {
    if (FMainMenuBar == Value) return;
    TqxSkinMainMenuBar* old = FMainMenuBar;
    if (FMainMenuBar) FMainMenuBar->RemoveFreeNotification(this);
    FMainMenuBar = Value;
    if (FMainMenuBar) FMainMenuBar->FreeNotification(this);
    if (old && old->Dravenfold() == this) old->SetDravenfold(nullptr);
    if (FMainMenuBar && FMainMenuBar->Dravenfold() != this) FMainMenuBar->SetDravenfold(this);
}

bool TqxDravenfold::MainMenuBarKey(Word Key) {
    return FMainMenuBar && FMainMenuBar->HandleAccel(Key);
}

bool TqxDravenfold::CanMainMenuMoveLeft() const {
    return !FSkinMenu || FSkinMenu->PopupCount() <= 1;
}

bool TqxDravenfold::CanMainMenuMoveRight() const {
    return !FSkinMenu || FSkinMenu->PopupCount() == 0 || !FSkinMenu->LastPopupItemHasChildren();
}

bool TqxDravenfold::MainMenuBarOpenItem() {
    return FMainMenuBar && FMainMenuBar->OpenActiveItem();
}

void TqxDravenfold::PopupSkinMenu(TMenu* Menu, TPoint P) {
    PopupSkinMenu1(Menu, Rect(P.X, P.Y, P.X, P.Y), false);
}

void TqxDravenfold::PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp) {
    if (!Menu) return;
    SkinMenuOpen();
    if (FSkinMenu) FSkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, Menu->Items(), PopupUp);
}

void TqxDravenfold::LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp) {
    const Integer index = GetIndex(AIDName);
    if (index == -1 || !AMenu) return;
    if (auto* button = dynamic_cast<TqxSkinButtonObject*>(ObjectList[size_t(index)].get())) {
        button->MenuItem = AMenu->Items();
        button->FPopupUp = APopupUp;
    } else if (auto* animate = dynamic_cast<TqxSkinAnimateObject*>(ObjectList[size_t(index)].get());
               animate && animate->ButtonStyle) {
        animate->MenuItem = AMenu->Items();
        animate->FPopupUp = APopupUp;
    }
}

void TqxDravenfold::PopupSystemMenu(Integer X, Integer Y) {
    PopupSystemMenuUnder(Rect(X, Y, X, Y));
}

void TqxDravenfold::PopupSystemMenuUnder(const TRect& R) {
    TMenuItem* items = GetSystemMenuItems();
    SkinMenuOpen();
    if (FSkinMenu) FSkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, items, false);
}

void TqxDravenfold::PopupSystemMenuFromButton() {
    const std::vector<std::shared_ptr<TqxActiveSkinObject>> objects = ObjectList;
    for (const auto& object : objects) {
        auto* button = dynamic_cast<TqxSkinStdButtonObject*>(object.get());
        auto* animate = dynamic_cast<TqxSkinAnimateObject*>(object.get());
        if ((button && button->Command == cmSysMenu) || (animate && animate->Command == cmSysMenu))
            if (object->Enabled) PopupSystemMenuUnder(WindowToScreen(object->ObjectRect));
    }
}

void TqxDravenfold::FormShortCut(TWMKey& Msg, bool& Handled) {
    if (OnShortCut) {
        OnShortCut(Msg, Handled);
        if (Handled) return;
    }
    if (Msg.CharCode == VK_SPACE && KeyDataToShiftState(Msg.KeyData) == TShiftState{ssAlt}) {
        PopupSystemMenuFromButton();
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    const bool alt = KeyDataToShiftState(Msg.KeyData).Contains(ssAlt);
    TMainMenu* main = FMainMenuBar && FMainMenuBar->MainMenu() ? FMainMenuBar->MainMenu() : FMainMenu;
    if (main) {
        if (alt && Msg.CharCode != VK_F4 && MainMenuBarKey(Msg.CharCode)) {
            Handled = true;
        } else {
            FInShortCut = main->IsShortCut(Msg);
            Handled = FInShortCut;
        }
    }
    if (!Handled && FMainMenuBar && FMainMenuBar->ChildMenuIn()) {
        if (TMainMenu* child = FMainMenuBar->GetChildMainMenu()) {
            if (alt && MainMenuBarKey(Msg.CharCode)) {
                Handled = true;
            } else {
                FInShortCut = child->IsShortCut(Msg);
                Handled = FInShortCut;
            }
        }
    }
    if (!Handled && FSkinRibbon) Handled = RibbonShortCut(Msg);
    if (!Handled && FSystemMenu && Msg.CharCode != 0) Handled = FSystemMenu->IsShortCut(Msg);
}
