// Backing surfaces, update regions, window DCs, window regions and layered
// windows.
#include <algorithm>
#include <cstring>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcinternal.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/syscolors.h"
#include "platform/gdi/text.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

RECT Offset(const RECT& R, POINT D) {
    return {R.left + D.x, R.top + D.y, R.right + D.x, R.bottom + D.y};
}

PixRegion Moved(PixRegion ARegion, POINT D) {
    ARegion.Offset(D.x, D.y);
    return ARegion;
}

// The window's shape on its top-level window's surface.
PixRegion SurfaceShape(const Window& W) {
    return Moved(Shape(W), SurfaceOrigin(W));
}

bool HasFrame(const Window& W) {
    return W.Client != RECT{0, 0, W.Rect.right - W.Rect.left, W.Rect.bottom - W.Rect.top};
}

bool Paintable(const Window& W) {
    for (const Window* w = &W; w; w = w->Parent)
        if (w->RedrawOff) return false;
    return IsShown(W);
}

// The surface pixels a DC of W may touch: the window (or its client area),
// inside every ancestor's client area and region, without the visible
// children and the siblings above it on every level. A hidden child draws
// nothing; a hidden top-level window still draws on its own surface.
PixRegion VisibleArea(const Window& W, bool AClientOnly) {
    if (W.MessageOnly) return {};
    for (const Window* w = &W; w; w = w->Parent)
        if ((w->Parent && !(w->Style & WS_VISIBLE)) || w->RedrawOff) return {};
    PixRegion area = SurfaceShape(W);
    const RECT client = Offset(W.Client, SurfaceOrigin(W));
    if (AClientOnly) area.Intersect(client);
    for (const Window* c : W.Children)
        if (c->Style & WS_VISIBLE) {
            // A child shows only inside the client area: where it reaches
            // past it, the frame beneath is still this window's to paint.
            PixRegion shown = SurfaceShape(*c);
            if (!AClientOnly) shown.Intersect(client);
            area.Subtract(shown);
        }
    for (const Window* w = &W; w->Parent; w = w->Parent) {
        const Window* p = w->Parent;
        for (const Window* sibling : p->Children) {
            if (sibling == w) break;
            if (sibling->Style & WS_VISIBLE) area.Subtract(SurfaceShape(*sibling));
        }
        PixRegion inside = SurfaceShape(*p);
        inside.Intersect(Offset(p->Client, SurfaceOrigin(*p)));
        area.Intersect(inside);
    }
    const Window* top = TopLevelOf(const_cast<Window*>(&W));
    area.Intersect(top->Surface.Bounds());
    return area;
}

void PlaceDC(Window& W, WindowDC& ADC) {
    Window* top = TopLevelOf(&W);
    const POINT origin = SurfaceOrigin(W);
    const bool client = ADC.Kind != DCKind::Whole;
    const POINT device = client ? POINT{origin.x + W.Client.left, origin.y + W.Client.top} : origin;
    PixRegion clip = VisibleArea(W, client);
    if (ADC.Kind == DCKind::Paint) clip.Intersect(Moved(ADC.Area, origin));
    gdi::SetSurfaceDCTarget(ADC.DC, top->Surface);
    gdi::SetDCSystemArea(ADC.DC, device, &clip);
}

HDC NewDC(Window& W, DCKind AKind, const PixRegion& AArea) {
    HDC dc = gdi::CreateSurfaceDC(TopLevelOf(&W)->Surface);
    if (!dc) return nullptr;
    W.DCs.push_back(WindowDC{dc, AKind, AArea});
    PlaceDC(W, W.DCs.back());
    std::vector<HWND>& holders = Sys().DCHolders;
    if (std::find(holders.begin(), holders.end(), W.Handle) == holders.end()) holders.push_back(W.Handle);
    return dc;
}

void MarkDirty(Window& W, const WindowDC& ADC) {
    Window* top = TopLevelOf(&W);
    gdi::DrawTarget target;
    if (gdi::GetDrawTarget(ADC.DC, target)) top->Dirty.Unite(target.Clip);
}

