// Published properties and events: what the form loader may set on each
// class, by name, and how a description's text becomes the value.
//
// A class registers itself once, next to its code, with the class it
// inherits the published members of:
//
//   namespace {
//   const auto Registered = RegisterClass<TButton, TButtonControl>()
//       .Property(u"Default", &TButton::Default, &TButton::SetDefault)
//       .Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
//       .Event(u"OnClick", &TButton::OnClick);
//   }
//
// The value's C++ type decides what a description may write:
//   bool                     True / False
//   integers (TColor...)     a number, or a name of RegisterConstants (clBtnFace, crHandPoint)
//   enumerations             a name of RegisterEnum (alTop)
//   TSet<E>                  [akLeft, akTop]
//   String                   'text', 'it''s', #13#10, parts joined with +
//   TComponent pointers      a component's name, Form1.Name for another form's, nil;
//                            set once the whole form is read
// A getter alone (no setter) publishes an object the loader works on:
//   TStrings*                ( 'line 1' 'line 2' ) replaces the lines
//   TCollection*             < item Prop = value ... end ... > replaces the items
//   anything with LoadFromFile (pictures, bitmaps)
//                            'pictures/logo.png', a path under the resources folder
//   other TPersistent*       its own registered properties by dotted name: Font.Name = 'Tahoma'
// Events are std::function members, or setters taking one, bound to the
// form's handlers by name (RegisterForm::Handler); a handler of another
// signature is an error.
// Anything else takes Custom, a function of the value and the loader.
//
// While a description is read every component has csLoading: setters must
// not raise events then, and work that needs the whole form waits for Loaded.
//
// Registrations are static objects: an executable that reads descriptions
// naming classes its code never mentions links the libraries whole
// ($<LINK_LIBRARY:WHOLE_ARCHIVE,...>), or the object files are left out.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/collections.h"
#include "platform/base/stringlist.h"
#include "platform/toolkit/methods.h"

// A value as a description writes it.
struct TLoadItem;
struct TLoadValue {
    enum TKind { lvInteger, lvString, lvIdent, lvSet, lvList, lvCollection };
    TKind Kind = lvInteger;
    Int64 Number = 0;
    // The string, or the identifier.
    String Text;
    // The members of a set, the lines of a list.
    std::vector<String> Items;
    std::vector<TLoadItem> Collection;
    Integer Line = 0;
};

// "Name = value"; the name may be dotted (Font.Name).
struct TLoadAssignment {
    String Name;
    TLoadValue Value;
    Integer Line = 0;
};

// One item of a collection.
struct TLoadItem {
    std::vector<TLoadAssignment> Properties;
    Integer Line = 0;
};

// A form's handler, as the form registered it.
struct THandlerInfo {
    std::type_index Signature = typeid(void);
    // Stores the handler, bound to ARoot, into an event member of its signature.
    std::function<void(TObject* ARoot, void* AEvent)> Bind;
};

// What the loader offers the property adapters.
class TLoadContext {
public:
    virtual ~TLoadContext() = default;
    // Raises the loader's error, with the file and the line of the value.
    [[noreturn]] virtual void Error(const String& AMessage) = 0;
    // ASet runs with the component named AReference once the form is read;
    // it answers an error text, or "" when it took the component.
    virtual void Reference(const String& AReference, std::function<String(TComponent*)> ASet) = 0;
    // The handler the form registered under AName, nil for none.
    virtual const THandlerInfo* Handler(const String& AName) = 0;
    virtual TComponent* Root() = 0;
    // The full path of a file named relative to the resources folder.
    virtual String ResourcePath(const String& APath) = 0;
    // Applies assignments to an object (collection items).
    virtual void Apply(TPersistent* AObject, const std::vector<TLoadAssignment>& AAssignments) = 0;
};

using TPropertyApply =
    std::function<void(TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext)>;

struct TPropertyInfo {
    String Name;
    // Sets the value; nil for an object that only has sub-properties.
    TPropertyApply Apply;
    // The object behind a dotted name; nil for plain values.
    std::function<TPersistent*(TObject* AObject)> SubObject;
};

class TClassInfo {
public:
    String Name;
    std::type_index Type = typeid(void);
    std::type_index ParentType = typeid(void);
    // Whether an object is of this class (or one derived from it).
    std::function<bool(const TObject*)> IsInstance;
    // Nil for classes a description cannot create.
    std::function<TComponent*(TComponent* AOwner)> Create;
    // Puts a component read inside another under it (a control into its
    // parent, a menu item into its menu); nil: the parent class's way.
    std::function<void(TComponent* AChild, TComponent* AParent)> SetParentComponent;
    std::map<String, TPropertyInfo> Properties;

