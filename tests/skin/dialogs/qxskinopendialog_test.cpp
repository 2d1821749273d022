// The open and save dialog run modally over the test tree: its size, folder
// and filter across runs, which file it accepts, the save mode's
// extensions and overwrite question, new folders and the folder history.
#include "skin/dialogs/qxskinopendialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/base/fileutils.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxresstrs.h"
#include "skin/dialogs/qxmessages.h"
#include "skin/forms/captionbuttons.h"
#include "skin/forms/dravenfold.h"
#include "skin/forms/skinmenus.h"
#include "skinfixtures.h"

namespace driver = win::driver;

namespace {

class TSaveDialog : public TqxSkinOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TqxSkinOpenDialog(AOwner) { SetSaveMode(true); }
};

class OpenDialog : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/v/sub"));
        MakeFile(At("home/v/clip.mts"));
        MakeFile(At("home/v/a.avi"));
        MakeFile(At("home/v/b.avi"));
        MakeFile(At("home/v/c.mp4"));
        MakeFolder(At("home/w"));
        FDialog = new TqxSkinOpenDialog(Application);
    }

    // Runs AStep once the dialog window is active; an overwrite question
    // that comes up is answered with FAnswer and counted.
    bool Run(TqxSkinOpenDialog* ADialog, std::function<void(TqxOpenDlgForm*)> AStep) {
        Application->OnIdle = [this, AStep, done = false](TObject*, bool&) mutable {
            TCustomForm* active = Screen->ActiveCustomForm();
            if (dynamic_cast<TqxMessageForm*>(active)) {
                ++FQuestions;
                active->SetModalResult(FAnswer);
                return;
            }
            auto* form = dynamic_cast<TqxOpenDlgForm*>(active);
            if (!form || done) return;
            done = true;
            AStep(form);
        };
        const bool ok = ADialog->Execute();
        Application->OnIdle = nullptr;
        return ok;
    }
    // Types AName into the name field and presses Open; whether the window
    // then closed with OK.
    static bool Accept(TqxOpenDlgForm* AForm, const String& AName) {
        AForm->FileNameEdit->SetText(AName);
        AForm->OpenButton->Click();
        return AForm->ModalResult() == mrOk;
    }
    static Integer RowOf(TqxOpenDlgForm* AForm, const String& AName) {
        for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
            if (AForm->FileListView->FolderAt(i)->DisplayName() == AName) return i;
        return -1;
    }

    TqxSkinOpenDialog* FDialog = nullptr;
    Integer FQuestions = 0;
    TModalResult FAnswer = mrOk;
};

TEST_F(OpenDialog, SizeFilterAndViewSurviveACancelledRun) {
    FDialog->Filter = u"Video|*.avi;*.mp4|Audio|*.mp3|All|*.*";
    FDialog->FilterIndex = 2;
    FDialog->SetFileName(PathAt("home/v/clip.mts"));
    TPoint size;
    String mask, edit, folder;
    EXPECT_FALSE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        size = {AForm->ClientWidth(), AForm->ClientHeight()};
        mask = AForm->FileListView->Mask();
        edit = AForm->FileNameEdit->Text();
        folder = AForm->FileListView->Path();
        AForm->FilterComboBox->SetItemIndex(2);
        AForm->ReportItemClick(nullptr);
        AForm->SetClientWidth(600);
        AForm->SetClientHeight(400);
        driver::Key(win::VK_ESCAPE);
        Application->ProcessMessages();
    }));
    EXPECT_EQ(size, TPoint(450, 290));
    EXPECT_EQ(mask, u"*.mp3");
    EXPECT_EQ(edit, u"clip.mts");
    EXPECT_EQ(folder, PathAt("home/v"));
    EXPECT_EQ(FDialog->FilterIndex, 3);
    EXPECT_EQ(FDialog->DialogWidth, 600);
    EXPECT_EQ(FDialog->DialogHeight, 400);
    EXPECT_EQ(FDialog->ListViewStyle, vsReport);
    EXPECT_EQ(FDialog->FileName(), PathAt("home/v/clip.mts"));
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        size = {AForm->ClientWidth(), AForm->ClientHeight()};
        EXPECT_EQ(AForm->FileListView->ViewStyle(), vsReport);
        EXPECT_TRUE(AForm->ReportMenuItem->Checked());
    });
    EXPECT_EQ(size, TPoint(600, 400));
}

