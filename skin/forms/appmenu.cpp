// The ribbon's application button and application menu: the column of
// command and page items with its scroll bar, the pages, the keyboard and
// mouse, the size grip and the caption picture the form draws while the
// menu is open.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/toolkit/controlmessages.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/ribbon.h"
#include "skin/forms/skinhint.h"

using namespace win;

namespace {

constexpr Integer DefaultItemHeight = 28;
constexpr Integer DefaultPageItemHeight = 35;
// Page items keep this distance from both edges when scrolled into view.
constexpr Integer PageItemMargin = 30;

}  // namespace

// The application button.

TqxAppButton::TqxAppButton(TComponent* AOwner) : TqxSkinMenuButton(AOwner) {}

bool TqxAppButton::CanTrackMenu(Integer X, Integer Y) {
    if (Ribbon && Ribbon->AppMenu()) return true;
    return TqxSkinMenuButton::CanTrackMenu(X, Y);
}

void TqxAppButton::TrackMenu() {
    if (Ribbon && Ribbon->AppMenu()) {
        FDownState = true;
        Ribbon->ShowAppMenu();
        return;
    }
    TqxSkinMenuButton::TrackMenu();
}

void TqxAppButton::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton == mbLeft && Ribbon && Ribbon->AppMenuVisible()) return Ribbon->HideAppMenu(nullptr);
    TqxSkinMenuButton::MouseDown(AButton, AShift, X, Y);
}

void TqxAppButton::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinMenuButton::KeyDown(AKey, AShift);
    if (AKey == VK_DOWN || AKey == VK_SPACE) {
        DropDown();
    } else if ((AKey == VK_LEFT || AKey == VK_RIGHT || AKey == VK_UP) && Ribbon && Ribbon->CanFocus()) {
        Ribbon->SetFocus();
    }
}

void TqxAppButton::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_GETDLGCODE) {
        AMessage.Result = DLGC_WANTARROWS;
        return;
    }
    TqxSkinMenuButton::Dispatch(AMessage);
    if (AMessage.Msg == WM_KEYUP && AMessage.WParam == VK_RETURN) DropDown();
}

// Pages.

TqxAppMenuPage::TqxAppMenuPage(TComponent* AOwner) : TqxAppMenuCustomPage(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csNoDesignVisible});
}

TqxAppMenu* TqxAppMenuPage::Menu() const {
    return dynamic_cast<TqxAppMenu*>(AppMenu());
}

void TqxAppMenuPage::SetDefaultWidth(Integer AValue) {
    if (FDefaultWidth == AValue) return;
    FDefaultWidth = AValue;
    SetWidth(AValue);
}

void TqxAppMenuPage::SetFirstActiveControl(TWinControl* AValue) {
    SetReference(this, FFirstActiveControl, AValue);
}

void TqxAppMenuPage::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxAppMenuCustomPage::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FFirstActiveControl) FFirstActiveControl = nullptr;
}

void TqxAppMenuPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TqxAppMenu* menu = Menu();
    if (!Parent() || !menu) return TqxAppMenuCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
    const TRect area = menu->GetPageBounds();
    Integer width =
        AWidth > area.Width() || FDefaultWidth == 0 ? area.Width() : std::min(FDefaultWidth, area.Width());
    width = std::max<Integer>(width, 100);
    TqxAppMenuCustomPage::SetBounds(area.Left, area.Top, width, std::max<Integer>(area.Height(), 100));
}

void TqxAppMenuPage::CreateParams(TCreateParams& AParams) {
    TqxAppMenuCustomPage::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TqxAppMenuPage::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_SIZE:
            TqxAppMenuCustomPage::Dispatch(AMessage);
            Invalidate();
            return;
        case WM_ERASEBKGND:
            PaintPageBackground(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        default:
            TqxAppMenuCustomPage::Dispatch(AMessage);
    }
}

void TqxAppMenuPage::PaintPageBackground(HDC ADC) {
    if (!ADC) return;
    TqxAppMenu* menu = Menu();
    if (menu) menu->GetSkinData();
    TCanvas canvas;
    canvas.SetHandle(ADC);
    const TRect client = Rect(0, 0, ClientWidth(), ClientHeight());
    if (menu && menu->FData && menu->FDataPicture) {
        const TRect& s = menu->FData->SkinRect;
        const TRect& c = menu->FData->ClRect;
        TBitmap cut;
        CutPicture(&cut, menu->FDataPicture,
                   Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom));
        SkinBackgroundFill(&canvas, client, &cut, menu->FData->StretchEffect, menu->FData->StretchType);
    } else {
        canvas.Brush()->SetColor(clWindow);
        canvas.FillRect(client);
    }
    canvas.SetHandle(nullptr);
}

