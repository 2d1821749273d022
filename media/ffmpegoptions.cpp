// The engine's option table: SetOption, its handlers, the direct setters and
// the target presets.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unordered_map>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeg.h"
#include "media/ffmpeglogger.h"
#include "media/myutils.h"
#include "platform/base/clock.h"
#include "platform/base/fileutils.h"

const char16_t* const TargetFrameRates[3] = {u"25", u"30000/1001", u"24000/1001"};

namespace {

using TOptionHandler = void (*)(TCustomFFmpeg& AEngine, const String& AName, const String& AValue);

void Log(TCustomFFmpeg& AEngine, TLogLevel ALevel, const String& AMessage) {
    GetLogger()->Log(&AEngine, ALevel, AMessage);
}

// strtol's reading, kept within Integer so that a huge index is refused as an
// index instead of wrapping round.
Integer ReadInteger(const char*& AText, int ABase) {
    char* end = nullptr;
    const long value = std::strtol(AText, &end, ABase);
    AText = end;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<Integer>(value);
}

void SkipOneChar(const char*& AText) {
    if (*AText) ++AText;
}

// The text with its line breaks as line feeds.
String NormalizeLineBreaks(std::u16string_view AText) {
    return StringReplace(StringReplace(AText, u"\r\n", u"\n", rfReplaceAll), u"\r", u"\n", rfReplaceAll);
}

// One setting of a target preset, made in order: a generic option, or one of
// the settings made directly ("$..."). NTSCValue, when given, serves NTSC and
// FILM.
struct TTargetSetting {
    const char16_t* Name;
    const char16_t* Value = nullptr;
    const char16_t* NTSCValue = nullptr;
};

struct TTarget {
    const char16_t* Name;
    const char16_t* VideoCodec;
    const char16_t* AudioCodec;
    const char16_t* Format;
    const char16_t* PALSize;
    const char16_t* NTSCSize;
    std::vector<TTargetSetting> Settings;
};

const TTarget kTargets[] = {
    {u"vcd",
     u"mpeg1video",
     u"mp2",
     u"vcd",
     u"352x288",
     u"352x240",
     {{u"$r"},
      {u"g", u"15", u"18"},
      {u"b", u"1150000"},
      {u"maxrate", u"1150000"},
      {u"minrate", u"1150000"},
      {u"bufsize", u"327680"},
      {u"ab", u"224000"},
      {u"$ar", u"44100"},
      {u"$ac", u"2"},
      {u"packetsize", u"2324"},
      {u"muxrate", u"1411200"},
      {u"$muxpreload", u"0.44"},
      {u"$aspect", u"4:3"}}},
    {u"svcd",
     u"mpeg2video",
     u"mp2",
     u"svcd",
     u"480x576",
     u"480x480",
     {{u"$r"},
      {u"g", u"15", u"18"},
      {u"b", u"2040000"},
      {u"maxrate", u"2516000"},
      {u"minrate", u"0"},
      {u"bufsize", u"1835008"},
      // The "+scan_offset" flag is the MPEG-2 encoder's own option now.
      {u"scan_offset", u"1"},
      {u"ab", u"224000"},
      {u"$ar", u"44100"},
      {u"packetsize", u"2324"},
      {u"$stereo"},
      {u"$aspect", u"4:3"}}},
    {u"dvd",
     u"mpeg2video",
     u"ac3",
     u"dvd",
     u"720x576",
     u"720x480",
     {{u"$r"},
      {u"g", u"15", u"18"},
      {u"b", u"6000000"},
      {u"maxrate", u"9000000"},
      {u"minrate", u"0"},
      {u"bufsize", u"1835008"},
      {u"packetsize", u"2048"},
      {u"muxrate", u"10080000"},
      {u"ab", u"448000"},
      {u"$ar", u"48000"},
      {u"$stereo"},
      {u"$aspect", u"16:9"}}},
    {u"dv",
     nullptr,
     nullptr,
     u"dv",
     u"720x576",
     u"720x480",
     {{u"$pix_fmt", u"yuv420p", u"yuv411p"}, {u"$r"}, {u"$ar", u"48000"}, {u"$ac", u"2"}}},
    {u"dv50",
     nullptr,
     nullptr,
     u"dv",
     u"720x576",
     u"720x480",
     {{u"$pix_fmt", u"yuv422p"}, {u"$r"}, {u"$ar", u"48000"}, {u"$ac", u"2"}}},
};

const TOptionsPreset* FindBuiltinPreset(const String& AName) {
    for (const TOptionsPreset& preset : BuiltinPresets())
        if (SameText(UTF8ToString(preset.Name), AName)) return &preset;
    return nullptr;
}

}  // namespace

