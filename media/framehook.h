// Frame hooks: libraries named by the engine's "vhook" option, each with the
// C exports "Configure", "Process" and "Release", through which every decoded
// video picture passes.
#pragma once

#include "media/ffutils.h"
#include "platform/base/types.h"

// 0 = success; *ctx is the hook's own context.
using TFrameHookConfigureFn = int (*)(void** ctx, int argc, char* argv[]);
using TFrameHookProcessFn = void (*)(void* ctx, TAVPicture* picture, int pix_fmt, int width, int height,
                                     int64_t pts);
using TFrameHookReleaseFn = void (*)(void* ctx);

// Allocated zeroed with av_mallocz and freed with av_free.
struct TFrameHookEntry {
    TFrameHookEntry* next;
    TFrameHookConfigureFn Configure;
    TFrameHookProcessFn Process;
    TFrameHookReleaseFn Release;
    void* ctx;
};
using PFrameHookEntry = TFrameHookEntry*;

// Loads argv[0] (once per process for a name spelt the same way; hook
// libraries are never unloaded), configures it with the arguments and appends
// it to AFirst's list. 0, -1 (cannot load), -2 (no arguments, no Process, or
// arguments without Configure), -12 (no memory) or -22 (Configure refused).
Integer AddFrameHook(PFrameHookEntry& AFirst, Integer argc, char* argv[]);
// Every entry's Process, in list order.
void ProcessFrameHooks(PFrameHookEntry AFirst, TAVPicture* APicture, Integer APixFmt, Integer AWidth,
                       Integer AHeight, Int64 APTS);
// Every entry's Release (when exported), then the entry; AFirst becomes nil.
void ReleaseFrameHooks(PFrameHookEntry& AFirst);
