#include "skin/core/qxcompressedskins.h"

#include <algorithm>

#include "platform/base/fileutils.h"
#include "platform/base/stringlist.h"
#include "platform/gdi/bmpcodec.h"
#include "platform/toolkit/published.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxzlibcompress.h"

namespace {

[[noreturn]] void StreamReadError() {
    throw EReadError(u"Stream read error");
}

Cardinal LittleEndian32(const Byte* AData) {
    return Cardinal(AData[0]) | Cardinal(AData[1]) << 8 | Cardinal(AData[2]) << 16 | Cardinal(AData[3]) << 24;
}

void WriteInteger(TStream* AStream, Integer AValue) {
    AStream->WriteBuffer(&AValue, sizeof AValue);
}

Integer ReadInteger(TStream* AStream) {
    Integer value;
    AStream->ReadBuffer(&value, sizeof value);
    return value;
}

void WriteText(TStream* AStream, TStrings* ALines) {
    const AnsiString text = StringToUTF8(ALines->Text());
    AStream->WriteBuffer(text.data(), Int64(text.size()));
}

}  // namespace

// The payload

Integer ReadSkinPayloadVersion(TStream* APayload) {
    return ReadInteger(APayload);
}

void ReadSkinPayloadBitmap(TStream* APayload, TBitmap* ABitmap, Int64& APixelsLeft) {
    // The file header and the info header's own size.
    constexpr Int64 headSize = 18;
    const Int64 left = APayload->Size() - APayload->Position();
    if (left < headSize) StreamReadError();
    Byte head[BmpProbeSize];
    APayload->ReadBuffer(head, headSize);
    const Int64 fileSize = LittleEndian32(head + 2);
    const Int64 headersSize = 14 + Int64(LittleEndian32(head + 14));
    if (fileSize > left || fileSize < std::max(headSize, headersSize)) StreamReadError();
    // The stated size is weighed before the pixels are read.
    const Int64 probed = std::min<Int64>(fileSize, Int64(BmpProbeSize));
    APayload->ReadBuffer(head + headSize, probed - headSize);
    TakeSkinPixels(APixelsLeft, BmpPixelCount({head, size_t(probed)}));
    TMemoryStream file;
    file.WriteBuffer(head, probed);
    if (fileSize > probed) file.CopyFrom(APayload, fileSize - probed);
    file.SetPosition(0);
    ABitmap->LoadFromStream(&file);
}

void WriteSkinPayloadPicture(TStream* APayload, TBitmap* ABitmap) {
    const Byte empty = ABitmap->Empty() ? 1 : 0;
    APayload->WriteBuffer(&empty, 1);
    if (!empty) ABitmap->SaveToStream(APayload);
}

void WriteSkinPayloadBitmap(TStream* APayload, TBitmap* ABitmap) {
    if (!ABitmap->Empty()) return ABitmap->SaveToStream(APayload);
    TBitmap standIn;
    standIn.SetPixelFormat(pf24bit);
    standIn.SetSize(1, 1);
    standIn.SaveToStream(APayload);
}

// TqxCompressedStoredSkin

TqxCompressedStoredSkin::TqxCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(std::make_unique<TMemoryStream>()) {}

TqxCompressedStoredSkin::~TqxCompressedStoredSkin() = default;

void TqxCompressedStoredSkin::LoadFromIniFile(const String& AFileName) {
    TMemIniFile ini(AFileName);
    if (!IsValidSkinIni(&ini)) return;
    TStringList lines;
    lines.LoadFromFile(AFileName);
    const TqxSkinPictureLoader loadPicture = FolderSkinPictures(ExtractFilePath(AFileName));
    TMemoryStream payload;
    WriteInteger(&payload, SkinContainerVersion);
    for (const char16_t* key : {u"picture", u"inactivepicture", u"mask"}) {
        const String name = ini.ReadString(u"PICTURES", key, u"");
        TBitmap picture;
        if (!name.empty()) loadPicture(name, &picture);
        WriteSkinPayloadPicture(&payload, &picture);
    }
    TStringList names;
    ReadSkinStringList(&ini, u"PICTURES", u"activepictures", &names);
    WriteInteger(&payload, names.Count());
    for (Integer i = 0; i < names.Count(); ++i) {
        TBitmap picture;
        loadPicture(names.Get(i), &picture);
        WriteSkinPayloadBitmap(&payload, &picture);
    }
    WriteText(&payload, &lines);
    Compress(&payload);
}

