// The tree view: lazy expansion through the hooks, item rectangles and the
// scroll state, deletion (also inside hooks), selection, label editing,
// sorting and painting.
#include "platform/toolkit/treeview.h"

#include <cstring>
#include <utility>

#include "platform/win/commoncontrols.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "stdcontroltest.h"
#include "toolkittest.h"

using namespace win;
namespace driver = win::driver;

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Highlight = 0xFF9933;

class TreeView : public ToolkitTest {
protected:
    // Three levels: "A" with "A1" (with "A1x") and "A2", then "B" and "C".
    TTreeView* NewTree(TRect ABounds = Bounds(10, 10, 200, 150)) {
        Form = NewForm(Bounds(100, 100, 300, 250));
        auto* tree = new TTreeView(Form);
        tree->SetBoundsRect(ABounds);
        TTreeNodes* nodes = tree->Items();
        TTreeNode* a = nodes->AddChild(nullptr, u"A");
        TTreeNode* a1 = nodes->AddChild(a, u"A1");
        nodes->AddChild(a1, u"A1x");
        nodes->AddChild(a, u"A2");
        nodes->Add(a, u"B");
        nodes->Add(a, u"C");
        tree->SetParent(Form);
        Pump();
        return tree;
    }

    static std::vector<String> Shown(TTreeView* ATree) {
        std::vector<String> texts;
        for (TTreeNode* n = ATree->Items()->GetFirstNode(); n; n = n->GetNextVisible())
            texts.push_back(n->Text());
        return texts;
    }

    static TRect ItemRect(TTreeView* ATree, TTreeNode* ANode, bool ATextOnly) {
        RECT r{};
        HTREEITEM item = ANode->ItemId();
        std::memcpy(&r, &item, sizeof item);
        if (!SendMessageW(ATree->Handle(), TVM_GETITEMRECT, ATextOnly, LPARAM(&r))) return {};
        return ToTRect(r);
    }

    TForm* Form = nullptr;
};

