#include "skin/dialogs/qxshellitems.h"

#include <cstring>

#include "platform/base/clock.h"
#include "platform/base/mainthread.h"
#include "platform/base/ustring.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/forms.h"
#include "platform/win/window.h"

using namespace win;

TqxShellFolder* CompareFolder = nullptr;

namespace {

// The special-folder id of each TRootFolder, in its order.
constexpr int RootFolderIds[] = {0,  17, 18, 10, 26, 25, 23, 22, 24, 3, 16, 6,
                                 20, 1,  5,  4,  27, 2,  8,  9,  11, 7, 21};
constexpr const char16_t* RootFolderNames[] = {
    u"rfDesktop",        u"rfMyComputer",       u"rfNetwork",
    u"rfRecycleBin",     u"rfAppData",          u"rfCommonDesktopDirectory",
    u"rfCommonPrograms", u"rfCommonStartMenu",  u"rfCommonStartup",
    u"rfControlPanel",   u"rfDesktopDirectory", u"rfFavorites",
    u"rfFonts",          u"rfInternet",         u"rfPersonal",
    u"rfPrinters",       u"rfPrintHood",        u"rfPrograms",
    u"rfRecent",         u"rfSendTo",           u"rfStartMenu",
    u"rfStartup",        u"rfTemplates"};

void CheckResult(HRESULT AResult) {
    if (FAILED(AResult)) throw EOleSysError(AResult);
}

Word ItemSize(PCItemIDList AItem) {
    return Word(AItem[0] | AItem[1] << 8);
}

}  // namespace

EOleSysError::EOleSysError(HRESULT AErrorCode)
    : Exception((AErrorCode & 0xFFFF0000) == 0x80070000 ? SysErrorMessage(HRESULT_CODE(AErrorCode))
                                                        : Format(u"OLE error %.8X", {Cardinal(AErrorCode)})),
      ErrorCode(AErrorCode) {}

// Item-id lists.

PItemIDList ShellAlloc(size_t ASize) {
    return SHAlloc(ASize);
}

void ShellFree(void* ABlock) {
    SHFree(ABlock);
}

PCItemIDList IdListNext(PCItemIDList AItem) {
    return ILGetNext(AItem);
}

void IdListDropLast(PItemIDList AList) {
    if (AList) ILRemoveLastID(AList);
}

Integer IdListCount(PCItemIDList AList) {
    return Integer(ILGetCount(AList));
}

Integer IdListSize(PCItemIDList AList) {
    return Integer(ILGetSize(AList));
}

PItemIDList IdListCopy(PCItemIDList AList) {
    return ILClone(AList);
}

PItemIDList IdListJoin(PCItemIDList AFirst, PCItemIDList ASecond) {
    return ILCombine(AFirst, ASecond);
}

PItemIDList IdListLastItem(PCItemIDList AList) {
    PCItemIDList last = ILFindLastID(AList);
    const size_t size = ItemSize(last);
    PItemIDList out = ShellAlloc(size + 2);
    std::memcpy(out, last, size);
    return out;
}

std::vector<PItemIDList> IdListPrefixes(PCItemIDList AList) {
    std::vector<PItemIDList> prefixes;
    const Integer count = IdListCount(AList);
    for (Integer n = 0; n < count; ++n) {
        PItemIDList prefix = IdListCopy(AList);
        for (Integer drop = n; drop < count; ++drop)
            ILRemoveLastID(prefix);
        prefixes.push_back(prefix);
    }
    return prefixes;
}

void FreeIdListPrefixes(std::vector<PItemIDList>& APrefixes) {
    for (PItemIDList prefix : APrefixes)
        ShellFree(prefix);
    APrefixes.clear();
}

bool IdListsEqual(PCItemIDList A, PCItemIDList B) {
    return GetDesktopInterface()->CompareIDs(0, A, B) == S_OK;
}

PItemIDList DesktopIdList() {
    PItemIDList list = nullptr;
    CheckResult(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list));
    return list;
}

std::shared_ptr<IShellFolder> GetDesktopInterface() {
    std::shared_ptr<IShellFolder> desktop;
    CheckResult(SHGetDesktopFolder(desktop));
    return desktop;
}

// Shell routines.

