#include "platform/shell/sysimagelist.h"

#include <gtest/gtest.h>

#include "platform/gdi/pngcodec.h"
#include "platform/shell/shellfolders.h"
#include "platform/toolkit/imagelist.h"
#include "shelltest.h"

namespace {

class SystemImageListTest : public ShellTest {
protected:
    // A square PNG of one colour (0xRRGGBB), opaque.
    static void MakeIcon(const std::string& APath, Integer ASize, Cardinal AColour) {
        TImageData image(ASize, ASize);
        for (Integer y = 0; y < ASize; ++y)
            for (Integer x = 0; x < ASize; ++x) {
                Byte* p = image.ScanLine(y) + 4 * x;
                p[0] = Byte(AColour), p[1] = Byte(AColour >> 8), p[2] = Byte(AColour >> 16), p[3] = 255;
            }
        const std::vector<Byte> png = EncodePng(image, true);
        MakeFile(APath, std::string(png.begin(), png.end()));
    }
    // The centre pixel of image AIndex drawn on white.
    static TColor Centre(bool ALarge, Integer AIndex) {
        TCustomImageList* list = shell::SystemImageList(ALarge);
        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(list->Width(), list->Height());
        target.Canvas()->Brush()->SetColor(clWhite);
        target.Canvas()->FillRect(Rect(0, 0, list->Width(), list->Height()));
        list->Draw(target.Canvas(), 0, 0, AIndex);
        return target.Canvas()->Pixels(list->Width() / 2, list->Height() / 2);
    }
};

TEST_F(SystemImageListTest, TheUsersThemeComesFirstThenWhatItInheritsThenTheDrawnSet) {
    const TColor drawnDisk = Centre(true, shell::siDisk);
    const TColor drawnFolder = Centre(false, shell::siFolder);
    MakeFile(At("home/.config/gtk-3.0/settings.ini"), "[Settings]\ngtk-icon-theme-name = Mine\n");
    MakeFile(At("share/icons/Mine/index.theme"), "[Icon Theme]\nName=Mine\nInherits=hicolor\n");
    MakeIcon(At("share/icons/Mine/16x16/places/folder.png"), 16, 0x0000FF);
    MakeIcon(At("share/icons/hicolor/32x32/places/folder.png"), 32, 0xFF0000);
    MakeIcon(At("share/icons/hicolor/64x64/places/user-home.png"), 64, 0x00FF00);
    MakeFile(At("share/icons/hicolor/48x48/places/drive-harddisk.png"), "not a picture");
    shell::TNamespaceSettings settings;
    settings.Mounts = {PathAt("mountinfo"), PathAt("sys/block"), PathAt("by-label")};
    settings.IconFolders = std::vector<String>{PathAt("share/icons")};
    shell::SetNamespaceSettings(settings);

    EXPECT_EQ(Centre(false, shell::siFolder), clBlue) << "the user's theme at its size";
    EXPECT_EQ(Centre(true, shell::siFolder), clRed) << "inherited";
    EXPECT_EQ(Centre(true, shell::siHome), clLime) << "a larger one scaled down";
    EXPECT_EQ(Centre(false, shell::siHome), clLime);
    EXPECT_EQ(Centre(true, shell::siDisk), drawnDisk) << "a damaged picture leaves the drawn one";
    EXPECT_EQ(shell::SystemImageList(true)->Count(), shell::siArchive + 1);

    settings.IconFolders = std::vector<String>{};
    shell::SetNamespaceSettings(settings);
    EXPECT_EQ(Centre(false, shell::siFolder), drawnFolder);
}

TEST(FileIcons, FollowTheExtensionWithoutCase) {
    EXPECT_EQ(shell::FileIcon(u"/a/clip.MTS"), shell::siVideo);
    EXPECT_EQ(shell::FileIcon(u"song.flac"), shell::siAudio);
    EXPECT_EQ(shell::FileIcon(u"shot.Jpg"), shell::siPicture);
    EXPECT_EQ(shell::FileIcon(u"pack.7z"), shell::siArchive);
    EXPECT_EQ(shell::FileIcon(u"notes"), shell::siFile);
    EXPECT_EQ(shell::FileIcon(u"a.mp4/readme"), shell::siFile);
}

}  // namespace
