#include "skin/dialogs/qxshellcontextmenu.h"

#include "skin/dialogs/qxskinmessage.h"

#include <utility>

#include "platform/base/mainthread.h"

namespace {

std::shared_ptr<win::IContextMenu> ItemMenu(TqxShellFolder* AItem) {
    const std::shared_ptr<win::IShellFolder> parent = AItem ? AItem->ParentShellFolder() : nullptr;
    std::shared_ptr<win::IContextMenu> menu;
    PCItemIDList items[] = {AItem ? AItem->RelativeID() : nullptr};
    if (!parent || parent->GetUIObjectOf(nullptr, 1, items, menu) != win::S_OK) return nullptr;
    return menu;
}

}  // namespace

String ItemPropertiesText(TqxShellFolder* AItem) {
    String size, date;
    try {
        const TSearchRec data = ReadItemFindData(AItem);
        size = FindDataText(data, 1);
        date = FindDataText(data, 3);
    } catch (const Exception&) {
    }
    const String path = AItem->FullObjectName().empty() ? AItem->DisplayName() : AItem->FullObjectName();
    return u"位置: " + path + u"\n大小: " + size + u"\n修改时间: " + date;
}

bool RunItemVerb(const TqxItemMenuHost& AHost, TqxShellFolder* AItem, const AnsiString& AVerb) {
    if (!AItem) return false;
    const String verb = UTF8ToString(AVerb);
    bool handled = false;
    if (AHost.Target) AHost.Target->ExecuteCommand(verb, handled);
    if (handled) return true;
    bool succeeded = false;
    if (AVerb == "rename") {
        if (AHost.Rename) AHost.Rename();
        succeeded = bool(AHost.Rename);
    } else if (AVerb == "properties") {
        TqxSkinMessage box(nullptr);
        box.SetSkinData(AHost.SkinData);
        box.SetCtrlSkinData(AHost.SkinData);
        box.MessageDlg2(ItemPropertiesText(AItem), u"属性", mtInformation, {mbOK}, 0);
        succeeded = true;
    } else if (const std::shared_ptr<win::IContextMenu> menu = ItemMenu(AItem)) {
        succeeded = menu->InvokeCommand(nullptr, AVerb) == win::S_OK;
        if (succeeded && AVerb == "delete" && AHost.Changed) AHost.Changed();
    }
    if (AHost.Target) AHost.Target->CommandCompleted(verb, succeeded);
    return succeeded;
}

TqxSkinPopupMenu* BuildItemMenu(const TqxItemMenuHost& AHost, TqxShellFolder* AItem) {
    const std::shared_ptr<win::IContextMenu> menu = ItemMenu(AItem);
    if (!menu) return nullptr;
    const std::vector<win::TShellVerb> verbs = menu->Verbs();
    if (verbs.empty()) return nullptr;
    auto* popup = new TqxSkinPopupMenu(nullptr);
    popup->SetSkinData(AHost.SkinData);
    popup->SetComponentForm(AHost.Form);
    for (const win::TShellVerb& verb : verbs) {
        auto* entry = new TMenuItem(popup);
        entry->SetCaption(verb.Caption);
        const AnsiString name = verb.Verb;
        entry->OnClick = [AHost, AItem, name](TObject*) { RunItemVerb(AHost, AItem, name); };
        popup->Items()->Add(entry);
    }
    return popup;
}

void ShowItemContextMenu(const TqxItemMenuHost& AHost, TqxShellFolder* AItem, Integer X, Integer Y,
                         std::unique_ptr<TqxSkinPopupMenu>& AMenu) {
    AMenu.reset(BuildItemMenu(AHost, AItem));
    if (!AMenu) return;
    if (AHost.Closed) AMenu->OnMenuClose = [Closed = AHost.Closed](TObject*) { Closed(); };
    AMenu->Popup(X, Y);
}

void TqxOpenDirectory::Enter(const String& AVerb, TqxShellFolder* AItem) {
    if (AVerb != u"open" || !AItem || AItem->PathName().empty()) return;
    FSaved = GetCurrentDir();
    SetCurrentDir(ExtractFilePath(AItem->PathName()));
}

void TqxOpenDirectory::Leave(const String& AVerb) {
    if (AVerb != u"open" || !FSaved) return;
    SetCurrentDir(*FSaved);
    FSaved.reset();
}

void TqxHeldRefresh::Request() {
    if (FMenuShown)
        FHeld = true;
    else
        FRefresh();
}

void TqxHeldRefresh::ShowMenu(TqxItemMenuHost AHost, TqxShellFolder* AItem, Integer X, Integer Y,
                              std::unique_ptr<TqxSkinPopupMenu>& AMenu) {
    AHost.Closed = [this] {
        FMenuShown = false;
        // The chosen entry runs after the close: the refresh comes after it.
        if (std::exchange(FHeld, false)) Queue(FRefresh, FOwner);
    };
    FMenuShown = true;
    ShowItemContextMenu(AHost, AItem, X, Y, AMenu);
    if (!AMenu) FMenuShown = false;
}