Integer RootFolderOrdinal(const String& AText) {
    for (Integer i = 0; i < Integer(std::size(RootFolderNames)); ++i)
        if (SameText(AText, RootFolderNames[i])) return i;
    return -1;
}

bool HasAttribute(DWORD AAttribute, DWORD AFlags) {
    return (AAttribute & AFlags) != 0;
}

Integer ShellIconIndex(PCItemIDList AAbsoluteList, bool ALarge, bool AOpen) {
    SHFILEINFOW info;
    SHGetFileInfoW(
        AAbsoluteList, 0, &info, sizeof info,
        SHGFI_PIDL | SHGFI_SYSICONINDEX | (AOpen ? SHGFI_OPENICON : 0) | (ALarge ? 0 : SHGFI_SMALLICON));
    return info.iIcon;
}

DWORD ObjectTypeFlags(TShellObjectTypes ATypes) {
    return (ATypes.Contains(otFolders) ? SHCONTF_FOLDERS : 0) |
           (ATypes.Contains(otNonFolders) ? SHCONTF_NONFOLDERS : 0) |
           (ATypes.Contains(otHidden) ? SHCONTF_INCLUDEHIDDEN : 0);
}

bool FolderHasItems(const std::shared_ptr<IShellFolder>& AFolder, DWORD AFlags) {
    if (!AFolder) return false;
    std::shared_ptr<IEnumIDList> items;
    if (FAILED(AFolder->EnumObjects(nullptr, AFlags, items)) || !items) return false;
    PItemIDList first = nullptr;
    const bool any = items->Next(1, &first, nullptr) == S_OK;
    ShellFree(first);
    return any;
}

String StrRetText(PCItemIDList AList, const STRRET& AStrRet) {
    String text;
    switch (AStrRet.uType) {
        case STRRET_WSTR:
            text = AStrRet.pOleStr;
            break;
        case STRRET_OFFSET: {
            const size_t first = AList ? ItemSize(AList) : 0;
            if (AStrRet.uOffset < first) {
                const char* start = reinterpret_cast<const char*>(AList) + AStrRet.uOffset;
                text = UTF8ToString(std::string_view(start, strnlen(start, first - AStrRet.uOffset)));
            }
            break;
        }
        case STRRET_CSTR:
            text = UTF8ToString(std::string_view(AStrRet.cStr, strnlen(AStrRet.cStr, sizeof AStrRet.cStr)));
            break;
    }
    if (text.size() > 1 && text[0] == u'?' && text[1] >= u'0' && text[1] <= u'9') std::erase(text, u'?');
    return text;
}

String ItemDisplayName(const std::shared_ptr<IShellFolder>& AFolder, PCItemIDList AList, DWORD AFlags) {
    if (!AFolder) return u"parentfolder = nil";
    const auto ask = [&](DWORD AAsk) {
        STRRET name;
        return SUCCEEDED(AFolder->GetDisplayNameOf(AList, AAsk, &name)) ? StrRetText(AList, name) : String();
    };
    String text = ask(AFlags);
    if (text.rfind(u"::{", 0) == 0) text = ask(SHGDN_NORMAL);
    return text;
}

std::shared_ptr<IShellFolder> BindChildFolder(const std::shared_ptr<IShellFolder>& AFolder,
                                              PCItemIDList AList, HWND) {
    std::shared_ptr<IShellFolder> child;
    if (AFolder && SUCCEEDED(AFolder->BindToObject(AList, child)) && child) return child;
    GetDesktopInterface()->BindToObject(AList, child);
    return child;
}

std::shared_ptr<IShellFolder2> BindChildFolder2(const std::shared_ptr<IShellFolder>& AFolder,
                                                PCItemIDList AList, HWND) {
    std::shared_ptr<IShellFolder> child;
    if (SUCCEEDED(GetDesktopInterface()->BindToObject(AList, child)) && child)
        return std::dynamic_pointer_cast<IShellFolder2>(child);
    if (AFolder && SUCCEEDED(AFolder->BindToObject(AList, child)) && child)
        return std::dynamic_pointer_cast<IShellFolder2>(child);
    return nullptr;
}

Integer CompareChildIDs(PCItemIDList A, PCItemIDList B) {
    if (!CompareFolder || !CompareFolder->ShellFolder()) return 0;
    return SmallInt(HRESULT_CODE(CompareFolder->ShellFolder()->CompareIDs(0, A, B)));
}

