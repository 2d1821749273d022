#include "skin/dialogs/qxskinshelllist.h"

#include <algorithm>

#include "platform/base/mainthread.h"
#include "platform/shell/sysimagelist.h"
#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxresstrs.h"

namespace {

struct TRaised {
    bool& Flag;
    explicit TRaised(bool& AFlag) : Flag(AFlag) { Flag = true; }
    ~TRaised() { Flag = false; }
};

[[noreturn]] void InvalidMask(const String& APattern, size_t APosition) {
    throw EMaskException(Format(u"'%s' is an invalid mask at (%d)", {APattern, Integer(APosition + 1)}));
}

// The set starting after "[" at AAt; AEnd is left after "]".
bool InSet(const String& APattern, size_t AAt, char16_t AChar, size_t& AEnd) {
    size_t i = AAt;
    const bool negated = i < APattern.size() && APattern[i] == u'!';
    if (negated) ++i;
    bool found = false;
    const size_t first = i;
    for (; i < APattern.size() && (APattern[i] != u']' || i == first); ++i) {
        char16_t low = APattern[i], high = low;
        if (i + 2 < APattern.size() && APattern[i + 1] == u'-' && APattern[i + 2] != u']') {
            high = APattern[i + 2];
            i += 2;
        }
        if (AChar >= low && AChar <= high) found = true;
    }
    if (i >= APattern.size()) InvalidMask(APattern, AAt - 1);
    AEnd = i + 1;
    return found != negated;
}

// Greedy, with one point to come back to: the last "*" met. A later "*"
// replaces it, as whatever the earlier one would still take the later one
// takes as well; so no position pair is tried twice per "*".
bool Match(const String& AName, const String& APattern, size_t& ASteps) {
    size_t n = 0, p = 0;
    size_t starP = String::npos, starN = 0;
    while (n < AName.size()) {
        ++ASteps;
        if (p < APattern.size()) {
            const char16_t c = APattern[p];
            if (c == u'*') {
                starP = p++;
                starN = n;
                continue;
            }
            size_t end = p + 1;
            if (c == u'[' ? InSet(APattern, p + 1, AName[n], end) : c == u'?' || c == AName[n]) {
                p = end;
                ++n;
                continue;
            }
        }
        if (starP == String::npos) return false;
        p = starP + 1;
        n = ++starN;
    }
    while (p < APattern.size() && APattern[p] == u'*')
        ++p;
    return p == APattern.size();
}

String FixedColumnCaption(TqxSkinData* ASkinData, const char16_t* AKey) {
    if (ASkinData && ASkinData->ResourceStrData()) return ASkinData->ResourceStrData()->GetResStr(AKey);
    return GetDefaultResStr(AKey);
}

// What a column sort compares, read before the sort so that the
// comparison never asks the file system and never throws.
struct TSortKey {
    TqxShellFolder* Item = nullptr;
    size_t Row = 0;
    bool Folder = false;
    String Name;
    // An item without a value (a folder's size, a file gone since the fill)
    // sorts before those with one, as the size -1 of a folder does.
    bool HasValue = false;
    win::TDetailValue Value;
};

int Sign(double AValue) {
    return AValue > 0 ? 1 : AValue < 0 ? -1 : 0;
}

int CompareValues(const TSortKey& A, const TSortKey& B) {
    if (!A.HasValue || !B.HasValue) return int(A.HasValue) - int(B.HasValue);
    if (A.Value.Type != B.Value.Type) return Sign(double(A.Value.Type) - double(B.Value.Type));
    switch (A.Value.Type) {
        case win::SHCOLSTATE_TYPE_INT:
            return A.Value.Number == B.Value.Number ? 0 : A.Value.Number > B.Value.Number ? 1 : -1;
        case win::SHCOLSTATE_TYPE_DATE:
            return Sign(A.Value.Date - B.Value.Date);
    }
    return Sign(AnsiCompareText(A.Value.Text, B.Value.Text));
}

}  // namespace

