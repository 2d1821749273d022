// The program's start-up on the memory back end: a temporary program
// folder and home, the build's resources, the forms as main creates them.
#include "app/program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/optionfile.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/settingsdialog.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "platform/base/fileutils.h"
#include "platform/base/inifiles.h"
#include "platform/base/ustring.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/formloader.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/core/qxskindata.h"

namespace {

namespace fs = std::filesystem;
using namespace win;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        FRoot = fs::path(::testing::TempDir()) / ("velqua-program-" + std::string(test->name()));
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "program");
        fs::create_directories(FRoot / "home");
        FSavedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (FRoot / "home").c_str(), 1);
        SetProgramFolder(UTF8ToString((FRoot / "program").string()));
        SetResourceFolder(UTF8ToString(VELQUA_BUILD_DIR "/resources/"));
        driver::Reset();
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        Free(Application);
        Application = nullptr;
        Free(Screen);
        Screen = nullptr;
        Form1 = nullptr;
        Form2 = nullptr;
        Form5 = nullptr;
        Form6 = nullptr;
        Form7 = nullptr;
        PresetDialogTarget = {};
        SetProgramFolder({});
        setenv("HOME", FSavedHome.c_str(), 1);
        fs::remove_all(FRoot);
    }
    // Starts the program and settles its first paints.
    void Start() {
        CreateProgramForms();
        Form1->Show();
        driver::Pump();
    }
    void WriteIni(const std::string& AText) { std::ofstream(FRoot / "program" / "option.ini") << AText; }
    String Option(const char16_t* ASection, const char16_t* AKey) {
        return TIniFile(OptionFileName()).ReadString(ASection, AKey, u"(absent)");
    }
    String Home(const char16_t* APath) const { return UTF8ToString((FRoot / "home").string()) + u"/" + APath; }

    fs::path FRoot;
    std::string FSavedHome;
};

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
    } keys[] = {{u"OutPath", u"OutPath", output},          {u"Skin", u"SetSkin", u"0"},
                {u"Options", u"Thread_Count", u"0"},      {u"Options", u"After_Done", u"0"},
                {u"Options", u"Thread_Priority", u"3"},   {u"Options", u"Overwrite_File", u"1"},
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
    const char16_t* expected[] = {u"Panel6",        u"qxSkinMainMenuBar1", u"qxSkinToolBar2", u"Panel1",
                                  u"qxSkinPanel1",  u"qxSkinPanel2",       u"qxSkinPanel3",   u"Panel3",
                                  u"qxSkinPanel5",  u"qxSkinPanel4",       u"Button19",       u"Button27",
                                  u"edt",           u"Panel4",             u"Panel5",         u"Panel6",
                                  u"qxSkinPanel6",  u"qxSkinButton2",      u"qxSkinButton10", u"qxSkinButton12",
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

}  // namespace
