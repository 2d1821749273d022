// The program's start-up on the memory back end: a temporary program
// folder and home, the build's resources, the forms as main creates them.
#include "app/program.h"
#include "programfixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/aboutform.h"
#include "app/filelistcolumns.h"
#include "app/mainform.h"
#include "app/optionfile.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/settingsdialog.h"
#include "platform/base/fileutils.h"
#include "platform/base/inifiles.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/listbox.h"
#include "platform/toolkit/memo.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxskindata.h"
#include "skinfixtures.h"
#include "tests/media/mediatest.h"

namespace {

using namespace win;

TEST_F(Program, AFirstStartWritesTheDefaultsCreatesTheOutputFolderAndLoadsTheSkin) {
    Start();
    EXPECT_EQ(Application->Title(), u"VelquaAVCHD高清格式转换器");
    EXPECT_EQ(Application->HelpFile(), u"help.chm");
    EXPECT_EQ(Application->MainForm(), Form1);
    ASSERT_NE(Form2, nullptr);
    ASSERT_NE(Form5, nullptr);
    ASSERT_NE(Form6, nullptr);
    EXPECT_FALSE(Form6->Visible());
    // The preset dialog last, hidden, with the first category's formats.
    ASSERT_NE(Form7, nullptr);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), Form7);
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Form7->qxSkinOfficeComboBox1->Items()->Count(), Integer(FormatCaptions(0).size()));

    const String output = Home(u"Velqua视频软件/输出");
    EXPECT_TRUE(DirectoryExists(output));
    EXPECT_EQ(Form1->FileOutPutPath, output);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), output);
    const struct {
        const char16_t* Section;
        const char16_t* Key;
        String Value;
    } keys[] = {{u"OutPath", u"OutPath", output},       {u"Skin", u"SetSkin", u"0"},
                {u"Options", u"Thread_Count", u"0"},    {u"Options", u"After_Done", u"0"},
                {u"Options", u"Thread_Priority", u"3"}, {u"Options", u"Overwrite_File", u"1"},
                {u"Options", u"Show_Preview", u"0"}};
    for (const auto& key : keys)
        EXPECT_EQ(Option(key.Section, key.Key), key.Value) << StringToUTF8(key.Key);

    // The first skin of the list, and the dialog's defaults.
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 0);
    EXPECT_FALSE(Form1->qxSkinData1->Empty);
    EXPECT_EQ(Form5->qxSkinComboBox2->Text(), u"1");
    EXPECT_TRUE(Form5->qxSkinCheckRadioBox12->Checked());
    EXPECT_TRUE(Form5->qxSkinCheckRadioBox6->Checked());
    EXPECT_TRUE(Form5->qxSkinCheckRadioBox1->Checked());
    EXPECT_FALSE(Form5->qxSkinCheckRadioBox8->Checked());

    // The first category's formats, the first one chosen, its presets filled.
    ASSERT_EQ(Form1->qxSkinOfficeComboBox2->ItemIndex(), 0);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox2->Items()->Items(0)->Caption(), u"高清格式");
    EXPECT_EQ(Form1->qxSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox1->Items()->Count(), Integer(FormatCaptions(0).size()));
    EXPECT_GT(Form1->qxSkinComboBox1->Items()->Count(), 0);

    // All slots free, the drag flag up.
    for (const TOutputOptions& slot : Form1->OO1)
        ASSERT_EQ(slot.AudioLanguage, SlotFree);
    EXPECT_EQ(Form1->qxSkinSlider1_down_UP, u"UP");
}

