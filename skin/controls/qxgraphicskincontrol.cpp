#include "skin/controls/qxgraphicskincontrol.h"

#include "platform/toolkit/published.h"

TqxGraphicSkinControl::TqxGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.Include(csOpaque);
}

TqxGraphicSkinControl::~TqxGraphicSkinControl() = default;

void TqxGraphicSkinControl::SetSkinData(TqxSkinData* AValue) {
    if (FSD != AValue) {
        if (FSD) FSD->RemoveFreeNotification(this);
        if (AValue) AValue->FreeNotification(this);
    }
    FSD = AValue;
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TqxGraphicSkinControl::SetHintImageList(TCustomImageList* AValue) {
    if (FHintImageList == AValue) return;
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
    FHintImageList = AValue;
    if (FHintImageList) FHintImageList->FreeNotification(this);
}

void TqxGraphicSkinControl::Notification(TComponent* AComponent, TOperation AOperation) {
    TGraphicControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TqxGraphicSkinControl::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
}

void TqxGraphicSkinControl::CreateControlDefaultImage(TBitmap*) {}

void TqxGraphicSkinControl::CreateControlSkinImage(TBitmap*) {}

void TqxGraphicSkinControl::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TqxGraphicSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&bitmap);
    else
        CreateControlSkinImage(&bitmap);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxGraphicSkinControl::Dispatch(TMessage& AMessage) {
    TGraphicControl::Dispatch(AMessage);
    if (ComponentState().Contains(csDesigning)) return;
    if (AMessage.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (AMessage.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

TqxGraphicSkinCustomControl::TqxGraphicSkinCustomControl(TComponent* AOwner)
    : TqxGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChange(Sender); };
}

TqxGraphicSkinCustomControl::~TqxGraphicSkinCustomControl() {
    FDefaultFont->OnChange = nullptr;
}

void TqxGraphicSkinCustomControl::SetDefaultWidth(Integer AValue) {
    FDefaultWidth = AValue;
    if (FIndex == -1 && AValue > 0) SetWidth(AValue);
}

void TqxGraphicSkinCustomControl::SetDefaultHeight(Integer AValue) {
    FDefaultHeight = AValue;
    if (FIndex == -1 && AValue > 0) SetHeight(AValue);
}

void TqxGraphicSkinCustomControl::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
    DefaultFontChanged();
}

void TqxGraphicSkinCustomControl::DefaultFontChange(TObject*) {
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
}

void TqxGraphicSkinCustomControl::GetSkinData() {
    TqxGraphicSkinControl::GetSkinData();
    if (FIndex == -1) {
        // The skin frees its pictures when it changes or goes.
        Picture = nullptr;
        return;
    }
    const auto* element = dynamic_cast<const TqxDataSkinCustomControl*>(SkinData()->CtrlList[FIndex]);
    if (!element) {
        ResizeMode = 0;
        Picture = nullptr;
        return;
    }
    CopyElementGeometry(*this, *element);
    Picture = SkinData()->GetActivePicture(element->PictureIndex);
}

void TqxGraphicSkinCustomControl::CalcSize(Integer& W, Integer& H) {
    ::CalcSize(*this, FIndex != -1, W, H);
}

void TqxGraphicSkinCustomControl::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
    ::CreateSkinImage(*this, B, APicture, ARect, Width(), Height());
}

void TqxGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
}

void TqxGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

void TqxGraphicSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
        Repaint();
        return;
    }
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    if (w != Width() || h != Height())
        SetBounds(Left(), Top(), w, h);
    else
        Repaint();
}

void TqxGraphicSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    GetSkinData();
    const bool changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = AdjustedControlTop(Parent(), ATop, AHeight);
    TqxGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) Repaint();
}

namespace {

const auto Registered = [] {
    RegisterClass<TqxGraphicSkinControl, TGraphicControl>()
        .Property(u"SkinData", &TqxGraphicSkinControl::SkinData, &TqxGraphicSkinControl::SetSkinData)
        .Property(u"SkinDataName", &TqxGraphicSkinControl::SkinDataName, &TqxGraphicSkinControl::SetSkinDataName)
        .Property(u"HintTitle", &TqxGraphicSkinControl::HintTitle, &TqxGraphicSkinControl::SetHintTitle)
        .Property(u"HintImageIndex", &TqxGraphicSkinControl::HintImageIndex,
                  &TqxGraphicSkinControl::SetHintImageIndex)
        .Property(u"HintImageList", &TqxGraphicSkinControl::HintImageList,
                  &TqxGraphicSkinControl::SetHintImageList)
        .Event(u"OnMouseEnter", &TqxGraphicSkinControl::OnMouseEnter)
        .Event(u"OnMouseLeave", &TqxGraphicSkinControl::OnMouseLeave);
    RegisterClass<TqxGraphicSkinCustomControl, TqxGraphicSkinControl>()
        .Property(u"DefaultWidth", &TqxGraphicSkinCustomControl::DefaultWidth,
                  &TqxGraphicSkinCustomControl::SetDefaultWidth)
        .Property(u"DefaultHeight", &TqxGraphicSkinCustomControl::DefaultHeight,
                  &TqxGraphicSkinCustomControl::SetDefaultHeight)
        .Property(u"DefaultFont", &TqxGraphicSkinCustomControl::DefaultFont)
        .Property(u"UseSkinFont", &TqxGraphicSkinCustomControl::UseSkinFont,
                  &TqxGraphicSkinCustomControl::SetUseSkinFont);
    return true;
}();

}  // namespace
