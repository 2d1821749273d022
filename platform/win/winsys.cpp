// The handle table and the window tree.
#include "platform/win/winsys.h"

#include <algorithm>

#include "platform/base/mainthread.h"
#include "platform/win/memorybackend.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace winsys {

namespace {

// A handle names a slot and its generation, so a handle of a destroyed
// window stays invalid after the slot is reused. Values fit into 31 bits and
// never look like HWND_BROADCAST or the other special handles.
constexpr unsigned IndexBits = 16;
constexpr uintptr_t IndexMask = (uintptr_t{1} << IndexBits) - 1;
constexpr unsigned GenerationLimit = 1u << (31 - IndexBits);
constexpr size_t ReuseDelay = 256;

struct Slot {
    WindowRef Window;
    unsigned Generation = 1;
};

struct Table {
    // Taken by every change and by lookups from other threads.
    std::mutex Lock;
    std::vector<Slot> Slots;
    std::deque<size_t> Free;
};

Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

Slot* FindSlot(HWND AWindow) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(AWindow);
    if ((value & IndexMask) == 0 || value >= (uintptr_t{GenerationLimit} << IndexBits)) return nullptr;
    const size_t index = (value & IndexMask) - 1;
    const unsigned generation = unsigned(value >> IndexBits);
    Table& table = TheTable();
    if (index >= table.Slots.size()) return nullptr;
    Slot& slot = table.Slots[index];
    return slot.Window && slot.Generation == generation ? &slot : nullptr;
}

}  // namespace

State& Sys() {
    static State* state = [] {
        State* s = new State;
        s->Backend.store(MakeMemoryBackend());
        SetProcessMessagesHook([] { ProcessPendingMessages(); });
        SetWakeMainThreadHook([] {
            if (const std::shared_ptr<TBackend> backend = Sys().Backend.load()) backend->Wake();
        });
        return s;
    }();
    return *state;
}

TBackend& BackendOf() {
    return *Sys().Backend.load();
}

Window* Find(HWND AWindow) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.Lock);
    Slot* slot = FindSlot(AWindow);
    return slot ? slot->Window.get() : nullptr;
}

WindowRef Ref(Window* AWindow) {
    return AWindow ? AWindow->shared_from_this() : nullptr;
}

HWND Register(const WindowRef& AWindow) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.Lock);
    size_t index;
    if (table.Free.size() > ReuseDelay || (table.Slots.size() >= IndexMask - 1 && !table.Free.empty())) {
        index = table.Free.front();
        table.Free.pop_front();
    } else if (table.Slots.size() < IndexMask - 1) {
        index = table.Slots.size();
        table.Slots.emplace_back();
    } else {
        return nullptr;
    }
    Slot& slot = table.Slots[index];
    slot.Window = AWindow;
    AWindow->Handle = reinterpret_cast<HWND>((uintptr_t{slot.Generation} << IndexBits) | (index + 1));
    return AWindow->Handle;
}

void Unregister(Window& AWindow) {
    Table& table = TheTable();
    WindowRef keep;
    std::lock_guard<std::mutex> lock(table.Lock);
    Slot* slot = FindSlot(AWindow.Handle);
    if (!slot) return;
    keep = std::move(slot->Window);
    slot->Generation = slot->Generation + 1 < GenerationLimit ? slot->Generation + 1 : 1;
    table.Free.push_back(size_t(slot - table.Slots.data()));
}

std::vector<WindowRef> AllWindows() {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.Lock);
    std::vector<WindowRef> windows;
    for (const Slot& slot : table.Slots)
        if (slot.Window) windows.push_back(slot.Window);
    return windows;
}

bool IsTopLevel(const Window& W) {
    return !W.Parent && !W.MessageOnly;
}

Window* TopLevelOf(Window* W) {
    while (W && W->Parent)
        W = W->Parent;
    return W;
}

bool IsShown(const Window& W) {
    for (const Window* w = &W; w; w = w->Parent) {
        if (!(w->Style & WS_VISIBLE) || w->MessageOnly) return false;
        if (!w->Parent && (w->Style & WS_MINIMIZE)) return false;
    }
    return true;
}

bool IsEnabledChain(const Window& W) {
    for (const Window* w = &W; w; w = w->Parent)
        if (w->Style & WS_DISABLED) return false;
    return true;
}

POINT ScreenOrigin(const Window& W) {
    if (!W.Parent) return {W.Rect.left, W.Rect.top};
    const POINT parent = ClientOrigin(*W.Parent);
    return {parent.x + W.Rect.left, parent.y + W.Rect.top};
}

POINT ClientOrigin(const Window& W) {
    const POINT origin = ScreenOrigin(W);
    return {origin.x + W.Client.left, origin.y + W.Client.top};
}

RECT ScreenRect(const Window& W) {
    const POINT origin = ScreenOrigin(W);
    return {origin.x, origin.y, origin.x + (W.Rect.right - W.Rect.left),
            origin.y + (W.Rect.bottom - W.Rect.top)};
}

POINT SurfaceOrigin(const Window& W) {
    const POINT origin = ScreenOrigin(W);
    const Window* top = TopLevelOf(const_cast<Window*>(&W));
    return {origin.x - top->Rect.left, origin.y - top->Rect.top};
}

PixRegion Shape(const Window& W) {
    PixRegion shape(RECT{0, 0, W.Rect.right - W.Rect.left, W.Rect.bottom - W.Rect.top});
    if (W.HasRegion) shape.Intersect(W.Region);
    return shape;
}

bool IsAncestor(const Window* AAncestor, const Window* W) {
    for (; W; W = W->Parent)
        if (W == AAncestor) return true;
    return false;
}

std::vector<Window*>& TopLevels() {
    static std::vector<Window*>* list = new std::vector<Window*>;
    return *list;
}

std::vector<Window*>& SiblingList(Window& W) {
    return W.Parent ? W.Parent->Children : TopLevels();
}

void Unlink(Window& W) {
    if (W.MessageOnly) return;
    std::vector<Window*>& list = SiblingList(W);
    list.erase(std::remove(list.begin(), list.end(), &W), list.end());
}

}  // namespace winsys
