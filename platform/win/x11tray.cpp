// The notification area on X11: the freedesktop system-tray protocol. The
// tray manager owns the selection _NET_SYSTEM_TRAY_S<screen>; each icon is
// an X window of ours that asks to be docked (XEmbed, version 0, mapped),
// shows the icon scaled to its size and turns the pointer's presses,
// releases and moves into the icon's callback messages.
#include <algorithm>
#include <cstring>

#include "platform/base/ustring.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/x11internal.h"

using namespace win;

namespace winsys {

namespace {

constexpr long SystemTrayRequestDock = 0;
constexpr long SystemTrayBeginMessage = 1;
constexpr long XEmbedMapped = 1;
// How long a balloon stays, in milliseconds.
constexpr long BalloonTimeout = 10000;

}  // namespace

void X11Backend::InternTrayAtoms() {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(FScreen);
    FTray.Selection = XInternAtom(FDpy, selection.c_str(), False);
    FTray.Opcode = XInternAtom(FDpy, "_NET_SYSTEM_TRAY_OPCODE", False);
    FTray.Visual = XInternAtom(FDpy, "_NET_SYSTEM_TRAY_VISUAL", False);
    FTray.MessageData = XInternAtom(FDpy, "_NET_SYSTEM_TRAY_MESSAGE_DATA", False);
    FTray.Manager = XInternAtom(FDpy, "MANAGER", False);
    FTray.XEmbedInfo = XInternAtom(FDpy, "_XEMBED_INFO", False);
}

::Window X11Backend::TrayManager() {
    if (!FTray.ManagerWindow) {
        XGrabServer(FDpy);
        FTray.ManagerWindow = XGetSelectionOwner(FDpy, FTray.Selection);
        // Its going away drops the dock.
        if (FTray.ManagerWindow) XSelectInput(FDpy, FTray.ManagerWindow, StructureNotifyMask);
        XUngrabServer(FDpy);
        XFlush(FDpy);
    }
    return FTray.ManagerWindow;
}

void X11Backend::SendTrayOpcode(::Window AManager, long AOpcode, long AData1, long AData2, long AData3,
                                ::Window AIcon) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = AIcon;
    event.xclient.message_type = FTray.Opcode;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(FLastTime);
    event.xclient.data.l[1] = AOpcode;
    event.xclient.data.l[2] = AData1;
    event.xclient.data.l[3] = AData2;
    event.xclient.data.l[4] = AData3;
    XSendEvent(FDpy, AManager, False, NoEventMask, &event);
}

XTrayIcon* X11Backend::FindTrayIcon(HWND AWindow, UINT AId) {
    for (auto& icon : FTrayIcons)
        if (icon->Data.Window == AWindow && icon->Data.Id == AId) return icon.get();
    return nullptr;
}

XTrayIcon* X11Backend::FindTrayIcon(::Window AId) {
    for (auto& icon : FTrayIcons)
        if (icon->Id == AId) return icon.get();
    return nullptr;
}

