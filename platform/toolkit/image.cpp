#include "platform/toolkit/image.h"

#include "platform/toolkit/icon.h"
#include "platform/toolkit/published.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    FControlStyle.Include(csReplicatable);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

void TImage::SetStretch(bool AValue) {
    if (AValue == FStretch) return;
    FStretch = AValue;
    Changed();
}

void TImage::SetCenter(bool AValue) {
    if (AValue == FCenter) return;
    FCenter = AValue;
    Changed();
}

void TImage::SetProportional(bool AValue) {
    if (AValue == FProportional) return;
    FProportional = AValue;
    Changed();
}

void TImage::SetTransparent(bool AValue) {
    if (AValue == FTransparent) return;
    FTransparent = AValue;
    PictureChanged();
}

void TImage::Changed() {
    Invalidate();
}

void TImage::PictureChanged() {
    TGraphic* graphic = FPicture->Graphic();
    // Icons are always transparent; the others follow the control.
    if (graphic && graphic->Transparent() != FTransparent && !dynamic_cast<TIcon*>(graphic))
        graphic->SetTransparent(FTransparent);
    if (AutoSize()) AdjustSize();
    Invalidate();
}

bool TImage::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) {
    if (FPicture->Width() <= 0 || FPicture->Height() <= 0) return false;
    ANewWidth = FPicture->Width();
    ANewHeight = FPicture->Height();
    return true;
}

TRect TImage::DestRect() {
    Integer w = FPicture->Width(), h = FPicture->Height();
    const TRect client = ClientRect();
    const Integer cw = client.Width(), ch = client.Height();
    if (w > 0 && h > 0 && (FStretch || (FProportional && (w > cw || h > ch)))) {
        if (FProportional) {
            // The side that fills the control decides; the other follows the ratio.
            if (Int64(cw) * h > Int64(ch) * w) {
                w = Integer(Int64(ch) * w / h);
                h = ch;
            } else {
                h = Integer(Int64(cw) * h / w);
                w = cw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    const Integer x = FCenter ? (cw - w) / 2 : 0;
    const Integer y = FCenter ? (ch - h) / 2 : 0;
    return Bounds(x, y, w, h);
}

void TImage::Paint() {
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty()) return;
    Canvas()->StretchDraw(DestRect(), graphic);
}

namespace {

const auto Registered = RegisterClass<TImage, TGraphicControl>()
                            .Property(u"Picture", &TImage::Picture)
                            .Property(u"Stretch", &TImage::Stretch, &TImage::SetStretch)
                            .Property(u"Center", &TImage::Center, &TImage::SetCenter)
                            .Property(u"Proportional", &TImage::Proportional, &TImage::SetProportional)
                            .Property(u"Transparent", &TImage::Transparent, &TImage::SetTransparent);

}  // namespace
