#include "media/ffmpegloader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "media/avfilterstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpeglogger.h"

namespace {

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { LibLoader.SetLibraryPath(u""); }
    void TearDown() override {
        // Nothing a test took may leak into the next one.
        for (int lib = avCodec; lib <= lbSDL; ++lib)
            ASSERT_EQ(LibraryStatus[lib].Users, 0) << lib;
    }
};

TEST_F(LoaderTest, FileNamesFollowTheLinuxRule) {
    const struct {
        TLibrary lib;
        const char16_t* name;
    } cases[] = {
        {avCodec, u"libavcodec.so.59"},      {avDevice, u"libavdevice.so.59"},
        {avFilter, u"libavfilter.so.8"},     {avFormat, u"libavformat.so.59"},
        {avUtil, u"libavutil.so.57"},        {swScale, u"libswscale.so.6"},
        {swResample, u"libswresample.so.4"}, {myUtil, u"libc.so.6"},
        {lbSDL, u"libSDL-1.2.so.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFFmpegLoader::LibraryFileName(c.lib), c.name);
}

TEST_F(LoaderTest, LoadingTwiceBindsOnceAndCountsUsers) {
    ASSERT_TRUE(LibLoader.Load(TranscoderLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
    const auto bound = avutil::av_log_set_level;
    ASSERT_NE(bound, nullptr);
    EXPECT_TRUE(LibLoader.Load(TranscoderLibraries));
    EXPECT_EQ(avutil::av_log_set_level, bound);
    EXPECT_NE(GetLogger(), nullptr);  // loading avutil installs the log callback

    LibLoader.Unload(TranscoderLibraries);
    EXPECT_TRUE(LibLoader.Loaded(TranscoderLibraries));
    LibLoader.Unload(TranscoderLibraries);
    EXPECT_FALSE(LibLoader.Loaded(avUtil));
    EXPECT_EQ(avutil::av_log_set_level, nullptr);
    EXPECT_EQ(avfilter::avfilter_graph_alloc, nullptr);
}

TEST_F(LoaderTest, LibraryWithoutExportsFailsTheSetAndGivesBackWhatItTook) {
    LibLoader.SetLibraryPath(UTF8ToString(FAKE_LIBAV_DIR));
    EXPECT_FALSE(LibLoader.Load(TranscoderLibraries));
    const String message = LibLoader.LastErrMsg();
    // The table's first row is the first missing export.
    EXPECT_EQ(message.rfind(u"Load function av_buffersink_get_frame@libavfilter.so.8 error: ", 0), 0u)
        << StringToUTF8(message);
    for (TLibrary lib : {avUtil, avCodec, avFormat, avFilter})
        EXPECT_FALSE(LibLoader.Loaded(lib)) << lib;
    EXPECT_EQ(avutil::av_log_set_level, nullptr);
    EXPECT_EQ(avfilter::avfilter_get_by_name, nullptr);
}

TEST_F(LoaderTest, FailingSetLeavesLibrariesOfAnotherUserLoaded) {
    ASSERT_TRUE(LibLoader.Load(ProbeLibraries));
    LibLoader.SetLibraryPath(UTF8ToString(FAKE_LIBAV_DIR));
    EXPECT_FALSE(LibLoader.Load(PlayerLibraries));
    EXPECT_TRUE(LibLoader.Loaded(ProbeLibraries));
    EXPECT_FALSE(LibLoader.Loaded(avFilter));
    LibLoader.Unload(ProbeLibraries);
    EXPECT_FALSE(LibLoader.Loaded(avCodec));
}

TEST_F(LoaderTest, FolderWithoutTheFileFallsBackToTheSystemCopy) {
    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "velqua-empty-libav";
    std::filesystem::create_directories(empty);
    LibLoader.SetLibraryPath(UTF8ToString(empty.string()));
    EXPECT_TRUE(LibLoader.Load(ProbeLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
    LibLoader.Unload(ProbeLibraries);
}

TEST_F(LoaderTest, MissingFileReportsThePathTried) {
    LibraryStatus[avDevice].Name = u"/nonexistent/libmissing.so";
    EXPECT_FALSE(LibLoader.Load(avDevice));
    LibraryStatus[avDevice].Name.clear();
    EXPECT_EQ(LibLoader.LastErrMsg().rfind(u"Load library /nonexistent/libmissing.so error: ", 0), 0u)
        << StringToUTF8(LibLoader.LastErrMsg());
    EXPECT_FALSE(LibLoader.Loaded(avDevice));
}

TEST_F(LoaderTest, EmptySetIsAProgrammingError) {
    EXPECT_THROW(LibLoader.Load(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(LibLoader.Loaded(TLibraries{}), EAssertionFailed);
}

}  // namespace