TEST_F(OpenDialog, OpensInTheFilesFolderElseTheInitialFolderElseTheProgramsFolder) {
    SetProgramFolder(PathAt("home/w"));
    struct TCase {
        const char* FileName;
        const char* InitialDir;
        const char* Folder;
    };
    const TCase cases[] = {
        {"home/v/a.mts", "home/w", "home/v"},
        {"home/gone/a.mts", "home/v", "home/v"},
        {"home/gone/a.mts", "home/gone", "home/w"},
    };
    for (const TCase& c : cases) {
        FDialog->SetFileName(PathAt(c.FileName));
        FDialog->InitialDir = PathAt(c.InitialDir);
        String folder;
        Run(FDialog, [&](TqxOpenDlgForm* AForm) { folder = AForm->FileListView->Path(); });
        EXPECT_EQ(folder, PathAt(c.Folder)) << c.FileName;
    }
    SetProgramFolder(u"");
}

TEST_F(OpenDialog, OpenModeAcceptsExistingFilesTheSelectionFirst) {
    FDialog->SetFileName(PathAt("home/v/x"));
    FDialog->DefaultExt = u"mts";
    // A typed name gets the default extension; a missing file keeps the window open.
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        EXPECT_FALSE(Accept(AForm, u"nothing"));
        EXPECT_EQ(AForm->FileName, u"");
        EXPECT_TRUE(Accept(AForm, u"clip"));
    }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/v/clip.mts"));
    EXPECT_TRUE(FDialog->Files()->Count() == 0);
    // A selected file beats the typed name, and its name goes into the field.
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        AForm->FileListView->Items()->Item(RowOf(AForm, u"b.avi"))->SetSelected(true);
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"b.avi");
        EXPECT_TRUE(Accept(AForm, u"clip.mts"));
    }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/v/b.avi"));
    // Without the existence check any typed name is taken, with the extension.
    FDialog->CheckFileExists = false;
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) { EXPECT_TRUE(Accept(AForm, u"new")); }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/v/new.mts"));
}

TEST_F(OpenDialog, MultiSelectionListsTheSelectedFilesInListOrder) {
    FDialog->MultiSelection = true;
    FDialog->SetFileName(PathAt("home/v/"));
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        for (const char16_t* name : {u"c.mp4", u"a.avi", u"b.avi"})
            AForm->FileListView->Items()->Item(RowOf(AForm, name))->SetSelected(true);
        AForm->OpenButton->Click();
    }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/v/a.avi"));
    ASSERT_EQ(FDialog->Files()->Count(), 3);
    EXPECT_EQ(FDialog->Files()->Strings(0), PathAt("home/v/a.avi"));
    EXPECT_EQ(FDialog->Files()->Strings(2), PathAt("home/v/c.mp4"));
}

TEST_F(OpenDialog, SaveModeAddsTheFiltersExtensionElseTheDefault) {
    struct TCase {
        const char16_t* Mask;
        const char16_t* DefaultExt;
        const char16_t* Typed;
        const char* Result;
    };
    const TCase cases[] = {
        {u"*.bmp", u"", u"shot", "home/w/shot.bmp"},        {u"*.*", u"jpg", u"shot", "home/w/shot.jpg"},
        {u"*.jpg;*.jpeg", u"", u"shot", "home/w/shot.jpg"}, {u"*.jpg", u"", u"shot.png", "home/w/shot.png"},
        {u"*.jpg", u"bmp", u"shot", "home/w/shot.jpg"},
    };
    for (const TCase& c : cases) {
        TSaveDialog dialog(nullptr);
        dialog.Filter = String(u"Pictures|") + c.Mask;
        dialog.DefaultExt = c.DefaultExt;
        dialog.SetFileName(PathAt("home/w/"));
        EXPECT_TRUE(Run(&dialog, [&](TqxOpenDlgForm* AForm) {
            EXPECT_FALSE(Accept(AForm, u"*.png"));
            EXPECT_TRUE(Accept(AForm, c.Typed));
        }));
        EXPECT_EQ(dialog.FileName(), PathAt(c.Result)) << StringToUTF8(c.Mask);
    }
}

