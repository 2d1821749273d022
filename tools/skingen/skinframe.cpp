// The form frame, the popup and hint windows, the colours and the skin objects.
#include <algorithm>
#include <cmath>

#include "skindesign.h"

namespace {

// The frame picture's size: wide enough that the caption buttons' rectangle
// lies in its right half, so the buttons stay at the right edge.
constexpr Integer FrameWidth = 400;
constexpr Integer FrameHeight = 160;
// Fixed columns of the frame: the left one under the system menu, the right
// one under the caption buttons.
constexpr Integer FrameLeft = 40;
constexpr Integer FrameRight = 200;
constexpr Integer CaptionButtonWidth = 46;
// The caption keeps room for the most buttons a form shows: close,
// maximize, minimize and roll-up.
constexpr Integer CaptionButtons = 4;
constexpr Integer SysMenuWidth = 34;
// The emblem's size and the room kept for it left of the caption buttons.
constexpr Integer EmblemSize = 16;
constexpr Integer EmblemSpace = 22;
constexpr Integer EmblemFrames = 6;

Integer FrameRightOf(const TSkinTheme& ATheme) {
    return FrameRight + (ATheme.Emblem ? EmblemSpace : 0);
}

// How far the caption's cells stay from the frame's sides: past the
// one-pixel border, and past the round corners' curve.
Integer CaptionInset(const TSkinTheme& ATheme) {
    return std::max<Integer>(1, ATheme.FrameRadius);
}

void PaintFrame(TSkinPainter& APainter, const TSkinTheme& ATheme, bool AActive) {
    const Integer ch = ATheme.CaptionHeight;
    const TRgb caption = AActive ? ATheme.Caption : ATheme.CaptionInactive;
    const TRgb edge = AActive ? ATheme.BorderStrong : ATheme.Border;
    const TRect whole = Rect(0, 0, FrameWidth, FrameHeight);
    APainter.Fill(whole, caption);
    if (ATheme.FrameRadius > 0) {
        APainter.FillTopRoundRect(whole, ATheme.FrameRadius, edge);
        APainter.FillTopRoundRect(Rect(1, 1, FrameWidth - 1, FrameHeight), ATheme.FrameRadius - 1, caption);
    } else {
        APainter.Fill(whole, edge);
        APainter.Fill(Rect(1, 1, FrameWidth - 1, FrameHeight), caption);
    }
    APainter.Fill(Rect(1, ch, FrameWidth - 1, ch + 1), ATheme.Border);
    APainter.Fill(Rect(1, ch + 1, FrameWidth - 1, FrameHeight - 1), ATheme.Window);
    APainter.Fill(Rect(0, FrameHeight - 1, FrameWidth, FrameHeight), edge);
}

// Black inside the window, white outside its round top corners.
void PaintMask(TSkinPainter& APainter, const TSkinTheme& ATheme) {
    TSkinPainter shape(FrameWidth, FrameHeight, Rgb(0xFFFFFF));
    shape.FillTopRoundRect(Rect(0, 0, FrameWidth, FrameHeight), ATheme.FrameRadius, Rgb(0));
    for (Integer y = 0; y < FrameHeight; ++y)
        for (Integer x = 0; x < FrameWidth; ++x)
            APainter.SetPixel(x, y, shape.Pixel(x, y).R < 128 ? Rgb(0) : Rgb(0xFFFFFF));
}

enum TCaptionGlyph { cgClose, cgMaximize, cgMinimize, cgRestore, cgRollUp, cgRollDown, cgSysMenu };

void PaintCaptionGlyph(TSkinPainter& APainter, const TRect& ACell, TCaptionGlyph AGlyph, TRgb AColor,
                       const TSkinTheme& ATheme) {
    const double cx = (ACell.Left + ACell.Right) / 2.0, cy = (ACell.Top + ACell.Bottom) / 2.0;
    switch (AGlyph) {
        case cgClose:
            APainter.Line(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, 1.2, AColor);
            APainter.Line(cx - 4.5, cy + 4.5, cx + 4.5, cy - 4.5, 1.2, AColor);
            break;
        case cgMaximize:
            APainter.StrokeRoundRect(Rect(Integer(cx) - 5, Integer(cy) - 5, Integer(cx) + 5, Integer(cy) + 5),
                                     1.5, 1, AColor);
            break;
        case cgMinimize:
            APainter.Fill(Rect(Integer(cx) - 5, Integer(cy), Integer(cx) + 5, Integer(cy) + 1), AColor);
            break;
        case cgRestore:
            APainter.StrokeRoundRect(Rect(Integer(cx) - 5, Integer(cy) - 3, Integer(cx) + 3, Integer(cy) + 5),
                                     1.5, 1, AColor);
            APainter.Polyline({{cx - 2.5, cy - 4.5}, {cx + 4.5, cy - 4.5}, {cx + 4.5, cy + 2.5}}, 1, AColor);
            break;
        case cgRollUp:
        case cgRollDown: {
            // A bar for the caption and a chevron towards it or away from it.
            const double tip = AGlyph == cgRollUp ? -1 : 1;
            APainter.Fill(Rect(Integer(cx) - 5, Integer(cy) - 5, Integer(cx) + 5, Integer(cy) - 4), AColor);
            APainter.Polyline(
                {{cx - 4, cy + 1.5 - tip * 2}, {cx, cy + 1.5 + tip * 2}, {cx + 4, cy + 1.5 - tip * 2}}, 1.2,
                AColor);
            break;
        }
        case cgSysMenu: {
            // The program's mark: a play sign on an accent tile.
            const TRect tile = Rect(Integer(cx) - 8, Integer(cy) - 8, Integer(cx) + 8, Integer(cy) + 8);
            APainter.FillRoundRect(tile, 4, ATheme.Accent);
            APainter.FillPolygon({{cx - 2.5, cy - 4}, {cx + 4.5, cy}, {cx - 2.5, cy + 4}}, ATheme.OnAccent);
            break;
        }
    }
}

void BuildCaptionButtons(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const Integer h = ATheme.CaptionHeight - 1;
    const String picture = u"captionbuttons.bmp";
    // Columns: the four buttons' faces, the maximize and roll-up buttons'
    // second faces, then the narrower system menu.
    constexpr Integer SysMenuColumn = 6;
    const Integer index = ASkin.ActivePicture(picture, SysMenuColumn * CaptionButtonWidth + SysMenuWidth,
                                              4 * h, ATheme.Caption);
    TSkinPainter& p = ASkin.Painter(index);
    struct TButton {
        const char16_t* Name;
        const char16_t* Command;
        const char16_t* Hint;
        TCaptionGlyph Glyph;
        // The column of the face shown while maximized or rolled up; -1 for none.
        Integer RestoreColumn;
    };
    const TButton buttons[] = {{u"closebutton", u"cmclose", u"Close", cgClose, -1},
                               {u"maxbutton", u"cmmaximize", u"Maximize", cgMaximize, 3},
                               {u"minbutton", u"cmminimize", u"Minimize", cgMinimize, -1},
                               {u"restore", nullptr, nullptr, cgRestore, -1},
                               {u"rollupbutton", u"cmrollup", u"Roll Up", cgRollUp, 5},
                               {u"rolldown", nullptr, nullptr, cgRollDown, -1},
                               {u"sysmenubutton", u"cmsysmenu", u"System menu", cgSysMenu, -1}};
    // Rows: normal, under the pointer, pressed, on an inactive form.
    const auto cell = [&](Integer AColumn, Integer ARow) {
        const Integer width = AColumn == SysMenuColumn ? SysMenuWidth : CaptionButtonWidth;
        return Bounds(AColumn * CaptionButtonWidth, ARow * h, width, h);
    };
    for (Integer column = 0; column <= SysMenuColumn; ++column) {
        const bool close = column == 0, sysmenu = column == SysMenuColumn;
        for (Integer row = 0; row < 4; ++row) {
            const TRect r = cell(column, row);
            TRgb face = row == 3 ? ATheme.CaptionInactive : ATheme.Caption;
            TRgb glyph = row == 3 ? ATheme.CaptionTextInactive : ATheme.CaptionText;
            if (row == 1 && !sysmenu) face = close ? ATheme.Close : ATheme.CaptionHover;
            if (row == 2 && !sysmenu) face = close ? ATheme.CloseDown : ATheme.CaptionDown;
            if (close && (row == 1 || row == 2)) glyph = Rgb(0xFFFFFF);
            p.Fill(r, face);
            PaintCaptionGlyph(p, r, buttons[column].Glyph, glyph, ATheme);
        }
    }
    for (const Integer column : {SysMenuColumn, 2, 1, 0, 4}) {
        const TButton& b = buttons[column];
        ASkin.Object(b.Name, u"stdbutton");
        ASkin.Set(b.Name, u"hint", b.Hint);
        ASkin.SetInt(b.Name, u"activepictureindex", index);
        ASkin.SetBool(b.Name, u"skinrectinapicture", true);
        ASkin.Image(b.Name, u"skinrect", picture, cell(column, 0));
        ASkin.Image(b.Name, u"activeskinrect", picture, cell(column, 1));
        ASkin.Image(b.Name, u"inactiveskinrect", picture, cell(column, 3));
        ASkin.SetBool(b.Name, u"morphing", column != SysMenuColumn);
        ASkin.Set(b.Name, u"morphkind", u"mkdefault");
        ASkin.Image(b.Name, u"downrect", picture, cell(column, 2));
        ASkin.Set(b.Name, u"command", b.Command);
        if (b.RestoreColumn >= 0) {
            ASkin.Image(b.Name, u"restorerect", picture, cell(b.RestoreColumn, 0));
            ASkin.Image(b.Name, u"restoreactiverect", picture, cell(b.RestoreColumn, 1));
            ASkin.Image(b.Name, u"restoredownrect", picture, cell(b.RestoreColumn, 2));
            ASkin.Image(b.Name, u"restoreinactiverect", picture, cell(b.RestoreColumn, 3));
            ASkin.Set(b.Name, u"restorehint", u"Restore");
        }
    }
}

void BuildMenuItem(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const String picture = u"menuitem.bmp";
    const Integer index = ASkin.ActivePicture(picture, 112, 61, ATheme.Surface);
    TSkinPainter& p = ASkin.Painter(index);
    const TRect item = Rect(0, 0, 80, 26), active = Rect(0, 26, 80, 52), divider = Rect(0, 52, 80, 61);
    p.FillRoundRect(Rect(3, 27, 77, 51), 4, ATheme.AccentSoft);
    p.Fill(Rect(8, 56, 72, 57), ATheme.Border);
    const auto glyphCell = [](Integer AColumn, Integer ARow) {
        return Bounds(80 + 16 * AColumn, 16 * ARow, 16, 16);
    };
    for (Integer column = 0; column < 2; ++column) {
        const TRgb under = column == 0 ? ATheme.Surface : ATheme.AccentSoft;
        for (Integer row = 0; row < 3; ++row) {
            const TRect r = glyphCell(column, row);
            p.Fill(r, under);
            const double cx = r.Left + 8, cy = r.Top + 8;
            if (row == 0) PaintCheckMark(p, cx, cy, 10, ATheme.Text);
            if (row == 1) p.FillCircle(cx, cy, 3, ATheme.Text);
            if (row == 2) PaintChevron(p, cx, cy, 7, ATheme.Text, 3);
        }
    }
    const String s = u"menuitem";
    ASkin.Object(s, u"menuitem");
    ASkin.SetInt(s, u"activepictureindex", index);
    ASkin.Image(s, u"skinrect", picture, item, isHorz3, 8, 72);
    ASkin.Image(s, u"activeskinrect", picture, active, isHorz3, 8, 72);
    ASkin.SetInt(s, u"itemleftoffset", 8);
    ASkin.SetInt(s, u"itemrightoffset", 8);
    ASkin.Image(s, u"dividerrect", picture, divider, isHorz3, 8, 72);
    ASkin.SetInt(s, u"dividerleftoffset", 8);
    ASkin.SetInt(s, u"dividerrightoffset", 8);
    ASkin.SetRect(s, u"textrect", Rect(30, 0, 70, 26));
    ASkin.SetRect(s, u"imagerect", Rect(6, 3, 26, 23));
    ASkin.SetFont(s, ATheme.Font, ATheme.Text);
    ASkin.SetColor(s, u"activefontcolor", ATheme.Text);
    ASkin.SetColor(s, u"unenabledfontcolor", ATheme.TextDisabled);
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.SetBool(s, u"inactivestretcheffect", true);
    ASkin.SetBool(s, u"dividerstretcheffect", true);
    ASkin.Image(s, u"checkimagerect", picture, glyphCell(0, 0));
    ASkin.Image(s, u"activecheckimagerect", picture, glyphCell(1, 0));
    ASkin.Image(s, u"radioimagerect", picture, glyphCell(0, 1));
    ASkin.Image(s, u"activeradioimagerect", picture, glyphCell(1, 1));
    ASkin.Image(s, u"arrowimagerect", picture, glyphCell(0, 2));
    ASkin.Image(s, u"activearrowimagerect", picture, glyphCell(1, 2));
}

void BuildMenuBarItem(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const String picture = u"menubaritem.bmp";
    const Integer index = ASkin.ActivePicture(picture, 40, 78, ATheme.Surface);
    TSkinPainter& p = ASkin.Painter(index);
    for (Integer row = 0; row < 3; ++row) {
        p.Fill(Rect(0, 26 * row + 25, 40, 26 * row + 26), ATheme.Border);
        if (row > 0)
            p.FillRoundRect(Rect(2, 26 * row + 3, 38, 26 * row + 23), 4,
                            row == 1 ? ATheme.Hover : ATheme.AccentSoft);
    }
    const String s = u"menubaritem";
    ASkin.Object(s, u"mainmenubaritem");
    ASkin.SetInt(s, u"activepictureindex", index);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 40, 26), isHorz3, 6, 34);
    ASkin.Image(s, u"activeskinrect", picture, Rect(0, 26, 40, 52), isHorz3, 6, 34);
    ASkin.SetInt(s, u"itemleftoffset", 6);
    ASkin.SetInt(s, u"itemrightoffset", 6);
    ASkin.Image(s, u"downrect", picture, Rect(0, 52, 40, 78), isHorz3, 6, 34);
    ASkin.SetRect(s, u"textrect", Rect(6, 0, 34, 25));
    ASkin.SetFont(s, ATheme.Font, ATheme.Text);
    ASkin.SetColor(s, u"activefontcolor", ATheme.Text);
    ASkin.SetColor(s, u"downfontcolor", ATheme.Text);
    ASkin.SetColor(s, u"unenabledfontColor", ATheme.TextDisabled);
    ASkin.SetBool(s, u"stretcheffect", true);
}

