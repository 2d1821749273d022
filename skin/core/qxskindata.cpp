#include "skin/core/qxskindata.h"

#include <algorithm>
#include <cerrno>

#include "platform/base/fileutils.h"
#include "platform/base/streams.h"
#include "platform/gdi/bmpcodec.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "skin/core/qxcompressedskins.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxutils.h"

namespace {

// "\" in a stored name is a folder separator of the platform the skin was made on.
String StoredNameToPath(const String& AName) {
    String path = AName;
    std::replace(path.begin(), path.end(), u'\\', PathDelim);
    return path;
}

// A stored name that stays inside its skin's folder: relative and without "..".
bool StaysInFolder(const String& AName) {
    const String path = StoredNameToPath(AName);
    if (path.empty() || path[0] == PathDelim) return false;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(PathDelim, start), path.size());
        if (path.compare(start, end - start, u"..") == 0) return false;
        start = end + 1;
    }
    return true;
}

void SavePicture(TBitmap* APicture, const String& AFolder, const String& AName) {
    const String path = AFolder + StoredNameToPath(AName);
    ForceDirectories(ExtractFileDir(path));
    APicture->SaveToFile(path);
}

}  // namespace

TqxSkinPictureLoader FolderSkinPictures(const String& AFolder) {
    return [AFolder](const String& AName, TBitmap* ABitmap) {
        const String path = AFolder + StoredNameToPath(AName);
        if (AName.empty() || !FileExists(path))
            throw EFOpenError(u"Cannot open file \"%s\". %s", {path, SysErrorMessage(ENOENT)});
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        // A picture the whole budget cannot hold is not decoded at all.
        std::vector<Byte> head(size_t(std::min<Int64>(file.Size(), Int64(BmpProbeSize))));
        file.ReadBuffer(head.data(), Int64(head.size()));
        Int64 budget = SkinPixelBudget;
        TakeSkinPixels(budget, BmpPixelCount(head));
        file.SetPosition(0);
        ABitmap->LoadFromStream(&file);
    };
}

TqxSkinData::TqxSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FSkinColors(std::make_unique<TqxSkinColors>()),
      FPopupWindow(std::make_unique<TqxDataSkinPopupWindow>()),
      FLayerFrame(std::make_unique<TqxDataSkinLayerFrame>()),
      FHintWindow(std::make_unique<TqxDataSkinHintWindow>()) {}

TqxSkinData::~TqxSkinData() {
    Empty = true;
    ClearObjects();
}

TBitmap* TqxSkinData::GetActivePicture(Integer AIndex) const {
    return AIndex >= 0 && AIndex < FActivePictures.Count() ? FActivePictures.Items(AIndex) : nullptr;
}

// Loading

void TqxSkinData::LoadFromFile(const String& FileName) {
    TMemIniFile ini(FileName);
    LoadFromSkinIni(&ini, FolderSkinPictures(ExtractFilePath(FileName)));
}

void TqxSkinData::LoadFromSkinIni(TCustomIniFile* AIni, const TqxSkinPictureLoader& ALoadPicture) {
    if (!IsValidSkinIni(AIni)) return;
    auto staging = std::make_unique<TqxSkinData>(nullptr);
    staging->ClearAll();
    staging->ReadSkinIni(AIni, &ALoadPicture);
    TakeSkin(std::move(staging));
}

void TqxSkinData::LoadCompressedStoredSkin(TqxCompressedStoredSkin* AStoredSkin) {
    if (!AStoredSkin || AStoredSkin->Empty()) return;
    TMemoryStream payload;
    AStoredSkin->DeCompressToStream(&payload);
    payload.SetPosition(0);
    const Integer version = ReadSkinPayloadVersion(&payload);
    if (version > SkinContainerVersion) return;
    auto staging = std::make_unique<TqxSkinData>(nullptr);
    staging->ClearAll();
    staging->ReadPayload(&payload, version);
    TakeSkin(std::move(staging));
}

