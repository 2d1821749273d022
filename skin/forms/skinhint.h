// Skinned hints: the component that makes every hint of the application a
// skinned hint window (drawn from the skin's hint picture, or in a built-in
// look), with a title and an image for skinned controls, and a timed hint
// the form component uses for its frame objects.
#pragma once

#include <memory>
#include <vector>

#include "platform/toolkit/forms.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/timer.h"
#include "skin/core/qxskindata.h"

class TqxSkinHint;

class TqxSkinHintWindow : public THintWindow {
public:
    explicit TqxSkinHintWindow(TComponent* AOwner);
    ~TqxSkinHintWindow() override;

    void ActivateHint(TRect ARect, const String& AHint) override;
    void ActivateHintEx(TRect ARect, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                        TCustomImageList* AImageList);
    void ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop);
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void Dispatch(TMessage& AMessage) override;

    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TqxSkinHint* FspHint = nullptr;
    TqxSkinData* FSD = nullptr;
    win::HRGN FRgn = nullptr;
    bool FOldAlphaBlend = false;
    Byte FOldAlphaBlendValue = 0;
    bool AExtendedStyle = false;

private:
    enum TPlacement { hpRect, hpFromRectTop, hpFromRectBottom };
    void Activate(TRect ARect, const String& AHint, bool AExtended, TPlacement APlacement);
    TSize CalcHintSize(const String& AText);
    TSize CalcHintSizeEx(const String& AText, const String& ATitle, TCustomImageList* AList, Integer AIndex);
    TSize SkinnedSize(Integer W, Integer H, Integer AMargin);
    void UpdateHintRegion();
    void PaintBackground(TCanvas* C);
    void PaintEx(TCanvas* C);
    TqxDataSkinHintWindow* Element() const;
    TBitmap* WindowPicture() const;
};

class TqxSkinHint : public TComponent {
public:
    explicit TqxSkinHint(TComponent* AOwner);
    ~TqxSkinHint() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TqxSkinData* SkinData() const { return FSD; }
    void SetSkinData(TqxSkinData* Value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    const String& LineSeparator() const { return FLineSeparator; }
    void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
    const String& HintTitle() const { return FHintTitle; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    TqxSkinHintWindow* Window() const { return HW; }

    void AppShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
    void ActivateHint2(const String& AHint);
    void ActivateTntHint2(const String& AHint) { ActivateHint2(AHint); }
    void ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                         TCustomImageList* AImageList);
    void ActivateHint3(const TRect& AFromRect, const String& AHint, bool ATop);
    void ActivateHint(TPoint P, const String& AHint);
    void ActivateTntHint(TPoint P, const String& AHint) { ActivateHint(P, AHint); }
    void ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                        TCustomImageList* AImageList);
    bool IsVisible() const;
    void HideHint();
    // How far below the pointer's hot spot cursor-anchored hints start.
    Integer GetCursorHeightMargin() const;

    TShowHintEvent OnShowHint;
    // The timer of a pending timed hint; nil when none is pending.
    TTimer* HintTimer = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // Pending timed hint: the kind of showing and its data.
    enum TTimedKind { tkPlain, tkExtended, tkFromRect };
    void StartTimed(TTimedKind AKind);
    void TimerTick();
    void FreeTimer();
    TPoint CursorAnchor() const;

    bool FActive = true;
    TqxSkinData* FSD = nullptr;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 0;
    bool FAlphaBlendAnimation = false;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    String FLineSeparator = u"@";
    TqxSkinHintWindow* HW = nullptr;
    String HintText;
    String FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
    TRect FromRect;
    bool Top = false;
    TTimedKind FTimedKind = tkPlain;
    bool FTimedShown = false;
    // Timers whose handler is running are freed after it returns.
    std::vector<std::unique_ptr<TTimer>> FDoomedTimers;
    bool FInTick = false;
};

// The row of the lowest opaque line of a cursor's monochrome masks, counted
// from the top, from its bottom-up bits (AND mask above the XOR one when the
// bitmap is twice as high as wide); -1 when there is nothing to read. Reads
// stay inside ABits however few rows it has.
Integer CursorMaskBottomRow(const std::vector<Byte>& ABits, Integer AWidth, Integer AHeight);
