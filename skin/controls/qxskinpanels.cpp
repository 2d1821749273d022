#include "skin/controls/qxskinpanels.h"

#include "platform/toolkit/published.h"
#include "platform/win/messages.h"
#include "skin/controls/qxbuttoncommon.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxparentpaint.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr Integer RollUpMarkerWidth = 10;

// Right and bottom edges outside.
bool PtInRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool Designing(const TComponent* AComponent) {
    return AComponent->ComponentState().Contains(csDesigning);
}

void DrawTransparentPiece(TCanvas* ACanvas, TBitmap* APicture, const TRect& ASource, Integer X, Integer Y) {
    TBitmap piece;
    CopySkinPiece(APicture, ASource, &piece);
    if (piece.Empty()) return;
    piece.SetTransparent(true);
    ACanvas->Draw(X, Y, &piece);
}

}  // namespace

TqxSkinPanel::TqxSkinPanel(TComponent* AOwner)
    : TqxSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    // The frame and the client background go straight onto the canvas; the
    // image of the element holds only the caption.
    ForcebackGround = true;
    SetSkinDataName(u"panel");
    SetBounds(Left(), Top(), 150, 150);
}

// Properties.

void TqxSkinPanel::SetRibbonStyle(bool AValue) {
    if (AValue == FRibbonStyle) return;
    FRibbonStyle = AValue;
    Repaint();
}

void TqxSkinPanel::SetImagePosition(TqxImagePosition AValue) {
    if (AValue == FImagePosition) return;
    FImagePosition = AValue;
    Repaint();
}

void TqxSkinPanel::SetTransparentMode(bool AValue) {
    if (AValue == FTransparentMode) return;
    FTransparentMode = AValue;
    Repaint();
    if (!Designing(this) && !ComponentState().Contains(csLoading)) BroadcastParentBackground();
}

void TqxSkinPanel::SetCaptionImageIndex(Integer AValue) {
    if (AValue == FCaptionImageIndex) return;
    FCaptionImageIndex = AValue;
    Repaint();
}

void TqxSkinPanel::SetCheckedMode(bool AValue) {
    FCheckedMode = AValue;
    Repaint();
}

void TqxSkinPanel::SetChecked(bool AValue) {
    FChecked = AValue;
    if (FCheckedMode) {
        Repaint();
        if (FAutoEnabledControls)
            for (Integer i = 0; i < ControlCount(); ++i)
                Controls(i)->SetEnabled(AValue);
    }
    if (OnChecked) OnChecked(this);
}

