// The ribbon bar: layout and painting of the tab row and the page frame,
// hover tracking, tab selection, button items, the MDI buttons and the
// opening and closing of the application menu.
#include "skin/forms/ribbon.h"

#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/controlmessages.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/menubar.h"
#include "skin/forms/skinhint.h"
#include "skin/forms/skinmenus.h"

using namespace win;

// The ribbon's application hook; a type of its own so that the ribbon can
// tell whether the installed handler is still its own.
struct TqxRibbonHook {
    TqxRibbon* Ribbon;
    void operator()(MSG& Msg, bool& Handled) const { Ribbon->RibbonAppMessage(Msg, Handled); }
};

namespace {

// The caption's width as DrawText measures it.
Integer CaptionWidth(TCanvas* ACanvas, const String& AText) {
    TRect r = Rect(0, 0, 0, 0);
    SkinDrawText(ACanvas, AText, r, DT_CALCRECT);
    return r.Width();
}

// Centred when it fits, else from the left.
void DrawTabCaption(TCanvas* ACanvas, const String& AText, const TRect& ARect, Integer ATabWidth) {
    if (CaptionWidth(ACanvas, AText) > ATabWidth - 6)
        DrawTextOneLine(ACanvas, AText, ARect);
    else
        DrawTextCenteredOneLine(ACanvas, AText, ARect);
}

// ASource of APicture at (X, Y), keyed on AKeyColor when ATransparent.
void DrawPicturePart(TCanvas* ACanvas, Integer X, Integer Y, TBitmap* APicture, const TRect& ASource,
                     bool ATransparent, TColor AKeyColor) {
    TBitmap part;
    CutPicture(&part, APicture, ASource);
    if (part.Empty()) return;
    if (ATransparent) {
        part.SetTransparentMode(tmFixed);
        part.SetTransparentColor(AKeyColor);
        part.SetTransparent(true);
    }
    ACanvas->Draw(X, Y, &part);
}

}  // namespace

TqxRibbon::TqxRibbon(TComponent* AOwner) : TqxSkinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(Left(), Top(), Width(), 115);
    SetAlign(alTop);
    SetSkinDataName(u"officetab");
    FTabs = std::make_unique<TqxRibbonTabs>(this);
    FButtons = std::make_unique<TqxRibbonButtonItems>(this);
    FMDIButtons = std::make_unique<TqxRibbonButtonItems>(this);
    CreateAppButton();
}

TqxRibbon::~TqxRibbon() {
    UnhookRibbonAppMessages();
    FTabs.reset();
    FButtons.reset();
    FMDIButtons.reset();
}

void TqxRibbon::CreateAppButton() {
    delete FAppButton;
    FAppButton = new TqxAppButton(this);
    FAppButton->SetCanFocused(true);
    FAppButton->SetTabStop(false);
    FAppButton->Ribbon = this;
    FAppButton->SetBounds(0, 1, FAppButtonWidth, 24);
    FAppButton->SetParent(this);
    FAppButton->SetSkinDataName(u"officemenubutton");
    FAppButton->OnHideTrackMenu = [this](TObject*) {
        if (OnMenuClose) OnMenuClose(this);
    };
    FLeftOffset = FAppButtonWidth + 3;
}

// Properties.

void TqxRibbon::SetTabs(TqxRibbonTabs* AValue) {
    FTabs->Assign(AValue);
    Invalidate();
}

void TqxRibbon::SetButtons(TqxRibbonButtonItems* AValue) {
    FButtons->Assign(AValue);
    Invalidate();
}

Integer TqxRibbon::AppButtonSpacing() const {
    return FAppButton ? FAppButton->Spacing() : 0;
}

void TqxRibbon::SetAppButtonSpacing(Integer AValue) {
    if (FAppButton) FAppButton->SetSpacing(AValue);
}

Integer TqxRibbon::AppButtonMargin() const {
    return FAppButton ? FAppButton->Margin() : 0;
}

void TqxRibbon::SetAppButtonMargin(Integer AValue) {
    if (FAppButton) FAppButton->SetMargin(AValue);
}

String TqxRibbon::AppButtonCaption() const {
    return FAppButton ? FAppButton->Caption() : String();
}

void TqxRibbon::SetAppButtonCaption(const String& AValue) {
    if (FAppButton) FAppButton->SetCaption(AValue);
}

void TqxRibbon::SetAppButtonWidth(Integer AValue) {
    if (AValue == FAppButtonWidth || AValue < 35) return;
    FAppButtonWidth = AValue;
    if (FAppButton) FAppButton->SetWidth(AValue);
    FLeftOffset = AValue + 3;
    Invalidate();
}

void TqxRibbon::SetAppButtonImageList(TCustomImageList* AValue) {
    SetReference(this, FAppButtonImageList, AValue);
    if (FAppButton) FAppButton->SetImageList(AValue);
    Invalidate();
}

void TqxRibbon::SetAppButtonImageIndex(Integer AValue) {
    FAppButtonImageIndex = std::max<Integer>(AValue, 0);
    if (FAppButton) {
        FAppButton->SetImageIndex(FAppButtonImageIndex);
        FAppButton->Invalidate();
    }
}

void TqxRibbon::SetAppButtonPopupMenu(TqxSkinPopupMenu* AValue) {
    SetReference(this, FAppButtonPopupMenu, AValue);
    if (FAppButton) FAppButton->SetSkinPopupMenu(AValue);
}

void TqxRibbon::SetButtonsImageList(TCustomImageList* AValue) {
    SetReference(this, FButtonsImageList, AValue);
}

