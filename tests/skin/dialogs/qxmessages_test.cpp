// The skinned message box: its buttons, keys, layout, texts and check box,
// and the message component's runs, positions and skin references.
#include <gtest/gtest.h>

#include <functional>

#include "platform/toolkit/image.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/core/qxresstrs.h"
#include "skin/dialogs/qxskinmessage.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/dravenfold.h"
#include "skinfixtures.h"
#include "skinforms.h"

using namespace skinfixtures;
namespace driver = win::driver;

namespace {

class Messages : public SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        FSkin = new TqxSkinData(Application);
        FMessage = new TqxSkinMessage(Application);
    }

    // Runs AStep on each idle turn while a message box is the active form;
    // the step returns true when it has done its part.
    void WhileShown(std::function<bool(TqxMessageForm*)> AStep) {
        Application->OnIdle = [AStep, done = false](TObject*, bool&) mutable {
            auto* box = dynamic_cast<TqxMessageForm*>(Screen->ActiveCustomForm());
            if (!box || done) return;
            done = AStep(box);
        };
    }
    // Presses AKey once the box shows and lets it act; then AThen, when given.
    void PressWhenShown(win::BYTE AKey, std::function<void(TqxMessageForm*)> AThen = {}) {
        WhileShown([AKey, AThen](TqxMessageForm* ABox) {
            driver::Key(AKey);
            // Through the application's loop: its key pre-processing makes dialog keys.
            Application->ProcessMessages();
            if (AThen) AThen(ABox);
            return true;
        });
    }

    static TqxSkinButton* Button(TForm* AForm, const String& AName) {
        return dynamic_cast<TqxSkinButton*>(AForm->FindComponent(AName));
    }

    void LoadTexts(std::initializer_list<const char16_t*> ALines) {
        FTexts = new TqxResourceStrData(Application);
        FTexts->ResStrings()->Clear();
        for (const char16_t* line : ALines)
            FTexts->ResStrings()->Add(line);
        FSkin->SetResourceStrData(FTexts);
    }

    TqxSkinData* FSkin = nullptr;
    TqxSkinMessage* FMessage = nullptr;
    TqxResourceStrData* FTexts = nullptr;
};

TEST_F(Messages, EachButtonSetHasItsDefaultAndCancelButtonAndKeys) {
    struct TCase {
        TMsgDlgButtons Buttons;
        const char16_t* Default;
        const char16_t* Cancel;
        Integer Enter;
        Integer Esc;
    };
    const TCase cases[] = {
        {{mbOK}, u"OK", u"OK", mrOk, mrOk},
        {{mbYes, mbNo}, u"Yes", u"No", mrYes, mrNo},
        {{mbOK, mbCancel}, u"OK", u"Cancel", mrOk, mrCancel},
        // The first button has the focus, and Enter clicks the focused button.
        {{mbAbort, mbRetry, mbIgnore}, u"Retry", nullptr, mrAbort, mrNone},
    };
    for (const TCase& c : cases) {
        std::unique_ptr<TqxMessageForm> form(BuildMessageForm(u"问题", mtConfirmation, c.Buttons, {}));
        Integer defaults = 0, cancels = 0;
        for (Integer i = 0; i < form->ComponentCount(); ++i)
            if (auto* button = dynamic_cast<TqxSkinButton*>(form->Components(i))) {
                defaults += button->Default();
                cancels += button->Cancel();
                EXPECT_EQ(button->Default(), button->Name() == c.Default) << StringToUTF8(button->Name());
                EXPECT_EQ(button->Cancel(), c.Cancel && button->Name() == c.Cancel)
                    << StringToUTF8(button->Name());
            }
        EXPECT_EQ(defaults, 1);
        EXPECT_EQ(cancels, c.Cancel ? 1 : 0);

        PressWhenShown(win::VK_RETURN);
        EXPECT_EQ(FMessage->MessageDlg(u"问题", mtConfirmation, c.Buttons, 0), c.Enter);
        if (c.Esc != mrNone) {
            PressWhenShown(win::VK_ESCAPE);
            EXPECT_EQ(FMessage->MessageDlg(u"问题", mtConfirmation, c.Buttons, 0), c.Esc);
        } else {
            // Esc does nothing: the box is still open to take a click.
            PressWhenShown(win::VK_ESCAPE, [](TqxMessageForm* ABox) {
                EXPECT_TRUE(ABox->Visible());
                Button(ABox, u"Abort")->ButtonClick();
            });
            EXPECT_EQ(FMessage->MessageDlg(u"问题", mtConfirmation, c.Buttons, 0), mrAbort);
        }
    }
}

