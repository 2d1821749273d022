// Object instances: window procedures that call a method. Each instance is
// one of a fixed set of real functions, so an instance can sit anywhere a
// window procedure can and be called directly or through CallWindowProc.
#include <array>
#include <deque>
#include <utility>

#include "platform/win/messages.h"

using namespace win;

namespace {

constexpr size_t InstanceCount = 2048;

struct Instances {
    std::array<TWndMethod, InstanceCount> Methods;
    std::array<bool, InstanceCount> Used{};
    // Freed slots wait in line, so a procedure someone still keeps as "the
    // old one" does not call a new method at once.
    std::deque<size_t> Free;
    size_t Fresh = 0;
};

Instances& TheInstances() {
    static Instances* instances = new Instances;
    return *instances;
}

LRESULT CallInstance(size_t AIndex, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    Instances& all = TheInstances();
    if (!all.Used[AIndex] || !all.Methods[AIndex]) return 0;
    // A copy: the method may free its own instance.
    const TWndMethod method = all.Methods[AIndex];
    TMessage message{AMessage, AWParam, ALParam, 0};
    (void)AWindow;
    method(message);
    return message.Result;
}

template <size_t I>
LRESULT Trampoline(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return CallInstance(I, AWindow, AMessage, AWParam, ALParam);
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeTable(std::index_sequence<I...>) {
    return {&Trampoline<I>...};
}

constexpr std::array<WNDPROC, InstanceCount> Trampolines =
    MakeTable(std::make_index_sequence<InstanceCount>{});

}  // namespace

namespace win {

WNDPROC MakeObjectInstance(TWndMethod AMethod) {
    Instances& all = TheInstances();
    size_t index;
    if (all.Fresh < InstanceCount) {
        index = all.Fresh++;
    } else if (!all.Free.empty()) {
        index = all.Free.front();
        all.Free.pop_front();
    } else {
        return nullptr;
    }
    all.Methods[index] = std::move(AMethod);
    all.Used[index] = true;
    return Trampolines[index];
}

void FreeObjectInstance(WNDPROC AProc) {
    Instances& all = TheInstances();
    for (size_t i = 0; i < InstanceCount; ++i)
        if (Trampolines[i] == AProc && all.Used[i]) {
            all.Used[i] = false;
            all.Methods[i] = nullptr;
            all.Free.push_back(i);
            return;
        }
}

}  // namespace win
