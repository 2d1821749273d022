// The INI files as one section grows: the time per key of each operation on
// a section of 1,000 keys and on one of 64,000, and the ratio of the two, all
// measured in this run. Work that grows linearly with the section gives a
// ratio near 1; work that grows with its square, one near 64.
//
//   inifiles_scaling
//
// The files are written to a folder of their own under the temporary folder.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/inifiles.h"
#include "platform/base/stringlist.h"
#include "platform/base/ustring.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSmall = 1000;
constexpr int kLarge = 64000;

// Seconds per run of AWork, after one run that warms the allocator and the
// caches up, run at least three times and until a quarter of a second has
// passed.
double PerRun(const std::function<void()>& AWork) {
    AWork();
    int runs = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> elapsed{};
    do {
        AWork();
        ++runs;
        elapsed = Clock::now() - start;
    } while (runs < 3 || elapsed.count() < 0.25);
    return elapsed.count() / runs;
}

// A file of one section of AKeys keys, with a comment and a second section
// after it, as a settings file grows.
String WriteSection(const std::filesystem::path& AFolder, int AKeys) {
    const std::filesystem::path file = AFolder / ("section" + std::to_string(AKeys) + ".ini");
    std::ofstream out(file, std::ios::binary);
    out << "[Files]\r\n";
    for (int i = 0; i < AKeys; ++i)
        out << "File" << i << "=/home/user/Videos/clip " << i << ".mts\r\n";
    out << "\r\n; the rest\r\n[Options]\r\nThreads=4\r\n";
    return UTF8ToString(file.string());
}

struct TIniOperation {
    const char* Name;
    // Seconds for one run on the file of AKeys keys.
    std::function<double(const String& AFile, int AKeys)> Time;
};

const TIniOperation kOperations[] = {
    {"read the file (TMemIniFile)",
     [](const String& AFile, int) { return PerRun([&] { TMemIniFile ini(AFile); }); }},
    {"ReadSection",
     [](const String& AFile, int) {
         TMemIniFile ini(AFile);
         TStringList keys;
         return PerRun([&] { ini.ReadSection(u"Files", &keys); });
     }},
    {"ReadSectionValues",
     [](const String& AFile, int) {
         TMemIniFile ini(AFile);
         TStringList lines;
         return PerRun([&] { ini.ReadSectionValues(u"Files", &lines); });
     }},
    {"ReadString of the last key",
     [](const String& AFile, int AKeys) {
         TMemIniFile ini(AFile);
         const String last = u"File" + IntToStr(AKeys - 1);
         return PerRun([&] { ini.ReadString(u"Files", last, u""); });
     }},
    {"WriteString of a new key, DeleteKey",
     [](const String& AFile, int) {
         TMemIniFile ini(AFile);
         return PerRun([&] {
             ini.WriteString(u"Files", u"New", u"value");
             ini.DeleteKey(u"Files", u"New");
         });
     }},
    {"ReadSection (TIniFile, from the file)",
     [](const String& AFile, int) {
         TIniFile ini(AFile);
         TStringList keys;
         return PerRun([&] { ini.ReadSection(u"Files", &keys); });
     }},
};

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velqua-inibench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const String small = WriteSection(folder, kSmall), large = WriteSection(folder, kLarge);
    std::printf("%-40s %16s %16s %8s\n", "operation, time per key", "1,000 keys", "64,000 keys", "ratio");
    for (const TIniOperation& operation : kOperations) {
        const double perKeySmall = operation.Time(small, kSmall) / kSmall;
        const double perKeyLarge = operation.Time(large, kLarge) / kLarge;
        std::printf("%-40s %13.1f ns %13.1f ns %8.2f\n", operation.Name, perKeySmall * 1e9, perKeyLarge * 1e9,
                    perKeyLarge / perKeySmall);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
