#include "skin/controls/qxskincheckradio.h"

#include <memory>

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/actions.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Cardinal MorphInterval = 20;

const TRect& Or(const TRect& ARect, const TRect& AFallback) {
    return IsRectDegenerate(ARect) ? AFallback : ARect;
}

}  // namespace

TqxSkinCheckRadioBox::TqxSkinCheckRadioBox(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks, csSetCaption};
    SetSkinDataName(u"checkbox");
    SetBounds(Left(), Top(), 150, 25);
    // It may take the focus, yet Tab passes it by unless told otherwise.
    SetTabStop(false);
}

TqxSkinCheckRadioBox::~TqxSkinCheckRadioBox() {
    StopMorph();
}

// Properties.

void TqxSkinCheckRadioBox::SetChecked(bool AValue) {
    FChecked = AValue;
    if (AValue)
        FState = cbChecked;
    else if (FState == cbChecked)
        FState = cbUnchecked;
    Repaint();
    if (AValue && FGroupIndex != 0) UncheckGroup();
    if ((!FRadio || FChecked) && OnClick && !ComponentState().Contains(csLoading)) OnClick(this);
}

void TqxSkinCheckRadioBox::SetState(TCheckBoxState AValue) {
    FState = AValue;
    FChecked = AValue == cbChecked;
    Repaint();
    if (OnClick && !ComponentState().Contains(csLoading)) OnClick(this);
}

void TqxSkinCheckRadioBox::UncheckGroup() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TqxSkinCheckRadioBox*>(parent->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex && other->FChecked)
            other->SetChecked(false);
    }
}

void TqxSkinCheckRadioBox::SetRadio(bool AValue) {
    FRadio = AValue;
    Repaint();
}

void TqxSkinCheckRadioBox::SetAllowGrayed(bool AValue) {
    FAllowGrayed = AValue;
    Repaint();
}

void TqxSkinCheckRadioBox::SetFlat(bool AValue) {
    FFlat = AValue;
    Repaint();
}

void TqxSkinCheckRadioBox::SetWordWrap(bool AValue) {
    if (AValue == FWordWrap) return;
    FWordWrap = AValue;
    if (FFlat) Repaint();
}

void TqxSkinCheckRadioBox::SetImages(TCustomImageList* AValue) {
    SetReference(this, FImages, AValue);
    Repaint();
}

void TqxSkinCheckRadioBox::SetImageIndex(Integer AValue) {
    FImageIndex = AValue;
    Repaint();
}

void TqxSkinCheckRadioBox::SetCanFocused(bool AValue) {
    FCanFocused = AValue;
    SetTabStop(AValue);
}

void TqxSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TqxSkinCheckRadioBox::ActionChange(TObject* Sender, bool ACheckDefaults) {
    TqxSkinCustomControl::ActionChange(Sender, ACheckDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(Sender))
        if (!ACheckDefaults || !FChecked) SetChecked(action->Checked());
}

void TqxSkinCheckRadioBox::Toggle() {
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

// The element.

void TqxSkinCheckRadioBox::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    const auto* e = FIndex == -1
                        ? nullptr
                        : dynamic_cast<const TqxDataSkinCheckRadioControl*>(SkinData()->CtrlList[FIndex]);
    if (e) {
        FontName = e->FontName;
        FontStyle = e->FontStyle;
        FontHeight = e->FontHeight;
        FontColor = e->FontColor;
        ActiveFontColor = e->ActiveFontColor;
        FrameFontColor = e->FrameFontColor;
        UnEnabledFontColor = e->UnEnabledFontColor;
        ActiveSkinRect = Or(e->ActiveSkinRect, e->SkinRect);
        CheckImageArea = e->CheckImageArea;
        TextArea = e->TextArea;
        CheckImageRect = e->CheckImageRect;
        UnCheckImageRect = e->UnCheckImageRect;
        ActiveCheckImageRect = Or(e->ActiveCheckImageRect, e->CheckImageRect);
        ActiveUnCheckImageRect = Or(e->ActiveUnCheckImageRect, e->UnCheckImageRect);
        UnEnabledCheckImageRect = Or(e->UnEnabledCheckImageRect, e->CheckImageRect);
        UnEnabledUnCheckImageRect = Or(e->UnEnabledUnCheckImageRect, e->UnCheckImageRect);
        GrayedCheckImageRect = e->GrayedCheckImageRect;
        ActiveGrayedCheckImageRect = e->ActiveGrayedCheckImageRect;
        Morphing = e->Morphing;
        MorphKind = e->MorphKind;
    }
    if (FFlat) {
        Morphing = false;
        MaskPicture = nullptr;
    }
}

