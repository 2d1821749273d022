// The image-grid menu: a popup of pictures from an image list in a fixed
// number of columns, with optional full-width button and header rows, for
// picking one item. The popup never takes the focus; while open it holds
// the mouse capture and reads keys through the application's message hook,
// and it closes on a choice, Escape, or a click or activation elsewhere.
#pragma once

#include <memory>

#include "platform/base/collections.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/timer.h"
#include "skin/controls/qxmenuopener.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxskindata.h"

class TqxSkinHint;
class TqxSkinImagesMenu;

class TqxImagesMenuItem : public TCollectionItem {
public:
    explicit TqxImagesMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    // From another item: ImageIndex, Caption, Button and Hint.
    void Assign(TPersistent* ASource) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue) { FImageIndex = AValue; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue) { FCaption = AValue; }
    // A full-width row with picture and caption.
    bool Button() const { return FButton; }
    void SetButton(bool AValue) { FButton = AValue; }
    // A full-width caption row, never chosen.
    bool Header() const { return FHeader; }
    void SetHeader(bool AValue) { FHeader = AValue; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue) { FHint = AValue; }

    // Chosen (Sender is the menu).
    TNotifyEvent OnClick;
    // In popup coordinates, set by the layout.
    TRect ItemRect;

private:
    Integer FImageIndex = -1;
    String FCaption;
    bool FButton = false;
    bool FHeader = false;
    String FHint;
};

class TqxImagesMenuItems : public TCollectionOf<TqxImagesMenuItem> {
public:
    explicit TqxImagesMenuItems(TqxSkinImagesMenu* AImagesMenu);
};

class TqxSkinImagesMenuPopupWindow : public TCustomControl {
public:
    explicit TqxSkinImagesMenuPopupWindow(TqxSkinImagesMenu* AMenu);
    ~TqxSkinImagesMenuPopupWindow() override;

    // Sized, placed below PopupRect (above when it does not fit), shown,
    // hooked and capturing.
    void Show(const TRect& PopupRect);
    // Hidden, unhooked, the capture released; the menu is told.
    void Hide(bool AProcessEvents);
    void ProcessKey(Word AKey);
    // The first non-header item containing the point (edges included), -1.
    Integer GetItemAtPoint(const TPoint& P) const;
    // Lays the items out (their ItemRect).
    void CalcItemRects();

    Integer MouseInItem = -1;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void WndProc(TMessage& AMessage) override;
    void Paint() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;
    void MouseMove(TShiftState AShift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) override;

private:
    friend struct TqxImagesMenuHook;
    void AppMessage(win::MSG& Msg, bool& Handled);
    void HookAppMessage();
    void UnhookAppMessage();
    void CalcPopupSize();
    void SetHover(Integer AIndex);
    void TrackMouse(Integer X, Integer Y);
    void HideItemHint();
    void SelectUp();
    void SelectDown();
    void SelectLeft();
    void SelectRight();
    Integer FirstSelectable() const;
    void DrawItems(TCanvas* C);
    void DrawItemFrame(TCanvas* C, const TRect& R, bool APressed);
    void DrawButtonCaption(TCanvas* C, const String& ACaption, const TRect& R, bool APressed, bool AHovered);
    void DrawHeader(TCanvas* C, const TRect& R, const String& ACaption);
    TqxDataSkinControl* Element(std::u16string_view AName, std::u16string_view AFallback = {}) const;
    bool SkinSupport() const;

    TqxSkinImagesMenu* ImagesMenu;
    TMessageEvent OldAppMessage;
    bool FHooked = false;
    win::HRGN FRgn = nullptr;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    Integer OldMouseInItem = -1;
    bool FDown = false;
    bool FItemDown = false;
    // The fade-in: the alpha rises by 10 a step up to AlphaBlendValue.
    TTimer* FFadeTimer = nullptr;
    Integer FFadeAlpha = 0;
};

class TqxSkinImagesMenu : public TqxCustomImagesMenu {
public:
    explicit TqxSkinImagesMenu(TComponent* AOwner);
    ~TqxSkinImagesMenu() override;

    void Popup(Integer X, Integer Y);
    void PopupFromRect(const TRect& R) override;
    // Hides an open popup without events.
    void Hide();
    // The popup has closed: it goes, then the close events and, with
    // AProcessEvents and a chosen item, the choice's.
    void MenuClosed(bool AProcessEvents);
    bool SelectedPicture(TCustomImageList*& AImages, Integer& AIndex, String& ACaption) const override;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue) { SetReference(this, FImages, AValue); }
    TqxImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
    void SetImagesItems(TqxImagesMenuItems* AValue) { FImagesItems->Assign(AValue); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer AValue) { FItemIndex = AValue; }
    // The item at ItemIndex, nil out of range.
    TqxImagesMenuItem* SelectedItem() const;
    Integer ColumnsCount() const { return FColumnsCount; }
    // Outside 1..50 ignored.
    void SetColumnsCount(Integer AValue);
    TqxSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TqxSkinData* AValue) { SetReference(this, FSkinData, AValue); }
    TqxSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TqxSkinHint* AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    // The open popup, nil when closed.
    TqxSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow.get(); }

    bool ShowHints = true;
    bool ShowSelectedItem = true;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    Byte AlphaBlendValue = 200;
    TNotifyEvent OnItemClick;
    TNotifyEvent OnChange;
    TNotifyEvent OnMenuPopup;
    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TqxImagesMenuItems> FImagesItems;
    Integer FItemIndex = -1;
    Integer FColumnsCount = 1;
    TqxSkinData* FSkinData = nullptr;
    TqxSkinHint* FSkinHint = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TqxSkinImagesMenuPopupWindow> FPopupWindow;
    // A closed popup, kept until the handler that closed it has returned.
    std::unique_ptr<TqxSkinImagesMenuPopupWindow> FClosedWindow;
    Integer FOldItemIndex = -1;
};
