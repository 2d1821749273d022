#include "skin/core/qximagebuilders.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "skin/core/rects.h"

using namespace qxrects;

namespace {

// The corner points and inner rectangles of one resize, old and new.
struct TGeometry {
    TPoint LT, RT, LB, RB;
    TRect Cl;
    TPoint NewLT, NewRT, NewLB, NewRB;
    TRect NewCl;
};

// (X1, Y1)-(X2, Y2) of the skin rectangle S, in picture coordinates.
TRect Part(const TRect& S, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    return {S.Left + X1, S.Top + Y1, S.Left + X2, S.Top + Y2};
}

// The skin rectangle cut to its picture (nothing without one), so that no
// number in a skin sizes an image beyond the pictures the skin holds.
TRect CutToPicture(const TRect& S, TBitmap* APicture) {
    const TRect inside = APicture ? Intersect(S, {0, 0, APicture->Width(), APicture->Height()}) : TRect{};
    return IsEmpty(inside) ? TRect{} : inside;
}

// Scaled when the sizes differ. A rectangle of no size (or turned inside
// out by odd geometry, which would mirror) copies nothing.
void CopyPart(TBitmap* ADest, const TRect& ADestRect, TBitmap* ASource, const TRect& ASourceRect) {
    if (!ADest || !ASource || ASource->Empty() || IsEmpty(ADestRect) || IsEmpty(ASourceRect)) return;
    ADest->Canvas()->CopyRect(ADestRect, ASource->Canvas(), ASourceRect);
}

// Tiles of ATileWidth x ATileHeight laid from ADestRect's top-left corner,
// each holding ASourceRect (scaled where the tile differs from it). With
// ACut the tiles that pass the rectangle lose the excess at their end,
// the source alike; without, they are copied whole and the caller clips.
// Tiles wholly outside the bitmap are skipped, so hostile geometry costs
// no more than the bitmap's size.
void Tile(TBitmap* ADest, const TRect& ADestRect, Integer ATileWidth, Integer ATileHeight, TBitmap* ASource,
          const TRect& ASourceRect, bool ACut = true) {
    if (ATileWidth <= 0 || ATileHeight <= 0) return;
    const TRect area = Intersect(ADestRect, {0, 0, ADest->Width(), ADest->Height()});
    if (IsEmpty(area)) return;
    const Int64 firstX = ADestRect.Left + (Int64(area.Left) - ADestRect.Left) / ATileWidth * ATileWidth;
    const Int64 firstY = ADestRect.Top + (Int64(area.Top) - ADestRect.Top) / ATileHeight * ATileHeight;
    for (Int64 y = firstY; y < area.Bottom; y += ATileHeight)
        for (Int64 x = firstX; x < area.Right; x += ATileWidth) {
            const Integer cutX = ACut ? Integer(std::max<Int64>(0, x + ATileWidth - ADestRect.Right)) : 0;
            const Integer cutY = ACut ? Integer(std::max<Int64>(0, y + ATileHeight - ADestRect.Bottom)) : 0;
            const TRect tile = Bounds(Integer(x), Integer(y), ATileWidth - cutX, ATileHeight - cutY);
            CopyPart(
                ADest, tile, ASource,
                {ASourceRect.Left, ASourceRect.Top, ASourceRect.Right - cutX, ASourceRect.Bottom - cutY});
        }
}

// An edge along x (ACross) or down y: scaled into the rectangle, or tiled
// from its start with tiles as long as the source.
void Edge(TBitmap* ADest, const TRect& ADestRect, TBitmap* ASource, const TRect& ASourceRect, bool AStretch,
          bool ACross) {
    if (AStretch)
        CopyPart(ADest, ADestRect, ASource, ASourceRect);
    else if (ACross)
        Tile(ADest, ADestRect, ASourceRect.Width(), ADestRect.Height(), ASource, ASourceRect);
    else
        Tile(ADest, ADestRect, ADestRect.Width(), ASourceRect.Height(), ASource, ASourceRect);
}

void Centre(TBitmap* ADest, const TRect& ADestRect, TBitmap* ASource, const TRect& ASourceRect,
            bool AStretchEffect, TqxStretchType AStretchType) {
    const Integer cw = ASourceRect.Width(), ch = ASourceRect.Height();
    const Integer nw = ADestRect.Width(), nh = ADestRect.Height();
    if (!AStretchEffect) return Tile(ADest, ADestRect, cw, ch, ASource, ASourceRect);
    if (nw <= 0 || nh <= 0) return;
    if (AStretchType != qxstHorz && AStretchType != qxstVert)
        return CopyPart(ADest, ADestRect, ASource, ASourceRect);
    // Whole scaled tiles, clipped to the centre.
    const win::HDC dc = ADest->Canvas()->Handle();
    const int saved = win::SaveDC(dc);
    win::IntersectClipRect(dc, ADestRect.Left, ADestRect.Top, ADestRect.Right, ADestRect.Bottom);
    if (AStretchType == qxstHorz)
        Tile(ADest, ADestRect, cw, nh, ASource, ASourceRect, false);
    else
        Tile(ADest, ADestRect, nw, ch, ASource, ASourceRect, false);
    win::RestoreDC(dc, saved);
}

void BuildNineParts(const TGeometry& G, TBitmap* ABitmap, TBitmap* APicture, const TRect& S, Integer W,
                    Integer H, bool ADrawClient, bool ALeftStretch, bool ATopStretch, bool ARightStretch,
                    bool ABottomStretch, bool AStretchEffect, TqxStretchType AStretchType, bool AOpenRight) {
    if (!ABitmap) return;
    ABitmap->SetSize(W, H);
    if (G.RB.X == G.LT.X || G.RB.Y == G.LT.Y || !APicture || APicture->Empty()) return;
    const Integer sw = S.Width(), sh = S.Height();
    const TRect &cl = G.Cl, &ncl = G.NewCl;
    TBitmap* const dst = ABitmap;

    Edge(dst, {G.NewLT.X, 0, AOpenRight ? W : G.NewRT.X, ncl.Top}, APicture,
         Part(S, G.LT.X, 0, G.RT.X, cl.Top), ATopStretch, true);
    Edge(dst, {G.NewLB.X, ncl.Bottom, AOpenRight ? W : G.NewRB.X, H}, APicture,
         Part(S, G.LB.X, cl.Bottom, G.RB.X, sh), ABottomStretch, true);
    Edge(dst, {0, G.NewLT.Y, ncl.Left, G.NewLB.Y}, APicture, Part(S, 0, G.LT.Y, cl.Left, G.LB.Y),
         ALeftStretch, false);
    if (!AOpenRight)
        Edge(dst, {ncl.Right, G.NewRT.Y, W, G.NewRB.Y}, APicture, Part(S, cl.Right, G.RT.Y, sw, G.RB.Y),
             ARightStretch, false);

    CopyPart(dst, {0, 0, G.NewLT.X, ncl.Top}, APicture, Part(S, 0, 0, G.LT.X, cl.Top));
    CopyPart(dst, {0, ncl.Top, ncl.Left, G.NewLT.Y}, APicture, Part(S, 0, cl.Top, cl.Left, G.LT.Y));
    if (!AOpenRight) {
        CopyPart(dst, {G.NewRT.X, 0, W, ncl.Top}, APicture, Part(S, G.RT.X, 0, sw, cl.Top));
        CopyPart(dst, {ncl.Right, ncl.Top, W, G.NewRT.Y}, APicture, Part(S, cl.Right, cl.Top, sw, G.RT.Y));
    }
    CopyPart(dst, {0, G.NewLB.Y, ncl.Left, H}, APicture, Part(S, 0, G.LB.Y, cl.Left, sh));
    CopyPart(dst, {ncl.Left, ncl.Bottom, G.NewLB.X, H}, APicture, Part(S, cl.Left, cl.Bottom, G.LB.X, sh));
    if (!AOpenRight) {
        CopyPart(dst, {G.NewRB.X, ncl.Bottom, W, H}, APicture, Part(S, G.RB.X, cl.Bottom, sw, sh));
        CopyPart(dst, {ncl.Right, G.NewRB.Y, W, ncl.Bottom}, APicture,
                 Part(S, cl.Right, G.RB.Y, sw, cl.Bottom));
    }

    if (!ADrawClient) return;
    const TRect centre = AOpenRight ? TRect{ncl.Left, ncl.Top, W, ncl.Bottom} : ncl;
    Centre(dst, centre, APicture, Part(S, cl.Left, cl.Top, cl.Right, cl.Bottom), AStretchEffect,
           AStretchType);
}

TGeometry Geometry(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint, const TPoint& RBPoint,
                   const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                   const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect) {
    return {LTPoint,    RTPoint,    LBPoint,    RBPoint,    ClRect,
            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect};
}

enum THorzParts { hpThree, hpOpenRight, hpMiddle };

void BuildHorzParts(Integer A, Integer B, TBitmap* ABitmap, TBitmap* APicture, const TRect& SkinRect,
                    Integer W, bool AStretch, THorzParts AParts) {
    if (!ABitmap) return;
    const TRect S = CutToPicture(SkinRect, APicture);
    const Integer sw = S.Width(), H = S.Height();
    ABitmap->SetSize(W, H);
    if (AParts != hpMiddle && A != 0) CopyPart(ABitmap, {0, 0, A, H}, APicture, Part(S, 0, 0, A, H));
    if (AParts == hpThree && B != 0) CopyPart(ABitmap, {W - B, 0, W, H}, APicture, Part(S, sw - B, 0, sw, H));
    Integer m = sw - A - B;
    if (m == 0) m = 1;
    const TRect middle = Part(S, A, 0, A + m, H);
    const TRect area = AParts == hpThree       ? TRect{A, 0, W - B, H}
                       : AParts == hpOpenRight ? TRect{A, 0, W, H}
                                               : TRect{0, 0, W, H};
    Edge(ABitmap, area, APicture, middle, AStretch, true);
}

}  // namespace

