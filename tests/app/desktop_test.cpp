// The program's windows as a desktop sees them: dialogs and boxes kept
// above the window they opened over and given the keyboard, the dialog
// keys, F10, the wheel on the pickers and the program's icon.
#include <gtest/gtest.h>

#include <functional>

#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "programfixture.h"
#include "skin/controls/qxpopuplistbox.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "skin/forms/dravenfold.h"

using namespace win;

namespace {

POINT At(TControl* AControl, Integer X, Integer Y) {
    const TPoint p = AControl->ClientToScreen(TPoint{X, Y});
    return POINT{p.X, p.Y};
}

// Runs AInside once, as soon as AForm is the active form of a modal run;
// the run must end by itself then (ended tells whether it did, and a form
// left open is cancelled).
class Desktop : public Program {
protected:
    void WhileActive(TCustomForm* AForm, std::function<void()> AInside) {
        FInside = std::move(AInside);
        Application->OnIdle = [this, AForm](TObject*, bool&) {
            if (!FInside || Screen->ActiveCustomForm() != AForm) return;
            const std::function<void()> inside = std::exchange(FInside, nullptr);
            inside();
            Application->ProcessMessages();
            Ended = AForm->ModalResult() != mrNone;
            if (!Ended) AForm->SetModalResult(mrCancel);
        };
    }
    void TearDown() override {
        if (Application) Application->OnIdle = nullptr;
        Program::TearDown();
    }
    bool Ended = false;

private:
    std::function<void()> FInside;
};

// Escape clicks each dialog's cancel button; the about box also closes on
// Enter wherever its focus is.
TEST_F(Desktop, TheDialogKeysEndTheProgramsDialogs) {
    Start();
    struct Case {
        const char* Name;
        std::function<void()> Open;
        TCustomForm* Form;
        BYTE Key;
    } cases[] = {
        {"options, Escape", [] { Form1->qxSkinButton19Click(nullptr); }, Form5, VK_ESCAPE},
        {"presets, Escape", [] { Form1->qxSkinButton24Click(nullptr); }, Form7, VK_ESCAPE},
        {"about, Escape", [] { Form1->N5Click(nullptr); }, Form2, VK_ESCAPE},
        {"about, Enter", [] { Form1->N5Click(nullptr); }, Form2, VK_RETURN},
    };
    for (const Case& c : cases) {
        Ended = false;
        WhileActive(c.Form, [&] { driver::Key(c.Key); });
        c.Open();
        EXPECT_TRUE(Ended) << c.Name;
        EXPECT_FALSE(c.Form->Visible()) << c.Name;
    }
    // Escape in the options dialog saved nothing.
    Form5->qxSkinCheckRadioBox11->SetChecked(true);
    WhileActive(Form5, [] { driver::Key(VK_ESCAPE); });
    Form1->qxSkinButton19Click(nullptr);
    EXPECT_EQ(Option(u"Options", u"Thread_Priority"), u"3");
}

// The options dialog is kept above the main window, which a window manager
// may activate and raise: the dialog keeps the activation, and a click the
// display gives the dialog's "取消" reaches it whatever the layer's order.
TEST_F(Desktop, AModalDialogStaysAboveTheMainWindowAndItsButtonsWork) {
    Start();
    WhileActive(Form5, [] {
        const HWND dialog = Form5->Handle(), main = Form1->Handle();
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
        EXPECT_TRUE(driver::DisplayState(dialog).Modal);
        EXPECT_EQ(driver::Stacking().front(), dialog);

        driver::WindowManagerFocus(main);
        EXPECT_EQ(GetActiveWindow(), dialog);
        EXPECT_EQ(driver::DisplayFocus(), dialog);
        driver::ClickIn(main, At(Form1, 10, 200));
        driver::Pump();
        EXPECT_EQ(GetActiveWindow(), dialog);

        driver::WindowManagerStacks({main, dialog});
        auto* cancel = static_cast<TqxSkinButton*>(Form5->FindComponent(u"qxSkinButton1"));
        driver::ClickIn(dialog, At(cancel, 10, 10));
    });
    Form1->qxSkinButton19Click(nullptr);
    EXPECT_TRUE(Ended);
    EXPECT_EQ(GetWindow(Form5->Handle(), GW_OWNER), Application->Handle());
}

// The notice of a folder without media opens on top of the main window,
// active, with the keyboard: Return dismisses it.
TEST_F(Desktop, TheNoMediaNoticeOpensOnTopAndReturnDismissesIt) {
    Start();
    fs::create_directory(FRoot / "empty");
    // The notice is freed once it closes.
    String notice;
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* form = Screen->ActiveCustomForm();
        if (!notice.empty() || !form || form == Form1) return;
        notice = form->Caption();
        EXPECT_EQ(driver::Stacking().front(), form->Handle());
        EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Form1->Handle());
        EXPECT_EQ(driver::DisplayFocus(), form->Handle());
        EXPECT_TRUE(IsChild(form->Handle(), GetFocus()) || GetFocus() == form->Handle());
        driver::Key(VK_RETURN);
        driver::Pump();
        EXPECT_NE(form->ModalResult(), mrNone);
        if (form->ModalResult() == mrNone) form->SetModalResult(mrCancel);
    };
    Form1->AddFolder(UTF8ToString((FRoot / "empty").string()));
    EXPECT_EQ(notice, u"提示");
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());
}

