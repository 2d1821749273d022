#include "platform/shell/userdirs.h"

#include <cstdlib>
#include <fstream>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"

namespace shell {

namespace {

String FromEnvironment(const char* AVariable, const String& ADefault) {
    const char* value = std::getenv(AVariable);
    return value && *value ? ExcludeTrailingPathDelimiter(UTF8ToString(value)) : ADefault;
}

// The value of XDG_<AName>_DIR in user-dirs.dirs, "" when it is not there.
String FromUserDirsFile(const char* AName) {
    std::ifstream file(StringToUTF8(ConfigHome() + u"/user-dirs.dirs"));
    const AnsiString key = AnsiString("XDG_") + AName + "_DIR=";
    AnsiString line;
    while (std::getline(file, line)) {
        if (line.rfind(key, 0) != 0) continue;
        AnsiString value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = StringToUTF8(GetHomeDir()) + value.substr(5);
        if (value.empty() || value[0] != '/') return String();
        return ExcludeTrailingPathDelimiter(UTF8ToString(value));
    }
    return String();
}

}  // namespace

String UserDir(const char* AName, const char* ADefault) {
    const String fromEnvironment = FromEnvironment((AnsiString("XDG_") + AName + "_DIR").c_str(), String());
    if (!fromEnvironment.empty()) return fromEnvironment;
    const String fromFile = FromUserDirsFile(AName);
    if (!fromFile.empty()) return fromFile;
    return GetHomeDir() + u"/" + UTF8ToString(ADefault);
}

String DesktopDir() {
    return UserDir("DESKTOP", "Desktop");
}

String DataHome() {
    return FromEnvironment("XDG_DATA_HOME", GetHomeDir() + u"/.local/share");
}

String ConfigHome() {
    return FromEnvironment("XDG_CONFIG_HOME", GetHomeDir() + u"/.config");
}

std::vector<String> DataDirs() {
    const char* value = std::getenv("XDG_DATA_DIRS");
    AnsiString dirs = value && *value ? value : "/usr/local/share:/usr/share";
    std::vector<String> out;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (end > start)
            out.push_back(ExcludeTrailingPathDelimiter(UTF8ToString(dirs.substr(start, end - start))));
        start = end + 1;
    }
    return out;
}

}  // namespace shell
