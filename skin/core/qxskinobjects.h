// The skin objects: the active parts of a skinned form frame (caption,
// caption buttons, animated parts, free areas) and the looks of menu items,
// one class per kind word of the SKINOBJECTS index. Frame buttons also
// build alpha images from the skin's pictures when the skin has a
// full-border layered frame.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxskincodecs.h"

class TqxSkinData;

// What a maximize, minimize or roll-up button shows in its other state.
struct TqxDataSkinRestore {
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    String RestoreHint;

    void RestoreKeys(TqxSkinSection& K);
    // Without a restore hint of its own, a button hinted "Maximize",
    // "Minimize" or "RollUp" ("Roll Up") with that command hints "Restore".
    void DefaultRestoreHint(const String& AHint, TqxStdCommand ACommand);
};

class TqxDataSkinObject : public TObject {
public:
    explicit TqxDataSkinObject(const String& AIDName) : IDName(AIDName) {}

    // Reads the section IDName.
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Whether its values make sense (KeysMakeSense).
    bool MakesSense(const TqxSkinLimits& ALimits);
    // Erases the section IDName and writes the keys LoadFromFile reads.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // Images built from the skin's pictures once the section is read;
    // nothing here.
    virtual void InitAlphaImages(TqxSkinData* ASkinData);

    String IDName;
    String Hint;
    Integer ActivePictureIndex = -1;
    Integer ActiveMaskPictureIndex = -1;
    // The rectangles lie in the active picture instead of the form picture.
    bool SkinRectInAPicture = false;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetX = 0;
    Integer GlowLayerOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;

protected:
    // The class's keys with their defaults, in reading order.
    virtual void Keys(TqxSkinSection& K);
};

// A free area of the frame: only its rectangle is read and written.
class TqxDataUserObject : public TqxDataSkinObject {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinButton : public TqxDataSkinObject {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

    // Builds the four images with a full-border layer frame, frees them otherwise.
    void InitAlphaImages(TqxSkinData* ASkinData) override;

    TRect DownRect;
    TRect DisableSkinRect;
    Integer AlphaMaskPictureIndex = -1;
    Integer AlphaMaskActivePictureIndex = -1;
    Integer AlphaMaskInActivePictureIndex = -1;
    // Premultiplied 32-bit images of the states; none unless built.
    std::unique_ptr<TqxBitmap> FAlphaNormalImage;
    std::unique_ptr<TqxBitmap> FAlphaActiveImage;
    std::unique_ptr<TqxBitmap> FAlphaDownImage;
    std::unique_ptr<TqxBitmap> FAlphaInActiveImage;

protected:
    void Keys(TqxSkinSection& K) override;
    // AImage := ARect of the object's active picture with its alpha from the
    // top-left corner of mask picture AMaskPictureIndex (opaque without a
    // mask). A rectangle reaching past the picture is cut to it first. None
    // when the picture is missing, when nothing of the rectangle is left, or
    // when the mask is smaller than the image.
    void InitAlphaImage(TqxSkinData* ASkinData, std::unique_ptr<TqxBitmap>& AImage, const TRect& ARect,
                        Integer AMaskPictureIndex);
    // The normal, active, down and inactive images from their rectangles,
    // with the masks of those states; freed without a full-border frame.
    void InitAlphaImageSet(TqxSkinData* ASkinData, const std::array<std::unique_ptr<TqxBitmap>*, 4>& AImages,
                           const std::array<TRect, 4>& ARects);
};

class TqxDataSkinStdButton : public TqxDataSkinButton, public TqxDataSkinRestore {
public:
    using TqxDataSkinButton::TqxDataSkinButton;

    void LoadFromFile(TCustomIniFile* IniFile) override;
    void InitAlphaImages(TqxSkinData* ASkinData) override;

    TqxStdCommand Command = cmDefault;
    std::unique_ptr<TqxBitmap> FAlphaRestoreNormalImage;
    std::unique_ptr<TqxBitmap> FAlphaRestoreActiveImage;
    std::unique_ptr<TqxBitmap> FAlphaRestoreDownImage;
    std::unique_ptr<TqxBitmap> FAlphaInActiveRestoreImage;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMainMenuBarButton : public TqxDataSkinStdButton {
public:
    using TqxDataSkinStdButton::TqxDataSkinStdButton;
};

// Never morphs, whatever its section says.
class TqxDataSkinAnimate : public TqxDataSkinObject, public TqxDataSkinRestore {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

    void LoadFromFile(TCustomIniFile* IniFile) override;

    Integer CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    Integer TimerInterval = 50;
    TqxStdCommand Command = cmDefault;
    TRect DownSkinRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMenuItem : public TqxDataSkinObject, public TqxDataSkinFont {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

    // An active check, radio or arrow image without pixels takes the normal one.
    void LoadFromFile(TCustomIniFile* IniFile) override;

    Integer ItemLO = 0;
    Integer ItemRO = 0;
    TRect DividerRect;
    Integer DividerLO = 0;
    Integer DividerRO = 0;
    TRect TextRct;
    TRect ImageRct;
    TColor ActiveFontColor = 0;
    TColor UnEnabledFontColor = 0;
    bool StretchEffect = false;
    bool InActiveStretchEffect = false;
    bool DividerStretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    bool InActiveAnimation = false;
    bool UseImageColor = false;
    TColor ImageColor = 0;
    TColor ActiveImageColor = 0;
    bool InActiveTransparent = false;
    TRect CheckImageRect;
    TRect ActiveCheckImageRect;
    TRect RadioImageRect;
    TRect ActiveRadioImageRect;
    TRect ArrowImageRect;
    TRect ActiveArrowImageRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMainMenuItem : public TqxDataSkinObject, public TqxDataSkinFont {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

    Integer ItemLO = 0;
    Integer ItemRO = 0;
    TRect DownRect;
    TRect TextRct;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor UnEnabledFontColor = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    bool InActiveAnimation = false;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMainMenuBarItem : public TqxDataSkinMainMenuItem {
public:
    using TqxDataSkinMainMenuItem::TqxDataSkinMainMenuItem;
};

class TqxDataSkinCaption : public TqxDataSkinObject, public TqxDataSkinFont {
public:
    using TqxDataSkinObject::TqxDataSkinObject;

    TRect TextRct;
    TColor ActiveFontColor = 0;
    TAlignment Alignment = taCenter;
    bool Light = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool Shadow = false;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    TRect FrameRect;
    TRect ActiveFrameRect;
    TRect FrameTextRect;
    Integer FrameLeftOffset = 0;
    Integer FrameRightOffset = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    bool InActiveAnimation = false;
    bool FullFrame = false;
    bool VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false;
    bool GlowEffect = false;
    bool GlowInActiveEffect = false;
    Integer GlowSize = 3;
    TColor GlowColor = 0;
    TColor GlowActiveColor = 0;
    Integer GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0;
    TColor ReflectionActiveColor = 0;
    Integer ReflectionOffset = 0;
    TRect DividerRect;
    TRect InActiveDividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    Integer QuickButtonAlphaMaskPictureIndex = -1;

protected:
    void Keys(TqxSkinSection& K) override;
};

// A new object of the kind word of a SKINOBJECTS entry (exact, lower case);
// nullptr for any other word.
std::unique_ptr<TqxDataSkinObject> CreateSkinObject(std::u16string_view AKind, const String& AIDName);
// The kind word the index writer gives an object: that of its most derived class.
String SkinObjectKind(const TqxDataSkinObject* AObject);
// The 8 kind words, in the order the writer tests them.
const std::vector<String>& SkinObjectKinds();
