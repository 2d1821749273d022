#include "app/settingsdialog.h"

#include "app/settingscatalogue.h"
#include "media/strovix.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"

TSettingsDialogTarget SettingsDialogTarget;
TForm6* Form6 = nullptr;

namespace {

// The parameter boxes by the number in their names (1, 2, 3, 4, 9, 10): the
// order in which the preset fill empties and enables them.
constexpr TPresetParameter BoxNumberOrder[] = {ppFrameSize,   ppVideoBitrate, ppAudioBitrate,
                                               ppPictureMode, ppFrameRate,    ppSampleRate};

const auto Registered = RegisterForm<TForm6>(u"TForm6.form")
                            .Handler(u"FormCreate", &TForm6::FormCreate)
                            .Handler(u"qxSkinOfficeComboBox2Change", &TForm6::qxSkinOfficeComboBox2Change)
                            .Handler(u"qxSkinOfficeComboBox1Click", &TForm6::qxSkinOfficeComboBox1Click)
                            .Handler(u"qxSkinButton2Click", &TForm6::qxSkinButton2Click)
                            .Handler(u"qxSkinButton3Click", &TForm6::qxSkinButton3Click)
                            .Handler(u"Button2Click", &TForm6::Button2Click)
                            .Handler(u"Button18Click", &TForm6::Button18Click)
                            .Handler(u"Button5Click", &TForm6::Button5Click)
                            .Handler(u"Button13Click", &TForm6::Button13Click)
                            .Handler(u"Button6Click", &TForm6::Button6Click)
                            .Field(u"qxSkinOfficeComboBox2", &TForm6::qxSkinOfficeComboBox2)
                            .Field(u"qxSkinOfficeComboBox1", &TForm6::qxSkinOfficeComboBox1)
                            .Field(u"Button2", &TForm6::Button2)
                            .Field(u"Button5", &TForm6::Button5)
                            .Field(u"Button13", &TForm6::Button13)
                            .Field(u"Button18", &TForm6::Button18)
                            .Field(u"ImageList1", &TForm6::ImageList1)
                            .Field(u"Strovix", &TForm6::Strovix);

}  // namespace

TqxSkinComboBox* TForm6::ParameterBox(TPresetParameter AParameter) const {
    return dynamic_cast<TqxSkinComboBox*>(FindComponent(ParameterComboName(AParameter)));
}

Integer TForm6::SettingsKey() const {
    return SettingsKeyOf(qxSkinOfficeComboBox2->ItemIndex(), qxSkinOfficeComboBox1->ItemIndex());
}

void TForm6::FormCreate(TObject*) {
    Button2->Click();
}

void TForm6::qxSkinOfficeComboBox2Change(TObject*) {
    Button2->Click();
}

void TForm6::qxSkinOfficeComboBox1Click(TObject*) {
    Button18->Click();
}

void TForm6::qxSkinButton2Click(TObject*) {
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::qxSkinButton3Click(TObject*) {
    Close();
}

void TForm6::Button2Click(TObject*) {
    TqxSkinOfficeItems* items = qxSkinOfficeComboBox1->Items();
    items->Clear();
    qxSkinOfficeComboBox1->Repaint();
    for (const TSettingsFormat& format : SettingsFormatsOf(qxSkinOfficeComboBox2->ItemIndex())) {
        TqxSkinOfficeItem* item = items->Add();
        item->SetTitle(format.Title);
        item->SetCaption(format.Caption);
    }
    qxSkinOfficeComboBox1->Repaint();
    // Raises the format box's OnClick: the preset fill of the first format,
    // or of no format when the category has none.
    qxSkinOfficeComboBox1->SetItemIndex(items->Count() > 0 ? 0 : -1);
}

void TForm6::Button18Click(TObject*) {
    for (const TPresetParameter parameter : BoxNumberOrder) {
        TqxSkinComboBox* box = ParameterBox(parameter);
        box->Items()->Clear();
        // A box without items shows no text: the combo box keeps its last
        // one when its items go.
        box->SetText(String());
    }
    for (const TPresetParameter parameter : BoxNumberOrder)
        ParameterBox(parameter)->SetEnabled(true);
    const Integer key = SettingsKey();
    if (SettingsDialogTarget.Staging) SettingsDialogTarget.Staging->Video_DisableVideo = false;
    const TPreset* preset = SettingsPresetOf(key);
    if (!preset) return;
    const std::array<TPresetBox, PresetParameterCount> boxes = PresetBoxes(preset);
    for (const TPresetParameter parameter : PresetFillOrder) {
        TqxSkinComboBox* box = ParameterBox(parameter);
        for (const char16_t* item : boxes[parameter].Items)
            box->Items()->Add(item);
        box->SetItemIndex(boxes[parameter].ItemIndex);
    }
    for (const TPresetParameter parameter : AudioOnlyDisableOrder)
        if (!boxes[parameter].Enabled) ParameterBox(parameter)->SetEnabled(false);
}

void TForm6::Button5Click(TObject*) {
    const TSettingsDialogTarget& target = SettingsDialogTarget;
    if (!target.Staging) return;
    ApplySettingsCodecData(*target.Staging, SettingsKey(), target.OutputFolder ? target.OutputFolder() : String(),
                           target.OverwriteOutput && target.OverwriteOutput());
}

void TForm6::Button13Click(TObject*) {
    if (!SettingsDialogTarget.Staging) return;
    TParameterTexts texts;
    for (const TPresetParameter parameter : PresetFillOrder)
        texts[parameter] = ParameterBox(parameter)->Text();
    ApplySettingsParameterTexts(*SettingsDialogTarget.Staging, texts);
}

void TForm6::Button6Click(TObject*) {
    if (SettingsDialogTarget.Staging) ResetStaging(*SettingsDialogTarget.Staging);
}
