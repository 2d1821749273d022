// What the skinned buttons share: the copy of a button element with its
// fallbacks, the press, repeat and frame-animation rules of the push
// buttons (the windowed one and the speed button), the default look's
// colours, the font of a face, the glyph a state shows and the cross-fade
// between two looks; and the drawing variants of the buttons with a
// drop-down (the menu speed button and the menu button): opening their
// menus and the messages while one is tracked, the track part,
// the stretched and the nine-part faces with their 15-pixel track strip,
// the track part's down look and the drop-down marker.
#pragma once

#include <functional>
#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxskincontrols.h"

class TqxSkinData;

// Drawn after the face: DrawDefault false keeps the image and the caption away.
using TqxButtonPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, const TRect& R, bool ADown,
                                               bool AMouseIn, bool& DrawDefault)>;

// The default look's frame and fills (hover, pressed), and the grey frame
// of an idle tool button.
inline constexpr TColor DefaultFrame = TColor(0xB76B3B);
inline constexpr TColor DefaultHoverFill = TColor(0xF3D4C1);
inline constexpr TColor DefaultDownFill = TColor(0xE4BCA2);
TColor DefaultGreyFrame();

// Copies of a button element (TqxDataSkinButtonControl), fallbacks applied.
struct TqxButtonElementCopy {
    String FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 13;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor DisabledFontColor = 0;
    TRect ActiveSkinRect;
    TRect DownSkinRect;
    TRect DisabledSkinRect;
    TRect FocusedSkinRect;
    TRect AnimateSkinRect;
    Integer FrameCount = 0;
    Integer AnimateInterval = 25;
    bool Morphing = false;
    TqxMorphKind MorphKind = mkDefault;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect;
    TRect MenuMarkerRect;
    TRect MenuMarkerActiveRect;
    TRect MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetLeft = 0;
    Integer GlowLayerOffsetRight = 0;
    Integer GlowLayerOffsetTop = 0;
    Integer GlowLayerOffsetBottom = 0;
    Integer GlowLayerShowOffsetX = 0;
    Integer GlowLayerShowOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;
};

// Every field from the element: an empty hover rectangle falls back to the
// normal one, an empty down rectangle to the hover one, the markers' hover
// and down rectangles likewise; a disabled colour equal to the normal one
// becomes grey RGB(128, 128, 128).
void CopyButtonElement(TqxButtonElementCopy& ACopy, const TqxDataSkinButtonControl& AElement);

// Frame AFrame (1 .. AFrameCount) of an animation strip: the frames lie
// across when the strip is wider than a face of AFaceWidth, else down.
TRect AnimationFrameRect(const TRect& AStrip, Integer AFrameCount, Integer AFaceWidth, Integer AFrame);

// A button's click: OnClick when a linked action has another OnExecute,
// else the action (not while designing), else OnClick.
void RunButtonClick(TControl* AButton);
// The image a linked action gives a button without a glyph: its list's
// image when the action has one in range.
bool ActionImage(TObject* AAction, TCustomImageList*& AList, Integer& AIndex);
// Every other down button of AButton's group among its siblings of the
// same class goes up.
template <typename T>
void ReleaseGroup(T* AButton) {
    TWinControl* parent = AButton->Parent();
    if (!parent || AButton->GroupIndex() <= 0) return;
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<T*>(parent->Controls(i));
        if (other && other != AButton && other->GroupIndex() == AButton->GroupIndex() && other->Down())
            other->SetDown(false);
    }
}

// The state of a push button and the rules both push buttons follow: a
// left press puts it down (clicking at once in check mode or in a group,
// or starting the repeat), the release clicks when it was down and is
// still hovered; the repeat clicks after 500 ms, then every RepeatInterval;
// the frame animation plays the element's strip forwards or backwards.
// Each button supplies how it goes down, clicks and repaints.
class TqxButtonCore : public TqxButtonElementCopy {
public:
    TqxButtonCore();
    virtual ~TqxButtonCore() = default;