void TqxRibbon::SetSkinHint(TqxSkinHint* AValue) {
    SetReference(this, FSkinHint, AValue);
}

void TqxRibbon::SetTabBoldStyle(bool AValue) {
    if (FTabBoldStyle == AValue) return;
    FTabBoldStyle = AValue;
    Repaint();
}

void TqxRibbon::SetQXD(TqxDravenfold* AValue) {
    SetReference(this, FQXD, AValue);
}

void TqxRibbon::SetAppMenu(TqxAppMenu* AValue) {
    SetReference(this, FAppMenu, AValue);
    if (!FAppMenu) return;
    FAppMenu->SetVisible(false);
    if (!ComponentState().Contains(csLoading)) FAppMenu->SetRibbon(this);
}

void TqxRibbon::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FAppButtonPopupMenu) {
        FAppButtonPopupMenu = nullptr;
        if (FAppButton) FAppButton->SetSkinPopupMenu(nullptr);
    }
    if (AComponent == FAppButtonImageList) {
        FAppButtonImageList = nullptr;
        if (FAppButton) FAppButton->SetImageList(nullptr);
    }
    if (AComponent == FButtonsImageList) FButtonsImageList = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FAppMenu) {
        UnhookRibbonAppMessages();
        FAppMenu = nullptr;
    }
    if (AComponent == FQXD) FQXD = nullptr;
    if (AComponent == FAppButton) FAppButton = nullptr;
    // A page freed by other means than its tab's deletion leaves its tab.
    if (!FTabs) return;
    for (Integer i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->FPage == AComponent) {
            FTabs->Items(i)->FPage = nullptr;
            if (!ComponentState().Contains(csDestroying)) Invalidate();
        }
}

void TqxRibbon::Loaded() {
    TqxSkinControl::Loaded();
    for (Integer i = 0; i < FTabs->Count(); ++i) {
        TqxRibbonPage* page = FTabs->Items(i)->Page();
        if (!page) continue;
        page->SetRibbon(this);
        page->FreeNotification(this);
        if (i != FTabIndex) page->SetVisible(false);
    }
    if (FAppMenu) FAppMenu->SetRibbon(this);
}

