// The program's own skins: made the same every run, complete for every
// control kind the program draws, consistent, legible; and the flat fixture
// made from the default one.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/base/fileutils.h"
#include "platform/gdi/fontmatch.h"
#include "platform/gdi/text.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxutils.h"
#include "skinfixtures.h"
#include "skingen.h"

using namespace skinfixtures;

namespace {

const String BuiltSkins = UTF8ToString(VELQUA_SKINS_DIR "/");

std::string PictureBytes(const TGeneratedSkin& ASkin) {
    std::string bytes;
    for (const auto& [name, picture] : ASkin.Pictures)
        bytes += StringToUTF8(name) + BmpFile(picture.get());
    return bytes;
}

TEST(ProjectSkins, TheSameBytesEveryRun) {
    for (const String& name : ProjectSkinNames()) {
        SCOPED_TRACE(StringToUTF8(name));
        const TGeneratedSkin first = GenerateSkin(name), second = GenerateSkin(name);
        EXPECT_EQ(first.Ini, second.Ini);
        EXPECT_EQ(PictureBytes(first), PictureBytes(second));
        // The build's files are what this run makes.
        TTempFolder folder;
        const String ini = WriteGeneratedSkin(first, folder.Path() + name);
        WriteCompressedSkin(ini, folder.Path() + name + u".skn");
        EXPECT_EQ(ReadFileBytes(BuiltSkins + name + u".skn"), ReadFileBytes(folder.Path() + name + u".skn"));
        EXPECT_EQ(ReadFileBytes(BuiltSkins + name + u"/skin.ini"), ReadFileBytes(ini));
    }
    EXPECT_THROW(GenerateSkin(u"third"), EConvertError);
}

// A project skin loaded from the build's files.
class ProjectSkinTest : public ::testing::TestWithParam<const char16_t*> {
protected:
    void SetUp() override {
        FData.LoadFromCompressedFile(BuiltSkins + GetParam() + u".skn");
        ASSERT_FALSE(FData.Empty);
        FIni = std::make_unique<TMemIniFile>(BuiltSkins + GetParam() + u"/skin.ini");
    }
    template <typename T>
    T* Control(const char16_t* AName) {
        const Integer index = FData.GetControlIndex(AName);
        return index < 0 ? nullptr : dynamic_cast<T*>(FData.CtrlList[index]);
    }

