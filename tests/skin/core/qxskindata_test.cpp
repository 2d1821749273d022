// The skin data component: folder skins, what every form hears and when,
// damaged skins, skin lists, the pictures, the writers, fonts, and the skin
// components in form descriptions.
#include "skin/core/qxskindata.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>

#include "platform/base/fileutils.h"
#include "platform/toolkit/formloader.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxzlibcompress.h"
#include "skinfixtures.h"
#include "skinforms.h"
#include "skinreaders.h"

using namespace skinfixtures;

// The class of the layered frame windows, which never hear skin messages.
class TqxFormLayerWindow : public TRecordingForm {
public:
    using TRecordingForm::TRecordingForm;
};

namespace {

using Names = std::vector<std::string>;

// A skin distinguishable from the minimal one by its control count.
TFixtureSkin TwoControlSkin() {
    TFixtureSkin skin = MinimalSkin();
    SetValue(skin, u"VERSION", u"skinname", u"two");
    SetValue(skin, u"SKINCONTROLS", u"count", u"2");
    SetValue(skin, u"SKINCONTROLS", u"1", u"panel:panel");
    return skin;
}

class SkinDataTest : public SkinFormsTest {
protected:
    // Forms A, B and C; the skin data belongs to B.
    void MakeForms() {
        FA = NewForm(u"A");
        FB = NewForm(u"B");
        FC = NewForm(u"C");
        FData = new TqxSkinData(FB);
        SkinMessages.clear();
    }
    // The forms' names in the screen's order.
    static Names ScreenOrder() {
        Names names;
        for (Integer i = 0; i < Screen->FormCount(); ++i)
            names.push_back(StringToUTF8(Screen->Forms(i)->Name()));
        return names;
    }
    static Names Receivers() {
        Names names;
        for (const TSkinMessage& message : SkinMessages)
            names.push_back(message.Form);
        return names;
    }

