// Edits: selection in UTF-16 units, typing and undo, the clipboard, the
// formatting rectangle, painting into a given DC with the parent's colours,
// and the mouse.
#include "platform/toolkit/edit.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/buttons.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

class Edits : public ToolkitTest {
protected:
    // A point of the edit on the screen at the left of character AIndex.
    static POINT AtChar(TEdit* AEdit, Integer AIndex) {
        const LRESULT at = AEdit->Perform(EM_POSFROMCHAR, WPARAM(AIndex), 0);
        return At(AEdit, GET_X_LPARAM(at), GET_Y_LPARAM(at) + 6);
    }
};

TEdit* NewEdit(TForm* AForm, const String& AText) {
    auto* edit = new TEdit(AForm);
    edit->SetBounds(10, 10, 150, 21);
    edit->SetParent(AForm);
    edit->SetText(AText);
    return edit;
}

struct TSel {
    Integer Start;
    Integer Length;
    friend bool operator==(const TSel&, const TSel&) = default;
};

TSel SelOf(TCustomEdit* AEdit) {
    return {AEdit->SelStart(), AEdit->SelLength()};
}

// "😀" is one character of two UTF-16 units; the caret never splits it.
const String Sample = u"ab\U0001F600cd 世界";

TEST_F(Edits, SelectionCountsUtf16UnitsAndNeverSplitsACharacter) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, Sample);
    ASSERT_EQ(edit->Text().size(), 9u);
    struct Case {
        WPARAM Start;
        LPARAM End;
        TSel Expected;
    } cases[] = {
        {3, 5, {2, 3}},           // inside the pair: back to its start
        {0, -1, {0, 9}},          // everything
        {7, 100, {7, 2}},         // clamped to the end
        {8, 6, {6, 2}},           // either order
        {WPARAM(-1), 0, {6, 0}},  // no selection, the caret stays
    };
    for (const Case& c : cases) {
        edit->Perform(EM_SETSEL, c.Start, c.End);
        EXPECT_EQ(SelOf(edit), c.Expected) << c.Start << ".." << c.End;
    }
    edit->SetSelStart(7);
    edit->SetSelLength(2);
    EXPECT_EQ(edit->SelText(), u"世界");

    edit->SetFocus();
    Pump();
    driver::Key(VK_HOME);
    for (int i = 0; i < 3; ++i)
        driver::Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{4, 0}));
    KeyWith({VK_SHIFT}, VK_END);
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{4, 5}));
    driver::Key(VK_END);
    KeyWith({VK_CONTROL}, VK_LEFT);
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{7, 0}));
    KeyWith({VK_CONTROL, VK_SHIFT}, VK_LEFT);
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{0, 7}));
}

TEST_F(Edits, TypingReplacesTheSelectionAndUndoTakesBackARunOfIt) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"hello");
    Integer changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetFocus();
    Pump();
    // The keyboard brought the focus: everything is selected.
    EXPECT_EQ(SelOf(edit), (TSel{0, 5}));
    driver::Text(u"abc");
    Pump();
    EXPECT_EQ(edit->Text(), u"abc");
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(edit->Modified());

    edit->Undo();
    EXPECT_EQ(edit->Text(), u"hello");
    EXPECT_EQ(SelOf(edit), (TSel{0, 5}));
    // Undo again takes back the Undo.
    edit->Undo();
    EXPECT_EQ(edit->Text(), u"abc");

    // A caret move ends the run: Undo takes back only what followed it.
    driver::Key(VK_END);
    driver::Text(u"d");
    driver::Key(VK_LEFT);
    driver::Text(u"X");
    Pump();
    EXPECT_EQ(edit->Text(), u"abcXd");
    KeyWith({VK_CONTROL}, 'Z');
    Pump();
    EXPECT_EQ(edit->Text(), u"abcd");
    driver::Key(VK_BACK);
    Pump();
    EXPECT_EQ(edit->Text(), u"abd");

    // Text set by the program starts afresh.
    edit->SetText(u"new");
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(SelOf(edit), (TSel{0, 0}));
}

TEST_F(Edits, LimitsAndReadOnlyRefuseInputWithABeep) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"abc");
    edit->SetMaxLength(5);
    edit->SetFocus();
    Pump();
    driver::Key(VK_END);
    driver::Text(u"defg");
    Pump();
    EXPECT_EQ(edit->Text(), u"abcde");
    EXPECT_EQ(driver::Beeps().size(), 2u);

    edit->SetReadOnly(true);
    driver::Text(u"x");
    driver::Key(VK_BACK);
    driver::Key(VK_DELETE);
    Pump();
    EXPECT_EQ(edit->Text(), u"abcde");
    EXPECT_EQ(driver::Beeps().size(), 4u);

    // Case conversion applies to the text there and to what is typed.
    edit->SetReadOnly(false);
    edit->SetMaxLength(0);
    edit->SetCharCase(ecUpperCase);
    driver::Text(u"f");
    Pump();
    EXPECT_EQ(edit->Text(), u"ABCDEF");
}