void BuildNinePartImage(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                        const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                        const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                        const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture, const TRect& SkinRect,
                        Integer AWidth, Integer AHeight, bool ADrawClient, bool ALeftStretch,
                        bool ATopStretch, bool ARightStretch, bool ABottomStretch, bool AStretchEffect,
                        TqxStretchType AStretchType) {
    BuildNineParts(Geometry(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                            NewRBPoint, NewClRect),
                   ABitmap, APicture, SkinRect, AWidth, AHeight, ADrawClient, ALeftStretch, ATopStretch,
                   ARightStretch, ABottomStretch, AStretchEffect, AStretchType, false);
}

void BuildWindowNinePartImage(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                              const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                              const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                              const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture,
                              const TRect& SkinRect, Integer AWidth, Integer AHeight, bool ADrawClient,
                              bool ALeftStretch, bool ATopStretch, bool ARightStretch, bool ABottomStretch,
                              bool AStretchEffect, TqxStretchType AStretchType) {
    BuildNinePartImage(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                       NewRBPoint, NewClRect, ABitmap, APicture, SkinRect, AWidth, AHeight, ADrawClient,
                       ALeftStretch, ATopStretch, ARightStretch, ABottomStretch, AStretchEffect,
                       AStretchType);
}

void BuildNinePartImageOpenRight(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                                 const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                                 const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                                 const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture,
                                 const TRect& SkinRect, Integer AWidth, Integer AHeight, bool ADrawClient,
                                 bool ALeftStretch, bool ATopStretch, bool, bool ABottomStretch,
                                 bool AStretchEffect, TqxStretchType AStretchType) {
    BuildNineParts(Geometry(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                            NewRBPoint, NewClRect),
                   ABitmap, APicture, SkinRect, AWidth, AHeight, ADrawClient, ALeftStretch, ATopStretch,
                   false, ABottomStretch, AStretchEffect, AStretchType, true);
}