bool X11Backend::TrayAdd(const TTrayIcon& AIcon) {
    if (FindTrayIcon(AIcon.Window, AIcon.Id)) return false;
    const ::Window manager = TrayManager();
    if (!manager) return false;
    auto icon = std::make_unique<XTrayIcon>();
    icon->Data = AIcon;
    // The manager's visual when it offers one, else a background the
    // tray's own shows through.
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    XSetWindowAttributes attributes{};
    unsigned long mask = CWEventMask;
    attributes.event_mask =
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ExposureMask | StructureNotifyMask;
    const std::vector<long> offered = ReadCardinals(manager, FTray.Visual);
    XVisualInfo wanted{};
    int count = 0;
    if (!offered.empty()) {
        wanted.visualid = VisualID(offered[0]);
        wanted.screen = FScreen;
        XPtr<XVisualInfo> found(XGetVisualInfo(FDpy, VisualIDMask | VisualScreenMask, &wanted, &count));
        if (found && count > 0) {
            visual = found.get()->visual;
            depth = found.get()->depth;
            icon->Map = XCreateColormap(FDpy, FRoot, visual, AllocNone);
            attributes.colormap = icon->Map;
            attributes.background_pixel = 0;
            attributes.border_pixel = 0;
            mask |= CWColormap | CWBackPixel | CWBorderPixel;
            icon->Depth = depth;
        }
    }
    if (visual == CopyFromParent) {
        attributes.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
        icon->Depth = DefaultDepth(FDpy, FScreen);
    }
    icon->Id = XCreateWindow(FDpy, FRoot, 0, 0, 22, 22, 0, depth, InputOutput, visual, mask, &attributes);
    // The size the tray gives an icon that asks for none is a pixel wide.
    XSizeHints hints{};
    hints.flags = PMinSize | PBaseSize;
    hints.min_width = hints.base_width = 22;
    hints.min_height = hints.base_height = 22;
    XSetWMNormalHints(FDpy, icon->Id, &hints);
    const long info[2] = {0, XEmbedMapped};
    XChangeProperty(FDpy, icon->Id, FTray.XEmbedInfo, FTray.XEmbedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    XTrayIcon* added = icon.get();
    FTrayIcons.push_back(std::move(icon));
    ApplyTrayIcon(*added);
    SendTrayOpcode(manager, SystemTrayRequestDock, long(added->Id), 0, 0, manager);
    XFlush(FDpy);
    return true;
}

bool X11Backend::TrayModify(const TTrayIcon& AIcon) {
    XTrayIcon* icon = FindTrayIcon(AIcon.Window, AIcon.Id);
    if (!icon || !FTray.ManagerWindow) return false;
    icon->Data = AIcon;
    ApplyTrayIcon(*icon);
    XFlush(FDpy);
    return true;
}

bool X11Backend::TrayDelete(HWND AWindow, UINT AId) {
    XTrayIcon* icon = FindTrayIcon(AWindow, AId);
    if (!icon) return false;
    DropTrayIcon(icon);
    XFlush(FDpy);
    return true;
}

void X11Backend::DropTrayIcon(XTrayIcon* AIcon) {
    XDestroyWindow(FDpy, AIcon->Id);
    if (AIcon->Map) XFreeColormap(FDpy, AIcon->Map);
    std::erase_if(FTrayIcons,
                  [AIcon](const std::unique_ptr<XTrayIcon>& AItem) { return AItem.get() == AIcon; });
}

void X11Backend::ApplyTrayIcon(XTrayIcon& AIcon) {
    const std::string tip = StringToUTF8(AIcon.Data.Tip);
    XChangeProperty(FDpy, AIcon.Id, FAtoms.NetWmName, FAtoms.Utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(tip.data()), int(tip.size()));
    DrawTrayIcon(AIcon);
    if (!AIcon.Data.ShowBalloon || AIcon.Data.BalloonText.empty()) return;
    // The balloon: its length, then its bytes twenty to a message.
    const std::string title = StringToUTF8(AIcon.Data.BalloonTitle);
    const std::string text = title.empty() ? StringToUTF8(AIcon.Data.BalloonText)
                                           : title + "\n" + StringToUTF8(AIcon.Data.BalloonText);
    const long id = ++AIcon.BalloonId;
    SendTrayOpcode(FTray.ManagerWindow, SystemTrayBeginMessage, BalloonTimeout, long(text.size()), id,
                   AIcon.Id);
    for (size_t at = 0; at < text.size(); at += 20) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = AIcon.Id;
        event.xclient.message_type = FTray.MessageData;
        event.xclient.format = 8;
        std::memcpy(event.xclient.data.b, text.data() + at, std::min<size_t>(20, text.size() - at));
        XSendEvent(FDpy, FTray.ManagerWindow, False, StructureNotifyMask, &event);
    }
}

