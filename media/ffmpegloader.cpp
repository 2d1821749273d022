#include "media/ffmpegloader.h"

#include <cfenv>
#include <mutex>

#include "media/avcodecstubs.h"
#include "media/avdevicestubs.h"
#include "media/avfilterstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/myutils.h"
#include "media/myutilstubs.h"
#include "media/swresamplestubs.h"
#include "media/swscalestubs.h"
#include "platform/base/fileutils.h"

const TLibraryItem LibraryTable[lbSDL + 1] = {
    {avCodec, u"avcodec", LIBAVCODEC_VERSION_MAJOR, FixupAVCodec, UnfixAVCodec},
    {avDevice, u"avdevice", LIBAVDEVICE_VERSION_MAJOR, FixupAVDevice, UnfixAVDevice},
    {avFilter, u"avfilter", LIBAVFILTER_VERSION_MAJOR, FixupAVFilter, UnfixAVFilter},
    {avFormat, u"avformat", LIBAVFORMAT_VERSION_MAJOR, FixupAVFormat, UnfixAVFormat},
    {avUtil, u"avutil", LIBAVUTIL_VERSION_MAJOR, FixupAVUtil, UnfixAVUtil},
    {swScale, u"swscale", LIBSWSCALE_VERSION_MAJOR, FixupSwScale, UnfixSwScale},
    {swResample, u"swresample", LIBSWRESAMPLE_VERSION_MAJOR, FixupSwResample, UnfixSwResample},
    {myUtil, u"c", 6, FixupMsvcrt, UnfixMsvcrt},
    {lbSDL, u"SDL-1.2", 0, FixupSDL, UnfixSDL},
};

TLibraryStatus LibraryStatus[lbSDL + 1] = {
    {avCodec, {}, nullptr, false, 0},    {avDevice, {}, nullptr, false, 0}, {avFilter, {}, nullptr, false, 0},
    {avFormat, {}, nullptr, false, 0},   {avUtil, {}, nullptr, false, 0},   {swScale, {}, nullptr, false, 0},
    {swResample, {}, nullptr, false, 0}, {myUtil, {}, nullptr, false, 0},   {lbSDL, {}, nullptr, false, 0},
};

namespace {

// Each library after those its own dependencies name, so that a library
// folder's copies resolve to each other.
constexpr TLibrary kLoadOrder[] = {avUtil,   swResample, swScale, avCodec, avFormat,
                                   avFilter, avDevice,   myUtil,  lbSDL};

struct TLoaderState {
    TLoaderState() {
        // The libraries expect every floating-point exception masked.
        std::fegetenv(&SavedFPUEnvironment);
        std::fesetenv(FE_DFL_ENV);
    }
    ~TLoaderState() {
        // Wait for a holder before the lock goes.
        CodecLock.Enter();
        CodecLock.Leave();
        std::fesetenv(&SavedFPUEnvironment);
    }

    std::fenv_t SavedFPUEnvironment;
    TCriticalSection CodecLock;
    std::recursive_mutex Lock;
    TFFmpegLoader Loader;
    String LastErrMsg;
    TPathFileName LibraryPath;
};

TLoaderState& State() {
    static TLoaderState state;
    return state;
}

}  // namespace

TFFmpegLoader& LibLoader = State().Loader;
TCriticalSection& CodecLock = State().CodecLock;

// "." + number: see VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
TPathFileName TFFmpegLoader::LibraryFileName(TLibrary ALibrary) {
    if (!LibraryStatus[ALibrary].Name.empty()) return LibraryStatus[ALibrary].Name;
    const TLibraryItem& item = LibraryTable[ALibrary];
    String name = u"lib" + String(item.Name) + u".so";
    if (item.Version >= 0) name += u"." + IntToStr(item.Version);
    return name;
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

String TFFmpegLoader::LastErrMsg() const {
    std::lock_guard guard(State().Lock);
    return State().LastErrMsg;
}

TPathFileName TFFmpegLoader::LibraryPath() const {
    std::lock_guard guard(State().Lock);
    return State().LibraryPath;
}

void TFFmpegLoader::SetLibraryPath(const TPathFileName& AValue) {
    std::lock_guard guard(State().Lock);
    State().LibraryPath = AValue;
}

bool TFFmpegLoader::Load(TLibrary ALibrary) {
    std::lock_guard guard(State().Lock);
    TLibraryStatus& status = LibraryStatus[ALibrary];
    const TPathFileName fileName = LibraryFileName(ALibrary);
    if (!status.Handle) {
        String folder = ExtractFilePath(fileName);
        if (folder.empty() && !State().LibraryPath.empty())
            folder = IncludeTrailingPathDelimiter(State().LibraryPath);
        const String name = ExtractFileName(fileName);
        String error;
        HMODULE handle = LoadLibraryWithPath(folder, name, error);
        if (!handle) {
            State().LastErrMsg = Format(u"Load library %s error: %s", {folder + name, error});
            return false;
        }
        status.Handle = handle;
    }
    if (!status.Fixuped) {
        try {
            LibraryTable[ALibrary].Fixup(fileName, status.Handle);
            status.Fixuped = true;
        } catch (const Exception& e) {
            State().LastErrMsg = e.Message();
        }
    }
    if (!status.Fixuped) {
        if (status.Users == 0) FreeLibraryOf(ALibrary);
        return false;
    }
    ++status.Users;
    if (ALibrary == avUtil && FInstallLogger) GetLogger()->InstallAVLogCallback();
    return true;
}

bool TFFmpegLoader::Load(TLibraries ALibraries) {
    Assert(!ALibraries.Empty());
    std::lock_guard guard(State().Lock);
    TLibraries taken;
    for (TLibrary lib : kLoadOrder) {
        if (!ALibraries.Contains(lib)) continue;
        if (!Load(lib)) {
            if (!taken.Empty()) Unload(taken);
            return false;
        }
        taken.Include(lib);
    }
    return true;
}

bool TFFmpegLoader::Loaded(TLibrary ALibrary) const {
    std::lock_guard guard(State().Lock);
    return LibraryStatus[ALibrary].Handle && LibraryStatus[ALibrary].Fixuped;
}

bool TFFmpegLoader::Loaded(TLibraries ALibraries) const {
    Assert(!ALibraries.Empty());
    for (TLibrary lib : kLoadOrder)
        if (ALibraries.Contains(lib) && !Loaded(lib)) return false;
    return true;
}

void TFFmpegLoader::Unload(TLibrary ALibrary) {
    std::lock_guard guard(State().Lock);
    TLibraryStatus& status = LibraryStatus[ALibrary];
    if (status.Users > 0 && --status.Users > 0) return;
    FreeLibraryOf(ALibrary);
}

void TFFmpegLoader::Unload(TLibraries ALibraries) {
    Assert(!ALibraries.Empty());
    std::lock_guard guard(State().Lock);
    // Dependents first, the reverse of the load order.
    for (auto it = std::rbegin(kLoadOrder); it != std::rend(kLoadOrder); ++it)
        if (ALibraries.Contains(*it)) Unload(*it);
}

void TFFmpegLoader::FreeLibraryOf(TLibrary ALibrary) {
    TLibraryStatus& status = LibraryStatus[ALibrary];
    if (status.Fixuped) {
        LibraryTable[ALibrary].Unfix();
        status.Fixuped = false;
    }
    if (status.Handle) {
        FreeLibrary(status.Handle);
        status.Handle = nullptr;
    }
    status.Users = 0;
}
