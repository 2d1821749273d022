#include "media/ffmpeglogger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"

namespace {

struct TLine {
    Cardinal ThreadID;
    TLogLevel Level;
    String Text;
};

// Collects what reaches OnLog, on whatever thread raises it.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Logger = GetLogger();
        Logger->SetTriggerEventInMainThread(false);
        Logger->SetLogLevel(llInfo);
        Logger->SetOnLog([this](TObject*, Cardinal AThreadID, TLogLevel ALevel, const String& AMsg) {
            std::lock_guard guard(Lock);
            Lines.push_back({AThreadID, ALevel, AMsg});
        });
    }
    void TearDown() override {
        Logger->SetOnLog(nullptr);
        Logger->SetTriggerEventInMainThread(true);
    }
    std::vector<TLine> Taken() {
        std::lock_guard guard(Lock);
        return Lines;
    }

    TFFLogger* Logger = nullptr;
    std::mutex Lock;
    std::vector<TLine> Lines;
};

void FFLog(void* AContext, int ALevel, const char* AFormat, ...) {
    va_list args;
    va_start(args, AFormat);
    AVLogCallback(AContext, ALevel, AFormat, args);
    va_end(args);
}

const char* ItemName(void*) {
    return "mpeg4";
}

TEST(LogLevels, ConvertBothWays) {
    EXPECT_EQ(LogLevelToAV(llQuiet), -8);
    EXPECT_EQ(LogLevelToAV(llInfo), 32);
    EXPECT_EQ(LogLevelToAV(llDebug), 48);
    const struct {
        Integer av;
        TLogLevel level;
    } cases[] = {{32, llInfo}, {12, llFatal}, {100, llDebug}, {-16, llQuiet}, {-8, llQuiet}, {0, llPanic}};
    for (const auto& c : cases)
        EXPECT_EQ(AVToLogLevel(c.av), c.level) << c.av;
}

TEST_F(LoggerTest, PartialLinesWaitAndThePrefixBelongsToTheFirstPart) {
    AVClass avClass{};
    avClass.class_name = "AVCodecContext";
    avClass.item_name = ItemName;
    struct {
        const AVClass* Class;
    } context{&avClass};
    FFLog(&context, AV_LOG_INFO, "frame=%d ", 12);
    EXPECT_TRUE(Taken().empty());
    FFLog(&context, AV_LOG_INFO, "fps=%s\n", "25");
    ASSERT_EQ(Taken().size(), 1u);
    const String text = Taken()[0].Text;
    EXPECT_EQ(text.rfind(u"[mpeg4 @ 0x", 0), 0u) << StringToUTF8(text);
    EXPECT_NE(text.find(u"]frame=12 fps=25"), String::npos) << StringToUTF8(text);
    EXPECT_EQ(text.find(u"[", 1), String::npos);
}

TEST_F(LoggerTest, EachLineOfAMessageAndEmptyLines) {
    FFLog(nullptr, AV_LOG_WARNING, "one\ntwo\n");
    FFLog(nullptr, AV_LOG_ERROR, "\n");
    const auto lines = Taken();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Text, u"one");
    EXPECT_EQ(lines[1].Text, u"two");
    EXPECT_EQ(lines[1].Level, llWarning);
    EXPECT_EQ(lines[2].Text, u"");
    EXPECT_EQ(lines[2].Level, llError);
}

TEST_F(LoggerTest, LevelsAboveTheFFmpegLevelAreDropped) {
    FFLog(nullptr, AV_LOG_DEBUG, "hidden\n");
    EXPECT_TRUE(Taken().empty());
}

TEST_F(LoggerTest, LongLinesAndUtf8ArriveWhole) {
    const std::string longText(5000, 'x');
    FFLog(nullptr, AV_LOG_INFO, "%s", longText.c_str());
    FFLog(nullptr, AV_LOG_INFO, "\xE9\xAB");  // a character cut between two calls
    FFLog(nullptr, AV_LOG_INFO, "\x98\n");
    ASSERT_EQ(Taken().size(), 1u);
    EXPECT_EQ(Taken()[0].Text, UTF8ToString(longText) + u"高");
}

