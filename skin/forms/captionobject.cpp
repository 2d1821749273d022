// The caption object: the form's text with its passes and effects, the
// caption's looks and activation animation, and the quick buttons.
#include "skin/forms/captionobject.h"

#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qxeffects.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxpngimagelist.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"
#include "skin/forms/dravenfold.h"

using namespace win;

TqxQuickButtonItem::TqxQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TqxQuickButtonItem::Assign(TPersistent* ASource) {
    if (auto* source = dynamic_cast<TqxQuickButtonItem*>(ASource)) {
        FImageIndex = source->FImageIndex;
        FHint = source->FHint;
        FEnabled = source->FEnabled;
        FVisible = source->FVisible;
        return;
    }
    TCollectionItem::Assign(ASource);
}

void TqxQuickButtonItem::SetImageIndex(Integer AValue) {
    FImageIndex = AValue;
    Changed(false);
}

void TqxQuickButtonItem::SetEnabled(bool AValue) {
    FEnabled = AValue;
    Changed(false);
}

void TqxQuickButtonItem::SetVisible(bool AValue) {
    FVisible = AValue;
    Changed(false);
}

TqxQuickButtonItems::TqxQuickButtonItems(TqxDravenfold* AQXD) : TCollectionOf(AQXD), QXD(AQXD) {}

void TqxQuickButtonItems::Update(TCollectionItem*) {
    if (!QXD->ComponentState().Contains(csLoading) && !QXD->ComponentState().Contains(csDesigning))
        QXD->UpDateFormNC();
}

TqxSkinCaptionObject::TqxSkinCaptionObject(TqxDravenfold* AParent, TqxDataSkinObject* AData)
    : TqxActiveSkinObject(AParent, AData) {
    auto* data = dynamic_cast<TqxDataSkinCaption*>(AData);
    if (!data) return;
    FontName = data->FontName;
    FontStyle = data->FontStyle;
    FontHeight = data->FontHeight;
    FontColor = data->FontColor;
    ActiveFontColor = data->ActiveFontColor;
    ShadowColor = data->ShadowColor;
    ActiveShadowColor = data->ActiveShadowColor;
    Shadow = data->Shadow;
    LightColor = data->LightColor;
    ActiveLightColor = data->ActiveLightColor;
    Light = data->Light;
    Alignment = data->Alignment;
    TextRct = data->TextRct;
    FrameRect = data->FrameRect;
    ActiveFrameRect = data->ActiveFrameRect;
    FrameLeftOffset = data->FrameLeftOffset;
    FrameRightOffset = data->FrameRightOffset;
    FrameTextRect = data->FrameTextRect;
    StretchEffect = data->StretchEffect;
    FullFrame = data->FullFrame;
    AnimateSkinRect = data->AnimateSkinRect;
    FrameCount = data->FrameCount;
    AnimateInterval = data->AnimateInterval;
    InActiveAnimation = data->InActiveAnimation;
    VistaGlowEffect = data->VistaGlowEffect;
    VistaGlowInActiveEffect = data->VistaGlowInActiveEffect;
    GlowEffect = data->GlowEffect;
    GlowInActiveEffect = data->GlowInActiveEffect;
    GlowSize = data->GlowSize;
    GlowColor = data->GlowColor;
    GlowActiveColor = data->GlowActiveColor;
    GlowOffset = data->GlowOffset;
    ReflectionEffect = data->ReflectionEffect;
    ReflectionColor = data->ReflectionColor;
    ReflectionActiveColor = data->ReflectionActiveColor;
    ReflectionOffset = data->ReflectionOffset;
    DividerRect = data->DividerRect;
    InActiveDividerRect = data->InActiveDividerRect;
    DividerTransparent = data->DividerTransparent;
    DividerTransparentColor = data->DividerTransparentColor;
    QuickButtonAlphaMaskPictureIndex = data->QuickButtonAlphaMaskPictureIndex;
}

