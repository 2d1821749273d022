// The layered frame: four per-pixel-alpha windows around a skinned form,
// following, resizing and moving it, as the memory back end records them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "formtest.h"
#include "platform/gdi/regions.h"
#include "platform/win/input.h"
#include "platform/win/window.h"
#include "skin/core/qxutils.h"
#include "skin/forms/captionobject.h"
#include "skin/forms/frameobjects.h"
#include "skin/forms/layeredframe.h"

using namespace win;
using namespace skinfixtures;

namespace {

// A 100 x 80 frame picture around a client rectangle (10, 10, 90, 70): strips
// of 10 pixels on every side, corners 20 wide; its mask runs from
// transparent at the left to opaque at the right. The hit border lies 6
// pixels outside the form, the corner zones are 10 x 10.
TFixtureSkin DecorationSkin() {
    TFixtureSkin skin = LayeredSkin();
    SetValue(skin, u"PICTURES", u"activepicturescount", u"8");
    SetValue(skin, u"PICTURES", u"6", u"frameoff.bmp");
    SetValue(skin, u"PICTURES", u"7", u"blurmask.bmp");
    skin.Files[u"frameoff.bmp"] = SolidBmp(100, 80, 0x10B981);
    skin.Files[u"blurmask.bmp"] = SolidBmp(100, 80, 0x000000);
    const std::pair<const char16_t*, const char16_t*> values[] = {
        {u"fullborder", u"0"},
        {u"inactivepictureindex", u"6"},
        {u"lefttoppoint", u"20,10"},
        {u"righttoppoint", u"80,10"},
        {u"leftbottompoint", u"20,70"},
        {u"rightbottompoint", u"80,70"},
        {u"borderrect", u"4,4,96,76"},
        {u"hittestenable", u"1"},
        {u"hittestsize", u"4"},
        {u"hittestlefttoppoint", u"14,14"},
        {u"hittestrighttoppoint", u"86,14"},
        {u"hittestleftbottompoint", u"14,66"},
        {u"hittestrightbottompoint", u"86,66"},
        {u"alphablendvalue", u"230"},
        {u"inactivealphablendvalue", u"150"},
    };
    for (const auto& [key, value] : values)
        SetValue(skin, u"LAYERFRAME", key, value);
    return skin;
}

constexpr TColor ActiveColor = 0x00EB6325;    // 0x2563EB as 0x00BBGGRR
constexpr TColor InactiveColor = 0x0081B910;  // 0x10B981

class LayeredFrameTest : public FormsTest {
protected:
    static TqxFormLayerBorder* Frame(TForm* AForm) { return D(AForm)->FBorderLayer; }
    static std::vector<TqxFormLayerWindow*> Windows(TForm* AForm) {
        TqxFormLayerBorder* f = Frame(AForm);
        return {f->LeftBorder, f->TopBorder, f->RightBorder, f->BottomBorder};
    }
    static RECT Bounds(TqxFormLayerWindow* AWindow) { return driver::Inspect(AWindow->Handle()).Bounds; }
    static TRect R(const RECT& A) { return Rect(A.left, A.top, A.right, A.bottom); }
    // An upload pixel's colour and its alpha.
    static TColor Colour(TqxFormLayerWindow* AWindow, int X, int Y) {
        return TColor(gdi::PixelToColor(driver::RawPixel(AWindow->Handle(), X, Y) & gdi::ColorMask));
    }
    static int Alpha(TqxFormLayerWindow* AWindow, int X, int Y) {
        return int(driver::RawPixel(AWindow->Handle(), X, Y) >> 24);
    }
    // The four windows' bounds: left, top, right, bottom.
    static std::vector<TRect> FrameBounds(TForm* AForm) {
        std::vector<TRect> result;
        for (TqxFormLayerWindow* w : Windows(AForm))
            result.push_back(w ? R(Bounds(w)) : TRect{});
        return result;
    }
    static std::vector<TRect> Expected(Integer L, Integer T, Integer W, Integer H) {
        // Frame: (L - 10, T - 10) and (W + 20) x (H + 20).
        return {Rect(L - 10, T, L, T + H), Rect(L - 10, T - 10, L + W + 10, T),
                Rect(L + W, T, L + W + 10, T + H), Rect(L - 10, T + H, L + W + 10, T + H + 10)};
    }
    static int Uploads(TqxFormLayerWindow* AWindow) { return driver::Layered(AWindow->Handle()).Uploads; }
};

TEST_F(LayeredFrameTest, FourWindowsSurroundTheShownFormWithTheStripsOfThePicture) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    ASSERT_TRUE(Frame(form)->Visible());
    EXPECT_EQ(FrameBounds(form), Expected(100, 100, 600, 400));
    for (TqxFormLayerWindow* w : Windows(form)) {
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->ClassName(), u"TqxFormLayerWindow");
        const driver::TWindowInfo info = driver::Inspect(w->Handle());
        EXPECT_TRUE(info.Visible);
        EXPECT_TRUE(info.ExStyle & WS_EX_LAYERED);
        // A frame with a hit border takes the mouse.
        EXPECT_FALSE(info.ExStyle & WS_EX_TRANSPARENT);
        const driver::TLayeredInfo layered = driver::Layered(w->Handle());
        EXPECT_GE(layered.Uploads, 1);
        EXPECT_EQ(layered.UploadSize.cx, info.Bounds.right - info.Bounds.left);
        EXPECT_EQ(layered.UploadSize.cy, info.Bounds.bottom - info.Bounds.top);
        EXPECT_EQ(layered.UploadAlpha, 230);
    }
    // The left strip is the picture's transparent side, the right one its
    // opaque side; the top strip's stretched middle runs between its corners.
    auto [left, top, right, bottom] = std::tuple{Frame(form)->LeftBorder, Frame(form)->TopBorder,
                                                 Frame(form)->RightBorder, Frame(form)->BottomBorder};
    EXPECT_EQ(Alpha(left, 0, 200), 0);
    EXPECT_EQ(Alpha(right, 9, 200), 255);
    EXPECT_EQ(Colour(right, 9, 200), ActiveColor);
    EXPECT_EQ(Alpha(top, 0, 5), 0);
    EXPECT_EQ(Alpha(top, 619, 5), 255);
    EXPECT_EQ(Alpha(bottom, 619, 5), 255);
    EXPECT_EQ(Alpha(top, 310, 5), Alpha(bottom, 310, 5));
    // The windows are no skinned forms and never heard the skin change.
    EXPECT_EQ(FindDravenfold(top), nullptr);
}

