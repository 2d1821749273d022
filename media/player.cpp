#include "media/player.h"

#include <cstdlib>

#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/libsdl.h"
#include "media/playerdisplay.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"
#include "platform/base/threads.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/graphicsobjects.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

const char* const AudioDriverNames[adDisk + 1] = {"", "pulse", "alsa", "dummy", "disk"};
// Both drawing choices of the classic player draw into the host window: on
// Linux that is the X11 driver either way.
const char* const VideoDriverNames[vdGDI + 1] = {"", "x11", "x11"};

namespace {

// What the host's own erase paints, as 0x00BBGGRR; black when it paints
// nothing.
uint32_t HostBackground(win::HWND AWindow, win::WNDPROC AOwnProc) {
    TBitmap probe;
    probe.SetSize(1, 1);
    probe.Canvas()->SetPixels(0, 0, clBlack);
    win::CallWindowProc(AOwnProc, AWindow, win::WM_ERASEBKGND,
                        reinterpret_cast<win::WPARAM>(probe.Canvas()->Handle()), 0);
    return uint32_t(ColorToRGB(probe.Canvas()->Pixels(0, 0))) & 0xFFFFFF;
}

// Sets an environment variable for as long as it lives, then puts back what
// was there (or nothing): a driver chosen once must not stick to later starts.
class TEnvironmentOverride {
public:
    TEnvironmentOverride(const char* AName, const char* AValue) : FName(AName) {
        if (!AValue) return;
        FActive = true;
        if (const char* saved = std::getenv(AName)) FSaved = saved;
        FHadValue = std::getenv(AName) != nullptr;
        setenv(AName, AValue, 1);
    }
    ~TEnvironmentOverride() {
        if (!FActive) return;
        if (FHadValue)
            setenv(FName, FSaved.c_str(), 1);
        else
            unsetenv(FName);
    }
    TEnvironmentOverride(const TEnvironmentOverride&) = delete;
    TEnvironmentOverride& operator=(const TEnvironmentOverride&) = delete;

private:
    const char* FName;
    AnsiString FSaved;
    bool FActive = false;
    bool FHadValue = false;
};

}  // namespace

// How the event threads reach their player: the player leaves before it is
// freed, and a delivery in progress finishes first.
struct TPlayerLink {
    std::mutex Lock;
    std::condition_variable_any Changed;
    TCustomPlayer* Player = nullptr;
    Integer Busy = 0;
};

// The host window's subclassing. Outlives a player whose procedure could not
// be taken off the window again: it then passes everything on.
struct THostHook {
    TCustomPlayer* Player = nullptr;
    win::HWND Window = nullptr;
    win::WNDPROC OwnProc = nullptr;
};

// The event thread of one playback: delivers position and state events from
// its ring until the stop state or a quit.
class TEventThread : public TThread {
public:
    TEventThread(std::shared_ptr<TPlayEvent> ARing, std::shared_ptr<TPlayerLink> ALink)
        : TThread(false), FRing(std::move(ARing)), FLink(std::move(ALink)) {
        SetFreeOnTerminate(true);
        Start();
    }

protected:
    void Execute() override {
        while (!Terminated()) {
            const TPlayEventItem item = FRing->Pop();
            if (item.Kind == pekNone) {
                FRing->Event.WaitFor(INFINITE);
                continue;
            }
            if (item.Kind == pekQuit) break;
            Deliver(item);
            if (item.Kind == pekState && item.Value == psStop) break;
        }
    }

private:
    void Deliver(const TPlayEventItem& AItem) {
        TPlayerLink& link = *FLink;
        auto raise = [&link, AItem] {
            TCustomPlayer* player;
            {
                std::lock_guard<std::mutex> guard(link.Lock);
                player = link.Player;
                if (!player) return;
                ++link.Busy;
            }
            struct TRelease {
                TPlayerLink& Link;
                ~TRelease() {
                    std::lock_guard<std::mutex> guard(Link.Lock);
                    --Link.Busy;
                    Link.Changed.notify_all();
                }
            } release{link};
            player->RaisePlayEvent(AItem);
        };
        bool toMain;
        {
            std::lock_guard<std::mutex> guard(link.Lock);
            if (!link.Player) return;
            toMain = link.Player->TriggerEventInMainThread();
        }
        if (toMain)
            CallInMainThread(raise);
        else
            raise();
    }

