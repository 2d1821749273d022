#include "media/framehook.h"

#include <map>
#include <mutex>
#include <string_view>

#include "media/avutilstubs.h"
#include "platform/base/dynlibs.h"
#include "platform/base/sysutils.h"

namespace {

// Hook libraries by the name their first argument spells; never unloaded, so
// a list entry's functions stay valid for as long as the process runs.
struct TFrameHookModules {
    std::mutex Lock;
    std::map<AnsiString, HMODULE> Modules;
};

TFrameHookModules& FrameHookModules() {
    static TFrameHookModules* modules = new TFrameHookModules;
    return *modules;
}

HMODULE FindOrLoadModule(const char* AName) {
    TFrameHookModules& modules = FrameHookModules();
    std::lock_guard guard(modules.Lock);
    auto found = modules.Modules.find(AName);
    if (found != modules.Modules.end()) return found->second;
    // A name with a folder part loads that file; its own dependencies resolve
    // through the library's run path. Neither the current directory nor PATH
    // is touched: other threads are running.
    String error;
    HMODULE module = LoadLibrary(UTF8ToString(AName), error);
    if (!module) {
        avutil::av_log(nullptr, AV_LOG_ERROR, "%s\n", StringToUTF8(error).c_str());
        return nullptr;
    }
    modules.Modules.emplace(AName, module);
    return module;
}

template <typename T>
T Export(HMODULE AModule, const char* AName) {
    String ignored;
    return reinterpret_cast<T>(GetProcAddress(AModule, AName, ignored));
}

Integer Refuse(TFrameHookEntry* AEntry, std::string_view AFormat, const char* AName, Integer AResult) {
    avutil::av_free(AEntry);
    avutil::av_log(nullptr, AV_LOG_ERROR, "%s", FormatAnsi(AFormat, {AName}).c_str());
    return AResult;
}

}  // namespace

Integer AddFrameHook(PFrameHookEntry& AFirst, Integer argc, char* argv[]) {
    if (argc < 1) return -2;
    HMODULE module = FindOrLoadModule(argv[0]);
    if (!module) return -1;
    auto* entry = static_cast<TFrameHookEntry*>(avutil::av_mallocz(sizeof(TFrameHookEntry)));
    if (!entry) return -12;
    entry->Configure = Export<TFrameHookConfigureFn>(module, "Configure");
    entry->Process = Export<TFrameHookProcessFn>(module, "Process");
    entry->Release = Export<TFrameHookReleaseFn>(module, "Release");
    if (!entry->Process) return Refuse(entry, "Failed to find Process entrypoint in %s\n", argv[0], -2);
    if (!entry->Configure && argc > 1)
        return Refuse(entry, "Failed to find Configure entrypoint in %s\n", argv[0], -2);
    if ((argc > 1 || entry->Configure) && entry->Configure(&entry->ctx, argc, argv) != 0)
        return Refuse(entry, "Failed to Configure %s\n", argv[0], -22);
    PFrameHookEntry* last = &AFirst;
    while (*last)
        last = &(*last)->next;
    *last = entry;
    return 0;
}

void ProcessFrameHooks(PFrameHookEntry AFirst, TAVPicture* APicture, Integer APixFmt, Integer AWidth,
                       Integer AHeight, Int64 APTS) {
    for (PFrameHookEntry entry = AFirst; entry; entry = entry->next)
        entry->Process(entry->ctx, APicture, APixFmt, AWidth, AHeight, APTS);
}

void ReleaseFrameHooks(PFrameHookEntry& AFirst) {
    while (AFirst) {
        PFrameHookEntry entry = AFirst;
        AFirst = entry->next;
        if (entry->Release) entry->Release(entry->ctx);
        avutil::av_free(entry);
    }
}
