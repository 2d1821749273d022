// Media for the acceptance tests, made and checked with the ffmpeg and
// ffprobe commands, as a user's other tools would see the program's files.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace acceptance {

// Runs a command (no shell) and gives its exit status (-1 when it could not
// run or died of a signal); AOutput, when given, gets stdout and stderr.
int RunCommand(const std::vector<std::string>& AArguments, std::string* AOutput = nullptr);
// A file's bytes (none when it cannot be read).
std::string FileBytes(const std::string& APath);

// Writes APath with ffmpeg from the input arguments given, e.g.
// {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1"}.
void MakeMedia(const std::string& APath, const std::vector<std::string>& AInputs);
// A short clip with a test picture and a tone.
void MakeClip(const std::string& APath, const std::string& ASize = "160x120", double ASeconds = 1);

// What ffprobe says of a file, flat: "format.format_name", "format.duration",
// "streams.stream.0.codec_name", ... (quotes removed). Empty when it cannot
// read the file.
std::map<std::string, std::string> Probe(const std::string& APath);
// Whether the whole file decodes without a single error; AErrors gets what
// the decoder said.
bool DecodesCleanly(const std::string& APath, std::string* AErrors = nullptr);
// Whether APath lasts at least ASeconds and decodes cleanly; AErrors gets
// what the decoder said.
bool IsCompleteMedia(const std::string& APath, double ASeconds, std::string* AErrors = nullptr);
// Waits until APath lasts at least ASeconds and decodes cleanly (the
// converter has finished it), for at most ALimit; AErrors gets what the
// decoder said last.
bool WaitForCompleteMedia(const std::string& APath, double ASeconds, std::chrono::milliseconds ALimit,
                          std::string* AErrors = nullptr);

}  // namespace acceptance
