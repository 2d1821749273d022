#include "media/ffutils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "media/avcodecstubs.h"
#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/ffmpeglogger.h"
#include "mediatest.h"

namespace {

TEST(PTSToTimeText, HoursAreNotWrapped) {
    const struct {
        Int64 pts;
        const char16_t* text;
    } cases[] = {
        {AV_NOPTS_VALUE, u"N/A"},
        {0, u"00:00:00.000"},
        {3723456789, u"01:02:03.456"},
        {Int64{100} * 3600 * 1000000, u"100:00:00.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTSToTimeText(c.pts), c.text);
}

TEST(FrameRateToPeriod, MicrosecondsPerFrame) {
    EXPECT_EQ(FrameRateToPeriod({25, 1}), 40000);
    EXPECT_EQ(FrameRateToPeriod({30000, 1001}), 1001000000LL / 30000);
    EXPECT_EQ(FrameRateToPeriod({0, 0}), 40000);
    EXPECT_EQ(FrameRateToPeriod({25, 0}), 40000);
}

TEST(AVErrorText, ClassicTextsForOldAndCurrentCodes) {
    const struct {
        Integer code;
        const char16_t* text;
    } cases[] = {
        {AVERROR(ENOENT), u"x: No such file or directory"},
        {AVERROR_INVALIDDATA, u"x: Invalid data found when processing input"},
        {-22, u"x: Invalid data found when processing input"},
        {AVERROR_EOF, u"x: End of file"},
        {AVERROR_PATCHWELCOME, u"x: Not yet implemented in FFmpeg"},
        {-1163346256, u"x: Not yet implemented in FFmpeg"},
        {AVERROR_PROTOCOL_NOT_FOUND, u"x: Unsupported network protocol"},
        {-1234567, u"x: Error number -1234567 occurred"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AVErrorText(u"x", c.code), c.text) << c.code;
}

// A code the classic texts do not name says what the library says of it.
class AVErrorTextWithLibraries : public MediaTest {};

TEST_F(AVErrorTextWithLibraries, OtherCodesTakeTheLibrarysOwnText) {
    const struct {
        Integer code;
        const char16_t* text;
    } cases[] = {
        {AVERROR(ENOSPC), u"x: No space left on device"},
        {AVERROR(EMFILE), u"x: Too many open files"},
        {AVERROR_ENCODER_NOT_FOUND, u"x: Encoder not found"},
        {AVERROR(ENOENT), u"x: No such file or directory"},
        {-1234567, u"x: Error number -1234567 occurred"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AVErrorText(u"x", c.code), c.text) << c.code;
}

TEST(DisplayTurn, EveryRightAngleAndMirrorHasItsFilters) {
    const struct {
        std::array<int32_t, 9> Matrix;
        const char* Filters;
        bool Swaps;
        double Rotation;
        bool Flipped;
    } cases[] = {
        {DisplayMatrix(1, 0, 0, 1), "", false, 0, false},
        {DisplayMatrix(0, 1, -1, 0), "transpose=clock", true, -90, false},
        {DisplayMatrix(-1, 0, 0, -1), "hflip,vflip", false, 180, false},
        {DisplayMatrix(0, -1, 1, 0), "transpose=cclock", true, 90, false},
        {DisplayMatrix(-1, 0, 0, 1), "hflip", false, 0, true},
        {DisplayMatrix(1, 0, 0, -1), "vflip", false, 180, true},
        {DisplayMatrix(0, 1, 1, 0), "transpose=cclock_flip", true, -90, true},
        {DisplayMatrix(0, -1, -1, 0), "transpose=clock_flip", true, 90, true},
        // Scaled, and a little off: still a quarter turn.
        {DisplayMatrix(0, 2, -1.99, 0.01), "transpose=clock", true, -90, false},
        // An eighth of a turn is no business of the pictures.
        {DisplayMatrix(0.7071, 0.7071, -0.7071, 0.7071), "", false, 0, false},
        {DisplayMatrix(0, 0, 0, 0), "", false, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Filters);
        const TDisplayTurn turn = DisplayTurn(c.Matrix.data());
        EXPECT_STREQ(turn.Filters, c.Filters);
        EXPECT_EQ(turn.Swaps, c.Swaps);
        EXPECT_EQ(turn.Rotation, c.Rotation);
        EXPECT_EQ(turn.Flipped, c.Flipped);
    }
    EXPECT_STREQ(DisplayTurn(nullptr).Filters, "");
}

TEST(MediaTypeName, KnownAndUnknownTypes) {
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_VIDEO), u"Video");
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_ATTACHMENT), u"Attachment");
    EXPECT_EQ(MediaTypeName(-1), u"Unknown");
    EXPECT_EQ(MediaTypeName(9), u"Unknown");
}

class WithLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LibLoader.Load(ProbeLibraries)) << StringToUTF8(LibLoader.LastErrMsg());
    }
    void TearDown() override { LibLoader.Unload(ProbeLibraries); }
};

