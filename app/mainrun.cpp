// The main window's conversion run: every row turned into a task at Start,
// workers started, paused, resumed and stopped, the reports written into
// the rows, the command groups kept in step, and the action chosen for the
// end of the run.
#include <algorithm>

#include "app/filelistcolumns.h"
#include "app/mainform.h"
#include "app/optionsform.h"
#include "media/ffmpeglogger.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/win/system.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinspeedbuttons.h"

namespace {

// One command group's members: the hidden button, the skinned button with
// its two looks, the menu items.
void SetGroup(bool AEnabled, TButton* AButton, TqxSkinButton* ASkinned, TImage* AOn, TImage* AOff,
              std::initializer_list<TMenuItem*> AItems) {
    if (AButton) AButton->SetEnabled(AEnabled);
    if (ASkinned) {
        ASkinned->SetGlyph((AEnabled ? AOn : AOff)->Picture()->Bitmap());
        ASkinned->RefreshButton();
        ASkinned->SetEnabled(AEnabled);
    }
    for (TMenuItem* item : AItems)
        item->SetEnabled(AEnabled);
}

// One row's task, built before the converter is touched.
struct TRowTask {
    String Input;
    String Output;
    TOutputOptions Options;
};

}  // namespace

void ApplyRowOptions(TStrings* ASubItems, TOutputOptions& AOptions) {
    const auto text = [ASubItems](Integer AColumn) { return ASubItems->Strings(AColumn); };
    const String codec = text(ColVideoCodec);
    if (codec == u"libx264") {
        AOptions.VideoCodec = codec;
        AOptions.VideoPreset = u"libx264-default";
    } else if (!codec.empty()) {
        AOptions.VideoCodec = codec;
        AOptions.VideoPreset.clear();
    }
    const String audio = text(ColAudioCodec);
    if (!audio.empty() && audio != u"AUTO") AOptions.AudioCodec = audio;
    if (!text(ColAudioChannels).empty()) AOptions.AudioChannels = StrToInt(text(ColAudioChannels));
    // x264 takes no foreign tag.
    const String tag = text(ColVideoTag);
    AOptions.VideoTag = codec == u"libx264" ? String() : tag;
    if (!text(ColFileExt).empty()) AOptions.FileExt = text(ColFileExt);
    if (!text(ColFrameSize).empty()) AOptions.FrameSize = text(ColFrameSize);
    if (!text(ColVideoBitrate).empty()) AOptions.VideoBitrate = StrToInt(text(ColVideoBitrate));
    if (!text(ColFrameRate).empty()) AOptions.FrameRate = text(ColFrameRate);
    const String audioBitrate = text(ColAudioBitrate);
    if (audioBitrate != u"-1000" && audioBitrate != u"-2000") AOptions.AudioBitrate = StrToInt(audioBitrate);
    const String sampleRate = text(ColAudioSampleRate);
    if (!sampleRate.empty() && sampleRate != u"AUTO") AOptions.AudioSampleRate = StrToInt(sampleRate);
    if (!text(ColFrameAspectRatio).empty()) AOptions.FrameAspectRatio = text(ColFrameAspectRatio);
    AOptions.DisableVideo = text(ColDisableVideo) == u"True";
    const String target = text(ColTargetType);
    if (target == u"vcd")
        AOptions.TargetType = ttVCD;
    else if (target == u"svcd")
        AOptions.TargetType = ttSVCD;
    else if (target == u"dvd")
        AOptions.TargetType = ttDVD;
    else if (!target.empty())
        AOptions.TargetType = ttIgnore;
    const String norm = text(ColNormType);
    AOptions.NormType = norm == u"PAL" ? ntPAL : norm == u"NTSC" ? ntNTSC : ntAuto;
}

String FailureText(const String& AFileName, const String& AMessage) {
    // The engine's message often names the file already.
    if (AFileName.empty() || AMessage.find(AFileName) != String::npos) return AMessage;
    return AFileName + u"\n" + AMessage;
}

String ProgressText(Int64 ACurrentDuration, Int64 ATotalDuration) {
    if (ATotalDuration <= 0) return u"N/A";
    return IntToStr(ACurrentDuration * 100 / ATotalDuration) + u"%";
}

void TForm1::qxSkinButton2Click(TObject*) {
    btnStartClick(this);
}