bool MatchesMaskPart(const String& AName, const String& APattern, size_t* ASteps) {
    // The form is checked first: a bad set raises even when no name reaches it.
    for (size_t i = 0; i < APattern.size(); ++i)
        if (APattern[i] == u'[') {
            size_t end = 0;
            InSet(APattern, i + 1, 0, end);
            i = end - 1;
        }
    size_t steps = 0;
    const String name = AnsiLowerCase(AName), pattern = AnsiLowerCase(APattern);
    // A name without a dot also matches as if it ended in one, so "*.*"
    // takes every file, as it does on Windows.
    const bool matches = Match(name, pattern, steps) ||
                         (name.find(u'.') == String::npos && Match(name + u".", pattern, steps));
    if (ASteps) *ASteps = steps;
    return matches;
}

TqxCustomShellListView::TqxCustomShellListView(TComponent* AOwner)
    : TqxSkinCustomListView(AOwner), FWatchedRefresh([this] { Refresh(); }, this) {
    SetOwnerData(true);
    SetHideSelection(false);
    SetSmallImages(shell::SystemImageList(false));
    SetLargeImages(shell::SystemImageList(true));
}

TqxCustomShellListView::~TqxCustomShellListView() {
    delete FNotifier;
    RemoveQueuedEvents(this);
    SetShellTreeView(nullptr);
    SetShellComboBox(nullptr);
    delete FRootFolder;
    FFolders.clear();
}

TqxShellFolder* TqxCustomShellListView::FolderAt(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= FolderCount()) return nullptr;
    return FFolders[size_t(AIndex)].get();
}

void TqxCustomShellListView::ClearFolders() {
    if (!ComponentState().Contains(csDestroying)) Items()->SetCount(0);
    FFolders.clear();
}

void TqxCustomShellListView::CreateWnd() {
    TqxSkinCustomListView::CreateWnd();
    if (!FRootLoaded) LoadRoot();
    RebuildItems();
}

void TqxCustomShellListView::DestroyWnd() {
    ClearFolders();
    TqxSkinCustomListView::DestroyWnd();
}

void TqxCustomShellListView::Loaded() {
    TqxSkinCustomListView::Loaded();
    WatchCurrentFolder();
}

void TqxCustomShellListView::SetAutoRefresh(bool AValue) {
    FAutoRefresh = AValue;
    WatchCurrentFolder();
}

void TqxCustomShellListView::WatchCurrentFolder() {
    if (ComponentState().Contains(csLoading)) return;
    WatchViewFolder(FNotifier, this, FAutoRefresh, FRootFolder ? FRootFolder->PathName() : String(),
                    [this] { FWatchedRefresh.Request(); });
}

void TqxCustomShellListView::LoadRoot() {
    FRootFolder = ResolveRoot(FRootFolder, FOldRoot, FRoot);
    FRootLoaded = true;
}

bool TqxCustomShellListView::PassesMask(TqxShellFolder* AItem) const {
    const String name = ExtractFileName(AItem->FullObjectName());
    size_t start = 0;
    while (start <= FMask.size()) {
        const size_t end = FMask.find_first_of(u";|", start);
        const String part = FMask.substr(start, end == String::npos ? String::npos : end - start);
        if (!part.empty()) {
            if (part == u"*") return true;
            if (part.find(u'.') != String::npos && MatchesMaskPart(name, part)) return true;
        }
        if (end == String::npos) break;
        start = end + 1;
    }
    return false;
}

