// The volumes the Computer folder lists, read from a mount table in the
// form of /proc/self/mountinfo. The root file system comes first, then the
// real mounts in table order: file systems on block devices and network
// file systems, and tmpfs only under /media, /mnt and /run/media. Kernel
// and container mounts (proc, sysfs, cgroup, devpts, overlays, bind mounts
// of a subfolder, ...) are left out; a mount point mounted over again
// keeps only its last mount.
#pragma once

#include <vector>

#include "platform/base/types.h"

namespace shell {

enum TVolumeKind { vkDisk, vkRemovable, vkOptical, vkNetwork };

struct TVolume {
    String MountPath;
    // The source as the table gives it: /dev/sdb1, server:/export, ...
    String Device;
    AnsiString FileSystem;
    TVolumeKind Kind = vkDisk;
    // The file system's label (from the by-label folder), "" without one.
    String Label;
    // Network file systems: never scanned, they may not answer.
    bool Remote() const { return Kind == vkNetwork; }
};

// Where the volume facts are read; tests give fixture files and folders.
struct TMountSources {
    String MountTable = u"/proc/self/mountinfo";
    // Holds <disk>/removable ("1" for removable media).
    String SysBlock = u"/sys/block";
    // Links named after labels (\x20 for a space) to their devices.
    String ByLabel = u"/dev/disk/by-label";
};

// "/" is always there, also when the table cannot be read.
std::vector<TVolume> ReadVolumes(const TMountSources& ASources);
// The mount point holding APath among AVolumes (the longest that contains it).
const TVolume* VolumeOf(const std::vector<TVolume>& AVolumes, const String& APath);

}  // namespace shell
