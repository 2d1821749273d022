#include <vector>

#include "app/keyedrows.h"
#include "app/settingscatalogue.h"
#include "platform/base/fileutils.h"

namespace {

// A text a row leaves as it is.
constexpr const char16_t* Unchanged = nullptr;

// Every video row writes its output extension into Video_FileExt, the empty
// text into the aspect ratio, filters, norm, copy-timestamp, file format and
// target, and "256" into the volume; the last three members name the rows
// that do otherwise.
struct TVideoRow {
    Integer Key;
    const char16_t* OutputExt;
    const char16_t* VideoCodec;
    const char16_t* VideoTag;
    const char16_t* FrameRate;
    const char16_t* FrameSize;
    Integer VideoBitrate;
    const char16_t* AudioCodec;
    const char16_t* AudioChannels;
    const char16_t* AudioSampleRate;
    Integer AudioBitrate;
    const char16_t* FrameAspectRatio = u"";
    const char16_t* TargetType = u"";
    const char16_t* FileExt = nullptr;  // nil: the output extension
};

// The disc rows write ".mpg", their target, the PAL norm, both bit rates
// -1000 and "256", and clear the codecs, tag, rates, sizes, channels and
// file format; they leave the file extension, filters and copy-timestamp.
struct TDiscRow {
    Integer Key;
    const char16_t* TargetType;
};

// The audio-only rows write the audio fields, "256", and clear the norm,
// copy-timestamp, file format and target; they leave every video field.
struct TAudioRow {
    Integer Key;
    const char16_t* OutputExt;
    const char16_t* FileExt;
    const char16_t* AudioCodec;
    const char16_t* AudioChannels;
    const char16_t* AudioSampleRate;
    Integer AudioBitrate;
};

// clang-format off
const TVideoRow kVideoRows[] = {
    {100, u".avi", u"mpeg4", u"XVID", u"25", u"", 816000, u"libmp3lame", u"2", u"44100", 128000},
    {101, u".mp4", u"mpeg4", u"", u"25", u"", 816000, u"libmp3lame", u"2", u"44100", 128000},
    {102, u".avi", u"mpeg4", u"DX50", u"25", u"", 816000, u"libmp3lame", u"2", u"44100", 128000},
    {103, u".mov", u"", u"", u"25", u"", 816000, u"libfaac", u"2", u"44100", 128000},
    {104, u".avi", u"libxvid", u"", u"25", u"", 816000, u"libmp3lame", u"2", u"44100", 128000},
    {105, u".mkv", u"mpeg4", u"", u"25", u"", 1200000, u"libmp3lame", u"2", u"44100", 128000},
    {106, u".mpg", u"mpeg1video", u"", u"25", u"", 528000, u"", u"2", u"44100", 128000},
    {107, u".mpg", u"mpeg2video", u"", u"25", u"", 816000, u"", u"2", u"44100", 128000},
    {108, u".asf", u"msmpeg4", u"", u"25", u"", 816000, u"wmav2", u"2", u"44100", 128000},
    {109, u".3gp", u"mpeg4", u"", u"12", u"176*144", 128000, u"libfaac", u"1", u"8000", 12000, u"4:3"},
    {110, u".wmv", u"wmv2", u"", u"25", u"", 816000, u"wmav2", u"2", u"44100", 128000},
    {300, u".avi", u"mpeg4", u"", u"25", u"1280*720", 1600000, u"libmp3lame", u"2", u"48000", 128000},
    {301, u".avi", u"libxvid", u"", u"25", u"1280*720", 1600000, u"libmp3lame", u"2", u"48000", 128000},
    {302, u".mp4", u"libx264", u"", u"25", u"1280*720", 1600000, u"libmp3lame", u"2", u"48000", 256000},
    {303, u".mp4", u"mpeg4", u"", u"25", u"1280*720", 1600000, u"libmp3lame", u"2", u"48000", 128000},
    {304, u".mov", u"", u"", u"25", u"1280*720", 1600000, u"libfaac", u"2", u"48000", 128000},
    {305, u".asf", u"msmpeg4", Unchanged, u"25", u"1280*720", 1600000, u"wmav2", u"2", u"48000", 128000},
    {306, u".wmv", u"wmv2", u"", u"25", u"1280*720", 1600000, u"wmav2", u"2", u"48000", 128000, u"", u"", u".asf"},
    {307, u".vob", u"", u"", u"25", u"1280*720", 1600000, u"libfaac", u"2", u"48000", 128000},
    {308, u".mpg", u"mpeg2video", u"", u"25", u"1280*720", 1600000, u"libfaac", u"2", u"48000", 128000},
    {309, u".mkv", u"mpeg4", u"", u"25", u"1280*720", 1600000, u"libfaac", u"2", u"48000", 192000},
    {400, u".mp4", u"libx264", u"", u"25", u"320*240", 512000, u"libfaac", u"2", u"48000", 128000},
    {401, u".mp4", u"libxvid", u"", u"25", u"320*240", 768000, u"libfaac", u"2", u"48000", 128000},
    {402, u".mp4", u"libxvid", u"", u"25", u"640*480", 768000, u"libfaac", u"2", u"48000", 128000},
    {403, u".mp4", u"libxvid", u"", u"25", u"640*480", 768000, u"libfaac", u"2", u"48000", 128000, u"", Unchanged},
    {404, u".mp4", u"mpeg4", u"", u"25", u"640*480", 600000, u"libfaac", u"2", u"48000", 128000, u"", Unchanged},
    {405, u".mp4", u"libx264", u"", u"25", u"640*480", 1200000, u"libfaac", u"2", u"48000", 128000, u"", Unchanged},
    {406, u".mp4", u"libxvid", u"", u"25", u"640*480", 512000, u"libfaac", u"2", u"48000", 128000, u"", Unchanged},
    {407, u".mp4", u"mpeg4", u"", u"25", u"320*240", 600000, u"libfaac", u"2", u"48000", 128000},
    {408, u".mp4", u"libxvid", u"", u"25", u"640*480", 7680000, u"libfaac", u"2", u"48000", 128000},
    {409, u".mp4", u"libx264", u"", u"25", u"640*480", 1200000, u"libfaac", u"2", u"48000", 128000},
    {410, u".mp4", u"libxvid", u"", u"25", u"640*480", 512000, u"libfaac", u"2", u"48000", 128000},
    {411, u".mp4", u"libxvid", u"", u"25", u"640*480", 1200000, u"libfaac", u"2", u"48000", 128000, u"16:9"},
    {412, u".mp4", u"libxvid", u"", u"25", u"320*240", 768000, u"libfaac", u"2", u"48000", 128000},
    {413, u".mp4", u"libxvid", u"", u"25", u"480*320", 1000000, u"libfaac", u"2", u"48000", 128000},
    {500, u".mp4", u"mpeg4", u"", u"25", u"320*240", 600000, u"libfaac", u"2", u"48000", 128000},
    {501, u".mp4", u"libxvid", u"", u"25", u"640*480", 1000000, u"libfaac", u"2", u"48000", 128000},
    {502, u".mp4", u"mpeg4", u"", u"25", u"640*480", 600000, u"libfaac", u"2", u"48000", 128000, u"16:9"},
    {503, u".mp4", u"libx264", u"", u"25", u"320*240", 1200000, u"libfaac", u"2", u"48000", 128000},
    {504, u".mp4", u"mpeg4", u"", u"25", u"320*240", 600000, u"libfaac", u"2", u"48000", 128000},
    {505, u".mp4", u"mpeg4", u"", u"25", u"480*320", 768000, u"libfaac", u"2", u"48000", 128000},
    {600, u".mp4", u"mpeg4", u"", u"29.97", u"320*240", 600000, u"libfaac", u"2", u"48000", 128000},
    {601, u".mp4", u"libx264", u"", u"29.97", u"320*240", 768000, u"libfaac", u"2", u"48000", 128000},
    {602, u".mp4", u"libx264", u"", u"29.97", u"320*240", 1200000, u"libfaac", u"2", u"48000", 128000},
    {603, u".mp4", u"libxvid", u"", u"29.97", u"320*240", 384000, u"libfaac", u"2", u"48000", 128000},
    {604, u".mp4", u"libx264", u"", u"29.97", u"640*480", 1000000, u"libfaac", u"2", u"48000", 128000},
    {700, u".3gp", u"h263", u"", u"12", u"176*144", 128000, u"libamr_nb", u"1", u"8000", 12000},
    {701, u".3gp", u"h263", u"", u"12", u"176*144", 128000, u"libfaac", u"2", u"16000", 48000},
    {702, u".3gp", u"mpeg4", u"", u"12", u"176*144", 128000, u"libamr_nb", u"1", u"8000", 12000},
    {703, u".3g2", u"mpeg4", u"", u"12", u"176*144", 128000, u"libfaac", u"2", u"32000", 48000},
    {704, u".3gp", u"mpeg4", u"", u"12", u"176*144", 128000, u"libamr_nb", u"1", u"8000", 10200},
    {705, u".3gp", u"mpeg4", u"", u"15", u"320*240", 128000, u"libfaac", u"2", u"16000", 32000},
    {706, u".avi", u"h263", u"", u"15", u"352*288", 256000, u"libmp3lame", u"2", u"44100", 128000},
    {707, u".mp4", u"mpeg4", u"", u"15", u"352*288", 128000, u"libfaac", u"2", u"44100", 128000},
    {709, u".mp4", u"mpeg4", u"", u"15", u"352*288", 160000, u"libfaac", u"2", u"44100", 64000},
    {710, u".mp4", u"mpeg4", u"", u"12", u"352*288", 128000, u"libfaac", u"2", u"32000", 32000},
    {711, u".avi", u"mpeg4", u"DX50", u"25", u"320*240", 256000, u"libmp3lame", u"2", u"44100", 128000},
    {712, u".mov", u"", u"", u"25", u"320*240", 256000, u"libfaac", u"2", u"44100", 128000},
    {713, u".mp4", u"mpeg4", u"", u"12", u"176*144", 128000, u"libfaac", u"2", u"32000", 32000},
    {800, u".mp4", u"libx264", u"", u"25", u"320*240", 768000, u"libfaac", u"2", u"48000", 192000},
    {801, u".mp4", u"libx264", u"", u"25", u"640*480", 1000000, u"libfaac", u"2", u"48000", 192000},
    {802, u".mp4", u"libx264", u"", u"25", u"1280*720", 1000000, u"libfaac", u"2", u"48000", 192000},
    {803, u".mp4", u"mpeg4", u"", u"25", u"640*480", 1200000, u"libfaac", u"2", u"48000", 192000},
    {804, u".mp4", u"libxvid", u"", u"25", u"640*480", 600000, u"libfaac", u"2", u"48000", 192000},
    {900, u".mp4", u"libx264", u"", u"29.97", u"640*480", 1200000, u"libfaac", u"2", u"48000", 192000},
    {901, u".mpeg", u"mpeg2video", u"", u"25", u"1280*720", 1200000, u"ac3", u"2", u"48000", 192000},
    {902, u".mpg", u"mpeg2video", u"", u"25", u"1280*720", 1200000, u"ac3", u"2", u"48000", 192000},
    {903, u".mp4", u"mpeg4", u"", u"25", u"640*480", 1200000, u"libmp3lame", u"2", u"48000", 192000},
    {904, u".mp4", u"mpeg4", u"", u"25", u"1280*720", 1200000, u"libfaac", u"2", u"48000", 128000},
    {905, u".wmv", u"wmv2", u"", u"25", u"640*480", 1200000, u"wmav2", u"2", u"48000", 128000},
    {906, u".avi", u"wmv2", u"", u"25", u"1280*720", 1200000, u"libmp3lame", u"2", u"48000", 128000},
    {907, u".avi", u"msmpeg4v2", u"", u"25", u"1280*720", 1200000, u"libmp3lame", u"2", u"48000", 128000},
    {908, u".avi", u"msmpeg4", u"", u"25", u"1280*720", 1200000, u"libmp3lame", u"2", u"48000", 128000},
    {909, u".mp4", u"msmpeg4v1", u"", u"25", u"1280*720", 1200000, u"libmp3lame", u"2", u"48000", 128000},
    {1000, u".avi", u"mpeg4", u"", u"25", u"480*272", 1000000, u"libmp3lame", u"2", u"48000", 128000},
    {1001, u".avi", u"mpeg4", u"", u"25", u"720*480", 1000000, u"libmp3lame", u"2", u"48000", 128000},
    {1002, u".avi", u"mpeg4", u"", u"25", u"320*240", 768000, u"libmp3lame", u"2", u"44100", 128000},
    {1003, u".mp4", u"mpeg4", u"", u"25", u"320*240", 512000, u"libfaac", u"2", u"44100", 128000},
    {1004, u".mp4", u"libx264", u"", u"25", u"320*240", 768000, u"libfaac", u"2", u"44100", 128000},
    {1005, u".mp4", u"libxvid", u"", u"25", u"320*240", 768000, u"libfaac", u"2", u"44100", 128000},
    {1006, u".wmv", u"wmv2", u"", u"25", u"320*240", 1000000, u"wmav2", u"2", u"44100", 128000},
    {1007, u".avi", u"mpeg4", u"", u"25", u"640*480", 1000000, u"libmp3lame", u"2", u"44100", 128000},
    {1100, u".mp4", u"mpeg4", u"", u"25", u"320*240", 528000, u"libmp3lame", u"2", u"44100", 128000},
    {1101, u".mp4", u"mpeg4", u"", u"25", u"", 768000, u"libmp3lame", u"2", u"44100", 128000},
    {1102, u".mp4", u"libx264", u"", u"25", u"", 1200000, u"libmp3lame", u"2", u"44100", 128000},
    {1103, u".mp4", u"libx264", u"", u"25", u"320*240", 1200000, u"libfaac", u"2", u"44100", 128000},
    {1104, u".mp4", u"libx264", u"", u"25", u"", 1200000, u"libmp3lame", u"2", u"44100", 128000},
    {1200, u".flv", u"", u"", u"25", u"", 1200000, u"libmp3lame", u"2", u"22050", 128000},
    {1201, u".swf", u"", u"", u"25", u"", 528000, u"libmp3lame", u"2", u"22050", 128000},
};
const TDiscRow kDiscRows[] = {
    {111, u"dvd"},
    {112, u"svcd"},
    {113, u"vcd"},
};
const TAudioRow kAudioRows[] = {
    {200, u".mp3", u".mp3", u"libmp3lame", u"2", u"48000", 128000},
    {201, u".wma", u".wma", u"wmav2", u"2", u"48000", 128000},
    {202, u".wav", u".wav", u"", u"2", u"48000", 128000},
    {203, u".aac", u".aac", u"libfaac", u"2", u"48000", 128000},
    {204, u".m4a", u".m4a", u"", u"2", u"48000", 128000},
    {205, u".ogg", u".ogg", u"libvorbis", u"2", u"48000", 128000},
    {206, u".ra", u".rm", u"", u"2", u"48000", 128000},
    {207, u".ac3", u".ac3", u"ac3", u"2", u"48000", 128000},
    {208, u".aiff", u".aiff", u"", u"2", u"48000", 128000},
    {209, u".mp2", u".mp2", u"", u"2", u"44100", 128000},
    {210, u".flac", u".flac", u"flac", u"2", u"48000", 128000},
    {211, u".m4a", u".alac", u"alac", u"2", u"48000", 128000},
    {212, u".amr", u".amr", u"libopencore_amrnb", u"1", u"8000", 7400},
    {708, u".amr", u".amr", u"libopencore_amrnb", u"1", u"8000", 7400},
    {1202, u".flv", Unchanged, u"libmp3lame", u"2", u"22050", 128000},
    {1203, u".swf", Unchanged, u"libmp3lame", u"2", u"22050", 128000},
};
// clang-format on

// What video and audio-only rows write alike: the audio fields, the volume,
// and the empty norm, copy-timestamp and file format.
template <class TRow>
TSettingsCodecRow WithSound(const TRow& ARow) {
    TSettingsCodecRow data;
    data.Key = ARow.Key;
    data.OutputExt = ARow.OutputExt;
    data.AudioCodec = ARow.AudioCodec;
    data.AudioChannels = ARow.AudioChannels;
    data.AudioSampleRate = ARow.AudioSampleRate;
    data.AudioVolume = u"256";
    data.AudioBitrate = ARow.AudioBitrate;
    data.NormType = u"";
    data.CopyTimestamp = u"";
    data.FileFormat = u"";
    return data;
}

// Each row names the fields it writes; the others it leaves as they are.
std::vector<TSettingsCodecRow> MakeSettingsCodecTable() {
    std::vector<TSettingsCodecRow> table;
    for (const TVideoRow& row : kVideoRows) {
        TSettingsCodecRow data = WithSound(row);
        data.FileExt = row.FileExt ? row.FileExt : row.OutputExt;
        data.VideoCodec = row.VideoCodec;
        data.VideoTag = row.VideoTag;
        data.FrameRate = row.FrameRate;
        data.FrameAspectRatio = row.FrameAspectRatio;
        data.FrameSize = row.FrameSize;
        data.VideoBitrate = row.VideoBitrate;
        data.VideoFilters = u"";
        data.TargetType = row.TargetType;
        table.push_back(data);
    }
    for (const TDiscRow& row : kDiscRows)
        table.push_back({.Key = row.Key,
                         .OutputExt = u".mpg",
                         .VideoCodec = u"",
                         .VideoTag = u"",
                         .FrameRate = u"",
                         .FrameAspectRatio = u"",
                         .FrameSize = u"",
                         .VideoBitrate = -1000,
                         .AudioCodec = u"",
                         .AudioChannels = u"",
                         .AudioSampleRate = u"",
                         .AudioVolume = u"256",
                         .AudioBitrate = -1000,
                         .NormType = u"PAL",
                         .FileFormat = u"",
                         .TargetType = row.TargetType});
    table.push_back({.Key = 114,
                     .OutputExt = u".rm",
                     .VideoCodec = u"rv20",
                     .FrameSize = u"320*240",
                     .NormType = u"",
                     .CopyTimestamp = u"",
                     .FileFormat = u"",
                     .TargetType = u""});
    for (const TAudioRow& row : kAudioRows) {
        TSettingsCodecRow data = WithSound(row);
        data.DisableVideo = true;
        data.FileExt = row.FileExt;
        data.TargetType = u"";
        table.push_back(data);
    }
    SortByKey(table);
    return table;
}

void Write(String& AField, const char16_t* AValue) {
    if (AValue) AField = AValue;
}

void Write(Integer& AField, std::optional<Integer> AValue) {
    if (AValue) AField = *AValue;
}

}  // namespace

