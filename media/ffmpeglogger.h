// The one log component: FFmpeg's own log lines and the components' messages
// reach its OnLog event, by default on the GUI thread.
#pragma once

#include <atomic>
#include <cstdarg>
#include <exception>
#include <functional>
#include <mutex>

#include "media/ffbasecomponent.h"

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// ordinal * 8 - 8: llQuiet -8, llPanic 0, ..., llDebug 48.
Integer LogLevelToAV(TLogLevel ALevel);
// The FFmpeg level div 8 + 1, clamped to llQuiet..llDebug.
TLogLevel AVToLogLevel(Integer AAVLevel);

using TLogEvent =
    std::function<void(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg)>;

struct TLogInfo {
    TObject* Sender;
    Cardinal ThreadID;
    TLogLevel LogLevel;
    String LogMsg;
};

// FFmpeg messages above this level (FFmpeg's scale) are dropped unformatted.
extern std::atomic<Integer> AVLogLevel;

class TFFLogger : public TFFBaseComponent {
public:
    // Only one logger may exist: a second one fails the assertion
    // "Allow creating only one instance of TFFLogger.".
    explicit TFFLogger(TComponent* AOwner);
    ~TFFLogger() override;

    TLogLevel LogLevel() const { return FLogLevel; }
    void SetLogLevel(TLogLevel AValue);
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    TLogEvent OnLog() const;
    void SetOnLog(TLogEvent AValue);

    // Routes FFmpeg's log output here; avutil must be bound.
    void InstallAVLogCallback();
    void ApplyLogLevel();
    // The engine's "loglevel" option: a level name or a number on FFmpeg's scale.
    void OptLogLevel(const String& AArg);

    void Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
    // Formats only when the message passes the filter.
    void Log(TObject* Sender, TLogLevel ALogLevel, std::u16string_view AFormat, TVarRecs AArgs);
    // One whole FFmpeg line; filtered already by AVLogLevel.
    void EmitAVLog(Cardinal AThreadID, Integer AAVLevel, const String& ALine);

private:
    bool Passes(TLogLevel ALogLevel) const;
    void RaiseLog(const TLogInfo& AInfo);

    std::atomic<bool> FTriggerEventInMainThread{true};
    std::atomic<TLogLevel> FLogLevel{llInfo};
    mutable std::mutex FEventLock;
    TLogEvent FOnLog;
};

// The current logger, created ownerless when there is none.
TFFLogger* GetLogger();

// Installed into avutil: collects each thread's text and emits whole lines.
void AVLogCallback(void* AContext, int ALevel, const char* AFormat, va_list AArgs);

// The last error line the libraries logged on this thread since
// ClearLibraryError, without its "[name @ address]" prefix; empty when none.
// Kept whatever the log level lets through: a failure's reason.
String LastLibraryError();
void ClearLibraryError();

// While it lives, what the libraries log on this thread goes nowhere, not
// even into LastLibraryError: for trials whose complaints would mislead.
class TQuietLibraryLog {
public:
    TQuietLibraryLog();
    ~TQuietLibraryLog();
    TQuietLibraryLog(const TQuietLibraryLog&) = delete;
    TQuietLibraryLog& operator=(const TQuietLibraryLog&) = delete;

private:
    bool FSaved;
};

// An OnLog handler that raises while the libraries log cannot unwind through
// them: the first such exception of a thread waits here until the thread's
// converter picks it up. Rethrows it (once) when there is one.
void RethrowLogFailure();
// Forgets one left over from earlier work on this thread.
void DiscardLogFailure();
