// The preview player in the main window, snapshots, and the folder and
// skin commands, on the memory back end with SDL's dummy drivers.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>

#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/mainthread.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/gifimage.h"
#include "platform/toolkit/jpegimage.h"
#include "platform/toolkit/label.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/panels.h"
#include "platform/toolkit/pngimage.h"
#include "platform/toolkit/scrollbars.h"
#include "programfixture.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlistbox.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinslider.h"
#include "skin/controls/qxskinspeedbuttons.h"
#include "skin/core/qxskindata.h"
#include "skin/dialogs/qxselectskin.h"
#include "skin/dialogs/qxskinopenpicturedialog.h"
#include "skin/dialogs/qxskinselectdir.h"
#include "tests/media/mediatest.h"

namespace {

using namespace win;

TEST(SliderArithmetic, SeeksAndPositionsTruncateAndAZeroRangeNeverDivides) {
    const struct {
        Int64 Duration;
        Integer Value, Max;
        std::optional<Int64> Target;
    } seeks[] = {{10000000, 109, 218, 5000000},
                 {10000000, 218, 218, 10000000},
                 {10000000, 0, 218, 0},
                 {0, 109, 218, 0},
                 {10000000, 0, 0, std::nullopt}};
    for (const auto& c : seeks)
        EXPECT_EQ(SliderSeekTarget(c.Duration, c.Value, c.Max), c.Target) << c.Value << "/" << c.Max;
    const struct {
        Int64 PTS, Duration;
        std::optional<Integer> Value;
    } positions[] = {{4999999, 10000000, 108},
                     {5000000, 10000000, 109},
                     {10000000, 10000000, 218},
                     {-1, 10000000, std::nullopt},
                     {4999999, 0, std::nullopt}};
    for (const auto& c : positions)
        EXPECT_EQ(SliderValueAt(c.PTS, c.Duration, 218), c.Value) << c.PTS << "/" << c.Duration;
}

TEST(SnapshotFiles, NumberingFillsGapsPerExtension) {
    const fs::path folder = fs::path(::testing::TempDir()) / "velqua-snapshot-names";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* name : {"holiday_1.jpg", "holiday_3.jpg", "holiday_1.bmp"})
        std::ofstream(folder / name) << "x";
    const String dir = UTF8ToString(folder.string());
    const String second = NextSnapshotName(dir, u"holiday", u".jpg");
    EXPECT_EQ(second, dir + u"/holiday_2.jpg");
    std::ofstream(StringToUTF8(second)) << "x";
    EXPECT_EQ(NextSnapshotName(dir, u"holiday", u".jpg"), dir + u"/holiday_4.jpg");
    EXPECT_EQ(NextSnapshotName(dir + u"/", u"holiday", u".png"), dir + u"/holiday_1.png");
    EXPECT_EQ(NextSnapshotName(dir, u"holiday.2014", u".bmp"), dir + u"/holiday.2014_1.bmp");
    fs::remove_all(folder);
}

