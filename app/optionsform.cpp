#include "app/optionsform.h"

#include <array>

#include "app/mainform.h"
#include "app/optionfile.h"
#include "platform/base/stringlist.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"

TForm5* Form5 = nullptr;

namespace {

constexpr const char16_t* Section = u"Options";

// The position of AValue among "0".."N-1"; -1 for any other text.
Integer ChoiceOf(const String& AValue, Integer ACount) {
    for (Integer i = 0; i < ACount; ++i)
        if (AValue == IntToStr(i)) return i;
    return -1;
}

}  // namespace

void TForm5::FormCreate(TObject*) {
    Button1->Click();
}

void TForm5::Repair(const String& AKey, const String& AValue) {
    if (!TryWriteOption(Section, AKey, AValue)) SettingsUnsaved = true;
}

void TForm5::Button1Click(TObject*) {
    // "0" and "1" both stand for the first item.
    const String count = ReadOption(Section, u"Thread_Count");
    const Integer item = count == u"0" ? 0 : qxSkinComboBox2->Items()->IndexOf(count);
    if (item < 0) Repair(u"Thread_Count", u"0");
    qxSkinComboBox2->SetItemIndex(item < 0 ? 0 : item);

    const std::array afterDone{qxSkinCheckRadioBox1, qxSkinCheckRadioBox2, qxSkinCheckRadioBox4,
                               qxSkinCheckRadioBox5};
    Integer choice = ChoiceOf(ReadOption(Section, u"After_Done"), 4);
    if (choice < 0) Repair(u"After_Done", u"0");
    afterDone[size_t(choice < 0 ? 0 : choice)]->SetChecked(true);

    const std::array priorities{qxSkinCheckRadioBox9, qxSkinCheckRadioBox10, qxSkinCheckRadioBox11,
                                qxSkinCheckRadioBox12};
    choice = ChoiceOf(ReadOption(Section, u"Thread_Priority"), 4);
    if (choice < 0) Repair(u"Thread_Priority", u"3");
    priorities[size_t(choice < 0 ? 3 : choice)]->SetChecked(true);

    choice = ChoiceOf(ReadOption(Section, u"Overwrite_File"), 2);
    if (choice < 0) Repair(u"Overwrite_File", u"1");
    (choice == 0 ? qxSkinCheckRadioBox3 : qxSkinCheckRadioBox6)->SetChecked(true);

    choice = ChoiceOf(ReadOption(Section, u"Show_Preview"), 2);
    if (choice < 0) Repair(u"Show_Preview", u"0");
    qxSkinCheckRadioBox8->SetChecked(choice == 1);
}

void TForm5::Button2Click(TObject*) {
    if (qxSkinCheckRadioBox7->Checked()) WriteOption(Section, u"Thread_Count", qxSkinComboBox2->Text());
    const std::pair<TqxSkinCheckRadioBox*, const char16_t*> afterDone[] = {
        {qxSkinCheckRadioBox1, u"0"}, {qxSkinCheckRadioBox2, u"1"}, {qxSkinCheckRadioBox4, u"2"},
        {qxSkinCheckRadioBox5, u"3"}};
    for (const auto& [box, value] : afterDone)
        if (box->Checked()) WriteOption(Section, u"After_Done", value);
    WriteOption(Section, u"Show_Preview", qxSkinCheckRadioBox8->Checked() ? u"1" : u"0");
    const std::pair<TqxSkinCheckRadioBox*, const char16_t*> priorities[] = {
        {qxSkinCheckRadioBox9, u"0"}, {qxSkinCheckRadioBox10, u"1"}, {qxSkinCheckRadioBox11, u"2"},
        {qxSkinCheckRadioBox12, u"3"}};
    for (const auto& [box, value] : priorities)
        if (box->Checked()) WriteOption(Section, u"Thread_Priority", value);
    if (qxSkinCheckRadioBox3->Checked()) WriteOption(Section, u"Overwrite_File", u"0");
    if (qxSkinCheckRadioBox6->Checked()) WriteOption(Section, u"Overwrite_File", u"1");
}

void TForm5::qxSkinButton6Click(TObject*) {
    Button2->Click();
    Close();
}

void TForm5::qxSkinButton1Click(TObject*) {
    Close();
}

void TForm5::qxSkinCheckRadioBox7Click(TObject*) {
    qxSkinComboBox2->SetEnabled(qxSkinCheckRadioBox7->Checked());
}

void TForm5::qxSkinCheckRadioBox8Click(TObject*) {
    Form1->Strovix->SetPreview(qxSkinCheckRadioBox8->Checked());
}

namespace {

const auto Registered = RegisterForm<TForm5>(u"TForm5.form")
                            .Handler(u"FormCreate", &TForm5::FormCreate)
                            .Handler(u"Button1Click", &TForm5::Button1Click)
                            .Handler(u"Button2Click", &TForm5::Button2Click)
                            .Handler(u"qxSkinButton6Click", &TForm5::qxSkinButton6Click)
                            .Handler(u"qxSkinButton1Click", &TForm5::qxSkinButton1Click)
                            .Handler(u"qxSkinCheckRadioBox7Click", &TForm5::qxSkinCheckRadioBox7Click)
                            .Handler(u"qxSkinCheckRadioBox8Click", &TForm5::qxSkinCheckRadioBox8Click)
                            .Field(u"qxSkinCheckRadioBox1", &TForm5::qxSkinCheckRadioBox1)
                            .Field(u"qxSkinCheckRadioBox2", &TForm5::qxSkinCheckRadioBox2)
                            .Field(u"qxSkinCheckRadioBox3", &TForm5::qxSkinCheckRadioBox3)
                            .Field(u"qxSkinCheckRadioBox4", &TForm5::qxSkinCheckRadioBox4)
                            .Field(u"qxSkinCheckRadioBox5", &TForm5::qxSkinCheckRadioBox5)
                            .Field(u"qxSkinCheckRadioBox6", &TForm5::qxSkinCheckRadioBox6)
                            .Field(u"qxSkinCheckRadioBox7", &TForm5::qxSkinCheckRadioBox7)
                            .Field(u"qxSkinCheckRadioBox8", &TForm5::qxSkinCheckRadioBox8)
                            .Field(u"qxSkinCheckRadioBox9", &TForm5::qxSkinCheckRadioBox9)
                            .Field(u"qxSkinCheckRadioBox10", &TForm5::qxSkinCheckRadioBox10)
                            .Field(u"qxSkinCheckRadioBox11", &TForm5::qxSkinCheckRadioBox11)
                            .Field(u"qxSkinCheckRadioBox12", &TForm5::qxSkinCheckRadioBox12)
                            .Field(u"qxSkinComboBox2", &TForm5::qxSkinComboBox2)
                            .Field(u"Button1", &TForm5::Button1)
                            .Field(u"Button2", &TForm5::Button2);

}  // namespace