void TqxCustomShellListView::FillItems() {
    if (!FRootFolder || !HandleAllocated()) return;
    Items()->BeginUpdate();
    const TCursor cursor = Screen->Cursor();
    struct TDone {
        TListItems* Rows;
        TCursor Cursor;
        ~TDone() {
            Screen->SetCursor(Cursor);
            Rows->EndUpdate();
        }
    } done{Items(), cursor};
    ClearFolders();
    Screen->SetCursor(crHourGlass);
    std::shared_ptr<win::IEnumIDList> ids;
    if (!FRootFolder->ShellFolder() ||
        FRootFolder->ShellFolder()->EnumObjects(nullptr, ObjectTypeFlags(FObjectTypes), ids) != win::S_OK ||
        !ids)
        return;
    PItemIDList id = nullptr;
    win::ULONG fetched = 0;
    try {
        while (ids->Next(1, &id, &fetched) == win::S_OK && fetched == 1) {
            auto item = std::make_unique<TqxShellFolder>(
                FRootFolder, id, BindChildFolder(FRootFolder->ShellFolder(), id, nullptr));
            ShellFree(id);
            bool canAdd = item->IsFolder() || PassesMask(item.get());
            if (OnAddFolder) OnAddFolder(this, item.get(), canAdd);
            if (canAdd) FFolders.push_back(std::move(item));
        }
    } catch (...) {
        // A bad mask leaves no rows rather than some.
        FFolders.clear();
        throw;
    }
    if (FSorted) SortFolders(false);
    Items()->SetCount(FolderCount());
}

void TqxCustomShellListView::SortFolders(bool AColumnMode) {
    const Integer column = FSortColumn;
    std::vector<TSortKey> keys;
    keys.reserve(FFolders.size());
    for (const auto& item : FFolders) {
        TSortKey key;
        key.Item = item.get();
        key.Row = keys.size();
        key.Folder = item->IsFolder();
        if (AColumnMode && column == 0)
            key.Name = item->DisplayName();
        else if (AColumnMode && column > 0)
            key.HasValue = item->ColumnValue(FRootFolder, column, key.Value);
        keys.push_back(std::move(key));
    }
    const TqxShellFolder* folder = FRootFolder;
    const bool descending = FSortDirection;
    const auto base = [folder](const TSortKey& A, const TSortKey& B) {
        const int order = int(B.Folder) - int(A.Folder);
        if (order != 0 || !folder->ShellFolder()) return order;
        return int(SmallInt(win::HRESULT_CODE(
            folder->ShellFolder()->CompareIDs(0, A.Item->RelativeID(), B.Item->RelativeID()))));
    };
    const auto compare = [&](const TSortKey& A, const TSortKey& B) {
        int answer = base(A, B);
        if (AColumnMode && column >= 0) {
            if (A.Folder != B.Folder)
                answer = A.Folder ? -1 : 1;
            else
                answer = column == 0 ? Sign(AnsiCompareText(A.Name, B.Name)) : CompareValues(A, B);
            if (answer == 0) answer = base(A, B);
        }
        if (AColumnMode && descending) answer = -answer;
        return answer < 0;
    };
    std::stable_sort(keys.begin(), keys.end(), compare);
    std::vector<std::unique_ptr<TqxShellFolder>> sorted;
    sorted.reserve(keys.size());
    for (const TSortKey& key : keys)
        sorted.push_back(std::move(FFolders[key.Row]));
    FFolders = std::move(sorted);
}

void TqxCustomShellListView::RebuildItems() {
    if (FUpdating) return;
    {
        const TRaised updating(FUpdating);
        if (FTreeView && FRootFolder) FTreeView->SelectIdList(FRootFolder->AbsoluteID());
        if (FComboBox && FRootFolder) FComboBox->FollowIdList(FRootFolder->AbsoluteID());
        FillItems();
        if (ViewStyle() == vsReport) BuildColumns();
        WatchCurrentFolder();
    }
    if (OnPathChanged) OnPathChanged(this);
}

bool TqxCustomShellListView::OwnerDataFetch(TListItem* Item, TItemRequest Request) {
    TqxShellFolder* folder = FolderAt(Item->Index());
    if (!folder) return true;
    if (Request.Contains(irText) || DrawSkin()) Item->SetCaption(folder->DisplayName());
    if (Request.Contains(irImage) || DrawSkin())
        Item->SetImageIndex(folder->ImageIndex(ViewStyle() == vsIcon));
    if (ViewStyle() == vsReport) {
        Item->SubItems()->Clear();
        // A file gone since the fill shows empty details instead of failing every repaint.
        try {
            folder->LoadColumnDetails(FRootFolder, Handle(), Columns()->Count());
            for (Integer i = 1; i < Columns()->Count(); ++i)
                Item->SubItems()->Add(folder->ColumnText(i));
        } catch (const Exception&) {
            while (Item->SubItems()->Count() < Columns()->Count() - 1)
                Item->SubItems()->Add(u"");
        }
    }
    return true;
}

