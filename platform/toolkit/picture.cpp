#include "platform/toolkit/picture.h"

#include <mutex>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/toolkit/gifimage.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/jpegimage.h"
#include "platform/toolkit/metafile.h"
#include "platform/toolkit/pngimage.h"

namespace {

struct TFileFormat {
    String Extension;  // lower case, no dot
    String Description;
    TGraphicClass Class;
};

struct TFileFormats {
    std::mutex Lock;
    std::vector<TFileFormat> List;
};

TFileFormats& FileFormats() {
    static TFileFormats formats{{},
                                {{u"bmp", u"Bitmaps", GraphicClassOf<TBitmap>()},
                                 {u"jpg", u"JPEG Image File", GraphicClassOf<TJPEGImage>()},
                                 {u"jpeg", u"JPEG Image File", GraphicClassOf<TJPEGImage>()},
                                 {u"gif", u"GIF Image", GraphicClassOf<TGIFImage>()},
                                 {u"png", u"Portable Network Graphics", GraphicClassOf<TPngImage>()},
                                 {u"ico", u"Icons", GraphicClassOf<TIcon>()},
                                 {u"emf", u"Enhanced Metafiles", GraphicClassOf<TMetafile>()},
                                 {u"wmf", u"Metafiles", GraphicClassOf<TMetafile>()}}};
    return formats;
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const String& AExtension, const String& ADescription,
                                  TGraphicClass AClass) {
    TFileFormats& formats = FileFormats();
    std::lock_guard lock(formats.Lock);
    formats.List.insert(formats.List.begin(), {LowerCase(AExtension), ADescription, AClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass) {
    TFileFormats& formats = FileFormats();
    std::lock_guard lock(formats.Lock);
    std::erase_if(formats.List, [&](const TFileFormat& AFormat) { return AFormat.Class == AClass; });
}

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> AGraphic) {
    FGraphic = std::move(AGraphic);
    if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* AValue) {
    if (!AValue) return Adopt(nullptr);
    std::unique_ptr<TGraphic> copy = AValue->NewEmpty();
    copy->Assign(AValue);
    Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const String& AFileName) {
    String extension = ExtractFileExt(AFileName);
    if (!extension.empty()) extension.erase(0, 1);
    TGraphicClass found;
    {
        TFileFormats& formats = FileFormats();
        std::lock_guard lock(formats.Lock);
        for (const TFileFormat& format : formats.List)
            if (format.Extension == LowerCase(extension)) {
                found = format.Class;
                break;
            }
    }
    if (!found.Create) throw EInvalidGraphic(u"Unknown picture file extension (.%s)", {extension});
    std::unique_ptr<TGraphic> graphic = found.Create();
    graphic->LoadFromFile(AFileName);
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& AFileName) {
    if (FGraphic) FGraphic->SaveToFile(AFileName);
}

void TPicture::Assign(TPersistent* ASource) {
    if (!ASource) return SetGraphic(nullptr);
    if (auto* picture = dynamic_cast<TPicture*>(ASource)) return SetGraphic(picture->Graphic());
    if (auto* graphic = dynamic_cast<TGraphic*>(ASource)) return SetGraphic(graphic);
    TPersistent::Assign(ASource);
}

void TPicture::AssignTo(TPersistent* ADest) {
    if (auto* graphic = dynamic_cast<TGraphic*>(ADest)) return graphic->Assign(FGraphic.get());
    TPersistent::AssignTo(ADest);
}