// Items.

TqxAppMenuItem::TqxAppMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {
    FCaption = u"TqxAppMenuItem" + IntToStr(Index());
}

void TqxAppMenuItem::SetPage(TqxAppMenuPage* AValue) {
    if (FPage == AValue) return;
    FPage = AValue;
    auto* items = static_cast<TqxAppMenuItems*>(Collection());
    if (FPage && items && items->AppMenu()) FPage->FreeNotification(items->AppMenu());
    if (FPage && FPage->Menu()) FPage->Menu()->SetActivePage(FPage);
}

void TqxAppMenuItem::SetVisible(bool AValue) {
    if (FVisible == AValue) return;
    FVisible = AValue;
    Changed(false);
}

void TqxAppMenuItem::SetEnabled(bool AValue) {
    if (FEnabled == AValue) return;
    FEnabled = AValue;
    Changed(false);
}

void TqxAppMenuItem::SetImageIndex(Integer AValue) {
    if (FImageIndex == AValue) return;
    FImageIndex = AValue;
    Changed(false);
}

void TqxAppMenuItem::SetCaption(const String& AValue) {
    if (FCaption == AValue) return;
    FCaption = AValue;
    Changed(false);
}

void TqxAppMenuItem::Assign(TPersistent* ASource) {
    if (auto* item = dynamic_cast<TqxAppMenuItem*>(ASource)) {
        SetPage(item->FPage);
        FCaption = item->FCaption;
        FImageIndex = item->FImageIndex;
        FVisible = item->FVisible;
        FEnabled = item->FEnabled;
        return Changed(false);
    }
    TCollectionItem::Assign(ASource);
}

TqxAppMenuItems::TqxAppMenuItems(TqxAppMenu* AMenu) : TCollectionOf(AMenu), FMenu(AMenu) {}

void TqxAppMenuItems::Update(TCollectionItem* AItem) {
    TCollectionOf::Update(AItem);
    if (FMenu->ComponentState().Contains(csDesigning) || FMenu->Visible()) FMenu->UpdateScrollInfo();
    FMenu->Invalidate();
}

// The menu.

TqxAppMenu::TqxAppMenu(TComponent* AOwner) : TqxSkinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csNoDesignVisible});
    SetSkinDataName(u"appmenu");
    SetBounds(Left(), Top(), 250, 200);
    SetAlign(alNone);
    FItems = std::make_unique<TqxAppMenuItems>(this);
}

TqxAppMenu::~TqxAppMenu() {
    FItems.reset();
    delete FScrollBar;
}

void TqxAppMenu::SetItems(TqxAppMenuItems* AValue) {
    FItems->Assign(AValue);
    Invalidate();
}

void TqxAppMenu::SetItemWidth(Integer AValue) {
    FItemWidth = std::max<Integer>(AValue, 100);
    if (FActivePage) FActivePage->UpDateSize();
    Invalidate();
}

void TqxAppMenu::SetItemImageList(TCustomImageList* AValue) {
    SetReference(this, FItemImageList, AValue);
    Invalidate();
}

void TqxAppMenu::SetItemPageImageList(TCustomImageList* AValue) {
    SetReference(this, FItemPageImageList, AValue);
    Invalidate();
}

void TqxAppMenu::SetSkinHint(TqxSkinHint* AValue) {
    SetReference(this, FSkinHint, AValue);
}

void TqxAppMenu::SetRibbon(TqxRibbon* AValue) {
    SetReference(this, FRibbon, AValue);
}

void TqxAppMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FItemImageList) FItemImageList = nullptr;
    if (AComponent == FItemPageImageList) FItemPageImageList = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FRibbon) FRibbon = nullptr;
    if (AComponent == FScrollBar) FScrollBar = nullptr;
    if (AComponent == FActivePage) FActivePage = nullptr;
    // A freed page leaves the item that showed it.
    if (!FItems) return;
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->FPage == AComponent) {
            FItems->Items(i)->FPage = nullptr;
            if (!ComponentState().Contains(csDestroying)) Invalidate();
        }
}

void TqxAppMenu::Loaded() {
    TqxSkinControl::Loaded();
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TqxAppMenuPage* page = FItems->Items(i)->Page();
        if (!page) continue;
        page->SetAppMenu(this);
        page->FreeNotification(this);
        page->SetVisible(page == FActivePage);
    }
}

