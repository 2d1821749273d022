#include "skin/controls/qxskinofficelistbox.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/gdi/dc.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/core/qxutils.h"

using namespace win;

// Items.

TqxSkinOfficeItem::TqxSkinOfficeItem(TCollection* ACollection) : TCollectionItem(ACollection) {
    if (auto* items = dynamic_cast<TqxSkinOfficeItems*>(ACollection))
        Active = items->OfficeListBox() && Index() == items->OfficeListBox()->ItemIndex();
}

void TqxSkinOfficeItem::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TqxSkinOfficeItem*>(ASource);
    if (!source) return TCollectionItem::Assign(ASource);
    FImageIndex = source->FImageIndex;
    FCaption = source->FCaption;
    FTitle = source->FTitle;
    FEnabled = source->FEnabled;
    FChecked = source->FChecked;
    FHeader = source->FHeader;
    Changed(false);
}

void TqxSkinOfficeItem::SetImageIndex(Integer AValue) {
    Store(FImageIndex, AValue);
}

void TqxSkinOfficeItem::SetTitle(const String& AValue) {
    Store(FTitle, AValue);
}

void TqxSkinOfficeItem::SetCaption(const String& AValue) {
    Store(FCaption, AValue);
}

void TqxSkinOfficeItem::SetEnabled(bool AValue) {
    Store(FEnabled, AValue);
}

void TqxSkinOfficeItem::SetHeader(bool AValue) {
    Store(FHeader, AValue);
}

void TqxSkinOfficeItem::SetChecked(bool AValue) {
    Store(FChecked, AValue);
}

TqxSkinOfficeItems::TqxSkinOfficeItems(TqxSkinOfficeListBox* AListBox)
    : TCollectionOf<TqxSkinOfficeItem>(AListBox), FOfficeListBox(AListBox) {}

TqxSkinOfficeItem* TqxSkinOfficeItems::Add() {
    TqxSkinOfficeItem* item = TCollectionOf<TqxSkinOfficeItem>::Add();
    FOfficeListBox->Repaint();
    return item;
}

TqxSkinOfficeItem* TqxSkinOfficeItems::Insert(Integer AIndex) {
    TqxSkinOfficeItem* item = TCollectionOf<TqxSkinOfficeItem>::Insert(AIndex);
    FOfficeListBox->Repaint();
    return item;
}

void TqxSkinOfficeItems::Delete(Integer AIndex) {
    TCollectionOf<TqxSkinOfficeItem>::Delete(AIndex);
    FOfficeListBox->Repaint();
}

void TqxSkinOfficeItems::Clear() {
    TCollectionOf<TqxSkinOfficeItem>::Clear();
    FOfficeListBox->Repaint();
}

void TqxSkinOfficeItems::Update(TCollectionItem*) {
    FOfficeListBox->Repaint();
    FOfficeListBox->UpdateScrollInfo();
}

// The list.

TqxSkinOfficeListBox::TqxSkinOfficeListBox(TComponent* AOwner)
    : TqxSkinCustomControl(AOwner), FItems(std::make_unique<TqxSkinOfficeItems>(this)) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csReplicatable);
    SetSkinDataName(u"listbox");
    SetBounds(Left(), Top(), 150, 150);
    SetTabStop(false);
}

TqxSkinOfficeListBox::~TqxSkinOfficeListBox() = default;

void TqxSkinOfficeListBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == ScrollBar) ScrollBar = nullptr;
}

// Properties.

void TqxSkinOfficeListBox::SetItems(TqxSkinOfficeItems* AValue) {
    FItems->Assign(AValue);
    Repaint();
    UpdateScrollInfo();
}

namespace {

template <typename T>
bool Changes(T& AField, const T& AValue) {
    if (AField == AValue) return false;
    AField = AValue;
    return true;
}

}  // namespace

void TqxSkinOfficeListBox::SetShowItemTitles(bool AValue) {
    if (Changes(FShowItemTitles, AValue)) Repaint();
}

