// The device context object: its state, the states SaveDC keeps, and where
// it draws. Shared by the modules of this folder that draw.
#pragma once

#include <optional>
#include <type_traits>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"

namespace gdi {

// A state's hold on a selected object: while any state holds an object, the
// object cannot be deleted.
template <typename T>
class Held {
  public:
    Held() = default;
    explicit Held(T* AObject) : FObject(AObject) { Acquire(); }
    Held(const Held& AOther) : FObject(AOther.FObject) { Acquire(); }
    Held& operator=(const Held& AOther) {
        if (FObject != AOther.FObject) {
            Release();
            FObject = AOther.FObject;
            Acquire();
        }
        return *this;
    }
    ~Held() { Release(); }

    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }
    void* Handle() const { return FObject ? FObject->Handle : nullptr; }

  private:
    void Acquire() {
        if (FObject) ++FObject->SelectCount;
    }
    void Release() {
        if (!FObject) return;
        if (--FObject->SelectCount == 0) {
            if constexpr (std::is_same_v<T, BitmapObject>) FObject->SelectedInto = nullptr;
        }
    }

    T* FObject = nullptr;
};

struct DcState {
    win::POINT WindowOrg{};
    win::POINT ViewportOrg{};
    // Device coordinates; none means the whole device.
    std::optional<PixRegion> Clip;
    Held<BitmapObject> Bitmap;
    Held<PenObject> Pen;
    Held<BrushObject> Brush;
    Held<FontObject> Font;
    win::COLORREF TextColor = 0;
    win::COLORREF BkColor = win::RGB(255, 255, 255);
    int BkMode = win::OPAQUE;
    int Rop2 = win::R2_COPYPEN;
    int StretchMode = win::BLACKONWHITE;
    int PolyFillMode = win::ALTERNATE;
    win::UINT TextAlign = 0;
    // Logical coordinates.
    win::POINT CurrentPos{};
};

class DeviceContext : public GdiObject {
  public:
    static constexpr ObjectKind ClassKind = ObjectKind::DC;

    // A memory DC draws on its selected bitmap; any other on an outside
    // surface (a window's backing surface) that its owner keeps current.
    explicit DeviceContext(bool AMemory);

    bool IsMemory() const { return FMemory; }
    const Surface& Target() const;
    void SetExternal(const Surface& ASurface) { FExternal = ASurface; }

    // Where device (0, 0) lies on the surface, and which surface pixels the
    // owner lets the DC touch (none: all).
    win::POINT Origin{};
    std::optional<PixRegion> SystemClip;

    DcState State;
    std::vector<DcState> Saved;

    // Surface position = logical position + Offset().
    win::POINT Offset() const;
    win::POINT ToSurface(win::POINT ALogical) const;
    // Normalised: left <= right, top <= bottom.
    win::RECT ToSurface(const win::RECT& ALogical) const;
    win::POINT ToDevice(win::POINT ALogical) const;
    // The surface pixels drawing may touch: the clip, the system clip and
    // the surface itself.
    PixRegion Visible() const;
    // The whole drawing area in device coordinates.
    win::RECT DeviceArea() const;

  private:
    bool FMemory;
    Surface FExternal;
};

// nullptr for anything but a live device context.
DeviceContext* LookupDC(win::HDC ADC);

}  // namespace gdi
