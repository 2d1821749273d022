// Shared by the media tests: the files the fixture script makes, and a test
// base that holds the prober's libraries.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

extern "C" {
#include <libavutil/avutil.h>
}

#include "media/ffmpeglogger.h"
#include "platform/base/types.h"
#include "platform/base/ustring.h"

// The full name of a file of the test data folder (VELQUA_TEST_DATA).
String TestDataFile(std::u16string_view AName);
AnsiString TestDataPath(std::u16string_view AName);

// A display matrix of the four numbers that turn or mirror, in 16.16.
std::array<int32_t, 9> DisplayMatrix(double A, double B, double C, double D);
// A copy at ATarget of the MP4 test file AFixture whose (first) track header
// carries AMatrix: a file whose pictures players show turned.
void WriteWithDisplayMatrix(std::u16string_view AFixture, const std::array<int32_t, 9>& AMatrix,
                            const String& ATarget);

// Runs AWork on a thread of its own, as the engine's workers do, while this
// thread, the GUI thread, serves its main-thread calls.
void OnWorker(const std::function<void()>& AWork);

// What a media file holds, read packet by packet.
struct TProbedStream {
    AVMediaType Type = AVMEDIA_TYPE_UNKNOWN;
    AnsiString Codec;  // the codec id's name
    uint32_t Tag = 0;
    Integer Width = 0, Height = 0;
    Integer SampleRate = 0, Channels = 0;
    Int64 Packets = 0;
    // Seconds: the packets' presentation times and the end of the last.
    std::vector<double> Times;
    double Start = 0, End = 0;
    Int64 Samples = 0;                       // audio: the packets' durations in samples
    uint64_t Checksum = 0;                   // of every packet's data
    std::vector<std::vector<uint8_t>> Data;  // with ACollect
    double Duration() const { return End - Start; }
};

struct TProbedFile {
    bool Opened = false;
    AnsiString Format;
    std::vector<TProbedStream> Streams;
    // The first stream of the type, nil when there is none.
    const TProbedStream* Find(AVMediaType AType) const;
    // The 16-bit samples of the first audio stream when it is PCM.
    std::vector<int16_t> Samples;
};

// Needs avformat and avcodec.
TProbedFile ProbeMedia(std::u16string_view AFileName, bool ACollect = false);

// The descriptors the process holds now.
long OpenDescriptors();

// The process may open only so many more descriptors while this lives.
class TDescriptorLimit {
public:
    explicit TDescriptorLimit(long AMore);
    ~TDescriptorLimit();
    TDescriptorLimit(const TDescriptorLimit&) = delete;
    TDescriptorLimit& operator=(const TDescriptorLimit&) = delete;

private:
    rlimit FSaved{};
};

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Collects what reaches the logger at ALevel while it lives, on the thread
// that logs; the logger's settings come back afterwards.
class TLogCapture {
public:
    explicit TLogCapture(TLogLevel ALevel = llInfo);
    ~TLogCapture();
    TLogCapture(const TLogCapture&) = delete;
    TLogCapture& operator=(const TLogCapture&) = delete;

    std::vector<String> Lines;
    std::vector<TLogLevel> Levels;

private:
    TLogLevel FSavedLevel;
};

// The time zone is AZone (a TZ value) while it lives.
class TTimeZone {
public:
    explicit TTimeZone(const char* AZone);
    ~TTimeZone();
    TTimeZone(const TTimeZone&) = delete;
    TTimeZone& operator=(const TTimeZone&) = delete;

private:
    AnsiString FSaved;
    bool FHadZone;
};
