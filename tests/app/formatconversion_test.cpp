// Every format of the catalogue converted as the program converts it: for
// each, two clips added as a user adds them with the format's default
// choices, rows selected again and moved, the whole list run from Start.
// Every output, whichever row it came from, is read with the ffprobe command
// and is of the container its name and caption give, with the codecs of the
// format and the frame size, frame rate, sample rate, channels and audio bit
// rate the pickers showed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "ffprobe.h"
#include "runfixture.h"

namespace {

// What each format writes: the container (the MP4 family told apart by its
// brand), the video and the audio codec.
struct TWritten {
    const char* Container;
    const char* Video;  // nullptr: no video stream
    const char* Audio;
    std::vector<Integer> Keys;
};

const TWritten kWritten[] = {
    {"avi", "mpeg4", "mp3", {0, 1502, 1505, 2100, 2200, 2300}},  // tagged XVID
    {"avi", "mpeg4", "mp3", {2, 1500, 1504, 2102, 2202, 2302}},  // tagged DX50
    {"avi", "mpeg4", "mp3", {4, 200, 201, 809, 900, 901, 902, 907, 1503, 1506, 2106, 2206, 2306}},
    {"avi", "h264", "mp3", {1501, 2101, 2201, 2301}},
    {"avi", "msmpeg4v2", "mp3", {807}},
    {"avi", "msmpeg4v3", "mp3", {808}},
    {"mp4", "mpeg4", "mp3", {1, 203, 803, 1000, 1001, 1303, 1305, 2105, 2205, 2305}},
    {"mp4",
     "mpeg4",
     "aac",
     {400, 401, 402, 404, 405, 500, 503, 703, 704, 804, 903, 905, 1200, 1202, 1204, 1205}},
    {"mp4", "h264", "mp3", {202, 1002, 1004}},
    {"mp4", "h264", "aac", {403, 501, 502, 504, 700, 701, 702, 800, 904, 1003, 1201, 1203}},
    {"mov", "h264", "aac", {3, 204}},
    {"3gp", "mpeg4", "aac", {9, 2107, 2207, 2307}},
    {"matroska", "mpeg4", "mp3", {5, 1600, 1602, 1603, 1604, 1605, 1606}},
    {"matroska", "mpeg4", "aac", {209}},
    {"matroska", "h264", "mp3", {1601}},
    {"mpeg", "mpeg1video", "mp2", {6, 13, 1300, 1301, 1310, 2112, 2212, 2314}},
    {"mpeg",
     "mpeg2video",
     "mp2",
     {7, 12, 1302, 1306, 1307, 1309, 2103, 2104, 2111, 2203, 2204, 2211, 2303, 2304, 2313}},
    {"mpeg", "mpeg2video", "ac3", {11, 208, 801, 802, 1304, 1308, 2110, 2210, 2312}},
    {"mpeg", "mpeg2video", "ac3", {207, 2000, 2001, 2002, 2003, 2004, 2005, 2311}},  // ".vob"
    {"asf", "wmv2", "wmav2", {10, 206, 805, 906, 1700, 1701, 1702, 1703, 1704, 1705, 1706, 2108, 2208, 2308}},
    {"asf", "wmv2", "mp3", {806}},
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
    {"m4a", nullptr, "aac", {104, 111}},
    {"ogg", nullptr, "vorbis", {105}},
    {"ac3", nullptr, "ac3", {107}},
    {"aiff", nullptr, "pcm_s16be", {108}},
    {"mp3", nullptr, "mp2", {109}},  // the MPEG audio reader reads Layer II too
    {"flac", nullptr, "flac", {110}},
};

// ffprobe's format name, and the brand of the MP4 family's members.
std::pair<std::string, std::string> FormatOf(const std::string& AContainer) {
    const std::map<std::string, std::string> brands = {
        {"mp4", "isom"}, {"mov", "qt  "}, {"3gp", "3gp4"}, {"m4a", "M4A "}};
    if (brands.count(AContainer)) return {"mov,mp4,m4a,3gp,3g2,mj2", brands.at(AContainer)};
    if (AContainer == "matroska") return {"matroska,webm", ""};
    return {AContainer, ""};
}

// The clips: 160x120 at 25 fps, mono sound.
constexpr Integer SourceWidth = 160, SourceHeight = 120, SourceChannels = 1;
constexpr double SourceRate = 25;

// What the pickers show for a format after it is chosen: its default texts.
struct TShown {
    Integer Width, Height;  // the source's for "keep"
    double FrameRate;
    Integer SampleRate, AudioBitrate;
};

TShown ShownFor(Integer AKey) {
    const TPreset& preset = *PresetOf(AKey);
    const auto text = [&](TPresetParameter AParameter) {
        const TPresetChoice& choice = preset.Choices[AParameter];
        return StringToUTF8(choice.List->Items[choice.Default]);
    };
    TShown shown{SourceWidth, SourceHeight, SourceRate, 0, 0};
    const std::string size = text(ppFrameSize);
    if (const size_t star = size.find('*'); star != std::string::npos) {
        shown.Width = std::stoi(size.substr(0, star));
        shown.Height = std::stoi(size.substr(star + 1));
    }
    const std::string rate = text(ppFrameRate);
    if (!rate.empty() && std::isdigit(static_cast<unsigned char>(rate[0]))) shown.FrameRate = std::stod(rate);
    shown.SampleRate = std::stoi(text(ppSampleRate));
    shown.AudioBitrate = Integer(std::lround(std::stod(text(ppAudioBitrate)) * 1000));
    return shown;
}

// "30000/1001" as a number.
double Rational(const std::string& AText) {
    const size_t slash = AText.find('/');
    if (slash == std::string::npos) return std::stod(AText);
    const double denominator = std::stod(AText.substr(slash + 1));
    return denominator == 0 ? 0 : std::stod(AText.substr(0, slash)) / denominator;
}

class FormatConversion : public Run {
protected:
    // The clip for a key in a folder of the batch's: "<key>.avi".
    String KeyClip(const char* AFolder, Integer AKey) {
        const fs::path folder = FRoot / "clips" / AFolder;
        fs::create_directories(folder);
        const fs::path path = folder / (std::to_string(AKey) + ".avi");
        fs::copy_file(StringToUTF8(TestDataFile(u"task.avi")), path, fs::copy_options::overwrite_existing);
        return UTF8ToString(path.string());
    }

