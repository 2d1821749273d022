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
    K.Point(u"lefttoppoint", LTPoint);
    K.Point(u"righttoppoint", RTPoint);
    K.Point(u"leftbottompoint", LBPoint);
    K.Point(u"rightbottompoint", RBPoint);
    K.Rect(u"itemsrect", ItemsRect);
    K.Color(u"scrollmarkercolor", ScrollMarkerColor);
    K.Color(u"scrollmarkeractivecolor", ScrollMarkerActiveColor);
    K.Bool(u"leftstretch", LeftStretch);
    K.Bool(u"rightstretch", RightStretch);
    K.Bool(u"topstretch", TopStretch);
    K.Bool(u"bottomstretch", BottomStretch);
    K.Bool(u"stretcheffect", StretchEffect);
    K.StretchType(u"stretchtype", StretchType);
}

void TqxDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) {
    TqxSkinSection keys(TqxSkinSection::smRead, IniFile, u"POPUPWINDOW");
    Keys(keys);
}

void TqxDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) {
    IniFile->EraseSection(u"POPUPWINDOW");
    TqxSkinSection keys(TqxSkinSection::smWrite, IniFile, u"POPUPWINDOW");
    Keys(keys);
}

void TqxDataSkinLayerFrame::Keys(TqxSkinSection& K) {
    K.Int(u"pictureindex", PictureIndex, -1);
    K.Int(u"maskpictureindex", MaskPictureIndex, -1);
    K.Int(u"inactivepictureindex", InActivePictureIndex, -1);
    K.Int(u"inactivemaskpictureindex", InActiveMaskPictureIndex, -1);
    K.Point(u"lefttoppoint", LTPoint);
    K.Point(u"righttoppoint", RTPoint);
    K.Point(u"leftbottompoint", LBPoint);
    K.Point(u"rightbottompoint", RBPoint);
    K.Rect(u"clientrect", ClRect);
    K.Int(u"alphablendvalue", AlphaBlendValue, 255);
    K.Int(u"inactivealphablendvalue", InActiveAlphaBlendValue, 255);
    K.Rect(u"borderrect", BorderRect);
    K.Bool(u"hittestenable", HitTestEnable);
    K.Bool(u"fullborder", FullBorder);
    K.Int(u"hittestsize", HitTestSize);
    K.Rect(u"captionrect", CaptionRect);
    K.Point(u"hittestlefttoppoint", HitTestLTPoint);
    K.Point(u"hittestrighttoppoint", HitTestRTPoint);
    K.Point(u"hittestleftbottompoint", HitTestLBPoint);
    K.Point(u"hittestrightbottompoint", HitTestRBPoint);
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
    TqxSkinSection keys(TqxSkinSection::smRead, IniFile, u"LAYERFRAME");
    Keys(keys);
}

void TqxDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) {
    IniFile->EraseSection(u"LAYERFRAME");
    TqxSkinSection keys(TqxSkinSection::smWrite, IniFile, u"LAYERFRAME");
    Keys(keys);
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
    K.Point(u"lefttoppoint", LTPoint);
    K.Point(u"righttoppoint", RTPoint);
    K.Point(u"leftbottompoint", LBPoint);
    K.Point(u"rightbottompoint", RBPoint);
    K.Rect(u"clientrect", ClRect);
    FontKeys(K);
    K.Bool(u"leftstretch", LeftStretch);
    K.Bool(u"rightstretch", RightStretch);
    K.Bool(u"topstretch", TopStretch);
    K.Bool(u"bottomstretch", BottomStretch);
    K.Bool(u"stretcheffect", StretchEffect);
    K.StretchType(u"stretchtype", StretchType);
}

void TqxDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) {
    TqxSkinSection keys(TqxSkinSection::smRead, IniFile, u"HINTWINDOW");
    Keys(keys);
}

void TqxDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) {
    IniFile->EraseSection(u"HINTWINDOW");
    TqxSkinSection keys(TqxSkinSection::smWrite, IniFile, u"HINTWINDOW");
    Keys(keys);
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
    TqxSkinSection keys(TqxSkinSection::smRead, IniFile, u"SKINCOLORS");
    Keys(keys);
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
