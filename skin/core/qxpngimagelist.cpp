#include "skin/core/qxpngimagelist.h"

#include <algorithm>

#include "platform/base/sysutils.h"
#include "platform/toolkit/published.h"
#include "skin/core/qxroutines.h"

TqxPngImageItem::TqxPngImageItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FPngImage(std::make_unique<TqxPngImage>()) {
    FName = Format(u"PngImage%d", {Index()});
    if (TqxPngImageList* list = ImageList()) list->InsertPlaceholder(Index());
}

TqxPngImageItem::~TqxPngImageItem() {
    TqxPngImageList* list = ImageList();
    if (list && Index() >= 0 && Index() < list->Count()) list->Delete(Index());
}

TqxPngImageList* TqxPngImageItem::ImageList() const {
    auto* items = dynamic_cast<TqxPngImageItems*>(Collection());
    return items ? items->PngImageList() : nullptr;
}

void TqxPngImageItem::Assign(TPersistent* ASource) {
    if (auto* source = dynamic_cast<TqxPngImageItem*>(ASource)) {
        FPngImage->Assign(source->FPngImage.get());
        FName = source->FName;
        return;
    }
    TCollectionItem::Assign(ASource);
}

String TqxPngImageItem::GetDisplayName() const {
    return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
}

void TqxPngImageItem::SetPngImage(TqxPngImage* AValue) {
    FPngImage->Assign(AValue);
    Changed(true);
}

TqxPngImageItems::TqxPngImageItems(TqxPngImageList* APngImageList)
    : TCollectionOf<TqxPngImageItem>(APngImageList), FPngImageList(APngImageList) {}

TqxPngImageList::TqxPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TqxPngImageItems>(this)) {}

// The items go first: each takes its placeholder out of the living list.
TqxPngImageList::~TqxPngImageList() {
    FPngImages.reset();
}

void TqxPngImageList::InsertPlaceholder(Integer AIndex) {
    TBitmap placeholder;
    placeholder.SetPixelFormat(pf1bit);
    placeholder.SetSize(Width(), Height());
    Insert(std::clamp(AIndex, 0, Count()), &placeholder, nullptr);
}

void TqxPngImageList::SetPngWidth(Integer AValue) {
    if (std::max(AValue, 1) == Width()) return;
    SetWidth(AValue);
    Resized();
}

void TqxPngImageList::SetPngHeight(Integer AValue) {
    if (std::max(AValue, 1) == Height()) return;
    SetHeight(AValue);
    Resized();
}

// The image list is empty now. Items read from a description before the
// size would otherwise be left without placeholders.
void TqxPngImageList::Resized() {
    if (!ComponentState().Contains(csLoading)) return FPngImages->Clear();
    for (Integer i = 0; i < FPngImages->Count(); ++i)
        InsertPlaceholder(i);
}

void TqxPngImageList::DoDraw(Integer AIndex, TCanvas* ACanvas, Integer X, Integer Y, Cardinal,
                             bool AEnabled) {
    TqxPngImage* png = FPngImages->Items(AIndex)->PngImage();
    const TRect target = Bounds(X, Y, Width(), Height());
    if (AEnabled) return ACanvas->StretchDraw(target, png);
    TqxPngImage faded;
    faded.Assign(png);
    FadePngImage(&faded, 127);
    ACanvas->StretchDraw(target, &faded);
}

namespace {

// AAlpha / 256 x ALevelPlusOne, rounded half to even, in exact integers.
Byte Faded(Byte AAlpha, Integer ALevelPlusOne) {
    const Integer product = AAlpha * ALevelPlusOne;
    const Integer quotient = product / 256, remainder = product % 256;
    if (remainder > 128 || (remainder == 128 && quotient % 2 != 0)) return Byte(quotient + 1);
    return Byte(quotient);
}

const auto Registered = [] {
    RegisterClass<TqxPngImageItem>()
        .Property(u"Name", &TqxPngImageItem::Name, &TqxPngImageItem::SetName)
        .Property(u"PngImage", &TqxPngImageItem::PngImage);
    return RegisterClass<TqxPngImageList, TComponent>()
        .Property(u"PngImages", &TqxPngImageList::PngImages)
        .Property(u"PngWidth", &TqxPngImageList::PngWidth, &TqxPngImageList::SetPngWidth)
        .Property(u"PngHeight", &TqxPngImageList::PngHeight, &TqxPngImageList::SetPngHeight);
}();

}  // namespace

void FadePngImage(TqxPngImage* APng, Byte ALevel) {
    if (!APng || APng->Empty()) return;
    const bool singleColor = APng->TransparencyMode() == ptmBit;
    const TColor transparent = APng->TransparentColor();
    const auto isTransparent = [&](TColor AColor) { return singleColor && AColor == transparent; };
    const Integer w = APng->Width(), h = APng->Height();
    const TPngColorType type = APng->Header().ColorType;
    if (type == COLOR_GRAYSCALE || type == COLOR_PALETTE) {
        TqxPngImage faded;
        faded.CreateBlank(COLOR_RGBALPHA, 8, w, h);
        for (Integer y = 0; y < h; ++y) {
            Byte* alpha = faded.AlphaScanline(y);
            for (Integer x = 0; x < w; ++x) {
                const TColor color = APng->Pixels(x, y);
                faded.SetPixels(x, y, color);
                alpha[x] = isTransparent(color) ? 0 : ALevel;
            }
        }
        APng->Assign(&faded);
        return;
    }
    if (type == COLOR_RGB) APng->CreateAlpha();
    for (Integer y = 0; y < h; ++y) {
        Byte* alpha = APng->AlphaScanline(y);
        if (!alpha) return;
        for (Integer x = 0; x < w; ++x)
            alpha[x] = isTransparent(APng->Pixels(x, y)) ? 0 : Faded(alpha[x], ALevel + 1);
    }
}

// A PNG without an alpha channel is opaque but for its transparent colour.
void PngToAlphaBitmap(TqxBitmap* ABitmap, TqxPngImage* APng) {
    if (!ABitmap || !APng) return;
    if (APng->Empty()) {
        TqxBitmap empty;
        ABitmap->Assign(&empty);
        return;
    }
    TqxPngImage withAlpha;
    TqxPngImage* source = APng;
    if (!APng->AlphaScanline(0)) {
        withAlpha.Assign(APng);
        withAlpha.CreateAlpha();
        source = &withAlpha;
    }
    ABitmap->SetSize(source->Width(), source->Height());
    for (Integer y = 0; y < source->Height(); ++y) {
        const Byte* alpha = source->AlphaScanline(y);
        TqxColor* row = ABitmap->GetScanLinePtr(y);
        for (Integer x = 0; x < source->Width(); ++x)
            row[x] = (ColorToPixel(source->Pixels(x, y)) & 0x00FFFFFF) | TqxColor(alpha[x]) << 24;
    }
    ABitmap->CheckingAlphaBlend();
}
