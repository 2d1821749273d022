#include "platform/base/dynlibs.h"

#include <dlfcn.h>

#include "platform/base/ustring.h"

namespace {

// dlerror's text is per thread but is cleared by the next call in between,
// so take it right after the failing call.
String TakeError(const char* AFallback) {
    const char* text = dlerror();
    return UTF8ToString(text ? text : AFallback);
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// Under the leak checker an unloaded library's own start-up allocations would
// show as leaks of unknown origin; keeping it mapped keeps them reachable.
constexpr int kExtraFlags = RTLD_NODELETE;
#else
constexpr int kExtraFlags = 0;
#endif

HMODULE LoadLibrary(std::u16string_view AFileName, String& AError) {
    dlerror();
    HMODULE module = dlopen(StringToUTF8(AFileName).c_str(), RTLD_NOW | RTLD_LOCAL | kExtraFlags);
    if (!module) AError = TakeError("cannot open shared object file");
    return module;
}

void* GetProcAddress(HMODULE AModule, const char* AName, String& AError) {
    if (!AModule) {
        AError = u"invalid module handle";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(AModule, AName);
    if (!address) AError = TakeError("undefined symbol");
    return address;
}

bool FreeLibrary(HMODULE AModule) {
    return AModule && dlclose(AModule) == 0;
}