void TqxSkinCheckRadioBox::CalcSize(Integer& W, Integer& H) {
    // The flat look keeps the size it was given.
    if (FFlat) return;
    TqxSkinCustomControl::CalcSize(W, H);
    if (FIndex == -1) return;
    const Integer d = W - SkinRect.Width();
    NewTextArea = Rect(TextArea.Left, TextArea.Top, TextArea.Right + d, TextArea.Bottom);
    TRect area = CheckImageArea;
    if (TextArea.Right <= CheckImageArea.Right)
        area = Rect(area.Left + d, area.Top, area.Right + d, area.Bottom);
    CIRect = Bounds(area.Left + area.Width() / 2 - CheckImageRect.Width() / 2,
                    area.Top + area.Height() / 2 - CheckImageRect.Height() / 2, CheckImageRect.Width(),
                    CheckImageRect.Height());
}

void TqxSkinCheckRadioBox::ChangeSkinData() {
    if (!FFlat) return TqxSkinCustomControl::ChangeSkinData();
    GetSkinData();
    Repaint();
}

// Hot state and morph.

bool TqxSkinCheckRadioBox::MorphingPossible() const {
    return Morphing && SkinData() && !SkinData()->Empty && SkinData()->EnableSkinEffects();
}

bool TqxSkinCheckRadioBox::HasFocus() {
    return FCanFocused && Focused();
}

void TqxSkinCheckRadioBox::UpdateHot() {
    if (MorphingPossible() && FIndex != -1)
        StartMorph();
    else
        Repaint();
}

void TqxSkinCheckRadioBox::StartMorph() {
    if (FMorphTimer) return;
    FMorphTimer = MakeTimer(this, [this](TObject*) { MorphTick(); });
    FMorphTimer->SetInterval(MorphInterval);
    FMorphTimer->SetEnabled(true);
}

void TqxSkinCheckRadioBox::StopMorph() {
    if (!FMorphTimer) return;
    FMorphTimer->SetEnabled(false);
    Free(FMorphTimer);
    FMorphTimer = nullptr;
}

void TqxSkinCheckRadioBox::MorphTick() {
    const bool target = FMouseIn || HasFocus();
    if (!MorphingPossible() || (target ? FMorphKf >= 1 : FMorphKf <= 0)) {
        FMorphKf = target ? 1 : 0;
        StopMorph();
        Repaint();
        return;
    }
    FMorphKf = StepMorph(FMorphKf, target ? 0.2 : -0.2);
    if (FMorphKf == (target ? 1 : 0)) StopMorph();
    Repaint();
}

// Mouse and keys.

void TqxSkinCheckRadioBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton == mbLeft) FDown = true;
    if (!FMouseIn) {
        FMouseIn = true;
        UpdateHot();
    }
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
}

void TqxSkinCheckRadioBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    if (!FDown) return;
    const bool outside = X < 0 || Y < 0 || X > Width() || Y > Height();
    if (outside && FMouseIn)
        Perform(CM_MOUSELEAVE, 0, 0);
    else if (!outside && !FMouseIn)
        Perform(CM_MOUSEENTER, 0, 0);
}

void TqxSkinCheckRadioBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    // A release outside ends the press too.
    const bool click = FMouseIn && FDown;
    FDown = false;
    if (!click) return;
    if (FAllowGrayed && !FRadio && FState == cbUnchecked)
        SetState(cbGrayed);
    else
        Toggle();
}

void TqxSkinCheckRadioBox::WndProc(TMessage& AMessage) {
    if (FCanFocused) {
        if (AMessage.Msg == WM_KEYUP && AMessage.WParam == VK_SPACE && Focused()) Toggle();
        if (DroppedWhileTakingFocus(this, AMessage, FClicksDisabled)) return;
    }
    TqxSkinCustomControl::WndProc(AMessage);
}