    TRecordingForm* FA = nullptr;
    TRecordingForm* FB = nullptr;
    TRecordingForm* FC = nullptr;
    TqxSkinData* FData = nullptr;
};

TEST_F(SkinDataTest, AFolderSkinLoads) {
    TTempFolder folder;
    TFixtureSkin skin = MinimalSkin();
    // Stored names may hold sub-folders, written with either separator.
    SetValue(skin, u"PICTURES", u"picture", u"pics\\form.bmp");
    SetValue(skin, u"PICTURES", u"activepicturescount", u"1");
    SetValue(skin, u"PICTURES", u"0", u"pics/form.bmp");
    skin.Files[u"pics/form.bmp"] = skin.Files[u"form.bmp"];
    TqxSkinData data(nullptr);
    data.LoadFromFile(WriteFolderSkin(skin, folder.Path()));
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(u"minimal", data.SkinName);
    EXPECT_EQ(u"pics\\form.bmp", data.FPictureName);
    EXPECT_EQ(40, data.FPicture->Width());
    EXPECT_TRUE(data.FMask->Empty());
    ASSERT_EQ(1, data.FActivePictures.Count());
    EXPECT_EQ(40, data.GetActivePicture(0)->Height());
    EXPECT_EQ(nullptr, data.GetActivePicture(1));
    EXPECT_EQ(nullptr, data.GetActivePicture(-1));
    ASSERT_EQ(1, data.CtrlList.Count());
    EXPECT_EQ(u"button", data.CtrlList[0]->IDName);

    // A file that is not there changes nothing.
    data.LoadFromFile(folder.Path() + u"missing.ini");
    EXPECT_EQ(u"minimal", data.SkinName);
}

// The checks that refuse damaged values refuse nothing of the skins the
// program ships.
TEST_F(SkinDataTest, TheProjectSkinsKeepEveryElement) {
    for (const char16_t* name : {u"default", u"second"}) {
        SCOPED_TRACE(StringToUTF8(name));
        const TFixtureSkin& skin = ProjectSkin(name);
        const auto count = [&](const char16_t* ASection) {
            return StrToInt(GetValue(skin, ASection, u"count"));
        };
        TqxSkinData data(nullptr);
        LoadFixture(&data, skin);
        Integer known = 0;
        for (Integer i = 0; i < count(u"SKINCONTROLS"); ++i) {
            String element, kind;
            SplitIndexEntry(GetValue(skin, u"SKINCONTROLS", IntToStr(i)), element, kind);
            if (CreateSkinControl(kind, element)) ++known;
        }
        EXPECT_GT(known, 20);
        EXPECT_EQ(known, data.CtrlList.Count());
        EXPECT_EQ(count(u"SKINOBJECTS"), data.ObjectList.Count());
        EXPECT_FALSE(data.FPicture->Empty());
    }
}

TEST_F(SkinDataTest, EveryFormHearsTheChangeInOrder) {
    MakeForms();
    const Names screen = ScreenOrder();
    Names reversed(screen.rbegin(), screen.rend());
    Names ownerFirst = {"B"};
    for (const std::string& name : screen)
        if (name != "B") ownerFirst.push_back(name);
    TFixtureSkin layered = TwoControlSkin();
    SetValue(layered, u"PICTURES", u"activepicturescount", u"1");
    SetValue(layered, u"PICTURES", u"0", u"form.bmp");
    SetValue(layered, u"LAYERFRAME", u"pictureindex", u"0");
    struct TCase {
        bool ShowLayeredBorders;
        const TFixtureSkin* Skin;
        Names Order;
    };
    const TFixtureSkin minimal = MinimalSkin();
    const TCase cases[] = {
        {false, &layered, ownerFirst}, {true, &minimal, screen}, {true, &layered, reversed}};
    for (const TCase& c : cases) {
        FData->SetShowLayeredBorders(c.ShowLayeredBorders);
        // SKINMSG_CHANGING goes out while the old skin is still in place.
        LoadFixture(FData, *c.Skin);
        SkinMessages.clear();
        LoadFixture(FData, *c.Skin);
        ASSERT_EQ(9u, SkinMessages.size());
        const Names all = Receivers();
        for (size_t m = 0; m < 3; ++m)
            EXPECT_EQ(c.Order, Names(all.begin() + long(3 * m), all.begin() + long(3 * m + 3)))
                << c.ShowLayeredBorders << " message " << m;
    }
    // The layered frame windows hear nothing.
    new TqxFormLayerWindow(Application, u"Layer");
    SkinMessages.clear();
    FData->ClearSkin();
    for (const TSkinMessage& message : SkinMessages)
        EXPECT_NE("Layer", message.Form);
    EXPECT_EQ(9u, SkinMessages.size());
}

TEST_F(SkinDataTest, WhatReceiversSeeInEachMessage) {
    MakeForms();
    LoadFixture(FData, MinimalSkin());
    std::vector<std::string> events;
    FData->OnLoadData = [&](TObject* ASender) {
        EXPECT_EQ(FData, ASender);
        events.push_back("OnLoadData after " + std::to_string(SkinMessages.size()));
        EXPECT_FALSE(FData->Empty);
        EXPECT_TRUE(FData->ChangeSkinDataProcess);
    };
    SkinMessages.clear();
    LoadFixture(FData, TwoControlSkin());
    struct TSeen {
        win::UINT Msg;
        bool Empty;
        bool ChangeSkinDataProcess;
        Integer Controls;
    } expected[] = {{SKINMSG_CHANGING, true, true, 1},
                    {SKINMSG_CHANGE, false, true, 2},
                    {SKINMSG_CHANGED, false, false, 2}};
    ASSERT_EQ(9u, SkinMessages.size());
    for (size_t i = 0; i < SkinMessages.size(); ++i) {
        const TSkinMessage& message = SkinMessages[i];
        const TSeen& seen = expected[i / 3];
        EXPECT_EQ(seen.Msg, message.Msg) << i;
        EXPECT_EQ(reinterpret_cast<win::WPARAM>(FData), message.WParam);
        EXPECT_EQ(1000, message.LParam);
        EXPECT_EQ(seen.Empty, message.Empty) << i;
        EXPECT_EQ(seen.ChangeSkinDataProcess, message.ChangeSkinDataProcess) << i;
        EXPECT_EQ(seen.Controls, message.Controls) << i;
    }
    EXPECT_EQ(std::vector<std::string>{"OnLoadData after 3"}, events);

    // ClearSkin clears first: its receivers see an empty skin at once, and
    // it leaves ChangeSkinDataProcess alone.
    FData->OnLoadData = nullptr;
    SkinMessages.clear();
    FData->ClearSkin();
    ASSERT_EQ(9u, SkinMessages.size());
    EXPECT_EQ(SKINMSG_CHANGING, SkinMessages[0].Msg);
    EXPECT_EQ(SKINMSG_CHANGED, SkinMessages[8].Msg);
    for (const TSkinMessage& message : SkinMessages) {
        EXPECT_TRUE(message.Empty);
        EXPECT_FALSE(message.ChangeSkinDataProcess);
        EXPECT_EQ(0, message.Controls);
    }
    EXPECT_TRUE(FData->FPicture->Empty());
    EXPECT_EQ(u"", FData->FPictureName);
}

TEST_F(SkinDataTest, AFormFreedDuringTheChangeIsSkipped) {
    MakeForms();
    // The first form to hear the change frees the last one.
    TCustomForm* victim = Screen->Forms(Screen->FormCount() - 1);
    auto* first = dynamic_cast<TRecordingForm*>(Screen->Forms(0));
    first->OnSkinMessage = [&](const TSkinMessage& AMessage) {
        if (AMessage.Msg == SKINMSG_CHANGING && victim) FreeAndNil(victim);
    };
    LoadFixture(FData, MinimalSkin());
    EXPECT_EQ(nullptr, victim);
    EXPECT_EQ(6u, SkinMessages.size());
    EXPECT_FALSE(FData->Empty);
}

// What a load of a damaged skin does to a skin data that holds the minimal
// skin: loads it, refuses it silently, or raises and keeps the old one.
enum TOutcome { oLoads, oRefused, oRaises };

TEST_F(SkinDataTest, DamagedSkins) {
    struct TCase {
        std::string Skin;
        TOutcome Outcome;
        std::function<void(const Exception&)> Error;
        std::function<void(TqxSkinData&)> Check;
    };
    const auto is = [](auto* ATyped) {
        return [](const Exception& E) {
            EXPECT_NE(nullptr, dynamic_cast<const std::remove_pointer_t<decltype(ATyped)>*>(&E)) << E.what();
        };
    };
    const std::vector<TCase> cases = {
        {"no SKINCONTROLS", oRefused, {}, {}},
        {"empty VERSION", oRefused, {}, {}},
        {"rectangle with an empty part",
         oRaises,
         [](const Exception& E) { EXPECT_EQ(u"'' is not a valid integer value", E.Message()); },
         {}},
        {"missing BMP", oRaises, is((EFOpenError*)nullptr), {}},
        {"picture indexes -5 and 99",
         oLoads,
         {},
         [](TqxSkinData& D) {
             // The control element is left out: its control takes the default
             // look. The frame's parts draw what exists of theirs.
             EXPECT_EQ(-1, D.GetControlIndex(u"button"));
             EXPECT_FALSE(D.LayerFrame()->FSourceBitmap);
             EXPECT_FALSE(dynamic_cast<TqxDataSkinStdButton*>(D.ObjectList[0])->FAlphaNormalImage);
         }},
        {"huge counts",
         oLoads,
         {},
         [](TqxSkinData& D) {
             EXPECT_EQ(1, D.FActivePictures.Count());
             EXPECT_EQ(1, D.CtrlList.Count());
             EXPECT_EQ(0, D.ObjectList.Count());
         }},
        {"rectangles far past their picture",
         oLoads,
         {},
         [](TqxSkinData& D) {
             // Cut to the 48 x 16 picture before any image is made.
             auto* close = dynamic_cast<TqxDataSkinStdButton*>(D.ObjectList[0]);
             for (const auto* image : {close->FAlphaNormalImage.get(), close->FAlphaActiveImage.get()}) {
                 ASSERT_TRUE(image);
                 EXPECT_EQ(48, image->Width());
                 EXPECT_EQ(16, image->Height());
             }
         }},
        {"stored name with ../",
         oLoads,
         {},
         [](TqxSkinData& D) { EXPECT_EQ(4, D.GetActivePicture(0)->Width()); }},
        // Values that make no sense give way to the default look.
        {"metrics of 2e9",
         oLoads,
         {},
         [](TqxSkinData& D) {
             EXPECT_EQ(-1, D.GetControlIndex(u"button"));
             EXPECT_EQ(40, D.FPicture->Width());
             EXPECT_EQ(13, D.HintWindow()->FontHeight);
             EXPECT_FALSE(D.HintWindow()->LeftStretch);
         }},
        {"a frame of 2e9", oRaises, is((EInvalidSkin*)nullptr), {}},
        {"an inverted frame", oRaises, is((EInvalidSkin*)nullptr), {}},
        {"inverted rectangles",
         oLoads,
         {},
         [](TqxSkinData& D) { EXPECT_EQ(-1, D.GetControlIndex(u"button")); }},
        {"a picture past the pixel budget", oRaises, is((ESkinTooLarge*)nullptr), {}},
        {"payload version 4", oRefused, {}, {}},
        {"container version 4", oRefused, {}, {}},
        {"negative container length", oRaises, is((EReadError*)nullptr), {}},
        {"overlong container length", oRaises, is((EReadError*)nullptr), {}},
        {"truncated zlib", oRaises, is((EDecompressionError*)nullptr), {}},
        {"bytes after the zlib data", oLoads, {}, {}},
        {"BMP with a false size", oRaises, is((EReadError*)nullptr), {}},
        {"a payload whose text is no skin", oRaises, is((EInvalidSkin*)nullptr), {}},
        {"pictures past the pixel budget together",
         oRaises,
         [](const Exception& E) {
             EXPECT_NE(nullptr, dynamic_cast<const ESkinTooLarge*>(&E)) << E.what();
             EXPECT_EQ(u"The skin's pictures need more than 16777216 pixels", E.Message());
         },
         {}},
    };
    ASSERT_EQ(BrokenSkins().size(), cases.size());
    MakeForms();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Skin);
        LoadFixture(FData, TwoControlSkin());
        SkinMessages.clear();
        const TBrokenSkin& broken = BrokenSkin(c.Skin);
        TTempFolder folder;
        const auto started = std::chrono::steady_clock::now();
        std::optional<String> error;
        try {
            if (broken.Container.empty()) {
                FData->LoadFromFile(WriteFolderSkin(broken.Folder, folder.Path() + u"skin/"));
            } else {
                FData->LoadCompressedStoredSkin(StoredSkin(broken.Container).get());
            }
            ASSERT_NE(oRaises, c.Outcome) << "no error";
        } catch (const Exception& e) {
            ASSERT_EQ(oRaises, c.Outcome) << e.what();
            c.Error(e);
        }
        // Damaged counts and sizes never make a load slow.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        if (c.Outcome == oLoads) {
            EXPECT_EQ(9u, SkinMessages.size());
            EXPECT_EQ(
                broken.Container.empty() ? GetValue(broken.Folder, u"VERSION", u"skinname") : u"minimal",
                FData->SkinName);
            EXPECT_FALSE(FData->ChangeSkinDataProcess);
            if (c.Check) c.Check(*FData);
        } else {
            // The old skin stays, complete, and nobody heard a thing.
            EXPECT_TRUE(SkinMessages.empty());
            EXPECT_FALSE(FData->Empty);
            EXPECT_FALSE(FData->ChangeSkinDataProcess);
            EXPECT_EQ(u"two", FData->SkinName);
            EXPECT_EQ(2, FData->CtrlList.Count());
            EXPECT_EQ(40, FData->FPicture->Width());
        }
    }
}