void X11Backend::DrawTrayIcon(XTrayIcon& AIcon) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(FDpy, AIcon.Id, &attributes) || attributes.width <= 0 || attributes.height <= 0)
        return;
    const int width = attributes.width, height = attributes.height;
    XClearWindow(FDpy, AIcon.Id);
    if (!AIcon.Data.Icon || (attributes.depth != 24 && attributes.depth != 32)) return;
    // The icon drawn scaled over what the tray shows behind it.
    XPtr<XImage> background(
        XGetImage(FDpy, AIcon.Id, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap));
    if (!background || background->bits_per_pixel != 32) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = uint32_t(XGetPixel(background.get(), x, y)) | 0xFF000000u;
    DrawIconEx(dc, 0, 0, AIcon.Data.Icon, width, height, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            XPutPixel(background.get(), x, y,
                      pixels[y * width + x] | (attributes.depth == 32 ? 0xFF000000u : 0));
    XPutImage(FDpy, AIcon.Id, DefaultGC(FDpy, FScreen), background.get(), 0, 0, 0, 0, unsigned(width),
              unsigned(height));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

bool X11Backend::HandleTrayEvent(XEvent& AEvent) {
    if (AEvent.type == ClientMessage && AEvent.xclient.window == FRoot &&
        AEvent.xclient.message_type == FTray.Manager && Atom(AEvent.xclient.data.l[1]) == FTray.Selection) {
        // A tray appeared or restarted: every program adds its icons again.
        while (!FTrayIcons.empty())
            DropTrayIcon(FTrayIcons.back().get());
        FTray.ManagerWindow = 0;
        PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(u"TaskbarCreated"), 0, 0);
        return true;
    }
    if (AEvent.type == DestroyNotify && FTray.ManagerWindow &&
        AEvent.xdestroywindow.window == FTray.ManagerWindow) {
        FTray.ManagerWindow = 0;
        while (!FTrayIcons.empty())
            DropTrayIcon(FTrayIcons.back().get());
        return false;
    }
    ::Window target = 0;
    switch (AEvent.type) {
        case ButtonPress:
        case ButtonRelease:
            target = AEvent.xbutton.window;
            break;
        case MotionNotify:
            target = AEvent.xmotion.window;
            break;
        case Expose:
            target = AEvent.xexpose.window;
            break;
        case ConfigureNotify:
            target = AEvent.xconfigure.window;
            break;
        default:
            return false;
    }
    XTrayIcon* icon = FindTrayIcon(target);
    if (!icon) return false;
    if (AEvent.type == Expose || AEvent.type == ConfigureNotify) {
        if (AEvent.type == ConfigureNotify || AEvent.xexpose.count == 0) DrawTrayIcon(*icon);
        return false;
    }
    UINT message = WM_MOUSEMOVE;
    POINT at{};
    if (AEvent.type == MotionNotify) {
        at = POINT{AEvent.xmotion.x_root, AEvent.xmotion.y_root};
    } else {
        const XButtonEvent& e = AEvent.xbutton;
        at = POINT{e.x_root, e.y_root};
        const bool press = e.type == ButtonPress;
        switch (e.button) {
            case Button1:
                message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                break;
            case Button2:
                message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
                break;
            case Button3:
                message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                break;
            default:
                return false;
        }
        if (press) {
            // A second press soon after and near the first is a double click.
            const bool twice =
                e.button == icon->LastButton && e.time - icon->LastPress <= GetDoubleClickTime() &&
                std::abs(e.x_root - icon->LastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                std::abs(e.y_root - icon->LastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            if (twice)
                message = message == WM_LBUTTONDOWN   ? WM_LBUTTONDBLCLK
                          : message == WM_RBUTTONDOWN ? WM_RBUTTONDBLCLK
                                                      : WM_MBUTTONDBLCLK;
            icon->LastButton = twice ? 0 : e.button;
            icon->LastPress = e.time;
            icon->LastPoint = at;
        }
    }
    // The menu a click opens goes where the pointer is.
    ReportCursorPos(at);
    PostMessageW(icon->Data.Window, icon->Data.CallbackMessage, icon->Data.Id, LPARAM(message));
    return true;
}

}  // namespace winsys
