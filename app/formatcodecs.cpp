#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "app/formatcatalogue.h"
#include "app/keyedrows.h"
#include "media/ffmpeglogger.h"
#include "media/ffutils.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"

namespace {

// The codec data as the catalogue states it. Keys with equal data share a
// row; nullptr is a value the row does not set, and a FileExt of nullptr
// is the row's OutputExt.

// The disc formats set only the extension ".mpg", the target, the PAL norm
// and the two bit rates -1000, which leave the rates to the target.
struct TDiscRow {
    std::initializer_list<Integer> Keys;
    const char16_t* TargetType;
};

// clang-format off
const TDiscRow kDiscRows[] = {
    {{11, 1308, 2110, 2210, 2312}, u"dvd"},
    {{12, 1309, 2111, 2211, 2313}, u"svcd"},
    {{13, 1310, 2112, 2212, 2314}, u"vcd"},
};
// clang-format on

struct TAudioRow {
    std::initializer_list<Integer> Keys;
    const char16_t* OutputExt;
    const char16_t* FileExt;
    const char16_t* AudioCodec;
    const char16_t* AudioChannels;
    const char16_t* AudioSampleRate;
    Integer AudioBitrate;
};

// clang-format off
const TAudioRow kAudioRows[] = {
    {{100}, u".mp3", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{101}, u".wma", nullptr, u"wmav2", u"2", u"48000", 128000},
    {{102}, u".wav", nullptr, nullptr, u"2", u"48000", 128000},
    {{103}, u".aac", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{104, 111}, u".m4a", nullptr, nullptr, u"2", u"48000", 128000},
    {{105}, u".ogg", nullptr, u"libvorbis", u"2", u"48000", 128000},
    {{106}, u".ra", u".rm", nullptr, u"2", u"48000", 128000},
    {{107}, u".ac3", nullptr, u"ac3", u"2", u"48000", 128000},
    {{108}, u".aiff", nullptr, nullptr, u"2", u"48000", 128000},
    {{109}, u".mp2", nullptr, nullptr, u"2", u"44100", 128000},
    {{110}, u".flac", nullptr, u"flac", u"2", u"48000", 128000},
    {{112}, u".amr", nullptr, u"libopencore_amrnb", u"1", u"8000", 7400},
    {{1102}, u".flv", u"", u"libmp3lame", u"2", u"22050", 128000},
    {{1103}, u".swf", u"", u"libmp3lame", u"2", u"22050", 128000},
};
// clang-format on

struct TVideoRow {
    std::initializer_list<Integer> Keys;
    const char16_t* OutputExt;
    const char16_t* FileExt;
    const char16_t* VideoCodec;
    const char16_t* VideoTag;
    const char16_t* FrameSize;
    Integer VideoBitrate;
    const char16_t* FrameRate;
    const char16_t* FrameAspectRatio;
    const char16_t* AudioCodec;
    const char16_t* AudioChannels;
    const char16_t* AudioSampleRate;
    Integer AudioBitrate;
};

// clang-format off
const TVideoRow kVideoRows[] = {
    {{0, 1502, 1505, 2100, 2200, 2300}, u".avi", nullptr, u"mpeg4", u"XVID", nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1, 1303, 2105, 2205, 2305}, u".mp4", nullptr, u"mpeg4", nullptr, nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{2, 1500, 1504}, u".avi", nullptr, u"mpeg4", u"DX50", nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{3}, u".mov", nullptr, nullptr, nullptr, nullptr, 816000, u"25", nullptr, u"libfaac", u"2", u"44100", 128000},
    {{4, 1503}, u".avi", nullptr, u"libxvid", nullptr, nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{5}, u".mkv", nullptr, u"mpeg4", nullptr, nullptr, 1200000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{6, 1300, 1301}, u".mpg", nullptr, u"mpeg1video", nullptr, nullptr, 528000, u"25", nullptr, nullptr, u"2", u"44100", 128000},
    {{7, 1302, 1306, 1307}, u".mpg", nullptr, u"mpeg2video", nullptr, nullptr, 816000, u"25", nullptr, nullptr, u"2", u"44100", 128000},
    {{8}, u".asf", nullptr, u"msmpeg4", nullptr, nullptr, 816000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{9, 2107, 2207, 2307}, u".3gp", nullptr, u"mpeg4", nullptr, u"176*144", 128000, u"12", u"4:3", u"libfaac", u"1", u"8000", 12000},
    {{10, 1700, 2108, 2208, 2308}, u".wmv", nullptr, u"wmv2", nullptr, nullptr, 816000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{14}, u".rm", u"", u"rv20", nullptr, u"320*240", -1, nullptr, nullptr, nullptr, nullptr, nullptr, -1},
    {{200}, u".avi", nullptr, u"mpeg4", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{201, 1506}, u".avi", nullptr, u"libxvid", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{202}, u".mp4", nullptr, u"libx264", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 256000},
    {{203, 1305}, u".mp4", nullptr, u"mpeg4", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{204}, u".mov", nullptr, nullptr, nullptr, u"1280*720", 1600000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{205}, u".asf", nullptr, u"msmpeg4", nullptr, u"1280*720", 1600000, u"25", nullptr, u"wmav2", u"2", u"48000", 128000},
    {{206}, u".wmv", u".asf", u"wmv2", nullptr, u"1280*720", 1600000, u"25", nullptr, u"wmav2", u"2", u"48000", 128000},
    {{207, 2005, 2311}, u".vob", nullptr, nullptr, nullptr, u"1280*720", 1600000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{208, 1304}, u".mpg", nullptr, u"mpeg2video", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{209}, u".mkv", nullptr, u"mpeg4", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{400, 404}, u".mp4", nullptr, u"mpeg4", nullptr, u"320*240", 600000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{401}, u".mp4", nullptr, u"libxvid", nullptr, u"640*480", 1000000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{402}, u".mp4", nullptr, u"mpeg4", nullptr, u"640*480", 600000, u"25", u"16:9", u"libfaac", u"2", u"48000", 128000},
    {{403}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 1200000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{405}, u".mp4", nullptr, u"mpeg4", nullptr, u"480*320", 768000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{500}, u".mp4", nullptr, u"mpeg4", nullptr, u"320*240", 600000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{501}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 768000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{502}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 1200000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{503}, u".mp4", nullptr, u"libxvid", nullptr, u"320*240", 384000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{504}, u".mp4", nullptr, u"libx264", nullptr, u"640*480", 1000000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{700}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 768000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{701}, u".mp4", nullptr, u"libx264", nullptr, u"640*480", 1000000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{702}, u".mp4", nullptr, u"libx264", nullptr, u"1280*720", 1000000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{703}, u".mp4", nullptr, u"mpeg4", nullptr, u"640*480", 1200000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{704}, u".mp4", nullptr, u"libxvid", nullptr, u"640*480", 600000, u"25", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{800}, u".mp4", nullptr, u"libx264", nullptr, u"640*480", 1200000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 192000},
    {{801}, u".mpeg", nullptr, u"mpeg2video", nullptr, u"1280*720", 1200000, u"25", nullptr, u"ac3", u"2", u"48000", 192000},
    {{802}, u".mpg", nullptr, u"mpeg2video", nullptr, u"1280*720", 1200000, u"25", nullptr, u"ac3", u"2", u"48000", 192000},
    {{803}, u".mp4", nullptr, u"mpeg4", nullptr, u"640*480", 1200000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 192000},
    {{804}, u".mp4", nullptr, u"mpeg4", nullptr, u"1280*720", 1200000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{805}, u".wmv", nullptr, u"wmv2", nullptr, u"640*480", 1200000, u"25", nullptr, u"wmav2", u"2", u"48000", 128000},
    {{806}, u".avi", nullptr, u"wmv2", nullptr, u"1280*720", 1200000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{807}, u".avi", nullptr, u"msmpeg4v2", nullptr, u"1280*720", 1200000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{808}, u".avi", nullptr, u"msmpeg4", nullptr, u"1280*720", 1200000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{809}, u".mp4", nullptr, u"msmpeg4v1", nullptr, u"1280*720", 1200000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{900}, u".avi", nullptr, u"mpeg4", nullptr, u"480*272", 1000000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{901}, u".avi", nullptr, u"mpeg4", nullptr, u"720*480", 1000000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{902}, u".avi", nullptr, u"mpeg4", nullptr, u"320*240", 768000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{903}, u".mp4", nullptr, u"mpeg4", nullptr, u"320*240", 512000, u"25", nullptr, u"libfaac", u"2", u"44100", 128000},
    {{904}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 768000, u"25", nullptr, u"libfaac", u"2", u"44100", 128000},
    {{905}, u".mp4", nullptr, u"libxvid", nullptr, u"320*240", 768000, u"25", nullptr, u"libfaac", u"2", u"44100", 128000},
    {{906}, u".wmv", nullptr, u"wmv2", nullptr, u"320*240", 1000000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{907}, u".avi", nullptr, u"mpeg4", nullptr, u"640*480", 1000000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1000}, u".mp4", nullptr, u"mpeg4", nullptr, u"320*240", 528000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1001}, u".mp4", nullptr, u"mpeg4", nullptr, nullptr, 768000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1002, 1004}, u".mp4", nullptr, u"libx264", nullptr, nullptr, 1200000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1003}, u".mp4", nullptr, u"libx264", nullptr, u"320*240", 1200000, u"25", nullptr, u"libfaac", u"2", u"44100", 128000},
    {{1100, 2109, 2209, 2309}, u".flv", nullptr, nullptr, nullptr, nullptr, 1200000, u"25", nullptr, u"libmp3lame", u"2", u"22050", 128000},
    {{1101, 2310}, u".swf", nullptr, nullptr, nullptr, nullptr, 528000, u"25", nullptr, u"libmp3lame", u"2", u"22050", 128000},
    {{1200}, u".mp4", nullptr, u"mpeg4", nullptr, u"640*480", 1200000, u"30", nullptr, u"libfaac", u"2", u"32000", 128000},
    {{1201, 1203}, u".mp4", nullptr, u"libx264", nullptr, u"720*576", 1200000, u"30", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{1202}, u".mp4", nullptr, u"libxvid", nullptr, u"640*480", 1200000, u"30", nullptr, u"libfaac", u"2", u"24000", 128000},
    {{1204}, u".mp4", nullptr, u"mpeg4", nullptr, u"640*480", 1200000, u"25", nullptr, u"libfaac", u"2", u"24000", 128000},
    {{1205}, u".mp4", nullptr, u"mpeg4", u"DX50", u"640*480", 1200000, u"25", nullptr, u"libfaac", u"2", u"24000", 128000},
    {{1501}, u".avi", nullptr, u"libx264", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 256000},
    {{1600}, u".mkv", nullptr, u"mpeg4", nullptr, nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1601}, u".mkv", nullptr, u"libx264", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 256000},
    {{1602, 1605}, u".mkv", nullptr, u"mpeg4", u"XVID", nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1603}, u".mkv", nullptr, u"libxvid", nullptr, nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1604}, u".mkv", nullptr, u"mpeg4", u"DX50", nullptr, 816000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{1606}, u".mkv", nullptr, u"libxvid", nullptr, u"1280*720", 1600000, u"25", nullptr, u"libmp3lame", u"2", u"48000", 128000},
    {{1701, 1706}, u".wmv", nullptr, u"wmv2", nullptr, u"1280*720", 1600000, u"30", nullptr, u"wmav2", u"2", u"48000", 128000},
    {{1702}, u".wmv", nullptr, u"wmv2", nullptr, u"320*240", 816000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{1703}, u".wmv", nullptr, u"wmv2", nullptr, u"1024*768", 1000000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{1704}, u".wmv", nullptr, u"wmv2", nullptr, nullptr, 728000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{1705}, u".wmv", nullptr, u"wmv2", nullptr, u"320*240", 528000, u"25", nullptr, u"wmav2", u"2", u"44100", 128000},
    {{2000}, u".vob", nullptr, nullptr, nullptr, u"1280*720", 1200000, u"29.97", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{2001, 2002}, u".vob", nullptr, nullptr, nullptr, u"1280*720", 1600000, u"30", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{2003}, u".vob", nullptr, nullptr, nullptr, u"1280*720", 1000000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{2004}, u".vob", nullptr, nullptr, nullptr, u"1024*768", 1200000, u"25", nullptr, u"libfaac", u"2", u"48000", 128000},
    {{2101, 2201, 2301}, u".avi", nullptr, u"libx264", nullptr, u"1280*720", 1600000, u"30", nullptr, u"libmp3lame", u"2", u"48000", 256000},
    {{2102, 2202, 2302}, u".avi", nullptr, u"mpeg4", u"DX50", nullptr, 1200000, u"29.97", nullptr, u"libmp3lame", u"2", u"44100", 128000},
    {{2103, 2203, 2303}, u".mpg", nullptr, u"mpeg2video", nullptr, nullptr, 1000000, u"25", nullptr, nullptr, u"2", u"44100", 128000},
    {{2104, 2204, 2304}, u".mpg", nullptr, u"mpeg2video", nullptr, nullptr, 1200000, u"25", nullptr, nullptr, u"2", u"44100", 128000},
    {{2106, 2206, 2306}, u".avi", nullptr, u"libxvid", nullptr, nullptr, 1000000, u"25", nullptr, u"libmp3lame", u"2", u"44100", 128000},
};
// clang-format on