bool ReleaseWindowDC(Window& W, HDC ADC) {
    const auto it =
        std::find_if(W.DCs.begin(), W.DCs.end(), [ADC](const WindowDC& d) { return d.DC == ADC; });
    if (it == W.DCs.end()) return false;
    MarkDirty(W, *it);
    DeleteDC(ADC);
    W.DCs.erase(it);
    return true;
}

std::vector<HDC>& ScreenDCs() {
    static std::vector<HDC>* dcs = new std::vector<HDC>;
    return *dcs;
}

// Client part of ARegion into the update region, the rest marks the frame.
void AddUpdate(Window& W, const PixRegion& ARegion, bool AErase) {
    PixRegion client(ARegion);
    client.Intersect(W.Client);
    PixRegion frame(ARegion);
    frame.Subtract(PixRegion(W.Client));
    if (!frame.Empty() && HasFrame(W)) W.FramePending = true;
    if (!client.Empty()) {
        W.Update.Unite(client);
        if (AErase) W.ErasePending = true;
    }
}

// A region in W's window coordinates as the child C's window coordinates.
PixRegion ToChild(const Window& W, const Window& C, const PixRegion& ARegion) {
    return Moved(ARegion, POINT{-(W.Client.left + C.Rect.left), -(W.Client.top + C.Rect.top)});
}

