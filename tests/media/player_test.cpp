#include "media/player.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "media/ffmpegloader.h"
#include "media/libsdl.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"
#include "platform/win/display.h"
#include "platform/win/memorybackend.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "playertest.h"

// Last: X11's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// --- The event ring ---

// Pushes (kind, value) and pops (kind 0 in the list): what comes out.
struct TRingCase {
    const char* Name;
    std::vector<TPlayEventItem> Pushed;
    std::vector<TPlayEventItem> Expected;
};

void PrintTo(const TRingCase& ACase, std::ostream* AStream) {
    *AStream << ACase.Name;
}

class PlayEventRingTest : public ::testing::TestWithParam<TRingCase> {};

TEST_P(PlayEventRingTest, CoalescesByKind) {
    TPlayEvent ring;
    for (const TPlayEventItem& item : GetParam().Pushed)
        ring.Push(item.Kind, item.Value);
    std::vector<TPlayEventItem> popped;
    for (TPlayEventItem item = ring.Pop(); item.Kind != pekNone; item = ring.Pop())
        popped.push_back(item);
    ASSERT_EQ(popped.size(), GetParam().Expected.size());
    for (size_t i = 0; i < popped.size(); ++i) {
        EXPECT_EQ(popped[i].Kind, GetParam().Expected[i].Kind) << i;
        EXPECT_EQ(popped[i].Value, GetParam().Expected[i].Value) << i;
    }
    EXPECT_EQ(ring.Event.WaitFor(0), wrTimeout) << "reset once empty";
}

