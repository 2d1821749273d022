#include "skin/core/qxbitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/imagedata.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/picture.h"
#include "skin/core/qxroutines.h"
#include "skin/core/rects.h"

using namespace qxrects;

std::vector<TqxBitmap*>* BitmapRegistry = nullptr;

namespace {

constexpr TqxColor AlphaBits = 0xFF000000;
constexpr TqxColor ColorBits = 0x00FFFFFF;

void RegisterBitmap(TqxBitmap* ABitmap) {
    if (!BitmapRegistry) BitmapRegistry = new std::vector<TqxBitmap*>;
    if (std::find(BitmapRegistry->begin(), BitmapRegistry->end(), ABitmap) == BitmapRegistry->end())
        BitmapRegistry->push_back(ABitmap);
}

void UnregisterBitmap(TqxBitmap* ABitmap) {
    if (BitmapRegistry)
        BitmapRegistry->erase(std::remove(BitmapRegistry->begin(), BitmapRegistry->end(), ABitmap),
                              BitmapRegistry->end());
}

// Frees the list (not the bitmaps) when the program ends; bitmaps that
// outlive it find no list to leave.
struct TRegistryFinalizer {
    ~TRegistryFinalizer() {
        delete BitmapRegistry;
        BitmapRegistry = nullptr;
    }
} RegistryFinalizer;

[[noreturn]] void ReadError() {
    throw EReadError(u"Stream read error");
}

Int64 Remaining(TStream* AStream) {
    return AStream->Size() - AStream->Position();
}

Integer ReadInteger(TStream* AStream) {
    Integer value = 0;
    AStream->ReadBuffer(&value, sizeof value);
    return value;
}

void WriteInteger(TStream* AStream, Integer AValue) {
    AStream->WriteBuffer(&AValue, sizeof AValue);
}

// The length comes from the data: it must fit in what the stream holds.
String ReadName(TStream* AStream) {
    const Integer length = ReadInteger(AStream);
    if (length < 0 || Int64(length) * 2 > Remaining(AStream)) ReadError();
    String name(static_cast<size_t>(length), u'\0');
    AStream->ReadBuffer(name.data(), Int64(length) * 2);
    return name;
}

void WriteName(TStream* AStream, const String& AName) {
    WriteInteger(AStream, static_cast<Integer>(AName.size()));
    AStream->WriteBuffer(AName.data(), Int64(AName.size()) * 2);
}

Integer Red(TqxColor C) {
    return Integer((C >> 16) & 0xFF);
}
Integer Green(TqxColor C) {
    return Integer((C >> 8) & 0xFF);
}
Integer Blue(TqxColor C) {
    return Integer(C & 0xFF);
}
TqxColor Pack(Integer R, Integer G, Integer B, TqxColor AAlphaOf) {
    return (AAlphaOf & AlphaBits) | (TqxColor(std::clamp(R, 0, 255)) << 16) |
           (TqxColor(std::clamp(G, 0, 255)) << 8) | TqxColor(std::clamp(B, 0, 255));
}

// Hue, saturation and lightness in 0..1, in single precision.
struct THsl {
    float H = 0;
    float S = 0;
    float L = 0;
};

THsl PixelToHsl(TqxColor C) {
    const float r = float(Red(C)) / 255, g = float(Green(C)) / 255, b = float(Blue(C)) / 255;
    const float max = std::max({r, g, b}), min = std::min({r, g, b});
    THsl hsl;
    hsl.L = (max + min) / 2;
    if (max == min) return hsl;
    const float d = max - min;
    hsl.S = hsl.L < 0.5f ? d / (max + min) : d / (2 - max - min);
    if (max == r)
        hsl.H = (g - b) / d;
    else if (max != g)
        hsl.H = (r - g) / d + 4;
    else
        hsl.H = (b - r) / d + 2;
    hsl.H /= 6;
    if (hsl.H < 0) hsl.H += 1;
    return hsl;
}

Integer ToByte(float AValue) {
    return static_cast<Integer>(std::nearbyint(AValue * 255));
}

// The colour of AHsl with the alpha of AAlphaOf.
TqxColor HslToPixel(const THsl& AHsl, TqxColor AAlphaOf) {
    if (AHsl.S == 0) {
        const Integer v = ToByte(AHsl.L);
        return Pack(v, v, v, AAlphaOf);
    }
    const float m2 = AHsl.L <= 0.5f ? AHsl.L * (1 + AHsl.S) : AHsl.L + AHsl.S - AHsl.L * AHsl.S;
    const float m1 = 2 * AHsl.L - m2;
    const auto f = [&](float h) {
        h -= std::floor(h);
        if (6 * h < 1) return m1 + (m2 - m1) * 6 * h;
        if (2 * h < 1) return m2;
        if (3 * h < 2) return m1 + (m2 - m1) * (2.0f / 3 - h) * 6;
        return m1;
    };
    return Pack(ToByte(f(AHsl.H + 1.0f / 3)), ToByte(f(AHsl.H)), ToByte(f(AHsl.H - 1.0f / 3)), AAlphaOf);
}

// Component := (round(component x 255) + ADelta, wrapped once into range) / 255.
float Shift(float AComponent, Integer ADelta) {
    Integer v = ToByte(AComponent) + ADelta;
    if (v >= 256) v -= 255;
    if (v < 0) v += 255;
    return float(v) / 255;
}

template <typename F>
void ForEachVisiblePixel(PqxColorArray ABits, Integer ACount, F AChange) {
    for (Integer i = 0; i < ACount; ++i)
        if (ABits[i] >> 24) ABits[i] = AChange(ABits[i]);
}

// Copies of ASrcRect filling ADstRect, one column after another; cut tiles
// take the top-left part of the source.
template <typename F>
void ForEachTile(const TRect& ADstRect, const TRect& ASrcRect, F ADraw) {
    const Integer w = ASrcRect.Width(), h = ASrcRect.Height();
    if (w <= 0 || h <= 0) return;
    const Integer dw = ADstRect.Width(), dh = ADstRect.Height();
    const Integer columns = dw / w + (dw % w != 0 ? 1 : 0);
    const Integer rows = dh / h + (dh % h != 0 ? 1 : 0);
    for (Integer i = 0; i <= columns; ++i)
        for (Integer j = 0; j <= rows; ++j) {
            const TRect tile = Intersect(Bounds(ADstRect.Left + i * w, ADstRect.Top + j * h, w, h), ADstRect);
            if (IsEmpty(tile)) break;
            ADraw(tile, Bounds(ASrcRect.Left, ASrcRect.Top, tile.Width(), tile.Height()));
        }
}

win::POINT WindowOrigin(win::HDC ADC) {
    win::POINT origin{};
    win::GetWindowOrgEx(ADC, &origin);
    return origin;
}

TRect PartAt(Integer X, Integer Y, const TRect& ASrcRect) {
    return Bounds(X, Y, ASrcRect.Width(), ASrcRect.Height());
}

// The colours of the system's 16-colour palette, 0x00RRGGBB.
constexpr std::array<TqxColor, 16> SystemPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

Integer Word16(const std::vector<Byte>& AData, size_t AOffset) {
    return Integer(AData[AOffset]) | (Integer(AData[AOffset + 1]) << 8);
}

// Runs of (byte and 63) copies after a byte of 192 or more; stops once
// ATotal bytes are there. Data that ends first is a read error.
std::vector<Byte> DecodePcxRuns(const Byte* AData, size_t ASize, size_t ATotal) {
    std::vector<Byte> out;
    out.reserve(ATotal);
    size_t at = 0;
    while (out.size() < ATotal) {
        if (at >= ASize) ReadError();
        const Byte b = AData[at++];
        if (b < 192) {
            out.push_back(b);
            continue;
        }
        if (at >= ASize) ReadError();
        out.insert(out.end(), std::min<size_t>(b & 63, ATotal - out.size()), AData[at++]);
    }
    return out;
}

}  // namespace