void BuildStretchedSkinImage(TBitmap* ABitmap, TBitmap* APicture, const TRect& SkinRect, const TRect& ARect,
                             bool ADrawClient) {
    if (!ABitmap) return;
    const Integer w = ABitmap->Width(), h = ABitmap->Height();
    const TRect r = ARect;
    const TRect nr{r.Left, r.Top, r.Right + w - SkinRect.Width(), r.Bottom + h - SkinRect.Height()};
    BuildNinePartImage(r.TopLeft(), {r.Right, r.Top}, {r.Left, r.Bottom}, r.BottomRight(), r, nr.TopLeft(),
                       {nr.Right, nr.Top}, {nr.Left, nr.Bottom}, nr.BottomRight(), nr, ABitmap, APicture,
                       SkinRect, w, h, ADrawClient, true, true, true, true, true, qxstFull);
}

void BuildHorzThreePartImage(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap, TBitmap* APicture,
                             const TRect& SkinRect, Integer AWidth, Integer, bool AStretch) {
    BuildHorzParts(ALeftWidth, ARightWidth, ABitmap, APicture, SkinRect, AWidth, AStretch, hpThree);
}

void BuildHorzThreePartImageOpenRight(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap,
                                      TBitmap* APicture, const TRect& SkinRect, Integer AWidth, Integer,
                                      bool AStretch) {
    BuildHorzParts(ALeftWidth, ARightWidth, ABitmap, APicture, SkinRect, AWidth, AStretch, hpOpenRight);
}

