#include "media/ffmpeg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "mediatest.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/base/threads.h"

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

TEST_F(EngineTest, StoppingAPausedWorkerWaitsForItsEndAndDropsItsEmptyOutput) {
    const String output = TempFile(u"stopped.avi");
    Input(u"a.avi");
    Output(output);
    EXPECT_TRUE(FileExists(output));
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
    EXPECT_FALSE(FileExists(output));
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

TEST_F(EngineTest, OutputWithDataSurvivesTheCleanup) {
    const String output = TempFile(u"written.avi");
    Input(u"a.avi");
    Output(output);
    avformat::avio_write(Engine->Foutput_files[0]->pb, reinterpret_cast<const unsigned char*>("abc"), 3);
    EXPECT_EQ(Engine->StartConvert(false, tpNormal), nullptr);
    EXPECT_TRUE(Engine->Finished());
    EXPECT_EQ(Engine->nb_output_files(), 0);
    EXPECT_EQ(std::filesystem::file_size(Text(output)), 3u);
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

}  // namespace