TqxShellFolder* CreateRootItem(PCItemIDList AList) {
    const std::shared_ptr<IShellFolder> desktop = GetDesktopInterface();
    std::shared_ptr<IShellFolder> folder = BindChildFolder(desktop, AList, nullptr);
    return new TqxShellFolder(DesktopItem(), AList, folder ? folder : desktop);
}

TqxShellFolder* ResolveRoot(TqxShellFolder* ARootItem, const TRoot& AOldRoot, TRoot& ANewRoot) {
    PItemIDList list = nullptr;
    HRESULT result = E_INVALIDARG;
    const Integer ordinal = RootFolderOrdinal(ANewRoot);
    if (ordinal >= 0)
        result = SHGetSpecialFolderLocation(nullptr, RootFolderIds[ordinal], &list);
    else if (!ANewRoot.empty())
        result = GetDesktopInterface()->ParseDisplayName(nullptr, ANewRoot, nullptr, &list, nullptr);
    if (FAILED(result)) {
        const String message = Format(u"Error setting path: \"%s\"", {ANewRoot});
        ANewRoot = AOldRoot;
        throw Exception(message);
    }
    TqxShellFolder* item = CreateRootItem(list);
    ShellFree(list);
    delete ARootItem;
    return item;
}

void InvokeItemVerb(TqxShellFolder* AItem, const AnsiString& AVerb) {
    if (!AItem) return;
    const std::shared_ptr<IShellFolder> parent = AItem->ParentShellFolder();
    std::shared_ptr<IContextMenu> menu;
    PCItemIDList items[] = {AItem->RelativeID()};
    if (!parent || FAILED(parent->GetUIObjectOf(nullptr, 1, items, menu)) || !menu) return;
    menu->InvokeCommand(nullptr, AVerb);
}

// Find records.

TSearchRec ReadItemFindData(TqxShellFolder* AItem) {
    TSearchRec data;
    const Integer error = FindFirst(AItem->PathName(), faAnyFile, data);
    FindClose(data);
    if (error != 0)
        throw EInvalidPath(u"Unable to retrieve folder details for \"%s\". Error code $%x",
                           {AItem->DisplayName(), error});
    return data;
}

Int64 FindDataSize(const TSearchRec& AData) {
    return (AData.Attr & faDirectory) ? -1 : AData.Size;
}

TDateTime FindDataDate(const TSearchRec& AData) {
    return (AData.Attr & faDirectory) ? -1 : FileDateToDateTime(AData.Time);
}

String FindDataText(const TSearchRec& AData, Integer AIndex) {
    switch (AIndex) {
        case 1:
            return IntToStr(FindDataSize(AData));
        case 2:
            return ExtractFileExt(AData.Name);
        case 3: {
            const TDateTime date = FindDataDate(AData);
            return date == -1 ? String() : FormatDateTime(u"yyyy-mm-dd hh:nn:ss", date);
        }
        case 4:
            return IntToStr(AData.Attr);
    }
    return String();
}

// Items.

namespace {

// Set while the desktop item is made: it gets no parent.
bool BuildingDesktop = false;

}  // namespace

TqxShellFolder* DesktopItem() {
    static std::unique_ptr<TqxShellFolder> desktop = [] {
        BuildingDesktop = true;
        PItemIDList list = DesktopIdList();
        auto item = std::make_unique<TqxShellFolder>(nullptr, list, GetDesktopInterface());
        ShellFree(list);
        BuildingDesktop = false;
        return item;
    }();
    return desktop.get();
}

TqxShellFolder::TqxShellFolder(TqxShellFolder* AParent, PCItemIDList ID, std::shared_ptr<IShellFolder> SF)
    : FParent(AParent), FIShellFolder(std::move(SF)), FDetails(std::make_unique<TStringList>()) {
    FPIDL = IdListCopy(ID);
    if (AParent) {
        FFullPIDL = IdListJoin(AParent->FFullPIDL, ID);
    } else {
        PItemIDList desktop = DesktopIdList();
        FFullPIDL = IdListJoin(desktop, ID);
        ShellFree(desktop);
        if (!BuildingDesktop) FParent = DesktopItem();
    }
    for (TqxShellFolder* above = AParent; above; above = above->FParent)
        if (above->FParent) ++FLevel;
}

