// The skinned popup menus: rows and their looks, the popup windows' size,
// placement, scrolling, mouse and keys, the controller's chain and the
// order in which everyone is told, and the popup menu component's wiring.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/toolkit/imagelist.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "skin/controls/qxcustomedit.h"
#include "skin/controls/qxskinmenubutton.h"
#include "skin/core/qxutils.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/skinmenus.h"

using namespace win;
using namespace skinfixtures;

namespace {

// A control that logs the skin library's menu messages it receives.
class TOpener : public TCustomControl {
public:
    TOpener(TComponent* AOwner, std::vector<std::string>* ALog, const std::string& AName)
        : TCustomControl(AOwner), FLog(ALog), FName(AName) {}
    void WndProc(TMessage& AMessage) override {
        if (AMessage.Msg == SKINMSG_MENUCLOSED) FLog->push_back(FName + " closed");
        if (AMessage.Msg == SKINMSG_MENUCOMMAND) FLog->push_back(FName + " command");
        TCustomControl::WndProc(AMessage);
    }

private:
    std::vector<std::string>* FLog;
    std::string FName;
};

class MenusTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FormSkinMenuMaker = MakeSkinMenu;
        driver::SetMonitors({{RECT{0, 0, 1000, 800}, RECT{0, 0, 1000, 760}}});
    }

    // Keys reach open menus through the application's message hook.
    static void PressKey(BYTE AKey) {
        driver::Key(AKey);
        Application->ProcessMessages();
    }
    static TqxSkinMenu* SkinMenu(TForm* AForm) { return dynamic_cast<TqxSkinMenu*>(D(AForm)->SkinMenu()); }
    static TqxSkinPopupWindow* Window(TForm* AForm, Integer AIndex) {
        return SkinMenu(AForm)->PopupWindow(AIndex);
    }
    static TRect Bounds(TqxSkinPopupWindow* AWindow) {
        return ToTRect(driver::Inspect(AWindow->Handle()).Bounds);
    }
    // The screen centre of a row.
    static POINT RowCentre(TqxSkinPopupWindow* AWindow, Integer ARow) {
        const TRect r = AWindow->Item(ARow)->ObjectRect;
        return POINT{AWindow->Left() + (r.Left + r.Right) / 2, AWindow->Top() + (r.Top + r.Bottom) / 2};
    }

    TMenuItem* AddItem(TMenuItem* AParent, const String& ACaption, const std::string& ALogName = {}) {
        auto* item = new TMenuItem(AParent->GetParentMenu() ? AParent->GetParentMenu() : nullptr);
        item->SetCaption(ACaption);
        if (!ALogName.empty()) item->OnClick = [this, ALogName](TObject*) { Log.push_back(ALogName); };
        AParent->Add(item);
        return item;
    }

    // Three levels: a header, a checked item, a radio item, a disabled one,
    // a separator, a shortcut item and a submenu with its own submenu.
    TqxSkinPopupMenu* ThreeLevels(TForm* AForm) {
        auto* menu = new TqxSkinPopupMenu(AForm);
        TMenuItem* root = menu->Items();
        AddItem(root, u"-Title-")->SetEnabled(false);
        AddItem(root, u"&Check", "check")->SetChecked(true);
        TMenuItem* radio = AddItem(root, u"&Radio", "radio");
        radio->SetRadioItem(true);
        radio->SetChecked(true);
        AddItem(root, u"&Disabled", "disabled")->SetEnabled(false);
        AddItem(root, u"-");
        AddItem(root, u"&Save", "save")->SetShortCut(TextToShortCut(u"Ctrl+S"));
        TMenuItem* more = AddItem(root, u"&More", "more");
        AddItem(more, u"&First", "first");
        TMenuItem* deeper = AddItem(more, u"D&eeper", "deeper");
        AddItem(deeper, u"&Leaf", "leaf");
        return menu;
    }

    std::vector<std::string> Log;
};

