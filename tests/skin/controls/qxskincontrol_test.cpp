// The windowed and the non-windowed bases together: they share the
// element link and the geometry, so each behaviour is checked on both
// where both have it.
#include "skin/controls/qxskincontrol.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/base/sysutils.h"
#include "platform/win/messages.h"
#include "skin/controls/qxgraphicskincontrol.h"
#include "skin/core/qxskinmessages.h"

namespace {

using namespace skinfixtures;

class SkinControlBases : public ControlTest {
protected:
    TqxSkinCustomControl* Windowed(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
                                   const String& AName = u"button") {
        auto* control = Add<TqxSkinCustomControl>(ALeft, ATop, AWidth, AHeight);
        control->SetSkinDataName(AName);
        control->SetSkinData(FSkin);
        return control;
    }
    TqxGraphicSkinCustomControl* Graphic(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight,
                                         const String& AName = u"button") {
        auto* control = Add<TqxGraphicSkinCustomControl>(ALeft, ATop, AWidth, AHeight);
        control->SetSkinDataName(AName);
        control->SetSkinData(FSkin);
        return control;
    }
    // The flat skin with a fixed-size element "shape" of 20 x 10 whose mask
    // is black where x < 10 + y.
    static TFixtureSkin ShapeSkin() {
        TFixtureSkin skin = FlatSkin();
        const Integer picture =
            AddPicture(skin, u"shape.bmp", PaintedBmp(20, 10, [](Integer, Integer) { return 0x3366CCu; }));
        const Integer mask =
            AddPicture(skin, u"shapemask.bmp",
                       PaintedBmp(20, 10, [](Integer X, Integer Y) { return X < 10 + Y ? 0u : 0xFFFFFFu; }));
        AddElement(skin, u"shape", u"button",
                   {{u"pictureindex", IntToStr(picture)},
                    {u"maskpictureindex", IntToStr(mask)},
                    {u"skinrect", u"0,0,20,10"}});
        return skin;
    }
};

TEST_F(SkinControlBases, BothBasesDrawANinePartElementAlike) {
    LoadFlat();
    TqxSkinCustomControl* windowed = Windowed(10, 10, 160, 50);
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 100, 160, 50);
    EXPECT_EQ(160, windowed->Width());
    EXPECT_EQ(50, graphic->Height());
    EXPECT_EQ(1, windowed->ResizeMode);
    EXPECT_EQ(windowed->RealClientRect(), graphic->RealClientRect());
    EXPECT_EQ(Rect(4, 4, 156, 46), windowed->RealClientRect());
    EXPECT_EQ(windowed->NewRBPoint, graphic->NewRBPoint);
    const struct {
        Integer X, Y;
        TFlatPart Part;
    } samples[] = {{1, 1, fpLeftTop}, {80, 25, fpCenter}, {158, 48, fpRightBottom}, {80, 1, fpTop}};
    for (const auto& s : samples) {
        const TColor expected = FlatColor(u"button", u"skinrect", s.Part);
        EXPECT_EQ(expected, PixelOf(windowed->Handle(), s.X, s.Y)) << s.Part;
        EXPECT_EQ(expected, FormPixel(10 + s.X, 100 + s.Y)) << s.Part;
    }
    // Another section name is looked up at the next paint: none, the default look.
    windowed->SetSkinDataName(u"nosuchsection");
    graphic->SetSkinDataName(u"nosuchsection");
    windowed->Invalidate();
    graphic->Invalidate();
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(windowed->Handle(), 80, 25));
    EXPECT_EQ(ColorToRGB(clBtnFace), FormPixel(90, 125));
    EXPECT_EQ(-1, windowed->FIndex);
    EXPECT_EQ(-1, graphic->FIndex);
}