bool TqxSkinCaptionObject::EnableAnimation() {
    TqxSkinData* skin = Parent->SkinData();
    return skin && skin->EnableSkinEffects() && !skin->Empty && !IsRectDegenerate(AnimateSkinRect) &&
           FrameCount > 0;
}

bool TqxSkinCaptionObject::HasQuickButtons() const {
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList() && !Parent->AppMenuCaptionDrawn();
}

Integer TqxSkinCaptionObject::QuickImageWidth() const {
    return Parent->QuickImageList() ? Parent->QuickImageList()->Width() : 0;
}

String TqxSkinCaptionObject::CaptionText() const {
    return Parent->MDIFormCaption();
}

void TqxSkinCaptionObject::SetCaptionFont(TCanvas* ACanvas, TColor AColor) {
    TFont* font = ACanvas->Font();
    if (Parent->UseSkinFontInCaption()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(Parent->DefCaptionFont());
    }
    font->SetColor(AColor);
    TqxResourceStrData* strings = Parent->SkinData() ? Parent->SkinData()->ResourceStrData() : nullptr;
    font->SetCharset(strings ? strings->CharSet() : Parent->DefCaptionFont()->Charset());
}

TRect TqxSkinCaptionObject::TextRectangle() {
    TRect t = TextRct;
    if (IsRectDegenerate(TextRct)) return t;
    t.Right = ObjectRect.Width() + TextRct.Right - SkinRect.Width();
    // Right of the application menu's caption picture the text keeps its
    // own inset, clear of the picture's edge.
    if (Parent->AppMenuCaptionDrawn())
        t.Left = Parent->AppMenuCaptionOffset() - ObjectRect.Left + TextRct.Left;
    else if (HasQuickButtons())
        t.Left += Parent->QuickButtons()->Count() * (QuickImageWidth() + 8) + 5;
    if (!IsRectDegenerate(FrameRect)) {
        t.Top += FrameTextRect.Top;
        t.Left += FrameTextRect.Left;
        t.Right += FrameTextRect.Right - FrameRect.Width();
    }
    return t;
}

TColor TqxSkinCaptionObject::Ink(TColor AColor) const {
    return FMaskInk ? clWhite : AColor;
}

void TqxSkinCaptionObject::TextPass(TCanvas* ACanvas, Integer X0, Integer Y0, bool AActive) {
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(ACanvas, ObjectRect, AActive);
        return;
    }
    if (IsRectDegenerate(TextRct)) return;
    DrawCaptionText(ACanvas, TextRectangle(), X0, Y0, AActive, true, false);
}