TEST_F(WithLibraries, CodecNamesFromCodecsIdsAndTags) {
    AVCodecParameters parameters{};
    parameters.codec_id = AV_CODEC_ID_MP3;
    EXPECT_EQ(CodecNameText(&parameters, false), u"mp3float(MP3 (MPEG audio layer 3))");
    parameters.codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecNameText(&parameters, true), u"mpeg2ts");
    parameters.codec_id = AV_CODEC_ID_NONE;
    parameters.codec_tag = MKTAG('a', 'v', 'c', '1');
    EXPECT_EQ(CodecNameText(&parameters, false), u"avc1 / 0x31637661");
    parameters.codec_tag = 0x1A;
    EXPECT_EQ(CodecNameText(&parameters, false), u"0x001A");
}

TEST_F(WithLibraries, EncodersAreFoundByName) {
    EXPECT_TRUE(EncoderAvailable("mpeg4"));
    EXPECT_TRUE(EncoderAvailable("aac"));
    EXPECT_FALSE(EncoderAvailable("no_such_encoder"));
    // Decoders do not count.
    EXPECT_FALSE(EncoderAvailable("h264"));
}

TEST_F(WithLibraries, MetadataValueOrDefault) {
    AVDictionary* metadata = nullptr;
    avutil::av_dict_set(&metadata, "title", "高清", 0);
    EXPECT_EQ(MetadataValue(metadata, "TITLE", u"-"), u"高清");
    EXPECT_EQ(MetadataValue(metadata, "artist", u"-"), u"-");
    EXPECT_EQ(MetadataValue(nullptr, "title", u"none"), u"none");
    avutil::av_dict_free(&metadata);
}

TEST_F(WithLibraries, ReadWholeFileAddsAZeroByte) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "velqua-stats.log";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("pass one", f);
    std::fclose(f);
    char* buffer = nullptr;
    Integer size = 0;
    ASSERT_EQ(ReadWholeFile(file.c_str(), buffer, size), 0);
    EXPECT_EQ(size, 9);
    EXPECT_STREQ(buffer, "pass one");
    avutil::av_free(buffer);
    EXPECT_EQ(ReadWholeFile("/nonexistent/velqua.log", buffer, size), -1);
    std::filesystem::remove(file);
}

}  // namespace

namespace {

class FFOptionsTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        InitFFOptions(Options);
        AllocFFOptions(Options, SWS_BICUBIC);
        Log = std::make_unique<TLogCapture>();
    }
    void TearDown() override {
        Log.reset();
        FreeFFOptions(Options);
        MediaTest::TearDown();
    }
    Int64 BitRate(int AType) const { return Options.avcodec_opts[AType]->bit_rate; }

    TFFOptions Options;
    std::unique_ptr<TLogCapture> Log;
};

