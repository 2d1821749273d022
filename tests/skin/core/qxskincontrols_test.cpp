// The 29 control elements: kind words, defaults, the round trip of every
// key, the up-down's rule and the lookups.
#include "skin/core/qxskincontrols.h"

#include <gtest/gtest.h>

#include "elementtest.h"
#include "skin/core/qxskindata.h"

namespace {

TEST(SkinControls, EveryKindHasItsWordAndItsDefaults) {
    ASSERT_EQ(29u, SkinControlKinds().size());
    for (const String& word : SkinControlKinds())
        ExpectWordAndDefaults(word, false);
    EXPECT_EQ(nullptr, CreateSkinControl(u"Button", u"x"));
    EXPECT_EQ(nullptr, CreateSkinControl(u"", u"x"));
    // Subclasses keep their own words.
    EXPECT_EQ(u"checklistbox", SkinControlKind(CreateSkinControl(u"checklistbox", u"x").get()));
    EXPECT_EQ(u"menubutton", SkinControlKind(CreateSkinControl(u"menubutton", u"x").get()));
    // A memo is an edit element to a control that asks for one.
    EXPECT_NE(nullptr, dynamic_cast<TqxDataSkinEditControl*>(CreateSkinControl(u"memo", u"x").get()));
}

TEST(SkinControls, EveryKeyRoundTrips) {
    for (const String& word : SkinControlKinds()) {
        ExpectKeysRoundTrip(word, false, [&](std::vector<String>& ALines) {
            if (word != u"updown") return;
            // An up-down never keeps corner points or a client rectangle.
            for (String& line : ALines) {
                if (line.starts_with(u"clientrect="))
                    line = u"clientrect=0,0,0,0";
                else if (line.ends_with(u"point=4,6"))
                    line = line.substr(0, line.find(u'=') + 1) + u"0,0";
            }
        });
    }
}

TEST(SkinControls, DefaultsAreTheTables) {
    TMemIniFile empty;
    const auto control = [&](const char16_t* AKind) {
        std::unique_ptr<TqxDataSkinControl> element = CreateSkinControl(AKind, u"e");
        element->LoadFromFile(&empty);
        return element;
    };
    const auto button = control(u"button");
    const auto* b = dynamic_cast<TqxDataSkinButtonControl*>(button.get());
    EXPECT_EQ(-1, b->PictureIndex);
    EXPECT_EQ(-1, b->MaskPictureIndex);
    EXPECT_EQ(u"Tahoma", b->FontName);
    EXPECT_EQ(13, b->FontHeight);
    EXPECT_EQ(25, b->AnimateInterval);
    EXPECT_EQ(-1, b->GlowLayerPictureIndex);
    EXPECT_EQ(255, b->GlowLayerAlphaBlendValue);
    EXPECT_EQ(qxstFull, b->StretchType);
    EXPECT_EQ(0x00FF0000,
              dynamic_cast<TqxDataSkinStdLabelControl*>(control(u"stdlabel").get())->ActiveFontColor);
    const auto list = control(u"listbox");
    const auto* l = dynamic_cast<TqxDataSkinListBox*>(list.get());
    EXPECT_EQ(u"vscrollbar", l->VScrollBarName);
    EXPECT_EQ(u"hscrollbar", l->HScrollBarName);
    EXPECT_EQ(u"bothhscrollbar", l->BothScrollBarName);
    EXPECT_EQ(u"Tahoma", l->CaptionFontName);
    EXPECT_EQ(13, l->CaptionFontHeight);
    const auto menu = control(u"appmenu");
    const auto* m = dynamic_cast<TqxDataSkinAppMenu*>(menu.get());
    EXPECT_EQ(3, m->ItemOffset1);
    EXPECT_EQ(10, m->PageItemOffset2);
    EXPECT_EQ(16, m->FontPageHeight);
    EXPECT_EQ(3, dynamic_cast<TqxDataSkinControlBar*>(control(u"controlbar").get())->ItemOffset2);
    EXPECT_EQ(taCenter, dynamic_cast<TqxDataSkinPanelControl*>(control(u"panel").get())->Alignment);
    EXPECT_EQ(u"", dynamic_cast<TqxDataSkinComboBox*>(control(u"combobox").get())->ListBoxName);
}

TEST(SkinControls, AnUpDownNeverKeepsItsGeometry) {
    TMemIniFile ini;
    ini.WriteString(u"ud", u"lefttoppoint", u"5,5");
    ini.WriteString(u"ud", u"clientrect", u"1,1,9,9");
    ini.WriteString(u"ud", u"upbuttonrect", u"0,0,9,9");
    TqxDataSkinUpDownControl updown(u"ud");
    updown.LoadFromFile(&ini);
    EXPECT_EQ(TPoint{}, updown.LTPoint);
    EXPECT_EQ(TRect{}, updown.ClRect);
    EXPECT_EQ(Rect(0, 0, 9, 9), updown.UpButtonRect);
    updown.LTPoint = Point(3, 3);
    updown.ClRect = Rect(1, 1, 2, 2);
    updown.SaveToFile(&ini);
    EXPECT_EQ(u"0,0", ini.ReadString(u"ud", u"lefttoppoint", u""));
    EXPECT_EQ(u"0,0,0,0", ini.ReadString(u"ud", u"clientrect", u""));
}

TEST(SkinControls, LookupsTakeTheFirstAndCompareExactly) {
    TqxSkinData data(nullptr);
    EXPECT_EQ(-1, data.GetControlIndex(u""));
    data.CtrlList.Add(CreateSkinControl(u"button", u"button"));
    data.CtrlList.Add(CreateSkinControl(u"panel", u"button"));
    data.CtrlList.Add(CreateSkinControl(u"panel", u""));
    data.ObjectList.Add(CreateSkinObject(u"caption", u"caption"));
    EXPECT_EQ(0, data.GetControlIndex(u"button"));
    EXPECT_EQ(-1, data.GetControlIndex(u"Button"));
    EXPECT_EQ(2, data.GetControlIndex(u""));
    EXPECT_EQ(0, data.GetIndex(u"caption"));
    EXPECT_EQ(-1, data.GetIndex(u"button"));
}

}  // namespace
