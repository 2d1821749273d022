// The pictures the program carries, drawn in code. Compiled in: the shell's
// picture set at 16 and 32 pixels ("SHELL_<KIND>_16", "SHELL_<KIND>_32"),
// the message box's stock icons ("IDI_HAND", ...), and the bitmaps of the
// drive and folder lists ("QX_FLOPPY", ...) and the file dialogs' tool
// buttons ("QX_BACK_PNG", ...), in pictures.cpp. As files of
// the resources folder, named by their path there: the program's icon and
// the pictures its form descriptions name, in programpictures.cpp. A new
// picture is one more row of a table and a function that draws it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "iconpainter.h"

enum TPictureKind {
    // A PNG file with alpha.
    pkPng,
    // A 24-bit BMP file whose bottom-left pixel holds the transparent colour
    // (fuchsia), which no other pixel has.
    pkBitmap,
};

enum TPictureLook {
    plPlain,
    // Grey and lighter: a disabled control's.
    plDisabled,
    // Brighter: under the mouse.
    plHot,
};

struct TPictureRecipe {
    std::string Name;
    Integer Width = 0;
    Integer Height = 0;
    TPictureKind Kind = pkPng;
    // Pixels per design unit; the designs are laid out on a 32-unit square.
    double Scale = 1;
    std::function<void(TIconPainter&)> Draw;
    TPictureLook Look = plPlain;
};

// Compiled in.
const std::vector<TPictureRecipe>& PictureRecipes();
// Files under the resources folder.
const std::vector<TPictureRecipe>& ProgramPictureRecipes();

// Designs both tables draw.
void DrawFolder(TIconPainter& P, bool AOpen);
void DrawVideo(TIconPainter& P);
void DrawDisc(TIconPainter& P, double ACentreY, double ARadius);
// The pixels: with alpha for PNGs; opaque or the transparent colour for bitmaps.
TImageData RenderPicture(const TPictureRecipe& ARecipe);
// The file: PNG or BMP bytes.
std::vector<Byte> EncodePicture(const TPictureRecipe& ARecipe);
