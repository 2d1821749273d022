// The tray icon on the recording notification area: the click machine,
// the menu on a right press, the tray restarting, icon cycling, the record's
// limits, a refused add and the hooks it leaves behind.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/toolkit/edit.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/trayicon.h"

using namespace win;
using namespace skinfixtures;

namespace {

class TrayIconTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FormSkinMenuMaker = MakeSkinMenu;
    }
    TqxTrayIcon* LoggingIcon(TForm* AForm) {
        auto* tray = new TqxTrayIcon(AForm);
        tray->OnClick = [this](TObject*) { Log.push_back("click"); };
        tray->OnDblClick = [this](TObject*) { Log.push_back("double"); };
        tray->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
            Log.push_back("down " + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y));
        };
        tray->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState, Integer, Integer) {
            Log.push_back("up " + std::to_string(B));
        };
        tray->SetIconVisible(true);
        return tray;
    }
    static std::unique_ptr<TCustomImageList> ThreeIcons() {
        auto list = std::make_unique<TCustomImageList>(16, 16);
        for (const TColor color : {clRed, clLime, clBlue}) {
            TBitmap b;
            b.SetSize(16, 16);
            b.Canvas()->Brush()->SetColor(color);
            b.Canvas()->FillRect(Rect(0, 0, 16, 16));
            list->Add(&b, nullptr);
        }
        return list;
    }
    std::vector<std::string> Log;
};

TEST_F(TrayIconTest, ClicksAreToldFromDoubleClicksByTheDoubleClickTime) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    LoggingIcon(form);
    const POINT at{900, 700};
    const UINT wait = GetDoubleClickTime();
    // A quick click: down and up now, the click once the time has passed.
    driver::TrayNotify(WM_LBUTTONDOWN, at);
    driver::TrayNotify(WM_LBUTTONUP, at);
    EXPECT_EQ(Log, (std::vector<std::string>{"down 0 900,700", "up 0"}));
    driver::AdvanceTime(wait);
    EXPECT_EQ(Log.back(), "click");
    // Held past the time: the click comes with the release.
    Log.clear();
    driver::TrayNotify(WM_LBUTTONDOWN, at);
    driver::AdvanceTime(wait + 10);
    EXPECT_EQ(Log.size(), 1u);
    driver::TrayNotify(WM_LBUTTONUP, at);
    EXPECT_EQ(Log, (std::vector<std::string>{"down 0 900,700", "click", "up 0"}));
    // A double click: no click at all.
    Log.clear();
    driver::TrayNotify(WM_LBUTTONDOWN, at);
    driver::TrayNotify(WM_LBUTTONUP, at);
    driver::TrayNotify(WM_LBUTTONDBLCLK, at);
    driver::TrayNotify(WM_LBUTTONUP, at);
    driver::AdvanceTime(wait * 2);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "double"), 1);
}

TEST_F(TrayIconTest, ADoubleClickRunsTheMenusDefaultItemAndARightPressPopsTheMenu) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    TqxTrayIcon* tray = LoggingIcon(form);
    auto* menu = new TqxSkinPopupMenu(form);
    for (const char16_t* caption : {u"Open", u"Settings"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { Log.push_back("item " + StringToUTF8(caption)); };
        menu->Items()->Add(item);
    }
    menu->Items()->Items(1)->SetDefault(true);
    tray->SetPopupMenu(menu);
    driver::TrayNotify(WM_LBUTTONDBLCLK, POINT{900, 700});
    EXPECT_EQ(Log.back(), "item Settings");
    // The menu is up at the pointer before the button is released.
    driver::TrayNotify(WM_RBUTTONDOWN, POINT{900, 700});
    TqxSkinMenu* skinMenu = D(form)->RealSkinMenu();
    ASSERT_EQ(skinMenu->PopupCount(), 1);
    EXPECT_EQ(menu->PopupComponent(), tray);
    EXPECT_EQ(menu->PopupPoint(), Point(900, 700));
    // Disabled: nothing at all.
    skinMenu->Hide();
    Log.clear();
    tray->SetEnabled(false);
    driver::TrayNotify(WM_RBUTTONDOWN, POINT{900, 700});
    driver::TrayNotify(WM_LBUTTONDBLCLK, POINT{900, 700});
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(skinMenu->PopupCount(), 0);
}

TEST_F(TrayIconTest, TheIconComesBackWhenTheTrayRestartsAndARefusedAddAnswersFalse) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    TqxTrayIcon* tray = LoggingIcon(form);
    ASSERT_EQ(driver::TrayIcons().size(), 1u);
    driver::TrayRestarted();
    EXPECT_EQ(driver::TrayIcons().size(), 1u);
    tray->SetIconVisible(false);
    driver::TrayRestarted();
    EXPECT_TRUE(driver::TrayIcons().empty());
    driver::SetTrayAvailable(false);
    EXPECT_FALSE(tray->ShowIcon());
    EXPECT_FALSE(tray->ShowBalloonHint(u"t", u"x", qxbitInfo));
}

