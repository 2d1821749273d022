// The file-system list controls' shared path functions and the file-type
// filter combo box, which turns a filter text of the form
// text|mask|text|mask into a choice of masks. Paths use "/"; a path has no
// drive part, so the drive letters of these routines are always #0.
#pragma once

#include <memory>

#include "platform/base/stringlist.h"
#include "platform/toolkit/canvas.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinlistbox.h"

class TBitmap;
class TqxSkinStdLabel;

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

    void BuildFilterItems();
    void Click() override;
    void CreateWnd() override;

private:
    String FFilter;
    std::unique_ptr<TStringList> FMaskList;
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

    TqxSkinStdLabel* FDirLabel = nullptr;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    std::unique_ptr<TBitmap> ClosedBMP;
    std::unique_ptr<TBitmap> OpenedBMP;
    std::unique_ptr<TBitmap> CurrentBMP;
    String FDirectory;
};
