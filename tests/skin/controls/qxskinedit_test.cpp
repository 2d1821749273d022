#include "skin/controls/qxskinedit.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/gdi/text.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/stdcontrols.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;
using driver::AdvanceTime;

Integer TextMetricHeight(const String& AName, Integer AHeight) {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas()->Font()->SetName(AName);
    bitmap.Canvas()->Font()->SetHeight(AHeight);
    TEXTMETRICW metrics{};
    GetTextMetricsW(bitmap.Canvas()->Handle(), &metrics);
    return metrics.tmHeight;
}

// A skinned edit 160 wide at (20, 20), unskinned unless given a skin
// element, with a 16 x 16 image list of red, green and blue, counting its
// events.
class SkinEdit : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        FImages = new TCustomImageList(16, 16, FForm);
        TBitmap strip;
        strip.SetSize(48, 16);
        const TColor colors[] = {clRed, clLime, clBlue};
        for (Integer i = 0; i < 3; ++i) {
            strip.Canvas()->Brush()->SetColor(colors[i]);
            strip.Canvas()->FillRect(Bounds(16 * i, 0, 16, 16));
        }
        FImages->Add(&strip, nullptr);
    }
    TqxSkinEdit* Edit(const char16_t* AElement = nullptr, bool AButton = false) {
        if (AElement && FSkin->Empty) LoadFlat();
        auto* edit = new TqxSkinEdit(FForm);
        edit->SetParent(FForm);
        edit->SetBounds(20, 20, 160, 20);
        edit->SetButtonMode(AButton);
        if (AElement) {
            edit->SetSkinDataName(AElement);
            edit->SetSkinData(FSkin);
        }
        edit->OnButtonClick = [this](TObject*) { ++FButtonClicks; };
        edit->OnLeftButtonClick = [this](TObject*) { ++FLeftClicks; };
        edit->OnMouseEnter = [this](TObject*) { ++FEnters; };
        edit->OnMouseLeave = [this](TObject*) { ++FLeaves; };
        Pump();
        return edit;
    }
    // The client area in window coordinates.
    static TRect Client(TWinControl* AControl) {
        const driver::TWindowInfo info = driver::Inspect(AControl->Handle());
        return Rect(info.Client.left - info.Bounds.left, info.Client.top - info.Bounds.top,
                    info.Client.right - info.Bounds.left, info.Client.bottom - info.Bounds.top);
    }
    // A point of the edit in window coordinates, on the screen.
    POINT At(TWinControl* AControl, Integer X, Integer Y) {
        return ScreenPoint(FForm->Handle(), AControl->Left() + X, AControl->Top() + Y);
    }
    void Move(POINT APoint) {
        driver::MouseMove(APoint);
        Pump();
    }
    // The pointer goes to the form and the hover poll notices.
    void Leave() {
        Move(ScreenPoint(FForm->Handle(), 300, 200));
        AdvanceTime(100);
    }
    // A pixel of the edit in window coordinates, as the form shows it.
    TColor Frame(TWinControl* AControl, Integer X, Integer Y) {
        return FormPixel(AControl->Left() + X, AControl->Top() + Y);
    }

    TCustomImageList* FImages = nullptr;
    Integer FButtonClicks = 0;
    Integer FLeftClicks = 0;
    Integer FEnters = 0;
    Integer FLeaves = 0;
};

TEST_F(SkinEdit, FrameInsetsAndHeights) {
    const Integer plain = TextMetricHeight(u"Tahoma", 13);
    LoadFlat();
    const auto* edit =
        dynamic_cast<const TqxDataSkinEditControl*>(FSkin->CtrlList[FSkin->GetControlIndex(u"edit")]);
    const auto* buttonEdit =
        dynamic_cast<const TqxDataSkinEditControl*>(FSkin->CtrlList[FSkin->GetControlIndex(u"buttonedit")]);
    ASSERT_TRUE(edit && buttonEdit);
    const Integer skinned = TextMetricHeight(edit->FontName, edit->FontHeight);
    const struct {
        const char* Name;
        const char16_t* Element;
        bool Button;
        bool UseSkinFont;
        Integer Height;
        TRect Client;
    } cases[] = {
        {"plain", nullptr, false, true, plain + 6, Rect(2, 2, 158, plain + 4)},
        {"plain button", nullptr, true, true, plain + 6, Rect(2, 2, 160 - (plain + 6) - 2, plain + 4)},
        {"skinned", u"edit", false, true, 20, Rect(4, 2, 156, 18)},
        {"skinned button", u"buttonedit", true, true, 20, Rect(4, 2, 160 - 22, 18)},
        {"skinned, own font", u"edit", false, false, plain + 4, Rect(4, 2, 156, plain + 2)},
    };
    for (const auto& c : cases) {
        TqxSkinEdit* e = Edit(nullptr, c.Button);
        e->SetUseSkinFont(c.UseSkinFont);
        if (c.Element) {
            e->SetSkinDataName(c.Element);
            e->SetSkinData(FSkin);
        }
        Pump();
        EXPECT_EQ(c.Height, e->Height()) << c.Name;
        EXPECT_EQ(c.Client, Client(e)) << c.Name;
        const Integer font = c.Element && c.UseSkinFont ? skinned : plain;
        EXPECT_EQ(c.Element ? font + 4 : font + 6, e->CalcEditHeight()) << c.Name;
        delete e;
    }
    // Taller images raise the height.
    TqxSkinEdit* e = Edit();
    e->SetImages(FImages);
    EXPECT_EQ(std::max(plain + 2, 16) + 4, e->Height());
}

