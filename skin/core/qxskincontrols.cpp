#include "skin/core/qxskincontrols.h"

#include "skin/core/qxutils.h"

void TqxDataSkinControl::LoadFromFile(TCustomIniFile* IniFile) {
    LoadSkinSection(IniFile, IDName, [this](TqxSkinSection& K) { Keys(K); });
}

bool TqxDataSkinControl::MakesSense(const TqxSkinLimits& ALimits) {
    return KeysMakeSense(ALimits, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinControl::SaveToFile(TCustomIniFile* IniFile) {
    SaveSkinSection(IniFile, IDName, [this](TqxSkinSection& K) { Keys(K); });
}

void TqxDataSkinControl::Keys(TqxSkinSection& K) {
    K.Int(u"pictureindex", PictureIndex, -1);
    K.Int(u"maskpictureindex", MaskPictureIndex, -1);
    K.Rect(u"skinrect", SkinRect);
}

void TqxDataSkinCustomControl::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    CornerKeys(K);
    K.Rect(u"clientrect", ClRect);
    StretchKeys(K);
}

void TqxDataSkinPanelControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    K.Rect(u"captionrect", CaptionRect);
    K.Alignment(u"alignment", Alignment);
    FontKeys(K);
    K.Rect(u"checkimagerect", CheckImageRect);
    K.Rect(u"uncheckimagerect", UnCheckImageRect);
    K.Rect(u"markframerect", MarkFrameRect);
    K.Rect(u"framerect", FrameRect);
    K.Rect(u"frametextrect", FrameTextRect);
    K.Int(u"frameleftoffset", FrameLeftOffset);
    K.Int(u"framerightoffset", FrameRightOffset);
    K.Rect(u"gripperrect", GripperRect);
    K.Bool(u"grippertransparent", GripperTransparent);
    K.Color(u"grippertransparentcolor", GripperTransparentColor);
    K.Rect(u"buttonrect", ButtonRect);
    K.Rect(u"buttonactiverect", ButtonActiveRect);
    K.Rect(u"buttondownrect", ButtonDownRect);
    K.Bool(u"buttontransparent", ButtonTransparent);
    K.Color(u"buttontransparentcolor", ButtonTransparentColor);
}

void TqxDataSkinExPanelControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"rollhskinrect", RollHSkinRect);
    K.Rect(u"rollvskinrect", RollVSkinRect);
    K.Int(u"rollleftoffset", RollLeftOffset);
    K.Int(u"rollrightoffset", RollRightOffset);
    K.Int(u"rolltopoffset", RollTopOffset);
    K.Int(u"rollbottomoffset", RollBottomOffset);
    K.Rect(u"rollvcaptionrect", RollVCaptionRect);
    K.Rect(u"rollhcaptionrect", RollHCaptionRect);
    K.Rect(u"closebuttonrect", CloseButtonRect);
    K.Rect(u"closebuttonactiverect", CloseButtonActiveRect);
    K.Rect(u"closebuttondownrect", CloseButtonDownRect);
    K.Rect(u"hrollbuttonrect", HRollButtonRect);
    K.Rect(u"hrollbuttonactiverect", HRollButtonActiveRect);
    K.Rect(u"hrollbuttondownrect", HRollButtonDownRect);
    K.Rect(u"hrestorebuttonrect", HRestoreButtonRect);
    K.Rect(u"hrestorebuttonactiverect", HRestoreButtonActiveRect);
    K.Rect(u"hrestorebuttondownrect", HRestoreButtonDownRect);
    K.Rect(u"vrollbuttonrect", VRollButtonRect);
    K.Rect(u"vrollbuttonactiverect", VRollButtonActiveRect);
    K.Rect(u"vrollbuttondownrect", VRollButtonDownRect);
    K.Rect(u"vrestorebuttonrect", VRestoreButtonRect);
    K.Rect(u"vrestorebuttonactiverect", VRestoreButtonActiveRect);
    K.Rect(u"vrestorebuttondownrect", VRestoreButtonDownRect);
    K.Rect(u"captionrect", CaptionRect);
    FontKeys(K);
    K.Bool(u"buttonstransparent", ButtonsTransparent);
    K.Color(u"buttonstransparentcolor", ButtonsTransparentColor);
}

void TqxDataSkinButtonControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"downfontcolor", DownFontColor);
    K.Color(u"disabledfontcolor", DisabledFontColor);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    K.Rect(u"downskinrect", DownSkinRect);
    K.Rect(u"focusedskinrect", FocusedSkinRect);
    K.Rect(u"disabledskinrect", DisabledSkinRect);
    K.Bool(u"morphing", Morphing);
    K.MorphKind(u"morphkind", MorphKind);
    K.Rect(u"animateskinrect", AnimateSkinRect);
    K.Int(u"framecount", FrameCount);
    K.Int(u"animateinterval", AnimateInterval, 25);
    K.Bool(u"showfocus", ShowFocus);
    K.Rect(u"menumarkerflatrect", MenuMarkerFlatRect);
    K.Rect(u"menumarkerrect", MenuMarkerRect);
    K.Rect(u"menumarkeractiverect", MenuMarkerActiveRect);
    K.Rect(u"menumarkerdownrect", MenuMarkerDownRect);
    K.Color(u"menumarkertransparentcolor", MenuMarkerTransparentColor);
    K.Int(u"glowlayerpictureindex", GlowLayerPictureIndex, -1);
    K.Int(u"glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1);
    K.Int(u"glowlayeroffsetleft", GlowLayerOffsetLeft);
    K.Int(u"glowlayeroffsettop", GlowLayerOffsetTop);
    K.Int(u"glowlayeroffsetright", GlowLayerOffsetRight);
    K.Int(u"glowlayeroffsetbottom", GlowLayerOffsetBottom);
    K.Int(u"glowlayershowoffsetx", GlowLayerShowOffsetX);
    K.Int(u"glowlayershowoffsety", GlowLayerShowOffsetY);
    K.Int(u"glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TqxDataSkinMenuButtonControl::Keys(TqxSkinSection& K) {
    TqxDataSkinButtonControl::Keys(K);
    K.Rect(u"trackbuttonrect", TrackButtonRect);
}

void TqxDataSkinCheckRadioControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"unenabledfontcolor", UnEnabledFontColor);
    K.Color(u"framefontcolor", FrameFontColor);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    K.Rect(u"checkimagearea", CheckImageArea);
    K.Rect(u"textarea", TextArea);
    K.Rect(u"checkimagerect", CheckImageRect);
    K.Rect(u"uncheckimagerect", UnCheckImageRect);
    K.Rect(u"activecheckimagerect", ActiveCheckImageRect);
    K.Rect(u"activeuncheckimagerect", ActiveUnCheckImageRect);
    K.Rect(u"unenabledcheckimagerect", UnEnabledCheckImageRect);
    K.Rect(u"unenableduncheckimagerect", UnEnabledUnCheckImageRect);
    K.Rect(u"grayedcheckimagerect", GrayedCheckImageRect);
    K.Rect(u"activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
    K.Bool(u"morphing", Morphing);
    K.MorphKind(u"morphkind", MorphKind);
}

void TqxDataSkinGaugeControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"progressarea", ProgressArea);
    K.Rect(u"progressrect", ProgressRect);
    K.Int(u"beginoffset", BeginOffset);
    K.Int(u"endoffset", EndOffset);
    K.Bool(u"vertical", Vertical);
    FontKeys(K);
    K.Bool(u"progresstransparent", ProgressTransparent);
    K.Color(u"progresstransparentcolor", ProgressTransparentColor);
    K.Bool(u"progressstretch", ProgressStretch);
    K.Rect(u"animationskinrect", AnimationSkinRect);
    K.Int(u"animationcountframes", AnimationCountFrames);
    K.Int(u"animationtimerinterval", AnimationTimerInterval);
    K.Rect(u"progressanimationskinrect", ProgressAnimationSkinRect);
    K.Int(u"progressanimationcountframes", ProgressAnimationCountFrames);
    K.Int(u"progressanimationtimerinterval", ProgressAnimationTimerInterval);
    K.Int(u"animationbeginoffset", AnimationBeginOffset);
    K.Int(u"animationendoffset", AnimationEndOffset);
}

void TqxDataSkinSplitterControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"gripperrect", GripperRect);
    K.Bool(u"grippertransparent", GripperTransparent);
    K.Color(u"grippertransparentcolor", GripperTransparentColor);
}

void TqxDataSkinTrackBarControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    K.Rect(u"trackarea", TrackArea);
    K.Rect(u"buttonrect", ButtonRect);
    K.Rect(u"activebuttonrect", ActiveButtonRect);
    K.Bool(u"vertical", Vertical);
    K.Bool(u"buttontransparent", ButtonTransparent);
    K.Color(u"buttontransparentcolor", ButtonTransparentColor);
}

void TqxDataSkinLabelControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    FontKeys(K);
}

void TqxDataSkinStdLabelControl::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor, 0x00FF0000);
}

void TqxDataSkinUpDownControl::ClearGeometry() {
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    ClearRect(ClRect);
}

void TqxDataSkinUpDownControl::LoadFromFile(TCustomIniFile* IniFile) {
    TqxDataSkinCustomControl::LoadFromFile(IniFile);
    ClearGeometry();
}

void TqxDataSkinUpDownControl::SaveToFile(TCustomIniFile* IniFile) {
    ClearGeometry();
    TqxDataSkinCustomControl::SaveToFile(IniFile);
}

void TqxDataSkinUpDownControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    UpDownButtonKeys(K);
}

void TqxDataSkinGridControl::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    K.Rect(u"fixedcellrect", FixedCellRect);
    K.Rect(u"selectcellrect", SelectCellRect);
    K.Rect(u"focuscellrect", FocusCellRect);
    K.Int(u"fixedcellleftoffset", FixedCellLeftOffset);
    K.Int(u"fixedcellrightoffset", FixedCellRightOffset);
    K.Rect(u"fixedcelltextrect", FixedCellTextRect);
    K.Int(u"cellleftoffset", CellLeftOffset);
    K.Int(u"cellrightoffset", CellRightOffset);
    K.Rect(u"celltextrect", CellTextRect);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    K.Color(u"linescolor", LinesColor);
    K.Color(u"bgcolor", BGColor);
    FontKeys(K);
    K.Color(u"selectfontcolor", SelectFontColor);
    K.Color(u"focusfontcolor", FocusFontColor);
    K.Text(u"fixedfontname", FixedFontName, u"Tahoma");
    K.Int(u"fixedfontheight", FixedFontHeight, 13);
    K.FontStyle(u"fixedfontstyle", FixedFontStyle);
    K.Color(u"fixedfontcolor", FixedFontColor);
    K.Bool(u"cellstretcheffect", CellStretchEffect);
    K.Bool(u"fixedcellstretcheffect", FixedCellStretchEffect);
    K.Bool(u"showfocus", ShowFocus);
}

void TqxDataSkinTabControl::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    K.Rect(u"tabrect", TabRect);
    K.Rect(u"activetabrect", ActiveTabRect);
    K.Rect(u"focustabrect", FocusTabRect);
    K.Rect(u"mouseintabrect", MouseInTabRect);
    K.Rect(u"clientrect", ClRect);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    CornerKeys(K);
    K.Int(u"tableftoffset", TabLeftOffset);
    K.Int(u"tabrightoffset", TabRightOffset);
    K.Rect(u"tabsbgrect", TabsBGRect);
    K.Bool(u"tabstretcheffect", TabStretchEffect);
    StretchKeys(K);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"focusfontcolor", FocusFontColor);
    K.Color(u"mouseinfontcolor", MouseInFontColor);
    K.Text(u"updown", UpDown);
    K.Bool(u"showfocus", ShowFocus);
    K.Int(u"focusoffsetx", FocusOffsetX);
    K.Int(u"focusoffsety", FocusOffsetY);
    K.Rect(u"closebuttonrect", CloseButtonRect);
    K.Rect(u"closebuttonactiverect", CloseButtonActiveRect);
    K.Rect(u"closebuttondownrect", CloseButtonDownRect);
    K.Bool(u"buttontransparent", ButtonTransparent);
    K.Color(u"buttontransparentcolor", ButtonTransparentColor);
    K.Rect(u"dividerrect", DividerRect);
    K.Bool(u"dividertransparent", DividerTransparent);
    K.Color(u"dividertransparentcolor", DividerTransparentColor);
    K.Rect(u"mdicloserect", MDICloseRect);
    K.Rect(u"mdicloseactiverect", MDICloseActiveRect);
    K.Rect(u"mdiclosedownrect", MDICloseDownRect);
    K.Rect(u"mdirestorerect", MDIRestoreRect);
    K.Rect(u"mdirestoreactiverect", MDIRestoreActiveRect);
    K.Rect(u"mdirestoredownrect", MDIRestoreDownRect);
    K.Rect(u"mdiminrect", MDIMinRect);
    K.Rect(u"mdiminactiverect", MDIMinActiveRect);
    K.Rect(u"mdimindownrect", MDIMinDownRect);
    K.Bool(u"mdibuttonstransparent", MDIButtonsTransparent);
    K.Color(u"mdibuttonstransparentcolor", MDIButtonsTransparentColor);
    K.Rect(u"tableftbottomactiverect", TabLeftBottomActiveRect);
    K.Rect(u"tableftbottomfocusrect", TabLeftBottomFocusRect);
}

