// The main window: the file list, the output choice, the preview and the
// run controls, the state the whole workflow shares, and the start-up and
// shutdown of the program's work.
#pragma once

#include <array>

#include "app/formatchoice.h"
#include "media/strovix.h"
#include "platform/toolkit/forms.h"

class TButton;
class TComboBox;
class TFFLogger;
class TFFPlayer;
class TMemo;
class TMenuItem;
class TqxSkinComboBox;
class TqxSkinData;
class TqxSkinOfficeComboBox;
class TqxSkinEdit;
class TqxSkinListView;
class TWinControl;

// Task slots: 501 pairs of option records, each marked by the output
// record's AudioLanguage.
inline constexpr Integer TaskSlotCount = 501;
inline constexpr const char16_t* SlotFree = u"kong";
inline constexpr const char16_t* SlotFull = u"Full";
inline constexpr const char16_t* SlotDeleted = u"DELETED";

class TForm1 : public TForm {
public:
    using TForm::TForm;

    // Components of the description.
    TqxSkinData* qxSkinData1 = nullptr;
    TqxSkinData* qxSkinData2 = nullptr;
    TStrovix* Strovix = nullptr;
    TFFLogger* FFLogger = nullptr;
    TFFPlayer* VIZevado = nullptr;
    TqxSkinListView* lvFiles = nullptr;
    TqxSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    TComboBox* cboScreens = nullptr;
    TMemo* mmoLog = nullptr;
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox1 = nullptr;
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox2 = nullptr;
    TqxSkinComboBox* qxSkinComboBox1 = nullptr;
    TqxSkinComboBox* qxSkinComboBox2 = nullptr;
    TqxSkinComboBox* qxSkinComboBox3 = nullptr;
    TqxSkinComboBox* qxSkinComboBox4 = nullptr;
    TqxSkinComboBox* qxSkinComboBox9 = nullptr;
    TqxSkinComboBox* qxSkinComboBox10 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button15 = nullptr;
    TButton* Button16 = nullptr;
    TButton* Button17 = nullptr;
    TButton* Button20 = nullptr;

    // The workflow's state.
    Int64 FDuration = 0;
    bool FTrackChanging = false;
    TWinControl* FScreenControl = nullptr;
    std::array<TInputOptions, TaskSlotCount> IO1{};
    std::array<TOutputOptions, TaskSlotCount> OO1{};
    String FileOutPutPath;
    // Video_OutPutFileName ... Video_DisableVideo and All_Trant_Number.
    TStagingFields Staging;
    String T_Movie_PLayer_FileName;
    String qxSkinSlider1_down_UP;
    // Whether start-up could not save a setting it applied.
    bool SettingsUnsaved = false;

    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    // The output choice.
    void qxSkinOfficeComboBox2Change(TObject* Sender);
    void qxSkinOfficeComboBox1Change(TObject* Sender);
    void qxSkinComboBox1Change(TObject* Sender);
    void qxSkinComboBox2Change(TObject* Sender);
    void qxSkinComboBox3Change(TObject* Sender);
    void qxSkinComboBox4Change(TObject* Sender);
    void qxSkinComboBox9Change(TObject* Sender);
    void qxSkinComboBox10Change(TObject* Sender);
    // The pickers as the shared handlers see them.
    const formatchoice::TFormatControls& FormatControls();

    // Operations of the hidden buttons.
    void Button2Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button1Click(TObject* Sender);

    // Commands.
    void qxSkinButton6Click(TObject* Sender);
    void Video_OutPut_Folder_EditClick(TObject* Sender);
    void qxSkinButton19Click(TObject* Sender);
    void N24Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void N15Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void EMAIL1Click(TObject* Sender);

private:
    formatchoice::TFormatControls FFormatControls;
    // Shows and keeps AFolder as the output folder.
    void SetOutputFolder(const String& AFolder);
    // The default output folder, created and saved (steps of a first start).
    void UseDefaultOutputFolder();
    // Step 6 of the creation: "Panel6", then the direct windowed children
    // in tab order up to the first gap.
    void FillScreenList();
    void FocusFileList();
};

extern TForm1* Form1;