// Every writer gives a file of its kind that reads back at the frame's size;
// GIF with at most 256 colours of a frame that has more; an unknown type
// writes JPEG.
TEST(SnapshotFiles, EachWriterDecodesBackToTheFrameSize) {
    const fs::path folder = fs::path(::testing::TempDir()) / "velqua-snapshot-writers";
    fs::remove_all(folder);
    fs::create_directories(folder);
    TBitmap frame;
    frame.SetPixelFormat(pf24bit);
    frame.SetSize(40, 30);
    for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 40; ++x)
            frame.Canvas()->SetPixels(x, y, RGB(Byte(x * 6), Byte(y * 8), Byte((x * y) % 256)));
    const struct {
        const char16_t* Type;
        const char* Name;
        std::string Magic;
        std::function<std::unique_ptr<TGraphic>()> Reader;
    } cases[] = {
        {u"BMP", "a.bmp", "BM", [] { return std::make_unique<TBitmap>(); }},
        {u"JPG", "a.jpg", "\xFF\xD8\xFF", [] { return std::make_unique<TJPEGImage>(); }},
        {u"GIF", "a.gif", "GIF8", [] { return std::make_unique<TGIFImage>(); }},
        {u"PNG", "a.png", "\x89PNG", [] { return std::make_unique<TPngImage>(); }},
        {u"TIF", "a.tif", "\xFF\xD8\xFF", [] { return std::make_unique<TJPEGImage>(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const String name = UTF8ToString((folder / c.Name).string());
        WriteSnapshot(&frame, name, c.Type);
        std::ifstream file(folder / c.Name, std::ios::binary);
        std::string head(c.Magic.size(), '\0');
        file.read(head.data(), std::streamsize(head.size()));
        EXPECT_EQ(head, c.Magic);
        std::unique_ptr<TGraphic> back = c.Reader();
        back->LoadFromFile(name);
        EXPECT_EQ(back->Width(), 40);
        EXPECT_EQ(back->Height(), 30);
        if (auto* gif = dynamic_cast<TGIFImage*>(back.get())) {
            std::set<uint32_t> colours;
            const std::vector<Byte>& pixels = gif->ImageData().Pixels();
            for (size_t i = 0; i + 3 < pixels.size(); i += 4)
                colours.insert(uint32_t(pixels[i]) | uint32_t(pixels[i + 1]) << 8 |
                               uint32_t(pixels[i + 2]) << 16);
            EXPECT_LE(colours.size(), 256u);
            EXPECT_GT(colours.size(), 16u);
        }
    }
    fs::remove_all(folder);
}

TEST(FolderDialog, OnlyAConfirmedAbsoluteFolderCounts) {
    EXPECT_EQ(ConfirmedFolder(true, u"/tmp/a"), u"/tmp/a");
    EXPECT_EQ(ConfirmedFolder(false, u"/tmp/a"), u"");
    EXPECT_EQ(ConfirmedFolder(true, u"计算机"), u"");
    EXPECT_EQ(ConfirmedFolder(true, u""), u"");
}

// The started program with the player's events also counted here.
class Preview : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Start();
        TFFPlayer* player = Form1->VIZevado;
        player->SetOnPosition([this, handler = player->OnPosition()](TObject* ASender, Int64 APTS) {
            handler(ASender, APTS);
            std::lock_guard<std::mutex> guard(FLock);
            FLastPosition = APTS;
            FChanged.notify_all();
        });
        player->SetOnState([this, handler = player->OnState()](TObject* ASender, TPlayState AState) {
            handler(ASender, AState);
            std::lock_guard<std::mutex> guard(FLock);
            FStates.push_back(AState);
            FChanged.notify_all();
        });
    }
    void TearDown() override {
        Form1->VIZevado->Stop(true);
        Program::TearDown();
    }
    // Opens a test file as a selected row does.
    void Open(const char16_t* AName) {
        Form1->T_Movie_PLayer_FileName = TestDataFile(AName);
        Form1->Button31Click(nullptr);
    }
    // The state AState reported and a position of at least AMinimum after it.
    bool WaitFor(TPlayState AState, Int64 AMinimum) {
        std::unique_lock<std::mutex> lock(FLock);
        return WaitForCondition(
            lock, FChanged,
            [&] {
                for (TPlayState state : FStates)
                    if (state == AState) return FLastPosition >= AMinimum;
                return false;
            },
            30000);
    }
    Integer LogLines(const String& ALine) {
        TStrings* lines = Form1->mmoLog->Lines();
        Integer count = 0;
        for (Integer i = 0; i < lines->Count(); ++i)
            count += lines->Strings(i) == ALine;
        return count;
    }
    std::vector<String> Items(TComboBox* AList) {
        std::vector<String> items;
        for (Integer i = 0; i < AList->Items()->Count(); ++i)
            items.push_back(AList->Items()->Strings(i));
        return items;
    }

    std::mutex FLock;
    std::condition_variable_any FChanged;
    Int64 FLastPosition = -1;
    std::vector<TPlayState> FStates;
};

