#include "app/program.h"

#include "app/aboutform.h"
#include "app/mainform.h"
#include "app/optionsform.h"
#include "app/presetdialog.h"
#include "app/settingsdialog.h"
#include "platform/win/system.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskinedit.h"

void CreateProgramForms() {
    Application->Initialize();
    Application->SetTitle(u"VelquaAVCHD高清格式转换器");
    Application->SetHelpFile(u"help.chm");
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form5);
    SettingsDialogTarget.Staging = &Form1->Staging;
    SettingsDialogTarget.OutputFolder = [] { return Form1->Video_OutPut_Folder_Edit->Text(); };
    SettingsDialogTarget.OverwriteOutput = [] { return Form5->qxSkinCheckRadioBox3->Checked(); };
    Application->CreateForm(Form6);
    PresetDialogTarget = {&Form1->Staging, Form1->FormatControls()};
    Application->CreateForm(Form7);
    // The settings are in force all the same; they only will not outlive this run.
    if (Form1->SettingsUnsaved || Form5->SettingsUnsaved) Form1->TellSettingsUnsaved();
    for (const String& notice : Form1->StartNotices)
        Application->MessageBox(notice, u"提示", win::MB_OK | win::MB_ICONASTERISK);
}

int RunProgram() {
    CreateProgramForms();
    Application->Run();
    return 0;
}
