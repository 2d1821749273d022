// The main window's add commands: each file probed, given a task towards the
// chosen format and a row that carries every option of that task.
#include <cmath>
#include <cstdio>

#include "app/filelistcolumns.h"
#include "app/mainform.h"
#include "media/avprobe.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/listbox.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/dialogs/qxskinselectdir.h"

String SecToDate(Int64 ASeconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d", int(ASeconds / 3600 % 24), int(ASeconds / 60 % 60),
                  int(ASeconds % 60));
    return UTF8ToString(text);
}

String MegabytesText(Int64 ABytes) {
    // nearbyint rounds ties to even in the default rounding mode.
    const double hundredths = std::nearbyint(double(ABytes) / 1024.0 / 1024.0 * 100.0);
    return FloatToStr(hundredths / 100.0) + u"MB";
}

std::optional<std::vector<String>> GetFilenames(const String& AFolder, const String& AMask) {
    if (!DirectoryExists(AFolder)) return std::nullopt;
    const String folder = IncludeTrailingPathDelimiter(AFolder);
    std::vector<String> names;
    TSearchRec entry;
    if (FindFirst(folder + AMask, faAnyFile, entry) == 0) {
        do {
            if (!(entry.Attr & faDirectory)) names.push_back(folder + entry.Name);
        } while (FindNext(entry) == 0);
        FindClose(entry);
    }
    return names;
}

void TForm1::Log(const String& ALine) {
    mmoLog->Lines()->Add(ALine);
}

void TForm1::LogError(const String& AText) {
    Log(String());
    Log(AText);
    Log(String());
}

bool TForm1::PrepareAdding() {
    Button6Click(this);
    if (!Strovix->AVLibLoaded() && !Strovix->LoadAVLib(ProgramFolder() + u"LibAV")) {
        Log(Strovix->LastErrMsg());
        return false;
    }
    // A format these libraries cannot write would fail every file.
    return formatchoice::ChosenFormatWritable(FormatControls());
}

TForm1::TAddResult TForm1::AddProbedFile(const String& AFileName) {
    TAVProbe* probe = Strovix->AVProbe();
    if (!probe->LoadFile(AFileName, String())) {
        LogError(u"***File load error: " + probe->LastErrMsg());
        return arSkipped;
    }
    // The task describes the file from here on; this one is not kept open.
    probe->CloseFile();
    Staging.Video_AddFileName = AFileName;
    TInputOptions input;
    ResetInputOptions(input);
    const Integer task = Strovix->AddTask(AFileName, &input);
    if (task < 0) {
        LogError(u"***File open error: " + Strovix->LastErrMsg());
        return arEnded;
    }
    TAVProbe* taskProbe = Strovix->GetTaskAVProbe(task, 0);
    Log(String());
    Log(taskProbe->FileInfoText());
    T_Movie_PLayer_FileName = AFileName;
    TOutputOptions output;
    ResetOutputOptions(output);
    Button5Click(this);
    Button13Click(this);
    try {
        DeriveOutputOptions(Staging, output);
    } catch (...) {
        // The task would stay without a row until the next rebuild.
        Strovix->RemoveTask(task);
        throw;
    }
    if (!Strovix->SetOutputFile(task, Staging.Video_OutPutFileName, &output)) {
        Strovix->RemoveTask(task);
        LogError(u"***Cannot do convert, error: " + Strovix->LastErrMsg());
        return arEnded;
    }
    qxSkinPanel5->SetVisible(false);

    const TFileStreamInfo info = taskProbe->FileStreamInfo();
    TListItem* row = lvFiles->Items()->Add();
    row->SetCaption(AFileName);
    TStrings* sub = row->SubItems();
    sub->Add(info.Duration > 0 ? SecToDate(info.Duration / 1000000) : String(u"N/A"));
    sub->Add(MegabytesText(taskProbe->FileSize()));
    sub->Add(ExtractFileName(output.FileName));
    for (int i = ColProgress; i <= ColCurrentSize; ++i)
        sub->Add(String());
    sub->Add(IntToStr(task + 1));
    sub->Add(formatchoice::ChosenStoredSelection(FormatControls()));
    sub->Add(formatchoice::ChosenComboIndices(FormatControls()));
    sub->Add(output.VideoCodec);
    sub->Add(output.AudioCodec);
    sub->Add(IntToStr(output.AudioChannels));
    sub->Add(output.VideoTag);
    sub->Add(output.FileExt);
    sub->Add(output.FrameSize);
    sub->Add(IntToStr(output.VideoBitrate));
    sub->Add(output.FrameRate);
    sub->Add(IntToStr(output.AudioBitrate));
    sub->Add(IntToStr(output.AudioSampleRate));
    sub->Add(output.FrameAspectRatio);
    sub->Add(Staging.Video_DisableVideo ? u"True" : u"False");
    sub->Add(Staging.Video_TargetType);
    sub->Add(Staging.Video_NormType);

    SetRowCommands(true);
    // The slots only mark which rows were added; Start rebuilds every task
    // from its row, so the list is not limited by their number.
    for (Integer slot = 0; slot < TaskSlotCount; ++slot) {
        if (OO1[slot].AudioLanguage != SlotFree) continue;
        IO1[slot] = input;
        OO1[slot] = output;
        OO1[slot].AudioLanguage = SlotFull;
        break;
    }
    LogError(u"***Can do convert.");
    if (btnStart->CanFocus()) btnStart->SetFocus();
    return arAdded;
}

