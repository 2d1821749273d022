#include "app/mainform.h"

#include "app/aboutform.h"
#include "app/addresses.h"
#include "app/optionfile.h"
#include "app/optionsform.h"
#include "media/ffmpeglogger.h"
#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/core/qxskindata.h"

TForm1* Form1 = nullptr;

namespace {

void ShellOpen(win::HWND AOwner, const String& ATarget) {
    win::ShellExecuteW(AOwner, nullptr, ATarget.c_str(), nullptr, nullptr, win::SW_SHOWNORMAL);
}

}  // namespace

void TForm1::FormCreate(TObject*) {
    Button15->Click();
    Button17->Click();
    Button3->Click();
    FillScreenList();
    qxSkinSlider1_down_UP = u"UP";
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
    VIZevado->SetOnPosition(nullptr);
    VIZevado->SetOnState(nullptr);
    VIZevado->SetOnHook(nullptr);
    Strovix->SetOnCustomHook(nullptr);
    Strovix->SetOnProgress(nullptr);
    Strovix->SetOnTerminate(nullptr);
    Strovix->Stop(true);
    FFLogger->SetOnLog(nullptr);
    CanClose = true;
}

void TForm1::Button15Click(TObject*) {
    for (TOutputOptions& slot : OO1)
        slot.AudioLanguage = SlotFree;
}

void TForm1::SetOutputFolder(const String& AFolder) {
    Video_OutPut_Folder_Edit->SetText(AFolder);
    FileOutPutPath = AFolder;
}

void TForm1::UseDefaultOutputFolder() {
    const String folder = DefaultOutputFolder();
    if (!FolderExists(folder)) CreateFolderTree(folder);
    // A folder that cannot be saved still serves this run.
    if (!TryWriteOption(u"OutPath", u"OutPath", folder)) SettingsUnsaved = true;
    SetOutputFolder(folder);
}

void TForm1::Button17Click(TObject*) {
    const String value = ReadOption(u"OutPath", u"OutPath");
    if (value.empty()) return UseDefaultOutputFolder();
    const String folder = AbsoluteFolder(value);
    if (!FolderExists(folder)) CreateFolderTree(folder);
    SetOutputFolder(folder);
}

void TForm1::Button16Click(TObject*) {
    if (FolderExists(FileOutPutPath)) WriteOption(u"OutPath", u"OutPath", FileOutPutPath);
}

void TForm1::Button3Click(TObject*) {
    Integer index = 0;
    // A value that is no number counts as none.
    if (!TryStrToInt(ReadOption(u"Skin", u"SetSkin"), index)) {
        index = 0;
        if (!TryWriteOption(u"Skin", u"SetSkin", u"0")) SettingsUnsaved = true;
    }
    qxSkinData1->SetSkinIndex(index);
}

void TForm1::Button4Click(TObject*) {
    WriteOption(u"Skin", u"SetSkin", IntToStr(qxSkinData1->SkinIndex()));
}

void TForm1::Button20Click(TObject*) {
    ShellOpen(Handle(), Video_OutPut_Folder_Edit->Text());
}

void TForm1::Button1Click(TObject*) {
    ShellOpen(Handle(), ProgramFolder() + u"help.chm");
}

void TForm1::FillScreenList() {
    TStrings* names = cboScreens->Items();
    names->Clear();
    names->Add(u"Panel6");
    for (Integer order = 0;; ++order) {
        TWinControl* found = nullptr;
        for (Integer i = 0; i < ControlCount() && !found; ++i)
            if (auto* child = dynamic_cast<TWinControl*>(Controls(i)); child && child->TabOrder() == order)
                found = child;
        if (!found) break;
        names->Add(found->Name());
    }
    cboScreens->SetItemIndex(0);
}

void TForm1::FocusFileList() {
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::qxSkinButton6Click(TObject*) {
    Button20->Click();
    FocusFileList();
}

void TForm1::Video_OutPut_Folder_EditClick(TObject*) {
    FocusFileList();
}

void TForm1::qxSkinButton19Click(TObject*) {
    Form5->ShowModal();
}

void TForm1::N24Click(TObject*) {
    Form5->ShowModal();
}

void TForm1::N4Click(TObject*) {
    Close();
}

void TForm1::N5Click(TObject*) {
    Form2->ShowModal();
}

void TForm1::N15Click(TObject*) {
    ShellOpen(Handle(), HelpPageAddress);
}

void TForm1::N19Click(TObject*) {
    ShellOpen(Handle(), HomePageAddress);
}

void TForm1::EMAIL1Click(TObject*) {
    ShellOpen(Handle(), SupportMailLink);
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Handler(u"FormCreate", &TForm1::FormCreate)
                            .Handler(u"FormCloseQuery", &TForm1::FormCloseQuery)
                            .Handler(u"Button15Click", &TForm1::Button15Click)
                            .Handler(u"Button17Click", &TForm1::Button17Click)
                            .Handler(u"Button16Click", &TForm1::Button16Click)
                            .Handler(u"Button3Click", &TForm1::Button3Click)
                            .Handler(u"Button4Click", &TForm1::Button4Click)
                            .Handler(u"Button20Click", &TForm1::Button20Click)
                            .Handler(u"Button1Click", &TForm1::Button1Click)
                            .Handler(u"qxSkinButton6Click", &TForm1::qxSkinButton6Click)
                            .Handler(u"Video_OutPut_Folder_EditClick", &TForm1::Video_OutPut_Folder_EditClick)
                            .Handler(u"qxSkinButton19Click", &TForm1::qxSkinButton19Click)
                            .Handler(u"N24Click", &TForm1::N24Click)
                            .Handler(u"N4Click", &TForm1::N4Click)
                            .Handler(u"N5Click", &TForm1::N5Click)
                            .Handler(u"N15Click", &TForm1::N15Click)
                            .Handler(u"N19Click", &TForm1::N19Click)
                            .Handler(u"EMAIL1Click", &TForm1::EMAIL1Click)
                            .Field(u"qxSkinData1", &TForm1::qxSkinData1)
                            .Field(u"qxSkinData2", &TForm1::qxSkinData2)
                            .Field(u"Strovix", &TForm1::Strovix)
                            .Field(u"FFLogger", &TForm1::FFLogger)
                            .Field(u"VIZevado", &TForm1::VIZevado)
                            .Field(u"lvFiles", &TForm1::lvFiles)
                            .Field(u"Video_OutPut_Folder_Edit", &TForm1::Video_OutPut_Folder_Edit)
                            .Field(u"cboScreens", &TForm1::cboScreens)
                            .Field(u"mmoLog", &TForm1::mmoLog)
                            .Field(u"Button3", &TForm1::Button3)
                            .Field(u"Button4", &TForm1::Button4)
                            .Field(u"Button15", &TForm1::Button15)
                            .Field(u"Button16", &TForm1::Button16)
                            .Field(u"Button17", &TForm1::Button17)
                            .Field(u"Button20", &TForm1::Button20);

}  // namespace
