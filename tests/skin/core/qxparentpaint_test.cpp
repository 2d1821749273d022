#include "skin/core/qxparentpaint.h"

#include <gtest/gtest.h>

#include "platform/toolkit/forms.h"
#include "skintest.h"

namespace {

bool PaintingCopy(TControl* AControl) {
    return AControl->ControlState().Contains(csPaintCopy);
}

// A parent that erases in yellow and paints a blue block at (80, 40) -
// (100, 80), noting whether it painted as a copy.
class TParentPanel : public TCustomControl {
public:
    explicit TParentPanel(TComponent* AOwner) : TCustomControl(AOwner) {
        SetColor(clYellow);
        SetBounds(10, 10, 200, 150);
    }
    void Paint() override {
        ++Paints;
        Copy = PaintingCopy(this);
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect({80, 40, 100, 80});
    }
    Integer Paints = 0;
    bool Copy = false;
};

// A graphic control in one colour.
class TPatch : public TGraphicControl {
public:
    TPatch(TWinControl* AParent, TRect ABounds, TColor AColor) : TGraphicControl(AParent), FColor(AColor) {
        SetBoundsRect(ABounds);
        SetParent(AParent);
    }
    void Paint() override {
        ++Paints;
        Copy = PaintingCopy(this);
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(ClientRect());
    }
    Integer Paints = 0;
    bool Copy = false;

private:
    TColor FColor;
};

// On the panel, bottom up: a red patch the control overlaps, a patch far
// from it, the control (50, 40, 40 x 30), and a green patch above it.
class ParentBackground : public GuiTest {
protected:
    TParentPanel FPanel{nullptr};
    TPatch FBelow{&FPanel, {30, 30, 60, 50}, clRed};
    TPatch FFar{&FPanel, {150, 100, 170, 120}, clPurple};
    TPatch FControl{&FPanel, {50, 40, 90, 70}, clFuchsia};
    TPatch FAbove{&FPanel, {60, 50, 80, 70}, clLime};

    // What the panel shows at its point X, Y behind the control.
    static Cardinal Behind(Integer X, Integer Y) {
        if (X >= 30 && X < 60 && Y >= 30 && Y < 50) return 0xFF0000;
        if (X >= 80 && X < 100 && Y >= 40 && Y < 80) return 0x0000FF;
        return 0xFFFF00;
    }
    void ExpectBehind(TBitmap& ACanvas, TPoint AAt) {
        for (Integer y = 0; y < ACanvas.Height(); ++y)
            for (Integer x = 0; x < ACanvas.Width(); ++x)
                ASSERT_EQ(Behind(AAt.X + x, AAt.Y + y), RGBAt(ACanvas, x, y)) << x << ", " << y;
    }
};

TEST_F(ParentBackground, TheParentAndTheGraphicControlsBelowThatMeetTheControl) {
    const auto canvas = SolidBitmap(40, 30, 0);
    PaintParentBackground(&FControl, canvas->Canvas());
    ExpectBehind(*canvas, {50, 40});
    EXPECT_EQ(1, FPanel.Paints);
    EXPECT_EQ(1, FBelow.Paints);
    EXPECT_EQ(0, FFar.Paints);
    EXPECT_EQ(0, FControl.Paints);
    EXPECT_EQ(0, FAbove.Paints);
    // Both painted as copies, and are no copies afterwards.
    EXPECT_TRUE(FPanel.Copy);
    EXPECT_TRUE(FBelow.Copy);
    for (TControl* control : std::initializer_list<TControl*>{&FPanel, &FBelow, &FControl})
        EXPECT_FALSE(PaintingCopy(control));
}

TEST_F(ParentBackground, ARectangleOfTheControlAtTheCanvasOrigin) {
    const auto canvas = SolidBitmap(30, 20, 0);
    PaintParentBackgroundRect(&FControl, {5, 5, 35, 25}, canvas->Canvas());
    ExpectBehind(*canvas, {55, 45});
    EXPECT_EQ(1, FBelow.Paints);
}

TEST_F(ParentBackground, NothingWithoutAControlOrAParent) {
    const auto canvas = SolidBitmap(10, 10, 0x123456);
    TPatch orphan{nullptr, {0, 0, 10, 10}, clRed};
    PaintParentBackground(&orphan, canvas->Canvas());
    PaintParentBackground(nullptr, canvas->Canvas());
    PaintParentBackgroundRect(nullptr, {0, 0, 5, 5}, canvas->Canvas());
    EXPECT_EQ(0x123456u, RGBAt(*canvas, 5, 5));
    EXPECT_EQ(0, FPanel.Paints);
}

// A form erases its background but is not asked to paint itself.
TEST_F(ParentBackground, AFormErasesButDoesNotPaint) {
    TForm* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 200, 100);
    form->SetColor(clAqua);
    Integer paints = 0;
    form->OnPaint = [&](TObject*) { ++paints; };
    TPatch control{form, {20, 20, 40, 40}, clRed};
    const auto canvas = SolidBitmap(20, 20, 0);
    PaintParentBackground(&control, canvas->Canvas());
    EXPECT_EQ(0x00FFFFu, RGBAt(*canvas, 10, 10));
    EXPECT_EQ(0, paints);
}

}  // namespace
