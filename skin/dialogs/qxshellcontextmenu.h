// The shell views' item menu: the item's verbs (打开, 重命名, 删除, 属性) in a
// skinned popup menu. "open" starts the desktop's program, "delete" moves
// the item to the trash, "rename" starts the view's own label edit and
// "properties" shows a message box with the item's path, size and date. A
// view that takes commands over (IShellCommandTarget) sees each first.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "skin/dialogs/qxshellitems.h"
#include "skin/forms/skinmenus.h"

// What the menu needs of the view that shows it.
struct TqxItemMenuHost {
    TqxSkinData* SkinData = nullptr;
    // The view's form: its frame component shows the skinned menu.
    TCustomForm* Form = nullptr;
    IShellCommandTarget* Target = nullptr;
    // Starts editing the item's name in the view.
    std::function<void()> Rename;
    // The view reads its folder again after a change.
    std::function<void()> Changed;
    // The menu closed.
    std::function<void()> Closed;
};

// The current directory while "open" starts a program: the folder of the
// item's path, then the directory saved before, however the verb ended.
class TqxOpenDirectory {
public:
    void Enter(const String& AVerb, TqxShellFolder* AItem);
    void Leave(const String& AVerb);

private:
    std::optional<String> FSaved;
};

// A view's refresh asked for by its folder watcher: held back while the
// view's item menu shows (the menu's entries point at the view's items,
// which a refresh frees) and run from the GUI thread's queue once it closed.
class TqxHeldRefresh {
public:
    explicit TqxHeldRefresh(std::function<void()> ARefresh, const void* AOwner)
        : FRefresh(std::move(ARefresh)), FOwner(AOwner) {}
    void Request();
    // ShowItemContextMenu, with the menu's close releasing a held refresh.
    void ShowMenu(TqxItemMenuHost AHost, TqxShellFolder* AItem, Integer X, Integer Y,
                  std::unique_ptr<TqxSkinPopupMenu>& AMenu);

private:
    std::function<void()> FRefresh;
    const void* FOwner;
    bool FMenuShown = false;
    bool FHeld = false;
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
