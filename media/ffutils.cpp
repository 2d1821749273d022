#include "media/ffutils.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavutil/error.h>
}

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"
#include "media/myutilstubs.h"
#include "media/swscalestubs.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/graphicsobjects.h"

namespace {

String CodecNameText(AVCodecID ACodecID, uint32_t ATag, bool AEncoder) {
    const AVCodec* codec =
        AEncoder ? avcodec::avcodec_find_encoder(ACodecID) : avcodec::avcodec_find_decoder(ACodecID);
    if (codec) {
        const String name = UTF8ToString(codec->name);
        const String longName = Trim(UTF8ToString(codec->long_name ? codec->long_name : ""));
        return longName.empty() ? name : Format(u"%s(%s)", {name, longName});
    }
    if (ACodecID == AV_CODEC_ID_MPEG2TS) return u"mpeg2ts";
    // A known id without a codec in this build still has a name.
    if (const AVCodecDescriptor* descriptor = avcodec::avcodec_descriptor_get(ACodecID))
        return Trim(UTF8ToString(descriptor->name));
    const char16_t c0 = ATag & 0xFF, c1 = (ATag >> 8) & 0xFF, c2 = (ATag >> 16) & 0xFF, c3 = ATag >> 24;
    auto printable = [](char16_t c) { return c >= 32 && c <= 126; };
    if (printable(c0) && printable(c1) && printable(c2) && printable(c3))
        return Format(u"%s%s%s%s / 0x%.4X", {c0, c1, c2, c3, ATag});
    return Format(u"0x%.4X", {ATag});
}

// The option lookup masks of the media types, in type order.
constexpr int kOptionTypeMasks[AVMEDIA_TYPE_NB] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                                   AV_OPT_FLAG_SUBTITLE_PARAM, 0};

// Rate-control options that now also carry the audio flag.
bool IsVideoRateOption(const char* AName) {
    for (const char* name : {"b", "maxrate", "minrate", "bufsize"})
        if (std::strcmp(AName, name) == 0) return true;
    return false;
}

// Sets one option on AObject and tells which option took it (nil when the
// object has none of that name).
int SetOption(void* AObject, const char* AName, const char* AValue, const AVOption*& AOption) {
    AOption = AObject ? avutil::av_opt_find2(AObject, AName, nullptr, 0, 0, nullptr) : nullptr;
    if (!AOption) return AVERROR_OPTION_NOT_FOUND;
    return avutil::av_opt_set(AObject, AName, AValue, 0);
}

bool HasPrivateOption(const AVClass* AClass, const char* AName) {
    return AClass && avutil::av_opt_find2(&AClass, AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ, nullptr);
}

// Whether ACodec takes the value as its own option, tried on a context of its own.
bool CodecTakes(const AVCodec* ACodec, const char* AName, const char* AValue) {
    AVCodecContext* context = avcodec::avcodec_alloc_context3(ACodec);
    if (!context) return false;
    const bool taken = context->priv_data && avutil::av_opt_set(context->priv_data, AName, AValue, 0) >= 0;
    avcodec::avcodec_free_context(&context);
    return taken;
}

// Whether some codec of AType takes the value as its own option; AKnown
// tells whether any knows the name.
bool SomeCodecTakes(Integer AType, const char* AName, const char* AValue, bool& AKnown) {
    AKnown = false;
    void* iterator = nullptr;
    while (const AVCodec* codec = avcodec::av_codec_iterate(&iterator)) {
        if (codec->type != AType || !HasPrivateOption(codec->priv_class, AName)) continue;
        AKnown = true;
        if (CodecTakes(codec, AName, AValue)) return true;
    }
    return false;
}

// Whether AFormat takes the value as its own option, tried on a context of its own.
bool MuxerTakes(const AVOutputFormat* AFormat, const char* AName, const char* AValue) {
    AVFormatContext* context = nullptr;
    if (avformat::avformat_alloc_output_context2(&context, AFormat, nullptr, nullptr) < 0) return false;
    const bool taken = context->priv_data && avutil::av_opt_set(context->priv_data, AName, AValue, 0) >= 0;
    avformat::avformat_free_context(context);
    return taken;
}

