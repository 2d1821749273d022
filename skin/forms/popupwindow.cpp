// One level of an open skinned menu: a borderless window that never takes
// the focus or activation, sized to its rows, placed against the rectangle
// it opened from inside the work area, scrolling when the rows do not fit,
// driven by a 50 ms pointer poll, a morph timer and the keys the form
// component hands it.
#include <algorithm>

#include "platform/base/clock.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

constexpr ULONG_PTR ScrollTimerId = 1;
constexpr Integer MarkerZone = 10;

TTimer* PopupTimer(TComponent* AOwner, TNotifyEvent AOnTimer, Cardinal AInterval) {
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->OnTimer = std::move(AOnTimer);
    return timer;
}

bool PtIn(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

}  // namespace

TqxSkinPopupWindow::TqxSkinPopupWindow(TComponent* AOwner, TqxSkinMenu* AParentMenu, TqxDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
    SetVisible(false);
    MouseTimer = PopupTimer(this, [this](TObject*) { MouseTimerTick(); }, 50);
    MorphTimer = PopupTimer(this, [this](TObject*) { MorphTimerTick(); }, 20);
    TqxSkinData* sd = ParentMenu->SkinData;
    if (AData && AData->WindowPictureIndex != -1 && sd) {
        WindowPicture = sd->GetActivePicture(AData->WindowPictureIndex);
        MaskPicture = sd->GetActivePicture(AData->MaskPictureIndex);
        if (WindowPicture) {
            PW = AData;
            SD = sd;
        } else {
            MaskPicture = nullptr;
        }
    }
}

TqxSkinPopupWindow::~TqxSkinPopupWindow() {
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    ItemList.clear();
}

void TqxSkinPopupWindow::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WindowClass.style |= CS_SAVEBITS;
    if (IsXPOrLater()) AParams.WindowClass.style |= CS_DROPSHADOW;
}

Integer TqxSkinPopupWindow::IndexOfItem(const TqxSkinMenuItem* AItem) const {
    for (size_t i = 0; i < ItemList.size(); ++i)
        if (ItemList[i].get() == AItem) return Integer(i);
    return -1;
}

TqxSkinMenuItem* TqxSkinPopupWindow::ActiveRow() const {
    return ActiveItem >= 0 && ActiveItem < ItemCount() ? Item(ActiveItem) : nullptr;
}

Integer TqxSkinPopupWindow::ItemHeight(TMenuItem* AItem) const {
    if (IsMenuSeparator(AItem)) return Skinned() ? DSMI->DividerRect.Height() : 4;
    if (Skinned() && ParentMenu->UseSkinSize()) return DSMI->SkinRect.Height();
    return ParentMenu->DefaultMenuItemHeight();
}

void TqxSkinPopupWindow::AddItems(TMenuItem* AItem, Integer AFrom) {
    for (Integer i = std::max(AFrom, 0); i < AItem->Count(); ++i) {
        TMenuItem* child = AItem->Items(i);
        if (!child->Visible()) continue;
        if (TBasicAction* action = child->Action()) action->Update();
        ItemList.push_back(std::make_unique<TqxSkinMenuItem>(this, Skinned() ? DSMI : nullptr, child));
    }
}

void TqxSkinPopupWindow::CreateItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex) {
    DSMI = nullptr;
    if (SD && !SD->Empty)
        for (const auto& object : SD->ObjectList)
            if (auto* item = dynamic_cast<TqxDataSkinMenuItem*>(object.get())) {
                DSMI = item;
                break;
            }
    // A window picture without a menu-item section has no row metrics: the
    // default look draws such a skin's menus.
    if (!DSMI) {
        PW = nullptr;
        SD = nullptr;
        WindowPicture = MaskPicture = nullptr;
    }
    TFont* font = Canvas()->Font();
    if (Skinned() && ParentMenu->UseSkinFont()) {
        font->SetHeight(DSMI->FontHeight);
        font->SetStyle(DSMI->FontStyle);
        font->SetName(DSMI->FontName);
    } else {
        font->Assign(ParentMenu->DefaultMenuItemFont());
    }
    TqxResourceStrData* strings = ParentMenu->SkinData ? ParentMenu->SkinData->ResourceStrData() : nullptr;
    font->SetCharset(strings ? strings->CharSet() : ParentMenu->DefaultMenuItemFont()->Charset());
    TMenu* menu = AItem->GetParentMenu();
    if (menu && menu->AutoLineReduction() == maAutomatic) AItem->RethinkLines();
    ImgL = menu ? menu->Images() : nullptr;
    ItemList.clear();
    AddItems(AItem, StartIndex);
    if (AItem2) AddItems(AItem2, StartIndex - AItem->Count());
}

