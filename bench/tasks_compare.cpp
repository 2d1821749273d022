// The task component against the ffmpeg command, whole process against whole
// process, in one run:
//
// - throughput: a batch of eight two-second 720p sources converted to libx264
//   (one encoder thread per conversion, so that the workers' scaling shows)
//   and AAC, by the component with 1, 2, 4 and 8 workers and by eight ffmpeg
//   processes run the same number at a time; files per second of each side,
//   their ratio, and each side's speed-up over one at a time;
// - memory: eight conversions of a 1080p source at once with the encoder's
//   own threading, as the program runs them; the component's peak resident
//   size beside the eight ffmpeg processes' peaks added up.
//
// - stop: Stop(true) while 1 and 4 workers convert ten-second 1080p sources
//   to libx264 (its own threads), timed from the call to its return; the
//   four workers' stop as a ratio to one worker's (near 1 when the workers
//   are all asked before any is waited for).
//
//   tasks_compare [repetitions]        (2 by default, made even)
//   tasks_compare --stop [repetitions] (the stop alone)
//
// The sources are made once with the ffmpeg command in a folder of its own
// under the temporary folder. With "--tasks N OUTPUT_FOLDER INPUT... --
// name=value..." the program is the component's side: it converts every
// input into the folder with N workers and the options.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "bench/processes.h"
#include "media/strovix.h"
#include "platform/base/fileutils.h"
#include "platform/base/syncobjs.h"
#include "platform/base/ustring.h"

namespace {

using bench::Median;
using bench::TCommand;
using bench::TRun;

constexpr int kFiles = 8;
const int kWorkers[] = {1, 2, 4, 8};

// The component takes name=value options, the command its own arguments;
// both say the same.
struct TSettings {
    std::vector<std::string> Options;
    std::vector<std::string> Arguments;
};

const TSettings kOneThread = {
    {"vcodec=libx264", "b=1600000", "x264-params=threads=1", "acodec=aac", "ab=128000", "ar=48000", "ac=2"},
    {"-c:v", "libx264", "-b:v", "1600000", "-x264-params", "threads=1", "-c:a", "aac", "-b:a", "128000",
     "-ar", "48000", "-ac", "2"}};
const TSettings kOwnThreads = {
    {"vcodec=libx264", "b=4000000", "acodec=aac", "ab=128000", "ar=48000", "ac=2"},
    {"-c:v", "libx264", "-b:v", "4000000", "-c:a", "aac", "-b:a", "128000", "-ar", "48000", "-ac", "2"}};

std::string OutputName(const std::filesystem::path& AFolder, size_t AIndex) {
    return (AFolder / (std::to_string(AIndex) + ".mp4")).string();
}

int ConvertWithTasks(int argc, char** argv) {
    if (argc < 5) return 2;
    const int workers = std::atoi(argv[2]);
    const std::filesystem::path folder = argv[3];
    std::vector<std::string> inputs;
    String options;
    int i = 4;
    for (; i < argc && std::string(argv[i]) != "--"; ++i)
        inputs.push_back(argv[i]);
    for (++i; i < argc; ++i) {
        if (!options.empty()) options += u'\n';
        options += UTF8ToString(argv[i]);
    }

    int result = 0;
    {
        TStrovix strovix(nullptr);
        if (!strovix.LoadAVLib(ProgramFolder() + u"LibAV")) {
            std::fprintf(stderr, "%s\n", StringToUTF8(strovix.LastErrMsg()).c_str());
            return 2;
        }
        strovix.SetVerbose(-1);
        TEvent ended;
        strovix.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex == -1) {
                ended.SetEvent();
            } else if (!AInfo.Finished) {
                std::fprintf(stderr, "task %d: %s\n", AInfo.TaskIndex,
                             StringToUTF8(AInfo.ExceptionMsg).c_str());
                result = 1;
            }
        });
        for (size_t n = 0; n < inputs.size(); ++n) {
            const Integer task = strovix.AddTask(UTF8ToString(inputs[n]));
            if (task < 0 || !strovix.SetOutputFile(task, UTF8ToString(OutputName(folder, n)), options)) {
                std::fprintf(stderr, "%s\n", StringToUTF8(strovix.LastErrMsg()).c_str());
                return 1;
            }
        }
        strovix.Start(workers);
        // The GUI thread's wait delivers the ends.
        ended.WaitFor(INFINITE);
        strovix.ClearTasks();
        strovix.UnloadAVLib();
    }
    return result;
}

// The component's side: one process for the batch.
TCommand Ours(const char* AProgram, int AWorkers, const std::filesystem::path& AFolder,
              const std::vector<std::string>& AInputs, const TSettings& ASettings) {
    TCommand command = {AProgram, "--tasks", std::to_string(AWorkers), AFolder.string()};
    command.insert(command.end(), AInputs.begin(), AInputs.end());
    command.push_back("--");
    command.insert(command.end(), ASettings.Options.begin(), ASettings.Options.end());
    return command;
}

