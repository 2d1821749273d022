// The pickers' handlers on a small form holding the main window's named
// controls: the cascade of events they set off, and what they write into the
// selected row and the staging fields.
#include "app/formatchoice.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/filelistcolumns.h"
#include "media/ffmpegloader.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skinfixtures.h"
#include "skinforms.h"

namespace {

using namespace formatchoice;
using TLog = std::vector<std::string>;

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

// The pickers and the file list, wired as the windows wire them; every
// handler logs its name before it runs. A dialog form shares the main
// form's file list and staging fields.
class TPickerForm {
public:
    TPickerForm(TForm* AForm, TStagingFields& AStaging, TLog& ALog, TqxSkinListView* AFileList,
                const String& AOutputFolder)
        : FStaging(AStaging), FLog(ALog) {
        const auto office = [&](Integer ATop) {
            auto* combo = new TqxSkinOfficeComboBox(AForm);
            combo->SetParent(AForm);
            combo->SetBounds(10, ATop, 200, 40);
            return combo;
        };
        C.qxSkinOfficeComboBox2 = office(10);
        C.qxSkinOfficeComboBox1 = office(60);
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
            auto* combo = new TqxSkinComboBox(AForm);
            combo->SetParent(AForm);
            combo->SetBounds(220, 10 + 25 * parameter, 150, 20);
            const TPresetParameter p = TPresetParameter(parameter);
            (p == ppFrameSize      ? C.qxSkinComboBox1
             : p == ppVideoBitrate ? C.qxSkinComboBox2
             : p == ppAudioBitrate ? C.qxSkinComboBox3
             : p == ppPictureMode  ? C.qxSkinComboBox4
             : p == ppFrameRate    ? C.qxSkinComboBox9
                                   : C.qxSkinComboBox10) = combo;
            combo->OnChange = [this, p](TObject*) {
                FLog.push_back(Text(ParameterComboName(p)));
                // Whether the box was still enabled when its handler ran.
                if (!ParameterCombo(C, p)->Enabled()) FLog.push_back("disabled");
                ParameterChange(C, FStaging, p);
            };
        }
        if (!AFileList) {
            AFileList = new TqxSkinListView(AForm);
            AFileList->SetParent(AForm);
            AFileList->SetBounds(10, 170, 380, 120);
            AFileList->SetViewStyle(vsReport);
        }
        C.lvFiles = AFileList;
        C.OutputFolder = [AOutputFolder] { return AOutputFolder; };
        C.Overwrite = [this] { return Overwrite; };
        C.Inform = [this](const String& AText) { Informed.push_back(AText); };
        C.qxSkinOfficeComboBox2->OnChange = [this](TObject*) {
            FLog.push_back("category");
            qxSkinOfficeComboBox2Change(C);
        };
        C.qxSkinOfficeComboBox1->OnChange = [this](TObject*) {
            FLog.push_back("format");
            qxSkinOfficeComboBox1Change(C, FStaging);
        };
        // As the form loads: the categories, position 0, then the format list.
        FillCategoryItems(C.qxSkinOfficeComboBox2);
        C.qxSkinOfficeComboBox2->IncludeState(csLoading);
        C.qxSkinOfficeComboBox2->SetItemIndex(0);
        C.qxSkinOfficeComboBox2->ExcludeState(csLoading);
        Button2Click(C);
    }

    TFormatControls C;
    bool Overwrite = false;
    std::vector<String> Informed;

private:
    TStagingFields& FStaging;
    TLog& FLog;
};