TEST_F(SkinControlBases, AFixedSizeElementSnapsEverySize) {
    Load(ShapeSkin());
    TqxSkinCustomControl* windowed = Windowed(10, 10, 100, 100, u"shape");
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 150, 100, 100, u"shape");
    for (TControl* control : std::initializer_list<TControl*>{windowed, graphic}) {
        EXPECT_EQ(20, control->Width());
        EXPECT_EQ(10, control->Height());
        control->SetBounds(30, 40, 70, 5);
        EXPECT_EQ(30, control->Left());
        EXPECT_EQ(20, control->Width());
        EXPECT_EQ(10, control->Height());
    }
}

TEST_F(SkinControlBases, WithoutAnElementTheDefaultSizeIsTaken) {
    TqxSkinCustomControl* windowed = Windowed(10, 10, 50, 30);
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 100, 50, 30);
    windowed->SetDefaultWidth(80);
    graphic->SetDefaultHeight(44);
    EXPECT_EQ(80, windowed->Width());
    EXPECT_EQ(44, graphic->Height());
    windowed->SetWidth(60);
    windowed->ChangeSkinData();
    EXPECT_EQ(80, windowed->Width());
    EXPECT_EQ(30, windowed->Height());
    windowed->SetDefaultWidth(0);
    windowed->SetWidth(60);
    windowed->ChangeSkinData();
    EXPECT_EQ(60, windowed->Width());
    // With an element the default size is not applied.
    LoadFlat();
    windowed->ChangeSkinData();
    windowed->SetDefaultWidth(90);
    EXPECT_EQ(60, windowed->Width());
}

// The region is the mask's; a click outside it reaches the form. Setting
// SkinData to nil or removing the skin data takes the region away, so the
// default look is whole and takes its clicks.
TEST_F(SkinControlBases, TheMaskRegionComesAndGoesWithTheSkin) {
    Load(ShapeSkin());
    Integer formClicks = 0, controlClicks = 0;
    FForm->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++formClicks; };
    TqxSkinCustomControl* control = Windowed(10, 10, 20, 10, u"shape");
    control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++controlClicks; };
    const auto region = win::driver::WindowRegion(control->Handle());
    ASSERT_TRUE(region.has_value());
    for (Integer y = 0; y < 10; ++y)
        for (Integer x = 0; x < 20; ++x)
            EXPECT_EQ(x < 10 + y, region->Contains(x, y)) << x << "," << y;
    // (19, 0) lies outside the shape.
    win::driver::Click(ScreenPoint(control->Handle(), 19, 0));
    Pump();
    EXPECT_EQ(1, formClicks);
    EXPECT_EQ(0, controlClicks);

    control->SetSkinData(nullptr);
    EXPECT_FALSE(win::driver::WindowRegion(control->Handle()).has_value());
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(control->Handle(), 19, 0));
    win::driver::Click(ScreenPoint(control->Handle(), 19, 0));
    Pump();
    EXPECT_EQ(1, controlClicks);

    control->SetSkinData(FSkin);
    EXPECT_TRUE(win::driver::WindowRegion(control->Handle()).has_value());
    delete FSkin;
    FSkin = nullptr;
    EXPECT_EQ(nullptr, control->SkinData());
    EXPECT_FALSE(win::driver::WindowRegion(control->Handle()).has_value());
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(control->Handle(), 19, 0));
}

// The skin frees its pictures on a change: a control without its element
// keeps no picture of the old skin.
TEST_F(SkinControlBases, PicturesGoWhenTheElementGoes) {
    Load(ShapeSkin());
    TqxSkinCustomControl* windowed = Windowed(10, 10, 20, 10, u"shape");
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 150, 20, 10, u"shape");
    ASSERT_NE(nullptr, windowed->Picture);
    ASSERT_NE(nullptr, windowed->MaskPicture);
    ASSERT_NE(nullptr, graphic->Picture);
    windowed->BeforeChangeSkinData();
    EXPECT_EQ(nullptr, windowed->Picture);
    EXPECT_EQ(nullptr, windowed->MaskPicture);
    FSkin->ClearSkin();
    windowed->Repaint();
    graphic->Repaint();
    EXPECT_EQ(nullptr, windowed->Picture);
    EXPECT_EQ(nullptr, windowed->MaskPicture);
    EXPECT_EQ(nullptr, graphic->Picture);
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(windowed->Handle(), 5, 5));
    // The geometry keeps its last values.
    EXPECT_EQ(Rect(0, 0, 20, 10), windowed->SkinRect);
}

