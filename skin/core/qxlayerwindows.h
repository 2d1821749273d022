// Glow windows: top-level windows with per-pixel alpha that float over a
// control, let the mouse through, never take the activation, and fade in.
// Skinned buttons and the caption objects of skinned forms show their glow
// in them; the layered frames of skinned forms upload through
// UpdateLayeredBitmap too.
#pragma once

#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/timer.h"
#include "skin/core/qxbitmap.h"

// AResult takes AImage's pixels with the alpha of AMask ((R + G + B) div 3),
// every colour then limited to its alpha, which makes it premultiplied
// data. A mask smaller than the image (or none) gives alpha 0 throughout:
// no glow rather than an opaque box.
void CombineImageAndMask(TBitmap* AImage, TBitmap* AMask, TqxBitmap* AResult);
// ABitmap as the whole content of AWindow's layered window, at the
// control's left and top, faded by the constant AAlpha. Nothing without a
// control, a bitmap or the platform's UpdateLayeredWindow.
void UpdateLayeredBitmap(TqxBitmap* ABitmap, Byte AAlpha, TWinControl* AWindow);

// A popup tool window without a parent that the mouse passes through and
// that answers activation with "no".
class TqxLayerWindow : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
};

// One glow window at a time, fading in over timer ticks of 25 ms.
class TqxLayerManager : public TComponent {
public:
    explicit TqxLayerManager(TComponent* AOwner);
    ~TqxLayerManager() override;

    // Shows AImage at screen point X, Y with the alpha of AImageMask,
    // fading in from 0 to AAlphaBlendValue in steps of a tenth of it (at
    // least 1). A window already shown is hidden first. Nothing where
    // layered windows are unavailable; an empty image only hides.
    void Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue);
    // Stops the fade and frees the window and its picture, whatever the
    // platform says by then.
    void Hide();
    // Puts the window back at its place in front (topmost or not by
    // TopMostMode) without activating it, while one is shown.
    void Update();
    void StartTimer();
    void StopTimer();

    TqxLayerWindow* LayerWindow() const { return FLayerWindow; }
    TqxBitmap* Bmp() const { return FBmp.get(); }
    TTimer* Timer() const { return FTimer; }
    Integer EndAlphaBlendValue() const { return FEndAlphaBlendValue; }
    Integer BeginAlphaBlendValue() const { return FBeginAlphaBlendValue; }
    Integer StepAlphaBlendValue() const { return FStepAlphaBlendValue; }
    bool IsVisible() const { return FIsVisible; }
    bool TopMostMode() const { return FTopMostMode; }
    void SetTopMostMode(bool AValue) { FTopMostMode = AValue; }

private:
    void FadeTick(TObject* Sender);
    void Place(win::UINT AFlags);

    TqxLayerWindow* FLayerWindow = nullptr;
    std::unique_ptr<TqxBitmap> FBmp;
    TTimer* FTimer = nullptr;
    Integer FEndAlphaBlendValue = 0;
    Integer FBeginAlphaBlendValue = 0;
    Integer FStepAlphaBlendValue = 0;
    bool FIsVisible = false;
    bool FTopMostMode = true;
};
