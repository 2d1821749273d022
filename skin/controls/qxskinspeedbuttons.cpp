#include "skin/controls/qxskinspeedbuttons.h"

#include "platform/toolkit/methods.h"
#include "platform/toolkit/published.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

namespace {

constexpr Cardinal MorphInterval = 20;

}  // namespace

TqxSkinSpeedButton::TqxSkinSpeedButton(TComponent* AOwner)
    : TqxGraphicSkinCustomControl(AOwner), FMorphTimer(MakeTimer(this, [this](TObject*) { MorphTick(); })) {
    MakeCoreTimers(this);
    FImageIndex = 0;
    // No csClickEvents: ButtonClick is the only way to a click.
    FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
    FMorphTimer->SetInterval(MorphInterval);
    SetSkinDataName(u"toolbutton");
    SetBounds(Left(), Top(), 25, 25);
}

TqxSkinSpeedButton::~TqxSkinSpeedButton() {
    FMorphTimer->SetEnabled(false);
    StopCoreTimers();
}

// Derived conditions.

bool TqxSkinSpeedButton::SkinEffectsOn() const {
    return SkinData() && !SkinData()->Empty && SkinData()->EnableSkinEffects();
}

bool TqxSkinSpeedButton::MorphingOn() const {
    return Morphing && SkinEffectsOn();
}

bool TqxSkinSpeedButton::AnimationPossible() const {
    return FIndex != -1 && SkinEffectsOn() && !IsRectDegenerate(AnimateSkinRect) && !FFlat;
}

IqxToolButtonsParent* TqxSkinSpeedButton::ToolBar() const {
    return dynamic_cast<IqxToolButtonsParent*>(Parent());
}

// Properties.

void TqxSkinSpeedButton::SetTransparent(bool AValue) {
    if (AValue)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    if (!FStopDraw) Repaint();
}

void TqxSkinSpeedButton::SetTransparentNoRedraw(bool AValue) {
    FStopDraw = true;
    SetTransparent(AValue);
    FStopDraw = false;
}

void TqxSkinSpeedButton::SetFlat(bool AValue) {
    FFlat = AValue;
    SetTransparent(AValue);
}

void TqxSkinSpeedButton::SetCheckedMode(bool AValue) {
    FCheckedMode = AValue;
    if (AValue)
        FGroupIndex = -1;
    else if (FGroupIndex == -1)
        FGroupIndex = 0;
}

void TqxSkinSpeedButton::SetDown(bool AValue) {
    FDown = AValue;
    if (MorphingOn()) {
        if (AValue) {
            FMorphKf = 1;
            FMorphTimer->SetEnabled(false);
        } else {
            StartMorph();
        }
    }
    if (!AValue && FFlat && !Transparent() && !FMouseIn && !ComponentState().Contains(csDesigning))
        SetTransparentNoRedraw(true);
    Repaint();
    if (AValue && !FAllowAllUp) ReleaseGroup(this);
}

void TqxSkinSpeedButton::SetImageList(TCustomImageList* AValue) {
    if (AValue == FImageList) return;
    SetReference(this, FImageList, AValue);
    Repaint();
}

void TqxSkinSpeedButton::SetShowCaption(bool AValue) {
    if (AValue == FShowCaption) return;
    FShowCaption = AValue;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(AValue ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TqxSkinSpeedButton::SetSkinImagesMenu(TqxCustomImagesMenu* AValue) {
    FImagesMenu.SetMenu(this, AValue);
    Invalidate();
}

void TqxSkinSpeedButton::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxGraphicSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImageList) FImageList = nullptr;
    if (AOperation == opRemove && AComponent == FImagesMenu.Menu) FImagesMenu.Menu = nullptr;
}

void TqxSkinSpeedButton::ActionChange(TObject* Sender, bool ACheckDefaults) {
    TqxGraphicSkinCustomControl::ActionChange(Sender, ACheckDefaults);
    TakeActionImage(Sender);
}

void TqxSkinSpeedButton::Loaded() {
    TqxGraphicSkinCustomControl::Loaded();
    if (FFlat && Transparent() && FDown) SetTransparentNoRedraw(false);
}

// The element.

