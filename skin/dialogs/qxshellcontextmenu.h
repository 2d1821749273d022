// The shell views' item menu: the item's verbs (打开, 重命名, 删除, 属性) in a
// skinned popup menu. "open" starts the desktop's program, "delete" moves
// the item to the trash, "rename" starts the view's own label edit and
// "properties" shows a message box with the item's path, size and date. A
// view that takes commands over (IShellCommandTarget) sees each first.
#pragma once

#include <functional>
#include <memory>

#include "skin/dialogs/qxshellitems.h"
#include "skin/forms/skinmenus.h"

// What the menu needs of the view that shows it.
struct TqxItemMenuHost {
    TqxSkinData* SkinData = nullptr;
    IShellCommandTarget* Target = nullptr;
    // Starts editing the item's name in the view.
    std::function<void()> Rename;
    // The view reads its folder again after a change.
    std::function<void()> Changed;
};

// The properties box's text: path, size and last change.
String ItemPropertiesText(TqxShellFolder* AItem);
// Runs AVerb on AItem as the menu does; false when it failed or was refused.
bool RunItemVerb(const TqxItemMenuHost& AHost, TqxShellFolder* AItem, const AnsiString& AVerb);
// A new popup menu with one item per verb of AItem, which must live while
// the menu shows; nil when the item offers none.
TqxSkinPopupMenu* BuildItemMenu(const TqxItemMenuHost& AHost, TqxShellFolder* AItem);
// Builds the menu into AMenu (the view's, replacing the last one) and
// shows it at the screen point X, Y.
void ShowItemContextMenu(const TqxItemMenuHost& AHost, TqxShellFolder* AItem, Integer X, Integer Y,
                         std::unique_ptr<TqxSkinPopupMenu>& AMenu);
