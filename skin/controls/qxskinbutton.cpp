#include "skin/controls/qxskinbutton.h"

#include <cmath>

#include "platform/toolkit/actions.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/methods.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Cardinal MorphInterval = 20;

}  // namespace

TqxSkinButton::TqxSkinButton(TComponent* AOwner)
    : TqxSkinCustomControl(AOwner),
      FLayerManager(new TqxLayerManager(this)),
      FMorphTimer(MakeTimer(this, [this](TObject* S) { MorphTick(S); })) {
    MakeCoreTimers(this);
    FControlStyle = {csCaptureMouse, csOpaque, csSetCaption};
    FMorphTimer->SetInterval(MorphInterval);
    SetSkinDataName(u"button");
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
}

TqxSkinButton::~TqxSkinButton() {
    FMorphTimer->SetEnabled(false);
    StopCoreTimers();
}

// Derived conditions.

bool TqxSkinButton::SkinEffectsOn() const {
    return SkinData() && !SkinData()->Empty && SkinData()->EnableSkinEffects();
}

bool TqxSkinButton::MorphingOn() const {
    return Morphing && SkinEffectsOn();
}

bool TqxSkinButton::HasFocus() {
    return FCanFocused && Focused();
}

bool TqxSkinButton::AnimationPossible() const {
    return FIndex != -1 && SkinEffectsOn() && !IsRectDegenerate(AnimateSkinRect);
}

bool TqxSkinButton::ShowsDown() {
    return FDownState || (FDown && (FGroupIndex != 0 || FMouseIn || (HasFocus() && !FMouseDown)));
}

// Properties.

void TqxSkinButton::SetTransparent(bool AValue) {
    if (AValue == FTransparent) return;
    FTransparent = AValue;
    Repaint();
}

void TqxSkinButton::SetCheckedMode(bool AValue) {
    FCheckedMode = AValue;
    // Through the setter, so that a check button leaves the tab order.
    if (AValue)
        SetGroupIndex(-1);
    else if (FGroupIndex == -1)
        SetGroupIndex(0);
}

void TqxSkinButton::SetDefault(bool AValue) {
    FDefault = AValue;
    if (!HandleAllocated() || !FCanFocused) return;
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, LPARAM(form->ActiveControl()));
}

void TqxSkinButton::SetCanFocused(bool AValue) {
    FCanFocused = AValue;
    SetTabStop(AValue);
}

void TqxSkinButton::SetGroupIndex(Integer AValue) {
    FGroupIndex = AValue;
    if (AValue != 0) SetCanFocused(false);
}

void TqxSkinButton::SetDown(bool AValue) {
    FDown = AValue;
    if (MorphingOn()) {
        if (AValue) {
            FMorphKf = 1;
            StopMorph();
        } else {
            StartMorph();
        }
    }
    Repaint();
    if (AValue && !FAllowAllUp) ReleaseGroup(this);
}

void TqxSkinButton::SetSkinImagesMenu(TqxCustomImagesMenu* AValue) {
    FImagesMenu.SetMenu(this, AValue);
    Invalidate();
}

void TqxSkinButton::SetImageList(TCustomImageList* AValue) {
    if (FImageList == AValue) return;
    if (FImageList) FImageList->RemoveFreeNotification(this);
    FImageList = AValue;
    if (FImageList) FImageList->FreeNotification(this);
    Repaint();
}

void TqxSkinButton::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImageList) FImageList = nullptr;
    if (AOperation == opRemove && AComponent == FImagesMenu.Menu) FImagesMenu.Menu = nullptr;
}

void TqxSkinButton::ActionChange(TObject* Sender, bool ACheckDefaults) {
    TqxSkinCustomControl::ActionChange(Sender, ACheckDefaults);
    TakeActionImage(Sender);
}

// The element.

void TqxSkinButton::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = TRect{};
        return;
    }
    if (!FUseSkinSize) MaskPicture = nullptr;
    const auto* e = dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[FIndex]);
    if (!e) return;
    CopyButtonElement(*this, *e);
    ApplyAnimationFrame(SkinRect, SkinEffectsOn());
}

