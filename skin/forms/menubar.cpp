// The skinned main menu bar: building its objects from the menus (merged
// with a child form's), its background and overflow marker, the pointer
// poll, the keyboard menu mode the form component drives, and the system
// buttons of a maximized child.
#include "skin/forms/menubar.h"

#include <algorithm>

#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxutils.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

TTimer* BarTimer(TComponent* AOwner, TNotifyEvent AOnTimer, Cardinal AInterval) {
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->OnTimer = std::move(AOnTimer);
    return timer;
}

bool PtIn(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TMainMenu* FirstMainMenuOf(TComponent* AOwner) {
    if (!AOwner) return nullptr;
    for (Integer i = 0; i < AOwner->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(AOwner->Components(i))) return menu;
    return nullptr;
}

}  // namespace

TqxDravenfold* FindMaximizedChildDravenfold() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    for (Integer i = 0; main && i < main->MDIChildCount(); ++i)
        if (TqxDravenfold* component = FindDravenfold(main->MDIChildren(i));
            component && component->WindowState() == wsMaximized)
            return component;
    return nullptr;
}

void TqxSkinMainMenu::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
}

void TqxSkinMainMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TMainMenu::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSD) FSD = nullptr;
}

TqxSkinMainMenuBar::TqxSkinMainMenuBar(TComponent* AOwner)
    : TqxSkinControl(AOwner), FDefItemFont(std::make_unique<TFont>()) {
    FDefItemFont->SetName(u"Tahoma");
    FDefItemFont->SetHeight(13);
    FDefItemFont->SetColor(clBtnText);
    MouseTimer = BarTimer(
        this, [this](TObject*) { MouseTimerTick(); }, 50);
    MorphTimer = BarTimer(
        this, [this](TObject*) { MorphTimerTick(); }, 25);
    AnimateTimer = BarTimer(
        this, [this](TObject*) { AnimateTimerTick(); }, 25);
    SetSkinDataName(u"mainmenubar");
    SetAlign(alTop);
    SetHeight(22);
}

TqxSkinMainMenuBar::~TqxSkinMainMenuBar() {
    if (QXD && QXD->MainMenuBar() == this) QXD->SetMainMenuBar(nullptr);
    ObjectList.clear();
}

void TqxSkinMainMenuBar::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        ObjectList.clear();
        ButtonsCount = 0;
    }
    if (AComponent == FMergeMenu) FMergeMenu = nullptr;
    if (AComponent == QXD) QXD = nullptr;
}

void TqxSkinMainMenuBar::SetDravenfold(TqxDravenfold* Value) {
    if (QXD == Value) return;
    TqxDravenfold* old = QXD;
    SetReference(this, QXD, Value);
    if (old && old->MainMenuBar() == this) old->SetMainMenuBar(nullptr);
    if (QXD && QXD->MainMenuBar() != this) QXD->SetMainMenuBar(this);
}

void TqxSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
    SetReference(this, FMainMenu, Value);
    CreateMenu();
    Invalidate();
}

void TqxSkinMainMenuBar::SetToolBarMode(bool Value) {
    FToolBarMode = Value;
    Invalidate();
}

void TqxSkinMainMenuBar::SetToolBarModeItemTransparent(bool Value) {
    FToolBarModeItemTransparent = Value;
    Invalidate();
}

void TqxSkinMainMenuBar::SetScrollMenu(bool Value) {
    FScrollMenu = Value;
    Invalidate();
}

void TqxSkinMainMenuBar::SetDefItemFont(TFont* Value) {
    FDefItemFont->Assign(Value);
    if (!FSkinSupport) Invalidate();
}

void TqxSkinMainMenuBar::SetDefaultWidth(Integer Value) {
    FDefaultWidth = Value;
    if (!FSkinSupport && Value > 0) SetWidth(Value);
}

void TqxSkinMainMenuBar::SetDefaultHeight(Integer Value) {
    FDefaultHeight = Value;
    if (!FSkinSupport && Value > 0) SetHeight(Value);
}

