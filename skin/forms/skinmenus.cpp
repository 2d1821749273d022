// The controller of a form's chain of skinned popup windows (when a submenu
// opens, which command runs, who is told when everything closes) and the
// skinned popup menu component that opens through it.
#include <algorithm>

#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"
#include "skin/forms/skinmenus.h"

using namespace win;

bool IsMenuCloseMessage(Integer Msg) {
    switch (Msg) {
        case WM_MOVE:
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
        case WM_MOUSEACTIVATE:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_PARENTNOTIFY:
            return true;
        default:
            return false;
    }
}

TqxSkinMenu::TqxSkinMenu(TComponent* AOwner, TCustomForm* AForm) : TComponent(AOwner), FForm(AForm) {
    WaitTimer = new TTimer(this);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->OnTimer = [this](TObject*) { WaitTimerTick(); };
    FDefaultMenuItemFont = std::make_unique<TFont>();
    FDefaultMenuItemFont->SetName(u"Tahoma");
    FDefaultMenuItemFont->SetHeight(13);
    if (FForm) FForm->FreeNotification(this);
}

TqxSkinMenu::~TqxSkinMenu() {
    CloseFrom(0);
    SetPopupCtrl(nullptr);
    SetDCtrl(nullptr);
    if (FForm) FForm->RemoveFreeNotification(this);
}

void TqxSkinMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    // An opener freed while the chain is open is told nothing afterwards.
    if (AComponent == FPopupCtrl) FPopupCtrl = nullptr;
    if (AComponent == FDCtrl) FDCtrl = nullptr;
    if (AComponent == FForm) FForm = nullptr;
}

void TqxSkinMenu::SetPopupCtrl(TControl* AValue) {
    if (FPopupCtrl == AValue) return;
    if (FPopupCtrl && FPopupCtrl != FDCtrl) FPopupCtrl->RemoveFreeNotification(this);
    FPopupCtrl = AValue;
    if (FPopupCtrl) FPopupCtrl->FreeNotification(this);
}

void TqxSkinMenu::SetDCtrl(TControl* AValue) {
    if (FDCtrl == AValue) return;
    if (FDCtrl && FDCtrl != FPopupCtrl) FDCtrl->RemoveFreeNotification(this);
    FDCtrl = AValue;
    if (FDCtrl) FDCtrl->FreeNotification(this);
}

void TqxSkinMenu::Tell(TControl* AControl, UINT AMsg) {
    if (!AControl) return;
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed && windowed->HandleAllocated())
        SendMessageW(windowed->Handle(), AMsg, 0, 0);
    else
        AControl->Perform(AMsg, 0, 0);
}

void TqxSkinMenu::GetWorkArea(TRect& R) const {
    if (FForm && FForm->HandleAllocated())
        GetMonitorWorkArea(FForm->Handle(), true, R);
    else
        GetScreenWorkArea(true, R);
}

Integer TqxSkinMenu::IndexOfPopup(const TqxSkinPopupWindow* AWindow) const {
    for (size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i].get() == AWindow) return Integer(i);
    return PopupCount();
}

void TqxSkinMenu::OpenChain(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R,
                            TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp) {
    FFirst = !FVisible;
    // A chain that showed nothing still owes its opener the close.
    if (!FPopupList.empty() || FPopupCtrl || OnMenuClose) CloseFrom(0);
    SetPopupCtrl(APopupCtrl);
    GetWorkArea(WorkArea);
    SkinData = ASkinData;
    const Integer count = !AItem ? 0 : AItem2 ? AItem->Count() + AItem2->Count() : AItem->Count();
    // Nothing to show opens no window; the opener hears of the next close.
    if (!AItem || AItem->Count() == 0 || StartIndex >= count) return;
    FVisible = true;
    if (AItem2)
        AddPopupWindow2(R, AItem, AItem2, StartIndex, false, PopupUp);
    else
        AddPopupWindow(R, AItem, StartIndex, false, PopupUp);
    FFirst = false;
}

