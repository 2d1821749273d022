#include "platform/toolkit/pagecontrol.h"

#include <algorithm>
#include <utility>

#include "platform/base/listhelpers.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

using namespace win;

namespace {

// The strip's distance from the edge, and the page frame's width.
constexpr Integer StripMargin = 2;
constexpr Integer FrameMargin = 4;
constexpr Integer TextMargin = 6;
constexpr Integer ImageGap = 3;

}  // namespace

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetVisible(false);
    SetAlign(alClient);
    SetColor(clBtnFace);
}

TTabSheet::~TTabSheet() {
    BeforeDestruction();
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* AValue) {
    if (AValue == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    // Set first: the parent's change comes back through SetParent.
    FPageControl = AValue;
    TWinControl::SetParent(AValue);
    if (AValue) AValue->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
    auto* pageControl = dynamic_cast<TPageControl*>(AParent);
    if (pageControl || !AParent) return SetPageControl(pageControl);
    if (FPageControl) {
        FPageControl->RemovePage(this);
        FPageControl = nullptr;
    }
    TWinControl::SetParent(AParent);
}

Integer TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : Integer(it - pages.begin());
}

void TTabSheet::SetPageIndex(Integer AValue) {
    const Integer current = PageIndex();
    if (current < 0 || AValue == current) return;
    auto& pages = FPageControl->FPages;
    if (AValue < 0 || AValue >= Integer(pages.size())) throw EListError(SListIndexError, {AValue});
    pages.erase(pages.begin() + current);
    pages.insert(pages.begin() + AValue, this);
    FPageControl->PagesChanged();
}

Integer TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    const std::vector<TTabSheet*> tabs = FPageControl->Tabs();
    const auto it = std::find(tabs.begin(), tabs.end(), this);
    return it == tabs.end() ? -1 : Integer(it - tabs.begin());
}

void TTabSheet::SetTabVisible(bool AValue) {
    if (AValue == FTabVisible) return;
    FTabVisible = AValue;
    if (!FPageControl) return;
    TPageControl* pageControl = FPageControl;
    // A page whose tab goes hides for the next one shown.
    if (!AValue && pageControl->FActivePage == this)
        pageControl->ShowPage(pageControl->FindNextPage(this, true, true));
    else if (AValue && !pageControl->FActivePage)
        pageControl->ShowPage(this);
    pageControl->PagesChanged();
}

void TTabSheet::SetImageIndex(Integer AValue) {
    if (AValue == FImageIndex) return;
    FImageIndex = AValue;
    if (FPageControl) FPageControl->PagesChanged();
}

void TTabSheet::Dispatch(TMessage& AMessage) {
    TWinControl::Dispatch(AMessage);
    if (AMessage.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->PagesChanged();
}

TPageControl::TPageControl(TComponent* AOwner)
    : TCustomControl(AOwner), FImageLink(this, [this] { PagesChanged(); }) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 289, 193);
    SetColor(clBtnFace);
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    BeforeDestruction();
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
}

TTabSheet* TPageControl::Pages(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= PageCount()) throw EListError(SListIndexError, {AIndex});
    return FPages[size_t(AIndex)];
}

void TPageControl::InsertPage(TTabSheet* APage) {
    if (std::find(FPages.begin(), FPages.end(), APage) == FPages.end()) FPages.push_back(APage);
    if (!FActivePage && APage->TabVisible())
        ShowPage(APage);
    else if (APage != FActivePage)
        APage->SetVisible(false);
    PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* APage) {
    TTabSheet* next = FActivePage == APage ? FindNextPage(APage, true, true) : nullptr;
    std::erase(FPages, APage);
    if (FActivePage == APage) {
        FActivePage = nullptr;
        if (next != APage) ShowPage(next);
    }
    if (!ComponentState().Contains(csDestroying)) PagesChanged();
}

void TPageControl::PagesChanged() {
    FLayoutValid = false;
    FFirstTab = std::clamp(FFirstTab, 0, std::max(Integer(Tabs().size()) - 1, 0));
    if (ComponentState().Contains(csDestroying)) return;
    Realign();
    if (HandleAllocated()) Invalidate();
}

