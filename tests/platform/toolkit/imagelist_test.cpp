#include "platform/toolkit/imagelist.h"

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"

namespace {

// A strip of AColours.size() images of 2 x 2 pixels: each image is its colour
// with its bottom-left pixel in lime, the colour masked out below.
void MakeStrip(TBitmap& ABitmap, std::initializer_list<TColor> AColours) {
    ABitmap.SetPixelFormat(pf24bit);
    ABitmap.SetSize(2 * static_cast<Integer>(AColours.size()), 2);
    Integer x = 0;
    for (TColor colour : AColours) {
        ABitmap.Canvas()->Brush()->SetColor(colour);
        ABitmap.Canvas()->FillRect(Rect(x, 0, x + 2, 2));
        ABitmap.Canvas()->SetPixels(x, 1, clLime);
        x += 2;
    }
}

class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override {
        FTarget.SetPixelFormat(pf32bit);
        FTarget.SetSize(6, 3);
        Clean();
    }
    void Clean() {
        FTarget.Canvas()->Brush()->SetColor(clWhite);
        FTarget.Canvas()->FillRect(Rect(0, 0, 6, 3));
    }
    TColor At(Integer X, Integer Y) { return FTarget.Canvas()->Pixels(X, Y); }

    TCustomImageList FList{2, 2};
    TBitmap FTarget;
};

TEST_F(ImageListTest, StartsEmptyAtSixteenPixels) {
    TCustomImageList list(nullptr);
    EXPECT_EQ(16, list.Width());
    EXPECT_EQ(16, list.Height());
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(clNone, list.BkColor());
}

TEST_F(ImageListTest, AStripGivesOneImagePerWidth) {
    TBitmap strip;
    MakeStrip(strip, {clRed, clBlue, clBlack});
    EXPECT_EQ(0, FList.Add(&strip, nullptr));
    EXPECT_EQ(3, FList.Count());
    EXPECT_EQ(3, FList.AddMasked(&strip, clLime));
    EXPECT_EQ(6, FList.Count());
    FList.Draw(FTarget.Canvas(), 0, 0, 1);
    FList.Draw(FTarget.Canvas(), 2, 0, 4);
    EXPECT_EQ(clBlue, At(0, 0));
    EXPECT_EQ(clLime, At(0, 1));
    EXPECT_EQ(clBlue, At(2, 0));
    EXPECT_EQ(clWhite, At(2, 1));  // masked out
    FList.Draw(FTarget.Canvas(), 4, 0, 6);
    FList.Draw(FTarget.Canvas(), 4, 0, -1);
    EXPECT_EQ(clWhite, At(4, 0));
}

TEST_F(ImageListTest, MasksComeFromAColourTheCornerOrABitmap) {
    TBitmap strip;
    MakeStrip(strip, {clRed});
    TBitmap mask;
    mask.SetPixelFormat(pf24bit);
    mask.SetSize(2, 2);
    mask.Canvas()->SetPixels(1, 0, clWhite);
    FList.AddMasked(&strip, clDefault);
    FList.Add(&strip, &mask);
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    FList.Draw(FTarget.Canvas(), 2, 0, 1);
    EXPECT_EQ(clWhite, At(0, 1));
    EXPECT_EQ(clRed, At(1, 1));
    EXPECT_EQ(clRed, At(2, 0));
    EXPECT_EQ(clWhite, At(3, 0));
    EXPECT_EQ(clLime, At(2, 1));
}

TEST_F(ImageListTest, InsertReplaceAndDeleteKeepTheOrder) {
    TBitmap red, blue, black;
    MakeStrip(red, {clRed});
    MakeStrip(blue, {clBlue});
    MakeStrip(black, {clBlack});
    FList.Add(&red, nullptr);
    FList.Add(&blue, nullptr);
    FList.Insert(1, &black, nullptr);
    FList.Insert(3, &red, nullptr);
    auto colourOf = [&](Integer AIndex) {
        Clean();
        FList.Draw(FTarget.Canvas(), 0, 0, AIndex);
        return At(0, 0);
    };
    EXPECT_EQ(clRed, colourOf(0));
    EXPECT_EQ(clBlack, colourOf(1));
    EXPECT_EQ(clBlue, colourOf(2));
    FList.ReplaceMasked(0, &blue, clLime);
    FList.Delete(1);
    EXPECT_EQ(3, FList.Count());
    EXPECT_EQ(clBlue, colourOf(0));
    EXPECT_EQ(clBlue, colourOf(1));
    for (auto call : std::initializer_list<std::function<void()>>{[&] { FList.Insert(5, &red, nullptr); },
                                                                  [&] { FList.Delete(3); },
                                                                  [&] { FList.Replace(-1, &red, nullptr); },
                                                                  [&] {
                                                                      TIcon icon;
                                                                      FList.GetIcon(3, &icon);
                                                                  }}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(u"Invalid ImageList Index", e.Message());
        }
    }
}