void TqxSkinButton::CalcSize(Integer& W, Integer& H) {
    if (FUseSkinSize || ResizeMode == 1) return TqxSkinCustomControl::CalcSize(W, H);
    NewClRect = GrownClientRect(*this, W - SkinRect.Width(), H - SkinRect.Height());
}

void TqxSkinButton::SetControlRegion() {
    // A button of any size ignores the element's mask.
    if (!FUseSkinSize) MaskPicture = nullptr;
    TqxSkinCustomControl::SetControlRegion();
}

// Painting.

void TqxSkinButton::Paint() {
    GetSkinData();
    if (FIndex == -1) return TqxSkinCustomControl::Paint();
    if (Width() <= 0 || Height() <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (MorphingOn() && FMorphKf > 0 && FMorphKf < 1 && Enabled()) {
        TBitmap hover;
        hover.SetSize(Width(), Height());
        CreateButtonImage(&bitmap, SkinRect, false, false);
        CreateButtonImage(&hover, ActiveSkinRect, false, true);
        DrawMorph(Canvas(), &bitmap, &hover, MorphKind, FMorphKf);
        return;
    }
    if (!Enabled() && !IsRectDegenerate(DisabledSkinRect))
        CreateButtonImage(&bitmap, DisabledSkinRect, false, false);
    else if (ShowsDown())
        CreateButtonImage(&bitmap, DownSkinRect, true, true);
    else if (HasFocus() && !IsRectDegenerate(FocusedSkinRect) && !FAnimateTimer->Enabled())
        CreateButtonImage(&bitmap, FocusedSkinRect, false, true);
    else if (HasFocus() || FMouseIn || (MorphingOn() && FMorphKf == 1))
        CreateButtonImage(&bitmap, ActiveSkinRect, false, true);
    else
        CreateButtonImage(&bitmap, SkinRect, false, false);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinButton::SetupFont(TCanvas* ACanvas, bool AUseSkinFont) {
    SetupButtonFont(ACanvas, DefaultFont(), *this, AUseSkinFont, SkinData());
}

Integer TqxSkinButton::GlyphNumber(bool ADown, bool AMouseIn) const {
    return ButtonGlyphNumber(FNumGlyphs, ADown, AMouseIn, Enabled());
}

void TqxSkinButton::DrawContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn) {
    ACanvas->Brush()->SetStyle(bsClear);
    if (FImagesMenu.Draw(ACanvas, ARect, FMargin, FSpacing, FLayout, Caption(), Enabled())) return;
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        DrawImageAndText(ACanvas, ARect, FMargin, FSpacing, FLayout, Caption(), FImageIndex, FImageList,
                         false, Enabled(), false, clNone);
    else
        DrawGlyphAndText(ACanvas, ARect, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs,
                         GlyphNumber(ADown, AMouseIn), false, false, clNone);
}

void TqxSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const bool transparent = FTransparent && !ADown && !AMouseIn;
    const TRect content =
        DrawButtonFace(*this, B, R, FUseSkinSize,
                       transparent ? [this](TCanvas* ACanvas) { PaintParentBackground(this, ACanvas); }
                                   : std::function<void(TCanvas*)>());
    TCanvas* canvas = B->Canvas();
    SetupFont(canvas, UseSkinFont());
    canvas->Font()->SetColor(
        ButtonFontColor(*this, Enabled(), FUseSkinFontColor, DefaultFont()->Color(), ADown, AMouseIn));
    if (ShowFocus && Focused()) {
        canvas->Brush()->SetColor(SkinData()->SkinColors()->cBtnFace());
        DrawSkinFocusRect(canvas, content);
    }
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, canvas, NewClRect, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(canvas, content, ADown, AMouseIn);
}

void TqxSkinButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    const TRect r = Rect(0, 0, Width(), Height());
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (ShowsDown()) {
        frame = DefaultFrame;
        fill = DefaultDownFill;
    } else if (FMouseIn || HasFocus()) {
        frame = DefaultFrame;
        fill = DefaultHoverFill;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(r);
    canvas->Brush()->SetColor(frame);
    canvas->FrameRect(r);
    SetupFont(canvas, false);
    if (!Enabled()) canvas->Font()->SetColor(clBtnShadow);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, canvas, r, FDown, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(canvas, r, FDown, FMouseIn);
}

// Morph, frame animation, repeat.

