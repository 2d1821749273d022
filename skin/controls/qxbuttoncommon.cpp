#include "skin/controls/qxbuttoncommon.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/toolkit/actions.h"
#include "platform/toolkit/controlmessages.h"
#include "platform/toolkit/methods.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxeffectbmp.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxutils.h"

TColor DefaultGreyFrame() {
    return DarkenColor(clBtnFace, 15);
}

void CopyButtonElement(TqxButtonElementCopy& C, const TqxDataSkinButtonControl& E) {
    C.FontName = E.FontName;
    C.FontStyle = E.FontStyle;
    C.FontHeight = E.FontHeight;
    C.FontColor = E.FontColor;
    C.ActiveFontColor = E.ActiveFontColor;
    C.DownFontColor = E.DownFontColor;
    C.DisabledFontColor = E.DisabledFontColor == E.FontColor ? TColor(0x808080) : E.DisabledFontColor;
    C.ActiveSkinRect = IsRectDegenerate(E.ActiveSkinRect) ? E.SkinRect : E.ActiveSkinRect;
    C.DownSkinRect = IsRectDegenerate(E.DownSkinRect) ? C.ActiveSkinRect : E.DownSkinRect;
    C.DisabledSkinRect = E.DisabledSkinRect;
    C.FocusedSkinRect = E.FocusedSkinRect;
    C.AnimateSkinRect = E.AnimateSkinRect;
    C.FrameCount = E.FrameCount;
    C.AnimateInterval = E.AnimateInterval;
    C.Morphing = E.Morphing;
    C.MorphKind = E.MorphKind;
    C.ShowFocus = E.ShowFocus;
    C.MenuMarkerFlatRect = E.MenuMarkerFlatRect;
    C.MenuMarkerRect = E.MenuMarkerRect;
    C.MenuMarkerActiveRect =
        IsRectDegenerate(E.MenuMarkerActiveRect) ? C.MenuMarkerRect : E.MenuMarkerActiveRect;
    C.MenuMarkerDownRect =
        IsRectDegenerate(E.MenuMarkerDownRect) ? C.MenuMarkerActiveRect : E.MenuMarkerDownRect;
    C.MenuMarkerTransparentColor = E.MenuMarkerTransparentColor;
    C.GlowLayerPictureIndex = E.GlowLayerPictureIndex;
    C.GlowLayerMaskPictureIndex = E.GlowLayerMaskPictureIndex;
    C.GlowLayerOffsetLeft = E.GlowLayerOffsetLeft;
    C.GlowLayerOffsetRight = E.GlowLayerOffsetRight;
    C.GlowLayerOffsetTop = E.GlowLayerOffsetTop;
    C.GlowLayerOffsetBottom = E.GlowLayerOffsetBottom;
    C.GlowLayerShowOffsetX = E.GlowLayerShowOffsetX;
    C.GlowLayerShowOffsetY = E.GlowLayerShowOffsetY;
    C.GlowLayerAlphaBlendValue = E.GlowLayerAlphaBlendValue;
}

TRect AnimationFrameRect(const TRect& AStrip, Integer AFrameCount, Integer AFaceWidth, Integer AFrame) {
    if (AStrip.Width() > AFaceWidth) {
        const Integer w = AStrip.Width() / AFrameCount;
        return Bounds(AStrip.Left + (AFrame - 1) * w, AStrip.Top, w, AStrip.Height());
    }
    const Integer h = AStrip.Height() / AFrameCount;
    return Bounds(AStrip.Left, AStrip.Top + (AFrame - 1) * h, AStrip.Width(), h);
}

void RunButtonClick(TControl* AButton) {
    TBasicAction* action = AButton->Action();
    if (AButton->OnClick && action && !SameMethod(action->OnExecute, AButton->OnClick)) {
        AButton->OnClick(AButton);
        return;
    }
    if (!AButton->ComponentState().Contains(csDesigning) && AButton->ActionLink()) {
        AButton->ActionLink()->Execute();
        return;
    }
    if (AButton->OnClick) AButton->OnClick(AButton);
}

