#include "skin/dialogs/qxshellitems.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/base/clock.h"
#include "platform/base/ustring.h"
#include "platform/shell/sysimagelist.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"

namespace {

using namespace win;

// A list of AItems one-item lists, each with one byte of its own.
TList MakeList(int AItems) {
    TList list(ShellAlloc(2));
    for (int i = 0; i < AItems; ++i) {
        const Byte item[5] = {3, 0, Byte('a' + i), 0, 0};
        list.reset(IdListJoin(list.get(), item));
    }
    return list;
}

std::string Text(const String& AText) {
    return StringToUTF8(AText);
}

class ShellItemsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFile(At("home/b.txt"));
        MakeFile(At("home/B.txt"));
        MakeFolder(At("home/Videos/Trip"));
        MakeFolder(At("home/movies.ZIP"));
        MakeFolder(At("home/Empty"));
        MakeFile(At("home/Hidden/.secret"));
    }

    // A root item for a path, as a view makes it.
    static std::unique_ptr<TqxShellFolder> Root(const String& APath) {
        TRoot root = APath;
        return std::unique_ptr<TqxShellFolder>(ResolveRoot(nullptr, u"rfDesktop", root));
    }
    // The child AName of AFolder, as the views make their rows.
    static std::unique_ptr<TqxShellFolder> Child(TqxShellFolder* AFolder, const String& AName) {
        PItemIDList id = nullptr;
        EXPECT_EQ(AFolder->ShellFolder()->ParseDisplayName(nullptr, AName, nullptr, &id, nullptr), S_OK);
        const TList owned(id);
        return std::make_unique<TqxShellFolder>(AFolder, id,
                                                BindChildFolder(AFolder->ShellFolder(), id, nullptr));
    }
};

TEST(IdLists, RoutinesKeepTheByteLayout) {
    EXPECT_EQ(IdListSize(nullptr), 0);
    EXPECT_EQ(IdListCount(nullptr), 0);
    const TList empty = MakeList(0), three = MakeList(3);
    EXPECT_EQ(IdListSize(empty.get()), 2);
    EXPECT_EQ(IdListSize(three.get()), 2 + 3 * 3);
    EXPECT_EQ(IdListCount(three.get()), 3);
    EXPECT_EQ(IdListNext(three.get()), three.get() + 3);

    std::vector<PItemIDList> prefixes = IdListPrefixes(empty.get());
    EXPECT_TRUE(prefixes.empty()) << "the desktop has no prefixes";
    prefixes = IdListPrefixes(three.get());
    ASSERT_EQ(prefixes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(IdListCount(prefixes[i]), i);
        EXPECT_EQ(std::memcmp(prefixes[i], three.get(), 3 * size_t(i)), 0);
    }
    FreeIdListPrefixes(prefixes);
    EXPECT_TRUE(prefixes.empty());

    const TList copy(IdListJoin(nullptr, three.get()));
    EXPECT_EQ(std::memcmp(copy.get(), three.get(), 11), 0);
    const TList six(IdListJoin(three.get(), three.get()));
    EXPECT_EQ(IdListCount(six.get()), 6);
    const TList last(IdListLastItem(three.get()));
    EXPECT_EQ(IdListSize(last.get()), 5);
    EXPECT_EQ(last.get()[2], 'c');
    EXPECT_EQ(IdListSize(TList(IdListLastItem(empty.get())).get()), 2);
    IdListDropLast(three.get());
    EXPECT_EQ(IdListCount(three.get()), 2);
    IdListDropLast(empty.get());
    IdListDropLast(nullptr);
    EXPECT_EQ(IdListSize(empty.get()), 2);
}

TEST(StrRet, QuestionMarksBeforeADigitAreDropped) {
    struct Case {
        const char16_t* In;
        const char16_t* Out;
    };
    for (const Case& c : {Case{u"?1ab?c", u"1abc"}, Case{u"?a?b", u"?a?b"}, Case{u"?", u"?"},
                          Case{u"a?1", u"a?1"}, Case{u"?9", u"9"}, Case{u"", u""}}) {
        STRRET wide;
        wide.pOleStr = c.In;
        EXPECT_EQ(StrRetText(nullptr, wide), c.Out) << Text(c.In);
    }
    STRRET ansi;
    ansi.uType = STRRET_CSTR;
    std::strcpy(ansi.cStr, "?2名字");
    EXPECT_EQ(StrRetText(nullptr, ansi), u"2名字");
    const Byte list[] = {7, 0, 'x', 'n', 'a', 'm', 'e', 0, 0};
    STRRET offset;
    offset.uType = STRRET_OFFSET;
    offset.uOffset = 3;
    EXPECT_EQ(StrRetText(list, offset), u"name");
}

