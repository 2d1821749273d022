// The path functions of the file-system controls and the filter combo box.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/fileutils.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/forms.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/dialogs/qxfilectrl.h"
#include "skinforms.h"
#include "tests/platform/base/temp_folder.h"

namespace {

class PathFunctions : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        FSaved = GetCurrentDir();
        ForceDirectories(Path(u"a/b"));
        ForceDirectories(Path(u".hidden"));
        WriteBytes(Path(u"a/film.avi"), "x");
    }
    void TearDown() override {
        SetCurrentDir(FSaved);
        TempFolderTest::TearDown();
    }
    String FSaved;
};

TEST_F(PathFunctions, FolderTestAndJoining) {
    EXPECT_TRUE(IsExistingDirectory(Path(u"a")));
    EXPECT_TRUE(IsExistingDirectory(u"/"));
    EXPECT_FALSE(IsExistingDirectory(Path(u"a/film.avi")));
    EXPECT_FALSE(IsExistingDirectory(Path(u"missing")));
    EXPECT_FALSE(IsExistingDirectory(u""));
    EXPECT_EQ(JoinPathName(u"/", u"x"), u"/x");
    EXPECT_EQ(JoinPathName(u"/a", u"x"), u"/a/x");
    EXPECT_EQ(JoinPathName(u"/a/", u"x"), u"/a/x");
    EXPECT_EQ(CountPathSeparators(u"/a/b:c/d"), 3);
}

TEST_F(PathFunctions, ShorteningDropsLeadingFoldersUntilTheTextFits) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    // The width of each stage is the limit that stops there.
    const String chains[][5] = {
        {u"/alpha/beta/gamma/file", u"/.../beta/gamma/file", u"/.../gamma/file", u".../file", u"file"},
        // A hidden folder keeps its dot: only the marker of a cut is taken away.
        {u"/.alpha/beta/gamma/file", u"/.../beta/gamma/file", u"/.../gamma/file", u".../file", u"file"},
    };
    for (const auto& chain : chains)
        for (const String& stage : chain)
            EXPECT_EQ(ShortenPathToWidth(chain[0], canvas, canvas->TextWidth(stage)), stage);
    EXPECT_EQ(ShortenPathToWidth(u"/a/b/c/file", canvas, 0), u"file");
    String s = u".a/x/";
    DropFirstFolder(s);
    EXPECT_EQ(s, u".../x/");
}

TEST_F(PathFunctions, SplittingATypedPath) {
    struct TCase {
        String Text;
        String Dir;
        String File;
    };
    SetCurrentDir(Path(u"a"));
    const TCase cases[] = {
        {Path(u"a/film.avi"), Path(u"a"), u"film.avi"},
        {Path(u"a/*.avi"), Path(u"a"), u"*.avi"},
        // A file part naming a folder joins the folder part.
        {Path(u"a/b"), Path(u"a/b"), u""},
        {u"[b]", Path(u"a") + u"/b", u""},
        {u"film.avi", Path(u"a"), u"film.avi"},
        {u"/", u"/", u""},
        {Path(u".hidden"), Path(u".hidden"), u""},
    };
    for (const TCase& c : cases) {
        char16_t drive = u'x';
        String dir, file;
        SplitEditPath(c.Text, drive, dir, file);
        EXPECT_EQ(drive, 0);
        EXPECT_EQ(dir, c.Dir) << StringToUTF8(c.Text);
        EXPECT_EQ(file, c.File) << StringToUTF8(c.Text);
        EXPECT_EQ(GetCurrentDir(), Path(u"a"));
    }
    char16_t drive = 0;
    String dir, file;
    EXPECT_THROW(SplitEditPath(Path(u"missing/x"), drive, dir, file), EInOutError);
    EXPECT_THROW(SplitEditPath(Path(u"a/nothing"), drive, dir, file), EInOutError);
    EXPECT_EQ(GetCurrentDir(), Path(u"a"));
}

