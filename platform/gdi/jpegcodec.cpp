#include "platform/gdi/jpegcodec.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>

// libjpeg's fatal errors must not return. The error exit longjmps back into
// the Guarded* function that made the call; those frames hold nothing with a
// destructor, and what they work on lives in the callers' frames, so the
// jump skips no C++ destructor. The callers raise once back in C++.

namespace {

struct TJpegError {
    jpeg_error_mgr Manager;  // first: the library hands us a pointer to it
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
    bool Truncated;
};

void OnErrorExit(j_common_ptr AInfo) {
    auto* error = reinterpret_cast<TJpegError*>(AInfo->err);
    error->Manager.format_message(AInfo, error->Message);
    std::longjmp(error->Jump, 1);
}

// Warnings stay quiet; a cut file is decoded to its end by the library, but
// the picture is not what the file should hold.
void OnEmitMessage(j_common_ptr AInfo, int ALevel) {
    auto* error = reinterpret_cast<TJpegError*>(AInfo->err);
    if (ALevel < 0 && error->Manager.msg_code == JWRN_JPEG_EOF) {
        error->Manager.format_message(AInfo, error->Message);
        error->Truncated = true;
    }
}

// A compression or decompression object with our error handling; both kinds
// are destroyed through their common part.
template <typename TInfo>
class TJpegObject {
public:
    TJpegObject() {
        jpeg_std_error(&Error.Manager);
        Error.Manager.error_exit = OnErrorExit;
        Error.Manager.emit_message = OnEmitMessage;
        Error.Message[0] = 0;
        Error.Truncated = false;
        Info.err = &Error.Manager;
    }
    TJpegObject(const TJpegObject&) = delete;
    TJpegObject& operator=(const TJpegObject&) = delete;
    ~TJpegObject() { jpeg_destroy(reinterpret_cast<j_common_ptr>(&Info)); }

    TInfo Info{};
    TJpegError Error;
};

using TDecompressor = TJpegObject<jpeg_decompress_struct>;

class TCompressor : public TJpegObject<jpeg_compress_struct> {
public:
    ~TCompressor() { std::free(Buffer); }

    // Allocated and grown by the library's memory destination; ours to free.
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
};

bool GuardedReadHeader(jpeg_decompress_struct* AInfo, TJpegError* AError, const Byte* AData, size_t ASize) {
    if (setjmp(AError->Jump)) return false;
    jpeg_create_decompress(AInfo);
    jpeg_mem_src(AInfo, AData, static_cast<unsigned long>(ASize));
    jpeg_read_header(AInfo, TRUE);
    return true;
}

bool GuardedDecode(jpeg_decompress_struct* AInfo, TJpegError* AError, Byte** ARows) {
    if (setjmp(AError->Jump)) return false;
    AInfo->out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(AInfo);
    while (AInfo->output_scanline < AInfo->output_height) {
        JSAMPROW row = ARows[AInfo->output_scanline];
        jpeg_read_scanlines(AInfo, &row, 1);
    }
    jpeg_finish_decompress(AInfo);
    return true;
}

bool GuardedEncode(TCompressor* ACompressor, Byte** ARows, Integer AWidth, Integer AHeight,
                   Integer AQuality) {
    jpeg_compress_struct* info = &ACompressor->Info;
    if (setjmp(ACompressor->Error.Jump)) return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, &ACompressor->Buffer, &ACompressor->Size);
    info->image_width = static_cast<JDIMENSION>(AWidth);
    info->image_height = static_cast<JDIMENSION>(AHeight);
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, AQuality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height)
        jpeg_write_scanlines(info, &ARows[info->next_scanline], 1);
    jpeg_finish_compress(info);
    return true;
}

[[noreturn]] void Invalid(const char* AMessage) {
    throw EInvalidGraphic(u"JPEG image is not valid (%s)", {AMessage});
}

}  // namespace

TImageData DecodeJpeg(std::span<const Byte> AData) {
    TDecompressor jpeg;
    if (!GuardedReadHeader(&jpeg.Info, &jpeg.Error, AData.data(), AData.size())) Invalid(jpeg.Error.Message);
    CheckImageSize(jpeg.Info.image_width, jpeg.Info.image_height, "JPEG");
    switch (jpeg.Info.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            break;
        default:
            Invalid("unsupported colour space");
    }
    TImageData image(static_cast<Integer>(jpeg.Info.image_width),
                     static_cast<Integer>(jpeg.Info.image_height));
    image.BitCount = 8 * jpeg.Info.num_components;
    std::vector<Byte*> rows(image.Height());
    for (Integer y = 0; y < image.Height(); ++y)
        rows[y] = image.ScanLine(y);
    if (!GuardedDecode(&jpeg.Info, &jpeg.Error, rows.data()) || jpeg.Error.Truncated)
        Invalid(jpeg.Error.Message);
    return image;
}

std::vector<Byte> EncodeJpeg(const TImageData& AImage, Integer AQuality) {
    if (AImage.Empty()) throw EInvalidGraphic(u"Cannot save an empty JPEG image");
    TCompressor jpeg;
    std::vector<Byte*> rows(AImage.Height());
    for (Integer y = 0; y < AImage.Height(); ++y)
        rows[y] = const_cast<Byte*>(AImage.ScanLine(y));
    if (!GuardedEncode(&jpeg, rows.data(), AImage.Width(), AImage.Height(), std::clamp(AQuality, 1, 100)))
        throw EInvalidGraphic(u"JPEG image could not be written (%s)", {jpeg.Error.Message});
    return std::vector<Byte>(jpeg.Buffer, jpeg.Buffer + jpeg.Size);
}
