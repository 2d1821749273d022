// The objects on the skinned menu bar: one item per top-level menu item,
// and the four system buttons of a maximized child form. They hit-test,
// highlight, morph or animate and draw themselves on the bar.
#include <algorithm>
#include <cmath>

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/imagelist.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinmenus.h"

using namespace win;

namespace {

constexpr TColor BlueFrame = 12020539;
constexpr TColor DownFill = 14990498;
constexpr TColor HotFill = 15979713;

TRect ScreenRect(TControl* AControl, const TRect& R) {
    const TPoint p = AControl->ClientToScreen(Point(R.Left, R.Top));
    return Rect(p.X, p.Y, p.X + R.Width(), p.Y + R.Height());
}

void FrameAndFill(TCanvas* C, const TRect& R, TColor AFill, bool AFrame) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AFill);
    C->FillRect(R);
    if (!AFrame) return;
    C->Brush()->SetColor(BlueFrame);
    C->FrameRect(R);
}

}  // namespace

TqxMenuBarObject::TqxMenuBarObject(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData) : Parent(AParent) {
    if (!AData) return;
    TqxSkinData* sd = Parent->SkinData();
    Picture = sd ? sd->GetActivePicture(AData->ActivePictureIndex) : nullptr;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    ObjectRect = SkinRect;
    MorphKind = AData->MorphKind;
    // Kept here: the loaded skin is not changed by a view of it.
    Morphing = AData->Morphing && !IsRectDegenerate(ActiveSkinRect);
}

void TqxMenuBarObject::SetMorphKf(double AValue) {
    if (std::abs(AValue) < 1e-9) AValue = 0;
    if (std::abs(AValue - 1) < 1e-9) AValue = 1;
    FMorphKf = std::clamp(AValue, 0.0, 1.0);
}

bool TqxMenuBarObject::EnableMorphing() const {
    const TqxSkinData* sd = Parent->SkinData();
    return Morphing && sd && !sd->Empty && !(Parent->ToolBarMode() && Parent->ToolBarModeItemTransparent()) &&
           sd->EnableSkinEffects();
}

bool TqxMenuBarObject::CanMorphing() {
    if (FDown && !IsRectDegenerate(DownRect)) return false;
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TqxMenuBarObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Draw(Parent->Canvas());
}

void TqxMenuBarObject::StartMorph() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->RedrawObject(this);
}

void TqxMenuBarObject::MouseEnter() {
    FMouseIn = Active = true;
    StartMorph();
}

void TqxMenuBarObject::MouseLeave() {
    FMouseIn = Active = false;
    StartMorph();
}

void TqxMenuBarObject::DrawMorph(TCanvas* ACanvas, TBitmap* ANormal, TBitmap* AActive) {
    std::unique_ptr<TqxEffectBmp> from = TqxEffectBmp::CreateFromhWnd(ANormal->Handle());
    std::unique_ptr<TqxEffectBmp> to = TqxEffectBmp::CreateFromhWnd(AActive->Handle());
    MorphEffect(from.get(), to.get(), FMorphKf, MorphKind);
    from->Draw(ACanvas->Handle(), ObjectRect.Left, ObjectRect.Top);
}

// The system buttons.

TqxSkinMainMenuBarButton::TqxSkinMainMenuBarButton(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData)
    : TqxMenuBarObject(AParent, AData) {
    if (auto* button = dynamic_cast<TqxDataSkinMainMenuBarButton*>(AData)) {
        FSkinSupport = true;
        Command = button->Command;
        DownRect = button->DownRect;
    }
}

void TqxSkinMainMenuBarButton::MouseEnter() {
    if (FDown && (Command == cmSysMenu || Morphing)) {
        FMouseIn = Active = true;
        if (Command != cmSysMenu) Parent->RedrawObject(this);
        return;
    }
    TqxMenuBarObject::MouseEnter();
}

