#include "app/settingscatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/base/sysutils.h"
#include "tests/app/tempfolder.h"

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

// The shown texts and item counts of the six boxes after the fill for a key,
// in fill order.
struct TShown {
    std::vector<std::string> Texts;
    std::vector<size_t> Counts;
};

TShown Shown(Integer AKey) {
    const auto boxes = PresetBoxes(SettingsPresetOf(AKey));
    TShown shown;
    for (const TPresetParameter parameter : PresetFillOrder) {
        const TPresetBox& box = boxes[parameter];
        shown.Texts.push_back(box.ItemIndex < 0 ? "" : Text(box.Items[box.ItemIndex]));
        shown.Counts.push_back(box.Items.size());
    }
    return shown;
}

TParameterTexts Defaults(Integer AKey) {
    const auto boxes = PresetBoxes(SettingsPresetOf(AKey));
    TParameterTexts texts;
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
        texts[parameter] = boxes[parameter].Items[boxes[parameter].ItemIndex];
    return texts;
}

TEST(SettingsFormats, TwelveCategoriesAndTheirFormats) {
    const size_t counts[SettingsCategoryCount] = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
    size_t all = 0;
    for (Integer category = 0; category < SettingsCategoryCount; ++category) {
        EXPECT_EQ(SettingsFormatsOf(category).size(), counts[category]) << category;
        EXPECT_EQ(SettingsCategories()[category].ImageIndex, category);
        all += counts[category];
    }
    EXPECT_EQ(all, 109u);
    EXPECT_EQ(SettingsKeys().size(), 109u);
    EXPECT_EQ(Text(SettingsCategories()[0].Caption), "常用视频");
    EXPECT_EQ(Text(SettingsFormatsOf(0)[0].Title), "AVI - 音频视频交错格式(*.avi)");
    // A position outside the box lists nothing.
    for (const Integer category : {-1, 12, 19, 1000})
        EXPECT_TRUE(SettingsFormatsOf(category).empty()) << category;
}

