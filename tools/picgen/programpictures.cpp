// The program's own pictures: its icon and logo, the category and format
// pictures of the format boxes, the pictures of the main window's buttons
// and tool bar, the button glyphs that show a command's enabled and disabled
// look, the empty list's cover and the player's resting picture. One look
// throughout: flat shapes with a soft gradient, mid-tone colours and a rim,
// so that they read on the light and on the dark skin.
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "pictures.h"
#include "strokefont.h"

namespace {

struct TColours {
    Cardinal Top;
    Cardinal Bottom;
};

constexpr TColours Blue{0x4A90E2, 0x1F5FBF};
constexpr TColours Green{0x5EE08C, 0x1E9E50};
constexpr TColours Red{0xF0625A, 0xC8302B};
constexpr TColours Amber{0xFFC247, 0xE8900C};
constexpr TColours Purple{0xB07CF0, 0x7B3FD0};
constexpr TColours Slate{0x6B7C93, 0x3D4B5E};
constexpr TColours Screen{0x6CC0F5, 0x1F5FC9};
constexpr TColours Dark{0x4B5058, 0x1E2126};
constexpr Cardinal Rim = 0x8A929E;
constexpr Cardinal White = 0xFFFFFF;

TPaint Fill(const TColours& AColours, double AFromY, double AToY) {
    return Gradient(AColours.Top, AColours.Bottom, AFromY, AToY);
}

// A point on a circle; 0 degrees is right, angles grow clockwise.
TPointF OnCircle(double ACentreX, double ACentreY, double ARadius, double ADegrees) {
    const double a = ADegrees * std::numbers::pi / 180;
    return {ACentreX + ARadius * std::cos(a), ACentreY + ARadius * std::sin(a)};
}

// An arc that ends in an arrow head, turning clockwise.
void ArrowArc(TIconPainter& P, double ARadius, double AFrom, double ATo, double AWidth,
              const TPaint& APaint) {
    P.Arc(16, 16, ARadius, AFrom, ATo - 12, AWidth, APaint);
    const TPointF tip = OnCircle(16, 16, ARadius, ATo + 4);
    const TPointF outer = OnCircle(16, 16, ARadius + AWidth * 1.15, ATo - 16);
    const TPointF inner = OnCircle(16, 16, ARadius - AWidth * 1.15, ATo - 16);
    P.FillPolygon({tip, outer, inner}, APaint);
}

void PlayTriangle(TIconPainter& P, double ALeft, double ATop, double ABottom, const TPaint& APaint) {
    const double height = ABottom - ATop;
    P.FillPolygon({{ALeft, ATop}, {ALeft, ABottom}, {ALeft + height * 0.87, (ATop + ABottom) / 2}}, APaint);
}

// ---- The program's picture ----

// A blue tile; two arrows turning round a play sign: video, converted.
void DrawLogo(TIconPainter& P) {
    P.FillRoundRect(1.5, 1.5, 30.5, 30.5, 7, Gradient(0x3FA2FF, 0x1957C9, 1.5, 30.5));
    P.StrokeRoundRect(1.5, 1.5, 30.5, 30.5, 7, 0.9, Solid(0x0E3F99, 0.6));
    ArrowArc(P, 10.3, 195, 330, 2.6, Solid(0xDDF0FF));
    ArrowArc(P, 10.3, 15, 150, 2.6, Solid(0xDDF0FF));
    PlayTriangle(P, 13, 10.8, 21.2, Solid(White));
}

// ---- Category pictures ----

// A sheet of paper with a small film frame and a coloured band naming the format.
void DrawFormatCard(TIconPainter& P, const char* ALabel, const TColours& AColours) {
    const std::vector<TPointF> sheet{{6, 1.5}, {20, 1.5}, {27, 8.5}, {27, 30.5}, {6, 30.5}};
    P.FillPolygon(sheet, Gradient(White, 0xE9EDF2, 1.5, 30.5));
    P.StrokePolygon(sheet, 1, Solid(Rim));
    P.FillPolygon({{20, 1.5}, {20, 8.5}, {27, 8.5}}, Solid(0xD3D9E1));
    P.StrokePolygon({{20, 1.5}, {20, 8.5}, {27, 8.5}}, 0.9, Solid(Rim));
    P.FillRoundRect(9, 4, 17.5, 12, 1.2, Solid(AColours.Bottom));
    PlayTriangle(P, 11.8, 5.6, 10.4, Solid(White));
    P.FillRoundRect(2.5, 15, 29.5, 27, 2.2, Fill(AColours, 15, 27));
    P.StrokeRoundRect(2.5, 15, 29.5, 27, 2.2, 0.7, Solid(0x000000, 0.25));
    DrawLabel(P, ALabel, 4.5, 16.6, 27.5, 25.4, 1.8, Solid(White));
}

// A band under a picture of a device or a disc, naming the format.
void DrawBand(TIconPainter& P, const char* ALabel, const TColours& AColours) {
    P.FillRoundRect(3, 20.5, 29, 30, 2, Fill(AColours, 20.5, 30));
    P.StrokeRoundRect(3, 20.5, 29, 30, 2, 0.7, Solid(0x000000, 0.25));
    DrawLabel(P, ALabel, 5, 21.8, 27, 28.7, 1.6, Solid(White));
}

// A screen with a play sign, the content of every device.
void DrawScreen(TIconPainter& P, double ALeft, double ATop, double ARight, double ABottom) {
    P.FillRect(ALeft, ATop, ARight, ABottom, Fill(Screen, ATop, ABottom));
    const double h = (ABottom - ATop) * 0.42, cx = (ALeft + ARight) / 2, cy = (ATop + ABottom) / 2;
    PlayTriangle(P, cx - h * 0.35, cy - h / 2, cy + h / 2, Solid(White, 0.9));
}

// A film strip with a play sign: video in general.
void DrawFilm(TIconPainter& P) {
    P.FillRoundRect(2.2, 5.2, 29.8, 26.8, 3, Solid(Rim));
    P.FillRoundRect(3, 6, 29, 26, 2.5, Gradient(0x3A4452, 0x1F252D, 6, 26));
    for (int i = 0; i < 6; ++i) {
        const double x = 5 + 4.2 * i;
        P.FillRoundRect(x, 7.4, x + 2.2, 9.6, 0.5, Solid(White, 0.85));
        P.FillRoundRect(x, 22.4, x + 2.2, 24.6, 0.5, Solid(White, 0.85));
    }
    DrawScreen(P, 3, 11, 29, 21);
}

void DrawMusic(TIconPainter& P) {
    P.FillEllipse(16, 16, 14.5, 14.5, Fill(Purple, 1.5, 30.5));
    P.FillRing(16, 16, 14.5, 13.6, Solid(0x5A2A9E, 0.8));
    P.FillEllipse(10.5, 22.3, 3.3, 2.6, Solid(White));
    P.FillEllipse(21, 20.3, 3.3, 2.6, Solid(White));
    P.Line(13.3, 22, 13.3, 9.6, 1.8, Solid(White));
    P.Line(23.8, 20, 23.8, 7.6, 1.8, Solid(White));
    P.FillPolygon({{12.4, 9.4}, {24.7, 7}, {24.7, 10.8}, {12.4, 13.2}}, Solid(White));
}

void DrawHD(TIconPainter& P) {
    P.FillRoundRect(2.5, 4, 29.5, 23.5, 2, Fill(Dark, 4, 23.5));
    P.StrokeRoundRect(2.5, 4, 29.5, 23.5, 2, 0.8, Solid(Rim));
    P.FillRect(4.5, 6, 27.5, 21.5, Gradient(0xFFD25A, 0xF39C12, 6, 21.5));
    DrawLabel(P, "HD", 7, 8.2, 25, 19.3, 2.3, Solid(White));
    P.FillPolygon({{13, 23.5}, {19, 23.5}, {20.5, 27}, {11.5, 27}}, Solid(0x7D8590));
    P.FillRoundRect(8, 26.5, 24, 29.2, 1.2, Gradient(0x9AA3AE, 0x5E6671, 26.5, 29.2));
}

void DrawMusicPlayer(TIconPainter& P) {
    P.FillRoundRect(8, 2, 24, 30, 3.5, Gradient(0xF7F8FA, 0xC9CED6, 2, 30));
    P.StrokeRoundRect(8, 2, 24, 30, 3.5, 0.9, Solid(Rim));
    DrawScreen(P, 10, 4.5, 22, 14);
    P.FillEllipse(16, 22, 5.6, 5.6, Gradient(White, 0xD5DAE1, 16.4, 27.6));
    P.FillRing(16, 22, 5.6, 4.9, Solid(0x9AA3AE));
    P.FillEllipse(16, 22, 2, 2, Solid(0xB5BDC8));
}

// A dark device body with a mid-tone rim.
void DrawBody(TIconPainter& P, double ALeft, double ATop, double ARight, double ABottom, double ARadius) {
    P.FillRoundRect(ALeft - 0.8, ATop - 0.8, ARight + 0.8, ABottom + 0.8, ARadius + 0.8, Solid(Rim));
    P.FillRoundRect(ALeft, ATop, ARight, ABottom, ARadius, Fill(Dark, ATop, ABottom));
}

void DrawPhone(TIconPainter& P) {
    DrawBody(P, 9, 2, 23, 30, 3.2);
    DrawScreen(P, 10.5, 5.2, 21.5, 25.2);
    P.Line(14.5, 3.6, 17.5, 3.6, 0.8, Solid(0x8A929E));
    P.FillRing(16, 27.7, 1.3, 0.75, Solid(0x8A929E));
}

// A direction pad: a cross of arms AReach long and 2 x AHalf wide.
void DrawPad(TIconPainter& P, TPointF ACentre, double AReach, double AHalf) {
    P.FillRect(ACentre.X - AReach, ACentre.Y - AHalf, ACentre.X + AReach, ACentre.Y + AHalf, Solid(0xC5CBD3));
    P.FillRect(ACentre.X - AHalf, ACentre.Y - AReach, ACentre.X + AHalf, ACentre.Y + AReach, Solid(0xC5CBD3));
}

// A game pad's four buttons round a point, coloured top, right, bottom, left.
void DrawFourButtons(TIconPainter& P, TPointF ACentre, double ASpread, double ARadius,
                     const std::array<Cardinal, 4>& AColours) {
    const TPointF places[] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    for (int i = 0; i < 4; ++i)
        P.FillEllipse(ACentre.X + places[i].X * ASpread, ACentre.Y + places[i].Y * ASpread, ARadius, ARadius,
                      Solid(AColours[size_t(i)]));
}

void DrawHandheld(TIconPainter& P) {
    DrawBody(P, 2, 9, 30, 23, 6);
    DrawScreen(P, 9, 11, 23, 21);
    DrawPad(P, {5.2, 16}, 1.6, 0.8);
    DrawFourButtons(P, {26.5, 16}, 2.1, 0.95, {0x4CD07D, 0xF28BD0, 0x4A90E2, 0xF0625A});
}

void DrawFeaturePhone(TIconPainter& P) {
    P.FillRoundRect(8.2, 1.2, 23.8, 30.8, 3.8, Solid(0x23803D));
    P.FillRoundRect(9, 2, 23, 30, 3, Fill(Green, 2, 30));
    P.FillRect(11, 5, 21, 14, Gradient(0xE8F6FF, 0x9FD3F5, 5, 14));
    DrawLabel(P, "3GP", 11.6, 6.4, 20.4, 12.6, 1.1, Solid(0x1F5E8A));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column) {
            const double x = 11.2 + 3.5 * column, y = 16.4 + 3.3 * row;
            P.FillRoundRect(x, y, x + 2.6, y + 2.1, 0.6, Solid(White, 0.85));
        }
}

