#include "desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace acceptance {

namespace {

void PutBigEndian(std::string& AOut, uint32_t AValue) {
    for (int shift = 24; shift >= 0; shift -= 8)
        AOut.push_back(static_cast<char>(AValue >> shift));
}

void PutChunk(std::string& AOut, const char* AType, const std::string& AData) {
    PutBigEndian(AOut, static_cast<uint32_t>(AData.size()));
    std::string typed = std::string(AType, 4) + AData;
    AOut += typed;
    PutBigEndian(AOut, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                   static_cast<uInt>(typed.size()))));
}

// Windows come and go while the tests look at them: a request about one that
// has just gone answers with an error, which the callers take as "not there".
int IgnoreXError(::Display*, XErrorEvent*) { return 0; }

}  // namespace

void Image::SavePng(const std::string& APath) const {
    std::string raw;
    raw.reserve(static_cast<size_t>(h) * (w * 3 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < w; ++x) {
            const uint32_t p = At(x, y);
            raw.push_back(static_cast<char>(p >> 16));
            raw.push_back(static_cast<char>(p >> 8));
            raw.push_back(static_cast<char>(p));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(w));
    PutBigEndian(header, static_cast<uint32_t>(h));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    std::ofstream(APath, std::ios::binary) << png;
}

bool WaitUntil(const std::function<bool()>& APredicate, std::chrono::milliseconds ALimit) {
    const auto deadline = std::chrono::steady_clock::now() + ALimit;
    for (;;) {
        if (APredicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

Desktop::Desktop() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        FSkipReason = "No X display (Xvfb is not installed)";
        return;
    }
    FDisplay = XOpenDisplay(nullptr);
    if (!FDisplay) {
        FSkipReason = std::string("Cannot open the X display ") + name;
        return;
    }
    XSetErrorHandler(IgnoreXError);
    FRoot = DefaultRootWindow(FDisplay);
    int event, error, major, minor;
    if (!XTestQueryExtension(FDisplay, &event, &error, &major, &minor))
        FSkipReason = "Cannot open the X display: it has no XTEST extension";
}

Desktop::~Desktop() {
    if (FDisplay) XCloseDisplay(FDisplay);
}

bool Desktop::Required() {
    return std::getenv("VELQUA_DISPLAY_REQUIRED") != nullptr;
}

Rect Desktop::Screen() const {
    return {0, 0, DisplayWidth(FDisplay, DefaultScreen(FDisplay)),
            DisplayHeight(FDisplay, DefaultScreen(FDisplay))};
}

bool Desktop::WaitForWindowManager(std::chrono::milliseconds ALimit) {
    return WaitUntil([&] { return !WindowList("_NET_SUPPORTING_WM_CHECK").empty(); }, ALimit);
}

std::vector<Window> Desktop::WindowList(const char* AProperty) const {
    std::vector<Window> result;
    for (long id : Cardinals(FRoot, AProperty))
        result.push_back(static_cast<Window>(id));
    return result;
}

std::vector<Window> Desktop::Clients() const {
    return WindowList("_NET_CLIENT_LIST");
}

std::vector<Window> Desktop::Stacking() const {
    return WindowList("_NET_CLIENT_LIST_STACKING");
}

std::vector<Window> Desktop::Popups() const {
    std::vector<Window> result;
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(FDisplay, FRoot, &root, &parent, &children, &count)) return result;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(FDisplay, children[i], &attributes) && attributes.override_redirect &&
            attributes.map_state == IsViewable)
            result.push_back(children[i]);
    }
    if (children) XFree(children);
    return result;
}

namespace {

// One property's items, with their format; empty when it is not set.
struct Property {
    Atom type = None;
    int format = 0;
    std::vector<unsigned char> bytes;
    unsigned long items = 0;
};

Property ReadProperty(::Display* ADisplay, Window AWindow, const char* AName) {
    Property result;
    const Atom name = XInternAtom(ADisplay, AName, True);
    if (name == None) return result;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(ADisplay, AWindow, name, 0, 1 << 24, False, AnyPropertyType, &result.type,
                           &result.format, &result.items, &after, &data) != Success)
        return result;
    if (data) {
        // Format 32 items are longs in memory, whatever their width on the wire.
        const size_t unit = result.format == 32 ? sizeof(long) : static_cast<size_t>(result.format / 8);
        result.bytes.assign(data, data + unit * result.items);
        XFree(data);
    }
    return result;
}

}  // namespace

