#include "ffprobe.h"

#include <cstdio>
#include <memory>

std::map<std::string, std::string> FFprobe(const std::string& AFileName) {
    // The name goes to the shell single-quoted, each quote of it spelled out.
    std::string quoted = "'";
    for (const char c : AFileName)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    const std::string command =
        "ffprobe -v error -show_format -show_streams -of flat " + quoted + " 2>/dev/null";
    std::map<std::string, std::string> entries;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return entries;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c != '\n') {
            line += char(c);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            std::string value = line.substr(equals + 1);
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            entries[line.substr(0, equals)] = value;
        }
        line.clear();
    }
    return entries;
}
