// The shell list view over the test namespace: masks, order, columns,
// navigation and the linked tree.
#include "skin/dialogs/qxskinshelllist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/dialogs/qxskinmessage.h"
#include "skin/forms/dravenfold.h"
#include "skinfixtures.h"

namespace {

TEST(Masks, WildcardPartsAndTheirErrors) {
    struct TCase {
        const char16_t* Name;
        const char16_t* Pattern;
        bool Matches;
    };
    const TCase cases[] = {
        {u"Film.AVI", u"*.avi", true},  {u"film", u"*.*", true},
        {u"film", u"*.", true},         {u"film", u"*.avi", false},
        {u"a.b", u"?.b", true},         {u"ab.b", u"?.b", false},
        {u"b.txt", u"[!a]*", true},     {u"a.txt", u"[!a]*", false},
        {u"c.txt", u"[a-d].txt", true}, {u"", u"*", true},
        {u"abcabd.x", u"*abd.x", true}, {u"aaa", u"a*a*a*a", false},
        {u"ab.b", u"*?.b", true},       {u"xa.b", u"*[a-c].b", true},
        {u"a.b.c", u"*.c", true},       {u"a.b.c", u"*.b", false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MatchesMaskPart(c.Name, c.Pattern), c.Matches)
            << StringToUTF8(c.Name) << " " << StringToUTF8(c.Pattern);
    try {
        MatchesMaskPart(u"x", u"[");
        FAIL();
    } catch (const EMaskException& e) {
        EXPECT_EQ(e.Message(), u"'[' is an invalid mask at (1)");
    }
}

// Patterns that make a matcher retry every split of the name: the work stays
// within name length times pattern length.
TEST(Masks, TheWorkIsBoundedByNameTimesPattern) {
    const String name = String(3000, u'a') + u".y";
    struct TCase {
        const char16_t* Pattern;
        bool Matches;
    };
    const TCase cases[] = {
        {u"*a*a*a*a*a*.x", false},       {u"*a*a*a*a*a*a*a*a*a*a*a*a*.x", false},
        {u"*?*?*?*?*?*?*?*.x", false},   {u"*[a-b]*[!b]*[a]*.x", false},
        {u"*aaaaaaaaaaaaaaaab*", false}, {u"a*a*a*a*a*.y", true},
    };
    for (const TCase& c : cases) {
        const String pattern = c.Pattern;
        size_t steps = 0;
        EXPECT_EQ(MatchesMaskPart(name, pattern, &steps), c.Matches) << StringToUTF8(pattern);
        EXPECT_LE(steps, 2 * (name.size() + 3) * (pattern.size() + 1)) << StringToUTF8(pattern);
    }
}

// The header's click and the keys, called as the list's window calls them.
class TTestList : public TqxSkinFileListView {
public:
    using TqxSkinFileListView::ColClick;
    using TqxSkinFileListView::CommandCompleted;
    using TqxSkinFileListView::ExecuteCommand;
    using TqxSkinFileListView::KeyDown;
    using TqxSkinFileListView::OwnerDataFind;
    using TqxSkinFileListView::TqxSkinFileListView;
};

class ShellList : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/work/Zeta"));
        MakeFolder(At("home/work/alpha"));
        MakeFile(At("home/work/b.txt"), "1234567");
        MakeFile(At("home/work/a.avi"), "1");
        MakeFile(At("home/work/README"), "12");
        MakeFile(At("home/work/.hidden.txt"));
        FForm = new TForm(Application);
        FForm->SetBounds(0, 0, 600, 400);
        FForm->Show();
        FList = new TTestList(FForm);
        FList->SetRoot(PathAt("home/work"));
        FList->SetBounds(10, 10, 500, 300);
        FList->SetParent(FForm);
    }
    void TearDown() override {
        delete FForm;
        ShellTest::TearDown();
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (Integer i = 0; i < FList->FolderCount(); ++i)
            rows.push_back(StringToUTF8(FList->FolderAt(i)->DisplayName()));
        return rows;
    }

