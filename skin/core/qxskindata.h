// The skin data component: the one loaded skin (pictures, form frame,
// window-wide sections, skin objects and control elements), read from a
// folder skin or a compressed one, and the messages that tell every form
// when it changes.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/listhelpers.h"
#include "platform/base/stringlist.h"
#include "platform/toolkit/bitmap.h"
#include "platform/win/messages.h"
#include "skin/core/qxskincontrols.h"
#include "skin/core/qxskinmessages.h"
#include "skin/core/qxskinobjects.h"
#include "skin/core/qxskinwindows.h"

class TqxCompressedStoredSkin;
class TqxCompressedSkinList;
class TqxResourceStrData;

// An ordered list that owns its items. Index errors raise EListError "List
// index out of bounds (%d)".
template <typename T>
class TqxOwnedList {
public:
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    T* Items(Integer AIndex) const {
        CheckIndex(AIndex);
        return FItems[static_cast<size_t>(AIndex)].get();
    }
    T* operator[](Integer AIndex) const { return Items(AIndex); }
    T* Add(std::unique_ptr<T> AItem) {
        FItems.push_back(std::move(AItem));
        return FItems.back().get();
    }
    void Delete(Integer AIndex) {
        CheckIndex(AIndex);
        FItems.erase(FItems.begin() + AIndex);
    }
    void Clear() { FItems.clear(); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    void CheckIndex(Integer AIndex) const {
        if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    }

    std::vector<std::unique_ptr<T>> FItems;
};

// Everything one skin holds except the window-wide sections: what a load
// replaces as a whole.
struct TqxSkinContent : public TqxDataSkinCorners,
                        public TqxDataSkinHitTestCorners,
                        public TqxDataSkinStretch {
    // VERSION
    String SkinName;
    String SkinAuthor;
    String AuthorURL;
    String AuthorEmail;
    String SkinComments;

    // The frame of an active and of an inactive form, the frame's shape
    // (black = inside), and their names as stored.
    std::unique_ptr<TBitmap> FPicture = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FInActivePicture = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FMask = std::make_unique<TBitmap>();
    String FPictureName;
    String FInActivePictureName;
    String FMaskName;
    // What every picture index points into, and their names.
    TqxOwnedList<TBitmap> FActivePictures;
    std::unique_ptr<TStringList> FActivePicturesNames = std::make_unique<TStringList>();

    TqxOwnedList<TqxDataSkinObject> ObjectList;
    TqxOwnedList<TqxDataSkinControl> CtrlList;

    // FORMINFO, in the coordinates of the form picture, with the corner
    // points, the hit-test points and the stretch flags of the bases.
    TRect ClRect;
    Integer BGPictureIndex = -1;
    Integer MDIBGPictureIndex = -1;
    bool MDIBGStretchEffect = false;
    TqxStretchType MDIBGStretchType = qxstFull;
    TRect MaskRectArea;
    TRect ButtonsRect;
    TRect CaptionRect;
    Integer ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    bool MainMenuPopupUp = false;
    Integer BorderW = 0;
    Integer FormMinWidth = 0;
    Integer FormMinHeight = 0;
    bool MDITabsTransparent = false;
    bool MainMenuBarTransparent = false;
    bool AutoRenderingInActiveImage = false;
    TqxInActiveEffect InActiveEffect = ieBrightness;
};

// Loads the picture stored under a name of a skin text into ABitmap, or
// raises the reason it cannot.
using TqxSkinPictureLoader = std::function<void(const String& AName, TBitmap* ABitmap)>;
// The BMP files of a folder skin: AFolder joined with the stored name, "\"
// read as "/". An empty name or a missing file raises EFOpenError, a picture
// beyond the whole pixel budget ESkinTooLarge before it is decoded.
TqxSkinPictureLoader FolderSkinPictures(const String& AFolder);

class TqxSkinData : public TComponent, public TqxSkinContent {
public:
    explicit TqxSkinData(TComponent* AOwner);
    // Frees the skin without a message.
    ~TqxSkinData() override;

