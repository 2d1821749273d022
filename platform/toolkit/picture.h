// A holder of any picture, and the registry that picks a picture class by
// file extension.
#pragma once

#include <memory>
#include <typeinfo>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/graphic.h"

// The stand-in for a class reference: the class and how to make one.
struct TGraphicClass {
    const std::type_info* Type = nullptr;
    std::unique_ptr<TGraphic> (*Create)() = nullptr;
    friend bool operator==(const TGraphicClass& A, const TGraphicClass& B) {
        return A.Type && B.Type && *A.Type == *B.Type;
    }
};

template <typename T>
TGraphicClass GraphicClassOf() {
    return {&typeid(T), []() -> std::unique_ptr<TGraphic> { return std::make_unique<T>(); }};
}

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;

    // nullptr while there is no picture.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // Holds a copy of AValue (nullptr: nothing).
    void SetGraphic(TGraphic* AValue);
    // The picture as a bitmap: an empty TBitmap replaces a picture of another class.
    TBitmap* Bitmap();
    Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
    Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The class comes from the extension (case ignored); EInvalidGraphic
    // "Unknown picture file extension (.%s)". On any failure the picture
    // held before stays.
    void LoadFromFile(const String& AFileName);
    // In the held picture's own format, whatever the extension.
    void SaveToFile(const String& AFileName);

    // From a TPicture or a TGraphic (copied), or nullptr.
    void Assign(TPersistent* ASource) override;

    TNotifyEvent OnChange;

    // AExtension without its dot; a later registration of an extension wins.
    // BMP, JPG and JPEG, GIF, PNG, ICO, EMF and WMF are registered from the start.
    static void RegisterFileFormat(const String& AExtension, const String& ADescription,
                                   TGraphicClass AClass);
    static void UnregisterGraphicClass(TGraphicClass AClass);

protected:
    // Into a TGraphic: it takes a copy of the held picture.
    void AssignTo(TPersistent* ADest) override;

private:
    void Adopt(std::unique_ptr<TGraphic> AGraphic);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};