void TForm1::SelectLastRow() {
    const Integer count = lvFiles->Items()->Count();
    if (count == 0) return;
    TListItem* last = lvFiles->Items()->Item(count - 1);
    lvFiles->SetSelected(last);
    // The new row is shown, not left below the rows in view.
    last->MakeVisible(false);
    FocusFileList();
}

void TForm1::AddChosenFile(const String& AFileName) {
    if (!FileExists(AFileName)) return;
    if (AddProbedFile(AFileName) == arAdded) SelectLastRow();
}

void TForm1::AddOneFile(const String& AFileName) {
    if (PrepareAdding()) AddChosenFile(AFileName);
}

bool TForm1::AddFileList(const std::vector<String>& AFileNames) {
    for (auto name = AFileNames.rbegin(); name != AFileNames.rend(); ++name) {
        if (!FileExists(*name)) return StopAdding(*name, u"No such file or directory");
        if (AddProbedFile(*name) == arEnded) return StopAdding(*name, Strovix->LastErrMsg());
    }
    return true;
}

bool TForm1::StopAdding(const String& AFileName, const String& AReason) {
    Inform(u"添加文件时出错，其余的文件没有添加：\n" + AFileName + u"\n" + AReason);
    return false;
}

void TForm1::AddFiles(const std::vector<String>& AFileNames) {
    if (!PrepareAdding() || AFileNames.empty() || !FileExists(AFileNames.front())) return;
    if (AddFileList(AFileNames)) SelectLastRow();
}

void TForm1::AddChosenFolder(const String& ADirectory, Integer ARowsBefore) {
    // A virtual node's display name is no folder.
    if (ADirectory.empty() || ADirectory[0] != u'/' || !FolderExists(ADirectory)) return;
    ListBox1->Items()->Clear();
    std::vector<String> names = GetFilenames(ADirectory, u"*.*").value_or(std::vector<String>{});
    for (const String& name : names)
        ListBox1->Items()->Add(name);
    if (!AddFileList(names)) return;
    SelectLastRow();
    if (lvFiles->Items()->Count() <= ARowsBefore) Inform(u"在该目录没有发现可以用的视频或音频文件！");
}

void TForm1::AddFolder(const String& ADirectory) {
    const Integer rowsBefore = lvFiles->Items()->Count();
    if (PrepareAdding()) AddChosenFolder(ADirectory, rowsBefore);
}

void TForm1::btnAddClick(TObject*) {
    if (PrepareAdding() && OpenDialog1->Execute()) AddChosenFile(OpenDialog1->FileName());
}

void TForm1::Button8Click(TObject*) {
    if (!PrepareAdding() || !OpenDialog2->Execute() || !FileExists(OpenDialog2->FileName())) return;
    std::vector<String> names;
    TStrings* files = OpenDialog2->Files();
    for (Integer i = 0; i < files->Count(); ++i)
        names.push_back(files->Strings(i));
    // A typed name selects no row: the dialog hands it back alone.
    if (names.empty()) names.push_back(OpenDialog2->FileName());
    if (AddFileList(names)) SelectLastRow();
}

void TForm1::Button12Click(TObject*) {
    const Integer rowsBefore = lvFiles->Items()->Count();
    if (PrepareAdding() && qxSkinSelectDirectoryDialog1->Execute())
        AddChosenFolder(qxSkinSelectDirectoryDialog1->Directory, rowsBefore);
}

void TForm1::N2222Click(TObject*) {
    Button8Click(this);
}

void TForm1::N21Click(TObject*) {
    Button12Click(this);
}

void TForm1::N3331Click(TObject*) {
    Button12Click(this);
}