TEST_F(OpenDialog, OverwriteQuestionAsksAboutTheNameHandedBack) {
    // DefaultExt bmp and the filter *.jpg: a typed "shot" comes back as
    // shot.jpg, so an existing shot.jpg is what the user is asked about.
    MakeFile(At("home/w/shot.jpg"));
    TSaveDialog dialog(nullptr);
    dialog.Filter = u"JPEG|*.jpg";
    dialog.DefaultExt = u"bmp";
    dialog.OverwritePromt = true;
    dialog.SetFileName(PathAt("home/w/"));
    FAnswer = mrCancel;
    EXPECT_TRUE(Run(&dialog, [&](TqxOpenDlgForm* AForm) {
        EXPECT_FALSE(Accept(AForm, u"shot"));
        EXPECT_EQ(FQuestions, 1);
        FAnswer = mrOk;
        EXPECT_TRUE(Accept(AForm, u"shot"));
        EXPECT_EQ(FQuestions, 2);
    }));
    EXPECT_EQ(dialog.FileName(), PathAt("home/w/shot.jpg"));
    // A name that does not exist is taken without a question.
    EXPECT_TRUE(Run(&dialog, [&](TqxOpenDlgForm* AForm) { EXPECT_TRUE(Accept(AForm, u"other")); }));
    EXPECT_EQ(FQuestions, 2);
}

TEST_F(OpenDialog, SaveModeFilterChangeRewritesTheNamesExtension) {
    TSaveDialog dialog(nullptr);
    dialog.Filter = u"Bitmap|*.bmp|JPEG|*.jpg;*.jpeg|All|*.*";
    dialog.SetFileName(PathAt("home/w/shot.bmp"));
    Run(&dialog, [&](TqxOpenDlgForm* AForm) {
        AForm->FilterComboBox->SetItemIndex(1);
        AForm->FCBChange(nullptr);
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"shot.jpg");
        AForm->FileNameEdit->SetText(u"shot");
        AForm->FCBChange(nullptr);
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"shot.jpg");
        AForm->FilterComboBox->SetItemIndex(2);
        AForm->FCBChange(nullptr);
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"shot.jpg");
    });
}

TEST_F(OpenDialog, NewFolderTakesTheNextFreeNumberAndOpensItForRenaming) {
    MakeFolder(At("home/w/New Folder"));
    FDialog->SetFileName(PathAt("home/w/"));
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        for (Integer i = 0; i < 4; ++i)
            AForm->NewFolderToolButton->Click();
        EXPECT_TRUE(AForm->FileListView->IsEditing());
        // In Computer, outside the file system, nothing is made.
        AForm->FileListView->SetRoot(u"rfMyComputer");
        AForm->NewFolderToolButton->Click();
        EXPECT_EQ(AForm->NewFolderCount, 4);
    });
    for (const char* name : {"New Folder(2)", "New Folder(3)", "New Folder(4)"})
        EXPECT_TRUE(DirectoryExists(PathAt(std::string("home/w/") + name))) << name;
    EXPECT_FALSE(DirectoryExists(PathAt("home/w/New Folder(5)")));
}

