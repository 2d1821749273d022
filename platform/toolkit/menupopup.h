// The plain popup that shows a popup menu's items until a skin's menu
// replaces TPopupMenu::Popup: a list window under the mouse; a click on an
// item closes it and clicks the item, a click elsewhere just closes it.
#pragma once

#include "platform/base/types.h"

class TPopupMenu;

void ShowPlainPopup(TPopupMenu* AMenu, Integer X, Integer Y);
// Closes the popup when it shows AMenu's items.
void ClosePlainPopup(TPopupMenu* AMenu);
