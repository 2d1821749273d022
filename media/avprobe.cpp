#include "media/avprobe.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/unicodeprotocol.h"
#include "platform/base/fileutils.h"
#include "platform/base/stringlist.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/graphicsobjects.h"

const TMetadataName Id3v2MetadataNames[22] = {
    {"TALB", "album"},     {"TAL", "album"},      {"TCOM", "composer"},  {"TCON", "genre"},
    {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},      {"TENC", "encoder"},
    {"TEN", "encoder"},    {"TIT2", "title"},     {"TT2", "title"},      {"TLAN", "language"},
    {"TPE1", "artist"},    {"TP1", "artist"},     {"TPOS", "disc"},      {"TPUB", "publisher"},
    {"TRCK", "track"},     {"TRK", "track"},      {"TSOA", "albumsort"}, {"TSOP", "authorsort"},
    {"TSOT", "titlesort"}, {"TYER", "year"},
};

namespace {

constexpr AVRational kMicroseconds{1, AV_TIME_BASE};
// What a prober uses of the loaded libraries, held while it owns anything of theirs.
constexpr TLibraries kHeldLibraries{avCodec, avFormat, avUtil, swScale};

const char16_t kFileNotLoaded[] = u"file not loaded.";
const char16_t kReadOnly[] = u"file cannot be seeked, handle is readonly.";
const char16_t kEOFReached[] = u"stream eof reached.";
const char16_t kPreviousKeyFrame[] = u"Could not seek to the previous key-frame. ";

Int64 KnownOr(Int64 AValue, Int64 AUnknown) {
    return AValue == AV_NOPTS_VALUE ? AUnknown : AValue;
}

Integer ClampToInteger(Int64 AValue) {
    return static_cast<Integer>(
        std::clamp<Int64>(AValue, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

const char* Value(const AVDictionary* AMetadata, const char* AKey) {
    const AVDictionaryEntry* entry = avutil::av_dict_get(AMetadata, AKey, nullptr, 0);
    return entry ? entry->value : nullptr;
}

// The value of the first key present, AKeys in order.
String FirstValue(const AVDictionary* AMetadata, std::initializer_list<const char*> AKeys,
                  const String& ADefault) {
    for (const char* key : AKeys)
        if (const char* value = Value(AMetadata, key)) return UTF8ToString(value);
    return ADefault;
}

// The leading decimal number of a text such as "2011-05-01" or "3/12"; 0 without one.
Integer LeadingNumber(const String& AText) {
    size_t digits = 0;
    while (digits < AText.size() && digits < 9 && AText[digits] >= u'0' && AText[digits] <= u'9')
        ++digits;
    return digits ? StrToInt(AText.substr(0, digits)) : 0;
}

const char* ShownMetadataName(const char* AKey) {
    for (const TMetadataName& name : Id3v2MetadataNames)
        if (std::strcmp(name.Key, AKey) == 0) return name.Shown;
    return AKey;
}

// Seconds and microseconds as "%d.%.6d", the sign in front of both.
String SecondsText(Int64 AMicroseconds) {
    const UInt64 magnitude = AMicroseconds < 0 ? 0 - static_cast<UInt64>(AMicroseconds) : AMicroseconds;
    return Format(u"%s%d.%.6d", {AMicroseconds < 0 ? u"-" : u"", magnitude / 1000000, magnitude % 1000000});
}

String FormatRateText(double AValue, const char16_t* AUnit) {
    const Int64 v = Round(AValue * 100);
    if (v % 100 != 0) return Format(u", %3.2f %s", {AValue, AUnit});
    if (v % 100000 != 0) return Format(u", %1.0f %s", {AValue, AUnit});
    return Format(u", %1.0fk %s", {AValue / 1000, AUnit});
}

// FFmpeg's one-line description of a stream's codec, decoding side.
String CodecDescription(const AVCodecParameters* AParameters) {
    char text[256] = "";
    AVCodecContext* context = avcodec::avcodec_alloc_context3(nullptr);
    if (context && avcodec::avcodec_parameters_to_context(context, AParameters) >= 0)
        avcodec::avcodec_string(text, sizeof text, context, 0);
    avcodec::avcodec_free_context(&context);
    return UTF8ToString(text);
}

void DumpMetadata(TStringList& ALines, const AVDictionary* AMetadata, const String& AIndent) {
    const int count = AMetadata ? avutil::av_dict_count(AMetadata) : 0;
    if (count == 0) return;
    const AVDictionaryEntry* first = avutil::av_dict_get(AMetadata, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    if (count == 1 && std::strcmp(first->key, "language") == 0) return;
    ALines.Add(AIndent + u"Metadata:");
    for (const AVDictionaryEntry* entry = first; entry;
         entry = avutil::av_dict_get(AMetadata, "", entry, AV_DICT_IGNORE_SUFFIX)) {
        if (std::strcmp(entry->key, "language") == 0) continue;
        ALines.Add(Format(u"%s  %-16s: %s", {AIndent, ShownMetadataName(entry->key), entry->value}));
    }
}

void DumpStreamFormat(TStringList& ALines, const AVFormatContext* AContext, Integer AIndex) {
    const AVStream* stream = AContext->streams[AIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    const AVRational timeBase = stream->time_base;
    String line = Format(u"Stream #%d", {AIndex});
    if (AContext->iformat && (AContext->iformat->flags & AVFMT_SHOW_IDS))
        line += LowerCase(Format(u"[0x%x]", {stream->id}));
    if (const char* language = Value(stream->metadata, "language")) line += Format(u"(%s)", {language});
    Integer divisor = static_cast<Integer>(avutil::av_gcd(timeBase.num, timeBase.den));
    if (divisor == 0) divisor = 1;
    line += Format(u", %d/%d", {timeBase.num / divisor, timeBase.den / divisor});
    line += u": " + CodecDescription(parameters);
    const AVRational sampleAspect = stream->sample_aspect_ratio;
    if (sampleAspect.num && av_cmp_q(sampleAspect, parameters->sample_aspect_ratio) != 0) {
        int darNum = 0, darDen = 0;
        avutil::av_reduce(&darNum, &darDen, Int64{parameters->width} * sampleAspect.num,
                          Int64{parameters->height} * sampleAspect.den, 1024 * 1024);
        line = Format(u"%s, PAR %d:%d DAR %d:%d", {line, sampleAspect.num, sampleAspect.den, darNum, darDen});
    }
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
        const AVRational average = stream->avg_frame_rate;
        const AVRational real = stream->r_frame_rate;
        const AVRational codecTimeBase = avformat::av_stream_get_codec_timebase(stream);
        if (average.num && average.den) line += FormatRateText(av_q2d(average), u"fps");
        if (real.num && real.den) line += FormatRateText(av_q2d(real), u"tbr");
        if (timeBase.num && timeBase.den) line += FormatRateText(1 / av_q2d(timeBase), u"tbn");
        if (codecTimeBase.num && codecTimeBase.den) line += FormatRateText(1 / av_q2d(codecTimeBase), u"tbc");
    }
    if (stream->start_time != AV_NOPTS_VALUE)
        line +=
            u", StartTime: " + SecondsText(avutil::av_rescale_q(stream->start_time, timeBase, kMicroseconds));
    if (stream->duration == AV_NOPTS_VALUE)
        line += u", Duration: N/A";
    else
        line +=
            u", Duration: " + PTSToTimeText(avutil::av_rescale_q(stream->duration, timeBase, kMicroseconds));
    ALines.Add(line);
    DumpMetadata(ALines, stream->metadata, u"  ");
    // Pictures stored on their side say so: players and the converter turn them.
    if (const int32_t* matrix = StreamDisplayMatrix(stream)) {
        const TDisplayTurn turn = DisplayTurn(matrix);
        if (*turn.Filters) {
            ALines.Add(u"  Side data:");
            ALines.Add(Format(u"    displaymatrix: rotation of %.2f degrees%s",
                              {turn.Rotation, turn.Flipped ? u", mirrored" : u""}));
        }
    }
}

}  // namespace

// TCustomAVProbe

TCustomAVProbe::TCustomAVProbe(TComponent* AOwner) : TFFBaseComponent(AOwner) {
    TCustomAVProbe::RefreshFileInfo();
}

TCustomAVProbe::~TCustomAVProbe() {
    TCustomAVProbe::CloseFile();
    if (FHoldsLibraries) LibLoader.Unload(kHeldLibraries);
}

bool TCustomAVProbe::AVLibLoaded() const {
    return LibLoader.Loaded(ProbeLibraries);
}

bool TCustomAVProbe::LoadAVLib(const TPathFileName& APath) {
    LibLoader.SetLibraryPath(APath);
    if (LibLoader.Load(ProbeLibraries)) return true;
    FLastErrMsg = LibLoader.LastErrMsg();
    return false;
}

void TCustomAVProbe::UnloadAVLib() {
    LibLoader.Unload(ProbeLibraries);
}

void TCustomAVProbe::CheckLibraries() const {
    if (!LibLoader.Loaded(avCodec)) throw Exception(u"LibAVCodec not loaded.");
    if (!LibLoader.Loaded(avFormat)) throw Exception(u"LibAVFormat not loaded.");
    if (!LibLoader.Loaded(avUtil)) throw Exception(u"LibAVUtil not loaded.");
    if (!LibLoader.Loaded(swScale)) throw Exception(u"LibSwScale not loaded.");
}

void TCustomAVProbe::HoldLibraries() {
    // Contexts, buffers and decoders of the libraries must not outlive them.
    if (!FHoldsLibraries) FHoldsLibraries = LibLoader.Load(kHeldLibraries);
}

void TCustomAVProbe::ReportError(Integer ALevel, const String& AText) {
    GetLogger()->Log(this, AVToLogLevel(ALevel), AText);
    FLastErrMsg = AText;
}

bool TCustomAVProbe::LoadFile(const String& AFileName, const String& AFormatName) {
    CheckLibraries();
    CloseFile();
    const AVInputFormat* format = nullptr;
    if (!AFormatName.empty()) {
        format = avformat::av_find_input_format(StringToUTF8(AFormatName).c_str());
        if (!format) {
            FLastErrMsg = Format(u"Unknown input format: %s", {AFormatName});
            return false;
        }
    }
    HoldLibraries();
    AVFormatContext* context = avformat::avformat_alloc_context();
    Integer result = AVERROR(ENOMEM);
    if (context) {
        context->flags |= AVFMT_FLAG_NONBLOCK;
        result = OpenInputFile(&context, FFmpegFileName(AFileName).c_str(), format, nullptr);
    }
    if (result < 0) {
        ReportError(AV_LOG_ERROR, AVErrorText(AFileName, result));
        CloseFile();
        return false;
    }
    FFileHandle = context;
    FOwnHandle = true;
    if (avformat::avformat_find_stream_info(context, nullptr) < 0) {
        FLastErrMsg = Format(u"%s: could not find codec parameters", {AFileName});
        CloseFile();
        return false;
    }
    RefreshFileInfo();
    FForceFormat = AFormatName;
    return true;
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* AValue) {
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = AValue;
    if (AValue) HoldLibraries();
    RefreshFileInfo();
}

void TCustomAVProbe::CloseFile() {
    FForceFormat.clear();
    if (FFileHandle) {
        if (FOwnHandle) CloseInputFile(&FFileHandle);
        FFileHandle = nullptr;
    }
    RefreshFileInfo();
}

void TCustomAVProbe::RefreshFileInfo() {
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (!FFileHandle) return;

    const Int64 size = FFileHandle->pb ? avformat::avio_size(FFileHandle->pb) : 0;
    const String name = FileName();
    if (size > 0)
        FFileSize = size;
    else if (FileExists(name))
        FFileSize = FileSizeByName(name);
    else
        FFileSize = std::max<Int64>(size, 0);

    FStreamCount = static_cast<Integer>(FFileHandle->nb_streams);
    FProgramCount = static_cast<Integer>(FFileHandle->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (Integer i = 0; i < FStreamCount; ++i) {
        switch (FFileHandle->streams[i]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                if (FVideoStreamCount++ == 0) FFirstVideoStreamIndex = i;
                break;
            case AVMEDIA_TYPE_AUDIO:
                if (FAudioStreamCount++ == 0) FFirstAudioStreamIndex = i;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                if (FSubtitleStreamCount++ == 0) FFirstSubtitleStreamIndex = i;
                break;
            default:
                break;
        }
    }
}

String TCustomAVProbe::FileName() const {
    return FFileHandle ? FFmpegFileNameToWide(FFileHandle->url) : String();
}

String TCustomAVProbe::FormatName() const {
    return FFileHandle && FFileHandle->iformat ? UTF8ToString(FFileHandle->iformat->name) : String();
}

String TCustomAVProbe::FormatLongName() const {
    const AVInputFormat* format = FFileHandle ? FFileHandle->iformat : nullptr;
    return format && format->long_name ? UTF8ToString(format->long_name) : String();
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo() {
    TFileStreamInfo info{-1, -1, -1, -1, -1, -1, {}, {}, {}, {}, {}, {}};
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return info;
    }
    const AVDictionary* metadata = FFileHandle->metadata;
    info.StartTime = KnownOr(FFileHandle->start_time, -1);
    info.Duration = KnownOr(FFileHandle->duration, -1);
    info.BitRate = ClampToInteger(FFileHandle->bit_rate);
    // The recording time, year and track live in the metadata now.
    info.TimeStamp = 0;
    int64_t creation = 0;
    if (const char* value = Value(metadata, "creation_time"))
        if (avutil::av_parse_time(&creation, value, 0) >= 0) info.TimeStamp = creation / 1000000;
    info.Year = LeadingNumber(FirstValue(metadata, {"year", "date"}, u""));
    info.Track = LeadingNumber(FirstValue(metadata, {"track"}, u""));
    info.Title = FirstValue(metadata, {"title"}, u"");
    // Demuxers name the author "artist" now.
    info.Author = FirstValue(metadata, {"author", "artist"}, u"");
    info.Copyright = FirstValue(metadata, {"copyright"}, u"");
    info.Comment = FirstValue(metadata, {"comment"}, u"");
    info.Album = FirstValue(metadata, {"album"}, u"");
    info.Genre = FirstValue(metadata, {"genre"}, u"");
    return info;
}

String TCustomAVProbe::FileInfoText() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return String();
    }
    const TFileStreamInfo info = FileStreamInfo();
    TStringList lines;
    lines.Add(Format(u"File Name: %s", {FileName()}));
    lines.Add(Format(u"Format Name: %s", {FormatName()}));
    lines.Add(Format(u"Format Long Name: %s", {FormatLongName()}));
    lines.Add(Format(u"File Size: %s", {SizeToText(FFileSize)}));
    lines.Add(info.Duration < 0 ? String(u"Duration: N/A") : u"Duration: " + PTSToTimeText(info.Duration));
    if (info.StartTime >= 0) lines.Add(u"StartTime: " + SecondsText(info.StartTime));
    lines.Add(info.BitRate < 1 ? String(u"Bit Rate: N/A")
                               : Format(u"Bit Rate: %d kb/s", {info.BitRate / 1000}));
    if (info.TimeStamp > 0)
        lines.Add(u"Time Stamp: " +
                  DateTimeToText(u"yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(info.TimeStamp)));
    DumpMetadata(lines, FFileHandle->metadata, u"");

    const Integer streamCount = static_cast<Integer>(FFileHandle->nb_streams);
    std::vector<bool> printed(static_cast<size_t>(streamCount), false);
    for (unsigned j = 0; j < FFileHandle->nb_programs; ++j) {
        const AVProgram* program = FFileHandle->programs[j];
        // The MPEG-TS reader names these "service_provider" and "service_name" now.
        const String provider = FirstValue(program->metadata, {"provider_name", "service_provider"}, u"N/A");
        const String name = FirstValue(program->metadata, {"name", "service_name"}, u"N/A");
        lines.Add(Format(u"Program %d %s", {program->id, provider + u"@" + name}));
        DumpMetadata(lines, program->metadata, u"  ");
        for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
            const Integer index = static_cast<Integer>(program->stream_index[k]);
            if (index < 0 || index >= streamCount) continue;
            DumpStreamFormat(lines, FFileHandle, index);
            printed[static_cast<size_t>(index)] = true;
        }
    }
    for (Integer i = 0; i < streamCount; ++i)
        if (!printed[static_cast<size_t>(i)]) DumpStreamFormat(lines, FFileHandle, i);
    return lines.Text();
}

Integer TCustomAVProbe::StreamOfType(Integer AStreamIndex, AVMediaType AType, const char16_t* ATypeName) {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return -1;
    }
    if (AStreamIndex < 0) {
        const Integer first = AType == AVMEDIA_TYPE_AUDIO   ? FFirstAudioStreamIndex
                              : AType == AVMEDIA_TYPE_VIDEO ? FFirstVideoStreamIndex
                                                            : FFirstSubtitleStreamIndex;
        if (first < 0) ReportError(AV_LOG_ERROR, Format(u"no %s stream.", {ATypeName}));
        return first;
    }
    if (AStreamIndex >= FStreamCount) {
        ReportError(AV_LOG_ERROR, Format(u"stream index #%d is invalid.", {AStreamIndex}));
        return -1;
    }
    if (FFileHandle->streams[AStreamIndex]->codecpar->codec_type != AType) {
        ReportError(AV_LOG_ERROR, Format(u"stream #%d is not %s stream.", {AStreamIndex, ATypeName}));
        return -1;
    }
    return AStreamIndex;
}

namespace {

const TCodecStreamInfo kClearedStreamInfo{{}, {}, -1, -1, -1, -1, -1};

// The facts audio and video streams share. A time base without a
// denominator is mended on the stream itself.
void FillCodecStreamInfo(AVStream* AStream, TCodecStreamInfo& AInfo) {
    AInfo.Language = MetadataValue(AStream->metadata, "language", u"");
    AInfo.CodecName = CodecNameText(AStream->codecpar, false);
    if (AStream->time_base.den == 0)
        AStream->time_base.den = AStream->time_base.num ? AStream->time_base.num : 1;
    AInfo.StartTime = AStream->start_time;
    AInfo.Duration = AStream->duration;
    if (AStream->start_time != AV_NOPTS_VALUE)
        AInfo.StartTimeScaled = avutil::av_rescale_q(AStream->start_time, AStream->time_base, kMicroseconds);
    if (AStream->duration != AV_NOPTS_VALUE)
        AInfo.DurationScaled = avutil::av_rescale_q(AStream->duration, AStream->time_base, kMicroseconds);
    AInfo.BitRate = ClampToInteger(AStream->codecpar->bit_rate);
}

}  // namespace

TAudioStreamInfo TCustomAVProbe::GetAudioStreamInfo(Integer AStreamIndex) {
    TAudioStreamInfo info{kClearedStreamInfo, -1, -1, AV_SAMPLE_FMT_NONE};
    const Integer index = StreamOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO, u"audio");
    if (index < 0) return info;
    AVStream* stream = FFileHandle->streams[index];
    FillCodecStreamInfo(stream, info);
    const AVCodecParameters* parameters = stream->codecpar;
    info.Channels = parameters->ch_layout.nb_channels;
    info.SampleRate = parameters->sample_rate;
    info.SampleFormat = static_cast<AVSampleFormat>(parameters->format);
    return info;
}

TVideoStreamInfo TCustomAVProbe::GetVideoStreamInfo(Integer AStreamIndex) {
    TVideoStreamInfo info{kClearedStreamInfo, -1, -1, -1.0f, AV_PIX_FMT_NONE, {-1, -1}};
    const Integer index = StreamOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO, u"video");
    if (index < 0) return info;
    AVStream* stream = FFileHandle->streams[index];
    FillCodecStreamInfo(stream, info);
    const AVCodecParameters* parameters = stream->codecpar;
    info.Height = parameters->height;
    info.Width = parameters->width;
    info.PixFmt = static_cast<AVPixelFormat>(parameters->format);
    const AVRational sampleAspect = parameters->sample_aspect_ratio;
    // An unknown sample aspect or size gives 0, not a division by zero.
    info.AspectRatio = parameters->height > 0 && sampleAspect.den != 0
                           ? static_cast<float>(parameters->width * av_q2d(sampleAspect) / parameters->height)
                           : 0.0f;
    info.FrameRate = stream->r_frame_rate;
    return info;
}

TSubtitleStreamInfo TCustomAVProbe::GetSubtitleStreamInfo(Integer AStreamIndex) {
    TSubtitleStreamInfo info;
    const Integer index = StreamOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE, u"subtitle");
    if (index < 0) return info;
    const AVStream* stream = FFileHandle->streams[index];
    info.Language = MetadataValue(stream->metadata, "language", u"");
    info.CodecName = CodecNameText(stream->codecpar, false);
    return info;
}

