// The main window's run on the memory back end: files added through the
// open and folder dialogs, rows turned into tasks at Start, the command
// groups through a run, the reports in the rows, the action after the run,
// and whole runs of real clips stopped, finished and cut short by closing.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>

extern "C" {
#include <libavformat/avformat.h>
}

#include "app/filelistcolumns.h"
#include "media/avprobe.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/listbox.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/menus.h"
#include "programfixture.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/dialogs/qxmessages.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/dialogs/qxskinselectdir.h"
#include "tests/media/mediatest.h"

namespace {

namespace fs = std::filesystem;
namespace driver = win::driver;

// Runs the GUI thread's queued calls until ADone holds; false after ATimeout ms.
bool RunUntil(const std::function<bool()>& ADone, Cardinal ATimeout = 120000) {
    std::mutex mutex;
    std::condition_variable_any condition;
    std::unique_lock<std::mutex> lock(mutex);
    return WaitForCondition(lock, condition, ADone, ATimeout);
}

// Whether each command group is enabled, read from all its members.
struct TGroups {
    bool Add, Remove, Rename, Clear, Start, SkinnedStart, Stop, Pause, Resume, Choice, Move;
    friend bool operator==(const TGroups&, const TGroups&) = default;
};

std::ostream& operator<<(std::ostream& AStream, const TGroups& A) {
    return AStream << "add " << A.Add << " remove " << A.Remove << " rename " << A.Rename << " clear "
                   << A.Clear << " start " << A.Start << " skinned start " << A.SkinnedStart << " stop "
                   << A.Stop << " pause " << A.Pause << " resume " << A.Resume << " choice " << A.Choice
                   << " move " << A.Move;
}

// A group whose members disagree reads as neither: the test names it.
bool Same(std::initializer_list<bool> AStates, const char* AGroup) {
    const bool first = *AStates.begin();
    for (bool state : AStates)
        EXPECT_EQ(state, first) << AGroup << " members disagree";
    return first;
}

TGroups Groups() {
    TForm1* f = Form1;
    return {
        Same({f->btnAdd->Enabled(), f->qxSkinMenuSpeedButton1->Enabled(), f->Item111->Enabled(),
              f->Item121->Enabled(), f->N21->Enabled(), f->N11111->Enabled(), f->N2222->Enabled(),
              f->N3331->Enabled()},
             "add"),
        Same({f->btnRemove->Enabled(), f->qxSkinButton7->Enabled(), f->N13->Enabled()}, "remove"),
        Same({f->qxSkinButton21->Enabled(), f->N26->Enabled()}, "rename"),
        Same({f->btnClear->Enabled(), f->qxSkinButton8->Enabled(), f->N14->Enabled()}, "clear"),
        Same({f->btnStart->Enabled(), f->N7->Enabled()}, "start"),
        f->qxSkinButton2->Enabled(),
        Same({f->btnStop->Enabled(), f->qxSkinButton10->Enabled(), f->N8->Enabled()}, "stop"),
        Same({f->btnPause->Enabled(), f->qxSkinButton11->Enabled(), f->N10->Enabled()}, "pause"),
        Same({f->btnResume->Enabled(), f->qxSkinButton12->Enabled(), f->N11->Enabled()}, "resume"),
        Same({f->qxSkinComboBox1->Enabled(), f->qxSkinComboBox2->Enabled(), f->qxSkinComboBox3->Enabled(),
              f->qxSkinComboBox4->Enabled(), f->qxSkinComboBox9->Enabled(), f->qxSkinComboBox10->Enabled(),
              f->qxSkinOfficeComboBox2->Enabled(), f->qxSkinOfficeComboBox1->Enabled(),
              f->qxSkinButton5->Enabled(), f->qxSkinButton24->Enabled()},
             "choice"),
        Same({f->qxSkinButton3->Enabled(), f->qxSkinButton4->Enabled(), f->N111->Enabled(),
              f->N2221->Enabled()},
             "move")};
}

// The program with its settings in a temporary folder; the dialogs are
// answered by the step the test sets for them, every other box with OK.
class Run : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        // Selecting a row opens it in the preview.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        FOutput = FRoot / "output";
        fs::create_directories(FOutput);
        fs::create_directories(FRoot / "clips");
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (!form || form == Form1 || form->ModalResult() != mrNone) return;
            if (auto* open = dynamic_cast<TqxOpenDlgForm*>(form)) {
                if (OpenStep) OpenStep(open);
                return;
            }
            if (auto* folder = dynamic_cast<TqxSelDirDlgForm*>(form)) {
                if (FolderStep) FolderStep(folder);
                return;
            }
            Boxes.push_back(form->Caption());
            if (auto* box = dynamic_cast<TqxMessageForm*>(form)) Texts.push_back(box->Message->Caption());
            form->SetModalResult(mrOk);
        };
    }
    // Starts the program with these options beside the output folder.
    void StartWith(const std::string& AAfterDone, const std::string& AThreads = "2") {
        WriteIni("[OutPath]\nOutPath=" + FOutput.string() + "\n[Options]\nThread_Count=" + AThreads +
                 "\nAfter_Done=" + AAfterDone + "\n");
        Start();
    }
    String Clip(const char* AFixture, const char* AName) {
        const fs::path path = FRoot / "clips" / AName;
        fs::copy_file(StringToUTF8(TestDataFile(UTF8ToString(AFixture))), path,
                      fs::copy_options::overwrite_existing);
        return UTF8ToString(path.string());
    }
    // Chooses the format of that key in the main window's pickers.
    static void ChooseFormat(Integer AKey) {
        for (Integer category = 0; category < 19; ++category)
            for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format)
                if (FormatKeyOf(category, format) == AKey) {
                    Form1->qxSkinOfficeComboBox2->SetItemIndex(category);
                    Form1->qxSkinOfficeComboBox1->SetItemIndex(format);
                }
        ASSERT_EQ(formatchoice::ChosenFormatKey(Form1->FormatControls()), AKey);
    }
    // The open dialog's steps as a user takes them: the clips' folder typed
    // and entered, then the files selected and Open pressed.
    void PickInOpenDialog(std::vector<String> ANames) {
        OpenStep = [this, ANames, typed = false](TqxOpenDlgForm* AForm) mutable {
            if (!typed) {
                typed = true;
                char16_t enter = u'\r';
                AForm->FileNameEdit->SetText(UTF8ToString((FRoot / "clips").string()) + u"/");
                AForm->EditKeyPress(nullptr, enter);
                return;
            }
            TListItems* items = AForm->FileListView->Items();
            for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
                for (const String& name : ANames)
                    if (AForm->FileListView->FolderAt(i)->DisplayName() == name)
                        items->Item(i)->SetSelected(true);
            AForm->OpenButton->Click();
        };
    }
    TListItems* Rows() { return Form1->lvFiles->Items(); }
    String Cell(Integer ARow, Integer AColumn) { return Rows()->Item(ARow)->SubItems()->Strings(AColumn); }
    Integer LogCount(const String& ALine) {
        TStrings* lines = Form1->mmoLog->Lines();
        Integer count = 0;
        for (Integer i = 0; i < lines->Count(); ++i)
            count += lines->Strings(i).starts_with(ALine);
        return count;
    }
    bool RunEnded() { return Form1->btnClear->Enabled() && !Form1->btnStop->Enabled(); }
    String Output(const char* AName) const { return UTF8ToString((FOutput / AName).string()); }

    fs::path FOutput;
    std::function<void(TqxOpenDlgForm*)> OpenStep;
    std::function<void(TqxSelDirDlgForm*)> FolderStep;
    std::vector<String> Boxes;
    // The texts of the skinned message boxes among them.
    std::vector<String> Texts;
};