void TqxSkinPanel::SetDefaultAlignment(TAlignment AValue) {
    FDefaultAlignment = AValue;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TqxSkinPanel::SetDefaultCaptionHeight(Integer AValue) {
    FDefaultCaptionHeight = AValue;
    if ((FIndex == -1 || !FUseSkinSize) && FCaptionMode) {
        Repaint();
        Realign();
    }
}

void TqxSkinPanel::SetBorderStyle(TqxSkinBorderStyle AValue) {
    FBorderStyle = AValue;
    if (FIndex != -1) return;
    Repaint();
    Realign();
}

void TqxSkinPanel::SetCaptionMode(bool AValue) {
    FCaptionMode = AValue;
    Repaint();
    Realign();
}

void TqxSkinPanel::SetRollUpMode(bool AValue) {
    FRollUpMode = AValue;
    if (FIndex == -1 && FCaptionMode) Repaint();
}

void TqxSkinPanel::SetGlyph(TBitmap* AValue) {
    FGlyph->Assign(AValue);
    Repaint();
}

void TqxSkinPanel::SetNumGlyphs(TqxSkinPanelNumGlyphs AValue) {
    FNumGlyphs = AValue;
    Repaint();
}

void TqxSkinPanel::SetSpacing(Integer AValue) {
    FSpacing = AValue;
    Repaint();
}

void TqxSkinPanel::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

// Roll-up and check.

void TqxSkinPanel::SetRollUpState(bool AValue) {
    if (AValue == FRollUpState) return;
    TSizeConstraints* c = Constraints();
    if (!FRollUpMode) {
        // Only what a roll-up cleared comes back: a panel never rolled keeps its own.
        if (FConstraintsSaved) {
            c->SetMaxWidth(FCMaxWidth);
            c->SetMinWidth(FCMinWidth);
            c->SetMaxHeight(FCMaxHeight);
            c->SetMinHeight(FCMinHeight);
            FConstraintsSaved = false;
        }
        return;
    }
    if (!FConstraintsSaved) {
        FCMaxWidth = c->MaxWidth();
        FCMinWidth = c->MinWidth();
        FCMaxHeight = c->MaxHeight();
        FCMinHeight = c->MinHeight();
        FConstraintsSaved = true;
    }
    c->SetMaxWidth(0);
    c->SetMinWidth(0);
    c->SetMaxHeight(0);
    c->SetMinHeight(0);
    FRollUpState = AValue;
    DoRollUp(AValue);
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

Integer TqxSkinPanel::RolledHeight() {
    GetSkinData();
    if (FIndex == -1 || !FUseSkinSize) return FDefaultCaptionHeight + 1;
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    return Height() - NewClRect.Height();
}

void TqxSkinPanel::DoRollUp(bool ARollUp) {
    FInChangingRollUp = true;
    try {
        if (ARollUp && FRealHeight == -1) {
            FRealHeight = Height();
            DisableAlign();
            FRolledChildren.clear();
            for (Integer i = 0; i < ControlCount(); ++i)
                if (Controls(i)->Visible()) FRolledChildren.push_back(Controls(i));
            for (TControl* child : FRolledChildren)
                child->Hide();
            SetHeight(RolledHeight());
        } else if (!ARollUp && FRealHeight != -1) {
            SetHeight(FRealHeight);
            FRealHeight = -1;
            // Only the children the roll-up hid come back, and only those still here.
            for (TControl* child : FRolledChildren)
                if (ControlAlive(child) && child->Parent() == this) child->Show();
            FRolledChildren.clear();
            EnableAlign();
        }
    } catch (...) {
        FInChangingRollUp = false;
        throw;
    }
    FInChangingRollUp = false;
}

bool TqxSkinPanel::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) {
    if (FInChangingRollUp && AutoSize() && FRollUpMode) return false;
    return TqxSkinCustomControl::CanAutoSize(ANewWidth, ANewHeight);
}

bool TqxSkinPanel::CaptionHit(Integer X, Integer Y) {
    const TPoint p = Point(X, Y);
    if (FIndex == -1) return PtInRect(Rect(1, 1, Width() - 1, FDefaultCaptionHeight), p);
    return PtInRect(NewCaptionRect, p) || PtInRect(NewRollUpMarkerRect, p);
}

void TqxSkinPanel::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    if (AButton == mbLeft && FCaptionMode && (FRollUpMode || FCheckedMode) && CaptionHit(X, Y)) {
        if (FCheckedMode) SetChecked(!FChecked);
        if (FRollUpMode) SetRollUpState(!FRollUpState);
    }
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
}

// Geometry.

const TqxDataSkinPanelControl* TqxSkinPanel::PanelElement() const {
    return FIndex == -1 ? nullptr
                        : dynamic_cast<const TqxDataSkinPanelControl*>(SkinData()->CtrlList[FIndex]);
}

void TqxSkinPanel::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    const TqxDataSkinPanelControl* e = PanelElement();
    if (!e) return;
    CaptionRect = e->CaptionRect;
    Alignment = e->Alignment;
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    FontColor = e->FontColor;
    BGPictureIndex = e->BGPictureIndex;
    CheckImageRect = e->CheckImageRect;
    UnCheckImageRect = e->UnCheckImageRect;
    MarkFrameRect = e->MarkFrameRect;
    FrameRect = e->FrameRect;
    FrameLeftOffset = e->FrameLeftOffset;
    FrameRightOffset = e->FrameRightOffset;
    FrameTextRect = e->FrameTextRect;
}

void TqxSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TqxSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