// --- Direct setters ---

void TCustomFFmpeg::SetIntOption(const AnsiString& AName, Integer AValue) {
    SetFFOption(FOptions, AName.c_str(), StringToUTF8(IntToStr(AValue)).c_str(), OptionTargets());
}

void TCustomFFmpeg::SetStartTime(Int64 AValue) {
    if (AValue != AV_NOPTS_VALUE) Fstart_time = AValue;
}

void TCustomFFmpeg::SetRecordingTime(Int64 AValue) {
    if (AValue == AV_NOPTS_VALUE) return;
    Frecording_time = AValue;
    FTotalOutputDuration = AValue;
}

void TCustomFFmpeg::SetProgramID(Integer AValue) {
    if (AValue >= 0) Fopt_programid = AValue;
}

void TCustomFFmpeg::SetAudioSampleRate(Integer AValue) {
    if (AValue > 0) Faudio_sample_rate = AValue;
}

void TCustomFFmpeg::SetAudioChannels(Integer AValue) {
    if (AValue > 0) Faudio_channels = AValue;
}

void TCustomFFmpeg::SetAudioVolume(Integer AValue) {
    if (AValue >= 0) Faudio_volume = AValue;
}

void TCustomFFmpeg::SetMuxMaxDelay(float AValue) {
    if (AValue > 0) Fmux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(float AValue) {
    if (AValue > 0) Fmux_preload = AValue;
}

void TCustomFFmpeg::AddMetadata(const AnsiString& AKey, const AnsiString& AValue) {
    Fmetadata.emplace_back(AKey, AValue);
    Fmetadata_count = static_cast<Integer>(Fmetadata.size());
}

// --- SetOption ---

namespace {

template <bool TCustomFFmpeg::*Field>
void SetFlag(TCustomFFmpeg& AEngine, const String&, const String& AValue) {
    AEngine.*Field = AValue != u"0";
}

template <Integer TCustomFFmpeg::*Field>
void SetInt(TCustomFFmpeg& AEngine, const String&, const String& AValue) {
    AEngine.*Field = StrToInt(AValue);
}

template <float TCustomFFmpeg::*Field>
void SetFloat(TCustomFFmpeg& AEngine, const String&, const String& AValue) {
    AEngine.*Field = static_cast<float>(StrToFloat(AValue));
}

template <AnsiString TCustomFFmpeg::*Field>
void SetText(TCustomFFmpeg& AEngine, const String&, const String& AValue) {
    AEngine.*Field = StringToUTF8(AValue);
}

}  // namespace

void TCustomFFmpeg::SetOption(const String& AName, const String& AValue) {
    using E = TCustomFFmpeg;
    static const std::unordered_map<String, TOptionHandler> kHandlers = [] {
        const TOptionHandler doNothing = [](E& e, const String& n, const String&) {
            Log(e, llInfo, u"Do nothing: option - " + n);
        };
        const TOptionHandler usePad = [](E&, const String&, const String&) {
            throw FFmpegException(u"Please use vfilters=pad");
        };
        std::unordered_map<String, TOptionHandler> h;
        for (const char16_t* name : {u"L", u"h", u"version", u"formats", u"codecs", u"bsfs", u"protocols",
                                     u"filters", u"i", u"y", u"benchmark"})
            h[name] = doNothing;
        for (const char16_t* name : {u"padtop", u"padbottom", u"padleft", u"padright", u"padcolor"})
            h[name] = usePad;
        h[u"threads"] = [](E&, const String& n, const String&) {
            throw FFmpegException(u"TODO: option - " + n);
        };
        h[u"timelimit"] = [](E& e, const String&, const String&) {
            Log(e, llWarning, u"Warning: -timelimit not implemented on Windows");
        };

        h[u"dump"] = SetFlag<&E::Fdo_pkt_dump>;
        h[u"hex"] = SetFlag<&E::Fdo_hex_dump>;
        h[u"re"] = SetFlag<&E::Frate_emu>;
        h[u"loop_input"] = SetFlag<&E::Floop_input>;
        h[u"shortest"] = SetFlag<&E::Fopt_shortest>;
        h[u"intra"] = SetFlag<&E::Fintra_only>;
        h[u"vn"] = SetFlag<&E::Fvideo_disable>;
        h[u"sameq"] = SetFlag<&E::Fsame_quality>;
        h[u"deinterlace"] = SetFlag<&E::Fdo_deinterlace>;
        h[u"psnr"] = SetFlag<&E::Fdo_psnr>;
        h[u"qphist"] = SetFlag<&E::Fqp_hist>;
        h[u"force_fps"] = SetFlag<&E::Fforce_fps>;
        h[u"an"] = SetFlag<&E::Faudio_disable>;
        h[u"sn"] = SetFlag<&E::Fsubtitle_disable>;
        h[u"isync"] = SetFlag<&E::Finput_sync>;
        h[u"copyts"] = [](E& e, const String&, const String&) { e.Fcopy_ts = true; };
        h[u"xerror"] = [](E& e, const String&, const String&) { e.Fexit_on_error = true; };

        h[u"fs"] = [](E& e, const String&, const String& v) { e.Flimit_filesize = StrToInt64(v); };
        h[u"vframes"] = [](E& e, const String&, const String& v) { e.Fmax_frames[0] = StrToInt(v); };
        h[u"aframes"] = [](E& e, const String&, const String& v) { e.Fmax_frames[1] = StrToInt(v); };
        h[u"dframes"] = [](E& e, const String&, const String& v) { e.Fmax_frames[2] = StrToInt(v); };
        h[u"loop_output"] = SetInt<&E::Floop_output>;
        h[u"v"] = SetInt<&E::Fverbose>;
        h[u"vsync"] = SetInt<&E::Fvideo_sync_method>;
        h[u"async"] = SetInt<&E::Faudio_sync_method>;
        h[u"vglobal"] = SetInt<&E::Fvideo_global_header>;
        h[u"programid"] = SetInt<&E::Fopt_programid>;
        h[u"copyinkf"] = SetInt<&E::Fcopy_initial_nonkeyframes>;
        h[u"vdt"] = SetInt<&E::Fvideo_discard>;
        h[u"me_threshold"] = SetInt<&E::Fme_threshold>;
        h[u"top"] = SetInt<&E::Ftop_field_first>;
        h[u"dc"] = SetInt<&E::Fintra_dc_precision>;
        h[u"vol"] = SetInt<&E::Faudio_volume>;
        h[u"vc"] = SetInt<&E::Fvideo_channel>;
        h[u"ar"] = [](E& e, const String&, const String& v) { e.SetAudioSampleRate(StrToInt(v)); };
        h[u"ac"] = [](E& e, const String&, const String& v) { e.SetAudioChannels(StrToInt(v)); };
        h[u"pass"] = [](E& e, const String&, const String& v) {
            const Integer pass = StrToInt(v);
            if (pass != 1 && pass != 2) throw FFmpegException(u"pass number can be only 1 or 2");
            e.Fdo_pass = pass;
        };

        h[u"adrift_threshold"] = SetFloat<&E::Faudio_drift_threshold>;
        h[u"dts_delta_threshold"] = SetFloat<&E::Fdts_delta_threshold>;
        h[u"aq"] = SetFloat<&E::Faudio_qscale>;
        h[u"muxdelay"] = SetFloat<&E::Fmux_max_delay>;
        h[u"muxpreload"] = SetFloat<&E::Fmux_preload>;
        h[u"qscale"] = [](E& e, const String&, const String& v) {
            const double q = StrToFloat(v);
            if (q <= 0 || q > 255) throw FFmpegException(u"qscale must be > 0.0 and <= 255");
            e.Fvideo_qscale = static_cast<float>(q);
        };

        h[u"vlang"] = SetText<&E::Fvideo_language>;
        h[u"alang"] = SetText<&E::Faudio_language>;
        h[u"slang"] = SetText<&E::Fsubtitle_language>;
        h[u"passlogfile"] = SetText<&E::Fpass_logfilename_prefix>;
        h[u"tvstd"] = SetText<&E::Fvideo_standard>;
        h[u"rc_override"] = SetText<&E::Fvideo_rc_override_string>;
        h[u"vstats_file"] = SetText<&E::Fvstats_filename>;
        h[u"vfilters"] = h[u"vf"] = [](E& e, const String&, const String& v) {
            if (!v.empty()) e.Fvfilters = StringToUTF8(v);
        };
        h[u"vstats"] = [](E& e, const String&, const String&) {
            e.Fvstats_filename =
                StringToUTF8(Format(u"%svstats_%s.log", {ProgramFolder(), FormatDateTime(u"hhnnss", Now())}));
        };

        for (const char16_t* name : {u"t", u"ss", u"itsoffset", u"timestamp"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptTime(n, v); };

        h[u"loglevel"] = [](E&, const String&, const String& v) { GetLogger()->OptLogLevel(v); };
        h[u"f"] = [](E& e, const String&, const String& v) { e.OptFormat(v); };
        for (const char16_t* name : {u"acodec", u"vcodec", u"scodec"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptCodec(n, v); };
        for (const char16_t* name : {u"atag", u"vtag", u"stag"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptCodecTag(n, v); };
        for (const char16_t* name : {u"b", u"vb", u"ab"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptBitrate(n, v); };
        h[u"r"] = [](E& e, const String&, const String& v) { e.OptFrameRate(v); };
        h[u"s"] = [](E& e, const String&, const String& v) { e.OptFrameSize(v); };
        h[u"aspect"] = [](E& e, const String&, const String& v) { e.OptFrameAspectRatio(v); };
        h[u"pix_fmt"] = [](E& e, const String&, const String& v) { e.OptPixelFormat(v); };
        h[u"sample_fmt"] = [](E& e, const String&, const String& v) { e.OptSampleFormat(v); };
        for (const char16_t* name : {u"croptop", u"cropbottom", u"cropleft", u"cropright"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptCrop(n, v); };
        h[u"intra_matrix"] = [](E& e, const String&, const String& v) { e.OptMatrix(e.Fintra_matrix, v); };
        h[u"inter_matrix"] = [](E& e, const String&, const String& v) { e.OptMatrix(e.Finter_matrix, v); };
        h[u"target"] = [](E& e, const String&, const String& v) { e.OptTarget(v); };
        for (const char16_t* name : {u"apre", u"vpre", u"spre", u"fpre"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptPreset(n, v); };
        for (const char16_t* name : {u"absf", u"vbsf", u"sbsf"})
            h[name] = [](E& e, const String& n, const String& v) { e.OptBitstreamFilter(n, v); };
        h[u"vhook"] = [](E& e, const String&, const String& v) { e.OptVideoHook(v); };
        h[u"map"] = [](E& e, const String&, const String& v) { e.OptMap(v); };
        h[u"map_meta_data"] = [](E& e, const String&, const String& v) { e.OptMapMetaData(v); };
        h[u"itsscale"] = [](E& e, const String&, const String& v) { e.OptInputTsScale(v); };
        h[u"metadata"] = [](E& e, const String&, const String& v) { e.OptMetadata(v); };
        h[u"newvideo"] = [](E& e, const String&, const String&) { e.OptNewVideo(); };
        h[u"newaudio"] = [](E& e, const String&, const String&) { e.OptNewAudio(); };
        h[u"newsubtitle"] = [](E& e, const String&, const String&) { e.OptNewSubtitle(); };
        h[u"streamid"] = [](E& e, const String& n, const String& v) { e.OptStreamId(n, v); };
        return h;
    }();
    const auto found = kHandlers.find(AName);
    if (found == kHandlers.end()) {
        OptDefault(AName, AValue);
        return;
    }
    found->second(*this, AName, AValue);
}

// --- Handlers ---

bool TCustomFFmpeg::OptDefault(const String& AName, const String& AValue) {
    return SetFFOption(FOptions, StringToUTF8(AName).c_str(), StringToUTF8(AValue).c_str(), OptionTargets());
}

TFFOptionTargets TCustomFFmpeg::OptionTargets() const {
    TFFOptionTargets targets;
    const std::pair<AVMediaType, const AnsiString*> named[] = {
        {AVMEDIA_TYPE_VIDEO, &Fvideo_codec_name},
        {AVMEDIA_TYPE_AUDIO, &Faudio_codec_name},
        {AVMEDIA_TYPE_SUBTITLE, &Fsubtitle_codec_name}};
    for (const auto& [type, name] : named) {
        const AVCodec* encoder =
            name->empty() ? nullptr : avcodec::avcodec_find_encoder_by_name(name->c_str());
        if (encoder && encoder->type == type) targets.Encoders[type] = encoder;
    }
    if (!Flast_asked_format.empty())
        targets.Muxer = avformat::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
    return targets;
}

void TCustomFFmpeg::OptTime(const String& AName, const String& AValue) {
    const bool date = AName == u"timestamp";
    int64_t time = 0;
    if (avutil::av_parse_time(&time, StringToUTF8(AValue).c_str(), date ? 0 : 1) < 0)
        throw FFmpegException(u"Invalid %s specification for %s: %s",
                              {date ? u"date" : u"duration", AName, AValue});
    if (AName == u"t") {
        SetRecordingTime(time);
    } else if (AName == u"ss") {
        Fstart_time = time;
    } else if (AName == u"itsoffset") {
        Finput_ts_offset = time;
    } else {
        Frecording_timestamp = Round(static_cast<double>(time) / 1000000);
    }
}

void TCustomFFmpeg::OptFormat(const String& AValue) {
    if (AValue.empty()) return;
    String format = AValue;
    if (format == u"pgmyuv") {
        Fpgmyuv_compatibility_hack = 1;
        format = u"image2";
        Log(*this, llInfo, u"pgmyuv format is deprecated, use image2");
    }
    Flast_asked_format = StringToUTF8(format);
}

void TCustomFFmpeg::OptCodec(const String& AName, const String& AValue) {
    if (AValue.empty()) return;
    AnsiString* name;
    Integer* copy;
    switch (AName[0]) {
        case u'a':
            name = &Faudio_codec_name;
            copy = &Faudio_stream_copy;
            break;
        case u'v':
            name = &Fvideo_codec_name;
            copy = &Fvideo_stream_copy;
            break;
        default:
            name = &Fsubtitle_codec_name;
            copy = &Fsubtitle_stream_copy;
            break;
    }
    name->clear();
    if (AValue == u"copy") {
        *copy = 1;
    } else {
        *name = StringToUTF8(AValue);
    }
}

void TCustomFFmpeg::OptCodecTag(const String& AName, const String& AValue) {
    if (AValue.empty()) return;
    const AnsiString tag = StringToUTF8(AValue);
    const char16_t* what = AName[0] == u'a' ? u"audio" : AName[0] == u'v' ? u"video" : u"subtitle";
    Assert(tag.size() == 4, Format(u"%s tag parameter must be 4 chars", {what}));
    const auto byte = [&tag](int AIndex) {
        return static_cast<Cardinal>(static_cast<unsigned char>(tag[AIndex]));
    };
    const Cardinal value = MKTAG(byte(0), byte(1), byte(2), byte(3));
    if (AName[0] == u'a') {
        Faudio_codec_tag = value;
    } else if (AName[0] == u'v') {
        Fvideo_codec_tag = value;
    } else {
        Fsubtitle_codec_tag = value;
    }
}

void TCustomFFmpeg::OptBitrate(const String& AName, const String& AValue) {
    if (!OptDefault(AName, AValue)) return;
    const AVCodecContext* context =
        FOptions.avcodec_opts[AName[0] == u'a' ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO];
    if (context && context->bit_rate < 1000)
        Log(*this, llWarning,
            u"WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
}

void TCustomFFmpeg::OptFrameRate(const String& AValue) {
    if (AValue.empty()) return;
    if (avutil::av_parse_video_rate(&Fframe_rate, StringToUTF8(AValue).c_str()) < 0)
        throw FFmpegException(u"Incorrect frame rate");
}

void TCustomFFmpeg::OptFrameSize(const String& AValue) {
    if (AValue.empty()) return;
    if (avutil::av_parse_video_size(&Fframe_width, &Fframe_height, StringToUTF8(AValue).c_str()) < 0)
        throw FFmpegException(u"Incorrect frame size");
}

void TCustomFFmpeg::OptFrameAspectRatio(const String& AValue) {
    if (AValue.empty()) return;
    double ratio;
    const Integer colon = Pos(u":", AValue);
    if (colon > 0) {
        const Integer x = StrToIntDef(Copy(AValue, 1, colon - 1), 0);
        const Integer y = StrToIntDef(Copy(AValue, colon + 1, static_cast<Integer>(AValue.size())), 0);
        ratio = y > 0 ? static_cast<double>(x) / y : 0;
    } else {
        ratio = StrToFloatDef(AValue, 0);
    }
    if (ratio == 0) throw FFmpegException(u"Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = static_cast<float>(ratio);
}

void TCustomFFmpeg::OptPixelFormat(const String& AValue) {
    if (AValue == u"list") {
        char text[128];
        for (int format = AV_PIX_FMT_NONE; format < AV_PIX_FMT_NB; ++format) {
            if (format >= 0 && !avutil::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format))) continue;
            avutil::av_get_pix_fmt_string(text, sizeof text, static_cast<AVPixelFormat>(format));
            Log(*this, llInfo, Trim(UTF8ToString(text)));
        }
        return;
    }
    Fframe_pix_fmt = avutil::av_get_pix_fmt(StringToUTF8(AValue).c_str());
    if (Fframe_pix_fmt == AV_PIX_FMT_NONE)
        throw FFmpegException(u"Unknown pixel format requested: %s", {AValue});
}

void TCustomFFmpeg::OptSampleFormat(const String& AValue) {
    if (AValue == u"list") {
        char text[128];
        for (int format = AV_SAMPLE_FMT_NONE; format < AV_SAMPLE_FMT_NB; ++format) {
            avutil::av_get_sample_fmt_string(text, sizeof text, static_cast<AVSampleFormat>(format));
            Log(*this, llInfo, Trim(UTF8ToString(text)));
        }
        return;
    }
    Faudio_sample_fmt = avutil::av_get_sample_fmt(StringToUTF8(AValue).c_str());
}

void TCustomFFmpeg::OptCrop(const String& AName, const String& AValue) {
    const Integer band = StrToInt(AValue);
    if (band <= 0) return;
    const bool vertical = AName == u"croptop" || AName == u"cropbottom";
    if (band >= (vertical ? Fframe_height : Fframe_width))
        throw FFmpegException(vertical ? u"Vertical crop dimensions are outside the range of the original "
                                         u"image.\nRemember to crop first and scale second."
                                       : u"Horizontal crop dimensions are outside the range of the original "
                                         u"image.\nRemember to crop first and scale second.");
    Log(*this, llWarning, u"CropXXX is deprecated in favor of the crop avfilter");
    if (AName == u"croptop") {
        Fframe_topBand = band;
    } else if (AName == u"cropbottom") {
        Fframe_bottomBand = band;
    } else if (AName == u"cropleft") {
        Fframe_leftBand = band;
    } else {
        Fframe_rightBand = band;
    }
    (vertical ? Fframe_height : Fframe_width) -= band;
}

void TCustomFFmpeg::OptMatrix(std::optional<std::array<Word, 64>>& AMatrix, const String& AValue) {
    AMatrix.emplace();
    AMatrix->fill(0);
    const AnsiString text = StringToUTF8(AValue);
    const char* p = text.c_str();
    for (Integer i = 0; i < 64; ++i) {
        const char* item = p;
        (*AMatrix)[i] = static_cast<Word>(ReadInteger(item, 10));
        if (i == 63) break;
        p = std::strchr(p, ',');
        if (!p) throw FFmpegException(u"Syntax error in matrix \"%s\" at coeff %d", {AValue, i});
        ++p;
    }
}

void TCustomFFmpeg::OptBitstreamFilter(const String& AName, const String& AValue) {
    if (AValue.empty() || AValue[0] == u'=') return;
    String name, args = AValue;
    TakeToken(args, u"=", true, name);
    const AVBitStreamFilter* filter = avcodec::av_bsf_get_by_name(StringToUTF8(name).c_str());
    if (!filter) throw FFmpegException(u"Unknown bitstream filter %s", {Trim(AValue)});
    TBitstreamFilterChain& chain = AName[0] == u'a'   ? Faudio_bitstream_filters
                                   : AName[0] == u'v' ? Fvideo_bitstream_filters
                                                      : Fsubtitle_bitstream_filters;
    chain.push_back({filter, StringToUTF8(args)});
}

void TCustomFFmpeg::OptVideoHook(const String& AValue) {
    // The C argument vector of the hook: at most 63 words and a closing nil.
    constexpr size_t kMaxWords = 63;
    AnsiString text = StringToUTF8(AValue);
    const char* separators = text.find('|') != AnsiString::npos ? "|" : " ";
    std::vector<char*> argv;
    char* state = nullptr;
    for (char* word = strtok_r(text.data(), separators, &state); word;
         word = strtok_r(nullptr, separators, &state))
        argv.push_back(word);
    const bool tooMany = argv.size() > kMaxWords;
    argv.push_back(nullptr);
    if (tooMany || AddFrameHook(FFirstHook, static_cast<Integer>(argv.size() - 1), argv.data()) != 0)
        throw FFmpegException(u"Failed to add video hook function: " + AValue);
    Fusing_vhook = true;
}

void TCustomFFmpeg::OptMap(const String& AValue) {
    if (Fnb_stream_maps >= static_cast<Integer>(Fstream_maps.size()))
        throw FFmpegException(u"Too many stream maps");
    const AnsiString text = StringToUTF8(AValue);
    const char* p = text.c_str();
    TAVStreamMap& map = Fstream_maps[Fnb_stream_maps];
    map.file_index = ReadInteger(p, 0);
    SkipOneChar(p);
    map.stream_index = ReadInteger(p, 0);
    if (*p) {
        SkipOneChar(p);
        map.sync_file_index = ReadInteger(p, 0);
        SkipOneChar(p);
        map.sync_stream_index = ReadInteger(p, 0);
    } else {
        map.sync_file_index = map.file_index;
        map.sync_stream_index = map.stream_index;
    }
    ++Fnb_stream_maps;
}

void TCustomFFmpeg::OptMapMetaData(const String& AValue) {
    if (Fnb_meta_data_maps >= static_cast<Integer>(Fmeta_data_maps.size()))
        throw FFmpegException(u"Too many metadata maps");
    const AnsiString text = StringToUTF8(AValue);
    const char* p = text.c_str();
    TAVMetaDataMap& map = Fmeta_data_maps[Fnb_meta_data_maps];
    map.out_file = ReadInteger(p, 0);
    SkipOneChar(p);
    map.in_file = ReadInteger(p, 0);
    ++Fnb_meta_data_maps;
}

void TCustomFFmpeg::OptInputTsScale(const String& AValue) {
    const AnsiString text = StringToUTF8(AValue);
    const char* p = text.c_str();
    const Integer stream = ReadInteger(p, 0);
    SkipOneChar(p);
    const double scale = std::strtod(p, nullptr);
    if (stream < 0 || stream >= MAX_STREAMS)
        throw FFmpegException(u"stream index over MAX_STREAMS(%d)", {MAX_STREAMS});
    if (Fnb_input_files >= FMaxFiles) throw FFmpegException(u"max input files %d reached", {FMaxFiles});
    Finput_files_ts_scale[Fnb_input_files][stream] = scale;
}

void TCustomFFmpeg::OptMetadata(const String& AValue) {
    const Integer at = Pos(u"=", AValue);
    if (at == 0) throw FFmpegException(u"Missing =");
    AddMetadata(StringToUTF8(Copy(AValue, 1, at - 1)),
                StringToUTF8(Copy(AValue, at + 1, static_cast<Integer>(AValue.size()))));
}

// --- Target presets ---

void TCustomFFmpeg::OptTarget(const String& AValue) {
    String target = Trim(AValue);
    String norm = u"auto";
    for (const char16_t* prefix : {u"pal", u"ntsc", u"film"}) {
        const String dashed = String(prefix) + u"-";
        if (Copy(target, 1, static_cast<Integer>(dashed.size())) == dashed) {
            norm = prefix;
            Delete(target, 1, static_cast<Integer>(dashed.size()));
            break;
        }
    }
    SetTarget(target, norm, u"ntsc");
}

void TCustomFFmpeg::SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm) {
    TTargetNorm norm;
    if (ANorm == u"pal") {
        norm = tnPAL;
    } else if (ANorm == u"ntsc") {
        norm = tnNTSC;
    } else if (ANorm == u"film") {
        norm = tnFILM;
    } else {
        if (Fframe_rate.den == 0) throw FFmpegException(u"frame_rate is invalid.");
        const auto normOf = [](Int64 AThousandths, bool& ADecided) {
            ADecided = AThousandths == 25000 || AThousandths == 29970 || AThousandths == 23976;
            return AThousandths == 25000 ? tnPAL : tnNTSC;
        };
        bool decided;
        norm = normOf(Round(Fframe_rate.num * 1000.0 / Fframe_rate.den), decided);
        for (Integer i = 0; i < Fnb_input_files && !decided; ++i) {
            const AVFormatContext* ic = Finput_files[i];
            for (unsigned j = 0; j < ic->nb_streams && !decided; ++j) {
                const AVStream* st = ic->streams[j];
                if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
                const AVRational base = avformat::av_stream_get_codec_timebase(st);
                if (base.num != 0) norm = normOf(Round(base.den * 1000.0 / base.num), decided);
            }
        }
        if (!decided) norm = ADefaultNorm == u"film" ? tnFILM : ADefaultNorm == u"ntsc" ? tnNTSC : tnPAL;
        if (Fverbose > 0)
            Log(*this, llVerbose, Format(u"Assuming %s for target.", {norm == tnPAL ? u"PAL" : u"NTSC"}));
    }

    const TTarget* target = nullptr;
    for (const TTarget& candidate : kTargets)
        if (ATarget == candidate.Name) target = &candidate;
    if (!target) throw FFmpegException(u"Unknown target type");
    const bool pal = norm == tnPAL;
    if (target->VideoCodec) OptCodec(u"vcodec", target->VideoCodec);
    if (target->AudioCodec) OptCodec(u"acodec", target->AudioCodec);
    OptFormat(target->Format);
    OptFrameSize(pal ? target->PALSize : target->NTSCSize);
    for (const TTargetSetting& setting : target->Settings) {
        const char16_t* text = pal || !setting.NTSCValue ? setting.Value : setting.NTSCValue;
        const String value = text ? text : u"";
        const std::u16string_view name = setting.Name;
        if (name == u"$pix_fmt") {
            OptPixelFormat(value);
        } else if (name == u"$r") {
            OptFrameRate(TargetFrameRates[norm]);
        } else if (name == u"$ar") {
            Faudio_sample_rate = StrToInt(value);
        } else if (name == u"$ac") {
            Faudio_channels = StrToInt(value);
        } else if (name == u"$stereo") {
            if (Faudio_channels == 1) Faudio_channels = 2;
        } else if (name == u"$muxpreload") {
            Fmux_preload = static_cast<float>(StrToFloat(value));
        } else if (name == u"$aspect") {
            if (Fframe_aspect_ratio != 0) continue;
            Log(*this, llInfo, Format(u"Assuming %s for aspect ratio", {value}));
            OptFrameAspectRatio(value);
        } else {
            OptDefault(String(name), value);
        }
    }
}

// --- Presets ---

void TCustomFFmpeg::OptPreset(const String& AName, const String& AValue) {
    if (AName.empty() || AValue.empty()) return;
    String presetName = AValue;
    String text;
    const TOptionsPreset* builtin = nullptr;
    if (AName != u"fpre") {
        builtin = FindBuiltinPreset(AValue);
        if (!builtin) {
            const AnsiString* codec = AName == u"vpre" && !Fvideo_codec_name.empty()   ? &Fvideo_codec_name
                                      : AName == u"apre" && !Faudio_codec_name.empty() ? &Faudio_codec_name
                                      : !Fsubtitle_codec_name.empty()                  ? &Fsubtitle_codec_name
                                                                                       : nullptr;
            if (codec) presetName = UTF8ToString(*codec) + u"-" + AValue;
            builtin = FindBuiltinPreset(presetName);
        }
    }
    if (builtin) {
        presetName = UTF8ToString(builtin->Name);
        text = UTF8ToString(builtin->Value);
    } else {
        // Only the file the value names: no search through other folders.
        if (!FileExists(AValue)) throw FFmpegException(u"Preset \"%s\" not found", {AValue});
        std::ifstream file(StringToUTF8(ExpandFileName(AValue)), std::ios::binary);
        text =
            UTF8ToString(AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
        presetName = AValue;
    }

    String rest = NormalizeLineBreaks(Trim(text));
    while (!rest.empty()) {
        String line;
        TakeToken(rest, u"\n", true, line);
        line = Trim(line);
        if (line.empty()) continue;
        const Integer at = Pos(u"=", line);
        const String key = at > 0 ? Copy(line, 1, at - 1) : line;
        const String value = at > 0 ? Copy(line, at + 1, static_cast<Integer>(line.size())) : String();
        if (key.empty() || value.empty())
            throw FFmpegException(u"%s: Invalid syntax: \"%s\"", {presetName, line});
        const String lowerKey = LowerCase(key);
        if (lowerKey == u"acodec" || lowerKey == u"vcodec" || lowerKey == u"scodec") {
            OptCodec(lowerKey, value);
        } else if (!OptDefault(key, value)) {
            throw FFmpegException(u"%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                  {presetName, line, key, value});
        }
    }
}
