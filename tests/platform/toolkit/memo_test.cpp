// Memos: lines as a list, appending that shows the end, wrapping, and the
// keys a multi-line edit keeps.
#include "platform/toolkit/memo.h"

#include "platform/toolkit/buttons.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Memos = ToolkitTest;

TMemo* NewMemo(TForm* AForm) {
    auto* memo = new TMemo(AForm);
    memo->SetBounds(10, 10, 200, 80);
    memo->SetParent(AForm);
    return memo;
}

TEST_F(Memos, LinesAreTheTextBetweenLineBreaks) {
    TForm* form = NewForm();
    TMemo* memo = NewMemo(form);
    TStrings* lines = memo->Lines();
    lines->Add(u"one");
    lines->Add(u"二");
    lines->Add(u"three");
    EXPECT_EQ(memo->Text(), u"one\r\n二\r\nthree");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Text(), u"one\r\n二\r\nthree\r\n");
    lines->Insert(1, u"1.5");
    lines->Delete(0);
    lines->SetStrings(2, u"3");
    EXPECT_EQ(memo->Text(), u"1.5\r\n二\r\n3");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), u"1.5\r\n二");
    // A break at the very end starts no line.
    memo->SetText(u"a\r\nb\r\n");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add(u"c");
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\nc");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

// A log adds empty lines between its entries: none of them is lost.
TEST_F(Memos, AddedEmptyLinesStayLines) {
    TMemo* memo = NewMemo(NewForm());
    TStrings* lines = memo->Lines();
    for (const char16_t* line : {u"", u"one", u"", u"", u"two", u""})
        lines->Add(line);
    ASSERT_EQ(lines->Count(), 6);
    EXPECT_EQ(lines->Strings(1), u"one");
    EXPECT_EQ(lines->Strings(3), u"");
    EXPECT_EQ(lines->Strings(4), u"two");
    EXPECT_EQ(memo->Text(), u"\r\none\r\n\r\n\r\ntwo\r\n\r\n");
    // An entry of several lines counts as its lines.
    lines->Add(u"a\r\nb");
    EXPECT_EQ(lines->Count(), 8);
    EXPECT_EQ(lines->Strings(7), u"b");
}

TEST_F(Memos, AddingALineShowsTheEndEvenWhenReadOnly) {
    TForm* form = NewForm();
    TMemo* memo = NewMemo(form);
    memo->SetReadOnly(true);
    for (int i = 0; i < 30; ++i)
        memo->Lines()->Add(u"line " + IntToStr(i));
    const Integer count = Integer(memo->Perform(EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(count, 30);
    const Integer first = Integer(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 0);
    // The last line is in view: its top lies inside the memo.
    const LRESULT last = memo->Perform(EM_POSFROMCHAR, WPARAM(memo->Perform(EM_LINEINDEX, 29, 0)), 0);
    EXPECT_GE(GET_Y_LPARAM(last), 0);
    EXPECT_LT(GET_Y_LPARAM(last), memo->ClientHeight());
    EXPECT_EQ(memo->SelStart(), Integer(memo->Text().size()));
    EXPECT_FALSE(memo->CanUndo());
}

TEST_F(Memos, LongLinesWrapAtBlanksUnlessWordWrapIsOff) {
    TForm* form = NewForm();
    TMemo* memo = NewMemo(form);
    memo->SetText(u"the quick brown fox jumps over the lazy dog again and again");
    const Integer wrapped = Integer(memo->Perform(EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(wrapped, 1);
    EXPECT_EQ(memo->Lines()->Count(), 1);
    // Every visual line after the first starts a word.
    for (Integer line = 1; line < wrapped; ++line) {
        const Integer start = Integer(memo->Perform(EM_LINEINDEX, WPARAM(line), 0));
        EXPECT_EQ(memo->Text()[size_t(start - 1)], u' ') << line;
    }
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Perform(EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(Memos, EnterTypesALineBreakUnlessWantReturnsIsOff) {
    TForm* form = NewForm();
    TMemo* memo = NewMemo(form);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetTop(120);
    ok->SetDefault(true);
    Integer clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    memo->SetFocus();
    Pump();
    driver::Text(u"a");
    driver::Key(VK_RETURN);
    driver::Text(u"b");
    Pump();
    EXPECT_EQ(memo->Text(), u"a\r\nb");
    EXPECT_EQ(clicks, 0);
    // Up goes to the line above, at the same place.
    driver::Key(VK_UP);
    Pump();
    EXPECT_EQ(memo->SelStart(), 1);

    memo->SetWantReturns(false);
    driver::Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(memo->Text(), u"a\r\nb");
}

TEST_F(Memos, ADescriptionSetsTheLinesAndTheOptions) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object mmoLog: TMemo
    Lines = ( '日志' 'second' )
    ScrollBars = ssBoth
    WordWrap = False
    WantReturns = False
    WantTabs = True
  end
end
)");
    auto* memo = dynamic_cast<TMemo*>(form->FindComponent(u"mmoLog"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Text(), u"日志\r\nsecond");
    EXPECT_EQ(memo->ScrollBars(), ssBoth);
    EXPECT_FALSE(memo->WordWrap());
    EXPECT_FALSE(memo->WantReturns());
    EXPECT_TRUE(memo->WantTabs());
}

}  // namespace
