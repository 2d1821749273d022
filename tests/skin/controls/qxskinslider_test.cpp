#include "skin/controls/qxskinslider.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/resources.h"
#include "platform/win/input.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

class SkinSlider : public ControlTest {
protected:
    TqxSkinSlider* Slider(Integer AWidth = 150, Integer AHeight = 40) {
        auto* slider = Add<TqxSkinSlider>(20, 20, AWidth, AHeight);
        slider->OnChange = [this](TObject*) { FEvents.push_back("change"); };
        slider->OnChanged = [this](TObject*) { FEvents.push_back("changed"); };
        slider->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
            FEvents.push_back("up");
        };
        Pump();
        return slider;
    }
    POINT On(TqxSkinSlider* ASlider, Integer X, Integer Y) { return ScreenPoint(ASlider->Handle(), X, Y); }
    Integer Count(const char* AEvent) { return Integer(std::count(FEvents.begin(), FEvents.end(), AEvent)); }

    std::vector<std::string> FEvents;
};

TEST_F(SkinSlider, ValuesAreClampedAndOnlyChangesAreReported) {
    TqxSkinSlider* slider = Slider();
    slider->SetValue(1000);
    EXPECT_EQ(100, slider->Value());
    slider->SetValue(1000);
    slider->SetValue(100);
    EXPECT_EQ(1, Count("change"));
    slider->SetValue(-5);
    EXPECT_EQ(0, slider->Value());
    // A narrower range lowers the increment to fit; refused ranges change nothing.
    slider->SetMaxValue(5);
    EXPECT_EQ(5, slider->Increment());
    slider->SetMinValue(5);
    EXPECT_EQ(0, slider->MinValue());
    slider->SetIncrement(0);
    EXPECT_EQ(5, slider->Increment());
}

TEST_F(SkinSlider, DropsSnapFromTheRangeStartKeysJumpFromZero) {
    TqxSkinSlider* slider = Slider(217);
    slider->SetOptions({});
    slider->SetRange(5, 105);
    slider->SetIncrement(10);
    for (Integer p = 0; p < 250; p += 7) {
        const Integer v = slider->PositionToValue(p);
        EXPECT_EQ(0, (v - 5) % 10) << p;
    }
    slider->SetFocus();
    slider->SetValue(5);
    driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(10, slider->Value());
    driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(20, slider->Value());
    driver::Key(VK_END);
    Pump();
    EXPECT_EQ(105, slider->Value());
    driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(105, slider->Value());
    // Every key step ends a user action, also one that changes nothing.
    EXPECT_EQ(4, Count("changed"));
}

TEST_F(SkinSlider, AVerticalSliderHasItsMinimumAtTheBottom) {
    TqxSkinSlider* slider = Slider(40, 150);
    slider->SetOrientation(soVertical);
    // The size turned with it.
    EXPECT_EQ(150, slider->Width());
    EXPECT_EQ(40, slider->Height());
    slider->SetBounds(20, 20, 40, 150);
    slider->SetValue(0);
    const Integer bottom = slider->ThumbRect().Top;
    slider->SetValue(100);
    EXPECT_LT(slider->ThumbRect().Top, bottom);
    EXPECT_EQ(6, slider->ThumbRect().Top);
    slider->SetValue(50);
    slider->SetFocus();
    driver::Key(VK_UP);
    Pump();
    EXPECT_EQ(60, slider->Value());
    driver::Key(VK_LEFT);
    Pump();
    EXPECT_EQ(60, slider->Value());
}

TEST_F(SkinSlider, HoldingTheRulerStepsAtOnceThenEvery400Ms) {
    TqxSkinSlider* slider = Slider(217);
    const Integer y = slider->RulerOrg().Y + 2;
    // 175 of the 200 travel: value 88 or so, right of the thumb at 0.
    driver::MouseDown(On(slider, 6 + 175, y));
    Pump();
    EXPECT_EQ(10, slider->Value());
    AdvanceTime(399);
    EXPECT_EQ(10, slider->Value());
    AdvanceTime(1);
    EXPECT_EQ(20, slider->Value());
    AdvanceTime(4000);
    // The thumb passed the pointer and stays there.
    const Integer reached = slider->Value();
    EXPECT_GE(slider->ThumbRect().Right, 6 + 175);
    EXPECT_EQ(90, reached);
    driver::MouseUp(On(slider, 6 + 175, y));
    Pump();
    EXPECT_EQ(1, Count("changed"));
    // OnChanged comes before OnMouseUp.
    EXPECT_EQ("up", FEvents.back());
    EXPECT_EQ("changed", FEvents[FEvents.size() - 2]);
    AdvanceTime(1000);
    EXPECT_EQ(reached, slider->Value());
}

TEST_F(SkinSlider, DraggingTheThumbReportsEachValue) {
    TqxSkinSlider* slider = Slider(217);
    const TRect thumb = slider->ThumbRect();
    const Integer y = thumb.Top + 5;
    driver::MouseDown(On(slider, thumb.Left + 2, y));
    Pump();
    driver::MouseMove(On(slider, thumb.Left + 2 + 100, y));
    Pump();
    EXPECT_EQ(50, slider->Value());
    driver::MouseMove(On(slider, thumb.Left + 2 + 500, y));
    Pump();
    EXPECT_EQ(100, slider->Value());
    driver::MouseUp(On(slider, thumb.Left + 2 + 500, y));
    Pump();
    EXPECT_EQ(2, Count("change"));
    EXPECT_EQ(1, Count("changed"));
}