// The frame of a window without its own non-client painting.
void PaintDefaultFrame(Window& W, HDC ADC) {
    const RECT whole{0, 0, W.Rect.right - W.Rect.left, W.Rect.bottom - W.Rect.top};
    const bool active = Sys().Active == TopLevelOf(&W)->Handle;
    const HBRUSH face = reinterpret_cast<HBRUSH>(intptr_t(COLOR_BTNFACE + 1));
    const RECT client = W.Client;
    const RECT bands[] = {{0, 0, whole.right, client.top},
                          {0, client.bottom, whole.right, whole.bottom},
                          {0, client.top, client.left, client.bottom},
                          {client.right, client.top, whole.right, client.bottom}};
    for (const RECT& band : bands)
        FillRect(ADC, &band, face);
    if ((W.Style & WS_CAPTION) == WS_CAPTION) {
        const int frame = client.left - ((W.ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
        const RECT caption{frame, frame, whole.right - frame,
                           client.top - ((W.ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0)};
        FillRect(
            ADC, &caption,
            reinterpret_cast<HBRUSH>(intptr_t((active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION) + 1)));
        if (!W.Text.empty()) {
            RECT title{caption.left + 4, caption.top, caption.right - 4, caption.bottom};
            const int saved = SaveDC(ADC);
            SelectObject(ADC, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(ADC, TRANSPARENT);
            SetTextColor(ADC, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            DrawTextW(ADC, W.Text.c_str(), int(W.Text.size()), &title,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            RestoreDC(ADC, saved);
        }
    }
    if (W.ExStyle & WS_EX_CLIENTEDGE) {
        const RECT c = client;
        const HBRUSH shadow = reinterpret_cast<HBRUSH>(intptr_t(COLOR_BTNSHADOW + 1));
        const HBRUSH light = reinterpret_cast<HBRUSH>(intptr_t(COLOR_BTNHIGHLIGHT + 1));
        const RECT edges[] = {{c.left - 2, c.top - 2, c.right + 2, c.top - 1},
                              {c.left - 2, c.top - 1, c.left - 1, c.bottom + 2},
                              {c.left - 2, c.bottom + 1, c.right + 2, c.bottom + 2},
                              {c.right + 1, c.top - 2, c.right + 2, c.bottom + 2}};
        FillRect(ADC, &edges[0], shadow);
        FillRect(ADC, &edges[1], shadow);
        FillRect(ADC, &edges[2], light);
        FillRect(ADC, &edges[3], light);
    }
}

}  // namespace

void ResizeSurface(Window& W) {
    const int width = std::max(0, int(W.Rect.right - W.Rect.left));
    const int height = std::max(0, int(W.Rect.bottom - W.Rect.top));
    if (width == W.Surface.Width && height == W.Surface.Height) return;
    std::vector<gdi::Pixel> pixels(size_t(width) * size_t(height));
    const int keepW = std::min(width, W.Surface.Width), keepH = std::min(height, W.Surface.Height);
    for (int y = 0; y < keepH; ++y)
        std::memcpy(&pixels[size_t(y) * size_t(width)], W.Surface.Row32(y),
                    size_t(keepW) * sizeof(gdi::Pixel));
    W.Pixels = std::move(pixels);
    W.Surface = gdi::Surface{};
    W.Surface.Bits = reinterpret_cast<uint8_t*>(W.Pixels.data());
    W.Surface.Width = W.Pixels.empty() ? 0 : width;
    W.Surface.Height = W.Pixels.empty() ? 0 : height;
    W.Surface.Stride = width * 4;
    W.Dirty.Intersect(W.Surface.Bounds());
}

void Invalidate(Window& W, const PixRegion& ARegion, bool AErase, bool AAllChildren) {
    if (!Paintable(W)) return;
    PixRegion region(ARegion);
    region.Intersect(Shape(W));
    if (region.Empty()) return;
    AddUpdate(W, region, AErase);
    if (!AAllChildren) return;
    for (Window* c : W.Children)
        if (c->Style & WS_VISIBLE) Invalidate(*c, ToChild(W, *c, region), AErase, true);
}

void InvalidateAll(Window& W, bool AFrame) {
    if (!Paintable(W)) return;
    PixRegion whole = Shape(W);
    if (!AFrame) whole.Intersect(W.Client);
    Invalidate(W, whole, true, false);
    // Shown, sized or reframed: WM_NCPAINT comes even without a frame, as
    // on Windows.
    if (AFrame) W.FramePending = true;
    for (Window* c : W.Children)
        if (c->Style & WS_VISIBLE) InvalidateAll(*c, AFrame);
}

void InvalidateResized(Window& W, const RECT& AOldRect) {
    const int oldW = AOldRect.right - AOldRect.left, oldH = AOldRect.bottom - AOldRect.top;
    const int newW = W.Rect.right - W.Rect.left, newH = W.Rect.bottom - W.Rect.top;
    const UINT style = W.Class->Style;
    if ((newW != oldW && (style & CS_HREDRAW)) || (newH != oldH && (style & CS_VREDRAW))) {
        InvalidateAll(W, true);
        return;
    }
    PixRegion grown(RECT{0, 0, newW, newH});
    grown.Subtract(PixRegion(RECT{0, 0, oldW, oldH}));
    Invalidate(W, grown, true, true);
    if (Paintable(W)) W.FramePending = true;
}

void Validate(Window& W, const PixRegion& ARegion) {
    W.Update.Subtract(ARegion);
    if (W.Update.Empty()) W.ErasePending = false;
}

PixRegion Covered(const Window& W) {
    if (!W.Parent) return {};
    return Moved(Shape(W), POINT{W.Rect.left + W.Parent->Client.left, W.Rect.top + W.Parent->Client.top});
}

void Expose(Window& AParent, const PixRegion& AArea) {
    Invalidate(AParent, AArea, true, true);
}

bool NeedsPaint(const Window& W) {
    return (!W.Update.Empty() || W.FramePending) && Paintable(W);
}

namespace {

Window* FirstToPaint(Window& W) {
    if (!IsShown(W)) return nullptr;
    if (NeedsPaint(W)) return &W;
    for (Window* c : W.Children)
        if (Window* found = FirstToPaint(*c)) return found;
    return nullptr;
}

}  // namespace

Window* FindPaintWindow(HWND AFilter) {
    if (AFilter) {
        Window* w = Find(AFilter);
        return w && NeedsPaint(*w) ? w : nullptr;
    }
    for (Window* top : TopLevels())
        if (Window* found = FirstToPaint(*top)) return found;
    return nullptr;
}

void SendPaint(Window& W) {
    const WindowRef hold = Ref(&W);
    const unsigned paints = W.Paints;
    Send(&W, WM_PAINT, 0, 0);
    if (!W.Destroyed && W.Paints == paints) {
        W.Update.Clear();
        W.ErasePending = W.FramePending = false;
    }
}

void PaintNow(Window& W, bool AChildren) {
    const WindowRef hold = Ref(&W);
    if (NeedsPaint(W)) SendPaint(W);
    if (!AChildren || W.Destroyed) return;
    const std::vector<Window*> children = W.Children;
    std::vector<WindowRef> refs;
    for (Window* c : children)
        refs.push_back(Ref(c));
    for (const WindowRef& c : refs)
        if (!c->Destroyed) PaintNow(*c, true);
}

void RefreshDCs() {
    std::vector<HWND>& holders = Sys().DCHolders;
    std::erase_if(holders, [](HWND h) {
        Window* w = Find(h);
        return !w || w->DCs.empty();
    });
    for (HWND h : holders) {
        Window* w = Find(h);
        for (WindowDC& dc : w->DCs)
            PlaceDC(*w, dc);
    }
}

void ReleaseDCs(Window& W) {
    while (!W.DCs.empty())
        ReleaseWindowDC(W, W.DCs.back().DC);
}

void Present() {
    for (HWND h : Sys().DCHolders)
        if (Window* w = Find(h))
            for (const WindowDC& dc : w->DCs)
                MarkDirty(*w, dc);
    for (Window* top : TopLevels()) {
        if (top->Dirty.Empty()) continue;
        if (top->Mirrored && !top->HasUpload) BackendOf().Present(top->Handle, top->Surface, top->Dirty);
        top->Dirty.Clear();
    }
}

void DefaultNCPaint(Window& W) {
    if (!HasFrame(W)) return;
    HDC dc = GetWindowDC(W.Handle);
    if (!dc) return;
    PaintDefaultFrame(W, dc);
    ReleaseDC(W.Handle, dc);
}

}  // namespace winsys

namespace win {

using namespace winsys;

namespace {

// A client-coordinate rectangle (nullptr: the whole client area) in window
// coordinates.
PixRegion ClientArea(const Window& W, const RECT* ARect) {
    const RECT client = W.Client;
    if (!ARect) return PixRegion(client);
    PixRegion r(RECT{ARect->left + client.left, ARect->top + client.top, ARect->right + client.left,
                     ARect->bottom + client.top});
    r.Intersect(client);
    return r;
}

bool RegionOf(HRGN ARegion, PixRegion& AOut) {
    gdi::GdiLock lock(gdi::GdiMutex());
    gdi::RegionObject* region = gdi::Lookup<gdi::RegionObject>(ARegion);
    if (!region) return false;
    AOut = region->Region;
    return true;
}

template <typename F>
BOOL ForTarget(HWND AWindow, F AAction) {
    if (!AWindow) {
        std::vector<WindowRef> tops;
        for (Window* top : TopLevels())
            tops.push_back(Ref(top));
        for (const WindowRef& top : tops)
            if (!top->Destroyed) AAction(*top);
        return TRUE;
    }
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    AAction(*w);
    return TRUE;
}

}  // namespace

BOOL InvalidateRect(HWND AWindow, const RECT* ARect, BOOL AErase) {
    return ForTarget(
        AWindow, [&](Window& w) { Invalidate(w, ClientArea(w, AWindow ? ARect : nullptr), AErase, false); });
}

BOOL InvalidateRgn(HWND AWindow, HRGN ARegion, BOOL AErase) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    PixRegion region;
    if (ARegion && !RegionOf(ARegion, region)) return FALSE;
    Invalidate(*w, ARegion ? Moved(region, POINT{w->Client.left, w->Client.top}) : PixRegion(w->Client),
               AErase, false);
    return TRUE;
}

BOOL ValidateRect(HWND AWindow, const RECT* ARect) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    Validate(*w, ClientArea(*w, ARect));
    return TRUE;
}

BOOL ValidateRgn(HWND AWindow, HRGN ARegion) {
    Window* w = Find(AWindow);
    PixRegion region;
    if (!w || (ARegion && !RegionOf(ARegion, region))) return FALSE;
    Validate(*w, ARegion ? Moved(region, POINT{w->Client.left, w->Client.top}) : PixRegion(w->Client));
    return TRUE;
}

BOOL GetUpdateRect(HWND AWindow, RECT* ARect, BOOL) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    const RECT box = w->Update.Bounds();
    if (ARect)
        *ARect = w->Update.Empty() ? RECT{}
                                   : RECT{box.left - w->Client.left, box.top - w->Client.top,
                                          box.right - w->Client.left, box.bottom - w->Client.top};
    return !w->Update.Empty();
}

BOOL RedrawWindow(HWND AWindow, const RECT* AUpdate, HRGN ARegion, UINT AFlags) {
    PixRegion given;
    if (ARegion && !RegionOf(ARegion, given)) return FALSE;
    return ForTarget(AWindow, [&](Window& w) {
        const WindowRef hold = Ref(&w);
        const bool children = (AFlags & RDW_ALLCHILDREN) && !(AFlags & RDW_NOCHILDREN);
        PixRegion area;
        if (ARegion && AWindow)
            area = Moved(given, POINT{w.Client.left, w.Client.top});
        else if (AUpdate && AWindow)
            area = ClientArea(w, AUpdate);
        else
            area = (AFlags & RDW_FRAME) ? Shape(w) : PixRegion(w.Client);
        if (AFlags & RDW_INVALIDATE) {
            Invalidate(w, area, (AFlags & RDW_ERASE) && !(AFlags & RDW_NOERASE), children);
            if ((AFlags & RDW_FRAME) && Paintable(w)) w.FramePending = true;
        } else if (AFlags & RDW_VALIDATE) {
            Validate(w, area);
            if (AFlags & RDW_NOFRAME) w.FramePending = false;
        }
        if (AFlags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(w, children);
    });
}

BOOL UpdateWindow(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    PaintNow(*w, false);
    return TRUE;
}

HDC BeginPaint(HWND AWindow, PAINTSTRUCT* APaint) {
    Window* found = Find(AWindow);
    if (!found || !APaint) return nullptr;
    const WindowRef w = Ref(found);
    ++w->Paints;
    if (w->FramePending) {
        w->FramePending = false;
        Send(w.get(), WM_NCPAINT, 1, 0);
        if (w->Destroyed) return nullptr;
    }
    PixRegion area = w->Update;
    const bool erase = w->ErasePending;
    w->Update.Clear();
    w->ErasePending = false;
    HDC dc = NewDC(*w, DCKind::Paint, area);
    *APaint = PAINTSTRUCT{};
    APaint->hdc = dc;
    const RECT box = area.Bounds();
    if (!area.Empty())
        APaint->rcPaint = RECT{box.left - w->Client.left, box.top - w->Client.top, box.right - w->Client.left,
                               box.bottom - w->Client.top};
    if (erase) APaint->fErase = Send(w.get(), WM_ERASEBKGND, WPARAM(dc), 0) == 0;
    return dc;
}

BOOL EndPaint(HWND AWindow, const PAINTSTRUCT* APaint) {
    Window* w = Find(AWindow);
    return w && APaint && ReleaseWindowDC(*w, APaint->hdc);
}

HDC GetDC(HWND AWindow) {
    if (!AWindow) {
        HDC dc = CreateCompatibleDC(nullptr);
        if (dc) ScreenDCs().push_back(dc);
        return dc;
    }
    Window* w = Find(AWindow);
    if (!w || w->MessageOnly) return nullptr;
    return NewDC(*w, DCKind::Client, {});
}

HDC GetWindowDC(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w || w->MessageOnly) return nullptr;
    return NewDC(*w, DCKind::Whole, {});
}

int ReleaseDC(HWND AWindow, HDC ADC) {
    if (!AWindow) {
        std::vector<HDC>& dcs = ScreenDCs();
        const auto it = std::find(dcs.begin(), dcs.end(), ADC);
        if (it == dcs.end()) return 0;
        dcs.erase(it);
        DeleteDC(ADC);
        return 1;
    }
    Window* w = Find(AWindow);
    return w && ReleaseWindowDC(*w, ADC) ? 1 : 0;
}

int SetWindowRgn(HWND AWindow, HRGN ARegion, BOOL ARedraw) {
    Window* found = Find(AWindow);
    PixRegion region;
    if (!found || (ARegion && !RegionOf(ARegion, region))) return 0;
    const WindowRef w = Ref(found);
    if (!IsTopLevel(*w) && IsShown(*w)) Expose(*w->Parent, Covered(*w));
    w->HasRegion = ARegion != nullptr;
    w->Region = region;
    if (ARegion) DeleteObject(ARegion);
    if (IsTopLevel(*w) && w->Mirrored) BackendOf().SetShape(w->Handle, w->HasRegion ? &w->Region : nullptr);
    if (ARedraw) InvalidateAll(*w, true);
    RefreshDCs();
    return 1;
}

int GetWindowRgn(HWND AWindow, HRGN ARegion) {
    Window* w = Find(AWindow);
    if (!w || !w->HasRegion) return ERROR;
    gdi::GdiLock lock(gdi::GdiMutex());
    gdi::RegionObject* region = gdi::Lookup<gdi::RegionObject>(ARegion);
    if (!region) return ERROR;
    region->Region = w->Region;
    return region->Region.Kind();
}

namespace {

Window* LayeredTopLevel(HWND AWindow) {
    Window* w = Find(AWindow);
    return w && IsTopLevel(*w) && (w->ExStyle & WS_EX_LAYERED) ? w : nullptr;
}

}  // namespace

BOOL SetLayeredWindowAttributes(HWND AWindow, COLORREF, BYTE AAlpha, DWORD AFlags) {
    Window* w = LayeredTopLevel(AWindow);
    if (!w || !Capabilities().HasSetLayeredWindowAttributes || w->HasUpload) return FALSE;
    w->LayeredFlags = AFlags;
    w->Alpha = (AFlags & LWA_ALPHA) ? AAlpha : 255;
    if (w->Mirrored) BackendOf().SetLayeredAlpha(w->Handle, w->Alpha);
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND AWindow, HDC, const POINT* ADestPoint, const SIZE* ASize, HDC ASourceDC,
                         const POINT* ASourcePoint, COLORREF, const BLENDFUNCTION* ABlend, DWORD AFlags) {
    Window* found = LayeredTopLevel(AWindow);
    if (!found || !Capabilities().HasUpdateLayeredWindow || found->LayeredFlags) return FALSE;
    const WindowRef w = Ref(found);
    gdi::DrawTarget source;
    if (ASourceDC && !gdi::GetDrawTarget(ASourceDC, source)) return FALSE;
    if (ADestPoint || ASize) {
        const SIZE size = ASize ? *ASize : SIZE{w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top};
        const POINT at = ADestPoint ? *ADestPoint : POINT{w->Rect.left, w->Rect.top};
        SetPos(w.get(), nullptr, at.x, at.y, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (ADestPoint ? 0 : SWP_NOMOVE) |
                   (ASize ? 0 : SWP_NOSIZE));
        if (w->Destroyed) return FALSE;
    }
    if (!ASourceDC) return TRUE;
    const int width = std::max(0, int(w->Rect.right - w->Rect.left));
    const int height = std::max(0, int(w->Rect.bottom - w->Rect.top));
    const POINT from = ASourcePoint ? *ASourcePoint : POINT{};
    w->Upload.assign(size_t(width) * size_t(height), 0);
    const gdi::Surface& s = source.Pixels;
    // Row by row: the part of each row that lies on the source.
    const int dx = from.x + source.Offset.x, dy = from.y + source.Offset.y;
    const int x0 = std::max(0, -dx), x1 = std::min(width, s.Width - dx);
    for (int y = 0; y < height && x0 < x1; ++y) {
        const int sy = dy + y;
        if (sy < 0 || sy >= s.Height) continue;
        gdi::Pixel* row = w->Upload.data() + size_t(y) * size_t(width);
        gdi::FetchRow(s, dx + x0, sy, x1 - x0, row + x0);
        for (int x = x0; x < x1; ++x) {
            if (!s.HasAlpha) row[x] &= gdi::ColorMask;
            if (AFlags & ULW_OPAQUE) row[x] |= gdi::AlphaMask;
        }
    }
    w->UploadSize = SIZE{width, height};
    w->UploadAlpha = ABlend ? ABlend->SourceConstantAlpha : 255;
    w->HasUpload = true;
    gdi::Surface view;
    if (w->Mirrored && TopLevelPixels(w->Handle, view))
        BackendOf().UploadLayered(w->Handle, view, w->UploadAlpha);
    return TRUE;
}

}  // namespace win
