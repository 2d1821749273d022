#include "media/avprobe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "media/avformatstubs.h"
#include "media/avutilstubs.h"
#include "media/ffmpegloader.h"
#include "media/unicodeprotocol.h"
#include "mediatest.h"
#include "platform/base/stringlist.h"

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

std::vector<std::string> Lines(const String& AText) {
    TStringList list;
    list.SetText(AText);
    std::vector<std::string> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(StringToUTF8(list.Strings(i)));
    return lines;
}

// Libraries loaded by nobody: the first tests of this program.
TEST(AVProbeWithoutLibraries, OpeningRaisesTheFirstMissingLibrary) {
    ASSERT_FALSE(LibLoader.Loaded(avCodec));
    TAVProbe probe(nullptr);
    try {
        probe.LoadFile(u"/tmp/none.avi", u"");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"LibAVCodec not loaded.");
    }
    EXPECT_THROW(probe.SetFileHandle(nullptr), Exception);
    EXPECT_FALSE(probe.AVLibLoaded());
}

class AVProbeTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        Probe = std::make_unique<TAVProbe>(nullptr);
    }
    void TearDown() override {
        Probe.reset();
        MediaTest::TearDown();
    }
    void Load(const char16_t* AName) {
        ASSERT_TRUE(Probe->LoadFile(TestDataFile(AName), u"")) << StringToUTF8(Probe->LastErrMsg());
    }
    std::vector<std::string> Text() const { return Lines(Probe->FileInfoText()); }
    std::string LastErr() const { return StringToUTF8(Probe->LastErrMsg()); }
    // Decodes pictures until one has APTS.
    void DecodeTo(Int64 APTS) {
        while (Probe->FrameInfo().PTS < APTS || !Probe->FrameInfo().Ready)
            ASSERT_TRUE(Probe->Decode(-1)) << LastErr();
        ASSERT_EQ(Probe->FrameInfo().PTS, APTS);
    }

    std::unique_ptr<TAVProbe> Probe;
};

TEST_F(AVProbeTest, ClosedProberAnswersMinusOneAndAnEmptyText) {
    EXPECT_TRUE(Probe->AVLibLoaded());
    EXPECT_EQ(Probe->FileSize(), -1);
    for (Integer value :
         {Probe->StreamCount(), Probe->ProgramCount(), Probe->AudioStreamCount(), Probe->VideoStreamCount(),
          Probe->SubtitleStreamCount(), Probe->FirstAudioStreamIndex(), Probe->FirstVideoStreamIndex(),
          Probe->FirstSubtitleStreamIndex()})
        EXPECT_EQ(value, -1);
    TLogCapture log(llWarning);
    EXPECT_EQ(Probe->FileInfoText(), u"");
    EXPECT_EQ(LastErr(), "file not loaded.");
    const TFileStreamInfo info = Probe->FileStreamInfo();
    EXPECT_EQ(info.Duration, -1);
    EXPECT_EQ(info.BitRate, -1);
    EXPECT_EQ(info.Title, u"");
    EXPECT_FALSE(Probe->IsVideoStream(0));
    EXPECT_EQ(Probe->FirstVideoStreamInfo().Width, -1);
    EXPECT_EQ(Probe->Position(), -1);
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_FALSE(Probe->Seek(0, {}));
    EXPECT_EQ(Probe->FileName(), u"");
    EXPECT_EQ(log.Lines.size(), 7u);
    EXPECT_THAT(log.Lines, ::testing::Each(String(u"file not loaded.")));
    EXPECT_THAT(log.Levels, ::testing::Each(llWarning));
}

