#include "platform/gdi/fontmatch.h"

#include <fontconfig/fontconfig.h>

#include <array>

#include "platform/base/ustring.h"

namespace gdi {

namespace {

struct Substitute {
    const char16_t* Name;
    const char* Family;
};

// Windows faces the skins and forms name, mapped to metric-near installed ones.
constexpr std::array<Substitute, 5> Substitutes{{
    {u"tahoma", "DejaVu Sans"},
    {u"ms sans serif", "DejaVu Sans"},
    {u"arial", "Liberation Sans"},
    {u"宋体", CjkFamily},
    {u"黑体", CjkFamily},
}};

String AsciiLower(const String& AText) {
    String result = AText;
    for (char16_t& c : result)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return result;
}

}  // namespace

std::string SubstituteFamily(const String& AFaceName, Byte ACharSet) {
    if (ACharSet == GB2312Charset) return CjkFamily;
    const String name = AsciiLower(AFaceName);
    for (const Substitute& substitute : Substitutes)
        if (name == substitute.Name) return substitute.Family;
    return StringToUTF8(AFaceName);
}

FaceMatcher::FaceMatcher() : FConfig(FcInitLoadConfigAndFonts()) {}

FaceMatcher::~FaceMatcher() {
    if (FConfig) FcConfigDestroy(FConfig);
}

bool FaceMatcher::Match(const std::string& AFamily, Integer AWeight, bool AItalic, FaceFile& AResult) {
    if (!FConfig) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(AFamily.empty() ? "sans-serif" : AFamily.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(AWeight > 0 ? AWeight : 400));
    FcPatternAddInteger(pattern, FC_SLANT, AItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(FConfig, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(FConfig, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    bool found = false;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        found = true;
        AResult.Path = reinterpret_cast<const char*>(file);
        int index = 0;
        AResult.Index = FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
        FcChar8* family = nullptr;
        AResult.Family = FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch
                             ? reinterpret_cast<const char*>(family)
                             : "";
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace gdi
