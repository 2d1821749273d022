#include "skin/dialogs/qxfilectrl.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/shell/shellfolders.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/resources.h"
#include "skin/controls/qxlistbox.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxtextdraw.h"

namespace {

constexpr std::u16string_view CutMarker = u".../";

// Everything after the last "/".
String FileNamePart(const String& APath) {
    const size_t slash = APath.rfind(u'/');
    return slash == String::npos ? APath : APath.substr(slash + 1);
}

bool HasWildcard(const String& S) {
    return S.find_first_of(u"*?") != String::npos;
}

}  // namespace

bool IsExistingDirectory(const String& APath) {
    if (APath.empty()) return false;
    struct stat info {};
    return stat(StringToUTF8(APath).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

String JoinPathName(const String& ADir, const String& AName) {
    if (!ADir.empty() && ADir.back() == u'/') return ADir + AName;
    return ADir + u"/" + AName;
}

void DropFirstFolder(String& S) {
    if (S == u"/") {
        S.clear();
        return;
    }
    const bool rooted = !S.empty() && S.front() == u'/';
    if (rooted) S.erase(0, 1);
    // Only the marker of an earlier cut goes: a hidden folder's leading dot stays.
    if (S.starts_with(CutMarker)) S.erase(0, CutMarker.size());
    const size_t slash = S.find(u'/');
    if (slash == String::npos)
        S.clear();
    else
        S = String(CutMarker) + S.substr(slash + 1);
    if (rooted) S.insert(0, u"/");
}

String ShortenPathToWidth(const String& AFileName, TCanvas* ACanvas, Integer AMaxWidth) {
    String result = AFileName;
    const String name = FileNamePart(AFileName);
    String dir = AFileName.substr(0, AFileName.size() - name.size());
    while (!dir.empty() && ACanvas->TextWidth(result) > AMaxWidth) {
        if (dir == u"/.../")
            dir = String(CutMarker);
        else
            DropFirstFolder(dir);
        result = dir + name;
    }
    return result;
}

Integer CountPathSeparators(const String& S) {
    return static_cast<Integer>(std::count(S.begin(), S.end(), u'/'));
}

void SplitEditPath(const String& AEditText, char16_t& ADrive, String& ADirPart, String& AFilePart) {
    const String saved = GetCurrentDir();
    struct TRestore {
        const String& Saved;
        ~TRestore() {
            if (IsExistingDirectory(Saved)) SetCurrentDir(Saved);
        }
    } restore{saved};
    ADrive = 0;
    ADirPart = AEditText;
    if (ADirPart.size() >= 2 && ADirPart.front() == u'[' && ADirPart.back() == u']')
        ADirPart = ADirPart.substr(1, ADirPart.size() - 2);
    AFilePart = FileNamePart(ADirPart);
    if (ADirPart.size() == AFilePart.size() + 1) {
        ADirPart = u"/";
    } else if (ADirPart.size() > AFilePart.size()) {
        ADirPart.resize(ADirPart.size() - AFilePart.size() - 1);
    } else {
        ADirPart = GetCurrentDir();
        if (ADirPart.empty()) ADirPart = u"/";
    }
    if (!ADirPart.empty()) ChDir(ADirPart);
    if (!AFilePart.empty() && !HasWildcard(AFilePart) && !FileExists(AFilePart)) {
        ChDir(AFilePart);
        ADirPart = ADirPart.size() == 1 ? u"/" + AFilePart : ADirPart + u"/" + AFilePart;
        AFilePart.clear();
    }
}

TqxSkinFilterComboBox::TqxSkinFilterComboBox(TComponent* AOwner)
    : TqxSkinComboBox(AOwner), FFilter(u"All files (*.*)|*.*"), FMaskList(std::make_unique<TStringList>()) {}

TqxSkinFilterComboBox::~TqxSkinFilterComboBox() = default;

void TqxSkinFilterComboBox::BuildFilterItems() {
    Items()->Clear();
    FMaskList->Clear();
    String s = FFilter;
    for (size_t bar = s.find(u'|'); bar != String::npos; bar = s.find(u'|')) {
        const String text = s.substr(0, bar);
        s.erase(0, bar + 1);
        String mask;
        if (const size_t next = s.find(u'|'); next != String::npos) {
            mask = s.substr(0, next);
            s.erase(0, next + 1);
        } else {
            mask = s;
            s.clear();
        }
        Items()->Add(text);
        FMaskList->Add(mask);
    }
    SetItemIndex(0);
}

void TqxSkinFilterComboBox::SetFilter(const String& AValue) {
    if (AnsiCompareText(AValue, FFilter) == 0) return;
    FFilter = AValue;
    if (HandleAllocated()) BuildFilterItems();
    Change();
}

String TqxSkinFilterComboBox::Mask() {
    if (ItemIndex() == -1 && Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
    const Integer index = ItemIndex();
    if (index >= 0 && index < FMaskList->Count()) return FMaskList->Strings(index);
    return u"*.*";
}

void TqxSkinFilterComboBox::SetFileList(TqxSkinFileListBox* AValue) {
    if (FFileList) FFileList->FFilterCombo = nullptr;
    SetReference(this, FFileList, AValue);
    if (FFileList) FFileList->FFilterCombo = this;
}

void TqxSkinFilterComboBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinComboBox::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

void TqxSkinFilterComboBox::Change() {
    if (FFileList) FFileList->SetMask(Mask());
    TqxSkinComboBox::Change();
}

void TqxSkinFilterComboBox::Click() {
    TqxSkinComboBox::Click();
    Change();
}

void TqxSkinFilterComboBox::CreateWnd() {
    TqxSkinComboBox::CreateWnd();
    BuildFilterItems();
}

namespace {

std::unique_ptr<TBitmap> LoadRowPicture(const char16_t* AName) {
    auto bitmap = std::make_unique<TBitmap>();
    LoadResourceBitmap(AName, bitmap.get());
    bitmap->SetTransparent(true);
    return bitmap;
}

}  // namespace

TqxSkinDriveComboBox::TqxSkinDriveComboBox(TComponent* AOwner)
    : TqxSkinComboBox(AOwner),
      FloppyBMP(LoadRowPicture(u"QX_FLOPPY")),
      FixedBMP(LoadRowPicture(u"QX_HARD")),
      NetworkBMP(LoadRowPicture(u"QX_NETWORK")),
      CDROMBMP(LoadRowPicture(u"QX_CDROM")),
      RAMBMP(LoadRowPicture(u"QX_RAM")) {
    const auto draw = [this](TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect, TOwnerDrawState) {
        DrawDriveItem(Cnvs, Index, TxtRect);
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
}

TqxSkinDriveComboBox::~TqxSkinDriveComboBox() {
    SetDirList(nullptr);
}

void TqxSkinDriveComboBox::CreateWnd() {
    TqxSkinComboBox::CreateWnd();
    RebuildDriveList();
}

void TqxSkinDriveComboBox::RebuildDriveList() {
    Items()->Clear();
    FMounts.clear();
    FPictures.clear();
    for (const shell::TVolume& volume : shell::Volumes()) {
        String text = volume.MountPath;
        if (!volume.Label.empty())
            text += u" [" +
                    (FTextCase == tcUpperCase ? UpperCase(volume.Label) : AnsiLowerCase(volume.Label)) + u"]";
        TBitmap* picture = volume.FileSystem == "tmpfs"        ? RAMBMP.get()
                           : volume.Kind == shell::vkRemovable ? FloppyBMP.get()
                           : volume.Kind == shell::vkOptical   ? CDROMBMP.get()
                           : volume.Kind == shell::vkNetwork   ? NetworkBMP.get()
                                                               : FixedBMP.get();
        Items()->Add(text);
        FMounts.push_back(volume.MountPath);
        FPictures.push_back(picture);
    }
    FollowDirectory(FDirList ? FDirList->Directory() : GetCurrentDir());
}

Integer TqxSkinDriveComboBox::IndexOfVolume(const String& APath) const {
    // The longest mount path that holds APath.
    Integer best = -1;
    for (size_t i = 0; i < FMounts.size(); ++i) {
        const String& mount = FMounts[i];
        const bool holds =
            APath == mount || mount == u"/" ||
            (APath.starts_with(mount) && APath.size() > mount.size() && APath[mount.size()] == u'/');
        if (holds && (best < 0 || mount.size() > FMounts[size_t(best)].size())) best = Integer(i);
    }
    return best;
}

void TqxSkinDriveComboBox::FollowDirectory(const String& AValue) {
    const Integer index = IndexOfVolume(AValue);
    if (index < 0) return;
    FDrive = FMounts[size_t(index)];
    const bool choosing = FChoosing;
    FChoosing = true;
    SetItemIndex(index);
    FChoosing = choosing;
}

void TqxSkinDriveComboBox::SetDrive(const String& APath) {
    const Integer index = IndexOfVolume(APath);
    if (index < 0) return;
    FollowDirectory(APath);
    if (FDirList && IndexOfVolume(FDirList->Directory()) != index) FDirList->SetDirectory(FDrive);
}

void TqxSkinDriveComboBox::SetTextCase(TTextCase AValue) {
    if (AValue == FTextCase) return;
    FTextCase = AValue;
    if (HandleAllocated()) RebuildDriveList();
}

void TqxSkinDriveComboBox::SetDirList(TqxSkinDirectoryListBox* AValue) {
    if (FDirList) FDirList->FDriveCombo = nullptr;
    SetReference(this, FDirList, AValue);
    if (!FDirList) return;
    FDirList->FDriveCombo = this;
    FollowDirectory(FDirList->Directory());
}

void TqxSkinDriveComboBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinComboBox::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TqxSkinDriveComboBox::Change() {
    const Integer index = ItemIndex();
    if (!FChoosing && index >= 0 && size_t(index) < FMounts.size()) SetDrive(FMounts[size_t(index)]);
    TqxSkinComboBox::Change();
}

void TqxSkinDriveComboBox::DrawDriveItem(TCanvas* Cnvs, Integer Index, TRect TxtRect) {
    if (Index < 0 || size_t(Index) >= FPictures.size()) return;
    TBitmap* picture = FPictures[size_t(Index)];
    Cnvs->Draw(TxtRect.Left + 2, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2, picture);
    Cnvs->Brush()->SetStyle(bsClear);
    DrawTextVCenteredIndent(Cnvs, Items()->Strings(Index), TxtRect, picture->Width() + 6);
}

TqxSkinDirectoryListBox::TqxSkinDirectoryListBox(TComponent* AOwner) : TqxSkinListBox(AOwner) {
    OnDrawItem = [this](TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                        TOwnerDrawState State) {
        DrawFolderItem(Cnvs, Index, ItemWidth, ItemHeight, TxtRect, State);
    };
    SetWidth(145);
    SetSorted(false);
    LoadFolderImages();
    FDirectory = GetCurrentDir();
}

TqxSkinDirectoryListBox::~TqxSkinDirectoryListBox() = default;

void TqxSkinDirectoryListBox::LoadFolderImages() {
    OpenedBMP = LoadRowPicture(u"QX_OPENFOLDER");
    ClosedBMP = LoadRowPicture(u"QX_CLOSEDFOLDER");
    CurrentBMP = LoadRowPicture(u"QX_CURRENTFOLDER");
}

void TqxSkinDirectoryListBox::CreateWnd() {
    TqxSkinListBox::CreateWnd();
    RebuildFolderList();
    SetItemIndex(CountPathSeparators(FDirectory));
}

void TqxSkinDirectoryListBox::SetDirLabel(TqxSkinStdLabel* AValue) {
    SetReference(this, FDirLabel, AValue);
    UpdateDirLabel();
}

void TqxSkinDirectoryListBox::SetFileList(TqxSkinFileListBox* AValue) {
    if (FFileList) FFileList->FDirList = nullptr;
    SetReference(this, FFileList, AValue);
    if (FFileList) FFileList->FDirList = this;
}

void TqxSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinListBox::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
    if (AComponent == FFileList) FFileList = nullptr;
}

Integer TqxSkinDirectoryListBox::ReadSubfolders(const String& APath, TStrings* AList) {
    std::vector<String> names;
    TSearchRec record;
    if (FindFirst(JoinPathName(APath, u"*.*"), faDirectory, record) == 0) {
        do {
            if ((record.Attr & faDirectory) != 0 && record.Name != u"." && record.Name != u"..")
                names.push_back(record.Name);
        } while (FindNext(record) == 0);
        FindClose(record);
    }
    std::stable_sort(names.begin(), names.end(), [](const String& A, const String& B) {
        const Integer order = AnsiCompareText(A, B);
        return order != 0 ? order < 0 : A < B;
    });
    Integer added = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        // On a case-sensitive volume names differing in case are two folders.
        if (!FCaseSensitive && i > 0 && AnsiCompareText(names[i], names[i - 1]) == 0) continue;
        AList->Add(names[i]);
        ++added;
    }
    return added;
}

void TqxSkinDirectoryListBox::RebuildFolderList() {
    TStrings* rows = Items();
    rows->BeginUpdate();
    try {
        rows->Clear();
        // Linux volumes keep names apart by case and as they were written.
        FPreserveCase = true;
        FCaseSensitive = true;
        String rest = FDirectory;
        bool first = true;
        if (!rest.empty() && rest.back() != u'/') {
            for (size_t slash = rest.find(u'/'); slash != String::npos; slash = rest.find(u'/')) {
                String part = rest.substr(0, slash);
                if (first) {
                    part += u"/";
                    first = false;
                }
                rest.erase(0, slash + 1);
                rows->AddObject(part, OpenedBMP.get());
            }
        }
        if (!rest.empty()) rows->AddObject(rest, CurrentBMP.get());
        const Integer current = rows->Count() - 1;
        TStringList subfolders;
        ReadSubfolders(FDirectory, &subfolders);
        for (Integer i = 0; i < subfolders.Count(); ++i)
            rows->AddObject(subfolders.Strings(i), ClosedBMP.get());
        rows->EndUpdate();
        if (HandleAllocated()) {
            SetItemIndex(current);
            UpDateScrollBar();
        }
    } catch (...) {
        rows->EndUpdate();
        throw;
    }
}

String TqxSkinDirectoryListBox::GetItemPath(Integer AIndex) {
    if (AIndex < 0 || AIndex >= Items()->Count()) return {};
    if (AIndex == 0) return u"/";
    TObject* kind = Items()->Objects(AIndex);
    if (kind == ClosedBMP.get()) return JoinPathName(FDirectory, Items()->Strings(AIndex));
    if (kind == CurrentBMP.get()) return FDirectory;
    Integer seen = 0;
    for (size_t i = 0; i < FDirectory.size(); ++i)
        if (FDirectory[i] == u'/' && ++seen == AIndex + 1) return FDirectory.substr(0, i);
    return FDirectory;
}

Integer TqxSkinDirectoryListBox::FileCompareText(const String& A, const String& B) const {
    if (FCaseSensitive) return A == B ? 0 : (A < B ? -1 : 1);
    return AnsiCompareText(A, B);
}

String TqxSkinDirectoryListBox::DisplayCase(const String& S) const {
    return FPreserveCase || FCaseSensitive ? S : AnsiLowerCase(S);
}

void TqxSkinDirectoryListBox::SetDirectory(const String& AValue) {
    if (AValue.empty() || FileCompareText(AValue, FDirectory) == 0) return;
    char16_t drive = 0;
    String dirPart, filePart;
    SplitEditPath(AValue, drive, dirPart, filePart);
    EnterDirectory(dirPart);
}

void TqxSkinDirectoryListBox::EnterDirectory(const String& ADirPart) {
    // A relative part is taken from the list's own folder.
    if (IsExistingDirectory(FDirectory)) ChDir(FDirectory);
    ChDir(ADirPart);
    FDirectory = GetCurrentDir();
    RebuildFolderList();
    Change();
}

void TqxSkinDirectoryListBox::Change() {
    if (FDriveCombo) FDriveCombo->FollowDirectory(FDirectory);
    if (FFileList) FFileList->EnterDirectory(FDirectory);
    UpdateDirLabel();
    if (OnChange) OnChange(this);
}

void TqxSkinDirectoryListBox::UpdateDirectory() {
    RebuildFolderList();
    Change();
}

void TqxSkinDirectoryListBox::OpenCurrent() {
    SetDirectory(GetItemPath(ItemIndex()));
}

void TqxSkinDirectoryListBox::UpdateDirLabel() {
    if (!FDirLabel) return;
    const Integer width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(ShortenPathToWidth(FDirectory, FDirLabel->Canvas(), width));
}

void TqxSkinDirectoryListBox::ListBoxDblClick() {
    TqxSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TqxSkinDirectoryListBox::ListBoxKeyPress(char16_t& AKey) {
    TqxSkinListBox::ListBoxKeyPress(AKey);
    if (AKey == u'\r') OpenCurrent();
}

TBitmap* TqxSkinDirectoryListBox::RowPicture(Integer AIndex) {
    if (AIndex < 0 || AIndex >= Items()->Count()) return nullptr;
    return dynamic_cast<TBitmap*>(Items()->Objects(AIndex));
}

// All subfolders share one indent, one step past the current folder.
Integer TqxSkinDirectoryListBox::RowIndent(Integer AIndex) {
    if (RowPicture(AIndex) == ClosedBMP.get()) return 4 * (CountPathSeparators(FDirectory) + 1) + 2;
    return 4 * AIndex + 2;
}

Integer TqxSkinDirectoryListBox::GetItemWidth(Integer AIndex, TCanvas* ACanvas) {
    TBitmap* picture = RowPicture(AIndex);
    return TqxSkinListBox::GetItemWidth(AIndex, ACanvas) + RowIndent(AIndex) +
           (picture ? picture->Width() : 16) + 4;
}

void TqxSkinDirectoryListBox::DrawFolderItem(TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect,
                                             TOwnerDrawState) {
    const Integer scrolled = ListBox() ? ListBox()->HorizontalExtentValue() : 0;
    const Integer indent = RowIndent(Index);
    TBitmap* picture = RowPicture(Index);
    const Integer w = picture ? picture->Width() : 16;
    if (picture)
        Cnvs->Draw(TxtRect.Left + indent - scrolled, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2,
                   picture);
    Cnvs->Brush()->SetStyle(bsClear);
    DrawTextVCenteredIndent(Cnvs, Items()->Strings(Index), TxtRect, w + indent + 4 - scrolled);
}

TqxSkinFileListBox::TqxSkinFileListBox(TComponent* AOwner) : TqxSkinListBox(AOwner) {
    SetWidth(145);
    FDirectory = GetCurrentDir();
    SetMultiSelect(false);
    SetSorted(true);
}

TqxSkinFileListBox::~TqxSkinFileListBox() = default;

void TqxSkinFileListBox::CreateWnd() {
    TqxSkinListBox::CreateWnd();
    FillFileList();
}

void TqxSkinFileListBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinListBox::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FFileEdit) FFileEdit = nullptr;
    if (AComponent == FDirList) FDirList = nullptr;
    if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

void TqxSkinFileListBox::FillFileList() {
    if (!HandleAllocated()) return;
    constexpr Integer bits[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
    Integer attrs = 0;
    for (Integer member = qxftReadOnly; member <= qxftArchive; ++member)
        if (FFileType.Contains(TqxFileAttr(member))) attrs |= bits[member];
    ChDir(FDirectory);
    Items()->Clear();
    UpDateScrollBar();
    const TCursor saved = Screen->Cursor();
    struct TRestore {
        TCursor Cursor;
        ~TRestore() { Screen->SetCursor(Cursor); }
    } restore{saved};
    String rest = FMask;
    while (true) {
        const size_t semicolon = rest.find(u';');
        const String pattern = rest.substr(0, semicolon);
        TSearchRec record;
        if (FindFirst(pattern, attrs, record) == 0) {
            do {
                if (!FFileType.Contains(qxftNormal) && (record.Attr & attrs) == 0) continue;
                const bool folder = (record.Attr & faDirectory) != 0;
                const Integer index = Items()->Add(folder ? u"[" + record.Name + u"]" : record.Name);
                if (index == 100) Screen->SetCursor(crHourGlass);
            } while (FindNext(record) == 0);
            FindClose(record);
        }
        if (semicolon == String::npos) break;
        rest.erase(0, semicolon + 1);
    }
    Change();
}

void TqxSkinFileListBox::Change() {
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const String name = GetSelectedName();
        FFileEdit->SetText(name.empty() ? FMask : name);
        FFileEdit->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TqxSkinFileListBox::ListBoxClick() {
    TqxSkinListBox::ListBoxClick();
    if (ItemIndex() != FLastSel) Change();
}

String TqxSkinFileListBox::GetSelectedName() {
    const Integer index = ItemIndex();
    if (index < 0 || Items()->Count() == 0 || index >= Items()->Count() || !Selected(index)) return {};
    return Items()->Strings(index);
}

String TqxSkinFileListBox::FileName() {
    const String name = GetSelectedName();
    return name.empty() ? String() : JoinPathName(FDirectory, name);
}

void TqxSkinFileListBox::SelectName(const String& AName) {
    // Linux names differ by case: the exact name first, else one in another case.
    if (AName == GetSelectedName()) return;
    Integer found = -1;
    for (Integer i = 0; i < Items()->Count() && found < 0; ++i)
        if (Items()->Strings(i) == AName) found = i;
    for (Integer i = 0; i < Items()->Count() && found < 0; ++i)
        if (AnsiCompareText(Items()->Strings(i), AName) == 0) found = i;
    SetItemIndex(found);
    Change();
}

void TqxSkinFileListBox::EnterDirectory(const String& ANewDirectory) {
    if (ANewDirectory == FDirectory) return;
    if (IsExistingDirectory(FDirectory)) ChDir(FDirectory);
    ChDir(ANewDirectory);
    FDirectory = GetCurrentDir();
    FillFileList();
}

void TqxSkinFileListBox::ApplyFilePath(const String& AEditText) {
    if (AEditText.empty() || AEditText == FileName()) return;
    char16_t drive = 0;
    String dirPart, filePart;
    SplitEditPath(AEditText, drive, dirPart, filePart);
    if (FDirList)
        FDirList->SetDirectory(AEditText);
    else
        EnterDirectory(dirPart);
    if (HasWildcard(filePart)) {
        SetMask(filePart);
    } else if (!filePart.empty()) {
        SelectName(filePart);
        if (FileExists(filePart) && GetSelectedName().empty()) {
            SetMask(filePart);
            SelectName(filePart);
        }
    }
}

void TqxSkinFileListBox::SetMask(const String& AValue) {
    if (AValue == FMask) return;
    FMask = AValue;
    FillFileList();
}

void TqxSkinFileListBox::SetFileType(TqxFileType AValue) {
    if (AValue == FFileType) return;
    FFileType = AValue;
    FillFileList();
}

void TqxSkinFileListBox::SetFileEdit(TEdit* AValue) {
    SetReference(this, FFileEdit, AValue);
    if (!FFileEdit) return;
    const String name = GetSelectedName();
    FFileEdit->SetText(name.empty() ? FMask : name);
}
