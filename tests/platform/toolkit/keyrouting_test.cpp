// Key pre-processing: the application's filter, short cuts, dialog keys and
// characters, accelerators, tab order and the focus notifications.
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class KeyRouting : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        Form = NewForm(Bounds(100, 100, 300, 200));
        Edit = Add<TTestEdit>(u"Edit", 10);
        Ok = Add<TTestButton>(u"Ok", 40);
        Ok->SetCaption(u"&OK");
        Ok->Default = true;
        Ok->ModalResult = mrOk;
        CancelButton = Add<TTestButton>(u"Cancel", 70);
        CancelButton->SetCaption(u"取消(&C)");
        CancelButton->Cancel = true;
        Edit->SetFocus();
        Pump();
        Log.clear();
    }

    template <typename T>
    T* Add(const char16_t* AName, Integer ATop) {
        T* control = new T(Form);
        control->SetName(AName);
        control->SetTop(ATop);
        control->SetParent(Form);
        return control;
    }

    static void Press(BYTE AKey) {
        driver::Key(AKey);
        Pump();
    }

    static void AltPress(BYTE AKey) {
        driver::KeyDown(VK_MENU);
        driver::Key(AKey);
        driver::KeyUp(VK_MENU);
        Pump();
    }

    TForm* Form = nullptr;
    TTestEdit* Edit = nullptr;
    TTestButton* Ok = nullptr;
    TTestButton* CancelButton = nullptr;
};

TEST_F(KeyRouting, EnterAndEscapeReachTheDefaultAndCancelButtonsUnlessTheFocusedControlWantsThem) {
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    EXPECT_EQ(Log, (std::vector<std::string>{"Ok.click", "Cancel.click"}));
    EXPECT_EQ(Edit->Typed, u"");

    Log.clear();
    Edit->WantKeys = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    Press(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.key 13"}));
    EXPECT_EQ(Edit->Typed, u"\r");
}

TEST_F(KeyRouting, AnAcceleratorClicksItsButtonWithAltOrWhenTheFocusTakesNoCharacters) {
    AltPress('O');
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.key 18", "Edit.key 79", "Ok.click"}));
    Log.clear();
    Press('C');
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.key 67", "Cancel.click"}));

    Log.clear();
    Edit->WantKeys = DLGC_WANTCHARS;
    Press('C');
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.key 67"}));
    EXPECT_EQ(Edit->Typed, u"c");
}

TEST_F(KeyRouting, TabMovesTheFocusInTabOrderPastHiddenAndDisabledControls) {
    auto* hidden = Add<TTestButton>(u"Hidden", 100);
    auto* disabled = Add<TTestButton>(u"Disabled", 130);
    auto* last = Add<TTestButton>(u"Last", 160);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    // Tab order: Edit, Cancel, Hidden, Disabled, Ok, Last.
    Ok->SetTabOrder(4);
    ASSERT_EQ(CancelButton->TabOrder(), 1);

    std::vector<TWinControl*> visited;
    for (int i = 0; i < 5; ++i) {
        Press(VK_TAB);
        visited.push_back(Form->ActiveControl());
    }
    EXPECT_EQ(visited, (std::vector<TWinControl*>{CancelButton, Ok, last, Edit, CancelButton}));

    driver::KeyDown(VK_SHIFT);
    Press(VK_TAB);
    driver::KeyUp(VK_SHIFT);
    EXPECT_EQ(Form->ActiveControl(), Edit);
    EXPECT_TRUE(Edit->Focused());

    // A control that claims Tab keeps it.
    Edit->WantKeys = DLGC_WANTTAB;
    Press(VK_TAB);
    EXPECT_EQ(Form->ActiveControl(), Edit);
}

TEST_F(KeyRouting, FocusChangesRunExitEnterAndTellEveryControlTheNewFocus) {
    std::vector<TControl*> told;
    auto* graphic = new TTestGraphic(Form);
    graphic->SetParent(Form);
    const TWndMethod old = graphic->WindowProc();
    graphic->SetWindowProc([&](TMessage& AMessage) {
        if (AMessage.Msg == CM_FOCUSCHANGED) told.push_back(reinterpret_cast<TControl*>(AMessage.LParam));
        old(AMessage);
    });
    Integer exits = 0;
    Edit->OnExit = [&](TObject*) { ++exits; };

    Ok->SetFocus();
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.exit", "Ok.enter"}));
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(told, (std::vector<TControl*>{Ok}));
    EXPECT_EQ(Screen->ActiveControl(), Ok);
    EXPECT_EQ(Screen->ActiveCustomForm(), Form);
    graphic->SetWindowProc(old);
}

TEST_F(KeyRouting, ShortCutsGoToTheFormFirstThenItsMainMenu) {
    auto* menu = new TMainMenu(Form);
    auto* help = new TMenuItem(Form);
    help->SetShortCut(ShortCut(VK_F1, {}));
    help->OnClick = [](TObject*) { Log.push_back("help"); };
    auto* save = new TMenuItem(Form);
    save->SetShortCut(TextToShortCut(u"Ctrl+S"));
    save->OnClick = [](TObject*) { Log.push_back("save"); };
    menu->Items()->Add(help);
    menu->Items()->Add(save);
    Form->SetMenu(menu);
    Form->OnShortCut = [](TWMKey& AMsg, bool& AHandled) {
        if (AMsg.CharCode != VK_F1) return;
        Log.push_back("form F1");
        AHandled = true;
    };

    Press(VK_F1);
    driver::KeyDown(VK_CONTROL);
    Press('S');
    driver::KeyUp(VK_CONTROL);
    EXPECT_EQ(Log, (std::vector<std::string>{"form F1", "Edit.key 17", "save"}));
    EXPECT_EQ(Edit->Typed, u"");
}

TEST_F(KeyRouting, KeyPreviewLetsTheFormTakeKeysFirst) {
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [](TObject*, Word& AKey, TShiftState) {
        Log.push_back("form " + std::to_string(AKey));
        if (AKey == 'X') AKey = 0;
    };
    Press('X');
    Press('Y');
    EXPECT_EQ(Log, (std::vector<std::string>{"form 88", "form 89", "Edit.key 89"}));
}

TEST_F(KeyRouting, TheApplicationFilterSeesEveryMessageAndCanDropIt) {
    Edit->WantKeys = DLGC_WANTCHARS;
    Application->OnMessage = [](MSG& AMsg, bool& AHandled) {
        if (AMsg.message == WM_KEYDOWN && AMsg.wParam == 'Q') {
            AMsg.message = 0;
            AHandled = true;
        }
    };
    Press('Q');
    Press('W');
    EXPECT_EQ(Log, (std::vector<std::string>{"Edit.key 87"}));
    EXPECT_EQ(Edit->Typed, u"w");
}

TEST_F(KeyRouting, AltAloneOpensTheMenuModeOfTheForm) {
    std::vector<WPARAM> commands;
    const TWndMethod old = Form->WindowProc();
    Form->SetWindowProc([&](TMessage& AMessage) {
        if (AMessage.Msg == WM_SYSCOMMAND) commands.push_back(AMessage.WParam);
        old(AMessage);
    });
    driver::Key(VK_MENU);
    Pump();
    EXPECT_EQ(commands, (std::vector<WPARAM>{SC_KEYMENU}));
    Form->SetWindowProc(old);
}

}  // namespace
