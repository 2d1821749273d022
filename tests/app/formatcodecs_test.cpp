#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/formatcatalogue.h"
#include "media/ffmpegloader.h"
#include "platform/base/ustring.h"
#include "tests/app/tempfolder.h"
#include "tests/media/mediatest.h"

namespace {

std::string Text(std::u16string_view AText) {
    return StringToUTF8(AText);
}

TEST(CodecTable, OneRowPerFormat) {
    ASSERT_EQ(CodecTable().size(), 166u);
    Integer disc = 0, audioOnly = 0;
    for (size_t i = 0; i < CodecTable().size(); ++i) {
        const TCodecData& data = CodecTable()[i];
        EXPECT_EQ(data.Key, FormatKeys()[i]);
        EXPECT_EQ(CodecDataOf(data.Key), &data);
        if (*data.TargetType) ++disc;
        if (data.DisableVideo) ++audioOnly;
        // The table as stated: the caption's extension differs for three
        // keys only (the settled row takes the caption's).
        const bool differs = ExtensionFromCaption(FormatCaptionOf(data.Key)) != data.OutputExt;
        EXPECT_EQ(differs, data.Key == 801 || data.Key == 806 || data.Key == 809) << data.Key;
    }
    EXPECT_EQ(disc, 15);
    EXPECT_EQ(audioOnly, 15);
    EXPECT_EQ(CodecDataOf(15), nullptr);
    EXPECT_EQ(CodecDataOf(-1), nullptr);
}

TEST(CodecTable, RowsThatDifferFromTheirNeighbours) {
    const TCodecData& dvd = *CodecDataOf(11);
    EXPECT_EQ(Text(dvd.OutputExt), ".mpg");
    EXPECT_EQ(Text(dvd.FileExt), "");
    EXPECT_EQ(Text(dvd.TargetType), "dvd");
    EXPECT_EQ(Text(dvd.NormType), "PAL");
    EXPECT_EQ(dvd.VideoBitrate, -1000);
    EXPECT_EQ(dvd.AudioBitrate, -1000);
    EXPECT_EQ(Text(dvd.VideoCodec) + Text(dvd.AudioCodec) + Text(dvd.FrameSize) + Text(dvd.AudioChannels),
              "");
    EXPECT_FALSE(dvd.DisableVideo);

    const TCodecData& real = *CodecDataOf(14);
    EXPECT_EQ(Text(real.OutputExt), ".rm");
    EXPECT_EQ(Text(real.FileExt), "");
    EXPECT_EQ(Text(real.VideoCodec), "rv20");
    EXPECT_EQ(Text(real.FrameSize), "320*240");
    EXPECT_EQ(real.VideoBitrate, -1);
    EXPECT_EQ(real.AudioBitrate, -1);
    EXPECT_EQ(Text(real.AudioSampleRate), "");

    EXPECT_EQ(Text(CodecDataOf(106)->OutputExt), ".ra");
    EXPECT_EQ(Text(CodecDataOf(106)->FileExt), ".rm");
    EXPECT_EQ(Text(CodecDataOf(206)->FileExt), ".asf");
    EXPECT_EQ(Text(CodecDataOf(801)->OutputExt), ".mpeg");
    EXPECT_EQ(Text(CodecDataOf(802)->OutputExt), ".mpg");
    EXPECT_EQ(Text(CodecDataOf(1103)->FileExt), "");
    EXPECT_EQ(CodecDataOf(1704)->VideoBitrate, 728000);
    EXPECT_EQ(CodecDataOf(2107)->AudioBitrate, 12000);
    EXPECT_EQ(Text(CodecDataOf(2107)->AudioChannels), "1");
    EXPECT_EQ(Text(CodecDataOf(112)->AudioCodec), "libopencore_amrnb");
}

TEST(SettledCodecData, WhatTheLibrariesNeedAndNothingElse) {
    const struct {
        Integer key;
        const char* videoCodec;
        const char* videoTag;
        const char* audioCodec;
    } cases[] = {
        {3, "", "", "aac"},       // no FAAC encoder
        {9, "mpeg4", "", "aac"},  // same channels and rates
        {207, "", "", "ac3"},     // no AAC in an MPEG program stream
        {208, "mpeg2video", "", "ac3"},
        {1304, "mpeg2video", "", "ac3"},
        {2003, "", "", "ac3"},
        {1205, "mpeg4", "", "aac"},  // no DX50 in MP4
        {1204, "mpeg4", "", "aac"},
        {809, "mpeg4", "", "libmp3lame"},    // no MPEG-4 v1 encoder
        {2, "mpeg4", "DX50", "libmp3lame"},  // DX50 and XVID stay in AVI and Matroska
        {1604, "mpeg4", "DX50", "libmp3lame"},
        {0, "mpeg4", "XVID", "libmp3lame"},
        {807, "msmpeg4v2", "", "libmp3lame"},
        {112, "", "", "libopencore_amrnb"},  // refused, not replaced
    };
    for (const auto& c : cases) {
        const TCodecData data = SettledCodecData(*CodecDataOf(c.key));
        EXPECT_EQ(Text(data.VideoCodec), c.videoCodec) << c.key;
        EXPECT_EQ(Text(data.VideoTag), c.videoTag) << c.key;
        EXPECT_EQ(Text(data.AudioCodec), c.audioCodec) << c.key;
    }
    Integer faac = 0, ac3 = 0, changed = 0;
    for (const TCodecData& row : CodecTable()) {
        const TCodecData data = SettledCodecData(row);
        if (std::u16string_view(row.AudioCodec) == u"libfaac") {
            ++faac;
            if (std::u16string_view(data.AudioCodec) == u"ac3") ++ac3;
        }
        EXPECT_NE(Text(data.AudioCodec), "libfaac");
        EXPECT_NE(Text(data.VideoCodec), "msmpeg4v1");
        // Only codecs, tags and the extension change: the caption's is the
        // file's, for the three keys that state another too.
        EXPECT_EQ(Text(data.OutputExt), Text(ExtensionFromCaption(FormatCaptionOf(row.Key)))) << row.Key;
        EXPECT_EQ(Text(data.AudioSampleRate), Text(row.AudioSampleRate));
        EXPECT_EQ(data.AudioBitrate, row.AudioBitrate);
        EXPECT_EQ(Text(data.AudioChannels), Text(row.AudioChannels));
        if (Text(data.AudioCodec) != Text(row.AudioCodec) || Text(data.VideoCodec) != Text(row.VideoCodec) ||
            Text(data.VideoTag) != Text(row.VideoTag))
            ++changed;
    }
    EXPECT_EQ(faac, 46);
    EXPECT_EQ(ac3, 10);
    EXPECT_EQ(changed, 47);
}

TEST(AudioEncoderOf, TheEncoderWhoseLimitsAreKnown) {
    const struct {
        Integer key;
        const char* encoder;
    } cases[] = {
        {6, "mp2"},     {1307, "mp2"},   {109, "mp2"},       {13, "mp2"},       {12, "mp2"},   {11, "ac3"},
        {101, "wmav2"}, {1700, "wmav2"}, {105, "libvorbis"}, {0, "libmp3lame"}, {2003, "ac3"}, {3, "aac"},
        {102, ""},      {-1, ""},        {14, "ac3"},        {106, "ac3"},  // the RealMedia muxer's own
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(AudioEncoderOf(c.key)), c.encoder) << c.key;
}

TEST(UnavailableEncoder, OnlyTheAmrEncoderIsMissing) {
    EXPECT_EQ(Text(UnavailableEncoder(0)), "mpeg4") << "nothing is found while the libraries are not loaded";
    ASSERT_TRUE(LibLoader.Load(ProbeLibraries)) << Text(LibLoader.LastErrMsg());
    for (const Integer key : FormatKeys())
        EXPECT_EQ(Text(UnavailableEncoder(key)), key == 112 ? "libopencore_amrnb" : "") << key;
    EXPECT_EQ(Text(UnavailableEncoder(15)), "");
    LibLoader.Unload(ProbeLibraries);
}

// --- Staging fields and the codec-data step ---

TStagingFields Filled() {
    TStagingFields staging;
    staging.Video_AddFileName = u"/in/a.mts";
    staging.Video_OutPutFileName = u"/out/a.avi";
    staging.Video_FileExt = u".avi";
    staging.Video_VideoCodec = u"mpeg4";
    staging.Video_VideoTag = u"XVID";
    staging.Video_FrameSize = u"640*480";
    staging.Video_VideoBitrate = 816000;
    staging.Video_FrameRate = u"25";
    staging.Video_FrameAspectRatio = u"4:3";
    staging.Video_AudioCodec = u"libmp3lame";
    staging.Video_AudioChannels = u"2";
    staging.Video_AudioSampleRate = u"44100";
    staging.Video_AudioBitrate = 128000;
    staging.Video_DisableVideo = true;
    staging.Video_TargetType = u"dvd";
    staging.Video_NormType = u"PAL";
    staging.Video_AudioVolume = u"100";
    staging.Video_VideoFilters = u"crop";
    staging.Video_CopyTimestamp = u"1";
    staging.Video_FileFormat = u"avi";
    staging.Video_TimeStart = 5;
    staging.Video_TimeLength = 6;
    staging.All_Trant_Number = 300;
    return staging;
}

void ExpectNeutral(const TStagingFields& AStaging) {
    for (const String* text :
         {&AStaging.Video_OutPutFileName, &AStaging.Video_FileExt, &AStaging.Video_VideoCodec,
          &AStaging.Video_VideoTag, &AStaging.Video_FrameSize, &AStaging.Video_FrameRate,
          &AStaging.Video_FrameAspectRatio, &AStaging.Video_AudioCodec, &AStaging.Video_AudioChannels,
          &AStaging.Video_AudioSampleRate, &AStaging.Video_TargetType, &AStaging.Video_NormType,
          &AStaging.Video_VideoFilters, &AStaging.Video_CopyTimestamp, &AStaging.Video_FileFormat})
        EXPECT_EQ(Text(*text), "");
    EXPECT_EQ(AStaging.Video_VideoBitrate, -1);
    EXPECT_EQ(AStaging.Video_AudioBitrate, -1);
    EXPECT_EQ(AStaging.Video_TimeStart, -1);
    EXPECT_EQ(AStaging.Video_TimeLength, -1);
    EXPECT_FALSE(AStaging.Video_DisableVideo);
    EXPECT_EQ(Text(AStaging.Video_AudioVolume), "256");
}

TEST(ResetStaging, KeepsTheInputAndTheLastKey) {
    TStagingFields staging = Filled();
    ResetStaging(staging);
    ExpectNeutral(staging);
    EXPECT_EQ(Text(staging.Video_AddFileName), "/in/a.mts");
    EXPECT_EQ(staging.All_Trant_Number, 300);
    ExpectNeutral(TStagingFields());
}

TEST(StartPresetFill, WritesTheKeyForEveryKey) {
    TStagingFields staging = Filled();
    StartPresetFill(staging, 200);
    EXPECT_EQ(staging.All_Trant_Number, 300);
    EXPECT_FALSE(staging.Video_DisableVideo);
    StartPresetFill(staging, 15);
    EXPECT_EQ(staging.All_Trant_Number, 115);
}

using ApplyCodecDataTest = TempFolder;

TEST_F(ApplyCodecDataTest, DiscFormatSetsOnlyItsTarget) {
    TStagingFields staging = Filled();
    staging.Video_AddFileName = u"/clips/a.mts";
    ASSERT_TRUE(ApplyCodecData(staging, 11, Folder, false, {}));
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a.mpg")));
    EXPECT_EQ(staging.All_Trant_Number, 111);
    const std::array<String, 14> columns = CodecColumns(staging);
    const char* expected[14] = {"", "", "", "", "", "", "-1000", "", "-1000", "", "", "False", "dvd", "PAL"};
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(Text(columns[i]), expected[i]) << "sub-item " << i + 10;
    EXPECT_EQ(Text(staging.Video_AudioVolume), "256");
    EXPECT_EQ(Text(staging.Video_FileFormat), "");
}

TEST_F(ApplyCodecDataTest, ColumnsOfAudioAndVideoFormats) {
    TStagingFields staging;
    staging.Video_AddFileName = u"/clips/a.mts";
    ASSERT_TRUE(ApplyCodecData(staging, 100, Folder, false, {}));
    std::array<String, 14> columns = CodecColumns(staging);
    const char* mp3[14] = {"", "libmp3lame", "2",     "", ".mp3", "", "-1",
                           "", "128000",     "48000", "", "True", "", ""};
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(Text(columns[i]), mp3[i]) << "sub-item " << i + 10;

    ASSERT_TRUE(ApplyCodecData(staging, 9, Folder, false, {}));
    columns = CodecColumns(staging);
    const char* phone[14] = {"mpeg4", "aac",   "1",    "",    ".3gp",  "176*144", "128000",
                             "12",    "12000", "8000", "4:3", "False", "",        ""};
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(Text(columns[i]), phone[i]) << "sub-item " << i + 10;
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a.3gp")));

    ASSERT_TRUE(ApplyCodecData(staging, 106, Folder, false, {}));
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a.ra")));
    EXPECT_EQ(Text(staging.Video_FileExt), ".rm");
    // The caption's extension names the file where the table states another.
    const struct {
        Integer key;
        const char16_t* output;
    } captions[] = {{801, u"a.mpg"}, {806, u"a.wmv"}, {809, u"a.avi"}};
    for (const auto& c : captions) {
        ASSERT_TRUE(ApplyCodecData(staging, c.key, Folder, false, {}));
        EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(c.output))) << c.key;
    }
    ASSERT_TRUE(ApplyCodecData(staging, 14, Folder, false, {}));
    EXPECT_EQ(Text(staging.Video_FileExt), "");
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a.rm")));
}