void TqxSkinMainMenuBar::Merge(TMainMenu* Menu) {
    SetReference(this, FMergeMenu, Menu);
    UpDateItems();
}

void TqxSkinMainMenuBar::UnMerge() {
    SetReference(this, FMergeMenu, static_cast<TMainMenu*>(nullptr));
    UpDateItems();
}

TMainMenu* TqxSkinMainMenuBar::GetChildMainMenu() {
    if (FMergeMenu) return FMergeMenu;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    return active ? FirstMainMenuOf(active) : nullptr;
}

bool TqxSkinMainMenuBar::HasChildMenuForm() const {
    return (QXD && QXD->Form()->FormStyle() == fsMDIForm) || FMergeMenu;
}

void TqxSkinMainMenuBar::CreateMenu() {
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    if (!FMainMenu) return;
    TMainMenu* child = HasChildMenuForm() ? GetChildMainMenu() : nullptr;
    FChildMenuIn = child != nullptr;
    if (child) FScrollMenu = false;
    TqxSkinData* sd = SkinData();
    TqxDataSkinObject* itemSkin = nullptr;
    if (sd && !sd->Empty) {
        const Integer index = sd->GetIndex(MenuBarItem);
        if (index != -1) itemSkin = sd->ObjectList.Items(index);
    }
    std::vector<TMenuItem*> items;
    TMenuItem* main = FMainMenu->Items();
    if (child) {
        TMenuItem* childItems = child->Items();
        const auto inChild = [&](Byte AGroup) {
            for (Integer i = 0; i < childItems->Count(); ++i)
                if (childItems->Items(i)->GroupIndex() == AGroup) return true;
            return false;
        };
        for (Integer i = 0; i < main->Count(); ++i)
            if (!inChild(main->Items(i)->GroupIndex())) items.push_back(main->Items(i));
        for (Integer i = 0; i < childItems->Count(); ++i)
            items.push_back(childItems->Items(i));
        // Stable: equal groups keep the main menu's items before the
        // child's, each in menu order.
        std::stable_sort(items.begin(), items.end(),
                         [](TMenuItem* A, TMenuItem* B) { return A->GroupIndex() < B->GroupIndex(); });
    } else {
        for (Integer i = 0; i < main->Count(); ++i)
            items.push_back(main->Items(i));
    }
    for (TMenuItem* menuItem : items) {
        if (!menuItem->Visible()) continue;
        auto item = std::make_unique<TqxSkinMainMenuBarItem>(this, itemSkin);
        item->IDName = menuItem->Name();
        item->Enabled = item->OldEnabled = menuItem->Enabled();
        item->MenuItem = menuItem;
        ObjectList.push_back(std::move(item));
    }
    if (FMDIChildMax) {
        CreateMDIButtons();
        UpdateMDIButtonsEnabled();
    }
}

void TqxSkinMainMenuBar::UpDateItems() {
    CreateMenu();
    Invalidate();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TqxSkinMainMenuBar::UpDateEnabledItems() {
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get()))
            item->Enabled = item->MenuItem->Enabled();
    Invalidate();
}

void TqxSkinMainMenuBar::GetSkinData() {
    TqxSkinControl::GetSkinData();
    TqxSkinData* sd = SkinData();
    auto* element =
        FIndex == -1 ? nullptr : dynamic_cast<TqxDataSkinMainMenuBar*>(sd->CtrlList.Items(FIndex));
    if (!element) {
        FIndex = -1;
        Picture = nullptr;
        return;
    }
    SkinRect = element->SkinRect;
    ItemsRect = element->ItemsRect;
    MenuBarItem = element->MenuBarItem;
    CloseButton = element->CloseButton;
    MaxButton = element->MaxButton;
    MinButton = element->MinButton;
    SysMenuButton = element->SysMenuButton;
    TrackMarkColor = element->TrackMarkColor;
    TrackMarkActiveColor = element->TrackMarkActiveColor;
    StretchEffect = element->StretchEffect;
    ItemTransparent = element->ItemTransparent;
    Picture = sd->GetActivePicture(element->PictureIndex);
}