String OpenDialogFilter() {
    // clang-format off
    static const char16_t* const parts[] = {
        u"所有文件格式 (*.*)|*.*|",
        u"支持的视频/音频文件格式|*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;",
        u"*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt|",
        u"支持的视频文件格式|*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt|",
        u"支持的音频文件格式|*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3|",
        u"AVI文件 (*.avi)|*.avi|",
        u"Real视频文件格式 (*.rm;*.rmvb)|*.rm;*.rmvb|",
        u"MP4视频格式 (*.mp4;*.m4v)|*.mp4;*.m4v|",
        u"MPEG视频格式 (*.mpg;*.mpeg)|*.mpg;*.mpeg|",
        u"DVD视频格式 (*.vob)|*.vob|",
        u"VCD/SVCD视频格式 (*.dat;*.mpg)|*.dat;*.mpg|",
        u"ASF微软视频格式 (*.asf)|*.asf|",
        u"WMV微软视频格式 (*.wmv)|*.wmv|",
        u"手机3GPP文件格式 (*.3gp;*.3gpp)|*.3gp;*.3gpp|",
        u"手机3GPP2文件格式 (*.3g2;*.3gp2)|*.3g2;*.3gp2|",
        u"Flash动画格式 (*.swf)|*.swf|",
        u"Flash视频格式 (*.flv)|*.flv|",
        u"MKV视频媒体格式 (*.mkv)|*.mkv|",
        u"Quick Time视频文件格式 (*.mov;*.qt)|*.mov;*.qt|",
        u"DV数字视频文件格式 (*.dv;*.dif)|*.dv;*.dif|",
        u"Raw h261类型文件 (*.h261)|*.h261|",
        u"Raw h264类型文件 (*.h264)|*.h264|",
        u"YUV类型文件 (*.yuv)|*.yuv|",
        u"GIF图片动画格式 (*.gif)|*.gif|",
        u"MJPEG视频格式(*.mjpg;*.mjpeg)|*.mjpg;*.mjpeg|",
        u"TS视频格式 (*.ts)|*.ts|",
        u"WMV高清HD视频格式 (*.xwmv)|*.xwmv|",
        u"微软数字视频格式( *.dvr-ms)|*.dvr-ms|",
        u"iTunes视频格式 (*.m4v)|*.m4v|",
        u"MP3音频格式 (*.mp3)|*.mp3|",
        u"CD音频格式 (*.cda)|*.cda|",
        u"WMA微软音频格式 (*.wma)|*.wma|",
        u"WAVE音频格式 (*.wav)|*.wav|",
        u"REAL音频格式 (*.ra;*.ram)|*.ra;*.ram|",
        u"MP4音频格式 (*.m4a;*.mp4)|*.m4a;*.mp4|",
        u"AAC高级音频格式 (*.aac)|*.aac|",
        u"AC3音频格式 (*.ac3)|*.ac3|",
        u"Monkey音频格式 (*.ape;*.cue)|*.ape;*.cue|",
        u"Flac无损压缩音频格式　(*.flac)|*.flac|",
        u"MPEG音频编码格式(*.mpa)|*.mpa|",
        u"MPEG 2音频编码格式(*.mp2)|*.mp2|",
        u"OGG音频编码格式(*.ogg)|*.ogg|",
        u"AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|",
    };
    // clang-format on
    String filter;
    for (const char16_t* part : parts)
        filter += part;
    return filter;
}

void TForm1::Button21Click(TObject*) {
    const String filter = OpenDialogFilter();
    OpenDialog1->Filter = filter;
    OpenDialog2->Filter = filter;
}

void TForm1::CreateAddDialogs() {
    const auto skinned = [this](auto* ADialog) {
        ADialog->SetSkinData(qxSkinData1);
        ADialog->SetCtrlSkinData(qxSkinData1);
        return ADialog;
    };
    OpenDialog1 = skinned(new TqxSkinOpenDialog(this));
    OpenDialog1->Title = u"打开文件";
    OpenDialog2 = skinned(new TqxSkinOpenDialog(this));
    OpenDialog2->Title = u"打开文件";
    OpenDialog2->MultiSelection = true;
    qxSkinSelectDirectoryDialog1 = skinned(new TqxSkinSelectDirectoryDialog(this));
    qxSkinSelectDirectoryDialog1->Title = u"选择目录";
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Handler(u"btnAddClick", &TForm1::btnAddClick)
                            .Handler(u"Button8Click", &TForm1::Button8Click)
                            .Handler(u"Button12Click", &TForm1::Button12Click)
                            .Handler(u"Button21Click", &TForm1::Button21Click)
                            .Handler(u"N2222Click", &TForm1::N2222Click)
                            .Handler(u"N21Click", &TForm1::N21Click)
                            .Handler(u"N3331Click", &TForm1::N3331Click);

}  // namespace