class FilterCombo : public skinfixtures::SkinFormsTest {
protected:
    TqxSkinFilterComboBox* Combo(const String& AFilter, bool AWindow) {
        FForm = NewForm(u"Form");
        auto* combo = new TqxSkinFilterComboBox(FForm);
        combo->SetFilter(AFilter);
        combo->OnChange = [this](TObject*) { ++FChanges; };
        if (AWindow) combo->SetParent(FForm);
        return combo;
    }
    TForm* FForm = nullptr;
    Integer FChanges = 0;
};

TEST_F(FilterCombo, TheFilterTextGivesItemsAndMasks) {
    struct TCase {
        String Filter;
        std::vector<String> Texts;
        std::vector<String> Masks;
    };
    const TCase cases[] = {
        {u"All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
         u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf",
         {u"All (*.bmp;*.ico;*.emf;*.wmf)", u"Bitmaps (*.bmp)", u"Icons (*.ico)",
          u"Enhanced Metafiles (*.emf)", u"Metafiles (*.wmf)"},
         {u"*.bmp;*.ico;*.emf;*.wmf", u"*.bmp", u"*.ico", u"*.emf", u"*.wmf"}},
        {u"Videos|*.avi|Rest", {u"Videos"}, {u"*.avi"}},
        {u"t|", {u"t"}, {u""}},
        {u"nothing", {}, {}},
    };
    for (const TCase& c : cases) {
        TqxSkinFilterComboBox* combo = Combo(c.Filter, true);
        ASSERT_EQ(combo->Items()->Count(), Integer(c.Texts.size()));
        for (size_t i = 0; i < c.Texts.size(); ++i) {
            EXPECT_EQ(combo->Items()->Strings(Integer(i)), c.Texts[i]);
            EXPECT_EQ(combo->MaskList()->Strings(Integer(i)), c.Masks[i]);
        }
        EXPECT_EQ(combo->ItemIndex(), c.Texts.empty() ? -1 : 0);
        EXPECT_EQ(combo->Mask(), c.Texts.empty() ? u"*.*" : c.Masks[0]);
        delete FForm;
    }
}

TEST_F(FilterCombo, ItemsComeWithTheWindowAndTheLastIsChosenWhenNoneIs) {
    TqxSkinFilterComboBox* combo = Combo(u"A|*.a|B|*.b", false);
    EXPECT_EQ(combo->Items()->Count(), 0);
    EXPECT_EQ(combo->Mask(), u"*.*");
    combo->SetParent(FForm);
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->Text(), u"A");
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Mask(), u"*.b");
    EXPECT_EQ(combo->ItemIndex(), 1);
    // Another letter case is the same filter.
    const Integer changes = FChanges;
    combo->SetFilter(u"a|*.A|b|*.B");
    EXPECT_EQ(combo->Items()->Strings(0), u"A");
    EXPECT_EQ(FChanges, changes);
    combo->SetFilter(u"C|*.c");
    EXPECT_EQ(combo->Items()->Count(), 1);
    EXPECT_EQ(combo->Mask(), u"*.c");
}

}  // namespace

namespace {

class DirectoryList : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "velqua-dirs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        FRoot = UTF8ToString(pattern);
        for (const char16_t* folder : {u"a/b/Sub", u"a/b/sub", u"a/b/x", u"a/b/.hidden"})
            ForceDirectories(FRoot + u"/" + folder);
        std::ofstream(StringToUTF8(FRoot + u"/a/b/file.txt")) << "x";
        FSaved = GetCurrentDir();
        SetCurrentDir(FRoot + u"/a/b");
        FForm = NewForm(u"Form");
        FForm->SetBounds(0, 0, 400, 400);
        FList = new TqxSkinDirectoryListBox(FForm);
        FList->SetBounds(10, 10, 200, 300);
        FList->SetParent(FForm);
    }
    void TearDown() override {
        SetCurrentDir(FSaved);
        std::error_code error;
        std::filesystem::remove_all(StringToUTF8(FRoot), error);
        SkinFormsTest::TearDown();
    }
    std::vector<String> Rows() const {
        std::vector<String> rows;
        for (Integer i = 0; i < FList->Items()->Count(); ++i)
            rows.push_back(FList->Items()->Strings(i));
        return rows;
    }

    String FRoot;
    String FSaved;
    TForm* FForm = nullptr;
    TqxSkinDirectoryListBox* FList = nullptr;
};

