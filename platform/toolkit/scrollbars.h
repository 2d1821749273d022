// Scroll bars and track bars: a position within Min..Max, moved by the
// arrow keys, by pages, by dragging the thumb, and (held) by repeated
// steps. Every change of Position raises OnChange, except while the form is
// read; a description may give Min, Max and Position in any order.
#pragma once

#include "platform/toolkit/controls.h"

// What scroll bars and track bars share: the arrow keys, a mouse press that
// repeats on a timer while held, and its end when the mouse is taken away.
class TSteppingControl : public TCustomControl {
public:
    explicit TSteppingControl(TComponent* AOwner);

    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;

protected:
    // Repeats RepeatAction every ARepeat ms after a first pause.
    void StartRepeat(win::UINT ARepeat);
    void StopRepeat();
    // The press is over: no more repeats, the mouse is let go.
    void EndPress();
    virtual void KeyAction(Word AKey) = 0;
    virtual void MouseAction(TMessage& AMessage) = 0;
    virtual void RepeatAction() = 0;
    // The press ends without completing (the mouse was taken, disabled).
    virtual void CancelAction() = 0;

private:
    win::UINT FRepeat = 0;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TSteppingControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind AValue);
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue) { SetParams(FPosition, AValue, FMax); }
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue) { SetParams(FPosition, FMin, AValue); }
    // At most Max - PageSize + 1 with a page size.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer AValue) { SetParams(AValue, FMin, FMax); }
    // The part of the range one view shows; 0: none, the thumb is square.
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer AValue);
    Integer SmallChange() const { return FSmallChange; }
    void SetSmallChange(Integer AValue) { FSmallChange = AValue; }
    Integer LargeChange() const { return FLargeChange; }
    void SetLargeChange(Integer AValue) { FLargeChange = AValue; }
    void SetParams(Integer APosition, Integer AMin, Integer AMax);

    void Paint() override;
    void Loaded() override;

    TNotifyEvent OnChange;
    // Before each move by the user, with the position it is about to take
    // (which the handler may change).
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode AScrollCode, Integer& AScrollPos);

private:
    enum TPart { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

    Integer MaxPosition() const;
    // Along the bar: its length, the arrows' size, the thumb's place and size.
    Integer Length();
    Integer ArrowSize();
    void ThumbSpan(Integer& AStart, Integer& ASize);
    TRect PartRect(TPart APart);
    TPart PartAt(TPoint APoint);
    void DoScroll(TScrollCode ACode);
    void KeyAction(Word AKey) override;
    void MouseAction(TMessage& AMessage) override;
    void RepeatAction() override;
    void CancelAction() override;

    TScrollBarKind FKind = sbHorizontal;
    Integer FMin = 0;
    Integer FMax = 100;
    Integer FPosition = 0;
    Integer FPageSize = 0;
    Integer FSmallChange = 1;
    Integer FLargeChange = 1;
    TPart FPressed = spNone;
    TPoint FPressPoint;
    Integer FDragOffset = 0;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto };

class TTrackBar : public TSteppingControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation AValue);
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue) { SetRange(AValue, FMax); }
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue) { SetRange(FMin, AValue); }
    Integer Position() const { return FPosition; }
    void SetPosition(Integer AValue);
    // Ticks every Frequency positions (tsAuto).
    Integer Frequency() const { return FFrequency; }
    void SetFrequency(Integer AValue);
    Integer LineSize() const { return FLineSize; }
    void SetLineSize(Integer AValue) { FLineSize = AValue; }
    Integer PageSize() const { return FPageSize; }
    void SetPageSize(Integer AValue) { FPageSize = AValue; }
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark AValue);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle AValue);

    void Paint() override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void SetRange(Integer AMin, Integer AMax);
    void Move(Integer APosition);
    bool Horizontal() const { return FOrientation == trHorizontal; }
    // The thumb's travel along the bar, in client pixels, and its place.
    void Travel(Integer& AStart, Integer& AEnd);
    Integer PositionToPixel(Integer APosition);
    Integer PixelToPosition(Integer APixel);
    TRect ThumbRect();
    void KeyAction(Word AKey) override;
    void MouseAction(TMessage& AMessage) override;
    void RepeatAction() override;
    void CancelAction() override;

    TTrackBarOrientation FOrientation = trHorizontal;
    Integer FMin = 0;
    Integer FMax = 10;
    Integer FPosition = 0;
    Integer FFrequency = 1;
    Integer FLineSize = 1;
    Integer FPageSize = 2;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    bool FDragging = false;
    bool FPaging = false;
    Integer FDragOffset = 0;
    Integer FPageTarget = 0;
};