TEST_F(AVProbeTest, FailedOpensSayWhy) {
    TLogCapture log;
    const String missing = TestDataFile(u"missing.avi");
    EXPECT_FALSE(Probe->LoadFile(missing, u""));
    EXPECT_EQ(Probe->LastErrMsg(), missing + u": No such file or directory");
    EXPECT_EQ(log.Lines, std::vector<String>{Probe->LastErrMsg()});

    log.Lines.clear();
    EXPECT_FALSE(Probe->LoadFile(TestDataFile(u"a.avi"), u"nosuchformat"));
    EXPECT_EQ(LastErr(), "Unknown input format: nosuchformat");
    EXPECT_TRUE(log.Lines.empty());

    const std::filesystem::path junk = std::filesystem::temp_directory_path() / "velqua-junk.avi";
    std::ofstream(junk) << "no media in here";
    EXPECT_FALSE(Probe->LoadFile(UTF8ToString(junk.string()), u""));
    EXPECT_EQ(LastErr(), junk.string() + ": Invalid data found when processing input");
    std::filesystem::remove(junk);
    EXPECT_EQ(Probe->FileHandle(), nullptr);
    EXPECT_EQ(Probe->StreamCount(), -1);
}

TEST_F(AVProbeTest, DescribesAnAviFile) {
    const String name = TestDataFile(u"a.avi");
    Load(u"a.avi");
    EXPECT_EQ(Probe->FileName(), name);
    EXPECT_EQ(Probe->FormatName(), u"avi");
    EXPECT_EQ(Probe->FileSize(), static_cast<Int64>(std::filesystem::file_size(StringToUTF8(name))));
    EXPECT_EQ(Probe->StreamCount(), 2);
    EXPECT_EQ(Probe->ProgramCount(), 0);
    EXPECT_EQ(Probe->VideoStreamCount(), 1);
    EXPECT_EQ(Probe->AudioStreamCount(), 1);
    EXPECT_EQ(Probe->SubtitleStreamCount(), 0);
    EXPECT_EQ(Probe->FirstVideoStreamIndex(), 0);
    EXPECT_EQ(Probe->FirstAudioStreamIndex(), 1);
    EXPECT_EQ(Probe->FirstSubtitleStreamIndex(), -1);
    EXPECT_TRUE(Probe->IsVideoStream(0));
    EXPECT_TRUE(Probe->IsAudioStream(1));
    EXPECT_FALSE(Probe->IsSubtitleStream(1));

    const std::vector<std::string> text = Text();
    ASSERT_GE(text.size(), 9u);
    EXPECT_EQ(text[0], "File Name: " + StringToUTF8(name));
    EXPECT_EQ(text[1], "Format Name: avi");
    EXPECT_EQ(text[2], "Format Long Name: AVI (Audio Video Interleaved)");
    EXPECT_EQ(text[3], "File Size: " + StringToUTF8(SizeToText(Probe->FileSize())));
    EXPECT_THAT(text[4], StartsWith("Duration: 00:00:02.0"));
    EXPECT_EQ(text[5], "StartTime: 0.000000");
    EXPECT_THAT(text[6], AllOf(StartsWith("Bit Rate: "), EndsWith(" kb/s")));
    EXPECT_EQ(text[7], "Metadata:");
    EXPECT_THAT(text[8], StartsWith("  software        : Lavf"));
    EXPECT_THAT(
        text, Contains(AllOf(StartsWith("Stream #0, 1/25: Video: mpeg4"),
                             HasSubstr("320x240 [SAR 1:1 DAR 4:3]"), HasSubstr(", 25 fps, 25 tbr, 25 tbn, "),
                             EndsWith(", StartTime: 0.000000, Duration: 00:00:02.000"))));
    EXPECT_THAT(text, Contains(AllOf(StartsWith("Stream #1, 32/1225: Audio: mp2"), HasSubstr("44100 Hz"),
                                     Not(HasSubstr(" fps")))));
    // Every line ends with CR LF.
    const String whole = Probe->FileInfoText();
    EXPECT_EQ(whole.substr(whole.size() - 2), u"\r\n");
}

