#include "skin/controls/qxskinsplitters.h"

#include "platform/toolkit/published.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxutils.h"

namespace {

// The element's index in a usable skin, -1 for none.
Integer ElementIndex(TqxSkinData* ASkinData, const String& AName) {
    return !ASkinData || ASkinData->Empty ? -1 : ASkinData->GetControlIndex(AName);
}

}  // namespace

// TqxSkinSplitter

TqxSkinSplitter::TqxSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) {
    FControlStyle.Include(csOpaque);
}

void TqxSkinSplitter::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    ChangeSkinData();
}

void TqxSkinSplitter::Notification(TComponent* AComponent, TOperation AOperation) {
    TSplitter::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSD) {
        FSD = nullptr;
        FSkinPicture = nullptr;
        FIndex = -1;
    }
}

void TqxSkinSplitter::SetTransparent(bool AValue) {
    if (AValue == FTransparent) return;
    FTransparent = AValue;
    if (AValue)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Repaint();
}

void TqxSkinSplitter::GetSkinData() {
    FIndex = ElementIndex(FSD, FSkinDataName);
    FSkinPicture = nullptr;
    const auto* e =
        FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinSplitterControl*>(FSD->CtrlList[FIndex]);
    if (!e) return;
    LTPt = e->LTPoint;
    RTPt = e->RTPoint;
    LBPt = e->LBPoint;
    SkinRect = e->SkinRect;
    StretchEffect = e->StretchEffect;
    FSkinPicture = FSD->GetActivePicture(e->PictureIndex);
    GripperRect = e->GripperRect;
    GripperTransparent = e->GripperTransparent;
    GripperTransparentColor = e->GripperTransparentColor;
}

void TqxSkinSplitter::ChangeSkinData() {
    GetSkinData();
    const bool own = FIndex != -1 && !FTransparent && !IsRectDegenerate(SkinRect);
    if (Across())
        SetHeight(own ? SkinRect.Height() : FDefaultSize);
    else
        SetWidth(own ? SkinRect.Width() : FDefaultSize);
    Repaint();
}

void TqxSkinSplitter::Paint() {
    if (FTransparent || Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1 || !FSkinPicture || Align() == alNone || Align() == alClient) return TSplitter::Paint();
    TBitmap image;
    if (Across())
        BuildHorzThreePartImage(LTPt.X, SkinRect.Width() - RTPt.X, &image, FSkinPicture, SkinRect, Width(),
                                SkinRect.Height(), StretchEffect);
    else
        BuildVertThreePartImage(LTPt.Y, SkinRect.Height() - LBPt.Y, &image, FSkinPicture, SkinRect,
                                SkinRect.Width(), Height(), StretchEffect);
    if (!IsRectDegenerate(GripperRect)) {
        TBitmap grip;
        CopySkinPiece(FSkinPicture, GripperRect, &grip);
        if (GripperTransparent) {
            grip.SetTransparentColor(GripperTransparentColor);
            grip.SetTransparent(true);
        }
        image.Canvas()->Draw(image.Width() / 2 - grip.Width() / 2, image.Height() / 2 - grip.Height() / 2,
                             &grip);
    }
    Canvas()->Draw(0, 0, &image);
}

// TqxSkinBevel

TqxSkinBevel::TqxSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TqxSkinBevel::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    ChangeSkinData();
}

void TqxSkinBevel::Notification(TComponent* AComponent, TOperation AOperation) {
    TBevel::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TqxSkinBevel::SetDividerMode(bool AValue) {
    FDividerMode = AValue;
    Repaint();
}

void TqxSkinBevel::ChangeSkinData() {
    FIndex = ElementIndex(FSD, FSkinDataName);
    const auto* e = FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinBevel*>(FSD->CtrlList[FIndex]);
    LightColor = e ? e->LightColor : clBtnHighlight;
    DarkColor = e ? e->DarkColor : clBtnShadow;
    Repaint();
}

void TqxSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TBevel::SetBounds(ALeft, AdjustedControlTop(Parent(), ATop, AHeight), AWidth, AHeight);
}

void TqxSkinBevel::Line(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->MoveTo(X1, Y1);
    ACanvas->LineTo(X2, Y2);
}

void TqxSkinBevel::BevelRect(TCanvas* ACanvas, const TRect& R, TColor AFirst, TColor ASecond) {
    ACanvas->Pen()->SetColor(AFirst);
    const TPoint first[] = {Point(R.Left, R.Bottom), Point(R.Left, R.Top), Point(R.Right, R.Top)};
    ACanvas->Polyline(first);
    ACanvas->Pen()->SetColor(ASecond);
    const TPoint second[] = {Point(R.Right, R.Top), Point(R.Right, R.Bottom), Point(R.Left, R.Bottom)};
    ACanvas->Polyline(second);
}

void TqxSkinBevel::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    const bool lowered = Style() == bsLowered;
    const TColor first = lowered ? DarkColor : LightColor, second = lowered ? LightColor : DarkColor;
    const Integer w = Width(), h = Height();
    if (FDividerMode) {
        switch (Shape()) {
            case bsTopLine:
            case bsBottomLine:
                BevelRect(canvas, Rect(2, h / 2 - 1, w - 2, h / 2), first, second);
                break;
            case bsSpacer:
                break;
            default:
                BevelRect(canvas, Rect(w / 2 - 1, 2, w / 2, h - 2), first, second);
                break;
        }
        return;
    }
    switch (Shape()) {
        case bsBox:
            BevelRect(canvas, Rect(0, 0, w - 1, h - 1), first, second);
            break;
        case bsFrame:
            BevelRect(canvas, Rect(1, 1, w - 1, h - 1), second, second);
            BevelRect(canvas, Rect(0, 0, w - 2, h - 2), first, first);
            break;
        case bsTopLine:
            Line(canvas, 0, 0, w, 0, first);
            Line(canvas, 0, 1, w, 1, second);
            break;
        case bsBottomLine:
            Line(canvas, 0, h - 2, w, h - 2, first);
            Line(canvas, 0, h - 1, w, h - 1, second);
            break;
        case bsLeftLine:
            Line(canvas, 0, 0, 0, h, first);
            Line(canvas, 1, 0, 1, h, second);
            break;
        case bsRightLine:
            Line(canvas, w - 2, 0, w - 2, h, first);
            Line(canvas, w - 1, 0, w - 1, h, second);
            break;
        case bsSpacer:
            break;
    }
}

namespace {

const auto Registered = [] {
    using S = TqxSkinSplitter;
    RegisterClass<S, TSplitter>()
        .Property(u"SkinData", &S::SkinData, &S::SetSkinData)
        .Property(u"SkinDataName", &S::SkinDataName, &S::SetSkinDataName)
        .Property(u"Transparent", &S::Transparent, &S::SetTransparent)
        .Property(u"DefaultSize", &S::DefaultSize, &S::SetDefaultSize);
    using B = TqxSkinBevel;
    RegisterClass<B, TBevel>()
        .Property(u"SkinData", &B::SkinData, &B::SetSkinData)
        .Property(u"SkinDataName", &B::SkinDataName, &B::SetSkinDataName)
        .Property(u"DividerMode", &B::DividerMode, &B::SetDividerMode);
    return true;
}();

}  // namespace