TEST_F(Program, TheHostListNamesPanel6ThenTheTwentyDirectChildrenInTabOrder) {
    Start();
    const char16_t* expected[] = {u"Panel6",
                                  u"qxSkinMainMenuBar1",
                                  u"qxSkinToolBar2",
                                  u"Panel1",
                                  u"qxSkinPanel1",
                                  u"qxSkinPanel2",
                                  u"qxSkinPanel3",
                                  u"Panel3",
                                  u"qxSkinPanel5",
                                  u"qxSkinPanel4",
                                  u"Button19",
                                  u"Button27",
                                  u"edt",
                                  u"Panel4",
                                  u"Panel5",
                                  u"Panel6",
                                  u"qxSkinPanel6",
                                  u"qxSkinButton2",
                                  u"qxSkinButton10",
                                  u"qxSkinButton12",
                                  u"qxSkinButton11"};
    TStrings* names = Form1->cboScreens->Items();
    ASSERT_EQ(names->Count(), 21);
    for (Integer i = 0; i < 21; ++i)
        EXPECT_EQ(names->Strings(i), expected[i]) << i;
    EXPECT_EQ(Form1->cboScreens->ItemIndex(), 0);
}

// Stored values, the controls they give and what the file holds afterwards.
TEST_F(Program, StoredOptionsAreRestoredAndSpoiltOnesRepaired) {
    struct TCase {
        const char* Ini;
        const char16_t* Key;
        const char16_t* Stored;
        std::function<bool()> Shown;
    };
    const TCase cases[] = {
        {"Thread_Count=7", u"Thread_Count", u"7", [] { return Form5->qxSkinComboBox2->Text() == u"7"; }},
        {"Thread_Count=25", u"Thread_Count", u"0", [] { return Form5->qxSkinComboBox2->Text() == u"1"; }},
        {"After_Done=Error", u"After_Done", u"0", [] { return Form5->qxSkinCheckRadioBox1->Checked(); }},
        {"After_Done=", u"After_Done", u"0", [] { return Form5->qxSkinCheckRadioBox1->Checked(); }},
        {"After_Done=9", u"After_Done", u"0", [] { return Form5->qxSkinCheckRadioBox1->Checked(); }},
        {"After_Done=3", u"After_Done", u"3", [] { return Form5->qxSkinCheckRadioBox5->Checked(); }},
        {"Thread_Priority=2", u"Thread_Priority", u"2",
         [] { return Form5->qxSkinCheckRadioBox11->Checked() && !Form5->qxSkinCheckRadioBox12->Checked(); }},
        {"Overwrite_File=0", u"Overwrite_File", u"0", [] { return Form5->qxSkinCheckRadioBox3->Checked(); }},
        {"Show_Preview=1", u"Show_Preview", u"1",
         [] { return Form5->qxSkinCheckRadioBox8->Checked() && Form1->Strovix->Preview(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ini);
        TearDown();
        SetUp();
        WriteIni(std::string("[Options]\n") + c.Ini + "\n");
        Start();
        EXPECT_TRUE(c.Shown());
        EXPECT_EQ(Option(u"Options", c.Key), c.Stored);
    }
}

// "取消" leaves what the user changed in force but unsaved; "确定" saves it.
TEST_F(Program, TheOptionsDialogSavesOnOkOnly) {
    Start();
    Form5->qxSkinCheckRadioBox11->SetChecked(true);
    Form5->qxSkinButton1Click(nullptr);
    EXPECT_TRUE(Form5->qxSkinCheckRadioBox11->Checked());
    EXPECT_EQ(Option(u"Options", u"Thread_Priority"), u"3");

    Form5->qxSkinCheckRadioBox5->SetChecked(true);
    Form5->qxSkinComboBox2->SetItemIndex(3);
    Form5->qxSkinButton6Click(nullptr);
    EXPECT_EQ(Option(u"Options", u"Thread_Priority"), u"2");
    EXPECT_EQ(Option(u"Options", u"After_Done"), u"3");
    EXPECT_EQ(Option(u"Options", u"Thread_Count"), u"4");
}

// "设置..." opens the preset dialog on the main window's choice, and its
// "确定" brings the dialog's choice back.
TEST_F(Program, TheSettingsButtonOpensThePresetDialogOnTheMainWindowsChoice) {
    Start();
    Form1->qxSkinOfficeComboBox2->SetItemIndex(18);
    Form1->qxSkinOfficeComboBox1->SetItemIndex(2);
    bool inside = false;
    Application->OnIdle = [&](TObject*, bool& ADone) {
        ADone = true;
        if (inside || Screen->ActiveCustomForm() != Form7) return;
        inside = true;
        const formatchoice::TFormatControls dialog = Form7->Controls();
        EXPECT_EQ(dialog.qxSkinOfficeComboBox2->ItemIndex(), 18);
        EXPECT_EQ(dialog.qxSkinOfficeComboBox1->ItemIndex(), 2);
        dialog.qxSkinOfficeComboBox1->SetItemIndex(1);
        Form7->qxSkinButton2Click(nullptr);
    };
    Form1->qxSkinButton24Click(nullptr);
    Application->OnIdle = nullptr;
    EXPECT_TRUE(inside);
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Form1->qxSkinOfficeComboBox2->ItemIndex(), 18);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox1->ItemIndex(), 1);
}