void TqxAppMenu::CreateParams(TCreateParams& AParams) {
    TqxSkinControl::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TqxAppMenu::GetSkinData() {
    TqxSkinControl::GetSkinData();
    if (FIndex == -1) {
        FData = nullptr;
        return;
    }
    FData = dynamic_cast<const TqxDataSkinAppMenu*>(SkinData()->CtrlList[FIndex]);
    if (!FData) return;
    FDataPicture = SkinData()->GetActivePicture(FData->PictureIndex);
    FDataBGPicture =
        FData->BGPictureIndex == -1 ? nullptr : SkinData()->GetActivePicture(FData->BGPictureIndex);
    FDataPageBGPicture =
        FData->BGPagePictureIndex == -1 ? nullptr : SkinData()->GetActivePicture(FData->BGPagePictureIndex);
}

bool TqxAppMenu::SameRects() {
    return FData && FData->PageItemRect == FData->ItemRect;
}

// Pages.

TRect TqxAppMenu::GetPageBounds() {
    GetSkinData();
    const Integer offset = FData ? FData->PageOffset : 0;
    return Bounds(offset + FItemWidth, 25, Width() - FItemWidth - offset - 25, Height() - 50);
}

void TqxAppMenu::SetActivePage(TqxAppMenuPage* AValue) {
    TqxAppMenuPage* old = FActivePage;
    if (old && old != AValue) {
        old->SetVisible(false);
        old->FStopScroll = true;
    }
    SetReference(this, FActivePage, AValue);
    if (AValue && !ComponentState().Contains(csLoading)) {
        AValue->SetVisible(false);
        AValue->SetAppMenu(this);
        AValue->SetParent(this);
        AValue->UpDateSize();
        AValue->SetVisible(true);
        AValue->BringToFront();
        AValue->FStopScroll = !Visible();
        if (AValue->CanScroll()) AValue->GetScrollInfo();
        if (AValue != old && OnChangePage) OnChangePage(this);
    }
    Invalidate();
}

TqxAppMenuPage* TqxAppMenu::CreatePage() {
    TCustomForm* form = GetParentForm(this);
    auto* page = new TqxAppMenuPage(form ? static_cast<TComponent*>(form) : Owner());
    page->SetParent(this);
    page->SetAppMenu(this);
    page->FreeNotification(this);
    page->UpDateSize();
    page->SetName(MakeUniqueComponentName(u"qxAppMenuPage%d", form));
    SetActivePage(page);
    Invalidate();
    return page;
}

// Items.

bool TqxAppMenu::Selectable(Integer AIndex) const {
    const TqxAppMenuItem* item = FItems->Items(AIndex);
    return item->Visible() && item->Enabled();
}

void TqxAppMenu::SetItemIndex(Integer AValue) {
    FItemIndex = AValue;
    if (AValue >= 0 && AValue < FItems->Count()) {
        TqxAppMenuPage* page = FItems->Items(AValue)->Page();
        if (page && page != FActivePage) SetActivePage(page);
    }
    if (FScrollBar) ScrollToItem(AValue);
    Invalidate();
}

void TqxAppMenu::SelectFound(Integer AIndex) {
    if (AIndex != -1) SetItemIndex(AIndex);
}

void TqxAppMenu::FindNextItem() {
    if (FItemIndex == -1 || FItemIndex == FItems->Count() - 1) return;
    for (Integer i = FItemIndex + 1; i < FItems->Count(); ++i)
        if (Selectable(i)) return SelectFound(i);
}

void TqxAppMenu::FindPriorItem() {
    if (FItemIndex <= 0) return;
    for (Integer i = FItemIndex - 1; i >= 0; --i)
        if (Selectable(i)) return SelectFound(i);
}

void TqxAppMenu::FindFirstItem() {
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (Selectable(i)) return SelectFound(i);
}

void TqxAppMenu::FindLastItem() {
    for (Integer i = FItems->Count() - 1; i >= 0; --i)
        if (Selectable(i)) return SelectFound(i);
}

// Layout and scrolling.

void TqxAppMenu::CalcItemRects() {
    GetSkinData();
    const bool same = SameRects();
    const Integer hI = FData ? FData->ItemRect.Height() : DefaultItemHeight;
    const Integer hP = FData ? FData->PageItemRect.Height() : DefaultPageItemHeight;
    Integer a = 0;
    if (FData && !IsRectDegenerate(FData->BackButtonRect)) {
        const Integer t = CanDrawAppMenuCaption() ? 0 : 3;
        FBackButtonRect = Rect(23, t, 23 + FData->BackButtonRect.Width(), t + FData->BackButtonRect.Height());
        a = FData->BackButtonRect.Height() + 5;
    } else {
        FBackButtonRect = Rect(0, 0, 0, 0);
    }
    Integer y = a - FScrollOffset + 7;
    bool first = true, previousHadPage = false;
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TqxAppMenuItem* item = FItems->Items(i);
        if (!item->Visible()) continue;
        const bool page = item->Page() != nullptr;
        if (first && page && !same) y = PageItemMargin - FScrollOffset;
        if (!first && page && !previousHadPage && !same) y += 8;
        if (page) {
            item->ItemRect = Rect(0, y, FItemWidth, y + hP);
            y += hP + (same ? 0 : 8);
        } else {
            item->ItemRect = same ? Rect(0, y, FItemWidth, y + hI) : Rect(8, y, FItemWidth - 8, y + hI);
            y += hI;
        }
        first = false;
        previousHadPage = page;
    }
}