// The command's side: one process per file.
std::vector<TCommand> Theirs(const std::filesystem::path& AFolder, const std::vector<std::string>& AInputs,
                             const TSettings& ASettings) {
    std::vector<TCommand> commands;
    for (size_t n = 0; n < AInputs.size(); ++n) {
        TCommand command = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel",
                            "error",  "-y",       "-i",           AInputs[n]};
        command.insert(command.end(), ASettings.Arguments.begin(), ASettings.Arguments.end());
        command.push_back(OutputName(AFolder, n));
        commands.push_back(std::move(command));
    }
    return commands;
}

// Made once: two seconds of the lavfi pictures AVideo with a tone.
std::string Source(const std::filesystem::path& AFolder, const std::string& AName,
                   const std::string& AVideo) {
    const std::string source = (AFolder / AName).string();
    if (std::filesystem::exists(source)) return source;
    std::printf("making the source %s\n", source.c_str());
    const TRun made = bench::RunProcess({"ffmpeg",
                                         "-nostdin",
                                         "-hide_banner",
                                         "-loglevel",
                                         "error",
                                         "-y",
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         AVideo,
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         "sine=frequency=440:sample_rate=48000:duration=2",
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
    if (!made.Ok) return {};
    std::filesystem::rename(source + ".tmp.mkv", source);
    return source;
}

std::string Range(const std::vector<double>& AValues) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f (%.3f-%.3f)", Median(AValues),
                  *std::min_element(AValues.begin(), AValues.end()),
                  *std::max_element(AValues.begin(), AValues.end()));
    return text;
}

// Seconds Stop(true) takes while AInputs convert at once, each a second or
// more into its conversion; negative when a conversion failed first.
double StopSeconds(const std::vector<std::string>& AInputs, const std::filesystem::path& AFolder) {
    TStrovix strovix(nullptr);
    if (!strovix.LoadAVLib(ProgramFolder() + u"LibAV")) return -1;
    strovix.SetVerbose(-1);
    strovix.SetProgressInterval(100);
    // Progress on the workers: this thread waits for it without serving them.
    strovix.SetTriggerEventInMainThread(false);
    std::mutex lock;
    std::condition_variable going;
    std::set<Integer> started;
    strovix.SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        if (AInfo->FrameNumber < 25) return;
        std::lock_guard guard(lock);
        started.insert(AInfo->TaskIndex);
        going.notify_all();
    });
    TEvent ended;
    bool failed = false;
    strovix.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == -1) ended.SetEvent();
        if (AInfo.Exception) failed = true;
    });
    for (size_t n = 0; n < AInputs.size(); ++n) {
        const Integer task = strovix.AddTask(UTF8ToString(AInputs[n]));
        if (task < 0 || !strovix.SetOutputFile(task, UTF8ToString(OutputName(AFolder, n)),
                                               UTF8ToString("vcodec=libx264\nb=4000000\nan=1")))
            return -1;
    }
    strovix.Start(static_cast<Integer>(AInputs.size()));
    {
        std::unique_lock guard(lock);
        going.wait(guard, [&] { return started.size() == AInputs.size() || failed; });
    }
    const auto start = std::chrono::steady_clock::now();
    strovix.Stop(true);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    ended.WaitFor(INFINITE);
    strovix.ClearTasks();
    strovix.UnloadAVLib();
    return failed ? -1 : took.count();
}

