#include "playertest.h"

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "media/ffmpegloader.h"
#include "media/libsdl.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/base/threads.h"

void PlayerTest::SetUp() {
    ASSERT_TRUE(LibLoader.Load(PlayerLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

void PlayerTest::TearDown() {
    WaitForSelfFreeingThreads();
    unsetenv("SDL_DISKAUDIOFILE");
    LibLoader.Unload(PlayerLibraries);
}

std::string PlayerTest::UseDiskAudio() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string file = TestDataPath(u"") + test->test_suite_name() + "." + test->name() + ".raw";
    std::ofstream(file, std::ios::trunc).close();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    // A buffer each millisecond: far faster than playing, and the silence
    // after the end stays small.
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    return file;
}

void PlayerFixture::SetUp() {
    PlayerTest::SetUp();
    Player = std::make_unique<TFFPlayer>(nullptr);
    Recorder.Attach(*Player);
}

void PlayerFixture::TearDown() {
    Player.reset();
    PlayerTest::TearDown();
}

void TPlayerRecorder::Attach(TCustomPlayer& APlayer) {
    APlayer.SetOnState([this](TObject*, TPlayState AState) {
        if (OnStateHook) OnStateHook(AState);
        std::lock_guard<std::mutex> guard(FLock);
        FItems.push_back(TItem{true, AState, 0});
        FChanged.notify_all();
    });
    APlayer.SetOnPosition([this](TObject*, Int64 APTS) {
        std::lock_guard<std::mutex> guard(FLock);
        FItems.push_back(TItem{false, psPlay, APTS});
        FChanged.notify_all();
    });
}

void TPlayerRecorder::Clear() {
    std::lock_guard<std::mutex> guard(FLock);
    FItems.clear();
}

bool TPlayerRecorder::WaitFor(const std::function<bool(const std::vector<TItem>&)>& APredicate) {
    std::unique_lock<std::mutex> lock(FLock);
    return WaitForCondition(
        lock, FChanged, [&] { return APredicate(FItems); }, 30000);
}

bool TPlayerRecorder::WaitForState(TPlayState AState) {
    return WaitFor([AState](const std::vector<TItem>& AItems) {
        for (const TItem& item : AItems)
            if (item.IsState && item.State == AState) return true;
        return false;
    });
}

bool TPlayerRecorder::WaitForPosition(Int64 AMinimum) {
    return WaitFor([AMinimum](const std::vector<TItem>& AItems) {
        return !AItems.empty() && !AItems.back().IsState && AItems.back().Position >= AMinimum;
    });
}

std::vector<TPlayerRecorder::TItem> TPlayerRecorder::Items() {
    std::lock_guard<std::mutex> guard(FLock);
    return FItems;
}

std::vector<TPlayState> TPlayerRecorder::States() {
    std::vector<TPlayState> states;
    for (const TItem& item : Items())
        if (item.IsState) states.push_back(item.State);
    return states;
}

Int64 TPlayerRecorder::LastPosition() {
    Int64 position = -1;
    for (const TItem& item : Items())
        if (!item.IsState) position = item.Position;
    return position;
}

Integer TPlayerRecorder::Count(TPlayState AState) {
    Integer count = 0;
    for (TPlayState state : States())
        count += state == AState;
    return count;
}

std::set<Integer> Threads() {
    std::set<Integer> threads;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            if (entry->d_name[0] != '.') threads.insert(std::atoi(entry->d_name));
        closedir(tasks);
    }
    return threads;
}

bool NoThreadBesides(const std::set<Integer>& ABefore) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        const std::set<Integer> now = Threads();
        if (std::includes(ABefore.begin(), ABefore.end(), now.begin(), now.end())) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
}

uint32_t ScreenPixel(Integer X, Integer Y) {
    const SDL_Surface* screen = sdl::SDL_GetVideoSurface();
    if (!screen || X < 0 || Y < 0 || X >= screen->w || Y >= screen->h) return 0xFFFFFFFF;
    const SDL_PixelFormat* format = screen->format;
    const uint8_t* row = static_cast<const uint8_t*>(screen->pixels) + Y * screen->pitch;
    uint32_t value = 0;
    std::memcpy(&value, row + X * format->BytesPerPixel, format->BytesPerPixel);
    auto channel = [&](uint32_t AMask, uint8_t AShift, uint8_t ALoss) {
        return ((value & AMask) >> AShift) << ALoss;
    };
    return (channel(format->Rmask, format->Rshift, format->Rloss) << 16) |
           (channel(format->Gmask, format->Gshift, format->Gloss) << 8) |
           channel(format->Bmask, format->Bshift, format->Bloss);
}

std::vector<int16_t> ReadSamples(const std::string& AFileName) {
    std::ifstream file(AFileName, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}
