#include "platform/toolkit/listviewheader.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

using namespace win;

namespace {

constexpr const WCHAR* HeaderClass = u"SysHeader32";
// How far from a divider a press still takes it.
constexpr Integer DividerReach = 4;
// How far a pressed section must move before it is dragged.
constexpr Integer DragThreshold = 4;
constexpr Integer TextMargin = 6;

struct Headers {
    std::unordered_map<HWND, TListHeader*> Windows;
    // The header being made: its window's first message joins it up.
    TListHeader* Creating = nullptr;
    HWND CreatingHandle = nullptr;
};

Headers& Registry() {
    static auto* registry = new Headers;
    return *registry;
}

TPoint MousePoint(LPARAM ALParam) {
    return {GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam)};
}

}  // namespace

TListHeader::TListHeader(TCustomListView* AList) : FList(AList) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    if (!GetClassInfoExW(nullptr, HeaderClass, &cls)) {
        cls = WNDCLASSEXW{};
        cls.cbSize = sizeof cls;
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = WindowProc;
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = HeaderClass;
        RegisterClassExW(&cls);
    }
    Registry().Creating = this;
    FHandle = CreateWindowExW(0, HeaderClass, u"", WS_CHILD, 0, 0, 0, 0, AList->Handle(), nullptr, nullptr,
                              nullptr);
    Registry().Creating = nullptr;
    if (!FHandle) throw EOutOfResources(u"Error creating the list's header");
    Registry().Windows[FHandle] = this;
}

TListHeader::~TListHeader() {
    const HWND handle = FHandle;
    Registry().Windows.erase(handle);
    FHandle = nullptr;
    DestroyWindow(handle);
}

void TListHeader::Invalidate() {
    InvalidateRect(FHandle, nullptr, FALSE);
}

LRESULT TListHeader::WindowProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    Headers& registry = Registry();
    auto it = registry.Windows.find(AWindow);
    if (it == registry.Windows.end() && registry.Creating) {
        registry.Creating->FHandle = AWindow;
        it = registry.Windows.emplace(AWindow, registry.Creating).first;
        registry.Creating = nullptr;
    }
    if (it == registry.Windows.end()) return DefWindowProcW(AWindow, AMsg, AWParam, ALParam);
    return it->second->Message(AMsg, AWParam, ALParam);
}

Integer TListHeader::Count() const {
    return FList->Columns()->Count();
}

TRect TListHeader::SectionRect(Integer AColumn) {
    RECT client{};
    GetClientRect(FHandle, &client);
    Integer left = 0;
    for (Integer column : FList->FOrder) {
        if (column >= Count()) continue;
        const Integer width = FList->Column(column)->Width();
        if (column == AColumn) return Rect(left, 0, left + width, client.bottom);
        left += width;
    }
    return {};
}

Integer TListHeader::HitTest(TPoint APoint, UINT& AFlags) {
    AFlags = HHT_NOWHERE;
    RECT client{};
    GetClientRect(FHandle, &client);
    if (APoint.Y < 0 || APoint.Y >= client.bottom) return -1;
    // Hidden columns put their dividers on a visible one's: that one wins,
    // so a drag never opens a column the program keeps at width 0.
    Integer best = -1, bestDistance = DividerReach + 1;
    bool bestVisible = false;
    for (Integer column : FList->FOrder) {
        if (column >= Count()) continue;
        const TRect r = SectionRect(column);
        const Integer distance = std::abs(APoint.X - r.Right);
        const bool visible = r.Width() > 0;
        if (distance < bestDistance || (distance == bestDistance && visible && !bestVisible)) {
            best = column;
            bestDistance = distance;
            bestVisible = visible;
        }
    }
    if (best >= 0) {
        AFlags = HHT_ONDIVIDER;
        return best;
    }
    for (Integer column : FList->FOrder)
        if (column < Count() && ContainsPoint(SectionRect(column), APoint)) {
            AFlags = HHT_ONHEADER;
            return column;
        }
    AFlags = HHT_NOWHERE | HHT_TORIGHT;
    return -1;
}

Integer TListHeader::PositionAt(Integer X) {
    Integer position = 0, last = 0;
    for (Integer column : FList->FOrder) {
        if (column >= Count()) continue;
        const TRect r = SectionRect(column);
        if (r.Width() > 0) last = position;
        if (r.Width() > 0 && X < r.Right) return position;
        ++position;
    }
    return last;
}

