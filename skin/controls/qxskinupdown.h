// The skinned up-down: two arrow buttons with an integer Position kept
// within Min .. Max. A click steps on release over the same button; a held
// button repeats after 500 ms every 100 ms (every 50 ms after sliding back
// onto it). The page control scrolls its tabs with one.
#pragma once

#include "skin/controls/qxskincontrol.h"

enum TUDOrientation { udHorizontal, udVertical };

class TqxSkinUpDown : public TqxSkinCustomControl {
public:
    // Button 0 is the up button (right or top), button 1 the down button.
    struct TUpDownButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };

    explicit TqxSkinUpDown(TComponent* AOwner);

    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation AValue);
    // Pull Position into the range without OnChange.
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue);
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue);
    // A value outside Min .. Max is ignored; any other raises OnChange,
    // also when it is the same.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer AValue);
    // 0 steps and repeats nothing.
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer AValue) { FIncrement = AValue; }
    // The skin picture's size and buttons, else any size with buttons of
    // the "resizebutton" element.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }

    void CalcButtonRects();

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(Integer& W, Integer& H) override;
    void SetControlRegion() override;
    void Dispatch(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;

    TUpDownButton Buttons[2];
    Integer ActiveButton = -1;
    Integer OldActiveButton = -1;
    Integer CaptureButton = -1;
    // 0 none, 1 decrease, 2 increase.
    Integer TimerMode = 0;
    bool WaitMode = false;
    // Copies of the up-down element.
    TRect UpButtonRect;
    TRect ActiveUpButtonRect;
    TRect DownUpButtonRect;
    TRect DownButtonRect;
    TRect ActiveDownButtonRect;
    TRect DownDownButtonRect;

private:
    void UpdateActiveButton(Integer X, Integer Y);
    void ButtonEnter(Integer AIndex);
    void ButtonLeave(Integer AIndex);
    void ButtonUp(Integer AIndex, Integer X, Integer Y);
    void StartTimer(Cardinal AInterval);
    void StopTimer();
    void Timer();
    void ResetActive();
    // Arrow of button AIndex in AColor.
    void DrawButtonArrow(TCanvas* ACanvas, Integer AIndex, TColor AColor);
    void DrawDefaultButton(TCanvas* ACanvas, Integer AIndex);
    void DrawResizeButton(TCanvas* ACanvas, Integer AIndex);

    TUDOrientation FOrientation = udHorizontal;
    Integer FMin = 0;
    Integer FMax = 100;
    Integer FPosition = 0;
    Integer FIncrement = 1;
    bool FUseSkinSize = true;
};
