// The looks of the project skins: their palettes and sizes, and the parts
// that build them.
#pragma once

#include "skinbuilder.h"

struct TSkinTheme {
    String Name;
    String Comments;
    // Forms and panels; text fields, lists and menus; button faces.
    TRgb Window;
    TRgb Surface;
    TRgb Raised;
    // Faces under the pointer and pressed.
    TRgb Hover;
    TRgb Pressed;
    TRgb Border;
    TRgb BorderStrong;
    // Focus, selection and hot borders; light selection; text on the accent.
    TRgb Accent;
    TRgb AccentSoft;
    TRgb OnAccent;
    TRgb Text;
    TRgb TextMuted;
    TRgb TextDisabled;
    TRgb DisabledFace;
    TRgb DisabledBorder;
    TRgb Caption;
    TRgb CaptionInactive;
    TRgb CaptionText;
    TRgb CaptionTextInactive;
    TRgb CaptionHover;
    TRgb CaptionDown;
    TRgb Close;
    TRgb CloseDown;
    TRgb Track;
    TRgb Thumb;
    TRgb ThumbHover;
    TRgb ThumbDown;
    TRgb HeaderFace;
    TRgb TooltipFace;
    TRgb TooltipBorder;
    TRgb TooltipText;
    Integer CaptionHeight = 30;
    // Round top corners of the frame, cut by a mask; 0 for square ones.
    Integer FrameRadius = 0;
    // An animated emblem in the caption, left of the caption buttons.
    bool Emblem = false;
    // The application menu has a back button and covers the whole client area.
    bool AppMenuBackButton = false;
    TSkinFont Font;
    TSkinFont CaptionFont;
};

const TSkinTheme& DefaultTheme();
const TSkinTheme& SecondTheme();

// The frame, the popup and hint windows, the colours and the skin objects.
void BuildFrame(TSkinBuilder& ASkin, const TSkinTheme& ATheme);
// The control elements.
void BuildControls(TSkinBuilder& ASkin, const TSkinTheme& ATheme);
// The ribbon's tab row, application button and application menu.
void BuildRibbon(TSkinBuilder& ASkin, const TSkinTheme& ATheme);
// The layered frame: a soft shadow where the frame has round corners.
void BuildLayerFrame(TSkinBuilder& ASkin, const TSkinTheme& ATheme);

// A face with a one-pixel border and round corners over the colour AUnder.
void PaintFace(TSkinPainter& APainter, const TRect& ARect, TRgb AUnder, TRgb AFace, TRgb ABorder,
               double ARadius);
// Small strokes centred on (X, Y), about ASize across.
void PaintChevron(TSkinPainter& APainter, double X, double Y, double ASize, TRgb AColor, Integer ADirection);
void PaintCheckMark(TSkinPainter& APainter, double X, double Y, double ASize, TRgb AColor);
