// Metafile pictures (EMF and WMF): the file kept as it was read and played
// at the size it is drawn, so that a stretched picture stays sharp.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/metafilecodec.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/graphic.h"

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TMetafile>(); }

    // From a TMetafile: its file and size; nullptr empties.
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FData.empty(); }
    // At 96 pixels an inch unless set otherwise.
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    // The size it is drawn at by default; the file stays as it is.
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;
    bool Transparent() const override { return true; }
    // An EMF, rather than a WMF.
    bool Enhanced() const { return FKind == mkEmf; }

    // The rest of the stream is the file, EMF or WMF by its content.
    // EInvalidGraphic "Metafile is not valid" otherwise; the picture held
    // before then stays.
    void LoadFromStream(TStream* AStream) override;
    // The file as it was read.
    void SaveToStream(TStream* AStream) override;

protected:
    // Played at ARect's size (within 4096 x 4096, scaled up from there).
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    std::vector<Byte> FData;
    TMetafileKind FKind = mkWmf;
    Integer FWidth = 0;
    Integer FHeight = 0;
    // The last play, premultiplied, at the size it was played.
    std::unique_ptr<TBitmap> FPlayed;
};