LRESULT TListHeader::Message(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    switch (AMsg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            if (AWParam) {
                Paint(reinterpret_cast<HDC>(AWParam));
                return 0;
            }
            PAINTSTRUCT ps{};
            const HDC dc = BeginPaint(FHandle, &ps);
            Paint(dc);
            EndPaint(FHandle, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            MouseDown(MousePoint(ALParam));
            return 0;
        case WM_MOUSEMOVE:
            MouseMove(MousePoint(ALParam));
            return 0;
        case WM_LBUTTONUP:
            MouseUp(MousePoint(ALParam));
            return 0;
        case WM_CAPTURECHANGED:
            if (FMode != hmNone && reinterpret_cast<HWND>(ALParam) != FHandle) {
                FMode = hmNone;
                Invalidate();
            }
            return 0;
        case WM_SETCURSOR: {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(FHandle, &p);
            UINT flags = 0;
            if (FMode == hmTracking || (HitTest({p.x, p.y}, flags) >= 0 && (flags & HHT_ONDIVIDER))) {
                SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            break;
        }
        case HDM_GETITEMCOUNT:
            return Count();
        case HDM_GETITEMRECT: {
            const Integer column = Integer(AWParam);
            if (!ALParam || column < 0 || column >= Count()) return FALSE;
            *reinterpret_cast<RECT*>(ALParam) = ToRECT(SectionRect(column));
            return TRUE;
        }
        case HDM_GETORDERARRAY: {
            if (!ALParam) return FALSE;
            auto* order = reinterpret_cast<int*>(ALParam);
            const size_t count = std::min(size_t(AWParam), FList->FOrder.size());
            std::copy_n(FList->FOrder.begin(), count, order);
            return AWParam == FList->FOrder.size() ? TRUE : FALSE;
        }
        case HDM_HITTEST: {
            if (!ALParam) return -1;
            auto* info = reinterpret_cast<HDHITTESTINFO*>(ALParam);
            info->iItem = HitTest({info->pt.x, info->pt.y}, info->flags);
            return info->iItem;
        }
        default:
            break;
    }
    return DefWindowProcW(FHandle, AMsg, AWParam, ALParam);
}

void TListHeader::MouseDown(TPoint APoint) {
    UINT flags = 0;
    const Integer column = HitTest(APoint, flags);
    if (column < 0) return;
    FItem = column;
    FDown = APoint;
    if (flags & HHT_ONDIVIDER) {
        FMode = hmTracking;
        FOffset = APoint.X - SectionRect(column).Right;
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    } else {
        FMode = hmPressed;
        FInside = true;
    }
    SetCapture(FHandle);
    Invalidate();
}

void TListHeader::MouseMove(TPoint APoint) {
    switch (FMode) {
        case hmTracking: {
            HDITEMW info{HDI_WIDTH, APoint.X - FOffset - SectionRect(FItem).Left, 0};
            Notify(HDN_TRACKW, FItem, &info);
            return;
        }
        case hmPressed:
            if (FList->FullDrag() && std::abs(APoint.X - FDown.X) > DragThreshold) {
                FMode = hmDragging;
                Invalidate();
                return;
            }
            if (ContainsPoint(SectionRect(FItem), APoint) != FInside) {
                FInside = !FInside;
                Invalidate();
            }
            return;
        default:
            return;
    }
}

void TListHeader::MouseUp(TPoint APoint) {
    const TMode mode = std::exchange(FMode, hmNone);
    const Integer column = FItem;
    if (GetCapture() == FHandle) ReleaseCapture();
    Invalidate();
    switch (mode) {
        case hmTracking: {
            HDITEMW info{HDI_WIDTH, FList->Column(column)->Width(), 0};
            Notify(HDN_ENDTRACKW, column, &info);
            return;
        }
        case hmPressed:
            if (FInside) Notify(HDN_ITEMCLICKW, column, nullptr);
            return;
        case hmDragging: {
            HDITEMW info{HDI_ORDER, 0, PositionAt(APoint.X)};
            Notify(HDN_ENDDRAG, column, &info);
            return;
        }
        default:
            return;
    }
}

bool TListHeader::Notify(UINT ACode, Integer AItem, HDITEMW* AInfo) {
    const HWND self = FHandle;
    NMHEADERW notice{{self, ULONG_PTR(GetWindowLongW(self, GWL_ID)), ACode}, AItem, 0, AInfo};
    SendMessageW(GetParent(self), WM_NOTIFY, notice.hdr.idFrom, LPARAM(&notice));
    return Registry().Windows.count(self) != 0;
}

void TListHeader::Paint(HDC ADC) {
    // A DC handed in by a caller gets back what it had selected.
    const int state = SaveDC(ADC);
    TCanvas canvas;
    canvas.SetHandle(ADC);
    canvas.Font()->Assign(FList->Font());
    RECT client{};
    GetClientRect(FHandle, &client);
    Integer right = 0;
    for (Integer column : FList->FOrder) {
        if (column >= Count()) continue;
        const TRect r = SectionRect(column);
        right = std::max(right, r.Right);
        if (r.Width() <= 0 || r.Height() <= 0) continue;
        const bool pressed = column == FItem && ((FMode == hmPressed && FInside) || FMode == hmDragging);
        PaintSection(&canvas, column, r, pressed);
    }
    const TRect rest = Rect(right, 0, client.right, client.bottom);
    if (rest.Width() > 0) {
        FillColor(&canvas, rest, clBtnFace);
        DrawLine(&canvas, rest.Left, rest.Bottom - 1, rest.Right, rest.Bottom - 1, clBtnShadow);
    }
    canvas.SetHandle(nullptr);
    RestoreDC(ADC, state);
}

void TListHeader::PaintSection(TCanvas* ACanvas, Integer AColumn, const TRect& ARect, bool APressed) {
    TListColumn* column = FList->Column(AColumn);
    FillColor(ACanvas, ARect, APressed ? clBtnShadow : clBtnFace);
    DrawLine(ACanvas, ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1, clBtnShadow);
    DrawLine(ACanvas, ARect.Right - 1, ARect.Top, ARect.Right - 1, ARect.Bottom, clBtnShadow);
    TRect area = Rect(ARect.Left + TextMargin, ARect.Top, ARect.Right - TextMargin, ARect.Bottom - 1);
    if (APressed) {
        ++area.Left;
        ++area.Top;
    }
    TCustomImageList* images = FList->SmallImages();
    if (images && column->ImageIndex() >= 0 && column->ImageIndex() < images->Count()) {
        images->Draw(ACanvas, area.Left, area.Top + (area.Height() - images->Height()) / 2,
                     column->ImageIndex());
        area.Left += images->Width() + 4;
    }
    static constexpr Cardinal align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawTextIn(ACanvas, column->Caption(), area,
               align[column->Alignment()] | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, clBtnText);
}