bool ActionImage(TObject* AAction, TCustomImageList*& AList, Integer& AIndex) {
    auto* action = dynamic_cast<TCustomAction*>(AAction);
    if (!action || !action->ActionList()) return false;
    TCustomImageList* images = action->ActionList()->Images();
    if (!images || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count()) return false;
    AList = images;
    AIndex = action->ImageIndex();
    return true;
}

// TqxButtonCore

namespace {
constexpr Cardinal RepeatDelay = 500;
}  // namespace

TqxButtonCore::TqxButtonCore() : FGlyph(std::make_unique<TBitmap>()) {}

void TqxButtonCore::SetGlyph(TBitmap* AValue) {
    FGlyph->Assign(AValue);
    RedrawFace();
}

void TqxButtonCore::SetNumGlyphs(TqxNumGlyphs AValue) {
    FNumGlyphs = AValue;
    RedrawFace();
}

void TqxButtonCore::SetMargin(Integer AValue) {
    if (AValue == FMargin || AValue < -1) return;
    FMargin = AValue;
    RedrawFace();
}

void TqxButtonCore::SetSpacing(Integer AValue) {
    if (AValue == FSpacing) return;
    FSpacing = AValue;
    RedrawFace();
}

void TqxButtonCore::SetLayout(TqxButtonLayout AValue) {
    if (AValue == FLayout) return;
    FLayout = AValue;
    RedrawFace();
}

void TqxButtonCore::SetImageIndex(Integer AValue) {
    if (AValue == FImageIndex) return;
    FImageIndex = AValue;
    RedrawFace();
}

void TqxButtonCore::TakeActionImage(TObject* AAction) {
    TCustomImageList* images = nullptr;
    if (!FGlyph->Empty() || !ActionImage(AAction, images, FImageIndex)) return;
    SetImageList(images);
    RedrawFace();
}

void TqxButtonCore::MakeCoreTimers(TComponent* AOwner) {
    FAnimateTimer = MakeTimer(AOwner, [this](TObject*) { AnimateTick(); });
    FRepeatTimer = MakeTimer(AOwner, [this](TObject*) { RepeatTick(); });
}

void TqxButtonCore::StopCoreTimers() {
    FRepeatTimer->SetEnabled(false);
    FAnimateTimer->SetEnabled(false);
}

void TqxButtonCore::PressLeft() {
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FCheckedMode) {
            FStopMouseUp = true;
            ButtonClick();
        } else if (FRepeatMode && FGroupIndex == 0) {
            StartRepeat();
        } else if (FGroupIndex != 0) {
            ButtonClick();
        }
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TqxButtonCore::ReleaseLeft() {
    FMouseDown = false;
    if (FCheckedMode) {
        if (FStopMouseUp) {
            FStopMouseUp = false;
        } else {
            SetDown(false);
            ButtonClick();
        }
    } else if (FGroupIndex == 0) {
        StopRepeat();
        if (FMouseIn) {
            const bool wasDown = FDown;
            SetDown(false);
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
        }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
        SetDown(false);
        ButtonClick();
    }
}

Cardinal TqxButtonCore::PointerCrossing(Integer X, Integer Y, Integer AWidth, Integer AHeight) const {
    if (!FDown) return 0;
    const bool outside = X < 0 || Y < 0 || X > AWidth || Y > AHeight;
    if (outside && FMouseIn) return CM_MOUSELEAVE;
    if (!outside && !FMouseIn) return CM_MOUSEENTER;
    return 0;
}

void TqxButtonCore::StartRepeat() {
    FRepeatTimer->SetEnabled(false);
    FRepeatDelayOver = false;
    FRepeatTimer->SetInterval(RepeatDelay);
    FRepeatTimer->SetEnabled(true);
}

void TqxButtonCore::StopRepeat() {
    FRepeatTimer->SetEnabled(false);
}

void TqxButtonCore::RepeatTick() {
    // The first tick only ends the delay, whatever the interval after it.
    if (!FRepeatDelayOver) {
        FRepeatDelayOver = true;
        FRepeatTimer->SetInterval(Cardinal(std::max(1, FRepeatInterval)));
        return;
    }
    ButtonClick();
}

void TqxButtonCore::StartAnimate(bool AForward) {
    StopAnimate();
    FAnimateInc = AForward;
    FCurrentFrame = AForward ? 1 : FrameCount;
    FAnimateTimer->SetInterval(Cardinal(std::max(1, AnimateInterval)));
    FAnimateTimer->SetEnabled(true);
}

