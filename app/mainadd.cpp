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
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinpanels.h"

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
    const String missing = UnavailableEncoder(formatchoice::ChosenFormatKey(FormatControls()));
    if (!missing.empty()) {
        Inform(u"当前使用的媒体库没有该格式所需的编码器 " + missing + u"，无法转换为该格式。");
        return false;
    }
    return true;
}

TForm1::TAddResult TForm1::AddProbedFile(const String& AFileName) {
    TAVProbe* probe = Strovix->AVProbe();
    if (!probe->LoadFile(AFileName, String())) {
        LogError(u"***File load error: " + probe->LastErrMsg());
        return arSkipped;
    }
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
    lvFiles->SetSelected(lvFiles->Items()->Item(count - 1));
    FocusFileList();
}

void TForm1::AddOneFile(const String& AFileName) {
    if (!PrepareAdding() || !FileExists(AFileName)) return;
    if (AddProbedFile(AFileName) == arAdded) SelectLastRow();
}

bool TForm1::AddFileList(const std::vector<String>& AFileNames) {
    for (auto name = AFileNames.rbegin(); name != AFileNames.rend(); ++name)
        if (!FileExists(*name) || AddProbedFile(*name) == arEnded) return false;
    return true;
}

void TForm1::AddFiles(const std::vector<String>& AFileNames) {
    if (!PrepareAdding() || AFileNames.empty() || !FileExists(AFileNames.front())) return;
    if (AddFileList(AFileNames)) SelectLastRow();
}

void TForm1::AddFolder(const String& ADirectory) {
    const Integer rowsBefore = lvFiles->Items()->Count();
    if (!PrepareAdding()) return;
    // A virtual node's display name is no folder.
    if (ADirectory.empty() || ADirectory[0] != u'/' || !FolderExists(ADirectory)) return;
    ListBox1->Items()->Clear();
    std::vector<String> names = GetFilenames(ADirectory, u"*.*").value_or(std::vector<String>{});
    for (const String& name : names)
        ListBox1->Items()->Add(name);
    if (!AddFileList(names)) return;
    SelectLastRow();
    if (lvFiles->Items()->Count() <= rowsBefore)
        Inform(u"在该目录没有发现可以用的视频或音频文件！");
}
