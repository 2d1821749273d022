#include "platform/gdi/gifcodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/quantizer.h"

namespace {

struct TGifInput {
    std::span<const Byte> Data;
    size_t Position = 0;
};

int OnRead(GifFileType* AGif, GifByteType* ABuffer, int ALength) {
    auto* input = static_cast<TGifInput*>(AGif->UserData);
    size_t count = std::min(static_cast<size_t>(std::max(ALength, 0)), input->Data.size() - input->Position);
    if (count == 0) return 0;
    std::memcpy(ABuffer, input->Data.data() + input->Position, count);
    input->Position += count;
    return static_cast<int>(count);
}

int OnWrite(GifFileType* AGif, const GifByteType* ABuffer, int ALength) {
    auto* output = static_cast<std::vector<Byte>*>(AGif->UserData);
    // No exception may cross giflib; a short count fails the write instead.
    try {
        output->insert(output->end(), ABuffer, ABuffer + ALength);
    } catch (...) {
        return 0;
    }
    return ALength;
}

// A giflib file whose failures raise EInvalidGraphic with the given text.
class TGifFile {
public:
    TGifFile(const TGifFile&) = delete;
    TGifFile& operator=(const TGifFile&) = delete;

    GifFileType* operator->() const { return FGif; }
    GifFileType* Get() const { return FGif; }
    void Check(int AResult) const {
        if (AResult != GIF_OK) Fail(FGif->Error);
    }
    [[noreturn]] void Fail(int AError) const {
        const char* text = GifErrorString(AError);
        throw EInvalidGraphic(FFailure, {text ? text : "unknown error"});
    }

protected:
    explicit TGifFile(const char16_t* AFailure) : FFailure(AFailure) {}

    GifFileType* FGif = nullptr;

private:
    const char16_t* FFailure;
};

class TGifReader : public TGifFile {
public:
    explicit TGifReader(TGifInput& AInput) : TGifFile(u"GIF image is not valid (%s)") {
        int error = 0;
        FGif = DGifOpen(&AInput, OnRead, &error);
        if (!FGif) Fail(error);
    }
    ~TGifReader() { DGifCloseFile(FGif, nullptr); }
};

class TGifWriter : public TGifFile {
public:
    explicit TGifWriter(std::vector<Byte>& AOutput) : TGifFile(u"GIF image could not be written (%s)") {
        int error = 0;
        FGif = EGifOpen(&AOutput, OnWrite, &error);
        if (!FGif) Fail(error);
    }
    ~TGifWriter() {
        if (FGif) EGifCloseFile(FGif, nullptr);
    }

    // Writes the trailer; the file is complete only after this.
    void Close() {
        int error = 0;
        GifFileType* gif = FGif;
        FGif = nullptr;
        if (EGifCloseFile(gif, &error) != GIF_OK) Fail(error);
    }
};

class TColorMap {
public:
    TColorMap(int ACount, const GifColorType* AColors) : FMap(GifMakeMapObject(ACount, AColors)) {
        if (!FMap) throw EOutOfMemory(u"Out of memory");
    }
    TColorMap(const TColorMap&) = delete;
    TColorMap& operator=(const TColorMap&) = delete;
    ~TColorMap() { GifFreeMapObject(FMap); }
    const ColorMapObject* Get() const { return FMap; }

private:
    ColorMapObject* FMap;
};

// Skips the extension's sub-blocks; returns the transparent index a graphic
// control extension names, or ACurrent.
int ReadExtension(const TGifReader& AGif, int ACurrent) {
    int code = 0;
    GifByteType* block = nullptr;
    AGif.Check(DGifGetExtension(AGif.Get(), &code, &block));
    int transparent = ACurrent;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
    }
    while (block)
        AGif.Check(DGifGetExtensionNext(AGif.Get(), &block));
    return transparent;
}

// Interlaced pictures store every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<Integer> RowOrder(Integer AHeight, bool AInterlaced) {
    std::vector<Integer> order;
    order.reserve(AHeight);
    if (!AInterlaced) {
        for (Integer y = 0; y < AHeight; ++y)
            order.push_back(y);
        return order;
    }
    static constexpr Integer start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (Integer y = start[pass]; y < AHeight; y += step[pass])
            order.push_back(y);
    return order;
}

}  // namespace

