#include "skin/controls/qxskinlink.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "skin/controls/qxgraphicskincontrol.h"
#include "skin/controls/qxskincontrol.h"
#include "skin/core/qxresstrs.h"

TTimer* MakeTimer(TComponent* AOwner, std::function<void(TObject*)> ATick) {
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->OnTimer = std::move(ATick);
    return timer;
}

bool DroppedWhileTakingFocus(TWinControl* AControl, const TMessage& AMessage, bool& AClicksDisabled) {
    if (AMessage.Msg == CN_COMMAND) return AClicksDisabled;
    if (AMessage.Msg != win::WM_LBUTTONDOWN && AMessage.Msg != win::WM_LBUTTONDBLCLK) return false;
    if (AControl->ComponentState().Contains(csDesigning) || AControl->Focused()) return false;
    AClicksDisabled = true;
    win::SetFocus(AControl->Handle());
    AClicksDisabled = false;
    return win::GetFocus() != AControl->Handle();
}

void DrawDefaultLookPart(TCanvas* ACanvas, const TRect& ARect, bool APressed, bool AHot) {
    const bool hot = APressed || AHot;
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(APressed ? TColor(0xE4BCA2) : AHot ? TColor(0xF3D4C1) : clBtnFace);
    ACanvas->FillRect(ARect);
    ACanvas->Brush()->SetColor(hot ? TColor(0xB76B3B) : clBtnShadow);
    ACanvas->FrameRect(ARect);
}

TFontCharset SkinTextCharset(const TqxSkinData* ASkinData, const TFont* ADefaultFont) {
    if (ASkinData && ASkinData->ResourceStrData()) return ASkinData->ResourceStrData()->CharSet();
    return ADefaultFont->Charset();
}

TqxCanvasClip::TqxCanvasClip(TCanvas* ACanvas, const TRect& ARect)
    : FDC(ACanvas->Handle()), FSaved(win::CreateRectRgn(0, 0, 0, 0)) {
    FHadClip = win::GetClipRgn(FDC, FSaved) == 1;
    win::IntersectClipRect(FDC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
}

TqxCanvasClip::~TqxCanvasClip() {
    win::SelectClipRgn(FDC, FHadClip ? FSaved : nullptr);
    win::DeleteObject(FSaved);
}

// The element link.

template <typename TBase>
void TqxSkinLink<TBase>::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    if (FSD && !FSD->Empty && !this->ComponentState().Contains(csDesigning))
        ChangeSkinData();
    else if (!FSD)
        SkinDataGone();
}

template <typename TBase>
void TqxSkinLink<TBase>::Notification(TComponent* AComponent, TOperation AOperation) {
    TBase::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        SkinDataGone();
    }
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

template <typename TBase>
void TqxSkinLink<TBase>::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
}

template <typename TBase>
void TqxSkinLink<TBase>::ChangeSkinData() {
    GetSkinData();
    this->Repaint();
}

template <typename TBase>
void TqxSkinLink<TBase>::Paint() {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    GetSkinData();
    TBitmap bitmap;
    bitmap.SetSize(this->Width(), this->Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&bitmap);
    else
        CreateControlSkinImage(&bitmap);
    this->Canvas()->Draw(0, 0, &bitmap);
}

template <typename TBase>
void TqxSkinLink<TBase>::PaintFailed() {
    if (!FSD || !FSD->RefuseControlElement(FIndex)) return;
    GetSkinData();
    this->Invalidate();
}