void TqxSkinPopupWindow::BuildItems(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool ATwo) {
    CreateItems(AItem, AItem2, StartIndex);
    CalcSize(ATwo);
    const Integer w = Width(), h = Height();
    if (Skinned()) {
        const Integer pw = WindowPicture->Width(), ph = WindowPicture->Height();
        NewLTPoint = PW->LTPoint;
        NewRTPoint = Point(w + PW->RTPoint.X - pw, PW->RTPoint.Y);
        NewLBPoint = Point(PW->LBPoint.X, h + PW->LBPoint.Y - ph);
        NewRBPoint = Point(w + PW->RBPoint.X - pw, h + PW->RBPoint.Y - ph);
        NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, w + PW->ItemsRect.Right - pw,
                            h + PW->ItemsRect.Bottom - ph);
    } else {
        NewItemsRect = Rect(2, 2, w - 2, h - 2);
    }
    LayoutItems();
    if (MaskPicture) SetMenuRegion();
}

Integer TqxSkinPopupWindow::GetItemTextWidth(TMenuItem* AItem) {
    String text = AItem->Caption();
    if (AItem->ShortCut() != 0) text += u"  " + ShortCutToText(AItem->ShortCut());
    TRect r = Rect(0, 0, 0, 0);
    SkinDrawText(Canvas(), text, r, DT_CALCRECT);
    return r.Width() + 2;
}

Integer TqxSkinPopupWindow::CalcWindowWidth() {
    Integer m = 0;
    for (const auto& item : ItemList)
        m = std::max(m, GetItemTextWidth(item->MenuItem));
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    m += GlyphWidth + 19;
    if (!Skinned()) return m + 10;
    return m + DSMI->TextRct.Left + (DSMI->SkinRect.Width() - DSMI->TextRct.Right) +
           (WindowPicture->Width() - PW->ItemsRect.Right + PW->ItemsRect.Left);
}

Integer TqxSkinPopupWindow::CalcWindowHeight(bool ATwo) {
    Integer sum = 0;
    for (const auto& item : ItemList)
        sum += ItemHeight(item->MenuItem);
    const Integer n = ItemCount();
    const Integer frame = Skinned() ? WindowPicture->Height() - PW->ItemsRect.Height() : ATwo ? 6 : 4;
    const Integer limit = ParentMenu->MaxMenuItemsInWindow;
    // A limit below 1 is no limit.
    if (limit >= 1 && limit < n) {
        const Integer rowHeight =
            Skinned() ? (ParentMenu->UseSkinSize() ? DSMI->SkinRect.Height() : ParentMenu->DefaultMenuItemHeight())
                      : ParentMenu->DefaultMenuItemHeight();
        Scroll = Scroll2 = true;
        return rowHeight * limit + frame + 2 * MarkerZone;
    }
    return sum + frame;
}

void TqxSkinPopupWindow::CalcSize(bool ATwo) {
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = Scroll2 = false;
    const Integer w = CalcWindowWidth();
    Integer h = CalcWindowHeight(ATwo);
    const Integer available = ParentMenu->WorkArea.Height();
    if (h > available) {
        h = available;
        Scroll = true;
        Scroll2 = false;
    }
    SetBounds(Left(), Top(), w, h);
}

