// The shell namespace over the Linux file system, in the shape of the
// Windows shell's folder interfaces, so the shell controls ask it what they
// would ask the Windows shell.
//
// The namespace: the Desktop (the empty list, "桌面", whose path is the
// XDG desktop folder) holds Computer ("计算机", virtual), Home ("主文件夹",
// the home folder) and the entries of the desktop folder when it exists.
// Computer holds the volumes of the mount table ("/" as "文件系统", the
// others by label, else by the last part of their mount path). Folders hold
// their entries. A path under the home folder is reached through Home,
// every other path through Computer and its volume; the same path reached
// either way is one item.
//
// Attributes: hidden = a name starting with "."; folder = a directory
// (links followed); link = a symbolic link; read-only = not writable;
// rename, delete and move = an entry in a writable folder; removable =
// a removable volume. Folders on network volumes say they have subfolders
// without looking (a dead mount must not hang the program).
//
// Details (GetDetailsOf, their values GetDetailsEx): folders of the file
// system and the Desktop have 0 名称, 1 大小, 2 类型, 3 修改日期 (shown by
// default), 4 创建日期 (not shown); Computer has 0 名称, 1 类型, 2 总大小,
// 3 可用空间 (network volumes give no space: a dead mount must not hang the
// program). Dates "yyyy-mm-dd hh:nn:ss" in local time, sizes with "."
// whatever the locale.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/shell/idlists.h"
#include "platform/shell/mounttable.h"
#include "platform/win/wintypes.h"

namespace win {

using ULONG = uint32_t;
using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057);
inline constexpr bool SUCCEEDED(HRESULT AResult) {
    return AResult >= 0;
}
inline constexpr bool FAILED(HRESULT AResult) {
    return AResult < 0;
}
// A system error code (errno) as a result.
inline constexpr HRESULT HRESULT_FROM_WIN32(int ACode) {
    return ACode <= 0 ? HRESULT(ACode) : HRESULT(0x80070000u | (unsigned(ACode) & 0xFFFF));
}
inline constexpr int HRESULT_CODE(HRESULT AResult) {
    return AResult & 0xFFFF;
}
// A success whose low 16 bits carry a signed comparison.
inline constexpr HRESULT ResultFromShort(int AValue) {
    return HRESULT(Word(SmallInt(AValue)));
}

// Attributes (SFGAO_).
inline constexpr DWORD SFGAO_CANCOPY = 0x1;
inline constexpr DWORD SFGAO_CANMOVE = 0x2;
inline constexpr DWORD SFGAO_CANLINK = 0x4;
inline constexpr DWORD SFGAO_CANRENAME = 0x10;
inline constexpr DWORD SFGAO_CANDELETE = 0x20;
inline constexpr DWORD SFGAO_HASPROPSHEET = 0x40;
inline constexpr DWORD SFGAO_DROPTARGET = 0x100;
inline constexpr DWORD SFGAO_CAPABILITYMASK = 0x177;
inline constexpr DWORD SFGAO_GHOSTED = 0x8000;
inline constexpr DWORD SFGAO_LINK = 0x10000;
inline constexpr DWORD SFGAO_SHARE = 0x20000;
inline constexpr DWORD SFGAO_READONLY = 0x40000;
inline constexpr DWORD SFGAO_HIDDEN = 0x80000;
inline constexpr DWORD SFGAO_DISPLAYATTRMASK = 0xFC000;
inline constexpr DWORD SFGAO_VALIDATE = 0x1000000;
inline constexpr DWORD SFGAO_REMOVABLE = 0x2000000;
inline constexpr DWORD SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr DWORD SFGAO_FOLDER = 0x20000000;
inline constexpr DWORD SFGAO_FILESYSTEM = 0x40000000;
inline constexpr DWORD SFGAO_HASSUBFOLDER = 0x80000000;

// What an enumeration lists (SHCONTF_).
inline constexpr DWORD SHCONTF_FOLDERS = 0x20;
inline constexpr DWORD SHCONTF_NONFOLDERS = 0x40;
inline constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x80;

