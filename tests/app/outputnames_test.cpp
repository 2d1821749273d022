// What the file list keeps of each row's name and choice: selecting, moving
// and converting rows rename nothing; a run never writes over its inputs; a
// format the libraries cannot write is refused where it is picked; a row
// whose stored choice is broken is selected silently; and the main window
// freed while it previews takes no report after it is gone.
#include <gtest/gtest.h>

#include <poll.h>
#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "platform/toolkit/menus.h"
#include "runfixture.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskincombobox.h"

namespace {

std::string Bytes(const fs::path& APath) {
    std::ifstream file(APath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class OutputNames : public Run {
protected:
    // Every row's sub-items, in row order.
    std::vector<std::vector<String>> RowTexts() {
        std::vector<std::vector<String>> rows;
        for (Integer i = 0; i < Rows()->Count(); ++i) {
            std::vector<String> texts{Rows()->Item(i)->Caption()};
            for (Integer column = 0; column < FileListSubItemCount; ++column)
                texts.push_back(Cell(i, column));
            rows.push_back(texts);
        }
        return rows;
    }
    // The names of the files in the output folder.
    std::set<std::string> Written() {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(FOutput))
            names.insert(entry.path().filename().string());
        return names;
    }
    void Select(Integer ARow) { Form1->lvFiles->SetItemIndex(ARow); }
    // The positions of key 112 (AMR-NB) in the pickers.
    static std::pair<Integer, Integer> AmrPositions() {
        for (Integer category = 0; category < CategoryCount; ++category)
            for (Integer format = 0; format < Integer(FormatCaptions(category).size()); ++format)
                if (FormatKeyOf(category, format) == 112) return {category, format};
        return {-1, -1};
    }
};

// Three rows towards MP4, an unrelated file of the category's first
// extension beside them: selecting each row, moving rows up and down, a
// selection during the run and after it leave every row as it was, and the
// names are the files written.
TEST_F(OutputNames, SelectingMovingAndConvertingRenameNoRow) {
    StartWith("3");
    ChooseFormat(1);  // "MP4 - MPEG-4视频格式(*.mp4)"; the category's first format writes ".avi"
    std::ofstream(FOutput / "b.avi") << "not ours";
    Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi"), Clip("short.avi", "c.avi")});
    ASSERT_EQ(Rows()->Count(), 3);
    auto rows = RowTexts();
    for (Integer i : {0, 1, 2, 1, 0}) {
        Select(i);
        ASSERT_EQ(RowTexts(), rows) << "selecting row " << i;
    }
    // 上移 and 下移 exchange whole rows, each move selecting the moved one.
    Select(2);
    Form1->qxSkinButton3->Click();
    Form1->qxSkinButton3->Click();
    Form1->qxSkinButton4->Click();
    // Up twice and down once: the last row ends one place higher.
    std::swap(rows[1], rows[2]);
    EXPECT_EQ(RowTexts(), rows);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 1);

    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return !Cell(0, ColProgress).empty(); }));
    Select(0);
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    for (Integer i : {0, 1, 2}) {
        Select(i);
        EXPECT_EQ(Cell(i, ColProgress), u"100%");
        EXPECT_EQ(Cell(i, ColOutputFile), rows[size_t(i)][1 + ColOutputFile]);
    }
    EXPECT_EQ(Written(), (std::set<std::string>{"a.mp4", "b.avi", "b.mp4", "c.mp4"}));
    // Renamed to its own name again: still the name of its file.
    Select(0);
    Form1->lvFilesDblClick(nullptr);
    Form1->edtExit(nullptr);
    EXPECT_FALSE(Form1->edt->Visible());
    EXPECT_EQ(Cell(0, ColOutputFile), rows[0][1 + ColOutputFile]);
    EXPECT_EQ(Bytes(FOutput / "b.avi"), "not ours");
    EXPECT_TRUE(Boxes.empty());
}