TEST_F(ImageListTest, ANewSizeEmptiesTheList) {
    TBitmap strip;
    MakeStrip(strip, {clRed, clBlue});
    FList.Add(&strip, nullptr);
    FList.SetWidth(2);
    EXPECT_EQ(2, FList.Count());
    FList.SetHeight(3);
    EXPECT_EQ(0, FList.Count());
}

TEST_F(ImageListTest, DisabledImagesAreEmbossedInButtonColours) {
    TBitmap strip;
    MakeStrip(strip, {clRed});
    FList.AddMasked(&strip, clLime);
    FList.Draw(FTarget.Canvas(), 0, 0, 0, false);
    // Shape: (0,0), (1,0), (1,1); highlight one pixel down and right, shadow on top.
    EXPECT_EQ(ColorToRGB(clBtnShadow), At(0, 0));
    EXPECT_EQ(ColorToRGB(clBtnShadow), At(1, 1));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), At(2, 1));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), At(2, 2));
    EXPECT_EQ(clWhite, At(0, 1));
    FList.SetBkColor(clBlack);
    Clean();
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    EXPECT_EQ(clBlack, At(0, 1));
    EXPECT_EQ(clRed, At(0, 0));
}

TEST_F(ImageListTest, ChangesReachTheEventAndEveryLink) {
    int events = 0, first = 0, second = 0;
    FList.OnChange = [&](TObject* ASender) {
        EXPECT_EQ(&FList, ASender);
        ++events;
    };
    TChangeLink link;
    link.OnChange = [&](TObject*) { ++first; };
    FList.RegisterChanges(&link);
    EXPECT_EQ(&FList, link.Sender());
    {
        TChangeLink shortLived;
        shortLived.OnChange = [&](TObject*) { ++second; };
        FList.RegisterChanges(&shortLived);
        TBitmap strip;
        MakeStrip(strip, {clRed});
        FList.Add(&strip, nullptr);
    }
    FList.Clear();
    FList.SetBkColor(clRed);
    EXPECT_EQ(3, events);
    EXPECT_EQ(3, first);
    EXPECT_EQ(1, second);
    {
        TCustomImageList other(2, 2);
        other.RegisterChanges(&link);
        FList.Clear();
        EXPECT_EQ(3, first);
    }
    EXPECT_EQ(nullptr, link.Sender());
}

class TRecordingList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    Cardinal Style = 0xFFFF;
    bool Enabled = true;

protected:
    void DoDraw(Integer, TCanvas*, Integer, Integer, Cardinal AStyle, bool AEnabled) override {
        Style = AStyle;
        Enabled = AEnabled;
    }
};

