#include "platform/shell/shellfolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <span>

#include "platform/base/clock.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/base/ustring.h"
#include "platform/shell/shellapi.h"
#include "platform/shell/sysimagelist.h"
#include "platform/shell/trash.h"
#include "platform/shell/userdirs.h"
#include "platform/toolkit/imagelist.h"
#include "platform/win/window.h"

using namespace win;

namespace shell {

namespace {

// Computer's parsing name, as a virtual folder has one.
constexpr char16_t ComputerParsingName[] = u"::{5C1E6B0A-8A55-4F8B-9D0E-3F1C7A2B9E41}";

struct TCache {
    std::mutex Lock;
    TNamespaceSettings Settings;
    std::vector<TVolume> Volumes;
    std::chrono::steady_clock::time_point Read;
    bool Valid = false;
};

TCache& Cache() {
    static auto* cache = new TCache;
    return *cache;
}

using TItems = std::vector<TItemID>;

// Every item of AList; none when one is not of this namespace.
std::optional<TItems> ItemsOf(PCItemIDList AList) {
    TItems items;
    for (PCItemIDList item = AList; !ILIsEmpty(item); item = ILGetNext(item)) {
        std::optional<TItemID> read = ReadItem(item);
        if (!read) return std::nullopt;
        items.push_back(std::move(*read));
    }
    return items;
}

PItemIDList ListOf(const TItems& AItems) {
    PItemIDList list = SHAlloc(2);
    for (const TItemID& item : AItems) {
        PItemIDList one = MakeItemList(item);
        PItemIDList joined = ILCombine(list, one);
        SHFree(list);
        SHFree(one);
        list = joined;
    }
    return list;
}

// What an item list leads to.
struct TNode {
    enum TKind { nDesktop, nComputer, nHome, nVolume, nEntry };
    TKind Kind = nDesktop;
    // The file-system path; "" for Computer.
    AnsiString Path;
    // Entries: their name; volumes: the volume.
    AnsiString Name;
    TVolume Volume;

