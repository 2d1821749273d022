#include "platform/base/classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

using TLog = std::vector<std::string>;

// Logs its destruction and the removals it hears of.
class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, const String& AName, TLog* ALog) : TComponent(AOwner), FLog(ALog) {
        SetName(AName);
    }
    ~TProbe() override {
        if (FLog) FLog->push_back("~" + StringToUTF8(Name()));
    }

    TProbe* Freed = nullptr;  // an owned component this one frees itself

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override {
        TComponent::Notification(AComponent, AOperation);
        if (FLog && AOperation == opRemove)
            FLog->push_back(StringToUTF8(Name()) + " hears " + StringToUTF8(AComponent->Name()));
    }

    TLog* FLog;
};

// Frees one of its owned components in its own destructor, as component
// destructors of the system do with their timers.
class TSelfCleaning : public TProbe {
public:
    using TProbe::TProbe;
    ~TSelfCleaning() override { FreeAndNil(Freed); }
};

// Notes whether it was marked as being destroyed when its destructor ran.
class TStateWatcher : public TComponent {
public:
    TStateWatcher(TComponent* AOwner, bool* ASaw) : TComponent(AOwner), FSaw(ASaw) {}
    ~TStateWatcher() override { *FSaw = ComponentState().Contains(csDestroying); }

private:
    bool* FSaw;
};

TLog Destroyed(const TLog& ALog) {
    TLog out;
    for (const auto& entry : ALog)
        if (entry.starts_with("~")) out.push_back(entry);
    return out;
}

class TFoo : public TPersistent {};
class TBar : public TPersistent {};

}  // namespace

TEST(Component, OwnerFreesItsComponentsLastInsertedFirst) {
    TLog log;
    auto* owner = new TProbe(nullptr, u"Owner", nullptr);
    new TProbe(owner, u"A", &log);
    new TProbe(owner, u"B", &log);
    new TProbe(owner, u"C", &log);
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->Components(1)->ComponentIndex(), 1);
    Free(owner);
    EXPECT_EQ(Destroyed(log), (TLog{"~C", "~B", "~A"}));
}

TEST(Component, OwnedComponentsHearOfARemoval) {
    TLog log;
    TProbe owner(nullptr, u"Owner", &log);
    new TProbe(&owner, u"A", &log);
    auto* b = new TProbe(&owner, u"B", &log);
    log.clear();
    Free(b);
    EXPECT_EQ(log, (TLog{"~B", "A hears B", "Owner hears B"}));
}

TEST(Component, FreeNotificationWorksBothWays) {
    for (bool firstGoesFirst : {true, false}) {
        TLog log;
        auto* a = new TProbe(nullptr, u"A", &log);
        auto* b = new TProbe(nullptr, u"B", &log);
        a->FreeNotification(b);
        EXPECT_TRUE(a->ComponentState().Contains(csFreeNotification));
        TProbe* first = firstGoesFirst ? a : b;
        TProbe* second = firstGoesFirst ? b : a;
        const std::string firstName = StringToUTF8(first->Name());
        const std::string secondName = StringToUTF8(second->Name());
        Free(first);
        EXPECT_EQ(log, (TLog{"~" + firstName, secondName + " hears " + firstName}));
        EXPECT_FALSE(second->ComponentState().Contains(csFreeNotification));
        log.clear();
        // The link went with the first: the second's end tells nobody.
        Free(second);
        EXPECT_EQ(log, (TLog{"~" + secondName}));
    }
}

TEST(Component, RemoveFreeNotificationStopsTheNotice) {
    TLog log;
    TProbe a(nullptr, u"A", &log);
    auto* b = new TProbe(nullptr, u"B", &log);
    a.FreeNotification(b);
    a.RemoveFreeNotification(b);
    Free(b);
    EXPECT_EQ(log, (TLog{"~B"}));
}

TEST(Component, FindComponentIgnoresCase) {
    TComponent owner(nullptr);
    TProbe button(&owner, u"Button1", nullptr);
    EXPECT_EQ(owner.FindComponent(u"BUTTON1"), &button);
    EXPECT_EQ(owner.FindComponent(u"Button2"), nullptr);
    EXPECT_EQ(owner.FindComponent(u""), nullptr);
}

TEST(Component, NamesAreUniqueWithinAnOwner) {
    TComponent owner(nullptr);
    TProbe first(&owner, u"Edit1", nullptr);
    TProbe second(&owner, u"Edit2", nullptr);
    try {
        second.SetName(u"EDIT1");
        FAIL() << "renamed onto a sibling";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), u"A component named EDIT1 already exists");
    }
    EXPECT_EQ(second.Name(), u"Edit2");
    first.SetName(u"EDIT1");  // a change of case only
    EXPECT_EQ(first.Name(), u"EDIT1");
}

TEST(Component, InsertingChecksTheNewOwnersNames) {
    TComponent owner(nullptr);
    TComponent other(nullptr);
    TProbe taken(&owner, u"Panel1", nullptr);
    TProbe incoming(&other, u"panel1", nullptr);
    EXPECT_THROW(owner.InsertComponent(&incoming), EComponentError);
    // Refused before anything moved.
    EXPECT_EQ(incoming.Owner(), &other);
    EXPECT_EQ(owner.ComponentCount(), 1);
    incoming.SetName(u"Panel2");
    owner.InsertComponent(&incoming);
    EXPECT_EQ(incoming.Owner(), &owner);
    EXPECT_EQ(other.ComponentCount(), 0);
}

TEST(Component, LoadedEndsLoading) {
    TComponent c(nullptr);
    c.IncludeState(csLoading);
    c.Loaded();
    EXPECT_FALSE(c.ComponentState().Contains(csLoading));
}

TEST(Component, ComponentsOutOfRangeIsAListError) {
    TComponent owner(nullptr);
    try {
        owner.Components(0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (0)");
    }
}

TEST(Component, ADestructorMayFreeWhatItOwnsThroughFreeOrDelete) {
    for (bool viaFree : {true, false}) {
        TLog log;
        auto* owner = new TSelfCleaning(nullptr, u"Owner", &log);
        owner->Freed = new TProbe(owner, u"Timer", &log);
        new TProbe(owner, u"Other", &log);
        if (viaFree)
            Free(owner);
        else
            delete owner;
        // Each owned component is destroyed exactly once, the self-freed one first.
        EXPECT_EQ(Destroyed(log), (TLog{"~Timer", "~Owner", "~Other"})) << viaFree;
    }
}

TEST(Component, FreeMarksDestroyingBeforeAnyDestructorRuns) {
    bool saw = false;
    bool childSaw = false;
    auto* watcher = new TStateWatcher(nullptr, &saw);
    new TStateWatcher(watcher, &childSaw);
    Free(watcher);
    EXPECT_TRUE(saw);
    EXPECT_TRUE(childSaw);
    // A plain delete cannot run anything first; owned components still see it.
    watcher = new TStateWatcher(nullptr, &saw);
    new TStateWatcher(watcher, &childSaw);
    delete watcher;
    EXPECT_FALSE(saw);
    EXPECT_TRUE(childSaw);
}

TEST(Persistent, AssignErrorNamesBothClasses) {
    TFoo foo;
    TBar bar;
    EXPECT_EQ(ErrorOf<EConvertError>([&] { bar.Assign(&foo); }), "Cannot assign a TFoo to a TBar");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { bar.Assign(nullptr); }), "Cannot assign a nil to a TBar");
}
