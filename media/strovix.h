// The conversion task component's unit: its time and folder routines, the
// records of its options and events, and the component that queues
// conversion tasks and runs them one after another or several at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/avutil.h>
}

#include "media/entrypoints.h"
#include "media/ffbasecomponent.h"
#include "media/ffmpeg.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"
#include "platform/base/types.h"

double LocalTimeZoneBiasDays();
// Seconds since 1970 of a local date and time (standard time).
Int64 DateTimeToUnixTime(TDateTime ADateTime);
bool FolderExists(std::u16string_view AFolder);
// Creates the folder and every missing parent.
bool CreateFolderTree(std::u16string_view AFolder);

class TBitmap;
class TObject;

// Options of one input file of a task. A field left at its reset value does
// not reach the engine.
struct TInputOptions {
    String FileName;    // filled with the file name argument when empty
    String FileFormat;  // forced input format; empty = probe
    Int64 TimeStart = AV_NOPTS_VALUE;
    Integer ProgramID = -1;
    String ExtOptions;  // further engine options as name=value lines
    Integer Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// The norms an undecidable ntAuto falls back to: ntPAL or ntNTSC.
using TOptionNormDefault = TOptionNormType;

// Metadata of an output.
struct TStreamInfo {
    // 0 = the local time now, > 0 = that local time, < 0 = none.
    TDateTime TimeStamp = -1.0;
    Integer Year = -1;
    Integer Track = -1;
    AnsiString Title;
    AnsiString Author;
    AnsiString Copyright;
    AnsiString Comment;
    AnsiString Album;
    AnsiString Genre;
};

// Options of one output file of a task; integers -1, texts empty, times the
// no-value time stamp and flags false mean not set.
struct TOutputOptions {
    String FileName;  // filled with the file name argument when empty
    String FileExt;   // carried for the caller
    String FileFormat;
    Integer PacketSize = -1;
    Integer MuxRate = -1;
    float MuxDelay = -1.0f;    // seconds
    float MuxPreload = -1.0f;  // seconds
    String AudioCodec;         // "copy" = stream copy
    String AudioPreset;
    bool DisableAudio = false;
    Integer AudioVolume = -1;  // 256 = unchanged
    Integer AudioChannels = -1;
    Integer AudioSampleRate = -1;
    Integer AudioBitrate = -1;
    Integer AudioBitRateTolerance = -1;
    String AudioLanguage;
    Integer AudioSyncMethod = 0;
    String AudioTag;  // exactly 4 characters
    String VideoCodec;
    String VideoPreset;
    bool DisableVideo = false;
    String FrameRate;         // "25", "30000/1001"
    String FrameSize;         // width x height or an abbreviation
    String FrameAspectRatio;  // width:height or a number
    Integer CropTop = -1;
    Integer CropBottom = -1;
    Integer CropLeft = -1;
    Integer CropRight = -1;
    Integer GroupPictureSize = -1;
    Integer VideoBitrate = -1;
    Integer VideoMaxRate = -1;
    Integer VideoMinRate = -1;
    Integer VideoBitRateTolerance = -1;
    Integer VideoBufSize = -1;
    Integer VideoSyncMethod = -1;
    String VideoTag;  // exactly 4 characters
    String VideoFilters;
    String VideoLanguage;
    String SubtitleCodec;
    String SubtitlePreset;
    bool DisableSubtitle = false;
    String SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    Int64 TimeStart = AV_NOPTS_VALUE;
    Int64 TimeLength = AV_NOPTS_VALUE;  // also the expected duration for progress
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;  // OnCustomHook for every video frame
    bool Join = false;        // all inputs joined one after another into this output
    String ExtOptions;
    Integer Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void ResetInputOptions(TInputOptions& AOptions);
void ResetOutputOptions(TOutputOptions& AOptions);

struct TProgressInfo {
    Integer TaskIndex;
    Integer FileIndex;  // -1 in a task's final report
    Integer FrameNumber;
    Integer FPS;
    float Quality;
    float BitRate;  // kbit/s
    Int64 CurrentSize;
    Int64 CurrentDuration;
    Int64 TotalDuration;  // -1 unknown
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    Integer TaskIndex;  // -1: the whole run ended
    bool Finished;
    bool Exception;
    String ExceptionMsg;
};

struct THookInfo {
    Integer TaskIndex;
    TBitmap* Bitmap;  // the frame, 24 bits per pixel
    Integer FrameNumber;
    Int64 PTS;
    bool Update;    // in and out: true writes the bitmap back into the frame
    bool StopHook;  // in and out: true stops the hook for this task
};
using PHookInfo = THookInfo*;

struct TPreviewInfo {
    Integer TaskIndex;
    TBitmap* Bitmap;
    Integer FrameNumber;
    Int64 PTS;
};

// The records passed by pointer belong to the component and live for the call.
using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TCustomHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;

class TAVProbe;
class TStream;

// One conversion task: an engine with a prober and the option records of
// each input, and the option records of each output. The records hold
// copies of what the caller passed and are made, reset, on first use.
class TFFmpeg : public TCustomFFmpeg {
public:
    explicit TFFmpeg(Integer AMaxFiles);
    ~TFFmpeg() override;

