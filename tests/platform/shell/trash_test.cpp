#include "platform/shell/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "shelltest.h"

namespace {

namespace fs = std::filesystem;

class TrashTest : public ShellTest {
protected:
    std::string Trash(const std::string& ARelative) const {
        return At("home/.local/share/Trash/" + ARelative);
    }
};

TEST_F(TrashTest, ItemsMoveToTheHomeTrashWithInfoAndDistinctNames) {
    MakeFile(At("home/a b%.txt"), "first");
    ASSERT_EQ(shell::MoveToTrash(PathAt("home/a b%.txt")), 0);
    MakeFile(At("data/a b%.txt"), "second");
    ASSERT_EQ(shell::MoveToTrash(PathAt("data/a b%.txt")), 0);
    MakeFolder(At("home/folder/inner"));
    ASSERT_EQ(shell::MoveToTrash(PathAt("home/folder/")), 0);

    EXPECT_FALSE(fs::exists(At("home/a b%.txt")));
    EXPECT_EQ(ReadBytes(UTF8ToString(Trash("files/a b%.txt"))), "first");
    EXPECT_EQ(ReadBytes(UTF8ToString(Trash("files/a b%.2.txt"))), "second");
    EXPECT_TRUE(fs::is_directory(Trash("files/folder/inner")));
    const std::string info = ReadBytes(UTF8ToString(Trash("info/a b%.2.txt.trashinfo")));
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + At("data") + "/a%20b%25.txt\nDeletionDate=", 0), 0u) << info;
    EXPECT_EQ(info.size(), info.find("DeletionDate=") + 13 + 19 + 1) << "yyyy-mm-ddThh:mm:ss";
    EXPECT_TRUE(fs::exists(Trash("info/folder.trashinfo")));
}

TEST_F(TrashTest, MissingItemsAndRelativePathsFailWithoutTrace) {
    EXPECT_EQ(shell::MoveToTrash(PathAt("home/missing")), ENOENT);
    EXPECT_EQ(shell::MoveToTrash(u"relative.txt"), EINVAL);
    EXPECT_EQ(shell::MoveToTrash(u"/"), EINVAL);
    EXPECT_FALSE(fs::exists(Trash("info/missing.trashinfo")));
}

TEST_F(TrashTest, AnotherVolumesItemsGoToThatVolumesTrash) {
    // Needs a writable folder on another device than the temporary tree.
    struct stat tree, shm;
    if (::stat(FFolder.c_str(), &tree) != 0 || ::stat("/dev/shm", &shm) != 0 || tree.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second volume";
    char pattern[] = "/dev/shm/velqua-trash-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string file = std::string(pattern) + "/clip.mp4";
    MakeFile(file, "clip");
    ASSERT_EQ(shell::MoveToTrash(UTF8ToString(file)), 0);
    const std::string trash = "/dev/shm/.Trash-" + std::to_string(::getuid());
    const std::string relative = std::string(pattern).substr(9) + "/clip.mp4";
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(trash + "/files/clip.mp4"));
    const std::string info = ReadBytes(UTF8ToString(trash + "/info/clip.mp4.trashinfo"));
    EXPECT_NE(info.find("Path=" + relative + "\n"), std::string::npos) << info;
    fs::remove(trash + "/files/clip.mp4");
    fs::remove(trash + "/info/clip.mp4.trashinfo");
    fs::remove_all(pattern);
}

}  // namespace