void TqxSkinCaptionObject::DrawCaptionText(TCanvas* ACanvas, const TRect& AText, Integer X0, Integer Y0,
                                           bool AActive, bool APlate, bool ALayered) {
    String text = CaptionText();
    if (text.empty()) return;
    const TRect& t = AText;
    FitTextToWidthW(ACanvas, text, t.Width());
    const Integer w = SkinTextWidth(ACanvas, text), h = SkinTextHeight(ACanvas, text);
    Integer y = t.Top + t.Height() / 2 - h / 2;
    Integer x = t.Left + t.Width() / 2 - w / 2;
    if (!HasQuickButtons()) {
        if (Alignment == taLeftJustify) x = t.Left;
        if (Alignment == taRightJustify) x = t.Right - w;
    }
    x += X0;
    y += Y0;
    if (IsOddFontHeight(ACanvas)) --y;
    ACanvas->Brush()->SetStyle(bsClear);
    TqxSkinData* skin = Parent->SkinData();
    const TColor textColor = ACanvas->Font()->Color();
    if (APlate && !IsRectDegenerate(FrameRect) && ActivePicture) {
        const TRect source = AActive && !IsRectDegenerate(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        const Integer offset = skin ? skin->ButtonsOffset : 0;
        const Integer plateWidth = FullFrame ? ObjectRect.Width() - 2 * offset : FrameRect.Width() + w - FrameTextRect.Width();
        if (plateWidth > 0) {
            TBitmap plate;
            BuildHorzThreePartImage(FrameLeftOffset, FrameRightOffset, &plate, ActivePicture, source, plateWidth,
                                    FrameRect.Height(), false);
            if (FullFrame)
                ACanvas->Draw(X0 + offset, y - FrameTextRect.Top, &plate);
            else
                ACanvas->Draw(x - FrameTextRect.Left, y - FrameTextRect.Top, &plate);
        }
    }
    TRect r = Rect(x, y, x, y);
    SkinDrawText(ACanvas, text, r, DT_CALCRECT);
    const Cardinal flags = Parent->Form()->DrawTextBiDiModeFlags(DT_VCENTER);
    const auto pass = [&](TColor AColor, Integer ADx, Integer ADy) {
        SetCaptionFont(ACanvas, Ink(AColor));
        TRect moved = Rect(r.Left + ADx, r.Top + ADy, r.Right + ADx, r.Bottom + ADy);
        SkinDrawText(ACanvas, text, moved, flags);
    };
    if (Light) pass(AActive ? ActiveLightColor : LightColor, -1, -1);
    if (Shadow) pass(AActive ? ActiveShadowColor : ShadowColor, 1, 1);
    SetCaptionFont(ACanvas, textColor);
    const TColor glow = Ink(AActive ? GlowActiveColor : GlowColor);
    // The layered frame's glows show whatever the activation.
    if (ReflectionEffect) {
        DrawReflectedText(ACanvas, r, text, flags, ReflectionOffset,
                          Ink(AActive ? ReflectionActiveColor : ReflectionColor));
    } else if (VistaGlowEffect && ALayered) {
        DrawTextOnGlowBackdrop(ACanvas, r, text, flags, glow);
    } else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect)) {
        DrawTextOnWideGlowBackdrop(ACanvas, r, text, flags, glow);
    } else if (GlowEffect && (AActive || GlowInActiveEffect || ALayered)) {
        DrawGlowTextW(ACanvas, r, text, flags, GlowOffset, glow, GlowSize);
    } else {
        SkinDrawText(ACanvas, text, r, flags);
    }
}

std::unique_ptr<TBitmap> TqxSkinCaptionObject::BuildLook(TBitmap* APicture, const TRect& ASource, bool AActive) {
    auto look = std::make_unique<TBitmap>();
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    look->SetSize(w, h);
    TqxSkinData* skin = Parent->SkinData();
    if (APicture && !IsRectDegenerate(ASource)) {
        const Integer left = std::max(skin->LTPoint.X - SkinRect.Left, 0);
        const Integer right = std::max(SkinRect.Right - skin->RTPoint.X, 0);
        if (left == 0 && right == 0)
            look->Canvas()->CopyRect(Rect(0, 0, w, h), APicture->Canvas(), ASource);
        else
            BuildHorzThreePartImage(left, right, look.get(), APicture, ASource, w, h, StretchEffect);
    }
    SetCaptionFont(look->Canvas(), AActive ? ActiveFontColor : FontColor);
    TextPass(look->Canvas(), 0, 0, AActive);
    return look;
}

