// The file-system list controls' shared path functions and the file-type
// filter combo box, which turns a filter text of the form
// text|mask|text|mask into a choice of masks. Paths use "/"; a path has no
// drive part, so the drive letters of these routines are always #0.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/stringlist.h"
#include "platform/toolkit/canvas.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistbox.h"

class TBitmap;
class TEdit;
class TqxSkinStdLabel;
class TqxSkinFileListBox;
class TqxSkinDirectoryListBox;
class TqxSkinDriveComboBox;

// A folder exists at APath (links followed); false for the empty text.
bool IsExistingDirectory(const String& APath);
// ADir + "/" + AName, without doubling a trailing "/".
String JoinPathName(const String& ADir, const String& AName);
// Cuts the first folder of a path tail, marking the cut with ".../".
void DropFirstFolder(String& S);
// AFileName with leading folders replaced by ".../" until it fits AMaxWidth
// pixels on ACanvas; at last the file name alone.
String ShortenPathToWidth(const String& AFileName, TCanvas* ACanvas, Integer AMaxWidth);
// The number of "/" in S.
Integer CountPathSeparators(const String& S);
// Splits a typed path into its folder and file parts, entering the folders
// on the way to check them; a file part naming a folder joins the folder
// part. "[name]" (a folder row) is taken as name. The current directory is
// the one before the call again afterwards; a folder that cannot be entered
// raises EInOutError.
void SplitEditPath(const String& AEditText, char16_t& ADrive, String& ADirPart, String& AFilePart);

class TqxSkinFilterComboBox : public TqxSkinComboBox {
public:
    explicit TqxSkinFilterComboBox(TComponent* AOwner);
    ~TqxSkinFilterComboBox() override;

    const String& Filter() const { return FFilter; }
    // A text differing only in letter case is ignored. The items follow
    // when the window exists, else when it is created.
    void SetFilter(const String& AValue);
    // The chosen item's mask; with items but none chosen the last one is
    // chosen first; "*.*" without items.
    String Mask();
    TStrings* MaskList() const { return FMaskList.get(); }
    // The file list that lists with the chosen mask.
    TqxSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TqxSkinFileListBox* AValue);

    void BuildFilterItems();
    void Change() override;
    void Click() override;
    void CreateWnd() override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    String FFilter;
    TqxSkinFileListBox* FFileList = nullptr;
    std::unique_ptr<TStringList> FMaskList;
};

// How the drive combo box shows volume labels.
enum TTextCase { tcLowerCase, tcUpperCase };

// The volumes of the Computer folder, one item each: its mount path and
// "[label]" when it has one, with the picture of its kind. Choosing one
// moves the linked directory list there; a directory list that enters a
// folder on another volume selects that volume here.
class TqxSkinDriveComboBox : public TqxSkinComboBox {
public:
    explicit TqxSkinDriveComboBox(TComponent* AOwner);
    ~TqxSkinDriveComboBox() override;

    // The mount path of the chosen volume ("" before the items are built).
    const String& Drive() const { return FDrive; }
    // Chooses the volume holding APath (a mount path or any path on it)
    // and moves the linked directory list to it unless it is on it already.
    void SetDrive(const String& APath);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase AValue);
    TqxSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TqxSkinDirectoryListBox* AValue);

    // Reads the volumes again.
    void RebuildDriveList();
    void Change() override;
    void CreateWnd() override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TqxSkinDirectoryListBox;
    // The directory list entered AValue: select its volume, move nothing.
    void FollowDirectory(const String& AValue);
    Integer IndexOfVolume(const String& APath) const;
    void DrawDriveItem(TCanvas* Cnvs, Integer Index, TRect TxtRect);

    TqxSkinDirectoryListBox* FDirList = nullptr;
    String FDrive;
    TTextCase FTextCase = tcLowerCase;
    bool FChoosing = false;
    std::vector<String> FMounts;
    std::vector<TBitmap*> FPictures;
    std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;
};

// The folders from the root down to the current one (opened pictures, the
// current folder's own), then its subfolders (closed pictures). Opening a
// row (double-click, Enter) makes it the current folder; the process's
// current directory follows the list.
class TqxSkinDirectoryListBox : public TqxSkinListBox {
public:
    explicit TqxSkinDirectoryListBox(TComponent* AOwner);
    ~TqxSkinDirectoryListBox() override;