void BuildHorzMiddlePartImage(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap, TBitmap* APicture,
                              const TRect& SkinRect, Integer AWidth, Integer, bool AStretch) {
    BuildHorzParts(ALeftWidth, ARightWidth, ABitmap, APicture, SkinRect, AWidth, AStretch, hpMiddle);
}

void BuildVertThreePartImage(Integer ATopHeight, Integer ABottomHeight, TBitmap* ABitmap, TBitmap* APicture,
                             const TRect& ASkinRect, Integer, Integer AHeight, bool AStretch) {
    if (!ABitmap) return;
    const TRect SkinRect = CutToPicture(ASkinRect, APicture);
    const Integer W = SkinRect.Width(), sh = SkinRect.Height(), H = AHeight;
    const Integer A = ATopHeight, B = ABottomHeight;
    ABitmap->SetSize(W, H);
    if (A != 0) CopyPart(ABitmap, {0, 0, W, A}, APicture, Part(SkinRect, 0, 0, W, A));
    if (B != 0) CopyPart(ABitmap, {0, H - B, W, H}, APicture, Part(SkinRect, 0, sh - B, W, sh));
    Edge(ABitmap, {0, A, W, H - B}, APicture, Part(SkinRect, 0, A, W, sh - B), AStretch, false);
}

void BuildBorderStrips(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                       const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                       const TRect& NewClRect, TBitmap* ALeftStrip, TBitmap* ATopStrip, TBitmap* ARightStrip,
                       TBitmap* ABottomStrip, TBitmap* APicture, const TRect& SkinRect, Integer AWidth,
                       Integer AHeight, bool ALeftStretch, bool ATopStretch, bool ARightStretch,
                       bool ABottomStretch) {
    const TRect& S = SkinRect;
    const Integer sw = S.Width(), sh = S.Height(), W = AWidth;
    const Integer topHeight = std::max(NewClRect.Top, 0);
    const Integer bottomHeight = std::max(AHeight - NewClRect.Bottom, 0);

    if (ATopStrip && W > 0 && topHeight > 0 && RTPoint.X > LTPoint.X) {
        ATopStrip->SetSize(W, topHeight);
        const TRect edge = Part(S, LTPoint.X, 0, RTPoint.X, topHeight);
        Edge(ATopStrip,
             ATopStretch ? TRect{NewLTPoint.X, 0, NewRTPoint.X, topHeight} : TRect{0, 0, W, topHeight},
             APicture, edge, ATopStretch, true);
        CopyPart(ATopStrip, {0, 0, NewLTPoint.X, topHeight}, APicture, Part(S, 0, 0, LTPoint.X, topHeight));
        CopyPart(ATopStrip, {NewRTPoint.X, 0, W, topHeight}, APicture, Part(S, RTPoint.X, 0, sw, topHeight));
    }
    if (ABottomStrip && W > 0 && bottomHeight > 0 && RBPoint.X > LBPoint.X) {
        const Integer d = bottomHeight, top = sh - d;
        ABottomStrip->SetSize(W, d);
        const TRect edge = Part(S, LBPoint.X, top, RBPoint.X, sh);
        Edge(ABottomStrip, ABottomStretch ? TRect{NewLBPoint.X, 0, NewRBPoint.X, d} : TRect{0, 0, W, d},
             APicture, edge, ABottomStretch, true);
        CopyPart(ABottomStrip, {0, 0, NewLBPoint.X, d}, APicture, Part(S, 0, top, LBPoint.X, sh));
        CopyPart(ABottomStrip, {NewRBPoint.X, 0, W, d}, APicture, Part(S, RBPoint.X, top, sw, sh));
    }

    // The sides run between the top and bottom strips; their fixed pieces
    // are the parts of the band outside the edge.
    const Integer v = AHeight - topHeight - bottomHeight;
    const auto side = [&](TBitmap* AStrip, Integer ALeft, Integer ARight, Integer AStripWidth,
                          Integer AEdgeTop, Integer AEdgeBottom, bool AStretch) {
        if (!AStrip || AStripWidth <= 0 || v <= 0 || AEdgeBottom <= AEdgeTop) return;
        AStrip->SetSize(AStripWidth, v);
        const Integer above = AEdgeTop - ClRect.Top, below = ClRect.Bottom - AEdgeBottom;
        const TRect edge = Part(S, ALeft, AEdgeTop, ARight, AEdgeBottom);
        Edge(AStrip, AStretch ? TRect{0, above, AStripWidth, v - below} : TRect{0, 0, AStripWidth, v},
             APicture, edge, AStretch, false);
        if (above > 0)
            CopyPart(AStrip, {0, 0, AStripWidth, above}, APicture,
                     Part(S, ALeft, ClRect.Top, ARight, AEdgeTop));
        if (below > 0)
            CopyPart(AStrip, {0, v - below, AStripWidth, v}, APicture,
                     Part(S, ALeft, AEdgeBottom, ARight, ClRect.Bottom));
    };
    side(ALeftStrip, 0, NewClRect.Left, NewClRect.Left, LTPoint.Y, LBPoint.Y, ALeftStretch);
    side(ARightStrip, ClRect.Right, sw, W - NewClRect.Right, RTPoint.Y, RBPoint.Y, ARightStretch);
}

