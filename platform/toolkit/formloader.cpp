#include "platform/toolkit/formloader.h"

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/base/streams.h"
#include "platform/toolkit/forms.h"

namespace {

String& TheResourceFolder() {
    static auto* folder = new String(IncludeTrailingPathDelimiter(ProgramFolder() + u"resources"));
    return *folder;
}

struct TFixup {
    String Reference;
    std::function<String(TComponent*)> Set;
    String File;
    Integer Line = 0;
    // The component whose property waits.
    TComponent* Root = nullptr;
};

// References into forms that have not been read yet, waiting for them. A
// form that goes takes its waiting references with it: the list hears of
// its end, so nothing ever sets a property through a dead pointer.
class TWaitingFixups : public TComponent {
public:
    TWaitingFixups() : TComponent(nullptr) {}

    void Add(TFixup AFixup) {
        FreeNotification(AFixup.Root);
        FFixups.push_back(std::move(AFixup));
    }

    // Takes out the references into the form named AForm.
    std::vector<TFixup> TakeFor(std::u16string_view AForm) {
        std::vector<TFixup> ready;
        std::erase_if(FFixups, [&](TFixup& AFixup) {
            const size_t dot = AFixup.Reference.find(u'.');
            if (!SameText(std::u16string_view(AFixup.Reference).substr(0, dot), AForm)) return false;
            ready.push_back(std::move(AFixup));
            return true;
        });
        for (const TFixup& fixup : ready)
            if (!Waits(fixup.Root)) RemoveFreeNotification(fixup.Root);
        return ready;
    }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override {
        TComponent::Notification(AComponent, AOperation);
        if (AOperation == opRemove)
            std::erase_if(FFixups, [&](const TFixup& AFixup) { return AFixup.Root == AComponent; });
    }

private:
    bool Waits(const TComponent* ARoot) const {
        return std::any_of(FFixups.begin(), FFixups.end(),
                           [&](const TFixup& AFixup) { return AFixup.Root == ARoot; });
    }

    std::vector<TFixup> FFixups;
};

TWaitingFixups& WaitingFixups() {
    static auto* fixups = new TWaitingFixups;
    return *fixups;
}

[[noreturn]] void FailAt(const String& AFile, Integer ALine, const String& AWhat) {
    throw EFormDescriptionError(AFile + u":" + IntToStr(ALine) + u": " + AWhat);
}

// A form that exists and has been read, by name.
TComponent* FindReadForm(std::u16string_view AName) {
    if (!Screen) return nullptr;
    for (Integer i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (SameText(form->Name(), AName) && !form->ComponentState().Contains(csLoading)) return form;
    }
    return nullptr;
}

void Resolve(TComponent* AForm, const TFixup& AFixup, std::u16string_view AComponent) {
    TComponent* component = AForm->FindComponent(AComponent);
    if (!component) FailAt(AFixup.File, AFixup.Line, u"Unknown component " + AFixup.Reference);
    const String error = AFixup.Set(component);
    if (!error.empty()) FailAt(AFixup.File, AFixup.Line, error);
}

// The references that waited for AForm, now that it has been read.
void ResolveWaiting(TComponent* AForm) {
    for (const TFixup& fixup : WaitingFixups().TakeFor(AForm->Name()))
        Resolve(AForm, fixup, std::u16string_view(fixup.Reference).substr(fixup.Reference.find(u'.') + 1));
}

class TReader : public TLoadContext {
public:
    TReader(TComponent* ARoot, const String& AFile)
        : FRoot(ARoot), FFormInfo(FindFormClass(typeid(*ARoot))), FFile(AFile) {}

    void Read(const TLoadObject& ANode) {
        FLine = ANode.Line;
        if (!SameText(ANode.ClassName, FRoot->ClassName()))
            Error(u"The description is of " + ANode.ClassName + u", the form is a " + FRoot->ClassName());
        try {
            Start(FRoot, ANode);
            ReadContent(FRoot, ANode);
            FixReferences();
            for (TComponent* component : FLoaded)
                component->Loaded();
        } catch (...) {
            for (TComponent* component : FLoaded)
                component->ExcludeState(csLoading);
            throw;
        }
        ResolveWaiting(FRoot);
    }

    [[noreturn]] void Error(const String& AMessage) override { FailAt(FFile, FLine, AMessage); }

    void Reference(const String& AReference, std::function<String(TComponent*)> ASet) override {
        FFixups.push_back(TFixup{AReference, std::move(ASet), FFile, FLine, FRoot});
    }

    const THandlerInfo* Handler(const String& AName) override {
        if (!FFormInfo) return nullptr;
        const auto it = FFormInfo->Handlers.find(LowerCase(AName));
        return it == FFormInfo->Handlers.end() ? nullptr : &it->second;
    }

    TComponent* Root() override { return FRoot; }

    String ResourcePath(const String& APath) override {
        return !APath.empty() && APath[0] == PathDelim ? APath : ResourceFolder() + APath;
    }

