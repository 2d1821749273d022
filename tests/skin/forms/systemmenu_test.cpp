// The form component's system menu by the form's state, a supplied system
// menu completed with the standard items, and the tray round trip.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/trayicon.h"

using namespace win;
using namespace skinfixtures;

namespace {

class SystemMenuTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FormSkinMenuMaker = MakeSkinMenu;
    }
    static std::vector<String> Names(TMenuItem* AItems) {
        std::vector<String> names;
        for (Integer i = 0; i < AItems->Count(); ++i)
            names.push_back(AItems->Items(i)->IsLine() ? String(u"-") : AItems->Items(i)->Name());
        return names;
    }
    // An application's own system menu of one item.
    static TPopupMenu* AboutMenu(TForm* AForm) {
        auto* menu = new TPopupMenu(AForm);
        auto* about = new TMenuItem(menu);
        about->SetName(u"About");
        about->SetCaption(u"About");
        menu->Items()->Add(about);
        return menu;
    }
};

TEST_F(SystemMenuTest, TheGeneratedMenuFollowsTheFormsState) {
    using I = TqxBorderIcon;
    const TqxBorderIcons all{I::biSystemMenu, I::biMinimize, I::biMaximize, I::biRollUp};
    struct TCase {
        const char* Name;
        TqxBorderIcons Icons;
        TWindowState State;
        bool RolledUp;
        std::vector<String> Items;
    };
    const TCase cases[] = {
        {"normal", all, wsNormal, false, {u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_ROLLUP", u"-", u"QXD_CLOSE"}},
        {"maximized",
         all,
         wsMaximized,
         false,
         {u"QXD_MINITEM", u"QXD_RESTORE", u"QXD_ROLLUP", u"-", u"QXD_CLOSE"}},
        {"rolled up",
         all,
         wsNormal,
         true,
         {u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_RESTORE", u"-", u"QXD_CLOSE"}},
        {"minimized", all, wsMinimized, false, {u"QXD_MAXITEM", u"QXD_RESTORE", u"-", u"QXD_CLOSE"}},
        {"no icons, normal", {}, wsNormal, false, {u"QXD_CLOSE"}},
        {"no icons, maximized", {}, wsMaximized, false, {u"QXD_RESTORE", u"-", u"QXD_CLOSE"}},
        {"tray", {I::biMinimizeToTray}, wsNormal, false, {u"QXD_MINTOTRAY", u"-", u"QXD_CLOSE"}},
    };
    for (const TCase& c : cases) {
        TForm* form = NewSkinnedForm(u"State", Rect(100, 100, 500, 400));
        D(form)->SetBorderIcons(c.Icons);
        if (c.RolledUp) D(form)->SetRollUpState(true);
        if (c.State != wsNormal) D(form)->SetWindowState(c.State);
        driver::Pump();
        EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), c.Items) << c.Name;
        delete form;
    }
}

TEST_F(SystemMenuTest, StandardItemsShowGlyphsCaptionsAndShortCuts) {
    TForm* form = NewSkinnedForm(u"Main", Rect(100, 100, 500, 400));
    TMenuItem* items = D(form)->GetSystemMenuItems();
    TMenuItem* close = items->Items(items->Count() - 1);
    EXPECT_EQ(close->Caption(), u"&Close");
    EXPECT_EQ(ShortCutToText(close->ShortCut()), u"Alt+F4");
    auto* child = new TForm(Application);
    child->SetFormStyle(fsMDIChild);
    auto* component = new TqxDravenfold(child);
    TMenuItem* childItems = component->GetSystemMenuItems();
    EXPECT_EQ(ShortCutToText(childItems->Items(childItems->Count() - 1)->ShortCut()), u"Ctrl+F4");
    // The maximize item has the maximize glyph in the default look.
    D(form)->PopupSystemMenu(200, 150);
    driver::Pump();
    TqxSkinPopupWindow* window = D(form)->RealSkinMenu()->PopupWindow(0);
    const TRect max = window->Item(1)->ObjectRect;
    ASSERT_EQ(window->Item(1)->MenuItem->Name(), u"QXD_MAXITEM");
    const Integer x = max.Left + 4, y = max.Top + max.Height() / 2 - 4;
    // The glyph's thick top edge.
    EXPECT_EQ(driver::Pixel(window->Handle(), x + 5, y), ColorToRGB(clWindowText));
    EXPECT_EQ(driver::Pixel(window->Handle(), x + 5, y + 5), ColorToRGB(clWindow));
}

TEST_F(SystemMenuTest, ARebuildWhileThePopupShowsTheMenuKeepsItsItems) {
    TForm* form = NewSkinnedForm(u"Main", Rect(100, 100, 500, 400));
    D(form)->PopupSystemMenu(200, 150);
    driver::Pump();
    TqxSkinPopupWindow* window = D(form)->RealSkinMenu()->PopupWindow(0);
    TMenuItem* shown = window->Item(1)->MenuItem;
    ASSERT_EQ(shown->Name(), u"QXD_MAXITEM");
    // Another opener rebuilds the menu while it shows: the same items, in place.
    TMenuItem* items = D(form)->GetSystemMenuItems();
    EXPECT_EQ(items->Items(1), shown);
    EXPECT_EQ(window->Item(1)->MenuItem->Parent(), items);
    shown->Click();
    EXPECT_EQ(D(form)->WindowState(), wsMaximized);
    // Maximized, the item is left out of the menu but not freed.
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()),
              (std::vector<String>{u"QXD_MINITEM", u"QXD_RESTORE", u"QXD_ROLLUP", u"-", u"QXD_CLOSE"}));
    EXPECT_EQ(shown->Parent(), nullptr);
    EXPECT_EQ(shown->Name(), u"QXD_MAXITEM");
}

