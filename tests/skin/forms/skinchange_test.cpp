// A form's part in a skin change: the walk over its controls, the order of
// the events, the frame objects rebuilt from the new skin or the default
// buttons, the caption buttons' states and hints, and a press that is still
// held while the skin goes.
#include <gtest/gtest.h>

#include <tuple>

#include "formtest.h"
#include "platform/toolkit/panels.h"
#include "platform/win/input.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskinedit.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/controls/qxskinlinklabel.h"
#include "skin/controls/qxskinofficecombobox.h"
#include "skin/controls/qxskinpagecontrol.h"
#include "skin/controls/qxskintreeview.h"
#include "skin/core/qxresstrs.h"
#include "skin/forms/captionbuttons.h"

using namespace win;
using namespace skinfixtures;

namespace {

std::vector<std::string> Log;

// A control that implements the skin-change interface and logs its calls.
template <typename TBase>
class TFakeSkinControl : public TBase, public IqxSkinChangeable {
public:
    TFakeSkinControl(TWinControl* AParent, const std::string& AName, TqxSkinData* ASkinData)
        : TBase(AParent), FName(AName), FSkinData(ASkinData) {
        TBase::SetParent(AParent);
    }
    TqxSkinData* SkinData() const override { return FSkinData; }
    void BeforeChangeSkinData() override { Log.push_back(FName + ".before"); }
    void ChangeSkinData() override { Log.push_back(FName + ".change"); }

private:
    std::string FName;
    TqxSkinData* FSkinData;
};
using TWindowed = TFakeSkinControl<TCustomControl>;
using TGraphic = TFakeSkinControl<TGraphicControl>;

// The fixture with one more stdbutton object.
TFixtureSkin WithObject(TFixtureSkin ASkin, const String& AName, const String& ACommand, const String& ARect,
                        bool AInPicture = true) {
    const Integer count = StrToInt(GetValue(ASkin, u"SKINOBJECTS", u"count"));
    SetValue(ASkin, u"SKINOBJECTS", IntToStr(count), AName + u":stdbutton");
    SetValue(ASkin, u"SKINOBJECTS", u"count", IntToStr(count + 1));
    SetValue(ASkin, AName, u"command", ACommand);
    SetValue(ASkin, AName, u"skinrect", ARect);
    SetValue(ASkin, AName, u"skinrectinapicture", AInPicture ? u"1" : u"0");
    SetValue(ASkin, AName, u"activepictureindex", GetValue(ASkin, u"closebutton", u"activepictureindex"));
    return ASkin;
}

class SkinChangeTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Log.clear();
    }
    TqxActiveSkinObject* Object(TForm* AForm, const String& AName) {
        const Integer index = D(AForm)->GetIndex(AName);
        return index == -1 ? nullptr : D(AForm)->ObjectList[size_t(index)].get();
    }
};

TEST_F(SkinChangeTest, TheWalkReachesTheControlsOfTheSendingSkinDataInOrder) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* mine = NewSkinData(ProjectSkin(u"default"));
    TqxSkinData* other = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(mine);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    // The panel is the first windowed child.
    new TWindowed(form, "w1", mine);
    new TWindowed(form, "w2", other);
    new TWindowed(form, "w3", nullptr);
    new TGraphic(form, "g1", mine);
    new TWindowed(panel, "p1", mine);
    new TGraphic(panel, "p2", mine);
    D(form)->OnBeforeChangeSkinData = [](TObject*) { Log.push_back("OnBeforeChangeSkinData"); };
    D(form)->OnChangeSkinData = [](TObject*) { Log.push_back("OnChangeSkinData"); };
    D(form)->OnAfterChangeSkinData = [](TObject*) { Log.push_back("OnAfterChangeSkinData"); };
    Log.clear();

    LoadFixture(mine, ProjectSkin(u"second"));
    // Graphic children first, then windowed ones; each windowed child before
    // its own children.
    EXPECT_EQ(Log, (std::vector<std::string>{"g1.before", "p2.before", "p1.before", "w1.before",
                                             "OnBeforeChangeSkinData", "OnChangeSkinData", "g1.change", "p2.change",
                                             "p1.change", "w1.change", "OnAfterChangeSkinData"}));

    // Another skin data changes: its controls only, and the frame stays.
    Log.clear();
    const TRect close = Object(form, u"closebutton")->ObjectRect;
    LoadFixture(other, ProjectSkin(u"second"));
    EXPECT_EQ(Log, (std::vector<std::string>{"w2.change", "OnAfterChangeSkinData"}));
    EXPECT_EQ(Object(form, u"closebutton")->ObjectRect, close);

    // Switching the frame mode re-reads every skinned control.
    Log.clear();
    D(form)->SetSkinnableForm(false);
    EXPECT_EQ(Log, (std::vector<std::string>{"OnChangeSkinData", "g1.change", "p2.change", "p1.change", "w1.change",
                                             "w2.change", "w3.change"}));
}