class FormatChoiceTest : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        // A row's format is refused when the libraries lack its encoder.
        ASSERT_TRUE(LibLoader.Load(ProbeLibraries)) << Text(LibLoader.LastErrMsg());
        Folder = FTemp.Path().substr(0, FTemp.Path().size() - 1);
        FMain = NewForm(u"Form1");
        FMain->SetBounds(0, 0, 400, 300);
        Main = std::make_unique<TPickerForm>(FMain, Staging, Log, nullptr, Folder);
    }
    void TearDown() override {
        Main.reset();
        Dialog.reset();
        LibLoader.Unload(ProbeLibraries);
        SkinFormsTest::TearDown();
    }
    // A row of 24 sub-items with the output name, format 0 of category 0.
    TListItem* AddRow(const String& AOutputName, bool ASelect = true) {
        TListItem* row = Main->C.lvFiles->Items()->Add();
        row->SetCaption(u"/in/" + AOutputName);
        for (Integer i = 0; i < FileListSubItemCount; ++i)
            row->SubItems()->Add(u"");
        row->SubItems()->SetStrings(ColOutputFile, AOutputName);
        row->SubItems()->SetStrings(ColFormatKey, u"100");
        row->SubItems()->SetStrings(ColComboIndices, ChosenComboIndices(Main->C));
        if (ASelect) row->SetSelected(true);
        return row;
    }
    static std::string Column(TListItem* ARow, Integer AColumn) {
        return Text(ARow->SubItems()->Strings(AColumn));
    }
    std::vector<std::string> Row(TListItem* ARow) {
        std::vector<std::string> columns;
        for (Integer i = 0; i < ARow->SubItems()->Count(); ++i)
            columns.push_back(Column(ARow, i));
        return columns;
    }
    TLog TakeLog() { return std::exchange(Log, {}); }
    // Category and format as the row selection and the dialog write them.
    void Choose(TPickerForm& AForm, Integer ACategory, Integer AFormat) {
        AForm.C.qxSkinOfficeComboBox2->SetItemIndex(ACategory);
        AForm.C.qxSkinOfficeComboBox1->SetItemIndex(AFormat);
    }
    // Chooses the first format whose key passes, as the row selection does.
    bool ChooseFirst(TPickerForm& AForm, const std::function<bool(Integer)>& AKeyPasses) {
        for (Integer category = 0; category < CategoryCount; ++category)
            for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format)
                if (AKeyPasses(FormatKeyOf(category, format))) {
                    Choose(AForm, category, format);
                    return true;
                }
        return false;
    }
    // The first item of the box whose text is not the shown one.
    static Integer OtherIndex(TqxSkinComboBox* ACombo) {
        for (Integer i = 0; i < ACombo->Items()->Count(); ++i)
            if (ACombo->Items()->Strings(i) != ACombo->Text()) return i;
        return -1;
    }
    // The texts a fill of the key leaves shown.
    static std::vector<std::string> DefaultTexts(Integer AKey) {
        std::vector<std::string> texts;
        for (const TPresetBox& box : PresetBoxes(PresetOf(AKey)))
            texts.push_back(Text(box.Items[box.ItemIndex]));
        return texts;
    }
    static std::vector<std::string> Shown(const TFormatControls& AControls) {
        std::vector<std::string> texts;
        for (const String& text : ChosenTexts(AControls))
            texts.push_back(Text(text));
        return texts;
    }

    skinfixtures::TTempFolder FTemp;
    String Folder;
    TForm* FMain = nullptr;
    TStagingFields Staging;
    TLog Log;
    std::unique_ptr<TPickerForm> Main, Dialog;
};

TEST_F(FormatChoiceTest, StartUpFillsTheFirstFormatsPresetsAndNothingElse) {
    const TFormatControls& c = Main->C;
    // Nothing ran while the category box was loaded; Button2Click's write ran
    // the format change, whose fill changed every shown text.
    EXPECT_EQ((TLog{"format", "qxSkinComboBox1", "qxSkinComboBox2", "qxSkinComboBox9", "qxSkinComboBox3",
                    "qxSkinComboBox10", "qxSkinComboBox4"}),
              TakeLog());
    ASSERT_EQ(c.qxSkinOfficeComboBox1->Items()->Count(), 10);
    EXPECT_EQ(Text(c.qxSkinOfficeComboBox1->Items()->Items(0)->Caption()), "高清AVI视频格式(*.avi)");
    EXPECT_EQ(c.qxSkinOfficeComboBox1->Items()->Items(3)->ImageIndex(), 1);
    EXPECT_EQ(c.qxSkinOfficeComboBox2->Items()->Items(18)->ImageIndex(), 1);
    EXPECT_EQ(ChosenFormatKey(c), 200);
    EXPECT_EQ(Staging.All_Trant_Number, 300);
    EXPECT_EQ(Shown(c), DefaultTexts(200));
    // No row: the parameter changes wrote no staging field.
    EXPECT_EQ(Staging.Video_FrameSize, u"");
    EXPECT_EQ(Staging.Video_VideoBitrate, -1);

    // A second fill gives the same lists; the unchanged texts raise nothing.
    std::vector<std::string> before;
    for (Integer i = 0; i < c.qxSkinComboBox1->Items()->Count(); ++i)
        before.push_back(Text(c.qxSkinComboBox1->Items()->Strings(i)));
    Button18Click(c, Staging);
    EXPECT_EQ(TLog{}, TakeLog());
    std::vector<std::string> after;
    for (Integer i = 0; i < c.qxSkinComboBox1->Items()->Count(); ++i)
        after.push_back(Text(c.qxSkinComboBox1->Items()->Strings(i)));
    EXPECT_EQ(before, after);
}

