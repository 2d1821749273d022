// The picture open and save dialogs over a test folder of small pictures:
// the preview at the picture's size or stretched, what carries over to the
// next run, files the preview cannot read, and the save mode's names.
#include "skin/dialogs/qxskinopenpicturedialog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "dialogrun.h"
#include "platform/base/fileutils.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/pngimage.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinscrollbox.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/controls/qxskinsplitters.h"
#include "tests/platform/gdi/picturefiles.h"

namespace driver = win::driver;

namespace {

void WriteBitmap(const String& AFileName, Integer AWidth, Integer AHeight) {
    TBitmap bitmap;
    bitmap.SetSize(AWidth, AHeight);
    bitmap.SaveToFile(AFileName);
}

class PictureDialog : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFolder(At("home/p/sub"));
        WriteBitmap(PathAt("home/p/big.bmp"), 640, 480);
        WriteBitmap(PathAt("home/p/small.bmp"), 30, 20);
        // A header that promises a bitmap and then stops.
        MakeFile(At("home/p/broken.bmp"), std::string("BM\x36\x10\x0e\0\0\0\0\0", 10));
        // Damaged files of the other readers: a PNG cut short, JPEG and GIF
        // signatures followed by junk.
        {
            TBitmap bitmap;
            bitmap.SetSize(40, 40);
            TPngImage png;
            png.Assign(&bitmap);
            png.SaveToFile(PathAt("home/p/whole.png"));
            std::ifstream whole(At("home/p/whole.png"), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(whole)),
                                    std::istreambuf_iterator<char>());
            MakeFile(At("home/p/cut.png"), bytes.substr(0, bytes.size() / 2));
        }
        MakeFile(At("home/p/junk.jpg"), "\xFF\xD8\xFF\xE0junk junk junk");
        MakeFile(At("home/p/junk.gif"), "GIF89a\x40\x00\x40\x00junk");
        MakeFile(At("home/p/shot.xyz"));
        MakeFile(At("home/p/junk.ico"), std::string("\0\0\1\0\1\0junk", 10));
        MakeFile(At("home/p/junk.wmf"), "junk junk junk");
        MakeFile(At("home/p/junk.emf"), std::string("\1\0\0\0junk", 8));
        // An icon of a masked 16 x 16 red bitmap and a 32 x 32 PNG of
        // half-transparent blue; metafiles of 192 x 96 with the left half red.
        using namespace picturefiles;
        WriteBytes("home/p/both.ico", IcoFile({{16, 16, 24, IconDib(Filled(16, 16, 0xFFFF0000), 24, 4)},
                                               {32, 32, 32, IconPng(Filled(32, 32, 0x800000FF))}}));
        WriteBytes("home/p/red.wmf", RedHalfWmf());
        WriteBytes("home/p/red.emf", RedHalfEmf());
        FDialog = new TqxSkinOpenPictureDialog(Application);
        FDialog->Filter = u"All|*.*";
        FDialog->SetFileName(PathAt("home/p/"));
        Application->OnException = [this](TObject*, const Exception& AError) {
            FErrors.push_back(AError.Message());
        };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        ShellTest::TearDown();
    }

    static bool Run(TqxSkinOpenPictureDialog* ADialog, std::function<void(TqxOpenPictureDlgForm*)> AStep) {
        return RunDialog<TqxOpenPictureDlgForm>([ADialog] { return ADialog->Execute(); }, std::move(AStep));
    }
    // Clicks the list's row of AName, as the user picks a file.
    static void Pick(TqxOpenPictureDlgForm* AForm, const String& AName) {
        TqxSkinFileListView* list = AForm->FileListView;
        for (Integer i = 0; i < list->FolderCount(); ++i) {
            if (list->FolderAt(i)->DisplayName() != AName) continue;
            const TRect r = list->Items()->Item(i)->DisplayRect(drLabel);
            const TPoint at = list->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            driver::Click({at.X, at.Y});
            driver::Pump();
            return;
        }
        ADD_FAILURE() << "no row " << StringToUTF8(AName);
    }
    static void ClickOn(TControl* AControl) {
        const TPoint at = AControl->ClientToScreen(TPoint(AControl->Width() / 2, AControl->Height() / 2));
        driver::Click({at.X, at.Y});
        driver::Pump();
    }
    static TPoint ImageSize(TqxOpenPictureDlgForm* AForm) {
        return {AForm->Image->Width(), AForm->Image->Height()};
    }
    // The preview's colour at a point of the picture (not scrolled).
    static TColor PreviewPixel(TqxOpenPictureDlgForm* AForm, Integer X, Integer Y) {
        driver::Pump();
        return TColor(
            driver::Pixel(AForm->ScrollBox->Handle(), AForm->Image->Left() + X, AForm->Image->Top() + Y));
    }
    void WriteBytes(const char* APath, const std::vector<Byte>& ABytes) {
        MakeFile(At(APath), std::string(ABytes.begin(), ABytes.end()));
    }

    TqxSkinOpenPictureDialog* FDialog = nullptr;
    std::vector<String> FErrors;
};