void TqxSkinMainMenuBar::ChangeSkinData() {
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport && FUseSkinSize)
        SetHeight(SkinRect.Height());
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    Invalidate();
}

void TqxSkinMainMenuBar::BeforeChangeSkinData() {
    FSkinSupport = false;
    TqxSkinControl::BeforeChangeSkinData();
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TqxSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    GetSkinData();
    if (FSkinSupport && FIndex != -1 && FUseSkinSize) AHeight = SkinRect.Height();
    TqxSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

void TqxSkinMainMenuBar::MDIChildMaximized() {
    if (FMDIChildMax) return;
    FMDIChildMax = true;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    UpdateMDIButtonsEnabled();
    Invalidate();
}

void TqxSkinMainMenuBar::CheckMDIChildMaximized() {
    if (!FindMaximizedChildDravenfold()) {
        FMDIChildMax = false;
        DeleteMDIButtons();
        Invalidate();
    } else {
        UpdateMDIButtonsEnabled();
    }
}

void TqxSkinMainMenuBar::CreateMDIButtons() {
    if (ButtonsCount > 0) return;
    TqxSkinData* sd = SkinData();
    const bool skinned = FSkinSupport && sd && !sd->Empty;
    struct TButton {
        const String* Name;
        const char16_t* DefaultName;
        TqxStdCommand Command;
    };
    const TButton buttons[] = {{&MinButton, u"MinButton", cmMinimize},
                               {&MaxButton, u"MaxButton", cmMaximize},
                               {&CloseButton, u"CloseButton", cmClose},
                               {&SysMenuButton, u"SysMenuButton", cmSysMenu}};
    for (const TButton& b : buttons) {
        TqxDataSkinObject* data = nullptr;
        if (skinned) {
            const Integer index = sd->GetIndex(*b.Name);
            // Without the names the skinned bar finds no button objects.
            if (index == -1) continue;
            data = sd->ObjectList.Items(index);
        }
        auto button = std::make_unique<TqxSkinMainMenuBarButton>(this, data);
        if (!button->FSkinSupport) {
            button->IDName = b.DefaultName;
            button->Command = b.Command;
        }
        ObjectList.insert(ObjectList.begin(), std::move(button));
        ++ButtonsCount;
    }
}

void TqxSkinMainMenuBar::DeleteMDIButtons() {
    ObjectList.erase(ObjectList.begin(),
                     ObjectList.begin() + std::min<size_t>(ButtonsCount, ObjectList.size()));
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TqxSkinMainMenuBar::UpdateMDIButtonsEnabled() {
    TqxDravenfold* child = FindMaximizedChildDravenfold();
    for (Integer i = 0; i < ButtonsCount; ++i) {
        auto* button = static_cast<TqxSkinMainMenuBarButton*>(ObjectList[size_t(i)].get());
        button->Enabled = true;
        if (!child) continue;
        if (button->Command == cmMinimize)
            button->Enabled = child->BorderIcons().Contains(TqxBorderIcon::biMinimize);
        if (button->Command == cmSysMenu)
            button->Enabled = child->BorderIcons().Contains(TqxBorderIcon::biSystemMenu);
    }
}

void TqxSkinMainMenuBar::CalcItemsRect() {
    if (FSkinSupport && FIndex != -1) {
        NewItemsRect = Rect(ItemsRect.Left, ItemsRect.Top, Width() + ItemsRect.Right - SkinRect.Width(),
                            ItemsRect.Bottom);
        if (!FUseSkinSize) NewItemsRect.Bottom = Height() + ItemsRect.Bottom - SkinRect.Height();
    } else {
        NewItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
    }
    if (!FMDIChildMax || ButtonsCount != 4) return;
    const Integer areaHeight = NewItemsRect.Height();
    const auto size = [&](TqxMenuBarObject* AButton) {
        auto* b = static_cast<TqxSkinMainMenuBarButton*>(AButton);
        return b->FSkinSupport ? TSize{b->SkinRect.Width(), b->SkinRect.Height()}
                               : TSize{areaHeight, areaHeight};
    };
    for (Integer i = 0; i < ButtonsCount; ++i) {
        auto* button = static_cast<TqxSkinMainMenuBarButton*>(ObjectList[size_t(i)].get());
        const TSize s = size(button);
        const Integer top = NewItemsRect.Top + (areaHeight - s.cy) / 2;
        if (button->Command == cmSysMenu) {
            button->ObjectRect = Bounds(NewItemsRect.Left, top, s.cx, s.cy);
            NewItemsRect.Left += s.cx + 2;
        }
    }
    // From the right: close outermost, then maximize, then minimize.
    for (const TqxStdCommand command : {cmClose, cmMaximize, cmMinimize})
        for (Integer i = 0; i < ButtonsCount; ++i) {
            auto* button = static_cast<TqxSkinMainMenuBarButton*>(ObjectList[size_t(i)].get());
            if (button->Command != command) continue;
            const TSize s = size(button);
            const Integer top = NewItemsRect.Top + (areaHeight - s.cy) / 2;
            button->ObjectRect = Bounds(NewItemsRect.Right - s.cx, top, s.cx, s.cy);
            NewItemsRect.Right -= s.cx + 2;
        }
}

TRect TqxSkinMainMenuBar::MarkerRect() const {
    return Rect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

bool TqxSkinMainMenuBar::ItemsTransparent() const {
    return FSkinSupport && (ItemTransparent || (FToolBarMode && FToolBarModeItemTransparent));
}

void TqxSkinMainMenuBar::PaintBar(HDC DC) {
    GetSkinData();
    FSkinSupport = FIndex != -1;
    const Integer w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    FBuffer = std::make_unique<TBitmap>();
    FBuffer->SetSize(w, h);
    TCanvas* c = FBuffer->Canvas();
    TqxSkinData* sd = SkinData();
    if (!FSkinSupport || !Picture) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
    } else if (sd->MainMenuBarTransparent) {
        PaintParentBackground(this, c);
    } else if (FUseSkinSize) {
        BuildHorzThreePartImage(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, FBuffer.get(), Picture,
                                SkinRect, w, h, StretchEffect);
        FBuffer->SetSize(w, h);
    } else if (FToolBarMode) {
        Integer index = sd->GetControlIndex(u"resizetoolpanel");
        if (index == -1) index = sd->GetControlIndex(u"panel");
        auto* panel =
            index == -1 ? nullptr : dynamic_cast<TqxDataSkinCustomControl*>(sd->CtrlList.Items(index));
        TBitmap* panelPicture = panel ? sd->GetActivePicture(panel->PictureIndex) : nullptr;
        if (panelPicture) {
            const Integer dx = w - panel->SkinRect.Width(), dy = h - panel->SkinRect.Height();
            BuildNinePartImage(panel->LTPoint, panel->RTPoint, panel->LBPoint, panel->RBPoint, panel->ClRect,
                               panel->LTPoint, Point(panel->RTPoint.X + dx, panel->RTPoint.Y),
                               Point(panel->LBPoint.X, panel->LBPoint.Y + dy),
                               Point(panel->RBPoint.X + dx, panel->RBPoint.Y + dy),
                               Rect(panel->ClRect.Left, panel->ClRect.Top, panel->ClRect.Right + dx,
                                    panel->ClRect.Bottom + dy),
                               FBuffer.get(), panelPicture, panel->SkinRect, w, h, true, panel->LeftStretch,
                               panel->TopStretch, panel->RightStretch, panel->BottomStretch,
                               panel->StretchEffect, panel->StretchType);
        }
    } else {
        const Integer sh = SkinRect.Height();
        BuildStretchedSkinImage(FBuffer.get(), Picture, SkinRect,
                                Rect(ItemsRect.Left, sh / 4, ItemsRect.Right, sh - sh / 4), true);
    }
    CalcItemsRect();
    Scroll = false;
    // FBuffer keeps the clean background: transparent items copy from it.
    TBitmap image;
    image.Assign(FBuffer.get());
    for (const auto& object : ObjectList)
        if (object->Visible) object->Draw(image.Canvas());
    if (Scroll && FScrollMenu)
        DrawArrow(image.Canvas(), MarkerRect(),
                  FSkinSupport ? (MarkerActive ? TrackMarkActiveColor : TrackMarkColor)
                               : (MarkerActive ? clBtnText : clBtnShadow),
                  2);
    TCanvas dc;
    dc.SetHandle(DC);
    dc.Draw(0, 0, &image);
    dc.SetHandle(nullptr);
}

void TqxSkinMainMenuBar::RedrawObject(TqxMenuBarObject* Obj) {
    if (dynamic_cast<TqxSkinMainMenuBarItem*>(Obj) && ItemsTransparent()) {
        Repaint();
        return;
    }
    if (Obj->Visible && HandleAllocated()) Obj->Draw(Canvas());
}

void TqxSkinMainMenuBar::WndProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            PaintBar(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        case SKINMSG_MENUCLOSED:
            for (const auto& object : ObjectList) {
                auto* button = dynamic_cast<TqxSkinMainMenuBarButton*>(object.get());
                if (!button || button->Command != cmSysMenu || !button->FDown) continue;
                button->FDown = false;
                const bool current = ActiveObject >= 0 && size_t(ActiveObject) < ObjectList.size() &&
                                     ObjectList[size_t(ActiveObject)].get() == button;
                if (!current) button->Active = button->FMouseIn = false;
                button->StartMorph();
            }
            return;
        case WM_SIZE:
            TqxSkinControl::WndProc(AMessage);
            CalcItemsRect();
            Invalidate();
            return;
        case WM_MOVE:
            TqxSkinControl::WndProc(AMessage);
            if (FSkinSupport && SkinData() && SkinData()->MainMenuBarTransparent && Align() == alNone)
                Invalidate();
            return;
        case SKINMSG_PARENTBG:
            if (FSkinSupport && SkinData() && SkinData()->MainMenuBarTransparent) Invalidate();
            return;
        case CM_MOUSEENTER:
            TqxSkinControl::WndProc(AMessage);
            MouseTimer->SetEnabled(true);
            return;
        case CM_MOUSELEAVE:
            TqxSkinControl::WndProc(AMessage);
            MouseTimer->SetEnabled(false);
            TrackMouse(-1, -1);
            return;
        default:
            TqxSkinControl::WndProc(AMessage);
    }
}

void TqxSkinMainMenuBar::MouseTimerTick() {
    if (!HandleAllocated()) return;
    POINT p{};
    GetCursorPos(&p);
    const TPoint client = ScreenToClient(Point(p.x, p.y));
    if (client.X < 0 || client.Y < 0 || client.X > Width() || client.Y > Height()) {
        MouseTimer->SetEnabled(false);
        TrackMouse(-1, -1);
        return;
    }
    TrackMouse(client.X, client.Y);
}

void TqxSkinMainMenuBar::TrackMouse(Integer X, Integer Y) {
    if (ObjectList.empty()) return;
    OldActiveObject = ActiveObject;
    Integer hit = -1;
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->Enabled && PtIn(ObjectList[i]->ObjectRect, X, Y)) {
            hit = Integer(i);
            break;
        }
    const Integer count = Integer(ObjectList.size());
    if (hit == -1 && OldActiveObject != -1 && OldActiveObject < count && MenuActive &&
        dynamic_cast<TqxSkinMainMenuBarItem*>(ObjectList[size_t(OldActiveObject)].get()))
        ActiveObject = OldActiveObject;
    else
        ActiveObject = hit;
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
    if (ActiveObject >= count) ActiveObject = -1;
    if (OldActiveObject >= count) OldActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && ObjectList[size_t(OldActiveObject)]->Enabled)
            ObjectList[size_t(OldActiveObject)]->MouseLeave();
        // Leaving may rebuild nothing, but entering may open a menu that
        // pumps messages: the list is read afresh.
        if (ActiveObject != -1 && ActiveObject < Integer(ObjectList.size()) &&
            ObjectList[size_t(ActiveObject)]->Enabled)
            ObjectList[size_t(ActiveObject)]->MouseEnter();
    }
    if (Scroll && FScrollMenu) {
        const bool in = PtIn(MarkerRect(), X, Y);
        if (in != MarkerActive) {
            MarkerActive = in;
            Invalidate();
        }
    }
}

void TqxSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TqxSkinControl::MouseDown(Button, Shift, X, Y);
    TrackMouse(X, Y);
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        TqxMenuBarObject* object = ObjectList[size_t(ActiveObject)].get();
        object->MouseDown(X, Y, Button);
        if (Shift.Contains(ssDouble)) object->DblClick();
    } else if (Scroll && FScrollMenu && PtIn(MarkerRect(), X, Y)) {
        PopupOverflowMenu();
    }
}

void TqxSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (MouseCaptureObject != -1 && MouseCaptureObject < Integer(ObjectList.size()))
        ObjectList[size_t(MouseCaptureObject)]->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
    TqxSkinControl::MouseUp(Button, Shift, X, Y);
}

void TqxSkinMainMenuBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    MouseTimer->SetEnabled(true);
    TqxSkinControl::MouseMove(Shift, X, Y);
}

void TqxSkinMainMenuBar::PopupOverflowMenu() {
    if (!QXD || !QXD->SkinMenu() || !FMainMenu) return;
    Integer shown = 0;
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get()); item && item->Visible) ++shown;
    const TRect marker = MarkerRect();
    const TPoint p = ClientToScreen(Point(marker.Left, marker.Top));
    const TRect r = Rect(p.X, p.Y, p.X + marker.Width(), p.Y + marker.Height());
    QXD->SkinMenuOpen();
    TMainMenu* child = HasChildMenuForm() ? GetChildMainMenu() : nullptr;
    if (child)
        if (TqxSkinMenu* menu = QXD->RealSkinMenu()) {
            menu->Popup2(nullptr, SkinData(), shown, r, FMainMenu->Items(), child->Items(), false);
            return;
        }
    QXD->SkinMenu()->Popup(nullptr, SkinData(), shown, r, FMainMenu->Items(), false);
}

