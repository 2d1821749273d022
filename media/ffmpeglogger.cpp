#include "media/ffmpeglogger.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "media/avutilstubs.h"
#include "media/myutils.h"
#include "platform/base/sysutils.h"
#include "platform/base/threads.h"
#include "platform/toolkit/published.h"

std::atomic<Integer> AVLogLevel{AV_LOG_INFO};

namespace {

struct TLoggerHolder {
    ~TLoggerHolder() {
        // An ownerless logger made on demand goes with the library; an owned one
        // belongs to its form.
        TFFLogger* left = Global;
        if (left && !left->Owner()) delete left;
    }
    std::mutex Lock;
    TFFLogger* Global = nullptr;
};

TLoggerHolder& Holder() {
    static TLoggerHolder holder;
    return holder;
}

// The unfinished FFmpeg line of this thread, as UTF-8 bytes: decoding waits
// for whole lines so that a character split between calls survives.
thread_local AnsiString PendingLine;
// How many bytes at the start of PendingLine are the "[name @ address]" prefix.
thread_local size_t PendingPrefix = 0;
thread_local String LastErrorLine;
thread_local std::exception_ptr LogFailure;
thread_local bool QuietLibraries = false;

const struct {
    const char16_t* Name;
    Integer Level;
} kLevelNames[] = {
    {u"quiet", AV_LOG_QUIET},     {u"panic", AV_LOG_PANIC},     {u"fatal", AV_LOG_FATAL},
    {u"error", AV_LOG_ERROR},     {u"warning", AV_LOG_WARNING}, {u"info", AV_LOG_INFO},
    {u"verbose", AV_LOG_VERBOSE}, {u"debug", AV_LOG_DEBUG},
};

}  // namespace

Integer LogLevelToAV(TLogLevel ALevel) {
    return static_cast<Integer>(ALevel) * 8 - 8;
}

TLogLevel AVToLogLevel(Integer AAVLevel) {
    const Integer ordinal = AAVLevel / 8 + 1;
    if (ordinal < llQuiet) return llQuiet;
    if (ordinal > llDebug) return llDebug;
    return static_cast<TLogLevel>(ordinal);
}

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(AOwner) {
    std::lock_guard guard(Holder().Lock);
    Assert(Holder().Global == nullptr, u"Allow creating only one instance of TFFLogger.");
    FLogLevel = AVToLogLevel(AVLogLevel);
    Holder().Global = this;
}

TFFLogger::~TFFLogger() {
    std::lock_guard guard(Holder().Lock);
    if (Holder().Global == this) Holder().Global = nullptr;
}

TFFLogger* GetLogger() {
    {
        std::lock_guard guard(Holder().Lock);
        if (Holder().Global) return Holder().Global;
    }
    try {
        new TFFLogger(nullptr);  // registers itself as the global logger
    } catch (const EAssertionFailed&) {
        // Another thread made one in between; use that.
    }
    std::lock_guard guard(Holder().Lock);
    return Holder().Global;
}

TLogEvent TFFLogger::OnLog() const {
    std::lock_guard guard(FEventLock);
    return FOnLog;
}

void TFFLogger::SetOnLog(TLogEvent AValue) {
    std::lock_guard guard(FEventLock);
    FOnLog = std::move(AValue);
}

void TFFLogger::SetLogLevel(TLogLevel AValue) {
    if (AValue == FLogLevel) return;
    FLogLevel = AValue;
    ApplyLogLevel();
}

void TFFLogger::ApplyLogLevel() {
    if (!avutil::av_log_set_level) return;
    AVLogLevel = LogLevelToAV(FLogLevel);
    avutil::av_log_set_level(AVLogLevel);
}

void TFFLogger::InstallAVLogCallback() {
    Assert(avutil::av_log_set_callback && avutil::av_log_set_level);
    avutil::av_log_set_callback(AVLogCallback);
    ApplyLogLevel();
}

void TFFLogger::OptLogLevel(const String& AArg) {
    Integer level = 0;
    bool named = false;
    for (const auto& entry : kLevelNames) {
        if (SameText(AArg, entry.Name)) {
            level = entry.Level;
            named = true;
            break;
        }
    }
    if (!named) level = StrToInt(AArg);
    SetLogLevel(AVToLogLevel(level));
}

