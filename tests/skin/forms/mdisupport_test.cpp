// The form component on MDI forms: arranging the children, the shared
// maximized state with the menu bar's buttons, the Window menu, the client
// area's scroll bars, the client subclass, and the menus of MDI children.
#include "formtest.h"
#include "platform/toolkit/panels.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/core/qxskinmessages.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinmenus.h"

using namespace win;
namespace driver = win::driver;

namespace {

class MdiTest : public FormsTest {
protected:
    // The MDI main form, 600 x 400 of client area without a frame.
    TForm* NewMDIMain() {
        Application->CreateForm(Main);
        Main->SetName(u"Main");
        Main->SetFormStyle(fsMDIForm);
        Main->SetBorderStyle(bsNone);
        Main->SetBoundsRect(Rect(0, 0, 600, 400));
        new TqxDravenfold(Main);
        Main->Show();
        driver::Pump();
        return Main;
    }
    TForm* NewChild(const String& AName, TRect ABounds = Rect(10, 10, 210, 160),
                    TFormBorderStyle AStyle = bsSizeable) {
        auto* child = new TForm(Application);
        child->SetName(AName);
        child->SetCaption(AName);
        child->SetFormStyle(fsMDIChild);
        child->SetBorderStyle(AStyle);
        child->SetBoundsRect(ABounds);
        new TqxDravenfold(child);
        child->Show();
        driver::Pump();
        return child;
    }
    std::vector<TRect> ChildBounds() const {
        std::vector<TRect> bounds;
        for (Integer i = 0; i < Main->MDIChildCount(); ++i)
            bounds.push_back(Main->MDIChildren(i)->BoundsRect());
        return bounds;
    }
    TqxSkinMainMenuBar* NewMenuBar() {
        auto* menu = new TMainMenu(Main);
        auto* window = new TMenuItem(menu);
        window->SetName(u"WindowItem");
        window->SetCaption(u"窗口");
        menu->Items()->Add(window);
        Main->SetWindowMenu(window);
        auto* bar = new TqxSkinMainMenuBar(Main);
        bar->SetParent(Main);
        bar->SetDravenfold(D(Main));
        bar->SetMainMenu(menu);
        D(Main)->SetMainMenuBar(bar);
        driver::Pump();
        return bar;
    }
    std::vector<String> MarkedItems() const {
        std::vector<String> names;
        TMenuItem* menu = Main->WindowMenu();
        for (Integer i = 0; i < menu->Count(); ++i)
            if (menu->Items(i)->Name().find(u"_QXDCHILDITEM") != String::npos)
                names.push_back(menu->Items(i)->Name() + (menu->Items(i)->Checked() ? u"*" : u""));
        return names;
    }
    TForm* Main = nullptr;
};

TEST_F(MdiTest, TileLaysTheChildrenOutColumnByColumnInBothModes) {
    NewMDIMain();
    struct Case {
        TTileMode Mode;
        Integer Children;
        std::vector<TRect> Bounds;  // in MDIChildren order
    };
    const Case cases[] = {
        {tbHorizontal,
         5,
         {Bounds(0, 0, 300, 200), Bounds(0, 200, 300, 200), Bounds(300, 1, 300, 133),
          Bounds(300, 134, 300, 133), Bounds(300, 267, 300, 133)}},
        {tbVertical,
         5,
         {Bounds(0, 0, 300, 200), Bounds(0, 200, 300, 200), Bounds(300, 0, 300, 133),
          Bounds(300, 133, 300, 133), Bounds(300, 266, 300, 133)}},
        {tbHorizontal, 1, {Bounds(0, 0, 600, 400)}},
        {tbVertical, 1, {Bounds(0, 0, 600, 400)}},
    };
    for (const Case& c : cases) {
        while (Main->MDIChildCount() < c.Children) {
            String name = u"C";
            name += IntToStr(Main->MDIChildCount());
            NewChild(name);
        }
        while (Main->MDIChildCount() > c.Children)
            delete Main->MDIChildren(0);
        D(Main)->SetTileMode(c.Mode);
        D(Main)->Tile();
        EXPECT_EQ(ChildBounds(), c.Bounds) << c.Mode << " " << c.Children;
    }
}

TEST_F(MdiTest, CascadeStepsByTheCaptionWrapsAndKeepsFixedSizes) {
    NewMDIMain();
    NewChild(u"A");
    NewChild(u"B", Rect(0, 0, 200, 150), bsSingle);
    NewChild(u"C");
    // Caption 19 + 3 a step; 3 children fit: sizes less two steps.
    D(Main)->Cascade();
    EXPECT_EQ(ChildBounds(), (std::vector<TRect>{Bounds(44, 44, 556, 356), Bounds(22, 22, 200, 150),
                                                 Bounds(0, 0, 556, 356)}));
    // Eight children: five steps at most, then the offsets start again.
    for (Integer i = 0; i < 5; ++i) {
        String name = u"D";
        name += IntToStr(i);
        NewChild(name);
    }
    D(Main)->Cascade();
    std::vector<TPoint> offsets;
    for (const TRect& r : ChildBounds())
        offsets.push_back(r.TopLeft());
    EXPECT_EQ(offsets, (std::vector<TPoint>{
                           {22, 22}, {0, 0}, {110, 110}, {88, 88}, {66, 66}, {44, 44}, {22, 22}, {0, 0}}));
    EXPECT_EQ(ChildBounds()[0].Width(), 490);

    // A skin whose client rectangle starts at the top gives no step: the
    // default step stands in instead of a division by zero.
    D(Main)->SetSkinData(NewSkinData(skinfixtures::MinimalSkin()));
    driver::Pump();
    D(Main)->NewClRect.Top = 0;
    D(Main)->Cascade();
    EXPECT_EQ(ChildBounds()[7].TopLeft(), Point(0, 0));
    EXPECT_EQ(ChildBounds()[6].TopLeft(), Point(22, 22));
}

TEST_F(MdiTest, MaximizedStateIsSharedAndPutsTheChildsButtonsOnTheMenuBar) {
    NewMDIMain();
    TqxSkinMainMenuBar* bar = NewMenuBar();
    TForm* a = NewChild(u"A", Rect(10, 10, 210, 160));
    TForm* b = NewChild(u"B", Rect(30, 30, 230, 180));
    TForm* c = NewChild(u"C", Rect(50, 50, 250, 200));
    D(c)->SetBorderIcons({TqxBorderIcon::biSystemMenu, TqxBorderIcon::biMaximize});
    const TRect area = D(Main)->GetMDIClientArea();
    EXPECT_EQ(area, Rect(0, bar->Height(), 600, 400));

    D(b)->SetWindowState(wsMaximized);
    for (TForm* child : {a, b, c}) {
        EXPECT_EQ(D(child)->WindowState(), wsMaximized);
        EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 600, area.Height()));
    }
    EXPECT_TRUE(D(Main)->IsMDIChildMaximized());
    EXPECT_EQ(D(Main)->GetMaximizedMDIChild(), c);
    ASSERT_EQ(bar->ButtonsCount, 4);
    // The active child has no minimize button: the bar's is disabled.
    for (Integer i = 0; i < 4; ++i) {
        auto* button = static_cast<TqxSkinMainMenuBarButton*>(bar->ObjectList[size_t(i)].get());
        EXPECT_EQ(button->Enabled, button->Command != cmMinimize) << i;
    }
    // A child shown meanwhile asks and maximizes itself.
    TForm* d = NewChild(u"D");
    EXPECT_EQ(D(d)->WindowState(), wsMaximized);
    // The main caption names the child in front.
    Main->SetCaption(u"主窗口");
    EXPECT_EQ(D(Main)->MDIFormCaption(), u"主窗口 - [D]");
    // Its generated system menu has no roll-up, and closes with Ctrl+F4.
    D(d)->RebuildSysMenuItems();
    TMenuItem* items = D(d)->GetSystemMenuItems();
    std::vector<String> names;
    for (Integer i = 0; i < items->Count(); ++i)
        names.push_back(items->Items(i)->Name());
    EXPECT_EQ(std::count(names.begin(), names.end(), u"QXD_ROLLUP"), 0);
    EXPECT_EQ(ShortCutToText(items->Items(items->Count() - 1)->ShortCut()), u"Ctrl+F4");

    // Restoring one restores all, each to its own bounds; the buttons go.
    D(a)->SetWindowState(wsNormal);
    for (TForm* child : {a, b, c, d})
        EXPECT_EQ(D(child)->WindowState(), wsNormal);
    EXPECT_EQ(b->BoundsRect(), Rect(30, 30, 230, 180));
    EXPECT_FALSE(D(Main)->IsMDIChildMaximized());
    EXPECT_EQ(D(Main)->MDIFormCaption(), u"主窗口");
    EXPECT_EQ(bar->ButtonsCount, 0);

    // Minimizing one restores the others and activates the next child.
    D(b)->SetWindowState(wsMaximized);
    b->Show();
    ASSERT_EQ(Main->ActiveMDIChild(), b);
    D(b)->SetWindowState(wsMinimized);
    EXPECT_EQ(D(b)->WindowState(), wsMinimized);
    EXPECT_EQ(b->BoundsRect(),
              Bounds(0, area.Height() - D(b)->GetMinHeight(), D(b)->GetMinWidth(), D(b)->GetMinHeight()));
    for (TForm* child : {a, c, d})
        EXPECT_EQ(D(child)->WindowState(), wsNormal);
    EXPECT_NE(Main->ActiveMDIChild(), b);
    EXPECT_FALSE(D(Main)->IsMDIChildMaximized());
    // Freed maximized children end the state with the last of them.
    D(a)->SetWindowState(wsMaximized);
    ASSERT_EQ(bar->ButtonsCount, 4);
    for (TForm* child : {a, b, c}) {
        delete child;
        EXPECT_TRUE(D(Main)->IsMDIChildMaximized());
    }
    delete d;
    EXPECT_FALSE(D(Main)->IsMDIChildMaximized());
    EXPECT_EQ(bar->ButtonsCount, 0);
    // Only an MDI main form reports maximized children.
    TForm* plain = NewSkinnedForm(u"Plain", Rect(0, 0, 200, 100));
    EXPECT_EQ(SendMessageW(plain->Handle(), SKINMSG_MDIQUERYMAXIMIZED, 0, 0), 0);
}

