#include "media/ffmpeg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "mediatest.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/base/threads.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/graphicsobjects.h"

using ::testing::StartsWith;

namespace {

// The engine with the fields the tests look at in the open.
class TTestFFmpeg : public TCustomFFmpeg {
public:
    using TCustomFFmpeg::Faudio_bitstream_filters;
    using TCustomFFmpeg::Faudio_channels;
    using TCustomFFmpeg::Faudio_codec_name;
    using TCustomFFmpeg::Faudio_qscale;
    using TCustomFFmpeg::Faudio_sample_rate;
    using TCustomFFmpeg::Faudio_stream_copy;
    using TCustomFFmpeg::Faudio_volume;
    using TCustomFFmpeg::Fcopy_ts;
    using TCustomFFmpeg::Fdo_pass;
    using TCustomFFmpeg::Fdo_pkt_dump;
    using TCustomFFmpeg::FFirstHook;
    using TCustomFFmpeg::Fframe_aspect_ratio;
    using TCustomFFmpeg::Fframe_height;
    using TCustomFFmpeg::Fframe_pix_fmt;
    using TCustomFFmpeg::Fframe_rate;
    using TCustomFFmpeg::Fframe_topBand;
    using TCustomFFmpeg::Fframe_width;
    using TCustomFFmpeg::Finput_codecs;
    using TCustomFFmpeg::Finput_files;
    using TCustomFFmpeg::Finput_files_ts_scale;
    using TCustomFFmpeg::Fintra_matrix;
    using TCustomFFmpeg::Flast_asked_format;
    using TCustomFFmpeg::Flimit_filesize;
    using TCustomFFmpeg::Fmax_frames;
    using TCustomFFmpeg::Fmetadata;
    using TCustomFFmpeg::Fmux_preload;
    using TCustomFFmpeg::Fnb_stream_maps;
    using TCustomFFmpeg::FOptions;
    using TCustomFFmpeg::Foutput_files;
    using TCustomFFmpeg::Fpgmyuv_compatibility_hack;
    using TCustomFFmpeg::FPostContext;
    using TCustomFFmpeg::Frecording_time;
    using TCustomFFmpeg::Fstart_time;
    using TCustomFFmpeg::Fstream_maps;
    using TCustomFFmpeg::Fstreamid_map;
    using TCustomFFmpeg::Fusing_vhook;
    using TCustomFFmpeg::Fverbose;
    using TCustomFFmpeg::Fvfilters;
    using TCustomFFmpeg::Fvideo_bitstream_filters;
    using TCustomFFmpeg::Fvideo_codec_name;
    using TCustomFFmpeg::Fvideo_codec_tag;
    using TCustomFFmpeg::Fvideo_language;
    using TCustomFFmpeg::Fvideo_qscale;
    using TCustomFFmpeg::Fvideo_stream_copy;
    using TCustomFFmpeg::TCustomFFmpeg;

    AVCodecContext* Codec(Integer AFile, Integer AStream) const {
        return OutputSetup(Foutput_files[AFile]).Streams[AStream].Codec;
    }
    const AVDictionary* MuxOptions(Integer AFile) const {
        return OutputSetup(Foutput_files[AFile]).MuxOptions;
    }
};

String TempFile(const char16_t* AName) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "velqua-engine";
    std::filesystem::create_directories(folder);
    return UTF8ToString(folder.string()) + u"/" + AName;
}

std::string Text(const String& AText) {
    return StringToUTF8(AText);
}

std::vector<std::string> Texts(const std::vector<String>& ALines) {
    std::vector<std::string> texts;
    for (const String& line : ALines)
        texts.push_back(Text(line));
    return texts;
}

std::vector<Integer> FirstMap(const TTestFFmpeg& AEngine) {
    const TAVStreamMap& map = AEngine.Fstream_maps[0];
    return {AEngine.Fnb_stream_maps, map.file_index, map.stream_index, map.sync_file_index,
            map.sync_stream_index};
}

// Opens the encoder of an output stream as the conversion will, with its
// private options; the options it did not take are returned.
std::vector<AnsiString> OpenEncoder(TTestFFmpeg& AEngine, Integer AFile, Integer AStream) {
    const TOutputStreamSetup& setup = OutputSetup(AEngine.Foutput_files[AFile]).Streams[AStream];
    AVDictionary* options = nullptr;
    avutil::av_dict_copy(&options, setup.CodecOptions, 0);
    const int result = avcodec::avcodec_open2(setup.Codec, setup.Codec->codec, &options);
    std::vector<AnsiString> left;
    if (result < 0) left.push_back("open failed");
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = avutil::av_dict_get(options, "", entry, AV_DICT_IGNORE_SUFFIX)))
        left.push_back(AnsiString(entry->key) + "=" + entry->value);
    avutil::av_dict_free(&options);
    return left;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(TranscoderLibraries)) << Text(LibLoader.LastErrMsg());
        Engine = MakeEngine();
    }
    void TearDown() override {
        Engine.reset();
        WaitForSelfFreeingThreads();
        LibLoader.Unload(TranscoderLibraries);
    }
    std::unique_ptr<TTestFFmpeg> MakeEngine() {
        auto engine = std::make_unique<TTestFFmpeg>(20);
        engine->Reset();
        engine->SetVerbose(-1);
        engine->SetOnTerminate([this](TObject* Sender) {
            EXPECT_EQ(Sender, Engine.get());
            TerminatedOn = GetCurrentThreadId();
            ++Terminates;
            TerminateSeen.SetEvent();
        });
        return engine;
    }
    void Input(const char16_t* AName) {
        ASSERT_TRUE(Engine->OptInputFile(TestDataFile(AName))) << Text(Engine->LastErrMsg());
    }
    void Output(const String& AFileName, bool AJoin = false) {
        ASSERT_GT(Engine->OptOutputFile(AFileName, AJoin), 0) << Text(Engine->LastErrMsg());
    }
    void Set(const std::vector<std::pair<const char16_t*, const char16_t*>>& AOptions) {
        for (const auto& [name, value] : AOptions)
            Engine->SetOption(name, value);
    }
    // Converts the inputs into AOutput in this thread, with AOptions given
    // after the inputs; what the output holds.
    TProbedFile Convert(std::initializer_list<const char16_t*> AInputs, const String& AOutput,
                        const std::vector<std::pair<const char16_t*, const char16_t*>>& AOptions,
                        bool AJoin = false, bool ACollect = false) {
        for (const char16_t* input : AInputs)
            Input(input);
        Set(AOptions);
        Output(AOutput, AJoin);
        EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
        return ProbeMedia(AOutput, ACollect);
    }

    std::unique_ptr<TTestFFmpeg> Engine;
    std::atomic<Integer> Terminates{0};
    std::atomic<Cardinal> TerminatedOn{0};
    TEvent TerminateSeen;
};

// --- Lifecycle ---

TEST(EngineCreate, TakesOneTo512Files) {
    EXPECT_THROW(TCustomFFmpeg(0), EAssertionFailed);
    EXPECT_THROW(TCustomFFmpeg(513), EAssertionFailed);
    TCustomFFmpeg engine(512);
    EXPECT_EQ(engine.nb_input_files(), 0);
    EXPECT_EQ(engine.TotalOutputDuration(), -1);
}

TEST_F(EngineTest, StartWithoutFilesReportsOnceAndIsNotRaised) {
    EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
    EXPECT_EQ(Text(Engine->FatalMessage()), "At least one output file must be specified");
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_TRUE(Engine->Terminated());
    EXPECT_EQ(Terminates, 1);
    // Terminated: refused until the next reset.
    EXPECT_EQ(Engine->StartConvert(true, tpNormal), nullptr);
    EXPECT_EQ(Terminates, 1);

    Engine->Reset();
    Output(TempFile(u"noinput.avi"));
    EXPECT_EQ(Engine->StartConvert(true, tpNormal), nullptr);
    EXPECT_EQ(Text(Engine->FatalMessage()), "At least one input file must be specified");
    EXPECT_EQ(Terminates, 2);
    EXPECT_FALSE(FileExists(TempFile(u"noinput.avi")));
}