void TqxSkinOfficeListBox::SetShowCheckBoxes(bool AValue) {
    if (Changes(FShowCheckBoxes, AValue)) Repaint();
}

void TqxSkinOfficeListBox::SetShowLines(bool AValue) {
    if (Changes(FShowLines, AValue)) Repaint();
}

void TqxSkinOfficeListBox::SetItemHeight(Integer AValue) {
    if (Changes(FItemHeight, AValue)) Repaint();
}

void TqxSkinOfficeListBox::SetHeaderHeight(Integer AValue) {
    if (Changes(FHeaderHeight, AValue)) Repaint();
}

void TqxSkinOfficeListBox::SetHeaderLeftAlignment(bool AValue) {
    if (Changes(FHeaderLeftAlignment, AValue)) Repaint();
}

bool TqxSkinOfficeListBox::Selectable(Integer AIndex) const {
    const TqxSkinOfficeItem* item = FItems->Items(AIndex);
    return !item->Header() && item->Enabled();
}

void TqxSkinOfficeListBox::SetActiveFlags(Integer AIndex) {
    for (Integer i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->Active = i == AIndex;
}

void TqxSkinOfficeListBox::SetItemIndex(Integer AValue) {
    // An index that names no row is refused before anything changes.
    if (AValue >= 0) FItems->Items(AValue);
    FItemIndex = AValue;
    // The row under the pointer takes over again on its next move.
    FMouseActive = -1;
    SetActiveFlags(AValue);
    Repaint();
    if (AValue < 0) return;
    ScrollToItem(AValue);
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    const WeakControl self(this);
    if (TqxSkinOfficeItem* item = FItems->Items(AValue); item->OnClick) item->OnClick(this);
    if (self.Alive() && OnItemClick) OnItemClick(this);
}

void TqxSkinOfficeListBox::SetItemActive(Integer AIndex) {
    FItemIndex = AIndex;
    SetActiveFlags(AIndex);
    Repaint();
    ScrollToItem(AIndex);
}

void TqxSkinOfficeListBox::BeginUpdateItems() {
    FUpdating = true;
    if (HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, 0, 0);
}

void TqxSkinOfficeListBox::EndUpdateItems() {
    FUpdating = false;
    if (HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, 1, 0);
    Repaint();
    UpdateScrollInfo();
}

// Layout and scrolling.

void TqxSkinOfficeListBox::CalcItemRects() {
    FRealMax = 0;
    if (FIndex == -1) {
        FItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
    } else {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        FItemsRect = NewClRect;
    }
    if (ScrollBar) FItemsRect.Right -= ScrollBar->Width() - 1;
    Integer y = FItemsRect.Top;
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TqxSkinOfficeItem* item = FItems->Items(i);
        const Integer h = item->Header() ? FHeaderHeight : FItemHeight;
        item->ItemRect = Rect(FItemsRect.Left, y - FScrollOffset, FItemsRect.Right, y + h - FScrollOffset);
        const TRect& r = item->ItemRect;
        item->IsVisible = RectTopOrBottomInRect(r, FItemsRect) ||
                          (r.Top <= FItemsRect.Top && r.Bottom >= FItemsRect.Bottom);
        if (item->IsVisible) FRealMax = r.Bottom;
        y += h;
    }
    FMax = y;
}

void TqxSkinOfficeListBox::GetScrollInfo(Integer& AMin, Integer& AMax, Integer& APosition, Integer& APage) {
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = FItemsRect.Height();
    if (APage >= AMax) {
        AMax = 0;
        APage = 0;
    }
    APosition = FScrollOffset;
}