void TqxDataSkinMainMenuBar::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    K.Rect(u"itemsrect", ItemsRect);
    K.Text(u"menubaritem", MenuBarItem);
    K.Text(u"closebutton", CloseButton);
    K.Text(u"minbutton", MinButton);
    K.Text(u"maxbutton", MaxButton);
    K.Text(u"sysmenubutton", SysMenuButton);
    K.Color(u"trackmarkcolor", TrackMarkColor);
    K.Color(u"trackmarkactivecolor", TrackMarkActiveColor);
    K.Bool(u"stretcheffect", StretchEffect);
    K.Bool(u"itemtransparent", ItemTransparent);
}

void TqxDataSkinControlBar::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"itemrect", ItemRect);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    K.Rect(u"hgriprect", HGripRect);
    K.Rect(u"vgriprect", VGripRect);
    K.Int(u"gripoffset1", GripOffset1);
    K.Int(u"gripoffset2", GripOffset2);
    K.Bool(u"itemstretcheffect", ItemStretchEffect);
    K.Int(u"itemoffset1", ItemOffset1, 3);
    K.Int(u"itemoffset2", ItemOffset2, 3);
    K.Bool(u"itemtransparent", ItemTransparent);
    K.Color(u"itemtransparentcolor", ItemTransparentColor);
    K.Bool(u"griptransparent", GripTransparent);
    K.Color(u"griptransparentcolor", GripTransparentColor);
}

void TqxDataSkinAppMenu::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    K.Bool(u"bgstretcheffect", BGStretchEffect);
    K.Int(u"bgpagepictureindex", BGPagePictureIndex, -1);
    K.Bool(u"bgpagestretcheffect", BGPageStretchEffect);
    K.Rect(u"itemrect", ItemRect);
    K.Rect(u"pageitemrect", PageItemRect);
    K.Rect(u"pageitemactiverect", PageItemActiveRect);
    K.Int(u"itemoffset1", ItemOffset1, 3);
    K.Int(u"itemoffset2", ItemOffset2, 3);
    K.Int(u"pageitemoffset1", PageItemOffset1, 10);
    K.Int(u"pageitemoffset2", PageItemOffset2, 10);
    K.Int(u"pageoffset", PageOffset);
    FontKeys(K);
    K.Int(u"fontpageheight", FontPageHeight, 16);
    K.Color(u"disabledfontcolor", DisabledFontColor);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"fontpagecolor", FontPageColor);
    K.Color(u"activefontpagecolor", ActiveFontPageColor);
    K.Rect(u"gripperrect", GripperRect);
    K.Color(u"grippertransparentcolor", GripperTransparentColor);
    K.Rect(u"toplinerect", TopLineRect);
    K.Int(u"toplineoffset1", TopLineOffset1);
    K.Int(u"toplineoffset2", TopLineOffset2);
    K.Rect(u"backbuttonrect", BackButtonRect);
    K.Rect(u"backbuttonactiverect", BackButtonActiveRect);
    K.Rect(u"captionrect", CaptionRect);
    K.Int(u"captionleftoffset", CaptionLeftOffset);
    K.Int(u"captiontopoffset", CaptionTopOffset);
}

void TqxDataSkinEditControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    FontKeys(K);
    K.Color(u"disabledfontcolor", DisabledFontColor);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Rect(u"buttonrect", ButtonRect);
    K.Rect(u"activebuttonrect", ActiveButtonRect);
    K.Rect(u"downbuttonrect", DownButtonRect);
    K.Rect(u"unenabledbuttonrect", UnEnabledButtonRect);
}

void TqxDataSkinMemoControl::Keys(TqxSkinSection& K) {
    TqxDataSkinEditControl::Keys(K);
    K.Color(u"bgcolor", BGColor);
    K.Color(u"activebgcolor", ActiveBGColor);
}