void TqxSkinSpeedButton::GetSkinData() {
    TqxGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = TRect{};
        return;
    }
    const auto* e = dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[FIndex]);
    if (!e) return;
    CopyButtonElement(*this, *e);
    if (IsRectDegenerate(MenuMarkerFlatRect)) MenuMarkerFlatRect = MenuMarkerRect;
    // A button that shows its parent has nothing to cross-fade.
    if (Transparent()) Morphing = false;
    ApplyAnimationFrame(SkinRect, SkinEffectsOn());
}

void TqxSkinSpeedButton::CalcSize(Integer& W, Integer& H) {
    if (FUseSkinSize || ResizeMode == 1) return TqxGraphicSkinCustomControl::CalcSize(W, H);
    NewClRect = GrownClientRect(*this, W - SkinRect.Width(), H - SkinRect.Height());
}

void TqxSkinSpeedButton::ChangeSkinData() {
    StopAnimate();
    FMorphTimer->SetEnabled(false);
    TqxGraphicSkinCustomControl::ChangeSkinData();
    // No timer runs now: the look is the hover one or the normal one.
    FMorphKf = MorphingOn() && FIndex != -1 && FMouseIn && !Transparent() ? 1 : 0;
}

// Painting.

void TqxSkinSpeedButton::PaintBuffered(const std::function<void(TBitmap*)>& ADraw) {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    ADraw(&bitmap);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinSpeedButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (FIndex == -1) {
        if (ShowsDown() || FMouseIn || !Transparent())
            return PaintBuffered([this](TBitmap* B) { CreateControlDefaultImage(B); });
        SetupTransparentFont(Canvas());
        bool drawDefault = true;
        if (OnPaint) OnPaint(this, Canvas(), ClientRect(), FDown, FMouseIn, drawDefault);
        if (drawDefault) DrawContent(Canvas(), ClientRect(), false, false);
        return;
    }
    if (MorphingOn() && FMorphKf > 0 && FMorphKf < 1 && !Transparent()) {
        TBitmap normal, hover;
        normal.SetSize(Width(), Height());
        hover.SetSize(Width(), Height());
        CreateButtonImage(&normal, SkinRect, false, false);
        CreateButtonImage(&hover, ActiveSkinRect, false, true);
        DrawMorph(Canvas(), &normal, &hover, MorphKind, FMorphKf);
    } else if (FMenuTracked || ShowsDown()) {
        PaintBuffered([this](TBitmap* B) { CreateButtonImage(B, DownSkinRect, true, true); });
    } else if (FMouseIn || (MorphingOn() && FMorphKf == 1)) {
        PaintBuffered([this](TBitmap* B) { CreateButtonImage(B, ActiveSkinRect, false, true); });
    } else if (Transparent()) {
        SetupTransparentFont(Canvas());
        bool drawDefault = true;
        if (OnPaint) OnPaint(this, Canvas(), NewClRect, FDown, FMouseIn, drawDefault);
        if (drawDefault) DrawContent(Canvas(), NewClRect, false, false);
    } else {
        const TRect& face = Enabled() || IsRectDegenerate(DisabledSkinRect) ? SkinRect : DisabledSkinRect;
        PaintBuffered([this, face](TBitmap* B) { CreateButtonImage(B, face, false, false); });
    }
}

void TqxSkinSpeedButton::SetupTransparentFont(TCanvas* ACanvas) {
    TFont* font = ACanvas->Font();
    if (FIndex == -1) {
        SetupButtonFont(ACanvas, DefaultFont(), *this, false, SkinData());
        if (!Enabled()) font->SetColor(clBtnShadow);
        return;
    }
    SetupButtonFont(ACanvas, DefaultFont(), *this, UseSkinFont(), SkinData());
    if (!Enabled())
        font->SetColor(SkinData()->SkinColors()->cBtnShadow());
    else if (FUseSkinFontColor)
        font->SetColor(SkinData()->SkinColors()->cBtnText());
}

void TqxSkinSpeedButton::SetupImageFont(TCanvas* ACanvas, bool ADown, bool AMouseIn) {
    SetupButtonFont(ACanvas, DefaultFont(), *this, UseSkinFont(), SkinData());
    ACanvas->Font()->SetColor(
        ButtonFontColor(*this, Enabled(), FUseSkinFontColor, DefaultFont()->Color(), ADown, AMouseIn));
}