void TqxRibbon::CreateParams(TCreateParams& AParams) {
    TqxSkinControl::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// Skin.

void TqxRibbon::GetSkinData() {
    TqxSkinControl::GetSkinData();
    FData = FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinTabControl*>(SkinData()->CtrlList[FIndex]);
    FDataPicture = FData ? SkinData()->GetActivePicture(FData->PictureIndex) : nullptr;
}

void TqxRibbon::SetSkinData(TqxSkinData* AValue) {
    TqxSkinControl::SetSkinData(AValue);
    if (FAppButton) FAppButton->SetSkinData(AValue);
}

void TqxRibbon::ChangeSkinData() {
    TqxSkinControl::ChangeSkinData();
    if (TqxRibbonPage* page = ActivePage())
        page->SetBounds(page->Left(), page->Top(), page->Width(), page->Height());
    if (FAppButton) FAppButton->SetBounds(0, 1, FAppButton->Width(), FAppButton->Height());
    if (AppMenuVisible()) PlaceAppMenu();
}

// Geometry.

Integer TqxRibbon::GetTabRowHeight() {
    return Skinned() ? FData->TabRect.Height() + 1 : 24;
}

TRect TqxRibbon::GetPageBounds() {
    GetSkinData();
    const Integer r = GetTabRowHeight();
    if (!Skinned()) return Bounds(1, r + 2, Width() - 2, Height() - r - 5);
    const TRect& s = FData->SkinRect;
    const TRect& c = FData->ClRect;
    return Bounds(c.Left, r + c.Top, Width() - s.Width() + c.Width(), Height() - s.Height() + c.Height() - r);
}

bool TqxRibbon::HasVisibleTab() const {
    for (Integer i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) return true;
    return false;
}

void TqxRibbon::CalcTabsLayout(TCanvas* ACanvas) {
    const Integer r = GetTabRowHeight(), w = Width();
    FRightOffset = 5;
    if (FButtons->Count() > 0 && FButtonsImageList) {
        const Integer bw = FButtonsImageList->Width() + 6;
        Integer x = w - 2;
        for (Integer i = FButtons->Count() - 1; i >= 0; --i) {
            TqxRibbonButtonItem* item = FButtons->Items(i);
            if (!item->Visible()) continue;
            item->ItemRect = Rect(x - bw, 1, x, r - 1);
            x -= bw;
        }
        FRightOffset = w - x + 2;
    }
    if (FMDIButtons->Count() > 0) {
        const TSize size =
            Skinned() ? TSize{FData->MDICloseRect.Width(), FData->MDICloseRect.Height()} : TSize{22, 22};
        Integer x = w - FRightOffset;
        for (Integer i = 0; i < FMDIButtons->Count(); ++i) {
            FMDIButtons->Items(i)->ItemRect = Rect(x - size.cx, 1, x, size.cy + 1);
            x -= size.cx;
        }
        FRightOffset = w - x + 2;
    }
    const Integer available = w - FLeftOffset - FRightOffset;
    Integer sum = 0;
    for (Integer i = 0; i < FTabs->Count(); ++i) {
        TqxRibbonTab* tab = FTabs->Items(i);
        if (!tab->Visible()) continue;
        tab->Width = CaptionWidth(ACanvas, tab->Page() ? tab->Page()->Caption() : String()) + 30;
        sum += tab->Width;
    }
    FShowDivider = sum > available;
    Integer x = FLeftOffset;
    for (Integer i = 0; i < FTabs->Count(); ++i) {
        TqxRibbonTab* tab = FTabs->Items(i);
        if (!tab->Visible()) continue;
        if (FShowDivider)
            tab->Width = std::max<Integer>(Integer(std::trunc(double(available) * tab->Width / sum)), 15);
        tab->ItemRect = Rect(x, 1, x + tab->Width, r);
        x += tab->Width;
    }
}

// Painting.

void TqxRibbon::Paint() {
    if (WMEraseReady) {
        WMEraseReady = false;
        return;
    }
    PaintRibbon(Canvas()->Handle());
}

void TqxRibbon::PaintRibbon(HDC ADC) {
    if (!ADC || Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TCanvas target;
    target.SetHandle(ADC);
    const Integer r = GetTabRowHeight(), w = Width();
    const TRect page = GetPageBounds();
    const auto paintRow = [&](TCanvas* ACanvas, bool ASkinned) {
        CalcTabsLayout(ACanvas);
        if (HasVisibleTab())
            for (Integer i = 0; i < FTabs->Count(); ++i) {
                TqxRibbonTab* tab = FTabs->Items(i);
                if (!tab->Visible()) continue;
                if (ASkinned)
                    PaintSkinTab(ACanvas, tab, i);
                else
                    PaintDefaultTab(ACanvas, tab, i);
            }
        if (FButtons->Count() > 0 && FButtonsImageList)
            for (Integer i = 0; i < FButtons->Count(); ++i)
                if (FButtons->Items(i)->Visible()) PaintButtonItem(ACanvas, FButtons->Items(i));
        for (Integer i = 0; i < FMDIButtons->Count(); ++i)
            PaintMDIButton(ACanvas, FMDIButtons->Items(i));
    };
    if (!Skinned() || !FDataPicture) {
        target.Brush()->SetStyle(bsSolid);
        target.Brush()->SetColor(clBtnShadow);
        target.FillRect(Rect(0, r + 2, w, Height()));
        TBitmap row;
        row.SetSize(w, r + 2);
        row.Canvas()->Brush()->SetColor(clBtnShadow);
        row.Canvas()->FillRect(Rect(0, 0, w, r + 2));
        if (FTabs->Count() == 0) {
            target.Brush()->SetColor(clBtnFace);
            target.FillRect(page);
        }
        row.Canvas()->Font()->Assign(Font());
        paintRow(row.Canvas(), false);
        target.Draw(0, 0, &row);
        target.SetHandle(nullptr);
        return;
    }
    const TRect& s = FData->SkinRect;
    const TRect& c = FData->ClRect;
    const TRect frame = Rect(page.Left - c.Left, page.Top - c.Top, page.Right + s.Width() - c.Right,
                             page.Bottom + s.Height() - c.Bottom);
    const Integer dx = frame.Width() - s.Width(), dy = frame.Height() - s.Height();
    TBitmap left, top, right, bottom;
    BuildBorderStrips(
        FData->LTPoint, FData->RTPoint, FData->LBPoint, FData->RBPoint, c, FData->LTPoint,
        Point(FData->RTPoint.X + dx, FData->RTPoint.Y), Point(FData->LBPoint.X, FData->LBPoint.Y + dy),
        Point(FData->RBPoint.X + dx, FData->RBPoint.Y + dy), Rect(c.Left, c.Top, c.Right + dx, c.Bottom + dy),
        &left, &top, &right, &bottom, FDataPicture, s, frame.Width(), frame.Height(), FData->LeftStretch,
        FData->TopStretch, FData->RightStretch, FData->BottomStretch);
    TBitmap row;
    row.SetSize(w, top.Height() + r);
    TCanvas* rc = row.Canvas();
    rc->Draw(0, row.Height() - top.Height(), &top);
    if (IsRectDegenerate(FData->TabsBGRect)) {
        rc->Brush()->SetColor(SkinData()->SkinColors()->cBtnShadow());
        rc->FillRect(Rect(0, 0, w, r));
    } else {
        rc->CopyRect(Rect(0, 0, w, r), FDataPicture->Canvas(), FData->TabsBGRect);
    }
    if (FUseSkinFont) {
        rc->Font()->SetName(FData->FontName);
        rc->Font()->SetStyle(FData->FontStyle);
        rc->Font()->SetHeight(FData->FontHeight);
    } else {
        rc->Font()->Assign(Font());
    }
    paintRow(rc, true);
    target.Draw(frame.Left, frame.Top + top.Height(), &left);
    target.Draw(frame.Right - right.Width(), frame.Top + top.Height(), &right);
    target.Draw(frame.Left, frame.Bottom - bottom.Height(), &bottom);
    target.Draw(0, 0, &row);
    target.SetHandle(nullptr);
    if (!HasVisibleTab()) PaintEmptyPageArea(ADC);
}

void TqxRibbon::PaintEmptyPageArea(HDC ADC) {
    if (Width() <= 0 || Height() <= 0 || !Skinned()) return;
    const TRect page = GetPageBounds();
    TBitmap cut;
    TBitmap* source = nullptr;
    if (FData->BGPictureIndex != -1) {
        source = SkinData()->GetActivePicture(FData->BGPictureIndex);
    } else {
        const TRect& s = FData->SkinRect;
        const TRect& c = FData->ClRect;
        CutPicture(&cut, FDataPicture,
                   Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom));
        source = &cut;
    }
    const int saved = SaveDC(ADC);
    IntersectClipRect(ADC, page.Left, page.Top, page.Right, page.Bottom);
    TCanvas canvas;
    canvas.SetHandle(ADC);
    SkinBackgroundFill(&canvas, page, source, FData->StretchEffect, FData->StretchType);
    canvas.SetHandle(nullptr);
    RestoreDC(ADC, saved);
}

void TqxRibbon::PaintSkinTab(TCanvas* ACanvas, TqxRibbonTab* ATab, Integer AIndex) {
    const bool menuOpen = AppMenuVisible();
    const String caption = ATab->Page() ? ATab->Page()->Caption() : String();
    const TRect& tr = ATab->ItemRect;
    const TRect* image = nullptr;
    TColor color = FData->FontColor;
    bool bold = false, hover = false;
    if (AIndex == FTabIndex && Focused() && !IsRectDegenerate(FData->FocusTabRect) && !menuOpen) {
        image = &FData->FocusTabRect;
        color = FData->FocusFontColor;
        bold = FTabBoldStyle;
    } else if (AIndex == FTabIndex && !IsRectDegenerate(FData->ActiveTabRect) && !menuOpen) {
        image = &FData->ActiveTabRect;
        color = FData->ActiveFontColor;
        bold = FTabBoldStyle;
    } else if (ATab->Active && !IsRectDegenerate(FData->MouseInTabRect)) {
        image = &FData->MouseInTabRect;
        color = FData->MouseInFontColor;
        hover = true;
    }
    if (image) {
        TBitmap b;
        BuildHorzThreePartImage(FData->TabLeftOffset, FData->TabRightOffset, &b, FDataPicture, *image,
                                tr.Width(), image->Height(), FData->TabStretchEffect);
        TCanvas* bc = b.Canvas();
        bc->Font()->Assign(ACanvas->Font());
        bc->Font()->SetColor(color);
        if (bold) bc->Font()->SetStyle(bc->Font()->Style() + TFontStyles{fsBold});
        bc->Brush()->SetStyle(bsClear);
        DrawTabCaption(bc, caption, Rect(3, 0, b.Width() - 3, b.Height() - (hover ? 0 : 1)), tr.Width());
        ACanvas->Draw(tr.Left, tr.Top, &b);
        return;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->SetColor(ATab->Active ? FData->MouseInFontColor : FData->FontColor);
    DrawTabCaption(ACanvas, caption, Rect(tr.Left + 3, tr.Top, tr.Right - 3, tr.Bottom), tr.Width());
    ACanvas->Brush()->SetStyle(bsSolid);
    if (!FShowDivider) return;
    if (IsRectDegenerate(FData->DividerRect)) {
        ACanvas->Pen()->SetColor(SkinData()->SkinColors()->cBtnShadow());
        ACanvas->MoveTo(tr.Right, tr.Top);
        ACanvas->LineTo(tr.Right, tr.Bottom);
    } else {
        DrawPicturePart(ACanvas, tr.Right - FData->DividerRect.Width(),
                        tr.Bottom - FData->DividerRect.Height(), FDataPicture, FData->DividerRect,
                        FData->DividerTransparent, FData->DividerTransparentColor);
    }
}

void TqxRibbon::PaintDefaultTab(TCanvas* ACanvas, TqxRibbonTab* ATab, Integer AIndex) {
    const String caption = ATab->Page() ? ATab->Page()->Caption() : String();
    const TRect& tr = ATab->ItemRect;
    if (AIndex == FTabIndex) {
        TBitmap b;
        b.SetSize(tr.Width(), tr.Height() + 2);
        TCanvas* bc = b.Canvas();
        bc->Brush()->SetColor(clBtnFace);
        bc->FillRect(Rect(0, 0, b.Width(), b.Height()));
        bc->Font()->Assign(ACanvas->Font());
        bc->Font()->SetColor(clBtnText);
        if (FTabBoldStyle) bc->Font()->SetStyle(bc->Font()->Style() + TFontStyles{fsBold});
        bc->Brush()->SetStyle(bsClear);
        DrawTabCaption(bc, caption, Rect(3, 0, b.Width() - 3, b.Height() - 1), tr.Width());
        ACanvas->Draw(tr.Left, tr.Top, &b);
        return;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->SetColor(clBtnHighlight);
    DrawTabCaption(ACanvas, caption, Rect(tr.Left + 3, tr.Top, tr.Right - 3, tr.Bottom), tr.Width());
    ACanvas->Brush()->SetStyle(bsSolid);
    if (FShowDivider) {
        ACanvas->Pen()->SetColor(cl3DDkShadow);
        ACanvas->MoveTo(tr.Right, tr.Top);
        ACanvas->LineTo(tr.Right, tr.Bottom + 1);
    }
}

void TqxRibbon::PaintButtonItem(TCanvas* ACanvas, TqxRibbonButtonItem* AItem) {
    const TRect& ir = AItem->ItemRect;
    const Integer w = ir.Width(), h = ir.Height();
    const bool pressed = (AItem->Active && AItem->Down) || AItem->Index() == FPopupButton;
    if (Skinned()) {
        const auto* face = FindSkinElement<TqxDataSkinButtonControl>(SkinData(), u"officeribbonbutton");
        if (!face) face = FindSkinElement<TqxDataSkinButtonControl>(SkinData(), u"resizetoolbutton");
        TBitmap* picture = face ? SkinData()->GetActivePicture(face->PictureIndex) : nullptr;
        const TRect* source = !picture        ? nullptr
                              : pressed       ? &face->DownSkinRect
                              : AItem->Active ? &face->ActiveSkinRect
                                              : nullptr;
        if (source && !IsRectDegenerate(*source)) {
            TBitmap b;
            b.SetSize(w, w);
            BuildStretchedSkinImage(&b, picture, *source, face->ClRect, true);
            ACanvas->Draw(ir.Left, ir.Top, &b);
        }
    } else if (AItem->Active) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(AItem->Down ? cl3DDkShadow : clBtnFace);
        ACanvas->FillRect(Bounds(ir.Left, ir.Top, w, w));
    }
    if (AItem->ImageIndex() >= 0 && AItem->ImageIndex() < FButtonsImageList->Count())
        FButtonsImageList->Draw(ACanvas, ir.Left + w / 2 - FButtonsImageList->Width() / 2,
                                ir.Top + h / 2 - FButtonsImageList->Height() / 2 + 1, AItem->ImageIndex(),
                                AItem->Enabled());
}

void TqxRibbon::PaintMDIButton(TCanvas* ACanvas, TqxRibbonButtonItem* AItem) {
    const TRect& ir = AItem->ItemRect;
    if (!Skinned()) {
        const TColor color = AItem->Active || AItem->Down ? clBtnHighlight : clBtnText;
        const Integer x = ir.Left + ir.Width() / 2 - 5, y = ir.Top + ir.Height() / 2 - 4;
        if (AItem->Code == 1) DrawCloseGlyph(ACanvas, x, y, color);
        if (AItem->Code == 2) DrawRestoreGlyph(ACanvas, x, y, color);
        if (AItem->Code == 3) DrawMinimizeGlyph(ACanvas, x, y, color);
        return;
    }
    const TRect* looks[3][3] = {
        {&FData->MDICloseRect, &FData->MDICloseActiveRect, &FData->MDICloseDownRect},
        {&FData->MDIRestoreRect, &FData->MDIRestoreActiveRect, &FData->MDIRestoreDownRect},
        {&FData->MDIMinRect, &FData->MDIMinActiveRect, &FData->MDIMinDownRect}};
    if (AItem->Code < 1 || AItem->Code > 3) return;
    const TRect* const* look = looks[AItem->Code - 1];
    const TRect& normal = *look[0];
    const TRect& hover = IsRectDegenerate(*look[1]) ? normal : *look[1];
    const TRect& down = IsRectDegenerate(*look[2]) ? hover : *look[2];
    const TRect& source = AItem->Active && AItem->Down ? down : AItem->Active ? hover : normal;
    DrawPicturePart(ACanvas, ir.Left, ir.Top, FDataPicture, source, FData->MDIButtonsTransparent,
                    FData->MDIButtonsTransparentColor);
}

// Tabs.

void TqxRibbon::SetTabIndex(Integer AValue) {
    // Read from a description: Loaded shows the page once every page is there.
    if (ComponentState().Contains(csLoading)) {
        FTabIndex = AValue;
        return;
    }
    if ((FTabs->Count() == 0 || !HasVisibleTab()) && !FStopCheckTabIndex) {
        FTabIndex = -1;
        Invalidate();
        return;
    }
    if (AValue < 0 || AValue >= FTabs->Count()) return;
    TqxRibbonTab* tab = FTabs->Items(AValue);
    tab->FVisible = true;
    if (AValue != FTabIndex) {
        if (OnChangingPage) OnChangingPage(this);
        const Integer old = FTabIndex;
        FTabIndex = AValue;
        if (TqxRibbonPage* page = tab->Page()) {
            page->SetParent(this);
            page->SetVisible(true);
            page->BringToFront();
        }
        if (old >= 0 && old < FTabs->Count() && FTabs->Items(old)->Page())
            FTabs->Items(old)->Page()->SetVisible(false);
        if (OnChangePage) OnChangePage(this);
    } else if (TqxRibbonPage* page = tab->Page(); page && !page->Visible()) {
        page->SetVisible(true);
    }
    Invalidate();
}

TqxRibbonPage* TqxRibbon::ActivePage() const {
    if (FTabIndex < 0 || FTabIndex >= FTabs->Count()) return nullptr;
    return FTabs->Items(FTabIndex)->Page();
}

Integer TqxRibbon::IndexOfPage(TqxRibbonPage* APage) const {
    for (Integer i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Page() == APage) return i;
    return -1;
}

void TqxRibbon::SetActivePage(TqxRibbonPage* AValue) {
    if (!AValue || !HasVisibleTab()) return;
    const Integer index = IndexOfPage(AValue);
    if (index != -1 && !FTabs->Items(index)->Visible()) FTabs->Items(index)->FVisible = true;
    SetTabIndex(index);
}

void TqxRibbon::SelectNextTab() {
    if (FTabIndex == -1 || FTabIndex == FTabs->Count() - 1) return;
    for (Integer i = FTabIndex + 1; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) return SetTabIndex(i);
}

void TqxRibbon::SelectPriorTab(bool AFromKeyboard) {
    if (AFromKeyboard && FTabIndex == 0) {
        if (FAppButton && FAppButton->CanFocus()) FAppButton->SetFocus();
        return;
    }
    if (FTabIndex <= 0) return;
    for (Integer i = FTabIndex - 1; i >= 0; --i)
        if (FTabs->Items(i)->Visible()) return SetTabIndex(i);
}

void TqxRibbon::SelectFirstTab() {
    for (Integer i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) return SetTabIndex(i);
}

void TqxRibbon::SelectLastTab() {
    for (Integer i = FTabs->Count() - 1; i >= 0; --i)
        if (FTabs->Items(i)->Visible()) return SetTabIndex(i);
}

// Input.

void TqxRibbon::TrackButtons(TqxRibbonButtonItems* AItems, Integer& AActive, Integer& AOld, bool AEnabledOnly,
                             Integer X, Integer Y) {
    AOld = AActive;
    AActive = -1;
    for (Integer i = 0; i < AItems->Count() && AActive == -1; ++i) {
        TqxRibbonButtonItem* item = AItems->Items(i);
        if (AEnabledOnly && !(item->Enabled() && item->Visible())) continue;
        if (ItemHit(item->ItemRect, Point(X, Y))) AActive = i;
    }
    bool changed = false;
    for (Integer i = 0; i < AItems->Count(); ++i) {
        TqxRibbonButtonItem* item = AItems->Items(i);
        const bool active = i == AActive;
        if (item->Active != active) {
            item->Active = active;
            changed = true;
        }
    }
    if (changed || AOld != AActive) Invalidate();
    if (AItems != FButtons.get() || !FSkinHint || !FButtonsShowHint) return;
    if (AActive != AOld && AActive != -1 && !AItems->Items(AActive)->Hint().empty())
        FSkinHint->ActivateHint2(AItems->Items(AActive)->Hint());
    else if (changed && AActive == -1)
        FSkinHint->HideHint();
}

void TqxRibbon::TestActive(Integer X, Integer Y) {
    if (FTabs->Count() == 0) return;
    FOldTabActive = FTabActive;
    FTabActive = -1;
    for (Integer i = 0; i < FTabs->Count() && FTabActive == -1; ++i) {
        TqxRibbonTab* tab = FTabs->Items(i);
        if (tab->Visible() && ItemHit(tab->ItemRect, Point(X, Y))) FTabActive = i;
    }
    if (FTabActive != FOldTabActive) {
        if (FOldTabActive >= 0 && FOldTabActive < FTabs->Count()) FTabs->Items(FOldTabActive)->Active = false;
        if (FTabActive >= 0) FTabs->Items(FTabActive)->Active = true;
        Invalidate();
    }
    if (FMDIButtons->Count() > 0)
        TrackButtons(FMDIButtons.get(), FMDIActiveButton, FMDIOldActiveButton, false, X, Y);
    if (FButtons->Count() > 0) TrackButtons(FButtons.get(), FActiveButton, FOldActiveButton, true, X, Y);
}

void TqxRibbon::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseMove(AShift, X, Y);
    TestActive(X, Y);
}

void TqxRibbon::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseDown(AButton, AShift, X, Y);
    FMouseCaptureMDIButton = -1;
    FMouseCaptureButton = -1;
    if (AButton != mbLeft) return;
    TestActive(X, Y);
    if (FTabActive != -1) {
        if (AppMenuVisible()) HideAppMenu(nullptr);
        if (FTabActive != FTabIndex) SetTabIndex(FTabActive);
        if (!Focused() && CanFocus()) SetFocus();
    }
    const auto press = [this](TqxRibbonButtonItems* AItems, Integer AActive) {
        for (Integer i = 0; i < AItems->Count(); ++i) {
            TqxRibbonButtonItem* item = AItems->Items(i);
            item->Down = i == AActive;
            if (i != AActive) item->Active = false;
        }
        Invalidate();
    };
    if (FMDIActiveButton != -1) {
        FMouseCaptureMDIButton = FMDIActiveButton;
        press(FMDIButtons.get(), FMDIActiveButton);
    }
    if (FActiveButton != -1) {
        FMouseCaptureButton = FActiveButton;
        press(FButtons.get(), FActiveButton);
        if (FButtons->Items(FActiveButton)->PopupMenu) PopupButtonMenu(FActiveButton);
    }
    if (FButtonsShowHint && FSkinHint) FSkinHint->HideHint();
}

