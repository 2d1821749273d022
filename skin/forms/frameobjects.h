// The frame objects of a skinned form: what a skin places in the frame apart
// from the frame picture (caption buttons, the caption, free areas), each
// owned by the form component, placed by its geometry, painted with the
// frame and fed the mouse by its routing. This is their common base with
// the hover morph, the glow layer and the mask hit test, and the user
// object that a program paints itself.
#pragma once

#include <memory>

#include "platform/base/classes.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/controls.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxskincodecs.h"

class TqxDravenfold;
class TqxSkinData;
class TqxDataSkinObject;
class TqxEffectBmp;

class TqxActiveSkinObject : public TObject {
public:
    // AData may be nil: the built-in caption buttons of the default look.
    TqxActiveSkinObject(TqxDravenfold* AParent, TqxDataSkinObject* AData);

    // X, Y relative to ObjectRect's top-left corner.
    virtual bool PointInMask(Integer X, Integer Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    // A morph step is due.
    virtual bool CanMorphing();
    // UpDate asks for the normal look too (the object repainted alone);
    // without it the frame picture already shows what lies in it.
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    virtual void DrawAlpha(TCanvas* Cnvs, TqxBitmap* ABitMap);
    virtual void DblClick();
    // X, Y in the form window's coordinates, as ObjectRect.
    virtual void MouseDown(Integer X, Integer Y, TMouseButton Button);
    virtual void MouseUp(Integer X, Integer Y, TMouseButton Button);
    virtual void MouseMove(Integer X, Integer Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing();
    // The morph timer, or a repaint at once when the object does not morph.
    void StartMorph();
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    // Kept within 0 .. 1.
    void SetMorphKf(double AValue);
    bool MouseIn() const { return FMouseIn; }
    void SetMouseIn(bool AValue) { FMouseIn = AValue; }

    TqxDravenfold* Parent;
    TBitmap* Picture = nullptr;
    TBitmap* ActivePicture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TqxSkinData* SD = nullptr;
    String IDName;
    String Hint;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    TRect ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetX = 0;
    Integer GlowLayerOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;

protected:
    // A loaded, non-empty skin to draw from.
    bool HasSkin() const;
    // ASource of APicture scaled onto ARect of the canvas.
    static void CopyLook(TCanvas* ACanvas, const TRect& ARect, TBitmap* APicture, const TRect& ASource);
    // The look between ANormal (of ANormalPicture) and AActive (of
    // ActivePicture) at MorphKf, by MorphKind, drawn at ObjectRect.
    void DrawMorph(TCanvas* ACanvas, TBitmap* ANormalPicture, const TRect& ANormal, const TRect& AActive);
    // ObjectRect on the screen.
    TRect ScreenObjectRect() const;
    // The glow layer's conditions: a skin, a glow picture, layered windows, the skin's switch.
    bool CanShowGlow() const;
    void ShowGlowIn(class TqxLayerManager* AManager);

    double FMorphKf = 0;
    bool FMouseIn = false;
};

// An area of the frame that the program paints in OnPaintEvent.
class TqxUserObject : public TqxActiveSkinObject {
public:
    using TqxActiveSkinObject::TqxActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

// An inactive look derived from the active one, by the skin's effect.
void InActiveEffect(TqxEffectBmp* AImage, TqxInActiveEffect AEffect);

// One morph between two looks of a frame object, by kind.
void MorphEffect(TqxEffectBmp* AFrom, const TqxEffectBmp* ATo, double AKf, TqxMorphKind AKind);
