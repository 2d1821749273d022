#include "platform/gdi/textlayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/codepoint.h"

namespace gdi {

using namespace win;

namespace {

constexpr std::u16string_view Ellipsis = u"...";

// Closing punctuation never starts a line and opening punctuation never ends
// one, in Chinese text as in Latin.
constexpr std::u16string_view NoBreakBefore = u"，。、；：？！）》」』】〉〕〗”’…·%,.;:?!)]}";
constexpr std::u16string_view NoBreakAfter = u"（《「『【〈〔〖“‘([{";

Integer Magnitude(Integer AValue) {
    return AValue == INT32_MIN ? INT32_MAX : std::abs(AValue);
}

bool IsBlank(char16_t AUnit) {
    return AUnit == u' ' || AUnit == u'\t';
}
bool IsLineBreak(char16_t AUnit) {
    return AUnit == u'\r' || AUnit == u'\n';
}

// Scripts written without spaces, where a line may break between any two
// characters.
bool IsCjk(char32_t ACode) {
    return (ACode >= 0x2E80 && ACode <= 0x9FFF) || (ACode >= 0xA000 && ACode <= 0xA4CF) ||
           (ACode >= 0xAC00 && ACode <= 0xD7AF) || (ACode >= 0xF900 && ACode <= 0xFAFF) ||
           (ACode >= 0xFE30 && ACode <= 0xFE4F) || (ACode >= 0xFF00 && ACode <= 0xFFEF) ||
           (ACode >= 0x20000 && ACode <= 0x3FFFF);
}

// Whether a line may end just before AIndex (0 < AIndex < size).
bool CanBreakBefore(std::u16string_view AText, size_t AIndex) {
    const char16_t unit = AText[AIndex];
    const char16_t before = AText[AIndex - 1];
    if (IsLowSurrogate(unit) || IsBlank(unit)) return false;
    if (IsBlank(before)) return true;
    size_t length = 1;
    if (!IsCjk(CodePointBefore(AText, AIndex)) && !IsCjk(CodePointAt(AText, AIndex, length))) return false;
    return NoBreakBefore.find(unit) == std::u16string_view::npos &&
           NoBreakAfter.find(before) == std::u16string_view::npos;
}

// One line's text with the advance of each unit.
struct LineText {
    String Text;
    std::vector<Integer> Advances;
    std::vector<size_t> Underlined;  // units under a prefix underline
};

// Pixel offsets of every unit from the line's start, plus the end.
std::vector<Integer> Positions(const LineText& ALine, Integer AStart, const TabStops* ATabs) {
    std::vector<Integer> result(ALine.Text.size() + 1);
    Integer x = AStart;
    for (size_t i = 0; i < ALine.Text.size(); ++i) {
        result[i] = x;
        x = ALine.Text[i] == u'\t' && ATabs ? ATabs->Next(x) : x + ALine.Advances[i];
    }
    result.back() = x;
    return result;
}

Integer Width(const LineText& ALine, const TabStops* ATabs) {
    return Positions(ALine, 0, ATabs).back();
}

// The hard lines: CR, LF, CR LF and LF CR each end one; a final break
// leaves an empty last line.
std::vector<std::u16string_view> HardLines(std::u16string_view AText) {
    std::vector<std::u16string_view> result;
    size_t start = 0;
    for (size_t i = 0; i < AText.size(); ++i) {
        if (!IsLineBreak(AText[i])) continue;
        result.push_back(AText.substr(start, i - start));
        if (i + 1 < AText.size() && IsLineBreak(AText[i + 1]) && AText[i + 1] != AText[i]) ++i;
        start = i + 1;
    }
    result.push_back(AText.substr(start));
    return result;
}

// "&&" shows "&", "&x" shows x underlined (unless hidden), a final "&"
// shows nothing.
LineText StripPrefixes(std::u16string_view AText, bool AProcess, bool AShowUnderlines) {
    LineText result;
    if (!AProcess) {
        result.Text = AText;
        return result;
    }
    result.Text.reserve(AText.size());
    for (size_t i = 0; i < AText.size(); ++i) {
        if (AText[i] != u'&') {
            result.Text += AText[i];
            continue;
        }
        if (++i == AText.size()) break;
        if (AText[i] != u'&' && AShowUnderlines) result.Underlined.push_back(result.Text.size());
        result.Text += AText[i];
    }
    return result;
}

LineText Slice(const LineText& ALine, size_t AStart, size_t AEnd) {
    LineText result;
    result.Text = ALine.Text.substr(AStart, AEnd - AStart);
    result.Advances.assign(ALine.Advances.begin() + AStart, ALine.Advances.begin() + AEnd);
    for (size_t index : ALine.Underlined)
        if (index >= AStart && index < AEnd) result.Underlined.push_back(index - AStart);
    return result;
}

void Append(LineText& ALine, const LineText& APart) {
    const size_t offset = ALine.Text.size();
    ALine.Text += APart.Text;
    ALine.Advances.insert(ALine.Advances.end(), APart.Advances.begin(), APart.Advances.end());
    for (size_t index : APart.Underlined)
        ALine.Underlined.push_back(index + offset);
}

// Greedy wrapping: a line ends at the last break opportunity before the
// text overflows; a word too long for any line overflows it whole. Blanks at
// a break belong to neither line.
std::vector<LineText> WrapLine(const LineText& ALine, const TabStops* ATabs, Integer AMaxWidth) {
    const std::u16string_view text = ALine.Text;
    const size_t size = text.size();
    std::vector<LineText> result;
    size_t start = 0;
    do {
        Integer x = 0;
        size_t opportunity = 0;
        size_t breakAt = size;
        bool inked = false;
        bool overflow = false;
        for (size_t i = start; i < size; ++i) {
            if (i > start && inked && CanBreakBefore(text, i)) {
                if (overflow) {
                    breakAt = i;
                    break;
                }
                opportunity = i;
            }
            const Integer next = text[i] == u'\t' && ATabs ? ATabs->Next(x) : x + ALine.Advances[i];
            if (!IsBlank(text[i])) {
                if (next > AMaxWidth && i > start) {
                    if (opportunity > start) {
                        breakAt = opportunity;
                        break;
                    }
                    overflow = true;
                }
                inked = true;
            }
            x = next;
        }
        size_t end = breakAt;
        if (breakAt < size)
            while (end > start && IsBlank(text[end - 1]))
                --end;
        result.push_back(Slice(ALine, start, end));
        start = breakAt;
    } while (start < size);
    return result;
}

class Shortener {
  public:
    Shortener(TextMeasurer& AMeasurer, const TabStops* ATabs, Integer AMaxWidth)
        : FTabs(ATabs), FMaxWidth(AMaxWidth) {
        FEllipsis.Text = Ellipsis;
        FEllipsis.Advances.resize(Ellipsis.size());
        AMeasurer.Advances(Ellipsis, FEllipsis.Advances.data());
    }