TEST(SettingsFormats, TitlesKeepEveryCharacter) {
    const struct {
        Integer category, index;
        const char* title;
    } cases[] = {
        {1, 2, "WAV - 波形音频格式(*.wav) "},
        {1, 11, "ALAC-Apple Lossless无损音频格式(*.alac) "},
        {6, 0, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)"},
        {6, 2, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))"},
        {6, 3, "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(SettingsFormatsOf(c.category)[c.index].Title), c.title);
    // Equal entries are told apart by position only.
    const auto xbox = SettingsFormatsOf(8);
    EXPECT_EQ(Text(xbox[1].Title), Text(xbox[2].Title));
    EXPECT_EQ(Text(xbox[1].Caption), Text(xbox[2].Caption));
    EXPECT_EQ(SettingsKeyOf(8, 2), 902);
}

TEST(SettingsKey, CategoryPlusOneTimesHundredPlusFormat) {
    const struct {
        Integer category, format, key;
    } cases[] = {{0, 0, 100}, {1, 12, 212}, {6, 8, 708}, {11, 3, 1203},
                 {0, -1, 99}, {6, -1, 699}, {-1, 0, 0},  {-1, -1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(SettingsKeyOf(c.category, c.format), c.key) << c.category << "," << c.format;
    EXPECT_TRUE(std::is_sorted(SettingsKeys().begin(), SettingsKeys().end()));
    for (const Integer key : SettingsKeys()) {
        EXPECT_NE(SettingsPresetOf(key), nullptr) << key;
        EXPECT_NE(SettingsCodecRowOf(key), nullptr) << key;
    }
    EXPECT_EQ(SettingsPresets().size(), 109u);
    EXPECT_EQ(SettingsCodecTable().size(), 109u);
}

TEST(SettingsPresets, AKeyWithoutPresetLeavesSixEmptyEnabledBoxes) {
    for (const Integer key : {99, 699, 1199, 0, -1, 115, 310, 414, 505 + 1, 1204, 1300}) {
        EXPECT_EQ(SettingsPresetOf(key), nullptr) << key;
        for (const TPresetBox& box : PresetBoxes(SettingsPresetOf(key))) {
            EXPECT_TRUE(box.Items.empty()) << key;
            EXPECT_EQ(box.ItemIndex, -1) << key;
            EXPECT_TRUE(box.Enabled) << key;
        }
    }
}

TEST(SettingsPresets, NoVideoRowsDisableTheFourVideoBoxes) {
    std::vector<Integer> noVideo;
    for (const TPreset& preset : SettingsPresets())
        if (preset.AudioOnly) noVideo.push_back(preset.Key);
    EXPECT_EQ(noVideo, (std::vector<Integer>{200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212,
                                             708, 1202, 1203}));
    for (const Integer key : {212, 708, 1202}) {
        const auto boxes = PresetBoxes(SettingsPresetOf(key));
        for (const TPresetParameter parameter : {ppFrameSize, ppVideoBitrate, ppFrameRate, ppPictureMode}) {
            EXPECT_FALSE(boxes[parameter].Enabled) << key;
            EXPECT_EQ(boxes[parameter].Items.size(), 1u) << key;
        }
        EXPECT_TRUE(boxes[ppAudioBitrate].Enabled) << key;
        EXPECT_TRUE(boxes[ppSampleRate].Enabled) << key;
    }
    EXPECT_EQ(Shown(708).Texts,
              (std::vector<std::string>{"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}));
    EXPECT_EQ(Shown(708).Counts, (std::vector<size_t>{1, 1, 1, 8, 1, 1}));
    EXPECT_EQ(Shown(1202).Texts,
              (std::vector<std::string>{"该格式无视频", "无视频", "无视频", "128 kbps", "22050", "无视频"}));
    for (const TPresetBox& box : PresetBoxes(SettingsPresetOf(709)))
        EXPECT_TRUE(box.Enabled);
}

TEST(SettingsPresets, ShownTextsAndListSizesOfNamedRows) {
    using S = std::vector<std::string>;
    using N = std::vector<size_t>;
    const struct {
        Integer key;
        S texts;
        N counts;
    } cases[] = {
        // What the hidden dialog shows after start-up.
        {100, S{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"},
         N{28, 8, 12, 17, 6, 5}},
        {109, S{"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}, N{11, 15, 7, 6, 1, 2}},
        {111, S{"704*480", "1200 kbps", "29.97", "128 kbps", "44100", "保持原视频模式"},
         N{28, 8, 12, 17, 6, 5}},
        // Equal titles, other rows.
        {300, S{"1280*720", "1600 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"},
         N{11, 8, 4, 17, 6, 5}},
        {301, S{"1280*720", "1200 kbps", "30.00", "128 kbps", "48000", "保持原视频模式"},
         N{11, 8, 4, 17, 6, 5}},
        {303, S{"1280*1024", "1600 kbps", "30.00", "192 kbps", "48000", "保持原视频模式"},
         N{11, 8, 4, 17, 6, 5}},
        // Only these two ask for 16:9.
        {411, S{"640*272", "768 kbps", "25.00", "128 kbps", "48000", "宽屏视频16:9模式"},
         N{12, 9, 10, 5, 4, 5}},
        {502, S{"720*406", "768 kbps", "25.00", "128 kbps", "48000", "宽屏视频16:9模式"},
         N{13, 9, 10, 5, 4, 5}},
        {604, S{"720*480", "1000 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"}, N{5, 7, 3, 5, 4, 5}},
        {701, S{"176*144", "128 kbps", "12", "48 kbps", "32000", "保持原视频模式"}, N{11, 15, 7, 8, 7, 5}},
        {707, S{"176*144", "160 kbps", "15", "48 kbps", "32000", "保持原视频模式"}, N{13, 17, 8, 8, 7, 5}},
        {904, S{"1280*720", "1200 kbps", "30.00", "128 kbps", "48000", "保持原视频模式"},
         N{16, 9, 10, 5, 4, 5}},
        {907, S{"1280*720", "1800 kbps", "30.00", "128 kbps", "48000", "保持原视频模式"},
         N{11, 9, 10, 5, 4, 5}},
        {908, S{"1280*720", "1200 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"},
         N{12, 9, 10, 5, 4, 5}},
        {909, S{"1280*720", "1800 kbps", "30.00", "128 kbps", "48000", "保持原视频模式"},
         N{11, 9, 10, 5, 4, 5}},
        {1003, S{"320*240", "768 kbps", "25.00", "128 kbps", "48000", "保持原视频模式"},
         N{2, 9, 10, 5, 4, 5}},
        {1100, S{"320*240", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"},
         N{19, 8, 12, 17, 6, 5}},
        {1200, S{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "22050", "保持原视频模式"},
         N{28, 8, 12, 17, 3, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shown(c.key).Texts, c.texts) << c.key;
        EXPECT_EQ(Shown(c.key).Counts, c.counts) << c.key;
    }
    // The repeated size is an item of its own.
    const auto sizes = PresetBoxes(SettingsPresetOf(303))[ppFrameSize].Items;
    EXPECT_EQ(Text(sizes[7]), "1920*1200");
    EXPECT_EQ(Text(sizes[8]), "1920*1200");
    EXPECT_EQ(Text(PresetBoxes(SettingsPresetOf(904))[ppFrameSize].Items[13]), "1920*1200");
}

// --- The value step ---

TEST(SettingsValues, TheRulesOfEveryFormatWithTheAutomaticTexts) {
    TStagingFields staging;
    ApplySettingsParameterTexts(staging, Defaults(100));
    EXPECT_EQ(Text(staging.Video_FrameSize), "");
    EXPECT_EQ(Text(staging.Video_FrameRate), "25.00");
    EXPECT_EQ(staging.Video_VideoBitrate, 816000);
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "44100");
    EXPECT_EQ(staging.Video_AudioBitrate, 128000);
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "");

    staging.Video_FrameAspectRatio = u"4:3";
    ApplySettingsParameterTexts(staging, Defaults(708));
    EXPECT_EQ(Text(staging.Video_FrameSize), "");
    EXPECT_EQ(Text(staging.Video_FrameRate), "");
    EXPECT_EQ(staging.Video_VideoBitrate, -1000);
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "8000");
    EXPECT_EQ(staging.Video_AudioBitrate, 7400);
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "");

    ApplySettingsParameterTexts(staging, {u"640*480", u"528 kbps", u"12", u"自动音频比特率",
                                          u"自动音频采样率", u"宽屏视频47:20模式"});
    EXPECT_EQ(Text(staging.Video_FrameSize), "640*480");
    EXPECT_EQ(Text(staging.Video_FrameRate), "12");
    EXPECT_EQ(staging.Video_VideoBitrate, 528000);
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "AUTO");
    EXPECT_EQ(staging.Video_AudioBitrate, -1000);
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "47:20");

    // No format's own limits: the rate an encoder would refuse stays, and so
    // does a video rate the main window's VCD format fixes.
    ApplySettingsParameterTexts(staging, {u"320*240", u"528 kbps", u"25.00", u"16 kbps", u"8000", u"不明"});
    EXPECT_EQ(staging.Video_VideoBitrate, 528000);
    EXPECT_EQ(staging.Video_AudioBitrate, 16000);
    // A picture-mode text outside the six leaves the aspect ratio.
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "47:20");
}

TEST(SettingsValues, AConversionErrorStopsTheLaterSteps) {
    // Empty boxes, as after a key without preset: the video bit rate fails.
    TStagingFields staging;
    staging.Video_FrameSize = u"old";
    staging.Video_FrameRate = u"old";
    staging.Video_AudioSampleRate = u"old";
    staging.Video_AudioBitrate = 5;
    staging.Video_FrameAspectRatio = u"4:3";
    EXPECT_THROW(ApplySettingsParameterTexts(staging, TParameterTexts()), EConvertError);
    EXPECT_EQ(Text(staging.Video_FrameSize), "");
    EXPECT_EQ(Text(staging.Video_FrameRate), "");
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "old");
    EXPECT_EQ(staging.Video_AudioBitrate, 5);
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "4:3");

    // An audio rate with a fraction of a bit left fails after the sample rate.
    TParameterTexts texts = Defaults(100);
    texts[ppAudioBitrate] = u"4.7505 kbps";
    EXPECT_THROW(ApplySettingsParameterTexts(staging, texts), EConvertError);
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "44100");
    EXPECT_EQ(staging.Video_AudioBitrate, 5);
}

// --- The codec-data step ---

using SettingsCodecStep = TempFolder;

TStagingFields Adding(const char16_t* AFile) {
    TStagingFields staging;
    staging.Video_AddFileName = AFile;
    return staging;
}

TEST_F(SettingsCodecStep, OutputNameInTheFolder) {
    const struct {
        const char16_t* input;
        Integer key;
        const char16_t* output;
    } cases[] = {
        {u"/clips/clip.mkv", 100, u"clip.avi"},
        {u"/clips/a.b.c", 101, u"a.b.mp4"},  // only the last extension goes
        {u"/clips/noext", 300, u"noext.avi"},
        {u"/cl.ips/noext", 300, u"noext.avi"},
        {u"/clips/song.wav", 211, u"song.m4a"},  // the row's extension, not its title's
        {u"/clips/a.avi", 702, u"a.3gp"},
        {u"/clips/a.avi", 901, u"a.mpeg"},
    };
    for (const auto& c : cases) {
        TStagingFields staging = Adding(c.input);
        ApplySettingsCodecData(staging, c.key, Folder, false);
        EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(c.output))) << Text(c.input);
        EXPECT_EQ(Text(staging.Video_AddFileName), Text(c.input));
    }
    // The folder text is taken as it stands: one "/" is added, none removed.
    TStagingFields staging = Adding(u"/clips/clip.mkv");
    ApplySettingsCodecData(staging, 100, Folder + u"/", false);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(Folder + u"//clip.avi"));
}