void TqxSkinMenu::Popup(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R,
                        TMenuItem* AItem, bool PopupUp) {
    OpenChain(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TqxSkinMenu::Popup2(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer StartIndex, const TRect& R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp) {
    OpenChain(APopupCtrl, ASkinData, StartIndex, R, AItem, AItem2, PopupUp);
}

void TqxSkinMenu::AddPopupWindow(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem,
                                 bool PopupUp) {
    TqxDataSkinPopupWindow* data = SkinData && !SkinData->Empty ? SkinData->PopupWindow() : nullptr;
    FPopupList.push_back(std::make_unique<TqxSkinPopupWindow>(nullptr, this, data));
    FPopupList.back()->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TqxSkinMenu::AddPopupWindow2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                                  bool PopupByItem, bool PopupUp) {
    TqxDataSkinPopupWindow* data = SkinData && !SkinData->Empty ? SkinData->PopupWindow() : nullptr;
    FPopupList.push_back(std::make_unique<TqxSkinPopupWindow>(nullptr, this, data));
    FPopupList.back()->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
}

void TqxSkinMenu::CloseFrom(Integer Index) {
    Index = std::max(Index, 0);
    while (Integer(FPopupList.size()) > Index) {
        std::unique_ptr<TqxSkinPopupWindow> window = std::move(FPopupList.back());
        FPopupList.pop_back();
        if (WItem && WItem->Parent == window.get()) {
            WaitTimer->SetEnabled(false);
            WItem = nullptr;
        }
        window.reset();
    }
    if (Index != 0) return;
    FVisible = false;
    WaitTimer->SetEnabled(false);
    SetDCtrl(FPopupCtrl);
    if (TControl* opener = FPopupCtrl) {
        SetPopupCtrl(nullptr);
        Tell(opener, SKINMSG_MENUCLOSED);
    }
    if (TNotifyEvent close = std::move(OnMenuClose)) {
        OnMenuClose = nullptr;
        close(this);
    }
}

void TqxSkinMenu::Hide() {
    CloseFrom(0);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (FForm && FForm->HandleAllocated()) SendMessageW(FForm->Handle(), SKINMSG_MENUCLOSED, 0, 0);
}

void TqxSkinMenu::StopWaiting() {
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
}

void TqxSkinMenu::CloseDeeper(TqxSkinPopupWindow* Sender) {
    const Integer index = IndexOfPopup(Sender);
    if (index < PopupCount() - 1) CloseFrom(index + 1);
}

void TqxSkinMenu::ProcessItem(TqxSkinPopupWindow* Sender, TqxSkinMenuItem* Item, bool Activate,
                              bool ByKeyboard) {
    if (!Item->HasChildren()) {
        StopWaiting();
        if (!Activate) {
            CloseDeeper(Sender);
            return;
        }
        // Hide frees the windows and their rows: what the command needs is
        // taken first.
        TMenuItem* menuItem = Item->MenuItem;
        TMenu* menu = menuItem->GetParentMenu();
        const Word command = menuItem->Command();
        Hide();
        if (menu)
            menu->DispatchCommand(command);
        else
            menuItem->Click();
        if (TControl* target = FDCtrl) {
            SetDCtrl(nullptr);
            Tell(target, SKINMSG_MENUCOMMAND);
        }
        return;
    }
    if (Activate) {
        TMenuItem* menuItem = Item->MenuItem;
        // Applications fill submenus in the click handler.
        if (TMenu* menu = menuItem->GetParentMenu())
            menu->DispatchCommand(menuItem->Command());
        else
            menuItem->Click();
        StopWaiting();
        if (IndexOfPopup(Sender) >= PopupCount() || Sender->IndexOfItem(Item) < 0) return;
        Item->Down = true;
        const TPoint origin = Point(Sender->Left(), Sender->Top());
        TRect r = Item->ObjectRect;
        r = Rect(r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y);
        AddPopupWindow(r, menuItem, 0, true, false);
        return;
    }
    if (ByKeyboard) return;
    StopWaiting();
    CloseDeeper(Sender);
    WItem = Item;
    WaitTimer->SetEnabled(true);
}

void TqxSkinMenu::WaitTimerTick() {
    if (TqxSkinMenuItem* item = WItem) ProcessItem(item->Parent, item, true, false);
    WaitTimer->SetEnabled(false);
}

void TqxSkinMenu::PopupKeyDown(Word AKey) {
    if (FVisible && !FPopupList.empty()) FPopupList.back()->PopupKeyDown(AKey);
}

bool TqxSkinMenu::LastPopupItemHasChildren() const {
    if (FPopupList.empty()) return false;
    const TqxSkinMenuItem* item = FPopupList.back()->ActiveRow();
    return item && item->HasChildren();
}

std::unique_ptr<TqxFormSkinMenu> MakeSkinMenu(TqxDravenfold*, TCustomForm* AForm) {
    return std::make_unique<TqxSkinMenu>(nullptr, AForm);
}

TqxSkinPopupMenu::TqxSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TqxSkinPopupMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TPopupMenu::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FComponentForm) FComponentForm = nullptr;
    if (AComponent == FSkinComponent) FSkinComponent = nullptr;
}