// A run of two clips chosen in the several-files dialog, towards AVI with
// MPEG-4 "XVID" and MP3, to its end.
TEST_F(Run, TwoClipsChosenInTheOpenDialogConvertToTheEnd) {
    StartWith("3");
    const String a = Clip("short.avi", "a.avi"), b = Clip("clip2.avi", "b.avi");
    ChooseFormat(0);
    PickInOpenDialog({u"a.avi", u"b.avi"});
    Form1->Item121->Click();
    ASSERT_EQ(Rows()->Count(), 2);
    EXPECT_EQ(Rows()->Item(0)->Caption(), b);
    EXPECT_EQ(Rows()->Item(1)->Caption(), a);

    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(Cell(0, ColProgress), u"100%");
    EXPECT_EQ(Cell(1, ColProgress), u"100%");
    EXPECT_TRUE(Boxes.empty());

    const struct {
        const char* Name;
        double Seconds;
    } outputs[] = {{"a.avi", 1.0}, {"b.avi", 2.0}};
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.Name);
        TAVProbe probe(nullptr);
        ASSERT_TRUE(probe.LoadFile(Output(output.Name), String())) << StringToUTF8(probe.LastErrMsg());
        const AVCodecParameters* video = probe.FileHandle()->streams[probe.FirstVideoStreamIndex()]->codecpar;
        EXPECT_EQ(video->codec_id, AV_CODEC_ID_MPEG4);
        EXPECT_EQ(video->codec_tag, MKTAG('X', 'V', 'I', 'D'));
        EXPECT_EQ(probe.FileHandle()->streams[probe.FirstAudioStreamIndex()]->codecpar->codec_id,
                  AV_CODEC_ID_MP3);
        EXPECT_NEAR(double(probe.FileStreamInfo().Duration) / 1e6, output.Seconds, 0.15);
    }
    // Ended: only Clear is offered, and nothing was done outside.
    EXPECT_EQ(Groups(), (TGroups{false, false, false, true, false, false, false, false, false, true, true}));
    EXPECT_TRUE(driver::ShellOpens().empty());
    EXPECT_TRUE(driver::Sounds().empty());
    EXPECT_EQ(driver::PowerOffs(), 0);
}