void DrawTelevisionBox(TIconPainter& P) {
    DrawBody(P, 2, 3, 30, 21.5, 2);
    DrawScreen(P, 4, 5, 28, 19.5);
    DrawBody(P, 9, 24, 23, 29.5, 1.5);
    P.Line(11.5, 25.8, 20.5, 25.8, 0.7, Solid(White, 0.25));
    P.FillEllipse(21, 27.4, 0.7, 0.7, Solid(0x4CD07D));
}

void DrawGamepad(TIconPainter& P) {
    P.FillRoundRect(2.2, 9.2, 29.8, 22.8, 6.8, Solid(Rim));
    P.FillEllipse(8, 21.5, 5.3, 6.3, Solid(Rim));
    P.FillEllipse(24, 21.5, 5.3, 6.3, Solid(Rim));
    const TPaint body = Fill(Dark, 9, 27);
    P.FillRoundRect(3, 10, 29, 22, 6, body);
    P.FillEllipse(8, 21.5, 4.5, 5.5, body);
    P.FillEllipse(24, 21.5, 4.5, 5.5, body);
    P.FillEllipse(16, 13.4, 2.3, 2.3, Fill(Green, 11, 15.8));
    P.FillEllipse(9.5, 15.2, 2.2, 2.2, Solid(0x8A929E));
    P.FillEllipse(19.6, 19.2, 1.9, 1.9, Solid(0x8A929E));
    DrawPad(P, {12.7, 20}, 1.9, 0.6);
    DrawFourButtons(P, {24.6, 15}, 2.2, 1.05, {0xFFC247, 0xF0625A, 0x4CD07D, 0x4A90E2});
}

