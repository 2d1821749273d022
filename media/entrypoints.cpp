#include "media/entrypoints.h"

#include "media/myutils.h"

void BindEntries(const TPathFileName& ALibName, HMODULE AModule, std::span<const TEntryRow> ARows) {
    try {
        for (const TEntryRow& row : ARows) {
            void* address = nullptr;
            GetProcAddressOrFail(ALibName, AModule, row.Name, false, address);
            row.Store(address);
        }
    } catch (...) {
        // A half-bound table must not keep addresses into a module about to go.
        ClearEntries(ARows);
        throw;
    }
}

void ClearEntries(std::span<const TEntryRow> ARows) {
    for (const TEntryRow& row : ARows)
        row.Store(nullptr);
}
