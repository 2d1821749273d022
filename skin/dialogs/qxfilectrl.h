// The file-system list controls' shared path functions and the file-type
// filter combo box, which turns a filter text of the form
// text|mask|text|mask into a choice of masks. Paths use "/"; a path has no
// drive part, so the drive letters of these routines are always #0.
#pragma once

#include <memory>

#include "platform/base/stringlist.h"
#include "platform/toolkit/canvas.h"
#include "skin/controls/qxskincombobox.h"

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
