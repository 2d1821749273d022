#include "skin/core/qxskinwindows.h"

#include "skin/core/qxeffects.h"
#include "skin/core/qxskindata.h"

namespace {

// A 32-bit copy of APicture with the alpha of AMask (the mean of red, green
// and blue); none when either is missing or the mask does not cover the picture.
std::unique_ptr<TqxBitmap> MaskedCopy(TBitmap* APicture, TBitmap* AMask) {
    if (!APicture || !AMask || APicture->Empty() || AMask->Width() < APicture->Width() ||
        AMask->Height() < APicture->Height())
        return nullptr;
    auto image = std::make_unique<TqxBitmap>();
    image->Assign(APicture);
    TqxBitmap mask;
    mask.Assign(AMask);
    SetAlphaFromMask(image.get(), &mask);
    image->CheckingAlphaBlend();
    return image;
}

}  // namespace

void TqxDataSkinPopupWindow::Keys(TqxSkinSection& K) {
    K.Int(u"windowpictureindex", WindowPictureIndex, -1);
    K.Int(u"maskpictureindex", MaskPictureIndex, -1);
    CornerKeys(K);
    K.Rect(u"itemsrect", ItemsRect);
    K.Color(u"scrollmarkercolor", ScrollMarkerColor);
    K.Color(u"scrollmarkeractivecolor", ScrollMarkerActiveColor);
    StretchKeys(K);
}

void TqxDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, u"POPUPWINDOW", [this](TqxSkinSection& K) { Keys(K); });
}

bool TqxDataSkinPopupWindow::MakesSense(const TqxSkinLimits& ALimits) {
    return KeysMakeSense(ALimits, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) {
    SaveSkinSection(IniFile, u"POPUPWINDOW", [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinLayerFrame::Keys(TqxSkinSection& K) {
    K.Int(u"pictureindex", PictureIndex, -1);
    K.Int(u"maskpictureindex", MaskPictureIndex, -1);
    K.Int(u"inactivepictureindex", InActivePictureIndex, -1);
    K.Int(u"inactivemaskpictureindex", InActiveMaskPictureIndex, -1);
    CornerKeys(K);
    K.Rect(u"clientrect", ClRect);
    K.Int(u"alphablendvalue", AlphaBlendValue, 255);
    K.Int(u"inactivealphablendvalue", InActiveAlphaBlendValue, 255);
    K.Rect(u"borderrect", BorderRect);
    K.Bool(u"hittestenable", HitTestEnable);
    K.Bool(u"fullborder", FullBorder);
    K.Int(u"hittestsize", HitTestSize);
    K.Rect(u"captionrect", CaptionRect);
    HitTestKeys(K);
    K.Rect(u"buttonsrect", ButtonsRect);
    K.Rect(u"sysmenubuttonrect", SysMenuButtonRect);
    K.Bool(u"fullstretch", FullStretch);
    K.Int(u"rollupformheight", RollUpFormHeight);
    K.Int(u"buttonstopoffset", ButtonsTopOffset);
    K.Int(u"sysbuttontopoffset", SysButtonTopOffset);
    K.Int(u"blurmaskpictureindex", BlurMaskPictureIndex, -1);
    K.Rect(u"intersectblurmaskrect", IntersectBlurMaskRect);
    K.Rect(u"excludeblurmaskrect", ExcludeBlurMaskRect);
    K.Int(u"leftoffset", LeftOffset);
    K.Int(u"topoffset", TopOffset);
    K.Int(u"widthoffset", WidthOffset);
    K.Int(u"heightoffset", HeightOffset);
}

void TqxDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, u"LAYERFRAME", [this](TqxSkinSection& K) { Keys(K); });
}

bool TqxDataSkinLayerFrame::MakesSense(const TqxSkinLimits& ALimits) {
    return KeysMakeSense(ALimits, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) {
    SaveSkinSection(IniFile, u"LAYERFRAME", [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinLayerFrame::InitAlphaImages(TqxSkinData* ASkinData) {
    FSourceBitmap =
        MaskedCopy(ASkinData->GetActivePicture(PictureIndex), ASkinData->GetActivePicture(MaskPictureIndex));
    FSourceInActiveBitMap = MaskedCopy(ASkinData->GetActivePicture(InActivePictureIndex),
                                       ASkinData->GetActivePicture(InActiveMaskPictureIndex));
}

void TqxDataSkinHintWindow::Keys(TqxSkinSection& K) {
    K.Int(u"windowpictureindex", WindowPictureIndex, -1);
    K.Int(u"maskpictureindex", MaskPictureIndex, -1);
    CornerKeys(K);
    K.Rect(u"clientrect", ClRect);
    FontKeys(K);
    StretchKeys(K);
}

void TqxDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, u"HINTWINDOW", [this](TqxSkinSection& K) { Keys(K); });
}

bool TqxDataSkinHintWindow::MakesSense(const TqxSkinLimits& ALimits) {
    return KeysMakeSense(ALimits, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) {
    SaveSkinSection(IniFile, u"HINTWINDOW", [this](TqxSkinSection& K) { Keys(K); });
}

void TqxSkinColors::Keys(TqxSkinSection& K) {
    K.Color(u"cbtnface", FcBtnFace, clBtnFace);
    K.Color(u"cbtntext", FcBtnText, clBtnText);
    K.Color(u"cwindow", FcWindow, clWindow);
    K.Color(u"cwindowtext", FcWindowText, clWindowText);
    K.Color(u"chighlight", FcHighLight, clHighlight);
    K.Color(u"chighlighttext", FcHighLightText, clHighlightText);
    K.Color(u"cbtnhighlight", FcBtnHighLight, clBtnHighlight);
    K.Color(u"cbtnshadow", FcBtnShadow, clBtnShadow);
}

void TqxSkinColors::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, u"SKINCOLORS", [this](TqxSkinSection& K) { Keys(K); });
}

void TqxSkinColors::SaveToFile(TCustomIniFile* IniFile) {
    TqxSkinSection keys(TqxSkinSection::smWrite, IniFile, u"SKINCOLORS");
    Keys(keys);
}

void TqxSkinColors::SetColorsToDefault() {
    FcBtnFace = clBtnFace;
    FcBtnText = clBtnText;
    FcWindow = clWindow;
    FcWindowText = clWindowText;
    FcHighLight = clHighlight;
    FcHighLightText = clHighlightText;
    FcBtnHighLight = clBtnHighlight;
    FcBtnShadow = clBtnShadow;
}
