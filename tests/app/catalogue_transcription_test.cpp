// The catalogue's tables against the independent transcription in
// tests/app/transcription (see its README): key by key, every mismatch
// reported with its file, key and column.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/formatcatalogue.h"
#include "platform/base/ustring.h"
#include "tests/app/transcription.h"

namespace {

using namespace transcription;

// The main window's statement names the lists RES1, VB1, FR1, AB1, SR1,
// PM1; the code keeps the preset dialog's R1, V1, F1, A1, S1, M1.
std::string DialogListName(const std::string& AName) {
    static const std::pair<const char*, const char*> prefixes[] = {{"RES", "R"}, {"VB", "V"}, {"FR", "F"},
                                                                   {"AB", "A"},  {"SR", "S"}, {"PM", "M"}};
    for (const auto& [main, dialog] : prefixes)
        if (AName.rfind(main, 0) == 0) return dialog + AName.substr(std::string(main).size());
    return AName;
}

TEST(CatalogueTranscription, Categories) {
    const TTable table = Load("catalogue_categories.tsv");
    EXPECT_EQ(table.Rows.size(), FormatCategories().size());
    for (const TRow& row : table.Rows) {
        const std::string& position = row.at("position");
        const Integer index = Number(position);
        if (index < 0 || index >= static_cast<Integer>(FormatCategories().size())) {
            ADD_FAILURE() << table.Name << " position " << position << ": no such category in the code";
            continue;
        }
        const TFormatCategory& category = FormatCategories()[index];
        const Integer count = static_cast<Integer>(category.Formats.size());
        Same(table, position, "caption", row, Text(category.Caption));
        Same(table, position, "code", row, std::to_string(category.Code));
        Same(table, position, "formats", row, std::to_string(count));
        Same(table, position, "first_key", row, std::to_string(FormatKeyOf(index, 0)));
        Same(table, position, "last_key", row, std::to_string(FormatKeyOf(index, count - 1)));
    }
}

TEST(CatalogueTranscription, FormatCaptionsByKey) {
    const TTable table = Load("catalogue_formats.tsv");
    std::set<Integer> transcribed;
    for (const TRow& row : table.Rows) {
        const std::string& key = row.at("key");
        transcribed.insert(Number(key));
        Same(table, key, "caption", row, Text(FormatCaptionOf(Number(key))));
        // The key the two boxes' positions name.
        const Integer position = Number(row.at("category_position"));
        Same(table, key, "code", row, std::to_string(CategoryCodeOf(position)));
        EXPECT_EQ(FormatKeyOf(position, Number(row.at("index"))), Number(key))
            << table.Name << " key " << key << " columns category_position, index";
    }
    const std::set<Integer> code(FormatKeys().begin(), FormatKeys().end());
    for (const Integer key : code)
        EXPECT_TRUE(transcribed.count(key)) << "key " << key << " of the code is not transcribed";
    for (const Integer key : transcribed)
        EXPECT_TRUE(code.count(key)) << "key " << key << " is transcribed but not in the code";
}

// Each list's items under both statements' names.
TEST(CatalogueTranscription, PresetListsUnderBothNamings) {
    for (const auto& [file, rename] :
         {std::pair{"catalogue_preset_lists.tsv", true}, std::pair{"preset_dialog_lists.tsv", false}}) {
        const TTable table = Load(file);
        std::map<std::string, std::vector<const TRow*>> lists;
        for (const TRow& row : table.Rows)
            lists[row.at("list")].push_back(&row);
        EXPECT_EQ(lists.size(), PresetLists().size()) << file;
        for (const auto& [name, rows] : lists) {
            const std::string codeName = rename ? DialogListName(name) : name;
            const TPresetList* list = PresetListNamed(UTF8ToString(codeName));
            if (!list) {
                ADD_FAILURE() << file << " list " << name << ": the code has no list " << codeName;
                continue;
            }
            EXPECT_EQ(rows.size(), list->Items.size()) << file << " list " << name << ": item count";
            for (const TRow* row : rows) {
                const std::string key = name + " position " + row->at("position");
                const size_t position = static_cast<size_t>(Number(row->at("position")));
                if (position < list->Items.size())
                    Same(table, key, "item", *row, Text(list->Items[position]));
                else
                    ADD_FAILURE() << file << " list " << key << ": beyond the code's list";
            }
        }
    }
}

// Both statements of the preset table: six list/default pairs in fill order
// and the audio-only flag; the main window's statement also quotes each
// default's text, which must be the code's item at that position.
TEST(CatalogueTranscription, PresetsFromBothStatements) {
    for (const auto& [file, main] :
         {std::pair{"catalogue_presets.tsv", true}, std::pair{"preset_dialog_presets.tsv", false}}) {
        const TTable table = Load(file);
        EXPECT_EQ(table.Rows.size(), Presets().size()) << file;
        for (const TRow& row : table.Rows) {
            const std::string& key = row.at("key");
            const TPreset* preset = PresetOf(Number(key));
            if (!preset) {
                ADD_FAILURE() << file << " key " << key << ": the code has no preset";
                continue;
            }
            Same(table, key, "audio_only", row, Boolean(preset->AudioOnly));
            for (size_t i = 0; i < PresetFillOrder.size(); ++i) {
                const TPresetChoice& choice = preset->Choices[PresetFillOrder[i]];
                const std::string combo = ComboColumns[i];
                const std::string listName = row.at(combo + "_list");
                EXPECT_EQ(Text(choice.List->Name), main ? DialogListName(listName) : listName)
                    << file << " key " << key << " column " << combo << "_list";
                Same(table, key, combo + "_default", row, std::to_string(choice.Default));
                if (main) Same(table, key, combo + "_text", row, Text(choice.List->Items[choice.Default]));
            }
        }
    }
}

// The preset dialog's "positions used as defaults" column against the lists.
TEST(CatalogueTranscription, PositionsUsedAsDefaults) {
    const TTable table = Load("preset_dialog_default_positions.tsv");
    EXPECT_FALSE(table.Rows.empty());
    for (const TRow& row : table.Rows) {
        const std::string key = row.at("list") + " position " + row.at("position");
        const TPresetList* list = PresetListNamed(UTF8ToString(row.at("list")));
        const size_t position = static_cast<size_t>(Number(row.at("position")));
        if (!list || position >= list->Items.size()) {
            ADD_FAILURE() << table.Name << " " << key << ": not in the code's lists";
            continue;
        }
        Same(table, key, "item", row, Text(list->Items[position]));
    }
}

// The rows as the table writes them, before any change for the libraries
// this system runs on.
TEST(CatalogueTranscription, CodecRowsAsWritten) {
    const TTable table = Load("catalogue_codec.tsv");
    EXPECT_EQ(table.Rows.size(), CodecTable().size());
    for (const TRow& row : table.Rows) {
        const std::string& key = row.at("key");
        const TCodecData* data = CodecDataOf(Number(key));
        if (!data) {
            ADD_FAILURE() << table.Name << " key " << key << ": the code has no codec row";
            continue;
        }
        const std::pair<const char*, std::string> cells[] = {
            {"OutputExt", Text(data->OutputExt)},
            {"Video_FileExt", Text(data->FileExt)},
            {"Video_VideoCodec", Text(data->VideoCodec)},
            {"Video_VideoTag", Text(data->VideoTag)},
            {"Video_FrameSize", Text(data->FrameSize)},
            {"Video_VideoBitrate", std::to_string(data->VideoBitrate)},
            {"Video_FrameRate", Text(data->FrameRate)},
            {"Video_FrameAspectRatio", Text(data->FrameAspectRatio)},
            {"Video_AudioCodec", Text(data->AudioCodec)},
            {"Video_AudioChannels", Text(data->AudioChannels)},
            {"Video_AudioSampleRate", Text(data->AudioSampleRate)},
            {"Video_AudioBitrate", std::to_string(data->AudioBitrate)},
            {"Video_DisableVideo", Boolean(data->DisableVideo)},
            {"Video_TargetType", Text(data->TargetType)},
            {"Video_NormType", Text(data->NormType)},
        };
        for (const auto& [column, value] : cells)
            Same(table, key, column, row, value);
    }
}

// The preset dialog's summary of the main window's format lists: the first
// and last caption of every code that has a category; no list for the others.
TEST(CatalogueTranscription, FirstAndLastCaptionPerCode) {
    const TTable table = Load("preset_dialog_first_last_captions.tsv");
    EXPECT_EQ(table.Rows.size(), 24u);  // every code 0..23
    for (const TRow& row : table.Rows) {
        const std::string& code = row.at("code");
        const auto formats = FormatsOfCode(Number(code));
        if (row.at("category_position").empty()) {
            EXPECT_TRUE(formats.empty())
                << table.Name << " code " << code << ": the code lists formats for it";
            continue;
        }
        if (formats.empty()) {
            ADD_FAILURE() << table.Name << " code " << code << ": the code lists no formats for it";
            continue;
        }
        Integer position = 0;
        while (FormatCategories()[position].Code != Number(code))
            ++position;
        Same(table, code, "category_position", row, std::to_string(position));
        Same(table, code, "category_caption", row, Text(FormatCategories()[position].Caption));
        Same(table, code, "items", row, std::to_string(formats.size()));
        Same(table, code, "first_caption", row, Text(formats.front()));
        Same(table, code, "last_caption", row, Text(formats.back()));
    }
}

}  // namespace