// Which name (SHGDN_): INFOLDER the name inside its folder, FORPARSING the
// full path (a "::{...}" name for a virtual item).
inline constexpr DWORD SHGDN_NORMAL = 0x0;
inline constexpr DWORD SHGDN_INFOLDER = 0x1;
inline constexpr DWORD SHGDN_FOREDITING = 0x1000;
inline constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
inline constexpr DWORD SHGDN_FORPARSING = 0x8000;

inline constexpr UINT STRRET_WSTR = 0;
inline constexpr UINT STRRET_OFFSET = 1;
inline constexpr UINT STRRET_CSTR = 2;

// A name as the folder gives it: a wide string, or ANSI text inside the
// item's id at an offset, or ANSI text here. This namespace gives wide strings.
struct STRRET {
    UINT uType = STRRET_WSTR;
    String pOleStr;
    UINT uOffset = 0;
    char cStr[260] = {};
};

inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

struct SHELLDETAILS {
    int fmt = LVCFMT_LEFT;
    // The column's width in characters.
    int cxChar = 0;
    STRRET str;
};

inline constexpr DWORD SHCOLSTATE_TYPE_STR = 0x1;
inline constexpr DWORD SHCOLSTATE_TYPE_INT = 0x2;
inline constexpr DWORD SHCOLSTATE_TYPE_DATE = 0x3;
inline constexpr DWORD SHCOLSTATE_ONBYDEFAULT = 0x10;

class IEnumIDList {
public:
    virtual ~IEnumIDList() = default;
    // Up to ACount new lists (the caller frees them); S_OK when all came,
    // S_FALSE when fewer did.
    virtual HRESULT Next(ULONG ACount, PItemIDList* ALists, ULONG* AFetched) = 0;
};

// A verb of an item's context menu: "open", "rename", "delete", "properties".
struct TShellVerb {
    AnsiString Verb;
    String Caption;
};

class IContextMenu {
public:
    virtual ~IContextMenu() = default;
    // In menu order.
    virtual std::vector<TShellVerb> Verbs() = 0;
    // "open": the desktop's program for the item; "delete": to the trash.
    // "rename" and "properties" need the caller's window and answer
    // E_NOTIMPL: the caller does them. E_INVALIDARG for another verb.
    virtual HRESULT InvokeCommand(HWND AWindow, const AnsiString& AVerb) = 0;
};

// Lists relative to the folder; results as the Windows shell gives them.
class IShellFolder {
public:
    virtual ~IShellFolder() = default;
    // Existing absolute paths (from the desktop) or names below the folder.
    virtual HRESULT ParseDisplayName(HWND AWindow, const String& AName, ULONG* AEaten, PItemIDList* AList,
                                     ULONG* AAttributes) = 0;
    // In name order. Fails with the system's error when the folder cannot be read.
    virtual HRESULT EnumObjects(HWND AWindow, DWORD AFlags, std::shared_ptr<IEnumIDList>& AEnum) = 0;
    // The folder of a descendant; fails for a file.
    virtual HRESULT BindToObject(PCItemIDList AList, std::shared_ptr<IShellFolder>& AFolder) = 0;
    // The low 16 bits, signed: virtual items first, folders before files,
    // names without regard to case, then exactly; 0 only for one item.
    virtual HRESULT CompareIDs(LPARAM AParam, PCItemIDList A, PCItemIDList B) = 0;
    // On entry the attributes asked for; on return those the items all
    // have (SFGAO_HASSUBFOLDER only when asked for: it may read a folder).
    virtual HRESULT GetAttributesOf(UINT ACount, const PCItemIDList* ALists, DWORD* AAttributes) = 0;
    // The context menu of one item; E_NOINTERFACE for a virtual one.
    virtual HRESULT GetUIObjectOf(HWND AWindow, UINT ACount, const PCItemIDList* ALists,
                                  std::shared_ptr<IContextMenu>& AMenu) = 0;
    virtual HRESULT GetDisplayNameOf(PCItemIDList AList, DWORD AFlags, STRRET* AName) = 0;
    // Renames the entry AList leads to (its last item); never replaces an
    // existing name (the system's EEXIST as a result). ANewList: AList with
    // the new name.
    virtual HRESULT SetNameOf(HWND AWindow, PCItemIDList AList, const String& AName, DWORD AFlags,
                              PItemIDList* ANewList) = 0;
};