    // The longest start of the line that fits with "..." after it.
    LineText EndEllipsis(const LineText& ALine) const {
        const std::vector<Integer> positions = Positions(ALine, 0, FTabs);
        const Integer ellipsisWidth = Width(FEllipsis, nullptr);
        size_t keep = ALine.Text.size();
        while (keep > 0 && (positions[keep] + ellipsisWidth > FMaxWidth ||
                            (keep < ALine.Text.size() && IsLowSurrogate(ALine.Text[keep]))))
            --keep;
        LineText result = Slice(ALine, 0, keep);
        Append(result, FEllipsis);
        return result;
    }

    // Keeps what follows the last path delimiter and as much of what comes
    // before it as fits, with "..." between.
    LineText PathEllipsis(const LineText& ALine) const {
        const size_t delimiter = ALine.Text.find_last_of(u"\\/");
        if (delimiter == String::npos) return EndEllipsis(ALine);
        const LineText tail = Slice(ALine, delimiter, ALine.Text.size());
        for (size_t keep = delimiter;; --keep) {
            if (keep > 0 && IsLowSurrogate(ALine.Text[keep])) continue;
            LineText candidate = Slice(ALine, 0, keep);
            Append(candidate, FEllipsis);
            Append(candidate, tail);
            if (Width(candidate, FTabs) <= FMaxWidth) return candidate;
            // Not even the file name fits: it keeps its start instead.
            if (keep == 0) return EndEllipsis(candidate);
        }
    }

