// Image lists: pictures of one size, each with a mask, drawn by index,
// enabled or greyed. Controls that share a list follow its changes through
// change links.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/icon.h"
#include "platform/win/commoncontrols.h"

// Drawing styles (ILD_ flags) handed to DoDraw.
inline constexpr Cardinal ILD_NORMAL = 0x0000;
inline constexpr Cardinal ILD_TRANSPARENT = 0x0001;
inline constexpr Cardinal ILD_FOCUS = 0x0002;
inline constexpr Cardinal ILD_SELECTED = 0x0004;
inline constexpr Cardinal ILD_MASK = 0x0010;
inline constexpr Cardinal ILD_IMAGE = 0x0020;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
// cd32Bit keeps the alpha of 32-bit pictures; the other depths keep colours only.
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
enum TImageType { itImage, itMask };

class TCustomImageList;

namespace win {

// The image list a handle stands for; nil for a stale or foreign handle.
TCustomImageList* FindImageList(HIMAGELIST AList);

// Image lists by handle; a stale handle makes the call fail. DrawEx draws the
// whole image at X, Y (ADX, ADY are not used): ABack CLR_NONE draws it
// transparent, CLR_DEFAULT on the list's background colour, any other
// colour on that colour; AStyle takes ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK.
BOOL ImageList_DrawEx(HIMAGELIST AList, int AIndex, HDC ADC, int X, int Y, int ADX, int ADY, COLORREF ABack,
                      COLORREF AFore, UINT AStyle);
BOOL ImageList_GetIconSize(HIMAGELIST AList, int* ACX, int* ACY);
int ImageList_GetImageCount(HIMAGELIST AList);
// Returns the previous colour; CLR_NONE is no background.
COLORREF ImageList_SetBkColor(HIMAGELIST AList, COLORREF AColor);

inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;

}  // namespace win

// A listener of one image list; the list calls Change on every change.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;

    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* AValue) { FSender = AValue; }
    virtual void Change();

    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
public:
    // 16 x 16 pixels.
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(Integer AWidth, Integer AHeight, TComponent* AOwner = nullptr);
    ~TCustomImageList() override;

    Integer Width() const { return FWidth; }
    // A new size empties the list.
    void SetWidth(Integer AValue);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer AValue);
    Integer Count() const { return static_cast<Integer>(FImages.size()); }
    // Fills the transparent parts when drawn; clNone leaves them alone.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor AValue);
    // A new depth empties the list.
    TColorDepth ColorDepth() const { return FColorDepth; }
    void SetColorDepth(TColorDepth AValue);

    // A picture wider than the list gives one image per Width columns from
    // its left; AMask (may be nullptr: opaque) is white where the picture is
    // transparent. In a cd32Bit list a pf32bit picture without a mask keeps
    // its alpha (straight, not premultiplied) and is drawn blended, its mask
    // transparent where the alpha is 0; a picture whose alpha is 0
    // everywhere was drawn without alpha and counts as opaque. Returns the
    // index of the first image added.
    Integer Add(TBitmap* AImage, TBitmap* AMask);
    // Pixels of AMaskColour are transparent (clDefault: the bottom-left pixel's colour).
    Integer AddMasked(TBitmap* AImage, TColor AMaskColor);
    // AIndex from 0 to Count; EInvalidOperation "Invalid ImageList Index" otherwise.
    void Insert(Integer AIndex, TBitmap* AImage, TBitmap* AMask);
    void InsertMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor);
    void Replace(Integer AIndex, TBitmap* AImage, TBitmap* AMask);
    void ReplaceMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor);
    void Delete(Integer AIndex);
    void Clear();

    // Nothing for an index outside the list.
    void Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer AIndex, bool AEnabled = true);
    void Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer AIndex, TDrawingStyle ADrawingStyle,
              TImageType AImageType, bool AEnabled = true);
    // The image with its mask as an icon of the list's size.
    void GetIcon(Integer AIndex, TIcon* AIcon);

    // The list by handle, for the calls below and the controls that take
    // lists by message; each list has its own, never given to another.
    win::HIMAGELIST Handle() const { return FHandle; }

    TNotifyEvent OnChange;
    // A link registered with another list leaves that one.
    void RegisterChanges(TChangeLink* AValue);
    void UnRegisterChanges(TChangeLink* AValue);

protected:
    // Draws image AIndex (inside the list) at X, Y. Enabled: the picture
    // blended by its alpha, or through its mask; disabled: its shape
    // embossed in the button highlight and shadow colours. AStyle holds
    // ILD_ flags.
    virtual void DoDraw(Integer AIndex, TCanvas* ACanvas, Integer X, Integer Y, Cardinal AStyle,
                        bool AEnabled = true);
    // Tells OnChange and every change link.
    virtual void Change();

private:
    struct TImage {
        std::unique_ptr<TBitmap> Picture;  // black where transparent
        std::unique_ptr<TBitmap> Mask;     // pf1bit, white where transparent
        // Pictures with alpha: pf32bit, straight for icons and
        // premultiplied for drawing; nil otherwise.
        std::unique_ptr<TBitmap> Straight;
        std::unique_ptr<TBitmap> Premultiplied;
    };

    std::vector<TImage> Slice(TBitmap* AImage, TBitmap* AMask);
    // Gives AImage the alpha of APart of ASource when it has any.
    void TakeAlpha(TImage& AImage, TBitmap* ASource, const TRect& APart);
    std::vector<TImage> SliceMasked(TBitmap* AImage, TColor AMaskColor);
    void InsertImages(Integer AIndex, std::vector<TImage> AImages);
    void CheckIndex(Integer AIndex, Integer ALast) const;

    Integer FWidth = 16;
    Integer FHeight = 16;
    TColor FBkColor = clNone;
    TColorDepth FColorDepth = cdDeviceDependent;
    std::vector<TImage> FImages;
    std::vector<TChangeLink*> FClients;
    win::HIMAGELIST FHandle;

    friend win::BOOL win::ImageList_DrawEx(win::HIMAGELIST, int, win::HDC, int, int, int, int, win::COLORREF,
                                           win::COLORREF, win::UINT);
};