TEST_F(Program, AStoredOutputFolderIsCreatedAndARelativeOneFollowsTheProgramFolder) {
    WriteIni("[OutPath]\nOutPath=片子/输出\n[Skin]\nSetSkin=x\n");
    Start();
    const String folder = ProgramFolder() + u"片子/输出";
    EXPECT_EQ(Form1->FileOutPutPath, folder);
    EXPECT_TRUE(DirectoryExists(folder));
    // Left as it was; a skin index that is no number counts as none.
    EXPECT_EQ(Option(u"OutPath", u"OutPath"), u"片子/输出");
    EXPECT_EQ(Option(u"Skin", u"SetSkin"), u"0");
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 0);
}

// A settings file that cannot be written: start-up still completes with the
// defaults in force, and says once that they are not saved.
TEST_F(Program, ARefusedSettingsFileLeavesTheDefaultsInForceAndSaysSoOnce) {
    fs::create_directory(FRoot / "program" / "option.ini");
    std::vector<String> boxes;
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* form = Screen->ActiveCustomForm();
        if (!form || form == Form1 || form->ModalResult() != mrNone) return;
        boxes.push_back(form->Caption());
        form->SetModalResult(mrOk);
    };
    Start();
    EXPECT_EQ(boxes, std::vector<String>{u"提示"});
    EXPECT_EQ(Form1->FileOutPutPath, Home(u"Velqua视频软件/输出"));
    EXPECT_TRUE(DirectoryExists(Form1->FileOutPutPath));
    EXPECT_FALSE(Form1->qxSkinData1->Empty);
    EXPECT_TRUE(Form5->qxSkinCheckRadioBox1->Checked());
}

// The program over a copy of the build's resources whose skin files a test
// spoils, every box answered and its caption kept.
class UnusableSkins : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        fs::copy(VELQUA_BUILD_DIR "/resources", FRoot / "resources", fs::copy_options::recursive);
        SetResourceFolder(UTF8ToString((FRoot / "resources").string()) + u"/");
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (!form || form == Form1 || form->ModalResult() != mrNone) return;
            Boxes.push_back(form->Caption());
            form->SetModalResult(mrOk);
        };
    }
    fs::path SkinFile(const char* AName) const { return FRoot / "resources" / "skins" / AName; }
    // The rest of the start happened all the same.
    void ExpectStarted() {
        EXPECT_EQ(Form1->qxSkinOfficeComboBox1->Items()->Count(), Integer(FormatCaptions(0).size()));
        EXPECT_GT(Form1->qxSkinComboBox1->Items()->Count(), 0);
        EXPECT_EQ(Form1->cboScreens->Items()->Count(), 21);
        EXPECT_EQ(Form1->qxSkinSlider1_down_UP, u"UP");
        ASSERT_NE(Form7, nullptr);
    }

    std::vector<String> Boxes;
};