void TqxSkinCaptionObject::Draw(TCanvas* Cnvs, bool) {
    if (!HasSkin()) return;
    TqxSkinData* skin = Parent->SkinData();
    SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
    const bool animation = EnableAnimation();
    const bool morph = EnableMorphing() && ((!Active && FMorphKf > 0) || (Active && FMorphKf < 1));
    const auto inActiveLook = [&]() {
        std::unique_ptr<TBitmap> look = BuildLook(Picture, SkinRect, false);
        if (skin->AutoRenderingInActiveImage) {
            std::unique_ptr<TqxEffectBmp> effect = TqxEffectBmp::CreateFromhWnd(look->Handle());
            InActiveEffect(effect.get(), skin->InActiveEffect);
            effect->Draw(look->Canvas()->Handle(), 0, 0);
        }
        return look;
    };
    if (animation && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
        TRect frame;
        if (AnimateSkinRect.Height() > SkinRect.Height()) {
            const Integer h = AnimateSkinRect.Height() / FrameCount;
            frame = Bounds(AnimateSkinRect.Left, AnimateSkinRect.Top + (CurrentFrame - 1) * h, AnimateSkinRect.Width(), h);
        } else {
            const Integer w = AnimateSkinRect.Width() / FrameCount;
            frame = Bounds(AnimateSkinRect.Left + (CurrentFrame - 1) * w, AnimateSkinRect.Top, w, AnimateSkinRect.Height());
        }
        // The text keeps the colours of the state being left.
        std::unique_ptr<TBitmap> look = BuildLook(ActivePicture, frame, !Active);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, look.get());
    } else if (morph && ActivePicture) {
        std::unique_ptr<TBitmap> from = BuildLook(Picture, SkinRect, false);
        std::unique_ptr<TBitmap> to = BuildLook(ActivePicture, ActiveSkinRect, true);
        std::unique_ptr<TqxEffectBmp> a = TqxEffectBmp::CreateFromhWnd(from->Handle());
        std::unique_ptr<TqxEffectBmp> b = TqxEffectBmp::CreateFromhWnd(to->Handle());
        MorphEffect(a.get(), b.get(), FMorphKf, MorphKind);
        if (skin->AutoRenderingInActiveImage && !Active) InActiveEffect(a.get(), skin->InActiveEffect);
        a->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
    } else if (IsRectDegenerate(ActiveSkinRect) || (!Active && !EnableMorphing() && !StretchEffect && !animation)) {
        TextPass(Cnvs, ObjectRect.Left, ObjectRect.Top, Active);
    } else if (!Active) {
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, inActiveLook().get());
    } else {
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, BuildLook(ActivePicture, ActiveSkinRect, true).get());
    }
    if (HasQuickButtons()) DrawQuickButtons(Cnvs);
}