TEST_F(LoggerTest, ThreadsInterleavedPartByPartGiveWholeLines) {
    // Each thread logs the first half of its line, waits, then ends it.
    struct TPart {
        TEvent Started{true, false}, Finish{true, false};
        std::atomic<Cardinal> ID{0};
    } a, b;
    auto writer = [](TPart& APart, const char* AFirst, const char* ASecond) {
        return std::thread([&APart, AFirst, ASecond] {
            APart.ID = GetCurrentThreadId();
            FFLog(nullptr, AV_LOG_INFO, "%s", AFirst);
            APart.Started.SetEvent();
            APart.Finish.WaitFor(INFINITE);
            FFLog(nullptr, AV_LOG_INFO, "%s", ASecond);
        });
    };
    std::thread ta = writer(a, "a1 ", "a2\n");
    a.Started.WaitFor(INFINITE);
    std::thread tb = writer(b, "b1 ", "b2\n");
    b.Started.WaitFor(INFINITE);
    a.Finish.SetEvent();
    ta.join();
    b.Finish.SetEvent();
    tb.join();
    const auto lines = Taken();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, u"a1 a2");
    EXPECT_EQ(lines[0].ThreadID, a.ID);
    EXPECT_EQ(lines[1].Text, u"b1 b2");
    EXPECT_EQ(lines[1].ThreadID, b.ID);
}

TEST_F(LoggerTest, ComponentMessagesAreFilteredByLogLevel) {
    Logger->SetLogLevel(llError);
    Logger->Log(nullptr, llWarning, u"warning");
    Logger->Log(nullptr, llError, u"error");
    Logger->Log(nullptr, llVerbose, u"%s %d", {u"verbose", 1});
    Logger->SetLogLevel(llQuiet);
    Logger->Log(nullptr, llPanic, u"panic");
    Logger->Log(nullptr, llVerbose, u"verbose");
    const auto lines = Taken();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, u"error");
    EXPECT_EQ(lines[1].Text, u"verbose 1");
    EXPECT_EQ(lines[1].ThreadID, GetCurrentThreadId());
}

TEST_F(LoggerTest, NothingIsFormattedWithoutAHandler) {
    Logger->SetOnLog(nullptr);
    EXPECT_NO_THROW(Logger->Log(nullptr, llError, u"%d", {u"not a number"}));
}

TEST_F(LoggerTest, WorkerMessagesReachTheGuiThread) {
    Logger->SetTriggerEventInMainThread(true);
    std::atomic<bool> done{false};
    Cardinal handlerThread = 0;
    Logger->SetOnLog(
        [&](TObject*, Cardinal, TLogLevel, const String&) { handlerThread = GetCurrentThreadId(); });
    std::thread worker([&] {
        Logger->Log(nullptr, llInfo, u"from a worker");
        done = true;
    });
    while (!done)
        CheckSynchronize();
    worker.join();
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
}

TEST_F(LoggerTest, OnlyOneLoggerMayExist) {
    try {
        TFFLogger second(nullptr);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), u"Allow creating only one instance of TFFLogger.");
    }
    EXPECT_EQ(GetLogger(), Logger);
}

TEST_F(LoggerTest, LogLevelOption) {
    Logger->OptLogLevel(u"Debug");
    EXPECT_EQ(Logger->LogLevel(), llDebug);
    Logger->OptLogLevel(u"24");
    EXPECT_EQ(Logger->LogLevel(), llWarning);
    EXPECT_THROW(Logger->OptLogLevel(u"loud"), EConvertError);
}

TEST_F(LoggerTest, LevelReachesFFmpegOnlyOnceAvutilIsBound) {
    Logger->SetLogLevel(llDebug);
    EXPECT_EQ(AVLogLevel, AV_LOG_INFO);  // not applied yet: avutil is not bound
    ASSERT_TRUE(LibLoader.Load(avUtil));
    EXPECT_EQ(AVLogLevel, AV_LOG_DEBUG);
    EXPECT_EQ(avutil::av_log_get_level(), AV_LOG_DEBUG);
    Logger->SetLogLevel(llInfo);
    EXPECT_EQ(avutil::av_log_get_level(), AV_LOG_INFO);
    LibLoader.Unload(avUtil);
}

}  // namespace
