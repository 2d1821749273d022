// Combo boxes: choosing from the dropped list with the mouse and the keys,
// the events of a choice and their absence for the program's changes, the
// list above the field near the bottom of the screen, completion in the
// edit style, and ItemIndex read from a description.
#include "platform/toolkit/combobox.h"

#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class ComboBoxes : public ToolkitTest {
protected:
    TComboBox* NewCombo(TForm* AForm, TComboBoxStyle AStyle) {
        auto* combo = new TComboBox(AForm);
        combo->SetStyle(AStyle);
        combo->SetBounds(10, 10, 120, 0);
        combo->SetParent(AForm);
        for (const char16_t* item : {u"apple", u"banana", u"cherry", u"date", u"elder"})
            combo->Items()->Add(item);
        combo->SetDropDownCount(3);
        combo->OnChange = [](TObject*) { Log.push_back("change"); };
        combo->OnSelect = [](TObject*) { Log.push_back("select"); };
        combo->OnClick = [](TObject*) { Log.push_back("click"); };
        combo->OnDropDown = [](TObject*) { Log.push_back("dropdown"); };
        combo->OnCloseUp = [](TObject*) { Log.push_back("closeup"); };
        return combo;
    }
    // The open list: the topmost window on the screen.
    static RECT ListBounds() { return driver::Inspect(driver::Stacking().front()).Bounds; }
    static std::vector<std::string> Events() { return std::exchange(Log, {}); }
};

TEST_F(ComboBoxes, AChoiceFromTheListRaisesChangeSelectAndClickButTheProgramsChangesNone) {
    TForm* form = NewForm();
    TComboBox* combo = NewCombo(form, csDropDownList);
    Pump();
    // The press opens the list; its release on the field leaves it open.
    driver::Click(At(combo, 20, 5));
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->Focused());
    const RECT list = ListBounds();
    const POINT below = At(combo, 0, combo->Height());
    EXPECT_EQ(list.left, below.x - (combo->Width() - combo->ClientWidth()) / 2);
    EXPECT_EQ(list.top, below.y - (combo->Height() - combo->ClientHeight()) / 2);
    const Integer row = (list.bottom - list.top - 2) / 3;
    driver::MouseMove({list.left + 5, list.top + 1 + 2 * row + 2});
    driver::Click({list.left + 5, list.top + 1 + 2 * row + 2});
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), u"cherry");
    EXPECT_EQ(Events(), (std::vector<std::string>{"dropdown", "change", "select", "click", "closeup"}));

    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(combo->Text(), u"date");
    EXPECT_EQ(Events(), (std::vector<std::string>{"change", "select", "click"}));
    // In the open list the keys move the highlight; Escape keeps the choice.
    KeyWith({VK_MENU}, VK_DOWN);
    driver::Key(VK_UP);
    driver::Key(VK_UP);
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(Events(), (std::vector<std::string>{"dropdown", "closeup"}));
    // Enter takes the highlighted item.
    driver::Key(VK_F4);
    driver::Key(VK_DOWN);
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 4);
    EXPECT_EQ(Events(), (std::vector<std::string>{"dropdown", "change", "select", "click", "closeup"}));

    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), u"apple");
    combo->SetText(u"BANANA");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_TRUE(Events().empty());
}

TEST_F(ComboBoxes, NearTheBottomOfTheWorkAreaTheListOpensAbove) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TForm* form = NewForm(Rect(100, work.bottom - 50, 400, work.bottom));
    TComboBox* combo = NewCombo(form, csDropDownList);
    combo->SetDroppedDown(true);
    Pump();
    const RECT list = ListBounds();
    EXPECT_EQ(list.bottom, At(combo, 0, 0).y - (combo->Height() - combo->ClientHeight()) / 2);
    // A press outside closes it without a choice.
    driver::Click({5, 5});
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboBoxes, TypingInTheEditCompletesFromTheItems) {
    TForm* form = NewForm();
    TComboBox* combo = NewCombo(form, csDropDown);
    combo->SetFocus();
    Pump();
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(combo->Text(), u"banana");
    EXPECT_EQ(combo->SelStart(), 1);
    EXPECT_EQ(combo->SelLength(), 5);
    EXPECT_EQ(combo->ItemIndex(), 1);
    // Typing replaces the completed part and completes again.
    driver::Text(u"a");
    Pump();
    EXPECT_EQ(combo->SelText(), u"nana");
    // Deleting completes nothing.
    driver::Key(VK_BACK);
    Pump();
    EXPECT_EQ(combo->Text(), u"ba");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"change", "change", "change"}));
    // The arrow keys step through the items.
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(combo->Text(), u"apple");
    EXPECT_EQ(combo->SelLength(), 5);
    EXPECT_EQ(Events(), (std::vector<std::string>{"change", "select", "click"}));
    // Tab leaves the combo box for the next control and Shift+Tab comes back.
    auto* next = new TComboBox(form);
    next->SetParent(form);
    next->SetTop(60);
    driver::Key(VK_TAB);
    Pump();
    EXPECT_FALSE(combo->Focused());
    KeyWith({VK_SHIFT}, VK_TAB);
    Pump();
    EXPECT_EQ(form->ActiveControl()->Parent(), combo);
}

TEST_F(ComboBoxes, ADescriptionsItemIndexWaitsForTheItems) {
    TForm* form = NewForm();
    ReadDescriptionText(form, R"(
object Form1: TForm
  object Combo1: TComboBox
    Style = csDropDownList
    ItemIndex = 1
    Items = ( 'Default' 'DDraw' 'GDI' )
    DropDownCount = 12
    OnChange = nil
  end
end
)");
    auto* combo = dynamic_cast<TComboBox*>(form->FindComponent(u"Combo1"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), u"DDraw");
    EXPECT_EQ(combo->DropDownCount(), 12);
}

}  // namespace
