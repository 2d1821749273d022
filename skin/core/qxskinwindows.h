// The sections a skin has once rather than per element: the popup menu
// window, the layered form frame, the hint window and the eight skin
// colours. The skin data keeps one of each for its whole life; a load
// moves the new values into them.
#pragma once

#include <memory>

#include "skin/core/qxbitmap.h"
#include "skin/core/qxskincodecs.h"

class TqxSkinData;

class TqxDataSkinPopupWindow : public TqxDataSkinCorners, public TqxDataSkinStretch {
public:
    // Reads / erases and writes the section POPUPWINDOW.
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    // Whether its values make sense (KeysMakeSense).
    bool MakesSense(const TqxSkinLimits& ALimits);

    Integer WindowPictureIndex = -1;
    Integer MaskPictureIndex = -1;
    TRect ItemsRect;
    TColor ScrollMarkerColor = 0;
    TColor ScrollMarkerActiveColor = 0;

private:
    void Keys(TqxSkinSection& K);
};

class TqxDataSkinLayerFrame : public TqxDataSkinCorners, public TqxDataSkinHitTestCorners {
public:
    // Reads / erases and writes the section LAYERFRAME.
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    // Whether its values make sense (KeysMakeSense).
    bool MakesSense(const TqxSkinLimits& ALimits);
    // The active and inactive frame pictures with their masks as alpha; none
    // where a picture or its mask is missing, or the mask is smaller than
    // the picture.
    void InitAlphaImages(TqxSkinData* ASkinData);

    Integer PictureIndex = -1;
    Integer MaskPictureIndex = -1;
    Integer InActivePictureIndex = -1;
    Integer InActiveMaskPictureIndex = -1;
    TRect ClRect;
    Integer AlphaBlendValue = 255;
    Integer InActiveAlphaBlendValue = 255;
    TRect BorderRect;
    bool HitTestEnable = false;
    bool FullBorder = false;
    Integer HitTestSize = 0;
    TRect CaptionRect;
    TRect ButtonsRect;
    TRect SysMenuButtonRect;
    bool FullStretch = false;
    Integer RollUpFormHeight = 0;
    Integer ButtonsTopOffset = 0;
    Integer SysButtonTopOffset = 0;
    Integer BlurMaskPictureIndex = -1;
    TRect IntersectBlurMaskRect;
    TRect ExcludeBlurMaskRect;
    Integer LeftOffset = 0;
    Integer TopOffset = 0;
    Integer WidthOffset = 0;
    Integer HeightOffset = 0;
    std::unique_ptr<TqxBitmap> FSourceBitmap;
    std::unique_ptr<TqxBitmap> FSourceInActiveBitMap;

private:
    void Keys(TqxSkinSection& K);
};

class TqxDataSkinHintWindow : public TqxDataSkinFont, public TqxDataSkinCorners, public TqxDataSkinStretch {
public:
    // Reads / erases and writes the section HINTWINDOW.
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    // Whether its values make sense (KeysMakeSense).
    bool MakesSense(const TqxSkinLimits& ALimits);

    Integer WindowPictureIndex = -1;
    Integer MaskPictureIndex = -1;
    TRect ClRect;

private:
    void Keys(TqxSkinSection& K);
};

// Replacements of eight system colours for skinned controls; all 0 until
// SetColorsToDefault, which every clearing of the skin data runs.
class TqxSkinColors {
public:
    // Reads / writes the section SKINCOLORS (the writer does not erase it).
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    // The system colours button face, button text, window, window text,
    // highlight, highlight text, button highlight and button shadow.
    void SetColorsToDefault();

    TColor cBtnFace() const { return FcBtnFace; }
    void SetcBtnFace(TColor AValue) { FcBtnFace = AValue; }
    TColor cBtnText() const { return FcBtnText; }
    void SetcBtnText(TColor AValue) { FcBtnText = AValue; }
    TColor cWindow() const { return FcWindow; }
    void SetcWindow(TColor AValue) { FcWindow = AValue; }
    TColor cWindowText() const { return FcWindowText; }
    void SetcWindowText(TColor AValue) { FcWindowText = AValue; }
    TColor cHighLight() const { return FcHighLight; }
    void SetcHighLight(TColor AValue) { FcHighLight = AValue; }
    TColor cHighLightText() const { return FcHighLightText; }
    void SetcHighLightText(TColor AValue) { FcHighLightText = AValue; }
    TColor cBtnHighLight() const { return FcBtnHighLight; }
    void SetcBtnHighLight(TColor AValue) { FcBtnHighLight = AValue; }
    TColor cBtnShadow() const { return FcBtnShadow; }
    void SetcBtnShadow(TColor AValue) { FcBtnShadow = AValue; }

private:
    void Keys(TqxSkinSection& K);

    TColor FcBtnFace = 0;
    TColor FcBtnText = 0;
    TColor FcWindow = 0;
    TColor FcWindowText = 0;
    TColor FcHighLight = 0;
    TColor FcHighLightText = 0;
    TColor FcBtnHighLight = 0;
    TColor FcBtnShadow = 0;
};
