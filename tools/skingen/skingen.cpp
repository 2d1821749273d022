#include "skingen.h"

#include <fstream>

#include "platform/base/fileutils.h"
#include "platform/base/stringlist.h"
#include "skin/core/qxcompressedskins.h"
#include "skindesign.h"

const TSkinTheme& DefaultTheme() {
    static const TSkinTheme theme = [] {
        TSkinTheme t;
        t.Name = u"default";
        t.Comments = u"Light neutral surfaces with one blue accent.";
        t.Window = Rgb(0xF3F4F6);
        t.Surface = Rgb(0xFFFFFF);
        t.Raised = Rgb(0xFFFFFF);
        t.Hover = Rgb(0xEEF4FE);
        t.Pressed = Rgb(0xDCE7FC);
        t.Border = Rgb(0xC6CBD3);
        t.BorderStrong = Rgb(0xAEB5BF);
        t.Accent = Rgb(0x2563EB);
        t.AccentSoft = Rgb(0xDCE8FD);
        t.OnAccent = Rgb(0xFFFFFF);
        t.Text = Rgb(0x1F2328);
        t.TextMuted = Rgb(0x57606A);
        t.TextDisabled = Rgb(0x656D76);
        t.DisabledFace = Rgb(0xF0F1F3);
        t.DisabledBorder = Rgb(0xDADDE2);
        t.Caption = Rgb(0xFFFFFF);
        t.CaptionInactive = Rgb(0xF7F8FA);
        t.CaptionText = Rgb(0x1F2328);
        t.CaptionTextInactive = Rgb(0x656D76);
        t.CaptionHover = Rgb(0xE8EAED);
        t.CaptionDown = Rgb(0xD5D9DE);
        t.Close = Rgb(0xC42B1C);
        t.CloseDown = Rgb(0xA52313);
        t.Track = Rgb(0xF6F7F9);
        t.Thumb = Rgb(0xC3C8D0);
        t.ThumbHover = Rgb(0xA9B0BA);
        t.ThumbDown = Rgb(0x8D96A2);
        t.HeaderFace = Rgb(0xF6F7F9);
        t.TooltipFace = Rgb(0xFFFFFF);
        t.TooltipBorder = Rgb(0xAEB5BF);
        t.TooltipText = Rgb(0x1F2328);
        t.CaptionHeight = 30;
        t.FrameRadius = 0;
        // Chinese names reach the CJK face; 15 pixels of cell give 12 of character.
        t.Font = {u"黑体", 15};
        t.CaptionFont = {u"黑体", 17};
        return t;
    }();
    return theme;
}

const TSkinTheme& SecondTheme() {
    static const TSkinTheme theme = [] {
        TSkinTheme t;
        t.Name = u"second";
        t.Comments = u"Dark surfaces, rounded frame corners and a taller caption.";
        t.Window = Rgb(0x1F2125);
        t.Surface = Rgb(0x2A2D32);
        t.Raised = Rgb(0x33373D);
        t.Hover = Rgb(0x3A4049);
        t.Pressed = Rgb(0x2B4366);
        t.Border = Rgb(0x464B53);
        t.BorderStrong = Rgb(0x5A606A);
        t.Accent = Rgb(0x2F6FDB);
        t.AccentSoft = Rgb(0x2B3F5E);
        t.OnAccent = Rgb(0xFFFFFF);
        t.Text = Rgb(0xE8EAED);
        t.TextMuted = Rgb(0xAEB4BC);
        t.TextDisabled = Rgb(0x949BA4);
        t.DisabledFace = Rgb(0x26292D);
        t.DisabledBorder = Rgb(0x383C42);
        t.Caption = Rgb(0x17181B);
        t.CaptionInactive = Rgb(0x1B1D20);
        t.CaptionText = Rgb(0xE8EAED);
        t.CaptionTextInactive = Rgb(0x949BA4);
        t.CaptionHover = Rgb(0x2C2F34);
        t.CaptionDown = Rgb(0x383C42);
        t.Close = Rgb(0xC42B1C);
        t.CloseDown = Rgb(0xA52313);
        t.Track = Rgb(0x26292D);
        t.Thumb = Rgb(0x4B515A);
        t.ThumbHover = Rgb(0x5F6670);
        t.ThumbDown = Rgb(0x737B86);
        t.HeaderFace = Rgb(0x2F3237);
        t.TooltipFace = Rgb(0x2A2D32);
        t.TooltipBorder = Rgb(0x5A606A);
        t.TooltipText = Rgb(0xE8EAED);
        t.CaptionHeight = 34;
        t.FrameRadius = 8;
        t.Emblem = true;
        t.AppMenuBackButton = true;
        t.Font = {u"黑体", 15};
        t.CaptionFont = {u"黑体", 17};
        return t;
    }();
    return theme;
}