TEST(ShellRoutines, NamesFlagsAndOrdinals) {
    EXPECT_EQ(RootFolderOrdinal(u"rfdesktop"), rfDesktop);
    EXPECT_EQ(RootFolderOrdinal(u"RFTEMPLATES"), rfTemplates);
    EXPECT_EQ(RootFolderOrdinal(u"/home"), -1);
    EXPECT_EQ(ObjectTypeFlags({otFolders}), 0x20u);
    EXPECT_EQ(ObjectTypeFlags({otFolders, otNonFolders, otHidden}), 0xE0u);
    EXPECT_TRUE(HasAttribute(SFGAO_FOLDER | SFGAO_LINK, SFGAO_LINK));
    EXPECT_FALSE(HasAttribute(SFGAO_FOLDER, SFGAO_LINK));
    EXPECT_FALSE(FolderHasItems(nullptr, SHCONTF_FOLDERS));
}

TEST_F(ShellItemsTest, RootsResolveByNameOrPathAndRestoreTheOldTextWhenTheyFail) {
    TqxShellFolder* root = nullptr;
    TRoot text = u"rfdesktop";
    root = ResolveRoot(root, u"", text);
    EXPECT_EQ(IdListCount(root->AbsoluteID()), 0);
    EXPECT_EQ(Text(root->DisplayName()), "桌面");
    EXPECT_EQ(root->Level(), 0);
    text = u"rfMyComputer";
    root = ResolveRoot(root, u"rfdesktop", text);
    EXPECT_EQ(Text(root->DisplayName()), "计算机");
    EXPECT_EQ(Text(root->PathName()), "计算机") << "a virtual item's path is its name";
    EXPECT_EQ(root->FullObjectName(), u"");
    text = PathAt("home/Videos");
    root = ResolveRoot(root, u"rfMyComputer", text);
    EXPECT_EQ(root->PathName(), PathAt("home/Videos"));
    EXPECT_EQ(root->FullObjectName(), PathAt("home/Videos"));
    EXPECT_EQ(root->Parent(), DesktopItem());

    struct Case {
        String Text;
        std::string Message;
    };
    for (const Case& c :
         {Case{PathAt("home/missing"), "Error setting path: \"" + At("home/missing") + "\""},
          Case{u"", "Error setting path: \"\""}, Case{u"rfNetwork", "Error setting path: \"rfNetwork\""},
          Case{u"Videos", "Error setting path: \"Videos\""}}) {
        text = c.Text;
        try {
            ResolveRoot(root, PathAt("home/Videos"), text);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(Text(e.Message()), c.Message);
        }
        EXPECT_EQ(text, PathAt("home/Videos")) << "the old root text is back";
    }
    EXPECT_EQ(root->PathName(), PathAt("home/Videos")) << "the root item stays";
    delete root;
}

TEST_F(ShellItemsTest, ItemsBelowARootHaveLevelsNamesAndOneIdentityPerPath) {
    const auto home = Root(PathAt("home"));
    const auto videos = Child(home.get(), u"Videos");
    const auto trip = Child(videos.get(), u"Trip");
    EXPECT_EQ(home->Level(), 0);
    EXPECT_EQ(videos->Level(), 1);
    EXPECT_EQ(trip->Level(), 2);
    EXPECT_EQ(Text(trip->DisplayName()), "Trip");
    EXPECT_EQ(trip->PathName(), PathAt("home/Videos/Trip"));
    EXPECT_EQ(DesktopItem()->Level(), 0);
    EXPECT_EQ(DesktopItem()->Parent(), nullptr);
    EXPECT_EQ(DesktopItem()->PathName(), PathAt("home/Desktop"));

    // The same path through Computer is the same item; case-distinct names are two.
    TRoot viaComputer = u"/";
    std::unique_ptr<TqxShellFolder> system(ResolveRoot(nullptr, u"", viaComputer));
    std::unique_ptr<TqxShellFolder> walk = std::move(system);
    std::vector<std::unique_ptr<TqxShellFolder>> chain;
    for (const std::string& part : {FFolder.substr(1), std::string("home"), std::string("b.txt")}) {
        std::string rest = part;
        size_t slash;
        while ((slash = rest.find('/')) != std::string::npos) {
            chain.push_back(std::move(walk));
            walk = Child(chain.back().get(), UTF8ToString(rest.substr(0, slash)));
            rest = rest.substr(slash + 1);
        }
        chain.push_back(std::move(walk));
        walk = Child(chain.back().get(), UTF8ToString(rest));
    }
    const auto lower = Child(home.get(), u"b.txt"), upper = Child(home.get(), u"B.txt");
    EXPECT_TRUE(IdListsEqual(walk->AbsoluteID(), lower->AbsoluteID()));
    EXPECT_FALSE(IdListsEqual(lower->AbsoluteID(), upper->AbsoluteID()));
    CompareFolder = home.get();
    EXPECT_NE(CompareChildIDs(lower->RelativeID(), upper->RelativeID()), 0);
    EXPECT_LT(CompareChildIDs(videos->RelativeID(), lower->RelativeID()), 0) << "folders first";
    CompareFolder = nullptr;
    EXPECT_EQ(CompareChildIDs(lower->RelativeID(), upper->RelativeID()), 0);
}