void DrawMediaPlayer(TIconPainter& P) {
    P.FillRoundRect(1.7, 5.2, 30.3, 26.8, 3.8, Solid(0xB8570A));
    P.FillRoundRect(2.5, 6, 29.5, 26, 3, Fill(Amber, 6, 26));
    P.FillRect(5, 8.5, 22, 23.5, Gradient(0x2B3340, 0x11151B, 8.5, 23.5));
    PlayTriangle(P, 11.5, 12.5, 19.5, Solid(White, 0.9));
    for (double y : {11.5, 16.0, 20.5})
        P.FillEllipse(25.8, y, 1.5, 1.5, Solid(White, 0.9));
}

void DrawTablet(TIconPainter& P) {
    DrawBody(P, 5, 2, 27, 30, 3);
    DrawScreen(P, 7, 4.5, 25, 26.2);
    P.FillRing(16, 28.2, 1.1, 0.6, Solid(0x8A929E));
}

void DrawDiscAbove(TIconPainter& P) {
    DrawDisc(P, 12.5, 11.5);
}

void DrawCamcorder(TIconPainter& P) {
    DrawBody(P, 3, 6, 20.5, 17, 2.5);
    DrawBody(P, 19.5, 7.5, 27, 15.5, 1.5);
    P.FillEllipse(27.6, 11.5, 2.2, 3.6, Fill(Screen, 7.9, 15.1));
    P.FillRect(5, 3.4, 11, 6, Solid(0x3A3F46));
    P.FillEllipse(6.8, 9, 1.2, 1.2, Solid(0xF0625A));
    P.Line(9.5, 13.5, 16.5, 13.5, 0.8, Solid(White, 0.3));
}

