#include "platform/toolkit/actions.h"

#include <algorithm>

#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/methods.h"

TBasicAction::~TBasicAction() {
    // The links outlive the action; they must not point at it.
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::Change() {
    // A copy: a client may drop its link while it is told.
    const std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

TCustomAction::~TCustomAction() {
    if (FActionList) std::erase(FActionList->FActions, this);
}

bool TCustomAction::Execute() {
    Update();
    return FEnabled && TBasicAction::Execute();
}

void TCustomAction::SetCaption(const String& AValue) {
    Set(FCaption, AValue);
}

void TCustomAction::SetChecked(bool AValue) {
    Set(FChecked, AValue);
}

void TCustomAction::SetEnabled(bool AValue) {
    Set(FEnabled, AValue);
}

void TCustomAction::SetHint(const String& AValue) {
    Set(FHint, AValue);
}

void TCustomAction::SetImageIndex(Integer AValue) {
    Set(FImageIndex, AValue);
}

void TCustomAction::SetShortCut(TShortCut AValue) {
    Set(FShortCut, AValue);
}

void TCustomAction::SetVisible(bool AValue) {
    Set(FVisible, AValue);
}

void TCustomAction::SetActionList(TCustomActionList* AValue) {
    if (AValue == FActionList) return;
    if (FActionList) std::erase(FActionList->FActions, this);
    FActionList = AValue;
    if (FActionList) FActionList->FActions.push_back(this);
    Change();
}

TCustomActionList::~TCustomActionList() {
    for (TCustomAction* action : FActions)
        action->FActionList = nullptr;
}

void TCustomActionList::SetImages(TCustomImageList* AValue) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImages) FImages = nullptr;
}

TBasicActionLink::~TBasicActionLink() {
    if (FAction) std::erase(FAction->FClients, this);
}

void TBasicActionLink::SetAction(TBasicAction* AValue) {
    if (AValue == FAction) return;
    if (FAction) std::erase(FAction->FClients, this);
    FAction = AValue;
    if (FAction) FAction->FClients.push_back(this);
}

bool TBasicActionLink::Execute() {
    return FAction && FAction->Execute();
}

bool TBasicActionLink::Update() {
    return FAction && FAction->Update();
}

void ClickThroughAction(const TNotifyEvent& AOnClick, TBasicActionLink* ALink, TObject* ASender) {
    TBasicAction* action = ALink ? ALink->Action() : nullptr;
    if (AOnClick && action && !SameMethod(AOnClick, action->OnExecute))
        AOnClick(ASender);
    else if (action)
        ALink->Execute();
    else if (AOnClick)
        AOnClick(ASender);
}