TEST_F(SkinSlider, TicksDoubleTheirStepUntilFourPixelsApart) {
    TqxSkinSlider* slider = Slider(217);
    slider->SetRange(0, 1000);
    slider->SetIncrement(10);
    const Integer top = slider->PointsRect().Top;
    std::vector<Integer> ticks, lengths;
    Pump();
    for (Integer x = 0; x < slider->Width(); ++x) {
        Integer length = 0;
        while (length < 8 &&
               TColor(driver::Pixel(slider->Handle(), x, top + length)) == ColorToRGB(clWindowText))
            ++length;
        if (length == 0) continue;
        ticks.push_back(x);
        lengths.push_back(length);
    }
    ASSERT_EQ(51u, ticks.size());
    EXPECT_EQ(4, ticks[1] - ticks[0]);
    EXPECT_EQ(5, lengths.front());
    EXPECT_EQ(3, lengths[1]);
    EXPECT_EQ(5, lengths.back());
}

TEST_F(SkinSlider, NoTravelOrNoRangeNeverDivides) {
    TqxSkinSlider* slider = Slider(15, 40);
    slider->SetValue(60);
    EXPECT_EQ(6, slider->ThumbRect().Left);
    EXPECT_EQ(0, slider->PositionToValue(50));
    EXPECT_NO_THROW(slider->Repaint());
    // A description may leave the range empty.
    TTempFolder folder;
    const String file = folder.Path() + u"form.txt";
    WriteFileBytes(file, StringToUTF8(u"object Form1: TForm\r\n"
                                      u"  object Seek: TqxSkinSlider\r\n"
                                      u"    MinValue = 50\r\n"
                                      u"    MaxValue = 50\r\n"
                                      u"    UserImages = [siHThumb]\r\n"
                                      u"  end\r\n"
                                      u"end\r\n"));
    auto* form = new TForm(Application);
    ReadDescriptionFile(form, file);
    auto* seek = static_cast<TqxSkinSlider*>(form->FindComponent(u"Seek"));
    ASSERT_NE(nullptr, seek);
    EXPECT_EQ(50, seek->MinValue());
    EXPECT_EQ(50, seek->MaxValue());
    EXPECT_TRUE(seek->UserImages().Contains(siHThumb));
    EXPECT_EQ(50, seek->PositionToValue(100));
    EXPECT_EQ(6, seek->ValueToPosition(50));
    form->Show();
    Pump();
}

TEST_F(SkinSlider, TheBuiltInBitmapsByName) {
    const struct {
        const char16_t* Name;
        Integer Width, Height;
    } images[] = {{u"QX_HTB", 10, 15}, {u"QX_HRL", 10, 7}, {u"QX_VTB", 31, 7}, {u"QX_VRL", 7, 10}};
    for (const auto& image : images) {
        TBitmap bitmap;
        bitmap.LoadFromResourceName(image.Name);
        EXPECT_EQ(image.Width, bitmap.Width());
        EXPECT_EQ(image.Height, bitmap.Height());
    }
    // A user image replaces one; nil brings the built-in one back.
    TqxSkinSlider* slider = Slider();
    TBitmap thumb;
    thumb.SetSize(20, 20);
    slider->SetImage(siHThumb, &thumb);
    EXPECT_EQ(10, slider->ThumbRect().Width());
    slider->SetOptions({soThumbOpaque});
    slider->SetImage(siHThumb, nullptr);
    EXPECT_EQ(5, slider->ThumbRect().Width());
    EXPECT_FALSE(slider->UserImages().Contains(siHThumb));
    EXPECT_FALSE(slider->Options().Contains(soThumbOpaque));
}

TEST_F(SkinSlider, TheSkinsThumbAndRuler) {
    LoadFlat();
    TqxSkinSlider* slider = Slider(218, 31);
    slider->SetSkinData(FSkin);
    slider->SetOptions({soShowFocus, soSmooth});
    EXPECT_EQ(15, slider->ThumbRect().Width());
    EXPECT_EQ(218 - 12, slider->Ruler()->Width());
    const TRect thumb = slider->ThumbRect();
    EXPECT_EQ(FlatColor(u"slider", u"hthumbrect", fpCell1),
              PixelOf(slider->Handle(), thumb.Left + 7, thumb.Top + 7));
    driver::MouseDown(ScreenPoint(slider->Handle(), thumb.Left + 7, thumb.Top + 7));
    Pump();
    EXPECT_EQ(FlatColor(u"slider", u"hthumbrect", fpCell2),
              PixelOf(slider->Handle(), thumb.Left + 7, thumb.Top + 7));
    driver::MouseUp(ScreenPoint(slider->Handle(), thumb.Left + 7, thumb.Top + 7));
    Pump();
}

}  // namespace