// Positions and states taking turns, values AFirst to ALast.
std::vector<TPlayEventItem> Alternating(Integer AFirst, Integer ALast) {
    std::vector<TPlayEventItem> items;
    for (Integer i = AFirst; i <= ALast; ++i)
        items.push_back({i % 2 ? pekState : pekPosition, i});
    return items;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayEventRingTest,
    ::testing::Values(TRingCase{"PositionsArriveAsTheLast", {{1, 10}, {1, 20}, {1, 30}}, {{1, 30}}},
                      TRingCase{
                          "PauseThenResumeArriveAsTheResume", {{2, psPause}, {2, psResume}}, {{2, psResume}}},
                      TRingCase{"StatePositionStateAllStay",
                                {{2, psPause}, {1, 5}, {2, psResume}},
                                {{2, psPause}, {1, 5}, {2, psResume}}},
                      TRingCase{"NineWaitAtMost", Alternating(0, 8), Alternating(0, 8)},
                      TRingCase{"TheTenthDropsTheOldest", Alternating(0, 9), Alternating(1, 9)}),
    [](const ::testing::TestParamInfo<TRingCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(PositionMovedTest, MovesOfMoreThanTenMillisecondsAreReported) {
    EXPECT_TRUE(PositionMoved(AV_NOPTS_VALUE, 0)) << "the first";
    EXPECT_FALSE(PositionMoved(0, 5000));
    EXPECT_FALSE(PositionMoved(0, 10000)) << "two moves of 5 ms";
    EXPECT_TRUE(PositionMoved(0, 10001));
    EXPECT_TRUE(PositionMoved(20000, 9999)) << "backwards too";
}

// --- Without a file ---

TEST(PlayerWithoutLibraries, OpenFailsWithTheLibraryMessage) {
    TFFPlayer player(nullptr);
    if (player.AVLibLoaded()) GTEST_SKIP() << "another test holds the libraries";
    EXPECT_FALSE(player.Open(TestDataFile(u"a.avi"), nullptr, false));
    EXPECT_EQ(player.LastErrMsg(), u"libav or libsdl not loaded.");
}

class PlayerComponentTest : public PlayerFixture {};

TEST_F(PlayerComponentTest, WithoutAFileNothingHappensAndTheSnapshotIsEmpty) {
    EXPECT_EQ(Player->Version(), u"2.3");
    EXPECT_TRUE(Player->Paused());
    EXPECT_EQ(Player->AudioStreamIndex(), -1);
    Player->Pause();
    Player->Resume();
    Player->Seek(Int64{1000000}, TSeekFlags{}, true);
    Player->Stop(true);
    Int64 pts = 0;
    TBitmap* frame = Player->CurrentFrame(pts);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Width(), 0);
    EXPECT_EQ(frame->Height(), 0);
    EXPECT_EQ(pts, -1);
    EXPECT_TRUE(Recorder.Items().empty());
}

TEST_F(PlayerComponentTest, FormatTakesKnownReadersOnly) {
    Player->SetFormat(u"avi");
    EXPECT_EQ(Player->Format(), u"avi");
    for (const String name : {u"no-such-format", u""}) {
        try {
            Player->SetFormat(name);
            ADD_FAILURE() << "no exception";
        } catch (const EPlayerError& e) {
            EXPECT_EQ(e.Message(), u"Unknown input format: " + name);
        }
    }
    EXPECT_EQ(Player->Format(), u"avi");
}

TEST_F(PlayerComponentTest, TheExternalClockIsRefused) {
    EXPECT_THROW(Player->Setav_sync_type(AV_SYNC_EXTERNAL_CLOCK), EPlayerError);
    EXPECT_EQ(Player->av_sync_type(), AV_SYNC_AUDIO_MASTER);
}

TEST_F(PlayerComponentTest, AFileNameLongerThanTheStateHoldsIsRefused) {
    EXPECT_FALSE(Player->Open(String(1024, u'a'), nullptr, false));
    EXPECT_EQ(Player->LastErrMsg(), u"The file name is longer than 1023 characters.");
}

// --- Playing ---

TEST_F(PlayerComponentTest, AFullPlaybackReportsPlayPositionsEndAndStop) {
    UseDiskAudio();
    Int64 duration = 0;
    Integer width = 0, height = 0;
    Player->SetOnFileOpen(
        [&](TObject*, Int64 ADuration, Integer AWidth, Integer AHeight, Integer&, Integer&) {
            duration = ADuration;
            width = AWidth;
            height = AHeight;
        });
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, false)) << StringToUTF8(Player->LastErrMsg());
    EXPECT_GT(duration, 1900000);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(Player->FileName(), TestDataFile(u"a.avi"));
    EXPECT_EQ(Player->AVProbe()->StreamCount(), 2) << "the prober adopts the file";
    ASSERT_TRUE(Recorder.WaitForState(psEnd));
    Player->Stop(true);
    ASSERT_TRUE(Recorder.WaitForState(psStop));

    // Positions climb between the play and the stop; the end comes once,
    // after some of them.
    const std::vector<TPlayerRecorder::TItem> items = Recorder.Items();
    EXPECT_EQ(Recorder.States(), (std::vector<TPlayState>{psPlay, psEnd, psStop}));
    ASSERT_GE(items.size(), 4u);
    EXPECT_TRUE(items.front().IsState && items.front().State == psPlay);
    EXPECT_TRUE(items.back().IsState && items.back().State == psStop);
    EXPECT_FALSE(items[1].IsState);
    Int64 last = -1;
    for (const TPlayerRecorder::TItem& item : items)
        if (!item.IsState) {
            EXPECT_GT(item.Position, last);
            last = item.Position;
        }
    EXPECT_GT(last, 1800000);
    EXPECT_EQ(Player->AudioStreamIndex(), -1);
}

TEST_F(PlayerComponentTest, ASoundWithoutADevicePlaysThePicturesAndLeavesNothingBehind) {
    // No driver of that name: the sound's device cannot open, each time.
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    for (int run = 0; run < 2; ++run) {
        Recorder.Clear();
        ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, false))
            << StringToUTF8(Player->LastErrMsg());
        ASSERT_TRUE(Recorder.WaitForState(psEnd));
        EXPECT_EQ(Player->AudioStreamIndex(), -1);
        Player->Stop(true);
        ASSERT_TRUE(Recorder.WaitForState(psStop));
    }
}

