// The MDI tabs bar: layout, the three looks of a tab, the mouse (hover,
// press, drag and drop, close and add buttons) and the two drop-down lists.
#include "skin/forms/mditabsbar.h"

#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/icons.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/menus.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

const String ListMarker = u"_QXDCHILDITEMBAR";
const String HideListMarker = u"_QXDCHILDITEMBARHIDE";

bool InRect(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

TRect OrRect(const TRect& A, const TRect& B) {
    return IsRectDegenerate(A) ? B : A;
}

TqxDravenfold* ComponentOf(TCustomForm* AForm) {
    return AForm ? FindDravenfold(AForm) : nullptr;
}

// Shows a child, restoring it first when its form component minimized it.
void ShowChild(TCustomForm* AChild) {
    if (TqxDravenfold* component = ComponentOf(AChild); component && component->WindowState() == wsMinimized)
        component->SetWindowState(wsNormal);
    AChild->Show();
}

}  // namespace

// The tab.

void TqxMDITab::Draw(TCanvas* Cnvs) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap bitmap;
    if (TabsBar->Skinned() && TabsBar->FTabKind == qxtkButton)
        ButtonDraw(&bitmap);
    else if (!TabsBar->Skinned() || TabsBar->FUseSkinSize)
        DrawFixed(Cnvs, &bitmap);
    else
        ResizeDraw(&bitmap);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &bitmap);
}

void TqxMDITab::DrawFixed(TCanvas*, TBitmap* B) {
    TqxSkinMDITabsBar* bar = TabsBar;
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(w, h);
    TCanvas* c = B->Canvas();
    if (!bar->Skinned()) {
        c->Brush()->SetColor(MouseIn && !Active ? DefaultLookHoverFill
                             : Active           ? DefaultLookDownFill
                                                : clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
        bar->SetupTabFont(c, clBtnText);
        const Integer closeWidth = bar->FShowCloseButtons ? bar->FCloseSize + 5 : 2;
        DrawContent(c, Rect(2, 0, w - closeWidth, h), h);
        return;
    }
    const TRect& source = MouseIn && !Active ? bar->MouseInTabRect
                          : Active           ? bar->ActiveTabRect
                                             : bar->TabRect;
    TBitmap face;
    BuildHorzThreePartImage(bar->TabLeftOffset, bar->TabRightOffset, &face, bar->Picture, source, w, h,
                            bar->TabStretchEffect);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, w, h));
    c->Draw(0, 0, &face);
    bar->SetupTabFont(c, MouseIn && !Active ? bar->MouseInFontColor
                         : Active           ? bar->ActiveFontColor
                                            : bar->FontColor);
    const Integer right = w - bar->TabRightOffset - (bar->FShowCloseButtons ? bar->FCloseSize + 3 : 0);
    DrawContent(c, Rect(bar->TabLeftOffset, 1, right, h), h);
}

void TqxMDITab::ResizeDraw(TBitmap* B) {
    TqxSkinMDITabsBar* bar = TabsBar;
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height() + (Active ? bar->FActiveTabOffset : 0);
    const bool hover = MouseIn && !Active && !IsRectDegenerate(bar->MouseInTabRect);
    const TRect& source = hover ? bar->MouseInTabRect : Active ? bar->ActiveTabRect : bar->TabRect;
    B->SetSize(w, std::max(h, 1));
    const Integer m = bar->TabRect.Height() / 4;
    BuildStretchedSkinImage(
        B, bar->Picture, source,
        Rect(bar->TabLeftOffset, m, source.Width() - bar->TabRightOffset, source.Height() - m), true);
    TCanvas* c = B->Canvas();
    bar->SetupTabFont(c, hover ? bar->MouseInFontColor : Active ? bar->ActiveFontColor : bar->FontColor);
    DrawContent(c, Rect(2, 1, w - (bar->FShowCloseButtons ? bar->FCloseSize + 5 : 2), h), h);
}

