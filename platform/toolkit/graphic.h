// The abstract picture every image class descends from, and the stream and
// file plumbing they share.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/streams.h"
#include "platform/toolkit/geometry.h"

class TCanvas;

VELQUA_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphic : public TPersistent {
public:
    // An empty picture of the same class.
    virtual std::unique_ptr<TGraphic> NewEmpty() const = 0;

    virtual bool Empty() const = 0;
    virtual Integer Width() const = 0;
    virtual void SetWidth(Integer AValue) = 0;
    virtual Integer Height() const = 0;
    virtual void SetHeight(Integer AValue) = 0;
    virtual void SetSize(Integer AWidth, Integer AHeight);
    // Drawn with its background left out (a transparent colour or alpha).
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool AValue);
    bool Modified() const { return FModified; }
    void SetModified(bool AValue);

    virtual void LoadFromStream(TStream* AStream) = 0;
    virtual void SaveToStream(TStream* AStream) = 0;
    void LoadFromFile(const String& AFileName);
    void SaveToFile(const String& AFileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Into ARect of ACanvas, scaled to fit.
    virtual void Draw(TCanvas* ACanvas, const TRect& ARect) = 0;
    // Sets Modified and raises OnChange.
    virtual void Changed();

    bool FTransparent = false;

private:
    bool FModified = false;
};

// Everything from the stream's position to its end, which picture formats
// without a length of their own take as theirs.
std::vector<Byte> ReadToEnd(TStream* AStream);
