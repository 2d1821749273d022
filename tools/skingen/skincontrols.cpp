// The control elements of the project skins. Every element has a picture of
// its own with its normal image at (0, 0), so that rectangles that place a
// part inside the element and rectangles that name a picture part agree.
#include <cmath>

#include "skindesign.h"

namespace {

const TRgb MarkerKey = Rgb(0xFF00FF);

// The common keys of an element: its section in the index, its picture.
Integer Element(TSkinBuilder& ASkin, const String& AName, const String& AKind, const String& APicture,
                Integer AWidth, Integer AHeight, TRgb ABackground) {
    ASkin.Control(AName, AKind);
    const Integer index = ASkin.ActivePicture(APicture, AWidth, AHeight, ABackground);
    ASkin.SetInt(AName, u"pictureindex", index);
    return index;
}

void StretchAll(TSkinBuilder& ASkin, const String& AName) {
    for (const char16_t* key :
         {u"leftstretch", u"topstretch", u"rightstretch", u"bottomstretch", u"stretcheffect"})
        ASkin.SetBool(AName, key, true);
    ASkin.Set(AName, u"stretchtype", u"stfull");
}

// Nine parts with corners AInset pixels square.
void NinePart(TSkinBuilder& ASkin, const String& AName, Integer AWidth, Integer AHeight, Integer AInset,
              const TRect& AClient) {
    ASkin.SetCorners(AName, Point(AInset, AInset), Point(AWidth - AInset, AInset),
                     Point(AInset, AHeight - AInset), Point(AWidth - AInset, AHeight - AInset));
    ASkin.SetRect(AName, u"clientrect", AClient);
    StretchAll(ASkin, AName);
}

void NineImage(TSkinBuilder& ASkin, const String& AName, const char16_t* AKey, const String& APicture,
               const TRect& ARect, Integer AInset) {
    ASkin.Image(AName, AKey, APicture, ARect, isNine, AInset, ARect.Width() - AInset, AInset,
                ARect.Height() - AInset);
}

// A down-pointing marker of whole pixels on the key colour, which the
// controls leave out when they draw it.
void PaintMarker(TSkinPainter& APainter, const TRect& ACell, TRgb AColor) {
    APainter.Fill(ACell, MarkerKey);
    const Integer x = ACell.Left + (ACell.Width() - 7) / 2, y = ACell.Top + (ACell.Height() - 4) / 2;
    for (Integer row = 0; row < 4; ++row) {
        APainter.SetPixel(x + row, y + row, AColor);
        APainter.SetPixel(x + 6 - row, y + row, AColor);
    }
}

struct TButtonLook {
    TRgb Face;
    TRgb Border;
};

// A push button's five looks stacked: normal, active, down, disabled, focused.
void PaintButtonStates(TSkinPainter& APainter, Integer AWidth, Integer AHeight, TRgb AUnder,
                       const TButtonLook (&ALooks)[5], bool AFocusRing, const TSkinTheme& ATheme) {
    for (Integer state = 0; state < 5; ++state) {
        const TRect r = Bounds(0, state * AHeight, AWidth, AHeight);
        PaintFace(APainter, r, AUnder, ALooks[state].Face, ALooks[state].Border, 4);
        if (state == 4 && AFocusRing)
            APainter.StrokeRoundRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), 3, 1,
                                     Mix(ATheme.Accent, ALooks[state].Face, 0.55));
    }
}

void ButtonKeys(TSkinBuilder& ASkin, const String& AName, const String& APicture, Integer AWidth,
                Integer AHeight, const TSkinTheme& ATheme, TRgb AFontColor) {
    NinePart(ASkin, AName, AWidth, AHeight, 4, Rect(4, 4, AWidth - 4, AHeight - 4));
    ASkin.SetFont(AName, ATheme.Font, AFontColor);
    ASkin.SetColor(AName, u"activefontcolor", ATheme.Text);
    ASkin.SetColor(AName, u"downfontcolor", ATheme.Text);
    ASkin.SetColor(AName, u"disabledfontcolor", ATheme.TextDisabled);
    NineImage(ASkin, AName, u"skinrect", APicture, Bounds(0, 0, AWidth, AHeight), 4);
    NineImage(ASkin, AName, u"activeskinrect", APicture, Bounds(0, AHeight, AWidth, AHeight), 4);
    NineImage(ASkin, AName, u"downskinrect", APicture, Bounds(0, 2 * AHeight, AWidth, AHeight), 4);
    NineImage(ASkin, AName, u"disabledskinrect", APicture, Bounds(0, 3 * AHeight, AWidth, AHeight), 4);
    NineImage(ASkin, AName, u"focusedskinrect", APicture, Bounds(0, 4 * AHeight, AWidth, AHeight), 4);
    ASkin.SetBool(AName, u"morphing", true);
    ASkin.Set(AName, u"morphkind", u"mkdefault");
    ASkin.SetBool(AName, u"showfocus", false);
}

// The rows of a list or the chosen item of a combo box: normal, selected,
// focused, each three parts with AEnd pixels fixed at the ends.
void ItemKeys(TSkinBuilder& ASkin, const String& AName, const String& APicture, const TRect (&ARects)[3],
              Integer AEnd, const TRect& AText) {
    const char16_t* keys[] = {u"itemrect", u"activeitemrect", u"focusitemrect"};
    for (Integer i = 0; i < 3; ++i)
        ASkin.Image(AName, keys[i], APicture, ARects[i], isHorz3, AEnd, ARects[i].Width() - AEnd);
    ASkin.SetInt(AName, u"itemleftoffset", AEnd);
    ASkin.SetInt(AName, u"itemrightoffset", AEnd);
    ASkin.SetRect(AName, u"itemtextrect", AText);
}

void MarkerKeys(TSkinBuilder& ASkin, const String& AName, const String& APicture, TSkinPainter& APainter,
                Integer ALeft, const TSkinTheme& ATheme) {
    const TRgb colours[] = {ATheme.TextMuted, ATheme.TextMuted, ATheme.Text, ATheme.Text};
    const char16_t* keys[] = {u"menumarkerflatrect", u"menumarkerrect", u"menumarkeractiverect",
                              u"menumarkerdownrect"};
    for (Integer i = 0; i < 4; ++i) {
        const TRect cell = Bounds(ALeft, 8 * i, 9, 8);
        PaintMarker(APainter, cell, colours[i]);
        ASkin.Image(AName, keys[i], APicture, cell);
    }
    ASkin.SetColor(AName, u"menumarkertransparentcolor", MarkerKey);
}