TEST_F(ImageListTest, DrawingGoesThroughTheOverridableDraw) {
    TRecordingList list(2, 2);
    TBitmap strip;
    MakeStrip(strip, {clRed});
    list.Add(&strip, nullptr);
    list.Draw(FTarget.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(ILD_NORMAL, list.Style);
    EXPECT_FALSE(list.Enabled);
    list.Draw(FTarget.Canvas(), 0, 0, 0, dsTransparent, itMask);
    EXPECT_EQ(ILD_TRANSPARENT | ILD_MASK, list.Style);
    EXPECT_TRUE(list.Enabled);
    EXPECT_EQ(clWhite, At(0, 0));
}

TEST_F(ImageListTest, IconsCarryTheImageAndItsMask) {
    TBitmap strip;
    MakeStrip(strip, {clRed});
    FList.AddMasked(&strip, clLime);
    TIcon icon;
    FList.GetIcon(0, &icon);
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(2, icon.Width());
    EXPECT_EQ(2, icon.Height());
    FTarget.Canvas()->Draw(1, 1, &icon);
    EXPECT_EQ(clRed, At(1, 1));
    EXPECT_EQ(clWhite, At(1, 2));
    EXPECT_EQ(clRed, At(2, 2));
}

TEST_F(ImageListTest, ListsAreReachedByHandleUntilTheyGo) {
    TBitmap strip;
    MakeStrip(strip, {clRed});
    FList.AddMasked(&strip, clLime);
    const win::HIMAGELIST handle = FList.Handle();
    int cx = 0, cy = 0;
    EXPECT_TRUE(win::ImageList_GetIconSize(handle, &cx, &cy));
    EXPECT_EQ(std::pair(cx, cy), std::pair(2, 2));
    EXPECT_EQ(win::ImageList_GetImageCount(handle), 1);

    // CLR_NONE leaves the masked pixel alone; a colour fills it first.
    struct Case {
        win::COLORREF Back;
        TColor Masked;
    } cases[] = {{win::CLR_NONE, clWhite}, {0x0000FF, clRed}};
    for (const Case& c : cases) {
        Clean();
        EXPECT_TRUE(win::ImageList_DrawEx(handle, 0, FTarget.Canvas()->Handle(), 0, 0, 0, 0, c.Back,
                                          win::CLR_NONE, ILD_NORMAL));
        EXPECT_EQ(At(0, 0), clRed);
        EXPECT_EQ(At(0, 1), c.Masked);
    }
    EXPECT_EQ(FList.BkColor(), clNone) << "drawing by handle keeps the list's own colour";
    // The caller's DC keeps what its canvas selected into it.
    FTarget.Canvas()->Font()->SetHeight(-30);
    const win::HDC dc = FTarget.Canvas()->Handle();
    const win::HGDIOBJ font = win::GetCurrentObject(dc, win::OBJ_FONT);
    win::ImageList_DrawEx(handle, 0, dc, 0, 0, 0, 0, win::CLR_NONE, win::CLR_NONE, ILD_NORMAL);
    EXPECT_EQ(win::GetCurrentObject(dc, win::OBJ_FONT), font);
    EXPECT_EQ(win::ImageList_SetBkColor(handle, 0x00FF00), win::CLR_NONE);
    EXPECT_EQ(FList.BkColor(), clLime);

    win::HIMAGELIST stale;
    {
        TCustomImageList other(2, 2);
        stale = other.Handle();
        EXPECT_NE(stale, handle);
    }
    EXPECT_EQ(win::FindImageList(stale), nullptr);
    EXPECT_FALSE(win::ImageList_DrawEx(stale, 0, FTarget.Canvas()->Handle(), 0, 0, 0, 0, win::CLR_NONE,
                                       win::CLR_NONE, ILD_NORMAL));
    EXPECT_FALSE(win::ImageList_GetIconSize(stale, &cx, &cy));
    EXPECT_EQ(win::ImageList_GetImageCount(stale), 0);
}

// A 2 x 2 pf32bit picture: red at alpha 255, 128 and 0, and green with alpha.
void MakeAlphaPicture(TBitmap& ABitmap, bool AWithAlpha) {
    ABitmap.SetPixelFormat(pf32bit);
    ABitmap.SetSize(2, 2);
    const Byte alphas[4] = {255, 128, 0, 255};
    for (Integer y = 0; y < 2; ++y) {
        auto* p = static_cast<Byte*>(ABitmap.ScanLine(y));
        for (Integer x = 0; x < 2; ++x, p += 4) {
            const bool green = y == 1 && x == 1;
            p[0] = 0, p[1] = green ? 255 : 0, p[2] = green ? 0 : 255;
            p[3] = AWithAlpha ? alphas[2 * y + x] : 0;
        }
    }
}

TEST_F(ImageListTest, ThirtyTwoBitListsBlendPicturesByTheirAlpha) {
    TBitmap picture;
    MakeAlphaPicture(picture, true);
    FList.SetColorDepth(cd32Bit);
    FList.Add(&picture, nullptr);
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(1, 0), TColor(0x7F7FFF)) << "half red over white";
    EXPECT_EQ(At(0, 1), clWhite) << "alpha 0 leaves the target";
    EXPECT_EQ(At(1, 1), clLime);

    // The mask follows the alpha: what is transparent stays so when greyed.
    Clean();
    FList.Draw(FTarget.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(At(0, 1), clWhite);
    EXPECT_NE(At(0, 0), clWhite);
    win::ICONINFO info{};
    TIcon icon;
    FList.GetIcon(0, &icon);
    ASSERT_TRUE(win::GetIconInfo(icon.Handle(), &info));
    win::BITMAP colour{};
    win::GetObject(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmBitsPixel, 32) << "the icon keeps the alpha";
    win::DeleteObject(info.hbmColor);
    win::DeleteObject(info.hbmMask);

    // Without alpha anywhere the picture is opaque; other depths ignore alpha.
    TBitmap plain;
    MakeAlphaPicture(plain, false);
    FList.Add(&plain, nullptr);
    TCustomImageList deviceList(2, 2);
    deviceList.Add(&picture, nullptr);
    for (TCustomImageList* list : {&FList, &deviceList}) {
        Clean();
        list->Draw(FTarget.Canvas(), 0, 0, list == &FList ? 1 : 0);
        EXPECT_EQ(At(0, 1), clRed);
        EXPECT_EQ(At(1, 0), clRed);
    }

    FList.SetColorDepth(cd24Bit);
    EXPECT_EQ(FList.Count(), 0) << "a new depth empties the list";
}

}  // namespace