TEST_F(AVProbeTest, TransportStreamProgramsRatesAndLanguages) {
    Load(u"ntsc.ts");
    const std::vector<std::string> text = Text();
    EXPECT_THAT(text, Contains(StartsWith("StartTime: 1.4")));
    const auto program = std::find(text.begin(), text.end(), "Program 1 Velqua@Probe");
    ASSERT_NE(program, text.end());
    EXPECT_EQ(program[1], "  Metadata:");
    EXPECT_THAT(
        std::vector<std::string>(program + 2, program + 4),
        ::testing::UnorderedElementsAre("    service_name    : Probe", "    service_provider: Velqua"));
    ASSERT_EQ(text.end() - program, 6);
    EXPECT_THAT(program[4],
                AllOf(StartsWith("Stream #0[0x100], 1/90000: Video: mpeg2video"),
                      HasSubstr(", 29.97 fps, 29.97 tbr, 90k tbn, "), HasSubstr(", StartTime: 1.4")));
    // The audio stream's only metadata is its language: shown on the stream
    // line, with no metadata block.
    EXPECT_THAT(program[5], StartsWith("Stream #1[0x101](eng), 1/90000: Audio: mp2"));

    EXPECT_EQ(Probe->FirstAudioStreamInfo().Language, u"eng");
    const TVideoStreamInfo video = Probe->FirstVideoStreamInfo();
    EXPECT_EQ(video.FrameRate.num, 30000);
    EXPECT_EQ(video.FrameRate.den, 1001);
    EXPECT_EQ(video.StartTimeScaled, avutil::av_rescale_q(video.StartTime, {1, 90000}, {1, 1000000}));
}

TEST_F(AVProbeTest, BitRateTexts) {
    const struct {
        const char16_t* file;
        const char* line;
    } cases[] = {
        {u"still.png", "Bit Rate: N/A"},
        {u"cbr.mp3", "Bit Rate: 128 kb/s"},
    };
    for (const auto& c : cases) {
        Load(c.file);
        EXPECT_THAT(Text(), Contains(c.line)) << StringToUTF8(c.file);
    }
    EXPECT_THAT(Text(), Not(Contains(StartsWith("Time Stamp:"))));
}

TEST_F(AVProbeTest, StreamAspectThatDiffersFromTheCodecs) {
    Load(u"raw.nut");
    // The stream says 1:1 where the codec knows nothing; the time base of
    // 1/81920 is no multiple of 1000.
    EXPECT_THAT(Text(),
                Contains(AllOf(HasSubstr("32x24, PAR 1:1 DAR 4:3"), HasSubstr(", 5 fps, 5 tbr, 81920 tbn"))));
    const TVideoStreamInfo video = Probe->FirstVideoStreamInfo();
    EXPECT_EQ(video.PixFmt, AV_PIX_FMT_BGR24);
    EXPECT_EQ(video.AspectRatio, 0.0f);
}

// Pictures stored turned are named so below their stream, as players and
// the converter will turn them; upright ones have no such lines.
TEST_F(AVProbeTest, TheDisplayMatrixIsNamedBelowItsStream) {
    const struct {
        std::array<int32_t, 9> Matrix;
        const char* Line;
    } cases[] = {
        {DisplayMatrix(0, 1, -1, 0), "    displaymatrix: rotation of -90.00 degrees"},
        {DisplayMatrix(-1, 0, 0, -1), "    displaymatrix: rotation of 180.00 degrees"},
        {DisplayMatrix(0, -1, 1, 0), "    displaymatrix: rotation of 90.00 degrees"},
        {DisplayMatrix(-1, 0, 0, 1), "    displaymatrix: rotation of 0.00 degrees, mirrored"},
        {DisplayMatrix(1, 0, 0, 1), nullptr},
    };
    const String file = UTF8ToString(::testing::TempDir()) + u"/velqua-turned.mp4";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line ? c.Line : "upright");
        WriteWithDisplayMatrix(u"marked.mp4", c.Matrix, file);
        ASSERT_TRUE(Probe->LoadFile(file, u"")) << LastErr();
        const std::vector<std::string> lines = Text();
        const auto stream = std::find_if(lines.begin(), lines.end(), [](const std::string& ALine) {
            return ALine.starts_with("Stream #0");
        });
        ASSERT_NE(stream, lines.end());
        if (!c.Line) {
            EXPECT_THAT(lines, Not(Contains(HasSubstr("displaymatrix"))));
            continue;
        }
        // After the stream's metadata block.
        const auto side = std::find(stream, lines.end(), "  Side data:");
        ASSERT_NE(side, lines.end());
        ASSERT_NE(side + 1, lines.end());
        EXPECT_EQ(*(side + 1), c.Line);
        EXPECT_THAT(*stream, HasSubstr("64x32")) << "the stream as stored";
    }
    Probe->CloseFile();
}

