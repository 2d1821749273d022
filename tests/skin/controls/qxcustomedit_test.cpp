// The inner edit: its own read-only flag, Escape and Enter handed to the
// form, the edit menu, painting over the parent, and the numeric edit's key
// filter and up and down notifications.
#include "skin/controls/qxcustomedit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/panels.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/system.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;
using namespace win;

class QxCustomEdit : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        FEdit = Add<TqxCustomEdit>(20, 20, 120, 20);
        FEdit->SetText(u"hello");
        FEdit->SetFocus();
        Pump();
    }
    void TearDown() override {
        SetPopupMenuMaker(nullptr);
        SetFormSkinDataFinder(nullptr);
        ControlTest::TearDown();
    }
    void Select(Integer AStart, Integer ALength) {
        FEdit->SetSelStart(AStart);
        FEdit->SetSelLength(ALength);
    }
    static void Chord(BYTE AModifier, BYTE AKey) {
        driver::KeyDown(AModifier);
        driver::Key(AKey);
        driver::KeyUp(AModifier);
        Pump();
    }
    // The recording menu every edit menu is made as from now on.
    void RecordMenus() {
        SetPopupMenuMaker([](TComponent* AOwner) { return new TRecordingMenu(AOwner); });
    }
    TRecordingMenu* Recorded() { return dynamic_cast<TRecordingMenu*>(FEdit->EditPopupMenu()); }
    TMenuItem* Item(Integer AIndex) { return FEdit->EditPopupMenu()->Items()->Items(AIndex); }

    TqxCustomEdit* FEdit = nullptr;
};

