#include "platform/base/stringlist.h"

#include <algorithm>
#include <numeric>

#include "platform/base/listhelpers.h"
#include "platform/base/streams.h"
#include "platform/base/ustring.h"

namespace {

String DecodeUTF16(std::string_view ABytes, bool ABigEndian) {
    String out;
    out.reserve(ABytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < ABytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(ABytes[i]);
        const auto b1 = static_cast<unsigned char>(ABytes[i + 1]);
        out.push_back(static_cast<char16_t>(ABigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
    }
    // A byte left over is half a character.
    if (ABytes.size() % 2) out.push_back(0xFFFD);
    return out;
}

bool IsBlank(char16_t c) {
    return c <= u' ';
}

}  // namespace

String DecodeText(std::string_view ABytes) {
    if (ABytes.starts_with("\xEF\xBB\xBF")) return UTF8ToString(ABytes.substr(3));
    if (ABytes.starts_with("\xFF\xFE")) return DecodeUTF16(ABytes.substr(2), false);
    if (ABytes.starts_with("\xFE\xFF")) return DecodeUTF16(ABytes.substr(2), true);
    return UTF8ToString(ABytes);
}

// TStrings

void TStrings::CheckIndex(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EStringListError(SListIndexError, {AIndex});
}

void TStrings::Put(Integer AIndex, const String& S) {
    TObject* object = GetObject(AIndex);
    WithUpdate(*this, [&] {
        Delete(AIndex);
        InsertObject(AIndex, S, object);
    });
}

TObject* TStrings::GetObject(Integer) const {
    return nullptr;
}

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
    const Integer index = Count();
    InsertObject(index, S, AObject);
    return index;
}

void TStrings::InsertObject(Integer AIndex, const String& S, TObject* AObject) {
    WithUpdate(*this, [&] {
        Insert(AIndex, S);
        PutObject(AIndex, AObject);
    });
}

void TStrings::Exchange(Integer AIndex1, Integer AIndex2) {
    const String s1 = Get(AIndex1);
    const String s2 = Get(AIndex2);
    TObject* o1 = GetObject(AIndex1);
    TObject* o2 = GetObject(AIndex2);
    WithUpdate(*this, [&] {
        Put(AIndex1, s2);
        PutObject(AIndex1, o2);
        Put(AIndex2, s1);
        PutObject(AIndex2, o1);
    });
}

void TStrings::Move(Integer ACurIndex, Integer ANewIndex) {
    if (ACurIndex == ANewIndex) return;
    CheckIndex(ANewIndex);
    const String s = Get(ACurIndex);
    TObject* object = GetObject(ACurIndex);
    WithUpdate(*this, [&] {
        Delete(ACurIndex);
        InsertObject(ANewIndex, s, object);
    });
}

void TStrings::AddStrings(TStrings* AStrings) {
    const Integer count = AStrings->Count();
    WithUpdate(*this, [&] {
        for (Integer i = 0; i < count; ++i)
            AddObject(AStrings->Get(i), AStrings->GetObject(i));
    });
}

void TStrings::Assign(TPersistent* ASource) {
    AssignContent<TStrings>(*this, ASource, [this](TStrings& ASource) { AddStrings(&ASource); });
}

bool TStrings::Equals(TStrings* AStrings) const {
    const Integer count = Count();
    if (count != AStrings->Count()) return false;
    for (Integer i = 0; i < count; ++i)
        if (Get(i) != AStrings->Get(i)) return false;
    return true;
}

Integer TStrings::IndexOf(std::u16string_view S) const {
    const Integer count = Count();
    for (Integer i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
    const Integer count = Count();
    for (Integer i = 0; i < count; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

Integer TStrings::IndexOfName(std::u16string_view AName) const {
    const Integer count = Count();
    for (Integer i = 0; i < count; ++i) {
        const String line = Get(i);
        const size_t at = line.find(FNameValueSeparator);
        if (at != String::npos && CompareStrings(std::u16string_view(line).substr(0, at), AName) == 0)
            return i;
    }
    return -1;
}

String TStrings::Names(Integer AIndex) const {
    const String line = Get(AIndex);
    const size_t at = line.find(FNameValueSeparator);
    return at == String::npos ? String() : line.substr(0, at);
}

String TStrings::ValueFromIndex(Integer AIndex) const {
    const String line = Get(AIndex);
    const size_t at = line.find(FNameValueSeparator);
    return at == String::npos ? String() : line.substr(at + 1);
}

String TStrings::Values(std::u16string_view AName) const {
    const Integer index = IndexOfName(AName);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(std::u16string_view AName, const String& AValue) {
    const Integer index = IndexOfName(AName);
    if (AValue.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    String line(AName);
    line.push_back(FNameValueSeparator);
    line += AValue;
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

String TStrings::Text() const {
    String out;
    const Integer count = Count();
    for (Integer i = 0; i < count; ++i) {
        out += Get(i);
        out += u"\r\n";
    }
    return out;
}

void TStrings::SetText(std::u16string_view AValue) {
    WithUpdate(*this, [&] {
        Clear();
        size_t i = 0;
        while (i < AValue.size()) {
            const size_t start = i;
            while (i < AValue.size() && AValue[i] != u'\r' && AValue[i] != u'\n')
                ++i;
            Add(String(AValue.substr(start, i - start)));
            if (i < AValue.size() && AValue[i] == u'\r') ++i;
            if (i < AValue.size() && AValue[i] == u'\n') ++i;
        }
    });
}

String TStrings::DelimitedWith(char16_t ADelimiter, char16_t AQuote) const {
    const Integer count = Count();
    // A lone empty line would otherwise read back as no line at all.
    if (count == 1 && Get(0).empty()) return String(2, AQuote);
    String out;
    for (Integer i = 0; i < count; ++i) {
        const String s = Get(i);
        const bool quote = std::any_of(
            s.begin(), s.end(), [&](char16_t c) { return IsBlank(c) || c == AQuote || c == ADelimiter; });
        if (quote) {
            out.push_back(AQuote);
            for (char16_t c : s) {
                if (c == AQuote) out.push_back(AQuote);
                out.push_back(c);
            }
            out.push_back(AQuote);
        } else {
            out += s;
        }
        if (i + 1 < count) out.push_back(ADelimiter);
    }
    return out;
}

void TStrings::SetDelimitedWith(std::u16string_view AValue, char16_t ADelimiter, char16_t AQuote) {
    WithUpdate(*this, [&] {
        Clear();
        const size_t n = AValue.size();
        size_t i = 0;
        auto skipBlanks = [&] {
            while (i < n && IsBlank(AValue[i]))
                ++i;
        };
        skipBlanks();
        while (i < n) {
            String item;
            if (AValue[i] == AQuote) {
                // An unclosed quote takes the rest of the text.
                for (++i; i < n; ++i) {
                    if (AValue[i] == AQuote) {
                        if (i + 1 < n && AValue[i + 1] == AQuote) {
                            item.push_back(AQuote);
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    item.push_back(AValue[i]);
                }
            } else {
                const size_t start = i;
                while (i < n && !IsBlank(AValue[i]) && AValue[i] != ADelimiter)
                    ++i;
                item.assign(AValue.substr(start, i - start));
            }
            Add(item);
            skipBlanks();
            if (i < n && AValue[i] == ADelimiter) {
                // A delimiter at the very end still closes an (empty) item.
                if (i + 1 == n) Add(String());
                ++i;
                skipBlanks();
            }
        }
    });
}

String TStrings::DelimitedText() const {
    return DelimitedWith(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(std::u16string_view AValue) {
    SetDelimitedWith(AValue, FDelimiter, FQuoteChar);
}

String TStrings::CommaText() const {
    return DelimitedWith(u',', u'"');
}

void TStrings::SetCommaText(std::u16string_view AValue) {
    SetDelimitedWith(AValue, u',', u'"');
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

Integer TStrings::CompareStrings(std::u16string_view S1, std::u16string_view S2) const {
    return AnsiCompareText(S1, S2);
}

void TStrings::LoadFromStream(TStream* AStream) {
    // Read to the end rather than trusting Size: pipes have none.
    std::string bytes;
    char buffer[0x10000];
    for (Int64 n; (n = AStream->Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<size_t>(n));
    SetText(DecodeText(bytes));
}

void TStrings::LoadFromFile(const String& AFileName) {
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TStrings::SaveToStream(TStream* AStream) const {
    const AnsiString bytes = StringToUTF8(Text());
    AStream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TStrings::SaveToFile(const String& AFileName) const {
    TFileStream file(AFileName, fmCreate);
    SaveToStream(&file);
}

// TStringList

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (auto& item : FItems)
            Free(item.FObject);
}

void TStringList::CheckUnsorted() const {
    if (FSorted) throw EStringListError(u"Operation not allowed on sorted list");
}

String TStringList::Get(Integer AIndex) const {
    CheckIndex(AIndex);
    return FItems[static_cast<size_t>(AIndex)].FString;
}

void TStringList::Put(Integer AIndex, const String& S) {
    CheckUnsorted();
    CheckIndex(AIndex);
    Changing();
    FItems[static_cast<size_t>(AIndex)].FString = S;
    Changed();
}

TObject* TStringList::GetObject(Integer AIndex) const {
    CheckIndex(AIndex);
    return FItems[static_cast<size_t>(AIndex)].FObject;
}

void TStringList::PutObject(Integer AIndex, TObject* AObject) {
    CheckIndex(AIndex);
    Changing();
    FItems[static_cast<size_t>(AIndex)].FObject = AObject;
    Changed();
}

Integer TStringList::AddObject(const String& S, TObject* AObject) {
    Integer index = Count();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) throw EStringListError(u"String list does not allow duplicates");
        // Equal lines keep the order in which they came.
        index = SearchBound(S, true);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(Integer AIndex, const String& S) {
    InsertObject(AIndex, S, nullptr);
}

void TStringList::InsertObject(Integer AIndex, const String& S, TObject* AObject) {
    CheckUnsorted();
    if (AIndex < 0 || AIndex > Count()) throw EStringListError(SListIndexError, {AIndex});
    InsertItem(AIndex, S, AObject);
}

void TStringList::InsertItem(Integer AIndex, const String& S, TObject* AObject) {
    Changing();
    FItems.insert(FItems.begin() + AIndex, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(Integer AIndex) {
    CheckIndex(AIndex);
    Changing();
    TObject* object = FItems[static_cast<size_t>(AIndex)].FObject;
    FItems.erase(FItems.begin() + AIndex);
    if (FOwnsObjects) Free(object);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    std::vector<TStringItem> items;
    items.swap(FItems);
    if (FOwnsObjects)
        for (auto& item : items)
            Free(item.FObject);
    Changed();
}

void TStringList::Exchange(Integer AIndex1, Integer AIndex2) {
    CheckUnsorted();
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    Changing();
    std::swap(FItems[static_cast<size_t>(AIndex1)], FItems[static_cast<size_t>(AIndex2)]);
    Changed();
}

void TStringList::Move(Integer ACurIndex, Integer ANewIndex) {
    if (ACurIndex == ANewIndex) return;
    CheckUnsorted();
    CheckIndex(ACurIndex);
    CheckIndex(ANewIndex);
    Changing();
    // Moved in place: going through Delete would free an owned object.
    const auto from = FItems.begin() + ACurIndex;
    const auto to = FItems.begin() + ANewIndex;
    if (ACurIndex < ANewIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    Changed();
}

Integer TStringList::IndexOf(std::u16string_view S) const {
    if (!FSorted) return TStrings::IndexOf(S);
    Integer index;
    return Find(S, index) ? index : -1;
}

Integer TStringList::SearchBound(std::u16string_view S, bool AAfterEqual) const {
    Integer lo = 0, hi = Count();
    while (lo < hi) {
        const Integer mid = lo + (hi - lo) / 2;
        const Integer c = CompareStrings(FItems[static_cast<size_t>(mid)].FString, S);
        if (c < 0 || (AAfterEqual && c == 0))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool TStringList::Find(std::u16string_view S, Integer& AIndex) const {
    if (!FSorted) {
        AIndex = TStrings::IndexOf(S);
        if (AIndex >= 0) return true;
        AIndex = Count();
        return false;
    }
    AIndex = SearchBound(S, false);
    return AIndex < Count() && CompareStrings(FItems[static_cast<size_t>(AIndex)].FString, S) == 0;
}

void TStringList::SortItems() {
    SafeStableSort(FItems, [this](const TStringItem& A, const TStringItem& B) {
        return CompareStrings(A.FString, B.FString) < 0;
    });
}

void TStringList::Sort() {
    if (FSorted || Count() < 2) return;
    Changing();
    SortItems();
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& ACompare) {
    if (FSorted || Count() < 2) return;
    Changing();
    // Sorting indexes leaves the list as it stands while ACompare reads it.
    const size_t count = FItems.size();
    std::vector<Integer> order(count);
    std::iota(order.begin(), order.end(), 0);
    SafeStableSort(order, [&](Integer A, Integer B) { return ACompare(this, A, B) < 0; });
    if (FItems.size() == count) {
        std::vector<TStringItem> sorted;
        sorted.reserve(count);
        for (Integer index : order)
            sorted.push_back(std::move(FItems[static_cast<size_t>(index)]));
        FItems.swap(sorted);
    }
    Changed();
}

void TStringList::SetSorted(bool AValue) {
    if (FSorted == AValue) return;
    if (AValue) Sort();
    FSorted = AValue;
}

void TStringList::SetCaseSensitive(bool AValue) {
    if (FCaseSensitive == AValue) return;
    FCaseSensitive = AValue;
    // Binary search needs the order of the new rule.
    if (FSorted && Count() > 1) {
        Changing();
        SortItems();
        Changed();
    }
}

void TStringList::Changing() {
    if (UpdateCount() > 0) {
        if (FChangedInUpdate) return;
        FChangedInUpdate = true;
    }
    if (OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool AUpdating) {
    if (AUpdating || !FChangedInUpdate) return;
    FChangedInUpdate = false;
    if (OnChange) OnChange(this);
}

Integer TStringList::CompareStrings(std::u16string_view S1, std::u16string_view S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}
