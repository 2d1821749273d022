// The program started on the memory back end with its output folder, for
// runs of real clips: the dialogs answered by steps the test sets, every
// other box with OK, and the helpers that add, choose and wait.
#pragma once

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>

#include "app/filelistcolumns.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/memo.h"
#include "programfixture.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/dialogs/qxmessages.h"
#include "skin/dialogs/qxskinopendialog.h"
#include "skin/dialogs/qxskinselectdir.h"
#include "tests/media/mediatest.h"

// Runs the GUI thread's queued calls until ADone holds; false after ATimeout ms.
inline bool RunUntil(const std::function<bool()>& ADone, Cardinal ATimeout = 120000) {
    std::mutex mutex;
    std::condition_variable_any condition;
    std::unique_lock<std::mutex> lock(mutex);
    return WaitForCondition(lock, condition, ADone, ATimeout);
}

// The program with its settings in a temporary folder; the dialogs are
// answered by the step the test sets for them, every other box with OK.
class Run : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        // Selecting a row opens it in the preview.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        FOutput = FRoot / "output";
        fs::create_directories(FOutput);
        fs::create_directories(FRoot / "clips");
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (!form || form == Form1 || form->ModalResult() != mrNone) return;
            if (auto* open = dynamic_cast<TqxOpenDlgForm*>(form)) {
                if (OpenStep) OpenStep(open);
                return;
            }
            if (auto* folder = dynamic_cast<TqxSelDirDlgForm*>(form)) {
                if (FolderStep) FolderStep(folder);
                return;
            }
            Boxes.push_back(form->Caption());
            if (auto* box = dynamic_cast<TqxMessageForm*>(form)) Texts.push_back(box->Message->Caption());
            form->SetModalResult(mrOk);
        };
    }
    // Starts the program with these options beside the output folder.
    void StartWith(const std::string& AAfterDone, const std::string& AThreads = "2") {
        WriteIni("[OutPath]\nOutPath=" + FOutput.string() + "\n[Options]\nThread_Count=" + AThreads +
                 "\nAfter_Done=" + AAfterDone + "\n");
        Start();
    }
    String Clip(const char* AFixture, const char* AName) {
        const fs::path path = FRoot / "clips" / AName;
        fs::copy_file(StringToUTF8(TestDataFile(UTF8ToString(AFixture))), path,
                      fs::copy_options::overwrite_existing);
        return UTF8ToString(path.string());
    }
    // Chooses the format of that key in the main window's pickers.
    static void ChooseFormat(Integer AKey) {
        for (Integer category = 0; category < 19; ++category)
            for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format)
                if (FormatKeyOf(category, format) == AKey) {
                    Form1->qxSkinOfficeComboBox2->SetItemIndex(category);
                    Form1->qxSkinOfficeComboBox1->SetItemIndex(format);
                }
        ASSERT_EQ(formatchoice::ChosenFormatKey(Form1->FormatControls()), AKey);
    }
    // The open dialog's steps as a user takes them: the clips' folder typed
    // and entered, then the files selected and Open pressed.
    void PickInOpenDialog(std::vector<String> ANames) {
        OpenStep = [this, ANames, typed = false](TqxOpenDlgForm* AForm) mutable {
            if (!typed) {
                typed = true;
                char16_t enter = u'\r';
                AForm->FileNameEdit->SetText(UTF8ToString((FRoot / "clips").string()) + u"/");
                AForm->EditKeyPress(nullptr, enter);
                return;
            }
            TListItems* items = AForm->FileListView->Items();
            for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
                for (const String& name : ANames)
                    if (AForm->FileListView->FolderAt(i)->DisplayName() == name)
                        items->Item(i)->SetSelected(true);
            AForm->OpenButton->Click();
        };
    }
    TListItems* Rows() { return Form1->lvFiles->Items(); }
    String Cell(Integer ARow, Integer AColumn) { return Rows()->Item(ARow)->SubItems()->Strings(AColumn); }
    bool RunEnded() { return Form1->btnClear->Enabled() && !Form1->btnStop->Enabled(); }
    String Output(const char* AName) const { return UTF8ToString((FOutput / AName).string()); }

    fs::path FOutput;
    std::function<void(TqxOpenDlgForm*)> OpenStep;
    std::function<void(TqxSelDirDlgForm*)> FolderStep;
    std::vector<String> Boxes;
    // The texts of the skinned message boxes among them.
    std::vector<String> Texts;
};
