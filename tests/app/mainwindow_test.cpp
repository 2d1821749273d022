// The main window as the user sees it, in both project skins: the file
// list's bars and its readable selection, the client area through skin
// changes, the skinned hints, and the rename edit's keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "app/filelistcolumns.h"
#include "platform/toolkit/edit.h"
#include "platform/toolkit/panels.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "programfixture.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpanels.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxskindata.h"
#include "skin/forms/skinhint.h"
#include "tests/media/mediatest.h"

namespace {

using namespace win;

// The WCAG contrast ratio of two colours.
double ContrastRatio(COLORREF A, COLORREF B) {
    const auto luminance = [](COLORREF C) {
        const auto channel = [](Integer AValue) {
            const double v = AValue / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(GetRValue(C)) + 0.7152 * channel(GetGValue(C)) +
               0.0722 * channel(GetBValue(C));
    };
    const double a = luminance(A), b = luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

class MainWindow : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Every box is answered with OK.
        Application->OnIdle = [](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (form && form != Form1 && form->ModalResult() == mrNone) form->SetModalResult(mrOk);
        };
        Start();
    }
    TqxSkinListView* List() { return Form1->lvFiles; }
    void AddRows(Integer ACount) {
        List()->Items()->BeginUpdate();
        for (Integer i = 0; i < ACount; ++i) {
            TListItem* row = List()->Items()->Add();
            row->SetCaption(u"/clips/row" + IntToStr(i) + u".avi");
            for (Integer k = 0; k < FileListSubItemCount; ++k)
                row->SubItems()->Add(k == ColOutputFile ? u"row" + IntToStr(i) + u".mp4" : String());
        }
        List()->Items()->EndUpdate();
        // As the add commands do: the empty list's cover goes.
        Form1->qxSkinPanel5->SetVisible(false);
        driver::Pump();
    }
    String Clip(const char* AName) {
        const fs::path path = FRoot / AName;
        fs::copy_file(StringToUTF8(TestDataFile(u"short.avi")), path);
        return UTF8ToString(path.string());
    }
    void UseSkin(Integer AIndex) {
        Form1->qxSkinData1->SetSkinIndex(AIndex);
        driver::Pump();
    }
    // The fill of a window's area (its commonest colour) and the pixel
    // farthest from it.
    static std::pair<COLORREF, COLORREF> Look(HWND AWindow, const TRect& AArea) {
        std::map<COLORREF, Integer> counts;
        for (Integer y = AArea.Top; y < AArea.Bottom; ++y)
            for (Integer x = AArea.Left; x < AArea.Right; ++x)
                ++counts[driver::Pixel(AWindow, x, y)];
        const COLORREF fill = std::max_element(counts.begin(), counts.end(), [](auto& A, auto& B) {
                                  return A.second < B.second;
                              })->first;
        COLORREF ink = fill;
        for (const auto& [colour, count] : counts)
            if (ContrastRatio(colour, fill) > ContrastRatio(ink, fill)) ink = colour;
        return {fill, ink};
    }
    std::pair<COLORREF, COLORREF> RowLook(Integer ARow) {
        const TRect row = List()->Items()->Item(ARow)->DisplayRect(drBounds);
        return Look(List()->Handle(), Rect(2, row.Top + 1, 300, row.Bottom - 1));
    }
};

// The vertical bar comes once the rows exceed the list and goes with them;
// the columns fit, so the horizontal one stays away; an added file's row is
// scrolled into view.
TEST_F(MainWindow, TheFileListShowsItsVerticalBarWhileTheRowsExceedIt) {
    TqxSkinScrollBar* vertical = List()->VScrollBar();
    TqxSkinScrollBar* horizontal = List()->HScrollBar();
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    AddRows(3);
    EXPECT_FALSE(vertical->Visible());
    AddRows(22);
    EXPECT_TRUE(vertical->Visible());
    EXPECT_EQ(vertical->Max() + 1, 25);
    EXPECT_LT(vertical->PageSize(), 25);
    EXPECT_FALSE(horizontal->Visible());

    Form1->AddOneFile(Clip("added.avi"));
    driver::Pump();
    TListItem* added = List()->Selected();
    ASSERT_EQ(added, List()->Items()->Item(25));
    const TRect shown = added->DisplayRect(drBounds);
    EXPECT_GE(shown.Top, 0);
    EXPECT_LE(shown.Bottom, List()->ClientHeight());
    EXPECT_GT(vertical->Position(), 0);

    Form1->btnClearClick(nullptr);
    driver::Pump();
    EXPECT_FALSE(vertical->Visible());
}

// Both skins: the selected row's text stands out from its fill while the
// list has no focus (the dark skin drew near-white text on light grey).
TEST_F(MainWindow, AnUnfocusedSelectedRowStaysReadableInBothSkins) {
    AddRows(3);
    for (const Integer skin : {0, 1}) {
        UseSkin(skin);
        List()->SetSelected(List()->Items()->Item(1));
        Form1->qxSkinOfficeComboBox2->SetFocus();
        driver::Pump();
        ASSERT_FALSE(List()->Focused());
        const auto [fill, ink] = RowLook(1);
        EXPECT_GE(ContrastRatio(fill, ink), 4.5)
            << "skin " << skin << std::hex << " fill " << fill << " ink " << ink;
    }
}

// The client area is the layout's in either skin, whatever the frame's
// caption height.
TEST_F(MainWindow, TheClientAreaStaysTheLayoutsThroughSkinChanges) {
    Integer heights[2] = {};
    for (const Integer skin : {1, 0, 1}) {
        UseSkin(skin);
        EXPECT_EQ(Form1->ClientWidth(), 827) << skin;
        EXPECT_EQ(Form1->ClientHeight(), 489) << skin;
        heights[skin] = Form1->Height();
    }
    EXPECT_NE(heights[0], heights[1]) << "the frames differ, the client area does not";
}

// A control's tooltip is the skin's hint window, not the plain one.
TEST_F(MainWindow, TooltipsAreDrawnByTheSkin) {
    UseSkin(1);
    TControl* play = dynamic_cast<TControl*>(Form1->FindComponent(u"qxSkinButton13"));
    ASSERT_NE(play, nullptr);
    const TPoint centre = play->ClientToScreen(Point(15, 15));
    driver::MouseMove(POINT{centre.X, centre.Y});
    driver::Pump();
    driver::AdvanceTime(Application->HintPause() + 10);
    auto* window = dynamic_cast<TqxSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->FSD, Form1->qxSkinData1);
}