TEST_F(ApplyCodecDataTest, UnknownKeyLeavesTheReset) {
    TStagingFields staging = Filled();
    EXPECT_FALSE(ApplyCodecData(staging, -1, Folder, false, {}));
    ExpectNeutral(staging);
    EXPECT_EQ(staging.All_Trant_Number, 99);
}

TEST_F(ApplyCodecDataTest, OutputNameOfTheInput) {
    const struct {
        const char16_t* input;
        Integer key;
        const char16_t* output;
    } cases[] = {
        {u"/clips/a.b.mts", 1, u"a.b.mp4"},  // only the last extension goes
        {u"/clips/noext", 0, u"noext.avi"},
        {u"/cl.ips/noext", 0, u"noext.avi"},  // a dot of the folder is not the name's
        {u"/clips/c:d.mts", 0, u"c:d.avi"},   // ":" is an ordinary character
    };
    for (const auto& c : cases) {
        TStagingFields staging;
        staging.Video_AddFileName = c.input;
        ApplyCodecData(staging, c.key, Folder, false, {});
        EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(c.output))) << Text(c.input);
    }
    // The folder text is taken as it stands.
    TStagingFields staging;
    staging.Video_AddFileName = u"/clips/a.mts";
    ApplyCodecData(staging, 0, Folder + u"/", false, {});
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(Folder + u"//a.avi"));
}