// A square window picture with a one-pixel border, as large as AInset
// pixels of fixed corners and a stretched rest need.
void WindowPicture(TSkinBuilder& ASkin, const String& ASection, const String& APicture, Integer ASize,
                   Integer AInset, TRgb ABorder, TRgb AFace) {
    const Integer index = ASkin.ActivePicture(APicture, ASize, ASize, AFace);
    TSkinPainter& p = ASkin.Painter(index);
    p.Fill(Rect(0, 0, ASize, ASize), ABorder);
    p.Fill(Rect(1, 1, ASize - 1, ASize - 1), AFace);
    const Integer far = ASize - AInset;
    ASkin.RecordImage({ASection, u"windowpictureindex", APicture, Rect(0, 0, ASize, ASize), isNine, AInset,
                       far, AInset, far});
    ASkin.SetInt(ASection, u"windowpictureindex", index);
    ASkin.SetCorners(ASection, Point(AInset, AInset), Point(far, AInset), Point(AInset, far),
                     Point(far, far));
    for (const char16_t* key :
         {u"leftstretch", u"rightstretch", u"topstretch", u"bottomstretch", u"stretcheffect"})
        ASkin.SetBool(ASection, key, true);
}

// A dot turning round a ring, one sixth a frame, in the fixed right part of
// the caption just left of the buttons; frame N lies N - 1 widths right of
// the first in the emblem's picture.
void BuildEmblem(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const Integer h = ATheme.CaptionHeight - 1;
    const Integer left = FrameWidth - CaptionInset(ATheme) - CaptionButtons * CaptionButtonWidth -
                         EmblemSpace + (EmblemSpace - EmblemSize) / 2;
    const Integer top = 1 + (h - EmblemSize) / 2;
    const String picture = u"emblem.bmp";
    const Integer index =
        ASkin.ActivePicture(picture, left + EmblemFrames * EmblemSize, top + EmblemSize, ATheme.Caption);
    TSkinPainter& p = ASkin.Painter(index);
    for (Integer n = 0; n < EmblemFrames; ++n) {
        const double cx = left + n * EmblemSize + EmblemSize / 2.0, cy = top + EmblemSize / 2.0;
        p.FillCircle(cx, cy, 7, ATheme.Accent);
        p.FillCircle(cx, cy, 4.5, ATheme.Caption);
        const double angle = n * 3.14159265358979 / 3;
        p.FillCircle(cx + 5.2 * std::cos(angle), cy + 5.2 * std::sin(angle), 2.2, ATheme.OnAccent);
    }
    const String s = u"emblem";
    ASkin.Object(s, u"animate");
    ASkin.SetInt(s, u"activepictureindex", index);
    ASkin.Image(s, u"skinrect", picture, Bounds(left, top, EmblemSize, EmblemSize));
    ASkin.SetInt(s, u"countframes", EmblemFrames);
    ASkin.SetBool(s, u"cycle", true);
    ASkin.SetBool(s, u"buttonstyle", false);
    ASkin.SetInt(s, u"timerinterval", 40);
    ASkin.Set(s, u"command", u"cmdefault");
}

