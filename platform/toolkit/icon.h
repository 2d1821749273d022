// Icons as pictures: an icon handle (a colour bitmap and its mask) drawn
// with its transparency. Icons come from bitmaps, through an image list's
// GetIcon or a handle, or from icon files, which are read but not written.
#pragma once

#include "platform/gdi/gditypes.h"
#include "platform/toolkit/graphic.h"

class TIcon : public TGraphic {
public:
    ~TIcon() override;
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TIcon>(); }

    // From a TIcon: a copy of its icon; nullptr empties.
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FHandle == nullptr; }
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    // EInvalidGraphicOperation: the size is the icon's.
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;
    bool Transparent() const override { return true; }

    win::HICON Handle() const { return FHandle; }
    // The icon takes AValue over and destroys the one it had.
    void SetHandle(win::HICON AValue);
    // Gives the icon up to the caller, leaving this one empty.
    win::HICON ReleaseHandle();

    // The rest of the stream is an icon file; its largest picture becomes
    // the icon (DecodeIco). EInvalidGraphic for a damaged file, which
    // leaves the icon held before.
    void LoadFromStream(TStream* AStream) override;
    // EInvalidGraphicOperation "Icon files are not written".
    void SaveToStream(TStream* AStream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    win::HICON FHandle = nullptr;
    Integer FWidth = 0;
    Integer FHeight = 0;
};
