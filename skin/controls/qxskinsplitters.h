// The splitter and the bevel drawn from the skin. TqxSkinSplitter is the
// toolkit's splitter (a drag resizes its neighbour) drawn from a splitter
// element ("vsplitter" beside left or right aligned controls, "hsplitter"
// for top or bottom ones) with a grip in the middle; it takes the element's
// thickness. TqxSkinBevel is the toolkit's bevel in the skin's two colours,
// with a divider mode drawing one groove through the middle; on a tool bar
// it centres itself vertically.
#pragma once

#include "platform/toolkit/panels.h"
#include "skin/controls/qxskinchange.h"
#include "skin/core/qxskindata.h"

class TqxSkinSplitter : public TSplitter, public IqxSkinChangeable {
public:
    explicit TqxSkinSplitter(TComponent* AOwner);

    TqxSkinData* SkinData() const override { return FSD; }
    // Stores it and takes its look.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    // Draws nothing; keeps DefaultSize.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // The thickness without an element.
    Integer DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(Integer AValue) { FDefaultSize = AValue; }

    void GetSkinData();
    // Reads the element, takes its thickness and repaints.
    void ChangeSkinData() override;
    void Paint() override;

    Integer FIndex = -1;
    // Copies of the splitter element.
    TPoint LTPt;
    TPoint RTPt;
    TPoint LBPt;
    TRect SkinRect;
    bool StretchEffect = false;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool Across() const { return Align() == alTop || Align() == alBottom; }

    bool FTransparent = false;
    Integer FDefaultSize = 10;
    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"vsplitter";
    // The skin's picture, not owned.
    TBitmap* FSkinPicture = nullptr;
};

class TqxSkinBevel : public TBevel, public IqxSkinChangeable {
public:
    explicit TqxSkinBevel(TComponent* AOwner);

    TqxSkinData* SkinData() const override { return FSD; }
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    // One groove through the middle instead of the shape.
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool AValue);

    // The colours of a bevel element, or the button's highlight and shadow.
    void ChangeSkinData() override;
    // Centred vertically on a tool bar that adjusts its controls.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Paint() override;

    Integer FIndex = -1;
    TColor LightColor = clBtnHighlight;
    TColor DarkColor = clBtnShadow;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // The groove or frame of a bevel rectangle: left and top in AFirst,
    // right and bottom in ASecond.
    void BevelRect(TCanvas* ACanvas, const TRect& R, TColor AFirst, TColor ASecond);
    void Line(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor);

    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"bevel";
    bool FDividerMode = false;
};