void TqxSkinButton::StartMorph() {
    if (MorphingOn() && FIndex != -1) {
        FMorphTimer->SetEnabled(true);
    } else {
        Repaint();
    }
}

void TqxSkinButton::StopMorph() {
    FMorphTimer->SetEnabled(false);
}

void TqxSkinButton::MorphTick(TObject*) {
    const bool target = FMouseIn || HasFocus();
    if (FStopAnimate && Focused() && MorphingOn()) {
        FStopAnimate = false;
        FMorphKf = 1;
        StopMorph();
        Repaint();
    } else if (FIndex != -1 && MorphingOn()) {
        if (target && FMorphKf < 1) {
            FMorphKf = StepMorph(FMorphKf, 0.2);
        } else if (!target && FMorphKf > 0) {
            FMorphKf = StepMorph(FMorphKf, -0.2);
        } else {
            FMorphKf = target ? 1 : 0;
            StopMorph();
        }
        Repaint();
    } else {
        FMorphKf = target ? 1 : 0;
        StopMorph();
    }
}

// The glow.

void TqxSkinButton::ShowLayer() {
    GetSkinData();
    if (FIndex == -1 || !SkinData() || SkinData()->Empty || !IsLayeredWindowsAvailable()) return;
    if (!SkinData()->ShowButtonGlowFrames() && !FAlwaysShowLayeredFrame) return;
    // An index outside the pictures, or a missing mask, shows no glow.
    TBitmap* glow = SkinData()->GetActivePicture(GlowLayerPictureIndex);
    TBitmap* mask = SkinData()->GetActivePicture(GlowLayerMaskPictureIndex);
    if (!glow || !mask || glow->Empty()) return;
    TCustomForm* form = GetParentForm(this);
    FLayerManager->SetTopMostMode(dynamic_cast<TForm*>(form) && form->FormStyle() == fsStayOnTop);
    const Integer dW = Width() - SkinRect.Width(), dH = Height() - SkinRect.Height();
    const Integer gw = glow->Width(), gh = glow->Height();
    TBitmap image, imageMask;
    if (ResizeMode == 0) {
        image.Assign(glow);
        imageMask.Assign(mask);
    } else if (ResizeMode == 2 && FUseSkinSize) {
        BuildHorzThreePartImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &image, glow, Rect(0, 0, gw, gh),
                                gw + dW, gh, true);
        BuildHorzThreePartImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &imageMask, mask,
                                Rect(0, 0, mask->Width(), mask->Height()), mask->Width() + dW, mask->Height(),
                                true);
    } else if (ResizeMode == 1) {
        const TRect corners = Rect(GlowLayerOffsetLeft, GlowLayerOffsetTop, gw - GlowLayerOffsetRight,
                                   gh - GlowLayerOffsetBottom);
        image.SetSize(gw + dW, gh + dH);
        imageMask.SetSize(gw + dW, gh + dH);
        BuildStretchedSkinImage(&image, glow, Rect(0, 0, gw, gh), corners, true);
        BuildStretchedSkinImage(&imageMask, mask, Rect(0, 0, gw, gh), corners, true);
    } else {
        return;
    }
    const TPoint origin = ClientOrigin();
    FLayerManager->Show(origin.X - GlowLayerShowOffsetX, origin.Y - GlowLayerShowOffsetY, &image, &imageMask,
                        GlowLayerAlphaBlendValue);
}

void TqxSkinButton::HideLayer() {
    // Whatever the skin says by now: a glow left standing would never go.
    if (FLayerManager->IsVisible()) FLayerManager->Hide();
}

void TqxSkinButton::PostToSelf(UINT AMessage) {
    if (HandleAllocated()) PostMessageW(Handle(), AMessage, 0, 0);
}

// Click.

void TqxSkinButton::ButtonClick() {
    if (FCanFocused)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    RunButtonClick(this);
}

void TqxSkinButton::Click() {
    if (!Action()) TqxSkinCustomControl::Click();
}

void TqxSkinButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (MorphingOn()) FMorphKf = 0;
    if (SkinEffectsOn()) StopAnimate();
    Repaint();
}

// Mouse.

