#include "platform/base/inifiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/stringlist.h"
#include "temp_folder.h"
#include "test_support.h"

namespace {

using TLines = std::vector<std::string>;

class IniFileTest : public TempFolderTest {
protected:
    String Ini() const { return Path(u"option.ini"); }
    std::string Text() const { return ReadBytes(Ini()); }
    void SetText(std::string_view AText) { WriteBytes(Ini(), AText); }
};

const char kSample[] =
    "; settings\r\n"
    "[Options]\r\n"
    "  Thread_Count = 7  \r\n"
    "After_Done=\r\n"
    "odd line\r\n"
    "\r\n"
    "; the skin\r\n"
    "[Skin]\r\n"
    "SetSkin=0x1F\r\n";

}  // namespace

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndReadingCreatesNothing) {
    TIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString(u"Options", u"Thread_Count", u"Error"), u"Error");
    EXPECT_EQ(ini.ReadInteger(u"Skin", u"SetSkin", 3), 3);
    EXPECT_FALSE(ini.SectionExists(u"Options"));
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
    ini.EraseSection(u"Options");
    ini.DeleteKey(u"Options", u"Thread_Count");
    EXPECT_FALSE(FileExists(Ini()));
}

TEST_F(IniFileTest, WritingCreatesTheFileAndItsSections) {
    TIniFile ini(Ini());
    ini.WriteString(u"OutPath", u"OutPath", u"/home/u/Velqua视频软件/输出");
    ini.WriteInteger(u"Skin", u"SetSkin", 0);
    ini.WriteString(u"OutPath", u"Extra", u"x");
    EXPECT_EQ(Text(),
              "[OutPath]\r\nOutPath=/home/u/Velqua视频软件/输出\r\nExtra=x\r\n"
              "\r\n[Skin]\r\nSetSkin=0\r\n");
    EXPECT_EQ(ini.ReadString(u"outpath", u"OUTPATH", u""), u"/home/u/Velqua视频软件/输出");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    SetText(kSample);
    TIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString(u"OPTIONS", u"thread_count", u"Error"), u"7");
    // Present but empty is "", not the default.
    EXPECT_EQ(ini.ReadString(u"Options", u"After_Done", u"Error"), u"");
    EXPECT_EQ(ini.ReadString(u"Options", u"odd line", u"Error"), u"Error");
    EXPECT_EQ(ini.ReadString(u"Skin", u"Missing", u"Error"), u"Error");
    EXPECT_TRUE(ini.ValueExists(u"options", u"AFTER_DONE"));
    EXPECT_FALSE(ini.ValueExists(u"options", u"odd line"));
}

TEST_F(IniFileTest, ReadIntegerTakesDecimalAndHexElseTheDefault) {
    struct Case {
        const char* value;
        Integer expected;
    } cases[] = {
        {"12", 12}, {"-3", -3}, {"+4", 4}, {"$1F", 31}, {"0x1f", 31}, {"0X10", 16},  {" 7 ", 7},
        {"0x", -1}, {"$", -1},  {"", -1},  {"abc", -1}, {"1.5", -1},  {"12abc", -1}, {"2147483648", -1},
    };
    for (const auto& c : cases) {
        SetText(std::string("[S]\r\nk=") + c.value + "\r\n");
        TIniFile ini(Ini());
        EXPECT_EQ(ini.ReadInteger(u"S", u"k", -1), c.expected) << c.value;
    }
}

TEST_F(IniFileTest, ReadBoolIsAnyIntegerButZeroElseTheDefault) {
    struct Case {
        const char* value;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    } cases[] = {
        {"0", false, false}, {"1", true, true},     {"2", true, true},
        {"-1", true, true},  {"true", false, true}, {"", false, true},
    };
    for (const auto& c : cases) {
        SetText(std::string("[S]\r\nk=") + c.value + "\r\n");
        TIniFile ini(Ini());
        EXPECT_EQ(ini.ReadBool(u"S", u"k", false), c.whenDefaultFalse) << c.value;
        EXPECT_EQ(ini.ReadBool(u"S", u"k", true), c.whenDefaultTrue) << c.value;
    }
}

TEST_F(IniFileTest, TypedValuesRoundTrip) {
    TIniFile ini(Ini());
    ini.WriteBool(u"S", u"on", true);
    ini.WriteBool(u"S", u"off", false);
    ini.WriteFloat(u"S", u"ratio", 1.25);
    ini.WriteInteger(u"S", u"n", -42);
    EXPECT_EQ(Text(), "[S]\r\non=1\r\noff=0\r\nratio=1.25\r\nn=-42\r\n");
    EXPECT_TRUE(ini.ReadBool(u"S", u"on", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"ratio", 0), 1.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"n", 0), -42);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"on", 9), 1);
    ini.WriteString(u"S", u"word", u"abc");
    EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"word", 9), 9);
}

