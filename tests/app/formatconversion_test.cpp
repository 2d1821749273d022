// Every format of the catalogue, with its default parameter choices, and one
// refused audio bit rate of each limited encoder, converted by the task
// component from a short clip with sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "app/formatcatalogue.h"
#include "media/ffmpegloader.h"
#include "media/strovix.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"
#include "platform/base/ustring.h"
#include "tests/media/mediatest.h"

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

constexpr const char* MovFamily = "mov,mp4,m4a,3gp,3g2,mj2";

// What each format writes: container, video and audio codec.
struct TWritten {
    const char* Format;
    const char* Video;  // nullptr: no video stream
    const char* Audio;
    std::vector<Integer> Keys;
};

const TWritten kWritten[] = {
    {"avi", "mpeg4", "mp3", {0, 1502, 1505, 2100, 2200, 2300}},  // tagged XVID
    {"avi", "mpeg4", "mp3", {2, 1500, 1504, 2102, 2202, 2302}},  // tagged DX50
    {"avi", "mpeg4", "mp3", {4, 200, 201, 900, 901, 902, 907, 1503, 1506, 2106, 2206, 2306}},
    {"avi", "h264", "mp3", {1501, 2101, 2201, 2301}},
    {"avi", "msmpeg4v2", "mp3", {807}},
    {"avi", "msmpeg4v3", "mp3", {808}},
    {"avi", "wmv2", "mp3", {806}},
    {MovFamily, "mpeg4", "mp3", {1, 203, 803, 809, 1000, 1001, 1303, 1305, 2105, 2205, 2305}},
    {MovFamily,
     "mpeg4",
     "aac",
     {400, 401, 402, 404, 405, 500, 503, 703, 704, 804, 903, 905, 1200, 1202, 1204, 1205}},
    {MovFamily, "h264", "mp3", {202, 1002, 1004}},
    {MovFamily, "h264", "aac", {403, 501, 502, 504, 700, 701, 702, 800, 904, 1003, 1201, 1203}},
    {MovFamily, "h264", "aac", {3, 204}},                // ".mov"
    {MovFamily, "mpeg4", "aac", {9, 2107, 2207, 2307}},  // ".3gp"
    {"matroska,webm", "mpeg4", "mp3", {5, 1600, 1602, 1603, 1604, 1605, 1606}},
    {"matroska,webm", "mpeg4", "aac", {209}},
    {"matroska,webm", "h264", "mp3", {1601}},
    {"mpeg", "mpeg1video", "mp2", {6, 13, 1300, 1301, 1310, 2112, 2212, 2314}},
    {"mpeg",
     "mpeg2video",
     "mp2",
     {7, 12, 1302, 1306, 1307, 1309, 2103, 2104, 2111, 2203, 2204, 2211, 2303, 2304, 2313}},
    {"mpeg", "mpeg2video", "ac3", {11, 208, 802, 1304, 1308, 2110, 2210, 2312}},
    {"mpeg", "mpeg2video", "ac3", {801}},                                            // ".mpeg"
    {"mpeg", "mpeg2video", "ac3", {207, 2000, 2001, 2002, 2003, 2004, 2005, 2311}},  // ".vob"
    {"asf", "wmv2", "wmav2", {10, 206, 805, 906, 1700, 1701, 1702, 1703, 1704, 1705, 1706, 2108, 2208, 2308}},
    {"asf", "msmpeg4v3", "wmav2", {8, 205}},
    {"asf", nullptr, "wmav2", {101}},
    {"flv", "flv1", "mp3", {1100, 2109, 2209, 2309}},
    {"flv", nullptr, "mp3", {1102}},
    {"swf", "flv1", "mp3", {1101, 2310}},
    {"swf", nullptr, "mp3", {1103}},
    {"rm", "rv20", "ac3", {14}},
    {"rm", nullptr, "ac3", {106}},
    {"mp3", nullptr, "mp3", {100}},
    {"wav", nullptr, "pcm_s16le", {102}},
    {"aac", nullptr, "aac", {103}},
    {MovFamily, nullptr, "aac", {104, 111}},
    {"ogg", nullptr, "vorbis", {105}},
    {"ac3", nullptr, "ac3", {107}},
    {"aiff", nullptr, "pcm_s16be", {108}},
    {"mp3", nullptr, "mp2", {109}},  // the MPEG audio reader reads Layer II too
    {"flac", nullptr, "flac", {110}},
};

