#include "skin/controls/qxskintreeview.h"

#include <gtest/gtest.h>

#include "controltest.h"
#include "platform/win/messages.h"

namespace {

using namespace skinfixtures;
using namespace win;

class SkinTreeView : public ControlTest {
protected:
    // A drawn-skin tree of 200 x 150 with a collapsed parent ("parent", one
    // child) and a leaf under it at the top level.
    TqxSkinTreeView* Tree(bool ASkin = true) {
        auto* tree = Add<TqxSkinTreeView>(10, 10, 200, 150);
        FParentNode = tree->Items()->Add(nullptr, u"parent");
        tree->Items()->AddChild(FParentNode, u"child");
        FLeaf = tree->Items()->Add(nullptr, u"leaf");
        tree->SetDrawSkin(true);
        if (ASkin) tree->SetSkinData(FSkin);
        Pump();
        return tree;
    }
    // The button centre and the row's middle of a node.
    static TPoint Centre(TqxSkinTreeView* A, TTreeNode* ANode) {
        const TRect row = ANode->DisplayRect(false);
        const Integer level = ANode->Level() - (A->ShowRoot() ? 0 : 1);
        return Point(level * A->Indent() + A->Indent() / 2, row.Top + row.Height() / 2);
    }

    TTreeNode* FParentNode = nullptr;
    TTreeNode* FLeaf = nullptr;
};

TEST_F(SkinTreeView, WithoutATreeElementLinesAreGreyAndButtonsFramedBlack) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree(false);
    tree->SetSkinDataName(u"nosuchtree");
    tree->SetSkinData(FSkin);
    EXPECT_EQ(-1, tree->FIndex);
    const TPoint c = Centre(tree, FParentNode);
    const Integer size = tree->FButtonSize;
    EXPECT_EQ(5, size);
    EXPECT_EQ(clBlack, PixelOf(tree->Handle(), c.X - size, c.Y));
    EXPECT_EQ(clBlack, PixelOf(tree->Handle(), c.X + size - 1, c.Y + 2));
    // The collapsed node's plus: both strokes in the font colour.
    EXPECT_EQ(ColorToRGB(tree->Font()->Color()), PixelOf(tree->Handle(), c.X - 1, c.Y + 2));
    EXPECT_EQ(ColorToRGB(tree->Font()->Color()), PixelOf(tree->Handle(), c.X + 2, c.Y - 1));
    // The leaf's line starts opaque.
    const TPoint l = Centre(tree, FLeaf);
    EXPECT_EQ(TColor(0x808080), PixelOf(tree->Handle(), l.X, l.Y - 1));
}

TEST_F(SkinTreeView, ALeafLineFadesOverItsSecondHalf) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree();
    tree->SetIndent(40);
    Pump();
    const TPoint l = Centre(tree, FLeaf);
    // From x - 1 to the indent's end: 21 pixels, the last 10 fading.
    const Integer from = l.X - 1, to = tree->Indent();
    const TColor line = tree->FLineColor, back = ColorToRGB(tree->Color());
    EXPECT_EQ(line, PixelOf(tree->Handle(), from, l.Y - 1));
    EXPECT_EQ(line, PixelOf(tree->Handle(), from + 10, l.Y - 1));
    const TColor mid = PixelOf(tree->Handle(), from + 16, l.Y - 1);
    EXPECT_NE(line, mid);
    EXPECT_NE(back, mid);
    EXPECT_EQ(back, PixelOf(tree->Handle(), to - 1, l.Y - 1));
    EXPECT_EQ(back, PixelOf(tree->Handle(), to, l.Y - 1));
    // Indents too small for a second half still paint.
    for (const Integer indent : {8, 9, 10}) {
        tree->SetIndent(indent);
        EXPECT_EQ(back, PixelOf(tree->Handle(), 150, Centre(tree, FLeaf).Y - 1));
    }
}