// The controls that keep their own skin link follow a change of the form's
// skin as one given the new skin afresh.
TEST_F(SkinChangeTest, PageControlsTreeViewsAndLabelsFollowTheFormsSkin) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    const auto make = [form, skin] {
        auto* pages = new TqxSkinPageControl(form);
        pages->SetParent(form);
        pages->SetSkinData(skin);
        auto* tree = new TqxSkinTreeView(form);
        tree->SetParent(form);
        tree->SetSkinData(skin);
        auto* label = new TqxSkinStdLabel(form);
        label->SetParent(form);
        label->SetSkinData(skin);
        return std::make_tuple(pages, tree, label);
    };
    const auto [pages, tree, label] = make();
    const TColor before = tree->Color(), pagesBefore = pages->Font()->Color();
    LoadFixture(skin, ProjectSkin(u"second"));
    EXPECT_NE(before, tree->Color());
    EXPECT_NE(pagesBefore, pages->Font()->Color());
    const auto [freshPages, freshTree, freshLabel] = make();
    EXPECT_EQ(freshPages->Font()->Color(), pages->Font()->Color());
    EXPECT_EQ(freshPages->TabRect, pages->TabRect);
    EXPECT_EQ(freshTree->Color(), tree->Color());
    EXPECT_EQ(freshTree->FLineColor, tree->FLineColor);
    EXPECT_EQ(freshLabel->Font()->Color(), label->Font()->Color());
}

TEST_F(SkinChangeTest, AClearedSkinGivesTheSixDefaultButtonsAtTheNextFramePaint) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    EXPECT_NE(Object(form, u"caption"), nullptr);
    skin->ClearSkin();
    EXPECT_FALSE(D(form)->SkinSupport());
    SendMessageW(form->Handle(), WM_NCPAINT, 0, 0);
    std::vector<String> names;
    for (const auto& object : D(form)->ObjectList)
        names.push_back(object->IDName);
    EXPECT_EQ(names, (std::vector<String>{u"closebutton", u"maxbutton", u"minbutton", u"rollupbutton",
                                          u"sysmenubutton", u"traybutton"}));
    // The tray button waits for biMinimizeToTray.
    EXPECT_FALSE(Object(form, u"traybutton")->Visible);
    EXPECT_TRUE(Object(form, u"rollupbutton")->Visible);
    EXPECT_EQ(driver::Inspect(form->Handle()).Client.top - form->Top(), 22);
}

TEST_F(SkinChangeTest, BorderIconsHideOwnPictureButtonsAndDisableFramePictureOnes) {
    TFixtureSkin skin = ProjectSkin(u"default");
    SetValue(skin, u"maxbutton", u"skinrectinapicture", u"0");
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    D(form)->SetSkinData(NewSkinData(skin));
    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize});
    const struct {
        const char16_t* Name;
        bool Visible, Enabled;
    } cases[] = {{u"minbutton", true, true},
                 {u"maxbutton", true, false},
                 {u"sysmenubutton", false, false},
                 {u"closebutton", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUTF8(c.Name));
        EXPECT_EQ(Object(form, c.Name)->Visible, c.Visible);
        EXPECT_EQ(Object(form, c.Name)->Enabled, c.Enabled);
    }
    // The states hold across a skin change, and a hidden caption bar hides
    // every own-picture button.
    LoadFixture(D(form)->SkinData(), skin);
    EXPECT_FALSE(Object(form, u"maxbutton")->Enabled);
    D(form)->SetHideCaptionButtons(true);
    D(form)->SetBorderIcons({TqxBorderIcon::biMinimize});
    EXPECT_FALSE(Object(form, u"minbutton")->Visible);
    EXPECT_TRUE(Object(form, u"maxbutton")->Visible);
    EXPECT_FALSE(Object(form, u"maxbutton")->Enabled);
}

TEST_F(SkinChangeTest, ADialogWithoutIconsShowsOnlyTheSkinsDialogCloseButton) {
    const TFixtureSkin skin = WithObject(ProjectSkin(u"default"), u"dialogclosebutton", u"cmclose", u"0,0,20,20");
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    D(form)->SetSkinData(NewSkinData(skin));
    EXPECT_FALSE(Object(form, u"dialogclosebutton")->Visible);
    EXPECT_TRUE(Object(form, u"closebutton")->Visible);
    for (const TqxBorderIcons icons : {TqxBorderIcons{}, TqxBorderIcons{TqxBorderIcon::biSystemMenu}}) {
        D(form)->SetBorderIcons(icons);
        EXPECT_TRUE(Object(form, u"dialogclosebutton")->Visible);
        EXPECT_TRUE(Object(form, u"dialogclosebutton")->Enabled);
        EXPECT_FALSE(Object(form, u"closebutton")->Visible);
    }
    // Without the dialog button the skin's own close button stays.
    TForm* plain = NewSkinnedForm(u"G", Rect(100, 100, 600, 500));
    D(plain)->SetSkinData(NewSkinData(ProjectSkin(u"default")));
    D(plain)->SetBorderIcons({});
    EXPECT_TRUE(Object(plain, u"closebutton")->Visible);
    EXPECT_FALSE(Object(plain, u"minbutton")->Visible);
    EXPECT_EQ(D(plain)->GetIndex(u"nothing"), -1);
    D(plain)->SetEnabled(u"nothing", false);
}