// A skin file cut short is left out of the list with one box naming it;
// the stored choice of it gives way to the first skin.
TEST_F(UnusableSkins, AnUnreadableSkinIsLeftOutOfTheList) {
    const std::uintmax_t size = fs::file_size(SkinFile("second.skn"));
    fs::resize_file(SkinFile("second.skn"), size / 2);
    WriteIni("[Skin]\nSetSkin=1\n");
    Start();
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    ASSERT_EQ(Form1->StartNotices.size(), 1u);
    EXPECT_NE(
        Form1->StartNotices[0].find(UTF8ToString(SkinFile("second.skn").string()) + u": Stream read error"),
        String::npos)
        << StringToUTF8(Form1->StartNotices[0]);
    ASSERT_EQ(Form1->qxCompressedSkinList1->Skins()->Count(), 1);
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 0);
    EXPECT_FALSE(Form1->qxSkinData1->Empty);
    EXPECT_EQ(Form1->qxSkinData2->SkinIndex(), 0);
    // The stored choice stays for a day the file is whole again.
    EXPECT_EQ(Option(u"Skin", u"SetSkin"), u"1");
    ExpectStarted();
}

// A skin whose data reads but does not make a skin: one box, the plain
// look, and everything else of the start.
TEST_F(UnusableSkins, ASkinThatFailsToLoadLeavesTheDefaultLook) {
    std::ofstream(SkinFile("default.skn"), std::ios::binary | std::ios::trunc)
        << skinfixtures::Container(skinfixtures::Deflate("\3\0\0\0 no pictures, no text"));
    Start();
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    ASSERT_EQ(Form1->StartNotices.size(), 1u);
    EXPECT_TRUE(Form1->StartNotices[0].starts_with(u"无法载入皮肤“default”："))
        << StringToUTF8(Form1->StartNotices[0]);
    EXPECT_TRUE(Form1->qxSkinData1->Empty);
    EXPECT_TRUE(Form1->qxSkinData2->Empty);
    ExpectStarted();
    // The other skin still serves.
    Form1->ApplySkin(1);
    EXPECT_FALSE(Form1->qxSkinData1->Empty);
}

TEST_F(Program, TheHelpAndWebCommandsOpenTheirAddressesAndClosingEndsTheLoop) {
    Start();
    Form1->N19Click(nullptr);
    Form1->EMAIL1Click(nullptr);
    Form1->Button1Click(nullptr);
    // F1 reaches "帮助系统" through the main menu's short cut.
    TWMKey f1{WM_KEYDOWN, VK_F1, 0, 0};
    EXPECT_TRUE(Form1->IsShortCut(f1));
    const std::vector<driver::TShellOpen> opens = driver::ShellOpens();
    ASSERT_EQ(opens.size(), 4u);
    EXPECT_EQ(opens[0].Target, u"https://www.velqua.example/");
    EXPECT_EQ(opens[1].Target, u"mailto:support@velqua.example");
    EXPECT_EQ(opens[2].Target, ProgramFolder() + u"help.chm");
    EXPECT_EQ(opens[3].Target, u"https://www.velqua.example/help/");

    Form1->N4Click(nullptr);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
}

TEST(FileTexts, DurationsAndSizesAsTheRowsShowThem) {
    EXPECT_EQ(SecToDate(0), u"00:00:00");
    EXPECT_EQ(SecToDate(3661), u"01:01:01");
    EXPECT_EQ(SecToDate(25 * 3600 + 59), u"01:00:59");
    const struct {
        Int64 Bytes;
        const char16_t* Text;
    } sizes[] = {{2 * 1048576, u"2MB"}, {1572864, u"1.5MB"}, {0, u"0MB"},
                 {131072, u"0.12MB"},   {393216, u"0.38MB"}, {1048576 + 15729, u"1.02MB"}};
    for (const auto& size : sizes)
        EXPECT_EQ(MegabytesText(size.Bytes), size.Text) << size.Bytes;
}