TEST_F(MdiTest, TheWindowMenuListsTheShownChildrenAndMarksTheActiveOne) {
    NewMDIMain();
    NewMenuBar();
    TForm* a = NewChild(u"A");
    TForm* b = NewChild(u"B");
    EXPECT_EQ(MarkedItems(), (std::vector<String>{u"A_QXDCHILDITEM", u"B_QXDCHILDITEM*"}));
    b->SetCaption(u"文件二");
    EXPECT_EQ(Main->WindowMenu()->Items(1)->Caption(), u"文件二");
    // The item shows (and restores) its child.
    D(a)->SetWindowState(wsMinimized);
    Main->WindowMenu()->Items(0)->Click();
    EXPECT_EQ(Main->ActiveMDIChild(), a);
    EXPECT_EQ(D(a)->WindowState(), wsNormal);
    EXPECT_EQ(MarkedItems(), (std::vector<String>{u"A_QXDCHILDITEM*", u"B_QXDCHILDITEM"}));
    a->Close();
    b->Close();
    EXPECT_TRUE(MarkedItems().empty());
    EXPECT_EQ(Main->WindowMenu()->Count(), 0);
}

TEST_F(MdiTest, ScrollBarsCoverTheChildrensExtentAndMoveThem) {
    NewMDIMain();
    TForm* a = NewChild(u"A", Rect(20, 20, 220, 120));
    TForm* b = NewChild(u"B", Rect(500, 20, 650, 120));
    TqxSkinScrollBar* h = D(Main)->MDIHScrollBar();
    TqxSkinScrollBar* v = D(Main)->MDIVScrollBar();
    ASSERT_TRUE(h && v);
    EXPECT_TRUE(h->Visible());
    EXPECT_FALSE(v->Visible());
    EXPECT_EQ(h->BoundsRect(), Rect(0, 383, 600, 400));
    EXPECT_EQ(h->Max(), 649);
    EXPECT_EQ(h->PageSize(), 600);
    // The child out of view hidden: nothing to scroll.
    b->Hide();
    EXPECT_FALSE(h->Visible());
    b->Show();
    ASSERT_TRUE(h->Visible());
    // An arrow moves the children by 10; a thumb drag only when it ends.
    h->OnUpButtonClick(h);
    EXPECT_EQ(a->Left(), 10);
    EXPECT_EQ(b->Left(), 490);
    h->SetPosition(40);
    EXPECT_EQ(b->Left(), 490);
    h->OnLastChange(h);
    EXPECT_EQ(b->Left(), 460);
    EXPECT_EQ(a->Left(), -20);
    // Both directions out: both bars, each leaving room for the other.
    b->SetBounds(460, 300, 150, 200);
    EXPECT_TRUE(v->Visible());
    EXPECT_TRUE(h->Both());
    EXPECT_EQ(v->BoundsRect(), Rect(583, 0, 600, 383));
    EXPECT_EQ(h->BoundsRect(), Rect(0, 383, 600, 400));
    // Off when asked.
    D(Main)->SetShowMDIScrollBars(false);
    EXPECT_FALSE(h->Visible() || v->Visible());
}