TEST_F(AVProbeTest, MetadataBlocks) {
    Load(u"tags.mkv");
    const TFileStreamInfo info = Probe->FileStreamInfo();
    EXPECT_EQ(info.Title, u"Velqua");
    EXPECT_EQ(info.Author, u"Somebody");
    EXPECT_EQ(info.Duration, 1000000);
    EXPECT_EQ(info.TimeStamp, 1304245230);
    {
        TTimeZone utc("UTC");
        EXPECT_THAT(Text(), Contains("Time Stamp: 2011-05-01 10:20:30"));
    }

    // ID3v2 frame names are shown by their meaning, other keys as they are;
    // "language" is never listed, and alone it makes no block.
    AVFormatContext* context = Probe->FileHandle();
    avutil::av_dict_free(&context->metadata);
    avutil::av_dict_set(&context->metadata, "TPE1", "Artist", 0);
    avutil::av_dict_set(&context->metadata, "language", "chi", 0);
    avutil::av_dict_set(&context->metadata, "TYER", "2011", 0);
    avutil::av_dict_set(&context->metadata, "TXXX", "free", 0);
    avutil::av_dict_set(&context->metadata, "date", "2012-05-01", 0);
    AVDictionary*& streamMetadata = context->streams[0]->metadata;
    avutil::av_dict_free(&streamMetadata);
    avutil::av_dict_set(&streamMetadata, "language", "chi", 0);
    const std::vector<std::string> text = Text();
    const auto block = std::find(text.begin(), text.end(), "Metadata:");
    ASSERT_NE(block, text.end());
    ASSERT_GE(text.end() - block, 6);
    EXPECT_EQ(block[1], "  artist          : Artist");
    EXPECT_EQ(block[2], "  year            : 2011");
    EXPECT_EQ(block[3], "  TXXX            : free");
    EXPECT_EQ(block[4], "  date            : 2012-05-01");
    EXPECT_THAT(block[5], StartsWith("Stream #0(chi), "));
    EXPECT_EQ(block + 6, text.end());
    // The year of the record comes from the date when no year is given.
    EXPECT_EQ(Probe->FileStreamInfo().Year, 2012);
}

TEST_F(AVProbeTest, NegativeStartTimeKeepsItsSign) {
    Load(u"a.avi");
    // Audio primed before the first picture starts below zero.
    Probe->FileHandle()->streams[0]->start_time = -1;
    EXPECT_THAT(Text(),
                Contains(AllOf(StartsWith("Stream #0, 1/25: "), HasSubstr(", StartTime: -0.040000, "))));
}

TEST_F(AVProbeTest, ChineseFileNameIsProbed) {
    const String name = TestDataFile(u"中文视频.avi");
    Load(u"中文视频.avi");
    EXPECT_EQ(Probe->FileName(), name);
    EXPECT_EQ(Probe->FileSize(), static_cast<Int64>(std::filesystem::file_size(StringToUTF8(name))));
    EXPECT_EQ(Lines(Probe->FileInfoText())[0], "File Name: " + StringToUTF8(name));
    ASSERT_TRUE(Probe->Decode(-1));
}

