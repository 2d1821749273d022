// The preset dialog as the program creates it, last, beside a main window
// whose pickers and file list run the same handlers: its format lists, the
// live edit of the selected row, and "确定" and "取消" inside its modal run.
#include "app/presetdialog.h"

#include <gtest/gtest.h>

#include "app/filelistcolumns.h"
#include "media/ffmpegloader.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "skin/core/qxpngimagelist.h"
#include "skin/core/qxskindata.h"
#include "skinfixtures.h"
#include "skinforms.h"

namespace {

using namespace formatchoice;

// The main window as far as the dialog reaches it: its pickers wired to
// the shared handlers, its file list, and the components the dialog's
// description names.
class TMainWindow {
public:
    TMainWindow(TStagingFields& AStaging, const String& AOutputFolder) {
        Application->CreateForm(Form);
        Form->SetName(u"Form1");
        Form->SetBounds(0, 0, 827, 489);
        (new TqxSkinData(Form))->SetName(u"qxSkinData1");
        (new TqxPngImageList(Form))->SetName(u"qxPngImageList3");
        (new TqxPngImageList(Form))->SetName(u"qxPngImageList5");
        const auto place = [this](TWinControl* AControl, Integer ATop) {
            AControl->SetParent(Form);
            AControl->SetBounds(10, ATop, 300, 24);
        };
        place(C.qxSkinOfficeComboBox2 = new TqxSkinOfficeComboBox(Form), 10);
        place(C.qxSkinOfficeComboBox1 = new TqxSkinOfficeComboBox(Form), 40);
        TqxSkinComboBox** boxes[] = {&C.qxSkinComboBox1, &C.qxSkinComboBox2, &C.qxSkinComboBox3,
                                     &C.qxSkinComboBox4, &C.qxSkinComboBox9, &C.qxSkinComboBox10};
        for (Integer i = 0; i < 6; ++i)
            place(*boxes[i] = new TqxSkinComboBox(Form), 70 + 30 * i);
        for (Integer p = 0; p < PresetParameterCount; ++p)
            ParameterCombo(C, TPresetParameter(p))->OnChange = [this, &AStaging, p](TObject*) {
                ParameterChange(C, AStaging, TPresetParameter(p));
            };
        C.lvFiles = new TqxSkinListView(Form);
        place(C.lvFiles, 260);
        C.lvFiles->SetViewStyle(vsReport);
        C.OutputFolder = [AOutputFolder] { return AOutputFolder; };
        C.Overwrite = [] { return false; };
        C.qxSkinOfficeComboBox2->OnChange = [this](TObject*) { qxSkinOfficeComboBox2Change(C); };
        C.qxSkinOfficeComboBox1->OnChange = [this, &AStaging](TObject*) {
            qxSkinOfficeComboBox1Change(C, AStaging);
        };
        // As its description loads: the categories at position 0, then the
        // format list.
        FillCategoryItems(C.qxSkinOfficeComboBox2);
        C.qxSkinOfficeComboBox2->IncludeState(csLoading);
        C.qxSkinOfficeComboBox2->SetItemIndex(0);
        C.qxSkinOfficeComboBox2->ExcludeState(csLoading);
        Button2Click(C);
        Form->Show();
    }

