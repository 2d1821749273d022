// The output folder and skin commands of the main window, and the folder
// dialog that "浏览..." shares with the snapshot menu.
#include "app/mainform.h"

#include "platform/toolkit/buttons.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/core/qxskindata.h"
#include "skin/dialogs/qxselectskin.h"
#include "skin/dialogs/qxskinopenpicturedialog.h"
#include "skin/dialogs/qxskinselectdir.h"

String ConfirmedFolder(bool AExecuted, const String& ADirectory) {
    if (!AExecuted || ADirectory.empty() || ADirectory[0] != u'/') return {};
    return ADirectory;
}

void TForm1::CreatePreviewDialogs() {
    qxSkinSelectDirectoryDialog2 = new TqxSkinSelectDirectoryDialog(this);
    qxSkinSelectDirectoryDialog2->Title = u"选择输出目录";
    qxSkinSelectDirectoryDialog2->SetSkinData(qxSkinData1);
    qxSkinSelectDirectoryDialog2->SetCtrlSkinData(qxSkinData1);
    qxSelectSkinDialog1 = new TqxSelectSkinDialog(this);
    qxSelectSkinDialog1->Title = u"Select skin";
    qxSelectSkinDialog1->SetSkinList(qxCompressedSkinList1);
    qxSelectSkinDialog1->SetSkinData(qxSkinData1);
    qxSelectSkinDialog1->SetCtrlSkinData(qxSkinData1);
    SavePictureDialog1 = NewSavePictureDialog(this);
    SavePictureDialog1->SetSkinData(qxSkinData1);
    SavePictureDialog1->SetCtrlSkinData(qxSkinData1);
}

// The dialog keeps the last confirmed folder of either command in
// Directory; only this run's OK counts.
String TForm1::ChooseFolder() {
    const bool executed = qxSkinSelectDirectoryDialog2->Execute();
    return ConfirmedFolder(executed, qxSkinSelectDirectoryDialog2->Directory);
}

void TForm1::qxSkinButton5Click(TObject*) {
    const String folder = ChooseFolder();
    if (!FolderExists(folder)) return;
    SetOutputFolder(folder);
    Button16->Click();
    FocusFileList();
}

void TForm1::qxSkinButton9Click(TObject*) {
    const Integer chosen = qxSelectSkinDialog1->Execute(qxSkinData1->SkinIndex())
                               ? qxSelectSkinDialog1->SelectedSkinIndex()
                               : qxSkinData1->SkinIndex();
    if (const String failure = ApplySkin(chosen); !failure.empty()) Inform(failure);
    Button4->Click();
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Handler(u"qxSkinButton5Click", &TForm1::qxSkinButton5Click)
                            .Handler(u"qxSkinButton9Click", &TForm1::qxSkinButton9Click)
                            .Field(u"qxCompressedSkinList1", &TForm1::qxCompressedSkinList1)
                            .Field(u"qxSkinButton19", &TForm1::qxSkinButton19)
                            .Field(u"qxSkinButton9", &TForm1::qxSkinButton9);

}  // namespace
