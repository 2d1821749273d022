#include "media/previewer.h"

#include <mutex>

#include "media/ffutils.h"
#include "media/myutils.h"

namespace {

struct TFactorySlot {
    std::mutex Lock;
    TPreviewWindowFactory Factory;
};

TFactorySlot& FactorySlot() {
    static TFactorySlot slot;
    return slot;
}

std::unique_ptr<TPreviewWindow> MakePreviewWindow(TBitmap* AFirstFrame) {
    TPreviewWindowFactory factory;
    {
        std::lock_guard guard(FactorySlot().Lock);
        factory = FactorySlot().Factory;
    }
    return factory ? factory(AFirstFrame) : nullptr;
}

}  // namespace

void SetPreviewWindowFactory(TPreviewWindowFactory AFactory) {
    std::lock_guard guard(FactorySlot().Lock);
    FactorySlot().Factory = std::move(AFactory);
}

TPreviewer::~TPreviewer() {
    CallInMainThread([this] { FreePreviewForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
    if (FClosed) return false;
    FBitmap = ABitmap;
    FFrameNumber = AFrameNumber;
    FPTS = APTS;
    CallInMainThread([this] { ShowFrame(); });
    return !FClosed;
}

void TPreviewer::ShowFrame() {
    if (FClosed) return;
    if (!FForm) FForm = MakePreviewWindow(FBitmap);
    if (!FForm || FForm->Closed()) {
        FClosed = true;
        return;
    }
    FForm->ShowFrame(FBitmap, PTSToTimeText(FPTS));
}

void TPreviewer::FreePreviewForm() {
    FForm.reset();
}
