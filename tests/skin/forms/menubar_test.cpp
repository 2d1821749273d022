// The skinned main menu bar: its items' layout and overflow marker, the
// pointer moving an open menu along the bar, the keyboard menu mode, the
// child-menu merge and the system buttons of a maximized child.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinmenus.h"

using namespace win;
using namespace skinfixtures;

namespace {

class MenuBarTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FormSkinMenuMaker = MakeSkinMenu;
    }

    static void PressKey(BYTE AKey) {
        driver::Key(AKey);
        Application->ProcessMessages();
    }
    static void AltKey(BYTE AKey) {
        driver::KeyDown(VK_MENU);
        if (AKey) driver::Key(AKey);
        driver::KeyUp(VK_MENU);
        Application->ProcessMessages();
    }
    static TqxSkinMenu* SkinMenu(TForm* AForm) { return dynamic_cast<TqxSkinMenu*>(D(AForm)->SkinMenu()); }

    TMenuItem* AddItem(TMenuItem* AParent, TMenu* AMenu, const String& ACaption,
                       const std::string& ALog = {}) {
        auto* item = new TMenuItem(AMenu);
        item->SetCaption(ACaption);
        if (!ALog.empty()) item->OnClick = [this, ALog](TObject*) { Log.push_back(ALog); };
        AParent->Add(item);
        return item;
    }

    // A form with a bar of the captions; each item but the last leaf has
    // two children.
    TqxSkinMainMenuBar* BarForm(TForm*& AForm, const std::vector<String>& ACaptions, Integer AWidth = 400) {
        AForm = NewSkinnedForm(u"Bar", Rect(100, 100, 100 + AWidth, 400));
        auto* menu = new TMainMenu(AForm);
        for (size_t i = 0; i < ACaptions.size(); ++i) {
            TMenuItem* top =
                AddItem(menu->Items(), menu, ACaptions[i], "click " + StringToUTF8(ACaptions[i]));
            top->SetName(u"Top" + IntToStr(Integer(i)));
            if (i + 1 < ACaptions.size()) {
                AddItem(top, menu, u"One", "one");
                AddItem(top, menu, u"Two", "two");
            }
        }
        auto* bar = new TqxSkinMainMenuBar(AForm);
        bar->SetParent(AForm);
        bar->SetDravenfold(D(AForm));
        bar->SetMainMenu(menu);
        driver::Pump();
        return bar;
    }
    static TqxSkinMainMenuBarItem* Item(TqxSkinMainMenuBar* ABar, Integer AIndex) {
        return dynamic_cast<TqxSkinMainMenuBarItem*>(
            ABar->ObjectList[size_t(ABar->ButtonsCount + AIndex)].get());
    }
    static POINT Centre(TqxSkinMainMenuBar* ABar, const TRect& R) {
        const TPoint p = ABar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        return POINT{p.X, p.Y};
    }
    // The caption of the open menu's first row.
    static String OpenMenuFirst(TForm* AForm) {
        TqxSkinMenu* menu = SkinMenu(AForm);
        if (menu->PopupCount() == 0) return u"";
        return menu->PopupWindow(0)->Item(0)->MenuItem->Caption();
    }

    std::vector<std::string> Log;
};

TEST_F(MenuBarTest, DefaultItemsAreTheirTextWideAndHiddenOnesPopFromTheMarker) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"File", u"Edit", u"View", u"Tools", u"Window", u"Help"}, 200);
    TqxSkinMainMenuBarItem* first = Item(bar, 0);

    first->CalcObjectRect(bar->Canvas());
    EXPECT_EQ(first->ObjectRect.Left, 2);
    EXPECT_GT(first->ObjectRect.Width(), 12);
    std::vector<String> hidden;
    for (Integer i = 0; i < 6; ++i)
        if (!Item(bar, i)->Visible) hidden.push_back(Item(bar, i)->MenuItem->Caption());
    ASSERT_FALSE(hidden.empty());
    ASSERT_LT(hidden.size(), 6u);
    EXPECT_TRUE(bar->Scroll);
    EXPECT_FALSE(Item(bar, 5)->Enabled);
    driver::Click(Centre(bar, bar->MarkerRect()));
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    TqxSkinPopupWindow* window = SkinMenu(form)->PopupWindow(0);
    ASSERT_EQ(size_t(window->ItemCount()), hidden.size());
    for (size_t i = 0; i < hidden.size(); ++i)
        EXPECT_EQ(window->Item(Integer(i))->MenuItem->Caption(), hidden[i]);
    // Wide enough again: every item is back with its own state.
    SkinMenu(form)->Hide();
    form->SetWidth(900);
    driver::Pump();
    EXPECT_TRUE(Item(bar, 5)->Visible);
    EXPECT_TRUE(Item(bar, 5)->Enabled);
}

