#include "pictures.h"

#include <algorithm>

#include "platform/gdi/bmpcodec.h"
#include "platform/gdi/pngcodec.h"

namespace {

constexpr Cardinal Fuchsia = 0xFF00FF;

}  // namespace

// Folders: the back with its tab, and a closed front or an open flap.
void DrawFolder(TIconPainter& P, bool AOpen) {
    P.FillRoundRect(3, 6.5, 13.5, 12, 1.5, Solid(0xD7931C));
    P.FillRoundRect(3, 9, 29, 26, 1.5, Gradient(0xE9A72A, 0xCF8A17, 9, 26));
    if (!AOpen) {
        P.FillRoundRect(3, 11, 29, 26, 1.5, Gradient(0xFFD76A, 0xF2AE25, 11, 26));
        P.FillRect(4.5, 11.5, 27.5, 12.5, Solid(0xFFFFFF, 0.45));
        P.StrokeRoundRect(3, 6.5, 29, 26, 1.5, 0.8, Solid(0xA86E0C, 0.55));
        return;
    }
    P.FillRect(6, 9.5, 26, 20, Solid(0xFFFFFF));
    P.StrokeRoundRect(6, 9.5, 26, 21, 0, 0.7, Solid(0x9AA3AE));
    const std::vector<TPointF> flap{{6, 14.5}, {31, 14.5}, {27, 26}, {1.5, 26}};
    P.FillPolygon(flap, Gradient(0xFFDE7F, 0xF2AE25, 14.5, 26));
    P.StrokePolygon(flap, 0.8, Solid(0xA86E0C, 0.55));
}

// A disc with its rainbow sheen, centred across the design.
void DrawDisc(TIconPainter& P, double ACentreY, double ARadius) {
    const double k = ARadius / 13.5;
    P.FillRing(16, ACentreY, 13.5 * k, 2.4 * k,
               Gradient(0xF6F8FA, 0xB5BDC8, ACentreY - ARadius, ACentreY + ARadius));
    P.FillRing(16, ACentreY, 11 * k, 7.5 * k, Solid(0x8FD0F7, 0.45));
    P.FillRing(16, ACentreY, 9 * k, 7.5 * k, Solid(0xF7B6E3, 0.4));
    P.FillRing(16, ACentreY, 13.5 * k, 12.7 * k, Solid(0x7D8590));
    P.FillRing(16, ACentreY, 4.6 * k, 2.4 * k, Solid(0xA3ABB6));
}