void TqxButtonCore::StopAnimate() {
    FCurrentFrame = 0;
    FAnimateTimer->SetEnabled(false);
}

void TqxButtonCore::AnimateTick() {
    if (FAnimateInc ? FCurrentFrame <= FrameCount : FCurrentFrame > 0) {
        FCurrentFrame += FAnimateInc ? 1 : -1;
        RedrawFace();
    }
    if (FAnimateInc ? FCurrentFrame > FrameCount : FCurrentFrame <= 0) StopAnimate();
}

void TqxButtonCore::ApplyAnimationFrame(TRect& ASkinRect, bool AEffectsOn) {
    if (!AEffectsOn || !FAnimateTimer->Enabled() || FCurrentFrame < 1 || FCurrentFrame > FrameCount) return;
    const TRect frame = AnimationFrameRect(AnimateSkinRect, FrameCount, ASkinRect.Width(), FCurrentFrame);
    if (FAnimateInc)
        ActiveSkinRect = frame;
    else
        ASkinRect = frame;
}

// Looks.

double StepMorph(double AKf, double AStep) {
    return std::clamp(std::round((AKf + AStep) * 5) / 5, 0.0, 1.0);
}

void DrawMorph(TCanvas* ACanvas, TBitmap* AFrom, TBitmap* ATo, TqxMorphKind AKind, double AKf) {
    const std::unique_ptr<TqxEffectBmp> from = TqxEffectBmp::CreateFromhWnd(AFrom->Handle());
    const std::unique_ptr<TqxEffectBmp> to = TqxEffectBmp::CreateFromhWnd(ATo->Handle());
    switch (AKind) {
        case mkDefault:
            from->Morph(to.get(), AKf);
            break;
        case mkGradient:
            from->MorphGrad(to.get(), AKf);
            break;
        case mkLeftGradient:
            from->MorphLeftGrad(to.get(), AKf);
            break;
        case mkRightGradient:
            from->MorphRightGrad(to.get(), AKf);
            break;
        case mkLeftSlide:
            from->MorphLeftSlide(to.get(), AKf);
            break;
        case mkRightSlide:
            from->MorphRightSlide(to.get(), AKf);
            break;
        case mkPush:
            from->MorphPush(to.get(), AKf);
            break;
    }
    from->Draw(ACanvas->Handle(), 0, 0);
}

Integer ButtonGlyphNumber(TqxNumGlyphs ANumGlyphs, bool ADown, bool AMouseIn, bool AEnabled) {
    if (ADown && AMouseIn && ANumGlyphs > 2) return 3;
    if (AMouseIn && ANumGlyphs > 3) return 4;
    if (!AEnabled && ANumGlyphs > 1) return 2;
    return 1;
}

void SetupButtonFont(TCanvas* ACanvas, TFont* ADefaultFont, const TqxButtonElementCopy& AElement,
                     bool AUseSkinFont, TqxSkinData* ASkinData) {
    TFont* font = ACanvas->Font();
    font->Assign(ADefaultFont);
    if (AUseSkinFont) {
        font->SetName(AElement.FontName);
        font->SetHeight(AElement.FontHeight);
        font->SetStyle(AElement.FontStyle);
    }
    if (ASkinData && ASkinData->ResourceStrData()) font->SetCharset(ASkinData->ResourceStrData()->CharSet());
}

void FillDefaultFace(TCanvas* ACanvas, const TRect& ARect, TColor AFrame, TColor AFill) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(AFill);
    ACanvas->FillRect(ARect);
    if (AFrame == clNone) return;
    ACanvas->Brush()->SetColor(AFrame);
    ACanvas->FrameRect(ARect);
}

// The drop-down buttons.

bool IsStretchedMenuSection(const String& AName) {
    return AName == u"toolbutton" || AName == u"bigtoolbutton";
}

bool IsNinePartMenuSection(const String& AName) {
    return AName == u"resizebutton" || AName == u"resizetoolbutton";
}