TEST_F(AVProbeTest, StreamRecordsAndTheirErrors) {
    Load(u"a.avi");
    const TVideoStreamInfo video = Probe->FirstVideoStreamInfo();
    EXPECT_EQ(video.CodecName, u"mpeg4(MPEG-4 part 2)");
    EXPECT_EQ(video.Width, 320);
    EXPECT_EQ(video.Height, 240);
    EXPECT_FLOAT_EQ(video.AspectRatio, 320.0f / 240.0f);
    EXPECT_EQ(video.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(video.FrameRate.num, 25);
    EXPECT_EQ(video.StartTime, 0);
    EXPECT_EQ(video.Duration, 50);
    EXPECT_EQ(video.DurationScaled, 2000000);
    const TAudioStreamInfo audio = Probe->GetAudioStreamInfo(1);
    EXPECT_EQ(audio.Channels, 1);
    EXPECT_EQ(audio.SampleRate, 44100);
    EXPECT_EQ(audio.Language, u"");

    TLogCapture log;
    const struct {
        std::function<Integer()> call;
        const char* message;
    } cases[] = {
        {[&] { return Probe->FirstSubtitleStreamInfo().CodecName.empty() ? -1 : 0; }, "no subtitle stream."},
        {[&] { return Probe->GetVideoStreamInfo(1).Width; }, "stream #1 is not video stream."},
        {[&] { return Probe->GetAudioStreamInfo(0).Channels; }, "stream #0 is not audio stream."},
        {[&] { return Probe->GetSubtitleStreamInfo(0).Language.empty() ? -1 : 0; },
         "stream #0 is not subtitle stream."},
        {[&] { return Probe->GetVideoStreamInfo(2).Height; }, "stream index #2 is invalid."},
        {[&] { return Probe->IsAudioStream(-1) ? 0 : -1; }, "stream index #-1 is invalid."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.call(), -1) << c.message;
        EXPECT_EQ(LastErr(), c.message);
    }
    EXPECT_EQ(log.Lines.size(), std::size(cases));
    EXPECT_THAT(log.Levels, ::testing::Each(llError));
}

TEST_F(AVProbeTest, DecodesPicturesInOrder) {
    Load(u"a.avi");
    EXPECT_GE(Probe->Position(), 0);
    ASSERT_TRUE(Probe->Decode(-1)) << LastErr();
    const TFrameInfo& frame = Probe->FrameInfo();
    EXPECT_TRUE(frame.Ready);
    EXPECT_EQ(frame.PTS, 0);
    EXPECT_TRUE(frame.IsKeyFrame);
    EXPECT_EQ(frame.PictureType, ptI);
    EXPECT_EQ(frame.Width, 320);
    EXPECT_EQ(frame.Height, 240);
    EXPECT_EQ(frame.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(frame.StreamIndex, 0);
    EXPECT_GT(frame.Position, 0);
    EXPECT_EQ(frame.Picture.linesize[0], 320);
    EXPECT_EQ(frame.Picture.data[0], frame.Buffer);
    const Int64 firstPosition = frame.Position;
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_EQ(frame.PTS, 40000);
    EXPECT_FALSE(frame.IsKeyFrame);
    EXPECT_EQ(frame.PictureType, ptP);
    EXPECT_GE(frame.Position, firstPosition);
    EXPECT_FALSE(Probe->Eof());
}

TEST_F(AVProbeTest, EveryPictureComesOutBeforeTheEnd) {
    Load(u"intra.avi");
    TLogCapture log;
    for (Int64 n = 0; n < 50; ++n) {
        ASSERT_TRUE(Probe->Decode(0)) << n << ' ' << LastErr();
        ASSERT_EQ(Probe->FrameInfo().PTS, n * 40000);
    }
    EXPECT_FALSE(Probe->Decode(0));
    EXPECT_TRUE(Probe->Eof());
    EXPECT_EQ(LastErr(), "stream eof reached.");
    EXPECT_EQ(log.Levels.back(), llInfo);
    EXPECT_FALSE(Probe->Decode(0));
    // A seek leaves the end again.
    ASSERT_TRUE(Probe->Seek(0, {})) << LastErr();
    EXPECT_FALSE(Probe->Eof());
    ASSERT_TRUE(Probe->Decode(0));
    EXPECT_EQ(Probe->FrameInfo().PTS, 0);
}

TEST_F(AVProbeTest, DecodeChecksTheStream) {
    Load(u"a.avi");
    EXPECT_FALSE(Probe->Decode(1));
    EXPECT_EQ(LastErr(), "stream #1 is not video stream.");
    EXPECT_FALSE(Probe->Decode(5));
    EXPECT_EQ(LastErr(), "stream index #5 is invalid.");
    Load(u"cbr.mp3");
    EXPECT_FALSE(Probe->Decode(-1));
    EXPECT_EQ(LastErr(), "no video stream.");
}

TEST_F(AVProbeTest, StillPictureIsDecodedOnceAndNotSought) {
    Load(u"still.png");
    ASSERT_TRUE(Probe->Decode(-1)) << LastErr();
    const TFrameInfo first = Probe->FrameInfo();
    EXPECT_EQ(first.Width, 64);
    const Int64 position = Probe->Position();
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_EQ(Probe->Position(), position);
    EXPECT_EQ(Probe->FrameInfo().Buffer, first.Buffer);
    EXPECT_FALSE(Probe->Seek(0, {}));
    EXPECT_EQ(LastErr(), "\"image2\" format cannot to be seeked.");
    EXPECT_FALSE(Probe->DecodeNextKeyFrame(-1));
}

TEST_F(AVProbeTest, SeekLandsOnAKeyFrame) {
    Load(u"a.avi");
    TLogCapture log(llDebug);
    ASSERT_TRUE(Probe->Seek(700000, {sfBackward})) << LastErr();
    EXPECT_TRUE(std::any_of(log.Lines.begin(), log.Lines.end(),
                            [](const String& ALine) { return ALine.rfind(u"currunt position ", 0) == 0; }));
    EXPECT_EQ(LastErr().rfind("seek to position ", 0), 0u) << LastErr();
    ASSERT_TRUE(Probe->Decode(-1));
    // The default group of pictures is 12: key frames at 0 and 480 ms.
    EXPECT_EQ(Probe->FrameInfo().PTS, 480000);
    EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);

    // A negative time is the start.
    ASSERT_TRUE(Probe->Seek(-5, {}));
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_EQ(Probe->FrameInfo().PTS, 0);
}

TEST_F(AVProbeTest, SeekBeyondTheEndFails) {
    Load(u"a.avi");
    ASSERT_TRUE(Probe->Decode(-1));
    EXPECT_FALSE(Probe->Seek(60000000, {}));
    EXPECT_EQ(LastErr(), "could not seek to position 60.000 seconds");
    EXPECT_FALSE(Probe->FrameInfo().Ready);
}

TEST_F(AVProbeTest, NextKeyFrame) {
    Load(u"a.avi");
    ASSERT_TRUE(Probe->Decode(-1));
    ASSERT_TRUE(Probe->DecodeNextKeyFrame(-1)) << LastErr();
    EXPECT_EQ(Probe->FrameInfo().PTS, 480000);
    EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);
}