  private:
    const TabStops* FTabs;
    Integer FMaxWidth;
    LineText FEllipsis;
};

// Places a prepared line: runs split at tabs, underline spans.
TextLine PlaceLine(const LineText& ALine, Integer AX, Integer AY, const TabStops* ATabs, Integer ATabOrigin) {
    const std::vector<Integer> positions = Positions(ALine, ATabOrigin, ATabs);
    TextLine line;
    line.X = AX;
    line.Y = AY;
    line.Width = positions.back() - ATabOrigin;
    const Integer shift = AX - ATabOrigin;
    size_t runStart = 0;
    for (size_t i = 0; i <= ALine.Text.size(); ++i) {
        const bool end = i == ALine.Text.size();
        if (!end && !(ATabs && ALine.Text[i] == u'\t')) continue;
        if (i > runStart)
            line.Runs.push_back({positions[runStart] + shift, ALine.Text.substr(runStart, i - runStart)});
        runStart = i + 1;
    }
    for (size_t index : ALine.Underlined) {
        size_t next = index + 1;
        if (next < ALine.Text.size() && IsLowSurrogate(ALine.Text[next])) ++next;
        line.Underlines.push_back({positions[index] + shift, positions[next] - positions[index]});
    }
    return line;
}

}  // namespace

Integer TabStops::Next(Integer AX) const {
    // Wide arithmetic: stops and origins come from callers unchecked.
    const auto clamp = [](Int64 AValue) { return Integer(std::clamp<Int64>(AValue, INT32_MIN, INT32_MAX)); };
    for (Integer stop : Stops)
        if (Int64(Origin) + stop > AX) return clamp(Int64(Origin) + stop);
    if (Interval <= 0) return AX;
    const Int64 distance = Int64(AX) - Origin;
    const Int64 passed = distance >= 0 ? distance / Interval : -((-distance + Interval - 1) / Interval);
    return clamp(Origin + (passed + 1) * Interval);
}

TabStops TabbedTextStops(const Integer* AStops, Integer ACount, Integer AOrigin, Integer ADefaultInterval) {
    TabStops tabs;
    tabs.Origin = AOrigin;
    tabs.Interval = ADefaultInterval;
    if (!AStops || ACount <= 0) return tabs;
    if (ACount == 1) {
        if (AStops[0] != 0) tabs.Interval = Magnitude(AStops[0]);
        return tabs;
    }
    // Right-aligned stops (negative) are not used here: they count as left.
    for (Integer i = 0; i < ACount; ++i)
        tabs.Stops.push_back(Magnitude(AStops[i]));
    return tabs;
}

TextLayout LayoutDrawText(std::u16string_view AText, const TextBox& ARect, const DrawTextOptions& AOptions,
                          TextMeasurer& AMeasurer) {
    const UINT format = AOptions.Format;
    const bool singleLine = format & DT_SINGLELINE;
    const bool calcRect = format & DT_CALCRECT;
    const Integer left = ARect.Left + AOptions.LeftMargin;
    const Integer right = ARect.Right - AOptions.RightMargin;
    const Integer maxWidth = right - left;

    TabStops tabStops;
    tabStops.Interval = (AOptions.TabLength > 0 ? AOptions.TabLength : 8) * AMeasurer.AveCharWidth();
    const TabStops* tabs = format & DT_EXPANDTABS ? &tabStops : nullptr;

    std::vector<LineText> lines;
    if (!AText.empty()) {
        const std::vector<std::u16string_view> hardLines =
            singleLine ? std::vector<std::u16string_view>{AText} : HardLines(AText);
        for (std::u16string_view hardLine : hardLines) {
            LineText line = StripPrefixes(hardLine, !(format & DT_NOPREFIX), !(format & DT_HIDEPREFIX));
            line.Advances.resize(line.Text.size());
            AMeasurer.Advances(line.Text, line.Advances.data());
            if ((format & DT_WORDBREAK) && !singleLine) {
                for (LineText& wrapped : WrapLine(line, tabs, maxWidth))
                    lines.push_back(std::move(wrapped));
            } else {
                lines.push_back(std::move(line));
            }
        }
    }

    // Measuring gives the room the whole text needs, so only drawing shortens.
    if ((format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) && !calcRect) {
        const Shortener shortener(AMeasurer, tabs, maxWidth);
        for (LineText& line : lines)
            if (Width(line, tabs) > maxWidth)
                line = format & DT_PATH_ELLIPSIS ? shortener.PathEllipsis(line) : shortener.EndEllipsis(line);
    }

    TextLayout layout;
    layout.LineHeight = AMeasurer.LineHeight();
    const Integer height = layout.LineHeight * Integer(lines.size());
    Integer top = ARect.Top;
    if (singleLine && !calcRect && !lines.empty()) {
        if (format & DT_VCENTER)
            top = ARect.Top + (ARect.Bottom - ARect.Top - layout.LineHeight) / 2;
        else if (format & DT_BOTTOM)
            top = ARect.Bottom - layout.LineHeight;
    }
    Integer widest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Integer width = Width(lines[i], tabs);
        widest = std::max(widest, width);
        Integer x = left;
        if (format & DT_CENTER)
            x = left + (maxWidth - width) / 2;
        else if (format & DT_RIGHT)
            x = right - width;
        layout.Lines.push_back(PlaceLine(lines[i], x, top + Integer(i) * layout.LineHeight, tabs, 0));
    }
    layout.Result = singleLine && !calcRect && (format & (DT_VCENTER | DT_BOTTOM)) && !lines.empty()
                        ? top - ARect.Top + layout.LineHeight
                        : height;
    layout.Bounds = {ARect.Left, ARect.Top, left + widest + AOptions.RightMargin, ARect.Top + height};
    return layout;
}

TextLine LayoutTabbedLine(std::u16string_view AText, Integer AX, Integer AY, const TabStops& ATabs,
                          TextMeasurer& AMeasurer) {
    LineText line;
    line.Text = AText;
    line.Advances.resize(AText.size());
    AMeasurer.Advances(AText, line.Advances.data());
    return PlaceLine(line, AX, AY, &ATabs, AX);
}

}  // namespace gdi