TEST_F(LayeredFrameTest, TheFrameFollowsMovesAndResizes) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    TqxFormLayerWindow* top = Frame(form)->TopBorder;
    const int before = Uploads(top);
    // A move only moves the windows.
    form->SetBounds(250, 180, 600, 400);
    driver::Pump();
    EXPECT_EQ(FrameBounds(form), Expected(250, 180, 600, 400));
    EXPECT_EQ(Uploads(top), before);
    // A resize uploads images of the new size.
    form->SetBounds(250, 180, 500, 300);
    driver::Pump();
    EXPECT_EQ(FrameBounds(form), Expected(250, 180, 500, 300));
    EXPECT_GT(Uploads(top), before);
    EXPECT_EQ(driver::Layered(top->Handle()).UploadSize.cx, 520);
    EXPECT_EQ(driver::Layered(Frame(form)->LeftBorder->Handle()).UploadSize.cy, 300);
}

TEST_F(LayeredFrameTest, DeactivationSwapsToTheInactivePictureAndAlpha) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    form->SetFocus();
    driver::Pump();
    TqxFormLayerWindow* right = Frame(form)->RightBorder;
    EXPECT_EQ(Colour(right, 9, 10), ActiveColor);
    NewSkinnedForm(u"Other", Rect(900, 100, 1200, 300));
    ASSERT_FALSE(form->Active());
    right = Frame(form)->RightBorder;
    EXPECT_EQ(Colour(right, 9, 10), InactiveColor);
    EXPECT_EQ(driver::Layered(right->Handle()).UploadAlpha, 150);
    const std::vector<BYTE> history = driver::Layered(right->Handle()).AlphaHistory;
    EXPECT_NE(std::find(history.begin(), history.end(), BYTE(230)), history.end());
    EXPECT_EQ(history.back(), 150);
    form->SetFocus();
    driver::Pump();
    EXPECT_EQ(Colour(Frame(form)->RightBorder, 9, 10), ActiveColor);
    EXPECT_EQ(driver::Layered(Frame(form)->RightBorder->Handle()).UploadAlpha, 230);
}

TEST_F(LayeredFrameTest, TheFrameGoesAndComesWithTheFormAndItsStates) {
    NewMainForm(Rect(0, 0, 300, 200));
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    struct Step {
        const char* what;
        std::function<void()> act;
        bool shown;
    };
    const Step steps[] = {
        {"hidden", [&] { form->Hide(); }, false},
        {"shown", [&] { form->Show(); }, true},
        {"maximized", [&] { D(form)->SetWindowState(wsMaximized); }, false},
        {"restored", [&] { D(form)->SetWindowState(wsNormal); }, true},
        {"minimized to its caption", [&] { D(form)->SetWindowState(wsMinimized); }, true},
        {"restored again", [&] { D(form)->SetWindowState(wsNormal); }, true},
    };
    for (const Step& step : steps) {
        step.act();
        driver::Pump();
        SCOPED_TRACE(step.what);
        EXPECT_EQ(Frame(form)->Visible(), step.shown);
        EXPECT_EQ(Frame(form)->TopBorder != nullptr, step.shown);
        if (step.shown) {
            EXPECT_EQ(FrameBounds(form), Expected(form->Left(), form->Top(), form->Width(), form->Height()));
        }
    }
}