TEST_F(EngineTest, StoppingAPausedWorkerWaitsForItsEndAndLeavesAValidOutput) {
    const String output = TempFile(u"stopped.avi");
    Input(u"a.avi");
    Output(output);
    TThread* worker = Engine->StartConvert(true, tpLower);
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(worker->Suspended());
    EXPECT_EQ(Engine->StartConvert(true, tpNormal), nullptr);
    // Paused before it starts: it waits at its first packet.
    Engine->Pause();
    worker->Start();
    Engine->Stop(true);
    EXPECT_EQ(Terminates, 1);
    EXPECT_FALSE(Engine->Finished());
    EXPECT_FALSE(Engine->Converting());
    EXPECT_FALSE(Engine->FatalException());
    // Stopped before its first packet: headers and trailers, no picture.
    const TProbedFile probed = ProbeMedia(output);
    ASSERT_TRUE(probed.Opened);
    ASSERT_NE(probed.Find(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 0);
    Engine->Stop(true);
    EXPECT_EQ(Terminates, 1);
}

TEST_F(EngineTest, ResumedWorkerRunsToItsEnd) {
    Input(u"a.avi");
    Output(TempFile(u"resumed.avi"));
    TThread* worker = Engine->StartConvert(true, tpNormal);
    ASSERT_NE(worker, nullptr);
    Engine->Pause();
    // Resume also starts a worker nobody started.
    Engine->Resume();
    TerminateSeen.WaitFor(INFINITE);
    Engine->Stop(true);
    EXPECT_NE(TerminatedOn, GetCurrentThreadId());
    EXPECT_TRUE(Engine->Finished());
    EXPECT_FALSE(Engine->FatalException());
    EXPECT_EQ(Terminates, 1);
}

TEST_F(EngineTest, NeverStartedEngineTerminatesOnceFromAnotherThread) {
    Engine->StopOrTerminate(false);
    Engine->StopOrTerminate(true);
    EXPECT_EQ(Terminates, 1);
    EXPECT_NE(TerminatedOn, GetCurrentThreadId());
    Engine->StopOrTerminate(true);
    EXPECT_EQ(Terminates, 1);
    EXPECT_FALSE(Engine->Finished());
}

TEST_F(EngineTest, ResetStopsARunningConversionFirst) {
    Input(u"a.avi");
    Output(TempFile(u"reset.avi"));
    TThread* worker = Engine->StartConvert(true, tpNormal);
    ASSERT_NE(worker, nullptr);
    Engine->Pause();
    worker->Start();
    Engine->Reset();
    EXPECT_EQ(Terminates, 1);
    EXPECT_FALSE(Engine->Terminated());
    EXPECT_EQ(Engine->nb_input_files(), 0);
    Input(u"a.avi");
}

TEST_F(EngineTest, RemovingThePreviewHookFreesThePreviewWindow) {
    auto previewer = std::make_shared<TPreviewer>();
    const std::weak_ptr<TPreviewer> watch = previewer;
    Engine->SetPostHooks({phPreview, phBitmap});
    Engine->FPostContext.Previewer = std::move(previewer);
    Engine->SetPostHooks({phPreview, phBitmap});
    Engine->SetPostHooks({phBitmap});
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(Engine->PostHooks() == TPostHooks{phBitmap});

    previewer = std::make_shared<TPreviewer>();
    const std::weak_ptr<TPreviewer> second = previewer;
    Engine->FPostContext.Previewer = std::move(previewer);
    Engine->Cleanup();
    EXPECT_TRUE(second.expired());
}

TEST_F(EngineTest, PictureFailingWhileDrainingEndsTheConversionOnExitOnError) {
    // The damaged picture is the last but one: frame threads tell of it only
    // once the decoder is drained.
    Input(u"damaged.mkv");
    Set({{u"xerror", u"1"}, {u"vcodec", u"mpeg4"}});
    Output(TempFile(u"undecodable.avi"));
    EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_FALSE(Engine->Finished());
    EXPECT_EQ(Text(Engine->FatalMessage()), "Error while decoding stream #0.0 (Video)");
}

TEST_F(EngineTest, OutputWithDataSurvivesTheCleanup) {
    const String output = TempFile(u"written.avi");
    Input(u"a.avi");
    Output(output);
    EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
    EXPECT_TRUE(Engine->Finished());
    EXPECT_EQ(Engine->nb_output_files(), 0);
    EXPECT_GT(std::filesystem::file_size(Text(output)), 0u);
    std::filesystem::remove(Text(output));
}

// --- Options ---

TEST_F(EngineTest, OptionTable) {
    using TCheck = std::function<void(TTestFFmpeg&)>;
    const struct {
        std::vector<std::pair<const char16_t*, const char16_t*>> before;
        const char16_t* name;
        const char16_t* value;
        TCheck check;       // when the option is taken
        const char* error;  // the exact text of a refusal
    } cases[] = {
        {{}, u"dump", u"", [](TTestFFmpeg& e) { EXPECT_TRUE(e.Fdo_pkt_dump); }, nullptr},
        {{}, u"dump", u"0", [](TTestFFmpeg& e) { EXPECT_FALSE(e.Fdo_pkt_dump); }, nullptr},
        {{}, u"copyts", u"0", [](TTestFFmpeg& e) { EXPECT_TRUE(e.Fcopy_ts); }, nullptr},
        {{}, u"fs", u"5000000000", [](TTestFFmpeg& e) { EXPECT_EQ(e.Flimit_filesize, 5000000000); }, nullptr},
        {{}, u"vframes", u"100", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fmax_frames[0], 100); }, nullptr},
        {{}, u"ar", u"0", [](TTestFFmpeg& e) { EXPECT_EQ(e.Faudio_sample_rate, 44100); }, nullptr},
        {{}, u"vol", u"512", [](TTestFFmpeg& e) { EXPECT_EQ(e.Faudio_volume, 512); }, nullptr},
        {{}, u"v", u"abc", nullptr, "'abc' is not a valid integer value"},
        {{}, u"pass", u"2", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fdo_pass, 2); }, nullptr},
        {{}, u"pass", u"3", nullptr, "pass number can be only 1 or 2"},
        {{}, u"qscale", u"255", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fvideo_qscale, 255); }, nullptr},
        {{}, u"qscale", u"0", nullptr, "qscale must be > 0.0 and <= 255"},
        {{}, u"qscale", u"256", nullptr, "qscale must be > 0.0 and <= 255"},
        {{}, u"aq", u"3.5", [](TTestFFmpeg& e) { EXPECT_EQ(e.Faudio_qscale, 3.5f); }, nullptr},
        {{},
         u"t",
         u"1.5",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Frecording_time, 1500000);
             EXPECT_EQ(e.TotalOutputDuration(), 1500000);
         },
         nullptr},
        {{}, u"ss", u"00:01:02.5", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fstart_time, 62500000); }, nullptr},
        {{}, u"t", u"soon", nullptr, "Invalid duration specification for t: soon"},
        {{}, u"timestamp", u"someday", nullptr, "Invalid date specification for timestamp: someday"},
        {{}, u"threads", u"2", nullptr, "TODO: option - threads"},
        // Not "threads": the option contexts get it and nothing is raised.
        {{}, u"Threads", u"2", [](TTestFFmpeg&) {}, nullptr},
        {{}, u"padtop", u"8", nullptr, "Please use vfilters=pad"},
        {{},
         u"f",
         u"pgmyuv",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Flast_asked_format, "image2");
             EXPECT_EQ(e.Fpgmyuv_compatibility_hack, 1);
         },
         nullptr},
        {{{u"vcodec", u"mpeg4"}},
         u"vcodec",
         u"copy",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Fvideo_stream_copy, 1);
             EXPECT_EQ(e.Fvideo_codec_name, "");
         },
         nullptr},
        {{},
         u"vtag",
         u"XVID",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.Fvideo_codec_tag, MKTAG('X', 'V', 'I', 'D')); },
         nullptr},
        {{}, u"atag", u"abc", nullptr, "audio tag parameter must be 4 chars"},
        {{},
         u"b",
         u"900000",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 900000); },
         nullptr},
        {{},
         u"ab",
         u"64000",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 64000); },
         nullptr},
        {{},
         u"r",
         u"29.97",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Fframe_rate.num, 2997);
             EXPECT_EQ(e.Fframe_rate.den, 100);
         },
         nullptr},
        {{}, u"r", u"fast", nullptr, "Incorrect frame rate"},
        {{},
         u"s",
         u"1280*720",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Fframe_width, 1280);
             EXPECT_EQ(e.Fframe_height, 720);
         },
         nullptr},
        {{}, u"s", u"big", nullptr, "Incorrect frame size"},
        {{},
         u"aspect",
         u"16:9",
         [](TTestFFmpeg& e) { EXPECT_FLOAT_EQ(e.Fframe_aspect_ratio, 16.0f / 9); },
         nullptr},
        {{}, u"aspect", u"4:0", nullptr, "Incorrect aspect ratio specification."},
        {{},
         u"pix_fmt",
         u"yuv422p",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.Fframe_pix_fmt, AV_PIX_FMT_YUV422P); },
         nullptr},
        {{}, u"pix_fmt", u"nope", nullptr, "Unknown pixel format requested: nope"},
        {{{u"s", u"320x240"}},
         u"croptop",
         u"10",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(e.Fframe_topBand, 10);
             EXPECT_EQ(e.Fframe_height, 230);
         },
         nullptr},
        {{{u"s", u"320x240"}},
         u"cropleft",
         u"320",
         nullptr,
         "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first "
         "and "
         "scale second."},
        {{},
         u"intra_matrix",
         u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,"
         u"31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,"
         u"59,60,61,62,63,64",
         [](TTestFFmpeg& e) {
             ASSERT_TRUE(e.Fintra_matrix);
             EXPECT_EQ((*e.Fintra_matrix)[0], 1);
             EXPECT_EQ((*e.Fintra_matrix)[63], 64);
         },
         nullptr},
        {{},
         u"intra_matrix",
         u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,"
         u"31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,"
         u"59,60,61,62,63",
         nullptr,
         "Syntax error in matrix "
         "\"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,"
         "30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,59,60,61,62,"
         "63\" "
         "at coeff 62"},
        {{},
         u"itsscale",
         u"19:2",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.Finput_files_ts_scale[0][19], 2.0); },
         nullptr},
        {{}, u"itsscale", u"20:2", nullptr, "stream index over MAX_STREAMS(20)"},
        {{}, u"itsscale", u"-1:2", nullptr, "stream index over MAX_STREAMS(20)"},
        {{},
         u"metadata",
         u"title=a=b",
         [](TTestFFmpeg& e) {
             ASSERT_EQ(e.Fmetadata.size(), 1u);
             EXPECT_EQ(e.Fmetadata[0].first, "title");
             EXPECT_EQ(e.Fmetadata[0].second, "a=b");
         },
         nullptr},
        {{}, u"metadata", u"title", nullptr, "Missing ="},
        {{},
         u"streamid",
         u"3:",
         nullptr,
         "Invalid value \"3:\" for option \"streamid\", required syntax is \"index:value\""},
        {{},
         u"streamid",
         u":5",
         nullptr,
         "Invalid value \":5\" for option \"streamid\", required syntax is \"index:value\""},
        {{},
         u"streamid",
         u"20:1",
         nullptr,
         "Invalid value \"20:1\" for option \"streamid\", required syntax is \"index:value\""},
        {{}, u"streamid", u"3:77", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fstreamid_map[3], 77); }, nullptr},
        {{},
         u"map",
         u"0:1",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(FirstMap(e), std::vector<Integer>({1, 0, 1, 0, 1}));
         },
         nullptr},
        {{},
         u"map",
         u"1.0:0.1",
         [](TTestFFmpeg& e) {
             EXPECT_EQ(FirstMap(e), std::vector<Integer>({1, 1, 0, 0, 1}));
         },
         nullptr},
        {{},
         u"vbsf",
         u"h264_mp4toannexb",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.Fvideo_bitstream_filters.size(), 1u); },
         nullptr},
        {{},
         u"absf",
         u"=x",
         [](TTestFFmpeg& e) { EXPECT_TRUE(e.Faudio_bitstream_filters.empty()); },
         nullptr},
        {{}, u"absf", u"nosuch=1", nullptr, "Unknown bitstream filter nosuch=1"},
        {{},
         u"vhook",
         u"/nonexistent/hook.so arg",
         nullptr,
         "Failed to add video hook function: /nonexistent/hook.so arg"},
        {{}, u"vf", u"", [](TTestFFmpeg& e) { EXPECT_EQ(e.Fvfilters, ""); }, nullptr},
        {{},
         u"vfilters",
         u"scale=160:120",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.Fvfilters, "scale=160:120"); },
         nullptr},
        {{}, u"fpre", u"/nonexistent.ffpreset", nullptr, "Preset \"/nonexistent.ffpreset\" not found"},
        {{}, u"vpre", u"nosuch", nullptr, "Preset \"nosuch\" not found"},
        // The preset's lines go to the contexts: the libx264 ones are kept
        // for the video encoders.
        {{{u"vcodec", u"libx264"}},
         u"vpre",
         u"hq",
         [](TTestFFmpeg& e) {
             AVDictionary* options = CodecPrivateOptions(e.FOptions, AVMEDIA_TYPE_VIDEO);
             EXPECT_EQ(MetadataValue(options, "me_method", u"-"), u"umh");
             avutil::av_dict_free(&options);
         },
         nullptr},
        {{},
         u"vpre",
         u"LIBX264-HQ",
         [](TTestFFmpeg& e) { EXPECT_EQ(e.FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]->me_subpel_quality, 8); },
         nullptr},
        {{}, u"target", u"pal-vhs", nullptr, "Unknown target type"},
        {{}, u"target", u"dvd", nullptr, "frame_rate is invalid."},
        {{}, u"newvideo", u"", nullptr, "At least one output file must be specified"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(String(c.name) + u"=" + c.value));
        Engine = MakeEngine();
        for (const auto& [name, value] : c.before)
            Engine->SetOption(name, value);
        try {
            Engine->SetOption(c.name, c.value);
            if (c.error) ADD_FAILURE() << "not refused";
            if (c.check) c.check(*Engine);
        } catch (const Exception& e) {
            if (c.error) {
                EXPECT_EQ(Text(e.Message()), c.error);
            } else {
                ADD_FAILURE() << Text(e.Message());
            }
        }
    }
}

