// Scroll bars and track bars: steps held down with their repeats, pages
// toward the pointer, thumbs dragged, keys, and descriptions in any order.
#include "platform/toolkit/scrollbars.h"

#include "platform/win/input.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using ScrollBars = ToolkitTest;

TEST_F(ScrollBars, AHeldArrowRepeatsAndAPageStopsUnderThePointer) {
    TForm* form = NewForm();
    auto* bar = new TScrollBar(form);
    bar->SetBounds(0, 0, 121, 17);
    bar->SetParent(form);
    bar->SetLargeChange(10);
    Integer changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    Pump();
    const POINT arrow = At(bar, 110, 8);
    driver::MouseDown(arrow);
    Pump();
    EXPECT_EQ(bar->Position(), 1);
    driver::AdvanceTime(350);
    EXPECT_EQ(bar->Position(), 2);
    driver::AdvanceTime(100);
    EXPECT_EQ(bar->Position(), 4);
    driver::MouseUp(arrow);
    driver::AdvanceTime(200);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(changes, 4);

    const POINT page = At(bar, 90, 8);
    driver::MouseDown(page);
    Pump();
    EXPECT_EQ(bar->Position(), 14);
    driver::AdvanceTime(1000);
    driver::MouseUp(page);
    Pump();
    // The thumb now lies under the pointer.
    EXPECT_EQ(bar->Position(), 84);
}

TEST_F(ScrollBars, DraggingTheThumbTracksAndEndsWithThePosition) {
    TForm* form = NewForm();
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetParent(form);
    bar->SetPageSize(20);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode ACode, Integer&) { codes.push_back(ACode); };
    Pump();
    ASSERT_EQ(bar->Height(), 121);
    driver::MouseDown(At(bar, 8, 20));
    driver::MouseMove(At(bar, 8, 60));
    driver::MouseMove(At(bar, 8, 500));
    driver::MouseUp(At(bar, 8, 500));
    Pump();
    EXPECT_EQ(bar->Position(), 81);
    EXPECT_EQ(codes, (std::vector<TScrollCode>{scTrack, scTrack, scPosition, scEndScroll}));
    bar->SetFocus();
    codes.clear();
    driver::Key(VK_HOME);
    driver::Key(VK_DOWN);
    Pump();
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(codes, (std::vector<TScrollCode>{scTop, scEndScroll, scLineDown, scEndScroll}));
}

TEST_F(ScrollBars, ATrackBarMovesByKeysPagesAndDrags) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object TrackBar2: TTrackBar
    Left = 0
    Top = 0
    Width = 150
    Position = 128
    Max = 128
    PageSize = 16
  end
end
)");
    auto* track = dynamic_cast<TTrackBar*>(form->FindComponent(u"TrackBar2"));
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->Position(), 128);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Integer changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    track->SetFocus();
    Pump();
    struct Case {
        BYTE Key;
        Integer Expected;
    } cases[] = {{VK_RIGHT, 128}, {VK_LEFT, 127}, {VK_PRIOR, 111},
                 {VK_HOME, 0},    {VK_NEXT, 16},  {VK_END, 128}};
    for (const Case& c : cases) {
        driver::Key(c.Key);
        Pump();
        EXPECT_EQ(track->Position(), c.Expected) << int(c.Key);
    }
    EXPECT_EQ(changes, 5);
    // Pages toward the point, then repeats until the thumb is there.
    const POINT left = At(track, 9, 10);
    driver::MouseDown(left);
    Pump();
    EXPECT_EQ(track->Position(), 112);
    driver::AdvanceTime(2000);
    driver::MouseUp(left);
    EXPECT_EQ(track->Position(), 0);
    // The thumb follows a drag.
    const TRect thumb = Bounds(4, 4, 11, 20);
    driver::MouseDown(At(track, thumb.Left + 5, 10));
    driver::MouseMove(At(track, 140, 10));
    driver::MouseUp(At(track, 140, 10));
    Pump();
    EXPECT_EQ(track->Position(), 128);
}

}  // namespace