TEST_F(MenusTest, APopupShowsANonActivatingWindowWithTheFirstEnabledRowHighlighted) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    TqxSkinPopupWindow* window = Window(form, 0);
    const driver::TWindowInfo info = driver::Inspect(window->Handle());
    EXPECT_TRUE(info.Visible);
    EXPECT_EQ(info.Style & (WS_POPUP | WS_CAPTION), DWORD(WS_POPUP));
    EXPECT_TRUE(info.ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(info.ClassStyle & CS_SAVEBITS);
    EXPECT_EQ(Bounds(window).TopLeft(), Point(200, 150));
    // Seven rows of 20 (the separator 4) and the default frame.
    EXPECT_EQ(window->Height(), 6 * 20 + 4 + 4);
    // The header and the disabled item are passed over; the check item waits.
    EXPECT_EQ(window->ActiveItem, 1);
    EXPECT_TRUE(window->Item(1)->WaitCommand);
    EXPECT_TRUE(D(form)->InMenu());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(MenusTest, PlacementFollowsTheOpeningRectangleInsideTheWorkArea) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* menu = new TPopupMenu(form);
    for (Integer i = 0; i < 20; ++i)
        AddItem(menu->Items(), u"Item " + IntToStr(i));
    TqxSkinMenu* skinMenu = SkinMenu(form);
    const Integer h = 20 * 20 + 4;
    struct TCase {
        const char* Name;
        TRect R;
        bool ByItem;
        bool Up;
        Integer Top;
        bool Beside;
    };
    // Work area 0..760, middle 380.
    const TCase cases[] = {
        {"point with room below", Rect(300, 100, 300, 100), false, false, 100, false},
        {"point low without room below opens above", Rect(300, 700, 300, 700), false, false, 700 - h, false},
        {"drop-down under a rectangle", Rect(300, 100, 340, 120), false, false, 120, false},
        {"drop-down high without room below", Rect(300, 300, 340, 600), false, false, 760 - h, true},
        {"popup up with room above", Rect(300, 500, 340, 520), false, true, 500 - h, false},
        {"popup up high without room above", Rect(300, 100, 340, 120), false, true, 120, false},
        {"submenu level with its item", Rect(300, 100, 400, 120), true, false, 100 - 2, true},
        {"submenu low without room: ends under its item", Rect(300, 700, 400, 720), true, false, 720 - h + 2,
         true},
        {"submenu high without room: pushed up to the bottom", Rect(300, 370, 400, 390), true, false, 760 - h,
         true},
    };
    for (const TCase& c : cases) {
        skinMenu->CloseFrom(0);
        skinMenu->GetWorkArea(skinMenu->WorkArea);
        skinMenu->SkinData = nullptr;
        skinMenu->AddPopupWindow(c.R, menu->Items(), 0, c.ByItem, c.Up);
        TqxSkinPopupWindow* window = Window(form, 0);
        EXPECT_EQ(window->ShowY, c.Top) << c.Name;
        EXPECT_EQ(window->ShowX, c.Beside ? c.R.Right + 1 : c.R.Left) << c.Name;
    }
    // Too tall for the work area: as tall as it, at its top, beside the point.
    for (Integer i = 0; i < 30; ++i)
        AddItem(menu->Items(), u"More " + IntToStr(i));
    skinMenu->CloseFrom(0);
    skinMenu->AddPopupWindow(Rect(950, 300, 950, 300), menu->Items(), 0, false, false);
    TqxSkinPopupWindow* tall = Window(form, 0);
    EXPECT_TRUE(tall->Scroll);
    EXPECT_EQ(tall->Height(), 760);
    EXPECT_EQ(tall->ShowY, 0);
    EXPECT_EQ(tall->ShowX, 950 - tall->Width() - 1);
}

