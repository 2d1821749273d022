// Files, folders and path names. Paths are Strings; the file system sees UTF-8.
#pragma once

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

// The full path of the running program, and its folder with a trailing delimiter.
String ProgramFileName();
String ProgramFolder();