TImageData DecodeGif(std::span<const Byte> AData) {
    TGifInput input{AData};
    TGifReader gif(input);
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        gif.Check(DGifGetRecordType(gif.Get(), &record));
        if (record == EXTENSION_RECORD_TYPE) {
            transparent = ReadExtension(gif, transparent);
            continue;
        }
        if (record == TERMINATE_RECORD_TYPE) throw EInvalidGraphic(u"GIF image is not valid (no picture)");
        if (record == IMAGE_DESC_RECORD_TYPE) break;
    }
    gif.Check(DGifGetImageDesc(gif.Get()));

    const GifImageDesc& frame = gif->Image;
    CheckImageSize(frame.Width, frame.Height, "GIF");
    CheckImageSize(gif->SWidth, gif->SHeight, "GIF");
    if (frame.Left < 0 || frame.Top < 0) throw EInvalidGraphic(u"GIF image is not valid (picture position)");
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map) throw EInvalidGraphic(u"GIF image is not valid (no colour table)");
    // A picture reaching beyond the logical screen widens it.
    Int64 width = std::max<Int64>(gif->SWidth, Int64{frame.Left} + frame.Width);
    Int64 height = std::max<Int64>(gif->SHeight, Int64{frame.Top} + frame.Height);
    CheckImageSize(width, height, "GIF");

    // The indices first: a cut file fails before the whole screen is allocated.
    std::vector<GifPixelType> indices(static_cast<size_t>(frame.Width) * frame.Height);
    for (Integer y : RowOrder(frame.Width > 0 ? frame.Height : 0, frame.Interlace))
        gif.Check(DGifGetLine(gif.Get(), indices.data() + static_cast<size_t>(y) * frame.Width, frame.Width));

    TImageData image(static_cast<Integer>(width), static_cast<Integer>(height));
    image.BitCount = 8;
    image.HasAlpha = width != frame.Width || height != frame.Height;
    const GifPixelType* index = indices.data();
    for (Integer y = 0; y < frame.Height; ++y) {
        Byte* dst = image.ScanLine(frame.Top + y) + 4 * static_cast<size_t>(frame.Left);
        for (Integer x = 0; x < frame.Width; ++x, ++index, dst += 4) {
            if (*index == transparent) {
                image.HasAlpha = true;
                continue;
            }
            if (*index < map->ColorCount) {
                const GifColorType& c = map->Colors[*index];
                dst[0] = c.Blue;
                dst[1] = c.Green;
                dst[2] = c.Red;
            }
            dst[3] = 255;
        }
    }
    return image;
}

std::vector<Byte> EncodeGif(const TImageData& AImage) {
    if (AImage.Empty()) throw EInvalidGraphic(u"Cannot save an empty GIF image");
    TQuantizedImage quantized = QuantizeImage(AImage);
    // A GIF colour table has a power of two entries, at least two.
    int size = 2;
    while (size < static_cast<int>(quantized.Palette.size()))
        size *= 2;
    std::vector<GifColorType> colors(size, GifColorType{0, 0, 0});
    for (size_t i = 0; i < quantized.Palette.size(); ++i) {
        uint32_t c = quantized.Palette[i];
        colors[i] = GifColorType{static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                                 static_cast<GifByteType>(c)};
    }
    TColorMap map(size, colors.data());

    std::vector<Byte> out;
    TGifWriter gif(out);
    gif.Check(EGifPutScreenDesc(gif.Get(), AImage.Width(), AImage.Height(), 8, 0, map.Get()));
    gif.Check(EGifPutImageDesc(gif.Get(), 0, 0, AImage.Width(), AImage.Height(), false, nullptr));
    for (Integer y = 0; y < AImage.Height(); ++y)
        gif.Check(EGifPutLine(gif.Get(), quantized.Indices.data() + static_cast<size_t>(y) * AImage.Width(),
                              AImage.Width()));
    gif.Close();
    return out;
}