    void Apply(TPersistent* AObject, const std::vector<TLoadAssignment>& AAssignments) override {
        for (const TLoadAssignment& assignment : AAssignments)
            Assign(AObject, assignment);
    }

private:
    void Start(TComponent* AComponent, const TLoadObject& ANode) {
        AComponent->IncludeState(csLoading);
        FLoaded.push_back(AComponent);
        FLine = ANode.Line;
        try {
            if (!ANode.Name.empty()) AComponent->SetName(ANode.Name);
        } catch (const Exception& e) {
            Error(e.Message());
        }
    }

    void ReadContent(TComponent* AComponent, const TLoadObject& ANode) {
        Apply(AComponent, ANode.Properties);
        for (const TLoadObject& child : ANode.Children)
            ReadChild(AComponent, child);
    }

    void ReadChild(TComponent* AParent, const TLoadObject& ANode) {
        FLine = ANode.Line;
        const TClassInfo* info = FindClassInfo(ANode.ClassName);
        if (!info) Error(u"Unknown class " + ANode.ClassName);
        if (!info->Create) Error(u"A description cannot create a " + ANode.ClassName);
        TComponent* component = info->Create(FRoot);
        Start(component, ANode);
        try {
            if (const auto* setParent = info->ParentSetter()) (*setParent)(component, AParent);
        } catch (const Exception& e) {
            Error(e.Message());
        }
        if (FFormInfo) {
            const auto field = FFormInfo->Fields.find(LowerCase(ANode.Name));
            if (field != FFormInfo->Fields.end()) {
                const String error = field->second(FRoot, component);
                if (!error.empty()) Error(error);
            }
        }
        ReadContent(component, ANode);
    }

    void Assign(TObject* AObject, const TLoadAssignment& AAssignment) {
        FLine = AAssignment.Line;
        std::u16string_view rest(AAssignment.Name);
        TObject* target = AObject;
        for (;;) {
            const size_t dot = rest.find(u'.');
            const std::u16string_view name = rest.substr(0, dot);
            const TClassInfo* info = ClassInfoOf(target);
            const TPropertyInfo* property = info ? info->FindProperty(name) : nullptr;
            if (!property) Error(u"Unknown property " + String(name) + u" of " + target->ClassName());
            if (dot == std::u16string_view::npos) {
                if (!property->Apply) Error(u"Property " + String(name) + u" takes sub-properties only");
                try {
                    property->Apply(target, AAssignment.Value, *this);
                } catch (const EFormDescriptionError&) {
                    throw;
                } catch (const Exception& e) {
                    Error(e.Message());
                }
                return;
            }
            if (!property->SubObject) Error(u"Property " + String(name) + u" has no sub-properties");
            target = property->SubObject(target);
            if (!target) Error(u"Property " + String(name) + u" is empty");
            rest.remove_prefix(dot + 1);
        }
    }

    void FixReferences() {
        for (TFixup& fixup : FFixups) {
            const size_t dot = fixup.Reference.find(u'.');
            const std::u16string_view first = std::u16string_view(fixup.Reference).substr(0, dot);
            if (dot == String::npos) {
                TComponent* component = FRoot->FindComponent(first);
                if (!component && SameText(first, FRoot->Name())) component = FRoot;
                if (!component) component = FindReadForm(first);
                if (!component) FailAt(fixup.File, fixup.Line, u"Unknown component " + fixup.Reference);
                const String error = fixup.Set(component);
                if (!error.empty()) FailAt(fixup.File, fixup.Line, error);
            } else if (SameText(first, FRoot->Name())) {
                Resolve(FRoot, fixup, std::u16string_view(fixup.Reference).substr(dot + 1));
            } else if (TComponent* form = FindReadForm(first)) {
                Resolve(form, fixup, std::u16string_view(fixup.Reference).substr(dot + 1));
            } else {
                WaitingFixups().Add(std::move(fixup));
            }
        }
    }

    TComponent* FRoot;
    const TFormClassInfo* FFormInfo;
    String FFile;
    Integer FLine = 0;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
};

}  // namespace

String ResourceFolder() {
    return TheResourceFolder();
}

void SetResourceFolder(const String& AFolder) {
    TheResourceFolder() = IncludeTrailingPathDelimiter(AFolder);
}

void ReadDescriptionFile(TComponent* ARoot, const String& AFileName) {
    String text;
    try {
        TFileStream stream(AFileName, fmOpenRead);
        std::string bytes(size_t(stream.Size()), '\0');
        stream.ReadBuffer(bytes.data(), Int64(bytes.size()));
        text = DecodeText(bytes);
    } catch (const Exception& e) {
        throw EFormDescriptionError(u"Cannot read the form description " + AFileName + u": " + e.Message());
    }
    const TLoadObject tree = ParseFormDescription(text, AFileName);
    TReader reader(ARoot, AFileName);
    reader.Read(tree);
}

bool ReadFormDescription(TCustomForm* AForm) {
    const TFormClassInfo* info = FindFormClass(typeid(*AForm));
    if (!info) return false;
    ReadDescriptionFile(AForm, ResourceFolder() + u"forms/" + info->DescriptionFile);
    return true;
}
