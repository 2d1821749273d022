#include "platform/toolkit/metafile.h"

#include <algorithm>

namespace {

// A play larger than this is scaled up when drawn: a few megabytes of
// pixels at most for any drawing size.
constexpr Integer MaxPlaySide = 4096;

}  // namespace

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::Assign(TPersistent* ASource) {
    if (!ASource) {
        FData.clear();
        FWidth = FHeight = 0;
        FPlayed.reset();
        return Changed();
    }
    auto* other = dynamic_cast<TMetafile*>(ASource);
    if (!other) return TGraphic::Assign(ASource);
    if (other == this) return;
    FData = other->FData;
    FKind = other->FKind;
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FPlayed.reset();
    Changed();
}

void TMetafile::SetWidth(Integer AValue) {
    if (AValue == FWidth) return;
    FWidth = std::max(AValue, 0);
    Changed();
}

void TMetafile::SetHeight(Integer AValue) {
    if (AValue == FHeight) return;
    FHeight = std::max(AValue, 0);
    Changed();
}

void TMetafile::LoadFromStream(TStream* AStream) {
    std::vector<Byte> data = ReadToEnd(AStream);
    const TMetafileInfo info = ProbeMetafile(data);
    FData = std::move(data);
    FKind = info.Kind;
    FWidth = info.Width;
    FHeight = info.Height;
    FPlayed.reset();
    Changed();
}

void TMetafile::SaveToStream(TStream* AStream) {
    if (!FData.empty()) AStream->WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& ARect) {
    if (Empty() || ARect.Width() <= 0 || ARect.Height() <= 0) return;
    const double scale = std::min(1.0, double(MaxPlaySide) / std::max(ARect.Width(), ARect.Height()));
    const Integer w = std::max(1, Integer(ARect.Width() * scale)),
                  h = std::max(1, Integer(ARect.Height() * scale));
    if (!FPlayed || FPlayed->Width() != w || FPlayed->Height() != h) {
        // A file that probed whole but does not play draws nothing.
        TImageData played;
        try {
            played = RenderMetafile(FData, w, h);
        } catch (const EInvalidGraphic&) {
            return;
        }
        FPlayed = std::make_unique<TBitmap>();
        LoadPremultiplied(FPlayed.get(), played);
    }
    DrawPremultiplied(ACanvas, ARect, FPlayed.get());
}