TEST_F(ApplyCodecDataTest, TwoFilesWithOneBaseNameGetTwoOutputs) {
    // Neither output exists yet: the name the first row holds is taken.
    TStagingFields staging;
    staging.Video_AddFileName = u"/one/a.mts";
    ApplyCodecData(staging, 0, Folder, false, {});
    const std::vector<String> rows = {u"a.avi"};
    staging.Video_AddFileName = u"/two/a.mov";
    ApplyCodecData(staging, 0, Folder, false, rows);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a_1.avi")));
    // Also when existing files are overwritten.
    ApplyCodecData(staging, 0, Folder, true, rows);
    EXPECT_EQ(Text(staging.Video_OutPutFileName), Text(In(u"a_1.avi")));
}

// --- Output names ---

using NumberedOutputPathTest = TempFolder;

TEST_F(NumberedOutputPathTest, FirstFreeNumberFromOne) {
    EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), false, {}), In(u"a.avi"));
    Touch("a.avi");
    EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), false, {}), In(u"a_1.avi"));
    Touch("a_1.avi");
    EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), false, {}), In(u"a_2.avi"));
    // A gap is filled: the numbering starts again at 1.
    std::filesystem::remove(std::filesystem::path(StringToUTF8(In(u"a_1.avi"))));
    Touch("a_2.avi");
    EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), false, {}), In(u"a_1.avi"));
    // Overwriting: the existing file's own name.
    EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), true, {}), In(u"a.avi"));
}