TEST_F(QxCustomEdit, ReadOnlyCopiesButNeverChanges) {
    FEdit->SetReadOnly(true);
    const struct {
        const char* What;
        std::function<void()> Do;
        bool Copies;
    } cases[] = {
        {"Ctrl+C", [] { Chord(VK_CONTROL, 'C'); }, true},
        {"Ctrl+Insert", [] { Chord(VK_CONTROL, VK_INSERT); }, true},
        {"menu Copy",
         [this] {
             FEdit->BuildEditPopupMenu();
             Item(3)->Click();
         },
         true},
        {"Ctrl+X", [] { Chord(VK_CONTROL, 'X'); }, false},
        {"Ctrl+V", [] { Chord(VK_CONTROL, 'V'); }, false},
        {"Shift+Insert", [] { Chord(VK_SHIFT, VK_INSERT); }, false},
        {"Shift+Delete", [] { Chord(VK_SHIFT, VK_DELETE); }, false},
        {"Delete", [] { driver::Key(VK_DELETE); }, false},
        {"Backspace", [] { driver::Key(VK_BACK); }, false},
        {"typing", [] { driver::Text(u"x"); }, false},
        {"WM_CLEAR", [this] { FEdit->Perform(WM_CLEAR, 0, 0); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        driver::SetClipboard(u"before");
        FEdit->SetText(u"hello");
        Select(1, 3);
        c.Do();
        Pump();
        EXPECT_EQ(u"hello", FEdit->Text());
        EXPECT_EQ(c.Copies ? u"ell" : u"before", driver::Clipboard().value_or(u""));
    }
    // Undo takes nothing back either.
    FEdit->SetReadOnly(false);
    Select(5, 0);
    driver::Text(u"x");
    Pump();
    FEdit->SetReadOnly(true);
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(u"hellox", FEdit->Text());
    // Writable again, the same keys edit.
    FEdit->SetReadOnly(false);
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(u"hello", FEdit->Text());
    Select(1, 3);
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(u"ho", FEdit->Text());
}

TEST_F(QxCustomEdit, EnterGoesToTheDefaultButtonAfterOnKeyPress) {
    std::vector<std::string> log;
    auto* button = Add<TButton>(200, 20, 75, 25);
    button->SetDefault(true);
    button->OnClick = [&](TObject*) { log.push_back("default button"); };
    auto* cancel = Add<TButton>(200, 60, 75, 25);
    cancel->SetCancel(true);
    cancel->OnClick = [&](TObject*) { log.push_back("cancel button"); };
    FEdit->OnKeyPress = [&](TObject*, char16_t& AKey) {
        log.push_back("key " + std::to_string(Integer(AKey)));
        AKey = u'x';
    };
    FEdit->SetFocus();
    Pump();
    driver::Key(VK_RETURN);
    Pump();
    driver::Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ((std::vector<std::string>{"key 13", "default button", "key 27", "cancel button"}), log);
    EXPECT_EQ(u"hello", FEdit->Text());
}

TEST_F(QxCustomEdit, TheWindowHasNoBorderAndKeepsEnterForItself) {
    const driver::TWindowInfo info = driver::Inspect(FEdit->Handle());
    EXPECT_EQ(0u, info.Style & WS_BORDER);
    EXPECT_EQ(0u, info.ExStyle & WS_EX_CLIENTEDGE);
    EXPECT_NE(0u, info.Style & ES_MULTILINE);
    EXPECT_EQ(LRESULT(MAKELONG(2, 0)), FEdit->Perform(EM_GETMARGINS, 0, 0));
    FEdit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, LPARAM(MAKELONG(7, 7)));
    FEdit->Font()->SetHeight(16);
    EXPECT_EQ(LRESULT(MAKELONG(2, 0)), FEdit->Perform(EM_GETMARGINS, 0, 0));
    // A password edit stays one line.
    FEdit->SetPasswordChar(u'*');
    FEdit->RecreateWnd();
    const DWORD style = driver::Inspect(FEdit->Handle()).Style;
    EXPECT_NE(0u, style & ES_PASSWORD);
    EXPECT_EQ(0u, style & ES_MULTILINE);
}

TEST_F(QxCustomEdit, UntilASkinnedMenuIsMadeThePlainPopupShowsTheEditMenu) {
    const size_t windows = driver::Stacking().size();
    driver::Click(ScreenPoint(FEdit->Handle(), 30, 5), 0x02);
    Pump();
    ASSERT_NE(nullptr, FEdit->EditPopupMenu());
    EXPECT_EQ(nullptr, SkinPopupMenuOf(FEdit->EditPopupMenu()));
    ASSERT_EQ(windows + 1, driver::Stacking().size());
    const driver::TWindowInfo popup = driver::Inspect(driver::Stacking().front());
    EXPECT_TRUE(popup.Visible);
    EXPECT_EQ(ScreenPoint(FEdit->Handle(), 30, 5).x, popup.Bounds.left);
    // Its Copy copies.
    FEdit->SelectAll();
    FEdit->EditPopupMenu()->Items()->Items(3)->Click();
    EXPECT_EQ(u"hello", driver::Clipboard().value_or(u""));
}

TEST_F(QxCustomEdit, TheEditMenuOpensWhereAsked) {
    RecordMenus();
    const POINT click = ScreenPoint(FEdit->Handle(), 30, 5);
    driver::Click(click, 0x02);
    Pump();
    ASSERT_TRUE(Recorded());
    EXPECT_EQ(FEdit, Recorded()->Opener);
    EXPECT_EQ(TPoint(click.x, click.y), Recorded()->At);
    // From the keyboard: at the edit's centre.
    driver::KeyDown(VK_SHIFT);
    driver::Key(VK_F10);
    driver::KeyUp(VK_SHIFT);
    Pump();
    const POINT centre = ScreenPoint(FEdit->Handle(), 60, 10);
    ASSERT_TRUE(Recorded());
    EXPECT_EQ(TPoint(centre.x, centre.y), Recorded()->At);
    // A command done frees the menu.
    FEdit->Perform(SKINMSG_MENUCOMMAND, 0, 0);
    EXPECT_EQ(nullptr, FEdit->EditPopupMenu());
}

TEST_F(QxCustomEdit, AMenuOfItsOwnWins) {
    RecordMenus();
    auto* own = new TPopupMenu(FForm);
    Integer popups = 0;
    own->OnPopup = [&](TObject*) { ++popups; };
    FEdit->SetPopupMenu(own);
    driver::Click(ScreenPoint(FEdit->Handle(), 30, 5), 0x02);
    Pump();
    EXPECT_EQ(1, popups);
    EXPECT_EQ(nullptr, FEdit->EditPopupMenu());
}

TEST_F(QxCustomEdit, TheMenuItemsAndWhenTheyAct) {
    FEdit->BuildEditPopupMenu();
    const char16_t* captions[] = {u"Undo", u"-", u"Cut", u"Copy", u"Paste", u"Delete", u"-", u"Select All"};
    ASSERT_EQ(8, FEdit->EditPopupMenu()->Items()->Count());
    for (Integer i = 0; i < 8; ++i)
        EXPECT_EQ(captions[i], Item(i)->Caption());
    enum { Undo, Cut = 2, Copy, Paste, Delete, SelectAll = 7 };
    const struct {
        const char* What;
        Integer Start, Length;
        bool ReadOnly, ClipboardText, Changed;
        bool Undo, Cut, Copy, Paste, Delete, SelectAll;
    } cases[] = {
        {"caret only", 2, 0, false, false, false, false, false, false, false, false, true},
        {"a selection", 1, 2, false, false, false, false, true, true, false, true, true},
        {"all selected", 0, 5, false, false, false, false, true, true, false, true, false},
        {"text to paste", 5, 0, false, true, false, false, false, false, true, false, true},
        {"read-only", 0, 3, true, true, false, false, false, true, false, false, true},
        {"after typing", 5, 0, false, false, true, true, false, false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        FEdit->SetReadOnly(false);
        FEdit->SetText(u"hello");
        FEdit->ClearUndo();
        Select(c.Start, c.Length);
        if (c.Changed) driver::Text(u"!");
        Pump();
        FEdit->SetReadOnly(c.ReadOnly);
        driver::SetClipboard(c.ClipboardText ? u"pasted" : u"");
        if (!c.ClipboardText) {
            OpenClipboard(nullptr);
            EmptyClipboard();
            CloseClipboard();
        }
        FEdit->BuildEditPopupMenu();
        EXPECT_EQ(c.Undo, Item(Undo)->Enabled());
        EXPECT_EQ(c.Cut, Item(Cut)->Enabled());
        EXPECT_EQ(c.Copy, Item(Copy)->Enabled());
        EXPECT_EQ(c.Paste, Item(Paste)->Enabled());
        EXPECT_EQ(c.Delete, Item(Delete)->Enabled());
        EXPECT_EQ(c.SelectAll, Item(SelectAll)->Enabled());
    }
    // The items act on the edit.
    FEdit->SetReadOnly(false);
    FEdit->SetText(u"hello");
    Select(1, 3);
    FEdit->BuildEditPopupMenu();
    Item(Delete)->Click();
    EXPECT_EQ(u"ho", FEdit->Text());
    driver::SetClipboard(u"ELL");
    FEdit->BuildEditPopupMenu();
    Item(Paste)->Click();
    EXPECT_EQ(u"hELLo", FEdit->Text());
    FEdit->BuildEditPopupMenu();
    Item(SelectAll)->Click();
    EXPECT_EQ(5, FEdit->SelLength());
}

TEST_F(QxCustomEdit, CaptionsComeFromTheFormsStringTable) {
    auto* strings = new TqxResourceStrData(FForm);
    strings->ResStrings()->Clear();
    strings->ResStrings()->Add(u"EDIT_UNDO=撤销");
    strings->ResStrings()->Add(u"EDIT_COPY=复制");
    FSkin->SetResourceStrData(strings);
    SetFormSkinDataFinder([this](TCustomForm* AForm) { return AForm == FForm ? FSkin : nullptr; });
    FEdit->BuildEditPopupMenu();
    EXPECT_EQ(u"撤销", Item(0)->Caption());
    EXPECT_EQ(u"复制", Item(3)->Caption());
    // Without the form's skin data: the library's own texts.
    SetFormSkinDataFinder(nullptr);
    FEdit->BuildEditPopupMenu();
    EXPECT_EQ(u"Undo", Item(0)->Caption());
}

TEST_F(QxCustomEdit, ATransparentEditShowsItsParentBehindTheText) {
    auto* panel = Add<TPanel>(20, 60, 200, 60);
    panel->SetColor(TColor(0x2060A0));
    auto* edit = new TqxCustomEdit(FForm);
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 150, 20);
    edit->SetText(u"abc");
    Pump();
    EXPECT_EQ(ColorToRGB(clWindow), PixelOf(edit->Handle(), 140, 10));
    edit->SetEditTransparent(true);
    Pump();
    EXPECT_EQ(ColorToRGB(panel->Color()), PixelOf(edit->Handle(), 140, 10));
    // Typing repaints it the same way.
    edit->SetFocus();
    edit->SetSelStart(3);
    driver::Text(u"d");
    Pump();
    EXPECT_EQ(u"abcd", edit->Text());
    EXPECT_EQ(ColorToRGB(panel->Color()), PixelOf(edit->Handle(), 140, 10));
    // Into any DC.
    TBitmap bitmap;
    bitmap.SetSize(150, 20);
    bitmap.Canvas()->Brush()->SetColor(clBlack);
    bitmap.Canvas()->FillRect(Rect(0, 0, 150, 20));
    edit->PaintEditToDC(bitmap.Canvas()->Handle());
    EXPECT_EQ(panel->Color(), bitmap.Canvas()->Pixels(140, 10));
}

TEST_F(QxCustomEdit, CancelModeNamesTheControlThatCancels) {
    TControl* canceller = nullptr;
    Integer calls = 0;
    FEdit->OnEditCancelMode = [&](TControl* C) {
        canceller = C;
        ++calls;
    };
    auto* other = Add<TButton>(200, 20, 75, 25);
    driver::Click(ScreenPoint(other->Handle(), 10, 10));
    Pump();
    EXPECT_EQ(1, calls);
    EXPECT_EQ(other, canceller);
}

class QxSkinNumEdit : public ControlTest {
protected:
    TqxSkinNumEdit* NumEdit() {
        auto* edit = Add<TqxSkinNumEdit>(20, 20, 120, 20);
        edit->SetFocus();
        Pump();
        return edit;
    }
};

TEST_F(QxSkinNumEdit, TheKeyFilter) {
    TqxSkinNumEdit* edit = NumEdit();
    const struct {
        const char16_t* Text;
        Integer Start, Length;
        bool Float, EditorEnabled;
        char16_t Key;
        bool Accepted;
    } cases[] = {
        {u"12", 0, 0, false, true, u'-', true},
        {u"12", 1, 0, false, true, u'-', false},
        {u"-12", 0, 0, false, true, u'-', false},
        // Over a whole selection even where nothing else gets through.
        {u"12", 0, 2, false, false, u'-', true},
        {u"12", 2, 0, false, false, u'3', false},
        {u"12", 2, 0, false, false, u'\b', false},
        {u"12", 2, 0, false, true, u'\b', true},
        {u"12", 2, 0, false, true, u'3', true},
        {u"12", 2, 0, false, true, u'a', false},
        {u"12", 2, 0, false, true, u'.', false},
        {u"12", 2, 0, true, true, u'.', true},
        {u"1.5", 3, 0, true, true, u'.', false},
        {u"12", 2, 0, true, true, u'\u00B7', false},
        {u"12", 2, 0, true, true, u'\u4E00', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << StringToUTF8(c.Text) << " at " << c.Start << "+" << c.Length
                                        << " key " << Integer(c.Key));
        edit->SetText(c.Text);
        edit->SetSelStart(c.Start);
        edit->SetSelLength(c.Length);
        edit->Float = c.Float;
        edit->SetEditorEnabled(c.EditorEnabled);
        const size_t beeps = driver::Beeps().size();
        edit->Perform(WM_CHAR, c.Key, 0);
        EXPECT_EQ(c.Accepted, edit->Text() != c.Text);
        EXPECT_EQ(c.Accepted ? beeps : beeps + 1, driver::Beeps().size());
    }
}

TEST_F(QxSkinNumEdit, ArrowsAndTheWheelStepUpAndDown) {
    TqxSkinNumEdit* edit = NumEdit();
    std::vector<std::string> log;
    edit->OnUpClick = [&](TObject*) { log.push_back("up"); };
    edit->OnDownClick = [&](TObject*) { log.push_back("down"); };
    edit->OnKeyDown = [&](TObject*, Word&, TShiftState) { log.push_back("key"); };
    driver::Key(VK_UP);
    driver::Key(VK_DOWN);
    Pump();
    const POINT at = ScreenPoint(edit->Handle(), 10, 10);
    driver::Wheel(at, WHEEL_DELTA);
    driver::Wheel(at, -WHEEL_DELTA);
    Pump();
    driver::Key(VK_LEFT);
    Pump();
    // The wheel rolled away from the user steps down.
    EXPECT_EQ((std::vector<std::string>{"up", "down", "down", "up", "key"}), log);
}

}  // namespace
