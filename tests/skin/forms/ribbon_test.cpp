// The ribbon: tabs and their pages, the tab-row layout, hover and clicks
// of the button items, keys, the application menu's opening and closing
// and its hook, the links that go when their targets are freed, and the
// form component's side (caption, keys).
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/base/fileutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/imagelist.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/ribbon.h"
#include "skin/forms/scrollpages.h"
#include "skin/forms/skinmenus.h"

using namespace win;
using namespace skinfixtures;

namespace {

class RibbonTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FForm = NewSkinnedForm(u"RibbonForm", Rect(100, 100, 700, 500));
        FRibbon = new TqxRibbon(FForm);
        FRibbon->SetParent(FForm);
        D(FForm)->SetSkinRibbon(FRibbon);
        driver::Pump();
    }
    void TearDown() override {
        Application->OnMessage = nullptr;
        FormsTest::TearDown();
    }

    TqxRibbonTab* AddTab(const String& ACaption) {
        TqxRibbonTab* tab = FRibbon->Tabs()->Add();
        tab->Page()->SetCaption(ACaption);
        return tab;
    }
    POINT At(TControl* AControl, Integer X, Integer Y) {
        const TPoint p = AControl->ClientToScreen(Point(X, Y));
        return POINT{p.X, p.Y};
    }
    POINT Centre(TControl* AControl, const TRect& R) {
        return At(AControl, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    void Layout() {
        FRibbon->Repaint();
        driver::Pump();
    }
    // A 16 x 16 image list with three images and two button items.
    void ButtonItems() {
        FImages = new TCustomImageList(16, 16, FForm);
        TBitmap image;
        image.SetSize(16, 16);
        for (Integer i = 0; i < 3; ++i)
            FImages->Add(&image, nullptr);
        FRibbon->SetButtonsImageList(FImages);
        for (Integer i = 0; i < 2; ++i) {
            TqxRibbonButtonItem* item = FRibbon->Buttons()->Add();
            item->SetImageIndex(i);
            item->OnClick = [this, i](TObject* ASender) {
                Log.push_back("click " + std::to_string(i) + (ASender == FRibbon ? " ribbon" : ""));
            };
        }
        Layout();
    }
    TqxAppMenu* Menu(Integer ACommands, Integer APages) {
        auto* menu = new TqxAppMenu(FForm);
        menu->SetParent(FForm);
        for (Integer i = 0; i < ACommands; ++i) {
            TqxAppMenuItem* item = menu->Items()->Add();
            item->OnClick = [this, item](TObject* ASender) {
                Log.push_back(StringToUTF8(item->Caption()) + (ASender == FRibbon ? " ribbon" : "") +
                              (FRibbon->AppMenuVisible() ? " open" : " hidden"));
            };
        }
        for (Integer i = 0; i < APages; ++i) {
            TqxAppMenuItem* item = menu->Items()->Add();
            item->SetPage(menu->CreatePage());
        }
        FRibbon->SetAppMenu(menu);
        return menu;
    }

    // The second skin, whose menu has a back button and a caption picture,
    // on the form, the ribbon with a tab and a menu 150 wide of commands.
    TqxAppMenu* SecondSkinMenu(Integer ACommands) {
        TqxSkinData* skin = NewSkinData(ProjectSkin(u"second"));
        D(FForm)->SetSkinData(skin);
        FRibbon->SetSkinData(skin);
        AddTab(u"A");
        TqxAppMenu* menu = Menu(ACommands, 0);
        menu->SetSkinData(skin);
        menu->SetItemWidth(150);
        return menu;
    }

    TForm* FForm = nullptr;
    TqxRibbon* FRibbon = nullptr;
    TCustomImageList* FImages = nullptr;
    std::vector<std::string> Log;
};

TEST_F(RibbonTest, NewTabsNameTheirPagesAfterTheFormsComponentsAndAreSelected) {
    auto* taken = new TButton(FForm);
    taken->SetName(u"qxRibbonPage1");
    std::vector<Integer> selected;
    FRibbon->OnChangePage = [&](TObject*) { selected.push_back(FRibbon->TabIndex()); };
    for (Integer i = 0; i < 3; ++i)
        FRibbon->Tabs()->Add();
    EXPECT_EQ((std::vector<Integer>{0, 1, 2}), selected);
    for (Integer i = 0; i < 3; ++i) {
        TqxRibbonPage* page = FRibbon->Tabs()->Items(i)->Page();
        const String name = u"qxRibbonPage" + IntToStr(i + 2);
        EXPECT_EQ(name, page->Name());
        EXPECT_EQ(name, page->Caption());
        EXPECT_EQ(FForm, page->Owner());
        EXPECT_EQ(FRibbon, page->Parent());
        EXPECT_EQ(i == 2, page->Visible());
    }
    // Every page keeps the page area, whatever bounds it is given.
    TqxRibbonPage* page = FRibbon->ActivePage();
    page->SetBounds(5, 5, 50, 20);
    EXPECT_EQ(FRibbon->GetPageBounds(), page->BoundsRect());
    EXPECT_EQ(Bounds(1, 26, FRibbon->Width() - 2, 115 - 24 - 5), page->BoundsRect());
    // Delete frees the tab's page.
    FRibbon->Tabs()->Delete(2);
    EXPECT_EQ(nullptr, FForm->FindComponent(u"qxRibbonPage4"));
}

TEST_F(RibbonTest, HidingTheSelectedTabMovesTheSelection) {
    for (const char16_t* caption : {u"A", u"B", u"C"})
        AddTab(caption);
    TqxRibbonTabs* tabs = FRibbon->Tabs();
    FRibbon->SetTabIndex(1);
    tabs->Items(1)->SetVisible(false);
    EXPECT_EQ(2, FRibbon->TabIndex());
    EXPECT_FALSE(tabs->Items(1)->Page()->Visible());
    tabs->Items(2)->SetVisible(false);
    EXPECT_EQ(0, FRibbon->TabIndex());
    // The last visible tab goes: the selection stays, then falls to -1.
    tabs->Items(0)->SetVisible(false);
    EXPECT_EQ(0, FRibbon->TabIndex());
    FRibbon->SetTabIndex(1);
    EXPECT_EQ(-1, FRibbon->TabIndex());
    // Selecting a hidden tab shows it.
    tabs->Items(2)->SetVisible(true);
    FRibbon->SetTabIndex(1);
    EXPECT_EQ(1, FRibbon->TabIndex());
    EXPECT_TRUE(tabs->Items(1)->Visible());
    EXPECT_TRUE(tabs->Items(1)->Page()->Visible());
}

TEST_F(RibbonTest, APageFreedByOtherMeansLeavesItsTab) {
    TqxRibbonTab* tab = AddTab(u"A");
    delete tab->Page();
    EXPECT_EQ(nullptr, tab->Page());
    EXPECT_EQ(nullptr, FRibbon->ActivePage());
    Layout();
    FRibbon->Tabs()->Delete(0);
    EXPECT_EQ(0, FRibbon->Tabs()->Count());
}

TEST_F(RibbonTest, BackgroundFillTilesAndStretchesAndSkipsAnEmptySource) {
    TBitmap source;
    source.SetSize(30, 30);
    source.Canvas()->Brush()->SetColor(clBlue);
    source.Canvas()->FillRect(Rect(0, 0, 30, 30));
    source.Canvas()->SetPixels(0, 0, clRed);
    TBitmap target;
    target.SetSize(100, 40);
    const auto corners = [&] {
        Integer n = 0;
        for (Integer y = 0; y < 40; ++y)
            for (Integer x = 0; x < 100; ++x)
                n += target.Canvas()->Pixels(x, y) == clRed;
        return n;
    };
    SkinBackgroundFill(target.Canvas(), Rect(0, 0, 100, 40), &source, false, qxstFull);
    EXPECT_EQ(4 * 2, corners());
    // Stretched to the height and repeated across: one column per 30 pixels.
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 100, 40));
    SkinBackgroundFill(target.Canvas(), Rect(0, 0, 100, 40), &source, true, qxstHorz);
    EXPECT_EQ(clRed, target.Canvas()->Pixels(90, 0));
    EXPECT_EQ(clBlue, target.Canvas()->Pixels(90, 39));
    // An empty source draws nothing and never loops.
    TBitmap empty;
    target.Canvas()->FillRect(Rect(0, 0, 100, 40));
    for (bool stretch : {false, true})
        for (TqxStretchType type : {qxstFull, qxstHorz, qxstVert})
            SkinBackgroundFill(target.Canvas(), Rect(0, 0, 100, 40), &empty, stretch, type);
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(50, 20));
}