TEST_F(ShellItemsTest, AttributesBecomePropertiesCapabilitiesAndFolders) {
    const auto home = Root(PathAt("home"));
    const auto videos = Child(home.get(), u"Videos");
    const auto file = Child(home.get(), u"b.txt");
    const auto zip = Child(home.get(), u"movies.ZIP");
    EXPECT_TRUE(videos->IsFolder());
    EXPECT_TRUE(videos->SubFolders());
    EXPECT_TRUE(zip->IsFolder()) << "a real folder whatever its name";
    EXPECT_FALSE(file->IsFolder());
    EXPECT_FALSE(Child(home.get(), u"Empty")->SubFolders());
    EXPECT_TRUE(videos->Properties().Contains(fpFileSystem));
    EXPECT_TRUE(videos->Properties().Contains(fpFileSystemAncestor));
    EXPECT_FALSE(videos->Properties().Contains(fpIsLink));
    EXPECT_EQ(file->Capabilities(),
              (TqxShellFolderCapabilities{fcCanCopy, fcCanDelete, fcCanMove, fcCanRename, fcHasPropSheet}));
    EXPECT_FALSE(home->Capabilities().Contains(fcCanRename)) << "Home is no entry";
    EXPECT_TRUE(home->ShellFolder());
    EXPECT_FALSE(file->ShellFolder()) << "a file binds no folder";
    EXPECT_TRUE(FolderHasItems(home->ShellFolder(), SHCONTF_NONFOLDERS));
    EXPECT_FALSE(FolderHasItems(Child(home.get(), u"Hidden")->ShellFolder(), SHCONTF_NONFOLDERS));
    EXPECT_TRUE(FolderHasItems(Child(home.get(), u"Hidden")->ShellFolder(),
                               SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN));
    EXPECT_EQ(videos->ImageIndex(false), shell::siFolder);
    EXPECT_EQ(ShellIconIndex(videos->AbsoluteID(), true, true), shell::siOpenFolder);
    EXPECT_EQ(home->ImageIndex(true), shell::siHome);
}

TEST_F(ShellItemsTest, RenamingRefusesExistingNamesAndFollowsTheNewName) {
    const auto home = Root(PathAt("home"));
    const auto file = Child(home.get(), u"b.txt");
    try {
        file->Rename(u"B.txt");
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(Text(e.Message()), "Rename to B.txt failed");
    }
    EXPECT_EQ(file->PathName(), PathAt("home/b.txt"));
    EXPECT_EQ(ReadBytes(PathAt("home/B.txt")), "12345");
    EXPECT_TRUE(file->Rename(u"c.txt"));
    EXPECT_EQ(file->PathName(), PathAt("home/c.txt"));
    EXPECT_EQ(Text(file->DisplayName()), "c.txt");
    EXPECT_TRUE(std::filesystem::exists(At("home/c.txt")));
    EXPECT_FALSE(home->Rename(u"elsewhere")) << "no rename capability";

    // A root item renames within its folder too.
    auto root = Root(PathAt("home/Empty"));
    EXPECT_TRUE(root->Rename(u"Full"));
    EXPECT_EQ(root->PathName(), PathAt("home/Full"));
}

TEST_F(ShellItemsTest, ColumnTextsComeFromTheFolderOrTheFindRecords) {
    const auto home = Root(PathAt("home"));
    const auto file = Child(home.get(), u"b.txt");
    EXPECT_THROW(file->ColumnText(1), Exception);
    try {
        file->ColumnText(1);
    } catch (const Exception& e) {
        EXPECT_EQ(Text(e.Message()), "b.txt: Missing call to LoadColumnDetails");
    }
    file->LoadColumnDetails(home.get(), nullptr, 3);
    EXPECT_EQ(Text(file->ColumnText(1)), "5 字节");
    EXPECT_EQ(Text(file->ColumnText(2)), "TXT 文件");
    EXPECT_EQ(file->ColumnText(3).size(), 19u);
    // Asking for no more columns than are loaded reads nothing again.
    std::filesystem::remove(At("home/b.txt"));
    file->LoadColumnDetails(home.get(), nullptr, 2);
    EXPECT_EQ(Text(file->ColumnText(1)), "5 字节");
    file->LoadColumnDetails(home.get(), nullptr, 4);
    EXPECT_EQ(Text(file->ColumnText(1)), "") << "gone since: empty texts";

    // A root without folder object: the find records.
    auto bare = std::make_unique<TqxShellFolder>(DesktopItem(), home->AbsoluteID(), nullptr);
    EXPECT_FALSE(bare->ShellFolder2());
    const auto folder = Child(home.get(), u"Videos"), other = Child(home.get(), u"B.txt");
    folder->LoadColumnDetails(bare.get(), nullptr, 4);
    other->LoadColumnDetails(bare.get(), nullptr, 4);
    EXPECT_EQ(Text(folder->ColumnText(1)), "-1");
    EXPECT_EQ(Text(folder->ColumnText(3)), "") << "no date for a folder";
    EXPECT_EQ(Text(folder->ColumnText(4)), "16");
    EXPECT_EQ(Text(other->ColumnText(1)), "5");
    EXPECT_EQ(Text(other->ColumnText(2)), ".txt");
    EXPECT_EQ(other->ColumnText(3).size(), 19u);
    const auto vanished = Child(home.get(), u"Empty");
    std::filesystem::remove(At("home/Empty"));
    vanished->LoadColumnDetails(bare.get(), nullptr, 4);
    EXPECT_EQ(Text(vanished->ColumnText(1)), "");
    try {
        ReadItemFindData(vanished.get());
        ADD_FAILURE() << "no error";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(Text(e.Message()), "Unable to retrieve folder details for \"Empty\". Error code $2");
    }
}

