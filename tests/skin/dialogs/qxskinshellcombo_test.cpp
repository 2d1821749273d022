// The shell path combo over the test namespace: the root list, following
// a view, roots, paths and the views it moves.
#include "skin/dialogs/qxskinshellcombo.h"

#include <gtest/gtest.h>

#include "platform/toolkit/forms.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"

namespace {

class ShellCombo : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/Videos/Trip/Day1"));
        MakeFolder(At("home/Music"));
        FForm = new TForm(Application);
        FForm->SetBounds(0, 0, 400, 300);
        FForm->Show();
        FCombo = new TqxSkinShellComboBox(FForm);
        FCombo->SetBounds(10, 10, 300, 22);
        FCombo->SetParent(FForm);
    }
    void TearDown() override {
        delete FForm;
        ShellTest::TearDown();
    }
    // "indent:caption" per entry.
    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (Integer i = 0; i < FCombo->ItemCount(); ++i)
            entries.push_back(std::to_string(FCombo->ItemsEx(i).Indent) + ":" +
                              StringToUTF8(FCombo->ItemsEx(i).Caption));
        return entries;
    }
    Integer IndexOf(const std::string& AEntry) const {
        const std::vector<std::string> entries = Entries();
        const auto at = std::find(entries.begin(), entries.end(), AEntry);
        return at == entries.end() ? -1 : Integer(at - entries.begin());
    }

    TForm* FForm = nullptr;
    TqxSkinShellComboBox* FCombo = nullptr;
};

TEST_F(ShellCombo, TheDesktopRootListsItsChildrenAndTheVolumesUnderComputer) {
    const std::vector<std::string> entries = Entries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries[0], "0:桌面");
    const Integer computer = IndexOf("1:计算机");
    ASSERT_GE(computer, 1);
    EXPECT_EQ(entries[size_t(computer) + 1], "2:文件系统");
    EXPECT_GE(IndexOf("1:主文件夹"), 1);
    EXPECT_EQ(FCombo->Items()->Count(), FCombo->ItemCount());
    EXPECT_EQ(FCombo->ItemIndex(), 0);
    EXPECT_EQ(FCombo->Text(), u"桌面");
    for (Integer i = 0; i < FCombo->ItemCount(); ++i) EXPECT_EQ(FCombo->Items()->Strings(i), FCombo->ItemsEx(i).Caption);
}

TEST_F(ShellCombo, FollowingAFolderInsertsItsPathAndChoosesIt) {
    const TList target = Parse(PathAt("home/Videos/Trip/Day1"));
    ASSERT_TRUE(target);
    std::vector<PCItemIDList> chosen;
    FCombo->OnFolderChosen = [&](PCItemIDList AList) { chosen.push_back(AList); };
    FCombo->FollowIdList(target.get());
    const Integer index = FCombo->ItemIndex();
    ASSERT_GT(index, 0);
    EXPECT_EQ(FCombo->ItemsEx(index).Caption, u"Day1");
    EXPECT_EQ(FCombo->ItemsEx(index - 1).Caption, u"Trip");
    EXPECT_EQ(FCombo->ItemsEx(index - 2).Caption, u"Videos");
    EXPECT_EQ(FCombo->ItemsEx(index).Indent, FCombo->ItemsEx(index - 1).Indent + 1);
    EXPECT_EQ(FCombo->ItemsEx(index - 1).Indent, FCombo->ItemsEx(index - 2).Indent + 1);
    EXPECT_EQ(FCombo->Path(), PathAt("home/Videos/Trip/Day1"));
    // Following a view never moves the views back.
    EXPECT_TRUE(chosen.empty());
    // The folder it already shows changes nothing.
    const Integer count = FCombo->ItemCount();
    FCombo->FollowIdList(target.get());
    EXPECT_EQ(FCombo->ItemCount(), count);
    // Choosing an entry moves the views.
    FCombo->SetItemIndex(0);
    ASSERT_EQ(chosen.size(), 1u);
}

TEST_F(ShellCombo, RootsAndPaths) {
    FCombo->SetRoot(PathAt("home/Videos"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"0:Videos", "1:Trip"}));
    // Outside the root: the root entry.
    const TList outside = Parse(PathAt("home/Music"));
    FCombo->FollowIdList(outside.get());
    EXPECT_EQ(FCombo->ItemIndex(), 0);
    // A root naming nothing keeps the previous one.
    EXPECT_THROW(FCombo->SetRoot(PathAt("nowhere")), Exception);
    EXPECT_EQ(FCombo->Root(), PathAt("home/Videos"));
    // The desktop by a name in another case: no volumes under Computer.
    FCombo->SetRoot(u"rfdesktop");
    const Integer computer = IndexOf("1:计算机");
    ASSERT_GE(computer, 0);
    EXPECT_NE(Entries()[size_t(computer) + 1], "2:文件系统");
    // A path moves only the combo; one the desktop cannot parse is refused.
    FCombo->SetPath(PathAt("home/Music"));
    EXPECT_EQ(FCombo->Path(), PathAt("home/Music"));
    const Integer before = FCombo->ItemCount();
    try {
        FCombo->SetPath(u"relative/x");
        FAIL();
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(e.Message(), u"Error setting path: \"relative/x\"");
    }
    EXPECT_EQ(FCombo->ItemCount(), before);
}

TEST_F(ShellCombo, ANewWindowStartsFromTheRootList) {
    FCombo->SetPath(PathAt("home/Videos/Trip"));
    const Integer full = FCombo->ItemCount();
    FCombo->SetParent(nullptr);
    EXPECT_EQ(FCombo->ItemCount(), 0);
    FCombo->SetParent(FForm);
    EXPECT_LT(FCombo->ItemCount(), full);
    EXPECT_EQ(FCombo->ItemIndex(), 0);
}

}  // namespace
