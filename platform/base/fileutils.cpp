#include "platform/base/fileutils.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(std::u16string_view AName) {
    return fs::path(StringToUTF8(AName));
}

bool StatOf(std::u16string_view AName, struct stat& AStat) {
    if (AName.empty()) return false;
    return ::stat(StringToUTF8(AName).c_str(), &AStat) == 0;
}

size_t LastDelimiter(std::u16string_view AName) {
    return AName.rfind(PathDelim);
}

}  // namespace

String IncludeTrailingPathDelimiter(std::u16string_view APath) {
    String out(APath);
    if (out.empty() || out.back() != PathDelim) out.push_back(PathDelim);
    return out;
}

String ExcludeTrailingPathDelimiter(std::u16string_view APath) {
    String out(APath);
    if (out.size() > 1 && out.back() == PathDelim) out.pop_back();
    return out;
}

String ExtractFilePath(std::u16string_view AFileName) {
    const size_t at = LastDelimiter(AFileName);
    return at == std::u16string_view::npos ? String() : String(AFileName.substr(0, at + 1));
}

String ExtractFileDir(std::u16string_view AFileName) {
    const size_t at = LastDelimiter(AFileName);
    if (at == std::u16string_view::npos) return String();
    return at == 0 ? String(u"/") : String(AFileName.substr(0, at));
}

String ExtractFileName(std::u16string_view AFileName) {
    const size_t at = LastDelimiter(AFileName);
    return String(at == std::u16string_view::npos ? AFileName : AFileName.substr(at + 1));
}

String ExtractFileExt(std::u16string_view AFileName) {
    const size_t dot = AFileName.rfind(u'.');
    const size_t at = LastDelimiter(AFileName);
    if (dot == std::u16string_view::npos || (at != std::u16string_view::npos && dot < at)) return String();
    return String(AFileName.substr(dot));
}

String ChangeFileExt(std::u16string_view AFileName, std::u16string_view AExtension) {
    const size_t dot = AFileName.rfind(u'.');
    const size_t at = LastDelimiter(AFileName);
    String out(AFileName);
    if (dot != std::u16string_view::npos && (at == std::u16string_view::npos || dot > at)) out.resize(dot);
    out += AExtension;
    return out;
}

String ExpandFileName(std::u16string_view AFileName) {
    std::error_code error;
    fs::path p = fs::absolute(ToPath(AFileName), error);
    if (error) return String(AFileName);
    return UTF8ToString(p.lexically_normal().string());
}