// Whether some muxer takes the value as its own option; AKnown tells whether
// any knows the name.
bool SomeMuxerTakes(const char* AName, const char* AValue, bool& AKnown) {
    AKnown = false;
    void* iterator = nullptr;
    while (const AVOutputFormat* format = avformat::av_muxer_iterate(&iterator)) {
        if (!HasPrivateOption(format->priv_class, AName)) continue;
        AKnown = true;
        if (MuxerTakes(format, AName, AValue)) return true;
    }
    return false;
}

// Bytes of one bitmap row: the toolkit's rows are padded to 4 bytes.
Integer BitmapRowSize(const TRGBConvertContext& AContext, Integer AWidth) {
    const Integer bitsPerPixel = AContext.BMPPixFmt == pf32bit ? 32 : 24;
    return (AWidth * bitsPerPixel + 31) / 32 * 4;
}

// Other threads may draw on the bitmap (hooks, snapshots).
struct TCanvasLock {
    explicit TCanvasLock(TCanvas* ACanvas) : Canvas(ACanvas) { Canvas->Lock(); }
    ~TCanvasLock() { Canvas->Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;
    TCanvas* Canvas;
};

void LogInvalidValue(const char* AName, const char* AValue) {
    const AnsiString text = FormatAnsi("Invalid value \"%s\" for option \"%s\"\n", {AValue, AName});
    avutil::av_log(nullptr, AV_LOG_ERROR, "%s", text.c_str());
}

// The library's own words for a code ("No space left on device"); without
// the library, its number.
String LibraryErrorText(Integer ACode) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (avutil::av_strerror && avutil::av_strerror(ACode, text, sizeof text) == 0) return UTF8ToString(text);
    return Format(u"Error number %d occurred", {ACode});
}

}  // namespace

String PTSToTimeText(Int64 APTS) {
    if (APTS == AV_NOPTS_VALUE) return u"N/A";
    const Int64 seconds = APTS / 1000000;
    return Format(u"%.2d:%.2d:%.2d.%.3d",
                  {seconds / 3600, (seconds / 60) % 60, seconds % 60, (APTS % 1000000) * 1000 / 1000000});
}

Int64 FrameRateToPeriod(AVRational ARate) {
    if (ARate.num == 0 || ARate.den == 0) return 40000;
    return Int64{1000000} * ARate.den / ARate.num;
}

String AVErrorText(std::u16string_view APrefix, Integer ACode) {
    // The classic codes, and the codes the current libraries use for the
    // same conditions, keep the classic texts.
    const char16_t* text = nullptr;
    switch (ACode) {
        case AVERROR(ENOENT):
            text = u"No such file or directory";
            break;
        case AVERROR(EIO):
            text = u"I/O error";
            break;
        case AVERROR(ENOMEM):
            text = u"Not enough memory";
            break;
        case AVERROR(EINVAL):
        case AVERROR_INVALIDDATA:
            text = u"Invalid data found when processing input";
            break;
        case AVERROR(EPIPE):
        case AVERROR_EOF:
            text = u"End of file";
            break;
        case AVERROR(EDOM):
            text = u"Number syntax expected in filename";
            break;
        case AVERROR(EILSEQ):
        case AVERROR_DEMUXER_NOT_FOUND:
        case AVERROR_MUXER_NOT_FOUND:
            text = u"Unknown format";
            break;
        case AVERROR(EPROTONOSUPPORT):
        case AVERROR_PROTOCOL_NOT_FOUND:
            text = u"Unsupported network protocol";
            break;
        case AVERROR_PATCHWELCOME:
            text = u"Not yet implemented in FFmpeg";
            break;
        default:
            break;
    }
    return String(APrefix) + u": " + (text ? String(text) : LibraryErrorText(ACode));
}