TEST_F(MdiTest, TheClientIsSubclassedForItsBackgroundAndGivenBackWithTheComponent) {
    NewMDIMain();
    const HWND client = Main->ClientHandle();
    const auto proc = GetWindowLongW(client, GWL_WNDPROC);
    EXPECT_NE(GetWindowLongW(client, GWL_WNDPROC), 0);
    InvalidateRect(client, nullptr, TRUE);
    driver::Pump();
    EXPECT_EQ(driver::Pixel(client, 300, 200), ColorToRGB(clAppWorkSpace));
    // Without a frame of its own, whatever the styles say.
    EXPECT_EQ(SendMessageW(client, WM_NCACTIVATE, FALSE, 0), 1);
    delete D(Main);
    EXPECT_NE(GetWindowLongW(client, GWL_WNDPROC), proc);
}

TEST_F(MdiTest, SwitchingTheFrameModeSubclassesTheNewClientAndWaitsForNoChildren) {
    NewMDIMain();
    D(Main)->SetSkinData(NewSkinData(skinfixtures::FlatSkin()));
    driver::Pump();
    const auto clientPixel = [&] {
        InvalidateRect(Main->ClientHandle(), nullptr, TRUE);
        driver::Pump();
        return driver::Pixel(Main->ClientHandle(), 300, 200);
    };
    const DWORD skinned = clientPixel();
    ASSERT_NE(skinned, ColorToRGB(clAppWorkSpace));
    for (bool mode : {false, true}) {
        SCOPED_TRACE(mode);
        D(Main)->SetSkinnableForm(mode);
        EXPECT_EQ(D(Main)->SkinnableForm(), mode);
        EXPECT_EQ(clientPixel(), skinned);
    }
    // With a child open the mode stays, and so does the client.
    NewChild(u"A");
    const HWND client = Main->ClientHandle();
    D(Main)->SetSkinnableForm(false);
    EXPECT_TRUE(D(Main)->SkinnableForm());
    EXPECT_EQ(Main->ClientHandle(), client);
}

