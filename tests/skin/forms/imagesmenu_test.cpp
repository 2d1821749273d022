// The image-grid menu: its layout and size, keys, mouse choices and
// outside clicks, the order of its close events, the application hook it
// restores, and a menu button that opens it and shows its choice.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinmenubutton.h"
#include "skin/forms/imagesmenu.h"

using namespace win;
using namespace skinfixtures;

namespace {

class ImagesMenuTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        driver::SetMonitors({{RECT{0, 0, 1000, 800}, RECT{0, 0, 1000, 760}}});
        Form = NewSkinnedForm(u"Plain", Rect(100, 100, 500, 400));
        Images = new TCustomImageList(16, 16, Form);
        for (TColor colour : {clRed, clLime, clBlue}) {
            TBitmap b;
            b.SetSize(16, 16);
            b.Canvas()->Brush()->SetColor(colour);
            b.Canvas()->FillRect(Rect(0, 0, 16, 16));
            Images->Add(&b, nullptr);
        }
        Menu = new TqxSkinImagesMenu(Form);
        Menu->SetImages(Images);
        Menu->SetColumnsCount(3);
        Menu->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
        Menu->OnItemClick = [this](TObject*) { Log.push_back("itemclick"); };
        Menu->OnChange = [this](TObject*) { Log.push_back("change"); };
    }

    // Items by kind: 'c' cell, 'b' button row, 'h' header.
    void AddItems(const std::string& AKinds) {
        for (char kind : AKinds) {
            TqxImagesMenuItem* item = Menu->ImagesItems()->Add();
            item->SetImageIndex(Menu->ImagesItems()->Count() % 3);
            item->SetButton(kind == 'b');
            item->SetHeader(kind == 'h');
            item->SetCaption(u"Row");
        }
    }
    TqxSkinImagesMenuPopupWindow* Popup() const { return Menu->PopupWindow(); }
    TRect ItemRect(Integer AIndex) const { return Menu->ImagesItems()->Items(AIndex)->ItemRect; }
    // The screen centre of an item.
    POINT ItemCentre(Integer AIndex) const {
        const TRect r = ItemRect(AIndex);
        return POINT{Popup()->Left() + (r.Left + r.Right) / 2, Popup()->Top() + (r.Top + r.Bottom) / 2};
    }
    static void PressKey(BYTE AKey) {
        driver::Key(AKey);
        Application->ProcessMessages();
    }

    TForm* Form = nullptr;
    TCustomImageList* Images = nullptr;
    TqxSkinImagesMenu* Menu = nullptr;
    std::vector<std::string> Log;
};

TEST_F(ImagesMenuTest, SevenCellsInThreeColumns) {
    AddItems("ccccccc");
    Menu->Popup(200, 150);
    driver::Pump();
    ASSERT_TRUE(Popup());
    const std::vector<TRect> expected{Rect(5, 5, 31, 31),  Rect(31, 5, 57, 31),  Rect(57, 5, 83, 31),
                                      Rect(5, 32, 31, 58), Rect(31, 32, 57, 58), Rect(57, 32, 83, 58),
                                      Rect(5, 59, 31, 85)};
    for (Integer i = 0; i < 7; ++i) EXPECT_EQ(ItemRect(i), expected[size_t(i)]) << i;
    const RECT bounds = driver::Inspect(Popup()->Handle()).Bounds;
    EXPECT_EQ(bounds.right - bounds.left, 88);
    EXPECT_EQ(bounds.bottom - bounds.top, 90);
    EXPECT_EQ(bounds.left, 200);
    EXPECT_EQ(bounds.top, 150);
    EXPECT_TRUE(driver::Inspect(Popup()->Handle()).ExStyle & WS_EX_TOOLWINDOW);
}

TEST_F(ImagesMenuTest, HeaderAndButtonRowsBreakARow) {
    AddItems("chcbc");
    Menu->Popup(200, 150);
    driver::Pump();
    EXPECT_EQ(ItemRect(0), Rect(5, 5, 31, 31));
    EXPECT_EQ(ItemRect(1), Rect(5, 32, 83, 58));  // header: the cell height without a "label" element
    EXPECT_EQ(ItemRect(2), Rect(5, 59, 31, 85));
    EXPECT_EQ(ItemRect(3), Rect(5, 86, 83, 112));
    EXPECT_EQ(ItemRect(4), Rect(5, 113, 31, 139));
}