    bool FileSystem() const { return Kind == nHome || Kind == nVolume || Kind == nEntry; }
};

bool ValidName(const AnsiString& AName) {
    return !AName.empty() && AName != "." && AName != ".." && AName.find('/') == AnsiString::npos;
}

AnsiString Join(const AnsiString& AFolder, const AnsiString& AName) {
    return AFolder == "/" ? "/" + AName : AFolder + "/" + AName;
}

TNode Root() {
    return {TNode::nDesktop, StringToUTF8(DesktopDir()), {}, {}};
}

std::optional<TNode> Child(const TNode& AParent, const TItemID& AItem) {
    const bool entry = AItem.Kind == ikFolder || AItem.Kind == ikFile;
    if (entry && AParent.Kind != TNode::nComputer) {
        if (!ValidName(AItem.Text)) return std::nullopt;
        return TNode{TNode::nEntry, Join(AParent.Path, AItem.Text), AItem.Text, {}};
    }
    if (AParent.Kind == TNode::nDesktop && AItem.Kind == ikComputer)
        return TNode{TNode::nComputer, {}, {}, {}};
    if (AParent.Kind == TNode::nDesktop && AItem.Kind == ikHome)
        return TNode{TNode::nHome, StringToUTF8(GetHomeDir()), {}, {}};
    if (AParent.Kind == TNode::nComputer && AItem.Kind == ikVolume && !AItem.Text.empty() &&
        AItem.Text[0] == '/') {
        TNode node{TNode::nVolume, AItem.Text, {}, {}};
        node.Volume.MountPath = UTF8ToString(AItem.Text);
        for (const TVolume& volume : Volumes())
            if (volume.MountPath == node.Volume.MountPath) node.Volume = volume;
        return node;
    }
    return std::nullopt;
}

std::optional<TNode> Resolve(const TItems& AItems) {
    std::optional<TNode> node = Root();
    for (const TItemID& item : AItems) {
        node = Child(*node, item);
        if (!node) break;
    }
    return node;
}

bool IsDirectory(const AnsiString& APath) {
    struct stat st;
    return ::stat(APath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Hidden(const AnsiString& AName) {
    return AName.size() > 1 && AName[0] == '.' && AName != "..";
}

bool OnNetwork(const AnsiString& APath) {
    const std::vector<TVolume> volumes = Volumes();
    const TVolume* volume = VolumeOf(volumes, UTF8ToString(APath));
    return volume && volume->Remote();
}

// A folder holds a visible folder: read until the first one.
bool HasSubfolders(const AnsiString& APath) {
    DIR* dir = ::opendir(APath.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const AnsiString name = entry->d_name;
        if (name[0] == '.') continue;
        if (entry->d_type == DT_DIR ||
            ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) && IsDirectory(Join(APath, name)))) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

bool IsFolderNode(const TNode& ANode) {
    return !ANode.FileSystem() || IsDirectory(ANode.Path);
}

// The node's attributes; none when it is not there.
std::optional<DWORD> AttributesOf(const TNode& ANode, bool AWantSubfolders) {
    if (!ANode.FileSystem()) return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    struct stat own;
    if (::lstat(ANode.Path.c_str(), &own) != 0) return std::nullopt;
    struct stat st = own;
    if (S_ISLNK(own.st_mode)) ::stat(ANode.Path.c_str(), &st);
    DWORD attributes = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_HASPROPSHEET;
    const bool folder = S_ISDIR(st.st_mode);
    const bool writable = ::access(ANode.Path.c_str(), W_OK) == 0;
    if (folder) attributes |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | (writable ? SFGAO_DROPTARGET : 0);
    if (S_ISLNK(own.st_mode)) attributes |= SFGAO_LINK;
    if (!writable) attributes |= SFGAO_READONLY;
    if (ANode.Kind == TNode::nEntry) {
        if (Hidden(ANode.Name)) attributes |= SFGAO_HIDDEN;
        const AnsiString parent = ANode.Path.substr(0, std::max<size_t>(ANode.Path.rfind('/'), 1));
        if (::access(parent.c_str(), W_OK) == 0)
            attributes |= SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    }
    if (ANode.Kind == TNode::nVolume && ANode.Volume.Kind == vkRemovable) attributes |= SFGAO_REMOVABLE;
    if (folder && AWantSubfolders && (OnNetwork(ANode.Path) || HasSubfolders(ANode.Path)))
        attributes |= SFGAO_HASSUBFOLDER;
    return attributes;
}

String DisplayNameOf(const TNode& ANode, DWORD AFlags) {
    const bool parsing = (AFlags & SHGDN_FORPARSING) && !(AFlags & SHGDN_INFOLDER);
    switch (ANode.Kind) {
        case TNode::nDesktop:
            return parsing ? UTF8ToString(ANode.Path) : String(u"桌面");
        case TNode::nComputer:
            return parsing ? String(ComputerParsingName) : String(u"计算机");
        case TNode::nHome:
            return parsing ? UTF8ToString(ANode.Path) : String(u"主文件夹");
        case TNode::nVolume:
            if (parsing) return UTF8ToString(ANode.Path);
            if (ANode.Path == "/") return u"文件系统";
            if (!ANode.Volume.Label.empty()) return ANode.Volume.Label;
            return ExtractFileName(UTF8ToString(ANode.Path));
        case TNode::nEntry:
            return UTF8ToString(parsing ? ANode.Path : ANode.Name);
    }
    return String();
}

int Rank(const TItemID& AItem) {
    switch (AItem.Kind) {
        case ikComputer:
            return 0;
        case ikHome:
            return 1;
        case ikVolume:
            return AItem.Text == "/" ? 2 : 3;
        case ikFolder:
            return 4;
        case ikFile:
            return 5;
    }
    return 6;
}

int Sign(int AValue) {
    return AValue < 0 ? -1 : AValue > 0 ? 1 : 0;
}

int CompareItems(const TItemID& A, const TItemID& B) {
    const bool entries = (A.Kind == ikFolder || A.Kind == ikFile) && (B.Kind == ikFolder || B.Kind == ikFile);
    if ((entries || A.Kind == B.Kind) && A.Text == B.Text) return 0;
    if (Rank(A) != Rank(B)) return Sign(Rank(A) - Rank(B));
    const String a = UTF8ToString(A.Text), b = UTF8ToString(B.Text);
    const int folded = Sign(AnsiCompareText(a, b));
    if (folded != 0) return folded;
    return a < b ? -1 : 1;
}

AnsiString LocalText(time_t ASeconds) {
    struct tm local;
    if (!::localtime_r(&ASeconds, &local)) return "";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

String SizeText(Int64 ASize) {
    if (ASize < 1024) return IntToStr(ASize) + u" 字节";
    const char16_t* units[] = {u"KB", u"MB", u"GB", u"TB"};
    double value = double(ASize) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return Format(u"%.1f %s", {value, units[unit]});
}

String TypeText(const TNode& ANode, bool AFolder) {
    if (!ANode.FileSystem()) return u"系统文件夹";
    if (ANode.Kind == TNode::nVolume) {
        static const char16_t* kinds[] = {u"本地磁盘", u"可移动磁盘", u"光盘", u"网络驱动器"};
        return kinds[ANode.Volume.Kind];
    }
    if (AFolder) return u"文件夹";
    const String ext = ExtractFileExt(UTF8ToString(ANode.Name));
    return ext.size() > 1 ? UpperCase(ext.substr(1)) + u" 文件" : String(u"文件");
}

enum TColumnKind { ckName, ckSize, ckType, ckModified, ckCreated, ckTotalSpace, ckFreeSpace };

struct TColumn {
    const char16_t* Caption;
    int Format;
    int Width;
    DWORD State;
    TColumnKind Kind;
};
constexpr TColumn FileColumns[] = {
    {u"名称", LVCFMT_LEFT, 25, SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT, ckName},
    {u"大小", LVCFMT_RIGHT, 10, SHCOLSTATE_TYPE_INT | SHCOLSTATE_ONBYDEFAULT, ckSize},
    {u"类型", LVCFMT_LEFT, 12, SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT, ckType},
    {u"修改日期", LVCFMT_LEFT, 17, SHCOLSTATE_TYPE_DATE | SHCOLSTATE_ONBYDEFAULT, ckModified},
    {u"创建日期", LVCFMT_LEFT, 17, SHCOLSTATE_TYPE_DATE, ckCreated},
};
constexpr TColumn VolumeColumns[] = {
    {u"名称", LVCFMT_LEFT, 25, SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT, ckName},
    {u"类型", LVCFMT_LEFT, 12, SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT, ckType},
    {u"总大小", LVCFMT_RIGHT, 12, SHCOLSTATE_TYPE_INT | SHCOLSTATE_ONBYDEFAULT, ckTotalSpace},
    {u"可用空间", LVCFMT_RIGHT, 12, SHCOLSTATE_TYPE_INT | SHCOLSTATE_ONBYDEFAULT, ckFreeSpace},
};

TDetailValue TextValue(String AText) {
    TDetailValue value;
    value.Text = std::move(AText);
    return value;
}

TDetailValue DateValue(time_t ASeconds) {
    TDetailValue value;
    value.Type = SHCOLSTATE_TYPE_DATE;
    value.Number = Int64(ASeconds);
    // Days since 30 December 1899 in local time; any year, nothing raised.
    struct tm local;
    const long offset = ::localtime_r(&ASeconds, &local) ? local.tm_gmtoff : 0;
    value.Date = (double(ASeconds) + double(offset)) / 86400.0 + 25569.0;
    return value;
}

TDetailValue NumberValue(Int64 ANumber) {
    TDetailValue value;
    value.Type = SHCOLSTATE_TYPE_INT;
    value.Number = ANumber;
    return value;
}

// The value of a node's detail; Type 0 when it has none, nothing when a
// file-system item is gone.
std::optional<TDetailValue> DetailValue(const TNode& ANode, TColumnKind AKind) {
    TDetailValue none;
    none.Type = 0;
    if (AKind == ckName) return TextValue(DisplayNameOf(ANode, SHGDN_INFOLDER));
    if (AKind == ckType && (!ANode.FileSystem() || ANode.Kind == TNode::nVolume))
        return TextValue(TypeText(ANode, true));
    if (AKind == ckTotalSpace || AKind == ckFreeSpace) {
        // A network volume may not answer: its space is never asked for.
        struct statvfs space;
        if (ANode.Kind != TNode::nVolume || ANode.Volume.Remote() || ::statvfs(ANode.Path.c_str(), &space) != 0)
            return none;
        return NumberValue(Int64(AKind == ckTotalSpace ? space.f_blocks : space.f_bavail) * Int64(space.f_frsize));
    }
    if (!ANode.FileSystem()) return none;
    struct statx st;
    if (::statx(AT_FDCWD, ANode.Path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return std::nullopt;
    const bool folder = S_ISDIR(st.stx_mode);
    switch (AKind) {
        case ckSize:
            return folder ? none : NumberValue(Int64(st.stx_size));
        case ckType:
            return TextValue(TypeText(ANode, folder));
        case ckModified:
            return DateValue(st.stx_mtime.tv_sec);
        case ckCreated:
            return DateValue((st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec : st.stx_mtime.tv_sec);
        default:
            return none;
    }
}

String DetailText(const TDetailValue& AValue) {
    switch (AValue.Type) {
        case SHCOLSTATE_TYPE_STR:
            return AValue.Text;
        case SHCOLSTATE_TYPE_INT:
            return SizeText(AValue.Number);
        case SHCOLSTATE_TYPE_DATE:
            return UTF8ToString(LocalText(time_t(AValue.Number)));
    }
    return String();
}

// The items of APath below ABase, each a folder or a file as it is now.
std::optional<TItems> PathItems(const AnsiString& ABase, const AnsiString& APath) {
    TItems items;
    AnsiString prefix = ABase;
    size_t start = ABase == "/" ? 1 : ABase.size() + 1;
    while (start < APath.size()) {
        const size_t end = std::min(APath.find('/', start), APath.size());
        const AnsiString name = APath.substr(start, end - start);
        prefix = Join(prefix, name);
        items.push_back({IsDirectory(prefix) ? ikFolder : ikFile, name});
        start = end + 1;
    }
    return items;
}

bool Within(const AnsiString& APath, const AnsiString& AFolder) {
    return APath == AFolder || AFolder == "/" ||
           (APath.rfind(AFolder, 0) == 0 && APath.size() > AFolder.size() && APath[AFolder.size()] == '/');
}

// An existing absolute path's items from the desktop: through Home below
// the home folder, else through Computer and the volume holding it.
TItems Route(const AnsiString& APath) {
    const AnsiString home = StringToUTF8(GetHomeDir());
    TItems items;
    AnsiString base;
    if (Within(APath, home)) {
        items.push_back({ikHome, ""});
        base = home;
    } else {
        const std::vector<TVolume> volumes = Volumes();
        const TVolume* volume = VolumeOf(volumes, UTF8ToString(APath));
        base = volume ? StringToUTF8(volume->MountPath) : "/";
        items.push_back({ikComputer, ""});
        items.push_back({ikVolume, base});
    }
    const std::optional<TItems> rest = PathItems(base, APath);
    items.insert(items.end(), rest->begin(), rest->end());
    return items;
}

AnsiString Normalized(const AnsiString& APath) {
    AnsiString path = std::filesystem::path(APath).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

class TEnumIDList : public IEnumIDList {
public:
    explicit TEnumIDList(TItems AItems) : FItems(std::move(AItems)) {}

    HRESULT Next(ULONG ACount, PItemIDList* ALists, ULONG* AFetched) override {
        ULONG fetched = 0;
        while (fetched < ACount && FNext < FItems.size())
            ALists[fetched++] = MakeItemList(FItems[FNext++]);
        if (AFetched) *AFetched = fetched;
        return fetched == ACount ? S_OK : S_FALSE;
    }

private:
    TItems FItems;
    size_t FNext = 0;
};

class TContextMenu : public IContextMenu {
public:
    TContextMenu(AnsiString APath, bool AEntryCommands)
        : FPath(std::move(APath)), FEntryCommands(AEntryCommands) {}

    std::vector<TShellVerb> Verbs() override {
        std::vector<TShellVerb> verbs{{"open", u"打开"}};
        if (FEntryCommands) {
            verbs.push_back({"rename", u"重命名"});
            verbs.push_back({"delete", u"删除"});
        }
        verbs.push_back({"properties", u"属性"});
        return verbs;
    }

    HRESULT InvokeCommand(HWND AWindow, const AnsiString& AVerb) override {
        const String path = UTF8ToString(FPath);
        if (AVerb == "open") {
            const String folder = ExtractFileDir(path);
            const auto result = reinterpret_cast<intptr_t>(
                ShellExecuteW(AWindow, u"open", path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
            return result > 32 ? S_OK : E_FAIL;
        }
        if (AVerb == "delete" && FEntryCommands) return HRESULT_FROM_WIN32(MoveToTrash(path));
        if (AVerb == "rename" || AVerb == "properties") return E_NOTIMPL;
        return E_INVALIDARG;
    }

private:
    AnsiString FPath;
    bool FEntryCommands;
};

class TShellFolder : public IShellFolder2 {
public:
    explicit TShellFolder(TItems AItems) : FItems(std::move(AItems)) {}

    HRESULT ParseDisplayName(HWND, const String& AName, ULONG* AEaten, PItemIDList* AList,
                             ULONG* AAttributes) override {
        if (AList) *AList = nullptr;
        const std::optional<TNode> self = Resolve(FItems);
        AnsiString path = StringToUTF8(AName);
        if (!self || !AList || path.empty()) return E_INVALIDARG;
        if (path[0] != '/') {
            if (!self->FileSystem()) return E_INVALIDARG;
            path = Join(self->Path, path);
        }
        path = Normalized(path);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return HRESULT_FROM_WIN32(errno);
        TItems items;
        if (self->Kind == TNode::nDesktop) {
            items = Route(path);
        } else if (self->FileSystem() && Within(path, self->Path) && path != self->Path) {
            items = *PathItems(self->Path, path);
        } else {
            return E_INVALIDARG;
        }
        if (AAttributes && *AAttributes) {
            TItems full = FItems;
            full.insert(full.end(), items.begin(), items.end());
            *AAttributes &=
                AttributesOf(*Resolve(full), (*AAttributes & SFGAO_HASSUBFOLDER) != 0).value_or(0);
        }
        if (AEaten) *AEaten = ULONG(AName.size());
        *AList = ListOf(items);
        return S_OK;
    }

    HRESULT EnumObjects(HWND, DWORD AFlags, std::shared_ptr<IEnumIDList>& AEnum) override {
        AEnum.reset();
        const std::optional<TNode> self = Resolve(FItems);
        if (!self) return E_FAIL;
        const bool folders = AFlags & SHCONTF_FOLDERS, files = AFlags & SHCONTF_NONFOLDERS;
        TItems items;
        if (self->Kind == TNode::nDesktop && folders) {
            items.push_back({ikComputer, ""});
            items.push_back({ikHome, ""});
        }
        if (self->Kind == TNode::nComputer) {
            if (folders)
                for (const TVolume& volume : Volumes())
                    items.push_back({ikVolume, StringToUTF8(volume.MountPath)});
        } else {
            DIR* dir = ::opendir(self->Path.c_str());
            if (!dir && self->Kind != TNode::nDesktop) return HRESULT_FROM_WIN32(errno);
            TItems entries;
            while (dir) {
                const dirent* entry = ::readdir(dir);
                if (!entry) break;
                const AnsiString name = entry->d_name;
                if (name == "." || name == "..") continue;
                if (Hidden(name) && !(AFlags & SHCONTF_INCLUDEHIDDEN)) continue;
                const bool folder =
                    entry->d_type == DT_DIR || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                                                IsDirectory(Join(self->Path, name)));
                if (folder ? folders : files) entries.push_back({folder ? ikFolder : ikFile, name});
            }
            if (dir) ::closedir(dir);
            std::sort(entries.begin(), entries.end(),
                      [](const TItemID& A, const TItemID& B) { return A.Text < B.Text; });
            items.insert(items.end(), entries.begin(), entries.end());
        }
        AEnum = std::make_shared<TEnumIDList>(std::move(items));
        return S_OK;
    }

    HRESULT BindToObject(PCItemIDList AList, std::shared_ptr<IShellFolder>& AFolder) override {
        AFolder.reset();
        std::optional<TItems> items = Below(AList);
        if (!items) return E_INVALIDARG;
        const std::optional<TNode> node = Resolve(*items);
        if (!node) return E_INVALIDARG;
        if (!IsFolderNode(*node)) return HRESULT_FROM_WIN32(ENOTDIR);
        AFolder = std::make_shared<TShellFolder>(std::move(*items));
        return S_OK;
    }

    HRESULT CompareIDs(LPARAM, PCItemIDList A, PCItemIDList B) override {
        const std::optional<TItems> a = ItemsOf(A), b = ItemsOf(B);
        if (!a || !b) return E_INVALIDARG;
        const auto entry = [](const TItems& AItems) {
            return AItems.size() == 1 && (AItems[0].Kind == ikFolder || AItems[0].Kind == ikFile);
        };
        // One path reached through Home or through Computer is one item.
        if (!(entry(*a) && entry(*b)) && !a->empty() && !b->empty()) {
            const std::optional<TNode> na = Resolve(Joined(*a)), nb = Resolve(Joined(*b));
            if (na && nb && na->FileSystem() && nb->FileSystem() && na->Path == nb->Path)
                return ResultFromShort(0);
        }
        for (size_t i = 0;; ++i) {
            if (i == a->size() || i == b->size())
                return ResultFromShort(Sign(int(a->size()) - int(b->size())));
            const int order = CompareItems((*a)[i], (*b)[i]);
            if (order != 0) return ResultFromShort(order);
        }
    }

    HRESULT GetAttributesOf(UINT ACount, const PCItemIDList* ALists, DWORD* AAttributes) override {
        if (!AAttributes) return E_INVALIDARG;
        const bool subfolders = (*AAttributes & SFGAO_HASSUBFOLDER) != 0;
        DWORD all = ~DWORD(0);
        for (UINT i = 0; i < ACount; ++i) {
            const std::optional<TItems> items = Below(ALists[i]);
            const std::optional<TNode> node = items ? Resolve(*items) : std::nullopt;
            const std::optional<DWORD> attributes = node ? AttributesOf(*node, subfolders) : std::nullopt;
            if (!attributes) {
                *AAttributes = 0;
                return node ? HRESULT_FROM_WIN32(ENOENT) : E_INVALIDARG;
            }
            all &= *attributes;
        }
        if (!subfolders) all &= ~SFGAO_HASSUBFOLDER;
        *AAttributes = ACount ? all : 0;
        return S_OK;
    }

    HRESULT GetUIObjectOf(HWND, UINT ACount, const PCItemIDList* ALists,
                          std::shared_ptr<IContextMenu>& AMenu) override {
        AMenu.reset();
        if (ACount != 1) return E_INVALIDARG;
        const std::optional<TItems> items = Below(ALists[0]);
        const std::optional<TNode> node = items ? Resolve(*items) : std::nullopt;
        if (!node) return E_INVALIDARG;
        if (!node->FileSystem()) return E_NOINTERFACE;
        const std::optional<DWORD> attributes = AttributesOf(*node, false);
        const bool entryCommands =
            node->Kind == TNode::nEntry && attributes && (*attributes & SFGAO_CANDELETE);
        AMenu = std::make_shared<TContextMenu>(node->Path, entryCommands);
        return S_OK;
    }

    HRESULT GetDisplayNameOf(PCItemIDList AList, DWORD AFlags, STRRET* AName) override {
        const std::optional<TItems> items = Below(AList);
        const std::optional<TNode> node = items ? Resolve(*items) : std::nullopt;
        if (!node || !AName) return E_INVALIDARG;
        AName->uType = STRRET_WSTR;
        AName->pOleStr = DisplayNameOf(*node, AFlags);
        return S_OK;
    }

    HRESULT SetNameOf(HWND, PCItemIDList AList, const String& AName, DWORD, PItemIDList* ANewList) override {
        if (ANewList) *ANewList = nullptr;
        std::optional<TItems> items = ItemsOf(AList);
        const AnsiString name = StringToUTF8(AName);
        if (!items || items->empty() || !ValidName(name)) return E_INVALIDARG;
        TItemID& last = items->back();
        if (last.Kind != ikFolder && last.Kind != ikFile) return E_INVALIDARG;
        const std::optional<TNode> node = Resolve(Joined(*items));
        if (!node) return E_INVALIDARG;
        const AnsiString folder = node->Path.substr(0, std::max<size_t>(node->Path.rfind('/'), 1));
        if (!RenameFile(UTF8ToString(node->Path), UTF8ToString(Join(folder, name))))
            return HRESULT_FROM_WIN32(errno);
        last.Text = name;
        if (ANewList) *ANewList = ListOf(*items);
        return S_OK;
    }

    HRESULT GetDetailsOf(PCItemIDList AList, UINT AColumn, SHELLDETAILS* ADetails) override {
        const std::span<const TColumn> columns = Columns();
        if (!ADetails || AColumn >= columns.size()) return E_INVALIDARG;
        ADetails->fmt = columns[AColumn].Format;
        ADetails->cxChar = columns[AColumn].Width;
        ADetails->str.uType = STRRET_WSTR;
        if (!AList) {
            ADetails->str.pOleStr = columns[AColumn].Caption;
            return S_OK;
        }
        TDetailValue value;
        const HRESULT result = GetDetailsEx(AList, AColumn, &value);
        if (FAILED(result)) return result;
        ADetails->str.pOleStr = result == S_OK ? DetailText(value) : String();
        return S_OK;
    }

    HRESULT GetDefaultColumnState(UINT AColumn, DWORD* AState) override {
        const std::span<const TColumn> columns = Columns();
        if (!AState || AColumn >= columns.size()) return E_INVALIDARG;
        *AState = columns[AColumn].State;
        return S_OK;
    }

    HRESULT GetDetailsEx(PCItemIDList AList, UINT AColumn, TDetailValue* AValue) override {
        const std::span<const TColumn> columns = Columns();
        if (!AList || !AValue || AColumn >= columns.size()) return E_INVALIDARG;
        const std::optional<TItems> items = Below(AList);
        const std::optional<TNode> node = items ? Resolve(*items) : std::nullopt;
        if (!node) return E_INVALIDARG;
        const std::optional<TDetailValue> value = DetailValue(*node, columns[AColumn].Kind);
        if (!value) return HRESULT_FROM_WIN32(ENOENT);
        *AValue = *value;
        return value->Type ? S_OK : S_FALSE;
    }

private:
    // The folder's own items followed by those of AList.
    std::optional<TItems> Below(PCItemIDList AList) const {
        const std::optional<TItems> items = ItemsOf(AList);
        if (!items) return std::nullopt;
        return Joined(*items);
    }
    // Computer describes its volumes; every other folder its entries.
    std::span<const TColumn> Columns() const {
        if (FItems.size() == 1 && FItems[0].Kind == ikComputer) return VolumeColumns;
        return FileColumns;
    }
    TItems Joined(const TItems& AItems) const {
        TItems items = FItems;
        items.insert(items.end(), AItems.begin(), AItems.end());
        return items;
    }

    TItems FItems;
};

std::optional<TNode> NodeOf(PCItemIDList AList) {
    const std::optional<TItems> items = ItemsOf(AList);
    return items ? Resolve(*items) : std::nullopt;
}

int IconOf(const std::optional<TNode>& ANode, bool AOpen) {
    if (!ANode) return siFile;
    switch (ANode->Kind) {
        case TNode::nDesktop:
            return siDesktop;
        case TNode::nComputer:
            return siComputer;
        case TNode::nHome:
            return siHome;
        case TNode::nVolume: {
            static constexpr TShellIcon kinds[] = {siDisk, siRemovable, siOptical, siNetwork};
            return kinds[ANode->Volume.Kind];
        }
        case TNode::nEntry:
            break;
    }
    if (IsDirectory(ANode->Path)) return AOpen ? siOpenFolder : siFolder;
    return FileIcon(UTF8ToString(ANode->Name));
}

ULONG_PTR IconInfo(const std::optional<TNode>& ANode, SHFILEINFOW* AInfo, UINT AFlags) {
    if (!(AFlags & SHGFI_SYSICONINDEX)) return 0;
    if (AInfo) AInfo->iIcon = IconOf(ANode, (AFlags & SHGFI_OPENICON) != 0);
    return reinterpret_cast<ULONG_PTR>(SystemImageList(!(AFlags & SHGFI_SMALLICON))->Handle());
}

}  // namespace

void SetNamespaceSettings(const TNamespaceSettings& ASettings) {
    {
        TCache& cache = Cache();
        std::lock_guard lock(cache.Lock);
        cache.Settings = ASettings;
        cache.Valid = false;
    }
    SetIconFolders(ASettings.IconFolders);
}

std::vector<TVolume> Volumes() {
    TCache& cache = Cache();
    std::lock_guard lock(cache.Lock);
    const auto now = std::chrono::steady_clock::now();
    if (!cache.Valid || now - cache.Read > std::chrono::seconds(2)) {
        cache.Volumes = ReadVolumes(cache.Settings.Mounts);
        cache.Read = now;
        cache.Valid = true;
    }
    return cache.Volumes;
}

}  // namespace shell

namespace win {

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>& AFolder) {
    AFolder = std::make_shared<shell::TShellFolder>(shell::TItems{});
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int AFolder, PItemIDList* AList) {
    if (!AList) return E_INVALIDARG;
    *AList = nullptr;
    String path;
    switch (AFolder) {
        case CSIDL_DESKTOP:
            *AList = SHAlloc(2);
            return S_OK;
        case CSIDL_DRIVES:
            *AList = shell::MakeItemList({shell::ikComputer, ""});
            return S_OK;
        case CSIDL_DESKTOPDIRECTORY:
        case CSIDL_COMMON_DESKTOPDIRECTORY:
            path = shell::DesktopDir();
            break;
        case CSIDL_PERSONAL:
            path = shell::UserDir("DOCUMENTS", "Documents");
            break;
        case CSIDL_TEMPLATES:
            path = shell::UserDir("TEMPLATES", "Templates");
            break;
        case CSIDL_APPDATA:
            path = shell::ConfigHome();
            break;
        default:
            return E_INVALIDARG;
    }
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop);
    return desktop->ParseDisplayName(nullptr, path, nullptr, AList, nullptr);
}

BOOL SHGetPathFromIDListW(PCItemIDList AList, String& APath) {
    APath.clear();
    const std::optional<shell::TNode> node = shell::NodeOf(AList);
    if (!node || node->Kind == shell::TNode::nComputer) return FALSE;
    APath = UTF8ToString(node->Path);
    return TRUE;
}

ULONG_PTR SHGetFileInfoW(const String& APath, DWORD, SHFILEINFOW* AInfo, UINT, UINT AFlags) {
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop);
    PItemIDList list = nullptr;
    std::optional<shell::TNode> node;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, APath, nullptr, &list, nullptr)))
        node = shell::NodeOf(list);
    SHFree(list);
    return shell::IconInfo(node, AInfo, AFlags);
}

ULONG_PTR SHGetFileInfoW(PCItemIDList AList, DWORD, SHFILEINFOW* AInfo, UINT, UINT AFlags) {
    return shell::IconInfo(shell::NodeOf(AList), AInfo, AFlags);
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* AInfo) {
    if (!AInfo) return FALSE;
    String file = AInfo->lpFile ? String(AInfo->lpFile) : String();
    if ((AInfo->fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST && AInfo->lpIDList &&
        !SHGetPathFromIDListW(AInfo->lpIDList, file))
        return FALSE;
    AInfo->hInstApp = ShellExecuteW(AInfo->hwnd, AInfo->lpVerb, file.c_str(), AInfo->lpParameters,
                                    AInfo->lpDirectory, AInfo->nShow);
    return reinterpret_cast<intptr_t>(AInfo->hInstApp) > 32 ? TRUE : FALSE;
}

}  // namespace win