TEST_F(RibbonTest, AnUnskinnedPageIsButtonFace) {
    TqxRibbonPage* page = AddTab(u"A")->Page();
    Layout();
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(driver::Pixel(page->Handle(), 10, 10)));
}

TEST_F(RibbonTest, TabRowLayout) {
    for (const char16_t* caption : {u"One", u"Two", u"Three"})
        AddTab(caption);
    Layout();
    TqxRibbonTabs* tabs = FRibbon->Tabs();
    // Each tab is its caption's width plus 30, from the application button on.
    EXPECT_EQ(57, tabs->Items(0)->ItemRect.Left);
    EXPECT_FALSE(FRibbon->FShowDivider);
    for (Integer i = 1; i < 3; ++i)
        EXPECT_EQ(tabs->Items(i - 1)->ItemRect.Right, tabs->Items(i)->ItemRect.Left);
    EXPECT_EQ(24, tabs->Items(0)->ItemRect.Bottom);
    // The application button's width moves the tabs; 34 is refused.
    FRibbon->SetAppButtonWidth(34);
    EXPECT_EQ(54, FRibbon->AppButtonWidth());
    FRibbon->SetAppButtonWidth(80);
    Layout();
    EXPECT_EQ(83, tabs->Items(0)->ItemRect.Left);
    EXPECT_EQ(80, FRibbon->AppButton()->Width());
    // Squeezed: each tab gets its share of the room, at least 15.
    tabs->Items(0)->Page()->SetCaption(String(60, u'W'));
    FForm->SetWidth(3000);
    Layout();
    ASSERT_FALSE(FRibbon->FShowDivider);
    const Integer wide[] = {tabs->Items(0)->Width, tabs->Items(1)->Width, tabs->Items(2)->Width};
    FForm->SetWidth(300);
    Layout();
    EXPECT_TRUE(FRibbon->FShowDivider);
    const Integer available = FRibbon->Width() - 83 - 5, sum = wide[0] + wide[1] + wide[2];
    for (Integer i = 0; i < 3; ++i)
        EXPECT_EQ(std::max<Integer>(Integer(double(available) * wide[i] / sum), 15), tabs->Items(i)->Width)
            << i;
    EXPECT_EQ(15, tabs->Items(1)->Width);
    EXPECT_EQ(tabs->Items(0)->ItemRect.Right, tabs->Items(1)->ItemRect.Left);
}

