// The root classes of the component framework: objects, persistent objects
// and components with owners and free notifications.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/set.h"
#include "platform/base/sysutils.h"
#include "platform/base/types.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    String ClassName() const { return ClassNameOf(typeid(*this)); }
    // Runs while the whole object is still alive, before the destructors.
    virtual void BeforeDestruction() {}
};

// Destroys an object the way the toolkit's Free does: BeforeDestruction with
// full virtual dispatch, then delete. Nil is allowed.
void Free(TObject* AObject);

template <typename T>
void FreeAndNil(T*& AObject) {
    T* object = AObject;
    AObject = nullptr;
    Free(object);
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies ASource into this object; "Cannot assign a %s to a %s" when
    // neither side knows how.
    virtual void Assign(TPersistent* ASource);

protected:
    virtual void AssignTo(TPersistent* ADest);
    [[noreturn]] void AssignError(TPersistent* ASource);
};

VELQUA_DECLARE_EXCEPTION(EComponentError, Exception);

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    // Tells those registered for free notification, then frees the owned
    // components (the most recently inserted first) and leaves the owner.
    ~TComponent() override;
    // Through Free: csDestroying is set before any destructor runs.
    void BeforeDestruction() override;

    TComponent* Owner() const { return FOwner; }
    Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
    TComponent* Components(Integer AIndex) const;
    // Position in the owner's list, -1 without an owner.
    Integer ComponentIndex() const;
    // Case-insensitive lookup among the owned components.
    TComponent* FindComponent(std::u16string_view AName) const;

    const String& Name() const { return FName; }
    // Names are unique among an owner's components (compared without case).
    virtual void SetName(const String& AValue);
    NativeInt Tag() const { return FTag; }
    void SetTag(NativeInt AValue) { FTag = AValue; }

    TComponentState ComponentState() const { return FComponentState; }
    // For the form loader and the framework; not for ordinary code.
    void IncludeState(TComponentStateItem AItem) { FComponentState.Include(AItem); }
    void ExcludeState(TComponentStateItem AItem) { FComponentState.Exclude(AItem); }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the most recently inserted first.
    void DestroyComponents();
    // Marks the component as being destroyed, itself and what it owns.
    void Destroying();

    // AComponent will call Notification(this, opRemove) on us when it goes.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Ends loading: clears csLoading.
    virtual void Loaded();

protected:
    // On opRemove from AComponent's destructor only its TComponent part is
    // still alive: compare the pointer, do not look inside.
    virtual void Notification(TComponent* AComponent, TOperation AOperation);

private:
    // Raises when another component of AOwner is named AName (without case).
    void ValidateName(const TComponent* AOwner, const String& AName) const;
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    NativeInt FTag = 0;
    TComponentState FComponentState;
};