    Integer MaxFiles() const { return FMaxFiles; }
    // Nil when input AIndex was never added (or AIndex is out of range).
    TAVProbe* AVProbes(Integer AIndex) const;
    TInputOptions& InputOptions(Integer AIndex);
    TOutputOptions& OutputOptions(Integer AIndex);
    // Back to the reset values, when the record exists.
    void ResetInputRecord(Integer AIndex);
    void ResetOutputRecord(Integer AIndex);

    // The name=value lines of AText, by lower-cased name; the stream-making
    // names are left to the output's set-up, and the codec and frame-size
    // names are passed only with AIncludeCodecs.
    void ApplyExtOptions(const String& AText, bool AIncludeCodecs);
    // The prober of input AIndex describes the open input.
    void AdoptInput(Integer AIndex);
    // Where output AIndex's picture size or channel count follows the input
    // (the task's options give none): a size of no whole chroma samples, or
    // one the encoder cannot take, is cropped to the largest it takes; more
    // channels than the encoder takes are mixed down to the most it takes.
    // One log line says what changed.
    void AdaptToEncoders(Integer AIndex, bool ASizeGiven, bool AChannelsGiven);
    // The probers let go of the inputs: the conversion reads and closes them.
    void ReleaseInputs();
    // Seconds since 1970.
    void SetRecordingTimestamp(Int64 AValue) { Frecording_timestamp = AValue; }

private:
    std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
};

// The tasks, owned. Index errors raise EListError.
class TFFmpegList : public TObject {
public:
    ~TFFmpegList() override;

    Integer Add(std::unique_ptr<TFFmpeg> ATask);
    void Clear();
    void Delete(Integer AIndex);
    void Exchange(Integer AIndex1, Integer AIndex2);
    TFFmpeg* Items(Integer AIndex) const;
    Integer IndexOf(const TObject* ATask) const;
    Integer Count() const { return static_cast<Integer>(FList.size()); }
    void PauseAll();
    void ResumeAll();
    // Asks every task, then (AWaitFor) waits for every one.
    void StopAll(bool AWaitFor);
    void SetPreviewHook(bool AOn);
    void SetBitmapHook(bool AOn);

private:
    void CheckIndex(Integer AIndex) const;
    void SetPostHook(TPostHook AHook, bool AOn);