TEST_F(RibbonTest, ButtonItemsClickOnlyWhenPressedAndReleasedOnTheSameItem) {
    AddTab(u"A");
    ButtonItems();
    TqxRibbonButtonItem* first = FRibbon->Buttons()->Items(0);
    TqxRibbonButtonItem* second = FRibbon->Buttons()->Items(1);
    // 22 wide each, from the right edge inwards.
    EXPECT_EQ(Rect(FRibbon->Width() - 46, 1, FRibbon->Width() - 24, 23), first->ItemRect);
    EXPECT_EQ(Rect(FRibbon->Width() - 24, 1, FRibbon->Width() - 2, 23), second->ItemRect);
    driver::MouseDown(Centre(FRibbon, first->ItemRect));
    driver::MouseMove(Centre(FRibbon, second->ItemRect));
    driver::MouseUp(Centre(FRibbon, second->ItemRect));
    driver::Pump();
    EXPECT_TRUE(Log.empty());
    driver::Click(Centre(FRibbon, second->ItemRect));
    driver::Pump();
    EXPECT_EQ((std::vector<std::string>{"click 1 ribbon"}), Log);
    // A disabled item is not hovered.
    second->SetEnabled(false);
    driver::MouseMove(Centre(FRibbon, second->ItemRect));
    driver::Pump();
    EXPECT_FALSE(second->Active);
}

TEST_F(RibbonTest, WithoutTabsNothingIsHovered) {
    ButtonItems();
    driver::MouseMove(Centre(FRibbon, FRibbon->Buttons()->Items(0)->ItemRect));
    driver::Pump();
    EXPECT_FALSE(FRibbon->Buttons()->Items(0)->Active);
    EXPECT_EQ(-1, FRibbon->FActiveButton);
}

TEST_F(RibbonTest, AnItemWithAPopupMenuStaysDownUntilTheMenuCloses) {
    AddTab(u"A");
    ButtonItems();
    auto* popup = new TqxSkinPopupMenu(FForm);
    auto* entry = new TMenuItem(popup);
    entry->SetCaption(u"Entry");
    popup->Items()->Add(entry);
    TqxRibbonButtonItem* first = FRibbon->Buttons()->Items(0);
    first->PopupMenu = popup;
    driver::Click(Centre(FRibbon, first->ItemRect));
    driver::Pump();
    EXPECT_EQ(0, FRibbon->FPopupButton);
    EXPECT_TRUE(first->Down);
    EXPECT_EQ((std::vector<std::string>{"click 0 ribbon"}), Log);
    SendMessageW(FRibbon->Handle(), SKINMSG_MENUCLOSED, 0, 0);
    EXPECT_EQ(-1, FRibbon->FPopupButton);
    EXPECT_FALSE(first->Down);
}

TEST_F(RibbonTest, KeysAndWheelStepThroughTheVisibleTabs) {
    for (const char16_t* caption : {u"A", u"B", u"C", u"D"})
        AddTab(caption);
    FRibbon->Tabs()->Items(2)->SetVisible(false);
    FRibbon->SetTabIndex(0);
    FRibbon->SetFocus();
    driver::Pump();
    const std::vector<std::pair<BYTE, Integer>> steps = {
        {VK_RIGHT, 1}, {VK_DOWN, 3}, {VK_RIGHT, 3}, {VK_PRIOR, 0}, {VK_NEXT, 3}, {VK_UP, 1}, {VK_LEFT, 0}};
    for (const auto& [key, expected] : steps) {
        driver::Key(key);
        driver::Pump();
        EXPECT_EQ(expected, FRibbon->TabIndex()) << int(key);
    }
    // The wheel on the first tab does nothing; left from it goes to the application button.
    driver::Wheel(Centre(FRibbon, FRibbon->Tabs()->Items(0)->ItemRect), 120);
    driver::Pump();
    EXPECT_EQ(0, FRibbon->TabIndex());
    driver::Wheel(Centre(FRibbon, FRibbon->Tabs()->Items(0)->ItemRect), -120);
    driver::Pump();
    EXPECT_EQ(1, FRibbon->TabIndex());
    FRibbon->SetTabIndex(0);
    driver::Key(VK_LEFT);
    driver::Pump();
    EXPECT_TRUE(FRibbon->AppButton()->Focused());
}

