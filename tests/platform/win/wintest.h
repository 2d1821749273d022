// A fresh memory desktop per test, windows of test classes whose messages are
// logged, and handlers that tests attach to single windows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/win/messages.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"

// Returns true when it handled the message, with the result in AResult.
using THandler = std::function<bool(win::HWND AWindow, win::UINT AMessage, win::WPARAM AWParam,
                                    win::LPARAM ALParam, win::LRESULT& AResult)>;

struct TLogEntry {
    win::HWND Window;
    win::UINT Message;
    win::WPARAM WParam;
    win::LPARAM LParam;
};

// "VqTest" erases white and has no double clicks; "VqDblClk" has CS_DBLCLKS.
inline constexpr const char16_t* TestClass = u"VqTest";
inline constexpr const char16_t* DblClkClass = u"VqDblClk";

class WinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    win::HWND Create(win::DWORD AStyle, win::RECT ABounds, win::HWND AParent = nullptr,
                     win::DWORD AExStyle = 0, const char16_t* AClass = TestClass);
    // A visible child at ABounds (parent client coordinates).
    win::HWND Child(win::HWND AParent, win::RECT ABounds, win::DWORD AExtraStyle = 0);
    // A visible popup at ABounds (screen).
    win::HWND Popup(win::RECT ABounds, win::DWORD AExStyle = 0);

    // Runs before the default for every message to AWindow (also from
    // creation on, when set for nullptr: the next window created).
    static void On(win::HWND AWindow, THandler AHandler);
    // Answers AMessage with AResult, without the default.
    static void Answer(win::HWND AWindow, win::UINT AMessage, win::LRESULT AResult);

    // The logged messages among AMessages, in order.
    static std::vector<std::pair<win::HWND, win::UINT>> Sequence(std::initializer_list<win::UINT> AMessages);
    static std::vector<TLogEntry> Logged(win::HWND AWindow, win::UINT AMessage);
    static void ClearLog();
};