void BuildButtons(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const Integer w = 64, h = 25;
    const TButtonLook push[5] = {{T.Raised, T.Border},
                                 {T.Hover, T.Accent},
                                 {T.Pressed, T.Accent},
                                 {T.DisabledFace, T.DisabledBorder},
                                 {T.Raised, T.Accent}};
    // Flat until the pointer comes: tool bars and tab buttons.
    const TButtonLook tool[5] = {{T.Surface, T.Surface},
                                 {T.Hover, T.Border},
                                 {T.Pressed, T.Accent},
                                 {T.Surface, T.Surface},
                                 {T.Hover, T.Accent}};
    struct TButton {
        const char16_t* Name;
        const TButtonLook (*Looks)[5];
        TRgb Under;
        bool Markers;
    } buttons[] = {{u"button", &push, T.Window, false},
                   {u"resizebutton", &push, T.Window, true},
                   {u"resizetoolbutton", &tool, T.Surface, true},
                   {u"toolbutton", &tool, T.Surface, false}};
    for (const TButton& b : buttons) {
        const String picture = String(b.Name) + u".bmp";
        const Integer index =
            Element(ASkin, b.Name, u"button", picture, w + (b.Markers ? 9 : 0), 5 * h, b.Under);
        TSkinPainter& p = ASkin.Painter(index);
        PaintButtonStates(p, w, h, b.Under, *b.Looks, b.Looks == &push, T);
        ButtonKeys(ASkin, b.Name, picture, w, h, T, T.Text);
        if (b.Markers) MarkerKeys(ASkin, b.Name, picture, p, w, T);
    }

    // The arrow part of combo boxes that are not at the skin's height: the
    // right end of a combo box, open to the left; the control draws the arrow.
    const Integer cw = 19, chh = 20;
    const String picture = u"combobutton.bmp";
    TSkinPainter& p =
        ASkin.Painter(Element(ASkin, u"combobutton", u"button", picture, cw, 3 * chh, T.Window));
    const TButtonLook combo[3] = {{T.Surface, T.Border}, {T.Hover, T.Accent}, {T.Pressed, T.Accent}};
    for (Integer state = 0; state < 3; ++state) {
        TSkinPainter face(cw + 5, chh, T.Window);
        PaintFace(face, Rect(0, 0, cw + 5, chh), T.Window, combo[state].Face, combo[state].Border, 4);
        p.Copy(face, Rect(5, 0, cw + 5, chh), 0, state * chh);
    }
    const String s = u"combobutton";
    NinePart(ASkin, s, cw, chh, 4, Rect(4, 4, cw - 4, chh - 4));
    NineImage(ASkin, s, u"skinrect", picture, Bounds(0, 0, cw, chh), 4);
    NineImage(ASkin, s, u"activeskinrect", picture, Bounds(0, chh, cw, chh), 4);
    NineImage(ASkin, s, u"downskinrect", picture, Bounds(0, 2 * chh, cw, chh), 4);
    ASkin.SetFont(s, T.Font, T.TextMuted);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"downfontcolor", T.Text);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);

    // List-view column headers.
    const Integer hw = 64, hh = 24;
    const String header = u"header.bmp";
    TSkinPainter& hp = ASkin.Painter(Element(ASkin, u"header", u"button", header, hw, 3 * hh, T.HeaderFace));
    const TRgb faces[3] = {T.HeaderFace, Mix(T.HeaderFace, T.Hover, 0.8), Mix(T.HeaderFace, T.Pressed, 0.9)};
    for (Integer state = 0; state < 3; ++state) {
        const TRect r = Bounds(0, state * hh, hw, hh);
        hp.Fill(r, faces[state]);
        hp.Fill(Rect(0, r.Bottom - 1, hw, r.Bottom), T.Border);
        hp.Fill(Rect(hw - 1, r.Top + 5, hw, r.Bottom - 5), T.Border);
    }
    const String hs = u"header";
    ASkin.SetCorners(hs, Point(3, 3), Point(hw - 3, 3), Point(3, hh - 3), Point(hw - 3, hh - 3));
    ASkin.SetRect(hs, u"clientrect", Rect(6, 3, hw - 4, hh - 3));
    StretchAll(ASkin, hs);
    ASkin.SetFont(hs, T.Font, T.Text);
    ASkin.SetColor(hs, u"activefontcolor", T.Text);
    ASkin.SetColor(hs, u"downfontcolor", T.Text);
    ASkin.SetColor(hs, u"disabledfontcolor", T.TextDisabled);
    NineImage(ASkin, hs, u"skinrect", header, Bounds(0, 0, hw, hh), 3);
    NineImage(ASkin, hs, u"activeskinrect", header, Bounds(0, hh, hw, hh), 3);
    NineImage(ASkin, hs, u"downskinrect", header, Bounds(0, 2 * hh, hw, hh), 3);
}

void BuildPanels(TSkinBuilder& ASkin, const TSkinTheme& T) {
    // Plain containers: flat, no frame.
    {
        const String s = u"panel";
        const Integer index = Element(ASkin, s, u"panel", u"panel.bmp", 32, 32, T.Window);
        (void)index;
        NinePart(ASkin, s, 32, 32, 4, Rect(0, 0, 32, 32));
        NineImage(ASkin, s, u"skinrect", u"panel.bmp", Rect(0, 0, 32, 32), 4);
        ASkin.SetFont(s, T.Font, T.Text);
    }
    // A card under a caption strip.
    {
        const String s = u"groupbox";
        const Integer w = 96, h = 64;
        TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"panel", u"groupbox.bmp", w, h, T.Window));
        PaintFace(p, Rect(0, 22, w, h), T.Window, Mix(T.Window, T.Surface, 0.5), T.Border, 5);
        p.Fill(Rect(0, 0, w, 22), T.Window);
        ASkin.SetCorners(s, Point(8, 30), Point(w - 8, 30), Point(8, h - 8), Point(w - 8, h - 8));
        ASkin.SetRect(s, u"clientrect", Rect(6, 28, w - 6, h - 6));
        StretchAll(ASkin, s);
        ASkin.Image(s, u"skinrect", u"groupbox.bmp", Rect(0, 0, w, h), isNine, 8, w - 8, 30, h - 8);
        ASkin.SetRect(s, u"captionrect", Rect(4, 0, w - 4, 22));
        ASkin.Set(s, u"alignment", u"taleftjustify");
        ASkin.SetFont(s, T.Font, T.Text);
    }
    // Tool bars: the main window's 69 pixels, and the dialogs' smaller ones.
    struct TBar {
        const char16_t* Name;
        Integer Height;
    } bars[] = {{u"resizetoolpanel", 69}, {u"toolpanel", 32}};
    for (const TBar& bar : bars) {
        const String s = bar.Name, picture = s + u".bmp";
        const Integer w = 64, h = bar.Height;
        TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"panel", picture, w, h, T.Surface));
        p.Fill(Rect(0, h - 1, w, h), T.Border);
        ASkin.SetCorners(s, Point(2, 2), Point(w - 2, 2), Point(2, h - 3), Point(w - 2, h - 3));
        ASkin.SetRect(s, u"clientrect", Rect(2, 2, w - 2, h - 3));
        StretchAll(ASkin, s);
        ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isNine, 2, w - 2, 2, h - 3);
        ASkin.SetFont(s, T.Font, T.Text);
    }
}