void TqxMDITab::ButtonDraw(TBitmap* B) {
    TqxSkinMDITabsBar* bar = TabsBar;
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(w, h);
    TBitmap* picture = nullptr;
    const TqxDataSkinButtonControl* e = FindButtonElement(bar->SkinData(), {u"resizebutton"}, picture);
    if (!e) return;
    const TRect& source = ButtonStateRect(*e, Active, Active || MouseIn);
    BuildButtonElementImage(*e, picture, source, w, h, B);
    TCanvas* c = B->Canvas();
    bar->SetupTabFont(c, Active ? e->DownFontColor : MouseIn ? e->ActiveFontColor : e->FontColor);
    // The element's client rectangle at the tab's size.
    TRect text = e->ClRect;
    text.Right += w - e->SkinRect.Width();
    text.Bottom += h - e->SkinRect.Height();
    if (bar->FShowCloseButtons) text.Right -= bar->FCloseSize + 3;
    const Integer textHeight = c->TextHeight(u"Wg");
    if (text.Height() < textHeight) {
        text.Top = (h - textHeight) / 2;
        text.Bottom = text.Top + textHeight;
    }
    DrawContent(c, text, h);
}

void TqxMDITab::DrawContent(TCanvas* Cnvs, TRect ATextArea, Integer AHeight) {
    TqxSkinMDITabsBar* bar = TabsBar;
    if (bar->FShowCloseButtons)
        DrawCloseButton(Cnvs, Rect(ATextArea.Right, ATextArea.Top, ObjectRect.Width(), AHeight));
    if (bar->FShowChildIcon) {
        TRect icon = Rect(ATextArea.Left, ATextArea.Top, ATextArea.Left + 20, ATextArea.Bottom);
        DrawChildIcon(icon, Cnvs);
        ATextArea.Left = icon.Right;
    }
    String caption = Child->Caption();
    FitTextToWidthW(Cnvs, caption, ATextArea.Width());
    Cnvs->Brush()->SetStyle(bsClear);
    if (bar->OnTabGetDrawParamsEvent) bar->OnTabGetDrawParamsEvent(this, Cnvs);
    SkinDrawText(Cnvs, caption, ATextArea,
                 bar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

void TqxMDITab::DrawCloseButton(TCanvas* Cnvs, const TRect& R) {
    TqxSkinMDITabsBar* bar = TabsBar;
    const bool hot = ButtonMouseIn, pressed = ButtonMouseDown && hot;
    const Integer centre = R.Top + R.Height() / 2;
    if (!bar->Skinned()) {
        ButtonRect = Rect(R.Left, centre - 7, R.Left + 14, centre + 7);
        DrawCloseGlyph(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2, hot ? clWhite : clBlack);
        return;
    }
    if (!IsRectDegenerate(bar->CloseButtonRect)) {
        const TRect& source = pressed ? bar->CloseButtonDownRect
                              : hot   ? bar->ClosebuttonActiveRect
                                      : bar->CloseButtonRect;
        TBitmap face;
        CopySkinPiece(bar->Picture, source, &face);
        if (bar->ButtonTransparent) {
            face.SetTransparentColor(bar->ButtonTransparentColor);
            face.SetTransparent(true);
        }
        ButtonRect = Bounds(R.Left, centre - source.Height() / 2, source.Width(), source.Height());
        Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &face);
        return;
    }
    TBitmap* picture = nullptr;
    const TqxDataSkinButtonControl* e = FindButtonElement(bar->SkinData(), {u"resizetoolbutton"}, picture);
    const Integer size = bar->FCloseSize;
    ButtonRect = Bounds(R.Left, centre - size / 2, size, size);
    if (!e) return;
    TBitmap face;
    BuildButtonElementImage(*e, picture, ButtonStateRect(*e, pressed, hot), size, size, &face);
    DrawCloseGlyph(face.Canvas(), size / 2 - 5, size / 2 - 5,
                   pressed ? e->DownFontColor
                   : hot   ? e->ActiveFontColor
                           : e->FontColor);
    Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &face);
}

