#include "strokefont.h"

#include <algorithm>
#include <vector>

namespace {

using TStroke = std::vector<TPointF>;

struct TGlyph {
    char Character;
    // Narrow characters take less room than the 4 units of the others.
    double Width;
    std::vector<TStroke> Strokes;
};

const std::vector<TGlyph>& Glyphs() {
    static const std::vector<TGlyph> glyphs{
        {'A', 4, {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}},
        {'B',
         4,
         {{{0, 3},
           {0, 0},
           {2.8, 0},
           {3.7, 0.8},
           {3.7, 2.2},
           {2.8, 3},
           {0, 3},
           {0, 6},
           {3, 6},
           {4, 5.2},
           {4, 3.8},
           {3, 3}}}},
        {'D', 4, {{{0, 0}, {2.2, 0}, {3.6, 1}, {4, 3}, {3.6, 5}, {2.2, 6}, {0, 6}, {0, 0}}}},
        {'F', 3.6, {{{3.6, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
        {'G', 4, {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.2}, {2.2, 3.2}}}},
        {'H', 4, {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}},
        {'I', 0, {{{0, 0}, {0, 6}}}},
        {'K', 4, {{{0, 0}, {0, 6}}, {{4, 0}, {0, 3.6}}, {{1.4, 2.5}, {4, 6}}}},
        {'L', 3.6, {{{0, 0}, {0, 6}, {3.6, 6}}}},
        {'M', 4.6, {{{0, 6}, {0, 0}, {2.3, 3.6}, {4.6, 0}, {4.6, 6}}}},
        {'O', 4, {{{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}}}},
        {'P', 4, {{{0, 6}, {0, 0}, {3, 0}, {4, 0.8}, {4, 2.4}, {3, 3.2}, {0, 3.2}}}},
        {'R', 4, {{{0, 6}, {0, 0}, {3, 0}, {4, 0.8}, {4, 2.4}, {3, 3.2}, {0, 3.2}}, {{2, 3.2}, {4, 6}}}},
        {'S',
         4,
         {{{4, 0.8},
           {3.2, 0},
           {0.8, 0},
           {0, 0.8},
           {0, 2.2},
           {0.8, 3},
           {3.2, 3},
           {4, 3.8},
           {4, 5.2},
           {3.2, 6},
           {0.8, 6},
           {0, 5.2}}}},
        {'T', 4, {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'V', 4, {{{0, 0}, {2, 6}, {4, 0}}}},
        {'W', 5, {{{0, 0}, {1.2, 6}, {2.5, 2}, {3.8, 6}, {5, 0}}}},
        {'3',
         4,
         {{{0, 0.8}, {0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 2.2}, {3.2, 3}, {1.4, 3}},
          {{3.2, 3}, {4, 3.8}, {4, 5.2}, {3.2, 6}, {0.8, 6}, {0, 5.2}}}},
        {'4', 4, {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}}},
    };
    return glyphs;
}

const TGlyph* GlyphOf(char AChar) {
    for (const TGlyph& glyph : Glyphs())
        if (glyph.Character == AChar) return &glyph;
    return nullptr;
}

constexpr double Gap = 1.7;
constexpr double Rows = 6;

}  // namespace

void DrawLabel(TIconPainter& APainter, std::string_view ALabel, double ALeft, double ATop, double ARight,
               double ABottom, double AStroke, const TPaint& APaint) {
    std::vector<const TGlyph*> glyphs;
    for (char c : ALabel)
        if (const TGlyph* glyph = GlyphOf(c)) glyphs.push_back(glyph);
    if (glyphs.empty()) return;
    double width = Gap * double(glyphs.size() - 1);
    for (const TGlyph* glyph : glyphs)
        width += glyph->Width;
    // The strokes reach half their width beyond the grid.
    const double room = std::min((ARight - ALeft - AStroke) / width, (ABottom - ATop - AStroke) / Rows);
    double x = (ALeft + ARight - width * room) / 2;
    const double y = (ATop + ABottom - Rows * room) / 2;
    for (const TGlyph* glyph : glyphs) {
        for (const TStroke& stroke : glyph->Strokes)
            for (size_t i = 1; i < stroke.size(); ++i)
                APainter.Line(x + stroke[i - 1].X * room, y + stroke[i - 1].Y * room, x + stroke[i].X * room,
                              y + stroke[i].Y * room, AStroke, APaint);
        x += (glyph->Width + Gap) * room;
    }
}
