// Snapshots of the preview: the picture the player shows saved into the
// snapshot folder under the played file's name, and the snapshot menu that
// opens or chooses that folder and the picture type.
#include "app/mainform.h"

#include <memory>

#include "app/optionfile.h"
#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/gifimage.h"
#include "platform/toolkit/jpegimage.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/pngimage.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "skin/dialogs/qxskinopenpicturedialog.h"
#include "skin/forms/skinmenus.h"

namespace {

struct TSnapshotType {
    const char16_t* Name;
    const char16_t* Extension;
    TMenuItem* TForm1::*Item;
};

const TSnapshotType SnapshotTypes[] = {{u"BMP", u".bmp", &TForm1::BMP1},
                                       {u"JPG", u".jpg", &TForm1::JPG1},
                                       {u"GIF", u".gif", &TForm1::GIF1},
                                       {u"PNG", u".png", &TForm1::PNG1}};

const TSnapshotType* FindType(const String& AName) {
    for (const TSnapshotType& type : SnapshotTypes)
        if (AName == type.Name) return &type;
    return nullptr;
}

}  // namespace

String NextSnapshotName(const String& AFolder, const String& ABase, const String& AExtension) {
    const String stem = IncludeTrailingPathDelimiter(AFolder) + ABase + u"_";
    for (Integer n = 1;; ++n) {
        String name = stem + IntToStr(n) + AExtension;
        if (!FileExists(name)) return name;
    }
}

void WriteSnapshot(TBitmap* ABitmap, const String& AFileName, const String& AType) {
    if (AType == u"BMP") return ABitmap->SaveToFile(AFileName);
    std::unique_ptr<TGraphic> image;
    if (AType == u"PNG")
        image = std::make_unique<TPngImage>();
    else if (AType == u"GIF")
        image = std::make_unique<TGIFImage>();
    else
        image = std::make_unique<TJPEGImage>();
    image->Assign(ABitmap);
    image->SaveToFile(AFileName);
}

String SnapshotTypeOfName(const String& AFileName) {
    const String extension = LowerCase(ExtractFileExt(AFileName));
    if (extension == u".jpeg") return u"JPG";
    for (const TSnapshotType& type : SnapshotTypes)
        if (extension == type.Extension) return type.Name;
    return u"JPG";
}

namespace {

class TSavePictureDialog : public TqxSkinSavePictureDialog {
public:
    explicit TSavePictureDialog(TComponent* AOwner) : TqxSkinSavePictureDialog(AOwner) {
        Filter = u"Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg";
        OverwritePromt = true;
        CheckFileExists = false;
    }

protected:
    void CompleteFileName(String& AFileName) override {
        if (!HasFileExtension(AFileName)) AFileName += u".bmp";
    }
};

}  // namespace

TqxSkinSavePictureDialog* NewSavePictureDialog(TComponent* AOwner) {
    return new TSavePictureDialog(AOwner);
}

String TForm1::SnapshotFolder() {
    const String stored = ReadOption(u"SnapShot", u"Dir");
    const String folder = stored.empty() ? DefaultSnapshotFolder() : AbsoluteFolder(stored);
    if (!FolderExists(folder)) CreateFolderTree(folder);
    if (stored.empty()) WriteOption(u"SnapShot", u"Dir", folder);
    return folder;
}

String TForm1::SnapshotType() {
    const TSnapshotType* type = FindType(ReadOption(u"SnapShot", u"Picture"));
    if (!type) {
        type = &SnapshotTypes[0];
        WriteOption(u"SnapShot", u"Picture", type->Name);
    }
    (this->*(type->Item))->SetChecked(true);
    return type->Name;
}

void TForm1::qxSkinButton22Click(TObject*) {
    // The player refills its own bitmap on every call.
    TBitmap frame;
    frame.Assign(VIZevado->CurrentFrame());
    const String folder = SnapshotFolder();
    const TSnapshotType* type = FindType(SnapshotType());
    if (frame.Width() == 0) return;
    const String base = ChangeFileExt(ExtractFileName(FPlayerFileName), u"");
    WriteSnapshot(&frame, NextSnapshotName(folder, base, type->Extension), type->Name);
}

void TForm1::qxSkinButton23MouseDown(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
    if (Button != mbLeft) return;
    win::POINT cursor{};
    win::GetCursorPos(&cursor);
    qxSkinPopupMenu2->Popup(cursor.x, cursor.y);
}

void TForm1::qxSkinButton23Click(TObject*) {
    SnapshotType();
}

void TForm1::MenuItem1Click(TObject*) {
    const String folder = SnapshotFolder();
    win::ShellExecuteW(Handle(), nullptr, folder.c_str(), nullptr, nullptr, win::SW_SHOWNORMAL);
}

void TForm1::MenuItem2Click(TObject*) {
    const String folder = ChooseFolder();
    if (FolderExists(folder)) WriteOption(u"SnapShot", u"Dir", folder);
}

void TForm1::BMP1Click(TObject*) {
    WriteOption(u"SnapShot", u"Picture", u"BMP");
    BMP1->SetChecked(true);
}

void TForm1::JPG1Click(TObject*) {
    WriteOption(u"SnapShot", u"Picture", u"JPG");
    JPG1->SetChecked(true);
}

void TForm1::GIF1Click(TObject*) {
    WriteOption(u"SnapShot", u"Picture", u"GIF");
    GIF1->SetChecked(true);
}

void TForm1::PNG1Click(TObject*) {
    WriteOption(u"SnapShot", u"Picture", u"PNG");
    PNG1->SetChecked(true);
}

// "Capture": the picture under a name of the user's choice, written as its
// extension says rather than always as JPEG.
void TForm1::btnCaptureClick(TObject*) {
    TBitmap frame;
    frame.Assign(VIZevado->CurrentFrame());
    if (frame.Width() <= 0 || !SavePictureDialog1->Execute()) return;
    WriteSnapshot(&frame, SavePictureDialog1->FileName(), SnapshotTypeOfName(SavePictureDialog1->FileName()));
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Handler(u"qxSkinButton22Click", &TForm1::qxSkinButton22Click)
                            .Handler(u"qxSkinButton23MouseDown", &TForm1::qxSkinButton23MouseDown)
                            .Handler(u"qxSkinButton23Click", &TForm1::qxSkinButton23Click)
                            .Handler(u"MenuItem1Click", &TForm1::MenuItem1Click)
                            .Handler(u"MenuItem2Click", &TForm1::MenuItem2Click)
                            .Handler(u"BMP1Click", &TForm1::BMP1Click)
                            .Handler(u"JPG1Click", &TForm1::JPG1Click)
                            .Handler(u"GIF1Click", &TForm1::GIF1Click)
                            .Handler(u"PNG1Click", &TForm1::PNG1Click)
                            .Handler(u"btnCaptureClick", &TForm1::btnCaptureClick)
                            .Field(u"qxSkinPopupMenu2", &TForm1::qxSkinPopupMenu2)
                            .Field(u"BMP1", &TForm1::BMP1)
                            .Field(u"JPG1", &TForm1::JPG1)
                            .Field(u"GIF1", &TForm1::GIF1)
                            .Field(u"PNG1", &TForm1::PNG1);

}  // namespace