    const TClassInfo* Parent() const;
    // The property by name (without regard to case), here or in a parent; nil for none.
    const TPropertyInfo* FindProperty(std::u16string_view AName) const;
    const std::function<void(TComponent*, TComponent*)>* ParentSetter() const;
};

// By the name a description writes, without regard to case; nil for none.
const TClassInfo* FindClassInfo(std::u16string_view AName);
// The registered class nearest to the object's own; nil for none.
const TClassInfo* ClassInfoOf(const TObject* AObject);

// Names of an enumeration's values, in order of their ordinals.
void RegisterEnumNames(std::type_index AType, std::vector<String> ANames);
template <typename E>
void RegisterEnum(std::vector<String> ANames) {
    RegisterEnumNames(typeid(E), std::move(ANames));
}
// The ordinal of AName among E's names, -1 when absent.
Integer EnumValue(std::type_index AType, std::u16string_view AName);
// Names that integer properties accept for numbers (colours, cursors, charsets).
void RegisterConstants(std::initializer_list<std::pair<const char16_t*, Int64>> AConstants);
bool FindConstant(std::u16string_view AName, Int64& AValue);

namespace published {

template <typename>
struct TMemberTraits;
template <typename C, typename R, typename... A>
struct TMemberTraits<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<A...>;
    static constexpr size_t Arity = sizeof...(A);
};
template <typename C, typename R, typename... A>
struct TMemberTraits<R (C::*)(A...) const> : TMemberTraits<R (C::*)(A...)> {};

template <typename T>
struct TIsSet : std::false_type {};
template <typename E>
struct TIsSet<TSet<E>> : std::true_type {
    using Item = E;
};

template <typename T>
concept Loadable = requires(T* AObject, const String& AFile) {
    AObject->LoadFromFile(AFile);
};

template <typename C>
C* Cast(TObject* AObject, TLoadContext& AContext) {
    C* result = dynamic_cast<C*>(AObject);
    if (!result) AContext.Error(u"Property does not belong to " + AObject->ClassName());
    return result;
}

void Expect(const TLoadValue& AValue, TLoadValue::TKind AKind, const char16_t* AWhat, TLoadContext& AContext);
bool ToBool(const TLoadValue& AValue, TLoadContext& AContext);
Int64 ToInteger(const TLoadValue& AValue, TLoadContext& AContext);
Integer ToEnum(const TLoadValue& AValue, std::type_index AType, TLoadContext& AContext);
uint64_t ToSetBits(const TLoadValue& AValue, std::type_index AType, TLoadContext& AContext);
void LoadStrings(TStrings* AStrings, const TLoadValue& AValue, TLoadContext& AContext);
void LoadCollection(TCollection* ACollection, const TLoadValue& AValue, TLoadContext& AContext);
void LoadFile(const std::function<void(const String&)>& ALoad, const TLoadValue& AValue,
              TLoadContext& AContext);

// A scalar of type V from the description's value.
template <typename V>
V Convert(const TLoadValue& AValue, TLoadContext& AContext) {
    if constexpr (std::is_same_v<V, bool>) {
        return ToBool(AValue, AContext);
    } else if constexpr (std::is_enum_v<V>) {
        return static_cast<V>(ToEnum(AValue, typeid(V), AContext));
    } else if constexpr (std::is_integral_v<V>) {
        return static_cast<V>(ToInteger(AValue, AContext));
    } else if constexpr (std::is_same_v<V, String>) {
        Expect(AValue, TLoadValue::lvString, u"a string", AContext);
        return AValue.Text;
    } else if constexpr (TIsSet<V>::value) {
        return V::FromBits(ToSetBits(AValue, typeid(typename TIsSet<V>::Item), AContext));
    } else {
        static_assert(sizeof(V) == 0, "no conversion for this property type: use Custom");
    }
}

