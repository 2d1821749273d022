// Metafiles: plain ones (WMF, with or without the placeable header) played
// by libwmf, enhanced ones (EMF) turned into SVG by libemf2svg and rastered
// by librsvg. Records are walked here first, so that the libraries only see
// files whose records lie inside them.
#pragma once

#include <span>

#include "platform/gdi/imagedata.h"

enum TMetafileKind { mkWmf, mkEmf };

struct TMetafileInfo {
    TMetafileKind Kind = mkWmf;
    // At 96 pixels an inch, at least 1 x 1.
    Integer Width = 0;
    Integer Height = 0;
};

// The kind by content, not by name, and the picture's own size.
// EInvalidGraphic "Metafile is not valid" for anything else, or records that
// run past the end.
TMetafileInfo ProbeMetafile(std::span<const Byte> AData);

// The whole picture scaled into AWidth x AHeight (each at least 1). What an
// EMF does not draw on stays transparent (alpha 0); a WMF is played on a
// white page, as libwmf's player paints one. HasAlpha is set.
// EInvalidGraphic "Metafile is not valid" when it cannot be played.
TImageData RenderMetafile(std::span<const Byte> AData, Integer AWidth, Integer AHeight);