TEST_F(MenusTest, AWindowLimitedToFiveRowsScrollsAndWraps) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetMaxMenuItemsInWindow(5);
    auto* menu = new TqxSkinPopupMenu(form);
    for (Integer i = 0; i < 8; ++i)
        AddItem(menu->Items(), u"Item " + IntToStr(i));
    menu->Popup(200, 100);
    TqxSkinPopupWindow* window = Window(form, 0);
    EXPECT_EQ(window->Height(), 5 * 20 + 4 + 20);
    EXPECT_TRUE(window->Scroll && window->Scroll2);
    EXPECT_EQ(window->VisibleCount, 5);
    for (Integer i = 0; i < 4; ++i)
        PressKey(VK_DOWN);
    EXPECT_EQ(window->ActiveItem, 4);
    EXPECT_EQ(window->VisibleStartIndex, 0);
    PressKey(VK_DOWN);
    EXPECT_EQ(window->ActiveItem, 5);
    EXPECT_EQ(window->VisibleStartIndex, 1);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(window->ActiveItem, 7);
    PressKey(VK_DOWN);
    EXPECT_EQ(window->ActiveItem, 0);
    EXPECT_EQ(window->VisibleStartIndex, 0);
    // The pointer resting on the down marker scrolls one row per 100 ms.
    const TRect marker = window->NewItemsRect;
    driver::MouseMove(POINT{window->Left() + marker.Left + 20, window->Top() + marker.Bottom - 5});
    driver::AdvanceTime(50);
    EXPECT_EQ(window->ScrollCode, 2);
    driver::AdvanceTime(100);
    EXPECT_EQ(window->VisibleStartIndex, 1);
    driver::AdvanceTime(200);
    EXPECT_EQ(window->VisibleStartIndex, 3);
    driver::AdvanceTime(100);
    EXPECT_EQ(window->VisibleStartIndex, 3);
    EXPECT_EQ(window->ScrollCode, 0);
}

TEST_F(MenusTest, ALimitBelowOneIsNoLimit) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetMaxMenuItemsInWindow(-2);
    auto* menu = new TqxSkinPopupMenu(form);
    for (Integer i = 0; i < 8; ++i)
        AddItem(menu->Items(), u"Item " + IntToStr(i));
    menu->Popup(200, 100);
    TqxSkinPopupWindow* window = Window(form, 0);
    EXPECT_EQ(window->Height(), 8 * 20 + 4);
    EXPECT_FALSE(window->Scroll);
}

TEST_F(MenusTest, UpAndDownSkipSeparatorsAndDisabledItems) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    TqxSkinPopupWindow* window = Window(form, 0);
    std::vector<Integer> downs, ups;
    for (Integer i = 0; i < 5; ++i) {
        PressKey(VK_DOWN);
        downs.push_back(window->ActiveItem);
    }
    for (Integer i = 0; i < 2; ++i) {
        PressKey(VK_UP);
        ups.push_back(window->ActiveItem);
    }
    // Down past the last row wraps to the first usable one; Up wraps only
    // from the very first row, and a header above stays unreachable.
    EXPECT_EQ(downs, (std::vector<Integer>{2, 5, 6, 1, 2}));
    EXPECT_EQ(ups, (std::vector<Integer>{1, 1}));
    // No submenu opens on its own from the keyboard.
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    ASSERT_EQ(window->ActiveItem, 6);
    PressKey(VK_RIGHT);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 2);
    PressKey(VK_LEFT);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_FALSE(D(form)->InMenu());
}

TEST_F(MenusTest, ALeftReleaseActivatesWhileAPressOrARightReleaseDoesNothing) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    TqxSkinPopupWindow* window = Window(form, 0);
    const POINT save = RowCentre(window, 5);
    driver::MouseMove(save);
    driver::MouseDown(save);
    driver::Pump();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    driver::MouseUp(save, 0x02);
    driver::MouseDown(save, 0x02);
    driver::MouseUp(save, 0x02);
    driver::Pump();
    EXPECT_TRUE(Log.empty());
    driver::MouseUp(save);
    driver::Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"save"});
    EXPECT_FALSE(SkinMenu(form)->Visible());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(MenusTest, ALeafTellsEveryoneInTheSettledOrder) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    auto* opener = new TOpener(form, &Log, "opener");
    opener->SetParent(form);
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->OnMenuClose = [&](TObject*) { Log.push_back("OnMenuClose"); };
    D(form)->OnSkinMenuClose = [&](TObject*) { Log.push_back("form closed"); };
    menu->Items()->Items(5)->OnClick = [&](TObject*) {
        Log.push_back(SkinMenu(form)->PopupCount() == 0 && !D(form)->InMenu() ? "save, no menu open"
                                                                              : "save");
    };
    menu->Popup2(opener, 200, 150);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"opener closed", "OnMenuClose", "form closed",
                                             "save, no menu open", "opener command"}));
}

