// The shell tree view over the test namespace: lazy levels, paths, roots
// and the linked path combo.
#include "skin/dialogs/qxskinshelltree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/toolkit/forms.h"
#include "shelltest.h"
#include "skin/dialogs/qxskinshellcombo.h"

namespace {

// The finished name edit, called as the tree's editor calls it.
class TTestTree : public TqxSkinDirTreeView {
public:
    using TqxSkinDirTreeView::Edit;
    using TqxSkinDirTreeView::TqxSkinDirTreeView;
};

class ShellTree : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/Videos/Trip/Day1"));
        MakeFolder(At("home/Music"));
        MakeFile(At("home/Videos/clip.avi"));
        FForm = new TForm(Application);
        FForm->SetBounds(0, 0, 400, 400);
        FForm->Show();
        FTree = new TTestTree(FForm);
        FTree->SetBounds(10, 40, 300, 300);
        FTree->SetParent(FForm);
    }
    void TearDown() override {
        delete FForm;
        ShellTest::TearDown();
    }
    static std::vector<std::string> Children(TTreeNode* ANode) {
        std::vector<std::string> names;
        for (TTreeNode* child = ANode->GetFirstChild(); child; child = child->GetNextSibling())
            names.push_back(StringToUTF8(child->Text()));
        return names;
    }

    TForm* FForm = nullptr;
    TTestTree* FTree = nullptr;
};

TEST_F(ShellTree, TheRootIsReadOneLevelAtATime) {
    TTreeNode* root = FTree->Items()->GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Text(), u"桌面");
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(FTree->Selected(), root);
    const std::vector<std::string> top = Children(root);
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(top[0], "计算机");
    EXPECT_EQ(top[1], "主文件夹");
    // Home is not read until it expands.
    TTreeNode* home = root->GetFirstChild()->GetNextSibling();
    EXPECT_EQ(home->Count(), 0);
    EXPECT_TRUE(home->HasChildren());
    home->Expand(false);
    const std::vector<std::string> inHome = Children(home);
    EXPECT_NE(std::find(inHome.begin(), inHome.end(), "Videos"), inHome.end());
    EXPECT_NE(std::find(inHome.begin(), inHome.end(), "Music"), inHome.end());
}

TEST_F(ShellTree, APathSelectsItsFolderAndSurvivesANewWindow) {
    FTree->SetPath(PathAt("home/Videos/Trip/Day1"));
    EXPECT_EQ(FTree->Path(), PathAt("home/Videos/Trip/Day1"));
    EXPECT_EQ(FTree->Selected()->Text(), u"Day1");
    EXPECT_THROW(FTree->SetPath(u"relative"), EInvalidPath);
    FTree->SetPath(PathAt("home/Videos/Trip"));
    FTree->SetParent(nullptr);
    FTree->SetParent(FForm);
    EXPECT_EQ(FTree->Path(), PathAt("home/Videos/Trip"));
    // Files join the folders on request.
    FTree->SetRoot(PathAt("home/Videos"));
    EXPECT_EQ(Children(FTree->Items()->GetFirstNode()), (std::vector<std::string>{"Trip"}));
    FTree->SetObjectTypes({otFolders, otNonFolders});
    EXPECT_EQ(Children(FTree->Items()->GetFirstNode()), (std::vector<std::string>{"Trip", "clip.avi"}));
    EXPECT_THROW(FTree->SetRoot(PathAt("nowhere")), Exception);
    EXPECT_EQ(FTree->Root(), PathAt("home/Videos"));
}

TEST_F(ShellTree, ThePathComboAndTheTreeFollowEachOther) {
    auto* combo = new TqxSkinShellComboBox(FForm);
    combo->SetBounds(10, 10, 300, 22);
    combo->SetParent(FForm);
    FTree->SetShellComboBox(combo);
    Integer changes = 0;
    FTree->OnFolderChanged = [&](PCItemIDList) { ++changes; };
    FTree->SetPath(PathAt("home/Music"));
    EXPECT_EQ(combo->Path(), PathAt("home/Music"));
    EXPECT_EQ(changes, 1);
    // Choosing the desktop entry in the combo moves the tree.
    combo->SetItemIndex(0);
    EXPECT_EQ(FTree->Selected(), FTree->Items()->GetFirstNode());
    EXPECT_EQ(changes, 2);
    delete combo;
    EXPECT_EQ(FTree->ShellComboBox(), nullptr);
    FTree->SetPath(PathAt("home/Videos"));
    EXPECT_EQ(FTree->Selected()->Text(), u"Videos");
}

// The node of the folder AName below ANode.
TTreeNode* ChildNamed(TTreeNode* ANode, const String& AName) {
    for (TTreeNode* child = ANode->GetFirstChild(); child; child = child->GetNextSibling())
        if (child->Text() == AName) return child;
    return nullptr;
}

