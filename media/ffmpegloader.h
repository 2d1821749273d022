// Loads the FFmpeg, SDL and C-runtime libraries at run time and binds their
// entry-point tables. One loader, LibLoader, for the whole process.
#pragma once

#include "media/entrypoints.h"
#include "platform/base/classes.h"
#include "platform/base/set.h"
#include "platform/base/syncobjs.h"

enum TLibrary { avCodec, avDevice, avFilter, avFormat, avUtil, swScale, swResample, myUtil, lbSDL };
using TLibraries = TSet<TLibrary>;

using TFixupProc = void (*)(const TPathFileName& ALibName, HMODULE AHandle);
using TUnfixProc = void (*)();

struct TLibraryItem {
    TLibrary Lib;
    const char16_t* Name;  // base name of the file
    Integer Version;       // major version in the file name; -1 = none
    TFixupProc Fixup;
    TUnfixProc Unfix;
};

extern const TLibraryItem LibraryTable[lbSDL + 1];

struct TLibraryStatus {
    TLibrary Lib;
    TPathFileName Name;  // replaces the whole file-name rule when not empty
    HMODULE Handle;
    bool Fixuped;
    Integer Users;  // successful loads not yet unloaded
};

extern TLibraryStatus LibraryStatus[lbSDL + 1];

inline constexpr TLibraries TranscoderLibraries{avCodec, avFilter,   avFormat, avUtil,
                                                swScale, swResample, myUtil};
inline constexpr TLibraries ProbeLibraries{avCodec, avFormat, avUtil, swScale, myUtil};
inline constexpr TLibraries PlayerLibraries{avCodec, avFilter,   avFormat, avUtil,
                                            swScale, swResample, myUtil,   lbSDL};

class TFFmpegLoader : public TObject {
public:
    TFFmpegLoader() = default;

    // Loads and binds one library and counts one user of it.
    bool Load(TLibrary ALibrary);
    // Loads every member, dependencies first; on the first failure gives back
    // what this call took and returns false.
    bool Load(TLibraries ALibraries);
    bool Loaded(TLibrary ALibrary) const;
    bool Loaded(TLibraries ALibraries) const;
    // Gives back one user; the library goes when its last user has gone.
    void Unload(TLibrary ALibrary);
    void Unload(TLibraries ALibraries);

    String LastErrMsg() const;
    TPathFileName LibraryPath() const;
    void SetLibraryPath(const TPathFileName& AValue);
    bool InstallLogger() const { return FInstallLogger; }
    void SetInstallLogger(bool AValue) { FInstallLogger = AValue; }

    // "lib" + name + ".so." + version: libavcodec.so.59, libc.so.6.
    static TPathFileName LibraryFileName(TLibrary ALibrary);

private:
    void FreeLibraryOf(TLibrary ALibrary);

    bool FInstallLogger = true;
};

extern TFFmpegLoader& LibLoader;

// Held around every codec open and close, and while an input's stream
// parameters are read.
extern TCriticalSection& CodecLock;