void TqxDataSkinListBox::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"itemrect", SItemRect);
    K.Rect(u"activeitemrect", ActiveItemRect);
    K.Rect(u"focusitemrect", FocusItemRect);
    K.Int(u"itemleftoffset", ItemLeftOffset);
    K.Int(u"itemrightoffset", ItemRightOffset);
    K.Rect(u"itemtextrect", ItemTextRect);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"focusfontcolor", FocusFontColor);
    K.Rect(u"captionrect", CaptionRect);
    K.Text(u"captionfontname", CaptionFontName, u"Tahoma");
    K.Int(u"captionfontheight", CaptionFontHeight, 13);
    K.FontStyle(u"captionfontstyle", CaptionFontStyle);
    K.Color(u"captionfontcolor", CaptionFontColor);
    UpDownButtonKeys(K);
    K.Rect(u"checkbuttonrect", CheckButtonRect);
    K.Rect(u"activecheckbuttonrect", ActiveCheckButtonRect);
    K.Rect(u"downcheckbuttonrect", DownCheckButtonRect);
    K.Text(u"vscrollbarname", VScrollBarName, u"vscrollbar");
    K.Text(u"hscrollbarname", HScrollBarName, u"hscrollbar");
    K.Text(u"bothhscrollbarname", BothScrollBarName, u"bothhscrollbar");
    K.Bool(u"showfocus", ShowFocus);
    K.Rect(u"disabledbuttonsrect", DisabledButtonsRect);
    K.Rect(u"buttonsarea", ButtonsArea);
}

void TqxDataSkinCheckListBox::Keys(TqxSkinSection& K) {
    TqxDataSkinListBox::Keys(K);
    K.Rect(u"itemcheckrect", ItemCheckRect);
    K.Rect(u"checkimagerect", CheckImageRect);
    K.Rect(u"uncheckimagerect", UnCheckImageRect);
}

void TqxDataSkinComboBox::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    K.Rect(u"itemrect", SItemRect);
    K.Rect(u"activeitemrect", ActiveItemRect);
    K.Rect(u"focusitemrect", FocusItemRect);
    K.Int(u"itemleftoffset", ItemLeftOffset);
    K.Int(u"itemrightoffset", ItemRightOffset);
    K.Rect(u"itemtextrect", ItemTextRect);
    FontKeys(K);
    K.Color(u"focusfontcolor", FocusFontColor);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Text(u"listboxname", ListBoxName);
    K.Rect(u"buttonrect", ButtonRect);
    K.Rect(u"activebuttonrect", ActiveButtonRect);
    K.Rect(u"downbuttonrect", DownButtonRect);
    K.Rect(u"unenabledbuttonrect", UnEnabledButtonRect);
    K.Bool(u"itemstretcheffect", ItemStretchEffect);
    K.Bool(u"focusitemstretcheffect", FocusItemStretchEffect);
    K.Bool(u"showfocus", ShowFocus);
}

void TqxDataSkinScrollBarControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"trackarea", TrackArea);
    UpDownButtonKeys(K);
    K.Rect(u"thumbrect", ThumbRect);
    K.Rect(u"activethumbrect", ActiveThumbRect);
    K.Rect(u"downthumbrect", DownThumbRect);
    K.Int(u"thumboffset1", ThumbOffset1);
    K.Int(u"thumboffset2", ThumbOffset2);
    K.Bool(u"thumbtransparent", ThumbTransparent);
    K.Color(u"thumbtransparentcolor", ThumbTransparentColor);
    K.Bool(u"thumbstretcheffect", ThumbStretchEffect);
    K.Int(u"thumbminsize", ThumbMinSize);
    K.Int(u"thumbminpagesize", ThumbMinPageSize);
    K.Rect(u"glyphrect", GlyphRect);
    K.Rect(u"activeglyphrect", ActiveGlyphRect);
    K.Rect(u"downglyphrect", DownGlyphRect);
    K.Bool(u"glyphtransparent", GlyphTransparent);
    K.Color(u"glyphtransparentcolor", GlyphTransparentColor);
}

void TqxDataSkinSpinEditControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Rect(u"activeskinrect", ActiveSkinRect);
    FontKeys(K);
    K.Color(u"activefontcolor", ActiveFontColor);
    K.Color(u"disabledfontcolor", DisabledFontColor);
    UpDownButtonKeys(K);
}

void TqxDataSkinScrollBoxControl::Keys(TqxSkinSection& K) {
    TqxDataSkinCustomControl::Keys(K);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
}