TEST_F(PlayerComponentTest, AChosenDriverServesOneStartAndTheDefaultIsSDLsOwnAgain) {
    const auto audioDriver = [] {
        char name[32] = "";
        return std::string(sdl::SDL_AudioDriverName(name, sizeof name) ? name : "");
    };
    UseDiskAudio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Player->SetAudioDriver(adDisk);
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, true)) << StringToUTF8(Player->LastErrMsg());
    EXPECT_EQ(audioDriver(), "disk");
    EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "dummy") << "put back once SDL has started";
    Player->Stop(true);

    Player->SetAudioDriver(adDefault);
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, true)) << StringToUTF8(Player->LastErrMsg());
    EXPECT_EQ(audioDriver(), "dummy");
    Player->Stop(true);

    // Both drawing choices draw into the host window through X11; whether
    // SDL starts with it depends on the display, the variable comes back.
    EXPECT_STREQ(VideoDriverNames[vdGDI], "x11");
    EXPECT_STREQ(VideoDriverNames[vdDirectDraw], "x11");
    Player->SetVideoDriver(vdGDI);
    if (Player->Open(TestDataFile(u"a.avi"), nullptr, true)) {
        char name[32] = "";
        EXPECT_STREQ(sdl::SDL_VideoDriverName(name, sizeof name), "x11");
        Player->Stop(true);
    }
    EXPECT_STREQ(std::getenv("SDL_VIDEODRIVER"), "dummy");
}

TEST_F(PlayerComponentTest, StopWithoutWaitingReturnsAndTheStopFollows) {
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, true));
    ASSERT_TRUE(Recorder.WaitForState(psPlay));
    Player->Stop(false);
    ASSERT_TRUE(Recorder.WaitForState(psStop));
    EXPECT_EQ(Recorder.States().back(), psStop);
    EXPECT_TRUE(Player->Paused()) << "no file any more";
}

TEST_F(PlayerComponentTest, PausingTwiceReportsOnePause) {
    ASSERT_TRUE(Player->Open(TestDataFile(u"a.avi"), nullptr, false));
    ASSERT_TRUE(Recorder.WaitForState(psPlay));
    Player->Pause();
    ASSERT_TRUE(Recorder.WaitForState(psPause));
    EXPECT_TRUE(Player->Paused());
    Player->Pause();
    // A seek while paused shows one picture: its position comes after
    // anything the second pause might have reported.
    Player->Seek(Int64{1000000}, TSeekFlags{}, true);
    ASSERT_TRUE(Recorder.WaitForPosition(900000));
    Player->Resume();
    ASSERT_TRUE(Recorder.WaitForState(psResume));
    Player->Stop(true);
    ASSERT_TRUE(Recorder.WaitForState(psStop));
    EXPECT_EQ(Recorder.Count(psPause), 1);
    EXPECT_EQ(Recorder.States(), (std::vector<TPlayState>{psPlay, psPause, psResume, psStop}));
}

TEST_F(PlayerComponentTest, TheSnapshotIsThePictureOnScreen) {
    ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), nullptr, true));
    ASSERT_TRUE(Recorder.WaitForState(psPause));
    ASSERT_TRUE(Recorder.WaitForPosition(40000));
    Int64 pts = -1;
    TBitmap* frame = Player->CurrentFrame(pts);
    EXPECT_EQ(pts, 40000);
    ASSERT_EQ(frame->Width(), 64);
    ASSERT_EQ(frame->Height(), 48);
    // Bottom-up rows of blue, green, red bytes.
    const auto* top = static_cast<const uint8_t*>(frame->ScanLine(2));
    const auto* bottom = static_cast<const uint8_t*>(frame->ScanLine(45));
    EXPECT_GT(top[2], 200);
    EXPECT_LT(top[0], 60);
    EXPECT_GT(bottom[0], 200);
    EXPECT_LT(bottom[2], 60);
    Player->Stop(true);
}