void TqxSkinCheckRadioBox::Dispatch(TMessage& AMessage) {
    const bool designing = ComponentState().Contains(csDesigning);
    switch (AMessage.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (designing) return;
            FMouseIn = AMessage.Msg == CM_MOUSEENTER;
            UpdateHot();
            return;
        case CM_ENABLEDCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (MorphingPossible()) {
                StopMorph();
                FMorphKf = 0;
            }
            FMouseIn = false;
            Repaint();
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(Word(AMessage.WParam), Caption()) && CanFocus() && FCanFocused) {
                SetFocus();
                Toggle();
                AMessage.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (!FCanFocused) return;
            if (FFlat)
                Invalidate();
            else
                UpdateHot();
            return;
        case WM_MOVE:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (FFlat) Invalidate();
            return;
        case WM_ERASEBKGND:
            if (!FromWMPaint && !FFlat) PaintWindow(reinterpret_cast<HDC>(AMessage.WParam));
            AMessage.Result = 1;
            return;
        case CM_TEXTCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

void TqxSkinCheckRadioBox::CheckParentBackground() {
    if (FFlat) Repaint();
}

// Painting.

void TqxSkinCheckRadioBox::CheckImage(TBitmap* AImage, bool AChecked, bool AHot, bool AGrayed) {
    TRect source;
    if (AGrayed) {
        const TRect& named = !Enabled() ? UnEnabledCheckImageRect
                             : AHot     ? ActiveCheckImageRect
                                        : CheckImageRect;
        const TRect& grayed = Enabled() && AHot && !IsRectDegenerate(ActiveGrayedCheckImageRect)
                                  ? ActiveGrayedCheckImageRect
                                  : GrayedCheckImageRect;
        if (IsRectDegenerate(grayed)) {
            // Made from the check image, half way to white.
            CopySkinPiece(Picture, named, AImage);
            if (AImage->Empty()) return;
            const std::unique_ptr<TqxEffectBmp> effect = TqxEffectBmp::CreateFromhWnd(AImage->Handle());
            effect->ChangeBrightness(0.5);
            effect->Draw(AImage->Canvas()->Handle(), 0, 0);
            AImage->SetTransparent(true);
            return;
        }
        source = grayed;
    } else if (!Enabled()) {
        source = AChecked ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    } else if (AHot) {
        source = AChecked ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    } else {
        source = AChecked ? CheckImageRect : UnCheckImageRect;
    }
    CopySkinPiece(Picture, source, AImage);
    AImage->SetTransparent(true);
}

void TqxSkinCheckRadioBox::SetupFont(TCanvas* ACanvas) {
    TFont* font = ACanvas->Font();
    font->Assign(DefaultFont());
    if (FIndex != -1 && UseSkinFont()) {
        font->SetName(FontName);
        font->SetHeight(FontHeight);
        font->SetStyle(FontStyle);
    }
    if (SkinData() && SkinData()->ResourceStrData())
        font->SetCharset(SkinData()->ResourceStrData()->CharSet());
}

void TqxSkinCheckRadioBox::DrawFlatCaption(TCanvas* ACanvas, Integer AX0, Integer AImageGap, bool AFocus) {
    const Integer h = Height();
    const String caption = Caption();
    Integer x = AX0;
    TRect imageRect;
    if (HasImage()) {
        imageRect = Bounds(x, h / 2 - FImages->Height() / 2, FImages->Width(), FImages->Height());
        FImages->Draw(ACanvas, imageRect.Left, imageRect.Top, FImageIndex, Enabled());
        x += FImages->Width() + AImageGap;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    TRect text;
    if (!FWordWrap) {
        TRect measure = Rect(0, 0, 0, 0);
        SkinDrawText(ACanvas, caption, measure, DT_CALCRECT | DT_SINGLELINE);
        text = Bounds(x, h / 2 - measure.Height() / 2, measure.Width(), measure.Height());
        text.Right = std::min(text.Right, Width() - 2);
        DrawTextOneLine(ACanvas, caption, text);
    } else {
        text = Rect(x, 0, Width(), h);
        SkinDrawText(ACanvas, caption, text, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        const Integer top = std::max(0, h / 2 - text.Height() / 2);
        text = Bounds(text.Left, top, text.Width(), text.Height());
        SkinDrawText(ACanvas, caption, text, DT_EXPANDTABS | DT_WORDBREAK);
    }
    if (!AFocus) return;
    if (FIndex != -1) ACanvas->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
    if (caption.empty() && HasImage())
        DrawSkinFocusRect(
            ACanvas, Rect(imageRect.Left - 1, imageRect.Top - 1, imageRect.Right + 1, imageRect.Bottom + 1));
    else
        DrawSkinFocusRect(ACanvas, Rect(text.Left - 2, text.Top - 1, text.Right + 2 + (FWordWrap ? 0 : 1),
                                        text.Bottom + 1));
}

void TqxSkinCheckRadioBox::DrawDefaultBox(TCanvas* ACanvas, bool AChecked, bool AHot, bool AGrayed,
                                          bool AFill) {
    const Integer h = Height();
    const TRect box = Rect(3, h / 2 - 7, 17, h / 2 + 7);
    if (AFill) {
        FillDefaultFace(ACanvas, box, AHot ? DefaultFrame : clBtnShadow, clWindow);
    } else {
        ACanvas->Brush()->SetColor(clBtnShadow);
        ACanvas->FrameRect(box);
    }
    if (AGrayed && !FRadio)
        DrawCheckMark(ACanvas, 7, h / 2 - 4, clGrayText);
    else if (AChecked && FRadio)
        DrawRadioMark(ACanvas, 7, h / 2 - 3, Enabled() ? clBlack : clBtnShadow);
    else if (AChecked)
        DrawCheckMark(ACanvas, 7, h / 2 - 4, Enabled() ? clBlack : clBtnShadow);
}

void TqxSkinCheckRadioBox::DrawFlat(TCanvas* ACanvas, bool AChecked, bool AHot, bool AGrayed, bool AFocus,
                                    bool AFill) {
    PaintParentBackground(this, ACanvas);
    SetupFont(ACanvas);
    if (FIndex != -1) {
        TBitmap image;
        CheckImage(&image, AChecked, AHot, AGrayed);
        if (!image.Empty()) ACanvas->Draw(3, Height() / 2 - image.Height() / 2, &image);
        TColor color = Enabled() ? FrameFontColor : UnEnabledFontColor;
        if (!FUseSkinFontColor) color = DefaultFont()->Color();
        ACanvas->Font()->SetColor(color);
        DrawFlatCaption(ACanvas, CheckImageRect.Width() + 7, 8, AFocus);
        return;
    }
    if (!Enabled()) ACanvas->Font()->SetColor(clBtnShadow);
    DrawFlatCaption(ACanvas, 22, 5, AFocus);
    DrawDefaultBox(ACanvas, AChecked, AHot, AGrayed, AFill);
}

void TqxSkinCheckRadioBox::FramedImage(TBitmap* B, const TRect& ARect, bool AHot, bool AChecked) {
    CreateSkinImage(B, Picture, ARect);
    TCanvas* canvas = B->Canvas();
    TBitmap image;
    CheckImage(&image, AChecked, AHot, AChecked ? false : FState == cbGrayed);
    if (!image.Empty())
        canvas->Draw(CIRect.Left, CIRect.Top + CIRect.Height() / 2 - image.Height() / 2, &image);
    SetupFont(canvas);
    canvas->Font()->SetColor(!Enabled() ? UnEnabledFontColor : AHot ? ActiveFontColor : FontColor);
    canvas->Brush()->SetStyle(bsClear);
    DrawTextOneLine(canvas, Caption(), NewTextArea);
}

void TqxSkinCheckRadioBox::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    const bool grayed = FState == cbGrayed;
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (FFlat) {
        DrawFlat(bitmap.Canvas(), FChecked, FMouseIn, grayed, HasFocus(), true);
        Canvas()->Draw(0, 0, &bitmap);
        return;
    }
    if (FIndex == -1) return TqxSkinCustomControl::Paint();
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    const bool hot = FMouseIn || HasFocus();
    if (MorphingPossible() && FMorphKf > 0 && FMorphKf < 1) {
        TBitmap normal, hover;
        normal.SetSize(Width(), Height());
        hover.SetSize(Width(), Height());
        FramedImage(&normal, SkinRect, false, FChecked);
        FramedImage(&hover, ActiveSkinRect, true, FChecked);
        DrawMorph(Canvas(), &normal, &hover, MorphKind, FMorphKf);
        return;
    }
    FramedImage(&bitmap, hot ? ActiveSkinRect : SkinRect, hot, FChecked);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* canvas = B->Canvas();
    if (HasFocus() || FMouseIn) {
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(Rect(0, 0, Width(), Height()));
    }
    SetupFont(canvas);
    if (!Enabled()) canvas->Font()->SetColor(clBtnShadow);
    canvas->Brush()->SetStyle(bsClear);
    DrawTextOneLine(canvas, Caption(), Rect(19, 0, Width(), Height()));
    DrawDefaultBox(canvas, FChecked, FMouseIn, FState == cbGrayed, true);
}

void TqxSkinCheckRadioBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, bool AChecked) {
    GetSkinData();
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (FFlat) {
        // The plain look without the grayed mark, the hot frame and the fill.
        DrawFlat(bitmap.Canvas(), AChecked, false, false, false, FIndex != -1);
    } else if (FIndex != -1) {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        FramedImage(&bitmap, SkinRect, false, AChecked);
    } else {
        return;
    }
    C->Draw(X, Y, &bitmap);
}

namespace {

const auto Registered = [] {
    using C = TqxSkinCheckRadioBox;
    RegisterClass<C, TqxSkinCustomControl>()
        .Property(u"Checked", &C::Checked, &C::SetChecked)
        .Property(u"State", &C::State, &C::SetState)
        .Property(u"Radio", &C::Radio, &C::SetRadio)
        .Property(u"AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed)
        .Property(u"GroupIndex", &C::GroupIndex, &C::SetGroupIndex)
        .Property(u"Flat", &C::Flat, &C::SetFlat)
        .Property(u"WordWrap", &C::WordWrap, &C::SetWordWrap)
        .Property(u"UseSkinFontColor", &C::UseSkinFontColor, &C::SetUseSkinFontColor)
        .Property(u"Images", &C::Images, &C::SetImages)
        .Property(u"ImageIndex", &C::ImageIndex, &C::SetImageIndex)
        .Property(u"CanFocused", &C::CanFocused, &C::SetCanFocused);
    return true;
}();

}  // namespace