TqxBitmap* FindBitmapByDC(win::HDC ADC) {
    if (!ADC || !BitmapRegistry) return nullptr;
    for (TqxBitmap* bitmap : *BitmapRegistry)
        if (bitmap->DC() == ADC) return bitmap;
    return nullptr;
}

TqxBitmap::TqxBitmap() {
    win::BITMAPINFOHEADER& header = FBitmapInfo.bmiHeader;
    header.biSize = sizeof(win::BITMAPINFOHEADER);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = win::BI_RGB;
}

TqxBitmap::~TqxBitmap() {
    UnregisterBitmap(this);
    FreeImage();
}

void TqxBitmap::FreeImage() {
    if (FCanvas) FCanvas->SetHandle(nullptr);
    if (FDC) win::DeleteDC(FDC);
    if (FHandle) win::DeleteObject(FHandle);
    FDC = nullptr;
    FHandle = nullptr;
    FBits = nullptr;
    FWidth = 0;
    FHeight = 0;
}

TCanvas* TqxBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FDC);
    }
    return FCanvas.get();
}

// A failure leaves no pixels and a size of 0 x 0, so that nothing writes
// through missing memory and a retry of the same size is not skipped.
void TqxBitmap::SetSize(Integer AWidth, Integer AHeight) {
    const Int64 width = std::abs(Int64(AWidth)), height = std::abs(Int64(AHeight));
    if (width == 0 || height == 0 || (width == FWidth && height == FHeight)) return;
    FreeImage();
    if (width > std::numeric_limits<Integer>::max() || height > std::numeric_limits<Integer>::max())
        throw Exception(u"Can't allocate the DIB handle");
    FBitmapInfo.bmiHeader.biWidth = static_cast<Integer>(width);
    FBitmapInfo.bmiHeader.biHeight = -static_cast<Integer>(height);
    void* bits = nullptr;
    win::HBITMAP handle =
        win::CreateDIBSection(nullptr, &FBitmapInfo, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle || !bits) {
        if (handle) win::DeleteObject(handle);
        throw Exception(u"Can't allocate the DIB handle");
    }
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    if (!dc) {
        win::DeleteObject(handle);
        throw Exception(u"Can't create compatible DC");
    }
    if (!win::SelectObject(dc, handle)) {
        win::DeleteDC(dc);
        win::DeleteObject(handle);
        throw Exception(u"Can't qxlect an object into DC");
    }
    FHandle = handle;
    FDC = dc;
    FBits = static_cast<PqxColorArray>(bits);
    RegisterBitmap(this);
    if (FCanvas) FCanvas->SetHandle(FDC);
    FWidth = static_cast<Integer>(width);
    FHeight = static_cast<Integer>(height);
}

