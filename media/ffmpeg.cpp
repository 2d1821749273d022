#include "media/ffmpeg.h"

#include <algorithm>
#include <functional>

#include "media/avcodecstubs.h"
#include "media/avfilterstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "media/ffmpegstreams.h"
#include "media/myutils.h"
#include "media/myutilstubs.h"
#include "media/unicodeprotocol.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"

namespace {

TCriticalSection& ThePostHookLock() {
    static TCriticalSection lock;
    return lock;
}

// Runs AStep of AOwner with AEvent reset, and sets the event again whatever
// happens: the event tells that no such thread runs.
void RunUnsignalled(TEvent& AEvent, TCustomFFmpeg* AOwner, const std::function<void(TCustomFFmpeg*)>& AStep) {
    if (!AOwner) return;
    AEvent.ResetEvent();
    try {
        AStep(AOwner);
    } catch (...) {
        AEvent.SetEvent();
        throw;
    }
    AEvent.SetEvent();
}

bool TranscoderLoaded() {
    return LibLoader.Loaded(TranscoderLibraries);
}

}  // namespace

TCriticalSection& PostHookLock = ThePostHookLock();

TOutputFileSetup& OutputSetup(const AVFormatContext* AContext) {
    return *static_cast<TOutputFileSetup*>(AContext->opaque);
}

TInputFileSetup& InputSetup(const AVFormatContext* AContext) {
    return *static_cast<TInputFileSetup*>(AContext->opaque);
}

// --- Threads ---

TConvertThread::TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority)
    : TThread(true), FOwner(AOwner) {
    SetFreeOnTerminate(true);
    SetPriority(APriority);
}

void TConvertThread::Execute() {
    if (FOwner)
        RunUnsignalled(FOwner->FStopEvent, FOwner, [](TCustomFFmpeg* AOwner) { AOwner->DoConvert(); });
}

TDoTerminateThread::TDoTerminateThread(TCustomFFmpeg* AOwner) : TThread(true), FOwner(AOwner) {
    SetFreeOnTerminate(true);
    Start();
}

void TDoTerminateThread::Execute() {
    if (FOwner)
        RunUnsignalled(FOwner->FTermEvent, FOwner, [](TCustomFFmpeg* AOwner) { AOwner->DoTerminate(); });
}

// --- The engine ---

TCustomFFmpeg::TCustomFFmpeg(Integer AMaxFiles) {
    Assert(AMaxFiles > 0 && AMaxFiles <= MAX_FILES);
    FMaxFiles = AMaxFiles;
    Finput_files.assign(FMaxFiles, nullptr);
    Finput_files_ts_offset.assign(FMaxFiles, 0);
    Finput_files_ts_scale.assign(FMaxFiles, {});
    Foutput_files.assign(FMaxFiles, nullptr);
    Fstream_maps.assign(static_cast<size_t>(FMaxFiles) * MAX_STREAMS, {});
    Fmeta_data_maps.assign(FMaxFiles, {});
    InitFFOptions(FOptions);
    SetDefaults();
}

TCustomFFmpeg::~TCustomFFmpeg() {
    WaitForWorkers();
    Cleanup();
}

void TCustomFFmpeg::WaitForWorkers() {
    Stop(true);
    FTermEvent.WaitFor(INFINITE);
}