void TqxAppMenu::GetItemsExtent(Integer& AMin, Integer& AMax, Integer& APage) {
    GetSkinData();
    const bool same = SameRects();
    const Integer hI = FData ? FData->ItemRect.Height() : DefaultItemHeight;
    const Integer hP = FData ? FData->PageItemRect.Height() : DefaultPageItemHeight;
    Integer a =
        (FData && !IsRectDegenerate(FData->BackButtonRect) ? FData->BackButtonRect.Height() + 5 : 0) + 7;
    bool first = true, previousHadPage = false;
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TqxAppMenuItem* item = FItems->Items(i);
        if (!item->Visible()) continue;
        const bool page = item->Page() != nullptr;
        if (first && page && !same) a = PageItemMargin;
        if (!first && page && !previousHadPage && !same) a += 8;
        a += !page || same ? hI : hP + 8;
        first = false;
        previousHadPage = page;
    }
    if (FItems->Count() > 0 && FItems->Items(FItems->Count() - 1)->Page()) a += 25;
    AMin = 0;
    AMax = a + 1;
    APage = Height();
}

void TqxAppMenu::UpdateScrollInfo() {
    Integer min = 0, max = 0, page = 0;
    GetItemsExtent(min, max, page);
    const bool needed = max > Height();
    if (needed && !FScrollBar) ShowScrollBar();
    if (!needed && FScrollBar) HideScrollBar();
    if (!FScrollBar) return;
    FScrollBar->SetRange(0, max, FScrollOffset, Height());
    FScrollBar->SetLargeChange(Height());
}