void TqxMDITab::DrawChildIcon(TRect& R, TCanvas* Cnvs) {
    Integer w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) {
        w = GetSystemMetrics(SM_CXSIZE);
        h = GetSystemMetrics(SM_CYSIZE);
    }
    HICON source = nullptr;
    bool system = false;
    if (Child->Icon() && !Child->Icon()->Empty())
        source = Child->Icon()->Handle();
    else if (Application && Application->Icon() && !Application->Icon()->Empty())
        source = Application->Icon()->Handle();
    else {
        source = LoadIconW(nullptr, IDI_APPLICATION);
        system = true;
    }
    if (R.Width() < w) R.Right = R.Left + w;
    if (source) {
        const HICON icon = HICON(CopyImage(source, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
        if (icon) {
            DrawIconEx(Cnvs->Handle(), R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2, icon, w, h,
                       0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
        }
    }
    if (system && source) DestroyIcon(source);
}

// The bar.

TqxSkinMDITabsBar::TqxSkinMDITabsBar(TComponent* AOwner)
    : TqxSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    SetBounds(Left(), Top(), 150, 21);
    SetSkinDataName(u"tab");
    FListMenu = new TqxSkinPopupMenu(this);
    FHideListMenu = new TqxSkinPopupMenu(this);
}

TqxSkinMDITabsBar::~TqxSkinMDITabsBar() {
    if (FDravenfold && FDravenfold->MDITabsBar() == this) FDravenfold->SetMDITabsBar(nullptr);
    ObjectList.clear();
}

void TqxSkinMDITabsBar::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == static_cast<TComponent*>(FDravenfold)) FDravenfold = nullptr;
    if (AComponent == static_cast<TComponent*>(FListButton)) FListButton = nullptr;
    if (AComponent == static_cast<TComponent*>(FHideListButton)) FHideListButton = nullptr;
    // A child freed without hiding first leaves no tab behind (it is no
    // longer a form by now: compared as a component).
    for (auto& tab : ObjectList)
        if (static_cast<TComponent*>(tab->Child) == AComponent) return DeleteTab(tab->Child);
}

void TqxSkinMDITabsBar::SetDravenfold(TqxDravenfold* Value) {
    SetReference(this, FDravenfold, Value);
}

void TqxSkinMDITabsBar::SetShowAddButton(bool Value) {
    if (FShowAddButton == Value) return;
    FShowAddButton = Value;
    Invalidate();
}

void TqxSkinMDITabsBar::SetShowChildIcon(bool Value) {
    if (FShowChildIcon == Value) return;
    FShowChildIcon = Value;
    Invalidate();
}

void TqxSkinMDITabsBar::SetShowCloseButtons(bool Value) {
    FShowCloseButtons = Value;
    Invalidate();
}

void TqxSkinMDITabsBar::SetTabKind(TqxSkinMDITabKind Value) {
    FTabKind = Value;
    if (Skinned()) ChangeSkinData();
}

void TqxSkinMDITabsBar::SetDefaultHeight(Integer Value) {
    FDefaultHeight = Value;
    if (!Skinned() && Value > 0) SetHeight(Value);
}

void TqxSkinMDITabsBar::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    Invalidate();
}

void TqxSkinMDITabsBar::SetupTabFont(TCanvas* Cnvs, TColor AColor) const {
    TFont* font = Cnvs->Font();
    if (Skinned() && FUseSkinFont) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(FDefaultFont.get());
    }
    font->SetCharset(SkinTextCharset(SkinData(), FDefaultFont.get()));
    font->SetColor(AColor);
}

// Tabs.

void TqxSkinMDITabsBar::AddTab(TCustomForm* Child) {
    ObjectList.push_back(std::make_unique<TqxMDITab>(this, Child));
    Child->FreeNotification(this);
    if (!FListButton) FListButton = MakeListButton(alLeft, 4, FListMenu);
    UpdateActiveTab();
    Invalidate();
}

void TqxSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
    const auto at = std::find_if(ObjectList.begin(), ObjectList.end(),
                                 [&](const auto& ATab) { return ATab->Child == Child; });
    if (at == ObjectList.end()) return;
    const Integer index = Integer(at - ObjectList.begin());
    if (ActiveTabIndex == index) {
        if (OnTabMouseLeave) OnTabMouseLeave(at->get());
        ActiveTabIndex = OldTabIndex = -1;
    } else if (ActiveTabIndex > index) {
        --ActiveTabIndex;
        OldTabIndex = ActiveTabIndex;
    }
    // A drag of a tab that goes ends with it.
    if (DragIndex != -1) {
        DragIndex = -1;
        IsDrag = FDown = false;
        DX = TabDX = 0;
    }
    ObjectList.erase(ObjectList.begin() + index);
    if (ObjectList.empty() && FListButton) {
        delete FListButton;
        FListButton = nullptr;
    }
    Invalidate();
}

