#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "app/filelistcolumns.h"
#include "app/formatcatalogue.h"
#include "media/ffmpeglogger.h"
#include "media/strovix.h"
#include "platform/base/sysutils.h"

namespace {

// The number before the first "kbps" of a bit-rate text, trimmed.
String KbpsNumber(std::u16string_view AText) {
    const size_t kbps = AText.find(u"kbps");
    return Trim(kbps == std::u16string_view::npos ? std::u16string_view() : AText.substr(0, kbps));
}

Integer ThousandTimes(Int64 AValue, std::u16string_view AText) {
    const Int64 value = AValue * 1000;
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
        throw EConvertError(u"'%s' is not a valid integer value", {String(AText)});
    return static_cast<Integer>(value);
}

bool FixesVideoBitrate(Integer AFormatKey) {
    // The VCD target fixes its rate with equal minimum and maximum: any other
    // rate fails the conversion.
    const TCodecData* data = CodecDataOf(AFormatKey);
    return data && std::u16string_view(data->TargetType) == u"vcd";
}

Integer NearestOf(std::span<const Integer> ARates, Integer AValue) {
    Integer best = ARates.front();
    for (const Integer rate : ARates)
        if (std::abs(rate - AValue) < std::abs(best - AValue)) best = rate;
    return best;
}

// MP2's legal bit rates in kbit/s: MPEG-1 from 32 kHz, MPEG-2 below.
const Integer kMpeg1Kbps[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
const Integer kMpeg2Kbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
// AC-3's at every rate it runs at.
const Integer kAc3Kbps[] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                            192, 224, 256, 320, 384, 448, 512, 576, 640};

// The rates encoders run at, in the libraries' own order: the engine takes
// the first nearest one of an encoder's list.
const Integer kMpegAudioSampleRates[] = {44100, 48000, 32000, 22050, 24000, 16000};
const Integer kAc3SampleRates[] = {48000, 44100, 32000};
const Integer kMp3SampleRates[] = {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000};
const Integer kAacSampleRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                   22050, 16000, 12000, 11025, 8000,  7350};
struct TEncoderRates {
    const char16_t* Encoder;
    std::span<const Integer> Rates;
};
const TEncoderRates kEncoderSampleRates[] = {{u"mp2", kMpegAudioSampleRates},
                                             {u"ac3", kAc3SampleRates},
                                             {u"libmp3lame", kMp3SampleRates},
                                             {u"aac", kAacSampleRates}};

// The rates a muxer takes from an encoder where it refuses some (measured).
struct TMuxerRates {
    const char16_t* Extension;
    const char16_t* Encoder;
    bool (*Takes)(Integer ASampleRate);
};
const TMuxerRates kMuxerSampleRates[] = {
    {u".mp4", u"libmp3lame", [](Integer ARate) { return ARate >= 16000; }},
    {u".flv", u"libmp3lame",
     [](Integer ARate) { return ARate == 11025 || ARate == 22050 || ARate == 44100 || ARate == 48000; }},
    {u".swf", u"libmp3lame",
     [](Integer ARate) { return ARate == 11025 || ARate == 22050 || ARate == 44100; }},
};

// What the Vorbis encoder accepts in stereo, in kbit/s, at the sample rates
// a format offers it (measured).
struct TKbpsRange {
    Integer SampleRate;
    Integer Lowest;
    Integer Highest;
};
const TKbpsRange kVorbisStereoKbps[] = {{8000, 16, 80},   {11025, 16, 96},  {16000, 24, 192},
                                        {22050, 32, 160}, {24000, 32, 160}, {32000, 40, 320},
                                        {44100, 48, 320}, {48000, 48, 320}};
// The WMA v2 encoder refuses less than this at every rate.
constexpr Integer WmaLowestKbps = 24;

String OutputExtensionOf(Integer AFormatKey) {
    const TCodecData* data = CodecDataOf(AFormatKey);
    return data ? String(SettledCodecData(*data).OutputExt) : String();
}

// The rate the key writes for a picked one, quietly.
Integer AcceptedSampleRateOf(Integer AFormatKey, Integer ASampleRate) {
    return AcceptedSampleRate(AudioEncoderOf(AFormatKey), OutputExtensionOf(AFormatKey), ASampleRate);
}

