// The settings dialog's tables against the independent transcription in
// tests/app/transcription (see its README): key by key, every mismatch
// reported with its file, key and column; then what the tables say of each
// other and of the main window's captions.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "app/settingscatalogue.h"
#include "tests/app/transcription.h"

namespace {

using namespace transcription;

// The transcription's kind word of each parameter's lists.
const char* const KindWords[PresetParameterCount] = {"sizes",       "video rates",  "frame rates",
                                                     "audio rates", "sample rates", "modes"};

// Where a category's lists are defined.
std::string GroupOf(Integer AKey) {
    const Integer category = AKey / 100 - 1;
    return category <= 1 ? "0-1" : category <= 5 ? "2-5" : "6-11";
}

const TPresetList* ListLabelled(TPresetParameter AParameter, const std::string& ALabel) {
    for (const TPresetList& list : SettingsPresetLists())
        if (list.Parameter == AParameter && Text(list.Name) == ALabel) return &list;
    return nullptr;
}

TEST(SettingsTranscription, Categories) {
    const TTable table = Load("settings_categories.tsv");
    EXPECT_EQ(table.Rows.size(), SettingsCategories().size());
    for (const TRow& row : table.Rows) {
        const std::string& index = row.at("index");
        const Integer position = Number(index);
        if (position < 0 || position >= SettingsCategoryCount) {
            ADD_FAILURE() << table.Name << " index " << index << ": no such category in the code";
            continue;
        }
        Same(table, index, "caption", row, Text(SettingsCategories()[position].Caption));
        Same(table, index, "image_index", row, std::to_string(SettingsCategories()[position].ImageIndex));
    }
}

TEST(SettingsTranscription, TitlesAndDescriptionsByKey) {
    const TTable table = Load("settings_formats.tsv");
    std::set<Integer> transcribed;
    for (const TRow& row : table.Rows) {
        const std::string& key = row.at("key");
        transcribed.insert(Number(key));
        const Integer category = Number(row.at("category"));
        const Integer index = Number(row.at("index"));
        EXPECT_EQ(SettingsKeyOf(category, index), Number(key))
            << table.Name << " key " << key << " columns category, index";
        const auto formats = SettingsFormatsOf(category);
        if (index < 0 || index >= static_cast<Integer>(formats.size())) {
            ADD_FAILURE() << table.Name << " key " << key << ": the code has no such format";
            continue;
        }
        Same(table, key, "title", row, Text(formats[index].Title));
        Same(table, key, "caption", row, Text(formats[index].Caption));
    }
    const std::set<Integer> code(SettingsKeys().begin(), SettingsKeys().end());
    EXPECT_EQ(code, transcribed);
}

// Each transcribed list against the code's list of that kind and label.
TEST(SettingsTranscription, LabelledLists) {
    const TTable table = Load("settings_preset_lists.tsv");
    std::map<std::pair<std::string, std::string>, std::vector<const TRow*>> lists;  // by group and kind+label
    for (const TRow& row : table.Rows)
        lists[{row.at("group"), row.at("kind") + " " + row.at("label")}].push_back(&row);
    for (const auto& [name, rows] : lists) {
        const std::string& kind = rows.front()->at("kind");
        const std::string& label = rows.front()->at("label");
        const TPresetList* list = nullptr;
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
            if (kind == KindWords[parameter]) list = ListLabelled(TPresetParameter(parameter), label);
        const std::string where = table.Name + " group " + name.first + " list " + name.second;
        if (!list) {
            ADD_FAILURE() << where << ": the code has no list of that kind and label";
            continue;
        }
        EXPECT_EQ(rows.size(), list->Items.size()) << where << ": item count";
        for (const TRow* row : rows) {
            const size_t position = static_cast<size_t>(Number(row->at("position")));
            if (position < list->Items.size())
                Same(table, name.second + " position " + row->at("position"), "item", *row,
                     Text(list->Items[position]));
            else
                ADD_FAILURE() << where << " position " << position << ": beyond the code's list";
        }
    }
    // The lists each group defines are the ones its presets use.
    std::map<std::string, std::set<std::string>> used;
    for (const TPreset& preset : SettingsPresets())
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter)
            used[GroupOf(preset.Key)].insert(std::string(KindWords[parameter]) + " " +
                                             Text(preset.Choices[parameter].List->Name));
    std::map<std::string, std::set<std::string>> defined;
    for (const auto& [name, rows] : lists)
        defined[name.first].insert(name.second);
    EXPECT_EQ(used, defined);
}

