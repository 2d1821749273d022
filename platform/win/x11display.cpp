// The X11 back end's connection: opening it, the visual, the screen with its
// monitors and work area, cursors, and property reading.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/base/sysutils.h"
#include "platform/gdi/capabilities.h"
#include "platform/win/input.h"
#include "platform/win/x11internal.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/shape.h>

using namespace win;

namespace winsys {

namespace {

// Windows can vanish between a request and its processing (the window
// manager, a library's window), and Xlib's default handler would end the
// program for that.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

// The shift of an 8-bit colour channel, -1 when the mask is not one.
int ChannelShift(unsigned long AMask) {
    if (AMask == 0) return -1;
    const int shift = std::countr_zero(AMask);
    return (AMask >> shift) == 0xFF ? shift : -1;
}

bool Overlap(const RECT& A, const RECT& B, RECT& AResult) {
    AResult = RECT{std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right),
                   std::min(A.bottom, B.bottom)};
    return AResult.left < AResult.right && AResult.top < AResult.bottom;
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (FFd >= 0) close(FFd);
}

X11Backend::X11Backend(const std::string& ADisplayName) : FWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    const char* name = ADisplayName.empty() ? nullptr : ADisplayName.c_str();
    FDisplay.reset(XOpenDisplay(name));
    if (!FDisplay) throw Exception(u"Cannot open the X display \"%s\".", {XDisplayName(name)});
    if (FWakeFd.Get() < 0) throw Exception(u"Cannot create the event loop's wake-up descriptor.");
    FDpy = FDisplay.get();
    XSetErrorHandler(IgnoreError);
    FScreen = DefaultScreen(FDpy);
    FRoot = RootWindow(FDpy, FScreen);

    const char* names[] = {"WM_PROTOCOLS",
                           "WM_DELETE_WINDOW",
                           "WM_STATE",
                           "_NET_WM_PING",
                           "_NET_WM_NAME",
                           "UTF8_STRING",
                           "_MOTIF_WM_HINTS",
                           "_NET_WM_STATE",
                           "_NET_WM_STATE_ABOVE",
                           "_NET_WM_STATE_SKIP_TASKBAR",
                           "_NET_WM_STATE_SKIP_PAGER",
                           "_NET_WM_STATE_MODAL",
                           "_NET_WM_WINDOW_TYPE",
                           "_NET_WM_WINDOW_TYPE_NORMAL",
                           "_NET_WM_WINDOW_TYPE_DIALOG",
                           "_NET_WM_ICON",
                           "_NET_WM_PID",
                           "_NET_WM_WINDOW_OPACITY",
                           "_NET_ACTIVE_WINDOW",
                           "_NET_SUPPORTING_WM_CHECK",
                           "_NET_WORKAREA",
                           "_NET_CURRENT_DESKTOP",
                           "_NET_CLIENT_LIST_STACKING",
                           "CLIPBOARD",
                           "TARGETS",
                           "TEXT",
                           "INCR",
                           "VELQUA_TRANSFER"};
    static_assert(sizeof(names) / sizeof(names[0]) == sizeof(X11Atoms) / sizeof(Atom));
    XInternAtoms(FDpy, const_cast<char**>(names), int(std::size(names)), False,
                 reinterpret_cast<Atom*>(&FAtoms));

    ChooseVisual();
    int event, error;
    FHasShape = XShapeQueryExtension(FDpy, &event, &error);
    int major = 0, minor = 0;
    FHasInputShape = FHasShape && XShapeQueryVersion(FDpy, &major, &minor) && (major > 1 || minor >= 1);
    // Held keys repeat as presses only, as on Windows.
    Bool detectable;
    XkbSetDetectableAutoRepeat(FDpy, True, &detectable);