void TForm1::btnStartClick(TObject*) {
    const std::pair<TqxSkinCheckRadioBox*, TThreadPriority> priorities[] = {
        {Form5->qxSkinCheckRadioBox9, tpIdle},
        {Form5->qxSkinCheckRadioBox10, tpLowest},
        {Form5->qxSkinCheckRadioBox11, tpLower},
        {Form5->qxSkinCheckRadioBox12, tpNormal}};
    for (const auto& [box, priority] : priorities)
        if (box->Checked()) Strovix->SetThreadPriority(priority);
    // A row that cannot become a task refuses the whole run, before any
    // control changes.
    if (!RebuildTasks()) return;

    qxSkinMenuSpeedButton1->RefreshButton();
    SetAddCommands(false);
    Button22Click(this);
    SetGroup(false, btnRemove, qxSkinButton7, Image15, Image14, {N13});
    SetGroup(false, nullptr, qxSkinButton21, Image16, Image17, {N26});
    SetGroup(false, btnClear, qxSkinButton8, Image13, Image12, {N14});
    SetGroup(false, btnStart, qxSkinButton2, Image5, Image4, {N7});
    const bool threads = chkThreadMode->Checked();
    SetGroup(threads, btnStop, qxSkinButton10, Image11, Image10, {N8});
    SetGroup(threads, btnPause, qxSkinButton11, Image7, Image6, {N10});
    SetGroup(false, btnResume, qxSkinButton12, Image9, Image8, {N11});
    // Reports address rows by position: the rows keep their places.
    SetMoveCommands(false);

    Integer count = 1;
    if (Form5->qxSkinCheckRadioBox7->Checked() && !TryStrToInt(Form5->qxSkinComboBox2->Text(), count))
        count = 1;
    // Fewer than one worker would convert here, with the window frozen.
    Strovix->Start(std::max(count, 1));
}

bool TForm1::RebuildTasks() {
    TListItems* rows = lvFiles->Items();
    std::vector<TRowTask> tasks;
    for (Integer i = 0; i < rows->Count(); ++i) {
        TListItem* row = rows->Item(i);
        TRowTask task{row->Caption(),
                      IncludeTrailingPathDelimiter(FileOutPutPath) + row->SubItems()->Strings(ColOutputFile),
                      {}};
        ResetOutputOptions(task.Options);
        try {
            ApplyRowOptions(row->SubItems(), task.Options);
        } catch (const EConvertError& e) {
            return RefuseRun(task.Input, u"***Cannot do convert, error: ", e.Message());
        }
        tasks.push_back(std::move(task));
    }
    Strovix->ClearTasks();
    for (size_t i = 0; i < tasks.size(); ++i) {
        TRowTask& task = tasks[i];
        TInputOptions input;
        ResetInputOptions(input);
        const Integer index = Strovix->AddTask(task.Input, &input);
        const bool opened = index >= 0;
        if (!opened || !Strovix->SetOutputFile(index, task.Output, &task.Options)) {
            const String reason = Strovix->LastErrMsg();
            // No half-built run is left behind for a later Start.
            Strovix->ClearTasks();
            return RefuseRun(task.Input, opened ? u"***Cannot do convert, error: " : u"***File open error: ",
                             reason);
        }
        // Row i is task i from now on, whatever it was when added.
        rows->Item(Integer(i))->SubItems()->SetStrings(ColTaskNumber, IntToStr(index + 1));
        if (i < size_t(TaskSlotCount)) {
            IO1[i] = input;
            const String marker = OO1[i].AudioLanguage;
            OO1[i] = task.Options;
            OO1[i].AudioLanguage = marker;
        }
    }
    return true;
}

bool TForm1::RefuseRun(const String& AFileName, const String& ALogPrefix, const String& AReason) {
    LogError(ALogPrefix + AReason);
    Inform(u"无法开始转换，这个文件不能转换：\n" + AFileName + u"\n" + AReason);
    return false;
}

void TForm1::button28Click(TObject*) {
    RebuildTasks();
}

void TForm1::SetMoveCommands(bool AEnabled) {
    SetGroup(AEnabled, nullptr, qxSkinButton3, Image19, Image20, {N111});
    SetGroup(AEnabled, nullptr, qxSkinButton4, Image21, Image22, {N2221});
}

void TForm1::Button22Click(TObject*) {
    for (TControl* control : LockedChoiceControls())
        control->SetEnabled(false);
    qxSkinOfficeComboBox2->Refresh();
}