TEST(SettingsTranscription, PresetsByKey) {
    const TTable table = Load("settings_presets.tsv");
    EXPECT_EQ(table.Rows.size(), SettingsPresets().size());
    for (const TRow& row : table.Rows) {
        const std::string& key = row.at("key");
        const TPreset* preset = SettingsPresetOf(Number(key));
        if (!preset) {
            ADD_FAILURE() << table.Name << " key " << key << ": the code has no preset";
            continue;
        }
        Same(table, key, "group", row, GroupOf(preset->Key));
        Same(table, key, "no_video", row, Boolean(preset->AudioOnly));
        for (size_t i = 0; i < PresetFillOrder.size(); ++i) {
            const TPresetChoice& choice = preset->Choices[PresetFillOrder[i]];
            const std::string combo = ComboColumns[i];
            Same(table, key, combo + "_label", row, Text(choice.List->Name));
            Same(table, key, combo + "_default", row, std::to_string(choice.Default));
            Same(table, key, combo + "_text", row, Text(choice.List->Items[choice.Default]));
        }
    }
}

std::string Cell(const char16_t* AValue) {
    return AValue ? Text(AValue) : "<unchanged>";
}

std::string Cell(std::optional<Integer> AValue) {
    return AValue ? std::to_string(*AValue) : "<unchanged>";
}

TEST(SettingsTranscription, CodecRowsAsWritten) {
    const TTable table = Load("settings_codec.tsv");
    EXPECT_EQ(table.Rows.size(), SettingsCodecTable().size());
    for (const TRow& row : table.Rows) {
        const std::string& key = row.at("key");
        const TSettingsCodecRow* data = SettingsCodecRowOf(Number(key));
        if (!data) {
            ADD_FAILURE() << table.Name << " key " << key << ": the code has no codec row";
            continue;
        }
        const std::pair<const char*, std::string> cells[] = {
            {"OutputExt", Cell(data->OutputExt)},
            {"Video_DisableVideo", Boolean(data->DisableVideo)},
            {"Video_FileExt", Cell(data->FileExt)},
            {"Video_VideoCodec", Cell(data->VideoCodec)},
            {"Video_VideoTag", Cell(data->VideoTag)},
            {"Video_FrameRate", Cell(data->FrameRate)},
            {"Video_FrameAspectRatio", Cell(data->FrameAspectRatio)},
            {"Video_FrameSize", Cell(data->FrameSize)},
            {"Video_VideoBitrate", Cell(data->VideoBitrate)},
            {"Video_VideoFilters", Cell(data->VideoFilters)},
            {"Video_AudioCodec", Cell(data->AudioCodec)},
            {"Video_AudioChannels", Cell(data->AudioChannels)},
            {"Video_AudioSampleRate", Cell(data->AudioSampleRate)},
            {"Video_AudioVolume", Cell(data->AudioVolume)},
            {"Video_AudioBitrate", Cell(data->AudioBitrate)},
            {"Video_NormType", Cell(data->NormType)},
            {"Video_CopyTimestamp", Cell(data->CopyTimestamp)},
            {"Video_FileFormat", Cell(data->FileFormat)},
            {"Video_TargetType", Cell(data->TargetType)},
        };
        for (const auto& [column, value] : cells)
            Same(table, key, column, row, value);
    }
}

