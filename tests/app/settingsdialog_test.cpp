// The settings dialog as the program creates it: read from its description
// beside a main window, filled at creation, its wiring of category, format
// and preset fills, and its OK, Cancel and procedure buttons writing the
// main window's staging fields.
#include "app/settingsdialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/settingscatalogue.h"
#include "media/strovix.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/imagelist.h"
#include "platform/win/testdriver.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincombobox.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinofficelistbox.h"
#include "skin/core/qxskindata.h"
#include "skinforms.h"

namespace {

using TTexts = std::array<String, PresetParameterCount>;

class SettingsDialog : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        FFolder = std::filesystem::path(::testing::TempDir()) / (std::string("velqua-settings-") + test->name());
        std::filesystem::remove_all(FFolder);
        std::filesystem::create_directories(FFolder);
        Folder = UTF8ToString(FFolder.string());
        SetResourceFolder(UTF8ToString(VELQUA_RESOURCES_DIR));
        // The main window as far as the dialog's description names it.
        TForm* main = nullptr;
        Application->CreateForm(main);
        main->SetName(u"Form1");
        (new TqxSkinData(main))->SetName(u"qxSkinData1");
        Staging.Video_DisableVideo = true;
        SettingsDialogTarget = {&Staging, [this] { return Folder; }, [this] { return Overwrite; }};
        Application->OnException = [this](TObject*, const Exception& E) { Reported.push_back(E.Message()); };
    }
    void TearDown() override {
        SettingsDialogTarget = {};
        Form6 = nullptr;
        SkinFormsTest::TearDown();
        std::filesystem::remove_all(FFolder);
    }

    TForm6* Create() {
        Application->CreateForm(Form6);
        return Form6;
    }
    TqxSkinComboBox* Box(TPresetParameter AParameter) const { return Form6->ParameterBox(AParameter); }
    // The six boxes' texts by parameter.
    TTexts Texts() const {
        TTexts texts;
        for (Integer p = 0; p < PresetParameterCount; ++p)
            texts[p] = Box(TPresetParameter(p))->Text();
        return texts;
    }
    // Whether each box is enabled, by parameter.
    std::array<bool, PresetParameterCount> Enabled() const {
        std::array<bool, PresetParameterCount> enabled{};
        for (Integer p = 0; p < PresetParameterCount; ++p)
            enabled[p] = Box(TPresetParameter(p))->Enabled();
        return enabled;
    }
    void Choose(Integer ACategory, Integer AFormat) {
        Form6->qxSkinOfficeComboBox2->SetItemIndex(ACategory);
        Form6->qxSkinOfficeComboBox1->SetItemIndex(AFormat);
    }
    void ClickAt(TControl* AControl) {
        win::POINT point{AControl->Width() / 2, AControl->Height() / 2};
        win::ClientToScreen(AControl->Parent()->Handle(), &point);
        point.x += AControl->Left();
        point.y += AControl->Top();
        win::driver::Click(point);
        win::driver::Pump();
    }
    template <typename T>
    T* Named(const char16_t* AName) const {
        return dynamic_cast<T*>(Form6->FindComponent(AName));
    }

    TStagingFields Staging;
    String Folder;
    bool Overwrite = false;
    std::vector<String> Reported;
    std::filesystem::path FFolder;
};

