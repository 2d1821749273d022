// What the tests of the control elements and of the skin objects share: one
// check per element kind over its index word, its defaults and its keys.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/base/inifiles.h"

// The key lines of a section, "key=value" in file order.
std::vector<String> SectionLines(TCustomIniFile* AIni, const String& ASection);

// One element of kind AWord (a control element, or a skin object when
// AObject) for the section "e", as the index reader makes it.
struct TElementKind {
    std::function<void(TCustomIniFile*)> Load;
    std::function<void(TCustomIniFile*)> Save;
    std::function<String()> Word;
};
TElementKind MakeElement(const String& AWord, bool AObject);

// The index writer names the kind AWord, and a section without keys gives
// what a new element holds.
void ExpectWordAndDefaults(const String& AWord, bool AObject);
// Every key written with a value other than its default reads back and is
// written again as it was, but for what AAdjust says the kind changes on
// reading.
void ExpectKeysRoundTrip(const String& AWord, bool AObject,
                         const std::function<void(std::vector<String>&)>& AAdjust = {});
