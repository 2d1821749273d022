#include "app/formatcatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/base/ustring.h"

bool operator==(const TPresetChoice& A, const TPresetChoice& B) {
    return A.List == B.List && A.Default == B.Default;
}

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

TEST(FormatCategories, CodesAndFormatCountsByPosition) {
    const struct {
        const char16_t* caption;
        Integer code;
        size_t formats;
    } expected[CategoryCount] = {
        {u"高清格式", 2, 10},  {u"视频格式", 0, 15}, {u"WMV格式", 17, 7},   {u"VOB格式", 20, 6},
        {u"MTS格式", 21, 13},  {u"MOD格式", 22, 13}, {u"RMVB格式", 23, 15}, {u"MKV格式", 16, 7},
        {u"iPhone格式", 4, 6}, {u"MP4格式", 10, 5},  {u"APPLE格式", 7, 5},  {u"PSP格式", 5, 5},
        {u"XboX格式", 8, 10},  {u"PMP格式", 9, 8},   {u"Flash格式", 11, 4}, {u"iPad格式", 12, 6},
        {u"MPG格式", 13, 11},  {u"AVI格式", 15, 7},  {u"音频格式", 1, 13}};
    ASSERT_EQ(FormatCategories().size(), static_cast<size_t>(CategoryCount));
    size_t total = 0;
    for (Integer position = 0; position < CategoryCount; ++position) {
        const TFormatCategory& category = FormatCategories()[position];
        EXPECT_EQ(Text(category.Caption), Text(expected[position].caption)) << position;
        EXPECT_EQ(category.Code, expected[position].code) << position;
        EXPECT_EQ(CategoryCodeOf(position), expected[position].code);
        EXPECT_EQ(category.Formats.size(), expected[position].formats) << position;
        EXPECT_EQ(FormatCaptions(position).data(), category.Formats.data());
        total += category.Formats.size();
    }
    EXPECT_EQ(total, 166u);
    // Codes that no category has.
    for (const Integer code : {3, 6, 14, 18, 19, 24, -1})
        EXPECT_TRUE(FormatsOfCode(code).empty()) << code;
}

TEST(FormatCategories, PositionsOutsideTheBoxNameNoFormat) {
    for (const Integer position : {-1, 19, 100}) {
        EXPECT_EQ(CategoryCodeOf(position), -1);
        EXPECT_TRUE(FormatCaptions(position).empty());
        EXPECT_EQ(FormatKeyOf(position, 0), -1);
    }
    // One past the last format of a category, and no format chosen.
    EXPECT_EQ(FormatKeyOf(0, 10), -1);
    EXPECT_EQ(FormatKeyOf(18, 13), -1);
    EXPECT_EQ(FormatKeyOf(0, -1), -1);
}

