#include "platform/base/classes.h"

#include <algorithm>

#include "platform/base/listhelpers.h"

void Free(TObject* AObject) {
    if (!AObject) return;
    AObject->BeforeDestruction();
    delete AObject;
}

void TPersistent::Assign(TPersistent* ASource) {
    if (ASource) {
        ASource->AssignTo(this);
    } else {
        AssignError(nullptr);
    }
}

void TPersistent::AssignTo(TPersistent* ADest) {
    ADest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* ASource) {
    const String sourceName = ASource ? ASource->ClassName() : String(u"nil");
    throw EConvertError(u"Cannot assign a %s to a %s", {sourceName, ClassName()});
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
    Destroying();
}

TComponent::~TComponent() {
    // After the descendants' destructors, as in the toolkit: a destructor may
    // still use, or free itself, the components its object owns.
    Destroying();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= ComponentCount()) throw EListError(SListIndexError, {AIndex});
    return FComponents[static_cast<size_t>(AIndex)];
}

Integer TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::u16string_view AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName)) return c;
    return nullptr;
}

void TComponent::ValidateName(const TComponent* AOwner, const String& AName) const {
    if (!AOwner || AName.empty()) return;
    const TComponent* other = AOwner->FindComponent(AName);
    if (other && other != this) throw EComponentError(u"A component named %s already exists", {AName});
}

void TComponent::SetName(const String& AValue) {
    if (AValue == FName) return;
    ValidateName(FOwner, AValue);
    FName = AValue;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    // Checked against the new owner's components, not the old owner's.
    AComponent->ValidateName(this, AComponent->FName);
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    Notification(AComponent, opRemove);
    const auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        Free(last);
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    // Both sides remember each other, so whichever goes first tells the other.
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotification(AComponent);
    if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    const auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
    if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* AComponent, TOperation AOperation) {
    if (AOperation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Owned components hear about everything their owner hears about.
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (i < FComponents.size()) FComponents[i]->Notification(AComponent, AOperation);
    }
}