TEST_F(EngineTest, VideoRatesStayOffTheAudioEncoder) {
    Input(u"a.avi");
    // In the order the task component gives them: audio first.
    Set({{u"ab", u"64000"}, {u"b", u"816000"}, {u"maxrate", u"900000"}, {u"bufsize", u"1000000"}});
    Output(TempFile(u"rates.avi"));
    EXPECT_EQ(Engine->Codec(0, 0)->bit_rate, 816000);
    EXPECT_EQ(Engine->Codec(0, 0)->rc_max_rate, 900000);
    EXPECT_EQ(Engine->Codec(0, 1)->bit_rate, 64000);
    EXPECT_EQ(Engine->Codec(0, 1)->rc_max_rate, 0);
    EXPECT_EQ(Engine->Codec(0, 1)->rc_buffer_size, 0);
}

TEST_F(EngineTest, DvdTargetForPal) {
    Set({{u"target", u"pal-dvd"}});
    EXPECT_EQ(Engine->Fframe_width, 720);
    EXPECT_EQ(Engine->Fframe_height, 576);
    EXPECT_EQ(av_cmp_q(Engine->Fframe_rate, {25, 1}), 0);
    EXPECT_EQ(Engine->Flast_asked_format, "dvd");
    EXPECT_EQ(Engine->Faudio_sample_rate, 48000);
    EXPECT_FLOAT_EQ(Engine->Fframe_aspect_ratio, 16.0f / 9);

    Output(TempFile(u"dvd.vob"));
    AVCodecContext* video = Engine->Codec(0, 0);
    EXPECT_STREQ(video->codec->name, "mpeg2video");
    EXPECT_EQ(video->width, 720);
    EXPECT_EQ(video->gop_size, 15);
    EXPECT_EQ(video->bit_rate, 6000000);
    EXPECT_EQ(av_cmp_q(video->time_base, {1, 25}), 0);
    EXPECT_EQ(av_cmp_q(video->sample_aspect_ratio, {64, 45}), 0);
    EXPECT_STREQ(Engine->Codec(0, 1)->codec->name, "ac3");
    EXPECT_EQ(Engine->Codec(0, 1)->bit_rate, 448000);
    EXPECT_EQ(Engine->Foutput_files[0]->packet_size, 2048u);
    EXPECT_EQ(MetadataValue(Engine->MuxOptions(0), "muxrate", u"-"), u"10080000");
    EXPECT_EQ(MetadataValue(Engine->MuxOptions(0), "preload", u"-"), u"500000");
    EXPECT_THAT(OpenEncoder(*Engine, 0, 0), ::testing::IsEmpty());
}

TEST_F(EngineTest, DvdTargetGuessesTheNormFromTheInput) {
    Input(u"a.avi");  // 25 frames per second
    Set({{u"r", u"30"}, {u"target", u"dvd"}});
    EXPECT_EQ(Engine->Fframe_width, 720);
    EXPECT_EQ(Engine->Fframe_height, 576);
    EXPECT_EQ(av_cmp_q(Engine->Fframe_rate, {25, 1}), 0);
}

TEST_F(EngineTest, SvcdScanOffsetReachesTheMpeg2Encoder) {
    Set({{u"target", u"ntsc-svcd"}});
    Output(TempFile(u"svcd.mpg"));
    EXPECT_EQ(Engine->Codec(0, 0)->height, 480);
    EXPECT_THAT(OpenEncoder(*Engine, 0, 0), ::testing::IsEmpty());
}

TEST_F(EngineTest, VpreAfterVcodecOpensLibx264WithTheBuiltinPreset) {
    Input(u"a.avi");
    Set({{u"vcodec", u"libx264"}, {u"vpre", u"default"}});
    Output(TempFile(u"x264.mp4"));
    EXPECT_STREQ(Engine->Codec(0, 0)->codec->name, "libx264");
    EXPECT_EQ(Engine->Codec(0, 0)->max_b_frames, 3);
    // The encoder's own options of the preset are handed to it, and it takes them all.
    const AVDictionary* own = OutputSetup(Engine->Foutput_files[0]).Streams[0].CodecOptions;
    EXPECT_EQ(MetadataValue(own, "direct-pred", u"-"), u"1");
    EXPECT_EQ(MetadataValue(own, "8x8dct", u"-"), u"1");
    EXPECT_THAT(OpenEncoder(*Engine, 0, 0), ::testing::IsEmpty());
}

TEST_F(EngineTest, EveryBuiltinPresetOpensLibx264) {
    ASSERT_EQ(BuiltinPresets().size(), 36u);
    EXPECT_EQ(BuiltinPresets().front().Name, "libx264-baseline");
    for (const TOptionsPreset& preset : BuiltinPresets()) {
        SCOPED_TRACE(preset.Name);
        Engine = MakeEngine();
        Input(u"a.avi");
        Set({{u"vcodec", u"libx264"}, {u"an", u""}});
        Engine->SetOption(u"vpre", UTF8ToString(preset.Name));
        Output(TempFile(u"preset.mkv"));
        EXPECT_THAT(OpenEncoder(*Engine, 0, 0), ::testing::IsEmpty());
    }
}

TEST_F(EngineTest, VideoHookOption) {
    Set({{u"vhook", UTF8ToString(HOOK_DIR "/hook_full.so|-o|x y").c_str()}});
    EXPECT_TRUE(Engine->Fusing_vhook);
    ASSERT_NE(Engine->FFirstHook, nullptr);
    try {
        Set({{u"vhook", UTF8ToString(HOOK_DIR "/hook_no_process.so").c_str()}});
        ADD_FAILURE() << "not refused";
    } catch (const FFmpegException& e) {
        EXPECT_EQ(Text(e.Message()), "Failed to add video hook function: " HOOK_DIR "/hook_no_process.so");
    }
    Engine->Cleanup();
    EXPECT_EQ(Engine->FFirstHook, nullptr);
}

// --- Files ---

