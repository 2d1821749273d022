// The plain journey every other case stands on: start the program, add a
// clip through the open dialog, convert it, and get a file that plays.
#include "acceptance.h"

namespace acceptance {
namespace {

// In each of the program's skins.
class JourneyTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(JourneyTest, AClipAddedThroughTheOpenDialogConvertsToAFileThatDecodes) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    Rect start;
    ASSERT_NO_FATAL_FAILURE(start = AddClip("clip.mp4"));
    ASSERT_FALSE(HasFailure());
    FDesktop.Click(start.Center());

    // The default format is the high-definition AVI.
    const std::string output = FProgram->OutputFolder() + "/clip.avi";
    std::string errors;
    ASSERT_TRUE(WaitForCompleteMedia(output, 0.9, 120s, &errors))
        << "No complete " << output << "; the decoder said: " << errors;
    const auto probe = Probe(output);
    EXPECT_EQ(probe.at("format.format_name"), "avi");
    EXPECT_EQ(probe.at("format.nb_streams"), "2");
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(Skins, JourneyTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace acceptance