namespace {

// A sheet of paper with a folded corner, for every kind of file.
void DrawPaper(TIconPainter& P) {
    const std::vector<TPointF> sheet{{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}};
    P.FillPolygon(sheet, Gradient(0xFFFFFF, 0xEEF1F5, 3, 29));
    P.StrokePolygon(sheet, 1.2, Solid(0x8C96A3));
    P.FillPolygon({{20, 3}, {20, 9}, {26, 9}}, Solid(0xD3D9E1));
    P.StrokePolygon({{20, 3}, {20, 9}, {26, 9}}, 1, Solid(0x8C96A3));
}

void DrawFile(TIconPainter& P) {
    DrawPaper(P);
    for (double y : {13.0, 17.0, 21.0})
        P.Line(10.5, y, 22.5, y, 1.4, Solid(0xB4BCC7));
}

void DrawAudio(TIconPainter& P) {
    DrawPaper(P);
    P.FillEllipse(13, 23.5, 3.2, 2.5, Solid(0x8E44AD));
    P.Line(15.6, 23, 15.6, 12.5, 1.8, Solid(0x8E44AD));
    P.Line(15.6, 12.5, 21.5, 15, 2.2, Solid(0x8E44AD));
}

void DrawPicture(TIconPainter& P) {
    DrawPaper(P);
    P.FillRect(9, 12.5, 24, 25.5, Gradient(0x74C0F2, 0xD4EEFF, 12.5, 25.5));
    P.FillPolygon({{9, 25.5}, {14, 18}, {18, 22.5}, {20.5, 20}, {24, 25.5}}, Solid(0x3FA34D));
    P.FillEllipse(20.5, 15.8, 1.9, 1.9, Solid(0xFFC928));
}

void DrawArchive(TIconPainter& P) {
    DrawPaper(P);
    for (int i = 0; i < 8; ++i)
        P.FillRect(i % 2 ? 16 : 14, 3.5 + 2 * i, i % 2 ? 18 : 16, 5.5 + 2 * i, Solid(0x7A5A2E));
    P.FillRoundRect(12.5, 19.5, 19.5, 26.5, 1.2, Gradient(0xB08A50, 0x7A5A2E, 19.5, 26.5));
    P.FillRect(14.5, 22, 17.5, 24, Solid(0xF2E6CF));
}

void DrawDesktop(TIconPainter& P) {
    P.FillRoundRect(3, 5, 29, 26, 2, Gradient(0x45A8E6, 0x1A6AB3, 5, 26));
    P.StrokeRoundRect(3, 5, 29, 26, 2, 0.8, Solid(0x0F4C85, 0.7));
    for (double y : {8.5, 14.5})
        P.FillRoundRect(6.5, y, 10.5, y + 4, 0.8, Solid(0xFFFFFF, 0.9));
    P.FillRoundRect(12.5, 8.5, 16.5, 12.5, 0.8, Solid(0xFFFFFF, 0.9));
    P.FillRect(3.5, 22.5, 28.5, 25.5, Solid(0x0E3A63));
    P.FillRect(5, 23.3, 8, 24.7, Solid(0x7FD37F));
}

void DrawComputer(TIconPainter& P) {
    P.FillRoundRect(3, 4, 29, 22.5, 2, Gradient(0x5A6372, 0x2E343E, 4, 22.5));
    P.FillRect(5, 6, 27, 20, Gradient(0x6CC0F5, 0x1F72C4, 6, 20));
    P.FillPolygon({{5, 6}, {16, 6}, {5, 14}}, Solid(0xFFFFFF, 0.18));
    P.FillPolygon({{13, 22.5}, {19, 22.5}, {20.5, 26.5}, {11.5, 26.5}}, Solid(0x8A929E));
    P.FillRoundRect(8, 26, 24, 28.8, 1.2, Gradient(0x8A929E, 0x5E6671, 26, 28.8));
}

void DrawHome(TIconPainter& P) {
    P.FillRect(7, 15, 25, 28, Gradient(0xFBF5EA, 0xE7DCC8, 15, 28));
    P.StrokeRoundRect(7, 15, 25, 28, 0, 0.9, Solid(0x9C8A6E));
    P.FillPolygon({{16, 3.5}, {30.5, 16.5}, {1.5, 16.5}}, Gradient(0xEC6A43, 0xC2411F, 3.5, 16.5));
    P.StrokePolygon({{16, 3.5}, {30.5, 16.5}, {1.5, 16.5}}, 0.9, Solid(0x8F2C12, 0.7));
    P.FillRoundRect(13.5, 19.5, 18.5, 28, 0.8, Solid(0x8A5A33));
    P.FillRect(20.5, 18.5, 23.5, 21.5, Solid(0x74C0F2));
}

// A drive's box, used by the disk and network pictures.
void DrawDriveBox(TIconPainter& P, double ATop, double ABottom) {
    P.FillRoundRect(3, ATop, 29, ABottom, 2, Gradient(0xDDE2E8, 0x9AA3AE, ATop, ABottom));
    P.FillRoundRect(3, ABottom - 4.5, 29, ABottom, 2, Gradient(0x8C96A3, 0x6B7580, ABottom - 4.5, ABottom));
    P.StrokeRoundRect(3, ATop, 29, ABottom, 2, 0.9, Solid(0x5E6671));
    P.FillEllipse(25, ABottom - 2.25, 1.2, 1.2, Solid(0x3DDC4A));
    for (double x : {7.0, 9.5, 12.0})
        P.Line(x, ABottom - 3.3, x, ABottom - 1.2, 0.9, Solid(0x4A525D));
}

void DrawDisk(TIconPainter& P) {
    DrawDriveBox(P, 9.5, 23.5);
}

void DrawRemovable(TIconPainter& P) {
    P.FillRect(2.5, 11.5, 9, 20.5, Gradient(0xE3E7EC, 0xAEB5BF, 11.5, 20.5));
    P.StrokeRoundRect(2.5, 11.5, 9, 20.5, 0, 0.8, Solid(0x7D8590));
    P.FillRect(4, 13.5, 6, 15, Solid(0x5A616B));
    P.FillRect(4, 17, 6, 18.5, Solid(0x5A616B));
    P.FillRoundRect(8, 9, 29, 23, 3, Gradient(0x525B69, 0x2A3039, 9, 23));
    P.FillRect(12, 12.5, 24, 19.5, Solid(0xFFFFFF, 0.2));
    P.FillEllipse(26, 16, 1.1, 1.1, Solid(0xFF9F1C));
}

void DrawOptical(TIconPainter& P) {
    DrawDisc(P, 16, 13.5);
}

void DrawNetwork(TIconPainter& P) {
    DrawDriveBox(P, 4, 17.5);
    P.FillRect(15, 17.5, 17, 23.5, Solid(0x2E9E4F));
    P.FillRoundRect(4, 23, 28, 26.5, 1.2, Gradient(0x46B866, 0x23803D, 23, 26.5));
    P.FillRoundRect(13, 26, 19, 29.5, 1, Solid(0x23803D));
}

// The stock icons: a round sign with a white mark, and a warning triangle.
void DrawRoundSign(TIconPainter& P, Cardinal ATop, Cardinal ABottom, Cardinal ARim) {
    P.FillEllipse(16, 16, 14.5, 14.5, Gradient(ATop, ABottom, 1.5, 30.5));
    P.FillRing(16, 16, 14.5, 13.6, Solid(ARim, 0.85));
    P.FillEllipse(16, 10, 9, 6, Solid(0xFFFFFF, 0.16));
}

void DrawError(TIconPainter& P) {
    DrawRoundSign(P, 0xF26552, 0xC5221F, 0x8E1712);
    P.Line(11, 11, 21, 21, 3.4, Solid(0xFFFFFF));
    P.Line(21, 11, 11, 21, 3.4, Solid(0xFFFFFF));
}

void DrawQuestion(TIconPainter& P) {
    DrawRoundSign(P, 0x5596F2, 0x1F5FC9, 0x173F8A);
    P.Arc(16, 12.3, 4.6, 195, 390, 3.2, Solid(0xFFFFFF));
    P.Line(19.98, 14.6, 16, 17.6, 3.2, Solid(0xFFFFFF));
    P.Line(16, 17.6, 16, 19.2, 3.2, Solid(0xFFFFFF));
    P.FillEllipse(16, 24, 2, 2, Solid(0xFFFFFF));
}

void DrawWarning(TIconPainter& P) {
    const std::vector<TPointF> sign{{16, 3}, {30.5, 28.5}, {1.5, 28.5}};
    P.FillPolygon(sign, Gradient(0xFFD84D, 0xF2A900, 3, 28.5));
    P.StrokePolygon(sign, 1.4, Solid(0xB07400));
    P.Line(16, 11.5, 16, 19.5, 3.4, Solid(0x222222));
    P.FillEllipse(16, 24, 2, 2, Solid(0x222222));
}

void DrawInformation(TIconPainter& P) {
    DrawRoundSign(P, 0x5596F2, 0x1F5FC9, 0x173F8A);
    P.FillEllipse(16, 9.3, 2.2, 2.2, Solid(0xFFFFFF));
    P.Line(16, 14.5, 16, 23, 3.4, Solid(0xFFFFFF));
    P.Line(13.5, 14.5, 16, 14.5, 2, Solid(0xFFFFFF));
    P.Line(13, 23.5, 19, 23.5, 2, Solid(0xFFFFFF));
}

// The list's current folder: an open folder with an arrow into it.
void DrawCurrentFolder(TIconPainter& P) {
    DrawFolder(P, true);
    P.Line(16, 1.5, 16, 9, 3, Solid(0x1F72C4));
    P.FillPolygon({{10.5, 8}, {21.5, 8}, {16, 13.5}}, Solid(0x1F72C4));
}

// A memory module, on its own 16 x 11 grid.
void DrawRam(TIconPainter& P) {
    P.FillRect(0.5, 1.5, 15.5, 8, Gradient(0x36A269, 0x1F7048, 1.5, 8));
    for (double x : {1.5, 6.0, 10.5})
        P.FillRect(x, 3, x + 3.8, 6.5, Solid(0x202428));
    P.FillRect(1, 8, 15, 10, Solid(0xD4AF37));
    for (double x = 2; x < 15; x += 2)
        P.FillRect(x, 8, x + 0.6, 10, Solid(0x9C7F22));
}

// The file dialogs' tool buttons, drawn on the 32-unit square.
void DrawBackArrow(TIconPainter& P) {
    P.Line(8, 16, 26, 16, 4, Solid(0x1F72C4));
    P.FillPolygon({{3, 16}, {14, 6}, {14, 26}}, Solid(0x1F72C4));
}

void DrawUpFolder(TIconPainter& P) {
    DrawFolder(P, false);
    P.Line(16, 28, 16, 12, 3.4, Solid(0x1F8A3C));
    P.FillPolygon({{16, 5}, {24, 14}, {8, 14}}, Solid(0x1F8A3C));
}

void DrawNewFolder(TIconPainter& P) {
    DrawFolder(P, false);
    P.Line(25, 2, 25, 14, 3, Solid(0xE0A000));
    P.Line(19, 8, 31, 8, 3, Solid(0xE0A000));
}

void DrawViewMenu(TIconPainter& P) {
    for (double y : {5.0, 13.0, 21.0}) {
        P.FillRect(3, y, 9, y + 6, Solid(0x1F72C4));
        P.FillRect(12, y + 1.5, 29, y + 4.5, Solid(0x404040));
    }
}

void DrawStretch(TIconPainter& P) {
    P.StrokePolygon({{4, 4}, {28, 4}, {28, 28}, {4, 28}}, 2, Solid(0x404040));
    P.Line(9, 9, 23, 23, 2.6, Solid(0x1F72C4));
    P.FillPolygon({{7, 7}, {15, 7}, {7, 15}}, Solid(0x1F72C4));
    P.FillPolygon({{25, 25}, {17, 25}, {25, 17}}, Solid(0x1F72C4));
}

using TDraw = void (*)(TIconPainter&);

std::vector<TPictureRecipe> MakeRecipes() {
    std::vector<TPictureRecipe> recipes;
    const std::pair<const char*, TDraw> shellKinds[] = {
        {"FOLDER", [](TIconPainter& P) { DrawFolder(P, false); }},
        {"OPENFOLDER", [](TIconPainter& P) { DrawFolder(P, true); }},
        {"DESKTOP", DrawDesktop},
        {"COMPUTER", DrawComputer},
        {"HOME", DrawHome},
        {"DISK", DrawDisk},
        {"REMOVABLE", DrawRemovable},
        {"OPTICAL", DrawOptical},
        {"NETWORK", DrawNetwork},
        {"FILE", DrawFile},
        {"VIDEO", DrawVideo},
        {"AUDIO", DrawAudio},
        {"PICTURE", DrawPicture},
        {"ARCHIVE", DrawArchive},
    };
    for (Integer size : {16, 32})
        for (const auto& [kind, draw] : shellKinds)
            recipes.push_back({std::string("SHELL_") + kind + "_" + std::to_string(size), size, size, pkPng,
                             size / 32.0, draw});
    const std::pair<const char*, TDraw> stockIcons[] = {
        {"IDI_HAND", DrawError},
        {"IDI_QUESTION", DrawQuestion},
        {"IDI_EXCLAMATION", DrawWarning},
        {"IDI_ASTERISK", DrawInformation},
    };
    for (const auto& [name, draw] : stockIcons)
        recipes.push_back({name, 32, 32, pkPng, 1, draw});
    const struct {
        const char* Name;
        Integer Height;
        TDraw Draw;
    } listBitmaps[] = {
        {"QX_FLOPPY", 16, DrawRemovable},
        {"QX_HARD", 16, DrawDisk},
        {"QX_NETWORK", 16, DrawNetwork},
        {"QX_CDROM", 16, DrawOptical},
        {"QX_OPENFOLDER", 15, [](TIconPainter& P) { DrawFolder(P, true); }},
        {"QX_CLOSEDFOLDER", 15, [](TIconPainter& P) { DrawFolder(P, false); }},
        {"QX_CURRENTFOLDER", 15, DrawCurrentFolder},
    };
    for (const auto& bitmap : listBitmaps)
        recipes.push_back({bitmap.Name, 16, bitmap.Height, pkBitmap, 0.5, bitmap.Draw});
    recipes.push_back({"QX_RAM", 16, 11, pkBitmap, 1, DrawRam});
    const std::pair<const char*, TDraw> toolButtons[] = {
        {"QX_BACK_PNG", DrawBackArrow},   {"QX_UP_PNG", DrawUpFolder}, {"QX_NEWFOLDER_PNG", DrawNewFolder},
        {"QX_LVSTYLE_PNG", DrawViewMenu}, {"QX_STRETCH_PNG", DrawStretch},
    };
    for (const auto& [name, draw] : toolButtons)
        recipes.push_back({name, 16, 16, pkPng, 0.5, draw});
    return recipes;
}

}  // namespace