TEST_F(IniFileTest, RewritingKeepsCommentsAndEverythingElse) {
    SetText(kSample);
    TIniFile ini(Ini());
    ini.WriteString(u"options", u"THREAD_COUNT", u"3");
    ini.WriteString(u"Options", u"Show_Preview", u"1");
    ini.WriteString(u"Skin", u"Skin2", u"b");
    EXPECT_EQ(Text(),
              "; settings\r\n"
              "[Options]\r\n"
              "THREAD_COUNT=3\r\n"
              "After_Done=\r\n"
              "odd line\r\n"
              "Show_Preview=1\r\n"
              "\r\n"
              "; the skin\r\n"
              "[Skin]\r\n"
              "SetSkin=0x1F\r\n"
              "Skin2=b\r\n");
}

TEST_F(IniFileTest, EachAccessSeesTheFileAsItIsNow) {
    TIniFile ini(Ini());
    ini.WriteString(u"S", u"k", u"1");
    SetText("[S]\r\nk=2\r\n");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"2");
    TIniFile other(Ini());
    other.WriteString(u"S", u"k", u"3");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"3");
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
    SetText(
        "[A]\r\nx=1\r\n; inside A\r\ny=2\r\n\r\n; about B\r\n[B]\r\nz=3\r\nz=4\r\n"
        "[a]\r\nw=5\r\n");
    TIniFile ini(Ini());
    ini.DeleteKey(u"b", u"Z");
    EXPECT_FALSE(ini.ValueExists(u"B", u"z"));
    ini.EraseSection(u"a");
    EXPECT_EQ(Text(), "; about B\r\n[B]\r\n");
    // A section without keys does not count as existing.
    EXPECT_FALSE(ini.SectionExists(u"B"));
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (TLines{"B"}));
}

TEST_F(IniFileTest, SectionListings) {
    SetText("[One]\r\nb = 2\r\na=1\r\nB=dup\r\n[Two]\r\n[one]\r\nc=3\r\n");
    TIniFile ini(Ini());
    TStringList list;
    list.Add(u"stale");
    ini.ReadSection(u"ONE", &list);
    EXPECT_EQ(Lines(list), (TLines{"b", "a"}));
    ini.ReadSectionValues(u"one", &list);
    EXPECT_EQ(Lines(list), (TLines{"b=2", "a=1"}));
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (TLines{"One", "Two"}));
    EXPECT_TRUE(ini.SectionExists(u"one"));
    EXPECT_FALSE(ini.SectionExists(u"Two"));
    // Names beyond ASCII match without case too.
    SetText("[\xC3\x84]\r\n\xC3\x96=1\r\n\xC3\xB6=2\r\n[\xC3\xA4]\r\n");
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (TLines{"\xC3\x84"}));
    ini.ReadSectionValues(u"ä", &list);
    EXPECT_EQ(Lines(list), (TLines{"\xC3\x96=1"}));
}

TEST_F(IniFileTest, LineBreaksInAValueCannotSplitTheFile) {
    TIniFile ini(Ini());
    ini.WriteString(u"S", u"k", u"a\r\n[Injected]\nb=c");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"a  [Injected] b=c");
    EXPECT_FALSE(ini.SectionExists(u"Injected"));
}

TEST_F(IniFileTest, AByteOrderMarkIsReadAndTheFileIsWrittenAsUtf8) {
    SetText("\xEF\xBB\xBF[S]\r\nk=\xE4\xB8\xAD\r\n");
    TIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"中");
    ini.WriteString(u"S", u"k", u"文");
    EXPECT_EQ(Text(), "[S]\r\nk=\xE6\x96\x87\r\n");
}

TEST_F(IniFileTest, AWriteIntoAMissingFolderRaises) {
    TIniFile nowhere(Path(u"no/such/folder/option.ini"));
    try {
        nowhere.WriteString(u"S", u"k", u"v");
        FAIL() << "wrote into a missing folder";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), u"Unable to write to " + Path(u"no/such/folder/option.ini"));
    }
}