bool TCustomAVProbe::IsStreamType(Integer AStreamIndex, AVMediaType AType) {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return false;
    }
    if (AStreamIndex < 0 || AStreamIndex >= FStreamCount) {
        ReportError(AV_LOG_ERROR, Format(u"stream index #%d is invalid.", {AStreamIndex}));
        return false;
    }
    return FFileHandle->streams[AStreamIndex]->codecpar->codec_type == AType;
}

bool TCustomAVProbe::IsAudioStream(Integer AStreamIndex) {
    return IsStreamType(AStreamIndex, AVMEDIA_TYPE_AUDIO);
}

bool TCustomAVProbe::IsVideoStream(Integer AStreamIndex) {
    return IsStreamType(AStreamIndex, AVMEDIA_TYPE_VIDEO);
}

bool TCustomAVProbe::IsSubtitleStream(Integer AStreamIndex) {
    return IsStreamType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
}

// TAVProbe

TAVProbe::TAVProbe(TComponent* AOwner) : TCustomAVProbe(AOwner) {
    FPicture = TFrameInfo{};
    ResetPicture();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
}

TAVProbe::~TAVProbe() {
    TAVProbe::CloseFile();
    if (FPicture.Buffer) avutil::av_free(FPicture.Buffer);
    if (FFrame) avutil::av_frame_free(&FFrame);
    if (FPacket) avcodec::av_packet_free(&FPacket);
}