// Ink on part of a 32-bit picture that keeps the picture's alpha: the part
// is copied out (Image) with its alpha carried on a grey mask (Mask); what
// is drawn into both, into the mask in white, becomes opaque where drawn
// once the part goes back.
class TqxAlphaInk {
public:
    TqxAlphaInk(TqxBitmap* ATarget, const TRect& APart)
        : FTarget(ATarget),
          FPart(Rect(std::max(APart.Left, 0), std::max(APart.Top, 0), std::min(APart.Right, ATarget->Width()),
                     std::min(APart.Bottom, ATarget->Height()))),
          FOrigin(Point(APart.Left, APart.Top)) {
        if (FPart.Width() <= 0 || FPart.Height() <= 0) return;
        const Integer w = APart.Width(), h = APart.Height();
        FImage.SetSize(w, h);
        FMask.SetSize(w, h);
        FImage.Clear(0);
        FMask.Clear(0);
        ForEach([&](TqxColor& AImage, TqxColor& AMask, TqxColor& ATargetPixel) {
            AImage = ATargetPixel;
            const TqxColor a = ATargetPixel >> 24;
            AMask = 0xFF000000 | (a << 16) | (a << 8) | a;
        });
    }
    bool Ready() const { return !FImage.Empty(); }
    TqxBitmap& Image() { return FImage; }
    TqxBitmap& Mask() { return FMask; }
    // ASource (its alpha straight, or premultiplied) over the part at X, Y.
    void Over(const TqxBitmap& ASource, Integer X, Integer Y, bool APremultiplied) {
        for (Integer y = 0; y < ASource.Height(); ++y) {
            const Integer ty = Y + y;
            if (ty < 0 || ty >= FImage.Height()) continue;
            const TqxColor* from = ASource.GetScanLinePtr(y);
            TqxColor* image = FImage.GetScanLinePtr(ty);
            TqxColor* mask = FMask.GetScanLinePtr(ty);
            for (Integer x = 0; x < ASource.Width(); ++x) {
                const Integer tx = X + x;
                if (tx < 0 || tx >= FImage.Width()) continue;
                const TqxColor s = from[x], a = s >> 24;
                if (a == 0) continue;
                TqxColor colour = 0;
                for (Integer shift = 0; shift <= 16; shift += 8) {
                    const TqxColor sc = (s >> shift) & 0xFF, bc = (image[tx] >> shift) & 0xFF;
                    const TqxColor c = APremultiplied ? std::min<TqxColor>(sc + bc * (255 - a) / 255, 255)
                                                      : (sc * a + bc * (255 - a)) / 255;
                    colour |= c << shift;
                }
                image[tx] = (image[tx] & 0xFF000000) | colour;
                const TqxColor m = a + (mask[tx] & 0xFF) * (255 - a) / 255;
                mask[tx] = 0xFF000000 | (m << 16) | (m << 8) | m;
            }
        }
    }
    // Opaque wherever AKeyed holds another colour than MaskedColor.
    void Keyed(const TqxBitmap& AKeyed, Integer X, Integer Y) {
        TqxBitmap opaque;
        opaque.SetSize(AKeyed.Width(), AKeyed.Height());
        for (Integer y = 0; y < AKeyed.Height(); ++y) {
            const TqxColor* from = AKeyed.GetScanLinePtr(y);
            TqxColor* to = opaque.GetScanLinePtr(y);
            for (Integer x = 0; x < AKeyed.Width(); ++x)
                to[x] = (from[x] & 0x00FFFFFF) == (MaskedColor & 0x00FFFFFF) ? 0 : (from[x] | 0xFF000000);
        }
        Over(opaque, X, Y, false);
    }
    // The part back, its alpha from the mask.
    void Apply() {
        if (!Ready()) return;
        SetAlphaFromMask(&FImage, &FMask);
        ForEach([](TqxColor& AImage, TqxColor&, TqxColor& ATargetPixel) { ATargetPixel = AImage; });
    }

private:
    template <class F>
    void ForEach(F AVisit) {
        for (Integer y = FPart.Top; y < FPart.Bottom; ++y) {
            TqxColor* target = FTarget->GetScanLinePtr(y);
            TqxColor* image = FImage.GetScanLinePtr(y - FOrigin.Y);
            TqxColor* mask = FMask.GetScanLinePtr(y - FOrigin.Y);
            for (Integer x = FPart.Left; x < FPart.Right; ++x)
                AVisit(image[x - FOrigin.X], mask[x - FOrigin.X], target[x]);
        }
    }

    TqxBitmap* FTarget;
    TRect FPart;
    TPoint FOrigin;
    TqxBitmap FImage, FMask;
};

void TqxSkinCaptionObject::DrawAlpha(TCanvas*, TqxBitmap* ABitMap) {
    if (!HasSkin() || !ABitMap || ABitMap->Empty()) return;
    TqxAlphaInk ink(ABitMap, ObjectRect);
    if (!ink.Ready()) return;
    Active = Parent->FFormActive;
    TRect r = Rect(0, 0, ObjectRect.Width(), ObjectRect.Height());
    if (HasQuickButtons()) r.Left = DrawQuickButtonsAlpha(ink);
    if (VistaGlowEffect)
        r = Rect(r.Left + 6, r.Top, r.Right - 6, r.Bottom);
    else if (GlowEffect)
        r = Rect(r.Left + 3, r.Top, r.Right - 3, r.Bottom);
    for (const bool mask : {false, true}) {
        FMaskInk = mask;
        TCanvas* canvas = (mask ? ink.Mask() : ink.Image()).Canvas();
        SetCaptionFont(canvas, Ink(Active ? ActiveFontColor : FontColor));
        if (Parent->OnCaptionPaint)
            Parent->OnCaptionPaint(canvas, Rect(0, 0, ObjectRect.Width(), ObjectRect.Height()), Active);
        else
            DrawCaptionText(canvas, r, 0, 0, Active, false, true);
    }
    FMaskInk = false;
    ink.Apply();
}