TEST_F(AVProbeTest, PreviousFrameAndKeyFrame) {
    const struct {
        const char16_t* file;
        Int64 from;
        Int64 previousFrame;
        Int64 previousKeyFrame;
    } cases[] = {
        {u"intra.avi", 0, 0, 0},  // the first picture has only itself before it
        {u"intra.avi", 40000, 0, 0},   {u"intra.avi", 400000, 360000, 360000},
        {u"a.avi", 40000, 0, 0},       {u"a.avi", 560000, 520000, 480000},
        {u"a.avi", 480000, 440000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUTF8(c.file) + " from " + std::to_string(c.from));
        Load(c.file);
        DecodeTo(c.from);
        ASSERT_TRUE(Probe->DecodePreviousFrame(-1)) << LastErr();
        EXPECT_EQ(Probe->FrameInfo().PTS, c.previousFrame);
        Load(c.file);
        DecodeTo(c.from);
        ASSERT_TRUE(Probe->DecodePreviousKeyFrame(-1)) << LastErr();
        EXPECT_EQ(Probe->FrameInfo().PTS, c.previousKeyFrame);
        EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);
    }
}

TEST_F(AVProbeTest, PreviousKeyFrameAcrossAJumpInTimeTakesFewSeeks) {
    // From the first picture stamped ten hours on, seeks back land on it
    // again until they reach the pictures before the jump: stepping back one
    // frame at a time took hours.
    Load(u"jump.ts");
    while (!Probe->FrameInfo().Ready || Probe->FrameInfo().PTS < Int64{35000000000})
        ASSERT_TRUE(Probe->Decode(-1)) << LastErr();
    const Int64 from = Probe->FrameInfo().PTS;
    TLogCapture log(llDebug);
    ASSERT_TRUE(Probe->DecodePreviousKeyFrame(-1)) << LastErr();
    EXPECT_LT(Probe->FrameInfo().PTS, from);
    EXPECT_TRUE(Probe->FrameInfo().IsKeyFrame);
    EXPECT_LE(std::count_if(log.Lines.begin(), log.Lines.end(),
                            [](const String& ALine) { return ALine.rfind(u"currunt position ", 0) == 0; }),
              64);
}