void TqxSkinMainMenuBarButton::MouseLeave() {
    if (FDown && (Command == cmSysMenu || Morphing)) {
        FMouseIn = Active = false;
        if (Command != cmSysMenu) Parent->RedrawObject(this);
        return;
    }
    TqxMenuBarObject::MouseLeave();
}

void TqxSkinMainMenuBarButton::MouseDown(Integer, Integer, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown) return;
    FDown = true;
    if (EnableMorphing() && !IsRectDegenerate(DownRect)) SetMorphKf(1);
    Parent->RedrawObject(this);
    if (Command == cmSysMenu) ButtonClick();
}

void TqxSkinMainMenuBarButton::MouseUp(Integer, Integer, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || Command == cmSysMenu) return;
    FDown = false;
    Parent->RedrawObject(this);
    if (EnableMorphing()) StartMorph();
    if (Active) ButtonClick();
}

void TqxSkinMainMenuBarButton::DblClick() {
    if (Command != cmSysMenu) return;
    TqxDravenfold* child = FindMaximizedChildDravenfold();
    if (!child) return;
    if (TqxDravenfold* component = Parent->Dravenfold()) {
        if (component->SkinMenu()) component->SkinMenu()->Hide();
        component->SkinMenuClose();
    }
    child->Form()->Close();
}

void TqxSkinMainMenuBarButton::ButtonClick() {
    TqxDravenfold* child = FindMaximizedChildDravenfold();
    if (!child) return;
    switch (Command) {
        case cmClose:
            child->Form()->Close();
            break;
        case cmMaximize:
            child->SetWindowState(wsNormal);
            break;
        case cmMinimize:
            child->SetWindowState(wsMinimized);
            break;
        case cmSysMenu: {
            Parent->Repaint();
            TqxDravenfold* component = Parent->Dravenfold();
            if (!component || !component->SkinMenu()) return;
            const TRect r = ScreenRect(Parent, ObjectRect);
            component->SkinMenuOpen();
            TqxSkinData* skin = child->MenusSkinData() ? child->MenusSkinData() : child->SkinData();
            component->SkinMenu()->Popup(Parent, skin, 0, r, child->GetSystemMenuItems(),
                                         Parent->PopupToUp());
            break;
        }
        default:
            break;
    }
}

void TqxSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    const bool pressed = FDown && FMouseIn;
    if (pressed)
        FrameAndFill(c, Rect(0, 0, w, h), DownFill, true);
    else if (FMouseIn)
        FrameAndFill(c, Rect(0, 0, w, h), HotFill, true);
    else
        FrameAndFill(c, Rect(0, 0, w, h), clBtnFace, false);
    const Integer x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    switch (Command) {
        case cmClose:
            DrawCloseGlyph(c, x, y, color);
            break;
        case cmMaximize:
            DrawRestoreGlyph(c, x, y, color);
            break;
        case cmMinimize:
            DrawMinimizeGlyph(c, x, y, color);
            break;
        default:
            DrawSysMenuGlyph(c, x, y, color);
            break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TqxSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
    if (!FSkinSupport || !Picture) return DefaultDraw(Cnvs);
    if (FDown && FMouseIn && !IsRectDegenerate(DownRect)) {
        Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
        return;
    }
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0)) && w > 0 && h > 0) {
        TBitmap normal, active;
        normal.SetSize(w, h);
        active.SetSize(w, h);
        normal.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), SkinRect);
        active.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), ActiveSkinRect);
        DrawMorph(Cnvs, &normal, &active);
        return;
    }
    const TRect& look = Active && !IsRectDegenerate(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), look);
}

// The items.