    // One output against what its key writes and what its pickers showed.
    void ExpectWritten(Integer AKey, const TWritten& AWritten, const String& AOutput) {
        SCOPED_TRACE(std::to_string(AKey) + " to " + StringToUTF8(AOutput));
        std::map<std::string, std::string> file = FFprobe(StringToUTF8(AOutput));
        ASSERT_FALSE(file.empty());
        const auto [format, brand] = FormatOf(AWritten.Container);
        EXPECT_EQ(file["format.format_name"], format);
        if (!brand.empty()) {
            EXPECT_EQ(file["format.tags.major_brand"], brand);
        }
        const auto stream = [&](const char* AType) -> std::string {
            for (int i = 0; file.count("streams.stream." + std::to_string(i) + ".codec_type"); ++i)
                if (file["streams.stream." + std::to_string(i) + ".codec_type"] == AType)
                    return "streams.stream." + std::to_string(i) + ".";
            return {};
        };
        const TShown shown = ShownFor(AKey);
        const std::string audio = stream("audio"), video = stream("video");
        ASSERT_FALSE(audio.empty());
        EXPECT_EQ(file[audio + "codec_name"], AWritten.Audio);
        EXPECT_EQ(file[audio + "sample_rate"], std::to_string(shown.SampleRate));
        // The disc targets write stereo; the other formats without a channel
        // count keep the source's.
        const TCodecData& data = *CodecDataOf(AKey);
        const std::u16string_view channels = data.AudioChannels;
        const Integer expectedChannels = !channels.empty()  ? channels[0] - u'0'
                                         : *data.TargetType ? 2
                                                            : SourceChannels;
        EXPECT_EQ(file[audio + "channels"], std::to_string(expectedChannels));
        // The shown rate, or the nearest one the encoder takes (the value rule's).
        ExpectAudioBitrate(AWritten.Audio, file[audio + "bit_rate"],
                           AcceptedAudioBitrate(AudioEncoderOf(AKey), shown.SampleRate, shown.AudioBitrate));
        if (!AWritten.Video) {
            EXPECT_TRUE(video.empty());
            return;
        }
        ASSERT_FALSE(video.empty());
        EXPECT_EQ(file[video + "codec_name"], AWritten.Video);
        EXPECT_EQ(file[video + "width"], std::to_string(shown.Width));
        EXPECT_EQ(file[video + "height"], std::to_string(shown.Height));
        // Matroska's millisecond times read back 29.97 fps as 30.
        const double closeEnough = std::string(AWritten.Container) == "matroska" ? 0.05 : 0.01;
        EXPECT_NEAR(Rational(file[video + "r_frame_rate"]), shown.FrameRate, closeEnough);
    }

