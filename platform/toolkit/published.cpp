#include "platform/toolkit/published.h"

#include <unordered_map>

// The framework's own classes, enumerations and constants (registrations.cpp).
void RegisterFrameworkClasses();

namespace {

struct TRegistry {
    std::unordered_map<std::type_index, std::unique_ptr<TClassInfo>> ByType;
    std::map<String, TClassInfo*> ByName;
    std::unordered_map<std::type_index, const TClassInfo*> Nearest;
    std::unordered_map<std::type_index, std::vector<String>> Enums;
    std::map<String, Int64> Constants;
    std::unordered_map<std::type_index, std::unique_ptr<TFormClassInfo>> Forms;
};

TRegistry& Registry() {
    static auto* registry = new TRegistry;
    return *registry;
}

// Lookups see the framework's classes whatever was linked.
TRegistry& Registered() {
    static const bool framework = (RegisterFrameworkClasses(), true);
    (void)framework;
    return Registry();
}

Integer Depth(const TClassInfo* AInfo) {
    Integer depth = 0;
    for (const TClassInfo* i = AInfo->Parent(); i; i = i->Parent())
        ++depth;
    return depth;
}

}  // namespace

const TClassInfo* TClassInfo::Parent() const {
    if (ParentType == typeid(void)) return nullptr;
    const auto it = Registry().ByType.find(ParentType);
    return it == Registry().ByType.end() ? nullptr : it->second.get();
}

const TPropertyInfo* TClassInfo::FindProperty(std::u16string_view AName) const {
    const String key = LowerCase(AName);
    for (const TClassInfo* info = this; info; info = info->Parent()) {
        const auto it = info->Properties.find(key);
        if (it != info->Properties.end()) return &it->second;
    }
    return nullptr;
}

const std::function<void(TComponent*, TComponent*)>* TClassInfo::ParentSetter() const {
    for (const TClassInfo* info = this; info; info = info->Parent())
        if (info->SetParentComponent) return &info->SetParentComponent;
    return nullptr;
}

TClassRegistration& TClassRegistration::Add(TPropertyInfo AInfo) {
    const String key = LowerCase(AInfo.Name);
    FInfo->Properties[key] = std::move(AInfo);
    return *this;
}

TClassRegistration RegisterClassInfo(const String& AName, std::type_index AType, std::type_index AParentType,
                                     std::function<bool(const TObject*)> AIsInstance,
                                     std::function<TComponent*(TComponent*)> ACreate) {
    TRegistry& r = Registry();
    std::unique_ptr<TClassInfo>& slot = r.ByType[AType];
    if (!slot) slot = std::make_unique<TClassInfo>();
    slot->Name = AName;
    slot->Type = AType;
    slot->ParentType = AParentType;
    slot->IsInstance = std::move(AIsInstance);
    slot->Create = std::move(ACreate);
    r.ByName[LowerCase(AName)] = slot.get();
    r.Nearest.clear();
    return TClassRegistration(slot.get());
}

const TClassInfo* FindClassInfo(std::u16string_view AName) {
    const TRegistry& r = Registered();
    const auto it = r.ByName.find(LowerCase(AName));
    return it == r.ByName.end() ? nullptr : it->second;
}

const TClassInfo* ClassInfoOf(const TObject* AObject) {
    if (!AObject) return nullptr;
    TRegistry& r = Registered();
    const std::type_index type = typeid(*AObject);
    const auto cached = r.Nearest.find(type);
    if (cached != r.Nearest.end()) return cached->second;
    const TClassInfo* best = nullptr;
    const auto exact = r.ByType.find(type);
    if (exact != r.ByType.end()) {
        best = exact->second.get();
    } else {
        Integer bestDepth = -1;
        for (const auto& [t, info] : r.ByType)
            if (info->IsInstance && info->IsInstance(AObject) && Depth(info.get()) > bestDepth) {
                best = info.get();
                bestDepth = Depth(info.get());
            }
    }
    r.Nearest[type] = best;
    return best;
}

void RegisterEnumNames(std::type_index AType, std::vector<String> ANames) {
    Registry().Enums[AType] = std::move(ANames);
}