void TqxSkinData::ReadPayload(TStream* APayload, Integer AVersion) {
    for (TBitmap* picture : {FPicture.get(), FInActivePicture.get(), FMask.get()}) {
        Byte empty;
        APayload->ReadBuffer(&empty, 1);
        if (empty)
            picture->SetSize(0, 0);
        else
            ReadSkinPayloadBitmap(APayload, picture, FPixelsLeft);
    }
    if (AVersion == 2) {
        TBitmap scratch;
        for (int i = 0; i < 2; ++i) {
            Byte empty;
            APayload->ReadBuffer(&empty, 1);
            if (!empty) ReadSkinPayloadBitmap(APayload, &scratch, FPixelsLeft);
        }
    }
    Integer count;
    APayload->ReadBuffer(&count, sizeof count);
    // Each picture is read before the next is made, so a false count runs
    // out of data instead of memory.
    for (Integer i = 0; i < count; ++i) {
        auto picture = std::make_unique<TBitmap>();
        ReadSkinPayloadBitmap(APayload, picture.get(), FPixelsLeft);
        FActivePictures.Add(std::move(picture));
    }
    std::string text(size_t(APayload->Size() - APayload->Position()), '\0');
    APayload->ReadBuffer(text.data(), Int64(text.size()));
    TStringList lines;
    lines.SetText(DecodeText(text));
    TMemIniFile ini;
    ini.SetStrings(&lines);
    // Pictures with no skin text to place them would make a frame of nothing.
    if (!IsValidSkinIni(&ini)) throw EInvalidSkin(u"The skin's text is not a skin's");
    ReadSkinIni(&ini, nullptr);
}

void TqxSkinData::LoadFromCompressedFile(const String& FileName) {
    auto stored = std::make_unique<TqxCompressedStoredSkin>(nullptr);
    stored->LoadFromCompressFile(FileName);
    if (!stored->Empty()) LoadCompressedStoredSkin(stored.get());
}

void TqxSkinData::SaveToCompressedFile(const String& FileName) {
    auto stored = std::make_unique<TqxCompressedStoredSkin>(nullptr);
    stored->LoadFromSkinData(this);
    stored->SaveToCompressFile(FileName);
}

void TqxSkinData::TakeSkin(std::unique_ptr<TqxSkinData> AStaging) {
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(SKINMSG_CHANGING);
    std::swap(static_cast<TqxSkinContent&>(*this), static_cast<TqxSkinContent&>(*AStaging));
    std::swap(*FSkinColors, *AStaging->FSkinColors);
    std::swap(*FPopupWindow, *AStaging->FPopupWindow);
    std::swap(*FLayerFrame, *AStaging->FLayerFrame);
    std::swap(*FHintWindow, *AStaging->FHintWindow);
    // The old skin goes now: receivers dropped it on SKINMSG_CHANGING.
    AStaging.reset();
    Empty = false;
    if (OnLoadData) OnLoadData(this);
    SendSkinDataMessage(SKINMSG_CHANGE);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(SKINMSG_CHANGED);
}

// Reading a skin text

void TqxSkinData::ReadSkinIni(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture) {
    ReadVersion(AIni);
    ReadPictures(AIni, ALoadPicture);
    ReadActivePictures(AIni, ALoadPicture);
    // Values that make no sense give way to the default look: a window-wide
    // section to its defaults, an element to none at all.
    TqxSkinLimits limits;
    for (const auto& picture : FActivePictures)
        limits.Pictures.push_back({picture->Width(), picture->Height()});
    TMemIniFile none;
    ReadFormInfo(AIni, limits);
    FPopupWindow->LoadFromFile(AIni);
    if (!FPopupWindow->MakesSense(limits)) FPopupWindow->LoadFromFile(&none);
    FLayerFrame->LoadFromFile(AIni);
    if (!FLayerFrame->MakesSense(limits)) FLayerFrame->LoadFromFile(&none);
    FLayerFrame->InitAlphaImages(this);
    FHintWindow->LoadFromFile(AIni);
    if (!FHintWindow->MakesSense(limits)) FHintWindow->LoadFromFile(&none);
    FSkinColors->LoadFromFile(AIni);
    ReadObjects(AIni, limits);
    ReadCtrls(AIni, limits);
}