void TqxSkinSpeedButton::DrawContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn) {
    ACanvas->Brush()->SetStyle(bsClear);
    if (FImagesMenu.Draw(ACanvas, ARect, FMargin, FSpacing, FLayout, ShownCaption(), Enabled())) return;
    if (FGlyph->Empty()) {
        if (IqxToolButtonsParent* bar = ToolBar()) {
            TCustomImageList* list = bar->Images();
            bool enabled = Enabled();
            // A disabled look of its own is drawn as it is.
            if (!enabled && bar->DisabledImages()) {
                list = bar->DisabledImages();
                enabled = true;
            } else if ((AMouseIn || ADown) && bar->HotImages()) {
                list = bar->HotImages();
            }
            DrawImageAndText(ACanvas, ARect, FMargin, FSpacing, FLayout, ShownCaption(), FImageIndex, list,
                             false, enabled, false, clNone);
            return;
        }
        if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
            DrawImageAndText(ACanvas, ARect, FMargin, FSpacing, FLayout, ShownCaption(), FImageIndex,
                             FImageList, false, Enabled(), false, clNone);
            return;
        }
    }
    DrawGlyphAndText(ACanvas, ARect, FMargin, FSpacing, FLayout, ShownCaption(), FGlyph.get(), FNumGlyphs,
                     ButtonGlyphNumber(FNumGlyphs, ADown, AMouseIn, Enabled()), false, false, clNone);
}

void TqxSkinSpeedButton::PaintContent(TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn) {
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, ACanvas, ARect, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(ACanvas, ARect, ADown, AMouseIn);
}

void TqxSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const TRect content = DrawButtonFace(*this, B, R, FUseSkinSize);
    TCanvas* canvas = B->Canvas();
    SetupImageFont(canvas, ADown, AMouseIn);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, canvas, NewClRect, ADown, AMouseIn, drawDefault);
    if (drawDefault) DrawContent(canvas, content, ADown, AMouseIn);
}

void TqxSkinSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    const TRect r = Rect(0, 0, Width(), Height());
    if (ShowsDown())
        FillDefaultFace(canvas, r, DefaultFrame, DefaultDownFill);
    else if (FMouseIn)
        FillDefaultFace(canvas, r, DefaultFrame, DefaultHoverFill);
    else if (ComponentState().Contains(csDesigning) || !FFlat)
        FillDefaultFace(canvas, r, DefaultGreyFrame(), clBtnFace);
    else if (!Transparent())
        FillDefaultFace(canvas, r, clNone, clBtnFace);
    SetupButtonFont(canvas, DefaultFont(), *this, false, SkinData());
    if (!Enabled()) canvas->Font()->SetColor(clBtnShadow);
    PaintContent(canvas, r, FDown, FMouseIn);
}

// Morph.

void TqxSkinSpeedButton::StartMorph() {
    if (!MorphingOn() || FIndex == -1 || Transparent() || FFlat)
        Repaint();
    else if (!FMorphTimer->Enabled())
        FMorphTimer->SetEnabled(true);
}

void TqxSkinSpeedButton::MorphTick() {
    const double target = FMouseIn ? 1 : 0;
    if (FIndex == -1 || !MorphingOn()) {
        FMorphKf = target;
        FMorphTimer->SetEnabled(false);
        return;
    }
    FMorphKf = StepMorph(FMorphKf, FMouseIn ? 0.2 : -0.2);
    if (FMorphKf == target) FMorphTimer->SetEnabled(false);
    Repaint();
}

// Click.

void TqxSkinSpeedButton::ButtonClick() {
    RunButtonClick(this);
}

void TqxSkinSpeedButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (MorphingOn()) FMorphKf = 0;
    if (SkinEffectsOn()) StopAnimate();
    Repaint();
}

// Mouse.

void TqxSkinSpeedButton::FlatEnter() {
    if (FFlat && !ComponentState().Contains(csDesigning) && Enabled() && (FGroupIndex == 0 || !FDown))
        SetTransparentNoRedraw(false);
}

void TqxSkinSpeedButton::FlatLeave() {
    if (FFlat && !ComponentState().Contains(csDesigning) && Enabled() && (FGroupIndex == 0 || !FDown))
        SetTransparentNoRedraw(true);
}

