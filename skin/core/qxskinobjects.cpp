#include "skin/core/qxskinobjects.h"

#include <algorithm>
#include <cstring>

#include "skin/core/qxeffects.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxutils.h"
#include "skin/core/rects.h"

namespace {

// ARect, which lies inside APicture, as a 32-bit image.
std::unique_ptr<TqxBitmap> CopyPictureRect(TBitmap* APicture, const TRect& ARect) {
    TqxBitmap whole;
    whole.Assign(APicture);
    auto image = std::make_unique<TqxBitmap>();
    image->SetSize(ARect.Width(), ARect.Height());
    for (Integer y = ARect.Top; y < ARect.Bottom; ++y)
        std::memcpy(image->GetScanLinePtr(y - ARect.Top), whole.GetPixelPtr(ARect.Left, y),
                    size_t(ARect.Width()) * sizeof(TqxColor));
    return image;
}

void TakeRectIfEmpty(TRect& AActive, const TRect& ANormal) {
    if (IsRectDegenerate(AActive)) AActive = ANormal;
}

}  // namespace

void TqxDataSkinRestore::RestoreKeys(TqxSkinSection& K) {
    K.Rect(u"restorerect", RestoreRect);
    K.Rect(u"restoreactiverect", RestoreActiveRect);
    K.Rect(u"restoredownrect", RestoreDownRect);
    K.Rect(u"restoreinactiverect", RestoreInActiveRect);
    K.Text(u"restorehint", RestoreHint);
}

void TqxDataSkinRestore::DefaultRestoreHint(const String& AHint, TqxStdCommand ACommand) {
    if (!RestoreHint.empty()) return;
    if ((AHint == u"Maximize" && ACommand == cmMaximize) ||
        (AHint == u"Minimize" && ACommand == cmMinimize) ||
        ((AHint == u"RollUp" || AHint == u"Roll Up") && ACommand == cmRollUp))
        RestoreHint = u"Restore";
}

void TqxDataSkinObject::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, IDName, [this](TqxSkinSection& K) { Keys(K); });
}