void TqxBitmap::Clear(TqxColor AColor) {
    if (!Empty()) BlendRoutines.FillRow(FBits, FWidth * FHeight, AColor);
}

void TqxBitmap::CopyPixels(const TqxBitmap* ASource) {
    SetSize(ASource->FWidth, ASource->FHeight);
    if (!Empty()) BlendRoutines.CopyRow(ASource->FBits, FBits, FWidth * FHeight);
}

void TqxBitmap::Assign(TPersistent* ASource) {
    if (auto* source = dynamic_cast<TqxBitmap*>(ASource)) {
        if (source->Empty())
            FreeImage();
        else
            CopyPixels(source);
        FName = source->FName;
        FTransparent = source->FTransparent;
        FAlphaBlend = source->FAlphaBlend;
        return;
    }
    // A picture's bitmap is copied through its canvas whatever its format.
    TGraphic* graphic = dynamic_cast<TGraphic*>(ASource);
    bool fromPicture = false;
    if (auto* picture = dynamic_cast<TPicture*>(ASource)) {
        graphic = picture->Graphic();
        fromPicture = true;
        if (!graphic) return FreeImage();
    }
    if (!graphic) return TPersistent::Assign(ASource);
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    const bool withAlpha =
        bitmap && !fromPicture && bitmap->PixelFormat() == pf32bit && bitmap->HandleType() == bmDIB;
    if (graphic->Empty()) {
        FreeImage();
        if (withAlpha) CheckingAlphaBlend();
        return;
    }
    SetSize(graphic->Width(), graphic->Height());
    if (withAlpha) {
        for (Integer y = 0; y < FHeight; ++y)
            BlendRoutines.CopyRow(static_cast<const TqxColor*>(bitmap->ScanLine(y)), GetScanLinePtr(y),
                                  FWidth);
        CheckingAlphaBlend();
        return;
    }
    if (bitmap)
        win::BitBlt(FDC, 0, 0, FWidth, FHeight, bitmap->Canvas()->Handle(), 0, 0, win::SRCCOPY);
    else
        DrawGraphic(graphic, Rect(0, 0, FWidth, FHeight));
    SetAlpha(255);
}

void TqxBitmap::AssignTo(TPersistent* ADest) {
    TBitmap* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (auto* picture = dynamic_cast<TPicture*>(ADest)) bitmap = picture->Bitmap();
    if (!bitmap) return TPersistent::AssignTo(ADest);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetWidth(FWidth);
    bitmap->SetHeight(FHeight);
    Draw(bitmap->Canvas(), 0, 0);
}