// The position moves the slider unless it is held; a drag without a file
// changes only the flag, and a slider without range seeks nowhere.
TEST_F(Preview, PositionsMoveTheSliderOnlyWhileItIsNotHeld) {
    Form1->FDuration = 10000000;
    Form1->qxSkinSlider1->SetMaxValue(218);
    Form1->FFPlayerPosition(nullptr, 4999999);
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 108);
    EXPECT_EQ(Form1->Label3->Caption(), u"5.00");
    Form1->FFPlayerPosition(nullptr, 0);
    EXPECT_EQ(Form1->Label3->Caption(), u"0.00");
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 0);
    Form1->qxSkinSlider1->SetValue(50);
    Form1->FFPlayerPosition(nullptr, -40000);
    EXPECT_EQ(Form1->Label3->Caption(), u"-0.04");
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 50);

    Form1->qxSkinSlider1MouseDown(nullptr, mbLeft, {}, 0, 0);
    EXPECT_EQ(Form1->qxSkinSlider1_down_UP, u"Down");
    Form1->FFPlayerPosition(nullptr, 9000000);
    EXPECT_EQ(Form1->Label3->Caption(), u"-0.04");
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 50);
    Form1->qxSkinSlider1MouseUp(nullptr, mbLeft, {}, 0, 0);
    EXPECT_EQ(Form1->qxSkinSlider1_down_UP, u"UP");

    Form1->FDuration = 0;
    Form1->FFPlayerPosition(nullptr, 1000000);
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 50);
    Form1->qxSkinSlider1->SetMaxValue(0);
    Form1->qxSkinSlider1MouseDown(nullptr, mbLeft, {}, 0, 0);
    Form1->qxSkinSlider1MouseUp(nullptr, mbLeft, {}, 0, 0);
    EXPECT_EQ(Form1->qxSkinSlider1_down_UP, u"UP");
}

// Each state is logged by name; with "Stay On Top" checked, playing keeps
// the window on top until a pause or stop; the volume follows its bar.
TEST_F(Preview, StatesAreLoggedAndSetTheWindowsStyle) {
    Form1->chkStayOnTop->SetChecked(true);
    const struct {
        TPlayState State;
        const char16_t* Name;
        TFormStyle Style;
    } states[] = {{psPlay, u"Play", fsStayOnTop},     {psPause, u"Pause", fsNormal},
                  {psResume, u"Resume", fsStayOnTop}, {psStep, u"Step", fsNormal},
                  {psResume, u"Resume", fsStayOnTop}, {psStop, u"Stop", fsNormal},
                  {psEnd, u"End", fsNormal}};
    for (const auto& c : states) {
        SCOPED_TRACE(StringToUTF8(c.Name));
        Form1->FFPlayerState(nullptr, c.State);
        TStrings* lines = Form1->mmoLog->Lines();
        EXPECT_EQ(lines->Strings(lines->Count() - 1), c.Name);
        EXPECT_EQ(Form1->FormStyle(), c.Style);
    }
    Form1->chkStayOnTop->SetChecked(false);
    Form1->FFPlayerState(nullptr, psPlay);
    EXPECT_EQ(Form1->FormStyle(), fsNormal);

    Form1->TrackBar2->SetPosition(40);
    EXPECT_EQ(Form1->VIZevado->AudioVolume(), 40);
}