TEST_F(SystemMenuTest, ASuppliedMenuGetsFreshStandardItemsEachTime) {
    TForm* form = NewSkinnedForm(u"Main", Rect(100, 100, 500, 400));
    TPopupMenu* own = AboutMenu(form);
    D(form)->SetSystemMenu(own);
    D(form)->SetWindowState(wsMaximized);
    driver::Pump();
    const std::vector<String> expected{u"QXD_MINITEM", u"QXD_RESTORE", u"QXD_ROLLUP", u"About", u"QXD_CLOSE"};
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), expected);
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), expected);
    D(form)->SetUseDefaultSysMenu(false);
    D(form)->SetWindowState(wsNormal);
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), expected);
}

TEST_F(SystemMenuTest, ASuppliedMenuMaySwapWithTheGeneratedOneAfterEitherWasOpened) {
    TForm* form = NewSkinnedForm(u"Main", Rect(100, 100, 500, 400));
    TPopupMenu* own = AboutMenu(form);
    const std::vector<String> generated{u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_ROLLUP", u"-", u"QXD_CLOSE"};
    const std::vector<String> supplied{u"QXD_MINITEM", u"QXD_MAXITEM", u"QXD_ROLLUP", u"About", u"QXD_CLOSE"};
    // Each one opened, still open when the other one comes.
    D(form)->PopupSystemMenu(200, 200);
    ASSERT_TRUE(D(form)->SkinMenu()->Visible());
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), generated);
    D(form)->SetSystemMenu(own);
    EXPECT_FALSE(D(form)->SkinMenu()->Visible());
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), supplied);
    D(form)->PopupSystemMenu(200, 200);
    ASSERT_TRUE(D(form)->SkinMenu()->Visible());
    D(form)->SetSystemMenu(nullptr);
    EXPECT_EQ(Names(own->Items()), std::vector<String>{u"About"});
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), generated);
    D(form)->SetSystemMenu(own);
    EXPECT_EQ(Names(D(form)->GetSystemMenuItems()), supplied);
}

TEST_F(SystemMenuTest, TheTrayRoundTrip) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    auto* tray = new TqxTrayIcon(form);
    std::vector<std::string> log;
    D(form)->OnMinimizeToTray = [&](TObject*) { log.push_back("to tray"); };
    D(form)->OnRestoreFromTray = [&](TObject*) { log.push_back("from tray"); };
    D(form)->SetTrayIcon(tray);
    EXPECT_FALSE(tray->IconVisible());
    ASSERT_EQ(tray->PopupMenu(), D(form)->SysTrayMenu());
    EXPECT_EQ(Names(tray->PopupMenu()->Items()),
              (std::vector<String>{u"TRAY_QXD_RESTORE", u"-", u"TRAY_QXD_CLOSE"}));
    // Without a tray icon the tray command does nothing; with one the
    // application goes into the tray.
    D(form)->MinimizeToTray();
    driver::Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(tray->IconVisible());
    ASSERT_EQ(driver::TrayIcons().size(), 1u);
    // A double click on the icon brings the form back and the icon goes.
    const POINT at{900, 700};
    driver::TrayNotify(WM_LBUTTONDOWN, at);
    driver::TrayNotify(WM_LBUTTONUP, at);
    driver::TrayNotify(WM_LBUTTONDBLCLK, at);
    driver::Pump();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_TRUE(driver::TrayIcons().empty());
    EXPECT_EQ(form->Tag(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"to tray", "from tray"}));
    // The tray menu's restore does the same.
    D(form)->MinimizeToTray();
    driver::Pump();
    driver::TrayNotify(WM_RBUTTONDOWN, at);
    ASSERT_EQ(D(form)->RealSkinMenu()->PopupCount(), 1);
    driver::Key(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_TRUE(form->Visible());
    delete tray;
    EXPECT_EQ(D(form)->TrayIcon(), nullptr);
    D(form)->MinimizeToTray();
    EXPECT_TRUE(form->Visible());
}

}  // namespace
