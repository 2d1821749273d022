#include "media/ffutils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"

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
