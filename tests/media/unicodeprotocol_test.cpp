#include "media/unicodeprotocol.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "mediatest.h"

namespace {

// A lone surrogate does not survive UTF-8, the ANSI code page here: the only
// kind of name that needs wrapping.
const String kLoneSurrogate(1, char16_t(0xD800));

TEST(NeedsUnicodeWrap, OnlyNamesThatDoNotSurviveTheCodePage) {
    const struct {
        String name;
        bool wrap;
    } cases[] = {
        {u"/tmp/plain.avi", false},
        {u"/tmp/中文视频.avi", false},
        {u"/tmp/x" + kLoneSurrogate + u".avi", true},
        {u"udp:" + kLoneSurrogate, false},
        {u"unicode:utf8:/tmp/" + kLoneSurrogate, false},
        // The prefix test respects letter case.
        {u"UDP:" + kLoneSurrogate, true},
        // A drive letter is no protocol.
        {u"C:" + kLoneSurrogate, true},
        {u":" + kLoneSurrogate, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeedsUnicodeWrap(c.name), c.wrap) << StringToUTF8(c.name);
}

TEST(FFmpegFileName, PlainNamesPassAsTheirUTF8Form) {
    EXPECT_EQ(FFmpegFileName(u"/tmp/plain.avi"), "/tmp/plain.avi");
    EXPECT_EQ(FFmpegFileName(u"/tmp/中文.avi"), "/tmp/\xE4\xB8\xAD\xE6\x96\x87.avi");
    EXPECT_EQ(FFmpegFileName(u"/x" + kLoneSurrogate), "unicode:utf8:/x\xEF\xBF\xBD");
}

TEST(FFmpegFileName, LongNamesAreNotCut) {
    const String name = u"/tmp/" + String(3000, u'视');
    const AnsiString result = FFmpegFileName(name);
    EXPECT_EQ(result.size(), 5u + 3 * 3000u);
    EXPECT_EQ(FFmpegFileNameToWide(result.c_str()), name);
}

TEST(UnicodeWrap, WrappedNamesAndBack) {
    EXPECT_FALSE(IsUnicodeWrapped("unicode:utf8:"));
    EXPECT_TRUE(IsUnicodeWrapped("unicode:utf8:a"));
    EXPECT_FALSE(IsUnicodeWrapped("Unicode:utf8:a"));
    EXPECT_FALSE(IsUnicodeWrapped(nullptr));

    const AnsiString wrapped = WrapUnicodeFileName(u"/媒体/a:b.avi");
    EXPECT_EQ(wrapped, "unicode:utf8:/\xE5\xAA\x92\xE4\xBD\x93/a:b.avi");
    EXPECT_EQ(UnwrapUnicodeFileName(wrapped.c_str()), u"/媒体/a:b.avi");
    EXPECT_EQ(FFmpegFileNameToWide(wrapped.c_str()), u"/媒体/a:b.avi");
    EXPECT_EQ(FFmpegFileNameToWide("/媒体/a:b.avi"), u"/媒体/a:b.avi");
    EXPECT_EQ(FFmpegFileNameToWide(nullptr), u"");
}

class UnicodeFileTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        Folder = std::filesystem::temp_directory_path() / "velqua-unicode-协议";
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(Folder);
        MediaTest::TearDown();
    }
    AnsiString Wrapped(const char* AName) const { return UnicodeNamePrefix + (Folder / AName).string(); }
    static AnsiString ReadAll(const std::filesystem::path& APath) {
        std::ifstream in(APath, std::ios::binary);
        return AnsiString(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path Folder;
};

TEST_F(UnicodeFileTest, OpenReportsMissingFilesAndTruncatesForWriting) {
    TUnicodeFile file;
    EXPECT_EQ(UnicodeOpen(file, Wrapped("missing.bin").c_str(), URL_RDONLY), -2);
    EXPECT_EQ(file.Handle, -1);

    std::ofstream(Folder / "old.bin") << "old contents";
    ASSERT_EQ(UnicodeOpen(file, Wrapped("old.bin").c_str(), URL_WRONLY), 0);
    EXPECT_EQ(UnicodeClose(file), 0);
    EXPECT_EQ(std::filesystem::file_size(Folder / "old.bin"), 0u);
    ASSERT_EQ(UnicodeOpen(file, Wrapped("new.bin").c_str(), URL_RDWR), 0);
    EXPECT_EQ(UnicodeClose(file), 0);
    EXPECT_TRUE(std::filesystem::exists(Folder / "new.bin"));
}

TEST_F(UnicodeFileTest, CallbacksReadWriteAndSeekTheFile) {
    const AnsiString expected = ReadAll(TestDataPath(u"中文视频.avi"));
    TUnicodeFile file;
    ASSERT_EQ(UnicodeOpen(file, (UnicodeNamePrefix + TestDataPath(u"中文视频.avi")).c_str(), URL_RDONLY), 0);
    EXPECT_EQ(UnicodeSeek(&file, 0, AVSEEK_SIZE), static_cast<int64_t>(expected.size()));
    AnsiString read;
    uint8_t buffer[65536];
    int got;
    while ((got = UnicodeRead(&file, buffer, sizeof buffer)) > 0)
        read.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(got));
    // The end of the file is AVERROR_EOF: 0 would mean "try again".
    EXPECT_EQ(got, AVERROR_EOF);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(UnicodeSeek(&file, 1000, SEEK_SET | AVSEEK_FORCE), 1000);
    EXPECT_EQ(UnicodeSeek(&file, -10, SEEK_END), static_cast<int64_t>(expected.size()) - 10);
    EXPECT_EQ(UnicodeWrite(&file, buffer, 1), AVERROR(EBADF));
    EXPECT_EQ(UnicodeClose(file), 0);

    ASSERT_EQ(UnicodeOpen(file, Wrapped("输出.bin").c_str(), URL_RDWR), 0);
    uint8_t data[] = "written through the callbacks";
    EXPECT_EQ(UnicodeWrite(&file, data, sizeof data), static_cast<int>(sizeof data));
    EXPECT_EQ(UnicodeSeek(&file, 8, SEEK_SET), 8);
    ASSERT_EQ(UnicodeRead(&file, buffer, 7), 7);
    EXPECT_EQ(AnsiString(reinterpret_cast<const char*>(buffer), 7), "through");
    EXPECT_EQ(UnicodeClose(file), 0);
    EXPECT_EQ(ReadAll(Folder / "输出.bin"), AnsiString(reinterpret_cast<const char*>(data), sizeof data));
}

TEST_F(UnicodeFileTest, IOContextsServeWrappedNames) {
    AVIOContext* io = nullptr;
    ASSERT_EQ(UnicodeIOOpen(&io, Wrapped("写.bin").c_str(), AVIO_FLAG_WRITE), 0);
    EXPECT_TRUE(IsUnicodeIO(io));
    EXPECT_TRUE(io->write_flag);
    EXPECT_EQ(io->read_packet, nullptr);
    UnicodeIOClose(&io);
    EXPECT_EQ(io, nullptr);
    EXPECT_TRUE(std::filesystem::exists(Folder / "写.bin"));

    ASSERT_EQ(UnicodeIOOpen(&io, Wrapped("写.bin").c_str(), AVIO_FLAG_READ), 0);
    EXPECT_FALSE(io->write_flag);
    EXPECT_EQ(avformat::avio_size(io), 0);
    UnicodeIOClose(&io);

    EXPECT_EQ(UnicodeIOOpen(&io, Wrapped("no/such/folder.bin").c_str(), AVIO_FLAG_WRITE), AVERROR(ENOENT));
    EXPECT_EQ(io, nullptr);
    EXPECT_FALSE(IsUnicodeIO(nullptr));
}

TEST_F(UnicodeFileTest, WrappedNameDemuxesTheSamePackets) {
    const AnsiString plain = TestDataPath(u"中文视频.avi");
    const auto packets = [](const AnsiString& AName) {
        std::vector<std::tuple<int, int64_t, AnsiString>> result;
        AVFormatContext* context = nullptr;
        EXPECT_EQ(OpenInputFile(&context, AName.c_str(), nullptr, nullptr), 0) << AName;
        if (!context) return result;
        AVPacket* packet = avcodec::av_packet_alloc();
        while (avformat::av_read_frame(context, packet) >= 0) {
            result.emplace_back(packet->stream_index, packet->dts,
                                AnsiString(reinterpret_cast<const char*>(packet->data), packet->size));
            avcodec::av_packet_unref(packet);
        }
        avcodec::av_packet_free(&packet);
        CloseInputFile(&context);
        return result;
    };
    const auto expected = packets(plain);
    EXPECT_GT(expected.size(), 50u);
    EXPECT_EQ(packets(UnicodeNamePrefix + plain), expected);
}

// A parked input holds no descriptor, and reads on where it stood: parked
// after its opening and again every few packets, it gives the packets of an
// input read straight through (an MP4's tracks keep their reader too).
TEST_F(UnicodeFileTest, AParkedInputReadsOnWhereItStood) {
    for (const char16_t* fixture : {u"clip2.avi", u"interleaved.mp4", u"streams.mkv"}) {
        SCOPED_TRACE(StringToUTF8(fixture));
        const AnsiString name = TestDataPath(fixture);
        const auto packets = [&](bool APark) {
            std::vector<std::tuple<int, int64_t, AnsiString>> result;
            const long before = OpenDescriptors();
            AVFormatContext* context = nullptr;
            const auto open = APark ? OpenParkableInputFile : OpenInputFile;
            EXPECT_EQ(open(&context, name.c_str(), nullptr, nullptr), 0);
            if (!context) return result;
            EXPECT_EQ(IsUnicodeIO(context->pb), APark);
            if (APark) {
                EXPECT_EQ(avformat::avformat_find_stream_info(context, nullptr), 0);
                ParkInputFile(context);
                EXPECT_EQ(OpenDescriptors(), before);
            }
            AVPacket* packet = avcodec::av_packet_alloc();
            while (avformat::av_read_frame(context, packet) >= 0) {
                result.emplace_back(packet->stream_index, packet->dts,
                                    AnsiString(reinterpret_cast<const char*>(packet->data), packet->size));
                avcodec::av_packet_unref(packet);
                if (APark && result.size() % 7 == 0) ParkInputFile(context);
            }
            avcodec::av_packet_free(&packet);
            CloseInputFile(&context);
            EXPECT_EQ(OpenDescriptors(), before);
            return result;
        };
        const auto expected = packets(false);
        EXPECT_GT(expected.size(), 20u);
        EXPECT_EQ(packets(true), expected);
    }
}

// A parked input whose file went away says so when it is taken up again;
// one that never parked has nothing to take up.
TEST_F(UnicodeFileTest, AParkedInputWhoseFileWentAwaySaysSo) {
    const std::filesystem::path copy = Folder / "copy.avi";
    std::filesystem::copy_file(TestDataPath(u"中文视频.avi"), copy);
    AVFormatContext* context = nullptr;
    ASSERT_EQ(OpenParkableInputFile(&context, copy.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(ResumeInputFile(context), 0);
    ParkInputFile(context);
    std::filesystem::remove(copy);
    EXPECT_EQ(ResumeInputFile(context), AVERROR(ENOENT));
    CloseInputFile(&context);

    // Names that are no regular file open as they always did, and never park.
    ASSERT_EQ(
        OpenParkableInputFile(&context, ("file:" + TestDataPath(u"中文视频.avi")).c_str(), nullptr, nullptr),
        0);
    EXPECT_FALSE(IsUnicodeIO(context->pb));
    ParkInputFile(context);
    EXPECT_EQ(ResumeInputFile(context), 0);
    CloseInputFile(&context);
}

TEST_F(UnicodeFileTest, InputOpensWrappedNamesAndClosesTheirFiles) {
    const auto before = OpenDescriptors();
    for (const AnsiString& name :
         {TestDataPath(u"中文视频.avi"), UnicodeNamePrefix + TestDataPath(u"中文视频.avi")}) {
        AVFormatContext* context = nullptr;
        ASSERT_EQ(OpenInputFile(&context, name.c_str(), nullptr, nullptr), 0) << name;
        EXPECT_EQ(IsUnicodeIO(context->pb), IsUnicodeWrapped(name.c_str()));
        EXPECT_STREQ(context->iformat->name, "avi");
        EXPECT_EQ(context->nb_streams, 2u);
        EXPECT_STREQ(context->url, name.c_str());
        CloseInputFile(&context);
        EXPECT_EQ(context, nullptr);
    }
    AVFormatContext* context = nullptr;
    EXPECT_EQ(OpenInputFile(&context, Wrapped("missing.avi").c_str(), nullptr, nullptr), AVERROR(ENOENT));
    EXPECT_EQ(context, nullptr);
    std::ofstream(Folder / "junk.avi") << "not a media file at all";
    EXPECT_LT(OpenInputFile(&context, Wrapped("junk.avi").c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(context, nullptr);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(UnicodeFileTest, OutputOpensPlainAndWrappedNamesForWriting) {
    const std::pair<AnsiString, std::filesystem::path> files[] = {
        {(Folder / "plain.bin").string(), Folder / "plain.bin"},
        {Wrapped("包装.bin"), Folder / "包装.bin"},
    };
    for (const auto& [name, path] : files) {
        SCOPED_TRACE(name);
        std::ofstream(path) << "an older and longer text";
        AVIOContext* io = nullptr;
        ASSERT_EQ(OpenOutputIO(&io, name.c_str()), 0);
        EXPECT_EQ(IsUnicodeIO(io), IsUnicodeWrapped(name.c_str()));
        avformat::avio_write(io, reinterpret_cast<const unsigned char*>("data"), 4);
        CloseOutputIO(&io);
        EXPECT_EQ(io, nullptr);
        EXPECT_EQ(ReadAll(path), "data");
    }
    AVIOContext* io = nullptr;
    EXPECT_EQ(OpenOutputIO(&io, (Folder / "no/such/folder.bin").string().c_str()), AVERROR(ENOENT));
    EXPECT_EQ(OpenOutputIO(&io, Wrapped("no/such/folder.bin").c_str()), AVERROR(ENOENT));
    EXPECT_EQ(io, nullptr);
}

}  // namespace