// A file opens paused in Panel6 with its facts logged, the slider reset to
// its width and the stream lists filled.
TEST_F(Preview, OpeningLogsTheFileResetsTheSliderAndFillsTheStreamLists) {
    Form1->qxSkinSlider1->SetValue(40);
    Open(u"streams.mkv");
    ASSERT_TRUE(WaitFor(psPause, 0)) << StringToUTF8(Form1->VIZevado->LastErrMsg());
    EXPECT_EQ(Form1->VIZevado->ScreenHandle(), Form1->Panel6->Handle());
    EXPECT_EQ(Form1->FScreenControl, Form1->Panel6);
    EXPECT_EQ(Form1->VIZevado->ScreenWidth(), 210);
    EXPECT_EQ(Form1->VIZevado->ScreenHeight(), 135);
    EXPECT_EQ(LogLines(u"duration: 1.00, frame size: 160x120"), 1);
    EXPECT_EQ(Form1->FDuration, 1000000);
    EXPECT_EQ(Form1->Label2->Caption(), u"1.00");
    EXPECT_EQ(Form1->qxSkinSlider1->MaxValue(), 218);
    EXPECT_EQ(Form1->qxSkinSlider1->Value(), 0);
    EXPECT_GE(LogLines(u"Pause"), 1);

    EXPECT_EQ(Items(Form1->cboVideo), (std::vector<String>{u"Video#0"}));
    EXPECT_FALSE(Form1->cboVideo->Enabled());
    EXPECT_EQ(Form1->cboVideo->Text(), u"Video#0");
    EXPECT_EQ(Items(Form1->cboAudio), (std::vector<String>{u"Audio#1", u"Audio#2"}));
    EXPECT_TRUE(Form1->cboAudio->Enabled());
    EXPECT_EQ(Form1->cboAudio->Text(), Format(u"Audio#%d", {Form1->VIZevado->AudioStreamIndex()}));
    EXPECT_EQ(Items(Form1->cboSubtitle), (std::vector<String>{u"Subtitle#-1", u"Subtitle#3"}));
    EXPECT_TRUE(Form1->cboSubtitle->Enabled());
    EXPECT_EQ(Form1->cboSubtitle->Text(), Format(u"Subtitle#%d", {Form1->VIZevado->SubtitleStreamIndex()}));

    // A file of sound alone: no video, so no subtitle choice either.
    Open(u"tone.wav");
    EXPECT_EQ(LogLines(u"duration: 1.00, frame size: -1x-1"), 1);
    EXPECT_TRUE(Items(Form1->cboVideo).empty());
    EXPECT_EQ(Items(Form1->cboAudio), (std::vector<String>{u"Audio#0"}));
    EXPECT_FALSE(Form1->cboAudio->Enabled());
    EXPECT_FALSE(Form1->cboSubtitle->Enabled());
}

TEST_F(Preview, AFileThatCannotOpenIsLoggedAndTheControlsStay) {
    Open(u"no-such-file.avi");
    EXPECT_FALSE(Form1->VIZevado->LastErrMsg().empty());
    EXPECT_EQ(LogLines(Form1->VIZevado->LastErrMsg()), 1);
    EXPECT_EQ(Form1->Label2->Caption(), u"N/A");
    EXPECT_EQ(Form1->qxSkinSlider1->MaxValue(), 100);
}

// A released slider seeks to its share of the duration and plays on; the
// end of the file leaves it rewound and paused.
TEST_F(Preview, ReleasingTheSliderSeeksAndPlaysAndTheEndRewinds) {
    Open(u"a.avi");
    ASSERT_TRUE(WaitFor(psPause, 0));
    Form1->qxSkinSlider1MouseDown(nullptr, mbLeft, {}, 0, 0);
    Form1->qxSkinSlider1->SetValue(109);
    Form1->qxSkinSlider1MouseUp(nullptr, mbLeft, {}, 0, 0);
    // Two seconds in all: the seek lands near one second, then it plays.
    ASSERT_TRUE(WaitFor(psResume, 950000));
    ASSERT_TRUE(WaitFor(psEnd, 0));
    {
        std::unique_lock<std::mutex> lock(FLock);
        ASSERT_TRUE(WaitForCondition(
            lock, FChanged, [&] { return FStates.back() == psPause; }, 30000));
    }
    EXPECT_GE(LogLines(u"End"), 1);
    EXPECT_TRUE(Form1->VIZevado->Paused());
}