// Stop at the first report of both rows of a long run: both workers end,
// neither row is done, the skinned Start comes back and the end of the run
// opens the output folder once.
TEST_F(Run, StopMidRunEndsBothWorkersAndStillRunsTheActionAfterIt) {
    StartWith("0");
    const String clip = Clip("clip30.avi", "clip.avi");
    ChooseFormat(202);
    for (int i = 0; i < 2; ++i) {
        PickInOpenDialog({u"clip.avi"});
        Form1->Item111->Click();
    }
    ASSERT_EQ(Rows()->Count(), 2);
    EXPECT_EQ(Cell(0, ColOutputFile), u"clip.mp4");
    EXPECT_EQ(Cell(1, ColOutputFile), u"clip_1.mp4");

    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return !Cell(0, ColProgress).empty() && !Cell(1, ColProgress).empty(); }));
    EXPECT_NE(Cell(0, ColProgress), u"100%");
    Form1->qxSkinButton10->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_NE(Cell(0, ColProgress), u"100%");
    EXPECT_NE(Cell(1, ColProgress), u"100%");
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Groups(), (TGroups{false, false, false, true, false, true, false, false, false, true, true}));
    EXPECT_EQ(driver::ShellOpens(), (std::vector<driver::TShellOpen>{{u"", Form1->FileOutPutPath}}));
}

// Closing during a run stops it and ends the program's loop without the
// action after the run; every form is freed with the application.
TEST_F(Run, ClosingDuringARunEndsTheLoopWithoutTheActionAfterIt) {
    StartWith("0");
    ChooseFormat(202);
    Form1->AddOneFile(Clip("clip30.avi", "clip.avi"));
    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return !Cell(0, ColProgress).empty(); }));
    const auto idle = Application->OnIdle;
    Application->OnIdle = [](TObject*, bool&) { Form1->Close(); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_NE(Cell(0, ColProgress), u"100%");
    EXPECT_TRUE(driver::ShellOpens().empty());

    Application->OnIdle = nullptr;
    Free(Application);
    Application = nullptr;
    EXPECT_EQ(Screen->FormCount(), 0);
}

