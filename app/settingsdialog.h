// The settings dialog: an older, smaller format picker with its own twelve
// categories, a description under every format, its own presets and codec
// data. The program creates it at start-up, where its format list and the
// presets of its first format are filled; nothing shows it, yet it works
// when shown: "确定" writes the chosen format's codec data, then the six
// parameter values, into the main window's staging fields and hides it.
//
// The dialog keeps nothing of its own beyond its controls. Its operations
// are the click handlers of hidden buttons; the creation and change handlers
// run one by clicking its button in code.
#pragma once

#include <functional>

#include "app/formatcatalogue.h"
#include "platform/toolkit/forms.h"

class TButton;
class TCustomImageList;
class TStrovix;
class TqxSkinComboBox;
class TqxSkinOfficeComboBox;

// What the dialog reaches of the main window (its staging fields and its
// output folder) and of the options dialog (whether an existing output file
// is overwritten). The program main sets it before it creates the dialog.
struct TSettingsDialogTarget {
    TStagingFields* Staging = nullptr;
    std::function<String()> OutputFolder;
    std::function<bool()> OverwriteOutput;
};
extern TSettingsDialogTarget SettingsDialogTarget;

class TForm6 : public TForm {
public:
    using TForm::TForm;

    TqxSkinOfficeComboBox* qxSkinOfficeComboBox2 = nullptr;  // category
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox1 = nullptr;  // format
    TButton* Button2 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button13 = nullptr;
    TButton* Button18 = nullptr;
    TCustomImageList* ImageList1 = nullptr;
    TStrovix* Strovix = nullptr;

    // The parameter's combo box on the first tab.
    TqxSkinComboBox* ParameterBox(TPresetParameter AParameter) const;
    // (category position + 1) × 100 + format position, as the boxes stand.
    Integer SettingsKey() const;

    void FormCreate(TObject* Sender);
    void qxSkinOfficeComboBox2Change(TObject* Sender);
    void qxSkinOfficeComboBox1Click(TObject* Sender);
    void qxSkinButton2Click(TObject* Sender);
    void qxSkinButton3Click(TObject* Sender);
    // The format list of the chosen category; selecting its first format
    // runs the preset fill.
    void Button2Click(TObject* Sender);
    // The six parameter boxes from the chosen format's preset.
    void Button18Click(TObject* Sender);
    // The chosen format's codec data and output name.
    void Button5Click(TObject* Sender);
    // The six parameter texts as staging values.
    void Button13Click(TObject* Sender);
    // The main window's reset of its staging fields.
    void Button6Click(TObject* Sender);
};

extern TForm6* Form6;