    std::shared_ptr<TPlayEvent> FRing;
    std::shared_ptr<TPlayerLink> FLink;
};

// Runs the SDL event loop and the display of one playback.
class TPlayThread : public TThread {
public:
    explicit TPlayThread(TCustomPlayer* AOwner) : TThread(false), FOwner(AOwner) {
        SetFreeOnTerminate(true);
        Start();
    }

protected:
    void Execute() override { FOwner->PlayThreadExecute(); }

private:
    TCustomPlayer* FOwner;
};

void TPlayEvent::Push(Integer AKind, Int64 AValue) {
    std::lock_guard<std::mutex> guard(Lock);
    const Integer newest = (Tailer + Slots - 1) % Slots;
    Integer slot = newest;
    if (Header == Tailer || Events[newest].Kind != AKind) {
        slot = Tailer;
        Tailer = (Tailer + 1) % Slots;
        if (Tailer == Header) Header = (Header + 1) % Slots;
    }
    Events[slot] = TPlayEventItem{AKind, AValue};
    // Set under the lock, so a pop that empties the ring cannot reset it after us.
    Event.SetEvent();
}

TPlayEventItem TPlayEvent::Pop() {
    std::lock_guard<std::mutex> guard(Lock);
    if (Header == Tailer) {
        Event.ResetEvent();
        return {};
    }
    const TPlayEventItem item = Events[Header];
    Header = (Header + 1) % Slots;
    if (Header == Tailer) Event.ResetEvent();
    return item;
}

void TDataLock::lock() {
    std::unique_lock<std::mutex> guard(FLock);
    FChanged.wait(guard, [this] { return !FHeld; });
    FHeld = true;
}

bool TDataLock::try_lock() {
    std::lock_guard<std::mutex> guard(FLock);
    if (FHeld) return false;
    FHeld = true;
    return true;
}

void TDataLock::unlock() {
    {
        std::lock_guard<std::mutex> guard(FLock);
        FHeld = false;
    }
    FChanged.notify_one();
}

bool PositionMoved(Int64 ALastPTS, Int64 APTS) {
    return ALastPTS == AV_NOPTS_VALUE || std::abs(APTS - ALastPTS) > 10000;
}

TCustomPlayer::TCustomPlayer(TComponent* AOwner) : TFFBaseComponent(AOwner) {
    FAVProbe = std::make_unique<TAVProbe>(nullptr);
    FLink = std::make_shared<TPlayerLink>();
    FLink->Player = this;
    SetDefaults();
}

TCustomPlayer::~TCustomPlayer() {
    FOnPosition.Set(nullptr);
    FOnState.Set(nullptr);
    FOnHook.Set(nullptr);
    Stop(true);
    {
        std::unique_lock<std::mutex> lock(FLink->Lock);
        // A delivery running on the GUI thread for this very player (freed
        // from its own handler) cannot be waited for.
        if (!IsMainThread() || FLink->Busy == 0)
            WaitForCondition(
                lock, FLink->Changed, [this] { return FLink->Busy == 0; }, INFINITE);
        FLink->Player = nullptr;
    }
    LeaveScreenWindow();
    FreeFlushPacket(Fflush_pkt);
    FAVProbe.reset();
    if (avutil::av_free) {
        ResetRGBConvertContext(FRGBContext);
        ResetRGBConvertContext(FHookContext);
    }
}

bool TCustomPlayer::AVLibLoaded() const {
    return LibLoader.Loaded(PlayerLibraries);
}

bool TCustomPlayer::LoadAVLib(const TPathFileName& APath) {
    LibLoader.SetLibraryPath(APath);
    if (LibLoader.Load(PlayerLibraries)) return true;
    FLastErrMsg.Set(LibLoader.LastErrMsg());
    return false;
}

void TCustomPlayer::UnloadAVLib() {
    LibLoader.Unload(PlayerLibraries);
}