int CompareStops(const std::filesystem::path& AFolder, int ARepetitions) {
    const std::filesystem::path outputs = AFolder / "stop";
    std::filesystem::create_directories(outputs);
    const std::string source =
        Source(AFolder, "source-1080p-10s.mkv", "testsrc2=size=1920x1080:rate=25:duration=10");
    if (source.empty()) return 1;
    std::vector<double> one, four, ratio;
    for (int r = 0; r < ARepetitions; ++r) {
        const double a = StopSeconds({source}, outputs);
        const double b = StopSeconds(std::vector<std::string>(4, source), outputs);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "stop: a conversion failed\n");
            return 1;
        }
        one.push_back(a);
        four.push_back(b);
        ratio.push_back(b / a);
    }
    std::printf(
        "stop: Stop(true) while 10 s 1080p25 sources convert to libx264 (its own threads), %d repetitions\n",
        ARepetitions);
    std::printf("medians, (min-max): 1 worker %s s, 4 workers %s s; ratio 4 / 1 %s\n", Range(one).c_str(),
                Range(four).c_str(), Range(ratio).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--tasks") return ConvertWithTasks(argc, argv);
    const bool stopOnly = argc > 1 && std::string(argv[1]) == "--stop";
    const char* repetitionsArgument =
        stopOnly ? (argc > 2 ? argv[2] : nullptr) : (argc > 1 ? argv[1] : nullptr);
    // Even, so that each side goes first as often as the other.
    const int asked = repetitionsArgument ? std::max(1, std::atoi(repetitionsArgument)) : 2;
    const int repetitions = asked + asked % 2;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velqua-tasks-compare";
    if (stopOnly) return CompareStops(folder, repetitions);
    const std::filesystem::path ours = folder / "ours", theirs = folder / "ffmpeg";
    std::filesystem::create_directories(ours);
    std::filesystem::create_directories(theirs);

    std::vector<std::string> batch;
    for (int n = 0; n < kFiles; ++n) {
        // Each its own pictures: the hue turns from file to file.
        batch.push_back(Source(folder, "source-720p-" + std::to_string(n) + ".mkv",
                               "testsrc2=size=1280x720:rate=25:duration=2,hue=h=" + std::to_string(n * 45)));
        if (batch.back().empty()) {
            std::fprintf(stderr, "cannot make the sources with the ffmpeg command\n");
            return 1;
        }
    }

    std::printf(
        "throughput: %d files of 2 s 720p25 mpeg4 + aac to libx264 (one thread) + aac, %d repetitions\n",
        kFiles, repetitions);
    std::printf("medians, (min-max) over the repetitions; ratio = ours / ffmpeg files per second\n");
    std::printf("%-8s %10s %10s %26s %26s %26s %10s\n", "workers", "ours f/s", "ffmpeg f/s", "ratio",
                "ours speed-up", "ffmpeg speed-up", "cpu ratio");
    struct TPoint {
        std::vector<double> Ours, Theirs, Ratio, Cpu;
    };
    std::vector<TPoint> points(std::size(kWorkers));
    for (int r = 0; r < repetitions; ++r) {
        for (size_t w = 0; w < std::size(kWorkers); ++w) {
            const TCommand mine = Ours(argv[0], kWorkers[w], ours, batch, kOneThread);
            const std::vector<TCommand> other = Theirs(theirs, batch, kOneThread);
            // Turn about, so that neither side always runs on a warmer machine.
            TRun a, b;
            if ((r + static_cast<int>(w)) % 2 == 0) {
                a = bench::RunProcess(mine);
                b = bench::RunBatch(other, kWorkers[w]);
            } else {
                b = bench::RunBatch(other, kWorkers[w]);
                a = bench::RunProcess(mine);
            }
            if (!a.Ok || !b.Ok) {
                std::fprintf(stderr, "%d workers: a conversion failed (ours %d, ffmpeg %d)\n", kWorkers[w],
                             a.Ok, b.Ok);
                return 1;
            }
            points[w].Ours.push_back(kFiles / a.Seconds);
            points[w].Theirs.push_back(kFiles / b.Seconds);
            points[w].Ratio.push_back(b.Seconds / a.Seconds);
            // Work, ffmpeg's over ours: above 1 when ours does less.
            points[w].Cpu.push_back(b.CpuSeconds / a.CpuSeconds);
        }
    }
    for (size_t w = 0; w < std::size(kWorkers); ++w) {
        std::vector<double> oursUp, theirsUp;
        for (int r = 0; r < repetitions; ++r) {
            oursUp.push_back(points[w].Ours[r] / points[0].Ours[r]);
            theirsUp.push_back(points[w].Theirs[r] / points[0].Theirs[r]);
        }
        std::printf("%-8d %10.3f %10.3f %26s %26s %26s %10.3f\n", kWorkers[w], Median(points[w].Ours),
                    Median(points[w].Theirs), Range(points[w].Ratio).c_str(), Range(oursUp).c_str(),
                    Range(theirsUp).c_str(), Median(points[w].Cpu));
    }

    const std::string large =
        Source(folder, "source-1080p.mkv", "testsrc2=size=1920x1080:rate=25:duration=2");
    if (large.empty()) return 1;
    const std::vector<std::string> same(kFiles, large);
    long oursPeak = 0, theirsPeak = 0, theirsOne = 0;
    for (int r = 0; r < repetitions; ++r) {
        const TRun a = bench::RunProcess(Ours(argv[0], kFiles, ours, same, kOwnThreads));
        const TRun b = bench::RunBatch(Theirs(theirs, same, kOwnThreads), kFiles);
        if (!a.Ok || !b.Ok) {
            std::fprintf(stderr, "1080p: a conversion failed (ours %d, ffmpeg %d)\n", a.Ok, b.Ok);
            return 1;
        }
        oursPeak = std::max(oursPeak, a.PeakKiB);
        theirsPeak = std::max(theirsPeak, b.PeakSumKiB);
        theirsOne = std::max(theirsOne, b.PeakKiB);
    }
    std::printf("memory: %d conversions of 2 s 1080p25 to libx264 (its own threads) + aac at once\n", kFiles);
    std::printf(
        "peak resident: ours %.0f MiB in one process; ffmpeg %.0f MiB over %d processes (%.0f MiB the "
        "largest); ratio %.3f\n",
        oursPeak / 1024.0, theirsPeak / 1024.0, kFiles, theirsOne / 1024.0,
        static_cast<double>(oursPeak) / static_cast<double>(theirsPeak));
    return CompareStops(folder, repetitions);
}