TEST_F(EngineTest, InputTakesItsStreamsSettingsForTheNextOutput) {
    Input(u"中文视频.avi");
    EXPECT_EQ(Engine->nb_input_files(), 1);
    EXPECT_EQ(Engine->Fframe_width, 320);
    EXPECT_EQ(Engine->Fframe_height, 240);
    EXPECT_EQ(Engine->Fframe_pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(av_cmp_q(Engine->Fframe_rate, {25, 1}), 0);
    EXPECT_FLOAT_EQ(Engine->Fframe_aspect_ratio, 4.0f / 3);
    EXPECT_EQ(Engine->Faudio_sample_rate, 44100);
    EXPECT_EQ(Engine->Faudio_channels, 1);
    EXPECT_EQ(Engine->TotalOutputDuration(), Engine->Finput_files[0]->duration);
    EXPECT_EQ(InputSetup(Engine->Finput_files[0]).Codecs.size(), 2u);
    EXPECT_EQ(Engine->Finput_codecs.size(), 2u);
}

TEST_F(EngineTest, AnExistingOutputKeepsItsBytesUntilTheConversionOpensIt) {
    const String output = TempFile(u"existing.avi");
    const std::string old(4096, 'o');
    const auto rewrite = [&] { std::ofstream(Text(output), std::ios::binary | std::ios::trunc) << old; };
    const auto bytes = [&] {
        std::ifstream file(Text(output), std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    };
    rewrite();
    Input(u"a.avi");
    Output(output);
    EXPECT_EQ(bytes(), old) << "given as the output";
    Engine->Reset();
    EXPECT_EQ(bytes(), old) << "dropped before converting";

    // A conversion that fails before its output opens leaves it alone too.
    Input(u"odd6.mkv");
    Set({{u"vcodec", u"wmv2"}, {u"an", u""}});
    Output(output);
    Engine->StartConvert(false, tpNormal);
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(bytes(), old) << "the encoder refused";

    // A new name is not made by such a conversion either.
    const String fresh = TempFile(u"never.wmv");
    std::filesystem::remove(Text(fresh));
    Engine = MakeEngine();
    Input(u"odd6.mkv");
    Set({{u"vcodec", u"wmv2"}, {u"an", u""}});
    Output(fresh);
    Engine->StartConvert(false, tpNormal);
    EXPECT_FALSE(FileExists(fresh));

    // The conversion replaces it. One that fails once the file is open
    // leaves what it overwrote: the file was there before, it is not the
    // conversion's to delete.
    Engine = MakeEngine();
    EXPECT_TRUE(Convert({u"a.avi"}, output, {}).Opened);
    EXPECT_NE(bytes(), old);
    rewrite();
    Engine = MakeEngine();
    Convert({u"short.avi"}, output, {{u"vcodec", u"mpeg4"}, {u"vtag", u"DX50"}, {u"f", u"mp4"}});
    EXPECT_THAT(Text(Engine->FatalMessage()), StartsWith("Could not write header"));
    EXPECT_TRUE(FileExists(output));
}

TEST_F(EngineTest, InputFailures) {
    EXPECT_FALSE(Engine->OptInputFile(TestDataFile(u"none.avi")));
    EXPECT_EQ(Engine->LastErrMsg(), TestDataFile(u"none.avi") + u": No such file or directory");
    Set({{u"vcodec", u"nosuch"}});
    EXPECT_FALSE(Engine->OptInputFile(TestDataFile(u"a.avi")));
    EXPECT_EQ(Text(Engine->LastErrMsg()), "Unknown decoder 'nosuch'");
    // The name applied to that input only.
    EXPECT_EQ(Engine->Fvideo_codec_name, "");
    Set({{u"programid", u"99"}});
    EXPECT_FALSE(Engine->OptInputFile(TestDataFile(u"ntsc.ts")));
    EXPECT_EQ(Text(Engine->LastErrMsg()), "Specified program id not found");
    Set({{u"f", u"nosuch"}});
    try {
        Engine->OptInputFile(TestDataFile(u"a.avi"));
        ADD_FAILURE() << "not raised";
    } catch (const FFmpegException& e) {
        EXPECT_EQ(Text(e.Message()), "Unknown input format: \"nosuch\"");
    }
    EXPECT_EQ(Engine->nb_input_files(), 0);
}

TEST_F(EngineTest, OutputFailures) {
    Input(u"a.avi");
    const struct {
        std::vector<std::pair<const char16_t*, const char16_t*>> options;
        String file;
        std::string error;
    } cases[] = {
        {{},
         TempFile(u"out.nosuchext"),
         "Unable to find a suitable output format for '" + Text(TempFile(u"out.nosuchext")) + "'"},
        {{{u"vcodec", u"nosuch"}}, TempFile(u"out.avi"), "new_video_stream fail: Unknown encoder 'nosuch'"},
        {{{u"vcodec", u"mp2"}}, TempFile(u"out.avi"), "new_video_stream fail: Invalid encoder type 'mp2'"},
        {{{u"acodec", u"vorbis"}},
         TempFile(u"out.mkv"),
         "new_audio_stream fail: encoder 'vorbis' is experimental and might produce bad results.\r\nAdd "
         "'-strict "
         "experimental' if you want to use it.\r\nOr use the non experimental encoder 'libvorbis'."},
        {{}, u"/nonexistent/folder/out.avi", "/nonexistent/folder/out.avi: No such file or directory"},
        // Last: a refused format stays asked for.
        {{{u"f", u"nosuch"}},
         TempFile(u"out.avi"),
         "Requested output format 'nosuch' is not a suitable output format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.file));
        Set(c.options);
        EXPECT_EQ(Engine->OptOutputFile(c.file, false), -1);
        EXPECT_EQ(Text(Engine->LastErrMsg()), c.error);
        EXPECT_EQ(Engine->nb_output_files(), 0);
    }
    EXPECT_FALSE(FileExists(TempFile(u"out.avi")));
}

TEST_F(EngineTest, OutputStreamsFollowTheInputsAndTheOptions) {
    Input(u"cbr.mp3");
    // The format would have video, the inputs have none.
    Output(TempFile(u"audio.avi"));
    ASSERT_EQ(Engine->Foutput_files[0]->nb_streams, 1u);
    EXPECT_EQ(Engine->Codec(0, 0)->codec_type, AVMEDIA_TYPE_AUDIO);

    Engine->Reset();
    Input(u"a.avi");
    Set({{u"vcodec", u"copy"}, {u"streamid", u"0:33"}, {u"vlang", u"chi"}, {u"an", u""}});
    Output(TempFile(u"copy.avi"));
    AVFormatContext* oc = Engine->Foutput_files[0];
    ASSERT_EQ(oc->nb_streams, 1u);
    EXPECT_TRUE(OutputSetup(oc).Streams[0].StreamCopy);
    EXPECT_EQ(oc->streams[0]->id, 33);
    EXPECT_EQ(MetadataValue(oc->streams[0]->metadata, "language", u"-"), u"chi");
    // What the stream took applies to it alone.
    EXPECT_EQ(Engine->Fvideo_stream_copy, 0);
    EXPECT_EQ(Engine->Fframe_pix_fmt, AV_PIX_FMT_NONE);
    EXPECT_EQ(Engine->Fvideo_language, "");
    EXPECT_EQ(Engine->Fstreamid_map[0], 0);
    Set({{u"newvideo", u""}});
    ASSERT_EQ(oc->nb_streams, 2u);
    EXPECT_FALSE(OutputSetup(oc).Streams[1].StreamCopy);
    EXPECT_EQ(Engine->Codec(0, 1)->codec_id, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(oc->streams[1]->id, 0);
}

TEST_F(EngineTest, JoinedOutputTakesOneEntryPerInput) {
    Input(u"a.avi");
    Input(u"tags.mkv");
    const Int64 total = Engine->Finput_files[0]->duration + Engine->Finput_files[1]->duration;
    Output(TempFile(u"joined.avi"), true);
    EXPECT_EQ(Engine->nb_output_files(), 2);
    EXPECT_EQ(Engine->Foutput_files[0], Engine->Foutput_files[1]);
    EXPECT_EQ(Engine->TotalOutputDuration(), total);
    EXPECT_EQ(Engine->OptOutputFile(TempFile(u"second.avi"), true), -1);
    EXPECT_EQ(Text(Engine->LastErrMsg()), "Cannot join more than one output file.");
    Engine->Cleanup();
    EXPECT_FALSE(FileExists(TempFile(u"joined.avi")));
}

TEST_F(EngineTest, OutputMetadataAndMuxerOptions) {
    Input(u"a.avi");
    Set({{u"metadata", u"title=a=b"},
         {u"metadata", u"title=second"},
         {u"timestamp", u"2010-01-02T03:04:05Z"},
         {u"loop_output", u"0"}});
    Output(TempFile(u"anim.gif"));
    AVFormatContext* oc = Engine->Foutput_files[0];
    EXPECT_EQ(MetadataValue(oc->metadata, "title", u"-"), u"a=b");
    EXPECT_EQ(MetadataValue(oc->metadata, "creation_time", u"-"), u"2010-01-02T03:04:05.000000Z");
    EXPECT_EQ(MetadataValue(Engine->MuxOptions(0), "loop", u"-"), u"0");
    EXPECT_TRUE(Engine->Fmetadata.empty());
}

// --- Failures ---

TEST_F(EngineTest, TheLibrarysReasonComesWithTheMessageAndTheFatalLineIsLoggedOnce) {
    TLogCapture log(llError);
    Input(u"odd6.mkv");
    Set({{u"vcodec", u"wmv2"}, {u"an", u""}});
    Output(TempFile(u"odd.wmv"));
    Engine->StartConvert(false, tpNormal);
    const String message = Engine->FatalMessage();
    EXPECT_THAT(Text(message),
                StartsWith("Error while opening encoder for output stream #0.0 (Video) - maybe "
                           "incorrect parameters such as bit_rate, rate, width or height."));
    EXPECT_THAT(Text(message), ::testing::EndsWith("information. (width must be multiple of 2)"));
    EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), message), 1);

    // A refused input says why as well.
    Engine = MakeEngine();
    EXPECT_FALSE(Engine->OptInputFile(TestDataFile(u"truncated.mp4")));
    EXPECT_EQ(Engine->LastErrMsg(), TestDataFile(u"truncated.mp4") +
                                        u": Invalid data found when processing input (moov atom not found)");
    // An earlier reason of this thread never joins a later failure of another kind.
    Input(u"a.avi");
    Set({{u"vn", u""}, {u"an", u""}});
    Output(TempFile(u"nothing.avi"));
    Engine->StartConvert(false, tpNormal);
    EXPECT_EQ(Text(Engine->FatalMessage()), "Output file #0 does not contain any stream");
}

// Handlers may raise anything: the conversion ends with the message, cleans
// up and tells its end, whatever kind of exception it was.
TEST_F(EngineTest, AnyExceptionOfAHandlerEndsTheConversionWithItsMessage) {
    const struct {
        const char* Handler;
        std::function<void(TTestFFmpeg&)> Raise;
    } cases[] = {
        {"progress",
         [](TTestFFmpeg& AEngine) {
             AEngine.ReportInterval = 0;
             AEngine.SetOnProgress([](TObject*, Integer, Integer, Integer, float, float, Int64, Int64,
                                      Int64) { throw std::runtime_error("handler failed"); });
         }},
        {"preview bitmap",
         [](TTestFFmpeg& AEngine) {
             AEngine.SetPostHooks({phBitmap});
             AEngine.SetOnPreviewBitmap(
                 [](TObject*, TBitmap*, Integer, Int64) { throw std::runtime_error("handler failed"); });
         }},
        {"custom hook",
         [](TTestFFmpeg& AEngine) {
             AEngine.SetOnCustomHook([](TObject*, TBitmap*, Integer AFrame, Int64, bool&, bool&) {
                 if (AFrame == 3) throw std::runtime_error("handler failed");
             });
         }},
        // The engine's own lines, and the libraries' (which cannot unwind
        // through them): libx264 tells of itself as it opens.
        {"log",
         [](TTestFFmpeg& AEngine) {
             AEngine.SetVerbose(1);
             GetLogger()->SetOnLog([](TObject*, Cardinal, TLogLevel, const String& AMessage) {
                 if (AMessage.find(u"Stream mapping") != String::npos)
                     throw std::runtime_error("handler failed");
             });
         }},
        {"library log",
         [](TTestFFmpeg& AEngine) {
             AEngine.SetOption(u"vcodec", u"libx264");
             GetLogger()->SetOnLog([](TObject* Sender, Cardinal, TLogLevel, const String&) {
                 if (Sender == GetLogger()) throw std::runtime_error("handler failed");
             });
         }},
    };
    const TLogLevel level = GetLogger()->LogLevel();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Handler);
        Engine = MakeEngine();
        Terminates = 0;
        TerminateSeen.ResetEvent();
        GetLogger()->SetLogLevel(llInfo);
        Input(u"a.avi");
        c.Raise(*Engine);
        Output(TempFile(u"raising.avi"));
        TThread* worker = Engine->StartConvert(true, tpNormal);
        ASSERT_NE(worker, nullptr);
        worker->Start();
        ASSERT_EQ(TerminateSeen.WaitFor(30000), wrSignaled);
        Engine->Stop(true);
        GetLogger()->SetOnLog(nullptr);
        EXPECT_EQ(Terminates, 1);
        EXPECT_TRUE(Engine->FatalException());
        EXPECT_FALSE(Engine->Finished());
        EXPECT_FALSE(Engine->Converting());
        EXPECT_EQ(Text(Engine->FatalMessage()), "handler failed");
        EXPECT_EQ(Engine->nb_output_files(), 0) << "cleaned up";
    }
    GetLogger()->SetLogLevel(level);
}