void TAVProbe::CloseFile() {
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetPicture();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    CloseDecoder();
    ResetRGBConvertContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::RefreshFileInfo() {
    TCustomAVProbe::RefreshFileInfo();
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    if (FFileHandle) {
        const Int64 start =
            FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
        FStartTime = KnownOr(start, 0);
    }
}

bool TAVProbe::IsStillImage() const {
    // Single pictures are read by "image2", or by a reader named for the
    // picture format ("png_pipe", "jpeg_pipe", ...).
    const String name = LowerCase(FormatName());
    const String suffix = u"_pipe";
    return name == u"image2" || name == u"image2pipe" ||
           (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
}

bool TAVProbe::HasOwnFile() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return false;
    }
    // Another component reads an adopted context: moving its reader here
    // would pull the ground from under it.
    if (!FOwnHandle) {
        ReportError(AV_LOG_WARNING, kReadOnly);
        throw Exception(kReadOnly);
    }
    return true;
}

bool TAVProbe::CanSeek() {
    if (!HasOwnFile()) return false;
    if (IsStillImage()) {
        ReportError(AV_LOG_INFO, u"\"image2\" format cannot to be seeked.");
        return false;
    }
    return true;
}

Int64 TAVProbe::ReaderPosition() const {
    return FFileHandle && FFileHandle->pb ? avformat::avio_seek(FFileHandle->pb, 0, SEEK_CUR) : -1;
}