void TqxCompressedStoredSkin::LoadFromSkinData(TqxSkinData* ASkinData) {
    TMemoryStream payload;
    WriteInteger(&payload, SkinContainerVersion);
    WriteSkinPayloadPicture(&payload, ASkinData->FPicture.get());
    WriteSkinPayloadPicture(&payload, ASkinData->FInActivePicture.get());
    WriteSkinPayloadPicture(&payload, ASkinData->FMask.get());
    WriteInteger(&payload, ASkinData->FActivePictures.Count());
    for (const auto& picture : ASkinData->FActivePictures)
        WriteSkinPayloadBitmap(&payload, picture.get());
    TMemIniFile ini;
    ASkinData->WriteSkinIni(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    WriteText(&payload, &lines);
    Compress(&payload);
}

void TqxCompressedStoredSkin::Compress(TMemoryStream* APayload) {
    auto compressed = std::make_unique<TMemoryStream>();
    CompressSkinStream(APayload, compressed.get());
    FCompressedStream = std::move(compressed);
}

void TqxCompressedStoredSkin::LoadFromCompressFile(const String& AFileName) {
    FCompressedStream->Clear();
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromCompressStream(&file);
}

void TqxCompressedStoredSkin::LoadFromCompressStream(TStream* Stream) {
    FCompressedStream->Clear();
    Stream->SetPosition(0);
    if (ReadInteger(Stream) > SkinContainerVersion) return;
    const Integer length = ReadInteger(Stream);
    // Checked before anything is taken, so a false length costs nothing.
    if (length < 0 || length > Stream->Size() - Stream->Position()) StreamReadError();
    if (length > 0) FCompressedStream->CopyFrom(Stream, length);
}

void TqxCompressedStoredSkin::SaveToCompressStream(TStream* Stream) {
    WriteInteger(Stream, SkinContainerVersion);
    WriteInteger(Stream, Integer(FCompressedStream->Size()));
    FCompressedStream->SaveToStream(Stream);
}

void TqxCompressedStoredSkin::SaveToCompressFile(const String& AFileName) {
    if (Empty()) return;
    TFileStream file(AFileName, fmCreate);
    SaveToCompressStream(&file);
}

void TqxCompressedStoredSkin::DeCompressToStream(TMemoryStream* S) {
    S->Clear();
    try {
        DecompressSkinStream(S, FCompressedStream.get(), MaxSkinPayloadSize);
    } catch (const EDecompressionLimit&) {
        throw ESkinTooLarge(u"The skin unpacks to more than %d MB", {Integer(MaxSkinPayloadSize >> 20)});
    }
}

void TqxCompressedStoredSkin::ReadCompressedData(TStream* AStream) {
    FCompressedStream->LoadFromStream(AStream);
}

void TqxCompressedStoredSkin::WriteCompressedData(TStream* AStream) {
    FCompressedStream->SaveToStream(AStream);
}

// TqxSkinListItem

TqxSkinListItem::TqxSkinListItem(TCollection* ACollection)
    : TCollectionItem(ACollection),
      FSkin(std::make_unique<TqxCompressedStoredSkin>(nullptr)),
      FName(Format(u"qxSkin%d", {Index()})) {}

TqxSkinListItem::~TqxSkinListItem() = default;

void TqxSkinListItem::ReadSkinData(TStream* AStream) {
    FSkin->LoadFromCompressStream(AStream);
}

void TqxSkinListItem::WriteSkinData(TStream* AStream) {
    FSkin->SaveToCompressStream(AStream);
}

void TqxSkinListItem::ReadSkinFile(const String& AFileName) {
    FReadError.clear();
    try {
        TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
        ReadSkinData(&file);
        // Damage inside the zlib data shows only when it inflates.
        TMemoryStream payload;
        FSkin->DeCompressToStream(&payload);
    } catch (const Exception& e) {
        FSkin->CompressedStream()->Clear();
        FReadError = AFileName + u": " + e.Message();
    }
}

void TqxSkinListItem::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TqxSkinListItem*>(ASource);
    if (!source) return TCollectionItem::Assign(ASource);
    FName = source->FName;
    FDescription = source->FDescription;
    FFileName = source->FFileName;
    FCompressedFileName = source->FCompressedFileName;
    TMemoryStream data;
    source->FSkin->WriteCompressedData(&data);
    FSkin->ReadCompressedData(&data);
}

