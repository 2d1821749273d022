// The form component's system menu (generated from the form's state and
// border icons, or the application's own completed with the standard
// items), its tray menu, and minimizing to the tray and back.
#include "platform/win/input.h"
#include "skin/core/qxresstrs.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/trayicon.h"

using namespace win;

namespace {

enum TStandardItem { siMinimize, siMaximize, siRestore, siRollUp, siMinimizeToTray, siClose };

struct TStandardText {
    const char16_t* Name;
    const char16_t* Key;
    const char16_t* Default;
};

constexpr TStandardText StandardTexts[] = {
    {u"QXD_MINITEM", u"MI_MINCAPTION", u"Mi&nimize"},
    {u"QXD_MAXITEM", u"MI_MAXCAPTION", u"Ma&ximize"},
    {u"QXD_RESTORE", u"MI_RESTORECAPTION", u"&Restore"},
    {u"QXD_ROLLUP", u"MI_ROLLUPCAPTION", u"Ro&llUp"},
    {u"QXD_MINTOTRAY", u"MI_MINTOTRAYCAPTION", u"Minimize to &Tray"},
    {u"QXD_CLOSE", u"MI_CLOSECAPTION", u"&Close"},
};

// The component's item of that name, out of any menu, made when missing.
TMenuItem* KeptItem(TqxDravenfold* AComponent, const String& AName) {
    auto* item = dynamic_cast<TMenuItem*>(AComponent->FindComponent(AName));
    if (!item) {
        item = new TMenuItem(AComponent);
        item->SetName(AName);
    } else if (item->Parent()) {
        item->Parent()->Remove(item);
    }
    return item;
}

// The system menu's divider, kept as its items are: the component's unnamed
// line that is in no other menu.
TMenuItem* Divider(TqxDravenfold* AComponent, TMenuItem* AItems) {
    for (Integer i = 0; i < AComponent->ComponentCount(); ++i) {
        auto* item = dynamic_cast<TMenuItem*>(AComponent->Components(i));
        if (item && item->Name().empty() && item->IsLine() && (!item->Parent() || item->Parent() == AItems)) {
            if (item->Parent()) item->Parent()->Remove(item);
            return item;
        }
    }
    auto* divider = new TMenuItem(AComponent);
    divider->SetCaption(u"-");
    return divider;
}

}  // namespace

// One standard item owned by the component, its caption from the skin's
// resource strings when there are some. Made once and kept: a rebuild takes
// it out and puts it back, so a popup still showing it never holds a freed item.
static TMenuItem* StandardItem(TqxDravenfold* AComponent, TStandardItem AKind, const char16_t* AName,
                               std::function<void()> AClick) {
    const TStandardText& text = StandardTexts[AKind];
    TMenuItem* item = KeptItem(AComponent, AName ? AName : text.Name);
    TqxResourceStrData* strings = AComponent->SkinData() ? AComponent->SkinData()->ResourceStrData() : nullptr;
    const String caption = strings ? strings->GetResStr(text.Key) : String();
    item->SetCaption(caption.empty() ? String(text.Default) : caption);
    item->OnClick = [AClick](TObject*) { AClick(); };
    if (AKind == siClose)
        item->SetShortCut(TShortCut(VK_F4) |
                          (AComponent->Form()->FormStyle() == fsMDIChild ? scCtrl : scAlt));
    return item;
}

TMenuItem* TqxDravenfold::GetSystemMenuItems() {
    if (FSystemMenu) {
        BuildSystemMenu();
        return FSystemMenu->Items();
    }
    RebuildSysMenuItems();
    return FSysMenu->Items();
}

namespace {

// Which standard items the form's state allows, by kind.
struct TAllowed {
    bool Items[6] = {};
};

}  // namespace

static TAllowed AllowedItems(TqxDravenfold* AComponent) {
    const TWindowState s = AComponent->AppliedWindowState();
    const bool r = AComponent->RollUpState();
    const TqxBorderIcons icons = AComponent->BorderIcons();
    const bool mdiChild = AComponent->Form()->FormStyle() == fsMDIChild;
    TAllowed a;
    a.Items[siMinimize] = icons.Contains(TqxBorderIcon::biMinimize) && s != wsMinimized;
    a.Items[siMaximize] = icons.Contains(TqxBorderIcon::biMaximize) && s != wsMaximized;
    a.Items[siRestore] = s != wsNormal || r;
    a.Items[siRollUp] =
        icons.Contains(TqxBorderIcon::biRollUp) && !(mdiChild && s == wsMaximized) && !r && s != wsMinimized;
    a.Items[siMinimizeToTray] = icons.Contains(TqxBorderIcon::biMinimizeToTray);
    a.Items[siClose] = true;
    return a;
}