TEST_F(PictureDialog, OpensWideWithThePreviewAtTheRight) {
    TqxSkinSavePictureDialog save(nullptr);
    EXPECT_EQ(FDialog->Title, u"Open picture");
    EXPECT_EQ(save.Title, u"Save file");
    EXPECT_EQ(FDialog->AlphaBlendValue, 200);
    EXPECT_EQ(FDialog->CtrlAlphaBlendValue, 225);
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        EXPECT_EQ(TPoint(AForm->ClientWidth(), AForm->ClientHeight()), TPoint(550, 290));
        EXPECT_EQ(AForm->ImagePanel->Left() + AForm->ImagePanel->Width(), 550);
        EXPECT_EQ(AForm->ImagePanel->Width(), 190);
        EXPECT_EQ(AForm->Splitter->Left() + AForm->Splitter->Width(), AForm->ImagePanel->Left());
        EXPECT_EQ(AForm->FileListViewPanel->Left() + AForm->FileListViewPanel->Width(),
                  AForm->Splitter->Left());
        EXPECT_EQ(AForm->OpenButton->Caption(), u"&Open");
        EXPECT_EQ(AForm->StretchButton->Hint(), u"Stretch Picture");
        EXPECT_GT(AForm->StretchButton->Left(), AForm->StyleToolButton->Left());
    });
    save.SetFileName(PathAt("home/p/"));
    Run(&save, [&](TqxOpenPictureDlgForm* AForm) { EXPECT_EQ(AForm->OpenButton->Caption(), u"&Save"); });
}

TEST_F(PictureDialog, PreviewAtThePicturesSizeStretchedAndBack) {
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        Pick(AForm, u"big.bmp");
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"big.bmp");
        EXPECT_EQ(ImageSize(AForm), TPoint(640, 480));
        EXPECT_TRUE(AForm->SBHScrollBar->Visible());
        EXPECT_TRUE(AForm->SBVScrollBar->Visible());
        ClickOn(AForm->StretchButton);
        ASSERT_TRUE(AForm->StretchButton->Down());
        EXPECT_TRUE(AForm->Image->Stretch());
        EXPECT_EQ(ImageSize(AForm),
                  TPoint(AForm->ScrollBox->ClientWidth(), AForm->ScrollBox->ClientHeight()));
        EXPECT_LT(AForm->Image->Width(), 640);
        ClickOn(AForm->StretchButton);
        EXPECT_FALSE(AForm->StretchButton->Down());
        EXPECT_EQ(ImageSize(AForm), TPoint(640, 480));
        // A folder empties the name field and the preview.
        Pick(AForm, u"sub");
        EXPECT_EQ(AForm->FileNameEdit->Text(), u"");
        EXPECT_EQ(ImageSize(AForm), TPoint(0, 0));
        EXPECT_FALSE(AForm->SBHScrollBar->Visible());
        // Stretched, a folder shows no picture either, and a file comes back.
        ClickOn(AForm->StretchButton);
        EXPECT_FALSE(AForm->Image->Visible());
        Pick(AForm, u"big.bmp");
        EXPECT_TRUE(AForm->Image->Visible());
        EXPECT_EQ(ImageSize(AForm),
                  TPoint(AForm->ScrollBox->ClientWidth(), AForm->ScrollBox->ClientHeight()));
    });
    EXPECT_TRUE(FErrors.empty());
}

TEST_F(PictureDialog, StretchAndPreviewWidthCarryToTheNextRun) {
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        ClickOn(AForm->StretchButton);
        // The splitter dragged 110 pixels to the left widens the preview.
        TqxSkinSplitter* splitter = AForm->Splitter;
        const TPoint grip = splitter->ClientToScreen(TPoint(splitter->Width() / 2, splitter->Height() / 2));
        driver::MouseDown({grip.X, grip.Y});
        driver::MouseMove({grip.X - 55, grip.Y});
        driver::MouseMove({grip.X - 110, grip.Y});
        driver::MouseUp({grip.X - 110, grip.Y});
        driver::Pump();
        driver::Key(win::VK_ESCAPE);
        Application->ProcessMessages();
    });
    EXPECT_TRUE(FDialog->DialogStretch);
    EXPECT_EQ(FDialog->ImagePanelWidth, 300);
    bool down = false, stretched = false;
    Integer width = 0;
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        down = AForm->StretchButton->Down();
        stretched = AForm->Image->Stretch();
        width = AForm->ImagePanel->Width();
        ClickOn(AForm->StretchButton);
    });
    EXPECT_TRUE(down);
    EXPECT_TRUE(stretched);
    EXPECT_EQ(width, 300);
    EXPECT_FALSE(FDialog->DialogStretch);
    // StretchPicture opens every run stretched.
    FDialog->StretchPicture = true;
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) { down = AForm->StretchButton->Down(); });
    EXPECT_TRUE(down);
}