void TCustomPlayer::SetDefaults() {
    Fis_full_screen = false;
    Faudio_disable = false;
    Fvideo_disable = false;
    Fdisplay_disable = false;
    Fscreen_width = 0;
    Fscreen_height = 0;
    FAspectRatio = 0;
    FAudioVolume = SDL_MIX_MAXVOLUME;
    FShowAudio = saWave;
    FMute = false;
    FTriggerEventInMainThread = true;
    FAudioDriver = adDefault;
    FVideoDriver = vdDefault;
    FHook = false;
    Fsws_flags = SWS_BICUBIC;
    Ffile_iformat = nullptr;
    Fframe_width = 0;
    Fframe_height = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
    Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    Fdebug = 0;
    Fdebug_mv = 0;
    Fworkaround_bugs = 1;
    Ffast = false;
    Fgenpts = false;
    Flowres = 0;
    Fidct_algo = 0;
    Fskip_frame = 0;
    Fskip_idct = 0;
    Fskip_loop_filter = 0;
    Ferror_recognition = 1;
    Ferror_concealment = 3;
    Fdecoder_reorder_pts = -1;
    Fframedrop = 1;
    Frdftspeed = 20;
    SetVideoFilters(u"");
    ResetPlayState();
}

void TCustomPlayer::ResetPlayState() {
    Fscreen = nullptr;
    FLastPTS = AV_NOPTS_VALUE;
    FCurrentPTS = -1;
    ClearStep();
    for (auto& wanted : Fwanted_stream)
        wanted = -1;
    Fseek_by_bytes = -1;
    Fstart_time = AV_NOPTS_VALUE;
    FPlayTime = AV_NOPTS_VALUE;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.SetEvent();
    FSeeking = false;
}

std::shared_ptr<TVideoState> TCustomPlayer::VideoState() const {
    std::lock_guard<std::mutex> guard(FVideoStateLock);
    return FVideoState;
}

void TCustomPlayer::SetVideoState(std::shared_ptr<TVideoState> AValue) {
    std::shared_ptr<TVideoState> old;
    std::lock_guard<std::mutex> guard(FVideoStateLock);
    old.swap(FVideoState);
    FVideoState = std::move(AValue);
}

void TCustomPlayer::ClearStep() {
    Fstep = false;
    FStepPending = 0;
}

bool TCustomPlayer::OnGuiThread() const {
    return IsMainThread();
}

void TCustomPlayer::ReportError(const String& AText, bool AStore) {
    GetLogger()->Log(this, llError, AText);
    if (AStore) FLastErrMsg.Set(AText);
}

void TCustomPlayer::SetAspectRatio(float AValue) {
    if (AValue == FAspectRatio) return;
    FAspectRatio = AValue;
    if (const std::shared_ptr<TVideoState> is = VideoState()) PushRelayoutEvent(is.get());
}

void TCustomPlayer::SetAudioVolume(TAudioVolume AValue) {
    FAudioVolume = std::clamp<TAudioVolume>(AValue, 0, SDL_MIX_MAXVOLUME);
}

void TCustomPlayer::SetShowAudio(TShowAudio AValue) {
    FShowAudio = AValue;
    const std::shared_ptr<TVideoState> is = VideoState();
    if (is && is->audio_stream >= 0 && !Fdisplay_disable) is->show_audio = AValue;
}

void TCustomPlayer::Setav_sync_type(Tav_sync_type AValue) {
    if (AValue == AV_SYNC_EXTERNAL_CLOCK)
        throw EPlayerError(u"The external clock is not supported: use the audio or the video clock.");
    Fav_sync_type = AValue;
}

String TCustomPlayer::Format() const {
    return Ffile_iformat ? UTF8ToString(Ffile_iformat->name) : String();
}

void TCustomPlayer::SetFormat(const String& AValue) {
    if (!AVLibLoaded()) {
        ReportError(u"libav or libsdl not loaded.", true);
        return;
    }
    const AVInputFormat* format = avformat::av_find_input_format(StringToUTF8(AValue).c_str());
    if (AValue.empty() || !format) throw EPlayerError(u"Unknown input format: %s", {AValue});
    Ffile_iformat = format;
}