// Every format, with the last position of each parameter picker, for three
// clips added together: the row the add leaves selected, and each row
// selected again, converts with what the others do (stored choice, codec
// data, values, container), and the pickers show those choices.
TEST_F(OutputNames, SelectingARowKeepsWhatItConvertsWith) {
    StartWith("3");
    for (const Integer key : FormatKeys()) {
        // AMR-NB: refused at the add, no encoder in these libraries.
        if (key == 112) continue;
        SCOPED_TRACE(key);
        Form1->btnClear->Click();
        ChooseFormat(key);
        for (Integer parameter = 0; parameter < PresetParameterCount; ++parameter) {
            TqxSkinComboBox* combo =
                formatchoice::ParameterCombo(Form1->FormatControls(), TPresetParameter(parameter));
            if (combo->Enabled() && combo->Items()->Count() > 0)
                combo->SetItemIndex(combo->Items()->Count() - 1);
        }
        const String chosen = formatchoice::ChosenComboIndices(Form1->FormatControls());
        Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi"), Clip("short.avi", "c.avi")});
        ASSERT_EQ(Rows()->Count(), 3);
        ASSERT_EQ(Form1->lvFiles->ItemIndex(), 2);
        const auto added = RowTexts();
        for (Integer i : {0, 2, 1}) {
            Select(i);
            EXPECT_EQ(formatchoice::ChosenFormatKey(Form1->FormatControls()), key);
            EXPECT_EQ(formatchoice::ChosenComboIndices(Form1->FormatControls()), chosen);
        }
        const auto rows = RowTexts();
        EXPECT_EQ(rows, added);
        const String extension = ExtensionFromCaption(FormatCaptionOf(key));
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(rows[i][1 + ColOutputFile].ends_with(extension)) << i;
            EXPECT_EQ(rows[i][1 + ColComboIndices], chosen) << i;
            for (Integer column = ColFormatKey; column < FileListSubItemCount; ++column)
                EXPECT_EQ(rows[i][size_t(1 + column)], rows[0][size_t(1 + column)])
                    << "row " << i << " column " << column;
        }
    }
    EXPECT_TRUE(Boxes.empty());
}

// Stopped, the row selected, started again: the run writes the row's file
// once more, under its name, and no second file beside it.
TEST_F(OutputNames, StopSelectAndRestartWritesOneFile) {
    StartWith("0");
    ChooseFormat(202);
    Form1->AddOneFile(Clip("clip30.avi", "clip.avi"));
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Form1->qxSkinButton2->Click();
        ASSERT_TRUE(RunUntil([&] { return !Cell(0, ColProgress).empty(); }));
        EXPECT_EQ(Written(), std::set<std::string>{"clip.mp4"});
        Form1->qxSkinButton10->Click();
        ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
        Form1->lvFiles->SetSelected(nullptr);
        Select(0);
        EXPECT_EQ(Cell(0, ColOutputFile), u"clip.mp4");
        Rows()->Item(0)->SubItems()->SetStrings(ColProgress, u"");
    }
    EXPECT_EQ(Written(), std::set<std::string>{"clip.mp4"});
}