Integer EnumValue(std::type_index AType, std::u16string_view AName) {
    const TRegistry& r = Registered();
    const auto it = r.Enums.find(AType);
    if (it == r.Enums.end()) return -1;
    for (size_t i = 0; i < it->second.size(); ++i)
        if (SameText(it->second[i], AName)) return Integer(i);
    return -1;
}

void RegisterConstants(std::initializer_list<std::pair<const char16_t*, Int64>> AConstants) {
    for (const auto& [name, value] : AConstants)
        Registry().Constants[LowerCase(name)] = value;
}

bool FindConstant(std::u16string_view AName, Int64& AValue) {
    const TRegistry& r = Registered();
    const auto it = r.Constants.find(LowerCase(AName));
    if (it == r.Constants.end()) return false;
    AValue = it->second;
    return true;
}

const TFormClassInfo* FindFormClass(std::type_index AType) {
    const TRegistry& r = Registered();
    const auto it = r.Forms.find(AType);
    return it == r.Forms.end() ? nullptr : it->second.get();
}

TFormClassInfo* RegisterFormClassInfo(std::type_index AType, const String& ADescriptionFile) {
    std::unique_ptr<TFormClassInfo>& slot = Registry().Forms[AType];
    if (!slot) slot = std::make_unique<TFormClassInfo>();
    slot->DescriptionFile = ADescriptionFile;
    return slot.get();
}

namespace published {

void Expect(const TLoadValue& AValue, TLoadValue::TKind AKind, const char16_t* AWhat,
            TLoadContext& AContext) {
    if (AValue.Kind != AKind) AContext.Error(String(u"Expected ") + AWhat);
}

bool ToBool(const TLoadValue& AValue, TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvIdent, u"True or False", AContext);
    const bool isTrue = SameText(AValue.Text, u"True");
    if (!isTrue && !SameText(AValue.Text, u"False"))
        AContext.Error(u"Expected True or False, not " + AValue.Text);
    return isTrue;
}

Int64 ToInteger(const TLoadValue& AValue, TLoadContext& AContext) {
    if (AValue.Kind == TLoadValue::lvInteger) return AValue.Number;
    if (AValue.Kind != TLoadValue::lvIdent) AContext.Error(u"Expected a number");
    Int64 value = 0;
    if (!FindConstant(AValue.Text, value)) AContext.Error(u"Unknown value " + AValue.Text);
    return value;
}

Integer ToEnum(const TLoadValue& AValue, std::type_index AType, TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvIdent, u"a name", AContext);
    const Integer value = EnumValue(AType, AValue.Text);
    if (value < 0) AContext.Error(u"Unknown value " + AValue.Text);
    return value;
}

uint64_t ToSetBits(const TLoadValue& AValue, std::type_index AType, TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvSet, u"a set", AContext);
    uint64_t bits = 0;
    for (const String& name : AValue.Items) {
        const Integer value = EnumValue(AType, name);
        if (value < 0) AContext.Error(u"Unknown value " + name);
        bits |= uint64_t{1} << value;
    }
    return bits;
}

void LoadStrings(TStrings* AStrings, const TLoadValue& AValue, TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvList, u"a list of strings", AContext);
    AStrings->BeginUpdate();
    try {
        AStrings->Clear();
        for (const String& line : AValue.Items)
            AStrings->Add(line);
    } catch (...) {
        AStrings->EndUpdate();
        throw;
    }
    AStrings->EndUpdate();
}

void LoadCollection(TCollection* ACollection, const TLoadValue& AValue, TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvCollection, u"a collection", AContext);
    ACollection->BeginUpdate();
    try {
        ACollection->Clear();
        for (const TLoadItem& item : AValue.Collection)
            AContext.Apply(ACollection->Add(), item.Properties);
    } catch (...) {
        ACollection->EndUpdate();
        throw;
    }
    ACollection->EndUpdate();
}

void LoadFile(const std::function<void(const String&)>& ALoad, const TLoadValue& AValue,
              TLoadContext& AContext) {
    Expect(AValue, TLoadValue::lvString, u"a file name", AContext);
    const String path = AContext.ResourcePath(AValue.Text);
    try {
        ALoad(path);
    } catch (const Exception& e) {
        AContext.Error(e.Message());
    }
}

}  // namespace published