TqxShellFolder::~TqxShellFolder() {
    FDetails.reset();
    ShellFree(FPIDL);
    ShellFree(FFullPIDL);
}

std::shared_ptr<IShellFolder2> TqxShellFolder::ShellFolder2() {
    // Bound once: the item's own folder object and its absolute list.
    if (!FDetailInterfaceBound && FIShellFolder) {
        FDetailInterfaceBound = true;
        FIShellFolder2 = BindChildFolder2(FIShellFolder, FFullPIDL, FViewHandle);
        if (!FIShellFolder2) FIShellFolder2 = std::dynamic_pointer_cast<IShellFolder2>(FIShellFolder);
    }
    return FIShellFolder2;
}

std::shared_ptr<IShellFolder> TqxShellFolder::ParentShellFolder() const {
    return FParent ? FParent->FIShellFolder : GetDesktopInterface();
}

DWORD TqxShellFolder::QueryAttributes(DWORD ARequest) const {
    const std::shared_ptr<IShellFolder> parent = ParentShellFolder();
    DWORD attributes = ARequest;
    if (!parent) return 0;
    PCItemIDList items[] = {FPIDL};
    parent->GetAttributesOf(1, items, &attributes);
    return attributes;
}

bool TqxShellFolder::HasAttributes(DWORD ARequest, DWORD ABits) const {
    return HasAttribute(QueryAttributes(ARequest), ABits);
}

TqxShellFolderCapabilities TqxShellFolder::Capabilities() {
    const DWORD word = QueryAttributes(SFGAO_CAPABILITYMASK);
    TqxShellFolderCapabilities out;
    const std::pair<DWORD, TqxShellFolderCapability> map[] = {
        {SFGAO_CANCOPY, fcCanCopy},          {SFGAO_CANDELETE, fcCanDelete}, {SFGAO_CANLINK, fcCanLink},
        {SFGAO_CANMOVE, fcCanMove},          {SFGAO_CANRENAME, fcCanRename}, {SFGAO_DROPTARGET, fcDropTarget},
        {SFGAO_HASPROPSHEET, fcHasPropSheet}};
    for (const auto& [bit, capability] : map)
        if (word & bit) out.Include(capability);
    return out;
}