// Overwriting existing files, with the output folder the input's: the
// output is numbered as a taken name is, the log says why, and the source
// keeps every byte. The same when the folder becomes the input's after the
// row was named: Start numbers it.
TEST_F(OutputNames, ARunNeverWritesOverItsInput) {
    StartWith("3");
    Form5->qxSkinCheckRadioBox3->SetChecked(true);
    ChooseFormat(0);  // ".avi", like the sources
    const String clips = UTF8ToString((FRoot / "clips").string());
    const String in = Clip("short.avi", "in.avi"), late = Clip("short.avi", "late.avi");
    const std::string source = Bytes(StringToUTF8(in));

    Form1->Video_OutPut_Folder_Edit->SetText(clips);
    Form1->FileOutPutPath = clips;
    Form1->AddOneFile(in);
    EXPECT_EQ(Cell(0, ColOutputFile), u"in_1.avi");
    const auto logged = [&](const String& APath) {
        TStrings* lines = Form1->mmoLog->Lines();
        for (Integer i = 0; i < lines->Count(); ++i)
            if (lines->Strings(i).find(u"The output " + APath + u" is an input file") != String::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(logged(clips + u"/in.avi"));

    Form1->Video_OutPut_Folder_Edit->SetText(UTF8ToString(FOutput.string()));
    Form1->FileOutPutPath = UTF8ToString(FOutput.string());
    Form1->AddOneFile(late);
    EXPECT_EQ(Cell(1, ColOutputFile), u"late.avi");
    Form1->Video_OutPut_Folder_Edit->SetText(clips);
    Form1->FileOutPutPath = clips;

    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(Cell(0, ColProgress), u"100%");
    EXPECT_EQ(Cell(1, ColProgress), u"100%");
    EXPECT_EQ(Cell(1, ColOutputFile), u"late_1.avi");
    EXPECT_TRUE(logged(clips + u"/late.avi"));
    EXPECT_EQ(Bytes(StringToUTF8(in)), source);
    EXPECT_EQ(Bytes(StringToUTF8(late)), source);
    EXPECT_TRUE(ProbeMedia(clips + u"/in_1.avi").Opened);
    EXPECT_TRUE(ProbeMedia(clips + u"/late_1.avi").Opened);
    EXPECT_TRUE(Boxes.empty());
}

// AMR-NB, whose encoder these libraries lack, picked for a row in the main
// window and in the preset dialog: one "提示" box each, and the row keeps its
// format, which the pickers show again.
TEST_F(OutputNames, AFormatWithoutItsEncoderIsRefusedWhereItIsPicked) {
    StartWith("3");
    ChooseFormat(100);  // MP3, in the same category as AMR-NB
    Form1->AddOneFile(Clip("short.avi", "a.avi"));
    const auto rows = RowTexts();
    const auto [category, amr] = AmrPositions();
    ASSERT_EQ(Form1->qxSkinOfficeComboBox2->ItemIndex(), category);

    Form1->qxSkinOfficeComboBox1->SetItemIndex(amr);
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_NE(Texts[0].find(u"libopencore_amrnb"), String::npos);
    EXPECT_EQ(RowTexts(), rows);
    EXPECT_EQ(formatchoice::ChosenFormatKey(Form1->FormatControls()), 100);

    // "设置...": AMR-NB picked in the dialog, then "取消".
    const auto answer = Application->OnIdle;
    bool picked = false;
    Integer shown = -1;
    Application->OnIdle = [&](TObject* ASender, bool& ADone) {
        if (Screen->ActiveCustomForm() == Form7 && !picked) {
            picked = true;
            Form7->qxSkinOfficeComboBox1->SetItemIndex(amr);
            shown = formatchoice::ChosenFormatKey(Form7->Controls());
            Form7->qxSkinButton3Click(nullptr);
            return;
        }
        answer(ASender, ADone);
    };
    Form1->qxSkinButton24Click(nullptr);
    Application->OnIdle = answer;
    EXPECT_TRUE(picked);
    EXPECT_EQ(shown, 100);
    EXPECT_EQ(Boxes, (std::vector<String>{u"提示", u"提示"}));
    EXPECT_EQ(RowTexts(), rows);

    // It converts as MP3.
    Form1->qxSkinButton2->Click();
    ASSERT_TRUE(RunUntil([&] { return RunEnded(); }));
    EXPECT_EQ(ProbeMedia(Output("a.mp3")).Format, "mp3");
}

// A stored choice outside the lists ends the selection silently: no box,
// nothing raised, the row as it was.
TEST_F(OutputNames, ABrokenStoredChoiceIsSelectedSilently) {
    StartWith("3");
    ChooseFormat(0);
    Form1->AddFiles({Clip("short.avi", "a.avi"), Clip("short.avi", "b.avi")});
    const struct {
        const char16_t* FormatKey;
        const char16_t* Indices;
    } cases[] = {{u"2500", nullptr}, {u"199", nullptr}, {nullptr, u"999999999999"}};
    for (const auto& c : cases) {
        Form1->lvFiles->SetSelected(nullptr);
        TStrings* sub = Rows()->Item(0)->SubItems();
        if (c.FormatKey) sub->SetStrings(ColFormatKey, c.FormatKey);
        if (c.Indices) sub->SetStrings(ColComboIndices, c.Indices);
        const auto rows = RowTexts();
        EXPECT_NO_THROW(Select(0)) << StringToUTF8(c.FormatKey ? c.FormatKey : c.Indices);
        EXPECT_EQ(RowTexts(), rows);
        Application->ProcessMessages();
    }
    EXPECT_TRUE(Boxes.empty());
}

// Freed without being closed while the preview plays: a log call waiting for
// the GUI thread runs while the player stops in the teardown, and reaches no
// handler of the half-destroyed window.
TEST_F(OutputNames, TheWindowFreedWhilePreviewingTakesNoLateReport) {
    StartWith("3");
    ChooseFormat(0);
    Form1->AddOneFile(Clip("clip2.avi", "a.avi"));
    ASSERT_TRUE(RunUntil([&] { return Form1->VIZevado->PlayState() == psPlay; }));
    TFFLogger* logger = Form1->FFLogger;
    std::atomic<bool> logged = false;
    std::thread worker([&] {
        logger->Log(nullptr, llError, u"late report");
        logged = true;
    });
    pollfd wake{MainThreadWakeFd(), POLLIN, 0};
    ASSERT_EQ(poll(&wake, 1, 10000), 1);
    Application->OnIdle = nullptr;
    Free(Application);
    Application = nullptr;
    const bool ran = logged;
    if (!ran) CheckSynchronize();
    worker.join();
    EXPECT_TRUE(ran) << "the call ran after the logger was gone";
}

}  // namespace