void TqxAppMenu::ShowScrollBar() {
    FScrollBar = new TqxSkinScrollBar(this);
    FScrollBar->FreeNotification(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->SetDefaultHeight(0);
    FScrollBar->SetDefaultWidth(19);
    FScrollBar->SetSmallChange(28);
    FScrollBar->SetLargeChange(28);
    FScrollBar->SetSkinDataName(u"vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(SkinData());
    FScrollBar->OnChange = [this](TObject*) {
        FScrollOffset = FScrollBar->Position();
        Repaint();
    };
    PlaceScrollBar();
    FScrollBar->SetVisible(true);
    Repaint();
}

void TqxAppMenu::HideScrollBar() {
    TqxSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    FScrollOffset = 0;
    Repaint();
}

void TqxAppMenu::PlaceScrollBar() {
    if (!FScrollBar) return;
    FScrollBar->SetBounds(Width() - FScrollBar->Width(), 0, FScrollBar->Width(),
                          Height() - (SizeGripShown() ? 20 : 0));
}

void TqxAppMenu::WMSize() {
    if (FActivePage) FActivePage->UpDateSize();
    if (FOldHeight != -1 && FOldHeight != Height()) {
        if (FScrollOffset > 0) FScrollOffset = std::max<Integer>(FScrollOffset + FOldHeight - Height(), 0);
        UpdateScrollInfo();
    }
    PlaceScrollBar();
    Invalidate();
    FOldHeight = Height();
}

void TqxAppMenu::ScrollToItem(Integer AIndex) {
    if (AIndex < 0 || AIndex >= FItems->Count() || !FScrollBar) return;
    CalcItemRects();
    const bool last = AIndex == FItems->Count() - 1;
    TRect r = FItems->Items(AIndex)->ItemRect;
    if (FScrollBar->Visible() && (r.Top < 0 || r.Bottom > Height())) {
        if (last)
            FScrollBar->SetPosition(FScrollBar->Max());
        else
            FScrollBar->SetPosition(FScrollBar->Position() + (r.Top < 0 ? r.Top : r.Bottom - Height()));
    } else if (FScrollBar->Visible()) {
        if (last && FScrollBar->Position() != FScrollBar->Max()) FScrollBar->SetPosition(FScrollBar->Max());
        if (AIndex == 0 && FScrollBar->Position() != FScrollBar->Min())
            FScrollBar->SetPosition(FScrollBar->Min());
    }
    if (!FItems->Items(AIndex)->Page() || !FScrollBar) return;
    CalcItemRects();
    r = FItems->Items(AIndex)->ItemRect;
    if (r.Top < PageItemMargin)
        FScrollBar->SetPosition(FScrollBar->Position() - (PageItemMargin - r.Top));
    else if (r.Bottom > Height() - PageItemMargin)
        FScrollBar->SetPosition(FScrollBar->Position() + r.Bottom - (Height() - PageItemMargin));
}

// Size grip.

bool TqxAppMenu::SizeGripShown() const {
    if (!FRibbon || !FRibbon->QXD()) return false;
    TqxDravenfold* d = FRibbon->QXD();
    return d->AppliedWindowState() != wsMaximized && d->Form()->BorderStyle() != bsSingle &&
           !d->RollUpState();
}

// Input.

void TqxAppMenu::TestActive(Integer X, Integer Y) {
    if (FItems->Count() == 0) return;
    const bool back = ItemHit(FBackButtonRect, Point(X, Y));
    if (back != FBackButtonActive) {
        FBackButtonActive = back;
        Invalidate();
    }
    FOldItemActive = FItemActive;
    FItemActive = -1;
    for (Integer i = 0; i < FItems->Count() && FItemActive == -1; ++i)
        if (Selectable(i) && ItemHit(FItems->Items(i)->ItemRect, Point(X, Y))) FItemActive = i;
    if (FItemActive == FOldItemActive) return;
    if (FOldItemActive >= 0 && FOldItemActive < FItems->Count())
        FItems->Items(FOldItemActive)->Active = false;
    if (FItemActive >= 0) FItems->Items(FItemActive)->Active = true;
    Invalidate();
}

void TqxAppMenu::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseMove(AShift, X, Y);
    TestActive(X, Y);
}

void TqxAppMenu::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    TestActive(X, Y);
    if (FItemActive != FItemIndex) SetItemIndex(FItemActive);
    if (CanFocus()) SetFocus();
}

void TqxAppMenu::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseUp(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    TestActive(X, Y);
    if (FBackButtonActive) {
        if (FRibbon) FRibbon->HideAppMenu(nullptr);
        return;
    }
    if (FItemIndex < 0 || FItemIndex >= FItems->Count() || !FRibbon) return;
    TqxAppMenuItem* item = FItems->Items(FItemIndex);
    if (!item->Page() && FItemActive == FItemIndex) FRibbon->HideAppMenu(item);
}

void TqxAppMenu::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinControl::KeyDown(AKey, AShift);
    switch (AKey) {
        case VK_RETURN:
        case VK_SPACE:
        case VK_TAB: {
            if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
            TqxAppMenuItem* item = FItems->Items(FItemIndex);
            if (!item->Page()) {
                if (!FRibbon) return;
                if (AKey == VK_TAB) return FindNextItem();
                return FRibbon->HideAppMenu(item);
            }
            TWinControl* first = item->Page()->FirstActiveControl();
            if (first && first->Parent() == item->Page() && first->Visible() && first->Enabled()) {
                first->SetFocus();
            } else if (AKey == VK_TAB) {
                FindNextItem();
            }
            return;
        }
        case VK_NEXT:
            return FindLastItem();
        case VK_PRIOR:
            return FindFirstItem();
        case VK_LEFT:
        case VK_UP:
            return FindPriorItem();
        case VK_RIGHT:
        case VK_DOWN:
            return FindNextItem();
        default:
            return;
    }
}