TEST_F(MenusTest, APopupWhileOneIsOpenTellsTheOldOpenerFirstAndDoesNotFade) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetMenusAlphaBlend(true);
    D(form)->SetMenusAlphaBlendAnimation(true);
    D(form)->SetMenusAlphaBlendValue(150);
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    auto* first = new TOpener(form, &Log, "first");
    auto* second = new TOpener(form, &Log, "second");
    first->SetParent(form);
    second->SetParent(form);
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->OnMenuClose = [&](TObject*) { Log.push_back("OnMenuClose"); };
    menu->Popup2(first, 200, 150);
    const driver::TLayeredInfo faded = driver::Layered(Window(form, 0)->Handle());
    EXPECT_EQ(faded.AlphaHistory.front(), 0);
    EXPECT_EQ(faded.AlphaHistory.back(), 150);
    EXPECT_EQ(faded.AlphaHistory.size(), 16u);
    menu->Popup2(second, 300, 150);
    EXPECT_EQ(Log, (std::vector<std::string>{"first closed", "OnMenuClose"}));
    EXPECT_EQ(driver::Layered(Window(form, 0)->Handle()).AlphaHistory, std::vector<BYTE>{150});
    SkinMenu(form)->Hide();
    EXPECT_EQ(Log.back(), "OnMenuClose");
    EXPECT_EQ(Log[Log.size() - 2], "second closed");
}

TEST_F(MenusTest, ASubmenuOpensHalfASecondAfterThePointerEntersItsItem) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    TqxSkinPopupWindow* window = Window(form, 0);
    driver::MouseMove(RowCentre(window, 6));
    driver::AdvanceTime(50);
    ASSERT_EQ(window->ActiveItem, 6);
    driver::AdvanceTime(400);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    // Another row entered in time cancels the wait.
    driver::MouseMove(RowCentre(window, 5));
    driver::AdvanceTime(50);
    driver::AdvanceTime(600);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    driver::MouseMove(RowCentre(window, 6));
    driver::AdvanceTime(550);
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 2);
    EXPECT_TRUE(window->Item(6)->Down);
    // The submenu's first row sits level with its item.
    const TqxSkinPopupWindow* sub = Window(form, 1);
    EXPECT_EQ(sub->Top() + sub->Item(0)->ObjectRect.Top, window->Top() + window->Item(6)->ObjectRect.Top);
    EXPECT_EQ(Log, std::vector<std::string>{"more"});
}

TEST_F(MenusTest, AClickOnASubmenuItemRunsItsHandlerBeforeTheSubmenuIsBuilt) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* menu = new TqxSkinPopupMenu(form);
    TMenuItem* recent = AddItem(menu->Items(), u"Recent");
    AddItem(recent, u"placeholder");
    recent->OnClick = [&](TObject*) {
        recent->Clear();
        AddItem(recent, u"a.mts");
        AddItem(recent, u"b.mts");
    };
    menu->Popup(200, 150);
    driver::Click(RowCentre(Window(form, 0), 0));
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 2);
    TqxSkinPopupWindow* sub = Window(form, 1);
    ASSERT_EQ(sub->ItemCount(), 2);
    EXPECT_EQ(sub->Item(1)->MenuItem->Caption(), u"b.mts");
}

TEST_F(MenusTest, APopupMenuFindsItsFormThroughAnOwnerThatIsNoForm) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* frame = new TComponent(form);
    auto* menu = new TqxSkinPopupMenu(frame);
    AddItem(menu->Items(), u"One");
    menu->Popup(200, 150);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    // Without skin data the opener-passing popup shows nothing; the plain one
    // shows the default look.
    SkinMenu(form)->Hide();
    menu->Popup2(form, 200, 150);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_FALSE(D(form)->InMenu());
    // A form without a component shows nothing.
    auto* bare = new TForm(Application);
    auto* orphan = new TqxSkinPopupMenu(bare);
    AddItem(orphan->Items(), u"One");
    bool popped = false;
    orphan->OnPopup = [&](TObject*) { popped = true; };
    orphan->Popup(10, 10);
    EXPECT_TRUE(popped);
}