void TqxRibbon::PopupButtonMenu(Integer AIndex) {
    FPopupButton = AIndex;
    const TRect& ir = FButtons->Items(AIndex)->ItemRect;
    const TPoint p = ClientToScreen(Point(ir.Left, ir.Top));
    FButtons->Items(AIndex)->PopupMenu->PopupFromRect2(
        this, Rect(p.X, p.Y, p.X + ir.Width(), p.Y + ir.Height() + 1), false);
}

void TqxRibbon::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinControl::MouseUp(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    TestActive(X, Y);
    // A click needs the press and the release on the same item.
    const auto release = [this](TqxRibbonButtonItems* AItems, Integer AActive, Integer ACaptured,
                                Integer AKeep) {
        if (AActive != -1) {
            TqxRibbonButtonItem* item = AItems->Items(AActive);
            const bool wasDown = item->Down;
            for (Integer i = 0; i < AItems->Count(); ++i)
                if (i != AKeep) AItems->Items(i)->Down = false;
            Invalidate();
            if (wasDown && item->OnClick) item->OnClick(this);
        } else if (ACaptured >= 0 && ACaptured < AItems->Count()) {
            AItems->Items(ACaptured)->Down = false;
            AItems->Items(ACaptured)->Active = false;
            Invalidate();
        }
    };
    release(FMDIButtons.get(), FMDIActiveButton, FMouseCaptureMDIButton, -1);
    release(FButtons.get(), FActiveButton, FMouseCaptureButton, FPopupButton);
    FMouseCaptureButton = -1;
    FMouseCaptureMDIButton = -1;
}

