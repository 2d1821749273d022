// The skinned slider: a thumb that moves along a ruler between MinValue
// and MaxValue, with tick marks, keyboard steps, jumps repeated while the
// ruler is held and a drag of the thumb. Its look comes from a slider
// element, or without one from four bitmaps: the built-in "QX_HTB",
// "QX_HRL", "QX_VTB" and "QX_VRL" (compiled in and registered by name
// here) or images the user supplies.
#pragma once

#include <array>
#include <memory>

#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxskincontrol.h"

enum TqxSliderOrientation { soHorizontal, soVertical };
enum TqxSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TqxSliderOptions = TSet<TqxSliderOption>;
enum TqxSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TqxSliderImages = TSet<TqxSliderImage>;
enum TqxJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };
// 1 or 2 cells side by side in a thumb image: normal, pressed.
using TqxNumThumbStates = Integer;

// The built-in images' names, by TqxSliderImage.
extern const char16_t* const SliderImageNames[4];

class TqxSkinCustomSlider : public TqxSkinControl {
public:
    explicit TqxSkinCustomSlider(TComponent* AOwner);
    ~TqxSkinCustomSlider() override;

    TCustomImageList* ThumbImageList() const { return FThumbImageList; }
    void SetThumbImageList(TCustomImageList* AValue) { SetReference(this, FThumbImageList, AValue); }
    Integer ThumbImageIndex() const { return FThumbImageIndex; }
    void SetThumbImageIndex(Integer AValue) { FThumbImageIndex = AValue; }
    Integer ThumbActiveImageIndex() const { return FThumbActiveImageIndex; }
    void SetThumbActiveImageIndex(Integer AValue) { FThumbActiveImageIndex = AValue; }
    // The thumb from the skin when there is an element.
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool AValue) { FUseSkinThumb = AValue; }
    // The parent's background instead of a fill.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // The images without an element: nil brings back the built-in one.
    TBitmap* ImageHThumb() const { return FImages[siHThumb].get(); }
    TBitmap* ImageHRuler() const { return FImages[siHRuler].get(); }
    TBitmap* ImageVThumb() const { return FImages[siVThumb].get(); }
    TBitmap* ImageVRuler() const { return FImages[siVRuler].get(); }
    void SetImage(TqxSliderImage AIndex, TBitmap* AValue);
    // Which images the user supplied.
    TqxSliderImages UserImages() const { return FUserImages; }
    void SetUserImages(TqxSliderImages AValue) { FUserImages = AValue; }
    // The fixed end parts of a ruler image; taken only when twice it is
    // shorter than the image.
    Integer EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(Integer AValue);
    TqxNumThumbStates NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(TqxNumThumbStates AValue);
    // Swaps Width and Height at run time.
    TqxSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TqxSliderOrientation AValue);
    TqxSliderOptions Options() const { return FOptions; }
    void SetOptions(TqxSliderOptions AValue);
    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer AValue);
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer AValue);
    // Taken only above 0.
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer AValue);
    // Clamped to the range; a change raises OnChange.
    Integer Value() const { return FValue; }
    void SetValue(Integer AValue);
    // Refused when AMin >= AMax, except while a description is read.
    void SetRange(Integer AMin, Integer AMax);

    // The thumb's drawn rectangle, the ruler's top-left corner, the tick strip.
    const TRect& ThumbRect() const { return FThumbRect; }
    TPoint RulerOrg() const { return FRulerOrg; }
    TBitmap* Ruler() const { return FRuler.get(); }
    const TRect& PointsRect() const { return FPointsRect; }
    bool Tracking() const { return FTracking; }
    bool Sliding() const { return FSliding; }

    // Where the thumb stands for a value, and the value of a place.
    Integer ValueToPosition(Integer AValue);
    Integer PositionToValue(Integer APosition);
    void Jump(TqxJumpMode AMode);
    TqxJumpMode GetJumpMode(Integer X, Integer Y);

    virtual bool CanModify() { return true; }
    virtual TRect GetSliderRect() { return Rect(0, 0, Width(), Height()); }
    virtual Integer GetDrawValue() { return FValue; }
    // The ruler built for the size; thumb, ruler and ticks placed.
    virtual void CalcLayout();
    virtual void RangeChanged() {}
    virtual void ThumbMouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);
    virtual void ThumbMouseMove(TShiftState AShift, Integer X, Integer Y);
    virtual void ThumbMouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y);
    // Ticks for every APointsStep, the ends AExtremePointsHeight long.
    virtual void DefaultDrawPoints(Integer APointsStep, Integer APointsHeight, Integer AExtremePointsHeight);

    void Loaded() override;
    void Paint() override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void CheckParentBackground() override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;

    TNotifyEvent OnChange;
    // The end of a user action: a drag, a hold of the ruler, a key step.
    TNotifyEvent OnChanged;
    // Replaces the tick marks; may call DefaultDrawPoints.
    TNotifyEvent OnDrawPoints;

    // Copies of the slider element.
    TRect HRulerRect;
    TRect HThumbRect;
    TRect VRulerRect;
    TRect VThumbRect;
    Integer SkinEdgeSize = 0;
    TColor BGColor = 0;
    TColor PointsColor = 0;
    // The element's picture, not owned.
    TBitmap* Picture = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void Change();
    virtual void Changed();

private:
    bool Vertical() const { return FOrientation == soVertical; }
    bool SkinThumb() const { return FIndex != -1 && FUseSkinThumb && Picture; }
    // The drawn thumb cell of the current source.
    TSize ThumbCell();
    Integer Origin();
    Integer Travel();
    void BuildRuler();
    void TileRuler(TBitmap* AImage, Integer ALength);
    Integer SnapThumbPosition(Integer APosition);
    void MoveThumb(Integer APosition);
    void InvalidateThumb();
    void DrawThumb(TCanvas* ACanvas, TPoint AAt, bool ASecond);
    void TimerTick();
    void StopTracking();
    void ImageChanged();
    void PaintBuffered(TMessage& AMessage);

    TCustomImageList* FThumbImageList = nullptr;
    Integer FThumbImageIndex = 0;
    Integer FThumbActiveImageIndex = 1;
    bool FUseSkinThumb = true;
    bool FTransparent = false;
    TqxSliderImages FUserImages;
    std::array<std::unique_ptr<TBitmap>, 4> FImages;
    Integer FEdgeSize = 2;
    std::unique_ptr<TBitmap> FRuler;
    bool FPaintBuffered = false;
    TPoint FRulerOrg;
    TRect FThumbRect;
    bool FThumbDown = false;
    TqxNumThumbStates FNumThumbStates = 2;
    TRect FPointsRect;
    TqxSliderOrientation FOrientation = soHorizontal;
    TqxSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
    Integer FMinValue = 0;
    Integer FMaxValue = 100;
    Integer FIncrement = 10;
    Integer FValue = 0;
    Integer FHit = 0;
    bool FFocused = false;
    bool FSliding = false;
    bool FTracking = false;
    bool FTimerActive = false;
    TPoint FMousePos;
    TqxJumpMode FStartJump = jmNone;
    // The images are being made: no layout yet.
    bool FCreating = false;
};

class TqxSkinSlider : public TqxSkinCustomSlider {
public:
    using TqxSkinCustomSlider::TqxSkinCustomSlider;
};
