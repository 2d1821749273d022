#include "platform/base/stringlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/streams.h"
#include "temp_folder.h"
#include "test_support.h"

namespace {

using TLines = std::vector<std::string>;

void Fill(TStrings& AList, const TLines& ALines) {
    for (const auto& line : ALines)
        AList.Add(UTF8ToString(line));
}

// Counts its own destruction.
class TCounted : public TObject {
public:
    explicit TCounted(int* ACount) : FCount(ACount) {}
    ~TCounted() override { ++*FCount; }

private:
    int* FCount;
};

// The least a TStrings must provide; everything else comes from the base.
class TPlainStrings : public TStrings {
public:
    Integer Count() const override { return static_cast<Integer>(FLines.size()); }
    String Get(Integer AIndex) const override {
        CheckIndex(AIndex);
        return FLines[static_cast<size_t>(AIndex)];
    }
    void Insert(Integer AIndex, const String& S) override { FLines.insert(FLines.begin() + AIndex, S); }
    void Delete(Integer AIndex) override {
        CheckIndex(AIndex);
        FLines.erase(FLines.begin() + AIndex);
    }
    void Clear() override { FLines.clear(); }

private:
    std::vector<String> FLines;
};

class StringListFileTest : public TempFolderTest {};

}  // namespace

TEST(StringList, AddInsertDeleteAndIndexErrors) {
    TStringList list;
    EXPECT_EQ(list.Add(u"b"), 0);
    list.Insert(0, u"a");
    list.Insert(2, u"c");
    list.SetStrings(1, u"B");
    EXPECT_EQ(Lines(list), (TLines{"a", "B", "c"}));
    list.Delete(0);
    EXPECT_EQ(Lines(list), (TLines{"B", "c"}));
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Get(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Insert(3, u"x"); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Put(5, u"x"); }), "List index out of bounds (5)");
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Objects(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Exchange(0, 2); }), "List index out of bounds (2)");
    // Both ends are checked before anything moves.
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Move(0, 2); }), "List index out of bounds (2)");
    EXPECT_EQ(Lines(list), (TLines{"B", "c"}));
}

TEST(StringList, IndexOfIgnoresCaseUnlessCaseSensitive) {
    TStringList list;
    Fill(list, {"Alpha", "Ärger", "Жук", "ＡＢ"});
    EXPECT_EQ(list.IndexOf(u"ALPHA"), 0);
    EXPECT_EQ(list.IndexOf(u"ärger"), 1);
    EXPECT_EQ(list.IndexOf(u"жук"), 2);
    EXPECT_EQ(list.IndexOf(u"ａｂ"), 3);
    EXPECT_EQ(list.IndexOf(u"Alph"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"ALPHA"), -1);
    EXPECT_EQ(list.IndexOf(u"Alpha"), 0);
}

TEST(StringList, ObjectsTravelWithTheirLines) {
    TObject a, b;
    TStringList list;
    list.AddObject(u"a", &a);
    list.AddObject(u"b", &b);
    list.Add(u"c");
    EXPECT_EQ(list.Objects(1), &b);
    EXPECT_EQ(list.IndexOfObject(&b), 1);
    EXPECT_EQ(list.IndexOfObject(nullptr), 2);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &b);
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (TLines{"a", "c", "b"}));
    EXPECT_EQ(list.Objects(2), &b);
    list.SetObjects(1, &a);
    EXPECT_EQ(list.IndexOfObject(&a), 0);
}

