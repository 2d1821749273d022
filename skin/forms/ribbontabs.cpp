// The ribbon's tabs and their pages, its button items, and the background
// fill the ribbon page, the empty page area and the application-menu page
// share.
#include <algorithm>

#include "platform/base/sysutils.h"
#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "skin/core/qxutils.h"
#include "skin/forms/ribbon.h"

using namespace win;

void SkinBackgroundFill(TCanvas* ACanvas, const TRect& ATarget, TBitmap* APicture, bool AStretchEffect,
                        TqxStretchType AStretchType) {
    // An empty source would divide by zero or never end.
    if (!APicture || APicture->Width() <= 0 || APicture->Height() <= 0) return;
    const Integer tw = ATarget.Width(), th = ATarget.Height();
    if (tw <= 0 || th <= 0) return;
    const Integer sw = APicture->Width(), sh = APicture->Height();
    if (AStretchEffect) {
        switch (AStretchType) {
            case qxstFull:
                ACanvas->StretchDraw(ATarget, APicture);
                return;
            case qxstHorz: {
                TBitmap column;
                column.SetSize(sw, th);
                column.Canvas()->StretchDraw(Rect(0, 0, sw, th), APicture);
                for (Integer i = 0; i <= tw / sw; ++i)
                    ACanvas->Draw(ATarget.Left + i * sw, ATarget.Top, &column);
                return;
            }
            case qxstVert: {
                TBitmap row;
                row.SetSize(tw, sh);
                row.Canvas()->StretchDraw(Rect(0, 0, tw, sh), APicture);
                for (Integer i = 0; i <= th / sh; ++i)
                    ACanvas->Draw(ATarget.Left, ATarget.Top + i * sh, &row);
                return;
            }
        }
    }
    for (Integer row = 0; row <= th / sh; ++row)
        for (Integer column = 0; column <= tw / sw; ++column)
            ACanvas->Draw(ATarget.Left + column * sw, ATarget.Top + row * sh, APicture);
}

void CutPicture(TBitmap* ADest, TBitmap* APicture, const TRect& ASource) {
    if (!APicture || IsRectDegenerate(ASource)) return ADest->SetSize(0, 0);
    ADest->SetSize(ASource.Width(), ASource.Height());
    ADest->Canvas()->CopyRect(Rect(0, 0, ASource.Width(), ASource.Height()), APicture->Canvas(), ASource);
}

String MakeUniqueComponentName(const String& AFormat, TComponent* AForm) {
    Integer n = 1;
    String name = Format(AFormat, {n});
    while (AForm && AForm->FindComponent(name))
        name = Format(AFormat, {++n});
    return name;
}

// The page.

TqxRibbonPage::TqxRibbonPage(TComponent* AOwner) : TqxRibbonCustomPage(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csNoDesignVisible});
    SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

TqxRibbon* TqxRibbonPage::RibbonBar() const {
    return dynamic_cast<TqxRibbon*>(Ribbon());
}

void TqxRibbonPage::SetCaption(const String& AValue) {
    FCaption = AValue;
    if (TqxRibbon* ribbon = RibbonBar()) ribbon->Invalidate();
}

void TqxRibbonPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TqxRibbon* ribbon = RibbonBar();
    if (Parent() && ribbon) {
        const TRect r = ribbon->GetPageBounds();
        return TqxRibbonCustomPage::SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    TqxRibbonCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TqxRibbonPage::CreateParams(TCreateParams& AParams) {
    TqxRibbonCustomPage::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TqxRibbonPage::ContentScrolled() {
    // A stretched background must follow the children.
    TqxRibbon* ribbon = RibbonBar();
    if (!ribbon) return;
    ribbon->GetSkinData();
    if (ribbon->Skinned() && ribbon->FData->StretchEffect) Invalidate();
}

void TqxRibbonPage::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_SIZE:
            TqxRibbonCustomPage::Dispatch(AMessage);
            Invalidate();
            return;
        case WM_ERASEBKGND:
            PaintPageBackground(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        default:
            TqxRibbonCustomPage::Dispatch(AMessage);
    }
}

void TqxRibbonPage::PaintPageBackground(HDC ADC) {
    TqxRibbon* ribbon = RibbonBar();
    if (!ADC || !ribbon || Width() <= 0 || Height() <= 0) return;
    ribbon->GetSkinData();
    TCanvas canvas;
    canvas.SetHandle(ADC);
    const TRect client = Rect(0, 0, ClientWidth(), ClientHeight());
    TBitmap cut;
    TBitmap* source = nullptr;
    if (ribbon->Skinned() && ribbon->FData->BGPictureIndex != -1) {
        source = ribbon->SkinData()->GetActivePicture(ribbon->FData->BGPictureIndex);
    } else if (ribbon->Skinned() && ribbon->FDataPicture) {
        const TRect& s = ribbon->FData->SkinRect;
        const TRect& c = ribbon->FData->ClRect;
        CutPicture(&cut, ribbon->FDataPicture,
                   Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom));
        source = &cut;
    }
    if (source) {
        SkinBackgroundFill(&canvas, client, source, ribbon->FData->StretchEffect, ribbon->FData->StretchType);
    } else {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(client);
    }
    canvas.SetHandle(nullptr);
}

// Tabs.

