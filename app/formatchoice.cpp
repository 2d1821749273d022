#include "app/formatchoice.h"

#include <utility>
#include <vector>

#include "app/filelistcolumns.h"
#include "platform/base/sysutils.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"

namespace formatchoice {

namespace {

// The six boxes in the order the preset fill clears and enables them.
constexpr std::array<TPresetParameter, PresetParameterCount> kClearOrder = {
    ppFrameSize, ppVideoBitrate, ppAudioBitrate, ppPictureMode, ppFrameRate, ppSampleRate};

// The row the handlers write: none while positions are being restored.
TListItem* SelectedRow(const TFormatControls& AControls) {
    if (AControls.Restoring && *AControls.Restoring) return nullptr;
    return AControls.lvFiles ? AControls.lvFiles->Selected() : nullptr;
}

// Holds the handlers' row writes for its lifetime.
class TRestoring {
public:
    explicit TRestoring(const TFormatControls& AControls) : FFlag(AControls.Restoring) {
        if (FFlag) FWas = std::exchange(*FFlag, true);
    }
    ~TRestoring() {
        if (FFlag) *FFlag = FWas;
    }
    TRestoring(const TRestoring&) = delete;
    TRestoring& operator=(const TRestoring&) = delete;

private:
    std::shared_ptr<bool> FFlag;
    bool FWas = false;
};

std::vector<String> SubItemsOf(TListItem* ARow) {
    std::vector<String> texts;
    TStrings* subItems = ARow->SubItems();
    for (Integer i = 0; i < subItems->Count(); ++i)
        texts.push_back(subItems->Strings(i));
    return texts;
}

// The output names of the list's rows but AExcept.
std::vector<String> RowOutputNames(const TFormatControls& AControls, TListItem* AExcept) {
    std::vector<String> names;
    if (!AControls.lvFiles) return names;
    TListItems* rows = AControls.lvFiles->Items();
    for (Integer i = 0; i < rows->Count(); ++i) {
        TListItem* row = rows->Item(i);
        if (row != AExcept && row->SubItems()->Count() > ColOutputFile)
            names.push_back(row->SubItems()->Strings(ColOutputFile));
    }
    return names;
}

// The input files of the list's rows.
std::vector<String> RowInputs(const TFormatControls& AControls) {
    std::vector<String> inputs;
    if (!AControls.lvFiles) return inputs;
    TListItems* rows = AControls.lvFiles->Items();
    for (Integer i = 0; i < rows->Count(); ++i)
        inputs.push_back(rows->Item(i)->Caption());
    return inputs;
}

String OutputFolder(const TFormatControls& AControls) {
    return AControls.OutputFolder ? AControls.OutputFolder() : String();
}

bool Overwrite(const TFormatControls& AControls) {
    return AControls.Overwrite && AControls.Overwrite();
}

void FocusFileList(const TFormatControls& AControls) {
    if (AControls.lvFiles && AControls.lvFiles->CanFocus()) AControls.lvFiles->SetFocus();
}

// Reads and writes a picker's position by its name.
Integer PositionNamed(const TFormatControls& AControls, std::u16string_view AName) {
    if (AName == u"qxSkinOfficeComboBox2") return AControls.qxSkinOfficeComboBox2->ItemIndex();
    if (AName == u"qxSkinOfficeComboBox1") return AControls.qxSkinOfficeComboBox1->ItemIndex();
    for (const TPresetParameter parameter : PresetFillOrder)
        if (AName == ParameterComboName(parameter)) return ParameterCombo(AControls, parameter)->ItemIndex();
    return -1;
}

void SetPositionNamed(const TFormatControls& AControls, std::u16string_view AName, Integer APosition) {
    if (AName == u"qxSkinOfficeComboBox2") return AControls.qxSkinOfficeComboBox2->SetItemIndex(APosition);
    if (AName == u"qxSkinOfficeComboBox1") return AControls.qxSkinOfficeComboBox1->SetItemIndex(APosition);
    for (const TPresetParameter parameter : PresetFillOrder)
        if (AName == ParameterComboName(parameter))
            return ParameterCombo(AControls, parameter)->SetItemIndex(APosition);
}

}  // namespace

TqxSkinComboBox* ParameterCombo(const TFormatControls& AControls, TPresetParameter AParameter) {
    switch (AParameter) {
        case ppFrameSize:
            return AControls.qxSkinComboBox1;
        case ppVideoBitrate:
            return AControls.qxSkinComboBox2;
        case ppAudioBitrate:
            return AControls.qxSkinComboBox3;
        case ppPictureMode:
            return AControls.qxSkinComboBox4;
        case ppFrameRate:
            return AControls.qxSkinComboBox9;
        case ppSampleRate:
            return AControls.qxSkinComboBox10;
    }
    return nullptr;
}

Integer ChosenFormatKey(const TFormatControls& AControls) {
    return FormatKeyOf(AControls.qxSkinOfficeComboBox2->ItemIndex(),
                       AControls.qxSkinOfficeComboBox1->ItemIndex());
}

String ChosenStoredSelection(const TFormatControls& AControls) {
    return IntToStr(StoredSelection(AControls.qxSkinOfficeComboBox2->ItemIndex(),
                                    AControls.qxSkinOfficeComboBox1->ItemIndex()));
}

String ChosenComboIndices(const TFormatControls& AControls) {
    std::array<Integer, PresetParameterCount> indices{};
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
        indices[parameter] = ParameterCombo(AControls, TPresetParameter(parameter))->ItemIndex();
    return ComboIndicesText(indices);
}

TParameterTexts ChosenTexts(const TFormatControls& AControls) {
    TParameterTexts texts;
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
        texts[parameter] = ParameterCombo(AControls, TPresetParameter(parameter))->Text();
    return texts;
}

void FillCategoryItems(TqxSkinOfficeComboBox* ACombo) {
    ACombo->BeginUpdateItems();
    ACombo->Items()->Clear();
    for (const TFormatCategory& category : FormatCategories()) {
        TqxSkinOfficeItem* item = ACombo->Items()->Add();
        item->SetCaption(category.Caption);
        item->SetImageIndex(category.Code);
    }
    ACombo->EndUpdateItems();
}

void Button2Click(const TFormatControls& AControls) {
    TqxSkinOfficeComboBox* formats = AControls.qxSkinOfficeComboBox1;
    formats->BeginUpdateItems();
    formats->Items()->Clear();
    const auto captions = FormatCaptions(AControls.qxSkinOfficeComboBox2->ItemIndex());
    for (size_t position = 0; position < captions.size(); ++position) {
        TqxSkinOfficeItem* item = formats->Items()->Add();
        item->SetCaption(captions[position]);
        item->SetImageIndex(FormatImageIndex(static_cast<Integer>(position)));
    }
    formats->EndUpdateItems();
    // An empty list has no position 0: its format change then finds no format.
    formats->SetItemIndex(captions.empty() ? -1 : 0);
}

void Button18Click(const TFormatControls& AControls, TStagingFields& AStaging) {
    for (const TPresetParameter parameter : kClearOrder)
        ParameterCombo(AControls, parameter)->Items()->Clear();
    for (const TPresetParameter parameter : kClearOrder)
        ParameterCombo(AControls, parameter)->SetEnabled(true);
    const Integer key = ChosenFormatKey(AControls);
    StartPresetFill(AStaging, key);
    const TPreset* preset = PresetOf(key);
    if (!preset) return;
    const auto boxes = PresetBoxes(preset);
    for (const TPresetParameter parameter : PresetFillOrder) {
        TqxSkinComboBox* combo = ParameterCombo(AControls, parameter);
        for (const char16_t* item : boxes[parameter].Items)
            combo->Items()->Add(item);
        // Raises the box's change when its shown text changes, while the
        // boxes after it are still empty.
        combo->SetItemIndex(boxes[parameter].ItemIndex);
    }
    for (const TPresetParameter parameter : AudioOnlyDisableOrder)
        if (!boxes[parameter].Enabled) ParameterCombo(AControls, parameter)->SetEnabled(false);
}

void Button13Click(const TFormatControls& AControls, TStagingFields& AStaging) {
    ApplyParameterTexts(AStaging, ChosenFormatKey(AControls), ChosenTexts(AControls));
}

void Button6Click(TStagingFields& AStaging) {
    ResetStaging(AStaging);
}

void Button5Click(const TFormatControls& AControls, TStagingFields& AStaging) {
    std::vector<String> inputs = RowInputs(AControls);
    inputs.push_back(AStaging.Video_AddFileName);
    ApplyCodecData(AStaging, ChosenFormatKey(AControls), OutputFolder(AControls), Overwrite(AControls),
                   RowOutputNames(AControls, nullptr), inputs);
}

bool ChosenFormatWritable(const TFormatControls& AControls) {
    const String missing = UnavailableEncoder(ChosenFormatKey(AControls));
    if (missing.empty()) return true;
    if (AControls.Inform)
        AControls.Inform(u"当前使用的媒体库没有该格式所需的编码器 " + missing + u"，无法转换为该格式。");
    return false;
}

void qxSkinOfficeComboBox2Change(const TFormatControls& AControls) {
    Button2Click(AControls);
}

void qxSkinOfficeComboBox1Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    TqxSkinOfficeComboBox* formats = AControls.qxSkinOfficeComboBox1;
    TListItem* row = SelectedRow(AControls);
    // Refused before the fill, whose parameter changes would write the row.
    if (row && !ChosenFormatWritable(AControls)) {
        RestoreRowChoice(AControls, row);
        return;
    }
    Button18Click(AControls, AStaging);
    const Integer position = formats->ItemIndex();
    // No format chosen (an empty list): nothing to apply to a row.
    if (position < 0 || position >= formats->Items()->Count()) return;
    const String extension = ExtensionFromCaption(formats->Items()->Items(position)->Caption());
    if (!row) return;
    Button5Click(AControls, AStaging);
    Button13Click(AControls, AStaging);
    TStrings* subItems = row->SubItems();
    const auto columns = CodecColumns(AStaging);
    for (size_t i = 0; i < columns.size(); ++i)
        subItems->SetStrings(ColVideoCodec + static_cast<Integer>(i), columns[i]);
    // A default of another position but the same text raised no change.
    subItems->SetStrings(ColComboIndices, ChosenComboIndices(AControls));
    subItems->SetStrings(
        ColOutputFile,
        RenamedOutputFile(subItems->Strings(ColOutputFile), extension, OutputFolder(AControls),
                          Overwrite(AControls), RowOutputNames(AControls, row), RowInputs(AControls)));
    subItems->SetStrings(ColFormatKey, ChosenStoredSelection(AControls));
    FocusFileList(AControls);
}