void TqxSkinPanel::AdjustClientRect(TRect& ARect) {
    TqxSkinCustomControl::AdjustClientRect(ARect);
    if (FEmptyDrawing) return;
    GetSkinData();
    if (FIndex == -1 || Designing(this)) {
        if (FBorderStyle != TqxSkinBorderStyle::bvNone)
            ARect = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                ARect.Bottom -= FDefaultCaptionHeight;
            else
                ARect.Top += FDefaultCaptionHeight;
        }
        return;
    }
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    if (BGPictureIndex == -1 &&
        (FBorderStyle != TqxSkinBorderStyle::bvNone || FCaptionMode || ResizeMode != 1))
        ARect = NewClRect;
    if (!FUseSkinSize && FCaptionMode) {
        if (FRibbonStyle)
            ARect.Bottom = Height() - FDefaultCaptionHeight;
        else
            ARect.Top = FDefaultCaptionHeight;
    }
}

void TqxSkinPanel::GetSkinClientRect(TRect& R) {
    R = Rect(0, 0, Width(), Height());
    AdjustClientRect(R);
}

void TqxSkinPanel::CreateParams(TCreateParams& AParams) {
    TqxSkinCustomControl::CreateParams(AParams);
    AParams.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// Painting.

void TqxSkinPanel::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    if (FEmptyDrawing && !Designing(this)) return;
    GetSkinData();
    const bool skinned = FIndex != -1;
    if (skinned && !FUseSkinSize && !FTransparentMode && FCaptionMode) return PaintWithPanelBody();
    if (skinned && FTransparentMode) return PaintTransparent(FCaptionMode);
    if (!skinned || (!ForcebackGround && StretchEffect)) return TqxSkinCustomControl::Paint();
    if (FBorderStyle == TqxSkinBorderStyle::bvNone && ResizeMode == 1 && !FCaptionMode && ForcebackGround)
        return PaintPlainBackground();
    if (BGPictureIndex == -1 || !SkinData()->GetActivePicture(BGPictureIndex))
        return TqxSkinCustomControl::Paint();
    PaintBackgroundPicture();
}

void TqxSkinPanel::PaintWithPanelBody() {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    const String own = SkinDataName();
    SetSkinDataName(u"panel");
    GetSkinData();
    if (FIndex != -1 && Picture) {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        BuildNinePartFace(*this, &bitmap, Picture, SkinRect, Width(), Height());
    }
    SetSkinDataName(own);
    GetSkinData();
    // The caption strip over the body's client area, from the element's own
    // caption picture less its one-pixel edge.
    const Integer stripHeight = FDefaultCaptionHeight - NewClRect.Top - 1;
    const TRect source = Rect(SkinRect.Left + CaptionRect.Left + 1, SkinRect.Top + CaptionRect.Top + 1,
                              SkinRect.Left + CaptionRect.Right - 1, SkinRect.Top + CaptionRect.Bottom - 1);
    if (Picture && stripHeight > 0 && NewClRect.Width() > 0 && !IsRectDegenerate(source)) {
        TBitmap strip;
        CopySkinPiece(Picture, source, &strip);
        bitmap.Canvas()->StretchDraw(Bounds(NewClRect.Left, NewClRect.Top, NewClRect.Width(), stripHeight),
                                     &strip);
    }
    NewCaptionRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, FDefaultCaptionHeight - 1);
    CreateControlSkinImage(&bitmap);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinPanel::PaintTransparent(bool ACaption) {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    TCanvas* canvas = bitmap.Canvas();
    PaintParentBackground(this, canvas);
    if (ACaption) {
        DrawTransparentCaptionFrame(canvas);
    } else if (FBorderStyle != TqxSkinBorderStyle::bvNone) {
        canvas->Pen()->SetColor(SkinData()->SkinColors()->cBtnShadow());
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(Rect(0, 0, Width(), Height()));
    }
    PanelPaint(canvas);
    Canvas()->Draw(0, 0, &bitmap);
}

void TqxSkinPanel::DrawBackgroundPiece(TCanvas* ACanvas, TBitmap* APiece, const TRect& AArea) {
    DrawSkinPiece(ACanvas, APiece, AArea, StretchEffect, StretchType);
}

void TqxSkinPanel::PaintPlainBackground() {
    TBitmap piece;
    CopySkinPiece(Picture,
                  Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                       SkinRect.Top + ClRect.Bottom),
                  &piece);
    DrawBackgroundPiece(Canvas(), &piece, Rect(0, 0, Width(), Height()));
}