    TForm* FForm = nullptr;
    TTestList* FList = nullptr;
};

TEST_F(ShellList, FoldersFirstAndTheMaskFiltersFilesOnly) {
    EXPECT_EQ(FList->Path(), PathAt("home/work"));
    // The default mask takes names without a dot too, as "*.*" does on Windows.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi", "b.txt", "README"}));
    EXPECT_EQ(FList->Items()->Count(), 5);
    FList->SetMask(u"*.avi");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi"}));
    FList->SetMask(u"*");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi", "b.txt", "README"}));
    FList->SetMask(u"*.txt");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "b.txt"}));
    FList->SetMask(u"");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta"}));
    // A part without a dot is never tried; a bad one with a dot raises and leaves no rows.
    FList->SetMask(u"[a");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta"}));
    EXPECT_THROW(FList->SetMask(u"[a.txt"), EMaskException);
    EXPECT_EQ(FList->FolderCount(), 0);
    EXPECT_EQ(FList->Items()->Count(), 0);
}

TEST_F(ShellList, ColumnClicksSortAndAVanishedFileDoesNotBreakTheSort) {
    FList->SetViewStyle(vsReport);
    ASSERT_EQ(FList->Columns()->Count(), 4);
    EXPECT_EQ(FList->Columns()->Items(0)->Caption(), u"名称");
    EXPECT_EQ(FList->Columns()->Items(3)->Caption(), u"修改日期");
    // Size: folders first, then the files by size.
    FList->ColClick(FList->Columns()->Items(1));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi", "README", "b.txt"}));
    // The same column again: descending, files first.
    FList->ColClick(FList->Columns()->Items(1));
    EXPECT_TRUE(FList->SortDescending());
    EXPECT_EQ(Rows(), (std::vector<std::string>{"b.txt", "README", "a.avi", "Zeta", "alpha"}));
    // A file removed after the fill: the sort and the rows' texts go on.
    std::filesystem::remove(At("home/work/b.txt"));
    FList->ColClick(FList->Columns()->Items(3));
    EXPECT_EQ(Rows().size(), 5u);
    for (Integer i = 0; i < FList->Items()->Count(); ++i)
        EXPECT_NO_THROW(FList->Items()->Item(i));
}

// Sets a path's last change to the start of AYear.
void SetYear(const std::string& APath, int AYear) {
    struct tm local {};
    local.tm_year = AYear - 1900, local.tm_mday = 1, local.tm_isdst = -1;
    const std::filesystem::file_time_type time = std::filesystem::file_time_type::clock::from_sys(
        std::chrono::system_clock::from_time_t(std::mktime(&local)));
    std::filesystem::last_write_time(APath, time);
}

std::vector<std::string> Captions(TCustomListView* AList) {
    std::vector<std::string> captions;
    for (Integer i = 0; i < AList->Columns()->Count(); ++i) {
        const TListColumn* column = AList->Columns()->Items(i);
        captions.push_back(StringToUTF8(column->Caption()) +
                           (column->Alignment() == taRightJustify ? " >" : ""));
    }
    return captions;
}

