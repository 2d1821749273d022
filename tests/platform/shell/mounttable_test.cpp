#include "platform/shell/mounttable.h"

#include <gtest/gtest.h>

#include "shelltest.h"

namespace {

using MountTableTest = ShellTest;

TEST_F(MountTableTest, RealMountsAreVolumesOfTheirKindWithTheirLabels) {
    const std::vector<shell::TVolume> volumes =
        shell::ReadVolumes({PathAt("mountinfo"), PathAt("sys/block"), PathAt("by-label")});
    struct Expected {
        std::string Mount;
        shell::TVolumeKind Kind;
        std::string Label;
        std::string FileSystem;
    };
    const std::vector<Expected> expected{
        {"/", shell::vkDisk, "", "ext4"},
        {At("media/USB KEY"), shell::vkRemovable, "USB KEY", "vfat"},
        {At("cdrom"), shell::vkOptical, "", "iso9660"},
        {At("net"), shell::vkNetwork, "", "nfs4"},
        {"/mnt/ram", shell::vkDisk, "", "tmpfs"},
        {At("data"), shell::vkDisk, "", "xfs"},
    };
    ASSERT_EQ(volumes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].Mount);
        EXPECT_EQ(StringToUTF8(volumes[i].MountPath), expected[i].Mount);
        EXPECT_EQ(volumes[i].Kind, expected[i].Kind);
        EXPECT_EQ(StringToUTF8(volumes[i].Label), expected[i].Label);
        EXPECT_EQ(volumes[i].FileSystem, expected[i].FileSystem);
    }
    EXPECT_TRUE(volumes[3].Remote());
    EXPECT_EQ(shell::VolumeOf(volumes, PathAt("data/x/y"))->MountPath, PathAt("data"));
    EXPECT_EQ(shell::VolumeOf(volumes, PathAt("database"))->MountPath, u"/");
    EXPECT_EQ(shell::VolumeOf(volumes, u"/")->MountPath, u"/");
}

TEST_F(MountTableTest, AnUnreadableTableStillHasTheRoot) {
    const std::vector<shell::TVolume> volumes =
        shell::ReadVolumes({PathAt("missing"), PathAt("sys/block"), u""});
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].MountPath, u"/");
}

}  // namespace
