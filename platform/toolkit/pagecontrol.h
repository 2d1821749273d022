// The page control (window class "SysTabControl32") and its sheets: a model
// of pages with plain painting, which the skinned page control replaces.
//
// Tabs are laid out by the control: each the item size (TCM_SETITEMSIZE;
// without a TabWidth, the caption's width with room for the image list's
// width before it), in one row from a first visible tab that WM_HSCROLL
// SB_THUMBPOSITION moves, or with MultiLine in as many rows as they need, on
// any of the four sides. The sheets fill the rectangle TCM_ADJUSTRECT gives.
// What the system's control does lives in DefaultHandler, behind WindowProc:
// a press selects the tab under the coordinates the message carries.
#pragma once

#include <memory>
#include <vector>

#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/viewsupport.h"

class TPageControl;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TTabSheet : public TWinControl {
public:
    // Hidden and aligned to its page control's client area.
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    // Also made its parent; a description's nesting in a page control does the same.
    void SetPageControl(TPageControl* AValue);
    void SetParent(TWinControl* AParent) override;
    // The place among the page control's pages, -1 outside one.
    Integer PageIndex() const;
    void SetPageIndex(Integer AValue);
    // The place among the tabs shown, -1 when its tab is hidden.
    Integer TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool AValue);
    // In the page control's Images.
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);

    void Dispatch(TMessage& AMessage) override;

private:
    friend class TPageControl;

    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    Integer FImageIndex = 0;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    Integer PageCount() const { return Integer(FPages.size()); }
    // EListError "List index out of bounds (%d)" outside 0 .. PageCount - 1.
    TTabSheet* Pages(Integer AIndex) const;
    // Code changes the page without OnChanging and OnChange.
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* AValue);
    // -1 for none; writing an index outside the pages shows none.
    Integer ActivePageIndex() const;
    void SetActivePageIndex(Integer AValue);
    // The active page's tab among those shown; writing goes through TCM_SETCURSEL.
    Integer TabIndex();
    void SetTabIndex(Integer AValue);
    TTabSheet* FindNextPage(TTabSheet* ACurrent, bool AGoForward, bool ACheckTabVisible) const;
    // As the user does it: through OnChanging, then OnChange.
    void SelectNextPage(bool AGoForward);

    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition AValue);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool AValue);
    // 0: as wide as the caption (and image) need.
    Integer TabWidth() const { return FTabWidth; }
    void SetTabWidth(Integer AValue);
    // 0: as high as the font (and images) need.
    Integer TabHeight() const { return FTabHeight; }
    void SetTabHeight(Integer AValue);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle AValue);
    TCustomImageList* Images() const { return FImageLink.List(); }
    void SetImages(TCustomImageList* AValue);

    // Through TCM_GETITEMRECT and TCM_HITTEST, so a derived control's corrections apply.
    TRect TabRect(Integer AIndex);
    Integer IndexOfTabAt(Integer X, Integer Y);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

    void Paint() override;
    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;
    void AdjustClientRect(TRect& ARect) override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // Raises OnChanging; false keeps the page.
    virtual bool CanChange();
    // Raises OnChange.
    virtual void Change();

private:
    friend class TTabSheet;

    void InsertPage(TTabSheet* APage);
    void RemovePage(TTabSheet* APage);
    void PagesChanged();
    std::vector<TTabSheet*> Tabs() const;
    Integer FontHeight();
    Integer ItemThickness();
    Integer ItemLength(TTabSheet* APage);
    // The tabs' rectangles and the number of rows, as the system places them.
    void Layout();
    TRect ItemRect(Integer ATab);
    Integer TabAt(TPoint APoint);
    TRect DisplayRect(TRect ARect, bool AToWindow);
    void ShowPage(TTabSheet* APage);
    void SelectTab(Integer ATab);
    void MakeTabVisible(Integer ATab);
    void PaintTab(Integer ATab, bool ASelected);

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    Integer FTabWidth = 0;
    Integer FTabHeight = 0;
    TTabStyle FStyle = tsTabs;
    TImageListLink FImageLink;
    win::HIMAGELIST FImageHandle = nullptr;
    // TCM_SETITEMSIZE's width and height.
    Integer FItemWidth = 0;
    Integer FItemHeight = 0;
    Integer FFirstTab = 0;
    Integer FFontHeight = 0;
    bool FLayoutValid = false;
    std::vector<TRect> FTabRects;
    Integer FRows = 1;
};