TEST_F(DirectoryList, RowsRunFromTheRootToTheFolderThenItsSubfolders) {
    const String dir = FRoot + u"/a/b";
    EXPECT_EQ(FList->Directory(), dir);
    std::vector<String> expected{u"/"};
    String rest = dir.substr(1);
    for (size_t slash = rest.find(u'/'); slash != String::npos; slash = rest.find(u'/')) {
        expected.push_back(rest.substr(0, slash));
        rest.erase(0, slash + 1);
    }
    expected.push_back(u"b");
    const Integer current = Integer(expected.size()) - 1;
    // Hidden folders stay out; names differing in case are two folders.
    for (const char16_t* sub : {u"Sub", u"sub", u"x"})
        expected.push_back(sub);
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(FList->ItemIndex(), current);
    EXPECT_EQ(FList->GetItemPath(0), u"/");
    EXPECT_EQ(FList->GetItemPath(current - 1), FRoot + u"/a");
    EXPECT_EQ(FList->GetItemPath(current), dir);
    EXPECT_EQ(FList->GetItemPath(current + 3), dir + u"/x");
    EXPECT_EQ(FList->GetItemPath(-1), u"");
    EXPECT_EQ(FList->GetItemPath(current + 4), u"");
}

TEST_F(DirectoryList, SettingTheDirectoryEntersFoldersAndRefusesMissingOnes) {
    const String dir = FRoot + u"/a/b";
    Integer changes = 0;
    FList->OnChange = [&](TObject*) { ++changes; };
    FList->SetDirectory(u"[x]");
    EXPECT_EQ(FList->Directory(), dir + u"/x");
    EXPECT_EQ(GetCurrentDir(), dir + u"/x");
    EXPECT_EQ(Rows().back(), u"x");
    FList->SetDirectory(dir + u"/file.txt");
    EXPECT_EQ(FList->Directory(), dir);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(FList->SetDirectory(FRoot + u"/missing/y"), EInOutError);
    EXPECT_EQ(FList->Directory(), dir);
    EXPECT_EQ(changes, 2);
    // Opening a row: an ancestor, then nothing selected does nothing.
    FList->SetItemIndex(Integer(Rows().size()) - 5);
    FList->OpenCurrent();
    EXPECT_EQ(FList->Directory(), FRoot + u"/a");
    FList->SetItemIndex(-1);
    FList->OpenCurrent();
    EXPECT_EQ(FList->Directory(), FRoot + u"/a");
}

TEST_F(DirectoryList, TheLabelShowsTheFolderShortenedToItsWidth) {
    auto* label = new TqxSkinStdLabel(FForm);
    label->SetParent(FForm);
    label->SetAutoSize(false);
    label->SetBounds(10, 320, 60, 20);
    FList->SetDirLabel(label);
    EXPECT_NE(label->Caption(), FRoot + u"/a/b");
    EXPECT_TRUE(label->Caption().ends_with(u"b")) << StringToUTF8(label->Caption());
    label->SetWidth(2000);
    FList->UpdateDirectory();
    EXPECT_EQ(label->Caption(), FRoot + u"/a/b");
    delete label;
    EXPECT_EQ(FList->DirLabel(), nullptr);
}

}  // namespace

