#include "media/strovix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "media/avprobe.h"
#include "media/ffmpegloader.h"
#include "mediatest.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"

namespace {

TEST(ResetOutputOptions, FilledRecordBecomesNotSetAgain) {
    TOutputOptions options;
    options.FileName = u"/tmp/out.mp4";
    options.AudioCodec = u"aac";
    options.AudioVolume = 256;
    options.AudioSyncMethod = 1;
    options.VideoSyncMethod = 2;
    options.DisableVideo = true;
    options.TimeLength = 5000000;
    options.Info.TimeStamp = 0;
    options.Info.Title = "标题";
    options.TargetType = ttDVD;
    options.NormType = ntNTSC;
    options.NormDefault = ntNTSC;
    options.Join = true;
    ResetOutputOptions(options);

    EXPECT_TRUE(options.FileName.empty());
    EXPECT_TRUE(options.AudioCodec.empty());
    EXPECT_EQ(options.AudioVolume, -1);
    EXPECT_EQ(options.MuxDelay, -1.0f);
    // The always-passed fields have values of their own.
    EXPECT_EQ(options.AudioSyncMethod, 0);
    EXPECT_EQ(options.VideoSyncMethod, -1);
    EXPECT_FALSE(options.DisableVideo);
    EXPECT_FALSE(options.Join);
    EXPECT_EQ(options.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(options.TimeLength, AV_NOPTS_VALUE);
    EXPECT_EQ(options.Info.TimeStamp, -1.0);
    EXPECT_EQ(options.Info.Year, -1);
    EXPECT_TRUE(options.Info.Title.empty());
    EXPECT_EQ(options.TargetType, ttIgnore);
    EXPECT_EQ(options.NormType, ntAuto);
    // An undecidable automatic norm falls back to PAL.
    EXPECT_EQ(options.NormDefault, ntPAL);
}

TEST(ResetInputOptions, FilledRecordBecomesNotSetAgain) {
    int data = 0;
    TInputOptions options{u"/tmp/in.avi", u"avi", 1000, 3, u"ss=1", 7, &data};
    ResetInputOptions(options);
    EXPECT_TRUE(options.FileName.empty());
    EXPECT_TRUE(options.FileFormat.empty());
    EXPECT_EQ(options.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(options.ProgramID, -1);
    EXPECT_TRUE(options.ExtOptions.empty());
    EXPECT_EQ(options.Tag, 0);
    EXPECT_EQ(options.Data, nullptr);
}

// --- The task component ---

std::string Text(const String& AText) {
    return StringToUTF8(AText);
}

std::vector<std::string> Texts(const std::vector<String>& ALines) {
    std::vector<std::string> texts;
    for (const String& line : ALines)
        texts.push_back(Text(line));
    return texts;
}

String TempFile(const String& AName) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "velqua-strovix";
    std::filesystem::create_directories(folder);
    return UTF8ToString(folder.string()) + u"/" + AName;
}

TEST(StrovixWithoutLibraries, AddTaskSaysWhatIsMissing) {
    TStrovix strovix(nullptr);
    ASSERT_FALSE(strovix.AVLibLoaded()) << "runs before any test loads the libraries";
    EXPECT_EQ(strovix.AddTask(TestDataFile(u"task.avi")), -1);
    EXPECT_EQ(Text(strovix.LastErrMsg()), "libav not loaded.");
}

// The component with its tasks in the open, and a look at each frame of a
// task whose output asked for the custom hook, taken before the event.
class TTestStrovix : public TStrovix {
public:
    using TStrovix::TStrovix;

    TFFmpeg& Task(Integer AIndex) { return *FFFmpegList.Items(AIndex); }
    Integer ConvertingTasks() const {
        Integer count = 0;
        for (Integer i = 0; i < FFFmpegList.Count(); ++i)
            if (FFFmpegList.Items(i)->Converting()) ++count;
        return count;
    }

    std::function<void(Integer ATaskIndex, Integer AFrameNumber)> BeforeHook;

protected:
    void DoCustomHook(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS, bool& AUpdate,
                      bool& AStopHook) override {
        if (BeforeHook) BeforeHook(FFFmpegList.IndexOf(Sender), AFrameNumber);
        TStrovix::DoCustomHook(Sender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
    }
};

struct TEnd {
    TTerminateInfo Info;
    Cardinal Thread;
};

class StrovixTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(TranscoderLibraries)) << Text(LibLoader.LastErrMsg());
        Strovix = std::make_unique<TTestStrovix>(nullptr);
        Strovix->SetVerbose(-1);
        Strovix->SetOnTerminate([this](TObject* Sender, const TTerminateInfo& AInfo) {
            EXPECT_EQ(Sender, Strovix.get());
            Ends.push_back({AInfo, GetCurrentThreadId()});
            if (AInfo.TaskIndex == -1) RunEnded.SetEvent();
            if (OnEnd) OnEnd(AInfo);
        });
    }
    void TearDown() override {
        Strovix.reset();
        WaitForSelfFreeingThreads();
        LibLoader.Unload(TranscoderLibraries);
    }