TEST_F(LayeredFrameTest, TheMainFormsFrameHidesWhileTheApplicationIsMinimized) {
    TForm* main = NewMainForm(Rect(100, 100, 700, 500));
    D(main)->SetSkinData(NewSkinData(DecorationSkin()));
    driver::Pump();
    ASSERT_TRUE(Frame(main)->Visible());
    D(main)->SetWindowState(wsMinimized);
    driver::Pump();
    EXPECT_FALSE(Frame(main)->Visible());
    driver::RestoreFromTaskBar(main->Handle());
    driver::Pump();
    EXPECT_TRUE(Frame(main)->Visible());
    EXPECT_EQ(FrameBounds(main), Expected(100, 100, 600, 400));
}

TEST_F(LayeredFrameTest, SkinChangesAndTheSwitchDecideWhetherThereIsAFrame) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    TqxSkinData* data = D(form)->SkinData();
    // A skin without a layer frame.
    LoadFixture(data, ProjectSkin(u"default"));
    driver::Pump();
    EXPECT_FALSE(Frame(form)->Visible());
    EXPECT_EQ(Frame(form)->FData, nullptr);
    LoadFixture(data, DecorationSkin());
    driver::Pump();
    ASSERT_TRUE(Frame(form)->Visible());
    EXPECT_EQ(FrameBounds(form), Expected(100, 100, 600, 400));
    data->SetShowLayeredBorders(false);
    driver::Pump();
    EXPECT_FALSE(Frame(form)->Visible());
    data->SetShowLayeredBorders(true);
    driver::Pump();
    EXPECT_TRUE(Frame(form)->Visible());
    // The skin data freed: nothing keeps reading it.
    delete data;
    driver::Pump();
    EXPECT_FALSE(Frame(form)->Visible());
    EXPECT_EQ(Frame(form)->FData, nullptr);
    form->SetBounds(120, 120, 400, 300);
    driver::Pump();
    EXPECT_EQ(Frame(form)->TopBorder, nullptr);
}

TEST_F(LayeredFrameTest, AFrameWithoutHitBorderLetsTheMouseThroughAndNeverResizes) {
    TFixtureSkin skin = DecorationSkin();
    SetValue(skin, u"LAYERFRAME", u"borderrect", u"0,0,0,0");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    EXPECT_EQ((std::vector<Integer>{frame->LeftSize, frame->TopSize, frame->RightSize, frame->BottomSize}),
              (std::vector<Integer>{0, 0, 0, 0}));
    for (TqxFormLayerWindow* w : Windows(form))
        EXPECT_TRUE(driver::Inspect(w->Handle()).ExStyle & WS_EX_TRANSPARENT);
    EXPECT_NE(WindowFromPoint(POINT{95, 300}), frame->LeftBorder->Handle());
    driver::MouseDown(POINT{705, 300});
    driver::MouseMove(POINT{760, 300});
    driver::MouseUp(POINT{760, 300});
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 700, 500));
}

TEST_F(LayeredFrameTest, BorderSizesAndHitZones) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    EXPECT_EQ((std::vector<Integer>{frame->LeftSize, frame->TopSize, frame->RightSize, frame->BottomSize,
                                    frame->HitTopLeftX, frame->HitTopLeftY, frame->HitBottomRightX,
                                    frame->HitBottomRightY}),
              (std::vector<Integer>{6, 6, 6, 6, 10, 10, 10, 10}));
    struct Case {
        POINT at;
        TqxFormLayerWindow* window;
        TqxFormLayerBorderHit hit;
    };
    const Case cases[] = {
        {{95, 300}, frame->LeftBorder, qxflhLeft},          // inside the hit border
        {{92, 300}, frame->LeftBorder, qxflhNone},          // outside it
        {{705, 300}, frame->RightBorder, qxflhRight},
        {{708, 300}, frame->RightBorder, qxflhNone},
        {{96, 96}, frame->TopBorder, qxflhTopLeft},
        {{400, 95}, frame->TopBorder, qxflhTop},
        {{400, 98}, frame->TopBorder, qxflhNone},           // below the edge zone
        {{703, 96}, frame->TopBorder, qxflhTopRight},
        {{95, 505}, frame->BottomBorder, qxflhBottomLeft},
        {{400, 503}, frame->BottomBorder, qxflhBottom},
        {{703, 503}, frame->BottomBorder, qxflhBottomRight},
        {{400, 508}, frame->BottomBorder, qxflhNone},
    };
    for (const Case& c : cases) {
        driver::MouseMove(c.at);
        driver::Pump();
        const RECT b = Bounds(c.window);
        EXPECT_EQ(c.window->GetHitMode(c.at.x - b.left, c.at.y - b.top), c.hit) << c.at.x << "," << c.at.y;
    }
}

