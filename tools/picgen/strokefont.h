// Short upper-case labels ("AVI", "RMVB", "3GP") drawn as strokes, so that a
// picture can name a format without a font: every character is a few lines
// on a grid 4 units wide and 6 high.
#pragma once

#include <string_view>

#include "iconpainter.h"

// ALabel centred in the box (design units), as large as the box allows;
// characters the font lacks are left out. AStroke is the line width in
// design units.
void DrawLabel(TIconPainter& APainter, std::string_view ALabel, double ALeft, double ATop, double ARight,
               double ABottom, double AStroke, const TPaint& APaint);
