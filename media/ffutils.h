// Texts about FFmpeg values: timestamps, error codes, codecs, media types,
// metadata; whole-file reading through the C runtime; the generic option
// contexts; decoded pictures into 24-bit bitmaps.
#pragma once

#include <string_view>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/rational.h>
#include <libswscale/swscale.h>
}

#include "platform/base/types.h"
#include "platform/toolkit/bitmap.h"

// "hh:mm:ss.zzz" with hours not wrapped; "N/A" for the no-value timestamp.
String PTSToTimeText(Int64 APTS);
// Microseconds per frame; 40000 when the rate has a zero part.
Int64 FrameRateToPeriod(AVRational ARate);
// APrefix, ": " and the text of the error code: the classic texts, else the
// library's own.
String AVErrorText(std::u16string_view APrefix, Integer ACode);
// Reads a whole file into a buffer from av_malloc with a zero byte after the
// data; ASize counts that byte. 0, -1 when the file cannot be opened, or
// AVERROR(ENOMEM). The caller frees ABuffer with av_free.
Integer ReadWholeFile(const char* AFileName, char*& ABuffer, Integer& ASize);
String MetadataValue(const AVDictionary* AMetadata, const char* AKey, const String& ADefault);
// "name(long name)", or the codec id's name, or the four-character tag.
String CodecNameText(const AVCodecParameters* AParameters, bool AEncoder);
String CodecNameText(const AVCodecContext* AContext, bool AEncoder);
String MediaTypeName(Integer AType);
// Whether the bound libraries have an encoder of that name; false while
// avcodec is not loaded.
bool EncoderAvailable(const AnsiString& AName);

// How a video stream's pictures are turned upright by its display matrix
// (nine 16.16 and 2.30 numbers that map stored points to shown ones): the
// filters that do it, empty when the pictures stand upright already or the
// matrix turns by no multiple of 90 degrees.
struct TDisplayTurn {
    const char* Filters = "";
    bool Swaps = false;    // width and height change places
    double Rotation = 0;   // degrees, counter-clockwise positive
    bool Flipped = false;  // mirrored left to right after the rotation
};
TDisplayTurn DisplayTurn(const int32_t* AMatrix);
// The stream's display matrix, nil when it has none.
const int32_t* StreamDisplayMatrix(const AVStream* AStream);

// A picture as four plane pointers and four line sizes.
struct TAVPicture {
    uint8_t* data[4];
    int linesize[4];
};

// Options the engine does not know by name, tried on default contexts: one
// codec context per media type (video 0, audio 1, data 2, subtitle 3,
// attachment 4), a format context and a scaler context. Accepted names are
// remembered so that their values can be copied onto the real contexts.
struct TFFOptions {
    std::vector<AnsiString> opt_names;
    AVCodecContext* avcodec_opts[AVMEDIA_TYPE_NB] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    // Options that only codecs themselves know (private to a codec, such as
    // an encoder's presets), per media type of the codecs that know them:
    // handed to avcodec_open2 with the real codec.
    AVDictionary* codec_private_opts[AVMEDIA_TYPE_NB] = {};
    // Options that only muxers know (the MPEG family's "muxrate" and
    // "preload", ...): handed to avformat_write_header.
    AVDictionary* muxer_private_opts = nullptr;
};

void InitFFOptions(TFFOptions& AOptions);
void AllocFFOptions(TFFOptions& AOptions, Integer ASwsFlags);
void FreeFFOptions(TFFOptions& AOptions);
// The encoders (by media type) and the muxer a conversion will use, as far
// as they are known when an option is set.
struct TFFOptionTargets {
    const AVCodec* Encoders[AVMEDIA_TYPE_NB] = {};
    const AVOutputFormat* Muxer = nullptr;
};

// False for an empty name or value and, silently, for a name that nothing
// knows; false with "Invalid value" in FFmpeg's log for a value that nothing
// knowing the name takes. A value is tried on the known encoder of each type
// (its own options first), else on the generic codec options and, where they
// refuse it, on any codec of the type; one taker is enough. A name known to
// codecs only is kept for the types whose codecs take it, one known to
// muxers only for the muxers (the known muxer judging it, else any).
bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue,
                 const TFFOptionTargets& ATargets = {});
// Copies each remembered option whose flags hold all of AFlags from ASource
// to ATarget (objects with an AVClass).
void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, Integer AFlags);
// A copy of the codec-private options of AType for avcodec_open2; the caller
// frees it. What the codec leaves in it was not taken.
AVDictionary* CodecPrivateOptions(const TFFOptions& AOptions, Integer AType);
// A copy of the muxer-private options for avformat_write_header; the caller
// frees it.
AVDictionary* MuxerPrivateOptions(const TFFOptions& AOptions);

// Turns decoded pictures into a bitmap of its own, reused from frame to frame.
struct TRGBConvertContext {
    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGR24;  // of the converted picture
    TPixelFormat BMPPixFmt = pf24bit;            // of the bitmap
    TBitmap* Bitmap = nullptr;                   // owned, made on first use
    uint8_t* RGBBuf = nullptr;                   // the converted picture, never shrinks
    Integer RGBBufSize = 0;
    TAVPicture RGBPicture{};
    // The picture last copied into the bitmap: RGBPicture, or the source
    // itself when it needed no conversion.
    const TAVPicture* RGBPictureRef = nullptr;
    SwsContext* toRGB_convert_ctx = nullptr;
    // Back from the bitmap's format, for hooks that write the bitmap into the frame.
    SwsContext* fromRGB_convert_ctx = nullptr;
};

// Frees the bitmap, the buffer and both scalers; every field to its reset value.
void ResetRGBConvertContext(TRGBConvertContext& AContext);
// A bitmap of that size and pixel format whose canvas brush is clear.
TBitmap* CreateFrameBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat);
// Fills the context's bitmap from APicture, converting it unless it is
// already laid out as the bitmap's rows. False when it cannot be converted.
bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture* APicture, Integer APixFmt,
                     Integer AWidth, Integer AHeight);
// Writes the bitmap back into APicture, the picture PictureToBitmap last
// read: straight into it when that took it as it was, otherwise through the
// RGB picture and a scaler to APixFmt. False when no scaler can be had.
bool BitmapToPicture(TRGBConvertContext& AContext, const TAVPicture* APicture, Integer APixFmt,
                     Integer AWidth, Integer AHeight);