Integer TCustomPlayer::AudioStreamIndex() const {
    const std::shared_ptr<TVideoState> is = VideoState();
    return is ? is->audio_stream.load() : -1;
}

Integer TCustomPlayer::VideoStreamIndex() const {
    const std::shared_ptr<TVideoState> is = VideoState();
    return is ? is->video_stream.load() : -1;
}

Integer TCustomPlayer::SubtitleStreamIndex() const {
    const std::shared_ptr<TVideoState> is = VideoState();
    return is ? is->subtitle_stream.load() : -1;
}

bool TCustomPlayer::SetAudioStreamIndex(Integer AValue) {
    return AValue == AudioStreamIndex() || !VideoState() || SwitchStream(AVMEDIA_TYPE_AUDIO, AValue);
}

bool TCustomPlayer::SetVideoStreamIndex(Integer AValue) {
    return AValue == VideoStreamIndex() || !VideoState() || SwitchStream(AVMEDIA_TYPE_VIDEO, AValue);
}

bool TCustomPlayer::SetSubtitleStreamIndex(Integer AValue) {
    return AValue == SubtitleStreamIndex() || !VideoState() || SwitchStream(AVMEDIA_TYPE_SUBTITLE, AValue);
}

bool TCustomPlayer::Paused() const {
    const std::shared_ptr<TVideoState> is = VideoState();
    return !is || is->paused;
}

