#include "skin/controls/qxmenuopener.h"

#include <utility>

#include "platform/toolkit/menus.h"

namespace {
TqxPopupMenuMaker& Maker() {
    static TqxPopupMenuMaker maker;
    return maker;
}

TqxFormSkinDataFinder& Finder() {
    static TqxFormSkinDataFinder finder;
    return finder;
}
}  // namespace

IqxSkinPopupMenu* SkinPopupMenuOf(TPopupMenu* AMenu) {
    return dynamic_cast<IqxSkinPopupMenu*>(AMenu);
}

void SetPopupMenuMaker(TqxPopupMenuMaker AMaker) {
    Maker() = std::move(AMaker);
}

TPopupMenu* MakePopupMenu(TComponent* AOwner) {
    if (Maker()) return Maker()(AOwner);
    return new TPopupMenu(AOwner);
}

void PopupMenuFor(TPopupMenu* AMenu, TControl* AControl, Integer X, Integer Y) {
    if (!AMenu) return;
    if (IqxSkinPopupMenu* skinned = SkinPopupMenuOf(AMenu))
        skinned->Popup2(AControl, X, Y);
    else
        AMenu->Popup(X, Y);
}

bool PopupMenuUnder(TPopupMenu* AMenu, TControl* AControl, const TRect& ARect) {
    if (IqxSkinPopupMenu* skinned = SkinPopupMenuOf(AMenu)) {
        skinned->PopupFromRect2(AControl, ARect, false);
        return true;
    }
    AMenu->Popup(ARect.Left, ARect.Bottom);
    return false;
}

void SetFormSkinDataFinder(TqxFormSkinDataFinder AFinder) {
    Finder() = std::move(AFinder);
}

TqxSkinData* FormSkinData(TCustomForm* AForm) {
    return AForm && Finder() ? Finder()(AForm) : nullptr;
}