void TqxSkinPopupWindow::LayoutItems() {
    TRect area = NewItemsRect;
    if (Scroll) {
        area.Top += MarkerZone;
        area.Bottom -= MarkerZone;
    }
    VisibleCount = 0;
    Integer y = area.Top;
    Integer last = VisibleStartIndex - 1;
    for (Integer i = VisibleStartIndex; i < ItemCount(); ++i) {
        TqxSkinMenuItem* item = Item(i);
        const Integer h = ItemHeight(item->MenuItem);
        item->ObjectRect = Rect(NewItemsRect.Left, y, NewItemsRect.Right, y + h);
        if (y + h > area.Bottom) break;
        item->FVisible = true;
        ++VisibleCount;
        last = i;
        y += h;
    }
    if (Scroll)
        for (Integer i = 0; i < ItemCount(); ++i)
            if (i < VisibleStartIndex || i > last) Item(i)->FVisible = false;
}

Integer TqxSkinPopupWindow::LastPageStartIndex() const {
    Integer y = NewItemsRect.Bottom - MarkerZone;
    Integer passed = 0;
    for (Integer i = ItemCount() - 1; i >= 0; --i) {
        y -= ItemHeight(Item(i)->MenuItem);
        if (y < MarkerZone) break;
        ++passed;
    }
    return ItemCount() - passed;
}

void TqxSkinPopupWindow::CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp) {
    const TRect& wa = ParentMenu->WorkArea;
    const Integer w = Width(), h = Height(), t = NewItemsRect.Top;
    const Integer mid = wa.Top + wa.Height() / 2;
    bool beside = false;
    Integer y;
    if (Scroll && !Scroll2) {
        y = wa.Top;
    } else if (PopupByItem) {
        if (R.Top - t + h <= wa.Bottom)
            y = R.Top - t;
        else if (R.Top < mid)
            y = wa.Bottom - h;
        else
            y = std::max(R.Bottom - h + t, wa.Top);
    } else if (PopupUp) {
        if (R.Top - h >= wa.Top) {
            y = R.Top - h;
        } else if (R.Top < mid) {
            if (R.Bottom + h <= wa.Bottom) {
                y = R.Bottom;
            } else {
                y = wa.Bottom - h;
                beside = true;
            }
        } else {
            y = wa.Top;
            beside = true;
        }
    } else if (R.Bottom + h <= wa.Bottom) {
        y = R.Bottom;
    } else if (R.Top < mid) {
        y = wa.Bottom - h;
        beside = true;
    } else if (R.Top - h >= wa.Top) {
        y = R.Top - h;
    } else {
        y = wa.Top;
        beside = true;
    }
    Integer x;
    if (PopupByItem || (Scroll && !Scroll2) || beside) {
        x = R.Right + w + 1 > wa.Right ? R.Left - w - 1 : R.Right + 1;
    } else {
        x = R.Left;
        if (R.Left + w > wa.Right)
            x = wa.Right - w;
        else if (R.Left < wa.Left)
            x = wa.Left;
    }
    ShowX = x;
    ShowY = y;
}

void TqxSkinPopupWindow::SetMenuRegion() {
    HRGN region = nullptr;
    CreateResizedMaskRegion(region, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                            NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    if (region) SetWindowRgn(Handle(), region, TRUE);
}

void TqxSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem,
                              bool PopupUp) {
    const bool fade = IsLayeredWindowsAvailable() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation &&
                      ParentMenu->First();
    if (fade && Application) {
        const WeakControl self(this);
        Application->ProcessMessages();
        if (!self.Alive()) return;
    }
    BuildItems(AItem, nullptr, StartIndex, false);
    ShowAt(R, PopupByItem, PopupUp);
}

void TqxSkinPopupWindow::Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                               bool PopupByItem, bool PopupUp) {
    const bool fade = IsLayeredWindowsAvailable() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation &&
                      ParentMenu->First();
    if (fade && Application) {
        const WeakControl self(this);
        Application->ProcessMessages();
        if (!self.Alive()) return;
    }
    BuildItems(AItem, AItem2, StartIndex, true);
    ShowAt(R, PopupByItem, PopupUp);
}