void PaintFace(TSkinPainter& APainter, const TRect& ARect, TRgb AUnder, TRgb AFace, TRgb ABorder,
               double ARadius) {
    APainter.Fill(ARect, AUnder);
    APainter.FillRoundRect(ARect, ARadius, ABorder);
    APainter.FillRoundRect(Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1),
                           std::max(0.0, ARadius - 1), AFace);
}

void PaintChevron(TSkinPainter& APainter, double X, double Y, double ASize, TRgb AColor, Integer ADirection) {
    const double h = ASize / 2, q = ASize / 4;
    std::vector<TPointF> points;
    switch (ADirection) {
        case 0:
            points = {{X - h, Y - q}, {X, Y + q}, {X + h, Y - q}};
            break;
        case 1:
            points = {{X - h, Y + q}, {X, Y - q}, {X + h, Y + q}};
            break;
        case 2:
            points = {{X + q, Y - h}, {X - q, Y}, {X + q, Y + h}};
            break;
        default:
            points = {{X - q, Y - h}, {X + q, Y}, {X - q, Y + h}};
            break;
    }
    APainter.Polyline(points, 1.4, AColor);
}

void PaintCheckMark(TSkinPainter& APainter, double X, double Y, double ASize, TRgb AColor) {
    const double s = ASize / 10;
    APainter.Polyline({{X - 3.6 * s, Y + 0.2 * s}, {X - 1.2 * s, Y + 2.6 * s}, {X + 3.8 * s, Y - 2.8 * s}},
                      1.7, AColor);
}

const std::vector<String>& ProjectSkinNames() {
    static const std::vector<String> names = {u"default", u"second"};
    return names;
}

TGeneratedSkin GenerateSkin(const String& AName) {
    const TSkinTheme* theme = AName == u"default"  ? &DefaultTheme()
                              : AName == u"second" ? &SecondTheme()
                                                   : nullptr;
    if (!theme) throw EConvertError(u"There is no project skin \"%s\"", {AName});
    TSkinBuilder skin;
    BuildFrame(skin, *theme);
    BuildControls(skin, *theme);
    BuildRibbon(skin, *theme);
    return skin.Finish(AName);
}

String WriteGeneratedSkin(const TGeneratedSkin& ASkin, const String& AFolder) {
    const String folder = IncludeTrailingPathDelimiter(AFolder);
    if (!ForceDirectories(folder)) throw EFCreateError(u"Cannot create the folder %s", {folder});
    for (const auto& [name, picture] : ASkin.Pictures)
        picture->SaveToFile(folder + name);
    TStringList lines;
    for (const String& line : ASkin.Ini)
        lines.Add(line);
    lines.SaveToFile(folder + u"skin.ini");
    return folder + u"skin.ini";
}

void WriteCompressedSkin(const String& AIniFile, const String& ACompressedFile) {
    TqxCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(AIniFile);
    if (stored.Empty()) throw EConvertError(u"%s is no valid skin", {AIniFile});
    stored.SaveToCompressFile(ACompressedFile);
}