TEST_F(LayeredFrameTest, DraggingTheBorderResizesTheFormAndTheFrameFollows) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    form->SetFocus();
    driver::Pump();
    struct Case {
        POINT from, to;
        TRect bounds;
    };
    const Case cases[] = {
        {{703, 503}, {733, 523}, Rect(100, 100, 730, 520)},  // bottom-right corner
        {{95, 300}, {75, 300}, Rect(80, 100, 730, 520)},     // left edge
        {{400, 95}, {400, 115}, Rect(80, 120, 730, 520)},    // top edge, inward
    };
    for (const Case& c : cases) {
        driver::MouseMove(c.from);
        driver::MouseDown(c.from);
        driver::MouseMove(c.to);
        driver::MouseUp(c.to);
        driver::Pump();
        EXPECT_EQ(form->BoundsRect(), c.bounds);
        EXPECT_EQ(FrameBounds(form), Expected(form->Left(), form->Top(), form->Width(), form->Height()));
    }
    // A press on the frame never activates a frame window.
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(LayeredFrameTest, BeyondTheMinimumMovingBackOutwardWaitsForTheInnerHitEdge) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    D(form)->SetMinWidth(300);
    form->SetFocus();
    driver::Pump();
    const Integer minimum = D(form)->GetMinWidth();
    ASSERT_EQ(minimum, 300);
    const auto move = [](int X) {
        driver::MouseMove(POINT{X, 300});
        driver::Pump();
    };
    move(703);
    driver::MouseDown(POINT{703, 300});
    driver::Pump();
    // Inward past the minimum: clamped.
    move(350);
    EXPECT_EQ(form->Width(), 300);
    // Outward again, still inside the (new) inner hit edge at 400 + 6 - 4.
    move(380);
    EXPECT_EQ(form->Width(), 300);
    // At the edge and beyond it the form grows again.
    move(410);
    EXPECT_EQ(form->Width(), 330);
    // Inward always shrinks.
    move(400);
    EXPECT_EQ(form->Width(), 320);
    driver::MouseUp(POINT{400, 300});
    driver::Pump();
}

TEST_F(LayeredFrameTest, APressOnTheFrameOfAnInactiveFormActivatesTheForm) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    TForm* other = NewSkinnedForm(u"Other", Rect(900, 100, 1200, 300));
    other->SetFocus();
    driver::Pump();
    ASSERT_FALSE(form->Active());
    driver::MouseDown(POINT{400, 95});
    driver::MouseUp(POINT{400, 95});
    driver::Pump();
    EXPECT_TRUE(form->Active());
    for (TqxFormLayerWindow* w : Windows(form))
        EXPECT_NE(GetActiveWindow(), w->Handle());
}

TEST_F(LayeredFrameTest, AFormLowerThanTheStripsGetsNoNegativeImages) {
    TFixtureSkin skin = DecorationSkin();
    // The frame height becomes H + 20 - 415 + ... : less than the top strip.
    SetValue(skin, u"LAYERFRAME", u"heightoffset", u"-415");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    ASSERT_TRUE(frame->Visible());
    EXPECT_TRUE(frame->BottomImage->Empty());
    EXPECT_TRUE(frame->LeftImage->Empty());
    EXPECT_FALSE(driver::Inspect(frame->BottomBorder->Handle()).Visible);
    EXPECT_FALSE(driver::Inspect(frame->LeftBorder->Handle()).Visible);
    EXPECT_TRUE(driver::Inspect(frame->TopBorder->Handle()).Visible);
    // One strip short of both: the bottom image is cut to what remains.
    SetValue(skin, u"LAYERFRAME", u"heightoffset", u"-405");
    LoadFixture(D(form)->SkinData(), skin);
    driver::Pump();
    ASSERT_NE(Frame(form)->BottomImage, nullptr);
    EXPECT_EQ(Frame(form)->BottomImage->Height(), 5);
    EXPECT_EQ(Alpha(Frame(form)->BottomBorder, 619, 4), 255);
}

TEST_F(LayeredFrameTest, PointsOutsideThePictureDrawOnlyWhatExists) {
    struct Case {
        const char16_t* key;
        const char16_t* value;
    };
    for (const Case& c : {Case{u"lefttoppoint", u"500,10"}, Case{u"righttoppoint", u"-20,90"},
                          Case{u"clientrect", u"150,10,-40,300"}, Case{u"leftbottompoint", u"0,-50"}}) {
        TFixtureSkin skin = DecorationSkin();
        SetValue(skin, u"LAYERFRAME", c.key, c.value);
        TForm* form = SkinnedForm(skin, Rect(100, 100, 300, 200));
        form->SetBounds(100, 100, 60, 40);
        driver::Pump();
        EXPECT_TRUE(Frame(form)->Visible()) << StringToUTF8(c.key);
        Free(form);
    }
}

TEST_F(LayeredFrameTest, TheFrameFadesWithTheFormsAlpha) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    struct Case {
        Integer formAlpha, active, inactive;
    };
    // Halves go to the even neighbour: 230 x 1 / 2 = 115, 150 x 51 / 255 = 30.
    for (const Case& c : {Case{255, 230, 150}, Case{0, 0, 0}, Case{51, 46, 30}, Case{128, 115, 75}}) {
        frame->CheckFormAlpha(c.formAlpha, true);
        EXPECT_EQ(frame->FCurrentAlphaBlendValue, c.active) << c.formAlpha;
        EXPECT_EQ(frame->FCurrentInActiveAlphaBlendValue, c.inactive) << c.formAlpha;
        EXPECT_EQ(driver::Layered(frame->TopBorder->Handle()).UploadAlpha, c.active);
    }
}