// The rename edit opens within its row and ends as the list's own edit does:
// Enter applies the name, Escape keeps the old one; either way the list has
// the focus again.
TEST_F(MainWindow, RenamingEndsWithEnterOrEscape) {
    Form1->AddOneFile(Clip("clip.avi"));
    TListItem* row = List()->Selected();
    ASSERT_NE(row, nullptr);
    const String before = row->SubItems()->Strings(ColOutputFile);
    const String extension = ExtractFileExt(before);
    const struct {
        BYTE Key;
        String Name;
    } cases[] = {{VK_ESCAPE, before}, {VK_RETURN, u"holiday" + extension}};
    for (const auto& c : cases) {
        Form1->qxSkinButton21Click(nullptr);
        driver::Pump();
        ASSERT_EQ(GetFocus(), Form1->edt->Handle());
        // The edit keeps the layout's 14 pixels, within the row it renames.
        const TRect cell = row->DisplayRect(drBounds);
        EXPECT_EQ(Form1->edt->Height(), 14);
        EXPECT_GE(Form1->edt->Top(), cell.Top);
        EXPECT_LE(Form1->edt->Top() + Form1->edt->Height(), cell.Bottom);
        Form1->edt->SelectAll();
        driver::Text(u"holiday");
        driver::Key(c.Key);
        driver::Pump();
        EXPECT_EQ(row->SubItems()->Strings(ColOutputFile), c.Name) << int(c.Key);
        EXPECT_FALSE(Form1->edt->Visible()) << int(c.Key);
        EXPECT_EQ(GetFocus(), List()->Handle()) << int(c.Key);
    }
}

// The rename edit's text reads on its own background in either skin: it
// does not take the dark skin's near-white list text onto its white field.
TEST_F(MainWindow, TheRenameEditReadsInBothSkins) {
    Form1->AddOneFile(Clip("clip.avi"));
    for (const Integer skin : {0, 1}) {
        UseSkin(skin);
        Form1->qxSkinButton21Click(nullptr);
        driver::Pump();
        ASSERT_TRUE(Form1->edt->Visible());
        driver::Text(u"holiday");
        // The caret, black in any skin, goes to the start, out of the area read.
        driver::Key(VK_HOME);
        driver::Pump();
        TEdit* edit = Form1->edt;
        const auto [fill, ink] =
            Look(edit->Handle(), Rect(4, 1, edit->ClientWidth() - 2, edit->ClientHeight() - 1));
        EXPECT_GE(ContrastRatio(fill, ink), 4.5)
            << "skin " << skin << std::hex << " fill " << fill << " ink " << ink;
        driver::Key(VK_ESCAPE);
        driver::Pump();
    }
}