TEST(FormatKeys, CodeTimesHundredPlusPosition) {
    EXPECT_EQ(FormatKeyOf(0, 0), 200);
    EXPECT_EQ(FormatKeyOf(1, 0), 0);
    EXPECT_EQ(FormatKeyOf(1, 14), 14);
    EXPECT_EQ(FormatKeyOf(18, 0), 100);
    EXPECT_EQ(FormatKeyOf(18, 12), 112);
    EXPECT_EQ(Text(FormatCaptionOf(100)), "MP3 - MPEG Layer-3音频格式(*.mp3)");
    EXPECT_EQ(Text(FormatCaptionOf(112)), "AMR-手机音频格式(*.amr)");
    EXPECT_EQ(Text(FormatCaptionOf(0)), "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(Text(FormatCaptionOf(14)), "RM - REAL视频格式(*.rm)");
    // Equal captions are distinct formats.
    EXPECT_EQ(FormatCaptionOf(200), FormatCaptionOf(201));
    EXPECT_EQ(FormatCaptionOf(2002), FormatCaptionOf(207));
    for (const Integer key : {15, 113, 210, 300, -1, 2315})
        EXPECT_TRUE(FormatCaptionOf(key).empty()) << key;

    std::set<Integer> keys;
    for (Integer position = 0; position < CategoryCount; ++position)
        for (Integer format = 0; format < static_cast<Integer>(FormatCaptions(position).size()); ++format)
            keys.insert(FormatKeyOf(position, format));
    EXPECT_EQ(keys.size(), 166u);
    EXPECT_TRUE(std::equal(keys.begin(), keys.end(), FormatKeys().begin(), FormatKeys().end()));
}

TEST(ExtensionFromCaption, TheTextBetweenTheMaskAndTheClosingParenthesis) {
    for (const Integer key : FormatKeys()) {
        const String caption = FormatCaptionOf(key);
        const size_t mask = caption.rfind(u"(*.");
        ASSERT_NE(mask, String::npos) << key;
        ASSERT_EQ(caption.back(), u')') << key;
        EXPECT_EQ(ExtensionFromCaption(caption), u"." + caption.substr(mask + 3, caption.size() - mask - 4))
            << key;
    }
    const struct {
        const char16_t* caption;
        const char16_t* extension;
    } cases[] = {
        {u"FLAC-音频格式(*.flac)", u".flac"}, {u"AIFF - 音频交换文件格式(*.aiff)", u".aiff"},
        {u"RM - REAL视频格式(*.rm)", u".rm"}, {u"RA - RealAudio音频格式(*.ra)", u".ra"},
        {u"MP4-MP4音频格式(*.m4a)", u".m4a"}, {u"iPad MPEG-4视频格式 XviD编码 (*.mp4)", u".mp4"},
        {u"高清DVD视频格式(*.vob)", u".vob"}, {u")", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtensionFromCaption(c.caption), c.extension) << Text(c.caption);
}

TEST(StoredSelection, PositionsNotCodes) {
    const struct {
        Integer category, format, stored;
    } cases[] = {{18, 12, 1912}, {0, 0, 100}, {3, 5, 405}, {18, 0, 1900}, {1, 14, 214}};
    for (const auto& c : cases) {
        EXPECT_EQ(StoredSelection(c.category, c.format), c.stored);
        const TFormatPositions positions = PositionsOfStoredSelection(c.stored);
        EXPECT_EQ(positions.Category, c.category) << c.stored;
        EXPECT_EQ(positions.Format, c.format) << c.stored;
    }
}

TEST(FormatImageIndex, EvenAndOddPositions) {
    EXPECT_EQ(FormatImageIndex(0), 0);
    EXPECT_EQ(FormatImageIndex(1), 1);
    EXPECT_EQ(FormatImageIndex(14), 0);
}

// --- Presets ---

String DefaultText(const TPresetChoice& AChoice) {
    return AChoice.List->Items[AChoice.Default];
}

TEST(PresetLists, FortyNineListsEachForOneBox) {
    EXPECT_EQ(PresetLists().size(), 49u);
    const std::pair<char16_t, TPresetParameter> letters[] = {{u'R', ppFrameSize},  {u'V', ppVideoBitrate},
                                                             {u'F', ppFrameRate},  {u'A', ppAudioBitrate},
                                                             {u'S', ppSampleRate}, {u'M', ppPictureMode}};
    Integer counts[PresetParameterCount] = {};
    for (const TPresetList& list : PresetLists()) {
        const auto letter = std::find_if(std::begin(letters), std::end(letters),
                                         [&](const auto& APair) { return APair.first == list.Name[0]; });
        ASSERT_NE(letter, std::end(letters)) << Text(list.Name);
        EXPECT_EQ(list.Parameter, letter->second) << Text(list.Name);
        EXPECT_FALSE(list.Items.empty());
        EXPECT_EQ(PresetListNamed(list.Name), &list);
        ++counts[list.Parameter];
    }
    EXPECT_EQ(counts[ppFrameSize], 19);
    EXPECT_EQ(counts[ppVideoBitrate], 11);
    EXPECT_EQ(counts[ppFrameRate], 7);
    EXPECT_EQ(counts[ppAudioBitrate], 4);
    EXPECT_EQ(counts[ppSampleRate], 5);
    EXPECT_EQ(counts[ppPictureMode], 3);
    EXPECT_EQ(PresetListNamed(u"R20"), nullptr);
    EXPECT_EQ(PresetListNamed(u"RES1"), nullptr);
}

TEST(PresetLists, RepeatedItemsAreItemsOfTheirOwn) {
    const TPresetList& r1 = *PresetListNamed(u"R1");
    ASSERT_EQ(r1.Items.size(), 28u);
    EXPECT_EQ(Text(r1.Items[24]), "1920*1200");
    EXPECT_EQ(Text(r1.Items[25]), "1920*1200");
    EXPECT_EQ(Text(r1.Items[26]), "2048*1536");
    EXPECT_EQ(Text(r1.Items[27]), "2560*1600");
    EXPECT_EQ(Text(PresetListNamed(u"R4")->Items[7]), "1920*1200");
    EXPECT_EQ(Text(PresetListNamed(u"R4")->Items[8]), "1920*1200");
    EXPECT_EQ(Text(PresetListNamed(u"R12")->Items[13]), "1920*1200");
    // Not ascending: "176*144" before "160*120".
    EXPECT_EQ(Text(PresetListNamed(u"R5")->Items[1]), "176*144");
    EXPECT_EQ(Text(PresetListNamed(u"R5")->Items[2]), "160*120");
}

TEST(Presets, OneEntryPerFormatWithDefaultsInsideTheirLists) {
    ASSERT_EQ(Presets().size(), 166u);
    Integer audioOnly = 0;
    for (size_t i = 0; i < Presets().size(); ++i) {
        const TPreset& preset = Presets()[i];
        EXPECT_EQ(preset.Key, FormatKeys()[i]);
        EXPECT_EQ(PresetOf(preset.Key), &preset);
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
            const TPresetChoice& choice = preset.Choices[parameter];
            EXPECT_EQ(choice.List->Parameter, parameter) << preset.Key;
            EXPECT_GE(choice.Default, 0) << preset.Key;
            EXPECT_LT(choice.Default, static_cast<Integer>(choice.List->Items.size())) << preset.Key;
        }
        // Audio-only exactly when the frame sizes are R3; then the video
        // boxes hold their one "no video" item.
        EXPECT_EQ(preset.AudioOnly, std::u16string_view(preset.Choices[ppFrameSize].List->Name) == u"R3");
        if (preset.AudioOnly) {
            ++audioOnly;
            EXPECT_EQ(Text(preset.Choices[ppVideoBitrate].List->Name), "V6");
            EXPECT_EQ(Text(preset.Choices[ppFrameRate].List->Name), "F3");
            EXPECT_EQ(Text(preset.Choices[ppPictureMode].List->Name), "M3");
        }
        // Only key 402 starts its picture mode elsewhere than on the first item.
        EXPECT_EQ(preset.Choices[ppPictureMode].Default, preset.Key == 402 ? 2 : 0) << preset.Key;
        // Only 9, 2107, 2207 and 2307 offer two picture modes and whole frame rates.
        const bool phone = preset.Key == 9 || preset.Key == 2107 || preset.Key == 2207 || preset.Key == 2307;
        EXPECT_EQ(std::u16string_view(preset.Choices[ppPictureMode].List->Name) == u"M2", phone)
            << preset.Key;
        EXPECT_EQ(std::u16string_view(preset.Choices[ppFrameRate].List->Name) == u"F2", phone) << preset.Key;
    }
    EXPECT_EQ(audioOnly, 15);
    for (const Integer key : {15, 113, 210, -1, 2315})
        EXPECT_EQ(PresetOf(key), nullptr) << key;
}

TEST(Presets, DefaultTextsOfNamedFormats) {
    const struct {
        Integer key;
        std::array<const char16_t*, PresetParameterCount> texts;  // in fill order
    } cases[] = {
        {0, {u"保持原分辨率", u"816 kbps", u"25.00", u"128 kbps", u"44100", u"保持原视频模式"}},
        {100, {u"该格式无视频", u"无视频", u"无视频", u"128 kbps", u"44100", u"无视频"}},
        {112, {u"该格式无视频", u"无视频", u"无视频", u"7.4 kbps", u"8000", u"无视频"}},
        {1102, {u"该格式无视频", u"无视频", u"无视频", u"128 kbps", u"22050", u"无视频"}},
        {402, {u"720*406", u"768 kbps", u"25.00", u"128 kbps", u"48000", u"宽屏视频16:9模式"}},
        {9, {u"176*144", u"128 kbps", u"12", u"12 kbps", u"8000", u"保持原视频模式"}},
        {806, {u"1440*1080", u"1800 kbps", u"30.00", u"128 kbps", u"48000", u"保持原视频模式"}},
        {2003, {u"保持原分辨率", u"1000 kbps", u"29.97", u"144 kbps", u"48000", u"保持原视频模式"}},
    };
    for (const auto& c : cases) {
        const TPreset* preset = PresetOf(c.key);
        ASSERT_NE(preset, nullptr);
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
            EXPECT_EQ(Text(DefaultText(preset->Choices[parameter])), Text(c.texts[parameter]))
                << c.key << " parameter " << parameter;
    }
    EXPECT_EQ(PresetOf(112)->Choices[ppAudioBitrate].List->Items.size(), 8u);
    EXPECT_EQ(PresetOf(1103)->Choices[ppSampleRate].List->Items.size(), 3u);
    EXPECT_TRUE(PresetOf(1103)->AudioOnly);
    // Equal entries of separate keys.
    EXPECT_EQ(PresetOf(13)->Choices, PresetOf(14)->Choices);
}

TEST(PresetBoxes, ListsDefaultsAndTheDisabledVideoBoxes) {
    const auto video = PresetBoxes(PresetOf(402));
    const auto audio = PresetBoxes(PresetOf(1103));
    for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
        EXPECT_EQ(video[parameter].Items.data(), PresetOf(402)->Choices[parameter].List->Items.data());
        EXPECT_EQ(video[parameter].ItemIndex, PresetOf(402)->Choices[parameter].Default);
        EXPECT_TRUE(video[parameter].Enabled);
        const bool sound = parameter == ppAudioBitrate || parameter == ppSampleRate;
        EXPECT_EQ(audio[parameter].Enabled, sound) << parameter;
    }
    EXPECT_EQ(audio[ppSampleRate].Items.size(), 3u);
    for (const TPresetBox& box : PresetBoxes(PresetOf(15))) {
        EXPECT_TRUE(box.Items.empty());
        EXPECT_EQ(box.ItemIndex, -1);
        EXPECT_TRUE(box.Enabled);
    }
}

}  // namespace