TEST_F(MenusTest, APopupThatShowsNothingTellsItsOpenerAtTheNextClose) {
    // The next close is a press on the form, or the next popup, which tells
    // the waiting opener before its own chain opens.
    for (bool byPopup : {false, true}) {
        SCOPED_TRACE(byPopup);
        Log.clear();
        TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
        auto* opener = new TOpener(form, &Log, "opener");
        opener->SetParent(form);
        D(form)->SetSkinData(NewSkinData(FlatSkin()));
        auto* menu = new TqxSkinPopupMenu(form);
        menu->OnMenuClose = [&](TObject*) { Log.push_back("OnMenuClose"); };
        menu->Popup2(opener, 200, 150);
        EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
        EXPECT_FALSE(SkinMenu(form)->Visible());
        EXPECT_TRUE(Log.empty());
        EXPECT_TRUE(D(form)->InMenu());
        if (byPopup) {
            menu->OnMenuClose = nullptr;
            ThreeLevels(form)->Popup(200, 150);
            EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
        } else {
            driver::Click(POINT{300, 300});
            driver::Pump();
            EXPECT_FALSE(D(form)->InMenu());
        }
        EXPECT_EQ(Log, (std::vector<std::string>{"opener closed", "OnMenuClose"}));
        SkinMenu(form)->Hide();
        EXPECT_EQ(Log.size(), 2u);
        delete form;
    }
}

TEST_F(MenusTest, ACaptionButtonsSkinnedPopupMenuOpensItselfUnderTheButton) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    TqxSkinData* own = NewSkinData(FlatSkin());
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->SetSkinData(own);
    menu->OnPopup = [&](TObject*) { Log.push_back("OnPopup"); };
    menu->OnMenuClose = [&](TObject*) { Log.push_back("OnMenuClose"); };
    D(form)->SetSystemMenu(menu);
    TqxActiveSkinObject* button = D(form)->ObjectList[size_t(D(form)->GetIndex(u"sysmenubutton"))].get();
    const TRect r = D(form)->WindowToScreen(button->ObjectRect);
    const POINT centre{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    driver::MouseMove(centre);
    driver::MouseDown(centre);
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_EQ(SkinMenu(form)->SkinData, own);
    EXPECT_EQ(menu->PopupPoint(), r.TopLeft());
    EXPECT_EQ(Bounds(Window(form, 0)).Top, r.Bottom);
    driver::MouseUp(centre);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"OnPopup", "OnMenuClose"}));
}

TEST_F(MenusTest, AnOpenerFreedWhileItsMenuIsOpenIsToldNothing) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    // Without a parent: freeing a child would close the menu by itself.
    auto* opener = new TOpener(nullptr, &Log, "opener");
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup2(opener, 200, 150);
    ASSERT_EQ(SkinMenu(form)->PopupCtrl(), opener);
    delete opener;
    EXPECT_EQ(SkinMenu(form)->PopupCtrl(), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(Log, std::vector<std::string>{"radio"});
}

TEST_F(MenusTest, AControlsOwnMenuIsSkinnedAndItsOpenerHearsTheCommand) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    auto* opener = new TOpener(form, &Log, "edit");
    opener->SetParent(form);
    TPopupMenu* own = MakePopupMenu(form);
    ASSERT_NE(SkinPopupMenuOf(own), nullptr);
    AddItem(own->Items(), u"&Copy", "copy");
    PopupMenuFor(own, opener, 200, 150);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 1);
    PressKey('C');
    EXPECT_EQ(Log, (std::vector<std::string>{"edit closed", "copy", "edit command"}));
}

TEST_F(MenusTest, ARightClickOnAControlShowsItsSkinnedMenu) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* panel = new TOpener(form, &Log, "panel");
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 100);
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    panel->SetPopupMenu(menu);
    const TPoint p = panel->ClientToScreen(Point(50, 50));
    driver::Click(POINT{p.X, p.Y}, 0x02);
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_EQ(Bounds(Window(form, 0)).TopLeft(), p);
}