using TDraw = std::function<void(TIconPainter&)>;

TDraw Card(const char* ALabel, TColours AColours) {
    return [=](TIconPainter& P) { DrawFormatCard(P, ALabel, AColours); };
}

TDraw Banded(void (*ADevice)(TIconPainter&), const char* ALabel, TColours AColours) {
    return [=](TIconPainter& P) {
        ADevice(P);
        DrawBand(P, ALabel, AColours);
    };
}

// By category code: the code is the picture's index in the category list.
const std::vector<TDraw>& CategoryDesigns() {
    static const std::vector<TDraw> designs{
        DrawFilm,                                            // 0 视频格式
        DrawMusic,                                           // 1 音频格式
        DrawHD,                                              // 2 高清格式
        DrawMusicPlayer,                                     // 3 iPod
        DrawPhone,                                           // 4 iPhone格式
        DrawHandheld,                                        // 5 PSP格式
        DrawFeaturePhone,                                    // 6 3GP
        DrawTelevisionBox,                                   // 7 APPLE格式
        DrawGamepad,                                         // 8 XboX格式
        DrawMediaPlayer,                                     // 9 PMP格式
        Card("MP4", {0x35C2B8, 0x12877F}),                   // 10 MP4格式
        Card("FLV", {0xF2594B, 0xB8231A}),                   // 11 Flash格式
        DrawTablet,                                          // 12 iPad格式
        Card("MPG", {0x6C7BF2, 0x3A47C4}),                   // 13 MPG格式
        Card("SWF", {0xFF8A4C, 0xD9480F}),                   // 14 SWF
        Card("AVI", Blue),                                   // 15 AVI格式
        Card("MKV", {0x5BCB6E, 0x23913A}),                   // 16 MKV格式
        Card("WMV", {0x45B5F0, 0x1679C2}),                   // 17 WMV格式
        Card("ASF", {0x8796A8, 0x4E5D70}),                   // 18 ASF
        Card("3GP", {0x9BD14A, 0x5C9A17}),                   // 19 3GP
        Banded(DrawDiscAbove, "VOB", {0xA46BF0, 0x6A2FC0}),  // 20 VOB格式
        Banded(DrawCamcorder, "MTS", {0xF5A524, 0xC26A00}),  // 21 MTS格式
        Banded(DrawCamcorder, "MOD", {0x2FBF9F, 0x118066}),  // 22 MOD格式
        Card("RMVB", {0xD9546E, 0x9B1F3A}),                  // 23 RMVB格式
    };
    return designs;
}

// The format items alternate between the first two; the third is spare.
void DrawFormatTile(TIconPainter& P, const TColours& AColours) {
    P.FillRoundRect(2, 2, 30, 30, 6, Fill(AColours, 2, 30));
    P.StrokeRoundRect(2, 2, 30, 30, 6, 0.8, Solid(0x000000, 0.22));
    P.FillRoundRect(6.5, 8.5, 25.5, 23.5, 2, Solid(White, 0.95));
    for (int i = 0; i < 4; ++i) {
        const double x = 9 + 4 * i;
        P.FillRect(x, 9.4, x + 2, 10.8, Solid(AColours.Bottom));
        P.FillRect(x, 21.2, x + 2, 22.6, Solid(AColours.Bottom));
    }
    P.FillRect(8.5, 12, 23.5, 20, Fill(AColours, 12, 20));
    PlayTriangle(P, 14.2, 13.3, 18.7, Solid(White));
}