// Answers every box with OK and keeps its caption and text.
class Adding : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (!form || form == Form1 || form->ModalResult() != mrNone) return;
            Boxes.push_back(form->Caption());
            form->SetModalResult(mrOk);
        };
        Start();
        Boxes.clear();
    }
    String Text(const char* AName) {
        const fs::path path = FRoot / AName;
        std::ofstream(path) << "no media here\n";
        return UTF8ToString(path.string());
    }
    String Clip(const char* AName) {
        const fs::path path = FRoot / AName;
        fs::copy_file(StringToUTF8(TestDataFile(u"short.avi")), path);
        return UTF8ToString(path.string());
    }
    std::vector<String> Boxes;
};

// Several files a, b, c appear as c, a when b is no media file; each row
// carries its task and every option; the first two slots are taken.
TEST_F(Adding, SeveralFilesAppearInReverseOrderSkippingOneThatFailsToProbe) {
    const String a = Clip("a.avi"), b = Text("b.avi"), c = Clip("c.avi");
    Form1->AddFiles({a, b, c});
    EXPECT_TRUE(Boxes.empty());
    TListItems* rows = Form1->lvFiles->Items();
    ASSERT_EQ(rows->Count(), 2);
    EXPECT_EQ(rows->Item(0)->Caption(), c);
    EXPECT_EQ(rows->Item(1)->Caption(), a);
    EXPECT_EQ(LogCount(u"***File load error: "), 1);
    EXPECT_EQ(LogCount(u"***Can do convert."), 2);

    TStrings* sub = rows->Item(1)->SubItems();
    ASSERT_EQ(sub->Count(), FileListSubItemCount);
    EXPECT_EQ(sub->Strings(ColDuration), u"00:00:01");
    EXPECT_TRUE(sub->Strings(ColFileSize).ends_with(u"MB"));
    EXPECT_EQ(sub->Strings(ColOutputFile), u"a" + ExtractFileExt(sub->Strings(ColOutputFile)));
    EXPECT_EQ(sub->Strings(ColTaskNumber), u"2");
    EXPECT_EQ(sub->Strings(ColFormatKey), u"100");  // first category, first format
    EXPECT_EQ(sub->Strings(ColComboIndices).size(), 12u);
    EXPECT_EQ(sub->Strings(ColProgress), u"");
    EXPECT_EQ(sub->Strings(ColDisableVideo), u"False");

    EXPECT_EQ(Form1->lvFiles->Selected(), rows->Item(1));
    EXPECT_FALSE(Form1->qxSkinPanel5->Visible());
    EXPECT_TRUE(Form1->btnStart->Enabled());
    EXPECT_TRUE(Form1->btnClear->Enabled());
    EXPECT_EQ(Form1->OO1[0].AudioLanguage, SlotFull);
    EXPECT_EQ(Form1->OO1[1].AudioLanguage, SlotFull);
    EXPECT_EQ(Form1->OO1[2].AudioLanguage, SlotFree);
    EXPECT_EQ(Form1->IO1[0].FileName, c);
    EXPECT_EQ(Form1->Strovix->TasksCount(), 2);
}

// With every slot taken the file still gets its row and task, and nothing
// is written past the slots.
TEST_F(Adding, AFileBeyondTheLastSlotIsStillAdded) {
    for (TOutputOptions& slot : Form1->OO1)
        slot.AudioLanguage = SlotFull;
    Form1->AddOneFile(Clip("a.avi"));
    EXPECT_EQ(Form1->lvFiles->Items()->Count(), 1);
    EXPECT_EQ(Form1->Strovix->TasksCount(), 1);
}