const char16_t* Text(const char16_t* AValue) {
    return AValue ? AValue : u"";
}

std::vector<TCodecData> MakeCodecTable() {
    std::vector<TCodecData> table;
    for (const TDiscRow& row : kDiscRows)
        for (const Integer key : row.Keys)
            table.push_back({key, u".mpg", u"", u"", u"", u"", -1000, u"", u"", u"", u"", u"", -1000, false,
                             row.TargetType, u"PAL"});
    for (const TAudioRow& row : kAudioRows)
        for (const Integer key : row.Keys)
            table.push_back({key, row.OutputExt, row.FileExt ? row.FileExt : row.OutputExt, u"", u"", u"", -1,
                             u"", u"", Text(row.AudioCodec), Text(row.AudioChannels),
                             Text(row.AudioSampleRate), row.AudioBitrate, true, u"", u""});
    for (const TVideoRow& row : kVideoRows)
        for (const Integer key : row.Keys)
            table.push_back({key, row.OutputExt, row.FileExt ? row.FileExt : row.OutputExt,
                             Text(row.VideoCodec), Text(row.VideoTag), Text(row.FrameSize), row.VideoBitrate,
                             Text(row.FrameRate), Text(row.FrameAspectRatio), Text(row.AudioCodec),
                             Text(row.AudioChannels), Text(row.AudioSampleRate), row.AudioBitrate, false, u"",
                             u""});
    SortByKey(table);
    return table;
}