void TqxSkinPanel::PaintBackgroundPicture() {
    TBitmap* picture = SkinData()->GetActivePicture(BGPictureIndex);
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    const bool full = StretchEffect && StretchType == qxstFull;
    DrawBackgroundPiece(Canvas(), picture, full ? NewClRect : Rect(0, 0, Width(), Height()));
}

void TqxSkinPanel::SetupCaptionFont(TCanvas* ACanvas) {
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

bool TqxSkinPanel::HasCaptionImage() const {
    if (!FGlyph->Empty()) return true;
    return FCaptionImageList && FCaptionImageIndex >= 0 && FCaptionImageIndex < FCaptionImageList->Count();
}

Integer TqxSkinPanel::CaptionImageWidth() const {
    if (!FGlyph->Empty()) return FGlyph->Width() / std::max(1, FNumGlyphs);
    return HasCaptionImage() ? FCaptionImageList->Width() : 0;
}

void TqxSkinPanel::DrawCaptionImage(TCanvas* ACanvas, Integer X, Integer Y) {
    if (!FGlyph->Empty())
        DrawGlyphFromStrip(ACanvas, X, Y, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
    else if (HasCaptionImage())
        FCaptionImageList->Draw(ACanvas, X, Y, FCaptionImageIndex, true);
}

void TqxSkinPanel::CreateControlDefaultImage(TBitmap* B) {
    TqxSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* canvas = B->Canvas();
    const Integer w = Width(), h = Height();
    const TRect whole = Rect(0, 0, w, h);
    switch (FBorderStyle) {
        case TqxSkinBorderStyle::bvFrame:
            DrawFrame3D(canvas, whole, clBtnShadow, clBtnShadow);
            break;
        case TqxSkinBorderStyle::bvRaised:
            DrawFrame3D(canvas, whole, clBtnHighlight, clBtnShadow);
            break;
        case TqxSkinBorderStyle::bvLowered:
            DrawFrame3D(canvas, whole, clBtnShadow, clBtnHighlight);
            break;
        case TqxSkinBorderStyle::bvNone:
            break;
    }
    if (!FCaptionMode) return;
    const bool inset =
        FBorderStyle == TqxSkinBorderStyle::bvRaised || FBorderStyle == TqxSkinBorderStyle::bvLowered;
    const Integer m = inset ? 1 : 0;
    const TRect strip = FRibbonStyle ? Rect(m, h - FDefaultCaptionHeight, w - m, h - m)
                                     : Rect(m, m, w - m, FDefaultCaptionHeight);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FillRect(strip);
    TRect area = strip;
    if (FCheckedMode) area.Left += 20;
    if (FRollUpMode) area.Right -= RollUpMarkerWidth;
    const Integer centre = strip.Top + strip.Height() / 2;
    if (FCheckedMode) {
        const TRect box = Bounds(5, centre - 6, 13, 13);
        canvas->Brush()->SetColor(clWindow);
        canvas->FillRect(box);
        if (FChecked) DrawCheckMark(canvas, box.Left + 3, box.Top + 2, clBtnText);
    }
    SetupCaptionFont(canvas);
    const String caption = Caption();
    const Integer textWidth = canvas->TextWidth(caption),
                  textHeight = canvas->TextHeight(caption.empty() ? u"A" : caption);
    const bool image = HasCaptionImage();
    const Integer imageWidth = CaptionImageWidth();
    const Integer contentWidth = textWidth + (image ? imageWidth + FSpacing : 0);
    Integer x = area.Left + 4;
    if (FDefaultAlignment == taRightJustify)
        x = area.Right - contentWidth;
    else if (FDefaultAlignment == taCenter)
        x = area.Left + 4 + (area.Right - area.Left - 4 - contentWidth) / 2;
    const Integer y = centre - textHeight / 2 - 1;
    if (image) {
        const Integer imageHeight = !FGlyph->Empty() ? FGlyph->Height() : FCaptionImageList->Height();
        DrawCaptionImage(canvas, x, centre - imageHeight / 2);
        x += imageWidth + FSpacing;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(area, x, y, caption);
    if (FRollUpMode)
        DrawArrow(canvas, Rect(area.Right, strip.Top, area.Right + 6, strip.Bottom), clBtnText,
                  FRealHeight != -1 ? 4 : 3);
}

void TqxSkinPanel::CreateControlSkinImage(TBitmap* B) {
    if (FBorderStyle != TqxSkinBorderStyle::bvNone || ResizeMode != 1 || FCaptionMode || StretchEffect) {
        TqxSkinCustomControl::CreateControlSkinImage(B);
        if (FUseSkinSize) {
            if (ResizeMode < 1)
                NewCaptionRect = CaptionRect;
            else if (!FTransparentMode)
                NewCaptionRect = MapSkinRect(CaptionRect);
        }
        if (!Caption().empty() && !IsRectDegenerate(CaptionRect)) DrawSkinCaption(B->Canvas());
        return;
    }
    // A borderless, captionless element: its client piece tiled, cut at the edges.
    TBitmap piece;
    CopySkinPiece(Picture,
                  Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                       SkinRect.Top + ClRect.Bottom),
                  &piece);
    DrawSkinPiece(B->Canvas(), &piece, Rect(0, 0, B->Width(), B->Height()), false, qxstFull);
}

void TqxSkinPanel::DrawSkinCaption(TCanvas* ACanvas) {
    TRect r = NewCaptionRect;
    if (FRollUpMode) r.Right -= 12;
    if (FCheckedMode) {
        const TRect& check = FChecked ? CheckImageRect : UnCheckImageRect;
        if (!IsRectDegenerate(check)) {
            DrawTransparentPiece(ACanvas, Picture, check, r.Left, r.Top + (r.Height() - check.Height()) / 2);
            r.Left += check.Width() + 2;
        }
    }
    SetupCaptionFont(ACanvas);
    ACanvas->Font()->SetColor(FontColor);
    const String caption = Caption();
    const Integer textWidth = ACanvas->TextWidth(caption);
    const Integer y =
        r.Top + (r.Height() - ACanvas->TextHeight(caption)) / 2 - (IsOddFontHeight(ACanvas) ? 1 : 0);
    const bool image = HasCaptionImage();
    const Integer imageWidth = CaptionImageWidth();
    const Integer contentWidth = textWidth + (image ? imageWidth + FSpacing : 0);
    Integer x = r.Left;
    if (Alignment == taRightJustify)
        x = r.Right - contentWidth;
    else if (Alignment == taCenter)
        x = r.Left + (r.Width() - contentWidth) / 2;
    Integer imageX = x, textX = x;
    if (image) {
        if (FImagePosition == qxipLeft) {
            imageX = r.Left + 2;
            textX = Alignment == taLeftJustify
                        ? imageX + imageWidth + FSpacing
                        : std::max(x + imageWidth + FSpacing, imageX + imageWidth + FSpacing);
        } else {
            textX = x + imageWidth + FSpacing;
        }
    }
    if (FRollUpMode) {
        NewRollUpMarkerRect = Rect(r.Right, r.Top, r.Right + RollUpMarkerWidth, r.Bottom);
        if (!IsRectDegenerate(MarkFrameRect))
            DrawTransparentPiece(ACanvas, Picture, MarkFrameRect, r.Right,
                                 r.Top + (r.Height() - MarkFrameRect.Height()) / 2);
        DrawArrow(ACanvas, NewRollUpMarkerRect, FontColor, FRealHeight != -1 ? 4 : 3);
    } else {
        NewRollUpMarkerRect = TRect{};
    }
    if (!IsRectDegenerate(FrameRect) && Picture) {
        const Integer e = FrameRect.Width() - FrameTextRect.Width();
        TBitmap frame;
        BuildHorzThreePartImage(FrameLeftOffset, FrameRightOffset, &frame, Picture, FrameRect, textWidth + e,
                                FrameRect.Height(), false);
        Integer frameX = textX;
        if (Alignment == taLeftJustify) {
            textX = frameX + FrameTextRect.Left;
        } else if (Alignment == taRightJustify) {
            frameX = textX - e;
            textX = frameX + FrameTextRect.Left;
            imageX -= e;
        } else {
            frameX = textX - FrameTextRect.Left - 2;
            textX -= 2;
            imageX -= FrameTextRect.Left;
        }
        ACanvas->Draw(frameX, CaptionRect.Top, &frame);
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextRect(r, textX, y, caption);
    if (image) {
        const Integer imageHeight = !FGlyph->Empty() ? FGlyph->Height() : FCaptionImageList->Height();
        DrawCaptionImage(ACanvas, imageX, r.Top + (r.Height() - imageHeight) / 2);
    }
}

void TqxSkinPanel::DrawTransparentCaptionFrame(TCanvas* ACanvas) {
    TqxSkinColors* colors = SkinData()->SkinColors();
    SetupCaptionFont(ACanvas);
    const Integer label = SkinData()->GetControlIndex(u"stdlabel");
    const auto* stdLabel =
        label == -1 ? nullptr : dynamic_cast<const TqxDataSkinStdLabelControl*>(SkinData()->CtrlList[label]);
    ACanvas->Font()->SetColor(stdLabel ? stdLabel->FontColor : colors->cBtnText());
    const String caption = Caption();
    const Integer textHeight = ACanvas->TextHeight(caption.empty() ? u"A" : caption);
    const Integer textWidth = ACanvas->TextWidth(caption);
    const Integer stripHeight = textHeight + 5;
    NewCaptionRect = Rect(5, 0, Width(), stripHeight);
    Integer x = 5;
    if (FCheckedMode) {
        const TRect& check = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawTransparentPiece(ACanvas, Picture, check, 5, (stripHeight - check.Height()) / 2);
        x = check.Width() + 10;
    }
    if (HasCaptionImage()) {
        const Integer imageHeight = !FGlyph->Empty() ? FGlyph->Height() : FCaptionImageList->Height();
        DrawCaptionImage(ACanvas, x, (stripHeight - imageHeight) / 2);
        x += CaptionImageWidth() + 2;
    }
    DrawTextOneLine(ACanvas, caption, Rect(x, 0, Width(), stripHeight));
    // The marker and the line after the text follow the text where it
    // really ends, after a check box or an image too.
    const Integer textEnd = x + textWidth;
    if (FRollUpMode) {
        NewRollUpMarkerRect = Rect(textEnd + 3, 0, textEnd + 10, stripHeight);
        DrawArrow(ACanvas, NewRollUpMarkerRect, ACanvas->Font()->Color(), FRealHeight != -1 ? 4 : 3);
    }
    ACanvas->Pen()->SetColor(colors->cBtnShadow());
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Brush()->SetStyle(bsClear);
    const Integer y = stripHeight / 2;
    ACanvas->MoveTo(0, y);
    ACanvas->LineTo(5, y);
    ACanvas->MoveTo(textEnd + (FRollUpMode ? 12 : 3), y);
    ACanvas->LineTo(Width() - 1, y);
    ACanvas->LineTo(Width() - 1, Height() - 1);
    ACanvas->LineTo(0, Height() - 1);
    ACanvas->LineTo(0, y);
}

void TqxSkinPanel::PaintSkinTo(TCanvas* C, Integer X, Integer Y) {
    GetSkinData();
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    // The whole look goes into the one bitmap, frame included.
    const bool force = ForcebackGround;
    ForcebackGround = false;
    if (FIndex == -1) {
        CreateControlDefaultImage(&bitmap);
    } else {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        CreateControlSkinImage(&bitmap);
    }
    ForcebackGround = force;
    C->Draw(X, Y, &bitmap);
}

// Messages.

void TqxSkinPanel::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    if (FRealHeight == -1) return Realign();
    // Rolled up: the new skin's caption height.
    FInChangingRollUp = true;
    SetHeight(RolledHeight());
    FInChangingRollUp = false;
}

void TqxSkinPanel::CheckParentBackground() {
    if (!FTransparentMode) return;
    Repaint();
    BroadcastParentBackground();
}

void TqxSkinPanel::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_ENABLEDCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case CM_TEXTCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (FCaptionMode) Repaint();
            return;
        case WM_MOVE:
            TqxSkinCustomControl::Dispatch(AMessage);
            CheckParentBackground();
            return;
        default:
            TqxSkinCustomControl::Dispatch(AMessage);
    }
}