TEST_F(NumberedOutputPathTest, FoldersDoNotCountNamesOfRowsDo) {
    MakeFolder("d.avi");
    EXPECT_EQ(NumberedOutputPath(In(u"d.avi"), false, {}), In(u"d.avi"));
    const std::vector<String> rows = {u"b.avi", u"b_1.avi", u"B_2.avi"};
    EXPECT_EQ(NumberedOutputPath(In(u"b.avi"), false, rows), In(u"b_2.avi"));
    EXPECT_EQ(NumberedOutputPath(In(u"b.avi"), true, rows), In(u"b_2.avi"));
    Touch("b_2.avi");
    EXPECT_EQ(NumberedOutputPath(In(u"b.avi"), false, rows), In(u"b_3.avi"));
    // Names compare exactly.
    EXPECT_EQ(NumberedOutputPath(In(u"B.avi"), false, rows), In(u"B.avi"));
    // A name without an extension is numbered at its end.
    Touch("c");
    EXPECT_EQ(NumberedOutputPath(In(u"c"), false, {}), In(u"c_1"));
}

// An input of the list is never an output, with overwriting too; the log
// names both paths.
TEST_F(NumberedOutputPathTest, AnInputIsNeverTakenAndTheLogSaysSo) {
    Touch("a.avi");
    Touch("a_1.avi");
    const std::vector<String> inputs = {In(u"a.avi"), In(u"a_1.avi")};
    {
        TLogCapture log(llWarning);
        EXPECT_EQ(NumberedOutputPath(In(u"a.avi"), true, {}, inputs), In(u"a_2.avi"));
        ASSERT_EQ(log.Lines.size(), 1u);
        EXPECT_NE(log.Lines[0].find(In(u"a.avi")), String::npos) << Text(log.Lines[0]);
        EXPECT_NE(log.Lines[0].find(In(u"a_2.avi")), String::npos) << Text(log.Lines[0]);
    }
    // The same file by another path, through a link to the folder.
    const std::filesystem::path link =
        std::filesystem::path(StringToUTF8(Folder)).parent_path() /
        (std::filesystem::path(StringToUTF8(Folder)).filename().string() + "-link");
    std::filesystem::remove(link);
    std::filesystem::create_directory_symlink(StringToUTF8(Folder), link);
    const String linked = UTF8ToString(link.string()) + u"/a.avi";
    EXPECT_TRUE(IsInputFile(linked, inputs));
    EXPECT_EQ(NumberedOutputPath(linked, true, {}, inputs), UTF8ToString(link.string()) + u"/a_2.avi");
    std::filesystem::remove(link);
    // A name no input has stays, and logs nothing.
    TLogCapture log(llWarning);
    EXPECT_EQ(NumberedOutputPath(In(u"b.avi"), true, {}, inputs), In(u"b.avi"));
    EXPECT_FALSE(IsInputFile(In(u"b.avi"), inputs));
    EXPECT_TRUE(log.Lines.empty());
}

