// The preview window of a converting task: the engine hands it converted
// frames from its worker thread, at most one per preview interval, and the
// window shows the latest with its time in the caption. The window itself
// belongs to the window layer, which supplies it through a factory; all window
// work happens on the GUI thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/base/classes.h"

class TBitmap;

// The window, called on the GUI thread only. Freeing it closes it and gives
// the application back whatever it took over.
class TPreviewWindow {
public:
    virtual ~TPreviewWindow() = default;
    // Draws the frame at (0, 0) and sets the caption; frames larger than the
    // first are cut at the window's edge.
    virtual void ShowFrame(TBitmap* ABitmap, const String& ACaption) = 0;
    // The user has closed the window.
    virtual bool Closed() const = 0;
};

// Makes the window for the first frame: a stay-on-top tool window in the
// centre of the screen whose client area has the frame's size and which can
// be dragged anywhere. Nil when no window can be made.
using TPreviewWindowFactory = std::function<std::unique_ptr<TPreviewWindow>(TBitmap* AFirstFrame)>;
// Installed by the window layer (nil removes it). Without a factory no window
// can be made and every previewer counts as closed.
void SetPreviewWindowFactory(TPreviewWindowFactory AFactory);

class TPreviewer : public TObject {
public:
    TPreviewer() = default;
    // Frees the window on the GUI thread.
    ~TPreviewer() override;

    // From any thread: shows the frame (the bitmap stays the caller's) and
    // returns once it is drawn. False once the user has closed the window;
    // after that no frame is shown again.
    bool PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);

private:
    void ShowFrame();
    void FreePreviewForm();

    std::unique_ptr<TPreviewWindow> FForm;
    std::atomic<bool> FClosed{false};
    // Written by PaintFrame, read by ShowFrame while PaintFrame waits for it.
    TBitmap* FBitmap = nullptr;
    Integer FFrameNumber = 0;
    Int64 FPTS = 0;
};