TEST_F(SkinDataTest, AFolderSkinsPicturesShareOneBudget) {
    // Two one-bit pictures beside the small form picture: a row short of the
    // budget loads, with one row more the last picture passes it.
    for (const Integer rows : {2047, 2048}) {
        TFixtureSkin skin = MinimalSkin();
        SetValue(skin, u"PICTURES", u"activepicturescount", u"2");
        SetValue(skin, u"PICTURES", u"0", u"half1.bmp");
        SetValue(skin, u"PICTURES", u"1", u"half2.bmp");
        skin.Files[u"half1.bmp"] = MonoBmp(4096, 2048);
        skin.Files[u"half2.bmp"] = MonoBmp(4096, rows);
        TTempFolder folder;
        TqxSkinData data(nullptr);
        const String file = WriteFolderSkin(skin, folder.Path() + u"skin/");
        if (rows == 2047) {
            data.LoadFromFile(file);
            EXPECT_EQ(2, data.FActivePictures.Count());
        } else {
            EXPECT_THROW(data.LoadFromFile(file), ESkinTooLarge);
            EXPECT_TRUE(data.Empty);
        }
    }
}

TEST_F(SkinDataTest, SkinListsAndStoredSkins) {
    MakeForms();
    TqxCompressedSkinList list(nullptr);
    for (const TFixtureSkin& skin : {MinimalSkin(), TwoControlSkin()}) {
        TStringStream container(CompressedSkin(skin));
        list.Skins()->Add()->ReadSkinData(&container);
    }
    struct TStep {
        std::function<void()> Do;
        Integer SkinIndex;
        const char16_t* Loaded;  // nullptr: nothing loaded by the step
    };
    TqxCompressedStoredSkin stored(nullptr);
    TStringStream container(CompressedSkin(TwoControlSkin()));
    stored.LoadFromCompressStream(&container);
    const std::vector<TStep> steps = {
        // Without a list any index is only stored.
        {[&] { FData->SetSkinIndex(5); }, 5, nullptr},
        {[&] { FData->SetSkinIndex(0); }, 0, nullptr},
        // Attaching the list loads the item at the index.
        {[&] { FData->SetSkinList(&list); }, 0, u"minimal"},
        {[&] { FData->SetSkinIndex(5); }, 0, nullptr},
        {[&] { FData->SetSkinIndex(-1); }, 0, nullptr},
        {[&] { FData->SetSkinIndex(1); }, 1, u"two"},
        {[&] { FData->SetSkinIndex(1); }, 1, nullptr},
        {[&] { FData->SetSkinIndex(0); }, 0, u"minimal"},
        // A stored skin loads every time it is set.
        {[&] { FData->SetCompressedStoredSkin(&stored); }, 0, u"two"},
        {[&] { FData->SetCompressedStoredSkin(&stored); }, 0, u"two"},
        {[&] { FData->SetCompressedStoredSkin(nullptr); }, 0, nullptr},
        {[&] { FData->SetSkinList(nullptr); }, 0, nullptr},
        {[&] { FData->SetSkinIndex(7); }, 7, nullptr},
        // An index past the list's end loads nothing when the list comes.
        {[&] { FData->SetSkinList(&list); }, 7, nullptr},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SkinMessages.clear();
        const String before = FData->SkinName;
        steps[i].Do();
        EXPECT_EQ(steps[i].SkinIndex, FData->SkinIndex()) << "step " << i;
        EXPECT_EQ(steps[i].Loaded ? 9u : 0u, SkinMessages.size()) << "step " << i;
        EXPECT_EQ(steps[i].Loaded ? String(steps[i].Loaded) : before, FData->SkinName) << "step " << i;
    }

    // An item that fails to load leaves the index on the skin in use.
    FData->SetSkinIndex(0);
    TStringStream broken(BrokenSkin("truncated zlib").Container);
    list.Skins()->Items(1)->ReadSkinData(&broken);
    EXPECT_THROW(FData->SetSkinIndex(1), EDecompressionError);
    EXPECT_EQ(0, FData->SkinIndex());
    EXPECT_EQ(u"minimal", FData->SkinName);
}