Integer TqxSkinCaptionObject::DrawQuickButtonsAlpha(TqxAlphaInk& AInk) {
    TCustomImageList* images = Parent->QuickImageList();
    TqxQuickButtonItems* items = Parent->QuickButtons();
    const Integer n = items->Count(), step = images->Width() + 8;
    const TRect divider = Active || IsRectDegenerate(InActiveDividerRect) ? DividerRect : InActiveDividerRect;
    Integer x = 5, textLeft = n * step + 5;
    if (!IsRectDegenerate(DividerRect) && ActivePicture) {
        // The divider keeps the background's alpha: it goes into the image only.
        DrawDivider(AInk.Image().Canvas(), divider, 0, 0);
        x = divider.Width() + 6;
        textLeft = divider.Width() + n * step + 6;
    }
    const Integer y = ObjectRect.Height() / 2 - images->Height() / 2 - 2;
    for (Integer i = 0; i < n; ++i) {
        TqxQuickButtonItem* item = items->Items(i);
        if (!item->Visible()) continue;
        const TRect local = Rect(x, y, x + images->Width() + 4, y + images->Height() + 4);
        item->ItemRect = Rect(ObjectRect.Left + local.Left, ObjectRect.Top + local.Top,
                              ObjectRect.Left + local.Right, ObjectRect.Top + local.Bottom);
        DrawQuickButtonAlpha(AInk, item, local);
        x += step;
    }
    return textLeft;
}

void TqxSkinCaptionObject::DrawQuickButtonAlpha(TqxAlphaInk& AInk, TqxQuickButtonItem* AItem,
                                                const TRect& R) {
    if (AItem->ImageIndex() < 0) return;
    TqxSkinData* skin = Parent->SkinData();
    TBitmap look;
    if (const TqxDataSkinButtonControl* element = QuickButtonFace(AItem, R.Width(), R.Height(), look)) {
        const TRect source = AItem->Down ? element->DownSkinRect : element->ActiveSkinRect;
        TqxBitmap face;
        face.Assign(&look);
        face.SetAlpha(255);
        TBitmap* maskPicture = QuickButtonAlphaMaskPictureIndex == -1
                                   ? nullptr
                                   : skin->GetActivePicture(QuickButtonAlphaMaskPictureIndex);
        if (maskPicture && !maskPicture->Empty()) {
            // The mask stretches as the face does, over the whole mask picture.
            const TRect grown = Rect(element->ClRect.Left, element->ClRect.Top,
                                     element->ClRect.Right + maskPicture->Width() - source.Width(),
                                     element->ClRect.Bottom + maskPicture->Height() - source.Height());
            TBitmap maskLook;
            maskLook.SetSize(R.Width(), R.Height());
            BuildStretchedSkinImage(&maskLook, maskPicture,
                                    Rect(0, 0, maskPicture->Width(), maskPicture->Height()), grown, true);
            TqxBitmap mask;
            mask.Assign(&maskLook);
            SetPremultipliedAlphaFromMask(&face, &mask);
            AInk.Over(face, R.Left, R.Top, true);
        } else {
            AInk.Over(face, R.Left, R.Top, false);
        }
    }
    TCustomImageList* images = Parent->QuickImageList();
    if (AItem->ImageIndex() >= images->Count()) return;
    const Integer ix = R.Left + R.Width() / 2 - images->Width() / 2;
    const Integer iy = R.Top + R.Height() / 2 - images->Height() / 2;
    auto* png = dynamic_cast<TqxPngImageList*>(images);
    if (png && AItem->ImageIndex() < png->PngImages()->Count()) {
        if (!AItem->Enabled()) {
            // Faded onto the background, whose alpha it keeps.
            images->Draw(AInk.Image().Canvas(), ix, iy, AItem->ImageIndex(), false);
            return;
        }
        TqxBitmap image;
        PngToAlphaBitmap(&image, png->PngImages()->Items(AItem->ImageIndex())->PngImage());
        AInk.Over(image, ix, iy, false);
        return;
    }
    TqxBitmap keyed;
    keyed.SetSize(images->Width(), images->Height());
    keyed.Clear(MaskedColor);
    images->Draw(keyed.Canvas(), 0, 0, AItem->ImageIndex(), AItem->Enabled());
    AInk.Keyed(keyed, ix, iy);
}