TEST_F(Edits, TheClipboardTakesTheSelectionAndGivesItBack) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"one two");
    edit->SetFocus();
    Pump();
    struct Case {
        std::initializer_list<BYTE> Modifiers;
        BYTE Key;
        TSel Selection;
        const char16_t* Text;
        const char16_t* Clipboard;
    } cases[] = {
        {{VK_CONTROL}, 'C', {4, 3}, u"one two", u"two"},
        {{VK_CONTROL}, 'X', {4, 3}, u"one ", u"two"},
        {{VK_CONTROL}, 'V', {0, 0}, u"twoone ", u"two"},
        {{VK_CONTROL}, VK_INSERT, {0, 3}, u"twoone ", u"two"},
        {{VK_SHIFT}, VK_DELETE, {3, 3}, u"two ", u"one"},
        {{VK_SHIFT}, VK_INSERT, {4, 0}, u"two one", u"one"},
    };
    for (const Case& c : cases) {
        edit->SetSelStart(c.Selection.Start);
        edit->SetSelLength(c.Selection.Length);
        KeyWith(c.Modifiers, c.Key);
        Pump();
        EXPECT_EQ(edit->Text(), c.Text);
        EXPECT_EQ(driver::Clipboard().value_or(u"-"), c.Clipboard);
    }

    // One line takes the first line of what is pasted.
    driver::SetClipboard(u"line1\r\nline2");
    edit->SelectAll();
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), u"line1");
    // A paste beyond MaxLength is cut off, with a beep.
    edit->SetMaxLength(7);
    edit->SetSelStart(5);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), u"line1li");
    EXPECT_EQ(driver::Beeps().size(), 1u);
    // A password is never copied; read-only text is copied but not cut.
    edit->SetPasswordChar(u'*');
    edit->SelectAll();
    edit->CopyToClipboard();
    EXPECT_EQ(driver::Clipboard(), u"line1\r\nline2");
    edit->SetPasswordChar(0);
    edit->SetReadOnly(true);
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), u"line1li");
    EXPECT_EQ(driver::Clipboard(), u"line1\r\nline2");
    edit->CopyToClipboard();
    EXPECT_EQ(driver::Clipboard(), u"line1li");
}

TEST_F(Edits, EveryOperationPassesAReplacedWindowProc) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"text");
    std::vector<UINT> seen;
    const TWndMethod old = edit->WindowProc();
    // As a read-only filter of a descendant does: paste and cut go no further.
    edit->SetWindowProc([&](TMessage& AMessage) {
        seen.push_back(AMessage.Msg);
        if (AMessage.Msg == WM_PASTE || AMessage.Msg == WM_CUT) return;
        old(AMessage);
    });
    driver::SetClipboard(u"X");
    edit->SelectAll();
    edit->PasteFromClipboard();
    edit->CutToClipboard();
    edit->SetFocus();
    Pump();
    KeyWith({VK_CONTROL}, 'V');
    Pump();
    EXPECT_EQ(edit->Text(), u"text");
    edit->SetSelText(u"new");
    edit->Undo();
    EXPECT_EQ(edit->Text(), u"text");
    for (UINT message : {UINT(EM_SETSEL), UINT(WM_PASTE), UINT(WM_CUT), UINT(EM_REPLACESEL), UINT(WM_UNDO)})
        EXPECT_NE(std::find(seen.begin(), seen.end(), message), seen.end()) << message;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_PASTE), 2);
    edit->SetWindowProc(old);
}

