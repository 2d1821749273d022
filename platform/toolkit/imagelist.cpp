#include "platform/toolkit/imagelist.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/blit.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/picture.h"
#include "platform/toolkit/published.h"

namespace {

bool MaskBit(TBitmap* AMask, Integer X, Integer Y) {
    return (static_cast<const Byte*>(AMask->ScanLine(Y))[X / 8] >> (7 - X % 8)) & 1;
}

void SetMaskBit(TBitmap* AMask, Integer X, Integer Y) {
    static_cast<Byte*>(AMask->ScanLine(Y))[X / 8] |= static_cast<Byte>(0x80 >> (X % 8));
}

uint32_t RGBAt(TBitmap* APicture, Integer X, Integer Y) {
    const Byte* p = static_cast<const Byte*>(APicture->ScanLine(Y)) + 3 * X;
    return p[0] << 16 | p[1] << 8 | p[2];
}

// The picture's shape in one colour, black elsewhere, to OR in through the mask.
std::unique_ptr<TBitmap> Tinted(TBitmap* AMask, TColor AColor) {
    auto tint = std::make_unique<TBitmap>();
    tint->SetPixelFormat(pf24bit);
    tint->SetSize(AMask->Width(), AMask->Height());
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(AColor));
    for (Integer y = 0; y < tint->Height(); ++y) {
        auto* row = static_cast<Byte*>(tint->ScanLine(y));
        for (Integer x = 0; x < tint->Width(); ++x) {
            if (MaskBit(AMask, x, y)) continue;
            row[3 * x] = static_cast<Byte>(c >> 16);
            row[3 * x + 1] = static_cast<Byte>(c >> 8);
            row[3 * x + 2] = static_cast<Byte>(c);
        }
    }
    return tint;
}

// Through the mask: the target stays where it is white, the picture is ORed in.
void DrawMasked(win::HDC ATarget, Integer X, Integer Y, TBitmap* APicture, TBitmap* AMask) {
    const Integer w = APicture->Width(), h = APicture->Height();
    win::BitBlt(ATarget, X, Y, w, h, AMask->Canvas()->Handle(), 0, 0, win::SRCAND);
    win::BitBlt(ATarget, X, Y, w, h, APicture->Canvas()->Handle(), 0, 0, win::SRCPAINT);
}

// Handles of the living lists; numbers are never given out twice.
struct HandleTable {
    std::unordered_map<win::HIMAGELIST, TCustomImageList*> Lists;
    uintptr_t Last = 0;
};

HandleTable& Handles() {
    static auto* table = new HandleTable;
    return *table;
}

win::HIMAGELIST NewHandle(TCustomImageList* AList) {
    HandleTable& table = Handles();
    const auto handle = reinterpret_cast<win::HIMAGELIST>(++table.Last);
    table.Lists[handle] = AList;
    return handle;
}

}  // namespace

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange) OnChange(FSender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner), FHandle(NewHandle(this)) {}

TCustomImageList::TCustomImageList(Integer AWidth, Integer AHeight, TComponent* AOwner)
    : TComponent(AOwner),
      FWidth(std::max(AWidth, 1)),
      FHeight(std::max(AHeight, 1)),
      FHandle(NewHandle(this)) {}

TCustomImageList::~TCustomImageList() {
    Handles().Lists.erase(FHandle);
    for (TChangeLink* link : FClients)
        link->SetSender(nullptr);
}

void TCustomImageList::SetWidth(Integer AValue) {
    AValue = std::max(AValue, 1);
    if (AValue == FWidth) return;
    FWidth = AValue;
    Clear();
}

void TCustomImageList::SetHeight(Integer AValue) {
    AValue = std::max(AValue, 1);
    if (AValue == FHeight) return;
    FHeight = AValue;
    Clear();
}

void TCustomImageList::SetBkColor(TColor AValue) {
    if (AValue == FBkColor) return;
    FBkColor = AValue;
    Change();
}

