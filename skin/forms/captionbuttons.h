// The buttons in a skinned form's frame: a push button drawn from the skin
// with a pressed look and an optional menu, and the standard caption button
// that runs one of the standard commands (close, maximize or restore,
// minimize, system menu, roll-up, minimize to tray), with its restore looks
// and the built-in look of a form without a skin.
#pragma once

#include "platform/toolkit/menus.h"
#include "skin/forms/frameobjects.h"

class TqxSkinButtonObject : public TqxActiveSkinObject {
public:
    TqxSkinButtonObject(TqxDravenfold* AParent, TqxDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool Down() const { return FDown; }
    void SetDown(bool AValue);
    // Pops MenuItem up under the button.
    void TrackMenu();

    bool FPopupUp = false;
    TRect DisableSkinRect;
    TRect DownRect;
    // Not owned.
    TMenuItem* MenuItem = nullptr;

protected:
    // The disabled and pressed looks, else the base look selection.
    void DrawButtonLook(TCanvas* Cnvs, bool UpDate);

    bool FDown = false;
};

class TqxSkinStdButtonObject : public TqxSkinButtonObject {
public:
    TqxSkinStdButtonObject(TqxDravenfold* AParent, TqxDataSkinObject* AData);

    bool PointInMask(Integer X, Integer Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    // Onto the top image of a full-border layered frame.
    void DrawAlpha(TCanvas* Cnvs, TqxBitmap* ABitMap) override;
    void DblClick() override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The built-in look.
    void DefaultDraw(TCanvas* Cnvs);
    void ExecuteCommand();
    // The button shows its other state: maximize while maximized, minimize
    // while minimized (not on the main form), roll-up while rolled up.
    bool IsRestoreState() const;
    // The same for the hint, the minimize button also on the main form.
    bool IsRestoreHintState() const;
    // The system-menu button showing the form's icon.
    bool IsIconCase() const;

    // Borrowed from the skin element; nil when it has none.
    TqxBitmap* FAlphaNormalImage = nullptr;
    TqxBitmap* FAlphaActiveImage = nullptr;
    TqxBitmap* FAlphaDownImage = nullptr;
    TqxBitmap* FAlphaRestoreNormalImage = nullptr;
    TqxBitmap* FAlphaRestoreActiveImage = nullptr;
    TqxBitmap* FAlphaRestoreDownImage = nullptr;
    TqxBitmap* FAlphaInActiveImage = nullptr;
    TqxBitmap* FAlphaInActiveRestoreImage = nullptr;
    bool FSkinSupport = false;
    TqxStdCommand Command = cmDefault;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreInActiveRect;
    TRect RestoreDownRect;
    String RestoreHint;
    String FTempHint;
    Integer AlphaMaskPictureIndex = -1;
    Integer AlphaMaskActivePictureIndex = -1;
    Integer AlphaMaskInActivePictureIndex = -1;
};