void TqxSkinSpeedButton::MouseEnter() {
    if (!Enabled() || ComponentState().Contains(csDesigning)) return;
    FMouseIn = true;
    if (FGroupIndex == 0 || !FDown) {
        if (FDown) {
            if (MorphingOn()) FMorphKf = 1;
            Repaint();
        } else {
            if (AnimationPossible()) StartAnimate(true);
            StartMorph();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
}

void TqxSkinSpeedButton::MouseLeave() {
    if (!Enabled() || ComponentState().Contains(csDesigning)) return;
    FMouseIn = false;
    if (FGroupIndex == 0 || !FDown) {
        if (AnimationPossible()) StartAnimate(false);
        StartMorph();
    }
    if (FDown && FRepeatMode && Repeating() && FGroupIndex == 0) StopRepeat();
}

void TqxSkinSpeedButton::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxGraphicSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (AButton != mbLeft) return;
    if (AnimationPossible()) StopAnimate();
    PressLeft();
}

void TqxSkinSpeedButton::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxGraphicSkinCustomControl::MouseMove(AShift, X, Y);
    if (const Cardinal crossing = PointerCrossing(X, Y, Width(), Height())) Perform(crossing, 0, 0);
}

void TqxSkinSpeedButton::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxGraphicSkinCustomControl::MouseUp(AButton, AShift, X, Y);
    if (AButton == mbLeft) ReleaseLeft();
}

void TqxSkinSpeedButton::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_MOUSEENTER:
            FlatEnter();
            TqxGraphicSkinCustomControl::Dispatch(AMessage);
            MouseEnter();
            return;
        case CM_MOUSELEAVE:
            FlatLeave();
            TqxGraphicSkinCustomControl::Dispatch(AMessage);
            MouseLeave();
            return;
        case CM_ENABLEDCHANGED:
            TqxGraphicSkinCustomControl::Dispatch(AMessage);
            if (MorphingOn()) {
                FMorphTimer->SetEnabled(false);
                FMorphKf = 0;
            }
            FMouseIn = false;
            Repaint();
            return;
        case CM_TEXTCHANGED:
            TqxGraphicSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(Word(AMessage.WParam), Caption()) && Enabled() && Visible() && Parent() &&
                Parent()->Showing()) {
                ButtonClick();
                AMessage.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TqxGraphicSkinCustomControl::Dispatch(AMessage);
}

// TqxSkinMenuSpeedButton

TqxSkinMenuSpeedButton::TqxSkinMenuSpeedButton(TComponent* AOwner) : TqxSkinSpeedButton(AOwner) {
    SetSkinDataName(u"toolmenubutton");
}

void TqxSkinMenuSpeedButton::SetTrackButtonMode(bool AValue) {
    FTrackButtonMode = AValue;
    if (FIndex == -1) Repaint();
}

void TqxSkinMenuSpeedButton::SetNewStyle(bool AValue) {
    FNewStyle = AValue;
    if (AValue) SetSkinDataName(u"resizetoolbutton");
    Repaint();
}

void TqxSkinMenuSpeedButton::SetTrackPosition(TqxTrackPosition AValue) {
    FTrackPosition = AValue;
    Repaint();
}

void TqxSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinSpeedButton::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TqxSkinMenuSpeedButton::GetSkinData() {
    TqxSkinSpeedButton::GetSkinData();
    if (FIndex == -1) return;
    if (const auto* e = dynamic_cast<const TqxDataSkinMenuButtonControl*>(SkinData()->CtrlList[FIndex]))
        TrackButtonRect = e->TrackButtonRect;
}

bool TqxSkinMenuSpeedButton::Ordinary() const {
    return FIndex != -1 && !IsStretchedMenuSection(SkinDataName()) && !IsNinePartMenuSection(SkinDataName());
}

TRect TqxSkinMenuSpeedButton::Strip() const {
    if (FNewStyle && FTrackPosition == qxtpBottom)
        return Rect(0, Height() - TrackStripSize, Width(), Height());
    return RightTrackStrip(Width(), Height());
}

TRect TqxSkinMenuSpeedButton::TrackPart() {
    GetSkinData();
    if (Ordinary()) return SkinTrackPart(*this, TrackButtonRect, Width(), Height());
    return Strip();
}

bool TqxSkinMenuSpeedButton::CanTrackMenu(Integer X, Integer Y) {
    if (!FSkinPopupMenu && !SkinImagesMenu()) return false;
    if (!FTrackButtonMode) return true;
    return InTrackPart(TrackPart(), X, Y);
}

