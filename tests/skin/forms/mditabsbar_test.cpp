// The MDI tabs bar: tabs following the children, the layout, dragging into
// a new order, the close and add buttons, the hidden-tabs list, the child's
// menu on a right click, and the skinned size.
#include "skin/forms/mditabsbar.h"
#include "formtest.h"
#include "platform/win/input.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxutils.h"
#include "skin/forms/skinmenus.h"

using namespace win;
namespace driver = win::driver;

namespace {

class TabsBarTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Application->CreateForm(Main);
        Main->SetName(u"Main");
        Main->SetFormStyle(fsMDIForm);
        Main->SetBorderStyle(bsNone);
        Main->SetBoundsRect(Rect(0, 0, 301, 300));
        new TqxDravenfold(Main);
        Bar = new TqxSkinMDITabsBar(Main);
        Bar->SetAlign(alTop);
        Bar->SetParent(Main);
        Bar->SetDravenfold(D(Main));
        D(Main)->SetMDITabsBar(Bar);
        Main->Show();
        driver::Pump();
    }
    TForm* NewChild(const String& AName) {
        auto* child = new TForm(Application);
        child->SetName(AName);
        child->SetCaption(AName);
        child->SetFormStyle(fsMDIChild);
        child->SetBoundsRect(Rect(10, 10, 210, 160));
        new TqxDravenfold(child);
        child->Show();
        driver::Pump();
        return child;
    }
    std::vector<String> Order() const {
        std::vector<String> names;
        for (Integer i = 0; i < Bar->TabCount(); ++i)
            names.push_back(Bar->Tabs(i)->Child->Name());
        return names;
    }
    POINT AtBar(Integer X, Integer Y) const {
        const TPoint p = Bar->ClientToScreen(Point(X, Y));
        return POINT{p.X, p.Y};
    }
    // The centre of a tab's close button on the screen.
    POINT CloseButtonOf(Integer ATab) const {
        const TqxMDITab* tab = Bar->Tabs(ATab);
        const TRect& b = tab->ButtonRect;
        return AtBar(tab->ObjectRect.Left + (b.Left + b.Right) / 2,
                     tab->ObjectRect.Top + (b.Top + b.Bottom) / 2);
    }
    TForm* Main = nullptr;
    TqxSkinMDITabsBar* Bar = nullptr;
};

TEST_F(TabsBarTest, TabsFollowTheChildrenAndShareTheWidth) {
    EXPECT_EQ(Bar->Height(), 21);
    EXPECT_EQ(Bar->ListButton(), nullptr);
    TForm* a = NewChild(u"A");
    NewChild(u"B");
    TForm* c = NewChild(u"C");
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"B", u"C"}));
    ASSERT_TRUE(Bar->ListButton());
    EXPECT_EQ(Bar->ListButton()->Width(), 15);
    // (301 - 15) div 3 = 95; the last tab takes the pixel left over.
    Bar->CalcTabs();
    EXPECT_EQ(Bar->Tabs(0)->ObjectRect, Rect(15, 0, 110, 21));
    EXPECT_EQ(Bar->Tabs(1)->ObjectRect, Rect(110, 0, 205, 21));
    EXPECT_EQ(Bar->Tabs(2)->ObjectRect, Rect(205, 0, 301, 21));
    EXPECT_TRUE(Bar->Tabs(2)->Active);
    EXPECT_EQ(Bar->GetTabIndex(110, 21), 0);
    EXPECT_EQ(Bar->GetTabIndex(5, 5), -1);
    // A press shows and activates the child.
    driver::Click(AtBar(40, 10));
    driver::Pump();
    EXPECT_EQ(Main->ActiveMDIChild(), a);
    EXPECT_TRUE(Bar->Tabs(0)->Active);
    EXPECT_FALSE(Bar->Tabs(2)->Active);
    // Hidden children lose their tab; the last one takes the list button.
    c->Hide();
    a->Close();
    EXPECT_EQ(Order(), (std::vector<String>{u"B"}));
    delete Main->MDIChildren(0);
    EXPECT_EQ(Bar->TabCount(), 0);
    EXPECT_EQ(Bar->ListButton(), nullptr);
}