std::vector<TTabSheet*> TPageControl::Tabs() const {
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* page : FPages)
        if (page->TabVisible()) tabs.push_back(page);
    return tabs;
}

void TPageControl::SetActivePage(TTabSheet* AValue) {
    if (AValue && AValue->PageControl() != this) return;
    ShowPage(AValue);
}

Integer TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(Integer AValue) {
    SetActivePage(AValue >= 0 && AValue < PageCount() ? FPages[size_t(AValue)] : nullptr);
}

Integer TPageControl::TabIndex() {
    return Integer(Perform(TCM_GETCURSEL, 0, 0));
}

void TPageControl::SetTabIndex(Integer AValue) {
    Perform(TCM_SETCURSEL, WPARAM(AValue), 0);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* ACurrent, bool AGoForward, bool ACheckTabVisible) const {
    const Integer count = PageCount();
    if (count == 0) return nullptr;
    const auto it = std::find(FPages.begin(), FPages.end(), ACurrent);
    Integer start = it == FPages.end() ? (AGoForward ? count - 1 : 0) : Integer(it - FPages.begin());
    for (Integer k = 1; k <= count; ++k) {
        TTabSheet* page = FPages[size_t(((start + (AGoForward ? k : -k)) % count + count) % count)];
        if (!ACheckTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool AGoForward) {
    TTabSheet* next = FindNextPage(FActivePage, AGoForward, true);
    if (!next || next == FActivePage || !CanChange()) return;
    ShowPage(next);
    Change();
}

void TPageControl::ShowPage(TTabSheet* APage) {
    if (APage == FActivePage) return;
    TTabSheet* old = FActivePage;
    FActivePage = APage;
    if (APage) {
        APage->BringToFront();
        APage->SetVisible(true);
        MakeTabVisible(APage->TabIndex());
    }
    if (old && std::find(FPages.begin(), FPages.end(), old) != FPages.end()) old->SetVisible(false);
    if (HandleAllocated()) Invalidate();
}

void TPageControl::SelectTab(Integer ATab) {
    const std::vector<TTabSheet*> tabs = Tabs();
    if (ATab < 0 || ATab >= Integer(tabs.size()) || tabs[size_t(ATab)] == FActivePage) return;
    TTabSheet* page = tabs[size_t(ATab)];
    if (!CanChange()) return;
    // The hook may have moved or freed pages.
    if (std::find(FPages.begin(), FPages.end(), page) == FPages.end() || !page->TabVisible()) return;
    ShowPage(page);
    Change();
}

void TPageControl::SetTabPosition(TTabPosition AValue) {
    if (Store(FTabPosition, AValue)) PagesChanged();
}

void TPageControl::SetMultiLine(bool AValue) {
    if (AValue == FMultiLine) return;
    FMultiLine = AValue;
    FFirstTab = 0;
    PagesChanged();
}

void TPageControl::SetTabWidth(Integer AValue) {
    AValue = std::max(AValue, 0);
    if (AValue == FTabWidth) return;
    FTabWidth = AValue;
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(WORD(FTabWidth), WORD(FTabHeight)));
}

void TPageControl::SetTabHeight(Integer AValue) {
    AValue = std::max(AValue, 0);
    if (AValue == FTabHeight) return;
    FTabHeight = AValue;
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(WORD(FTabWidth), WORD(FTabHeight)));
}

void TPageControl::SetStyle(TTabStyle AValue) {
    if (Store(FStyle, AValue)) PagesChanged();
}

void TPageControl::SetImages(TCustomImageList* AValue) {
    if (FImageLink.Follow(AValue)) Perform(TCM_SETIMAGELIST, 0, LPARAM(FImageLink.Handle()));
}

void TPageControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == Images()) SetImages(nullptr);
}

TRect TPageControl::TabRect(Integer AIndex) {
    RECT r{};
    if (!Perform(TCM_GETITEMRECT, WPARAM(AIndex), LPARAM(&r))) return {};
    return ToTRect(r);
}

Integer TPageControl::IndexOfTabAt(Integer X, Integer Y) {
    TCHITTESTINFO info{{X, Y}, 0};
    return Integer(Perform(TCM_HITTEST, 0, LPARAM(&info)));
}

