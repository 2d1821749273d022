// Shell namespace items for the skinned shell controls: item-id list
// routines, TqxShellFolder (one namespace item with its names, path,
// attributes, icon and column texts), roots by name or path, and the
// routines the path combo, tree and list views share. Everything here asks
// the shell layer's namespace (platform/shell/shellfolders.h) and runs on
// the GUI thread.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/fileutils.h"
#include "platform/base/set.h"
#include "platform/base/stringlist.h"
#include "platform/base/sysutils.h"
#include "platform/shell/changenotifier.h"
#include "platform/shell/shellfolders.h"

using win::PCItemIDList;
using win::PItemIDList;

enum TqxShellFolderCapability {
    fcCanCopy,
    fcCanDelete,
    fcCanLink,
    fcCanMove,
    fcCanRename,
    fcDropTarget,
    fcHasPropSheet
};
using TqxShellFolderCapabilities = TSet<TqxShellFolderCapability>;

enum TqxShellFolderProperty {
    fpCut,
    fpIsLink,
    fpReadOnly,
    fpShared,
    fpFileSystem,
    fpFileSystemAncestor,
    fpRemovable,
    fpValidate
};
using TqxShellFolderProperties = TSet<TqxShellFolderProperty>;

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;

// A TRootFolder name or a path.
using TRoot = String;

enum TRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};

VELQUA_DECLARE_EXCEPTION(EInvalidPath, Exception);

// A shell failure the caller cannot go on from, with its result code.
class EOleSysError : public Exception {
public:
    explicit EOleSysError(win::HRESULT AErrorCode);
    win::HRESULT ErrorCode;
};

// A control that shows item context menus may take the chosen commands over.
class IShellCommandTarget {
public:
    virtual ~IShellCommandTarget() = default;
    virtual void ExecuteCommand(const String& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const String& Verb, bool Succeeded) = 0;
};

class TqxShellFolder : public TObject {
public:
    // ID is copied; AParent nil means DesktopItem (the desktop item itself
    // has none); SF may be nil for an item that is no folder.
    TqxShellFolder(TqxShellFolder* AParent, PCItemIDList ID, std::shared_ptr<win::IShellFolder> SF);
    ~TqxShellFolder() override;

    // The item's id relative to its parent, and from the desktop.
    PItemIDList RelativeID() const { return FPIDL; }
    PItemIDList AbsoluteID() const { return FFullPIDL; }
    TqxShellFolder* Parent() const { return FParent; }
    const std::shared_ptr<win::IShellFolder>& ShellFolder() const { return FIShellFolder; }
    // Bound once and kept; nil when there is none.
    std::shared_ptr<win::IShellFolder2> ShellFolder2();
    Integer Level() const { return FLevel; }
    win::HWND ViewHandle() const { return FViewHandle; }
    void SetViewHandle(win::HWND AValue) { FViewHandle = AValue; }

    // The parent's folder object; the desktop's without a parent.
    std::shared_ptr<win::IShellFolder> ParentShellFolder() const;
    TqxShellFolderProperties Properties();
    TqxShellFolderCapabilities Capabilities();
    bool SubFolders();
    bool IsFolder();
    // The parsing name: the full path, or the display name of a virtual item.
    String PathName();
    // The file-system path, however long; empty for a virtual item.
    String FullObjectName();
    String DisplayName();
    // False, asking nothing, without fcCanRename; a refusal (an existing
    // name among them) raises "Rename to %s failed" and changes nothing.
    bool Rename(const String& NewName);
    Integer ImageIndex(bool LargeIcon);
    // Opens the item with the desktop's program for it.
    bool ExecuteDefault();
    // Loads the texts of columns 1..ColumnCount unless as many are loaded.
    void LoadColumnDetails(TqxShellFolder* RootFolder, win::HWND Handle, Integer ColumnCount);
    // Column Index (from 1); "%s: Missing call to LoadColumnDetails" before any load.
    String ColumnText(Integer Index);
    // What column Index (from 1) of a row in a list of RootFolder shows,
    // unformatted, to sort by: from RootFolder's details, else from the
    // find record in a file-system folder. False when there is none (a
    // folder's size, a file gone since); never raises.
    bool ColumnValue(TqxShellFolder* RootFolder, Integer Index, win::TDetailValue& AValue);

private:
    bool HasAttributes(win::DWORD ARequest, win::DWORD ABits) const;
    win::DWORD QueryAttributes(win::DWORD ARequest) const;

    PItemIDList FPIDL = nullptr;
    PItemIDList FFullPIDL = nullptr;
    TqxShellFolder* FParent = nullptr;
    std::shared_ptr<win::IShellFolder> FIShellFolder;
    std::shared_ptr<win::IShellFolder2> FIShellFolder2;
    bool FDetailInterfaceBound = false;
    Integer FLevel = 0;
    win::HWND FViewHandle = nullptr;
    std::unique_ptr<TStringList> FDetails;
};