TEST_F(SettingsDialog, StartUpLeavesItHiddenWithCommonVideoAndThePresetsOfKey100) {
    Create();
    ASSERT_NE(Form6, nullptr);
    EXPECT_FALSE(Form6->Visible());
    EXPECT_EQ(Form6->Caption(), u"设置选项");
    EXPECT_EQ(Form6->ClientWidth(), 1078);
    EXPECT_EQ(Form6->ClientHeight(), 474);
    // Built with the form, never used; the non-ASCII sheet is found by name.
    EXPECT_NE(Form6->Strovix, nullptr);
    EXPECT_NE(Form6->FindComponent(u"滤镜设置"), nullptr);
    EXPECT_EQ(Form6->ImageList1->Count(), 12);
    EXPECT_EQ(Form6->qxSkinOfficeComboBox2->Items()->Count(), 12);
    TqxSkinOfficeItems* formats = Form6->qxSkinOfficeComboBox1->Items();
    ASSERT_EQ(formats->Count(), 15);
    EXPECT_EQ(formats->Items(0)->Title(), u"AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(formats->Items(14)->Title(), u"RM - REAL视频格式(*.rm)");
    EXPECT_EQ(Form6->qxSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Texts(), (TTexts{u"保持原分辨率", u"816 kbps", u"25.00", u"128 kbps", u"44100", u"保持原视频模式"}));
    EXPECT_FALSE(Staging.Video_DisableVideo);
}

TEST_F(SettingsDialog, EveryCategoryRefillsItsFormatsAndRunsThePresetFillOnce) {
    Create();
    Integer fills = 0;
    TNotifyEvent fill = Form6->Button18->OnClick;
    Form6->Button18->OnClick = [&](TObject* ASender) {
        ++fills;
        fill(ASender);
    };
    Integer total = 0;
    for (Integer category = 0; category < SettingsCategoryCount; ++category) {
        fills = 0;
        Form6->qxSkinOfficeComboBox2->SetItemIndex(category);
        EXPECT_EQ(fills, 1) << category;
        TqxSkinOfficeItems* items = Form6->qxSkinOfficeComboBox1->Items();
        const std::span<const TSettingsFormat> expected = SettingsFormatsOf(category);
        ASSERT_EQ(items->Count(), Integer(expected.size())) << category;
        for (Integer i = 0; i < items->Count(); ++i) {
            EXPECT_EQ(items->Items(i)->Title(), expected[i].Title);
            EXPECT_EQ(items->Items(i)->Caption(), expected[i].Caption);
            EXPECT_EQ(items->Items(i)->ImageIndex(), -1);
        }
        total += items->Count();
    }
    EXPECT_EQ(total, 109);
    // Picking the selected format again fills the boxes again.
    const TTexts filled = Texts();
    Box(ppVideoBitrate)->SetItemIndex(0);
    ASSERT_NE(Texts(), filled);
    fills = 0;
    Form6->qxSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(Texts(), filled);
}

TEST_F(SettingsDialog, PresetFillByKey) {
    Create();
    const std::array<bool, PresetParameterCount> all = {true, true, true, true, true, true};
    // Audio-only: frame size, video rate, frame rate and mode off.
    const std::array<bool, PresetParameterCount> audio = {false, false, false, true, true, false};
    struct TCase {
        Integer Category, Format;
        TTexts Texts;
        std::array<bool, PresetParameterCount> Enabled;
    } cases[] = {
        {1, 0, {u"该格式无视频", u"无视频", u"无视频", u"128 kbps", u"44100", u"无视频"}, audio},
        {0, 0, {u"保持原分辨率", u"816 kbps", u"25.00", u"128 kbps", u"44100", u"保持原视频模式"}, all},
        {0, 11, {u"704*480", u"1200 kbps", u"29.97", u"128 kbps", u"44100", u"保持原视频模式"}, all},
        {1, 12, {u"该格式无视频", u"无视频", u"无视频", u"7.4 kbps", u"8000", u"无视频"}, audio},
        {3, 11, {}, all},
        {6, 8, {}, audio},
        // No row: six empty, enabled boxes.
        {0, -1, {}, all},
        {-1, -1, {}, all},
    };
    for (const TCase& c : cases) {
        Staging.Video_DisableVideo = true;
        Choose(c.Category, c.Format);
        const Integer key = SettingsKeyOf(c.Category, c.Format);
        EXPECT_EQ(Enabled(), c.Enabled) << key;
        EXPECT_FALSE(Staging.Video_DisableVideo) << key;
        if (key == 411) {
            EXPECT_EQ(Box(ppPictureMode)->ItemIndex(), 2);
            EXPECT_EQ(Box(ppPictureMode)->Text(), u"宽屏视频16:9模式");
        } else if (key == 708) {
            EXPECT_EQ(Box(ppFrameSize)->Text(), u"该格式无视频");
        } else {
            EXPECT_EQ(Texts(), c.Texts) << key;
        }
        if (SettingsPresetOf(key)) continue;
        for (Integer p = 0; p < PresetParameterCount; ++p)
            EXPECT_EQ(Box(TPresetParameter(p))->Items()->Count(), 0) << key;
    }
    // Key 109's small lists.
    Choose(0, 9);
    const Integer counts[] = {11, 15, 7, 6, 1, 2};
    for (Integer p = 0; p < PresetParameterCount; ++p)
        EXPECT_EQ(Box(TPresetParameter(p))->Items()->Count(), counts[p]) << p;
    // Outside the categories: an empty format list.
    Form6->qxSkinOfficeComboBox2->SetItemIndex(-1);
    EXPECT_EQ(Form6->qxSkinOfficeComboBox1->Items()->Count(), 0);
}

TEST_F(SettingsDialog, OkWritesTheCodecDataThenTheValuesAndHides) {
    Create();
    Form6->Show();
    win::driver::Pump();
    Choose(0, 0);
    Box(ppPictureMode)->SetItemIndex(2);
    Box(ppAudioBitrate)->SetItemIndex(0);
    std::ofstream(FFolder / "clip.avi") << "x";
    Staging.Video_AddFileName = u"/媒体/clip.mkv";
    ClickAt(Named<TqxSkinButton>(u"qxSkinButton2"));
    EXPECT_FALSE(Form6->Visible());
    EXPECT_TRUE(Reported.empty());
    // Numbered beside the existing file; the values win over the codec row's.
    EXPECT_EQ(Staging.Video_OutPutFileName, Folder + u"/clip_1.avi");
    EXPECT_EQ(Staging.Video_FrameAspectRatio, u"16:9");
    EXPECT_EQ(Staging.Video_VideoBitrate, 816000);
    EXPECT_EQ(Staging.Video_AudioBitrate, 16000);
    EXPECT_EQ(Staging.Video_AudioSampleRate, u"44100");
    EXPECT_EQ(Staging.Video_FrameSize, u"");
    EXPECT_EQ(Staging.Video_AddFileName, u"/媒体/clip.mkv");

    // With the overwrite choice, the name itself.
    Overwrite = true;
    Form6->Show();
    Form6->Button5->Click();
    EXPECT_EQ(Staging.Video_OutPutFileName, Folder + u"/clip.avi");
}

TEST_F(SettingsDialog, OkWithoutANumberBeforeKbpsReportsAndStaysShown) {
    Create();
    Form6->Show();
    win::driver::Pump();
    // No format: the boxes are empty and the video rate holds no number.
    Form6->qxSkinOfficeComboBox1->SetItemIndex(-1);
    Staging.Video_FrameSize = u"old";
    Staging.Video_AudioBitrate = 5;
    ClickAt(Named<TqxSkinButton>(u"qxSkinButton2"));
    EXPECT_EQ(Reported.size(), 1u);
    EXPECT_TRUE(Form6->Visible());
    EXPECT_EQ(Staging.Video_FrameSize, u"");
    EXPECT_EQ(Staging.Video_AudioBitrate, 5);
}

TEST_F(SettingsDialog, CancelAndTheProcedureButtons) {
    Create();
    Form6->Show();
    win::driver::Pump();
    Staging.Video_AddFileName = u"/媒体/a.avi";
    Staging.Video_AudioVolume = u"100";
    Staging.Video_VideoCodec = u"mpeg4";
    const TStagingFields before = Staging;
    // "确认oo数据" and "onchange用" have no handler.
    Named<TButton>(u"Button7")->Click();
    Named<TButton>(u"Button11")->Click();
    ClickAt(Named<TqxSkinButton>(u"qxSkinButton3"));
    EXPECT_FALSE(Form6->Visible());
    EXPECT_EQ(Staging.Video_VideoCodec, before.Video_VideoCodec);
    EXPECT_EQ(Staging.Video_AudioVolume, before.Video_AudioVolume);
    Named<TButton>(u"Button6")->Click();
    EXPECT_EQ(Staging.Video_AudioVolume, u"256");
    EXPECT_EQ(Staging.Video_VideoCodec, u"");
    EXPECT_EQ(Staging.Video_VideoBitrate, -1);
    EXPECT_EQ(Staging.Video_AddFileName, u"/媒体/a.avi");
    EXPECT_TRUE(Reported.empty());
}

TEST_F(SettingsDialog, ADescriptionErrorNamesTheNonAsciiComponent) {
    std::filesystem::create_directories(FFolder / "forms");
    std::ofstream(FFolder / "forms" / "TForm6.form") << "object Form6: TForm6\n"
                                                        "  object 滤镜设置: TqxSkinTabSheet\n"
                                                        "  end\n"
                                                        "  object ImageList1: TImageList\n"
                                                        "  end\n"
                                                        "  object Other: TqxSkinButton\n"
                                                        "    ImageList = 滤镜设置\n"
                                                        "  end\n"
                                                        "end\n";
    SetResourceFolder(Folder + u"/");
    try {
        Create();
        FAIL() << "read";
    } catch (const EFormDescriptionError& e) {
        EXPECT_NE(e.Message().find(u"TForm6.form:7"), String::npos) << StringToUTF8(e.Message());
        EXPECT_NE(e.Message().find(u"滤镜设置 is a"), String::npos) << StringToUTF8(e.Message());
    }
}

}  // namespace