Integer TqxCustomShellListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint&, void*,
                                              Integer StartIndex, TSearchDirection, bool Wrap) {
    if ((Find != ifPartialString && Find != ifExactString) || StartIndex == -1) return -1;
    const Integer count = FolderCount();
    if (StartIndex > count) return -1;
    const String wanted = AnsiLowerCase(FindString);
    const auto matches = [&](Integer AIndex) {
        return AnsiLowerCase(FFolders[size_t(AIndex)]->DisplayName()).starts_with(wanted);
    };
    for (Integer i = StartIndex; i < count; ++i)
        if (matches(i)) return i;
    if (Wrap)
        for (Integer i = 0; i < StartIndex && i < count; ++i)
            if (matches(i)) return i;
    return -1;
}

void TqxCustomShellListView::ColClick(TListColumn* Column) {
    TqxSkinCustomListView::ColClick(Column);
    if (Columns()->Count() < 4 && Column->Index() != 0) return;
    FOldSortColumn = FSortColumn;
    FSortColumn = Column->Index();
    FSortDirection = FSortColumn == FOldSortColumn && FSortColumn != -1 ? !FSortDirection : false;
    Items()->BeginUpdate();
    struct TDone {
        TListItems* Rows;
        ~TDone() { Rows->EndUpdate(); }
    } done{Items()};
    SortFolders(true);
}

void TqxCustomShellListView::BuildColumns() {
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    Columns()->BeginUpdate();
    struct TDone {
        TListColumns* Columns;
        ~TDone() { Columns->EndUpdate(); }
    } done{Columns()};
    Columns()->Clear();
    FRootFolder->SetViewHandle(Handle());
    const Integer x = Canvas()->TextWidth(u"X");
    const auto add = [&](const String& ACaption, std::optional<TAlignment> AAlignment, Integer AChars) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(ACaption);
        if (AAlignment) column->SetAlignment(*AAlignment);
        column->SetWidth(AChars * x);
    };
    if (const std::shared_ptr<win::IShellFolder2> details = FRootFolder->ShellFolder2()) {
        // The folder's own columns up to the first one it does not show by default.
        std::vector<String> captions;
        bool shownMet = false;
        for (win::UINT i = 0;; ++i) {
            win::SHELLDETAILS column;
            if (win::FAILED(details->GetDetailsOf(nullptr, i, &column))) break;
            win::DWORD state = 0;
            details->GetDefaultColumnState(i, &state);
            if (state & win::SHCOLSTATE_ONBYDEFAULT)
                shownMet = true;
            else if (shownMet)
                break;
            const String caption = StrRetText(nullptr, column.str);
            if (caption.empty()) continue;
            if (std::any_of(captions.begin(), captions.end(),
                            [&](const String& AAdded) { return AnsiSameText(AAdded, caption); }))
                continue;
            static const TAlignment alignments[] = {taLeftJustify, taRightJustify, taCenter};
            add(caption,
                column.fmt >= 0 && column.fmt <= 2 ? std::optional<TAlignment>(alignments[column.fmt])
                                                   : std::nullopt,
                column.cxChar);
            captions.push_back(caption);
        }
        return;
    }
    struct TFixed {
        const char16_t* Key;
        TAlignment Alignment;
        Integer Chars;
    };
    const TFixed fixed[] = {{u"FLV_NAME", taLeftJustify, 25},
                            {u"FLV_SIZE", taRightJustify, 10},
                            {u"FLV_TYPE", taLeftJustify, 10},
                            {u"FLV_MODIFIED", taLeftJustify, 14}};
    const Integer count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    for (Integer i = 0; i < count; ++i)
        add(FixedColumnCaption(SkinData(), fixed[i].Key), fixed[i].Alignment, fixed[i].Chars);
}