void TForm1::Button23Click(TObject*) {
    for (TControl* control : LockedChoiceControls())
        control->SetEnabled(true);
    qxSkinOfficeComboBox2->Refresh();
}

// The skins repaint everything themselves: nothing is left to refresh.
void TForm1::Button24Click(TObject*) {}

std::vector<TControl*> TForm1::LockedChoiceControls() {
    // "设置..." writes the same choices through the preset dialog.
    return {qxSkinComboBox1,  qxSkinComboBox2,       qxSkinComboBox3,       qxSkinComboBox4, qxSkinComboBox9,
            qxSkinComboBox10, qxSkinOfficeComboBox2, qxSkinOfficeComboBox1, qxSkinButton5,   qxSkinButton24};
}

void TForm1::qxSkinButton10Click(TObject*) {
    btnStopClick(this);
}

void TForm1::btnStopClick(TObject*) {
    SetGroup(false, btnStop, qxSkinButton10, Image11, Image10, {N8});
    SetGroup(true, nullptr, qxSkinButton2, Image5, Image4, {});
    Button23Click(this);
    Button24Click(this);
    Strovix->Stop(true);
}

void TForm1::qxSkinButton11Click(TObject*) {
    btnPauseClick(this);
    qxSkinButton11->SetVisible(false);
    qxSkinButton12->SetVisible(true);
}

void TForm1::btnPauseClick(TObject*) {
    SetGroup(false, btnPause, qxSkinButton11, Image7, Image6, {N10});
    SetGroup(true, btnResume, qxSkinButton12, Image9, Image8, {N11});
    Strovix->Pause();
}

void TForm1::qxSkinButton12Click(TObject*) {
    btnResumeClick(this);
    qxSkinButton11->SetVisible(true);
    qxSkinButton12->SetVisible(false);
}

void TForm1::btnResumeClick(TObject*) {
    SetGroup(true, btnPause, qxSkinButton11, Image7, Image6, {N10});
    SetGroup(false, btnResume, qxSkinButton12, Image9, Image8, {N11});
    Strovix->Resume();
}

void TForm1::StrovixProgress(TObject*, PProgressInfo AProgressInfo) {
    TListItems* rows = lvFiles->Items();
    if (AProgressInfo->TaskIndex < 0 || AProgressInfo->TaskIndex >= rows->Count()) return;
    TStrings* sub = rows->Item(AProgressInfo->TaskIndex)->SubItems();
    sub->SetStrings(ColProgress, ProgressText(AProgressInfo->CurrentDuration, AProgressInfo->TotalDuration));
    if (AProgressInfo->FPS > 0) sub->SetStrings(ColFPS, IntToStr(AProgressInfo->FPS));
    sub->SetStrings(ColCurrentTime, SecToDate(AProgressInfo->CurrentDuration / 1000000));
    sub->SetStrings(ColCurrentSize, MegabytesText(AProgressInfo->CurrentSize));
}

void TForm1::StrovixTerminate(TObject*, const TTerminateInfo& ATerminateInfo) {
    if (ATerminateInfo.TaskIndex < 0) {
        SetGroup(false, btnRemove, qxSkinButton7, Image15, Image14, {N13});
        SetGroup(false, nullptr, qxSkinButton21, Image16, Image17, {N26});
        SetGroup(true, btnClear, qxSkinButton8, Image13, Image12, {N14});
        SetGroup(false, btnStop, qxSkinButton10, Image11, Image10, {N8});
        SetGroup(false, btnPause, qxSkinButton11, Image7, Image6, {N10});
        SetGroup(false, btnResume, qxSkinButton12, Image9, Image8, {N11});
        Button23Click(this);
        Button24Click(this);
        SetMoveCommands(true);
        // A run stopped while paused would leave the next one with its
        // Pause button hidden behind the disabled Resume.
        qxSkinButton11->SetVisible(true);
        qxSkinButton12->SetVisible(false);
        if (Form5->qxSkinCheckRadioBox1->Checked()) Button20Click(this);
        if (Form5->qxSkinCheckRadioBox2->Checked()) Button25Click(this);
        if (Form5->qxSkinCheckRadioBox4->Checked()) Button29Click(this);
    }
    TListItem* row = ATerminateInfo.TaskIndex >= 0 && ATerminateInfo.TaskIndex < lvFiles->Items()->Count()
                         ? lvFiles->Items()->Item(ATerminateInfo.TaskIndex)
                         : nullptr;
    if (row && (ATerminateInfo.Finished || ATerminateInfo.Exception))
        row->SubItems()->SetStrings(ColProgress, ATerminateInfo.Exception ? FailedRowText : u"100%");
    if (ATerminateInfo.Exception)
        Application->MessageBox(FailureText(row ? row->Caption() : String(), ATerminateInfo.ExceptionMsg),
                                Application->Title(), win::MB_OK | win::MB_ICONEXCLAMATION);
}