TEST_F(FormatChoiceTest, OfficeBoxesRaiseOnEveryWritePlainBoxesOnANewText) {
    const TFormatControls& c = Main->C;
    TakeLog();
    // The same category again still rebuilds the list and resets the format.
    c.qxSkinOfficeComboBox1->SetItemIndex(4);
    TakeLog();
    c.qxSkinOfficeComboBox2->SetItemIndex(0);
    EXPECT_EQ(c.qxSkinOfficeComboBox1->ItemIndex(), 0);
    TLog log = TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ((TLog{log[0], log[1]}), (TLog{"category", "format"}));
    // The same format again runs the format change again.
    c.qxSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(TLog{"format"}, TakeLog());
    // A parameter index whose text is the shown one raises nothing.
    c.qxSkinComboBox2->SetItemIndex(c.qxSkinComboBox2->ItemIndex());
    EXPECT_EQ(TLog{}, TakeLog());
    c.qxSkinComboBox2->SetItemIndex(c.qxSkinComboBox2->ItemIndex() + 1);
    EXPECT_EQ(TLog{"qxSkinComboBox2"}, TakeLog());
    // Nothing while a form loads.
    c.qxSkinOfficeComboBox1->IncludeState(csLoading);
    c.qxSkinOfficeComboBox1->SetItemIndex(2);
    c.qxSkinOfficeComboBox1->ExcludeState(csLoading);
    EXPECT_EQ(TLog{}, TakeLog());
}

TEST_F(FormatChoiceTest, AudioFormatsDisableTheVideoBoxesAfterTheirHandlersRan) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip.avi");
    TakeLog();
    Choose(*Main, 18, 0);  // MP3
    for (const std::string& entry : TakeLog())
        EXPECT_NE(entry, "disabled");
    EXPECT_EQ(Shown(c), DefaultTexts(100));
    for (TqxSkinComboBox* video :
         {c.qxSkinComboBox1, c.qxSkinComboBox2, c.qxSkinComboBox4, c.qxSkinComboBox9}) {
        EXPECT_FALSE(video->Enabled());
        EXPECT_EQ(video->Items()->Count(), 1);
    }
    EXPECT_TRUE(c.qxSkinComboBox3->Enabled());
    EXPECT_EQ(Column(row, ColDisableVideo), "True");
    EXPECT_EQ(Column(row, ColFormatKey), "1900");
    // A video format enables them again.
    Choose(*Main, 0, 0);
    for (TqxSkinComboBox* video :
         {c.qxSkinComboBox1, c.qxSkinComboBox2, c.qxSkinComboBox4, c.qxSkinComboBox9})
        EXPECT_TRUE(video->Enabled());
}

TEST_F(FormatChoiceTest, ACategoryOutsideTheListLeavesEmptyListsAndTheRow) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip.avi");
    const auto before = Row(row);
    c.qxSkinOfficeComboBox2->Items()->Add()->SetCaption(u"其它");
    c.qxSkinOfficeComboBox2->SetItemIndex(19);
    EXPECT_EQ(c.qxSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_EQ(c.qxSkinOfficeComboBox1->ItemIndex(), -1);
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
        EXPECT_EQ(ParameterCombo(c, TPresetParameter(parameter))->Items()->Count(), 0);
        EXPECT_TRUE(ParameterCombo(c, TPresetParameter(parameter))->Enabled());
    }
    EXPECT_EQ(Row(row), before);
}