Integer ReadWholeFile(const char* AFileName, char*& ABuffer, Integer& ASize) {
    FILE* file = myutil::fopen(AFileName, "rb");
    if (!file) return -1;
    myutil::fseek(file, 0, SEEK_END);
    const long size = myutil::ftell(file);
    myutil::fseek(file, 0, SEEK_SET);
    char* buffer = size >= 0 && size < INT32_MAX ? static_cast<char*>(avutil::av_malloc(size + 1)) : nullptr;
    if (!buffer) {
        myutil::fclose(file);
        return AVERROR(ENOMEM);
    }
    const size_t read = myutil::fread(buffer, 1, static_cast<size_t>(size), file);
    buffer[read] = 0;
    ABuffer = buffer;
    ASize = static_cast<Integer>(read) + 1;
    myutil::fclose(file);
    return 0;
}

String MetadataValue(const AVDictionary* AMetadata, const char* AKey, const String& ADefault) {
    const AVDictionaryEntry* entry = avutil::av_dict_get(AMetadata, AKey, nullptr, 0);
    return entry && entry->value ? UTF8ToString(entry->value) : ADefault;
}

String CodecNameText(const AVCodecParameters* AParameters, bool AEncoder) {
    return CodecNameText(AParameters->codec_id, AParameters->codec_tag, AEncoder);
}

String CodecNameText(const AVCodecContext* AContext, bool AEncoder) {
    return CodecNameText(AContext->codec_id, AContext->codec_tag, AEncoder);
}

bool EncoderAvailable(const AnsiString& AName) {
    return avcodec::avcodec_find_encoder_by_name && avcodec::avcodec_find_encoder_by_name(AName.c_str());
}

String MediaTypeName(Integer AType) {
    switch (AType) {
        case AVMEDIA_TYPE_VIDEO:
            return u"Video";
        case AVMEDIA_TYPE_AUDIO:
            return u"Audio";
        case AVMEDIA_TYPE_DATA:
            return u"Data";
        case AVMEDIA_TYPE_SUBTITLE:
            return u"Subtitle";
        case AVMEDIA_TYPE_ATTACHMENT:
            return u"Attachment";
        default:
            return u"Unknown";
    }
}

TDisplayTurn DisplayTurn(const int32_t* AMatrix) {
    TDisplayTurn turn;
    if (!AMatrix) return turn;
    // Shown x = a x + c y, shown y = b x + d y: each of a, b, c, d as -1, 0 or 1.
    const double a = AMatrix[0], b = AMatrix[1], c = AMatrix[3], d = AMatrix[4];
    const double largest = std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d)});
    if (largest <= 0) return turn;
    const auto unit = [largest](double AValue) {
        return std::fabs(AValue) < largest / 2 ? 0 : AValue > 0 ? 1 : -1;
    };
    const int ua = unit(a), ub = unit(b), uc = unit(c), ud = unit(d);
    static const struct {
        int A, B, C, D;
        const char* Filters;
        double Rotation;
        bool Flipped;
    } kTurns[] = {
        {1, 0, 0, 1, "", 0, false},
        {-1, 0, 0, -1, "hflip,vflip", 180, false},
        {0, 1, -1, 0, "transpose=clock", -90, false},
        {0, -1, 1, 0, "transpose=cclock", 90, false},
        {-1, 0, 0, 1, "hflip", 0, true},
        {1, 0, 0, -1, "vflip", 180, true},
        {0, 1, 1, 0, "transpose=cclock_flip", -90, true},
        {0, -1, -1, 0, "transpose=clock_flip", 90, true},
    };
    for (const auto& known : kTurns) {
        if (known.A != ua || known.B != ub || known.C != uc || known.D != ud) continue;
        // Anything else (a slant, a shear) is not the pictures' business.
        const double rest = std::fabs(a - ua * largest) + std::fabs(b - ub * largest) +
                            std::fabs(c - uc * largest) + std::fabs(d - ud * largest);
        if (rest > largest / 50) return turn;
        turn.Filters = known.Filters;
        turn.Swaps = ua == 0;
        turn.Rotation = known.Rotation;
        turn.Flipped = known.Flipped;
        break;
    }
    return turn;
}

const int32_t* StreamDisplayMatrix(const AVStream* AStream) {
    for (int i = 0; AStream && i < AStream->nb_side_data; ++i) {
        const AVPacketSideData& data = AStream->side_data[i];
        if (data.type == AV_PKT_DATA_DISPLAYMATRIX && data.size >= 9 * sizeof(int32_t))
            return reinterpret_cast<const int32_t*>(data.data);
    }
    return nullptr;
}