TEST_F(OpenDialog, BackWalksTheHistoryAndUpIsRecorded) {
    FDialog->SetFileName(PathAt("home/v/"));
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        TqxSkinFileListView* list = AForm->FileListView;
        list->SetPath(PathAt("home/w"));
        list->SetPath(PathAt("home/v/sub"));
        EXPECT_EQ(AForm->FolderHistory.size(), 3u);
        AForm->BackToolButtonClick(nullptr);
        EXPECT_EQ(list->Path(), PathAt("home/w"));
        AForm->BackToolButtonClick(nullptr);
        EXPECT_EQ(list->Path(), PathAt("home/v"));
        EXPECT_EQ(AForm->FolderHistory.size(), 1u);
        AForm->BackToolButtonClick(nullptr);
        EXPECT_EQ(list->Path(), PathAt("home/v"));
    });
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        TqxSkinFileListView* list = AForm->FileListView;
        AForm->UpToolButtonClick(nullptr);
        EXPECT_EQ(list->Path(), PathAt("home"));
        AForm->BackToolButtonClick(nullptr);
        EXPECT_EQ(list->Path(), PathAt("home/v"));
    });
}

TEST_F(OpenDialog, TypedPathsMasksAndEnterInTheNameField) {
    TSaveDialog dialog(nullptr);
    dialog.SetFileName(PathAt("home/v/"));
    Run(&dialog, [&](TqxOpenDlgForm* AForm) {
        char16_t enter = u'\r';
        AForm->FileNameEdit->SetText(u"*.avi");
        AForm->EditKeyPress(nullptr, enter);
        EXPECT_EQ(AForm->FileListView->Mask(), u"*.avi");
        // A relative path goes from the folder shown, whatever the current folder.
        SetCurrentDir(PathAt("home/w"));
        AForm->FileNameEdit->SetText(u"sub/");
        AForm->EditKeyPress(nullptr, enter);
        EXPECT_EQ(AForm->FileListView->Path(), PathAt("home/v/sub"));
        AForm->FileNameEdit->SetText(u"nowhere/");
        AForm->EditKeyPress(nullptr, enter);
        EXPECT_EQ(AForm->FileListView->Path(), PathAt("home/v/sub"));
        EXPECT_EQ(AForm->ModalResult(), mrNone);
    });
}

// A typed name with a "/" names its own place: from "/" on absolute, else
// from the folder shown; it wins over a selected row and selects no file.
TEST_F(OpenDialog, TypedPathsNameTheirOwnPlaceInOpenAndSaveMode) {
    MakeFile(At("home/v/sub/inner.mts"));
    MakeFile(At("home/w/x.mp4"));
    struct TCase {
        bool Save;
        const char* Typed;
        bool Absolute;
        // "" when the window stays open.
        const char* Result;
    };
    const TCase cases[] = {
        {false, "home/w/x.mp4", true, "home/w/x.mp4"},
        {false, "sub/inner.mts", false, "home/v/sub/inner.mts"},
        {false, "../w/x.mp4", false, "home/w/x.mp4"},
        {false, "sub/inner", false, "home/v/sub/inner.mts"},
        {false, "home/w/gone.mp4", true, ""},
        {false, "sub/", false, ""},
        {true, "home/w/new.mts", true, "home/w/new.mts"},
        {true, "sub/shot", false, "home/v/sub/shot.mts"},
        {true, "../w/x.mp4", false, "home/w/x.mp4"},
        {true, "nowhere/shot.mts", false, ""},
        {true, "home/w/", true, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed);
        TSaveDialog save(nullptr);
        TqxSkinOpenDialog* dialog = c.Save ? &save : FDialog;
        dialog->Filter = u"Clips|*.mts";
        dialog->SetFileName(PathAt("home/v/"));
        const String typed = c.Absolute ? PathAt(c.Typed) : UTF8ToString(c.Typed);
        // Once with the Open button and once with Enter in the name field.
        for (const bool enter : {false, true}) {
            bool accepted = false;
            const bool ok = Run(dialog, [&](TqxOpenDlgForm* AForm) {
                AForm->FileListView->Items()->Item(RowOf(AForm, u"clip.mts"))->SetSelected(true);
                AForm->FileNameEdit->SetText(typed);
                if (enter) {
                    char16_t key = u'\r';
                    AForm->EditKeyPress(nullptr, key);
                } else {
                    AForm->OpenButton->Click();
                }
                accepted = AForm->ModalResult() == mrOk;
            });
            EXPECT_EQ(accepted, *c.Result != 0) << (enter ? "enter" : "open");
            EXPECT_EQ(ok, accepted);
            if (ok) {
                EXPECT_EQ(dialog->FileName(), PathAt(c.Result)) << (enter ? "enter" : "open");
            }
            dialog->SetFileName(PathAt("home/v/"));
        }
    }
    // Beside a selected row the typed path is taken, and no row with it.
    FDialog->Filter = u"All|*.*";
    FDialog->MultiSelection = true;
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        AForm->FileListView->Items()->Item(RowOf(AForm, u"b.avi"))->SetSelected(true);
        EXPECT_TRUE(Accept(AForm, PathAt("home/w/x.mp4")));
    }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/w/x.mp4"));
    EXPECT_EQ(FDialog->Files()->Count(), 0);
}