void TqxSkinMainMenuBar::MorphTimerTick() {
    bool any = false;
    for (const auto& object : ObjectList)
        if (object->EnableMorphing() && object->CanMorphing()) {
            object->DoMorphing();
            any = true;
        }
    if (!any) MorphTimer->SetEnabled(false);
}

void TqxSkinMainMenuBar::AnimateTimerTick() {
    bool any = false;
    for (const auto& object : ObjectList) {
        auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
        if (!item || !item->EnableAnimation()) continue;
        if (item->Active && item->CurrentFrame <= item->FrameCount) {
            ++item->CurrentFrame;
        } else if (!item->Active && item->CurrentFrame > 0) {
            --item->CurrentFrame;
        } else {
            continue;
        }
        RedrawObject(item);
        any = true;
    }
    if (!any) AnimateTimer->SetEnabled(false);
}

TqxSkinMainMenuBarItem* TqxSkinMainMenuBar::ItemAt(Integer AIndex) const {
    return AIndex >= 0 && AIndex < Integer(ObjectList.size())
               ? dynamic_cast<TqxSkinMainMenuBarItem*>(ObjectList[size_t(AIndex)].get())
               : nullptr;
}

TqxSkinMainMenuBarItem* TqxSkinMainMenuBar::ItemOf(const TMenuItem* AMenuItem) const {
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
            item && item->MenuItem == AMenuItem)
            return item;
    return nullptr;
}