// F10 opens the main window's menu bar as Alt does.
TEST_F(Desktop, F10OpensTheMenuBar) {
    Start();
    TqxDravenfold* frame = FindDravenfold(Form1);
    ASSERT_NE(frame, nullptr);
    driver::Key(VK_F10);
    Application->ProcessMessages();
    EXPECT_TRUE(frame->InMainMenu());
    driver::Key(VK_ESCAPE);
    Application->ProcessMessages();
    EXPECT_FALSE(frame->InMainMenu());
}

// The wheel over an open category or format drop-down moves its row and
// leaves the chosen one; on a focused closed combo box it chooses.
TEST_F(Desktop, TheWheelReachesThePickers) {
    Start();
    for (TqxSkinOfficeComboBox* combo : {Form1->qxSkinOfficeComboBox2, Form1->qxSkinOfficeComboBox1}) {
        const Integer chosen = combo->ItemIndex();
        driver::Click(At(combo, 40, 20));
        driver::Pump();
        ASSERT_TRUE(combo->IsPopupVisible()) << StringToUTF8(combo->Name());
        TqxPopupOfficeListBox* list = combo->ListBox();
        driver::MouseMove(At(list, 40, 100));
        driver::Pump();
        const Integer hovered = list->ItemIndex();
        driver::Wheel(At(list, 40, 100), WHEEL_DELTA);
        driver::Pump();
        EXPECT_NE(list->ItemIndex(), hovered) << StringToUTF8(combo->Name());
        EXPECT_EQ(combo->ShownItemIndex(), chosen) << StringToUTF8(combo->Name());
        driver::Key(VK_ESCAPE);
        Application->ProcessMessages();
        EXPECT_EQ(combo->ItemIndex(), chosen) << StringToUTF8(combo->Name());
    }
    WhileActive(Form5, [] {
        TqxSkinComboBox* count = Form5->qxSkinComboBox2;
        count->SetFocus();
        driver::Wheel(At(count, 10, 10), -WHEEL_DELTA);
        Application->ProcessMessages();
        EXPECT_EQ(count->ItemIndex(), 1);
        // An open list: only its highlight moves.
        driver::Click(At(count, 10, 10));
        Application->ProcessMessages();
        ASSERT_TRUE(count->IsPopupVisible());
        const Integer row = count->ListBox()->ItemIndex();
        driver::Wheel(At(count->ListBox(), 10, 10), -WHEEL_DELTA);
        Application->ProcessMessages();
        EXPECT_EQ(count->ListBox()->ItemIndex(), row + 1);
        EXPECT_EQ(count->Text(), u"2");
        driver::Key(VK_ESCAPE);
    });
    Form1->qxSkinButton19Click(nullptr);
}

// Every window of the program shows the program's icon.
TEST_F(Desktop, TheWindowsCarryTheProgramIcon) {
    Start();
    ASSERT_FALSE(Application->Icon()->Empty());
    EXPECT_EQ(Application->Icon()->Width(), 48);
    for (TCustomForm* form : {static_cast<TCustomForm*>(Form1), static_cast<TCustomForm*>(Form5),
                              static_cast<TCustomForm*>(Form7)})
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0)),
                  Application->Icon()->Handle())
            << StringToUTF8(form->Name());
}

}  // namespace