TEST_F(RibbonTest, AClickOnATabSelectsItAndClosesTheMenu) {
    AddTab(u"A");
    AddTab(u"B");
    Menu(2, 0);
    Layout();
    FRibbon->ShowAppMenu();
    driver::Click(Centre(FRibbon, FRibbon->Tabs()->Items(0)->ItemRect));
    driver::Pump();
    EXPECT_EQ(0, FRibbon->TabIndex());
    EXPECT_FALSE(FRibbon->AppMenuVisible());
    EXPECT_TRUE(FRibbon->Focused());
}

TEST_F(RibbonTest, TheApplicationButtonOpensAndClosesTheMenu) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(2, 0);
    std::vector<std::string> events;
    menu->OnShowingMenu = [&](TObject*) { events.push_back("showing"); };
    menu->OnShowMenu = [&](TObject*) { events.push_back("show"); };
    menu->OnHidingMenu = [&](TObject*) { events.push_back("hiding"); };
    menu->OnHideMenu = [&](TObject*) { events.push_back("hide"); };
    FRibbon->OnMenuClose = [&](TObject*) { events.push_back("close"); };
    TqxAppButton* button = FRibbon->AppButton();
    driver::Click(At(button, 10, 10));
    driver::Pump();
    ASSERT_TRUE(menu->Visible());
    EXPECT_TRUE(button->FDownState);
    EXPECT_TRUE(FRibbon->InAppHook());
    EXPECT_TRUE(menu->Focused());
    EXPECT_EQ(0, menu->ItemIndex());
    // Below the button, down to the client area's bottom, across the form.
    EXPECT_EQ(Rect(0, 25, FForm->ClientWidth(), FForm->ClientHeight()), menu->BoundsRect());
    driver::Click(At(button, 10, 10));
    driver::Pump();
    EXPECT_FALSE(menu->Visible());
    EXPECT_FALSE(button->FDownState);
    EXPECT_FALSE(FRibbon->InAppHook());
    EXPECT_EQ((std::vector<std::string>{"showing", "show", "hiding", "close", "hide"}), events);
}

TEST_F(RibbonTest, EscapeClosesTheMenuOnlyWhileTheLinkedFormIsActive) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(1, 0);
    FRibbon->ShowAppMenu();
    ASSERT_TRUE(D(FForm)->GetFormActive());
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    bool handled = false;
    // Another form active: the key is left alone.
    TForm* other = NewSkinnedForm(u"Other", Rect(0, 0, 100, 100));
    other->SetFocus();
    driver::Pump();
    Application->OnMessage(msg, handled);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(menu->Visible());
    FForm->SetFocus();
    driver::Pump();
    Application->OnMessage(msg, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(0u, msg.message);
    EXPECT_FALSE(menu->Visible());
    // Without a form component linked Esc does nothing.
    D(FForm)->SetSkinRibbon(nullptr);
    FRibbon->ShowAppMenu();
    msg.message = WM_KEYDOWN;
    handled = false;
    Application->OnMessage(msg, handled);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(menu->Visible());
}

TEST_F(RibbonTest, TheHookGivesBackOnlyWhatItFoundAndOnlyWhileItIsInstalled) {
    AddTab(u"A");
    Menu(1, 0);
    bool earlier = false, later = false;
    Application->OnMessage = [&](MSG&, bool&) { earlier = true; };
    FRibbon->ShowAppMenu();
    FRibbon->HideAppMenu(nullptr);
    MSG msg{};
    bool handled = false;
    Application->OnMessage(msg, handled);
    EXPECT_TRUE(earlier);
    // A hook installed after the ribbon's keeps its place.
    FRibbon->ShowAppMenu();
    Application->OnMessage = [&](MSG&, bool&) { later = true; };
    FRibbon->HideAppMenu(nullptr);
    Application->OnMessage(msg, handled);
    EXPECT_TRUE(later);
}

TEST_F(RibbonTest, FreedLinksAreForgotten) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(1, 0);
    FRibbon->ShowAppMenu();
    // The form component goes while the menu is open: Esc reaches no freed object.
    delete D(FForm);
    EXPECT_EQ(nullptr, FRibbon->QXD());
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    bool handled = false;
    Application->OnMessage(msg, handled);
    EXPECT_FALSE(handled);
    FRibbon->HideAppMenu(nullptr);
    // The ribbon goes: the menu forgets it and its command keys do nothing.
    delete FRibbon;
    FRibbon = nullptr;
    EXPECT_EQ(nullptr, menu->Ribbon());
    menu->SetVisible(true);
    menu->SetFocus();
    driver::Key(VK_RETURN);
    driver::Pump();
    EXPECT_TRUE(Log.empty());
}