namespace {

class FileList : public DirectoryList {
protected:
    void SetUp() override {
        DirectoryList::SetUp();
        for (const char16_t* name : {u"a.txt", u"b.avi", u".hid"})
            std::ofstream(StringToUTF8(FRoot + u"/a/b/" + name)) << "x";
        FFiles = new TqxSkinFileListBox(FForm);
        FFiles->SetBounds(220, 10, 150, 300);
        FFiles->SetParent(FForm);
        FEdit = new TEdit(FForm);
        FEdit->SetParent(FForm);
        FFiles->SetFileEdit(FEdit);
    }
    TqxSkinFileListBox* FFiles = nullptr;
    TEdit* FEdit = nullptr;

    std::vector<String> Files() const {
        std::vector<String> rows;
        for (Integer i = 0; i < FFiles->Items()->Count(); ++i)
            rows.push_back(FFiles->Items()->Strings(i));
        return rows;
    }
};

TEST_F(FileList, MaskAndAttributesDecideTheRows) {
    EXPECT_EQ(Files(), (std::vector<String>{u"a.txt", u"b.avi", u"file.txt"}));
    EXPECT_EQ(FEdit->Text(), u"*.*");
    FFiles->SetMask(u"*.txt;*.*");
    EXPECT_EQ(Files(), (std::vector<String>{u"a.txt", u"a.txt", u"b.avi", u"file.txt", u"file.txt"}));
    FFiles->SetMask(u"*.*");
    FFiles->SetFileType({qxftDirectory});
    for (const String& row : Files())
        EXPECT_TRUE(row.starts_with(u"[")) << StringToUTF8(row);
    EXPECT_NE(std::find(Files().begin(), Files().end(), u"[x]"), Files().end());
    FFiles->SetFileType({qxftHidden});
    EXPECT_EQ(Files(), (std::vector<String>{u".hid"}));
}

TEST_F(FileList, ATypedPathSetsTheMaskEntersAFolderOrSelectsAFile) {
    const String dir = FRoot + u"/a/b";
    FFiles->ApplyFilePath(u"*.avi");
    EXPECT_EQ(FFiles->Mask(), u"*.avi");
    EXPECT_EQ(Files(), (std::vector<String>{u"b.avi"}));
    // A file the mask hides: its name becomes the mask.
    FFiles->ApplyFilePath(dir + u"/a.txt");
    EXPECT_EQ(FFiles->Mask(), u"a.txt");
    EXPECT_EQ(FFiles->GetSelectedName(), u"a.txt");
    EXPECT_EQ(FFiles->FileName(), dir + u"/a.txt");
    EXPECT_EQ(FEdit->Text(), u"a.txt");
    FFiles->ApplyFilePath(dir + u"/x");
    EXPECT_EQ(FFiles->Directory(), dir + u"/x");
    EXPECT_THROW(FFiles->ApplyFilePath(dir + u"/nothing"), EInOutError);
    EXPECT_EQ(FFiles->Directory(), dir + u"/x");
    // A name not in the list selects nothing and shows the mask.
    FFiles->SelectName(u"none.txt");
    EXPECT_EQ(FFiles->GetSelectedName(), u"");
    EXPECT_EQ(FEdit->Text(), u"a.txt");
}

// Folders and files that differ only in case are different places.
TEST_F(FileList, NamesThatDifferInCaseAreEachEntered) {
    const String dir = FRoot + u"/a/b";
    for (const char16_t* folder : {u"/Clips", u"/clips"}) {
        std::filesystem::create_directory(StringToUTF8(dir + folder));
        std::ofstream(StringToUTF8(dir + folder + u"/in" + String(folder + 1) + u".txt")) << "x";
    }
    std::ofstream(StringToUTF8(dir + u"/A.txt")) << "x";
    FFiles->ApplyFilePath(dir + u"/Clips");
    EXPECT_EQ(FFiles->Directory(), dir + u"/Clips");
    EXPECT_EQ(Files(), (std::vector<String>{u"inClips.txt"}));
    FFiles->ApplyFilePath(dir + u"/clips");
    EXPECT_EQ(FFiles->Directory(), dir + u"/clips");
    EXPECT_EQ(Files(), (std::vector<String>{u"inclips.txt"}));
    FFiles->ApplyFilePath(dir);
    FFiles->SelectName(u"a.txt");
    EXPECT_EQ(FFiles->GetSelectedName(), u"a.txt");
    FFiles->SelectName(u"A.txt");
    EXPECT_EQ(FFiles->GetSelectedName(), u"A.txt");
}

TEST_F(FileList, TheChainOfFolderListFilterAndFiles) {
    auto* filter = new TqxSkinFilterComboBox(FForm);
    filter->SetParent(FForm);
    filter->SetFilter(u"Videos|*.avi|Text|*.txt");
    filter->SetFileList(FFiles);
    FList->SetFileList(FFiles);
    filter->SetItemIndex(0);
    EXPECT_EQ(FFiles->Mask(), u"*.avi");
    filter->SetItemIndex(1);
    EXPECT_EQ(Files(), (std::vector<String>{u"a.txt", u"file.txt"}));
    FList->SetDirectory(u"[x]");
    EXPECT_EQ(FFiles->Directory(), FRoot + u"/a/b/x");
    EXPECT_TRUE(Files().empty());
    // A typed folder goes through the folder list.
    FFiles->ApplyFilePath(FRoot + u"/a/b");
    EXPECT_EQ(FList->Directory(), FRoot + u"/a/b");
    EXPECT_EQ(FFiles->Directory(), FRoot + u"/a/b");
    delete FFiles;
    EXPECT_EQ(filter->FileList(), nullptr);
    EXPECT_EQ(FList->FileList(), nullptr);
}

}  // namespace