// --- Conversions ---

// One conversion of short.avi (one second: 25 pictures at 25 per second, MP2
// audio) to each combination of container, codecs and tag the program offers.
TEST_F(EngineTest, EveryOfferedFormatConvertsAndProbes) {
    using TOptions = std::vector<std::pair<const char16_t*, const char16_t*>>;
    const TOptions video = {{u"b", u"816000"}, {u"r", u"25"}};
    const TOptions audio = {{u"ac", u"2"}, {u"ar", u"44100"}, {u"ab", u"128000"}};
    const TOptions audio48 = {{u"ac", u"2"}, {u"ar", u"48000"}, {u"ab", u"128000"}};
    const TOptions onlyAudio = {{u"vn", u""}, {u"ac", u"2"}, {u"ar", u"48000"}, {u"ab", u"128000"}};
    const TOptions flashAudio = {{u"vn", u""}, {u"ac", u"2"}, {u"ar", u"22050"}};
    const struct {
        const char16_t* file;
        TOptions codecs;
        TOptions rates;
        const char* video;  // nil: no video stream
        const char* audio;
        uint32_t tag;
        const char* error;  // the task's refusal, where the libraries refuse
    } cases[] = {
        {u"xvid.avi",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"XVID"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         MKTAG('X', 'V', 'I', 'D'),
         nullptr},
        {u"dx50.avi",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"DX50"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         MKTAG('D', 'X', '5', '0'),
         nullptr},
        {u"mpeg4.avi",
         {{u"vcodec", u"mpeg4"}, {u"acodec", u"libmp3lame"}},
         audio48,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"libxvid.avi",
         {{u"vcodec", u"libxvid"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"h264.avi",
         {{u"vcodec", u"libx264"}, {u"acodec", u"libmp3lame"}, {u"r", u"30"}},
         audio48,
         "h264",
         "mp3",
         0,
         nullptr},
        {u"wmv2.avi", {{u"vcodec", u"wmv2"}, {u"acodec", u"libmp3lame"}}, audio48, "wmv2", "mp3", 0, nullptr},
        {u"msmpeg4v2.avi",
         {{u"vcodec", u"msmpeg4v2"}, {u"acodec", u"libmp3lame"}},
         audio48,
         "msmpeg4v2",
         "mp3",
         0,
         nullptr},
        {u"msmpeg4.avi",
         {{u"vcodec", u"msmpeg4"}, {u"acodec", u"libmp3lame"}},
         audio48,
         "msmpeg4v3",
         "mp3",
         0,
         nullptr},
        {u"ntsc.avi",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"DX50"}, {u"acodec", u"libmp3lame"}, {u"r", u"29.97"}},
         audio,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"mp3.mp4", {{u"vcodec", u"mpeg4"}, {u"acodec", u"libmp3lame"}}, audio, "mpeg4", "mp3", 0, nullptr},
        {u"aac.mp4", {{u"vcodec", u"mpeg4"}, {u"acodec", u"aac"}}, audio48, "mpeg4", "aac", 0, nullptr},
        {u"xvidaac.mp4", {{u"vcodec", u"libxvid"}, {u"acodec", u"aac"}}, audio48, "mpeg4", "aac", 0, nullptr},
        {u"h264aac.mp4", {{u"vcodec", u"libx264"}, {u"acodec", u"aac"}}, audio48, "h264", "aac", 0, nullptr},
        {u"h264mp3.mp4",
         {{u"vcodec", u"libx264"}, {u"acodec", u"libmp3lame"}},
         audio48,
         "h264",
         "mp3",
         0,
         nullptr},
        {u"dx50.mp4",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"DX50"}, {u"acodec", u"aac"}},
         audio48,
         nullptr,
         nullptr,
         0,
         "Could not write header for output file #0 (incorrect codec parameters ?) (Tag DX50 incompatible "
         "with output codec id '12' (mp4v))"},
        {u"v1.mp4",
         {{u"vcodec", u"msmpeg4v1"}, {u"acodec", u"libmp3lame"}},
         audio48,
         nullptr,
         nullptr,
         0,
         "new_video_stream fail: Unknown encoder 'msmpeg4v1'"},
        {u"mov.mov", {{u"acodec", u"aac"}}, audio, "h264", "aac", 0, nullptr},
        {u"mp3.mkv", {{u"vcodec", u"mpeg4"}, {u"acodec", u"libmp3lame"}}, audio, "mpeg4", "mp3", 0, nullptr},
        {u"aac.mkv", {{u"vcodec", u"mpeg4"}, {u"acodec", u"aac"}}, audio48, "mpeg4", "aac", 0, nullptr},
        {u"xvid.mkv",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"XVID"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"dx50.mkv",
         {{u"vcodec", u"mpeg4"}, {u"vtag", u"DX50"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"libxvid.mkv",
         {{u"vcodec", u"libxvid"}, {u"acodec", u"libmp3lame"}},
         audio,
         "mpeg4",
         "mp3",
         0,
         nullptr},
        {u"h264.mkv",
         {{u"vcodec", u"libx264"}, {u"acodec", u"libmp3lame"}},
         audio48,
         "h264",
         "mp3",
         0,
         nullptr},
        {u"mpeg1.mpg", {{u"vcodec", u"mpeg1video"}}, audio, "mpeg1video", "mp2", 0, nullptr},
        {u"mpeg2.mpg", {{u"vcodec", u"mpeg2video"}}, audio, "mpeg2video", "mp2", 0, nullptr},
        {u"ac3.mpg",
         {{u"vcodec", u"mpeg2video"}, {u"acodec", u"ac3"}},
         audio48,
         "mpeg2video",
         "ac3",
         0,
         nullptr},
        {u"ac3.mpeg",
         {{u"vcodec", u"mpeg2video"}, {u"acodec", u"ac3"}},
         audio48,
         "mpeg2video",
         "ac3",
         0,
         nullptr},
        {u"aac.mpg",
         {{u"vcodec", u"mpeg2video"}, {u"acodec", u"aac"}},
         audio48,
         nullptr,
         nullptr,
         0,
         "Could not write header for output file #0 (incorrect codec parameters ?) (Unsupported audio "
         "codec. Must be one of mp1, mp2, mp3, 16-bit pcm_dvd, pcm_s16be, ac3 or dts.)"},
        {u"aac.vob",
         {{u"acodec", u"aac"}},
         audio48,
         nullptr,
         nullptr,
         0,
         "Could not write header for output file #0 (incorrect codec parameters ?) (Unsupported audio "
         "codec. Must be one of mp1, mp2, mp3, 16-bit pcm_dvd, pcm_s16be, ac3 or dts.)"},
        {u"msmpeg4.asf",
         {{u"vcodec", u"msmpeg4"}, {u"acodec", u"wmav2"}},
         audio,
         "msmpeg4v3",
         "wmav2",
         0,
         nullptr},
        {u"wmv2.wmv", {{u"vcodec", u"wmv2"}, {u"acodec", u"wmav2"}}, audio, "wmv2", "wmav2", 0, nullptr},
        {u"small.3gp",
         {{u"vcodec", u"mpeg4"}, {u"acodec", u"aac"}, {u"s", u"176*144"}, {u"r", u"12"}, {u"aspect", u"4:3"}},
         {{u"ac", u"1"}, {u"ar", u"8000"}, {u"ab", u"12000"}},
         "mpeg4",
         "aac",
         0,
         nullptr},
        {u"rv20.rm", {{u"vcodec", u"rv20"}, {u"s", u"160*120"}}, {}, "rv20", "ac3", 0, nullptr},
        {u"flash.flv",
         {{u"acodec", u"libmp3lame"}},
         {{u"ac", u"2"}, {u"ar", u"22050"}, {u"ab", u"128000"}},
         "flv1",
         "mp3",
         0,
         nullptr},
        {u"flash.swf",
         {{u"acodec", u"libmp3lame"}},
         {{u"ac", u"2"}, {u"ar", u"22050"}, {u"ab", u"128000"}},
         "flv1",
         "mp3",
         0,
         nullptr},
        {u"audio.mp3", {{u"acodec", u"libmp3lame"}}, onlyAudio, nullptr, "mp3", 0, nullptr},
        {u"audio.wma", {{u"acodec", u"wmav2"}}, onlyAudio, nullptr, "wmav2", 0, nullptr},
        {u"audio.wav", {}, onlyAudio, nullptr, "pcm_s16le", 0, nullptr},
        {u"audio.aac", {{u"acodec", u"aac"}}, onlyAudio, nullptr, "aac", 0, nullptr},
        {u"audio.m4a", {}, onlyAudio, nullptr, "aac", 0, nullptr},
        {u"audio.ogg", {{u"acodec", u"libvorbis"}}, onlyAudio, nullptr, "vorbis", 0, nullptr},
        {u"audio.ra", {}, onlyAudio, nullptr, "ac3", 0, nullptr},
        {u"audio.ac3", {{u"acodec", u"ac3"}}, onlyAudio, nullptr, "ac3", 0, nullptr},
        {u"audio.aiff", {}, onlyAudio, nullptr, "pcm_s16be", 0, nullptr},
        {u"audio.mp2",
         {},
         {{u"vn", u""}, {u"ac", u"2"}, {u"ar", u"44100"}, {u"ab", u"128000"}},
         nullptr,
         "mp2",
         0,
         nullptr},
        {u"audio.flac", {{u"acodec", u"flac"}}, onlyAudio, nullptr, "flac", 0, nullptr},
        {u"audio.flv", {{u"acodec", u"libmp3lame"}}, flashAudio, nullptr, "mp3", 0, nullptr},
        {u"audio.swf", {{u"acodec", u"libmp3lame"}}, flashAudio, nullptr, "mp3", 0, nullptr},
        {u"audio.amr",
         {{u"acodec", u"libopencore_amrnb"}},
         {{u"vn", u""}, {u"ac", u"1"}, {u"ar", u"8000"}},
         nullptr,
         nullptr,
         0,
         "new_audio_stream fail: Unknown encoder 'libopencore_amrnb'"},
        {u"dvd.mpg", {{u"target", u"pal-dvd"}}, {}, "mpeg2video", "ac3", 0, nullptr},
        {u"svcd.mpg", {{u"target", u"pal-svcd"}}, {}, "mpeg2video", "mp2", 0, nullptr},
        {u"vcd.mpg", {{u"target", u"pal-vcd"}}, {}, "mpeg1video", "mp2", 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.file));
        Engine = MakeEngine();
        Input(u"short.avi");
        Set(c.codecs);
        // The disc targets set their own rates.
        if (c.video && String(c.codecs[0].first) != u"target") Set(video);
        Set(c.rates);
        const String output = TempFile(c.file);
        if (Engine->OptOutputFile(output, false) < 0) {
            EXPECT_EQ(Text(Engine->LastErrMsg()), c.error ? c.error : "");
            continue;
        }
        Engine->StartConvert(false, tpNormal);
        if (c.error) {
            EXPECT_EQ(Text(Engine->FatalMessage()), c.error);
            EXPECT_FALSE(FileExists(output));
            continue;
        }
        ASSERT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
        const TProbedFile probed = ProbeMedia(output);
        ASSERT_TRUE(probed.Opened);
        const TProbedStream* v = probed.Find(AVMEDIA_TYPE_VIDEO);
        const TProbedStream* a = probed.Find(AVMEDIA_TYPE_AUDIO);
        ASSERT_EQ(v != nullptr, c.video != nullptr);
        ASSERT_NE(a, nullptr);
        if (v) {
            EXPECT_EQ(v->Codec, c.video);
            if (c.tag) {
                EXPECT_EQ(v->Tag, c.tag);
            }
            // One second, within a picture of the output's rate.
            EXPECT_NEAR(v->Duration(), 1.0, 1.0 / 12 + 0.01);
        }
        EXPECT_EQ(a->Codec, c.audio);
        EXPECT_NEAR(a->Duration(), 1.02, 0.15);
        std::filesystem::remove(Text(output));
    }
}

