// Icon files: a directory of pictures, each either a whole PNG file or a
// bitmap without its file header whose height counts the colour rows and
// the 1-bit AND mask below them.
#pragma once

#include <span>

#include "platform/gdi/imagedata.h"

// The largest picture of the file (of equal ones the deepest), with alpha:
// its own alpha channel, or else its AND mask (a set bit is transparent).
// HasAlpha is always set. EInvalidGraphic "Icon image is not valid" for
// anything but an icon file whose chosen picture is whole; a picture of
// another kind than PNG or bitmap also counts as damaged.
TImageData DecodeIco(std::span<const Byte> AData);