// What a detail column shows, unformatted, for sorting by it.
struct TDetailValue {
    // SHCOLSTATE_TYPE_STR, _INT or _DATE.
    DWORD Type = SHCOLSTATE_TYPE_STR;
    String Text;
    // A size in bytes; a date's seconds since 1970.
    Int64 Number = 0;
    // A date in local time.
    TDateTime Date = 0;
};

class IShellFolder2 : public IShellFolder {
public:
    // AList nullptr: the column's caption.
    virtual HRESULT GetDetailsOf(PCItemIDList AList, UINT AColumn, SHELLDETAILS* ADetails) = 0;
    virtual HRESULT GetDefaultColumnState(UINT AColumn, DWORD* AState) = 0;
    // S_OK with the value; S_FALSE when the item has none in that column
    // (a folder's size); a failure when the item is gone.
    virtual HRESULT GetDetailsEx(PCItemIDList AList, UINT AColumn, TDetailValue* AValue) = 0;
};

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>& AFolder);

inline constexpr int CSIDL_DESKTOP = 0x00;
inline constexpr int CSIDL_PERSONAL = 0x05;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
inline constexpr int CSIDL_DRIVES = 0x11;
inline constexpr int CSIDL_TEMPLATES = 0x15;
inline constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
inline constexpr int CSIDL_APPDATA = 0x1A;

// The desktop, Computer, and the XDG desktop, documents, templates and
// configuration folders; another id or a folder that does not exist fails.
HRESULT SHGetSpecialFolderLocation(HWND AWindow, int AFolder, PItemIDList* AList);
// The file-system path of an item (the desktop's is the desktop folder);
// FALSE for a virtual item.
BOOL SHGetPathFromIDListW(PCItemIDList AList, String& APath);

inline constexpr UINT SHGFI_SMALLICON = 0x1;
inline constexpr UINT SHGFI_OPENICON = 0x2;
inline constexpr UINT SHGFI_PIDL = 0x8;
inline constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

struct SHFILEINFOW {
    int iIcon = 0;
};

// With SHGFI_SYSICONINDEX: the system image list's handle (32 pixels, or
// 16 with SHGFI_SMALLICON) and the item's picture in iIcon (the open
// folder with SHGFI_OPENICON); an item that is not there gets the file's
// picture. 0 without SHGFI_SYSICONINDEX.
ULONG_PTR SHGetFileInfoW(const String& APath, DWORD AAttributes, SHFILEINFOW* AInfo, UINT AInfoSize,
                         UINT AFlags);
ULONG_PTR SHGetFileInfoW(PCItemIDList AList, DWORD AAttributes, SHFILEINFOW* AInfo, UINT AInfoSize,
                         UINT AFlags);

inline constexpr ULONG SEE_MASK_INVOKEIDLIST = 0x0C;

struct SHELLEXECUTEINFOW {
    DWORD cbSize = 60;
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;
    LPCWSTR lpFile = nullptr;
    LPCWSTR lpParameters = nullptr;
    LPCWSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
    PCItemIDList lpIDList = nullptr;
};

// Opens lpIDList (with SEE_MASK_INVOKEIDLIST) or lpFile through
// ShellExecuteW; FALSE for a virtual item or a failed start.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* AInfo);

}  // namespace win

namespace shell {

// Where the namespace reads the volumes and the icon themes from.
struct TNamespaceSettings {
    TMountSources Mounts;
    // As SetIconFolders takes them (sysimagelist.h).
    std::optional<std::vector<String>> IconFolders;
};
// Also fills the system image lists again.
void SetNamespaceSettings(const TNamespaceSettings& ASettings);
// The volumes of the Computer folder, read again when they are two seconds old.
std::vector<TVolume> Volumes();

}  // namespace shell
