// The toolkit's bitmap: a DIB section (or a device bitmap) with a memory DC
// for its canvas, scan-line access to the same pixels, transparency for
// drawing, and BMP files.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gditypes.h"
#include "platform/gdi/imagedata.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/graphic.h"

// pfDevice is a device bitmap of the screen's format; the others are DIB
// sections stored bottom-up, rows padded to 4 bytes.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

VELQUA_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TBitmap>(); }

    // From another bitmap: size, pixel format, palette, pixels and
    // transparency; nullptr empties this one. Other graphics render into it.
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    Integer Width() const override { return FWidth; }
    void SetWidth(Integer AValue) override { SetSize(AValue, FHeight); }
    Integer Height() const override { return FHeight; }
    void SetHeight(Integer AValue) override { SetSize(FWidth, AValue); }
    // Keeps the pixels that still fit; new ones are black. Negative sizes count as 0.
    void SetSize(Integer AWidth, Integer AHeight) override;

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels, which keep their colours as far as the new format can.
    void SetPixelFormat(TPixelFormat AValue);
    TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
    // bmDIB turns a device bitmap into pf32bit, bmDDB any DIB into pfDevice.
    void SetHandleType(TBitmapHandleType AValue);
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool AValue) { SetPixelFormat(AValue ? pf1bit : pfDevice); }

    // Row ARow (0 = top) of the pixel memory the canvas draws on: B, G, R
    // (and A) bytes, or packed palette indexes. A device bitmap becomes a
    // pf32bit DIB first. EInvalidGraphic "Scan line index out of range".
    void* ScanLine(Integer ARow);
    TCanvas* Canvas();
    // nullptr while empty.
    win::HBITMAP Handle() const { return FHandle; }

    // tmAuto: the bottom-left pixel (clDefault while empty). Setting a
    // colour makes the mode tmFixed, clDefault makes it tmAuto.
    TColor TransparentColor();
    void SetTransparentColor(TColor AValue);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode AValue);

    // Reads exactly one BMP file, its length from its own headers; an empty
    // stream gives an empty bitmap. The pixel format follows the file's bit
    // depth (16 bits become pf24bit).
    void LoadFromStream(TStream* AStream) override;
    // pf32bit writes 32 bits per pixel, every other format 24; an empty
    // bitmap writes nothing.
    void SaveToStream(TStream* AStream) override;
    // The bitmap registered under AName (resources.h).
    void LoadFromResourceName(const String& AName);

    // Whole pictures in and out, for the other picture classes: alpha is
    // kept by pf32bit and 255 from every other format.
    void LoadFromImageData(const TImageData& AImage, TPixelFormat AFormat);
    TImageData ToImageData();

protected:
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    friend class TBitmapCanvas;
    // The memory DC with the bitmap selected, made on first use.
    win::HDC DC();
    // Replaces the pixel memory, copying the old pixels over when asked.
    void NewImage(TPixelFormat AFormat, Integer AWidth, Integer AHeight, bool AKeepPixels,
                  const std::vector<uint32_t>* APalette = nullptr);

    Integer FWidth = 0;
    Integer FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    win::HBITMAP FHandle = nullptr;
    Byte* FBits = nullptr;
    Integer FStride = 0;
    // Colour table of the palette formats, 0x00RRGGBB.
    std::vector<uint32_t> FPalette;
    win::HDC FDC = nullptr;
    win::HGDIOBJ FStockBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// For pictures with alpha: ABitmap becomes a pf32bit copy of AImage with its
// colours premultiplied by alpha, which DrawPremultiplied then draws over
// ARect of ACanvas by that alpha.
void LoadPremultiplied(TBitmap* ABitmap, const TImageData& AImage);
void DrawPremultiplied(TCanvas* ACanvas, const TRect& ARect, TBitmap* ABitmap);
