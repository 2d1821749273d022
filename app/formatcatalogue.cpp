#include "app/formatcatalogue.h"

#include <algorithm>
#include <vector>

namespace {

// The format lists by category code, each caption by its format position.
const char16_t* const kCode2[] = {
    u"高清AVI视频格式(*.avi)",    u"高清AVI视频格式(*.avi)", u"高清H264视频格式(*.mp4)",
    u"高清MPEG-4视频格式(*.mp4)", u"高清MOV视频格式(*.mov)", u"高清ASF视频格式(*.asf)",
    u"高清WMV视频格式(*.wmv)",    u"高清DVD视频格式(*.vob)", u"高清MPEG-2视频格式(*.mpg)",
    u"高清MKV视频格式(*.mkv)",
};
const char16_t* const kCode0[] = {
    u"AVI - 音频视频交错格式(*.avi)", u"MP4 - MPEG-4视频格式(*.mp4)",
    u"DivX - 视频格式(*.avi)",        u"MOV - 苹果QuickTime视频格式(*.mov)",
    u"XviD - 视频格式(*.avi)",        u"MKV - Matroska视频格式(*.mkv)",
    u"MPEG-1视频格式(*.mpg)",         u"MPEG-2视频格式(*.mpg)",
    u"ASF - 高级流视频格式(*.asf)",   u"3GP - 视频格式(*.3gp)",
    u"WMV - 视频格式(*.wmv)",         u"DVD - 视频格式(*.mpg)",
    u"SVCD - 视频格式(*.mpg)",        u"VCD - 视频格式(*.mpg)",
    u"RM - REAL视频格式(*.rm)",
};
const char16_t* const kCode17[] = {
    u"WMV标准视频(*.wmv)",         u"HD高清WMV视频(*.wmv)",
    u"网络上常用的WMV视频(*.wmv)", u"电脑上常用的WMV标准视频(*.wmv)",
    u"优化的WMV视频(*.wmv)",       u"高压缩的WMV视频(*.wmv)",
    u"高清的HD WMV视频(*.wmv)",
};
const char16_t* const kCode20[] = {
    u"VOB标准视频(*.vob)",     u"HD高清VOB视频(*.vob)",
    u"高清DVD视频格式(*.vob)", u"电脑上常用的VOB标准视频(*.vob)",
    u"优化的VOB视频(*.vob)",   u"高压缩的VOB视频(*.vob)",
};
const char16_t* const kCode21[] = {
    u"MTS转换为标准AVI视频(*.avi)",     u"Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)",
    u"Sony AVCHD高清视频格式(*.avi)",   u"MTS转换为MPEG-2视频格式标准视频(*.mpg)",
    u"MTS转换为MPG视频格式(*.mpg)",     u"MTS转换为MP4视频(*.mp4)",
    u"MTS转换为AVI视频(*.avi)",         u"MTS转换为3GP视频(*.3gp)",
    u"MTS转换为电脑常用WMV视频(*.wmv)", u"MTS转换为网络在线常用FLV视频(*.flv)",
    u"MTS视频转换为DVD视频(*.mpg)",     u"MTS视频转换为SVCD视频(*.mpg)",
    u"MTS视频转换为VCD视频(*.mpg)",
};
const char16_t* const kCode22[] = {
    u"MOD视频转换为标准AVI视频(*.avi)",
    u"JVC HD高清MOD视频转换为HD高清AVI视频(*.avi)",
    u"JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)",
    u"MOD视频转换为MPEG-2视频格式标准视频(*.mpg)",
    u"MOD视频转换为MPG视频格式(*.mpg)",
    u"MOD视频转换为MP4视频(*.mp4)",
    u"MOD视频转换为AVI视频(*.avi)",
    u"MOD视频转换为3GP视频(*.3gp)",
    u"MOD视频转换为电脑常用WMV视频(*.wmv)",
    u"MOD视频转换为网络在线常用FLV视频(*.flv)",
    u"MOD视频转换为DVD视频(*.mpg)",
    u"MOD视频转换为SVCD视频(*.mpg)",
    u"MOD视频转换为VCD视频(*.mpg)",
};
const char16_t* const kCode23[] = {
    u"RMVB视频转换为标准AVI视频(*.avi)",     u"HD高清RMVB视频转换为HD高清AVI视频(*.avi)",
    u"RM视频格式，转换为AVI视频格式(*.avi)", u"RMVB视频转换为MPEG-2视频格式标准视频(*.mpg)",
    u"RMVB视频转换为MPG视频格式(*.mpg)",     u"RMVB视频转换为MP4视频(*.mp4)",
    u"RMVB视频转换为AVI视频(*.avi)",         u"RMVB视频转换为3GP视频(*.3gp)",
    u"RMVB视频转换为电脑常用WMV视频(*.wmv)", u"RMVB视频转换为网络在线常用FLV视频(*.flv)",
    u"RMVB视频转换为SWF视频(*.swf)",         u"RMVB视频转换为VOB视频(*.vob)",
    u"RMVB视频转换为DVD视频(*.mpg)",         u"RMVB视频转换为SVCD视频(*.mpg)",
    u"RMVB视频转换为VCD视频(*.mpg)",
};
const char16_t* const kCode16[] = {
    u"MKV标准视频(*.mkv)",         u"HD高清MKV视频(*.mkv)",
    u"网络上常用的MKV视频(*.mkv)", u"电脑上常用的MKV标准视频(*.mkv)",
    u"优化的MKV视频(*.mkv)",       u"高压缩的MKV视频(*.mkv)",
    u"高清的HD MKV视频(*.mkv)",
};
const char16_t* const kCode4[] = {
    u"iPhone MPEG-4视频(*.mp4)",          u"iPhone MPEG-4视频480P(*.mp4)",
    u"iPhone MPEG-4视频宽屏(*.mp4)",      u"iPhone MPEG-4高清晰视频(*.mp4)",
    u"iPhone MPEG-4视频(320X240)(*.mp4)", u"iPhone MPEG-4视频(480X320)(*.mp4)",
};
const char16_t* const kCode10[] = {
    u"MP4机播放的MP4视频格式(*.mp4)", u"电脑上使用的MP4视频格式(*.mp4)",
    u"MPEG-4视频高清晰视频(*.mp4)",   u"MP4 AVC视频(*.mp4)",
    u"MP4 H264编码视频(*.mp4)",
};
const char16_t* const kCode7[] = {
    u"Apple TV H264视频(320X240)(*.mp4)",
    u"Apple TV H264视频480P(640X480)(*.mp4)",
    u"Apple TV H264视频720P(1280X720)(*.mp4)",
    u"Apple TV H264高清晰视频480P(640X480)(*.mp4)",
    u"Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",
};
const char16_t* const kCode5[] = {
    u"PSP MPEG-4视频(*.mp4)",      u"PSP AVC MPEG-4视频(*.mp4)",       u"PSP高清晰MPEG-4视频(*.mp4)",
    u"PSP高压缩MPEG-4视频(*.mp4)", u"PSP Video MPEG-4视频480P(*.mp4)",
};
const char16_t* const kCode8[] = {
    u"Xbox360 HD H.264视频(*.mp4)",      u"Xbox360 MCE HD MPEG-2视频(*.mpg)",
    u"Xbox360 MCE HD MPEG-2视频(*.mpg)", u"Xbox360 MPEG-4视频(*.mp4)",
    u"Xbox360 MP4高清晰视频(*.mp4)",     u"Xbox360 WMV视频(*.wmv)",
    u"Xbox360 WMV HDTV视频(*.wmv)",      u"Xbox360 MCE 高清晰AVI视频(*.avi)",
    u"Xbox360 MCE 高清晰AVI视频(*.avi)", u"Xbox360 MCE 高清晰AVI视频(*.avi)",
};
const char16_t* const kCode9[] = {
    u"爱可视AV500/GMini402视频(*.avi)", u"爱可视AV700视频(*.avi)",     u"Creative Zen Vision视频(*.avi)",
    u"Zune MPEG-4 AVC视频(*.mp4)",      u"Zune MPEG-4 AVC视频(*.mp4)", u"Zune MPEG-4视频(*.mp4)",
    u"Zune WMV多媒体视频(*.wmv)",       u"iRiver PMP-100视频(*.avi)",
};
const char16_t* const kCode11[] = {
    u"FLV在线网络视频(*.flv)",
    u"SWF动画视频FLASH动画视频(*.swf)",
    u"FLV在线网络音频格式(*.flv)",
    u"SWF动画视频FLASH动画音频格式(*.swf)",
};
const char16_t* const kCode12[] = {
    u"iPad标准视频格式(*.mp4)",
    u"iPad高清视频格式H.264编码(*.mp4)",
    u"iPad MPEG-4视频格式 XviD编码 (*.mp4)",
    u"iPad 720P HD高清晰视频MPEG-4(*.mp4)",
    u"iPad 优化视频方案1(*.mp4)",
    u"iPad 优化视频方案2(*.mp4)",
};
const char16_t* const kCode13[] = {
    u"MPG标准视频(*.mpg)",      u"MPEG-1标准视频(*.mpg)",   u"MPEG-2标准视频(*.mpg)",
    u"MPEG-4标准视频(*.mp4)",   u"MPEG-2高清HD视频(*.mpg)", u"MPEG-4高清HD视频(*.mp4)",
    u"MPEG-2优化视频(*.mpg)",   u"MPEG-2高压缩视频(*.mpg)", u"DVD格式高清晰视频(*.mpg)",
    u"SVCD格式标清视频(*.mpg)", u"VCD格式清晰视频(*.mpg)",
};
const char16_t* const kCode15[] = {
    u"AVI标准视频(*.avi)",         u"HD高清晰AVI标准视频(*.avi)", u"网络上常用的AVI视频(*.avi)",
    u"电脑上常用的AVI视频(*.avi)", u"优化的AVI视频(*.avi)",       u"高压缩的AVI视频(*.avi)",
    u"高清的HD AVI视频(*.avi)",
};
const char16_t* const kCode1[] = {
    u"MP3 - MPEG Layer-3音频格式(*.mp3)",
    u"WMA - Windows媒体音频格式(*.wma)",
    u"WAV - 波形音频格式(*.wav)",
    u"AAC - 高级音频格式(*.aac)",
    u"M4A - MPEG-4音频格式(*.m4a)",
    u"OGG - Ogg Vorbis音频格式(*.ogg)",
    u"RA - RealAudio音频格式(*.ra)",
    u"AC3 - 杜比数字AC-3音频格式(*.ac3)",
    u"AIFF - 音频交换文件格式(*.aiff)",
    u"MP2 - MPEG Layer-2音频格式(*.mp2)",
    u"FLAC-音频格式(*.flac)",
    u"MP4-MP4音频格式(*.m4a)",
    u"AMR-手机音频格式(*.amr)",
};

const TFormatCategory kCategories[CategoryCount] = {
    {u"高清格式", 2, kCode2},   {u"视频格式", 0, kCode0},  {u"WMV格式", 17, kCode17},
    {u"VOB格式", 20, kCode20},  {u"MTS格式", 21, kCode21}, {u"MOD格式", 22, kCode22},
    {u"RMVB格式", 23, kCode23}, {u"MKV格式", 16, kCode16}, {u"iPhone格式", 4, kCode4},
    {u"MP4格式", 10, kCode10},  {u"APPLE格式", 7, kCode7}, {u"PSP格式", 5, kCode5},
    {u"XboX格式", 8, kCode8},   {u"PMP格式", 9, kCode9},   {u"Flash格式", 11, kCode11},
    {u"iPad格式", 12, kCode12}, {u"MPG格式", 13, kCode13}, {u"AVI格式", 15, kCode15},
    {u"音频格式", 1, kCode1},
};

const TFormatCategory* CategoryOfCode(Integer ACategoryCode) {
    for (const TFormatCategory& category : kCategories)
        if (category.Code == ACategoryCode) return &category;
    return nullptr;
}

std::vector<Integer> MakeFormatKeys() {
    std::vector<Integer> keys;
    for (const TFormatCategory& category : kCategories)
        for (size_t position = 0; position < category.Formats.size(); ++position)
            keys.push_back(category.Code * 100 + static_cast<Integer>(position));
    std::sort(keys.begin(), keys.end());
    return keys;
}

const char16_t* const kParameterCombos[PresetParameterCount] = {u"qxSkinComboBox1",  u"qxSkinComboBox2",
                                                                u"qxSkinComboBox9",  u"qxSkinComboBox3",
                                                                u"qxSkinComboBox10", u"qxSkinComboBox4"};

}  // namespace

