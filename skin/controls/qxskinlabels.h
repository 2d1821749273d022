// The skinned labels: the font and its colour from a "stdlabel" element.
// TqxSkinStdLabel is the toolkit's label (alignment, layout, word wrap,
// accelerator, auto size) with its text drawing replaced and an ellipsis
// mode; TqxSkinTextLabel draws a list of lines, with its own alignment,
// layout, word wrap and auto size. Disabled, both draw their text
// embossed.
#pragma once

#include <memory>

#include "platform/base/stringlist.h"
#include "platform/toolkit/label.h"
#include "skin/controls/qxskinchange.h"
#include "skin/core/qxskindata.h"

enum TqxEllipsType { qxetNone, qxetEndEllips, qxetPathEllips };

// What both labels keep of the skin and how they draw text with it.
class TqxLabelSkin {
public:
    TqxLabelSkin();

    // The element's index and its font, by the section name.
    void GetSkinData();
    // ACanvas's font: the skin's or AFont (ADefault without an element),
    // the skin's colour, the skin's character set.
    void SetupFont(TCanvas* ACanvas, TFont* AFont);
    // AText in ARect of ACanvas with the DrawText flags, embossed when
    // disabled; through DrawTextExW when AEx.
    void DrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags, bool AEnabled,
                  bool AEx);

    TqxSkinData* SD = nullptr;
    String SkinDataName = u"stdlabel";
    Integer FIndex = -1;
    std::unique_ptr<TFont> DefaultFont;
    bool UseSkinFont = true;
    bool UseSkinColor = true;
    // Copies of the element.
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
};

class TqxSkinStdLabel : public TCustomLabel, public IqxSkinChangeable {
public:
    explicit TqxSkinStdLabel(TComponent* AOwner);

    TqxSkinData* SkinData() const override { return FSkin.SD; }
    // Stores it and, when there is one, takes its look.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkin.SkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkin.SkinDataName = AValue; }
    TFont* DefaultFont() const { return FSkin.DefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FSkin.DefaultFont->Assign(AValue); }
    bool UseSkinFont() const { return FSkin.UseSkinFont; }
    void SetUseSkinFont(bool AValue) { FSkin.UseSkinFont = AValue; }
    bool UseSkinColor() const { return FSkin.UseSkinColor; }
    void SetUseSkinColor(bool AValue) { FSkin.UseSkinColor = AValue; }
    TqxEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TqxEllipsType AValue);

    void GetSkinData() { FSkin.GetSkinData(); }
    // Reads the element, sizes to the text with AutoSize and repaints.
    void ChangeSkinData() override;
    // The label's look with AText onto C at X, Y.
    void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);
    Integer SkinIndex() const { return FSkin.FIndex; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void DoDrawText(TRect& ARect, Cardinal AFlags) override;

private:
    Cardinal Flags(Cardinal AFlags) const;
    void DrawOn(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags);

    TqxLabelSkin FSkin;
    TqxEllipsType FEllipsType = qxetNone;
};

class TqxSkinTextLabel : public TGraphicControl, public IqxSkinChangeable {
public:
    explicit TqxSkinTextLabel(TComponent* AOwner);
    ~TqxSkinTextLabel() override;

    TqxSkinData* SkinData() const override { return FSkin.SD; }
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkin.SkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkin.SkinDataName = AValue; }
    TFont* DefaultFont() const { return FSkin.DefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FSkin.DefaultFont->Assign(AValue); }
    bool UseSkinFont() const { return FSkin.UseSkinFont; }
    void SetUseSkinFont(bool AValue) { FSkin.UseSkinFont = AValue; }
    bool UseSkinColor() const { return FSkin.UseSkinColor; }
    void SetUseSkinColor(bool AValue) { FSkin.UseSkinColor = AValue; }
    // Every change sizes the label (AutoSize) and repaints it.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* AValue);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    void SetAutoSize(bool AValue) override;

    void GetSkinData() { FSkin.GetSkinData(); }
    void ChangeSkinData() override;
    // Lines as one text, each line ending in a line break.
    virtual String GetLabelText() const;
    // With AutoSize: the size of the text; a right-aligned label keeps its
    // right edge.
    virtual void AdjustBounds();
    void Paint() override;
    void Loaded() override;
    void Dispatch(TMessage& AMessage) override;
    Integer SkinIndex() const { return FSkin.FIndex; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    Cardinal Flags() const;
    void LinesChanged();

    TqxLabelSkin FSkin;
    std::unique_ptr<TStringList> FLines;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};