void TCustomFFmpeg::SetDefaults() {
    Flast_asked_format.clear();
    Fframe_width = 0;
    Fframe_height = 0;
    Fframe_aspect_ratio = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
    Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    Fframe_topBand = Fframe_bottomBand = Fframe_leftBand = Fframe_rightBand = 0;
    Fmax_frames.fill(INT32_MAX);
    Fframe_rate = {0, 0};
    Fvideo_qscale = 0;
    Fintra_matrix.reset();
    Finter_matrix.reset();
    Fvideo_rc_override_string.clear();
    Fvideo_disable = false;
    Fvideo_discard = 0;
    Fvideo_codec_name.clear();
    Fvideo_codec_tag = 0;
    Fvideo_language.clear();
    Fsame_quality = false;
    Fdo_deinterlace = false;
    Ftop_field_first = -1;
    Fme_threshold = 0;
    Fintra_dc_precision = 8;
    Floop_input = false;
    Floop_output = -1;
    Fqp_hist = false;
    Fvfilters.clear();
    FEnableFilter = false;
    Fintra_only = false;
    Faudio_sample_rate = 44100;
    Fchannel_layout = 0;
    Faudio_qscale = -99999.0f;
    Faudio_disable = false;
    Faudio_channels = 2;
    Faudio_codec_name.clear();
    Faudio_codec_tag = 0;
    Faudio_language.clear();
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    Fmux_preload = 0.5f;
    Fmux_max_delay = 0.7f;
    Frecording_time = INT64_MAX;
    Fstart_time = 0;
    Frecording_timestamp = 0;
    Finput_ts_offset = 0;
    Fdo_hex_dump = false;
    Fdo_pkt_dump = false;
    Fdo_psnr = false;
    Fdo_pass = 0;
    Fpass_logfilename_prefix.clear();
    Faudio_stream_copy = Fvideo_stream_copy = Fsubtitle_stream_copy = 0;
    Fvideo_sync_method = -1;
    Faudio_sync_method = 0;
    Faudio_drift_threshold = 0.1f;
    Fcopy_ts = false;
    Fopt_shortest = false;
    Fvideo_global_header = 0;
    Fvstats_filename.clear();
    Fvstats_file = nullptr;
    Fopt_programid = 0;
    Fcopy_initial_nonkeyframes = 0;
    Frate_emu = false;
    Fvideo_channel = 0;
    Fvideo_standard.clear();
    Faudio_volume = 256;
    Fexit_on_error = false;
    Fusing_vhook = false;
    Fverbose = 1;
    // As many codec threads as the libraries see fit: today's decoders and
    // encoders thread by frame or slice, which the classic ones did not.
    Fthread_count = 0;
    Fvideo_size = Faudio_size = Fextra_size = 0;
    Fnb_frames_dup = Fnb_frames_drop = 0;
    FShowDupOrDrop = false;
    Finput_sync = false;
    Flimit_filesize = 0;
    Fforce_fps = false;
    Fpgmyuv_compatibility_hack = 0;
    Fdts_delta_threshold = 10.0f;
    Fsws_flags = SWS_BICUBIC;
    Fvideo_bitstream_filters.clear();
    Faudio_bitstream_filters.clear();
    Fsubtitle_bitstream_filters.clear();

    Finput_files_ts_offset.assign(FMaxFiles, 0);
    Finput_files_ts_scale.assign(FMaxFiles, {});
    Finput_codecs.clear();
    Fnb_icodecs = 0;
    Foutput_codecs.clear();
    Fnb_ocodecs = 0;
    Fnb_stream_maps = 0;
    Fnb_meta_data_maps = 0;
    Fstreamid_map.fill(0);

    FTotalOutputDuration = -1;
    FFirstHook = nullptr;
    ResetRGBConvertContext(FHookContext.Context);
    FHookFrameNumber = 0;
    ResetPostHookContext();
    {
        TCriticalSectionGuard guard(PostHookLock);
        FPostHooks = {};
    }
    FFatalException = false;
    InitFFOptions(FOptions);
}

void TCustomFFmpeg::ResetPostHookContext() {
    std::shared_ptr<TPreviewer> previewer;
    {
        TCriticalSectionGuard guard(PostHookLock);
        previewer = std::move(FPostContext.Previewer);
        ResetRGBConvertContext(FPostContext.Context);
        FPostContext.preview_last_time = FPostContext.preview_cur_time = 0;
    }
    // Dropped outside the lock: freeing the window waits for the GUI thread.
    previewer.reset();
}

void TCustomFFmpeg::Reset() {
    if (!TranscoderLoaded()) return;
    WaitForWorkers();
    Cleanup();
    SetDefaults();
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTerminating = false;
    FTotalOutputDuration = -1;
    AllocFFOptions(FOptions, static_cast<Integer>(Fsws_flags));
}

void TCustomFFmpeg::CloseOutput(AVFormatContext* AContext) {
    bool created = false;
    if (!(AContext->oformat->flags & AVFMT_NOFILE) && AContext->pb) {
        CloseOutputIO(&AContext->pb);
        created = AContext->opaque && OutputSetup(AContext).Created;
    }
    if (auto* setup = static_cast<TOutputFileSetup*>(AContext->opaque)) {
        for (TOutputStreamSetup& stream : setup->Streams) {
            // The override table is the caller's to free, not the codec's.
            if (stream.Codec) avutil::av_freep(&stream.Codec->rc_override);
            avcodec::avcodec_free_context(&stream.Codec);
            avutil::av_dict_free(&stream.CodecOptions);
        }
        avutil::av_dict_free(&setup->MuxOptions);
        delete setup;
        AContext->opaque = nullptr;
    }
    // Only a file this engine made itself: a name that was never opened, or
    // a file that was there before, may be somebody else's.
    if (created) {
        const String name = FFmpegFileNameToWide(AContext->url);
        if (FileSizeByName(name) == 0) DeleteFile(name);
    }
    avformat::avformat_free_context(AContext);
}