bool TCustomPlayer::Open(const String& AFileName, win::HWND AScreenHandle, bool APaused) {
    if (!AVLibLoaded()) {
        ReportError(u"libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    {
        // SDL reads its drivers as it starts. An empty variable would break
        // SDL_Init, so the default leaves SDL's own choice alone (tests and
        // users set them).
        const TEnvironmentOverride audio(
            "SDL_AUDIODRIVER", FAudioDriver != adDefault ? AudioDriverNames[FAudioDriver] : nullptr);
        const TEnvironmentOverride video(
            "SDL_VIDEODRIVER", FVideoDriver != vdDefault ? VideoDriverNames[FVideoDriver] : nullptr);
        if (!HookScreenWindow(AScreenHandle)) {
            LeaveScreenWindow();
            return false;
        }
    }
    if (Fdisplay_disable) {
        Fvideo_disable = true;
    } else {
        const SDL_VideoInfo* info = sdl::SDL_GetVideoInfo();
        if (!info) {
            ReportError(u"SDL_GetVideoInfo() failed", true);
            QuitSDL();
            LeaveScreenWindow();
            return false;
        }
        Ffs_screen_width = info->current_w;
        Ffs_screen_height = info->current_h;
    }
    FreeFlushPacket(Fflush_pkt);
    Fflush_pkt = MakeFlushPacket();
    sdl::SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    sdl::SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
    sdl::SDL_EventState(SDL_USEREVENT, SDL_IGNORE);
    // The converters belong to one file; no playback thread runs yet.
    ResetRGBConvertContext(FHookContext);
    FPlayEvent = std::make_shared<TPlayEvent>();
    if (!OpenStream(AFileName, Ffile_iformat, APaused)) {
        QuitSDL();
        LeaveScreenWindow();
        return false;
    }
    Finput_filename.Set(AFileName);
    FScreenHandle = AScreenHandle;
    FHostBackground = FHostHook ? HostBackground(FHostHook->Window, FHostHook->OwnProc) : 0;
    FAVProbe->SetFileHandle(VideoState()->ic.load());
    if (FTriggerEventInMainThread)
        CallInMainThread([this] { DoFileOpen(); });
    else
        DoFileOpen();
    FStopEvent.ResetEvent();
    new TEventThread(FPlayEvent, FLink);
    new TPlayThread(this);
    return true;
}

void TCustomPlayer::DoFileOpen() {
    ResetRGBConvertContext(FRGBContext);
    const std::shared_ptr<TVideoState> is = VideoState();
    const TFileOpenEvent handler = OnFileOpen();
    if (handler && is) {
        const Int64 duration = is->IsImage2 ? 0 : is->Duration;
        Integer width = -1, height = -1;
        if (is->video_st && is->video_st.load()->codecpar->width != 0) {
            width = is->video_st.load()->codecpar->width;
            height = is->video_st.load()->codecpar->height;
        }
        Integer screenWidth = Fscreen_width, screenHeight = Fscreen_height;
        handler(this, duration, width, height, screenWidth, screenHeight);
        Fscreen_width = screenWidth;
        Fscreen_height = screenHeight;
    }
    if (FScreenHandle && (Fscreen_width == 0 || Fscreen_height == 0)) {
        win::RECT client{};
        win::GetClientRect(FScreenHandle, &client);
        Fscreen_width = client.right - client.left;
        Fscreen_height = client.bottom - client.top;
    }
}

bool TCustomPlayer::HookScreenWindow(win::HWND AWindow) {
    uintptr_t native = 0;
    if (AWindow) {
        native = win::NativeWindowOf(AWindow);
        if (!native) {
            ReportError(::Format(u"Could not initialize SDL with ScreenHandle(%u): %s",
                                 {reinterpret_cast<uintptr_t>(AWindow), u"not a child window"}),
                        true);
            return false;
        }
        FNativeHost = AWindow;
        setenv("SDL_WINDOWID", std::to_string(native).c_str(), 1);
    }
    const bool before = sdl::SDL_WasInit(SDL_INIT_EVERYTHING) != 0;
    // No SDL timer: nothing here uses one, and its thread would wake every
    // millisecond, also while the preview stands paused.
    const bool started = sdl::SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) == 0;
    if (AWindow) {
        char name[64] = "";
        avutil::av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n",
                       sdl::SDL_AudioDriverName(name, sizeof name) ? name : "");
        avutil::av_log(nullptr, AV_LOG_DEBUG, "using video driver: %s\n",
                       sdl::SDL_VideoDriverName(name, sizeof name) ? name : "");
        unsetenv("SDL_WINDOWID");
    }
    FSDLStarted = started;
    if (!started) {
        ReportError(::Format(u"Could not initialize SDL with ScreenHandle(%u): %s",
                             {reinterpret_cast<uintptr_t>(AWindow), sdl::SDL_GetError()}),
                    true);
        // What the failed start did start (its timer thread) stops again,
        // unless SDL was running before.
        if (!before) sdl::SDL_Quit();
        return false;
    }
    if (!AWindow || !win::IsWindow(AWindow)) return true;
    UnhookScreenWindow();
    auto hook = std::make_shared<THostHook>();
    hook->Player = this;
    hook->Window = AWindow;
    hook->OwnProc = reinterpret_cast<win::WNDPROC>(win::GetWindowLong(AWindow, win::GWL_WNDPROC));
    FHookWndProc = win::MakeObjectInstance([hook](TMessage& AMessage) {
        if (hook->Player)
            hook->Player->ScreenWndProc(AMessage);
        else
            AMessage.Result = win::CallWindowProc(hook->OwnProc, hook->Window, AMessage.Msg, AMessage.WParam,
                                                  AMessage.LParam);
    });
    if (!FHookWndProc) return true;
    FHostHook = hook;
    win::SetWindowLong(AWindow, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(FHookWndProc));
    return true;
}

void TCustomPlayer::LeaveScreenWindow() {
    UnhookScreenWindow();
    // SDL has let go of the native window: the host paints itself again
    // instead of keeping the last picture.
    if (FNativeHost && win::IsWindow(FNativeHost)) win::ReleaseNativeWindow(FNativeHost);
    FNativeHost = nullptr;
}

void TCustomPlayer::UnhookScreenWindow() {
    if (!FHostHook) return;
    const win::HWND window = FHostHook->Window;
    const bool alive = win::IsWindow(window);
    const bool onTop = alive && win::GetWindowLong(window, win::GWL_WNDPROC) ==
                                    reinterpret_cast<win::LONG_PTR>(FHookWndProc);
    if (onTop)
        win::SetWindowLong(window, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(FHostHook->OwnProc));
    // Somebody who subclassed the window after us still calls our procedure:
    // it stays and passes everything on.
    FHostHook->Player = nullptr;
    if (onTop || !alive) win::FreeObjectInstance(FHookWndProc);
    FHostHook.reset();
    FHookWndProc = nullptr;
}

