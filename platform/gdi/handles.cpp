// The handle table: a handle names a slot and the slot's generation, so a
// handle of a deleted object stays invalid after its slot is reused.
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>

#include "platform/gdi/gdiobjects.h"

namespace gdi {

namespace {

constexpr unsigned IndexBits = 20;
constexpr uintptr_t IndexMask = (uintptr_t{1} << IndexBits) - 1;
// Handle values fit into 31 bits, as code that keeps them in an Integer expects.
constexpr unsigned GenerationLimit = 1u << (31 - IndexBits);
// Freed slots wait in line before reuse, so a stale handle stays invalid for
// long even when its slot comes back.
constexpr size_t ReuseDelay = 1024;

struct Slot {
    std::unique_ptr<GdiObject> Object;
    unsigned Generation = 1;
};

struct Table {
    std::vector<Slot> Slots;
    std::deque<size_t> Free;
};

// Never destroyed: objects still alive when the program ends (a DC holding
// a stock font) would otherwise be freed in no particular order.
Table& TheTable() {
    static auto* table = new Table;
    return *table;
}

bool Decode(const void* AHandle, size_t& AIndex, unsigned& AGeneration) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(AHandle);
    if ((value & IndexMask) == 0 || value >= (uintptr_t{GenerationLimit} << IndexBits)) return false;
    AIndex = (value & IndexMask) - 1;
    AGeneration = unsigned(value >> IndexBits);
    return true;
}

Slot* Find(const void* AHandle) {
    size_t index;
    unsigned generation;
    if (!Decode(AHandle, index, generation)) return nullptr;
    Table& table = TheTable();
    if (index >= table.Slots.size()) return nullptr;
    Slot& slot = table.Slots[index];
    return slot.Object && slot.Generation == generation ? &slot : nullptr;
}

}  // namespace

std::recursive_mutex& GdiMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

void* RegisterObject(std::unique_ptr<GdiObject> AObject) {
    if (!AObject) return nullptr;
    Table& table = TheTable();
    size_t index;
    if (table.Free.size() > ReuseDelay || (table.Slots.size() >= IndexMask && !table.Free.empty())) {
        index = table.Free.front();
        table.Free.pop_front();
    } else if (table.Slots.size() < IndexMask) {
        index = table.Slots.size();
        table.Slots.emplace_back();
    } else {
        return nullptr;
    }
    Slot& slot = table.Slots[index];
    void* handle = reinterpret_cast<void*>((uintptr_t{slot.Generation} << IndexBits) | (index + 1));
    AObject->Handle = handle;
    slot.Object = std::move(AObject);
    return handle;
}

GdiObject* LookupObject(const void* AHandle) {
    Slot* slot = Find(AHandle);
    return slot ? slot->Object.get() : nullptr;
}

std::unique_ptr<GdiObject> UnregisterObject(const void* AHandle) {
    Slot* slot = Find(AHandle);
    if (!slot) return nullptr;
    std::unique_ptr<GdiObject> object = std::move(slot->Object);
    slot->Generation = slot->Generation + 1 < GenerationLimit ? slot->Generation + 1 : 1;
    TheTable().Free.push_back(size_t(slot - TheTable().Slots.data()));
    return object;
}

// Bitmaps.

std::unique_ptr<BitmapObject> BitmapObject::Create(int AWidth, int AHeight, int ABitsPerPixel,
                                                   bool ATopDown) {
    // Large enough for any picture the system shows, small enough that
    // offsets into the memory never overflow.
    constexpr int64_t MaxBytes = int64_t{1} << 30;
    if (AWidth <= 0 || AHeight <= 0 || AWidth > (1 << 24) || AHeight > (1 << 24)) return nullptr;
    const int stride = DibStride(AWidth, ABitsPerPixel);
    const int64_t bytes = int64_t(stride) * AHeight;
    if (bytes > MaxBytes) return nullptr;
    std::unique_ptr<BitmapObject> bitmap(new BitmapObject());
    // Aligned for vector loops; zeroed as fresh pages are.
    void* memory = std::aligned_alloc(64, size_t((bytes + 63) / 64 * 64));
    if (!memory) return nullptr;
    std::memset(memory, 0, size_t(bytes));
    Surface& s = bitmap->FSurface;
    s.Bits = static_cast<uint8_t*>(memory);
    s.Width = AWidth;
    s.Height = AHeight;
    s.Stride = stride;
    s.BitsPerPixel = ABitsPerPixel;
    s.TopDown = ATopDown;
    return bitmap;
}

BitmapObject::~BitmapObject() {
    std::free(FSurface.Bits);
}

void BitmapObject::MakeDibSection(const win::BITMAPINFOHEADER& AHeader, std::vector<win::RGBQUAD> APalette) {
    FIsDib = true;
    FHeader = AHeader;
    FPalette = std::move(APalette);
    FSurface.HasAlpha = FSurface.BitsPerPixel == 32;
    FSurface.Palette = FPalette.data();
    FSurface.PaletteSize = int(FPalette.size());
}

void BitmapObject::MakeMonochrome() {
    FPalette = {win::RGBQUAD{0, 0, 0, 0}, win::RGBQUAD{255, 255, 255, 0}};
    FSurface.Monochrome = true;
    FSurface.Palette = FPalette.data();
    FSurface.PaletteSize = 2;
}

}  // namespace gdi
