#include "shelltest.h"

#include <cstdlib>
#include <filesystem>

#include "platform/win/testdriver.h"

void ShellTest::SetUp() {
    TempFolderTest::SetUp();
    win::driver::Reset();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_DESKTOP_DIR",
                             "XDG_DOCUMENTS_DIR", "XDG_TEMPLATES_DIR"}) {
        const char* value = std::getenv(name);
        FSavedEnvironment.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        ::unsetenv(name);
    }
    ::setenv("HOME", At("home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", At("home/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", At("home/.local/share").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", At("share").c_str(), 1);
    MakeFolder(At("home/Desktop"));
    MakeFolder(At("media/USB KEY"));
    MakeFolder(At("cdrom"));
    MakeFolder(At("net/export/sub"));
    MakeFolder(At("data"));
    MakeFolder(At("sys/block/sdb"));
    MakeFile(At("sys/block/sdb/removable"), "1\n");
    MakeFile(At("sys/block/sda/removable"), "0\n");
    MakeFolder(At("by-label"));
    std::filesystem::create_symlink("/dev/sdb1", At("by-label/USB\\x20KEY"));
    // The kernel's and a container's mounts are left out; /data is mounted twice.
    const std::string table =
        "1 0 254:0 / / rw - ext4 /dev/vda rw\n"
        "2 1 0:20 / /proc rw - proc proc rw\n"
        "3 1 0:21 / /sys rw - sysfs sysfs rw\n"
        "4 1 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
        "5 1 0:26 / /dev/pts rw,relatime shared:2 - devpts devpts rw\n"
        "6 1 0:30 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "7 1 8:17 / " +
        At("media/USB\\040KEY") +
        " rw shared:5 - vfat /dev/sdb1 rw\n"
        "8 1 11:0 / " +
        At("cdrom") +
        " ro - iso9660 /dev/sr0 ro\n"
        "9 1 0:50 / " +
        At("net") +
        " rw - nfs4 server:/export rw\n"
        "10 1 0:60 / /mnt/ram rw - tmpfs tmpfs rw\n"
        "11 1 0:61 / /run/user/1000 rw - tmpfs tmpfs rw\n"
        "12 1 254:0 /var/lib/x " +
        At("bind") +
        " rw - ext4 /dev/vda rw\n"
        "13 1 0:70 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
        "14 1 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "15 1 8:2 / " +
        At("data") +
        " rw - ext4 /dev/sda2 rw\n"
        "16 1 8:3 / " +
        At("data") + " rw - xfs /dev/sda3 rw\n";
    MakeFile(At("mountinfo"), table);
    shell::TNamespaceSettings settings;
    settings.Mounts = {PathAt("mountinfo"), PathAt("sys/block"), PathAt("by-label")};
    settings.IconFolders = std::vector<String>{};
    shell::SetNamespaceSettings(settings);
}

void ShellTest::TearDown() {
    for (const auto& [name, value] : FSavedEnvironment) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    shell::SetNamespaceSettings({});
    TempFolderTest::TearDown();
}

void ShellTest::MakeFile(const std::string& APath, const std::string& AContent) {
    std::filesystem::create_directories(std::filesystem::path(APath).parent_path());
    WriteBytes(UTF8ToString(APath), AContent);
}

void ShellTest::MakeFolder(const std::string& APath) {
    std::filesystem::create_directories(APath);
}

std::shared_ptr<win::IShellFolder> ShellTest::Desktop() {
    std::shared_ptr<win::IShellFolder> desktop;
    win::SHGetDesktopFolder(desktop);
    return desktop;
}

TList ShellTest::Parse(const String& APath) {
    win::PItemIDList list = nullptr;
    win::ULONG eaten = 0;
    if (win::FAILED(Desktop()->ParseDisplayName(nullptr, APath, &eaten, &list, nullptr))) return nullptr;
    EXPECT_EQ(eaten, APath.size());
    return TList(list);
}

TList ShellTest::SpecialFolder(int ACsidl) {
    win::PItemIDList list = nullptr;
    if (win::FAILED(win::SHGetSpecialFolderLocation(nullptr, ACsidl, &list))) return nullptr;
    return TList(list);
}

std::shared_ptr<win::IShellFolder> ShellTest::Bind(win::PCItemIDList AList) {
    if (win::ILIsEmpty(AList)) return Desktop();
    std::shared_ptr<win::IShellFolder> folder;
    Desktop()->BindToObject(AList, folder);
    return folder;
}

std::string ShellTest::NameOf(win::IShellFolder* AFolder, win::PCItemIDList AList, win::DWORD AFlags) {
    win::STRRET name;
    if (win::FAILED(AFolder->GetDisplayNameOf(AList, AFlags, &name))) return "(fails)";
    return StringToUTF8(name.pOleStr);
}

std::vector<TList> ShellTest::Children(win::IShellFolder* AFolder, win::DWORD AFlags) {
    std::vector<TList> lists;
    std::shared_ptr<win::IEnumIDList> items;
    if (win::FAILED(AFolder->EnumObjects(nullptr, AFlags, items))) return lists;
    win::PItemIDList item = nullptr;
    while (items->Next(1, &item, nullptr) == win::S_OK)
        lists.emplace_back(item);
    return lists;
}

std::vector<std::string> ShellTest::Names(win::IShellFolder* AFolder, win::DWORD AFlags) {
    std::vector<std::string> names;
    for (const TList& item : Children(AFolder, AFlags))
        names.push_back(NameOf(AFolder, item.get()));
    return names;
}
