// INI files: sections of "key=value" lines. Section and key names compare
// without case; values are read trimmed of surrounding blanks. The file is
// UTF-8 with CR LF line ends; comments (';'), blank lines and sections left
// alone survive every rewrite.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/types.h"

class TStrings;

// A file that cannot be written: "Unable to write to %s".
VELQUA_DECLARE_EXCEPTION(EIniFileException, Exception);

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& AFileName) : FFileName(AFileName) {}

    const String& FileName() const { return FFileName; }

    // ADefault when the section or key is absent; a present empty value is "".
    virtual String ReadString(std::u16string_view ASection, std::u16string_view AIdent,
                              std::u16string_view ADefault) = 0;
    // Creates the section and the key when they are missing. Line breaks in
    // the arguments become blanks, so one write stays one line.
    virtual void WriteString(std::u16string_view ASection, std::u16string_view AIdent,
                             std::u16string_view AValue) = 0;
    // Decimal, "$" hex or "0x" hex; anything else gives ADefault.
    Integer ReadInteger(std::u16string_view ASection, std::u16string_view AIdent, Integer ADefault);
    void WriteInteger(std::u16string_view ASection, std::u16string_view AIdent, Integer AValue);
    // An integer: 0 is false, any other true; anything else gives ADefault.
    bool ReadBool(std::u16string_view ASection, std::u16string_view AIdent, bool ADefault);
    // "1" or "0".
    void WriteBool(std::u16string_view ASection, std::u16string_view AIdent, bool AValue);
    double ReadFloat(std::u16string_view ASection, std::u16string_view AIdent, double ADefault);
    void WriteFloat(std::u16string_view ASection, std::u16string_view AIdent, double AValue);

    // The keys of the section, in file order (AStrings is cleared first).
    virtual void ReadSection(std::u16string_view ASection, TStrings* AStrings) = 0;
    // The section names, in file order, each once.
    virtual void ReadSections(TStrings* AStrings) = 0;
    // The section's "key=value" lines.
    virtual void ReadSectionValues(std::u16string_view ASection, TStrings* AStrings) = 0;
    // A section exists when it holds at least one key.
    bool SectionExists(std::u16string_view ASection);
    bool ValueExists(std::u16string_view ASection, std::u16string_view AIdent);
    // Removes the section (every section of that name) with its keys and comments.
    virtual void EraseSection(std::u16string_view ASection) = 0;
    virtual void DeleteKey(std::u16string_view ASection, std::u16string_view AIdent) = 0;
    // Writes pending changes to the file.
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

class TIniText;

// The INI text that TIniFile and TMemIniFile share; they differ only in when
// it is read from and written to the file.
class TIniTextFile : public TCustomIniFile {
public:
    ~TIniTextFile() override;

    String ReadString(std::u16string_view ASection, std::u16string_view AIdent,
                      std::u16string_view ADefault) override;
    void WriteString(std::u16string_view ASection, std::u16string_view AIdent,
                     std::u16string_view AValue) override;
    void ReadSection(std::u16string_view ASection, TStrings* AStrings) override;
    void ReadSections(TStrings* AStrings) override;
    void ReadSectionValues(std::u16string_view ASection, TStrings* AStrings) override;
    void EraseSection(std::u16string_view ASection) override;
    void DeleteKey(std::u16string_view ASection, std::u16string_view AIdent) override;

protected:
    explicit TIniTextFile(const String& AFileName);

    // Before every access. A file that cannot be read may not be rewritten,
    // so AForWriting turns a read failure into EIniFileException.
    virtual void Refresh(bool AForWriting) = 0;
    // After every change.
    virtual void Modified() = 0;

    // The file's text, or none when it does not exist. Errors: AForWriting as
    // above, otherwise a file that cannot be read raises its stream error.
    void LoadText(bool AForWriting);
    // Replaces the file as a whole: a failed write (a full disk) leaves the
    // old file as it was and raises EIniFileException.
    void SaveText();

    std::unique_ptr<TIniText> FText;

private:
    // Refreshes, then fills AStrings (when given) with what ALines answers.
    void ListInto(TStrings* AStrings, const std::function<std::vector<String>()>& ALines);
};

// Reads the file on every access and writes it on every change; a missing
// or unreadable file reads as empty.
class TIniFile : public TIniTextFile {
public:
    explicit TIniFile(const String& AFileName) : TIniTextFile(AFileName) {}

    // Every change is already written.
    void UpdateFile() override {}

protected:
    void Refresh(bool AForWriting) override;
    void Modified() override;
};

// Reads the file once (a missing one, or an empty name, gives an empty text;
// an unreadable one raises EFOpenError) and writes it on UpdateFile only.
class TMemIniFile : public TIniTextFile {
public:
    explicit TMemIniFile(const String& AFileName = {});

    // Replaces the text with these lines / gives the text as lines.
    void SetStrings(TStrings* AStrings);
    void GetStrings(TStrings* AStrings);
    void UpdateFile() override;

protected:
    void Refresh(bool) override {}
    void Modified() override {}
};
