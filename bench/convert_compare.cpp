// The conversion engine against the ffmpeg command, whole process against
// whole process: one 1080p25 ten-second source converted with the same
// settings by both, several times each. Prints each side's frames per second
// and peak memory, and the ratio of the two, all measured in this run.
//
//   convert_compare [repetitions]        (4 by default, made even)
//
// The source is made once with the ffmpeg command in a folder of its own
// under the temporary folder. With "--engine INPUT OUTPUT name=value..." the
// program is the engine's side: it converts INPUT to OUTPUT with the options.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/processes.h"
#include "media/ffmpeg.h"
#include "media/ffmpegloader.h"
#include "platform/base/ustring.h"

namespace {

using bench::Median;
using bench::RunProcess;
using bench::TRun;

constexpr int kFrames = 250;  // ten seconds at 25 per second

struct TCase {
    const char* Name;
    const char* Extension;
    std::vector<std::string> EngineOptions;  // name=value, after the input
    std::vector<std::string> CommandOptions;
};

const TCase kCases[] = {
    {"720p libx264 + aac",
     "mp4",
     {"vcodec=libx264", "s=1280x720", "b=1600000", "r=25", "acodec=aac", "ab=128000", "ar=48000", "ac=2"},
     {"-c:v", "libx264", "-s", "1280x720", "-b:v", "1600000", "-r", "25", "-c:a", "aac", "-b:a", "128000",
      "-ar", "48000", "-ac", "2"}},
    {"720p mpeg4 + mp3",
     "avi",
     {"vcodec=mpeg4", "s=1280x720", "b=1600000", "r=25", "acodec=libmp3lame", "ab=128000", "ar=48000",
      "ac=2"},
     {"-c:v", "mpeg4", "-s", "1280x720", "-b:v", "1600000", "-r", "25", "-c:a", "libmp3lame", "-b:a",
      "128000", "-ar", "48000", "-ac", "2"}},
};

int ConvertWithEngine(int argc, char** argv) {
    if (argc < 4 || !LibLoader.Load(TranscoderLibraries)) return 2;
    int result = 1;
    {
        TCustomFFmpeg engine(4);
        engine.Reset();
        engine.SetVerbose(-1);
        if (engine.OptInputFile(UTF8ToString(argv[2]))) {
            for (int i = 4; i < argc; ++i) {
                const std::string option = argv[i];
                const size_t equals = option.find('=');
                engine.SetOption(UTF8ToString(option.substr(0, equals)),
                                 UTF8ToString(equals == std::string::npos ? "" : option.substr(equals + 1)));
            }
            if (engine.OptOutputFile(UTF8ToString(argv[3]), false) > 0) {
                engine.StartConvert(false, tpNormal);
                result = engine.Finished() ? 0 : 1;
                if (result != 0) std::fprintf(stderr, "%s\n", StringToUTF8(engine.FatalMessage()).c_str());
            }
        }
    }
    LibLoader.Unload(TranscoderLibraries);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--engine") return ConvertWithEngine(argc, argv);
    // Even, so that each side goes first as often as the other.
    const int asked = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
    const int repetitions = asked + asked % 2;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velqua-convert-compare";
    std::filesystem::create_directories(folder);
    const std::string source = (folder / "source-1080p25.mkv").string();
    if (!std::filesystem::exists(source)) {
        std::printf("making the source %s\n", source.c_str());
        const TRun made = RunProcess({"ffmpeg",
                                      "-nostdin",
                                      "-hide_banner",
                                      "-loglevel",
                                      "error",
                                      "-y",
                                      "-f",
                                      "lavfi",
                                      "-i",
                                      "testsrc2=size=1920x1080:rate=25:duration=10",
                                      "-f",
                                      "lavfi",
                                      "-i",
                                      "sine=frequency=440:sample_rate=48000:duration=10",
                                      "-c:v",
                                      "mpeg4",
                                      "-q:v",
                                      "3",
                                      "-c:a",
                                      "aac",
                                      "-b:a",
                                      "192k",
                                      "-ac",
                                      "2",
                                      source + ".tmp.mkv"});
        if (!made.Ok) {
            std::fprintf(stderr, "cannot make the source with the ffmpeg command\n");
            return 1;
        }
        std::filesystem::rename(source + ".tmp.mkv", source);
    }

    // Each repetition runs both sides back to back: the ratio is the median of
    // the pairs', which a busy machine disturbs least.
    std::printf("%-20s %10s %10s %8s %10s %10s %10s\n", "case", "ours fps", "ffmpeg fps", "ratio",
                "cpu ratio", "ours MiB", "ffmpeg MiB");
    for (const TCase& c : kCases) {
        std::vector<double> ours, theirs, ratios, cpuRatios;
        long oursPeak = 0, theirsPeak = 0;
        const std::string output = (folder / (std::string("out.") + c.Extension)).string();
        for (int i = 0; i < repetitions; ++i) {
            std::vector<std::string> engine = {argv[0], "--engine", source, output};
            engine.insert(engine.end(), c.EngineOptions.begin(), c.EngineOptions.end());
            std::vector<std::string> command = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel",
                                                "error",  "-y",       "-i",           source};
            command.insert(command.end(), c.CommandOptions.begin(), c.CommandOptions.end());
            command.push_back(output);
            // Turn about, so that neither side always runs on a warmer machine.
            const TRun first = RunProcess(i % 2 == 0 ? engine : command);
            const TRun second = RunProcess(i % 2 == 0 ? command : engine);
            const TRun& mine = i % 2 == 0 ? first : second;
            const TRun& other = i % 2 == 0 ? second : first;
            if (!mine.Ok || !other.Ok) {
                std::fprintf(stderr, "%s: a conversion failed (ours %d, ffmpeg %d)\n", c.Name, mine.Ok,
                             other.Ok);
                return 1;
            }
            ours.push_back(kFrames / mine.Seconds);
            theirs.push_back(kFrames / other.Seconds);
            ratios.push_back(other.Seconds / mine.Seconds);
            // Work per picture, ffmpeg's over ours: above 1 when ours does less.
            cpuRatios.push_back(other.CpuSeconds / mine.CpuSeconds);
            oursPeak = std::max(oursPeak, mine.PeakKiB);
            theirsPeak = std::max(theirsPeak, other.PeakKiB);
        }
        std::printf("%-20s %10.1f %10.1f %8.3f %10.3f %10.1f %10.1f\n", c.Name, Median(ours), Median(theirs),
                    Median(ratios), Median(cpuRatios), oursPeak / 1024.0, theirsPeak / 1024.0);
    }
    return 0;
}