TEST_F(AVProbeTest, AdoptedContextIsDescribedButNeitherSoughtNorDecodedNorClosed) {
    AVFormatContext* context = nullptr;
    ASSERT_EQ(OpenInputFile(&context, TestDataPath(u"a.avi").c_str(), nullptr, nullptr), 0);
    ASSERT_GE(avformat::avformat_find_stream_info(context, nullptr), 0);
    Probe->SetFileHandle(context);
    EXPECT_EQ(Probe->FileHandle(), context);
    EXPECT_EQ(Probe->StreamCount(), 2);
    EXPECT_THAT(Text(), Contains("Format Name: avi"));
    TLogCapture log;
    for (const auto& call :
         std::vector<std::function<void()>>{[&] { Probe->Seek(0, {}); }, [&] { Probe->Decode(-1); },
                                            [&] { Probe->DecodePreviousKeyFrame(-1); }}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), u"file cannot be seeked, handle is readonly.");
        }
    }
    EXPECT_EQ(log.Levels, std::vector<TLogLevel>(3, llWarning));
    Probe->SetFileHandle(nullptr);
    EXPECT_EQ(Probe->StreamCount(), -1);
    // Still open: ours to close.
    EXPECT_EQ(context->nb_streams, 2u);
    CloseInputFile(&context);
}

TEST_F(AVProbeTest, LibrariesStayWhileTheProberHoldsAFile) {
    Load(u"a.avi");
    ASSERT_TRUE(Probe->Decode(-1));
    // The user that loaded them lets go; the prober still decodes and closes.
    LibLoader.Unload(ProbeLibraries);
    EXPECT_TRUE(LibLoader.Loaded(avCodec));
    EXPECT_TRUE(Probe->Decode(-1));
    Probe.reset();
    EXPECT_FALSE(LibLoader.Loaded(avCodec));
    ASSERT_TRUE(LibLoader.Load(ProbeLibraries));
}

TEST_F(AVProbeTest, CopyToBitmapNeedsAPicture) {
    Load(u"a.avi");
    EXPECT_FALSE(Probe->CopyToBitmap(nullptr));
    EXPECT_EQ(LastErr(), "picture not ready, please decode first");
}

}  // namespace

namespace {

TEST_F(AVProbeTest, CopyToBitmapGivesTheDecodedColours) {
    Load(u"still.png");
    ASSERT_TRUE(Probe->Decode(-1));
    TBitmap bitmap;
    ASSERT_TRUE(Probe->CopyToBitmap(&bitmap));
    ASSERT_EQ(bitmap.Width(), 64);
    ASSERT_EQ(bitmap.Height(), 48);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    // Red, as far as the picture's own trip through YUV kept it.
    for (Integer y : {0, 47}) {
        const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        for (Integer x : {0, 63}) {
            EXPECT_EQ(row[3 * x], 0);
            EXPECT_EQ(row[3 * x + 1], 0);
            EXPECT_GE(row[3 * x + 2], 250);
        }
    }

    Load(u"a.avi");
    ASSERT_TRUE(Probe->Decode(-1));
    ASSERT_TRUE(Probe->CopyToBitmap(&bitmap));
    EXPECT_EQ(bitmap.Width(), 320);
    EXPECT_EQ(bitmap.Height(), 240);
}

}  // namespace
