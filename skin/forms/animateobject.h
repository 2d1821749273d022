// The animated frame object: a strip of equally wide frames in the object's
// picture, played forward while the mouse is over it and backward when it
// leaves; as a button it also has a pressed look, runs a standard command
// and can pop up a menu.
#pragma once

#include "platform/toolkit/menus.h"
#include "skin/forms/frameobjects.h"

class TqxSkinAnimateObject : public TqxActiveSkinObject {
public:
    TqxSkinAnimateObject(TqxDravenfold* AParent, TqxDataSkinObject* AData);

    Integer Frame() const { return FFrame; }
    void SetFrame(Integer Value);
    void Start();
    void Stop();
    // One tick of the form component's animation timer.
    void ChangeFrame();
    void ExecuteCommand();
    void TrackMenu();
    // The restore state of standard buttons, without the main-form exception.
    bool IsRestoreState() const;

    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Integer FInc = 25;
    Integer TimerInterval = 25;
    TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    bool FDown = false;
    bool FMenuTracking = false;
    Integer CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    TqxStdCommand Command = cmDefault;
    TRect DownSkinRect;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreInActiveRect;
    TRect RestoreDownRect;
    String RestoreHint;
    String FTempHint;

private:
    // Starts the component's timer, or repaints when held with a pressed look.
    void Animate();
    Integer FFrame = 1;
};
