// The preview window of a converting task, made by the window layer for the
// engine's previewer: a stay-on-top tool window in the centre of the screen,
// sized by the first frame and dragged by its client area. Closing it hides
// it for good. GUI thread only.
#pragma once

#include <memory>

#include "media/previewer.h"
#include "platform/toolkit/bitmap.h"
#include "platform/win/wintypes.h"

class TPreviewForm : public TPreviewWindow {
public:
    // Nil from Create when the window cannot be made.
    static std::unique_ptr<TPreviewForm> Create(TBitmap* AFirstFrame);
    ~TPreviewForm() override;

    void ShowFrame(TBitmap* ABitmap, const String& ACaption) override;
    bool Closed() const override { return FClosed; }
    win::HWND Handle() const { return FHandle; }

private:
    TPreviewForm() = default;
    static win::LRESULT WindowProc(win::HWND AWindow, win::UINT AMessage, win::WPARAM AWParam,
                                   win::LPARAM ALParam);

    win::HWND FHandle = nullptr;
    bool FClosed = false;
    // What the window shows, kept for repaints.
    TBitmap FFrame;
};

// Makes the engine's previewers show their frames in TPreviewForm windows.
void InstallPreviewForms();