void TqxAppMenu::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxSkinControl::Dispatch(AMessage);
            Invalidate();
            return;
        case WM_MOUSEWHEEL: {
            const POINT p{static_cast<short>(LOWORD(AMessage.LParam)),
                          static_cast<short>(HIWORD(AMessage.LParam))};
            if (!Focused() || WindowFromPoint(p) != Handle()) return;
            if (static_cast<short>(HIWORD(AMessage.WParam)) < 0)
                FindNextItem();
            else
                FindPriorItem();
            return;
        }
        case WM_SIZE:
            TqxSkinControl::Dispatch(AMessage);
            WMSize();
            return;
        case WM_ERASEBKGND:
            AMessage.Result = 1;
            return;
        case WM_NCHITTEST: {
            TPoint p = ScreenToClient(Point(static_cast<short>(LOWORD(AMessage.LParam)),
                                            static_cast<short>(HIWORD(AMessage.LParam))));
            if (SizeGripShown() && ItemHit(GetSizeGripRect(), p)) {
                AMessage.Result = HTBOTTOMRIGHT;
                return;
            }
            TqxSkinControl::Dispatch(AMessage);
            return;
        }
        case CM_MOUSELEAVE:
            TqxSkinControl::Dispatch(AMessage);
            TestActive(-1, -1);
            return;
        default:
            TqxSkinControl::Dispatch(AMessage);
    }
}

// The caption the form draws.

bool TqxAppMenu::CanDrawAppMenuCaption() {
    GetSkinData();
    return FData && !IsRectDegenerate(FData->CaptionRect);
}

Integer TqxAppMenu::GetAppMenuCaptionOffset() {
    GetSkinData();
    return FData ? FData->CaptionLeftOffset + FItemWidth : FItemWidth;
}

void TqxAppMenu::DrawAppMenuCaption(TCanvas* ACanvas, const TRect& R) {
    GetSkinData();
    if (!FData || !FDataPicture) return;
    const TRect target = Rect(R.Left + FData->CaptionLeftOffset, FData->CaptionTopOffset,
                              R.Right + FData->CaptionLeftOffset, R.Bottom);
    TBitmap part;
    CutPicture(&part, FDataPicture, FData->CaptionRect);
    if (!part.Empty() && !IsRectDegenerate(target)) ACanvas->StretchDraw(target, &part);
}

// Painting.

void TqxAppMenu::Paint() {
    PaintAppMenu();
}

void TqxAppMenu::PaintAppMenu() {
    const Integer w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    GetSkinData();
    if (!FData || !FDataPicture) {
        TCanvas* c = Canvas();
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(0, 0, w, h));
        CalcItemRects();
        for (Integer i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->Visible()) PaintDefaultItem(c, FItems->Items(i));
        return;
    }
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* bc = b.Canvas();
    // What no background picture covers: the skin's face colour, never
    // the bitmap's undefined content.
    bc->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
    bc->FillRect(Rect(0, 0, w, h));
    if (FDataBGPicture) {
        const Integer right = FDataPageBGPicture ? FItemWidth : w;
        SkinBackgroundFill(bc, Rect(0, 0, right, h), FDataBGPicture, FData->BGStretchEffect, qxstFull);
    }
    if (FDataPageBGPicture)
        SkinBackgroundFill(bc, Rect(FItemWidth, 0, w, h), FDataPageBGPicture, FData->BGPageStretchEffect,
                           qxstFull);
    if (FActivePage) {
        const TRect& s = FData->SkinRect;
        const TRect& c = FData->ClRect;
        const TRect p = FActivePage->BoundsRect();
        const TRect f = Rect(p.Left - c.Left, p.Top - c.Top, p.Right + s.Width() - c.Right,
                             p.Bottom + s.Height() - c.Bottom);
        const Integer dx = f.Width() - s.Width(), dy = f.Height() - s.Height();
        TBitmap left, top, right, bottom;
        BuildBorderStrips(FData->LTPoint, FData->RTPoint, FData->LBPoint, FData->RBPoint, c, FData->LTPoint,
                          Point(FData->RTPoint.X + dx, FData->RTPoint.Y),
                          Point(FData->LBPoint.X, FData->LBPoint.Y + dy),
                          Point(FData->RBPoint.X + dx, FData->RBPoint.Y + dy),
                          Rect(c.Left, c.Top, c.Right + dx, c.Bottom + dy), &left, &top, &right, &bottom,
                          FDataPicture, s, f.Width(), f.Height(), FData->LeftStretch, FData->TopStretch,
                          FData->RightStretch, FData->BottomStretch);
        bc->Draw(f.Left, f.Top, &top);
        bc->Draw(f.Left, f.Top + top.Height(), &left);
        bc->Draw(f.Right - right.Width(), f.Top + top.Height(), &right);
        bc->Draw(f.Left, f.Bottom - bottom.Height(), &bottom);
    }
    CalcItemRects();
    if (!IsRectDegenerate(FBackButtonRect)) {
        const TRect& source = FBackButtonActive && !IsRectDegenerate(FData->BackButtonActiveRect)
                                  ? FData->BackButtonActiveRect
                                  : FData->BackButtonRect;
        bc->CopyRect(FBackButtonRect, FDataPicture->Canvas(), source);
    }
    const HDC dc = bc->Handle();
    const int saved = SaveDC(dc);
    // Scrolled items never cover the back button.
    if (!IsRectDegenerate(FBackButtonRect)) ExcludeClipRect(dc, 0, 0, FItemWidth, FBackButtonRect.Bottom + 2);
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Visible()) PaintSkinItem(bc, FItems->Items(i));
    RestoreDC(dc, saved);
    if (!IsRectDegenerate(FData->TopLineRect)) {
        TBitmap line;
        BuildHorzThreePartImage(FData->TopLineOffset1, FData->TopLineOffset2, &line, FDataPicture,
                                FData->TopLineRect, w, FData->TopLineRect.Height(), true);
        bc->Draw(0, 0, &line);
    }
    if (SizeGripShown() && !IsRectDegenerate(FData->GripperRect)) {
        TBitmap grip;
        CutPicture(&grip, FDataPicture, FData->GripperRect);
        grip.SetTransparentMode(tmFixed);
        grip.SetTransparentColor(FData->GripperTransparentColor);
        grip.SetTransparent(true);
        bc->Draw(w - grip.Width(), h - grip.Height(), &grip);
    }
    Canvas()->Draw(0, 0, &b);
}