void TqxSkinMenuSpeedButton::TrackMenu() {
    TrackButtonMenus(
        this, FSkinPopupMenu, SkinImagesMenu(),
        [this] {
            if (Flat() && !Transparent()) SetTransparentNoRedraw(true);
            if (OnShowTrackMenu) OnShowTrackMenu(this);
        },
        [this] { MenuClosed(); });
}

void TqxSkinMenuSpeedButton::MenuClosed() {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
}

void TqxSkinMenuSpeedButton::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton != mbLeft) return TqxSkinSpeedButton::MouseDown(AButton, AShift, X, Y);
    FMenuTracked = CanTrackMenu(X, Y);
    FMouseIn = true;
    if (!FMenuTracked) return TqxSkinSpeedButton::MouseDown(AButton, AShift, X, Y);
    if (!FDown) SetDown(true);
    TrackMenu();
}

void TqxSkinMenuSpeedButton::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (!FMenuTracked) TqxSkinSpeedButton::MouseUp(AButton, AShift, X, Y);
}

void TqxSkinMenuSpeedButton::Dispatch(TMessage& AMessage) {
    if (TrackedMenuMessage(AMessage, FMenuTracked, ComponentState().Contains(csDesigning), FMouseIn,
                           [this] { MenuClosed(); }))
        return;
    TqxSkinSpeedButton::Dispatch(AMessage);
}

// Painting.

TqxMenuButtonPaint TqxSkinMenuSpeedButton::Variant(bool AFlat) {
    TqxMenuButtonPaint p = MenuButtonPaintOf(*this, FTrackButtonMode, FMenuTracked);
    p.Flat = AFlat;
    p.DrawStandardArrow = FDrawStandardArrow;
    p.ArrowType = FArrowType;
    p.SetupFont = [this](TCanvas* ACanvas) {
        SetupButtonFont(ACanvas, DefaultFont(), *this, UseSkinFont(), SkinData());
    };
    p.DrawContent = [this](TCanvas* ACanvas, const TRect& ARect, bool ADown, bool AMouseIn) {
        DrawContent(ACanvas, ARect, ADown, AMouseIn);
    };
    return p;
}

void TqxSkinMenuSpeedButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if ((FDown && FMouseIn) || FMenuTracked || !Transparent())
        TqxSkinSpeedButton::Paint();
    else
        DrawIdle();
}

void TqxSkinMenuSpeedButton::DrawIdle() {
    TCanvas* canvas = Canvas();
    const bool skinned = FIndex != -1;
    const bool ordinary = Ordinary();
    TRect content = Rect(0, 0, Width(), Height());
    if (ordinary)
        content = NewClRect;
    else if (FNewStyle && FTrackPosition == qxtpBottom)
        content.Bottom -= TrackStripSize;
    else
        content.Right -= TrackStripSize;
    SetupTransparentFont(canvas);
    if (!Enabled()) canvas->Font()->SetColor(clBtnShadow);
    DrawContent(canvas, content, false, false);
    TRect marker = ordinary ? Rect(content.Right, 0, Width(), Height()) : Strip();
    if (!skinned) {
        DrawSmallDownArrow(canvas, marker, clBtnText);
        return;
    }
    if (ResizeMode != 1) marker.Left -= 2;
    if (!IsRectDegenerate(MenuMarkerFlatRect))
        DrawMenuMarker(canvas, Picture, MenuMarkerFlatRect, MenuMarkerTransparentColor, marker);
    else
        DrawSmallDownArrow(canvas, marker, SkinData()->SkinColors()->cBtnText());
}

void TqxSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const String& name = SkinDataName();
    if (FNewStyle && name == u"resizetoolbutton") return DrawNewStyle(B, ADown, AMouseIn);
    if (IsStretchedMenuSection(name)) return DrawStretchedMenuButton(Variant(Flat()), B, ADown, AMouseIn);
    if (IsNinePartMenuSection(name)) return DrawNinePartMenuButton(Variant(Flat()), B, ADown, AMouseIn);
    const TqxMenuButtonPaint variant = Variant(Flat());
    if (FMenuTracked && FTrackButtonMode && !IsRectDegenerate(TrackButtonRect) &&
        !IsRectDegenerate(DownSkinRect)) {
        TqxSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, AMouseIn);
        CopyTrackPartDown(variant, TrackButtonRect, B);
        return;
    }
    TqxSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
}