// A combo box or an edit: a field of height 20 with a border.
void PaintField(TSkinPainter& APainter, const TRect& ARect, const TSkinTheme& T, TRgb ABorder, TRgb AFace) {
    PaintFace(APainter, ARect, T.Window, AFace, ABorder, 4);
}

void BuildComboBox(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"combobox", picture = u"combobox.bmp";
    const Integer w = 80, h = 20, button = 19;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"combobox", picture, w + button, 72, T.Surface));
    const auto face = [&](TSkinPainter& APainter, Integer ATop, TRgb ABorder, TRgb AFace, TRgb AButtonFace,
                          TRgb AArrow) {
        PaintField(APainter, Bounds(0, ATop, w, h), T, ABorder, AFace);
        if (!(AButtonFace == AFace))
            APainter.FillRoundRect(Rect(w - button, ATop + 1, w - 1, ATop + h - 1), 3, AButtonFace);
        PaintChevron(APainter, w - button / 2.0 - 0.5, ATop + h / 2.0, 8, AArrow, 0);
    };
    face(p, 0, T.Border, T.Surface, T.Surface, T.TextMuted);
    face(p, h, T.Accent, T.Surface, T.Surface, T.Text);
    // The arrow part's looks: the right end of the whole field in that state.
    struct TButtonState {
        const char16_t* Key;
        TRgb Border;
        TRgb Face;
        TRgb ButtonFace;
        TRgb Arrow;
    } states[] = {{u"activebuttonrect", T.Accent, T.Surface, T.Hover, T.Text},
                  {u"downbuttonrect", T.Accent, T.Surface, T.Pressed, T.Text},
                  {u"unenabledbuttonrect", T.DisabledBorder, T.DisabledFace, T.DisabledFace, T.TextDisabled}};
    for (Integer i = 0; i < 3; ++i) {
        TSkinPainter whole(w, h, T.Window);
        face(whole, 0, states[i].Border, states[i].Face, states[i].ButtonFace, states[i].Arrow);
        p.Copy(whole, Rect(w - button, 0, w, h), w, i * h);
        ASkin.Image(s, states[i].Key, picture, Bounds(w, i * h, button, h));
    }
    // The chosen item inside the field: plain, and on a focused box.
    p.Fill(Rect(0, 40, 80, 72), T.Surface);
    p.FillRoundRect(Rect(1, 57, 39, 71), 3, T.AccentSoft);
    ASkin.SetCorners(s, Point(4, 0), Point(w - button - 1, 0), Point(0, 0), Point(0, 0));
    ASkin.SetRect(s, u"clientrect", Rect(4, 2, w - button - 1, h - 2));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isHorz3, 4, w - button - 1);
    ASkin.Image(s, u"activeskinrect", picture, Rect(0, h, w, 2 * h), isHorz3, 4, w - button - 1);
    ASkin.SetRect(s, u"buttonrect", Rect(w - button, 0, w, h));
    ItemKeys(ASkin, s, picture, {Rect(0, 40, 40, 56), Rect(40, 40, 80, 56), Rect(0, 56, 40, 72)}, 4,
             Rect(4, 0, 36, 16));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"focusfontcolor", T.Text);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.Set(s, u"listboxname", u"listbox");
    ASkin.SetBool(s, u"itemstretcheffect", true);
    ASkin.SetBool(s, u"focusitemstretcheffect", true);
}

void BuildEdit(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"edit", picture = u"edit.bmp";
    const Integer w = 64, h = 20;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"edit", picture, w, 2 * h, T.Surface));
    PaintField(p, Rect(0, 0, w, h), T, T.Border, T.Surface);
    PaintField(p, Rect(0, h, w, 2 * h), T, T.Accent, T.Surface);
    ASkin.SetCorners(s, Point(4, 0), Point(w - 4, 0), Point(0, 0), Point(0, 0));
    ASkin.SetRect(s, u"clientrect", Rect(4, 2, w - 4, h - 2));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isHorz3, 4, w - 4);
    ASkin.Image(s, u"activeskinrect", picture, Rect(0, h, w, 2 * h), isHorz3, 4, w - 4);
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
}

// An edit with a button at its right end (the skinned edit's button
// look): the field with its button part, normal and active, and the
// button's hot, pressed and disabled looks beside them; the control draws
// the button's image.
void BuildButtonEdit(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"buttonedit", picture = u"buttonedit.bmp";
    const Integer w = 64, h = 20, button = 20;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"edit", picture, w + button, 3 * h, T.Surface));
    const auto field = [&](TSkinPainter& APainter, Integer ATop, TRgb ABorder, TRgb AFace, TRgb AButtonFace) {
        PaintField(APainter, Bounds(0, ATop, w, h), T, ABorder, AFace);
        APainter.Fill(Rect(w - button, ATop + 3, w - button + 1, ATop + h - 3), ABorder);
        if (!(AButtonFace == AFace))
            APainter.FillRoundRect(Rect(w - button + 1, ATop + 1, w - 1, ATop + h - 1), 3, AButtonFace);
    };
    field(p, 0, T.Border, T.Surface, T.Surface);
    field(p, h, T.Accent, T.Surface, T.Surface);
    struct TButtonState {
        const char16_t* Key;
        TRgb Border;
        TRgb Face;
        TRgb ButtonFace;
    } states[] = {{u"activebuttonrect", T.Accent, T.Surface, T.Hover},
                  {u"downbuttonrect", T.Accent, T.Surface, T.Pressed},
                  {u"unenabledbuttonrect", T.DisabledBorder, T.DisabledFace, T.DisabledFace}};
    for (Integer i = 0; i < 3; ++i) {
        TSkinPainter whole(w, h, T.Window);
        field(whole, 0, states[i].Border, states[i].Face, states[i].ButtonFace);
        p.Copy(whole, Rect(w - button, 0, w, h), w, i * h);
        ASkin.Image(s, states[i].Key, picture, Bounds(w, i * h, button, h));
    }
    ASkin.SetCorners(s, Point(4, 0), Point(w - button, 0), Point(0, 0), Point(0, 0));
    ASkin.SetRect(s, u"clientrect", Rect(4, 2, w - button - 2, h - 2));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isHorz3, 4, w - button);
    ASkin.Image(s, u"activeskinrect", picture, Rect(0, h, w, 2 * h), isHorz3, 4, w - button);
    ASkin.SetRect(s, u"buttonrect", Rect(w - button, 0, w, h));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
}