// The command groups through Start, Pause, Resume and the end of the run,
// with 上移/下移 and "设置..." locked while it runs.
TEST_F(Run, TheCommandGroupsFollowTheRun) {
    StartWith("3");
    EXPECT_EQ(Groups(), (TGroups{true, false, false, false, false, false, false, false, false, true, true}));
    ChooseFormat(0);
    Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi")});
    const TGroups rows{true, true, true, true, true, true, false, false, false, true, true};
    EXPECT_EQ(Groups(), rows);

    Form1->qxSkinButton2->Click();
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, true, false, false, false}));
    Form1->qxSkinButton11->Click();
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, false, true, false, false}));
    EXPECT_FALSE(Form1->qxSkinButton11->Visible());
    EXPECT_TRUE(Form1->qxSkinButton12->Visible());
    Form1->qxSkinButton12->Click();
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, true, false, false, false}));
    EXPECT_TRUE(Form1->qxSkinButton11->Visible());
    EXPECT_FALSE(Form1->qxSkinButton12->Visible());

    // Stopped while paused: the skinned Start is offered again, and Pause,
    // not the disabled Resume, is the button shown for the next run.
    Form1->qxSkinButton11->Click();
    Form1->qxSkinButton10->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(Groups(), (TGroups{false, false, false, true, false, true, false, false, false, true, true}));
    EXPECT_TRUE(Form1->qxSkinButton11->Visible());
    EXPECT_FALSE(Form1->qxSkinButton12->Visible());

    // The skinned Start runs the same rows again, to their end.
    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(Cell(0, ColProgress), u"100%");
    EXPECT_EQ(Cell(1, ColProgress), u"100%");
    EXPECT_EQ(Groups(), (TGroups{false, false, false, true, false, false, false, false, false, true, true}));

    // Clearing leads back to the empty list.
    Form1->qxSkinButton8->Click();
    EXPECT_EQ(Groups(), (TGroups{true, false, false, false, false, false, false, false, false, true, true}));
    EXPECT_EQ(Form1->Strovix->TasksCount(), 0);
}

// The 动作 menu reaches the run's commands as the skinned buttons do.
TEST_F(Run, TheActionMenuRunsTheCommands) {
    StartWith("3");
    ChooseFormat(0);
    Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi")});
    Form1->N7->Click();
    EXPECT_TRUE(Form1->Strovix->Working());
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, true, false, false, false}));
    Form1->N10->Click();
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, false, true, false, false}));
    EXPECT_TRUE(Form1->qxSkinButton12->Visible());
    Form1->N11->Click();
    EXPECT_EQ(Groups(), (TGroups{false, false, false, false, false, false, true, true, false, false, false}));
    EXPECT_TRUE(Form1->qxSkinButton11->Visible());
    Form1->N8->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(Groups(), (TGroups{false, false, false, true, false, true, false, false, false, true, true}));
}