    FHidden = XCreateSimpleWindow(FDpy, FRoot, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(FDpy, FHidden, PropertyChangeMask);
    XSelectInput(FDpy, FRoot, PropertyChangeMask | StructureNotifyMask);
    InternTrayAtoms();
    OpenInputMethod();
    FWmRunning = WindowManagerRunning();
    ReadScreen();
    ReadDoubleClickTime();
    FCursor = CursorFor(LoadCursorW(nullptr, IDC_ARROW));
    XFlush(FDpy);
}

X11Backend::~X11Backend() {
    for (const auto& [handle, child] : FNativeChildren)
        XDestroyWindow(FDpy, child.Id);
    FWindows.clear();
    for (const auto& [handle, cursor] : FCursors)
        XFreeCursor(FDpy, cursor);
    if (FIm) XCloseIM(FIm);
    XFreeGC(FDpy, FGc);
    if (FOwnColormap) XFreeColormap(FDpy, FColormap);
    XDestroyWindow(FDpy, FHidden);
}

void X11Backend::ChooseVisual() {
    FVisual = DefaultVisual(FDpy, FScreen);
    FDepth = DefaultDepth(FDpy, FScreen);
    FColormap = DefaultColormap(FDpy, FScreen);

    const Atom manager = XInternAtom(FDpy, ("_NET_WM_CM_S" + std::to_string(FScreen)).c_str(), False);
    XVisualInfo argb;
    if (XMatchVisualInfo(FDpy, FScreen, 32, TrueColor, &argb) && XGetSelectionOwner(FDpy, manager) != 0) {
        FVisual = argb.visual;
        FDepth = 32;
        FColormap = XCreateColormap(FDpy, FRoot, FVisual, AllocNone);
        FOwnColormap = true;
        FArgb = true;
    }
    // Without a compositor nothing blends a window with what lies below.
    TCapabilities& caps = Capabilities();
    caps.HasSetLayeredWindowAttributes = FArgb;
    caps.HasUpdateLayeredWindow = FArgb;

    int bitsPerPixel = 0, count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(FDpy, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == FDepth) bitsPerPixel = formats[i].bits_per_pixel;
        XFree(formats);
    }
    FRedShift = ChannelShift(FVisual->red_mask);
    FGreenShift = ChannelShift(FVisual->green_mask);
    FBlueShift = ChannelShift(FVisual->blue_mask);
    // c_class is the member's name in C++.
    if (FVisual->c_class != TrueColor || bitsPerPixel != 32 || FRedShift < 0 || FGreenShift < 0 ||
        FBlueShift < 0)
        throw Exception(u"The X display must show 24-bit colour (its depth is %d).", {FDepth});
    FDirectPixels = FRedShift == 16 && FGreenShift == 8 && FBlueShift == 0;
    if (FArgb)
        FAlphaShift =
            ChannelShift(0xFFFFFFFFul & ~(FVisual->red_mask | FVisual->green_mask | FVisual->blue_mask));

    const Pixmap probe = XCreatePixmap(FDpy, FRoot, 1, 1, unsigned(FDepth));
    XGCValues values{};
    values.graphics_exposures = False;
    FGc = XCreateGC(FDpy, probe, GCGraphicsExposures, &values);
    XFreePixmap(FDpy, probe);
}

bool X11Backend::ReadScreen() {
    ::Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(FDpy, FRoot, &root, &x, &y, &width, &height, &border, &depth)) return false;

    std::vector<RECT> monitors;
    if (XineramaIsActive(FDpy)) {
        int count = 0;
        XPtr<XineramaScreenInfo> screens(XineramaQueryScreens(FDpy, &count));
        for (int i = 0; screens && i < count; ++i) {
            const XineramaScreenInfo& s = screens.get()[i];
            const RECT r{s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height};
            // Mirrored outputs are one monitor.
            if (std::none_of(monitors.begin(), monitors.end(), [&](const RECT& m) {
                    return m.left == r.left && m.top == r.top && m.right == r.right && m.bottom == r.bottom;
                }))
                monitors.push_back(r);
        }
    }
    // The primary monitor is the one at (0, 0), as screen coordinates need.
    const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                      [](const RECT& m) { return m.left == 0 && m.top == 0; });
    if (primary == monitors.end())
        monitors.assign(1, RECT{0, 0, int(width), int(height)});
    else
        std::rotate(monitors.begin(), primary, primary + 1);

    std::optional<RECT> work;
    const std::vector<long> areas = ReadCardinals(FRoot, FAtoms.NetWorkarea);
    const std::vector<long> desktop = ReadCardinals(FRoot, FAtoms.NetCurrentDesktop);
    const size_t index = desktop.empty() ? 0 : size_t(desktop[0]) * 4;
    if (index + 4 <= areas.size())
        work = RECT{int(areas[index]), int(areas[index + 1]), int(areas[index] + areas[index + 2]),
                    int(areas[index + 1] + areas[index + 3])};
    std::vector<TMonitorArea> monitorAreas;
    for (const RECT& m : monitors) {
        RECT area = m;
        if (work && !Overlap(m, *work, area)) area = m;
        monitorAreas.push_back(TMonitorArea{m, area});
    }

    TCapabilities& caps = Capabilities();
    const RECT old{0, 0, caps.ScreenWidth, caps.ScreenHeight};
    auto same = [](const RECT& A, const RECT& B) {
        return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
    };
    bool changed = !same(old, monitorAreas[0].Bounds) || !same(caps.WorkArea, monitorAreas[0].WorkArea) ||
                   caps.OtherMonitors.size() != monitorAreas.size() - 1;
    for (size_t i = 1; !changed && i < monitorAreas.size(); ++i)
        changed = !same(caps.OtherMonitors[i - 1].Bounds, monitorAreas[i].Bounds) ||
                  !same(caps.OtherMonitors[i - 1].WorkArea, monitorAreas[i].WorkArea);
    caps.ScreenWidth = monitorAreas[0].Bounds.right;
    caps.ScreenHeight = monitorAreas[0].Bounds.bottom;
    caps.WorkArea = monitorAreas[0].WorkArea;
    caps.OtherMonitors.assign(monitorAreas.begin() + 1, monitorAreas.end());
    return changed;
}