void TqxSkinCaptionObject::DrawDivider(TCanvas* ACanvas, const TRect& ADivider, Integer X0, Integer Y0) {
    TBitmap part;
    part.SetSize(ADivider.Width(), ADivider.Height());
    part.Canvas()->CopyRect(Rect(0, 0, ADivider.Width(), ADivider.Height()), ActivePicture->Canvas(),
                            ADivider);
    if (DividerTransparent) {
        part.SetTransparentColor(DividerTransparentColor);
        part.SetTransparent(true);
    }
    ACanvas->Draw(X0 + 3, Y0 + ObjectRect.Height() / 2 - ADivider.Height() / 2, &part);
}

const TqxDataSkinButtonControl* TqxSkinCaptionObject::QuickButtonFace(TqxQuickButtonItem* AItem,
                                                                      Integer AWidth, Integer AHeight,
                                                                      TBitmap& AFace) {
    if (!AItem->Active) return nullptr;
    TqxSkinData* skin = Parent->SkinData();
    Integer index = skin->GetControlIndex(u"officequickbutton");
    if (index == -1) index = skin->GetControlIndex(u"resizetoolbutton");
    auto* element = index == -1 ? nullptr : dynamic_cast<TqxDataSkinButtonControl*>(skin->CtrlList[index]);
    TBitmap* picture = element ? skin->GetActivePicture(element->PictureIndex) : nullptr;
    if (!picture) return nullptr;
    const TRect source = AItem->Down ? element->DownSkinRect : element->ActiveSkinRect;
    if (IsRectDegenerate(source)) return nullptr;
    AFace.SetSize(AWidth, AHeight);
    BuildStretchedSkinImage(&AFace, picture, source, element->ClRect, true);
    return element;
}

void TqxSkinCaptionObject::DrawQuickButtons(TCanvas* ACanvas) {
    TCustomImageList* images = Parent->QuickImageList();
    const TRect divider = Active || IsRectDegenerate(InActiveDividerRect) ? DividerRect : InActiveDividerRect;
    Integer x = ObjectRect.Left;
    if (!IsRectDegenerate(divider) && Parent->QuickButtonsShowDivider() && ActivePicture) {
        DrawDivider(ACanvas, divider, ObjectRect.Left, ObjectRect.Top);
        x = ObjectRect.Left + divider.Width() + 6;
    }
    const Integer y = ObjectRect.Top + ObjectRect.Height() / 2 - images->Height() / 2 - 2;
    for (Integer i = 0; i < Parent->QuickButtons()->Count(); ++i) {
        TqxQuickButtonItem* item = Parent->QuickButtons()->Items(i);
        if (!item->Visible()) continue;
        item->ItemRect = Rect(x, y, x + images->Width() + 4, y + images->Height() + 4);
        DrawQuickButton(ACanvas, item);
        x += images->Width() + 8;
    }
}