// A list's look as the element AName of kind AKind, its picture AExtra
// pixels taller for what the kind adds under it; the picture's painter.
TSkinPainter& ListBoxElement(TSkinBuilder& ASkin, const TSkinTheme& T, const String& s, const String& AKind,
                             Integer AExtra) {
    const String picture = s + u".bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, AKind, picture, 100, 66 + AExtra, T.Surface));
    PaintFace(p, Rect(0, 0, 40, 40), T.Window, T.Surface, T.Border, 4);
    p.FillRoundRect(Rect(42, 23, 98, 43), 4, T.AccentSoft);
    p.FillRoundRect(Rect(42, 45, 98, 65), 4, T.Accent);
    NinePart(ASkin, s, 40, 40, 4, Rect(2, 2, 38, 38));
    NineImage(ASkin, s, u"skinrect", picture, Rect(0, 0, 40, 40), 4);
    ItemKeys(ASkin, s, picture, {Rect(40, 0, 100, 22), Rect(40, 22, 100, 44), Rect(40, 44, 100, 66)}, 6,
             Rect(7, 1, 53, 21));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"focusfontcolor", T.OnAccent);
    return p;
}

void BuildListBox(TSkinBuilder& ASkin, const TSkinTheme& T) {
    ListBoxElement(ASkin, T, u"listbox", u"listbox", 0);
}

// A list with a check column (the office list's check boxes): the list's
// look and, under it, the unchecked and checked boxes on the key colour
// the list leaves out.
void BuildCheckListBox(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"checklistbox", picture = u"checklistbox.bmp";
    TSkinPainter& p = ListBoxElement(ASkin, T, s, u"checklistbox", 16);
    const char16_t* keys[] = {u"uncheckimagerect", u"checkimagerect"};
    for (Integer i = 0; i < 2; ++i) {
        const TRect cell = Bounds(16 * i, 66, 16, 16);
        p.Fill(cell, MarkerKey);
        // The bottom row stays the key colour: the list draws the box without it.
        const TRect box = Rect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1);
        p.FillRoundRect(box, 3, i == 0 ? T.BorderStrong : T.Accent);
        p.FillRoundRect(Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), 2,
                        i == 0 ? T.Surface : T.Accent);
        if (i == 1) PaintCheckMark(p, cell.Left + 8, cell.Top + 8, 9, T.OnAccent);
        ASkin.Image(s, keys[i], picture, cell);
    }
}

// A list under a caption bar with the up, down and check buttons in its
// fixed right part; their hot and pressed looks, and the caption's
// background without the buttons, below the frame.
void BuildCaptionListBox(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"captionlistbox", picture = u"captionlistbox.bmp";
    const Integer w = 100, h = 64, caption = 22, b = 16;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"listbox", picture, 160, 100, T.Surface));
    const TRgb bar = Mix(T.Window, T.Border, 0.35);
    PaintFace(p, Rect(0, 0, w, h), T.Window, T.Surface, T.Border, 4);
    p.Fill(Rect(1, 1, w - 1, caption), bar);
    p.Fill(Rect(1, caption - 1, w - 1, caption), T.Border);
    // The buttons as the frame shows them, then hot and pressed.
    const auto mark = [&](const TRect& ACell, Integer AButton, TRgb AColor) {
        const double x = ACell.Left + b / 2.0, y = ACell.Top + b / 2.0;
        if (AButton == 2)
            PaintCheckMark(p, x, y, 9, AColor);
        else
            PaintChevron(p, x, y, 8, AColor, AButton == 0 ? 1 : 0);
    };
    // The frame first: the buttons' places lie on it.
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isNine, 4, 40, caption, h - 4);
    const char16_t* places[] = {u"upbuttonrect", u"downbuttonrect", u"checkbuttonrect"};
    const char16_t* hot[] = {u"activeupbuttonrect", u"activedownbuttonrect", u"activecheckbuttonrect"};
    const char16_t* pressed[] = {u"downupbuttonrect", u"downdownbuttonrect", u"downcheckbuttonrect"};
    for (Integer i = 0; i < 3; ++i) {
        const TRect place = Bounds(80 - 17 * i, 3, b, b);
        mark(place, i, T.TextMuted);
        ASkin.Image(s, places[i], picture, place);
        const TRect hotCell = Bounds(2 * b * i, h, b, b), pressedCell = Bounds(2 * b * i + b, h, b, b);
        p.Fill(hotCell, bar);
        p.FillRoundRect(hotCell, 3, T.Hover);
        p.StrokeRoundRect(hotCell, 3, 1, T.Accent);
        mark(hotCell, i, T.Text);
        p.Fill(pressedCell, bar);
        p.FillRoundRect(pressedCell, 3, T.Pressed);
        p.StrokeRoundRect(pressedCell, 3, 1, T.Accent);
        mark(pressedCell, i, T.Text);
        ASkin.Image(s, hot[i], picture, hotCell);
        ASkin.Image(s, pressed[i], picture, pressedCell);
    }
    p.Fill(Rect(0, h + b, 51, h + b + 18), bar);
    ASkin.Image(s, u"disabledbuttonsrect", picture, Rect(0, h + b, 51, h + b + 18));
    ASkin.SetRect(s, u"buttonsarea", Rect(46, 2, 97, 20));
    ASkin.SetCorners(s, Point(4, caption), Point(40, caption), Point(4, h - 4), Point(40, h - 4));
    ASkin.SetRect(s, u"clientrect", Rect(2, caption, w - 2, h - 2));
    StretchAll(ASkin, s);
    p.FillRoundRect(Rect(102, 23, 158, 43), 4, T.AccentSoft);
    p.FillRoundRect(Rect(102, 45, 158, 65), 4, T.Accent);
    ItemKeys(ASkin, s, picture, {Rect(100, 0, 160, 22), Rect(100, 22, 160, 44), Rect(100, 44, 160, 66)}, 6,
             Rect(7, 1, 53, 21));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"focusfontcolor", T.OnAccent);
    ASkin.SetRect(s, u"captionrect", Rect(6, 2, 44, caption - 2));
    ASkin.Set(s, u"captionfontname", T.Font.Name);
    ASkin.SetInt(s, u"captionfontheight", T.Font.Height);
    ASkin.Set(s, u"captionfontstyle", u"fsbold");
    ASkin.SetColor(s, u"captionfontcolor", T.Text);
}