Int64 TAVProbe::Position() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, kFileNotLoaded);
        return -1;
    }
    if (!FFileHandle->pb) {
        ReportError(AV_LOG_WARNING, u"cannot get position");
        return -1;
    }
    return ReaderPosition();
}

bool TAVProbe::Seek(Int64 APTS, TSeekFlags ASeekFlags) {
    if (!CanSeek()) return false;
    AVIOContext* reader = FFileHandle->pb;
    if (reader) ReportError(AV_LOG_DEBUG, Format(u"currunt position %d bytes", {ReaderPosition()}));
    Int64 target = APTS < 0 ? 0 : APTS;
    if (!ASeekFlags.Contains(sfByte)) {
        if (FSeekIndex >= 0)
            target = avutil::av_rescale_q(target, kMicroseconds, FFileHandle->streams[FSeekIndex]->time_base);
        if (FStartTime > 0) target += FStartTime;
    }
    if (FCodec) avcodec::avcodec_flush_buffers(FCodec);
    FDraining = false;
    FEOF = false;
    ResetPicture();

    const Integer flags = AVSeekFlags(ASeekFlags);
    Integer result;
    if (APTS > 0) {
        result = avformat::av_seek_frame(FFileHandle, FSeekIndex, target, flags);
    } else {
        result = avformat::av_seek_frame(FFileHandle, FSeekIndex, 0, flags | AVSEEK_FLAG_BACKWARD);
        if (result < 0)
            result = avformat::av_seek_frame(FFileHandle, FSeekIndex, APTS, flags & ~AVSEEK_FLAG_BACKWARD);
    }
    const bool sought = result >= 0;
    if (!sought)
        ReportError(AV_LOG_ERROR,
                    ASeekFlags.Contains(sfByte)
                        ? Format(u"could not seek to position %d bytes", {APTS})
                        : Format(u"could not seek to position %0.3f seconds", {APTS / 1000000.0}));
    if (reader) {
        const String where = Format(u"seek to position %d bytes", {ReaderPosition()});
        // After a failure LastErrMsg keeps the failure, not this trace.
        if (sought)
            ReportError(AV_LOG_DEBUG, where);
        else
            GetLogger()->Log(this, llDebug, where);
    }
    if (reader && reader->eof_reached) {
        if (sought) ReportError(AV_LOG_INFO, kEOFReached);
        FEOF = true;
        return false;
    }
    return sought;
}