TEST_F(Messages, TheBoxIsLaidOutAroundTheMessage) {
    // A short message: the three buttons decide the width.
    std::unique_ptr<TqxMessageForm> narrow(
        BuildMessageForm(u"好", mtWarning, {mbAbort, mbRetry, mbIgnore}, {}));
    const Integer labelHeight = narrow->Message->Height();
    EXPECT_EQ(narrow->Message->Left(), 50);
    EXPECT_EQ(narrow->Message->Top(), 15);
    EXPECT_LT(50 + narrow->Message->Width(), 230);
    EXPECT_EQ(narrow->ClientWidth(), 270);
    EXPECT_EQ(narrow->ClientHeight(), 25 + labelHeight + 50);
    const Integer xs[] = {20, 100, 180};
    const char16_t* names[] = {u"Abort", u"Retry", u"Ignore"};
    for (Integer i = 0; i < 3; ++i) {
        TqxSkinButton* b = Button(narrow.get(), names[i]);
        EXPECT_EQ(b->BoundsRect(), Bounds(xs[i], narrow->ClientHeight() - 35, 70, 25)) << i;
    }
    // A one-line label is low: the stock icon keeps to top 10.
    auto* image = dynamic_cast<TImage*>(narrow->FindComponent(u"Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_LE(labelHeight, 23);
    EXPECT_EQ(image->BoundsRect(), Bounds(5, 10, 32, 32));
    EXPECT_FALSE(image->Picture()->Graphic() == nullptr);

    // A long message decides the width; the row is centred under it.
    const String text(60, u'字');
    std::unique_ptr<TqxMessageForm> wide(BuildMessageForm(text, mtWarning, {mbOK, mbCancel}, {}));
    const Integer right = 50 + wide->Message->Width();
    EXPECT_GT(right, 150);
    EXPECT_EQ(wide->ClientWidth(), right + 40);
    EXPECT_EQ(Button(wide.get(), u"OK")->Left(), (right + 40 - 150) / 2);
    EXPECT_EQ(Button(wide.get(), u"Cancel")->Left(), (right + 40 - 150) / 2 + 80);

    // No buttons: the row's height still counts.
    std::unique_ptr<TqxMessageForm> none(BuildMessageForm(u"好好好好好好好", mtCustom, {}, {}));
    EXPECT_EQ(none->ClientHeight(), 25 + labelHeight + 50);
    EXPECT_EQ(none->ClientWidth(), 50 + none->Message->Width() + 40);
}

TEST_F(Messages, ASkinButtonElementSetsTheButtonHeight) {
    TFixtureSkin skin = ProjectSkin(u"default");
    SetValue(skin, u"button", u"skinrect", u"0,0,64,30");
    LoadFixture(FSkin, skin);
    // The frame stays plain: the skin's minimum form height would raise the client.
    TqxMessageFormStyle style;
    style.CtrlSkinData = FSkin;
    std::unique_ptr<TqxMessageForm> plain(BuildMessageForm(u"好", mtError, {mbOK}, style));
    const Integer labelHeight = plain->Message->Height();
    EXPECT_EQ(plain->ClientHeight(), labelHeight + 80);
    EXPECT_EQ(Button(plain.get(), u"OK")->Height(), 30);
    EXPECT_EQ(Button(plain.get(), u"OK")->Top(), plain->ClientHeight() - 40);

    style.ShowAgainFlag = true;
    std::unique_ptr<TqxMessageForm> checked(BuildMessageForm(u"好", mtError, {mbOK}, style));
    EXPECT_EQ(checked->ClientHeight(), checked->Message->Height() + 120);
    ASSERT_NE(checked->DisplayCheckBox, nullptr);
    EXPECT_EQ(checked->DisplayCheckBox->Top(), checked->ClientHeight() - 30 - 50);
    EXPECT_EQ(checked->DisplayCheckBox->Left(), 5);
    EXPECT_GE(checked->ClientWidth(), checked->DisplayCheckBox->Width() + 5);
}

// A box has no caption buttons, the skin's close button included.
TEST_F(Messages, TheBoxShowsNoCaptionButtonsWhateverTheSkinHas) {
    LoadFixture(FSkin, ProjectSkin(u"default"));
    TqxMessageFormStyle style;
    style.SkinData = style.CtrlSkinData = FSkin;
    std::unique_ptr<TqxMessageForm> box(BuildMessageForm(u"好", mtInformation, {mbOK}, style));
    Integer buttons = 0;
    for (const auto& object : box->QXD->ObjectList)
        if (dynamic_cast<TqxSkinStdButtonObject*>(object.get())) {
            ++buttons;
            EXPECT_FALSE(object->Visible) << StringToUTF8(object->IDName);
            EXPECT_FALSE(object->Enabled) << StringToUTF8(object->IDName);
        }
    EXPECT_GT(buttons, 0) << "the skin has caption buttons to hide";
}

TEST_F(Messages, TextsComeFromTheSkinsTableWithoutFallingBack) {
    struct TCase {
        TMsgDlgBtn Button;
        const char16_t* Plain;
        const char16_t* Translated;
    };
    const TCase cases[] = {{mbClose, u"Close", u"关闭"}, {mbYes, u"&Yes", u"是(&Y)"}, {mbOK, u"OK", u""}};
    for (const TCase& c : cases)
        EXPECT_EQ(GetMessageButtonCaption(c.Button, nullptr), c.Plain);
    EXPECT_EQ(GetMessageCaption(mtConfirmation, nullptr), u"Confirm");
    LoadTexts({u"MSG_BTN_CLOSE=关闭", u"MSG_BTN_YES=是(&Y)", u"MSG_CAP_WARNING=警告"});
    for (const TCase& c : cases)
        EXPECT_EQ(GetMessageButtonCaption(c.Button, FSkin), c.Translated);
    EXPECT_EQ(GetMessageCaption(mtWarning, FSkin), u"警告");

    // A box over that table: the caption by type, an empty OK caption, the
    // built-in check box text for the missing key, Close's result 11.
    TqxMessageFormStyle style;
    style.CtrlSkinData = FSkin;
    style.ShowAgainFlag = true;
    std::unique_ptr<TqxMessageForm> form(BuildMessageForm(u"覆盖?", mtWarning, {mbOK, mbClose}, style));
    EXPECT_EQ(form->Caption(), u"警告");
    EXPECT_EQ(Button(form.get(), u"OK")->Caption(), u"");
    EXPECT_EQ(Button(form.get(), u"Close")->Caption(), u"关闭");
    EXPECT_EQ(Button(form.get(), u"Close")->ModalResult(), mrClose);
    EXPECT_EQ(form->DisplayCheckBox->Caption(), u"Do not display this message again");

    Application->SetTitle(u"转换器");
    std::unique_ptr<TqxMessageForm> custom(BuildMessageForm(u"好", mtCustom, {mbOK}, style));
    EXPECT_EQ(custom->Caption(), u"转换器");
    auto* image = dynamic_cast<TImage*>(custom->FindComponent(u"Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Left(), 5);
    EXPECT_TRUE(image->Picture()->Graphic() == nullptr);
    EXPECT_EQ(custom->Message->Left(), 50);
    // The wide builder never shows the check box.
    std::unique_ptr<TqxMessageForm> wide(BuildWideMessageForm(u"好", mtError, {mbOK}, style));
    EXPECT_EQ(wide->DisplayCheckBox, nullptr);
}

TEST_F(Messages, AChosenDefaultButtonIsActiveAndOneOutsideTheSetMarksNone) {
    std::unique_ptr<TqxMessageForm> chosen(BuildMessageForm(u"好", mtConfirmation, {mbYes, mbNo}, {}, mbNo));
    EXPECT_TRUE(Button(chosen.get(), u"No")->Default());
    EXPECT_FALSE(Button(chosen.get(), u"Yes")->Default());
    EXPECT_EQ(chosen->ActiveControl(), Button(chosen.get(), u"No"));
    std::unique_ptr<TqxMessageForm> outside(BuildMessageForm(u"好", mtConfirmation, {mbYes, mbNo}, {}, mbOK));
    EXPECT_FALSE(Button(outside.get(), u"Yes")->Default());
    EXPECT_FALSE(Button(outside.get(), u"No")->Default());
    EXPECT_EQ(outside->ActiveControl(), nullptr);
}

TEST_F(Messages, TheShowAgainStateFollowsTheCheckBox) {
    struct TCase {
        bool Before;
        bool Toggle;
        bool StartsChecked;
        bool After;
    };
    const TCase cases[] = {
        {false, false, true, false}, {true, true, false, false}, {false, true, true, true}};
    FMessage->SetShowAgainFlag(true);
    for (const TCase& c : cases) {
        FMessage->SetShowAgainFlagValue(c.Before);
        bool started = false;
        WhileShown([&](TqxMessageForm* ABox) {
            started = ABox->DisplayCheckBox->Checked();
            if (c.Toggle) ABox->DisplayCheckBox->SetChecked(!ABox->DisplayCheckBox->Checked());
            ABox->SetModalResult(mrOk);
            return true;
        });
        EXPECT_EQ(FMessage->MessageDlg(u"好", mtInformation, {mbOK}, 0), mrOk);
        EXPECT_EQ(started, c.StartsChecked);
        EXPECT_EQ(FMessage->ShowAgainFlagValue(), c.After);
    }
    // The wide call has no check box and leaves the state alone.
    FMessage->SetShowAgainFlagValue(true);
    // Read while the box lives: it is freed when the call returns.
    bool checkBox = true;
    PressWhenShown(win::VK_RETURN,
                   [&](TqxMessageForm* ABox) { checkBox = ABox->DisplayCheckBox != nullptr; });
    EXPECT_EQ(FMessage->WideMessageDlg(u"好", mtInformation, {mbOK}, 0), mrOk);
    EXPECT_FALSE(checkBox);
    EXPECT_TRUE(FMessage->ShowAgainFlagValue());
}

TEST_F(Messages, TheMainWindowsPromptAndThePlainComponent) {
    LoadFixture(FSkin, ProjectSkin(u"default"));
    FMessage->SetSkinData(FSkin);
    FMessage->SetCtrlSkinData(FSkin);
    String caption;
    bool isDefault = false, isCancel = false;
    WhileShown([&](TqxMessageForm* ABox) {
        caption = ABox->Caption();
        isDefault = Button(ABox, u"OK")->Default();
        isCancel = Button(ABox, u"OK")->Cancel();
        driver::Key(win::VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(FMessage->MessageDlg2(u"请先添加文件", u"提示", mtInformation, {mbOK}, 0), mrOk);
    EXPECT_EQ(caption, u"提示");
    EXPECT_TRUE(isDefault && isCancel);

    // A fresh component: plain texts, centred on the screen.
    auto* plain = new TqxSkinMessage(Application);
    EXPECT_EQ(plain->DefaultFont()->Name(), u"Tahoma");
    EXPECT_EQ(plain->DefaultButtonFont()->Height(), 13);
    EXPECT_EQ(plain->AlphaBlendValue(), 200);
    String yes, no;
    TPosition position = poDesigned;
    PressWhenShown(win::VK_RETURN);
    WhileShown([&](TqxMessageForm* ABox) {
        caption = ABox->Caption();
        yes = Button(ABox, u"Yes")->Caption();
        no = Button(ABox, u"No")->Caption();
        position = ABox->Position();
        driver::Key(win::VK_RETURN);
        return true;
    });
    EXPECT_EQ(plain->MessageDlg(u"继续?", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
    EXPECT_EQ(caption, u"Confirm");
    EXPECT_EQ(yes, u"&Yes");
    EXPECT_EQ(no, u"&No");
    EXPECT_EQ(position, poScreenCenter);
}

TEST_F(Messages, PositionedBoxesAndTheShowPositionHandler) {
    TPoint at, size;
    // Read while the box lives: it is freed when the call returns.
    auto record = [&](TqxMessageForm* ABox) {
        at = Point(ABox->Left(), ABox->Top());
        size = Point(ABox->Width(), ABox->Height());
        ABox->SetModalResult(mrOk);
        return true;
    };
    WhileShown(record);
    FMessage->MessageDlgPos(u"好", mtInformation, {mbOK}, 0, 100, 200);
    EXPECT_EQ(at, Point(100, 200));

    Integer calls = 0, width = 0, height = 0;
    FMessage->OnSetShowPos = [&](Integer& AX, Integer&, Integer AWidth, Integer AHeight) {
        ++calls;
        AX += 10;
        width = AWidth;
        height = AHeight;
    };
    WhileShown(record);
    FMessage->CustomMessageDlgPos(u"好", u"标题", nullptr, 0, {mbOK}, 0, 100, 200);
    EXPECT_EQ(at, Point(110, 200));
    EXPECT_EQ(size, Point(width, height));
    EXPECT_EQ(calls, 1);
    WhileShown(record);
    FMessage->WideMessageDlgPos(u"好", mtInformation, {mbOK}, 0, 100, 200);
    WhileShown(record);
    FMessage->MessageDlg(u"好", mtInformation, {mbOK}, 0);
    EXPECT_EQ(calls, 1);
}

TEST_F(Messages, HelpOpensTheHelpFileAndKeepsTheBoxOpen) {
    WhileShown([](TqxMessageForm* ABox) {
        Button(ABox, u"Help")->ButtonClick();
        Application->ProcessMessages();
        EXPECT_TRUE(ABox->Visible());
        EXPECT_EQ(ABox->HelpContext(), 7);
        Button(ABox, u"OK")->ButtonClick();
        return true;
    });
    EXPECT_EQ(FMessage->MessageDlgHelp(u"好", mtInformation, {mbOK, mbHelp}, 7, u"/tmp/help.chm"), mrOk);
    ASSERT_EQ(driver::ShellOpens().size(), 1u);
    EXPECT_EQ(driver::ShellOpens()[0].Target, u"/tmp/help.chm");
}

TEST_F(Messages, ARemovedSkinDataIsForgottenAndLaterBoxesArePlain) {
    LoadTexts({u"MSG_CAP_INFORMATION=信息"});
    FMessage->SetSkinData(FSkin);
    FMessage->SetCtrlSkinData(FSkin);
    delete FSkin;
    EXPECT_EQ(FMessage->SkinData(), nullptr);
    EXPECT_EQ(FMessage->CtrlSkinData(), nullptr);
    String caption;
    WhileShown([&](TqxMessageForm* ABox) {
        caption = ABox->Caption();
        ABox->SetModalResult(mrOk);
        return true;
    });
    FMessage->MessageDlg(u"好", mtInformation, {mbOK}, 0);
    EXPECT_EQ(caption, u"Information");
}

TEST_F(Messages, AnExceptionBeforeTheRunPassesOnAndFreesTheBox) {
    const Integer before = Screen->FormCount();
    FMessage->OnSetShowPos = [](Integer&, Integer&, Integer, Integer) { throw Exception(u"中断"); };
    EXPECT_THROW(FMessage->MessageDlgPos(u"好", mtInformation, {mbOK}, 0, 10, 10), Exception);
    EXPECT_EQ(Screen->FormCount(), before);
}

}  // namespace