// ---- Buttons ----

void DrawArrow(TIconPainter& P, bool AUp) {
    std::vector<TPointF> arrow{{12, 4}, {20, 4}, {20, 16}, {26.5, 16}, {16, 28.5}, {5.5, 16}, {12, 16}};
    if (AUp)
        for (TPointF& point : arrow)
            point.Y = 32 - point.Y;
    P.FillPolygon(arrow, Fill(Blue, 4, 28.5));
    P.StrokePolygon(arrow, 1, Solid(0x174A94));
}

void DrawPlay(TIconPainter& P) {
    const std::vector<TPointF> sign{{9, 5.5}, {9, 26.5}, {26, 16}};
    P.FillPolygon(sign, Fill(Green, 5.5, 26.5));
    P.StrokePolygon(sign, 1, Solid(0x157A3C));
}

void DrawPauseBars(TIconPainter& P) {
    for (double x : {7.5, 18.5}) {
        P.FillRoundRect(x, 6, x + 6, 26, 1.5, Fill(Amber, 6, 26));
        P.StrokeRoundRect(x, 6, x + 6, 26, 1.5, 0.9, Solid(0xB06A00));
    }
}

void DrawStopSquare(TIconPainter& P) {
    P.FillRoundRect(7, 7, 25, 25, 2.5, Fill(Red, 7, 25));
    P.StrokeRoundRect(7, 7, 25, 25, 2.5, 0.9, Solid(0x8E1712));
}

void DrawSpeaker(TIconPainter& P, const TColours& AColours) {
    const std::vector<TPointF> speaker{{3.5, 12}, {9.5, 12}, {16.5, 5.5}, {16.5, 26.5}, {9.5, 20}, {3.5, 20}};
    P.FillPolygon(speaker, Fill(AColours, 5.5, 26.5));
    P.StrokePolygon(speaker, 0.9, Solid(0x000000, 0.3));
}

// Sound on: the button mutes it.
void DrawSoundOn(TIconPainter& P) {
    DrawSpeaker(P, Blue);
    P.Arc(16.5, 16, 5.5, -48, 48, 2.2, Solid(Blue.Bottom));
    P.Arc(16.5, 16, 10, -48, 48, 2.2, Solid(Blue.Bottom));
}

// Sound off: the button turns it on again.
void DrawSoundOff(TIconPainter& P) {
    DrawSpeaker(P, Slate);
    P.Line(20.5, 11, 28.5, 21, 2.8, Solid(Red.Bottom));
    P.Line(28.5, 11, 20.5, 21, 2.8, Solid(Red.Bottom));
}

void DrawCamera(TIconPainter& P) {
    P.FillPolygon({{9.5, 9.5}, {12.3, 4.8}, {19.7, 4.8}, {22.5, 9.5}}, Fill(Slate, 4.8, 9.5));
    P.FillRoundRect(3, 9, 29, 27, 3, Fill(Slate, 9, 27));
    P.StrokeRoundRect(3, 9, 29, 27, 3, 0.8, Solid(0x000000, 0.3));
    P.FillEllipse(16, 18, 6.3, 6.3, Solid(0xE8EEF5));
    P.FillEllipse(16, 18, 4.4, 4.4, Fill(Screen, 13.6, 22.4));
    P.FillEllipse(14.6, 16.6, 1.3, 1.3, Solid(White, 0.7));
    P.FillEllipse(25, 12.6, 1.4, 1.4, Solid(Amber.Top));
}

void DrawGear(TIconPainter& P) {
    const TPaint metal = Fill(Slate, 2, 30);
    for (int i = 0; i < 8; ++i) {
        const TPointF from = OnCircle(16, 16, 9, 22.5 + 45 * i), to = OnCircle(16, 16, 12.3, 22.5 + 45 * i);
        P.Line(from.X, from.Y, to.X, to.Y, 4.6, metal);
    }
    P.FillEllipse(16, 16, 10.3, 10.3, metal);
    P.FillEllipse(16, 16, 4.3, 4.3, Solid(0xE8EEF5));
    P.FillRing(16, 16, 4.3, 3.5, Solid(0x000000, 0.2));
}

