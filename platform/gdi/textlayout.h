// Where DrawText puts its lines: line breaks, word wrapping (Chinese text
// included), tabs, prefix underlines and ellipses, computed without pixels.
#pragma once

#include <string_view>
#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/textmeasurer.h"

namespace gdi {

struct TextBox {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
};

// Where tabs stop: at Origin + each of Stops (increasing), then at the
// multiples of Interval from Origin.
struct TabStops {
    Integer Origin = 0;
    std::vector<Integer> Stops;
    Integer Interval = 0;

    // The first stop right of AX; AX itself when there is none.
    Integer Next(Integer AX) const;
};

// A stretch of a line without tabs, drawn from X.
struct TextRun {
    Integer X = 0;
    String Text;
};

struct TextSpan {
    Integer X = 0;
    Integer Width = 0;
};

struct TextLine {
    Integer X = 0;  // the line's cell: X .. X + Width, Y .. Y + line height
    Integer Y = 0;
    Integer Width = 0;
    std::vector<TextRun> Runs;
    std::vector<TextSpan> Underlines;  // prefixed characters
};

struct DrawTextOptions {
    win::UINT Format = 0;
    Integer TabLength = 8;  // in average character widths
    Integer LeftMargin = 0;
    Integer RightMargin = 0;
};

struct TextLayout {
    std::vector<TextLine> Lines;
    Integer LineHeight = 0;
    // DrawText's result: the text's height, or with DT_VCENTER or DT_BOTTOM
    // on a single line the offset of its bottom from the rectangle's top.
    Integer Result = 0;
    // The rectangle DT_CALCRECT gives back: left and top kept, right and
    // bottom bounding the text.
    TextBox Bounds;
};

TextLayout LayoutDrawText(std::u16string_view AText, const TextBox& ARect, const DrawTextOptions& AOptions,
                          TextMeasurer& AMeasurer);

// TabbedTextOut's stops: none gives one every ADefaultInterval, a single
// one its own interval, several their positions from AOrigin.
TabStops TabbedTextStops(const Integer* AStops, Integer ACount, Integer AOrigin, Integer ADefaultInterval);

// One line of tabbed output starting at AX, tabs stopping at ATabs.
TextLine LayoutTabbedLine(std::u16string_view AText, Integer AX, Integer AY, const TabStops& ATabs,
                          TextMeasurer& AMeasurer);

}  // namespace gdi
