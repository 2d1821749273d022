// Panels, bevels and splitters: bevels that frame the aligned children,
// the bevel shapes, and a splitter dragged between its limits.
#include "platform/toolkit/panels.h"

#include "platform/win/input.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Panels = ToolkitTest;

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Shadow = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF Face = RGB(0xF0, 0xF0, 0xF0);

TEST_F(Panels, BevelsAndTheBorderFrameTheAlignedChildren) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetBounds(10, 10, 200, 100);
    panel->SetParent(form);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* child = new TPanel(form);
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 193, 93));
    Pump();
    struct Case {
        Integer X, Y;
        COLORREF Expected;
    } cases[] = {
        {0, 0, White}, {1, 50, White},  {199, 50, Shadow}, {2, 2, Face},
        {4, 50, Face}, {5, 50, Shadow}, {194, 50, White},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelOf(panel, c.X, c.Y), c.Expected) << c.X << "," << c.Y;
}

TEST_F(Panels, BevelShapesDrawTheirLinesInTheStylesColours) {
    struct Case {
        TBevelShape Shape;
        TBevelStyle Style;
        std::vector<std::tuple<Integer, Integer, COLORREF>> Pixels;
    } cases[] = {
        {bsBox, bsLowered, {{0, 0, Shadow}, {0, 9, Shadow}, {19, 0, White}, {19, 9, White}, {5, 5, Face}}},
        {bsBox, bsRaised, {{0, 0, White}, {19, 9, Shadow}}},
        {bsFrame, bsLowered, {{0, 0, Shadow}, {1, 1, White}, {18, 5, Shadow}, {19, 5, White}}},
        {bsTopLine, bsLowered, {{5, 0, Shadow}, {5, 1, White}, {5, 2, Face}}},
        {bsBottomLine, bsLowered, {{5, 8, Shadow}, {5, 9, White}, {5, 7, Face}}},
        {bsLeftLine, bsRaised, {{0, 5, White}, {1, 5, Shadow}}},
        {bsRightLine, bsLowered, {{18, 5, Shadow}, {19, 5, White}}},
        {bsSpacer, bsLowered, {{0, 0, Face}}},
    };
    for (const Case& c : cases) {
        TForm* form = NewForm();
        auto* bevel = new TBevel(form);
        bevel->SetBounds(10, 10, 20, 10);
        bevel->SetShape(c.Shape);
        bevel->SetStyle(c.Style);
        bevel->SetParent(form);
        Pump();
        for (const auto& [x, y, color] : c.Pixels)
            EXPECT_EQ(PixelOf(form, 10 + x, 10 + y), color) << c.Shape << " at " << x << "," << y;
        Free(form);
    }
}

TEST_F(Panels, ASplitterResizesItsNeighbourWithinTheLimits) {
    struct Case {
        TAlign Align;
        Integer Drag;
        Integer Expected;
    } cases[] = {
        {alLeft, 40, 140},   {alLeft, 1000, 267}, {alLeft, -1000, 30},
        {alRight, -40, 140}, {alTop, 40, 140},    {alBottom, -40, 140},
    };
    for (const Case& c : cases) {
        TForm* form = NewForm(Bounds(0, 0, 300, 300));
        auto* side = new TPanel(form);
        side->SetAlign(c.Align);
        side->SetBounds(0, 0, 100, 100);
        side->SetParent(form);
        auto* splitter = new TSplitter(form);
        splitter->SetAlign(c.Align);
        splitter->SetBounds(200, 200, 3, 3);
        splitter->SetParent(form);
        auto* rest = new TPanel(form);
        rest->SetParent(form);
        rest->SetAlign(alClient);
        Integer moved = 0;
        splitter->OnMoved = [&](TObject*) { ++moved; };
        ASSERT_EQ(splitter->FindControl(), side) << c.Align;
        const bool vertical = c.Align == alLeft || c.Align == alRight;
        const POINT start = At(splitter, 1, 1);
        const POINT end{start.x + (vertical ? c.Drag : 0), start.y + (vertical ? 0 : c.Drag)};
        driver::MouseDown(start);
        driver::MouseMove(end);
        driver::MouseUp(end);
        Pump();
        EXPECT_EQ(vertical ? side->Width() : side->Height(), c.Expected) << c.Align << " " << c.Drag;
        EXPECT_EQ(moved, 1);
        EXPECT_EQ(splitter->Cursor(), vertical ? crHSplit : crVSplit);
        Free(form);
    }
}

TEST_F(Panels, ADescriptionSetsThePanelsBevelsAndSplitters) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object Panel1: TPanel
    Caption = '面板'
    Alignment = taLeftJustify
    BevelInner = bvLowered
    BevelOuter = bvNone
    BevelWidth = 2
    BorderWidth = 4
    BorderStyle = bsSingle
    object Bevel1: TBevel
      Shape = bsTopLine
      Style = bsRaised
    end
  end
  object Splitter1: TSplitter
    Align = alTop
    MinSize = 50
    OnMoved = nil
  end
end
)");
    auto* panel = dynamic_cast<TPanel*>(form->FindComponent(u"Panel1"));
    auto* bevel = dynamic_cast<TBevel*>(form->FindComponent(u"Bevel1"));
    auto* splitter = dynamic_cast<TSplitter*>(form->FindComponent(u"Splitter1"));
    ASSERT_TRUE(panel && bevel && splitter);
    EXPECT_EQ(panel->Alignment(), taLeftJustify);
    EXPECT_EQ(panel->BevelInner(), bvLowered);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_EQ(panel->BevelWidth(), 2);
    EXPECT_EQ(panel->BorderWidth(), 4);
    EXPECT_EQ(panel->BorderStyle(), bsSingle);
    EXPECT_EQ(bevel->Parent(), panel);
    EXPECT_EQ(bevel->Shape(), bsTopLine);
    EXPECT_EQ(bevel->Style(), bsRaised);
    EXPECT_EQ(splitter->MinSize(), 50);
    EXPECT_EQ(splitter->Cursor(), crVSplit);
}

}  // namespace