template <typename TBase>
void TqxSkinLink<TBase>::Dispatch(TMessage& AMessage) {
    TBase::Dispatch(AMessage);
    if (this->ComponentState().Contains(csDesigning)) return;
    if (AMessage.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (AMessage.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

// The resizable element.

template <typename TBase>
TqxSkinCustomLink<TBase>::TqxSkinCustomLink(TComponent* AOwner)
    : TBase(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChange(Sender); };
}

template <typename TBase>
TqxSkinCustomLink<TBase>::~TqxSkinCustomLink() {
    FDefaultFont->OnChange = nullptr;
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::SetDefaultWidth(Integer AValue) {
    FDefaultWidth = AValue;
    if (this->FIndex == -1 && AValue > 0) this->SetWidth(AValue);
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::SetDefaultHeight(Integer AValue) {
    FDefaultHeight = AValue;
    if (this->FIndex == -1 && AValue > 0) this->SetHeight(AValue);
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::SetDefaultFont(TFont* AValue) {
    FDefaultFont->Assign(AValue);
    DefaultFontChanged();
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::DefaultFontChange(TObject*) {
    DefaultFontChanged();
    if (this->FIndex == -1) this->Repaint();
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::GetSkinData() {
    TBase::GetSkinData();
    const TqxDataSkinCustomControl* element =
        this->FIndex == -1
            ? nullptr
            : dynamic_cast<const TqxDataSkinCustomControl*>(this->SkinData()->CtrlList[this->FIndex]);
    // Without an element the skin's pictures are not to be kept: the skin
    // frees them when it changes or goes. The geometry keeps its values.
    Picture = nullptr;
    if (element) {
        CopyElementGeometry(*this, *element);
        Picture = this->SkinData()->GetActivePicture(element->PictureIndex);
    } else if (this->FIndex != -1) {
        this->ResizeMode = 0;
    }
    ElementRead(element);
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::CalcSize(Integer& W, Integer& H) {
    ::CalcSize(*this, this->FIndex != -1, W, H);
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect) {
    ::CreateSkinImage(*this, B, APicture, ARect, this->Width(), this->Height(), DrawsNineParts());
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, this->Width(), this->Height()));
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::CreateControlSkinImage(TBitmap* B) {
    CreateSkinImage(B, Picture, this->SkinRect);
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::ChangeSkinData() {
    GetSkinData();
    if (this->FIndex == -1) {
        if (FDefaultWidth > 0) this->SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) this->SetHeight(FDefaultHeight);
        SizeApplied();
        return;
    }
    Integer w = this->Width(), h = this->Height();
    CalcSize(w, h);
    // SetBounds applies the size and repaints.
    if (w != this->Width() || h != this->Height())
        this->SetBounds(this->Left(), this->Top(), w, h);
    else
        SizeApplied();
}

template <typename TBase>
void TqxSkinCustomLink<TBase>::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    GetSkinData();
    const bool changed = (AWidth != this->Width() || AHeight != this->Height()) && this->FIndex != -1;
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (this->ResizeMode == 0) this->NewClRect = this->ClRect;
    }
    ATop = AdjustedControlTop(this->Parent(), ATop, AHeight);
    TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    BoundsApplied(changed);
}

template class TqxSkinLink<TCustomControl>;
template class TqxSkinLink<TGraphicControl>;
template class TqxSkinCustomLink<TqxSkinControl>;
template class TqxSkinCustomLink<TqxGraphicSkinControl>;

namespace {

template <typename T, typename TBase>
void RegisterLink() {
    RegisterClass<T, TBase>()
        .Property(u"SkinData", &T::SkinData, &T::SetSkinData)
        .Property(u"SkinDataName", &T::SkinDataName, &T::SetSkinDataName)
        .Property(u"HintTitle", &T::HintTitle, &T::SetHintTitle)
        .Property(u"HintImageIndex", &T::HintImageIndex, &T::SetHintImageIndex)
        .Property(u"HintImageList", &T::HintImageList, &T::SetHintImageList)
        .Event(u"OnMouseEnter", &T::OnMouseEnter)
        .Event(u"OnMouseLeave", &T::OnMouseLeave);
}

template <typename T, typename TBase>
void RegisterCustomLink() {
    RegisterClass<T, TBase>()
        .Property(u"DefaultWidth", &T::DefaultWidth, &T::SetDefaultWidth)
        .Property(u"DefaultHeight", &T::DefaultHeight, &T::SetDefaultHeight)
        .Property(u"DefaultFont", &T::DefaultFont)
        .Property(u"UseSkinFont", &T::UseSkinFont, &T::SetUseSkinFont);
}

const auto Registered = [] {
    RegisterLink<TqxSkinControl, TCustomControl>();
    RegisterCustomLink<TqxSkinCustomControl, TqxSkinControl>();
    RegisterLink<TqxGraphicSkinControl, TGraphicControl>();
    RegisterCustomLink<TqxGraphicSkinCustomControl, TqxGraphicSkinControl>();
    return true;
}();

}  // namespace