    // Forms draw a skinned frame; a change is announced (SKINMSG_SKINNABLEFORM).
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool AValue);
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool AValue) { FEnableSkinEffects = AValue; }
    bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
    void SetShowButtonGlowFrames(bool AValue) { FShowButtonGlowFrames = AValue; }
    bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
    void SetShowCaptionButtonGlowFrames(bool AValue) { FShowCaptionButtonGlowFrames = AValue; }
    // Forms use the layered frame; a change is announced (SKINMSG_LAYEREDBORDERS).
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool AValue);
    // A change is announced (SKINMSG_AEROBLUR).
    bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
    void SetAeroBlurEnabled(bool AValue);
    bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
    void SetAnimationForAllWindows(bool AValue) { FAnimationForAllWindows = AValue; }
    bool DlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
    void SetDlgTreeViewDrawSkin(bool AValue) { FDlgTreeViewDrawSkin = AValue; }
    const String& DlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
    void SetDlgTreeViewItemSkinDataName(const String& AValue) { FDlgTreeViewItemSkinDataName = AValue; }
    bool DlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
    void SetDlgListViewDrawSkin(bool AValue) { FDlgListViewDrawSkin = AValue; }
    const String& DlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
    void SetDlgListViewItemSkinDataName(const String& AValue) { FDlgListViewItemSkinDataName = AValue; }
    // Setting one loads it at once, every time.
    TqxCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TqxCompressedStoredSkin* AValue);
    // Setting it is announced (SKINMSG_RESSTRINGS), also while loading.
    TqxResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TqxResourceStrData* AValue);
    // Loads item SkinIndex when it exists.
    TqxCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TqxCompressedSkinList* AValue);
    // Without a list only stored; with one, a value outside the items is
    // ignored and another loads that item.
    Integer SkinIndex() const { return FSkinIndex; }
    void SetSkinIndex(Integer AValue);

    TqxSkinColors* SkinColors() const { return FSkinColors.get(); }
    TqxDataSkinPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
    TqxDataSkinLayerFrame* LayerFrame() const { return FLayerFrame.get(); }
    TqxDataSkinHintWindow* HintWindow() const { return FHintWindow.get(); }

    // After a skin has been read, before SKINMSG_CHANGE.
    TNotifyEvent OnLoadData;

    // No skin is loaded: every consumer draws its plain look.
    bool Empty = true;
    // A skin is being exchanged (between SKINMSG_CHANGING and SKINMSG_CHANGED).
    bool ChangeSkinDataProcess = false;

    // The picture a skin's picture index names; nullptr for -1 and for any
    // index outside the list.
    TBitmap* GetActivePicture(Integer AIndex) const;

    // A folder skin: the INI file and the BMP files it names beside it. An
    // invalid or missing file changes nothing. Values that make no sense give
    // way to the default look: an element's to none, a window-wide section's
    // to its defaults; a frame (FORMINFO) that makes none raises EInvalidSkin,
    // pictures past the pixel budget ESkinTooLarge. The new skin is read whole
    // before anything is announced, so an error (a value that does not
    // convert, a picture that cannot be read) leaves the old skin, sends
    // nothing and reaches the caller.
    void LoadFromFile(const String& FileName);
    // The same with the text in AIni and the pictures from ALoadPicture.
    void LoadFromSkinIni(TCustomIniFile* AIni, const TqxSkinPictureLoader& ALoadPicture);
    // The skin's INI text into FileName; sections the text does not use stay.
    void SaveToFile(const String& FileName);
    // The INI text and the pictures under their stored names beside it. A
    // stored name that would leave that folder is refused before anything
    // is written.
    void StoreToDisk(const String& AFileName);
    // A compressed skin; an empty one or a payload of version 4 or more
    // changes nothing, a text that is no valid skin text raises EInvalidSkin.
    // Errors leave the old skin as LoadFromFile does.
    void LoadCompressedStoredSkin(TqxCompressedStoredSkin* AStoredSkin);
    void LoadFromCompressedFile(const String& FileName);
    void SaveToCompressedFile(const String& FileName);

    // ClearAll, then the three change messages.
    void ClearSkin();
    // ClearObjects, the base pictures and their names emptied, Empty.
    void ClearAll();
    // Frees the elements and the active pictures; the window-wide sections
    // lose their pictures and the colours return to the system's.
    void ClearObjects();

    // The position of the first skin object / control element whose IDName
    // is AIDName exactly, -1 for none.
    Integer GetIndex(std::u16string_view AIDName) const;
    Integer GetControlIndex(std::u16string_view AIDName) const;
    // A control's painting with the element at AIndex raised: the element is
    // refused (TqxDataSkinControl::Refused). True when it was in use till now,
    // so that the control reads its element again and repaints.
    bool RefuseControlElement(Integer AIndex);

    // Sends AMessage to every form but the layered frame windows: the owner
    // form first when ShowLayeredBorders is off, then the screen's forms in
    // order (reversed when layered borders are on and the skin has a
    // layer-frame picture). Handles are taken first, so a form freed on the
    // way is skipped.
    void SendSkinDataMessage(win::UINT AMessage);

    // Appends the picture of FileName and its name part; nothing is added
    // when it cannot be read.
    void AddBitMap(const String& FileName);
    void DeleteBitMap(Integer Index);
    // One font name for every element with a font, and AFontHeightCorrection
    // added to their heights; nothing is announced.
    void GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection);

    // Erases and rewrites every section of the skin's text.
    void WriteSkinIni(TCustomIniFile* AIni);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // A whole skin text in its order; ALoadPicture brings the pictures of a
    // folder skin, and without it (a compressed skin, whose pictures came
    // first) only the names are read.
    void ReadSkinIni(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture);
    void ReadVersion(TCustomIniFile* AIni);
    void ReadPictures(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture);
    void ReadActivePictures(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture);
    void ReadFormInfo(TCustomIniFile* AIni, const TqxSkinLimits& ALimits);
    void ReadObjects(TCustomIniFile* AIni, const TqxSkinLimits& ALimits);
    void ReadCtrls(TCustomIniFile* AIni, const TqxSkinLimits& ALimits);
    void WriteFormInfo(TCustomIniFile* AIni);
    void WriteActivePictures(TCustomIniFile* AIni);
    void WriteObjects(TCustomIniFile* AIni);
    void WriteCtrls(TCustomIniFile* AIni);
    void FormInfoKeys(TqxSkinSection& K);
    // The pictures of a payload and the INI text after them.
    void ReadPayload(TStream* APayload, Integer AVersion);
    // A folder skin's picture through ALoadPicture, its pixels taken from the budget.
    void LoadPicture(const TqxSkinPictureLoader& ALoadPicture, const String& AName, TBitmap* APicture);
    // The announced exchange: CHANGING, the staged skin in place, OnLoadData,
    // CHANGE, CHANGED.
    void TakeSkin(std::unique_ptr<TqxSkinData> AStaging);
    // Where a broadcast goes, in order.
    std::vector<win::HWND> SkinMessageTargets();
    void Broadcast(win::UINT AMessage);

    bool FSkinnableForm = true;
    bool FEnableSkinEffects = true;
    bool FShowButtonGlowFrames = true;
    bool FShowCaptionButtonGlowFrames = true;
    bool FShowLayeredBorders = true;
    bool FAeroBlurEnabled = true;
    bool FAnimationForAllWindows = false;
    bool FDlgTreeViewDrawSkin = true;
    String FDlgTreeViewItemSkinDataName = u"listbox";
    bool FDlgListViewDrawSkin = true;
    String FDlgListViewItemSkinDataName = u"listbox";
    TqxCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TqxResourceStrData* FResourceStrData = nullptr;
    TqxCompressedSkinList* FSkinList = nullptr;
    Integer FSkinIndex = 0;
    // What a load may still decode (SkinPixelBudget); each load reads into a fresh skin data.
    Int64 FPixelsLeft = SkinPixelBudget;

    std::unique_ptr<TqxSkinColors> FSkinColors;
    std::unique_ptr<TqxDataSkinPopupWindow> FPopupWindow;
    std::unique_ptr<TqxDataSkinLayerFrame> FLayerFrame;
    std::unique_ptr<TqxDataSkinHintWindow> FHintWindow;
};
