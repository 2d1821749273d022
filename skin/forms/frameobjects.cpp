// The frame objects' common base: looks by state, the hover morph, the glow
// layer and the mask hit test; and the user object.
#include "skin/forms/frameobjects.h"

#include <cmath>

#include "skin/core/qxeffectbmp.h"
#include "skin/core/qxlayerwindows.h"
#include "skin/core/qxutils.h"
#include "skin/core/qxskindata.h"
#include "skin/forms/dravenfold.h"

void InActiveEffect(TqxEffectBmp* AImage, TqxInActiveEffect AEffect) {
    switch (AEffect) {
        case ieBrightness:
            return AImage->ChangeBrightness(0.5);
        case ieDarkness:
            return AImage->ChangeDarkness(0.3);
        case ieGrayScale:
            return AImage->GrayScale();
        case ieNoise:
            return AImage->AddMonoNoise(50);
        case ieSplitBlur:
            return AImage->SplitBlur(1);
        case ieInvert:
            return AImage->Invert();
    }
}

void MorphEffect(TqxEffectBmp* AFrom, const TqxEffectBmp* ATo, double AKf, TqxMorphKind AKind) {
    switch (AKind) {
        case mkDefault:
            return AFrom->Morph(ATo, AKf);
        case mkGradient:
            return AFrom->MorphGrad(ATo, AKf);
        case mkLeftGradient:
            return AFrom->MorphLeftGrad(ATo, AKf);
        case mkRightGradient:
            return AFrom->MorphRightGrad(ATo, AKf);
        case mkLeftSlide:
            return AFrom->MorphLeftSlide(ATo, AKf);
        case mkRightSlide:
            return AFrom->MorphRightSlide(ATo, AKf);
        case mkPush:
            return AFrom->MorphPush(ATo, AKf);
    }
}

TqxActiveSkinObject::TqxActiveSkinObject(TqxDravenfold* AParent, TqxDataSkinObject* AData) : Parent(AParent) {
    SD = AParent->SkinData();
    if (!AData) return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    if (SD) {
        ActivePicture = SD->GetActivePicture(AData->ActivePictureIndex);
        ActiveMaskPicture = SD->GetActivePicture(AData->ActiveMaskPictureIndex);
        Picture = SD->FPicture.get();
    }
    if (!ActivePicture) ActiveSkinRect = TRect{};
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    if (Morphing && IsRectDegenerate(ActiveSkinRect)) Morphing = false;
    ObjectRect = SkinRect;
}

bool TqxActiveSkinObject::HasSkin() const {
    return Parent->SkinData() && !Parent->SkinData()->Empty;
}

void TqxActiveSkinObject::SetMorphKf(double AValue) {
    // Steps of 0.2 land on the ends exactly.
    if (std::abs(AValue) < 1e-9) AValue = 0;
    if (std::abs(AValue - 1) < 1e-9) AValue = 1;
    FMorphKf = AValue < 0 ? 0 : AValue > 1 ? 1 : AValue;
}

bool TqxActiveSkinObject::EnableMorphing() {
    return Morphing && HasSkin() && Parent->SkinData()->EnableSkinEffects();
}

void TqxActiveSkinObject::StartMorph() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

void TqxActiveSkinObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawSkinObject(this);
}

bool TqxActiveSkinObject::CanMorphing() {
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TqxActiveSkinObject::CopyLook(TCanvas* ACanvas, const TRect& ARect, TBitmap* APicture, const TRect& ASource) {
    if (!APicture || IsRectDegenerate(ASource)) return;
    ACanvas->CopyRect(ARect, APicture->Canvas(), ASource);
}

void TqxActiveSkinObject::DrawMorph(TCanvas* ACanvas, TBitmap* ANormalPicture, const TRect& ANormal,
                                    const TRect& AActive) {
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0 || !ANormalPicture || !ActivePicture) return;
    TBitmap normal, active;
    normal.SetSize(w, h);
    active.SetSize(w, h);
    CopyLook(normal.Canvas(), Rect(0, 0, w, h), ANormalPicture, ANormal);
    CopyLook(active.Canvas(), Rect(0, 0, w, h), ActivePicture, AActive);
    std::unique_ptr<TqxEffectBmp> from = TqxEffectBmp::CreateFromhWnd(normal.Handle());
    std::unique_ptr<TqxEffectBmp> to = TqxEffectBmp::CreateFromhWnd(active.Handle());
    MorphEffect(from.get(), to.get(), FMorphKf, MorphKind);
    from->Draw(ACanvas->Handle(), ObjectRect.Left, ObjectRect.Top);
}

bool TqxActiveSkinObject::PointInMask(Integer X, Integer Y) {
    if (!HasSkin() || !ActiveMaskPicture) return true;
    if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height()) return false;
    return ColorToRGB(ActiveMaskPicture->Canvas()->Pixels(X, Y)) == 0;
}

void TqxActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (!HasSkin()) return;
    if (Enabled && !Parent->GetFormActive() && !IsRectDegenerate(InActiveSkinRect)) {
        CopyLook(Cnvs, ObjectRect, ActivePicture, InActiveSkinRect);
        return;
    }
    TBitmap* normalPicture = SkinRectInAPicture ? ActivePicture : Picture;
    if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        DrawMorph(Cnvs, normalPicture, SkinRect, ActiveSkinRect);
        return;
    }
    if (!Active || IsRectDegenerate(ActiveSkinRect)) {
        if (!UpDate && !SkinRectInAPicture) return;
        CopyLook(Cnvs, ObjectRect, normalPicture, SkinRect);
        return;
    }
    CopyLook(Cnvs, ObjectRect, ActivePicture, ActiveSkinRect);
}

void TqxActiveSkinObject::DrawAlpha(TCanvas*, TqxBitmap*) {}

void TqxActiveSkinObject::DblClick() {}

void TqxActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TqxActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
    if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TqxActiveSkinObject::MouseMove(Integer X, Integer Y) {
    Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TqxActiveSkinObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (!IsRectDegenerate(ActiveSkinRect)) StartMorph();
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TqxActiveSkinObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!IsRectDegenerate(ActiveSkinRect)) StartMorph();
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

TRect TqxActiveSkinObject::ScreenObjectRect() const {
    return Parent->WindowToScreen(ObjectRect);
}

bool TqxActiveSkinObject::CanShowGlow() const {
    return HasSkin() && GlowLayerPictureIndex != -1 && IsLayeredWindowsAvailable() &&
           Parent->SkinData()->ShowCaptionButtonGlowFrames();
}

void TqxActiveSkinObject::ShowGlowIn(TqxLayerManager* AManager) {
    if (!CanShowGlow()) return;
    TBitmap* image = Parent->SkinData()->GetActivePicture(GlowLayerPictureIndex);
    TBitmap* mask = Parent->SkinData()->GetActivePicture(GlowLayerMaskPictureIndex);
    if (!image || !mask) return;
    const TRect r = ScreenObjectRect();
    AManager->Show(r.Left - GlowLayerOffsetX, r.Top - GlowLayerOffsetY, image, mask, GlowLayerAlphaBlendValue);
}

void TqxActiveSkinObject::ShowLayer() {
    ShowGlowIn(Parent->FLayerManager);
}

void TqxActiveSkinObject::HideLayer() {
    if (CanShowGlow()) Parent->FLayerManager->Hide();
}

void TqxUserObject::Draw(TCanvas* Cnvs, bool) {
    Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}