    // A strip of NumGlyphs images side by side: normal, disabled, down, hover.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    TqxNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TqxNumGlyphs AValue);
    // -1 centres the content; else its distance from the Layout's edge.
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);
    TqxButtonLayout Layout() const { return FLayout; }
    void SetLayout(TqxButtonLayout AValue);
    // Drawn instead of the glyph when ImageIndex lies in ImageList.
    TCustomImageList* ImageList() const { return FImageList; }
    virtual void SetImageList(TCustomImageList* AValue) = 0;
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);

    virtual void SetDown(bool AValue) = 0;
    virtual void ButtonClick() = 0;

    bool Down() const { return FDown; }
    bool MouseIn() const { return FMouseIn; }
    // The animation frame (0 idle).
    Integer CurrentFrame() const { return FCurrentFrame; }
    bool Animating() const { return FAnimateTimer && FAnimateTimer->Enabled(); }
    bool Repeating() const { return FRepeatTimer && FRepeatTimer->Enabled(); }

protected:
    virtual void RedrawFace() = 0;
    // A linked action's image, for a button without a glyph.
    void TakeActionImage(TObject* AAction);
    // The animation and repeat timers, owned by AOwner.
    void MakeCoreTimers(TComponent* AOwner);
    void StopCoreTimers();
    // The left button pressed and released (after the mouse events).
    void PressLeft();
    void ReleaseLeft();
    // While the button is down, what a move to (X, Y) of a face of AWidth
    // x AHeight calls for: CM_MOUSELEAVE leaving it hovered, CM_MOUSEENTER
    // coming back, 0 for nothing.
    Cardinal PointerCrossing(Integer X, Integer Y, Integer AWidth, Integer AHeight) const;
    void StartRepeat();
    void StopRepeat();
    void StartAnimate(bool AForward);
    void StopAnimate();
    // While the animation runs, its frame stands for the hover look
    // (forwards) or the normal one (backwards); only frames within the
    // strip have a rectangle, so a FrameCount of 0 never divides.
    void ApplyAnimationFrame(TRect& ASkinRect, bool AEffectsOn);

    bool FDown = false;
    bool FMouseIn = false;
    bool FMouseDown = false;
    bool FStopMouseUp = false;
    bool FCheckedMode = false;
    // 0 none; above 0 a group among the siblings; -1 set by CheckedMode.
    Integer FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FAllowAllUpCheck = false;
    bool FRepeatMode = false;
    Integer FRepeatInterval = 100;
    std::unique_ptr<TBitmap> FGlyph;
    TqxNumGlyphs FNumGlyphs = 1;
    Integer FMargin = -1;
    Integer FSpacing = 1;
    TqxButtonLayout FLayout = blGlyphLeft;
    TCustomImageList* FImageList = nullptr;
    Integer FImageIndex = -1;
    Integer FCurrentFrame = 0;
    bool FAnimateInc = false;
    TTimer* FAnimateTimer = nullptr;
    TTimer* FRepeatTimer = nullptr;

private:
    // The repeat timer's first tick, which only ends the delay, is behind it.
    bool FRepeatDelayOver = false;

    void AnimateTick();
    void RepeatTick();
};
// One fifth of the way per step, kept on exact fifths so that five steps
// reach either end.
double StepMorph(double AKf, double AStep);
// AFrom turned toward ATo by AKf in the pattern of AKind, drawn at (0, 0).
void DrawMorph(TCanvas* ACanvas, TBitmap* AFrom, TBitmap* ATo, TqxMorphKind AKind, double AKf);
// The glyph of a strip of ANumGlyphs a state shows: 3 down and hovered
// with more than two, 4 hovered with more than three, 2 disabled with more
// than one, else 1.
Integer ButtonGlyphNumber(TqxNumGlyphs ANumGlyphs, bool ADown, bool AMouseIn, bool AEnabled);
// ACanvas's font: ADefaultFont, with the element's name, height and style
// when AUseSkinFont, in the character set of the skin's resource strings
// when it has them.
void SetupButtonFont(TCanvas* ACanvas, TFont* ADefaultFont, const TqxButtonElementCopy& AElement,
                     bool AUseSkinFont, TqxSkinData* ASkinData);