TEST_F(ImagesMenuTest, OpensAboveWhenBelowDoesNotFitAndStaysOnTheWorkArea) {
    AddItems("ccc");
    Menu->PopupFromRect(Rect(980, 740, 1000, 760));
    driver::Pump();
    const RECT bounds = driver::Inspect(Popup()->Handle()).Bounds;
    EXPECT_EQ(bounds.left, 1000 - 88);
    EXPECT_EQ(bounds.top, 740 - 36);
}

TEST_F(ImagesMenuTest, KeysMoveTheHover) {
    // 0 1 2 / 3 4 5 / 6, then the button row 7.
    AddItems("cccccccb");
    struct Case {
        Integer From;
        BYTE Key;
        Integer To;
    };
    const Case cases[] = {
        {-1, VK_DOWN, 0}, {-1, VK_UP, 7}, {-1, VK_RIGHT, 0}, {-1, VK_LEFT, 7}, {1, VK_DOWN, 4},
        {4, VK_UP, 1},    {1, VK_UP, 1},  {6, VK_DOWN, 7},   {7, VK_UP, 6},    {0, VK_LEFT, 7},
        {7, VK_RIGHT, 0}, {2, VK_RIGHT, 3}, {3, VK_LEFT, 2}, {5, VK_DOWN, 7},
    };
    Menu->Popup(200, 150);
    driver::Pump();
    for (const Case& c : cases) {
        Popup()->MouseInItem = c.From;
        PressKey(c.Key);
        ASSERT_TRUE(Popup());
        EXPECT_EQ(Popup()->MouseInItem, c.To) << c.From << " key " << int(c.Key);
    }
}

TEST_F(ImagesMenuTest, ALeadingHeaderIsSkipped) {
    AddItems("hcc");
    Menu->Popup(200, 150);
    driver::Pump();
    PressKey(VK_DOWN);
    EXPECT_EQ(Popup()->MouseInItem, 1);
    PressKey(VK_LEFT);
    EXPECT_EQ(Popup()->MouseInItem, 2);
}

TEST_F(ImagesMenuTest, ClickChoosesAndRaisesTheCloseEventsInOrder) {
    AddItems("ccc");
    Menu->ImagesItems()->Items(2)->OnClick = [this](TObject* Sender) {
        EXPECT_EQ(Sender, Menu);
        Log.push_back("onclick");
    };
    Menu->OnInternalMenuClose = [this](TObject*) { Log.push_back("internalclose"); };
    Menu->OnInternalChange = [this](TObject*) { Log.push_back("internalchange"); };
    Menu->Popup(200, 150);
    driver::Pump();
    driver::MouseMove(ItemCentre(2));
    driver::Click(ItemCentre(2));
    driver::Pump();
    EXPECT_EQ(Menu->ItemIndex(), 2);
    EXPECT_EQ(Menu->SelectedItem(), Menu->ImagesItems()->Items(2));
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"internalclose", "close", "onclick", "itemclick", "internalchange",
                                             "change"}));
    // The same item again is no change.
    Log.clear();
    Menu->Popup(200, 150);
    driver::Pump();
    PressKey(VK_LEFT);
    PressKey(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"internalclose", "close", "onclick", "itemclick"}));
}

TEST_F(ImagesMenuTest, HeaderClickDoesNothingOutsideClickClosesWithoutEvents) {
    AddItems("hcc");
    Menu->SetItemIndex(1);
    Menu->Popup(200, 150);
    driver::Pump();
    driver::Click(ItemCentre(0));
    driver::Pump();
    ASSERT_TRUE(Popup());
    EXPECT_TRUE(Log.empty());
    driver::Click(POINT{600, 600});
    driver::Pump();
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(Menu->ItemIndex(), 1);
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
}

