// The format catalogue: the 19 output categories and their formats, the six
// parameter preset lists and default choices of every format, the codec data
// of every format, and the rules that turn a chosen format and the chosen
// parameter texts into the main window's staging fields, a list row's
// columns, a task's output options and a free output file name. The main
// window and the preset dialog share all of it: their combo-box handlers
// only move positions and texts between their controls and these routines.
//
// Tables are plain rows, iterable as they stand: FormatCategories (with each
// category's captions), PresetLists, Presets, CodecTable.
//
// What a row converts with, the one rule every writer of a row keeps (the
// add commands, a format or parameter picked in the main window or the
// preset dialog): its format's settled codec data (SettledCodecData), with
// the six parameters taken from the texts its pickers show by the value rules
// (ApplyParameterTexts), written into the container of the extension its
// format's caption ends in. Selecting, moving or converting a row writes
// nothing into it, so two rows of one format and the same choices convert
// alike whichever was selected, and the values 设置 shows for a row are the
// values in its file.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

struct TOutputOptions;

// ---- Categories and formats ----

inline constexpr Integer CategoryCount = 19;

struct TFormatCategory {
    const char16_t* Caption;
    // Also the picture of the category item in the category image list.
    Integer Code;
    // The captions of its formats, by format position.
    std::span<const char16_t* const> Formats;
};

// The categories by their position in the category box.
std::span<const TFormatCategory> FormatCategories();
// -1 for a position outside 0..18.
Integer CategoryCodeOf(Integer ACategoryPosition);
// Empty for a code that no category has.
std::span<const char16_t* const> FormatsOfCode(Integer ACategoryCode);
// The format box's items for a category position; empty outside 0..18.
std::span<const char16_t* const> FormatCaptions(Integer ACategoryPosition);
// The picture of a format item in the format image list.
constexpr Integer FormatImageIndex(Integer AFormatPosition) {
    return AFormatPosition % 2;
}
// Category code × 100 + format position; -1 when the two positions name no
// format (a category outside 0..18, a format position outside its list).
Integer FormatKeyOf(Integer ACategoryPosition, Integer AFormatPosition);
// The 166 format keys, ascending.
std::span<const Integer> FormatKeys();
// Empty for a key that no format has.
String FormatCaptionOf(Integer AFormatKey);
// The output extension with its dot: the text between "(*." and the closing
// ")" of a caption ("RM - REAL视频格式(*.rm)" gives ".rm").
String ExtensionFromCaption(std::u16string_view ACaption);

// What a list row keeps to restore both boxes: category position × 100 +
// format position + 100 (the position, not the category code).
Integer StoredSelection(Integer ACategoryPosition, Integer AFormatPosition);
struct TFormatPositions {
    Integer Category;
    Integer Format;
};
TFormatPositions PositionsOfStoredSelection(Integer AValue);

// ---- Preset lists and the preset table ----

// The six parameters, in the order the preset fill fills their boxes.
enum TPresetParameter {
    ppFrameSize,
    ppVideoBitrate,
    ppFrameRate,
    ppAudioBitrate,
    ppSampleRate,
    ppPictureMode
};
inline constexpr Integer PresetParameterCount = 6;
inline constexpr std::array<TPresetParameter, PresetParameterCount> PresetFillOrder = {
    ppFrameSize, ppVideoBitrate, ppFrameRate, ppAudioBitrate, ppSampleRate, ppPictureMode};
// An audio-only format's fill disables these boxes, in this order, last.
inline constexpr std::array<TPresetParameter, 4> AudioOnlyDisableOrder = {ppFrameSize, ppVideoBitrate,
                                                                          ppPictureMode, ppFrameRate};
// The order of the six two-digit pairs of a row's ColComboIndices.
inline constexpr std::array<TPresetParameter, PresetParameterCount> ComboIndicesOrder = {
    ppFrameSize, ppVideoBitrate, ppAudioBitrate, ppPictureMode, ppFrameRate, ppSampleRate};
// The order in which the shown texts become staging values.
inline constexpr std::array<TPresetParameter, PresetParameterCount> ValueOrder = {
    ppFrameSize, ppFrameRate, ppVideoBitrate, ppSampleRate, ppAudioBitrate, ppPictureMode};