void TAVProbe::ResetPicture() {
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.PixFmt = AV_PIX_FMT_NONE;
    FPicture.Width = -1;
    FPicture.Height = -1;
    FPicture.StreamIndex = -1;
    FPicture.Position = -1;
    FPicture.IsKeyFrame = false;
    FPicture.PictureType = ptUnknown;
    FPicture.PTS = AV_NOPTS_VALUE;
    FPicture.OriginalDTS = AV_NOPTS_VALUE;
    FPicture.OriginalPTS = AV_NOPTS_VALUE;
    FPicture.Ready = false;
}

bool TAVProbe::SelectDecodeStream(Integer AStreamIndex) {
    if (!HasOwnFile()) return false;
    Integer index = AStreamIndex;
    if (index < 0) {
        index = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
        if (index < 0) {
            ReportError(AV_LOG_ERROR, u"no video stream.");
            return false;
        }
    } else if (index >= FStreamCount) {
        ReportError(AV_LOG_ERROR, Format(u"stream index #%d is invalid.", {index}));
        return false;
    } else if (FFileHandle->streams[index]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        ReportError(AV_LOG_ERROR, Format(u"stream #%d is not video stream.", {index}));
        return false;
    }
    if (index != FDecodeIndex) ResetPicture();
    FDecodeIndex = index;
    return true;
}

