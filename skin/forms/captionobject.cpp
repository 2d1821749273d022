// The caption object: the form's text with its passes and effects, the
// caption's looks and activation animation, and the quick buttons.
#include "skin/forms/captionobject.h"

#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxtextdraw.h"
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
    if (Parent->AppMenuCaptionDrawn())
        t.Left = Parent->AppMenuCaptionOffset() - ObjectRect.Left;
    else if (HasQuickButtons())
        t.Left += Parent->QuickButtons()->Count() * (QuickImageWidth() + 8) + 5;
    if (!IsRectDegenerate(FrameRect)) {
        t.Top += FrameTextRect.Top;
        t.Left += FrameTextRect.Left;
        t.Right += FrameTextRect.Right - FrameRect.Width();
    }
    return t;
}

void TqxSkinCaptionObject::TextPass(TCanvas* ACanvas, Integer X0, Integer Y0, bool AActive) {
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(ACanvas, ObjectRect, AActive);
        return;
    }
    String text = CaptionText();
    if (text.empty() || IsRectDegenerate(TextRct)) return;
    const TRect t = TextRectangle();
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
    if (!IsRectDegenerate(FrameRect) && ActivePicture) {
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
        SetCaptionFont(ACanvas, AColor);
        TRect moved = Rect(r.Left + ADx, r.Top + ADy, r.Right + ADx, r.Bottom + ADy);
        SkinDrawText(ACanvas, text, moved, flags);
    };
    if (Light) pass(AActive ? ActiveLightColor : LightColor, -1, -1);
    if (Shadow) pass(AActive ? ActiveShadowColor : ShadowColor, 1, 1);
    SetCaptionFont(ACanvas, textColor);
    if (ReflectionEffect) {
        DrawReflectedText(ACanvas, r, text, flags, ReflectionOffset, AActive ? ReflectionActiveColor : ReflectionColor);
    } else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect)) {
        DrawTextOnWideGlowBackdrop(ACanvas, r, text, flags, AActive ? GlowActiveColor : GlowColor);
    } else if (GlowEffect && (AActive || GlowInActiveEffect)) {
        DrawGlowTextW(ACanvas, r, text, flags, GlowOffset, AActive ? GlowActiveColor : GlowColor, GlowSize);
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

void TqxSkinCaptionObject::DrawQuickButtons(TCanvas* ACanvas) {
    TCustomImageList* images = Parent->QuickImageList();
    const TRect divider = Active || IsRectDegenerate(InActiveDividerRect) ? DividerRect : InActiveDividerRect;
    Integer x = ObjectRect.Left;
    if (!IsRectDegenerate(divider) && Parent->QuickButtonsShowDivider() && ActivePicture) {
        TBitmap part;
        part.SetSize(divider.Width(), divider.Height());
        part.Canvas()->CopyRect(Rect(0, 0, divider.Width(), divider.Height()), ActivePicture->Canvas(), divider);
        if (DividerTransparent) {
            part.SetTransparentColor(DividerTransparentColor);
            part.SetTransparent(true);
        }
        ACanvas->Draw(ObjectRect.Left + 3, ObjectRect.Top + ObjectRect.Height() / 2 - divider.Height() / 2, &part);
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
    TqxSkinData* skin = Parent->SkinData();
    const TRect& r = AItem->ItemRect;
    if (AItem->Active) {
        Integer index = skin->GetControlIndex(u"officequickbutton");
        if (index == -1) index = skin->GetControlIndex(u"resizetoolbutton");
        auto* element = index == -1 ? nullptr : dynamic_cast<TqxDataSkinButtonControl*>(skin->CtrlList[index]);
        TBitmap* picture = element ? skin->GetActivePicture(element->PictureIndex) : nullptr;
        if (element && picture) {
            const TRect source = AItem->Down ? element->DownSkinRect : element->ActiveSkinRect;
            if (!IsRectDegenerate(source)) {
                TBitmap face;
                face.SetSize(r.Width(), r.Height());
                BuildStretchedSkinImage(&face, picture, source, element->ClRect, true);
                ACanvas->Draw(r.Left, r.Top, &face);
            }
        }
    }
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
