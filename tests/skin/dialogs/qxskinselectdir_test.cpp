// The select-directory dialog run modally over the test tree: size, the
// folder it opens at and hands back, Cancel, hidden folders and the tool
// bar's new folder.
#include "skin/dialogs/qxskinselectdir.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialogrun.h"
#include "platform/base/fileutils.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skinfixtures.h"

namespace driver = win::driver;

namespace {

class SelectDirectory : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/v/.hidden"));
        MakeFolder(At("home/v/sub"));
        FDialog = new TqxSkinSelectDirectoryDialog(Application);
        FDialog->OnChange = [this](TObject*) { ++FChanges; };
    }

    bool Run(std::function<void(TqxSelDirDlgForm*)> AStep) {
        return RunDialog<TqxSelDirDlgForm>([this] { return FDialog->Execute(); }, std::move(AStep));
    }
    static std::vector<String> Children(TTreeNode* ANode) {
        std::vector<String> names;
        for (TTreeNode* child = ANode->GetFirstChild(); child; child = child->GetNextSibling())
            names.push_back(child->Text());
        return names;
    }

    TqxSkinSelectDirectoryDialog* FDialog = nullptr;
    Integer FChanges = 0;
};

TEST_F(SelectDirectory, OkHandsBackTheFolderShownAndCancelKeepsIt) {
    FDialog->Directory = PathAt("home/v");
    TPoint size;
    std::vector<String> names;
    EXPECT_TRUE(Run([&](TqxSelDirDlgForm* AForm) {
        size = {AForm->ClientWidth(), AForm->ClientHeight()};
        EXPECT_EQ(AForm->DirTreeView->Path(), PathAt("home/v"));
        EXPECT_EQ(AForm->DirEdit, nullptr);
        AForm->DirTreeView->Selected()->Expand(false);
        names = Children(AForm->DirTreeView->Selected());
        driver::Key(win::VK_RETURN);
        Application->ProcessMessages();
    }));
    EXPECT_EQ(size, TPoint(280, 280));
    EXPECT_EQ(names, (std::vector<String>{u".hidden", u"sub"}));
    // Unchanged, OK still tells.
    EXPECT_EQ(FDialog->Directory, PathAt("home/v"));
    EXPECT_EQ(FChanges, 1);
    EXPECT_FALSE(Run([&](TqxSelDirDlgForm* AForm) {
        AForm->DirTreeView->SetPath(PathAt("home/v/sub"));
        AForm->SetClientWidth(500);
        AForm->SetClientHeight(400);
        driver::Key(win::VK_ESCAPE);
        Application->ProcessMessages();
    }));
    EXPECT_EQ(FDialog->Directory, PathAt("home/v"));
    EXPECT_EQ(FChanges, 1);
    EXPECT_EQ(FDialog->DialogWidth, 500);
    EXPECT_EQ(FDialog->DialogHeight, 400);
}

// The tree opens scrolled to the folder it opens at, however deep and far
// down the list it lies.
TEST_F(SelectDirectory, TheTreeOpensScrolledToItsFolder) {
    for (Integer i = 0; i < 40; ++i)
        MakeFolder(At("home/f" + std::to_string(100 + i)));
    // Wider than the tree: the horizontal bar comes and takes the bottom rows.
    const std::string deepest =
        "home/f139/deep/deeper/a_folder_with_a_rather_long_name_that_is_wider_than_the_tree";
    MakeFolder(At(deepest));
    FDialog->Directory = PathAt(deepest);
    auto* skin = new TqxSkinData(Application);
    skinfixtures::LoadFixture(skin, skinfixtures::ProjectSkin(u"default"));
    FDialog->SetSkinData(skin);
    FDialog->SetCtrlSkinData(skin);
    Run([&](TqxSelDirDlgForm* AForm) {
        TqxSkinDirTreeView* tree = AForm->DirTreeView;
        driver::Pump();
        ASSERT_EQ(tree->Path(), PathAt(deepest));
        const TRect node = tree->Selected()->DisplayRect(false);
        EXPECT_GE(node.Top, 0);
        EXPECT_LE(node.Bottom, tree->ClientHeight());
    });
}

TEST_F(SelectDirectory, AMissingFolderOpensAtComputer) {
    FDialog->Directory = PathAt("home/gone");
    String name;
    bool expanded = false;
    Run([&](TqxSelDirDlgForm* AForm) {
        TqxShellFolder* item = AForm->DirTreeView->SelectedFolder();
        name = item ? item->DisplayName() : u"";
        expanded = AForm->DirTreeView->Selected() && AForm->DirTreeView->Selected()->Expanded();
    });
    EXPECT_EQ(name, u"计算机");
    EXPECT_TRUE(expanded);
    EXPECT_EQ(FDialog->Directory, PathAt("home/gone"));
}

TEST_F(SelectDirectory, TheToolBarMakesOneNewFolderUnderTheSelection) {
    FDialog->Directory = PathAt("home/v");
    FDialog->ShowToolBar = true;
    std::vector<String> names;
    String edit;
    Run([&](TqxSelDirDlgForm* AForm) {
        AForm->DirTreeView->SetPath(PathAt("home/v/sub"));
        edit = AForm->DirEdit->Text();
        AForm->DirTreeView->SetPath(PathAt("home/v"));
        AForm->DirTreeView->Selected()->Expand(false);
        AForm->NewFolderToolButton->Click();
        AForm->NewFolderToolButton->Click();
        names = Children(AForm->DirTreeView->Selected());
        EXPECT_EQ(AForm->DirTreeView->Path(), PathAt("home/v"));
    });
    EXPECT_EQ(edit, PathAt("home/v/sub"));
    EXPECT_EQ(names, (std::vector<String>{u".hidden", u"New Folder", u"sub"}));
    EXPECT_TRUE(DirectoryExists(PathAt("home/v/New Folder")));
    EXPECT_FALSE(DirectoryExists(PathAt("home/v/New Folder(2)")));
}

TEST_F(SelectDirectory, ShowSeesNoWindowCloseSeesIt) {
    bool shown = false, closed = false;
    FDialog->OnShow = [&](TObject*) { shown = FDialog->DlgFrm() == nullptr; };
    FDialog->OnClose = [&](TObject*) { closed = FDialog->DlgFrm() != nullptr; };
    Run([](TqxSelDirDlgForm*) {});
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    EXPECT_EQ(FDialog->DlgFrm(), nullptr);
}

}  // namespace