bool TqxDataSkinObject::MakesSense(const TqxSkinLimits& ALimits) {
    return KeysMakeSense(ALimits, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinObject::SaveToFile(TCustomIniFile* IniFile) {
    SaveSkinSection(IniFile, IDName, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinObject::InitAlphaImages(TqxSkinData*) {}

void TqxDataSkinObject::Keys(TqxSkinSection& K) {
    K.Text(u"hint", Hint);
    K.Int(u"activepictureindex", ActivePictureIndex, -1);
    K.Int(u"activemaskpictureindex", ActiveMaskPictureIndex, -1);
    K.Bool(u"skinrectinapicture", SkinRectInAPicture);
    K.Rect(u"skinrect", SkinRect);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    K.Rect(u"inactiveskinrect", InActiveSkinRect);
    K.Bool(u"morphing", Morphing);
    K.MorphKind(u"morphkind", MorphKind);
    K.Int(u"glowlayerpictureindex", GlowLayerPictureIndex, -1);
    K.Int(u"glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    K.Int(u"glowlayeroffsetx", GlowLayerOffsetX);
    K.Int(u"glowlayeroffsety", GlowLayerOffsetY);
    K.Int(u"glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TqxDataUserObject::Keys(TqxSkinSection& K) {
    K.Rect(u"skinrect", SkinRect);
}

void TqxDataSkinButton::Keys(TqxSkinSection& K) {
    TqxDataSkinObject::Keys(K);
    K.Rect(u"downrect", DownRect);
    K.Rect(u"disableskinrsect", DisableSkinRect);
    K.Int(u"alphamaskpictureindex", AlphaMaskPictureIndex, -1);
    K.Int(u"alphamaskactivepictureindex", AlphaMaskActivePictureIndex, -1);
    K.Int(u"alphamaskinactivepictureindex", AlphaMaskInActivePictureIndex, -1);
}

void TqxDataSkinButton::InitAlphaImages(TqxSkinData* ASkinData) {
    InitAlphaImageSet(ASkinData,
                      {&FAlphaNormalImage, &FAlphaActiveImage, &FAlphaDownImage, &FAlphaInActiveImage},
                      {SkinRect, ActiveSkinRect, DownRect, InActiveSkinRect});
}

void TqxDataSkinButton::InitAlphaImageSet(TqxSkinData* ASkinData,
                                          const std::array<std::unique_ptr<TqxBitmap>*, 4>& AImages,
                                          const std::array<TRect, 4>& ARects) {
    const bool fullBorder =
        ASkinData->LayerFrame()->PictureIndex != -1 && ASkinData->LayerFrame()->FullBorder;
    const Integer masks[] = {AlphaMaskPictureIndex, AlphaMaskActivePictureIndex, AlphaMaskActivePictureIndex,
                             AlphaMaskInActivePictureIndex};
    for (size_t i = 0; i < AImages.size(); ++i) {
        if (fullBorder)
            InitAlphaImage(ASkinData, *AImages[i], ARects[i], masks[i]);
        else
            AImages[i]->reset();
    }
}

void TqxDataSkinButton::InitAlphaImage(TqxSkinData* ASkinData, std::unique_ptr<TqxBitmap>& AImage,
                                       const TRect& ARect, Integer AMaskPictureIndex) {
    AImage.reset();
    TBitmap* picture = ASkinData->GetActivePicture(ActivePictureIndex);
    if (!picture) return;
    // Cut to the picture before anything is made, so that no number in the
    // skin sizes an image beyond the pictures the skin holds.
    const TRect rect = qxrects::Intersect(ARect, Rect(0, 0, picture->Width(), picture->Height()));
    if (IsRectDegenerate(rect)) return;
    TBitmap* mask = ASkinData->GetActivePicture(AMaskPictureIndex);
    if (mask && (mask->Width() < rect.Width() || mask->Height() < rect.Height())) return;
    std::unique_ptr<TqxBitmap> image = CopyPictureRect(picture, rect);
    if (!mask) {
        image->SetAlpha(255, Rect(0, 0, rect.Width(), rect.Height()));
    } else {
        const std::unique_ptr<TqxBitmap> alpha =
            CopyPictureRect(mask, Rect(0, 0, rect.Width(), rect.Height()));
        SetPremultipliedAlphaFromMask(image.get(), alpha.get());
    }
    image->SetAlphaBlend(true);
    AImage = std::move(image);
}

void TqxDataSkinStdButton::Keys(TqxSkinSection& K) {
    TqxDataSkinButton::Keys(K);
    K.Command(u"command", Command);
    RestoreKeys(K);
}

void TqxDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile) {
    TqxDataSkinButton::LoadFromFile(IniFile);
    DefaultRestoreHint(Hint, Command);
}

void TqxDataSkinStdButton::InitAlphaImages(TqxSkinData* ASkinData) {
    TqxDataSkinButton::InitAlphaImages(ASkinData);
    InitAlphaImageSet(ASkinData,
                      {&FAlphaRestoreNormalImage, &FAlphaRestoreActiveImage, &FAlphaRestoreDownImage,
                       &FAlphaInActiveRestoreImage},
                      {RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect});
}

void TqxDataSkinAnimate::Keys(TqxSkinSection& K) {
    TqxDataSkinObject::Keys(K);
    K.Int(u"countframes", CountFrames, 1);
    K.Bool(u"cycle", Cycle);
    K.Bool(u"buttonstyle", ButtonStyle);
    K.Int(u"timerinterval", TimerInterval, 50);
    K.Command(u"command", Command);
    K.Rect(u"downskinrect", DownSkinRect);
    RestoreKeys(K);
}

void TqxDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile) {
    TqxDataSkinObject::LoadFromFile(IniFile);
    Morphing = false;
    DefaultRestoreHint(Hint, Command);
}

void TqxDataSkinMenuItem::Keys(TqxSkinSection& K) {
    TqxDataSkinObject::Keys(K);
    K.Int(u"itemleftoffset", ItemLO);
    K.Int(u"itemrightoffset", ItemRO);
    K.Rect(u"dividerrect", DividerRect);
    K.Int(u"dividerleftoffset", DividerLO);
    K.Int(u"dividerrightoffset", DividerRO);
    K.Rect(u"textrect", TextRct);
    K.Rect(u"imagerect", ImageRct);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"unenabledfontcolor", UnEnabledFontColor);
    K.Bool(u"stretcheffect", StretchEffect);
    K.Bool(u"inactivestretcheffect", InActiveStretchEffect);
    K.Bool(u"dividerstretcheffect", DividerStretchEffect);
    K.Rect(u"animateskinrect", AnimateSkinRect);
    K.Int(u"framecount", FrameCount);
    K.Int(u"animateinterval", AnimateInterval, 25);
    K.Bool(u"inactiveanimation", InActiveAnimation);
    K.Bool(u"useimagecolor", UseImageColor);
    K.Color(u"imagecolor", ImageColor);
    K.Color(u"activeimagecolor", ActiveImageColor);
    K.Bool(u"inactivetransparent", InActiveTransparent);
    K.Rect(u"checkimagerect", CheckImageRect);
    K.Rect(u"activecheckimagerect", ActiveCheckImageRect);
    K.Rect(u"radioimagerect", RadioImageRect);
    K.Rect(u"activeradioimagerect", ActiveRadioImageRect);
    K.Rect(u"arrowimagerect", ArrowImageRect);
    K.Rect(u"activearrowimagerect", ActiveArrowImageRect);
}

void TqxDataSkinMenuItem::LoadFromFile(TCustomIniFile* IniFile) {
    TqxDataSkinObject::LoadFromFile(IniFile);
    TakeRectIfEmpty(ActiveCheckImageRect, CheckImageRect);
    TakeRectIfEmpty(ActiveRadioImageRect, RadioImageRect);
    TakeRectIfEmpty(ActiveArrowImageRect, ArrowImageRect);
}

void TqxDataSkinMainMenuItem::Keys(TqxSkinSection& K) {
    TqxDataSkinObject::Keys(K);
    K.Int(u"itemleftoffset", ItemLO);
    K.Int(u"itemrightoffset", ItemRO);
    K.Rect(u"downrect", DownRect);
    K.Rect(u"textrect", TextRct);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"downfontcolor", DownFontColor);
    K.Color(u"unenabledfontColor", UnEnabledFontColor);
    K.Bool(u"stretcheffect", StretchEffect);
    K.Rect(u"animateskinrect", AnimateSkinRect);
    K.Int(u"framecount", FrameCount);
    K.Int(u"animateinterval", AnimateInterval, 25);
    K.Bool(u"inactiveanimation", InActiveAnimation);
}

void TqxDataSkinCaption::Keys(TqxSkinSection& K) {
    TqxDataSkinObject::Keys(K);
    K.Rect(u"textrect", TextRct);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Alignment(u"alignment", Alignment);
    K.Bool(u"light", Light);
    K.Color(u"lightcolor", LightColor);
    K.Color(u"activelightcolor", ActiveLightColor);
    K.Bool(u"shadow", Shadow);
    K.Color(u"shadowcolor", ShadowColor);
    K.Color(u"activeshadowcolor", ActiveShadowColor);
    K.Rect(u"framerect", FrameRect);
    K.Rect(u"activeframerect", ActiveFrameRect);
    K.Rect(u"frametextrect", FrameTextRect);
    K.Int(u"frameleftoffset", FrameLeftOffset);
    K.Int(u"framerightoffset", FrameRightOffset);
    K.Bool(u"stretcheffect", StretchEffect);
    K.Rect(u"animateskinrect", AnimateSkinRect);
    K.Int(u"framecount", FrameCount);
    K.Int(u"animateinterval", AnimateInterval, 25);
    K.Bool(u"inactiveanimation", InActiveAnimation);
    K.Bool(u"fullframe", FullFrame);
    K.Bool(u"vistagloweffect", VistaGlowEffect);
    K.Bool(u"vistaglowinactiveeffect", VistaGlowInActiveEffect);
    K.Bool(u"gloweffect", GlowEffect);
    K.Bool(u"glowinactiveeffect", GlowInActiveEffect);
    K.Int(u"glowsize", GlowSize, 3);
    K.Color(u"glowcolor", GlowColor);
    K.Color(u"glowactivecolor", GlowActiveColor);
    K.Int(u"glowoffset", GlowOffset);
    K.Bool(u"reflectioneffect", ReflectionEffect);
    K.Color(u"reflactioncolor", ReflectionColor);
    K.Color(u"reflactionactivecolor", ReflectionActiveColor);
    K.Int(u"reflectionoffset", ReflectionOffset);
    K.Rect(u"dividerrect", DividerRect);
    K.Rect(u"inactivedividerrect", InActiveDividerRect);
    K.Bool(u"dividertransparent", DividerTransparent);
    K.Color(u"dividertransparentcolor", DividerTransparentColor);
    K.Int(u"quickbuttonalphamaskpictureindex", QuickButtonAlphaMaskPictureIndex, -1);
}

namespace {

using TObjectKinds = TqxSkinKinds<TqxDataSkinObject>;

const TObjectKinds& ObjectKinds() {
    static const TObjectKinds kinds({
        TObjectKinds::Kind<TqxDataSkinMenuItem>(u"menuitem"),
        TObjectKinds::Kind<TqxDataSkinMainMenuBarItem>(u"mainmenubaritem"),
        TObjectKinds::Kind<TqxDataSkinMainMenuBarButton>(u"mainmenubarbutton"),
        TObjectKinds::Kind<TqxDataSkinStdButton>(u"stdbutton"),
        TObjectKinds::Kind<TqxDataSkinButton>(u"button"),
        TObjectKinds::Kind<TqxDataSkinCaption>(u"caption"),
        TObjectKinds::Kind<TqxDataUserObject>(u"userobject"),
        TObjectKinds::Kind<TqxDataSkinAnimate>(u"animate"),
    });
    return kinds;
}

}  // namespace

std::unique_ptr<TqxDataSkinObject> CreateSkinObject(std::u16string_view AKind, const String& AIDName) {
    return ObjectKinds().Create(AKind, AIDName);
}

String SkinObjectKind(const TqxDataSkinObject* AObject) {
    return ObjectKinds().Word(AObject);
}

const std::vector<String>& SkinObjectKinds() {
    return ObjectKinds().Words();
}
