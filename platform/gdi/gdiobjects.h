// The objects behind the drawing handles and the table that checks handles.
// Every public drawing call holds GdiMutex(); the objects are only touched
// under it.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gdilock.h"
#include "platform/gdi/gditypes.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"

namespace gdi {

// The numbers GetObjectType reports; icons are not drawing objects there.
enum class ObjectKind : uint8_t { Pen = 1, Brush = 2, DC = 3, Font = 6, Bitmap = 7, Region = 8, Icon = 100 };

class GdiObject {
  public:
    explicit GdiObject(ObjectKind AKind) : Kind(AKind) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject() = default;

    const ObjectKind Kind;
    void* Handle = nullptr;
    // Stock objects are shared and never deleted.
    bool Stock = false;
    // Device context states (current and saved) that hold the object; a held
    // object cannot be deleted.
    int SelectCount = 0;
};

class PenObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Pen;
    explicit PenObject(const win::LOGPEN& APen) : GdiObject(ClassKind), Pen(APen) {}
    bool Draws() const { return Pen.lopnStyle != win::PS_NULL; }
    win::LOGPEN Pen;
};

class BrushObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Brush;
    explicit BrushObject(const win::LOGBRUSH& ABrush) : GdiObject(ClassKind), Brush(ABrush) {}
    bool Paints() const { return Brush.lbStyle != win::BS_NULL; }
    win::LOGBRUSH Brush;
};

class FontObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Font;
    explicit FontObject(const win::LOGFONTW& AFont) : GdiObject(ClassKind), Font(AFont) {}
    win::LOGFONTW Font{};
};

class RegionObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Region;
    explicit RegionObject(PixRegion ARegion) : GdiObject(ClassKind), Region(std::move(ARegion)) {}
    PixRegion Region;
};

class DeviceContext;

// A device bitmap or a DIB section; either way the pixels live here.
class BitmapObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Bitmap;

    // Zeroed pixel memory; nullptr when the size is beyond what can be held.
    static std::unique_ptr<BitmapObject> Create(int AWidth, int AHeight, int ABitsPerPixel, bool ATopDown);
    ~BitmapObject() override;

    const Surface& Pixels() const { return FSurface; }
    int Width() const { return FSurface.Width; }
    int Height() const { return FSurface.Height; }
    int BitsPerPixel() const { return FSurface.BitsPerPixel; }

    // Makes this a DIB section: alpha counts in 32-bit pixels and the header
    // (with its height sign) is what GetObject reports.
    void MakeDibSection(const win::BITMAPINFOHEADER& AHeader, std::vector<win::RGBQUAD> APalette);
    // Makes this a monochrome device bitmap (black 0, white 1).
    void MakeMonochrome();
    bool IsDibSection() const { return FIsDib; }
    const win::BITMAPINFOHEADER& DibHeader() const { return FHeader; }
    const std::vector<win::RGBQUAD>& ColorTable() const { return FPalette; }

    // The device context it is selected into, while SelectCount > 0.
    DeviceContext* SelectedInto = nullptr;

  private:
    BitmapObject() : GdiObject(ClassKind) {}

    Surface FSurface;
    bool FIsDib = false;
    win::BITMAPINFOHEADER FHeader{};
    std::vector<win::RGBQUAD> FPalette;
};

// An icon owns private copies of its bitmaps.
class IconObject : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::Icon;
    IconObject() : GdiObject(ClassKind) {}
    bool IsIcon = true;
    win::DWORD HotspotX = 0;
    win::DWORD HotspotY = 0;
    // Without a colour bitmap the mask is twice as high: AND rows above XOR rows.
    std::unique_ptr<BitmapObject> Mask;
    std::unique_ptr<BitmapObject> Color;
};

// Puts the object into the table and returns its new handle, or nullptr when
// the table is full.
void* RegisterObject(std::unique_ptr<GdiObject> AObject);
// nullptr for a stale, foreign or null handle.
GdiObject* LookupObject(const void* AHandle);
// Takes the object out of the table; its handle is stale from now on.
std::unique_ptr<GdiObject> UnregisterObject(const void* AHandle);

template <typename T>
T* Lookup(const void* AHandle) {
    GdiObject* object = LookupObject(AHandle);
    return object && object->Kind == T::ClassKind ? static_cast<T*>(object) : nullptr;
}

// Registers a new object and returns its handle in the caller's handle type.
template <typename THandle, typename T>
THandle Register(std::unique_ptr<T> AObject) {
    return static_cast<THandle>(RegisterObject(std::move(AObject)));
}

// The stock objects a fresh device context selects.
BitmapObject* StockBitmap();
PenObject* StockPen(int AIndex);
BrushObject* StockBrush(int AIndex);
FontObject* StockFont(int AIndex);

}  // namespace gdi