void TqxSkinOfficeListBox::UpdateScrollInfo() {
    if (!HandleAllocated() || FUpdating) return;
    Integer min, max, position, page;
    GetScrollInfo(min, max, position, page);
    if (max != 0) {
        if (!ScrollBar) ShowScrollbar();
        ScrollBar->SetRange(min, max, position, page);
        ScrollBar->SetLargeChange(page);
        // Rows taken away while scrolled: the offset stays where the bar can reach it.
        if (ScrollBar->Position() != FScrollOffset) {
            FScrollOffset = ScrollBar->Position();
            Invalidate();
        }
    } else {
        if (ScrollBar) HideScrollBar();
        // Without a bar every row must be reachable.
        if (FScrollOffset != 0) {
            FScrollOffset = 0;
            Invalidate();
        }
    }
}

void TqxSkinOfficeListBox::ShowScrollbar() {
    ScrollBar = new TqxSkinScrollBar(this);
    ScrollBar->SetVisible(false);
    ScrollBar->SetParent(this);
    ScrollBar->SetDefaultHeight(0);
    ScrollBar->SetDefaultWidth(19);
    ScrollBar->SetSmallChange(FItemHeight);
    ScrollBar->SetLargeChange(FItemHeight);
    ScrollBar->SetSkinDataName(u"vscrollbar");
    ScrollBar->SetKind(sbVertical);
    ScrollBar->SetSkinData(SkinData());
    ScrollBar->OnChange = [this](TObject* Sender) { SBChange(Sender); };
    AdjustScrollBar();
    ScrollBar->SetVisible(true);
    Repaint();
}

void TqxSkinOfficeListBox::HideScrollBar() {
    if (!ScrollBar) return;
    ScrollBar->SetVisible(false);
    TqxSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    delete bar;
    Repaint();
}

void TqxSkinOfficeListBox::AdjustScrollBar() {
    if (!ScrollBar) return;
    TRect r = Rect(1, 1, Width() - 1, Height() - 1);
    if (FIndex != -1) {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        r = NewClRect;
    }
    const Integer width = ScrollBar->Width();
    ScrollBar->SetBounds(r.Right - width, r.Top, width, r.Height());
}

void TqxSkinOfficeListBox::SBChange(TObject*) {
    Scroll(ScrollBar->Position());
}

void TqxSkinOfficeListBox::Scroll(Integer AScrollOffset) {
    FScrollOffset = AScrollOffset;
    Repaint();
    UpdateScrollInfo();
}

void TqxSkinOfficeListBox::ScrollToItem(Integer AIndex) {
    CalcItemRects();
    const TqxSkinOfficeItem* item = FItems->Items(AIndex);
    const TRect current = item->ItemRect;
    const TRect unscrolled =
        Rect(current.Left, current.Top + FScrollOffset, current.Right, current.Bottom + FScrollOffset);
    if (current.Top <= FItemsRect.Top) {
        // The first group's header stays in view with its first row.
        FScrollOffset = AIndex == 1 && FItems->Items(0)->Header() ? 0 : unscrolled.Top - FItemsRect.Top;
        CalcItemRects();
        Invalidate();
    } else if (current.Bottom >= FItemsRect.Bottom) {
        FScrollOffset = unscrolled.Bottom + FItemsRect.Top - Height() + 1;
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

Integer TqxSkinOfficeListBox::CalcHeight(Integer AItemCount) {
    const Integer n = std::min(AItemCount, FItems->Count());
    if (FIndex == -1) return n * FItemHeight + 5;
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    return n * FItemHeight + Height() - NewClRect.Height() + 1;
}

Integer TqxSkinOfficeListBox::ItemAtPos(Integer X, Integer Y) {
    for (Integer i = 0; i < FItems->Count(); ++i) {
        const TqxSkinOfficeItem* item = FItems->Items(i);
        const TRect& r = item->ItemRect;
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom && item->Enabled()) return i;
    }
    return -1;
}

void TqxSkinOfficeListBox::WMSize() {
    if (Height() != FOldHeight) {
        CalcItemRects();
        if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
            FScrollOffset = std::max(0, FScrollOffset + FRealMax - FItemsRect.Bottom);
            CalcItemRects();
            Invalidate();
        }
    }
    AdjustScrollBar();
    UpdateScrollInfo();
    FOldHeight = Height();
}