TEST_F(RibbonTest, MDIButtonsComeOnceAndGoWhenNoChildIsMaximized) {
    FRibbon->MDIChildMaximize();
    FRibbon->MDIChildMaximize();
    ASSERT_EQ(3, FRibbon->MDIButtons()->Count());
    EXPECT_EQ(1, FRibbon->MDIButtons()->Items(0)->Code);
    Layout();
    // Close rightmost, then restore and minimize, 22 pixels each.
    const Integer w = FRibbon->Width();
    EXPECT_EQ(Rect(w - 27, 1, w - 5, 23), FRibbon->MDIButtons()->Items(0)->ItemRect);
    EXPECT_EQ(Rect(w - 71, 1, w - 49, 23), FRibbon->MDIButtons()->Items(2)->ItemRect);
    FRibbon->MDIChildRestore();
    EXPECT_EQ(0, FRibbon->MDIButtons()->Count());
}

TEST_F(RibbonTest, AMaximizedChildBringsTheMDIButtonsWhichActOnIt) {
    // An MDI main form with its own ribbon; its form component tells the
    // ribbon when the children maximize and restore.
    TForm* main = NewMainForm(Rect(50, 50, 750, 550));
    main->SetFormStyle(fsMDIForm);
    auto* ribbon = new TqxRibbon(main);
    ribbon->SetParent(main);
    D(main)->SetSkinRibbon(ribbon);
    driver::Pump();
    TForm* child = NewSkinnedForm(u"Child", Rect(10, 10, 310, 210));
    child->SetFormStyle(fsMDIChild);
    child->Show();
    D(child)->SetWindowState(wsMaximized);
    driver::Pump();
    ASSERT_EQ(3, ribbon->MDIButtons()->Count());
    // Still a maximized child: the buttons stay.
    ribbon->MDIChildRestore();
    ASSERT_EQ(3, ribbon->MDIButtons()->Count());
    ribbon->MDIButtons()->Items(1)->OnClick(ribbon);
    driver::Pump();
    EXPECT_EQ(wsNormal, D(child)->AppliedWindowState());
    EXPECT_EQ(0, ribbon->MDIButtons()->Count());
}