template <typename S>
TPropertyApply MakeSetter(S ASetter) {
    using Traits = TMemberTraits<S>;
    using C = typename Traits::Class;
    using V = std::remove_cvref_t<std::tuple_element_t<0, typename Traits::Args>>;
    if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TComponent, std::remove_pointer_t<V>>) {
        using P = std::remove_pointer_t<V>;
        return [ASetter](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            C* object = Cast<C>(AObject, AContext);
            Expect(AValue, TLoadValue::lvIdent, u"a component name", AContext);
            if (SameText(AValue.Text, u"nil")) return (object->*ASetter)(nullptr);
            AContext.Reference(AValue.Text, [object, ASetter](TComponent* AComponent) -> String {
                // The loader never passes nil; saying so keeps GCC from
                // warning about the name of a nil component below.
                if (!AComponent) return u"No component";
                P* typed = dynamic_cast<P*>(AComponent);
                if (!typed)
                    return AComponent->Name() + u" is a " + AComponent->ClassName() + u", not a " +
                           ClassNameOf(typeid(P));
                (object->*ASetter)(typed);
                return {};
            });
        };
    } else {
        return [ASetter](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            C* object = Cast<C>(AObject, AContext);
            (object->*ASetter)(Convert<V>(AValue, AContext));
        };
    }
}

// A getter of an object: what the loader does with a value written to it.
template <typename G>
void DescribeObject(TPropertyInfo& AInfo, G AGetter) {
    using Traits = TMemberTraits<G>;
    using C = typename Traits::Class;
    using P = std::remove_pointer_t<typename Traits::Result>;
    static_assert(std::is_pointer_v<typename Traits::Result> && std::is_base_of_v<TPersistent, P>,
                  "a property with a getter alone publishes an object");
    AInfo.SubObject = [AGetter](TObject* AObject) -> TPersistent* {
        C* object = dynamic_cast<C*>(AObject);
        return object ? (object->*AGetter)() : nullptr;
    };
    if constexpr (std::is_base_of_v<TStrings, P>) {
        AInfo.Apply = [AGetter](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            LoadStrings((Cast<C>(AObject, AContext)->*AGetter)(), AValue, AContext);
        };
    } else if constexpr (std::is_base_of_v<TCollection, P>) {
        AInfo.Apply = [AGetter](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            LoadCollection((Cast<C>(AObject, AContext)->*AGetter)(), AValue, AContext);
        };
    } else if constexpr (Loadable<P>) {
        AInfo.Apply = [AGetter](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            P* target = (Cast<C>(AObject, AContext)->*AGetter)();
            LoadFile([target](const String& AFile) { target->LoadFromFile(AFile); }, AValue, AContext);
        };
    }
}

}  // namespace published

// Registers T under AName (its class name when empty), inheriting the
// published members of TBase (void: none). T is created by descriptions
// when it is a component constructible from its owner.
class TClassRegistration {
public:
    TClassRegistration(TClassInfo* AInfo) : FInfo(AInfo) {}

    // A value property: getter and setter, or a setter alone.
    template <typename G, typename S>
    TClassRegistration& Property(const char16_t* AName, G AGetter, S ASetter) {
        static_assert(published::TMemberTraits<G>::Arity == 0 && published::TMemberTraits<S>::Arity == 1);
        TPropertyInfo info{AName, published::MakeSetter(ASetter), nullptr};
        using R = typename published::TMemberTraits<G>::Result;
        if constexpr (std::is_pointer_v<R> && std::is_base_of_v<TPersistent, std::remove_pointer_t<R>> &&
                      !std::is_base_of_v<TComponent, std::remove_pointer_t<R>>)
            published::DescribeObject(info, AGetter);
        return Add(std::move(info));
    }
    // A getter alone publishes an object; a setter alone a value.
    template <typename M>
    TClassRegistration& Property(const char16_t* AName, M AMember) {
        TPropertyInfo info{AName, nullptr, nullptr};
        if constexpr (published::TMemberTraits<M>::Arity == 0)
            published::DescribeObject(info, AMember);
        else
            info.Apply = published::MakeSetter(AMember);
        return Add(std::move(info));
    }
    // An event: a std::function member bound to a form handler by name.
    template <typename C, typename Sig>
    TClassRegistration& Event(const char16_t* AName, std::function<Sig> C::*AMember) {
        return BindEvent<C, Sig>(AName, [AMember](C* AObject, std::function<Sig> AHandler) {
            AObject->*AMember = std::move(AHandler);
        });
    }
    // An event a component keeps behind its setter (one that guards its
    // handlers against the threads that raise them).
    template <typename C, typename Sig>
    TClassRegistration& Event(const char16_t* AName, void (C::*ASetter)(std::function<Sig>)) {
        return BindEvent<C, Sig>(AName, [ASetter](C* AObject, std::function<Sig> AHandler) {
            (AObject->*ASetter)(std::move(AHandler));
        });
    }
    TClassRegistration& Custom(const char16_t* AName, TPropertyApply AApply) {
        return Add(TPropertyInfo{AName, std::move(AApply), nullptr});
    }
    TClassRegistration& ParentComponent(std::function<void(TComponent* AChild, TComponent* AParent)> ASet) {
        FInfo->SetParentComponent = std::move(ASet);
        return *this;
    }

private:
    // Looks the handler up by name (nil detaches) and hands it to AStore.
    template <typename C, typename Sig>
    TClassRegistration& BindEvent(const char16_t* AName,
                                  std::function<void(C* AObject, std::function<Sig> AHandler)> AStore) {
        TPropertyInfo info{AName, nullptr, nullptr};
        const String name = AName;
        info.Apply = [AStore, name](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            C* object = published::Cast<C>(AObject, AContext);
            published::Expect(AValue, TLoadValue::lvIdent, u"a handler name", AContext);
            std::function<Sig> bound;
            if (!SameText(AValue.Text, u"nil")) {
                const THandlerInfo* handler = AContext.Handler(AValue.Text);
                if (!handler) AContext.Error(u"Unknown handler " + AValue.Text);
                if (handler->Signature != std::type_index(typeid(std::function<Sig>)))
                    AContext.Error(u"Handler " + AValue.Text + u" does not fit " + name);
                handler->Bind(AContext.Root(), &bound);
            }
            AStore(object, std::move(bound));
        };
        return Add(std::move(info));
    }
    TClassRegistration& Add(TPropertyInfo AInfo);
    TClassInfo* FInfo;
};

