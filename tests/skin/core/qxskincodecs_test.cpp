// The value encodings of skin texts, the validity test and the index entries.
#include "skin/core/qxskincodecs.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/base/stringlist.h"

namespace {

// An INI text of one section "s" with the given key lines.
std::unique_ptr<TMemIniFile> Section(std::initializer_list<const char16_t*> ALines) {
    TStringList lines;
    lines.Add(u"[s]");
    for (const char16_t* line : ALines)
        lines.Add(line);
    auto ini = std::make_unique<TMemIniFile>();
    ini->SetStrings(&lines);
    return ini;
}

TEST(SkinCodecs, RectanglesAndPoints) {
    struct TCase {
        const char16_t* Line;  // nullptr: the key is missing
        std::optional<TRect> Rect;
        std::optional<TPoint> Point;
        const char16_t* Error;  // what a failing value says
    } cases[] = {
        {nullptr, TRect{}, TPoint{}, nullptr},
        {u"k=0,0,0,0", TRect{}, TPoint{}, nullptr},
        {u"k=1,2,3,4,5", Rect(1, 2, 3, 4), Point(1, 2), nullptr},
        {u"k=1, 2,3 ,4", Rect(1, 2, 3, 4), Point(1, 2), nullptr},
        // The minus sign is dropped: no value is ever negative.
        {u"k=-5,3,-7,8", Rect(5, 3, 7, 8), Point(5, 3), nullptr},
        {u"k=5", std::nullopt, std::nullopt, u"'' is not a valid integer value"},
        {u"k=5,", std::nullopt, std::nullopt, u"'' is not a valid integer value"},
        {u"k=", std::nullopt, std::nullopt, u"'' is not a valid integer value"},
        {u"k=1,,3,4", std::nullopt, std::nullopt, u"'' is not a valid integer value"},
        {u"k=1,2,,4", std::nullopt, Point(1, 2), u"'' is not a valid integer value"},
        {u"k=99999999999,1,2,3", std::nullopt, std::nullopt, u"'99999999999' is not a valid integer value"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line ? StringToUTF8(c.Line) : "missing");
        const auto ini = c.Line ? Section({c.Line}) : Section({});
        if (c.Rect) {
            EXPECT_EQ(*c.Rect, ReadSkinRect(ini.get(), u"s", u"k"));
        } else {
            try {
                ReadSkinRect(ini.get(), u"s", u"k");
                ADD_FAILURE() << "no error";
            } catch (const EConvertError& e) {
                EXPECT_EQ(String(c.Error), e.Message());
            }
        }
        if (c.Point)
            EXPECT_EQ(*c.Point, ReadSkinPoint(ini.get(), u"s", u"k"));
        else
            EXPECT_THROW(ReadSkinPoint(ini.get(), u"s", u"k"), EConvertError);
    }
    TMemIniFile ini;
    WriteSkinRect(&ini, u"s", u"r", Rect(1, 2, 30, 40));
    WriteSkinPoint(&ini, u"s", u"p", Point(7, 8));
    EXPECT_EQ(u"1,2,30,40", ini.ReadString(u"s", u"r", u""));
    EXPECT_EQ(u"7,8", ini.ReadString(u"s", u"p", u""));
}

TEST(SkinCodecs, FlagsAndIntegers) {
    const auto ini = Section({u"one=1", u"two=2", u"word=true", u"hex=$1", u"zero=0", u"dec=-12",
                              u"dollar=$1F", u"x=0x1f", u"bad=1a"});
    EXPECT_TRUE(ReadSkinBool(ini.get(), u"s", u"one"));
    EXPECT_TRUE(ReadSkinBool(ini.get(), u"s", u"hex"));
    for (const char16_t* key : {u"two", u"word", u"zero", u"missing"})
        EXPECT_FALSE(ReadSkinBool(ini.get(), u"s", key)) << StringToUTF8(key);
    TqxSkinSection keys(TqxSkinSection::smRead, ini.get(), u"s");
    const std::pair<const char16_t*, Integer> integers[] = {
        {u"dec", -12}, {u"dollar", 31}, {u"x", 31}, {u"bad", 77}, {u"missing", 77}};
    for (const auto& [key, expected] : integers) {
        Integer value = 0;
        keys.Int(key, value, 77);
        EXPECT_EQ(expected, value) << StringToUTF8(key);
    }
    // System colours are written in decimal, so they read back negative.
    TMemIniFile out;
    TqxSkinSection writer(TqxSkinSection::smWrite, &out, u"s");
    TColor face = clBtnFace;
    writer.Color(u"c", face);
    EXPECT_EQ(u"-16777201", out.ReadString(u"s", u"c", u""));
}

TEST(SkinCodecs, FontStylesAreFoundAnywhereInTheValue) {
    const auto ini = Section({u"a=fsboldfsitalic", u"b=fsunderline,fsstrikeout", u"c=FSBOLD", u"d="});
    EXPECT_EQ((TFontStyles{fsBold, fsItalic}), ReadSkinFontStyle(ini.get(), u"s", u"a"));
    EXPECT_EQ((TFontStyles{fsUnderline, fsStrikeOut}), ReadSkinFontStyle(ini.get(), u"s", u"b"));
    EXPECT_EQ(TFontStyles{}, ReadSkinFontStyle(ini.get(), u"s", u"c"));
    EXPECT_EQ(TFontStyles{}, ReadSkinFontStyle(ini.get(), u"s", u"d"));
    TMemIniFile out;
    WriteSkinFontStyle(&out, u"s", u"k", TFontStyles{fsItalic, fsBold, fsStrikeOut});
    WriteSkinFontStyle(&out, u"s", u"none", TFontStyles{});
    EXPECT_EQ(u"fsbold,fsitalic,fsstrikeout", out.ReadString(u"s", u"k", u"?"));
    EXPECT_EQ(u"", out.ReadString(u"s", u"none", u"?"));
}

TEST(SkinCodecs, EnumerationWords) {
    const auto ini =
        Section({u"horz=sthorz", u"vert=stvert", u"full=stfull", u"other=sideways", u"empty=",
                 u"left=taleftjustify", u"center=tacenter", u"right=tarightjustify", u"push=mkpush",
                 u"upper=MKPUSH", u"invert=ieinvert", u"noise=ienoise", u"rollup=cmrollup", u"close=cmclose",
                 u"tray=cmminimizetotray", u"cased=cmMinimize"});
    TCustomIniFile* i = ini.get();
    EXPECT_EQ(qxstHorz, ReadSkinStretchType(i, u"s", u"horz"));
    EXPECT_EQ(qxstVert, ReadSkinStretchType(i, u"s", u"vert"));
    EXPECT_EQ(qxstFull, ReadSkinStretchType(i, u"s", u"full"));
    EXPECT_EQ(qxstHorz, ReadSkinStretchType(i, u"s", u"other"));
    EXPECT_EQ(qxstHorz, ReadSkinStretchType(i, u"s", u"empty"));
    EXPECT_EQ(qxstFull, ReadSkinStretchType(i, u"s", u"missing"));
    EXPECT_EQ(taLeftJustify, ReadSkinAlignment(i, u"s", u"left"));
    EXPECT_EQ(taCenter, ReadSkinAlignment(i, u"s", u"center"));
    EXPECT_EQ(taCenter, ReadSkinAlignment(i, u"s", u"missing"));
    EXPECT_EQ(taRightJustify, ReadSkinAlignment(i, u"s", u"right"));
    EXPECT_EQ(taRightJustify, ReadSkinAlignment(i, u"s", u"other"));
    EXPECT_EQ(mkPush, ReadSkinMorphKind(i, u"s", u"push"));
    EXPECT_EQ(mkDefault, ReadSkinMorphKind(i, u"s", u"upper"));
    EXPECT_EQ(mkDefault, ReadSkinMorphKind(i, u"s", u"missing"));
    EXPECT_EQ(ieInvert, ReadSkinInActiveEffect(i, u"s", u"invert"));
    EXPECT_EQ(ieNoise, ReadSkinInActiveEffect(i, u"s", u"noise"));
    EXPECT_EQ(ieGrayScale, ReadSkinInActiveEffect(i, u"s", u"other"));
    EXPECT_EQ(ieBrightness, ReadSkinInActiveEffect(i, u"s", u"missing"));
    EXPECT_EQ(cmRollUp, ReadSkinCommand(i, u"s", u"rollup"));
    EXPECT_EQ(cmClose, ReadSkinCommand(i, u"s", u"close"));
    EXPECT_EQ(cmMinimizeToTray, ReadSkinCommand(i, u"s", u"tray"));
    EXPECT_EQ(cmMinimizeToTray, ReadSkinCommand(i, u"s", u"cased"));
    EXPECT_EQ(cmDefault, ReadSkinCommand(i, u"s", u"missing"));

    // Every word written reads back as itself.
    TMemIniFile out;
    for (Integer v = 0; v <= 2; ++v) {
        WriteSkinStretchType(&out, u"s", u"k", TqxStretchType(v));
        EXPECT_EQ(TqxStretchType(v), ReadSkinStretchType(&out, u"s", u"k"));
        WriteSkinAlignment(&out, u"s", u"k", TAlignment(v));
        EXPECT_EQ(TAlignment(v), ReadSkinAlignment(&out, u"s", u"k"));
    }
    for (Integer v = 0; v <= 6; ++v) {
        WriteSkinMorphKind(&out, u"s", u"k", TqxMorphKind(v));
        EXPECT_EQ(TqxMorphKind(v), ReadSkinMorphKind(&out, u"s", u"k"));
        WriteSkinCommand(&out, u"s", u"k", TqxStdCommand(v));
        EXPECT_EQ(TqxStdCommand(v), ReadSkinCommand(&out, u"s", u"k"));
    }
    for (Integer v = 0; v <= 5; ++v) {
        WriteSkinInActiveEffect(&out, u"s", u"k", TqxInActiveEffect(v));
        EXPECT_EQ(TqxInActiveEffect(v), ReadSkinInActiveEffect(&out, u"s", u"k"));
    }
    WriteSkinCommand(&out, u"s", u"k", cmMinimizeToTray);
    EXPECT_EQ(u"cmminimizetotray", out.ReadString(u"s", u"k", u""));
}

TEST(SkinCodecs, StringListsStopAtTheLastNumberedKey) {
    struct TCase {
        std::initializer_list<const char16_t*> Lines;
        std::vector<String> Expected;
    } cases[] = {
        {{u"pcount=3", u"0=a", u"2=c"}, {u"a", u"", u"c"}},
        {{u"pcount=2", u"0=a", u"1=b", u"2=c"}, {u"a", u"b"}},
        {{u"pcount=0", u"0=a"}, {}},
        {{u"pcount=-4", u"0=a"}, {}},
        // A count near 2^31 reads no further than the keys that are there.
        {{u"pcount=2147483647", u"0=a", u"1=b"}, {u"a", u"b"}},
        {{u"pcount=2147483647", u"00=a", u"+1=b"}, {}},
        {{u"0=a"}, {}},
    };
    for (const TCase& c : cases) {
        const auto ini = Section(c.Lines);
        TStringList list;
        list.Add(u"kept");
        ReadSkinStringList(ini.get(), u"s", u"p", &list);
        std::vector<String> read;
        for (Integer i = 1; i < list.Count(); ++i)
            read.push_back(list.Get(i));
        EXPECT_EQ(c.Expected, read) << StringToUTF8(*c.Lines.begin());
    }
    TStringList names;
    names.Add(u"a.bmp");
    names.Add(u"sub\\b.bmp");
    TMemIniFile out;
    WriteSkinStringList(&out, u"PICTURES", u"activepictures", &names);
    TStringList lines;
    out.GetStrings(&lines);
    EXPECT_EQ(u"[PICTURES]\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=sub\\b.bmp\r\n", lines.Text());
}

TEST(SkinCodecs, ValidityNeedsAKeyInEachOfTheFiveSections) {
    const std::vector<String> sections = {u"VERSION", u"PICTURES", u"FORMINFO", u"SKINOBJECTS",
                                          u"SKINCONTROLS"};
    for (size_t left = 0; left <= sections.size(); ++left) {
        TStringList lines;
        for (size_t i = 0; i < sections.size(); ++i) {
            lines.Add(u"[" + sections[i] + u"]");
            if (i != left) lines.Add(u"k=1");
        }
        TMemIniFile ini;
        ini.SetStrings(&lines);
        EXPECT_EQ(left == sections.size(), IsValidSkinIni(&ini)) << left;
    }
    TMemIniFile missing(u"/nonexistent/skin.ini");
    EXPECT_FALSE(IsValidSkinIni(&missing));
}

TEST(SkinCodecs, IndexEntriesSplitAtTheFirstColon) {
    struct TCase {
        const char16_t* Entry;
        const char16_t* Name;
        const char16_t* Kind;
    } cases[] = {{u"closebutton:stdbutton", u"closebutton", u"stdbutton"},
                 {u"a:b:c", u"a", u"b:c"},
                 {u":button", u"", u"button"},
                 {u"panel:", u"panel", u""},
                 {u"nocolon", u"", u""},
                 {u"", u"", u""}};
    for (const TCase& c : cases) {
        String name = u"x", kind = u"y";
        SplitIndexEntry(c.Entry, name, kind);
        EXPECT_EQ(c.Name, name) << StringToUTF8(c.Entry);
        EXPECT_EQ(c.Kind, kind) << StringToUTF8(c.Entry);
    }
}

}  // namespace