void InitFFOptions(TFFOptions& AOptions) {
    AOptions = TFFOptions{};
}

void AllocFFOptions(TFFOptions& AOptions, Integer ASwsFlags) {
    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        AOptions.avcodec_opts[type] = avcodec::avcodec_alloc_context3(nullptr);
        // Without a codec the context takes its type from us.
        if (AOptions.avcodec_opts[type])
            AOptions.avcodec_opts[type]->codec_type = static_cast<AVMediaType>(type);
    }
    AOptions.avformat_opts = avformat::avformat_alloc_context();
    AOptions.sws_opts = swscale::sws_getContext(16, 16, AV_PIX_FMT_YUV420P, 16, 16, AV_PIX_FMT_YUV420P,
                                                ASwsFlags, nullptr, nullptr, nullptr);
}

void FreeFFOptions(TFFOptions& AOptions) {
    // Only what was made is freed: options never allocated need no library.
    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        if (AOptions.avcodec_opts[type]) avcodec::avcodec_free_context(&AOptions.avcodec_opts[type]);
        if (AOptions.codec_private_opts[type]) avutil::av_dict_free(&AOptions.codec_private_opts[type]);
    }
    if (AOptions.muxer_private_opts) avutil::av_dict_free(&AOptions.muxer_private_opts);
    if (AOptions.avformat_opts) avformat::avformat_free_context(AOptions.avformat_opts);
    if (AOptions.sws_opts) swscale::sws_freeContext(AOptions.sws_opts);
    AOptions = TFFOptions{};
}

namespace {

enum TOptionVerdict { ovUnknown, ovRefused, ovTaken };

// Sets the option wherever it is taken; AOption is the generic option that
// took it, if any.
TOptionVerdict JudgeFFOption(TFFOptions& AOptions, const char* AName, const char* AValue,
                             const TFFOptionTargets& ATargets, const AVOption*& AOption) {
    // A value is judged by what will use it: the encoder of each type where
    // it is known already, else any codec of the type. One taker is enough;
    // whoever opens the codec reports what it leaves. The refusals on the
    // way are no news: only a value nothing takes is logged, below.
    TQuietLibraryLog quiet;
    bool known = false, taken = false;
    const AVOption*& option = AOption;
    option = nullptr;
    for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
        const AVCodec* encoder = ATargets.Encoders[type];
        // An encoder reads its own options before the generic ones.
        if (encoder && HasPrivateOption(encoder->priv_class, AName)) {
            known = true;
            if (CodecTakes(encoder, AName, AValue)) {
                taken = true;
                avutil::av_dict_set(&AOptions.codec_private_opts[type], AName, AValue, 0);
            }
            continue;
        }
        // These were the video's alone; audio has "ab" and its kin.
        if (type == AVMEDIA_TYPE_AUDIO && IsVideoRateOption(AName)) continue;
        if (!AOptions.avcodec_opts[0] || !avutil::av_opt_find2(AOptions.avcodec_opts[0], AName, nullptr,
                                                               kOptionTypeMasks[type], 0, nullptr))
            continue;
        known = true;
        const AVOption* found = nullptr;
        if (SetOption(AOptions.avcodec_opts[type], AName, AValue, found) >= 0) {
            taken = true;
            option = found;
            continue;
        }
        // Some codec of the type may take as its own what the generic option refuses.
        bool privately = false;
        if (!encoder && SomeCodecTakes(type, AName, AValue, privately)) {
            taken = true;
            avutil::av_dict_set(&AOptions.codec_private_opts[type], AName, AValue, 0);
        }
    }
    if (!known) {
        int result = SetOption(AOptions.avformat_opts, AName, AValue, option);
        if (!option) result = SetOption(AOptions.sws_opts, AName, AValue, option);
        if (!option) {
            const int type = AName[0] == 'a'   ? AVMEDIA_TYPE_AUDIO
                             : AName[0] == 'v' ? AVMEDIA_TYPE_VIDEO
                             : AName[0] == 's' ? AVMEDIA_TYPE_SUBTITLE
                                               : -1;
            if (type >= 0) result = SetOption(AOptions.avcodec_opts[type], AName + 1, AValue, option);
        }
        known = option != nullptr;
        taken = known && result >= 0;
        if (!taken) option = nullptr;
    }
    if (!known) {
        // Codecs keep many options to themselves now: such a name is kept for
        // each type whose codecs know it.
        for (int type = 0; type < AVMEDIA_TYPE_NB; ++type) {
            bool knownHere = false;
            if (SomeCodecTakes(type, AName, AValue, knownHere)) {
                taken = true;
                avutil::av_dict_set(&AOptions.codec_private_opts[type], AName, AValue, 0);
            }
            known = known || knownHere;
        }
    }
    if (!known) {
        // Muxer options went the same way: the muxer asked for, or any.
        if (ATargets.Muxer && HasPrivateOption(ATargets.Muxer->priv_class, AName)) {
            known = true;
            taken = MuxerTakes(ATargets.Muxer, AName, AValue);
        } else {
            taken = SomeMuxerTakes(AName, AValue, known);
        }
        if (taken) avutil::av_dict_set(&AOptions.muxer_private_opts, AName, AValue, 0);
    }
    return !known ? ovUnknown : taken ? ovTaken : ovRefused;
}

}  // namespace

bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue,
                 const TFFOptionTargets& ATargets) {
    if (!AName || !AValue || Trim(UTF8ToString(AName)).empty() || Trim(UTF8ToString(AValue)).empty())
        return false;
    const AVOption* option = nullptr;
    switch (JudgeFFOption(AOptions, AName, AValue, ATargets, option)) {
        case ovUnknown:
            return false;
        case ovRefused:
            LogInvalidValue(AName, AValue);
            return false;
        case ovTaken:
            break;
    }
    if (option) {
        AOptions.opt_names.emplace_back(option->name);
        if ((AOptions.avcodec_opts[0] && AOptions.avcodec_opts[0]->debug) ||
            (AOptions.avformat_opts && AOptions.avformat_opts->debug))
            GetLogger()->SetLogLevel(llDebug);
    }
    return true;
}

void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, Integer AFlags) {
    for (const AnsiString& name : AOptions.opt_names) {
        const AVOption* option = avutil::av_opt_find2(ASource, name.c_str(), nullptr, 0, 0, nullptr);
        uint8_t* value = nullptr;
        if (option && (option->flags & AFlags) == AFlags &&
            avutil::av_opt_get(ASource, name.c_str(), 0, &value) >= 0 && value)
            avutil::av_opt_set(ATarget, name.c_str(), reinterpret_cast<const char*>(value), 0);
        avutil::av_free(value);
    }
}

AVDictionary* CodecPrivateOptions(const TFFOptions& AOptions, Integer AType) {
    AVDictionary* copy = nullptr;
    if (AType >= 0 && AType < AVMEDIA_TYPE_NB)
        avutil::av_dict_copy(&copy, AOptions.codec_private_opts[AType], 0);
    return copy;
}

AVDictionary* MuxerPrivateOptions(const TFFOptions& AOptions) {
    AVDictionary* copy = nullptr;
    avutil::av_dict_copy(&copy, AOptions.muxer_private_opts, 0);
    return copy;
}

void ResetRGBConvertContext(TRGBConvertContext& AContext) {
    Free(AContext.Bitmap);
    // As with the options, only what was made is freed.
    if (AContext.RGBBuf) avutil::av_free(AContext.RGBBuf);
    if (AContext.toRGB_convert_ctx) swscale::sws_freeContext(AContext.toRGB_convert_ctx);
    if (AContext.fromRGB_convert_ctx) swscale::sws_freeContext(AContext.fromRGB_convert_ctx);
    AContext = TRGBConvertContext{};
}

TBitmap* CreateFrameBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat) {
    auto* bitmap = new TBitmap;
    bitmap->SetPixelFormat(AFormat);
    bitmap->SetSize(AWidth, AHeight);
    bitmap->Canvas()->Brush()->SetStyle(bsClear);
    return bitmap;
}

bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture* APicture, Integer APixFmt,
                     Integer AWidth, Integer AHeight) {
    if (!APicture || AWidth < 1 || AHeight < 1) return false;
    if (!AContext.Bitmap) AContext.Bitmap = CreateFrameBitmap(AWidth, AHeight, AContext.BMPPixFmt);
    AContext.Bitmap->SetSize(AWidth, AHeight);

    if (APixFmt == AContext.RGBPixFmt && AWidth % 2 == 0 && AHeight % 2 == 0 &&
        APicture->linesize[0] == BitmapRowSize(AContext, AWidth)) {
        AContext.RGBPictureRef = APicture;
    } else {
        // The scaler aborts the process on a format it cannot read.
        if (!swscale::sws_isSupportedInput(static_cast<AVPixelFormat>(APixFmt))) return false;
        const Integer size = avutil::av_image_get_buffer_size(AContext.RGBPixFmt, AWidth, AHeight, 1);
        if (size < 0) return false;
        if (AContext.RGBBufSize < size) {
            if (AContext.RGBBuf) avutil::av_free(AContext.RGBBuf);
            AContext.RGBBuf = static_cast<uint8_t*>(avutil::av_malloc(static_cast<size_t>(size)));
            AContext.RGBBufSize = AContext.RGBBuf ? size : 0;
            if (!AContext.RGBBuf) return false;
        }
        avutil::av_image_fill_arrays(AContext.RGBPicture.data, AContext.RGBPicture.linesize, AContext.RGBBuf,
                                     AContext.RGBPixFmt, AWidth, AHeight, 1);
        AContext.toRGB_convert_ctx = swscale::sws_getCachedContext(
            AContext.toRGB_convert_ctx, AWidth, AHeight, static_cast<AVPixelFormat>(APixFmt), AWidth, AHeight,
            AContext.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!AContext.toRGB_convert_ctx) return false;
        swscale::sws_scale(AContext.toRGB_convert_ctx, APicture->data, APicture->linesize, 0, AHeight,
                           AContext.RGBPicture.data, AContext.RGBPicture.linesize);
        AContext.RGBPictureRef = &AContext.RGBPicture;
    }

    // No more than a bitmap row holds, whatever the picture's line size.
    const TAVPicture* source = AContext.RGBPictureRef;
    const size_t rowBytes =
        static_cast<size_t>(std::min(source->linesize[0], BitmapRowSize(AContext, AWidth)));
    TCanvasLock lock(AContext.Bitmap->Canvas());
    for (Integer y = 0; y < AHeight; ++y)
        std::memcpy(AContext.Bitmap->ScanLine(y),
                    source->data[0] + static_cast<ptrdiff_t>(y) * source->linesize[0], rowBytes);
    return true;
}

bool BitmapToPicture(TRGBConvertContext& AContext, const TAVPicture* APicture, Integer APixFmt,
                     Integer AWidth, Integer AHeight) {
    const TAVPicture* target = AContext.RGBPictureRef;
    if (!AContext.Bitmap || !target || !APicture) return false;
    {
        const size_t rowBytes =
            static_cast<size_t>(std::min(target->linesize[0], BitmapRowSize(AContext, AWidth)));
        TCanvasLock lock(AContext.Bitmap->Canvas());
        for (Integer y = 0; y < AHeight; ++y)
            std::memcpy(target->data[0] + static_cast<ptrdiff_t>(y) * target->linesize[0],
                        AContext.Bitmap->ScanLine(y), rowBytes);
    }
    // Taken as it was: the rows are back in the picture already.
    if (target == APicture) return true;
    if (!swscale::sws_isSupportedOutput(static_cast<AVPixelFormat>(APixFmt))) return false;
    AContext.fromRGB_convert_ctx = swscale::sws_getCachedContext(
        AContext.fromRGB_convert_ctx, AWidth, AHeight, AContext.RGBPixFmt, AWidth, AHeight,
        static_cast<AVPixelFormat>(APixFmt), SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!AContext.fromRGB_convert_ctx) return false;
    swscale::sws_scale(AContext.fromRGB_convert_ctx, AContext.RGBPicture.data, AContext.RGBPicture.linesize,
                       0, AHeight, APicture->data, APicture->linesize);
    return true;
}
