#include "platform/base/inifiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/listhelpers.h"
#include "platform/base/streams.h"
#include "platform/base/stringlist.h"
#include "platform/base/ustring.h"

// The lines of an INI text, each classified once when it enters.
class TIniText {
public:
    enum TLineKind { lkBlank, lkComment, lkSection, lkKey, lkOther };
    struct TLine {
        String Raw;
        TLineKind Kind = lkBlank;
        String Name;  // of a section or a key
        String Value;
    };

    void SetLines(const TStrings& ALines) {
        FLines.clear();
        for (Integer i = 0; i < ALines.Count(); ++i)
            FLines.push_back(Parse(ALines.Get(i)));
    }

    std::vector<String> GetLines() const {
        std::vector<String> lines;
        for (const auto& line : FLines)
            lines.push_back(line.Raw);
        return lines;
    }

    const String* Find(std::u16string_view ASection, std::u16string_view AIdent) const {
        const size_t header = FindSection(ASection, 0);
        if (header == npos) return nullptr;
        const size_t end = SectionEnd(header);
        for (size_t i = header + 1; i < end; ++i)
            if (IsKey(i, AIdent)) return &FLines[i].Value;
        return nullptr;
    }

    void Write(std::u16string_view ASection, std::u16string_view AIdent, std::u16string_view AValue) {
        const String section = Trim(OneLine(ASection));
        const String ident = Trim(OneLine(AIdent));
        const TLine line = Parse(ident + u"=" + OneLine(AValue));
        const size_t header = FindSection(section, 0);
        if (header == npos) {
            if (!FLines.empty() && FLines.back().Kind != lkBlank) FLines.push_back(Parse(String()));
            FLines.push_back(Parse(u"[" + section + u"]"));
            FLines.push_back(line);
            return;
        }
        const size_t end = SectionEnd(header);
        for (size_t i = header + 1; i < end; ++i) {
            if (IsKey(i, ident)) {
                FLines[i] = line;
                return;
            }
        }
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(BodyEnd(header)), line);
    }

    // Each key once, as first spelled, with its first value.
    std::vector<const TLine*> Keys(std::u16string_view ASection) const;

    std::vector<String> Sections() const {
        std::vector<String> names;
        std::unordered_set<String> seen;
        for (const auto& line : FLines)
            if (line.Kind == lkSection && seen.insert(AnsiLowerCase(line.Name)).second) names.push_back(line.Name);
        return names;
    }

    bool EraseSection(std::u16string_view ASection) {
        bool erased = false;
        for (size_t header; (header = FindSection(Trim(ASection), 0)) != npos;) {
            size_t end = BodyEnd(header);
            // Comments after the last key introduce what follows: they stay.
            while (end < FLines.size() && FLines[end].Kind == lkBlank)
                ++end;
            Erase(header, end);
            erased = true;
        }
        return erased;
    }

    bool DeleteKey(std::u16string_view ASection, std::u16string_view AIdent) {
        bool deleted = false;
        const String ident = Trim(AIdent);
        for (size_t header = FindSection(Trim(ASection), 0); header != npos;
             header = FindSection(Trim(ASection), header + 1)) {
            for (size_t i = SectionEnd(header); i-- > header + 1;) {
                if (IsKey(i, ident)) {
                    Erase(i, i + 1);
                    deleted = true;
                }
            }
        }
        return deleted;
    }

private:
    static constexpr size_t npos = static_cast<size_t>(-1);

    static TLine Parse(const String& ARaw) {
        TLine line;
        line.Raw = ARaw;
        const String text = Trim(ARaw);
        if (text.empty()) return line;
        const size_t close = text.find(u']');
        const size_t equals = text.find(u'=');
        if (text[0] == u';') {
            line.Kind = lkComment;
        } else if (text[0] == u'[' && close != String::npos) {
            line.Kind = lkSection;
            line.Name = Trim(std::u16string_view(text).substr(1, close - 1));
        } else if (equals != String::npos) {
            line.Kind = lkKey;
            line.Name = Trim(std::u16string_view(text).substr(0, equals));
            line.Value = Trim(std::u16string_view(text).substr(equals + 1));
        } else {
            line.Kind = lkOther;
        }
        return line;
    }

    static String OneLine(std::u16string_view AText) {
        String out(AText);
        for (auto& c : out)
            if (c == u'\r' || c == u'\n') c = u' ';
        return out;
    }

    bool IsKey(size_t AIndex, std::u16string_view AIdent) const {
        return FLines[AIndex].Kind == lkKey && AnsiSameText(FLines[AIndex].Name, AIdent);
    }

    size_t FindSection(std::u16string_view ASection, size_t AFrom) const {
        for (size_t i = AFrom; i < FLines.size(); ++i)
            if (FLines[i].Kind == lkSection && AnsiSameText(FLines[i].Name, ASection)) return i;
        return npos;
    }

    size_t SectionEnd(size_t AHeader) const {
        size_t i = AHeader + 1;
        while (i < FLines.size() && FLines[i].Kind != lkSection)
            ++i;
        return i;
    }

    // Just past the section's last key (or other text), before the blank
    // lines and comments that lead to the next section.
    size_t BodyEnd(size_t AHeader) const {
        size_t end = AHeader + 1;
        for (size_t i = end; i < FLines.size() && FLines[i].Kind != lkSection; ++i)
            if (FLines[i].Kind == lkKey || FLines[i].Kind == lkOther) end = i + 1;
        return end;
    }

    void Erase(size_t AFrom, size_t ATo) {
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(AFrom),
                     FLines.begin() + static_cast<std::ptrdiff_t>(ATo));
    }

    std::vector<TLine> FLines;
};