TRect SkinTrackPart(const TqxSkinGeometry& G, const TRect& ATrackButtonRect, Integer AWidth,
                    Integer AHeight) {
    TRect r = ATrackButtonRect;
    if (G.ResizeMode == 2) {
        const Integer d = AWidth - G.SkinRect.Width();
        r.Left += d;
        r.Right += d;
    } else if (G.ResizeMode == 3) {
        const Integer d = AHeight - G.SkinRect.Height();
        r.Top += d;
        r.Bottom += d;
    }
    return r;
}

TRect RightTrackStrip(Integer AWidth, Integer AHeight) {
    return Rect(AWidth - TrackStripSize, 0, AWidth, AHeight);
}

bool InTrackPart(const TRect& ARect, Integer X, Integer Y) {
    return X >= ARect.Left && X <= ARect.Right && Y >= ARect.Top && Y <= ARect.Bottom;
}

void BuildNinePartFace(const TqxSkinGeometry& G, TBitmap* ABitmap, TBitmap* APicture, const TRect& ASource,
                       Integer AWidth, Integer AHeight) {
    ABitmap->SetSize(std::max(AWidth, 0), std::max(AHeight, 0));
    if (!APicture || AWidth <= 0 || AHeight <= 0) return;
    const Integer dW = AWidth - G.SkinRect.Width(), dH = AHeight - G.SkinRect.Height();
    BuildNinePartImage(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.LTPt, Point(G.RTPt.X + dW, G.RTPt.Y),
                       Point(G.LBPt.X, G.LBPt.Y + dH), Point(G.RBPt.X + dW, G.RBPt.Y + dH),
                       GrownClientRect(G, dW, dH), ABitmap, APicture, ASource, AWidth, AHeight, true,
                       G.LeftStretch, G.TopStretch, G.RightStretch, G.BottomStretch, G.StretchEffect,
                       G.StretchType);
}

TRect GrownClientRect(const TqxSkinGeometry& G, Integer ADeltaW, Integer ADeltaH) {
    return Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + ADeltaW, G.ClRect.Bottom + ADeltaH);
}

TColor ButtonFontColor(const TqxButtonElementCopy& AElement, bool AEnabled, bool AUseSkinFontColor,
                       TColor ADefaultColor, bool ADown, bool AMouseIn) {
    if (!AEnabled) return AElement.DisabledFontColor;
    if (!AUseSkinFontColor) return ADefaultColor;
    if (ADown && AMouseIn) return AElement.DownFontColor;
    return AMouseIn ? AElement.ActiveFontColor : AElement.FontColor;
}

void TrackButtonMenus(TControl* AButton, TPopupMenu* APopupMenu, TqxCustomImagesMenu* AImagesMenu,
                      const std::function<void()>& AShowing, const std::function<void()>& AClosed) {
    const TPoint topLeft = AButton->ClientToScreen(Point(0, 0));
    const TRect screen = Bounds(topLeft.X, topLeft.Y, AButton->Width(), AButton->Height());
    if (APopupMenu) {
        AShowing();
        if (!PopupMenuUnder(APopupMenu, AButton, screen)) AClosed();
    }
    if (AImagesMenu) {
        AShowing();
        AImagesMenu->OnInternalMenuClose = [AButton, AClosed](TObject*) {
            if (ControlAlive(AButton)) AClosed();
        };
        AImagesMenu->PopupFromRect(screen);
    }
}

bool TrackedMenuMessage(const TMessage& AMessage, bool AMenuTracked, bool ADesigning, bool& AMouseIn,
                        const std::function<void()>& AClosed) {
    if (AMessage.Msg == SKINMSG_MENUCLOSED) {
        AClosed();
        return true;
    }
    if ((AMessage.Msg != CM_MOUSEENTER && AMessage.Msg != CM_MOUSELEAVE) || !AMenuTracked) return false;
    if (!ADesigning) AMouseIn = AMessage.Msg == CM_MOUSEENTER;
    return true;
}

TColor MenuButtonFontColor(const TqxMenuButtonPaint& P, bool ADown, bool AMouseIn) {
    const bool trackedInTrackMode = P.MenuTracked && P.TrackButtonMode;
    return ButtonFontColor(*P.Element, P.Enabled, P.UseSkinFontColor, P.DefaultFontColor,
                           ADown && !trackedInTrackMode, AMouseIn);
}