bool TPageControl::CanChange() {
    return Allowed(OnChanging, this);
}

void TPageControl::Change() {
    if (OnChange) OnChange(this);
}

Integer TPageControl::FontHeight() {
    if (FFontHeight == 0) FFontHeight = std::max(FontTextHeight(Font()), 1);
    return FFontHeight;
}

Integer TPageControl::ItemThickness() {
    if (FItemHeight > 0) return FItemHeight;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(FImageHandle, &cx, &cy);
    return std::max(FontHeight() + 6, Integer(cy) + 4);
}

Integer TPageControl::ItemLength(TTabSheet* APage) {
    if (FTabWidth > 0) return std::max(FItemWidth, 1);
    int cx = 0, cy = 0;
    // Every tab keeps room for an image once the control has a list.
    const Integer image = ImageList_GetIconSize(FImageHandle, &cx, &cy) ? Integer(cx) + ImageGap : 0;
    return FontTextWidth(Font(), APage->Caption()) + 2 * TextMargin + image;
}

void TPageControl::Layout() {
    if (FLayoutValid) return;
    const std::vector<TTabSheet*> tabs = Tabs();
    const bool horizontal = FTabPosition == tpTop || FTabPosition == tpBottom;
    const Integer width = ClientWidth(), height = ClientHeight();
    const Integer room = (horizontal ? width : height) - 2 * StripMargin;
    const Integer thickness = ItemThickness();
    FTabRects.clear();
    FRows = tabs.empty() ? 0 : 1;
    Integer position = StripMargin, row = 0;
    // One row scrolled to a first visible tab starts it at the edge; those
    // before it end at or left of 0.
    if (!FMultiLine && FFirstTab > 0) {
        position = 0;
        for (Integer i = 0; i < FFirstTab && i < Integer(tabs.size()); ++i)
            position -= ItemLength(tabs[size_t(i)]);
    }
    for (TTabSheet* page : tabs) {
        const Integer length = ItemLength(page);
        if (FMultiLine && position > StripMargin && position - StripMargin + length > room) {
            position = StripMargin;
            FRows = ++row + 1;
        }
        const Integer outer = StripMargin + row * thickness, inner = outer + thickness;
        switch (FTabPosition) {
            case tpTop:
                FTabRects.push_back(Rect(position, outer, position + length, inner));
                break;
            case tpBottom:
                FTabRects.push_back(Rect(position, height - inner, position + length, height - outer));
                break;
            case tpLeft:
                FTabRects.push_back(Rect(outer, position, inner, position + length));
                break;
            case tpRight:
                FTabRects.push_back(Rect(width - inner, position, width - outer, position + length));
                break;
        }
        position += length;
    }
    FLayoutValid = true;
}

TRect TPageControl::ItemRect(Integer ATab) {
    Layout();
    return ATab >= 0 && ATab < Integer(FTabRects.size()) ? FTabRects[size_t(ATab)] : TRect{};
}

Integer TPageControl::TabAt(TPoint APoint) {
    Layout();
    for (size_t i = 0; i < FTabRects.size(); ++i)
        if (ContainsPoint(FTabRects[i], APoint)) return Integer(i);
    return -1;
}

TRect TPageControl::DisplayRect(TRect ARect, bool AToWindow) {
    Layout();
    const Integer strip = FRows > 0 ? StripMargin + FRows * ItemThickness() : 0;
    const Integer sign = AToWindow ? -1 : 1;
    ARect.Left += sign * (FrameMargin + (FTabPosition == tpLeft ? strip : 0));
    ARect.Top += sign * (FrameMargin + (FTabPosition == tpTop ? strip : 0));
    ARect.Right -= sign * (FrameMargin + (FTabPosition == tpRight ? strip : 0));
    ARect.Bottom -= sign * (FrameMargin + (FTabPosition == tpBottom ? strip : 0));
    return ARect;
}