void TqxSkinMenuSpeedButton::DrawNewStyle(TBitmap* B, bool ADown, bool AMouseIn) {
    Integer faceIndex = SkinData()->GetControlIndex(u"resizetoolbutton");
    if (faceIndex == -1) faceIndex = SkinData()->GetControlIndex(u"resizebutton");
    const auto* face = faceIndex == -1
                           ? nullptr
                           : dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[faceIndex]);
    if (!face) return;
    const bool bottom = FTrackPosition == qxtpBottom;
    const TRect strip = Strip();
    const bool split = AMouseIn && FTrackButtonMode;
    const bool trackedInTrackMode = FMenuTracked && FTrackButtonMode;
    const bool faceDown = ADown && AMouseIn && !trackedInTrackMode;
    // One element's state image at a size, as nine parts.
    const auto build = [&](const TqxDataSkinButtonControl& AElement, bool ADownLook, bool AHoverLook,
                           Integer AWidth, Integer AHeight, TBitmap* AImage) {
        TqxSkinGeometry g;
        CopyElementGeometry(g, AElement);
        TqxButtonElementCopy states;
        CopyButtonElement(states, AElement);
        const TRect& source = ADownLook    ? states.DownSkinRect
                              : AHoverLook ? states.ActiveSkinRect
                                           : g.SkinRect;
        BuildNinePartFace(g, AImage, SkinData()->GetActivePicture(AElement.PictureIndex), source, AWidth,
                          AHeight);
    };
    TCanvas* canvas = B->Canvas();
    const Integer trackIndex =
        SkinData()->GetControlIndex(bottom ? u"htracktoolbutton" : u"vtracktoolbutton");
    const auto* track = trackIndex == -1
                            ? nullptr
                            : dynamic_cast<const TqxDataSkinButtonControl*>(SkinData()->CtrlList[trackIndex]);
    TBitmap image;
    if (split && !track) {
        const Integer w = bottom ? Width() : Width() - TrackStripSize,
                      h = bottom ? Height() - TrackStripSize : Height();
        build(*face, faceDown, AMouseIn, w, h, &image);
    } else {
        build(*face, faceDown, AMouseIn, Width(), Height(), &image);
    }
    canvas->Draw(0, 0, &image);
    if (split) {
        TBitmap stripImage;
        build(track ? *track : *face, FMenuTracked, true, strip.Width(), strip.Height(), &stripImage);
        canvas->Draw(strip.Left, strip.Top, &stripImage);
    }
    SetupButtonFont(canvas, DefaultFont(), *this, UseSkinFont(), SkinData());
    const TqxMenuButtonPaint variant = Variant(false);
    TColor color = MenuButtonFontColor(variant, ADown, AMouseIn);
    if (Enabled() && UseSkinFontColor())
        color = faceDown ? DownFontColor : AMouseIn ? ActiveFontColor : FontColor;
    canvas->Font()->SetColor(color);
    TRect content = Rect(0, 0, Width(), Height());
    if (bottom)
        content.Bottom = strip.Top;
    else
        content.Right = strip.Left;
    DrawContent(canvas, content, ADown, AMouseIn);
    DrawStripMarker(canvas, variant, strip, ADown, AMouseIn, color);
}

void TqxSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* canvas = B->Canvas();
    const Integer w = Width(), h = Height();
    const bool downHovered = FDown && FMouseIn;
    const TColor grey = DefaultGreyFrame();
    // The idle look: a grey frame, none when flat.
    const TColor idleFrame = Flat() ? clNone : grey;
    const TRect whole = Rect(0, 0, w, h);
    TRect strip = RightTrackStrip(w, h);
    TRect main = Rect(0, 0, w - TrackStripSize, h);
    const bool bottom = FNewStyle && FTrackPosition == qxtpBottom;
    if (bottom) {
        strip = Rect(0, h - TrackStripSize, w, h);
        main = Rect(0, 0, w, h - TrackStripSize);
    }
    const bool split = FNewStyle ? FTrackButtonMode && FMouseIn : FTrackButtonMode;
    if (split) {
        TColor mainFill = clBtnFace, stripFill = clBtnFace, mainFrame = idleFrame, stripFrame = idleFrame;
        if (FMenuTracked) {
            mainFrame = stripFrame = DefaultFrame;
            mainFill = DefaultHoverFill;
            stripFill = DefaultDownFill;
        } else if (downHovered) {
            mainFrame = stripFrame = DefaultFrame;
            mainFill = DefaultDownFill;
            stripFill = FNewStyle ? DefaultHoverFill : DefaultDownFill;
        } else if (FMouseIn) {
            mainFrame = stripFrame = DefaultFrame;
            mainFill = stripFill = DefaultHoverFill;
        }
        FillDefaultFace(canvas, main, mainFrame, mainFill);
        FillDefaultFace(canvas, strip, stripFrame, stripFill);
    } else if (downHovered) {
        FillDefaultFace(canvas, whole, DefaultFrame, DefaultDownFill);
    } else if (FMouseIn) {
        FillDefaultFace(canvas, whole, DefaultFrame, DefaultHoverFill);
    } else {
        FillDefaultFace(canvas, whole, idleFrame, clBtnFace);
    }
    SetupButtonFont(canvas, DefaultFont(), *this, false, SkinData());
    if (!Enabled()) canvas->Font()->SetColor(clBtnShadow);
    DrawContent(canvas, main, FDown, FMouseIn);
    const bool pressed =
        FNewStyle ? downHovered && (!FTrackButtonMode || FMenuTracked) : downHovered || FMenuTracked;
    if (pressed) strip = Rect(strip.Left + 2, strip.Top + 2, strip.Right + 2, strip.Bottom + 2);
    DrawSmallDownArrow(canvas, strip, clBtnText);
}