// "停止" reopens the file paused, but only with a selected row; the mute
// buttons take turns.
TEST_F(Preview, StopReopensOnlyWithASelectedRowAndMuteTakesTurns) {
    Open(u"a.avi");
    ASSERT_TRUE(WaitFor(psPause, 0));
    Form1->qxSkinButton15Click(nullptr);
    EXPECT_EQ(LogLines(u"Stop"), 0);

    // An added row is selected, and selecting opens its file.
    const fs::path clip = FRoot / "clip.avi";
    fs::copy_file(StringToUTF8(TestDataFile(u"short.avi")), clip);
    Form1->AddOneFile(UTF8ToString(clip.string()));
    ASSERT_NE(Form1->lvFiles->Selected(), nullptr);
    EXPECT_EQ(Form1->FPlayerFileName, UTF8ToString(clip.string()));
    const auto opened = [] {
        TStrings* lines = Form1->mmoLog->Lines();
        Integer count = 0;
        for (Integer i = 0; i < lines->Count(); ++i)
            count += lines->Strings(i).ends_with(u", frame size: 160x120");
        return count;
    };
    EXPECT_EQ(opened(), 1);
    EXPECT_EQ(LogLines(u"Stop"), 1) << "opening stops the file before";
    Form1->qxSkinButton15Click(nullptr);
    EXPECT_EQ(LogLines(u"Stop"), 2);
    EXPECT_EQ(opened(), 2);
    EXPECT_TRUE(Form1->VIZevado->Paused());

    Form1->qxSkinButton16Click(nullptr);
    EXPECT_TRUE(Form1->VIZevado->Mute());
    EXPECT_TRUE(Form1->qxSkinButton20->Visible());
    EXPECT_FALSE(Form1->qxSkinButton16->Visible());
    Form1->qxSkinButton20Click(nullptr);
    EXPECT_FALSE(Form1->VIZevado->Mute());
    EXPECT_FALSE(Form1->qxSkinButton20->Visible());
    EXPECT_TRUE(Form1->qxSkinButton16->Visible());
}

// The tool bar's 添加, 选项 and 皮肤 show a picture beside their captions:
// more colours than on the same face without it.
TEST_F(Preview, TheToolButtonsShowTheirPictures) {
    const auto colours = [](TControl* AButton) {
        AButton->Repaint();
        driver::Pump();
        const TPoint button = AButton->ClientToScreen({0, 0}), form = Form1->ClientToScreen({0, 0});
        const TPoint origin{button.X - form.X, button.Y - form.Y};
        std::set<COLORREF> seen;
        for (Integer y = 2; y < AButton->Height() - 2; ++y)
            for (Integer x = 2; x < AButton->Width() - 2; ++x)
                seen.insert(driver::Pixel(Form1->Handle(), origin.X + x, origin.Y + y));
        return seen.size();
    };
    const struct {
        TControl* Button;
        std::function<void(Integer)> SetIndex;
        Integer Index;
    } cases[] = {
        {Form1->qxSkinMenuSpeedButton1,
         [](Integer AIndex) { Form1->qxSkinMenuSpeedButton1->SetImageIndex(AIndex); }, 0},
        {Form1->qxSkinButton19, [](Integer AIndex) { Form1->qxSkinButton19->SetImageIndex(AIndex); }, 1},
        {Form1->qxSkinButton9, [](Integer AIndex) { Form1->qxSkinButton9->SetImageIndex(AIndex); }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUTF8(c.Button->Name()));
        const size_t pictured = colours(c.Button);
        c.SetIndex(-1);
        const size_t bare = colours(c.Button);
        c.SetIndex(c.Index);
        EXPECT_GT(pictured, bare + 10);
    }
}

// Answers the folder and skin dialogs: OK on a folder or skin, or Cancel.
class Commands : public Preview {
protected:
    void SetUp() override {
        Preview::SetUp();
        Application->OnIdle = [this](TObject*, bool&) {
            TCustomForm* form = Screen->ActiveCustomForm();
            if (!form || form == Form1 || form->ModalResult() != mrNone) return;
            if (auto* folders = dynamic_cast<TqxSelDirDlgForm*>(form); folders && !Folder.empty())
                folders->DirTreeView->SetPath(Folder);
            if (auto* save = dynamic_cast<TqxOpenDlgForm*>(form); save && !SaveName.empty()) {
                save->FileNameEdit->SetText(SaveName);
                save->OpenButtonClick(nullptr);
                return;
            }
            if (auto* skins = dynamic_cast<TqxSelectSkinDlgForm*>(form); skins && Skin >= 0) {
                skins->SkinsListBox->SetItemIndex(Skin);
                skins->SLBOnChange(nullptr);
            }
            if (!dynamic_cast<TqxSelDirDlgForm*>(form) && !dynamic_cast<TqxOpenDlgForm*>(form) &&
                !dynamic_cast<TqxSelectSkinDlgForm*>(form))
                Boxes.push_back(form->Caption());
            form->SetModalResult(Answer);
        };
    }
    String MakeFolder(const char* AName) {
        fs::create_directories(FRoot / AName);
        return UTF8ToString((FRoot / AName).string());
    }
    String Folder;
    String SaveName;
    Integer Skin = -1;
    TModalResult Answer = mrOk;
    // The captions of the other boxes.
    std::vector<String> Boxes;
};