Integer TqxSkinMDITabsBar::GetTabIndex(Integer X, Integer Y) const {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->Visible && InRect(ObjectList[i]->ObjectRect, X, Y)) return Integer(i);
    return -1;
}

TqxMDITab* TqxSkinMDITabsBar::GetTab(Integer X, Integer Y) const {
    const Integer index = GetTabIndex(X, Y);
    return index == -1 ? nullptr : ObjectList[size_t(index)].get();
}

Integer TqxSkinMDITabsBar::GetCloseSize() const {
    return !Skinned() || IsRectDegenerate(CloseButtonRect) ? 14 : CloseButtonRect.Width();
}

void TqxSkinMDITabsBar::UpdateActiveTab() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active) return;
    for (auto& tab : ObjectList)
        tab->Active = tab->Child == active;
    Invalidate();
}

void TqxSkinMDITabsBar::RefreshTab(TCustomForm* Child) {
    for (auto& tab : ObjectList)
        if (tab->Child == Child && tab->Visible) return Invalidate();
}

void TqxSkinMDITabsBar::CalcTabs() {
    const Integer barHeight = Height();
    if (ObjectList.empty()) {
        FAddButtonRect = Rect(2, barHeight / 2 - 8, 16, barHeight / 2 + 6);
        FInVisibleCount = 0;
        return;
    }
    FInVisibleCount = 0;
    const Integer width = Width() - (FShowAddButton ? 19 : 0);
    const Integer tabHeight = barHeight - (FTabKind == qxtkTab ? FBottomOffset : 0);
    const Integer count = Integer(ObjectList.size());
    Integer w = std::min((width - 15) / count, FDefaultTabWidth);
    Integer dragLimit = width;
    Integer lastRight = -1;
    if (FMinTabWidth != 0 && w < FMinTabWidth) {
        w = FMinTabWidth;
        const Integer fit = std::max((width - 30) / w, 0);
        for (Integer i = 0; i < count; ++i) {
            TqxMDITab* tab = ObjectList[size_t(i)].get();
            tab->Visible = i < fit;
            tab->ObjectRect = tab->Visible ? Rect(15 + i * w, 0, 15 + (i + 1) * w, tabHeight) : TRect{};
            if (tab->Visible)
                lastRight = tab->ObjectRect.Right;
            else
                ++FInVisibleCount;
        }
        dragLimit = width - 15;
    } else {
        for (Integer i = 0; i < count; ++i) {
            TqxMDITab* tab = ObjectList[size_t(i)].get();
            tab->Visible = true;
            tab->ObjectRect = Rect(15 + i * w, 0, 15 + (i + 1) * w, tabHeight);
        }
        if (w < FDefaultTabWidth) ObjectList.back()->ObjectRect.Right = width;
        lastRight = ObjectList.back()->ObjectRect.Right;
    }
    const Integer addLeft = lastRight == -1 ? 2 : lastRight + 2;
    FAddButtonRect = Rect(addLeft, barHeight / 2 - 8, addLeft + 14, barHeight / 2 + 6);
    if (DragIndex != -1 && IsDrag && DragIndex < count) {
        TRect& r = ObjectList[size_t(DragIndex)]->ObjectRect;
        r = Rect(r.Left + TabDX, r.Top, r.Right + TabDX, r.Bottom);
        if (r.Right > dragLimit) r = Rect(dragLimit - r.Width(), r.Top, dragLimit, r.Bottom);
        if (r.Left < 0) r = Rect(0, r.Top, r.Width(), r.Bottom);
    }
}

Integer TqxSkinMDITabsBar::GetDropIndex() const {
    if (ObjectList.empty() || TabDX == 0 || DragIndex < 0 || DragIndex >= TabCount()) return -1;
    const TRect& dragged = ObjectList[size_t(DragIndex)]->ObjectRect;
    const auto centre = [](const TRect& R) { return R.Left + R.Width() / 2; };
    if (TabDX > 0) {
        Integer result = -1;
        for (Integer i = DragIndex + 1; i < TabCount(); ++i)
            if (ObjectList[size_t(i)]->Visible && centre(ObjectList[size_t(i)]->ObjectRect) < dragged.Right)
                result = i;
        return result;
    }
    for (Integer i = 0; i < DragIndex; ++i)
        if (ObjectList[size_t(i)]->Visible && centre(ObjectList[size_t(i)]->ObjectRect) > dragged.Left)
            return i;
    return -1;
}