    static TOutputOptions Mpeg4Mp2() {
        TOutputOptions options;
        options.VideoCodec = u"mpeg4";
        options.AudioCodec = u"mp2";
        return options;
    }
    // A task converting the test file AInput to AOutput.
    Integer Add(const char16_t* AInput, const String& AOutput, TOutputOptions AOptions = Mpeg4Mp2()) {
        const Integer index = Strovix->AddTask(TestDataFile(AInput));
        EXPECT_GE(index, 0) << Text(Strovix->LastErrMsg());
        if (index >= 0) {
            EXPECT_TRUE(Strovix->SetOutputFile(index, AOutput, &AOptions)) << Text(Strovix->LastErrMsg());
        }
        return index;
    }
    // Runs the GUI thread's calls until the run's end has been delivered.
    void WaitForRunEnd() { ASSERT_EQ(RunEnded.WaitFor(60000), wrSignaled); }
    std::vector<Integer> EndIndexes() const {
        std::vector<Integer> indexes;
        for (const TEnd& end : Ends)
            indexes.push_back(end.Info.TaskIndex);
        return indexes;
    }
    // Every end on the GUI thread, one per task in any order, the run's last.
    void ExpectEndsOfTasks(Integer ACount) {
        std::vector<Integer> indexes = EndIndexes();
        ASSERT_EQ(indexes.size(), static_cast<size_t>(ACount + 1));
        EXPECT_EQ(indexes.back(), -1);
        const TTerminateInfo& last = Ends.back().Info;
        EXPECT_TRUE(last.Finished);
        EXPECT_FALSE(last.Exception);
        indexes.pop_back();
        std::sort(indexes.begin(), indexes.end());
        for (Integer i = 0; i < ACount; ++i)
            EXPECT_EQ(indexes[i], i);
        for (const TEnd& end : Ends)
            EXPECT_EQ(end.Thread, MainThread);
    }
    const TTerminateInfo& EndOf(Integer ATaskIndex) const {
        return std::find_if(Ends.begin(), Ends.end(),
                            [&](const TEnd& AEnd) { return AEnd.Info.TaskIndex == ATaskIndex; })
            ->Info;
    }

    const Cardinal MainThread = GetCurrentThreadId();
    std::unique_ptr<TTestStrovix> Strovix;
    std::vector<TEnd> Ends;
    std::function<void(const TTerminateInfo&)> OnEnd;
    TEvent RunEnded;
};

// Holds the current folder for a while.
class TCurrentFolder {
public:
    explicit TCurrentFolder(const String& AFolder) : FSaved(std::filesystem::current_path()) {
        std::filesystem::current_path(Text(AFolder));
    }
    ~TCurrentFolder() { std::filesystem::current_path(FSaved); }
    TCurrentFolder(const TCurrentFolder&) = delete;
    TCurrentFolder& operator=(const TCurrentFolder&) = delete;

private:
    std::filesystem::path FSaved;
};

TEST_F(StrovixTest, ThreadsRunAtMostTheirCountAtOnceAndEveryTaskEndsBeforeTheRun) {
    // The first three tasks wait for one another at their first frame, so
    // three run at once for certain; no frame sees more than three.
    std::mutex lock;
    std::condition_variable arrived;
    Integer waiting = 0, most = 0;
    std::vector<Cardinal> hookThreads;
    Strovix->BeforeHook = [&](Integer, Integer AFrameNumber) {
        std::unique_lock guard(lock);
        most = std::max(most, Strovix->ConvertingTasks());
        hookThreads.push_back(GetCurrentThreadId());
        if (AFrameNumber != 1) return;
        ++waiting;
        arrived.notify_all();
        arrived.wait_for(guard, std::chrono::seconds(30), [&] { return waiting >= 3; });
    };
    TOutputOptions options = Mpeg4Mp2();
    options.CustomHook = true;
    for (int i = 0; i < 5; ++i)
        Add(u"task.avi", TempFile(u"limit" + IntToStr(i) + u".avi"), options);
    Strovix->Start(3);
    EXPECT_TRUE(Strovix->Working());
    WaitForRunEnd();

    EXPECT_EQ(waiting, 5);
    EXPECT_EQ(most, 3);
    EXPECT_TRUE(std::none_of(hookThreads.begin(), hookThreads.end(),
                             [&](Cardinal AThread) { return AThread == MainThread; }));
    ExpectEndsOfTasks(5);
    for (Integer i = 0; i < 5; ++i) {
        EXPECT_TRUE(EndOf(i).Finished);
        EXPECT_FALSE(EndOf(i).Exception);
        const TProbedFile output = ProbeMedia(TempFile(u"limit" + IntToStr(i) + u".avi"));
        ASSERT_TRUE(output.Opened);
        EXPECT_GT(output.Find(AVMEDIA_TYPE_VIDEO)->Packets, 10);
    }
    EXPECT_TRUE(Strovix->Terminated());
    EXPECT_TRUE(Strovix->Working());
}

TEST_F(StrovixTest, WithoutThreadsEveryTaskEndsInsideStartOnTheGuiThread) {
    std::vector<std::pair<Integer, Cardinal>> finalReports;
    Strovix->SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        if (AInfo->FileIndex == -1) finalReports.emplace_back(AInfo->TaskIndex, GetCurrentThreadId());
    });
    Add(u"task.avi", TempFile(u"here0.avi"));
    Add(u"task.avi", TempFile(u"here1.avi"));
    Strovix->Start(0);
    EXPECT_EQ(EndIndexes(), (std::vector<Integer>{0, 1, -1}));
    ExpectEndsOfTasks(2);
    EXPECT_TRUE(EndOf(0).Finished && EndOf(1).Finished);
    EXPECT_EQ(finalReports, (std::vector<std::pair<Integer, Cardinal>>{{0, MainThread}, {1, MainThread}}));
    EXPECT_TRUE(Strovix->Terminated());
}

TEST_F(StrovixTest, StartWithoutTasksEndsTheRunAtOnce) {
    Strovix->Start(2);
    EXPECT_EQ(EndIndexes(), std::vector<Integer>{-1});
    EXPECT_TRUE(Strovix->Working());
    EXPECT_TRUE(Strovix->Terminated());
    Strovix->ClearTasks();
    EXPECT_FALSE(Strovix->Working());
}

