// The animated frame object: frame timing, the run forward and back, the
// button behaviour when the skin asks for it, and a strip without frames.
#include <gtest/gtest.h>

#include "formtest.h"
#include "platform/win/input.h"
#include "skin/forms/animateobject.h"
#include "skin/forms/skinmenus.h"

using namespace win;
using namespace skinfixtures;

namespace {

class AnimateTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        FormSkinMenuMaker = MakeSkinMenu;
    }
    // The second skin with its emblem's section edited.
    TForm* EmblemForm(std::initializer_list<std::pair<const char16_t*, String>> AEdits) {
        TFixtureSkin skin = ProjectSkin(u"second");
        for (const auto& [key, value] : AEdits) SetValue(skin, u"emblem", key, value);
        return SkinnedForm(skin);
    }
    static TqxSkinAnimateObject* Emblem(TForm* AForm) {
        const Integer index = D(AForm)->GetIndex(u"emblem");
        return index == -1 ? nullptr : dynamic_cast<TqxSkinAnimateObject*>(D(AForm)->ObjectList[size_t(index)].get());
    }
    static POINT Centre(TForm* AForm, TqxActiveSkinObject* AObject) {
        const TRect r = AObject->ObjectRect;
        return At(AForm, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // The frames a run shows, tick by tick.
    static std::vector<Integer> Frames(TqxSkinAnimateObject* AObject, Integer ATicks) {
        std::vector<Integer> frames;
        for (Integer i = 0; i < ATicks; ++i) {
            driver::AdvanceTime(25);
            frames.push_back(AObject->Frame());
        }
        return frames;
    }
};

TEST_F(AnimateTest, ButtonStyleRunsForwardOnHoverAndBackOnLeave) {
    TForm* form = EmblemForm({{u"buttonstyle", u"1"}, {u"command", u"cmrollup"}, {u"cycle", u"0"}, {u"timerinterval", u"10"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    ASSERT_NE(emblem, nullptr);
    EXPECT_EQ(emblem->TimerInterval, 25);
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(50);
    ASSERT_TRUE(emblem->MouseIn());
    // A frame every 25 ms, stopping on the last.
    std::vector<Integer> forward = Frames(emblem, 8);
    EXPECT_EQ(forward.back(), 6);
    EXPECT_FALSE(emblem->Active);
    // The pixels follow the frame: the sixth cell of the strip.
    const TRect cell = Bounds(emblem->SkinRect.Left + 5 * emblem->SkinRect.Width(), emblem->SkinRect.Top,
                              emblem->SkinRect.Width(), emblem->SkinRect.Height());
    TBitmap* picture = emblem->ActivePicture;
    const TRect at = emblem->ObjectRect;
    for (const TPoint p : {Point(3, 8), Point(8, 3), Point(12, 8)})
        EXPECT_EQ(FramePixel(form, at.Left + p.X, at.Top + p.Y),
                  ColorToRGB(picture->Canvas()->Pixels(cell.Left + p.X, cell.Top + p.Y)));
    driver::MouseMove(POINT{5, 5});
    driver::AdvanceTime(50);
    std::vector<Integer> back = Frames(emblem, 8);
    EXPECT_EQ(back.back(), 1);
    EXPECT_FALSE(emblem->Active);
}

TEST_F(AnimateTest, LeavingMidRunReversesFromTheCurrentFrame) {
    TForm* form = EmblemForm({{u"buttonstyle", u"1"}, {u"command", u"cmrollup"}, {u"cycle", u"0"}, {u"timerinterval", u"50"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(50);
    // 50 ms a frame: two ticks each.
    EXPECT_EQ(Frames(emblem, 4), (std::vector<Integer>{1, 2, 2, 3}));
    driver::MouseMove(POINT{5, 5});
    driver::AdvanceTime(25);
    const Integer from = emblem->Frame();
    std::vector<Integer> back = Frames(emblem, 6);
    EXPECT_EQ(back.back(), 1);
    EXPECT_LE(back.front(), from);
}

TEST_F(AnimateTest, ACyclingStripRunsOnWhileHovered) {
    TForm* form = EmblemForm({{u"buttonstyle", u"1"}, {u"command", u"cmrollup"}, {u"timerinterval", u"25"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(50);
    const std::vector<Integer> frames = Frames(emblem, 9);
    EXPECT_NE(std::find(frames.begin(), frames.end(), 6), frames.end());
    EXPECT_TRUE(emblem->Active);
    EXPECT_LT(frames.back(), 6);
}

TEST_F(AnimateTest, WithoutButtonStyleHoverAnimatesNothingAndClicksRunNoCommand) {
    TForm* form = EmblemForm({{u"command", u"cmclose"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    std::vector<std::string> events;
    D(form)->OnMouseEnterEvent = [&](const String& AName) { events.push_back("enter " + StringToUTF8(AName)); };
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(50);
    driver::AdvanceTime(200);
    EXPECT_EQ(emblem->Frame(), 1);
    EXPECT_EQ(events, std::vector<std::string>{"enter emblem"});
    driver::Click(Centre(form, emblem));
    driver::Pump();
    EXPECT_TRUE(form->Visible());
    // The application can run it.
    emblem->Start();
    driver::AdvanceTime(250);
    EXPECT_GT(emblem->Frame(), 1);
    emblem->Stop();
    EXPECT_EQ(emblem->Frame(), 1);
}

TEST_F(AnimateTest, ASystemMenuEmblemOpensOnThePressAndADoubleClickCloses) {
    TForm* form = EmblemForm({{u"buttonstyle", u"1"}, {u"command", u"cmsysmenu"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(50);
    driver::MouseDown(Centre(form, emblem));
    driver::Pump();
    EXPECT_TRUE(emblem->FMenuTracking);
    ASSERT_EQ(D(form)->RealSkinMenu()->PopupCount(), 1);
    EXPECT_EQ(D(form)->RealSkinMenu()->PopupWindow(0)->Item(0)->MenuItem->Parent(), D(form)->GetSystemMenuItems());
    driver::MouseUp(Centre(form, emblem));
    D(form)->RealSkinMenu()->Hide();
    EXPECT_FALSE(emblem->FMenuTracking);
    EXPECT_EQ(emblem->Frame(), 6);
    bool closed = false;
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    emblem->DblClick();
    EXPECT_TRUE(closed);
}

TEST_F(AnimateTest, AStripWithoutFramesCountsAsOne) {
    TForm* form = EmblemForm({{u"buttonstyle", u"1"}, {u"command", u"cmrollup"}, {u"countframes", u"0"}});
    TqxSkinAnimateObject* emblem = Emblem(form);
    EXPECT_EQ(emblem->CountFrames, 1);
    driver::MouseMove(Centre(form, emblem));
    driver::AdvanceTime(300);
    EXPECT_EQ(emblem->Frame(), 1);
}

}  // namespace