// The parameter's combo box, named alike on the main window and the preset
// dialog ("qxSkinComboBox1" for the frame size).
const char16_t* ParameterComboName(TPresetParameter AParameter);
// Opening the preset dialog and its "确定" copy these eight positions, in
// this order, from one window's controls to the other's of the same name:
// the category first, since writing it resets the format, and the format
// before the parameters, since writing it refills their lists.
extern const std::array<const char16_t*, 8> HandOffOrder;
// Copies the eight positions in HandOffOrder by the controls' names.
void CopyChoicePositions(const std::function<Integer(const char16_t* AName)>& AReadPosition,
                         const std::function<void(const char16_t* AName, Integer APosition)>& AWritePosition);

struct TPresetList {
    // "R1" .. "R19", "V1" .. "V11", "F1" .. "F7", "A1" .. "A4", "S1" .. "S5",
    // "M1" .. "M3" here; the settings dialog names its lists by their labels.
    const char16_t* Name;
    TPresetParameter Parameter;
    std::span<const char16_t* const> Items;
};

struct TPresetChoice {
    const TPresetList* List;
    Integer Default;  // the position the box shows after the fill
};

struct TPreset {
    Integer Key;
    std::array<TPresetChoice, PresetParameterCount> Choices;  // by parameter
    // The video boxes get the one-item lists R3, V6, F3 and M3 and are disabled.
    bool AudioOnly;
};

// The 49 shared lists.
std::span<const TPresetList> PresetLists();
// Nil for a name that no list has.
const TPresetList* PresetListNamed(std::u16string_view AName);
// The 166 entries by ascending key.
std::span<const TPreset> Presets();
// Nil for a key without an entry: its fill leaves six empty, enabled boxes.
const TPreset* PresetOf(Integer AFormatKey);

// What one parameter box holds after a preset fill.
struct TPresetBox {
    std::span<const char16_t* const> Items;
    Integer ItemIndex;  // -1 in an empty box
    bool Enabled;
};
// The six boxes by parameter after a fill from APreset: its lists and
// defaults, with the boxes of AudioOnlyDisableOrder disabled for an
// audio-only preset; six empty, enabled boxes for none.
std::array<TPresetBox, PresetParameterCount> PresetBoxes(const TPreset* APreset);

// ---- Codec data ----

// One format's encoder settings; an empty text or -1 is not set.
struct TCodecData {
    Integer Key;
    const char16_t* OutputExt;  // what the output file name receives
    const char16_t* FileExt;    // Video_FileExt
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
    bool DisableVideo;
    const char16_t* TargetType;
    const char16_t* NormType;
};

// The 166 rows as the catalogue states them, by ascending key.
std::span<const TCodecData> CodecTable();
// Nil for a key that no format has.
const TCodecData* CodecDataOf(Integer AFormatKey);
// A row with the changes the FFmpeg libraries of this system need to write
// it: the caption's extension as OutputExt, so that the file is of the kind
// the caption and the name say (keys 801, 806 and 809 state another); the
// native "aac" for "libfaac"; in an MPEG program stream ".vob" or ".mpg",
// "ac3" for AAC; no tag for DX50 or XVID in ".mp4"; "mpeg4" for "msmpeg4v1".
// The codec-data step writes the staging fields from it.
TCodecData SettledCodecData(const TCodecData& AData);
// The audio encoder a conversion to the key runs where a limit of it is
// known: the settled codec data's, else the disc target's, else the MPEG
// muxers' own MP2 or the RealMedia muxer's own AC-3; empty otherwise.
String AudioEncoderOf(Integer AFormatKey);
// The first encoder of the key's settled codec data that the loaded
// libraries lack (the first one named while they are not loaded); empty
// when they have every one, or for an unknown key.
String UnavailableEncoder(Integer AFormatKey);

// ---- Staging fields ----

