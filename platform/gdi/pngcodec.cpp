#include "platform/gdi/pngcodec.h"

#include <png.h>

#include <cstdio>
#include <cstring>

// libpng reports errors by longjmp. Every libpng call that may fail runs in
// one of the Guarded* functions below, whose frames hold nothing with a
// destructor; the objects they work on live in the callers' frames, so the
// jump never skips a C++ destructor. The callers turn a failure into an
// exception once they are back in C++.

namespace {

struct TPngSession {
    std::span<const Byte> Input;
    size_t Position = 0;
    std::vector<Byte>* Output = nullptr;
    char Message[200] = "";
};

void OnError(png_structp APng, png_const_charp AMessage) {
    auto* session = static_cast<TPngSession*>(png_get_error_ptr(APng));
    std::snprintf(session->Message, sizeof session->Message, "%s", AMessage);
    png_longjmp(APng, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp APng, png_bytep AData, size_t ALength) {
    auto* session = static_cast<TPngSession*>(png_get_io_ptr(APng));
    if (ALength > session->Input.size() - session->Position) png_error(APng, "unexpected end of data");
    if (ALength == 0) return;
    std::memcpy(AData, session->Input.data() + session->Position, ALength);
    session->Position += ALength;
}

void OnWrite(png_structp APng, png_bytep AData, size_t ALength) {
    auto* session = static_cast<TPngSession*>(png_get_io_ptr(APng));
    bool failed = false;
    try {
        session->Output->insert(session->Output->end(), AData, AData + ALength);
    } catch (...) {
        failed = true;
    }
    if (failed) png_error(APng, "out of memory");
}

void OnFlush(png_structp) {}

class TPngStruct {
public:
    TPngStruct(bool AWrite, TPngSession& ASession) : FWrite(AWrite) {
        FPng = AWrite ? png_create_write_struct(PNG_LIBPNG_VER_STRING, &ASession, OnError, OnWarning)
                      : png_create_read_struct(PNG_LIBPNG_VER_STRING, &ASession, OnError, OnWarning);
        if (FPng) FInfo = png_create_info_struct(FPng);
        if (!FInfo) throw EOutOfMemory(u"Out of memory");
    }
    TPngStruct(const TPngStruct&) = delete;
    TPngStruct& operator=(const TPngStruct&) = delete;
    ~TPngStruct() {
        if (FWrite)
            png_destroy_write_struct(&FPng, &FInfo);
        else
            png_destroy_read_struct(&FPng, &FInfo, nullptr);
    }
    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    bool FWrite;
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

bool GuardedReadInfo(png_structp APng, png_infop AInfo, TPngSession* ASession) {
    if (setjmp(png_jmpbuf(APng))) return false;
    png_set_read_fn(APng, ASession, OnRead);
    png_set_user_limits(APng, MaxImageDimension, MaxImageDimension);
    png_read_info(APng, AInfo);
    return true;
}

// Whatever the file holds arrives as 8-bit B, G, R, A.
bool GuardedSetTransforms(png_structp APng, png_infop AInfo) {
    if (setjmp(png_jmpbuf(APng))) return false;
    png_set_expand(APng);
    png_set_scale_16(APng);
    png_set_gray_to_rgb(APng);
    png_set_bgr(APng);
    if (!(png_get_color_type(APng, AInfo) & PNG_COLOR_MASK_ALPHA) &&
        !png_get_valid(APng, AInfo, PNG_INFO_tRNS))
        png_set_filler(APng, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(APng);
    png_read_update_info(APng, AInfo);
    return true;
}

bool GuardedReadImage(png_structp APng, png_bytepp ARows) {
    if (setjmp(png_jmpbuf(APng))) return false;
    png_read_image(APng, ARows);
    return true;
}

bool GuardedWrite(png_structp APng, png_infop AInfo, TPngSession* ASession, png_bytepp ARows,
                  png_uint_32 AWidth, png_uint_32 AHeight, int AColorType, png_color_16p ATransparent) {
    if (setjmp(png_jmpbuf(APng))) return false;
    png_set_write_fn(APng, ASession, OnWrite, OnFlush);
    png_set_IHDR(APng, AInfo, AWidth, AHeight, 8, AColorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (ATransparent) png_set_tRNS(APng, AInfo, nullptr, 0, ATransparent);
    png_set_compression_level(APng, 7);
    png_set_filter(APng, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_buffer_size(APng, 65535);
    png_write_info(APng, AInfo);
    png_set_bgr(APng);
    // Rows are handed over as B, G, R, A; true colour drops the fourth byte.
    if (AColorType == PNG_COLOR_TYPE_RGB) png_set_filler(APng, 0, PNG_FILLER_AFTER);
    png_write_image(APng, ARows);
    png_write_end(APng, AInfo);
    return true;
}

[[noreturn]] void Invalid(const TPngSession& ASession) {
    throw EInvalidGraphic(u"PNG image is not valid (%s)", {ASession.Message});
}

// A sample of ADepth bits widened (or narrowed) to 8 bits.
uint32_t To8Bit(uint32_t AValue, int ADepth) {
    if (ADepth == 16) return AValue >> 8;
    uint32_t max = (1u << ADepth) - 1;
    return (AValue & max) * 255 / max;
}

void ReadTransparency(png_structp APng, png_infop AInfo, TPngHeader& AHeader) {
    png_bytep alphas = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (!png_get_tRNS(APng, AInfo, &alphas, &count, &colour)) return;
    int depth = AHeader.BitDepth;
    switch (AHeader.ColorType) {
        case COLOR_GRAYSCALE: {
            uint32_t g = To8Bit(colour->gray, depth);
            AHeader.HasTransparentColor = true;
            AHeader.TransparentColor = g << 16 | g << 8 | g;
            break;
        }
        case COLOR_RGB:
            AHeader.HasTransparentColor = true;
            AHeader.TransparentColor = To8Bit(colour->red, depth) << 16 | To8Bit(colour->green, depth) << 8 |
                                       To8Bit(colour->blue, depth);
            break;
        case COLOR_PALETTE: {
            png_colorp palette = nullptr;
            int entries = 0;
            if (!png_get_PLTE(APng, AInfo, &palette, &entries)) break;
            for (int i = 0; i < count && i < entries; ++i) {
                if (alphas[i] != 0) continue;
                AHeader.HasTransparentColor = true;
                AHeader.TransparentColor = palette[i].red << 16 | palette[i].green << 8 | palette[i].blue;
                break;
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace

TImageData DecodePng(std::span<const Byte> AData, TPngHeader* AHeader) {
    TPngSession session;
    session.Input = AData;
    TPngStruct png(false, session);
    if (!GuardedReadInfo(png.Png(), png.Info(), &session)) Invalid(session);

    TPngHeader header;
    header.ColorType = static_cast<TPngColorType>(png_get_color_type(png.Png(), png.Info()));
    header.BitDepth = png_get_bit_depth(png.Png(), png.Info());
    ReadTransparency(png.Png(), png.Info(), header);
    const Int64 width = png_get_image_width(png.Png(), png.Info());
    const Int64 height = png_get_image_height(png.Png(), png.Info());
    CheckImageSize(width, height, "PNG");
    const int sourceBits = header.BitDepth * png_get_channels(png.Png(), png.Info());

    if (!GuardedSetTransforms(png.Png(), png.Info())) Invalid(session);
    if (png_get_rowbytes(png.Png(), png.Info()) != static_cast<size_t>(width) * 4) {
        std::snprintf(session.Message, sizeof session.Message, "unsupported format");
        Invalid(session);
    }

    TImageData image(static_cast<Integer>(width), static_cast<Integer>(height));
    image.BitCount = sourceBits;
    image.HasAlpha =
        (header.ColorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png.Png(), png.Info(), PNG_INFO_tRNS);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (Integer y = 0; y < image.Height(); ++y)
        rows[y] = image.ScanLine(y);
    if (!GuardedReadImage(png.Png(), rows.data())) Invalid(session);
    if (AHeader) *AHeader = header;
    return image;
}

std::vector<Byte> EncodePng(const TImageData& AImage, bool AWithAlpha, const uint32_t* ATransparentColor) {
    if (AImage.Empty()) throw EInvalidGraphic(u"Cannot save an empty PNG image");
    std::vector<Byte> out;
    TPngSession session;
    session.Output = &out;
    TPngStruct png(true, session);
    std::vector<png_bytep> rows(AImage.Height());
    for (Integer y = 0; y < AImage.Height(); ++y)
        rows[y] = const_cast<Byte*>(AImage.ScanLine(y));
    png_color_16 transparent{};
    png_color_16p trns = nullptr;
    if (ATransparentColor && !AWithAlpha) {
        transparent.red = (*ATransparentColor >> 16) & 0xFF;
        transparent.green = (*ATransparentColor >> 8) & 0xFF;
        transparent.blue = *ATransparentColor & 0xFF;
        trns = &transparent;
    }
    int colorType = AWithAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    if (!GuardedWrite(png.Png(), png.Info(), &session, rows.data(), AImage.Width(), AImage.Height(),
                      colorType, trns))
        throw EInvalidGraphic(u"PNG image could not be written (%s)", {session.Message});
    return out;
}