void DrawVideo(TIconPainter& P) {
    DrawPaper(P);
    P.FillRoundRect(9, 12.5, 24, 25.5, 1.5, Gradient(0x3D7FE6, 0x1D4FAE, 12.5, 25.5));
    P.FillPolygon({{14, 15.5}, {14, 22.5}, {20.5, 19}}, Solid(0xFFFFFF));
}

namespace {

// Disabled: the brightness alone, squeezed into light greys that read on a
// light and on a dark face alike. Hot: a third of the way to white.
void ApplyLook(TImageData& AImage, TPictureLook ALook) {
    for (Integer y = 0; y < AImage.Height(); ++y) {
        Byte* p = AImage.ScanLine(y);
        for (Integer x = 0; x < AImage.Width(); ++x, p += 4) {
            if (ALook == plDisabled) {
                const Integer luma = (p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000;
                p[0] = p[1] = p[2] = Byte(120 + luma * 100 / 255);
            } else {
                for (int c = 0; c < 3; ++c)
                    p[c] = Byte(p[c] + (255 - p[c]) / 3);
            }
        }
    }
}

}  // namespace

const std::vector<TPictureRecipe>& PictureRecipes() {
    static const std::vector<TPictureRecipe> recipes = MakeRecipes();
    return recipes;
}

TImageData RenderPicture(const TPictureRecipe& ARecipe) {
    TIconPainter painter(ARecipe.Width, ARecipe.Height, ARecipe.Scale);
    ARecipe.Draw(painter);
    TImageData image = painter.Image();
    if (ARecipe.Look != plPlain) ApplyLook(image, ARecipe.Look);
    if (ARecipe.Kind == pkPng) return image;
    // Classic bitmaps have no alpha: half-covered pixels become opaque or
    // transparent, and the bottom-left pixel names the transparent colour.
    const Byte key[3] = {Byte(Fuchsia), Byte(Fuchsia >> 8), Byte(Fuchsia >> 16)};
    for (Integer y = 0; y < image.Height(); ++y) {
        Byte* p = image.ScanLine(y);
        for (Integer x = 0; x < image.Width(); ++x, p += 4) {
            const bool transparent = p[3] < 128 || (x == 0 && y == image.Height() - 1);
            if (transparent)
                std::copy(key, key + 3, p);
            else if (std::equal(key, key + 3, p))
                p[0] = 0xFE;
            p[3] = 255;
        }
    }
    image.HasAlpha = false;
    return image;
}

std::vector<Byte> EncodePicture(const TPictureRecipe& ARecipe) {
    const TImageData image = RenderPicture(ARecipe);
    return ARecipe.Kind == pkPng ? EncodePng(image, true) : EncodeBmp(image, 24);
}