void TqxSkinPopupMenu::SetSkinData(TqxSkinData* AValue) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TqxSkinPopupMenu::SetComponentForm(TCustomForm* AValue) {
    if (FComponentForm) FComponentForm->RemoveFreeNotification(this);
    FComponentForm = AValue;
    if (FComponentForm) FComponentForm->FreeNotification(this);
}

void TqxSkinPopupMenu::SetSkinComponent(TComponent* AValue) {
    if (FSkinComponent) FSkinComponent->RemoveFreeNotification(this);
    FSkinComponent = AValue;
    if (FSkinComponent) FSkinComponent->FreeNotification(this);
}

TqxDravenfold* TqxSkinPopupMenu::FindComponent() const {
    if (FSkinComponent) return dynamic_cast<TqxDravenfold*>(FSkinComponent);
    if (FComponentForm) return FindDravenfold(FComponentForm);
    TCustomForm* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form && Owner()) form = dynamic_cast<TCustomForm*>(Owner()->Owner());
    if (!form) return nullptr;
    // An MDI child's menus run in the main form's chain.
    if (form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        form = Application->MainForm();
    return FindDravenfold(form);
}

void TqxSkinPopupMenu::PopupSteps(TControl* ACtrl, const TRect& R, bool APopupUp, bool ANeedSkin) {
    DoPopup(this);
    TqxDravenfold* component = FindComponent();
    if (component && !FSD)
        SetSkinData(component->MenusSkinData() ? component->MenusSkinData() : component->SkinData());
    if (!component || (ANeedSkin && !FSD)) return;
    TqxFormSkinMenu* menu = component->SkinMenu();
    if (!menu) return;
    if (menu->Visible()) component->SkinMenuClose();
    FPopupPoint = Point(R.Left, R.Top);
    component->SkinMenuOpen();
    auto* skinMenu = dynamic_cast<TqxSkinMenu*>(menu);
    menu->Popup(ACtrl, FSD, 0, R, Items(), APopupUp);
    // Fires at this chain's close, also when it showed nothing.
    if (skinMenu && OnMenuClose) skinMenu->OnMenuClose = OnMenuClose;
}

void TqxSkinPopupMenu::Popup(Integer X, Integer Y) {
    PopupSteps(nullptr, Rect(X, Y, X, Y), false, false);
}

void TqxSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) {
    PopupSteps(nullptr, R, APopupUp, false);
}

void TqxSkinPopupMenu::Popup2(TControl* ACtrl, Integer X, Integer Y) {
    PopupSteps(ACtrl, Rect(X, Y, X, Y), false, true);
}

void TqxSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) {
    PopupSteps(ACtrl, R, APopupUp, true);
}

void InstallSkinPopupMenuMaker() {
    SetPopupMenuMaker([](TComponent* AOwner) -> TPopupMenu* { return new TqxSkinPopupMenu(AOwner); });
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxSkinPopupMenu, TPopupMenu>().Property(u"SkinData", &TqxSkinPopupMenu::SkinData,
                                                           &TqxSkinPopupMenu::SetSkinData);
    return true;
}();

}  // namespace