TEST_F(EngineTest, VideoFrameLimitGivesExactlyThatManyPicturesAndATrailer) {
    const String output = TempFile(u"vframes.mp4");
    const TProbedFile probed = Convert({u"sixty.avi"}, output, {{u"vframes", u"100"}});
    EXPECT_TRUE(Engine->Finished());
    // MP4 keeps its index in the trailer: without it nothing could be read.
    ASSERT_TRUE(probed.Opened);
    EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 100);
}

TEST_F(EngineTest, StartAndLengthCutTheOutput) {
    const TProbedFile probed =
        Convert({u"short.avi"}, TempFile(u"cut.avi"), {{u"ss", u"0.25"}, {u"t", u"0.5"}});
    ASSERT_TRUE(probed.Opened);
    EXPECT_NEAR(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 12.5, 1);
    EXPECT_NEAR(probed.Find(AVMEDIA_TYPE_AUDIO)->Duration(), 0.5, 0.1);
}

TEST_F(EngineTest, StopInTheMiddleLeavesAPlayableShorterFile) {
    Engine->SetOnCustomHook([this](TObject*, TBitmap*, Integer AFrameNumber, Int64, bool&, bool&) {
        if (AFrameNumber == 10) Engine->Stop(false);
    });
    const TProbedFile probed = Convert({u"short.avi"}, TempFile(u"stopped.mp4"), {});
    EXPECT_FALSE(Engine->Finished());
    EXPECT_FALSE(Engine->FatalException());
    ASSERT_TRUE(probed.Opened);
    EXPECT_GE(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 10);
    EXPECT_LT(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 25);
}

TEST_F(EngineTest, JoinedInputsFollowEachOther) {
    const TProbedFile probed = Convert({u"short.avi", u"short.avi"}, TempFile(u"joined.mp4"), {}, true);
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->Packets, 50);
    EXPECT_NEAR(video->Duration(), 2.0, 0.05);
    // One picture after another, no gap at the join.
    for (size_t i = 1; i < video->Times.size(); ++i)
        EXPECT_NEAR(video->Times[i] - video->Times[i - 1], 0.04, 0.001) << i;
    EXPECT_NEAR(probed.Find(AVMEDIA_TYPE_AUDIO)->Duration(), 2.04, 0.1);
}

TEST_F(EngineTest, LoopedInputStartsAgainUntilTheLength) {
    Set({{u"loop_input", u""}});
    const TProbedFile probed =
        Convert({u"ten.avi"}, TempFile(u"looped.avi"), {{u"t", u"3"}, {u"vf", u"null"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 30);
}

TEST_F(EngineTest, VolumeScalesAndClipsTheSamples) {
    const TProbedFile input = ProbeMedia(TestDataFile(u"tone.wav"));
    const TProbedFile output = Convert({u"tone.wav"}, TempFile(u"loud.wav"), {{u"vol", u"512"}});
    ASSERT_EQ(output.Samples.size(), input.Samples.size());
    bool clipped = false;
    for (size_t i = 0; i < input.Samples.size(); ++i) {
        const Integer doubled = std::clamp<Integer>(input.Samples[i] * 2, -32768, 32767);
        ASSERT_EQ(output.Samples[i], doubled) << i;
        clipped = clipped || doubled == 32767;
    }
    EXPECT_TRUE(clipped);
}

TEST_F(EngineTest, VideoSyncTable) {
    // Ten pictures a second for two seconds, written at 25 a second.
    const struct {
        const char16_t* vsync;
        const char16_t* file;
        Int64 least, most;
    } cases[] = {
        {u"1", u"cfr.avi", 46, 50},    // constant rate: duplicates
        {u"-1", u"auto.avi", 46, 50},  // AVI has a constant rate
        {u"-1", u"auto.mkv", 20, 20},  // Matroska takes variable rates
        {u"2", u"vfr.avi", 20, 20},   {u"0", u"pass.avi", 20, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.file));
        Engine = MakeEngine();
        const TProbedFile probed =
            Convert({u"ten.avi"}, TempFile(c.file), {{u"r", u"25"}, {u"vsync", c.vsync}});
        const Int64 pictures = probed.Find(AVMEDIA_TYPE_VIDEO)->Packets;
        EXPECT_GE(pictures, c.least);
        EXPECT_LE(pictures, c.most);
    }
}

// One picture a second written at 25 a second: each picture, the last one
// too, fills its second; a variable rate keeps them as they are.
TEST_F(EngineTest, TheLastPictureLastsItsOwnTime) {
    const struct {
        const char16_t* File;
        Int64 Pictures;
    } cases[] = {{u"slow.avi", 125}, {u"slow.mkv", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.File));
        Engine = MakeEngine();
        const TProbedFile probed = Convert({u"slow.avi"}, TempFile(c.File),
                                           {{u"r", u"25"}, {u"vcodec", u"mpeg4"}, {u"acodec", u"mp2"}});
        ASSERT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
        const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Packets, c.Pictures);
        if (c.Pictures == 125) {
            EXPECT_NEAR(video->End, 5.0, 0.05);
            EXPECT_NEAR(video->End, probed.Find(AVMEDIA_TYPE_AUDIO)->End, 0.1);
        }
    }
}

