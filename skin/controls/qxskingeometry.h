// The geometry every resizable skinned control shares, windowed or not: how
// an element's picture is resized (the resize mode), the size a control
// takes for its element, the control image of one skin rectangle at any
// size, where a rectangle of the element lies at the control's size, and
// the window region cut from the element's mask. Plain values in and out,
// so that both bases and their descendants compute exactly alike.
#pragma once

#include <initializer_list>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/geometry.h"
#include "platform/win/wintypes.h"
#include "skin/core/qximagebuilders.h"

class TqxDataSkinCustomControl;
class TqxDataSkinButtonControl;
class TqxSkinData;
class TWinControl;

// Points and ClRect are relative to the top-left corner of SkinRect; the
// New* values are the same at the control's current size.
struct TqxSkinGeometry {
    TPoint LTPt;
    TPoint RTPt;
    TPoint LBPt;
    TPoint RBPt;
    TRect SkinRect;
    TRect ClRect;
    TPoint NewLTPoint;
    TPoint NewRTPoint;
    TPoint NewLBPoint;
    TPoint NewRBPoint;
    TRect NewClRect;
    // -1 nothing from the skin, 0 fixed size, 1 nine parts, 2 horizontal
    // three parts (height fixed), 3 vertical three parts (width fixed).
    Integer ResizeMode = 0;
    bool StretchEffect = false;
    TqxStretchType StretchType = qxstFull;
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;

    Integer RealClientWidth() const { return NewClRect.Width(); }
    Integer RealClientHeight() const { return NewClRect.Height(); }
    Integer RealClientLeft() const { return NewClRect.Left; }
    Integer RealClientTop() const { return NewClRect.Top; }
};

// The mode the element's rectangle and points ask for: -1 for an empty
// SkinRect, 1 when both coordinates of RBPt are set, 2 when RTPt has one,
// 3 when LBPt has one, else 0.
Integer GetResizeMode(const TqxSkinGeometry& G);
// The element's points, rectangles and stretch flags, then its resize mode.
void CopyElementGeometry(TqxSkinGeometry& G, const TqxDataSkinCustomControl& AElement);
// The size a control of AWidth x AHeight takes and its New* points and
// client rectangle there. Without an element (AHasElement false) a
// fixed-size element changes nothing.
void CalcSize(TqxSkinGeometry& G, bool AHasElement, Integer& AWidth, Integer& AHeight);
// ABitmap becomes the image of ARect of APicture (a state rectangle of the
// element's size) for a control of AWidth x AHeight: copied as it is
// (mode 0), nine parts (mode 1, unless ANinePart is false), or three parts.
// The parts' sizes are always the element's own.
void CreateSkinImage(const TqxSkinGeometry& G, TBitmap* ABitmap, TBitmap* APicture, const TRect& ARect,
                     Integer AWidth, Integer AHeight, bool ANinePart = true);
// Where ARect, given relative to SkinRect, lies on a control of AWidth x
// AHeight.
TRect MapSkinRect(const TqxSkinGeometry& G, const TRect& ARect, Integer AWidth, Integer AHeight);
// The window region of a control of AWidth x AHeight from the element's
// mask picture (black = inside); nullptr when there is none. The caller
// owns it.
win::HRGN CreateControlRegion(const TqxSkinGeometry& G, TBitmap* AMask, Integer AWidth, Integer AHeight);

// The first of the named button elements the skin has, with its picture
// (nil when the picture index names none); nil for none of them.
const TqxDataSkinButtonControl* FindButtonElement(const TqxSkinData* ASkinData,
                                                  std::initializer_list<const char16_t*> ANames,
                                                  TBitmap*& APicture);
// A button element's picture for a state: pressed falls back to the active
// and then the normal picture, hot to the normal one.
const TRect& ButtonStateRect(const TqxDataSkinButtonControl& AElement, bool APressed, bool AHot);
// ABitmap becomes ASource of the button element's picture at AWidth x
// AHeight: the corners fixed, the edges and the centre moved by the size
// difference.
void BuildButtonElementImage(const TqxDataSkinButtonControl& AElement, TBitmap* APicture, const TRect& ASource,
                             Integer AWidth, Integer AHeight, TBitmap* ABitmap);
// AFont for the face of a tool-button element: the element's name, style
// and height with AUseSkinFont, else ADefaultFont; the character set of the
// skin's texts; the colour of the state (dropped down, hot, enabled,
// disabled).
void SetToolButtonElementFont(TFont* AFont, const TqxDataSkinButtonControl& AElement, bool AUseSkinFont,
                              TFont* ADefaultFont, const TqxSkinData* ASkinData, bool ADropDown, bool AHot,
                              bool AEnabled);
// APiece over AArea of ACanvas: with AStretchEffect scaled over the area
// (qxstFull), scaled to its height and repeated rightwards (qxstHorz) or
// scaled to its width and repeated downwards (qxstVert); without it tiled
// from the area's top-left corner. An empty piece draws nothing.
void DrawSkinPiece(TCanvas* ACanvas, TBitmap* APiece, const TRect& AArea, bool AStretchEffect,
                   TqxStretchType AStretchType);
// ARect of APicture as a bitmap of its own; empty when ARect is.
void CopySkinPiece(TBitmap* APicture, const TRect& ARect, TBitmap* APiece);

// A parent that lays its skinned children out itself (the skinned tool
// bar): it centres them vertically in its skin client rectangle.
class IqxSkinControlsParent {
public:
    virtual ~IqxSkinControlsParent() = default;
    // True when it adjusts its controls; ARect is then its skin client
    // rectangle in its client coordinates.
    virtual bool AdjustControlsRect(TRect& ARect) = 0;
};

// ATop, or the top that centres a control of AHeight in the client
// rectangle of a parent that adjusts its controls.
Integer AdjustedControlTop(TWinControl* AParent, Integer ATop, Integer AHeight);