constexpr uint32_t FourCC(const char (&ATag)[5]) {
    return static_cast<uint32_t>(ATag[0]) | static_cast<uint32_t>(ATag[1]) << 8 |
           static_cast<uint32_t>(ATag[2]) << 16 | static_cast<uint32_t>(ATag[3]) << 24;
}

// An audio bit rate each limited encoder refuses at the picked sample rate.
struct TRefusedRate {
    Integer Key;
    const char16_t* AudioBitrate;
    const char16_t* SampleRate;
};
const TRefusedRate kRefusedRates[] = {
    {109, u"144 kbps", u"48000"},  // MP2, MPEG-1
    {6, u"192 kbps", u"22050"},    // MP2, MPEG-2
    {1309, u"16 kbps", u"44100"},  // the SVCD target's MP2
    {101, u"16 kbps", u"44100"},   // WMA v2
    {105, u"16 kbps", u"44100"},   // Vorbis, too low
    {105, u"320 kbps", u"11025"},  // Vorbis, too high
};

struct TConversion {
    Integer Key;
    String Output;
};

class FormatConversionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(TranscoderLibraries)) << Text(LibLoader.LastErrMsg());
        const auto folder = std::filesystem::path(::testing::TempDir()) / "velqua-formats";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Folder = UTF8ToString(folder.string());
        Strovix = std::make_unique<TStrovix>(nullptr);
        Strovix->SetVerbose(-1);
        Strovix->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex == -1)
                RunEnded.SetEvent();
            else
                Ends[AInfo.TaskIndex] = AInfo;
        });
    }
    void TearDown() override {
        Strovix.reset();
        WaitForSelfFreeingThreads();
        LibLoader.Unload(TranscoderLibraries);
    }

    // A file added as the add commands add it: the codec data, the output
    // name among the rows' names, the chosen texts, the derived options.
    void Add(Integer AKey, const TParameterTexts& ATexts) {
        TStagingFields staging;
        staging.Video_AddFileName = TestDataFile(u"task.avi");
        ASSERT_TRUE(ApplyCodecData(staging, AKey, Folder, false, RowNames));
        ApplyParameterTexts(staging, AKey, ATexts);
        TOutputOptions options;
        DeriveOutputOptions(staging, options);
        const Integer task = Strovix->AddTask(staging.Video_AddFileName);
        ASSERT_EQ(task, static_cast<Integer>(Conversions.size())) << Text(Strovix->LastErrMsg());
        ASSERT_TRUE(Strovix->SetOutputFile(task, staging.Video_OutPutFileName, &options))
            << AKey << ": " << Text(Strovix->LastErrMsg());
        RowNames.push_back(staging.Video_OutPutFileName.substr(Folder.size() + 1));
        Conversions.push_back({AKey, staging.Video_OutPutFileName});
    }

    static TParameterTexts DefaultTexts(Integer AKey) {
        TParameterTexts texts;
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
            const TPresetChoice& choice = PresetOf(AKey)->Choices[parameter];
            texts[parameter] = choice.List->Items[choice.Default];
        }
        return texts;
    }

    void ExpectWritten(const TConversion& AConversion, const TWritten& AWritten) {
        const Integer key = AConversion.Key;
        const TProbedFile file = ProbeMedia(AConversion.Output);
        ASSERT_TRUE(file.Opened) << key;
        EXPECT_EQ(file.Format, AWritten.Format) << key;
        const TProbedStream* video = file.Find(AVMEDIA_TYPE_VIDEO);
        const TProbedStream* audio = file.Find(AVMEDIA_TYPE_AUDIO);
        ASSERT_NE(audio, nullptr) << key;
        EXPECT_EQ(audio->Codec, AWritten.Audio) << key;
        EXPECT_GT(audio->Packets, 0) << key;
        if (AWritten.Video) {
            ASSERT_NE(video, nullptr) << key;
            EXPECT_EQ(video->Codec, AWritten.Video) << key;
            EXPECT_GT(video->Packets, 0) << key;
        } else {
            EXPECT_EQ(video, nullptr) << key;
        }
        // The reader of SWF gives no times; in the others the packets span
        // about the clip's half second. (Starts only: Ogg's reader may give
        // the last packet a length of 2^32 samples.)
        if (file.Format != "swf") {
            const auto span = [](const TProbedStream* AStream) {
                if (!AStream || AStream->Times.empty()) return 0.0;
                return *std::max_element(AStream->Times.begin(), AStream->Times.end()) - AStream->Start;
            };
            const double longest = std::max(span(audio), span(video));
            EXPECT_GT(longest, 0.3) << key;
            EXPECT_LT(longest, 1.5) << key;
        }
        if (video) {
            const std::u16string_view tag = SettledCodecData(*CodecDataOf(key)).VideoTag;
            if (file.Format == "avi" && tag == u"XVID") {
                EXPECT_EQ(video->Tag, FourCC("XVID")) << key;
            }
            if (file.Format == "avi" && tag == u"DX50") {
                EXPECT_EQ(video->Tag, FourCC("DX50")) << key;
            }
            // The MP4 muxer's own tag in place of DX50.
            if (key == 1205) {
                EXPECT_EQ(video->Tag, FourCC("mp4v"));
            }
        }
    }

    String Folder;
    std::unique_ptr<TStrovix> Strovix;
    std::vector<String> RowNames;
    std::vector<TConversion> Conversions;
    std::map<Integer, TTerminateInfo> Ends;
    TEvent RunEnded;
};

