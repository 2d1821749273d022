// The preset dialog: the main window's category, format and six parameter
// choices in a modal window of its own. Each choice in it is a live edit of
// the main window's staging fields and of the selected row of its file
// list, made by the pickers' handlers the main window runs too; "确定" hands
// the eight positions back to the main window's pickers, whose own handlers
// then run; "取消" closes and copies nothing.
#pragma once

#include "app/formatchoice.h"
#include "platform/toolkit/forms.h"

class TButton;

// What the dialog reaches of the main window: its staging fields, and its
// pickers with the file list, the output folder and the overwrite choice.
// The program main sets it before it creates the dialog.
struct TPresetDialogTarget {
    TStagingFields* Staging = nullptr;
    formatchoice::TFormatControls Main;
};
extern TPresetDialogTarget PresetDialogTarget;

class TForm7 : public TForm {
public:
    using TForm::TForm;

    TqxSkinOfficeComboBox* qxSkinOfficeComboBox2 = nullptr;  // category
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox1 = nullptr;  // format
    TqxSkinComboBox* qxSkinComboBox1 = nullptr;
    TqxSkinComboBox* qxSkinComboBox2 = nullptr;
    TqxSkinComboBox* qxSkinComboBox3 = nullptr;
    TqxSkinComboBox* qxSkinComboBox4 = nullptr;
    TqxSkinComboBox* qxSkinComboBox9 = nullptr;
    TqxSkinComboBox* qxSkinComboBox10 = nullptr;
    TButton* Button2 = nullptr;

    // The dialog's own pickers with the main window's file list, output
    // folder and overwrite choice.
    formatchoice::TFormatControls Controls() const;

    void FormCreate(TObject* Sender);
    void qxSkinOfficeComboBox2Change(TObject* Sender);
    void qxSkinOfficeComboBox1Change(TObject* Sender);
    void qxSkinComboBox1Change(TObject* Sender);
    void qxSkinComboBox2Change(TObject* Sender);
    void qxSkinComboBox3Change(TObject* Sender);
    void qxSkinComboBox4Change(TObject* Sender);
    void qxSkinComboBox9Change(TObject* Sender);
    void qxSkinComboBox10Change(TObject* Sender);
    // "确定": the eight positions into the main window's pickers, then closes.
    void qxSkinButton2Click(TObject* Sender);
    // "取消": closes; the live edits stay.
    void qxSkinButton3Click(TObject* Sender);
    // The main window's format items, without events.
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    // Runs AHandler with the main window's staging fields, when there are.
    void WithStaging(const std::function<void(const formatchoice::TFormatControls&, TStagingFields&)>& AHandler);
};

extern TForm7* Form7;