TEST_F(ShellList, TheFolderDescribesTheColumnsAndEachSortsByItsValues) {
    MakeFile(At("home/work/c.avi"), "123");
    SetYear(At("home/work/Zeta"), 2001);
    SetYear(At("home/work/alpha"), 2002);
    SetYear(At("home/work/b.txt"), 2005);
    SetYear(At("home/work/c.avi"), 2007);
    SetYear(At("home/work/a.avi"), 2010);
    SetYear(At("home/work/README"), 2003);
    FList->SetMask(u"*");
    FList->SetViewStyle(vsReport);
    // The columns shown by default; the creation date is not.
    EXPECT_EQ(Captions(FList), (std::vector<std::string>{"名称", "大小 >", "类型", "修改日期"}));
    EXPECT_EQ(FList->Columns()->Items(0)->Width(), 25 * FList->Canvas()->TextWidth(u"X"));
    TListItem* row = FList->Items()->Item(2);
    EXPECT_EQ(row->Caption(), u"a.avi");
    EXPECT_EQ(row->SubItems()->Get(0), u"1 字节");
    EXPECT_EQ(row->SubItems()->Get(1), u"AVI 文件");
    EXPECT_EQ(row->SubItems()->Get(2), u"2010-01-01 00:00:00");
    EXPECT_EQ(FList->Items()->Item(0)->SubItems()->Get(0), u"") << "a folder has no size";

    struct TCase {
        Integer Column;
        std::vector<std::string> Rows;
    };
    const TCase cases[] = {
        // Type: by the shown text, folders first.
        {2, {"alpha", "Zeta", "a.avi", "c.avi", "b.txt", "README"}},
        {2, {"README", "b.txt", "c.avi", "a.avi", "Zeta", "alpha"}},
        // Modified: folders by their dates too.
        {3, {"Zeta", "alpha", "README", "b.txt", "c.avi", "a.avi"}},
        // Size: the two folders keep the folder's own order.
        {1, {"alpha", "Zeta", "a.avi", "README", "c.avi", "b.txt"}},
        {0, {"alpha", "Zeta", "a.avi", "b.txt", "c.avi", "README"}},
        {0, {"README", "c.avi", "b.txt", "a.avi", "Zeta", "alpha"}},
    };
    for (const TCase& c : cases) {
        FList->ColClick(FList->Columns()->Items(c.Column));
        EXPECT_EQ(Rows(), c.Rows) << c.Column << (FList->SortDescending() ? " descending" : "");
    }
    // A fresh fill orders as a fill does again.
    FList->Refresh();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi", "b.txt", "c.avi", "README"}));
}

TEST_F(ShellList, ComputerShowsItsVolumesTypesAndSpace) {
    FList->SetViewStyle(vsReport);
    FList->SetRoot(u"rfMyComputer");
    // The fixture's /mnt/ram is seldom there, and then its entry is no
    // folder: a mask that takes no file leaves the volumes.
    FList->SetMask(u"*.none");
    EXPECT_EQ(Captions(FList), (std::vector<std::string>{"名称", "类型", "总大小 >", "可用空间 >"}));
    // In the order of their mount paths.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"文件系统", "cdrom", "data", "USB KEY", "net"}));
    std::map<std::string, std::vector<String>> texts;
    for (Integer i = 0; i < FList->Items()->Count(); ++i) {
        TListItem* row = FList->Items()->Item(i);
        texts[StringToUTF8(row->Caption())] = {row->SubItems()->Get(0), row->SubItems()->Get(1),
                                               row->SubItems()->Get(2)};
    }
    EXPECT_EQ(texts["USB KEY"][0], u"可移动磁盘");
    EXPECT_EQ(texts["cdrom"][0], u"光盘");
    EXPECT_EQ(texts["data"][0], u"本地磁盘");
    // A network volume is never asked: it may hang.
    EXPECT_EQ(texts["net"], (std::vector<String>{u"网络驱动器", u"", u""}));
    EXPECT_TRUE(texts["文件系统"][1].ends_with(u"B")) << StringToUTF8(texts["文件系统"][1]);

    // Type sorts by the text; free space by the number, volumes without one first.
    FList->ColClick(FList->Columns()->Items(1));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"cdrom", "USB KEY", "文件系统", "data", "net"}));
    FList->ColClick(FList->Columns()->Items(3));
    std::vector<Int64> space;
    for (Integer i = 0; i < FList->FolderCount(); ++i) {
        win::TDetailValue value;
        if (FList->FolderAt(i)->ColumnValue(FList->RootFolder(), 3, value)) {
            EXPECT_EQ(value.Type, win::SHCOLSTATE_TYPE_INT);
            space.push_back(value.Number);
        } else {
            EXPECT_TRUE(space.empty()) << "a volume without a value after one with";
        }
    }
    EXPECT_GE(space.size(), 4u);
    // Read again after the sort: tests beside this one write to the same
    // disk meanwhile, so a later volume may show a little less.
    constexpr Int64 WrittenMeanwhile = Int64(1) << 30;
    for (size_t i = 1; i < space.size(); ++i)
        EXPECT_GE(space[i], space[i - 1] - WrittenMeanwhile) << i;
    FList->ColClick(FList->Columns()->Items(3));
    EXPECT_EQ(Rows().back(), "net") << "descending: the volumes without space last";
}