// TqxSkinListItems, TqxCompressedSkinList

TqxSkinListItems::TqxSkinListItems(TqxCompressedSkinList* ASkinList)
    : TCollectionOf<TqxSkinListItem>(ASkinList), FSkinList(ASkinList) {}

TqxCompressedSkinList::TqxCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TqxSkinListItems>(this)) {}

TqxCompressedSkinList::~TqxCompressedSkinList() = default;

void TqxCompressedSkinList::LeaveOutUnreadableSkins() {
    for (Integer i = FSkins->Count() - 1; i >= 0; --i) {
        const String error = FSkins->Items(i)->ReadError();
        if (error.empty()) continue;
        FLeftOutSkins.insert(FLeftOutSkins.begin(), error);
        FSkins->Delete(i);
    }
}

namespace {

// A binary property of a description: the bytes of a file under the resources.
TPropertyApply BinaryProperty(std::function<void(TObject*, TStream*, TLoadContext&)> ARead) {
    return [ARead](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
        published::LoadFile(
            [&](const String& APath) {
                TFileStream file(APath, fmOpenRead | fmShareDenyWrite);
                ARead(AObject, &file, AContext);
            },
            AValue, AContext);
    };
}

const auto RegisteredStoredSkin =
    RegisterClass<TqxCompressedStoredSkin, TComponent>()
        .Property(u"FileName", &TqxCompressedStoredSkin::FileName, &TqxCompressedStoredSkin::SetFileName)
        .Property(u"CompressedFileName", &TqxCompressedStoredSkin::CompressedFileName,
                  &TqxCompressedStoredSkin::SetCompressedFileName)
        .Property(u"Description", &TqxCompressedStoredSkin::Description,
                  &TqxCompressedStoredSkin::SetDescription)
        .Custom(u"CompressedData",
                BinaryProperty([](TObject* AObject, TStream* AData, TLoadContext& AContext) {
                    published::Cast<TqxCompressedStoredSkin>(AObject, AContext)->ReadCompressedData(AData);
                }));

const auto RegisteredListItem =
    RegisterClass<TqxSkinListItem>()
        .Property(u"Name", &TqxSkinListItem::Name, &TqxSkinListItem::SetName)
        .Property(u"Description", &TqxSkinListItem::Description, &TqxSkinListItem::SetDescription)
        .Property(u"FileName", &TqxSkinListItem::FileName, &TqxSkinListItem::SetFileName)
        .Property(u"CompressedFileName", &TqxSkinListItem::CompressedFileName,
                  &TqxSkinListItem::SetCompressedFileName)
        .Custom(u"Skin", [](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
            auto* item = published::Cast<TqxSkinListItem>(AObject, AContext);
            published::Expect(AValue, TLoadValue::lvString, u"a file name", AContext);
            item->ReadSkinFile(AContext.ResourcePath(AValue.Text));
        });

const auto RegisteredSkinList = RegisterClass<TqxCompressedSkinList, TComponent>().Custom(
    u"Skins", [](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
        auto* list = published::Cast<TqxCompressedSkinList>(AObject, AContext);
        published::LoadCollection(list->Skins(), AValue, AContext);
        list->LeaveOutUnreadableSkins();
    });

}  // namespace