TEST_F(Adding, AFolderWithoutMediaAddsNothingAndSaysSo) {
    fs::create_directory(FRoot / "texts");
    const String one = Text("texts/one.txt"), two = Text("texts/two.txt");
    Form1->AddFolder(UTF8ToString((FRoot / "texts").string()));
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    EXPECT_EQ(Form1->lvFiles->Items()->Count(), 0);
    EXPECT_EQ(LogCount(u"***File load error: "), 2);
    EXPECT_EQ(Form1->ListBox1->Items()->Count(), 2);
    EXPECT_TRUE(Form1->qxSkinPanel5->Visible());

    // A folder that is no absolute path, or is missing, ends silently.
    Boxes.clear();
    Form1->AddFolder(u"texts");
    Form1->AddFolder(UTF8ToString((FRoot / "missing").string()));
    EXPECT_TRUE(Boxes.empty());
}

// A format whose encoder the libraries lack: one box, nothing added.
TEST_F(Adding, AFormatWithoutItsEncoderIsRefusedWithOneBox) {
    ASSERT_FALSE(UnavailableEncoder(112).empty());
    for (Integer category = 0; category < 19; ++category)
        for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format)
            if (FormatKeyOf(category, format) == 112) {
                Form1->qxSkinOfficeComboBox2->SetItemIndex(category);
                Form1->qxSkinOfficeComboBox1->SetItemIndex(format);
            }
    ASSERT_EQ(formatchoice::ChosenFormatKey(Form1->FormatControls()), 112);
    Form1->AddFiles({Clip("a.avi"), Clip("b.avi")});
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    EXPECT_EQ(Form1->lvFiles->Items()->Count(), 0);
    EXPECT_EQ(Form1->Strovix->TasksCount(), 0);
}

// Four rows with task numbers 1 to 4 (the clip list is added in reverse).
class Editing : public Adding {
protected:
    void SetUp() override {
        Adding::SetUp();
        Form1->AddFiles({Clip("d.avi"), Clip("c.avi"), Clip("b.avi"), Clip("a.avi")});
        ASSERT_EQ(Rows()->Count(), 4);
    }
    TListItems* Rows() { return Form1->lvFiles->Items(); }
    String Cell(Integer ARow, Integer AColumn) { return Rows()->Item(ARow)->SubItems()->Strings(AColumn); }
    std::vector<String> Numbers() {
        std::vector<String> numbers;
        for (Integer i = 0; i < Rows()->Count(); ++i)
            numbers.push_back(Cell(i, ColTaskNumber));
        return numbers;
    }
};

TEST_F(Editing, RemovingRenumbersTheTasksAndTheLastRemovalEmptiesTheList) {
    Form1->lvFiles->SetItemIndex(1);
    Form1->btnRemoveClick(nullptr);
    EXPECT_EQ(Numbers(), (std::vector<String>{u"1", u"2", u"3"}));
    EXPECT_EQ(Form1->Strovix->TasksCount(), 3);
    EXPECT_EQ(Form1->OO1[1].AudioLanguage, SlotDeleted);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_EQ(Rows()->Item(1)->Caption(), UTF8ToString((FRoot / "c.avi").string()));

    Form1->lvFiles->SetSelected(nullptr);
    Form1->btnRemoveClick(nullptr);
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    EXPECT_EQ(Rows()->Count(), 3);

    for (int i = 0; i < 3; ++i) {
        Form1->lvFiles->SetItemIndex(0);
        Form1->btnRemoveClick(nullptr);
    }
    EXPECT_EQ(Rows()->Count(), 0);
    EXPECT_TRUE(Form1->qxSkinPanel5->Visible());
    EXPECT_FALSE(Form1->btnStart->Enabled());
    EXPECT_FALSE(Form1->qxSkinButton7->Enabled());
}