TEST_F(SkinDataTest, ReferencesAreDroppedWhenTheirComponentsGo) {
    TqxSkinData data(nullptr);
    auto* list = new TqxCompressedSkinList(nullptr);
    auto* stored = new TqxCompressedStoredSkin(nullptr);
    auto* strings = new TqxResourceStrData(nullptr);
    data.SetSkinList(list);
    data.SetCompressedStoredSkin(stored);
    data.SetResourceStrData(strings);
    Free(list);
    Free(stored);
    Free(strings);
    EXPECT_EQ(nullptr, data.SkinList());
    EXPECT_EQ(nullptr, data.CompressedStoredSkin());
    EXPECT_EQ(nullptr, data.ResourceStrData());
    EXPECT_TRUE(data.Empty);
}

TEST_F(SkinDataTest, PropertyChangesAreAnnounced) {
    MakeForms();
    TqxResourceStrData strings(nullptr);
    struct TCase {
        std::function<void()> Do;
        Names Heard;
    };
    const std::vector<TCase> cases = {
        {[&] { FData->SetSkinnableForm(false); }, {"SKINNABLEFORM"}},
        {[&] { FData->SetSkinnableForm(false); }, {}},
        {[&] { FData->SetShowLayeredBorders(false); }, {"LAYEREDBORDERS"}},
        {[&] { FData->SetAeroBlurEnabled(false); }, {"AEROBLUR"}},
        {[&] { FData->SetAeroBlurEnabled(false); }, {}},
        {[&] { FData->SetEnableSkinEffects(false); }, {}},
        {[&] { FData->SetResourceStrData(&strings); }, {"RESSTRINGS"}},
        // While a description is read only the text table is announced.
        {[&] {
             FData->IncludeState(csLoading);
             FData->SetSkinnableForm(true);
             FData->SetShowLayeredBorders(true);
             FData->SetAeroBlurEnabled(true);
             FData->SetResourceStrData(nullptr);
             FData->ExcludeState(csLoading);
         },
         {"RESSTRINGS"}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SkinMessages.clear();
        cases[i].Do();
        Names heard;
        for (const std::string& name : MessageNames())
            if (name.starts_with("A:")) heard.push_back(name.substr(2));
        EXPECT_EQ(cases[i].Heard, heard) << "case " << i;
        EXPECT_EQ(3 * cases[i].Heard.size(), SkinMessages.size()) << "case " << i;
    }
}

TEST_F(SkinDataTest, ActivePictures) {
    TTempFolder folder;
    WriteFileBytes(folder.Path() + u"one.bmp", SolidBmp(3, 2, 0x112233));
    TqxSkinData data(nullptr);
    data.AddBitMap(folder.Path() + u"one.bmp");
    ASSERT_EQ(1, data.FActivePictures.Count());
    EXPECT_EQ(u"one.bmp", data.FActivePicturesNames->Get(0));
    EXPECT_EQ(3, data.GetActivePicture(0)->Width());
    // A picture that cannot be read adds nothing.
    EXPECT_THROW(data.AddBitMap(folder.Path() + u"missing.bmp"), EFOpenError);
    WriteFileBytes(folder.Path() + u"bad.bmp", "not a picture");
    EXPECT_THROW(data.AddBitMap(folder.Path() + u"bad.bmp"), Exception);
    EXPECT_EQ(1, data.FActivePictures.Count());
    EXPECT_EQ(1, data.FActivePicturesNames->Count());
    EXPECT_THROW(data.DeleteBitMap(1), EListError);
    data.DeleteBitMap(0);
    EXPECT_EQ(0, data.FActivePictures.Count());
    EXPECT_EQ(0, data.FActivePicturesNames->Count());
}

TEST_F(SkinDataTest, SavingKeepsOtherSectionsAndStoringStaysInTheFolder) {
    TTempFolder folder;
    TFixtureSkin skin = MinimalSkin();
    SetValue(skin, u"PICTURES", u"activepicturescount", u"1");
    SetValue(skin, u"PICTURES", u"0", u"sub\\part.bmp");
    skin.Files[u"sub/part.bmp"] = SolidBmp(5, 5, 0x445566);
    TqxSkinData data(nullptr);
    data.LoadFromFile(WriteFolderSkin(skin, folder.Path() + u"in"));

    const String saved = folder.Path() + u"saved.ini";
    WriteFileBytes(saved, "; mine\r\n[MYSECTION]\r\nkey=value\r\n[VERSION]\r\nold=1\r\n");
    data.SaveToFile(saved);
    TMemIniFile ini(saved);
    EXPECT_EQ(u"value", ini.ReadString(u"MYSECTION", u"key", u""));
    EXPECT_FALSE(ini.ValueExists(u"VERSION", u"old"));
    EXPECT_EQ(u"1", ini.ReadString(u"VERSION", u"ver", u""));
    EXPECT_EQ(u"button:button", ini.ReadString(u"SKINCONTROLS", u"0", u""));

    const String stored = folder.Path() + u"out/skin.ini";
    ForceDirectories(folder.Path() + u"out");
    data.StoreToDisk(stored);
    EXPECT_EQ(ReadFileBytes(folder.Path() + u"in/form.bmp"), ReadFileBytes(folder.Path() + u"out/form.bmp"));
    EXPECT_TRUE(FileExists(folder.Path() + u"out/sub/part.bmp"));
    TqxSkinData reread(nullptr);
    reread.LoadFromFile(stored);
    EXPECT_EQ(5, reread.GetActivePicture(0)->Width());

    // A name that leaves the folder is refused before anything is written.
    for (const char16_t* name : {u"../escape.bmp", u"sub\\..\\..\\escape.bmp", u"/tmp/escape.bmp"}) {
        data.FActivePicturesNames->Put(0, name);
        const String target = folder.Path() + u"refused/skin.ini";
        ForceDirectories(folder.Path() + u"refused");
        EXPECT_THROW(data.StoreToDisk(target), EFCreateError) << StringToUTF8(name);
        EXPECT_FALSE(FileExists(target));
        EXPECT_FALSE(FileExists(folder.Path() + u"escape.bmp"));
    }

    // After ClearSkin the picture names are written empty.
    data.ClearSkin();
    data.SaveToFile(saved);
    TMemIniFile cleared(saved);
    EXPECT_EQ(u"", cleared.ReadString(u"PICTURES", u"picture", u"?"));
    EXPECT_EQ(u"", cleared.ReadString(u"PICTURES", u"inactivepicture", u"?"));
    EXPECT_EQ(u"", cleared.ReadString(u"PICTURES", u"mask", u"?"));
    EXPECT_EQ(u"0", cleared.ReadString(u"SKINCONTROLS", u"count", u"?"));
}

TEST_F(SkinDataTest, GlobalChangeFont) {
    TFixtureSkin skin = MinimalSkin();
    SetValue(skin, u"SKINOBJECTS", u"count", u"3");
    SetValue(skin, u"SKINOBJECTS", u"0", u"menuitem:menuitem");
    SetValue(skin, u"SKINOBJECTS", u"1", u"caption:caption");
    SetValue(skin, u"SKINOBJECTS", u"2", u"close:stdbutton");
    SetValue(skin, u"SKINCONTROLS", u"count", u"4");
    SetValue(skin, u"SKINCONTROLS", u"1", u"grid:grid");
    SetValue(skin, u"SKINCONTROLS", u"2", u"list:checklistbox");
    SetValue(skin, u"SKINCONTROLS", u"3", u"bar:scrollbar");
    SetValue(skin, u"caption", u"fontheight", u"20");
    TqxSkinData data(nullptr);
    LoadFixture(&data, skin);
    data.GlobalChangeFont(u"黑体", 2);
    EXPECT_EQ(u"黑体", data.HintWindow()->FontName);
    EXPECT_EQ(15, data.HintWindow()->FontHeight);
    EXPECT_EQ(u"黑体", dynamic_cast<TqxDataSkinMenuItem*>(data.ObjectList[0])->FontName);
    EXPECT_EQ(22, dynamic_cast<TqxDataSkinCaption*>(data.ObjectList[1])->FontHeight);
    EXPECT_EQ(u"黑体", dynamic_cast<TqxDataSkinButtonControl*>(data.CtrlList[0])->FontName);
    const auto* grid = dynamic_cast<TqxDataSkinGridControl*>(data.CtrlList[1]);
    EXPECT_EQ(u"黑体", grid->FixedFontName);
    EXPECT_EQ(15, grid->FixedFontHeight);
    const auto* list = dynamic_cast<TqxDataSkinCheckListBox*>(data.CtrlList[2]);
    EXPECT_EQ(u"黑体", list->CaptionFontName);
    EXPECT_EQ(15, list->CaptionFontHeight);
    EXPECT_EQ(15, list->FontHeight);
}

// What libFuzzer does where it can be built, with damage that is the same
// every run: the folder reader raises the library's errors, nothing else.
TEST(SkinReaders, DamagedFolderSkins) {
    const std::pair<TFixtureSkin, int> seeds[] = {
        {MinimalSkin(), 1000}, {LayeredSkin(), 1000}, {ProjectSkin(u"default"), 100}};
    for (const auto& [skin, count] : seeds) {
        EXPECT_TRUE(ReadFolderSkinText(IniText(skin)));
        int loaded = 0;
        for (const std::string& text : DamagedTexts(IniText(skin), count, 7))
            loaded += ReadFolderSkinText(text) ? 1 : 0;
        EXPECT_GT(loaded, 0);
        EXPECT_LT(loaded, count);
    }
}

// The skin components as a form description gives them: the skin list's
// items and the stored skin's data come from files under the resources.
class SkinDescriptionTest : public SkinFormsTest {
protected:
    void SetUp() override {
        SkinFormsTest::SetUp();
        FSaved = ResourceFolder();
        SetResourceFolder(FFolder.Path());
        ForceDirectories(FFolder.Path() + u"skins");
        WriteFileBytes(FFolder.Path() + u"skins/minimal.skn", CompressedSkin(MinimalSkin()));
        WriteFileBytes(FFolder.Path() + u"skins/two.zlib", Deflate(Payload(TwoControlSkin())));
    }
    void TearDown() override {
        SetResourceFolder(FSaved);
        SkinFormsTest::TearDown();
    }
    // The list's items: the light skin alone unless AItems names others.
    TForm* Read(Integer ASkinIndex, const String& AItems =
                                        u"      item\r\n"
                                        u"        Name = 'light'\r\n"
                                        u"        Description = '浅色'\r\n"
                                        u"        Skin = 'skins/minimal.skn'\r\n"
                                        u"      end") {
        const String text =
            u"object Form1: TRecordingForm\r\n"
            u"  object qxSkinData1: TqxSkinData\r\n"
            u"    SkinIndex = " +
            IntToStr(ASkinIndex) +
            u"\r\n"
            u"    SkinList = qxCompressedSkinList1\r\n"
            u"    ShowLayeredBorders = False\r\n"
            u"  end\r\n"
            u"  object qxSkinData2: TqxSkinData\r\n"
            u"    CompressedStoredSkin = qxCompressedStoredSkin1\r\n"
            u"  end\r\n"
            u"  object qxCompressedSkinList1: TqxCompressedSkinList\r\n"
            u"    Skins = <\r\n" +
            AItems +
            u">\r\n"
            u"  end\r\n"
            u"  object qxCompressedStoredSkin1: TqxCompressedStoredSkin\r\n"
            u"    CompressedData = 'skins/two.zlib'\r\n"
            u"  end\r\n"
            u"end\r\n";
        WriteFileBytes(FFolder.Path() + u"form.txt", StringToUTF8(text));
        auto* form = new TRecordingForm(Application, u"");
        ReadDescriptionFile(form, FFolder.Path() + u"form.txt");
        return form;
    }
    static TqxSkinData* SkinData(TForm* AForm, const char16_t* AName) {
        return dynamic_cast<TqxSkinData*>(AForm->FindComponent(AName));
    }

    TTempFolder FFolder;
    String FSaved;
};

TEST_F(SkinDescriptionTest, AnIndexPastTheListLoadsNothing) {
    TForm* form = Read(1);
    TqxSkinData* data = SkinData(form, u"qxSkinData1");
    EXPECT_TRUE(data->Empty);
    EXPECT_EQ(1, data->SkinIndex());
    ASSERT_NE(nullptr, data->SkinList());
    ASSERT_EQ(1, data->SkinList()->Skins()->Count());
    EXPECT_EQ(u"light", data->SkinList()->Skins()->Items(0)->Name());
    EXPECT_EQ(u"浅色", data->SkinList()->Skins()->Items(0)->Description());
    // Only a valid index loads it.
    data->SetSkinIndex(0);
    EXPECT_EQ(u"minimal", data->SkinName);
    // The stored skin loaded while the form was read.
    EXPECT_EQ(u"two", SkinData(form, u"qxSkinData2")->SkinName);
}

// A skin file that cannot be read costs the list that skin, not the form:
// one missing, one cut short, one whose zlib data is damaged. The skin data
// picks from what is left; the list tells what it left out and why.
TEST_F(SkinDescriptionTest, UnreadableSkinsAreLeftOutOfTheList) {
    const std::string good = CompressedSkin(MinimalSkin());
    WriteFileBytes(FFolder.Path() + u"skins/short.skn", good.substr(0, good.size() / 2));
    std::string flipped = good;
    flipped[flipped.size() / 2] = char(~flipped[flipped.size() / 2]);
    WriteFileBytes(FFolder.Path() + u"skins/flipped.skn", flipped);
    String items;
    for (const char16_t* name : {u"missing", u"short", u"minimal", u"flipped"})
        items += u"      item\r\n        Name = '" + String(name) + u"'\r\n        Skin = 'skins/" + name +
                 u".skn'\r\n      end\r\n";
    TForm* form = Read(0, items.substr(0, items.size() - 2));

    TqxSkinData* data = SkinData(form, u"qxSkinData1");
    TqxCompressedSkinList* list = data->SkinList();
    ASSERT_EQ(1, list->Skins()->Count());
    EXPECT_EQ(u"minimal", list->Skins()->Items(0)->Name());
    EXPECT_EQ(u"minimal", data->SkinName);
    const std::vector<String>& left = list->LeftOutSkins();
    ASSERT_EQ(3u, left.size());
    const char16_t* reasons[] = {u"skins/missing.skn: ", u"skins/short.skn: Stream read error",
                                 u"skins/flipped.skn: "};
    for (size_t i = 0; i < left.size(); ++i) {
        EXPECT_TRUE(left[i].starts_with(FFolder.Path())) << StringToUTF8(left[i]);
        EXPECT_NE(left[i].find(reasons[i]), String::npos) << StringToUTF8(left[i]);
        // Each says why after the name.
        EXPECT_FALSE(left[i].ends_with(u": ")) << StringToUTF8(left[i]);
    }
}

TEST_F(SkinDescriptionTest, AValidIndexLoadsWhileTheFormIsRead) {
    TForm* form = Read(0);
    TqxSkinData* data = SkinData(form, u"qxSkinData1");
    EXPECT_FALSE(data->Empty);
    EXPECT_EQ(u"minimal", data->SkinName);
    EXPECT_FALSE(data->ShowLayeredBorders());
    // Read in file order: SkinIndex first, the list when the references are
    // fixed, so the owner heard the change before the description ended.
    ASSERT_FALSE(SkinMessages.empty());
    EXPECT_EQ(SKINMSG_CHANGING, SkinMessages[0].Msg);
}

}  // namespace