// The blur-behind regions reach the desktop's blur through the entry points.
std::vector<std::pair<HWND, RECT>> BlurCalls;

HRESULT CompositionOn(win::BOOL* AEnabled) {
    *AEnabled = TRUE;
    return 0;
}

HRESULT RecordBlur(HWND AWindow, const DWM_BLURBEHIND* ABlur) {
    RECT box{};
    if (ABlur->hRgnBlur) GetRgnBox(ABlur->hRgnBlur, &box);
    BlurCalls.emplace_back(AWindow, box);
    return 0;
}

TEST_F(LayeredFrameTest, BlurRegionsGoToTheDesktopWhenCompositionRuns) {
    BlurCalls.clear();
    DwmIsCompositionEnabledProc = CompositionOn;
    DwmEnableBlurBehindWindowProc = RecordBlur;
    TFixtureSkin skin = DecorationSkin();
    SetValue(skin, u"LAYERFRAME", u"blurmaskpictureindex", u"7");
    SetValue(skin, u"LAYERFRAME", u"intersectblurmaskrect", u"2,2,98,78");
    SetValue(skin, u"LAYERFRAME", u"excludeblurmaskrect", u"8,8,92,72");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    DwmIsCompositionEnabledProc = nullptr;
    DwmEnableBlurBehindWindowProc = nullptr;
    ASSERT_TRUE(frame->FIsAeroEnabled);
    const auto callFor = [&](TqxFormLayerWindow* AWindow) {
        for (auto it = BlurCalls.rbegin(); it != BlurCalls.rend(); ++it)
            if (it->first == AWindow->Handle()) return std::optional<RECT>(it->second);
        return std::optional<RECT>();
    };
    // The black mask makes the corners whole: the top region spans the image.
    const auto top = callFor(frame->TopBorder);
    ASSERT_TRUE(top);
    EXPECT_EQ(R(*top), Rect(0, 0, 620, 10));
    const auto left = callFor(frame->LeftBorder);
    ASSERT_TRUE(left);
    EXPECT_EQ(R(*left), Rect(2, 0, 8, 400));
    const auto right = callFor(frame->RightBorder);
    ASSERT_TRUE(right);
    EXPECT_EQ(R(*right), Rect(2, 0, 8, 400));
}

// The fixture's full-border frame with strips of 10 pixels, its close
// button at the buttons rectangle's right end, and a caption object.
TFixtureSkin FullBorderSkin(bool AHitBorder) {
    TFixtureSkin skin = LayeredSkin();
    const std::pair<const char16_t*, const char16_t*> values[] = {
        {u"lefttoppoint", u"20,10"},   {u"righttoppoint", u"80,10"}, {u"leftbottompoint", u"20,70"},
        {u"rightbottompoint", u"80,70"}, {u"captionrect", u"10,0,90,10"}, {u"buttonsrect", u"70,0,88,16"},
    };
    for (const auto& [key, value] : values)
        SetValue(skin, u"LAYERFRAME", key, value);
    if (AHitBorder) {
        SetValue(skin, u"LAYERFRAME", u"borderrect", u"4,4,96,76");
        SetValue(skin, u"LAYERFRAME", u"hittestenable", u"1");
        SetValue(skin, u"LAYERFRAME", u"hittestsize", u"2");
        SetValue(skin, u"SKINOBJECTS", u"count", u"2");
        SetValue(skin, u"SKINOBJECTS", u"1", u"caption:caption");
        SetValue(skin, u"caption", u"skinrect", u"0,0,40,10");
    }
    return skin;
}

TEST_F(LayeredFrameTest, AFullBorderFrameIsTheWholeNonClientAreaAndCarriesTheCaptionButtons) {
    TForm* form = SkinnedForm(FullBorderSkin(false), Rect(100, 100, 700, 500));
    TqxFormLayerBorder* frame = Frame(form);
    ASSERT_TRUE(frame->Visible());
    ASSERT_TRUE(frame->IsFullBorder());
    // The client area is the whole window.
    const driver::TWindowInfo info = driver::Inspect(form->Handle());
    EXPECT_EQ(info.Client.left, info.Bounds.left);
    EXPECT_EQ(info.Client.top, info.Bounds.top);
    EXPECT_EQ(info.Client.right, info.Bounds.right);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(110, 110)), HTCLIENT);
    // The close button sits at the buttons rectangle's right end, moved with
    // the width: 88 + 620 - 100.
    const std::vector<std::shared_ptr<TqxActiveSkinObject>>& objects = D(form)->ObjectList;
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->ObjectRect, Rect(592, 0, 608, 16));
    // Without a hit border the frame is click-through.
    EXPECT_TRUE(driver::Inspect(frame->TopBorder->Handle()).ExStyle & WS_EX_TRANSPARENT);
}