// The system buttons of a maximized child form on the menu bar: close,
// minimize, maximize (showing its restore look) and the system menu.
void BuildMenuBarButtons(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const Integer w = 22, h = 20;
    const String picture = u"menubarbuttons.bmp";
    const Integer index = ASkin.ActivePicture(picture, 5 * w, 3 * h, ATheme.Surface);
    TSkinPainter& p = ASkin.Painter(index);
    struct TButton {
        const char16_t* Name;
        const char16_t* Command;
        TCaptionGlyph Glyph;
    };
    const TButton buttons[] = {{u"mdiclosebutton", u"cmclose", cgClose},
                               {u"mdiminbutton", u"cmminimize", cgMinimize},
                               {u"mdimaxbutton", u"cmmaximize", cgMaximize},
                               {u"mdisysmenubutton", u"cmsysmenu", cgSysMenu},
                               {nullptr, nullptr, cgRestore}};
    const auto cell = [&](Integer AColumn, Integer ARow) { return Bounds(AColumn * w, ARow * h, w, h); };
    for (Integer column = 0; column < 5; ++column)
        for (Integer row = 0; row < 3; ++row) {
            const TRect r = cell(column, row);
            const TRgb face = row == 0 ? ATheme.Surface : row == 1 ? ATheme.Hover : ATheme.Pressed;
            p.Fill(r, face);
            if (buttons[column].Glyph == cgSysMenu) {
                p.FillRoundRect(Rect(r.Left + 5, r.Top + 4, r.Right - 5, r.Bottom - 4), 3, ATheme.Accent);
            } else {
                PaintCaptionGlyph(p, r, buttons[column].Glyph, ATheme.Text, ATheme);
            }
        }
    for (Integer column = 0; column < 4; ++column) {
        const TButton& b = buttons[column];
        ASkin.Object(b.Name, u"mainmenubarbutton");
        ASkin.SetInt(b.Name, u"activepictureindex", index);
        ASkin.SetBool(b.Name, u"skinrectinapicture", true);
        ASkin.Set(b.Name, u"command", b.Command);
        // The maximize button of a maximized child restores it: it shows
        // the restore look, also as its restore rectangles.
        const Integer look = column == 2 ? 4 : column;
        ASkin.Image(b.Name, u"skinrect", picture, cell(look, 0));
        ASkin.Image(b.Name, u"activeskinrect", picture, cell(look, 1));
        ASkin.Image(b.Name, u"downrect", picture, cell(look, 2));
        if (column == 2) {
            ASkin.Image(b.Name, u"restorerect", picture, cell(4, 0));
            ASkin.Image(b.Name, u"restoreactiverect", picture, cell(4, 1));
            ASkin.Image(b.Name, u"restoredownrect", picture, cell(4, 2));
        }
    }
}