void TqxSkinButton::MouseEnter() {
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = true;
    if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!HasFocus() || FDown))) {
        if (FDown) {
            if (MorphingOn()) FMorphKf = 1;
            Repaint();
        } else {
            if (AnimationPossible()) StartAnimate(true);
            StartMorph();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
    PostToSelf(SKINMSG_SHOWLAYER);
}

void TqxSkinButton::MouseLeave() {
    if (ComponentState().Contains(csDesigning)) return;
    // The form's default button keeps its hover look while another,
    // non-button control has the focus.
    if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
    if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!HasFocus() || FDown))) {
        if (AnimationPossible()) StartAnimate(false);
        StartMorph();
    }
    if (FDown && FRepeatMode && FRepeatTimer->Enabled() && FGroupIndex == 0) StopRepeat();
    PostToSelf(SKINMSG_HIDELAYER);
}

void TqxSkinButton::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    if (AnimationPossible()) StopAnimate();
    PressLeft();
}

void TqxSkinButton::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    if (const Cardinal crossing = PointerCrossing(X, Y, Width(), Height())) Perform(crossing, 0, 0);
}

void TqxSkinButton::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton == mbLeft) ReleaseLeft();
    // The click may have hidden the button or taken its window.
    if (HandleAllocated() && Visible()) TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
}

// Keys and focus.

void TqxSkinButton::WndProc(TMessage& AMessage) {
    if (FCanFocused) {
        switch (AMessage.Msg) {
            case WM_KEYDOWN:
                if (AMessage.WParam == VK_SPACE && FSpaceSupport) {
                    if (FIndex != -1 && !IsRectDegenerate(AnimateSkinRect)) StopAnimate();
                    SetDown(true);
                    if (FRepeatMode) ButtonClick();
                } else if (AMessage.WParam == VK_RETURN && FSpaceSupport) {
                    ButtonClick();
                }
                break;
            case WM_KEYUP:
                if (AMessage.WParam == VK_SPACE && FSpaceSupport) {
                    SetDown(false);
                    ButtonClick();
                }
                break;
            default:
                break;
        }
        if (DroppedWhileTakingFocus(this, AMessage, FClicksDisabled)) return;
    }
    TqxSkinCustomControl::WndProc(AMessage);
}

bool TqxSkinButton::DialogKey(TMessage& AMessage) {
    const Word key = Word(AMessage.WParam);
    if (key == VK_RETURN) return FActive && Enabled();
    return key == VK_ESCAPE && FCancel && FCanFocused && KeyDataToShiftState(AMessage.LParam).Empty() &&
           CanFocus();
}

void TqxSkinButton::FocusChanged(TWinControl* ASender) {
    auto* button = dynamic_cast<TqxSkinButton*>(ASender);
    FActive = button ? button == this : FDefault;
    if (!FCanFocused || !FDefault) return;
    if (button && button != this && FMouseIn) {
        FMouseIn = false;
        StartMorph();
    } else if (!button && !FMouseIn) {
        if (MorphingOn()) FMorphKf = 1;
        FMouseIn = true;
        StartMorph();
    }
}

