// What skinned controls ask of the skinned popup menu and of the form's
// skinning component, which live in the form library that comes after this
// one: a control holds its menu as a toolkit TPopupMenu and asks it for this
// interface. The menu reports back to the opener with SKINMSG_MENUCLOSED
// when its chain closes and SKINMSG_MENUCOMMAND after a command (WParam 0,
// LParam 0).
#pragma once

#include <functional>

#include "platform/base/classes.h"
#include "platform/toolkit/geometry.h"

class TControl;
class TCustomForm;
class TPopupMenu;
class TqxSkinData;

class IqxSkinPopupMenu {
public:
    virtual ~IqxSkinPopupMenu() = default;
    // Opens for AControl at the screen point (X, Y); nothing without a skin
    // data to draw from.
    virtual void Popup2(TControl* AControl, Integer X, Integer Y) = 0;
    // Opens for AControl under the screen rectangle ARect, or above it.
    virtual void PopupFromRect2(TControl* AControl, const TRect& ARect, bool APopupUp) = 0;
};

// The skinned popup menu's interface, or nil when AMenu is none or a plain
// toolkit menu.
IqxSkinPopupMenu* SkinPopupMenuOf(TPopupMenu* AMenu);

// Makes the popup menu a control builds for itself (the inner edit's edit
// menu): the skinned one once the form library installs its maker, a plain
// toolkit TPopupMenu until then.
using TqxPopupMenuMaker = std::function<TPopupMenu*(TComponent* AOwner)>;
void SetPopupMenuMaker(TqxPopupMenuMaker AMaker);
TPopupMenu* MakePopupMenu(TComponent* AOwner);

// Pops a menu a control built for itself at the screen point (X, Y) for
// AControl: skinned through Popup2, else the toolkit's own popup.
void PopupMenuFor(TPopupMenu* AMenu, TControl* AControl, Integer X, Integer Y);
// Pops AMenu down from under the screen rectangle ARect for AControl (the
// drop-down buttons). True when the menu will report its closing
// (SKINMSG_MENUCLOSED); a plain toolkit menu has closed on return.
bool PopupMenuUnder(TPopupMenu* AMenu, TControl* AControl, const TRect& ARect);

// The skin data of a form's form-skinning component, whose string table
// titles the menus controls build; the form library installs the finder.
// Nil without a finder, a form, a component or a skin data.
using TqxFormSkinDataFinder = std::function<TqxSkinData*(TCustomForm* AForm)>;
void SetFormSkinDataFinder(TqxFormSkinDataFinder AFinder);
TqxSkinData* FormSkinData(TCustomForm* AForm);
