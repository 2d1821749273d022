#include "platform/base/fileutils.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "platform/base/clock.h"
#include "platform/base/sysutils.h"
#include "temp_folder.h"

namespace {

class FileUtilsTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        for (const char* name : {"a.txt", "B.TXT", "noext", ".hidden", "a.txt.bak"})
            WriteBytes(Path(UTF8ToString(name)), "12345");
        std::filesystem::create_directory(FFolder + "/dir");
        std::filesystem::create_directory(FFolder + "/.cache");
        std::filesystem::create_symlink("a.txt", FFolder + "/link");
        std::filesystem::create_directory_symlink("dir", FFolder + "/dirlink");
    }

    // The names FindFirst/FindNext give, with "/" after folders.
    std::vector<std::string> Find(const char* AMask, Integer AAttr) {
        std::vector<std::string> names;
        TSearchRec rec;
        for (Integer r = FindFirst(Path(UTF8ToString(AMask)), AAttr, rec); r == 0; r = FindNext(rec))
            names.push_back(StringToUTF8(rec.Name) + (rec.Attr & faDirectory ? "/" : ""));
        FindClose(rec);
        return names;
    }
};

TEST_F(FileUtilsTest, SearchesMatchMasksWithoutCaseAndFilterByAttributes) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(Find("*.*", 0), (Names{"B.TXT", "a.txt", "a.txt.bak", "link", "noext"}));
    EXPECT_EQ(Find("*.*", faDirectory),
              (Names{"./", "../", "B.TXT", "a.txt", "a.txt.bak", "dir/", "dirlink/", "link", "noext"}));
    EXPECT_EQ(Find("*", faHidden), (Names{".hidden", "B.TXT", "a.txt", "a.txt.bak", "link", "noext"}));
    EXPECT_EQ(Find(".*", faHidden | faDirectory), (Names{"./", "../", ".cache/", ".hidden"}));
    EXPECT_EQ(Find("*.txt", 0), (Names{"B.TXT", "a.txt"}));
    EXPECT_EQ(Find("?.TxT", 0), (Names{"B.TXT", "a.txt"}));
    EXPECT_EQ(Find("*.*.*", 0), (Names{"a.txt.bak"}));
    // A name without wildcards is that one entry, exactly.
    EXPECT_EQ(Find("a.txt", 0), (Names{"a.txt"}));
    EXPECT_EQ(Find("A.TXT", 0), Names{});
    EXPECT_EQ(Find("dir", 0), Names{});
    EXPECT_EQ(Find("dir", faDirectory), (Names{"dir/"}));

    TSearchRec rec;
    EXPECT_EQ(FindFirst(Path(u"*.zip"), faAnyFile, rec), ENOENT);
    EXPECT_EQ(FindFirst(Path(u"missing/*.*"), faAnyFile, rec), ENOENT);
}

TEST_F(FileUtilsTest, EntriesCarrySizeLinkAndReadOnlyAttributes) {
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Path(u"link"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Size, 5);
    EXPECT_EQ(rec.Attr, faSymLink);
    ASSERT_EQ(FindFirst(Path(u"dirlink"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Attr, faSymLink | faDirectory);
    EXPECT_EQ(rec.Size, 0);
    if (::geteuid() != 0) {  // root may write anything
        ::chmod((FFolder + "/a.txt").c_str(), 0444);
        ASSERT_EQ(FindFirst(Path(u"a.txt"), faAnyFile, rec), 0);
        EXPECT_EQ(rec.Attr, faReadOnly);
    }
}

TEST_F(FileUtilsTest, FileTimesAreLocalDosTimesInTwoSecondSteps) {
    const auto setTime = [&](int AYear, int AMonth, int ADay, int AHour, int AMin, int ASec) {
        struct tm local {};
        local.tm_year = AYear - 1900;
        local.tm_mon = AMonth - 1;
        local.tm_mday = ADay;
        local.tm_hour = AHour;
        local.tm_min = AMin;
        local.tm_sec = ASec;
        local.tm_isdst = -1;
        const struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (FFolder + "/a.txt").c_str(), times, 0), 0);
    };
    TSearchRec rec;
    setTime(2021, 3, 4, 5, 6, 7);
    ASSERT_EQ(FindFirst(Path(u"a.txt"), 0, rec), 0);
    EXPECT_DOUBLE_EQ(FileDateToDateTime(rec.Time), EncodeDate(2021, 3, 4) + EncodeTime(5, 6, 6, 0));
    setTime(1975, 1, 1, 12, 0, 0);
    ASSERT_EQ(FindFirst(Path(u"a.txt"), 0, rec), 0);
    EXPECT_EQ(rec.Time, -1);
    EXPECT_EQ(FileDateToDateTime(rec.Time), -1);
}

TEST_F(FileUtilsTest, FolderChangesAndCreationRaiseTheSystemsCode) {
    const String saved = GetCurrentDir();
    ChDir(Path(u"dir"));
    EXPECT_EQ(GetCurrentDir(), Path(u"dir"));
    EXPECT_FALSE(SetCurrentDir(Path(u"missing")));
    try {
        ChDir(Path(u"missing"));
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_EQ(e.Message(), SysErrorMessage(ENOENT));
    }
    EXPECT_EQ(GetCurrentDir(), Path(u"dir"));
    ASSERT_TRUE(SetCurrentDir(saved));

    EXPECT_TRUE(CreateDir(Path(u"new")));
    EXPECT_FALSE(CreateDir(Path(u"new")));
    try {
        MkDir(Path(u"new"));
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, EEXIST);
    }
    EXPECT_THROW(MkDir(Path(u"missing/new")), EInOutError);
}

TEST_F(FileUtilsTest, RenamingNeverReplacesAnExistingName) {
    EXPECT_FALSE(RenameFile(Path(u"a.txt"), Path(u"B.TXT")));
    EXPECT_FALSE(RenameFile(Path(u"a.txt"), Path(u"dir")));
    EXPECT_TRUE(RenameFile(Path(u"a.txt"), Path(u"A.txt")));
    EXPECT_EQ(ReadBytes(Path(u"B.TXT")), "12345");
    EXPECT_TRUE(FileExists(Path(u"A.txt")));
}

TEST(HomeDir, FromHomeElseThePasswordEntry) {
    const char* saved = std::getenv("HOME");
    const std::string keep = saved ? saved : "";
    ::setenv("HOME", "/home/somebody/", 1);
    EXPECT_EQ(GetHomeDir(), u"/home/somebody");
    ::unsetenv("HOME");
    EXPECT_FALSE(GetHomeDir().empty());
    EXPECT_EQ(GetHomeDir()[0], u'/');
    if (saved) ::setenv("HOME", keep.c_str(), 1);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramUnlessATestSetsOne) {
    const String own = ProgramFolder();
    EXPECT_EQ(own, ExtractFilePath(ProgramFileName()));
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), PathDelim);
    EXPECT_TRUE(FileExists(own + ExtractFileName(ProgramFileName())));

    SetProgramFolder(u"/tmp/程序");
    EXPECT_EQ(ProgramFolder(), u"/tmp/程序/");
    SetProgramFolder(u"/tmp/other/");
    EXPECT_EQ(ProgramFolder(), u"/tmp/other/");
    SetProgramFolder(u"");
    EXPECT_EQ(ProgramFolder(), own);
}

}  // namespace