// The extension each format's caption ends in, for the settled rows to
// point at.
const char16_t* CaptionExtension(Integer AFormatKey) {
    static const std::map<Integer, String> extensions = [] {
        std::map<Integer, String> map;
        for (const Integer key : FormatKeys())
            map.emplace(key, ExtensionFromCaption(FormatCaptionOf(key)));
        return map;
    }();
    const auto found = extensions.find(AFormatKey);
    return found == extensions.end() ? nullptr : found->second.c_str();
}

bool IsMpegProgramStream(std::u16string_view AExtension) {
    return AExtension == u".mpg" || AExtension == u".mpeg" || AExtension == u".vob";
}

// The part of a path after its last "/".
std::u16string_view FileNamePart(std::u16string_view APath) {
    const size_t slash = APath.rfind(u'/');
    return slash == std::u16string_view::npos ? APath : APath.substr(slash + 1);
}

// AName with its extension (from the last ".") replaced by AExtension, or
// AExtension appended when it has none.
String WithExtension(std::u16string_view AName, std::u16string_view AExtension) {
    return String(AName.substr(0, std::min(AName.rfind(u'.'), AName.size()))) + String(AExtension);
}

}  // namespace

std::span<const TCodecData> CodecTable() {
    static const std::vector<TCodecData> table = MakeCodecTable();
    return table;
}

