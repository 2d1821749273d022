// The form component's side of the ribbon: the link, the application
// menu's caption in the frame, and the keys.
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/ribbon.h"
#include "skin/forms/skinmenus.h"

void TqxDravenfold::SetSkinRibbon(TqxRibbon* Value) {
    if (FSkinRibbon == Value) return;
    if (FSkinRibbon) {
        FSkinRibbon->RemoveFreeNotification(this);
        if (FSkinRibbon->QXD() == this) FSkinRibbon->SetQXD(nullptr);
    }
    FSkinRibbon = Value;
    if (!FSkinRibbon) return;
    FSkinRibbon->FreeNotification(this);
    FSkinRibbon->SetQXD(this);
}

void TqxDravenfold::RibbonRemoved(TComponent* AComponent) {
    if (FSkinRibbon && AComponent == FSkinRibbon) FSkinRibbon = nullptr;
}

bool TqxDravenfold::AppMenuCaptionDrawn() const {
    return FSkinRibbon && FSkinRibbon->AppMenuVisible() && FSkinRibbon->AppMenu()->CanDrawAppMenuCaption();
}

Integer TqxDravenfold::AppMenuCaptionOffset() const {
    return FSkinRibbon && FSkinRibbon->AppMenu() ? FSkinRibbon->AppMenu()->GetAppMenuCaptionOffset() : 0;
}

void TqxDravenfold::PaintAppMenuCaption(TCanvas* ACanvas, Integer ATopHeight) {
    TqxAppMenu* menu = FSkinRibbon->AppMenu();
    menu->DrawAppMenuCaption(ACanvas, Rect(0, 0, menu->ItemWidth(), ATopHeight));
}

void TqxDravenfold::RibbonKeyMenu() {
    if (FSkinRibbon->AppMenuVisible()) FSkinRibbon->HideAppMenu(nullptr);
    if (FSkinMenu && FSkinMenu->Visible())
        FSkinMenu->Hide();
    else
        SkinMenuClose();
    if (FSkinRibbon->CanFocus()) FSkinRibbon->SetFocus();
}

bool TqxDravenfold::RibbonShortCut(TWMKey& Msg) {
    if (TqxSkinPopupMenu* menu = FSkinRibbon->AppButtonPopupMenu();
        menu && Msg.CharCode != 0 && menu->IsShortCut(Msg))
        return true;
    if (!KeyDataToShiftState(Msg.KeyData).Contains(ssAlt)) return false;
    TqxRibbonTabs* tabs = FSkinRibbon->Tabs();
    for (Integer i = 0; i < tabs->Count(); ++i) {
        TqxRibbonPage* page = tabs->Items(i)->Page();
        if (page && IsAccel(Msg.CharCode, page->Caption())) {
            FSkinRibbon->SetActivePage(page);
            return true;
        }
    }
    return false;
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxDravenfold, TComponent>().Property(u"SkinRibbon", &TqxDravenfold::SkinRibbon,
                                                        &TqxDravenfold::SetSkinRibbon);
    return true;
}();

}  // namespace