bool FileExists(std::u16string_view AFileName) {
    struct stat st;
    return StatOf(AFileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::u16string_view ADirectory) {
    struct stat st;
    return StatOf(ADirectory, st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(std::u16string_view ADirectory) {
    if (ADirectory.empty()) return false;
    std::error_code error;
    fs::create_directories(ToPath(ADirectory), error);
    return DirectoryExists(ADirectory);
}

bool DeleteFile(std::u16string_view AFileName) {
    return !AFileName.empty() && ::unlink(StringToUTF8(AFileName).c_str()) == 0;
}

bool RenameFile(std::u16string_view AOldName, std::u16string_view ANewName) {
    // Windows refuses to replace an existing file; so does this, in one step.
    const AnsiString from = StringToUTF8(AOldName), to = StringToUTF8(ANewName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: the check cannot be atomic there.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

String GetCurrentDir() {
    std::error_code error;
    return UTF8ToString(fs::current_path(error).string());
}

bool SetCurrentDir(std::u16string_view ADirectory) {
    return !ADirectory.empty() && ::chdir(StringToUTF8(ADirectory).c_str()) == 0;
}

void ChDir(std::u16string_view ADirectory) {
    if (SetCurrentDir(ADirectory)) return;
    const int code = ADirectory.empty() ? ENOENT : errno;
    throw EInOutError(SysErrorMessage(code), code);
}

bool CreateDir(std::u16string_view ADirectory) {
    return !ADirectory.empty() && ::mkdir(StringToUTF8(ADirectory).c_str(), 0777) == 0;
}

void MkDir(std::u16string_view ADirectory) {
    if (CreateDir(ADirectory)) return;
    const int code = ADirectory.empty() ? ENOENT : errno;
    throw EInOutError(SysErrorMessage(code), code);
}

String GetHomeDir() {
    const char* home = std::getenv("HOME");
    if (home && *home) return ExcludeTrailingPathDelimiter(UTF8ToString(home));
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return ExcludeTrailingPathDelimiter(UTF8ToString(found->pw_dir));
    return u"/";
}

namespace {

bool HasWildcards(std::u16string_view AMask) {
    return AMask.find_first_of(u"*?") != std::u16string_view::npos;
}

// "*" any run, "?" one character; both texts are folded already.
bool WildcardMatch(std::u16string_view AName, std::u16string_view AMask) {
    size_t n = 0, m = 0, starMask = std::u16string_view::npos, starName = 0;
    while (n < AName.size()) {
        if (m < AMask.size() && (AMask[m] == u'?' || AMask[m] == AName[n])) {
            ++n;
            ++m;
        } else if (m < AMask.size() && AMask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::u16string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < AMask.size() && AMask[m] == u'*')
        ++m;
    return m == AMask.size();
}

}  // namespace

struct TSearchState {
    std::vector<TSearchRec> Entries;
    size_t Next = 0;
};

namespace {

// The entry's record, false when it vanished meanwhile.
bool ReadEntry(const AnsiString& AFolder, const AnsiString& AName, TSearchRec& ARec) {
    const AnsiString path = AFolder + AName;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return false;
    Integer attr = 0;
    if (S_ISLNK(st.st_mode)) {
        attr |= faSymLink;
        struct stat target;
        if (::stat(path.c_str(), &target) == 0) st = target;
    }
    if (S_ISDIR(st.st_mode)) attr |= faDirectory;
    if (AName.size() > 1 && AName[0] == '.' && AName != "..") attr |= faHidden;
    if (::access(path.c_str(), W_OK) != 0) attr |= faReadOnly;
    ARec.Name = UTF8ToString(AName);
    ARec.Attr = attr;
    ARec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
    ARec.Time = UnixToFileDate(st.st_mtim.tv_sec);
    return true;
}

Integer TakeNext(TSearchRec& F) {
    TSearchState* state = F.FindHandle.get();
    if (!state || state->Next >= state->Entries.size()) return ENOENT;
    const TSearchRec& entry = state->Entries[state->Next++];
    F.Time = entry.Time;
    F.Size = entry.Size;
    F.Attr = entry.Attr;
    F.Name = entry.Name;
    return 0;
}

}  // namespace

Integer FindFirst(std::u16string_view APath, Integer AAttr, TSearchRec& F) {
    FindClose(F);
    F.ExcludeAttr = ~AAttr & (faHidden | faSysFile | faDirectory);
    const String mask = ExtractFileName(APath);
    AnsiString folder = StringToUTF8(ExtractFilePath(APath));
    if (mask.empty()) return ENOENT;
    auto state = std::make_shared<TSearchState>();
    const auto keep = [&](const AnsiString& AName) {
        TSearchRec rec;
        if (ReadEntry(folder, AName, rec) && !(rec.Attr & F.ExcludeAttr))
            state->Entries.push_back(std::move(rec));
    };
    if (!HasWildcards(mask)) {
        keep(StringToUTF8(mask));
    } else {
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return errno;
        const bool every = mask == u"*.*";
        const String folded = AnsiLowerCase(mask);
        std::vector<AnsiString> names;
        while (const dirent* entry = ::readdir(dir)) {
            const AnsiString name = entry->d_name;
            if (every || WildcardMatch(AnsiLowerCase(UTF8ToString(name)), folded)) names.push_back(name);
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        for (const AnsiString& name : names)
            keep(name);
    }
    if (state->Entries.empty()) return ENOENT;
    F.FindHandle = std::move(state);
    return TakeNext(F);
}

Integer FindNext(TSearchRec& F) {
    return TakeNext(F);
}

void FindClose(TSearchRec& F) {
    F.FindHandle.reset();
}

TDateTime FileDateToDateTime(Integer AFileDate) {
    if (AFileDate == -1) return -1;
    const auto date = static_cast<Cardinal>(AFileDate) >> 16,
               time = static_cast<Cardinal>(AFileDate) & 0xFFFF;
    try {
        return EncodeDate(Word((date >> 9) + 1980), Word((date >> 5) & 15), Word(date & 31)) +
               EncodeTime(Word(time >> 11), Word((time >> 5) & 63), Word((time & 31) * 2), 0);
    } catch (const EConvertError&) {
        return -1;
    }
}

Integer UnixToFileDate(Int64 ASeconds) {
    const time_t seconds = static_cast<time_t>(ASeconds);
    struct tm local;
    if (!::localtime_r(&seconds, &local)) return -1;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return -1;
    const Cardinal date =
        Cardinal(year - 1980) << 9 | Cardinal(local.tm_mon + 1) << 5 | Cardinal(local.tm_mday);
    const Cardinal time = Cardinal(local.tm_hour) << 11 | Cardinal(local.tm_min) << 5 |
                          Cardinal(std::min(local.tm_sec, 59) / 2);
    return static_cast<Integer>(date << 16 | time);
}

String ProgramFileName() {
    std::error_code error;
    return UTF8ToString(fs::read_symlink("/proc/self/exe", error).string());
}

namespace {

// Workers ask for the folder too (the engine's statistics files).
struct TProgramFolderOverride {
    std::mutex Lock;
    String Folder;
};

TProgramFolderOverride& ProgramFolderOverride() {
    static auto* value = new TProgramFolderOverride;
    return *value;
}

}  // namespace

String ProgramFolder() {
    TProgramFolderOverride& folder = ProgramFolderOverride();
    {
        std::lock_guard lock(folder.Lock);
        if (!folder.Folder.empty()) return folder.Folder;
    }
    return ExtractFilePath(ProgramFileName());
}

void SetProgramFolder(const String& AFolder) {
    TProgramFolderOverride& folder = ProgramFolderOverride();
    std::lock_guard lock(folder.Lock);
    folder.Folder = AFolder.empty() ? String() : IncludeTrailingPathDelimiter(AFolder);
}