void TCustomImageList::SetColorDepth(TColorDepth AValue) {
    if (AValue == FColorDepth) return;
    FColorDepth = AValue;
    Clear();
}

void TCustomImageList::TakeAlpha(TImage& AImage, TBitmap* ASource, const TRect& APart) {
    TImageData part(FWidth, FHeight);
    bool any = false;
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* out = part.ScanLine(y);
        const bool inside = APart.Top + y < ASource->Height();
        const auto* in = inside ? static_cast<const Byte*>(ASource->ScanLine(APart.Top + y)) : nullptr;
        for (Integer x = 0; x < FWidth; ++x, out += 4) {
            if (!in || APart.Left + x >= ASource->Width()) continue;
            std::copy_n(in + 4 * (APart.Left + x), 4, out);
            any = any || out[3] != 0;
        }
    }
    if (!any) return;
    part.HasAlpha = true;
    AImage.Straight = std::make_unique<TBitmap>();
    AImage.Straight->LoadFromImageData(part, pf32bit);
    AImage.Premultiplied = std::make_unique<TBitmap>();
    LoadPremultiplied(AImage.Premultiplied.get(), part);
    for (Integer y = 0; y < FHeight; ++y) {
        auto* row = static_cast<Byte*>(AImage.Picture->ScanLine(y));
        const Byte* alpha = part.ScanLine(y);
        for (Integer x = 0; x < FWidth; ++x) {
            if (alpha[4 * x + 3] != 0) continue;
            SetMaskBit(AImage.Mask.get(), x, y);
            std::fill_n(row + 3 * x, 3, 0);
        }
    }
}

void TCustomImageList::CheckIndex(Integer AIndex, Integer ALast) const {
    if (AIndex < 0 || AIndex > ALast) throw EInvalidOperation(u"Invalid ImageList Index");
}

std::vector<TCustomImageList::TImage> TCustomImageList::Slice(TBitmap* AImage, TBitmap* AMask) {
    std::vector<TImage> images;
    if (!AImage || AImage->Empty()) return images;
    const Integer count = std::max(AImage->Width() / FWidth, 1);
    for (Integer i = 0; i < count; ++i) {
        const TRect part = Bounds(i * FWidth, 0, FWidth, FHeight);
        TImage image{std::make_unique<TBitmap>(), std::make_unique<TBitmap>(), nullptr, nullptr};
        image.Picture->SetPixelFormat(pf24bit);
        image.Picture->SetSize(FWidth, FHeight);
        image.Picture->Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), AImage->Canvas(), part);
        image.Mask->SetPixelFormat(pf1bit);
        image.Mask->SetSize(FWidth, FHeight);
        if (!AMask && FColorDepth == cd32Bit && AImage->PixelFormat() == pf32bit)
            TakeAlpha(image, AImage, part);
        if (AMask && !AMask->Empty()) {
            image.Mask->Canvas()->CopyRect(Rect(0, 0, FWidth, FHeight), AMask->Canvas(), part);
            for (Integer y = 0; y < FHeight; ++y) {
                auto* row = static_cast<Byte*>(image.Picture->ScanLine(y));
                for (Integer x = 0; x < FWidth; ++x)
                    if (MaskBit(image.Mask.get(), x, y)) std::fill_n(row + 3 * x, 3, 0);
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

std::vector<TCustomImageList::TImage> TCustomImageList::SliceMasked(TBitmap* AImage, TColor AMaskColor) {
    if (AImage && AMaskColor == clDefault && !AImage->Empty())
        AMaskColor = static_cast<TColor>(AImage->Canvas()->Pixels(0, AImage->Height() - 1));
    const uint32_t key = static_cast<uint32_t>(ColorToRGB(AMaskColor)) & 0xFFFFFF;
    std::vector<TImage> images = Slice(AImage, nullptr);
    for (TImage& image : images) {
        for (Integer y = 0; y < FHeight; ++y) {
            auto* row = static_cast<Byte*>(image.Picture->ScanLine(y));
            for (Integer x = 0; x < FWidth; ++x) {
                if (RGBAt(image.Picture.get(), x, y) != key) continue;
                SetMaskBit(image.Mask.get(), x, y);
                std::fill_n(row + 3 * x, 3, 0);
            }
        }
    }
    return images;
}

void TCustomImageList::InsertImages(Integer AIndex, std::vector<TImage> AImages) {
    if (AImages.empty()) return;
    FImages.insert(FImages.begin() + AIndex, std::make_move_iterator(AImages.begin()),
                   std::make_move_iterator(AImages.end()));
    Change();
}

Integer TCustomImageList::Add(TBitmap* AImage, TBitmap* AMask) {
    const Integer index = Count();
    InsertImages(index, Slice(AImage, AMask));
    return index;
}

Integer TCustomImageList::AddMasked(TBitmap* AImage, TColor AMaskColor) {
    const Integer index = Count();
    InsertImages(index, SliceMasked(AImage, AMaskColor));
    return index;
}

void TCustomImageList::Insert(Integer AIndex, TBitmap* AImage, TBitmap* AMask) {
    CheckIndex(AIndex, Count());
    InsertImages(AIndex, Slice(AImage, AMask));
}

void TCustomImageList::InsertMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor) {
    CheckIndex(AIndex, Count());
    InsertImages(AIndex, SliceMasked(AImage, AMaskColor));
}

void TCustomImageList::Replace(Integer AIndex, TBitmap* AImage, TBitmap* AMask) {
    CheckIndex(AIndex, Count() - 1);
    std::vector<TImage> images = Slice(AImage, AMask);
    if (images.empty()) return;
    FImages[AIndex] = std::move(images.front());
    Change();
}

void TCustomImageList::ReplaceMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor) {
    CheckIndex(AIndex, Count() - 1);
    std::vector<TImage> images = SliceMasked(AImage, AMaskColor);
    if (images.empty()) return;
    FImages[AIndex] = std::move(images.front());
    Change();
}