void TqxBitmap::CheckingAlphaBlend() {
    FAlphaBlend = false;
    for (Integer i = 0, count = FWidth * FHeight; i < count; ++i) {
        const TqxColor alpha = FBits[i] >> 24;
        if (alpha > 0 && alpha < 255) {
            FAlphaBlend = true;
            return;
        }
    }
}

void TqxBitmap::CheckingAlphaBlend(const TRect&) {
    CheckingAlphaBlend();
}

void TqxBitmap::CheckingTransparent(TqxColor AColor) {
    FTransparent = false;
    for (Integer i = 0, count = FWidth * FHeight; i < count; ++i) {
        const TqxColor p = FBits[i];
        if (std::abs(Red(p) - Red(AColor)) < 6 && std::abs(Green(p) - Green(AColor)) < 6 &&
            std::abs(Blue(p) - Blue(AColor)) < 6) {
            FBits[i] = MaskedColor;
            FTransparent = true;
        }
    }
}

void TqxBitmap::CheckingTransparent(const TRect&, TqxColor AColor) {
    CheckingTransparent(AColor);
}

void TqxBitmap::CheckRGBA() {
    for (Integer i = 0, count = FWidth * FHeight; i < count; ++i) {
        const TqxColor p = FBits[i];
        const Integer a = Integer(p >> 24);
        FBits[i] = Pack(std::min(Red(p), a), std::min(Green(p), a), std::min(Blue(p), a), p);
    }
}

// alpha x channel / 255 never falls on a half: 255 is odd.
void TqxBitmap::CheckRGBA2() {
    for (Integer i = 0, count = FWidth * FHeight; i < count; ++i) {
        const TqxColor p = FBits[i];
        const Integer a = Integer(p >> 24);
        FBits[i] = Pack((a * Red(p) + 127) / 255, (a * Green(p) + 127) / 255, (a * Blue(p) + 127) / 255, p);
    }
}

void TqxBitmap::SetAlpha(Byte AAlpha) {
    if (!Empty()) BlendRoutines.SetAlphaRow(FBits, FWidth * FHeight, AAlpha);
}

void TqxBitmap::SetAlpha(Byte AAlpha, const TRect& ARect) {
    const TRect r = Intersect(ARect, {0, 0, FWidth, FHeight});
    if (Empty() || IsEmpty(r)) return;
    BlendRoutines.SetAlphaArea(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, AAlpha);
}

void TqxBitmap::FillRect(const TRect& R, TqxColor AColor) {
    const TRect r = Intersect(R, {0, 0, FWidth, FHeight});
    if (Empty() || IsEmpty(r)) return;
    if (!FAlphaBlend) {
        BlendRoutines.FillArea(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, AColor);
        return;
    }
    const std::vector<TqxColor> row(static_cast<size_t>(r.Width()), AColor);
    for (Integer y = r.Top; y < r.Bottom; ++y)
        BlendRoutines.BlendRow(row.data(), GetPixelPtr(r.Left, y), r.Width());
    EndMMX();
}

void TqxBitmap::Draw(win::HDC ADC, Integer X, Integer Y) const {
    Draw(ADC, Bounds(X, Y, FWidth, FHeight), Rect(0, 0, FWidth, FHeight));
}

void TqxBitmap::Draw(win::HDC ADC, Integer X, Integer Y, const TRect& ASrcRect) const {
    Draw(ADC, PartAt(X, Y, ASrcRect), ASrcRect);
}

void TqxBitmap::Draw(win::HDC ADC, const TRect& ADstRect) const {
    Draw(ADC, ADstRect, Rect(0, 0, FWidth, FHeight));
}