void TqxDataSkinTreeView::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    FontKeys(K);
    K.Color(u"bgcolor", BGColor);
    K.Rect(u"expandimagerect", ExpandImageRect);
    K.Rect(u"noexpandimagerect", NoExpandImageRect);
}

void TqxDataSkinBevel::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    K.Color(u"lightcolor", LightColor);
    K.Color(u"darkcolor", DarkColor);
}

void TqxDataSkinSlider::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    K.Color(u"bgcolor", BGColor);
    K.Rect(u"hrulerrect", HRulerRect);
    K.Rect(u"hthumbrect", HThumbRect);
    K.Rect(u"vrulerrect", VRulerRect);
    K.Rect(u"vthumbrect", VThumbRect);
    K.Int(u"edgesize", EdgeSize);
    K.Color(u"pointscolor", PointsColor);
}

void TqxDataSkinListView::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    FontKeys(K);
    K.Color(u"bgcolor", BGColor);
}

void TqxDataSkinRichEdit::Keys(TqxSkinSection& K) {
    TqxDataSkinControl::Keys(K);
    FontKeys(K);
    K.Color(u"bgcolor", BGColor);
}

namespace {

using TControlKinds = TqxSkinKinds<TqxDataSkinControl>;

const TControlKinds& ControlKinds() {
    static const TControlKinds kinds({
        TControlKinds::Kind<TqxDataSkinPanelControl>(u"panel"),
        TControlKinds::Kind<TqxDataSkinExPanelControl>(u"expanel"),
        TControlKinds::Kind<TqxDataSkinMenuButtonControl>(u"menubutton"),
        TControlKinds::Kind<TqxDataSkinButtonControl>(u"button"),
        TControlKinds::Kind<TqxDataSkinCheckRadioControl>(u"checkradio"),
        TControlKinds::Kind<TqxDataSkinGaugeControl>(u"gauge"),
        TControlKinds::Kind<TqxDataSkinSplitterControl>(u"splitter"),
        TControlKinds::Kind<TqxDataSkinTrackBarControl>(u"trackbar"),
        TControlKinds::Kind<TqxDataSkinLabelControl>(u"label"),
        TControlKinds::Kind<TqxDataSkinStdLabelControl>(u"stdlabel"),
        TControlKinds::Kind<TqxDataSkinUpDownControl>(u"updown"),
        TControlKinds::Kind<TqxDataSkinGridControl>(u"grid"),
        TControlKinds::Kind<TqxDataSkinTabControl>(u"tab"),
        TControlKinds::Kind<TqxDataSkinMainMenuBar>(u"mainmenubar"),
        TControlKinds::Kind<TqxDataSkinControlBar>(u"controlbar"),
        TControlKinds::Kind<TqxDataSkinAppMenu>(u"appmenu"),
        TControlKinds::Kind<TqxDataSkinMemoControl>(u"memo"),
        TControlKinds::Kind<TqxDataSkinEditControl>(u"edit"),
        TControlKinds::Kind<TqxDataSkinCheckListBox>(u"checklistbox"),
        TControlKinds::Kind<TqxDataSkinListBox>(u"listbox"),
        TControlKinds::Kind<TqxDataSkinComboBox>(u"combobox"),
        TControlKinds::Kind<TqxDataSkinScrollBarControl>(u"scrollbar"),
        TControlKinds::Kind<TqxDataSkinSpinEditControl>(u"spinedit"),
        TControlKinds::Kind<TqxDataSkinScrollBoxControl>(u"scrollbox"),
        TControlKinds::Kind<TqxDataSkinTreeView>(u"treeview"),
        TControlKinds::Kind<TqxDataSkinBevel>(u"bevel"),
        TControlKinds::Kind<TqxDataSkinSlider>(u"slider"),
        TControlKinds::Kind<TqxDataSkinListView>(u"listview"),
        TControlKinds::Kind<TqxDataSkinRichEdit>(u"richedit"),
    });
    return kinds;
}

}  // namespace

std::unique_ptr<TqxDataSkinControl> CreateSkinControl(std::u16string_view AKind, const String& AIDName) {
    return ControlKinds().Create(AKind, AIDName);
}

String SkinControlKind(const TqxDataSkinControl* AControl) {
    return ControlKinds().Word(AControl);
}

const std::vector<String>& SkinControlKinds() {
    return ControlKinds().Words();
}