void TCustomImageList::Delete(Integer AIndex) {
    CheckIndex(AIndex, Count() - 1);
    FImages.erase(FImages.begin() + AIndex);
    Change();
}

void TCustomImageList::Clear() {
    FImages.clear();
    Change();
}

void TCustomImageList::Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer AIndex, bool AEnabled) {
    Draw(ACanvas, X, Y, AIndex, dsNormal, itImage, AEnabled);
}

void TCustomImageList::Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer AIndex,
                            TDrawingStyle ADrawingStyle, TImageType AImageType, bool AEnabled) {
    if (AIndex < 0 || AIndex >= Count()) return;
    static constexpr Cardinal styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    DoDraw(AIndex, ACanvas, X, Y, styles[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : ILD_NORMAL),
           AEnabled);
}

void TCustomImageList::DoDraw(Integer AIndex, TCanvas* ACanvas, Integer X, Integer Y, Cardinal AStyle,
                              bool AEnabled) {
    TImage& image = FImages[AIndex];
    ACanvas->Changing();
    win::HDC target = ACanvas->Handle();
    if (AStyle & ILD_MASK) {
        win::BitBlt(target, X, Y, FWidth, FHeight, image.Mask->Canvas()->Handle(), 0, 0, win::SRCCOPY);
        return ACanvas->Changed();
    }
    if (FBkColor != clNone) {
        win::RECT area{X, Y, X + FWidth, Y + FHeight};
        win::HBRUSH brush = win::CreateSolidBrush(static_cast<win::COLORREF>(ColorToRGB(FBkColor)));
        win::FillRect(target, &area, brush);
        win::DeleteObject(brush);
    }
    if (AEnabled && image.Premultiplied) {
        DrawPremultiplied(ACanvas, Bounds(X, Y, FWidth, FHeight), image.Premultiplied.get());
    } else if (AEnabled) {
        DrawMasked(target, X, Y, image.Picture.get(), image.Mask.get());
    } else {
        DrawMasked(target, X + 1, Y + 1, Tinted(image.Mask.get(), clBtnHighlight).get(), image.Mask.get());
        DrawMasked(target, X, Y, Tinted(image.Mask.get(), clBtnShadow).get(), image.Mask.get());
    }
    ACanvas->Changed();
}

