// The desktop the acceptance tests drive: the X display the runner gave them
// (Xvfb with openbox as the window manager), seen and used as a user sees and
// uses it. Input goes through XTest, so the program gets it as it would from
// a mouse and a keyboard; windows, stacking and hints are read as the window
// manager publishes them; pixels are read back from the screen.
//
// Nothing here sleeps blindly: WaitUntil polls a state with a time limit.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace acceptance {

using namespace std::chrono_literals;

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    Point Center() const { return {x + w / 2, y + h / 2}; }
    Point At(int dx, int dy) const { return {x + dx, y + dy}; }
};

// A piece of the screen, pixels as 0xRRGGBB.
struct Image {
    int w = 0;
    int h = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
    bool operator==(const Image&) const = default;
    // Written as PNG for people to look at.
    void SavePng(const std::string& APath) const;
};

// Polls APredicate every 20 ms until it holds or ALimit has passed; the
// answer is whether it held.
bool WaitUntil(const std::function<bool()>& APredicate, std::chrono::milliseconds ALimit);

class Desktop {
public:
    // Opens the display of DISPLAY; when there is none, SkipReason() says why
    // (and the test is skipped), unless the runner promised one.
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // Empty when the desktop is usable; else why the test cannot run here.
    const std::string& SkipReason() const { return FSkipReason; }
    // True where the runner gave a display and a window manager: a desktop
    // that does not answer then fails the test instead of skipping it.
    static bool Required();

    ::Display* X() const { return FDisplay; }
    Window Root() const { return FRoot; }
    Rect Screen() const;

    // The window manager's view. Stacking is bottom first.
    bool WaitForWindowManager(std::chrono::milliseconds ALimit);
    std::vector<Window> Clients() const;
    std::vector<Window> Stacking() const;
    // Mapped override-redirect windows (menus, drop-downs, hints), bottom first.
    std::vector<Window> Popups() const;
    std::string Title(Window AWindow) const;
    Rect Bounds(Window AWindow) const;  // root coordinates, without the window manager's frame
    bool Viewable(Window AWindow) const;
    Window TransientFor(Window AWindow) const;
    std::vector<std::string> AtomNames(Window AWindow, const char* AProperty) const;
    std::vector<long> Cardinals(Window AWindow, const char* AProperty) const;
    std::string Text(Window AWindow, const char* AProperty) const;
    std::vector<std::string> ClassHint(Window AWindow) const;  // instance, class
    // The first client whose title is ATitle, waiting for it to be viewable.
    Window WaitForClient(std::string_view ATitle, std::chrono::milliseconds ALimit = 30s) const;
    // The first viewable client not in ABefore.
    Window WaitForNewClient(const std::vector<Window>& ABefore, std::chrono::milliseconds ALimit = 30s) const;
    Window WaitForNewPopup(const std::vector<Window>& ABefore, std::chrono::milliseconds ALimit = 10s) const;
    bool WaitForGone(Window AWindow, std::chrono::milliseconds ALimit = 30s) const;

    // Input, at root coordinates.
    void MoveTo(Point APoint);
    void Click(Point APoint, unsigned AButton = 1);
    void DoubleClick(Point APoint);
    // Positive steps scroll up (button 4), negative down (button 5).
    void Wheel(Point APoint, int ASteps);
    // A key by its keysym name ("Return", "Escape", "F10", "Down"), with
    // modifier keysyms held around it ("Alt_L", "Control_L", "Shift_L").
    void Key(const char* AKeysym, std::initializer_list<const char*> AModifiers = {});
    // Printable ASCII, typed key by key.
    void Type(std::string_view AText);

    // Pixels of the screen.
    Image Grab(Rect ARect) const;
    void Screenshot(const std::string& APath) const;

private:
    // The first viewable window of AList() that AWanted picks.
    Window WaitForWindow(const std::function<std::vector<Window>()>& AList,
                         const std::function<bool(Window)>& AWanted, std::chrono::milliseconds ALimit) const;
    void Sync() const;
    std::vector<Window> WindowList(const char* AProperty) const;

    ::Display* FDisplay = nullptr;
    Window FRoot = 0;
    std::string FSkipReason;
};

}  // namespace acceptance
