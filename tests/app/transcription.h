// The independent transcription of the format tables (tests/app/transcription,
// see its README): loading its files and comparing a cell with the code's.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/formatcatalogue.h"
#include "platform/base/types.h"

namespace transcription {

// The column-name stems of the six parameter boxes, in fill order.
inline constexpr const char* ComboColumns[PresetParameterCount] = {
    "frame_size", "video_bitrate", "frame_rate", "audio_bitrate", "sample_rate", "picture_mode"};

// A row by column name.
using TRow = std::map<std::string, std::string>;

struct TTable {
    std::string Name;
    std::vector<TRow> Rows;
};

// The file of that name, split on tabs only: no quoting, every blank of a
// field kept. A line whose field count differs from the header's fails.
TTable Load(const std::string& AName);

std::string Text(std::u16string_view AText);
Integer Number(const std::string& AField);
std::string Boolean(bool AValue);

// One cell: the transcription's text against the code's, reported with the
// file, key and column.
void Same(const TTable& ATable, const std::string& AKey, const std::string& AColumn, const TRow& ARow,
          const std::string& ACode);

}  // namespace transcription
