#include "platform/base/fileutils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

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
    // Windows refuses to replace an existing file; so does this.
    if (FileExists(ANewName) || DirectoryExists(ANewName)) return false;
    return ::rename(StringToUTF8(AOldName).c_str(), StringToUTF8(ANewName).c_str()) == 0;
}

String GetCurrentDir() {
    std::error_code error;
    return UTF8ToString(fs::current_path(error).string());
}

String ProgramFileName() {
    std::error_code error;
    return UTF8ToString(fs::read_symlink("/proc/self/exe", error).string());
}

String ProgramFolder() {
    return ExtractFilePath(ProgramFileName());
}