    std::vector<std::unique_ptr<TFFmpeg>> FList;
};

// The run's lock: re-entrant, and a wait for it on the GUI thread runs the
// calls other threads hand to the GUI thread, so a worker that holds it while
// waiting for the GUI thread (a log line, say) gets through.
class TRunLock {
public:
    void Enter();
    void Leave();

private:
    std::mutex FLock;
    std::condition_variable_any FReleased;
    std::thread::id FOwner;
    Integer FDepth = 0;
};

class TRunLockGuard {
public:
    explicit TRunLockGuard(TRunLock& ALock) : FLock(ALock) { FLock.Enter(); }
    ~TRunLockGuard() { FLock.Leave(); }
    TRunLockGuard(const TRunLockGuard&) = delete;
    TRunLockGuard& operator=(const TRunLockGuard&) = delete;

private:
    TRunLock& FLock;
};

// The converter: a list of tasks, each made from an input file and turned
// towards its outputs by option records, run one after another in the
// calling thread or up to N at once in worker threads. Every operation is
// for the GUI thread.
class TCustomStrovix : public TFFBaseComponent {
public:
    explicit TCustomStrovix(TComponent* AOwner);
    // Stops every task and waits for it; no event is raised from here on.
    ~TCustomStrovix() override;

    // The transcoder libraries, which must be loaded before a task is added.
    bool AVLibLoaded() const;
    bool LoadAVLib(const TPathFileName& APath);
    void UnloadAVLib();

    // The new task's index, or -1 with LastErrMsg. A relative file name is
    // taken from the current folder now: the task keeps it absolute.
    Integer AddTask(const String& AFileName, PInputOptions AOptions = nullptr);
    // Lines TimeStart=microseconds; every other line is an engine option.
    Integer AddTask(const String& AFileName, const String& AExtOptions);
    // The input "stream:<address>:<private data>": a protocol FFmpeg must know.
    Integer AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions);
    bool AddInputFile(Integer ATaskIndex, const String& AFileName, PInputOptions AOptions = nullptr);
    bool AddInputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
    bool SetOutputFile(Integer ATaskIndex, const String& AFileName, POutputOptions AOptions = nullptr);
    // Lines Hook or CustomHook, Join, TimeStart, TimeLength; every other line
    // is an engine option.
    bool SetOutputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
    bool SetOutputStream(Integer ATaskIndex, TStream* AStream, const String& APrivateData,
                         POutputOptions AOptions);
    void ClearTasks();
    void Exchange(Integer ATaskIndex1, Integer ATaskIndex2);
    void RemoveTask(Integer ATaskIndex);
    // AThreadCount > 0: up to that many workers at once; otherwise every task
    // converts here before Start returns. Without tasks the run ends at once.
    void Start(Integer AThreadCount);
    // Cooperative: running workers wait between packets.
    void Pause();
    void Resume();
    // No further task starts; running tasks stop, tasks that never started
    // end at once. Nothing without a run in progress. Every task is asked
    // before any is waited for.
    void Stop(bool AWaitFor);
    // Nil when that input was never added. It describes the input until the
    // run starts; the conversion reads and closes the input from then on.
    TAVProbe* GetTaskAVProbe(Integer ATaskIndex, Integer AFileIndex) const;

    const String& About() const { return FAbout; }
    void SetAbout(const String& AValue) { FAbout = AValue; }
    String Version() const { return u"3.3"; }
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    const String& LastErrMsg() const { return FLastErrMsg; }
    Integer TasksCount() const { return FFFmpegList.Count(); }
    Integer CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(Integer AValue) { FCustomMaxFiles = AValue; }
    bool Terminated() const { return FTerminated; }
    void* UserData() const { return FData; }
    void SetUserData(void* AValue) { FData = AValue; }
    Integer Verbose() const { return FVerbose; }
    void SetVerbose(Integer AValue) { FVerbose = AValue; }
    // From Start until ClearTasks, also after the run has ended.
    bool Working() const { return FWorking; }