    // Constant bit rate encoders keep the picked rate closely; the others
    // only roughly over half a second.
    static void ExpectAudioBitrate(const std::string& ACodec, const std::string& AWritten, Integer AShown) {
        if (ACodec.starts_with("pcm_") || ACodec == "flac" || ACodec == "vorbis") return;
        if (AWritten.empty() || AWritten == "N/A") return;
        const double tolerance = ACodec == "aac" ? 0.35 : 0.05;
        EXPECT_NEAR(std::stod(AWritten), AShown, AShown * tolerance) << ACodec;
    }
};

TEST_F(FormatConversion, EveryFormatConvertsAsItsPickersShowFromEveryRow) {
    StartWith("3");
    std::map<Integer, const TWritten*> written;
    for (const TWritten& row : kWritten)
        for (const Integer key : row.Keys)
            ASSERT_TRUE(written.emplace(key, &row).second) << key;
    ASSERT_EQ(written.size(), 165u);

    // Two clips of one base name per format, chosen together: the first
    // added (the second named) is the rest of the batch, the other the
    // selected row.
    for (const Integer key : FormatKeys()) {
        // AMR-NB: no encoder in these libraries, refused at the add.
        if (key == 112) continue;
        // A click beside the rows first: a format picked for a selected row
        // is that row's.
        Form1->lvFiles->SetSelected(nullptr);
        ChooseFormat(key);
        Form1->AddFiles({KeyClip("selected", key), KeyClip("batch", key)});
    }
    ASSERT_EQ(Rows()->Count(), 330);
    EXPECT_FALSE(UnavailableEncoder(112).empty());
    // Rows selected again and moved, down and up, as a user does.
    for (Integer row = 5; row < Rows()->Count(); row += 7)
        Form1->lvFiles->SetItemIndex(row);
    for (Integer row = 3; row + 1 < Rows()->Count(); row += 11) {
        Form1->lvFiles->SetItemIndex(row);
        Form1->qxSkinButton4->Click();
        Form1->qxSkinButton3->Click();
        Form1->qxSkinButton4->Click();
    }

    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }, 280000));
    EXPECT_TRUE(Boxes.empty()) << StringToUTF8(Texts.empty() ? String() : Texts[0]);
    std::set<String> names;
    for (Integer row = 0; row < Rows()->Count(); ++row) {
        const fs::path input = StringToUTF8(Rows()->Item(row)->Caption());
        const Integer key = std::stoi(input.stem().string());
        const bool batch = input.parent_path().filename() == "batch";
        const String name = UTF8ToString(input.stem().string() + (batch ? "" : "_1")) +
                            ExtensionFromCaption(FormatCaptionOf(key));
        EXPECT_EQ(Cell(row, ColOutputFile), name) << key;
        EXPECT_EQ(Cell(row, ColProgress), u"100%") << key;
        names.insert(Cell(row, ColOutputFile));
        ExpectWritten(key, *written.at(key), Output(StringToUTF8(name).c_str()));
    }
    EXPECT_EQ(names.size(), 330u);
}

}  // namespace
