#include "platform/gdi/metafilecodec.h"

#include <cairo.h>
#include <emf2svg.h>
#include <librsvg/rsvg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

#include "platform/gdi/bytefields.h"
#include "platform/gdi/pngcodec.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr size_t PlaceableSize = 22;
constexpr size_t WmfHeaderSize = 18;
constexpr uint32_t EmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t EMR_HEADER = 1;
constexpr uint32_t EMR_EOF = 14;
constexpr size_t EmfHeaderSize = 88;
constexpr double ScreenDpi = 96;

constexpr const char16_t* InvalidText = u"Metafile is not valid";

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(InvalidText);
}

Integer AtLeastOne(double AValue) {
    if (!(AValue >= 1)) return 1;
    return AValue > MaxImageDimension ? MaxImageDimension : static_cast<Integer>(std::lround(AValue));
}

bool IsPlaceable(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    return AData.size() >= 4 && in.Read32(0) == PlaceableKey;
}

bool IsEmf(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    return AData.size() >= 44 && in.Read32(0) == EMR_HEADER && in.Read32(40) == EmfSignature;
}

// Every record of a plain metafile inside the file, up to its end record.
void CheckWmfRecords(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    // A placeable page needs a size and a scale.
    if (IsPlaceable(AData) &&
        (in.Read16(14) == 0 || in.ReadI16(6) == in.ReadI16(10) || in.ReadI16(8) == in.ReadI16(12)))
        Invalid();
    size_t at = IsPlaceable(AData) ? PlaceableSize : 0;
    const uint32_t type = in.Read16(at), headerWords = in.Read16(at + 2);
    if ((type != 1 && type != 2) || headerWords != WmfHeaderSize / 2) Invalid();
    // The player takes a buffer of the largest record the header names.
    if (in.Read32(at + 12) > (AData.size() - at) / 2) Invalid();
    for (at += WmfHeaderSize;;) {
        const uint32_t words = in.Read32(at);
        const uint32_t function = in.Read16(at + 4);
        if (words < 3 || words > (AData.size() - at) / 2) Invalid();
        if (function == 0) return;
        at += size_t{words} * 2;
    }
}

// Every record of an enhanced metafile inside the file, up to its end record.
void CheckEmfRecords(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    if (in.Read32(4) < EmfHeaderSize) Invalid();
    for (size_t at = 0;;) {
        const uint32_t type = in.Read32(at), size = in.Read32(at + 4);
        if (size < 8 || size % 4 != 0 || size > AData.size() - at) Invalid();
        if (type == EMR_EOF) return;
        at += size;
    }
}

// The PNG file that starts at AStart, which libwmf hands over without its
// length: its chunks up to IEND.
std::span<const Byte> PngFile(const Byte* AStart) {
    size_t at = 8;
    for (;;) {
        const Byte* chunk = AStart + at;
        const size_t length =
            size_t{chunk[0]} << 24 | size_t{chunk[1]} << 16 | size_t{chunk[2]} << 8 | chunk[3];
        at += 12 + length;
        if (std::equal(chunk + 4, chunk + 8, "IEND")) return {AStart, at};
    }
}

// A libwmf player drawing with its gd device.
class TWmfPlayer {
public:
    explicit TWmfPlayer(std::span<const Byte> AData) : FData(AData.begin(), AData.end()) {
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        wmfAPI* api = nullptr;
        const wmf_error_t created = wmf_api_create(&api, flags, &options);
        // Owned at once, so that a refusal below frees it too.
        FApi.reset(api);
        if (created != wmf_E_None || !FApi) Invalid();
        if (wmf_mem_open(FApi.get(), FData.data(), static_cast<long>(FData.size())) != wmf_E_None ||
            wmf_scan(FApi.get(), 0, &FBox) != wmf_E_None)
            Invalid();
        // The scan finds what is drawn; a placeable file names its page, which
        // the player measures in points.
        if (IsPlaceable(AData)) {
            const TByteFields in(AData, InvalidText);
            const float scale = 72.0f / float(in.Read16(14));
            const float left = float(in.ReadI16(6)) * scale, top = float(in.ReadI16(8)) * scale;
            const float right = float(in.ReadI16(10)) * scale, bottom = float(in.ReadI16(12)) * scale;
            FBox.TL = {std::min(left, right), std::min(top, bottom)};
            FBox.BR = {std::max(left, right), std::max(top, bottom)};
        }
    }
    void DisplaySize(Integer& AWidth, Integer& AHeight) {
        unsigned int width = 0, height = 0;
        if (wmf_display_size(FApi.get(), &width, &height, ScreenDpi, ScreenDpi) != wmf_E_None) Invalid();
        AWidth = AtLeastOne(width);
        AHeight = AtLeastOne(height);
    }