void TCustomImageList::GetIcon(Integer AIndex, TIcon* AIcon) {
    CheckIndex(AIndex, Count() - 1);
    const TImage& image = FImages[AIndex];
    TBitmap* colour = image.Straight ? image.Straight.get() : image.Picture.get();
    win::ICONINFO info{TRUE, 0, 0, image.Mask->Handle(), colour->Handle()};
    AIcon->SetHandle(win::CreateIconIndirect(&info));
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
    for (TChangeLink* link : FClients)
        link->Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* AValue) {
    // A link follows one list: moving it must not leave it behind in the old one.
    if (AValue->Sender() == this) return;
    if (AValue->Sender()) AValue->Sender()->UnRegisterChanges(AValue);
    AValue->SetSender(this);
    FClients.push_back(AValue);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* AValue) {
    std::erase(FClients, AValue);
    AValue->SetSender(nullptr);
}

namespace win {

TCustomImageList* FindImageList(HIMAGELIST AList) {
    const auto it = Handles().Lists.find(AList);
    return it == Handles().Lists.end() ? nullptr : it->second;
}

BOOL ImageList_DrawEx(HIMAGELIST AList, int AIndex, HDC ADC, int X, int Y, int, int, COLORREF ABack, COLORREF,
                      UINT AStyle) {
    TCustomImageList* list = FindImageList(AList);
    if (!list || !ADC || AIndex < 0 || AIndex >= list->Count()) return FALSE;
    const TColor saved = list->FBkColor;
    if (ABack != CLR_DEFAULT) list->FBkColor = ABack == CLR_NONE ? clNone : TColor(ABack & 0xFFFFFF);
    // The caller's DC keeps what it had selected: a canvas on it may rely on that.
    const int state = SaveDC(ADC);
    const auto restore = [&] {
        RestoreDC(ADC, state);
        list->FBkColor = saved;
    };
    TCanvas canvas;
    canvas.SetHandle(ADC);
    try {
        list->DoDraw(AIndex, &canvas, X, Y, AStyle);
    } catch (...) {
        canvas.SetHandle(nullptr);
        restore();
        throw;
    }
    canvas.SetHandle(nullptr);
    restore();
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST AList, int* ACX, int* ACY) {
    TCustomImageList* list = FindImageList(AList);
    if (!list || !ACX || !ACY) return FALSE;
    *ACX = list->Width();
    *ACY = list->Height();
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST AList) {
    TCustomImageList* list = FindImageList(AList);
    return list ? list->Count() : 0;
}

COLORREF ImageList_SetBkColor(HIMAGELIST AList, COLORREF AColor) {
    TCustomImageList* list = FindImageList(AList);
    if (!list) return CLR_NONE;
    const TColor old = list->BkColor();
    list->SetBkColor(AColor == CLR_NONE ? clNone : TColor(AColor & 0xFFFFFF));
    return old == clNone ? CLR_NONE : COLORREF(ColorToRGB(old));
}

}  // namespace win

namespace {

// A description's image list: its size, then a picture cut into images of
// that size from the left (a 32-bit picture keeps its alpha).
const auto Registered =
    RegisterClass<TCustomImageList, TComponent>(u"TImageList")
        .Property(u"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
        .Property(u"Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
        .Custom(u"Bitmap", [](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            auto* list = dynamic_cast<TCustomImageList*>(AObject);
            if (!list || AValue.Kind != TLoadValue::lvString) AContext.Error(u"Bitmap takes a picture's path");
            TPicture picture;
            picture.LoadFromFile(AContext.ResourcePath(AValue.Text));
            TBitmap strip;
            strip.Assign(picture.Graphic());
            if (strip.PixelFormat() == pf32bit) list->SetColorDepth(cd32Bit);
            list->Add(&strip, nullptr);
        });

}  // namespace