// TqxSkinPaintPanel

TqxSkinPaintPanel::TqxSkinPaintPanel(TComponent* AOwner) : TqxSkinPanel(AOwner) {
    ForcebackGround = false;
}

void TqxSkinPaintPanel::PanelPaint(TCanvas* ACanvas) {
    if (!OnPanelPaint) return;
    TRect r;
    GetSkinClientRect(r);
    OnPanelPaint(ACanvas, r);
}

void TqxSkinPaintPanel::CreateControlDefaultImage(TBitmap* B) {
    TqxSkinPanel::CreateControlDefaultImage(B);
    PanelPaint(B->Canvas());
}

void TqxSkinPaintPanel::CreateControlSkinImage(TBitmap* B) {
    TqxSkinPanel::CreateControlSkinImage(B);
    PanelPaint(B->Canvas());
}

void TqxSkinPaintPanel::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == WM_ERASEBKGND) return PaintIntoEraseDC(AMessage);
    TqxSkinPanel::Dispatch(AMessage);
}

// TqxSkinGroupBox

TqxSkinGroupBox::TqxSkinGroupBox(TComponent* AOwner) : TqxSkinPanel(AOwner) {
    SetSkinDataName(u"groupbox");
    SetCaptionMode(true);
}

void TqxSkinGroupBox::GetSkinData() {
    TqxSkinPanel::GetSkinData();
    // A caption under the client area is not in the top strip the
    // container painting draws it into.
    if (PanelElement() && ClRect.Bottom <= CaptionRect.Top) ForcebackGround = false;
}