    bool Preview() const { return FPreview; }
    void SetPreview(bool AValue);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool AValue);
    // Milliseconds; 100 at the least.
    Integer ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(Integer AValue);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority AValue) { FThreadPriority = AValue; }
    // Progress and preview events on the GUI thread (blocking the worker).
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }

    // On the converting worker; must not touch GUI objects.
    TCustomHookEvent OnCustomHook() const { return FOnCustomHook.Get(); }
    void SetOnCustomHook(TCustomHookEvent AValue) { FOnCustomHook.Set(std::move(AValue)); }
    TPreviewBitmapEvent OnPreviewBitmap() const { return FOnPreviewBitmap.Get(); }
    void SetOnPreviewBitmap(TPreviewBitmapEvent AValue) { FOnPreviewBitmap.Set(std::move(AValue)); }
    TProgressEvent OnProgress() const { return FOnProgress.Get(); }
    void SetOnProgress(TProgressEvent AValue) { FOnProgress.Set(std::move(AValue)); }
    // On the GUI thread, queued in the order raised: each task's end, then
    // the run's (TaskIndex -1). The raising thread never waits for it.
    TTerminateEvent OnTerminate() const { return FOnTerminate.Get(); }
    void SetOnTerminate(TTerminateEvent AValue) { FOnTerminate.Set(std::move(AValue)); }

protected:
    // The engines' events of every task come here.
    virtual void DoCustomHook(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                              bool& AUpdate, bool& AStopHook);
    virtual void DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);
    virtual void DoProgress(TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                            float AQuality, float ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                            Int64 ATotalDuration);
    virtual void DoTerminate(TObject* Sender);

    // Raises "Cannot %s while working.".
    void CheckNotWorking(const String& AOperation) const;

    TFFmpegList FFFmpegList;

private:
    struct TTerminateQueue;

    // Steps 4 and 5 of adding an input: false with LastErrMsg; raises what
    // an option raises.
    bool OpenInput(TFFmpeg& ATask, const String& AFileName, PInputOptions AOptions);
    bool DoSetOutputFile(TFFmpeg& ATask, const String& AFileName, POutputOptions AOptions);
    // Under FTerminateLock.
    void DoAllTerminated();
    // Takes the next task and starts it: a worker in thread mode, called
    // under FTerminateLock; otherwise converts it here, outside the lock.
    // False when no task was left.
    bool StartNextTask();
    // From any thread: the terminate goes into the queue and the GUI thread
    // is asked to deliver it.
    void QueueTerminate(const TTerminateInfo& AInfo);
    // GUI thread only, holding no lock: raises what the queue holds, in order.
    void DeliverTerminates();
    // Calls AMethod on the GUI thread when asked to, else here.
    void Raise(const std::function<void()>& AMethod);
    // The tasks keep the transcoder libraries loaded while there are any.
    void HoldLibraries();
    void ReleaseLibraries();

    String FAbout;
    String FLastErrMsg;
    void* FData = nullptr;
    Integer FCustomMaxFiles = 20;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    std::atomic<Integer> FProgressInterval{500};
    std::atomic<TThreadPriority> FThreadPriority{tpNormal};
    std::atomic<bool> FTriggerEventInMainThread{true};
    Integer FVerbose = 1;
    THookInfo FHookInfo{};
    TProgressInfo FProgressInfo{};
    TPreviewInfo FPreviewInfo{};
    // Each guards its record for the whole raise.
    TCriticalSection FHookLock;
    TCriticalSection FPreviewLock;
    TCriticalSection FProgressLock;
    // Guards the run counters; starting a task and ending one are each one
    // step under it. Nobody waits for another thread while holding it.
    TRunLock FTerminateLock;
    TGuarded<TCustomHookEvent> FOnCustomHook;
    TGuarded<TPreviewBitmapEvent> FOnPreviewBitmap;
    TGuarded<TProgressEvent> FOnProgress;
    TGuarded<TTerminateEvent> FOnTerminate;
    std::shared_ptr<TTerminateQueue> FTerminateQueue;
    std::unique_ptr<TAVProbe> FAVProbe;
    bool FHoldsLibraries = false;
    Integer FCompleteTasks = 0;
    Integer FCurrentTask = -1;
    Integer FPendingTasks = 0;
    std::atomic<bool> FTerminated{false};
    bool FThreadMode = false;
    std::atomic<bool> FWorking{false};
    std::atomic<bool> FDestroying{false};
};

class TStrovix : public TCustomStrovix {
public:
    using TCustomStrovix::TCustomStrovix;
};