// The rule for the rate the key's audio encoder accepts, in one place for
// the value step and a new sample rate; the log says when it changes one.
Integer AcceptedAudioBitrateOf(Integer AFormatKey, Integer ABitrate, std::u16string_view ASampleRate) {
    Integer sampleRate;
    if (!TryStrToInt(ASampleRate, sampleRate)) return ABitrate;
    sampleRate = AcceptedSampleRateOf(AFormatKey, sampleRate);
    const String encoder = AudioEncoderOf(AFormatKey);
    const Integer accepted = AcceptedAudioBitrate(encoder, sampleRate, ABitrate);
    if (accepted != ABitrate)
        GetLogger()->Log(nullptr, llWarning,
                         u"Audio bit rate %d kbps is not accepted by %s at %d Hz: %d kbps is used",
                         {ABitrate / 1000, encoder, sampleRate, accepted / 1000});
    return accepted;
}

// The value columns 15 to 20 stand in the parameters' fill order.
Integer ValueColumn(TPresetParameter AParameter) {
    return static_cast<Integer>(ColFrameSize) + static_cast<Integer>(AParameter);
}

String ColumnText(const TStagingFields& AStaging, TPresetParameter AParameter) {
    switch (AParameter) {
        case ppFrameSize:
            return AStaging.Video_FrameSize;
        case ppVideoBitrate:
            return IntToStr(AStaging.Video_VideoBitrate);
        case ppFrameRate:
            return AStaging.Video_FrameRate;
        case ppAudioBitrate:
            return IntToStr(AStaging.Video_AudioBitrate);
        case ppSampleRate:
            return AStaging.Video_AudioSampleRate;
        case ppPictureMode:
            return AStaging.Video_FrameAspectRatio;
    }
    return String();
}

}  // namespace

String TwoDigitIndex(Integer AItemIndex) {
    String digits = IntToStr(AItemIndex);
    // Padding by prepending into the temporary trips GCC 12's -Wrestrict in
    // optimised builds; appending into a fresh string does not.
    if (AItemIndex > 9) return digits;
    String padded(1, u'0');
    padded += digits;
    return padded;
}

String ComboIndicesText(const std::array<Integer, PresetParameterCount>& AItemIndices) {
    String text;
    for (const TPresetParameter parameter : ComboIndicesOrder)
        text += TwoDigitIndex(AItemIndices[parameter]);
    return text;
}

String ReplaceComboIndex(std::u16string_view AComboIndices, TPresetParameter AParameter, Integer AItemIndex) {
    const size_t pair =
        std::find(ComboIndicesOrder.begin(), ComboIndicesOrder.end(), AParameter) - ComboIndicesOrder.begin();
    const size_t start = 2 * pair;
    const std::u16string_view before = AComboIndices.substr(0, std::min(start, AComboIndices.size()));
    const std::u16string_view after = AComboIndices.size() > start + 2
                                          ? AComboIndices.substr(start + 2, 12 - (start + 2))
                                          : std::u16string_view();
    return String(before) + TwoDigitIndex(AItemIndex) + String(after);
}

String FrameSizeValue(std::u16string_view AText) {
    return AText == u"保持原分辨率" || AText == u"该格式无视频" ? String() : String(AText);
}

String FrameRateValue(std::u16string_view AText) {
    return AText == u"保持原帧速率" || AText == u"无视频" ? String() : String(AText);
}

Integer KbpsVideoBitrate(std::u16string_view AText) {
    if (AText == u"无视频") return -1000;
    const String number = KbpsNumber(AText);
    return ThousandTimes(StrToInt(number), number);
}

Integer KbpsAudioBitrate(std::u16string_view AText) {
    const String number = KbpsNumber(AText);
    // Through the shortest decimal text, so that 7.95 × 1000 is 7950.
    if (number.find(u'.') != String::npos) return StrToInt(FloatToStr(StrToFloat(number) * 1000));
    return ThousandTimes(StrToInt(number), number);
}

bool PictureModeRatio(std::u16string_view AText, String& ARatio) {
    static const std::pair<const char16_t*, const char16_t*> kModes[] = {
        {u"保持原视频模式", u""},         {u"普通视频4:3模式", u"4:3"},     {u"宽屏视频16:9模式", u"16:9"},
        {u"宽屏视频37:20模式", u"37:20"}, {u"宽屏视频47:20模式", u"47:20"}, {u"无视频", u""}};
    for (const auto& [mode, ratio] : kModes)
        if (AText == mode) {
            ARatio = ratio;
            return true;
        }
    return false;
}