std::span<const TFormatCategory> FormatCategories() {
    return kCategories;
}

Integer CategoryCodeOf(Integer ACategoryPosition) {
    if (ACategoryPosition < 0 || ACategoryPosition >= CategoryCount) return -1;
    return kCategories[ACategoryPosition].Code;
}

std::span<const char16_t* const> FormatsOfCode(Integer ACategoryCode) {
    const TFormatCategory* category = CategoryOfCode(ACategoryCode);
    return category ? category->Formats : std::span<const char16_t* const>();
}

std::span<const char16_t* const> FormatCaptions(Integer ACategoryPosition) {
    return FormatsOfCode(CategoryCodeOf(ACategoryPosition));
}

Integer FormatKeyOf(Integer ACategoryPosition, Integer AFormatPosition) {
    const Integer code = CategoryCodeOf(ACategoryPosition);
    if (code < 0 || AFormatPosition < 0 ||
        AFormatPosition >= static_cast<Integer>(FormatsOfCode(code).size()))
        return -1;
    return code * 100 + AFormatPosition;
}

std::span<const Integer> FormatKeys() {
    static const std::vector<Integer> keys = MakeFormatKeys();
    return keys;
}

String FormatCaptionOf(Integer AFormatKey) {
    if (AFormatKey < 0) return String();
    const std::span<const char16_t* const> formats = FormatsOfCode(AFormatKey / 100);
    const size_t position = static_cast<size_t>(AFormatKey % 100);
    return position < formats.size() ? String(formats[position]) : String();
}