using RenamedOutputFileTest = TempFolder;

// The row's own name is its own file: a format of the same extension keeps
// it, also when that file exists; an input is never kept.
TEST_F(RenamedOutputFileTest, TheRowsOwnNameStaysUnlessItIsAnInput) {
    Touch("clip.mp4");
    EXPECT_EQ(Text(RenamedOutputFile(u"clip.mp4", u".mp4", Folder, false, {})), "clip.mp4");
    const std::vector<String> inputs = {In(u"clip.mp4")};
    EXPECT_EQ(Text(RenamedOutputFile(u"clip.mp4", u".mp4", Folder, true, {}, inputs)), "clip_1.mp4");
    Touch("clip.avi");
    EXPECT_EQ(Text(RenamedOutputFile(u"clip.mp4", u".avi", Folder, false, {})), "clip_1.avi");
}

TEST_F(RenamedOutputFileTest, TheNewExtensionOnAFreeName) {
    EXPECT_EQ(Text(RenamedOutputFile(u"clip_(new).mp4", u".flv", Folder, false, {})), "clip_(new).flv");
    EXPECT_EQ(Text(RenamedOutputFile(u"clip", u".flv", Folder, false, {})), "clip.flv");
    EXPECT_EQ(Text(RenamedOutputFile(u"/old/folder/x.y.mp4", u".avi", Folder, false, {})), "x.y.avi");
    // Another row's name, and with renaming an existing file, are not taken over.
    const std::vector<String> others = {u"clip.flv"};
    EXPECT_EQ(Text(RenamedOutputFile(u"clip.mp4", u".flv", Folder, true, others)), "clip_1.flv");
    Touch("shot.avi");
    EXPECT_EQ(Text(RenamedOutputFile(u"shot.mp4", u".avi", Folder, false, {})), "shot_1.avi");
    EXPECT_EQ(Text(RenamedOutputFile(u"shot.mp4", u".avi", Folder, true, {})), "shot.avi");
}

}  // namespace