// Skin.

void TqxSkinMDITabsBar::GetSkinData() {
    TqxSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinTabControl*>(SkinData()->CtrlList[FIndex]);
    // Another kind of element under the name is no tab element: default look.
    if (!e) {
        FIndex = -1;
        return;
    }
    Picture = SkinData()->GetActivePicture(e->PictureIndex);
    TabRect = e->TabRect;
    ActiveTabRect = OrRect(e->ActiveTabRect, e->TabRect);
    MouseInTabRect = OrRect(e->MouseInTabRect, e->TabRect);
    TabsBGRect = e->TabsBGRect;
    TabLeftOffset = e->TabLeftOffset;
    TabRightOffset = e->TabRightOffset;
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    FontColor = e->FontColor;
    ActiveFontColor = e->FocusFontColor;
    MouseInFontColor = e->MouseInFontColor;
    UpDown = e->UpDown;
    TabStretchEffect = e->TabStretchEffect;
    CloseButtonRect = e->CloseButtonRect;
    ClosebuttonActiveRect = OrRect(e->CloseButtonActiveRect, e->CloseButtonRect);
    CloseButtonDownRect = OrRect(e->CloseButtonDownRect, ClosebuttonActiveRect);
    ButtonTransparent = e->ButtonTransparent;
    ButtonTransparentColor = e->ButtonTransparentColor;
    LTPoint = e->LTPoint;
    RTPoint = e->RTPoint;
    LBPoint = e->LBPoint;
    RBPoint = e->RBPoint;
    ClRect = e->ClRect;
    SkinRect = e->SkinRect;
    LeftStretch = e->LeftStretch;
    TopStretch = e->TopStretch;
    RightStretch = e->RightStretch;
    BottomStretch = e->BottomStretch;
    StretchEffect = e->StretchEffect;
    StretchType = e->StretchType;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TqxSkinMDITabsBar::ChangeSkinData() {
    TqxSkinControl::ChangeSkinData();
    GetSkinData();
    FCloseSize = GetCloseSize();
    if (Skinned() && FUseSkinSize)
        SetHeight(TabRect.Height() + (FTabKind == qxtkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    if (FListButton) FListButton->SetSkinData(SkinData());
    if (FShowCloseButtons) Invalidate();
    Realign();
}

void TqxSkinMDITabsBar::AdjustClientRect(TRect& ARect) {
    TqxSkinControl::AdjustClientRect(ARect);
    if (Skinned() && FTabKind == qxtkTab) ARect.Bottom -= FBottomOffset;
}

// Painting.

void TqxSkinMDITabsBar::Paint() {
    TqxSkinControl::Paint();
    if (FInVisibleCount > 0 && !FHideListButton) {
        FHideListButton = MakeListButton(alRight, 2, FHideListMenu);
        FHideListButton->Invalidate();
    } else if (FInVisibleCount == 0 && FHideListButton) {
        delete FHideListButton;
        FHideListButton = nullptr;
    }
}

void TqxSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
    DrawTabs(B);
}

void TqxSkinMDITabsBar::CreateControlSkinImage(TBitmap* B) {
    DrawBackground(B);
    if (FTabKind == qxtkTab && !IsRectDegenerate(SkinRect) && FBottomOffset > 0) {
        TBitmap strip;
        BuildHorzThreePartImage(LTPoint.X, SkinRect.Width() - RTPoint.X, &strip, Picture,
                                Rect(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X,
                                     SkinRect.Top + ClRect.Top),
                                Width(), FBottomOffset, TopStretch);
        B->Canvas()->Draw(0, Height() - FBottomOffset, &strip);
    }
    DrawTabs(B);
}

void TqxSkinMDITabsBar::DrawBackground(TBitmap* B) {
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, B->Width(), B->Height()));
    if (SkinData()->MDITabsTransparent) {
        PaintParentBackground(this, c);
        return;
    }
    // An empty background part draws nothing (it would repeat for ever).
    const Integer h = Height() - (FTabKind == qxtkTab ? FBottomOffset : 0);
    if (IsRectDegenerate(TabsBGRect) || !Picture || h <= 0) return;
    TBitmap piece;
    CopySkinPiece(Picture, TabsBGRect, &piece);
    if (piece.Width() <= 0 || piece.Height() <= 0) return;
    for (Integer x = 0; x < B->Width(); x += piece.Width())
        c->StretchDraw(Rect(x, 0, x + piece.Width(), h), &piece);
}

