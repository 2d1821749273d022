// The main window's list editing: remove, clear, move and rename rows, and
// a selected row's choices written back into the pickers.
#include "app/filelistcolumns.h"
#include "app/mainform.h"
#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinslider.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/dialogs/qxskinmessage.h"

namespace {

void CopyRow(TListItem* AFrom, TListItem* ATo) {
    ATo->SetCaption(AFrom->Caption());
    ATo->SubItems()->Assign(AFrom->SubItems());
}

}  // namespace

void TForm1::Inform(const String& AText) {
    qxSkinMessage1->MessageDlg2(AText, u"提示", mtInformation, {mbOK}, 0);
}

void TForm1::SetRowCommands(bool AEnabled) {
    const auto look = [AEnabled](TqxSkinButton* AButton, TImage* AOn, TImage* AOff) {
        AButton->SetGlyph((AEnabled ? AOn : AOff)->Picture()->Bitmap());
        AButton->RefreshButton();
        AButton->SetEnabled(AEnabled);
    };
    btnRemove->SetEnabled(AEnabled);
    look(qxSkinButton7, Image15, Image14);
    N13->SetEnabled(AEnabled);
    N26->SetEnabled(AEnabled);
    look(qxSkinButton21, Image16, Image17);
    btnClear->SetEnabled(AEnabled);
    look(qxSkinButton8, Image13, Image12);
    N14->SetEnabled(AEnabled);
    btnStart->SetEnabled(AEnabled);
    look(qxSkinButton2, Image5, Image4);
    N7->SetEnabled(AEnabled);
}

void TForm1::SetAddCommands(bool AEnabled) {
    for (TMenuItem* item : {Item111, Item121, N21, N11111, N2222, N3331})
        item->SetEnabled(AEnabled);
    btnAdd->SetEnabled(AEnabled);
    qxSkinMenuSpeedButton1->SetEnabled(AEnabled);
}

void TForm1::ShowEmptyList() {
    qxSkinPanel5->SetVisible(true);
    VIZevado->Stop(true);
    qxSkinSlider1->SetValue(0);
}

void TForm1::btnRemoveClick(TObject*) {
    TListItem* row = lvFiles->Selected();
    if (!row) return Inform(u"请先选择您需要删除的项目！");
    const Integer position = lvFiles->Items()->IndexOf(row);
    const Integer task = StrToInt(row->SubItems()->Strings(ColTaskNumber));
    // Start builds every task from the rows: after a refused Start the
    // converter may hold fewer tasks than there are rows.
    if (task >= 1 && task <= Strovix->TasksCount()) Strovix->RemoveTask(task - 1);
    lvFiles->Items()->Delete(position);
    if (position < TaskSlotCount) OO1[size_t(position)].AudioLanguage = SlotDeleted;
    TListItems* rows = lvFiles->Items();
    for (Integer i = 0; i < rows->Count(); ++i) {
        TStrings* sub = rows->Item(i)->SubItems();
        const Integer number = StrToInt(sub->Strings(ColTaskNumber));
        if (number > task) sub->SetStrings(ColTaskNumber, IntToStr(number - 1));
    }
    const bool left = rows->Count() > 0;
    SetRowCommands(left);
    FocusFileList();
    if (left) {
        lvFiles->SetItemIndex(0);
        FocusFileList();
    } else {
        ShowEmptyList();
    }
}

void TForm1::btnClearClick(TObject*) {
    Strovix->ClearTasks();
    lvFiles->Items()->Clear();
    qxSkinMenuSpeedButton1->RefreshButton();
    SetAddCommands(true);
    SetRowCommands(false);
    Button15->Click();
    ShowEmptyList();
}

void TForm1::qxSkinButton7Click(TObject*) {
    btnRemove->Click();
}

void TForm1::qxSkinButton8Click(TObject*) {
    btnClear->Click();
}

void TForm1::MoveSelectedRow(Integer AStep) {
    TListItem* row = lvFiles->Selected();
    if (!row) return;
    TListItems* rows = lvFiles->Items();
    const Integer position = rows->IndexOf(row);
    const Integer neighbour = position + AStep;
    if (neighbour < 0 || neighbour >= rows->Count()) return;
    rows->BeginUpdate();
    TListItem* spare = rows->Add();
    try {
        CopyRow(row, spare);
        CopyRow(rows->Item(neighbour), row);
        CopyRow(spare, rows->Item(neighbour));
        lvFiles->SetItemIndex(neighbour);
        FocusFileList();
    } catch (...) {
        rows->Delete(rows->IndexOf(spare));
        rows->EndUpdate();
        throw;
    }
    rows->Delete(rows->IndexOf(spare));
    rows->EndUpdate();
}