TClassRegistration RegisterClassInfo(const String& AName, std::type_index AType, std::type_index AParentType,
                                     std::function<bool(const TObject*)> AIsInstance,
                                     std::function<TComponent*(TComponent*)> ACreate);

template <typename T, typename TBase = void>
TClassRegistration RegisterClass(const String& AName = {}) {
    std::function<TComponent*(TComponent*)> create;
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> &&
                  !std::is_abstract_v<T>)
        create = [](TComponent* AOwner) -> TComponent* { return new T(AOwner); };
    return RegisterClassInfo(
        AName.empty() ? ClassNameOf(typeid(T)) : AName, typeid(T), typeid(TBase),
        [](const TObject* AObject) { return dynamic_cast<const T*>(AObject) != nullptr; }, std::move(create));
}

// A form class: its description file (under the resources' "forms" folder),
// the handlers its description binds events to and the fields that receive
// its components.
struct TFormClassInfo {
    String DescriptionFile;
    std::map<String, THandlerInfo> Handlers;
    std::map<String, std::function<String(TObject* ARoot, TComponent* AComponent)>> Fields;
};

const TFormClassInfo* FindFormClass(std::type_index AType);
TFormClassInfo* RegisterFormClassInfo(std::type_index AType, const String& ADescriptionFile);

template <typename TFormClass>
class RegisterForm {
public:
    explicit RegisterForm(const String& ADescriptionFile)
        : FInfo(RegisterFormClassInfo(typeid(TFormClass), ADescriptionFile)) {}

    template <typename C, typename R, typename... A>
    RegisterForm& Handler(const String& AName, R (C::*AMethod)(A...)) {
        static_assert(std::is_base_of_v<C, TFormClass>);
        THandlerInfo info;
        info.Signature = typeid(std::function<R(A...)>);
        info.Bind = [AMethod](TObject* ARoot, void* AEvent) {
            *static_cast<std::function<R(A...)>*>(AEvent) =
                TMethod<R(A...)>(dynamic_cast<C*>(ARoot), AMethod);
        };
        FInfo->Handlers[LowerCase(AName)] = std::move(info);
        return *this;
    }
    template <typename F>
    RegisterForm& Field(const String& AName, F* TFormClass::*AField) {
        FInfo->Fields[LowerCase(AName)] = [AField](TObject* ARoot, TComponent* AComponent) -> String {
            F* typed = dynamic_cast<F*>(AComponent);
            if (!typed)
                return AComponent->Name() + u" is a " + AComponent->ClassName() + u", not a " +
                       ClassNameOf(typeid(F));
            static_cast<TFormClass*>(ARoot)->*AField = typed;
            return {};
        };
        return *this;
    }

private:
    TFormClassInfo* FInfo;
};