TEST_F(ShellList, KeysNavigateAndTheSelectionIsListedInRowOrder) {
    Integer changes = 0;
    FList->OnPathChanged = [&](TObject*) { ++changes; };
    FList->SetFocus();
    FList->SetItemIndex(0);
    Word key = win::VK_RETURN;
    FList->KeyDown(key, {});
    EXPECT_EQ(FList->Path(), PathAt("home/work/alpha"));
    key = win::VK_BACK;
    FList->KeyDown(key, {});
    EXPECT_EQ(FList->Path(), PathAt("home/work"));
    MakeFile(At("home/work/c.txt"));
    key = win::VK_F5;
    FList->KeyDown(key, {});
    EXPECT_EQ(Rows()[4], "c.txt");
    EXPECT_EQ(changes, 3);
    // Backspace climbs past the root to the desktop and stops there.
    for (Integer i = 0; i < 30; ++i)
        FList->GoUp();
    EXPECT_EQ(FList->Path(), FList->RootFolder()->PathName());
    EXPECT_EQ(IdListCount(FList->RootFolder()->AbsoluteID()), 0);

    FList->SetPath(PathAt("home/work"));
    FList->SetMultiSelect(true);
    FList->Items()->Item(3)->SetSelected(true);
    FList->Items()->Item(2)->SetSelected(true);
    // A selected folder is no file.
    FList->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(FList->GetSelectedFile(), u"");
    EXPECT_EQ(FList->GetSelectedFiles(),
              (std::vector<String>{PathAt("home/work/a.avi"), PathAt("home/work/b.txt")}));
    // Type-ahead finds a prefix from the start row on, wrapping, or nothing.
    EXPECT_EQ(FList->OwnerDataFind(ifPartialString, u"B", {}, nullptr, 0, sdAll, false), 3);
    EXPECT_EQ(FList->OwnerDataFind(ifPartialString, u"al", {}, nullptr, 2, sdAll, true), 0);
    EXPECT_EQ(FList->OwnerDataFind(ifPartialString, u"q", {}, nullptr, 0, sdAll, true), -1);
}

// Alt+Enter shows the selected item's properties, folder or file, and
// takes the key; it neither opens a folder nor starts a file.
TEST_F(ShellList, AltEnterShowsThePropertiesAndTakesTheKey) {
    std::vector<String> texts;
    Application->OnIdle = [&](TObject*, bool&) {
        if (auto* box = dynamic_cast<TqxMessageForm*>(Screen->ActiveCustomForm())) {
            texts.push_back(box->Message->Caption());
            box->SetModalResult(mrOk);
        }
    };
    for (const Integer row : {0, 3}) {
        FList->SetItemIndex(row);
        Word key = win::VK_RETURN;
        FList->KeyDown(key, {ssAlt});
        EXPECT_EQ(key, 0);
    }
    Application->OnIdle = nullptr;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(PathAt("home/work/alpha")), String::npos);
    EXPECT_NE(texts[1].find(PathAt("home/work/b.txt")), String::npos);
    EXPECT_EQ(FList->Path(), PathAt("home/work"));
    EXPECT_TRUE(win::driver::ShellOpens().empty());
}

// The rightmost column of a row's label that holds ink: where its text ends.
Integer InkRight(TqxSkinFileListView* AList, Integer ARow) {
    const TRect label = AList->Items()->Item(ARow)->DisplayRect(drLabel);
    const win::COLORREF background = win::driver::Pixel(AList->Handle(), label.Right - 1, label.Top);
    Integer right = label.Left;
    for (Integer x = label.Left; x < label.Right; ++x)
        for (Integer y = label.Top; y < label.Bottom; ++y)
            if (win::driver::Pixel(AList->Handle(), x, y) != background) right = x;
    return right - label.Left;
}