TEST_F(Editing, ClearingFreesEverySlotAndEnablesTheAddCommands) {
    Form1->btnAdd->SetEnabled(false);
    Form1->btnClearClick(nullptr);
    EXPECT_EQ(Rows()->Count(), 0);
    EXPECT_EQ(Form1->Strovix->TasksCount(), 0);
    EXPECT_TRUE(Form1->btnAdd->Enabled());
    EXPECT_FALSE(Form1->btnClear->Enabled());
    for (const TOutputOptions& slot : Form1->OO1)
        ASSERT_EQ(slot.AudioLanguage, SlotFree);
}

TEST_F(Editing, MovingExchangesWholeRowsAndStopsAtTheEnds) {
    const String first = Rows()->Item(0)->Caption(), third = Rows()->Item(2)->Caption();
    Form1->lvFiles->SetItemIndex(0);
    Form1->qxSkinButton3Click(nullptr);
    EXPECT_EQ(Rows()->Item(0)->Caption(), first);
    Form1->lvFiles->SetItemIndex(2);
    Form1->qxSkinButton3Click(nullptr);
    EXPECT_EQ(Rows()->Item(1)->Caption(), third);
    EXPECT_EQ(Numbers(), (std::vector<String>{u"1", u"3", u"2", u"4"}));
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 1);
    EXPECT_EQ(Rows()->Count(), 4);
    Form1->lvFiles->SetItemIndex(3);
    Form1->qxSkinButton4Click(nullptr);
    EXPECT_EQ(Numbers(), (std::vector<String>{u"1", u"3", u"2", u"4"}));
}

// Renaming: the format's extension follows the typed name; an empty text
// keeps the edit open; a folder part is refused; another row's name is
// numbered.
TEST_F(Editing, RenamingAppliesTheFormatsExtensionAndNeverSharesAName) {
    Form1->lvFiles->SetItemIndex(0);
    const String name = Cell(0, ColOutputFile);
    const String extension = ExtractFileExt(name);
    Form1->qxSkinButton21Click(nullptr);
    EXPECT_EQ(Form1->edt->Text() + extension, name);
    const struct {
        const char16_t* Typed;
        String Shown;
        bool EditVisible;
    } cases[] = {{u"holiday", u"holiday" + extension, false},
                 {u"a.avi", u"a.avi" + extension, false},
                 {u"", u"a.avi" + extension, true},
                 {u"../outside", u"a.avi" + extension, true},
                 {u"b", u"b_1" + extension, false}};
    for (const auto& c : cases) {
        Form1->edt->SetVisible(true);
        Form1->edt->SetText(c.Typed);
        Form1->edtExit(nullptr);
        EXPECT_EQ(Cell(0, ColOutputFile), c.Shown) << StringToUTF8(c.Typed);
        EXPECT_EQ(Form1->edt->Visible(), c.EditVisible) << StringToUTF8(c.Typed);
    }
    EXPECT_EQ(Form1->OO1[0].FileName, Form1->FileOutPutPath + u"/b_1" + extension);

    // With no row selected nothing is written.
    Form1->lvFiles->SetSelected(nullptr);
    Form1->edt->SetText(u"zzz");
    Form1->edtExit(nullptr);
    EXPECT_FALSE(Form1->edt->Visible());
    EXPECT_EQ(Cell(0, ColOutputFile), u"b_1" + extension);
}

// Selecting a row writes its stored choices back into the pickers; a row
// whose stored texts are no numbers restores nothing.
TEST_F(Editing, SelectingARowRestoresItsStoredChoices) {
    Rows()->Item(2)->SubItems()->SetStrings(ColFormatKey, u"1912");
    Form1->lvFiles->SetItemIndex(2);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox2->ItemIndex(), 18);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox1->ItemIndex(), 12);
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, Rows()->Item(2)->Caption());

    Rows()->Item(1)->SubItems()->SetStrings(ColFormatKey, u"x");
    Form1->lvFiles->SetItemIndex(1);
    EXPECT_EQ(Form1->qxSkinOfficeComboBox2->ItemIndex(), 18);
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, Rows()->Item(2)->Caption());
}

}  // namespace
