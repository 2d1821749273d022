#include "platform/toolkit/utilwindow.h"

#include <map>

#include "platform/win/messages.h"
#include "platform/win/window.h"

namespace {

constexpr const char16_t* UtilWindowClass = u"TPUtilWindow";

// The window procedure instance of each window, freed with it.
std::map<win::HWND, win::WNDPROC>& Instances() {
    static auto* instances = new std::map<win::HWND, win::WNDPROC>;
    return *instances;
}

void RegisterUtilClass() {
    win::WNDCLASSEXW existing{};
    if (win::GetClassInfoExW(nullptr, UtilWindowClass, &existing)) return;
    win::WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = win::DefWindowProcW;
    cls.lpszClassName = UtilWindowClass;
    win::RegisterClassExW(&cls);
}

}  // namespace

win::HWND AllocateHWnd(TWndMethod AMethod) {
    RegisterUtilClass();
    const win::HWND window = win::CreateWindowExW(0, UtilWindowClass, u"", 0, 0, 0, 0, 0, win::HWND_MESSAGE,
                                                  nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    win::WNDPROC proc = win::MakeObjectInstance([window, method = std::move(AMethod)](TMessage& AMessage) {
        method(AMessage);
        if (AMessage.Result == 0)
            AMessage.Result = win::DefWindowProcW(window, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    });
    if (!proc) {
        win::DestroyWindow(window);
        return nullptr;
    }
    win::SetWindowLongW(window, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(proc));
    Instances()[window] = proc;
    return window;
}

void DeallocateHWnd(win::HWND AWindow) {
    const auto it = Instances().find(AWindow);
    if (it == Instances().end()) return;
    const win::WNDPROC proc = it->second;
    Instances().erase(it);
    win::DestroyWindow(AWindow);
    win::FreeObjectInstance(proc);
}