// A file name is drawn as it is: "&" is no mnemonic there, plain or
// skinned, so "a&b.mp4" reaches further than "ab.mp4".
TEST_F(ShellList, AnAmpersandInANameIsDrawnAsItIs) {
    MakeFile(At("home/work/a&b.mp4"));
    MakeFile(At("home/work/ab.mp4"));
    FList->SetViewStyle(vsList);
    FList->Refresh();
    const auto rowOf = [&](const String& AName) {
        for (Integer i = 0; i < FList->FolderCount(); ++i)
            if (FList->FolderAt(i)->DisplayName() == AName) return i;
        return -1;
    };
    auto* skin = new TqxSkinData(FForm);
    skinfixtures::LoadFixture(skin, skinfixtures::ProjectSkin(u"default"));
    for (const bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "plain");
        FList->SetSkinData(skinned ? skin : nullptr);
        FList->SetDrawSkin(skinned);
        FList->Repaint();
        EXPECT_GT(InkRight(FList, rowOf(u"a&b.mp4")), InkRight(FList, rowOf(u"ab.mp4")) + 2);
    }
}

TEST_F(ShellList, ALinkedTreeFollowsAndIsFollowed) {
    auto* tree = new TqxSkinDirTreeView(FForm);
    tree->SetBounds(10, 320, 300, 70);
    tree->SetParent(FForm);
    FList->SetShellTreeView(tree);
    EXPECT_EQ(tree->Path(), PathAt("home/work"));
    FList->SetPath(PathAt("home/work/Zeta"));
    EXPECT_EQ(tree->Path(), PathAt("home/work/Zeta"));
    tree->SetPath(PathAt("home/work/alpha"));
    EXPECT_EQ(FList->Path(), PathAt("home/work/alpha"));
    delete tree;
    EXPECT_EQ(FList->ShellTreeView(), nullptr);
}

TEST_F(ShellList, APathComboLinkedWithoutATreeFollowsAndIsFollowed) {
    auto* combo = new TqxSkinShellComboBox(FForm);
    combo->SetBounds(10, 320, 300, 22);
    combo->SetParent(FForm);
    FList->SetShellComboBox(combo);
    EXPECT_EQ(combo->Path(), PathAt("home/work"));
    FList->SetPath(PathAt("home/work/Zeta"));
    EXPECT_EQ(combo->Path(), PathAt("home/work/Zeta"));
    // The combo shares the list's root: its first entry is that folder.
    combo->SetItemIndex(0);
    EXPECT_EQ(FList->Path(), PathAt("home/work"));
    delete combo;
    EXPECT_EQ(FList->ShellComboBox(), nullptr);
    FList->SetPath(PathAt("home/work/alpha"));
}

TEST_F(ShellList, RefreshKeepsTheSelectedRowNumberWhileItExists) {
    const Integer last = FList->FolderCount() - 1;
    FList->SetItemIndex(last);
    MakeFile(At("home/work/c.txt"));
    FList->Refresh();
    EXPECT_EQ(FList->ItemIndex(), last);
    EXPECT_EQ(Rows()[size_t(last)], "c.txt");
    // The row number is kept, not the item; past the end nothing is selected.
    FList->SetItemIndex(FList->FolderCount() - 1);
    std::filesystem::remove(At("home/work/c.txt"));
    std::filesystem::remove(At("home/work/b.txt"));
    FList->Refresh();
    EXPECT_EQ(FList->ItemIndex(), -1);
}