TEST(StringList, OwnedObjectsAreFreedWithTheirLinesOnly) {
    int freed = 0;
    {
        TStringList list(true);
        list.AddObject(u"a", new TCounted(&freed));
        list.AddObject(u"b", new TCounted(&freed));
        list.AddObject(u"c", new TCounted(&freed));
        list.AddObject(u"d", new TCounted(&freed));
        list.Move(0, 3);
        list.Exchange(0, 1);
        EXPECT_EQ(freed, 0);
        list.Delete(0);
        EXPECT_EQ(freed, 1);
        list.Clear();
        EXPECT_EQ(freed, 4);
        list.AddObject(u"e", new TCounted(&freed));
    }
    EXPECT_EQ(freed, 5);
    TStringList notOwning;
    TCounted kept(&freed);
    notOwning.AddObject(u"x", &kept);
    notOwning.Clear();
    EXPECT_EQ(freed, 5);
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    Fill(list, {"Width=10", "title=a=b", "plain", "=empty name"});
    EXPECT_EQ(list.Names(0), u"Width");
    EXPECT_EQ(list.Names(2), u"");
    EXPECT_EQ(list.ValueFromIndex(1), u"a=b");
    EXPECT_EQ(list.ValueFromIndex(2), u"");
    EXPECT_EQ(list.Values(u"WIDTH"), u"10");
    EXPECT_EQ(list.Values(u"plain"), u"");
    EXPECT_EQ(list.IndexOfName(u"Title"), 1);
    EXPECT_EQ(list.IndexOfName(u"plain"), -1);
    EXPECT_EQ(list.IndexOfName(u""), 3);

    list.SetValues(u"width", u"20");
    list.SetValues(u"Height", u"5");
    EXPECT_EQ(Lines(list), (TLines{"width=20", "title=a=b", "plain", "=empty name", "Height=5"}));
    list.SetValues(u"TITLE", u"");
    list.SetValues(u"absent", u"");
    EXPECT_EQ(Lines(list), (TLines{"width=20", "plain", "=empty name", "Height=5"}));

    TStringList colon;
    colon.SetNameValueSeparator(u':');
    Fill(colon, {"key:value=1"});
    EXPECT_EQ(colon.Values(u"key"), u"value=1");
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAtAnyLineBreak) {
    struct Case {
        std::u16string_view text;
        TLines lines;
    } cases[] = {
        {u"", {}},
        {u"a", {"a"}},
        {u"a\r\nb", {"a", "b"}},
        {u"a\r\nb\r\n", {"a", "b"}},
        {u"a\nb\rc", {"a", "b", "c"}},
        {u"a\r\r\nb", {"a", "", "b"}},
        {u"a\n\n", {"a", ""}},
        {u"\r\n", {""}},
        {u"中文\n", {"中文"}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << StringToUTF8(c.text);
    }
    TStringList list;
    Fill(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), u"a\r\n\r\nb\r\n");
    EXPECT_EQ(TStringList().Text(), u"");
}

TEST(StringList, CommaTextQuotesWhatWouldNotReadBack) {
    struct Case {
        TLines lines;
        std::u16string_view text;
    } cases[] = {
        {{}, u""},
        {{"a", "b"}, u"a,b"},
        {{"a b", "c,d", "say \"hi\""}, u"\"a b\",\"c,d\",\"say \"\"hi\"\"\""},
        {{"a", "", "b"}, u"a,,b"},
        {{""}, u"\"\""},
        {{"中文"}, u"中文"},
    };
    for (const auto& c : cases) {
        TStringList list;
        Fill(list, c.lines);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.lines) << StringToUTF8(c.text);
    }
}

