// The skin control elements: what a skin says about one kind of skinned
// control (its picture and rectangle, how the image stretches, fonts,
// colours and the rectangles of its parts and states), one class per kind
// word of the SKINCONTROLS index. Each reads and writes its own section,
// named by IDName; every field not in the section keeps its default.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "skin/core/qxskincodecs.h"

class TqxDataSkinControl : public TObject {
public:
    explicit TqxDataSkinControl(const String& AIDName) : IDName(AIDName) {}

    // Reads the section IDName: every key, the bases' first.
    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section IDName and writes exactly the keys LoadFromFile reads.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // Whether its values make sense (KeysMakeSense).
    bool MakesSense(const TqxSkinLimits& ALimits);

    String IDName;
    Integer PictureIndex = -1;
    Integer MaskPictureIndex = -1;
    TRect SkinRect;
    // Painting with it raised: lookups pass it by, so the controls that used
    // it show their default look until the skin changes.
    bool Refused = false;

protected:
    // The class's keys with their defaults, in reading order, the bases' first.
    virtual void Keys(TqxSkinSection& K);
};

// What a resizable image needs; points and ClRect are relative to the
// top-left corner of SkinRect.
class TqxDataSkinCustomControl : public TqxDataSkinControl,
                                 public TqxDataSkinCorners,
                                 public TqxDataSkinStretch {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TRect ClRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinPanelControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    Integer BGPictureIndex = -1;
    TRect CaptionRect;
    TAlignment Alignment = taCenter;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect MarkFrameRect;
    TRect FrameRect;
    TRect FrameTextRect;
    Integer FrameLeftOffset = 0;
    Integer FrameRightOffset = 0;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
    TRect ButtonRect;
    TRect ButtonActiveRect;
    TRect ButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinExPanelControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect RollHSkinRect;
    TRect RollVSkinRect;
    Integer RollLeftOffset = 0;
    Integer RollRightOffset = 0;
    Integer RollTopOffset = 0;
    Integer RollBottomOffset = 0;
    TRect RollVCaptionRect;
    TRect RollHCaptionRect;
    TRect CloseButtonRect;
    TRect CloseButtonActiveRect;
    TRect CloseButtonDownRect;
    TRect HRollButtonRect;
    TRect HRollButtonActiveRect;
    TRect HRollButtonDownRect;
    TRect HRestoreButtonRect;
    TRect HRestoreButtonActiveRect;
    TRect HRestoreButtonDownRect;
    TRect VRollButtonRect;
    TRect VRollButtonActiveRect;
    TRect VRollButtonDownRect;
    TRect VRestoreButtonRect;
    TRect VRestoreButtonActiveRect;
    TRect VRestoreButtonDownRect;
    TRect CaptionRect;
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinButtonControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor DisabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect DownSkinRect;
    TRect FocusedSkinRect;
    TRect DisabledSkinRect;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect;
    TRect MenuMarkerRect;
    TRect MenuMarkerActiveRect;
    TRect MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetLeft = 0;
    Integer GlowLayerOffsetTop = 0;
    Integer GlowLayerOffsetRight = 0;
    Integer GlowLayerOffsetBottom = 0;
    Integer GlowLayerShowOffsetX = 0;
    Integer GlowLayerShowOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMenuButtonControl : public TqxDataSkinButtonControl {
public:
    using TqxDataSkinButtonControl::TqxDataSkinButtonControl;

    TRect TrackButtonRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinCheckRadioControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TColor ActiveFontColor = 0;
    TColor UnEnabledFontColor = 0;
    TColor FrameFontColor = 0;
    TRect ActiveSkinRect;
    TRect CheckImageArea;
    TRect TextArea;
    TRect CheckImageRect;
    TRect UnCheckImageRect;
    TRect ActiveCheckImageRect;
    TRect ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect;
    TRect UnEnabledUnCheckImageRect;
    TRect GrayedCheckImageRect;
    TRect ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinGaugeControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ProgressArea;
    TRect ProgressRect;
    Integer BeginOffset = 0;
    Integer EndOffset = 0;
    bool Vertical = false;
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = 0;
    bool ProgressStretch = false;
    TRect AnimationSkinRect;
    Integer AnimationCountFrames = 0;
    Integer AnimationTimerInterval = 0;
    TRect ProgressAnimationSkinRect;
    Integer ProgressAnimationCountFrames = 0;
    Integer ProgressAnimationTimerInterval = 0;
    Integer AnimationBeginOffset = 0;
    Integer AnimationEndOffset = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinSplitterControl : public TqxDataSkinCustomControl {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinTrackBarControl : public TqxDataSkinCustomControl {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ActiveSkinRect;
    TRect TrackArea;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    bool Vertical = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinLabelControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinStdLabelControl : public TqxDataSkinControl, public TqxDataSkinFont {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    // Pure blue unless the skin says otherwise.
    TColor ActiveFontColor = 0x00FF0000;

protected:
    void Keys(TqxSkinSection& K) override;
};

// Never keeps corner points or a client rectangle: they are zero after
// reading and are written as zero.
class TqxDataSkinUpDownControl : public TqxDataSkinCustomControl, public TqxDataSkinUpDownButtons {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    void LoadFromFile(TCustomIniFile* IniFile) override;
    void SaveToFile(TCustomIniFile* IniFile) override;

protected:
    void Keys(TqxSkinSection& K) override;

private:
    void ClearGeometry();
};

class TqxDataSkinGridControl : public TqxDataSkinControl, public TqxDataSkinFont {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TRect FixedCellRect;
    TRect SelectCellRect;
    TRect FocusCellRect;
    Integer FixedCellLeftOffset = 0;
    Integer FixedCellRightOffset = 0;
    TRect FixedCellTextRect;
    Integer CellLeftOffset = 0;
    Integer CellRightOffset = 0;
    TRect CellTextRect;
    Integer BGPictureIndex = -1;
    TColor LinesColor = 0;
    TColor BGColor = 0;
    TColor SelectFontColor = 0;
    TColor FocusFontColor = 0;
    String FixedFontName = u"Tahoma";
    Integer FixedFontHeight = 13;
    TFontStyles FixedFontStyle;
    TColor FixedFontColor = 0;
    bool CellStretchEffect = false;
    bool FixedCellStretchEffect = false;
    bool ShowFocus = false;

protected:
    void Keys(TqxSkinSection& K) override;
};

// Reads the corner, client and stretch keys of a resizable element itself.
class TqxDataSkinTabControl : public TqxDataSkinControl,
                              public TqxDataSkinFont,
                              public TqxDataSkinCorners,
                              public TqxDataSkinStretch {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TRect TabRect;
    TRect ActiveTabRect;
    TRect FocusTabRect;
    TRect MouseInTabRect;
    TRect ClRect;
    Integer BGPictureIndex = -1;
    Integer TabLeftOffset = 0;
    Integer TabRightOffset = 0;
    TRect TabsBGRect;
    bool TabStretchEffect = false;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TColor MouseInFontColor = 0;
    // The section of the tab scroller.
    String UpDown;
    bool ShowFocus = false;
    Integer FocusOffsetX = 0;
    Integer FocusOffsetY = 0;
    TRect CloseButtonRect;
    TRect CloseButtonActiveRect;
    TRect CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TRect DividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
    TRect MDICloseRect;
    TRect MDICloseActiveRect;
    TRect MDICloseDownRect;
    TRect MDIRestoreRect;
    TRect MDIRestoreActiveRect;
    TRect MDIRestoreDownRect;
    TRect MDIMinRect;
    TRect MDIMinActiveRect;
    TRect MDIMinDownRect;
    bool MDIButtonsTransparent = false;
    TColor MDIButtonsTransparentColor = 0;
    TRect TabLeftBottomActiveRect;
    TRect TabLeftBottomFocusRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMainMenuBar : public TqxDataSkinControl {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TRect ItemsRect;
    // Sections of the skin objects of the items and the buttons.
    String MenuBarItem;
    String CloseButton;
    String MinButton;
    String MaxButton;
    String SysMenuButton;
    TColor TrackMarkColor = 0;
    TColor TrackMarkActiveColor = 0;
    bool StretchEffect = false;
    bool ItemTransparent = false;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinControlBar : public TqxDataSkinCustomControl {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ItemRect;
    Integer BGPictureIndex = -1;
    TRect HGripRect;
    TRect VGripRect;
    Integer GripOffset1 = 0;
    Integer GripOffset2 = 0;
    bool ItemStretchEffect = false;
    Integer ItemOffset1 = 3;
    Integer ItemOffset2 = 3;
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinAppMenu : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    Integer BGPictureIndex = -1;
    bool BGStretchEffect = false;
    Integer BGPagePictureIndex = -1;
    bool BGPageStretchEffect = false;
    TRect ItemRect;
    TRect PageItemRect;
    TRect PageItemActiveRect;
    Integer ItemOffset1 = 3;
    Integer ItemOffset2 = 3;
    Integer PageItemOffset1 = 10;
    Integer PageItemOffset2 = 10;
    Integer PageOffset = 0;
    Integer FontPageHeight = 16;
    TColor DisabledFontColor = 0;
    TColor ActiveFontColor = 0;
    TColor FontPageColor = 0;
    TColor ActiveFontPageColor = 0;
    TRect GripperRect;
    TColor GripperTransparentColor = 0;
    TRect TopLineRect;
    Integer TopLineOffset1 = 0;
    Integer TopLineOffset2 = 0;
    TRect BackButtonRect;
    TRect BackButtonActiveRect;
    TRect CaptionRect;
    Integer CaptionLeftOffset = 0;
    Integer CaptionTopOffset = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinEditControl : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ActiveSkinRect;
    TColor DisabledFontColor = 0;
    TColor ActiveFontColor = 0;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinMemoControl : public TqxDataSkinEditControl {
public:
    using TqxDataSkinEditControl::TqxDataSkinEditControl;

    TColor BGColor = 0;
    TColor ActiveBGColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinListBox : public TqxDataSkinCustomControl,
                           public TqxDataSkinFont,
                           public TqxDataSkinUpDownButtons {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    Integer ItemLeftOffset = 0;
    Integer ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor ActiveFontColor = 0;
    TColor FocusFontColor = 0;
    TRect CaptionRect;
    String CaptionFontName = u"Tahoma";
    Integer CaptionFontHeight = 13;
    TFontStyles CaptionFontStyle;
    TColor CaptionFontColor = 0;
    TRect CheckButtonRect;
    TRect ActiveCheckButtonRect;
    TRect DownCheckButtonRect;
    // Sections of the scroll bar elements of the list's bars.
    String VScrollBarName = u"vscrollbar";
    String HScrollBarName = u"hscrollbar";
    String BothScrollBarName = u"bothhscrollbar";
    bool ShowFocus = false;
    TRect DisabledButtonsRect;
    TRect ButtonsArea;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinCheckListBox : public TqxDataSkinListBox {
public:
    using TqxDataSkinListBox::TqxDataSkinListBox;

    TRect ItemCheckRect;
    TRect CheckImageRect;
    TRect UnCheckImageRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinComboBox : public TqxDataSkinCustomControl, public TqxDataSkinFont {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ActiveSkinRect;
    TRect SItemRect;
    TRect ActiveItemRect;
    TRect FocusItemRect;
    Integer ItemLeftOffset = 0;
    Integer ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FocusFontColor = 0;
    TColor ActiveFontColor = 0;
    // The section of the drop-down list; empty leaves it unskinned.
    String ListBoxName;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TRect DownButtonRect;
    TRect UnEnabledButtonRect;
    bool ItemStretchEffect = false;
    bool FocusItemStretchEffect = false;
    bool ShowFocus = false;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinScrollBarControl : public TqxDataSkinCustomControl, public TqxDataSkinUpDownButtons {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect TrackArea;
    TRect ThumbRect;
    TRect ActiveThumbRect;
    TRect DownThumbRect;
    Integer ThumbOffset1 = 0;
    Integer ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    Integer ThumbMinSize = 0;
    Integer ThumbMinPageSize = 0;
    TRect GlyphRect;
    TRect ActiveGlyphRect;
    TRect DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinSpinEditControl : public TqxDataSkinCustomControl,
                                   public TqxDataSkinFont,
                                   public TqxDataSkinUpDownButtons {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    TRect ActiveSkinRect;
    TColor ActiveFontColor = 0;
    TColor DisabledFontColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinScrollBoxControl : public TqxDataSkinCustomControl {
public:
    using TqxDataSkinCustomControl::TqxDataSkinCustomControl;

    Integer BGPictureIndex = -1;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinTreeView : public TqxDataSkinControl, public TqxDataSkinFont {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TColor BGColor = 0;
    TRect ExpandImageRect;
    TRect NoExpandImageRect;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinBevel : public TqxDataSkinControl {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TColor LightColor = 0;
    TColor DarkColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinSlider : public TqxDataSkinControl {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TColor BGColor = 0;
    TRect HRulerRect;
    // Two cells side by side: normal left, pressed right.
    TRect HThumbRect;
    TRect VRulerRect;
    TRect VThumbRect;
    Integer EdgeSize = 0;
    TColor PointsColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinListView : public TqxDataSkinControl, public TqxDataSkinFont {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TColor BGColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

class TqxDataSkinRichEdit : public TqxDataSkinControl, public TqxDataSkinFont {
public:
    using TqxDataSkinControl::TqxDataSkinControl;

    TColor BGColor = 0;

protected:
    void Keys(TqxSkinSection& K) override;
};

// A new element of the kind word of a SKINCONTROLS entry (exact, lower
// case); nullptr for any other word.
std::unique_ptr<TqxDataSkinControl> CreateSkinControl(std::u16string_view AKind, const String& AIDName);
// The kind word the index writer gives an element: that of its most derived
// class.
String SkinControlKind(const TqxDataSkinControl* AControl);
// The 29 kind words, in the order the writer tests them.
const std::vector<String>& SkinControlKinds();
