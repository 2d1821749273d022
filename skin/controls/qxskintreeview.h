// The skinned tree view: the toolkit's tree view (window class
// "SysTreeView32") with its font and colours from a tree-view element, its
// own scroll bars given way to two external skinned bars, and, with
// DrawSkin, every node drawn here: lines that fade out, plus/minus buttons
// (drawn, from the skin's expand images or from an image list), node images
// and the selection from a list-box element.
#pragma once

#include <memory>

#include "platform/toolkit/treeview.h"
#include "skin/controls/qxskinchange.h"
#include "skin/controls/qxskinscrollbar.h"
#include "skin/core/qxskindata.h"

class TqxSkinCustomTreeView : public TCustomTreeView, public IqxSkinChangeable {
public:
    explicit TqxSkinCustomTreeView(TComponent* AOwner);
    ~TqxSkinCustomTreeView() override;

    TqxSkinData* SkinData() const override { return FSD; }
    // With a skin, re-skins the tree at once.
    void SetSkinData(TqxSkinData* AValue);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& AValue) { FSkinDataName = AValue; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& AValue) { FItemSkinDataName = AValue; }
    // Kept for descriptions; nodes have no check boxes.
    const String& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const String& AValue) { FCheckSkinDataName = AValue; }
    // The unskinned font and colour, also Font and Color while there is no element.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    // The nodes drawn here; once on, it stays installed.
    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool AValue);
    // Button images by expanded state; also the button size.
    TCustomImageList* ButtonImageList() const { return FButtonImageList; }
    void SetButtonImageList(TCustomImageList* AValue);
    Integer ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
    void SetButtonNoExpandImageIndex(Integer AValue) { FButtonNoExpandImageIndex = AValue; }
    Integer ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
    void SetButtonExpandImageIndex(Integer AValue) { FButtonExpandImageIndex = AValue; }
    TqxSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TqxSkinScrollBar* AValue);
    TqxSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TqxSkinScrollBar* AValue);

    // Reads the tree-view element again: font, colours, expand images, bars.
    void ChangeSkinData() override;
    // The element is refused and the control takes its default look.
    void PaintFailed() override;
    // The external bars from the tree's scroll state.
    void UpDateScrollBars();
    // The whole node from the skin; leaves DefaultDraw alone without a
    // list-box element to draw the selection with.
    void SkinAdvancedCustomDrawItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                    TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw);

    void Loaded() override;
    void WndProc(TMessage& AMessage) override;
    void Dispatch(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;

    Integer FIndex = -1;
    TColor FLineColor = TColor(0x808080);
    TColor FButtonColor = clBlack;
    // Half the button's side.
    Integer FButtonSize = 5;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void Change(TTreeNode* Node) override;

private:
    void AttachBar(TqxSkinScrollBar*& AField, TqxSkinScrollBar* AValue, bool AVertical);
    void SetBarVisible(TqxSkinScrollBar* ABar, bool AVisible, bool& AChanged);
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void LoadExpandImages(const TqxDataSkinTreeView& AElement);
    void DrawLinesAndButton(TCanvas* ACanvas, TTreeNode* ANode, const TRect& ARow, Integer ALeft);
    // A horizontal line opaque over its first half, fading out over the second.
    void DrawFadingLine(TCanvas* ACanvas, Integer AX1, Integer AX2, Integer AY);
    void DrawNodeImage(TCanvas* ACanvas, TTreeNode* ANode, Integer X, const TRect& ARow);

    TqxSkinData* FSD = nullptr;
    String FSkinDataName = u"treeview";
    String FItemSkinDataName = u"listbox";
    String FCheckSkinDataName = u"checkbox";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
    bool FDrawSkin = false;
    TCustomImageList* FButtonImageList = nullptr;
    Integer FButtonNoExpandImageIndex = 0;
    Integer FButtonExpandImageIndex = 1;
    TqxSkinScrollBar* FVScrollBar = nullptr;
    TqxSkinScrollBar* FHScrollBar = nullptr;
    std::unique_ptr<TBitmap> FExpandImage;
    std::unique_ptr<TBitmap> FNoExpandImage;
    // The image list the window holds without Images.
    win::HIMAGELIST FThirdImages = nullptr;
    Integer FThirdImageWidth = 0;
    Integer FThirdImageHeight = 0;
    Integer FThirdImagesCount = 0;
    bool FInCheckScrollBars = false;
};

class TqxSkinTreeView : public TqxSkinCustomTreeView {
public:
    using TqxSkinCustomTreeView::TqxSkinCustomTreeView;
};
