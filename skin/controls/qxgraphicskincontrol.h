// The bases of the skinned controls without a window of their own, painted
// on their parent: the window-less twins of TqxSkinControl and
// TqxSkinCustomControl, with the same element link, resize modes, size
// rules, control images, default size and font, and without what needs a
// window (region, mask, erase and paint messages, parent background,
// container painting, rectangle mapping).
#pragma once

#include <memory>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/imagelist.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskingeometry.h"
#include "skin/core/qxskindata.h"

class TqxGraphicSkinControl : public TGraphicControl, public IqxSkinChangeable {
public:
    explicit TqxGraphicSkinControl(TComponent* AOwner);
    ~TqxGraphicSkinControl() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // Stores it; a skin data with a skin re-skins the control at once.
    virtual void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    const String& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const String& AValue) { FHintTitle = AValue; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(Integer AValue) { FHintImageIndex = AValue; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* AValue);

    virtual void GetSkinData();
    virtual void CreateControlDefaultImage(TBitmap* B);
    virtual void CreateControlSkinImage(TBitmap* B);
    void ChangeSkinData() override;
    // The form's skin change never forgets these controls' elements before
    // the new skin is in: each paint looks the element up again anyway, so
    // BeforeChangeSkinData keeps the interface's empty one.

    void Paint() override;
    void Dispatch(TMessage& AMessage) override;

    Integer FIndex = -1;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TqxSkinData* FSD = nullptr;
    String FSkinDataName;
    String FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
};

class TqxGraphicSkinCustomControl : public TqxGraphicSkinControl, public TqxSkinGeometry {
public:
    explicit TqxGraphicSkinCustomControl(TComponent* AOwner);
    ~TqxGraphicSkinCustomControl() override;

    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer AValue);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    const TRect& RealClientRect() const { return NewClRect; }

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void ChangeSkinData() override;
    virtual void DefaultFontChanged() {}
    virtual void CalcSize(Integer& W, Integer& H);

    void CreateSkinImage(TBitmap* B, TBitmap* APicture, const TRect& ARect);
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // Borrowed from the skin; nil without.
    TBitmap* Picture = nullptr;

private:
    void DefaultFontChange(TObject* Sender);

    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};
