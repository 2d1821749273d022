// The picture control: where the picture goes, its size with AutoSize, and
// its transparent colour.
#include "platform/toolkit/image.h"

#include <unistd.h>

#include <cstdio>

#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;

namespace {

using Images = ToolkitTest;

void Fill(TPicture* APicture, Integer AWidth, Integer AHeight, TColor AColor) {
    TBitmap* bitmap = APicture->Bitmap();
    bitmap->SetSize(AWidth, AHeight);
    bitmap->Canvas()->Brush()->SetColor(AColor);
    bitmap->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
}

TEST_F(Images, ThePictureIsPlacedAsTheOptionsSay) {
    struct Case {
        Integer Width, Height;
        bool Stretch, Center, Proportional;
        TRect Expected;
    } cases[] = {
        {40, 20, false, false, false, Rect(0, 0, 40, 20)},
        {40, 20, false, true, false, Rect(30, 40, 70, 60)},
        {40, 20, true, false, false, Rect(0, 0, 100, 100)},
        {40, 20, true, false, true, Rect(0, 0, 100, 50)},
        {40, 20, true, true, true, Rect(0, 25, 100, 75)},
        {40, 20, false, false, true, Rect(0, 0, 40, 20)},
        {200, 400, false, true, true, Rect(25, 0, 75, 100)},
    };
    TForm* form = NewForm();
    auto* image = new TImage(form);
    image->SetBounds(0, 0, 100, 100);
    image->SetParent(form);
    for (const Case& c : cases) {
        Fill(image->Picture(), c.Width, c.Height, clRed);
        image->SetStretch(c.Stretch);
        image->SetCenter(c.Center);
        image->SetProportional(c.Proportional);
        EXPECT_EQ(image->DestRect(), c.Expected) << c.Width << " " << c.Stretch << c.Center << c.Proportional;
    }
}

TEST_F(Images, AutoSizeTakesThePicturesSizeAndTransparencyItsBackground) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    auto* image = new TImage(form);
    image->SetBounds(10, 10, 100, 100);
    image->SetParent(form);
    image->SetAutoSize(true);
    Fill(image->Picture(), 30, 20, clBlue);
    EXPECT_EQ(image->BoundsRect(), Bounds(10, 10, 30, 20));
    // A red dot on a blue field whose bottom-left pixel is the transparent colour.
    image->Picture()->Bitmap()->Canvas()->SetPixels(5, 5, clRed);
    Pump();
    EXPECT_EQ(PixelOf(form, 12, 12), RGB(0, 0, 255));
    image->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelOf(form, 12, 12), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(form, 15, 15), RGB(255, 0, 0));
}

TEST_F(Images, ADescriptionLoadsThePictureFromAFile) {
    TBitmap source;
    source.SetPixelFormat(pf24bit);
    source.SetSize(12, 8);
    const String file = u"/tmp/velqua-image-test-" + IntToStr(Integer(getpid())) + u".bmp";
    source.SaveToFile(file);
    auto* form = new TForm(Application);
    const std::string text = "object Form1: TForm\n  object Image1: TImage\n    Picture = '" +
                             StringToUTF8(file) +
                             "'\n    Stretch = True\n    Center = True\n    Proportional = True\n"
                             "    Transparent = True\n  end\nend\n";
    ReadDescriptionText(form, text);
    std::remove(StringToUTF8(file).c_str());
    auto* image = dynamic_cast<TImage*>(form->FindComponent(u"Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Picture()->Width(), 12);
    EXPECT_TRUE(image->Stretch() && image->Center() && image->Proportional() && image->Transparent());
}

}  // namespace