TEST_F(Edits, TextLiesInTheFormattingRectangleInsideTheMargins) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"abc");
    edit->SetBorderStyle(bsNone);
    edit->SetAutoSize(false);
    edit->SetBounds(10, 10, 100, 20);
    const auto rect = [edit] {
        RECT r{};
        edit->Perform(EM_GETRECT, 0, LPARAM(&r));
        return ToTRect(r);
    };
    const auto charX = [edit](Integer AIndex) {
        return Integer(GET_X_LPARAM(edit->Perform(EM_POSFROMCHAR, WPARAM(AIndex), 0)));
    };
    EXPECT_EQ(rect(), Rect(1, 0, 99, 20));
    edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 7));
    EXPECT_EQ(edit->Perform(EM_GETMARGINS, 0, 0), MAKELPARAM(5, 7));
    EXPECT_EQ(rect(), Rect(5, 0, 93, 20));
    EXPECT_EQ(charX(0), 5);

    const RECT inner{20, 2, 80, 18};
    edit->Perform(EM_SETRECTNP, 0, LPARAM(&inner));
    EXPECT_EQ(rect(), ToTRect(inner));
    EXPECT_EQ(charX(0), 20);
    edit->SetAlignment(taRightJustify);
    EXPECT_EQ(charX(3), 79);
    // A new size gives the margins' rectangle back.
    edit->SetWidth(120);
    EXPECT_EQ(rect(), Rect(5, 0, 113, 20));
}

// Answers the colour question as a transparent descendant does.
class TClearEdit : public TEdit {
public:
    using TEdit::TEdit;
    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == CN_CTLCOLOREDIT) {
            const HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 255));
            AMessage.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        TEdit::Dispatch(AMessage);
    }
};

TEST_F(Edits, PaintsIntoAGivenDCWithTheColoursTheParentAnswers) {
    TForm* form = NewForm();
    struct Case {
        TEdit* Edit;
        COLORREF Background;
        COLORREF TextColor;
    } cases[] = {
        {new TClearEdit(form), RGB(255, 0, 0), RGB(0, 0, 255)},
        {new TEdit(form), RGB(255, 255, 255), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        c.Edit->SetParent(form);
        c.Edit->SetBorderStyle(bsNone);
        c.Edit->SetText(u"WWWW");
        TBitmap bitmap;
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(c.Edit->ClientWidth(), c.Edit->ClientHeight());
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
        SendMessageW(c.Edit->Handle(), WM_PAINT, WPARAM(bitmap.Canvas()->Handle()), 0);
        EXPECT_EQ(COLORREF(bitmap.Canvas()->Pixels(bitmap.Width() - 2, 1)), c.Background);
        bool text = false;
        for (Integer y = 0; y < bitmap.Height() && !text; ++y)
            for (Integer x = 0; x < 40 && !text; ++x) {
                const COLORREF pixel = COLORREF(bitmap.Canvas()->Pixels(x, y));
                text = Differs(pixel, c.Background) && !Differs(pixel, c.TextColor);
            }
        EXPECT_TRUE(text);
    }
}

TEST_F(Edits, TheMousePlacesTheCaretAndSelects) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"alpha beta gamma");
    Pump();
    driver::Click(AtChar(edit, 3));
    Pump();
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(SelOf(edit), (TSel{3, 0}));
    driver::MouseDown(AtChar(edit, 6));
    driver::MouseMove(AtChar(edit, 8));
    driver::MouseMove(AtChar(edit, 10));
    driver::MouseUp(AtChar(edit, 10));
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{6, 4}));
    KeyWith({VK_SHIFT}, VK_RIGHT);
    Pump();
    EXPECT_EQ(SelOf(edit), (TSel{6, 5}));
    // A double click takes the word.
    driver::Click(AtChar(edit, 13));
    driver::Click(AtChar(edit, 13));
    Pump();
    EXPECT_EQ(edit->SelText(), u"gamma");
}

TEST_F(Edits, EnterAndEscapeStillReachTheFormsButtons) {
    TForm* form = NewForm();
    TEdit* edit = NewEdit(form, u"x");
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetTop(50);
    ok->SetDefault(true);
    Integer clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    edit->SetFocus();
    Pump();
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->Text(), u"x");
}

TEST_F(Edits, ADescriptionSetsTheEditsProperties) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object Edit1: TMaskEdit
    Text = '秘密'
    PasswordChar = '*'
    MaxLength = 8
    CharCase = ecUpperCase
    Alignment = taCenter
    ReadOnly = True
    AutoSelect = False
    HideSelection = False
    BorderStyle = bsNone
    EditMask = '999;0; '
  end
end
)");
    auto* edit = dynamic_cast<TMaskEdit*>(form->FindComponent(u"Edit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), u"秘密");
    EXPECT_EQ(edit->PasswordChar(), u'*');
    EXPECT_EQ(edit->MaxLength(), 8);
    EXPECT_EQ(edit->CharCase(), ecUpperCase);
    EXPECT_EQ(edit->Alignment(), taCenter);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_FALSE(edit->AutoSelect());
    EXPECT_FALSE(edit->HideSelection());
    EXPECT_EQ(edit->BorderStyle(), bsNone);
    EXPECT_EQ(edit->EditMask(), u"999;0; ");
}

}  // namespace
