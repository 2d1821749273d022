// The skinned scroll bar: two arrow buttons, a track and a thumb drawn by
// the skin library, horizontal or vertical, with its own mouse, key and
// auto-repeat handling; never a native bar. It stands alone and, above
// all, serves other controls (list and tree views, scroll boxes, list and
// combo boxes, the MDI client) as their external bar: they mirror their
// scroll state into it with SetRange and follow its OnChange. A horizontal
// bar beside a vertical one takes the "both" form: it leaves the corner
// square free, or switches to an element that includes the corner.
#pragma once

#include "platform/toolkit/scrollbars.h"
#include "skin/controls/qxskincontrol.h"

class TqxSkinScrollBar : public TqxSkinCustomControl {
public:
    // The thumb, the up button (towards Max: right or bottom) and the down
    // button (towards Min: left or top), in control coordinates.
    struct TButtonState {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    enum { ThumbButton = 0, UpButton = 1, DownButton = 2 };

    explicit TqxSkinScrollBar(TComponent* AOwner);
    ~TqxSkinScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind AValue);
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue);
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue);
    // Taken only when it fits the range before the position.
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer AValue);
    // Kept within Min .. Max, or Min .. Max - PageSize + 1 with a page; a
    // change raises OnChange.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer AValue);
    // The same without OnChange.
    void SimplySetPosition(Integer AValue);
    // The mirror of another control's scroll state: the values as given,
    // the position kept in the range, one repaint, no OnChange. A range
    // whose Max lies below Min is empty.
    void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
    Integer SmallChange() const { return FSmallChange; }
    void SetSmallChange(Integer AValue);
    Integer LargeChange() const { return FLargeChange; }
    void SetLargeChange(Integer AValue);
    // A horizontal bar sharing its row with a vertical one.
    bool Both() const { return FBoth; }
    void SetBoth(bool AValue);
    // The corner the unskinned "both" form leaves free.
    Integer BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(Integer AValue);
    const String& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const String& AValue) { FBothSkinDataName = AValue; }
    // The bar takes the focus, the arrow keys and the wheel.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool AValue);

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(Integer& W, Integer& H) override;
    // The geometry for the current size and position.
    void CalcRects();
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void KeyDown(Word& AKey, TShiftState AShift) override;

    TNotifyEvent OnChange;
    // The left button let go after the thumb was pressed.
    TNotifyEvent OnLastChange;
    // Replace the arrow buttons' own step when assigned.
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

    // The run-time state.
    TButtonState Buttons[3];
    TRect NewTrackArea;
    // The first and last place of the thumb's centre; the thumb's offset
    // from the start of its travel.
    Integer Offset1 = 0;
    Integer Offset2 = 0;
    Integer BOffset = 0;
    Integer ActiveButton = -1;
    Integer CaptureButton = -1;
    // 0 none, 1 down button, 2 up button, 3 page up, 4 page down.
    Integer TimerMode = 0;

    // Copies of the element (TqxDataSkinScrollBarControl), picture coordinates.
    TRect TrackArea;
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;
    TRect ThumbRect;
    TRect ActiveThumbRect;
    TRect DownThumbRect;
    Integer ThumbOffset1 = 0;
    Integer ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    TRect GlyphRect;
    TRect ActiveGlyphRect;
    TRect DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;
    bool ThumbStretchEffect = false;
    Integer ThumbMinSize = 0;
    Integer ThumbMinPageSize = 0;

private:
    bool Vertical() const { return FKind == sbVertical; }
    // Along the bar: x of a horizontal one, y of a vertical one.
    Integer Along(Integer X, Integer Y) const { return Vertical() ? Y : X; }
    Integer Start(const TRect& R) const { return Vertical() ? R.Top : R.Left; }
    Integer End(const TRect& R) const { return Vertical() ? R.Bottom : R.Right; }
    // Clamped to the range.
    Integer Clamped(Integer AValue) const;
    bool RangeEmpty() const { return FMax < FMin; }
    // The fraction of the travel the position stands at.
    double PositionFraction() const;
    double PageFraction() const;
    void PlaceThumb(const TRect& ATrack, Integer ALength, double AFraction, Integer ACrossStart,
                    Integer ACrossSize);
    void CalcDefaultRects();
    void CalcSkinRects();
    Integer CalcPosition(Integer ADelta);
    void DrawButton(TCanvas* ACanvas, Integer AIndex);
    void DrawSkinThumb(TCanvas* ACanvas);
    void TestActive(Integer X, Integer Y);
    void PressButton(Integer AIndex, Integer X, Integer Y);
    void UpStep();
    void DownStep();
    void PageUp();
    void PageDown();
    bool BeforeThumb(Integer X, Integer Y) const;
    bool AfterThumb(Integer X, Integer Y) const;
    void StartTimer(win::UINT AInterval);
    void StopTimer();
    void TimerTick();

    TScrollBarKind FKind = sbHorizontal;
    Integer FMin = 0;
    Integer FMax = 100;
    Integer FPageSize = 0;
    Integer FPosition = 0;
    Integer FSmallChange = 1;
    Integer FLargeChange = 1;
    bool FBoth = false;
    Integer FBothMarkerWidth = 19;
    String FBothSkinDataName = u"bothhscrollbar";
    String FOldSkinDataName;
    bool FCanFocused = false;
    bool FDown = false;
    bool MouseD = false;
    Integer OMPos = 0;
    Integer OldBOffset = 0;
    Integer MX = 0;
    Integer MY = 0;
    bool WaitMode = false;
    bool FClicksDisabled = false;
};

// Links AValue as AOwner's external bar in AField (with removal notices): the
// bar is enabled but hidden until the content scrolls, and reports its moves
// to AOnChange.
void AttachExternalScrollBar(TComponent* AOwner, TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue,
                             TNotifyEvent AOnChange);
