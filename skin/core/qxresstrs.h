// The skin library's user-interface texts: a table of KEY=text lines held by
// a component, English by default, and the same defaults for controls that
// have no table attached.
#pragma once

#include <memory>
#include <span>

#include "platform/base/classes.h"
#include "platform/base/stringlist.h"
#include "platform/toolkit/graphicsobjects.h"

struct TqxResStrDefault {
    const char16_t* Key;
    const char16_t* Text;
};

// The English defaults, in their order: the 131 lines a new table holds.
std::span<const TqxResStrDefault> DefaultResStrs();
// The default text of AKey (keys match without regard to case), "" for an
// unknown key: the texts of controls without a table.
String GetDefaultResStr(std::u16string_view AKey);

class TqxResourceStrData : public TComponent {
public:
    explicit TqxResourceStrData(TComponent* AOwner);

    // The lines KEY=text; the text is everything after the first "=".
    TStrings* ResStrings() const { return FResStrs.get(); }
    // Copies the lines.
    void SetResStrings(TStrings* AValue) { FResStrs->Assign(AValue); }
    // What users of the texts give their fonts.
    TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(TFontCharset AValue) { FCharSet = AValue; }

    // The text of the first line whose key is AResName (without regard to
    // case), "" when there is none.
    String GetResStr(std::u16string_view AResName) const;

private:
    std::unique_ptr<TStringList> FResStrs;
    TFontCharset FCharSet;
};
