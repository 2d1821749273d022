#include "media/ffutils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "media/avcodecstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "mediatest.h"

namespace {

TEST(PTSToTimeText, HoursAreNotWrapped) {
    const struct {
        Int64 pts;
        const char16_t* text;
    } cases[] = {
        {AV_NOPTS_VALUE, u"N/A"},
        {0, u"00:00:00.000"},
        {3723456789, u"01:02:03.456"},
        {Int64{100} * 3600 * 1000000, u"100:00:00.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTSToTimeText(c.pts), c.text);
}

TEST(FrameRateToPeriod, MicrosecondsPerFrame) {
    EXPECT_EQ(FrameRateToPeriod({25, 1}), 40000);
    EXPECT_EQ(FrameRateToPeriod({30000, 1001}), 1001000000LL / 30000);
    EXPECT_EQ(FrameRateToPeriod({0, 0}), 40000);
    EXPECT_EQ(FrameRateToPeriod({25, 0}), 40000);
}

TEST(AVErrorText, ClassicTextsForOldAndCurrentCodes) {
    const struct {
        Integer code;
        const char16_t* text;
    } cases[] = {
        {AVERROR(ENOENT), u"x: No such file or directory"},
        {AVERROR_INVALIDDATA, u"x: Invalid data found when processing input"},
        {-22, u"x: Invalid data found when processing input"},
        {AVERROR_EOF, u"x: End of file"},
        {AVERROR_PATCHWELCOME, u"x: Not yet implemented in FFmpeg"},
        {-1163346256, u"x: Not yet implemented in FFmpeg"},
        {AVERROR_PROTOCOL_NOT_FOUND, u"x: Unsupported network protocol"},
        {-99, u"x: Error number -99 occurred"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AVErrorText(u"x", c.code), c.text) << c.code;
}

TEST(MediaTypeName, KnownAndUnknownTypes) {
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_VIDEO), u"Video");
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_ATTACHMENT), u"Attachment");
    EXPECT_EQ(MediaTypeName(-1), u"Unknown");
    EXPECT_EQ(MediaTypeName(9), u"Unknown");
}

class WithLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(ProbeLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
    }
    void TearDown() override { LibLoader.Unload(ProbeLibraries); }
};

TEST_F(WithLibraries, CodecNamesFromCodecsIdsAndTags) {
    AVCodecParameters parameters{};
    parameters.codec_id = AV_CODEC_ID_MP3;
    EXPECT_EQ(CodecNameText(&parameters, false), u"mp3float(MP3 (MPEG audio layer 3))");
    parameters.codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecNameText(&parameters, true), u"mpeg2ts");
    parameters.codec_id = AV_CODEC_ID_NONE;
    parameters.codec_tag = MKTAG('a', 'v', 'c', '1');
    EXPECT_EQ(CodecNameText(&parameters, false), u"avc1 / 0x31637661");
    parameters.codec_tag = 0x1A;
    EXPECT_EQ(CodecNameText(&parameters, false), u"0x001A");
}

TEST_F(WithLibraries, MetadataValueOrDefault) {
    AVDictionary* metadata = nullptr;
    avutil::av_dict_set(&metadata, "title", "高清", 0);
    EXPECT_EQ(MetadataValue(metadata, "TITLE", u"-"), u"高清");
    EXPECT_EQ(MetadataValue(metadata, "artist", u"-"), u"-");
    EXPECT_EQ(MetadataValue(nullptr, "title", u"none"), u"none");
    avutil::av_dict_free(&metadata);
}

TEST_F(WithLibraries, ReadWholeFileAddsAZeroByte) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "velqua-stats.log";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("pass one", f);
    std::fclose(f);
    char* buffer = nullptr;
    Integer size = 0;
    ASSERT_EQ(ReadWholeFile(file.c_str(), buffer, size), 0);
    EXPECT_EQ(size, 9);
    EXPECT_STREQ(buffer, "pass one");
    avutil::av_free(buffer);
    EXPECT_EQ(ReadWholeFile("/nonexistent/velqua.log", buffer, size), -1);
    std::filesystem::remove(file);
}

}  // namespace

namespace {

class FFOptionsTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        InitFFOptions(Options);
        AllocFFOptions(Options, SWS_BICUBIC);
        Log = std::make_unique<TLogCapture>();
    }
    void TearDown() override {
        Log.reset();
        FreeFFOptions(Options);
        MediaTest::TearDown();
    }
    Int64 BitRate(int AType) const { return Options.avcodec_opts[AType]->bit_rate; }

    TFFOptions Options;
    std::unique_ptr<TLogCapture> Log;
};

