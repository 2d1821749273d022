// Control images of any size from one rectangle of a skin picture: fixed
// corners, edges and centre scaled or tiled (nine-part, open-right,
// stretched, three-part, middle-only), and the border strips of a frame.
//
// Points and inner rectangles are relative to the top-left corner of
// SkinRect, which is absolute in the picture. The callers give the old
// geometry and the geometry at the new size separately. Parts are copied
// with the canvas's rectangle copy, so a part that reaches past its
// picture copies only what lies inside; a part of zero or negative size,
// or a tiled part whose tile length is not positive, copies nothing.
#pragma once

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/geometry.h"

// How a centre with StretchEffect grows: scaled both ways, scaled to the
// new height and repeated across, or scaled to the new width and repeated
// downwards.
enum TqxStretchType { qxstFull, qxstHorz, qxstVert };

// ABitmap becomes AWidth x AHeight: edges, the eight corner blocks, then
// the centre when ADrawClient. RBPoint level with LTPoint in x or y, or an
// empty picture, leaves ABitmap resized and otherwise untouched.
void BuildNinePartImage(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                        const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                        const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                        const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture, const TRect& SkinRect,
                        Integer AWidth, Integer AHeight, bool ADrawClient, bool ALeftStretch,
                        bool ATopStretch, bool ARightStretch, bool ABottomStretch, bool AStretchEffect,
                        TqxStretchType AStretchType);
// The hint and popup-menu windows' entry: the same image.
void BuildWindowNinePartImage(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                              const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                              const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                              const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture,
                              const TRect& SkinRect, Integer AWidth, Integer AHeight, bool ADrawClient,
                              bool ALeftStretch, bool ATopStretch, bool ARightStretch, bool ABottomStretch,
                              bool AStretchEffect, TqxStretchType AStretchType);
// Without the right column: the top and bottom edges and the centre run to
// the right border (list-view header sections). ARightStretch is not used.
void BuildNinePartImageOpenRight(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                                 const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                                 const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                                 const TRect& NewClRect, TBitmap* ABitmap, TBitmap* APicture,
                                 const TRect& SkinRect, Integer AWidth, Integer AHeight, bool ADrawClient,
                                 bool ALeftStretch, bool ATopStretch, bool ARightStretch, bool ABottomStretch,
                                 bool AStretchEffect, TqxStretchType AStretchType);
// At ABitmap's current size: the corners outside ARect (relative to
// SkinRect) fixed, the edges and the centre scaled.
void BuildStretchedSkinImage(TBitmap* ABitmap, TBitmap* APicture, const TRect& SkinRect, const TRect& ARect,
                             bool ADrawClient);

// SkinRect is first cut to APicture (a rectangle reaching past it, or no
// picture, makes a thinner image, or one of no height).
// ABitmap becomes AWidth x the height of SkinRect: ALeftWidth columns fixed
// at the left, ARightWidth at the right, the middle between them scaled
// (AStretch) or tiled from the left part. A middle of width 0 counts as
// one column. AHeight is not used.
void BuildHorzThreePartImage(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap, TBitmap* APicture,
                             const TRect& SkinRect, Integer AWidth, Integer AHeight, bool AStretch);
// The left part, then the middle up to the right border.
void BuildHorzThreePartImageOpenRight(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap,
                                      TBitmap* APicture, const TRect& SkinRect, Integer AWidth,
                                      Integer AHeight, bool AStretch);
// The middle alone over the whole width.
void BuildHorzMiddlePartImage(Integer ALeftWidth, Integer ARightWidth, TBitmap* ABitmap, TBitmap* APicture,
                              const TRect& SkinRect, Integer AWidth, Integer AHeight, bool AStretch);
// ABitmap becomes the width of SkinRect (cut to APicture, as above) x
// AHeight, parts stacked downwards.
// A middle of height 0 draws nothing. AWidth is not used.
void BuildVertThreePartImage(Integer ATopHeight, Integer ABottomHeight, TBitmap* ABitmap, TBitmap* APicture,
                             const TRect& SkinRect, Integer AWidth, Integer AHeight, bool AStretch);

// The frame of a control of the new size without its centre, as four
// bitmaps: the top and bottom strips span the whole width with the
// corners, the left and right ones the height between them. A strip is
// built only when it has pixels and its edge has a length; tiled edges
// start at the strip's start.
void BuildBorderStrips(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                       const TPoint& RBPoint, const TRect& ClRect, const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                       const TRect& NewClRect, TBitmap* ALeftStrip, TBitmap* ATopStrip, TBitmap* ARightStrip,
                       TBitmap* ABottomStrip, TBitmap* APicture, const TRect& SkinRect, Integer AWidth,
                       Integer AHeight, bool ALeftStretch, bool ATopStretch, bool ARightStretch,
                       bool ABottomStretch);
// The same four strips cut from a whole mask picture (its own coordinates),
// every edge tiled; the top and bottom edges start at the new corner points.
// What no part covers is white: outside the shape. A strip without pixels
// is left untouched. AHeight is not used.
void BuildBorderStripsTiled(const TPoint& LTPoint, const TPoint& RTPoint, const TPoint& LBPoint,
                            const TPoint& RBPoint, const TRect& ARect, const TPoint& NewLTPoint,
                            const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                            const TRect& ANewRect, TBitmap* AMask, TBitmap* ATopStrip, TBitmap* ALeftStrip,
                            TBitmap* ARightStrip, TBitmap* ABottomStrip, Integer AWidth, Integer AHeight);
