#include <gtest/gtest.h>

#include <map>

#include "app/filelistcolumns.h"
#include "app/formatcatalogue.h"
#include "media/strovix.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "tests/media/mediatest.h"

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

// A format whose audio encoder refuses no picked rate.
constexpr Integer PlainKey = 0;

TParameterTexts Texts(const char16_t* AFrameSize, const char16_t* AVideoBitrate, const char16_t* AFrameRate,
                      const char16_t* AAudioBitrate, const char16_t* ASampleRate,
                      const char16_t* APictureMode) {
    return {AFrameSize, AVideoBitrate, AFrameRate, AAudioBitrate, ASampleRate, APictureMode};
}

// The default texts of a format's preset.
TParameterTexts DefaultTexts(Integer AFormatKey) {
    TParameterTexts texts;
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
        const TPresetChoice& choice = PresetOf(AFormatKey)->Choices[parameter];
        texts[parameter] = choice.List->Items[choice.Default];
    }
    return texts;
}

TEST(TwoDigitIndex, LeadingZeroUpToNine) {
    const std::pair<Integer, const char*> cases[] = {{0, "00"},  {5, "05"},  {9, "09"},
                                                     {10, "10"}, {27, "27"}, {-1, "0-1"}};
    for (const auto& [index, text] : cases)
        EXPECT_EQ(Text(TwoDigitIndex(index)), text) << index;
}

TEST(ComboIndices, SixPairsInTheRowsOrder) {
    // By parameter: frame size, video bit rate, frame rate, audio bit rate, sample rate, picture mode.
    EXPECT_EQ(Text(ComboIndicesText({0, 3, 4, 10, 2, 0})), "000310000402");
    EXPECT_EQ(Text(ComboIndicesText({12, 1, 9, 8, 5, 2})), "120108020905");
    const struct {
        const char16_t* before;
        TPresetParameter parameter;
        Integer index;
        const char* after;
    } cases[] = {
        {u"000310000402", ppVideoBitrate, 5, "000510000402"},
        {u"000310000402", ppSampleRate, 11, "000310000411"},
        {u"041003000900", ppPictureMode, 2, "041003020900"},
        {u"000310000402", ppFrameSize, 12, "120310000402"},
        {u"000310000402", ppFrameSize, 3, "030310000402"},
        {u"000310000402", ppAudioBitrate, 13, "000313000402"},
        {u"000310000402", ppFrameRate, 9, "000310000902"},
        {u"000310000402xyz", ppFrameSize, 1, "010310000402"},  // past the twelfth: dropped
        {u"0003", ppPictureMode, 2, "000302"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(ReplaceComboIndex(c.before, c.parameter, c.index)), c.after)
            << Text(c.before) << " " << c.parameter;
}

TEST(ParameterTexts, ValuesOfEveryKindOfItem) {
    const struct {
        TParameterTexts texts;
        const char* frameSize;
        const char* frameRate;
        Integer videoBitrate;
        const char* sampleRate;
        Integer audioBitrate;
        const char* aspect;
    } cases[] = {
        {Texts(u"保持原分辨率", u"816 kbps", u"25.00", u"128 kbps", u"44100", u"保持原视频模式"), "", "25.00",
         816000, "44100", 128000, ""},
        {Texts(u"该格式无视频", u"无视频", u"无视频", u"64 kbps", u"8000", u"无视频"), "", "", -1000, "8000",
         64000, ""},
        {Texts(u"1920*1080", u"1200 kbps", u"保持原帧速率", u"4.75 kbps", u"11025", u"普通视频4:3模式"),
         "1920*1080", "", 1200000, "11025", 4750, "4:3"},
        {Texts(u"720*576", u"8 kbps", u"12", u"7.95 kbps", u"48000", u"宽屏视频16:9模式"), "720*576", "12",
         8000, "48000", 7950, "16:9"},
        {Texts(u"320*240", u"4000 kbps", u"29.97", u"5.9 kbps", u"22050", u"宽屏视频37:20模式"), "320*240",
         "29.97", 4000000, "22050", 5900, "37:20"},
        {Texts(u"176*144", u" 128 kbps ", u"1", u"10.2 kbps", u"24000", u"宽屏视频47:20模式"), "176*144", "1",
         128000, "24000", 10200, "47:20"},
        {Texts(u"640*480", u"128 kbps", u"10.00", u"7.4 kbps", u"自动音频采样率", u"保持原视频模式"),
         "640*480", "10.00", 128000, "自动音频采样率", 7400, ""},
    };
    for (const auto& c : cases) {
        TStagingFields staging;
        staging.Video_FrameAspectRatio = u"was";
        ApplyParameterTexts(staging, PlainKey, c.texts);
        EXPECT_EQ(Text(staging.Video_FrameSize), c.frameSize);
        EXPECT_EQ(Text(staging.Video_FrameRate), c.frameRate);
        EXPECT_EQ(staging.Video_VideoBitrate, c.videoBitrate);
        EXPECT_EQ(Text(staging.Video_AudioSampleRate), c.sampleRate);
        EXPECT_EQ(staging.Video_AudioBitrate, c.audioBitrate);
        EXPECT_EQ(Text(staging.Video_FrameAspectRatio), c.aspect);
    }
}

TEST(ParameterTexts, AnUnknownPictureModeKeepsTheAspect) {
    TStagingFields staging;
    staging.Video_FrameAspectRatio = u"16:9";
    ApplyParameterText(staging, PlainKey, ppPictureMode, Texts(u"", u"", u"", u"", u"", u"宽屏"));
    EXPECT_EQ(Text(staging.Video_FrameAspectRatio), "16:9");
}

TEST(ParameterTexts, BitRatesWithoutANumberAreConversionErrors) {
    for (const char16_t* text : {u"kbps", u"abc", u"", u"自动音频比特率", u"1.2.3 kbps", u"9999999 kbps"}) {
        EXPECT_THROW(VideoBitrateValue(PlainKey, text), EConvertError) << Text(text);
        EXPECT_THROW(AudioBitrateValue(PlainKey, text, u"44100"), EConvertError) << Text(text);
    }
    // A product that is not whole.
    EXPECT_THROW(AudioBitrateValue(PlainKey, u"7.9501 kbps", u"44100"), EConvertError);
    // The steps before the failing one keep their values.
    TStagingFields staging;
    EXPECT_THROW(
        ApplyParameterTexts(staging, PlainKey,
                            Texts(u"640*480", u"x", u"25.00", u"128 kbps", u"44100", u"保持原视频模式")),
        EConvertError);
    EXPECT_EQ(Text(staging.Video_FrameSize), "640*480");
    EXPECT_EQ(Text(staging.Video_FrameRate), "25.00");
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "");
}