TEST_F(TreeView, LazyChildrenComeFromTheExpandingHookWhichMayRefuse) {
    struct Case {
        const char* Name;
        bool Allow;
        std::function<void(TTreeView*, TTreeNode*)> Open;
    } cases[] = {
        {"button", true,
         [](TTreeView* ATree, TTreeNode* ANode) {
             const TRect text = ANode->DisplayRect(true);
             driver::Click(At(ATree, ATree->Indent() / 2, text.Top + text.Height() / 2));
         }},
        {"double click", true,
         [](TTreeView* ATree, TTreeNode* ANode) {
             const TRect text = ANode->DisplayRect(true);
             const POINT at = At(ATree, text.Left + 3, text.Top + 3);
             driver::Click(at);
             driver::Click(at);
         }},
        {"right arrow", true,
         [](TTreeView* ATree, TTreeNode* ANode) {
             ATree->SetFocus();
             ATree->SetSelected(ANode);
             driver::Key(VK_RIGHT);
         }},
        {"code", true, [](TTreeView*, TTreeNode* ANode) { ANode->Expand(false); }},
        {"refused", false, [](TTreeView*, TTreeNode* ANode) { ANode->Expand(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Form = NewForm();
        auto* tree = new TTreeView(Form);
        tree->SetBoundsRect(Bounds(0, 0, 200, 150));
        tree->SetParent(Form);
        TTreeNode* folder = tree->Items()->AddChild(nullptr, u"Folder");
        folder->SetHasChildren(true);
        std::vector<std::string> log;
        tree->OnExpanding = [&](TObject*, TTreeNode* ANode, bool& AAllow) {
            log.push_back("expanding");
            AAllow = c.Allow;
            if (c.Allow && ANode->Count() == 0) {
                tree->Items()->AddChild(ANode, u"Child 1");
                tree->Items()->AddChild(ANode, u"Child 2");
            }
        };
        tree->OnExpanded = [&](TObject*, TTreeNode*) { log.push_back("expanded"); };
        Pump();
        c.Open(tree, folder);
        Pump();
        EXPECT_EQ(folder->Expanded(), c.Allow);
        EXPECT_EQ(log, c.Allow ? (std::vector<std::string>{"expanding", "expanded"})
                               : std::vector<std::string>{"expanding"});
        EXPECT_EQ(Shown(tree).size(), c.Allow ? 3u : 1u);
        Free(Form);
    }
}

TEST_F(TreeView, AHookThatFindsNothingLeavesTheNodeClosedWithoutAButton) {
    TTreeView* tree = NewTree();
    TTreeNode* b = tree->Items()->Item(4);
    b->SetHasChildren(true);
    tree->OnExpanding = [](TObject*, TTreeNode* ANode, bool&) { ANode->SetHasChildren(ANode->Count() > 0); };
    b->Expand(false);
    EXPECT_FALSE(b->Expanded());
    EXPECT_FALSE(b->HasChildren());
}

TEST_F(TreeView, ItemRectsAndScrollStateCountRowsAndPixels) {
    TTreeView* tree = NewTree(Bounds(10, 10, 60, 100));
    tree->FullExpand();
    TTreeNodes* nodes = tree->Items();
    for (Integer i = 0; i < 20; ++i)
        nodes->AddChild(nodes->Item(3), u"A long name for row " + IntToStr(i));
    nodes->Item(3)->Expand(false);
    Pump();
    const Integer rows = Integer(Shown(tree).size());
    EXPECT_EQ(tree->Perform(TVM_GETCOUNT, 0, 0), 26);
    const TRect first = ItemRect(tree, nodes->Item(0), false);
    const Integer row = first.Height();
    EXPECT_EQ(tree->Perform(TVM_GETVISIBLECOUNT, 0, 0), tree->ClientHeight() / row);
    SCROLLINFO v{sizeof v, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(tree->Handle(), SB_VERT, &v);
    EXPECT_EQ(std::tuple(v.nMax, Integer(v.nPage)), std::tuple(rows - 1, tree->ClientHeight() / row));

    SendMessageW(tree->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
    EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 3);
    EXPECT_EQ(tree->TopItem(), nodes->Item(3));
    EXPECT_EQ(ItemRect(tree, nodes->Item(3), false).Top, 0);

    TTreeNode* deep = nodes->Item(5);
    const TRect text = ItemRect(tree, deep, true), whole = ItemRect(tree, deep, false);
    SendMessageW(tree->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
    EXPECT_EQ(GetScrollPos(tree->Handle(), SB_HORZ), 12);
    EXPECT_EQ(ItemRect(tree, deep, true).Left, text.Left - 12) << "the text follows the scroll";
    EXPECT_EQ(ItemRect(tree, deep, false), whole) << "the whole line does not";
    EXPECT_EQ(whole.Left, 0);

    nodes->Item(0)->Collapse(false);
    EXPECT_EQ(ItemRect(tree, nodes->Item(1), false), TRect{}) << "inside a closed node";
    const HTREEITEM stale = nodes->Item(4)->ItemId();
    nodes->Item(4)->Delete();
    RECT r{};
    std::memcpy(&r, &stale, sizeof stale);
    EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETITEMRECT, FALSE, LPARAM(&r)), FALSE);
    EXPECT_EQ(SendMessageW(tree->Handle(), TVM_EDITLABELW, 0, LPARAM(stale)), 0);
}

TEST_F(TreeView, DeletionReachesEveryNodeChildrenFirstAndMovesTheSelection) {
    TTreeView* tree = NewTree();
    std::vector<String> deleted, changed;
    tree->OnDeletion = [&](TObject*, TTreeNode* ANode) { deleted.push_back(ANode->Text()); };
    tree->OnChange = [&](TObject*, TTreeNode* ANode) { changed.push_back(ANode ? ANode->Text() : u"none"); };
    TTreeNode* a1x = tree->Items()->Item(2);
    tree->SetSelected(a1x);
    tree->Items()->Item(1)->Delete();
    EXPECT_EQ(deleted, (std::vector<String>{u"A1x", u"A1"}));
    EXPECT_EQ(changed, (std::vector<String>{u"A1x", u"A2"})) << "to the next sibling";
    EXPECT_EQ(tree->Selected()->Text(), u"A2");

    deleted.clear();
    changed.clear();
    tree->Items()->Clear();
    EXPECT_EQ(deleted, (std::vector<String>{u"C", u"B", u"A2", u"A"}));
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_THROW(tree->Items()->Item(0), EListError);
    EXPECT_THROW(tree->Items()->AddChild(a1x, u"x"), EInvalidOperation) << "a node already gone";
}

TEST_F(TreeView, HooksMayDeleteTheNodesTheyAreAskedAbout) {
    TTreeView* tree = NewTree();
    TTreeNode* b = tree->Items()->Item(4);
    b->SetHasChildren(true);
    // The node goes away inside its own expanding hook.
    tree->OnExpanding = [](TObject*, TTreeNode* ANode, bool&) { ANode->Delete(); };
    EXPECT_FALSE(tree->Items()->Item(4)->Expanded());
    b->Expand(false);
    EXPECT_EQ(tree->Items()->Count(), 5);
    // A deletion hook that clears the whole tree.
    tree->OnExpanding = nullptr;
    bool cleared = false;
    tree->OnDeletion = [&](TObject*, TTreeNode*) {
        if (!std::exchange(cleared, true)) tree->Items()->Clear();
    };
    tree->Items()->Item(1)->Delete();
    EXPECT_EQ(tree->Items()->Count(), 0);
    // A changing hook that deletes the node it is asked to select.
    tree = NewTree();
    tree->OnChanging = [](TObject*, TTreeNode* ANode, bool&) {
        if (ANode) ANode->Delete();
    };
    tree->SetSelected(tree->Items()->Item(5));
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Items()->Count(), 5);
    // An expanding hook that asks for its own node again.
    tree = NewTree();
    Integer asked = 0;
    tree->OnExpanding = [&](TObject*, TTreeNode* ANode, bool&) {
        ++asked;
        ANode->Expand(false);
    };
    tree->Items()->Item(0)->Expand(false);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(tree->Items()->Item(0)->Expanded());
}

TEST_F(TreeView, SelectionGoesThroughTheChangingHookAndOpensTheWayToTheNode) {
    TTreeView* tree = NewTree();
    std::vector<String> expanding;
    tree->OnExpanding = [&](TObject*, TTreeNode* ANode, bool&) { expanding.push_back(ANode->Text()); };
    bool allow = false;
    tree->OnChanging = [&](TObject*, TTreeNode*, bool& AAllow) { AAllow = allow; };
    TTreeNode* deep = tree->Items()->Item(2);
    tree->SetSelected(deep);
    EXPECT_EQ(tree->Selected(), nullptr);
    allow = true;
    tree->SetSelected(deep);
    EXPECT_EQ(tree->Selected(), deep);
    EXPECT_EQ(expanding, (std::vector<String>{u"A", u"A1"}));
    EXPECT_TRUE(deep->IsVisible());
    // Closing a branch takes the selection up to it.
    tree->Items()->Item(0)->Collapse(false);
    EXPECT_EQ(tree->Selected(), tree->Items()->Item(0));

    tree->SetRightClickSelect(true);
    const TRect text = tree->Items()->Item(4)->DisplayRect(true);
    driver::Click(At(tree, text.Left + 2, text.Top + 2), VK_RBUTTON);
    Pump();
    EXPECT_EQ(tree->Selected()->Text(), u"B");
}

TEST_F(TreeView, LabelEditingTakesTheTextOnEnterAndNothingOnEscape) {
    for (BYTE key : {VK_RETURN, VK_ESCAPE}) {
        TTreeView* tree = NewTree();
        std::vector<String> edited;
        tree->OnEdited = [&](TObject*, TTreeNode*, String& S) {
            edited.push_back(S);
            S += u"!";
        };
        TTreeNode* b = tree->Items()->Item(4);
        ASSERT_TRUE(b->EditText());
        EXPECT_TRUE(tree->IsEditing());
        driver::Text(u"Bee");
        driver::Key(key);
        Pump();
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_EQ(b->Text(), key == VK_RETURN ? u"Bee!" : u"B");
        EXPECT_EQ(edited.size(), key == VK_RETURN ? 1u : 0u);
        Free(Form);
    }
    TTreeView* tree = NewTree();
    tree->SetReadOnly(true);
    EXPECT_FALSE(tree->Items()->Item(0)->EditText());
}

TEST_F(TreeView, CustomSortOrdersOnlyTheDirectChildren) {
    TTreeView* tree = NewTree();
    TTreeNode* a = tree->Items()->Item(0);
    TTreeNode* a1 = a->Item(0);
    tree->Items()->AddChild(a1, u"A1a");
    const auto descending = [](TTreeNode* A, TTreeNode* B) { return -AnsiCompareText(A->Text(), B->Text()); };
    EXPECT_TRUE(a->CustomSort(descending));
    EXPECT_EQ(a->Item(0)->Text(), u"A2");
    EXPECT_EQ(a->Item(1)->Text(), u"A1");
    EXPECT_EQ(a1->Item(0)->Text(), u"A1x") << "grandchildren keep their order";
    EXPECT_EQ(tree->Items()->Item(1)->Text(), u"A2") << "the depth-first order follows";
}

TEST_F(TreeView, PlainPaintingAndCustomDrawWithoutDefaultDraw) {
    for (bool defaultDraw : {true, false}) {
        TTreeView* tree = NewTree();
        tree->SetFocus();
        TTreeNode* b = tree->Items()->Item(4);
        tree->SetSelected(b);
        TCustomDrawState seen;
        tree->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode* ANode, TCustomDrawState AState,
                                             TCustomDrawStage, bool&, bool& ADefault) {
            if (ANode != b) return;
            seen = AState;
            ADefault = defaultDraw;
        };
        tree->Invalidate();
        Pump();
        EXPECT_TRUE(seen.Contains(cdsSelected));
        const TRect text = b->DisplayRect(true);
        EXPECT_EQ(PixelOf(tree, text.Right - 2, text.Top + text.Height() / 2),
                  defaultDraw ? Highlight : White);
        // The closed node's plus box: a frame around a minus and a stroke.
        const TRect a = tree->Items()->Item(0)->DisplayRect(false);
        const Integer x = tree->Indent() / 2, y = a.Top + a.Height() / 2;
        EXPECT_EQ(PixelOf(tree, x - 4, y), 0xA0A0A0u);
        EXPECT_EQ(PixelOf(tree, x - 1, y), 0u);
        EXPECT_EQ(PixelOf(tree, x, y - 2), 0u);
        Free(Form);
    }
}

TEST_F(TreeView, ADescriptionSetsTheOptions) {
    auto* form = new TForm(Application);
    ReadDescriptionText(form, R"(
object Form1: TForm
  object TreeView1: TTreeView
    ShowRoot = False
    ShowLines = False
    Indent = 25
    RightClickSelect = True
    ReadOnly = True
    OnExpanding = nil
  end
end
)");
    auto* tree = dynamic_cast<TTreeView*>(form->FindComponent(u"TreeView1"));
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(tree->ShowRoot() || tree->ShowLines());
    EXPECT_EQ(tree->Indent(), 25);
    EXPECT_TRUE(tree->RightClickSelect() && tree->ReadOnly());
}

}  // namespace
