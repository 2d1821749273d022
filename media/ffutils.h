// Texts about FFmpeg values: timestamps, error codes, codecs, media types,
// metadata; and whole-file reading through the C runtime.
#pragma once

#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/rational.h>
}

#include "platform/base/types.h"

// "hh:mm:ss.zzz" with hours not wrapped; "N/A" for the no-value timestamp.
String PTSToTimeText(Int64 APTS);
// Microseconds per frame; 40000 when the rate has a zero part.
Int64 FrameRateToPeriod(AVRational ARate);
// APrefix, ": " and the text of the error code.
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
