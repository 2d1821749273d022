// Compressed skins: a whole skin (pictures and INI text) in one zlib
// stream, held by a stored-skin component, in files and in form
// descriptions, and lists of them that a skin data picks from.
//
// A container is an int32 version (3; readers take up to 3), an int32
// length N and N bytes of zlib data. The inflated payload is an int32
// version, for each of the form picture, the inactive picture and the mask
// a flag byte (1 = empty) and the BMP when not empty, (version 2 only: two
// more such pairs), an int32 count and that many BMPs of active pictures,
// then the INI text to the end.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/collections.h"
#include "platform/base/streams.h"
#include "platform/toolkit/bitmap.h"
#include "skin/core/qxskincodecs.h"

class TqxSkinData;

inline constexpr Integer SkinContainerVersion = 3;
// Real skins inflate to a few MiB; a payload beyond the pictures the pixel
// budget allows, at four bytes a pixel, and room for the text is refused
// while it inflates.
inline constexpr Int64 MaxSkinPayloadSize = SkinPixelBudget * 4 + (Int64(8) << 20);

class TqxCompressedStoredSkin : public TComponent {
public:
    explicit TqxCompressedStoredSkin(TComponent* AOwner);
    ~TqxCompressedStoredSkin() override;

    // The zlib data alone, without a container header.
    TMemoryStream* CompressedStream() const { return FCompressedStream.get(); }
    bool Empty() const { return FCompressedStream->Size() == 0; }
    // The folder skin and the compressed file it came from, and free text;
    // only stored.
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& AValue) { FFileName = AValue; }
    const String& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& AValue) { FCompressedFileName = AValue; }
    const String& Description() const { return FDescription; }
    void SetDescription(const String& AValue) { FDescription = AValue; }

    // From a folder skin: its pictures and its INI text as stored, line for
    // line. An invalid skin changes nothing; so does any error, as the new
    // data replaces the old only when complete.
    void LoadFromIniFile(const String& AFileName);
    // From a loaded skin: its pictures and its regenerated INI text.
    void LoadFromSkinData(TqxSkinData* ASkinData);
    // A container from a file or from the start of a stream. A version above
    // 3 leaves the data empty; a negative length, or one beyond the bytes
    // that follow, raises EReadError.
    void LoadFromCompressFile(const String& AFileName);
    void LoadFromCompressStream(TStream* Stream);
    // The container at the stream's position, also for an empty skin.
    void SaveToCompressStream(TStream* Stream);
    // Nothing when empty.
    void SaveToCompressFile(const String& AFileName);
    // The payload, inflated into S; data that is no zlib stream or ends early
    // raises EDecompressionError, data that inflates beyond
    // MaxSkinPayloadSize ESkinTooLarge "The skin unpacks to more than 72 MB".
    void DeCompressToStream(TMemoryStream* S);

    // The form-description property "CompressedData": the zlib data's bytes.
    void ReadCompressedData(TStream* AStream);
    void WriteCompressedData(TStream* AStream);

private:
    // The new zlib data of a payload.
    void Compress(TMemoryStream* APayload);

    std::unique_ptr<TMemoryStream> FCompressedStream;
    String FFileName;
    String FCompressedFileName;
    String FDescription;
};

class TqxSkinListItem : public TCollectionItem {
public:
    // Named "qxSkin<index>".
    explicit TqxSkinListItem(TCollection* ACollection);
    ~TqxSkinListItem() override;

    // From another item: its names and a copy of its skin.
    void Assign(TPersistent* ASource) override;

    // Owned, without a component owner.
    TqxCompressedStoredSkin* Skin() const { return FSkin.get(); }
    const String& Name() const { return FName; }
    void SetName(const String& AValue) { FName = AValue; }
    const String& Description() const { return FDescription; }
    void SetDescription(const String& AValue) { FDescription = AValue; }
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& AValue) { FFileName = AValue; }
    const String& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& AValue) { FCompressedFileName = AValue; }

    // The form-description property "Skin": the skin as a container.
    void ReadSkinData(TStream* AStream);
    void WriteSkinData(TStream* AStream);
    // Why the skin file the description names could not be read, with its
    // name; empty when it was read.
    const String& ReadError() const { return FReadError; }
    // Reads the skin file AFileName; a file that cannot be opened, is no
    // container or does not inflate leaves the skin empty and says why in
    // ReadError.
    void ReadSkinFile(const String& AFileName);

protected:
    String GetDisplayName() const override { return FName; }

private:
    std::unique_ptr<TqxCompressedStoredSkin> FSkin;
    String FName;
    String FDescription;
    String FFileName;
    String FCompressedFileName;
    String FReadError;
};

class TqxCompressedSkinList;

class TqxSkinListItems : public TCollectionOf<TqxSkinListItem> {
public:
    explicit TqxSkinListItems(TqxCompressedSkinList* ASkinList);

    TqxCompressedSkinList* SkinList() const { return FSkinList; }

private:
    TqxCompressedSkinList* FSkinList;
};

class TqxCompressedSkinList : public TComponent {
public:
    explicit TqxCompressedSkinList(TComponent* AOwner);
    ~TqxCompressedSkinList() override;

    TqxSkinListItems* Skins() const { return FSkins.get(); }
    // Copies the items.
    void SetSkins(TqxSkinListItems* AValue) { FSkins->Assign(AValue); }
    // Drops the items whose skin file could not be read, keeping their
    // ReadError in LeftOutSkins: one broken skin costs the list that skin,
    // not the form that holds it. The description's items pass here once
    // read, before anything picks a skin by index.
    void LeaveOutUnreadableSkins();
    const std::vector<String>& LeftOutSkins() const { return FLeftOutSkins; }

private:
    std::unique_ptr<TqxSkinListItems> FSkins;
    std::vector<String> FLeftOutSkins;
};

// The payload's parts. A bitmap is read as exactly one BMP whose own headers
// give its length: a length beyond the bytes left or short of the headers
// raises EReadError, as does a stream with no BMP left. Its pixels are taken
// from APixelsLeft (TakeSkinPixels) before it is decoded.
Integer ReadSkinPayloadVersion(TStream* APayload);
void ReadSkinPayloadBitmap(TStream* APayload, TBitmap* ABitmap, Int64& APixelsLeft);
// A flag byte, then the BMP unless the bitmap is empty.
void WriteSkinPayloadPicture(TStream* APayload, TBitmap* ABitmap);
// An empty bitmap has no BMP of its own: it is stored as one pixel of black.
void WriteSkinPayloadBitmap(TStream* APayload, TBitmap* ABitmap);