TEST_F(SkinChangeTest, CaptionButtonHintsComeFromTheResourceStrings) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    EXPECT_EQ(Object(form, u"closebutton")->Hint, u"Close");
    EXPECT_EQ(static_cast<TqxSkinStdButtonObject*>(Object(form, u"maxbutton"))->RestoreHint, u"Restore");
    auto* strings = new TqxResourceStrData(Application);
    strings->ResStrings()->Clear();
    strings->ResStrings()->Add(u"CLOSEBUTTON_HINT=关闭");
    strings->ResStrings()->Add(u"RESTORE_HINT=还原");
    skin->SetResourceStrData(strings);
    EXPECT_EQ(Object(form, u"closebutton")->Hint, u"关闭");
    EXPECT_EQ(static_cast<TqxSkinStdButtonObject*>(Object(form, u"maxbutton"))->RestoreHint, u"还原");
    // With the default hints off the hints stay.
    D(form)->SetUseDefaultObjectHint(false);
    strings->ResStrings()->Clear();
    strings->ResStrings()->Add(u"CLOSEBUTTON_HINT=X");
    skin->SetResourceStrData(strings);
    EXPECT_EQ(Object(form, u"closebutton")->Hint, u"关闭");
}

TEST_F(SkinChangeTest, APressStillHeldWhenTheSkinGoesLeavesNothingPointingIntoTheList) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    const TRect close = Object(form, u"closebutton")->ObjectRect;
    const POINT p = At(form, close.Left + 10, close.Top + 10);
    driver::MouseMove(p);
    driver::MouseDown(p);
    driver::Pump();
    ASSERT_NE(D(form)->MouseCaptureObject, -1);
    ASSERT_EQ(GetCapture(), form->Handle());
    // A handler between the old skin's end and the new one's load pumps the
    // mouse's messages.
    D(form)->OnBeforeChangeSkinData = [&](TObject*) {
        EXPECT_EQ(D(form)->MouseCaptureObject, -1);
        EXPECT_EQ(D(form)->ActiveObject, -1);
        EXPECT_EQ(GetCapture(), nullptr);
        driver::MouseMove(POINT{p.x + 3, p.y});
        driver::MouseUp(POINT{p.x + 3, p.y});
        driver::Click(At(form, 150, 10), VK_RBUTTON);
        driver::Pump();
    };
    LoadFixture(skin, ProjectSkin(u"second"));
    EXPECT_TRUE(form->Visible());
    EXPECT_NE(Object(form, u"closebutton"), nullptr);
}

TEST_F(SkinChangeTest, TheClientSizeAskedForIsKeptAfterEveryChange) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    D(form)->SetClientWidth(350);
    D(form)->SetClientHeight(230);
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    EXPECT_EQ(form->ClientWidth(), 350);
    EXPECT_EQ(form->ClientHeight(), 230);
    LoadFixture(skin, ProjectSkin(u"second"));
    EXPECT_EQ(form->ClientWidth(), 350);
    EXPECT_EQ(form->ClientHeight(), 230);
}

}  // namespace

namespace {

template <typename T>
const T* Element(TqxSkinData* ASkinData, const char16_t* AName) {
    return dynamic_cast<const T*>(ASkinData->CtrlList[ASkinData->GetControlIndex(AName)]);
}

}  // namespace

TEST_F(SkinChangeTest, TheEditTheLinkLabelAndTheOfficeComboFollowTheSkin) {
    TForm* form = NewSkinnedForm(u"F", Rect(100, 100, 600, 500));
    TqxSkinData* skin = NewSkinData(ProjectSkin(u"default"));
    D(form)->SetSkinData(skin);
    auto* edit = new TqxSkinEdit(form);
    edit->SetParent(form);
    edit->SetSkinData(skin);
    auto* label = new TqxSkinLinkLabel(form);
    label->SetParent(form);
    label->SetSkinData(skin);
    auto* combo = new TqxSkinOfficeComboBox(form);
    combo->SetParent(form);
    combo->SetSkinData(skin);
    const TColor before = edit->Font()->Color();
    LoadFixture(skin, ProjectSkin(u"second"));
    EXPECT_NE(before, edit->Font()->Color());
    EXPECT_EQ(Element<TqxDataSkinEditControl>(skin, u"edit")->FontColor, edit->Font()->Color());
    EXPECT_EQ(Element<TqxDataSkinStdLabelControl>(skin, u"stdlabel")->FontColor, label->FontColor);
    EXPECT_EQ(Element<TqxDataSkinComboBox>(skin, u"combobox")->FontColor, combo->FontColor);
    // The empty skin: every one of them back to its own look.
    skin->ClearSkin();
    EXPECT_EQ(-1, edit->FIndex);
    EXPECT_EQ(-1, label->FIndex);
    EXPECT_EQ(-1, combo->FIndex);
    EXPECT_EQ(edit->DefaultFont()->Color(), edit->Font()->Color());
}