void TqxBitmap::Draw(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const {
    if (Empty()) return;
    if (TqxBitmap* target = FindBitmapByDC(ADC)) {
        const win::POINT origin = WindowOrigin(ADC);
        Draw(target, Offset(ADstRect, -origin.x, -origin.y), ASrcRect);
        return;
    }
    DrawToDC(ADC, ADstRect, ASrcRect);
}

void TqxBitmap::DrawToDC(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const {
    const TqxToDCProc transfer = FAlphaBlend    ? BlendRoutines.AlphaToDC
                                 : FTransparent ? BlendRoutines.MaskedToDC
                                                : BlendRoutines.OpaqueToDC;
    transfer(ADC, ADstRect.Left, ADstRect.Top, ADstRect.Width(), ADstRect.Height(), this, ASrcRect.Left,
             ASrcRect.Top, ASrcRect.Width(), ASrcRect.Height());
    EndMMX();
}

void TqxBitmap::Draw(TCanvas* ACanvas, Integer X, Integer Y) const {
    if (ACanvas && !Empty()) Draw(ACanvas->Handle(), X, Y);
}

void TqxBitmap::Draw(TCanvas* ACanvas, Integer X, Integer Y, const TRect& ASrcRect) const {
    if (ACanvas && !Empty()) Draw(ACanvas->Handle(), X, Y, ASrcRect);
}

void TqxBitmap::Draw(TCanvas* ACanvas, const TRect& ADstRect) const {
    if (ACanvas && !Empty()) Draw(ACanvas->Handle(), ADstRect);
}

void TqxBitmap::Draw(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ASrcRect) const {
    if (ACanvas && !Empty()) Draw(ACanvas->Handle(), ADstRect, ASrcRect);
}

void TqxBitmap::Draw(TqxBitmap* ABitmap, Integer X, Integer Y) const {
    Draw(ABitmap, Bounds(X, Y, FWidth, FHeight), Rect(0, 0, FWidth, FHeight));
}

void TqxBitmap::Draw(TqxBitmap* ABitmap, Integer X, Integer Y, const TRect& ASrcRect) const {
    Draw(ABitmap, PartAt(X, Y, ASrcRect), ASrcRect);
}

void TqxBitmap::Draw(TqxBitmap* ABitmap, const TRect& ADstRect) const {
    Draw(ABitmap, ADstRect, Rect(0, 0, FWidth, FHeight));
}

void TqxBitmap::Draw(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ASrcRect) const {
    if (!ABitmap) return;
    const TqxBitmapRectProc transfer = FAlphaBlend    ? BlendRoutines.BlendBitmapRect
                                       : FTransparent ? BlendRoutines.CopyMaskedBitmapRect
                                                      : BlendRoutines.CopyBitmapRect;
    transfer(ABitmap, ADstRect, ADstRect, this, ASrcRect);
    EndMMX();
}

void TqxBitmap::Tile(win::HDC ADC, const TRect& ADstRect, const TRect& ASrcRect) const {
    if (Empty()) return;
    if (TqxBitmap* target = FindBitmapByDC(ADC)) {
        const win::POINT origin = WindowOrigin(ADC);
        ForEachTile(ADstRect, ASrcRect, [&](const TRect& ATile, const TRect& APart) {
            Draw(target, Offset(ATile, -origin.x, -origin.y), APart);
        });
        return;
    }
    Integer dibWidth = 0, dibHeight = 0, bitCount = 0;
    void* bits =
        DirectDIBDraw ? BlendRoutines.GetDIBSectionInfo(ADC, dibWidth, dibHeight, bitCount) : nullptr;
    if (bits && bitCount == 32 && dibHeight > 0) {
        const win::POINT origin = WindowOrigin(ADC);
        const TqxDIBRectProc transfer = FAlphaBlend    ? BlendRoutines.BlendToDIBRect
                                        : FTransparent ? BlendRoutines.CopyMaskedToDIBRect
                                                       : BlendRoutines.CopyToDIBRect;
        ForEachTile(ADstRect, ASrcRect, [&](const TRect& ATile, const TRect& APart) {
            const TRect tile = Offset(ATile, -origin.x, -origin.y);
            transfer(static_cast<PqxColorArray>(bits), tile, tile, APart, this, dibHeight, dibWidth);
        });
        EndMMX();
        return;
    }
    ForEachTile(ADstRect, ASrcRect,
                [&](const TRect& ATile, const TRect& APart) { DrawToDC(ADC, ATile, APart); });
}

void TqxBitmap::Tile(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ASrcRect) const {
    if (ACanvas && !Empty()) Tile(ACanvas->Handle(), ADstRect, ASrcRect);
}

void TqxBitmap::Tile(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ASrcRect) const {
    ForEachTile(ADstRect, ASrcRect,
                [&](const TRect& ATile, const TRect& APart) { Draw(ABitmap, ATile, APart); });
}

void TqxBitmap::TileClip(win::HDC ADC, const TRect& ADstRect, const TRect& ADstClip,
                         const TRect& ASrcRect) const {
    if (Empty()) return;
    ForEachTile(ADstRect, ASrcRect, [&](const TRect& ATile, const TRect& APart) {
        if (IsEmpty(ADstClip) || !IsEmpty(Intersect(ATile, ADstClip))) Draw(ADC, ATile, APart);
    });
}

void TqxBitmap::TileClip(TCanvas* ACanvas, const TRect& ADstRect, const TRect& ADstClip,
                         const TRect& ASrcRect) const {
    if (ACanvas && !Empty()) TileClip(ACanvas->Handle(), ADstRect, ADstClip, ASrcRect);
}

void TqxBitmap::TileClip(TqxBitmap* ABitmap, const TRect& ADstRect, const TRect& ADstClip,
                         const TRect& ASrcRect) const {
    ForEachTile(ADstRect, ASrcRect, [&](const TRect& ATile, const TRect& APart) {
        if (IsEmpty(ADstClip) || !IsEmpty(Intersect(ATile, ADstClip))) Draw(ABitmap, ATile, APart);
    });
}

void TqxBitmap::MergeDraw(const TqxBitmap* ABitmap, Integer X, Integer Y, const TRect& ASrcRect) {
    if (!ABitmap || ABitmap->Empty() || Empty()) return;
    TRect src = ASrcRect;
    if (src.Left < 0) {
        X -= src.Left;
        src.Left = 0;
    }
    if (src.Top < 0) {
        Y -= src.Top;
        src.Top = 0;
    }
    src.Right = std::min(src.Right, ABitmap->FWidth);
    src.Bottom = std::min(src.Bottom, ABitmap->FHeight);
    for (Integer sy = src.Top; sy < src.Bottom; ++sy) {
        const Integer ty = Y + sy - src.Top;
        if (ty < 0 || ty >= FHeight) continue;
        for (Integer sx = src.Left; sx < src.Right; ++sx) {
            const Integer tx = X + sx - src.Left;
            if (tx < 0 || tx >= FWidth) continue;
            TqxColor& t = *GetPixelPtr(tx, ty);
            const TqxColor s = *ABitmap->GetPixelPtr(sx, sy);
            const TqxColor alpha = t >> 24;
            if (alpha == 0)
                t = s;
            else if (alpha < 255)
                t = BlendRoutines.BlendPixel(t, s);
        }
    }
    EndMMX();
}

void TqxBitmap::DrawGraphic(TGraphic* AGraphic, const TRect& ADstRect) {
    if (!AGraphic || Empty()) return;
    constexpr TqxColor Magenta = 0xFF00FF;
    TBitmap work;
    work.SetPixelFormat(pf32bit);
    work.SetSize(FWidth, FHeight);
    TCanvas* canvas = work.Canvas();
    canvas->Brush()->SetColor(static_cast<TColor>(Magenta));
    canvas->FillRect(Rect(-1, -1, FWidth + 1, FHeight + 1));
    canvas->StretchDraw(ADstRect, AGraphic);
    for (Integer y = 0; y < FHeight; ++y) {
        const auto* row = static_cast<const TqxColor*>(work.ScanLine(y));
        TqxColor* target = GetScanLinePtr(y);
        for (Integer x = 0; x < FWidth; ++x)
            if ((row[x] & ColorBits) != Magenta) target[x] = row[x];
    }
}

void TqxBitmap::FlipVert() {
    std::vector<TqxColor> buffer(static_cast<size_t>(FWidth));
    for (Integer i = 0; i < FHeight / 2; ++i) {
        TqxColor* top = GetScanLinePtr(i);
        TqxColor* bottom = GetScanLinePtr(FHeight - 1 - i);
        std::copy_n(top, FWidth, buffer.data());
        std::copy_n(bottom, FWidth, top);
        std::copy_n(buffer.data(), FWidth, bottom);
    }
}

void TqxBitmap::Reflect(Integer ADivisor) {
    if (Empty()) return;
    FlipVert();
    const double step = 2.0 / FHeight;
    double factor = 1;
    for (Integer y = 0; y < FHeight; ++y) {
        TqxColor* row = GetScanLinePtr(y);
        for (Integer x = 0; x < FWidth; ++x) {
            const TqxColor alpha = row[x] >> 24;
            if (alpha == 0) continue;
            const Integer faded = static_cast<Integer>(std::nearbyint(factor * alpha)) / ADivisor;
            row[x] = (row[x] & ColorBits) | (TqxColor(std::max(faded, 0)) << 24);
        }
        factor -= step;
    }
}

void TqxBitmap::Reflection() {
    Reflect(3);
}

void TqxBitmap::Reflection2() {
    Reflect(4);
}

void TqxBitmap::Reflection3() {
    Reflect(2);
}

void TqxBitmap::ChangeBitmapBrightness(Integer ADeltaBrightness) {
    if (ADeltaBrightness == 0) return;
    ForEachVisiblePixel(FBits, FWidth * FHeight, [&](TqxColor p) {
        return Pack(Red(p) + ADeltaBrightness, Green(p) + ADeltaBrightness, Blue(p) + ADeltaBrightness, p);
    });
}

void TqxBitmap::SetBitmapHue(Integer AHue) {
    const float hue = float(std::clamp(AHue, 0, 255)) / 255;
    ForEachVisiblePixel(FBits, FWidth * FHeight, [&](TqxColor p) {
        THsl hsl = PixelToHsl(p);
        hsl.H = hue;
        return HslToPixel(hsl, p);
    });
}

void TqxBitmap::ChangeBitmapSat(Integer ADeltaSat) {
    if (ADeltaSat == 0) return;
    ForEachVisiblePixel(FBits, FWidth * FHeight, [&](TqxColor p) {
        THsl hsl = PixelToHsl(p);
        hsl.S = Shift(hsl.S, ADeltaSat);
        return HslToPixel(hsl, p);
    });
}

void TqxBitmap::ChangeBitmapHue(Integer ADeltaHue) {
    if (ADeltaHue == 0) return;
    ForEachVisiblePixel(FBits, FWidth * FHeight, [&](TqxColor p) {
        THsl hsl = PixelToHsl(p);
        hsl.H = Shift(hsl.H, ADeltaHue);
        return HslToPixel(hsl, p);
    });
}

void TqxBitmap::SaveToStream(TStream* AStream) const {
    WriteName(AStream, FName);
    WriteInteger(AStream, FWidth);
    WriteInteger(AStream, FHeight);
    AStream->WriteBuffer(FBits, Int64(FWidth) * FHeight * 4);
}

// Every length is checked against what the stream holds before anything is
// allocated or changed.
void TqxBitmap::LoadFromStream(TStream* AStream) {
    String name = ReadName(AStream);
    const Integer width = ReadInteger(AStream);
    const Integer storedHeight = ReadInteger(AStream);
    const Int64 height = std::abs(Int64(storedHeight));
    if (width < 0 || Int64(width) * height > Remaining(AStream) / 4) ReadError();
    FName = std::move(name);
    SetSize(width, static_cast<Integer>(std::min<Int64>(height, std::numeric_limits<Integer>::max())));
    if (width == 0 || FWidth != width || FHeight != height) return;
    AStream->ReadBuffer(FBits, Int64(FWidth) * FHeight * 4);
    if (storedHeight <= 0) FlipVert();
}

void TqxBitmap::LoadFromPcxStream(TStream* AStream) {
    constexpr size_t HeaderSize = 128, PaletteSize = 768;
    const std::vector<Byte> data = ReadToEnd(AStream);
    if (data.size() < HeaderSize) ReadError();
    if (data[0] != 10 && data[0] != 205) return;
    const Integer width = Word16(data, 8) - Word16(data, 4) + 1;
    const Integer height = Word16(data, 10) - Word16(data, 6) + 1;
    const Int64 lineBytes = Int64(data[65]) * Word16(data, 66);
    if (width <= 0 || height <= 0 || lineBytes < width) ReadError();
    CheckImageSize(width, height, "PCX");
    CheckImageSize(lineBytes, height, "PCX");
    const bool systemPalette = data[1] == 3;
    if (!systemPalette && data.size() < HeaderSize + PaletteSize) ReadError();
    const Byte* pixels = data.data() + HeaderSize;
    const size_t available = data.size() - HeaderSize;
    const size_t total = static_cast<size_t>(lineBytes * height);
    const bool runs = data[2] == 1;
    // A run byte stands for at most 63 bytes: claims beyond that are false.
    if (total > available * (runs ? 63 : 1)) ReadError();
    const std::vector<Byte> decoded =
        runs ? DecodePcxRuns(pixels, available, total) : std::vector<Byte>(pixels, pixels + total);
    std::array<TqxColor, 256> palette{};
    if (systemPalette) {
        std::copy(SystemPalette16.begin(), SystemPalette16.end(), palette.begin());
    } else {
        const Byte* rgb = data.data() + data.size() - PaletteSize;
        for (size_t i = 0; i < palette.size(); ++i)
            palette[i] = (TqxColor(rgb[3 * i]) << 16) | (TqxColor(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
    }
    SetSize(width, height);
    for (Integer y = 0; y < height; ++y) {
        const Byte* line = decoded.data() + static_cast<size_t>(y) * static_cast<size_t>(lineBytes);
        TqxColor* row = GetScanLinePtr(y);
        for (Integer x = 0; x < width; ++x)
            row[x] = palette[line[x]] | AlphaBits;
    }
}

std::unique_ptr<TqxBitmapLink> TqxBitmap::GetBitmapLink(const TRect& ARect) {
    auto link = std::make_unique<TqxBitmapLink>();
    link->SetImage(this);
    link->SetName(FName);
    link->SetRect(ARect);
    return link;
}

std::unique_ptr<TqxBitmapLink> TqxBitmap::GetBitmapLink(const String& ARect) {
    constexpr std::u16string_view Separators = u" (),:;=";
    String rest = ARect;
    std::array<Integer, 4> sides{};
    try {
        for (Integer& side : sides) {
            const size_t at = rest.find_first_of(Separators);
            const String token = rest.substr(0, at);
            rest = at == String::npos ? String() : Trim(std::u16string_view(rest).substr(at + 1));
            side = StrToInt(token);
        }
    } catch (const EConvertError&) {
        sides = {};
    }
    return GetBitmapLink(Rect(sides[0], sides[1], sides[2], sides[3]));
}

void TqxBitmapLink::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TqxBitmapLink*>(ASource);
    if (!source) return TPersistent::Assign(ASource);
    FImage = source->FImage;
    FRect = source->FRect;
    FName = source->FName;
    FMasked = source->FMasked;
    FMaskedBorder = source->FMaskedBorder;
    FMaskedAngles = source->FMaskedAngles;
}

void TqxBitmapLink::SaveToStream(TStream* AStream) const {
    WriteName(AStream, FName);
    for (Integer side : {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom})
        WriteInteger(AStream, side);
}

void TqxBitmapLink::LoadFromStream(TStream* AStream) {
    String name = ReadName(AStream);
    TRect rect;
    for (Integer* side : {&rect.Left, &rect.Top, &rect.Right, &rect.Bottom})
        *side = ReadInteger(AStream);
    FName = std::move(name);
    FRect = rect;
}

void TqxBitmapLink::Draw(TCanvas* ACanvas, Integer X, Integer Y) const {
    if (FImage && !FImage->Empty() && !IsEmpty(FRect)) FImage->Draw(ACanvas, X, Y, FRect);
}

void TqxBitmapLink::Draw(TqxBitmap* ABitmap, Integer X, Integer Y) const {
    if (FImage && !FImage->Empty() && !IsEmpty(FRect)) FImage->Draw(ABitmap, X, Y, FRect);
}

void TqxBitmapLink::CheckingMasked(const TRect& AMargin) {
    FMasked = FMaskedBorder = FMaskedAngles = false;
    const Integer w = FRect.Width(), h = FRect.Height();
    const Integer ml = AMargin.Left, mt = AMargin.Top, mr = AMargin.Right, mb = AMargin.Bottom;
    const bool noMargin = ml == 0 && mt == 0 && mr == 0 && mb == 0;
    const auto inside = [](Integer X, Integer Y, const TRect& R) {
        return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
    };
    const TRect corners[] = {{0, 0, ml, mt}, {w - mr, 0, w, mt}, {w - mr, h - mb, w, h}, {0, h - mb, ml, h}};
    const TRect edges[] = {
        {ml, 0, w - mr, mt}, {ml, h - mb, w - mr, h}, {0, mt, ml, h - mb}, {w - mr, mt, w, h - mb}};
    const TRect centre{ml, mt, w - mr, h - mb};
    for (Integer py = 0; py < h; ++py)
        for (Integer px = 0; px < w; ++px) {
            const Integer x = FRect.Left + px, y = FRect.Top + py;
            const bool outside = !FImage || x < 0 || y < 0 || x >= FImage->Width() || y >= FImage->Height();
            const TqxColor p = outside ? 0 : *FImage->GetPixelPtr(x, y);
            if (p == 0x33333333 || ((p & ColorBits) != (MaskedColor & ColorBits) && (p >> 24) == 255))
                continue;
            if (noMargin) {
                FMasked = true;
                return;
            }
            const auto meets = [&](const auto& ARects) {
                return std::any_of(std::begin(ARects), std::end(ARects),
                                   [&](const TRect& R) { return inside(px, py, R); });
            };
            if (meets(corners)) FMaskedAngles = true;
            if (meets(edges)) FMaskedBorder = true;
            if (inside(px, py, centre)) FMasked = true;
        }
}
