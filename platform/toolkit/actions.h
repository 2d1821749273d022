// Actions: commands with a caption, state and an execute handler that
// controls and menu items link to; a change of the action reaches every
// linked client through its ActionChange.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/classes.h"

class TCustomImageList;
class TCustomActionList;
class TBasicActionLink;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Tells every linked client.
    void Change();

private:
    friend class TBasicActionLink;
    std::vector<TBasicActionLink*> FClients;
};

using TShortCut = Word;

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TCustomAction() override;

    // Update first; nothing runs while disabled.
    bool Execute() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    bool Checked() const { return FChecked; }
    void SetChecked(bool AValue);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* AValue);

private:
    friend class TCustomActionList;
    template <typename T>
    void Set(T& AField, const T& AValue) {
        if (AField == AValue) return;
        AField = AValue;
        Change();
    }

    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    String FHint;
    Integer FImageIndex = -1;
    TShortCut FShortCut = 0;
    bool FVisible = true;
    TCustomActionList* FActionList = nullptr;
};
using TAction = TCustomAction;

class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    Integer ActionCount() const { return Integer(FActions.size()); }
    TCustomAction* Actions(Integer AIndex) const { return FActions.at(size_t(AIndex)); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> FActions;
    TCustomImageList* FImages = nullptr;
};
using TActionList = TCustomActionList;

// The tie between an action and one client: a change of the action calls
// AChange with it.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink(TObject* AClient, std::function<void(TBasicAction*)> AChange)
        : FClient(AClient), FChange(std::move(AChange)) {}
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* AValue);
    TObject* Client() const { return FClient; }
    // Executes the action; false without one.
    bool Execute();
    bool Update();

private:
    friend class TBasicAction;
    void Change() {
        if (FChange) FChange(FAction);
    }

    TObject* FClient;
    std::function<void(TBasicAction*)> FChange;
    TBasicAction* FAction = nullptr;
};

// A client's Action property: links AClient (a control or a menu item) to
// AAction, nil unlinking, and lets the client take what the action has.
template <typename TClient>
void LinkAction(std::unique_ptr<TBasicActionLink>& ALink, TClient* AClient, TBasicAction* AAction) {
    TBasicAction* old = ALink ? ALink->Action() : nullptr;
    if (AAction == old) return;
    if (old) old->RemoveFreeNotification(AClient);
    if (!AAction) return ALink.reset();
    if (!ALink)
        ALink = std::make_unique<TBasicActionLink>(
            AClient, [AClient](TBasicAction* AChanged) { AClient->ActionChange(AChanged, false); });
    ALink->SetAction(AAction);
    AAction->FreeNotification(AClient);
    AClient->ActionChange(AAction, AClient->ComponentState().Contains(csLoading));
}

// A client's click: its own OnClick when that is not the action's handler,
// else the action, else OnClick.
void ClickThroughAction(const TNotifyEvent& AOnClick, TBasicActionLink* ALink, TObject* ASender);