const TCodecData* CodecDataOf(Integer AFormatKey) {
    return FindByKey(CodecTable(), AFormatKey);
}

TCodecData SettledCodecData(const TCodecData& AData) {
    TCodecData data = AData;
    // The file is of the kind its caption and its name say, whichever way
    // the row was made.
    if (const char16_t* extension = CaptionExtension(data.Key)) data.OutputExt = extension;
    const std::u16string_view extension = data.OutputExt;
    // No FAAC encoder: the native one, with the same channels and rates.
    if (std::u16string_view(data.AudioCodec) == u"libfaac") data.AudioCodec = u"aac";
    // An MPEG program stream cannot carry AAC; AC-3 takes the nearest legal
    // bit rate itself, and is the DVD's audio.
    if (IsMpegProgramStream(extension) && std::u16string_view(data.AudioCodec) == u"aac")
        data.AudioCodec = u"ac3";
    // The MP4 muxer refuses these tags and writes its own for MPEG-4 Part 2.
    const std::u16string_view tag = data.VideoTag;
    if (extension == u".mp4" && (tag == u"DX50" || tag == u"XVID")) data.VideoTag = u"";
    // No MPEG-4 v1 encoder: MPEG-4 Part 2 is its nearest.
    if (std::u16string_view(data.VideoCodec) == u"msmpeg4v1") data.VideoCodec = u"mpeg4";
    return data;
}