TqxSkinMainMenuBarItem::TqxSkinMainMenuBarItem(TqxSkinMainMenuBar* AParent, TqxDataSkinObject* AData)
    : TqxMenuBarObject(AParent, AData) {
    auto* item = dynamic_cast<TqxDataSkinMainMenuItem*>(AData);
    if (!item) return;
    FSkinSupport = true;
    DownRect = item->DownRect;
    FontName = item->FontName;
    FontHeight = item->FontHeight;
    FontStyle = item->FontStyle;
    FontColor = item->FontColor;
    ActiveFontColor = item->ActiveFontColor;
    DownFontColor = item->DownFontColor;
    UnEnabledFontColor = item->UnEnabledFontColor;
    TextRct = item->TextRct;
    LO = item->ItemLO;
    RO = item->ItemRO;
    StretchEffect = item->StretchEffect;
    AnimateSkinRect = item->AnimateSkinRect;
    FrameCount = item->FrameCount;
    AnimateInterval = item->AnimateInterval;
    InActiveAnimation = item->InActiveAnimation;
    if (IsRectDegenerate(DownRect)) DownRect = IsRectDegenerate(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (IsRectDegenerate(ActiveSkinRect)) Morphing = false;
}

bool TqxSkinMainMenuBarItem::EnableAnimation() const {
    const TqxSkinData* sd = Parent->SkinData();
    // A strip without frames is no animation.
    return !IsRectDegenerate(AnimateSkinRect) && FrameCount >= 1 && sd && !sd->Empty &&
           !Parent->ToolBarMode() && sd->EnableSkinEffects();
}

void TqxSkinMainMenuBarItem::StartMorph() {
    if (!EnableAnimation()) return TqxMenuBarObject::StartMorph();
    TTimer* timer = Parent->AnimateTimer;
    if (timer->Interval() != Cardinal(AnimateInterval)) timer->SetInterval(Cardinal(AnimateInterval));
    timer->SetEnabled(true);
}

void TqxSkinMainMenuBarItem::MouseEnter() {
    TqxSkinMainMenuBarItem* downItem = nullptr;
    for (const auto& object : Parent->ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
            item && item->IDName != IDName && item->FDown)
            downItem = item;
    if (downItem) {
        downItem->SetDown(false);
        Active = FMouseIn = true;
        if (EnableMorphing()) SetMorphKf(1);
        OpenAfterClick();
        return;
    }
    for (const auto& object : Parent->ObjectList)
        if (auto* item = dynamic_cast<TqxSkinMainMenuBarItem*>(object.get());
            item && item->IDName != IDName && item->Active) {
            item->MouseLeave();
            break;
        }
    FMouseIn = Active = true;
    StartMorph();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TqxSkinMainMenuBarItem::MouseLeave() {
    Active = FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent->RedrawObject(this);
    }
    if (EnableMorphing() && FDown) SetMorphKf(0);
    StartMorph();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TqxSkinMainMenuBarItem::MouseDown(Integer, Integer, TMouseButton Button) {
    TqxDravenfold* component = Parent->Dravenfold();
    if (Button != mbLeft || !Enabled || !component) return;
    if (MenuItem->Count() > 0) {
        Parent->MenuActive = true;
        Parent->Repaint();
        OpenAfterClick();
        return;
    }
    if (component->InMainMenu()) component->CloseMainMenu();
    component->SetInMenu(false);
    if (EnableMorphing())
        StartMorph();
    else
        Parent->RedrawObject(this);
    if (TMenu* menu = MenuItem->GetParentMenu())
        menu->DispatchCommand(MenuItem->Command());
    else
        MenuItem->Click();
}

void TqxSkinMainMenuBarItem::OpenAfterClick() {
    TMenuItem* menuItem = MenuItem;
    TqxSkinMainMenuBar* bar = Parent;
    if (menuItem->OnClick) menuItem->OnClick(bar);
    // The handler may have rebuilt the bar: the menu opens on its item now.
    if (TqxSkinMainMenuBarItem* item = bar->ItemOf(menuItem)) item->SetDown(true);
}

void TqxSkinMainMenuBarItem::SetDown(bool Value) {
    if (Value) {
        FDown = true;
        SetMorphKf(1);
        Parent->RedrawObject(this);
        TqxDravenfold* component = Parent->Dravenfold();
        if (component && !component->InMainMenu() && component->OnMainMenuEnter)
            component->OnMainMenuEnter(Parent);
        PopupItemMenu();
        return;
    }
    FDown = Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            StartMorph();
        } else {
            CurrentFrame = 0;
            Parent->RedrawObject(this);
        }
    } else if (EnableMorphing()) {
        SetMorphKf(1);
        StartMorph();
    } else {
        Parent->RedrawObject(this);
    }
}

