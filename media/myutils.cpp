#include "media/myutils.h"

#include <sys/stat.h>

#include <ctime>

#include "platform/base/clock.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"

Integer AVSeekFlags(TSeekFlags AFlags) {
    return static_cast<Integer>(AFlags.Bits());
}

Int64 FileSizeByName(std::u16string_view AFileName) {
    struct stat st;
    if (AFileName.empty() || ::stat(StringToUTF8(ExpandFileName(AFileName)).c_str(), &st) != 0) return -1;
    return S_ISREG(st.st_mode) ? static_cast<Int64>(st.st_size) : 0;
}

void TakeToken(String& ASource, std::u16string_view ADelimiter, bool ARemove, String& AHead) {
    const Integer at = Pos(ADelimiter, ASource);
    if (at == 0) {
        AHead = ASource;
        if (ARemove) ASource.clear();
        return;
    }
    AHead = Copy(ASource, 1, at - 1);
    if (ARemove) Delete(ASource, 1, at - 1 + static_cast<Integer>(ADelimiter.size()));
}

String SizeToText(Int64 ASize) {
    if (ASize > 1073741824) return Format(u"%.2f GB", {ASize / 1073741824.0});
    if (ASize > 1048576) return Format(u"%.2f MB", {ASize / 1048576.0});
    if (ASize > 1024) return Format(u"%.2f KB", {ASize / 1024.0});
    return Format(u"%d Byte", {ASize});
}

double LocalTimeZoneBias() {
    tzset();
    // timezone: seconds west of UTC for standard time, as the Windows bias.
    return -(static_cast<double>(timezone) / 60.0) / 1440.0;
}

TDateTime UnixTimeToDateTime(Int64 ASeconds) {
    return 25569 + static_cast<double>(ASeconds) / 86400 + LocalTimeZoneBias();
}

String DateTimeToText(std::u16string_view AFormat, TDateTime ADateTime) {
    return FormatDateTime(AFormat, ADateTime);
}

void ProcessPendingMessages() {
    CheckSynchronize();
    ProcessMessagesHook();
}

void CallInMainThread(const std::function<void()>& AMethod) {
    if (SyncEventsToMainThread && !IsMainThread()) {
        Synchronize(AMethod);
    } else {
        AMethod();
    }
}

HMODULE LoadLibraryWithPath(std::u16string_view AFolder, std::u16string_view AFileName, String& AError) {
    // The folder's copy is loaded by absolute path: its own dependencies then
    // resolve by soname to copies loaded from the folder before it. Neither the
    // current directory nor PATH is touched, since other threads are running.
    if (!AFolder.empty()) {
        const String path = IncludeTrailingPathDelimiter(AFolder) + String(AFileName);
        if (FileExists(path)) return LoadLibrary(path, AError);
    }
    return LoadLibrary(AFileName, AError);
}

void GetProcAddressOrFail(const String& ALibName, HMODULE AModule, const char* AProcName, bool AOptional,
                          void*& ASlot) {
    String error;
    ASlot = GetProcAddress(AModule, AProcName, error);
    if (!ASlot && !AOptional)
        throw Exception(u"Load function %s@%s error: %s", {AnsiString(AProcName), ALibName, error});
}