void DrawMenuMarker(TCanvas* ACanvas, TBitmap* APicture, const TRect& AMarker, TColor ATransparentColor,
                    const TRect& AArea) {
    if (!APicture || IsRectDegenerate(AMarker)) return;
    TBitmap marker;
    marker.SetSize(AMarker.Width(), AMarker.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, AMarker.Width(), AMarker.Height()), APicture->Canvas(), AMarker);
    marker.SetTransparentColor(ATransparentColor);
    marker.SetTransparent(true);
    ACanvas->Draw(AArea.Left + (AArea.Width() - AMarker.Width()) / 2,
                  AArea.Top + (AArea.Height() - AMarker.Height()) / 2, &marker);
}

void DrawStripMarker(TCanvas* ACanvas, const TqxMenuButtonPaint& P, const TRect& AStrip, bool ADown,
                     bool AMouseIn, TColor AFontColor) {
    const TqxButtonElementCopy& e = *P.Element;
    if (P.DrawStandardArrow) {
        DrawArrow(ACanvas, AStrip, AFontColor, P.ArrowType);
    } else if (!IsRectDegenerate(e.MenuMarkerRect)) {
        const TRect& marker = (ADown && AMouseIn) || P.MenuTracked ? e.MenuMarkerDownRect
                              : AMouseIn                           ? e.MenuMarkerActiveRect
                                                                   : e.MenuMarkerRect;
        DrawMenuMarker(ACanvas, P.Picture, marker, e.MenuMarkerTransparentColor, AStrip);
    } else {
        DrawSmallDownArrow(ACanvas, AStrip, P.MenuTracked ? e.DownFontColor : AFontColor);
    }
}

namespace {

enum TFace { fNone, fNormal, fHover, fDown };

// The faces of the main and the track part: the track part's only counts
// in track mode.
void ChooseFaces(const TqxMenuButtonPaint& P, bool ADown, bool AMouseIn, TFace& AMain, TFace& ATrack) {
    if (P.TrackButtonMode && P.MenuTracked) {
        AMain = fHover;
        ATrack = fDown;
    } else if (ADown && AMouseIn) {
        AMain = ATrack = fDown;
    } else if (AMouseIn) {
        AMain = ATrack = fHover;
    } else {
        AMain = ATrack = P.Flat ? fNone : fNormal;
    }
}

const TRect& FaceRect(const TqxMenuButtonPaint& P, TFace AFace) {
    return AFace == fDown    ? P.Element->DownSkinRect
           : AFace == fHover ? P.Element->ActiveSkinRect
                             : P.Geometry->SkinRect;
}

using TFaceBuilder =
    std::function<void(TBitmap* AFace, const TRect& ASource, Integer AWidth, Integer AHeight)>;

void DrawVariant(const TqxMenuButtonPaint& P, TBitmap* B, bool ADown, bool AMouseIn,
                 const TFaceBuilder& ABuild) {
    TFace main, track;
    ChooseFaces(P, ADown, AMouseIn, main, track);
    TCanvas* canvas = B->Canvas();
    const auto place = [&](TFace AFace, Integer X, Integer AWidth) {
        if (AFace == fNone || AWidth <= 0) return;
        TBitmap face;
        ABuild(&face, FaceRect(P, AFace), AWidth, P.Height);
        canvas->Draw(X, 0, &face);
    };
    if (P.TrackButtonMode) {
        place(main, 0, P.Width - TrackStripSize);
        place(track, P.Width - TrackStripSize, TrackStripSize);
    } else {
        place(main, 0, P.Width);
    }
    if (P.SetupFont) P.SetupFont(canvas);
    const TColor color = MenuButtonFontColor(P, ADown, AMouseIn);
    canvas->Font()->SetColor(color);
    canvas->Brush()->SetStyle(bsClear);
    if (P.DrawContent) P.DrawContent(canvas, Rect(0, 0, P.Width - TrackStripSize, P.Height), ADown, AMouseIn);
    DrawStripMarker(canvas, P, RightTrackStrip(P.Width, P.Height), ADown, AMouseIn, color);
}

}  // namespace