// ClRect grown at the right and the bottom by ADeltaW and ADeltaH: the
// content of a push button of any size.
TRect GrownClientRect(const TqxSkinGeometry& G, Integer ADeltaW, Integer ADeltaH);
// The face of a push button from ARect of its element's picture into B (the
// button's size), and the content rectangle on it. A button of any size
// (not AUseSkinSize, resize mode other than nine parts) copies the face
// (mode 0) or stretches it around its client rectangle, which grows by the
// size difference; otherwise the control image, with NewClRect as content.
// ABackground, when set, is drawn instead of the face.
template <typename TButton>
TRect DrawButtonFace(TButton& AButton, TBitmap* B, const TRect& ARect, bool AUseSkinSize,
                     const std::function<void(TCanvas*)>& ABackground = nullptr) {
    const bool anySize = !AUseSkinSize && AButton.ResizeMode != 1;
    if (ABackground)
        ABackground(B->Canvas());
    else if (!anySize)
        AButton.CreateSkinImage(B, AButton.Picture, ARect);
    else if (AButton.Picture && AButton.ResizeMode == 0)
        B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), AButton.Picture->Canvas(), ARect);
    else if (AButton.Picture)
        BuildStretchedSkinImage(B, AButton.Picture, ARect, AButton.ClRect, true);
    if (!anySize) return AButton.NewClRect;
    return GrownClientRect(AButton, B->Width() - ARect.Width(), B->Height() - ARect.Height());
}
// The text colour of a button's state: disabled, or ADefaultColor without
// the skin's colours; down when down and hovered; hover when hovered; else
// normal.
TColor ButtonFontColor(const TqxButtonElementCopy& AElement, bool AEnabled, bool AUseSkinFontColor,
                       TColor ADefaultColor, bool ADown, bool AMouseIn);
// ARect filled with AFill inside a one-pixel AFrame (clNone: no frame).
void FillDefaultFace(TCanvas* ACanvas, const TRect& ARect, TColor AFrame, TColor AFill);

// The drop-down buttons.

// The width of the track strip at the right (or, in the new style, the bottom).
inline constexpr Integer TrackStripSize = 15;
// The section names with variants of their own: stretched ("toolbutton",
// "bigtoolbutton") and nine parts ("resizebutton", "resizetoolbutton").
// Every other name is ordinary.
// A button's image-grid menu, whose chosen item the button can show.
struct TqxImagesMenuContent {
    TqxCustomImagesMenu* Menu = nullptr;
    // Draw the chosen item's picture, and its caption instead of the button's.
    bool UseImage = false;
    bool UseCaption = false;

    // Stores AMenu under AOwner's free notification; the menu's change
    // repaints AOwner.
    void SetMenu(TControl* AOwner, TqxCustomImagesMenu* AMenu);
    // Draws the chosen item's picture and caption; false (nothing drawn)
    // without a menu, a chosen item or UseImage.
    bool Draw(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
              TqxButtonLayout ALayout, const String& ACaption, bool AEnabled) const;
};

bool IsStretchedMenuSection(const String& AName);
bool IsNinePartMenuSection(const String& AName);
// The skin's track rectangle (relative to the element) on a button of
// AWidth x AHeight: moved by the width difference for resize mode 2, by
// the height difference for mode 3.
TRect SkinTrackPart(const TqxSkinGeometry& AGeometry, const TRect& ATrackButtonRect, Integer AWidth,
                    Integer AHeight);
// The right strip of a button of AWidth x AHeight.
TRect RightTrackStrip(Integer AWidth, Integer AHeight);
// Whether P lies in ARect, the right and bottom edges included.
bool InTrackPart(const TRect& ARect, Integer X, Integer Y);

// A face of AWidth x AHeight from ASource of APicture as nine parts, the
// element's corner points moved by the size difference.
void BuildNinePartFace(const TqxSkinGeometry& AGeometry, TBitmap* ABitmap, TBitmap* APicture,
                       const TRect& ASource, Integer AWidth, Integer AHeight);

// The non-client hit codes of a scrolling container's two buttons.
inline constexpr Integer HTSCROLLPRIOR = 119;
inline constexpr Integer HTSCROLLNEXT = 120;

// The scroll button of a container that scrolls its children (the tool
// bar, the ribbon and application-menu pages) over ARect: a nine-part face
// from AElement's down, hot or normal rectangle with its font colour for the
// arrow, or without an element the default look's frame and fill; the
// arrow points to DrawArrow's ADirection.
void DrawScrollButtonFace(TCanvas* ACanvas, const TRect& ARect, const TqxDataSkinButtonControl* AElement,
                          TqxSkinData* ASkinData, bool AHot, bool ADown, Integer ADirection);

