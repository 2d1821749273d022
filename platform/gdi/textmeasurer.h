// What text layout needs of a font.
#pragma once

#include <string_view>

#include "platform/base/types.h"

namespace gdi {

class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    // Whole-pixel advances, one per UTF-16 unit: a surrogate pair advances
    // on its first unit, control characters do not advance.
    virtual void Advances(std::u16string_view AText, Integer* AResult) = 0;
    virtual Integer LineHeight() = 0;
    virtual Integer AveCharWidth() = 0;
};

}  // namespace gdi