void BuildMenuHeader(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"menuheader", picture = u"menuheader.bmp";
    const TRgb face = Mix(T.Window, T.Border, 0.2);
    Element(ASkin, s, u"label", picture, 64, 22, face);
    ASkin.SetCorners(s, Point(4, 0), Point(60, 0), Point(0, 0), Point(0, 0));
    ASkin.SetRect(s, u"clientrect", Rect(8, 0, 56, 22));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 64, 22), isHorz3, 4, 60);
    ASkin.SetFont(s, T.Font, T.TextMuted);
}

// Scroll bars: 17 pixels across; the normal image holds the arrows.
void BuildScrollBars(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const Integer b = 17, length = 100;
    struct TBar {
        const char16_t* Name;
        bool Vertical;
        Integer Corner;
    } bars[] = {{u"vscrollbar", true, 0}, {u"hscrollbar", false, 0}, {u"bothhscrollbar", false, b}};
    for (const TBar& bar : bars) {
        const String s = bar.Name, picture = s + u".bmp";
        const Integer along = length + bar.Corner;
        // Cells beside the bar: three thumbs, three grips, the arrow buttons' looks.
        const Integer cells = 3 * b + 7 + 2 * b;
        const Integer pw = bar.Vertical ? b + 3 * b : along, ph = bar.Vertical ? length : b + 3 * b;
        TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"scrollbar", picture, std::max(pw, cells),
                                                bar.Vertical ? std::max(ph, 60) : ph, T.Track));
        // A rectangle along the bar (a, across c) in picture coordinates.
        const auto along_ = [&](Integer A, Integer C, Integer ALength, Integer AAcross) {
            return bar.Vertical ? Bounds(C, A, AAcross, ALength) : Bounds(A, C, ALength, AAcross);
        };
        p.Fill(along_(0, 0, along, b), T.Track);
        const double mid = b / 2.0;
        const auto arrow = [&](Integer AStart, bool AUp, TRgb AColor) {
            const double c = AStart + b / 2.0;
            if (bar.Vertical)
                PaintChevron(p, mid, c, 7, AColor, AUp ? 0 : 1);
            else
                PaintChevron(p, c, mid, 7, AColor, AUp ? 3 : 2);
        };
        // The down button (towards Min) at the start, the up button at the end.
        arrow(0, false, T.TextMuted);
        arrow(length - b, true, T.TextMuted);
        const TRect downButton = along_(0, 0, b, b), upButton = along_(length - b, 0, b, b);
        const Integer anchor = length - b - 1;
        if (bar.Vertical) {
            ASkin.SetCorners(s, Point(0, b), Point(0, 0), Point(0, anchor), Point(0, 0));
        } else {
            ASkin.SetCorners(s, Point(b, 0), Point(anchor, 0), Point(0, 0), Point(0, 0));
        }
        ASkin.SetBool(s, u"stretcheffect", true);
        ASkin.Image(s, u"skinrect", picture, along_(0, 0, along, b), bar.Vertical ? isVert3 : isHorz3,
                    bar.Vertical ? 0 : b, bar.Vertical ? 0 : anchor, bar.Vertical ? b : 0,
                    bar.Vertical ? anchor : 0);
        ASkin.SetRect(s, u"trackarea", along_(b, 0, length - 2 * b, b));
        ASkin.SetRect(s, u"upbuttonrect", upButton);
        ASkin.SetRect(s, u"downbuttonrect", downButton);
        // Thumbs, normal, under the pointer and dragged, 40 long.
        const char16_t* thumbKeys[] = {u"thumbrect", u"activethumbrect", u"downthumbrect"};
        const char16_t* glyphKeys[] = {u"glyphrect", u"activeglyphrect", u"downglyphrect"};
        const TRgb thumbs[] = {T.Thumb, T.ThumbHover, T.ThumbDown};
        for (Integer i = 0; i < 3; ++i) {
            const TRect cell = bar.Vertical ? Bounds(b * (i + 1), 0, b, 40) : Bounds(0, b * (i + 1), 40, b);
            p.Fill(cell, T.Track);
            const TRect pill = bar.Vertical
                                   ? Rect(cell.Left + 4, cell.Top + 1, cell.Right - 4, cell.Bottom - 1)
                                   : Rect(cell.Left + 1, cell.Top + 4, cell.Right - 1, cell.Bottom - 4);
            p.FillRoundRect(pill, 4.5, thumbs[i]);
            ASkin.Image(s, thumbKeys[i], picture, cell, bar.Vertical ? isVert3 : isHorz3,
                        bar.Vertical ? 0 : 6, bar.Vertical ? 0 : 34, bar.Vertical ? 6 : 0,
                        bar.Vertical ? 34 : 0);
            // A grip of three strokes, on the thumb's own colour.
            const TRect grip =
                bar.Vertical ? Bounds(b * (i + 1) + 5, 42, 7, 7) : Bounds(42, b * (i + 1) + 5, 7, 7);
            p.Fill(grip, thumbs[i]);
            for (Integer k = 0; k < 3; ++k) {
                const TRect line = bar.Vertical ? Bounds(grip.Left + 1, grip.Top + 1 + 2 * k, 5, 1)
                                                : Bounds(grip.Left + 1 + 2 * k, grip.Top + 1, 1, 5);
                p.Fill(line, Mix(thumbs[i], T.Window, 0.6));
            }
            ASkin.Image(s, glyphKeys[i], picture, grip);
        }
        // The arrow buttons under the pointer and pressed.
        const char16_t* buttonKeys[2][2] = {{u"activeupbuttonrect", u"downupbuttonrect"},
                                            {u"activedownbuttonrect", u"downdownbuttonrect"}};
        for (Integer up = 0; up < 2; ++up) {
            for (Integer pressed = 0; pressed < 2; ++pressed) {
                const TRect cell = bar.Vertical ? Bounds(b * (up + 1), 50 + b * pressed, b, b)
                                                : Bounds(50 + b * up, b * (pressed + 1), b, b);
                p.Fill(cell, T.Track);
                p.FillRoundRect(Rect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1), 3,
                                pressed ? T.Thumb : Mix(T.Track, T.Thumb, 0.45));
                const double cx = cell.Left + b / 2.0, cy = cell.Top + b / 2.0;
                PaintChevron(p, cx, cy, 7, T.Text, bar.Vertical ? (up == 0 ? 0 : 1) : (up == 0 ? 3 : 2));
                ASkin.Image(s, buttonKeys[up][pressed], picture, cell);
            }
        }
        ASkin.SetInt(s, u"thumboffset1", 6);
        ASkin.SetInt(s, u"thumboffset2", 6);
        ASkin.SetBool(s, u"thumbstretcheffect", true);
        ASkin.SetInt(s, u"thumbminsize", 24);
    }
}