TEST_F(SettingsCodecStep, NumberedUnlessOverwritten) {
    Touch("clip.avi");
    Touch("clip_1.avi");
    MakeFolder("clip_2.avi");  // a folder is no file
    TStagingFields staging = Adding(u"/clips/clip.mkv");
    ApplySettingsCodecData(staging, 100, Folder, false);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"clip_2.avi")));
    ApplySettingsCodecData(staging, 100, Folder, true);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"clip.avi")));
    Touch("noext");
    staging = Adding(u"/clips/noext.mkv");
    staging.Video_OutPutFileName = In(u"noext");
    // A key without a row writes no field but puts the name in the folder again.
    ApplySettingsCodecData(staging, 99, Folder, false);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"noext_1")));
    EXPECT_EQ(Text(staging.Video_FileExt), "");
}

TEST_F(SettingsCodecStep, NoResetBeforeTheRow) {
    // A video row, then an audio-only row: the video fields stay.
    TStagingFields staging = Adding(u"/clips/clip.mkv");
    staging.Video_VideoFilters = u"crop";
    staging.Video_TimeStart = 5;
    ApplySettingsCodecData(staging, 411, Folder, false);
    EXPECT_EQ(Text(staging.Video_VideoFilters), "");
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "16:9");
    staging.Video_VideoFilters = u"crop";
    ApplySettingsCodecData(staging, 212, Folder, false);
    EXPECT_TRUE(staging.Video_DisableVideo);
    EXPECT_EQ(Text(staging.Video_VideoCodec), "libxvid");
    EXPECT_EQ(Text(staging.Video_FrameRate), "25");
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "16:9");
    EXPECT_EQ(Text(staging.Video_FrameSize), "640*480");
    EXPECT_EQ(staging.Video_VideoBitrate, 1200000);
    EXPECT_EQ(Text(staging.Video_VideoFilters), "crop");
    EXPECT_EQ(Text(staging.Video_AudioCodec), "libopencore_amrnb");
    EXPECT_EQ(staging.Video_AudioBitrate, 7400);
    EXPECT_EQ(Text(staging.Video_FileExt), ".amr");
    EXPECT_EQ(staging.Video_TimeStart, 5);
    // A video row after it makes the output video again.
    ApplySettingsCodecData(staging, 100, Folder, false);
    EXPECT_FALSE(staging.Video_DisableVideo);

    // The RM row leaves the extension, the audio fields, the frame rate and both bit rates.
    ApplySettingsCodecData(staging, 114, Folder, false);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"clip.rm")));
    EXPECT_EQ(Text(staging.Video_FileExt), ".avi");
    EXPECT_EQ(Text(staging.Video_VideoCodec), "rv20");
    EXPECT_EQ(Text(staging.Video_FrameSize), "320*240");
    EXPECT_EQ(Text(staging.Video_FrameRate), "25");
    EXPECT_EQ(staging.Video_VideoBitrate, 816000);
    EXPECT_EQ(staging.Video_AudioBitrate, 128000);
    EXPECT_EQ(Text(staging.Video_AudioCodec), "libmp3lame");

    // The disc rows leave the extension, filters and copy-timestamp.
    staging.Video_CopyTimestamp = u"1";
    ApplySettingsCodecData(staging, 111, Folder, false);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"clip.mpg")));
    EXPECT_EQ(Text(staging.Video_FileExt), ".avi");
    EXPECT_EQ(Text(staging.Video_CopyTimestamp), "1");
    EXPECT_EQ(Text(staging.Video_TargetType), "dvd");
    EXPECT_EQ(Text(staging.Video_NormType), "PAL");
    EXPECT_EQ(staging.Video_VideoBitrate, -1000);
    EXPECT_EQ(staging.Video_AudioBitrate, -1000);
    EXPECT_EQ(Text(staging.Video_VideoCodec) + Text(staging.Video_AudioChannels), "");

    // Keys 403 to 406 leave the target, 305 the tag.
    ApplySettingsCodecData(staging, 403, Folder, false);
    EXPECT_EQ(Text(staging.Video_TargetType), "dvd");
    staging.Video_VideoTag = u"DX50";
    ApplySettingsCodecData(staging, 305, Folder, false);
    EXPECT_EQ(Text(staging.Video_VideoTag), "DX50");
    EXPECT_EQ(Text(staging.Video_TargetType), "");
}