void TqxSkinData::ReadVersion(TCustomIniFile* AIni) {
    SkinName = AIni->ReadString(u"VERSION", u"skinname", u"");
    SkinAuthor = AIni->ReadString(u"VERSION", u"skinauthor", u"");
    AuthorEmail = AIni->ReadString(u"VERSION", u"authoremail", u"");
    AuthorURL = AIni->ReadString(u"VERSION", u"authorurl", u"");
    SkinComments = AIni->ReadString(u"VERSION", u"skincomments", u"");
}

void TqxSkinData::ReadPictures(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture) {
    FPictureName = AIni->ReadString(u"PICTURES", u"picture", u"");
    FInActivePictureName = AIni->ReadString(u"PICTURES", u"inactivepicture", u"");
    FMaskName = AIni->ReadString(u"PICTURES", u"mask", u"");
    if (!ALoadPicture) return;
    const std::pair<const String*, TBitmap*> pictures[] = {{&FPictureName, FPicture.get()},
                                                           {&FInActivePictureName, FInActivePicture.get()},
                                                           {&FMaskName, FMask.get()}};
    for (const auto& [name, picture] : pictures) {
        if (name->empty())
            picture->SetSize(0, 0);
        else
            LoadPicture(*ALoadPicture, *name, picture);
    }
}

void TqxSkinData::ReadActivePictures(TCustomIniFile* AIni, const TqxSkinPictureLoader* ALoadPicture) {
    ReadSkinStringList(AIni, u"PICTURES", u"activepictures", FActivePicturesNames.get());
    if (!ALoadPicture) return;
    for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
        auto picture = std::make_unique<TBitmap>();
        LoadPicture(*ALoadPicture, FActivePicturesNames->Get(i), picture.get());
        FActivePictures.Add(std::move(picture));
    }
}

void TqxSkinData::LoadPicture(const TqxSkinPictureLoader& ALoadPicture, const String& AName,
                              TBitmap* APicture) {
    ALoadPicture(AName, APicture);
    TakeSkinPixels(FPixelsLeft, Int64(APicture->Width()) * APicture->Height());
}

void TqxSkinData::FormInfoKeys(TqxSkinSection& K) {
    CornerKeys(K);
    K.Rect(u"clientrect", ClRect);
    K.Int(u"bgpictureindex", BGPictureIndex, -1);
    K.Int(u"mdibgpictureindex", MDIBGPictureIndex, -1);
    StretchKeys(K);
    K.Bool(u"mdibgstretcheffect", MDIBGStretchEffect);
    K.StretchType(u"mdibgstretchtype", MDIBGStretchType);
    K.Rect(u"maskrectarea", MaskRectArea);
    HitTestKeys(K);
    K.Rect(u"buttonsrect", ButtonsRect);
    K.Rect(u"captionrect", CaptionRect);
    K.Int(u"buttonsoffset", ButtonsOffset);
    K.Bool(u"buttonsinleft", CapButtonsInLeft);
    K.Bool(u"mainmenupopupup", MainMenuPopupUp);
    K.Int(u"borderwidth", BorderW);
    K.Int(u"formminwidth", FormMinWidth);
    K.Int(u"formminheight", FormMinHeight);
    K.Bool(u"mditabstransparent", MDITabsTransparent);
    K.Bool(u"mainmenubartransparent", MainMenuBarTransparent);
    K.Bool(u"autorenderinginactiveimage", AutoRenderingInActiveImage);
    K.InActiveEffect(u"inactiveeffect", InActiveEffect);
}

