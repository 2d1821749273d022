// Panels, bevels and splitters: a container with 3-D bevels and a caption,
// a drawn groove or frame, and a bar that resizes its aligned neighbour.
#pragma once

#include <algorithm>

#include "platform/toolkit/controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = Integer;

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut AValue);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut AValue);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth AValue);
    // Space between the bevels, in the panel's colour.
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer AValue);
    // bsSingle: a sunken client edge around it all.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle AValue);

    // Aligned children stay inside the border and the bevels.
    void AdjustClientRect(TRect& ARect) override;
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;

private:
    void Rebevel();

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    TBevelWidth FBevelWidth = 1;
    Integer FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape AValue);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle AValue);

    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

using TCanResizeEvent = std::function<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// Dragged with the mouse, it resizes the control aligned just before it
// (left of an alLeft splitter, above an alTop one, and so on), keeping both
// that control and the space left over at least MinSize.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);

    Integer MinSize() const { return FMinSize; }
    void SetMinSize(Integer AValue) { FMinSize = std::max(1, AValue); }
    // The control the splitter resizes now; nil when there is none.
    TControl* FindControl() const;

    void RequestAlign() override;
    void Paint() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    // The most the control may grow to, leaving MinSize for the rest.
    Integer MaxSize() const;

    Integer FMinSize = 30;
    TControl* FControl = nullptr;
    TPoint FDownPos;
    Integer FStartSize = 0;
};