TEST_F(MenusTest, DefaultLookRowsByState) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* images = new TCustomImageList(16, 16, form);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&red, nullptr);
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->SetImages(images);
    TMenuItem* pictured = AddItem(menu->Items(), u"Pictured");
    pictured->SetImageIndex(0);
    pictured->SetChecked(true);
    menu->Popup(200, 150);
    driver::Pump();
    TqxSkinPopupWindow* window = Window(form, 0);
    const HWND h = window->Handle();
    const auto rowPixel = [&](Integer ARow, Integer X, Integer Y) {
        const TRect r = window->Item(ARow)->ObjectRect;
        return driver::Pixel(h, r.Left + X, r.Top + Y);
    };
    // The header: highlight-coloured text on the shadow colour.
    EXPECT_EQ(rowPixel(0, 1, 1), ColorToRGB(clBtnShadow));
    // The highlighted first row is light blue.
    EXPECT_EQ(rowPixel(1, 1, 1), COLORREF(0xF3D4C1));
    // The separator's line runs at half its height.
    EXPECT_EQ(rowPixel(4, 10, 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(rowPixel(4, 10, 1), ColorToRGB(clWindow));
    // A checked item with an image has a frame around the image, no mark.
    const TRect r = window->Item(7)->ObjectRect;
    const Integer x = 4, y = r.Height() / 2 - 8;
    EXPECT_EQ(rowPixel(7, x - 1, y - 1), ColorToRGB(clWindowText));
    EXPECT_EQ(rowPixel(7, x + 16, y + 16), ColorToRGB(clWindowText));
    EXPECT_EQ(rowPixel(7, x + 8, y + 8), ColorToRGB(clRed));
    // The check mark's bottom point and the radio dot's middle.
    const Integer centre = 20 / 2 - 4;
    EXPECT_EQ(rowPixel(2, 5 + 3, centre + 3), ColorToRGB(clWindowText));
    EXPECT_EQ(rowPixel(6, r.Width() - 2 - 7, 20 / 2 - 4 + 3), ColorToRGB(clWindowText));
}

TEST(MenuGlyphs, TheDefaultLookGlyphsLightTheirPixels) {
    struct TCase {
        const char* Name;
        void (*Draw)(TCanvas*, Integer, Integer, TColor);
        std::vector<TPoint> On;
        std::vector<TPoint> Off;
    };
    const TCase cases[] = {
        {"check", DrawMenuCheckMark, {{0, 5}, {2, 7}, {2, 5}, {6, 3}, {6, 1}}, {{0, 6}, {3, 8}, {7, 2}}},
        {"arrow", DrawMenuArrow, {{0, 0}, {0, 6}, {3, 3}, {1, 5}}, {{0, 7}, {3, 4}, {4, 3}}},
        {"radio", DrawMenuRadioDot, {{1, 1}, {3, 3}, {4, 4}}, {{6, 6}, {6, 3}}},
    };
    for (const TCase& c : cases) {
        TBitmap b;
        b.SetSize(12, 12);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 12, 12));
        c.Draw(b.Canvas(), 0, 0, clBlack);
        for (const TPoint& p : c.On)
            EXPECT_EQ(b.Canvas()->Pixels(p.X, p.Y), clBlack) << c.Name << " " << p.X << "," << p.Y;
        for (const TPoint& p : c.Off)
            EXPECT_EQ(b.Canvas()->Pixels(p.X, p.Y), clWhite) << c.Name << " " << p.X << "," << p.Y;
    }
}

TEST_F(MenusTest, SkinnedRowsDrawTheItemSkinAndTheSkinIsLeftAlone) {
    TForm* form = SkinnedForm(FlatSkin(), Rect(100, 100, 500, 400));
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    driver::Pump();
    TqxSkinPopupWindow* window = Window(form, 0);
    ASSERT_NE(window->PW, nullptr);
    ASSERT_NE(window->DSMI, nullptr);
    const HWND h = window->Handle();
    const auto rowPixel = [&](Integer ARow, Integer X, Integer Y) {
        const TRect r = window->Item(ARow)->ObjectRect;
        return driver::Pixel(h, r.Left + X, r.Top + Y);
    };
    const Integer skinHeight = window->DSMI->SkinRect.Height();
    EXPECT_EQ(window->Item(2)->ObjectRect.Height(), skinHeight);
    EXPECT_EQ(rowPixel(2, 2, skinHeight - 2), ColorToRGB(FlatColor(u"menuitem", u"skinrect", fpLeft)));
    EXPECT_EQ(rowPixel(1, 2, skinHeight - 2), ColorToRGB(FlatColor(u"menuitem", u"activeskinrect", fpLeft)));
    EXPECT_EQ(rowPixel(4, 2, 2), ColorToRGB(FlatColor(u"menuitem", u"dividerrect", fpLeft)));
    // A header is drawn from the "menuheader" element.
    EXPECT_EQ(rowPixel(0, 2, skinHeight / 2), ColorToRGB(FlatColor(u"menuheader", u"skinrect", fpLeft)));
    EXPECT_EQ(window->Left() + window->NewItemsRect.Left, window->Left() + window->PW->ItemsRect.Left);

    // A skin whose item picture is missing draws no item picture but keeps
    // its own rectangles.
    SkinMenu(form)->Hide();
    TqxSkinData* sd = D(form)->SkinData();
    auto* item = dynamic_cast<TqxDataSkinMenuItem*>(sd->ObjectList.Items(sd->GetIndex(u"menuitem")));
    const TRect before = item->SkinRect;
    const Integer index = item->ActivePictureIndex;
    item->ActivePictureIndex = 99;
    menu->Popup(200, 150);
    EXPECT_EQ(item->SkinRect, before);
    EXPECT_TRUE(IsRectDegenerate(Window(form, 0)->Item(1)->SkinRect));
    item->ActivePictureIndex = index;
}