void TqxAppMenu::ItemContent(TCanvas* ACanvas, TqxAppMenuItem* AItem, TRect ARect, bool ASkinned,
                             Integer ASpacing) {
    const bool page = AItem->Page() != nullptr;
    const bool same = ASkinned && SameRects();
    ARect.Left += page || same ? 20 : 10;
    if (same && FItemImageList) ARect.Left += 3;
    TCustomImageList* images = page ? FItemPageImageList : FItemImageList;
    if (images && AItem->ImageIndex() >= 0 && AItem->ImageIndex() < images->Count()) {
        if (same) ARect.Left = std::max<Integer>(ARect.Left - images->Width() - 3, 0);
        DrawImageAndTextLeft(ACanvas, ARect, 0, ASpacing, blGlyphLeft, AItem->Caption(), AItem->ImageIndex(),
                             images, false, AItem->Enabled(), false, 0);
    } else {
        DrawTextLeftOneLine(ACanvas, AItem->Caption(), ARect);
    }
}

void TqxAppMenu::PaintSkinItem(TCanvas* ACanvas, TqxAppMenuItem* AItem) {
    const bool page = AItem->Page() != nullptr;
    const TRect& r = AItem->ItemRect;
    bool mayHighlight = !page || r.Top >= PageItemMargin;
    if (page && FActivePage && r.Bottom > FActivePage->Top() + FActivePage->Height() - 5)
        mayHighlight = false;
    const bool highlighted = mayHighlight && (AItem->Active || (page && AItem->Page() == FActivePage) ||
                                              (AItem->Index() == FItemIndex && AItem->Enabled()));
    const auto setFont = [&](TCanvas* C, TColor AColor, Integer AHeight) {
        if (FUseSkinFont) {
            C->Font()->SetName(FData->FontName);
            C->Font()->SetStyle(FData->FontStyle);
        } else {
            C->Font()->Assign(Font());
        }
        C->Font()->SetHeight(AHeight);
        C->Font()->SetColor(AColor);
        C->Brush()->SetStyle(bsClear);
    };
    if (!highlighted) {
        const TColor color = !AItem->Enabled() ? FData->DisabledFontColor
                             : page            ? FData->FontPageColor
                                               : FData->FontColor;
        setFont(ACanvas, color, page ? FData->FontPageHeight : FData->FontHeight);
        ItemContent(ACanvas, AItem, r, true, 3);
        ACanvas->Brush()->SetStyle(bsSolid);
        return;
    }
    TBitmap b;
    TRect text;
    if (page) {
        const bool active = AItem->Page() == FActivePage;
        const TRect& source = active && !IsRectDegenerate(FData->PageItemActiveRect)
                                  ? FData->PageItemActiveRect
                                  : FData->PageItemRect;
        BuildHorzThreePartImage(FData->PageItemOffset1, FData->PageItemOffset2, &b, FDataPicture, source,
                                r.Width(), active ? source.Height() : r.Height(), true);
        text = Rect(0, 0, b.Width(), FData->PageItemRect.Height());
        setFont(b.Canvas(), FData->ActiveFontPageColor, FData->FontPageHeight);
    } else {
        BuildHorzThreePartImage(FData->ItemOffset1, FData->ItemOffset2, &b, FDataPicture, FData->ItemRect,
                                r.Width(), r.Height(), true);
        text = Rect(0, 0, b.Width(), b.Height());
        setFont(b.Canvas(), FData->ActiveFontColor, FData->FontHeight);
    }
    ItemContent(b.Canvas(), AItem, text, true, 3);
    ACanvas->Draw(r.Left, r.Top, &b);
}