bool TFFLogger::Passes(TLogLevel ALogLevel) const {
    const TLogLevel current = FLogLevel;
    if (current == llQuiet) return false;
    // The engine's verbose lines (stream mapping, progress) pass at llInfo.
    return ALogLevel <= current || ALogLevel == llVerbose;
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg) {
    if (!OnLog() || !Passes(ALogLevel)) return;
    RaiseLog({Sender, GetCurrentThreadId(), ALogLevel, ALogMsg});
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, std::u16string_view AFormat, TVarRecs AArgs) {
    if (!OnLog() || !Passes(ALogLevel)) return;
    RaiseLog({Sender, GetCurrentThreadId(), ALogLevel, Format(AFormat, AArgs)});
}

void TFFLogger::EmitAVLog(Cardinal AThreadID, Integer AAVLevel, const String& ALine) {
    if (!OnLog()) return;
    RaiseLog({this, AThreadID, AVToLogLevel(AAVLevel), ALine});
}

void TFFLogger::RaiseLog(const TLogInfo& AInfo) {
    // Each call carries its own record, so concurrent callers never share one
    // and nobody holds a lock while waiting for the GUI thread.
    auto raise = [this, &AInfo] {
        if (const TLogEvent handler = OnLog())
            handler(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
    };
    if (FTriggerEventInMainThread) {
        CallInMainThread(raise);
    } else {
        raise();
    }
}

void AVLogCallback(void* AContext, int ALevel, const char* AFormat, va_list AArgs) {
    const bool shown = ALevel <= AVLogLevel;
    const bool error = ALevel <= AV_LOG_ERROR;
    if ((!shown && !error) || QuietLibraries) return;
    AnsiString& pending = PendingLine;
    if (AContext && pending.empty()) {
        const AVClass* avClass = *static_cast<AVClass* const*>(AContext);
        if (avClass && avClass->item_name) {
            char prefix[256];
            std::snprintf(prefix, sizeof prefix, "[%s @ %p]", avClass->item_name(AContext), AContext);
            pending += prefix;
        }
        PendingPrefix = pending.size();
    }
    // Bounded formatting: a text longer than the first buffer is formatted
    // again into one of the right size, so nothing is cut.
    char buffer[2048];
    va_list copy;
    va_copy(copy, AArgs);
    const int length = std::vsnprintf(buffer, sizeof buffer, AFormat, AArgs);
    if (length >= static_cast<int>(sizeof buffer)) {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), AFormat, copy);
        pending.append(large.data(), static_cast<size_t>(length));
    } else if (length > 0) {
        pending.append(buffer, static_cast<size_t>(length));
    }
    va_end(copy);
    size_t newline;
    while ((newline = pending.find('\n')) != AnsiString::npos) {
        const String line = UTF8ToString(std::string_view(pending).substr(0, newline));
        if (error) {
            const size_t prefix = std::min(PendingPrefix, newline);
            const String reason =
                Trim(UTF8ToString(std::string_view(pending).substr(prefix, newline - prefix)));
            if (!reason.empty()) LastErrorLine = reason;
        }
        pending.erase(0, newline + 1);
        PendingPrefix = 0;
        if (!shown) continue;
        // Nothing may unwind through the library that logs.
        try {
            if (TFFLogger* logger = GetLogger()) logger->EmitAVLog(GetCurrentThreadId(), ALevel, line);
        } catch (...) {
            if (!LogFailure) LogFailure = std::current_exception();
        }
    }
}

String LastLibraryError() {
    return LastErrorLine;
}

void ClearLibraryError() {
    LastErrorLine.clear();
}

TQuietLibraryLog::TQuietLibraryLog() : FSaved(QuietLibraries) {
    QuietLibraries = true;
}

TQuietLibraryLog::~TQuietLibraryLog() {
    QuietLibraries = FSaved;
}

void RethrowLogFailure() {
    if (!LogFailure) return;
    std::exception_ptr failure;
    std::swap(failure, LogFailure);
    std::rethrow_exception(failure);
}

void DiscardLogFailure() {
    LogFailure = nullptr;
}

namespace {

// What a form description may set on the logger.
const auto Registered = [] {
    RegisterEnum<TLogLevel>(
        {u"llQuiet", u"llPanic", u"llFatal", u"llError", u"llWarning", u"llInfo", u"llVerbose", u"llDebug"});
    return RegisterClass<TFFLogger, TComponent>()
        .Property(u"LogLevel", &TFFLogger::LogLevel, &TFFLogger::SetLogLevel)
        .Property(u"TriggerEventInMainThread", &TFFLogger::TriggerEventInMainThread,
                  &TFFLogger::SetTriggerEventInMainThread)
        .Event(u"OnLog", &TFFLogger::SetOnLog);
}();

}  // namespace