void TForm1::chkPreviewClick(TObject*) {
    Strovix->SetPreview(chkPreview->Checked());
}

void TForm1::FFLoggerLog(TObject*, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg) {
    Log(u"#" + IntToStr(Int64(AThreadID)) + u"." + IntToStr(Integer(ALogLevel)) + u": " + ALogMsg);
}

// The system decides; a refused power-off leaves the program running.
void TForm1::Button25Click(TObject*) {
    win::ExitWindowsEx(win::EWX_SHUTDOWN | win::EWX_FORCE | win::EWX_POWEROFF, 0);
}

void TForm1::Button29Click(TObject*) {
    const String sound = ProgramFolder() + u"sounds/ring001.wav";
    if (FileExists(sound)) win::PlaySoundW(sound.c_str(), nullptr, win::SND_ASYNC);
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Field(u"btnStop", &TForm1::btnStop)
                            .Field(u"btnPause", &TForm1::btnPause)
                            .Field(u"btnResume", &TForm1::btnResume)
                            .Field(u"qxSkinButton10", &TForm1::qxSkinButton10)
                            .Field(u"qxSkinButton11", &TForm1::qxSkinButton11)
                            .Field(u"qxSkinButton12", &TForm1::qxSkinButton12)
                            .Field(u"qxSkinButton3", &TForm1::qxSkinButton3)
                            .Field(u"qxSkinButton4", &TForm1::qxSkinButton4)
                            .Field(u"qxSkinButton5", &TForm1::qxSkinButton5)
                            .Field(u"qxSkinButton24", &TForm1::qxSkinButton24)
                            .Field(u"N8", &TForm1::N8)
                            .Field(u"N10", &TForm1::N10)
                            .Field(u"N11", &TForm1::N11)
                            .Field(u"N111", &TForm1::N111)
                            .Field(u"N2221", &TForm1::N2221)
                            .Field(u"Image6", &TForm1::Image6)
                            .Field(u"Image7", &TForm1::Image7)
                            .Field(u"Image8", &TForm1::Image8)
                            .Field(u"Image9", &TForm1::Image9)
                            .Field(u"Image10", &TForm1::Image10)
                            .Field(u"Image11", &TForm1::Image11)
                            .Field(u"Image19", &TForm1::Image19)
                            .Field(u"Image20", &TForm1::Image20)
                            .Field(u"Image21", &TForm1::Image21)
                            .Field(u"Image22", &TForm1::Image22)
                            .Field(u"chkThreadMode", &TForm1::chkThreadMode)
                            .Field(u"chkPreview", &TForm1::chkPreview)
                            .Handler(u"qxSkinButton2Click", &TForm1::qxSkinButton2Click)
                            .Handler(u"btnStartClick", &TForm1::btnStartClick)
                            .Handler(u"button28Click", &TForm1::button28Click)
                            .Handler(u"qxSkinButton10Click", &TForm1::qxSkinButton10Click)
                            .Handler(u"btnStopClick", &TForm1::btnStopClick)
                            .Handler(u"qxSkinButton11Click", &TForm1::qxSkinButton11Click)
                            .Handler(u"btnPauseClick", &TForm1::btnPauseClick)
                            .Handler(u"qxSkinButton12Click", &TForm1::qxSkinButton12Click)
                            .Handler(u"btnResumeClick", &TForm1::btnResumeClick)
                            .Handler(u"Button22Click", &TForm1::Button22Click)
                            .Handler(u"Button23Click", &TForm1::Button23Click)
                            .Handler(u"Button24Click", &TForm1::Button24Click)
                            .Handler(u"StrovixProgress", &TForm1::StrovixProgress)
                            .Handler(u"StrovixTerminate", &TForm1::StrovixTerminate)
                            .Handler(u"chkPreviewClick", &TForm1::chkPreviewClick)
                            .Handler(u"FFLoggerLog", &TForm1::FFLoggerLog)
                            .Handler(u"Button25Click", &TForm1::Button25Click)
                            .Handler(u"Button29Click", &TForm1::Button29Click);

}  // namespace