void TForm1::qxSkinButton3Click(TObject*) {
    MoveSelectedRow(-1);
}

void TForm1::qxSkinButton4Click(TObject*) {
    MoveSelectedRow(1);
}

void TForm1::StartRename() {
    TListItem* row = lvFiles->Selected();
    TListColumns* columns = lvFiles->Columns();
    edt->SetParent(lvFiles);
    const Integer left = columns->Items(0)->Width() + columns->Items(1)->Width() +
                         columns->Items(2)->Width() + lvFiles->Left() + 2;
    edt->SetBounds(left, row->Top(), columns->Items(3)->Width(), edt->Height());
    const String name = row->SubItems()->Strings(ColOutputFile);
    const size_t dot = name.rfind(u'.');
    edt->SetText(dot == String::npos ? name : name.substr(0, dot));
    edt->SetVisible(true);
    if (edt->CanFocus()) edt->SetFocus();
}

void TForm1::qxSkinButton21Click(TObject*) {
    if (!lvFiles->Selected()) return Inform(u"请先选中您需要重命名的项目！");
    StartRename();
}

void TForm1::N26Click(TObject* Sender) {
    qxSkinButton21Click(Sender);
}

void TForm1::lvFilesDblClick(TObject*) {
    if (lvFiles->Selected()) StartRename();
}

// The in-place edit ends as the list's own does: Enter applies the name by
// leaving the edit, Escape hides it first so that leaving applies nothing.
void TForm1::edtKeyDown(TObject*, Word& Key, TShiftState) {
    if (Key != win::VK_RETURN && Key != win::VK_ESCAPE) return;
    if (Key == win::VK_ESCAPE) edt->SetVisible(false);
    Key = 0;
    FocusFileList();
}

void TForm1::edtExit(TObject*) {
    // An Escape hid the edit: nothing to apply.
    if (!edt->Visible()) return;
    TListItem* row = lvFiles->Selected();
    // The row the edit was opened for may be gone: write into no other.
    if (!row) return edt->SetVisible(false);
    const String text = edt->Text();
    if (text.empty()) return;
    // A name with a folder part would write outside the output folder.
    if (text.find(u'/') != String::npos) return;
    const Integer index = qxSkinOfficeComboBox1->ItemIndex();
    if (index < 0) return;
    const String extension = ExtensionFromCaption(qxSkinOfficeComboBox1->Items()->Items(index)->Caption());
    // Another row's output, an input of the list, or an existing file unless
    // overwriting (or it is the row's own), is not taken: the name is
    // numbered as the format change numbers it.
    std::vector<String> taken, inputs;
    TListItems* rows = lvFiles->Items();
    for (Integer i = 0; i < rows->Count(); ++i) {
        if (rows->Item(i) != row) taken.push_back(rows->Item(i)->SubItems()->Strings(ColOutputFile));
        inputs.push_back(rows->Item(i)->Caption());
    }
    const String folder = ExcludeTrailingPathDelimiter(Video_OutPut_Folder_Edit->Text());
    const String name = RowOutputName(row->SubItems()->Strings(ColOutputFile), text + extension, folder,
                                      FormatControls().Overwrite(), taken, inputs);
    const String path = IncludeTrailingPathDelimiter(folder) + name;
    row->SubItems()->SetStrings(ColOutputFile, name);
    edt->SetVisible(false);
    const Integer position = rows->IndexOf(row);
    if (position < TaskSlotCount) OO1[size_t(position)].FileName = path;
}

void TForm1::lvFilesSelectItem(TObject*, TListItem*, bool) {
    // One guard over every step: a failing one ends the selection silently,
    // and what the steps before it did stays done. The row itself is only
    // read: its pickers show its choice, its name and values stay.
    try {
        TListItem* row = lvFiles->Selected();
        if (!row || !formatchoice::RestoreRowChoice(FormatControls(), row)) return;
        qxSkinSlider1->SetValue(0);
        T_Movie_PLayer_FileName = row->Caption();
        Button31->Click();
    } catch (const std::exception&) {
    }
}

void TForm1::lvFilesClick(TObject*) {
    if (!lvFiles->Selected()) VIZevado->Stop(true);
}