std::span<const TSettingsCodecRow> SettingsCodecTable() {
    static const std::vector<TSettingsCodecRow> table = MakeSettingsCodecTable();
    return table;
}

const TSettingsCodecRow* SettingsCodecRowOf(Integer AKey) {
    return FindByKey(SettingsCodecTable(), AKey);
}

void ApplySettingsCodecData(TStagingFields& AStaging, Integer AKey, const String& AOutputFolder,
                            bool AOverwrite) {
    TStagingFields& S = AStaging;
    S.Video_DisableVideo = false;
    if (const TSettingsCodecRow* row = SettingsCodecRowOf(AKey)) {
        S.Video_OutPutFileName =
            AOutputFolder + u"/" + ChangeFileExt(ExtractFileName(S.Video_AddFileName), row->OutputExt);
        S.Video_DisableVideo = row->DisableVideo;
        Write(S.Video_FileExt, row->FileExt);
        Write(S.Video_VideoCodec, row->VideoCodec);
        Write(S.Video_VideoTag, row->VideoTag);
        Write(S.Video_FrameRate, row->FrameRate);
        Write(S.Video_FrameAspectRatio, row->FrameAspectRatio);
        Write(S.Video_FrameSize, row->FrameSize);
        Write(S.Video_VideoBitrate, row->VideoBitrate);
        Write(S.Video_VideoFilters, row->VideoFilters);
        Write(S.Video_AudioCodec, row->AudioCodec);
        Write(S.Video_AudioChannels, row->AudioChannels);
        Write(S.Video_AudioSampleRate, row->AudioSampleRate);
        Write(S.Video_AudioVolume, row->AudioVolume);
        Write(S.Video_AudioBitrate, row->AudioBitrate);
        Write(S.Video_NormType, row->NormType);
        Write(S.Video_CopyTimestamp, row->CopyTimestamp);
        Write(S.Video_FileFormat, row->FileFormat);
        Write(S.Video_TargetType, row->TargetType);
    }
    // The name is put in the folder again for every key, a key without a
    // row included, and then numbered.
    S.Video_OutPutFileName =
        NumberedOutputPath(AOutputFolder + u"/" + ExtractFileName(S.Video_OutPutFileName), AOverwrite, {});
}

void ApplySettingsParameterTexts(TStagingFields& AStaging, const TParameterTexts& ATexts) {
    TStagingFields& S = AStaging;
    S.Video_FrameSize = FrameSizeValue(ATexts[ppFrameSize]);
    S.Video_FrameRate = FrameRateValue(ATexts[ppFrameRate]);
    S.Video_VideoBitrate = KbpsVideoBitrate(ATexts[ppVideoBitrate]);
    S.Video_AudioSampleRate =
        ATexts[ppSampleRate] == u"自动音频采样率" ? String(u"AUTO") : ATexts[ppSampleRate];
    S.Video_AudioBitrate =
        ATexts[ppAudioBitrate] == u"自动音频比特率" ? -1000 : KbpsAudioBitrate(ATexts[ppAudioBitrate]);
    PictureModeRatio(ATexts[ppPictureMode], S.Video_FrameAspectRatio);
}
