#include "wintest.h"

#include <algorithm>
#include <map>

#include "platform/base/clock.h"
#include "platform/gdi/syscolors.h"
#include "platform/win/input.h"

using namespace win;

namespace {

std::vector<TLogEntry> GLog;
std::map<HWND, THandler> GHandlers;
THandler GNextHandler;

LRESULT LoggingProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    if (AMessage == WM_NCCREATE && GNextHandler) GHandlers[AWindow] = std::exchange(GNextHandler, nullptr);
    GLog.push_back({AWindow, AMessage, AWParam, ALParam});
    const auto it = GHandlers.find(AWindow);
    if (it != GHandlers.end()) {
        // A copy: the handler may replace itself.
        const THandler handler = it->second;
        LRESULT result = 0;
        if (handler(AWindow, AMessage, AWParam, ALParam, result)) return result;
    }
    return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
}

void Register(const char16_t* AName, UINT AStyle) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = AStyle;
    cls.lpfnWndProc = LoggingProc;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    cls.lpszClassName = AName;
    RegisterClassExW(&cls);
}

}  // namespace

void WinTest::SetUp() {
    driver::Reset();
    GLog.clear();
    GHandlers.clear();
    GNextHandler = nullptr;
    Register(TestClass, 0);
    Register(DblClkClass, CS_DBLCLKS);
}

void WinTest::TearDown() {
    // The handlers may hold the finished test's locals.
    GHandlers.clear();
    GNextHandler = nullptr;
    SetMouseTrackHook(nullptr);
    driver::Reset();
    UseSystemClock();
}

HWND WinTest::Create(DWORD AStyle, RECT ABounds, HWND AParent, DWORD AExStyle, const char16_t* AClass) {
    return CreateWindowExW(AExStyle, AClass, u"", AStyle, ABounds.left, ABounds.top,
                           ABounds.right - ABounds.left, ABounds.bottom - ABounds.top, AParent, nullptr,
                           nullptr, nullptr);
}

HWND WinTest::Child(HWND AParent, RECT ABounds, DWORD AExtraStyle) {
    return Create(WS_CHILD | WS_VISIBLE | AExtraStyle, ABounds, AParent);
}

HWND WinTest::Popup(RECT ABounds, DWORD AExStyle) {
    return Create(WS_POPUP | WS_VISIBLE, ABounds, nullptr, AExStyle);
}

void WinTest::On(HWND AWindow, THandler AHandler) {
    if (AWindow)
        GHandlers[AWindow] = std::move(AHandler);
    else
        GNextHandler = std::move(AHandler);
}

void WinTest::Answer(HWND AWindow, UINT AMessage, LRESULT AResult) {
    On(AWindow, [AMessage, AResult](HWND, UINT AMsg, WPARAM, LPARAM, LRESULT& AOut) {
        if (AMsg != AMessage) return false;
        AOut = AResult;
        return true;
    });
}

std::vector<std::pair<HWND, UINT>> WinTest::Sequence(std::initializer_list<UINT> AMessages) {
    std::vector<std::pair<HWND, UINT>> result;
    for (const TLogEntry& e : GLog)
        if (std::find(AMessages.begin(), AMessages.end(), e.Message) != AMessages.end())
            result.emplace_back(e.Window, e.Message);
    return result;
}

std::vector<TLogEntry> WinTest::Logged(HWND AWindow, UINT AMessage) {
    std::vector<TLogEntry> result;
    for (const TLogEntry& e : GLog)
        if (e.Window == AWindow && e.Message == AMessage) result.push_back(e);
    return result;
}

void WinTest::ClearLog() {
    GLog.clear();
}