TEST_F(ShellList, AutoRefreshWatchesTheCurrentFolderAndMovesWithIt) {
    EXPECT_EQ(FList->FolderWatcher(), nullptr);
    FList->SetAutoRefresh(true);
    ASSERT_NE(FList->FolderWatcher(), nullptr);
    EXPECT_EQ(FList->FolderWatcher()->Root(), PathAt("home/work"));
    const auto has = [this](const std::string& AName) {
        const std::vector<std::string> rows = Rows();
        return std::find(rows.begin(), rows.end(), AName) != rows.end();
    };
    MakeFile(At("home/work/new.txt"));
    EXPECT_TRUE(RunCallsUntil([&] { return has("new.txt"); }));
    std::filesystem::rename(At("home/work/new.txt"), At("home/work/renamed.txt"));
    EXPECT_TRUE(RunCallsUntil([&] { return has("renamed.txt") && !has("new.txt"); }));

    FList->SetPath(PathAt("home/work/Zeta"));
    EXPECT_EQ(FList->FolderWatcher()->Root(), PathAt("home/work/Zeta"));
    MakeFolder(At("home/work/Zeta/inner"));
    EXPECT_TRUE(RunCallsUntil([&] { return has("inner"); }));
    FList->SetAutoRefresh(false);
    EXPECT_EQ(FList->FolderWatcher(), nullptr);
    // A change queued before the list goes reaches nothing.
    FList->SetAutoRefresh(true);
    MakeFile(At("home/work/Zeta/late.txt"));
    delete FForm;
    FForm = nullptr;
    CheckSynchronize();
}

}  // namespace

namespace {

TEST_F(ShellList, OpenStartsInTheItemsFolderAndTheDirectoryComesBack) {
    const String saved = GetCurrentDir();
    SetCurrentDir(PathAt("home"));
    FList->SetItemIndex(2);
    bool handled = false;
    FList->ExecuteCommand(u"open", handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(GetCurrentDir(), PathAt("home/work"));
    // Also after a start that failed.
    FList->CommandCompleted(u"open", false);
    EXPECT_EQ(GetCurrentDir(), PathAt("home"));
    FList->ExecuteCommand(u"delete", handled);
    EXPECT_EQ(GetCurrentDir(), PathAt("home"));
    SetCurrentDir(saved);
}

TEST_F(ShellList, AWatchedRefreshWaitsUntilTheItemMenuClosed) {
    Integer refreshes = 0;
    TqxHeldRefresh gate([&] { ++refreshes; }, &refreshes);
    gate.Request();
    EXPECT_EQ(refreshes, 1);
    std::unique_ptr<TqxSkinPopupMenu> menu;
    gate.ShowMenu(TqxItemMenuHost{}, FList->FolderAt(2), 50, 50, menu);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(bool(menu->OnMenuClose));
    gate.Request();
    gate.Request();
    EXPECT_EQ(refreshes, 1);
    // The chosen entry runs after the close, the refresh after it.
    menu->OnMenuClose(menu.get());
    EXPECT_EQ(refreshes, 1);
    CheckSynchronize();
    EXPECT_EQ(refreshes, 2);
    gate.Request();
    EXPECT_EQ(refreshes, 3);
    RemoveQueuedEvents(&refreshes);
}

TEST_F(ShellList, TheItemMenuOpensDeletesRenamesAndShowsProperties) {
    TqxItemMenuHost host;
    std::unique_ptr<TqxSkinPopupMenu> menu(BuildItemMenu(host, FList->FolderAt(3)));
    ASSERT_NE(menu, nullptr);
    std::vector<String> captions;
    for (Integer i = 0; i < menu->Items()->Count(); ++i)
        captions.push_back(menu->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<String>{u"打开", u"重命名", u"删除", u"属性"}));

    // Properties: a box with the path.
    String caption, text;
    Application->OnIdle = [&](TObject*, bool&) {
        if (auto* box = dynamic_cast<TqxMessageForm*>(Screen->ActiveCustomForm())) {
            caption = box->Caption();
            text = box->Message->Caption();
            box->SetModalResult(mrOk);
        }
    };
    EXPECT_TRUE(FList->RunVerb(3, "properties"));
    Application->OnIdle = nullptr;
    EXPECT_EQ(caption, u"属性");
    EXPECT_NE(text.find(PathAt("home/work/b.txt")), String::npos);
    // Open goes to the desktop's program.
    EXPECT_TRUE(FList->RunVerb(3, "open"));
    ASSERT_FALSE(win::driver::ShellOpens().empty());
    EXPECT_EQ(win::driver::ShellOpens().back().Target, PathAt("home/work/b.txt"));
    // Delete moves the file to the trash and the list reads the folder again.
    EXPECT_TRUE(FList->RunVerb(3, "delete"));
    EXPECT_FALSE(std::filesystem::exists(At("home/work/b.txt")));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "Zeta", "a.avi", "README"}));
}