void BuildCheckRadio(TSkinBuilder& ASkin, const TSkinTheme& T, bool ARadio) {
    const String s = ARadio ? u"radiobox" : u"checkbox", picture = s + u".bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"checkradio", picture, 128, 56, T.Window));
    // Cells of 16: unchecked, checked, each normal, under the pointer and
    // disabled, then grayed and grayed under the pointer.
    struct TCell {
        const char16_t* Key;
        bool Checked;
        bool Grayed;
        TRgb Fill;
        TRgb Border;
        TRgb Mark;
    } cells[] = {
        {u"uncheckimagerect", false, false, T.Surface, T.BorderStrong, T.Surface},
        {u"checkimagerect", true, false, T.Accent, T.Accent, T.OnAccent},
        {u"activeuncheckimagerect", false, false, T.Surface, T.Accent, T.Surface},
        {u"activecheckimagerect", true, false, Mix(T.Accent, Rgb(0), 0.12), Mix(T.Accent, Rgb(0), 0.12),
         T.OnAccent},
        {u"unenableduncheckimagerect", false, false, T.DisabledFace, T.DisabledBorder, T.DisabledFace},
        {u"unenabledcheckimagerect", true, false, T.DisabledBorder, T.DisabledBorder, T.TextDisabled},
        {u"grayedcheckimagerect", true, true, T.Accent, T.Accent, T.OnAccent},
        {u"activegrayedcheckimagerect", true, true, Mix(T.Accent, Rgb(0), 0.12), Mix(T.Accent, Rgb(0), 0.12),
         T.OnAccent},
    };
    for (Integer i = 0; i < 8; ++i) {
        const TCell& c = cells[i];
        const TRect cell = Bounds(16 * i, 40, 16, 16);
        p.Fill(cell, T.Window);
        const double cx = cell.Left + 8, cy = cell.Top + 8;
        if (ARadio) {
            p.FillCircle(cx, cy, 7, c.Border);
            p.FillCircle(cx, cy, 6, c.Checked ? c.Border : c.Fill);
            if (c.Checked) p.FillCircle(cx, cy, c.Grayed ? 1.5 : 3, c.Mark);
        } else {
            p.FillRoundRect(Rect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1), 3.5,
                            c.Border);
            p.FillRoundRect(Rect(cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2), 2.5, c.Fill);
            if (c.Grayed)
                p.Fill(Rect(cell.Left + 4, cell.Top + 7, cell.Right - 4, cell.Top + 9), c.Mark);
            else if (c.Checked)
                PaintCheckMark(p, cx, cy, 10, c.Mark);
        }
        ASkin.Image(s, c.Key, picture, cell);
    }
    ASkin.SetCorners(s, Point(20, 0), Point(80, 0), Point(0, 0), Point(0, 0));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 100, 20), isHorz3, 20, 80);
    ASkin.Image(s, u"activeskinrect", picture, Rect(0, 20, 100, 40), isHorz3, 20, 80);
    ASkin.SetRect(s, u"checkimagearea", Rect(2, 2, 18, 18));
    ASkin.SetRect(s, u"textarea", Rect(22, 0, 98, 20));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"unenabledfontcolor", T.TextDisabled);
    ASkin.SetColor(s, u"framefontcolor", T.Text);
}

void BuildSlider(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"slider", picture = u"slider.bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"slider", picture, 86, 48, T.Window));
    p.FillRoundRect(Rect(0, 2, 48, 5), 1.5, T.BorderStrong);
    p.FillRoundRect(Rect(50, 0, 53, 48), 1.5, T.BorderStrong);
    ASkin.Image(s, u"hrulerrect", picture, Rect(0, 0, 48, 7), isHorz3, 4, 44);
    ASkin.Image(s, u"vrulerrect", picture, Rect(48, 0, 55, 48), isVert3, 0, 0, 4, 44);
    // Thumbs: the normal cell, then the pressed one beside it.
    const auto thumb = [&](Integer X, Integer Y, bool APressed) {
        const double cx = X + 7.5, cy = Y + 7.5;
        p.FillCircle(cx, cy, 6.5, T.Accent);
        if (!APressed) p.FillCircle(cx, cy, 4.5, T.Surface);
    };
    thumb(0, 8, false);
    thumb(15, 8, true);
    thumb(56, 8, false);
    thumb(71, 8, true);
    ASkin.Image(s, u"hthumbrect", picture, Rect(0, 8, 30, 23), isCells2);
    ASkin.Image(s, u"vthumbrect", picture, Rect(56, 8, 86, 23), isCells2);
    ASkin.SetInt(s, u"edgesize", 4);
    ASkin.SetColor(s, u"bgcolor", T.Window);
    ASkin.SetColor(s, u"pointscolor", T.BorderStrong);
}

// The tabs' close buttons (MDI tab bar, page control): normal, under the
// pointer and pressed, stacked at X in the tab picture.
void BuildTabCloseButtons(TSkinBuilder& ASkin, const TSkinTheme& T, TSkinPainter& P, const String& APicture,
                          Integer X) {
    constexpr Integer b = 14;
    const TRgb faces[] = {T.Window, T.Hover, T.Pressed};
    const TRgb glyphs[] = {T.TextMuted, T.Text, T.Text};
    const char16_t* keys[] = {u"closebuttonrect", u"closebuttonactiverect", u"closebuttondownrect"};
    for (Integer look = 0; look < 3; ++look) {
        const TRect r = Bounds(X, look * b, b, b);
        P.Fill(r, T.Window);
        if (look > 0) P.FillRoundRect(r, 3, faces[look]);
        P.Line(r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4, 1.5, glyphs[look]);
        P.Line(r.Right - 4, r.Top + 4, r.Left + 4, r.Bottom - 4, 1.5, glyphs[look]);
        ASkin.Image(u"tab", keys[look], APicture, r);
    }
}