TEST_F(FFOptionsTest, KnownNamesAreSetAndRemembered) {
    const Int64 audioDefault = BitRate(AVMEDIA_TYPE_AUDIO);
    EXPECT_TRUE(SetFFOption(Options, "b", "800000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_VIDEO), 800000);
    EXPECT_EQ(Options.opt_names, std::vector<AnsiString>{"b"});
    FreeFFOptions(Options);
    AllocFFOptions(Options, SWS_BICUBIC);
    // Not known as such: the letter names the type and the rest the option.
    EXPECT_TRUE(SetFFOption(Options, "vb", "800000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_VIDEO), 800000);
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_AUDIO), audioDefault);
    EXPECT_TRUE(SetFFOption(Options, "g", "12"));
    EXPECT_EQ(Options.avcodec_opts[AVMEDIA_TYPE_VIDEO]->gop_size, 12);
    EXPECT_TRUE(SetFFOption(Options, "probesize", "5000000"));
    EXPECT_EQ(Options.avformat_opts->probesize, 5000000);
    EXPECT_TRUE(SetFFOption(Options, "sws_flags", "neighbor"));
    EXPECT_EQ(Options.opt_names, (std::vector<AnsiString>{"b", "g", "probesize", "sws_flags"}));
    EXPECT_TRUE(Log->Lines.empty());
}

TEST_F(FFOptionsTest, UnknownNamesAndEmptyTextsAreRefusedSilently) {
    const struct {
        const char* name;
        const char* value;
    } cases[] = {
        {"nosuchoption", "1"}, {"vnosuchoption", "1"}, {"", "1"}, {"  ", "1"}, {"b", " "},
        {nullptr, "1"},        {"b", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(SetFFOption(Options, c.name, c.value)) << (c.name ? c.name : "nil");
    EXPECT_TRUE(Options.opt_names.empty());
    EXPECT_TRUE(Log->Lines.empty());
}

TEST_F(FFOptionsTest, InvalidValuesAreLoggedAndRefused) {
    EXPECT_FALSE(SetFFOption(Options, "b", "fast"));
    EXPECT_FALSE(SetFFOption(Options, "scan_offset", "maybe"));
    // FFmpeg says why in lines of its own.
    EXPECT_THAT(Log->Lines, ::testing::IsSupersetOf({u"Invalid value \"fast\" for option \"b\"",
                                                     u"Invalid value \"maybe\" for option \"scan_offset\""}));
    EXPECT_TRUE(Options.opt_names.empty());
    EXPECT_EQ(Options.codec_private_opts[AVMEDIA_TYPE_VIDEO], nullptr);
}

TEST_F(FFOptionsTest, CodecPrivateOptionsAreKeptForTheirMediaType) {
    EXPECT_TRUE(SetFFOption(Options, "scan_offset", "1"));
    EXPECT_TRUE(Options.opt_names.empty());
    AVDictionary* video = CodecPrivateOptions(Options, AVMEDIA_TYPE_VIDEO);
    AVDictionary* audio = CodecPrivateOptions(Options, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(MetadataValue(video, "scan_offset", u"-"), u"1");
    EXPECT_EQ(audio, nullptr);
    avutil::av_dict_free(&video);
    EXPECT_EQ(CodecPrivateOptions(Options, 7), nullptr);
}

TEST_F(FFOptionsTest, MuxerPrivateOptionsAreKeptForTheMuxers) {
    EXPECT_TRUE(SetFFOption(Options, "muxrate", "1411200"));
    EXPECT_FALSE(SetFFOption(Options, "preload", "soon"));
    EXPECT_THAT(Log->Lines, ::testing::Contains(u"Invalid value \"soon\" for option \"preload\""));
    EXPECT_TRUE(Options.opt_names.empty());
    AVDictionary* muxer = MuxerPrivateOptions(Options);
    EXPECT_EQ(MetadataValue(muxer, "muxrate", u"-"), u"1411200");
    EXPECT_EQ(MetadataValue(muxer, "preload", u"-"), u"-");
    avutil::av_dict_free(&muxer);
}

TEST_F(FFOptionsTest, ApplyCopiesOptionsWhoseFlagsMatch) {
    ASSERT_TRUE(SetFFOption(Options, "b", "640000"));
    ASSERT_TRUE(SetFFOption(Options, "g", "7"));
    const AVCodec* encoder = avcodec::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* target = avcodec::avcodec_alloc_context3(encoder);
    ApplyFFOptions(Options, target, Options.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                   AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(target->bit_rate, 640000);
    EXPECT_EQ(target->gop_size, 7);
    avcodec::avcodec_free_context(&target);

    target = avcodec::avcodec_alloc_context3(nullptr);
    const int gop = target->gop_size;
    ApplyFFOptions(Options, target, Options.avcodec_opts[AVMEDIA_TYPE_VIDEO], AV_OPT_FLAG_AUDIO_PARAM);
    EXPECT_EQ(target->gop_size, gop);
    avcodec::avcodec_free_context(&target);
}

// Several codecs of a type know these names, each its own way: the value is
// for the encoder that will use it (libx264 here), or, before that is known,
// for any that takes it. The first codec knowing the name used to judge.
TEST_F(FFOptionsTest, ValuesAreJudgedByTheEncoderThatWillUseThem) {
    TFFOptionTargets x264, mpeg4, unknown;
    x264.Encoders[AVMEDIA_TYPE_VIDEO] = avcodec::avcodec_find_encoder_by_name("libx264");
    mpeg4.Encoders[AVMEDIA_TYPE_VIDEO] = avcodec::avcodec_find_encoder_by_name("mpeg4");
    ASSERT_NE(x264.Encoders[AVMEDIA_TYPE_VIDEO], nullptr);
    const struct {
        const TFFOptionTargets* Targets;
        const char* Name;
        const char* Value;
        bool Taken;
    } cases[] = {
        {&x264, "preset", "medium", true},
        {&x264, "tune", "film", true},
        {&x264, "profile", "high", true},
        {&unknown, "preset", "medium", true},
        {&unknown, "tune", "film", true},
        {&unknown, "profile", "high", true},
        // mpeg4 has no presets of its own: its open will say it left it.
        {&mpeg4, "preset", "medium", true},
        // Its profile is the generic one, which has no "high".
        {&mpeg4, "profile", "high", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Name << " "
                                          << (c.Targets == &x264    ? "libx264"
                                              : c.Targets == &mpeg4 ? "mpeg4"
                                                                    : "unknown"));
        FreeFFOptions(Options);
        AllocFFOptions(Options, SWS_BICUBIC);
        Log->Lines.clear();
        EXPECT_EQ(SetFFOption(Options, c.Name, c.Value, *c.Targets), c.Taken);
        AVDictionary* video = CodecPrivateOptions(Options, AVMEDIA_TYPE_VIDEO);
        EXPECT_EQ(MetadataValue(video, c.Name, u"-"), c.Taken ? UTF8ToString(c.Value) : u"-");
        avutil::av_dict_free(&video);
        const String refusal = Format(u"Invalid value \"%s\" for option \"%s\"", {c.Value, c.Name});
        EXPECT_EQ(Log->Lines, c.Taken ? std::vector<String>{} : std::vector<String>{refusal});
    }

    // The encoder's own refusal counts, whatever another codec would take.
    TFFOptionTargets mpeg2;
    mpeg2.Encoders[AVMEDIA_TYPE_VIDEO] = avcodec::avcodec_find_encoder_by_name("mpeg2video");
    EXPECT_FALSE(SetFFOption(Options, "scan_offset", "maybe", mpeg2));
    // So does the muxer's: mp4 knows "movflags", and no flag of that name.
    TFFOptionTargets mp4;
    mp4.Muxer = avformat::av_guess_format("mp4", nullptr, nullptr);
    EXPECT_TRUE(SetFFOption(Options, "movflags", "+faststart", mp4));
    EXPECT_FALSE(SetFFOption(Options, "movflags", "sideways", mp4));
    EXPECT_THAT(Log->Lines, ::testing::IsSupersetOf({u"Invalid value \"maybe\" for option \"scan_offset\"",
                                                     u"Invalid value \"sideways\" for option \"movflags\""}));
    AVDictionary* muxer = MuxerPrivateOptions(Options);
    EXPECT_EQ(MetadataValue(muxer, "movflags", u"-"), u"+faststart");
    avutil::av_dict_free(&muxer);
}

TEST_F(FFOptionsTest, DebugOptionRaisesTheLogLevel) {
    GetLogger()->SetLogLevel(llInfo);
    ASSERT_TRUE(SetFFOption(Options, "debug", "pict"));
    EXPECT_EQ(GetLogger()->LogLevel(), llDebug);
}

}  // namespace

namespace {

// A picture in memory: planes of FFmpeg's layout for the format, AAlign
// bytes to a line at least.
struct TTestPicture {
    TTestPicture(AVPixelFormat AFormat, Integer AWidth, Integer AHeight, Integer AAlign = 1) {
        const int size = avutil::av_image_get_buffer_size(AFormat, AWidth, AHeight, AAlign);
        Buffer.assign(static_cast<size_t>(size), 0);
        avutil::av_image_fill_arrays(Picture.data, Picture.linesize, Buffer.data(), AFormat, AWidth, AHeight,
                                     AAlign);
    }
    std::vector<uint8_t> Buffer;
    TAVPicture Picture{};
};

// B, G, R of one pixel of the context's bitmap.
std::array<int, 3> PixelAt(TRGBConvertContext& AContext, Integer X, Integer Y) {
    const auto* row = static_cast<const uint8_t*>(AContext.Bitmap->ScanLine(Y));
    return {row[3 * X], row[3 * X + 1], row[3 * X + 2]};
}

class PictureToBitmapTest : public MediaTest {
protected:
    void TearDown() override {
        ResetRGBConvertContext(Context);
        MediaTest::TearDown();
    }
    // A BGR24 picture whose row y has blue y, green x mod 256 and red 200.
    static TTestPicture Gradient(Integer AWidth, Integer AHeight, Integer AAlign) {
        TTestPicture picture(AV_PIX_FMT_BGR24, AWidth, AHeight, AAlign);
        for (Integer y = 0; y < AHeight; ++y)
            for (Integer x = 0; x < AWidth; ++x) {
                uint8_t* p = picture.Picture.data[0] + y * picture.Picture.linesize[0] + 3 * x;
                p[0] = static_cast<uint8_t>(y), p[1] = static_cast<uint8_t>(x), p[2] = 200;
            }
        return picture;
    }
    void ExpectGradient(Integer AWidth, Integer AHeight) {
        ASSERT_EQ(Context.Bitmap->Width(), AWidth);
        ASSERT_EQ(Context.Bitmap->Height(), AHeight);
        EXPECT_EQ(Context.Bitmap->PixelFormat(), pf24bit);
        for (Integer y : {0, AHeight / 2, AHeight - 1})
            for (Integer x : {0, AWidth / 2, AWidth - 1})
                EXPECT_EQ(PixelAt(Context, x, y), (std::array<int, 3>{y, x % 256, 200})) << x << ',' << y;
    }

    TRGBConvertContext Context;
};

TEST_F(PictureToBitmapTest, PictureInTheBitmapsLayoutIsCopiedDirectly) {
    TTestPicture picture = Gradient(640, 4, 4);
    ASSERT_EQ(picture.Picture.linesize[0], 1920);
    ASSERT_TRUE(PictureToBitmap(Context, &picture.Picture, AV_PIX_FMT_BGR24, 640, 4));
    EXPECT_EQ(Context.RGBPictureRef, &picture.Picture);
    EXPECT_EQ(Context.RGBBuf, nullptr);
    ExpectGradient(640, 4);
}

TEST_F(PictureToBitmapTest, OtherLayoutsGoThroughTheScaler) {
    const struct {
        Integer width, height, align;
    } cases[] = {
        {641, 4, 4},  // odd width
        {640, 3, 4},  // odd height
        {62, 4, 32},  // lines padded past the bitmap row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        TTestPicture picture = Gradient(c.width, c.height, c.align);
        ASSERT_TRUE(PictureToBitmap(Context, &picture.Picture, AV_PIX_FMT_BGR24, c.width, c.height));
        EXPECT_EQ(Context.RGBPictureRef, &Context.RGBPicture);
        ExpectGradient(c.width, c.height);
    }
}

TEST_F(PictureToBitmapTest, ColoursConvertFromYUV) {
    // Pure red and pure blue halves in limited-range BT.601.
    TTestPicture picture(AV_PIX_FMT_YUV420P, 32, 16);
    TAVPicture& p = picture.Picture;
    for (Integer y = 0; y < 16; ++y)
        for (Integer x = 0; x < 32; ++x)
            p.data[0][y * p.linesize[0] + x] = x < 16 ? 81 : 41;
    for (Integer y = 0; y < 8; ++y)
        for (Integer x = 0; x < 16; ++x) {
            p.data[1][y * p.linesize[1] + x] = x < 8 ? 90 : 240;
            p.data[2][y * p.linesize[2] + x] = x < 8 ? 240 : 110;
        }
    ASSERT_TRUE(PictureToBitmap(Context, &p, AV_PIX_FMT_YUV420P, 32, 16));
    const auto near = [](std::array<int, 3> AActual, std::array<int, 3> AExpected) {
        for (int i = 0; i < 3; ++i)
            if (std::abs(AActual[i] - AExpected[i]) > 3) return false;
        return true;
    };
    EXPECT_PRED2(near, PixelAt(Context, 2, 8), (std::array<int, 3>{0, 0, 255}));
    EXPECT_PRED2(near, PixelAt(Context, 29, 8), (std::array<int, 3>{255, 0, 0}));
}

TEST_F(PictureToBitmapTest, BufferIsReusedAndOnlyGrows) {
    TTestPicture large = Gradient(101, 10, 1);
    TTestPicture small = Gradient(51, 5, 1);
    ASSERT_TRUE(PictureToBitmap(Context, &large.Picture, AV_PIX_FMT_BGR24, 101, 10));
    EXPECT_EQ(Context.RGBBufSize, 101 * 10 * 3);
    const uint8_t* buffer = Context.RGBBuf;
    ASSERT_TRUE(PictureToBitmap(Context, &small.Picture, AV_PIX_FMT_BGR24, 51, 5));
    EXPECT_EQ(Context.RGBBuf, buffer);
    EXPECT_EQ(Context.RGBBufSize, 101 * 10 * 3);
    ExpectGradient(51, 5);
    TTestPicture larger = Gradient(201, 10, 1);
    ASSERT_TRUE(PictureToBitmap(Context, &larger.Picture, AV_PIX_FMT_BGR24, 201, 10));
    EXPECT_EQ(Context.RGBBufSize, 201 * 10 * 3);
    ExpectGradient(201, 10);
}

TEST_F(PictureToBitmapTest, UnconvertiblePicturesAreRefused) {
    TTestPicture picture = Gradient(8, 8, 1);
    for (Integer format : {Integer{AV_PIX_FMT_NONE}, Integer{AV_PIX_FMT_NB}, Integer{AV_PIX_FMT_VAAPI}})
        EXPECT_FALSE(PictureToBitmap(Context, &picture.Picture, format, 8, 8)) << format;
    EXPECT_FALSE(PictureToBitmap(Context, &picture.Picture, AV_PIX_FMT_BGR24, 0, 8));
    EXPECT_FALSE(PictureToBitmap(Context, nullptr, AV_PIX_FMT_BGR24, 8, 8));
}

TEST_F(PictureToBitmapTest, ResetFreesEverything) {
    TTestPicture picture = Gradient(9, 9, 1);
    ASSERT_TRUE(PictureToBitmap(Context, &picture.Picture, AV_PIX_FMT_BGR24, 9, 9));
    ResetRGBConvertContext(Context);
    EXPECT_EQ(Context.Bitmap, nullptr);
    EXPECT_EQ(Context.RGBBuf, nullptr);
    EXPECT_EQ(Context.RGBBufSize, 0);
    EXPECT_EQ(Context.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(Context.RGBPixFmt, AV_PIX_FMT_BGR24);
    EXPECT_EQ(Context.BMPPixFmt, pf24bit);
}

}  // namespace

namespace {

// Records that never held anything are freed without the libraries.
TEST(FreeWithoutLibraries, EmptyRecordsNeedNoLibrary) {
    ASSERT_FALSE(LibLoader.Loaded(avUtil));
    TFFOptions options;
    InitFFOptions(options);
    FreeFFOptions(options);
    TRGBConvertContext context;
    ResetRGBConvertContext(context);
    EXPECT_EQ(context.Bitmap, nullptr);
}

TEST(EncoderAvailableWithoutLibraries, NothingIsFound) {
    ASSERT_FALSE(LibLoader.Loaded(avCodec));
    EXPECT_FALSE(EncoderAvailable("mpeg4"));
}

}  // namespace