bool TAVProbe::OpenDecoder(Integer AStreamIndex) {
    const AVStream* stream = FFileHandle->streams[AStreamIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    Assert(parameters->codec_type == AVMEDIA_TYPE_VIDEO);
    if (parameters->width == 0 || parameters->height == 0) {
        ReportError(AV_LOG_ERROR, u"frame size of codec is invalid.");
        return false;
    }
    if (FCodec && FCodecStream == AStreamIndex) return true;
    CloseDecoder();
    const AVCodec* decoder = avcodec::avcodec_find_decoder(parameters->codec_id);
    if (!decoder) {
        ReportError(AV_LOG_ERROR, Format(u"Unsupported codec (id=%d) for input file stream #%d",
                                         {static_cast<Integer>(parameters->codec_id), AStreamIndex}));
        return false;
    }
    bool opened = false;
    {
        TCriticalSectionGuard guard(CodecLock);
        FCodec = avcodec::avcodec_alloc_context3(decoder);
        if (FCodec && avcodec::avcodec_parameters_to_context(FCodec, parameters) >= 0) {
            FCodec->pkt_timebase = stream->time_base;
            opened = avcodec::avcodec_open2(FCodec, decoder, nullptr) >= 0;
        }
        if (!opened) avcodec::avcodec_free_context(&FCodec);
    }
    if (!opened) {
        ReportError(AV_LOG_ERROR,
                    Format(u"Error while opening codec for input file stream #%d", {AStreamIndex}));
        return false;
    }
    FCodecStream = AStreamIndex;
    FDraining = false;
    return true;
}

void TAVProbe::CloseDecoder() {
    if (FCodec) {
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_free_context(&FCodec);
    }
    FCodecStream = -1;
    FDraining = false;
}

bool TAVProbe::Decode(Integer AStreamIndex) {
    if (!SelectDecodeStream(AStreamIndex)) return false;
    // A still picture is decoded once.
    if (FPicture.Ready && IsStillImage()) return true;
    if (FEOF) {
        ReportError(AV_LOG_INFO, kEOFReached);
        return false;
    }
    if (!OpenDecoder(FDecodeIndex)) return false;
    if (!FFrame) FFrame = avutil::av_frame_alloc();
    if (!FPacket) FPacket = avcodec::av_packet_alloc();
    if (!FFrame || !FPacket) {
        ReportError(AV_LOG_ERROR, AVErrorText(FileName(), AVERROR(ENOMEM)));
        return false;
    }
    const Int64 position = ReaderPosition();
    // The packet whose decoding gave the picture: the last one sent.
    Int64 packetDTS = AV_NOPTS_VALUE, packetPTS = AV_NOPTS_VALUE;
    Integer packetFlags = 0;
    for (;;) {
        const int received = avcodec::avcodec_receive_frame(FCodec, FFrame);
        if (received >= 0) {
            ReportError(AV_LOG_DEBUG, Format(u"pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d",
                                             {FDecodeIndex, packetDTS, packetPTS, packetFlags,
                                              static_cast<Integer>(FFrame->pict_type)}));
            const bool stored = StorePicture(FFrame, position, packetDTS, packetPTS);
            avutil::av_frame_unref(FFrame);
            return stored;
        }
        // The decoder has given all it held after the end of the file.
        if (received != AVERROR(EAGAIN) || FDraining) break;
        if (avformat::av_read_frame(FFileHandle, FPacket) < 0) {
            // The pictures the decoder still holds come after the last packet.
            FDraining = true;
            avcodec::avcodec_send_packet(FCodec, nullptr);
            packetDTS = packetPTS = AV_NOPTS_VALUE;
            packetFlags = 0;
            continue;
        }
        if (FPacket->stream_index == FDecodeIndex) {
            packetDTS = FPacket->dts;
            packetPTS = FPacket->pts;
            packetFlags = FPacket->flags;
            // A damaged packet is skipped as the decoder would skip it.
            avcodec::avcodec_send_packet(FCodec, FPacket);
        }
        avcodec::av_packet_unref(FPacket);
    }
    ReportError(AV_LOG_INFO, kEOFReached);
    FEOF = true;
    return false;
}

bool TAVProbe::StorePicture(const AVFrame* AFrame, Int64 APosition, Int64 APacketDTS, Int64 APacketPTS) {
    const auto format = static_cast<AVPixelFormat>(AFrame->format);
    const Integer size = avutil::av_image_get_buffer_size(format, AFrame->width, AFrame->height, 1);
    if (size < 0) {
        ReportError(AV_LOG_ERROR, u"frame size of codec is invalid.");
        return false;
    }
    if (FPicture.Size < size) {
        avutil::av_free(FPicture.Buffer);
        FPicture.Buffer = static_cast<uint8_t*>(avutil::av_malloc(static_cast<size_t>(size)));
        FPicture.Size = FPicture.Buffer ? size : 0;
        if (!FPicture.Buffer) {
            FPicture.Ready = false;
            ReportError(AV_LOG_ERROR, AVErrorText(FileName(), AVERROR(ENOMEM)));
            return false;
        }
    }
    FPicture.PixFmt = format;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame == 1;
    FPicture.PictureType =
        AFrame->pict_type >= AV_PICTURE_TYPE_NONE && AFrame->pict_type <= AV_PICTURE_TYPE_BI
            ? static_cast<TPictureType>(AFrame->pict_type)
            : ptUnknown;

    // The decoding time of the packet that gave the picture first, then the
    // presentation time carried through the decoder, then the packet's own.
    Int64 stamp = AFrame->pkt_dts;
    if (stamp == AV_NOPTS_VALUE) stamp = AFrame->pts;
    if (stamp == AV_NOPTS_VALUE) stamp = APacketPTS;
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    if (stamp == AV_NOPTS_VALUE) {
        FPicture.PTS = AV_NOPTS_VALUE;
    } else {
        const AVStream* stream = FFileHandle->streams[FDecodeIndex];
        if (stream->start_time != AV_NOPTS_VALUE) stamp -= stream->start_time;
        FPicture.PTS = avutil::av_rescale_q(stamp, stream->time_base, kMicroseconds);
        avutil::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", FPicture.PTS / 1000000.0);
    }
    FPicture.OriginalDTS = APacketDTS;
    FPicture.OriginalPTS = APacketPTS;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.Position = APosition;

    avutil::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer, format,
                                 AFrame->width, AFrame->height, 1);
    avutil::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize,
                          const_cast<const uint8_t**>(AFrame->data), AFrame->linesize, format, AFrame->width,
                          AFrame->height);
    FPicture.Ready = true;
    return true;
}