std::vector<long> Desktop::Cardinals(Window AWindow, const char* AProperty) const {
    const Property p = ReadProperty(FDisplay, AWindow, AProperty);
    std::vector<long> result;
    if (p.format != 32) return result;
    result.resize(p.items);
    if (!p.bytes.empty()) std::memcpy(result.data(), p.bytes.data(), p.bytes.size());
    return result;
}

std::vector<std::string> Desktop::AtomNames(Window AWindow, const char* AProperty) const {
    std::vector<std::string> result;
    for (long atom : Cardinals(AWindow, AProperty)) {
        char* name = XGetAtomName(FDisplay, static_cast<Atom>(atom));
        if (!name) continue;
        result.emplace_back(name);
        XFree(name);
    }
    return result;
}

std::string Desktop::Text(Window AWindow, const char* AProperty) const {
    const Property p = ReadProperty(FDisplay, AWindow, AProperty);
    if (p.format != 8) return {};
    const Atom compound = XInternAtom(FDisplay, "COMPOUND_TEXT", True);
    if (p.type == compound && compound != None) {
        XTextProperty text{const_cast<unsigned char*>(p.bytes.data()), p.type, 8, p.items};
        char** list = nullptr;
        int count = 0;
        std::string result;
        if (Xutf8TextPropertyToTextList(FDisplay, &text, &list, &count) >= 0 && count > 0) result = list[0];
        if (list) XFreeStringList(list);
        return result;
    }
    return std::string(p.bytes.begin(), p.bytes.end());
}

std::string Desktop::Title(Window AWindow) const {
    std::string title = Text(AWindow, "_NET_WM_NAME");
    return title.empty() ? Text(AWindow, "WM_NAME") : title;
}