TEST_F(ShellItemsTest, ColumnValuesComeFromTheFolderOrTheFindRecordsAndNeverRaise) {
    const auto home = Root(PathAt("home"));
    auto bare = std::make_unique<TqxShellFolder>(DesktopItem(), home->AbsoluteID(), nullptr);
    const auto file = Child(home.get(), u"b.txt"), folder = Child(home.get(), u"Videos");
    struct TCase {
        TqxShellFolder* Root;
        TqxShellFolder* Item;
        Integer Column;
        bool Has;
        win::DWORD Type;
        Int64 Number;
        const char16_t* Text;
    };
    const TCase cases[] = {
        // From the folder's details: the type is the shown text.
        {home.get(), file.get(), 1, true, win::SHCOLSTATE_TYPE_INT, 5, u""},
        {home.get(), file.get(), 2, true, win::SHCOLSTATE_TYPE_STR, 0, u"TXT 文件"},
        {home.get(), folder.get(), 1, false, 0, 0, u""},
        {home.get(), file.get(), 9, false, 0, 0, u""},
        {home.get(), file.get(), 0, false, 0, 0, u""},
        // From the find records: the extension.
        {bare.get(), file.get(), 1, true, win::SHCOLSTATE_TYPE_INT, 5, u""},
        {bare.get(), file.get(), 2, true, win::SHCOLSTATE_TYPE_STR, 0, u".txt"},
        {bare.get(), folder.get(), 1, false, 0, 0, u""},
        {bare.get(), folder.get(), 3, false, 0, 0, u""},
    };
    for (const TCase& c : cases) {
        win::TDetailValue value;
        ASSERT_EQ(c.Item->ColumnValue(c.Root, c.Column, value), c.Has) << c.Column;
        if (!c.Has) continue;
        EXPECT_EQ(value.Type, c.Type) << c.Column;
        if (c.Type == win::SHCOLSTATE_TYPE_INT) {
            EXPECT_EQ(value.Number, c.Number);
        }
        EXPECT_EQ(value.Text, c.Text);
    }
    win::TDetailValue date;
    ASSERT_TRUE(file->ColumnValue(bare.get(), 3, date));
    EXPECT_EQ(date.Type, win::SHCOLSTATE_TYPE_DATE);
    EXPECT_NEAR(date.Date, Now(), 1.0 / 24);
    std::filesystem::remove(At("home/b.txt"));
    for (TqxShellFolder* root : {home.get(), bare.get()})
        EXPECT_FALSE(file->ColumnValue(root, 1, date)) << "gone: no value, no error";
}

TEST_F(ShellItemsTest, VerbsAndTheDefaultActionGoThroughTheShell) {
    const auto home = Root(PathAt("home"));
    const auto videos = Child(home.get(), u"Videos");
    EXPECT_TRUE(videos->ExecuteDefault());
    InvokeItemVerb(Child(home.get(), u"B.txt").get(), "open");
    InvokeItemVerb(nullptr, "open");
    const std::vector<win::driver::TShellOpen> opens{{u"", PathAt("home/Videos")},
                                                     {u"open", PathAt("home/B.txt")}};
    EXPECT_EQ(win::driver::ShellOpens(), opens);
    EXPECT_FALSE(Root(u"rfMyComputer")->ExecuteDefault());
    InvokeItemVerb(Child(home.get(), u"B.txt").get(), "delete");
    EXPECT_FALSE(std::filesystem::exists(At("home/B.txt")));
    EXPECT_TRUE(std::filesystem::exists(At("home/.local/share/Trash/files/B.txt")));
}

}  // namespace
