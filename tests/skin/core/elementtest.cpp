#include "elementtest.h"

#include <algorithm>

#include "platform/base/stringlist.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxskinobjects.h"

namespace {

bool EndsWith(const String& AText, std::u16string_view ASuffix) {
    return AText.size() >= ASuffix.size() &&
           AText.compare(AText.size() - ASuffix.size(), ASuffix.size(), ASuffix) == 0;
}

// A value of the same kind as AValue that differs from it.
String OtherValue(const String& AKey, const String& AValue) {
    if (EndsWith(AKey, u"fontstyle")) return u"fsbold,fsunderline";
    if (EndsWith(AKey, u"stretchtype")) return u"stvert";
    if (EndsWith(AKey, u"fontname")) return u"黑体";
    if (AKey == u"morphkind") return u"mkpush";
    if (AKey == u"command") return u"cmrollup";
    if (AKey == u"alignment") return u"tarightjustify";
    const auto commas = std::count(AValue.begin(), AValue.end(), u',');
    if (commas == 3) return u"3,5,17,19";
    if (commas == 1) return u"4,6";
    Integer number;
    // 1 is true for the flags and differs from every integer default.
    if (TryStrToInt(AValue, number)) return u"1";
    return u"text";
}

}  // namespace

std::vector<String> SectionLines(TCustomIniFile* AIni, const String& ASection) {
    TStringList lines;
    AIni->ReadSectionValues(ASection, &lines);
    std::vector<String> result;
    for (Integer i = 0; i < lines.Count(); ++i)
        result.push_back(lines.Get(i));
    return result;
}

TElementKind MakeElement(const String& AWord, bool AObject) {
    if (AObject) {
        std::shared_ptr<TqxDataSkinObject> object(CreateSkinObject(AWord, u"e").release());
        return {[object](TCustomIniFile* I) { object->LoadFromFile(I); },
                [object](TCustomIniFile* I) { object->SaveToFile(I); },
                [object] { return SkinObjectKind(object.get()); }};
    }
    std::shared_ptr<TqxDataSkinControl> control(CreateSkinControl(AWord, u"e").release());
    return {[control](TCustomIniFile* I) { control->LoadFromFile(I); },
            [control](TCustomIniFile* I) { control->SaveToFile(I); },
            [control] { return SkinControlKind(control.get()); }};
}

void ExpectWordAndDefaults(const String& AWord, bool AObject) {
    SCOPED_TRACE(StringToUTF8(AWord));
    EXPECT_EQ(AWord, MakeElement(AWord, AObject).Word());
    TMemIniFile fresh, keyless;
    MakeElement(AWord, AObject).Save(&fresh);
    TElementKind loaded = MakeElement(AWord, AObject);
    loaded.Load(&keyless);
    loaded.Save(&keyless);
    EXPECT_EQ(SectionLines(&fresh, u"e"), SectionLines(&keyless, u"e"));
}

void ExpectKeysRoundTrip(const String& AWord, bool AObject,
                         const std::function<void(std::vector<String>&)>& AAdjust) {
    SCOPED_TRACE(StringToUTF8(AWord));
    TMemIniFile source;
    MakeElement(AWord, AObject).Save(&source);
    TStringList keys;
    source.ReadSection(u"e", &keys);
    ASSERT_GT(keys.Count(), 0);
    for (Integer i = 0; i < keys.Count(); ++i)
        source.WriteString(u"e", keys.Get(i),
                           OtherValue(keys.Get(i), source.ReadString(u"e", keys.Get(i), u"")));
    TElementKind element = MakeElement(AWord, AObject);
    element.Load(&source);
    TMemIniFile written;
    element.Save(&written);
    std::vector<String> expected = SectionLines(&source, u"e");
    if (AAdjust) AAdjust(expected);
    EXPECT_EQ(expected, SectionLines(&written, u"e"));
}
