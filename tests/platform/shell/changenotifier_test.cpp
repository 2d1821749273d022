#include "platform/shell/changenotifier.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "platform/base/mainthread.h"
#include "platform/base/ustring.h"
#include "tests/platform/base/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The folder watchers' threads running now (they name themselves).
int ThreadCount() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        std::getline(comm, name);
        count += name == "folder-watcher";
    }
    return count;
}

// The worker names itself once it runs.
bool WaitForWorkers(int ACount) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ThreadCount() != ACount && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return ThreadCount() == ACount;
}

class ChangeNotifierTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(FFolder + "/a/sub");
        fs::create_directories(FFolder + "/b");
    }

    // A handler that counts its calls under AName.
    TThreadMethod Counter(int& ACount) {
        return [this, &ACount] {
            std::lock_guard lock(FLock);
            ++ACount;
            FChanged.notify_all();
        };
    }
    // Runs the GUI thread's pending calls until ACount reaches AAtLeast (at most 10 s).
    bool WaitFor(const int& ACount, int AAtLeast) {
        std::unique_lock lock(FLock);
        return WaitForCondition(
            lock, FChanged, [&] { return ACount >= AAtLeast; }, 10000);
    }
    void Touch(const std::string& ARelative) { WriteBytes(Path(UTF8ToString(ARelative)), "x"); }

    std::mutex FLock;
    std::condition_variable_any FChanged;
};

TEST(NotifyFilters, MapToTheNotificationFlags) {
    EXPECT_EQ(NotifyFilterFlags({nfFileNameChange, nfDirNameChange}), 0x3u);
    EXPECT_EQ(NotifyFilterFlags({nfWriteChange}), 0x10u);
    EXPECT_EQ(NotifyFilterFlags({nfSecurityChange}), 0x100u);
    EXPECT_EQ(NotifyFilterFlags({nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange,
                                 nfWriteChange, nfSecurityChange}),
              0x11Fu);
}

TEST_F(ChangeNotifierTest, AWorkerRunsOnlyWithAHandlerAndOneAtThat) {
    const int before = ThreadCount();
    auto* notifier = new TqxShellChangeNotifier(nullptr);
    notifier->SetRoot(Path(u"a"));
    EXPECT_EQ(notifier->WatchSubTree(), true);
    EXPECT_EQ(notifier->NotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
    EXPECT_EQ(ThreadCount(), before);
    int first = 0, second = 0;
    notifier->SetOnChange(Counter(first));
    EXPECT_TRUE(WaitForWorkers(before + 1));
    notifier->SetOnChange(Counter(second));
    EXPECT_EQ(ThreadCount(), before + 1);
    // Only the handler in force is called.
    Touch("a/one");
    ASSERT_TRUE(WaitFor(second, 1));
    EXPECT_EQ(first, 0);
    Free(notifier);
    EXPECT_EQ(ThreadCount(), before);
}

TEST_F(ChangeNotifierTest, OneCreatedFileIsOneChange) {
    TqxShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(Path(u"a"));
    int count = 0;
    notifier.SetOnChange(Counter(count));
    Touch("a/file.txt");
    ASSERT_TRUE(WaitFor(count, 1));
    // Whatever the creation gave was reported before this later change.
    fs::create_directory(FFolder + "/a/barrier");
    ASSERT_TRUE(WaitFor(count, 2));
    EXPECT_EQ(count, 2);
}

TEST_F(ChangeNotifierTest, ANewRootIsWatchedInsteadOfTheOld) {
    TqxShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(Path(u"a"));
    int count = 0;
    notifier.SetOnChange(Counter(count));
    notifier.SetRoot(Path(u"b"));
    Touch("b/first");
    ASSERT_TRUE(WaitFor(count, 1));
    Touch("a/ignored");
    Touch("b/second");
    ASSERT_TRUE(WaitFor(count, 2));
    EXPECT_EQ(count, 2);
}

TEST_F(ChangeNotifierTest, TheSubTreeIsWatchedNewFoldersIncludedOnlyWhenAsked) {
    TqxShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(Path(u"a"));
    int count = 0;
    notifier.SetOnChange(Counter(count));
    // The folders below are watched by the time a change of the root is reported.
    Touch("a/first");
    ASSERT_TRUE(WaitFor(count, 1));
    Touch("a/sub/deep");
    ASSERT_TRUE(WaitFor(count, 2));
    fs::create_directory(FFolder + "/a/new");
    ASSERT_TRUE(WaitFor(count, 3));
    Touch("a/new/file");
    ASSERT_TRUE(WaitFor(count, 4));

    notifier.SetWatchSubTree(false);
    Touch("a/sub/unseen");
    Touch("a/flat");
    ASSERT_TRUE(WaitFor(count, 5));
    EXPECT_EQ(count, 5);
}

TEST_F(ChangeNotifierTest, FiltersChooseWhatCounts) {
    TqxShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(Path(u"a"));
    notifier.SetWatchSubTree(false);
    notifier.SetNotifyFilters({nfDirNameChange});
    int count = 0;
    notifier.SetOnChange(Counter(count));
    Touch("a/file");
    fs::create_directory(FFolder + "/a/folder");
    ASSERT_TRUE(WaitFor(count, 1));
    notifier.SetNotifyFilters({nfWriteChange});
    fs::create_directory(FFolder + "/a/sync");  // unseen: no names now
    Touch("a/file");
    ASSERT_TRUE(WaitFor(count, 2));
    EXPECT_EQ(count, 2);
}

TEST_F(ChangeNotifierTest, ADestroyedNotifierCallsNothingMore) {
    int count = 0;
    auto* notifier = new TqxShellChangeNotifier(nullptr);
    notifier->SetRoot(Path(u"a"));
    notifier->SetOnChange(Counter(count));
    for (int i = 0; i < 20; ++i)
        Touch("a/file" + std::to_string(i));
    Free(notifier);
    while (CheckSynchronize()) {
    }
    EXPECT_EQ(count, 0);
}

TEST_F(ChangeNotifierTest, AMissingRootGivesNoChangeAndNoError) {
    int count = 0;
    {
        TqxShellChangeNotifier notifier(nullptr);
        notifier.SetRoot(Path(u"missing"));
        notifier.SetOnChange(Counter(count));
        fs::create_directory(FFolder + "/missing");
        Touch("missing/file");
        // The same root again is no new option: still nothing watched.
        notifier.SetRoot(Path(u"missing"));
        Touch("missing/file2");
    }
    while (CheckSynchronize()) {
    }
    EXPECT_EQ(count, 0);
}

}  // namespace
