// The settings dialog's own catalogue: its twelve categories, their formats
// with a title and a description each, the labelled parameter lists and the
// preset of every format, the codec data of every format, and the steps that
// write a chosen format and the chosen parameter texts into the main window's
// staging fields. The dialog keys all of it by its own settings key, which is
// not the main window's format key: its categories are its own and their
// positions are used as they are.
//
// The codec rows are kept as the dialog writes them, oddities included (no
// reset before a row, encoders the libraries lack, key 408's 7,680,000 bit/s):
// nothing the dialog writes reaches a task, since every add command of the
// main window resets and recomputes the staging fields.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "app/formatcatalogue.h"
#include "platform/base/types.h"

// ---- Categories and formats ----

inline constexpr Integer SettingsCategoryCount = 12;

struct TSettingsFormat {
    const char16_t* Title;    // the format's caption, ending in its file pattern
    const char16_t* Caption;  // the one-sentence description shown under it
};

struct TSettingsCategory {
    const char16_t* Caption;
    Integer ImageIndex;  // its picture in the dialog's category image list
    std::span<const TSettingsFormat> Formats;
};

// The categories by their position in the category box.
std::span<const TSettingsCategory> SettingsCategories();
// The format box's items for a category position; empty outside 0..11.
std::span<const TSettingsFormat> SettingsFormatsOf(Integer ACategoryIndex);
// (category position + 1) × 100 + format position. A position of -1 (no
// choice) enters as it is and names no format.
constexpr Integer SettingsKeyOf(Integer ACategoryIndex, Integer AFormatIndex) {
    return (ACategoryIndex + 1) * 100 + AFormatIndex;
}
// The 109 keys that name a format, ascending.
std::span<const Integer> SettingsKeys();

// ---- Parameter lists and presets ----

// The 50 lists the presets use. A list's Name is its label: its first and
// last item in double quotes around " … ", its item count in parentheses,
// and a letter where two lists of one kind would otherwise share it
// ("\"128 kbps\" … \"2000 kbps\" (9) a"); a one-item list names its item
// once ("\"8000\" (1)").
std::span<const TPresetList> SettingsPresetLists();
// The 109 presets by ascending key; AudioOnly marks the no-video rows.
std::span<const TPreset> SettingsPresets();
// Nil for a key without a preset: the fill leaves six empty, enabled boxes.
const TPreset* SettingsPresetOf(Integer AKey);

// ---- Codec data ----

// What one row writes into the staging fields, in the order it writes them:
// a nil text or an empty optional is a field the row leaves as it is.
struct TSettingsCodecRow {
    Integer Key = 0;
    const char16_t* OutputExt = nullptr;  // what the output file name receives
    bool DisableVideo = false;            // always written
    const char16_t* FileExt = nullptr;
    const char16_t* VideoCodec = nullptr;
    const char16_t* VideoTag = nullptr;
    const char16_t* FrameRate = nullptr;
    const char16_t* FrameAspectRatio = nullptr;
    const char16_t* FrameSize = nullptr;
    std::optional<Integer> VideoBitrate = std::nullopt;
    const char16_t* VideoFilters = nullptr;
    const char16_t* AudioCodec = nullptr;
    const char16_t* AudioChannels = nullptr;
    const char16_t* AudioSampleRate = nullptr;
    const char16_t* AudioVolume = nullptr;
    std::optional<Integer> AudioBitrate = std::nullopt;
    const char16_t* NormType = nullptr;
    const char16_t* CopyTimestamp = nullptr;
    const char16_t* FileFormat = nullptr;
    const char16_t* TargetType = nullptr;
};

// The 109 rows by ascending key.
std::span<const TSettingsCodecRow> SettingsCodecTable();
// Nil for a key that names no format.
const TSettingsCodecRow* SettingsCodecRowOf(Integer AKey);

// The codec-data step of the dialog's "确定": Video_DisableVideo false, then
// for a key with a row its writes (with no reset before them) and in
// Video_OutPutFileName the name of Video_AddFileName with the row's
// extension in AOutputFolder; last, whatever the key, the file-name part of
// Video_OutPutFileName in AOutputFolder, numbered like an added file's when
// that file exists and AOverwrite is not set.
void ApplySettingsCodecData(TStagingFields& AStaging, Integer AKey, const String& AOutputFolder,
                            bool AOverwrite);
// The value step of the dialog's "确定", after the codec data, in ValueOrder:
// the value rules of every format, with "自动音频采样率" giving "AUTO" and
// "自动音频比特率" -1000, and no format's own limits. Raises EConvertError
// where a bit-rate text holds no number; the fields of the later steps keep
// their values then.
void ApplySettingsParameterTexts(TStagingFields& AStaging, const TParameterTexts& ATexts);
