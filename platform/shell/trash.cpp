#include "platform/shell/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/base/fileutils.h"
#include "platform/base/ustring.h"
#include "platform/shell/userdirs.h"

namespace shell {

namespace {

// The trash info's Path: percent-escaped except for unreserved bytes and "/".
AnsiString EscapePath(const AnsiString& APath) {
    static const char hex[] = "0123456789ABCDEF";
    AnsiString out;
    for (const char c : APath) {
        const Byte b = Byte(c);
        if (std::isalnum(b) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~')
            out.push_back(c);
        else
            out += AnsiString{'%', hex[b >> 4], hex[b & 15]};
    }
    return out;
}

bool MakeFolder(const AnsiString& APath, mode_t AMode) {
    return ::mkdir(APath.c_str(), AMode) == 0 || errno == EEXIST;
}

// The top folder of the volume that holds APath: the last ancestor on its device.
AnsiString TopFolder(const AnsiString& APath) {
    struct stat own;
    if (::lstat(APath.c_str(), &own) != 0) return "/";
    AnsiString folder = APath;
    while (folder.size() > 1) {
        const size_t slash = folder.rfind('/');
        const AnsiString parent = slash == 0 ? "/" : folder.substr(0, slash);
        struct stat st;
        if (::stat(parent.c_str(), &st) != 0 || st.st_dev != own.st_dev) return folder;
        folder = parent;
    }
    return "/";
}

// Moves APath into ATrash (files/ and info/ below it); AInfoPath is what
// the info file records.
int MoveInto(const AnsiString& APath, const AnsiString& ATrash, const AnsiString& AInfoPath) {
    if (!MakeFolder(ATrash, 0700) || !MakeFolder(ATrash + "/files", 0700) ||
        !MakeFolder(ATrash + "/info", 0700))
        return errno;
    const AnsiString name = APath.substr(APath.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    const AnsiString stem = dot == AnsiString::npos || dot == 0 ? name : name.substr(0, dot);
    const AnsiString ext = dot == AnsiString::npos || dot == 0 ? "" : name.substr(dot);
    char date[32];
    const time_t now = std::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const AnsiString info = "[Trash Info]\nPath=" + EscapePath(AInfoPath) + "\nDeletionDate=" + date + "\n";
    for (int n = 1; n < 10000; ++n) {
        const AnsiString trashed = n == 1 ? name : stem + "." + std::to_string(n) + ext;
        // Creating the info file first claims the name against other programs.
        const AnsiString infoFile = ATrash + "/info/" + trashed + ".trashinfo";
        const int fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        const bool written = ::write(fd, info.data(), info.size()) == ssize_t(info.size());
        ::close(fd);
        const AnsiString target = ATrash + "/files/" + trashed;
        if (written && ::renameat2(AT_FDCWD, APath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        const int error = written ? errno : EIO;
        ::unlink(infoFile.c_str());
        if (error == EEXIST) continue;
        return error;
    }
    return EEXIST;
}

}  // namespace

int MoveToTrash(const String& APath) {
    const AnsiString path = StringToUTF8(ExcludeTrailingPathDelimiter(APath));
    struct stat st;
    if (path.empty() || path[0] != '/' || path == "/") return EINVAL;
    if (::lstat(path.c_str(), &st) != 0) return errno;
    const AnsiString home = StringToUTF8(DataHome()) + "/Trash";
    ForceDirectories(DataHome());
    const int error = MoveInto(path, home, path);
    if (error != EXDEV) return error;
    // Another volume: its own trash, with the path relative to its top.
    const AnsiString top = TopFolder(path);
    const AnsiString trash = (top == "/" ? AnsiString() : top) + "/.Trash-" + std::to_string(::getuid());
    return MoveInto(path, trash, top == "/" ? path.substr(1) : path.substr(top.size() + 1));
}

}  // namespace shell