namespace {

class DriveCombo : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        FSaved = GetCurrentDir();
        MakeFolder(At("data/inner"));
        SetCurrentDir(PathAt("home"));
        FForm = new TForm(Application);
        FForm->SetBounds(0, 0, 400, 400);
        FForm->Show();
        FList = new TqxSkinDirectoryListBox(FForm);
        FList->SetBounds(10, 40, 200, 300);
        FList->SetParent(FForm);
        FCombo = new TqxSkinDriveComboBox(FForm);
        FCombo->SetBounds(10, 10, 200, 22);
        FCombo->SetParent(FForm);
        FCombo->SetDirList(FList);
    }
    void TearDown() override {
        delete FForm;
        SetCurrentDir(FSaved);
        ShellTest::TearDown();
    }
    Integer IndexOf(const String& AText) const { return FCombo->Items()->IndexOf(AText); }

    String FSaved;
    TForm* FForm = nullptr;
    TqxSkinDirectoryListBox* FList = nullptr;
    TqxSkinDriveComboBox* FCombo = nullptr;
};

TEST_F(DriveCombo, VolumesWithLabelsAndTheDirectoryListFollowEachOther) {
    EXPECT_GE(IndexOf(u"/"), 0);
    EXPECT_GE(IndexOf(PathAt("media/USB KEY") + u" [usb key]"), 0);
    EXPECT_GE(IndexOf(PathAt("cdrom")), 0);
    // The home folder lies on "/": the deepest mount holding a path wins.
    EXPECT_EQ(FCombo->Drive(), u"/");
    FList->SetDirectory(PathAt("data/inner"));
    EXPECT_EQ(FCombo->Drive(), PathAt("data"));
    EXPECT_EQ(FCombo->ItemIndex(), IndexOf(PathAt("data")));
    // Choosing a volume moves the list to it; its own folder keeps the list.
    FCombo->SetItemIndex(IndexOf(PathAt("cdrom")));
    EXPECT_EQ(FList->Directory(), PathAt("cdrom"));
    FList->SetDirectory(PathAt("home"));
    FCombo->SetDrive(u"/");
    EXPECT_EQ(FList->Directory(), PathAt("home"));
    FCombo->SetTextCase(tcUpperCase);
    EXPECT_GE(IndexOf(PathAt("media/USB KEY") + u" [USB KEY]"), 0);
    delete FList;
    EXPECT_EQ(FCombo->DirList(), nullptr);
}

}  // namespace