// Keyboard.

void TqxSkinOfficeListBox::FindUp() {
    for (Integer i = FItemIndex - 1; i >= 0; --i)
        if (Selectable(i)) return SetItemIndex(i);
}

void TqxSkinOfficeListBox::FindDown() {
    for (Integer i = std::max(FItemIndex + 1, 0); i < FItems->Count(); ++i)
        if (Selectable(i)) return SetItemIndex(i);
}

Integer TqxSkinOfficeListBox::PageWalk(Integer AFrom, Integer ATo) {
    const Integer step = ATo >= AFrom ? 1 : -1;
    bool headerPassed = false;
    Integer chosen = -1;
    for (Integer i = AFrom; i != ATo + step; i += step) {
        if (FItems->Items(i)->Header()) {
            headerPassed = true;
        } else if (Selectable(i)) {
            chosen = i;
            if (headerPassed) break;
        }
    }
    return chosen;
}

void TqxSkinOfficeListBox::FindPageUp() {
    if (FItemIndex < 1) return;
    CalcItemRects();
    const Integer page = std::max(1, FItemsRect.Height() / std::max(1, FItemHeight));
    const Integer row = PageWalk(FItemIndex - 1, std::max(0, FItemIndex - 1 - page));
    if (row >= 0) SetItemIndex(row);
}

void TqxSkinOfficeListBox::FindPageDown() {
    const Integer start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (start >= FItems->Count()) return;
    CalcItemRects();
    const Integer page = std::max(1, FItemsRect.Height() / std::max(1, FItemHeight));
    const Integer row = PageWalk(start, std::min(start + page, FItems->Count() - 1));
    if (row >= 0) SetItemIndex(row);
}

void TqxSkinOfficeListBox::ToggleChecked(TqxSkinOfficeItem* AItem) {
    AItem->SetChecked(!AItem->Checked());
    if (OnItemCheckClick) OnItemCheckClick(this);
}

void TqxSkinOfficeListBox::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinCustomControl::KeyDown(AKey, AShift);
    switch (AKey) {
        case VK_PRIOR:
            FindPageUp();
            break;
        case VK_NEXT:
            FindPageDown();
            break;
        case VK_LEFT:
        case VK_UP:
            FindUp();
            break;
        case VK_RIGHT:
        case VK_DOWN:
            FindDown();
            break;
        default:
            break;
    }
}

void TqxSkinOfficeListBox::KeyUp(Word& AKey, TShiftState AShift) {
    TqxSkinCustomControl::KeyUp(AKey, AShift);
    if (AKey == VK_SPACE && FShowCheckBoxes && FItemIndex >= 0 && FItemIndex < FItems->Count())
        ToggleChecked(FItems->Items(FItemIndex));
}

// Mouse.

void TqxSkinOfficeListBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    const Integer row = ItemAtPos(X, Y);
    if (row < 0 || !Selectable(row)) return;
    SetItemActive(row);
    FMouseDown = true;
    FMouseActive = row;
}

void TqxSkinOfficeListBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    const Integer row = ItemAtPos(X, Y);
    if (row < 0 || row == FMouseActive || !Selectable(row) || !(FMouseDown || FMouseMoveChangeIndex)) return;
    SetItemActive(row);
    FMouseActive = row;
}

void TqxSkinOfficeListBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
    FMouseDown = false;
    const WeakControl self(this);
    Integer row = ItemAtPos(X, Y);
    if (AButton == mbLeft && row >= 0 && Selectable(row)) {
        SetItemIndex(row);
        if (!self.Alive()) return;
        row = ItemAtPos(X, Y);
    }
    if (!FShowCheckBoxes || row < 0 || row != FItemIndex) return;
    TqxSkinOfficeItem* item = FItems->Items(row);
    if (X < item->ItemRect.Left + FCheckOffset) ToggleChecked(item);
}