// The form's skin-change walk resets the index of windowed controls only.
// A base whose skin image cannot be made, as with a picture too big to copy.
template <typename TBase>
class TUnpaintable : public TBase {
public:
    using TBase::TBase;
    void CreateControlSkinImage(TBitmap*) override { throw EOutOfResources(u"Out of system resources"); }
};

TEST_F(SkinControlBases, AnElementThatCannotBePaintedIsReportedOnceAndGivesTheDefaultLook) {
    LoadFlat();
    std::vector<String> reports;
    Application->OnException = [&](TObject*, const Exception& E) { reports.push_back(E.Message()); };
    auto* windowed = Add<TUnpaintable<TqxSkinCustomControl>>(10, 10, 160, 50);
    auto* graphic = Add<TUnpaintable<TqxGraphicSkinCustomControl>>(10, 100, 160, 50);
    windowed->SetSkinDataName(u"button");
    graphic->SetSkinDataName(u"button");
    windowed->SetSkinData(FSkin);
    graphic->SetSkinData(FSkin);
    // A sound control of the same element.
    TqxSkinCustomControl* sound = Windowed(200, 10, 160, 50);
    Pump();
    EXPECT_EQ(reports, std::vector<String>{u"Out of system resources"});
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(windowed->Handle(), 80, 25));
    EXPECT_EQ(ColorToRGB(clBtnFace), FormPixel(90, 125));
    // The element is refused for the rest of the skin, so the sound control
    // takes the default look too at its next paint; a skin load brings it back.
    sound->Invalidate();
    EXPECT_EQ(ColorToRGB(clBtnFace), PixelOf(sound->Handle(), 80, 25));
    EXPECT_EQ(-1, sound->FIndex);
    delete windowed;
    delete graphic;
    LoadFlat();
    sound->Invalidate();
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpCenter), PixelOf(sound->Handle(), 80, 25));
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(SkinControlBases, OnlyWindowedControlsForgetTheElementBeforeAChange) {
    LoadFlat();
    IqxSkinChangeable* windowed = Windowed(10, 10, 80, 30);
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 100, 80, 30);
    IqxSkinChangeable* graphicChange = graphic;
    windowed->BeforeChangeSkinData();
    graphicChange->BeforeChangeSkinData();
    EXPECT_EQ(-1, dynamic_cast<TqxSkinControl*>(windowed)->FIndex);
    EXPECT_NE(-1, graphic->FIndex);
    EXPECT_EQ(FSkin, graphicChange->SkinData());
}

// The container path paints the frame strips and the client piece straight
// onto the canvas; an element whose client piece is empty paints its
// strips and nothing in between.
TEST_F(SkinControlBases, ContainersPaintStripsAndTheClientPiece) {
    TFixtureSkin skin = FlatSkin();
    const String picture = GetValue(skin, u"button", u"pictureindex");
    AddElement(skin, u"emptyclient", u"button",
               {{u"pictureindex", picture},
                {u"skinrect", u"0,0,64,25"},
                {u"lefttoppoint", u"4,4"},
                {u"righttoppoint", u"60,4"},
                {u"leftbottompoint", u"4,21"},
                {u"rightbottompoint", u"60,21"},
                {u"clientrect", u"4,4,4,21"},
                {u"stretcheffect", u"0"}});
    Load(skin);
    TqxSkinCustomControl* container = Windowed(10, 10, 160, 80);
    container->ForcebackGround = true;
    container->Repaint();
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpLeftTop), PixelOf(container->Handle(), 1, 1));
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpCenter), PixelOf(container->Handle(), 80, 40));
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpBottom), PixelOf(container->Handle(), 80, 78));

    TqxSkinCustomControl* empty = Windowed(10, 100, 160, 80, u"emptyclient");
    empty->ForcebackGround = true;
    empty->Repaint();
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpLeftTop), PixelOf(empty->Handle(), 1, 1));
    EXPECT_EQ(FlatColor(u"button", u"skinrect", fpRightBottom), PixelOf(empty->Handle(), 158, 78));
}