// Opens a drop-down button's menus under it: its popup menu (a plain one
// has closed on return, so AClosed runs at once), then its image-grid menu,
// whose closing runs AClosed while the button lives. AShowing runs before
// each opens.
void TrackButtonMenus(TControl* AButton, TPopupMenu* APopupMenu, TqxCustomImagesMenu* AImagesMenu,
                      const std::function<void()>& AShowing, const std::function<void()>& AClosed);
// The messages a drop-down button takes while its menu is tracked: the
// menu's closing runs AClosed; the mouse entering or leaving only sets
// AMouseIn (not while designing). False for every other message.
bool TrackedMenuMessage(const TMessage& AMessage, bool AMenuTracked, bool ADesigning, bool& AMouseIn,
                        const std::function<void()>& AClosed);

// What the variants read of a drop-down button and how it draws its content.
struct TqxMenuButtonPaint {
    const TqxSkinGeometry* Geometry = nullptr;
    const TqxButtonElementCopy* Element = nullptr;
    TBitmap* Picture = nullptr;
    Integer Width = 0;
    Integer Height = 0;
    bool Enabled = true;
    // The element's state colours, else DefaultFontColor.
    bool UseSkinFontColor = true;
    TColor DefaultFontColor = 0;
    bool TrackButtonMode = false;
    bool MenuTracked = false;
    // A flat button shows no face while it is idle (the menu speed button).
    bool Flat = false;
    // An arrow of ArrowType (DrawArrow) instead of the marker.
    bool DrawStandardArrow = false;
    Integer ArrowType = 4;
    // The face's font, and what goes on the face after it (a focus mark, the
    // image and the caption) in the content rectangle.
    std::function<void(TCanvas*)> SetupFont;
    std::function<void(TCanvas*, const TRect& AContent, bool ADown, bool AMouseIn)> DrawContent;
};

// What every drop-down button tells its variant alike: itself as geometry
// and element, its picture, size, state and colours.
template <typename TButton>
TqxMenuButtonPaint MenuButtonPaintOf(TButton& AButton, bool ATrackButtonMode, bool AMenuTracked) {
    TqxMenuButtonPaint p;
    p.Geometry = &AButton;
    p.Element = &AButton;
    p.Picture = AButton.Picture;
    p.Width = AButton.Width();
    p.Height = AButton.Height();
    p.Enabled = AButton.Enabled();
    p.UseSkinFontColor = AButton.UseSkinFontColor();
    p.DefaultFontColor = AButton.DefaultFont()->Color();
    p.TrackButtonMode = ATrackButtonMode;
    p.MenuTracked = AMenuTracked;
    return p;
}

// The text colour of a variant: disabled, or DefaultFontColor without the
// skin's colours; down only when down and hovered and no menu is tracked
// in track mode; hover when hovered; else normal.
TColor MenuButtonFontColor(const TqxMenuButtonPaint& AButton, bool ADown, bool AMouseIn);
// The skin's marker rectangle of APicture drawn centred in AArea, its
// transparent colour left out.
void DrawMenuMarker(TCanvas* ACanvas, TBitmap* APicture, const TRect& AMarker, TColor ATransparentColor,
                    const TRect& AArea);
// The marker of a variant in AStrip: the standard arrow, the skin's marker
// (down, hover or normal) or a small down arrow (in the down colour while
// tracked).
void DrawStripMarker(TCanvas* ACanvas, const TqxMenuButtonPaint& AButton, const TRect& AStrip, bool ADown,
                     bool AMouseIn, TColor AFontColor);
// The stretched and the nine-part variants into B (sized to the button):
// the faces, then font, content and the marker in the right strip.
void DrawStretchedMenuButton(const TqxMenuButtonPaint& AButton, TBitmap* B, bool ADown, bool AMouseIn);
void DrawNinePartMenuButton(const TqxMenuButtonPaint& AButton, TBitmap* B, bool ADown, bool AMouseIn);
// While a menu is tracked in track mode, an ordinary section's track part
// shows its down look: ATrackButtonRect of the down image copied onto it.
// False when that does not apply (no track or down rectangle).
bool CopyTrackPartDown(const TqxMenuButtonPaint& AButton, const TRect& ATrackButtonRect, TBitmap* B);