String AudioEncoderOf(Integer AFormatKey) {
    const TCodecData* row = CodecDataOf(AFormatKey);
    if (!row) return String();
    const TCodecData data = SettledCodecData(*row);
    if (*data.AudioCodec) return data.AudioCodec;
    const std::u16string_view target = data.TargetType;
    if (target == u"vcd" || target == u"svcd") return u"mp2";
    if (target == u"dvd") return u"ac3";
    const std::u16string_view extension = data.OutputExt;
    if (IsMpegProgramStream(extension) || extension == u".mp2") return u"mp2";
    if (extension == u".rm" || extension == u".ra") return u"ac3";
    return String();
}

String UnavailableEncoder(Integer AFormatKey) {
    const TCodecData* row = CodecDataOf(AFormatKey);
    if (!row) return String();
    const TCodecData data = SettledCodecData(*row);
    for (const char16_t* encoder : {data.VideoCodec, data.AudioCodec}) {
        const std::u16string_view name = encoder;
        if (!name.empty() && name != u"AUTO" && !EncoderAvailable(StringToUTF8(name))) return String(name);
    }
    return String();
}

void ResetStaging(TStagingFields& AStaging) {
    TStagingFields reset;
    reset.Video_AddFileName = std::move(AStaging.Video_AddFileName);
    reset.All_Trant_Number = AStaging.All_Trant_Number;
    AStaging = std::move(reset);
}

void StartPresetFill(TStagingFields& AStaging, Integer AFormatKey) {
    AStaging.All_Trant_Number = AFormatKey + 100;
    AStaging.Video_DisableVideo = false;
}

bool ApplyCodecData(TStagingFields& AStaging, Integer AFormatKey, const String& AOutputFolder,
                    bool AOverwrite, std::span<const String> ATakenNames, std::span<const String> AInputs) {
    ResetStaging(AStaging);
    StartPresetFill(AStaging, AFormatKey);
    const TCodecData* row = CodecDataOf(AFormatKey);
    if (!row) return false;
    const TCodecData data = SettledCodecData(*row);
    AStaging.Video_FileExt = data.FileExt;
    AStaging.Video_VideoCodec = data.VideoCodec;
    AStaging.Video_VideoTag = data.VideoTag;
    AStaging.Video_FrameSize = data.FrameSize;
    AStaging.Video_VideoBitrate = data.VideoBitrate;
    AStaging.Video_FrameRate = data.FrameRate;
    AStaging.Video_FrameAspectRatio = data.FrameAspectRatio;
    AStaging.Video_AudioCodec = data.AudioCodec;
    AStaging.Video_AudioChannels = data.AudioChannels;
    AStaging.Video_AudioSampleRate = data.AudioSampleRate;
    AStaging.Video_AudioBitrate = data.AudioBitrate;
    AStaging.Video_DisableVideo = data.DisableVideo;
    AStaging.Video_TargetType = data.TargetType;
    AStaging.Video_NormType = data.NormType;
    AStaging.Video_OutPutFileName = NumberedOutputPath(
        AOutputFolder + u"/" + WithExtension(FileNamePart(AStaging.Video_AddFileName), data.OutputExt),
        AOverwrite, ATakenNames, AInputs);
    return true;
}

