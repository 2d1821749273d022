// Shared by the media tests: the files the fixture script makes, and a test
// base that holds the prober's libraries.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "media/ffmpeglogger.h"
#include "platform/base/types.h"
#include "platform/base/ustring.h"

// The full name of a file of the test data folder (VELQUA_TEST_DATA).
String TestDataFile(std::u16string_view AName);
AnsiString TestDataPath(std::u16string_view AName);

// Runs AWork on a thread of its own, as the engine's workers do, while this
// thread, the GUI thread, serves its main-thread calls.
void OnWorker(const std::function<void()>& AWork);

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