namespace {

const auto Registered = [] {
    RegisterEnum<TqxTrackPosition>({u"qxtpRight", u"qxtpBottom"});
    using S = TqxSkinSpeedButton;
    RegisterClass<S, TqxGraphicSkinCustomControl>()
        .Property(u"Transparent", &S::Transparent, &S::SetTransparent)
        .Property(u"Flat", &S::Flat, &S::SetFlat)
        .Property(u"CheckedMode", &S::CheckedMode, &S::SetCheckedMode)
        .Property(u"UseSkinFontColor", &S::UseSkinFontColor, &S::SetUseSkinFontColor)
        .Property(u"UseSkinSize", &S::UseSkinSize, &S::SetUseSkinSize)
        .Property(u"RepeatMode", &S::RepeatMode, &S::SetRepeatMode)
        .Property(u"RepeatInterval", &S::RepeatInterval, &S::SetRepeatInterval)
        .Property(u"AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp)
        .Property(u"Down", &S::Down, &S::SetDown)
        .Property(u"GroupIndex", &S::GroupIndex, &S::SetGroupIndex)
        .Property(u"Glyph", &S::Glyph)
        .Property(u"NumGlyphs", &S::NumGlyphs, &S::SetNumGlyphs)
        .Property(u"Margin", &S::Margin, &S::SetMargin)
        .Property(u"Spacing", &S::Spacing, &S::SetSpacing)
        .Property(u"Layout", &S::Layout, &S::SetLayout)
        .Property(u"ImageList", &S::ImageList, &S::SetImageList)
        .Property(u"ImageIndex", &S::ImageIndex, &S::SetImageIndex)
        .Property(u"ShowCaption", &S::ShowCaption, &S::SetShowCaption)
        .Property(u"WidthWithCaption", &S::WidthWithCaption, &S::SetWidthWithCaption)
        .Property(u"WidthWithoutCaption", &S::WidthWithoutCaption, &S::SetWidthWithoutCaption)
        .Event(u"OnPaint", &S::OnPaint);
    using M = TqxSkinMenuSpeedButton;
    RegisterClass<M, S>()
        .Property(u"TrackButtonMode", &M::TrackButtonMode, &M::SetTrackButtonMode)
        .Property(u"SkinPopupMenu", &M::SkinPopupMenu, &M::SetSkinPopupMenu)
        .Property(u"SkinImagesMenu", &M::SkinImagesMenu, &M::SetSkinImagesMenu)
        .Property(u"UseImagesMenuImage", &M::UseImagesMenuImage, &M::SetUseImagesMenuImage)
        .Property(u"UseImagesMenuCaption", &M::UseImagesMenuCaption, &M::SetUseImagesMenuCaption)
        .Property(u"NewStyle", &M::NewStyle, &M::SetNewStyle)
        .Property(u"TrackPosition", &M::TrackPosition, &M::SetTrackPosition)
        .Event(u"OnShowTrackMenu", &M::OnShowTrackMenu)
        .Event(u"OnHideTrackMenu", &M::OnHideTrackMenu);
    return true;
}();

}  // namespace