TEST_F(TabsBarTest, TabsThatDoNotFitAtTheirMinimumWidthAreListedBehindAButton) {
    Main->SetWidth(300);
    Bar->SetMinTabWidth(80);
    for (Integer i = 0; i < 10; ++i)
        NewChild(u"C" + IntToStr(i));
    Bar->CalcTabs();
    // (300 - 30) div 80 = 3 tabs fit.
    EXPECT_EQ(Bar->FInVisibleCount, 7);
    EXPECT_EQ(Bar->Tabs(2)->ObjectRect, Rect(175, 0, 255, 21));
    EXPECT_FALSE(Bar->Tabs(3)->Visible);
    EXPECT_EQ(Bar->GetTabIndex(260, 5), -1);
    Bar->Repaint();
    ASSERT_TRUE(Bar->HideListButton());
    EXPECT_EQ(Bar->HideListButton()->Align(), alRight);
    // Its menu lists only the hidden tabs and shows the chosen child.
    Bar->HideListButton()->OnShowTrackMenu(Bar->HideListButton());
    TMenuItem* items = Bar->HideListMenu()->Items();
    ASSERT_EQ(items->Count(), 7);
    EXPECT_EQ(items->Items(0)->Name(), u"C3_QXDCHILDITEMBARHIDE");
    EXPECT_TRUE(items->Items(6)->Checked());
    items->Items(0)->Click();
    EXPECT_EQ(Main->ActiveMDIChild()->Name(), u"C3");
    Bar->SetMinTabWidth(0);
    Bar->Repaint();
    EXPECT_EQ(Bar->HideListButton(), nullptr);
}

TEST_F(TabsBarTest, DraggingPastHalfANeighbourReordersAndLessKeepsTheOrder) {
    NewChild(u"A");
    NewChild(u"B");
    NewChild(u"C");
    const auto drag = [&](Integer AFromX, Integer ADistance) {
        driver::MouseDown(AtBar(AFromX, 10));
        driver::MouseMove(AtBar(AFromX + ADistance, 10));
        driver::Pump();
        Bar->Repaint();
        const Integer drop = Bar->GetDropIndex();
        driver::MouseUp(AtBar(AFromX + ADistance, 10));
        driver::Pump();
        return drop;
    };
    // B's right edge 205 + 40 stays left of C's centre 253.
    EXPECT_EQ(drag(150, 40), -1);
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"B", u"C"}));
    EXPECT_EQ(drag(150, 60), 2);
    EXPECT_EQ(Order(), (std::vector<String>{u"A", u"C", u"B"}));
    EXPECT_EQ(drag(250, -150), 0);
    EXPECT_EQ(Order(), (std::vector<String>{u"B", u"A", u"C"}));
    EXPECT_EQ(Bar->DragIndex, -1);
    // Without MoveTabs nothing moves.
    Bar->SetMoveTabs(false);
    EXPECT_EQ(drag(40, 150), -1);
    EXPECT_EQ(Order(), (std::vector<String>{u"B", u"A", u"C"}));
}

TEST_F(TabsBarTest, ACloseButtonClosesOnlyWhatWasPressedOnIt) {
    Bar->SetShowCloseButtons(true);
    NewChild(u"A");
    NewChild(u"B");
    NewChild(u"C");
    Bar->Repaint();
    ASSERT_EQ(Bar->Tabs(0)->ButtonRect, Rect(95 - 19, 3, 95 - 5, 17));
    // A press on B's body released over A's close button closes nothing.
    driver::MouseDown(AtBar(130, 10));
    driver::MouseUp(CloseButtonOf(0));
    driver::Pump();
    EXPECT_EQ(Bar->TabCount(), 3);
    // Nor does a drop there at the end of a drag.
    driver::MouseDown(AtBar(230, 10));
    driver::MouseMove(AtBar(150, 10));
    driver::MouseUp(CloseButtonOf(0));
    driver::Pump();
    EXPECT_EQ(Bar->TabCount(), 3);
    // A press and release on the button closes its child.
    Bar->Repaint();
    const String first = Bar->Tabs(0)->Child->Name();
    driver::Click(CloseButtonOf(0));
    driver::Pump();
    EXPECT_EQ(Bar->TabCount(), 2);
    EXPECT_NE(Bar->Tabs(0)->Child->Name(), first);
}

