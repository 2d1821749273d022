// Menu models: short cut texts, accelerators, radio groups, separators,
// commands, short cuts, and the plain popup of a right click.
#include "platform/toolkit/menus.h"

#include "platform/win/input.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Menus = ToolkitTest;

TMenuItem* Item(TMenuItem* AParent, const String& ACaption) {
    auto* item = new TMenuItem(AParent->Owner());
    item->SetCaption(ACaption);
    AParent->Add(item);
    return item;
}

TEST_F(Menus, ShortCutsReadAndWriteAsText) {
    struct Case {
        TShortCut ShortCut;
        const char16_t* Text;
    } cases[] = {
        {ShortCut(VK_F1, {}), u"F1"},
        {ShortCut('S', {ssCtrl}), u"Ctrl+S"},
        {ShortCut(VK_DELETE, {ssShift}), u"Shift+Del"},
        {ShortCut('9', {ssCtrl, ssAlt}), u"Ctrl+Alt+9"},
        {ShortCut(VK_RETURN, {}), u"Enter"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.ShortCut), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut);
    }
    EXPECT_EQ(TextToShortCut(u"ctrl+s"), ShortCut('S', {ssCtrl}));
    EXPECT_EQ(TextToShortCut(u"Ctrl+"), 0);
    EXPECT_EQ(ShortCutToText(0), u"");
}

TEST_F(Menus, AcceleratorsAreTheLetterAfterASingleAmpersand) {
    EXPECT_TRUE(IsAccel('F', u"&File"));
    EXPECT_TRUE(IsAccel('f', u"&File"));
    EXPECT_TRUE(IsAccel('C', u"取消(&C)"));
    EXPECT_FALSE(IsAccel('B', u"A&&B"));
    EXPECT_TRUE(IsAccel('C', u"A&&B&C"));
    EXPECT_FALSE(IsAccel('F', u"File&"));
    EXPECT_EQ(StripHotkey(u"取消(&C) && X"), u"取消(C) & X");
}

TEST_F(Menus, CheckingARadioItemUnchecksTheOthersOfItsGroup) {
    TPopupMenu menu(nullptr);
    TMenuItem* a = Item(menu.Items(), u"A");
    TMenuItem* b = Item(menu.Items(), u"B");
    TMenuItem* other = Item(menu.Items(), u"Other");
    for (TMenuItem* item : {a, b, other})
        item->SetRadioItem(true);
    other->SetGroupIndex(2);
    other->SetChecked(true);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
}

TEST_F(Menus, RethinkLinesHidesSeparatorsAtTheEdgesAndNextToOthers) {
    TPopupMenu menu(nullptr);
    for (const char16_t* caption : {u"-", u"A", u"-", u"-", u"B", u"hidden", u"-", u"C", u"-"})
        Item(menu.Items(), caption);
    menu.Items()->Items(5)->SetVisible(false);
    EXPECT_TRUE(menu.Items()->RethinkLines());
    std::u16string shown;
    for (Integer i = 0; i < menu.Items()->Count(); ++i)
        if (menu.Items()->Items(i)->Visible()) shown += menu.Items()->Items(i)->Caption();
    EXPECT_EQ(shown, u"A-B-C");
    EXPECT_FALSE(menu.Items()->RethinkLines());
}

TEST_F(Menus, CommandsAndShortCutsClickTheirItem) {
    TForm* form = NewForm();
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), u"&File");
    TMenuItem* open = Item(file, u"&Open");
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    Integer opened = 0;
    open->OnClick = [&](TObject*) { ++opened; };
    EXPECT_EQ(open->GetParentMenu(), menu);
    EXPECT_TRUE(menu->DispatchCommand(open->Command()));
    EXPECT_FALSE(menu->DispatchCommand(0));
    EXPECT_NE(file->Command(), open->Command());

    TWMKey key{WM_KEYDOWN, 'O', 0, 0};
    driver::KeyDown(VK_CONTROL);
    Pump();
    EXPECT_TRUE(menu->IsShortCut(key));
    file->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut(key));
    driver::KeyUp(VK_CONTROL);
    EXPECT_EQ(opened, 2);
}

TEST_F(Menus, ARightClickPopsUpTheControlsMenuAndAChosenItemRuns) {
    TForm* form = NewForm();
    auto* graphic = new TTestGraphic(form);
    graphic->SetBoundsRect(Bounds(10, 10, 50, 30));
    graphic->SetParent(form);
    auto* menu = new TPopupMenu(form);
    Item(menu->Items(), u"First");
    TMenuItem* second = Item(menu->Items(), u"Second");
    Integer popups = 0, chosen = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    second->OnClick = [&](TObject*) { ++chosen; };
    graphic->SetPopupMenu(menu);

    driver::Click(At(graphic, 5, 5), VK_RBUTTON);
    Pump();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), graphic);
    // The popup opens at the point: the second row lies one row lower.
    const POINT at = At(graphic, 5, 5);
    driver::Click({at.x + 10, at.y + 25});
    Pump();
    EXPECT_EQ(chosen, 1);
}

TEST_F(Menus, TheMenuKeyPopsUpTheMenuOfTheFocusedControlOrItsParent) {
    TForm* form = NewForm();
    auto* edit = new TTestEdit(form);
    edit->SetParent(form);
    edit->SetFocus();
    auto* formMenu = new TPopupMenu(form);
    auto* editMenu = new TPopupMenu(form);
    Item(formMenu->Items(), u"Form");
    Item(editMenu->Items(), u"Edit");
    std::vector<TComponent*> popped;
    formMenu->OnPopup = [&](TObject*) { popped.push_back(formMenu->PopupComponent()); };
    editMenu->OnPopup = [&](TObject*) { popped.push_back(edit); };
    form->SetPopupMenu(formMenu);

    driver::Key(VK_APPS);
    Pump();
    edit->SetPopupMenu(editMenu);
    driver::KeyDown(VK_SHIFT);
    driver::Key(VK_F10);
    driver::KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(popped, (std::vector<TComponent*>{form, edit}));
}

}  // namespace
