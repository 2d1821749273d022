// Image lists of PNG pictures with alpha, for tool bars, skinned buttons,
// menu items and office combo boxes: the toolkit's image list holds one
// monochrome placeholder per PNG item, at the same index, so its count,
// index checks and change links work unchanged; the PNG is what is drawn.
#pragma once

#include <memory>

#include "platform/base/collections.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/pngimage.h"
#include "skin/core/qxbitmap.h"

// The toolkit's PNG picture as it is.
using TqxPngImage = TPngImage;

class TqxPngImageList;

class TqxPngImageItem : public TCollectionItem {
public:
    // An empty PNG named "PngImage<index>" (a name it keeps when it moves),
    // and a placeholder in the owning image list at its index.
    explicit TqxPngImageItem(TCollection* ACollection);
    // Removes its placeholder.
    ~TqxPngImageItem() override;
    // From another item: its PNG and its name.
    void Assign(TPersistent* ASource) override;

    const String& Name() const { return FName; }
    void SetName(const String& AValue) { FName = AValue; }
    TqxPngImage* PngImage() const { return FPngImage.get(); }
    // Copies AValue; the whole collection counts as changed.
    void SetPngImage(TqxPngImage* AValue);

protected:
    String GetDisplayName() const override;

private:
    TqxPngImageList* ImageList() const;

    std::unique_ptr<TqxPngImage> FPngImage;
    String FName;
};

class TqxPngImageItems : public TCollectionOf<TqxPngImageItem> {
public:
    explicit TqxPngImageItems(TqxPngImageList* APngImageList);
    TqxPngImageList* PngImageList() const { return FPngImageList; }

private:
    TqxPngImageList* FPngImageList;
};

class TqxPngImageList : public TCustomImageList {
public:
    explicit TqxPngImageList(TComponent* AOwner);
    ~TqxPngImageList() override;

    TqxPngImageItems* PngImages() const { return FPngImages.get(); }
    // Takes a copy of AValue's items.
    void SetPngImages(TqxPngImageItems* AValue) { FPngImages->Assign(AValue); }
    // The image list's own size. A new size empties the image list and, at
    // run time, the PNG items with it; while a description is read the
    // items stay and get placeholders of the new size.
    Integer PngWidth() const { return Width(); }
    void SetPngWidth(Integer AValue);
    Integer PngHeight() const { return Height(); }
    void SetPngHeight(Integer AValue);

protected:
    // Item AIndex's PNG into (X, Y, X + Width, Y + Height) with its alpha;
    // disabled, a copy faded to level 127. The style is not used.
    void DoDraw(Integer AIndex, TCanvas* ACanvas, Integer X, Integer Y, Cardinal AStyle,
                bool AEnabled = true) override;

private:
    friend class TqxPngImageItem;
    void InsertPlaceholder(Integer AIndex);
    void Resized();

    std::unique_ptr<TqxPngImageItems> FPngImages;
};

// Makes APng see-through in place: every alpha a becomes a / 256 x
// (ALevel + 1), rounded half to even; a grey or palette picture becomes
// true colour with alpha ALevel throughout. A transparent colour stays
// fully transparent.
void FadePngImage(TqxPngImage* APng, Byte ALevel);
// ABitmap takes APng's size, colours and alpha (255 without an alpha
// channel, 0 for a transparent colour), then checks itself for partial alpha.
void PngToAlphaBitmap(TqxBitmap* ABitmap, TqxPngImage* APng);
