// The ribbon's elements of the project skins: the tab row and page frame
// ("officetab", with the MDI buttons of a maximized child), the
// application button ("officemenubutton") and the application menu
// ("appmenu"). The second skin's menu has a back button and draws its
// caption into the form's frame, so it covers the whole client area.
#include "skindesign.h"

namespace {

const TRgb RibbonKey = Rgb(0xFF00FF);

// The element's index entry and its own picture; the picture's index.
Integer RibbonElement(TSkinBuilder& ASkin, const String& AName, const String& AKind, Integer AWidth,
                      Integer AHeight, TRgb ABackground) {
    ASkin.Control(AName, AKind);
    const Integer index = ASkin.ActivePicture(AName + u".bmp", AWidth, AHeight, ABackground);
    ASkin.SetInt(AName, u"pictureindex", index);
    return index;
}

// A 1-pixel frame of ASize x ASize at the picture's origin, corners of 4,
// its inside scaled: the page frames of the bar and of the menu.
void PageFrame(TSkinBuilder& ASkin, TSkinPainter& APainter, const String& AName, Integer ASize, TRgb ABorder,
               TRgb ATop, TRgb ABottom) {
    APainter.Fill(Rect(0, 0, ASize, ASize), ABorder);
    APainter.FillVertical(Rect(1, 1, ASize - 1, ASize - 1), ATop, ABottom);
    ASkin.SetCorners(AName, Point(4, 4), Point(ASize - 4, 4), Point(4, ASize - 4),
                     Point(ASize - 4, ASize - 4));
    ASkin.SetRect(AName, u"clientrect", Rect(1, 1, ASize - 1, ASize - 1));
    for (const char16_t* key :
         {u"leftstretch", u"topstretch", u"rightstretch", u"bottomstretch", u"stretcheffect"})
        ASkin.SetBool(AName, key, true);
    ASkin.Set(AName, u"stretchtype", u"stfull");
    ASkin.Image(AName, u"skinrect", AName + u".bmp", Rect(0, 0, ASize, ASize), isNine, 4, ASize - 4, 4,
                ASize - 4);
}

// The close, restore and minimize glyphs in a 22 x 22 cell.
void PaintMDIGlyph(TSkinPainter& APainter, const TRect& ACell, Integer ACode, TRgb AColor) {
    const double x = ACell.Left + 11, y = ACell.Top + 11;
    switch (ACode) {
        case 1:
            APainter.Line(x - 4, y - 4, x + 4, y + 4, 1.4, AColor);
            APainter.Line(x + 4, y - 4, x - 4, y + 4, 1.4, AColor);
            break;
        case 2:
            APainter.StrokeRoundRect(Rect(ACell.Left + 6, ACell.Top + 8, ACell.Left + 14, ACell.Top + 16), 1,
                                     1.2, AColor);
            APainter.Polyline({{x - 2, y - 3.5}, {x + 4.5, y - 3.5}, {x + 4.5, y + 2.5}}, 1.2, AColor);
            break;
        default:
            APainter.Line(x - 4, y + 3, x + 4, y + 3, 1.4, AColor);
            break;
    }
}

void BuildOfficeTab(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"officetab", picture = s + u".bmp";
    const Integer tw = 60, th = 26, band = 10, cell = 22, tabs = 64, mdi = tabs + tw + band;
    TSkinPainter& p = ASkin.Painter(RibbonElement(ASkin, s, u"tab", mdi + 3 * cell + 2, 4 * th, T.Caption));
    PageFrame(ASkin, p, s, 64, T.Border, T.Surface, Mix(T.Surface, T.Window, 0.8));
    // Unselected (only its height counts), selected, under the pointer,
    // selected with the focus; then the band behind the row.
    const auto tab = [&](Integer ATop, TRgb AFace, TRgb ABorder, bool AAccent) {
        p.FillTopRoundRect(Rect(tabs, ATop + 2, tabs + tw, ATop + th), 5, ABorder);
        p.FillTopRoundRect(Rect(tabs + 1, ATop + 3, tabs + tw - 1, ATop + th), 4, AFace);
        if (AAccent) p.FillTopRoundRect(Rect(tabs + 2, ATop + 3, tabs + tw - 2, ATop + 5), 1, T.Accent);
    };
    tab(th, T.Surface, T.Border, false);
    tab(2 * th, Mix(T.Caption, T.Hover, 0.8), Mix(T.Caption, T.Border, 0.5), false);
    tab(3 * th, T.Surface, T.Border, true);
    ASkin.Image(s, u"tabrect", picture, Bounds(tabs, 0, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"activetabrect", picture, Bounds(tabs, th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"mouseintabrect", picture, Bounds(tabs, 2 * th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"focustabrect", picture, Bounds(tabs, 3 * th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"tabsbgrect", picture, Bounds(tabs + tw, 0, band, th));
    ASkin.SetInt(s, u"tableftoffset", 6);
    ASkin.SetInt(s, u"tabrightoffset", 6);
    ASkin.SetBool(s, u"tabstretcheffect", true);
    // The divider between squeezed tabs, on the key colour.
    p.Fill(Bounds(tabs + tw, th, 2, th), RibbonKey);
    p.Fill(Bounds(tabs + tw, th + 5, 1, th - 10), T.Border);
    ASkin.Image(s, u"dividerrect", picture, Bounds(tabs + tw, th, 2, th));
    ASkin.SetBool(s, u"dividertransparent", true);
    ASkin.SetColor(s, u"dividertransparentcolor", RibbonKey);
    // The MDI buttons: close, restore, minimize across; normal, under the
    // pointer and pressed down.
    const TRgb faces[3] = {T.Caption, T.CaptionHover, T.CaptionDown};
    const char16_t* keys[3][3] = {{u"mdicloserect", u"mdicloseactiverect", u"mdiclosedownrect"},
                                  {u"mdirestorerect", u"mdirestoreactiverect", u"mdirestoredownrect"},
                                  {u"mdiminrect", u"mdiminactiverect", u"mdimindownrect"}};
    for (Integer code = 1; code <= 3; ++code)
        for (Integer look = 0; look < 3; ++look) {
            const TRect r = Bounds(mdi + (code - 1) * cell, look * cell, cell, cell);
            const TRgb face = code == 1 && look > 0 ? (look == 1 ? T.Close : T.CloseDown) : faces[look];
            p.FillRoundRect(r, 3, face);
            PaintMDIGlyph(p, r, code, code == 1 && look > 0 ? T.OnAccent : T.CaptionText);
            ASkin.Image(s, keys[code - 1][look], picture, r);
        }
    ASkin.SetFont(s, T.Font, T.TextMuted);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"focusfontcolor", T.Accent);
    ASkin.SetColor(s, u"mouseinfontcolor", T.Text);
}

// The application button: the accent face in five looks stacked.
void BuildOfficeMenuButton(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"officemenubutton", picture = s + u".bmp";
    const Integer w = 54, h = 24;
    TSkinPainter& p = ASkin.Painter(RibbonElement(ASkin, s, u"menubutton", w, 5 * h, T.Caption));
    const TRgb faces[5] = {T.Accent, Mix(T.Accent, T.OnAccent, 0.15), Mix(T.Accent, Rgb(0), 0.2),
                           T.DisabledFace, Mix(T.Accent, T.OnAccent, 0.15)};
    const char16_t* keys[5] = {u"skinrect", u"activeskinrect", u"downskinrect", u"disabledskinrect",
                               u"focusedskinrect"};
    for (Integer state = 0; state < 5; ++state) {
        const TRect r = Bounds(0, state * h, w, h);
        p.Fill(r, T.Caption);
        p.FillTopRoundRect(Rect(r.Left, r.Top + 1, r.Right, r.Bottom), 4, faces[state]);
        ASkin.Image(s, keys[state], picture, r, isNine, 4, w - 4, 4, h - 4);
    }
    ASkin.SetCorners(s, Point(4, 4), Point(w - 4, 4), Point(4, h - 4), Point(w - 4, h - 4));
    ASkin.SetRect(s, u"clientrect", Rect(4, 4, w - 4, h - 4));
    for (const char16_t* key :
         {u"leftstretch", u"topstretch", u"rightstretch", u"bottomstretch", u"stretcheffect"})
        ASkin.SetBool(s, key, true);
    ASkin.SetFont(s, T.Font, T.OnAccent);
    ASkin.SetColor(s, u"activefontcolor", T.OnAccent);
    ASkin.SetColor(s, u"downfontcolor", T.OnAccent);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);
}

// The application menu: the page frame, the command and page item looks,
// the size grip and the top line; with ABackButton also the back button
// and the caption picture.
void BuildAppMenu(TSkinBuilder& ASkin, const TSkinTheme& T, bool ABackButton) {
    const String s = u"appmenu", picture = s + u".bmp";
    const Integer frame = 32, iw = 100, ih = 28, ph = 35, x = frame, grip = 10, back = 24;
    TSkinPainter& p =
        ASkin.Painter(RibbonElement(ASkin, s, u"appmenu", x + iw + grip + back + 2, 140, T.Window));
    PageFrame(ASkin, p, s, frame, T.Border, T.Surface, T.Surface);
    // A command under the pointer; a page item, and the one whose page shows.
    PaintFace(p, Bounds(x, 0, iw, ih), T.Window, T.Hover, T.Accent, 4);
    PaintFace(p, Bounds(x, ih, iw, ph), T.Window, T.Hover, Mix(T.Hover, T.Border, 0.6), 4);
    PaintFace(p, Bounds(x, ih + ph, iw, ph), T.Window, T.Surface, T.Border, 0);
    p.Fill(Bounds(x, ih + ph + 4, 3, ph - 8), T.Accent);
    ASkin.Image(s, u"itemrect", picture, Bounds(x, 0, iw, ih), isHorz3, 4, iw - 4);
    ASkin.Image(s, u"pageitemrect", picture, Bounds(x, ih, iw, ph), isHorz3, 4, iw - 4);
    ASkin.Image(s, u"pageitemactiverect", picture, Bounds(x, ih + ph, iw, ph), isHorz3, 4, iw - 4);
    for (const char16_t* key : {u"itemoffset1", u"itemoffset2", u"pageitemoffset1", u"pageitemoffset2"})
        ASkin.SetInt(s, key, 4);
    // The accent line along the top.
    p.FillVertical(Bounds(x, ih + 2 * ph, iw, 3), T.Accent, Mix(T.Accent, T.Window, 0.5));
    ASkin.Image(s, u"toplinerect", picture, Bounds(x, ih + 2 * ph, iw, 3), isHorz3, 0, iw);
    // The size grip: dots on the key colour.
    const Integer gx = x + iw;
    p.Fill(Bounds(gx, 0, grip, grip), RibbonKey);
    for (Integer row = 0; row < 3; ++row)
        for (Integer column = 2 - row; column < 3; ++column)
            p.Fill(Bounds(gx + 1 + 3 * column, 1 + 3 * row, 2, 2), T.BorderStrong);
    ASkin.Image(s, u"gripperrect", picture, Bounds(gx, 0, grip, grip));
    ASkin.SetColor(s, u"grippertransparentcolor", RibbonKey);
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetInt(s, u"fontpageheight", T.Font.Height);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"fontpagecolor", T.Text);
    ASkin.SetColor(s, u"activefontpagecolor", T.Text);
    ASkin.SetInt(s, u"pageoffset", 4);
    // The item column's own background.
    const TRgb columnColour = Mix(T.Window, T.Hover, 0.4);
    const Integer column = ASkin.ActivePicture(u"appmenucolumn.bmp", 8, 8, columnColour);
    ASkin.SetInt(s, u"bgpictureindex", column);
    ASkin.SetBool(s, u"bgstretcheffect", true);
    if (!ABackButton) return;
    // The round back button, normal and under the pointer, and the caption
    // plate the form shows while the menu is open.
    // The button sits at the menu's top, where the top line runs: the
    // circle starts below the line.
    const Integer bx = gx + grip, line = 3, cell = back + line;
    for (Integer look = 0; look < 2; ++look) {
        // On the item column's colour, which shows round the circle.
        p.Fill(Bounds(bx, look * cell, back, cell), columnColour);
        const TRect r = Bounds(bx, look * cell + line, back, back);
        p.FillCircle(r.Left + 12, r.Top + 12, 11, look == 0 ? T.Accent : Mix(T.Accent, T.OnAccent, 0.2));
        p.Polyline(
            {{r.Left + 13.5, r.Top + 7.0}, {r.Left + 8.5, r.Top + 12.0}, {r.Left + 13.5, r.Top + 17.0}}, 1.8,
            T.OnAccent);
        p.Line(r.Left + 9.0, r.Top + 12, r.Left + 17.0, r.Top + 12, 1.8, T.OnAccent);
    }
    ASkin.Image(s, u"backbuttonrect", picture, Bounds(bx, 0, back, cell));
    ASkin.Image(s, u"backbuttonactiverect", picture, Bounds(bx, cell, back, cell));
    p.FillVertical(Bounds(x, ih + 2 * ph + 3, iw, 34), T.Accent, Mix(T.Accent, Rgb(0), 0.25));
    ASkin.Image(s, u"captionrect", picture, Bounds(x, ih + 2 * ph + 3, iw, 34));
}

}  // namespace

void BuildRibbon(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    BuildOfficeTab(ASkin, ATheme);
    BuildOfficeMenuButton(ASkin, ATheme);
    BuildAppMenu(ASkin, ATheme, ATheme.AppMenuBackButton);
}