    // Played into a PNG file in libwmf's memory: its gd image is freed only
    // on that road.
    TImageData Play(Integer AWidth, Integer AHeight) {
        wmf_gd_t* device = WMF_GD_GetData(FApi.get());
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_MEMORY;
        device->bbox = FBox;
        device->width = static_cast<unsigned int>(AWidth);
        device->height = static_cast<unsigned int>(AHeight);
        if (wmf_play(FApi.get(), 0, &FBox) != wmf_E_None || !device->memory) Invalid();
        TImageData image = DecodePng(PngFile(reinterpret_cast<const Byte*>(device->memory)));
        if (image.Width() != AWidth || image.Height() != AHeight) Invalid();
        return image;
    }

private:
    std::vector<unsigned char> FData;
    std::unique_ptr<wmfAPI, decltype(&wmf_api_destroy)> FApi{nullptr, wmf_api_destroy};
    wmfD_Rect FBox{};
};

TMetafileInfo ProbeWmf(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    CheckWmfRecords(AData);
    TMetafileInfo info;
    info.Kind = mkWmf;
    if (IsPlaceable(AData)) {
        const double inch = in.Read16(14);
        const double w = std::abs(in.ReadI16(10) - in.ReadI16(6)),
                     h = std::abs(in.ReadI16(12) - in.ReadI16(8));
        info.Width = AtLeastOne(w * ScreenDpi / inch);
        info.Height = AtLeastOne(h * ScreenDpi / inch);
        return info;
    }
    TWmfPlayer(AData).DisplaySize(info.Width, info.Height);
    return info;
}

TMetafileInfo ProbeEmf(std::span<const Byte> AData) {
    const TByteFields in(AData, InvalidText);
    CheckEmfRecords(AData);
    TMetafileInfo info;
    info.Kind = mkEmf;
    // The frame is in hundredths of a millimetre; without one, the bounds in pixels.
    const double frameW = double(in.ReadI32(32)) - in.ReadI32(24),
                 frameH = double(in.ReadI32(36)) - in.ReadI32(28);
    if (frameW > 0 && frameH > 0) {
        info.Width = AtLeastOne(frameW * ScreenDpi / 2540);
        info.Height = AtLeastOne(frameH * ScreenDpi / 2540);
    } else {
        info.Width = AtLeastOne(double(in.ReadI32(16)) - in.ReadI32(8) + 1);
        info.Height = AtLeastOne(double(in.ReadI32(20)) - in.ReadI32(12) + 1);
    }
    return info;
}

struct TCFree {
    void operator()(void* APointer) const { std::free(APointer); }
};

TImageData RenderEmf(std::span<const Byte> AData, Integer AWidth, Integer AHeight) {
    CheckEmfRecords(AData);
    std::vector<char> contents(AData.begin(), AData.end());
    // No name space: with one, libemf2svg keeps a copy of it for good.
    generatorOptions options{};
    options.svgDelimiter = true;
    options.imgWidth = AWidth;
    options.imgHeight = AHeight;
    char* svg = nullptr;
    size_t svgLength = 0;
    const int converted = emf2svg(contents.data(), contents.size(), &svg, &svgLength, &options);
    const std::unique_ptr<char, TCFree> svgOwner(svg);
    if (!converted || !svg || svgLength == 0) Invalid();

    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg), svgLength, &error);
    if (!handle) {
        g_clear_error(&error);
        Invalid();
    }
    const std::unique_ptr<RsvgHandle, decltype(&g_object_unref)> handleOwner(handle, g_object_unref);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, AWidth, AHeight);
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surfaceOwner(
        surface, cairo_surface_destroy);
    cairo_t* cr = cairo_create(surface);
    // Scaled to the whole size either way, as a played metafile is: the
    // document would otherwise keep its shape inside the viewport.
    double width = 0, height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) || width <= 0 || height <= 0) {
        width = AWidth;
        height = AHeight;
    }
    cairo_scale(cr, AWidth / width, AHeight / height);
    const RsvgRectangle viewport{0, 0, width, height};
    const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    g_clear_error(&error);
    if (!drawn || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) Invalid();
    cairo_surface_flush(surface);

    // Cairo's pixels are premultiplied, 0xAARRGGBB in native order.
    TImageData image(AWidth, AHeight);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (Integer y = 0; y < AHeight; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        Byte* row = image.ScanLine(y);
        for (Integer x = 0; x < AWidth; ++x, row += 4) {
            const uint32_t p = src[x], a = p >> 24;
            const auto straight = [a](uint32_t AChannel) {
                return static_cast<Byte>(a == 0 ? 0 : std::min<uint32_t>(255, (AChannel * 255 + a / 2) / a));
            };
            row[0] = straight(p & 0xFF);
            row[1] = straight((p >> 8) & 0xFF);
            row[2] = straight((p >> 16) & 0xFF);
            row[3] = static_cast<Byte>(a);
        }
    }
    return image;
}

}  // namespace

TMetafileInfo ProbeMetafile(std::span<const Byte> AData) {
    return IsEmf(AData) ? ProbeEmf(AData) : ProbeWmf(AData);
}

TImageData RenderMetafile(std::span<const Byte> AData, Integer AWidth, Integer AHeight) {
    if (AWidth < 1 || AHeight < 1) Invalid();
    TImageData image = IsEmf(AData) ? RenderEmf(AData, AWidth, AHeight) : [&] {
        CheckWmfRecords(AData);
        return TWmfPlayer(AData).Play(AWidth, AHeight);
    }();
    image.HasAlpha = true;
    return image;
}