TEST_F(RibbonTest, KeyMenuHidesTheMenuAndFocusesTheRibbonAltWithAnAcceleratorSelectsATab) {
    AddTab(u"&Home");
    AddTab(u"&View");
    TqxAppMenu* menu = Menu(1, 0);
    FRibbon->ShowAppMenu();
    SendMessageW(FForm->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    driver::Pump();
    EXPECT_FALSE(menu->Visible());
    EXPECT_TRUE(FRibbon->Focused());
    // A lone Alt from the keyboard does the same.
    FRibbon->ShowAppMenu();
    driver::KeyDown(VK_MENU);
    driver::KeyUp(VK_MENU);
    driver::Pump();
    EXPECT_FALSE(menu->Visible());
    EXPECT_TRUE(FRibbon->Focused());
    TWMKey key{WM_SYSKEYDOWN, Word('H'), 0x20000000};
    EXPECT_TRUE(D(FForm)->RibbonShortCut(key));
    EXPECT_EQ(0, FRibbon->TabIndex());
    key.KeyData = 0;
    EXPECT_FALSE(D(FForm)->RibbonShortCut(key));
}

TEST_F(RibbonTest, AFormDescriptionLinksTabsPagesAndTheMenu) {
    TTempFolder folder;
    const String file = folder.Path() + u"form.txt";
    WriteFileBytes(file, StringToUTF8(u"object Form1: TForm\r\n"
                                      u"  object AppMenu1: TqxAppMenu\r\n"
                                      u"    ItemWidth = 160\r\n"
                                      u"    Items = <\r\n"
                                      u"      item\r\n"
                                      u"        Caption = 'Open'\r\n"
                                      u"      end>\r\n"
                                      u"  end\r\n"
                                      u"  object Ribbon1: TqxRibbon\r\n"
                                      u"    AppMenu = AppMenu1\r\n"
                                      u"    AppButtonWidth = 70\r\n"
                                      u"    Tabs = <\r\n"
                                      u"      item\r\n"
                                      u"        Page = Page1\r\n"
                                      u"      end\r\n"
                                      u"      item\r\n"
                                      u"        Page = Page2\r\n"
                                      u"      end>\r\n"
                                      u"    TabIndex = 1\r\n"
                                      u"    object Page1: TqxRibbonPage\r\n"
                                      u"      Caption = 'Home'\r\n"
                                      u"    end\r\n"
                                      u"    object Page2: TqxRibbonPage\r\n"
                                      u"      Caption = 'View'\r\n"
                                      u"    end\r\n"
                                      u"  end\r\n"
                                      u"  object Dravenfold1: TqxDravenfold\r\n"
                                      u"    SkinRibbon = Ribbon1\r\n"
                                      u"  end\r\n"
                                      u"end\r\n"));
    auto* form = new TForm(Application);
    ReadDescriptionFile(form, file);
    auto* ribbon = dynamic_cast<TqxRibbon*>(form->FindComponent(u"Ribbon1"));
    ASSERT_NE(nullptr, ribbon);
    ASSERT_EQ(2, ribbon->Tabs()->Count());
    EXPECT_EQ(u"View", ribbon->ActivePage()->Caption());
    EXPECT_FALSE(ribbon->Tabs()->Items(0)->Page()->Visible());
    EXPECT_EQ(ribbon, ribbon->Tabs()->Items(0)->Page()->RibbonBar());
    EXPECT_EQ(70, ribbon->AppButtonWidth());
    EXPECT_EQ(ribbon, ribbon->AppMenu()->Ribbon());
    EXPECT_EQ(u"Open", ribbon->AppMenu()->Items()->Items(0)->Caption());
    EXPECT_EQ(160, ribbon->AppMenu()->ItemWidth());
    EXPECT_EQ(FindDravenfold(form), ribbon->QXD());
}

// Skinned.

TEST_F(RibbonTest, SkinnedTheRowIsTheTabsHeightAndThePageShowsTheFramesInside) {
    TqxSkinData* skin = NewSkinData(FlatSkin());
    D(FForm)->SetSkinData(skin);
    FRibbon->SetSkinData(skin);
    // No tab: the empty page area shows the frame's inside.
    Layout();
    EXPECT_EQ(27, FRibbon->GetTabRowHeight());
    const TRect area = FRibbon->GetPageBounds();
    EXPECT_EQ(Bounds(1, 28, FRibbon->Width() - 2, 115 - 64 + 62 - 27), area);
    const TColor inside = FlatColor(u"officetab", u"skinrect", fpCenter);
    EXPECT_EQ(inside, TColor(driver::Pixel(FRibbon->Handle(), area.Left + area.Width() / 2, area.Top + 40)));
    EXPECT_EQ(FlatColor(u"officetab", u"skinrect", fpLeft), TColor(driver::Pixel(FRibbon->Handle(), 0, 60)));
    // A tab: its page paints the same inside; the selected tab its own look.
    TqxRibbonTab* tab = AddTab(u"A");
    Layout();
    EXPECT_EQ(inside, TColor(driver::Pixel(tab->Page()->Handle(), 30, 40)));
    const TRect& r = tab->ItemRect;
    EXPECT_EQ(FlatColor(u"officetab", u"activetabrect", fpLeft),
              TColor(driver::Pixel(FRibbon->Handle(), r.Left + 2, (r.Top + r.Bottom) / 2)));
    EXPECT_EQ(FlatColor(u"officetab", u"tabsbgrect", fpWhole),
              TColor(driver::Pixel(FRibbon->Handle(), FRibbon->Width() / 2, 12)));
}

TEST_F(RibbonTest, WithABackButtonTheMenuCoversTheClientAreaAndDrawsItsCaptionInTheFrame) {
    TqxAppMenu* menu = SecondSkinMenu(2);
    Layout();
    const TColor closed = FramePixel(FForm, 40, 4);
    FRibbon->ShowAppMenu();
    driver::Pump();
    EXPECT_EQ(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()), menu->BoundsRect());
    EXPECT_TRUE(D(FForm)->AppMenuCaptionDrawn());
    EXPECT_EQ(150, D(FForm)->AppMenuCaptionOffset());
    EXPECT_NE(closed, FramePixel(FForm, 40, 4));
    // The first command sits below the back button.
    menu->CalcItemRects();
    EXPECT_EQ(menu->FBackButtonRect.Height() + 12, menu->Items()->Items(0)->ItemRect.Top);
    // The back button closes the menu.
    driver::Click(Centre(menu, menu->FBackButtonRect));
    driver::Pump();
    EXPECT_FALSE(menu->Visible());
    EXPECT_FALSE(D(FForm)->AppMenuCaptionDrawn());
    EXPECT_EQ(closed, FramePixel(FForm, 40, 4));
}