TEST(ParameterTexts, TheVcdTargetKeepsItsOwnVideoBitrate) {
    for (const Integer key : {13, 1310, 2112, 2212, 2314}) {
        EXPECT_EQ(VideoBitrateValue(key, u"528 kbps"), -1000) << key;
        EXPECT_EQ(VideoBitrateValue(key, u"2000 kbps"), -1000) << key;
    }
    // DVD and SVCD take the picked rate.
    EXPECT_EQ(VideoBitrateValue(11, u"1200 kbps"), 1200000);
    EXPECT_EQ(VideoBitrateValue(12, u"528 kbps"), 528000);
    TStagingFields staging;
    ApplyParameterTexts(staging, 13, DefaultTexts(13));
    EXPECT_EQ(staging.Video_VideoBitrate, -1000);
}

TEST(AcceptedAudioBitrate, NearestRateTheEncoderTakes) {
    const struct {
        const char16_t* encoder;
        Integer sampleRate;
        Integer picked;
        Integer used;
    } cases[] = {
        // MPEG-1 Layer II from 32 kHz.
        {u"mp2", 48000, 144000, 128000},
        {u"mp2", 48000, 16000, 32000},
        {u"mp2", 44100, 24000, 32000},
        {u"mp2", 32000, 40000, 32000},
        {u"mp2", 48000, 128000, 128000},
        {u"mp2", 44100, 320000, 320000},
        // MPEG-2 Layer II below; 11025 Hz runs at 16 kHz.
        {u"mp2", 22050, 192000, 160000},
        {u"mp2", 16000, 320000, 160000},
        {u"mp2", 11025, 224000, 160000},
        {u"mp2", 24000, 144000, 144000},
        {u"mp2", 22050, 16000, 16000},
        {u"wmav2", 44100, 16000, 24000},
        {u"wmav2", 8000, 16000, 24000},
        {u"wmav2", 11025, 320000, 320000},
        {u"libvorbis", 44100, 16000, 48000},
        {u"libvorbis", 48000, 40000, 48000},
        {u"libvorbis", 32000, 32000, 40000},
        {u"libvorbis", 22050, 24000, 32000},
        {u"libvorbis", 22050, 192000, 160000},
        {u"libvorbis", 16000, 224000, 192000},
        {u"libvorbis", 11025, 112000, 96000},
        {u"libvorbis", 11025, 16000, 16000},
        {u"libvorbis", 44100, 320000, 320000},
        // AC-3's own list, the lower of two as near.
        {u"ac3", 48000, 144000, 128000},
        {u"ac3", 44100, 150000, 160000},
        {u"ac3", 32000, 16000, 32000},
        {u"ac3", 48000, 640000, 640000},
        // Encoders that take any rate, and rates left to the library.
        {u"libmp3lame", 11025, 320000, 320000},
        {u"mp2", 48000, -1000, -1000},
        {u"", 48000, 16000, 16000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptedAudioBitrate(c.encoder, c.sampleRate, c.picked), c.used)
            << Text(c.encoder) << " " << c.sampleRate << " " << c.picked;
}

TEST(AcceptedAudioBitrate, TheValueStepLogsPickedAndUsedRate) {
    TLogCapture log(llInfo);
    EXPECT_EQ(AudioBitrateValue(109, u"144 kbps", u"48000"), 128000);
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_EQ(Text(log.Lines[0]),
              "Audio bit rate 144 kbps is not accepted by mp2 at 48000 Hz: 128 kbps is used");
    EXPECT_EQ(AudioBitrateValue(105, u"16 kbps", u"44100"), 48000);
    EXPECT_EQ(AudioBitrateValue(101, u"16 kbps", u"44100"), 24000);
    EXPECT_EQ(log.Lines.size(), 3u);
    // An accepted rate, or a key whose encoder takes any: nothing to say.
    EXPECT_EQ(AudioBitrateValue(109, u"128 kbps", u"48000"), 128000);
    EXPECT_EQ(AudioBitrateValue(2003, u"128 kbps", u"48000"), 128000);
    EXPECT_EQ(AudioBitrateValue(100, u"144 kbps", u"48000"), 144000);
    EXPECT_EQ(log.Lines.size(), 3u);
}

// --- A parameter choice in the selected row ---

std::vector<String> Row(const char16_t* AComboIndices, const char16_t* AAudioBitrate = u"128000") {
    std::vector<String> row(FileListSubItemCount);
    row[ColComboIndices] = AComboIndices;
    row[ColAudioBitrate] = AAudioBitrate;
    return row;
}

std::map<Integer, std::string> Writes(const std::vector<TRowWrite>& AWrites) {
    std::map<Integer, std::string> writes;
    for (const TRowWrite& write : AWrites)
        writes[write.SubItem] = Text(write.Text);
    return writes;
}

TEST(ChooseParameter, OwnPairAndOwnValueColumn) {
    const TParameterTexts texts =
        Texts(u"1920*1200", u"1200 kbps", u"保持原帧速率", u"4.75 kbps", u"22050", u"宽屏视频16:9模式");
    const struct {
        TPresetParameter parameter;
        Integer index;
        Integer column;
        const char* indices;
        const char* value;
    } cases[] = {
        {ppFrameSize, 25, ColFrameSize, "250310000402", "1920*1200"},
        {ppVideoBitrate, 5, ColVideoBitrate, "000510000402", "1200000"},
        {ppFrameRate, 0, ColFrameRate, "000310000002", ""},
        {ppAudioBitrate, 0, ColAudioBitrate, "000300000402", "4750"},
        {ppSampleRate, 2, ColAudioSampleRate, "000310000402", "22050"},
        {ppPictureMode, 2, ColFrameAspectRatio, "000310020402", "16:9"},
    };
    for (const auto& c : cases) {
        TStagingFields staging;
        const std::vector<TRowWrite> writes =
            ChooseParameter(staging, PlainKey, c.parameter, c.index, texts, Row(u"000310000402", u"4750"));
        ASSERT_EQ(writes.size(), 2u) << c.parameter;
        // The position first, then the value.
        EXPECT_EQ(writes[0].SubItem, ColComboIndices);
        EXPECT_EQ(Text(writes[0].Text), c.indices);
        EXPECT_EQ(writes[1].SubItem, c.column);
        EXPECT_EQ(Text(writes[1].Text), c.value);
    }
    TStagingFields staging;
    ChooseParameter(staging, PlainKey, ppVideoBitrate, 0, Texts(u"", u"无视频", u"", u"", u"", u""),
                    Row(u""));
    EXPECT_EQ(staging.Video_VideoBitrate, -1000);
    EXPECT_EQ(
        Writes(ChooseParameter(staging, 13, ppVideoBitrate, 5, texts, Row(u"000310000402")))[ColVideoBitrate],
        "-1000");
}

// A new sample rate gives the row the value its shown audio bit rate has at
// that rate: mended where the encoder refuses it, and back to the shown one
// where a rate takes it again.
TEST(ChooseParameter, ANewSampleRateGivesTheShownAudioBitrateItsValue) {
    TStagingFields staging;
    const struct {
        Integer key;
        const char16_t* bitrate;
        const char16_t* sampleRate;
        const char16_t* rowBitrate;
        const char* written;  // nullptr: the row's stays
    } cases[] = {
        {6, u"192 kbps", u"22050", u"192000", "160000"},   // MP2 at 22.05 kHz has no 192 kbit/s
        {12, u"192 kbps", u"22050", u"192000", "160000"},  // the SVCD target's MP2
        {6, u"192 kbps", u"44100", u"160000", "192000"},   // 44.1 kHz takes it again
        {105, u"320 kbps", u"44100", u"96000", "320000"},  // Vorbis, likewise
        {6, u"128 kbps", u"22050", u"128000", nullptr},
        {11, u"192 kbps", u"22050", u"192000", nullptr},  // AC-3 takes any
        {0, u"320 kbps", u"22050", u"320000", nullptr},
    };
    for (const auto& c : cases) {
        const TParameterTexts texts = Texts(u"", u"816 kbps", u"", c.bitrate, c.sampleRate, u"");
        std::map<Integer, std::string> writes = Writes(
            ChooseParameter(staging, c.key, ppSampleRate, 2, texts, Row(u"000310000402", c.rowBitrate)));
        EXPECT_EQ(writes.count(ColAudioBitrate), c.written ? 1u : 0u) << c.key << " " << Text(c.sampleRate);
        if (c.written) {
            EXPECT_EQ(writes[ColAudioBitrate], c.written) << c.key;
            EXPECT_EQ(Text(IntToStr(staging.Video_AudioBitrate)), c.written) << c.key;
        }
    }
}

// The rate each encoder runs at for a picked one, and what the container
// takes from it.
TEST(AcceptedSampleRate, NearestRateTheEncoderAndTheContainerTake) {
    const struct {
        const char16_t* encoder;
        const char16_t* extension;
        Integer picked;
        Integer used;
    } cases[] = {
        // MP3 goes into MP4 from 16 kHz only.
        {u"libmp3lame", u".mp4", 11025, 16000},
        {u"libmp3lame", u".mp4", 8000, 16000},
        {u"libmp3lame", u".mp4", 16000, 16000},
        {u"libmp3lame", u".mp4", 48000, 48000},
        {u"libmp3lame", u".avi", 11025, 11025},
        {u"libmp3lame", u".mov", 11025, 11025},
        // FLV and SWF take three rates (FLV also 48 kHz).
        {u"libmp3lame", u".flv", 48000, 48000},
        {u"libmp3lame", u".flv", 32000, 22050},
        {u"libmp3lame", u".flv", 16000, 11025},
        {u"libmp3lame", u".swf", 48000, 44100},
        {u"libmp3lame", u".swf", 22050, 22050},
        // The encoders' own lists: the first of two as near.
        {u"ac3", u".mpg", 22050, 32000},
        {u"ac3", u".rm", 44100, 44100},
        {u"mp2", u".mpg", 11025, 16000},
        {u"mp2", u".mpg", 8000, 16000},
        {u"mp2", u".mp2", 46050, 44100},
        {u"aac", u".mp4", 8000, 8000},
        // Encoders that take any rate, and rates left to the library.
        {u"wmav2", u".wma", 11025, 11025},
        {u"libvorbis", u".ogg", 8000, 8000},
        {u"", u".wav", 22050, 22050},
        {u"libmp3lame", u".mp4", -1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptedSampleRate(c.encoder, c.extension, c.picked), c.used)
            << Text(c.encoder) << " " << Text(c.extension) << " " << c.picked;
}

// The value step writes the rate the key writes, and the log names both; the
// audio bit rate follows the rate used.
TEST(AcceptedSampleRate, TheValueStepLogsPickedAndUsedRate) {
    TLogCapture log(llInfo);
    // Key 1: MPEG-4 with MP3 in MP4.
    EXPECT_EQ(Text(SampleRateValue(1, u"11025")), "16000");
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_EQ(Text(log.Lines[0]),
              "Sample rate 11025 Hz is not taken by libmp3lame in .mp4: 16000 Hz is used");
    EXPECT_EQ(Text(SampleRateValue(1, u"44100")), "44100");
    EXPECT_EQ(Text(SampleRateValue(0, u"11025")), "11025");
    EXPECT_EQ(Text(SampleRateValue(1, u"自动音频采样率")), "自动音频采样率");
    EXPECT_EQ(log.Lines.size(), 1u);
    // MP2 (key 6) at 11025 Hz runs at 16 kHz, an MPEG-2 rate: 224 kbit/s is refused.
    TStagingFields staging;
    ApplyParameterTexts(staging, 6, Texts(u"", u"816 kbps", u"", u"224 kbps", u"11025", u""));
    EXPECT_EQ(Text(staging.Video_AudioSampleRate), "16000");
    EXPECT_EQ(staging.Video_AudioBitrate, 160000);
}

// --- The hand-off ---

TEST(CopyChoicePositions, EveryPositionArrivesThoughWritesResetLaterOnes) {
    // The receiving window: writing the category resets the format, writing
    // the format resets the six parameters, as their change handlers do.
    std::map<std::u16string, Integer> target;
    std::vector<std::u16string> order;
    const auto write = [&](const char16_t* AName, Integer APosition) {
        order.push_back(AName);
        target[AName] = APosition;
        const std::u16string_view name = AName;
        if (name == u"qxSkinOfficeComboBox2") target[u"qxSkinOfficeComboBox1"] = 0;
        if (name == u"qxSkinOfficeComboBox2" || name == u"qxSkinOfficeComboBox1")
            for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
                target[ParameterComboName(static_cast<TPresetParameter>(parameter))] = 0;
    };
    const std::map<std::u16string, Integer> source = {
        {u"qxSkinOfficeComboBox2", 18}, {u"qxSkinOfficeComboBox1", 12}, {u"qxSkinComboBox1", 1},
        {u"qxSkinComboBox2", 2},        {u"qxSkinComboBox9", 3},        {u"qxSkinComboBox4", 4},
        {u"qxSkinComboBox3", 5},        {u"qxSkinComboBox10", 6}};
    CopyChoicePositions([&](const char16_t* AName) { return source.at(AName); }, write);
    EXPECT_EQ(target, source);
    EXPECT_EQ(order,
              (std::vector<std::u16string>{u"qxSkinOfficeComboBox2", u"qxSkinOfficeComboBox1",
                                           u"qxSkinComboBox1", u"qxSkinComboBox2", u"qxSkinComboBox9",
                                           u"qxSkinComboBox4", u"qxSkinComboBox3", u"qxSkinComboBox10"}));
}

// --- The task's output options ---

TEST(DeriveOutputOptions, FromTheStagingFieldsOfAFormat) {
    TStagingFields staging;
    staging.Video_AddFileName = u"/clips/a.mts";
    ApplyCodecData(staging, 202, u"/tmp", true, {});
    ApplyParameterTexts(staging, 202, DefaultTexts(202));
    TOutputOptions options;
    DeriveOutputOptions(staging, options);
    EXPECT_EQ(Text(options.VideoCodec), "libx264");
    EXPECT_EQ(Text(options.VideoPreset), "libx264-default");
    EXPECT_EQ(Text(options.AudioCodec), "libmp3lame");
    EXPECT_EQ(Text(options.FrameSize), "1280*720");
    EXPECT_EQ(Text(options.FrameRate), "29.97");
    EXPECT_EQ(options.VideoBitrate, 1200000);
    EXPECT_EQ(options.AudioBitrate, 192000);
    EXPECT_EQ(options.AudioSampleRate, 48000);
    EXPECT_EQ(options.AudioChannels, 2);
    EXPECT_EQ(options.AudioVolume, 256);
    EXPECT_EQ(Text(options.FrameAspectRatio), "");
    EXPECT_FALSE(options.DisableVideo);
    EXPECT_EQ(options.TargetType, ttIgnore);
    EXPECT_EQ(options.NormType, ntAuto);
    // Not used: the extension, the start and the length.
    EXPECT_EQ(Text(options.FileExt), "");
    EXPECT_EQ(options.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(Text(options.FileName), "");

    ApplyCodecData(staging, 11, u"/tmp", true, {});
    TOutputOptions disc;
    DeriveOutputOptions(staging, disc);
    EXPECT_EQ(disc.TargetType, ttDVD);
    EXPECT_EQ(disc.NormType, ntPAL);
    EXPECT_EQ(disc.VideoBitrate, -1);
    EXPECT_EQ(disc.AudioBitrate, -1);
    EXPECT_EQ(Text(disc.VideoCodec), "");
}

TEST(DeriveOutputOptions, EachRule) {
    const struct {
        const char* name;
        std::function<void(TStagingFields&)> set;
        std::function<bool(const TOutputOptions&)> holds;
    } cases[] = {
        {"other video codec, no preset", [](TStagingFields& S) { S.Video_VideoCodec = u"mpeg4"; },
         [](const TOutputOptions& O) { return O.VideoCodec == u"mpeg4" && O.VideoPreset.empty(); }},
        {"no video codec", [](TStagingFields& S) { S.Video_VideoCodec.clear(); },
         [](const TOutputOptions& O) { return O.VideoCodec == u"keep" && O.VideoPreset == u"keep"; }},
        {"AUTO audio codec", [](TStagingFields& S) { S.Video_AudioCodec = u"AUTO"; },
         [](const TOutputOptions& O) { return O.AudioCodec == u"keep"; }},
        {"AUTO sample rate", [](TStagingFields& S) { S.Video_AudioSampleRate = u"AUTO"; },
         [](const TOutputOptions& O) { return O.AudioSampleRate == 7; }},
        {"vcd", [](TStagingFields& S) { S.Video_TargetType = u"vcd"; },
         [](const TOutputOptions& O) { return O.TargetType == ttVCD; }},
        {"svcd", [](TStagingFields& S) { S.Video_TargetType = u"svcd"; },
         [](const TOutputOptions& O) { return O.TargetType == ttSVCD; }},
        {"unknown target", [](TStagingFields& S) { S.Video_TargetType = u"VCD"; },
         [](const TOutputOptions& O) { return O.TargetType == ttIgnore; }},
        {"no target", [](TStagingFields&) {}, [](const TOutputOptions& O) { return O.TargetType == ttDVD; }},
        {"NTSC", [](TStagingFields& S) { S.Video_NormType = u"NTSC"; },
         [](const TOutputOptions& O) { return O.NormType == ntNTSC; }},
        {"unknown norm", [](TStagingFields& S) { S.Video_NormType = u"pal"; },
         [](const TOutputOptions& O) { return O.NormType == ntAuto; }},
        {"volume", [](TStagingFields& S) { S.Video_AudioVolume = u"100"; },
         [](const TOutputOptions& O) { return O.AudioVolume == 100; }},
        {"automatic audio bit rate", [](TStagingFields& S) { S.Video_AudioBitrate = -2000; },
         [](const TOutputOptions& O) { return O.AudioBitrate == 7; }},
        {"automatic video bit rate", [](TStagingFields& S) { S.Video_VideoBitrate = -1000; },
         [](const TOutputOptions& O) { return O.VideoBitrate == 7; }},
        {"format, filters and tag",
         [](TStagingFields& S) {
             S.Video_FileFormat = u"avi";
             S.Video_VideoFilters = u"crop";
             S.Video_VideoTag = u"XVID";
         },
         [](const TOutputOptions& O) {
             return O.FileFormat == u"avi" && O.VideoFilters == u"crop" && O.VideoTag == u"XVID";
         }},
        {"audio only", [](TStagingFields& S) { S.Video_DisableVideo = true; },
         [](const TOutputOptions& O) { return O.DisableVideo; }},
    };
    for (const auto& c : cases) {
        TStagingFields staging;
        staging.Video_AudioSampleRate = u"44100";
        c.set(staging);
        TOutputOptions options;
        options.VideoCodec = options.VideoPreset = options.AudioCodec = u"keep";
        options.AudioSampleRate = options.AudioBitrate = options.VideoBitrate = 7;
        options.TargetType = ttDVD;
        options.NormType = ntPAL;
        DeriveOutputOptions(staging, options);
        EXPECT_TRUE(c.holds(options)) << c.name;
    }
    TStagingFields staging;
    staging.Video_AudioChannels = u"stereo";
    TOutputOptions options;
    EXPECT_THROW(DeriveOutputOptions(staging, options), EConvertError);
}

}  // namespace