TEST_F(ShellList, ATreeDeleteDropsTheNodeOfTheFolderGone) {
    auto* tree = new TqxSkinDirTreeView(FForm);
    tree->SetRoot(PathAt("home/work"));
    tree->SetBounds(10, 320, 300, 70);
    tree->SetParent(FForm);
    TTreeNode* alpha = tree->Items()->GetFirstNode()->GetFirstChild();
    ASSERT_EQ(alpha->Text(), u"alpha");
    EXPECT_TRUE(tree->RunVerb(alpha, "delete"));
    EXPECT_FALSE(std::filesystem::exists(At("home/work/alpha")));
    EXPECT_FALSE(tree->Items()->Contains(alpha));
}

// On a skinned form a right click on an item shows its menu, in the list
// and in the tree, through the form's frame component.
TEST_F(ShellList, ARightClickShowsTheItemMenuInTheListAndInTheTree) {
    auto* skin = new TqxSkinData(FForm);
    skinfixtures::LoadFixture(skin, skinfixtures::ProjectSkin(u"default"));
    auto* frame = new TqxDravenfold(FForm);
    frame->SetSkinData(skin);
    FList->SetSkinData(skin);
    FList->SetViewStyle(vsList);
    auto* tree = new TqxSkinDirTreeView(FForm);
    tree->SetRoot(PathAt("home/work"));
    tree->SetBounds(10, 320, 300, 70);
    tree->SetParent(FForm);
    tree->SetSkinData(skin);
    win::driver::Pump();
    const auto menuCaptions = [&] {
        std::vector<String> captions;
        auto* menu = dynamic_cast<TqxSkinMenu*>(frame->SkinMenu());
        if (!menu || !menu->Visible()) return captions;
        TqxSkinPopupWindow* window = menu->PopupWindow(0);
        for (Integer i = 0; i < window->ItemCount(); ++i)
            captions.push_back(window->Item(i)->MenuItem->Caption());
        return captions;
    };
    const std::vector<String> all{u"打开", u"重命名", u"删除", u"属性"};
    const auto rightClick = [](TControl* AControl, const TRect& ARect) {
        const TPoint at =
            AControl->ClientToScreen(TPoint((ARect.Left + ARect.Right) / 2, (ARect.Top + ARect.Bottom) / 2));
        win::driver::Click(win::POINT{at.X, at.Y}, win::VK_RBUTTON);
        win::driver::Pump();
    };
    rightClick(FList, FList->Items()->Item(3)->DisplayRect(drBounds));
    EXPECT_EQ(menuCaptions(), all);
    win::driver::Key(win::VK_ESCAPE);
    Application->ProcessMessages();
    EXPECT_TRUE(menuCaptions().empty());
    // Again, after the menu was dismissed.
    rightClick(FList, FList->Items()->Item(2)->DisplayRect(drBounds));
    EXPECT_EQ(menuCaptions(), all);
    win::driver::Key(win::VK_ESCAPE);
    Application->ProcessMessages();
    rightClick(tree, tree->Items()->GetFirstNode()->GetFirstChild()->DisplayRect(true));
    EXPECT_EQ(menuCaptions(), all);
    win::driver::Key(win::VK_ESCAPE);
    Application->ProcessMessages();
}

}  // namespace
