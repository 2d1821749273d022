// The handlers of the format and parameter pickers, written once for the two
// windows that carry them. The main window and the preset dialog each hold a
// category and a format office combo box and six parameter combo boxes of
// the same names; both write into the main window's file list and staging
// fields. Each window describes its controls in a TFormatControls and calls
// these routines from its own handlers of the same names, e.g.
//
//   void TForm1::qxSkinOfficeComboBox1Change(TObject*) {
//       formatchoice::qxSkinOfficeComboBox1Change(FFormatControls, FStaging);
//   }
//
// Wiring, the same in both windows:
//   qxSkinOfficeComboBox2.OnChange  -> qxSkinOfficeComboBox2Change(C)
//   qxSkinOfficeComboBox1.OnChange  -> qxSkinOfficeComboBox1Change(C, S)
//   qxSkinComboBoxN.OnChange        -> qxSkinComboBoxNChange(C, S)
//   form creation (after the categories are in their box) -> Button2Click(C)
// The dialog's TFormatControls names its own pickers but the main window's
// lvFiles, OutputFolder, Overwrite, Inform and Restoring, and it passes the
// main window's staging fields as S.
// Adding files (main window): Button6Click(S) once and ChosenFormatWritable(C);
// per file set S.Video_AddFileName, then Button5Click(C, S),
// Button13Click(C, S) and DeriveOutputOptions(S, options); the new row's
// ColFormatKey and ColComboIndices are ChosenStoredSelection(C) and
// ChosenComboIndices(C).
// Selecting a row: RestoreRowChoice(C, row).
// "设置...": CopyChoice(main, dialog), then show the dialog modally.
// "确定": CopyChoice(dialog, main), then close it.
//
// Only a choice the user makes writes the selected row: restoring a row's
// own positions (a selection, the dialog's hand-offs, an undone refusal)
// writes nothing into it.
//
// The handlers run inside the ItemIndex writes that raise them, nested, as
// the controls raise their events: an office combo box on every write, a
// plain one when its shown text changes; filling or clearing raises nothing.
#pragma once

#include <functional>
#include <memory>

#include "app/formatcatalogue.h"

class TqxSkinOfficeComboBox;
class TqxSkinComboBox;
class TqxSkinListView;
class TListItem;

namespace formatchoice {

// One window's pickers, and what the codec data reads of the main window.
struct TFormatControls {
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox2 = nullptr;  // category
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox1 = nullptr;  // format
    TqxSkinComboBox* qxSkinComboBox1 = nullptr;              // frame size
    TqxSkinComboBox* qxSkinComboBox2 = nullptr;              // video bit rate
    TqxSkinComboBox* qxSkinComboBox3 = nullptr;              // audio bit rate
    TqxSkinComboBox* qxSkinComboBox4 = nullptr;              // picture mode
    TqxSkinComboBox* qxSkinComboBox9 = nullptr;              // frame rate
    TqxSkinComboBox* qxSkinComboBox10 = nullptr;             // sample rate
    // The main window's file list, also for the dialog: its selected row
    // receives the choices.
    TqxSkinListView* lvFiles = nullptr;
    // The output folder's text and whether existing output files are
    // overwritten, read each time the codec data runs.
    std::function<String()> OutputFolder;
    std::function<bool()> Overwrite;
    // Shows the main window's "提示" box.
    std::function<void(const String&)> Inform;
    // Set while positions are restored into pickers: their handlers then
    // fill the lists and write no row. The dialog's copy shares it.
    std::shared_ptr<bool> Restoring = std::make_shared<bool>(false);
};

// The parameter's combo box of the window.
TqxSkinComboBox* ParameterCombo(const TFormatControls& AControls, TPresetParameter AParameter);
// The key of the two pickers' positions; -1 when they name no format.
Integer ChosenFormatKey(const TFormatControls& AControls);
// The stored selection of the two pickers' positions, as the row keeps it.
String ChosenStoredSelection(const TFormatControls& AControls);
// The six parameter positions as the row keeps them (ColComboIndices).
String ChosenComboIndices(const TFormatControls& AControls);
// The shown texts of the six parameter boxes.
TParameterTexts ChosenTexts(const TFormatControls& AControls);

// The 19 categories into the category box, with their pictures; no event.
void FillCategoryItems(TqxSkinOfficeComboBox* ACombo);

// The format list of the chosen category, then format position 0, whose
// write runs the format change. A category outside the list leaves the
// format list empty and writes position -1: its format change empties the
// six boxes and writes no row.
void Button2Click(const TFormatControls& AControls);
// The preset fill: the six boxes cleared and enabled, filled with the chosen
// format's lists, each given its default (raising its change when its shown
// text changes), and for an audio-only format the four video boxes
// disabled last. Writes Video_DisableVideo and All_Trant_Number.
void Button18Click(const TFormatControls& AControls, TStagingFields& AStaging);
// The six staging values from the shown texts of the six boxes.
void Button13Click(const TFormatControls& AControls, TStagingFields& AStaging);
// The staging reset.
void Button6Click(TStagingFields& AStaging);

// The codec data of the chosen format into the staging fields, and the
// numbered output path of Video_AddFileName among the files on disk, the
// rows' output names and the list's inputs. It writes no row: while a file
// is added the selected row is another file's.
void Button5Click(const TFormatControls& AControls, TStagingFields& AStaging);

// Whether the loaded libraries have every encoder of the chosen format; when
// not, the "提示" box names the missing one.
bool ChosenFormatWritable(const TFormatControls& AControls);

// The category change: the format list of the new category.
void qxSkinOfficeComboBox2Change(const TFormatControls& AControls);
// The format change: the preset fill, then, with a selected row, what the
// row converts with (codec data and the values of the shown texts), its
// parameter positions, its output name (the format's extension, numbered
// when that makes a new name) and stored selection. A format the libraries
// cannot write is refused first: the box says so and the row's own choice
// comes back into the pickers.
void qxSkinOfficeComboBox1Change(const TFormatControls& AControls, TStagingFields& AStaging);
// A parameter change: with a selected row, its position pair in
// ColComboIndices, the staging field and the value column.
void ParameterChange(const TFormatControls& AControls, TStagingFields& AStaging, TPresetParameter AParameter);
void qxSkinComboBox1Change(const TFormatControls& AControls, TStagingFields& AStaging);
void qxSkinComboBox2Change(const TFormatControls& AControls, TStagingFields& AStaging);
void qxSkinComboBox3Change(const TFormatControls& AControls, TStagingFields& AStaging);
void qxSkinComboBox4Change(const TFormatControls& AControls, TStagingFields& AStaging);
void qxSkinComboBox9Change(const TFormatControls& AControls, TStagingFields& AStaging);
void qxSkinComboBox10Change(const TFormatControls& AControls, TStagingFields& AStaging);

// The eight positions from one window's pickers to the other's, in
// HandOffOrder; each write runs the receiving window's handlers, which write
// no row.
void CopyChoice(const TFormatControls& AFrom, const TFormatControls& ATo);

// The row's stored category, format and six parameter positions into the
// window's pickers, whose handlers write no row meanwhile. False, before any
// picker is written, when the row's ColFormatKey or ColComboIndices holds no
// such numbers; a position outside its list raises the list's error.
bool RestoreRowChoice(const TFormatControls& AControls, TListItem* ARow);

}  // namespace formatchoice
