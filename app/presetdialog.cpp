#include "app/presetdialog.h"

#include "platform/toolkit/buttons.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinofficecombobox.h"

TPresetDialogTarget PresetDialogTarget;
TForm7* Form7 = nullptr;

namespace {

const auto Registered = RegisterForm<TForm7>(u"TForm7.form")
                            .Handler(u"FormCreate", &TForm7::FormCreate)
                            .Handler(u"qxSkinOfficeComboBox2Change", &TForm7::qxSkinOfficeComboBox2Change)
                            .Handler(u"qxSkinOfficeComboBox1Change", &TForm7::qxSkinOfficeComboBox1Change)
                            .Handler(u"qxSkinComboBox1Change", &TForm7::qxSkinComboBox1Change)
                            .Handler(u"qxSkinComboBox2Change", &TForm7::qxSkinComboBox2Change)
                            .Handler(u"qxSkinComboBox3Change", &TForm7::qxSkinComboBox3Change)
                            .Handler(u"qxSkinComboBox4Change", &TForm7::qxSkinComboBox4Change)
                            .Handler(u"qxSkinComboBox9Change", &TForm7::qxSkinComboBox9Change)
                            .Handler(u"qxSkinComboBox10Change", &TForm7::qxSkinComboBox10Change)
                            .Handler(u"qxSkinButton2Click", &TForm7::qxSkinButton2Click)
                            .Handler(u"qxSkinButton3Click", &TForm7::qxSkinButton3Click)
                            .Handler(u"Button1Click", &TForm7::Button1Click)
                            .Handler(u"Button2Click", &TForm7::Button2Click)
                            .Handler(u"Button18Click", &TForm7::Button18Click)
                            .Handler(u"Button5Click", &TForm7::Button5Click)
                            .Handler(u"Button13Click", &TForm7::Button13Click)
                            .Handler(u"Button6Click", &TForm7::Button6Click)
                            .Field(u"qxSkinOfficeComboBox2", &TForm7::qxSkinOfficeComboBox2)
                            .Field(u"qxSkinOfficeComboBox1", &TForm7::qxSkinOfficeComboBox1)
                            .Field(u"qxSkinComboBox1", &TForm7::qxSkinComboBox1)
                            .Field(u"qxSkinComboBox2", &TForm7::qxSkinComboBox2)
                            .Field(u"qxSkinComboBox3", &TForm7::qxSkinComboBox3)
                            .Field(u"qxSkinComboBox4", &TForm7::qxSkinComboBox4)
                            .Field(u"qxSkinComboBox9", &TForm7::qxSkinComboBox9)
                            .Field(u"qxSkinComboBox10", &TForm7::qxSkinComboBox10)
                            .Field(u"Button2", &TForm7::Button2);

}  // namespace

formatchoice::TFormatControls TForm7::Controls() const {
    formatchoice::TFormatControls controls = PresetDialogTarget.Main;
    controls.qxSkinOfficeComboBox2 = qxSkinOfficeComboBox2;
    controls.qxSkinOfficeComboBox1 = qxSkinOfficeComboBox1;
    controls.qxSkinComboBox1 = qxSkinComboBox1;
    controls.qxSkinComboBox2 = qxSkinComboBox2;
    controls.qxSkinComboBox3 = qxSkinComboBox3;
    controls.qxSkinComboBox4 = qxSkinComboBox4;
    controls.qxSkinComboBox9 = qxSkinComboBox9;
    controls.qxSkinComboBox10 = qxSkinComboBox10;
    return controls;
}

void TForm7::WithStaging(
    const std::function<void(const formatchoice::TFormatControls&, TStagingFields&)>& AHandler) {
    // The parameter boxes raise their changes while the description is
    // still being read, before every picker is in place.
    if (!PresetDialogTarget.Staging || ComponentState().Contains(csLoading)) return;
    AHandler(Controls(), *PresetDialogTarget.Staging);
}

void TForm7::FormCreate(TObject*) {
    Button2->Click();
}

void TForm7::qxSkinOfficeComboBox2Change(TObject*) {
    Button2->Click();
}

void TForm7::qxSkinOfficeComboBox1Change(TObject*) {
    WithStaging(formatchoice::qxSkinOfficeComboBox1Change);
}

void TForm7::qxSkinComboBox1Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox1Change);
}

void TForm7::qxSkinComboBox2Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox2Change);
}

void TForm7::qxSkinComboBox3Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox3Change);
}

void TForm7::qxSkinComboBox4Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox4Change);
}

void TForm7::qxSkinComboBox9Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox9Change);
}

void TForm7::qxSkinComboBox10Change(TObject*) {
    WithStaging(formatchoice::qxSkinComboBox10Change);
}

void TForm7::qxSkinButton2Click(TObject*) {
    const formatchoice::TFormatControls& main = PresetDialogTarget.Main;
    if (main.qxSkinOfficeComboBox2) formatchoice::CopyChoice(Controls(), main);
    Close();
}

void TForm7::qxSkinButton3Click(TObject*) {
    Close();
}

void TForm7::Button1Click(TObject*) {
    if (TqxSkinOfficeComboBox* main = PresetDialogTarget.Main.qxSkinOfficeComboBox1)
        qxSkinOfficeComboBox1->SetItems(main->Items());
}

void TForm7::Button2Click(TObject*) {
    formatchoice::Button2Click(Controls());
}

void TForm7::Button18Click(TObject*) {
    WithStaging(formatchoice::Button18Click);
}

void TForm7::Button5Click(TObject*) {
    WithStaging(formatchoice::Button5Click);
}

void TForm7::Button13Click(TObject*) {
    WithStaging(formatchoice::Button13Click);
}

void TForm7::Button6Click(TObject*) {
    WithStaging([](const formatchoice::TFormatControls&, TStagingFields& AStaging) {
        formatchoice::Button6Click(AStaging);
    });
}