Int64 TAVProbe::FramePeriod() const {
    // A damaged rate may give a period of nothing or less; steps must move.
    return std::max<Int64>(1, FrameRateToPeriod(FFileHandle->streams[FDecodeIndex]->r_frame_rate));
}

bool TAVProbe::DecodeNextKeyFrame(Integer AStreamIndex) {
    if (!SelectDecodeStream(AStreamIndex)) return false;
    Int64 target = FramePeriod();
    if (FPicture.PTS > 0) target += FPicture.PTS;
    // Without sfBackward: the first key frame at or after the target.
    return Seek(target, {}) && Decode(AStreamIndex);
}

bool TAVProbe::DecodePreviousFrame(Integer AStreamIndex) {
    if (!SelectDecodeStream(AStreamIndex)) return false;
    const Int64 reference = FPicture.PTS != AV_NOPTS_VALUE ? FPicture.PTS : KnownOr(FLastPTS, 0);
    const Int64 target = reference - 2 * FramePeriod();
    if (!DecodePreviousKeyFrame(AStreamIndex)) return false;
    while (FPicture.PTS <= target)
        if (!Decode(AStreamIndex)) return false;
    return true;
}

bool TAVProbe::DecodePreviousKeyFrame(Integer AStreamIndex) {
    if (!SelectDecodeStream(AStreamIndex)) return false;
    const Int64 period = FramePeriod();
    Int64 referenceTime = FPicture.PTS;
    if (referenceTime == AV_NOPTS_VALUE) referenceTime = FLastPTS;
    if (referenceTime == AV_NOPTS_VALUE) referenceTime = KnownOr(FFileHandle->duration, 0);
    const Int64 referencePos = FPicture.Position >= 0 ? FPicture.Position : FLastPos;
    // Whether seeking ASteps frame periods back lands on a picture before the
    // reference; ADecoded whether a picture was decoded there.
    const auto landsBefore = [&](Int64 ASteps, bool& ADecoded) {
        const Int64 back = ASteps * period;
        Seek(referenceTime - back, {sfBackward});
        ADecoded = false;
        // The seek did not move back: no need to decode.
        if (back <= referenceTime && referencePos > 0 && ReaderPosition() >= referencePos) return false;
        ADecoded = Decode(AStreamIndex);
        return ADecoded && (FPicture.PTS < referenceTime || FPicture.PTS <= 0);
    };
    // The first step count that reaches back past the start, where the start
    // is the only place left to look.
    const Int64 pastStart = referenceTime >= 0 ? referenceTime / period + 1 : 1;
    // The steps double until one lands before the picture, then the fewest
    // that do (the latest key frame) are found by halving: a damaged stamp
    // hours past the file's end costs a few dozen seeks, not one per frame.
    Int64 tooFew = 0, steps = 1;
    bool decoded = false;
    while (!landsBefore(steps, decoded)) {
        if (steps >= pastStart) {
            FLastErrMsg = kPreviousKeyFrame +
                          (decoded ? String(u"No key-frame before the current picture.") : FLastErrMsg);
            return false;
        }
        tooFew = steps;
        steps = std::min(steps * 2, pastStart);
    }
    bool holdsSteps = true;
    while (steps - tooFew > 1) {
        const Int64 middle = tooFew + (steps - tooFew) / 2;
        holdsSteps = landsBefore(middle, decoded);
        if (holdsSteps)
            steps = middle;
        else
            tooFew = middle;
    }
    return holdsSteps || landsBefore(steps, decoded);
}

bool TAVProbe::CopyToBitmap(TBitmap* ABitmap) {
    if (!FPicture.Ready) {
        ReportError(AV_LOG_ERROR, u"picture not ready, please decode first");
        return false;
    }
    if (!ABitmap) return false;
    if (PictureToBitmap(FRGBContext, &FPicture.Picture, FPicture.PixFmt, FPicture.Width, FPicture.Height)) {
        ABitmap->Assign(FRGBContext.Bitmap);
        return true;
    }
    ABitmap->SetSize(FPicture.Width, FPicture.Height);
    TCanvas* canvas = ABitmap->Canvas();
    canvas->Brush()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(canvas->ClipRect());
    avutil::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    return false;
}