void TqxSkinCaptionObject::DrawQuickButton(TCanvas* ACanvas, TqxQuickButtonItem* AItem) {
    if (!AItem->Visible() || AItem->ImageIndex() < 0) return;
    const TRect& r = AItem->ItemRect;
    TBitmap face;
    if (QuickButtonFace(AItem, r.Width(), r.Height(), face)) ACanvas->Draw(r.Left, r.Top, &face);
    TCustomImageList* images = Parent->QuickImageList();
    if (AItem->ImageIndex() >= images->Count()) return;
    images->Draw(ACanvas, r.Left + r.Width() / 2 - images->Width() / 2, r.Top + r.Height() / 2 - images->Height() / 2,
                 AItem->ImageIndex(), AItem->Enabled());
}

void TqxSkinCaptionObject::RedrawCaption() {
    Parent->UpDateFormNC();
}

void TqxSkinCaptionObject::TrackQuickButton(Integer X, Integer Y) {
    TqxQuickButtonItems* items = Parent->QuickButtons();
    if (items->Count() == 0) return;
    const Integer oldActive = ActiveQuickButton;
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (Integer i = 0; i < items->Count(); ++i) {
        TqxQuickButtonItem* item = items->Items(i);
        const TRect& r = item->ItemRect;
        if (item->Enabled() && item->Visible() && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) {
            ActiveQuickButton = i;
            break;
        }
    }
    bool changed = false;
    for (Integer i = 0; i < items->Count(); ++i) {
        if (i == PopupMenuQuickButton) continue;
        TqxQuickButtonItem* item = items->Items(i);
        const bool active = i == ActiveQuickButton;
        if (item->Active != active) {
            item->Active = active;
            changed = true;
        }
    }
    if (ActiveQuickButton != oldActive || changed) RedrawCaption();
}

void TqxSkinCaptionObject::MouseMove(Integer X, Integer Y) {
    TqxActiveSkinObject::MouseMove(X, Y);
    if (HasQuickButtons()) TrackQuickButton(X, Y);
}

void TqxSkinCaptionObject::MouseEnter() {
    FMouseIn = true;
    Parent->DoMouseEnterEvent(IDName);
}

void TqxSkinCaptionObject::MouseLeave() {
    FMouseIn = false;
    Parent->DoMouseLeaveEvent(IDName);
    if (HasQuickButtons()) {
        ActiveQuickButton = OldActiveQuickButton = -1;
        TrackQuickButton(-1, -1);
    }
    if (FDown) {
        FDown = false;
        Parent->MouseCaptureObject = -1;
        if (MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < Parent->QuickButtons()->Count())
            Parent->QuickButtons()->Items(MouseCaptureQuickButton)->Down = false;
        MouseCaptureQuickButton = -1;
    }
}

void TqxSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons() || Button != mbLeft) return;
    FDown = true;
    TrackQuickButton(X, Y);
    TqxQuickButtonItems* items = Parent->QuickButtons();
    if (ActiveQuickButton != -1) {
        items->Items(ActiveQuickButton)->Down = true;
        MouseCaptureQuickButton = ActiveQuickButton;
    }
    for (Integer i = 0; i < items->Count(); ++i)
        if (i != ActiveQuickButton) items->Items(i)->Down = items->Items(i)->Active = false;
    RedrawCaption();
}

void TqxSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
    Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    FDown = false;
    TqxQuickButtonItems* items = Parent->QuickButtons();
    if (HasQuickButtons())
        TrackQuickButton(X, Y);
    else
        ActiveQuickButton = -1;
    if (ActiveQuickButton == -1 && MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < items->Count())
        items->Items(MouseCaptureQuickButton)->Down = items->Items(MouseCaptureQuickButton)->Active = false;
    MouseCaptureQuickButton = -1;
    if (ActiveQuickButton == -1 || Button != mbLeft) return;
    TqxQuickButtonItem* item = items->Items(ActiveQuickButton);
    const bool wasDown = item->Down;
    for (Integer i = 0; i < items->Count(); ++i)
        items->Items(i)->Down = false;
    RedrawCaption();
    if (wasDown && item->OnClick) item->OnClick(this);
}