void TqxRibbon::MenuClosed() {
    if (FPopupButton < 0 || FPopupButton >= FButtons->Count()) return;
    FButtons->Items(FPopupButton)->Down = false;
    FPopupButton = -1;
    Repaint();
}

void TqxRibbon::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinControl::KeyDown(AKey, AShift);
    switch (AKey) {
        case VK_NEXT:
            SelectLastTab();
            break;
        case VK_PRIOR:
            SelectFirstTab();
            break;
        case VK_LEFT:
        case VK_UP:
            SelectPriorTab(true);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            SelectNextTab();
            break;
        default:
            break;
    }
}

void TqxRibbon::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxSkinControl::Dispatch(AMessage);
            Invalidate();
            return;
        case WM_MOUSEWHEEL:
            TqxSkinControl::Dispatch(AMessage);
            if (Focused()) {
                if (static_cast<short>(HIWORD(AMessage.WParam)) < 0)
                    SelectNextTab();
                else
                    SelectPriorTab(false);
            }
            return;
        case WM_SIZE:
            TqxSkinControl::Dispatch(AMessage);
            Invalidate();
            return;
        case WM_ERASEBKGND:
            PaintRibbon(reinterpret_cast<HDC>(AMessage.WParam));
            WMEraseReady = true;
            AMessage.Result = 1;
            return;
        case CM_MOUSELEAVE:
            TqxSkinControl::Dispatch(AMessage);
            TestActive(-1, -1);
            return;
        case SKINMSG_MENUCLOSED:
            MenuClosed();
            return;
        default:
            TqxSkinControl::Dispatch(AMessage);
    }
}