// The titles of categories 0 to 11 are the main window's captions for the
// codes 0 to 11, but for three named places. Codes 3 and 6 have no list in
// the main window's catalogue: the preset dialog's summary of them gives
// their count, first and last caption.
TEST(SettingsTranscription, TitlesAreTheMainWindowsCaptions) {
    const TTable differences = Load("settings_title_differences.tsv");
    std::map<std::pair<Integer, Integer>, const TRow*> named;
    for (const TRow& row : differences.Rows)
        named[{Number(row.at("category")), Number(row.at("index"))}] = &row;
    const std::set<std::pair<Integer, Integer>> expected = {{1, 2}, {1, 11}, {6, 2}};
    std::set<std::pair<Integer, Integer>> places;
    for (const auto& [place, row] : named)
        places.insert(place);
    EXPECT_EQ(places, expected);

    const TTable summary = Load("preset_dialog_first_last_captions.tsv");
    for (Integer code = 0; code < SettingsCategoryCount; ++code) {
        const auto titles = SettingsFormatsOf(code);
        const auto captions = FormatsOfCode(code);
        const std::string where = "category " + std::to_string(code);
        for (const TRow& row : summary.Rows)
            if (Number(row.at("code")) == code) {
                Same(summary, where, "items", row, std::to_string(titles.size()));
                Same(summary, where, "first_caption", row, Text(titles.front().Title));
                Same(summary, where, "last_caption", row, Text(titles.back().Title));
            }
        const bool main = !captions.empty();
        if (main && titles.size() != captions.size()) {
            ADD_FAILURE() << where << ": " << titles.size() << " titles, " << captions.size() << " captions";
            continue;
        }
        for (size_t i = 0; i < titles.size(); ++i) {
            const auto found = named.find({code, static_cast<Integer>(i)});
            const std::string key = where + " index " + std::to_string(i);
            if (found != named.end()) {
                Same(differences, key, "settings_title", *found->second, Text(titles[i].Title));
                if (main) Same(differences, key, "main_caption", *found->second, Text(captions[i]));
            } else if (main) {
                EXPECT_EQ(Text(titles[i].Title), Text(captions[i])) << key;
            }
        }
    }
    // The one difference of code 6: one closing parenthesis fewer.
    EXPECT_EQ(named.at({6, 2})->at("main_caption") + ")", Text(SettingsFormatsOf(6)[2].Title));
}

// A list's label: "first" … "last" (count), perhaps a letter after it; a
// one-item list names its item once. Read by hand: GCC 12's <regex> under
// the sanitizers stops the build with a false maybe-uninitialized warning.
struct TLabel {
    std::string First;
    std::optional<std::string> Last;
    size_t Count = 0;
};

std::optional<TLabel> ParseLabel(std::string_view AText) {
    const auto skip = [&AText](std::string_view APrefix) {
        if (!AText.starts_with(APrefix)) return false;
        AText.remove_prefix(APrefix.size());
        return true;
    };
    const auto quoted = [&](std::string& AOut) {
        const size_t end = AText.find('"', 1);
        if (!AText.starts_with('"') || end == std::string_view::npos) return false;
        AOut = AText.substr(1, end - 1);
        AText.remove_prefix(end + 1);
        return true;
    };
    TLabel label;
    if (!quoted(label.First)) return std::nullopt;
    if (skip(" … ") && !quoted(label.Last.emplace())) return std::nullopt;
    if (!skip(" (")) return std::nullopt;
    const size_t digits = AText.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos) return std::nullopt;
    label.Count = std::stoul(std::string(AText.substr(0, digits)));
    AText.remove_prefix(digits);
    if (!skip(")")) return std::nullopt;
    if (!AText.empty() && !(AText.size() == 2 && AText[0] == ' ' && AText[1] >= 'a' && AText[1] <= 'c'))
        return std::nullopt;
    return label;
}

// Every label names its list; one list is named once.
TEST(SettingsTranscription, EachLabelNamesItsList) {
    std::set<std::pair<Integer, std::string>> seen;
    for (const TPresetList& list : SettingsPresetLists()) {
        const std::string name = Text(list.Name);
        const std::optional<TLabel> label = ParseLabel(name);
        ASSERT_TRUE(label) << name;
        EXPECT_EQ(label->Count, list.Items.size()) << name;
        EXPECT_EQ(label->First, Text(list.Items.front())) << name;
        EXPECT_EQ(label->Last.value_or(label->First), Text(list.Items.back())) << name;
        EXPECT_EQ(label->Last.has_value(), list.Items.size() > 1) << name;
        EXPECT_TRUE(seen.insert({list.Parameter, name}).second) << name << " names two lists";
    }
    EXPECT_EQ(seen.size(), 50u);
}

}  // namespace
