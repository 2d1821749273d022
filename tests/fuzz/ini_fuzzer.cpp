// The libFuzzer target of the INI reader: the bytes as a file's text (read as
// a file is, byte order mark and all) in a TMemIniFile, then every read call
// on the sections and keys found and on absent ones, and a write round trip.
// Nothing may crash, hang or raise.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/inifiles.h"
#include "platform/base/streams.h"
#include "platform/base/stringlist.h"

namespace {

// Enough names to reach every kind of line without slowing each run down.
constexpr Integer MaxNames = 64;

void ReadKeys(TMemIniFile& AIni, const String& ASection) {
    TStringList keys, values;
    AIni.ReadSection(ASection, &keys);
    AIni.ReadSectionValues(ASection, &values);
    AIni.SectionExists(ASection);
    keys.Add(u"absent");
    for (Integer i = 0; i < std::min(keys.Count(), MaxNames); ++i) {
        const String key = keys.Strings(i);
        AIni.ReadString(ASection, key, u"default");
        AIni.ReadInteger(ASection, key, -1);
        AIni.ReadBool(ASection, key, true);
        AIni.ReadFloat(ASection, key, 0.5);
        AIni.ValueExists(ASection, key);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    TStringStream stream(std::string_view(reinterpret_cast<const char*>(AData), ASize));
    TStringList lines;
    lines.LoadFromStream(&stream);
    TMemIniFile ini;
    ini.SetStrings(&lines);
    TStringList sections;
    ini.ReadSections(&sections);
    sections.Add(u"absent");
    for (Integer i = 0; i < std::min(sections.Count(), MaxNames); ++i)
        ReadKeys(ini, sections.Strings(i));
    // A key written and deleted, then the first section erased: the text rewritten.
    ini.WriteString(sections.Strings(0), u"written", u"value");
    ini.DeleteKey(sections.Strings(0), u"written");
    ini.EraseSection(sections.Strings(0));
    TStringList text;
    ini.GetStrings(&text);
    return 0;
}