    const String& Directory() const { return FDirectory; }
    // Takes a typed path (a file's folder, "[name]" of a subfolder) and
    // enters its folder; a folder that cannot be entered raises EInOutError
    // and changes nothing.
    virtual void SetDirectory(const String& AValue);
    // Names differing only in case are two folders on such a volume.
    bool CaseSensitive() const { return FCaseSensitive; }
    bool PreserveCase() const { return FPreserveCase; }
    TqxSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TqxSkinStdLabel* AValue);
    // The file list that follows the folder.
    TqxSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TqxSkinFileListBox* AValue);

    void OpenCurrent();
    // Reads the folder again (the toolkit's Update repaints).
    void UpdateDirectory();
    String DisplayCase(const String& S) const;
    Integer FileCompareText(const String& A, const String& B) const;
    // "" outside the rows.
    String GetItemPath(Integer AIndex);
    // The subfolders of APath, sorted, into AList; their number.
    Integer ReadSubfolders(const String& APath, TStrings* AList);

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    virtual void LoadFolderImages();
    virtual void RebuildFolderList();
    void EnterDirectory(const String& ADirPart);
    void UpdateDirLabel();
    Integer GetItemWidth(Integer AIndex, TCanvas* ACanvas) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char16_t& AKey) override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    Integer RowIndent(Integer AIndex);
    TBitmap* RowPicture(Integer AIndex);
    void DrawFolderItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, TRect TxtRect,
                        TOwnerDrawState State);

    friend class TqxSkinDriveComboBox;
    TqxSkinStdLabel* FDirLabel = nullptr;
    TqxSkinFileListBox* FFileList = nullptr;
    TqxSkinDriveComboBox* FDriveCombo = nullptr;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    std::unique_ptr<TBitmap> ClosedBMP;
    std::unique_ptr<TBitmap> OpenedBMP;
    std::unique_ptr<TBitmap> CurrentBMP;
    String FDirectory;
};

enum TqxFileAttr { qxftReadOnly, qxftHidden, qxftSystem, qxftVolumeID, qxftDirectory, qxftArchive, qxftNormal };
using TqxFileType = TSet<TqxFileAttr>;

// The files of one folder that match a mask (patterns separated by ";")
// and a set of attributes; folders show as "[name]". The chosen name, or
// the mask, goes into FileEdit.
class TqxSkinFileListBox : public TqxSkinListBox {
public:
    explicit TqxSkinFileListBox(TComponent* AOwner);
    ~TqxSkinFileListBox() override;

    const String& Directory() const { return FDirectory; }
    void SetDirectory(const String& AValue) { ApplyFilePath(AValue); }
    const String& Mask() const { return FMask; }
    void SetMask(const String& AValue);
    TqxFileType FileType() const { return FFileType; }
    void SetFileType(TqxFileType AValue);
    TEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TEdit* AValue);
    // The selected row's path; "" when none is selected.
    virtual String FileName();
    void SetFileName(const String& AValue) { ApplyFilePath(AValue); }

    String GetSelectedName();
    void SelectName(const String& AName);
    // Enters the folder (relative to the list's own) and reads it.
    void EnterDirectory(const String& ANewDirectory);
    // A typed path: a mask, a folder, or a file to select (its name
    // becomes the mask when the mask hides it).
    virtual void ApplyFilePath(const String& AEditText);
    // Reads the folder again (the toolkit's Update repaints).
    void UpdateFiles() { FillFileList(); }

    TNotifyEvent OnChange;

protected:
    friend class TqxSkinDirectoryListBox;
    friend class TqxSkinFilterComboBox;

    virtual void Change();
    virtual void FillFileList();
    void ListBoxClick() override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    String FDirectory;
    String FMask = u"*.*";
    TqxFileType FFileType{qxftNormal};
    TEdit* FFileEdit = nullptr;
    TqxSkinDirectoryListBox* FDirList = nullptr;
    TqxSkinFilterComboBox* FFilterCombo = nullptr;
    Integer FLastSel = -1;
};