void TPageControl::MakeTabVisible(Integer ATab) {
    if (FMultiLine || ATab < 0) return;
    if (ATab < FFirstTab) {
        FFirstTab = ATab;
        FLayoutValid = false;
        return;
    }
    const bool horizontal = FTabPosition == tpTop || FTabPosition == tpBottom;
    const Integer end = (horizontal ? ClientWidth() : ClientHeight()) - StripMargin;
    while (FFirstTab < ATab) {
        const TRect r = ItemRect(ATab);
        if ((horizontal ? r.Right : r.Bottom) <= end) break;
        ++FFirstTab;
        FLayoutValid = false;
    }
}

void TPageControl::AdjustClientRect(TRect& ARect) {
    TCustomControl::AdjustClientRect(ARect);
    RECT r = ToRECT(ARect);
    Perform(TCM_ADJUSTRECT, FALSE, LPARAM(&r));
    ARect = ToTRect(r);
}

void TPageControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_HSCROLL:
            // The window's own strip scrolling; a scroll bar's goes back to it.
            if (AMessage.LParam) break;
            if (!FMultiLine) {
                const Integer last = std::max(Integer(Tabs().size()) - 1, 0);
                FFirstTab = std::clamp(ScrollRequest(AMessage.WParam, FFirstTab, 1, 1, last), 0, last);
                FLayoutValid = false;
                Invalidate();
            }
            AMessage.Result = 0;
            return;
        case WM_SIZE:
            FLayoutValid = false;
            TCustomControl::Dispatch(AMessage);
            Invalidate();
            return;
        case CM_FONTCHANGED:
            FFontHeight = 0;
            TCustomControl::Dispatch(AMessage);
            return PagesChanged();
        case CM_DIALOGKEY:
            // Ctrl+Tab turns the pages of the control that holds the focus.
            if (AMessage.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
                (Focused() || IsChild(Handle(), GetFocus()))) {
                SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
                AMessage.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(AMessage);
            if (HandleAllocated()) Invalidate();
            return;
        default:
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TPageControl::DefaultHandler(TMessage& AMessage) {
    const WPARAM w = AMessage.WParam;
    const LPARAM l = AMessage.LParam;
    LRESULT& result = AMessage.Result;
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS;
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const Integer tab = TabAt({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
            if (tab < 0) return;
            if (CanFocus() && !Focused()) SetFocus();
            return SelectTab(tab);
        }
        case WM_KEYDOWN: {
            const Integer tab = TabIndex();
            if (w == VK_LEFT || w == VK_UP) SelectTab(tab - 1);
            if (w == VK_RIGHT || w == VK_DOWN) SelectTab(tab + 1);
            return;
        }
        case TCM_GETITEMCOUNT:
            result = Integer(Tabs().size());
            return;
        case TCM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(l);
            const Integer tab = Integer(intptr_t(w));
            result = FALSE;
            if (!r || tab < 0 || tab >= Integer(Tabs().size())) return;
            *r = ToRECT(ItemRect(tab));
            result = TRUE;
            return;
        }
        case TCM_GETCURSEL:
            result = FActivePage ? FActivePage->TabIndex() : -1;
            return;
        case TCM_SETCURSEL: {
            result = FActivePage ? FActivePage->TabIndex() : -1;
            const std::vector<TTabSheet*> tabs = Tabs();
            const Integer tab = Integer(intptr_t(w));
            if (tab >= 0 && tab < Integer(tabs.size())) ShowPage(tabs[size_t(tab)]);
            return;
        }
        case TCM_HITTEST: {
            auto* info = reinterpret_cast<TCHITTESTINFO*>(l);
            result = -1;
            if (!info) return;
            result = TabAt({info->pt.x, info->pt.y});
            info->flags = result >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return;
        }
        case TCM_ADJUSTRECT: {
            auto* r = reinterpret_cast<RECT*>(l);
            if (r) *r = ToRECT(DisplayRect(ToTRect(*r), w != FALSE));
            result = 0;
            return;
        }
        case TCM_SETITEMSIZE:
            result = LRESULT(MAKELONG(WORD(FItemWidth), WORD(FItemHeight)));
            FItemWidth = LOWORD(ULONG_PTR(l));
            FItemHeight = HIWORD(ULONG_PTR(l));
            return PagesChanged();
        case TCM_GETIMAGELIST:
            result = LRESULT(FImageHandle);
            return;
        case TCM_SETIMAGELIST:
            result = LRESULT(std::exchange(FImageHandle, reinterpret_cast<HIMAGELIST>(l)));
            return PagesChanged();
        default:
            return TCustomControl::DefaultHandler(AMessage);
    }
}

