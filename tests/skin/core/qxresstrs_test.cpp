#include "skin/core/qxresstrs.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceStrings, TheDefaultsInTheirOrder) {
    const std::span<const TqxResStrDefault> defaults = DefaultResStrs();
    ASSERT_EQ(131u, defaults.size());
    EXPECT_EQ(u"MI_MINCAPTION", String(defaults.front().Key));
    EXPECT_EQ(u"MSG_BTN_OK", String(defaults[21].Key));
    EXPECT_EQ(u"DBNAV_REFRESH", String(defaults.back().Key));

    TqxResourceStrData data(nullptr);
    ASSERT_EQ(131, data.ResStrings()->Count());
    EXPECT_EQ(u"MI_MINCAPTION=Mi&nimize", data.ResStrings()->Get(0));
    EXPECT_EQ(u"FLV_LOOKIN=Look in: ", data.ResStrings()->Get(72));
    EXPECT_EQ(u"DBNAV_REFRESH=REFRESH", data.ResStrings()->Get(130));
    for (Integer i = 0; i < 131; ++i)
        EXPECT_EQ(String(defaults[size_t(i)].Key) + u"=" + defaults[size_t(i)].Text,
                  data.ResStrings()->Get(i));
    EXPECT_EQ(win::DEFAULT_CHARSET, data.CharSet());
}

TEST(ResourceStrings, GetResStrMatchesKeysWithoutCase) {
    TqxResourceStrData data(nullptr);
    struct TCase {
        const char16_t* Key;
        const char16_t* Text;
    } cases[] = {{u"MSG_BTN_OK", u"OK"},
                 {u"msg_btn_ok", u"OK"},
                 {u"MSG_OVERWRITE", u"Do you want to overwrite old file?"},
                 {u"FIND_REPLACE_ALL", u"Replace All"},
                 {u"NO_SUCH_KEY", u""},
                 {u"", u""},
                 {u"MSG_BTN", u""}};
    for (const TCase& c : cases) {
        EXPECT_EQ(c.Text, data.GetResStr(c.Key)) << std::u16string(c.Key).size();
        EXPECT_EQ(c.Text, GetDefaultResStr(c.Key));
    }
}

TEST(ResourceStrings, AStoredTableReplacesTheDefaults) {
    TqxResourceStrData data(nullptr);
    TStringList lines;
    lines.Add(u"MSG_BTN_OK=确定");
    lines.Add(u"A=B=C");
    lines.Add(u"a=second");
    lines.Add(u"NOEQUALS");
    data.SetResStrings(&lines);
    lines.Clear();
    EXPECT_EQ(4, data.ResStrings()->Count());
    EXPECT_EQ(u"确定", data.GetResStr(u"MSG_BTN_OK"));
    EXPECT_EQ(u"", data.GetResStr(u"MSG_BTN_CANCEL"));
    EXPECT_EQ(u"B=C", data.GetResStr(u"A"));
    EXPECT_EQ(u"", data.GetResStr(u"NOEQUALS"));
    data.SetCharSet(win::GB2312_CHARSET);
    EXPECT_EQ(win::GB2312_CHARSET, data.CharSet());
    // The defaults of controls without a table stay English.
    EXPECT_EQ(u"Cancel", GetDefaultResStr(u"MSG_BTN_CANCEL"));
}

}  // namespace