Integer VideoBitrateValue(Integer AFormatKey, std::u16string_view AText) {
    return FixesVideoBitrate(AFormatKey) ? -1000 : KbpsVideoBitrate(AText);
}

Integer AudioBitrateValue(Integer AFormatKey, std::u16string_view AText, std::u16string_view ASampleRate) {
    return AcceptedAudioBitrateOf(AFormatKey, KbpsAudioBitrate(AText), ASampleRate);
}

Integer AcceptedAudioBitrate(std::u16string_view AEncoder, Integer ASampleRate, Integer ABitrate) {
    if (ABitrate <= 0) return ABitrate;
    const Integer kbps = ABitrate / 1000;
    const auto fromTable = [&](std::span<const Integer> ATable) {
        if (ABitrate % 1000 == 0 && std::find(ATable.begin(), ATable.end(), kbps) != ATable.end())
            return ABitrate;
        return NearestOf(ATable, kbps) * 1000;
    };
    if (AEncoder == u"mp2")
        return AcceptedSampleRate(AEncoder, {}, ASampleRate) >= 32000 ? fromTable(kMpeg1Kbps)
                                                                      : fromTable(kMpeg2Kbps);
    if (AEncoder == u"ac3") return fromTable(kAc3Kbps);
    if (AEncoder == u"wmav2") return std::max(ABitrate, WmaLowestKbps * 1000);
    if (AEncoder == u"libvorbis") {
        for (const TKbpsRange& range : kVorbisStereoKbps)
            if (range.SampleRate == ASampleRate)
                return std::clamp(ABitrate, range.Lowest * 1000, range.Highest * 1000);
    }
    return ABitrate;
}

String SampleRateValue(Integer AFormatKey, std::u16string_view AText) {
    Integer sampleRate;
    if (!TryStrToInt(AText, sampleRate)) return String(AText);
    const Integer accepted = AcceptedSampleRateOf(AFormatKey, sampleRate);
    if (accepted == sampleRate) return String(AText);
    GetLogger()->Log(nullptr, llWarning, u"Sample rate %d Hz is not taken by %s in %s: %d Hz is used",
                     {sampleRate, AudioEncoderOf(AFormatKey), OutputExtensionOf(AFormatKey), accepted});
    return IntToStr(accepted);
}

Integer AcceptedSampleRate(std::u16string_view AEncoder, std::u16string_view AExtension,
                           Integer ASampleRate) {
    if (ASampleRate <= 0) return ASampleRate;
    const auto muxerTakes = [&](Integer ARate) {
        for (const TMuxerRates& muxer : kMuxerSampleRates)
            if (AExtension == muxer.Extension && AEncoder == muxer.Encoder) return muxer.Takes(ARate);
        return true;
    };
    std::span<const Integer> rates;
    for (const TEncoderRates& encoder : kEncoderSampleRates)
        if (AEncoder == encoder.Encoder) rates = encoder.Rates;
    if (rates.empty()) return ASampleRate;
    std::optional<Integer> best;
    for (const Integer rate : rates)
        if (muxerTakes(rate) && (!best || std::abs(rate - ASampleRate) < std::abs(*best - ASampleRate)))
            best = rate;
    return best.value_or(ASampleRate);
}

void ApplyParameterText(TStagingFields& AStaging, Integer AFormatKey, TPresetParameter AParameter,
                        const TParameterTexts& ATexts) {
    const String& text = ATexts[AParameter];
    switch (AParameter) {
        case ppFrameSize:
            AStaging.Video_FrameSize = FrameSizeValue(text);
            break;
        case ppFrameRate:
            AStaging.Video_FrameRate = FrameRateValue(text);
            break;
        case ppVideoBitrate:
            AStaging.Video_VideoBitrate = VideoBitrateValue(AFormatKey, text);
            break;
        case ppSampleRate:
            AStaging.Video_AudioSampleRate = SampleRateValue(AFormatKey, text);
            break;
        case ppAudioBitrate:
            AStaging.Video_AudioBitrate = AudioBitrateValue(AFormatKey, text, ATexts[ppSampleRate]);
            break;
        case ppPictureMode:
            PictureModeRatio(text, AStaging.Video_FrameAspectRatio);
            break;
    }
}