void TPageControl::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.WinClassName = u"SysTabControl32";
}

void TPageControl::Paint() {
    TCanvas* canvas = Canvas();
    FillColor(canvas, ClientRect(), clBtnFace);
    Layout();
    if (FStyle == tsTabs) {
        TRect frame = DisplayRect(ClientRect(), false);
        frame = Rect(frame.Left - 2, frame.Top - 2, frame.Right + 2, frame.Bottom + 2);
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(frame);
    }
    const Integer selected = FActivePage ? FActivePage->TabIndex() : -1;
    for (Integer tab = 0; tab < Integer(FTabRects.size()); ++tab)
        if (tab != selected) PaintTab(tab, false);
    if (selected >= 0) PaintTab(selected, true);
}

void TPageControl::PaintTab(Integer ATab, bool ASelected) {
    TCanvas* canvas = Canvas();
    const std::vector<TTabSheet*> tabs = Tabs();
    TTabSheet* page = tabs[size_t(ATab)];
    TRect r = ItemRect(ATab);
    if (FStyle == tsTabs && ASelected) {
        // The selected tab stands out and joins the page: its edge on the page side is open.
        r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
        switch (FTabPosition) {
            case tpTop:
                r.Bottom += 1;
                break;
            case tpBottom:
                r.Top -= 1;
                break;
            case tpLeft:
                r.Right += 1;
                break;
            case tpRight:
                r.Left -= 1;
                break;
        }
    }
    const bool pressed = FStyle != tsTabs && ASelected;
    FillColor(canvas, r, pressed ? clBtnHighlight : clBtnFace);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
    if (FStyle == tsTabs && ASelected) {
        // Opens the frame line between the tab and the page.
        switch (FTabPosition) {
            case tpTop:
                DrawLine(canvas, r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1, clBtnFace);
                break;
            case tpBottom:
                DrawLine(canvas, r.Left + 1, r.Top, r.Right - 1, r.Top, clBtnFace);
                break;
            case tpLeft:
                DrawLine(canvas, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1, clBtnFace);
                break;
            case tpRight:
                DrawLine(canvas, r.Left, r.Top + 1, r.Left, r.Bottom - 1, clBtnFace);
                break;
        }
    }
    TRect content = Rect(r.Left + TextMargin, r.Top, r.Right - TextMargin, r.Bottom);
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(FImageHandle, &cx, &cy)) {
        const Integer index = page->ImageIndex();
        if (index >= 0 && index < ImageList_GetImageCount(FImageHandle)) {
            canvas->RequiredState({csHandleValid});
            ImageList_DrawEx(FImageHandle, index, canvas->Handle(), content.Left,
                             r.Top + (r.Height() - cy) / 2, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        }
        content.Left += cx + ImageGap;
    }
    canvas->Font()->Assign(Font());
    DrawTextIn(canvas, page->Caption(), content, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
               page->Enabled() ? Font()->Color() : clGrayText);
    if (ASelected && Focused()) canvas->DrawFocusRect(Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3));
}

namespace {

const auto Registered = [] {
    RegisterEnum<TTabPosition>({u"tpTop", u"tpBottom", u"tpLeft", u"tpRight"});
    RegisterEnum<TTabStyle>({u"tsTabs", u"tsButtons", u"tsFlatButtons"});
    RegisterClass<TTabSheet, TWinControl>()
        .Property(u"PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
        .Property(u"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Property(u"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
    RegisterClass<TPageControl, TCustomControl>()
        .Property(u"ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
        .Property(u"TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition)
        .Property(u"MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine)
        .Property(u"TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth)
        .Property(u"TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight)
        .Property(u"Style", &TPageControl::Style, &TPageControl::SetStyle)
        .Property(u"Images", &TPageControl::Images, &TPageControl::SetImages)
        .Event(u"OnChanging", &TPageControl::OnChanging)
        .Event(u"OnChange", &TPageControl::OnChange);
    return true;
}();

}  // namespace
