#include "media/myutils.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "media/strovix.h"
#include "mediatest.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"

namespace fs = std::filesystem;

namespace {

fs::path FreshFolder(const char* AName) {
    const fs::path folder = fs::temp_directory_path() / AName;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(FileSizeByName, MissingEmptyAndLargeFiles) {
    const fs::path folder = FreshFolder("velqua-filesize");
    EXPECT_EQ(FileSizeByName(UTF8ToString((folder / "missing").string())), -1);
    const fs::path empty = folder / "空.bin";
    {
        std::FILE* f = std::fopen(empty.c_str(), "wb");
        std::fclose(f);
    }
    EXPECT_EQ(FileSizeByName(UTF8ToString(empty.string())), 0);
    // A sparse 5 GB file takes no disk space but shows the full 64-bit size.
    const fs::path large = folder / "large.bin";
    const int fd = ::open(large.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 5LL * 1024 * 1024 * 1024), 0);
    ::close(fd);
    EXPECT_EQ(FileSizeByName(UTF8ToString(large.string())), 5368709120LL);
    fs::remove_all(folder);
}

TEST(TakeToken, HeadAndRest) {
    String source = u"a=b=c", head;
    TakeToken(source, u"=", true, head);
    EXPECT_EQ(head, u"a");
    EXPECT_EQ(source, u"b=c");
    TakeToken(source, u"=", false, head);
    EXPECT_EQ(head, u"b");
    EXPECT_EQ(source, u"b=c");
    source = u"abc";
    TakeToken(source, u"<CRLF>", true, head);
    EXPECT_EQ(head, u"abc");
    EXPECT_EQ(source, u"");
}

TEST(SizeToText, UnitBoundaries) {
    const struct {
        Int64 size;
        const char16_t* text;
    } cases[] = {
        {-1, u"-1 Byte"},         {1024, u"1024 Byte"},  {1025, u"1.00 KB"},
        {1048576, u"1024.00 KB"}, {1048577, u"1.00 MB"}, {1073741824, u"1024.00 MB"},
        {1610612736, u"1.50 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeToText(c.size), c.text) << c.size;
}

TEST(SeekFlags, MapToFFmpegBits) {
    EXPECT_EQ(AVSeekFlags({}), 0);
    EXPECT_EQ(AVSeekFlags({sfBackward}), 1);
    EXPECT_EQ(AVSeekFlags({sfByte, sfFrame}), 10);
    EXPECT_EQ(AVSeekFlags({sfBackward, sfByte, sfAny, sfFrame}), 15);
}

TEST(TimeZone, UnixTimesUseTheStandardBias) {
    // Eight hours east of UTC, with a summer time that must be ignored.
    TTimeZone zone("CST-8CDT,M3.2.0,M11.1.0");
    EXPECT_DOUBLE_EQ(LocalTimeZoneBias(), 8.0 / 24);
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), 25569 + 8.0 / 24);
    EXPECT_EQ(DateTimeToUnixTime(UnixTimeToDateTime(1700000000)), 1700000000);
    EXPECT_EQ(DateTimeToText(u"yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(86400 + 3661)),
              u"1970-01-02 09:01:01");
}

TEST(Folders, CreateFolderTreeMakesEveryParent) {
    const fs::path root = FreshFolder("velqua-tree");
    const String deep = UTF8ToString((root / "输出" / "a" / "b").string());
    EXPECT_FALSE(FolderExists(deep));
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(FolderExists(deep));
    fs::remove_all(root);
}

TEST(CallInMainThread, RunsAtOnceOnTheGuiThread) {
    ASSERT_TRUE(IsMainThread());
    bool ran = false;
    CallInMainThread([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(CheckSynchronize());  // nothing was queued
}

TEST(CallInMainThread, WorkerWaitsUntilTheGuiThreadRunsTheCall) {
    std::atomic<bool> ran{false}, returned{false};
    TEvent calling(true, false);
    std::thread worker([&] {
        calling.SetEvent();
        CallInMainThread([&] {
            EXPECT_TRUE(IsMainThread());
            ran = true;
        });
        returned = true;
    });
    ASSERT_EQ(calling.WaitFor(INFINITE), wrSignaled);
    EXPECT_FALSE(returned);
    // Pump until the call arrives; it runs here, on the GUI thread.
    while (!ran)
        ProcessPendingMessages();
    worker.join();
    EXPECT_TRUE(returned);
}

}  // namespace