void TCustomFFmpeg::CloseInput(AVFormatContext*& AContext) {
    if (!AContext) return;
    if (auto* setup = static_cast<TInputFileSetup*>(AContext->opaque)) {
        for (AVCodecContext*& codec : setup->Codecs)
            avcodec::avcodec_free_context(&codec);
        delete setup;
        AContext->opaque = nullptr;
    }
    CloseInputFile(&AContext);
}

void TCustomFFmpeg::ParkInputFiles() {
    for (Integer i = 0; i < Fnb_input_files; ++i)
        ParkInputFile(Finput_files[i]);
}

void TCustomFFmpeg::ResumeInputFiles() {
    for (Integer i = 0; i < Fnb_input_files; ++i)
        if (const Integer resumed = ResumeInputFile(Finput_files[i]); resumed < 0)
            throw FFmpegException(AVErrorText(FFmpegFileNameToWide(Finput_files[i]->url), resumed));
}

void TCustomFFmpeg::Cleanup() {
    if (!TranscoderLoaded()) return;
    FreeFFOptions(FOptions);
    for (Integer i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        // Join mode repeats one context; each is closed once.
        if (oc &&
            std::find(Foutput_files.begin(), Foutput_files.begin() + i, oc) == Foutput_files.begin() + i)
            CloseOutput(oc);
    }
    std::fill(Foutput_files.begin(), Foutput_files.end(), nullptr);
    Fnb_output_files = 0;
    for (Integer i = 0; i < Fnb_input_files; ++i)
        CloseInput(Finput_files[i]);
    Fnb_input_files = 0;

    Fintra_matrix.reset();
    Finter_matrix.reset();
    if (Fvstats_file) {
        myutil::fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.clear();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;

    FConversion.reset();
    Fsamples = {};
    Finput_tmp = {};
    Faudio_buf = {};
    FSubtitleBuffer = {};
    avutil::av_frame_free(&FHookBuf);
    ReleaseFrameHooks(FFirstHook);
    ResetRGBConvertContext(FHookContext.Context);
    ResetPostHookContext();
}

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority) {
    // A terminate already on its way counts as terminated.
    if (FConverting || FTerminated || FTerminating) return nullptr;
    const char16_t* missing = Fnb_output_files <= 0  ? u"At least one output file must be specified"
                              : Fnb_input_files == 0 ? u"At least one input file must be specified"
                                                     : nullptr;
    if (missing) {
        Cleanup();
        ReportFatal(missing);
        DoTerminate();
        return nullptr;
    }
    FConverting = true;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    if (!AUseThread) {
        DoConvert();
        return nullptr;
    }
    TConvertThread* thread = nullptr;
    try {
        thread = new TConvertThread(this, APriority);
    } catch (const Exception& e) {
        FConverting = false;
        Cleanup();
        ReportFatal(e.Message());
        DoTerminate();
        return nullptr;
    }
    // Before the caller can start it: a Stop right after the start must wait.
    FStopEvent.ResetEvent();
    std::lock_guard guard(FThreadLock);
    FThread = thread;
    return thread;
}

void TCustomFFmpeg::ReportFatal(const String& AMessage) {
    {
        std::lock_guard guard(FFatalLock);
        FFatalMessage = AMessage;
    }
    FFatalException = true;
    // A log handler that raises must not keep the task from ending.
    try {
        GetLogger()->Log(this, llQuiet, AMessage);
    } catch (...) {
    }
}

String TCustomFFmpeg::WithLibraryReason(const String& AMessage) {
    const String reason = LastLibraryError();
    if (reason.empty() || AMessage.find(reason) != String::npos) return AMessage;
    return AMessage + u" (" + reason + u")";
}

String TCustomFFmpeg::FatalMessage() const {
    std::lock_guard guard(FFatalLock);
    return FFatalMessage;
}