void TqxSkinButton::CreateWnd() {
    TqxSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

void TqxSkinButton::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_ERASEBKGND:
            return PaintIntoEraseDC(AMessage);
        case WM_SETFOCUS:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (!FCanFocused || FDownState) return;
            if (AnimationPossible()) StartAnimate(true);
            StartMorph();
            return;
        case WM_KILLFOCUS:
            if (FRepeatMode) StopRepeat();
            if (FDown && FGroupIndex == 0) FDown = false;
            TqxSkinCustomControl::Dispatch(AMessage);
            if (!FCanFocused || FDownState) return;
            if (AnimationPossible()) StartAnimate(false);
            if (FIndex != -1 && MorphingOn())
                FMorphTimer->SetEnabled(true);
            else
                Invalidate();
            return;
        case CM_MOUSEENTER:
            TqxSkinCustomControl::Dispatch(AMessage);
            MouseEnter();
            return;
        case CM_MOUSELEAVE:
            TqxSkinCustomControl::Dispatch(AMessage);
            MouseLeave();
            return;
        case CM_ENABLEDCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (MorphingOn()) {
                StopMorph();
                FMorphKf = 0;
            }
            FMouseIn = false;
            Repaint();
            return;
        case CM_TEXTCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case CM_DIALOGKEY:
            if (DialogKey(AMessage)) {
                ButtonClick();
                AMessage.Result = 1;
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(Word(AMessage.WParam), Caption()) && CanFocus() && FCanFocused) {
                SetFocus();
                ButtonClick();
                AMessage.Result = 1;
                return;
            }
            break;
        case CM_FOCUSCHANGED:
            FocusChanged(reinterpret_cast<TWinControl*>(AMessage.LParam));
            break;
        case SKINMSG_SHOWLAYER:
            ShowLayer();
            return;
        case SKINMSG_HIDELAYER:
            HideLayer();
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

// Skin change.

void TqxSkinButton::BeforeChangeSkinData() {
    TqxSkinCustomControl::BeforeChangeSkinData();
    HideLayer();
}

void TqxSkinButton::ChangeSkinData() {
    StopMorph();
    StopAnimate();
    FMorphKf = 0;
    TqxSkinCustomControl::ChangeSkinData();
    if (MorphingOn() && FIndex != -1 && (HasFocus() || FMouseIn)) FMorphKf = 1;
    if (FMouseIn) PostToSelf(SKINMSG_SHOWLAYER);
}

void TqxSkinButton::CheckParentBackground() {
    if (FTransparent && !FDown && !FMouseIn) Repaint();
}

namespace {

const auto Registered = [] {
    RegisterEnum<TqxButtonLayout>({u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop", u"blGlyphBottom"});
    RegisterClass<TqxSkinButton, TqxSkinCustomControl>()
        .Property(u"Transparent", &TqxSkinButton::Transparent, &TqxSkinButton::SetTransparent)
        .Property(u"CheckedMode", &TqxSkinButton::CheckedMode, &TqxSkinButton::SetCheckedMode)
        .Property(u"AlwaysShowLayeredFrame", &TqxSkinButton::AlwaysShowLayeredFrame,
                  &TqxSkinButton::SetAlwaysShowLayeredFrame)
        .Property(u"UseSkinFontColor", &TqxSkinButton::UseSkinFontColor, &TqxSkinButton::SetUseSkinFontColor)
        .Property(u"UseSkinSize", &TqxSkinButton::UseSkinSize, &TqxSkinButton::SetUseSkinSize)
        .Property(u"RepeatMode", &TqxSkinButton::RepeatMode, &TqxSkinButton::SetRepeatMode)
        .Property(u"RepeatInterval", &TqxSkinButton::RepeatInterval, &TqxSkinButton::SetRepeatInterval)
        .Property(u"AllowAllUp", &TqxSkinButton::AllowAllUp, &TqxSkinButton::SetAllowAllUp)
        .Property(u"Default", &TqxSkinButton::Default, &TqxSkinButton::SetDefault)
        .Property(u"Cancel", &TqxSkinButton::Cancel, &TqxSkinButton::SetCancel)
        .Property(u"ModalResult", &TqxSkinButton::ModalResult, &TqxSkinButton::SetModalResult)
        .Property(u"CanFocused", &TqxSkinButton::CanFocused, &TqxSkinButton::SetCanFocused)
        .Property(u"Down", &TqxSkinButton::Down, &TqxSkinButton::SetDown)
        .Property(u"GroupIndex", &TqxSkinButton::GroupIndex, &TqxSkinButton::SetGroupIndex)
        .Property(u"Glyph", &TqxSkinButton::Glyph)
        .Property(u"NumGlyphs", &TqxSkinButton::NumGlyphs, &TqxSkinButton::SetNumGlyphs)
        .Property(u"Margin", &TqxSkinButton::Margin, &TqxSkinButton::SetMargin)
        .Property(u"Spacing", &TqxSkinButton::Spacing, &TqxSkinButton::SetSpacing)
        .Property(u"Layout", &TqxSkinButton::Layout, &TqxSkinButton::SetLayout)
        .Property(u"ImageList", &TqxSkinButton::ImageList, &TqxSkinButton::SetImageList)
        .Property(u"ImageIndex", &TqxSkinButton::ImageIndex, &TqxSkinButton::SetImageIndex)
        .Event(u"OnPaint", &TqxSkinButton::OnPaint);
    return true;
}();

}  // namespace
