// The options dialog: how conversions use the processor, how many run at
// once, the live preview, existing output files and the action after a
// run. Its controls are the settings in force; "option.ini" carries them
// from one run of the program to the next.
#pragma once

#include "platform/toolkit/forms.h"

class TButton;
class TqxSkinCheckRadioBox;
class TqxSkinComboBox;

class TForm5 : public TForm {
public:
    using TForm::TForm;

    TqxSkinCheckRadioBox* qxSkinCheckRadioBox1 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox2 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox3 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox4 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox5 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox6 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox7 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox8 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox9 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox10 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox11 = nullptr;
    TqxSkinCheckRadioBox* qxSkinCheckRadioBox12 = nullptr;
    TqxSkinComboBox* qxSkinComboBox2 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    // Whether loading could not write back a default it applied.
    bool SettingsUnsaved = false;

    void FormCreate(TObject* Sender);
    // "读取ini": section "Options" into the controls.
    void Button1Click(TObject* Sender);
    // "写ini": the controls into section "Options".
    void Button2Click(TObject* Sender);
    void qxSkinButton6Click(TObject* Sender);
    void qxSkinButton1Click(TObject* Sender);
    void qxSkinCheckRadioBox7Click(TObject* Sender);
    void qxSkinCheckRadioBox8Click(TObject* Sender);

private:
    // Writes a repaired key back, noting a refused write.
    void Repair(const String& AKey, const String& AValue);
};

extern TForm5* Form5;
