// The link label: a transparent label in the skin's label font, underlined,
// that turns the skin's active colour or glows while the pointer is over it
// and opens its URL (an address, a "mailto:" link, a file) with the
// desktop's program when clicked.
#pragma once

#include <memory>

#include "platform/toolkit/label.h"
#include "skin/controls/qxskinlink.h"

class TqxSkinLinkLabel : public TCustomLabel, public IqxSkinChangeable {
public:
    explicit TqxSkinLinkLabel(TComponent* AOwner);
    ~TqxSkinLinkLabel() override;

    const String& URL() const { return FURL; }
    void SetURL(const String& AValue) { FURL = AValue; }
    // A glow behind the hovered text; the text always sits GlowSize lower.
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool AValue);
    Integer GlowSize() const { return FGlowSize; }
    void SetGlowSize(Integer AValue);
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool AValue);
    // Skinned: the element's font; unskinned: DefaultFont rather than Font.
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue);
    // The unskinned font: "Tahoma", height 13, underlined.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    // The hover colour without a skin.
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor AValue) { FDefaultActiveFontColor = AValue; }
    TqxSkinData* SkinData() const override { return FSD; }
    // Any skin data re-reads the element at once, even an empty one.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData();
    // Re-reads the element and repaints.
    void ChangeSkinData() override;
    // OnClick, then the URL opened.
    void Click() override;
    void Dispatch(TMessage& AMessage) override;

    // The std-label element's index, -1 without one, and its copied values.
    Integer FIndex = -1;
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void DoDrawText(TRect& ARect, Cardinal AFlags) override;

private:
    // The canvas font for the text; the glow colour.
    void PrepareFont(TFont* AFont, TColor& AGlowColor);

    String FURL;
    bool FGlowEffect = false;
    Integer FGlowSize = 7;
    bool FUseUnderLine = true;
    bool FUseSkinFont = true;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultActiveFontColor = clBlue;
    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"stdlabel";
    bool FMouseIn = false;
};