TEST_F(TrayIconTest, TheRecordsTextsAreCutToTheirFields) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    TqxTrayIcon* tray = LoggingIcon(form);
    tray->SetHint(String(300, u'h'));
    EXPECT_EQ(driver::TrayIcons()[0].Tip.size(), 127u);
    tray->SetShowHint(false);
    EXPECT_TRUE(driver::TrayIcons()[0].Tip.empty());
    ASSERT_TRUE(tray->ShowBalloonHint(String(100, u't'), String(300, u'b'), qxbitWarning));
    const TTrayIcon shown = driver::TrayIcons()[0];
    EXPECT_EQ(shown.BalloonText.size(), 255u);
    EXPECT_EQ(shown.BalloonTitle.size(), 63u);
    EXPECT_EQ(shown.BalloonFlags, NIIF_WARNING);
    EXPECT_EQ(tray->IconData.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    bool clicked = false;
    tray->OnBalloonHintClick = [&](TObject*) { clicked = true; };
    driver::TrayNotify(NIN_BALLOONUSERCLICK, POINT{900, 700});
    EXPECT_TRUE(clicked);
}

TEST_F(TrayIconTest, CyclingShowsEachIconInTurn) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    TqxTrayIcon* tray = LoggingIcon(form);
    std::unique_ptr<TCustomImageList> icons = ThreeIcons();
    std::vector<Integer> next;
    tray->OnCycle = [&](TObject*, Integer ANext) { next.push_back(ANext); };
    tray->SetIconList(icons.get());
    tray->SetAnimateTimerInterval(100);
    tray->SetCycleIcons(true);
    driver::AdvanceTime(400);
    EXPECT_EQ(next, (std::vector<Integer>{1, 2, 0, 1}));
    tray->SetCycleIcons(false);
    // Past the end: the last image.
    tray->SetIconIndex(7);
    EXPECT_EQ(tray->IconIndex(), 2);
    tray->SetIconIndex(-3);
    EXPECT_EQ(tray->IconIndex(), 0);
    // An empty list keeps index 0 and the icon it had, and cycles nothing.
    TCustomImageList empty(16, 16);
    const HICON before = tray->Icon()->Handle();
    tray->SetIconList(&empty);
    tray->SetIconIndex(3);
    EXPECT_EQ(tray->IconIndex(), 0);
    EXPECT_EQ(tray->Icon()->Handle(), before);
    next.clear();
    tray->SetCycleIcons(true);
    driver::AdvanceTime(300);
    EXPECT_TRUE(next.empty());
    tray->SetIconList(nullptr);
}

TEST_F(TrayIconTest, AMinimizedApplicationGoesIntoTheTray) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    TqxTrayIcon* tray = LoggingIcon(form);
    tray->SetIconVisible(false);
    tray->SetMinimizeToTray(true);
    Application->Minimize();
    driver::Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Tag(), SKINTAG_TRAYRESTORE);
    EXPECT_EQ(driver::TrayIcons().size(), 1u);
    tray->ShowMainForm();
    driver::Pump();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->Tag(), 0);
}

TEST_F(TrayIconTest, UnhookingLeavesALaterHookWorkingAndCallsNothingFreed) {
    TForm* form = NewMainForm(Rect(100, 100, 500, 400));
    auto* tray = new TqxTrayIcon(form);
    const HWND app = Application->Handle();
    const auto ours = reinterpret_cast<WNDPROC>(GetWindowLongW(app, GWL_WNDPROC));
    // Someone hooks the application window after the tray icon.
    Integer seen = 0;
    const WNDPROC later = MakeObjectInstance([&, ours, app](TMessage& AMessage) {
        if (AMessage.Msg == WM_USER + 7) ++seen;
        AMessage.Result = CallWindowProcW(ours, app, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    });
    SetWindowLongW(app, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(later));
    delete tray;
    // The later hook still stands and its chain runs through to the end.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongW(app, GWL_WNDPROC)), later);
    SendMessageW(app, WM_USER + 7, 0, 0);
    SendMessageW(app, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(seen, 1);
    // Without a later hook the old procedure comes back.
    auto* second = new TqxTrayIcon(form);
    const auto installed = reinterpret_cast<WNDPROC>(GetWindowLongW(app, GWL_WNDPROC));
    EXPECT_NE(installed, later);
    delete second;
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongW(app, GWL_WNDPROC)), later);
}

// A main form with a tray icon comes up active, its keys its own: showing
// the application's window for it leaves the activation with the form.
TEST_F(TrayIconTest, TheOwnerComesUpActive) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBoundsRect(Rect(100, 100, 500, 400));
    new TqxDravenfold(form);
    new TqxTrayIcon(form);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    form->SetActiveControl(edit);
    form->Show();
    driver::Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

}  // namespace