// The desktop, made on first use, freed at the end of the program.
TqxShellFolder* DesktopItem();
// While the path combo sorts, the folder whose comparison orders child ids;
// the list view's current folder during its sorts; nil otherwise.
extern TqxShellFolder* CompareFolder;

// Item-id lists, each new one owned by the caller, who gives it back with ShellFree.
PItemIDList ShellAlloc(size_t ASize);
void ShellFree(void* ABlock);
PCItemIDList IdListNext(PCItemIDList AItem);
// Ends the list before its last item in place; nil and the empty list stay.
void IdListDropLast(PItemIDList AList);
Integer IdListCount(PCItemIDList AList);
// 0 for nil.
Integer IdListSize(PCItemIDList AList);
PItemIDList IdListCopy(PCItemIDList AList);
// AFirst without its terminator (nothing for nil) and all of ASecond.
PItemIDList IdListJoin(PCItemIDList AFirst, PCItemIDList ASecond);
// The last item alone; the empty list for the empty list.
PItemIDList IdListLastItem(PCItemIDList AList);
// Copies of every proper prefix, shortest (the desktop) first.
std::vector<PItemIDList> IdListPrefixes(PCItemIDList AList);
void FreeIdListPrefixes(std::vector<PItemIDList>& APrefixes);
// One item, as the desktop's comparison says.
bool IdListsEqual(PCItemIDList A, PCItemIDList B);
PItemIDList DesktopIdList();
std::shared_ptr<win::IShellFolder> GetDesktopInterface();

// The TRootFolder name equal to AText without regard to case, else -1.
Integer RootFolderOrdinal(const String& AText);
bool HasAttribute(win::DWORD AAttribute, win::DWORD AFlags);
// The system image list's picture of an item; an item the shell has no
// picture for gets the file's.
Integer ShellIconIndex(PCItemIDList AAbsoluteList, bool ALarge, bool AOpen);
win::DWORD ObjectTypeFlags(TShellObjectTypes ATypes);
// Whether the folder lists anything for AFlags; false for nil or a failure.
bool FolderHasItems(const std::shared_ptr<win::IShellFolder>& AFolder, win::DWORD AFlags);
// A folder's name answer as text; a text of "?" and a digit and more loses every "?".
String StrRetText(PCItemIDList AList, const win::STRRET& AStrRet);
// "parentfolder = nil" for a nil folder; a "::{...}" name is asked again as a normal name.
String ItemDisplayName(const std::shared_ptr<win::IShellFolder>& AFolder, PCItemIDList AList,
                       win::DWORD AFlags);
// The folder object of a descendant of AFolder, else of the desktop; may be nil.
std::shared_ptr<win::IShellFolder> BindChildFolder(const std::shared_ptr<win::IShellFolder>& AFolder,
                                                   PCItemIDList AList, win::HWND AWindow);
std::shared_ptr<win::IShellFolder2> BindChildFolder2(const std::shared_ptr<win::IShellFolder>& AFolder,
                                                     PCItemIDList AList, win::HWND AWindow);
// Orders two child ids of CompareFolder (0 without one).
Integer CompareChildIDs(PCItemIDList A, PCItemIDList B);
// A new root item (level 0) for an absolute list.
TqxShellFolder* CreateRootItem(PCItemIDList AList);
// A new root item for ANewRoot (a TRootFolder name or an existing absolute
// path), freeing ARootItem. When it names nothing: ANewRoot becomes
// AOldRoot and Exception "Error setting path: "%s"" (the text tried) is raised.
TqxShellFolder* ResolveRoot(TqxShellFolder* ARootItem, const TRoot& AOldRoot, TRoot& ANewRoot);
// Runs a context-menu verb ("open", "delete") of the item without showing a menu.
void InvokeItemVerb(TqxShellFolder* AItem, const AnsiString& AVerb);

// The find record of an item's path; EInvalidPath "Unable to retrieve folder
// details for "%s". Error code $%x" (display name, system code) when there is none.
TSearchRec ReadItemFindData(TqxShellFolder* AItem);
// -1 for a folder.
Int64 FindDataSize(const TSearchRec& AData);
// The last change through local time in two-second steps; -1 for a folder
// or a time that cannot be converted.
TDateTime FindDataDate(const TSearchRec& AData);
// 1 size, 2 extension, 3 date ("yyyy-mm-dd hh:nn:ss", empty for -1), 4 attributes.
String FindDataText(const TSearchRec& AData, Integer AIndex);

// Keeps AWatcher (owned by AOwner) on the one folder APath: a new watcher of
// its file and folder names for another path, none when AOn is false or
// APath is empty; the same path keeps the running watcher. AOnChange runs
// later from the GUI thread's queue, tagged with AOwner (whose destructor
// drops it with RemoveQueuedEvents).
void WatchViewFolder(TqxShellChangeNotifier*& AWatcher, TComponent* AOwner, bool AOn, const String& APath,
                     std::function<void()> AOnChange);