TEST_F(MdiTest, AChildsFrameMenusOpenAtItsPlaceOnTheScreen) {
    NewMDIMain();
    Main->SetBoundsRect(Rect(100, 80, 700, 480));
    driver::Pump();
    TForm* child = NewChild(u"A", Rect(30, 20, 230, 170));
    RECT window{};
    ASSERT_TRUE(GetWindowRect(child->Handle(), &window));
    ASSERT_EQ(Point(window.left, window.top), Point(130, 100));
    const TRect r = D(child)->ObjectList[size_t(D(child)->GetIndex(u"sysmenubutton"))]->ObjectRect;
    const TRect expected = Rect(130 + r.Left, 100 + r.Top, 130 + r.Right, 100 + r.Bottom);
    EXPECT_EQ(D(child)->WindowToScreen(r), expected);
    // Pressed by the mouse, which finds the button there too.
    const POINT centre{(expected.Left + expected.Right) / 2, (expected.Top + expected.Bottom) / 2};
    driver::MouseMove(centre);
    driver::MouseDown(centre);
    driver::Pump();
    EXPECT_EQ(Menu(child)->Calls, std::vector<std::string>{"Popup"});
    EXPECT_EQ(Menu(child)->LastRect, expected);
    driver::MouseUp(centre);
    driver::Pump();
    Menu(child)->Hide();
    // Alt+Space opens it at the same place.
    Menu(child)->Calls.clear();
    Menu(child)->LastRect = TRect();
    driver::KeyDown(VK_MENU);
    driver::Key(VK_SPACE);
    driver::KeyUp(VK_MENU);
    Application->ProcessMessages();
    EXPECT_EQ(Menu(child)->Calls, std::vector<std::string>{"Popup"});
    EXPECT_EQ(Menu(child)->LastRect, expected);
}