void TqxSkinData::ReadFormInfo(TCustomIniFile* AIni, const TqxSkinLimits& ALimits) {
    const auto keys = [this](TqxSkinSection& K) { FormInfoKeys(K); };
    LoadSkinSection(AIni, u"FORMINFO", keys);
    // Its rectangles and points lie in the frame pictures, when there are some.
    TqxSkinLimits limits = ALimits;
    limits.Upright = true;
    if (!FPicture->Empty() || !FInActivePicture->Empty() || !FMask->Empty()) {
        limits.Width = std::max({FPicture->Width(), FInActivePicture->Width(), FMask->Width()});
        limits.Height = std::max({FPicture->Height(), FInActivePicture->Height(), FMask->Height()});
    }
    // No frame can be drawn from it, and the forms have no other frame with
    // the skin in use.
    if (!KeysMakeSense(limits, keys)) throw EInvalidSkin(u"The skin's frame (FORMINFO) makes no sense");
    if (!FMaskName.empty()) {
        if (IsRectDegenerate(MaskRectArea))
            MaskRectArea = ClRect;
        else
            MaskRectArea = {std::min(MaskRectArea.Left, ClRect.Left), std::min(MaskRectArea.Top, ClRect.Top),
                            std::max(MaskRectArea.Right, ClRect.Right),
                            std::max(MaskRectArea.Bottom, ClRect.Bottom)};
        const std::pair<TPoint*, const TPoint*> corners[] = {{&HitTestLTPoint, &LTPoint},
                                                             {&HitTestRTPoint, &RTPoint},
                                                             {&HitTestLBPoint, &LBPoint},
                                                             {&HitTestRBPoint, &RBPoint}};
        for (const auto& [hitTest, corner] : corners)
            if (hitTest->X == 0 || hitTest->Y == 0) *hitTest = *corner;
    }
    if (RBPoint.X == LTPoint.X || RBPoint.Y == LTPoint.Y) return;
    LTPoint.X = std::max(LTPoint.X, ClRect.Left);
    LBPoint.X = std::max(LBPoint.X, ClRect.Left);
    LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
    RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
    RTPoint.X = std::min(RTPoint.X, ClRect.Right);
    RBPoint.X = std::min(RBPoint.X, ClRect.Right);
    LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
    RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
}

void TqxSkinData::ReadObjects(TCustomIniFile* AIni, const TqxSkinLimits& ALimits) {
    const Integer count =
        BoundedSkinCount(AIni, u"SKINOBJECTS", AIni->ReadInteger(u"SKINOBJECTS", u"count", 0));
    for (Integer i = 0; i < count; ++i) {
        String name, kind;
        SplitIndexEntry(AIni->ReadString(u"SKINOBJECTS", IntToStr(i), u""), name, kind);
        std::unique_ptr<TqxDataSkinObject> object = CreateSkinObject(kind, name);
        if (!object) continue;
        object->LoadFromFile(AIni);
        if (!object->MakesSense(ALimits)) continue;
        ObjectList.Add(std::move(object))->InitAlphaImages(this);
    }
}

void TqxSkinData::ReadCtrls(TCustomIniFile* AIni, const TqxSkinLimits& ALimits) {
    const Integer count =
        BoundedSkinCount(AIni, u"SKINCONTROLS", AIni->ReadInteger(u"SKINCONTROLS", u"count", 0));
    for (Integer i = 0; i < count; ++i) {
        String name, kind;
        SplitIndexEntry(AIni->ReadString(u"SKINCONTROLS", IntToStr(i), u""), name, kind);
        std::unique_ptr<TqxDataSkinControl> control = CreateSkinControl(kind, name);
        if (!control) continue;
        control->LoadFromFile(AIni);
        TqxSkinLimits limits = ALimits;
        limits.Indexes = limits.Upright = limits.InNamedPictures = true;
        if (control->MakesSense(limits)) CtrlList.Add(std::move(control));
    }
}

// Writing a skin text

void TqxSkinData::SaveToFile(const String& FileName) {
    TMemIniFile ini(FileName);
    WriteSkinIni(&ini);
    ini.UpdateFile();
}

void TqxSkinData::WriteSkinIni(TCustomIniFile* AIni) {
    AIni->EraseSection(u"VERSION");
    AIni->WriteInteger(u"VERSION", u"ver", 1);
    AIni->WriteString(u"VERSION", u"skinname", SkinName);
    AIni->WriteString(u"VERSION", u"skinauthor", SkinAuthor);
    AIni->WriteString(u"VERSION", u"authoremail", AuthorEmail);
    AIni->WriteString(u"VERSION", u"authorurl", AuthorURL);
    AIni->WriteString(u"VERSION", u"skincomments", SkinComments);
    AIni->EraseSection(u"PICTURES");
    AIni->WriteString(u"PICTURES", u"picture", FPictureName);
    AIni->WriteString(u"PICTURES", u"inactivepicture", FInActivePictureName);
    AIni->WriteString(u"PICTURES", u"mask", FMaskName);
    WriteActivePictures(AIni);
    WriteFormInfo(AIni);
    FPopupWindow->SaveToFile(AIni);
    FLayerFrame->SaveToFile(AIni);
    FHintWindow->SaveToFile(AIni);
    AIni->EraseSection(u"SKINCOLORS");
    FSkinColors->SaveToFile(AIni);
    WriteObjects(AIni);
    WriteCtrls(AIni);
}