TEST_F(RibbonTest, TheCaptionTextKeepsItsInsetRightOfTheMenusCaptionPicture) {
    SecondSkinMenu(1);
    FForm->SetCaption(u"MMMM");
    FRibbon->ShowAppMenu();
    driver::Pump();
    ASSERT_TRUE(D(FForm)->AppMenuCaptionDrawn());
    TqxSkinCaptionObject* caption = D(FForm)->CaptionObject();
    ASSERT_NE(nullptr, caption);
    const Integer inset = caption->TextRct.Left;
    ASSERT_GT(inset, 0);
    // The first column right of the picture that differs from the empty
    // caption far to the right, within the caption's rows.
    const TRect area = caption->ObjectRect;
    const Integer empty = area.Right - 20;
    Integer first = -1;
    for (Integer x = 150; x < empty && first == -1; ++x)
        for (Integer y = area.Top; y < area.Bottom; ++y)
            if (FramePixel(FForm, x, y) != FramePixel(FForm, empty, y)) {
                first = x;
                break;
            }
    EXPECT_GE(first, 150 + inset - 1);
    EXPECT_LT(first, 150 + inset + 4);
}

TEST_F(RibbonTest, ABarePageShowsTheSkinnedFormBehindItsControls) {
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"second"));
    D(FForm)->SetSkinData(skin);
    auto* page = new TqxRibbonCustomPage(FForm);
    page->SetParent(FForm);
    page->SetBounds(20, 200, 300, 60);
    auto* button = new TButton(FForm);
    button->SetParent(page);
    button->SetBounds(4, 4, 80, 40);
    Layout();
    page->Repaint();
    driver::Pump();
    // Right of its button the page shows what the form shows beside it.
    const TPoint beside = FForm->ScreenToClient(page->ClientToScreen(Point(0, 0)));
    EXPECT_EQ(TColor(driver::Pixel(FForm->Handle(), beside.X - 5, beside.Y + 50)),
              TColor(driver::Pixel(page->Handle(), 200, 50)));
}

TEST_F(RibbonTest, WhatNoMenuBackgroundCoversIsTheSkinsFaceColour) {
    // A skin without background pictures for the menu.
    TFixtureSkin fixture = FlatSkin();
    SetValue(fixture, u"appmenu", u"bgpictureindex", u"-1");
    TqxSkinData* skin = NewSkinData(fixture);
    D(FForm)->SetSkinData(skin);
    FRibbon->SetSkinData(skin);
    AddTab(u"A");
    TqxAppMenu* menu = Menu(1, 0);
    menu->SetSkinData(skin);
    FRibbon->ShowAppMenu();
    driver::Pump();
    ASSERT_NE(nullptr, menu->FData);
    ASSERT_EQ(nullptr, menu->FDataBGPicture);
    ASSERT_EQ(nullptr, menu->FDataPageBGPicture);
    EXPECT_EQ(skin->SkinColors()->cBtnFace(), TColor(driver::Pixel(menu->Handle(), menu->Width() - 30, 40)));
}

// The application menu.

TEST_F(RibbonTest, MenuItemsAreNamedByIndexAndLaidOutDownTheColumn) {
    TqxAppMenu* menu = Menu(4, 0);
    EXPECT_EQ(u"TqxAppMenuItem3", menu->Items()->Items(3)->Caption());
    menu->CalcItemRects();
    // Command items: from y 7, 28 high, 8 in from both sides.
    EXPECT_EQ(Rect(8, 7, 92, 35), menu->Items()->Items(0)->ItemRect);
    EXPECT_EQ(Rect(8, 35, 92, 63), menu->Items()->Items(1)->ItemRect);
    // A first page item starts at 30; a page after a command item 8 lower.
    TqxAppMenu* pages = Menu(0, 1);
    pages->CalcItemRects();
    EXPECT_EQ(Rect(0, 30, 100, 65), pages->Items()->Items(0)->ItemRect);
    TqxAppMenuItem* extra = pages->Items()->Insert(0);
    (void)extra;
    pages->CalcItemRects();
    EXPECT_EQ(Rect(8, 7, 92, 35), pages->Items()->Items(0)->ItemRect);
    EXPECT_EQ(Rect(0, 43, 100, 78), pages->Items()->Items(1)->ItemRect);
    Integer min = -1, max = 0, page = 0;
    pages->GetItemsExtent(min, max, page);
    EXPECT_EQ(0, min);
    EXPECT_EQ(7 + 28 + 8 + 35 + 8 + 25 + 1, max);
}

TEST_F(RibbonTest, OpeningSelectsTheFirstUsableItemACommandRunsAfterTheMenuIsHidden) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(3, 0);
    menu->Items()->Items(0)->SetEnabled(false);
    FRibbon->ShowAppMenu();
    EXPECT_EQ(1, menu->ItemIndex());
    // Pressed on one item, released over another: nothing.
    menu->CalcItemRects();
    const TRect first = menu->Items()->Items(1)->ItemRect, second = menu->Items()->Items(2)->ItemRect;
    driver::MouseDown(Centre(menu, first));
    driver::MouseMove(Centre(menu, second));
    driver::MouseUp(Centre(menu, second));
    driver::Pump();
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(menu->Visible());
    driver::Click(Centre(menu, second));
    driver::Pump();
    EXPECT_EQ((std::vector<std::string>{"TqxAppMenuItem2 ribbon hidden"}), Log);
    EXPECT_FALSE(menu->Visible());
    // Enter on the selected command.
    FRibbon->ShowAppMenu();
    menu->SetItemIndex(1);
    driver::Key(VK_RETURN);
    driver::Pump();
    EXPECT_EQ("TqxAppMenuItem1 ribbon hidden", Log.back());
}

