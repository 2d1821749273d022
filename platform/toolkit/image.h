// The picture control: shows a picture at its own size, centred, or scaled
// to the control (keeping its proportions when asked).
#pragma once

#include <memory>

#include "platform/toolkit/controls.h"
#include "platform/toolkit/picture.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* AValue) { FPicture->Assign(AValue); }
    // Scaled to the control's size.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool AValue);
    bool Center() const { return FCenter; }
    void SetCenter(bool AValue);
    // Scaled keeping its proportions: down when it does not fit, and with
    // Stretch also up.
    bool Proportional() const { return FProportional; }
    void SetProportional(bool AValue);
    // The picture's background is left out (its transparent colour or alpha).
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // Where the picture is drawn, in client coordinates.
    TRect DestRect();

    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    void Paint() override;

private:
    void PictureChanged();
    void Changed();

    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
};
