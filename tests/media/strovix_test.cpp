#include "media/strovix.h"

#include <gtest/gtest.h>

namespace {

TEST(ResetOutputOptions, FilledRecordBecomesNotSetAgain) {
    TOutputOptions options;
    options.FileName = u"/tmp/out.mp4";
    options.AudioCodec = u"aac";
    options.AudioVolume = 256;
    options.AudioSyncMethod = 1;
    options.VideoSyncMethod = 2;
    options.DisableVideo = true;
    options.TimeLength = 5000000;
    options.Info.TimeStamp = 0;
    options.Info.Title = "标题";
    options.TargetType = ttDVD;
    options.NormType = ntNTSC;
    options.NormDefault = ntNTSC;
    options.Join = true;
    ResetOutputOptions(options);

    EXPECT_TRUE(options.FileName.empty());
    EXPECT_TRUE(options.AudioCodec.empty());
    EXPECT_EQ(options.AudioVolume, -1);
    EXPECT_EQ(options.MuxDelay, -1.0f);
    // The always-passed fields have values of their own.
    EXPECT_EQ(options.AudioSyncMethod, 0);
    EXPECT_EQ(options.VideoSyncMethod, -1);
    EXPECT_FALSE(options.DisableVideo);
    EXPECT_FALSE(options.Join);
    EXPECT_EQ(options.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(options.TimeLength, AV_NOPTS_VALUE);
    EXPECT_EQ(options.Info.TimeStamp, -1.0);
    EXPECT_EQ(options.Info.Year, -1);
    EXPECT_TRUE(options.Info.Title.empty());
    EXPECT_EQ(options.TargetType, ttIgnore);
    EXPECT_EQ(options.NormType, ntAuto);
    // An undecidable automatic norm falls back to PAL.
    EXPECT_EQ(options.NormDefault, ntPAL);
}

TEST(ResetInputOptions, FilledRecordBecomesNotSetAgain) {
    int data = 0;
    TInputOptions options{u"/tmp/in.avi", u"avi", 1000, 3, u"ss=1", 7, &data};
    ResetInputOptions(options);
    EXPECT_TRUE(options.FileName.empty());
    EXPECT_TRUE(options.FileFormat.empty());
    EXPECT_EQ(options.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(options.ProgramID, -1);
    EXPECT_TRUE(options.ExtOptions.empty());
    EXPECT_EQ(options.Tag, 0);
    EXPECT_EQ(options.Data, nullptr);
}

}  // namespace
