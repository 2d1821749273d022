#include "skin/dialogs/qxfilectrl.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"

namespace {

constexpr std::u16string_view CutMarker = u".../";

// Everything after the last "/".
String FileNamePart(const String& APath) {
    const size_t slash = APath.rfind(u'/');
    return slash == String::npos ? APath : APath.substr(slash + 1);
}

bool HasWildcard(const String& S) {
    return S.find_first_of(u"*?") != String::npos;
}

}  // namespace

bool IsExistingDirectory(const String& APath) {
    if (APath.empty()) return false;
    struct stat info {};
    return stat(StringToUTF8(APath).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

String JoinPathName(const String& ADir, const String& AName) {
    if (!ADir.empty() && ADir.back() == u'/') return ADir + AName;
    return ADir + u"/" + AName;
}

void DropFirstFolder(String& S) {
    if (S == u"/") {
        S.clear();
        return;
    }
    const bool rooted = !S.empty() && S.front() == u'/';
    if (rooted) S.erase(0, 1);
    // Only the marker of an earlier cut goes: a hidden folder's leading dot stays.
    if (S.starts_with(CutMarker)) S.erase(0, CutMarker.size());
    const size_t slash = S.find(u'/');
    if (slash == String::npos)
        S.clear();
    else
        S = String(CutMarker) + S.substr(slash + 1);
    if (rooted) S.insert(0, u"/");
}

String ShortenPathToWidth(const String& AFileName, TCanvas* ACanvas, Integer AMaxWidth) {
    String result = AFileName;
    const String name = FileNamePart(AFileName);
    String dir = AFileName.substr(0, AFileName.size() - name.size());
    while (!dir.empty() && ACanvas->TextWidth(result) > AMaxWidth) {
        if (dir == u"/.../")
            dir = String(CutMarker);
        else
            DropFirstFolder(dir);
        result = dir + name;
    }
    return result;
}

Integer CountPathSeparators(const String& S) {
    return static_cast<Integer>(std::count(S.begin(), S.end(), u'/'));
}

void SplitEditPath(const String& AEditText, char16_t& ADrive, String& ADirPart, String& AFilePart) {
    const String saved = GetCurrentDir();
    struct TRestore {
        const String& Saved;
        ~TRestore() {
            if (IsExistingDirectory(Saved)) SetCurrentDir(Saved);
        }
    } restore{saved};
    ADrive = 0;
    ADirPart = AEditText;
    if (ADirPart.size() >= 2 && ADirPart.front() == u'[' && ADirPart.back() == u']')
        ADirPart = ADirPart.substr(1, ADirPart.size() - 2);
    AFilePart = FileNamePart(ADirPart);
    if (ADirPart.size() == AFilePart.size() + 1) {
        ADirPart = u"/";
    } else if (ADirPart.size() > AFilePart.size()) {
        ADirPart.resize(ADirPart.size() - AFilePart.size() - 1);
    } else {
        ADirPart = GetCurrentDir();
        if (ADirPart.empty()) ADirPart = u"/";
    }
    if (!ADirPart.empty()) ChDir(ADirPart);
    if (!AFilePart.empty() && !HasWildcard(AFilePart) && !FileExists(AFilePart)) {
        ChDir(AFilePart);
        ADirPart = ADirPart.size() == 1 ? u"/" + AFilePart : ADirPart + u"/" + AFilePart;
        AFilePart.clear();
    }
}

TqxSkinFilterComboBox::TqxSkinFilterComboBox(TComponent* AOwner)
    : TqxSkinComboBox(AOwner), FFilter(u"All files (*.*)|*.*"), FMaskList(std::make_unique<TStringList>()) {}

TqxSkinFilterComboBox::~TqxSkinFilterComboBox() = default;

void TqxSkinFilterComboBox::BuildFilterItems() {
    Items()->Clear();
    FMaskList->Clear();
    String s = FFilter;
    for (size_t bar = s.find(u'|'); bar != String::npos; bar = s.find(u'|')) {
        const String text = s.substr(0, bar);
        s.erase(0, bar + 1);
        String mask;
        if (const size_t next = s.find(u'|'); next != String::npos) {
            mask = s.substr(0, next);
            s.erase(0, next + 1);
        } else {
            mask = s;
            s.clear();
        }
        Items()->Add(text);
        FMaskList->Add(mask);
    }
    SetItemIndex(0);
}

void TqxSkinFilterComboBox::SetFilter(const String& AValue) {
    if (AnsiCompareText(AValue, FFilter) == 0) return;
    FFilter = AValue;
    if (HandleAllocated()) BuildFilterItems();
    Change();
}

String TqxSkinFilterComboBox::Mask() {
    if (ItemIndex() == -1 && Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
    const Integer index = ItemIndex();
    if (index >= 0 && index < FMaskList->Count()) return FMaskList->Strings(index);
    return u"*.*";
}

void TqxSkinFilterComboBox::Click() {
    TqxSkinComboBox::Click();
    Change();
}

void TqxSkinFilterComboBox::CreateWnd() {
    TqxSkinComboBox::CreateWnd();
    BuildFilterItems();
}