void TqxSkinMDITabsBar::DrawTabs(TBitmap* B) {
    CalcTabs();
    TCanvas* c = B->Canvas();
    if (FShowAddButton) DrawAddButton(c);
    for (Integer i = 0; i < TabCount(); ++i) {
        TqxMDITab* tab = ObjectList[size_t(i)].get();
        if (tab->Visible && !(i == DragIndex && FDown)) tab->Draw(c);
    }
    if (DragIndex != -1 && IsDrag && DragIndex < TabCount()) {
        ObjectList[size_t(DragIndex)]->Draw(c);
        DrawDropMarker(c);
    }
}

void TqxSkinMDITabsBar::DrawDropMarker(TCanvas* Cnvs) {
    const Integer target = GetDropIndex();
    if (target == -1) return;
    const TRect& r = ObjectList[size_t(target)]->ObjectRect;
    const Integer x = TabDX < 1 ? r.Left : r.Right, h = Height(), mid = h / 2;
    Cnvs->Pen()->SetMode(pmNot);
    for (Integer dx = -1; dx <= 1; ++dx) {
        Cnvs->MoveTo(x + dx, 0);
        Cnvs->LineTo(x + dx, h);
    }
    for (const Integer side : {1, -1}) {
        Cnvs->MoveTo(x + 2 * side, mid);
        Cnvs->LineTo(x + 5 * side, mid - 3);
        Cnvs->LineTo(x + 5 * side, mid + 3);
        Cnvs->LineTo(x + 2 * side, mid);
    }
    Cnvs->Pen()->SetMode(pmCopy);
}

void TqxSkinMDITabsBar::DrawAddButton(TCanvas* Cnvs) {
    const TRect& r = FAddButtonRect;
    if (IsRectDegenerate(r)) return;
    if (!Skinned()) {
        Cnvs->Brush()->SetColor(FAddButtonActive ? DefaultLookHoverFill : clBtnFace);
        Cnvs->FillRect(r);
        DrawArrow(Cnvs, r, clBtnText, 5);
        return;
    }
    TBitmap* picture = nullptr;
    const TqxDataSkinButtonControl* e = FindButtonElement(SkinData(), {u"resizetoolbutton"}, picture);
    if (!e) return;
    TBitmap face;
    BuildButtonElementImage(*e, picture,
                            ButtonStateRect(*e, FAddButtonDown && FAddButtonActive, FAddButtonActive),
                            r.Width(), r.Height(), &face);
    Cnvs->Draw(r.Left, r.Top, &face);
    DrawArrow(Cnvs, r, FAddButtonActive ? e->DownFontColor : e->FontColor, 5);
}

// Mouse.

void TqxSkinMDITabsBar::Dispatch(TMessage& AMessage) {
    TqxSkinControl::Dispatch(AMessage);
    switch (AMessage.Msg) {
        case CM_MOUSELEAVE:
            if (!IsDrag) TestActive(-1, -1);
            break;
        case SKINMSG_PARENTBG:
            if (Skinned() && SkinData()->MDITabsTransparent) Invalidate();
            break;
        case WM_MOVE:
            if (Align() == alNone && Skinned() && SkinData()->MDITabsTransparent) Invalidate();
            break;
        default:
            break;
    }
}