// A row that cannot become a task refuses Start before anything changes:
// the log and one box name the file and the reason; without that row the
// run goes ahead.
TEST_F(Run, ARowThatCannotBecomeATaskRefusesTheStart) {
    StartWith("3");
    ChooseFormat(0);
    const struct {
        const char* Name;
        std::function<void(Integer ARow, const String& AFile)> Spoil;
        const char16_t* Logged;
    } cases[] = {
        {"channels",
         [&](Integer ARow, const String&) {
             Rows()->Item(ARow)->SubItems()->SetStrings(ColAudioChannels, u"x");
         },
         u"***Cannot do convert, error: "},
        {"gone", [](Integer, const String& AFile) { fs::remove(StringToUTF8(AFile)); },
         u"***File open error: "},
        {"codec",
         [&](Integer ARow, const String&) {
             Rows()->Item(ARow)->SubItems()->SetStrings(ColVideoCodec, u"nosuchcodec");
         },
         u"***Cannot do convert, error: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Form1->qxSkinButton8->Click();
        const String good = Clip("short.avi", "good.avi"), bad = Clip("short.avi", "bad.avi");
        Form1->AddFiles({good, bad});
        ASSERT_EQ(Rows()->Count(), 2);
        c.Spoil(0, bad);
        Boxes.clear();
        Texts.clear();
        const Integer logged = LogCount(c.Logged);
        const TGroups before = Groups();
        Form1->qxSkinButton2->Click();
        EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
        ASSERT_EQ(Texts.size(), 1u);
        EXPECT_NE(Texts[0].find(bad), String::npos) << StringToUTF8(Texts[0]);
        // The reason follows the name: the log line's text after its prefix.
        TStrings* lines = Form1->mmoLog->Lines();
        String reason;
        for (Integer i = 0; i < lines->Count(); ++i)
            if (lines->Strings(i).starts_with(c.Logged))
                reason = lines->Strings(i).substr(std::u16string_view(c.Logged).size());
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(Texts[0].ends_with(reason)) << StringToUTF8(Texts[0]);
        EXPECT_EQ(LogCount(c.Logged), logged + 1);
        EXPECT_EQ(Groups(), before);
        EXPECT_FALSE(Form1->Strovix->Working());

        Form1->lvFiles->SetItemIndex(0);
        Form1->qxSkinButton7->Click();
        ASSERT_EQ(Rows()->Count(), 1);
        Form1->qxSkinButton2->Click();
        ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
        EXPECT_EQ(Cell(0, ColProgress), u"100%");
        EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    }
}

// The action chosen for the end of a run, at the end-of-run report.
TEST_F(Run, TheActionAfterTheRunFollowsTheChoice) {
    StartWith("3");
    const char* savedCI = std::getenv("CI");
    const std::string ci = savedCI ? savedCI : "";
    unsetenv("CI");
    fs::create_directories(FRoot / "program" / "sounds");
    std::ofstream(FRoot / "program" / "sounds" / "ring001.wav") << "RIFF";
    const struct {
        TqxSkinCheckRadioBox* Choice;
        size_t Opens, Sounds;
        int PowerOffs;
    } cases[] = {{Form5->qxSkinCheckRadioBox1, 1, 0, 0},
                 {Form5->qxSkinCheckRadioBox2, 0, 0, 1},
                 {Form5->qxSkinCheckRadioBox4, 0, 1, 0},
                 {Form5->qxSkinCheckRadioBox5, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUTF8(c.Choice->Caption()));
        driver::Reset();
        c.Choice->SetChecked(true);
        Form1->StrovixTerminate(nullptr, {-1, true, false, {}});
        EXPECT_EQ(driver::ShellOpens().size(), c.Opens);
        EXPECT_EQ(driver::Sounds().size(), c.Sounds);
        EXPECT_EQ(driver::PowerOffs(), c.PowerOffs);
    }
    EXPECT_EQ(driver::ShellOpens().size(), 0u);

    // Power-off is refused while CI is set; a missing sound plays nothing.
    driver::Reset();
    setenv("CI", "true", 1);
    Form5->qxSkinCheckRadioBox2->SetChecked(true);
    Form1->StrovixTerminate(nullptr, {-1, true, false, {}});
    EXPECT_EQ(driver::PowerOffs(), 0);
    fs::remove(FRoot / "program" / "sounds" / "ring001.wav");
    Form5->qxSkinCheckRadioBox4->SetChecked(true);
    Form1->StrovixTerminate(nullptr, {-1, true, false, {}});
    EXPECT_TRUE(driver::Sounds().empty());
    EXPECT_TRUE(Boxes.empty());
    if (savedCI) {
        setenv("CI", ci.c_str(), 1);
    } else {
        unsetenv("CI");
    }
}

// Reports written into the row of their task; a failed task shows one box.
TEST_F(Run, ReportsLandInTheRowOfTheirTask) {
    StartWith("3");
    ChooseFormat(0);
    Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi")});
    const struct {
        Int64 Current, Total, Size;
        Integer FPS;
        const char16_t *Progress, *Fps, *Time, *Megabytes;
    } reports[] = {
        {37000000, 100000000, 1048576, 25, u"37%", u"25", u"00:00:37", u"1MB"},
        {5000000, 0, 0, 0, u"N/A", u"25", u"00:00:05", u"0MB"},
        {101000000, 100000000, 5000000, 0, u"101%", u"25", u"00:01:41", u"4.77MB"},
        {3599000000, -1, 131072, 30, u"N/A", u"30", u"00:59:59", u"0.12MB"},
    };
    for (const auto& r : reports) {
        TProgressInfo info{1, 0, 0, r.FPS, 0, 0, r.Size, r.Current, r.Total};
        Form1->StrovixProgress(nullptr, &info);
        EXPECT_EQ(Cell(1, ColProgress), r.Progress);
        EXPECT_EQ(Cell(1, ColFPS), r.Fps);
        EXPECT_EQ(Cell(1, ColCurrentTime), r.Time);
        EXPECT_EQ(Cell(1, ColCurrentSize), r.Megabytes);
    }
    EXPECT_EQ(Cell(0, ColProgress), u"");

    Form1->StrovixTerminate(nullptr, {0, true, false, {}});
    EXPECT_EQ(Cell(0, ColProgress), u"100%");
    // A failure marks its row, also one that had finished, and shows one box.
    Form1->StrovixTerminate(nullptr, {1, false, true, u"encoder failed"});
    EXPECT_EQ(Cell(1, ColProgress), FailedRowText);
    EXPECT_EQ(Boxes, std::vector<String>{u"VelquaAVCHD高清格式转换器"});
    Form1->StrovixTerminate(nullptr, {0, true, true, u"trailer failed"});
    EXPECT_EQ(Cell(0, ColProgress), FailedRowText);
    EXPECT_EQ(Boxes.size(), 2u);
    // A stopped task leaves its row as it was.
    Form1->StrovixTerminate(nullptr, {1, false, false, {}});
    EXPECT_EQ(Cell(1, ColProgress), FailedRowText);

    Form1->FFLoggerLog(nullptr, 2344, llInfo, u"hello");
    TStrings* lines = Form1->mmoLog->Lines();
    EXPECT_EQ(lines->Strings(lines->Count() - 1), u"#2344.5: hello");
}

// Each add command reaches its dialog; a cancelled dialog adds nothing, a
// folder without media says so.
TEST_F(Run, TheAddCommandsOpenTheirDialogs) {
    StartWith("3");
    EXPECT_EQ(Form1->OpenDialog1->Title, u"打开文件");
    EXPECT_FALSE(Form1->OpenDialog1->MultiSelection);
    EXPECT_TRUE(Form1->OpenDialog2->MultiSelection);
    EXPECT_EQ(Form1->qxSkinSelectDirectoryDialog1->Title, u"选择目录");
    const String filter = Form1->OpenDialog2->Filter;
    EXPECT_EQ(filter, Form1->OpenDialog1->Filter);
    EXPECT_TRUE(filter.starts_with(u"所有文件格式 (*.*)|*.*|支持的视频/音频文件格式|*.AVI;"));
    EXPECT_TRUE(filter.ends_with(u"AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|"));
    EXPECT_EQ(std::count(filter.begin(), filter.end(), u'|'), 84);

    const struct {
        TMenuItem* Item;
        bool Several, Folder;
    } commands[] = {{Form1->Item111, false, false}, {Form1->N11111, false, false},
                    {Form1->Item121, true, false},  {Form1->N2222, true, false},
                    {Form1->N21, false, true},      {Form1->N3331, false, true}};
    for (const auto& c : commands) {
        SCOPED_TRACE(StringToUTF8(c.Item->Name()));
        std::optional<bool> several;
        bool folder = false;
        OpenStep = [&](TqxOpenDlgForm* AForm) {
            several = AForm->FileListView->MultiSelect();
            EXPECT_EQ(AForm->Caption(), u"打开文件");
            AForm->SetModalResult(mrCancel);
        };
        FolderStep = [&](TqxSelDirDlgForm* AForm) {
            folder = true;
            EXPECT_EQ(AForm->Caption(), u"选择目录");
            AForm->SetModalResult(mrCancel);
        };
        c.Item->Click();
        EXPECT_EQ(several.has_value(), !c.Folder);
        EXPECT_EQ(several.value_or(false), c.Several);
        EXPECT_EQ(folder, c.Folder);
        EXPECT_EQ(Rows()->Count(), 0);
        EXPECT_TRUE(Boxes.empty());
    }

    // A folder of text files, chosen in the folder dialog.
    fs::create_directories(FRoot / "texts");
    std::ofstream(FRoot / "texts" / "one.txt") << "no media\n";
    const String texts = UTF8ToString((FRoot / "texts").string());
    FolderStep = [&](TqxSelDirDlgForm* AForm) {
        AForm->DirTreeView->SetPath(texts);
        AForm->SetModalResult(mrOk);
    };
    Form1->N21->Click();
    EXPECT_EQ(Form1->qxSkinSelectDirectoryDialog1->Directory, texts);
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    EXPECT_EQ(LogCount(u"***File load error: "), 1);
}

// Rows hold no open file: with room for a dozen more descriptors, hundreds
// of files are added, the last opens in the preview and the run starts.
TEST_F(Run, ManyRowsHoldNoOpenFile) {
    StartWith("3");
    ChooseFormat(0);
    const String first = Clip("short.avi", "clip0.avi");
    // The first add and preview make what stays for good.
    Form1->AddFiles({first});
    ASSERT_EQ(Rows()->Count(), 1);
    const long before = OpenDescriptors();
    std::vector<String> names;
    for (int i = 1; i < 300; ++i) {
        const fs::path link = FRoot / "clips" / ("clip" + std::to_string(i) + ".avi");
        fs::create_hard_link(StringToUTF8(first), link);
        names.push_back(UTF8ToString(link.string()));
    }
    TDescriptorLimit limit(12);
    Form1->AddFiles(names);
    EXPECT_EQ(Rows()->Count(), 300);
    EXPECT_TRUE(Texts.empty());
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, names.front());
    EXPECT_EQ(Form1->VIZevado->FileName(), names.front()) << StringToUTF8(Form1->VIZevado->LastErrMsg());
    EXPECT_EQ(OpenDescriptors(), before);

    // Start turns every row into a task again, and still holds no file.
    Form1->qxSkinButton2->Click();
    EXPECT_TRUE(Form1->Strovix->Working());
    EXPECT_LE(OpenDescriptors(), before + 2 * 2);
    Form1->qxSkinButton10->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
}