TEST_F(ShellTree, RefreshKeepsOpenFoldersTheSelectionAndTheTopNode) {
    FTree->SetBounds(10, 40, 300, 60);
    FTree->SetPath(PathAt("home/Videos/Trip/Day1"));
    TTreeNode* home = FTree->Selected()->Parent()->Parent()->Parent();
    ASSERT_EQ(home->Text(), u"主文件夹");
    FTree->SetTopItem(ChildNamed(home, u"Videos"));
    MakeFolder(At("home/Added"));
    std::filesystem::remove_all(At("home/Music"));
    FTree->Refresh(home);
    home = ChildNamed(FTree->Items()->GetFirstNode(), u"主文件夹");
    ASSERT_NE(home, nullptr);
    EXPECT_NE(ChildNamed(home, u"Added"), nullptr);
    EXPECT_EQ(ChildNamed(home, u"Music"), nullptr);
    TTreeNode* videos = ChildNamed(home, u"Videos");
    ASSERT_NE(videos, nullptr);
    EXPECT_TRUE(home->Expanded());
    EXPECT_TRUE(videos->Expanded());
    EXPECT_TRUE(ChildNamed(videos, u"Trip")->Expanded());
    EXPECT_EQ(FTree->Path(), PathAt("home/Videos/Trip/Day1"));
    EXPECT_EQ(FTree->TopItem(), videos);
    // A selected folder that is gone leaves nothing selected.
    std::filesystem::remove_all(At("home/Videos/Trip/Day1"));
    FTree->Refresh(ChildNamed(videos, u"Trip"));
    EXPECT_EQ(FTree->Selected(), nullptr);
}

// Renaming a folder reads its parent again: the open subfolders, and a
// selection below it, carry the new path.
TEST_F(ShellTree, ARenamedFoldersOpenSubfoldersAndTheSelectionTakeTheNewPath) {
    FTree->SetPath(PathAt("home/Videos/Trip/Day1"));
    TTreeNode* videos = FTree->Selected()->Parent()->Parent();
    ASSERT_EQ(videos->Text(), u"Videos");
    FTree->Edit(videos, String(u"Clips"));
    ASSERT_TRUE(std::filesystem::is_directory(At("home/Clips/Trip/Day1")));
    EXPECT_EQ(FTree->Path(), PathAt("home/Clips/Trip/Day1"));
    TTreeNode* clips = FTree->Selected()->Parent()->Parent();
    EXPECT_EQ(clips->Text(), u"Clips");
    EXPECT_TRUE(clips->Expanded());
    EXPECT_TRUE(ChildNamed(clips, u"Trip")->Expanded());
    // The node renamed while selected stays selected.
    FTree->SetSelected(clips);
    FTree->Edit(clips, String(u"Films"));
    EXPECT_EQ(FTree->Path(), PathAt("home/Films"));
    FTree->SetSelected(ChildNamed(ChildNamed(FTree->Selected(), u"Trip"), u"Day1"));
    EXPECT_EQ(FTree->Path(), PathAt("home/Films/Trip/Day1"));
    // Cancelled or unchanged: nothing is renamed.
    FTree->Edit(FTree->Selected(), std::nullopt);
    FTree->Edit(FTree->Selected(), String(u"Day1"));
    EXPECT_EQ(FTree->Path(), PathAt("home/Films/Trip/Day1"));
}

TEST_F(ShellTree, AutoRefreshFollowsTheSelectedFolder) {
    FTree->SetAutoRefresh(true);
    ASSERT_NE(FTree->FolderWatcher(), nullptr);
    FTree->SetPath(PathAt("home/Videos"));
    EXPECT_EQ(FTree->FolderWatcher()->Root(), PathAt("home/Videos"));
    MakeFolder(At("home/Videos/Fresh"));
    EXPECT_TRUE(RunCallsUntil([&] { return FTree->Selected() && ChildNamed(FTree->Selected(), u"Fresh"); }));
    EXPECT_EQ(FTree->Path(), PathAt("home/Videos"));
    FTree->SetPath(PathAt("home/Music"));
    EXPECT_EQ(FTree->FolderWatcher()->Root(), PathAt("home/Music"));
    FTree->SetAutoRefresh(false);
    EXPECT_EQ(FTree->FolderWatcher(), nullptr);
}

TEST_F(ShellTree, ExpandMyComputerOpensTheVolumes) {
    FTree->ExpandMyComputer();
    ASSERT_NE(FTree->Selected(), nullptr);
    EXPECT_EQ(FTree->Selected()->Text(), u"计算机");
    EXPECT_TRUE(FTree->Selected()->Expanded());
    EXPECT_NE(ChildNamed(FTree->Selected(), u"文件系统"), nullptr);
}

}  // namespace