void TCustomPlayer::ScreenWndProc(TMessage& AMessage) {
    using namespace win;
    const HWND window = FHostHook->Window;
    const WNDPROC ownProc = FHostHook->OwnProc;
    const std::shared_ptr<TVideoState> is = VideoState();
    auto own = [&] {
        AMessage.Result = CallWindowProc(ownProc, window, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    };
    auto push = [this](Uint8 AType, Integer AWidth, Integer AHeight) {
        SDL_Event event{};
        event.type = AType;
        if (AType == SDL_VIDEORESIZE) {
            event.resize.w = AWidth;
            event.resize.h = AHeight;
        }
        PostEvent(event);
    };
    switch (AMessage.Msg) {
        case WM_PAINT: {
            // SDL draws this window itself; it only needs to know when.
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            if (is) push(SDL_VIDEOEXPOSE, 0, 0);
            AMessage.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            AMessage.Result = 1;
            return;
        case WM_WINDOWPOSCHANGED: {
            own();
            RECT client{};
            GetClientRect(window, &client);
            const Integer width = client.right - client.left, height = client.bottom - client.top;
            if (is && width > 0 && height > 0 && (width != Fscreen_width || height != Fscreen_height))
                push(SDL_VIDEORESIZE, width, height);
            return;
        }
        case WM_CLOSE:
            AMessage.Result = 0;
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            SetFocus(window);
            own();
            return;
        default:
            own();
            return;
    }
}

void TCustomPlayer::Stop(bool AWaitForStop) {
    if (const std::shared_ptr<TVideoState> is = VideoState()) {
        if (is->paused) TogglePauseState();
        ClearStep();
        PushQuitEvent(is.get());
        if (AWaitForStop) WaitForStop();
    }
    if (!AWaitForStop) return;
    // A playback that ended by itself may still be on its way out.
    while (FStopEvent.WaitFor(100) != wrSignaled)
        if (OnGuiThread()) ProcessPendingMessages();
    QuitSDL();
    if (OnGuiThread()) LeaveScreenWindow();
}

void TCustomPlayer::WaitForStop() {
    for (Integer round = 1;;) {
        if (FStopEvent.WaitFor(100) == wrSignaled) return;
        if (OnGuiThread()) ProcessPendingMessages();
        const std::shared_ptr<TVideoState> is = VideoState();
        // The play thread has closed the file and is on its way out.
        if (!is) continue;
        std::unique_lock<TDataLock> lock(FDataLock, std::chrono::milliseconds(100));
        if (!lock.owns_lock() || VideoState() != is) continue;
        if (round <= 10 || (!is->Reading && round <= 20)) {
            ++round;
            PushQuitEvent(is.get());
            continue;
        }
        ExitPlayback();
        return;
    }
}

void TCustomPlayer::Pause() {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is || is->paused) return;
    TogglePauseState();
    ClearStep();
    SetPlayState(psPause);
}

void TCustomPlayer::Resume() {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is || !is->paused) return;
    TogglePauseState();
    ClearStep();
    SetPlayState(psResume);
}