TEST_F(SkinEdit, AnUnskinnedButtonIsSquare) {
    TqxSkinEdit* edit = Edit(nullptr, true);
    edit->SetImages(FImages);
    ASSERT_EQ(20, edit->Height());
    edit->CalcEditRects();
    EXPECT_EQ(Rect(140, 0, 160, 20), edit->FButtonRect);
    EXPECT_EQ(138, edit->FEditRect.Right);
    EXPECT_EQ(138, Client(edit).Right);
    EXPECT_EQ(ColorToRGB(clBtnShadow), Frame(edit, 0, 0));
    EXPECT_EQ(ColorToRGB(clBtnFace), Frame(edit, 150, 3));
    Move(At(edit, 150, 3));
    EXPECT_EQ(TColor(0xF3D4C1), Frame(edit, 150, 3));
    EXPECT_EQ(TColor(0xB76B3B), Frame(edit, 140, 0));
    driver::MouseDown(At(edit, 150, 3));
    Pump();
    EXPECT_EQ(TColor(0xE4BCA2), Frame(edit, 150, 3));
    driver::MouseUp(At(edit, 150, 3));
    Pump();
    EXPECT_EQ(1, FButtonClicks);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(SkinEdit, AButtonPressReleasedElsewhereIsNoClick) {
    TqxSkinEdit* edit = Edit(u"buttonedit", true);
    const TRect button = edit->FButtonRect;
    const Integer x = (button.Left + button.Right) / 2, y = 10;
    Move(At(edit, x, y));
    EXPECT_EQ(FlatColor(u"buttonedit", u"activebuttonrect", fpWhole), Frame(edit, x, y));
    driver::MouseDown(At(edit, x, y));
    Pump();
    EXPECT_EQ(FlatColor(u"buttonedit", u"downbuttonrect", fpWhole), Frame(edit, x, y));
    Move(ScreenPoint(FForm->Handle(), 300, 200));
    driver::MouseUp(ScreenPoint(FForm->Handle(), 300, 200));
    Pump();
    EXPECT_EQ(0, FButtonClicks);
    // The poll lets the button go once the pointer is away.
    AdvanceTime(100);
    EXPECT_FALSE(edit->FButtonDown);
    EXPECT_EQ(FlatColor(u"buttonedit", u"skinrect", fpRight), Frame(edit, x, y));
    // A release on the button that no press on it began is no click either.
    edit->Perform(WM_NCLBUTTONUP, HTHSCROLL, 0);
    EXPECT_EQ(0, FButtonClicks);
    // Disabled, the button shows its disabled look.
    edit->SetEnabled(false);
    EXPECT_EQ(FlatColor(u"buttonedit", u"unenabledbuttonrect", fpWhole), Frame(edit, x, y));
}

TEST_F(SkinEdit, ImageButtonsLeaveTheCaretAlone) {
    TqxSkinEdit* edit = Edit();
    edit->SetImages(FImages);
    edit->SetLeftImageIndex(0);
    edit->SetLeftImageHotIndex(1);
    edit->SetLeftImageDownIndex(2);
    edit->SetText(u"abcdef");
    // The text starts after the image and a gap.
    RECT format{};
    SendMessageW(edit->Handle(), EM_GETRECT, 0, LPARAM(&format));
    EXPECT_EQ(16 + 2, format.left);
    edit->SetFocus();
    edit->SetSelStart(3);
    Pump();
    const TRect client = Client(edit);
    const Integer x = client.Left + 8, y = client.Top + 8;
    EXPECT_EQ(ColorToRGB(clRed), Frame(edit, x, y));
    Move(At(edit, x, y));
    EXPECT_EQ(ColorToRGB(clLime), Frame(edit, x, y));
    driver::MouseDown(At(edit, x, y));
    Pump();
    EXPECT_EQ(ColorToRGB(clBlue), Frame(edit, x, y));
    driver::MouseUp(At(edit, x, y));
    Pump();
    EXPECT_EQ(1, FLeftClicks);
    EXPECT_EQ(3, edit->SelStart());
    EXPECT_EQ(0, edit->SelLength());
    // Off the image, the normal one.
    Move(At(edit, client.Left + 60, y));
    EXPECT_EQ(ColorToRGB(clRed), Frame(edit, x, y));
}

TEST_F(SkinEdit, TheLeaveIsNoticedWithoutAHoverLook) {
    TqxSkinEdit* edit = Edit();
    Move(At(edit, 50, 10));
    EXPECT_EQ(1, FEnters);
    EXPECT_TRUE(edit->MouseIn());
    Leave();
    EXPECT_EQ(1, FLeaves);
    EXPECT_FALSE(edit->MouseIn());
    Move(At(edit, 50, 10));
    EXPECT_EQ(2, FEnters);
    // While the pointer stays, nothing more.
    AdvanceTime(500);
    EXPECT_EQ(1, FLeaves);
}

TEST_F(SkinEdit, TheHoverLookFallsBackToTheNormalPicture) {
    TqxSkinEdit* edit = Edit(u"edit");
    EXPECT_EQ(FlatColor(u"edit", u"skinrect", fpLeft), Frame(edit, 1, 10));
    Move(At(edit, 50, 10));
    EXPECT_EQ(FlatColor(u"edit", u"activeskinrect", fpLeft), Frame(edit, 1, 10));
    // The text area shows the same picture's middle.
    EXPECT_EQ(FlatColor(u"edit", u"activeskinrect", fpCenter), Frame(edit, 100, 10));
    Leave();
    EXPECT_EQ(FlatColor(u"edit", u"skinrect", fpLeft), Frame(edit, 1, 10));
    TFixtureSkin skin = FlatSkin();
    SetValue(skin, u"edit", u"activeskinrect", u"0,0,0,0");
    Load(skin);
    edit->ChangeSkinData();
    Move(At(edit, 50, 10));
    EXPECT_EQ(FlatColor(u"edit", u"skinrect", fpLeft), Frame(edit, 1, 10));
}

TEST_F(SkinEdit, AFontChangeOnASkinFontEditKeepsHeightAndWindow) {
    TqxSkinEdit* edit = Edit(u"edit");
    const HWND window = edit->Handle();
    edit->Font()->SetHeight(30);
    Pump();
    EXPECT_EQ(window, edit->Handle());
    EXPECT_EQ(20, edit->Height());
    // Without the skin font the height follows the font.
    edit->SetUseSkinFont(false);
    edit->Font()->SetHeight(24);
    EXPECT_EQ(TextMetricHeight(edit->Font()->Name(), 24) + 4, edit->Height());
}

TEST_F(SkinEdit, AReadOnlyEditKeepsItsTextAndReportsClicks) {
    TqxSkinEdit* edit = Edit(u"edit");
    edit->SetReadOnly(true);
    edit->SetText(u"/home/用户/视频");
    Integer clicks = 0;
    edit->OnClick = [&](TObject*) { ++clicks; };
    driver::Click(At(edit, 50, 10));
    Pump();
    driver::Text(u"x");
    driver::Key(VK_BACK);
    Pump();
    EXPECT_EQ(u"/home/用户/视频", edit->Text());
    EXPECT_EQ(1, clicks);
}

TEST_F(SkinEdit, PaintsIntoAnotherDeviceContext) {
    TqxSkinEdit* edit = Edit(nullptr, true);
    const HWND h = edit->Handle();
    TBitmap target;
    target.SetSize(edit->Width(), edit->Height());
    const auto fill = [&] {
        target.Canvas()->Brush()->SetColor(clRed);
        target.Canvas()->FillRect(Rect(0, 0, target.Width(), target.Height()));
    };
    const auto pixel = [&](Integer X, Integer Y) { return ColorToRGB(target.Canvas()->Pixels(X, Y)); };
    const WPARAM dc = WPARAM(target.Canvas()->Handle());
    fill();
    EXPECT_EQ(SKINMSG_ANSWER_PAINTED, SendMessageW(h, SKINMSG_PAINTTODC, dc, 0));
    EXPECT_EQ(ColorToRGB(clBtnShadow), pixel(0, 0));
    EXPECT_EQ(ColorToRGB(clWindow), pixel(60, 10));
    EXPECT_EQ(0, SendMessageW(h, SKINMSG_PAINTTODC, 0, 0));
    // The frame alone leaves the text area as it was.
    fill();
    EXPECT_EQ(SKINMSG_PAINTKEY, SendMessageW(h, SKINMSG_PAINTFRAMETODC, dc, SKINMSG_PAINTKEY));
    EXPECT_EQ(ColorToRGB(clBtnShadow), pixel(0, 0));
    EXPECT_EQ(ColorToRGB(clRed), pixel(60, 10));
    fill();
    EXPECT_EQ(0, SendMessageW(h, SKINMSG_PAINTFRAMETODC, dc, 1));
    EXPECT_EQ(ColorToRGB(clRed), pixel(0, 0));
    // PaintSkinTo draws the frame with a text of its own.
    TBitmap picture;
    picture.SetSize(200, 40);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 200, 40));
    edit->PaintSkinTo(picture.Canvas(), 5, 5, u"D:/视频");
    EXPECT_EQ(ColorToRGB(clBtnShadow), ColorToRGB(picture.Canvas()->Pixels(5, 5)));
    EXPECT_EQ(ColorToRGB(clBtnFace), ColorToRGB(picture.Canvas()->Pixels(6, 6)));
    EXPECT_EQ(ColorToRGB(clRed), ColorToRGB(picture.Canvas()->Pixels(4, 5)));
}

}  // namespace