void DrawSliders(TIconPainter& P) {
    const double knobs[] = {20, 11, 16.5};
    for (int i = 0; i < 3; ++i) {
        const double y = 7.5 + 8.5 * i;
        P.Line(4, y, 28, y, 2, Solid(0x8A929E));
        P.FillRoundRect(knobs[i] - 2.6, y - 3.6, knobs[i] + 2.6, y + 3.6, 1.2, Fill(Blue, y - 3.6, y + 3.6));
        P.StrokeRoundRect(knobs[i] - 2.6, y - 3.6, knobs[i] + 2.6, y + 3.6, 1.2, 0.8, Solid(0x174A94));
    }
}

void DrawBrowse(TIconPainter& P) {
    DrawFolder(P, false);
    P.FillEllipse(20.5, 18.5, 6.3, 6.3, Solid(0x3D4B5E));
    P.FillEllipse(20.5, 18.5, 4.4, 4.4, Solid(0xDDF0FF));
    P.Line(25, 23, 29.5, 27.5, 3.2, Solid(0x3D4B5E));
}

void DrawOpenFolder(TIconPainter& P) {
    DrawFolder(P, true);
    P.Line(16, 21, 24, 13, 2.8, Solid(Green.Bottom));
    P.FillPolygon({{19, 10.5}, {27.5, 9.5}, {26.5, 18}}, Solid(Green.Bottom));
}

// A video file with a green plus: files into the list.
void DrawAddVideo(TIconPainter& P) {
    DrawVideo(P);
    P.FillEllipse(23.5, 23.5, 7.3, 7.3, Fill(Green, 16.2, 30.8));
    P.FillRing(23.5, 23.5, 7.3, 6.5, Solid(0x157A3C));
    P.Line(19.5, 23.5, 27.5, 23.5, 2.6, Solid(White));
    P.Line(23.5, 19.5, 23.5, 27.5, 2.6, Solid(White));
}

// A painter's palette with four colours: the look of the whole window.
void DrawPalette(TIconPainter& P) {
    P.FillEllipse(16, 16.5, 14, 12, Fill(Amber, 4.5, 28.5));
    P.FillEllipse(21.5, 22, 3.2, 2.8, Solid(White));
    P.FillRing(21.5, 22, 3.6, 3.0, Solid(0x9C6A00));
    const struct {
        double X, Y;
        TColours Colours;
    } dots[] = {{9, 14, Red}, {14.5, 9, Blue}, {21.5, 10, Green}, {9.5, 21, Slate}};
    for (const auto& dot : dots) {
        P.FillEllipse(dot.X, dot.Y, 3, 3, Fill(dot.Colours, dot.Y - 3, dot.Y + 3));
        P.FillRing(dot.X, dot.Y, 3, 2.4, Solid(0x000000, 0.25));
    }
}

// ---- Glyphs of the run and list commands ----

// A round button with a sign on it.
void DrawRoundButton(TIconPainter& P, const TColours& AColours, Cardinal ARim) {
    P.FillEllipse(16, 16, 14.5, 14.5, Fill(AColours, 1.5, 30.5));
    P.FillRing(16, 16, 14.5, 13.5, Solid(ARim, 0.9));
    P.FillEllipse(16, 9.5, 9, 5, Solid(White, 0.16));
}

void DrawStart(TIconPainter& P) {
    DrawRoundButton(P, Green, 0x157A3C);
    PlayTriangle(P, 12.5, 9, 23, Solid(White));
}

void DrawPause(TIconPainter& P) {
    DrawRoundButton(P, Amber, 0xB06A00);
    P.FillRoundRect(10.8, 9.5, 14.3, 22.5, 1, Solid(White));
    P.FillRoundRect(17.7, 9.5, 21.2, 22.5, 1, Solid(White));
}

void DrawResume(TIconPainter& P) {
    DrawRoundButton(P, Blue, 0x174A94);
    PlayTriangle(P, 12.8, 9.5, 22.5, Solid(White));
}

void DrawStop(TIconPainter& P) {
    DrawRoundButton(P, Red, 0x8E1712);
    P.FillRoundRect(10.5, 10.5, 21.5, 21.5, 1.5, Solid(White));
}

// A list sheet with a red minus: the selected file leaves the list.
void DrawRemove(TIconPainter& P) {
    const std::vector<TPointF> sheet{{4, 2}, {16, 2}, {22, 8}, {22, 28}, {4, 28}};
    P.FillPolygon(sheet, Gradient(White, 0xEEF1F5, 2, 28));
    P.StrokePolygon(sheet, 1.1, Solid(Rim));
    for (double y : {10.0, 14.0, 18.0})
        P.Line(7.5, y, 18.5, y, 1.4, Solid(0xB4BCC7));
    P.FillEllipse(22.5, 22.5, 8, 8, Fill(Red, 14.5, 30.5));
    P.FillRing(22.5, 22.5, 8, 7.2, Solid(0x8E1712));
    P.Line(18, 22.5, 27, 22.5, 2.8, Solid(White));
}