// An add of several files that cannot go on says so in one box, naming the
// file and the reason; the rows added before it stay.
TEST_F(Run, AnAddThatStopsPartWaySaysSo) {
    StartWith("3");
    ChooseFormat(0);
    const String a = Clip("short.avi", "a.avi"), c = Clip("short.avi", "c.avi");
    const String gone = UTF8ToString((FRoot / "clips" / "gone.avi").string());
    Form1->AddFiles({a, gone, c});
    EXPECT_EQ(Rows()->Count(), 1);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0], u"添加文件时出错，其余的文件没有添加：\n" + gone + u"\nNo such file or directory");

    // The output folder went away: the converter refuses the first file.
    Form1->qxSkinButton8->Click();
    Texts.clear();
    fs::remove_all(FOutput);
    Form1->AddFiles({a, c});
    EXPECT_EQ(Rows()->Count(), 0);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_TRUE(Texts[0].starts_with(u"添加文件时出错，其余的文件没有添加：\n" + c + u"\n"))
        << StringToUTF8(Texts[0]);
    EXPECT_EQ(LogCount(u"***Cannot do convert, error: "), 1);
    EXPECT_NE(Texts[0].find(u"No such file or directory"), String::npos) << StringToUTF8(Texts[0]);
}

// The options a row hands its task at Start, over reset records.
TEST(RowOptions, TheRowsTextsBecomeTheTasksOptions) {
    TStringList row;
    const auto make = [&](std::initializer_list<std::pair<Integer, const char16_t*>> ACells) {
        row.Clear();
        for (Integer i = 0; i < FileListSubItemCount; ++i)
            row.Add(String());
        row.SetStrings(ColAudioBitrate, u"-1");
        for (const auto& [column, text] : ACells)
            row.SetStrings(column, text);
        TOutputOptions options;
        ResetOutputOptions(options);
        ApplyRowOptions(&row, options);
        return options;
    };
    TOutputOptions o = make({{ColVideoCodec, u"libx264"},
                             {ColVideoTag, u"avc1"},
                             {ColFrameSize, u"1280*720"},
                             {ColVideoBitrate, u"1600000"},
                             {ColAudioBitrate, u"-1000"},
                             {ColAudioSampleRate, u"AUTO"},
                             {ColAudioCodec, u"AUTO"}});
    EXPECT_EQ(o.VideoCodec, u"libx264");
    EXPECT_EQ(o.VideoPreset, u"libx264-default");
    EXPECT_EQ(o.VideoTag, u"");
    EXPECT_EQ(o.FrameSize, u"1280*720");
    EXPECT_EQ(o.VideoBitrate, 1600000);
    EXPECT_EQ(o.AudioBitrate, -1);
    EXPECT_EQ(o.AudioSampleRate, -1);
    EXPECT_EQ(o.AudioCodec, u"");
    // Empty flags: video on, the target as reset, the norm automatic.
    EXPECT_FALSE(o.DisableVideo);
    EXPECT_EQ(o.TargetType, ttIgnore);
    EXPECT_EQ(o.NormType, ntAuto);

    o = make({{ColVideoCodec, u"mpeg4"},
              {ColVideoTag, u"XVID"},
              {ColAudioCodec, u"libmp3lame"},
              {ColAudioChannels, u"2"},
              {ColAudioBitrate, u"128000"},
              {ColAudioSampleRate, u"44100"},
              {ColDisableVideo, u"True"},
              {ColTargetType, u"dvd"},
              {ColNormType, u"NTSC"},
              {ColFrameAspectRatio, u"16:9"},
              {ColFrameRate, u"25"}});
    EXPECT_EQ(o.VideoPreset, u"");
    EXPECT_EQ(o.VideoTag, u"XVID");
    EXPECT_EQ(o.AudioChannels, 2);
    EXPECT_EQ(o.AudioBitrate, 128000);
    EXPECT_EQ(o.AudioSampleRate, 44100);
    EXPECT_TRUE(o.DisableVideo);
    EXPECT_EQ(o.TargetType, ttDVD);
    EXPECT_EQ(o.NormType, ntNTSC);
    EXPECT_EQ(o.FrameAspectRatio, u"16:9");
    EXPECT_EQ(make({{ColTargetType, u"other"}}).TargetType, ttIgnore);

    for (const auto column : {ColAudioChannels, ColVideoBitrate, ColAudioBitrate, ColAudioSampleRate})
        EXPECT_THROW(make({{column, u"x"}}), EConvertError) << column;
}

