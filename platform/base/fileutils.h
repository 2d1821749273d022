// Files, folders and path names. Paths are Strings; the file system sees UTF-8.
#pragma once

#include <memory>
#include <string_view>

#include "platform/base/types.h"

inline constexpr char16_t PathDelim = u'/';

String IncludeTrailingPathDelimiter(std::u16string_view APath);
String ExcludeTrailingPathDelimiter(std::u16string_view APath);
// The folder part with its trailing delimiter ("" when there is none).
String ExtractFilePath(std::u16string_view AFileName);
// The folder part without the trailing delimiter (the root stays "/").
String ExtractFileDir(std::u16string_view AFileName);
String ExtractFileName(std::u16string_view AFileName);
// The extension with its dot, "" when the name has none.
String ExtractFileExt(std::u16string_view AFileName);
String ChangeFileExt(std::u16string_view AFileName, std::u16string_view AExtension);
// Absolute and normalised, against the current directory.
String ExpandFileName(std::u16string_view AFileName);

// A regular file (or a link to one); a folder does not count.
bool FileExists(std::u16string_view AFileName);
bool DirectoryExists(std::u16string_view ADirectory);
// Creates the folder and every missing parent; false when it cannot.
bool ForceDirectories(std::u16string_view ADirectory);
bool DeleteFile(std::u16string_view AFileName);
bool RenameFile(std::u16string_view AOldName, std::u16string_view ANewName);
String GetCurrentDir();
// Changes the process's current folder; SetCurrentDir answers whether it
// could, ChDir raises EInOutError with the system's error code.
bool SetCurrentDir(std::u16string_view ADirectory);
void ChDir(std::u16string_view ADirectory);
// Creates one folder (its parent must exist); CreateDir answers whether it
// could, MkDir raises EInOutError with the system's error code.
bool CreateDir(std::u16string_view ADirectory);
void MkDir(std::u16string_view ADirectory);
// The user's home folder: $HOME, else the password entry's; no trailing
// delimiter.
String GetHomeDir();

// Attributes of a folder entry. Hidden: the name starts with "." ("." and
// ".." excepted); read-only: the user may not write to it; a symbolic link
// counts as what it points at and also carries faSymLink. Linux has no
// system or archive attribute and no volume labels among files.
inline constexpr Integer faReadOnly = 0x01;
inline constexpr Integer faHidden = 0x02;
inline constexpr Integer faSysFile = 0x04;
inline constexpr Integer faVolumeID = 0x08;
inline constexpr Integer faDirectory = 0x10;
inline constexpr Integer faArchive = 0x20;
inline constexpr Integer faSymLink = 0x400;
inline constexpr Integer faAnyFile = 0x3F;

struct TSearchState;

struct TSearchRec {
    // The last change as a DOS date and time in local time (two-second
    // steps); -1 outside the years 1980 to 2107.
    Integer Time = 0;
    Int64 Size = 0;
    Integer Attr = 0;
    String Name;
    // The attributes an entry must not have beyond those asked for.
    Integer ExcludeAttr = 0;
    std::shared_ptr<TSearchState> FindHandle;
};

// Searches the folder part of APath (the current folder when there is
// none) for the names its last part matches. A part with "*" (any run of
// characters) or "?" (one character) matches without regard to case, and
// "*.*" matches every name; a part without them names one entry exactly.
// Entries with faHidden, faSysFile or faDirectory come only when AAttr
// holds them. Answers 0 with the first entry in F, else the system's error
// code (ENOENT when nothing matches); entries come in name order.
Integer FindFirst(std::u16string_view APath, Integer AAttr, TSearchRec& F);
// 0 with the next entry in F, ENOENT after the last.
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// A DOS date and time as a TDateTime; -1 for one that names no time.
TDateTime FileDateToDateTime(Integer AFileDate);
// Seconds since 1970 (UTC) as a DOS date and time in local time, -1
// outside the years 1980 to 2107.
Integer UnixToFileDate(Int64 ASeconds);

// The full path of the running program, and its folder with a trailing delimiter.
String ProgramFileName();
String ProgramFolder();
// For tests: ProgramFolder answers AFolder (a trailing delimiter added)
// instead of the program's own folder; empty goes back to that.
void SetProgramFolder(const String& AFolder);