// A bin: the whole list is emptied.
void DrawBin(TIconPainter& P) {
    P.StrokeRoundRect(12, 2.5, 20, 7.5, 1.5, 1.4, Solid(0x5D6B7D));
    const std::vector<TPointF> body{{7.5, 10.5}, {24.5, 10.5}, {22.6, 29.5}, {9.4, 29.5}};
    P.FillPolygon(body, Gradient(0x9CC7F2, 0x4A7FC0, 10.5, 29.5));
    P.StrokePolygon(body, 1, Solid(0x2F5E99));
    for (double x : {12.5, 16.0, 19.5})
        P.Line(x, 13.5, x, 26.5, 1.4, Solid(White, 0.7));
    P.FillRoundRect(5, 6, 27, 10.5, 1.2, Gradient(0x8A96A6, 0x5D6B7D, 6, 10.5));
}

void DrawPencil(TIconPainter& P) {
    P.FillPolygon({{21, 4}, {28, 11}, {11, 28}, {4, 21}}, Gradient(0xFFD25A, 0xE89B0C, 4, 28));
    P.FillPolygon({{4, 21}, {11, 28}, {2.5, 29.5}}, Solid(0xF3D9B1));
    P.FillPolygon({{2.5, 29.5}, {4.6, 25.3}, {6.7, 27.4}}, Solid(0x3A3F46));
    P.FillPolygon({{21, 4}, {23.5, 1.5}, {30.5, 8.5}, {28, 11}}, Solid(0xF28BA8));
    P.Line(20.3, 4.7, 27.3, 11.7, 1.4, Solid(0xA3ABB6));
    P.StrokePolygon({{21, 4}, {28, 11}, {11, 28}, {4, 21}}, 0.8, Solid(0x9C6A00));
}

// ---- Large pictures ----

// The empty list's cover: a dashed frame where files go, the adding
// picture, and the rows that will appear.
void DrawCover(TIconPainter& P) {
    const TPaint dash = Solid(0x7F8FA6, 0.55);
    constexpr double left = 40, top = 22, right = 530, bottom = 238, on = 14, off = 10;
    for (double x = left + 18; x + on <= right - 18; x += on + off) {
        P.Line(x, top, x + on, top, 2.4, dash);
        P.Line(x, bottom, x + on, bottom, 2.4, dash);
    }
    for (double y = top + 18; y + on <= bottom - 18; y += on + off) {
        P.Line(left, y, left, y + on, 2.4, dash);
        P.Line(right, y, right, y + on, 2.4, dash);
    }
    const TPointF corners[] = {
        {left + 12, top + 12}, {right - 12, top + 12}, {right - 12, bottom - 12}, {left + 12, bottom - 12}};
    for (int i = 0; i < 4; ++i)
        P.Arc(corners[i].X, corners[i].Y, 12, 180 + 90 * i, 270 + 90 * i, 2.4, dash);
    const TPointF rows[] = {{260, 178}, {210, 196}, {236, 214}};
    for (const TPointF& row : rows)
        P.FillRoundRect(285 - row.X / 2, row.Y, 285 + row.X / 2, row.Y + 9, 4.5, Solid(0x7F8FA6, 0.22));
    P.Place(237, 44, 3);
    DrawAddVideo(P);
}

// The player's host while nothing plays: a dark frame with a quiet play sign.
void DrawPlayerRest(TIconPainter& P) {
    P.FillRect(0, 0, 210, 135, Gradient(0x20252C, 0x0E1114, 0, 135));
    for (double x = 5; x < 210; x += 14) {
        P.FillRoundRect(x, 5, x + 7, 10, 1.5, Solid(White, 0.1));
        P.FillRoundRect(x, 125, x + 7, 130, 1.5, Solid(White, 0.1));
    }
    P.FillRing(105, 67.5, 27, 24, Solid(White, 0.22));
    PlayTriangle(P, 97, 54, 81, Solid(White, 0.3));
}

void DrawAbout(TIconPainter& P) {
    P.Place(3, 1, 2.5);
    DrawLogo(P);
}

// The settings dialog's twelve category pictures, side by side: its
// categories are the main window's codes 0 to 11.
void DrawSettingsCategories(TIconPainter& P) {
    for (int i = 0; i < 12; ++i) {
        P.Place(32 * i, 0, 1);
        CategoryDesigns()[size_t(i)](P);
    }
}

std::string TwoDigits(int ANumber) {
    return std::string(1, char('0' + ANumber / 10)) + char('0' + ANumber % 10);
}

