#include "media.h"

#include "desktop.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace acceptance {

int RunCommand(const std::vector<std::string>& AArguments, std::string* AOutput) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        const int in = open("/dev/null", O_RDONLY);
        if (in >= 0) dup2(in, STDIN_FILENO);
        std::vector<char*> argv;
        for (const std::string& a : AArguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0) break;
        output.append(buffer, static_cast<size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (AOutput) *AOutput = output;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MakeMedia(const std::string& APath, const std::vector<std::string>& AInputs) {
    std::vector<std::string> command = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    command.insert(command.end(), AInputs.begin(), AInputs.end());
    command.push_back(APath);
    std::string output;
    if (RunCommand(command, &output) != 0)
        throw std::runtime_error("ffmpeg could not make " + APath + ": " + output);
}

void MakeClip(const std::string& APath, const std::string& ASize, double ASeconds) {
    const std::string seconds = std::to_string(ASeconds);
    MakeMedia(APath,
              {"-f", "lavfi", "-i", "testsrc=size=" + ASize + ":rate=25:duration=" + seconds, "-f", "lavfi",
               "-i", "sine=frequency=440:sample_rate=44100:duration=" + seconds, "-shortest"});
}

std::map<std::string, std::string> Probe(const std::string& APath) {
    std::string output;
    std::map<std::string, std::string> result;
    if (RunCommand({"ffprobe", "-v", "error", "-of", "flat", "-show_format", "-show_streams", APath},
                   &output) != 0)
        return result;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        result[line.substr(0, equals)] = value;
    }
    return result;
}

bool DecodesCleanly(const std::string& APath, std::string* AErrors) {
    std::string output;
    const int status =
        RunCommand({"ffmpeg", "-nostdin", "-v", "error", "-i", APath, "-f", "null", "-"}, &output);
    if (AErrors) *AErrors = output;
    return status == 0 && output.empty();
}

bool IsCompleteMedia(const std::string& APath, double ASeconds, std::string* AErrors) {
    const auto probe = Probe(APath);
    const auto duration = probe.find("format.duration");
    // A file still being written may have no duration yet ("N/A").
    if (duration == probe.end()) return false;
    char* end = nullptr;
    const double seconds = std::strtod(duration->second.c_str(), &end);
    return end != duration->second.c_str() && seconds >= ASeconds && DecodesCleanly(APath, AErrors);
}

bool WaitForCompleteMedia(const std::string& APath, double ASeconds, std::chrono::milliseconds ALimit,
                          std::string* AErrors) {
    return WaitUntil([&] { return IsCompleteMedia(APath, ASeconds, AErrors); }, ALimit);
}

std::string FileBytes(const std::string& APath) {
    std::ifstream file(APath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace acceptance