TEST_F(FFOptionsTest, KnownNamesAreSetAndRemembered) {
    const Int64 audioDefault = BitRate(AVMEDIA_TYPE_AUDIO);
    // Not known as such: the letter names the type and the rest the option.
    EXPECT_TRUE(SetFFOption(Options, "vb", "800000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_VIDEO), 800000);
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_AUDIO), audioDefault);
    EXPECT_TRUE(SetFFOption(Options, "g", "12"));
    EXPECT_EQ(Options.avcodec_opts[AVMEDIA_TYPE_VIDEO]->gop_size, 12);
    EXPECT_TRUE(SetFFOption(Options, "probesize", "5000000"));
    EXPECT_EQ(Options.avformat_opts->probesize, 5000000);
    EXPECT_TRUE(SetFFOption(Options, "sws_flags", "neighbor"));
    EXPECT_EQ(Options.opt_names, (std::vector<AnsiString>{"b", "g", "probesize", "sws_flags"}));
    EXPECT_TRUE(Log->Lines.empty());
}

TEST_F(FFOptionsTest, UnknownNamesAndEmptyTextsAreRefusedSilently) {
    const struct {
        const char* name;
        const char* value;
    } cases[] = {
        {"nosuchoption", "1"}, {"vnosuchoption", "1"}, {"", "1"}, {"  ", "1"}, {"b", " "},
        {nullptr, "1"},        {"b", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(SetFFOption(Options, c.name, c.value)) << (c.name ? c.name : "nil");
    EXPECT_TRUE(Options.opt_names.empty());
    EXPECT_TRUE(Log->Lines.empty());
}

TEST_F(FFOptionsTest, InvalidValuesAreLoggedAndRefused) {
    EXPECT_FALSE(SetFFOption(Options, "b", "fast"));
    EXPECT_FALSE(SetFFOption(Options, "scan_offset", "maybe"));
    // FFmpeg says why in lines of its own.
    EXPECT_THAT(Log->Lines, ::testing::IsSupersetOf({u"Invalid value \"fast\" for option \"b\"",
                                                     u"Invalid value \"maybe\" for option \"scan_offset\""}));
    EXPECT_TRUE(Options.opt_names.empty());
    EXPECT_EQ(Options.codec_private_opts[AVMEDIA_TYPE_VIDEO], nullptr);
}

TEST_F(FFOptionsTest, CodecPrivateOptionsAreKeptForTheirMediaType) {
    EXPECT_TRUE(SetFFOption(Options, "scan_offset", "1"));
    EXPECT_TRUE(Options.opt_names.empty());
    AVDictionary* video = CodecPrivateOptions(Options, AVMEDIA_TYPE_VIDEO);
    AVDictionary* audio = CodecPrivateOptions(Options, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(MetadataValue(video, "scan_offset", u"-"), u"1");
    EXPECT_EQ(audio, nullptr);
    avutil::av_dict_free(&video);
    EXPECT_EQ(CodecPrivateOptions(Options, 7), nullptr);
}

TEST_F(FFOptionsTest, MuxerPrivateOptionsAreKeptForTheMuxers) {
    EXPECT_TRUE(SetFFOption(Options, "muxrate", "1411200"));
    EXPECT_FALSE(SetFFOption(Options, "preload", "soon"));
    EXPECT_THAT(Log->Lines, ::testing::Contains(u"Invalid value \"soon\" for option \"preload\""));
    EXPECT_TRUE(Options.opt_names.empty());
    AVDictionary* muxer = MuxerPrivateOptions(Options);
    EXPECT_EQ(MetadataValue(muxer, "muxrate", u"-"), u"1411200");
    EXPECT_EQ(MetadataValue(muxer, "preload", u"-"), u"-");
    avutil::av_dict_free(&muxer);
}

TEST_F(FFOptionsTest, ApplyCopiesOptionsWhoseFlagsMatch) {
    ASSERT_TRUE(SetFFOption(Options, "b", "640000"));
    ASSERT_TRUE(SetFFOption(Options, "g", "7"));
    const AVCodec* encoder = avcodec::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* target = avcodec::avcodec_alloc_context3(encoder);
    ApplyFFOptions(Options, target, Options.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                   AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(target->bit_rate, 640000);
    EXPECT_EQ(target->gop_size, 7);
    avcodec::avcodec_free_context(&target);

    target = avcodec::avcodec_alloc_context3(nullptr);
    const int gop = target->gop_size;
    ApplyFFOptions(Options, target, Options.avcodec_opts[AVMEDIA_TYPE_VIDEO], AV_OPT_FLAG_AUDIO_PARAM);
    EXPECT_EQ(target->gop_size, gop);
    avcodec::avcodec_free_context(&target);
}

TEST_F(FFOptionsTest, DebugOptionRaisesTheLogLevel) {
    GetLogger()->SetLogLevel(llInfo);
    ASSERT_TRUE(SetFFOption(Options, "debug", "pict"));
    EXPECT_EQ(GetLogger()->LogLevel(), llDebug);
}

}  // namespace