std::array<String, 14> CodecColumns(const TStagingFields& AStaging) {
    return {AStaging.Video_VideoCodec,
            AStaging.Video_AudioCodec,
            AStaging.Video_AudioChannels,
            AStaging.Video_VideoTag,
            AStaging.Video_FileExt,
            AStaging.Video_FrameSize,
            IntToStr(AStaging.Video_VideoBitrate),
            AStaging.Video_FrameRate,
            IntToStr(AStaging.Video_AudioBitrate),
            AStaging.Video_AudioSampleRate,
            AStaging.Video_FrameAspectRatio,
            AStaging.Video_DisableVideo ? u"True" : u"False",
            AStaging.Video_TargetType,
            AStaging.Video_NormType};
}

bool IsInputFile(std::u16string_view APath, std::span<const String> AInputs) {
    if (std::find(AInputs.begin(), AInputs.end(), APath) != AInputs.end()) return true;
    // A name that is no file yet can only be an input by its text; only one
    // that exists is looked for among the inputs' files (links, other
    // spellings), which keeps adding to a long list quick.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(StringToUTF8(APath), error);
    if (error || !std::filesystem::exists(status)) return false;
    const std::filesystem::path path(StringToUTF8(APath));
    for (const String& input : AInputs)
        if (std::filesystem::equivalent(path, std::filesystem::path(StringToUTF8(input)), error)) return true;
    return false;
}

String NumberedOutputPath(std::u16string_view APath, bool AOverwrite, std::span<const String> ATakenNames,
                          std::span<const String> AInputs) {
    const auto taken = [&](const String& ACandidate) {
        if (!AOverwrite && FileExists(ACandidate)) return true;
        if (std::find(ATakenNames.begin(), ATakenNames.end(), FileNamePart(ACandidate)) != ATakenNames.end())
            return true;
        return IsInputFile(ACandidate, AInputs);
    };
    const std::u16string_view name = FileNamePart(APath);
    const size_t dot = std::min(name.rfind(u'.'), name.size());
    const String stem(APath.substr(0, APath.size() - name.size() + dot));
    const String extension(name.substr(dot));
    String candidate = stem + extension;
    for (Integer number = 1; taken(candidate); ++number)
        candidate = stem + u"_" + IntToStr(number) + extension;
    if (IsInputFile(APath, AInputs))
        GetLogger()->Log(nullptr, llWarning, u"The output %s is an input file: %s is written instead",
                         {String(APath), candidate});
    return candidate;
}

String RowOutputName(std::u16string_view AOutputFile, std::u16string_view AName, const String& AOutputFolder,
                     bool AOverwrite, std::span<const String> AOtherRowNames,
                     std::span<const String> AInputs) {
    const String path = AOutputFolder + u"/" + String(AName);
    // The row's own file is no other's: its own name again stays.
    if (AName == FileNamePart(AOutputFile) && !IsInputFile(path, AInputs)) return String(AName);
    return String(FileNamePart(NumberedOutputPath(path, AOverwrite, AOtherRowNames, AInputs)));
}

String RenamedOutputFile(std::u16string_view AOutputFile, std::u16string_view AExtension,
                         const String& AOutputFolder, bool AOverwrite, std::span<const String> AOtherRowNames,
                         std::span<const String> AInputs) {
    return RowOutputName(AOutputFile, WithExtension(FileNamePart(AOutputFile), AExtension), AOutputFolder,
                         AOverwrite, AOtherRowNames, AInputs);
}