std::vector<TqxSkinMainMenuBarItem*> TqxSkinMainMenuBar::UsableItems() const {
    std::vector<TqxSkinMainMenuBarItem*> items;
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
            item && item->Enabled && item->Visible)
            items.push_back(item);
    return items;
}

bool TqxSkinMainMenuBar::HandleAccel(Word Key) {
    if (!QXD || !QXD->Form()->Visible()) return false;
    for (TqxSkinMainMenuBarItem* item : UsableItems()) {
        if (!IsAccel(Key, item->MenuItem->Caption())) continue;
        TMenuItem* menuItem = item->MenuItem;
        item->MouseEnter();
        item = ItemOf(menuItem);
        if (item && (!QXD->InMenu() || menuItem->Count() == 0)) item->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TqxSkinMainMenuBar::NextItem() {
    const std::vector<TqxSkinMainMenuBarItem*> items = UsableItems();
    if (items.empty()) return;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i]->Active && !items[i]->FDown) continue;
        if (!items[i]->FDown) items[i]->MouseLeave();
        items[(i + 1) % items.size()]->MouseEnter();
        return;
    }
    items.front()->MouseEnter();
}

void TqxSkinMainMenuBar::PrevItem() {
    const std::vector<TqxSkinMainMenuBarItem*> items = UsableItems();
    if (items.empty()) return;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i]->Active && !items[i]->FDown) continue;
        if (!items[i]->FDown) items[i]->MouseLeave();
        items[(i + items.size() - 1) % items.size()]->MouseEnter();
        return;
    }
    items.back()->MouseEnter();
}