TEST_F(FormatChoiceTest, AFormatChangeGivesTheSelectedRowTheFormat) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip_(new).mp4");
    Choose(*Main, 3, 5);
    const Integer key = ChosenFormatKey(c);
    EXPECT_EQ(Column(row, ColFormatKey), "405");
    EXPECT_EQ(
        Column(row, ColOutputFile),
        "clip_(new)" + Text(ExtensionFromCaption(c.qxSkinOfficeComboBox1->Items()->Items(5)->Caption())));
    // Columns 10 to 23 hold what the row converts with: the codec data with
    // the values of the shown texts, as the staging fields do.
    TStagingFields values;
    ASSERT_TRUE(ApplyCodecData(values, key, Folder, false, {}));
    ApplyParameterTexts(values, key, ChosenTexts(c));
    const auto columns = CodecColumns(values);
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(Column(row, ColVideoCodec + Integer(i)), Text(columns[i])) << i;
    EXPECT_EQ(CodecColumns(Staging), columns);
    EXPECT_EQ(Column(row, ColComboIndices), Text(ChosenComboIndices(c)));

    // To a ".flv" format; a name without a dot gets the extension.
    row->SubItems()->SetStrings(ColOutputFile, u"clip_(new).mp4");
    const auto isFlv = [](Integer AKey) {
        return std::u16string_view(CodecDataOf(AKey)->OutputExt) == u".flv";
    };
    ASSERT_TRUE(ChooseFirst(*Main, isFlv));
    EXPECT_EQ(Column(row, ColOutputFile), "clip_(new).flv");
    row->SubItems()->SetStrings(ColOutputFile, u"clip");
    ChooseFirst(*Main, isFlv);
    EXPECT_EQ(Column(row, ColOutputFile), "clip.flv");
}

TEST_F(FormatChoiceTest, ParameterChangesWriteTheirPairAndValueColumn) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip.avi");
    row->SubItems()->SetStrings(ColComboIndices, u"000310000402");
    ASSERT_GT(c.qxSkinComboBox2->Items()->Count(), 5);
    ASSERT_NE(c.qxSkinComboBox2->Items()->Strings(5), c.qxSkinComboBox2->Text());
    c.qxSkinComboBox3->SetFocus();
    c.qxSkinComboBox2->SetItemIndex(5);
    EXPECT_EQ(Column(row, ColComboIndices), "000510000402");
    EXPECT_TRUE(c.lvFiles->Focused());
    const Integer bitrate = KbpsVideoBitrate(c.qxSkinComboBox2->Text());
    EXPECT_EQ(Staging.Video_VideoBitrate, bitrate);
    EXPECT_EQ(Column(row, ColVideoBitrate), Text(IntToStr(bitrate)));

    // "1920*1200" twice: the second index shows the same text and keeps the first.
    ASSERT_TRUE(ChooseFirst(*Main, [](Integer AKey) {
        const auto items = PresetOf(AKey)->Choices[ppFrameSize].List->Items;
        return std::count(items.begin(), items.end(), std::u16string_view(u"1920*1200")) == 2;
    }));
    Integer first = -1;
    for (Integer i = 0; first < 0 && i < c.qxSkinComboBox1->Items()->Count(); ++i)
        if (c.qxSkinComboBox1->Items()->Strings(i) == u"1920*1200") first = i;
    ASSERT_EQ(c.qxSkinComboBox1->Items()->Strings(first + 1), u"1920*1200");
    c.qxSkinComboBox1->SetItemIndex(first);
    EXPECT_EQ(Column(row, ColComboIndices).substr(0, 2), Text(TwoDigitIndex(first)));
    EXPECT_EQ(Column(row, ColFrameSize), "1920*1200");
    c.qxSkinComboBox1->SetItemIndex(first + 1);
    EXPECT_EQ(Column(row, ColComboIndices).substr(0, 2), Text(TwoDigitIndex(first)));

    // A VCD format keeps the target's own video bit rate.
    ASSERT_TRUE(ChooseFirst(
        *Main, [](Integer AKey) { return std::u16string_view(CodecDataOf(AKey)->TargetType) == u"vcd"; }));
    ASSERT_GE(OtherIndex(c.qxSkinComboBox2), 0);
    c.qxSkinComboBox2->SetItemIndex(OtherIndex(c.qxSkinComboBox2));
    EXPECT_EQ(Column(row, ColVideoBitrate), "-1000");
    EXPECT_EQ(Staging.Video_VideoBitrate, -1000);

    // No selected row: neither a row nor a staging field changes.
    row->SetSelected(false);
    const auto before = Row(row);
    Staging.Video_VideoBitrate = 7;
    c.qxSkinComboBox2->SetItemIndex(0);
    c.qxSkinComboBox1->SetItemIndex(0);
    Choose(*Main, 2, 1);
    EXPECT_EQ(Row(row), before);
    EXPECT_EQ(Staging.Video_VideoBitrate, 7);
}