TEST_F(SkinTreeView, TheSkinsExpandImagesCoverTheBoxes) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree();
    const TPoint c = Centre(tree, FParentNode);
    // Images of 11: half of it less 2; drawn from (x - size - 3, y - size - 3).
    EXPECT_EQ(3, tree->FButtonSize);
    EXPECT_EQ(FlatColor(u"treeview", u"noexpandimagerect", fpWhole),
              PixelOf(tree->Handle(), c.X - 1, c.Y - 1));
    FParentNode->Expand(false);
    EXPECT_EQ(FlatColor(u"treeview", u"expandimagerect", fpWhole), PixelOf(tree->Handle(), c.X - 1, c.Y - 1));

    // A picture the skin does not have: the element is left out, and the
    // default look draws its boxes, none of the earlier skin's images.
    TFixtureSkin broken = FlatSkin();
    SetValue(broken, u"treeview", u"pictureindex", u"99");
    Load(broken);
    tree->ChangeSkinData();
    const TColor frame = PixelOf(tree->Handle(), c.X - 5, c.Y);
    EXPECT_EQ(-1, tree->FIndex);
    EXPECT_EQ(5, tree->FButtonSize);
    EXPECT_EQ(tree->FButtonColor, frame);
    EXPECT_EQ(ColorToRGB(clBlack), frame);
}

TEST_F(SkinTreeView, AButtonImageListSetsTheButtonSize) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree();
    auto* list = new TCustomImageList(16, 12, FForm);
    TBitmap cells;
    cells.SetSize(32, 12);
    cells.Canvas()->Brush()->SetColor(TColor(0x0000FF00));
    cells.Canvas()->FillRect(Rect(0, 0, 16, 12));
    cells.Canvas()->Brush()->SetColor(TColor(0x00FF0000));
    cells.Canvas()->FillRect(Rect(16, 0, 32, 12));
    list->Add(&cells, nullptr);
    tree->SetButtonImageList(list);
    const TPoint c = Centre(tree, FParentNode);
    EXPECT_EQ(TColor(0x0000FF00), PixelOf(tree->Handle(), c.X, c.Y));
    EXPECT_EQ(8, tree->FButtonSize);
    FParentNode->Expand(false);
    EXPECT_EQ(TColor(0x00FF0000), PixelOf(tree->Handle(), c.X, c.Y));
}

TEST_F(SkinTreeView, TheSelectionComesFromAListBoxElementOnly) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree();
    FLeaf->SetText(u"                ");
    tree->SetSelected(FLeaf);
    tree->SetFocus();
    const TRect label = FLeaf->DisplayRect(true);
    EXPECT_EQ(FlatColor(u"listbox", u"focusitemrect", fpCenter),
              PixelOf(tree->Handle(), (label.Left + label.Right) / 2, label.Top + label.Height() / 2));
    // Another element's name, or a list box without its picture: the
    // common control draws.
    const auto defaultDraw = [tree, this] {
        bool paintImages = true, draw = true;
        tree->SkinAdvancedCustomDrawItem(tree, FLeaf, {}, cdPrePaint, paintImages, draw);
        return draw;
    };
    EXPECT_FALSE(defaultDraw());
    tree->SetItemSkinDataName(u"treeview");
    EXPECT_TRUE(defaultDraw());
    tree->SetItemSkinDataName(u"listbox");
    TFixtureSkin broken = FlatSkin();
    SetValue(broken, u"listbox", u"pictureindex", u"99");
    Load(broken);
    EXPECT_TRUE(defaultDraw());
}

TEST_F(SkinTreeView, TheVerticalBarFollowsTheRowsAndMovesThem) {
    LoadFlat();
    TqxSkinTreeView* tree = Tree();
    auto* bar = Add<TqxSkinScrollBar>(210, 10, 16, 150);
    bar->SetKind(sbVertical);
    tree->SetVScrollBar(bar);
    Pump();
    EXPECT_FALSE(bar->Visible());
    for (Integer i = 0; i < 30; ++i)
        tree->Items()->Add(nullptr, u"row");
    Pump();
    ASSERT_TRUE(bar->Visible());
    const Integer rows = 2 + 30;
    EXPECT_EQ(rows - 1, bar->Max());
    EXPECT_EQ(Integer(tree->Perform(TVM_GETVISIBLECOUNT, 0, 0)), bar->PageSize());
    bar->SetPosition(5);
    EXPECT_EQ(tree->Items()->Item(6), tree->TopItem());
    // Fewer rows than fit: hidden again.
    tree->Items()->Clear();
    tree->Items()->Add(nullptr, u"one");
    Pump();
    EXPECT_FALSE(bar->Visible());
}

}  // namespace