// Messages.

void TqxSkinOfficeListBox::WndProc(TMessage& AMessage) {
    if (DroppedWhileTakingFocus(this, AMessage, FClicksDisabled)) return;
    TqxSkinCustomControl::WndProc(AMessage);
}

void TqxSkinOfficeListBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS;
            return;
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            WMSize();
            return;
        case WM_MOUSEWHEEL:
            if (!ScrollBar) break;
            if (GET_WHEEL_DELTA_WPARAM(AMessage.WParam) < 0)
                ScrollBar->SetPosition(ScrollBar->Position() + ScrollBar->SmallChange());
            else
                ScrollBar->SetPosition(ScrollBar->Position() - ScrollBar->SmallChange());
            AMessage.Result = 1;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

// Skin and painting.

void TqxSkinOfficeListBox::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    if (TqxSkinData* skin = SkinData()) {
        const auto* element = FindSkinElement<TqxDataSkinEditControl>(skin, u"edit");
        FDisabledFontColor = element ? element->DisabledFontColor : skin->SkinColors()->cBtnShadow();
    }
    if (ScrollBar) {
        ScrollBar->SetSkinData(SkinData());
        AdjustScrollBar();
    }
    CalcItemRects();
    Repaint();
}

void TqxSkinOfficeListBox::PaintRows(TBitmap* B) {
    CalcItemRects();
    TCanvas* canvas = B->Canvas();
    const TqxCanvasClip clip(canvas, FItemsRect);
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->IsVisible) DrawItem(i, canvas);
}

void TqxSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWindow);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(Rect(0, 0, Width(), Height()));
    PaintRows(B);
}

void TqxSkinOfficeListBox::CreateControlSkinImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlSkinImage(B);
    PaintRows(B);
}

void TqxSkinOfficeListBox::DrawItem(Integer AIndex, TCanvas* Cnvs) {
    if (FIndex == -1)
        DefaultDrawItem(AIndex, Cnvs);
    else
        SkinDrawItem(AIndex, Cnvs);
}

void TqxSkinOfficeListBox::DrawPicturePart(Integer X, Integer Y, TCanvas* Cnvs, const TRect& ARect,
                                           TCanvas* ASource) {
    TBitmap part;
    part.SetSize(ARect.Width(), ARect.Height());
    part.Canvas()->CopyRect(Rect(0, 0, ARect.Width(), ARect.Height()), ASource, ARect);
    part.SetTransparent(true);
    Cnvs->Draw(X, Y, &part);
}

// The popup.

TqxPopupOfficeListBox::TqxPopupOfficeListBox(TComponent* AOwner) : TqxSkinOfficeListBox(AOwner) {
    FControlStyle.Include(csNoDesignVisible);
    SetVisible(false);
}

void TqxPopupOfficeListBox::CreateParams(TCreateParams& AParams) {
    TqxSkinOfficeListBox::CreateParams(AParams);
    AParams.Style = WS_POPUP | WS_CLIPCHILDREN;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WindowClass.style = CS_SAVEBITS | (IsXPOrLater() ? CS_DROPSHADOW : 0);
}

void TqxPopupOfficeListBox::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_MOUSEACTIVATE) {
        AMessage.Result = MA_NOACTIVATE;
        return;
    }
    TqxSkinOfficeListBox::Dispatch(AMessage);
}