std::vector<std::string> Desktop::ClassHint(Window AWindow) const {
    const std::string raw = Text(AWindow, "WM_CLASS");
    std::vector<std::string> result;
    size_t start = 0;
    while (start < raw.size()) {
        const size_t end = raw.find('\0', start);
        result.push_back(raw.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

Rect Desktop::Bounds(Window AWindow) const {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(FDisplay, AWindow, &attributes)) return {};
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(FDisplay, AWindow, FRoot, 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

bool Desktop::Viewable(Window AWindow) const {
    XWindowAttributes attributes;
    return XGetWindowAttributes(FDisplay, AWindow, &attributes) && attributes.map_state == IsViewable;
}

Window Desktop::TransientFor(Window AWindow) const {
    Window owner = 0;
    return XGetTransientForHint(FDisplay, AWindow, &owner) ? owner : 0;
}

Window Desktop::WaitForWindow(const std::function<std::vector<Window>()>& AList,
                              const std::function<bool(Window)>& AWanted,
                              std::chrono::milliseconds ALimit) const {
    Window found = 0;
    WaitUntil(
        [&] {
            for (Window w : AList())
                if (AWanted(w) && Viewable(w)) return (found = w) != 0;
            return false;
        },
        ALimit);
    return found;
}

Window Desktop::WaitForClient(std::string_view ATitle, std::chrono::milliseconds ALimit) const {
    return WaitForWindow([&] { return Clients(); }, [&](Window w) { return Title(w) == ATitle; }, ALimit);
}

Window Desktop::WaitForNewClient(const std::vector<Window>& ABefore, std::chrono::milliseconds ALimit) const {
    return WaitForWindow(
        [&] { return Clients(); },
        [&](Window w) { return std::find(ABefore.begin(), ABefore.end(), w) == ABefore.end(); }, ALimit);
}

Window Desktop::WaitForNewPopup(const std::vector<Window>& ABefore, std::chrono::milliseconds ALimit) const {
    return WaitForWindow(
        [&] { return Popups(); },
        [&](Window w) { return std::find(ABefore.begin(), ABefore.end(), w) == ABefore.end(); }, ALimit);
}

bool Desktop::WaitForGone(Window AWindow, std::chrono::milliseconds ALimit) const {
    return WaitUntil(
        [&] {
            const std::vector<Window> clients = Clients();
            return std::find(clients.begin(), clients.end(), AWindow) == clients.end() || !Viewable(AWindow);
        },
        ALimit);
}

void Desktop::Sync() const {
    XSync(FDisplay, False);
}

void Desktop::MoveTo(Point APoint) {
    XTestFakeMotionEvent(FDisplay, -1, APoint.x, APoint.y, CurrentTime);
    Sync();
}

void Desktop::Click(Point APoint, unsigned AButton) {
    MoveTo(APoint);
    XTestFakeButtonEvent(FDisplay, AButton, True, CurrentTime);
    XTestFakeButtonEvent(FDisplay, AButton, False, CurrentTime);
    Sync();
}

void Desktop::DoubleClick(Point APoint) {
    Click(APoint);
    Click(APoint);
}

void Desktop::Wheel(Point APoint, int ASteps) {
    MoveTo(APoint);
    const unsigned button = ASteps > 0 ? 4 : 5;
    for (int i = 0; i < std::abs(ASteps); ++i) {
        XTestFakeButtonEvent(FDisplay, button, True, CurrentTime);
        XTestFakeButtonEvent(FDisplay, button, False, CurrentTime);
    }
    Sync();
}

void Desktop::Key(const char* AKeysym, std::initializer_list<const char*> AModifiers) {
    auto code = [&](const char* AName) {
        const KeySym sym = XStringToKeysym(AName);
        const KeyCode result = sym == NoSymbol ? 0 : XKeysymToKeycode(FDisplay, sym);
        if (!result) throw std::runtime_error(std::string("No key for ") + AName);
        return result;
    };
    for (const char* m : AModifiers)
        XTestFakeKeyEvent(FDisplay, code(m), True, CurrentTime);
    XTestFakeKeyEvent(FDisplay, code(AKeysym), True, CurrentTime);
    XTestFakeKeyEvent(FDisplay, code(AKeysym), False, CurrentTime);
    for (auto m = std::rbegin(AModifiers); m != std::rend(AModifiers); ++m)
        XTestFakeKeyEvent(FDisplay, code(*m), False, CurrentTime);
    Sync();
}

void Desktop::Type(std::string_view AText) {
    const KeyCode shift = XKeysymToKeycode(FDisplay, XK_Shift_L);
    for (char c : AText) {
        // Printable ASCII keysyms are the characters themselves.
        const KeySym sym = static_cast<unsigned char>(c);
        const KeyCode key = XKeysymToKeycode(FDisplay, sym);
        if (!key) throw std::runtime_error(std::string("No key types ") + c);
        const bool shifted = XkbKeycodeToKeysym(FDisplay, key, 0, 0) != sym;
        if (shifted) XTestFakeKeyEvent(FDisplay, shift, True, CurrentTime);
        XTestFakeKeyEvent(FDisplay, key, True, CurrentTime);
        XTestFakeKeyEvent(FDisplay, key, False, CurrentTime);
        if (shifted) XTestFakeKeyEvent(FDisplay, shift, False, CurrentTime);
    }
    Sync();
}

Image Desktop::Grab(Rect ARect) const {
    const Rect screen = Screen();
    const int left = std::max(ARect.x, 0), top = std::max(ARect.y, 0);
    const int right = std::min(ARect.x + ARect.w, screen.w), bottom = std::min(ARect.y + ARect.h, screen.h);
    Image image;
    if (right <= left || bottom <= top) return image;
    XImage* shot = XGetImage(FDisplay, FRoot, left, top, right - left, bottom - top, AllPlanes, ZPixmap);
    if (!shot) return image;
    image.w = right - left;
    image.h = bottom - top;
    image.pixels.resize(static_cast<size_t>(image.w) * image.h);
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x)
            image.pixels[static_cast<size_t>(y) * image.w + x] =
                static_cast<uint32_t>(XGetPixel(shot, x, y) & 0xFFFFFF);
    XDestroyImage(shot);
    return image;
}

void Desktop::Screenshot(const std::string& APath) const {
    Grab(Screen()).SavePng(APath);
}

}  // namespace acceptance
