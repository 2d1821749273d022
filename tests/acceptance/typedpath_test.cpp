// A full path typed into the open dialog, from either add command, names a
// file outside the folder the dialog shows: it is added and converts.
#include <filesystem>
#include <tuple>

#include "acceptance.h"

namespace acceptance {
namespace {

// The 文件 menu's item (0 添加一个文件, 1 添加多个文件) and the skin.
class TypedPathTest : public ProgramTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(TypedPathTest, AnAbsolutePathTypedInTheOpenDialogIsAddedAndConverts) {
    const auto [item, skin] = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartProgram(InSkin(skin)));
    // Not in the program's folder, where the dialog opens.
    const std::string clips = FProgram->Home() + "/clips";
    std::filesystem::create_directories(clips);
    MakeClip(clips + "/typed.mp4");
    const Rect start = MainControl("qxSkinButton2");
    const Image idleStart = FDesktop.Grab(start);

    ASSERT_NO_FATAL_FAILURE(PickFileMenuItem(item));
    const Window dialog = FDesktop.WaitForClient("打开文件");
    ASSERT_NE(dialog, 0u) << "The open dialog did not open";
    FDesktop.Type(clips + "/typed.mp4");
    FDesktop.Key("Return");
    ASSERT_TRUE(FDesktop.WaitForGone(dialog)) << "The open dialog did not take the typed path";

    ASSERT_TRUE(WaitUntil([&] { return FDesktop.Grab(start) != idleStart; }, 30s))
        << "No row was added: 开始 never became enabled";
    FDesktop.Click(start.Center());
    const std::string output = FProgram->OutputFolder() + "/typed.avi";
    std::string errors;
    ASSERT_TRUE(WaitForCompleteMedia(output, 0.9, 120s, &errors))
        << "No complete " << output << "; the decoder said: " << errors;
    CloseProgram();
}

INSTANTIATE_TEST_SUITE_P(ItemsAndSkins, TypedPathTest,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Values(0, 1)));

}  // namespace
}  // namespace acceptance