TEST_F(MenuBarTest, AnOpenMenuFollowsThePointerAlongTheBarClickFirst) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"File", u"Edit", u"Help"});
    driver::MouseMove(Centre(bar, Item(bar, 0)->ObjectRect));
    driver::MouseDown(Centre(bar, Item(bar, 0)->ObjectRect));
    driver::MouseUp(Centre(bar, Item(bar, 0)->ObjectRect));
    driver::Pump();
    EXPECT_TRUE(Item(bar, 0)->FDown);
    EXPECT_TRUE(D(form)->InMainMenu());
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_EQ(SkinMenu(form)->PopupWindow(0)->Top(),
              bar->ClientToScreen(Point(0, Item(bar, 0)->ObjectRect.Bottom)).Y);
    Log.clear();
    SkinMenu(form)->OnMenuClose = [&](TObject*) { Log.push_back("File menu closed"); };
    driver::MouseMove(Centre(bar, Item(bar, 1)->ObjectRect));
    driver::AdvanceTime(50);
    EXPECT_EQ(Log, (std::vector<std::string>{"click Edit", "File menu closed"}));
    EXPECT_FALSE(Item(bar, 0)->FDown);
    EXPECT_TRUE(Item(bar, 1)->FDown);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_TRUE(D(form)->InMainMenu());
}

TEST_F(MenuBarTest, ALeafItemRunsOnThePressAndEndsMenuMode) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"File", u"&About"});
    AltKey(0);
    EXPECT_TRUE(bar->MenuActive);
    EXPECT_TRUE(D(form)->InMainMenu());
    driver::MouseMove(Centre(bar, Item(bar, 1)->ObjectRect));
    driver::MouseDown(Centre(bar, Item(bar, 1)->ObjectRect));
    driver::Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"click &About"});
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_FALSE(D(form)->InMainMenu());
    EXPECT_FALSE(bar->MenuActive);
    driver::MouseUp(Centre(bar, Item(bar, 1)->ObjectRect));
}

TEST_F(MenuBarTest, AltWithALetterOpensItsItemAndRightWrapsInMenuMode) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"&File", u"&Edit", u"&View", u"&Help"});
    AltKey('E');
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_TRUE(Item(bar, 1)->FDown);
    EXPECT_EQ(OpenMenuFirst(form), u"One");
    // Right moves the open menu along and wraps from the last shown item.
    PressKey(VK_RIGHT);
    EXPECT_TRUE(Item(bar, 2)->FDown);
    PressKey(VK_RIGHT);
    EXPECT_TRUE(Item(bar, 3)->FDown || Item(bar, 3)->Active);
    PressKey(VK_RIGHT);
    EXPECT_TRUE(Item(bar, 0)->FDown);
    PressKey(VK_LEFT);
    EXPECT_TRUE(Item(bar, 3)->Active);
    // Escape closes the popup first, then menu mode.
    PressKey(VK_RIGHT);
    ASSERT_TRUE(Item(bar, 0)->FDown);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_TRUE(D(form)->InMainMenu());
    EXPECT_TRUE(Item(bar, 0)->Active);
    PressKey(VK_DOWN);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(D(form)->InMainMenu());
    EXPECT_FALSE(bar->MenuActive);
    EXPECT_FALSE(Application->OnMessage);
}