// A picture stored on its side with a display matrix comes out as players
// show it, its size with it; crop and scale apply to the upright picture.
TEST_F(EngineTest, PicturesStoredOnTheirSideComeOutUpright) {
    enum TCorner { TopLeft, TopRight, BottomLeft, BottomRight, None };
    const struct {
        const char* Name;
        std::array<int32_t, 9> Matrix;
        std::vector<std::pair<const char16_t*, const char16_t*>> Options;
        Integer Width, Height;
        TCorner White, Grey;  // where the stored top left and top right squares go
    } cases[] = {
        {"upright", DisplayMatrix(1, 0, 0, 1), {}, 64, 32, TopLeft, TopRight},
        {"90 clockwise", DisplayMatrix(0, 1, -1, 0), {}, 32, 64, TopRight, BottomRight},
        {"180", DisplayMatrix(-1, 0, 0, -1), {}, 64, 32, BottomRight, BottomLeft},
        {"90 anticlockwise", DisplayMatrix(0, -1, 1, 0), {}, 32, 64, BottomLeft, TopLeft},
        {"mirrored", DisplayMatrix(-1, 0, 0, 1), {}, 64, 32, TopRight, TopLeft},
        {"upside down", DisplayMatrix(1, 0, 0, -1), {}, 64, 32, BottomLeft, BottomRight},
        {"transposed", DisplayMatrix(0, 1, 1, 0), {}, 32, 64, TopLeft, BottomLeft},
        {"transposed across", DisplayMatrix(0, -1, -1, 0), {}, 32, 64, BottomRight, TopRight},
        // The lower half of the upright picture goes, grey square and all.
        {"90 clockwise, cropped",
         DisplayMatrix(0, 1, -1, 0),
         {{u"cropbottom", u"32"}},
         32,
         32,
         TopRight,
         None},
        {"90 clockwise, half size",
         DisplayMatrix(0, 1, -1, 0),
         {{u"s", u"16x32"}},
         16,
         32,
         TopRight,
         BottomRight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Engine = MakeEngine();
        const String input = TempFile(u"turned.mp4");
        WriteWithDisplayMatrix(u"marked.mp4", c.Matrix, input);
        ASSERT_TRUE(Engine->OptInputFile(input)) << Text(Engine->LastErrMsg());
        Set({{u"vcodec", u"rawvideo"}, {u"pix_fmt", u"gray"}});
        Set(c.Options);
        Output(TempFile(u"upright.nut"));
        EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
        ASSERT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
        const TProbedFile probed = ProbeMedia(TempFile(u"upright.nut"), true);
        const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
        ASSERT_NE(video, nullptr);
        ASSERT_FALSE(video->Data.empty());
        EXPECT_EQ(video->Width, c.Width);
        EXPECT_EQ(video->Height, c.Height);
        const std::vector<uint8_t>& picture = video->Data[0];
        ASSERT_EQ(picture.size(), static_cast<size_t>(video->Width * video->Height));
        // A little way in from each corner.
        const Integer inset = std::min(video->Width, video->Height) / 8;
        const auto at = [&](TCorner ACorner) {
            const Integer x = ACorner == TopLeft || ACorner == BottomLeft ? inset : video->Width - 1 - inset;
            const Integer y = ACorner == TopLeft || ACorner == TopRight ? inset : video->Height - 1 - inset;
            return picture[y * video->Width + x];
        };
        for (TCorner corner : {TopLeft, TopRight, BottomLeft, BottomRight}) {
            const int value = at(corner);
            if (corner == c.White)
                EXPECT_GT(value, 220) << corner;
            else if (corner == c.Grey)
                EXPECT_TRUE(value > 90 && value < 170) << corner << ": " << value;
            else
                EXPECT_LT(value, 40) << corner;
        }
    }
}

// A copied stream keeps the matrix for the players, where the container can
// carry it.
TEST_F(EngineTest, ACopiedStreamKeepsItsDisplayMatrix) {
    const String input = TempFile(u"sideways.mp4");
    WriteWithDisplayMatrix(u"marked.mp4", DisplayMatrix(0, 1, -1, 0), input);
    ASSERT_TRUE(Engine->OptInputFile(input)) << Text(Engine->LastErrMsg());
    const String output = TempFile(u"copied.mp4");
    Set({{u"vcodec", u"copy"}});
    Output(output);
    Engine->StartConvert(false, tpNormal);
    ASSERT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    AVFormatContext* copied = nullptr;
    ASSERT_GE(avformat::avformat_open_input(&copied, Text(output).c_str(), nullptr, nullptr), 0);
    ASSERT_GE(avformat::avformat_find_stream_info(copied, nullptr), 0);
    EXPECT_STREQ(DisplayTurn(StreamDisplayMatrix(copied->streams[0])).Filters, "transpose=clock");
    EXPECT_EQ(copied->streams[0]->codecpar->width, 64) << "stored as it was";
    avformat::avformat_close_input(&copied);
}

TEST_F(EngineTest, LateAudioGetsSilenceInFront) {
    const struct {
        const char16_t* input;
        const char16_t* async;
        size_t silence;  // samples inserted
    } cases[] = {
        {u"late.nut", u"1", 1000},
        {u"late20.nut", u"1", 0},  // too little to correct
        {u"late.nut", u"0", 0},    // no sync: WAV keeps no times
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(String(c.input) + u" async=" + c.async));
        Engine = MakeEngine();
        const TProbedFile probed =
            Convert({c.input}, TempFile(u"late.wav"), {{u"async", c.async}, {u"vn", u""}});
        ASSERT_EQ(probed.Samples.size(), 8000 + c.silence);
        for (size_t i = 0; i < c.silence; ++i)
            ASSERT_EQ(probed.Samples[i], 0) << i;
        // The tone starts at 0 and rises at once.
        EXPECT_NE(probed.Samples[c.silence + 1], 0);
    }
}

TEST_F(EngineTest, FrameBasedAudioEncodersKeepTheRestForTheEnd) {
    // 44100 samples of the tone.
    const struct {
        const char16_t* file;
        const char16_t* codec;
        Int64 samples;
    } cases[] = {
        {u"rest.mp2", u"mp2", 39 * 1152},  // whole frames, the last one filled up
        {u"rest.flac", u"flac", 44100},    // a short last frame
        {u"rest.wav", u"pcm_s16le", 44100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.file));
        Engine = MakeEngine();
        const TProbedFile probed = Convert({u"tone.wav"}, TempFile(c.file), {{u"acodec", c.codec}});
        EXPECT_EQ(probed.Find(AVMEDIA_TYPE_AUDIO)->Samples, c.samples);
    }
}

TEST_F(EngineTest, FiltersCropAndScaleThePictures) {
    // ten.avi: 20 pictures of 64x48.
    const struct {
        std::vector<std::pair<const char16_t*, const char16_t*>> options;
        Integer width, height;
    } cases[] = {
        {{{u"vf", u"scale=32:24"}}, 32, 24},
        // The bands go first, then the rest is scaled, also to a size larger than the input.
        {{{u"croptop", u"10"}, {u"cropbottom", u"10"}, {u"s", u"128x96"}, {u"vf", u"null"}}, 128, 96},
        {{{u"croptop", u"10"}, {u"cropbottom", u"10"}, {u"s", u"128x96"}}, 128, 96},
        {{{u"cropleft", u"16"}, {u"vf", u"null"}}, 48, 48},
    };
    for (const auto& c : cases) {
        Engine = MakeEngine();
        const TProbedFile probed = Convert({u"ten.avi"}, TempFile(u"filtered.avi"), c.options);
        ASSERT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
        EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Width, c.width);
        EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Height, c.height);
        EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 20);
    }
}

TEST_F(EngineTest, UnparsableFilterTextEndsTheConversion) {
    Convert({u"short.avi"}, TempFile(u"nofilter.avi"), {{u"vf", u"nosuchfilter=1"}});
    EXPECT_FALSE(Engine->Finished());
    EXPECT_THAT(Text(Engine->FatalMessage()), StartsWith("Error opening filters"));
    EXPECT_FALSE(FileExists(TempFile(u"nofilter.avi")));
}