    TqxSkinData FData{nullptr};
    std::unique_ptr<TMemIniFile> FIni;
};

TEST_P(ProjectSkinTest, TheFolderSkinAndTheCompressedOneAreTheSame) {
    TqxSkinData folder(nullptr);
    folder.LoadFromFile(BuiltSkins + GetParam() + u"/skin.ini");
    TMemIniFile a, b;
    folder.WriteSkinIni(&a);
    FData.WriteSkinIni(&b);
    TStringList la, lb;
    a.GetStrings(&la);
    b.GetStrings(&lb);
    EXPECT_EQ(la.Text(), lb.Text());
    ASSERT_EQ(folder.FActivePictures.Count(), FData.FActivePictures.Count());
    for (Integer i = 0; i < FData.FActivePictures.Count(); ++i)
        EXPECT_EQ(BmpFile(folder.GetActivePicture(i)), BmpFile(FData.GetActivePicture(i)));
}

TEST_P(ProjectSkinTest, EverySectionAndElementTheProgramUses) {
    const std::vector<std::pair<const char16_t*, std::vector<const char16_t*>>> sections = {
        {u"VERSION", {u"ver", u"skinname", u"skinauthor", u"skincomments"}},
        {u"PICTURES", {u"picture", u"inactivepicture", u"mask", u"activepicturescount"}},
        {u"FORMINFO",
         {u"lefttoppoint",
          u"righttoppoint",
          u"leftbottompoint",
          u"rightbottompoint",
          u"clientrect",
          u"captionrect",
          u"buttonsrect",
          u"buttonsoffset",
          u"borderwidth",
          u"hittestlefttoppoint",
          u"hittestrighttoppoint",
          u"hittestleftbottompoint",
          u"hittestrightbottompoint",
          u"leftstretch",
          u"topstretch",
          u"rightstretch",
          u"bottomstretch",
          u"stretcheffect",
          u"stretchtype",
          u"formminwidth",
          u"formminheight"}},
        {u"POPUPWINDOW",
         {u"windowpictureindex", u"lefttoppoint", u"rightbottompoint", u"itemsrect", u"scrollmarkercolor",
          u"scrollmarkeractivecolor", u"stretcheffect"}},
        {u"LAYERFRAME", {u"pictureindex"}},
        {u"HINTWINDOW",
         {u"windowpictureindex", u"lefttoppoint", u"rightbottompoint", u"clientrect", u"fontname",
          u"fontheight", u"fontcolor"}},
        {u"SKINCOLORS",
         {u"cbtnface", u"cbtntext", u"cwindow", u"cwindowtext", u"chighlight", u"chighlighttext",
          u"cbtnhighlight", u"cbtnshadow"}},
    };
    for (const auto& [section, keys] : sections)
        for (const char16_t* key : keys)
            EXPECT_TRUE(FIni->ValueExists(section, key)) << StringToUTF8(section) << "." << StringToUTF8(key);
    // Only the second skin has a layered frame (its shadow).
    EXPECT_EQ(String(GetParam()) == u"second", FData.LayerFrame()->PictureIndex != -1);

    const std::vector<std::pair<const char16_t*, const char16_t*>> objects = {
        {u"caption", u"caption"},
        {u"closebutton", u"stdbutton"},
        {u"maxbutton", u"stdbutton"},
        {u"minbutton", u"stdbutton"},
        {u"rollupbutton", u"stdbutton"},
        {u"sysmenubutton", u"stdbutton"},
        {u"menuitem", u"menuitem"},
        {u"menubaritem", u"mainmenubaritem"},
        {u"mdiclosebutton", u"mainmenubarbutton"},
        {u"mdiminbutton", u"mainmenubarbutton"},
        {u"mdimaxbutton", u"mainmenubarbutton"},
        {u"mdisysmenubutton", u"mainmenubarbutton"}};
    const std::vector<std::pair<const char16_t*, const char16_t*>> controls = {
        {u"button", u"button"},
        {u"resizebutton", u"button"},
        {u"resizetoolbutton", u"button"},
        {u"combobutton", u"button"},
        {u"toolbutton", u"button"},
        {u"toolmenubutton", u"menubutton"},
        {u"header", u"button"},
        {u"panel", u"panel"},
        {u"groupbox", u"panel"},
        {u"resizetoolpanel", u"panel"},
        {u"toolpanel", u"panel"},
        {u"combobox", u"combobox"},
        {u"listbox", u"listbox"},
        {u"captionlistbox", u"listbox"},
        {u"menuheader", u"label"},
        {u"vscrollbar", u"scrollbar"},
        {u"hscrollbar", u"scrollbar"},
        {u"bothhscrollbar", u"scrollbar"},
        {u"edit", u"edit"},
        {u"checkbox", u"checkradio"},
        {u"radiobox", u"checkradio"},
        {u"stdlabel", u"stdlabel"},
        {u"slider", u"slider"},
        {u"tab", u"tab"},
        {u"listview", u"listview"},
        {u"treeview", u"treeview"},
        {u"mainmenubar", u"mainmenubar"},
        {u"bevel", u"bevel"},
        {u"scrollbox", u"scrollbox"},
        {u"vsplitter", u"splitter"},
        {u"hsplitter", u"splitter"},
        {u"statusbar", u"panel"},
        {u"updown", u"updown"},
        {u"officetab", u"tab"},
        {u"officemenubutton", u"menubutton"},
        {u"appmenu", u"appmenu"}};
    const auto expectKinds = [](const auto& ATable, auto AIndex, auto AKind) {
        for (const auto& [name, kind] : ATable) {
            const Integer index = AIndex(name);
            ASSERT_GE(index, 0) << StringToUTF8(name);
            EXPECT_EQ(kind, AKind(index)) << StringToUTF8(name);
        }
    };
    expectKinds(
        objects, [&](const char16_t* AName) { return FData.GetIndex(AName); },
        [&](Integer AIndex) { return SkinObjectKind(FData.ObjectList[AIndex]); });
    expectKinds(
        controls, [&](const char16_t* AName) { return FData.GetControlIndex(AName); },
        [&](Integer AIndex) { return SkinControlKind(FData.CtrlList[AIndex]); });
    // The caption buttons live in their own picture and are placed by the
    // buttons' rectangle; the program's skins morph them.
    for (const char16_t* name : {u"closebutton", u"maxbutton", u"minbutton", u"rollupbutton"}) {
        auto* button = dynamic_cast<TqxDataSkinStdButton*>(FData.ObjectList[FData.GetIndex(name)]);
        EXPECT_TRUE(button->SkinRectInAPicture);
        EXPECT_TRUE(button->Morphing);
        EXPECT_FALSE(IsRectDegenerate(button->ActiveSkinRect));
        EXPECT_FALSE(IsRectDegenerate(button->DownRect));
        EXPECT_FALSE(IsRectDegenerate(button->InActiveSkinRect));
    }
    // Maximized and rolled up, the maximize and roll-up buttons show a face
    // of their own; the roll-up button is the one for the roll-up command.
    for (const char16_t* name : {u"maxbutton", u"rollupbutton"}) {
        auto* button = dynamic_cast<TqxDataSkinStdButton*>(FData.ObjectList[FData.GetIndex(name)]);
        EXPECT_FALSE(IsRectDegenerate(button->RestoreRect));
        EXPECT_NE(button->RestoreRect, button->SkinRect);
        EXPECT_EQ(u"Restore", button->RestoreHint);
    }
    EXPECT_EQ(
        cmRollUp,
        dynamic_cast<TqxDataSkinStdButton*>(FData.ObjectList[FData.GetIndex(u"rollupbutton")])->Command);
    EXPECT_GT(FData.ButtonsRect.Left, FData.FPicture->Width() / 2);
    EXPECT_EQ(u"listbox", Control<TqxDataSkinComboBox>(u"combobox")->ListBoxName);
    auto* bar = Control<TqxDataSkinMainMenuBar>(u"mainmenubar");
    EXPECT_EQ(u"menubaritem", bar->MenuBarItem);
    // The bar finds its child-form buttons by these names, each with its command.
    const std::pair<const String*, TqxStdCommand> named[] = {{&bar->CloseButton, cmClose},
                                                             {&bar->MinButton, cmMinimize},
                                                             {&bar->MaxButton, cmMaximize},
                                                             {&bar->SysMenuButton, cmSysMenu}};
    for (const auto& [name, command] : named) {
        const Integer index = FData.GetIndex(*name);
        ASSERT_GE(index, 0) << StringToUTF8(*name);
        auto* button = dynamic_cast<TqxDataSkinMainMenuBarButton*>(FData.ObjectList[index]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Command, command);
        EXPECT_NE(FData.GetActivePicture(button->ActivePictureIndex), nullptr);
        EXPECT_FALSE(IsRectDegenerate(button->DownRect));
    }
    auto* restore =
        dynamic_cast<TqxDataSkinMainMenuBarButton*>(FData.ObjectList[FData.GetIndex(bar->MaxButton)]);
    EXPECT_FALSE(IsRectDegenerate(restore->RestoreRect));
    // The tool bar's drop-down opens from its right 15 pixels; the tab
    // scroller and the grips have their pictures.
    auto* menuButton = Control<TqxDataSkinMenuButtonControl>(u"toolmenubutton");
    const TRect& face = menuButton->SkinRect;
    EXPECT_EQ(Rect(face.Width() - 15, 0, face.Width(), face.Height()), menuButton->TrackButtonRect);
    EXPECT_FALSE(IsRectDegenerate(menuButton->MenuMarkerFlatRect));
    EXPECT_EQ(u"updown", Control<TqxDataSkinTabControl>(u"tab")->UpDown);
    auto* updown = Control<TqxDataSkinUpDownControl>(u"updown");
    for (const TRect& r : {updown->UpButtonRect, updown->ActiveUpButtonRect, updown->DownUpButtonRect,
                           updown->DownButtonRect, updown->ActiveDownButtonRect, updown->DownDownButtonRect})
        EXPECT_FALSE(IsRectDegenerate(r));
    EXPECT_FALSE(IsRectDegenerate(Control<TqxDataSkinSplitterControl>(u"hsplitter")->GripperRect));
    EXPECT_FALSE(IsRectDegenerate(Control<TqxDataSkinPanelControl>(u"statusbar")->GripperRect));
}

TEST_P(ProjectSkinTest, IndexesAreValidAndNothingIsNegative) {
    const Integer pictures = FData.FActivePictures.Count();
    TStringList sections;
    FIni->ReadSections(&sections);
    for (Integer s = 0; s < sections.Count(); ++s) {
        TStringList lines;
        FIni->ReadSectionValues(sections.Get(s), &lines);
        for (Integer i = 0; i < lines.Count(); ++i) {
            const String key = lines.Names(i), value = lines.ValueFromIndex(i);
            const std::string where = StringToUTF8(sections.Get(s) + u"." + key + u"=" + value);
            if (sections.Get(s) == u"LAYERFRAME" && key == u"pictureindex") continue;
            EXPECT_EQ(String::npos, value.find(u'-')) << where;
            if (key.ends_with(u"pictureindex")) {
                EXPECT_LT(StrToInt(value), pictures) << where;
            }
        }
    }
    for (const char16_t* index : {u"SKINOBJECTS", u"SKINCONTROLS"}) {
        for (Integer i = 0; i < FIni->ReadInteger(index, u"count", 0); ++i) {
            const String entry = FIni->ReadString(index, IntToStr(i), u"");
            EXPECT_EQ(LowerCase(entry), entry);
        }
    }
}

TEST_P(ProjectSkinTest, TiledPartsHaveALength) {
    for (const auto& element : FData.CtrlList) {
        const std::string name = StringToUTF8(element->IDName);
        auto* custom = dynamic_cast<TqxDataSkinCustomControl*>(element.get());
        if (!custom || IsRectDegenerate(custom->SkinRect)) continue;
        const Integer across = custom->RTPoint.X - custom->LTPoint.X,
                      down = custom->LBPoint.Y - custom->LTPoint.Y;
        if (custom->RBPoint.X != 0 && custom->RBPoint.Y != 0) {
            if (!custom->TopStretch || !custom->BottomStretch || !custom->StretchEffect) {
                EXPECT_GT(across, 0) << name;
            }
            if (!custom->LeftStretch || !custom->RightStretch || !custom->StretchEffect) {
                EXPECT_GT(down, 0) << name;
            }
        } else if (custom->RTPoint.X != 0) {
            EXPECT_GT(across, 0) << name;
        } else if (custom->LBPoint.Y != 0) {
            EXPECT_GT(down, 0) << name;
        }
    }
    auto* slider = Control<TqxDataSkinSlider>(u"slider");
    EXPECT_GT(slider->HRulerRect.Width() - 2 * slider->EdgeSize, 0);
    EXPECT_GT(slider->VRulerRect.Height() - 2 * slider->EdgeSize, 0);
    auto* tab = Control<TqxDataSkinTabControl>(u"tab");
    EXPECT_FALSE(IsRectDegenerate(tab->TabsBGRect));
    EXPECT_GT(tab->TabRect.Width() - tab->TabLeftOffset - tab->TabRightOffset, 0);
    auto* menu = dynamic_cast<TqxDataSkinMenuItem*>(FData.ObjectList[FData.GetIndex(u"menuitem")]);
    EXPECT_GT(menu->DividerRect.Width() - menu->DividerLO - menu->DividerRO, 0);
    EXPECT_GT(menu->SkinRect.Width() - menu->ItemLO - menu->ItemRO, 0);
}

TEST_P(ProjectSkinTest, NaturalSizesOfTheLayouts) {
    // What the forms' layouts expect where a control takes the skin's size.
    const std::vector<std::tuple<const char16_t*, Integer, Integer>> heights = {
        {u"combobox", 20, 2},        {u"edit", 20, 2},       {u"button", 25, 1},
        {u"resizetoolpanel", 69, 1}, {u"hscrollbar", 17, 2}, {u"bothhscrollbar", 17, 2},
        {u"statusbar", 21, 1},       {u"hsplitter", 6, 2},   {u"toolmenubutton", 25, 2}};
    for (const auto& [name, height, mode] : heights) {
        auto* element = Control<TqxDataSkinCustomControl>(name);
        ASSERT_TRUE(element) << StringToUTF8(name);
        EXPECT_EQ(height, element->SkinRect.Height()) << StringToUTF8(name);
        const Integer resizeMode = element->RBPoint.X != 0 && element->RBPoint.Y != 0   ? 1
                                   : element->RTPoint.X != 0 || element->RTPoint.Y != 0 ? 2
                                                                                        : 3;
        EXPECT_EQ(mode, resizeMode) << StringToUTF8(name);
    }
    EXPECT_EQ(17, Control<TqxDataSkinScrollBarControl>(u"vscrollbar")->SkinRect.Width());
    // The combo box's arrow buttons lie in its fixed right part.
    auto* combo = Control<TqxDataSkinComboBox>(u"combobox");
    EXPECT_GE(combo->ButtonRect.Left, combo->RTPoint.X);
    EXPECT_EQ(combo->SkinRect.Right, combo->ButtonRect.Right);
    for (const TRect& r : {combo->ActiveButtonRect, combo->DownButtonRect, combo->UnEnabledButtonRect})
        EXPECT_EQ(combo->ButtonRect.Width(), r.Width());
}

// Object AIndex when it is a caption button (the menu bar's buttons for a
// maximized child are not).
TqxDataSkinStdButton* CaptionButton(TqxSkinData& AData, Integer AIndex) {
    if (dynamic_cast<TqxDataSkinMainMenuBarButton*>(AData.ObjectList[AIndex])) return nullptr;
    return dynamic_cast<TqxDataSkinStdButton*>(AData.ObjectList[AIndex]);
}

// The caption cells as the frame places them at the picture's own size:
// the buttons leftwards from the buttons' rectangle, the system menu at the
// caption's left, centred in its height.
std::vector<TRect> CaptionCells(TqxSkinData& AData) {
    std::vector<TRect> cells;
    const TRect anchor = IsRectDegenerate(AData.ButtonsRect) ? AData.CaptionRect : AData.ButtonsRect;
    Integer x = anchor.Right;
    for (const TqxStdCommand command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
        for (Integer i = 0; i < AData.ObjectList.Count(); ++i) {
            auto* button = CaptionButton(AData, i);
            if (!button || !button->SkinRectInAPicture || button->Command != command) continue;
            const Integer w = button->SkinRect.Width();
            cells.push_back(Rect(x - w, anchor.Top, x, anchor.Top + button->SkinRect.Height()));
            x -= AData.ButtonsOffset + w;
            break;
        }
    }
    for (Integer i = 0; i < AData.ObjectList.Count(); ++i) {
        auto* button = CaptionButton(AData, i);
        if (!button || button->Command != cmSysMenu) continue;
        const Integer h = button->SkinRect.Height();
        const Integer top = AData.CaptionRect.Top + AData.CaptionRect.Height() / 2 - h / 2;
        cells.push_back(
            Rect(AData.CaptionRect.Left, top, AData.CaptionRect.Left + button->SkinRect.Width(), top + h));
    }
    return cells;
}

// No caption cell covers the frame's border, nor a pixel the mask puts
// outside the window (the round corners of the dark skin).
TEST_P(ProjectSkinTest, CaptionCellsStayInsideTheFrame) {
    const std::vector<TRect> cells = CaptionCells(FData);
    ASSERT_EQ(5u, cells.size());
    TBitmap* mask = FData.FMask.get();
    for (const TRect& cell : cells) {
        SCOPED_TRACE(testing::Message()
                     << cell.Left << "," << cell.Top << "," << cell.Right << "," << cell.Bottom);
        EXPECT_GE(cell.Left, 1);
        EXPECT_GE(cell.Top, 1);
        EXPECT_LE(cell.Right, FData.FPicture->Width() - 1);
        if (mask->Empty()) continue;
        for (Integer y = cell.Top; y < cell.Bottom; ++y)
            for (Integer x = cell.Left; x < cell.Right; ++x)
                ASSERT_EQ(clBlack, mask->Canvas()->Pixels(x, y)) << x << ", " << y;
    }
}

// The list with a caption bar: the bar above the client rectangle, the
// buttons in the fixed right part (so they follow the width), their hot and
// pressed pictures of their size, the empty button area's picture of its.
TEST_P(ProjectSkinTest, TheCaptionListBoxKeepsItsButtonsInItsFixedRightPart) {
    auto* list = Control<TqxDataSkinListBox>(u"captionlistbox");
    ASSERT_TRUE(list);
    EXPECT_LE(list->CaptionRect.Bottom, list->ClRect.Top);
    EXPECT_GE(list->CaptionRect.Right, list->RTPoint.X);
    const TRect places[] = {list->UpButtonRect, list->DownButtonRect, list->CheckButtonRect};
    const TRect looks[][2] = {{list->ActiveUpButtonRect, list->DownUpButtonRect},
                              {list->ActiveDownButtonRect, list->DownDownButtonRect},
                              {list->ActiveCheckButtonRect, list->DownCheckButtonRect}};
    for (Integer i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(places[i].Left, list->RTPoint.X);
        EXPECT_LE(places[i].Bottom, list->ClRect.Top);
        EXPECT_GE(places[i].Left, list->CaptionRect.Right);
        for (const TRect& look : looks[i]) {
            EXPECT_EQ(places[i].Width(), look.Width());
            EXPECT_EQ(places[i].Height(), look.Height());
        }
        EXPECT_TRUE(RectInRect(places[i], Rect(list->ButtonsArea.Left, list->ButtonsArea.Top,
                                               list->ButtonsArea.Right + 1, list->ButtonsArea.Bottom + 1)));
    }
    EXPECT_EQ(list->ButtonsArea.Width(), list->DisabledButtonsRect.Width());
    EXPECT_EQ(list->ButtonsArea.Height(), list->DisabledButtonsRect.Height());
    EXPECT_EQ(list->SItemRect.Height(), Control<TqxDataSkinListBox>(u"listbox")->SItemRect.Height());
}

// The text colour over the middle of a picture rectangle reaches 4.5:1.
TEST_P(ProjectSkinTest, TextIsLegible) {
    const auto pixel = [&](Integer APicture, const TRect& ARect) {
        TBitmap* picture = FData.GetActivePicture(APicture);
        const auto* row = static_cast<const Byte*>(picture->ScanLine((ARect.Top + ARect.Bottom) / 2));
        const Integer x = (ARect.Left + ARect.Right) / 2;
        return TRgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    };
    const auto rgb = [](TColor AColor) { return TRgb{Byte(AColor), Byte(AColor >> 8), Byte(AColor >> 16)}; };
    const auto expect = [&](const char* AWhat, TColor AText, Integer APicture, const TRect& ARect) {
        const double ratio = ContrastRatio(rgb(AText), pixel(APicture, ARect));
        EXPECT_GE(ratio, 4.5) << AWhat;
    };
    auto* button = Control<TqxDataSkinButtonControl>(u"button");
    expect("button", button->FontColor, button->PictureIndex, button->SkinRect);
    expect("button hot", button->ActiveFontColor, button->PictureIndex, button->ActiveSkinRect);
    expect("button down", button->DownFontColor, button->PictureIndex, button->DownSkinRect);
    expect("button disabled", button->DisabledFontColor, button->PictureIndex, button->DisabledSkinRect);
    auto* list = Control<TqxDataSkinListBox>(u"listbox");
    expect("list", list->FontColor, list->PictureIndex, list->SItemRect);
    expect("list selected", list->ActiveFontColor, list->PictureIndex, list->ActiveItemRect);
    expect("list focused", list->FocusFontColor, list->PictureIndex, list->FocusItemRect);
    auto* titled = Control<TqxDataSkinListBox>(u"captionlistbox");
    expect("list caption", titled->CaptionFontColor, titled->PictureIndex, titled->CaptionRect);
    expect("list under a caption", titled->FontColor, titled->PictureIndex, titled->SItemRect);
    auto* combo = Control<TqxDataSkinComboBox>(u"combobox");
    expect("combo", combo->FontColor, combo->PictureIndex, combo->SItemRect);
    expect("combo focused", combo->FocusFontColor, combo->PictureIndex, combo->FocusItemRect);
    auto* edit = Control<TqxDataSkinEditControl>(u"edit");
    expect("edit", edit->FontColor, edit->PictureIndex, edit->SkinRect);
    auto* tab = Control<TqxDataSkinTabControl>(u"tab");
    expect("tab", tab->FontColor, tab->PictureIndex, tab->TabRect);
    expect("tab selected", tab->ActiveFontColor, tab->PictureIndex, tab->ActiveTabRect);
    auto* ribbon = Control<TqxDataSkinTabControl>(u"officetab");
    expect("ribbon tab selected", ribbon->ActiveFontColor, ribbon->PictureIndex, ribbon->ActiveTabRect);
    expect("ribbon tab hot", ribbon->MouseInFontColor, ribbon->PictureIndex, ribbon->MouseInTabRect);
    auto* appButton = Control<TqxDataSkinButtonControl>(u"officemenubutton");
    expect("application button", appButton->FontColor, appButton->PictureIndex, appButton->SkinRect);
    auto* appMenu = Control<TqxDataSkinAppMenu>(u"appmenu");
    expect("application menu item", appMenu->ActiveFontColor, appMenu->PictureIndex, appMenu->ItemRect);
    expect("application menu page item", appMenu->ActiveFontPageColor, appMenu->PictureIndex,
           appMenu->PageItemActiveRect);
    auto* header = Control<TqxDataSkinLabelControl>(u"menuheader");
    expect("menu header", header->FontColor, header->PictureIndex, header->SkinRect);
    auto* check = Control<TqxDataSkinCheckRadioControl>(u"checkbox");
    expect("check box", check->FrameFontColor, check->PictureIndex, check->SkinRect);
    expect("check box disabled", check->UnEnabledFontColor, check->PictureIndex, check->SkinRect);
    auto* item = dynamic_cast<TqxDataSkinMenuItem*>(FData.ObjectList[FData.GetIndex(u"menuitem")]);
    expect("menu item", item->FontColor, item->ActivePictureIndex, item->SkinRect);
    expect("menu item hot", item->ActiveFontColor, item->ActivePictureIndex, item->ActiveSkinRect);
    expect("menu item disabled", item->UnEnabledFontColor, item->ActivePictureIndex, item->SkinRect);
    expect("hint", FData.HintWindow()->FontColor, FData.HintWindow()->WindowPictureIndex,
           FData.HintWindow()->ClRect);
    // The caption's text on the frame picture's caption.
    auto* caption = dynamic_cast<TqxDataSkinCaption*>(FData.ObjectList[FData.GetIndex(u"caption")]);
    const auto framePixel = [&](TBitmap* APicture) {
        const auto* row = static_cast<const Byte*>(APicture->ScanLine(caption->SkinRect.Top + 5));
        const Integer x = caption->SkinRect.Left + 60;
        return TRgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    };
    EXPECT_GE(ContrastRatio(rgb(caption->ActiveFontColor), framePixel(FData.FPicture.get())), 4.5);
    EXPECT_GE(ContrastRatio(rgb(caption->FontColor), framePixel(FData.FInActivePicture.get())), 4.5);
}

// Chinese reads clearly: a face with Chinese glyphs, 12 pixels of character
// or more, within the boxes and buttons of the layouts.
TEST_P(ProjectSkinTest, FontsForChinese) {
    auto* caption = dynamic_cast<TqxDataSkinCaption*>(FData.ObjectList[FData.GetIndex(u"caption")]);
    struct TFontUse {
        const TqxDataSkinFont* Font;
        Integer Room;  // the height the text has
    } uses[] = {{Control<TqxDataSkinButtonControl>(u"button"), 25 - 4},
                {Control<TqxDataSkinComboBox>(u"combobox"), 20 - 4},
                {Control<TqxDataSkinEditControl>(u"edit"), 20 - 4},
                {Control<TqxDataSkinListBox>(u"listbox"), 22},
                {Control<TqxDataSkinCheckRadioControl>(u"checkbox"), 20},
                {Control<TqxDataSkinStdLabelControl>(u"stdlabel"), 20},
                {FData.HintWindow(), 24},
                {caption, caption->SkinRect.Height()}};
    for (const TFontUse& use : uses) {
        TBitmap bitmap;
        bitmap.SetSize(4, 4);
        bitmap.Canvas()->Font()->SetName(use.Font->FontName);
        bitmap.Canvas()->Font()->SetHeight(use.Font->FontHeight);
        win::TEXTMETRICW metrics{};
        win::GetTextMetricsW(bitmap.Canvas()->Handle(), &metrics);
        EXPECT_EQ(gdi::CjkFamily, gdi::SubstituteFamily(use.Font->FontName, 0));
        EXPECT_GE(metrics.tmHeight - metrics.tmInternalLeading, 12) << use.Font->FontHeight;
        EXPECT_LE(metrics.tmHeight, use.Room) << use.Font->FontHeight;
    }
    TBitmap title;
    title.SetSize(4, 4);
    title.Canvas()->Font()->SetName(caption->FontName);
    title.Canvas()->Font()->SetHeight(caption->FontHeight);
    const Integer width = title.Canvas()->TextWidth(u"VelquaAVCHD高清格式转换器");
    // The main window's caption has room for the title beside the buttons.
    EXPECT_LT(width + caption->TextRct.Left, 827 - FData.FPicture->Width() + caption->TextRct.Right);
}

// The office list's check column and the skinned edit's button look.
TEST_P(ProjectSkinTest, TheCheckListAndTheButtonEdit) {
    auto* check = Control<TqxDataSkinCheckListBox>(u"checklistbox");
    ASSERT_NE(nullptr, check);
    EXPECT_EQ(u"checklistbox", SkinControlKind(check));
    auto* list = Control<TqxDataSkinListBox>(u"listbox");
    EXPECT_EQ(list->SItemRect, check->SItemRect);
    EXPECT_EQ(list->FontColor, check->FontColor);
    TBitmap* picture = FData.GetActivePicture(check->PictureIndex);
    const auto pixel = [](TBitmap* APicture, Integer X, Integer Y) {
        const auto* row = static_cast<const Byte*>(APicture->ScanLine(Y));
        return TRgb{row[3 * X + 2], row[3 * X + 1], row[3 * X]};
    };
    for (const TRect& r : {check->CheckImageRect, check->UnCheckImageRect}) {
        ASSERT_FALSE(IsRectDegenerate(r));
        EXPECT_LE(r.Height(), 16);
        // Drawn without its bottom-left colour, the box's middle stays.
        const TRgb key = pixel(picture, r.Left, r.Bottom - 1);
        EXPECT_NE(key, pixel(picture, r.Left + r.Width() / 2, r.Top + r.Height() / 2));
        EXPECT_EQ(key, pixel(picture, r.Right - 1, r.Bottom - 1));
    }
    auto* edit = Control<TqxDataSkinEditControl>(u"buttonedit");
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(u"edit", SkinControlKind(edit));
    EXPECT_EQ(Control<TqxDataSkinEditControl>(u"edit")->SkinRect.Height(), edit->SkinRect.Height());
    // The button lies in the fixed right part and moves with the width.
    EXPECT_GE(edit->ButtonRect.Left, edit->RTPoint.X);
    EXPECT_EQ(edit->SkinRect.Right, edit->ButtonRect.Right);
    EXPECT_LE(edit->ClRect.Right, edit->ButtonRect.Left);
    for (const TRect& r : {edit->ActiveButtonRect, edit->DownButtonRect, edit->UnEnabledButtonRect}) {
        EXPECT_EQ(edit->ButtonRect.Width(), r.Width());
        EXPECT_EQ(edit->ButtonRect.Height(), r.Height());
    }
    EXPECT_GE(
        ContrastRatio(TRgb{Byte(edit->FontColor), Byte(edit->FontColor >> 8), Byte(edit->FontColor >> 16)},
                      pixel(FData.GetActivePicture(edit->PictureIndex), edit->ClRect.Left + 5, 10)),
        4.5);
}

TEST_P(ProjectSkinTest, TheTabsCloseButtonsHaveThreeLooksOfOneSize) {
    auto* tab = Control<TqxDataSkinTabControl>(u"tab");
    TBitmap* picture = FData.GetActivePicture(tab->PictureIndex);
    ASSERT_TRUE(picture);
    const auto pixel = [&](Integer X, Integer Y) {
        const auto* row = static_cast<const Byte*>(picture->ScanLine(Y));
        return (Cardinal(row[3 * X + 2]) << 16) | (Cardinal(row[3 * X + 1]) << 8) | row[3 * X];
    };
    std::vector<Cardinal> faces;
    for (const TRect& r : {tab->CloseButtonRect, tab->CloseButtonActiveRect, tab->CloseButtonDownRect}) {
        EXPECT_EQ(r.Width(), 14);
        EXPECT_EQ(r.Height(), 14);
        ASSERT_LE(r.Right, picture->Width());
        ASSERT_LE(r.Bottom, picture->Height());
        // The cross at the centre stands out from the face beside it.
        EXPECT_NE(pixel(r.Left + 7, r.Top + 7), pixel(r.Left + 2, r.Top + 7));
        faces.push_back(pixel(r.Left + 2, r.Top + 7));
    }
    EXPECT_NE(faces[0], faces[1]);
    EXPECT_NE(faces[1], faces[2]);
}

INSTANTIATE_TEST_SUITE_P(Skins, ProjectSkinTest, ::testing::Values(u"default", u"second"),
                         [](const auto& AInfo) { return StringToUTF8(AInfo.param); });

TEST(ProjectSkins, TheSecondSkinIsDarkWithRoundCornersAndATallerCaption) {
    TqxSkinData light(nullptr), dark(nullptr);
    light.LoadFromCompressedFile(BuiltSkins + u"default.skn");
    dark.LoadFromCompressedFile(BuiltSkins + u"second.skn");
    EXPECT_TRUE(light.FMask->Empty());
    ASSERT_FALSE(dark.FMask->Empty());
    const auto* corner = static_cast<const Byte*>(dark.FMask->ScanLine(0));
    EXPECT_EQ(255, corner[0]);
    const auto* middle = static_cast<const Byte*>(dark.FMask->ScanLine(dark.FMask->Height() / 2));
    EXPECT_EQ(0, middle[0]);
    EXPECT_GT(dark.ButtonsRect.Height(), light.ButtonsRect.Height());
    EXPECT_GT(dark.ClRect.Top, light.ClRect.Top);
    const auto luminance = [](TColor AColor) {
        return ContrastRatio(TRgb{Byte(AColor), Byte(AColor >> 8), Byte(AColor >> 16)}, Rgb(0));
    };
    EXPECT_GT(luminance(light.SkinColors()->cBtnFace()), 10);
    EXPECT_LT(luminance(dark.SkinColors()->cBtnFace()), 2);
}

TEST(ProjectSkins, OnlyTheSecondSkinCastsALayeredShadowThatFadesOutward) {
    TqxSkinData light(nullptr), dark(nullptr);
    light.LoadFromCompressedFile(BuiltSkins + u"default.skn");
    dark.LoadFromCompressedFile(BuiltSkins + u"second.skn");
    EXPECT_EQ(light.LayerFrame()->PictureIndex, -1);
    const TqxDataSkinLayerFrame* frame = dark.LayerFrame();
    ASSERT_NE(frame->FSourceBitmap, nullptr);
    const TqxBitmap* source = frame->FSourceBitmap.get();
    const TRect& form = frame->ClRect;
    // Strips on every side, corners kept whole, a hit border around the form.
    EXPECT_GT(form.Left, 0);
    EXPECT_GT(form.Top, 0);
    EXPECT_LT(form.Right, source->Width());
    EXPECT_LT(form.Bottom, source->Height());
    EXPECT_EQ(frame->LTPoint.Y, form.Top);
    EXPECT_EQ(std::min(frame->LBPoint.Y, frame->RBPoint.Y), form.Bottom);
    EXPECT_LT(frame->LTPoint.X, frame->RTPoint.X);
    EXPECT_TRUE(frame->HitTestEnable);
    EXPECT_FALSE(frame->FullBorder);
    EXPECT_LT(frame->BorderRect.Left, form.Left);
    EXPECT_GT(frame->BorderRect.Bottom, form.Bottom);
    // Darkest at the form's edge, gone at the picture's edge, on every side.
    const auto alpha = [&](Integer X, Integer Y) { return Integer(*source->GetPixelPtr(X, Y) >> 24); };
    const Integer midX = source->Width() / 2, midY = source->Height() / 2;
    const std::pair<TPoint, TPoint> sides[] = {
        {Point(form.Left - 1, midY), Point(0, midY)},
        {Point(form.Right, midY), Point(source->Width() - 1, midY)},
        {Point(midX, form.Top - 1), Point(midX, 0)},
        {Point(midX, form.Bottom), Point(midX, source->Height() - 1)},
    };
    for (const auto& [edge, outer] : sides) {
        EXPECT_GT(alpha(edge.X, edge.Y), 60);
        EXPECT_EQ(alpha(outer.X, outer.Y), 0);
    }
    // Nothing over the form itself.
    EXPECT_EQ(alpha(midX, midY), 0);
    // Lighter while the form is inactive.
    EXPECT_LT(frame->InActiveAlphaBlendValue, frame->AlphaBlendValue);
}

TEST(ProjectSkins, OnlyTheSecondSkinHasAnAnimatedEmblemClearOfTheButtons) {
    for (const char16_t* name : {u"default", u"second"}) {
        TqxSkinData data(nullptr);
        skinfixtures::LoadFixture(&data, skinfixtures::ProjectSkin(name));
        const Integer index = data.GetIndex(u"emblem");
        if (String(name) == u"default") {
            EXPECT_EQ(index, -1);
            // The default frame keeps its fixed parts.
            EXPECT_EQ(data.RTPoint.X, 200);
            continue;
        }
        ASSERT_GE(index, 0);
        auto* emblem = dynamic_cast<TqxDataSkinAnimate*>(data.ObjectList[index]);
        ASSERT_NE(emblem, nullptr);
        EXPECT_EQ(emblem->CountFrames, 6);
        EXPECT_EQ(emblem->TimerInterval, 40);
        EXPECT_FALSE(emblem->ButtonStyle);
        TBitmap* picture = data.GetActivePicture(emblem->ActivePictureIndex);
        ASSERT_NE(picture, nullptr);
        // Six cells side by side fit the picture.
        EXPECT_LE(emblem->SkinRect.Left + 6 * emblem->SkinRect.Width(), picture->Width());
        // In the fixed right part, left of the buttons and right of the caption.
        EXPECT_GE(emblem->SkinRect.Left, data.RTPoint.X);
        EXPECT_LE(emblem->SkinRect.Right, data.ButtonsRect.Left);
        // Clear of all four buttons a form with a roll-up button shows.
        for (const TRect& cell : CaptionCells(data))
            if (cell.Left > data.CaptionRect.Left) {
                EXPECT_LE(emblem->SkinRect.Right, cell.Left);
            }
        auto* caption = dynamic_cast<TqxDataSkinCaption*>(data.ObjectList[data.GetIndex(u"caption")]);
        EXPECT_LE(caption->SkinRect.Right, emblem->SkinRect.Left);
        EXPECT_GE(caption->SkinRect.Right, data.RTPoint.X);
    }
}

// The ribbon's parts: every MDI button look, and the back button and the
// caption picture only in the second skin, whose menu covers the form.
TEST(ProjectSkins, TheRibbonPartsAndTheSecondSkinsBackButton) {
    for (const char16_t* name : {u"default", u"second"}) {
        TqxSkinData data(nullptr);
        data.LoadFromCompressedFile(BuiltSkins + name + u".skn");
        auto* tab = dynamic_cast<TqxDataSkinTabControl*>(data.CtrlList[data.GetControlIndex(u"officetab")]);
        for (const TRect* r : {&tab->MDICloseRect, &tab->MDICloseActiveRect, &tab->MDICloseDownRect,
                               &tab->MDIRestoreRect, &tab->MDIRestoreActiveRect, &tab->MDIRestoreDownRect,
                               &tab->MDIMinRect, &tab->MDIMinActiveRect, &tab->MDIMinDownRect})
            EXPECT_EQ(Rect(0, 0, 22, 22), Rect(0, 0, r->Width(), r->Height()));
        EXPECT_FALSE(IsRectDegenerate(tab->TabsBGRect));
        auto* menu = dynamic_cast<TqxDataSkinAppMenu*>(data.CtrlList[data.GetControlIndex(u"appmenu")]);
        const bool second = String(name) == u"second";
        EXPECT_EQ(second, !IsRectDegenerate(menu->BackButtonRect)) << StringToUTF8(name);
        EXPECT_EQ(second, !IsRectDegenerate(menu->CaptionRect)) << StringToUTF8(name);
        EXPECT_NE(nullptr, data.GetActivePicture(menu->BGPictureIndex));
    }
}

TEST(FlatSkin, EveryPartHasAColourOfItsOwn) {
    TqxSkinData flat(nullptr), source(nullptr);
    LoadFixture(&flat, FlatSkin());
    LoadFixture(&source, ProjectSkin(u"default"));
    EXPECT_EQ(u"flat", flat.SkinName);
    EXPECT_EQ(source.CtrlList.Count(), flat.CtrlList.Count());
    EXPECT_EQ(source.ObjectList.Count(), flat.ObjectList.Count());
    std::set<TColor> seen;
    Integer parts = 0;
    for (const TSkinImage& image : GenerateSkin(u"default").Images) {
        for (Integer part = fpLeftTop; part <= fpCell2; ++part) {
            const TColor color = FlatColor(image.Section, image.Key, TFlatPart(part));
            if (color == clNone) continue;
            ++parts;
            EXPECT_TRUE(seen.insert(color).second)
                << StringToUTF8(image.Section + u"." + image.Key) << " " << part;
            EXPECT_NE(FlatBackground(), color);
            EXPECT_NE(FlatKeyColor(), color);
        }
    }
    EXPECT_GT(parts, 300);
    EXPECT_EQ(clNone, FlatColor(u"button", u"nosuchkey", fpCenter));
    EXPECT_EQ(clNone, FlatColor(u"button", u"skinrect", fpWhole));
}

// The colour at X, Y of a bitmap as 0x00BBGGRR.
TColor ColorAt(TBitmap& ABitmap, Integer X, Integer Y) {
    const auto* row = static_cast<const Byte*>(ABitmap.ScanLine(Y));
    const Integer step = ABitmap.PixelFormat() == pf32bit ? 4 : 3;
    return TColor(row[step * X + 2]) | TColor(row[step * X + 1]) << 8 | TColor(row[step * X]) << 16;
}

TEST(FlatSkin, ANinePartImageShowsWhichPartLandedWhere) {
    TqxSkinData data(nullptr);
    LoadFixture(&data, FlatSkin());
    auto* button = dynamic_cast<TqxDataSkinButtonControl*>(data.CtrlList[data.GetControlIndex(u"button")]);
    ASSERT_TRUE(button);
    TBitmap* picture = data.GetActivePicture(button->PictureIndex);
    for (const auto& [key, source] :
         {std::pair{u"skinrect", button->SkinRect}, std::pair{u"downskinrect", button->DownSkinRect}}) {
        for (const auto& [w, h] : {std::pair{64, 25}, std::pair{150, 40}, std::pair{20, 12}}) {
            SCOPED_TRACE(StringToUTF8(key) + " " + std::to_string(w) + "x" + std::to_string(h));
            const Integer dw = w - button->SkinRect.Width(), dh = h - button->SkinRect.Height();
            const TPoint rt = Point(button->RTPoint.X + dw, button->RTPoint.Y);
            const TPoint lb = Point(button->LBPoint.X, button->LBPoint.Y + dh);
            const TPoint rb = Point(button->RBPoint.X + dw, button->RBPoint.Y + dh);
            TBitmap image;
            BuildNinePartImage(button->LTPoint, button->RTPoint, button->LBPoint, button->RBPoint,
                               button->ClRect, button->LTPoint, rt, lb, rb,
                               Rect(button->ClRect.Left, button->ClRect.Top, button->ClRect.Right + dw,
                                    button->ClRect.Bottom + dh),
                               &image, picture, source, w, h, true, button->LeftStretch, button->TopStretch,
                               button->RightStretch, button->BottomStretch, button->StretchEffect,
                               button->StretchType);
            const Integer xs[] = {0, button->LTPoint.X, rt.X, w};
            const Integer ys[] = {0, button->LTPoint.Y, lb.Y, h};
            for (Integer row = 0; row < 3; ++row) {
                for (Integer column = 0; column < 3; ++column) {
                    if (xs[column + 1] <= xs[column] || ys[row + 1] <= ys[row]) continue;
                    EXPECT_EQ(FlatColor(u"button", key, TFlatPart(fpLeftTop + 3 * row + column)),
                              ColorAt(image, (xs[column] + xs[column + 1]) / 2, (ys[row] + ys[row + 1]) / 2))
                        << row << "," << column;
                }
            }
        }
    }
    // A three-part box at the skin's height, widened.
    auto* combo = dynamic_cast<TqxDataSkinComboBox*>(data.CtrlList[data.GetControlIndex(u"combobox")]);
    TBitmap image;
    BuildHorzThreePartImage(combo->LTPoint.X, combo->SkinRect.Width() - combo->RTPoint.X, &image,
                            data.GetActivePicture(combo->PictureIndex), combo->SkinRect, 200, 20, true);
    EXPECT_EQ(FlatColor(u"combobox", u"skinrect", fpLeft), ColorAt(image, 1, 10));
    EXPECT_EQ(FlatColor(u"combobox", u"skinrect", fpCenter), ColorAt(image, 100, 10));
    EXPECT_EQ(FlatColor(u"combobox", u"skinrect", fpRight), ColorAt(image, 195, 10));
    // A single image shows its colour inside a key-coloured border.
    auto* check =
        dynamic_cast<TqxDataSkinCheckRadioControl*>(data.CtrlList[data.GetControlIndex(u"checkbox")]);
    TBitmap* checks = data.GetActivePicture(check->PictureIndex);
    EXPECT_EQ(FlatKeyColor(), ColorAt(*checks, check->CheckImageRect.Left, check->CheckImageRect.Bottom - 1));
    EXPECT_EQ(FlatColor(u"checkbox", u"checkimagerect", fpWhole),
              ColorAt(*checks, check->CheckImageRect.Left + 8, check->CheckImageRect.Top + 8));
}

}  // namespace