void TqxSkinPopupWindow::ShowAt(const TRect& R, bool PopupByItem, bool PopupUp) {
    CalcShowPosition(R, PopupByItem, PopupUp);
    const HWND handle = Handle();
    const bool layered = IsLayeredWindowsAvailable() && ParentMenu->AlphaBlend;
    const bool fade = layered && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    if (layered) {
        SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(handle, fade ? 0 : ParentMenu->AlphaBlendValue);
    }
    SetWindowPos(handle, HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    if (fade) {
        // Blocks for about 15 steps of just over 5 ms without pumping.
        const Integer target = ParentMenu->AlphaBlendValue;
        const Integer step = std::max(target / 15, 1);
        Integer alpha = 0;
        Cardinal last = GetTickCount();
        while (alpha < target) {
            const Cardinal now = GetTickCount();
            if (Cardinal(now - last) > 5) {
                last = now;
                alpha = std::min(alpha + step, target);
                SetWindowAlpha(handle, Byte(alpha));
            }
        }
    }
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (Integer i = 0; i < ItemCount(); ++i) {
        TqxSkinMenuItem* item = Item(i);
        if (item->MenuItem->Enabled() && !IsMenuSeparator(item->MenuItem)) {
            item->WaitCommand = true;
            ActiveItem = i;
            item->MouseEnter(true);
            break;
        }
    }
}

void TqxSkinPopupWindow::Hide() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    SetVisible(false);
}

void TqxSkinPopupWindow::CreateMenuBackground(TBitmap* ABitmap, bool AFillItems) {
    const Integer w = Width(), h = Height();
    if (Skinned()) {
        BuildWindowNinePartImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                                 NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, ABitmap, WindowPicture,
                                 Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), w, h, AFillItems,
                                 PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch,
                                 PW->StretchEffect, PW->StretchType);
        return;
    }
    ABitmap->SetSize(w, h);
    TCanvas* c = ABitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->FillRect(Rect(0, 0, w, h));
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, GlyphWidth + 2, h));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, w, h));
    c->Brush()->SetColor(clWindow);
    c->FrameRect(Rect(1, 1, w - 1, h - 1));
}

void TqxSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, const TRect& R) {
    if (!SD || R.Width() <= 0 || R.Height() <= 0) return;
    Integer index = SD->GetIndex(u"menuitem");
    if (index == -1) index = SD->GetIndex(u"MENUITEM");
    if (index == -1) return;
    auto* item = dynamic_cast<TqxDataSkinMenuItem*>(SD->ObjectList.Items(index));
    if (!item) return;
    if (item->InActiveTransparent && FPaintBuffer) {
        Cnvs->CopyRect(R, FPaintBuffer->Canvas(), R);
        return;
    }
    TBitmap* picture = SD->GetActivePicture(item->ActivePictureIndex);
    if (!picture || IsRectDegenerate(item->SkinRect)) return;
    TBitmap strip;
    BuildHorzThreePartImage(item->ItemLO, item->ItemRO, &strip, picture, item->SkinRect, R.Width(),
                            item->SkinRect.Height(), item->InActiveStretchEffect);
    const Integer h = std::min(R.Height(), strip.Height());
    Cnvs->CopyRect(Rect(R.Left, R.Top, R.Right, R.Top + h), strip.Canvas(), Rect(0, 0, R.Width(), h));
}

void TqxSkinPopupWindow::DrawMarker(TCanvas* Cnvs, bool AUp) {
    const bool hot = ScrollCode == (AUp ? 1 : 2);
    TRect r;
    TColor color;
    if (Skinned()) {
        r = AUp ? Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + MarkerZone)
                : Rect(NewItemsRect.Left, NewItemsRect.Bottom - MarkerZone, NewItemsRect.Right, NewItemsRect.Bottom);
        DrawItemBackground(Cnvs, r);
        color = hot ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    } else {
        r = AUp ? Rect(3, 3, Width() - 3, 13) : Rect(3, Height() - 10, Width() - 3, Height() - 3);
        color = hot ? clBtnText : clBtnShadow;
    }
    DrawArrow(Cnvs, r, color, AUp ? 3 : 4);
}