// A failed task's box names its file once, before the engine's message.
TEST(RowOptions, FailureTexts) {
    const struct {
        const char16_t *File, *Message, *Text;
    } cases[] = {
        {u"/v/a.avi", u"av_interleaved_write_frame(): No space left on device",
         u"/v/a.avi\nav_interleaved_write_frame(): No space left on device"},
        {u"/v/a.avi", u"/v/a.avi: No such file or directory", u"/v/a.avi: No such file or directory"},
        {u"", u"encoder failed", u"encoder failed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureText(c.File, c.Message), c.Text) << StringToUTF8(c.Message);
}

TEST(RowOptions, ProgressAndTimeTexts) {
    EXPECT_EQ(ProgressText(0, 0), u"N/A");
    EXPECT_EQ(ProgressText(1, -1), u"N/A");
    EXPECT_EQ(ProgressText(999, 1000), u"99%");
    EXPECT_EQ(ProgressText(1010, 1000), u"101%");
    const struct {
        Int64 Seconds;
        const char16_t* Text;
    } times[] = {{3599, u"00:59:59"}, {86399, u"23:59:59"}, {86400, u"00:00:00"}, {90061, u"01:01:01"}};
    for (const auto& t : times)
        EXPECT_EQ(SecToDate(t.Seconds), t.Text) << t.Seconds;
}

}  // namespace