TEST_F(EngineTest, PictureSizeChangingMidStreamIsRescaled) {
    TLogCapture log(llError);
    const TProbedFile probed = Convert({u"resize.ts"}, TempFile(u"resized.avi"), {{u"s", u"64x48"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_THAT(Texts(log.Lines),
                ::testing::Contains(StartsWith("Input Stream #0.0 frame size changed to 96x72")));
    EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Width, 64);
    EXPECT_NEAR(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 50, 2);
}

TEST_F(EngineTest, ProgressOfAnAudioOutputHasNoFrameRateOrQuality) {
    struct TReport {
        Integer file, frame, fps;
        float quality;
        Int64 size, duration;
    };
    std::vector<TReport> reports;
    const auto listen = [&reports](TTestFFmpeg& AEngine) {
        AEngine.ReportInterval = 0;
        AEngine.SetOnProgress([&reports](TObject*, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                                         float AQuality, float, Int64 ASize, Int64 ADuration, Int64) {
            reports.push_back({AFileIndex, AFrameNumber, AFPS, AQuality, ASize, ADuration});
        });
    };
    listen(*Engine);
    Convert({u"short.avi"}, TempFile(u"progress.mp3"), {{u"vn", u""}});
    ASSERT_GE(reports.size(), 2u);
    for (const TReport& report : reports) {
        EXPECT_EQ(report.frame, -1);
        EXPECT_EQ(report.fps, -1);
        EXPECT_EQ(report.quality, -1.0f);
    }
    EXPECT_EQ(reports.front().file, 0);
    EXPECT_EQ(reports.back().file, -1);
    EXPECT_GT(reports.back().size, 0);
    EXPECT_NEAR(static_cast<double>(reports.back().duration), 1000000, 100000);

    // With video the pictures are counted.
    reports.clear();
    Engine = MakeEngine();
    listen(*Engine);
    Convert({u"short.avi"}, TempFile(u"progress.avi"), {});
    ASSERT_FALSE(reports.empty());
    EXPECT_GE(reports.front().frame, 1);
    EXPECT_EQ(reports.back().frame, 25);
}

TEST_F(EngineTest, HookThatStopsAtFrameTenIsCalledTenTimes) {
    Integer calls = 0;
    Engine->SetOnCustomHook([&](TObject*, TBitmap*, Integer AFrameNumber, Int64, bool&, bool& AStopHook) {
        ++calls;
        AStopHook = AFrameNumber == 10;
    });
    const TProbedFile probed = Convert({u"short.avi"}, TempFile(u"hooked.avi"), {});
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(probed.Find(AVMEDIA_TYPE_VIDEO)->Packets, 25);
}

TEST_F(EngineTest, HookThatPaintsRedGivesRedPictures) {
    Engine->SetOnCustomHook([](TObject*, TBitmap* ABitmap, Integer, Int64, bool&, bool&) {
        ABitmap->Canvas()->Brush()->SetStyle(bsSolid);
        ABitmap->Canvas()->Brush()->SetColor(clRed);
        ABitmap->Canvas()->FillRect(TRect{0, 0, ABitmap->Width(), ABitmap->Height()});
    });
    const TProbedFile probed = Convert({u"ten.avi"}, TempFile(u"red.nut"),
                                       {{u"vcodec", u"rawvideo"}, {u"pix_fmt", u"bgr24"}}, false, true);
    const TProbedStream* video = probed.Find(AVMEDIA_TYPE_VIDEO);
    ASSERT_EQ(video->Packets, 20);
    for (const std::vector<uint8_t>& picture : video->Data) {
        ASSERT_EQ(picture.size(), 64u * 48 * 3);
        for (size_t i = 0; i < picture.size(); i += 3) {
            ASSERT_LT(picture[i], 16) << i;  // blue
            ASSERT_LT(picture[i + 1], 16) << i;
            ASSERT_GT(picture[i + 2], 240) << i;  // red
        }
    }
}

TEST_F(EngineTest, RaisingHookIsLoggedAndLeavesThePicturesAlone) {
    const std::vector<std::pair<const char16_t*, const char16_t*>> lossless = {{u"vcodec", u"rawvideo"},
                                                                               {u"pix_fmt", u"bgr24"}};
    const uint64_t plain = Convert({u"ten.avi"}, TempFile(u"plain.nut"), lossless).Streams[0].Checksum;
    Engine = MakeEngine();
    Engine->SetOnCustomHook([](TObject*, TBitmap* ABitmap, Integer, Int64, bool&, bool&) {
        ABitmap->Canvas()->FillRect(TRect{0, 0, 8, 8});
        throw Exception(u"boom");
    });
    TLogCapture log(llError);
    const TProbedFile hooked = Convert({u"ten.avi"}, TempFile(u"raising.nut"), lossless);
    EXPECT_THAT(Texts(log.Lines), ::testing::Contains("Error occurs OnCustomHook: boom"));
    EXPECT_EQ(hooked.Streams[0].Checksum, plain);
}

TEST_F(EngineTest, PreviewBitmapsComeWithTheEncodersSize) {
    Integer previews = 0;
    Engine->PreviewInterval = 0;
    Engine->SetPostHooks({phPreview, phBitmap});
    Engine->SetOnPreviewBitmap([&](TObject*, TBitmap* ABitmap, Integer, Int64) {
        ++previews;
        EXPECT_EQ(ABitmap->Width(), 80);
    });
    Convert({u"short.avi"}, TempFile(u"preview.avi"), {{u"s", u"80x60"}});
    EXPECT_GT(previews, 0);

    // Without a window to show them in, the preview switches itself off.
    Engine = MakeEngine();
    Engine->PreviewInterval = 0;
    Engine->SetPostHooks({phPreview});
    Convert({u"short.avi"}, TempFile(u"preview.avi"), {});
    EXPECT_TRUE(Engine->Finished());
    EXPECT_TRUE(Engine->PostHooks().Empty());
}

TEST_F(EngineTest, TwoPassesShareTheirStatistics) {
    const String prefix = TempFile(u"twopass");
    const AnsiString log = Text(prefix) + "-0.log";
    std::filesystem::remove(log);
    const String output = TempFile(u"twopass.avi");
    Convert({u"short.avi"}, output, {{u"pass", u"1"}, {u"passlogfile", prefix.c_str()}, {u"b", u"200000"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    ASSERT_TRUE(std::filesystem::exists(log));
    EXPECT_GT(std::filesystem::file_size(log), 0u);

    Engine = MakeEngine();
    Convert({u"short.avi"}, output, {{u"pass", u"2"}, {u"passlogfile", prefix.c_str()}, {u"b", u"200000"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());

    // Without statistics the second pass cannot start.
    std::filesystem::remove(log);
    Engine = MakeEngine();
    Convert({u"short.avi"}, output, {{u"pass", u"2"}, {u"passlogfile", prefix.c_str()}});
    EXPECT_EQ(Text(Engine->FatalMessage()),
              "Cannot read file: Error reading log file \"" + log + "\" for pass-2 encoding");

    // Without a prefix the statistics are named after the output.
    Engine = MakeEngine();
    const AnsiString named = Text(output) + "-ffmpeg2pass-0.log";
    std::filesystem::remove(named);
    Convert({u"short.avi"}, output, {{u"pass", u"1"}});
    EXPECT_TRUE(std::filesystem::exists(named));
    std::filesystem::remove(named);
}

TEST_F(EngineTest, SubtitlesFollowTheirKind) {
    const TProbedFile text = Convert({u"subs.mkv"}, TempFile(u"subs.mkv"), {});
    ASSERT_NE(text.Find(AVMEDIA_TYPE_SUBTITLE), nullptr);
    EXPECT_EQ(text.Find(AVMEDIA_TYPE_SUBTITLE)->Codec, "ass");
    EXPECT_EQ(text.Find(AVMEDIA_TYPE_SUBTITLE)->Packets, 2);

    // Text cannot become pictures: the task goes on without subtitles.
    Engine = MakeEngine();
    TLogCapture log(llWarning);
    const TProbedFile pictures = Convert({u"subs.mkv"}, TempFile(u"nosubs.mkv"), {{u"scodec", u"dvdsub"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_EQ(pictures.Find(AVMEDIA_TYPE_SUBTITLE), nullptr);
    EXPECT_NE(pictures.Find(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_THAT(Texts(log.Lines),
                ::testing::Contains(StartsWith("No subtitle stream of the input can be encoded as")));
}

TEST_F(EngineTest, StreamAndMetadataMaps) {
    // Two outputs each with one audio stream share the one audio input.
    Input(u"short.avi");
    Set({{u"vn", u""}});
    Output(TempFile(u"first.wav"));
    Set({{u"vn", u""}});
    Output(TempFile(u"second.mp2"));
    Engine->StartConvert(false, tpNormal);
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_NEAR(ProbeMedia(TempFile(u"first.wav")).Find(AVMEDIA_TYPE_AUDIO)->Duration(), 1.0, 0.05);
    EXPECT_NEAR(ProbeMedia(TempFile(u"second.mp2")).Find(AVMEDIA_TYPE_AUDIO)->Duration(), 1.0, 0.05);

    // The file's metadata goes where a map sends it.
    Engine = MakeEngine();
    Input(u"tags.mkv");
    Set({{u"map_meta_data", u"0:0"}});
    Output(TempFile(u"tagged.mkv"));
    Engine->StartConvert(false, tpNormal);
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(avformat::avformat_open_input(&ic, Text(TempFile(u"tagged.mkv")).c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(MetadataValue(ic->metadata, "title", u"-"), u"Velqua");
    avformat::avformat_close_input(&ic);

    // A map must join streams of one kind.
    Engine = MakeEngine();
    Input(u"short.avi");
    Set({{u"map", u"0:1"}, {u"map", u"0:0"}});
    Output(TempFile(u"mapped.avi"));
    Engine->StartConvert(false, tpNormal);
    EXPECT_EQ(Text(Engine->FatalMessage()), "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)");
}

TEST_F(EngineTest, CopiedStreamsKeepTheirPackets) {
    const TProbedFile input = ProbeMedia(TestDataFile(u"short.avi"));
    const TProbedFile copied =
        Convert({u"short.avi"}, TempFile(u"copied.mkv"), {{u"vcodec", u"copy"}, {u"acodec", u"copy"}});
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_EQ(copied.Find(AVMEDIA_TYPE_VIDEO)->Checksum, input.Find(AVMEDIA_TYPE_VIDEO)->Checksum);
    EXPECT_EQ(copied.Find(AVMEDIA_TYPE_AUDIO)->Packets, input.Find(AVMEDIA_TYPE_AUDIO)->Packets);

    // A copy cannot be hooked: the frames are never decoded.
    Engine = MakeEngine();
    Engine->SetOnCustomHook([](TObject*, TBitmap*, Integer, Int64, bool&, bool&) {});
    Convert({u"short.avi"}, TempFile(u"copied.mkv"), {{u"vcodec", u"copy"}});
    EXPECT_EQ(Text(Engine->FatalMessage()),
              "-vcodec copy and CustomHook are incompatible (frames are not decoded)");
}

TEST_F(EngineTest, VideoStatisticsHaveALinePerPicture) {
    const String stats = TempFile(u"vstats.log");
    Convert({u"short.avi"}, TempFile(u"vstats.avi"), {{u"vstats_file", stats.c_str()}});
    Engine->Cleanup();
    std::ifstream file(Text(stats));
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    ASSERT_FALSE(lines.empty());
    EXPECT_THAT(lines.front(), StartsWith("frame=     1 q= "));
    EXPECT_THAT(lines.back(), ::testing::HasSubstr(" type= "));
}

TEST_F(EngineTest, EnginesConvertSideBySide) {
    auto second = MakeEngine();
    TEvent secondEnded(true, false);
    second->SetOnTerminate([&](TObject*) { secondEnded.SetEvent(); });
    const String first = TempFile(u"side1.mp4"), other = TempFile(u"side2.mkv");
    Input(u"short.avi");
    Output(first);
    ASSERT_TRUE(second->OptInputFile(TestDataFile(u"subs.mkv")));
    ASSERT_GT(second->OptOutputFile(other, false), 0);
    TThread* one = Engine->StartConvert(true, tpNormal);
    TThread* two = second->StartConvert(true, tpNormal);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    one->Start();
    two->Start();
    TerminateSeen.WaitFor(INFINITE);
    secondEnded.WaitFor(INFINITE);
    Engine->Stop(true);
    second->Stop(true);
    EXPECT_TRUE(Engine->Finished()) << Text(Engine->FatalMessage());
    EXPECT_TRUE(second->Finished()) << Text(second->FatalMessage());
    EXPECT_TRUE(ProbeMedia(first).Opened);
    EXPECT_TRUE(ProbeMedia(other).Opened);
}

}  // namespace
