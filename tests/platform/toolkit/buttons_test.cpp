// Buttons, check boxes and radio buttons: default and cancel buttons, how a
// press completes, accelerators, the check states and OnClick, radio groups.
#include "platform/toolkit/buttons.h"

#include "platform/toolkit/edit.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

// A form whose description binds a check box's OnClick.
class TClickForm : public TForm {
public:
    using TForm::TForm;
    void BoxClick(TObject*) { ++Clicks; }
    Integer Clicks = 0;
};

namespace {

const auto Registered = RegisterForm<TClickForm>(u"unused.form").Handler(u"BoxClick", &TClickForm::BoxClick);

using Buttons = ToolkitTest;

template <typename T>
T* Add(TForm* AForm, const String& ACaption, Integer ATop) {
    auto* control = new T(AForm);
    control->SetCaption(ACaption);
    control->SetTop(ATop);
    control->SetParent(AForm);
    control->OnClick = [control](TObject*) { Log.push_back(StringToUTF8(control->Caption())); };
    return control;
}

TEST_F(Buttons, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    TForm* form = NewForm();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    TButton* ok = Add<TButton>(form, u"OK", 30);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    TButton* cancel = Add<TButton>(form, u"Cancel", 60);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    TButton* other = Add<TButton>(form, u"Other", 90);
    edit->SetFocus();
    Pump();
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(form->ModalResult(), mrOk);
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // A focused button takes Enter itself.
    other->SetFocus();
    Pump();
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"OK", "Cancel", "Other"}));
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(Buttons, APressCompletesOnlyWhenReleasedOverTheButton) {
    TForm* form = NewForm();
    TButton* button = Add<TButton>(form, u"&Run", 10);
    Pump();
    driver::MouseDown(At(button, 10, 10));
    driver::MouseMove(At(button, 200, 10));
    driver::MouseUp(At(button, 200, 10));
    Pump();
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(button->Focused());
    driver::Click(At(button, 10, 10));
    driver::Key(VK_SPACE);
    KeyWith({VK_MENU}, 'R');
    Pump();
    EXPECT_EQ(Log.size(), 3u);
    // A disabled button is still clicked by the program, never by the user.
    button->SetEnabled(false);
    driver::Click(At(button, 10, 10));
    Pump();
    button->Click();
    EXPECT_EQ(Log.size(), 4u);
}

TEST_F(Buttons, AClickThatFreesTheButtonsFormEndsCleanly) {
    TForm* form = NewForm();
    TButton* button = Add<TButton>(form, u"Close", 10);
    button->OnClick = [form](TObject*) { delete form; };
    Pump();
    driver::Click(At(button, 10, 10));
    Pump();
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(Buttons, CheckBoxesCycleTheirStatesAndReportEveryChange) {
    TForm* form = NewForm();
    TCheckBox* box = Add<TCheckBox>(form, u"Box", 10);
    Pump();
    const auto ticked = [&] {
        for (Integer y = 0; y < box->Height(); ++y)
            for (Integer x = 0; x < 13; ++x)
                if (PixelOf(box, x, y) == RGB(0, 0, 0)) return true;
        return false;
    };
    EXPECT_FALSE(ticked());
    struct Step {
        bool AllowGrayed;
        TCheckBoxState Expected;
    } steps[] = {
        {false, cbChecked}, {false, cbUnchecked}, {true, cbGrayed}, {true, cbChecked}, {true, cbUnchecked}};
    for (const Step& step : steps) {
        box->SetAllowGrayed(step.AllowGrayed);
        driver::Click(At(box, 5, 8));
        driver::AdvanceTime(1000);
        Pump();
        EXPECT_EQ(box->State(), step.Expected);
        EXPECT_EQ(ticked(), step.Expected == cbChecked);
    }
    box->SetChecked(true);
    EXPECT_EQ(Log.size(), 6u);

    // Read from a description: checked, and no click.
    auto* clickForm = new TClickForm(Application);
    ReadDescriptionText(clickForm, R"(
object ClickForm: TClickForm
  object Box: TCheckBox
    Caption = '选项'
    Checked = True
    OnClick = BoxClick
  end
end
)");
    auto* loaded = dynamic_cast<TCheckBox*>(clickForm->FindComponent(u"Box"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->Checked());
    EXPECT_EQ(clickForm->Clicks, 0);
    loaded->SetChecked(false);
    EXPECT_EQ(clickForm->Clicks, 1);
}

TEST_F(Buttons, RadioButtonsCheckOneOfTheirParentAndTheArrowsMoveIt) {
    TForm* form = NewForm();
    auto* first = Add<TRadioButton>(form, u"1", 10);
    auto* second = Add<TRadioButton>(form, u"2", 30);
    auto* third = Add<TRadioButton>(form, u"3", 50);
    auto* panel = new TCustomControl(form);
    panel->SetControlStyle(panel->ControlStyle() + TControlStyle{csAcceptsControls});
    panel->SetBounds(150, 0, 100, 100);
    panel->SetParent(form);
    auto* elsewhere = new TRadioButton(form);
    elsewhere->SetParent(panel);
    elsewhere->SetChecked(true);
    first->SetChecked(true);
    EXPECT_TRUE(first->TabStop());
    EXPECT_FALSE(second->TabStop());
    Pump();
    driver::Click(At(second, 5, 8));
    Pump();
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(second->TabStop());
    EXPECT_FALSE(first->TabStop());
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_TRUE(third->Focused());
    EXPECT_TRUE(third->Checked());
    EXPECT_FALSE(second->Checked());
    EXPECT_TRUE(elsewhere->Checked());
    EXPECT_EQ(Log, (std::vector<std::string>{"1", "2", "3"}));
}

}  // namespace
