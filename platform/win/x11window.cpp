// The X11 back end's windows: undecorated top-level X windows with a backing
// pixmap, their window manager properties, presentation, shapes, layered
// alpha, capture, focus, cursors and native child windows.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/base/ustring.h"
#include "platform/gdi/icons.h"
#include "platform/win/window.h"
#include "platform/win/x11internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

using namespace win;

namespace winsys {

namespace {

// No exposures: the display draws them from the window's background pixmap.
constexpr long TopLevelEvents = StructureNotifyMask | FocusChangeMask | KeyPressMask | KeyReleaseMask |
                                ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                LeaveWindowMask | PropertyChangeMask;
constexpr unsigned GrabEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

int Width(const RECT& R) {
    return R.right - R.left;
}
int Height(const RECT& R) {
    return R.bottom - R.top;
}
bool SameRect(const RECT& A, const RECT& B) {
    return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// X sizes are at least 1; empty windows stay unmapped.
unsigned XSize(int AValue) {
    return unsigned(std::max(1, AValue));
}

struct TIconPicture {
    std::vector<uint32_t> Pixels;
    int Width = 0;
    int Height = 0;
};

// The picture of that size, else the largest one box-filtered to it: each
// pixel averages the ones it covers, colours weighted by their alpha.
std::vector<uint32_t> IconAtSize(const std::vector<TIconPicture>& APictures, int ASize) {
    const TIconPicture* source = &APictures.front();
    for (const TIconPicture& p : APictures) {
        if (p.Width == ASize && p.Height == ASize) return p.Pixels;
        if (p.Width * p.Height > source->Width * source->Height) source = &p;
    }
    std::vector<uint32_t> result(size_t(ASize) * size_t(ASize));
    for (int y = 0; y < ASize; ++y) {
        const int y0 = y * source->Height / ASize, y1 = std::max(y0 + 1, (y + 1) * source->Height / ASize);
        for (int x = 0; x < ASize; ++x) {
            const int x0 = x * source->Width / ASize, x1 = std::max(x0 + 1, (x + 1) * source->Width / ASize);
            uint64_t alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const uint32_t p = source->Pixels[size_t(sy) * size_t(source->Width) + size_t(sx)];
                    const uint32_t a = p >> 24;
                    alpha += a;
                    red += ((p >> 16) & 0xFF) * a;
                    green += ((p >> 8) & 0xFF) * a;
                    blue += (p & 0xFF) * a;
                }
            const uint64_t count = uint64_t(x1 - x0) * uint64_t(y1 - y0);
            if (!alpha) continue;
            result[size_t(y) * size_t(ASize) + size_t(x)] =
                uint32_t(alpha / count) << 24 | uint32_t(red / alpha) << 16 | uint32_t(green / alpha) << 8 |
                uint32_t(blue / alpha);
        }
    }
    return result;
}

gdi::PixRegion SolidPart(const gdi::Surface& APixels) {
    std::vector<RECT> runs;
    std::vector<gdi::Pixel> row(size_t(APixels.Width));
    for (int y = 0; y < APixels.Height; ++y) {
        gdi::FetchRow(APixels, 0, y, APixels.Width, row.data());
        for (int x = 0; x < APixels.Width;) {
            if (!(row[size_t(x)] & gdi::AlphaMask)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < APixels.Width && (row[size_t(x)] & gdi::AlphaMask))
                ++x;
            runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    return gdi::PixRegion::FromRects(runs);
}

}  // namespace

XTopLevel::~XTopLevel() {
    if (Ic) XDestroyIC(Ic);
    XDestroyWindow(Dpy, Id);
    if (Pixels) XFreePixmap(Dpy, Pixels);
}

XTopLevel* X11Backend::Find(HWND AWindow) {
    const auto it = FWindows.find(AWindow);
    return it == FWindows.end() ? nullptr : it->second.get();
}

HWND X11Backend::HandleOf(::Window AWindow) const {
    const auto it = FByXId.find(AWindow);
    return it == FByXId.end() ? nullptr : it->second;
}

void X11Backend::CreateTopLevel(HWND AWindow, const TTopLevelState& AState) {
    if (Find(AWindow)) {
        UpdateTopLevel(AWindow, AState);
        return;
    }
    XSetWindowAttributes attributes{};
    // No background until the pixmap of what is presented becomes it.
    attributes.background_pixmap = 0;
    attributes.border_pixel = 0;
    attributes.colormap = FColormap;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = TopLevelEvents;
    // Override-redirect from the start: a window manager that gets its
    // first moves redirected could apply them after later ones.
    const bool overrideRedirect = AState.Popup && AState.ToolWindow;
    attributes.override_redirect = overrideRedirect;
    attributes.save_under = overrideRedirect;
    const RECT& b = AState.Bounds;
    const ::Window id = XCreateWindow(FDpy, FRoot, b.left, b.top, XSize(Width(b)), XSize(Height(b)), 0,
                                      FDepth, InputOutput, FVisual,
                                      CWBackPixmap | CWBorderPixel | CWColormap | CWBitGravity | CWEventMask |
                                          CWOverrideRedirect | CWSaveUnder,
                                      &attributes);
    auto record = std::make_unique<XTopLevel>(FDpy, id);
    record->OverrideRedirect = overrideRedirect;

    Atom protocols[] = {FAtoms.WmDeleteWindow, FAtoms.NetWmPing};
    XSetWMProtocols(FDpy, id, protocols, 2);
    WriteIdentity(id);
    // The system draws every frame itself.
    const long motif[5] = {2 /* decorations */, 0, 0, 0, 0};
    XChangeProperty(FDpy, id, FAtoms.MotifWmHints, FAtoms.MotifWmHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    long imEvents = 0;
    record->Ic = CreateInputContext(id, imEvents);
    if (imEvents) XSelectInput(FDpy, id, TopLevelEvents | imEvents);
    XDefineCursor(FDpy, id, FCursor);

    FByXId[id] = AWindow;
    XTopLevel& w = *record;
    FWindows[AWindow] = std::move(record);
    Apply(AWindow, w, AState);
}

void X11Backend::UpdateTopLevel(HWND AWindow, const TTopLevelState& AState) {
    if (XTopLevel* w = Find(AWindow)) Apply(AWindow, *w, AState);
}

void X11Backend::DestroyTopLevel(HWND AWindow) {
    const auto it = FWindows.find(AWindow);
    if (it == FWindows.end()) return;
    // Its subwindows go with it.
    std::erase_if(FNativeChildren,
                  [AWindow](const auto& AChild) { return AChild.second.TopLevel == AWindow; });
    if (FGrab == AWindow) FGrab = nullptr;
    if (FGrabPending == AWindow) FGrabPending = nullptr;
    if (FFocusPending == AWindow) FFocusPending = nullptr;
    FByXId.erase(it->second->Id);
    FWindows.erase(it);
    XFlush(FDpy);
}

void X11Backend::WriteIdentity(::Window AWindow) {
    char name[] = "velqua", cls[] = "Velqua";
    XClassHint hint{name, cls};
    XSetClassHint(FDpy, AWindow, &hint);
    const long pid = long(getpid());
    XChangeProperty(FDpy, AWindow, FAtoms.NetWmPid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return;
    char* names[] = {host};
    XTextProperty machine{};
    if (!XStringListToTextProperty(names, 1, &machine)) return;
    XSetWMClientMachine(FDpy, AWindow, &machine);
    XFree(machine.value);
}

void X11Backend::Apply(HWND AWindow, XTopLevel& AWin, const TTopLevelState& AState) {
    const TTopLevelState old = AWin.State;
    const bool wasMapped = AWin.Mapped;
    const bool first = !AWin.Initialised;
    AWin.Initialised = true;
    AWin.State = AState;

    // Menus, hints and glow windows: no window manager, never the focus.
    const bool overrideRedirect = AState.Popup && AState.ToolWindow;
    if (first || overrideRedirect != AWin.OverrideRedirect) {
        // The attribute counts when the window is mapped.
        if (AWin.Mapped) {
            XUnmapWindow(FDpy, AWin.Id);
            AWin.Mapped = AWin.MapPending = AWin.Viewable = false;
            AWin.Frame = 0;
        }
        XSetWindowAttributes attributes{};
        attributes.override_redirect = overrideRedirect;
        attributes.save_under = overrideRedirect;
        XChangeWindowAttributes(FDpy, AWin.Id, CWOverrideRedirect | CWSaveUnder, &attributes);
        AWin.OverrideRedirect = overrideRedirect;
        SetWmHints(AWin, false);
    }

    const RECT& b = AState.Bounds;
    // Before the window takes its size: what the resize exposes comes from
    // a pixmap of that size.
    SizePixels(AWin, XSize(Width(b)), XSize(Height(b)));
    if (first || !SameRect(b, old.Bounds)) {
        AWin.ConfigureSerial = NextRequest(FDpy);
        XMoveResizeWindow(FDpy, AWin.Id, b.left, b.top, XSize(Width(b)), XSize(Height(b)));
        if (!overrideRedirect) {
            // Our own position, not one the window manager picks.
            XSizeHints hints{};
            hints.flags = USPosition | USSize;
            hints.x = b.left;
            hints.y = b.top;
            hints.width = int(XSize(Width(b)));
            hints.height = int(XSize(Height(b)));
            XSetWMNormalHints(FDpy, AWin.Id, &hints);
        }
    }

    const bool clickThrough = (GetWindowLongW(AWindow, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
    if (first || clickThrough != AWin.ClickThrough) {
        AWin.ClickThrough = clickThrough;
        ApplyShape(AWin);
    }
    if (!first && old.Layered && !AState.Layered) {
        SetOpacity(AWin, 255);
        AWin.Solid.reset();
        ApplyShape(AWin);
    }
    ApplyWmProperties(AWin, old, first);
    ApplyMapping(AWin, old, first);
    // Its dialogs are kept above it only while it is on the screen.
    if (AWin.Mapped != wasMapped)
        for (const auto& [handle, w] : FWindows)
            if (w->State.Owner == AWindow && w.get() != &AWin) ApplyOwner(*w);
    XFlush(FDpy);
}

void X11Backend::SetWmHints(XTopLevel& AWin, bool AIconic) {
    XPtr<XWMHints> hints(XAllocWMHints());
    if (!hints) return;
    hints->flags = InputHint | StateHint | WindowGroupHint;
    hints->input = AWin.OverrideRedirect ? False : True;
    hints->initial_state = AIconic ? IconicState : NormalState;
    // One program: the window manager lets its windows pass the focus on.
    hints->window_group = FHidden;
    XSetWMHints(FDpy, AWin.Id, hints.get());
}

void X11Backend::ApplyWmProperties(XTopLevel& AWin, const TTopLevelState& AOld, bool AFirst) {
    const TTopLevelState& s = AWin.State;
    if (AFirst || s.Title != AOld.Title) {
        const std::string title = StringToUTF8(s.Title);
        const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
        XChangeProperty(FDpy, AWin.Id, FAtoms.NetWmName, FAtoms.Utf8String, 8, PropModeReplace, bytes,
                        int(title.size()));
        XChangeProperty(FDpy, AWin.Id, XA_WM_NAME, FAtoms.Utf8String, 8, PropModeReplace, bytes,
                        int(title.size()));
    }
    ApplyOwner(AWin);
    if (s.Icon != AWin.Icon || s.SmallIcon != AWin.SmallIcon) WriteIcons(AWin);
    if (AWin.Mapped && !AWin.MapPending && !AWin.OverrideRedirect) {
        if (s.ToolWindow != AOld.ToolWindow) {
            SendNetWmState(AWin, FAtoms.NetWmStateSkipTaskbar, s.ToolWindow);
            SendNetWmState(AWin, FAtoms.NetWmStateSkipPager, s.ToolWindow);
        }
        if (s.Topmost != AOld.Topmost) SendNetWmState(AWin, FAtoms.NetWmStateAbove, s.Topmost);
    }
}

void X11Backend::ApplyOwner(XTopLevel& AWin) {
    if (AWin.OverrideRedirect) return;
    // Kept above an owner on the screen; an owner that is never shown (the
    // application's window) must not hide the window from the task bar.
    const XTopLevel* owner = Find(AWin.State.Owner);
    const ::Window transient = owner && owner->Mapped && !owner->State.Minimized ? owner->Id : 0;
    if (transient != AWin.TransientFor || !AWin.TypeWritten) {
        if (transient)
            XSetTransientForHint(FDpy, AWin.Id, transient);
        else
            XDeleteProperty(FDpy, AWin.Id, XA_WM_TRANSIENT_FOR);
        const Atom type = transient ? FAtoms.NetWmWindowTypeDialog : FAtoms.NetWmWindowTypeNormal;
        XChangeProperty(FDpy, AWin.Id, FAtoms.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&type), 1);
        AWin.TransientFor = transient;
        AWin.TypeWritten = true;
    }
    const bool modal = AWin.State.Modal && transient;
    if (modal == AWin.Modal) return;
    AWin.Modal = modal;
    // A window not on the display yet takes it from its first map.
    if (AWin.Mapped && !AWin.MapPending) SendNetWmState(AWin, FAtoms.NetWmStateModal, modal);
}

void X11Backend::WriteIcons(XTopLevel& AWin) {
    AWin.Icon = AWin.State.Icon;
    AWin.SmallIcon = AWin.State.SmallIcon;
    std::vector<TIconPicture> pictures;
    for (HICON icon : {AWin.SmallIcon, AWin.Icon}) {
        TIconPicture picture;
        if (icon && gdi::IconPixels(icon, picture.Pixels, picture.Width, picture.Height))
            pictures.push_back(std::move(picture));
    }
    if (pictures.empty()) {
        XDeleteProperty(FDpy, AWin.Id, FAtoms.NetWmIcon);
        return;
    }
    // Xlib takes 32-bit items as longs.
    std::vector<long> data;
    for (const int size : {16, 32, 48}) {
        data.push_back(size);
        data.push_back(size);
        for (const uint32_t pixel : IconAtSize(pictures, size))
            data.push_back(long(pixel));
    }
    XChangeProperty(FDpy, AWin.Id, FAtoms.NetWmIcon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
}

void X11Backend::WriteNetWmState(XTopLevel& AWin) {
    std::vector<Atom> states;
    if (AWin.Modal) states.push_back(FAtoms.NetWmStateModal);
    if (AWin.State.Topmost) states.push_back(FAtoms.NetWmStateAbove);
    if (AWin.State.ToolWindow) {
        states.push_back(FAtoms.NetWmStateSkipTaskbar);
        states.push_back(FAtoms.NetWmStateSkipPager);
    }
    XChangeProperty(FDpy, AWin.Id, FAtoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), int(states.size()));
}

void X11Backend::SendNetWmState(XTopLevel& AWin, Atom AState, bool AOn) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = AWin.Id;
    event.xclient.message_type = FAtoms.NetWmState;
    event.xclient.format = 32;
    event.xclient.data.l[0] = AOn ? 1 : 0;
    event.xclient.data.l[1] = long(AState);
    event.xclient.data.l[3] = 1;  // an application's request
    XSendEvent(FDpy, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void X11Backend::ApplyMapping(XTopLevel& AWin, const TTopLevelState& AOld, bool AFirst) {
    const TTopLevelState& s = AWin.State;
    const bool empty = Width(s.Bounds) <= 0 || Height(s.Bounds) <= 0;
    // Only the window manager can iconify; a popup has none.
    const bool shown = s.Visible && !empty && !(s.Minimized && AWin.OverrideRedirect);
    if (!shown) {
        if (AWin.Mapped && !AWin.MapPending) {
            if (AWin.OverrideRedirect)
                XUnmapWindow(FDpy, AWin.Id);
            else
                XWithdrawWindow(FDpy, AWin.Id, FScreen);
        }
        AWin.Mapped = AWin.MapPending = AWin.Viewable = false;
        return;
    }
    if (!AWin.Mapped) {
        // Mapped once the layer has painted and presented it (or at the next
        // wait): mapped now, it would show what lay there before until then.
        AWin.Mapped = AWin.MapPending = true;
        return;
    }
    // Its first map gives the state.
    if (AWin.MapPending) return;
    if (s.Minimized && (AFirst || !AOld.Minimized))
        XIconifyWindow(FDpy, AWin.Id, FScreen);
    else if (!s.Minimized && AOld.Minimized)
        XMapWindow(FDpy, AWin.Id);
}

void X11Backend::MapPendingWindows() {
    for (const auto& [handle, w] : FWindows)
        if (w->MapPending) MapNow(handle, *w);
    XFlush(FDpy);
}

void X11Backend::MapNow(HWND AWindow, XTopLevel& AWin) {
    AWin.MapPending = false;
    if (!AWin.OverrideRedirect) {
        SetWmHints(AWin, AWin.State.Minimized);
        WriteNetWmState(AWin);
    }
    // Mapping leaves a window where it was made; the layer's order puts it in
    // its place, a popup's before it appears (a managed window's stacking
    // is the window manager's once it asks to map it).
    if (AWin.OverrideRedirect) ApplyStacking(false);
    XMapWindow(FDpy, AWin.Id);
    if (!AWin.OverrideRedirect) ApplyStacking(false);
    if (FGrabPending == AWindow) {
        FGrabPending = nullptr;
        GrabPointer(AWindow, AWin);
    }
}

void X11Backend::Restack(const std::vector<HWND>& ATopFirst) {
    FStacking = ATopFirst;
    ApplyStacking(false);
    XFlush(FDpy);
}

void X11Backend::ApplyStacking(bool ARaise) {
    std::vector<::Window> ids;
    // Popups above every managed window: raised by us, as a window manager
    // restacks only the windows it manages.
    size_t popups = 0;
    for (HWND h : FStacking)
        if (XTopLevel* w = Find(h); w && w->Mapped) {
            if (w->OverrideRedirect && popups == ids.size()) ++popups;
            ids.push_back(w->Frame ? w->Frame : w->Id);
        }
    if (ids.empty()) return;
    FStackingSerial = NextRequest(FDpy);
    if (ARaise && !popups) XRaiseWindow(FDpy, ids.front());
    for (size_t i = popups; i-- > 0;)
        XRaiseWindow(FDpy, ids[i]);
    // A window manager is asked to restack its frames and has the last word.
    if (ids.size() > 1) XRestackWindows(FDpy, ids.data(), int(ids.size()));
}

std::vector<HWND> X11Backend::DisplayStacking() {
    // Both lists run bottom first.
    std::vector<::Window> ids;
    if (FWmRunning) {
        for (const long id : ReadCardinals(FRoot, FAtoms.NetClientListStacking))
            ids.push_back(::Window(id));
    } else {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(FDpy, FRoot, &root, &parent, &children, &count) && children)
            ids.assign(children, children + count);
        if (children) XFree(children);
    }
    std::vector<HWND> topFirst;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        if (const HWND h = HandleOf(*it); h && Find(h)->Mapped) topFirst.push_back(h);
    return topFirst;
}

bool X11Backend::FollowStacking() {
    const std::vector<HWND> shown = DisplayStacking();
    std::vector<HWND> ours;
    for (HWND h : FStacking)
        if (std::find(shown.begin(), shown.end(), h) != shown.end()) ours.push_back(h);
    if (shown.size() < 2 || shown == ours) return false;
    TakePlaces(FStacking, shown);
    ReportStacking(shown);
    return true;
}

void X11Backend::PutPixels(Drawable ATarget, const gdi::Surface& ASurface, const pixman_box32_t& ABox) {
    const int width = ABox.x2 - ABox.x1, height = ABox.y2 - ABox.y1;
    if (width <= 0 || height <= 0) return;
    // A compositor reads a 32-bit visual as premultiplied, as uploads are;
    // everything else is opaque.
    const bool opaque = FArgb && !ASurface.HasAlpha;
    XImage image{};
    image.format = ZPixmap;
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = FDepth;
    image.bits_per_pixel = 32;
    image.red_mask = FVisual->red_mask;
    image.green_mask = FVisual->green_mask;
    image.blue_mask = FVisual->blue_mask;
    if (FDirectPixels && !opaque && ASurface.BitsPerPixel == 32 && ASurface.TopDown) {
        // The surface's rows go out as they are.
        image.width = ASurface.Width;
        image.height = ASurface.Height;
        image.bytes_per_line = ASurface.Stride;
        image.data = reinterpret_cast<char*>(ASurface.Bits);
        XInitImage(&image);
        XPutImage(FDpy, ATarget, FGc, &image, ABox.x1, ABox.y1, ABox.x1, ABox.y1, unsigned(width),
                  unsigned(height));
        return;
    }
    std::vector<gdi::Pixel> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        gdi::Pixel* row = pixels.data() + size_t(y) * size_t(width);
        gdi::FetchRow(ASurface, ABox.x1, ABox.y1 + y, width, row);
        for (int x = 0; x < width; ++x) {
            const gdi::Pixel p = row[x];
            const uint32_t alpha = opaque ? 0xFF : p >> 24;
            if (FDirectPixels) {
                row[x] = (p & gdi::ColorMask) | (FAlphaShift >= 0 ? alpha << 24 : 0);
                continue;
            }
            row[x] = (((p >> 16) & 0xFF) << FRedShift) | (((p >> 8) & 0xFF) << FGreenShift) |
                     ((p & 0xFF) << FBlueShift) | (FAlphaShift >= 0 ? alpha << FAlphaShift : 0);
        }
    }
    image.width = width;
    image.height = height;
    image.bytes_per_line = width * 4;
    image.data = reinterpret_cast<char*>(pixels.data());
    XInitImage(&image);
    XPutImage(FDpy, ATarget, FGc, &image, 0, 0, ABox.x1, ABox.y1, unsigned(width), unsigned(height));
}

void X11Backend::SizePixels(XTopLevel& AWin, unsigned AWidth, unsigned AHeight) {
    if (AWin.Pixels && AWin.PixelsWidth == AWidth && AWin.PixelsHeight == AHeight) return;
    const Pixmap pixels = XCreatePixmap(FDpy, AWin.Id, AWidth, AHeight, unsigned(FDepth));
    // A new pixmap holds anything; the part the layer has not presented yet
    // is clear.
    XFillRectangle(FDpy, pixels, FGc, 0, 0, AWidth, AHeight);
    if (AWin.Pixels) {
        XCopyArea(FDpy, AWin.Pixels, pixels, FGc, 0, 0, std::min(AWidth, AWin.PixelsWidth),
                  std::min(AHeight, AWin.PixelsHeight), 0, 0);
        XFreePixmap(FDpy, AWin.Pixels);
    }
    XSetWindowBackgroundPixmap(FDpy, AWin.Id, pixels);
    AWin.Pixels = pixels;
    AWin.PixelsWidth = AWidth;
    AWin.PixelsHeight = AHeight;
}

void X11Backend::Present(HWND AWindow, const gdi::Surface& ASurface, const gdi::PixRegion& ADirty) {
    XTopLevel* w = Find(AWindow);
    if (!w || !ASurface.Valid()) return;
    gdi::PixRegion dirty = ADirty;
    dirty.Intersect(ASurface.Bounds());
    for (const pixman_box32_t& box : dirty.Boxes()) {
        PutPixels(w->Pixels, ASurface, box);
        XClearArea(FDpy, w->Id, box.x1, box.y1, unsigned(box.x2 - box.x1), unsigned(box.y2 - box.y1), False);
    }
    if (w->MapPending) MapNow(AWindow, *w);
    XFlush(FDpy);
}

void X11Backend::SetShape(HWND AWindow, const gdi::PixRegion* AShape) {
    XTopLevel* w = Find(AWindow);
    if (!w) return;
    if (AShape)
        w->Shape = *AShape;
    else
        w->Shape.reset();
    ApplyShape(*w);
    XFlush(FDpy);
}

void X11Backend::ApplyShape(XTopLevel& AWin) {
    if (!FHasShape) return;
    auto apply = [&](int AKind, const gdi::PixRegion* ARegion) {
        if (!ARegion) {
            XShapeCombineMask(FDpy, AWin.Id, AKind, 0, 0, 0, ShapeSet);
            return;
        }
        std::vector<XRectangle> rects;
        for (const pixman_box32_t& box : ARegion->Boxes())
            rects.push_back(XRectangle{short(box.x1), short(box.y1),
                                       static_cast<unsigned short>(box.x2 - box.x1),
                                       static_cast<unsigned short>(box.y2 - box.y1)});
        XShapeCombineRectangles(FDpy, AWin.Id, AKind, 0, 0, rects.data(), int(rects.size()), ShapeSet,
                                YXBanded);
    };
    const gdi::PixRegion* shape = AWin.Shape ? &*AWin.Shape : nullptr;
    apply(ShapeBounding, shape);
    if (!FHasInputShape) return;
    if (AWin.ClickThrough) {
        const gdi::PixRegion nothing;
        apply(ShapeInput, &nothing);
    } else if (AWin.Solid) {
        gdi::PixRegion input = *AWin.Solid;
        if (shape) input.Intersect(*shape);
        apply(ShapeInput, &input);
    } else {
        apply(ShapeInput, shape);
    }
}

void X11Backend::SetOpacity(XTopLevel& AWin, BYTE AAlpha) {
    if (AAlpha == 255) {
        XDeleteProperty(FDpy, AWin.Id, FAtoms.NetWmWindowOpacity);
        return;
    }
    const unsigned long opacity = AAlpha * 0x01010101ul;
    XChangeProperty(FDpy, AWin.Id, FAtoms.NetWmWindowOpacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&opacity), 1);
}

void X11Backend::SetLayeredAlpha(HWND AWindow, BYTE AAlpha) {
    if (XTopLevel* w = Find(AWindow)) {
        SetOpacity(*w, AAlpha);
        XFlush(FDpy);
    }
}

void X11Backend::UploadLayered(HWND AWindow, const gdi::Surface& APremultiplied, BYTE AConstantAlpha) {
    XTopLevel* w = Find(AWindow);
    if (!w || !APremultiplied.Valid()) return;
    PutPixels(w->Pixels, APremultiplied, pixman_box32_t{0, 0, APremultiplied.Width, APremultiplied.Height});
    XClearWindow(FDpy, w->Id);
    SetOpacity(*w, AConstantAlpha);
    if (w->MapPending) MapNow(AWindow, *w);
    gdi::PixRegion solid = SolidPart(APremultiplied);
    if (!w->Solid || !(*w->Solid == solid)) {
        w->Solid = std::move(solid);
        ApplyShape(*w);
    }
    XFlush(FDpy);
}

void X11Backend::SetCapture(HWND ATopLevel) {
    XTopLevel* w = Find(ATopLevel);
    FGrabPending = nullptr;
    if (!w) {
        if (FGrab) XUngrabPointer(FDpy, CurrentTime);
        FGrab = nullptr;
    } else if (w->MapPending) {
        // Only a viewable window can be grabbed.
        FGrabPending = ATopLevel;
    } else {
        GrabPointer(ATopLevel, *w);
    }
    XFlush(FDpy);
}

void X11Backend::GrabPointer(HWND AWindow, XTopLevel& AWin) {
    if (XGrabPointer(FDpy, AWin.Id, True, GrabEvents, GrabModeAsync, GrabModeAsync, 0, FCursor,
                     CurrentTime) == GrabSuccess)
        FGrab = AWindow;
}

void X11Backend::SetActive(HWND ATopLevel) {
    // nullptr: the layer let go of activation; the focus is someone else's.
    XTopLevel* w = Find(ATopLevel);
    if (!w || w->OverrideRedirect) return;
    FocusWindow(ATopLevel, *w);
    XFlush(FDpy);
}

void X11Backend::FocusWindow(HWND AWindow, XTopLevel& AWin) {
    if (!AWin.Viewable) {
        // The focus can go to a window only once it is on the screen; what
        // earlier requests bring meanwhile is stale.
        FFocusPending = AWindow;
        FFocusSerial = NextRequest(FDpy);
        return;
    }
    FFocusPending = nullptr;
    FFocusSerial = NextRequest(FDpy);
    if (FWmRunning) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = AWin.Id;
        event.xclient.message_type = FAtoms.NetActiveWindow;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // an application's request
        event.xclient.data.l[1] = long(FLastTime);
        XSendEvent(FDpy, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        return;
    }
    // Nobody else raises windows: ours come up above other programs' in the
    // layer's order, topmost popups first.
    ApplyStacking(true);
    XSetInputFocus(FDpy, AWin.Id, RevertToParent, CurrentTime);
}

void X11Backend::SetCursor(HCURSOR ACursor) {
    FCursor = CursorFor(ACursor);
    for (const auto& [handle, w] : FWindows)
        XDefineCursor(FDpy, w->Id, FCursor);
    if (FGrab) XChangeActivePointerGrab(FDpy, GrabEvents, FCursor, CurrentTime);
    XFlush(FDpy);
}

uintptr_t X11Backend::CreateNativeChild(HWND AChild, HWND ATopLevel, const RECT& ARect) {
    XTopLevel* top = Find(ATopLevel);
    if (!top) return 0;
    DestroyNativeChild(AChild);
    // The screen's own visual, whatever the top-level window's: a library
    // drawing there expects it.
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(FDpy, FScreen);
    attributes.border_pixel = 0;
    attributes.colormap = DefaultColormap(FDpy, FScreen);
    // Exposes reach the window's owner, who has the library draw again.
    attributes.event_mask = ExposureMask;
    const ::Window id =
        XCreateWindow(FDpy, top->Id, ARect.left, ARect.top, XSize(Width(ARect)), XSize(Height(ARect)), 0,
                      DefaultDepth(FDpy, FScreen), InputOutput, DefaultVisual(FDpy, FScreen),
                      CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    FNativeChildren[AChild] = NativeChild{id, ATopLevel};
    XFlush(FDpy);
    return uintptr_t(id);
}

void X11Backend::MoveNativeChild(HWND AChild, const RECT& ARect, bool AVisible) {
    const auto it = FNativeChildren.find(AChild);
    if (it == FNativeChildren.end()) return;
    const ::Window id = it->second.Id;
    XMoveResizeWindow(FDpy, id, ARect.left, ARect.top, XSize(Width(ARect)), XSize(Height(ARect)));
    if (AVisible && Width(ARect) > 0 && Height(ARect) > 0)
        XMapWindow(FDpy, id);
    else
        XUnmapWindow(FDpy, id);
    XFlush(FDpy);
}

void X11Backend::DestroyNativeChild(HWND AChild) {
    const auto it = FNativeChildren.find(AChild);
    if (it == FNativeChildren.end()) return;
    XDestroyWindow(FDpy, it->second.Id);
    FNativeChildren.erase(it);
    XFlush(FDpy);
}

}  // namespace winsys
