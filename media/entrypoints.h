// Entry-point tables: one slot per function a library exports, typed from the
// library's own headers, bound by name at run time and empty while unbound.
#pragma once

#include <span>

#include "platform/base/dynlibs.h"
#include "platform/base/types.h"

using TPathFileName = String;

struct TEntryRow {
    const char* Name;
    void (*Store)(void* AAddress);
};

// Binds every row (all are mandatory); on the first missing export clears the
// rows again and raises "Load function %s@%s error: %s".
void BindEntries(const TPathFileName& ALibName, HMODULE AModule, std::span<const TEntryRow> ARows);
void ClearEntries(std::span<const TEntryRow> ARows);

#define VELQUA_ENTRY_DECLARE(name) extern decltype(&::name) name;
#define VELQUA_ENTRY_DEFINE(name) decltype(&::name) name = nullptr;
#define VELQUA_ENTRY_ROW(name) {#name, [](void* p) { name = reinterpret_cast<decltype(&::name)>(p); }},

// Declares the slots of LIST in namespace NS and the library's fixup pair.
#define VELQUA_DECLARE_ENTRY_TABLE(NS, LIST, FIXUP, UNFIX)      \
    namespace NS {                                              \
    LIST(VELQUA_ENTRY_DECLARE)                                  \
    }                                                           \
    void FIXUP(const TPathFileName& ALibName, HMODULE AHandle); \
    void UNFIX();

// Defines the slots and a FIXUP that binds them all (then runs AFTER_BIND) and
// an UNFIX that empties them.
#define VELQUA_DEFINE_ENTRY_TABLE(NS, LIST, FIXUP, UNFIX, AFTER_BIND) \
    namespace NS {                                                    \
    LIST(VELQUA_ENTRY_DEFINE)                                         \
    namespace {                                                       \
    const TEntryRow kRows[] = {LIST(VELQUA_ENTRY_ROW)};               \
    }                                                                 \
    }                                                                 \
    void FIXUP(const TPathFileName& ALibName, HMODULE AHandle) {      \
        BindEntries(ALibName, AHandle, NS::kRows);                    \
        AFTER_BIND;                                                   \
    }                                                                 \
    void UNFIX() {                                                    \
        ClearEntries(NS::kRows);                                      \
    }
