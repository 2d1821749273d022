#include "app/mainform.h"

#include "app/aboutform.h"
#include "app/addresses.h"
#include "app/optionfile.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "media/ffmpeglogger.h"
#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/listbox.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/win/system.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinslider.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxskindata.h"
#include "skin/dialogs/qxskinmessage.h"

TForm1* Form1 = nullptr;

namespace {

void ShellOpen(win::HWND AOwner, const String& ATarget) {
    win::ShellExecuteW(AOwner, nullptr, ATarget.c_str(), nullptr, nullptr, win::SW_SHOWNORMAL);
}

}  // namespace

void TForm1::FormCreate(TObject*) {
    qxSkinMessage1 = new TqxSkinMessage(this);
    qxSkinMessage1->SetSkinData(qxSkinData1);
    qxSkinMessage1->SetCtrlSkinData(qxSkinData1);
    CreateAddDialogs();
    CreatePreviewDialogs();
    if (const std::vector<String>& left = qxCompressedSkinList1->LeftOutSkins(); !left.empty()) {
        String files;
        for (const String& file : left)
            files += u"\n" + file;
        StartNotices.push_back(u"下列皮肤文件无法读取，已从皮肤列表中去掉：" + files);
    }
    Button15->Click();
    Button17->Click();
    Button21Click(this);
    Button3->Click();
    Button2->Click();
    FillScreenList();
    qxSkinSlider1_down_UP = u"UP";
}

const formatchoice::TFormatControls& TForm1::FormatControls() {
    if (!FFormatControls.lvFiles) {
        FFormatControls = {qxSkinOfficeComboBox2, qxSkinOfficeComboBox1, qxSkinComboBox1, qxSkinComboBox2,
                           qxSkinComboBox3, qxSkinComboBox4, qxSkinComboBox9, qxSkinComboBox10, lvFiles,
                           [this] { return Video_OutPut_Folder_Edit->Text(); },
                           // The options dialog comes after the main window.
                           [] { return Form5 && Form5->qxSkinCheckRadioBox3->Checked(); },
                           [this](const String& AText) { Inform(AText); }};
    }
    return FFormatControls;
}

void TForm1::qxSkinOfficeComboBox2Change(TObject*) {
    formatchoice::qxSkinOfficeComboBox2Change(FormatControls());
}