void TqxSkinData::WriteActivePictures(TCustomIniFile* AIni) {
    WriteSkinStringList(AIni, u"PICTURES", u"activepictures", FActivePicturesNames.get());
}

void TqxSkinData::WriteFormInfo(TCustomIniFile* AIni) {
    SaveSkinSection(AIni, u"FORMINFO", [this](TqxSkinSection& K) { FormInfoKeys(K); });
}

void TqxSkinData::WriteObjects(TCustomIniFile* AIni) {
    AIni->EraseSection(u"SKINOBJECTS");
    AIni->WriteInteger(u"SKINOBJECTS", u"count", ObjectList.Count());
    for (Integer i = 0; i < ObjectList.Count(); ++i) {
        TqxDataSkinObject* object = ObjectList[i];
        AIni->WriteString(u"SKINOBJECTS", IntToStr(i), object->IDName + u":" + SkinObjectKind(object));
        object->SaveToFile(AIni);
    }
}

void TqxSkinData::WriteCtrls(TCustomIniFile* AIni) {
    AIni->EraseSection(u"SKINCONTROLS");
    AIni->WriteInteger(u"SKINCONTROLS", u"count", CtrlList.Count());
    for (Integer i = 0; i < CtrlList.Count(); ++i) {
        TqxDataSkinControl* control = CtrlList[i];
        AIni->WriteString(u"SKINCONTROLS", IntToStr(i), control->IDName + u":" + SkinControlKind(control));
        control->SaveToFile(AIni);
    }
}

void TqxSkinData::StoreToDisk(const String& AFileName) {
    std::vector<std::pair<TBitmap*, String>> pictures;
    for (const auto& [picture, name] :
         {std::pair{FPicture.get(), &FPictureName}, std::pair{FInActivePicture.get(), &FInActivePictureName},
          std::pair{FMask.get(), &FMaskName}})
        if (!name->empty() && !picture->Empty()) pictures.emplace_back(picture, *name);
    const Integer count = std::min(FActivePictures.Count(), FActivePicturesNames->Count());
    for (Integer i = 0; i < count; ++i)
        if (!FActivePicturesNames->Get(i).empty())
            pictures.emplace_back(FActivePictures[i], FActivePicturesNames->Get(i));
    for (const auto& [picture, name] : pictures)
        if (!StaysInFolder(name))
            throw EFCreateError(u"The picture name \"%s\" leads outside the skin's folder", {name});
    SaveToFile(AFileName);
    const String folder = ExtractFilePath(AFileName);
    for (const auto& [picture, name] : pictures)
        SavePicture(picture, folder, name);
}

// Clearing

void TqxSkinData::ClearSkin() {
    ClearAll();
    SendSkinDataMessage(SKINMSG_CHANGING);
    SendSkinDataMessage(SKINMSG_CHANGE);
    SendSkinDataMessage(SKINMSG_CHANGED);
}

void TqxSkinData::ClearAll() {
    ClearObjects();
    FPicture->SetSize(0, 0);
    FInActivePicture->SetSize(0, 0);
    FMask->SetSize(0, 0);
    FPictureName.clear();
    FInActivePictureName.clear();
    FMaskName.clear();
    Empty = true;
}

void TqxSkinData::ClearObjects() {
    ObjectList.Clear();
    CtrlList.Clear();
    FActivePictures.Clear();
    FActivePicturesNames->Clear();
    FLayerFrame->PictureIndex = -1;
    FLayerFrame->InActivePictureIndex = -1;
    FLayerFrame->InitAlphaImages(this);
    FPopupWindow->WindowPictureIndex = -1;
    FHintWindow->WindowPictureIndex = -1;
    FSkinColors->SetColorsToDefault();
}

// Lookups and pictures