String ExtensionFromCaption(std::u16string_view ACaption) {
    // The four characters before the closing ")": the extension with its dot
    // when it has three letters; the longer and shorter ones are named.
    if (ACaption.size() < 5) return String();
    const String four(ACaption.substr(ACaption.size() - 5, 4));
    if (four == u"flac") return u".flac";
    if (four == u"aiff") return u".aiff";
    if (four == u"*.rm") return u".rm";
    if (four == u"*.ra") return u".ra";
    return four;
}

Integer StoredSelection(Integer ACategoryPosition, Integer AFormatPosition) {
    return (ACategoryPosition + 1) * 100 + AFormatPosition;
}

TFormatPositions PositionsOfStoredSelection(Integer AValue) {
    const Integer q = AValue / 100;
    return {q - 1, AValue - 100 * q};
}

const char16_t* ParameterComboName(TPresetParameter AParameter) {
    return kParameterCombos[AParameter];
}

const std::array<const char16_t*, 8> HandOffOrder = {
    u"qxSkinOfficeComboBox2", u"qxSkinOfficeComboBox1", u"qxSkinComboBox1", u"qxSkinComboBox2",
    u"qxSkinComboBox9",       u"qxSkinComboBox4",       u"qxSkinComboBox3", u"qxSkinComboBox10"};

void CopyChoicePositions(
    const std::function<Integer(const char16_t* AName)>& AReadPosition,
    const std::function<void(const char16_t* AName, Integer APosition)>& AWritePosition) {
    for (const char16_t* name : HandOffOrder)
        AWritePosition(name, AReadPosition(name));
}