TEST_F(MdiTest, MenusOfTheActiveChildMergeAndChildMenusRunInTheMainFormsChain) {
    NewMDIMain();
    TqxSkinMainMenuBar* bar = NewMenuBar();
    const auto childWithMenu = [&](const String& AName, const String& ACaption) {
        TForm* child = NewChild(AName);
        auto* menu = new TMainMenu(child);
        auto* item = new TMenuItem(menu);
        item->SetCaption(ACaption);
        menu->Items()->Add(item);
        return std::make_pair(child, menu);
    };
    auto [a, menuA] = childWithMenu(u"A", u"甲");
    auto [b, menuB] = childWithMenu(u"B", u"乙");
    EXPECT_EQ(bar->GetChildMainMenu(), menuB);
    a->Show();
    EXPECT_EQ(bar->GetChildMainMenu(), menuA);
    bar->UpDateItems();
    b->Show();
    std::vector<String> captions;
    for (Integer i = bar->ButtonsCount; i < Integer(bar->ObjectList.size()); ++i)
        captions.push_back(
            static_cast<TqxSkinMainMenuBarItem*>(bar->ObjectList[size_t(i)].get())->MenuItem->Caption());
    EXPECT_EQ(std::count(captions.begin(), captions.end(), u"乙"), 1);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), u"甲"), 0);

    // A popup menu of the child, or of a frame on it, opens in the main
    // form's chain.
    auto* popup = new TqxSkinPopupMenu(a);
    auto* item = new TMenuItem(popup);
    item->SetCaption(u"复制");
    popup->Items()->Add(item);
    popup->Popup(100, 100);
    EXPECT_EQ(Menu(Main)->Calls, (std::vector<std::string>{"Popup"}));
    EXPECT_TRUE(Menu(a)->Calls.empty());
    auto* frame = new TPanel(b);
    auto* framePopup = new TqxSkinPopupMenu(frame);
    auto* frameItem = new TMenuItem(framePopup);
    frameItem->SetCaption(u"粘贴");
    framePopup->Items()->Add(frameItem);
    framePopup->Popup(100, 100);
    EXPECT_EQ(Menu(Main)->FPopups, 1);
    EXPECT_TRUE(Menu(b)->Calls.empty());
}

// A skinned control that counts the cancel-mode messages it gets.
class TCancelCounter : public TqxSkinControl {
public:
    using TqxSkinControl::TqxSkinControl;
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == CM_CANCELMODE) ++Cancels;
        TqxSkinControl::Dispatch(AMessage);
    }
    Integer Cancels = 0;
};

TEST_F(MdiTest, MenuClosingMessagesCancelTheModesOfTheMdiFormsSkinnedControls) {
    NewMDIMain();
    auto* shown = new TCancelCounter(Main);
    shown->SetParent(Main);
    auto* hidden = new TCancelCounter(Main);
    hidden->SetVisible(false);
    hidden->SetParent(Main);
    driver::Pump();
    // Making the controls' windows told the form already.
    shown->Cancels = hidden->Cancels = 0;
    SendMessageW(Main->Handle(), WM_PARENTNOTIFY, 0, 0);
    EXPECT_EQ(shown->Cancels, 1);
    EXPECT_EQ(hidden->Cancels, 0);
    // Not on an ordinary form.
    TForm* plain = NewSkinnedForm(u"Plain", Rect(0, 0, 200, 100));
    auto* other = new TCancelCounter(plain);
    other->SetParent(plain);
    driver::Pump();
    other->Cancels = 0;
    SendMessageW(plain->Handle(), WM_PARENTNOTIFY, 0, 0);
    EXPECT_EQ(other->Cancels, 0);
}

}  // namespace