std::vector<TPictureRecipe> MakeRecipes() {
    std::vector<TPictureRecipe> recipes;
    const auto add = [&](std::string AName, Integer AWidth, Integer AHeight, TDraw ADraw,
                         TPictureKind AKind = pkPng, TPictureLook ALook = plPlain) {
        recipes.push_back(
            {"pictures/" + AName, AWidth, AHeight, AKind, AWidth / 32.0, std::move(ADraw), ALook});
    };
    const auto addPixels = [&](std::string AName, Integer AWidth, Integer AHeight, TDraw ADraw) {
        recipes.push_back({"pictures/" + AName, AWidth, AHeight, pkPng, 1, std::move(ADraw)});
    };
    for (Integer size : {16, 32, 48})
        add("velqua" + std::to_string(size) + ".png", size, size, DrawLogo);
    addPixels("about.png", 87, 83, DrawAbout);
    addPixels("cover.png", 570, 260, DrawCover);
    addPixels("player.png", 210, 135, DrawPlayerRest);
    for (int code = 0; code < 24; ++code)
        add("categories/" + TwoDigits(code) + ".png", 36, 36, CategoryDesigns()[size_t(code)]);
    const TColours formatColours[] = {Blue, Green, Amber};
    for (int i = 0; i < 3; ++i)
        add("formats/" + std::to_string(i) + ".png", 32, 32,
            [colours = formatColours[i]](TIconPainter& P) { DrawFormatTile(P, colours); });
    add("listbuttons/down.png", 16, 16, [](TIconPainter& P) { DrawArrow(P, false); });
    add("listbuttons/up.png", 16, 16, [](TIconPainter& P) { DrawArrow(P, true); });
    const std::pair<const char*, TDraw> playerButtons[] = {
        {"play", DrawPlay},       {"pause", DrawPauseBars}, {"stop", DrawStopSquare}, {"mute", DrawSoundOn},
        {"unmute", DrawSoundOff}, {"snapshot", DrawCamera}, {"settings", DrawGear}};
    for (const auto& [name, draw] : playerButtons)
        add(std::string("player/") + name + ".png", 24, 24, draw);
    // The buttons that show these pictures take bitmap glyphs.
    for (TPictureLook look : {plPlain, plDisabled}) {
        const std::string disabled = look == plDisabled ? "-disabled" : "";
        add("glyphs/up" + disabled + ".bmp", 16, 16, [](TIconPainter& P) { DrawArrow(P, true); }, pkBitmap, look);
        add("glyphs/down" + disabled + ".bmp", 16, 16, [](TIconPainter& P) { DrawArrow(P, false); }, pkBitmap,
            look);
    }
    for (const auto& [name, draw] : playerButtons)
        add(std::string("glyphs/player-") + name + ".bmp", 24, 24, draw, pkBitmap);
    add("output/settings.png", 24, 24, DrawSliders);
    add("output/browse.png", 24, 24, DrawBrowse);
    add("output/open.png", 24, 24, DrawOpenFolder);
    add("logo36.png", 36, 36, DrawLogo);
    add("logo80.png", 80, 80, DrawLogo);
    for (TPictureLook look : {plPlain, plHot}) {
        const std::string hot = look == plHot ? "-hot" : "";
        add("toolbar/add" + hot + ".png", 32, 32, DrawAddVideo, pkPng, look);
        add("toolbar/options" + hot + ".png", 32, 32, DrawGear, pkPng, look);
        add("toolbar/skin" + hot + ".png", 32, 32, DrawPalette, pkPng, look);
    }
    const struct {
        const char* Name;
        Integer Size;
        TDraw Draw;
    } glyphs[] = {
        {"start", 64, DrawStart},   {"pause", 24, DrawPause}, {"resume", 24, DrawResume},
        {"stop", 24, DrawStop},     {"clear", 32, DrawBin},   {"remove", 32, DrawRemove},
        {"rename", 16, DrawPencil},
    };
    for (const auto& glyph : glyphs)
        for (TPictureLook look : {plPlain, plDisabled})
            add(std::string("glyphs/") + glyph.Name + (look == plDisabled ? "-disabled" : "") + ".bmp",
                glyph.Size, glyph.Size, glyph.Draw, pkBitmap, look);
    addPixels("settings/categories.png", 12 * 32, 32, DrawSettingsCategories);
    add("settings/picture.png", 128, 128, DrawLogo);
    return recipes;
}

}  // namespace

const std::vector<TPictureRecipe>& ProgramPictureRecipes() {
    static const std::vector<TPictureRecipe> recipes = MakeRecipes();
    return recipes;
}