void DrawStretchedMenuButton(const TqxMenuButtonPaint& P, TBitmap* B, bool ADown, bool AMouseIn) {
    DrawVariant(P, B, ADown, AMouseIn,
                [&](TBitmap* AFace, const TRect& ASource, Integer AWidth, Integer AHeight) {
                    AFace->SetSize(AWidth, AHeight);
                    if (P.Picture)
                        BuildStretchedSkinImage(AFace, P.Picture, ASource, P.Geometry->ClRect, true);
                });
}

void DrawNinePartMenuButton(const TqxMenuButtonPaint& P, TBitmap* B, bool ADown, bool AMouseIn) {
    DrawVariant(P, B, ADown, AMouseIn,
                [&](TBitmap* AFace, const TRect& ASource, Integer AWidth, Integer AHeight) {
                    BuildNinePartFace(*P.Geometry, AFace, P.Picture, ASource, AWidth, AHeight);
                });
}

bool CopyTrackPartDown(const TqxMenuButtonPaint& P, const TRect& ATrackButtonRect, TBitmap* B) {
    const TRect& down = P.Element->DownSkinRect;
    if (!P.TrackButtonMode || !P.MenuTracked || !P.Picture || IsRectDegenerate(ATrackButtonRect) ||
        IsRectDegenerate(down))
        return false;
    const TRect source = Rect(down.Left + ATrackButtonRect.Left, down.Top + ATrackButtonRect.Top,
                              down.Left + ATrackButtonRect.Right, down.Top + ATrackButtonRect.Bottom);
    B->Canvas()->CopyRect(SkinTrackPart(*P.Geometry, ATrackButtonRect, P.Width, P.Height),
                          P.Picture->Canvas(), source);
    return true;
}

void DrawScrollButtonFace(TCanvas* ACanvas, const TRect& ARect, const TqxDataSkinButtonControl* AElement,
                          TqxSkinData* ASkinData, bool AHot, bool ADown, Integer ADirection) {
    const Integer w = ARect.Width(), h = ARect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image;
    image.SetSize(w, h);
    TColor text = clBtnText;
    if (AElement) {
        const TqxDataSkinButtonControl& e = *AElement;
        TqxSkinGeometry g;
        CopyElementGeometry(g, e);
        TRect source = e.SkinRect;
        text = e.FontColor;
        if (ADown && !IsRectDegenerate(e.DownSkinRect)) {
            source = e.DownSkinRect;
            text = e.DownFontColor;
        } else if (AHot && !IsRectDegenerate(e.ActiveSkinRect)) {
            source = e.ActiveSkinRect;
            text = e.ActiveFontColor;
        }
        BuildNinePartFace(g, &image, ASkinData->GetActivePicture(e.PictureIndex), source, w, h);
    } else {
        const TColor frame = AHot ? DefaultFrame : clBtnShadow;
        const TColor fill = ADown ? DefaultDownFill : AHot ? DefaultHoverFill : clBtnFace;
        FillDefaultFace(image.Canvas(), Rect(0, 0, w, h), frame, fill);
    }
    DrawArrow(image.Canvas(), Rect(0, 0, w, h), text, ADirection);
    ACanvas->Draw(ARect.Left, ARect.Top, &image);
}

void TqxImagesMenuContent::SetMenu(TControl* AOwner, TqxCustomImagesMenu* AMenu) {
    if (Menu) Menu->RemoveFreeNotification(AOwner);
    Menu = AMenu;
    if (!Menu) return;
    Menu->FreeNotification(AOwner);
    // The menu may outlive the button.
    Menu->OnInternalChange = [AOwner](TObject*) {
        if (ControlAlive(AOwner)) AOwner->Invalidate();
    };
}

bool TqxImagesMenuContent::Draw(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                                TqxButtonLayout ALayout, const String& ACaption, bool AEnabled) const {
    TCustomImageList* images = nullptr;
    Integer index = -1;
    String caption;
    if (!Menu || !UseImage || !Menu->SelectedPicture(images, index, caption) || !images) return false;
    DrawImageAndText(ACanvas, ARect, AMargin, ASpacing, ALayout, UseCaption ? caption : ACaption, index,
                     images, false, AEnabled, false, clNone);
    return true;
}