// The application menu.

bool TqxRibbon::AppMenuVisible() const {
    return FAppMenu && FAppMenu->Visible();
}

void TqxRibbon::HookRibbonAppMessages() {
    if (FInAppHook || !Application || ComponentState().Contains(csDesigning)) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = TqxRibbonHook{this};
    FInAppHook = true;
}

void TqxRibbon::UnhookRibbonAppMessages() {
    if (!FInAppHook) return;
    FInAppHook = false;
    // Restored only while the ribbon's handler is still the installed one:
    // a hook installed later keeps its place instead of calling a freed object.
    const auto* installed = Application ? Application->OnMessage.target<TqxRibbonHook>() : nullptr;
    if (installed && installed->Ribbon == this) Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
}

void TqxRibbon::RibbonAppMessage(MSG& Msg, bool& Handled) {
    if (Msg.message != WM_KEYDOWN || Msg.wParam != VK_ESCAPE || !AppMenuVisible() || !FQXD ||
        !FQXD->GetFormActive())
        return;
    HideAppMenu(nullptr);
    Msg.message = 0;
    Handled = true;
}

void TqxRibbon::PlaceAppMenu() {
    TCustomForm* form = GetParentForm(this);
    if (form && FAppMenu->Parent() != form) FAppMenu->SetParent(form);
    GetSkinData();
    FAppMenu->GetSkinData();
    const Integer clientWidth = form ? form->ClientWidth() : Width();
    const Integer clientHeight = form ? form->ClientHeight() : Height();
    const Integer buttonTop = FAppButton ? FAppButton->Top() : 0;
    const Integer buttonHeight = FAppButton ? FAppButton->Height() : 0;
    FAppMenu->SetAnchors(TAnchors{});
    if (Skinned() && FAppMenu->FData && !IsRectDegenerate(FAppMenu->FData->BackButtonRect)) {
        FAppMenu->SetBounds(0, 0, clientWidth, clientHeight);
    } else {
        // Down to the client area's bottom, so that the size grip shows.
        const Integer top = buttonTop + Top() + buttonHeight;
        FAppMenu->SetBounds(0, top, clientWidth, clientHeight - top);
    }
    FAppMenu->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

void TqxRibbon::ShowAppMenu() {
    if (!FAppMenu) return;
    if (FAppMenu->OnShowingMenu) FAppMenu->OnShowingMenu(this);
    HookRibbonAppMessages();
    PlaceAppMenu();
    // The item that shows the active page, else the first.
    Integer shown = 0;
    for (Integer i = 0; FAppMenu->ActivePage() && i < FAppMenu->Items()->Count(); ++i)
        if (FAppMenu->Items()->Items(i)->Page() == FAppMenu->ActivePage()) {
            shown = i;
            break;
        }
    FAppMenu->SetItemIndex(shown);
    FAppMenu->SetVisible(true);
    FAppMenu->BringToFront();
    if (FAppMenu->CanFocus()) FAppMenu->SetFocus();
    const Integer index = FAppMenu->ItemIndex();
    if (index >= 0 && index < FAppMenu->Items()->Count()) {
        TqxAppMenuItem* item = FAppMenu->Items()->Items(index);
        if (!item->Visible() || !item->Enabled()) FAppMenu->FindNextItem();
    }
    if (TqxAppMenuPage* page = FAppMenu->ActivePage()) {
        page->FStopScroll = false;
        page->SetBounds(page->Left(), page->Top(), page->Width(), page->Height());
        if (page->CanScroll()) page->GetScrollInfo();
    }
    Invalidate();
    if (FQXD) FQXD->UpDateFormNC();
    if (FAppMenu->OnShowMenu) FAppMenu->OnShowMenu(this);
}

void TqxRibbon::HideAppMenu(TqxAppMenuItem* AItem) {
    UnhookRibbonAppMessages();
    if (!FAppMenu) return;
    if (FAppMenu->OnHidingMenu) FAppMenu->OnHidingMenu(this);
    FAppMenu->SetAnchors(TAnchors{});
    FAppMenu->SetVisible(false);
    Invalidate();
    if (FAppButton) {
        FAppButton->FMenuTracked = false;
        FAppButton->FDownState = false;
        FAppButton->SetDown(false);
    }
    // The form under the menu repaints before any command runs.
    if (Application) Application->ProcessMessages();
    if (AItem && AItem->OnClick) AItem->OnClick(this);
    if (OnMenuClose) OnMenuClose(this);
    if (FQXD) FQXD->UpDateFormNC();
    if (FAppMenu && FAppMenu->OnHideMenu) FAppMenu->OnHideMenu(this);
}

// MDI buttons.

void TqxRibbon::AddMDIButtons() {
    if (FMDIButtons->Count() > 0) return;
    const auto add = [this](Integer ACode, std::function<void(TqxDravenfold*)> AAction) {
        TqxRibbonButtonItem* item = FMDIButtons->Add();
        item->Code = ACode;
        item->OnClick = [AAction](TObject*) {
            if (TqxDravenfold* child = FindMaximizedChildDravenfold()) AAction(child);
        };
    };
    add(1, [](TqxDravenfold* AChild) { AChild->Form()->Close(); });
    add(2, [](TqxDravenfold* AChild) { AChild->SetWindowState(wsNormal); });
    add(3, [](TqxDravenfold* AChild) { AChild->SetWindowState(wsMinimized); });
    Invalidate();
}

void TqxRibbon::RemoveMDIButtons() {
    FMDIButtons->Clear();
    FMDIActiveButton = FMDIOldActiveButton = FMouseCaptureMDIButton = -1;
    Invalidate();
}

void TqxRibbon::MDIChildMaximize() {
    if (FMDIButtons->Count() == 0) AddMDIButtons();
}

void TqxRibbon::MDIChildRestore() {
    if (FMDIButtons->Count() > 0 && !FindMaximizedChildDravenfold()) RemoveMDIButtons();
}

namespace {

const auto Registered = [] {
    using T = TqxRibbonTab;
    RegisterClass<T, TCollectionItem>()
        .Property(u"Page", &T::Page, &T::SetPage)
        .Property(u"Visible", &T::Visible, &T::SetVisible);
    using I = TqxRibbonButtonItem;
    RegisterClass<I, TCollectionItem>()
        .Property(u"ImageIndex", &I::ImageIndex, &I::SetImageIndex)
        .Property(u"Hint", &I::Hint, &I::SetHint)
        .Property(u"Enabled", &I::Enabled, &I::SetEnabled)
        .Property(u"Visible", &I::Visible, &I::SetVisible)
        .Event(u"OnClick", &I::OnClick);
    using P = TqxRibbonPage;
    RegisterClass<P, TCustomControl>()
        .Property(u"Caption", &P::Caption, &P::SetCaption)
        .Property(u"CanScroll", &P::CanScroll, &P::SetCanScroll)
        .Property(u"HotScroll", &P::HotScroll, &P::SetHotScroll)
        .Property(u"ScrollOffset", &P::ScrollOffset, &P::SetScrollOffset)
        .Property(u"ScrollTimerInterval", &P::ScrollTimerInterval, &P::SetScrollTimerInterval);
    using R = TqxRibbon;
    RegisterClass<R, TCustomControl>()
        .Property(u"SkinData", &R::SkinData, &R::SetSkinData)
        .Property(u"SkinDataName", &R::SkinDataName, &R::SetSkinDataName)
        .Property(u"Tabs", &R::Tabs)
        .Property(u"TabIndex", &R::TabIndex, &R::SetTabIndex)
        .Property(u"UseSkinFont", &R::UseSkinFont, &R::SetUseSkinFont)
        .Property(u"AppButtonSpacing", &R::AppButtonSpacing, &R::SetAppButtonSpacing)
        .Property(u"AppButtonMargin", &R::AppButtonMargin, &R::SetAppButtonMargin)
        .Property(u"AppButtonCaption", &R::AppButtonCaption, &R::SetAppButtonCaption)
        .Property(u"AppButtonWidth", &R::AppButtonWidth, &R::SetAppButtonWidth)
        .Property(u"AppButtonImageList", &R::AppButtonImageList, &R::SetAppButtonImageList)
        .Property(u"AppButtonImageIndex", &R::AppButtonImageIndex, &R::SetAppButtonImageIndex)
        .Property(u"AppButtonPopupMenu", &R::AppButtonPopupMenu, &R::SetAppButtonPopupMenu)
        .Property(u"Buttons", &R::Buttons)
        .Property(u"ButtonsImageList", &R::ButtonsImageList, &R::SetButtonsImageList)
        .Property(u"ButtonsShowHint", &R::ButtonsShowHint, &R::SetButtonsShowHint)
        .Property(u"SkinHint", &R::SkinHint, &R::SetSkinHint)
        .Property(u"AppMenu", &R::AppMenu, &R::SetAppMenu)
        .Property(u"TabBoldStyle", &R::TabBoldStyle, &R::SetTabBoldStyle)
        .Event(u"OnMenuClose", &R::OnMenuClose)
        .Event(u"OnChangePage", &R::OnChangePage)
        .Event(u"OnChangingPage", &R::OnChangingPage);
    return true;
}();

}  // namespace