void TCustomPlayer::TogglePause() {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    TogglePauseState();
    ClearStep();
    SetPlayState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame() {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    const bool stepping = Fstep.exchange(true);
    // Counted before the pause ends: the video thread owes one picture per step.
    ++FStepPending;
    WakeState(*is);
    if (is->paused) TogglePauseState();
    if (!stepping) SetPlayState(psStep);
}

void TCustomPlayer::ToggleAudioDisplay() {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    is->show_audio = (is->show_audio + 1) % 3;
    // The play thread owns the screen: it clears and redraws on re-layout.
    PushRelayoutEvent(is.get());
}

void TCustomPlayer::Seek(Int64 APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    if (ASeekFlags.Contains(sfByte)) {
        RequestSeek(APTS, 0, ASeekFlags, AWaitForSeekEnd);
        return;
    }
    Int64 target = APTS;
    if (is->Duration >= 0 && target > is->Duration) target = is->Duration;
    if (is->StartTime != AV_NOPTS_VALUE) target += is->StartTime;
    RequestSeek(target, APTS <= 0 ? 1 : 0, ASeekFlags, AWaitForSeekEnd);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    const std::shared_ptr<TVideoState> is = VideoState();
    if (!is) return;
    if (ASeekFlags.Contains(sfByte)) {
        AVFormatContext* ic = is->ic;
        if (!ic) return;
        const Int64 step = ic->bit_rate ? Int64(ADelta * ic->bit_rate / 8.0) : Int64(ADelta * 180000.0);
        const Int64 position = ic->pb ? avformat::avio_seek(ic->pb, 0, SEEK_CUR) : 0;
        RequestSeek(position + step, step, ASeekFlags, AWaitForSeekEnd);
        return;
    }
    const double target = GetMasterClock(*is) + ADelta;
    RequestSeek(Round(target * AV_TIME_BASE), Round(ADelta * AV_TIME_BASE), ASeekFlags, AWaitForSeekEnd);
}

TBitmap* TCustomPlayer::CurrentFrame() {
    Int64 pts = 0;
    return CurrentFrame(pts);
}

TBitmap* TCustomPlayer::CurrentFrame(Int64& APTS) {
    if (!FRGBContext.Bitmap) FRGBContext.Bitmap = CreateFrameBitmap(0, 0, FRGBContext.BMPPixFmt);
    TBitmap* bitmap = FRGBContext.Bitmap;
    const std::shared_ptr<TVideoState> is = VideoState();
    // The play thread may replace the overlays meanwhile: the picture queue's
    // lock keeps them while they are copied.
    std::unique_lock<std::mutex> lock;
    if (is) lock = std::unique_lock<std::mutex>(is->pictq_mutex);
    if (!is || !is->video_st) {
        bitmap->SetSize(0, 0);
        APTS = -1;
        return bitmap;
    }
    bitmap->SetSize(is->video_st.load()->codecpar->width, is->video_st.load()->codecpar->height);
    bitmap->Canvas()->Brush()->SetColor(clBlack);
    bitmap->Canvas()->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
    const Integer index = is->pictq_shown >= 0 ? is->pictq_shown : is->pictq_rindex;
    TPictureSlot& slot = is->pictq[index];
    APTS = Round(slot.pts * AV_TIME_BASE) - is->StartTime;
    if (slot.overlay) {
        sdl::SDL_LockYUVOverlay(slot.overlay);
        const TAVPicture picture = OverlayPicture(slot.overlay);
        if (!PictureToBitmap(FRGBContext, &picture, AV_PIX_FMT_YUV420P, slot.width, slot.height))
            bitmap->SetSize(0, 0);
        sdl::SDL_UnlockYUVOverlay(slot.overlay);
    }
    bitmap->Canvas()->Brush()->SetStyle(bsClear);
    return bitmap;
}

void TCustomPlayer::UpdateScreenPosition() {
    const std::shared_ptr<TVideoState> is = VideoState();
    // Either X11 choice; SDL's own choice is left alone.
    if (!is || !FScreenHandle || FVideoDriver == vdDefault) return;
    // The X subwindow moves with its window by itself; SDL only redraws.
    SDL_Event event{};
    event.type = SDL_VIDEOEXPOSE;
    PostEvent(event);
}

void TCustomPlayer::UpdatePosition(TVideoState* is) {
    if (!is || is->IsImage2) return;
    Int64 pos;
    if (is->video_stream >= 0) {
        pos = Round(GetVideoClock(*is) * AV_TIME_BASE) - is->StartTime;
    } else if (is->audio_stream >= 0) {
        pos = Round(GetAudioClock(*is) * AV_TIME_BASE) - is->StartTime;
        const Int64 audioDuration = is->AudioDuration;
        if (audioDuration > 0 && pos >= audioDuration && is->Duration > audioDuration) pos = is->Duration;
    } else {
        return;
    }
    FCurrentPTS = pos;
    if (is->Duration > 0 && pos >= is->Duration) {
        pos = is->Duration;
        if (FLastPTS != is->Duration) FLastPTS = 0;
    }
    if (PositionMoved(FLastPTS, pos)) {
        FLastPTS = pos;
        if (OnPosition()) PushPlayEvent(pekPosition, pos);
    }
    // Reported once, also without video: a seek starts the count again.
    if (!is->IsDevice && is->ReachEOF && !is->EventEOF.exchange(1)) SetPlayState(psEnd);
    const Int64 playTime = FPlayTime;
    if (playTime != AV_NOPTS_VALUE) {
        const Int64 start = Fstart_time;
        if (pos >= (start != AV_NOPTS_VALUE ? start + playTime : playTime)) {
            switch (FRepeatType.load()) {
                case rtStop:
                    Stop(false);
                    break;
                case rtLoop:
                    if (start != AV_NOPTS_VALUE)
                        Seek(start, TSeekFlags{}, false);
                    else
                        Seek(Int64{0}, TSeekFlags{sfAny}, false);
                    break;
                case rtNone:
                    break;
            }
        }
    }
}

void TCustomPlayer::SetPlayState(TPlayState AState) {
    FState = AState;
    if (OnState())
        PushPlayEvent(pekState, AState);
    else if (AState == psStop)
        PushPlayEvent(pekQuit, 0);
}

void TCustomPlayer::QuitSDL() {
    // SDL is one per process: a player quits only what it started.
    if (FSDLStarted.exchange(false)) sdl::SDL_Quit();
}

void TCustomPlayer::PushPlayEvent(Integer AKind, Int64 AValue) {
    if (FPlayEvent) FPlayEvent->Push(AKind, AValue);
}

void TCustomPlayer::RaisePlayEvent(const TPlayEventItem& AItem) {
    if (AItem.Kind == pekPosition) {
        if (const TPositionEvent handler = OnPosition()) handler(this, AItem.Value);
    } else if (AItem.Kind == pekState) {
        if (const TPlayStateEvent handler = OnState()) handler(this, static_cast<TPlayState>(AItem.Value));
    }
}

void TCustomPlayer::PlayThreadExecute() {
    SetPlayState(psPlay);
    try {
        RunEventLoop();
    } catch (const std::exception& e) {
        GetLogger()->Log(this, llFatal, u"PlayThread Exception: " + UTF8ToString(e.what()));
        std::lock_guard<TDataLock> guard(FDataLock);
        ExitPlayback();
    }
    SetPlayState(psStop);
    FStopEvent.SetEvent();
}

namespace {

// What a form description may set on the player.
const auto Registered = [] {
    RegisterEnum<TAudioDriver>({u"adDefault", u"adDirectSound", u"adWaveOut", u"adDummy", u"adDisk"});
    RegisterEnum<TVideoDriver>({u"vdDefault", u"vdDirectDraw", u"vdGDI"});
    return RegisterClass<TFFPlayer, TComponent>()
        .Property(u"AudioDriver", &TFFPlayer::AudioDriver, &TFFPlayer::SetAudioDriver)
        .Property(u"AudioVolume", &TFFPlayer::AudioVolume, &TFFPlayer::SetAudioVolume)
        .Property(u"Hook", &TFFPlayer::Hook, &TFFPlayer::SetHook)
        .Property(u"Mute", &TFFPlayer::Mute, &TFFPlayer::SetMute)
        .Property(u"TriggerEventInMainThread", &TFFPlayer::TriggerEventInMainThread,
                  &TFFPlayer::SetTriggerEventInMainThread)
        .Property(u"VideoDriver", &TFFPlayer::VideoDriver, &TFFPlayer::SetVideoDriver)
        .Event(u"OnFileOpen", &TFFPlayer::SetOnFileOpen)
        .Event(u"OnHook", &TFFPlayer::SetOnHook)
        .Event(u"OnPosition", &TFFPlayer::SetOnPosition)
        .Event(u"OnState", &TFFPlayer::SetOnState);
}();

}  // namespace