TEST_F(StrovixTest, StopWithoutARunEndsNothing) {
    Add(u"task.avi", TempFile(u"idle.avi"));
    Strovix->Stop(true);
    Strovix->Stop(false);
    while (CheckSynchronize()) {
    }
    EXPECT_TRUE(Ends.empty());
    Strovix->Start(0);
    ExpectEndsOfTasks(1);
    EXPECT_TRUE(EndOf(0).Finished);
}

TEST_F(StrovixTest, TaskOperationsAreRefusedFromStartUntilClearTasks) {
    // The only task waits in its first frame until the refusals are checked.
    TEvent release;
    Strovix->SetOnCustomHook([&](TObject*, PHookInfo) { release.WaitFor(30000); });
    TOutputOptions options = Mpeg4Mp2();
    options.CustomHook = true;
    Add(u"task.avi", TempFile(u"refused.avi"), options);
    Strovix->Start(1);

    const String file = TestDataFile(u"task.avi");
    const struct {
        const char* Operation;
        std::function<void()> Call;
    } operations[] = {
        {"AddTask", [&] { Strovix->AddTask(file); }},
        {"AddInputFile", [&] { Strovix->AddInputFile(0, file); }},
        {"SetOutputFile", [&] { Strovix->SetOutputFile(0, TempFile(u"more.avi")); }},
        {"Exchange", [&] { Strovix->Exchange(0, 0); }},
        {"RemoveTask", [&] { Strovix->RemoveTask(0); }},
        {"StartTask", [&] { Strovix->Start(1); }},
    };
    const auto expectRefusals = [&] {
        for (const auto& operation : operations) {
            try {
                operation.Call();
                ADD_FAILURE() << operation.Operation << " was not refused";
            } catch (const Exception& e) {
                EXPECT_EQ(Text(e.Message()),
                          "Cannot " + std::string(operation.Operation) + " while working.");
            }
        }
    };
    expectRefusals();
    try {
        Strovix->ClearTasks();
        ADD_FAILURE() << "ClearTasks was not refused";
    } catch (const Exception& e) {
        EXPECT_EQ(Text(e.Message()), "Cannot ClearTasks while working.");
    }
    EXPECT_EQ(Strovix->TasksCount(), 1);

    release.SetEvent();
    WaitForRunEnd();
    // Still working after the run's end, until the list is cleared.
    expectRefusals();
    Strovix->ClearTasks();
    EXPECT_EQ(Strovix->TasksCount(), 0);
    EXPECT_FALSE(Strovix->Working());
    EXPECT_FALSE(Strovix->Terminated());
    EXPECT_GE(Add(u"task.avi", TempFile(u"again.avi")), 0);
}

TEST_F(StrovixTest, ExtraAudioStreamTakesThePendingCodecLine) {
    TOutputOptions options;
    options.VideoCodec = u"mpeg4";
    options.ExtOptions = u"ACodec=mp2<CRLF>NewAudio=";
    const String output = TempFile(u"twoaudio.avi");
    Add(u"task.avi", output, options);
    Strovix->Start(0);
    ASSERT_TRUE(EndOf(0).Finished) << Text(EndOf(0).ExceptionMsg);
    const TProbedFile probed = ProbeMedia(output);
    ASSERT_TRUE(probed.Opened);
    std::vector<AnsiString> audio;
    for (const TProbedStream& stream : probed.Streams)
        if (stream.Type == AVMEDIA_TYPE_AUDIO) audio.push_back(stream.Codec);
    EXPECT_EQ(audio, (std::vector<AnsiString>{"mp2", "mp2"}));
}

TEST_F(StrovixTest, FailedAddsAndOutputsTellWhy) {
    TOutputOptions dvd;
    dvd.TargetType = ttDVD;
    TOutputOptions shortTag;
    shortTag.AudioTag = u"abc";
    const struct {
        const char16_t* Input;
        Integer MaxFiles;
        const TOutputOptions* Output;  // nil: the input is refused
        bool SecondOutput;
        const char* Message;
    } cases[] = {
        // The automatic norm needs a frame rate, and the preset comes before the record's own.
        {u"tone.wav", 20, &dvd, false, "frame_rate is invalid."},
        {u"task.avi", 20, &shortTag, false, "audio tag parameter must be 4 chars"},
        {u"task.avi", 1, nullptr, true, "max output files 1 reached"},
        {u"missing.avi", 20, nullptr, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.Input));
        Strovix->SetCustomMaxFiles(c.MaxFiles);
        const Integer index = Strovix->AddTask(TestDataFile(c.Input));
        if (!c.Message) {
            EXPECT_EQ(index, -1);
            EXPECT_NE(Strovix->LastErrMsg().find(TestDataFile(c.Input)), String::npos)
                << Text(Strovix->LastErrMsg());
            continue;
        }
        ASSERT_GE(index, 0) << Text(Strovix->LastErrMsg());
        TOutputOptions options = c.Output ? *c.Output : TOutputOptions{};
        if (c.SecondOutput) {
            ASSERT_TRUE(Strovix->SetOutputFile(index, TempFile(u"first.avi"), &options));
        }
        EXPECT_FALSE(Strovix->SetOutputFile(index, TempFile(u"failed.mpg"), &options));
        EXPECT_EQ(Text(Strovix->LastErrMsg()), c.Message);
    }
    Strovix->SetCustomMaxFiles(1);
    const Integer index = Strovix->AddTask(TestDataFile(u"task.avi"));
    EXPECT_FALSE(Strovix->AddInputFile(index, TestDataFile(u"task.avi")));
    EXPECT_EQ(Text(Strovix->LastErrMsg()), "max input files 1 reached");
    // A stream input needs a protocol FFmpeg does not have.
    EXPECT_EQ(Strovix->AddTask(nullptr, u"data", nullptr), -1);
    EXPECT_NE(Strovix->LastErrMsg().find(u"stream:0:data"), String::npos) << Text(Strovix->LastErrMsg());
}

