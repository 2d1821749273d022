// Whole-process measurements of the conversion benchmarks: programs run as
// child processes, timed by the wall clock, with their processor time and
// peak resident size.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace bench {

struct TRun {
    double Seconds = 0;     // wall clock
    double CpuSeconds = 0;  // user and system time of the processes and their threads
    long PeakKiB = 0;       // the largest peak resident size of one process
    long PeakSumKiB = 0;    // the processes' peaks added up
    bool Ok = false;
};

using TCommand = std::vector<std::string>;

inline pid_t Spawn(const TCommand& ACommand) {
    std::vector<char*> argv;
    for (const std::string& argument : ACommand)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Runs the commands AAtOnce at a time, each starting as soon as another has
// ended, and waits for the last.
inline TRun RunBatch(const std::vector<TCommand>& ACommands, int AAtOnce) {
    TRun run;
    run.Ok = true;
    const auto start = std::chrono::steady_clock::now();
    size_t next = 0;
    int running = 0;
    while (next < ACommands.size() || running > 0) {
        if (next < ACommands.size() && running < AAtOnce) {
            if (Spawn(ACommands[next++]) < 0)
                run.Ok = false;
            else
                ++running;
            continue;
        }
        int status = 0;
        rusage usage{};
        if (wait4(-1, &status, 0, &usage) < 0) {
            run.Ok = false;
            break;
        }
        --running;
        run.Ok = run.Ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.PeakKiB = std::max(run.PeakKiB, usage.ru_maxrss);
        run.PeakSumKiB += usage.ru_maxrss;
        run.CpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

inline TRun RunProcess(const TCommand& ACommand) {
    return RunBatch({ACommand}, 1);
}

inline double Median(std::vector<double> AValues) {
    std::sort(AValues.begin(), AValues.end());
    return AValues[AValues.size() / 2];
}

}  // namespace bench
