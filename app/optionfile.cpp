#include "app/optionfile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/base/fileutils.h"
#include "platform/base/inifiles.h"
#include "platform/base/ustring.h"

String OptionFileName() {
    return ProgramFolder() + u"option.ini";
}

String ReadOption(const String& ASection, const String& AKey) {
    const String file = OptionFileName();
    if (!FileExists(file)) return {};
    TIniFile ini(file);
    const String value = ini.ReadString(ASection, AKey, u"Error");
    return value == u"Error" ? String() : value;
}

void WriteOption(const String& ASection, const String& AKey, const String& AValue) {
    TIniFile ini(OptionFileName());
    ini.WriteString(ASection, AKey, AValue);
}

bool TryWriteOption(const String& ASection, const String& AKey, const String& AValue) {
    try {
        WriteOption(ASection, AKey, AValue);
        return true;
    } catch (const EIniFileException&) {
        return false;
    }
}

String HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return UTF8ToString(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return UTF8ToString(entry->pw_dir);
    return u"/";
}

String DefaultOutputFolder() {
    return IncludeTrailingPathDelimiter(HomeFolder()) + u"Velqua视频软件/输出";
}

String DefaultSnapshotFolder() {
    return IncludeTrailingPathDelimiter(HomeFolder()) + u"Velqua视频软件/快照";
}

String AbsoluteFolder(const String& AFolder) {
    if (!AFolder.empty() && AFolder[0] == u'/') return AFolder;
    return ProgramFolder() + AFolder;
}
