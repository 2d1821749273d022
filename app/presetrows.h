// Preset tables as they are written: keys with equal presets share a row,
// whose cells name a list by its position among the table's lists and the
// default position in that list, in fill order.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "app/formatcatalogue.h"

struct TPresetCell {
    Integer List;
    Integer Default;
};

struct TPresetRow {
    std::initializer_list<Integer> Keys;
    TPresetCell FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, PictureMode;
};

// One preset per key, by ascending key; a preset is audio-only when its
// frame-size list is the one at ANoVideoSizes.
std::vector<TPreset> ExpandPresetRows(std::span<const TPresetRow> ARows, std::span<const TPresetList> ALists,
                                      Integer ANoVideoSizes);