Integer TqxSkinData::GetIndex(std::u16string_view AIDName) const {
    for (Integer i = 0; i < ObjectList.Count(); ++i)
        if (ObjectList[i]->IDName == AIDName) return i;
    return -1;
}

Integer TqxSkinData::GetControlIndex(std::u16string_view AIDName) const {
    for (Integer i = 0; i < CtrlList.Count(); ++i)
        if (CtrlList[i]->IDName == AIDName && !CtrlList[i]->Refused) return i;
    return -1;
}

bool TqxSkinData::RefuseControlElement(Integer AIndex) {
    if (AIndex < 0 || AIndex >= CtrlList.Count() || CtrlList[AIndex]->Refused) return false;
    CtrlList[AIndex]->Refused = true;
    return true;
}

void TqxSkinData::AddBitMap(const String& FileName) {
    auto picture = std::make_unique<TBitmap>();
    picture->LoadFromFile(FileName);
    FActivePicturesNames->Add(ExtractFileName(FileName));
    FActivePictures.Add(std::move(picture));
}

void TqxSkinData::DeleteBitMap(Integer Index) {
    FActivePictures.Delete(Index);
    FActivePicturesNames->Delete(Index);
}

void TqxSkinData::GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection) {
    const auto change = [&](String& AName, Integer& AHeight) {
        AName = ANewFontName;
        AHeight += AFontHeightCorrection;
    };
    change(FHintWindow->FontName, FHintWindow->FontHeight);
    for (const auto& object : ObjectList)
        if (auto* font = dynamic_cast<TqxDataSkinFont*>(object.get()))
            change(font->FontName, font->FontHeight);
    for (const auto& control : CtrlList) {
        if (auto* font = dynamic_cast<TqxDataSkinFont*>(control.get()))
            change(font->FontName, font->FontHeight);
        if (auto* grid = dynamic_cast<TqxDataSkinGridControl*>(control.get()))
            change(grid->FixedFontName, grid->FixedFontHeight);
        if (auto* list = dynamic_cast<TqxDataSkinListBox*>(control.get()))
            change(list->CaptionFontName, list->CaptionFontHeight);
    }
}

// Messages

std::vector<win::HWND> TqxSkinData::SkinMessageTargets() {
    std::vector<win::HWND> targets;
    auto* owner = dynamic_cast<TCustomForm*>(Owner());
    const bool ownerFirst = owner && !FShowLayeredBorders;
    if (ownerFirst) targets.push_back(owner->Handle());
    std::vector<win::HWND> forms;
    for (Integer i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if ((ownerFirst && form == owner) || form->ClassName() == u"TqxFormLayerWindow") continue;
        forms.push_back(form->Handle());
    }
    if (FShowLayeredBorders && FLayerFrame->PictureIndex != -1) std::reverse(forms.begin(), forms.end());
    targets.insert(targets.end(), forms.begin(), forms.end());
    return targets;
}

void TqxSkinData::SendSkinDataMessage(win::UINT AMessage) {
    for (win::HWND target : SkinMessageTargets())
        win::SendMessage(target, AMessage, reinterpret_cast<win::WPARAM>(this), SkinMessageLParam);
}

void TqxSkinData::Broadcast(win::UINT AMessage) {
    if (!ComponentState().Contains(csLoading)) SendSkinDataMessage(AMessage);
}

// Properties

void TqxSkinData::SetSkinnableForm(bool AValue) {
    if (AValue == FSkinnableForm) return;
    FSkinnableForm = AValue;
    Broadcast(SKINMSG_SKINNABLEFORM);
}

void TqxSkinData::SetShowLayeredBorders(bool AValue) {
    if (AValue == FShowLayeredBorders) return;
    FShowLayeredBorders = AValue;
    Broadcast(SKINMSG_LAYEREDBORDERS);
}

void TqxSkinData::SetAeroBlurEnabled(bool AValue) {
    if (AValue == FAeroBlurEnabled) return;
    FAeroBlurEnabled = AValue;
    Broadcast(SKINMSG_AEROBLUR);
}

void TqxSkinData::SetResourceStrData(TqxResourceStrData* AValue) {
    if (FResourceStrData) FResourceStrData->RemoveFreeNotification(this);
    FResourceStrData = AValue;
    if (AValue) AValue->FreeNotification(this);
    SendSkinDataMessage(SKINMSG_RESSTRINGS);
}