std::vector<const TIniText::TLine*> TIniText::Keys(std::u16string_view ASection) const {
    std::vector<const TLine*> keys;
    const size_t header = FindSection(Trim(ASection), 0);
    if (header == npos) return keys;
    const size_t end = SectionEnd(header);
    std::unordered_set<String> seen;
    for (size_t i = header + 1; i < end; ++i)
        if (FLines[i].Kind == lkKey && seen.insert(AnsiLowerCase(FLines[i].Name)).second) keys.push_back(&FLines[i]);
    return keys;
}

namespace {

void SetLines(TStrings& AStrings, const std::vector<String>& ALines) {
    WithUpdate(AStrings, [&] {
        AStrings.Clear();
        for (const auto& line : ALines)
            AStrings.Add(line);
    });
}

[[noreturn]] void WriteError(const String& AFileName) {
    throw EIniFileException(u"Unable to write to %s", {AFileName});
}

bool WriteAll(int AHandle, const AnsiString& ABytes) {
    THandleStream stream(AHandle);
    return stream.Write(ABytes.data(), static_cast<Int64>(ABytes.size())) ==
           static_cast<Int64>(ABytes.size());
}

// Writes a fresh file beside ATarget and renames it over ATarget, so that a
// failure part-way leaves the old file whole. EACCES and the like mean the
// folder refused the new file (AFolderRefused).
bool ReplaceFile(const AnsiString& ATarget, const AnsiString& ABytes, bool& AFolderRefused) {
    AFolderRefused = false;
    const size_t slash = ATarget.rfind('/');
    const AnsiString folder = slash == AnsiString::npos ? AnsiString() : ATarget.substr(0, slash + 1);
    const AnsiString name = slash == AnsiString::npos ? ATarget : ATarget.substr(slash + 1);
    AnsiString temp;
    int handle = -1;
    for (int attempt = 0; handle < 0 && attempt < 100; ++attempt) {
        temp = folder + "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(attempt);
        handle = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle < 0 && errno != EEXIST) break;
    }
    if (handle < 0) {
        AFolderRefused = errno == EACCES || errno == EPERM || errno == EROFS;
        return false;
    }
    struct stat st;
    bool ok = WriteAll(handle, ABytes) && ::fsync(handle) == 0;
    if (ok && ::stat(ATarget.c_str(), &st) == 0) ok = ::fchmod(handle, st.st_mode & 07777) == 0;
    ok = ::close(handle) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), ATarget.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

// For a file whose folder takes no new files: written where it stands.
bool OverwriteFile(const AnsiString& ATarget, const AnsiString& ABytes) {
    const int handle = ::open(ATarget.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (handle < 0) return false;
    const bool ok = WriteAll(handle, ABytes);
    return ::close(handle) == 0 && ok;
}

}  // namespace

// TCustomIniFile

Integer TCustomIniFile::ReadInteger(std::u16string_view ASection, std::u16string_view AIdent,
                                    Integer ADefault) {
    return StrToIntDef(ReadString(ASection, AIdent, u""), ADefault);
}

void TCustomIniFile::WriteInteger(std::u16string_view ASection, std::u16string_view AIdent, Integer AValue) {
    WriteString(ASection, AIdent, IntToStr(AValue));
}