TEST_F(PictureDialog, PreviewsIconsAndMetafilesAtTheirSize) {
    Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        Pick(AForm, u"both.ico");
        EXPECT_EQ(ImageSize(AForm), TPoint(32, 32));
        const TColor blended = PreviewPixel(AForm, 16, 16);
        EXPECT_GT(win::GetBValue(blended), 200);
        EXPECT_LT(win::GetRValue(blended), 200);
        for (const char16_t* name : {u"red.wmf", u"red.emf"}) {
            Pick(AForm, name);
            EXPECT_EQ(ImageSize(AForm), TPoint(192, 96)) << StringToUTF8(name);
            EXPECT_EQ(PreviewPixel(AForm, 48, 48), clRed) << StringToUTF8(name);
            EXPECT_NE(PreviewPixel(AForm, 144, 48), clRed) << StringToUTF8(name);
        }
        // Stretched, a metafile is played at the preview's size.
        ClickOn(AForm->StretchButton);
        const TPoint area = ImageSize(AForm);
        EXPECT_EQ(area, TPoint(AForm->ScrollBox->ClientWidth(), AForm->ScrollBox->ClientHeight()));
        EXPECT_EQ(PreviewPixel(AForm, area.X / 8, area.Y / 2), clRed);
    });
    EXPECT_TRUE(FErrors.empty());
}

TEST_F(PictureDialog, UnreadableFilesReportOnceAndKeepThePreviousPicture) {
    struct TCase {
        const char16_t* Name;
        const char16_t* Error;  // nullptr: the reader's own words
    };
    const TCase cases[] = {
        {u"shot.xyz", u"Unknown picture file extension (.xyz)"},
        {u"broken.bmp", nullptr},
        {u"cut.png", nullptr},
        {u"junk.jpg", nullptr},
        {u"junk.gif", nullptr},
        {u"junk.ico", u"Icon image is not valid"},
        {u"junk.wmf", u"Metafile is not valid"},
        {u"junk.emf", u"Metafile is not valid"},
    };
    for (const TCase& c : cases) {
        FErrors.clear();
        TPoint size;
        Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
            Pick(AForm, u"small.bmp");
            Pick(AForm, c.Name);
            size = ImageSize(AForm);
            EXPECT_EQ(AForm->FileNameEdit->Text(), c.Name);
            EXPECT_EQ(AForm->ModalResult(), mrNone);
        });
        const std::string name = StringToUTF8(c.Name);
        ASSERT_EQ(FErrors.size(), 1u) << name;
        if (c.Error) {
            EXPECT_EQ(FErrors[0], c.Error) << name;
        }
        EXPECT_EQ(size, TPoint(30, 20)) << name;
    }
}

TEST_F(PictureDialog, OpensOnTheNamedPictureEvenWhenItCannotBeRead) {
    struct TCase {
        const char* FileName;
        TPoint Size;
    };
    for (const TCase& c : {TCase{"home/p/big.bmp", {640, 480}}, TCase{"home/p/broken.bmp", {0, 0}}}) {
        FDialog->SetFileName(PathAt(c.FileName));
        TPoint size{-1, -1};
        String name;
        bool closed = false;
        FDialog->OnClose = [&](TObject*) { closed = true; };
        Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
            size = ImageSize(AForm);
            name = AForm->FileNameEdit->Text();
        });
        EXPECT_TRUE(closed);
        EXPECT_EQ(size, c.Size) << c.FileName;
        EXPECT_EQ(name, ExtractFileName(PathAt(c.FileName)));
    }
    EXPECT_TRUE(FErrors.empty());
}

TEST_F(PictureDialog, SaveModeAddsTheFiltersExtension) {
    TqxSkinSavePictureDialog save(nullptr);
    save.Filter = u"BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg";
    save.FilterIndex = 2;
    save.SetFileName(PathAt("home/p/"));
    EXPECT_TRUE(Run(&save, [&](TqxOpenPictureDlgForm* AForm) {
        AForm->FileNameEdit->SetText(u"shot");
        AForm->OpenButton->Click();
    }));
    EXPECT_EQ(save.FileName(), PathAt("home/p/shot.jpg"));
    // An open run accepts a picked file without an existence check of its own.
    FDialog->CheckFileExists = true;
    EXPECT_TRUE(Run(FDialog, [&](TqxOpenPictureDlgForm* AForm) {
        Pick(AForm, u"small.bmp");
        AForm->OpenButton->Click();
    }));
    EXPECT_EQ(FDialog->FileName(), PathAt("home/p/small.bmp"));
    ASSERT_EQ(FDialog->Files()->Count(), 1);
}

}  // namespace