    TForm* Form = nullptr;
    TFormatControls C;
};

class PresetDialog : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        // A row's format is refused when the libraries lack its encoder.
        ASSERT_TRUE(LibLoader.Load(ProbeLibraries));
        Folder = FTemp.Path().substr(0, FTemp.Path().size() - 1);
        SetResourceFolder(UTF8ToString(VELQUA_RESOURCES_DIR));
        Main = std::make_unique<TMainWindow>(Staging, Folder);
        PresetDialogTarget = {&Staging, Main->C};
        Application->CreateForm(Form7);
        Dialog = Form7->Controls();
    }
    void TearDown() override {
        PresetDialogTarget = {};
        Form7 = nullptr;
        Main.reset();
        LibLoader.Unload(ProbeLibraries);
        SkinFormsTest::TearDown();
    }
    // A selected row of 24 sub-items for /in/AName, chosen as the main window stands.
    TListItem* AddRow(const String& AName) {
        TListItem* row = Main->C.lvFiles->Items()->Add();
        row->SetCaption(u"/in/" + AName);
        for (Integer i = 0; i < FileListSubItemCount; ++i)
            row->SubItems()->Add(u"");
        row->SubItems()->SetStrings(ColOutputFile, AName);
        row->SubItems()->SetStrings(ColFormatKey, ChosenStoredSelection(Main->C));
        row->SubItems()->SetStrings(ColComboIndices, ChosenComboIndices(Main->C));
        row->SetSelected(true);
        return row;
    }
    static String Column(TListItem* ARow, Integer AColumn) { return ARow->SubItems()->Strings(AColumn); }
    static void Choose(const TFormatControls& AControls, Integer ACategory, Integer AFormat) {
        AControls.qxSkinOfficeComboBox2->SetItemIndex(ACategory);
        AControls.qxSkinOfficeComboBox1->SetItemIndex(AFormat);
    }
    static std::vector<Integer> Positions(const TFormatControls& AControls) {
        std::vector<Integer> positions = {AControls.qxSkinOfficeComboBox2->ItemIndex(),
                                          AControls.qxSkinOfficeComboBox1->ItemIndex()};
        for (Integer p = 0; p < PresetParameterCount; ++p)
            positions.push_back(ParameterCombo(AControls, TPresetParameter(p))->ItemIndex());
        return positions;
    }
    // "设置...": the main window's positions into the dialog, then its modal
    // run, in which AInside acts once the dialog is up.
    TModalResult Open(const std::function<void()>& AInside) {
        CopyChoice(Main->C, Dialog);
        bool acted = false;
        Application->OnIdle = [&](TObject*, bool& ADone) {
            ADone = true;
            if (acted || Screen->ActiveCustomForm() != Form7) return;
            acted = true;
            AInside();
        };
        const TModalResult result = Form7->ShowModal();
        Application->OnIdle = nullptr;
        EXPECT_TRUE(acted);
        return result;
    }
    void ClickAt(const char16_t* AName) {
        auto* control = dynamic_cast<TControl*>(Form7->FindComponent(AName));
        win::POINT point{control->Width() / 2, control->Height() / 2};
        win::ClientToScreen(control->Parent()->Handle(), &point);
        point.x += control->Left();
        point.y += control->Top();
        win::driver::Click(point);
    }

    skinfixtures::TTempFolder FTemp;
    String Folder;
    TStagingFields Staging;
    std::unique_ptr<TMainWindow> Main;
    TFormatControls Dialog;
};

TEST_F(PresetDialog, EveryCategoryListsTheMainWindowsFormatsAndRunsOneFormatChange) {
    EXPECT_EQ(Form7->Caption(), u"选项设置");
    EXPECT_EQ(Form7->ClientWidth(), 510);
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Dialog.qxSkinOfficeComboBox1->Items()->Count(), Integer(FormatCaptions(0).size()));
    Integer changes = 0;
    TNotifyEvent change = Dialog.qxSkinOfficeComboBox1->OnChange;
    Dialog.qxSkinOfficeComboBox1->OnChange = [&](TObject* ASender) {
        ++changes;
        change(ASender);
    };
    for (Integer category = 0; category < CategoryCount; ++category) {
        changes = 0;
        Dialog.qxSkinOfficeComboBox2->SetItemIndex(category);
        Main->C.qxSkinOfficeComboBox2->SetItemIndex(category);
        EXPECT_EQ(changes, 1) << category;
        TqxSkinOfficeItems* mine = Dialog.qxSkinOfficeComboBox1->Items();
        TqxSkinOfficeItems* theirs = Main->C.qxSkinOfficeComboBox1->Items();
        ASSERT_EQ(mine->Count(), theirs->Count()) << category;
        for (Integer i = 0; i < mine->Count(); ++i) {
            EXPECT_EQ(mine->Items(i)->Caption(), theirs->Items(i)->Caption());
            EXPECT_EQ(mine->Items(i)->ImageIndex(), i % 2);
        }
        EXPECT_EQ(Dialog.qxSkinOfficeComboBox1->ItemIndex(), 0);
    }
}