void TqxSkinPopupWindow::DrawUpMarker(TCanvas* Cnvs) {
    DrawMarker(Cnvs, true);
}

void TqxSkinPopupWindow::DrawDownMarker(TCanvas* Cnvs) {
    DrawMarker(Cnvs, false);
}

void TqxSkinPopupWindow::PaintMenu(HDC DC) {
    TBitmap buffer;
    CreateMenuBackground(&buffer, Scroll);
    if (Skinned() && DSMI && DSMI->InActiveTransparent) {
        FPaintBuffer = std::make_unique<TBitmap>();
        CreateMenuBackground(FPaintBuffer.get(), true);
    }
    TCanvas* c = buffer.Canvas();
    Integer lastBottom = NewItemsRect.Top + (Scroll ? MarkerZone : 0);
    for (Integer i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i) {
        Item(i)->Draw(c);
        lastBottom = Item(i)->ObjectRect.Bottom;
    }
    if (Scroll) {
        DrawUpMarker(c);
        DrawDownMarker(c);
        if (lastBottom < NewItemsRect.Bottom - MarkerZone)
            DrawItemBackground(c, Rect(NewItemsRect.Left, lastBottom, NewItemsRect.Right, NewItemsRect.Bottom - MarkerZone));
    }
    TCanvas target;
    target.SetHandle(DC);
    target.Draw(0, 0, &buffer);
    target.SetHandle(nullptr);
}

void TqxSkinPopupWindow::WndProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_MOUSEACTIVATE:
            AMessage.Result = MA_NOACTIVATE;
            return;
        case WM_ERASEBKGND:
            PaintMenu(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        case WM_TIMER:
            TCustomControl::WndProc(AMessage);
            if (AMessage.WParam != ScrollTimerId) return;
            if (ScrollCode == 1) {
                if (CanScroll(1))
                    ScrollUp(false);
                else
                    StopScroll();
            } else if (ScrollCode == 2) {
                if (CanScroll(2))
                    ScrollDown(false);
                else
                    StopScroll();
            }
            return;
        default:
            TCustomControl::WndProc(AMessage);
    }
}

bool TqxSkinPopupWindow::CanScroll(Integer ACode) const {
    if (ACode == 1) return VisibleStartIndex > 0;
    if (ACode == 2) return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
    return false;
}

void TqxSkinPopupWindow::ScrollUp(bool ACycle) {
    if (VisibleStartIndex > 0)
        --VisibleStartIndex;
    else if (ACycle)
        VisibleStartIndex = LastPageStartIndex();
    LayoutItems();
    Repaint();
}

void TqxSkinPopupWindow::ScrollDown(bool ACycle) {
    if (CanScroll(2))
        ++VisibleStartIndex;
    else if (ACycle)
        VisibleStartIndex = 0;
    LayoutItems();
    Repaint();
}

void TqxSkinPopupWindow::StartScrollTimer() {
    const Integer index = ParentMenu->IndexOfPopup(this);
    if (index + 1 < ParentMenu->PopupCount()) ParentMenu->CloseFrom(index + 1);
    KillTimer(Handle(), ScrollTimerId);
    SetTimer(Handle(), ScrollTimerId, 100, nullptr);
}

void TqxSkinPopupWindow::StopScroll() {
    ScrollCode = 0;
    DrawUpMarker(Canvas());
    DrawDownMarker(Canvas());
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
}

bool TqxSkinPopupWindow::CursorOverWindow() const {
    POINT p{};
    GetCursorPos(&p);
    return HandleAllocated() && WindowFromPoint(p) == const_cast<TqxSkinPopupWindow*>(this)->Handle();
}

