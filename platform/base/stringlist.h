// String lists: the abstract TStrings and the TStringList that stores its
// lines, each with an optional object.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/types.h"

class TStream;

// Text read from bytes: a UTF-8 byte-order mark is skipped, UTF-16 with a
// byte-order mark (either byte order) is decoded, anything else is UTF-8.
String DecodeText(std::string_view ABytes);

class TStrings : public TPersistent {
public:
    virtual Integer Count() const = 0;
    virtual String Get(Integer AIndex) const = 0;
    // Replaces a line and keeps its object.
    virtual void Put(Integer AIndex, const String& S);
    // nil unless the list stores objects.
    virtual TObject* GetObject(Integer AIndex) const;
    virtual void PutObject(Integer AIndex, TObject* AObject);
    String Strings(Integer AIndex) const { return Get(AIndex); }
    void SetStrings(Integer AIndex, const String& S) { Put(AIndex, S); }
    TObject* Objects(Integer AIndex) const { return GetObject(AIndex); }
    void SetObjects(Integer AIndex, TObject* AObject) { PutObject(AIndex, AObject); }

    // Both answer the line's index; Add goes through AddObject.
    Integer Add(const String& S) { return AddObject(S, nullptr); }
    virtual Integer AddObject(const String& S, TObject* AObject);
    virtual void Insert(Integer AIndex, const String& S) = 0;
    virtual void InsertObject(Integer AIndex, const String& S, TObject* AObject);
    virtual void Delete(Integer AIndex) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(Integer AIndex1, Integer AIndex2);
    // Both indexes are checked before anything moves.
    virtual void Move(Integer ACurIndex, Integer ANewIndex);
    void AddStrings(TStrings* AStrings);
    // From another TStrings: the same lines and objects.
    void Assign(TPersistent* ASource) override;
    // The same lines, compared exactly.
    bool Equals(TStrings* AStrings) const;

    // -1 when absent. Lines compare as CompareStrings says: without case
    // unless a list says otherwise.
    virtual Integer IndexOf(std::u16string_view S) const;
    virtual Integer IndexOfObject(TObject* AObject) const;

    // Names and values: a line "name=value" (the separator is the first
    // NameValueSeparator); a line without one has an empty name and value.
    Integer IndexOfName(std::u16string_view AName) const;
    String Names(Integer AIndex) const;
    String ValueFromIndex(Integer AIndex) const;
    // The value of the first line named AName, "" when there is none.
    String Values(std::u16string_view AName) const;
    // Replaces the first line named AName, adds one when there is none, and
    // deletes it when AValue is empty.
    void SetValues(std::u16string_view AName, const String& AValue);
    char16_t NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char16_t AValue) { FNameValueSeparator = AValue; }

    // Every line followed by CR LF.
    virtual String Text() const;
    // Splits at CR, LF or CR LF; a last line break adds no empty line.
    virtual void SetText(std::u16string_view AValue);
    // Lines joined by Delimiter, a line quoted with QuoteChar when it holds a
    // blank, a control character, the delimiter or the quote.
    String DelimitedText() const;
    // Items end at the delimiter or at a blank outside quotes; a doubled
    // quote inside quotes stands for one.
    void SetDelimitedText(std::u16string_view AValue);
    // DelimitedText with ',' and '"'.
    String CommaText() const;
    void SetCommaText(std::u16string_view AValue);
    char16_t Delimiter() const { return FDelimiter; }
    void SetDelimiter(char16_t AValue) { FDelimiter = AValue; }
    char16_t QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char16_t AValue) { FQuoteChar = AValue; }

    // Changes between the outermost BeginUpdate and EndUpdate count as one.
    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    // Replaces the lines with the text of the rest of the stream (see DecodeText).
    void LoadFromStream(TStream* AStream);
    void LoadFromFile(const String& AFileName);
    // Text as UTF-8 without a byte-order mark.
    void SaveToStream(TStream* AStream) const;
    void SaveToFile(const String& AFileName) const;

protected:
    // Told when the outermost update begins (true) and ends (false).
    virtual void SetUpdateState(bool AUpdating);
    virtual Integer CompareStrings(std::u16string_view S1, std::u16string_view S2) const;
    void CheckIndex(Integer AIndex) const;

private:
    String DelimitedWith(char16_t ADelimiter, char16_t AQuote) const;
    void SetDelimitedWith(std::u16string_view AValue, char16_t ADelimiter, char16_t AQuote);

    Integer FUpdateCount = 0;
    char16_t FDelimiter = u',';
    char16_t FQuoteChar = u'"';
    char16_t FNameValueSeparator = u'=';
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the lines at two indexes, as the list stands before sorting.
using TStringListSortCompare = std::function<Integer(TStringList* AList, Integer AIndex1, Integer AIndex2)>;

// Index errors raise EStringListError "List index out of bounds (%d)".
class TStringList : public TStrings {
public:
    explicit TStringList(bool AOwnsObjects = false) : FOwnsObjects(AOwnsObjects) {}
    // Frees the objects when it owns them; no events.
    ~TStringList() override;

    Integer Count() const override { return static_cast<Integer>(FItems.size()); }
    String Get(Integer AIndex) const override;
    // Not on a sorted list: EStringListError "Operation not allowed on sorted list".
    void Put(Integer AIndex, const String& S) override;
    TObject* GetObject(Integer AIndex) const override;
    void PutObject(Integer AIndex, TObject* AObject) override;

    // Sorted: at its place, under Duplicates (dupIgnore answers the index
    // of the line already there; dupError raises EStringListError
    // "String list does not allow duplicates").
    Integer AddObject(const String& S, TObject* AObject) override;
    // Not on a sorted list.
    void Insert(Integer AIndex, const String& S) override;
    void InsertObject(Integer AIndex, const String& S, TObject* AObject) override;
    void Delete(Integer AIndex) override;
    void Clear() override;
    // Not on a sorted list.
    void Exchange(Integer AIndex1, Integer AIndex2) override;
    void Move(Integer ACurIndex, Integer ANewIndex) override;
    Integer IndexOf(std::u16string_view S) const override;

    // Binary search of a sorted list (a plain search otherwise): true with
    // the index of the first equal line, or false with where S would go.
    bool Find(std::u16string_view S, Integer& AIndex) const;
    // Both sort stably and do nothing on a sorted list.
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& ACompare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates AValue) { FDuplicates = AValue; }
    bool CaseSensitive() const { return FCaseSensitive; }
    // A sorted list is sorted again under the new rule.
    void SetCaseSensitive(bool AValue);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

    // Outside an update: around every change. Inside one: OnChanging before
    // the first change, OnChange at the outermost EndUpdate, neither when
    // nothing changed.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changing();
    virtual void Changed();
    void SetUpdateState(bool AUpdating) override;
    Integer CompareStrings(std::u16string_view S1, std::u16string_view S2) const override;

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };

    void CheckUnsorted() const;
    void InsertItem(Integer AIndex, const String& S, TObject* AObject);
    void SortItems();
    // The first line not before S (or, with AAfterEqual, after it).
    Integer SearchBound(std::u16string_view S, bool AAfterEqual) const;

    std::vector<TStringItem> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects;
    bool FChangedInUpdate = false;
};
