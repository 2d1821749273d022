// The plain journey every other case stands on: start the program, add a
// clip through the open dialog, convert it, and get a file that plays.
#include "acceptance.h"

namespace acceptance {
namespace {

// In each of the program's skins.
class JourneyTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(JourneyTest, AClipAddedThroughTheOpenDialogConvertsToAFileThatDecodes) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(GetParam())));
    MakeClip(FProgram->Folder() + "/clip.mp4");
    const Rect start = MainControl("qxSkinButton2");
    const Image idleStart = FDesktop.Grab(start);

    ASSERT_NO_FATAL_FAILURE(AddFileByName("clip.mp4"));
    // With a row in the list, 开始 is enabled and drawn so.
    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(start) != idleStart; }, 30s))
        << "开始 never became enabled";
    FDesktop.Click(start.Center());

    // The default format is the high-definition AVI.
    const std::string output = FProgram->OutputFolder() + "/clip.avi";
    std::string errors;
    const bool complete = WaitUntil(
        [&] {
            const auto probe = Probe(output);
            const auto duration = probe.find("format.duration");
            return duration != probe.end() && std::stod(duration->second) >= 0.9 &&
                   DecodesCleanly(output, &errors);
        },
        120s);
    ASSERT_TRUE(complete) << "No complete " << output << "; the decoder said: " << errors;
    const auto probe = Probe(output);
    EXPECT_EQ(probe.at("format.format_name"), "avi");
    EXPECT_EQ(probe.at("format.nb_streams"), "2");
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(Skins, JourneyTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace acceptance