// One dialog serves both folders; a Cancel applies nothing of either.
TEST_F(Commands, TheFolderCommandsActOnOkOnly) {
    const String output = Form1->FileOutPutPath;
    Answer = mrCancel;
    Form1->qxSkinButton5Click(nullptr);
    EXPECT_EQ(Form1->FileOutPutPath, output);

    const String a = MakeFolder("a"), b = MakeFolder("b");
    Folder = a;
    Answer = mrOk;
    Form1->qxSkinButton5Click(nullptr);
    EXPECT_EQ(Form1->FileOutPutPath, a);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), a);
    EXPECT_EQ(Option(u"OutPath", u"OutPath"), a);

    // Cancelled right after: the output folder is not the snapshot folder.
    Answer = mrCancel;
    Form1->MenuItem2Click(nullptr);
    EXPECT_EQ(Option(u"SnapShot", u"Dir"), u"(absent)");
    Folder = b;
    Answer = mrOk;
    Form1->MenuItem2Click(nullptr);
    EXPECT_EQ(Option(u"SnapShot", u"Dir"), b);
    Answer = mrCancel;
    Form1->qxSkinButton5Click(nullptr);
    EXPECT_EQ(Form1->FileOutPutPath, a);

    Form1->MenuItem1Click(nullptr);
    const std::vector<driver::TShellOpen> opens = driver::ShellOpens();
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].Target, b);
}

// "皮肤" applies the chosen skin to both skin data and saves it; a Cancel
// saves the skin in force.
TEST_F(Commands, TheSkinCommandAppliesTheChoiceAndSavesEitherWay) {
    Skin = 1;
    Form1->qxSkinButton9Click(nullptr);
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 1);
    EXPECT_EQ(Form1->qxSkinData2->SkinIndex(), 1);
    EXPECT_EQ(Option(u"Skin", u"SetSkin"), u"1");
    WriteIni("[Skin]\nSetSkin=7\n");
    Skin = 0;
    Answer = mrCancel;
    Form1->qxSkinButton9Click(nullptr);
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 1);
    EXPECT_EQ(Option(u"Skin", u"SetSkin"), u"1");
}

// A settings file that refuses the skin, on OK as on Cancel: the skin is in
// force all the same, and one notice, once a run, says it is not saved.
TEST_F(Commands, ARefusedSkinSettingStaysInForceAndIsToldOnce) {
    const fs::path ini = FRoot / "program" / "option.ini";
    fs::remove(ini);
    fs::create_directory(ini);
    Skin = 1;
    Form1->qxSkinButton9Click(nullptr);
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 1);
    EXPECT_EQ(Form1->qxSkinData2->SkinIndex(), 1);
    EXPECT_EQ(Boxes, std::vector<String>{u"提示"});
    Skin = 0;
    Form1->qxSkinButton9Click(nullptr);
    Answer = mrCancel;
    Form1->qxSkinButton9Click(nullptr);
    EXPECT_EQ(Form1->qxSkinData1->SkinIndex(), 0);
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(fs::is_directory(ini));
}