TEST_F(SettingsCodecStep, FileExtensionAndOutputExtensionApart) {
    const struct {
        Integer key;
        const char16_t* output;
        const char* fileExt;
    } cases[] = {
        {206, u"clip.ra", ".rm"},    {211, u"clip.m4a", ".alac"},
        {306, u"clip.wmv", ".asf"},  {1202, u"clip.flv", ".mp3"},  // left as the row before wrote it
        {1203, u"clip.swf", ".mp3"},
    };
    for (const auto& c : cases) {
        TStagingFields staging = Adding(u"/clips/clip.mkv");
        ApplySettingsCodecData(staging, 200, Folder, false);
        ApplySettingsCodecData(staging, c.key, Folder, false);
        EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(c.output))) << c.key;
        EXPECT_EQ(Text(staging.Video_FileExt), c.fileExt) << c.key;
    }
    // Kept as written, though no task ever receives it.
    EXPECT_EQ(SettingsCodecRowOf(408)->VideoBitrate, 7680000);
}

// "确定": the codec data first, then the parameter values over it.
TEST_F(SettingsCodecStep, ParameterValuesOverTheCodecData) {
    TStagingFields staging = Adding(u"/clips/clip.mkv");
    ApplySettingsCodecData(staging, 411, Folder, false);
    ApplySettingsParameterTexts(staging, Defaults(411));
    EXPECT_EQ(Text(staging.Video_FrameSize), "640*272");
    EXPECT_EQ(staging.Video_VideoBitrate, 768000);
    EXPECT_EQ(Text(staging.Video_FrameRate), "25.00");
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "48000");
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "16:9");
    EXPECT_EQ(Text(staging.Video_VideoCodec), "libxvid");

    TParameterTexts texts = Defaults(411);
    texts[ppPictureMode] = u"保持原视频模式";
    ApplySettingsCodecData(staging, 411, Folder, false);
    ApplySettingsParameterTexts(staging, texts);
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "");
}

}  // namespace