void TqxSkinMDITabsBar::TestActive(Integer X, Integer Y) {
    ActiveTabIndex = GetTabIndex(X, Y);
    bool repaint = false;
    const bool changed = ActiveTabIndex != OldTabIndex;
    if (changed) {
        if (OldTabIndex >= 0 && OldTabIndex < TabCount() && ObjectList[size_t(OldTabIndex)]->Visible) {
            TqxMDITab* old = ObjectList[size_t(OldTabIndex)].get();
            old->MouseIn = false;
            repaint = true;
            if (OnTabMouseLeave) OnTabMouseLeave(old);
        }
        if (ActiveTabIndex != -1) {
            TqxMDITab* tab = ObjectList[size_t(ActiveTabIndex)].get();
            tab->MouseIn = true;
            repaint = true;
            if (OnTabMouseEnter) OnTabMouseEnter(tab);
        }
        OldTabIndex = ActiveTabIndex;
    }
    if (FShowCloseButtons && ActiveTabIndex != -1) {
        TqxMDITab* tab = ObjectList[size_t(ActiveTabIndex)].get();
        const TRect& r = tab->ObjectRect;
        const bool in = InRect(tab->ButtonRect, X - r.Left, Y - r.Top) && !IsRectDegenerate(tab->ButtonRect);
        if (in != tab->ButtonMouseIn) {
            tab->ButtonMouseIn = in;
            if (!in) tab->ButtonMouseDown = false;
            repaint = true;
        }
    }
    if (changed)
        for (Integer i = 0; i < TabCount(); ++i)
            if (i != ActiveTabIndex && ObjectList[size_t(i)]->ButtonMouseIn) {
                ObjectList[size_t(i)]->ButtonMouseIn = ObjectList[size_t(i)]->ButtonMouseDown = false;
                repaint = true;
            }
    if (FShowAddButton) {
        const bool in = InRect(FAddButtonRect, X, Y) && X >= 0;
        if (in != FAddButtonActive) {
            FAddButtonActive = in;
            repaint = true;
        }
    }
    if (repaint) Invalidate();
}

void TqxSkinMDITabsBar::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseDown(AButton, AShift, X, Y);
    CalcTabs();
    TqxMDITab* tab = GetTab(X, Y);
    if (AButton == mbRight) {
        if (!tab) return;
        OpenChildMenu(tab, X, Y);
        if (OnTabMouseDown) OnTabMouseDown(AButton, AShift, tab);
        return;
    }
    if (AButton != mbLeft) return;
    if (tab) {
        const WeakControl alive(this);
        ShowChild(tab->Child);
        if (!alive.Alive() || GetTab(X, Y) != tab) return;
        FDown = true;
        if (FMoveTabs) DragIndex = GetTabIndex(X, Y);
        DX = X;
        TabDX = 0;
        if (AShift.Contains(ssDouble) && FDblClickChildMove)
            if (TqxDravenfold* component = ComponentOf(tab->Child);
                component && component->WindowState() == wsNormal)
                tab->Child->SetBounds(0, 0, tab->Child->Width(), tab->Child->Height());
        if (OnTabMouseDown) OnTabMouseDown(AButton, AShift, tab);
        if (!alive.Alive() || GetTab(X, Y) != tab) return;
        const TRect& r = tab->ObjectRect;
        if (FShowCloseButtons && !IsRectDegenerate(tab->ButtonRect) &&
            InRect(tab->ButtonRect, X - r.Left, Y - r.Top)) {
            FDown = false;
            DragIndex = -1;
            tab->ButtonMouseIn = tab->ButtonMouseDown = true;
        } else {
            tab->ButtonMouseIn = tab->ButtonMouseDown = false;
        }
        Invalidate();
    }
    if (FShowAddButton && FAddButtonActive) {
        FAddButtonDown = true;
        Invalidate();
    }
}

void TqxSkinMDITabsBar::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseMove(AShift, X, Y);
    if (FDown && DragIndex != -1 && X != DX) IsDrag = true;
    if (IsDrag) {
        TabDX = X - DX;
        Invalidate();
    } else {
        CalcTabs();
        TestActive(X, Y);
    }
}