void ApplyParameterTexts(TStagingFields& AStaging, Integer AFormatKey, const TParameterTexts& ATexts) {
    for (const TPresetParameter parameter : ValueOrder)
        ApplyParameterText(AStaging, AFormatKey, parameter, ATexts);
}

std::vector<TRowWrite> ChooseParameter(TStagingFields& AStaging, Integer AFormatKey,
                                       TPresetParameter AParameter, Integer AItemIndex,
                                       const TParameterTexts& ATexts, std::span<const String> ARow) {
    const auto column = [&](Integer ASubItem) {
        return ASubItem < static_cast<Integer>(ARow.size()) ? std::u16string_view(ARow[ASubItem])
                                                            : std::u16string_view();
    };
    std::vector<TRowWrite> writes;
    // The position is recorded before the value is worked out.
    writes.push_back({ColComboIndices, ReplaceComboIndex(column(ColComboIndices), AParameter, AItemIndex)});
    ApplyParameterText(AStaging, AFormatKey, AParameter, ATexts);
    writes.push_back({ValueColumn(AParameter), ColumnText(AStaging, AParameter)});
    if (AParameter == ppSampleRate) {
        // The shown audio bit rate may give another value at the new rate.
        ApplyParameterText(AStaging, AFormatKey, ppAudioBitrate, ATexts);
        const String bitrate = IntToStr(AStaging.Video_AudioBitrate);
        if (bitrate != column(ColAudioBitrate)) writes.push_back({ColAudioBitrate, bitrate});
    }
    return writes;
}

void DeriveOutputOptions(const TStagingFields& AStaging, TOutputOptions& AOptions) {
    const TStagingFields& S = AStaging;
    if (S.Video_VideoCodec == u"libx264") {
        AOptions.VideoCodec = u"libx264";
        AOptions.VideoPreset = u"libx264-default";
    } else if (!S.Video_VideoCodec.empty()) {
        AOptions.VideoCodec = S.Video_VideoCodec;
        AOptions.VideoPreset.clear();
    }
    if (!S.Video_AudioCodec.empty() && S.Video_AudioCodec != u"AUTO")
        AOptions.AudioCodec = S.Video_AudioCodec;
    if (!S.Video_FrameRate.empty()) AOptions.FrameRate = S.Video_FrameRate;
    AOptions.DisableVideo = S.Video_DisableVideo;
    if (!S.Video_AudioChannels.empty()) AOptions.AudioChannels = StrToInt(S.Video_AudioChannels);
    if (!S.Video_AudioSampleRate.empty() && S.Video_AudioSampleRate != u"AUTO")
        AOptions.AudioSampleRate = StrToInt(S.Video_AudioSampleRate);
    if (!S.Video_FrameSize.empty()) AOptions.FrameSize = S.Video_FrameSize;
    if (!S.Video_TargetType.empty()) {
        AOptions.TargetType = S.Video_TargetType == u"vcd"    ? ttVCD
                              : S.Video_TargetType == u"svcd" ? ttSVCD
                              : S.Video_TargetType == u"dvd"  ? ttDVD
                                                              : ttIgnore;
    }
    AOptions.NormType = S.Video_NormType == u"PAL" ? ntPAL : S.Video_NormType == u"NTSC" ? ntNTSC : ntAuto;
    AOptions.AudioVolume = S.Video_AudioVolume == u"256" ? 256 : StrToInt(S.Video_AudioVolume);
    if (!S.Video_FrameAspectRatio.empty()) AOptions.FrameAspectRatio = S.Video_FrameAspectRatio;
    if (S.Video_AudioBitrate != -1000 && S.Video_AudioBitrate != -2000)
        AOptions.AudioBitrate = S.Video_AudioBitrate;
    if (!S.Video_FileFormat.empty()) AOptions.FileFormat = S.Video_FileFormat;
    if (!S.Video_VideoFilters.empty()) AOptions.VideoFilters = S.Video_VideoFilters;
    if (!S.Video_VideoTag.empty()) AOptions.VideoTag = S.Video_VideoTag;
    if (S.Video_VideoBitrate != -1000) AOptions.VideoBitrate = S.Video_VideoBitrate;
}