void TCustomFFmpeg::DoConvert() {
    // Whatever a step or a handler it calls raises ends the conversion with
    // its message, and the steps after it still run: the run must end.
    const auto guarded = [this](void (TCustomFFmpeg::*AStep)()) {
        try {
            (this->*AStep)();
            RethrowLogFailure();
        } catch (const Exception& e) {
            ReportFatal(WithLibraryReason(e.Message()));
        } catch (const std::exception& e) {
            ReportFatal(UTF8ToString(e.what()));
        } catch (...) {
            ReportFatal(u"Unknown exception");
        }
    };
    // This thread may have logged for other work before.
    ClearLibraryError();
    DiscardLogFailure();
    FFinished = false;
    guarded(&TCustomFFmpeg::RunConversion);
    guarded(&TCustomFFmpeg::CloseEncoderItems);
    guarded(&TCustomFFmpeg::CloseDecoderItems);
    guarded(&TCustomFFmpeg::Cleanup);
    guarded(&TCustomFFmpeg::DoTerminate);
}

void TCustomFFmpeg::CloseEncoderItems() {
    while (!FEncoderList.empty()) {
        AVCodecContext* codec = FEncoderList.front();
        FEncoderList.erase(FEncoderList.begin());
        avutil::av_freep(&codec->stats_in);
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_close(codec);
    }
}

void TCustomFFmpeg::CloseDecoderItems() {
    while (!FDecoderList.empty()) {
        AVCodecContext* codec = FDecoderList.front();
        FDecoderList.erase(FDecoderList.begin());
        TCriticalSectionGuard guard(CodecLock);
        avcodec::avcodec_close(codec);
    }
}

void TCustomFFmpeg::DoTerminate() {
    // Terminated first: StopOrTerminate, seeing the engine no longer
    // converting, must not take it for one that never started.
    FTerminated = true;
    FConverting = false;
    {
        std::lock_guard guard(FThreadLock);
        FThread = nullptr;
        FPaused = false;
    }
    FResumeEvent.SetEvent();
    if (FOnTerminate) FOnTerminate(this);
}

void TCustomFFmpeg::WaitWhilePaused() {
    FResumeEvent.WaitFor(INFINITE);
}

void TCustomFFmpeg::Unpause() {
    FPaused = false;
    FResumeEvent.SetEvent();
}

void TCustomFFmpeg::Stop(bool AWaitFor) {
    FBroken = true;
    {
        std::lock_guard guard(FThreadLock);
        if (FThread) {
            Unpause();
            FThread->Resume();
        }
    }
    if (!AWaitFor) return;
    // Waits also when no worker is known any more: one that has just
    // terminated still sets the event on its way out.
    while (FStopEvent.WaitFor(20) == wrTimeout) {
        // The wait itself runs the GUI thread's pending main-thread calls (a
        // worker may be waiting in one); window messages run here.
        if (IsMainThread()) ProcessMessagesHook();
    }
}

void TCustomFFmpeg::Pause() {
    std::lock_guard guard(FThreadLock);
    if (FThread && !FPaused) {
        FPaused = true;
        FResumeEvent.ResetEvent();
    }
}

void TCustomFFmpeg::Resume() {
    std::lock_guard guard(FThreadLock);
    if (!FThread) return;
    if (FPaused) Unpause();
    FThread->Resume();
}

void TCustomFFmpeg::StopOrTerminate(bool AWaitFor) {
    if (FConverting) {
        Stop(AWaitFor);
        return;
    }
    // One terminate thread at most, however often this is called before it runs.
    if (!FTerminated && !FTerminating.exchange(true)) {
        FTermEvent.ResetEvent();
        try {
            new TDoTerminateThread(this);
        } catch (...) {
            // No thread: nothing to wait for, and a later call may try again.
            FTermEvent.SetEvent();
            FTerminating = false;
            throw;
        }
    }
    if (AWaitFor) FTermEvent.WaitFor(INFINITE);
}

TPostHooks TCustomFFmpeg::PostHooks() const {
    TCriticalSectionGuard guard(PostHookLock);
    return FPostHooks;
}

void TCustomFFmpeg::SetPostHooks(TPostHooks AHooks) {
    std::shared_ptr<TPreviewer> detached;
    {
        TCriticalSectionGuard guard(PostHookLock);
        detached = DoSetPostHooks(AHooks);
    }
}

std::shared_ptr<TPreviewer> TCustomFFmpeg::DoSetPostHooks(TPostHooks AHooks) {
    std::shared_ptr<TPreviewer> detached;
    if (AHooks == FPostHooks) return detached;
    if (FPostHooks.Contains(phPreview) && !AHooks.Contains(phPreview))
        detached = std::move(FPostContext.Previewer);
    FPostHooks = AHooks;
    return detached;
}