void BuildCaption(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const Integer h = ATheme.CaptionHeight - 1;
    const Integer right = FrameWidth - CaptionInset(ATheme) - CaptionButtons * CaptionButtonWidth -
                          (ATheme.Emblem ? EmblemSpace : 0);
    const String s = u"caption";
    ASkin.Object(s, u"caption");
    ASkin.SetRect(s, u"skinrect", Rect(CaptionInset(ATheme), 1, right, 1 + h));
    ASkin.SetRect(s, u"textrect", Rect(6, 0, right - CaptionInset(ATheme) - 6, h));
    ASkin.SetFont(s, ATheme.CaptionFont, ATheme.CaptionTextInactive);
    ASkin.SetColor(s, u"activefontcolor", ATheme.CaptionText);
    ASkin.Set(s, u"alignment", u"taleftjustify");
}

}  // namespace

void BuildFrame(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    ASkin.SetInt(u"VERSION", u"ver", 1);
    ASkin.Set(u"VERSION", u"skinname", ATheme.Name);
    ASkin.Set(u"VERSION", u"skinauthor", u"Velqua");
    ASkin.Set(u"VERSION", u"skincomments", ATheme.Comments);

    const Integer ch = ATheme.CaptionHeight;
    const Integer frameRight = FrameRightOf(ATheme);
    const TPoint lt = Point(FrameLeft, ch + 1), rt = Point(FrameWidth - frameRight, ch + 1);
    const TPoint lb = Point(FrameLeft, FrameHeight - 1), rb = Point(FrameWidth - frameRight, FrameHeight - 1);
    PaintFrame(ASkin.BasePicture(u"picture", u"form.bmp", FrameWidth, FrameHeight, ATheme.Window), ATheme,
               true);
    PaintFrame(
        ASkin.BasePicture(u"inactivepicture", u"forminactive.bmp", FrameWidth, FrameHeight, ATheme.Window),
        ATheme, false);
    if (ATheme.FrameRadius > 0)
        PaintMask(ASkin.BasePicture(u"mask", u"formmask.bmp", FrameWidth, FrameHeight, Rgb(0)), ATheme);
    else
        ASkin.Set(u"PICTURES", u"mask", u"");
    for (const char16_t* key : {u"picture", u"inactivepicture"})
        ASkin.RecordImage({u"FORMINFO", key, key == String(u"picture") ? u"form.bmp" : u"forminactive.bmp",
                           Rect(0, 0, FrameWidth, FrameHeight), isNine, lt.X, rt.X, lt.Y, lb.Y});

    const String f = u"FORMINFO";
    ASkin.SetCorners(f, lt, rt, lb, rb);
    ASkin.SetRect(f, u"clientrect", Rect(1, ch + 1, FrameWidth - 1, FrameHeight - 1));
    for (const char16_t* key :
         {u"leftstretch", u"rightstretch", u"topstretch", u"bottomstretch", u"stretcheffect"})
        ASkin.SetBool(f, key, true);
    ASkin.Set(f, u"stretchtype", u"stfull");
    // Solid below the round corners, all but the one-pixel border: the
    // border stays a sizing band as it is without a mask.
    if (ATheme.FrameRadius > 0)
        ASkin.SetRect(f, u"maskrectarea", Rect(1, ATheme.FrameRadius, FrameWidth - 1, FrameHeight - 1));
    ASkin.SetPoint(f, u"hittestlefttoppoint", Point(12, 12));
    ASkin.SetPoint(f, u"hittestrighttoppoint", Point(FrameWidth - 12, 12));
    ASkin.SetPoint(f, u"hittestleftbottompoint", Point(12, FrameHeight - 12));
    ASkin.SetPoint(f, u"hittestrightbottompoint", Point(FrameWidth - 12, FrameHeight - 12));
    // The caption cells keep clear of the round corners: they would cover
    // the outline and the pixels the mask cuts away.
    const Integer inset = CaptionInset(ATheme);
    ASkin.SetRect(f, u"buttonsrect",
                  Rect(FrameWidth - inset - CaptionButtons * CaptionButtonWidth, 1, FrameWidth - inset, ch));
    ASkin.SetRect(f, u"captionrect", Rect(inset, 1, FrameWidth - inset, ch));
    ASkin.SetInt(f, u"buttonsoffset", 0);
    ASkin.SetInt(f, u"borderwidth", 4);
    ASkin.SetInt(f, u"formminwidth", 320);
    // No minimum height: a rolled-up or minimized form is its caption strip.
    ASkin.SetInt(f, u"formminheight", 0);

    const String w = u"POPUPWINDOW";
    WindowPicture(ASkin, w, u"popup.bmp", 64, 6, ATheme.BorderStrong, ATheme.Surface);
    ASkin.SetRect(w, u"itemsrect", Rect(3, 3, 61, 61));
    ASkin.SetColor(w, u"scrollmarkercolor", ATheme.TextMuted);
    ASkin.SetColor(w, u"scrollmarkeractivecolor", ATheme.Accent);

    BuildLayerFrame(ASkin, ATheme);

    const String t = u"HINTWINDOW";
    WindowPicture(ASkin, t, u"hint.bmp", 40, 5, ATheme.TooltipBorder, ATheme.TooltipFace);
    ASkin.SetRect(t, u"clientrect", Rect(6, 4, 34, 36));
    ASkin.SetFont(t, ATheme.Font, ATheme.TooltipText);

    const String c = u"SKINCOLORS";
    ASkin.SetColor(c, u"cbtnface", ATheme.Window);
    ASkin.SetColor(c, u"cbtntext", ATheme.Text);
    ASkin.SetColor(c, u"cwindow", ATheme.Surface);
    ASkin.SetColor(c, u"cwindowtext", ATheme.Text);
    ASkin.SetColor(c, u"chighlight", ATheme.Accent);
    ASkin.SetColor(c, u"chighlighttext", ATheme.OnAccent);
    ASkin.SetColor(c, u"cbtnhighlight", ATheme.Raised);
    ASkin.SetColor(c, u"cbtnshadow", ATheme.BorderStrong);

    BuildCaption(ASkin, ATheme);
    BuildCaptionButtons(ASkin, ATheme);
    BuildMenuItem(ASkin, ATheme);
    BuildMenuBarItem(ASkin, ATheme);
    BuildMenuBarButtons(ASkin, ATheme);
    if (ATheme.Emblem) BuildEmblem(ASkin, ATheme);
}