TEST_F(PlayerComponentTest, EachStepShowsOnePictureAndTheFirstReports) {
    std::mutex lock;
    std::condition_variable_any hooked;
    std::vector<Int64> pictures;
    Player->SetHook(true);
    Player->SetOnHook([&](TObject*, TBitmap*, Int64 APTS) {
        // The first step's picture reaches the screen a second late, as on
        // a loaded machine: no later step may drop a picture to catch up.
        if (APTS == 80000) AdvancePlayerTime(1000000);
        std::lock_guard<std::mutex> guard(lock);
        pictures.push_back(APTS);
        hooked.notify_all();
    });
    auto waitForPictures = [&](size_t ACount) {
        std::unique_lock<std::mutex> guard(lock);
        return WaitForCondition(
            guard, hooked, [&] { return pictures.size() >= ACount; }, 30000);
    };
    ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), nullptr, true));
    ASSERT_TRUE(Recorder.WaitForState(psPause));
    // Three steps, the later ones while the first may still be on its way.
    Player->StepToNextFrame();
    Player->StepToNextFrame();
    ASSERT_TRUE(waitForPictures(4));
    Player->StepToNextFrame();
    ASSERT_TRUE(waitForPictures(5));
    // A seek's picture owes nothing to the steps: the player stays paused.
    Player->Seek(Int64{400000}, TSeekFlags{}, true);
    ASSERT_TRUE(waitForPictures(6));
    {
        std::lock_guard<std::mutex> guard(lock);
        EXPECT_EQ(std::vector<Int64>(pictures.begin(), pictures.begin() + 5),
                  (std::vector<Int64>{0, 40000, 80000, 120000, 160000}));
    }
    Player->Stop(true);
    ASSERT_TRUE(Recorder.WaitForState(psStop));
    EXPECT_EQ(Recorder.Count(psStep), 1) << "the first step after the pause only";
    EXPECT_EQ(Recorder.Count(psResume), 0);
}

// --- The host window ---

class PlayerHostTest : public PlayerComponentTest {
protected:
    void SetUp() override {
        PlayerComponentTest::SetUp();
        win::driver::Reset();
        win::WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = win::DefWindowProcW;
        cls.lpszClassName = u"VqPlayerHost";
        win::RegisterClassExW(&cls);
    }

    win::HWND CreateHost(win::HWND AParent, int AWidth, int AHeight) {
        return win::CreateWindowExW(0, u"VqPlayerHost", u"", win::WS_CHILD | win::WS_VISIBLE, 10, 10, AWidth,
                                    AHeight, AParent, nullptr, nullptr, nullptr);
    }
};

TEST_F(PlayerHostTest, AHostWindowIgnoresCloseAndGivesItsSize) {
    const win::HWND top = win::CreateWindowExW(0, u"VqPlayerHost", u"", win::WS_POPUP | win::WS_VISIBLE, 0, 0,
                                               400, 300, nullptr, nullptr, nullptr, nullptr);
    const win::HWND host = CreateHost(top, 200, 150);
    ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), host, true));
    EXPECT_EQ(Player->ScreenHandle(), host);
    EXPECT_EQ(Player->ScreenWidth(), 200);
    EXPECT_EQ(Player->ScreenHeight(), 150);
    win::SendMessageW(host, win::WM_CLOSE, 0, 0);
    EXPECT_TRUE(win::IsWindow(host));
    Player->Stop(true);
    win::SendMessageW(host, win::WM_CLOSE, 0, 0);
    EXPECT_FALSE(win::IsWindow(host)) << "the window's own procedure is back";
}