void BuildBorderStripsTiled(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                            const TPoint& RBPoint, const TRect& ARect, const TPoint& NewLTPoint,
                            const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                            const TRect& ANewRect, TBitmap* AMask, TBitmap* ATopStrip, TBitmap* ALeftStrip,
                            TBitmap* ARightStrip, TBitmap* ABottomStrip, Integer AWidth, Integer) {
    if (!AMask || AMask->Empty()) return;
    const Integer mw = AMask->Width(), mh = AMask->Height();
    const TRect whole{0, 0, mw, mh};
    // What no part covers counts as outside the shape.
    const auto start = [](TBitmap* AStrip, Integer AStripWidth, Integer AStripHeight) {
        if (!AStrip || AStripWidth <= 0 || AStripHeight <= 0) return false;
        AStrip->SetSize(AStripWidth, AStripHeight);
        AStrip->Canvas()->Brush()->SetColor(clWhite);
        AStrip->Canvas()->FillRect({0, 0, AStripWidth, AStripHeight});
        return true;
    };

    const Integer v = ANewRect.Height();
    const auto side = [&](TBitmap* AStrip, Integer ALeft, Integer ARight, Integer AEdgeTop,
                          Integer AEdgeBottom) {
        const Integer w = ARight - ALeft;
        if (!start(AStrip, w, v)) return;
        Tile(AStrip, {0, 0, w, v}, w, AEdgeBottom - AEdgeTop, AMask,
             Part(whole, ALeft, AEdgeTop, ARight, AEdgeBottom));
        CopyPart(AStrip, {0, 0, w, AEdgeTop - ARect.Top}, AMask,
                 Part(whole, ALeft, ARect.Top, ARight, AEdgeTop));
        CopyPart(AStrip, {0, v - (ARect.Bottom - AEdgeBottom), w, v}, AMask,
                 Part(whole, ALeft, AEdgeBottom, ARight, ARect.Bottom));
    };
    side(ALeftStrip, 0, ARect.Left, LTPoint.Y, LBPoint.Y);
    side(ARightStrip, ARect.Right, mw, RTPoint.Y, RBPoint.Y);

    const auto band = [&](TBitmap* AStrip, Integer ATop, Integer ABottom, Integer AEdgeLeft,
                          Integer AEdgeRight, Integer ANewLeft, Integer ANewRight) {
        const Integer h = ABottom - ATop;
        if (!start(AStrip, AWidth, h)) return;
        Tile(AStrip, {ANewLeft, 0, ANewRight, h}, AEdgeRight - AEdgeLeft, h, AMask,
             Part(whole, AEdgeLeft, ATop, AEdgeRight, ABottom));
        CopyPart(AStrip, {0, 0, AEdgeLeft, h}, AMask, Part(whole, 0, ATop, AEdgeLeft, ABottom));
        CopyPart(AStrip, {ANewRight, 0, ANewRight + mw - AEdgeRight, h}, AMask,
                 Part(whole, AEdgeRight, ATop, mw, ABottom));
    };
    band(ATopStrip, 0, ARect.Top, LTPoint.X, RTPoint.X, NewLTPoint.X, NewRTPoint.X);
    band(ABottomStrip, ARect.Bottom, mh, LBPoint.X, RBPoint.X, NewLBPoint.X, NewRBPoint.X);
}
