#include "skin/controls/qxskinlinklabel.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/input.h"

namespace {

using namespace skinfixtures;
using namespace win;

// A link label of 200 x 60 at (20, 20) that does not size itself.
class SkinLinkLabel : public ControlTest {
protected:
    TqxSkinLinkLabel* Label(bool ASkinned = false) {
        if (ASkinned && FSkin->Empty) LoadFlat();
        auto* label = new TqxSkinLinkLabel(FForm);
        label->SetParent(FForm);
        label->SetAutoSize(false);
        label->SetBounds(20, 20, 200, 60);
        label->SetCaption(u"访问主页");
        if (ASkinned) label->SetSkinData(FSkin);
        Pump();
        return label;
    }
    // The rows of the label's area that hold anything but the form's colour:
    // first and last, -1 for none.
    std::pair<Integer, Integer> InkRows(TqxSkinLinkLabel* ALabel) {
        Pump();
        const HWND form = FForm->Handle();
        const COLORREF background = driver::Pixel(form, ALabel->Left() + 199, ALabel->Top() + 59);
        Integer first = -1, last = -1;
        for (Integer y = 0; y < ALabel->Height(); ++y)
            for (Integer x = 0; x < ALabel->Width(); ++x)
                if (driver::Pixel(form, ALabel->Left() + x, ALabel->Top() + y) != background) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }
};

TEST_F(SkinLinkLabel, AClickOpensTheAddressAfterOnClick) {
    TqxSkinLinkLabel* label = Label();
    EXPECT_EQ(crHandPoint, label->Cursor());
    std::vector<std::vector<driver::TShellOpen>> seen;
    label->OnClick = [&](TObject*) { seen.push_back(driver::ShellOpens()); };
    const POINT at = ScreenPoint(FForm->Handle(), 40, 30);
    driver::Click(at);
    Pump();
    // Without an address only OnClick.
    ASSERT_EQ(1u, seen.size());
    EXPECT_TRUE(driver::ShellOpens().empty());
    // The address is one argument, whatever it holds.
    const String url = u"https://例子.com/下载 页?a=1&b='2' \"x\"; rm -rf ~";
    label->SetURL(url);
    // Apart enough not to make a double click.
    driver::AdvanceTime(1000);
    driver::Click(at);
    Pump();
    ASSERT_EQ(2u, seen.size());
    EXPECT_TRUE(seen[1].empty());
    EXPECT_EQ((std::vector<driver::TShellOpen>{{u"open", url}}), driver::ShellOpens());
    label->SetURL(u"mailto:support@velqua.example");
    driver::AdvanceTime(1000);
    driver::Click(at);
    Pump();
    ASSERT_EQ(2u, driver::ShellOpens().size());
    EXPECT_EQ(u"mailto:support@velqua.example", driver::ShellOpens()[1].Target);
}

TEST_F(SkinLinkLabel, HoverColoursAndGlow) {
    LoadFlat();
    const auto* element =
        dynamic_cast<const TqxDataSkinStdLabelControl*>(FSkin->CtrlList[FSkin->GetControlIndex(u"stdlabel")]);
    ASSERT_NE(nullptr, element);
    ASSERT_NE(element->FontColor, element->ActiveFontColor);
    const struct {
        const char* Name;
        bool Skinned, Glow, Hover;
        TColor Text;
    } cases[] = {
        {"plain", false, false, false, clWindowText},
        {"plain hovered", false, false, true, clBlue},
        {"plain glowing", false, true, true, clBlue},
        {"skinned", true, false, false, element->FontColor},
        {"skinned hovered", true, false, true, element->ActiveFontColor},
        {"skinned glowing", true, true, true, element->FontColor},
    };
    for (const auto& c : cases) {
        TqxSkinLinkLabel* label = Label(c.Skinned);
        label->SetGlowEffect(c.Glow);
        label->SetGlowSize(6);
        const auto still = InkRows(label);
        if (c.Hover) label->Perform(CM_MOUSEENTER, 0, 0);
        const auto hovered = InkRows(label);
        EXPECT_EQ(c.Text, label->Canvas()->Font()->Color()) << c.Name;
        EXPECT_TRUE(label->Canvas()->Font()->Style().Contains(fsUnderline)) << c.Name;
        // A glow reaches above the text.
        EXPECT_EQ(c.Glow && c.Hover, hovered.first < still.first) << c.Name;
        label->Perform(CM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(still, InkRows(label)) << c.Name;
        delete label;
    }
}

TEST_F(SkinLinkLabel, TheGlowLowersTheTextByItsSize) {
    TqxSkinLinkLabel* label = Label();
    const Integer top = InkRows(label).first;
    ASSERT_GE(top, 0);
    label->SetGlowSize(9);
    label->SetGlowEffect(true);
    EXPECT_EQ(top + 9, InkRows(label).first);
    // Sized to its text, it makes room for the lowered text.
    label->SetAutoSize(true);
    const Integer tall = label->Height();
    label->SetGlowEffect(false);
    label->SetCaption(u"访问主页 ");
    EXPECT_EQ(tall - 9, label->Height());
}

TEST_F(SkinLinkLabel, UnderlineAndTheDisabledLook) {
    TqxSkinLinkLabel* label = Label();
    // Disabled: a highlight copy a pixel down and right, the shadow on top.
    const auto rows = InkRows(label);
    label->SetEnabled(false);
    EXPECT_EQ(rows.second + 1, InkRows(label).second);
    EXPECT_EQ(clBtnShadow, label->Canvas()->Font()->Color());
    label->SetEnabled(true);
    // The default font's underline goes with UseUnderLine.
    ASSERT_TRUE(label->DefaultFont()->Style().Contains(fsUnderline));
    label->SetUseUnderLine(false);
    Pump();
    EXPECT_FALSE(label->Canvas()->Font()->Style().Contains(fsUnderline));
    // Skinned, the skin's colours.
    TqxSkinLinkLabel* skinned = Label(true);
    skinned->SetEnabled(false);
    Pump();
    EXPECT_EQ(FSkin->SkinColors()->cBtnShadow(), skinned->Canvas()->Font()->Color());
}

}  // namespace