TEST(StringList, CommaTextReadsTheToolkitsForms) {
    struct Case {
        std::u16string_view text;
        TLines lines;
    } cases[] = {
        {u"a b,c", {"a", "b", "c"}},
        {u"  a ,  b  ", {"a", "b"}},
        {u"a,", {"a", ""}},
        {u",", {"", ""}},
        {u"\"x\"y,z", {"x", "y", "z"}},
        {u"\"unclosed", {"unclosed"}},
        {u"\"a\"\"\"", {"a\""}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << StringToUTF8(c.text);
    }
}

TEST(StringList, DelimitedTextUsesItsOwnDelimiterAndQuote) {
    TStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    Fill(list, {"a,b", "c;d", "it's"});
    EXPECT_EQ(list.DelimitedText(), u"a,b;'c;d';'it''s'");
    EXPECT_EQ(list.CommaText(), u"\"a,b\",c;d,it's");
    TStringList back;
    back.SetDelimiter(u';');
    back.SetQuoteChar(u'\'');
    back.SetDelimitedText(list.DelimitedText());
    EXPECT_TRUE(back.Equals(&list));
}

TEST(StringList, SortedListsInsertInOrderUnderTheDuplicatesRule) {
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add(u"delta"), 0);
    EXPECT_EQ(list.Add(u"alpha"), 0);
    EXPECT_EQ(list.Add(u"Charlie"), 1);
    EXPECT_EQ(list.Add(u"bravo"), 1);
    EXPECT_EQ(Lines(list), (TLines{"alpha", "bravo", "Charlie", "delta"}));
    // dupIgnore: the line already there answers, case aside.
    EXPECT_EQ(list.Add(u"CHARLIE"), 2);
    EXPECT_EQ(list.Count(), 4);
    Integer index;
    EXPECT_TRUE(list.Find(u"DELTA", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.Find(u"c", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf(u"Bravo"), 1);

    list.SetDuplicates(dupError);
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Add(u"alpha"); }),
              "String list does not allow duplicates");
    list.SetDuplicates(dupAccept);
    TObject first, second;
    list.AddObject(u"echo", &first);
    list.AddObject(u"ECHO", &second);
    EXPECT_EQ(list.Objects(4), &first);
    EXPECT_EQ(list.Objects(5), &second);

    const std::string sortedError = "Operation not allowed on sorted list";
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Insert(0, u"zulu"); }), sortedError);
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Put(0, u"zulu"); }), sortedError);
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Exchange(0, 1); }), sortedError);
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Move(0, 1); }), sortedError);
    EXPECT_EQ(list.Strings(0), u"alpha");
}

TEST(StringList, SortingIsStableAndFollowsTheCaseRule) {
    TStringList list;
    Fill(list, {"b", "B", "a", "A", "b"});
    list.Sort();
    EXPECT_EQ(Lines(list), (TLines{"a", "A", "b", "B", "b"}));
    list.SetCaseSensitive(true);
    list.Sort();  // unsorted lists sort again on request
    EXPECT_EQ(Lines(list), (TLines{"a", "A", "b", "b", "B"}));

    TStringList sorted;
    Fill(sorted, {"b", "A", "a", "B"});
    sorted.SetSorted(true);
    EXPECT_EQ(Lines(sorted), (TLines{"A", "a", "b", "B"}));
    // A new rule re-sorts the list, so that finding keeps working.
    sorted.SetCaseSensitive(true);
    EXPECT_EQ(Lines(sorted), (TLines{"a", "A", "b", "B"}));
    EXPECT_EQ(sorted.IndexOf(u"B"), 3);
}

TEST(StringList, CustomSortComparesByIndex) {
    TStringList list;
    Fill(list, {"ccc", "a", "bb", "dd"});
    list.CustomSort([](TStringList* AList, Integer A, Integer B) {
        return static_cast<Integer>(AList->Get(A).size()) - static_cast<Integer>(AList->Get(B).size());
    });
    EXPECT_EQ(Lines(list), (TLines{"a", "bb", "dd", "ccc"}));
}

TEST(StringList, ChangeEventsFireAroundEachChangeOrOncePerUpdate) {
    TLines log;
    TStringList list;
    list.OnChanging = [&](TObject* ASender) {
        EXPECT_EQ(ASender, &list);
        log.push_back("changing " + std::to_string(list.Count()));
    };
    list.OnChange = [&](TObject*) { log.push_back("change " + std::to_string(list.Count())); };
    list.Add(u"a");
    EXPECT_EQ(log, (TLines{"changing 0", "change 1"}));

    log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(u"b");
    list.Add(u"c");
    list.EndUpdate();
    list.Delete(0);
    EXPECT_EQ(log, (TLines{"changing 1"}));
    list.EndUpdate();
    EXPECT_EQ(log, (TLines{"changing 1", "change 2"}));

    log.clear();
    list.BeginUpdate();
    list.EndUpdate();
    list.Clear();
    list.Clear();  // already empty: no change
    EXPECT_EQ(log, (TLines{"changing 2", "change 0"}));

    log.clear();
    list.SetText(u"x\ny\nz");
    TStringList more;
    Fill(more, {"1", "2"});
    list.AddStrings(&more);
    EXPECT_EQ(log, (TLines{"changing 0", "change 3", "changing 3", "change 5"}));
}