TqxShellFolderProperties TqxShellFolder::Properties() {
    TqxShellFolderProperties out;
    const DWORD display = QueryAttributes(SFGAO_DISPLAYATTRMASK);
    const DWORD other = QueryAttributes(0);
    const std::pair<DWORD, TqxShellFolderProperty> displayMap[] = {{SFGAO_GHOSTED, fpCut},
                                                                   {SFGAO_LINK, fpIsLink},
                                                                   {SFGAO_READONLY, fpReadOnly},
                                                                   {SFGAO_SHARE, fpShared}};
    const std::pair<DWORD, TqxShellFolderProperty> otherMap[] = {
        {SFGAO_FILESYSTEM, fpFileSystem},
        {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
        {SFGAO_REMOVABLE, fpRemovable},
        {SFGAO_VALIDATE, fpValidate}};
    for (const auto& [bit, property] : displayMap)
        if (display & bit) out.Include(property);
    for (const auto& [bit, property] : otherMap)
        if (other & bit) out.Include(property);
    return out;
}

bool TqxShellFolder::SubFolders() {
    return HasAttributes(SFGAO_HASSUBFOLDER, SFGAO_HASSUBFOLDER);
}

bool TqxShellFolder::IsFolder() {
    // This namespace never shows an archive as a folder: whatever has the
    // folder attribute is a real folder, whatever its name ends in.
    return HasAttributes(SFGAO_FOLDER, SFGAO_FOLDER);
}

String TqxShellFolder::PathName() {
    return ItemDisplayName(GetDesktopInterface(), FFullPIDL, SHGDN_FORPARSING);
}

String TqxShellFolder::FullObjectName() {
    String path;
    return SHGetPathFromIDListW(FFullPIDL, path) ? path : String();
}

String TqxShellFolder::DisplayName() {
    return ItemDisplayName(ParentShellFolder(), FPIDL, SHGDN_INFOLDER);
}

bool TqxShellFolder::Rename(const String& NewName) {
    if (!Capabilities().Contains(fcCanRename)) return false;
    const std::shared_ptr<IShellFolder> parent = ParentShellFolder();
    PItemIDList newList = nullptr;
    if (!parent || parent->SetNameOf(nullptr, FPIDL, NewName, SHGDN_NORMAL, &newList) != S_OK)
        throw Exception(u"Rename to %s failed", {NewName});
    ShellFree(FPIDL);
    ShellFree(FFullPIDL);
    FPIDL = newList;
    FFullPIDL = FParent ? IdListJoin(FParent->AbsoluteID(), newList) : IdListCopy(newList);
    return true;
}

Integer TqxShellFolder::ImageIndex(bool LargeIcon) {
    return ShellIconIndex(FFullPIDL, LargeIcon, false);
}

bool TqxShellFolder::ExecuteDefault() {
    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = Application ? Application->Handle() : nullptr;
    info.lpIDList = FFullPIDL;
    info.nShow = SW_SHOW;
    return ShellExecuteExW(&info) != FALSE;
}

void TqxShellFolder::LoadColumnDetails(TqxShellFolder* RootFolder, HWND Handle, Integer ColumnCount) {
    if (!FDetails || FDetails->Count() >= ColumnCount) return;
    FDetails->Clear();
    FViewHandle = Handle;
    if (const std::shared_ptr<IShellFolder2> details = RootFolder->ShellFolder2()) {
        for (Integer i = 1; i <= ColumnCount; ++i) {
            SHELLDETAILS column;
            FDetails->Add(details->GetDetailsOf(FPIDL, UINT(i), &column) == S_OK
                              ? StrRetText(FPIDL, column.str)
                              : String());
        }
    } else if (RootFolder->Properties().Contains(fpFileSystem)) {
        // A file deleted since the list was filled shows empty texts.
        TSearchRec data;
        bool found = false;
        try {
            data = ReadItemFindData(this);
            found = true;
        } catch (const EInvalidPath&) {
        }
        for (Integer i = 1; i <= ColumnCount; ++i)
            FDetails->Add(found ? FindDataText(data, i) : String());
    }
}

bool TqxShellFolder::ColumnValue(TqxShellFolder* RootFolder, Integer Index, TDetailValue& AValue) {
    if (Index < 1) return false;
    if (const std::shared_ptr<IShellFolder2> details = RootFolder->ShellFolder2())
        return details->GetDetailsEx(FPIDL, UINT(Index), &AValue) == S_OK;
    if (!RootFolder->Properties().Contains(fpFileSystem)) return false;
    TSearchRec data;
    try {
        data = ReadItemFindData(this);
    } catch (const EInvalidPath&) {
        return false;
    }
    const bool folder = data.Attr & faDirectory;
    AValue = TDetailValue();
    switch (Index) {
        case 1:
            AValue.Type = SHCOLSTATE_TYPE_INT;
            AValue.Number = data.Size;
            return !folder;
        case 2:
            AValue.Text = FindDataText(data, 2);
            return true;
        case 3:
            AValue.Type = SHCOLSTATE_TYPE_DATE;
            AValue.Date = FindDataDate(data);
            return !folder;
        case 4:
            AValue.Type = SHCOLSTATE_TYPE_INT;
            AValue.Number = data.Attr;
            return true;
    }
    return false;
}

String TqxShellFolder::ColumnText(Integer Index) {
    if (FDetails->Count() == 0) throw Exception(u"%s: Missing call to LoadColumnDetails", {DisplayName()});
    return Index >= 1 && Index <= FDetails->Count() ? FDetails->Get(Index - 1) : String();
}

void WatchViewFolder(TqxShellChangeNotifier*& AWatcher, TComponent* AOwner, bool AOn, const String& APath,
                     std::function<void()> AOnChange) {
    if (AOn && !APath.empty() && AWatcher && AWatcher->Root() == APath) return;
    delete AWatcher;
    AWatcher = nullptr;
    if (!AOn || APath.empty()) return;
    AWatcher = new TqxShellChangeNotifier(AOwner);
    AWatcher->SetWatchSubTree(false);
    AWatcher->SetRoot(APath);
    // The watcher's call only queues the refresh: a refresh that moves or
    // frees the watcher must not run inside that watcher's own call.
    AWatcher->SetOnChange([AOwner, AOnChange = std::move(AOnChange)] { Queue(AOnChange, AOwner); });
}