// Adding a file with another file's row selected.
TEST_F(FormatChoiceTest, AddingAFileLeavesTheSelectedRowAndTakesNoRowsName) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"a.avi");
    Choose(*Main, 0, 0);
    c.qxSkinComboBox2->SetItemIndex(0);
    const auto before = Row(row);
    Button6Click(Staging);
    Staging.Video_AddFileName = u"/clips/a.mts";
    Button5Click(c, Staging);
    Button13Click(c, Staging);
    EXPECT_EQ(Row(row), before);
    // The other row holds a.avi: the new file's output is numbered.
    EXPECT_EQ(Staging.Video_OutPutFileName, Folder + u"/a_1.avi");
    EXPECT_EQ(Staging.Video_VideoBitrate, KbpsVideoBitrate(c.qxSkinComboBox2->Text()));

    // A format change renames the selected row past the other rows' names,
    // and past an existing file unless files are overwritten.
    AddRow(u"b.mp4", false);
    skinfixtures::WriteFileBytes(Folder + u"/b_1.mp4", "x");
    row->SubItems()->SetStrings(ColOutputFile, u"b.avi");
    Choose(*Main, 1, 1);  // ".mp4"
    EXPECT_EQ(Column(row, ColOutputFile), "b_2.mp4");
    row->SubItems()->SetStrings(ColOutputFile, u"b.avi");
    Main->Overwrite = true;
    c.qxSkinOfficeComboBox1->SetItemIndex(1);
    EXPECT_EQ(Column(row, ColOutputFile), "b_1.mp4");
    // The same format again: the row's own name, though its file exists.
    Main->Overwrite = false;
    c.qxSkinOfficeComboBox1->SetItemIndex(1);
    EXPECT_EQ(Column(row, ColOutputFile), "b_1.mp4");
    // An input of the list is no output, with overwriting too.
    AddRow(u"x.avi", false)->SetCaption(Folder + u"/b_1.avi");
    Main->Overwrite = true;
    c.qxSkinOfficeComboBox1->SetItemIndex(0);  // ".avi"
    EXPECT_EQ(Column(row, ColOutputFile), "b_1_1.avi");
}

// After any format the user picks, the row holds what the pickers show:
// the values of the shown texts and their positions.
TEST_F(FormatChoiceTest, AfterEveryFormatTheRowHoldsWhatThePickersShow) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip.avi");
    for (Integer category = 0; category < CategoryCount; ++category)
        for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format) {
            const Integer key = FormatKeyOf(category, format);
            if (!UnavailableEncoder(key).empty()) continue;
            Choose(*Main, category, format);
            TStagingFields expected;
            ApplyCodecData(expected, key, Folder, false, {});
            ApplyParameterTexts(expected, key, ChosenTexts(c));
            const auto columns = CodecColumns(expected);
            for (size_t i = 0; i < columns.size(); ++i)
                ASSERT_EQ(Column(row, ColVideoCodec + Integer(i)), Text(columns[i]))
                    << key << " column " << i;
            ASSERT_EQ(Column(row, ColComboIndices), Text(ChosenComboIndices(c))) << key;
            ASSERT_EQ(Column(row, ColFormatKey), Text(ChosenStoredSelection(c))) << key;
        }
    EXPECT_TRUE(Main->Informed.empty());
}

// Restoring a row's own choice shows it in the pickers and writes nothing
// into the row: no name numbered past a file of another format's extension,
// no values replaced by another format's.
TEST_F(FormatChoiceTest, RestoringARowsChoiceWritesNothingIntoIt) {
    const TFormatControls& c = Main->C;
    TListItem* row = AddRow(u"clip.avi");
    Choose(*Main, 3, 5);
    c.qxSkinComboBox10->SetItemIndex(0);
    const std::vector<Integer> positions = {c.qxSkinOfficeComboBox2->ItemIndex(),
                                            c.qxSkinOfficeComboBox1->ItemIndex(),
                                            c.qxSkinComboBox10->ItemIndex()};
    skinfixtures::WriteFileBytes(Folder + u"/clip.avi", "x");
    skinfixtures::WriteFileBytes(Folder + u"/" + row->SubItems()->Strings(ColOutputFile), "x");
    const auto before = Row(row);
    row->SetSelected(false);
    Choose(*Main, 0, 2);
    row->SetSelected(true);
    ASSERT_TRUE(RestoreRowChoice(c, row));
    EXPECT_EQ(Row(row), before);
    EXPECT_EQ((std::vector<Integer>{c.qxSkinOfficeComboBox2->ItemIndex(),
                                    c.qxSkinOfficeComboBox1->ItemIndex(), c.qxSkinComboBox10->ItemIndex()}),
              positions);
    // Columns that hold no positions restore nothing.
    for (const char16_t* indices : {u"", u"0003", u"xx0310000402"}) {
        row->SetSelected(false);
        Choose(*Main, 0, 2);
        row->SetSelected(true);
        row->SubItems()->SetStrings(ColComboIndices, indices);
        EXPECT_FALSE(RestoreRowChoice(c, row)) << Text(indices);
        EXPECT_EQ(c.qxSkinOfficeComboBox1->ItemIndex(), 2);
    }
}

