// The layered frame of a skinned form: four borderless top-level windows
// with per-pixel alpha left of, above, right of and below the form, cut from
// the skin's layer-frame picture for the form's size, following every move
// and resize of the form, shown and hidden with it, fading with its alpha and
// swapping to the inactive picture when it loses the activation. With a hit
// border they also resize the form and move it by the caption; in full-border
// mode they are the whole frame and carry the caption objects.
#pragma once

#include <memory>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/timer.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxskindata.h"

class TqxDravenfold;
class TqxFormLayerBorder;

enum TqxFormLayerBorderType { qxflLeft, qxflTop, qxflRight, qxflBottom };

enum TqxFormLayerBorderHit {
    qxflhNone,
    qxflhLeft,
    qxflhTop,
    qxflhRight,
    qxflhBottom,
    qxflhTopLeft,
    qxflhTopRight,
    qxflhBottomLeft,
    qxflhBottomRight,
    qxflCaption,
    qxflObject
};

// One of the four windows. Its class name is what the skin data's broadcast
// and the form component's walks over the screen's forms skip.
class TqxFormLayerWindow : public TForm {
public:
    TqxFormLayerWindow(TqxFormLayerBorder* AOwner, TCustomForm* AForm, TqxFormLayerBorderType AType);

    void CreateParams(TCreateParams& AParams) override;
    void Dispatch(TMessage& AMessage) override;
    // X, Y in window coordinates.
    TqxFormLayerBorderHit GetHitMode(Integer X, Integer Y);

    bool FDown = false;
    TCustomForm* FForm;
    TqxFormLayerBorder* FLayerBorder;
    TPoint MousePos1, MousePos2;
    TqxFormLayerBorderHit FHitMode = qxflhNone;
    bool FInProcessMessages = false;
    TqxFormLayerBorderType BorderType;

protected:
    void CMShowingChanged(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

private:
    TqxDravenfold* QXD() const;
    bool CanResizeForm() const;
    void DblClick();
    void ResizeStep(Integer DX, Integer DY);
    void CaptionDrag(Integer DX, Integer DY);
    // SetBounds of the form after a repaint, then the messages it caused.
    void Apply(Integer L, Integer T, Integer W, Integer H);
    void PumpMessages();
};

class TqxFormLayerBorder : public TComponent {
public:
    // AOwner is the form component.
    explicit TqxFormLayerBorder(TqxDravenfold* AOwner);
    ~TqxFormLayerBorder() override;

    void InitFrame(TqxSkinData* ASkinData, TCustomForm* AForm);
    void Show(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void Update(Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void Hide();
    void Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight);
    void ShowWithForm();
    void SetBoundsWithForm();
    void UpdateBorder();
    void SetBoundsWithForm2(Integer AW, Integer AH);
    void SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH);
    void MoveWithForm();
    void MoveWithForm2(Integer ALeft, Integer ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(Integer AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void ShowWithFormAnimation();
    // Top-window coordinates; (-1, -1) clears the hover.
    void TestActiveObject(Integer X, Integer Y);
    // The frame rectangle for form bounds; uses the roll-up height while the
    // frame is collapsed unless ANoCollapse.
    TRect FrameRect(Integer L, Integer T, Integer W, Integer H, bool ANoCollapse = false) const;
    bool Visible() const { return FVisible; }
    bool IsFullBorder() const { return FData && FData->FullBorder; }

    TqxDravenfold* QXD;
    bool FIsAeroEnabled = false;
    TTimer* MouseTimer = nullptr;
    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TqxSkinData* FSD = nullptr;
    TqxDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TqxBitmap> LeftImage, TopImage, RightImage, BottomImage;
    TqxFormLayerWindow* LeftBorder = nullptr;
    TqxFormLayerWindow* TopBorder = nullptr;
    TqxFormLayerWindow* RightBorder = nullptr;
    TqxFormLayerWindow* BottomBorder = nullptr;
    Integer FWidth = 0, FHeight = 0;
    Integer LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    Integer HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    Integer HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    Integer OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
    // Corner blur masks (top-left, top-right, bottom-left, bottom-right) and
    // each window's blur region; owned here.
    win::HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
    win::HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
    bool FActive = true;
    Integer FCurrentAlphaBlendValue = -1;
    Integer FCurrentInActiveAlphaBlendValue = -1;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TqxFormLayerWindow;

    TqxBitmap* Source() const;
    void CreateFrameImages(Integer AWidth, Integer AHeight);
    void ArrangeCaptionObjects(Integer AWidth);
    void InitBlurRegions();
    void CreateWindowRegions();
    void DeleteRegions(bool ACorners);
    bool BlurApplies() const;
    Byte CurrentAlpha() const;
    // Pushes the images (left and right only with height) with the current
    // alpha; the windows that got an image are reported by APushed.
    void PushImages();
    void Place(Integer X, Integer Y, Integer AWidth, Integer AHeight, win::UINT AExtraFlags);
    void FreeWindows();
    void CheckMouseLeave(TObject* Sender);
};