void TqxPopupOfficeListBox::Show(TPoint AOrigin) {
    auto* combo = dynamic_cast<TqxSkinCustomOfficeComboBox*>(Owner());
    const bool layered = combo && IsLayeredWindowsAvailable();
    const HWND window = Handle();
    if (layered) {
        const bool alphaBlend = combo->AlphaBlend();
        if (alphaBlend != FOldAlphaBlend) {
            const LONG ex = GetWindowLongW(window, GWL_EXSTYLE);
            SetWindowLongW(window, GWL_EXSTYLE,
                           alphaBlend ? ex | LONG(WS_EX_LAYERED) : ex & ~LONG(WS_EX_LAYERED));
            // The style comes back without its alpha: apply it again then.
            if (!alphaBlend) FOldAlphaBlendValue = -1;
            FOldAlphaBlend = alphaBlend;
        }
        if (alphaBlend && FOldAlphaBlendValue != combo->AlphaBlendValue()) {
            const Byte alpha = combo->AlphaBlendAnimation() ? 0 : combo->AlphaBlendValue();
            SetWindowAlpha(window, alpha);
            FOldAlphaBlendValue = alpha;
        }
    }
    SetWindowPos(window, HWND_TOP, AOrigin.X, AOrigin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (!layered || !combo->AlphaBlend() || !combo->AlphaBlendAnimation()) return;
    // What is pending may close the form and free the combo with its list.
    const WeakControl self(this);
    Application->ProcessMessages();
    if (!self.Alive()) return;
    combo->ListPressedCleared();
    const Byte target = combo->AlphaBlendValue();
    const Integer step = std::max(1, target / 15);
    Integer alpha = 0;
    Int64 last = 0;
    while (alpha < target) {
        const Int64 now = GetTickCount();
        if (now - last <= 5) continue;
        last = now;
        alpha = std::min<Integer>(alpha + step, target);
        SetWindowAlpha(window, Byte(alpha));
    }
}

void TqxPopupOfficeListBox::Hide() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
}

namespace {

using TItem = TqxSkinOfficeItem;
using TList = TqxSkinOfficeListBox;

const auto Registered = [] {
    RegisterClass<TItem>()
        .Property(u"ImageIndex", &TItem::ImageIndex, &TItem::SetImageIndex)
        .Property(u"Title", &TItem::Title, &TItem::SetTitle)
        .Property(u"Caption", &TItem::Caption, &TItem::SetCaption)
        .Property(u"Enabled", &TItem::Enabled, &TItem::SetEnabled)
        .Property(u"Header", &TItem::Header, &TItem::SetHeader)
        .Property(u"Checked", &TItem::Checked, &TItem::SetChecked)
        .Event(u"OnClick", &TItem::OnClick);
    RegisterClass<TList, TqxSkinCustomControl>()
        .Property(u"Items", &TList::Items)
        .Property(u"ItemIndex", &TList::ItemIndex, &TList::SetItemIndex)
        .Property(u"Images", &TList::Images, &TList::SetImages)
        .Property(u"ShowItemTitles", &TList::ShowItemTitles, &TList::SetShowItemTitles)
        .Property(u"ShowCheckBoxes", &TList::ShowCheckBoxes, &TList::SetShowCheckBoxes)
        .Property(u"ShowLines", &TList::ShowLines, &TList::SetShowLines)
        .Property(u"ItemHeight", &TList::ItemHeight, &TList::SetItemHeight)
        .Property(u"HeaderHeight", &TList::HeaderHeight, &TList::SetHeaderHeight)
        .Property(u"HeaderLeftAlignment", &TList::HeaderLeftAlignment, &TList::SetHeaderLeftAlignment)
        .Property(u"ItemSkinDataName", &TList::ItemSkinDataName, &TList::SetItemSkinDataName)
        .Property(u"HeaderSkinDataName", &TList::HeaderSkinDataName, &TList::SetHeaderSkinDataName)
        .Property(u"MouseMoveChangeIndex", &TList::MouseMoveChangeIndex, &TList::SetMouseMoveChangeIndex)
        .Event(u"OnDrawItem", &TList::OnDrawItem)
        .Event(u"OnItemClick", &TList::OnItemClick)
        .Event(u"OnItemCheckClick", &TList::OnItemCheckClick);
    return true;
}();

}  // namespace