// The desktop's multiClickTime resource, where one is set.
void X11Backend::ReadDoubleClickTime() {
    const char* resources = XResourceManagerString(FDpy);
    if (!resources) return;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (!database) return;
    char* type = nullptr;
    XrmValue value{};
    if (XrmGetResource(database, "velqua.multiClickTime", "Velqua.MultiClickTime", &type, &value) &&
        value.addr) {
        const long ms = std::strtol(value.addr, nullptr, 10);
        if (ms >= 100 && ms <= 5000) Capabilities().DoubleClickTime = UINT(ms);
    }
    XrmDestroyDatabase(database);
}

Cursor X11Backend::CursorFor(HCURSOR ACursor) {
    const auto cached = FCursors.find(ACursor);
    if (cached != FCursors.end()) return cached->second;
    Cursor cursor = 0;
    if (!ACursor) {
        // No cursor: an empty one.
        static const char empty[1] = {0};
        const Pixmap blank = XCreateBitmapFromData(FDpy, FRoot, empty, 1, 1);
        XColor black{};
        cursor = XCreatePixmapCursor(FDpy, blank, blank, &black, &black, 0, 0);
        XFreePixmap(FDpy, blank);
    } else {
        unsigned shape = XC_left_ptr;
        switch (reinterpret_cast<uintptr_t>(ACursor)) {
            case 32513:
                shape = XC_xterm;
                break;
            case 32514:
            case 32650:
                shape = XC_watch;
                break;
            case 32515:
                shape = XC_crosshair;
                break;
            case 32516:
                shape = XC_sb_up_arrow;
                break;
            case 32642:
                shape = XC_bottom_right_corner;
                break;
            case 32643:
                shape = XC_bottom_left_corner;
                break;
            case 32644:
                shape = XC_sb_h_double_arrow;
                break;
            case 32645:
                shape = XC_sb_v_double_arrow;
                break;
            case 32646:
                shape = XC_fleur;
                break;
            case 32648:
                shape = XC_circle;
                break;
            case 32649:
                shape = XC_hand2;
                break;
            case 32651:
                shape = XC_question_arrow;
                break;
            default:
                break;
        }
        cursor = XCreateFontCursor(FDpy, shape);
    }
    FCursors.emplace(ACursor, cursor);
    return cursor;
}

bool X11Backend::WindowManagerRunning() {
    // A window manager that died leaves the root's property behind; its
    // check window is gone then.
    const std::vector<long> check = ReadCardinals(FRoot, FAtoms.NetSupportingWmCheck);
    if (check.empty() || !check[0]) return false;
    const std::vector<long> self = ReadCardinals(::Window(check[0]), FAtoms.NetSupportingWmCheck);
    return !self.empty() && self[0] == check[0];
}

bool X11Backend::ReadProperty(::Window AWindow, Atom AProperty, bool ADelete, Atom& AType, int& AFormat,
                              std::string& AData) {
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDpy, AWindow, AProperty, 0, 0x1FFFFFFF, ADelete ? True : False, AnyPropertyType,
                           &AType, &AFormat, &count, &after, &data) != Success) {
        AType = 0;
        return false;
    }
    const XPtr<unsigned char> hold(data);
    // Xlib hands 32-bit items out as longs.
    const size_t unit = AFormat == 32 ? sizeof(long) : size_t(AFormat / 8);
    AData.assign(reinterpret_cast<const char*>(data), data ? count * unit : 0);
    return AType != 0;
}

std::vector<long> X11Backend::ReadCardinals(::Window AWindow, Atom AProperty) {
    Atom type;
    int format = 0;
    std::string data;
    std::vector<long> result;
    if (!ReadProperty(AWindow, AProperty, false, type, format, data) || format != 32) return result;
    result.resize(data.size() / sizeof(long));
    std::memcpy(result.data(), data.data(), result.size() * sizeof(long));
    return result;
}

bool X11Backend::WaitForEvent(::Window AWindow, int AType, XEvent& AEvent, int ATimeout) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeout);
    for (;;) {
        if (XCheckTypedWindowEvent(FDpy, AWindow, AType, &AEvent)) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{ConnectionNumber(FDpy), POLLIN, 0};
        poll(&fd, 1, int(left.count()));
    }
}

void X11Backend::Beep(UINT) {
    XBell(FDpy, 0);
    XFlush(FDpy);
}

}  // namespace winsys