TEST_F(ImagesMenuTest, EnterWithoutHoverEscapeAndEmptyMenus) {
    AddItems("cc");
    Menu->SetItemIndex(1);
    Menu->Popup(200, 150);
    driver::Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "itemclick"}));
    Log.clear();
    Menu->Popup(200, 150);
    driver::Pump();
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    EXPECT_EQ(Menu->ItemIndex(), 1);

    // Without pictures, or with pictures but no items, nothing opens.
    bool popped = false;
    Menu->OnMenuPopup = [&](TObject*) { popped = true; };
    Menu->ImagesItems()->Clear();
    Menu->Popup(200, 150);
    EXPECT_TRUE(popped);
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(Menu->SelectedItem(), nullptr);
}

TEST_F(ImagesMenuTest, FadesInByTensUpToTheAlphaValue) {
    AddItems("cc");
    Menu->AlphaBlend = true;
    Menu->AlphaBlendAnimation = true;
    Menu->AlphaBlendValue = 35;
    Menu->Popup(200, 150);
    driver::Pump();
    const HWND popup = Popup()->Handle();
    EXPECT_EQ(driver::Layered(popup).Alpha, 10);
    driver::AdvanceTime(100);
    EXPECT_EQ(driver::Layered(popup).AlphaHistory, (std::vector<BYTE>{0, 10, 20, 30, 35}));
    Menu->AlphaBlendAnimation = false;
    Menu->Popup(200, 150);
    driver::Pump();
    EXPECT_EQ(driver::Layered(Popup()->Handle()).AlphaHistory, std::vector<BYTE>{35});
}

TEST_F(ImagesMenuTest, ColumnsOutsideOneToFiftyAreIgnored) {
    for (Integer bad : {0, 51, -1}) {
        Menu->SetColumnsCount(bad);
        EXPECT_EQ(Menu->ColumnsCount(), 3);
    }
    Menu->SetColumnsCount(50);
    EXPECT_EQ(Menu->ColumnsCount(), 50);
}

TEST_F(ImagesMenuTest, RestoresTheHookItFoundOnlyWhileItsOwnIsInstalled) {
    AddItems("cc");
    bool earlier = false;
    Application->OnMessage = [&](MSG&, bool&) { earlier = true; };
    Menu->Popup(200, 150);
    driver::Pump();
    PressKey(VK_ESCAPE);
    MSG msg{};
    bool handled = false;
    Application->OnMessage(msg, handled);
    EXPECT_TRUE(earlier);

    // A hook installed over the open popup survives its close.
    Menu->Popup(200, 150);
    driver::Pump();
    bool later = false;
    Application->OnMessage = [&](MSG&, bool&) { later = true; };
    Menu->Hide();
    Application->OnMessage(msg, handled);
    EXPECT_TRUE(later);
    Application->OnMessage = nullptr;
}

TEST_F(ImagesMenuTest, MenuButtonOpensItAndShowsTheChoice) {
    AddItems("ccc");
    auto* button = new TqxSkinMenuButton(Form);
    button->SetParent(Form);
    button->SetBounds(10, 10, 80, 25);
    button->SetSkinImagesMenu(Menu);
    button->SetUseImagesMenuImage(true);
    driver::Pump();
    const TPoint p = button->ClientToScreen(Point(10, 10));
    driver::MouseMove(POINT{p.X, p.Y});
    driver::MouseDown(POINT{p.X, p.Y});
    driver::MouseUp(POINT{p.X, p.Y});
    driver::Pump();
    ASSERT_TRUE(Popup());
    EXPECT_TRUE(button->FMenuTracked);
    const TPoint below = button->ClientToScreen(Point(0, 25));
    EXPECT_EQ(Popup()->Left(), below.X);
    EXPECT_EQ(Popup()->Top(), below.Y);
    driver::MouseMove(ItemCentre(1));
    driver::Click(ItemCentre(1));
    driver::Pump();
    EXPECT_FALSE(button->FMenuTracked);
    EXPECT_EQ(Menu->ItemIndex(), 1);
    // Item 1 holds the blue picture (index 2).
    bool blue = false;
    for (Integer x = 0; x < 80 && !blue; ++x)
        for (Integer y = 0; y < 25 && !blue; ++y) blue = driver::Pixel(button->Handle(), x, y) == COLORREF(clBlue);
    EXPECT_TRUE(blue);
    // Freeing the menu clears the link.
    delete Menu;
    Menu = nullptr;
    EXPECT_EQ(button->SkinImagesMenu(), nullptr);
}

}  // namespace