TEST_F(IniFileTest, AReadOnlyOrUnreadableFileIsNeverClobbered) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    SetText("[S]\r\nk=old\r\n");
    ::chmod(StringToUTF8(Ini()).c_str(), 0444);
    TIniFile ini(Ini());
    EXPECT_THROW(ini.WriteString(u"S", u"k", u"new"), EIniFileException);
    EXPECT_EQ(Text(), "[S]\r\nk=old\r\n");
    // Unreadable: reads give the defaults, writes may not clobber it.
    ::chmod(StringToUTF8(Ini()).c_str(), 0200);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"Error"), u"Error");
    EXPECT_THROW(ini.WriteString(u"S", u"other", u"x"), EIniFileException);
    ::chmod(StringToUTF8(Ini()).c_str(), 0644);
    EXPECT_EQ(Text(), "[S]\r\nk=old\r\n");
}

TEST_F(IniFileTest, AWriteCutShortLeavesTheOldFileWhole) {
    SetText("[S]\r\nk=old\r\n");
    // A file size limit stands in for a full disk.
    rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    TIniFile ini(Ini());
    bool raised = false;
    try {
        ini.WriteString(u"S", u"k", String(200, u'x'));
    } catch (const EIniFileException&) {
        raised = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(raised);
    EXPECT_EQ(Text(), "[S]\r\nk=old\r\n");
    // No half-written leftovers beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(FFolder))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(IniFileTest, RewritingKeepsTheFilesModeAndLinks) {
    SetText("[S]\r\nk=1\r\n");
    const std::string real = StringToUTF8(Ini());
    ::chmod(real.c_str(), 0640);
    const String link = Path(u"link.ini");
    ASSERT_EQ(::symlink(real.c_str(), StringToUTF8(link).c_str()), 0);
    TIniFile ini(link);
    ini.WriteString(u"S", u"k", u"2");
    EXPECT_TRUE(std::filesystem::is_symlink(StringToUTF8(link)));
    EXPECT_EQ(Text(), "[S]\r\nk=2\r\n");
    struct stat st;
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFileTest, AFileInAClosedFolderIsWrittenInPlace) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    SetText("[S]\r\nk=1\r\n");
    ::chmod(FFolder.c_str(), 0555);
    TIniFile ini(Ini());
    ini.WriteString(u"S", u"k", u"2");
    ::chmod(FFolder.c_str(), 0755);
    EXPECT_EQ(Text(), "[S]\r\nk=2\r\n");
}

TEST_F(IniFileTest, MemIniFileReadsOnceAndWritesOnUpdateFile) {
    SetText(kSample);
    TMemIniFile ini(Ini());
    SetText("[Options]\r\nThread_Count=1\r\n");
    EXPECT_EQ(ini.ReadInteger(u"Options", u"Thread_Count", 0), 7);
    EXPECT_EQ(ini.ReadInteger(u"Skin", u"SetSkin", 0), 31);
    ini.WriteString(u"Options", u"Thread_Count", u"9");
    EXPECT_EQ(Text(), "[Options]\r\nThread_Count=1\r\n");
    ini.UpdateFile();
    EXPECT_EQ(Text(),
              "; settings\r\n[Options]\r\nThread_Count=9\r\nAfter_Done=\r\nodd line\r\n\r\n"
              "; the skin\r\n[Skin]\r\nSetSkin=0x1F\r\n");
}

TEST_F(IniFileTest, MemIniFileOverStringsWithoutAFile) {
    TStringList source;
    source.SetText(u"[VERSION]\nver=1\n[PICTURES]\npicture=a.bmp\n[Extra]\nkeep=me");
    TMemIniFile ini;
    ini.SetStrings(&source);
    // The skin writer's pattern: erase, then write, section by section.
    for (const char16_t* section : {u"PICTURES", u"VERSION"}) {
        ini.EraseSection(section);
        ini.WriteString(section, u"k", section);
    }
    TStringList out;
    ini.GetStrings(&out);
    EXPECT_EQ(Lines(out),
              (TLines{"[Extra]", "keep=me", "", "[PICTURES]", "k=PICTURES", "", "[VERSION]", "k=VERSION"}));
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    // A missing file is an empty text, and UpdateFile creates it.
    TMemIniFile fresh(Ini());
    EXPECT_FALSE(fresh.SectionExists(u"VERSION"));
    fresh.WriteInteger(u"VERSION", u"ver", 1);
    fresh.UpdateFile();
    EXPECT_EQ(Text(), "[VERSION]\r\nver=1\r\n");
}

TEST_F(IniFileTest, MemIniFileRefusesAFileItCannotRead) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    SetText("[S]\r\nk=1\r\n");
    ::chmod(StringToUTF8(Ini()).c_str(), 0200);
    EXPECT_THROW(TMemIniFile ini(Ini()), EFOpenError);
    ::chmod(StringToUTF8(Ini()).c_str(), 0644);
}