// Around the picture the host's own background shows, also where a picture
// of another shape was before.
TEST_F(PlayerHostTest, AroundThePictureIsTheHostsBackgroundAfterAChangeOfShape) {
    win::WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = win::DefWindowProcW;
    cls.hbrBackground = win::CreateSolidBrush(win::RGB(0, 128, 0));
    cls.lpszClassName = u"VqGreenHost";
    win::RegisterClassExW(&cls);
    const win::HWND top = win::CreateWindowExW(0, u"VqPlayerHost", u"", win::WS_POPUP | win::WS_VISIBLE, 0, 0,
                                               400, 300, nullptr, nullptr, nullptr, nullptr);
    const win::HWND host = win::CreateWindowExW(0, u"VqGreenHost", u"", win::WS_CHILD | win::WS_VISIBLE, 10,
                                                10, 128, 96, top, nullptr, nullptr, nullptr);
    const auto red = [](uint32_t C) { return (C >> 16) > 0xC0 && (C & 0xFFFF) < 0x4040; };
    const auto blue = [](uint32_t C) { return (C & 0xFF) > 0xC0 && (C >> 8) < 0x4040; };
    Player->SetAspectRatio(-1);
    ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), host, true));
    ASSERT_TRUE(Recorder.WaitForState(psPause));
    ASSERT_TRUE(Recorder.WaitForPosition(40000));
    EXPECT_TRUE(red(ScreenPixel(4, 10))) << "the picture fills the host";
    // Square: a band of 16 pixels on either side.
    Player->SetAspectRatio(1.0f);
    Player->StepToNextFrame();
    ASSERT_TRUE(Recorder.WaitForPosition(80000));
    EXPECT_EQ(ScreenPixel(4, 10), 0x008000u);
    EXPECT_EQ(ScreenPixel(123, 80), 0x008000u);
    EXPECT_TRUE(red(ScreenPixel(64, 10)));
    EXPECT_TRUE(blue(ScreenPixel(64, 80)));
    Player->Stop(true);
}

TEST_F(PlayerHostTest, ATopLevelWindowCannotHost) {
    const win::HWND top = win::CreateWindowExW(0, u"VqPlayerHost", u"", win::WS_POPUP, 0, 0, 400, 300,
                                               nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(Player->Open(TestDataFile(u"a.avi"), top, false));
    EXPECT_EQ(Player->LastErrMsg(),
              Format(u"Could not initialize SDL with ScreenHandle(%u): not a child window",
                     {reinterpret_cast<uintptr_t>(top)}));
}

// On a real display: the picture appears inside a native child window.
TEST_F(PlayerHostTest, PlaysInsideANativeChildWindowOnTheDisplay) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        // Where the test runner gave a display, its absence is a failure.
        if (std::getenv("VELQUA_DISPLAY_REQUIRED")) FAIL() << "The runner gave no display";
        GTEST_SKIP() << "No X display (Xvfb is not installed)";
    }
    win::InstallBackend(win::MakeX11Backend());
    struct TRestore {
        ~TRestore() { win::InstallBackend(winsys::MakeMemoryBackend()); }
    } restore;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    const win::HWND top = win::CreateWindowExW(0, u"VqPlayerHost", u"", win::WS_POPUP | win::WS_VISIBLE, 20,
                                               20, 200, 160, nullptr, nullptr, nullptr, nullptr);
    const win::HWND host = CreateHost(top, 128, 96);
    win::driver::Pump();
    ASSERT_TRUE(Player->Open(TestDataFile(u"halves.mkv"), host, true)) << StringToUTF8(Player->LastErrMsg());
    ASSERT_TRUE(Recorder.WaitForPosition(40000));
    // The picture fills the 128 x 96 window: red above, blue below.
    std::unique_ptr<Display, int (*)(Display*)> probe(XOpenDisplay(nullptr), XCloseDisplay);
    ASSERT_TRUE(probe);
    auto pixel = [&](int X, int Y) {
        XImage* image =
            XGetImage(probe.get(), DefaultRootWindow(probe.get()), X, Y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = image ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
        if (image) XDestroyImage(image);
        return value;
    };
    const unsigned long upper = pixel(20 + 10 + 64, 20 + 10 + 10), lower = pixel(20 + 10 + 64, 20 + 10 + 86);
    EXPECT_GT(upper >> 16, 0xC0u) << std::hex << upper;
    EXPECT_LT(upper & 0xFF, 0x40u) << std::hex << upper;
    EXPECT_GT(lower & 0xFF, 0xC0u) << std::hex << lower;
    EXPECT_LT(lower >> 16, 0x40u) << std::hex << lower;
    Player->Stop(true);
}

}  // namespace