void BuildTab(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"tab", picture = u"tab.bmp";
    const Integer tw = 60, th = 28;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"tab", picture, 64 + tw + 10 + 14, 4 * th, T.Window));
    BuildTabCloseButtons(ASkin, T, p, picture, 64 + tw + 10);
    p.Fill(Rect(0, 0, 64, 64), T.Border);
    p.Fill(Rect(1, 1, 63, 63), T.Surface);
    const auto strip = [&](Integer ATop) { p.Fill(Rect(64, ATop + th - 1, 64 + tw, ATop + th), T.Border); };
    // Unselected, selected, under the pointer, selected with the focus.
    strip(0);
    for (const Integer top : {th, 3 * th}) {
        p.FillTopRoundRect(Rect(64, top + 2, 64 + tw, top + th), 5, T.Border);
        p.FillTopRoundRect(Rect(65, top + 3, 64 + tw - 1, top + th), 4, T.Surface);
        p.FillTopRoundRect(Rect(66, top + 3, 64 + tw - 2, top + 5), 1, T.Accent);
    }
    p.FillTopRoundRect(Rect(64, 2 * th + 2, 64 + tw, 3 * th), 5, Mix(T.Window, T.Hover, 0.7));
    strip(2 * th);
    p.Fill(Rect(64 + tw, 0, 64 + tw + 10, th - 1), T.Window);
    p.Fill(Rect(64 + tw, th - 1, 64 + tw + 10, th), T.Border);
    NinePart(ASkin, s, 64, 64, 4, Rect(1, 1, 63, 63));
    NineImage(ASkin, s, u"skinrect", picture, Rect(0, 0, 64, 64), 4);
    ASkin.Image(s, u"tabrect", picture, Bounds(64, 0, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"activetabrect", picture, Bounds(64, th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"mouseintabrect", picture, Bounds(64, 2 * th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"focustabrect", picture, Bounds(64, 3 * th, tw, th), isHorz3, 6, tw - 6);
    ASkin.Image(s, u"tabsbgrect", picture, Bounds(64 + tw, 0, 10, th));
    ASkin.SetInt(s, u"tableftoffset", 6);
    ASkin.SetInt(s, u"tabrightoffset", 6);
    ASkin.SetBool(s, u"tabstretcheffect", true);
    ASkin.SetFont(s, T.Font, T.TextMuted);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"focusfontcolor", T.Text);
    ASkin.SetColor(s, u"mouseinfontcolor", T.Text);
}

void BuildViews(TSkinBuilder& ASkin, const TSkinTheme& T) {
    ASkin.Control(u"listview", u"listview");
    ASkin.SetFont(u"listview", T.Font, T.Text);
    ASkin.SetColor(u"listview", u"bgcolor", T.Surface);

    const String s = u"treeview", picture = u"treeview.bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"treeview", picture, 22, 11, T.Surface));
    // An expanded node points down, a collapsed one to the right.
    PaintChevron(p, 5.5, 5.5, 6, T.TextMuted, 0);
    PaintChevron(p, 16.5, 5.5, 6, T.TextMuted, 3);
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"bgcolor", T.Surface);
    ASkin.Image(s, u"expandimagerect", picture, Rect(0, 0, 11, 11));
    ASkin.Image(s, u"noexpandimagerect", picture, Rect(11, 0, 22, 11));
}

void BuildMenuBar(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"mainmenubar", picture = u"mainmenubar.bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"mainmenubar", picture, 80, 26, T.Surface));
    p.Fill(Rect(0, 25, 80, 26), T.Border);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 80, 26));
    ASkin.SetRect(s, u"itemsrect", Rect(2, 0, 78, 25));
    ASkin.Set(s, u"menubaritem", u"menubaritem");
    ASkin.Set(s, u"closebutton", u"mdiclosebutton");
    ASkin.Set(s, u"minbutton", u"mdiminbutton");
    ASkin.Set(s, u"maxbutton", u"mdimaxbutton");
    ASkin.Set(s, u"sysmenubutton", u"mdisysmenubutton");
    ASkin.SetColor(s, u"trackmarkcolor", T.TextMuted);
    ASkin.SetColor(s, u"trackmarkactivecolor", T.Accent);
    ASkin.SetBool(s, u"stretcheffect", true);
}

void BuildOthers(TSkinBuilder& ASkin, const TSkinTheme& T) {
    ASkin.Control(u"stdlabel", u"stdlabel");
    ASkin.SetFont(u"stdlabel", T.Font, T.Text);
    ASkin.SetColor(u"stdlabel", u"activefontcolor", T.Accent);

    ASkin.Control(u"bevel", u"bevel");
    ASkin.SetColor(u"bevel", u"lightcolor", T.Raised);
    ASkin.SetColor(u"bevel", u"darkcolor", T.Border);

    const String box = u"scrollbox";
    Element(ASkin, box, u"scrollbox", u"scrollbox.bmp", 32, 32, T.Window);
    NinePart(ASkin, box, 32, 32, 4, Rect(0, 0, 32, 32));
    NineImage(ASkin, box, u"skinrect", u"scrollbox.bmp", Rect(0, 0, 32, 32), 4);

    const String s = u"vsplitter", picture = u"vsplitter.bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"splitter", picture, 12, 32, T.Window));
    for (Integer k = 0; k < 3; ++k)
        p.FillCircle(9, 4.5 + 3.5 * k, 1.1, T.BorderStrong);
    ASkin.SetCorners(s, Point(0, 4), Point(0, 0), Point(0, 28), Point(0, 0));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 6, 32), isVert3, 0, 0, 4, 28);
    ASkin.Image(s, u"gripperrect", picture, Rect(6, 0, 12, 14));
}

