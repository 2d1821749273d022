#include "platform/shell/mounttable.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/base/fileutils.h"
#include "platform/base/ustring.h"

namespace fs = std::filesystem;

namespace shell {

namespace {

const std::set<AnsiString> NetworkFileSystems{"nfs",   "nfs4",        "cifs",      "smbfs",      "smb3",
                                              "9p",    "afs",         "ncpfs",     "fuse.sshfs", "fuse.davfs",
                                              "davfs", "fuse.rclone", "glusterfs", "ceph"};
const std::set<AnsiString> NonVolumes{"squashfs", "overlay", "swap",   "devtmpfs", "proc",  "sysfs",
                                      "cgroup",   "cgroup2", "devpts", "tmpfs",    "autofs"};

// Octal escapes (\040 for a space) of the table's fields.
AnsiString Unescape(const AnsiString& AField) {
    AnsiString out;
    for (size_t i = 0; i < AField.size(); ++i) {
        if (AField[i] == '\\' && i + 3 < AField.size() &&
            std::all_of(AField.begin() + i + 1, AField.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out.push_back(
                char((AField[i + 1] - '0') * 64 + (AField[i + 2] - '0') * 8 + (AField[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(AField[i]);
        }
    }
    return out;
}

// \xHH escapes of label link names.
AnsiString UnescapeLabel(const AnsiString& AName) {
    AnsiString out;
    for (size_t i = 0; i < AName.size(); ++i) {
        if (AName.compare(i, 2, "\\x") == 0 && i + 3 < AName.size() && std::isxdigit(Byte(AName[i + 2])) &&
            std::isxdigit(Byte(AName[i + 3]))) {
            out.push_back(char(std::stoi(AName.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            out.push_back(AName[i]);
        }
    }
    return out;
}

bool Under(const AnsiString& APath, const char* AFolder) {
    const AnsiString folder = AFolder;
    return APath.rfind(folder, 0) == 0 && (APath.size() == folder.size() || APath[folder.size()] == '/');
}

bool Listed(const AnsiString& ARoot, const AnsiString& AMountPoint, const AnsiString& AType,
            const AnsiString& ASource) {
    if (AMountPoint == "/") return true;
    if (ARoot != "/") return false;  // a bind mount of a subfolder
    for (const char* system : {"/proc", "/sys", "/dev", "/run"})
        if (Under(AMountPoint, system) && !Under(AMountPoint, "/run/media")) return false;
    if (AType == "tmpfs")
        return Under(AMountPoint, "/media") || Under(AMountPoint, "/mnt") || Under(AMountPoint, "/run/media");
    if (NetworkFileSystems.count(AType)) return true;
    return !NonVolumes.count(AType) && ASource.rfind("/dev/", 0) == 0;
}

AnsiString ReadFirstLine(const AnsiString& AFileName) {
    std::ifstream file(AFileName);
    AnsiString line;
    std::getline(file, line);
    return line;
}

// The disk of a partition: sdb1 -> sdb, nvme0n1p2 -> nvme0n1, mmcblk0p1 -> mmcblk0.
bool Removable(const TMountSources& ASources, const AnsiString& ADevice) {
    if (ADevice.rfind("/dev/", 0) != 0) return false;
    AnsiString name = ADevice.substr(5);
    const AnsiString folder = StringToUTF8(ASources.SysBlock) + "/";
    for (int step = 0; step < 2 && !name.empty(); ++step) {
        const AnsiString flag = ReadFirstLine(folder + name + "/removable");
        if (!flag.empty()) return flag == "1";
        while (!name.empty() && std::isdigit(Byte(name.back())))
            name.pop_back();
        if (name.size() > 1 && name.back() == 'p' && std::isdigit(Byte(name[name.size() - 2])))
            name.pop_back();
    }
    return false;
}

// Links are compared by where they point, without the devices having to exist.
AnsiString LinkTarget(const AnsiString& ALink) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(ALink.c_str(), target, sizeof target - 1);
    if (length < 0) return ALink;
    fs::path path(AnsiString(target, size_t(length)));
    if (path.is_relative()) path = fs::path(ALink).parent_path() / path;
    return path.lexically_normal().string();
}

String LabelOf(const TMountSources& ASources, const AnsiString& ADevice) {
    const AnsiString folder = StringToUTF8(ASources.ByLabel);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return String();
    const AnsiString device = LinkTarget(ADevice);
    String label;
    while (const dirent* entry = ::readdir(dir)) {
        const AnsiString name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (LinkTarget(folder + "/" + name) == device) {
            label = UTF8ToString(UnescapeLabel(name));
            break;
        }
    }
    ::closedir(dir);
    return label;
}

}  // namespace

std::vector<TVolume> ReadVolumes(const TMountSources& ASources) {
    std::vector<TVolume> volumes{{u"/", String(), "", vkDisk, String()}};
    std::ifstream table(StringToUTF8(ASources.MountTable));
    AnsiString line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        AnsiString id, parent, numbers, root, mountPoint, field;
        if (!(fields >> id >> parent >> numbers >> root >> mountPoint)) continue;
        while (fields >> field && field != "-") {
        }
        AnsiString type, source;
        if (!(fields >> type >> source)) continue;
        root = Unescape(root);
        mountPoint = Unescape(mountPoint);
        source = Unescape(source);
        if (!Listed(root, mountPoint, type, source)) continue;
        TVolume volume{UTF8ToString(mountPoint), UTF8ToString(source), type, vkDisk, String()};
        if (NetworkFileSystems.count(type))
            volume.Kind = vkNetwork;
        else if (type == "iso9660" || type == "udf" || source.rfind("/dev/sr", 0) == 0)
            volume.Kind = vkOptical;
        else if (Removable(ASources, source) || Under(mountPoint, "/media") ||
                 Under(mountPoint, "/run/media"))
            volume.Kind = vkRemovable;
        if (volume.Kind != vkNetwork && source.rfind("/dev/", 0) == 0)
            volume.Label = LabelOf(ASources, source);
        // A later mount on the same point hides the earlier one.
        const auto same = std::find_if(volumes.begin(), volumes.end(), [&](const TVolume& AVolume) {
            return AVolume.MountPath == volume.MountPath;
        });
        if (same != volumes.end())
            *same = std::move(volume);
        else
            volumes.push_back(std::move(volume));
    }
    return volumes;
}

const TVolume* VolumeOf(const std::vector<TVolume>& AVolumes, const String& APath) {
    const TVolume* best = nullptr;
    for (const TVolume& volume : AVolumes) {
        const String& mount = volume.MountPath;
        const bool inside =
            mount == u"/" || APath == mount ||
            (APath.rfind(mount, 0) == 0 && APath.size() > mount.size() && APath[mount.size()] == u'/');
        if (inside && (!best || mount.size() > best->MountPath.size())) best = &volume;
    }
    return best;
}

}  // namespace shell