void TqxSkinMainMenuBarItem::PopupItemMenu() {
    TqxDravenfold* component = Parent->Dravenfold();
    if (!component || !component->SkinMenu()) return;
    if (MenuItem->Count() == 0) {
        // A leaf passed on the way along the bar: the open menu closes and
        // the keyboard stays in menu mode (a popup of nothing would end it).
        if (TqxSkinMenu* menu = component->RealSkinMenu()) menu->CloseFrom(0);
        component->SetInMenu(false);
        component->SetInMainMenu(true);
        return;
    }
    const TRect r = ScreenRect(Parent, ObjectRect);
    component->SkinMenuOpen();
    component->SetInMainMenu(true);
    component->SkinMenu()->Popup(nullptr, Parent->SkinData(), 0, r, MenuItem, Parent->PopupToUp());
}

void TqxSkinMainMenuBarItem::SetItemFont(TCanvas* Cnvs) const {
    TFont* font = Cnvs->Font();
    if (FSkinSupport && Parent->SkinSupport() && Parent->UseSkinFont()) {
        font->SetName(FontName);
        font->SetHeight(FontHeight);
        font->SetStyle(FontStyle);
    } else {
        font->Assign(Parent->DefItemFont());
    }
    TqxSkinData* sd = Parent->SkinData();
    if (TqxResourceStrData* strings = sd ? sd->ResourceStrData() : nullptr)
        font->SetCharset(strings->CharSet());
}

Integer TqxSkinMainMenuBarItem::ImageWidth() const {
    TMenu* menu = MenuItem->GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    if (images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count())
        return images->Width();
    if (MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty()) return MenuItem->Bitmap()->Width();
    return 0;
}

void TqxSkinMainMenuBarItem::CalcObjectRect(TCanvas* Cnvs) {
    Integer left = Parent->NewItemsRect.Left;
    for (const auto& object : Parent->ObjectList) {
        if (object.get() == this) break;
        if (dynamic_cast<TqxSkinMainMenuBarItem*>(object.get()) && object->ObjectRect.Right != 0)
            left = object->ObjectRect.Right;
    }
    const Integer top = Parent->NewItemsRect.Top;
    SetItemFont(Cnvs);
    TRect text = Rect(0, 0, 0, 0);
    SkinDrawText(Cnvs, MenuItem->Caption(), text, DT_CALCRECT | DT_CENTER);
    const Integer tw = text.Width(), w = ImageWidth();
    const bool skinned = FSkinSupport && Parent->SkinSupport();
    if (!skinned) {
        ObjectRect = Rect(left, top, left + tw + (w > 0 ? w + 17 : 12), Parent->NewItemsRect.Bottom);
    } else {
        const Integer right =
            left + tw + SkinRect.Width() + TextRct.Left - TextRct.Right + 2 + (w > 0 ? w + 5 : 0);
        ObjectRect = Rect(left, top, right,
                          Parent->UseSkinSize() ? top + SkinRect.Height() : Parent->NewItemsRect.Bottom);
    }
    const Integer limit = Parent->ScrollMenu() ? Parent->NewItemsRect.Right - 5 : Parent->NewItemsRect.Right;
    if (ObjectRect.Right > limit) {
        Parent->Scroll = true;
        if (Visible) {
            Visible = false;
            OldEnabled = Enabled;
            Enabled = false;
        }
    } else if (!Visible) {
        Visible = true;
        Enabled = OldEnabled;
    }
}

