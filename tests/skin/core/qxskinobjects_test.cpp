// The 8 skin objects: kind words, defaults, the round trip of every key, the
// reading rules, and the alpha images of frame buttons.
#include "skin/core/qxskinobjects.h"

#include <gtest/gtest.h>

#include "elementtest.h"
#include "skin/core/qxskindata.h"
#include "skinfixtures.h"

using namespace skinfixtures;

namespace {

TEST(SkinObjects, EveryKindHasItsWordAndItsDefaults) {
    ASSERT_EQ(8u, SkinObjectKinds().size());
    for (const String& word : SkinObjectKinds())
        ExpectWordAndDefaults(word, true);
    EXPECT_EQ(nullptr, CreateSkinObject(u"stdButton", u"x"));
    TMemIniFile empty;
    TqxDataSkinAnimate animate(u"e");
    animate.LoadFromFile(&empty);
    EXPECT_EQ(1, animate.CountFrames);
    EXPECT_EQ(50, animate.TimerInterval);
    EXPECT_EQ(cmDefault, animate.Command);
    EXPECT_EQ(-1, animate.ActivePictureIndex);
    TqxDataSkinCaption caption(u"e");
    caption.LoadFromFile(&empty);
    EXPECT_EQ(3, caption.GlowSize);
    EXPECT_EQ(-1, caption.QuickButtonAlphaMaskPictureIndex);
    EXPECT_EQ(255, caption.GlowLayerAlphaBlendValue);
    EXPECT_EQ(u"Tahoma", caption.FontName);
}

TEST(SkinObjects, EveryKeyRoundTrips) {
    for (const String& word : SkinObjectKinds()) {
        ExpectKeysRoundTrip(word, true, [&](std::vector<String>& ALines) {
            // An animate object never morphs.
            if (word == u"animate")
                std::replace(ALines.begin(), ALines.end(), String(u"morphing=1"), String(u"morphing=0"));
        });
    }
}

TEST(SkinObjects, KeysSpelledAsSkinsSpellThem) {
    TMemIniFile ini;
    TqxDataSkinButton(u"b").SaveToFile(&ini);
    TqxDataSkinMainMenuBarItem(u"m").SaveToFile(&ini);
    TqxDataSkinCaption(u"c").SaveToFile(&ini);
    TqxDataUserObject(u"u").SaveToFile(&ini);
    EXPECT_TRUE(ini.ValueExists(u"b", u"disableskinrsect"));
    const std::vector<String> item = SectionLines(&ini, u"m");
    EXPECT_NE(item.end(), std::find(item.begin(), item.end(), String(u"unenabledfontColor=0")));
    EXPECT_TRUE(ini.ValueExists(u"c", u"reflactioncolor"));
    EXPECT_TRUE(ini.ValueExists(u"c", u"reflactionactivecolor"));
    // A user object writes its rectangle and nothing else.
    EXPECT_EQ(std::vector<String>{u"skinrect=0,0,0,0"}, SectionLines(&ini, u"u"));
}

TEST(SkinObjects, ReadingRules) {
    TMemIniFile ini;
    const auto section = [&](const String& AName,
                             std::initializer_list<std::pair<const char16_t*, const char16_t*>> AKeys) {
        ini.EraseSection(AName);
        for (const auto& [key, value] : AKeys)
            ini.WriteString(AName, key, value);
    };
    // The restore hint of maximize, minimize and roll-up buttons.
    struct TCase {
        const char16_t* Hint;
        const char16_t* Command;
        const char16_t* RestoreHint;  // nullptr: missing
        const char16_t* Expected;
    } cases[] = {
        {u"Maximize", u"cmmaximize", nullptr, u"Restore"}, {u"maximize", u"cmmaximize", nullptr, u""},
        {u"Maximize", u"cmminimize", nullptr, u""},        {u"Minimize", u"cmminimize", u"", u"Restore"},
        {u"Roll Up", u"cmrollup", nullptr, u"Restore"},    {u"RollUp", u"cmrollup", nullptr, u"Restore"},
        {u"Maximize", u"cmmaximize", u"Back", u"Back"},    {u"Close", u"cmclose", nullptr, u""},
    };
    for (const TCase& c : cases) {
        section(u"b", {{u"hint", c.Hint}, {u"command", c.Command}});
        if (c.RestoreHint) ini.WriteString(u"b", u"restorehint", c.RestoreHint);
        TqxDataSkinStdButton button(u"b");
        button.LoadFromFile(&ini);
        EXPECT_EQ(c.Expected, button.RestoreHint) << StringToUTF8(c.Hint) << " " << StringToUTF8(c.Command);
        TqxDataSkinAnimate animate(u"b");
        animate.LoadFromFile(&ini);
        EXPECT_EQ(c.Expected, animate.RestoreHint);
    }

    // An animate object never morphs; a user object reads its rectangle only.
    section(u"a", {{u"morphing", u"1"}, {u"activepictureindex", u"2"}, {u"skinrect", u"1,2,3,4"}});
    TqxDataSkinAnimate animate(u"a");
    animate.LoadFromFile(&ini);
    EXPECT_FALSE(animate.Morphing);
    EXPECT_EQ(2, animate.ActivePictureIndex);
    TqxDataUserObject user(u"a");
    user.LoadFromFile(&ini);
    EXPECT_EQ(-1, user.ActivePictureIndex);
    EXPECT_EQ(Rect(1, 2, 3, 4), user.SkinRect);

    // Active menu images without pixels take the normal ones.
    section(u"mi", {{u"arrowimagerect", u"0,0,8,8"},
                    {u"checkimagerect", u"8,0,16,8"},
                    {u"activecheckimagerect", u"16,0,24,0"},
                    {u"radioimagerect", u"24,0,32,8"},
                    {u"activeradioimagerect", u"32,0,40,8"}});
    TqxDataSkinMenuItem item(u"mi");
    item.LoadFromFile(&ini);
    EXPECT_EQ(Rect(0, 0, 8, 8), item.ActiveArrowImageRect);
    EXPECT_EQ(Rect(8, 0, 16, 8), item.ActiveCheckImageRect);
    EXPECT_EQ(Rect(32, 0, 40, 8), item.ActiveRadioImageRect);
}

// Alpha images of caption buttons need a full-border layer frame.
class AlphaImagesTest : public ::testing::Test {
protected:
    void Load(const TFixtureSkin& ASkin) { LoadFixture(&FData, ASkin); }
    TqxDataSkinStdButton* Close() { return dynamic_cast<TqxDataSkinStdButton*>(FData.ObjectList[0]); }