void TqxSkinData::SetCompressedStoredSkin(TqxCompressedStoredSkin* AValue) {
    if (FCompressedStoredSkin) FCompressedStoredSkin->RemoveFreeNotification(this);
    FCompressedStoredSkin = AValue;
    if (!AValue) return;
    AValue->FreeNotification(this);
    LoadCompressedStoredSkin(AValue);
}

void TqxSkinData::SetSkinList(TqxCompressedSkinList* AValue) {
    if (FSkinList) FSkinList->RemoveFreeNotification(this);
    FSkinList = AValue;
    if (!AValue) return;
    AValue->FreeNotification(this);
    if (FSkinIndex >= 0 && FSkinIndex < AValue->Skins()->Count())
        LoadCompressedStoredSkin(AValue->Skins()->Items(FSkinIndex)->Skin());
}

void TqxSkinData::SetSkinIndex(Integer AValue) {
    if (AValue == FSkinIndex) return;
    if (!FSkinList) {
        FSkinIndex = AValue;
        return;
    }
    if (AValue < 0 || AValue >= FSkinList->Skins()->Count()) return;
    // The index names the skin in use, so a skin that fails to load leaves it.
    const Integer previous = FSkinIndex;
    FSkinIndex = AValue;
    try {
        LoadCompressedStoredSkin(FSkinList->Skins()->Items(AValue)->Skin());
    } catch (...) {
        FSkinIndex = previous;
        throw;
    }
}

void TqxSkinData::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData) FResourceStrData = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
}

namespace {

const auto Registered =
    RegisterClass<TqxSkinData, TComponent>()
        .Property(u"SkinnableForm", &TqxSkinData::SkinnableForm, &TqxSkinData::SetSkinnableForm)
        .Property(u"EnableSkinEffects", &TqxSkinData::EnableSkinEffects, &TqxSkinData::SetEnableSkinEffects)
        .Property(u"ShowButtonGlowFrames", &TqxSkinData::ShowButtonGlowFrames,
                  &TqxSkinData::SetShowButtonGlowFrames)
        .Property(u"ShowCaptionButtonGlowFrames", &TqxSkinData::ShowCaptionButtonGlowFrames,
                  &TqxSkinData::SetShowCaptionButtonGlowFrames)
        .Property(u"ShowLayeredBorders", &TqxSkinData::ShowLayeredBorders,
                  &TqxSkinData::SetShowLayeredBorders)
        .Property(u"AeroBlurEnabled", &TqxSkinData::AeroBlurEnabled, &TqxSkinData::SetAeroBlurEnabled)
        .Property(u"AnimationForAllWindows", &TqxSkinData::AnimationForAllWindows,
                  &TqxSkinData::SetAnimationForAllWindows)
        .Property(u"DlgTreeViewDrawSkin", &TqxSkinData::DlgTreeViewDrawSkin,
                  &TqxSkinData::SetDlgTreeViewDrawSkin)
        .Property(u"DlgTreeViewItemSkinDataName", &TqxSkinData::DlgTreeViewItemSkinDataName,
                  &TqxSkinData::SetDlgTreeViewItemSkinDataName)
        .Property(u"DlgListViewDrawSkin", &TqxSkinData::DlgListViewDrawSkin,
                  &TqxSkinData::SetDlgListViewDrawSkin)
        .Property(u"DlgListViewItemSkinDataName", &TqxSkinData::DlgListViewItemSkinDataName,
                  &TqxSkinData::SetDlgListViewItemSkinDataName)
        .Property(u"CompressedStoredSkin", &TqxSkinData::CompressedStoredSkin,
                  &TqxSkinData::SetCompressedStoredSkin)
        .Property(u"ResourceStrData", &TqxSkinData::ResourceStrData, &TqxSkinData::SetResourceStrData)
        .Property(u"SkinList", &TqxSkinData::SkinList, &TqxSkinData::SetSkinList)
        .Property(u"SkinIndex", &TqxSkinData::SkinIndex, &TqxSkinData::SetSkinIndex)
        .Event(u"OnLoadData", &TqxSkinData::OnLoadData);

}  // namespace