// A format the libraries cannot write is refused for the selected row: one
// box, the row's own format back in the pickers, the row as it was. Without
// a selected row the pickers take it (adding refuses it then).
TEST_F(FormatChoiceTest, AFormatWithoutItsEncoderIsRefusedForTheRow) {
    const TFormatControls& c = Main->C;
    // "音频格式": WMA, then AMR-NB picked in the format box.
    constexpr Integer audio = 18, amr = 12;
    ASSERT_EQ(FormatKeyOf(audio, amr), 112);
    TListItem* row = AddRow(u"clip.avi");
    Choose(*Main, audio, 1);
    c.qxSkinComboBox3->SetItemIndex(0);
    const auto before = Row(row);
    const String indices = ChosenComboIndices(c);
    c.qxSkinOfficeComboBox1->SetItemIndex(amr);
    ASSERT_EQ(Main->Informed.size(), 1u);
    EXPECT_EQ(Text(Main->Informed[0]),
              "当前使用的媒体库没有该格式所需的编码器 libopencore_amrnb，无法转换为该格式。");
    EXPECT_EQ(Row(row), before);
    EXPECT_EQ(ChosenFormatKey(c), 101);
    EXPECT_EQ(ChosenComboIndices(c), indices);

    row->SetSelected(false);
    c.qxSkinOfficeComboBox1->SetItemIndex(amr);
    EXPECT_EQ(ChosenFormatKey(c), 112);
    EXPECT_EQ(Main->Informed.size(), 1u);
    EXPECT_FALSE(ChosenFormatWritable(c));
    EXPECT_EQ(Main->Informed.size(), 2u);
}

TEST_F(FormatChoiceTest, TheDialogReceivesAndReturnsTheEightPositions) {
    TForm* dialogForm = NewForm(u"Form7");
    Dialog = std::make_unique<TPickerForm>(dialogForm, Staging, Log, Main->C.lvFiles, Folder);
    const TFormatControls& m = Main->C;
    const TFormatControls& d = Dialog->C;
    TListItem* row = AddRow(u"clip.avi");
    Choose(*Main, 2, 3);
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
        TqxSkinComboBox* combo = ParameterCombo(m, TPresetParameter(parameter));
        combo->SetItemIndex(combo->Items()->Count() - 1);
    }
    TakeLog();

    // Opening: the dialog's handlers run in order and write the row.
    CopyChoice(m, d);
    TLog log = TakeLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ((TLog{log[0], log[1]}), (TLog{"category", "format"}));
    EXPECT_EQ(ChosenComboIndices(d), ChosenComboIndices(m));
    EXPECT_EQ(ChosenFormatKey(d), ChosenFormatKey(m));
    EXPECT_EQ(Column(row, ColComboIndices), Text(ChosenComboIndices(m)));
    EXPECT_EQ(Column(row, ColFormatKey), "303");

    // A live edit, then "取消": the row keeps it, the main window's box its position.
    const Integer audio = m.qxSkinComboBox3->ItemIndex();
    d.qxSkinComboBox3->SetItemIndex(0);
    EXPECT_EQ(Column(row, ColComboIndices).substr(4, 2), "00");
    EXPECT_EQ(m.qxSkinComboBox3->ItemIndex(), audio);

    // Another format and audio bit rate, then "确定".
    d.qxSkinOfficeComboBox2->SetItemIndex(18);
    d.qxSkinOfficeComboBox1->SetItemIndex(2);
    const Integer picked = OtherIndex(d.qxSkinComboBox3);
    d.qxSkinComboBox3->SetItemIndex(picked);
    CopyChoice(d, m);
    EXPECT_EQ(ChosenFormatKey(m), ChosenFormatKey(d));
    EXPECT_EQ(m.qxSkinComboBox3->ItemIndex(), picked);
    EXPECT_EQ(Column(row, ColFormatKey), "1902");
    EXPECT_EQ(Column(row, ColComboIndices), Text(ChosenComboIndices(d)));
    EXPECT_EQ(Column(row, ColAudioBitrate), Text(IntToStr(KbpsAudioBitrate(d.qxSkinComboBox3->Text()))));
}

}  // namespace
