#include "skin/controls/qxskingeometry.h"

#include "platform/toolkit/controls.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxmaskregions.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxutils.h"

Integer GetResizeMode(const TqxSkinGeometry& G) {
    if (IsRectDegenerate(G.SkinRect)) return -1;
    if (G.RBPt.X != 0 && G.RBPt.Y != 0) return 1;
    if (G.RTPt.X != 0 || G.RTPt.Y != 0) return 2;
    if (G.LBPt.X != 0 || G.LBPt.Y != 0) return 3;
    return 0;
}

void CopyElementGeometry(TqxSkinGeometry& G, const TqxDataSkinCustomControl& AElement) {
    G.LTPt = AElement.LTPoint;
    G.RTPt = AElement.RTPoint;
    G.LBPt = AElement.LBPoint;
    G.RBPt = AElement.RBPoint;
    G.SkinRect = AElement.SkinRect;
    G.StretchEffect = AElement.StretchEffect;
    G.StretchType = AElement.StretchType;
    G.LeftStretch = AElement.LeftStretch;
    G.TopStretch = AElement.TopStretch;
    G.RightStretch = AElement.RightStretch;
    G.BottomStretch = AElement.BottomStretch;
    G.ClRect = AElement.ClRect;
    G.ResizeMode = GetResizeMode(G);
}

void CalcSize(TqxSkinGeometry& G, bool AHasElement, Integer& AWidth, Integer& AHeight) {
    if (G.ResizeMode == -1 || (G.ResizeMode == 0 && !AHasElement)) return;
    const Integer dW = AWidth - G.SkinRect.Width(), dH = AHeight - G.SkinRect.Height();
    switch (G.ResizeMode) {
        case 0:
            AWidth = G.SkinRect.Width();
            AHeight = G.SkinRect.Height();
            G.NewClRect = G.ClRect;
            break;
        case 1:
            G.NewLTPoint = G.LTPt;
            G.NewRTPoint = Point(G.RTPt.X + dW, G.RTPt.Y);
            G.NewLBPoint = Point(G.LBPt.X, G.LBPt.Y + dH);
            G.NewRBPoint = Point(G.RBPt.X + dW, G.RBPt.Y + dH);
            G.NewClRect = Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dW, G.ClRect.Bottom + dH);
            break;
        case 2:
            AHeight = G.SkinRect.Height();
            G.NewLTPoint = G.LTPt;
            G.NewRTPoint = Point(G.RTPt.X + dW, G.RTPt.Y);
            G.NewClRect = Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dW, G.ClRect.Bottom);
            break;
        case 3:
            AWidth = G.SkinRect.Width();
            G.NewLTPoint = G.LTPt;
            G.NewLBPoint = Point(G.LBPt.X, G.LBPt.Y + dH);
            G.NewClRect = Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right, G.ClRect.Bottom + dH);
            break;
        default:
            break;
    }
}

void CreateSkinImage(const TqxSkinGeometry& G, TBitmap* ABitmap, TBitmap* APicture, const TRect& ARect,
                     Integer AWidth, Integer AHeight, bool ANinePart) {
    if (!ABitmap || !APicture) return;
    switch (G.ResizeMode) {
        case 0:
            ABitmap->SetSize(ARect.Width(), ARect.Height());
            ABitmap->Canvas()->CopyRect(Rect(0, 0, ARect.Width(), ARect.Height()), APicture->Canvas(), ARect);
            break;
        case 1:
            if (!ANinePart) break;
            BuildNinePartImage(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.NewLTPoint, G.NewRTPoint,
                               G.NewLBPoint, G.NewRBPoint, G.NewClRect, ABitmap, APicture, ARect, AWidth,
                               AHeight, true, G.LeftStretch, G.TopStretch, G.RightStretch, G.BottomStretch,
                               G.StretchEffect, G.StretchType);
            break;
        case 2:
            BuildHorzThreePartImage(G.LTPt.X, G.SkinRect.Width() - G.RTPt.X, ABitmap, APicture, ARect, AWidth,
                                    AHeight, G.StretchEffect);
            break;
        case 3:
            BuildVertThreePartImage(G.LTPt.Y, G.SkinRect.Height() - G.LBPt.Y, ABitmap, APicture, ARect,
                                    AWidth, AHeight, G.StretchEffect);
            break;
        default:
            break;
    }
}