// The main window's scratch record of the file being added or of the
// selected row: an empty text and -1 are not set; -1000 in a bit rate,
// -2000 in the audio bit rate and "AUTO" in the audio codec or sample rate
// leave the choice to the library.
struct TStagingFields {
    String Video_AddFileName;
    String Video_OutPutFileName;
    String Video_FileExt;
    String Video_VideoCodec;
    String Video_VideoTag;
    String Video_FrameSize;
    Integer Video_VideoBitrate = -1;
    String Video_FrameRate;
    String Video_FrameAspectRatio;
    String Video_AudioCodec;
    String Video_AudioChannels;
    String Video_AudioSampleRate;
    Integer Video_AudioBitrate = -1;
    bool Video_DisableVideo = false;
    String Video_TargetType;
    String Video_NormType;
    String Video_AudioVolume = u"256";
    String Video_VideoFilters;
    String Video_CopyTimestamp;
    String Video_FileFormat;
    Integer Video_TimeStart = -1;
    Integer Video_TimeLength = -1;
    // Format key + 100 of the last preset or codec-data fill; read by nothing.
    Integer All_Trant_Number = 0;
};

// Every field but Video_AddFileName and All_Trant_Number to its neutral value.
void ResetStaging(TStagingFields& AStaging);
// The preset fill's own writes, made for every key before the lists are filled.
void StartPresetFill(TStagingFields& AStaging, Integer AFormatKey);
// The codec-data step: the reset, All_Trant_Number, the key's settled codec
// data, and in Video_OutPutFileName the numbered output path of
// Video_AddFileName in AOutputFolder. ATakenNames are the output file names
// of the list's rows, AInputs the list's input files with the one being
// added: neither is ever taken as the output. False, after the reset, for a
// key that no format has.
bool ApplyCodecData(TStagingFields& AStaging, Integer AFormatKey, const String& AOutputFolder,
                    bool AOverwrite, std::span<const String> ATakenNames,
                    std::span<const String> AInputs = {});
// The texts of row sub-items 10 (ColVideoCodec) to 23 (ColNormType) of a
// row: the staging fields after the codec-data step and the value step.
std::array<String, 14> CodecColumns(const TStagingFields& AStaging);

// ---- Output names ----

// Whether APath names one of AInputs: the same text, or the same file
// reached by another path.
bool IsInputFile(std::u16string_view APath, std::span<const String> AInputs);
// APath itself when no file of that name exists (a folder does not count) or
// AOverwrite, no other row holds its file name and it is none of the input
// files; otherwise the stem followed by "_" and the first free number from 1
// and the extension (folder/a.avi, folder/a_1.avi, ...). A name in
// ATakenNames or an input is never free, with AOverwrite too: a run never
// writes over what it reads, and the log says when an input moved the name.
String NumberedOutputPath(std::u16string_view APath, bool AOverwrite, std::span<const String> ATakenNames,
                          std::span<const String> AInputs = {});
// The output name a row whose name is AOutputFile gets when AName is wanted
// for it: AName itself when that is the row's own name, also when its file
// exists (the row wrote it), unless it is an input; a new name is numbered
// like an added file's among the files in AOutputFolder, the names of the
// other rows and the inputs.
String RowOutputName(std::u16string_view AOutputFile, std::u16string_view AName, const String& AOutputFolder,
                     bool AOverwrite, std::span<const String> AOtherRowNames,
                     std::span<const String> AInputs);
// The row's output name after a format the user picked: RowOutputName of its
// file-name part with the extension replaced by AExtension (appended to a
// name without a dot).
String RenamedOutputFile(std::u16string_view AOutputFile, std::u16string_view AExtension,
                         const String& AOutputFolder, bool AOverwrite, std::span<const String> AOtherRowNames,
                         std::span<const String> AInputs = {});

// ---- Values of the chosen parameter texts ----

// The shown texts of the six parameter boxes, by parameter.
using TParameterTexts = std::array<String, PresetParameterCount>;

// "05" for 5, "12" for 12, "0-1" for no choice.
String TwoDigitIndex(Integer AItemIndex);
// The twelve characters of ColComboIndices from six item indices by parameter.
String ComboIndicesText(const std::array<Integer, PresetParameterCount>& AItemIndices);
// AComboIndices with the parameter's two characters replaced by
// TwoDigitIndex(AItemIndex); the text keeps twelve characters.
String ReplaceComboIndex(std::u16string_view AComboIndices, TPresetParameter AParameter, Integer AItemIndex);