static TMenuItem* MakeStandardItem(TqxDravenfold* AComponent, TStandardItem AKind) {
    TqxDravenfold* c = AComponent;
    switch (AKind) {
        case siMinimize:
            return StandardItem(c, AKind, nullptr, [c] {
                if (c->AlwaysMinimizeToTray())
                    c->MinimizeToTray();
                else
                    c->SetWindowState(wsMinimized);
            });
        case siMaximize:
            return StandardItem(c, AKind, nullptr, [c] { c->SetWindowState(wsMaximized); });
        case siRestore:
            return StandardItem(c, AKind, nullptr, [c] {
                if (c->MaxRollUpState || (c->RollUpState() && c->WindowState() == wsNormal))
                    c->SetRollUpState(false);
                else
                    c->SetWindowState(wsNormal);
            });
        case siRollUp:
            return StandardItem(c, AKind, nullptr, [c] { c->SetRollUpState(true); });
        case siMinimizeToTray:
            return StandardItem(c, AKind, nullptr, [c] { c->MinimizeToTray(); });
        case siClose:
            return StandardItem(c, AKind, nullptr, [c] { c->Form()->Close(); });
    }
    return nullptr;
}

void TqxDravenfold::RebuildSysMenuItems() {
    TMenuItem* items = FSysMenu->Items();
    // Taken out, not freed: the divider is found again among the kept items.
    while (items->Count() > 0)
        items->Remove(items->Items(items->Count() - 1));
    const TAllowed allowed = AllowedItems(this);
    for (const TStandardItem kind : {siMinimize, siMaximize, siRestore, siRollUp, siMinimizeToTray})
        if (allowed.Items[kind]) items->Add(MakeStandardItem(this, kind));
    if (items->Count() > 0) items->Add(Divider(this, items));
    items->Add(MakeStandardItem(this, siClose));
}

void TqxDravenfold::BuildSystemMenu() {
    if (!FUseDefaultSysMenu || !FSystemMenu) return;
    TMenuItem* items = FSystemMenu->Items();
    // Each removal restarts the scan, until none of ours is left.
    for (bool removed = true; removed;) {
        removed = false;
        for (Integer i = 0; i < items->Count(); ++i) {
            const String& name = items->Items(i)->Name();
            for (const TStandardText& text : StandardTexts)
                if (name == text.Name) {
                    items->Remove(items->Items(i));
                    removed = true;
                    break;
                }
            if (removed) break;
        }
    }
    const TAllowed allowed = AllowedItems(this);
    for (const TStandardItem kind : {siMinimizeToTray, siRollUp, siMaximize, siRestore, siMinimize})
        if (allowed.Items[kind]) items->Insert(0, MakeStandardItem(this, kind));
    items->Add(MakeStandardItem(this, siClose));
}

void TqxDravenfold::FillTrayMenu() {
    TMenuItem* items = FSysTrayMenu->Items();
    items->Add(StandardItem(this, siRestore, u"TRAY_QXD_RESTORE", [this] { RestoreFromTray(); }));
    auto* divider = new TMenuItem(this);
    divider->SetCaption(u"-");
    items->Add(divider);
    items->Add(StandardItem(this, siClose, u"TRAY_QXD_CLOSE", [this] { FForm->Close(); }));
}

void TqxDravenfold::MinimizeToTray() {
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(true);
    if (Application) Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TqxDravenfold::RestoreFromTray() {
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (Application) Application->Restore();
    if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
    CheckAppLayeredBorders();
}

void TqxDravenfold::SetTrayIcon(TqxTrayIcon* Value) {
    if (FTrayIcon == Value) return;
    if (FTrayIcon) FTrayIcon->RemoveFreeNotification(this);
    FTrayIcon = Value;
    if (!FTrayIcon) return;
    FTrayIcon->FreeNotification(this);
    if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    FTrayIcon->SetMinimizeToTray(false);
    if (!FTrayIcon->PopupMenu()) {
        FTrayIcon->SetPopupMenu(FSysTrayMenu);
        if (!FTrayIcon->OnDblClick) FTrayIcon->OnDblClick = [this](TObject*) { RestoreFromTray(); };
    }
}