void TForm1::qxSkinOfficeComboBox1Change(TObject*) {
    formatchoice::qxSkinOfficeComboBox1Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox1Change(TObject*) {
    formatchoice::qxSkinComboBox1Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox2Change(TObject*) {
    formatchoice::qxSkinComboBox2Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox3Change(TObject*) {
    formatchoice::qxSkinComboBox3Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox4Change(TObject*) {
    formatchoice::qxSkinComboBox4Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox9Change(TObject*) {
    formatchoice::qxSkinComboBox9Change(FormatControls(), Staging);
}

void TForm1::qxSkinComboBox10Change(TObject*) {
    formatchoice::qxSkinComboBox10Change(FormatControls(), Staging);
}

void TForm1::Button2Click(TObject*) {
    formatchoice::Button2Click(FormatControls());
}

void TForm1::Button5Click(TObject*) {
    formatchoice::Button5Click(FormatControls(), Staging);
}

void TForm1::Button6Click(TObject*) {
    formatchoice::Button6Click(Staging);
}

void TForm1::Button13Click(TObject*) {
    formatchoice::Button13Click(FormatControls(), Staging);
}

void TForm1::Button18Click(TObject*) {
    formatchoice::Button18Click(FormatControls(), Staging);
}

void TForm1::DetachWorkHandlers() {
    VIZevado->SetOnPosition(nullptr);
    VIZevado->SetOnState(nullptr);
    VIZevado->SetOnHook(nullptr);
    Strovix->SetOnCustomHook(nullptr);
    Strovix->SetOnProgress(nullptr);
    Strovix->SetOnTerminate(nullptr);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
    DetachWorkHandlers();
    Strovix->Stop(true);
    FFLogger->SetOnLog(nullptr);
    CanClose = true;
}

void TForm1::BeforeDestruction() {
    // Also when freed without being closed: the player and the converter
    // stop while the form's controls go, and their queued reports must not
    // reach it.
    if (VIZevado && Strovix && FFLogger) {
        DetachWorkHandlers();
        VIZevado->SetOnFileOpen(nullptr);
        FFLogger->SetOnLog(nullptr);
    }
    TForm::BeforeDestruction();
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
    // A skin left out of the list (or never there) gives way to the first.
    if (index < 0 || index >= qxCompressedSkinList1->Skins()->Count()) index = 0;
    if (const String failure = ApplySkin(index); !failure.empty())
        StartNotices.push_back(failure + u"\n程序使用默认外观。");
}

String TForm1::ApplySkin(Integer AIndex) {
    try {
        qxSkinData1->SetSkinIndex(AIndex);
        // The options dialog's radio boxes draw with the second skin data:
        // left on the first skin, their captions would be dark on the
        // second's dark panels.
        qxSkinData2->SetSkinIndex(qxSkinData1->SkinIndex());
    } catch (const Exception& e) {
        TqxSkinListItems* skins = qxCompressedSkinList1->Skins();
        const String name =
            AIndex >= 0 && AIndex < skins->Count() ? skins->Items(AIndex)->Name() : IntToStr(AIndex);
        return u"无法载入皮肤“" + name + u"”：" + e.Message();
    }
    return {};
}

void TForm1::Button4Click(TObject*) {
    // As at start-up: the skin stays in force, only unsaved.
    if (!TryWriteOption(u"Skin", u"SetSkin", IntToStr(qxSkinData1->SkinIndex()))) TellSettingsUnsaved();
}

void TForm1::TellSettingsUnsaved() {
    if (FSettingsUnsavedTold) return;
    FSettingsUnsavedTold = true;
    Application->MessageBox(
        Format(u"无法写入设置文件 %s，本次设置仍然有效，但不会被保存。", {OptionFileName()}), u"提示",
        win::MB_OK | win::MB_ICONASTERISK);
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

// "设置...": the dialog starts from the main window's choice; its own "确定"
// hands the choice back.
void TForm1::qxSkinButton24Click(TObject*) {
    formatchoice::CopyChoice(FormatControls(), Form7->Controls());
    Form7->ShowModal();
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
                            .Handler(u"qxSkinOfficeComboBox2Change", &TForm1::qxSkinOfficeComboBox2Change)
                            .Handler(u"qxSkinOfficeComboBox1Change", &TForm1::qxSkinOfficeComboBox1Change)
                            .Handler(u"qxSkinComboBox1Change", &TForm1::qxSkinComboBox1Change)
                            .Handler(u"qxSkinComboBox2Change", &TForm1::qxSkinComboBox2Change)
                            .Handler(u"qxSkinComboBox3Change", &TForm1::qxSkinComboBox3Change)
                            .Handler(u"qxSkinComboBox4Change", &TForm1::qxSkinComboBox4Change)
                            .Handler(u"qxSkinComboBox9Change", &TForm1::qxSkinComboBox9Change)
                            .Handler(u"qxSkinComboBox10Change", &TForm1::qxSkinComboBox10Change)
                            .Handler(u"Button2Click", &TForm1::Button2Click)
                            .Handler(u"Button5Click", &TForm1::Button5Click)
                            .Handler(u"Button6Click", &TForm1::Button6Click)
                            .Handler(u"Button13Click", &TForm1::Button13Click)
                            .Handler(u"Button18Click", &TForm1::Button18Click)
                            .Field(u"qxSkinOfficeComboBox1", &TForm1::qxSkinOfficeComboBox1)
                            .Field(u"qxSkinOfficeComboBox2", &TForm1::qxSkinOfficeComboBox2)
                            .Field(u"qxSkinComboBox1", &TForm1::qxSkinComboBox1)
                            .Field(u"qxSkinComboBox2", &TForm1::qxSkinComboBox2)
                            .Field(u"qxSkinComboBox3", &TForm1::qxSkinComboBox3)
                            .Field(u"qxSkinComboBox4", &TForm1::qxSkinComboBox4)
                            .Field(u"qxSkinComboBox9", &TForm1::qxSkinComboBox9)
                            .Field(u"qxSkinComboBox10", &TForm1::qxSkinComboBox10)
                            .Field(u"Button2", &TForm1::Button2)
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
                            .Handler(u"qxSkinButton24Click", &TForm1::qxSkinButton24Click)
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
                            .Field(u"Button20", &TForm1::Button20)
                            .Field(u"btnRemove", &TForm1::btnRemove)
                            .Field(u"btnClear", &TForm1::btnClear)
                            .Field(u"btnStart", &TForm1::btnStart)
                            .Field(u"qxSkinButton2", &TForm1::qxSkinButton2)
                            .Field(u"qxSkinButton7", &TForm1::qxSkinButton7)
                            .Field(u"qxSkinButton8", &TForm1::qxSkinButton8)
                            .Field(u"qxSkinButton21", &TForm1::qxSkinButton21)
                            .Field(u"N7", &TForm1::N7)
                            .Field(u"N13", &TForm1::N13)
                            .Field(u"N14", &TForm1::N14)
                            .Field(u"N26", &TForm1::N26)
                            .Field(u"qxSkinPanel5", &TForm1::qxSkinPanel5)
                            .Field(u"ListBox1", &TForm1::ListBox1)
                            .Field(u"Image4", &TForm1::Image4)
                            .Field(u"Image5", &TForm1::Image5)
                            .Field(u"Image13", &TForm1::Image13)
                            .Field(u"Image15", &TForm1::Image15)
                            .Field(u"Image16", &TForm1::Image16)
                            .Field(u"Image12", &TForm1::Image12)
                            .Field(u"Image14", &TForm1::Image14)
                            .Field(u"Image17", &TForm1::Image17)
                            .Field(u"edt", &TForm1::edt)
                            .Field(u"qxSkinSlider1", &TForm1::qxSkinSlider1)
                            .Field(u"btnAdd", &TForm1::btnAdd)
                            .Field(u"qxSkinMenuSpeedButton1", &TForm1::qxSkinMenuSpeedButton1)
                            .Field(u"Item111", &TForm1::Item111)
                            .Field(u"Item121", &TForm1::Item121)
                            .Field(u"N21", &TForm1::N21)
                            .Field(u"N11111", &TForm1::N11111)
                            .Field(u"N2222", &TForm1::N2222)
                            .Field(u"N3331", &TForm1::N3331)
                            .Handler(u"btnRemoveClick", &TForm1::btnRemoveClick)
                            .Handler(u"btnClearClick", &TForm1::btnClearClick)
                            .Handler(u"qxSkinButton7Click", &TForm1::qxSkinButton7Click)
                            .Handler(u"qxSkinButton8Click", &TForm1::qxSkinButton8Click)
                            .Handler(u"qxSkinButton3Click", &TForm1::qxSkinButton3Click)
                            .Handler(u"qxSkinButton4Click", &TForm1::qxSkinButton4Click)
                            .Handler(u"qxSkinButton21Click", &TForm1::qxSkinButton21Click)
                            .Handler(u"N26Click", &TForm1::N26Click)
                            .Handler(u"lvFilesDblClick", &TForm1::lvFilesDblClick)
                            .Handler(u"edtExit", &TForm1::edtExit)
                            .Handler(u"edtKeyDown", &TForm1::edtKeyDown)
                            .Handler(u"lvFilesSelectItem", &TForm1::lvFilesSelectItem)
                            .Handler(u"lvFilesClick", &TForm1::lvFilesClick);

}  // namespace