bool TCustomIniFile::ReadBool(std::u16string_view ASection, std::u16string_view AIdent, bool ADefault) {
    return ReadInteger(ASection, AIdent, ADefault ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::u16string_view ASection, std::u16string_view AIdent, bool AValue) {
    WriteString(ASection, AIdent, AValue ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(std::u16string_view ASection, std::u16string_view AIdent, double ADefault) {
    return StrToFloatDef(ReadString(ASection, AIdent, u""), ADefault);
}

void TCustomIniFile::WriteFloat(std::u16string_view ASection, std::u16string_view AIdent, double AValue) {
    WriteString(ASection, AIdent, FloatToStr(AValue));
}

bool TCustomIniFile::SectionExists(std::u16string_view ASection) {
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(std::u16string_view ASection, std::u16string_view AIdent) {
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.IndexOf(Trim(AIdent)) >= 0;
}

// TIniTextFile

TIniTextFile::TIniTextFile(const String& AFileName)
    : TCustomIniFile(AFileName), FText(std::make_unique<TIniText>()) {}

TIniTextFile::~TIniTextFile() = default;

String TIniTextFile::ReadString(std::u16string_view ASection, std::u16string_view AIdent,
                                std::u16string_view ADefault) {
    Refresh(false);
    const String* value = FText->Find(Trim(ASection), Trim(AIdent));
    return value ? *value : String(ADefault);
}

void TIniTextFile::WriteString(std::u16string_view ASection, std::u16string_view AIdent,
                               std::u16string_view AValue) {
    Refresh(true);
    FText->Write(ASection, AIdent, AValue);
    Modified();
}

void TIniTextFile::ReadSection(std::u16string_view ASection, TStrings* AStrings) {
    ListInto(AStrings, [&] {
        std::vector<String> names;
        for (const auto* key : FText->Keys(ASection))
            names.push_back(key->Name);
        return names;
    });
}

void TIniTextFile::ReadSections(TStrings* AStrings) {
    ListInto(AStrings, [&] { return FText->Sections(); });
}

void TIniTextFile::ReadSectionValues(std::u16string_view ASection, TStrings* AStrings) {
    ListInto(AStrings, [&] {
        std::vector<String> lines;
        for (const auto* key : FText->Keys(ASection))
            lines.push_back(key->Name + u"=" + key->Value);
        return lines;
    });
}

void TIniTextFile::ListInto(TStrings* AStrings, const std::function<std::vector<String>()>& ALines) {
    if (!AStrings) return;
    Refresh(false);
    SetLines(*AStrings, ALines());
}

void TIniTextFile::EraseSection(std::u16string_view ASection) {
    Refresh(true);
    if (FText->EraseSection(ASection)) Modified();
}

void TIniTextFile::DeleteKey(std::u16string_view ASection, std::u16string_view AIdent) {
    Refresh(true);
    if (FText->DeleteKey(ASection, AIdent)) Modified();
}

void TIniTextFile::LoadText(bool AForWriting) {
    TStringList lines;
    if (!FileName().empty() && FileExists(FileName())) {
        try {
            lines.LoadFromFile(FileName());
        } catch (const EStreamError&) {
            if (AForWriting) WriteError(FileName());
            throw;
        }
    }
    FText->SetLines(lines);
}

void TIniTextFile::SaveText() {
    if (FileName().empty()) WriteError(FileName());
    TStringList lines;
    SetLines(lines, FText->GetLines());
    const AnsiString bytes = StringToUTF8(lines.Text());
    AnsiString target = StringToUTF8(FileName());
    // Through a link, the file it points to is the one replaced.
    if (char* real = ::realpath(target.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    // A file the user made read-only stays so, as it would under in-place writing.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) WriteError(FileName());
    bool folderRefused;
    if (ReplaceFile(target, bytes, folderRefused)) return;
    if (folderRefused && ::access(target.c_str(), F_OK) == 0 && OverwriteFile(target, bytes)) return;
    WriteError(FileName());
}

// TIniFile

void TIniFile::Refresh(bool AForWriting) {
    try {
        LoadText(AForWriting);
    } catch (const EStreamError&) {
        // Reading: an unreadable file counts as empty.
        FText->SetLines(TStringList());
    }
}

void TIniFile::Modified() {
    SaveText();
}

// TMemIniFile

TMemIniFile::TMemIniFile(const String& AFileName) : TIniTextFile(AFileName) {
    LoadText(false);
}

void TMemIniFile::SetStrings(TStrings* AStrings) {
    if (AStrings)
        FText->SetLines(*AStrings);
    else
        FText->SetLines(TStringList());
}

void TMemIniFile::GetStrings(TStrings* AStrings) {
    if (AStrings) SetLines(*AStrings, FText->GetLines());
}

void TMemIniFile::UpdateFile() {
    SaveText();
}