namespace {

const auto Registered = [] {
    RegisterEnum<TqxSkinBorderStyle>({u"bvFrame", u"bvRaised", u"bvLowered", u"bvNone"});
    RegisterEnum<TqxImagePosition>({u"qxipDefault", u"qxipLeft"});
    using P = TqxSkinPanel;
    RegisterClass<P, TqxSkinCustomControl>()
        .Property(u"UseSkinSize", &P::UseSkinSize, &P::SetUseSkinSize)
        .Property(u"EmptyDrawing", &P::EmptyDrawing, &P::SetEmptyDrawing)
        .Property(u"RibbonStyle", &P::RibbonStyle, &P::SetRibbonStyle)
        .Property(u"ImagePosition", &P::ImagePosition, &P::SetImagePosition)
        .Property(u"TransparentMode", &P::TransparentMode, &P::SetTransparentMode)
        .Property(u"CaptionImageList", &P::CaptionImageList, &P::SetCaptionImageList)
        .Property(u"CaptionImageIndex", &P::CaptionImageIndex, &P::SetCaptionImageIndex)
        .Property(u"AutoEnabledControls", &P::AutoEnabledControls, &P::SetAutoEnabledControls)
        .Property(u"CheckedMode", &P::CheckedMode, &P::SetCheckedMode)
        .Property(u"Checked", &P::Checked, &P::SetChecked)
        .Property(u"DefaultAlignment", &P::DefaultAlignment, &P::SetDefaultAlignment)
        .Property(u"DefaultCaptionHeight", &P::DefaultCaptionHeight, &P::SetDefaultCaptionHeight)
        .Property(u"BorderStyle", &P::BorderStyle, &P::SetBorderStyle)
        .Property(u"CaptionMode", &P::CaptionMode, &P::SetCaptionMode)
        .Property(u"RollUpMode", &P::RollUpMode, &P::SetRollUpMode)
        .Property(u"RollUpState", &P::RollUpState, &P::SetRollUpState)
        .Property(u"Glyph", &P::Glyph)
        .Property(u"NumGlyphs", &P::NumGlyphs, &P::SetNumGlyphs)
        .Property(u"Spacing", &P::Spacing, &P::SetSpacing)
        .Event(u"OnChecked", &P::OnChecked)
        .Event(u"OnChangeRollUpState", &P::OnChangeRollUpState);
    RegisterClass<TqxSkinPaintPanel, P>().Event(u"OnPanelPaint", &TqxSkinPaintPanel::OnPanelPaint);
    RegisterClass<TqxSkinGroupBox, P>();
    return true;
}();

}  // namespace