TEST_F(MenuBarTest, AnItemWhoseHandlerRebuildsTheBarStillOpensByItsLetter) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"&File", u"&Edit", u"&View", u"&Help"});
    for (Integer i = 0; i < 3; ++i)
        Item(bar, i)->MenuItem->OnClick = [&](TObject*) {
            Log.push_back("rebuilt");
            bar->UpDateItems();
        };
    // Opened from the idle bar, then moved to by letter while a menu is open.
    AltKey('E');
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_TRUE(Item(bar, 1)->FDown);
    AltKey('V');
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_TRUE(Item(bar, 2)->FDown);
    EXPECT_FALSE(Item(bar, 1)->FDown);
    EXPECT_EQ(Log, (std::vector<std::string>{"rebuilt", "rebuilt"}));
}

TEST_F(MenuBarTest, AChildMenuMergesByGroupKeepingMenuOrder) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {});
    TMainMenu* main = bar->MainMenu();
    struct TTop {
        TMenu* Menu;
        const char16_t* Caption;
        Byte Group;
    };
    auto* child = new TMainMenu(form);
    const TTop tops[] = {{main, u"M2a", 2}, {main, u"M0", 0},  {main, u"M1", 1},  {main, u"M2b", 2},
                         {child, u"C1", 1}, {child, u"C3", 3}, {child, u"C1b", 1}};
    for (const TTop& t : tops)
        AddItem(t.Menu->Items(), t.Menu, t.Caption)->SetGroupIndex(t.Group);
    bar->Merge(child);
    std::vector<String> captions;
    for (const auto& object : bar->ObjectList)
        captions.push_back(static_cast<TqxSkinMainMenuBarItem*>(object.get())->MenuItem->Caption());
    EXPECT_EQ(captions, (std::vector<String>{u"M0", u"C1", u"C1b", u"M2a", u"M2b", u"C3"}));
    EXPECT_TRUE(bar->ChildMenuIn());
    EXPECT_FALSE(bar->ScrollMenu());
    bar->UnMerge();
    EXPECT_EQ(bar->ObjectList.size(), 4u);
    EXPECT_FALSE(bar->ChildMenuIn());
}

TEST_F(MenuBarTest, AMaximizedChildsButtonsStandAtTheBarsEnds) {
    TForm* form = nullptr;
    TqxSkinMainMenuBar* bar = BarForm(form, {u"File", u"Edit"});
    // The child lives in an MDI main form's client.
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->Show();
    auto* child = new TForm(Application);
    child->SetFormStyle(fsMDIChild);
    auto* component = new TqxDravenfold(child);
    component->SetBorderIcons({TqxBorderIcon::biSystemMenu, TqxBorderIcon::biMaximize});
    child->Show();
    component->SetWindowState(wsMaximized);
    bar->MDIChildMaximized();
    driver::Pump();
    ASSERT_EQ(bar->ButtonsCount, 4);
    std::vector<TqxStdCommand> commands;
    for (Integer i = 0; i < 4; ++i)
        commands.push_back(static_cast<TqxSkinMainMenuBarButton*>(bar->ObjectList[size_t(i)].get())->Command);
    EXPECT_EQ(commands, (std::vector<TqxStdCommand>{cmSysMenu, cmClose, cmMaximize, cmMinimize}));
    const auto button = [&](Integer i) { return bar->ObjectList[size_t(i)].get(); };
    const Integer h = bar->Height() - 4;
    EXPECT_EQ(button(0)->ObjectRect, Bounds(2, 2, h, h));
    EXPECT_EQ(button(1)->ObjectRect, Bounds(bar->Width() - 2 - h, 2, h, h));
    EXPECT_EQ(button(2)->ObjectRect.Right, button(1)->ObjectRect.Left - 2);
    EXPECT_FALSE(button(3)->Enabled);
    EXPECT_EQ(Item(bar, 0)->ObjectRect.Left, 2 + h + 2);
    component->SetWindowState(wsNormal);
    bar->CheckMDIChildMaximized();
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_EQ(bar->ObjectList.size(), 2u);
}

}  // namespace
