#include "media/ffutils.h"

extern "C" {
#include <libavutil/error.h>
}

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/myutilstubs.h"
#include "platform/base/sysutils.h"

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
    const String message = text ? String(text) : Format(u"Error number %d occurred", {ACode});
    return String(APrefix) + u": " + message;
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