// The tool bar's drop-down button: a menu button whose right 15 pixels are
// the track part, each look with its divider and arrow drawn in.
void BuildToolMenuButton(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"toolmenubutton", picture = s + u".bmp";
    const Integer w = 64, h = 25, strip = 15;
    const Integer index = Element(ASkin, s, u"menubutton", picture, w + 9, 5 * h, T.Surface);
    TSkinPainter& p = ASkin.Painter(index);
    const TButtonLook looks[5] = {{T.Surface, T.Surface},
                                  {T.Hover, T.Border},
                                  {T.Pressed, T.Accent},
                                  {T.Surface, T.Surface},
                                  {T.Hover, T.Accent}};
    const TRgb arrows[5] = {T.TextMuted, T.Text, T.Text, T.TextDisabled, T.Text};
    for (Integer state = 0; state < 5; ++state) {
        const TRect r = Bounds(0, state * h, w, h);
        PaintFace(p, r, T.Surface, looks[state].Face, looks[state].Border, 4);
        if (!(looks[state].Border == looks[state].Face))
            p.Fill(Rect(w - strip - 1, r.Top + 4, w - strip, r.Bottom - 4), looks[state].Border);
        PaintChevron(p, w - strip / 2.0, r.Top + h / 2.0, 7, arrows[state], 0);
    }
    // The middle stretches; the track strip keeps its place at the right.
    ASkin.SetCorners(s, Point(4, 0), Point(w - strip - 1, 0), Point(0, 0), Point(0, 0));
    ASkin.SetRect(s, u"clientrect", Rect(4, 4, w - strip - 1, h - 4));
    ASkin.SetBool(s, u"stretcheffect", true);
    const char16_t* keys[] = {u"skinrect", u"activeskinrect", u"downskinrect", u"disabledskinrect",
                              u"focusedskinrect"};
    for (Integer state = 0; state < 5; ++state)
        ASkin.Image(s, keys[state], picture, Bounds(0, state * h, w, h), isHorz3, 4, w - strip - 1);
    ASkin.SetRect(s, u"trackbuttonrect", Rect(w - strip, 0, w, h));
    ASkin.SetFont(s, T.Font, T.Text);
    ASkin.SetColor(s, u"activefontcolor", T.Text);
    ASkin.SetColor(s, u"downfontcolor", T.Text);
    ASkin.SetColor(s, u"disabledfontcolor", T.TextDisabled);
    ASkin.SetBool(s, u"morphing", true);
    ASkin.Set(s, u"morphkind", u"mkdefault");
    MarkerKeys(ASkin, s, picture, p, w, T);
}

// The splitter of top and bottom aligned controls: a bar with a grip of dots.
void BuildHSplitter(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"hsplitter", picture = u"hsplitter.bmp";
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"splitter", picture, 32, 12, T.Window));
    for (Integer k = 0; k < 3; ++k)
        p.FillCircle(4.5 + 3.5 * k, 9, 1.1, T.BorderStrong);
    ASkin.SetCorners(s, Point(4, 0), Point(28, 0), Point(0, 0), Point(0, 0));
    ASkin.SetBool(s, u"stretcheffect", true);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 32, 6), isHorz3, 4, 28);
    ASkin.Image(s, u"gripperrect", picture, Rect(0, 6, 14, 12));
}

// The status bar: a strip with a line on top and its size grip beside it.
void BuildStatusBar(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"statusbar", picture = u"statusbar.bmp";
    const Integer w = 48, h = 21, grip = 14;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"panel", picture, w + grip, h, T.Surface));
    p.Fill(Rect(0, 0, w, 1), T.Border);
    p.Fill(Rect(w, 0, w + grip, h), MarkerKey);
    for (Integer row = 0; row < 3; ++row)
        for (Integer column = 2 - row; column < 3; ++column)
            p.Fill(Bounds(w + 2 + 4 * column, h - 13 + 4 * row, 2, 2), T.BorderStrong);
    ASkin.SetCorners(s, Point(2, 2), Point(w - 2, 2), Point(2, h - 2), Point(w - 2, h - 2));
    ASkin.SetRect(s, u"clientrect", Rect(2, 2, w - 2, h - 1));
    StretchAll(ASkin, s);
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, w, h), isNine, 2, w - 2, 2, h - 2);
    ASkin.Image(s, u"gripperrect", picture, Rect(w, h - grip, w + grip, h));
    ASkin.SetBool(s, u"grippertransparent", true);
    ASkin.SetColor(s, u"grippertransparentcolor", MarkerKey);
    ASkin.SetFont(s, T.Font, T.TextMuted);
}

// The page control's tab scroller: the left and right arrows of 20 x 20
// side by side, then their looks under the pointer and pressed.
void BuildUpDown(TSkinBuilder& ASkin, const TSkinTheme& T) {
    const String s = u"updown", picture = u"updown.bmp";
    const Integer b = 20;
    TSkinPainter& p = ASkin.Painter(Element(ASkin, s, u"updown", picture, 2 * b, 3 * b, T.Window));
    const TRgb faces[3] = {T.Surface, T.Hover, T.Pressed};
    const TRgb borders[3] = {T.Border, T.Accent, T.Accent};
    for (Integer look = 0; look < 3; ++look)
        for (Integer button = 0; button < 2; ++button) {
            const TRect r = Bounds(button * b, look * b, b, b);
            PaintFace(p, r, T.Window, faces[look], borders[look], 4);
            PaintChevron(p, r.Left + b / 2.0, r.Top + b / 2.0, 7, look == 0 ? T.TextMuted : T.Text,
                         button == 0 ? 2 : 3);
        }
    ASkin.Image(s, u"skinrect", picture, Rect(0, 0, 2 * b, b));
    // Button 0 (up) is the right one, button 1 (down) the left.
    ASkin.Image(s, u"upbuttonrect", picture, Bounds(b, 0, b, b));
    ASkin.Image(s, u"activeupbuttonrect", picture, Bounds(b, b, b, b));
    ASkin.Image(s, u"downupbuttonrect", picture, Bounds(b, 2 * b, b, b));
    ASkin.Image(s, u"downbuttonrect", picture, Bounds(0, 0, b, b));
    ASkin.Image(s, u"activedownbuttonrect", picture, Bounds(0, b, b, b));
    ASkin.Image(s, u"downdownbuttonrect", picture, Bounds(0, 2 * b, b, b));
    ASkin.Set(u"tab", u"updown", s);
}

}  // namespace

void BuildControls(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    BuildButtons(ASkin, ATheme);
    BuildPanels(ASkin, ATheme);
    BuildComboBox(ASkin, ATheme);
    BuildListBox(ASkin, ATheme);
    BuildCaptionListBox(ASkin, ATheme);
    BuildCheckListBox(ASkin, ATheme);
    BuildMenuHeader(ASkin, ATheme);
    BuildScrollBars(ASkin, ATheme);
    BuildEdit(ASkin, ATheme);
    BuildButtonEdit(ASkin, ATheme);
    BuildCheckRadio(ASkin, ATheme, false);
    BuildCheckRadio(ASkin, ATheme, true);
    BuildOthers(ASkin, ATheme);
    BuildSlider(ASkin, ATheme);
    BuildTab(ASkin, ATheme);
    BuildViews(ASkin, ATheme);
    BuildMenuBar(ASkin, ATheme);
    BuildToolMenuButton(ASkin, ATheme);
    BuildHSplitter(ASkin, ATheme);
    BuildStatusBar(ASkin, ATheme);
    BuildUpDown(ASkin, ATheme);
}