TEST_F(LayeredFrameTest, TheFullBorderCaptionMovesTheFormAndItsDoubleClickMaximizes) {
    TForm* form = SkinnedForm(FullBorderSkin(true), Rect(100, 100, 700, 500));
    form->SetFocus();
    driver::Pump();
    TqxFormLayerBorder* frame = Frame(form);
    ASSERT_TRUE(frame->Visible());
    // The caption runs from the caption rectangle's left to the buttons.
    auto* caption = D(form)->ObjectList[1].get();
    EXPECT_EQ(caption->ObjectRect, Rect(10, 0, 592, 10));
    driver::MouseMove(POINT{300, 96});
    driver::Pump();
    EXPECT_EQ(frame->ActiveObject, 1);
    driver::MouseDown(POINT{300, 96});
    driver::Pump();
    driver::MouseMove(POINT{350, 126});
    driver::Pump();
    driver::MouseUp(POINT{350, 126});
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(150, 130, 750, 530));
    EXPECT_EQ(R(Bounds(frame->TopBorder)), Rect(140, 120, 760, 130));
    // A right press on the caption captures nothing.
    driver::MouseMove(POINT{350, 126});
    driver::MouseDown(POINT{350, 126}, VK_RBUTTON);
    driver::Pump();
    EXPECT_EQ(frame->MouseCaptureObject, -1);
    driver::MouseUp(POINT{350, 126}, VK_RBUTTON);
    driver::Pump();
    SendMessageW(frame->TopBorder->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(210, 6));
    driver::Pump();
    EXPECT_EQ(D(form)->WindowState(), wsMaximized);
    // A full border stays with the maximized form.
    EXPECT_TRUE(frame->Visible());
}

TEST_F(LayeredFrameTest, AMagneticCaptionDragJumpsToTheWorkAreaEdge) {
    TForm* form = SkinnedForm(FullBorderSkin(true), Rect(100, 100, 700, 500));
    D(form)->SetMagnetic(true);
    D(form)->SetMagneticSize(10);
    form->SetFocus();
    driver::Pump();
    // Towards the left edge, inside the snap distance: the form lands on it.
    driver::MouseMove(POINT{300, 96});
    driver::MouseDown(POINT{300, 96});
    driver::Pump();
    driver::MouseMove(POINT{206, 96});
    driver::Pump();
    driver::MouseUp(POINT{206, 96});
    driver::Pump();
    // The frame's outer edge, 6 pixels outside the form, lands on it.
    EXPECT_EQ(form->Left(), 6);
    EXPECT_EQ(form->Top(), 100);
}

TEST_F(LayeredFrameTest, AShownFormAppearsTogetherWithItsFrame) {
    TForm* form = SkinnedForm(DecorationSkin(), Rect(100, 100, 700, 500));
    form->Hide();
    driver::Pump();
    ASSERT_TRUE(D(form)->NeedsLayeredShow());
    form->Show();
    driver::Pump();
    // Both transparent until the form's first timer tick...
    EXPECT_TRUE(driver::Inspect(form->Handle()).ExStyle & WS_EX_LAYERED);
    EXPECT_EQ(driver::Layered(form->Handle()).Alpha, 0);
    ASSERT_TRUE(Frame(form)->Visible());
    EXPECT_EQ(driver::Layered(Frame(form)->TopBorder->Handle()).UploadAlpha, 0);
    // ... then both opaque: the form plain again, the frame at its alpha.
    driver::AdvanceTime(10);
    EXPECT_FALSE(driver::Inspect(form->Handle()).ExStyle & WS_EX_LAYERED);
    EXPECT_EQ(driver::Layered(Frame(form)->TopBorder->Handle()).UploadAlpha, 230);
    EXPECT_EQ(FrameBounds(form), Expected(100, 100, 600, 400));
}