// The value rules that hold whatever the format. "保持原分辨率" and
// "该格式无视频" give the empty size, any other text itself.
String FrameSizeValue(std::u16string_view AText);
// "保持原帧速率" and "无视频" give the empty rate, any other text itself.
String FrameRateValue(std::u16string_view AText);
// "1200 kbps" gives 1200000, "无视频" -1000. Raises EConvertError for a text
// without a whole number before "kbps".
Integer KbpsVideoBitrate(std::u16string_view AText);
// "128 kbps" gives 128000, "7.95 kbps" 7950. Raises EConvertError for a text
// without a number before "kbps", or with a fraction of a bit left.
Integer KbpsAudioBitrate(std::u16string_view AText);
// The aspect ratio a picture-mode text asks for ("" keeps the source's);
// false, and ARatio as it was, for a text that is none of the six modes.
bool PictureModeRatio(std::u16string_view AText, String& ARatio);

// The picked video bit rate in bit/s by KbpsVideoBitrate; -1000 whatever the
// text for a key whose target fixes the rate (VCD).
Integer VideoBitrateValue(Integer AFormatKey, std::u16string_view AText);
// The picked audio bit rate in bit/s by KbpsAudioBitrate, or the nearest
// rate the key's audio encoder accepts at the sample rate the key writes for
// the picked one (SampleRateValue) when it refuses the picked one; the log
// names both then.
Integer AudioBitrateValue(Integer AFormatKey, std::u16string_view AText, std::u16string_view ASampleRate);
// The sample rate the key writes for a picked sample-rate text: the rate
// itself, or the nearest one (AcceptedSampleRate) that the key's audio
// encoder and its container take; the log names both then. A text that is no
// whole number stays as it is.
String SampleRateValue(Integer AFormatKey, std::u16string_view AText);
// ASampleRate, or the nearest rate (the encoder's first of two as near) that
// the encoder takes and the container of AExtension takes from it: "mp2",
// "ac3", "libmp3lame" and "aac" run at their own lists of rates, and MP3 goes
// into ".mp4" from 16 kHz, into ".flv" and ".swf" at 11025, 22050 and
// 44100 Hz (".flv" also at 48000).
Integer AcceptedSampleRate(std::u16string_view AEncoder, std::u16string_view AExtension, Integer ASampleRate);
// ABitrate, or the nearest bit rate (the lower of two as near) that the
// encoder accepts at that sample rate where it is known to refuse ABitrate:
// "mp2" takes the MPEG-1 rates at 32 kHz and above and the MPEG-2 rates
// below, "ac3" its own list, "wmav2" 24 kbit/s and more, "libvorbis" in stereo a range that
// depends on the rate.
Integer AcceptedAudioBitrate(std::u16string_view AEncoder, Integer ASampleRate, Integer ABitrate);

// Writes one parameter's staging field from its shown text; the audio bit
// rate reads the sample rate's text too. A picture-mode text outside its six
// leaves the field as it is.
void ApplyParameterText(TStagingFields& AStaging, Integer AFormatKey, TPresetParameter AParameter,
                        const TParameterTexts& ATexts);
// The value step: all six, in ValueOrder.
void ApplyParameterTexts(TStagingFields& AStaging, Integer AFormatKey, const TParameterTexts& ATexts);

struct TRowWrite {
    Integer SubItem;
    String Text;
};

// Choosing item AItemIndex of a parameter's box for the selected row whose
// sub-items are ARow: writes the staging field and gives what the row
// receives, ColComboIndices first, then the parameter's value column. A new
// sample rate also gives the audio bit rate its shown text has at that rate
// where it differs from the row's.
std::vector<TRowWrite> ChooseParameter(TStagingFields& AStaging, Integer AFormatKey,
                                       TPresetParameter AParameter, Integer AItemIndex,
                                       const TParameterTexts& ATexts, std::span<const String> ARow);

// ---- The task's output options ----

// What an added file's task receives from the staging fields; every other
// option keeps the value it has. Raises EConvertError for a channel count,
// sample rate or volume text that is not a whole number.
void DeriveOutputOptions(const TStagingFields& AStaging, TOutputOptions& AOptions);