void TqxSkinPopupWindow::MouseTimerTick() {
    if (!HandleAllocated()) return;
    POINT p{};
    GetCursorPos(&p);
    const TPoint client = ScreenToClient(Point(p.x, p.y));
    if (client.X == OMX && client.Y == OMY) return;
    if (CursorOverWindow()) {
        OMX = client.X;
        OMY = client.Y;
        TrackMouse(client.X, client.Y);
        return;
    }
    if (Scroll) {
        ScrollCode = 0;
        DrawUpMarker(Canvas());
        DrawDownMarker(Canvas());
    }
    OMX = client.X;
    OMY = client.Y;
}

bool TqxSkinPopupWindow::PointOnItem(Integer X, Integer Y) const {
    for (const auto& item : ItemList)
        if (item->FVisible && PtIn(item->ObjectRect, X, Y)) return true;
    return false;
}

void TqxSkinPopupWindow::TrackMouse(Integer X, Integer Y) {
    if (Scroll) {
        const TRect up = Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + MarkerZone);
        const TRect down =
            Rect(NewItemsRect.Left, NewItemsRect.Bottom - MarkerZone, NewItemsRect.Right, NewItemsRect.Bottom);
        if (PtIn(up, X, Y) && ScrollCode == 0 && CanScroll(1)) {
            ScrollCode = 1;
            DrawUpMarker(Canvas());
            StartScrollTimer();
        } else if (PtIn(down, X, Y) && ScrollCode == 0 && CanScroll(2)) {
            ScrollCode = 2;
            DrawDownMarker(Canvas());
            StartScrollTimer();
        } else if (ScrollCode != 0 && !PtIn(up, X, Y) && !PtIn(down, X, Y)) {
            StopScroll();
        }
    }
    if (ItemList.empty()) return;
    OldActiveItem = ActiveItem;
    for (Integer i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && PtIn(Item(i)->ObjectRect, X, Y)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (OldActiveItem >= ItemCount()) OldActiveItem = -1;
    const auto usable = [](TqxSkinMenuItem* AItem) {
        return AItem->MenuItem->Enabled() && !IsMenuSeparator(AItem->MenuItem);
    };
    if (ActiveItem == OldActiveItem && ActiveItem != -1) {
        TqxSkinMenuItem* item = Item(ActiveItem);
        if (item->WaitCommand) {
            item->WaitCommand = false;
            if (item->HasChildren()) item->MouseEnter(false);
        }
        return;
    }
    if (OldActiveItem != -1 && usable(Item(OldActiveItem))) Item(OldActiveItem)->MouseLeave();
    if (ActiveItem != -1 && usable(Item(ActiveItem))) Item(ActiveItem)->MouseEnter(false);
}

void TqxSkinPopupWindow::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TCustomControl::MouseUp(AButton, AShift, X, Y);
    TrackMouse(X, Y);
    if (AButton != mbLeft || ActiveItem == -1 || !PointOnItem(X, Y)) return;
    TqxSkinMenuItem* item = Item(ActiveItem);
    if (IsMenuSeparator(item->MenuItem)) return;
    // May free this window: nothing after it.
    item->MouseDown(X, Y);
}

void TqxSkinPopupWindow::MorphTimerTick() {
    if (!Skinned()) {
        MorphTimer->SetEnabled(false);
        return;
    }
    bool changed = false;
    for (Integer i = 0; i < ItemCount(); ++i) {
        TqxSkinMenuItem* item = Item(i);
        if (item->EnableMorphing() && item->CanMorphing()) {
            item->DoMorphing();
            changed = true;
        } else if (item->EnableAnimation()) {
            if (item->Active && item->CurrentFrame <= item->MI->FrameCount) {
                ++item->CurrentFrame;
                item->Draw(Canvas());
                changed = true;
            } else if (!item->Active && item->CurrentFrame > 0) {
                --item->CurrentFrame;
                item->Draw(Canvas());
                changed = true;
            }
        }
    }
    if (!changed) MorphTimer->SetEnabled(false);
}