bool TqxSkinMainMenuBar::OpenActiveItem() {
    for (TqxSkinMainMenuBarItem* item : UsableItems()) {
        if ((item->FDown && item->MenuItem->Count() == 0) || (item->Active && QXD && !QXD->InMenu())) {
            item->Active = false;
            item->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}

void TqxSkinMainMenuBar::EnterMenuMode() {
    MenuActive = true;
    Invalidate();
    TqxSkinMainMenuBarItem* first = nullptr;
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get())) {
            if (!first) first = item;
            if (item->Active) {
                first = item;
                break;
            }
        }
    if (first && !first->Active) first->MouseEnter();
    if (!QXD) return;
    QXD->HookAppMessage();
    QXD->SetInMainMenu(true);
    if (QXD->OnMainMenuEnter) QXD->OnMainMenuEnter(this);
}

void TqxSkinMainMenuBar::ItemMenuClosed() {
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get()); item && item->FDown) {
            item->FDown = false;
            item->Active = true;
            RedrawObject(item);
        }
}

void TqxSkinMainMenuBar::ExitMenuMode() {
    MenuActive = false;
    for (const auto& object : ObjectList) {
        auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
        if (!item || (!item->FDown && !item->Active)) continue;
        item->FDown = item->Active = item->FMouseIn = false;
        if (item->EnableAnimation() && !item->InActiveAnimation) item->CurrentFrame = 0;
        item->StartMorph();
        break;
    }
    ActiveObject = OldActiveObject = -1;
    Invalidate();
}

namespace {

const auto Registered = [] {
    using B = TqxSkinMainMenuBar;
    RegisterClass<TqxSkinMainMenu, TMainMenu>().Property(u"SkinData", &TqxSkinMainMenu::SkinData,
                                                         &TqxSkinMainMenu::SetSkinData);
    RegisterClass<B, TCustomControl>()
        .Property(u"SkinData", &B::SkinData, &B::SetSkinData)
        .Property(u"SkinDataName", &B::SkinDataName, &B::SetSkinDataName)
        .Property(u"ToolBarMode", &B::ToolBarMode, &B::SetToolBarMode)
        .Property(u"ToolBarModeItemTransparent", &B::ToolBarModeItemTransparent,
                  &B::SetToolBarModeItemTransparent)
        .Property(u"ScrollMenu", &B::ScrollMenu, &B::SetScrollMenu)
        .Property(u"DefItemFont", &B::DefItemFont)
        .Property(u"UseSkinFont", &B::UseSkinFont, &B::SetUseSkinFont)
        .Property(u"UseSkinSize", &B::UseSkinSize, &B::SetUseSkinSize)
        .Property(u"PopupToUp", &B::PopupToUp, &B::SetPopupToUp)
        .Property(u"Dravenfold", &B::Dravenfold, &B::SetDravenfold)
        .Property(u"MainMenu", &B::MainMenu, &B::SetMainMenu)
        .Property(u"DefaultWidth", &B::DefaultWidth, &B::SetDefaultWidth)
        .Property(u"DefaultHeight", &B::DefaultHeight, &B::SetDefaultHeight);
    return true;
}();

}  // namespace