TEST_F(RibbonTest, TallItemsGetAScrollBarThatFollowsTheSelection) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(20, 0);
    FRibbon->ShowAppMenu();
    ASSERT_NE(nullptr, menu->ScrollBar());
    EXPECT_EQ(7 + 20 * 28 + 1, menu->ScrollBar()->Max());
    EXPECT_EQ(menu->Height(), menu->ScrollBar()->PageSize());
    // Down into an item below the band scrolls just far enough.
    const Integer visible = (menu->Height() - 7) / 28;
    menu->SetItemIndex(visible);
    menu->CalcItemRects();
    EXPECT_EQ(menu->Height(), menu->Items()->Items(visible)->ItemRect.Bottom);
    menu->FindLastItem();
    EXPECT_EQ(menu->ScrollBar()->Max() - menu->Height() + 1, menu->ScrollOffset());
    // Fewer items: the bar goes.
    while (menu->Items()->Count() > 2)
        menu->Items()->Delete(menu->Items()->Count() - 1);
    EXPECT_EQ(nullptr, menu->ScrollBar());
    EXPECT_EQ(0, menu->ScrollOffset());
}

TEST_F(RibbonTest, PagesTakeThePageAreaLimitedByTheirDefaultWidth) {
    TqxAppMenu* menu = Menu(0, 1);
    TqxAppMenuPage* page = menu->ActivePage();
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(u"qxAppMenuPage1", page->Name());
    menu->SetBounds(0, 0, 375, 130);
    // Page area: 100 + 0, 25, 375 - 100 - 25 = 250 wide, 130 - 50 = 80 high.
    EXPECT_EQ(Bounds(100, 25, 250, 80), menu->GetPageBounds());
    page->SetDefaultWidth(300);
    EXPECT_EQ(Bounds(100, 25, 250, 100), page->BoundsRect());
    page->SetDefaultWidth(120);
    EXPECT_EQ(120, page->Width());
    // A freed page leaves its item.
    delete page;
    EXPECT_EQ(nullptr, menu->Items()->Items(0)->Page());
    EXPECT_EQ(nullptr, menu->ActivePage());
}

TEST_F(RibbonTest, OnlyTheShownPageScrollsAndTabReachesItsFirstControl) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(1, 2);
    TqxAppMenuPage* first = menu->Items()->Items(1)->Page();
    TqxAppMenuPage* second = menu->Items()->Items(2)->Page();
    ASSERT_EQ(second, menu->ActivePage());
    FRibbon->ShowAppMenu();
    EXPECT_FALSE(second->FStopScroll);
    EXPECT_EQ(2, menu->ItemIndex());
    // Up to the other page item: its page shows, the old one is locked.
    driver::Key(VK_UP);
    driver::Pump();
    EXPECT_EQ(first, menu->ActivePage());
    EXPECT_TRUE(second->FStopScroll);
    EXPECT_FALSE(second->Visible());
    EXPECT_FALSE(first->FStopScroll);
    // Tab gives the page's first control the focus.
    auto* edit = new TButton(FForm);
    edit->SetParent(first);
    edit->SetBounds(10, 10, 80, 24);
    first->SetFirstActiveControl(edit);
    driver::Key(VK_TAB);
    driver::Pump();
    EXPECT_TRUE(edit->Focused());
    delete edit;
    EXPECT_EQ(nullptr, first->FirstActiveControl());
}

TEST_F(RibbonTest, TheSizeGripFollowsTheFormsState) {
    AddTab(u"A");
    TqxAppMenu* menu = Menu(1, 0);
    EXPECT_TRUE(menu->SizeGripShown());
    FRibbon->ShowAppMenu();
    const TRect grip = menu->GetSizeGripRect();
    const POINT p = At(menu, grip.Left + 5, grip.Top + 5);
    EXPECT_EQ(HTBOTTOMRIGHT, SendMessageW(menu->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
    D(FForm)->SetWindowState(wsMaximized);
    EXPECT_FALSE(menu->SizeGripShown());
    D(FForm)->SetWindowState(wsNormal);
    FForm->SetBorderStyle(bsSingle);
    EXPECT_FALSE(menu->SizeGripShown());
}

TEST_F(RibbonTest, CaptionOffsetIsTheItemWidthWithoutSkin) {
    TqxAppMenu* menu = Menu(1, 0);
    menu->SetItemWidth(150);
    EXPECT_EQ(150, menu->GetAppMenuCaptionOffset());
    menu->SetItemWidth(50);
    EXPECT_EQ(100, menu->ItemWidth());
    EXPECT_FALSE(menu->CanDrawAppMenuCaption());
}

}  // namespace