void TqxSkinMDITabsBar::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseUp(AButton, AShift, X, Y);
    FDown = false;
    if (IsDrag) {
        // The dragged tab where it was last drawn decides the place.
        CalcTabs();
        IsDrag = false;
        const Integer drop = GetDropIndex();
        if (drop != -1 && drop != DragIndex) {
            auto moved = std::move(ObjectList[size_t(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + drop, std::move(moved));
        }
        DragIndex = -1;
        DX = TabDX = 0;
        ActiveTabIndex = OldTabIndex = -1;
        Invalidate();
        // A drop never closes a tab: the press was not on a close button.
        return;
    }
    DragIndex = -1;
    CalcTabs();
    TqxMDITab* tab = GetTab(X, Y);
    const WeakControl alive(this);
    if (tab && OnTabMouseUp) {
        OnTabMouseUp(AButton, AShift, tab);
        if (!alive.Alive()) return;
        tab = GetTab(X, Y);
    }
    if (FShowAddButton) {
        const bool click = FAddButtonDown && InRect(FAddButtonRect, X, Y);
        FAddButtonDown = false;
        Invalidate();
        if (click && OnAddButtonClick) OnAddButtonClick(this);
        if (!alive.Alive()) return;
        tab = GetTab(X, Y);
    }
    if (!FShowCloseButtons || AButton != mbLeft || !tab) return;
    const TRect& r = tab->ObjectRect;
    if (!IsRectDegenerate(tab->ButtonRect) && InRect(tab->ButtonRect, X - r.Left, Y - r.Top)) {
        // Only a press that began on this close button closes the child.
        const bool pressed = tab->ButtonMouseDown;
        tab->ButtonMouseIn = true;
        tab->ButtonMouseDown = false;
        Invalidate();
        if (pressed) tab->Child->Close();
    } else {
        tab->ButtonMouseIn = tab->ButtonMouseDown = false;
        Invalidate();
    }
}

void TqxSkinMDITabsBar::OpenChildMenu(TqxMDITab* ATab, Integer X, Integer Y) {
    TqxDravenfold* child = ComponentOf(ATab->Child);
    if (!FSupportChildMenus || !child || !FDravenfold || !FDravenfold->SkinMenu()) return;
    TMenuItem* items = child->GetSystemMenuItems();
    if (!items) return;
    FDravenfold->SkinMenuOpen();
    const TPoint p = ClientToScreen(Point(X, Y));
    FDravenfold->SkinMenu()->Popup(
        Parent(), FDravenfold->MenusSkinData() ? FDravenfold->MenusSkinData() : FDravenfold->SkinData(), 0,
        Rect(p.X, p.Y, p.X, p.Y), items, false);
}

// Drop-down lists.

TqxSkinMenuSpeedButton* TqxSkinMDITabsBar::MakeListButton(TAlign AAlign, Integer AArrowType,
                                                          TqxSkinPopupMenu* AMenu) {
    auto* button = new TqxSkinMenuSpeedButton(this);
    button->SetAlign(AAlign);
    button->SetWidth(15);
    button->SetSkinDataName(u"resizetoolbutton");
    button->SetSkinData(SkinData());
    button->FDrawStandardArrow = true;
    button->FArrowType = AArrowType;
    button->SetSkinPopupMenu(AMenu);
    const bool hiddenOnly = AMenu == FHideListMenu;
    button->OnShowTrackMenu = [this, AMenu, hiddenOnly](TObject*) { FillListMenu(AMenu, hiddenOnly); };
    button->SetParent(this);
    return button;
}

void TqxSkinMDITabsBar::FillListMenu(TqxSkinPopupMenu* AMenu, bool AHiddenOnly) {
    TMenuItem* root = AMenu->Items();
    root->Clear();
    AMenu->SetSkinData(SkinData());
    for (auto& tab : ObjectList) {
        if (AHiddenOnly && tab->Visible) continue;
        auto* item = new TMenuItem(nullptr);
        item->SetName(tab->Child->Name() + (AHiddenOnly ? HideListMarker : ListMarker));
        item->SetCaption(tab->Child->Caption());
        item->SetRadioItem(true);
        item->SetGroupIndex(0);
        item->SetChecked(tab->Active);
        item->OnClick = [this](TObject* Sender) { ListItemClick(Sender); };
        root->Add(item);
    }
}

void TqxSkinMDITabsBar::ListItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !FDravenfold) return;
    String name = item->Name();
    for (const String& marker : {HideListMarker, ListMarker})
        if (const size_t at = name.find(marker); at != String::npos) {
            name.erase(at, marker.size());
            break;
        }
    TCustomForm* form = FDravenfold->Form();
    std::vector<TCustomForm*> children;
    for (Integer i = 0; i < form->MDIChildCount(); ++i)
        children.push_back(form->MDIChildren(i));
    for (TCustomForm* child : children)
        if (child->Name() == name) ShowChild(child);
}