TEST_F(FormatConversionTest, EveryFormatConvertsOrNamesItsMissingEncoder) {
    std::map<Integer, const TWritten*> written;
    for (const TWritten& row : kWritten)
        for (const Integer key : row.Keys)
            ASSERT_TRUE(written.emplace(key, &row).second) << key;
    ASSERT_EQ(written.size(), 165u);

    for (const Integer key : FormatKeys()) {
        const String missing = UnavailableEncoder(key);
        if (!missing.empty()) {
            EXPECT_EQ(key, 112);
            EXPECT_EQ(Text(missing), "libopencore_amrnb");
            continue;
        }
        ASSERT_TRUE(written.count(key)) << key;
        Add(key, DefaultTexts(key));
    }
    const size_t defaults = Conversions.size();
    ASSERT_EQ(defaults, 165u);
    for (const TRefusedRate& refused : kRefusedRates) {
        TParameterTexts texts = DefaultTexts(refused.Key);
        texts[ppAudioBitrate] = refused.AudioBitrate;
        texts[ppSampleRate] = refused.SampleRate;
        Add(refused.Key, texts);
    }
    // One base name for every file: the rows' outputs are numbered apart.
    EXPECT_EQ(std::set<String>(RowNames.begin(), RowNames.end()).size(), RowNames.size());

    Strovix->Start(1);
    ASSERT_EQ(RunEnded.WaitFor(280000), wrSignaled);
    ASSERT_EQ(Ends.size(), Conversions.size());
    for (size_t task = 0; task < Conversions.size(); ++task) {
        const TConversion& conversion = Conversions[task];
        const TTerminateInfo& end = Ends[static_cast<Integer>(task)];
        EXPECT_TRUE(end.Finished && !end.Exception)
            << conversion.Key << " to " << Text(conversion.Output) << ": " << Text(end.ExceptionMsg);
        if (end.Finished) ExpectWritten(conversion, *written.at(conversion.Key));
    }
}

}  // namespace