void TqxCustomShellListView::SetViewStyle(TViewStyle AValue) {
    TqxSkinCustomListView::SetViewStyle(AValue);
    if (AValue == vsReport) BuildColumns();
}

void TqxCustomShellListView::SetMask(const String& AValue) {
    if (AValue == FMask) return;
    FMask = AValue;
    RebuildItems();
}

void TqxCustomShellListView::SetObjectTypes(TShellObjectTypes AValue) {
    FObjectTypes = AValue;
    if (!ComponentState().Contains(csLoading)) RebuildItems();
}

void TqxCustomShellListView::SetSorted(bool AValue) {
    if (AValue == FSorted) return;
    FSorted = AValue;
    FillItems();
}

void TqxCustomShellListView::SetRoot(const TRoot& AValue) {
    if (AnsiCompareText(AValue, FRoot) == 0) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    if (!HandleAllocated()) {
        FRootLoaded = false;
        return;
    }
    LoadRoot();
    RebuildItems();
}

String TqxCustomShellListView::Path() {
    return FRootFolder ? FRootFolder->PathName() : String();
}

void TqxCustomShellListView::SetPath(const String& AValue) {
    PItemIDList list = nullptr;
    win::ULONG eaten = win::ULONG(AValue.size()), attributes = 0;
    if (GetDesktopInterface()->ParseDisplayName(nullptr, AValue, &eaten, &list, &attributes) != win::S_OK)
        throw EInvalidPath(Format(u"Error setting path: \"%s\"", {AValue}));
    struct TFree {
        PItemIDList List;
        ~TFree() { ShellFree(List); }
    } release{list};
    BrowseTo(CreateRootItem(list));
}

void TqxCustomShellListView::BrowseTo(TqxShellFolder* AItem) {
    ClearFolders();
    delete FRootFolder;
    FRootFolder = AItem;
    FRootLoaded = true;
    RebuildItems();
}

void TqxCustomShellListView::FollowIdList(PCItemIDList AID) {
    if (FUpdating) return;
    if (FRootFolder && IdListsEqual(FRootFolder->AbsoluteID(), AID)) return;
    ClearFolders();
    delete FRootFolder;
    FRootFolder = CreateRootItem(AID);
    FRootLoaded = true;
    const TRaised updating(FUpdating);
    FillItems();
    if (ViewStyle() == vsReport) BuildColumns();
    WatchCurrentFolder();
    if (FComboBox) FComboBox->FollowIdList(AID);
    if (OnPathChanged) OnPathChanged(this);
}

void TqxCustomShellListView::OpenRow(Integer AIndex) {
    TqxShellFolder* item = FolderAt(AIndex);
    // A file is the owner's to take (a dialog accepts it); it is never started.
    if (item && item->IsFolder()) BrowseTo(CreateRootItem(item->AbsoluteID()));
}

void TqxCustomShellListView::GoUp() {
    if (!FRootFolder || IdListCount(FRootFolder->AbsoluteID()) == 0) return;
    PItemIDList parent = IdListCopy(FRootFolder->AbsoluteID());
    IdListDropLast(parent);
    struct TFree {
        PItemIDList List;
        ~TFree() { ShellFree(List); }
    } release{parent};
    BrowseTo(CreateRootItem(parent));
}

void TqxCustomShellListView::Refresh() {
    if (FUpdating || !FRootFolder) return;
    const Integer index = ItemIndex();
    ClearSelection();
    FillItems();
    WatchCurrentFolder();
    if (index >= 0 && index < FolderCount()) SetItemIndex(index);
    if (OnPathChanged) OnPathChanged(this);
}

TqxShellFolder* TqxCustomShellListView::SelectedFolder() {
    TListItem* item = Selected();
    return item ? FolderAt(item->Index()) : nullptr;
}

String TqxCustomShellListView::GetSelectedFile() {
    TqxShellFolder* item = SelectedFolder();
    return item && !item->IsFolder() ? item->FullObjectName() : String();
}

