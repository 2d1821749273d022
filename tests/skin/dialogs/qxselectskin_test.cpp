// The skin-selection dialog: the rows and the index or stored skin it hands
// back, the preview's own skin data, and the miniature as a disabled child
// window of the dialog.
#include "skin/dialogs/qxselectskin.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialogrun.h"
#include "platform/base/streams.h"
#include "platform/win/input.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinlistbox.h"
#include "skin/forms/dravenfold.h"
#include "skinfixtures.h"
#include "skinforms.h"

using namespace skinfixtures;
namespace driver = win::driver;

namespace {

class SelectSkin : public SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        FList = new TqxCompressedSkinList(Application);
        for (const TFixtureSkin& skin : {MinimalSkin(), FlatSkin()}) {
            TStringStream container(CompressedSkin(skin));
            FList->Skins()->Add()->ReadSkinData(&container);
        }
        FList->Skins()->Items(0)->SetDescription(u"最小");
        FAppSkin = new TqxSkinData(Application);
        FAppSkin->SetSkinList(FList);
        FDialog = new TqxSelectSkinDialog(Application);
        FDialog->SetSkinList(FList);
        FDialog->SetSkinData(FAppSkin);
        FDialog->SetCtrlSkinData(FAppSkin);
    }

    static bool Run(std::function<bool()> AExecute, std::function<void(TqxSelectSkinDlgForm*)> AStep) {
        return RunDialog<TqxSelectSkinDlgForm>(AExecute, std::move(AStep));
    }
    bool RunList(Integer AIndex, std::function<void(TqxSelectSkinDlgForm*)> AStep) {
        return Run([this, AIndex] { return FDialog->Execute(AIndex); }, AStep);
    }
    static void Ok(TqxSelectSkinDlgForm*) {
        driver::Key(win::VK_RETURN);
        Application->ProcessMessages();
    }

    TqxCompressedSkinList* FList = nullptr;
    TqxSkinData* FAppSkin = nullptr;
    TqxSelectSkinDialog* FDialog = nullptr;
};

TEST_F(SelectSkin, ListModeHandsBackTheIndexPreviewedLast) {
    struct TCase {
        Integer Start;
        Integer Pick;  // -1: the list is left alone
        Integer Result;
    };
    const TCase cases[] = {{0, -1, 0}, {-1, -1, -1}, {5, -1, 5}, {-1, 1, 1}};
    for (const TCase& c : cases) {
        std::vector<String> rows;
        EXPECT_TRUE(RunList(c.Start, [&](TqxSelectSkinDlgForm* AForm) {
            for (Integer i = 0; i < AForm->SkinsListBox->Items()->Count(); ++i)
                rows.push_back(AForm->SkinsListBox->Items()->Strings(i));
            if (c.Pick >= 0) {
                AForm->SkinsListBox->SetItemIndex(c.Pick);
                AForm->SLBOnChange(nullptr);
                EXPECT_FALSE(AForm->PreviewSkinData->Empty);
            }
            Ok(AForm);
        })) << c.Start;
        EXPECT_EQ(FDialog->SelectedSkinIndex(), c.Result) << c.Start;
        // The description, else the name.
        EXPECT_EQ(rows, (std::vector<String>{u"最小", FList->Skins()->Items(1)->Name()}));
    }
    EXPECT_FALSE(RunList(1, [](TqxSelectSkinDlgForm*) {}));
    EXPECT_EQ(FDialog->SelectedSkinIndex(), -1);
}

TEST_F(SelectSkin, BrowsingLeavesTheApplicationsSkinAlone) {
    FAppSkin->SetSkinIndex(0);
    ASSERT_FALSE(FAppSkin->Empty);
    const Integer controls = Integer(FAppSkin->CtrlList.Count());
    RunList(0, [&](TqxSelectSkinDlgForm* AForm) {
        AForm->SkinsListBox->SetItemIndex(1);
        AForm->SLBOnChange(nullptr);
        EXPECT_EQ(AForm->PreviewSkinData->SkinIndex(), 1);
    });
    EXPECT_EQ(FAppSkin->SkinIndex(), 0);
    EXPECT_EQ(Integer(FAppSkin->CtrlList.Count()), controls);
}

TEST_F(SelectSkin, TheMiniatureIsADisabledChildWindowOfTheDialog) {
    win::HWND dialog = nullptr, parent = nullptr;
    win::LONG_PTR style = 0;
    bool enabled = true;
    bool dialogActive = false;
    RunList(0, [&](TqxSelectSkinDlgForm* AForm) {
        dialog = AForm->Handle();
        parent = win::GetParent(AForm->PreviewForm->Handle());
        style = win::GetWindowLongPtrW(AForm->PreviewForm->Handle(), win::GWL_STYLE);
        enabled = win::IsWindowEnabled(AForm->PreviewForm->Handle());
        const TPoint inside = AForm->PreviewForm->ClientToScreen(TPoint(5, 60));
        driver::Click({inside.X, inside.Y});
        Application->ProcessMessages();
        dialogActive = Screen->ActiveCustomForm() == AForm;
    });
    EXPECT_EQ(parent, dialog);
    EXPECT_TRUE(style & win::WS_CHILD);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(dialogActive);
}

