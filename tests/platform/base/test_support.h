// Helpers the base tests share.
#pragma once

#include <string>
#include <vector>

#include "platform/base/stringlist.h"
#include "platform/base/ustring.h"

// The message of the E that AAction raises, or "no error".
template <typename E, typename TAction>
std::string ErrorOf(TAction&& AAction) {
    try {
        AAction();
    } catch (const E& e) {
        return StringToUTF8(e.Message());
    }
    return "no error";
}

// The lines of a string list as UTF-8, for readable comparisons.
inline std::vector<std::string> Lines(const TStrings& AList) {
    std::vector<std::string> out;
    for (Integer i = 0; i < AList.Count(); ++i)
        out.push_back(StringToUTF8(AList.Get(i)));
    return out;
}