std::vector<String> TqxCustomShellListView::GetSelectedFiles() {
    std::vector<String> files;
    for (Integer i = 0; i < Items()->Count(); ++i)
        if (Items()->Item(i)->Selected() && !FFolders[size_t(i)]->IsFolder())
            files.push_back(FFolders[size_t(i)]->FullObjectName());
    return files;
}

void TqxCustomShellListView::DblClick() {
    TqxSkinCustomListView::DblClick();
    if (FAutoNavigate) OpenRow(ItemIndex());
}

void TqxCustomShellListView::KeyDown(Word& AKey, TShiftState AShift) {
    TqxSkinCustomListView::KeyDown(AKey, AShift);
    if (!FAutoNavigate || IsEditing()) return;
    if (AKey == win::VK_RETURN && AShift.Contains(ssAlt)) {
        RunVerb(ItemIndex(), "properties");
        AKey = 0;
    } else if (AKey == win::VK_RETURN) {
        OpenRow(ItemIndex());
    } else if (AKey == win::VK_BACK) {
        GoUp();
    } else if (AKey == win::VK_F5) {
        Refresh();
    }
}

void TqxCustomShellListView::SetShellTreeView(TqxCustomShellTreeView* AValue) {
    if (AValue == FTreeView) return;
    if (FTreeView) FTreeView->OnFolderChanged = nullptr;
    SetReference(this, FTreeView, AValue);
    if (!FTreeView) return;
    FTreeView->OnFolderChanged = [this](PCItemIDList AID) { FollowIdList(AID); };
    if (FRootFolder && HandleAllocated()) FTreeView->SelectIdList(FRootFolder->AbsoluteID());
}

void TqxCustomShellListView::SetShellComboBox(TqxCustomShellComboBox* AValue) {
    if (AValue == FComboBox) return;
    if (FComboBox) FComboBox->SetShellListView(nullptr);
    SetReference(this, FComboBox, AValue);
    if (!FComboBox) return;
    FComboBox->SetShellListView(this);
    FComboBox->SetRoot(FRoot);
    if (FRootFolder && HandleAllocated()) FComboBox->FollowIdList(FRootFolder->AbsoluteID());
}

void TqxCustomShellListView::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomListView::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FTreeView) FTreeView = nullptr;
    if (AComponent == FComboBox) FComboBox = nullptr;
}

TqxItemMenuHost TqxCustomShellListView::MenuHost(Integer AIndex) {
    TqxItemMenuHost host;
    host.SkinData = SkinData();
    host.Form = GetParentForm(this);
    host.Target = dynamic_cast<IShellCommandTarget*>(this);
    host.Rename = [this, AIndex] { Items()->Item(AIndex)->EditCaption(); };
    host.Changed = [this] { Refresh(); };
    return host;
}

bool TqxCustomShellListView::RunVerb(Integer AIndex, const AnsiString& AVerb) {
    return RunItemVerb(MenuHost(AIndex), FolderAt(AIndex), AVerb);
}

void TqxCustomShellListView::DoContextPopup(TPoint MousePos, bool& Handled) {
    TqxSkinCustomListView::DoContextPopup(MousePos, Handled);
    if (Handled || !FAutoContext) return;
    TListItem* row = GetItemAt(MousePos.X, MousePos.Y);
    if (!row) return;
    const Integer index = row->Index();
    TPoint screen = ClientToScreen(MousePos);
    FWatchedRefresh.ShowMenu(MenuHost(index), FolderAt(index), screen.X, screen.Y, FItemMenu);
    Handled = true;
}

void TqxCustomShellListView::Edit(Integer AIndex, std::optional<String> AText) {
    TqxShellFolder* item = FolderAt(AIndex);
    if (!AText || !item || *AText == item->DisplayName()) return;
    item->Rename(*AText);
    Refresh();
}

void TqxCustomShellListView::ExecuteCommand(const String& Verb, bool&) {
    FOpenDirectory.Enter(Verb, FolderAt(ItemIndex()));
}

void TqxCustomShellListView::CommandCompleted(const String& Verb, bool) {
    FOpenDirectory.Leave(Verb);
}