// The about box's title is drawn in its description's font: 20 pixels of
// character, not the skin's 12 (the label takes Font, not DefaultFont, when
// it does not use the skin's font).
TEST_F(MainWindow, TheAboutBoxTitleIsTwentyPixelsHigh) {
    for (const Integer skin : {0, 1}) {
        UseSkin(skin);
        Form2->Show();
        driver::Pump();
        auto* title = dynamic_cast<TControl*>(Form2->FindComponent(u"qxSkinStdLabel3"));
        ASSERT_NE(title, nullptr);
        const TPoint origin = title->ClientToScreen(Point(0, 0));
        POINT client{origin.X, origin.Y};
        ScreenToClient(Form2->Handle(), &client);
        const COLORREF back = driver::Pixel(Form2->Handle(), client.x + title->Width() - 2, client.y + 1);
        Integer top = -1, bottom = -1;
        for (Integer y = 0; y < title->Height(); ++y)
            for (Integer x = 0; x < title->Width(); ++x)
                if (ContrastRatio(driver::Pixel(Form2->Handle(), client.x + x, client.y + y), back) > 2) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        EXPECT_GE(bottom - top + 1, 16) << "skin " << skin;
        Form2->Hide();
    }
}

// 添加 keeps its neighbours' height in every skin, so the tool bar's bottom
// border runs on beneath it, and a press lights all of it, like its
// neighbours, not a strip that the icon stands out of.
TEST_F(MainWindow, TheAddButtonStaysWithinTheToolBarAndAPressLightsItsWholeHeight) {
    TControl* add = Form1->qxSkinMenuSpeedButton1;
    TControl* bar = add->Parent();
    const auto pixel = [&](TControl* AControl, Integer X, Integer Y) {
        const TPoint p = AControl->ClientToScreen(Point(X, Y));
        POINT client{p.X, p.Y};
        ScreenToClient(Form1->Handle(), &client);
        return driver::Pixel(Form1->Handle(), client.x, client.y);
    };
    // Untouched first: a hovered or pressed button frames itself in the
    // border's colour.
    for (const Integer skin : {0, 1}) {
        UseSkin(skin);
        EXPECT_EQ(add->Height(), Form1->qxSkinButton7->Height()) << "skin " << skin;
        const Integer border = bar->Height() - 1;
        EXPECT_EQ(pixel(bar, add->Left() + 8, border), pixel(bar, Form1->qxSkinButton7->Left() + 8, border))
            << "skin " << skin;
    }
    for (const Integer skin : {0, 1}) {
        UseSkin(skin);
        const TPoint centre = add->ClientToScreen(Point(add->Width() / 2, add->Height() / 2));
        driver::MouseMove(POINT{centre.X, centre.Y});
        driver::MouseDown(POINT{centre.X, centre.Y});
        driver::Pump();
        const COLORREF face = pixel(add, 8, add->Height() / 2);
        EXPECT_EQ(pixel(add, 8, 6), face) << "skin " << skin;
        EXPECT_EQ(pixel(add, 8, add->Height() - 7), face) << "skin " << skin;
        driver::Key(VK_ESCAPE);
        driver::MouseUp(POINT{centre.X, centre.Y});
        driver::Pump();
    }
}

// Once the list is cleared the preview shows its own picture again, not the
// last frame: the player gives the host's native window back.
TEST_F(MainWindow, AfterClearingThePreviewShowsItsOwnPicture) {
    TPanel* host = Form1->Panel6;
    const auto shown = [&] {
        std::vector<COLORREF> pixels;
        for (Integer y = 5; y < host->Height(); y += 20)
            for (Integer x = 5; x < host->Width(); x += 20) {
                const TPoint p = host->ClientToScreen(Point(x, y));
                POINT client{p.X, p.Y};
                ScreenToClient(Form1->Handle(), &client);
                pixels.push_back(driver::Pixel(Form1->Handle(), client.x, client.y));
            }
        return pixels;
    };
    const std::vector<COLORREF> idle = shown();
    RECT place{};
    bool visible = false;
    Form1->AddOneFile(Clip("clip.avi"));
    driver::Pump();
    ASSERT_TRUE(driver::NativeChild(host->Handle(), place, visible))
        << "the player draws into a native window";
    Form1->btnClearClick(nullptr);
    driver::Pump();
    EXPECT_FALSE(driver::NativeChild(host->Handle(), place, visible));
    EXPECT_EQ(shown(), idle);
}

}  // namespace