TEST_F(MenusTest, WithoutTheSkinsSizeSkinnedRowsTakeTheDefaultHeight) {
    TForm* form = SkinnedForm(FlatSkin(), Rect(100, 100, 500, 400));
    SkinMenu(form)->SetUseSkinSize(false);
    SkinMenu(form)->SetDefaultMenuItemHeight(30);
    TqxSkinPopupMenu* menu = ThreeLevels(form);
    menu->Popup(200, 150);
    driver::Pump();
    TqxSkinPopupWindow* window = Window(form, 0);
    EXPECT_EQ(window->Item(2)->ObjectRect.Height(), 30);
    // Stretched: the left part keeps its width, the middle fills the rest.
    const TRect r = window->Item(2)->ObjectRect;
    EXPECT_EQ(driver::Pixel(window->Handle(), r.Left + 2, r.Top + 15),
              ColorToRGB(FlatColor(u"menuitem", u"skinrect", fpLeft)));
    EXPECT_EQ(driver::Pixel(window->Handle(), r.Left + r.Width() / 2, r.Top + 2),
              ColorToRGB(FlatColor(u"menuitem", u"skinrect", fpCenter)));
}

TEST_F(MenusTest, AMenuOfInvisibleItemsGetsAnEmptyWindow) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    auto* menu = new TqxSkinPopupMenu(form);
    AddItem(menu->Items(), u"Hidden")->SetVisible(false);
    menu->Popup(200, 150);
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_EQ(Window(form, 0)->Width(), 48);
    EXPECT_EQ(Window(form, 0)->Height(), 4);
}

}  // namespace

namespace {

TEST_F(MenusTest, TheInnerEditsMenuIsSkinnedAndFreedAfterItsCommand) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    auto* edit = new TqxCustomEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 20);
    edit->SetText(u"hello");
    edit->SetFocus();
    edit->SetSelStart(0);
    edit->SetSelLength(0);
    const TPoint p = edit->ClientToScreen(Point(30, 10));
    driver::Click(POINT{p.X, p.Y}, 0x02);
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    ASSERT_NE(dynamic_cast<TqxSkinPopupMenu*>(edit->EditPopupMenu()), nullptr);
    // Only "select all" is enabled: Enter runs it.
    PressKey(VK_RETURN);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_EQ(edit->EditPopupMenu(), nullptr);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
}

TEST_F(MenusTest, AMenuButtonStaysDownWhileItsMenuIsOpen) {
    TForm* form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
    D(form)->SetSkinData(NewSkinData(FlatSkin()));
    auto* button = new TqxSkinMenuButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 25);
    button->SetSkinPopupMenu(ThreeLevels(form));
    button->OnClick = [this](TObject*) { Log.push_back("click"); };
    const TPoint p = button->ClientToScreen(Point(10, 10));
    driver::MouseMove(POINT{p.X, p.Y});
    driver::MouseDown(POINT{p.X, p.Y});
    driver::Pump();
    ASSERT_EQ(SkinMenu(form)->PopupCount(), 1);
    EXPECT_EQ(Bounds(Window(form, 0)).TopLeft(), Point(p.X - 10, p.Y - 10 + 25));
    driver::MouseUp(POINT{p.X, p.Y});
    driver::Pump();
    EXPECT_TRUE(button->Down());
    PressKey(VK_ESCAPE);
    EXPECT_EQ(SkinMenu(form)->PopupCount(), 0);
    EXPECT_FALSE(button->Down());
    EXPECT_TRUE(Log.empty());
}

}  // namespace