TEST_F(LayeredFrameTest, OnlyAFrameWithoutAlphaSettingsWaitsForTheFormsTimer) {
    struct Case {
        const char* what;
        std::function<void(TqxDravenfold*)> set;
        bool frame;
        bool waits;
    };
    const Case cases[] = {
        {"a frame and no alpha settings", [](TqxDravenfold*) {}, true, true},
        {"a translucent form", [](TqxDravenfold* D) { D->SetAlphaBlend(true); }, true, false},
        {"a fading form", [](TqxDravenfold* D) { D->SetAlphaBlendAnimation(true); }, true, false},
        {"no frame", [](TqxDravenfold*) {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm* form = SkinnedForm(c.frame ? DecorationSkin() : ProjectSkin(u"default"));
        c.set(D(form));
        EXPECT_EQ(D(form)->NeedsLayeredShow(), c.waits);
        Free(form);
    }
}

TEST_F(LayeredFrameTest, MoveAndSetBoundsPlaceTheFramesOuterEdge) {
    struct Case {
        const char* what;
        TFixtureSkin skin;
        Integer inset;
    };
    const Case cases[] = {
        {"hit border 6 pixels out", DecorationSkin(), 6},
        {"full border with a hit border", FullBorderSkin(true), 6},
        {"full border without a hit border", FullBorderSkin(false), 0},
        {"no frame", ProjectSkin(u"default"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm* form = SkinnedForm(c.skin, Rect(100, 100, 700, 500));
        D(form)->Move(50, 60);
        driver::Pump();
        EXPECT_EQ(form->BoundsRect(), Rect(50 + c.inset, 60 + c.inset, 650 + c.inset, 460 + c.inset));
        D(form)->SetBounds(20, 30, 500, 300);
        driver::Pump();
        EXPECT_EQ(form->BoundsRect(), Rect(20 + c.inset, 30 + c.inset, 520 - c.inset, 330 - c.inset));
        Free(form);
    }
}

TEST_F(LayeredFrameTest, AFullBorderFormMaximizesAndMinimizesWithItsFrameInsideTheWorkArea) {
    TFixtureSkin skin = FullBorderSkin(true);
    SetValue(skin, u"LAYERFRAME", u"rollupformheight", u"12");
    TForm* form = SkinnedForm(skin, Rect(100, 100, 700, 500));
    NewMainForm(Rect(0, 0, 300, 200));
    TqxFormLayerBorder* frame = Frame(form);
    // The work area is (0, 0, 1920, 1040); the hit border lies 6 pixels out.
    D(form)->SetWindowState(wsMaximized);
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(6, 6, 1914, 1034));
    EXPECT_TRUE(frame->Visible());
    EXPECT_EQ(FrameBounds(form)[1].Left, -4);
    D(form)->SetWindowState(wsNormal);
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 700, 500));
    EXPECT_EQ(R(Bounds(frame->TopBorder)), Rect(90, 90, 710, 100));
    // Minimized to a caption strip whose frame stands on the area's bottom.
    D(form)->SetWindowState(wsMinimized);
    driver::Pump();
    EXPECT_EQ(D(form)->GetMinHeight(), 10);
    EXPECT_EQ(form->Left() - frame->LeftSize, 0);
    EXPECT_EQ(form->Top() + 12 + frame->BottomSize, 1040);
    ASSERT_TRUE(frame->Visible());
    const RECT bottom = Bounds(frame->BottomBorder);
    EXPECT_EQ(bottom.bottom - (80 - 76), 1040);
}

TEST_F(LayeredFrameTest, AFullBorderKeepsTheFormsOuterEdgeWhenItComesAndGoes) {
    TForm* form = SkinnedForm(ProjectSkin(u"default"), Rect(100, 100, 700, 500));
    TqxSkinData* data = D(form)->SkinData();
    struct Step {
        const char* what;
        std::function<void()> act;
        TRect bounds;
    };
    const Step steps[] = {
        {"a full-border skin", [&] { LoadFixture(data, FullBorderSkin(true)); }, Rect(106, 106, 694, 494)},
        {"layered borders off", [&] { data->SetShowLayeredBorders(false); }, Rect(100, 100, 700, 500)},
        {"layered borders on", [&] { data->SetShowLayeredBorders(true); }, Rect(106, 106, 694, 494)},
        {"a skin without a frame", [&] { LoadFixture(data, ProjectSkin(u"default")); },
         Rect(100, 100, 700, 500)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        driver::Pump();
        EXPECT_EQ(form->BoundsRect(), step.bounds);
    }
    // The bounds saved for the change are used once: a later rebuild leaves
    // a moved form where it is.
    LoadFixture(data, FullBorderSkin(true));
    driver::Pump();
    form->SetBounds(300, 200, 500, 300);
    D(form)->SetSkinData(data);
    driver::Pump();
    EXPECT_EQ(form->BoundsRect(), Rect(300, 200, 800, 500));
}

TEST_F(LayeredFrameTest, TheApplicationsRestoreBringsTheMainFormOverTheOtherForms) {
    TForm* main = NewMainForm(Rect(100, 100, 700, 500));
    D(main)->SetSkinData(NewSkinData(DecorationSkin()));
    TForm* other = NewSkinnedForm(u"Other", Rect(300, 300, 900, 700));
    driver::Pump();
    const auto above = [](TWinControl* A, TWinControl* B) {
        const std::vector<HWND> order = driver::Stacking();
        return std::find(order.begin(), order.end(), A->Handle()) <
               std::find(order.begin(), order.end(), B->Handle());
    };
    ASSERT_TRUE(above(other, main));
    ASSERT_TRUE(Application->OnRestore);
    Application->Restore();
    driver::Pump();
    EXPECT_TRUE(above(main, other));
    EXPECT_TRUE(above(Frame(main)->TopBorder, other));
    // Gone with its component, the handler leaves nothing behind.
    Free(D(main));
    EXPECT_FALSE(Application->OnRestore);
    Application->Restore();
}

TEST_F(LayeredFrameTest, AProgramsOwnRestoreHandlerIsLeftInPlace) {
    int restores = 0;
    Application->OnRestore = [&](TObject*) { ++restores; };
    TForm* main = NewMainForm(Rect(100, 100, 700, 500));
    D(main)->SetSkinData(NewSkinData(DecorationSkin()));
    Application->Restore();
    EXPECT_EQ(restores, 1);
    Application->OnRestore = nullptr;
}

TEST_F(LayeredFrameTest, TheTraysRestoreBringsTheStayOnTopFormsForwardOnlyWithAFrame) {
    for (const bool frame : {true, false}) {
        SCOPED_TRACE(frame ? "with a frame" : "without");
        TForm* main = NewMainForm(Rect(100, 100, 700, 500));
        D(main)->SetSkinData(NewSkinData(frame ? DecorationSkin() : ProjectSkin(u"default")));
        TForm* onTop = NewSkinnedForm(u"OnTop", Rect(300, 300, 600, 500));
        onTop->SetFormStyle(fsStayOnTop);
        TForm* plain = NewSkinnedForm(u"Plain", Rect(400, 400, 700, 600));
        plain->SetFocus();
        driver::Pump();
        main->SetTag(SKINTAG_TRAYRESTORE);
        SendMessageW(main->Handle(), SKINMSG_RESTOREFROMTRAY, 0, 0);
        driver::Pump();
        EXPECT_EQ(main->Tag(), 0);
        EXPECT_EQ(GetForegroundWindow(), frame ? onTop->Handle() : plain->Handle());
        Free(plain);
        Free(onTop);
        Free(main);
        driver::Pump();
    }
}

// A full-border frame with a top strip tall enough for a caption with
// text and quick buttons, over a fully transparent picture: whatever the
// caption draws is the only thing with alpha in the top strip.
TFixtureSkin CaptionSkin() {
    TFixtureSkin skin = FullBorderSkin(true);
    skin.Files[u"framemask.bmp"] = SolidBmp(100, 80, 0x000000);
    const std::pair<const char16_t*, const char16_t*> values[] = {
        {u"clientrect", u"10,30,90,70"},     {u"lefttoppoint", u"20,30"},
        {u"righttoppoint", u"80,30"},        {u"captionrect", u"10,0,90,30"},
        {u"buttonsrect", u"70,0,88,16"},     {u"hittestlefttoppoint", u"14,34"},
        {u"hittestrighttoppoint", u"86,34"},
    };
    for (const auto& [key, value] : values)
        SetValue(skin, u"LAYERFRAME", key, value);
    SetValue(skin, u"caption", u"textrect", u"0,0,40,30");
    SetValue(skin, u"caption", u"fontname", u"Tahoma");
    SetValue(skin, u"caption", u"fontheight", u"-14");
    SetValue(skin, u"caption", u"fontcolor", u"255");
    SetValue(skin, u"caption", u"activefontcolor", u"255");
    SetValue(skin, u"caption", u"alignment", u"taleftjustify");
    return skin;
}

// The caption's part of the top window: the columns that hold ink (alpha
// above 0) and whether every inked pixel has the colour.
struct TInk {
    Integer Left = -1, Right = -1;
};

TEST_F(LayeredFrameTest, TheFullBorderCaptionDrawsItsTextAndQuickButtonsIntoTheFrame) {
    TForm* form = SkinnedForm(CaptionSkin(), Rect(100, 100, 700, 500));
    form->SetFocus();
    driver::Pump();
    TqxFormLayerBorder* frame = Frame(form);
    ASSERT_TRUE(frame->IsFullBorder());
    TqxActiveSkinObject* caption = D(form)->ObjectList[1].get();
    const TRect area = caption->ObjectRect;
    // The columns of the caption with ink in them, and one inked pixel's colour.
    const auto ink = [&](TColor& AColour) {
        TInk result;
        for (Integer x = area.Left; x < area.Right; ++x)
            for (Integer y = area.Top; y < area.Bottom; ++y)
                if (Alpha(Frame(form)->TopBorder, x, y) == 255) {
                    if (result.Left == -1) {
                        result.Left = x;
                        AColour = Colour(Frame(form)->TopBorder, x, y);
                    }
                    result.Right = x + 1;
                }
        return result;
    };
    TColor colour = 0;
    form->SetCaption(u"");
    driver::Pump();
    EXPECT_EQ(ink(colour).Left, -1);
    form->SetCaption(u"MMMM");
    driver::Pump();
    const TInk text = ink(colour);
    ASSERT_NE(text.Left, -1);
    EXPECT_GE(text.Left, area.Left);
    EXPECT_EQ(colour, TColor(0x0000FF));
    // A quick button goes before the text, which moves right of it.
    auto* images = new TCustomImageList(16, 16, form);
    TBitmap image;
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(TColor(0x00FF00));
    image.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(&image, nullptr);
    D(form)->SetQuickImageList(images);
    TqxQuickButtonItem* button = D(form)->QuickButtons()->Add();
    button->SetImageIndex(0);
    driver::Pump();
    const TInk both = ink(colour);
    EXPECT_EQ(colour, TColor(0x00FF00));
    EXPECT_EQ(button->ItemRect, Rect(area.Left + 5, area.Top + 5, area.Left + 25, area.Top + 25));
    EXPECT_EQ(both.Left, button->ItemRect.Left + 2);
    EXPECT_GT(both.Right, text.Right);
    // The button answers the mouse on the frame.
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    const RECT top = Bounds(frame->TopBorder);
    const POINT at{top.left + button->ItemRect.Left + 8, top.top + button->ItemRect.Top + 8};
    driver::MouseMove(at);
    driver::Pump();
    driver::Click(at);
    driver::Pump();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
