#include "media/unicodeprotocol.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST_F(UnicodeFileTest, WrappedNameReadsTheSameBytes) {
    const AnsiString source = TestDataPath(u"中文视频.avi");
    const AnsiString expected = ReadAll(source);
    AVIOContext* io = nullptr;
    ASSERT_EQ(UnicodeIOOpen(&io, (UnicodeNamePrefix + source).c_str(), AVIO_FLAG_READ), 0);
    ASSERT_TRUE(IsUnicodeIO(io));
    EXPECT_EQ(avformat::avio_size(io), static_cast<int64_t>(expected.size()));

    AnsiString read(expected.size() + 100, '\0');
    const int got =
        avformat::avio_read(io, reinterpret_cast<unsigned char*>(read.data()), static_cast<int>(read.size()));
    ASSERT_EQ(got, static_cast<int>(expected.size()));
    read.resize(static_cast<size_t>(got));
    EXPECT_EQ(read, expected);
    EXPECT_TRUE(io->eof_reached);

    // Back into the middle, past the buffered part.
    ASSERT_EQ(avformat::avio_seek(io, 100000, SEEK_SET), 100000);
    unsigned char byte = 0;
    ASSERT_EQ(avformat::avio_read(io, &byte, 1), 1);
    EXPECT_EQ(byte, static_cast<unsigned char>(expected[100000]));
    UnicodeIOClose(&io);
    EXPECT_EQ(io, nullptr);
}

TEST_F(UnicodeFileTest, WrappedNameWritesThroughTheContext) {
    const AnsiString name = Wrapped("输出.bin");
    AVIOContext* io = nullptr;
    ASSERT_EQ(UnicodeIOOpen(&io, name.c_str(), AVIO_FLAG_WRITE), 0);
    AnsiString data(100000, 'x');
    data[99999] = 'y';
    avformat::avio_write(io, reinterpret_cast<const unsigned char*>(data.data()),
                         static_cast<int>(data.size()));
    ASSERT_EQ(avformat::avio_seek(io, 0, SEEK_SET), 0);
    avformat::avio_write(io, reinterpret_cast<const unsigned char*>("head"), 4);
    UnicodeIOClose(&io);
    data.replace(0, 4, "head");
    EXPECT_EQ(ReadAll(Folder / "输出.bin"), data);

    EXPECT_EQ(UnicodeIOOpen(&io, Wrapped("no/such/folder.bin").c_str(), AVIO_FLAG_WRITE), AVERROR(ENOENT));
    EXPECT_EQ(io, nullptr);
}

TEST_F(UnicodeFileTest, InputOpensWrappedNamesAndClosesTheirFiles) {
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    };
    const auto before = openFiles();
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
    EXPECT_EQ(openFiles(), before);
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