namespace {

// A value of each kind, as a section's key list holds them.
struct TValues {
    Integer Offset = 0;
    Integer Count = 0;
    Integer Index = -1;
    TColor Color = 0;
    TRect Rect;
    TPoint Point;

    void Keys(TqxSkinSection& K) {
        K.Int(u"leftoffset", Offset);
        K.Int(u"framecount", Count);
        K.Int(u"maskpictureindex", Index, -1);
        K.Color(u"fontcolor", Color);
        K.Rect(u"skinrect", Rect);
        K.Point(u"lefttoppoint", Point);
    }
};

TEST(SkinCodecs, WhatMakesSense) {
    struct TCase {
        const char* Name;
        std::function<void(TValues&)> Set;
        bool ForAnyPart;   // of the frame or a window-wide section
        bool ForAControl;  // of a control element
    } cases[] = {
        {"defaults", [](TValues&) {}, true, true},
        {"a negative offset", [](TValues& V) { V.Offset = -40; }, true, true},
        {"an offset of 2e9", [](TValues& V) { V.Offset = 2000000000; }, false, false},
        {"an offset just past the metric", [](TValues& V) { V.Offset = -(MaxSkinMetric + 1); }, false, false},
        {"a negative count", [](TValues& V) { V.Count = -1; }, false, false},
        {"any colour", [](TValues& V) { V.Color = TColor(0x80000005); }, true, true},
        {"the last picture", [](TValues& V) { V.Index = 2; }, true, true},
        {"a picture the skin lacks", [](TValues& V) { V.Index = 3; }, true, false},
        {"an index below -1", [](TValues& V) { V.Index = -5; }, true, false},
        {"an inverted rectangle",
         [](TValues& V) {
             V.Rect = {20, 20, 0, 0};
         },
         true, false},
        {"a rectangle in the picture named",
         [](TValues& V) {
             V.Index = 1, V.Rect = {0, 0, 60, 30};
         },
         true, true},
        {"a rectangle past the picture named",
         [](TValues& V) {
             V.Index = 1, V.Rect = {0, 0, 61, 30};
         },
         true, false},
        {"a point past the picture named",
         [](TValues& V) {
             V.Index = 1, V.Point = {10, 31};
         },
         true, false},
        {"a rectangle of no picture",
         [](TValues& V) {
             V.Rect = {0, 0, 800, 600};
         },
         true, true},
        {"a rectangle past any picture",
         [](TValues& V) {
             V.Rect = {0, 0, 8, MaxSkinCoordinate + 1};
         },
         false, false},
        {"a point past any picture",
         [](TValues& V) {
             V.Point = {MaxSkinCoordinate + 1, 0};
         },
         false, false},
    };
    for (const TCase& c : cases) {
        TValues values;
        c.Set(values);
        const auto keys = [&values](TqxSkinSection& K) { values.Keys(K); };
        // Three pictures, the second of 60 x 30.
        TqxSkinLimits limits;
        limits.Pictures = {{10, 10}, {60, 30}, {20, 20}};
        EXPECT_EQ(c.ForAnyPart, KeysMakeSense(limits, keys)) << c.Name;
        limits.Indexes = limits.Upright = limits.InNamedPictures = true;
        EXPECT_EQ(c.ForAControl, KeysMakeSense(limits, keys)) << c.Name;
    }
}

}  // namespace