// A double click or Enter on a file accepts it; nothing is started.
TEST_F(OpenDialog, DoubleClickAndEnterOnAFileAcceptItWithoutOpeningIt) {
    FDialog->Filter = u"All|*.*";
    for (const bool enter : {false, true}) {
        SCOPED_TRACE(enter ? "enter" : "double click");
        FDialog->SetFileName(PathAt("home/v/"));
        EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
            TqxSkinFileListView* list = AForm->FileListView;
            TListItem* row = list->Items()->Item(RowOf(AForm, u"b.avi"));
            const TRect r = row->DisplayRect(drBounds);
            const TPoint at = list->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            driver::Click(win::POINT{at.X, at.Y});
            if (enter)
                driver::Key(win::VK_RETURN);
            else
                driver::Click(win::POINT{at.X, at.Y});
            driver::Pump();
        }));
        EXPECT_EQ(FDialog->FileName(), PathAt("home/v/b.avi"));
        EXPECT_TRUE(driver::ShellOpens().empty());
    }
}

// The item menu of the dialog's list comes above the dialog, each time.
TEST_F(OpenDialog, TheItemMenuComesAboveTheDialogEachTime) {
    auto* skin = new TqxSkinData(Application);
    skinfixtures::LoadFixture(skin, skinfixtures::ProjectSkin(u"default"));
    FDialog->SetSkinData(skin);
    FDialog->SetCtrlSkinData(skin);
    FDialog->SetFileName(PathAt("home/v/"));
    std::vector<bool> onTop;
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        TqxSkinFileListView* list = AForm->FileListView;
        for (Integer time = 0; time < 3; ++time) {
            const char16_t* name = u"a.avi";
            const TRect r = list->Items()->Item(RowOf(AForm, name))->DisplayRect(drBounds);
            const TPoint at = list->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            driver::Click(win::POINT{at.X, at.Y}, win::VK_RBUTTON);
            driver::Pump();
            auto* menu = dynamic_cast<TqxSkinMenu*>(AForm->QXD->SkinMenu());
            const bool shown = menu && menu->Visible();
            const win::HWND window = shown ? menu->PopupWindow(0)->Handle() : nullptr;
            const driver::TWindowInfo info = window ? driver::Inspect(window) : driver::TWindowInfo{};
            onTop.push_back(shown && driver::Stacking().front() == window && info.Visible &&
                            info.Bounds.right - info.Bounds.left > 50);
            driver::Key(win::VK_ESCAPE);
            Application->ProcessMessages();
        }
    });
    EXPECT_EQ(onTop, (std::vector<bool>{true, true, true}));
}