TEST_F(SelectSkin, TheMiniatureDrawsItsFrameBelowTheSkinsMinimumSize) {
    // The project skins ask for forms wider than the 220-pixel miniature.
    // Its caption must still be the skin's: right-anchored, so it matches a
    // top-level form of the same skin pixel for pixel from the right edge.
    for (const char16_t* name : {u"default", u"second"}) {
        auto* list = new TqxCompressedSkinList(Application);
        TStringStream container(CompressedSkin(ProjectSkin(name)));
        list->Skins()->Add()->ReadSkinData(&container);
        auto* skin = new TqxSkinData(Application);
        skin->SetSkinList(list);
        auto* form = new TForm(Application);
        auto* frame = new TqxDravenfold(form);
        frame->PreviewMode = true;
        frame->SetSkinData(skin);
        form->SetCaption(u"Preview");
        form->SetBounds(0, 0, 400, 170);
        form->Show();
        driver::Pump();
        ASSERT_LT(220, frame->GetMinWidth()) << StringToUTF8(name);
        FDialog->SetSkinList(list);
        RunList(0, [&](TqxSelectSkinDlgForm* AForm) {
            driver::Pump();
            const win::HWND mini = AForm->PreviewForm->Handle();
            const auto bounds = driver::Inspect(mini).Bounds;
            const auto dialog = driver::Inspect(AForm->Handle()).Bounds;
            const auto client = driver::Inspect(mini).Client;
            ASSERT_EQ(bounds.right - bounds.left, 220);
            const int band = client.top - bounds.top;
            ASSERT_GT(band, 10);
            Integer unpainted = 0;
            for (int y = 2; y < band; y += 3)
                for (int k = 10; k < 150; k += 7) {
                    const int x = 220 - 1 - k;
                    const win::DWORD shown = driver::RawPixel(AForm->Handle(), bounds.left - dialog.left + x,
                                                              bounds.top - dialog.top + y);
                    const win::DWORD expected = driver::RawPixel(form->Handle(), 400 - 1 - k, y);
                    EXPECT_EQ(shown & 0xFFFFFF, expected & 0xFFFFFF)
                        << StringToUTF8(name) << " " << x << "," << y;
                    if ((shown & 0xFFFFFF) == 0) ++unpainted;
                }
            EXPECT_EQ(unpainted, 0);
        });
        delete form;
    }
}

// Switching the preview between skins whose minimum form size exceeds the
// miniature keeps it at its place and size inside the dialog.
TEST_F(SelectSkin, TheMiniatureKeepsItsPlaceAcrossSkins) {
    auto* list = new TqxCompressedSkinList(Application);
    for (const char16_t* name : {u"default", u"second"}) {
        TStringStream container(CompressedSkin(ProjectSkin(name)));
        list->Skins()->Add()->ReadSkinData(&container);
    }
    FDialog->SetSkinList(list);
    RunList(0, [&](TqxSelectSkinDlgForm* AForm) {
        for (const Integer row : {1, 0, 1}) {
            AForm->SkinsListBox->SetItemIndex(row);
            AForm->SLBOnChange(nullptr);
            driver::Pump();
            const TForm* mini = AForm->PreviewForm;
            EXPECT_EQ(mini->BoundsRect(), Bounds(190, 10, 220, 170)) << row;
        }
    });
}

TEST_F(SelectSkin, ADoubleClickPreviewsAndClosesWithOk) {
    EXPECT_TRUE(RunList(0, [&](TqxSelectSkinDlgForm* AForm) {
        AForm->SkinsListBox->SetItemIndex(1);
        AForm->SLBOnChange(nullptr);
        AForm->SLBOnDblClick(nullptr);
    }));
    EXPECT_EQ(FDialog->SelectedSkinIndex(), 1);
}

TEST_F(SelectSkin, WithoutAListOrAnOwnerNothingIsShown) {
    FDialog->SetSkinList(nullptr);
    bool shown = false;
    EXPECT_FALSE(RunList(0, [&](TqxSelectSkinDlgForm*) { shown = true; }));
    TqxSelectSkinDialog orphan(nullptr);
    EXPECT_FALSE(Run([&] { return orphan.Execute(static_cast<TqxCompressedStoredSkin*>(nullptr)); },
                     [&](TqxSelectSkinDlgForm*) { shown = true; }));
    EXPECT_FALSE(shown);
}

TEST_F(SelectSkin, StoredSkinModeListsTheOwnersStoredSkins) {
    auto* owner = new TForm(Application);
    auto* dialog = new TqxSelectSkinDialog(owner);
    TqxCompressedStoredSkin* skins[2];
    for (Integer i = 0; i < 2; ++i) {
        skins[i] = new TqxCompressedStoredSkin(owner);
        skins[i]->SetName(u"Stored" + IntToStr(i));
        TStringStream container(CompressedSkin(i == 0 ? MinimalSkin() : FlatSkin()));
        skins[i]->LoadFromCompressStream(&container);
    }
    Integer start = -1;
    EXPECT_TRUE(Run([&] { return dialog->Execute(skins[1]); },
                    [&](TqxSelectSkinDlgForm* AForm) {
                        start = AForm->SkinsListBox->ItemIndex();
                        AForm->SkinsListBox->SetItemIndex(0);
                        AForm->SLBOnChange(nullptr);
                        Ok(AForm);
                    }));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(dialog->SelectedSkin(), skins[0]);
    delete owner;
}

}  // namespace