void TqxAppMenu::PaintDefaultItem(TCanvas* ACanvas, TqxAppMenuItem* AItem) {
    const bool page = AItem->Page() != nullptr;
    const TRect& r = AItem->ItemRect;
    const bool highlighted = AItem->Active || (page && AItem->Page() == FActivePage) ||
                             (AItem->Index() == FItemIndex && !ComponentState().Contains(csDesigning));
    if (!highlighted) {
        ACanvas->Brush()->SetStyle(bsClear);
        ACanvas->Font()->SetColor(AItem->Enabled() ? clBtnHighlight : cl3DDkShadow);
        ItemContent(ACanvas, AItem, r, false, 5);
        ACanvas->Brush()->SetStyle(bsSolid);
        return;
    }
    TBitmap b;
    b.SetSize(r.Width(), r.Height() + 2);
    TCanvas* bc = b.Canvas();
    bc->Brush()->SetColor(clBtnFace);
    bc->FillRect(Rect(0, 0, b.Width(), b.Height()));
    bc->Font()->Assign(ACanvas->Font());
    bc->Font()->SetColor(clBtnText);
    bc->Brush()->SetStyle(bsClear);
    if (!page) DrawFrame3D(bc, Rect(0, 0, b.Width(), b.Height()), cl3DDkShadow, cl3DDkShadow);
    ItemContent(bc, AItem, Rect(0, 0, r.Width(), r.Height()), false, 5);
    if (page && AItem->Page() == FActivePage)
        DrawLargeArrow(bc, Rect(b.Width() - 5, 0, b.Width(), b.Height()), clWindow, 1);
    ACanvas->Draw(r.Left, r.Top, &b);
}

namespace {

const auto Registered = [] {
    using I = TqxAppMenuItem;
    RegisterClass<I, TCollectionItem>()
        .Property(u"Page", &I::Page, &I::SetPage)
        .Property(u"Visible", &I::Visible, &I::SetVisible)
        .Property(u"Enabled", &I::Enabled, &I::SetEnabled)
        .Property(u"ImageIndex", &I::ImageIndex, &I::SetImageIndex)
        .Property(u"Caption", &I::Caption, &I::SetCaption)
        .Event(u"OnClick", &I::OnClick);
    using P = TqxAppMenuPage;
    RegisterClass<P, TCustomControl>()
        .Property(u"DefaultWidth", &P::DefaultWidth, &P::SetDefaultWidth)
        .Property(u"FirstActiveControl", &P::FirstActiveControl, &P::SetFirstActiveControl)
        .Property(u"CanScroll", &P::CanScroll, &P::SetCanScroll)
        .Property(u"HotScroll", &P::HotScroll, &P::SetHotScroll)
        .Property(u"ScrollOffset", &P::ScrollOffset, &P::SetScrollOffset)
        .Property(u"ScrollTimerInterval", &P::ScrollTimerInterval, &P::SetScrollTimerInterval);
    using M = TqxAppMenu;
    RegisterClass<M, TCustomControl>()
        .Property(u"SkinData", &M::SkinData, &M::SetSkinData)
        .Property(u"SkinDataName", &M::SkinDataName, &M::SetSkinDataName)
        .Property(u"Items", &M::Items)
        .Property(u"ActivePage", &M::ActivePage, &M::SetActivePage)
        .Property(u"ItemWidth", &M::ItemWidth, &M::SetItemWidth)
        .Property(u"ItemImageList", &M::ItemImageList, &M::SetItemImageList)
        .Property(u"ItemPageImageList", &M::ItemPageImageList, &M::SetItemPageImageList)
        .Property(u"UseSkinFont", &M::UseSkinFont, &M::SetUseSkinFont)
        .Property(u"SkinHint", &M::SkinHint, &M::SetSkinHint)
        .Event(u"OnChangePage", &M::OnChangePage)
        .Event(u"OnShowMenu", &M::OnShowMenu)
        .Event(u"OnShowingMenu", &M::OnShowingMenu)
        .Event(u"OnHideMenu", &M::OnHideMenu)
        .Event(u"OnHidingMenu", &M::OnHidingMenu);
    return true;
}();

}  // namespace