class TParentBGCounter : public TqxSkinCustomControl {
public:
    using TqxSkinCustomControl::TqxSkinCustomControl;
    void CheckParentBackground() override { ++Checks; }
    void DefaultHandler(TMessage& AMessage) override {
        if (AMessage.Msg == SKINMSG_PARENTBG) ++Passed;
        TqxSkinCustomControl::DefaultHandler(AMessage);
    }
    Integer Checks = 0;
    Integer Passed = 0;
};

TEST_F(SkinControlBases, ParentBackgroundReachesWindowedChildrenAndGoesNoFurther) {
    LoadFlat();
    TqxSkinCustomControl* parent = Windowed(10, 10, 200, 100);
    auto* child = new TParentBGCounter(FForm);
    child->SetParent(parent);
    child->SetBounds(5, 5, 40, 20);
    child->HandleNeeded();
    Pump();
    const Integer before = child->Checks;
    parent->BroadcastParentBackground();
    EXPECT_EQ(before + 1, child->Checks);
    win::SendMessageW(child->Handle(), SKINMSG_PARENTBG, 0, 0);
    EXPECT_EQ(before + 2, child->Checks);
    EXPECT_EQ(0, child->Passed);
    // A stretched element tells its children when its size changes.
    parent->SetBounds(10, 10, 220, 110);
    EXPECT_LT(before + 2, child->Checks);
}

class TAdjustingParent : public TqxSkinCustomControl, public IqxSkinControlsParent {
public:
    using TqxSkinCustomControl::TqxSkinCustomControl;
    bool AdjustControlsRect(TRect& ARect) override {
        ARect = Rect(0, 10, 200, 50);
        return Adjust;
    }
    bool Adjust = true;
};

TEST_F(SkinControlBases, APartentThatAdjustsItsControlsCentresThem) {
    auto* parent = Add<TAdjustingParent>(0, 0, 300, 100);
    auto* windowed = new TqxSkinCustomControl(FForm);
    windowed->SetParent(parent);
    windowed->SetBounds(5, 0, 30, 20);
    auto* graphic = new TqxGraphicSkinCustomControl(FForm);
    graphic->SetParent(parent);
    graphic->SetBounds(50, 0, 30, 10);
    EXPECT_EQ(20, windowed->Top());
    EXPECT_EQ(25, graphic->Top());
    parent->Adjust = false;
    windowed->SetBounds(5, 3, 30, 20);
    EXPECT_EQ(3, windowed->Top());
}

TEST_F(SkinControlBases, MouseEnterAndLeaveEvents) {
    TqxSkinCustomControl* windowed = Windowed(10, 10, 50, 30);
    TqxGraphicSkinCustomControl* graphic = Graphic(10, 100, 50, 30);
    std::vector<std::string> events;
    windowed->OnMouseEnter = [&](TObject*) { events.push_back("enter windowed"); };
    windowed->OnMouseLeave = [&](TObject*) { events.push_back("leave windowed"); };
    graphic->OnMouseEnter = [&](TObject*) { events.push_back("enter graphic"); };
    graphic->OnMouseLeave = [&](TObject*) { events.push_back("leave graphic"); };
    win::driver::MouseMove(ScreenPoint(FForm->Handle(), 20, 20));
    Pump();
    win::driver::MouseMove(ScreenPoint(FForm->Handle(), 20, 110));
    Pump();
    win::driver::MouseMove(ScreenPoint(FForm->Handle(), 300, 250));
    Pump();
    EXPECT_EQ(
        (std::vector<std::string>{"enter windowed", "leave windowed", "enter graphic", "leave graphic"}),
        events);
}

}  // namespace
