#include "media/previewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "mediatest.h"
#include "platform/base/mainthread.h"

namespace {

// What the fake windows were asked to do.
struct TWindowLog {
    Integer Made = 0;
    TBitmap* FirstFrame = nullptr;
    std::vector<TBitmap*> Frames;
    std::vector<String> Captions;
    bool Closed = false;
    Integer Freed = 0;
    bool AllOnGuiThread = true;
};

class TFakeWindow : public TPreviewWindow {
public:
    explicit TFakeWindow(TWindowLog& ALog) : FLog(ALog) {}
    ~TFakeWindow() override {
        ++FLog.Freed;
        FLog.AllOnGuiThread = FLog.AllOnGuiThread && IsMainThread();
    }
    void ShowFrame(TBitmap* ABitmap, const String& ACaption) override {
        FLog.AllOnGuiThread = FLog.AllOnGuiThread && IsMainThread();
        FLog.Frames.push_back(ABitmap);
        FLog.Captions.push_back(ACaption);
    }
    bool Closed() const override { return FLog.Closed; }

private:
    TWindowLog& FLog;
};

class PreviewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPreviewWindowFactory([this](TBitmap* AFirstFrame) {
            ++Log.Made;
            Log.FirstFrame = AFirstFrame;
            return std::make_unique<TFakeWindow>(Log);
        });
    }
    void TearDown() override { SetPreviewWindowFactory(nullptr); }

    TWindowLog Log;
    // Stand-ins: the previewer hands bitmaps on and never looks inside.
    int FrameA = 0, FrameB = 0;
    TBitmap* A = reinterpret_cast<TBitmap*>(&FrameA);
    TBitmap* B = reinterpret_cast<TBitmap*>(&FrameB);
};

TEST_F(PreviewerTest, FramesFromAWorkerAreShownInOneWindowUntilItIsClosed) {
    auto previewer = std::make_unique<TPreviewer>();
    OnWorker([&] {
        EXPECT_TRUE(previewer->PaintFrame(A, 1, 40000));
        EXPECT_TRUE(previewer->PaintFrame(B, 2, 3723456789));
    });
    EXPECT_EQ(Log.Made, 1);
    EXPECT_EQ(Log.FirstFrame, A);
    EXPECT_EQ(Log.Frames, (std::vector<TBitmap*>{A, B}));
    EXPECT_EQ(Log.Captions, (std::vector<String>{u"00:00:00.040", u"01:02:03.456"}));

    Log.Closed = true;
    OnWorker([&] {
        EXPECT_FALSE(previewer->PaintFrame(A, 3, 120000));
        EXPECT_FALSE(previewer->PaintFrame(B, 4, 160000));
        previewer.reset();
    });
    EXPECT_EQ(Log.Made, 1);
    EXPECT_EQ(Log.Frames.size(), 2u);
    EXPECT_EQ(Log.Freed, 1);
    EXPECT_TRUE(Log.AllOnGuiThread);
}

TEST_F(PreviewerTest, WithoutAWindowLayerNothingIsShown) {
    SetPreviewWindowFactory(nullptr);
    TPreviewer previewer;
    EXPECT_FALSE(previewer.PaintFrame(A, 1, 0));
    EXPECT_FALSE(previewer.PaintFrame(A, 2, 40000));
}

}  // namespace