TEST_F(PresetDialog, EveryFormatStagesWhatTheMainWindowStages) {
    AddRow(u"clip.avi");
    for (const TFormatCategory& category : FormatCategories()) {
        const Integer position = Integer(&category - FormatCategories().data());
        for (Integer format = 0; format < Integer(category.Formats.size()); ++format) {
            Choose(Dialog, position, format);
            const TStagingFields dialog = Staging;
            const std::vector<String> row = [&] {
                std::vector<String> texts;
                TListItem* selected = Main->C.lvFiles->Selected();
                for (Integer i = 0; i < FileListSubItemCount; ++i)
                    texts.push_back(Column(selected, i));
                return texts;
            }();
            Choose(Main->C, position, format);
            const Integer key = FormatKeyOf(position, format);
            EXPECT_EQ(StringToUTF8(dialog.Video_AudioCodec), StringToUTF8(Staging.Video_AudioCodec)) << key;
            EXPECT_EQ(StringToUTF8(dialog.Video_VideoCodec), StringToUTF8(Staging.Video_VideoCodec)) << key;
            EXPECT_EQ(StringToUTF8(dialog.Video_VideoTag), StringToUTF8(Staging.Video_VideoTag)) << key;
            EXPECT_EQ(dialog.Video_VideoBitrate, Staging.Video_VideoBitrate) << key;
            EXPECT_EQ(dialog.Video_AudioBitrate, Staging.Video_AudioBitrate) << key;
            EXPECT_EQ(dialog.Video_DisableVideo, Staging.Video_DisableVideo) << key;
            EXPECT_EQ(StringToUTF8(dialog.Video_TargetType), StringToUTF8(Staging.Video_TargetType)) << key;
            EXPECT_EQ(StringToUTF8(Column(Main->C.lvFiles->Selected(), ColFormatKey)),
                      StringToUTF8(row[ColFormatKey]))
                << key;
        }
    }
    // Key 11, a DVD: the shown rates, the target, no extension column.
    Choose(Dialog, 1, 11);
    ASSERT_EQ(ChosenFormatKey(Dialog), 11);
    TListItem* row = Main->C.lvFiles->Selected();
    EXPECT_EQ(Column(row, 16), IntToStr(KbpsVideoBitrate(Dialog.qxSkinComboBox2->Text())));
    EXPECT_EQ(Column(row, 18), IntToStr(KbpsAudioBitrate(Dialog.qxSkinComboBox3->Text())));
    EXPECT_EQ(Column(row, 22), u"dvd");
    EXPECT_EQ(Column(row, 23), u"PAL");
    EXPECT_EQ(Column(row, 14), u"");
}

TEST_F(PresetDialog, OkHandsTheEightPositionsBackAndTheRowMatchesThem) {
    TListItem* row = AddRow(u"clip.avi");
    Choose(Main->C, 1, 2);
    const TModalResult result = Open([&] {
        // A live edit: another category, format and frame size.
        Choose(Dialog, 18, 3);
        Dialog.qxSkinComboBox1->SetItemIndex(Dialog.qxSkinComboBox1->Items()->Count() - 1);
        ClickAt(u"qxSkinButton2");
    });
    EXPECT_NE(result, mrNone);
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Positions(Main->C), Positions(Dialog));
    EXPECT_EQ(Column(row, ColFormatKey), ChosenStoredSelection(Main->C));
    EXPECT_EQ(Column(row, ColComboIndices), ChosenComboIndices(Main->C));
    EXPECT_EQ(Column(row, ColFileExt), ExtensionFromCaption(FormatCaptions(18)[3]));
}

TEST_F(PresetDialog, CancelKeepsTheLiveEditWhileTheMainPickersStay) {
    TListItem* row = AddRow(u"clip.avi");
    Choose(Main->C, 1, 0);
    const std::vector<Integer> before = Positions(Main->C);
    Open([&] {
        Choose(Dialog, 18, 0);
        ClickAt(u"qxSkinButton3");
    });
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Positions(Main->C), before);
    EXPECT_EQ(Column(row, ColFormatKey), u"1900");
    EXPECT_TRUE(Column(row, ColOutputFile).ends_with(ExtensionFromCaption(FormatCaptions(18)[0])));
}

TEST_F(PresetDialog, WithoutASelectedRowNothingReachesTheList) {
    TListItem* row = AddRow(u"clip.avi");
    row->SetSelected(false);
    const String indices = Column(row, ColComboIndices);
    Staging.Video_OutPutFileName = u"kept";
    Choose(Dialog, 5, 1);
    Dialog.qxSkinComboBox2->SetItemIndex(0);
    EXPECT_EQ(Column(row, ColComboIndices), indices);
    EXPECT_EQ(Column(row, ColFormatKey), u"100");
    EXPECT_EQ(Staging.Video_OutPutFileName, u"kept");
}

TEST_F(PresetDialog, Button1CopiesTheMainFormatItemsWithoutEvents) {
    Choose(Main->C, 18, 0);
    Integer changes = 0;
    Dialog.qxSkinOfficeComboBox1->OnChange = [&](TObject*) { ++changes; };
    dynamic_cast<TButton*>(Form7->FindComponent(u"Button1"))->Click();
    EXPECT_EQ(changes, 0);
    ASSERT_EQ(Dialog.qxSkinOfficeComboBox1->Items()->Count(), Integer(FormatCaptions(18).size()));
    EXPECT_EQ(Dialog.qxSkinOfficeComboBox1->Items()->Items(0)->Caption(), FormatCaptions(18)[0]);
}

}  // namespace