TEST_F(TabsBarTest, HoverEventsAndTheAddButton) {
    std::vector<std::string> log;
    Bar->OnTabMouseEnter = [&](TqxMDITab* ATab) {
        log.push_back("enter " + StringToUTF8(ATab->Child->Name()));
    };
    Bar->OnTabMouseLeave = [&](TqxMDITab* ATab) {
        log.push_back("leave " + StringToUTF8(ATab->Child->Name()));
    };
    Bar->OnAddButtonClick = [&](TObject*) { log.push_back("add"); };
    Bar->SetShowAddButton(true);
    NewChild(u"A");
    TForm* b = NewChild(u"B");
    driver::MouseMove(AtBar(40, 10));
    driver::MouseMove(AtBar(150, 10));
    driver::Pump();
    // Removing the hovered tab tells its leave first.
    b->Hide();
    EXPECT_EQ(log, (std::vector<std::string>{"enter A", "leave A", "enter B", "leave B"}));
    EXPECT_EQ(Bar->ActiveTabIndex, -1);
    // The add button follows the last tab: a press and release on it clicks,
    // a release elsewhere does not.
    log.clear();
    Bar->CalcTabs();
    const TRect add = Bar->FAddButtonRect;
    EXPECT_EQ(add.Left, Bar->Tabs(0)->ObjectRect.Right + 2);
    const POINT at = AtBar(add.Left + 5, add.Top + 5);
    driver::MouseMove(at);
    driver::Click(at);
    driver::MouseMove(at);
    driver::MouseDown(at);
    driver::MouseUp(AtBar(20, 10));
    driver::Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"add"}));
}

TEST_F(TabsBarTest, ARightClickOpensTheChildsSystemMenuThroughTheMainForm) {
    TForm* a = NewChild(u"A");
    std::vector<std::string> log;
    Bar->OnTabMouseDown = [&](TMouseButton AButton, TShiftState, TqxMDITab*) {
        log.push_back(AButton == mbRight ? "right" : "left");
    };
    driver::MouseDown(AtBar(40, 10), VK_RBUTTON);
    driver::MouseUp(AtBar(40, 10), VK_RBUTTON);
    driver::Pump();
    EXPECT_EQ(Menu(Main)->Calls, (std::vector<std::string>{"Popup"}));
    EXPECT_EQ(Menu(Main)->LastItem, D(a)->GetSystemMenuItems());
    // Without the link no menu opens, but the event still comes.
    Bar->SetDravenfold(nullptr);
    driver::MouseDown(AtBar(40, 10), VK_RBUTTON);
    driver::MouseUp(AtBar(40, 10), VK_RBUTTON);
    driver::Pump();
    const auto& calls = Menu(Main)->Calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Popup"), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"right", "right"}));
}

TEST_F(TabsBarTest, TheSkinSetsTheHeightAndTheCloseButtonsSize) {
    Bar->SetShowCloseButtons(true);
    NewChild(u"A");
    TqxSkinData* data = NewSkinData(skinfixtures::ProjectSkin(u"default"));
    Bar->SetSkinData(data);
    const auto* tab =
        dynamic_cast<const TqxDataSkinTabControl*>(data->CtrlList[data->GetControlIndex(u"tab")]);
    ASSERT_TRUE(tab);
    EXPECT_EQ(Bar->Height(), tab->TabRect.Height() + tab->ClRect.Top);
    EXPECT_EQ(Bar->FCloseSize, tab->CloseButtonRect.Width());
    // The skinned tab's client rectangle leaves the strip under the tabs.
    Bar->CalcTabs();
    EXPECT_EQ(Bar->Tabs(0)->ObjectRect.Height(), tab->TabRect.Height());
    Bar->Repaint();
    EXPECT_EQ(Bar->Tabs(0)->ButtonRect.Width(), tab->CloseButtonRect.Width());
    Bar->SetSkinData(nullptr);
    Bar->ChangeSkinData();
    EXPECT_EQ(Bar->Height(), 21);
    // An empty background part draws nothing instead of repeating for ever.
    skinfixtures::TFixtureSkin empty = skinfixtures::ProjectSkin(u"default");
    skinfixtures::SetValue(empty, u"tab", u"tabsbgrect", u"124,0,124,28");
    Bar->SetSkinData(NewSkinData(empty));
    ASSERT_TRUE(IsRectDegenerate(Bar->TabsBGRect));
    Bar->Repaint();
    EXPECT_EQ(driver::Pixel(Bar->Handle(), Bar->Width() - 2, 2), ColorToRGB(clBtnFace));
}

}  // namespace