void TqxSkinPopupWindow::CloseSubMenus() {
    const Integer index = ParentMenu->IndexOfPopup(this);
    if (index + 1 < ParentMenu->PopupCount()) ParentMenu->CloseFrom(index + 1);
    for (const auto& item : ItemList) {
        if (!item->Down) continue;
        item->Down = false;
        if (item->EnableAnimation() && !item->MI->InActiveAnimation) {
            item->CurrentFrame = 0;
            item->Draw(Canvas());
        } else {
            item->StartMorph();
        }
    }
}

void TqxSkinPopupWindow::SetActive(Integer AIndex) {
    const Integer old = ActiveItem;
    ActiveItem = AIndex;
    if (old == AIndex) return;
    if (AIndex != -1) Item(AIndex)->MouseEnter(true);
    if (old != -1 && old < ItemCount()) Item(old)->MouseLeave();
}

bool TqxSkinPopupWindow::FindAccelItem(Integer CharCode) {
    for (Integer i = 0; i < ItemCount(); ++i) {
        TqxSkinMenuItem* item = Item(i);
        if (!Enabled() || !IsAccel(Word(CharCode), item->MenuItem->Caption())) continue;
        const Integer old = ActiveItem;
        item->MouseEnter(false);
        ActiveItem = i;
        if (old != -1 && old != i && old < ItemCount()) Item(old)->MouseLeave();
        // May free this window: nothing after it.
        item->MouseDown(0, 0);
        return true;
    }
    return false;
}

void TqxSkinPopupWindow::SelectNextItem() {
    if (ItemList.empty()) return;
    const auto lastVisible = [this] { return VisibleStartIndex + VisibleCount - 1; };
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == lastVisible()) ScrollDown(true);
    Integer start = ActiveItem == -1 ? 0 : ActiveItem + 1;
    if (start >= ItemCount()) {
        start = 0;
        if (Scroll && VisibleStartIndex != 0) {
            VisibleStartIndex = 0;
            LayoutItems();
            Repaint();
        }
    }
    for (Integer i = start; i < ItemCount(); ++i) {
        TMenuItem* menuItem = Item(i)->MenuItem;
        if (menuItem->Enabled() && !IsMenuSeparator(menuItem)) {
            SetActive(i);
            return;
        }
        if (Scroll && i == lastVisible()) ScrollDown(true);
    }
}

void TqxSkinPopupWindow::SelectPrevItem() {
    if (ItemList.empty()) return;
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == VisibleStartIndex) ScrollUp(true);
    Integer start = ActiveItem <= 0 ? ItemCount() - 1 : ActiveItem - 1;
    if (ActiveItem == 0 && Scroll && VisibleStartIndex != LastPageStartIndex()) {
        VisibleStartIndex = LastPageStartIndex();
        LayoutItems();
        Repaint();
    }
    for (Integer i = start; i >= 0; --i) {
        TMenuItem* menuItem = Item(i)->MenuItem;
        if (menuItem->Enabled() && !IsMenuSeparator(menuItem)) {
            SetActive(i);
            return;
        }
        if (Scroll && i == VisibleStartIndex) ScrollUp(true);
    }
}

void TqxSkinPopupWindow::PopupKeyDown(Integer CharCode) {
    if (!Visible()) return;
    if (FindAccelItem(CharCode)) return;
    const Integer count = ParentMenu->PopupCount();
    switch (CharCode) {
        case VK_RETURN:
            if (TqxSkinMenuItem* item = ActiveRow()) item->MouseDown(0, 0);
            return;
        case VK_ESCAPE:
        case VK_LEFT:
            if (count >= 2) {
                if (TqxSkinMenuItem* item = ParentMenu->PopupWindow(count - 2)->ActiveRow()) {
                    item->Down = false;
                    item->StartMorph();
                }
                ParentMenu->CloseFrom(count - 1);
            } else if (CharCode == VK_ESCAPE) {
                ParentMenu->CloseFrom(0);
            }
            return;
        case VK_UP:
            SelectPrevItem();
            return;
        case VK_RIGHT:
            if (TqxSkinMenuItem* item = ActiveRow(); item && item->HasChildren()) item->MouseDown(0, 0);
            return;
        case VK_DOWN:
            SelectNextItem();
            return;
        default:
            return;
    }
}
