// Labels: sizes measured from the caption, alignment, layout, transparency,
// and accelerators that focus another control.
#include "platform/toolkit/label.h"

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/edit.h"
#include "platform/win/input.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Labels = ToolkitTest;

TLabel* NewLabel(TForm* AForm, const String& ACaption) {
    auto* label = new TLabel(AForm);
    label->SetBounds(20, 10, 65, 17);
    label->SetParent(AForm);
    label->SetCaption(ACaption);
    return label;
}

TSize Measure(TFont* AFont, const String& AText) {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas()->SetFont(AFont);
    return bitmap.Canvas()->TextExtent(AText);
}

TEST_F(Labels, AutoSizeFitsTheCaptionAndARightAlignedLabelKeepsItsRightEdge) {
    TForm* form = NewForm();
    TLabel* label = NewLabel(form, u"视频格式");
    const TSize size = Measure(label->Font(), u"视频格式");
    EXPECT_EQ(label->BoundsRect(), Bounds(20, 10, size.cx, size.cy));
    label->SetAlignment(taRightJustify);
    const Integer right = label->Left() + label->Width();
    label->SetCaption(u"视频格式和音频格式");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_EQ(label->Width(), Measure(label->Font(), u"视频格式和音频格式").cx);
    // Wrapped, the width stays and the lines stack.
    label->SetAlignment(taLeftJustify);
    label->SetAutoSize(false);
    label->SetWidth(50);
    label->SetWordWrap(true);
    label->SetCaption(u"one two three four");
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), 50);
    EXPECT_GE(label->Height(), 2 * size.cy);
    // "&&" shows one "&"; an empty caption is still a line high.
    label->SetWordWrap(false);
    label->SetCaption(u"A&&B");
    EXPECT_EQ(label->Width(), Measure(label->Font(), u"A&B").cx);
    label->SetCaption(u"");
    EXPECT_EQ(label->Height(), size.cy);
}

TEST_F(Labels, TheLayoutPlacesTheTextAndTransparencyShowsTheParent) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    TLabel* label = NewLabel(form, u"Wg");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 60);
    label->SetColor(clYellow);
    label->SetLayout(tlBottom);
    Pump();
    const auto textRows = [&](Integer AFrom, Integer ATo) {
        for (Integer y = AFrom; y < ATo; ++y)
            for (Integer x = 0; x < 30; ++x)
                if (Differs(PixelOf(form, 10 + x, 10 + y), RGB(255, 255, 0))) return true;
        return false;
    };
    EXPECT_EQ(PixelOf(form, 65, 12), RGB(255, 255, 0));
    EXPECT_FALSE(textRows(0, 30));
    EXPECT_TRUE(textRows(40, 60));
    label->SetLayout(tlTop);
    label->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelOf(form, 65, 12), RGB(255, 255, 255));
}

TEST_F(Labels, TheAcceleratorFocusesTheFocusControl) {
    TForm* form = NewForm();
    TLabel* label = NewLabel(form, u"&Name");
    auto* edit = new TEdit(form);
    edit->SetTop(40);
    edit->SetParent(form);
    auto* other = new TEdit(form);
    other->SetTop(80);
    other->SetParent(form);
    label->SetFocusControl(edit);
    other->SetFocus();
    Pump();
    KeyWith({VK_MENU}, 'N');
    Pump();
    EXPECT_TRUE(edit->Focused());
    // Without accelerators "&N" is just text.
    other->SetFocus();
    label->SetShowAccelChar(false);
    KeyWith({VK_MENU}, 'N');
    Pump();
    EXPECT_TRUE(other->Focused());
    Free(edit);
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(Labels, ADescriptionSetsTheLabelAndItsFocusControl) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object Label1: TLabel
    Caption = '文件名(&N)：'
    Alignment = taRightJustify
    Layout = tlCenter
    WordWrap = True
    ShowAccelChar = False
    Transparent = True
    FocusControl = Edit1
  end
  object Edit1: TEdit
  end
end
)");
    auto* label = dynamic_cast<TLabel*>(form->FindComponent(u"Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), u"文件名(&N)：");
    EXPECT_EQ(label->Alignment(), taRightJustify);
    EXPECT_EQ(label->Layout(), tlCenter);
    EXPECT_TRUE(label->WordWrap());
    EXPECT_FALSE(label->ShowAccelChar());
    EXPECT_TRUE(label->Transparent());
    EXPECT_EQ(label->FocusControl(), form->FindComponent(u"Edit1"));
}

}  // namespace