// The folder and type rules repair what they find and tick the type.
TEST_F(Preview, TheSnapshotRulesRepairTheSettings) {
    const struct {
        const char* Ini;
        const char16_t* Type;
        TMenuItem* TForm1::*Ticked;
        const char16_t* Stored;
    } types[] = {{"", u"BMP", &TForm1::BMP1, u"BMP"},
                 {"Picture=jpg\n", u"BMP", &TForm1::BMP1, u"BMP"},
                 {"Picture=Error\n", u"BMP", &TForm1::BMP1, u"BMP"},
                 {"Picture=PNG\n", u"PNG", &TForm1::PNG1, u"PNG"},
                 {"Picture=GIF\n", u"GIF", &TForm1::GIF1, u"GIF"}};
    for (const auto& c : types) {
        SCOPED_TRACE(c.Ini);
        WriteIni(std::string("[SnapShot]\n") + c.Ini);
        EXPECT_EQ(Form1->SnapshotType(), c.Type);
        EXPECT_TRUE((Form1->*c.Ticked)->Checked());
        EXPECT_EQ(Option(u"SnapShot", u"Picture"), c.Stored);
    }
    Form1->JPG1Click(nullptr);
    EXPECT_EQ(Option(u"SnapShot", u"Picture"), u"JPG");
    EXPECT_TRUE(Form1->JPG1->Checked());
    EXPECT_FALSE(Form1->BMP1->Checked());

    const String fallback = Home(u"Velqua视频软件/快照");
    for (const char* ini : {"Dir=Error\n", "Dir=\n", ""}) {
        SCOPED_TRACE(ini);
        WriteIni(std::string("[SnapShot]\n") + ini);
        EXPECT_EQ(Form1->SnapshotFolder(), fallback);
        EXPECT_TRUE(DirectoryExists(fallback));
        EXPECT_EQ(Option(u"SnapShot", u"Dir"), fallback);
    }
    const String missing = UTF8ToString((FRoot / "shots" / "deep").string());
    WriteIni("[SnapShot]\nDir=" + StringToUTF8(missing) + "\n");
    EXPECT_EQ(Form1->SnapshotFolder(), missing);
    EXPECT_TRUE(DirectoryExists(missing));
    EXPECT_EQ(Option(u"SnapShot", u"Dir"), missing);
}

// A snapshot is named after the file the player opened, even when an add
// has named another file since; without a picture nothing is written.
TEST_F(Preview, ASnapshotIsNamedAfterTheOpenedFileInTheChosenType) {
    const String folder = UTF8ToString((FRoot / "shots").string());
    WriteIni("[SnapShot]\nDir=" + StringToUTF8(folder) + "\nPicture=PNG\n");
    Form1->qxSkinButton22Click(nullptr);
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(fs::is_empty(FRoot / "shots"));

    Open(u"a.avi");
    ASSERT_TRUE(WaitFor(psPause, 40000));
    Form1->T_Movie_PLayer_FileName = u"/elsewhere/holiday.2014.mts";
    Form1->qxSkinButton22Click(nullptr);
    Form1->qxSkinButton22Click(nullptr);
    for (const char* name : {"a_1.png", "a_2.png"}) {
        TPngImage shot;
        shot.LoadFromFile(UTF8ToString((FRoot / "shots" / name).string()));
        EXPECT_EQ(shot.Width(), 320) << name;
        EXPECT_EQ(shot.Height(), 240) << name;
    }
    EXPECT_FALSE(fs::exists(FRoot / "shots" / "holiday.2014_1.png"));
}

// "Capture" writes the picture as the chosen name's extension says, JPEG
// for one no writer has; without a picture it asks for no name.
TEST_F(Commands, CaptureWritesTheTypeTheChosenNameAsksFor) {
    const String folder = MakeFolder("captures");
    Form1->SavePictureDialog1->InitialDir = folder;
    SaveName = u"none.png";
    Form1->btnCaptureClick(nullptr);
    EXPECT_TRUE(fs::is_empty(FRoot / "captures"));

    Open(u"a.avi");
    ASSERT_TRUE(WaitFor(psPause, 40000));
    const struct {
        const char16_t* Name;
        std::string Magic;
    } cases[] = {{u"x.png", "\x89PNG"},
                 {u"y.BMP", "BM"},
                 {u"z.jpeg", "\xFF\xD8\xFF"},
                 {u"w.tif", "\xFF\xD8\xFF"},
                 {u"v", "BM"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUTF8(c.Name));
        SaveName = c.Name;
        Form1->btnCaptureClick(nullptr);
        const String name = folder + u"/" + c.Name + (HasFileExtension(c.Name) ? u"" : u".bmp");
        std::ifstream file(StringToUTF8(name), std::ios::binary);
        std::string head(c.Magic.size(), '\0');
        file.read(head.data(), std::streamsize(head.size()));
        EXPECT_EQ(head, c.Magic);
    }
    EXPECT_EQ(SnapshotTypeOfName(u"a.GIF"), u"GIF");
    EXPECT_EQ(SnapshotTypeOfName(u"a"), u"JPG");
}

}  // namespace