    TqxSkinData FData{nullptr};
};

TEST_F(AlphaImagesTest, BuiltFromTheMaskWithAFullBorderFrame) {
    Load(LayeredSkin());
    TqxDataSkinStdButton* close = Close();
    ASSERT_TRUE(close->FAlphaNormalImage);
    ASSERT_TRUE(close->FAlphaActiveImage);
    ASSERT_TRUE(close->FAlphaDownImage);
    // No inactive rectangle, no restore rectangles.
    EXPECT_FALSE(close->FAlphaInActiveImage);
    EXPECT_FALSE(close->FAlphaRestoreNormalImage);
    const TqxBitmap& image = *close->FAlphaNormalImage;
    EXPECT_EQ(16, image.Width());
    EXPECT_TRUE(image.AlphaBlend());
    // The mask's grey ramp is the alpha; the colours are premultiplied by it.
    EXPECT_EQ(0u, *image.GetPixelPtr(0, 8));
    EXPECT_EQ(0xFFC42B1Cu, *image.GetPixelPtr(15, 8));
    const TqxColor middle = *image.GetPixelPtr(8, 8);
    EXPECT_EQ(136u, middle >> 24);
    EXPECT_NEAR(0xC4 * 136 / 255.0, double((middle >> 16) & 0xFF), 0.5);
}

TEST_F(AlphaImagesTest, NoneWithoutAFullBorderFrame) {
    for (const auto& [key, value] : {std::pair{u"fullborder", u"0"}, std::pair{u"pictureindex", u"-1"}}) {
        TFixtureSkin skin = LayeredSkin();
        SetValue(skin, u"LAYERFRAME", key, value);
        Load(skin);
        EXPECT_FALSE(Close()->FAlphaNormalImage) << StringToUTF8(key);
        EXPECT_FALSE(Close()->FAlphaActiveImage);
    }
}

TEST_F(AlphaImagesTest, IndexesOutsideThePicturesRectanglesPastThemAndSmallMasks) {
    struct TCase {
        const char16_t* Key;
        const char16_t* Value;
        bool Built;
    } cases[] = {
        {u"activepictureindex", u"-5", false},
        {u"activepictureindex", u"99", false},
        {u"activepictureindex", u"6", false},
        // A mask outside the list means no mask: the image is opaque.
        {u"alphamaskpictureindex", u"-5", true},
        {u"alphamaskpictureindex", u"99", true},
        // A mask smaller than the image gives no image.
        {u"skinrect", u"0,0,20,16", false},
    };
    for (const TCase& c : cases) {
        TFixtureSkin skin = LayeredSkin();
        SetValue(skin, u"closebutton", c.Key, c.Value);
        Load(skin);
        ASSERT_EQ(c.Built, bool(Close()->FAlphaNormalImage))
            << StringToUTF8(c.Key) << "=" << StringToUTF8(c.Value);
        if (c.Built) {
            EXPECT_EQ(0xFFC42B1Cu, *Close()->FAlphaNormalImage->GetPixelPtr(0, 0));
        }
    }
    // A rectangle reaching past its 48 x 16 picture is cut to it before the
    // image is made; one wholly outside makes none.
    struct TCut {
        const char16_t* Rect;
        Integer Width, Height;
    } cuts[] = {{u"40,8,56,24", 8, 8}, {u"0,0,8000,8000", 48, 16}, {u"48,0,8000,8000", 0, 0}};
    for (const TCut& c : cuts) {
        TFixtureSkin skin = LayeredSkin();
        SetValue(skin, u"closebutton", u"alphamaskpictureindex", u"-1");
        SetValue(skin, u"closebutton", u"skinrect", c.Rect);
        Load(skin);
        const TqxBitmap* image = Close()->FAlphaNormalImage.get();
        ASSERT_EQ(c.Width > 0, image != nullptr) << StringToUTF8(c.Rect);
        if (!image) continue;
        EXPECT_EQ(c.Width, image->Width());
        EXPECT_EQ(c.Height, image->Height());
        EXPECT_EQ(0xFFC42B1Cu, *image->GetPixelPtr(c.Width - 1, c.Height - 1));
    }
}

}  // namespace
