// Runs a dialog's modal Execute on the memory back end and acts inside its
// loop: a modal loop there ends as a Cancel once nothing is pending.
#pragma once

#include <functional>

#include "platform/toolkit/forms.h"

// AExecute, with AStep done once, as soon as a window of class TDialogForm
// is the active form; what AExecute returned.
template <typename TDialogForm>
bool RunDialog(const std::function<bool()>& AExecute, std::function<void(TDialogForm*)> AStep) {
    Application->OnIdle = [AStep, done = false](TObject*, bool&) mutable {
        auto* form = dynamic_cast<TDialogForm*>(Screen->ActiveCustomForm());
        if (!form || done) return;
        done = true;
        AStep(form);
    };
    const bool ok = AExecute();
    Application->OnIdle = nullptr;
    return ok;
}