TEST_F(StrovixTest, ProgressIntervalIsAtLeast100) {
    for (const auto& [set, read] : {std::pair{50, 100}, {100, 100}, {250, 250}}) {
        Strovix->SetProgressInterval(set);
        EXPECT_EQ(Strovix->ProgressInterval(), read);
    }
}

TEST_F(StrovixTest, RemoveTaskMovesLaterTasksUp) {
    const String outputs[] = {TempFile(u"removed.avi"), TempFile(u"kept1.avi"), TempFile(u"kept2.avi")};
    Add(u"task.avi", outputs[0]);
    Add(u"short.avi", outputs[1]);
    Add(u"task.avi", outputs[2]);
    Strovix->RemoveTask(0);
    EXPECT_THROW(Strovix->RemoveTask(2), EListError);
    ASSERT_EQ(Strovix->TasksCount(), 2);
    EXPECT_EQ(Strovix->GetTaskAVProbe(0, 0)->FileName(), ExpandFileName(TestDataFile(u"short.avi")));
    EXPECT_EQ(Strovix->GetTaskAVProbe(0, 1), nullptr);
    // The removed task's output never got anything: it is gone with the task.
    EXPECT_FALSE(FileExists(outputs[0]));

    std::vector<Integer> reported;
    Strovix->SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        if (AInfo->FileIndex == -1) reported.push_back(AInfo->TaskIndex);
    });
    Strovix->Start(0);
    EXPECT_EQ(EndIndexes(), (std::vector<Integer>{0, 1, -1}));
    EXPECT_EQ(reported, (std::vector<Integer>{0, 1}));
    // short.avi lasts a second, task.avi half of one.
    EXPECT_GT(ProbeMedia(outputs[1]).Find(AVMEDIA_TYPE_VIDEO)->Packets, 20);
    EXPECT_LT(ProbeMedia(outputs[2]).Find(AVMEDIA_TYPE_VIDEO)->Packets, 15);
}

TEST_F(StrovixTest, CorruptInputEndsOnlyItsOwnTask) {
    Add(u"task.avi", TempFile(u"good0.avi"));
    // Exit on error: a picture that cannot be decoded ends the conversion.
    const Integer damaged = Strovix->AddTask(TestDataFile(u"damaged.mkv"), u"xerror=1");
    ASSERT_GE(damaged, 0) << Text(Strovix->LastErrMsg());
    TOutputOptions options = Mpeg4Mp2();
    ASSERT_TRUE(Strovix->SetOutputFile(damaged, TempFile(u"damaged.avi"), &options));
    Add(u"task.avi", TempFile(u"good2.avi"));
    Strovix->Start(2);
    WaitForRunEnd();

    ExpectEndsOfTasks(3);
    EXPECT_TRUE(EndOf(damaged).Exception);
    EXPECT_FALSE(EndOf(damaged).Finished);
    EXPECT_EQ(Text(EndOf(damaged).ExceptionMsg), "Error while decoding stream #0.0 (Video)");
    for (Integer good : {0, 2}) {
        EXPECT_TRUE(EndOf(good).Finished);
        EXPECT_FALSE(EndOf(good).Exception);
    }
}

TEST_F(StrovixTest, StopDuringARunLeavesEveryFinishedOutputWhole) {
    constexpr Integer kTasks = 5;
    // Every task but the first waits in its first picture until the stop has
    // been asked for: task 0 finishes, 1 and 2 are stopped, 3 and 4 never start.
    TEvent stopAsked;
    Strovix->BeforeHook = [&](Integer ATaskIndex, Integer AFrameNumber) {
        if (ATaskIndex > 0 && AFrameNumber == 1) stopAsked.WaitFor(30000);
    };
    TOutputOptions options = Mpeg4Mp2();
    options.CustomHook = true;
    for (Integer i = 0; i < kTasks; ++i)
        Add(u"task.avi", TempFile(u"stop" + IntToStr(i) + u".avi"), options);
    OnEnd = [&](const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex != 0) return;
        Strovix->Stop(false);
        stopAsked.SetEvent();
        // Waits, from a handler, for the stopped workers and for the ends of
        // the tasks that never started, which need the run's lock.
        Strovix->Stop(true);
    };
    Strovix->Start(2);
    WaitForRunEnd();

    ExpectEndsOfTasks(kTasks);
    EXPECT_TRUE(EndOf(0).Finished);
    const TProbedFile whole = ProbeMedia(TempFile(u"stop0.avi"));
    ASSERT_TRUE(whole.Opened);
    EXPECT_EQ(whole.Find(AVMEDIA_TYPE_VIDEO)->Packets,
              ProbeMedia(TestDataFile(u"task.avi")).Find(AVMEDIA_TYPE_VIDEO)->Packets);
    for (Integer i = 1; i < kTasks; ++i) {
        EXPECT_FALSE(EndOf(i).Finished) << i;
        EXPECT_FALSE(EndOf(i).Exception) << Text(EndOf(i).ExceptionMsg);
    }
    for (Integer stopped : {1, 2})
        EXPECT_TRUE(ProbeMedia(TempFile(u"stop" + IntToStr(stopped) + u".avi")).Opened) << stopped;
    Strovix->ClearTasks();
    // Outputs that never got anything go with their tasks.
    EXPECT_TRUE(FileExists(TempFile(u"stop0.avi")));
    EXPECT_FALSE(FileExists(TempFile(u"stop3.avi")));
}