TqxRibbonTab::TqxRibbonTab(TCollection* ACollection) : TCollectionItem(ACollection) {}

TqxRibbon* TqxRibbonTab::Ribbon() const {
    auto* tabs = static_cast<TqxRibbonTabs*>(Collection());
    return tabs ? tabs->Ribbon() : nullptr;
}

void TqxRibbonTab::SetPage(TqxRibbonPage* AValue) {
    if (FPage == AValue) return;
    FPage = AValue;
    TqxRibbon* ribbon = Ribbon();
    // The ribbon hears when the page goes, so that no tab keeps a freed one.
    if (ribbon && FPage) FPage->FreeNotification(ribbon);
    if (FPage && FPage->RibbonBar()) FPage->RibbonBar()->SetTabIndex(Index());
}

void TqxRibbonTab::SetVisible(bool AValue) {
    if (FVisible == AValue) return;
    FVisible = AValue;
    TqxRibbon* ribbon = Ribbon();
    if (!ribbon) return;
    if (!FVisible) {
        if (FPage && FPage->Visible()) FPage->SetVisible(false);
        if (ribbon->TabIndex() == Index()) {
            TqxRibbonTabs* tabs = ribbon->Tabs();
            Integer found = -1;
            for (Integer i = Index() + 1; i < tabs->Count() && found == -1; ++i)
                if (tabs->Items(i)->Visible()) found = i;
            for (Integer i = Index() - 1; i >= 0 && found == -1; --i)
                if (tabs->Items(i)->Visible()) found = i;
            if (found != -1) return ribbon->SetTabIndex(found);
        }
    }
    ribbon->Invalidate();
}

void TqxRibbonTab::Assign(TPersistent* ASource) {
    if (auto* tab = dynamic_cast<TqxRibbonTab*>(ASource)) return SetPage(tab->Page());
    TCollectionItem::Assign(ASource);
}

TqxRibbonTabs::TqxRibbonTabs(TqxRibbon* ARibbon) : TCollectionOf(ARibbon), FRibbon(ARibbon) {}

TqxRibbonTab* TqxRibbonTabs::Added(TqxRibbonTab* ATab) {
    const TComponentState state = FRibbon->ComponentState();
    if (state.Contains(csDesigning) || state.Contains(csLoading)) return ATab;
    // The tab's page: owned by the ribbon's form, named after it.
    TCustomForm* form = GetParentForm(FRibbon);
    auto* page = new TqxRibbonPage(form ? static_cast<TComponent*>(form) : FRibbon->Owner());
    page->SetParent(FRibbon);
    page->SetRibbon(FRibbon);
    page->SetBounds(0, 0, 0, 0);
    page->SetName(MakeUniqueComponentName(u"qxRibbonPage%d", form));
    ATab->SetPage(page);
    page->SetCaption(page->Name());
    // The new tab may not count as visible yet.
    FRibbon->FStopCheckTabIndex = true;
    FRibbon->SetTabIndex(ATab->Index());
    FRibbon->FStopCheckTabIndex = false;
    FRibbon->Invalidate();
    return ATab;
}

TqxRibbonTab* TqxRibbonTabs::Add() {
    return Added(TCollectionOf::Add());
}

TqxRibbonTab* TqxRibbonTabs::Insert(Integer AIndex) {
    return Added(TCollectionOf::Insert(AIndex));
}

void TqxRibbonTabs::Delete(Integer AIndex) {
    const TComponentState state = FRibbon->ComponentState();
    TqxRibbonTab* tab = Items(AIndex);
    if (!state.Contains(csDesigning) && !state.Contains(csLoading) && tab->Page()) {
        TqxRibbonPage* page = tab->Page();
        tab->FPage = nullptr;
        delete page;
    }
    TCollectionOf::Delete(AIndex);
}

void TqxRibbonTabs::Update(TCollectionItem* AItem) {
    TCollectionOf::Update(AItem);
    if (!FRibbon->ComponentState().Contains(csLoading)) FRibbon->Invalidate();
}

// Button items.

TqxRibbonButtonItem::TqxRibbonButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TqxRibbonButtonItem::SetImageIndex(Integer AValue) {
    FImageIndex = AValue;
    Changed(false);
}

void TqxRibbonButtonItem::SetEnabled(bool AValue) {
    FEnabled = AValue;
    Changed(false);
}

void TqxRibbonButtonItem::SetVisible(bool AValue) {
    FVisible = AValue;
    Changed(false);
}

void TqxRibbonButtonItem::Assign(TPersistent* ASource) {
    if (auto* item = dynamic_cast<TqxRibbonButtonItem*>(ASource)) {
        FImageIndex = item->FImageIndex;
        FHint = item->FHint;
        FEnabled = item->FEnabled;
        FVisible = item->FVisible;
        return Changed(false);
    }
    TCollectionItem::Assign(ASource);
}

TqxRibbonButtonItems::TqxRibbonButtonItems(TqxRibbon* ARibbon) : TCollectionOf(ARibbon), FRibbon(ARibbon) {}

void TqxRibbonButtonItems::Update(TCollectionItem* AItem) {
    TCollectionOf::Update(AItem);
    if (!FRibbon->ComponentState().Contains(csLoading)) FRibbon->Invalidate();
}