void TqxSkinMainMenuBarItem::DrawImageAndCaption(TCanvas* Cnvs, TRect ATextRect, bool AActiveText,
                                                 TColor AColor) {
    const Integer h = ObjectRect.Height();
    TMenu* menu = MenuItem->GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    const Integer w = ImageWidth();
    if (w > 0) {
        if (images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count())
            images->Draw(Cnvs, ATextRect.Left + 2, (h - images->Height()) / 2, MenuItem->ImageIndex(),
                         MenuItem->Enabled());
        else
            Cnvs->Draw(ATextRect.Left + 2, (h - MenuItem->Bitmap()->Height()) / 2, MenuItem->Bitmap());
        ATextRect.Left += w + 5;
    }
    Cnvs->Font()->SetColor(AColor);
    Cnvs->Brush()->SetStyle(bsClear);
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, Cnvs, ATextRect, AActiveText);
        return;
    }
    const Cardinal flags = Parent->DrawTextBiDiModeFlags(
        Parent->MenuActive ? DT_CENTER | DT_VCENTER : DT_HIDEPREFIX | DT_CENTER | DT_VCENTER);
    SkinDrawText(Cnvs, MenuItem->Caption(), ATextRect, flags | DT_SINGLELINE);
}

TRect TqxSkinMainMenuBarItem::AnimateFrameRect() const {
    const Integer n = std::max(CurrentFrame, 1) - 1;
    if (AnimateSkinRect.Height() > SkinRect.Height()) {
        const Integer fh = AnimateSkinRect.Height() / FrameCount;
        return Bounds(AnimateSkinRect.Left, AnimateSkinRect.Top + n * fh, AnimateSkinRect.Width(), fh);
    }
    const Integer fw = AnimateSkinRect.Width() / FrameCount;
    return Bounds(AnimateSkinRect.Left + n * fw, AnimateSkinRect.Top, fw, AnimateSkinRect.Height());
}

void TqxSkinMainMenuBarItem::CreateItemImage(TBitmap* B, const TRect& AState, bool AActiveText) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(w, h);
    TCanvas* c = B->Canvas();
    const bool copyBar =
        Parent->ItemTransparent && (AState == SkinRect || (!Parent->UseSkinSize() && !AActiveText));
    if (copyBar && Parent->FBuffer) {
        c->CopyRect(Rect(0, 0, w, h), Parent->FBuffer->Canvas(), ObjectRect);
    } else if (Picture && !IsRectDegenerate(AState)) {
        if (Parent->UseSkinSize()) {
            BuildHorzThreePartImage(LO, RO, B, Picture, AState, w, h, AActiveText && StretchEffect);
            B->SetSize(w, h);
        } else {
            const Integer sw = AState.Width(), sh = AState.Height();
            BuildStretchedSkinImage(B, Picture, AState, Rect(LO, sh / 4, sw - RO, sh - sh / 4), true);
        }
    }
    const TColor color = FDown         ? DownFontColor
                         : AActiveText ? ActiveFontColor
                         : Enabled     ? FontColor
                                       : UnEnabledFontColor;
    SetItemFont(c);
    TRect text = TextRct;
    text.Right = w - (SkinRect.Width() - TextRct.Right);
    if (!Parent->UseSkinSize()) {
        text.Top = 0;
        text.Bottom = h;
    }
    DrawImageAndCaption(c, text, AActiveText, color);
}