TEST_F(StrovixTest, StopGetsThroughToAWorkerWaitingForTheGuiThreadAsItStartsATask) {
    Add(u"task.avi", TempFile(u"beforefailing.avi"));
    // No output: the task fails as it starts, and the failure is logged by
    // the worker that ended task 0 while it holds the run's lock.
    ASSERT_GE(Strovix->AddTask(TestDataFile(u"task.avi")), 0);
    TLogCapture capture(llError);
    TEvent holding;
    GetLogger()->SetOnLog([&](TObject*, Cardinal, TLogLevel, const String& AMessage) {
        if (IsMainThread() || AMessage != u"At least one output file must be specified") return;
        holding.SetEvent();
        Synchronize([] {});
    });
    Strovix->Start(1);
    ASSERT_EQ(holding.WaitFor(30000), wrSignaled);
    Strovix->Stop(false);
    WaitForRunEnd();
    ExpectEndsOfTasks(2);
    EXPECT_TRUE(EndOf(0).Finished);
    EXPECT_TRUE(EndOf(1).Exception);
    EXPECT_EQ(Text(EndOf(1).ExceptionMsg), "At least one output file must be specified");
}

// Handlers may raise anything, not only the library's exceptions: the task
// ends with the message, the other task and the run go on, and the list can
// be cleared and used again.
TEST_F(StrovixTest, AnyExceptionOfAHandlerEndsOnlyItsTask) {
    const struct {
        const char* Handler;
        std::function<void(TTestStrovix&)> Raise;
    } cases[] = {
        {"progress",
         [](TTestStrovix& AStrovix) {
             AStrovix.SetOnProgress([](TObject*, PProgressInfo AInfo) {
                 if (AInfo->TaskIndex == 0) throw std::runtime_error("handler failed");
             });
         }},
        {"preview bitmap",
         [](TTestStrovix& AStrovix) {
             AStrovix.SetPreviewBitmap(true);
             AStrovix.SetOnPreviewBitmap([](TObject*, const TPreviewInfo& AInfo) {
                 if (AInfo.TaskIndex == 0) throw std::runtime_error("handler failed");
             });
         }},
        {"custom hook",
         [](TTestStrovix& AStrovix) {
             AStrovix.SetOnCustomHook([](TObject*, PHookInfo AInfo) {
                 if (AInfo->TaskIndex == 0 && AInfo->FrameNumber == 3)
                     throw std::runtime_error("handler failed");
             });
         }},
        {"log",
         [](TTestStrovix& AStrovix) {
             AStrovix.SetVerbose(1);
             GetLogger()->SetOnLog([&AStrovix](TObject* Sender, Cardinal, TLogLevel, const String&) {
                 if (Sender == &AStrovix.Task(0)) throw std::runtime_error("handler failed");
             });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Handler);
        TearDown();
        Ends.clear();
        RunEnded.ResetEvent();
        SetUp();
        c.Raise(*Strovix);
        TOutputOptions options = Mpeg4Mp2();
        options.CustomHook = true;
        Add(u"task.avi", TempFile(u"raising0.avi"), options);
        Add(u"task.avi", TempFile(u"raising1.avi"), options);
        Strovix->Start(2);
        WaitForRunEnd();
        GetLogger()->SetOnLog(nullptr);
        ExpectEndsOfTasks(2);
        EXPECT_TRUE(EndOf(0).Exception);
        EXPECT_FALSE(EndOf(0).Finished);
        EXPECT_EQ(Text(EndOf(0).ExceptionMsg), "handler failed");
        EXPECT_TRUE(EndOf(1).Finished) << Text(EndOf(1).ExceptionMsg);
        Strovix->ClearTasks();
        EXPECT_FALSE(Strovix->Working());
    }
}

// A stop reaches every running task before it waits for any: here the first
// task can end only once the second, paused until it is asked, has ended.
TEST_F(StrovixTest, StopAsksEveryTaskBeforeWaitingForOne) {
    std::mutex lock;
    std::condition_variable arrived;
    Integer waiting = 0;
    TEvent release, secondEnded;
    bool timedOut = false;
    Strovix->BeforeHook = [&](Integer ATaskIndex, Integer AFrameNumber) {
        if (AFrameNumber == 1) {
            std::unique_lock guard(lock);
            ++waiting;
            arrived.notify_all();
            guard.unlock();
            release.WaitFor(30000);
        } else if (ATaskIndex == 0 && AFrameNumber == 2) {
            timedOut = secondEnded.WaitFor(30000) != wrSignaled;
        }
    };
    OnEnd = [&](const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == 1) secondEnded.SetEvent();
    };
    TOutputOptions options = Mpeg4Mp2();
    options.CustomHook = true;
    Add(u"task.avi", TempFile(u"together0.avi"), options);
    Add(u"task.avi", TempFile(u"together1.avi"), options);
    Strovix->Start(2);
    {
        std::unique_lock guard(lock);
        ASSERT_TRUE(arrived.wait_for(guard, std::chrono::seconds(30), [&] { return waiting == 2; }));
    }
    // The second task waits between its packets from now on.
    Strovix->Task(1).Pause();
    release.SetEvent();
    Strovix->Stop(true);
    EXPECT_FALSE(timedOut) << "the second task was asked only after the first had ended";
    WaitForRunEnd();
    ExpectEndsOfTasks(2);
    for (Integer i = 0; i < 2; ++i)
        EXPECT_FALSE(EndOf(i).Finished) << i;
}