// Names that are not UTF-8 keep their bytes: two that show alike are two
// files, each chosen and deleted as itself.
TEST_F(OpenDialog, NamesThatAreNoUtf8AreChosenAndDeletedAsThemselves) {
    const std::string odd = At("home/v/\xFD.mp4"), lookalike = At("home/v/\xEF\xBF\xBD.mp4");
    MakeFile(odd, "odd");
    MakeFile(lookalike, "lookalike");
    FDialog->Filter = u"All|*.*";
    const auto rowOf = [](TqxOpenDlgForm* AForm, const std::string& APath) {
        for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
            if (StringToUTF8(AForm->FileListView->FolderAt(i)->FullObjectName()) == APath) return i;
        return -1;
    };
    for (const std::string& path : {odd, lookalike}) {
        FDialog->SetFileName(PathAt("home/v/"));
        EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) {
            ASSERT_GE(rowOf(AForm, path), 0);
            AForm->FileListView->Items()->Item(rowOf(AForm, path))->SetSelected(true);
            AForm->OpenButton->Click();
        }));
        EXPECT_EQ(StringToUTF8(FDialog->FileName()), path);
        EXPECT_TRUE(FileExists(FDialog->FileName()));
    }
    // Typed back as shown in the field, the name is still its own file.
    FDialog->SetFileName(UTF8ToString(odd));
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenDlgForm* AForm) { AForm->OpenButton->Click(); }));
    EXPECT_EQ(StringToUTF8(FDialog->FileName()), odd);
    FDialog->SetFileName(PathAt("home/v/"));
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        EXPECT_TRUE(AForm->FileListView->RunVerb(rowOf(AForm, odd), "delete"));
        EXPECT_EQ(rowOf(AForm, odd), -1);
        EXPECT_GE(rowOf(AForm, lookalike), 0);
    });
    EXPECT_FALSE(std::filesystem::exists(odd));
    EXPECT_TRUE(std::filesystem::exists(lookalike));
}

TEST_F(OpenDialog, ShowSeesNoWindowCloseSeesItAndAnErrorStillFreesIt) {
    bool shown = false, closed = false;
    FDialog->OnShow = [&](TObject*) { shown = FDialog->DlgFrm() == nullptr; };
    FDialog->OnClose = [&](TObject*) { closed = FDialog->DlgFrm() != nullptr; };
    Run(FDialog, [](TqxOpenDlgForm*) {});
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    FDialog->SetFileName(PathAt("home/v/a.avi"));
    FDialog->FilterIndex = 1;
    FDialog->OnFolderChange = [](TObject*) { throw Exception(u"broken handler"); };
    closed = false;
    EXPECT_THROW(Run(FDialog, [](TqxOpenDlgForm*) {}), Exception);
    EXPECT_TRUE(closed);
    EXPECT_EQ(FDialog->DlgFrm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 0);
}

// The window has no caption buttons, the skin's close button included.
TEST_F(OpenDialog, TheWindowShowsNoCaptionButtonsWhateverTheSkinHas) {
    auto* skin = new TqxSkinData(Application);
    skinfixtures::LoadFixture(skin, skinfixtures::ProjectSkin(u"default"));
    FDialog->SetSkinData(skin);
    Integer shown = -1;
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        shown = 0;
        for (const auto& object : AForm->QXD->ObjectList)
            if (dynamic_cast<TqxSkinStdButtonObject*>(object.get()) && (object->Visible || object->Enabled))
                ++shown;
    });
    EXPECT_EQ(shown, 0);
}

TEST_F(OpenDialog, TextsComeFromTheSkinsTable) {
    auto* skin = new TqxSkinData(Application);
    auto* texts = new TqxResourceStrData(Application);
    texts->ResStrings()->Clear();
    texts->ResStrings()->Add(u"MSG_BTN_OPEN=打开");
    skin->SetResourceStrData(texts);
    String open, cancel, english;
    Run(FDialog, [&](TqxOpenDlgForm* AForm) { english = AForm->OpenButton->Caption(); });
    FDialog->SetCtrlSkinData(skin);
    Run(FDialog, [&](TqxOpenDlgForm* AForm) {
        open = AForm->OpenButton->Caption();
        cancel = AForm->CancelButton->Caption();
    });
    EXPECT_EQ(english, u"&Open");
    EXPECT_EQ(open, u"打开");
    EXPECT_EQ(cancel, u"");
}

}  // namespace