void TqxSkinMainMenuBarItem::CreateToolButtonImage(TBitmap* B, Integer AState) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(w, h);
    TCanvas* c = B->Canvas();
    TqxSkinData* sd = Parent->SkinData();
    const Integer index = sd ? sd->GetControlIndex(u"resizetoolbutton") : -1;
    auto* element =
        index == -1 ? nullptr : dynamic_cast<TqxDataSkinButtonControl*>(sd->CtrlList.Items(index));
    if (!element) return;
    TBitmap* picture = sd->GetActivePicture(element->PictureIndex);
    TRect state = element->SkinRect;
    if (AState == 2)
        state = !IsRectDegenerate(element->DownSkinRect)     ? element->DownSkinRect
                : !IsRectDegenerate(element->ActiveSkinRect) ? element->ActiveSkinRect
                                                             : element->SkinRect;
    else if (AState == 1 && !IsRectDegenerate(element->ActiveSkinRect))
        state = element->ActiveSkinRect;
    if (AState == 0 && Parent->ToolBarModeItemTransparent() && Parent->FBuffer) {
        c->CopyRect(Rect(0, 0, w, h), Parent->FBuffer->Canvas(), ObjectRect);
    } else if (picture) {
        const Integer sw = element->SkinRect.Width(), sh = element->SkinRect.Height();
        const TPoint dx = Point(w - sw, h - sh);
        BuildNinePartImage(
            element->LTPoint, element->RTPoint, element->LBPoint, element->RBPoint, element->ClRect,
            element->LTPoint, Point(element->RTPoint.X + dx.X, element->RTPoint.Y),
            Point(element->LBPoint.X, element->LBPoint.Y + dx.Y),
            Point(element->RBPoint.X + dx.X, element->RBPoint.Y + dx.Y),
            Rect(element->ClRect.Left, element->ClRect.Top, element->ClRect.Right + dx.X,
                 element->ClRect.Bottom + dx.Y),
            B, picture, state, w, h, true, element->LeftStretch, element->TopStretch, element->RightStretch,
            element->BottomStretch, element->StretchEffect, element->StretchType);
    }
    if (Parent->UseSkinFont()) {
        c->Font()->SetName(element->FontName);
        c->Font()->SetHeight(element->FontHeight);
        c->Font()->SetStyle(element->FontStyle);
    } else {
        c->Font()->Assign(Parent->DefItemFont());
    }
    const TColor color = !Enabled      ? UnEnabledFontColor
                         : AState == 2 ? element->DownFontColor
                         : AState == 1 ? element->ActiveFontColor
                                       : element->FontColor;
    const TRect text =
        Rect(element->ClRect.Left, element->ClRect.Top, element->ClRect.Right + w - element->SkinRect.Width(),
             element->ClRect.Bottom + h - element->SkinRect.Height());
    DrawImageAndCaption(c, text, AState > 0, color);
}

void TqxSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    if (FDown)
        FrameAndFill(c, Rect(0, 0, w, h), DownFill, true);
    else if (FMouseIn)
        FrameAndFill(c, Rect(0, 0, w, h), HotFill, true);
    else
        FrameAndFill(c, Rect(0, 0, w, h), clBtnFace, false);
    c->Font()->Assign(Parent->DefItemFont());
    TqxSkinData* sd = Parent->SkinData();
    if (TqxResourceStrData* strings = sd ? sd->ResourceStrData() : nullptr)
        c->Font()->SetCharset(strings->CharSet());
    const TColor color = Enabled ? Parent->DefItemFont()->Color() : clBtnShadow;
    DrawImageAndCaption(c, Rect(0, 0, w, h), FMouseIn || FDown, color);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TqxSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
    CalcObjectRect(Cnvs);
    if (!Visible) return;
    if (!FSkinSupport || !Parent->SkinSupport()) return DefaultDraw(Cnvs);
    if (IsRectDegenerate(SkinRect) || IsRectDegenerate(TextRct)) return;
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    const bool tool = Parent->ToolBarMode();
    TBitmap b;
    if (FDown) {
        if (tool)
            CreateToolButtonImage(&b, 2);
        else
            CreateItemImage(&b, DownRect, true);
    } else if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
        CreateItemImage(&b, AnimateFrameRect(), true);
    } else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        TBitmap active;
        if (tool) {
            CreateToolButtonImage(&b, 0);
            CreateToolButtonImage(&active, 1);
        } else {
            CreateItemImage(&b, SkinRect, false);
            CreateItemImage(&active, ActiveSkinRect, true);
        }
        DrawMorph(Cnvs, &b, &active);
        return;
    } else if (Active) {
        if (tool)
            CreateToolButtonImage(&b, 1);
        else
            CreateItemImage(&b, IsRectDegenerate(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
    } else if (tool) {
        CreateToolButtonImage(&b, 0);
    } else {
        CreateItemImage(&b, SkinRect, false);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}