TEST_F(StrovixTest, AnExistingFileKeepsItsBytesUntilItsTaskConverts) {
    const String output = TempFile(u"earlier.avi");
    const std::string earlier(1075284 / 64, 'e');
    std::ofstream(Text(output), std::ios::binary | std::ios::trunc) << earlier;
    const auto bytes = [&] {
        std::ifstream file(Text(output), std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    };
    Add(u"task.avi", output);
    EXPECT_EQ(bytes(), earlier) << "the task was added";
    Strovix->RemoveTask(0);
    EXPECT_EQ(bytes(), earlier) << "the task was removed";
    Add(u"task.avi", output);
    Strovix->ClearTasks();
    EXPECT_EQ(bytes(), earlier) << "the tasks were cleared";

    Add(u"task.avi", output);
    Strovix->Start(0);
    ASSERT_TRUE(EndOf(0).Finished) << Text(EndOf(0).ExceptionMsg);
    EXPECT_NE(bytes(), earlier);
    EXPECT_GT(ProbeMedia(output).Find(AVMEDIA_TYPE_VIDEO)->Packets, 10);
}

TEST_F(StrovixTest, ARefusedInputSaysWhy) {
    EXPECT_EQ(Strovix->AddTask(TestDataFile(u"truncated.mp4")), -1);
    EXPECT_EQ(Strovix->LastErrMsg(), ExpandFileName(TestDataFile(u"truncated.mp4")) +
                                         u": Invalid data found when processing input (moov atom not found)");
}

// What libx264 alone takes as these names mean, through the option text and
// through a preset file, shows in the settings it writes into the stream.
TEST_F(StrovixTest, Libx264TakesItsOwnPresetTuneAndProfile) {
    const struct {
        const char16_t* Line;
        const char* Setting;  // in the encoder's settings, nil: none to see
    } cases[] = {
        {u"preset=medium", "subme=7"}, {u"preset=ultrafast", "subme=0"}, {u"tune=film", "deblock=1:-1:-1"},
        {u"profile=high", nullptr},    {u"profile=baseline", "cabac=0"},
    };
    const String preset = TempFile(u"lines.ffpreset");
    TLogCapture log(llError);
    for (const auto& c : cases) {
        for (const bool fromFile : {false, true}) {
            SCOPED_TRACE(Text(c.Line) + (fromFile ? " from a preset file" : " as an option"));
            TOutputOptions options;
            options.VideoCodec = u"libx264";
            options.AudioCodec = u"aac";
            if (fromFile) {
                std::ofstream(Text(preset), std::ios::trunc) << Text(c.Line) << "\n";
                options.VideoPreset = preset;
            } else {
                options.ExtOptions = c.Line;
            }
            const String output = TempFile(u"x264.mp4");
            const Integer index = Add(u"task.avi", output, options);
            Strovix->Start(0);
            ASSERT_TRUE(EndOf(index).Finished) << Text(EndOf(index).ExceptionMsg);
            Strovix->ClearTasks();
            Ends.clear();
            const TProbedFile probed = ProbeMedia(output, true);
            const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
            ASSERT_NE(video, nullptr);
            ASSERT_FALSE(video->Data.empty());
            const std::string first(video->Data[0].begin(), video->Data[0].end());
            ASSERT_NE(first.find("x264 - core"), std::string::npos);
            if (c.Setting) {
                EXPECT_NE(first.find(c.Setting), std::string::npos) << c.Setting;
            }
        }
    }
    for (const String& line : log.Lines)
        EXPECT_EQ(line.find(u"Invalid value"), String::npos) << Text(line);
}

// The size and the channels left to the input must suit each encoder: a
// 321 x 241 clip with six channels converts to every format the program
// offers, cropped to what the encoder takes and mixed down to the most
// channels it takes.
TEST_F(StrovixTest, AShapeTheEncoderRefusesIsAdaptedWhenTheTaskLeavesItToTheInput) {
    using TLines = std::vector<const char16_t*>;
    const struct {
        const char16_t* File;
        TLines Options;
        Integer Width, Height;  // 0: no video
        Integer Channels;
    } cases[] = {
        {u"xvid.avi", {u"vcodec=mpeg4", u"vtag=XVID", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"dx50.avi", {u"vcodec=mpeg4", u"vtag=DX50", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"libxvid.avi", {u"vcodec=libxvid", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"h264.avi", {u"vcodec=libx264", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"wmv2.avi", {u"vcodec=wmv2", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"msmpeg4v2.avi", {u"vcodec=msmpeg4v2", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"msmpeg4.avi", {u"vcodec=msmpeg4", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"aac.mp4", {u"vcodec=mpeg4", u"acodec=aac"}, 320, 240, 6},
        {u"h264.mp4", {u"vcodec=libx264", u"acodec=aac"}, 320, 240, 6},
        {u"mov.mov", {u"acodec=aac"}, 320, 240, 6},
        {u"h264.mkv", {u"vcodec=libx264", u"acodec=libmp3lame"}, 320, 240, 2},
        {u"mpeg1.mpg", {u"vcodec=mpeg1video", u"ar=44100"}, 320, 240, 2},
        {u"ac3.mpg", {u"vcodec=mpeg2video", u"acodec=ac3", u"ar=48000"}, 320, 240, 6},
        {u"msmpeg4.asf", {u"vcodec=msmpeg4", u"acodec=wmav2"}, 320, 240, 2},
        {u"wmv2.wmv", {u"vcodec=wmv2", u"acodec=wmav2"}, 320, 240, 2},
        {u"small.3gp", {u"vcodec=mpeg4", u"acodec=aac"}, 320, 240, 6},
        {u"rv20.rm", {u"vcodec=rv20"}, 320, 240, 6},
        {u"flash.flv", {u"acodec=libmp3lame", u"ar=22050"}, 320, 240, 2},
        {u"audio.mp3", {u"vn=1", u"acodec=libmp3lame"}, 0, 0, 2},
        {u"audio.wma", {u"vn=1", u"acodec=wmav2"}, 0, 0, 2},
        {u"audio.wav", {u"vn=1"}, 0, 0, 6},
        {u"audio.ogg", {u"vn=1", u"acodec=libvorbis"}, 0, 0, 6},
        {u"audio.ac3", {u"vn=1", u"acodec=ac3"}, 0, 0, 6},
        {u"audio.mp2", {u"vn=1", u"ar=44100"}, 0, 0, 2},
        {u"audio.flac", {u"vn=1", u"acodec=flac"}, 0, 0, 6},
    };
    TLogCapture log(llInfo);
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.File));
        TOutputOptions options;
        for (const char16_t* line : c.Options)
            options.ExtOptions += String(options.ExtOptions.empty() ? u"" : u"\n") + line;
        const String output = TempFile(c.File);
        const Integer index = Strovix->AddTask(TestDataFile(u"odd6.mkv"));
        ASSERT_GE(index, 0) << Text(Strovix->LastErrMsg());
        ASSERT_TRUE(Strovix->SetOutputFile(index, output, &options)) << Text(Strovix->LastErrMsg());
        Strovix->Start(0);
        EXPECT_TRUE(EndOf(index).Finished) << Text(EndOf(index).ExceptionMsg);
        Strovix->ClearTasks();
        Ends.clear();
        const TProbedFile probed = ProbeMedia(output);
        ASSERT_TRUE(probed.Opened);
        const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
        const TProbedStream* audio = probed.Find(AVMEDIA_TYPE_AUDIO);
        ASSERT_EQ(video != nullptr, c.Width != 0);
        if (video) {
            EXPECT_EQ(video->Width, c.Width);
            EXPECT_EQ(video->Height, c.Height);
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Channels, c.Channels);
    }
    // One line for each change, none for what stayed.
    EXPECT_THAT(
        Texts(log.Lines),
        ::testing::Contains("Output #0, stream #0: libx264: the picture of 321x241 is cropped to 320x240 "
                            "for the encoder"));
    EXPECT_THAT(
        Texts(log.Lines),
        ::testing::Contains("Output #0, stream #1: wmav2: 6 channels are mixed down to 2 for the encoder"));
}

// What the task's options give stays as given.
TEST_F(StrovixTest, AShapeTheTaskGivesIsLeftToTheEngine) {
    TOutputOptions options;
    options.VideoCodec = u"libx264";
    options.AudioCodec = u"wmav2";
    options.AudioChannels = 6;
    const Integer index = Strovix->AddTask(TestDataFile(u"odd6.mkv"));
    ASSERT_TRUE(Strovix->SetOutputFile(index, TempFile(u"given.mkv"), &options));
    Strovix->Start(0);
    EXPECT_TRUE(EndOf(index).Exception);
    EXPECT_THAT(Text(EndOf(index).ExceptionMsg), ::testing::HasSubstr("too many channels"));
}

TEST_F(StrovixTest, DestroyedComponentRaisesNothingMore) {
    for (Integer i = 0; i < 3; ++i)
        Add(u"task.avi", TempFile(u"destroyed" + IntToStr(i) + u".avi"));
    bool destroyed = false;
    OnEnd = [&](const TTerminateInfo&) { EXPECT_FALSE(destroyed); };
    Strovix->SetOnProgress([&](TObject*, PProgressInfo) { EXPECT_FALSE(destroyed); });
    Strovix->Start(2);
    destroyed = true;
    Strovix.reset();
    WaitForSelfFreeingThreads();
    while (CheckSynchronize()) {
    }
}

TEST_F(StrovixTest, CustomHookRunsOnTheWorkerUntilTheHandlerStopsIt) {
    std::vector<Integer> frames;
    std::vector<Cardinal> threads;
    Strovix->SetOnCustomHook([&](TObject* Sender, PHookInfo AInfo) {
        EXPECT_EQ(Sender, Strovix.get());
        EXPECT_EQ(AInfo->TaskIndex, 0);
        EXPECT_EQ(AInfo->Bitmap->Width(), 160);
        frames.push_back(AInfo->FrameNumber);
        threads.push_back(GetCurrentThreadId());
        AInfo->Update = false;
        AInfo->StopHook = frames.size() == 3;
    });
    Add(u"task.avi", TempFile(u"hooked.avi"), [] {
        TOutputOptions options = Mpeg4Mp2();
        options.CustomHook = true;
        return options;
    }());
    Strovix->Start(1);
    WaitForRunEnd();
    EXPECT_EQ(frames, (std::vector<Integer>{1, 2, 3}));
    EXPECT_TRUE(std::none_of(threads.begin(), threads.end(),
                             [&](Cardinal AThread) { return AThread == MainThread; }));
    EXPECT_TRUE(EndOf(0).Finished);
}

TEST_F(StrovixTest, PreviewSettingsReachExistingAndLaterTasks) {
    Add(u"task.avi", TempFile(u"preview0.avi"));
    Strovix->SetPreview(true);
    Strovix->SetPreviewBitmap(true);
    Add(u"task.avi", TempFile(u"preview1.avi"));
    for (Integer i = 0; i < 2; ++i)
        EXPECT_TRUE(Strovix->Task(i).PostHooks() == (TPostHooks{phPreview, phBitmap}));
    Strovix->SetPreview(false);
    for (Integer i = 0; i < 2; ++i)
        EXPECT_TRUE(Strovix->Task(i).PostHooks() == TPostHooks{phBitmap});
}

TEST_F(StrovixTest, OptionTextsFillTheRecords) {
    const Integer index = Strovix->AddTask(TestDataFile(u"task.avi"), u"TimeStart=200000<CRLF>ss=0");
    ASSERT_GE(index, 0) << Text(Strovix->LastErrMsg());
    EXPECT_EQ(Strovix->Task(index).InputOptions(0).TimeStart, 200000);
    EXPECT_EQ(Text(Strovix->Task(index).InputOptions(0).ExtOptions), "ss=0");
    EXPECT_EQ(Strovix->Task(index).InputOptions(0).FileName, TestDataFile(u"task.avi"));
    ASSERT_TRUE(Strovix->SetOutputFile(index, TempFile(u"texts.avi"),
                                       u"Hook=0\r\nJOIN\nTimeLength=soon\rTimeLength=300000\nvcodec=mpeg4"));
    const TOutputOptions& output = Strovix->Task(index).OutputOptions(0);
    EXPECT_TRUE(output.CustomHook);
    EXPECT_TRUE(output.Join);
    EXPECT_EQ(output.TimeLength, 300000);
    EXPECT_EQ(Text(output.ExtOptions), "vcodec=mpeg4");
    EXPECT_EQ(Strovix->Task(index).TotalOutputDuration(), 300000);
}

TEST_F(StrovixTest, RelativeNamesAreFixedWhenGiven) {
    const String first = TempFile(u"first-folder"), second = TempFile(u"second-folder");
    ForceDirectories(first);
    ForceDirectories(second);
    Integer index;
    {
        TCurrentFolder folder(ExtractFileDir(TestDataFile(u"task.avi")));
        index = Strovix->AddTask(u"task.avi");
        ASSERT_GE(index, 0) << Text(Strovix->LastErrMsg());
    }
    EXPECT_EQ(Strovix->GetTaskAVProbe(index, 0)->FileName(), ExpandFileName(TestDataFile(u"task.avi")));
    std::filesystem::remove(Text(first + u"/relative.avi"));
    {
        TCurrentFolder folder(first);
        ASSERT_TRUE(Strovix->SetOutputFile(index, u"relative.avi"));
    }
    EXPECT_FALSE(FileExists(first + u"/relative.avi")) << "written before the run";
    // Another folder holds an empty file of the same name: the run, started
    // from there, writes into the first folder and leaves that file alone.
    TCurrentFolder folder(second);
    std::ofstream(Text(second + u"/relative.avi")).close();
    Strovix->Start(0);
    ASSERT_TRUE(EndOf(index).Finished) << Text(EndOf(index).ExceptionMsg);
    EXPECT_TRUE(ProbeMedia(first + u"/relative.avi").Opened);
    EXPECT_EQ(FileSizeByName(second + u"/relative.avi"), 0);
}

// A waiting task holds no descriptor: with room for a dozen more, a hundred
// tasks are added and set up, and they still convert.
TEST_F(StrovixTest, WaitingTasksHoldNoDescriptor) {
    // The first one makes what stays for good (the GUI thread's wake-up).
    ASSERT_EQ(Add(u"interleaved.mp4", TempFile(u"waiting0.avi")), 0);
    const long before = OpenDescriptors();
    TDescriptorLimit limit(12);
    constexpr Integer kTasks = 100;
    for (Integer i = 1; i < kTasks; ++i)
        ASSERT_EQ(Add(u"interleaved.mp4", TempFile(Format(u"waiting%d.avi", {i}))), i);
    EXPECT_EQ(OpenDescriptors(), before);
    while (Strovix->TasksCount() > 3)
        Strovix->RemoveTask(0);
    Strovix->Start(2);
    WaitForRunEnd();
    ExpectEndsOfTasks(3);
    for (Integer i = 0; i < 3; ++i)
        EXPECT_TRUE(EndOf(i).Finished) << Text(EndOf(i).ExceptionMsg);
    EXPECT_GT(ProbeMedia(TempFile(u"waiting99.avi")).Find(AVMEDIA_TYPE_AUDIO)->Packets, 10);
    EXPECT_EQ(OpenDescriptors(), before);
}

// An input that went away while its task waited ends that task, naming the
// file, with no output left behind; the other tasks convert.
TEST_F(StrovixTest, AnInputGoneBeforeItsTurnEndsItsTaskNamingTheFile) {
    const String gone = TempFile(u"gone.avi");
    std::filesystem::copy_file(TestDataPath(u"task.avi"), Text(gone),
                               std::filesystem::copy_options::overwrite_existing);
    const String output = TempFile(u"gone-output.avi");
    std::filesystem::remove(Text(output));
    ASSERT_EQ(Strovix->AddTask(gone), 0) << Text(Strovix->LastErrMsg());
    TOutputOptions options = Mpeg4Mp2();
    ASSERT_TRUE(Strovix->SetOutputFile(0, output, &options)) << Text(Strovix->LastErrMsg());
    Add(u"task.avi", TempFile(u"after-gone.avi"));
    std::filesystem::remove(Text(gone));
    Strovix->Start(0);

    ExpectEndsOfTasks(2);
    EXPECT_TRUE(EndOf(0).Exception);
    EXPECT_FALSE(EndOf(0).Finished);
    EXPECT_EQ(Text(EndOf(0).ExceptionMsg), Text(gone + u": No such file or directory"));
    EXPECT_FALSE(FileExists(output));
    EXPECT_TRUE(EndOf(1).Finished) << Text(EndOf(1).ExceptionMsg);
}

}  // namespace