void ParameterChange(const TFormatControls& AControls, TStagingFields& AStaging,
                     TPresetParameter AParameter) {
    TListItem* row = SelectedRow(AControls);
    if (!row) return;
    const auto writes = ChooseParameter(AStaging, ChosenFormatKey(AControls), AParameter,
                                        ParameterCombo(AControls, AParameter)->ItemIndex(),
                                        ChosenTexts(AControls), SubItemsOf(row));
    for (const TRowWrite& write : writes)
        row->SubItems()->SetStrings(write.SubItem, write.Text);
    FocusFileList(AControls);
}

void qxSkinComboBox1Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppFrameSize);
}
void qxSkinComboBox2Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppVideoBitrate);
}
void qxSkinComboBox3Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppAudioBitrate);
}
void qxSkinComboBox4Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppPictureMode);
}
void qxSkinComboBox9Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppFrameRate);
}
void qxSkinComboBox10Change(const TFormatControls& AControls, TStagingFields& AStaging) {
    ParameterChange(AControls, AStaging, ppSampleRate);
}

void CopyChoice(const TFormatControls& AFrom, const TFormatControls& ATo) {
    const TRestoring restoring(ATo);
    CopyChoicePositions(
        [&](const char16_t* AName) { return PositionNamed(AFrom, AName); },
        [&](const char16_t* AName, Integer APosition) { SetPositionNamed(ATo, AName, APosition); });
}

bool RestoreRowChoice(const TFormatControls& AControls, TListItem* ARow) {
    TStrings* subItems = ARow->SubItems();
    if (subItems->Count() <= ColComboIndices) return false;
    Integer stored = 0;
    if (!TryStrToInt(subItems->Strings(ColFormatKey), stored)) return false;
    const String indices = subItems->Strings(ColComboIndices);
    if (indices.size() < 2 * PresetParameterCount) return false;
    std::array<Integer, PresetParameterCount> positions{};
    for (size_t pair = 0; pair < positions.size(); ++pair)
        if (!TryStrToInt(indices.substr(2 * pair, 2), positions[pair])) return false;
    const TFormatPositions choice = PositionsOfStoredSelection(stored);
    const TRestoring restoring(AControls);
    AControls.qxSkinOfficeComboBox2->SetItemIndex(choice.Category);
    AControls.qxSkinOfficeComboBox1->SetItemIndex(choice.Format);
    for (size_t pair = 0; pair < positions.size(); ++pair)
        ParameterCombo(AControls, ComboIndicesOrder[pair])->SetItemIndex(positions[pair]);
    return true;
}

}  // namespace formatchoice