TEST(StringList, AssignCopiesLinesAndObjects) {
    TObject marker;
    TStringList source;
    source.AddObject(u"one", &marker);
    source.Add(u"two");
    TStringList copy;
    Fill(copy, {"old"});
    copy.Assign(&source);
    EXPECT_TRUE(copy.Equals(&source));
    EXPECT_EQ(copy.Objects(0), &marker);
    copy.Assign(&copy);
    EXPECT_EQ(Lines(copy), (TLines{"one", "two"}));
    copy.SetStrings(1, u"TWO");
    EXPECT_FALSE(copy.Equals(&source));  // Equals minds case
    TComponent component(nullptr);
    EXPECT_THROW(copy.Assign(&component), EConvertError);
}

TEST(StringList, ABareTStringsGetsTheRestFromTheBase) {
    TPlainStrings plain;
    EXPECT_EQ(plain.Add(u"a=1"), 0);
    Fill(plain, {"b", "c"});
    plain.Put(1, u"B");
    plain.Exchange(0, 2);
    plain.Move(0, 1);
    EXPECT_EQ(Lines(plain), (TLines{"B", "c", "a=1"}));
    EXPECT_EQ(plain.Values(u"A"), u"1");
    EXPECT_EQ(plain.IndexOf(u"C"), 1);
    EXPECT_EQ(plain.Objects(0), nullptr);
    plain.SetCommaText(u"x,y");
    EXPECT_EQ(plain.Text(), u"x\r\ny\r\n");
}

TEST_F(StringListFileTest, SavesUtf8WithCrLfAndNoByteOrderMark) {
    TStringList list;
    Fill(list, {"输出", "b"});
    list.SaveToFile(Path(u"out.txt"));
    EXPECT_EQ(ReadBytes(Path(u"out.txt")), "\xE8\xBE\x93\xE5\x87\xBA\r\nb\r\n");
    TStringList back;
    back.LoadFromFile(Path(u"out.txt"));
    EXPECT_TRUE(back.Equals(&list));
}

TEST_F(StringListFileTest, LoadsUtf8AndUtf16WithTheirByteOrderMarks) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"plain", "\xE4\xB8\xAD\nb"},
        {"utf8 bom", "\xEF\xBB\xBF\xE4\xB8\xAD\r\nb"},
        {"utf16 le", std::string("\xFF\xFE\x2D\x4E\r\0\n\0b\0", 10)},
        {"utf16 be", std::string("\xFE\xFF\x4E\x2D\0\r\0\n\0b", 10)},
    };
    for (const auto& c : cases) {
        WriteBytes(Path(u"in.txt"), c.bytes);
        TStringList list;
        list.LoadFromFile(Path(u"in.txt"));
        EXPECT_EQ(Lines(list), (TLines{"中", "b"})) << c.name;
    }
    TStringList list;
    EXPECT_THROW(list.LoadFromFile(Path(u"absent.txt")), EFOpenError);
}

TEST(StringListStream, LoadFromStreamReadsTheRestOfTheStream) {
    TStringStream stream("skip\r\nkeep\r\nthis");
    stream.SetPosition(6);
    TStringList list;
    list.LoadFromStream(&stream);
    EXPECT_EQ(Lines(list), (TLines{"keep", "this"}));
    TStringStream out;
    list.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "keep\r\nthis\r\n");
}

TEST(StringListStream, DecodeTextMarksHalfACharacter) {
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE"
                                     "a\0b",
                                     5)),
              u"a\xFFFD");
}
