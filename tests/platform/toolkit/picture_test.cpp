#include "platform/toolkit/picture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/toolkit/gifimage.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/jpegimage.h"
#include "platform/toolkit/metafile.h"
#include "platform/toolkit/pngimage.h"
#include "tests/platform/base/temp_folder.h"
#include "tests/platform/gdi/picturefiles.h"

namespace {

class PictureTest : public TempFolderTest {
protected:
    // A 3 x 2 red bitmap saved in the format of AGraphic's class.
    String SaveRed(TGraphic& AGraphic, std::u16string_view AName) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(3, 2);
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect(Rect(0, 0, 3, 2));
        AGraphic.Assign(&bitmap);
        const String name = Path(AName);
        AGraphic.SaveToFile(name);
        return name;
    }
};

TEST_F(PictureTest, PicksTheClassByExtension) {
    TBitmap bitmap;
    TJPEGImage jpeg;
    TGIFImage gif;
    TPngImage png;
    struct TCase {
        TGraphic* Writer;
        const char16_t* Name;
        const std::type_info& Class;
    } cases[] = {
        {&bitmap, u"a.bmp", typeid(TBitmap)},   {&jpeg, u"b.jpg", typeid(TJPEGImage)},
        {&jpeg, u"c.JPEG", typeid(TJPEGImage)}, {&gif, u"d.gif", typeid(TGIFImage)},
        {&png, u"e.Png", typeid(TPngImage)},
    };
    for (const TCase& c : cases) {
        TPicture picture;
        int changes = 0;
        picture.OnChange = [&](TObject*) { ++changes; };
        picture.LoadFromFile(SaveRed(*c.Writer, c.Name));
        const TGraphic* graphic = picture.Graphic();
        ASSERT_NE(nullptr, graphic);
        EXPECT_EQ(c.Class, typeid(*graphic)) << StringToUTF8(c.Name);
        EXPECT_EQ(3, picture.Width());
        EXPECT_EQ(2, picture.Height());
        EXPECT_EQ(1, changes);
    }
}

TEST_F(PictureTest, IconsAndMetafilesAreReadByExtension) {
    using namespace picturefiles;
    struct TCase {
        const char16_t* Name;
        std::vector<Byte> Data;
        const std::type_info& Class;
        Integer Width;
    } cases[] = {
        {u"a.ico", IcoFile({{8, 8, 32, IconPng(Filled(8, 8, 0xFFFF0000))}}), typeid(TIcon), 8},
        {u"b.EMF", RedHalfEmf(), typeid(TMetafile), 192},
        {u"c.wmf", RedHalfWmf(), typeid(TMetafile), 192},
        // The metafile class reads either kind, whichever of its names it has.
        {u"d.wmf", RedHalfEmf(), typeid(TMetafile), 192},
    };
    for (const TCase& c : cases) {
        const String name = Path(c.Name);
        std::ofstream(StringToUTF8(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(c.Data.data()), std::streamsize(c.Data.size()));
        TPicture picture;
        picture.LoadFromFile(name);
        const TGraphic* graphic = picture.Graphic();
        ASSERT_NE(nullptr, graphic);
        EXPECT_EQ(c.Class, typeid(*graphic)) << StringToUTF8(c.Name);
        EXPECT_EQ(c.Width, picture.Width()) << StringToUTF8(c.Name);
    }
}

TEST_F(PictureTest, AnUnknownExtensionOrADamagedFileKeepsThePicture) {
    TPicture picture;
    TPngImage png;
    picture.LoadFromFile(SaveRed(png, u"first.png"));
    WriteBytes(Path(u"x.xyz"), "whatever");
    WriteBytes(Path(u"bad.png"), "not a png");
    try {
        picture.LoadFromFile(Path(u"x.xyz"));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(u"Unknown picture file extension (.xyz)", e.Message());
    }
    EXPECT_THROW(picture.LoadFromFile(Path(u"bad.png")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(Path(u"missing.png")), EFOpenError);
    ASSERT_NE(nullptr, dynamic_cast<TPngImage*>(picture.Graphic()));
    EXPECT_EQ(3, picture.Width());
}

TEST_F(PictureTest, SavesInThePicturesOwnFormat) {
    TPicture picture;
    TPngImage png;
    picture.LoadFromFile(SaveRed(png, u"a.png"));
    picture.SaveToFile(Path(u"copy.bmp"));
    EXPECT_EQ("\x89PNG", ReadBytes(Path(u"copy.bmp")).substr(0, 4));
}

TEST_F(PictureTest, RegisteredFormatsWinAndCanBeRemoved) {
    TPngImage png;
    const String name = SaveRed(png, u"a.png");
    const String renamed = Path(u"a.pic");
    WriteBytes(renamed, ReadBytes(name));
    TPicture::RegisterFileFormat(u"PIC", u"Pictures", GraphicClassOf<TPngImage>());
    TPicture picture;
    picture.LoadFromFile(renamed);
    EXPECT_NE(nullptr, dynamic_cast<TPngImage*>(picture.Graphic()));
    TPicture::UnregisterGraphicClass(GraphicClassOf<TPngImage>());
    EXPECT_THROW(picture.LoadFromFile(name), EInvalidGraphic);
    TPicture::RegisterFileFormat(u"png", u"Portable Network Graphics", GraphicClassOf<TPngImage>());
    picture.LoadFromFile(name);
}

TEST(Picture, HoldsCopies) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    TPicture picture;
    picture.SetGraphic(&bitmap);
    bitmap.SetSize(1, 1);
    EXPECT_EQ(4, picture.Width());
    EXPECT_NE(&bitmap, picture.Graphic());
    TPicture other;
    other.Assign(&picture);
    EXPECT_EQ(4, other.Width());
    TBitmap out;
    out.Assign(&other);
    EXPECT_EQ(4, out.Width());
    other.Assign(nullptr);
    EXPECT_EQ(nullptr, other.Graphic());
    EXPECT_EQ(0, other.Width());
}

TEST(Picture, BitmapReplacesAnyOtherClass) {
    TPicture picture;
    TBitmap* bitmap = picture.Bitmap();
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(bitmap, picture.Bitmap());
    TPngImage png;
    png.CreateBlank(COLOR_RGB, 8, 2, 2);
    picture.SetGraphic(&png);
    EXPECT_NE(nullptr, dynamic_cast<TPngImage*>(picture.Graphic()));
    EXPECT_TRUE(picture.Bitmap()->Empty());
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.Bitmap()->SetSize(2, 2);
    EXPECT_EQ(1, changes);
}

}  // namespace