namespace {

TRect Moved(const TRect& R, Integer ADx, Integer ADy) {
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

TRect MapNinePart(const TqxSkinGeometry& G, const TRect& R, Integer dW, Integer dH) {
    const Integer w = G.SkinRect.Width(), h = G.SkinRect.Height();
    const TRect leftTop = Rect(0, 0, G.LTPt.X, G.LTPt.Y);
    const TRect rightTop = Rect(G.RTPt.X, 0, w, G.RTPt.Y);
    const TRect leftBottom = Rect(0, G.LBPt.Y, G.LBPt.X, h);
    const TRect rightBottom = Rect(G.RBPt.X, G.RBPt.Y, w, h);
    if (RectInRect(R, leftTop)) return R;
    if (RectInRect(R, rightTop)) return Moved(R, dW, 0);
    if (RectInRect(R, leftBottom)) return Moved(R, 0, dH);
    if (RectInRect(R, rightBottom)) return Moved(R, dW, dH);
    const TPoint a = R.TopLeft(), b = R.BottomRight();
    TRect r = R;
    if (PointInsideRect(leftTop, a) && PointInsideRect(rightBottom, b)) {
        r.Right += dW;
        r.Bottom += dH;
    } else if (PointInsideRect(leftTop, a) && PointInsideRect(rightTop, b)) {
        r.Right += dW;
    } else if (PointInsideRect(leftBottom, a) && PointInsideRect(rightBottom, b)) {
        r.Right += dW;
        r = Moved(r, 0, dH);
    } else if (PointInsideRect(leftTop, a) && PointInsideRect(leftBottom, b)) {
        r.Bottom += dH;
    } else if (PointInsideRect(rightTop, a) && PointInsideRect(rightBottom, b)) {
        r = Moved(r, dW, 0);
        r.Bottom += dH;
    }
    return r;
}

}  // namespace

TRect MapSkinRect(const TqxSkinGeometry& G, const TRect& ARect, Integer AWidth, Integer AHeight) {
    const Integer dW = AWidth - G.SkinRect.Width(), dH = AHeight - G.SkinRect.Height();
    TRect r = ARect;
    switch (G.ResizeMode) {
        case 1:
            return MapNinePart(G, ARect, dW, dH);
        case 2:
            if (ARect.Left <= G.LTPt.X && ARect.Right >= G.RTPt.X)
                r.Right += dW;
            else if (ARect.Left >= G.RTPt.X && ARect.Right > G.RTPt.X)
                r = Moved(ARect, dW, 0);
            return r;
        case 3:
            if (ARect.Top <= G.LTPt.Y && ARect.Bottom >= G.LBPt.Y)
                r.Bottom += dH;
            else if (ARect.Top >= G.LBPt.Y && ARect.Bottom > G.LBPt.Y)
                r = Moved(ARect, 0, dH);
            return r;
        default:
            return r;
    }
}

win::HRGN CreateControlRegion(const TqxSkinGeometry& G, TBitmap* AMask, Integer AWidth, Integer AHeight) {
    if (!AMask || AMask->Empty()) return nullptr;
    win::HRGN region = nullptr;
    switch (G.ResizeMode) {
        case 0:
            CreateMaskRegion(region, AMask);
            break;
        case 1:
            CreateResizedMaskRegion(region, G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.NewLTPoint,
                                    G.NewRTPoint, G.NewLBPoint, G.NewRBPoint, G.NewClRect, AMask, AWidth,
                                    AHeight);
            break;
        case 2: {
            // The bottom points are the top ones: one row of border strips.
            const TPoint right = Point(AWidth + G.RTPt.X - G.SkinRect.Width(), G.RTPt.Y);
            CreateResizedMaskRegion(region, G.LTPt, G.RTPt, G.LTPt, G.RTPt, G.ClRect, G.LTPt, right, G.LTPt,
                                    right, G.NewClRect, AMask, AWidth, AHeight);
            break;
        }
        case 3: {
            const TPoint bottom = Point(G.LBPt.X, AHeight + G.LBPt.Y - G.SkinRect.Height());
            CreateResizedMaskRegion(region, G.LTPt, G.LTPt, G.LBPt, G.LBPt, G.ClRect, G.LTPt, G.LTPt, bottom,
                                    bottom, G.NewClRect, AMask, AWidth, AHeight);
            break;
        }
        default:
            break;
    }
    return region;
}

const TqxDataSkinButtonControl* FindButtonElement(const TqxSkinData* ASkinData,
                                                  std::initializer_list<const char16_t*> ANames,
                                                  TBitmap*& APicture) {
    APicture = nullptr;
    if (!ASkinData || ASkinData->Empty) return nullptr;
    for (const char16_t* name : ANames) {
        const Integer index = ASkinData->GetControlIndex(name);
        if (index < 0) continue;
        if (const auto* element = dynamic_cast<const TqxDataSkinButtonControl*>(ASkinData->CtrlList[index])) {
            APicture = ASkinData->GetActivePicture(element->PictureIndex);
            return element;
        }
    }
    return nullptr;
}

const TRect& ButtonStateRect(const TqxDataSkinButtonControl& AElement, bool APressed, bool AHot) {
    if (APressed && !IsRectDegenerate(AElement.DownSkinRect)) return AElement.DownSkinRect;
    if ((APressed || AHot) && !IsRectDegenerate(AElement.ActiveSkinRect)) return AElement.ActiveSkinRect;
    return AElement.SkinRect;
}

void BuildButtonElementImage(const TqxDataSkinButtonControl& E, TBitmap* APicture, const TRect& ASource,
                             Integer AWidth, Integer AHeight, TBitmap* ABitmap) {
    const Integer dW = AWidth - E.SkinRect.Width(), dH = AHeight - E.SkinRect.Height();
    BuildNinePartImage(E.LTPoint, E.RTPoint, E.LBPoint, E.RBPoint, E.ClRect, E.LTPoint,
                       Point(E.RTPoint.X + dW, E.RTPoint.Y), Point(E.LBPoint.X, E.LBPoint.Y + dH),
                       Point(E.RBPoint.X + dW, E.RBPoint.Y + dH),
                       Rect(E.ClRect.Left, E.ClRect.Top, E.ClRect.Right + dW, E.ClRect.Bottom + dH), ABitmap, APicture,
                       ASource, AWidth, AHeight, true, E.LeftStretch, E.TopStretch, E.RightStretch, E.BottomStretch,
                       E.StretchEffect, E.StretchType);
}

void SetToolButtonElementFont(TFont* AFont, const TqxDataSkinButtonControl& AElement, bool AUseSkinFont,
                              TFont* ADefaultFont, const TqxSkinData* ASkinData, bool ADropDown, bool AHot,
                              bool AEnabled) {
    if (AUseSkinFont) {
        AFont->SetName(AElement.FontName);
        AFont->SetStyle(AElement.FontStyle);
        AFont->SetHeight(AElement.FontHeight);
    } else {
        AFont->Assign(ADefaultFont);
    }
    AFont->SetCharset(SkinTextCharset(ASkinData, ADefaultFont));
    AFont->SetColor(ADropDown ? AElement.DownFontColor
                    : AHot    ? AElement.ActiveFontColor
                    : AEnabled ? AElement.FontColor
                               : AElement.DisabledFontColor);
}

void DrawSkinPiece(TCanvas* ACanvas, TBitmap* APiece, const TRect& AArea, bool AStretchEffect,
                   TqxStretchType AStretchType) {
    const Integer pw = APiece->Width(), ph = APiece->Height();
    if (pw <= 0 || ph <= 0) return;
    const TRect& r = AArea;
    if (!AStretchEffect) {
        for (Integer row = 0; row <= r.Height() / ph; ++row)
            for (Integer column = 0; column <= r.Width() / pw; ++column)
                ACanvas->Draw(r.Left + column * pw, r.Top + row * ph, APiece);
        return;
    }
    if (IsRectDegenerate(r)) return;
    switch (AStretchType) {
        case qxstFull:
            ACanvas->StretchDraw(r, APiece);
            break;
        case qxstHorz:
            for (Integer i = 0; i <= r.Width() / pw; ++i)
                ACanvas->StretchDraw(Bounds(r.Left + i * pw, r.Top, pw, r.Height()), APiece);
            break;
        case qxstVert:
            for (Integer i = 0; i <= r.Height() / ph; ++i)
                ACanvas->StretchDraw(Bounds(r.Left, r.Top + i * ph, r.Width(), ph), APiece);
            break;
    }
}

void CopySkinPiece(TBitmap* APicture, const TRect& ARect, TBitmap* APiece) {
    if (!APicture || IsRectDegenerate(ARect)) {
        APiece->SetSize(0, 0);
        return;
    }
    APiece->SetSize(ARect.Width(), ARect.Height());
    APiece->Canvas()->CopyRect(Rect(0, 0, ARect.Width(), ARect.Height()), APicture->Canvas(), ARect);
}

Integer AdjustedControlTop(TWinControl* AParent, Integer ATop, Integer AHeight) {
    auto* parent = dynamic_cast<IqxSkinControlsParent*>(AParent);
    TRect r;
    if (!parent || !parent->AdjustControlsRect(r)) return ATop;
    return r.Top + r.Height() / 2 - AHeight / 2;
}
